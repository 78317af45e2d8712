#!/usr/bin/env bash
# End-to-end check of a borderless form under a window manager: starts Xvfb
# and openbox, then the frame demonstration form; drags its caption with
# xdotool and expects the form to move by the drag, then drags its right edge
# and expects it to grow by the drag (a few pixels of slack each).
#   frame_xvfb.sh <demo-executable>
# Exit 77 (skipped) when Xvfb cannot start or a tool is missing.
set -u
demo="$1"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=xvfb_lib.sh
source "$here/xvfb_lib.sh"
require_tools Xvfb xdotool xdpyinfo openbox
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
drag() {  # from-x from-y to-x to-y, in small steps as a hand would
  x xdotool mousemove "$1" "$2"
  wait_until 50 pointer_at "$1" "$2" || return 1
  x xdotool mousedown 1
  sleep 0.2
  local i
  for i in 1 2 3 4 5; do
    x xdotool mousemove $(($1 + ($3 - $1) * i / 5)) $(($2 + ($4 - $2) * i / 5))
    sleep 0.1
  done
  x xdotool mouseup 1
}

if ! wait_for 'true'; then echo "FAIL: the form did not show"; cat "$work/err.txt"; exit 1; fi
sleep 0.5
read -r _ fx fy fw fh <<<"$(last_bounds)"

drag $((fx + 150)) $((fy + 15)) $((fx + 210)) $((fy + 55))
if ! wait_for '(( bx >= fx + 57 && bx <= fx + 63 && by >= fy + 37 && by <= fy + 43 && bw == fw ))'; then
  echo "FAIL: dragging the caption by 60,40 left the form at $(last_bounds) (was $fx $fy $fw $fh)"; cat "$work/wm.err"; exit 1
fi
read -r _ fx fy fw fh <<<"$(last_bounds)"
sleep 0.3

drag $((fx + fw - 2)) $((fy + 100)) $((fx + fw + 48)) $((fy + 100))
if ! wait_for '(( bw >= fw + 47 && bw <= fw + 53 && bx == fx ))'; then
  echo "FAIL: dragging the right edge by 50 left the form at $(last_bounds) (was $fx $fy $fw $fh)"; exit 1
fi
echo "PASS"
