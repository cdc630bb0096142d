#!/usr/bin/python3
"""Prints the benchmark table: medians, ranges and ratios against the same run's baselines.

usage: report.py SAMPLES.tsv ENGINE.json
SAMPLES.tsv holds xwatch's lines (kind, subject, value); ENGINE.json is engine_bench's
JSON output with repetitions.
"""
import collections
import json
import statistics
import sys

STARTUP_TARGET = 1.15
MEMORY_TARGET = 1.15
SCREEN_TARGET_MS = 16.0
ENGINE_TARGET = 1.3


def verdict(met):
    return "met" if met else "MISSED"


def read_samples(path):
    samples = collections.defaultdict(lambda: collections.defaultdict(list))
    order = collections.defaultdict(list)
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 3:
                continue
            kind, subject, value = parts
            if subject not in samples[kind]:
                order[kind].append(subject)
            samples[kind][subject].append(float(value))
    return samples, order


def row(cells, widths):
    return "  ".join(str(c).ljust(w) if i == 0 else str(c).rjust(w)
                     for i, (c, w) in enumerate(zip(cells, widths)))


def print_table(title, header, rows):
    widths = [max(len(str(r[i])) for r in [header] + rows) for i in range(len(header))]
    print(title)
    print(row(header, widths))
    print(row(["-" * w for w in widths], widths))
    for r in rows:
        print(row(r, widths))
    print()


def spread(values, fmt):
    return f"{fmt.format(min(values))}-{fmt.format(max(values))}"


def desktop(samples, order):
    results = []
    startup = samples["startup"]
    base = statistics.median(startup["minimal"])
    rows = []
    for name in order["startup"]:
        values = startup[name]
        median = statistics.median(values)
        rows.append([name, len(values), f"{median:.1f}", spread(values, "{:.1f}"),
                     f"{median / base:.2f}"])
    print_table("Start-up to the main menu mapped and painted (ms)",
                ["program", "runs", "median", "min-max", "x minimal Qt"], rows)
    ratio = statistics.median(startup["cocomo"]) / base
    results.append((f"start-up <= {STARTUP_TARGET}x minimal Qt", f"{ratio:.2f}x",
                    ratio <= STARTUP_TARGET))

    memory = samples["memory"]
    base = statistics.median(memory["minimal"])
    rows = []
    for name in order["memory"]:
        values = [v / 1024 for v in memory[name]]
        median = statistics.median(values)
        rows.append([name, len(values), f"{median:.1f}", spread(values, "{:.1f}"),
                     f"{median * 1024 / base:.2f}"])
    print_table("Peak resident set (VmHWM) at the main menu (MiB)",
                ["program", "runs", "median", "min-max", "x minimal Qt"], rows)
    ratio = statistics.median(memory["cocomo"]) / base
    results.append((f"peak memory <= {MEMORY_TARGET}x minimal Qt", f"{ratio:.2f}x",
                    ratio <= MEMORY_TARGET))

    screens = samples["screen"]
    baseline_label = next((s for s in order["screen"] if s.startswith("baseline")), None)
    base = statistics.median(screens[baseline_label]) if baseline_label else None
    rows = []
    worst = 0.0
    for label in order["screen"]:
        values = screens[label]
        median = statistics.median(values)
        if label != baseline_label:
            worst = max(worst, median)
        ratio = f"{median / base:.2f}" if base else "-"
        rows.append([label, len(values), f"{median:.1f}", spread(values, "{:.1f}"), ratio,
                     "" if label == baseline_label else verdict(median < SCREEN_TARGET_MS)])
    print_table("Screen changes, click to the next screen on top and painted (ms)",
                ["transition", "samples", "median", "min-max", "x baseline",
                 f"< {SCREEN_TARGET_MS:.0f} ms"], rows)
    results.append((f"every screen change < {SCREEN_TARGET_MS:.0f} ms median",
                    f"worst {worst:.1f} ms", worst < SCREEN_TARGET_MS))
    return results


def engine(path):
    with open(path, encoding="utf-8") as data:
        benchmarks = json.load(data)["benchmarks"]
    cpu = {}
    for b in benchmarks:
        if b.get("aggregate_name") == "median":
            name, _, case = b["run_name"].partition("/")
            cpu[(name, case)] = b["cpu_time"]
    rows = []
    worst = 0.0
    for (name, case), value in sorted(cpu.items()):
        if name != "BM_CalculateEstimate":
            continue
        bare = cpu[("BM_BareFormula", case)]
        ratio = value / bare
        worst = max(worst, ratio)
        rows.append([case, f"{value:.1f}", f"{bare:.1f}", f"{ratio:.2f}"])
    print_table("Engine: CalculateEstimate against the bare formulas (CPU ns, median)",
                ["case", "CalculateEstimate", "bare formula", "ratio"], rows)
    return [(f"CalculateEstimate <= {ENGINE_TARGET}x bare formula", f"worst {worst:.2f}x",
             worst <= ENGINE_TARGET)]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    samples, order = read_samples(sys.argv[1])
    results = desktop(samples, order) + engine(sys.argv[2])
    print_table("Targets", ["target", "figure", "verdict"],
                [[name, figure, verdict(met)] for name, figure, met in results])


if __name__ == "__main__":
    main()
