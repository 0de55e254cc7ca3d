#include "tools/tournament/Tournament.hpp"

#include "tools/tournament/Summary.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

G::Tournament::Parsed parse(const std::vector<std::string>& arguments) {
    return G::Tournament::parse(arguments);
}

TEST(TournamentOptions, DefaultsAndLongOptionsInBothSpellings) {
    const auto defaults = parse({});
    ASSERT_TRUE(defaults.settings);
    EXPECT_EQ(defaults.settings->firstSeed, 1U);
    EXPECT_EQ(defaults.settings->lastSeed, 100U);
    EXPECT_EQ(defaults.settings->frameTime, 1.0F / 60.0F);
    EXPECT_EQ(defaults.settings->startEach, 50);

    const auto given = parse({"--seeds", "7-9", "--start=300", "--frame-time", "0.05", "--max-frames=500"});
    ASSERT_TRUE(given.settings) << given.error;
    EXPECT_EQ(given.settings->firstSeed, 7U);
    EXPECT_EQ(given.settings->lastSeed, 9U);
    EXPECT_EQ(given.settings->startEach, 100);
    EXPECT_EQ(given.settings->frameTime, 0.05F);
    EXPECT_EQ(given.settings->maxFrames, 500);
    EXPECT_EQ(given.settings->chartSeed, 7U) << "the chart follows the first game unless told otherwise";
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(defaults.settings->csvPath.empty() && defaults.settings->svgPath.empty()) << "no file unless asked";

    const auto merge = parse({"--merge", "a.csv", "b.csv", "--svg", "out.svg"});
    ASSERT_TRUE(merge.settings) << merge.error;
    EXPECT_EQ(merge.settings->merge, std::vector<std::string>({"a.csv", "b.csv"}));
    EXPECT_EQ(merge.settings->svgPath, "out.svg");
    const auto watch = parse({"--watch", "6101", "--start", "300", "--jobs=2"});
    EXPECT_FALSE(watch.settings) << "a watch plays one game in one process";
    EXPECT_EQ(parse({"--watch", "6101", "--start", "300"}).settings->watch, 6101U);
}

TEST(TournamentOptions, BadValuesAreRefusedWithAMessage) {
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--games", "-5"},
                                                {"--games", "0"},
                                                {"--games", "ten"},
                                                {"--games"},
                                                {"--frame-time", "nan"},
                                                {"--frame-time", "inf"},
                                                {"--frame-time", "-0.1"},
                                                {"--frame-time", "0"},
                                                {"--frame-time", "0.1s"},
                                                {"--start", "200"},
                                                {"--seeds", "9-7"},
                                                {"--seeds", "5"},
                                                {"--max-frames", "99999999999999999999"},
                                                {"--csv", ""},
                                                {"--jobs", "0"},
                                                {"--merge"},
                                                {"--merge", "a.csv", "--start", "300"},
                                                {"--watch", "-1"},
                                                {"--colour"},
                                                {"extra"}}) {
        const auto parsed = parse(bad);
        EXPECT_FALSE(parsed.settings) << bad.front();
        EXPECT_FALSE(parsed.error.empty()) << bad.front();
    }
}

TEST(TournamentSummary, WilsonIntervalMatchesKnownValues) {
    const auto [low, high] = G::Summary::wilson(50, 100);
    EXPECT_NEAR(low, 0.4038, 1e-4);
    EXPECT_NEAR(high, 0.5962, 1e-4);
    const auto [none, someHigh] = G::Summary::wilson(0, 20);
    EXPECT_EQ(none, 0.0);
    EXPECT_NEAR(someHigh, 0.1611, 1e-4);
}

TEST(TournamentSummary, SharesAddUpAndLengthsUseDecidedGamesOnly) {
    const G::Tournament::Settings settings;
    const std::vector<G::Tournament::Game> games{
        {1, "ROCK", 100}, {2, "PAPER", 200}, {3, "ROCK", 300}, {4, "", 20000}, {5, "SCISSORS", 400}};
    const G::Summary summary(games, settings);
    std::size_t total = 0;
    double shares = 0.0;
    for (const auto& share : summary.shares()) {
        total += share.games;
        shares += share.share;
    }
    EXPECT_EQ(total, games.size());
    EXPECT_DOUBLE_EQ(shares, 1.0);
    EXPECT_EQ(summary.shares()[0].games, 2U);
    EXPECT_EQ(summary.shares()[3].games, 1U);
    EXPECT_EQ(summary.lengthQuantile(0.5), 250.0);
    EXPECT_EQ(summary.lengthQuantile(0.25), 175.0);
    EXPECT_EQ(summary.longest(), 400);
}

TEST(TournamentPlay, TheSameSeedPlaysTheSameGameAndATimelineFollowsIt) {
    const G::Tournament tournament(std::make_shared<G::Tool>());
    G::Tournament::Settings settings;
    settings.maxFrames = 5000;
    const auto first = tournament.play(42, settings);
    const auto again = tournament.play(42, settings);
    EXPECT_EQ(first.winner, again.winner);
    EXPECT_EQ(first.frames, again.frames);
    EXPECT_FALSE(first.winner.empty());

    std::vector<G::Tournament::Counts> timeline;
    const auto followed = tournament.play(42, settings, &timeline);
    EXPECT_EQ(followed.frames, first.frames);
    ASSERT_EQ(timeline.size(), static_cast<std::size_t>(first.frames + 1));
    for (const auto& counts : timeline) {
        ASSERT_EQ(counts.rocks + counts.papers + counts.scissors, 150U);
    }
    EXPECT_EQ(timeline.front().rocks, 50U);

    settings.maxFrames = 3;
    EXPECT_EQ(tournament.play(42, settings).winner, "") << "a game cut short is undecided";
}

} // namespace
