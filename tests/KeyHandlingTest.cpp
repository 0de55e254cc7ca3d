#include "arena/GameState.hpp"
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
        arena.state.event = sf::Event();
        arena.state.event.type = sf::Event::KeyPressed;
        arena.state.event.key.code = code;
        arena.state.event.key.shift = modifiers;
        arena.state.event.key.control = modifiers;
        arena.state.event.key.alt = modifiers;
        arena.state.handleKeyPress();
    }

    test::Arena arena;
};

TEST_F(KeyHandlingTest, EClosesTheWindowWithOrWithoutModifiers) {
    press(sf::Keyboard::E);
    EXPECT_FALSE(arena.tool->window.isOpen());

    test::openWindow(*arena.tool);
    press(sf::Keyboard::E, true);
    EXPECT_FALSE(arena.tool->window.isOpen());
    EXPECT_EQ(arena.total(), 1U);
}

TEST_F(KeyHandlingTest, RRestartsWithOneHundredOfEachEveryTimeItIsPressed) {
    for (int repeat = 0; repeat < 3; ++repeat) {
        press(sf::Keyboard::R);
        EXPECT_EQ(arena.state.rocks.size(), 100U);
        EXPECT_EQ(arena.state.papers.size(), 100U);
        EXPECT_EQ(arena.state.scissors.size(), 100U);
    }
    EXPECT_TRUE(arena.tool->window.isOpen());
}

TEST_F(KeyHandlingTest, EveryOtherKeyIsIgnored) {
    for (const auto code : {sf::Keyboard::Q, sf::Keyboard::Escape, sf::Keyboard::Space, sf::Keyboard::Unknown}) {
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
    sf::Event leftover{};
    EXPECT_FALSE(arena.tool->window.pollEvent(leftover));
}

} // namespace
