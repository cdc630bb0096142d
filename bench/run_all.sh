#!/usr/bin/env bash
# Builds the program and the benchmarks, then measures start-up, peak memory, screen changes
# and the engine against baselines measured in the same run, and prints the table.
#
#   bench/run_all.sh                 rounds of 6 start-ups per program and 4 wizard passes
#   ROUNDS=2 bench/run_all.sh        a quicker, rougher run
#   BENCH_DISPLAY=60 bench/run_all.sh  use display :60 instead of the first free one
#
# Program and baseline runs are interleaved round by round, so a change in the machine's
# load during the run weighs on both alike.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build}
ROUNDS=${ROUNDS:-5}
STARTUPS_PER_ROUND=6
PASSES_PER_ROUND=4
BASELINE_CLICKS_PER_ROUND=10

say() { printf '==> %s\n' "$*" >&2; }

say "Building in $BUILD"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCOCOMO_BENCHMARKS=ON >/dev/null
cmake --build "$BUILD" -j2 --target cocomo-wizard engine_bench xwatch minimal_qt bare_xlib

WORK=$(mktemp -d)
XVFB_PID=""
WM_PID=""
cleanup() {
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# Xvfb writes the display's number to the pipe once it accepts clients.
mkfifo "$WORK/ready"
Xvfb ${BENCH_DISPLAY:+:$BENCH_DISPLAY} -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$WORK/ready" 2>"$WORK/xvfb.log" &
XVFB_PID=$!
read -r DISPLAY_NUMBER <"$WORK/ready"
export DISPLAY=:$DISPLAY_NUMBER
say "Xvfb on $DISPLAY"

openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || { say "openbox did not start"; exit 1; }

export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

BENCH=$BUILD/bench
SAMPLES=$WORK/samples.tsv
FAILED=0
for round in $(seq "$ROUNDS"); do
    say "Round $round of $ROUNDS: start-up and memory"
    "$BENCH/xwatch" startup "$STARTUPS_PER_ROUND" cocomo="$BUILD/app/cocomo-wizard" \
        minimal="$BENCH/minimal_qt" xlib="$BENCH/bare_xlib" >>"$SAMPLES" || FAILED=1
    say "Round $round of $ROUNDS: screen changes"
    "$BENCH/xwatch" baseline-screens "$BASELINE_CLICKS_PER_ROUND" "$BENCH/minimal_qt" >>"$SAMPLES" || FAILED=1
    "$BENCH/xwatch" screens "$PASSES_PER_ROUND" "$BUILD/app/cocomo-wizard" >>"$SAMPLES" || FAILED=1
done

say "Engine benchmark"
"$BENCH/engine_bench" --benchmark_repetitions=9 --benchmark_report_aggregates_only=true \
    --benchmark_format=json >"$WORK/engine.json" 2>/dev/null

if [ -n "${BENCH_SAMPLES:-}" ]; then
    cp "$SAMPLES" "$BENCH_SAMPLES"
fi
echo "Run of $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores," \
    "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), Xvfb + openbox"
echo
/usr/bin/python3 "$ROOT/bench/report.py" "$SAMPLES" "$WORK/engine.json"
if [ "$FAILED" -ne 0 ]; then
    say "Some runs did not reach their screen (see above); the table counts the others"
fi
