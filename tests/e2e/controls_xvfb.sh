#!/usr/bin/env bash
# End-to-end check of the controls layer in a real X11 window: starts Xvfb on
# a free display, starts the demonstration form, clicks its button with
# xdotool and expects the click to reach the control.
#   controls_xvfb.sh <demo-executable>
# Exit 77 (skipped) only when Xvfb cannot start.
set -u
demo="$1"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=xvfb_lib.sh
source "$here/xvfb_lib.sh"
require_tools Xvfb xdotool xdpyinfo
e2e_begin
start_xvfb

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
x env QT_QPA_PLATFORM=xcb "$demo" --exit-after-click --timeout-ms 20000 >"$work/out.txt" 2>"$work/err.txt" &
demo_pid=$!
e2e_track "$demo_pid"
pos="$(wait_for_line "$work/out.txt" '^BUTTON ' 100)" || { echo "FAIL: the form did not show"; cat "$work/err.txt"; exit 1; }
[[ -n "$(find_window "Controls demo" 20)" ]] || { echo "FAIL: no visible window named 'Controls demo'"; exit 1; }
read -r _ bx by <<<"$pos"
click_at "$bx" "$by"
demo_ended() { ! kill -0 "$demo_pid" 2>/dev/null; }
wait_until 100 demo_ended || { echo "FAIL: the click did not reach the button"; cat "$work/out.txt"; exit 1; }
wait "$demo_pid"; status=$?; e2e_untrack "$demo_pid"
if [[ $status -ne 0 ]] || ! grep -q '^CLICKED' "$work/out.txt"; then
  echo "FAIL: demo ended with $status"; cat "$work/out.txt" "$work/err.txt"; exit 1
fi
echo "OK: window shown at $display, click reached the button at $bx,$by"
