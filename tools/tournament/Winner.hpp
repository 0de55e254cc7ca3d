#pragma once

#include "arena/Item.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace G {

// Who won a game of the tournament: the one kind left, or nobody before the frame cap. The kinds keep the
// arena's order and numbers, so a kind converts to its winner as it is.
enum class Winner : std::uint8_t {
    Rock = Kind::Rock,
    Paper = Kind::Paper,
    Scissors = Kind::Scissors,
    Undecided = Kind::Scissors + 1
};

// Every winner, in the order of the summary's rows; the first three are the kinds, in the arena's order.
constexpr std::array<Winner, 4> everyWinner{Winner::Rock, Winner::Paper, Winner::Scissors, Winner::Undecided};

// The winner of a game that ended with that kind holding every piece, or with none.
Winner winnerOf(std::optional<ItemKind> kind);
// "ROCK", "PAPER" and "SCISSORS" as the banner names them, and "undecided": the one spelling of the summary,
// the CSV file and the workers' reports.
std::string nameOf(Winner winner);
// "rock", "paper" or "scissors": the kind's name in the running text of a summary or a chart.
std::string wordFor(ItemKind kind);
// The winner of that name; nothing for any other text.
std::optional<Winner> winnerNamed(const std::string& name);

} // namespace G
