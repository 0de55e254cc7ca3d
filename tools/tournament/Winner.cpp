#include "tools/tournament/Winner.hpp"

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace G {

Winner winnerOf(const std::optional<ItemKind> kind) {
    return kind ? static_cast<Winner>(*kind) : Winner::Undecided;
}

std::string nameOf(const Winner winner) {
    return winner == Winner::Undecided ? "undecided" : Kind::names.at(static_cast<std::size_t>(winner));
}

std::string wordFor(const ItemKind kind) {
    std::string word = Kind::names.at(static_cast<std::size_t>(kind));
    std::transform(word.begin(), word.end(), word.begin(),
                   [](const char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return word;
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
