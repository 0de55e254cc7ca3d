#include "arena/GameState.hpp"
#include "tests/Arena.hpp"

#include <gtest/gtest.h>

namespace {

TEST(Distance, IsTheEuclideanDistanceNarrowedToFloat) {
    EXPECT_EQ(G::GameState::distance({100.0F, 100.0F}, {130.0F, 140.0F}), 50.0F);
    EXPECT_EQ(G::GameState::distance({3.0F, 0.0F}, {0.0F, 4.0F}), 5.0F);
    EXPECT_EQ(G::GameState::distance({7.0F, 7.0F}, {7.0F, 7.0F}), 0.0F);
    EXPECT_EQ(G::GameState::distance({0.0F, 0.0F}, {1.0F, 1.0F}), 1.41421356F);
}

TEST(Pursuit, WorkedExampleStepsTowardTheNearestPrey) {
    test::Arena arena;
    arena.tool->frameTime = 0.05F;
    arena.scissors(400.0F, 400.0F);
    arena.rock(100.0F, 100.0F);
    arena.scissors(130.0F, 140.0F);

    arena.state.hunt(arena.state.rocks, arena.state.scissors);

    const G::Item& hunter = arena.state.rocks.front();
    EXPECT_FLOAT_EQ(hunter.velocity.x, 6.0F);
    EXPECT_FLOAT_EQ(hunter.velocity.y, 8.0F);
    EXPECT_FLOAT_EQ(hunter.getPosition().x, 106.0F);
    EXPECT_FLOAT_EQ(hunter.getPosition().y, 108.0F);
    EXPECT_EQ(arena.state.rocks.size(), 1U);
    EXPECT_EQ(arena.state.scissors.size(), 2U);
}

TEST(Pursuit, OfTwoEquallyNearPreyTheLowerIndexIsChased) {
    test::Arena below;
    below.rock(100.0F, 100.0F);
    below.scissors(100.0F, 150.0F);
    below.scissors(150.0F, 100.0F);
    below.state.hunt(below.state.rocks, below.state.scissors);
    EXPECT_EQ(below.state.rocks.front().velocity, sf::Vector2f(0.0F, 10.0F));

    test::Arena right;
    right.rock(100.0F, 100.0F);
    right.scissors(150.0F, 100.0F);
    right.scissors(100.0F, 150.0F);
    right.state.hunt(right.state.rocks, right.state.scissors);
    EXPECT_EQ(right.state.rocks.front().velocity, sf::Vector2f(10.0F, 0.0F));
}

TEST(Pursuit, TheNearestPreyIsTheOneTheExactDistancesChoose) {
    // Squared in single precision, these two distances come out the other way round.
    const sf::Vector2f hunter(1000.0F, 1000.0F);
    const sf::Vector2f east(1279.45496F, 1109.10974F);
    const sf::Vector2f west(856.346924F, 736.629944F);
    const bool westIsNearer = G::GameState::distance(hunter, west) < G::GameState::distance(hunter, east);

    test::Arena arena;
    arena.rock(hunter.x, hunter.y);
    arena.scissors(east.x, east.y);
    arena.scissors(west.x, west.y);
    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    EXPECT_EQ(arena.state.rocks.front().velocity.x < 0.0F, westIsNearer);
}

TEST(Pursuit, WithoutPreyAHunterStandsStill) {
    test::Arena arena;
    arena.tool->frameTime = 1.0F;
    arena.rock(300.0F, 200.0F);
    arena.paper(600.0F, 200.0F);

    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    EXPECT_EQ(arena.state.rocks.front().velocity, sf::Vector2f(0.0F, 0.0F));
    EXPECT_EQ(arena.state.rocks.front().getPosition(), sf::Vector2f(300.0F, 200.0F));
}

TEST(Pursuit, EveryVelocityIsOverwrittenOnTheHuntersTurn) {
    test::Arena arena;
    arena.rock(0.0F, 0.0F).velocity = sf::Vector2f(123.0F, -45.0F);
    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    EXPECT_EQ(arena.state.rocks.front().velocity, sf::Vector2f(0.0F, 0.0F));
}

TEST(Pursuit, HunterOnTheSameSpotAsItsPreyHoldsStillAndCapturesIt) {
    test::Arena arena;
    arena.tool->frameTime = 1.0F / 60.0F;
    arena.rock(50.0F, 50.0F);
    arena.scissors(50.0F, 50.0F);

    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    ASSERT_EQ(arena.state.rocks.size(), 2U);
    EXPECT_TRUE(arena.state.scissors.empty());
    EXPECT_EQ(arena.state.rocks.front().velocity, sf::Vector2f(0.0F, 0.0F));
    EXPECT_EQ(arena.state.rocks.front().getPosition(), sf::Vector2f(50.0F, 50.0F));
}

TEST(Pursuit, PreyFarOutsideTheWindowIsStillChasedAtFullSpeed) {
    test::Arena arena;
    arena.rock(0.0F, 0.0F);
    arena.scissors(-3.0e37F, 0.0F);
    arena.state.hunt(arena.state.rocks, arena.state.scissors);
    EXPECT_EQ(arena.state.rocks.front().velocity, sf::Vector2f(-10.0F, 0.0F));

    // Beyond this the arithmetic overflows; the hunter then holds still rather than taking a non-finite step.
    test::Arena extreme;
    extreme.rock(-3.0e38F, 0.0F);
    extreme.scissors(3.0e38F, 0.0F);
    extreme.state.hunt(extreme.state.rocks, extreme.state.scissors);
    EXPECT_EQ(extreme.state.rocks.front().velocity, sf::Vector2f(0.0F, 0.0F));
}

} // namespace
