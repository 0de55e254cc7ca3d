// Built into a test program of its own, because it replaces the global allocation functions to count
// every allocation that the program makes.
#include "arena/GameState.hpp"
#include "tests/Arena.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace {

long allocations = 0;

void* allocate(const std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(const std::size_t size) {
    return allocate(size);
}

void* operator new[](const std::size_t size) {
    return allocate(size);
}

// The non-throwing forms too, so that every block that the deletes below free came from malloc (newer
// GoogleTest releases allocate with them).
void* operator new(const std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}

void* operator new[](const std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t /*size*/) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t /*size*/) noexcept {
    std::free(memory);
}

namespace {

TEST(Allocation, AnUpdateWithoutCapturesAllocatesNothing) {
    test::Arena arena;
    std::srand(3);
    arena.state.restart();
    arena.tool->frameTime = 1.0F / 60.0F;
    // The first frames size the arena's scratch tables.
    for (int frame = 0; frame < 30; ++frame) {
        arena.state.update();
    }

    int quietFrames = 0;
    for (int frame = 0; frame < 3000; ++frame) {
        // Every capture creates a piece, which draws from rand(): an untouched sequence means no capture.
        const auto seed = static_cast<unsigned>(frame);
        std::srand(seed);
        const int firstDraw = std::rand();
        std::srand(seed);
        const long before = allocations;
        arena.state.update();
        const long allocated = allocations - before;
        if (std::rand() == firstDraw) {
            ++quietFrames;
            ASSERT_EQ(allocated, 0) << "frame " << frame << " captured nothing yet allocated";
        }
    }
    EXPECT_GT(quietFrames, 1000) << "too few frames without captures to show anything";
}

TEST(Allocation, TheCountingAllocatorSeesAllocations) {
    const long before = allocations;
    test::Arena arena;
    arena.state.spawn(3, 0, 0);
    EXPECT_GT(allocations, before);
}

} // namespace
