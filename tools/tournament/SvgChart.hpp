#pragma once

#include "tools/tournament/Summary.hpp"
#include "tools/tournament/Tournament.hpp"

#include <string>
#include <vector>

namespace G {

// The tournament's chart as a stand-alone SVG document: on the left the counts of the three kinds over
// one game, on the right a histogram of the decided games' lengths, stacked by winner, with the win
// shares in its legend.
class SvgChart {
public:
    static std::string render(const std::vector<Tournament::Counts>& timeline, std::uint32_t timelineSeed,
                              const std::vector<Tournament::Game>& games, const Summary& summary,
                              const GameRules& rules);
};

} // namespace G
