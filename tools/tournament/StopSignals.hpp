#pragma once

#include <array>
#include <atomic>
#include <csignal>
#include <string>

namespace G {

// SIGINT and SIGTERM, the signals that stop a run, caught for as long as the object lives (and the earlier
// handlers put back after). The handler only notes which signal came, in one atomic flag, and the main
// thread looks at it between units of work. Threads that the tool starts run with both signals blocked
// (BlockedStopSignals), so that the main thread is the one that receives them.
class StopSignals {
public:
    static constexpr std::array<int, 2> signals{SIGINT, SIGTERM};

    StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
    StopSignals(StopSignals&&) = delete;
    StopSignals& operator=(StopSignals&&) = delete;
    ~StopSignals();

    // Whether a stop signal came since the latest StopSignals was made: the flag is the process's one.
    static bool stopped() { return caught.load() != 0; }
    // What stopped the run, as a user names it: "Ctrl-C" for SIGINT, "SIGTERM" for SIGTERM; empty while
    // nothing has.
    static std::string cause();

private:
    static void note(int signal);

    static std::atomic<int> caught;
    static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only touch a lock-free atomic");
    std::array<struct sigaction, 2> previous{};
};

} // namespace G
