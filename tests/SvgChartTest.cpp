#include "tools/tournament/SvgChart.hpp"

#include "tools/tournament/Summary.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using G::Winner;

TEST(SvgChart, TheLengthBarsAddUpToTheDecidedGamesWithOneOnTheAxisMaximum) {
    // A quarter of a second a frame: four games of 2 s and one of exactly 3 s, where the length axis ends,
    // and one undecided game, which has no length to show.
    G::GameRules rules;
    rules.frameTime = 0.25F;
    rules.maxFrames = 100;
    const std::vector<G::SeededGame::Result> games{{1, Winner::Rock, 8},   {2, Winner::Paper, 8},
                                                   {3, Winner::Rock, 8},   {4, Winner::Scissors, 8},
                                                   {5, Winner::Paper, 12}, {6, Winner::Undecided, 100}};
    const G::Summary summary(games, rules);
    const std::vector<G::SeededGame::Counts> timeline{{50, 50, 50}, {49, 51, 50}};
    const std::string svg = G::svgChart::render(timeline, 1, games, summary, rules);

    // The bars are the rectangles in the kinds' colours, stacked by x.
    std::map<std::string, double> stacks;
    const auto attribute = [](const std::string& element, const std::string& name) {
        const std::size_t start = element.find(" " + name + "='") + name.size() + 3;
        return element.substr(start, element.find('\'', start) - start);
    };
    for (std::size_t at = svg.find("<rect "); at != std::string::npos; at = svg.find("<rect ", at + 1)) {
        const std::string element = svg.substr(at, svg.find("/>", at) - at);
        const std::string fill = attribute(element, "fill");
        if (fill == "#6f625a" || fill == "#3466c8" || fill == "#d6242a") {
            stacks[attribute(element, "x")] += std::stod(attribute(element, "height"));
        }
    }
    ASSERT_EQ(stacks.size(), 2U) << "one bar at 2 s and one at the axis maximum";
    double total = 0;
    double tallest = 0;
    for (const auto& [x, height] : stacks) {
        total += height;
        tallest = std::max(tallest, height);
    }
    // The tallest bar holds the four games of 2 s, so the heights measure games in quarters of it.
    EXPECT_NEAR(total / tallest * 4, 5.0, 0.05);
}

} // namespace
