#include "tools/replay/VideoFile.hpp"

#include "tests/TempPath.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// The threads of this process, by id.
std::set<std::string> threads() {
    std::set<std::string> ids;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        ids.insert(entry.path().filename().string());
    }
    return ids;
}

// The thread's blocked signals, as /proc shows them.
std::uint64_t maskOf(const std::string& thread) {
    std::ifstream status("/proc/self/task/" + thread + "/status");
    std::string field;
    while (status >> field) {
        if (field == "SigBlk:") {
            status >> field;
            return std::stoull(field, nullptr, 16);
        }
    }
    return 0;
}

// The thread's blocked signals once it runs code of its own: the C library starts a thread with every signal
// blocked and only then puts the mask it inherited in place.
std::uint64_t blockedIn(const std::string& thread) {
    const auto starting = [](const std::uint64_t mask) { return __builtin_popcountll(mask) > 32; };
    for (int tries = 0; tries < 500 && starting(maskOf(thread)); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return maskOf(thread);
}

TEST(VideoFile, TheEncodersThreadsLeaveTheStopSignalsToTheMainThread) {
    const std::set<std::string> before = threads();
    const std::string path = test::tempPath("threads.mp4");
    {
        const auto video = G::VideoFile::open(path, 64, 64, 1.0F / 60.0F, {});
        const std::set<std::string> during = threads();
        ASSERT_GT(during.size(), before.size()) << "the encoder started no thread";
        constexpr std::uint64_t stopSignals = (1ULL << (SIGINT - 1)) | (1ULL << (SIGTERM - 1));
        for (const std::string& thread : during) {
            if (before.count(thread) == 0) {
                EXPECT_EQ(blockedIn(thread) & stopSignals, stopSignals) << "thread " << thread;
            }
        }
        EXPECT_EQ(blockedIn(std::to_string(getpid())) & stopSignals, 0U) << "the main thread's mask was not put back";
    }
    EXPECT_FALSE(std::filesystem::exists(path)) << "an unfinished video was left";
}

} // namespace
