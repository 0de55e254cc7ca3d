/* Gives the main thread a dynamic TLS block that starts 16 bytes into a page, then exits under the leak
 * checker with nothing leaked: the exit status must be 0.
 *
 * LeakSanitizer (GCC 12's, clang 14's) takes such a block for an old C library's layout and reads its bounds
 * from the allocator's chunk header just before it; at exit its thread scans that bogus range and dies
 * ("Tracer caught signal 11"). Mesa's driver, opened the same way, gets its block wherever the allocator
 * happens to be, so any program with a window could meet this. The suite's leak-check options turn that
 * guess off; this program fails if they do not.
 *   dynamic-tls-check MODULE */
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

enum { kTries = 100000, kChunk = 32, kPage = 4096, kPastPage = 16 };

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: dynamic-tls-check MODULE\n");
        return 2;
    }
    void* module = dlopen(argv[1], RTLD_NOW);
    int* (*counterOfThisThread)(void) = module ? (int* (*)(void))dlsym(module, "counterOfThisThread") : NULL;
    if (!counterOfThisThread) {
        fprintf(stderr, "dynamic-tls-check: %s\n", dlerror());
        return 2;
    }
    /* Small requests share one size class and come in address order, so walk it until the next chunk starts
     * 16 bytes into a page; that chunk is the block the C library asks for on the first access. */
    static void* walked[kTries];
    int count = 0;
    while (count < kTries) {
        walked[count] = malloc(sizeof(int));
        if (((uintptr_t)walked[count++] + kChunk) % kPage == kPastPage) {
            break;
        }
    }
    const uintptr_t block = (uintptr_t)counterOfThisThread();
    for (int i = 0; i < count; ++i) {
        free(walked[i]);
    }
    if (block % kPage != kPastPage) {
        fprintf(stderr, "dynamic-tls-check: the block landed at %#lx, not 16 bytes into a page\n",
                (unsigned long)block);
        return 2;
    }
    return 0;
}
