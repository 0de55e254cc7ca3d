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

// Plays the frames after 30 that size the arena's scratch tables, and checks that every frame among them
// without a capture allocates nothing; returns how many there were.
int quietFramesAllocatingNothing(test::Arena& arena, const int frames) {
    arena.tool->frameTime = 1.0F / 60.0F;
    for (int frame = 0; frame < 30; ++frame) {
        arena.state.update();
    }
    int quietFrames = 0;
    for (int frame = 0; frame < frames; ++frame) {
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
            EXPECT_EQ(allocated, 0) << "frame " << frame << " captured nothing yet allocated";
        }
    }
    return quietFrames;
}

TEST(Allocation, AnUpdateWithoutCapturesAllocatesNothing) {
    test::Arena arena;
    std::srand(3);
    arena.state.restart();
    EXPECT_GT(quietFramesAllocatingNothing(arena, 3000), 1000) << "too few frames without captures to show anything";
}

TEST(Allocation, AnUpdateOf1400PiecesWithoutCapturesAllocatesNothing) {
    // Rocks crowding the left of the window chase scissors at its right edge, which have no prey. A piece
    // covers 3.33 pixels a frame, so none is captured in the 130 frames, while every piece moves or steps
    // apart.
    test::Arena arena;
    std::srand(4);
    arena.state.spawn(700, 0, 700);
    for (G::Item& rock : arena.state.rocks) {
        rock.setPosition(sf::Vector2f(rock.getPosition().x / 6.0F, rock.getPosition().y));
    }
    for (G::Item& scissors : arena.state.scissors) {
        scissors.setPosition(sf::Vector2f(1160.0F + scissors.getPosition().x / 30.0F, scissors.getPosition().y));
    }
    EXPECT_EQ(quietFramesAllocatingNothing(arena, 100), 100);
}

TEST(Allocation, TheCountingAllocatorSeesAllocations) {
    const long before = allocations;
    test::Arena arena;
    arena.state.spawn(3, 0, 0);
    EXPECT_GT(allocations, before);
}

} // namespace
