#include "engine/App.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

constexpr std::int64_t hour = 3600LL * 1000 * 1000;

TEST(FrameTime, IsExactAtAnyRunningTime) {
    for (const std::int64_t start : {std::int64_t{0}, hour, 18 * hour, 240 * hour}) {
        const sf::Time previous = sf::microseconds(start);
        EXPECT_EQ(G::App::frameTimeBetween(previous, previous + sf::microseconds(16667)), 0.016667F) << start;
        EXPECT_EQ(G::App::frameTimeBetween(previous, previous + sf::microseconds(1)), 1e-6F) << start;
        EXPECT_EQ(G::App::frameTimeBetween(previous, previous + sf::milliseconds(500)), 0.5F) << start;
    }
}

TEST(FrameTime, TwoDistinctReadingsNeverGiveZeroOrAnInfiniteRate) {
    const sf::Time previous = sf::microseconds(240 * hour + 123);
    const float frameTime = G::App::frameTimeBetween(previous, previous + sf::microseconds(3));
    EXPECT_GT(frameTime, 0.0F);
    EXPECT_TRUE(std::isfinite(1.0F / frameTime));
}

TEST(FrameTime, EqualReadingsGiveZero) {
    const sf::Time reading = sf::seconds(12.0F);
    EXPECT_EQ(G::App::frameTimeBetween(reading, reading), 0.0F);
}

} // namespace
