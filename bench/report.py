#!/usr/bin/python3
"""Prints the benchmark table: medians, ranges and ratios against the same run's baselines.

usage: report.py SAMPLES.tsv ENGINE.json
SAMPLES.tsv holds xwatch's lines (scale, kind, subject, value); ENGINE.json is
engine_bench's JSON output with repetitions.
"""
import collections
import json
import statistics
import sys

STARTUP_TARGET = 1.15
MEMORY_TARGET = 1.15
SCREEN_TARGET_MS = 16.0
SCALES = ("1", "2")
BASELINE_SCREEN = "baseline: new window (load)"


def verdict(met):
    return "met" if met else "MISSED"


def read_samples(path):
    """samples[scale][kind][subject] -> values, and each kind's subjects in first-seen order."""
    samples = collections.defaultdict(
        lambda: collections.defaultdict(lambda: collections.defaultdict(list)))
    order = collections.defaultdict(lambda: collections.defaultdict(list))
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 4:
                continue
            scale, kind, subject, value = parts
            if subject not in samples[scale][kind]:
                order[scale][kind].append(subject)
            samples[scale][kind][subject].append(float(value))
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
    if not rows:
        print("(no samples)")
    print()


def spread(values, fmt):
    return f"{fmt.format(min(values))}-{fmt.format(max(values))}"


def median(values):
    return statistics.median(values) if values else None


class Worst:
    """The largest figure seen and where; missing data makes the target missed."""

    def __init__(self):
        self.value = None
        self.where = ""
        self.missing = False

    def add(self, value, where):
        if value is None:
            self.missing = True
        elif self.value is None or value > self.value:
            self.value, self.where = value, where


def startup(samples, order, scale):
    """The start-up table of one scale; returns cocomo's ratio to the minimal Qt program."""
    runs = samples[scale]["startup"]
    base = median(runs["minimal"])
    rows = []
    for name in order[scale]["startup"]:
        values = runs[name]
        ratio = f"{median(values) / base:.2f}" if base else "-"
        rows.append([name, len(values), f"{median(values):.1f}", spread(values, "{:.1f}"), ratio])
    note = "" if scale == "1" else ", information"
    print_table(f"Start-up to the main menu mapped and painted, scale {scale} (ms{note})",
                ["program", "runs", "median", "min-max", "x minimal Qt"], rows)
    program = median(runs["cocomo"])
    return program / base if program and base else None


def memory(samples, order, scale):
    """Peak memory at the main menu and after each screen change against the minimal Qt
    program at the same point; returns the worst ratio of the program."""
    at_start = samples[scale]["memory"]
    after_change = samples[scale]["screen-memory"]
    points = [("main menu (start-up)", at_start["cocomo"], at_start["minimal"], True)]
    if at_start["xlib"]:
        points.append(("main menu, bare Xlib (floor)", at_start["xlib"], at_start["minimal"],
                       False))
    baseline = after_change[BASELINE_SCREEN]
    changes = [label for label in order[scale]["screen-memory"] if label != BASELINE_SCREEN]
    points += [(label, after_change[label], baseline, True) for label in changes]
    worst = Worst()
    if not changes:
        worst.add(None, "")
    rows = []
    for label, values, base_values, judged in points:
        program, base = median(values), median(base_values)
        ratio = program / base if program and base else None
        if judged:
            worst.add(ratio, label)
        mib = [v / 1024 for v in values]
        rows.append([label, len(values),
                     f"{program / 1024:.1f}" if program else "-",
                     spread(mib, "{:.1f}") if mib else "-",
                     f"{base / 1024:.1f}" if base else "-",
                     f"{ratio:.2f}" if ratio else "-",
                     verdict(ratio is not None and ratio <= MEMORY_TARGET) if judged else ""])
    print_table(f"Peak resident set (VmHWM) at scale {scale}, after the screen has settled (MiB)",
                ["point", "samples", "program", "min-max", "minimal Qt", "x minimal Qt",
                 f"<= {MEMORY_TARGET}x"], rows)
    return worst


def screens(samples, order, scale):
    """The screen-change table of one scale; returns the slowest median."""
    changes = samples[scale]["screen"]
    base = median(changes[BASELINE_SCREEN])
    judged = scale == "1"
    worst = Worst()
    rows = []
    for label in order[scale]["screen"]:
        values = changes[label]
        value = median(values)
        cells = [label, len(values), f"{value:.1f}", spread(values, "{:.1f}"),
                 f"{value / base:.2f}" if base else "-"]
        if label != BASELINE_SCREEN:
            worst.add(value, label)
        if judged:
            cells.append("" if label == BASELINE_SCREEN else verdict(value <= SCREEN_TARGET_MS))
        rows.append(cells)
    if not order[scale]["screen"]:
        worst.add(None, "")
    header = ["transition", "samples", "median", "min-max", "x baseline"]
    if judged:
        header.append(f"<= {SCREEN_TARGET_MS:.0f} ms")
    note = "" if judged else ", information"
    print_table(f"Screen changes at scale {scale}, click to the next screen on top and painted "
                f"(ms{note})", header, rows)
    return worst


def engine(path):
    with open(path, encoding="utf-8") as data:
        benchmarks = json.load(data)["benchmarks"]
    cpu = {}
    for b in benchmarks:
        if b.get("aggregate_name") == "median":
            name, _, case = b["run_name"].partition("/")
            cpu[(name, case)] = b["cpu_time"]
    rows = []
    for (name, case), value in sorted(cpu.items()):
        if name != "BM_CalculateEstimate":
            continue
        bare = cpu[("BM_BareFormula", case)]
        rows.append([case, f"{value:.1f}", f"{bare:.1f}", f"{value / bare:.2f}"])
    print_table("Engine: CalculateEstimate against the bare formulas (CPU ns, median, "
                "information)", ["case", "CalculateEstimate", "bare formula", "ratio"], rows)


def target(name, worst, unit, limit):
    if worst.value is None:
        return [name, "no samples", "", verdict(False)]
    figure = f"worst {worst.value:.2f}x" if unit == "x" else f"worst {worst.value:.1f} ms"
    return [name, figure, worst.where, verdict(not worst.missing and worst.value <= limit)]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    samples, order = read_samples(sys.argv[1])
    startup_ratio = {scale: startup(samples, order, scale) for scale in SCALES}
    memory_worst = {scale: memory(samples, order, scale) for scale in SCALES}
    screen_worst = {scale: screens(samples, order, scale) for scale in SCALES}
    engine(sys.argv[2])

    ratio = startup_ratio["1"]
    targets = [[f"start-up <= {STARTUP_TARGET}x minimal Qt (scale 1)",
                f"{ratio:.2f}x" if ratio else "no samples", "",
                verdict(ratio is not None and ratio <= STARTUP_TARGET)]]
    for scale in SCALES:
        targets.append(target(f"peak memory <= {MEMORY_TARGET}x minimal Qt, scale {scale}",
                              memory_worst[scale], "x", MEMORY_TARGET))
    targets.append(target(f"every screen change <= {SCREEN_TARGET_MS:.0f} ms median (scale 1)",
                          screen_worst["1"], "ms", SCREEN_TARGET_MS))
    print_table("Targets", ["target", "figure", "where", "verdict"], targets)


if __name__ == "__main__":
    main()
