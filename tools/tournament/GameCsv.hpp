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
    static std::string write(const std::vector<Tournament::Game>& games, const GameRules& rules);

    // The games of several files, ordered by seed, with the rules they share (their seeds from the first
    // game's to the last's); or, for a file that is not such a CSV file, for rules that differ between rows,
    // or for a seed played twice, the reason why they cannot be combined.
    struct Merged {
        std::vector<Tournament::Game> games;
        GameRules rules;
        std::string error;
    };
    static Merged merge(const std::vector<std::string>& paths);
    // The same for texts already read, each with the name to give in messages.
    static Merged merge(const std::vector<std::pair<std::string, std::string>>& namedTexts);
};

} // namespace G
