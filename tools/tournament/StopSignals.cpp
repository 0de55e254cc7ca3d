#include "tools/tournament/StopSignals.hpp"

#include <pthread.h>

namespace G {

namespace {

constexpr std::array<int, 2> stopSignals{SIGINT, SIGTERM};

sigset_t stopSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : stopSignals) {
        sigaddset(&set, signal);
    }
    return set;
}

} // namespace

std::atomic<int> StopSignals::caught{0};

StopSignals::StopSignals() {
    caught = 0;
    struct sigaction action {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < stopSignals.size(); ++i) {
        sigaction(stopSignals.at(i), &action, &previous.at(i));
    }
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < stopSignals.size(); ++i) {
        sigaction(stopSignals.at(i), &previous.at(i), nullptr);
    }
}

void StopSignals::note(const int signal) {
    caught = signal;
}

std::string StopSignals::cause() const {
    return caught.load() == SIGINT ? "Ctrl-C" : "SIGTERM";
}

StopSignals::ThreadsStartedBlocked::ThreadsStartedBlocked() {
    const sigset_t set = stopSet();
    pthread_sigmask(SIG_BLOCK, &set, &previous);
}

StopSignals::ThreadsStartedBlocked::~ThreadsStartedBlocked() {
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

} // namespace G
