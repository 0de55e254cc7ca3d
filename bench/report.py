#!/usr/bin/env python3
"""Summarises the Google Benchmark JSON reports of quorvel-bench, quorvel-tournament-bench and
quorvel-record-bench: medians, speed-ups, the frame ratio, the tournament's games per second with one job and
with two, and the recorder's frames per second. The update is timed three ways: as shipped, with every search
scanning whole lists as before the grids ("lists"), and by the plain reference rules.

    bench/report.py build/bench.json build/tournament-bench.json [build/record-bench.json]
"""
import json
import sys


def medians(report):
    found = {}
    for run in report["benchmarks"]:
        if run.get("aggregate_name") == "median":
            found[run["run_name"]] = run
    return found


def main(path, *others):
    with open(path, encoding="utf-8") as file:
        report = json.load(file)
    runs = medians(report)
    for other in others:
        with open(other, encoding="utf-8") as file:
            runs.update(medians(json.load(file)))
    context = report["context"]
    print(f"Machine: {context.get('num_cpus')} CPUs at {context.get('mhz_per_cpu')} MHz; "
          f"medians of {runs and next(iter(runs.values())).get('repetitions', '?')} repetitions")
    print()
    def cell(run):
        return f"{run['real_time']:>9.1f} us" if run else f"{'-':>12}"

    def times(ratio):
        return f"{ratio:>8.2f}x" if ratio else f"{'-':>9}"

    print(f"| {'benchmark':<22} | {'shipped':>12} | {'lists':>12} | {'reference':>12} | {'vs lists':>9} "
          f"| {'vs ref.':>9} |")
    print(f"|{'-' * 24}|{'-' * 14}|{'-' * 14}|{'-' * 14}|{'-' * 11}|{'-' * 11}|")
    ratios = {}
    gains = {}
    for family, cases in (("Update", ("Start150", "Restart300", "MidGame300", "Even900", "MidGame900", "Even3000",
                                      "MidGame3000", "Even9000")),
                          ("Pairing", ("Even300", "Even1000", "Even3000"))):
        for case in cases:
            shipped = runs.get(f"{family}/Shipped/{case}")
            lists = runs.get(f"{family}/Lists/{case}")
            reference = runs.get(f"{family}/Reference/{case}")
            if not shipped:
                continue
            ratio = reference["real_time"] / shipped["real_time"] if reference else None
            gain = lists["real_time"] / shipped["real_time"] if lists else None
            ratios[f"{family}/{case}"] = ratio or 0
            gains[f"{family}/{case}"] = gain or 0
            print(f"| {family + ' ' + case:<22} | {cell(shipped)} | {cell(lists)} | {cell(reference)} | "
                  f"{times(gain)} | {times(ratio)} |")
    print()
    frame = runs.get("Frame/FullAgainstRenderOnly300")
    if frame:
        print(f"Frame at 300 pieces: full {frame['full_us']:.0f} us, render-only {frame['render_us']:.0f} us, "
              f"ratio {frame['ratio']:.3f}")
    jobs = runs.get("Tournament/OneJobAgainstTwo/800/iterations:1/real_time")
    if jobs:
        print(f"Tournament, 800 games from the 150-piece start: {jobs['games_per_s_1_job']:.1f} games/s with "
              f"--jobs 1, {jobs['games_per_s_2_jobs']:.1f} with --jobs 2, ratio {jobs['ratio']:.2f}")
    record = runs.get("Record/Mp4Start300/iterations:1/real_time")
    drawing = runs.get("Record/DrawAndReadBackOnly/iterations:1/real_time")
    if record:
        print(f"Recording a 300-piece game to MP4: {record['frames_per_s']:.1f} frames/s, "
              f"{record['frames_per_s'] / 60:.2f}x real time"
              + (f"; drawing and reading back alone: {drawing['frames_per_s']:.1f} frames/s" if drawing else ""))
    print()
    targets = [("update at 300 pieces (restart) >= 40x reference", ratios.get("Update/Restart300", 0) >= 40),
               ("update at 300 pieces (mid-game) >= 40x reference", ratios.get("Update/MidGame300", 0) >= 40),
               ("update at 3,000 pieces >= 60x reference", ratios.get("Update/Even3000", 0) >= 60),
               ("update at 3,000 pieces >= 10x lists", gains.get("Update/Even3000", 0) >= 10),
               ("update at 3,000 pieces mid-game >= 10x lists", gains.get("Update/MidGame3000", 0) >= 10),
               ("update at 900 pieces >= 3x lists", gains.get("Update/Even900", 0) >= 3),
               ("update at 900 pieces mid-game >= 3x lists", gains.get("Update/MidGame900", 0) >= 3),
               ("update at 150 and 300 pieces no slower than lists (within 5 %)",
                all(gains.get(f"Update/{case}", 0) >= 0.95 for case in ("Start150", "Restart300", "MidGame300"))),
               ("full frame <= 1.1 x render-only frame", bool(frame) and frame["ratio"] <= 1.1),
               ("tournament --jobs 2 >= 1.8 x --jobs 1", bool(jobs) and jobs["ratio"] >= 1.8),
               ("--record to MP4 >= 120 frames/s (2x real time)", bool(record) and record["frames_per_s"] >= 120)]
    if not record:
        targets.pop()
        print("not measured  --record to MP4 (no recorder's benchmark: a build without video recording)")
    for name, met in targets:
        print(f"{'met   ' if met else 'MISSED'}  {name}")
    return 0


if __name__ == "__main__":
    # A build without video recording has no recorder's benchmark: run-bench names the files there are.
    sys.exit(main(*(sys.argv[1:] or ["build/bench.json", "build/tournament-bench.json", "build/record-bench.json"])))
