#include "tools/tournament/StopSignals.hpp"

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(StopSignals, NoteWhichSignalCameAndPutTheEarlierHandlersBack) {
    for (const auto& [signal, cause] : {std::pair{SIGINT, "Ctrl-C"}, std::pair{SIGTERM, "SIGTERM"}}) {
        const G::StopSignals stop;
        EXPECT_FALSE(stop.stopped());
        std::raise(signal);
        EXPECT_TRUE(stop.stopped());
        EXPECT_EQ(stop.cause(), cause);
    }
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL) << "the handler outlived the object";
}

} // namespace
