#include "tools/tournament/WorkerPool.hpp"

#include "tools/tournament/Failure.hpp"
#include "tools/tournament/StopSignals.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace G::workerPool {

namespace {

std::uint64_t sizeOf(const GameRules& rules) {
    return static_cast<std::uint64_t>(rules.lastSeed) - rules.firstSeed + 1;
}

// Every game of every tournament in one sequence: the games of the first tournament by seed, then the
// second's, and so on. Worker w of n plays the games w, w + n, w + 2n, … of it.
class Schedule {
public:
    explicit Schedule(const std::vector<GameRules>& tournaments)
        : tournaments(tournaments), total(gamesIn(tournaments)) {
        std::uint64_t games = 0;
        for (const GameRules& rules : tournaments) {
            games += sizeOf(rules);
            ends.push_back(games);
        }
    }

    std::uint64_t games() const { return total; }

    // The tournament and the seed of the game at that place in the sequence. A map may hold millions of
    // tournaments of one game each, so the tournament is searched for, not counted up to.
    std::pair<std::size_t, std::uint32_t> at(const std::uint64_t place) const {
        const auto t = static_cast<std::size_t>(std::upper_bound(ends.begin(), ends.end(), place) - ends.begin());
        const std::uint64_t begins = t == 0 ? 0 : ends[t - 1];
        return {t, static_cast<std::uint32_t>(tournaments[t].firstSeed + (place - begins))};
    }

    const GameRules& rules(const std::size_t t) const { return tournaments[t]; }

private:
    const std::vector<GameRules>& tournaments;
    std::uint64_t total;
    // Where each tournament's games end in the sequence.
    std::vector<std::uint64_t> ends;
};

bool writeAll(const int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// A worker: plays its games and writes one line per game to the pipe: tournament, seed, winner and frames.
[[noreturn]] void work(const Schedule& schedule, const unsigned worker, const unsigned jobs, const int out) {
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    // Nothing may unwind out of here into the frames of the tool that forked this process: they hold its
    // display and its progress line.
    try {
        const auto tool = std::make_shared<Tool>();
        for (std::uint64_t place = worker; place < schedule.games(); place += jobs) {
            const auto [t, seed] = schedule.at(place);
            SeededGame game(tool, seed, schedule.rules(t));
            game.playToTheEnd();
            const SeededGame::Result result = game.result();
            const std::string line = std::to_string(t) + " " + std::to_string(result.seed) + " " +
                                     nameOf(result.winner) + " " + std::to_string(result.frames) + "\n";
            if (!writeAll(out, line)) {
                _exit(3);
            }
        }
    } catch (const std::exception& error) {
        writeAll(STDERR_FILENO, std::string("quorvel-tournament: a worker failed: ") + error.what() + "\n");
        _exit(1);
    } catch (...) {
        _exit(1);
    }
    _exit(0);
}

struct Worker {
    pid_t pid = -1;
    int in = -1;
    std::string pending;
};

void endAll(std::vector<Worker>& workers) {
    for (const Worker& worker : workers) {
        if (worker.pid > 0) {
            kill(worker.pid, SIGTERM);
        }
    }
}

// What became of a worker that has ended, or "" when it finished normally.
std::string fateOf(const int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status) == 0 ? "" : "ended with status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return std::string("was killed by signal ") + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    }
    return "ended abnormally";
}

// Waits for the worker to end, and tells what became of it.
std::string reap(Worker& worker) {
    if (worker.pid <= 0) {
        return "";
    }
    int status = 0;
    while (waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
    }
    worker.pid = -1;
    return fateOf(status);
}

// Starts the workers, each with the read end of its pipe; the reason, if one could not be started.
std::string start(std::vector<Worker>& workers, const Schedule& schedule) {
    const auto jobs = static_cast<unsigned>(workers.size());
    for (unsigned w = 0; w < jobs; ++w) {
        std::array<int, 2> ends{};
        if (pipe(ends.data()) != 0) {
            return std::string("cannot start the workers: ") + std::strerror(errno);
        }
        const pid_t pid = fork();
        if (pid == 0) {
            close(ends[0]);
            for (unsigned other = 0; other < w; ++other) {
                close(workers[other].in);
            }
            work(schedule, w, jobs, ends[1]);
        }
        close(ends[1]);
        if (pid < 0) {
            close(ends[0]);
            return std::string("cannot start the workers: ") + std::strerror(errno);
        }
        workers[w].pid = pid;
        workers[w].in = ends[0];
    }
    return "";
}

// Reads what the worker has written: the complete lines become games, a partial one waits for the rest.
void take(Worker& worker, const char* const data, const std::size_t size,
          std::vector<std::vector<SeededGame::Result>>& games, std::uint64_t& finished, const Progress& progress) {
    worker.pending.append(data, size);
    std::size_t newline = 0;
    while ((newline = worker.pending.find('\n')) != std::string::npos) {
        std::istringstream line(worker.pending.substr(0, newline));
        worker.pending.erase(0, newline + 1);
        std::size_t t = 0;
        SeededGame::Result game{};
        std::string winner;
        line >> t >> game.seed >> winner >> game.frames;
        const std::optional<Winner> named = winnerNamed(winner);
        if (!line || !named || t >= games.size()) {
            // Not counted: a game that cannot be read leaves the run short, which fails it.
            continue;
        }
        game.winner = *named;
        games[t].push_back(game);
        ++finished;
        if (progress) {
            progress(finished);
        }
    }
}

} // namespace

std::uint64_t gamesIn(const std::vector<GameRules>& tournaments) {
    std::uint64_t games = 0;
    for (const GameRules& rules : tournaments) {
        games += sizeOf(rules);
    }
    return games;
}

unsigned cores() {
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<unsigned>(online) : 1U;
}

std::vector<std::vector<SeededGame::Result>> play(const std::vector<GameRules>& tournaments, unsigned jobs,
                                                  const Progress& progress) {
    const Schedule schedule(tournaments);
    const std::uint64_t count = schedule.games();
    jobs = static_cast<unsigned>(std::max<std::uint64_t>(1, std::min<std::uint64_t>(jobs, count)));
    std::vector<std::vector<SeededGame::Result>> games(tournaments.size());
    std::vector<Worker> workers(jobs);
    std::string error = start(workers, schedule);
    if (!error.empty()) {
        endAll(workers);
    }

    // Collect the games as the workers report them, until every pipe is closed.
    std::uint64_t finished = 0;
    std::vector<pollfd> open;
    for (;;) {
        open.clear();
        for (const Worker& worker : workers) {
            if (worker.in >= 0) {
                open.push_back({worker.in, POLLIN, 0});
            }
        }
        if (open.empty()) {
            break;
        }
        if (StopSignals::stopped()) {
            endAll(workers);
        }
        if (poll(open.data(), open.size(), -1) < 0) {
            continue;
        }
        for (Worker& worker : workers) {
            const auto found =
                std::find_if(open.begin(), open.end(), [&worker](const pollfd& p) { return p.fd == worker.in; });
            if (found == open.end() || found->revents == 0) {
                continue;
            }
            std::array<char, 4096> buffer{};
            const ssize_t got = read(worker.in, buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                // The worker has ended: a crash stops the whole run at once.
                close(worker.in);
                worker.in = -1;
                const std::string fate = reap(worker);
                if (!fate.empty() && error.empty() && !StopSignals::stopped()) {
                    const auto number = static_cast<std::size_t>(&worker - workers.data()) + 1;
                    error = "worker " + std::to_string(number) + " of " + std::to_string(jobs) + " " + fate;
                    endAll(workers);
                }
                continue;
            }
            take(worker, buffer.data(), static_cast<std::size_t>(got), games, finished, progress);
        }
    }

    for (Worker& worker : workers) {
        reap(worker);
    }
    if (StopSignals::stopped()) {
        throw Failure(130, "stopped, no file written: interrupted by " + StopSignals::cause());
    }
    if (error.empty() && finished != count) {
        error = "the workers reported " + std::to_string(finished) + " of " + std::to_string(count) + " games";
    }
    if (!error.empty()) {
        throw Failure(1, "stopped, no file written: " + error);
    }
    for (std::vector<SeededGame::Result>& played : games) {
        std::sort(played.begin(), played.end(),
                  [](const SeededGame::Result& a, const SeededGame::Result& b) { return a.seed < b.seed; });
    }
    return games;
}

} // namespace G::workerPool
