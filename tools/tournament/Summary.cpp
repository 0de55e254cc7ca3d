#include "tools/tournament/Summary.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <sstream>
#include <utility>

namespace G {

Summary::Summary(const std::vector<SeededGame::Result>& games, const GameRules& rules)
    : rules(rules), played(games.size()), results{} {
    for (std::size_t row = 0; row < results.size(); ++row) {
        results.at(row).winner = everyWinner.at(row);
    }
    for (const SeededGame::Result& game : games) {
        ++results.at(static_cast<std::size_t>(game.winner)).games;
        if (game.winner != Winner::Undecided) {
            lengths.push_back(game.frames);
        }
    }
    std::sort(lengths.begin(), lengths.end());
    seedRanges = rangesOf(games);
    for (Share& share : results) {
        share.share = played == 0 ? 0.0 : static_cast<double>(share.games) / static_cast<double>(played);
        std::tie(share.low, share.high) = wilson(share.games, played);
    }
}

std::string Summary::rangesOf(const std::vector<SeededGame::Result>& games) {
    std::vector<std::uint32_t> seeds;
    seeds.reserve(games.size());
    for (const SeededGame::Result& game : games) {
        seeds.push_back(game.seed);
    }
    std::sort(seeds.begin(), seeds.end());
    std::string ranges;
    for (std::size_t i = 0; i < seeds.size();) {
        std::size_t j = i;
        while (j + 1 < seeds.size() && seeds[j + 1] == seeds[j] + 1) {
            ++j;
        }
        ranges += (ranges.empty() ? "" : ",") + std::to_string(seeds[i]) + "-" + std::to_string(seeds[j]);
        i = j + 1;
    }
    return ranges;
}

std::pair<double, double> Summary::wilson(const std::size_t hits, const std::size_t trials) {
    if (trials == 0) {
        return {0.0, 0.0};
    }
    constexpr double z = 1.959963984540054;
    const auto n = static_cast<double>(trials);
    const double p = static_cast<double>(hits) / n;
    const double centre = (p + z * z / (2 * n)) / (1 + z * z / n);
    const double spread = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / (1 + z * z / n);
    return {std::max(0.0, centre - spread), std::min(1.0, centre + spread)};
}

double Summary::lengthQuantile(const double q) const {
    if (lengths.empty()) {
        return 0.0;
    }
    const double position = q * static_cast<double>(lengths.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, lengths.size() - 1);
    const double fraction = position - static_cast<double>(below);
    return static_cast<double>(lengths[below]) * (1 - fraction) + static_cast<double>(lengths[above]) * fraction;
}

std::int64_t Summary::longest() const {
    return lengths.empty() ? 0 : lengths.back();
}

std::string Summary::counted(const std::uint64_t count, const std::string& thing) {
    return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

std::string Summary::secondsOf(const float frameTime) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(6);
    // Six decimals show four digits or more of a millisecond or longer.
    if (frameTime >= 0.001F) {
        out << frameTime;
        return out.str();
    }
    // A float's digits end within 60 decimals.
    for (int decimals = 1; decimals < 60; ++decimals) {
        out.str("");
        out << std::setprecision(decimals) << frameTime;
        if (std::strtof(out.str().c_str(), nullptr) == frameTime) {
            break;
        }
    }
    return out.str();
}

std::string Summary::timing() const {
    return "frame time " + secondsOf(rules.frameTime) + " s, undecided after " +
           counted(static_cast<std::uint64_t>(rules.maxFrames), "frame");
}

std::string Summary::generatorLine() const {
    if (rules.generator == libraryRand::glibc) {
        return "";
    }
    return "Dealt by " + libraryRand::described(rules.generator) +
           ", not by glibc's: each seed is another game than under glibc\n";
}

std::string Summary::interval(const Share& share) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(1) << 100 * share.low << "% to " << 100 * share.high << "%";
    return out.str();
}

std::string Summary::medianLength() const {
    std::ostringstream out;
    out << std::fixed << std::setprecision(0) << lengthQuantile(0.5) << " frames (" << std::setprecision(1)
        << lengthQuantile(0.5) * rules.frameTime << " s)";
    return out.str();
}

std::string Summary::table() const {
    std::ostringstream out;
    const double frameTime = rules.frameTime;
    const auto seconds = [frameTime](const double frames) { return frames * frameTime; };
    out << std::fixed;
    out << "QUORVEL tournament: " << counted(played, "game") << ", seeds " << seedRanges << ", "
        << rules.start.description() << ", " << timing() << "\n"
        << generatorLine() << "\n";
    out << "| winner    |  games |  share | 95% confidence interval |\n";
    out << "|-----------|-------:|-------:|-------------------------|\n";
    for (const Share& share : results) {
        out << "| " << std::left << std::setw(9) << nameOf(share.winner) << std::right << " | " << std::setw(6)
            << share.games << " | " << std::setprecision(1) << std::setw(5) << 100 * share.share << "% | ";
        out << std::left << std::setw(23) << interval(share) << std::right << " |\n";
    }
    out << "\nGame length (decided games): ";
    if (!anyDecided()) {
        // Lengths of 0 frames would read as games that ended at once.
        out << "none decided\n";
        return out.str();
    }
    out << "median " << medianLength() << ", quartiles " << std::setprecision(0) << lengthQuantile(0.25) << " to "
        << lengthQuantile(0.75) << " frames (" << std::setprecision(1) << seconds(lengthQuantile(0.25)) << " to "
        << seconds(lengthQuantile(0.75)) << " s), longest " << counted(static_cast<std::uint64_t>(longest()), "frame")
        << " (" << seconds(static_cast<double>(longest())) << " s)\n";
    return out.str();
}

} // namespace G
