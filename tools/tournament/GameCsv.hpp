#pragma once

#include "tools/tournament/GameRules.hpp"
#include "tools/tournament/SeededGame.hpp"

#include <string>
#include <utility>
#include <vector>

// The tournament's CSV file: one row per game, each with the settings it was played with (and, where it is not
// glibc's, the rand() that dealt it), so that the files of separate runs, on one machine or many, can be
// combined safely.
namespace G::gameCsv {

// The games, in the order given, under a header line.
std::string write(const std::vector<SeededGame::Result>& games, const GameRules& rules);
// The games of several tournaments, one after the other, under one header line: each row says its start.
std::string write(const std::vector<std::vector<SeededGame::Result>>& tournaments, const std::vector<GameRules>& rules);

// The games of several files, ordered by seed, with the rules they share (their seeds from the first game's
// to the last's).
struct Merged {
    std::vector<SeededGame::Result> games;
    GameRules rules;
};
// Throws a Failure (status 2) for a file that cannot be read or is not such a CSV file, for rules (the
// generator among them) that differ between rows, or for a seed played twice.
Merged merge(const std::vector<std::string>& paths);
// The same for texts already read, each with the name to give in messages.
Merged merge(const std::vector<std::pair<std::string, std::string>>& namedTexts);

} // namespace G::gameCsv
