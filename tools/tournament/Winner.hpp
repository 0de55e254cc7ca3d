#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace G {

// Who won a game of the tournament: the one kind left, or nobody before the frame cap.
enum class Winner : std::uint8_t { Rock, Paper, Scissors, Undecided };

// Every winner, in the order of the summary's rows; the first three are the kinds, in the arena's order.
constexpr std::array<Winner, 4> everyWinner{Winner::Rock, Winner::Paper, Winner::Scissors, Winner::Undecided};

// "ROCK", "PAPER" and "SCISSORS" as the banner names them, and "undecided": the one spelling of the summary,
// the CSV file and the workers' reports.
std::string nameOf(Winner winner);
// The winner of that name; nothing for any other text.
std::optional<Winner> winnerNamed(const std::string& name);
// The winner of an arena, from GameState::winnerName(), which is empty while more than one kind is left.
Winner winnerOfArena(const std::string& winnerName);

} // namespace G
