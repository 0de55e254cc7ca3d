#!/usr/bin/env python3
"""Summarises the Google Benchmark JSON reports of quorvel-bench and quorvel-tournament-bench: medians,
speed-ups, the frame ratio and the tournament's games per second with one job and with two.

    bench/report.py build/bench.json build/tournament-bench.json
"""
import json
import sys


def medians(report):
    found = {}
    for run in report["benchmarks"]:
        if run.get("aggregate_name") == "median":
            found[run["run_name"]] = run
    return found


def main(path, tournament_path):
    with open(path, encoding="utf-8") as file:
        report = json.load(file)
    runs = medians(report)
    with open(tournament_path, encoding="utf-8") as file:
        runs.update(medians(json.load(file)))
    context = report["context"]
    print(f"Machine: {context.get('num_cpus')} CPUs at {context.get('mhz_per_cpu')} MHz; "
          f"medians of {runs and next(iter(runs.values())).get('repetitions', '?')} repetitions")
    print()
    print(f"| {'benchmark':<22} | {'shipped':>12} | {'reference':>12} | {'speed-up':>9} |")
    print(f"|{'-' * 24}|{'-' * 14}|{'-' * 14}|{'-' * 11}|")
    ratios = {}
    for family, cases in (("Update", ("Start150", "Restart300", "MidGame300", "Even3000")),
                          ("Pairing", ("Even300", "Even1000", "Even3000"))):
        for case in cases:
            shipped = runs.get(f"{family}/Shipped/{case}")
            reference = runs.get(f"{family}/Reference/{case}")
            if not shipped or not reference:
                continue
            ratio = reference["real_time"] / shipped["real_time"]
            ratios[f"{family}/{case}"] = ratio
            print(f"| {family + ' ' + case:<22} | {shipped['real_time']:>9.1f} us | "
                  f"{reference['real_time']:>9.1f} us | {ratio:>8.1f}x |")
    print()
    frame = runs.get("Frame/FullAgainstRenderOnly300")
    if frame:
        print(f"Frame at 300 pieces: full {frame['full_us']:.0f} us, render-only {frame['render_us']:.0f} us, "
              f"ratio {frame['ratio']:.3f}")
    jobs = runs.get("Tournament/OneJobAgainstTwo/800/iterations:1/real_time")
    if jobs:
        print(f"Tournament, 800 games from the 150-piece start: {jobs['games_per_s_1_job']:.1f} games/s with "
              f"--jobs 1, {jobs['games_per_s_2_jobs']:.1f} with --jobs 2, ratio {jobs['ratio']:.2f}")
    print()
    targets = [("update at 300 pieces (restart) >= 40x", ratios.get("Update/Restart300", 0) >= 40),
               ("update at 300 pieces (mid-game) >= 40x", ratios.get("Update/MidGame300", 0) >= 40),
               ("update at 3,000 pieces >= 60x", ratios.get("Update/Even3000", 0) >= 60),
               ("full frame <= 1.1 x render-only frame", bool(frame) and frame["ratio"] <= 1.1),
               ("tournament --jobs 2 >= 1.8 x --jobs 1", bool(jobs) and jobs["ratio"] >= 1.8)]
    for name, met in targets:
        print(f"{'met   ' if met else 'MISSED'}  {name}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "build/bench.json",
                  sys.argv[2] if len(sys.argv) > 2 else "build/tournament-bench.json"))
