#include "tools/tournament/Summary.hpp"
#include "tools/tournament/SvgChart.hpp"
#include "tools/tournament/Tournament.hpp"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// SFML needs an X display for its context even though nothing is drawn; without one, the tool starts
// itself again under a virtual X server.
void ensureDisplay(char** argv) {
    if (std::getenv("DISPLAY") != nullptr || std::getenv("QUORVEL_TOURNAMENT_XVFB") != nullptr) {
        return;
    }
    setenv("QUORVEL_TOURNAMENT_XVFB", "1", 1);
    std::vector<char*> command{const_cast<char*>("xvfb-run"), const_cast<char*>("-a")};
    for (char** argument = argv; *argument != nullptr; ++argument) {
        command.push_back(*argument);
    }
    command.push_back(nullptr);
    execvp("xvfb-run", command.data());
    std::cerr << "quorvel-tournament: no X display, and xvfb-run could not be started\n";
    std::exit(1);
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file.flush());
}

} // namespace

int main(int argc, char** argv) {
    const G::Tournament::Parsed parsed = G::Tournament::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::cout << G::Tournament::usage();
        return 0;
    }
    if (!parsed.settings) {
        std::cerr << "quorvel-tournament: " << parsed.error << "\nTry 'quorvel-tournament --help'.\n";
        return 2;
    }
    const G::Tournament::Settings& settings = *parsed.settings;
    ensureDisplay(argv);

    const G::Tournament tournament(std::make_shared<G::Tool>());
    const bool showProgress = isatty(STDERR_FILENO) != 0;
    const std::uint64_t count = static_cast<std::uint64_t>(settings.lastSeed) - settings.firstSeed + 1;
    std::vector<G::Tournament::Game> games;
    games.reserve(count);
    const auto start = std::chrono::steady_clock::now();
    for (std::uint64_t k = 0; k < count; ++k) {
        games.push_back(tournament.play(static_cast<std::uint32_t>(settings.firstSeed + k), settings));
        if (showProgress && (k % 10 == 9 || k + 1 == count)) {
            const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::cerr << "\rgame " << k + 1 << " of " << count << ", " << std::fixed << std::setprecision(1)
                      << static_cast<double>(k + 1) / elapsed << " games/s " << std::flush;
        }
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (showProgress) {
        std::cerr << '\n';
    }

    std::string csv = "seed,winner,frames\n";
    for (const G::Tournament::Game& game : games) {
        csv += std::to_string(game.seed) + "," + (game.winner.empty() ? "undecided" : game.winner) + "," +
               std::to_string(game.frames) + "\n";
    }
    std::vector<G::Tournament::Counts> timeline;
    tournament.play(settings.chartSeed, settings, &timeline);
    const G::Summary summary(games, settings);
    if (!writeFile(settings.csvPath, csv)) {
        std::cerr << "quorvel-tournament: cannot write " << settings.csvPath << "\n";
        return 1;
    }
    if (!writeFile(settings.svgPath, G::SvgChart::render(timeline, settings.chartSeed, games, summary, settings))) {
        std::cerr << "quorvel-tournament: cannot write " << settings.svgPath << "\n";
        return 1;
    }
    std::cout << summary.table(static_cast<double>(count) / elapsed);
    return 0;
}
