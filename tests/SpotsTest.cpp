#include "arena/Spots.hpp"

#include "engine/Sfml.hpp"
#include "tests/Arena.hpp"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <random>
#include <vector>

namespace {

using test::bitsOf;

TEST(Spots, BoundsOfAMovedPieceAreTheLibrarysBitForBit) {
    const auto tool = test::makeTool();
    G::Item piece(tool, G::Kind::Scissors);
    std::mt19937 random(12);
    std::uniform_real_distribution<float> near(-2000.0F, 3000.0F);
    std::uniform_real_distribution<float> far(-3.0e38F, 3.0e38F);
    const std::array<float, 7> special{0.0F, -0.0F, 1e-30F, -1e-40F, 16777216.0F, 1.0e8F + 3.0F, -1.0e20F};
    const auto drawn = [&](const bool farOff) { return farOff ? far(random) : near(random); };
    for (int n = 0; n < 20000; ++n) {
        const float x = n < 7 ? special.at(static_cast<std::size_t>(n)) : drawn(n % 5 == 0);
        const float y = n < 7 ? special.at(static_cast<std::size_t>(6 - n)) : drawn(n % 7 == 0);
        piece.setPosition(sf::Vector2f(x, y));
        const sf::FloatRect library = piece.getGlobalBounds();
        const sf::FloatRect ours = G::Spots::globalBounds(piece);
        ASSERT_EQ(bitsOf(G::sfml::left(ours)), bitsOf(G::sfml::left(library))) << x << ", " << y;
        ASSERT_EQ(bitsOf(G::sfml::top(ours)), bitsOf(G::sfml::top(library))) << x << ", " << y;
        ASSERT_EQ(bitsOf(G::sfml::width(ours)), bitsOf(G::sfml::width(library))) << x << ", " << y;
        ASSERT_EQ(bitsOf(G::sfml::height(ours)), bitsOf(G::sfml::height(library))) << x << ", " << y;
    }
}

TEST(Spots, TurnedOrScaledPiecesFallBackToTheLibrarysBounds) {
    const auto tool = test::makeTool();
    G::Item piece(tool, G::Kind::Rock);
    piece.setPosition(sf::Vector2f(100.5F, 200.25F));
    G::sfml::setRotation(piece, 30.0F);
    EXPECT_EQ(G::Spots::globalBounds(piece), piece.getGlobalBounds());
    G::sfml::setRotation(piece, 0.0F);
    piece.setScale(sf::Vector2f(2.0F, 0.5F));
    EXPECT_EQ(G::Spots::globalBounds(piece), piece.getGlobalBounds());
    piece.setScale(sf::Vector2f(1.0F, 1.0F));
    piece.setOrigin(sf::Vector2f(10.0F, 10.0F));
    EXPECT_EQ(G::Spots::globalBounds(piece), piece.getGlobalBounds());
}

TEST(Spots, RemovedAndPaddingSlotsAreNeitherNearNorOverlapping) {
    test::Arena arena;
    arena.rock(0.0F, 0.0F);
    arena.rock(5.0F, 0.0F);
    arena.rock(500.0F, 0.0F);
    G::Spots spots;
    spots.locate(arena.state.rocks);
    EXPECT_EQ(spots.firstOverlapping(spots, 0, 0), 1U);

    spots.remove(1);
    EXPECT_EQ(spots.livePieces(), 2U);
    EXPECT_EQ(spots.slots(), 3U);
    EXPECT_EQ(spots.firstOverlapping(spots, 0, 0), spots.slots()) << "a removed piece overlaps nothing";
    G::Spots::RoughSquares rough;
    const G::Spots::Nearest nearest = spots.nearest({6.0F, 0.0F}, rough);
    EXPECT_EQ(nearest.index, 0U);
    EXPECT_EQ(nearest.distance, 6.0F);
    std::vector<std::size_t> found;
    spots.overlapping(spots, 0, rough, std::numeric_limits<float>::infinity(), found);
    EXPECT_EQ(found, std::vector<std::size_t>{0}) << "only the piece itself, not the removed one beside it";

    spots.compact(arena.state.rocks);
    ASSERT_EQ(spots.slots(), 2U);
    ASSERT_EQ(arena.state.rocks.size(), 2U);
    EXPECT_EQ(arena.state.rocks[1].getPosition(), sf::Vector2f(500.0F, 0.0F));
    EXPECT_EQ(spots.position(1), sf::Vector2f(500.0F, 0.0F));
    EXPECT_EQ(spots.nearest({1000.0F, 0.0F}, rough).index, 1U);
}

} // namespace
