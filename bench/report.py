#!/usr/bin/env python3
"""Summarises the Google Benchmark JSON reports of quorvel-bench, quorvel-bench-baseline,
quorvel-tournament-bench and quorvel-record-bench: medians, speed-ups, the frame ratio, the tournament's games per
second with one job and with two, and the recorder's frames per second. The update and the pairing are timed as
shipped and by the plain reference rules; quorvel-bench-baseline times the shipped ones again on scans without
their AVX2 versions, and "AVX2" is its time over the shipped time. A benchmark run in several rounds (one file
each, or repetitions within a file) counts by the median of its times.

    bench/report.py [--baseline FILE]... FILE...
    bench/report.py --baseline build/bench-baseline-1.json build/bench-1.json build/tournament-bench.json
"""
import argparse
import glob
import json
import statistics
import sys


def load(path):
    """The report, or one without benchmarks where the program wrote nothing: no benchmark of its matched the
    filter given."""
    with open(path, encoding="utf-8") as file:
        text = file.read()
    return json.loads(text) if text.strip() else {"context": {}, "benchmarks": []}


def medians(reports):
    """Each benchmark's figures, every numeric field as its median over the rounds and repetitions; a file
    that keeps only the aggregates gives its median."""
    rounds = {}
    for report in reports:
        for run in report["benchmarks"]:
            if run.get("run_type", "iteration") == "iteration" or run.get("aggregate_name") == "median":
                rounds.setdefault(run["run_name"], []).append(run)
    found = {}
    for name, runs in rounds.items():
        merged = dict(runs[0])
        for key, value in runs[0].items():
            if isinstance(value, (int, float)) and not isinstance(value, bool):
                merged[key] = statistics.median(run[key] for run in runs if key in run)
        merged["rounds"] = len(runs)
        found[name] = merged
    return found


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n", maxsplit=1)[0])
    parser.add_argument("--baseline", action="append", default=[], metavar="FILE",
                        help="a report of quorvel-bench-baseline (once per round)")
    parser.add_argument("files", nargs="*", metavar="FILE", help="the other reports")
    args = parser.parse_args(argv)
    files = args.files
    baseline_files = args.baseline
    if not files and not baseline_files:
        # What scripts/run-bench writes.
        files = sorted(glob.glob("build/bench-[0-9]*.json")) + glob.glob("build/tournament-bench.json") + glob.glob(
            "build/record-bench.json")
        baseline_files = sorted(glob.glob("build/bench-baseline-*.json"))
    if not files:
        parser.error("no reports to summarise")
    reports = [load(path) for path in files]
    runs = medians(reports)
    baseline = medians(load(path) for path in baseline_files)
    context = next((report["context"] for report in reports if report["context"]), {})
    shipped_rounds = max((run["rounds"] for name, run in runs.items() if "/Shipped/" in name), default=0)
    baseline_rounds = max((run["rounds"] for run in baseline.values()), default=0)
    print(f"Machine: {context.get('num_cpus')} CPUs at {context.get('mhz_per_cpu')} MHz; medians of "
          f"{shipped_rounds} runs (baseline: {baseline_rounds})")
    print()

    def cell(run):
        return f"{run['real_time']:>9.1f} us" if run else f"{'-':>12}"

    def times(ratio):
        return f"{ratio:>8.2f}x" if ratio else f"{'-':>9}"

    print(f"| {'benchmark':<22} | {'shipped':>12} | {'baseline':>12} | {'reference':>12} | {'AVX2':>9} "
          f"| {'vs ref.':>9} |")
    print(f"|{'-' * 24}|{'-' * 14}|{'-' * 14}|{'-' * 14}|{'-' * 11}|{'-' * 11}|")
    ratios = {}
    for family, cases in (("Update", ("Start150", "Restart300", "MidGame300", "Even900", "MidGame900", "Even3000",
                                      "MidGame3000")),
                          ("Pairing", ("Even300", "Even1000", "Even3000"))):
        for case in cases:
            shipped = runs.get(f"{family}/Shipped/{case}")
            narrow = baseline.get(f"{family}/Shipped/{case}")
            reference = runs.get(f"{family}/Reference/{case}")
            if not shipped:
                continue
            ratio = reference["real_time"] / shipped["real_time"] if reference else None
            gain = narrow["real_time"] / shipped["real_time"] if narrow else None
            ratios[f"{family}/{case}"] = ratio
            print(f"| {family + ' ' + case:<22} | {cell(shipped)} | {cell(narrow)} | {cell(reference)} | "
                  f"{times(gain)} | {times(ratio)} |")
    print()
    frame = runs.get("Frame/FullAgainstRenderOnly300")
    if frame:
        print(f"Frame at 300 pieces: full {frame['full_us']:.0f} us, render-only {frame['render_us']:.0f} us, "
              f"ratio {frame['ratio']:.3f}")
    games = runs.get("Games/Shipped/Start150/real_time")
    narrow_games = baseline.get("Games/Shipped/Start150/real_time")
    if games:
        print(f"Games from the 150-piece start: {games['games_per_s']:.1f} games/s"
              + (f", {narrow_games['games_per_s']:.1f} without the AVX2 scans, AVX2 "
                 f"{games['games_per_s'] / narrow_games['games_per_s']:.2f}x" if narrow_games else ""))
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
    def at_least(value, bound):
        return None if value is None else value >= bound

    # Each target met, missed, or not measured (None): a filter given to run-bench, or a build without video
    # recording, leaves some benchmarks out.
    targets = [("update at 300 pieces (restart) >= 40x reference", at_least(ratios.get("Update/Restart300"), 40)),
               ("update at 300 pieces (mid-game) >= 40x reference", at_least(ratios.get("Update/MidGame300"), 40)),
               ("update at 3,000 pieces >= 60x reference", at_least(ratios.get("Update/Even3000"), 60)),
               ("full frame <= 1.1 x render-only frame", frame and frame["ratio"] <= 1.1),
               ("tournament --jobs 2 >= 1.8 x --jobs 1", jobs and jobs["ratio"] >= 1.8),
               ("--record to MP4 >= 120 frames/s (2x real time)", record and record["frames_per_s"] >= 120)]
    for name, met in targets:
        print(f"{'not measured' if met is None else 'met   ' if met else 'MISSED'}  {name}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
