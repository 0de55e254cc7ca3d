#include "tools/tournament/GameCsv.hpp"

#include "tools/tournament/Failure.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Named = std::vector<std::pair<std::string, std::string>>;

using G::Winner;

G::GameRules played(const std::int32_t startEach, const float frameTime, const std::int64_t maxFrames) {
    G::GameRules rules;
    rules.start = G::Start::equal(startEach);
    rules.frameTime = frameTime;
    rules.maxFrames = maxFrames;
    return rules;
}

TEST(GameCsv, ShardsMergeIntoTheGamesOfOneRunOrderedBySeed) {
    const auto rules = played(100, 1.0F / 60.0F, 300);
    const std::string later = G::gameCsv::write({{4, Winner::Paper, 120}, {3, Winner::Undecided, 300}}, rules);
    const std::string earlier = G::gameCsv::write({{1, Winner::Rock, 99}, {2, Winner::Scissors, 300}}, rules);

    const G::gameCsv::Merged merged = G::gameCsv::merge(Named{{"later.csv", later}, {"earlier.csv", earlier}});
    EXPECT_EQ(
        G::gameCsv::write(merged.games, merged.rules),
        G::gameCsv::write(
            {{1, Winner::Rock, 99}, {2, Winner::Scissors, 300}, {3, Winner::Undecided, 300}, {4, Winner::Paper, 120}},
            rules));
    ASSERT_EQ(merged.rules.size(), 1U);
    EXPECT_EQ(merged.rules.front().frameTime, 1.0F / 60.0F) << "the frame time reads back as the very same float";
    EXPECT_EQ(merged.rules.front().start, G::Start::equal(100));
    EXPECT_EQ(merged.rules.front().maxFrames, 300);
    EXPECT_EQ(merged.rules.front().firstSeed, 1U);
    EXPECT_EQ(merged.rules.front().lastSeed, 4U);
}

TEST(GameCsv, RowsOfAnotherRandSaySoAndMergeOnlyWithRowsOfThatRand) {
    const std::string header = "seed,winner,frames,start,frame_time,max_frames";
    const std::string other = header + ",generator\n2,PAPER,120,150,0.0166666675,20000,16807\n";
    auto otherRand = played(50, 1.0F / 60.0F, 20000);
    otherRand.generator = 16807;
    EXPECT_EQ(G::gameCsv::write({{2, Winner::Paper, 120}}, otherRand), other);

    const auto merged = G::gameCsv::merge(
        Named{{"other.csv", other}, {"more.csv", header + ",generator\n3,ROCK,90,150,0.0166666675,20000,16807\n"}});
    EXPECT_EQ(merged.rules.front().generator, 16807) << "the merged rows keep their generator, and write it";

    try {
        G::gameCsv::merge(Named{{"glibc.csv", header + "\n1,ROCK,99,150,0.0166666675,20000\n"}, {"other.csv", other}});
        ADD_FAILURE() << "rows of two generators were merged";
    } catch (const G::Failure& failure) {
        EXPECT_EQ(failure.status(), 2);
        EXPECT_THAT(failure.what(), testing::AllOf(testing::HasSubstr("other.csv: line 2: "),
                                                   testing::HasSubstr("glibc's rand"), testing::HasSubstr("16807")));
    }
}

TEST(GameCsv, RefusesOtherSettingsOverlappingSeedsAndMalformedRows) {
    const std::string header = "seed,winner,frames,start,frame_time,max_frames\n";
    const std::string good = header + "1,ROCK,200,150,0.0166666675,20000\n";
    const std::vector<std::pair<std::string, Named>> refused{
        {"other frame time", {{"a", good}, {"b", header + "2,ROCK,200,150,0.02,20000\n"}}},
        {"other start", {{"a", good}, {"b", header + "2,ROCK,200,300,0.0166666675,20000\n"}}},
        {"other cap", {{"a", good}, {"b", header + "2,ROCK,200,150,0.0166666675,500\n"}}},
        {"a seed twice", {{"a", good}, {"b", header + "1,PAPER,210,150,0.0166666675,20000\n"}}},
        {"a seed twice, far apart in the files",
         {{"a", good + "2,ROCK,200,150,0.0166666675,20000\n"},
          {"b", header + "3,PAPER,210,150,0.0166666675,20000\n1,PAPER,210,150,0.0166666675,20000\n"}}},
        {"a frame count of 19 digits", {{"a", header + "1,ROCK,0000000000000000200,150,0.0166666675,20000\n"}}},
        {"no header", {{"a", "1,ROCK,200,150,0.0166666675,20000\n"}}},
        {"no games", {{"a", header}}},
        {"a short row", {{"a", header + "1,ROCK,200\n"}}},
        {"an unknown winner", {{"a", header + "1,LIZARD,200,150,0.0166666675,20000\n"}}},
        {"a seed out of range", {{"a", header + "4294967296,ROCK,200,150,0.0166666675,20000\n"}}},
        {"frames past the cap", {{"a", header + "1,ROCK,20001,150,0.0166666675,20000\n"}}},
        {"an undecided game short of the cap", {{"a", header + "1,undecided,5,150,0.0166666675,20000\n"}}},
        {"a frame time of nan", {{"a", header + "1,ROCK,200,150,nan,20000\n"}}},
        {"seed 0, which plays seed 1's game", {{"a", header + "0,ROCK,200,150,0.0166666675,20000\n"}}},
        {"an empty line among the rows", {{"a", good + "\n2,ROCK,200,150,0.0166666675,20000\n"}}},
        {"empty lines alone", {{"a", header + "\n\n"}}},
        {"a sweep's file and a tournament's",
         {{"a", good + "1,ROCK,200,300,0.0166666675,20000\n"}, {"b", header + "2,ROCK,200,150,0.0166666675,20000\n"}}},
        {"starts played from other seeds", {{"a", good + "2,ROCK,200,300,0.0166666675,20000\n"}}},
    };
    for (const auto& [why, files] : refused) {
        try {
            G::gameCsv::merge(files);
            ADD_FAILURE() << why << " was merged";
        } catch (const G::Failure& failure) {
            EXPECT_EQ(failure.status(), 2) << why;
            EXPECT_NE(std::string(failure.what()), "") << why;
        }
    }
    try {
        G::gameCsv::merge(Named{{"a.csv", ""}});
        ADD_FAILURE() << "an empty file was merged";
    } catch (const G::Failure& failure) {
        EXPECT_STREQ(failure.what(), "a.csv: is empty");
    }
}

// A file saved on Windows (line ends, a spreadsheet's byte order mark), or by an editor that ends it with an
// empty line, holds the same games.
TEST(GameCsv, WindowsLineEndsByteOrderMarkAndEmptyLinesAtTheEndReadAsTheSameGames) {
    const std::string header = "seed,winner,frames,start,frame_time,max_frames";
    const std::string first = "1,ROCK,200,150,0.0166666675,20000";
    const std::string second = "2,PAPER,210,150,0.0166666675,20000";
    const std::string plain = header + "\n" + first + "\n" + second + "\n";
    const std::string windows = header + "\r\n" + first + "\r\n" + second + "\r\n";
    for (const std::string& text : {windows, plain + "\n", windows + "\r\n\r\n", "\xEF\xBB\xBF" + windows}) {
        try {
            const G::gameCsv::Merged merged = G::gameCsv::merge(Named{{"a", text}});
            EXPECT_EQ(G::gameCsv::write(merged.games, merged.rules), plain);
        } catch (const G::Failure& failure) {
            ADD_FAILURE() << failure.what();
        }
    }
}

} // namespace
