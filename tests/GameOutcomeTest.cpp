#include "arena/GameState.hpp"
#include "tests/Arena.hpp"
#include "tests/Invariants.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(GameOutcome, AWholeGameKeepsItsTotalAndEndsWithOneKind) {
    test::Arena arena;
    std::srand(1);
    arena.state.spawn(50, 50, 50);
    arena.tool->frameTime = 1.0F / 60.0F;

    int frames = 0;
    while (arena.state.winnerName().empty() && frames < 50000) {
        arena.state.update();
        ++frames;
        ASSERT_EQ(test::firstViolation(arena.state, 150), "") << "frame " << frames;
    }
    ASSERT_FALSE(arena.state.winnerName().empty()) << "no winner after " << frames << " frames";

    // The survivors have no prey: from here on they only step apart where they overlap.
    const std::string winner = arena.state.winnerName();
    for (int frame = 0; frame < 600; ++frame) {
        arena.state.update();
        ASSERT_EQ(test::firstViolation(arena.state, 150), "");
        ASSERT_EQ(arena.state.winnerName(), winner);
    }
    for (const auto* list : {&arena.state.rocks, &arena.state.papers, &arena.state.scissors}) {
        for (const auto& item : *list) {
            const float speed = std::hypot(item.velocity.x, item.velocity.y);
            EXPECT_TRUE(speed == 0.0F || std::abs(speed - 10.0F) < 1e-4F) << speed;
        }
    }
}

TEST(GameOutcome, WithTwoKindsLeftThePreylessKindOnlyWaits) {
    test::Arena arena;
    arena.tool->frameTime = 1.0F / 60.0F;
    arena.rock(100.0F, 100.0F);
    arena.paper(600.0F, 100.0F);

    arena.state.update();
    EXPECT_EQ(arena.state.rocks.front().getPosition(), sf::Vector2f(100.0F, 100.0F));
    EXPECT_LT(arena.state.papers.front().getPosition().x, 600.0F);
}

TEST(GameOutcome, PiecesStackedOnOneSpotStayFiniteAndComeApart) {
    test::Arena arena;
    for (int n = 0; n < 20; ++n) {
        arena.rock(600.0F, 400.0F);
        arena.paper(600.0F, 400.0F);
        arena.scissors(600.0F, 400.0F);
    }
    for (const float frameTime : {0.0F, 1.0F / 60.0F, 0.5F}) {
        arena.tool->frameTime = frameTime;
        for (int frame = 0; frame < 500; ++frame) {
            arena.state.update();
            ASSERT_EQ(test::firstViolation(arena.state, 60), "") << "frame time " << frameTime << ", frame " << frame;
        }
    }
    EXPECT_FALSE(arena.state.winnerName().empty());
    std::set<std::pair<float, float>> spots;
    for (const auto* list : {&arena.state.rocks, &arena.state.papers, &arena.state.scissors}) {
        for (const G::Item& item : *list) {
            spots.emplace(item.getPosition().x, item.getPosition().y);
        }
    }
    EXPECT_EQ(spots.size(), 60U) << "pieces still share a spot";
}

TEST(GameOutcome, WinnerIsNamedOnlyWhenOneKindHoldsEveryPiece) {
    test::Arena arena;
    EXPECT_EQ(arena.state.winnerName(), "ROCK") << "with no piece at all the rock test comes first";

    arena.paper(0.0F, 0.0F);
    arena.paper(40.0F, 0.0F);
    EXPECT_EQ(arena.state.winnerName(), "PAPER");

    arena.scissors(80.0F, 0.0F);
    EXPECT_EQ(arena.state.winnerName(), "");

    arena.state.papers.clear();
    EXPECT_EQ(arena.state.winnerName(), "SCISSORS");

    arena.rock(120.0F, 0.0F);
    EXPECT_EQ(arena.state.winnerName(), "");
    arena.state.scissors.clear();
    EXPECT_EQ(arena.state.winnerName(), "ROCK");
}

} // namespace
