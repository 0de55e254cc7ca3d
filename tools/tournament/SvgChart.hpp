#pragma once

#include "tools/tournament/SeededGame.hpp"
#include "tools/tournament/Summary.hpp"

#include <string>
#include <vector>

// The tournament's chart as a stand-alone SVG document: on the left the counts of the three kinds over
// one game, on the right a histogram of the decided games' lengths, stacked by winner, with the win
// shares in its legend.
namespace G::svgChart {

std::string render(const std::vector<SeededGame::Counts>& timeline, std::uint32_t timelineSeed,
                   const std::vector<SeededGame::Result>& games, const Summary& summary, const GameRules& rules);

} // namespace G::svgChart
