#include "arena/GameState.hpp"
#include "engine/Sfml.hpp"
#include "tests/Arena.hpp"

#include <gtest/gtest.h>

namespace {

class KeyHandlingTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::openWindow(*arena.tool);
        arena.rock(1.0F, 1.0F);
    }

    void press(const sf::Keyboard::Key code, const bool modifiers = false) {
        arena.state.event = G::sfml::keyPressed(code, modifiers);
        arena.state.handleKeyPress();
    }

    test::Arena arena;
};

TEST_F(KeyHandlingTest, EClosesTheWindowWithOrWithoutModifiers) {
    press(sf::Keyboard::Key::E);
    EXPECT_FALSE(arena.tool->window.isOpen());

    test::openWindow(*arena.tool);
    press(sf::Keyboard::Key::E, true);
    EXPECT_FALSE(arena.tool->window.isOpen());
    EXPECT_EQ(arena.total(), 1U);
}

TEST_F(KeyHandlingTest, RRestartsWithOneHundredOfEachEveryTimeItIsPressed) {
    for (int repeat = 0; repeat < 3; ++repeat) {
        press(sf::Keyboard::Key::R);
        EXPECT_EQ(arena.state.rocks.size(), 100U);
        EXPECT_EQ(arena.state.papers.size(), 100U);
        EXPECT_EQ(arena.state.scissors.size(), 100U);
    }
    EXPECT_TRUE(arena.tool->window.isOpen());
}

TEST_F(KeyHandlingTest, EveryOtherKeyIsIgnored) {
    for (const auto code :
         {sf::Keyboard::Key::Q, sf::Keyboard::Key::Escape, sf::Keyboard::Key::Space, sf::Keyboard::Key::Unknown}) {
        press(code);
    }
    EXPECT_TRUE(arena.tool->window.isOpen());
    ASSERT_EQ(arena.total(), 1U);
    EXPECT_EQ(arena.state.rocks.front().getPosition(), sf::Vector2f(1.0F, 1.0F));
}

TEST_F(KeyHandlingTest, HandleInputDrainsTheQueueAndIgnoresUnknownEvents) {
    arena.state.handleInput();
    EXPECT_TRUE(arena.tool->window.isOpen());
    EXPECT_EQ(arena.total(), 1U);
    G::sfml::Event leftover{};
    EXPECT_FALSE(G::sfml::pollEvent(arena.tool->window, leftover));
}

} // namespace
