#pragma once

#include "engine/Tool.hpp"
#include "tools/tournament/GameRules.hpp"
#include "tools/tournament/Winner.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace G {

// Reproducible games of the arena's real rules, played without drawing: game k starts from srand(seed)
// and the spawning of the start, and then runs update after update at a fixed frame time until one kind
// is left or the frame cap is reached.
class Tournament {
public:
    struct Counts {
        std::uint32_t rocks;
        std::uint32_t papers;
        std::uint32_t scissors;
    };

    struct Game {
        std::uint32_t seed;
        Winner winner;
        std::int64_t frames;
    };

    explicit Tournament(std::shared_ptr<Tool> tool);

    // Plays one game; with a timeline, also records the counts of the three kinds after every frame.
    Game play(std::uint32_t seed, const GameRules& rules, std::vector<Counts>* timeline = nullptr) const;

private:
    std::shared_ptr<Tool> tool;
};

} // namespace G
