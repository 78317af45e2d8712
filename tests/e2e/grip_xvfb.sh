#!/usr/bin/env bash
# End-to-end check of a status bar's size grip under a window manager: starts
# Xvfb and openbox, then the grip demonstration form (sizeable, with an
# office status bar); drags the grip with xdotool and expects the form to grow
# by the drag (a few pixels of slack), its top-left staying, and no wider than
# the form's WM_GETMINMAXINFO answer allows.
#   grip_xvfb.sh <demo-executable>
# Exit 77 (skipped) when Xvfb cannot start or a tool is missing.
set -u
demo="$1"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=xvfb_lib.sh
source "$here/xvfb_lib.sh"
require_tools Xvfb xdotool xdpyinfo openbox
work="$(mktemp -d)"
xvfb_pid=""
wm_pid=""
demo_pid=""
cleanup() {
  [[ -n "$demo_pid" ]] && kill "$demo_pid" 2>/dev/null
  [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

start_xvfb
DISPLAY="$display" openbox --sm-disable >"$work/wm.log" 2>&1 &
wm_pid=$!
sleep 0.5

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 30000 >"$work/out.txt" 2>"$work/err.txt" &
demo_pid=$!

# Waits for the last "BOUNDS" (or "FORM") line to satisfy a test of x y w h.
last_bounds() { grep -E '^(FORM|BOUNDS) ' "$work/out.txt" 2>/dev/null | tail -n1; }
wait_for() {
  local line _
  for _ in $(seq 1 50); do
    line="$(last_bounds)"
    if [[ -n "$line" ]]; then
      read -r _ bx by bw bh _ _ <<<"$line"
      if eval "$1"; then return 0; fi
    fi
    sleep 0.1
  done
  return 1
}
drag() {  # from-x from-y to-x to-y, in small steps as a hand would
  DISPLAY="$display" xdotool mousemove "$1" "$2"
  sleep 0.2
  DISPLAY="$display" xdotool mousedown 1
  sleep 0.2
  local i
  for i in 1 2 3 4 5; do
    DISPLAY="$display" xdotool mousemove $(($1 + ($3 - $1) * i / 5)) $(($2 + ($4 - $2) * i / 5))
    sleep 0.1
  done
  DISPLAY="$display" xdotool mouseup 1
}

if ! wait_for 'true'; then echo "FAIL: the form did not show"; cat "$work/err.txt"; exit 1; fi
sleep 0.5
read -r _ x y w h gx gy <<<"$(last_bounds)"

drag "$gx" "$gy" $((gx + 30)) $((gy + 40))
if ! wait_for '(( bw >= w + 27 && bw <= w + 33 && bh >= h + 37 && bh <= h + 43 && bx == x && by == y ))'; then
  echo "FAIL: dragging the grip by 30,40 left the form at $(last_bounds) (was $x $y $w $h)"; cat "$work/wm.log"; exit 1
fi
read -r _ x y w h gx gy <<<"$(last_bounds)"
sleep 0.3

# The form allows no more than 440 pixels of width: the height still follows.
drag "$gx" "$gy" $((gx + 60)) $((gy + 20))
if ! wait_for '(( bw == 440 && bh >= h + 17 && bh <= h + 23 && bx == x && by == y ))'; then
  echo "FAIL: dragging the grip by 60,20 past the widest size left the form at $(last_bounds) (was $x $y $w $h)"; exit 1
fi
sleep 0.5
read -r _ x y w h gx gy <<<"$(last_bounds)"
if (( w != 440 )); then echo "FAIL: the form did not stay 440 wide: $(last_bounds)"; exit 1; fi
# The window on the screen went back to the form's client area (440 less two 4-pixel sizing frames).
shown="$(DISPLAY="$display" xdotool search --name "Grip demo" getwindowgeometry 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p' | head -n1)"
if [[ "$shown" != "432" ]]; then echo "FAIL: the window shows ${shown:-nothing} pixels wide, not 432"; exit 1; fi
echo "PASS"
