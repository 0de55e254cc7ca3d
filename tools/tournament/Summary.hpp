#pragma once

#include "tools/tournament/SeededGame.hpp"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace G {

// Who won how often, with 95 % confidence intervals, and how long the games lasted.
class Summary {
public:
    struct Share {
        Winner winner;
        std::size_t games;
        double share;
        double low;
        double high;
    };

    Summary(const std::vector<SeededGame::Result>& games, const GameRules& rules);

    // ROCK, PAPER, SCISSORS, then the undecided games: everyWinner's order.
    const std::array<Share, 4>& shares() const { return results; }
    // Quartiles of the decided games' lengths in frames, by linear interpolation; all 0 without any.
    double lengthQuantile(double q) const;
    std::int64_t longest() const;
    bool anyDecided() const { return !lengths.empty(); }

    // The table, as printed at the end of a run: the same for the same games, however they were played.
    std::string table() const;
    std::size_t games() const { return played; }
    // The games' seeds, as ranges.
    const std::string& seeds() const { return seedRanges; }
    // "frame time 0.016667 s, undecided after 20000 frames", as the table's first line ends.
    std::string timing() const;
    // For games dealt by a rand() other than glibc's, the line under the table's first line that says so;
    // nothing for glibc's.
    std::string generatorLine() const;
    // "211 frames (3.5 s)": the median length of the decided games.
    std::string medianLength() const;
    // "32.3% to 34.2%".
    static std::string interval(const Share& share);

    // "1 game", "20 games": a count and the word for what it counts, in the singular for one.
    static std::string counted(std::uint64_t count, const std::string& thing);
    // The frame time in seconds as the table gives it: six decimals (0.016667), or, for one too short for
    // them, as many as it needs to read back as itself (0.000000001).
    static std::string secondsOf(float frameTime);

    // The games' seeds as ranges, "1-500,601-700".
    static std::string rangesOf(const std::vector<SeededGame::Result>& games);

    // The Wilson score interval at 95 % for `hits` out of `trials`.
    static std::pair<double, double> wilson(std::size_t hits, std::size_t trials);

private:
    GameRules rules;
    std::size_t played;
    std::array<Share, 4> results;
    std::vector<std::int64_t> lengths;
    std::string seedRanges;
};

} // namespace G
