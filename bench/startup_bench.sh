#!/bin/sh
# Runs startup_bench on its own Xvfb server: the configurator of the bench build against the
# bare dialog program, 20 alternating pairs unless a count is given; then, as a note, against
# the dialog with one label (startup_bench_label) when it is built, and that dialog against
# the bare one; last the configurator against itself, which shows how far two runs of the
# same program differ on the machine at that moment.
#   bench/startup_bench.sh [build dir] [pairs] [display]
# With FABRICAT_BENCH_RT=1 (root only) the server, the benchmark and the programs it starts
# run under the real-time policy (chrt -f 10), so that other work on a shared machine does
# not decide the figures; the programs' own work is the same.
set -e
build=${1:-build/bench}
pairs=${2:-20}
display=${3:-:$((90 + $$ % 100))}
rt=
if [ -n "$FABRICAT_BENCH_RT" ]; then
    rt="chrt -f 10"
fi
# -noreset: the server would otherwise start over when the benchmark's connection closes,
# and the next run could find it unreachable
$rt Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb; wait $xvfb 2>/dev/null || true' EXIT
# the server is ready once its socket is there (at most 5 s)
socket=/tmp/.X11-unix/X${display#:}
tries=0
while [ ! -S "$socket" ] && [ $tries -lt 50 ]; do
    sleep 0.1
    tries=$((tries + 1))
done
export DISPLAY=$display QT_QPA_PLATFORM=xcb
$rt "$build/bin/startup_bench" "$build/bin/fabricat" "$build/bin/bare_dialog" "$pairs"
if [ -x "$build/bin/startup_bench_label" ]; then
    $rt "$build/bin/startup_bench" "$build/bin/fabricat" "$build/bin/startup_bench_label" "$pairs" startup_vs_label
    $rt "$build/bin/startup_bench" "$build/bin/startup_bench_label" "$build/bin/bare_dialog" "$pairs" label_vs_bare
fi
$rt "$build/bin/startup_bench" "$build/bin/fabricat" "$build/bin/fabricat" "$pairs" startup_self
