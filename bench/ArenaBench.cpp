// Speed of the arena's simulation against the plain reference rules, and of a whole frame against drawing
// alone, in a real 1200 x 800 window. Run it under an X server (see `make bench`).
#include "arena/GameState.hpp"
#include "arena/Item.hpp"
#include "tests/Arena.hpp"
#include "tests/ReferenceRules.hpp"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// A frozen layout: every piece's kind, position and velocity, list by list.
struct Snapshot {
    struct Piece {
        G::ItemKind kind;
        sf::Vector2f position;
        sf::Vector2f velocity;
    };
    std::vector<Piece> rocks;
    std::vector<Piece> papers;
    std::vector<Piece> scissors;

    static std::vector<Piece> take(const std::vector<G::Item>& items) {
        std::vector<Piece> pieces;
        pieces.reserve(items.size());
        for (const G::Item& item : items) {
            pieces.push_back({item.kind, item.getPosition(), item.velocity});
        }
        return pieces;
    }

    static Snapshot of(const G::GameState& state) {
        return {take(state.rocks), take(state.papers), take(state.scissors)};
    }

    static void put(const std::shared_ptr<G::Tool>& tool, const std::vector<Piece>& pieces,
                    std::vector<G::Item>& items) {
        items.clear();
        for (const Piece& piece : pieces) {
            test::place(tool, items, piece.kind, piece.position.x, piece.position.y).velocity = piece.velocity;
        }
    }

    void restore(G::GameState& state) const {
        put(state.tool, rocks, state.rocks);
        put(state.tool, papers, state.papers);
        put(state.tool, scissors, state.scissors);
    }
};

// How many pieces of each kind are spawned, from the same seed every time, and whether ten seconds of play at
// 60 frames a second follow, by which clusters have formed and converted.
struct Layout {
    std::int32_t rocks;
    std::int32_t papers;
    std::int32_t scissors;
    bool midGame;
};

Snapshot layoutOf(const Layout& layout) {
    test::Arena arena;
    std::srand(2026);
    arena.state.spawn(layout.rocks, layout.papers, layout.scissors);
    arena.tool->frameTime = 1.0F / 60.0F;
    for (int frame = 0; layout.midGame && frame < 600; ++frame) {
        arena.state.update();
    }
    return Snapshot::of(arena.state);
}

using Step = std::function<void(G::GameState&)>;

void shippedUpdate(G::GameState& state) {
    state.update();
}

void referenceUpdate(G::GameState& state) {
    test::ReferenceRules::update(state);
}

void shippedPairing(G::GameState& state) {
    state.hunt(state.rocks, state.scissors);
}

void referencePairing(G::GameState& state) {
    test::ReferenceRules::hunt(state, state.rocks, state.scissors);
}

// Times one step from the same layout every iteration; restoring the layout is not timed.
void run(benchmark::State& bench, const Layout& layout, const Step& step) {
    const Snapshot snapshot = layoutOf(layout);
    test::Arena arena;
    arena.tool->frameTime = 1.0F / 60.0F;
    for (auto _ : bench) {
        bench.PauseTiming();
        snapshot.restore(arena.state);
        std::srand(7);
        bench.ResumeTiming();
        step(arena.state);
    }
    bench.counters["pieces"] =
        static_cast<double>(snapshot.rocks.size() + snapshot.papers.size() + snapshot.scissors.size());
}

// Registers the given steps on the same layout, one after the other.
void registerSteps(const std::string& family, const std::string& name, const Layout& layout,
                   const std::vector<std::pair<const char*, Step>>& steps) {
    for (const auto& [who, step] : steps) {
        std::string fullName = family;
        fullName.append("/").append(who).append("/").append(name);
        // NOLINTNEXTLINE(readability-redundant-string-cstr): Google Benchmark before 1.8, Debian 12's, takes a C string
        benchmark::RegisterBenchmark(fullName.c_str(), [layout, step = step](benchmark::State& bench) {
            run(bench, layout, step);
        })->Unit(benchmark::kMicrosecond);
    }
}

void registerPair(const std::string& family, const std::string& name, const Layout& layout, const Step& shipped,
                  const Step& reference) {
    registerSteps(family, name, layout, {{"Shipped", shipped}, {"Reference", reference}});
}

void registerSteps() {
    registerPair("Update", "Start150", {50, 50, 50, false}, shippedUpdate, referenceUpdate);
    registerPair("Update", "Restart300", {100, 100, 100, false}, shippedUpdate, referenceUpdate);
    registerPair("Update", "MidGame300", {100, 100, 100, true}, shippedUpdate, referenceUpdate);
    registerPair("Update", "Even900", {300, 300, 300, false}, shippedUpdate, referenceUpdate);
    registerPair("Update", "MidGame900", {300, 300, 300, true}, shippedUpdate, referenceUpdate);
    registerPair("Update", "Even3000", {1000, 1000, 1000, false}, shippedUpdate, referenceUpdate);
    registerPair("Update", "MidGame3000", {1000, 1000, 1000, true}, shippedUpdate, referenceUpdate);
    registerPair("Pairing", "Even300", {100, 100, 100, false}, shippedPairing, referencePairing);
    registerPair("Pairing", "Even1000", {334, 333, 333, false}, shippedPairing, referencePairing);
    registerPair("Pairing", "Even3000", {1000, 1000, 1000, false}, shippedPairing, referencePairing);
}

// A real window with the real assets and 300 pieces, as after R.
class WindowFrame {
public:
    WindowFrame() {
        test::openWindow(*tool);
        state.init();
        state.restart();
        tool->frameTime = 1.0F / 60.0F;
        snapshot = Snapshot::of(state);
    }

    std::shared_ptr<G::Tool> tool = std::make_shared<G::Tool>();
    G::GameState state{tool};
    Snapshot snapshot;
};

// Whole games from the 150-piece start, seeds 1 to 100, as quorvel-tournament plays them: the pieces spawned
// after srand(seed), a 60th of a second a frame, undecided after 20,000 frames. Built on both core libraries,
// which run-bench runs in turn, it gives the games a second with the AVX2 scans and without them.
void gamesFromStart150(benchmark::State& bench) {
    constexpr unsigned games = 100;
    constexpr int mostFrames = 20000;
    test::Arena arena;
    arena.tool->frameTime = 1.0F / 60.0F;
    for (auto _ : bench) {
        for (unsigned seed = 1; seed <= games; ++seed) {
            arena.state.rocks.clear();
            arena.state.papers.clear();
            arena.state.scissors.clear();
            std::srand(seed);
            arena.state.spawn(50, 50, 50);
            for (int frame = 0; frame < mostFrames && !arena.state.winner(); ++frame) {
                arena.state.update();
            }
        }
    }
    bench.counters["games_per_s"] = benchmark::Counter(
        static_cast<double>(games) * static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
}

// Full frames and render-only frames in turn, each timed on its own, so that both meet the same load on
// the machine (the X server shares it), and in alternating order, since whichever frame comes second
// finds the server less busy. A render-only frame is a frame without its update: it still polls the
// window, which waits on the X server much as drawing does. The ratio of the two totals is what the
// simulation adds to a frame.
void fullAgainstRenderOnly(benchmark::State& bench) {
    using Clock = std::chrono::steady_clock;
    WindowFrame frame;
    Clock::duration full{};
    Clock::duration renderOnly{};
    const auto timeFull = [&frame, &full] {
        const Clock::time_point start = Clock::now();
        frame.state.handleInput();
        frame.state.update();
        frame.state.draw();
        full += Clock::now() - start;
    };
    const auto timeRenderOnly = [&frame, &renderOnly] {
        const Clock::time_point start = Clock::now();
        frame.state.handleInput();
        frame.state.draw();
        renderOnly += Clock::now() - start;
    };
    int sinceRestore = 0;
    bool fullFirst = true;
    for (auto _ : bench) {
        if (++sinceRestore == 120) {
            bench.PauseTiming();
            frame.snapshot.restore(frame.state);
            sinceRestore = 0;
            bench.ResumeTiming();
        }
        if (fullFirst) {
            timeFull();
            timeRenderOnly();
        } else {
            timeRenderOnly();
            timeFull();
        }
        fullFirst = !fullFirst;
    }
    const auto micros = [&bench](const Clock::duration total) {
        return std::chrono::duration<double, std::micro>(total).count() / static_cast<double>(bench.iterations());
    };
    bench.counters["full_us"] = micros(full);
    bench.counters["render_us"] = micros(renderOnly);
    bench.counters["ratio"] = micros(full) / micros(renderOnly);
}

} // namespace

int main(int argc, char** argv) {
    registerSteps();
    benchmark::RegisterBenchmark("Games/Shipped/Start150", gamesFromStart150)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Frame/FullAgainstRenderOnly300", fullAgainstRenderOnly)
        ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
