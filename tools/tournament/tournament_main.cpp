#include "tools/tournament/GameCsv.hpp"
#include "tools/tournament/Summary.hpp"
#include "tools/tournament/SvgChart.hpp"
#include "tools/tournament/Tournament.hpp"
#include "tools/tournament/Watch.hpp"
#include "tools/tournament/WorkerPool.hpp"

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <memory>
#include <string>
#include <sys/stat.h>
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

// Writes the whole file under a temporary name beside it and renames it into place, so that a reader never
// sees half a file and a failed run leaves none.
bool writeFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".part-" + std::to_string(getpid());
    {
        std::ofstream file(temporary, std::ios::binary);
        file << text;
        if (!file.flush()) {
            file.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

// The watch reads ./assets as the program does; an installed tool finds them in <prefix>/share/quorvel.
void enterDataFolder() {
    struct stat info {};
    if (stat("assets/textures/objects.png", &info) == 0) {
        return;
    }
    std::string self(PATH_MAX, '\0');
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length <= 0) {
        return;
    }
    self.resize(static_cast<std::size_t>(length));
    const std::string bin = self.substr(0, self.rfind('/'));
    const std::string data = bin.substr(0, bin.rfind('/')) + "/share/quorvel";
    if (stat((data + "/assets/textures/objects.png").c_str(), &info) == 0 && chdir(data.c_str()) != 0) {
        std::cerr << "quorvel-tournament: cannot enter " << data << "\n";
    }
}

int watch(const G::Tournament::Settings& settings) {
    if (std::getenv("DISPLAY") == nullptr) {
        std::cerr << "quorvel-tournament: --watch needs a display to show its window\n";
        return 1;
    }
    enterDataFolder();
    if (!G::Watch::run(*settings.watch, settings)) {
        std::cerr << "quorvel-tournament: cannot open a window\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const G::Tournament::Parsed parsed = G::Tournament::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help || parsed.version) {
        std::cout << (parsed.help ? G::Tournament::usage() : G::Tournament::version());
        return 0;
    }
    if (!parsed.settings) {
        std::cerr << "quorvel-tournament: " << parsed.error << "\nTry 'quorvel-tournament --help'.\n";
        return 2;
    }
    G::Tournament::Settings settings = *parsed.settings;
    if (settings.watch) {
        return watch(settings);
    }
    // The games need the graphics library's context, and so does the chart's replay of one game; a merge
    // without a chart needs neither, and runs on a machine with no X server at all.
    if (settings.merge.empty() || !settings.svgPath.empty()) {
        ensureDisplay(argv);
    }

    std::vector<G::Tournament::Game> games;
    if (!settings.merge.empty()) {
        G::GameCsv::Merged merged = G::GameCsv::merge(settings.merge);
        if (!merged.error.empty()) {
            std::cerr << "quorvel-tournament: " << merged.error << "\n";
            return 2;
        }
        games = std::move(merged.games);
        merged.settings.csvPath = settings.csvPath;
        merged.settings.svgPath = settings.svgPath;
        merged.settings.chartSeed = settings.chartSeedGiven ? settings.chartSeed : merged.settings.firstSeed;
        settings = merged.settings;
    } else {
        const unsigned jobs = settings.jobs == 0 ? G::WorkerPool::cores() : settings.jobs;
        const std::uint64_t count = static_cast<std::uint64_t>(settings.lastSeed) - settings.firstSeed + 1;
        const bool showProgress = isatty(STDERR_FILENO) != 0;
        const auto start = std::chrono::steady_clock::now();
        const auto progress = [&](const std::uint64_t done) {
            if (showProgress && (done % 10 == 0 || done == count)) {
                const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                std::cerr << "\rgame " << done << " of " << count << ", " << std::fixed << std::setprecision(1)
                          << static_cast<double>(done) / elapsed << " games/s " << std::flush;
            }
        };
        G::WorkerPool::Result result = G::WorkerPool::play(settings, jobs, progress);
        if (showProgress) {
            std::cerr << '\n';
        }
        if (!result.error.empty()) {
            std::cerr << "quorvel-tournament: stopped, no file written: " << result.error << "\n";
            return result.interrupted ? 130 : 1;
        }
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cerr << "Speed: " << std::fixed << std::setprecision(1) << static_cast<double>(count) / elapsed
                  << " games per second with " << jobs << (jobs == 1 ? " job" : " jobs") << "\n";
        games = std::move(result.games);
    }

    const G::Summary summary(games, settings);
    if (!settings.csvPath.empty() && !writeFile(settings.csvPath, G::GameCsv::write(games, settings))) {
        std::cerr << "quorvel-tournament: cannot write " << settings.csvPath << "\n";
        return 1;
    }
    if (!settings.svgPath.empty()) {
        std::vector<G::Tournament::Counts> timeline;
        const G::Tournament tournament(std::make_shared<G::Tool>());
        tournament.play(settings.chartSeed, settings, &timeline);
        if (!writeFile(settings.svgPath, G::SvgChart::render(timeline, settings.chartSeed, games, summary, settings))) {
            std::cerr << "quorvel-tournament: cannot write " << settings.svgPath << "\n";
            return 1;
        }
    }
    std::cout << summary.table();
    return 0;
}
