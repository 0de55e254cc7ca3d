#include "arena/GameState.hpp"
#include "engine/Sfml.hpp"
#include "tests/Arena.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A frame time of zero keeps every piece where it stands, so each turn's velocity can be read on its own.
TEST(Separation, WorkedExampleStepsStraightAwayWhateverThePrey) {
    test::Arena arena;
    arena.rock(50.0F, 50.0F);
    arena.rock(60.0F, 50.0F);
    arena.scissors(300.0F, 50.0F);

    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    EXPECT_EQ(arena.state.rocks[0].velocity, sf::Vector2f(-10.0F, 0.0F));
    EXPECT_EQ(arena.state.rocks[1].velocity, sf::Vector2f(10.0F, 0.0F));
}

TEST(Separation, OnlyTheLowestIndexedOverlappingPieceCounts) {
    test::Arena arena;
    arena.rock(110.0F, 100.0F);
    arena.rock(100.0F, 110.0F);
    arena.rock(100.0F, 100.0F);
    arena.scissors(100.0F, 0.0F);

    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    EXPECT_EQ(arena.state.rocks[2].velocity, sf::Vector2f(-10.0F, 0.0F));
}

TEST(Separation, PiecesThatOnlyTouchAlongAnEdgeOrCornerDoNotOverlap) {
    test::Arena arena;
    arena.rock(100.0F, 100.0F);
    arena.rock(120.0F, 100.0F);
    arena.rock(120.0F, 120.0F);
    arena.scissors(100.0F, 120.0F);
    arena.scissors(80.0F, 80.0F);

    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    // Pursuit, not separation, set the first rock's velocity, and nothing was captured.
    EXPECT_EQ(arena.state.rocks[0].velocity, sf::Vector2f(0.0F, 10.0F));
    EXPECT_EQ(arena.state.rocks.size(), 3U);
    EXPECT_EQ(arena.state.scissors.size(), 2U);
}

TEST(Separation, StackedPiecesStepApartAlongXByIndex) {
    test::Arena arena;
    arena.rock(30.0F, 30.0F);
    arena.rock(30.0F, 30.0F);

    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    EXPECT_EQ(arena.state.rocks[0].velocity, sf::Vector2f(-10.0F, 0.0F));
    EXPECT_EQ(arena.state.rocks[1].velocity, sf::Vector2f(10.0F, 0.0F));

    arena.tool->frameTime = 1.0F / 60.0F;
    for (int frame = 0; frame < 60; ++frame) {
        arena.state.update();
    }
    const sf::FloatRect a = arena.state.rocks[0].getGlobalBounds();
    const sf::FloatRect b = arena.state.rocks[1].getGlobalBounds();
    EXPECT_FALSE(G::sfml::intersects(a, b));
    EXPECT_EQ(G::sfml::top(a), 30.0F);
    EXPECT_LT(G::sfml::left(a), G::sfml::left(b));
}

TEST(Separation, MayPushAPiecePastTheWindowEdge) {
    test::Arena arena;
    arena.tool->frameTime = 0.5F;
    arena.paper(-5.0F, 0.0F);
    arena.paper(5.0F, 0.0F);

    arena.state.hunt(arena.state.papers, arena.state.rocks);
    EXPECT_FLOAT_EQ(arena.state.papers[0].getPosition().x, -105.0F);
    EXPECT_TRUE(std::isfinite(arena.state.papers[1].getPosition().x));
}

} // namespace
