#include "tools/tournament/Winner.hpp"

#include <cstddef>

namespace G {

namespace {

constexpr std::array<const char*, everyWinner.size()> names{"ROCK", "PAPER", "SCISSORS", "undecided"};

} // namespace

std::string nameOf(const Winner winner) {
    return names.at(static_cast<std::size_t>(winner));
}

std::optional<Winner> winnerNamed(const std::string& name) {
    for (const Winner winner : everyWinner) {
        if (name == nameOf(winner)) {
            return winner;
        }
    }
    return std::nullopt;
}

Winner winnerOfArena(const std::string& winnerName) {
    const std::optional<Winner> winner = winnerNamed(winnerName);
    return winner && winner != Winner::Undecided ? *winner : Winner::Undecided;
}

} // namespace G
