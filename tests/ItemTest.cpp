#include "arena/Item.hpp"

#include "engine/Sfml.hpp"
#include "tests/Arena.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <type_traits>

namespace {

static_assert(std::is_nothrow_move_constructible_v<G::Item>, "lists must move pieces, not copy them");
static_assert(!std::is_copy_constructible_v<G::Item>, "a piece is never copied");

TEST(ItemPlacement, VerticalCoordinateComesFromTheFirstDrawAndHorizontalFromTheSecond) {
    const auto tool = test::makeTool();
    std::srand(4242);
    const int first = std::rand();
    const int second = std::rand();
    const int third = std::rand();

    std::srand(4242);
    const G::Item item(tool, G::Kind::Paper);
    EXPECT_EQ(item.getPosition(), sf::Vector2f(static_cast<float>(second % 1180), static_cast<float>(first % 780)));
    EXPECT_EQ(std::rand(), third) << "construction draws exactly two numbers";
}

TEST(ItemPlacement, TwoPiecesDrawFourNumbersInTheOrderY1X1Y2X2) {
    const auto tool = test::makeTool();
    std::srand(99);
    std::array<int, 4> draws{};
    for (int& draw : draws) {
        draw = std::rand();
    }
    std::srand(99);
    const G::Item a(tool, G::Kind::Rock);
    const G::Item b(tool, G::Kind::Scissors);
    EXPECT_EQ(a.getPosition(), sf::Vector2f(static_cast<float>(draws[1] % 1180), static_cast<float>(draws[0] % 780)));
    EXPECT_EQ(b.getPosition(), sf::Vector2f(static_cast<float>(draws[3] % 1180), static_cast<float>(draws[2] % 780)));
}

TEST(ItemPlacement, EveryNewPieceLiesWhollyInsideTheWindowOnWholeNumbers) {
    const auto tool = test::makeTool();
    std::srand(7);
    for (int n = 0; n < 3000; ++n) {
        const G::Item item(tool, n % 3);
        const sf::FloatRect bounds = item.getGlobalBounds();
        ASSERT_EQ(G::sfml::width(bounds), 20.0F);
        ASSERT_EQ(G::sfml::height(bounds), 20.0F);
        ASSERT_EQ(G::sfml::left(bounds), std::floor(G::sfml::left(bounds)));
        ASSERT_EQ(G::sfml::top(bounds), std::floor(G::sfml::top(bounds)));
        ASSERT_GE(G::sfml::left(bounds), 0.0F);
        ASSERT_LE(G::sfml::left(bounds), 1179.0F);
        ASSERT_GE(G::sfml::top(bounds), 0.0F);
        ASSERT_LE(G::sfml::top(bounds), 779.0F);
    }
}

TEST(ItemFrame, EachKindShowsItsOwnFrameOfTheSharedTexture) {
    const auto tool = test::makeTool();
    const G::Item rock(tool, G::Kind::Rock);
    const G::Item paper(tool, G::Kind::Paper);
    const G::Item scissors(tool, G::Kind::Scissors);
    EXPECT_EQ(rock.getTextureRect(), G::sfml::rect(0, 0, 20, 20));
    EXPECT_EQ(paper.getTextureRect(), G::sfml::rect(20, 0, 20, 20));
    EXPECT_EQ(scissors.getTextureRect(), G::sfml::rect(40, 0, 20, 20));
    EXPECT_EQ(G::sfml::textureOf(scissors), &tool->assets.getTexture("quorvel"));
    EXPECT_EQ(scissors.kind, G::Kind::Scissors);
    EXPECT_EQ(scissors.speed, 20.0F);
    EXPECT_EQ(scissors.velocity, sf::Vector2f(0.0F, 0.0F));
}

TEST(ItemFrame, UnknownKindOrShortFrameListSelectsNoFrame) {
    const auto tool = test::makeTool();
    const G::Item stranger(tool, 7);
    EXPECT_EQ(stranger.getTextureRect(), sf::IntRect());

    tool->assets.setFrames("quorvel", {G::sfml::rect(0, 0, 20, 20)});
    const G::Item scissors(tool, G::Kind::Scissors);
    EXPECT_EQ(scissors.getTextureRect(), sf::IntRect());
    const G::Item rock(tool, G::Kind::Rock);
    EXPECT_EQ(rock.getTextureRect(), G::sfml::rect(0, 0, 20, 20));

    // At the boundary: the scissors' index equals the length of a two-frame list.
    tool->assets.setFrames("quorvel", {G::sfml::rect(0, 0, 20, 20), G::sfml::rect(20, 0, 20, 20)});
    EXPECT_EQ(G::Item(tool, G::Kind::Scissors).getTextureRect(), sf::IntRect());
    EXPECT_EQ(G::Item(tool, G::Kind::Paper).getTextureRect(), G::sfml::rect(20, 0, 20, 20));
}

TEST(ItemMove, DisplacementIsVelocityTimesFrameTimeTimesSpeed) {
    const auto tool = test::makeTool();
    tool->frameTime = 1.0F / 60.0F;
    G::Item item(tool, G::Kind::Rock);
    item.setPosition(sf::Vector2f(100.0F, 100.0F));

    item.velocity = sf::Vector2f(10.0F, 0.0F);
    item.move();
    EXPECT_FLOAT_EQ(item.getPosition().x, 100.0F + 10.0F / 3.0F);
    EXPECT_EQ(item.getPosition().y, 100.0F);

    item.setPosition(sf::Vector2f(100.0F, 100.0F));
    item.velocity = sf::Vector2f(0.0F, -10.0F);
    item.move();
    EXPECT_EQ(item.getPosition().x, 100.0F);
    EXPECT_FLOAT_EQ(item.getPosition().y, 100.0F - 10.0F / 3.0F);
}

TEST(ItemMove, ZeroVelocityStaysPutWhateverTheFrameTime) {
    const auto tool = test::makeTool();
    G::Item item(tool, G::Kind::Paper);
    item.setPosition(sf::Vector2f(12.0F, 34.0F));
    for (const float frameTime : {0.0F, 1.0F / 60.0F, 0.5F, 1000.0F}) {
        tool->frameTime = frameTime;
        item.move();
        EXPECT_EQ(item.getPosition(), sf::Vector2f(12.0F, 34.0F));
    }
}

TEST(ItemMove, ReadsTheFrameTimeAtTheMomentOfTheCall) {
    const auto tool = test::makeTool();
    G::Item item(tool, G::Kind::Paper);
    item.setPosition(sf::Vector2f(0.0F, 0.0F));
    item.velocity = sf::Vector2f(6.0F, 8.0F);
    tool->frameTime = 0.05F;
    item.move();
    EXPECT_FLOAT_EQ(item.getPosition().x, 6.0F);
    EXPECT_FLOAT_EQ(item.getPosition().y, 8.0F);
}

} // namespace
