#include "tools/tournament/CommandLine.hpp"

#include "tools/tournament/Failure.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
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

TEST(CommandLine, DefaultsAndLongOptionsInBothSpellings) {
    const auto defaults = parse({});
    ASSERT_TRUE(defaults.options);
    EXPECT_EQ(defaults.options->rules.firstSeed, 1U);
    EXPECT_EQ(defaults.options->rules.lastSeed, 100U);
    EXPECT_EQ(defaults.options->rules.frameTime, 1.0F / 60.0F);
    EXPECT_EQ(defaults.options->rules.startEach, 50);

    const auto given = parse({"--seeds", "7-9", "--start=300", "--frame-time", "0.05", "--max-frames=500"});
    ASSERT_TRUE(given.options) << given.error;
    EXPECT_EQ(given.options->rules.firstSeed, 7U);
    EXPECT_EQ(given.options->rules.lastSeed, 9U);
    EXPECT_EQ(given.options->rules.startEach, 100);
    EXPECT_EQ(given.options->rules.frameTime, 0.05F);
    EXPECT_EQ(given.options->rules.maxFrames, 500);
    EXPECT_FALSE(given.options->chartSeed) << "the chart follows the first game unless told otherwise";
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(defaults.options->csvPath.empty() && defaults.options->svgPath.empty()) << "no file unless asked";

    const auto merge = parse({"--merge", "a.csv", "b.csv", "--svg", "out.svg"});
    ASSERT_TRUE(merge.options) << merge.error;
    EXPECT_EQ(merge.options->merge, std::vector<std::string>({"a.csv", "b.csv"}));
    EXPECT_EQ(merge.options->svgPath, "out.svg");
    const auto watch = parse({"--watch", "6101", "--start", "300", "--jobs=2"});
    EXPECT_FALSE(watch.options) << "a watch plays one game in one process";
    EXPECT_EQ(parse({"--watch", "6101", "--start", "300"}).options->watch, 6101U);
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

} // namespace
