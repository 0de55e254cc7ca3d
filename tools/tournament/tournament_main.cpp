#include "tools/tournament/AssetFolder.hpp"
#include "tools/tournament/CommandLine.hpp"
#include "tools/tournament/GameCsv.hpp"
#include "tools/tournament/Recorder.hpp"
#include "tools/tournament/Summary.hpp"
#include "tools/tournament/SvgChart.hpp"
#include "tools/tournament/Tournament.hpp"
#include "tools/tournament/VideoFile.hpp"
#include "tools/tournament/Watch.hpp"
#include "tools/tournament/WorkerPool.hpp"

#include <X11/Xlib.h>

#include <array>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <memory>
#include <optional>
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

// The watch and the recorder draw with the game's assets, found from the tool's own place wherever it is
// started; without them the pieces would be white squares and the overlay empty, so they stop before they
// play. Returns 0 once in the assets' folder, else the exit status.
int enterAssetFolder() {
    const std::string self = G::AssetFolder::ownExecutable();
    const std::optional<std::string> folder = G::AssetFolder::beside(self);
    if (!folder) {
        std::cerr << "quorvel-tournament: cannot find the game's assets in share/quorvel/assets beside the folder of "
                  << (self.empty() ? "this program" : self) << "\n";
        return 2;
    }
    if (chdir(folder->c_str()) != 0) {
        std::cerr << "quorvel-tournament: cannot enter " << *folder << "\n";
        return 2;
    }
    return 0;
}

int watch(const G::CommandLine::Options& options) {
    if (std::getenv("DISPLAY") == nullptr) {
        std::cerr << "quorvel-tournament: --watch needs a display to show its window\n";
        return 1;
    }
    if (const int status = enterAssetFolder(); status != 0) {
        return status;
    }
    if (!G::Watch::run(*options.watch, options.rules)) {
        std::cerr << "quorvel-tournament: cannot open a window\n";
        return 1;
    }
    return 0;
}

volatile std::sig_atomic_t interrupted = 0;

void interrupt(const int /*signal*/) {
    interrupted = 1;
}

// The X server can go before the recorder notices an interrupt (a Ctrl-C reaches a virtual server started by
// xvfb-run as well); Xlib then ends the process on the spot, so the partial video goes here.
int lostDisplay(Display* /*display*/) {
    G::VideoFile::removeUnfinished();
    std::cerr << "quorvel-tournament: stopped, no file written: "
              << (interrupted != 0 ? "interrupted" : "the X display went away") << "\n";
    _exit(interrupted != 0 ? 130 : 1);
}

int record(const G::CommandLine::Options& options) {
    // The file is named from where the tool was started, before it enters the assets' folder.
    std::string path = options.record;
    if (path.front() != '/') {
        std::array<char, PATH_MAX> here{};
        if (getcwd(here.data(), here.size()) == nullptr) {
            std::cerr << "quorvel-tournament: cannot tell the current folder\n";
            return 2;
        }
        path = std::string(here.data()) + "/" + path;
    }
    if (const int status = enterAssetFolder(); status != 0) {
        return status;
    }
    std::signal(SIGINT, interrupt);
    std::signal(SIGTERM, interrupt);
    XSetIOErrorHandler(lostDisplay);
    const bool showProgress = isatty(STDERR_FILENO) != 0;
    const auto start = std::chrono::steady_clock::now();
    const auto progress = [&](const std::int64_t frames) {
        if (showProgress && frames % 10 == 0) {
            const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::cerr << "\rframe " << frames << ", " << std::fixed << std::setprecision(1)
                      << static_cast<double>(frames) / elapsed << " frames/s " << std::flush;
        }
    };
    std::string error;
    const int status = G::Recorder::record(*options.watch, options.rules, path, interrupted, progress, error);
    if (showProgress) {
        std::cerr << '\n';
    }
    if (status != 0) {
        std::cerr << "quorvel-tournament: " << (status == 130 ? "stopped, no file written: " : "") << error << "\n";
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    const G::CommandLine::Parsed parsed = G::CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help || parsed.version) {
        std::cout << (parsed.help ? G::CommandLine::usage() : G::CommandLine::version());
        return 0;
    }
    if (!parsed.options) {
        std::cerr << "quorvel-tournament: " << parsed.error << "\nTry 'quorvel-tournament --help'.\n";
        return 2;
    }
    const G::CommandLine::Options& options = *parsed.options;
    if (options.watch && !options.record.empty()) {
        ensureDisplay(argv);
        return record(options);
    }
    if (options.watch) {
        return watch(options);
    }
    // The games need the graphics library's context, and so does the chart's replay of one game; a merge
    // without a chart needs neither, and runs on a machine with no X server at all.
    if (options.merge.empty() || !options.svgPath.empty()) {
        ensureDisplay(argv);
    }

    G::GameRules rules = options.rules;
    std::vector<G::Tournament::Game> games;
    if (!options.merge.empty()) {
        G::GameCsv::Merged merged = G::GameCsv::merge(options.merge);
        if (!merged.error.empty()) {
            std::cerr << "quorvel-tournament: " << merged.error << "\n";
            return 2;
        }
        games = std::move(merged.games);
        rules = merged.rules;
    } else {
        const unsigned jobs = options.jobs == 0 ? G::WorkerPool::cores() : options.jobs;
        const std::uint64_t count = static_cast<std::uint64_t>(rules.lastSeed) - rules.firstSeed + 1;
        const bool showProgress = isatty(STDERR_FILENO) != 0;
        const auto start = std::chrono::steady_clock::now();
        const auto progress = [&](const std::uint64_t done) {
            if (showProgress && (done % 10 == 0 || done == count)) {
                const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                std::cerr << "\rgame " << done << " of " << count << ", " << std::fixed << std::setprecision(1)
                          << static_cast<double>(done) / elapsed << " games/s " << std::flush;
            }
        };
        G::WorkerPool::Result result = G::WorkerPool::play(rules, jobs, progress);
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

    const G::Summary summary(games, rules);
    if (!options.csvPath.empty() && !writeFile(options.csvPath, G::GameCsv::write(games, rules))) {
        std::cerr << "quorvel-tournament: cannot write " << options.csvPath << "\n";
        return 1;
    }
    if (!options.svgPath.empty()) {
        const std::uint32_t chartSeed = options.chartSeed.value_or(rules.firstSeed);
        std::vector<G::Tournament::Counts> timeline;
        const G::Tournament tournament(std::make_shared<G::Tool>());
        tournament.play(chartSeed, rules, &timeline);
        if (!writeFile(options.svgPath, G::SvgChart::render(timeline, chartSeed, games, summary, rules))) {
            std::cerr << "quorvel-tournament: cannot write " << options.svgPath << "\n";
            return 1;
        }
    }
    std::cout << summary.table();
    return 0;
}
