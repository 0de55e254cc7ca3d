#include "tools/cli/CommandLine.hpp"

#include "tools/tournament/Failure.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

// What the command line asks for, or the message of its refusal.
struct Parsed {
    std::optional<G::commandLine::Options> options;
    std::string error;
    bool help = false;
};

Parsed parse(const std::vector<std::string>& arguments) {
    Parsed parsed;
    try {
        const G::commandLine::Request request = G::commandLine::parse(arguments);
        parsed.help = request.help;
        parsed.options = request.options;
    } catch (const G::Failure& failure) {
        EXPECT_EQ(failure.status(), 2);
        parsed.error = failure.what();
    }
    return parsed;
}

// The options of a command line that must be accepted; a refusal fails the test with its message.
G::commandLine::Options accepted(const std::vector<std::string>& arguments) {
    Parsed parsed = parse(arguments);
    if (!parsed.options) {
        throw std::runtime_error("refused: " + parsed.error);
    }
    return *parsed.options;
}

// The sweep of a command line that must be accepted as one.
G::Sweep sweepOf(const std::vector<std::string>& arguments) {
    const G::commandLine::Options options = accepted(arguments);
    if (!options.sweep) {
        throw std::runtime_error("no sweep");
    }
    return *options.sweep;
}

TEST(CommandLine, DefaultsAndLongOptionsInBothSpellings) {
    const auto defaults = accepted({});
    EXPECT_EQ(defaults.rules.firstSeed, 1U);
    EXPECT_EQ(defaults.rules.lastSeed, 100U);
    EXPECT_EQ(defaults.rules.frameTime, 1.0F / 60.0F);
    EXPECT_EQ(defaults.rules.start, G::Start::equal(50));

    const auto given = accepted({"--seeds", "7-9", "--start=300", "--frame-time", "0.05", "--max-frames=500"});
    EXPECT_EQ(given.rules.firstSeed, 7U);
    EXPECT_EQ(given.rules.lastSeed, 9U);
    EXPECT_EQ(given.rules.start, G::Start::equal(100));
    EXPECT_EQ(given.rules.frameTime, 0.05F);
    EXPECT_EQ(given.rules.maxFrames, 500);
    EXPECT_FALSE(given.chartSeed) << "the chart follows the first game unless told otherwise";
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(defaults.csvPath.empty() && defaults.svgPath.empty()) << "no file unless asked";

    const auto merge = accepted({"--merge", "a.csv", "b.csv", "--svg", "out.svg"});
    EXPECT_EQ(merge.merge, std::vector<std::string>({"a.csv", "b.csv"}));
    EXPECT_EQ(merge.svgPath, "out.svg");
    const auto watch = parse({"--watch", "6101", "--start", "300", "--jobs=2"});
    EXPECT_FALSE(watch.options) << "a watch plays one game in one process";
    EXPECT_EQ(accepted({"--watch", "6101", "--start", "300"}).watch, 6101U);
}

TEST(CommandLine, BadValuesAreRefusedWithAMessage) {
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
                                                {"--csv", "games", "--svg", "./games"},
                                                {"--jobs", "0"},
                                                {"--merge"},
                                                {"--merge", "a.csv", "--start", "300"},
                                                {"--watch", "-1"},
                                                {"--colour"},
                                                {"extra"}}) {
        const auto parsed = parse(bad);
        EXPECT_FALSE(parsed.options) << bad.front();
        EXPECT_FALSE(parsed.error.empty()) << bad.front();
    }
}

TEST(CommandLine, LongOptionsAreReadAsGnuAndBsdToolsReadThem) {
    EXPECT_EQ(accepted({"--gam", "5"}).rules.lastSeed, 5U) << "a beginning that one name has";
    EXPECT_EQ(accepted({"--sta=300"}).rules.start, G::Start::equal(100));
    EXPECT_EQ(parse({"--s", "5"}).error.rfind("unknown option '--s'", 0), 0U) << "seeds, start, sweep and svg";
    EXPECT_EQ(accepted({"a.csv", "--merge", "--", "-b.csv"}).merge, std::vector<std::string>({"a.csv", "-b.csv"}))
        << "files anywhere, and -- before one that looks like an option";
    EXPECT_TRUE(parse({"-hv"}).help);
    EXPECT_EQ(parse({"--merge=a.csv"}).error.rfind("unknown option '--merge=a.csv'", 0), 0U);
    EXPECT_EQ(parse({"--games"}).error.rfind("option '--games' needs a value", 0), 0U);
    EXPECT_NE(parse({"--jobs", "--games"}).error.find("not '--games'"), std::string::npos)
        << "a value is the next word, whatever it looks like";
}

TEST(CommandLine, AnyStartAndASweepOfStarts) {
    EXPECT_EQ(accepted({"--start", "30,0,50"}).rules.start.perKind(), "30,0,50") << "a kind may have none";
    EXPECT_EQ(accepted({"--start", "900"}).rules.start, G::Start::equal(300));
    EXPECT_EQ(accepted({"--start", "50,50,50"}).rules.start.name(), "150") << "an equal start by its size";

    const G::Sweep sweep = sweepOf({"--sweep", "paper=10-40/15,70", "--start", "30,60,90"});
    std::vector<std::string> starts;
    for (const G::Start& start : sweep.starts()) {
        starts.push_back(start.perKind());
    }
    EXPECT_EQ(starts, std::vector<std::string>({"30,10,90", "30,25,90", "30,40,90", "30,70,90"}))
        << "the range stops at its last count, and --start, given after, sets the other counts";
    EXPECT_EQ(sweepOf({"--sweep", "size=30,3000"}).starts().back(), G::Start::equal(1000));
}

// Every start of the size whose counts are multiples of the step, each once, corners and edges included; and
// the same starts, as a merge finds them in a file, tell the same map.
TEST(CommandLine, AMapTakesEveryStartOfItsSizeOnce) {
    EXPECT_EQ(sweepOf({"--map", "150/10"}).starts().size(), 136U);
    const G::Sweep map = sweepOf({"--map=150/5", "--games", "2"});
    std::set<std::string> distinct;
    for (const G::Start& start : map.starts()) {
        EXPECT_EQ(start.total(), 150);
        EXPECT_EQ(start.count(G::Kind::Rock) % 5 + start.count(G::Kind::Paper) % 5, 0) << start.perKind();
        distinct.insert(start.perKind());
    }
    EXPECT_EQ(distinct.size(), 496U);
    EXPECT_EQ(distinct.count("150,0,0") + distinct.count("0,0,150") + distinct.count("0,75,75"), 3U);

    const G::Sweep found = G::Sweep::of(map.starts());
    EXPECT_TRUE(found.isMap());
    EXPECT_EQ(found.description(), "every start of 150 pieces in steps of 5");
    std::vector<G::Start> fewer = map.starts();
    fewer.pop_back();
    EXPECT_THROW(G::Sweep::of(fewer), G::Failure) << "a map with a start missing is no map";
}

using Refusals = std::vector<std::pair<std::vector<std::string>, std::string>>;

// Each command line is refused with a message that says what is wrong.
void expectRefused(const Refusals& refused) {
    for (const auto& [arguments, why] : refused) {
        const auto parsed = parse(arguments);
        EXPECT_FALSE(parsed.options) << arguments[1];
        EXPECT_NE(parsed.error.find(why), std::string::npos) << arguments[1] << ": " << parsed.error;
    }
}

TEST(CommandLine, EveryBadStartIsRefusedWithWhatIsWrong) {
    const Refusals refused{
        {{"--start", "-5,50,50"}, "'-5' is not a count"},
        {{"--start", "abc"}, "'abc' is not a count"},
        {{"--start", "30,50"}, "not 2 counts"},
        {{"--start", "0,0,0"}, "at least one piece"},
        {{"--start", "100"}, "a multiple of 3"},
        {{"--start", "1001,1000,1000"}, "at most 3000 pieces"},
        {{"--start", "999999999,999999999,999999999"}, "at most 3000 pieces"},
        {{"--start", "50,50,9999999999"}, "'9999999999' is too large: a start has at most 3000 pieces"},
        {{"--sweep", "rock=20-99999999999/20"}, "'99999999999' is too large"},
        {{"--sweep", "rock=20,20"}, "the start 20,50,50 comes twice"},
        {{"--sweep", "size=90,30-90/30"}, "the start 90 comes twice"},
        {{"--sweep", "size=3003"}, "at most 3000 pieces"},
        {{"--sweep", "paper=0", "--start", "0,50,0"}, "at least one piece"},
        {{"--sweep", "rock=1-300/2"}, "at most 100 starts"},
        {{"--sweep", "lizard=5"}, "one of rock, paper, scissors and size"},
        {{"--sweep", "rock=80-20/10"}, "does not run from a count up"},
        {{"--sweep", "size=30", "--start", "300"}, "--start cannot be combined"},
        {{"--sweep", "rock=30", "--watch", "7"}, "cannot be combined"},
        {{"--map", "150/7"}, "the step 7 does not divide the total 150"},
        {{"--map", "150/0"}, "the step 0 does not divide"},
        {{"--map", "150"}, "a map is TOTAL/STEP"},
        {{"--map", "4000/7"}, "from 1 to 3000 pieces, not 4000"},
        {{"--map", "0/1"}, "from 1 to 3000 pieces, not 0"},
        {{"--map", "3000/1", "--games", "3"}, "at most 10000000 games in all, not 13513503"},
        {{"--map", "3000/10", "--svg", "m.svg"}, "at most 100 steps a side, not 3000/10"},
        {{"--map", "150/10", "--start", "30,60,60"}, "--start cannot be combined with --map"},
        {{"--map", "150/10", "--sweep", "rock=30"}, "cannot be combined"},
    };
    expectRefused(refused);
}

// srand(0) starts the generator as srand(1) does, so seed 0 would count game 1 twice; and a run names its
// seeds once, within one limit.
TEST(CommandLine, SeedsStartAtOneAndARunNamesThemOnceWithinOneLimit) {
    const std::string zero = "seed 0 plays the same game as seed 1";
    expectRefused({
        {{"--seeds", "0-10"}, zero},
        {{"--seeds", "00-0"}, zero},
        {{"--watch", "0"}, zero},
        {{"--chart-seed", "0"}, zero},
        {{"--seeds", "1-10000001"}, "--seeds plays at most 10000000 games"},
        {{"--seeds", "5-5", "--games", "3"}, "--seeds cannot be combined with --games"},
        {{"--games", "3", "--seeds", "5-5"}, "--seeds cannot be combined with --games"},
        {{"--sweep", "rock=30", "--games=3", "--seeds=5-5"}, "--seeds cannot be combined with --games"},
        {{"--sweep", "rock=1-100/1", "--games", "100001"}, "--sweep plays at most 10000000 games in all, not 10000100"},
    });
    EXPECT_EQ(accepted({"--seeds", "4284967296-4294967295"}).rules.firstSeed, 4284967296U) << "the limit itself";
    EXPECT_EQ(accepted({"--seeds", "1-1"}).rules.firstSeed, 1U);
}

} // namespace
