#include "arena/GameState.hpp"
#include "engine/Sfml.hpp"
#include "tests/Arena.hpp"
#include "tests/XKeyboard.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

constexpr unsigned seed = 777;
constexpr int drawsPerRestart = 600;

// Skips the draws of that many restarts after srand(seed).
void replayRestarts(const int restarts) {
    std::srand(seed);
    for (int n = 0; n < drawsPerRestart * restarts; ++n) {
        std::rand();
    }
}

// Key presses that reach the arena's window through the X server, as a keyboard's would.
class KeyRepeatTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(keyboard.usable()) << "no X display with XTest";
        test::openWindow(*arena.tool);
        arena.state.spawn(3, 2, 1);
        const sf::WindowHandle window = G::sfml::nativeHandle(arena.tool->window);
        for (int attempt = 0; attempt < 200 && !keyboard.isViewable(window); ++attempt) {
            arena.state.handleInput();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_TRUE(keyboard.isViewable(window));
        keyboard.focus(window);
    }

    // Lets the events arrive and handles them, as the frame loop would over a few dozen frames.
    void pollForAWhile() {
        keyboard.sync();
        for (int frame = 0; frame < 50; ++frame) {
            arena.state.handleInput();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    void tap(const std::string& key) {
        keyboard.press(key);
        keyboard.release(key);
    }

    test::XKeyboard keyboard;
    test::Arena arena;
};

TEST_F(KeyRepeatTest, HoldingRRestartsOnEveryRepeatedPress) {
    keyboard.watch(G::sfml::nativeHandle(arena.tool->window));
    std::srand(seed);
    // Held past the server's repeat delay, the key sends further presses until it is released.
    keyboard.press("r");
    keyboard.sync();
    for (int frame = 0; frame < 150; ++frame) {
        arena.state.handleInput();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    keyboard.release("r");
    pollForAWhile();
    const int next = std::rand();
    const int presses = keyboard.countPresses("r");

    ASSERT_GE(presses, 2) << "the X server did not repeat the held key";
    EXPECT_EQ(arena.state.rocks.size(), 100U);
    EXPECT_EQ(arena.state.papers.size(), 100U);
    EXPECT_EQ(arena.state.scissors.size(), 100U);
    EXPECT_TRUE(arena.tool->window.isOpen());

    // Every press restarted: exactly that many restarts drew their numbers, and the pieces stand where
    // the last of them put them.
    replayRestarts(presses);
    EXPECT_EQ(next, std::rand()) << presses << " presses";
    replayRestarts(presses - 1);
    const int vertical = std::rand();
    const int horizontal = std::rand();
    EXPECT_EQ(arena.state.rocks.front().getPosition(),
              sf::Vector2f(static_cast<float>(horizontal % 1180), static_cast<float>(vertical % 780)));
}

TEST_F(KeyRepeatTest, OtherKeysAndReleasesDoNothingAndEClosesTheWindow) {
    for (const char* key : {"q", "space", "Escape", "Shift_L"}) {
        tap(key);
    }
    pollForAWhile();
    EXPECT_EQ(arena.total(), 6U);
    EXPECT_TRUE(arena.tool->window.isOpen());

    tap("r");
    tap("e");
    pollForAWhile();
    EXPECT_EQ(arena.total(), 300U) << "R before E in one queue restarts first";
    EXPECT_FALSE(arena.tool->window.isOpen());
}

} // namespace
