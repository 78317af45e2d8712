#!/usr/bin/env bash
# End-to-end check of a borderless form under a window manager: starts Xvfb
# and openbox, then the frame demonstration form; drags its caption with
# xdotool and expects the form to move by the drag, then drags its right edge
# and expects it to grow by the drag (a few pixels of slack each). Each drag
# waits for the form to hand it to the window manager and for the window to
# follow the pointer; nothing is left to a pause.
#   frame_xvfb.sh <demo-executable>
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

# Waits for the last "BOUNDS" (or "FORM") line to satisfy a test of bx by bw bh.
last_bounds() { grep -E '^(FORM|BOUNDS) ' "$work/out.txt" 2>/dev/null | tail -n1; }
bounds_satisfy() {
  local line
  line="$(last_bounds)"
  [[ -n "$line" ]] || return 1
  read -r _ bx by bw bh <<<"$line"
  eval "$1"
}
wait_for() { wait_until 50 bounds_satisfy "$1"; }
drag() { wm_drag "$@" "$wid" "$work/out.txt" '^(MOVE|SIZE) BEGUN$'; }
# The form's idea of its place and size is the window's on the screen (it has no frame).
settled() { bounds_satisfy true && [[ "$(client_geometry "$wid")" == "$bx $by $bw $bh" ]]; }

wid="$(find_window '^Frame demo$' 20)"
if [[ -z "$wid" ]] || ! wait_for 'true'; then echo "FAIL: the form did not show"; cat "$work/err.txt"; exit 1; fi
if ! wait_until 50 settled; then
  echo "FAIL: the form says $(last_bounds), the screen shows $(client_geometry "$wid")"; exit 1
fi
read -r _ fx fy fw fh <<<"$(last_bounds)"

drag $((fx + 150)) $((fy + 15)) $((fx + 210)) $((fy + 55)) || { echo "FAIL: dragging the caption"; cat "$work/wm.err"; exit 1; }
if ! wait_for '(( bx >= fx + 57 && bx <= fx + 63 && by >= fy + 37 && by <= fy + 43 && bw == fw ))'; then
  echo "FAIL: dragging the caption by 60,40 left the form at $(last_bounds) (was $fx $fy $fw $fh)"; cat "$work/wm.err"; exit 1
fi
wait_until 50 settled || { echo "FAIL: after the move the form says $(last_bounds), the screen shows $(client_geometry "$wid")"; exit 1; }
read -r _ fx fy fw fh <<<"$(last_bounds)"

drag $((fx + fw - 2)) $((fy + 100)) $((fx + fw + 48)) $((fy + 100)) || { echo "FAIL: dragging the right edge"; cat "$work/wm.err"; exit 1; }
if ! wait_for '(( bw >= fw + 47 && bw <= fw + 53 && bx == fx ))'; then
  echo "FAIL: dragging the right edge by 50 left the form at $(last_bounds) (was $fx $fy $fw $fh)"; exit 1
fi
echo "PASS"
