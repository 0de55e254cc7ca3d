#include "tools/tournament/StopSignals.hpp"

namespace G {

std::atomic<int> StopSignals::caught{0};

StopSignals::StopSignals() {
    caught = 0;
    struct sigaction action = {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < signals.size(); ++i) {
        sigaction(signals.at(i), &action, &previous.at(i));
    }
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < signals.size(); ++i) {
        sigaction(signals.at(i), &previous.at(i), nullptr);
    }
}

void StopSignals::note(const int signal) {
    caught = signal;
}

std::string StopSignals::cause() {
    switch (caught.load()) {
    case SIGINT:
        return "Ctrl-C";
    case SIGTERM:
        return "SIGTERM";
    default:
        return "";
    }
}

} // namespace G
