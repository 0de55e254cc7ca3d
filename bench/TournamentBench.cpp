// Games per second of quorvel-tournament's worker processes, with one job and with two, timed in turn within
// one benchmark so that both see the same machine. A program of its own: the workers must be forked before
// the process makes any graphics resource, which the arena benchmarks do. Run it under an X server.
#include "tools/tournament/Failure.hpp"
#include "tools/tournament/WorkerPool.hpp"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

// Seconds to play the rules' games with the given number of jobs.
double secondsFor(const G::GameRules& rules, const unsigned jobs, benchmark::State& bench) {
    const auto start = std::chrono::steady_clock::now();
    try {
        G::workerPool::play({rules}, jobs, {});
    } catch (const G::Failure& failure) {
        bench.SkipWithError(failure.what());
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void oneJobAgainstTwo(benchmark::State& bench) {
    G::GameRules rules;
    rules.firstSeed = 1;
    rules.lastSeed = static_cast<std::uint32_t>(bench.range(0));
    double one = 0.0;
    double two = 0.0;
    for (auto _ : bench) {
        one += secondsFor(rules, 1, bench);
        two += secondsFor(rules, 2, bench);
    }
    const auto games = static_cast<double>(bench.iterations()) * static_cast<double>(rules.lastSeed);
    bench.counters["games_per_s_1_job"] = games / one;
    bench.counters["games_per_s_2_jobs"] = games / two;
    bench.counters["ratio"] = one / two;
}

BENCHMARK(oneJobAgainstTwo)
    ->Name("Tournament/OneJobAgainstTwo")
    ->Arg(800)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
