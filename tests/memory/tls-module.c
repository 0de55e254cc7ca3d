/* A module with thread-local storage of its own, opened with dlopen, so that the C library gives each
 * thread that touches it a block from malloc. */
__thread int counter;

int* counterOfThisThread(void) {
    ++counter;
    return &counter;
}
