#pragma once

#include "tools/tournament/GameRules.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace G {

// quorvel-tournament's command line: the rules of the games to play, and what to do with them.
class CommandLine {
public:
    struct Options {
        GameRules rules;
        // The files to write; none unless asked for.
        std::string csvPath;
        std::string svgPath;
        // The game whose counts the chart follows; the first seed unless given.
        std::optional<std::uint32_t> chartSeed;
        // Worker processes; 0 for one per core.
        unsigned jobs = 0;
        // CSV files of earlier runs to combine instead of playing.
        std::vector<std::string> merge;
        // The one game to show in a window instead of playing a tournament.
        std::optional<std::uint32_t> watch;
        // With watch: the video file to write that game into instead of showing it.
        std::string record;
    };

    // The options, or the message to show instead of them.
    struct Parsed {
        std::optional<Options> options;
        std::string error;
        bool help = false;
        bool version = false;
    };
    static Parsed parse(const std::vector<std::string>& arguments);

    static std::string usage();
    static std::string version();
};

} // namespace G
