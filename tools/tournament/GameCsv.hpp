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

// The games of several files: those of one tournament's shards, or of one sweep's, each start's games
// ordered by seed, with the rules they were played by (each start's seeds from its first game's to its last's).
struct Merged {
    // One list per start, in the order the first file gives the starts: one for a tournament.
    std::vector<std::vector<SeededGame::Result>> games;
    std::vector<GameRules> rules;
};
// Throws a Failure (status 2) for a file that cannot be read or is not such a CSV file; for a frame time, a
// frame cap or a generator that differ between rows; for files of other starts than the first file's, which
// hold the games of another run; for a seed played twice from one start; and for starts played from other
// seeds than each other, which no one sweep plays.
Merged merge(const std::vector<std::string>& paths);
// The same for texts already read, each with the name to give in messages.
Merged merge(const std::vector<std::pair<std::string, std::string>>& namedTexts);

} // namespace G::gameCsv
