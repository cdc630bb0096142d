#!/usr/bin/python3
"""Start-up and peak memory at the first screen on Wayland, against a baseline program.

Starts weston without a screen (its headless backend) on a socket of its own and runs each
program ROUNDS times, the programs interleaved round by round: the time from the process's
start until it first hands the compositor a painted buffer (read from libwayland's own log
of the requests it sends, WAYLAND_DEBUG=client, which costs every program alike), and its
peak resident memory (VmHWM) once that frame is out and the program has settled.

    wayland_startup.py [--rounds N] NAME=PROGRAM...

The first NAME=PROGRAM is the baseline the others are measured against.
"""

import argparse
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

SETTLE = 0.5  # seconds after the first frame, for what the program does once it is up
ATTACH = re.compile(r"^\[ *(\d+)\.(\d{3})\] +-> wl_surface@\d+\.attach\(wl_buffer@")


def microseconds_now():
    # libwayland stamps its log with the real-time clock in microseconds, cut to 32 bits.
    return int(time.time() * 1e6) % 2**32


def run_once(program, env):
    started = microseconds_now()
    process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True, start_new_session=True)
    painted = []
    first_frame = threading.Event()

    def read():
        # Read to the end, so that the program never waits on a full pipe.
        for line in process.stderr:
            found = ATTACH.match(line)
            if found and not painted:
                painted.append(int(found.group(1)) * 1000 + int(found.group(2)))
                first_frame.set()
        first_frame.set()

    reader = threading.Thread(target=read, daemon=True)
    reader.start()
    try:
        first_frame.wait(timeout=30)
        if not painted:
            raise RuntimeError("%s ended before painting" % program)
        elapsed_ms = ((painted[0] - started) % 2**32) / 1000.0
        time.sleep(SETTLE)
        with open("/proc/%d/status" % process.pid) as status:
            peak_kb = int(re.search(r"VmHWM:\s+(\d+)", status.read()).group(1))
        return elapsed_ms, peak_kb / 1024.0
    finally:
        os.killpg(process.pid, signal.SIGTERM)
        process.wait(timeout=10)
        reader.join(timeout=10)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=10)
    parser.add_argument("programs", nargs="+", help="NAME=PROGRAM, the baseline first")
    args = parser.parse_args()
    programs = [entry.split("=", 1) for entry in args.programs]
    workdir = tempfile.mkdtemp(prefix="cocomo-wayland-bench-")
    runtime = os.path.join(workdir, "runtime")
    os.mkdir(runtime, 0o700)
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "QT_SCALE_FACTOR", "XDG_CURRENT_DESKTOP")}
    env.update(XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="wayland-bench",
               QT_QPA_PLATFORM="wayland", WAYLAND_DEBUG="client")
    weston = subprocess.Popen(["weston", "--backend=headless-backend.so",
                               "--socket=wayland-bench", "--width=1280", "--height=1024",
                               "--idle-time=0"], env=dict(env, WAYLAND_DEBUG="0"),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              start_new_session=True)
    try:
        for _ in range(200):
            if os.path.exists(os.path.join(runtime, "wayland-bench")):
                break
            time.sleep(0.05)
        results = {name: ([], []) for name, _ in programs}
        for _ in range(args.rounds):
            for name, program in programs:
                elapsed, peak = run_once(program, env)
                results[name][0].append(elapsed)
                results[name][1].append(peak)
    finally:
        os.killpg(weston.pid, signal.SIGTERM)
        weston.wait(timeout=10)
        shutil.rmtree(workdir, ignore_errors=True)

    baseline = programs[0][0]
    base_time = statistics.median(results[baseline][0])
    base_peak = statistics.median(results[baseline][1])
    print("weston %s, headless, %d rounds: median (min-max)" % (
        subprocess.run(["weston", "--version"], capture_output=True, text=True).stdout.split()[-1],
        args.rounds))
    print("%-12s %24s %8s %24s %8s" % ("program", "first frame, ms", "ratio", "VmHWM, MiB",
                                       "ratio"))
    for name, _ in programs:
        times, peaks = results[name]
        print("%-12s %8.1f (%6.1f-%6.1f) %7.2fx %8.1f (%6.1f-%6.1f) %7.2fx" % (
            name, statistics.median(times), min(times), max(times),
            statistics.median(times) / base_time, statistics.median(peaks), min(peaks),
            max(peaks), statistics.median(peaks) / base_peak))
    return 0


if __name__ == "__main__":
    sys.exit(main())
