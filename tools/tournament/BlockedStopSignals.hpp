#pragma once

#include <csignal>

namespace G {

// While one of these lives, the calling thread has the stop signals (SIGINT and SIGTERM) blocked, and so has
// every thread started from it meanwhile, which inherits its mask; the caller's mask is put back after. Code
// that starts threads, directly or through a library, runs under one, so that the stop signals reach the
// main thread, where StopSignals notes them.
class BlockedStopSignals {
public:
    BlockedStopSignals();
    BlockedStopSignals(const BlockedStopSignals&) = delete;
    BlockedStopSignals& operator=(const BlockedStopSignals&) = delete;
    BlockedStopSignals(BlockedStopSignals&&) = delete;
    BlockedStopSignals& operator=(BlockedStopSignals&&) = delete;
    ~BlockedStopSignals();

private:
    sigset_t previous{};
};

} // namespace G
