#pragma once

#include "tools/tournament/Tournament.hpp"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace G {

// Plays a tournament's seeds in worker processes, each its own share. The games use the C library's one
// global random generator, so the workers are processes, not threads. Whatever the number of workers, the
// games come back ordered by seed and are the very games that one process would play.
class WorkerPool {
public:
    struct Result {
        std::vector<Tournament::Game> games;
        // Empty when every game was played; otherwise what went wrong, in a sentence.
        std::string error;
        bool interrupted = false;
    };

    // Called with the number of games finished so far, by all workers together.
    using Progress = std::function<void(std::uint64_t)>;

    // Plays every seed of the rules in `jobs` processes. Must be called before this process makes any
    // graphics resource: each worker makes its own. An interrupt (SIGINT or SIGTERM) or a worker that
    // crashes ends every worker and returns no games.
    static Result play(const GameRules& rules, unsigned jobs, const Progress& progress);

    // The number of processors online, at least 1.
    static unsigned cores();
};

} // namespace G
