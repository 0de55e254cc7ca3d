#include "tools/tournament/StopSignals.hpp"

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(StopSignals, NoteWhichSignalCameAndPutTheEarlierHandlersBack) {
    for (const auto& [signal, cause] : {std::pair{SIGINT, "Ctrl-C"}, std::pair{SIGTERM, "SIGTERM"}}) {
        const G::StopSignals stop;
        EXPECT_FALSE(G::StopSignals::stopped());
        std::raise(signal);
        EXPECT_TRUE(G::StopSignals::stopped());
        EXPECT_EQ(G::StopSignals::cause(), cause);
    }
    struct sigaction now = {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL) << "the handler outlived the object";
}

} // namespace
