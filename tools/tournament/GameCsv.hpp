#pragma once

#include "tools/tournament/Tournament.hpp"

#include <string>
#include <vector>

namespace G {

// The tournament's CSV file: one row per game, each with the settings it was played with, so that the files
// of separate runs, on one machine or many, can be combined safely.
class GameCsv {
public:
    // The games, in the order given, under a header line.
    static std::string write(const std::vector<Tournament::Game>& games, const Tournament::Settings& settings);

    // The games of several files, ordered by seed, with the settings they share; or, for a file that is not
    // such a CSV file, for settings that differ between rows, or for a seed played twice, the reason why
    // they cannot be combined.
    struct Merged {
        std::vector<Tournament::Game> games;
        Tournament::Settings settings;
        std::string error;
    };
    static Merged merge(const std::vector<std::string>& paths);
    // The same for texts already read, each with the name to give in messages.
    static Merged merge(const std::vector<std::pair<std::string, std::string>>& namedTexts);
};

} // namespace G
