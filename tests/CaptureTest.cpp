#include "arena/GameState.hpp"
#include "tests/Arena.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

std::vector<sf::Vector2f> positions(const std::vector<G::Item>& items) {
    std::vector<sf::Vector2f> result;
    result.reserve(items.size());
    for (const auto& item : items) {
        result.push_back(item.getPosition());
    }
    return result;
}

TEST(Capture, ConvertsEveryOverlappingPreyInOneTurn) {
    test::Arena arena;
    arena.rock(100.0F, 100.0F);
    arena.scissors(105.0F, 100.0F);
    arena.scissors(300.0F, 300.0F);
    arena.scissors(100.0F, 105.0F);
    arena.scissors(500.0F, 300.0F);
    arena.scissors(95.0F, 95.0F);

    arena.state.hunt(arena.state.rocks, arena.state.scissors);

    EXPECT_EQ(positions(arena.state.rocks),
              std::vector<sf::Vector2f>({{100.0F, 100.0F}, {105.0F, 100.0F}, {100.0F, 105.0F}, {95.0F, 95.0F}}));
    EXPECT_EQ(positions(arena.state.scissors), std::vector<sf::Vector2f>({{300.0F, 300.0F}, {500.0F, 300.0F}}));
    for (const auto& rock : arena.state.rocks) {
        EXPECT_EQ(rock.kind, G::Kind::Rock);
    }
}

TEST(Capture, PreyThatMovesIntoTheCapturedPlaceIsTestedNext) {
    test::Arena arena;
    arena.paper(0.0F, 0.0F);
    arena.rock(10.0F, 0.0F);
    arena.rock(0.0F, 10.0F);

    arena.state.hunt(arena.state.papers, arena.state.rocks);
    EXPECT_TRUE(arena.state.rocks.empty());
    EXPECT_EQ(positions(arena.state.papers), std::vector<sf::Vector2f>({{0.0F, 0.0F}, {10.0F, 0.0F}, {0.0F, 10.0F}}));
}

TEST(Capture, TestsTheHuntersBoundsAfterItsMove) {
    test::Arena arena;
    arena.tool->frameTime = 0.05F;
    arena.rock(100.0F, 100.0F);
    arena.scissors(125.0F, 100.0F);

    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    EXPECT_FLOAT_EQ(arena.state.rocks.front().getPosition().x, 110.0F);
    EXPECT_TRUE(arena.state.scissors.empty());
}

TEST(Capture, AHunterWhoseStepOutrunsTheReachOfAnOverlapStillCaptures) {
    // Its nearest prey stands ten reaches away, yet one long frame carries the hunter onto it.
    test::Arena arena;
    arena.tool->frameTime = 0.95F;
    arena.rock(100.0F, 100.0F);
    arena.scissors(300.0F, 100.0F);

    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    EXPECT_FLOAT_EQ(arena.state.rocks.front().getPosition().x, 290.0F);
    EXPECT_TRUE(arena.state.scissors.empty());
}

TEST(Capture, FollowsTheGlobalBoundsOfAPieceWithAShiftedOrigin) {
    // The rock's bounds start at (200, 100), a hundred pixels from its position, and cover the scissors.
    test::Arena arena;
    arena.rock(100.0F, 100.0F).setOrigin(sf::Vector2f(-100.0F, 0.0F));
    arena.scissors(205.0F, 100.0F);
    arena.paper(900.0F, 700.0F);

    arena.state.update();
    EXPECT_EQ(arena.state.rocks.size(), 2U);
    EXPECT_TRUE(arena.state.scissors.empty());
}

TEST(Capture, OnlyCapturedPreyLeaveTheirList) {
    test::Arena arena;
    arena.rock(100.0F, 100.0F);
    arena.scissors(105.0F, 100.0F);
    arena.scissors(std::numeric_limits<float>::quiet_NaN(), 500.0F);
    arena.paper(900.0F, 700.0F);

    arena.state.update();
    EXPECT_EQ(arena.total(), 4U);
    ASSERT_EQ(arena.state.scissors.size(), 1U);
    EXPECT_TRUE(std::isnan(arena.state.scissors.front().getPosition().x));
}

TEST(Capture, NewPiecesTakeTheirTurnInTheSamePairingAndConvertInAChain) {
    test::Arena arena;
    arena.rock(0.0F, 0.0F);
    arena.scissors(15.0F, 0.0F);
    arena.scissors(30.0F, 0.0F);
    arena.scissors(45.0F, 0.0F);

    arena.state.hunt(arena.state.rocks, arena.state.scissors);

    EXPECT_TRUE(arena.state.scissors.empty());
    EXPECT_EQ(positions(arena.state.rocks),
              std::vector<sf::Vector2f>({{0.0F, 0.0F}, {15.0F, 0.0F}, {30.0F, 0.0F}, {45.0F, 0.0F}}));
    // A new piece still overlaps the piece that made it, so its first turn is a step away from it.
    for (std::size_t i = 1; i < arena.state.rocks.size(); ++i) {
        EXPECT_EQ(arena.state.rocks[i].velocity, sf::Vector2f(10.0F, 0.0F)) << i;
    }
}

TEST(Capture, EveryCaptureDrawsTwoRandomNumbers) {
    test::Arena arena;
    arena.rock(0.0F, 0.0F);
    arena.scissors(5.0F, 5.0F);
    arena.scissors(500.0F, 500.0F);

    std::srand(31);
    std::rand();
    std::rand();
    const int third = std::rand();
    std::srand(31);
    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    EXPECT_EQ(std::rand(), third);
    EXPECT_EQ(arena.state.rocks.back().getPosition(), sf::Vector2f(5.0F, 5.0F));
}

TEST(Pairing, RocksHuntFirstThenScissorsThenPaper) {
    test::Arena arena;
    arena.rock(0.0F, 0.0F);
    arena.scissors(10.0F, 0.0F);
    arena.paper(15.0F, 5.0F);

    // Were scissors to hunt before rocks, they would take the paper; instead the scissors become a rock in
    // the first pairing and paper takes both rocks in the third.
    arena.state.update();
    EXPECT_TRUE(arena.state.rocks.empty());
    EXPECT_TRUE(arena.state.scissors.empty());
    EXPECT_EQ(positions(arena.state.papers), std::vector<sf::Vector2f>({{15.0F, 5.0F}, {0.0F, 0.0F}, {10.0F, 0.0F}}));
}

TEST(Pairing, AnEmptyHunterListChangesNothing) {
    test::Arena arena;
    arena.tool->frameTime = 1.0F;
    arena.paper(200.0F, 200.0F);
    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    arena.state.hunt(arena.state.scissors, arena.state.papers);
    EXPECT_EQ(arena.state.papers.front().getPosition(), sf::Vector2f(200.0F, 200.0F));
    EXPECT_EQ(arena.total(), 1U);
}

} // namespace
