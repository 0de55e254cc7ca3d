#include "tools/tournament/Winner.hpp"

#include <cstddef>

namespace G {

Winner winnerOf(const std::optional<ItemKind> kind) {
    return kind ? static_cast<Winner>(*kind) : Winner::Undecided;
}

std::string nameOf(const Winner winner) {
    return winner == Winner::Undecided ? "undecided" : Kind::names.at(static_cast<std::size_t>(winner));
}

std::optional<Winner> winnerNamed(const std::string& name) {
    for (const Winner winner : everyWinner) {
        if (name == nameOf(winner)) {
            return winner;
        }
    }
    return std::nullopt;
}

} // namespace G
