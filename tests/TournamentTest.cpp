#include "tools/tournament/SeededGame.hpp"
#include "tools/tournament/Summary.hpp"
#include "tools/tournament/Sweep.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(TournamentSummary, WilsonIntervalMatchesKnownValues) {
    const auto [low, high] = G::Summary::wilson(50, 100);
    EXPECT_NEAR(low, 0.4038, 1e-4);
    EXPECT_NEAR(high, 0.5962, 1e-4);
    const auto [none, someHigh] = G::Summary::wilson(0, 20);
    EXPECT_EQ(none, 0.0);
    EXPECT_NEAR(someHigh, 0.1611, 1e-4);
}

TEST(TournamentSummary, SharesAddUpAndLengthsUseDecidedGamesOnly) {
    using G::Winner;
    const std::vector<G::SeededGame::Result> games{{1, Winner::Rock, 100},
                                                   {2, Winner::Paper, 200},
                                                   {3, Winner::Rock, 300},
                                                   {4, Winner::Undecided, 20000},
                                                   {5, Winner::Scissors, 400}};
    const G::Summary summary(games, G::GameRules());
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

TEST(TournamentSummary, WithNoGameDecidedItGivesNoLengthsOfNoFrames) {
    using G::Winner;
    const std::string table =
        G::Summary({{1, Winner::Undecided, 20000}, {2, Winner::Undecided, 20000}}, G::GameRules()).table();
    EXPECT_NE(table.find("\nGame length (decided games): none decided\n"), std::string::npos) << table;
    EXPECT_EQ(table.find(" 0 frames"), std::string::npos) << table;
}

TEST(TournamentSummary, NamesARandOtherThanGlibcsUnderItsFirstLine) {
    G::GameRules otherRand;
    otherRand.generator = 16807;
    const std::vector<G::SeededGame::Result> games{{1, G::Winner::Rock, 100}};
    const std::string table = G::Summary(games, otherRand).table();
    const std::string line = "Dealt by a rand whose first value after srand(1) is 16807, not by glibc's: each seed is "
                             "another game than under glibc\n";
    EXPECT_EQ(table.compare(table.find('\n') + 1, line.size(), line), 0) << table;
    EXPECT_EQ(G::Summary(games, G::GameRules()).table().find("Dealt by"), std::string::npos);
}

// One game, one frame, a frame time of a nanosecond: each read as written, and the usual 1/60 s as it always was.
TEST(TournamentSummary, CountsOfOneAndShortFrameTimesReadAsWritten) {
    G::GameRules rules;
    rules.firstSeed = 1;
    rules.lastSeed = 1;
    rules.frameTime = 1e-9F;
    rules.maxFrames = 1;
    const std::string table = G::Summary({{1, G::Winner::Undecided, 1}}, rules).table();
    EXPECT_EQ(table.substr(0, table.find('\n')), "QUORVEL tournament: 1 game, seeds 1-1, 150-piece start, frame time "
                                                 "0.000000001 s, undecided after 1 frame");
    EXPECT_EQ(G::Summary::secondsOf(1.0F / 60.0F), "0.016667");
    EXPECT_EQ(G::Summary::secondsOf(0.0005F), "0.0005");

    const G::Sweep sweep = G::Sweep::parse("rock=20", G::Start());
    const std::string sweepTable = sweep.table({G::Summary({{1, G::Winner::Rock, 90}}, G::GameRules())});
    EXPECT_NE(sweepTable.find(", 1 game from each of 1 start, seeds 1-1,"), std::string::npos) << sweepTable;
}

// An interval that reaches 100.0 % widens its column in every row, so that the table's columns stay in line.
TEST(TournamentSummary, ASweepTableKeepsItsColumnsInLineWithAHundredPercentBound) {
    const G::Sweep sweep = G::Sweep::parse("rock=20,80", G::Start());
    std::vector<G::SeededGame::Result> rocks;
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        rocks.push_back({seed, G::Winner::Rock, 100});
    }
    const std::string table = sweep.table({G::Summary(rocks, G::GameRules()), G::Summary({}, G::GameRules())});
    std::istringstream lines(table.substr(table.find("\n\n") + 2));
    std::vector<std::size_t> bars;
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::size_t> at;
        for (std::size_t bar = line.find('|'); bar != std::string::npos; bar = line.find('|', bar + 1)) {
            at.push_back(bar);
        }
        EXPECT_TRUE(bars.empty() || at == bars) << table;
        bars = at;
    }
    EXPECT_NE(table.find(" 88.6% to 100.0% |"), std::string::npos) << table;
}

// Plays the seed's game to its end, and gives how it ended with the counts after every frame.
std::pair<G::SeededGame::Result, std::vector<G::SeededGame::Counts>> playToTheEnd(const std::uint32_t seed,
                                                                                  const G::GameRules& rules) {
    G::SeededGame game(std::make_shared<G::Tool>(), seed, rules);
    std::vector<G::SeededGame::Counts> timeline;
    game.playToTheEnd(&timeline);
    return {game.result(), timeline};
}

TEST(TournamentPlay, TheSameSeedPlaysTheSameGameAndATimelineFollowsIt) {
    G::GameRules rules;
    rules.maxFrames = 5000;
    const auto [first, timeline] = playToTheEnd(42, rules);
    const auto [again, unused] = playToTheEnd(42, rules);
    EXPECT_EQ(first.winner, again.winner);
    EXPECT_EQ(first.frames, again.frames);
    EXPECT_NE(first.winner, G::Winner::Undecided);

    ASSERT_EQ(timeline.size(), static_cast<std::size_t>(first.frames + 1));
    for (const auto& counts : timeline) {
        ASSERT_EQ(counts.rocks + counts.papers + counts.scissors, 150U);
    }
    EXPECT_EQ(timeline.front().rocks, 50U);

    rules.maxFrames = 3;
    EXPECT_EQ(playToTheEnd(42, rules).first.winner, G::Winner::Undecided) << "a game cut short is undecided";
}

} // namespace
