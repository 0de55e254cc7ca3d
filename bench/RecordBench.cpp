// Frames per second of quorvel-tournament --record: one game from the 300-piece start (seed 1, 231 frames and
// two seconds of banner) written to MP4 with the default settings, against the real-time rate of 60 frames a
// second; and, beside it, the same frames only drawn and read back, without conversion or encoding, which
// shows how much of the time the encoder takes. Run it under an X server, from the project's folder.
#include "arena/GameState.hpp"
#include "engine/Sfml.hpp"
#include "tools/tournament/Recorder.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

G::GameRules startOf300() {
    G::GameRules rules;
    rules.startEach = 100;
    return rules;
}

void recordToMp4(benchmark::State& bench) {
    const std::string path = "/tmp/quorvel-record-bench-" + std::to_string(getpid()) + ".mp4";
    const volatile std::sig_atomic_t never = 0;
    std::int64_t frames = 0;
    for (auto _ : bench) {
        std::string error;
        const auto count = [&frames](const std::int64_t written) { frames = written; };
        if (G::Recorder::record(1, startOf300(), path, never, count, error) != 0) {
            bench.SkipWithError(error.c_str());
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
    const auto tool = std::make_shared<G::Tool>();
    tool->window.create(G::sfml::videoMode(1200, 800, 32), "QUORVEL", sf::Style::Titlebar | sf::Style::Close);
    tool->window.setVisible(false);
    G::GameState state(tool);
    state.loadAssets();
    tool->frameTime = 1.0F / 60.0F;
    sf::Texture texture;
    G::sfml::resize(texture, 1200, 800);
    std::int64_t frames = 0;
    for (auto _ : bench) {
        state.rocks.clear();
        state.papers.clear();
        state.scissors.clear();
        std::srand(1);
        state.spawn(100, 100, 100);
        std::int64_t played = 0;
        do {
            state.draw();
            texture.update(tool->window);
            benchmark::DoNotOptimize(texture.copyToImage());
            state.update();
            ++frames;
        } while (++played < 20000 && state.winnerName().empty());
    }
    bench.counters["frames_per_s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

BENCHMARK(recordToMp4)->Name("Record/Mp4Start300")->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(drawAndReadBack)->Name("Record/DrawAndReadBackOnly")->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
