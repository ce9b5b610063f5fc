#!/usr/bin/env bash
# A real drag of cells between two grids: starts an X server of its own (Xvfb on a free
# display), the two-grid program on it, and moves the pointer with xdotool: a press on the
# selected block, a move in steps, a release over the other grid.  Exit 77 (skipped) without
# Xvfb or xdotool.
set -u
PROG="$1"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77
WORK="$(mktemp -d)"
XPID="" PPID_PROG=""
cleanup() {
  [ -n "$PPID_PROG" ] && kill "$PPID_PROG" 2>/dev/null
  [ -n "$XPID" ] && kill "$XPID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$WORK/display" 2>"$WORK/xvfb.log" &
XPID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
[ -s "$WORK/display" ] || { echo "Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$WORK/display")"
export QT_QPA_PLATFORM=xcb

"$PROG" >"$WORK/out" 2>"$WORK/err" &
PPID_PROG=$!
for _ in $(seq 600); do grep -q '^drop ' "$WORK/out" && break; sleep 0.1; done
read -r _ PX PY < <(grep '^press ' "$WORK/out")
read -r _ DX DY < <(grep '^drop ' "$WORK/out")
[ -n "${DX:-}" ] || { echo "the grids did not show"; cat "$WORK/out" "$WORK/err"; exit 1; }

xdotool mousemove "$PX" "$PY"; sleep 0.3
xdotool mousedown 1; sleep 0.3
STEPS=12
for i in $(seq 1 $STEPS); do
  xdotool mousemove $((PX + (DX - PX) * i / STEPS)) $((PY + (DY - PY) * i / STEPS))
  sleep 0.1
done
sleep 0.3
xdotool mouseup 1

wait "$PPID_PROG"
RC=$?
PPID_PROG=""
cat "$WORK/out"
[ "$RC" = 0 ] || cat "$WORK/err"
exit "$RC"
