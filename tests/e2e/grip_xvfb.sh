#!/usr/bin/env bash
# End-to-end check of a status bar's size grip under a window manager: starts
# Xvfb and openbox, then the grip demonstration form (sizeable, with an
# office status bar); drags the grip with xdotool and expects the form to grow
# by the drag (a few pixels of slack), its top-left staying, and no wider than
# the form's WM_GETMINMAXINFO answer allows. Each drag waits for the form to
# hand it to the window manager and for the window to follow the pointer.
#   grip_xvfb.sh <demo-executable>
# Exit 77 (skipped) when Xvfb cannot start or a tool is missing.
set -u
demo="$1"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=xvfb_lib.sh
source "$here/xvfb_lib.sh"
require_tools Xvfb xdotool xdpyinfo xwininfo openbox python3
e2e_begin
start_xvfb
start_window_manager

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
x env QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 30000 >"$work/out.txt" 2>"$work/err.txt" &
e2e_track "$!"

# Waits for the last "BOUNDS" (or "FORM") line to satisfy a test of bx by bw bh (and the grip's bgx bgy).
last_bounds() { grep -E '^(FORM|BOUNDS) ' "$work/out.txt" 2>/dev/null | tail -n1; }
bounds_satisfy() {
  local line
  line="$(last_bounds)"
  [[ -n "$line" ]] || return 1
  read -r _ bx by bw bh bgx bgy <<<"$line"
  eval "$1"
}
wait_for() { wait_until 50 bounds_satisfy "$1"; }
# The window manager keeps the window within the form's widest size itself
# (the form's limits are the window's size hints), however fast the motions.
drag() { wm_drag "$@" "$wid" "$work/out.txt" '^SIZE BEGUN$'; }
# The form's idea of its grip (6 pixels in from its client area's bottom right
# corner) is where the window shows on the screen.
settled() {
  local cx cy cw ch
  bounds_satisfy true || return 1
  read -r cx cy cw ch <<<"$(client_geometry "$wid")"
  [[ -n "$ch" ]] && (( bgx == cx + cw - 6 && bgy == cy + ch - 6 ))
}
not_settled() { echo "FAIL: $1 the form says $(last_bounds), the screen shows $(client_geometry "$wid")"; exit 1; }

wid="$(find_window '^Grip demo$' 20)"
if [[ -z "$wid" ]] || ! wait_for 'true'; then echo "FAIL: the form did not show"; cat "$work/err.txt"; exit 1; fi
wait_until 50 settled || not_settled "shown,"
read -r _ x y w h gx gy <<<"$(last_bounds)"

drag "$gx" "$gy" $((gx + 30)) $((gy + 40)) || { echo "FAIL: dragging the grip"; cat "$work/wm.err"; exit 1; }
if ! wait_for '(( bw >= w + 27 && bw <= w + 33 && bh >= h + 37 && bh <= h + 43 && bx == x && by == y ))'; then
  echo "FAIL: dragging the grip by 30,40 left the form at $(last_bounds) (was $x $y $w $h)"; cat "$work/wm.err"; exit 1
fi
wait_until 50 settled || not_settled "sized,"
read -r _ x y w h gx gy <<<"$(last_bounds)"

# The form allows no more than 440 pixels of width: the height still follows.
drag "$gx" "$gy" $((gx + 60)) $((gy + 20)) || { echo "FAIL: dragging the grip again"; cat "$work/wm.err"; exit 1; }
if ! wait_for '(( bw == 440 && bh >= h + 17 && bh <= h + 23 && bx == x && by == y ))'; then
  echo "FAIL: dragging the grip by 60,20 past the widest size left the form at $(last_bounds) (was $x $y $w $h)"; exit 1
fi
# Once the window manager has let the pointer go, the window on the screen
# goes back to the form's client area (440 less two 4-pixel sizing frames).
shown_width() { client_geometry "$wid" | cut -d' ' -f3; }
back_to_form() { pointer_free && [[ "$(shown_width)" == 432 ]] && settled; }
wait_until 50 back_to_form
read -r _ x y w h gx gy <<<"$(last_bounds)"
if (( w != 440 )); then echo "FAIL: the form did not stay 440 wide: $(last_bounds)"; exit 1; fi
shown="$(shown_width)"
if [[ "$shown" != "432" ]]; then echo "FAIL: the window shows ${shown:-nothing} pixels wide, not 432"; exit 1; fi
echo "PASS"
