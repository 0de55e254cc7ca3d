#include "tools/tournament/WorkerPool.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace G {

namespace {

volatile std::sig_atomic_t interruptedBy = 0;

extern "C" void noteInterrupt(const int signal) {
    interruptedBy = signal;
}

// Installs the interrupt handlers for the life of the object, and puts the earlier ones back after.
class InterruptGuard {
public:
    InterruptGuard() {
        interruptedBy = 0;
        struct sigaction action {};
        action.sa_handler = noteInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previousInt);
        sigaction(SIGTERM, &action, &previousTerm);
    }
    ~InterruptGuard() {
        sigaction(SIGINT, &previousInt, nullptr);
        sigaction(SIGTERM, &previousTerm, nullptr);
    }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
    InterruptGuard(InterruptGuard&&) = delete;
    InterruptGuard& operator=(InterruptGuard&&) = delete;

private:
    struct sigaction previousInt {};
    struct sigaction previousTerm {};
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

// A worker: plays seeds first + worker, first + worker + jobs, … and writes one line per game to the pipe.
[[noreturn]] void work(const GameRules& rules, const unsigned worker, const unsigned jobs, const int out) {
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    const Tournament tournament(std::make_shared<Tool>());
    for (std::uint64_t seed = static_cast<std::uint64_t>(rules.firstSeed) + worker; seed <= rules.lastSeed;
         seed += jobs) {
        const Tournament::Game game = tournament.play(static_cast<std::uint32_t>(seed), rules);
        const std::string line =
            std::to_string(game.seed) + " " + nameOf(game.winner) + " " + std::to_string(game.frames) + "\n";
        if (!writeAll(out, line)) {
            _exit(3);
        }
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

} // namespace

unsigned WorkerPool::cores() {
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<unsigned>(online) : 1U;
}

WorkerPool::Result WorkerPool::play(const GameRules& rules, unsigned jobs, const Progress& progress) {
    const std::uint64_t count = static_cast<std::uint64_t>(rules.lastSeed) - rules.firstSeed + 1;
    jobs = static_cast<unsigned>(std::max<std::uint64_t>(1, std::min<std::uint64_t>(jobs, count)));
    const InterruptGuard guard;
    Result result;
    std::vector<Worker> workers(jobs);
    for (unsigned w = 0; w < jobs; ++w) {
        std::array<int, 2> ends{};
        if (pipe(ends.data()) != 0) {
            result.error = std::string("cannot start the workers: ") + std::strerror(errno);
            endAll(workers);
            break;
        }
        const pid_t pid = fork();
        if (pid == 0) {
            close(ends[0]);
            for (unsigned other = 0; other < w; ++other) {
                close(workers[other].in);
            }
            work(rules, w, jobs, ends[1]);
        }
        close(ends[1]);
        if (pid < 0) {
            close(ends[0]);
            result.error = std::string("cannot start the workers: ") + std::strerror(errno);
            endAll(workers);
            break;
        }
        workers[w].pid = pid;
        workers[w].in = ends[0];
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
        if (interruptedBy != 0) {
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
                if (!fate.empty() && result.error.empty() && interruptedBy == 0) {
                    const auto number = static_cast<std::size_t>(&worker - workers.data()) + 1;
                    result.error = "worker " + std::to_string(number) + " of " + std::to_string(jobs) + " " + fate;
                    endAll(workers);
                }
                continue;
            }
            worker.pending.append(buffer.data(), static_cast<std::size_t>(got));
            std::size_t newline = 0;
            while ((newline = worker.pending.find('\n')) != std::string::npos) {
                std::istringstream line(worker.pending.substr(0, newline));
                worker.pending.erase(0, newline + 1);
                Tournament::Game game{};
                std::string winner;
                line >> game.seed >> winner >> game.frames;
                const std::optional<Winner> named = winnerNamed(winner);
                if (!line || !named) {
                    // Not counted: a game that cannot be read leaves the run short, which fails it.
                    continue;
                }
                game.winner = *named;
                result.games.push_back(game);
                ++finished;
                if (progress) {
                    progress(finished);
                }
            }
        }
    }

    for (Worker& worker : workers) {
        reap(worker);
    }
    if (interruptedBy != 0) {
        result.interrupted = true;
        result.error = std::string("interrupted by ") + (interruptedBy == SIGINT ? "Ctrl-C" : "SIGTERM");
    } else if (result.error.empty() && result.games.size() != count) {
        result.error =
            "the workers reported " + std::to_string(result.games.size()) + " of " + std::to_string(count) + " games";
    }
    if (!result.error.empty()) {
        result.games.clear();
        return result;
    }
    std::sort(result.games.begin(), result.games.end(),
              [](const Tournament::Game& a, const Tournament::Game& b) { return a.seed < b.seed; });
    return result;
}

} // namespace G
