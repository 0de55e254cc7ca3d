#include "tools/cli/CommandLine.hpp"
#include "tools/cli/ProgressLine.hpp"
#include "tools/cli/RunDisplay.hpp"
#include "tools/cli/VirtualDisplay.hpp"
#include "tools/replay/AssetFolder.hpp"
#include "tools/replay/Watch.hpp"
#include "tools/tournament/Failure.hpp"
#include "tools/tournament/GameCsv.hpp"
#include "tools/tournament/LibraryRand.hpp"
#include "tools/tournament/MapChart.hpp"
#include "tools/tournament/OutputFile.hpp"
#include "tools/tournament/SeededGame.hpp"
#include "tools/tournament/StopSignals.hpp"
#include "tools/tournament/Summary.hpp"
#include "tools/tournament/SvgChart.hpp"
#include "tools/tournament/Sweep.hpp"
#include "tools/tournament/SweepChart.hpp"
#include "tools/tournament/WorkerPool.hpp"

#if QUORVEL_VIDEO
#include "tools/replay/Recorder.hpp"
#include "tools/replay/VideoFile.hpp"
#endif
#if QUORVEL_X11
#include <X11/Xlib.h>
#endif

#include <array>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iomanip>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using G::Failure;
using G::commandLine::Options;

// Every file asked for can be written, before any game is played or frame drawn: a mistyped path costs no
// run.
void checkOutputs(const Options& options) {
    for (const std::string* const path : {&options.csvPath, &options.svgPath, &options.record}) {
        if (!path->empty()) {
            G::outputFile::check(*path);
        }
    }
    // A link and the file it names are one file, and the chart would take the CSV file's place.
    if (!options.csvPath.empty() && !options.svgPath.empty() &&
        G::outputFile::replacesOneFile(options.csvPath, options.svgPath)) {
        throw Failure(2, "--csv and --svg cannot name the same file ('" + options.csvPath + "' and '" +
                             options.svgPath + "')");
    }
}

// Where the summary goes: standard output, unless a file goes there, which then comes alone, ready for the
// next program in a pipe.
std::ostream& summaryStream(const Options& options) {
    const bool taken =
        G::outputFile::isStandardOutput(options.csvPath) || G::outputFile::isStandardOutput(options.svgPath);
    return taken ? std::cerr : std::cout;
}

void watch(const Options& options, const std::uint32_t seed, const char* startedAs) {
    const G::RunDisplay display(G::RunDisplay::Drawing::Window);
    G::assetFolder::enter(startedAs);
    // Ctrl-C and SIGTERM end the watch as they stop the other modes, even where the shell that started it in
    // the background left SIGINT ignored.
    const G::StopSignals stopSignals;
    G::Watch(seed, options.rules).run();
}

#if QUORVEL_VIDEO
#if QUORVEL_X11
// The X server can go before the recorder notices a stop signal (a Ctrl-C at the terminal reaches a server
// started from it as well); Xlib then ends the process on the spot, so the partial video goes here, and the
// tool's own display if it has one.
int lostDisplay(Display* /*display*/) {
    G::VideoFile::removeUnfinished();
    G::VirtualDisplay::endNow();
    const bool stopped = G::StopSignals::stopped();
    std::cerr << "quorvel-tournament: stopped, no file written: "
              << (stopped ? "interrupted" : "the X display went away") << "\n";
    _exit(stopped ? 130 : 1);
}
#endif

void record(const Options& options, const std::uint32_t seed, char** argv) {
    checkOutputs(options);
    // The file is named from where the tool was started, before it enters the assets' folder.
    std::string path = options.record;
    if (path.front() != '/') {
        std::array<char, PATH_MAX> here{};
        if (getcwd(here.data(), here.size()) == nullptr) {
            throw Failure(2, "cannot tell the current folder");
        }
        path = std::string(here.data()) + "/" + path;
    }
    G::assetFolder::enter(argv[0]);
    const G::RunDisplay display(G::RunDisplay::Drawing::Unseen);
    // Ctrl-C and SIGTERM end the recording with no file left.
    const G::StopSignals stopSignals;
#if QUORVEL_X11
    XSetIOErrorHandler(lostDisplay);
#endif
    const G::ProgressLine line;
    G::Recorder(seed, options.rules).record(path, [&line](const std::int64_t frames) {
        if (frames % 10 == 0) {
            line.show("frame " + std::to_string(frames), static_cast<std::uint64_t>(frames), "frames");
        }
    });
}
#elif QUORVEL_VIDEO_SWITCHED_OFF
void record(const Options& /*options*/, std::uint32_t /*seed*/, char** /*argv*/) {
    throw Failure(2, "this build has no video recording: it was switched off when the build was configured "
                     "(-DQUORVEL_VIDEO=OFF)");
}
#else
void record(const Options& /*options*/, std::uint32_t /*seed*/, char** /*argv*/) {
    throw Failure(2, "this build has no video recording: it was built without FFmpeg's development files "
                     "(libavcodec, libavformat, libswscale and libavutil; on Debian libavcodec-dev libavformat-dev "
                     "libswscale-dev libavutil-dev)");
}
#endif

// Plays every seed of every tournament on the workers, with a progress line, and says how fast it went.
std::vector<std::vector<G::SeededGame::Result>> play(const std::vector<G::GameRules>& tournaments,
                                                     const unsigned jobs) {
    // Ctrl-C and SIGTERM end every worker and leave no file.
    const G::StopSignals stopSignals;
    const std::uint64_t count = G::workerPool::gamesIn(tournaments);
    const unsigned workers = jobs == 0 ? G::workerPool::cores() : jobs;
    std::vector<std::vector<G::SeededGame::Result>> games;
    double seconds = 0.0;
    {
        const G::ProgressLine line;
        const auto progress = [&](const std::uint64_t done) {
            if (done % 10 == 0 || done == count) {
                line.show("game " + std::to_string(done) + " of " + std::to_string(count), done, "games");
            }
        };
        games = G::workerPool::play(tournaments, workers, progress);
        seconds = line.seconds();
    }
    std::cerr << "Speed: " << std::fixed << std::setprecision(1) << static_cast<double>(count) / seconds
              << " games per second with " << workers << (workers == 1 ? " job" : " jobs") << "\n";
    return games;
}

// A sweep's or a map's table, with a row per start, and its CSV file and chart where asked for: from the
// games played here, or from those of its shards.
void report(const Options& options, const G::Sweep& sweep, const std::vector<std::vector<G::SeededGame::Result>>& games,
            const std::vector<G::GameRules>& tournaments) {
    std::vector<G::Summary> summaries;
    summaries.reserve(tournaments.size());
    for (std::size_t t = 0; t < tournaments.size(); ++t) {
        summaries.emplace_back(games[t], tournaments[t]);
    }
    if (!options.csvPath.empty()) {
        G::outputFile::write(options.csvPath, G::gameCsv::write(games, tournaments));
    }
    if (!options.svgPath.empty()) {
        G::outputFile::write(options.svgPath, sweep.isMap() ? G::mapChart::render(sweep, summaries)
                                                            : G::sweepChart::render(sweep, summaries));
    }
    summaryStream(options) << sweep.table(summaries);
}

// The same seeds from every start of the sweep or the map.
void sweep(const Options& options, const G::Sweep& sweep) {
    checkOutputs(options);
    const G::RunDisplay display(G::RunDisplay::Drawing::Unseen);
    std::vector<G::GameRules> tournaments;
    tournaments.reserve(sweep.starts().size());
    for (const G::Start& start : sweep.starts()) {
        tournaments.push_back(options.rules);
        tournaments.back().start = start;
    }
    report(options, sweep, play(tournaments, options.jobs), tournaments);
}

// The shards of a sweep or a map, merged: the one that their starts tell. Its chart replays no game, so
// neither a display nor glibc's rand() is needed.
void mergedSweep(const Options& options, const G::gameCsv::Merged& merged) {
    std::vector<G::Start> starts;
    starts.reserve(merged.rules.size());
    for (const G::GameRules& rules : merged.rules) {
        starts.push_back(rules.start);
    }
    const G::Sweep sweep = G::Sweep::of(starts);
    const std::string what = sweep.isMap() ? "map" : "sweep";
    if (options.chartSeed) {
        throw Failure(2,
                      "--chart-seed has no game to follow in a " + what + "'s chart, and these files hold a " + what);
    }
    if (const std::string why = sweep.whyNoChart(); !options.svgPath.empty() && !why.empty()) {
        throw Failure(2, why);
    }
    report(options, sweep, merged.games, merged.rules);
}

void tournament(const Options& options) {
    checkOutputs(options);
    G::GameRules rules = options.rules;
    std::vector<G::SeededGame::Result> games;
    if (!options.merge.empty()) {
        G::gameCsv::Merged merged = G::gameCsv::merge(options.merge);
        if (merged.rules.size() > 1) {
            mergedSweep(options, merged);
            return;
        }
        games = std::move(merged.games.front());
        rules = merged.rules.front();
        // The chart replays its game here, which would be another game than the rows' under another rand().
        if (!options.svgPath.empty() && rules.generator != options.rules.generator) {
            throw Failure(2, "--svg cannot chart these games here: they were played with " +
                                 G::libraryRand::described(rules.generator) + ", this tool plays with " +
                                 G::libraryRand::described(options.rules.generator));
        }
    }
    // The games need the graphics library's context, and so does the chart's replay of one game; a merge
    // without a chart needs neither, and runs on a machine with no X server at all. The display comes after
    // everything that can refuse the run without one.
    std::optional<G::RunDisplay> display;
    if (options.merge.empty() || !options.svgPath.empty()) {
        display.emplace(G::RunDisplay::Drawing::Unseen);
    }
    if (options.merge.empty()) {
        games = std::move(play({rules}, options.jobs).front());
    }

    const G::Summary summary(games, rules);
    if (!options.csvPath.empty()) {
        G::outputFile::write(options.csvPath, G::gameCsv::write(games, rules));
    }
    if (!options.svgPath.empty()) {
        const std::uint32_t chartSeed = options.chartSeed.value_or(rules.firstSeed);
        G::SeededGame game(std::make_shared<G::Tool>(), chartSeed, rules);
        std::vector<G::SeededGame::Counts> timeline;
        game.playToTheEnd(&timeline);
        G::outputFile::write(options.svgPath, G::svgChart::render(timeline, chartSeed, games, summary, rules));
    }
    summaryStream(options) << summary.table();
}

} // namespace

int main(int argc, char** argv) {
    try {
        G::commandLine::Request request = G::commandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
        if (request.help || request.version) {
            std::cout << (request.help ? G::commandLine::usage() : G::commandLine::version());
            return 0;
        }
        request.options.rules.generator = G::libraryRand::here();
        const Options& options = request.options;
        if (options.watch && !options.record.empty()) {
            record(options, *options.watch, argv);
        } else if (options.watch) {
            watch(options, *options.watch, argv[0]);
        } else if (options.sweep) {
            sweep(options, *options.sweep);
        } else {
            tournament(options);
        }
    } catch (const Failure& failure) {
        std::cerr << "quorvel-tournament: " << failure.what() << "\n";
        return failure.status();
    } catch (const std::bad_alloc&) {
        std::cerr << "quorvel-tournament: out of memory\n";
        return 1;
    } catch (const std::exception& error) {
        // What the tool's own parts do not foresee still ends in one line and the status of a failed run.
        std::cerr << "quorvel-tournament: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
