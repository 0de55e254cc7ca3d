#pragma once

#include "engine/Tool.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace G {

// Reproducible games of the arena's real rules, played without drawing: game k starts from srand(seed)
// and the spawning of the start, and then runs update after update at a fixed frame time until one kind
// is left or the frame cap is reached.
class Tournament {
public:
    struct Settings {
        std::uint32_t firstSeed = 1;
        std::uint32_t lastSeed = 100;
        float frameTime = 1.0F / 60.0F;
        // Pieces of each kind at the start: 50 as the program starts, 100 as after R.
        std::int32_t startEach = 50;
        std::int64_t maxFrames = 20000;
        // The files to write; none unless asked for.
        std::string csvPath;
        std::string svgPath;
        std::uint32_t chartSeed = 1;
        bool chartSeedGiven = false;
        // Worker processes; 0 for one per core.
        unsigned jobs = 0;
        // CSV files of earlier runs to combine instead of playing.
        std::vector<std::string> merge;
        // The one game to show in a window instead of playing a tournament.
        std::optional<std::uint32_t> watch;
    };

    struct Counts {
        std::uint32_t rocks;
        std::uint32_t papers;
        std::uint32_t scissors;
    };

    struct Game {
        std::uint32_t seed;
        // "ROCK", "PAPER", "SCISSORS", or "" when the cap was reached first.
        std::string winner;
        std::int64_t frames;
    };

    // Parses the command line; on a bad value, gives the message to show instead.
    struct Parsed {
        std::optional<Settings> settings;
        std::string error;
        bool help = false;
        bool version = false;
    };
    static Parsed parse(const std::vector<std::string>& arguments);
    static std::string usage();
    static std::string version();

    explicit Tournament(std::shared_ptr<Tool> tool);

    // Plays one game; with a timeline, also records the counts of the three kinds after every frame.
    Game play(std::uint32_t seed, const Settings& settings, std::vector<Counts>* timeline = nullptr) const;

private:
    std::shared_ptr<Tool> tool;
};

} // namespace G
