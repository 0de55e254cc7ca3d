#include "tools/tournament/BlockedStopSignals.hpp"

#include "tools/tournament/StopSignals.hpp"

#include <pthread.h>

namespace G {

BlockedStopSignals::BlockedStopSignals() {
    sigset_t stop;
    sigemptyset(&stop);
    for (const int signal : StopSignals::signals) {
        sigaddset(&stop, signal);
    }
    pthread_sigmask(SIG_BLOCK, &stop, &previous);
}

BlockedStopSignals::~BlockedStopSignals() {
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

} // namespace G
