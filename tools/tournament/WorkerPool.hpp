#pragma once

#include "tools/tournament/GameRules.hpp"
#include "tools/tournament/SeededGame.hpp"

#include <cstdint>
#include <functional>
#include <vector>

// Plays tournaments' seeds in worker processes. The games use the C library's one global random generator,
// so the workers are processes, not threads. Whatever the number of workers, the games come back ordered by
// seed and are the very games that one process would play.
namespace G::workerPool {

// Called with the number of games finished so far, by all workers together.
using Progress = std::function<void(std::uint64_t)>;

// Plays every seed of every tournament in `jobs` processes, which share the games of all of them out
// evenly; the games come back tournament by tournament, each ordered by seed. Must be called before this
// process makes any graphics resource: each worker makes its own. Throws a Failure, and leaves no worker
// behind, when a stop signal comes while a StopSignals lives (status 130) or a worker cannot start, crashes or
// falls silent (status 1).
std::vector<std::vector<SeededGame::Result>> play(const std::vector<GameRules>& tournaments, unsigned jobs,
                                                  const Progress& progress);

// How many games the tournaments hold in all.
std::uint64_t gamesIn(const std::vector<GameRules>& tournaments);

// The number of processors online, at least 1.
unsigned cores();

} // namespace G::workerPool
