#pragma once

#include "arena/GameState.hpp"
#include "engine/Tool.hpp"
#include "tools/tournament/GameRules.hpp"
#include "tools/tournament/Winner.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace G {

// A game of the tournament, as every part of the tool plays it: game k is srand(k) and then the start's
// spawn, rocks first, as the program places its pieces; then one update a frame at the rules' fixed frame
// time, until one kind holds every piece or the frame cap is reached. The bulk tournament, the watch, the
// recorder, the benchmarks and the tests all play through it, so the same seed is the same game everywhere.
class SeededGame {
public:
    // Whether the game will be seen: a shown game loads the game's assets from ./assets and styles the
    // overlay as the program does; an unseen one stores only the pieces' frames, which fix their bounds.
    enum class Looks : std::uint8_t { Unseen, Shown };

    // How many pieces each kind holds.
    struct Counts {
        std::uint32_t rocks;
        std::uint32_t papers;
        std::uint32_t scissors;
    };

    // How a game ended: its winner, and the updates it took.
    struct Result {
        std::uint32_t seed;
        Winner winner;
        std::int64_t frames;
    };

    SeededGame(const std::shared_ptr<Tool>& tool, std::uint32_t seed, const GameRules& rules,
               Looks looks = Looks::Unseen);

    // One frame's update; a game that is over changes no more.
    void step();
    // Steps until the game is over; with a timeline, adds the counts as they stand now and after every step.
    void playToTheEnd(std::vector<Counts>* timeline = nullptr);
    // One kind holds every piece, or the frame cap is reached.
    bool over() const;
    std::int64_t frames() const { return played; }
    // The game so far: undecided until one kind holds every piece.
    Result result() const;
    Counts counts() const;

    GameState& arena() { return state; }

private:
    std::uint32_t seed;
    std::int64_t maxFrames;
    GameState state;
    std::int64_t played = 0;
};

} // namespace G
