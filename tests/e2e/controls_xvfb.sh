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
work="$(mktemp -d)"
xvfb_pid=""
demo_pid=""
cleanup() {
  [[ -n "$demo_pid" ]] && kill "$demo_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

start_xvfb

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$demo" --exit-after-click --timeout-ms 20000 >"$work/out.txt" 2>"$work/err.txt" &
demo_pid=$!
pos=""
for _ in $(seq 1 100); do
  pos="$(grep -m1 '^BUTTON ' "$work/out.txt" 2>/dev/null || true)"
  [[ -n "$pos" ]] && break
  sleep 0.1
done
if [[ -z "$pos" ]]; then echo "FAIL: the form did not show"; cat "$work/err.txt"; exit 1; fi
if ! DISPLAY="$display" xdotool search --sync --onlyvisible --name "Controls demo" >/dev/null 2>&1; then
  echo "FAIL: no visible window named 'Controls demo'"; exit 1
fi
read -r _ x y <<<"$pos"
sleep 0.3
DISPLAY="$display" xdotool mousemove "$x" "$y"
sleep 0.2
DISPLAY="$display" xdotool click 1
for _ in $(seq 1 100); do
  kill -0 "$demo_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$demo_pid" 2>/dev/null; then echo "FAIL: the click did not reach the button"; cat "$work/out.txt"; exit 1; fi
wait "$demo_pid"; status=$?; demo_pid=""
if [[ $status -ne 0 ]] || ! grep -q '^CLICKED' "$work/out.txt"; then
  echo "FAIL: demo ended with $status"; cat "$work/out.txt" "$work/err.txt"; exit 1
fi
echo "OK: window shown at $display, click reached the button at $x,$y"
