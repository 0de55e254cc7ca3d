// Speed of the arena's simulation against the plain reference rules, and of a whole frame against drawing
// alone, in a real 1200 x 800 window. Run it under an X server (see `make bench`).
#include "arena/GameState.hpp"
#include "arena/Item.hpp"
#include "tests/Arena.hpp"
#include "tests/ReferenceRules.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>
#include <memory>
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

enum class Layout { Start150, Restart300, MidGame300, Even1000, Even3000 };

Snapshot layoutOf(const Layout layout) {
    test::Arena arena;
    std::srand(2026);
    switch (layout) {
    case Layout::Start150:
        arena.state.spawn(50, 50, 50);
        break;
    case Layout::Restart300:
        arena.state.restart();
        break;
    case Layout::MidGame300:
        // Ten seconds into a 300-piece game at 60 frames a second: clusters have formed and converted.
        arena.state.restart();
        arena.tool->frameTime = 1.0F / 60.0F;
        for (int frame = 0; frame < 600; ++frame) {
            arena.state.update();
        }
        break;
    case Layout::Even1000:
        arena.state.spawn(334, 333, 333);
        break;
    case Layout::Even3000:
        arena.state.spawn(1000, 1000, 1000);
        break;
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
void run(benchmark::State& bench, const Layout layout, const Step& step) {
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

void registerSteps() {
    struct Case {
        const char* name;
        Layout layout;
    };
    const Case updates[] = {{"Start150", Layout::Start150},
                            {"Restart300", Layout::Restart300},
                            {"MidGame300", Layout::MidGame300},
                            {"Even3000", Layout::Even3000}};
    for (const Case& c : updates) {
        benchmark::RegisterBenchmark((std::string("Update/Shipped/") + c.name).c_str(), [c](benchmark::State& s) {
            run(s, c.layout, shippedUpdate);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("Update/Reference/") + c.name).c_str(), [c](benchmark::State& s) {
            run(s, c.layout, referenceUpdate);
        })->Unit(benchmark::kMicrosecond);
    }
    const Case pairings[] = {
        {"Even300", Layout::Restart300}, {"Even1000", Layout::Even1000}, {"Even3000", Layout::Even3000}};
    for (const Case& c : pairings) {
        benchmark::RegisterBenchmark((std::string("Pairing/Shipped/") + c.name).c_str(), [c](benchmark::State& s) {
            run(s, c.layout, shippedPairing);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("Pairing/Reference/") + c.name).c_str(), [c](benchmark::State& s) {
            run(s, c.layout, referencePairing);
        })->Unit(benchmark::kMicrosecond);
    }
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

void fullFrame(benchmark::State& bench) {
    WindowFrame frame;
    int sinceRestore = 0;
    for (auto _ : bench) {
        // A game left to run would end and leave nothing to chase; every 120 frames it starts over.
        if (++sinceRestore == 120) {
            bench.PauseTiming();
            frame.snapshot.restore(frame.state);
            sinceRestore = 0;
            bench.ResumeTiming();
        }
        frame.state.handleInput();
        frame.state.update();
        frame.state.draw();
    }
}

void renderOnlyFrame(benchmark::State& bench) {
    WindowFrame frame;
    for (auto _ : bench) {
        frame.state.draw();
    }
}

} // namespace

int main(int argc, char** argv) {
    registerSteps();
    benchmark::RegisterBenchmark("Frame/Full300", fullFrame)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Frame/RenderOnly300", renderOnlyFrame)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
