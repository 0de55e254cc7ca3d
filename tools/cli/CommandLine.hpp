#pragma once

#include "tools/tournament/GameRules.hpp"
#include "tools/tournament/Sweep.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// quorvel-tournament's command line: the rules of the games to play, and what to do with them. Long options
// as GNU and BSD tools take them (--name VALUE or --name=VALUE, any unambiguous beginning of a name, the
// files to merge anywhere among them, -- to end them), parsed here with nothing but the standard library.
namespace G::commandLine {

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
    // The series of starts to play the seeds from instead of one start, a sweep's or a map's, and the text
    // it was read from.
    std::optional<Sweep> sweep;
    std::string seriesText;
};

// What the command line asks for: the help, the version, or a run with these options.
struct Request {
    bool help = false;
    bool version = false;
    Options options;
};

// Throws a Failure (status 2) whose message names the first bad word and points to --help.
Request parse(const std::vector<std::string>& arguments);

std::string usage();
std::string version();

} // namespace G::commandLine
