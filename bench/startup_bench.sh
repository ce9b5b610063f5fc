#!/bin/sh
# Runs startup_bench on its own Xvfb server: the configurator of the bench build against the
# bare dialog program, 20 alternating pairs unless a count is given; then, as a note, against
# the dialog with one label (startup_bench_label) when it is built, and that dialog against
# the bare one.
#   bench/startup_bench.sh [build dir] [pairs] [display]
set -e
build=${1:-build/bench}
pairs=${2:-20}
display=${3:-:$((90 + $$ % 100))}
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
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
"$build/bin/startup_bench" "$build/bin/fabricat" "$build/bin/bare_dialog" "$pairs"
if [ -x "$build/bin/startup_bench_label" ]; then
    "$build/bin/startup_bench" "$build/bin/fabricat" "$build/bin/startup_bench_label" "$pairs" startup_vs_label
    "$build/bin/startup_bench" "$build/bin/startup_bench_label" "$build/bin/bare_dialog" "$pairs" label_vs_bare
fi
