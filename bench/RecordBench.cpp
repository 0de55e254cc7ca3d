// Frames per second of quorvel-tournament --record: one game from the 300-piece start (seed 1, 231 frames and
// two seconds of banner) written to MP4 with the default settings, against the real-time rate of 60 frames a
// second; and, beside it, the same frames only drawn and read back, without conversion or encoding, which
// shows how much of the time the encoder takes. Run it under an X server, from the project's folder.
#include "tools/replay/Recorder.hpp"
#include "tools/tournament/Failure.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

G::GameRules startOf300() {
    G::GameRules rules;
    rules.start = G::Start::equal(100);
    return rules;
}

void recordToMp4(benchmark::State& bench) {
    const std::string path = "/tmp/quorvel-record-bench-" + std::to_string(getpid()) + ".mp4";
    std::int64_t frames = 0;
    for (auto _ : bench) {
        try {
            G::Recorder(1, startOf300()).record(path, [&frames](const std::int64_t written) { frames = written; });
        } catch (const G::Failure& failure) {
            bench.SkipWithError(failure.what());
        }
    }
    std::remove(path.c_str());
    bench.counters["frames"] = static_cast<double>(frames);
    bench.counters["frames_per_s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    bench.counters["times_real_time"] =
        benchmark::Counter(static_cast<double>(frames) / 60.0, benchmark::Counter::kIsRate);
}

// The recorder's own drawing and read-back, frame for frame, with nothing encoded.
void drawAndReadBack(benchmark::State& bench) {
    // Made once, outside the timing: the offscreen texture and the driver's probes are no frame's work.
    G::Recorder recorder(1, startOf300());
    std::int64_t frames = 0;
    for (auto _ : bench) {
        recorder.play([&frames](const sf::Image& shot) {
            benchmark::DoNotOptimize(shot.getPixelsPtr());
            ++frames;
        });
    }
    bench.counters["frames_per_s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

BENCHMARK(recordToMp4)->Name("Record/Mp4Start300")->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(drawAndReadBack)->Name("Record/DrawAndReadBackOnly")->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
