#!/usr/bin/env bash
# End-to-end check of the owner-drawn menus in a real X11 window: starts Xvfb
# on a free display and the menus demonstration form; clicks the "File" item
# of the form's menu bar with xdotool, expects its drop-down to show and a
# click on its "New" item to run that item's handler; then right-clicks the
# form, chooses the third entry of the pop-up menu ("Close", past a
# separator) with the keyboard and expects its handler to run.
#   menus_xvfb.sh <demo-executable>
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
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 20000 >"$work/out.txt" 2>"$work/err.txt" &
demo_pid=$!
pos=""
for _ in $(seq 1 100); do
  pos="$(grep -m1 '^FORM ' "$work/out.txt" 2>/dev/null || true)"
  [[ -n "$pos" ]] && break
  sleep 0.1
done
if [[ -z "$pos" ]]; then echo "FAIL: the form did not show"; cat "$work/err.txt"; exit 1; fi
if ! DISPLAY="$display" xdotool search --sync --onlyvisible --name "Menus demo" >/dev/null 2>&1; then
  echo "FAIL: no visible window named 'Menus demo'"; exit 1
fi
read -r _ x y <<<"$pos"
sleep 0.3

# The menu bar: a click on File opens its drop-down, a click on New runs it.
bar="$(grep -m1 '^BAR ' "$work/out.txt" 2>/dev/null || true)"
if [[ -z "$bar" ]]; then echo "FAIL: the form told no menu bar item"; cat "$work/out.txt"; exit 1; fi
read -r _ bx by <<<"$bar"
DISPLAY="$display" xdotool mousemove "$bx" "$by"
sleep 0.2
DISPLAY="$display" xdotool click 1
drop=""
for _ in $(seq 1 50); do
  drop="$(grep -m1 '^DROPDOWN ' "$work/out.txt" 2>/dev/null || true)"
  [[ -n "$drop" ]] && break
  sleep 0.1
done
if [[ -z "$drop" ]]; then echo "FAIL: a click on the bar's File item opened no drop-down"; cat "$work/out.txt" "$work/err.txt"; exit 1; fi
read -r _ dx dy <<<"$drop"
sleep 0.3
DISPLAY="$display" xdotool mousemove "$dx" "$dy"
sleep 0.2
DISPLAY="$display" xdotool click 1
for _ in $(seq 1 50); do
  grep -q '^BARCHOSEN New' "$work/out.txt" && break
  sleep 0.1
done
if ! grep -q '^BARCHOSEN New' "$work/out.txt"; then
  echo "FAIL: a click on the drop-down's New item ran no handler"; cat "$work/out.txt" "$work/err.txt"; exit 1
fi
sleep 0.3

DISPLAY="$display" xdotool mousemove "$x" "$y"
sleep 0.2
DISPLAY="$display" xdotool click 3
for _ in $(seq 1 50); do
  grep -q '^POPUP' "$work/out.txt" && break
  sleep 0.1
done
if ! grep -q '^POPUP' "$work/out.txt"; then echo "FAIL: the right click opened no menu"; cat "$work/out.txt" "$work/err.txt"; exit 1; fi
sleep 0.3
# Down to "Open", past the separator to "Save", then "Close"; Return chooses it.
for key in Down Down Down Return; do
  DISPLAY="$display" xdotool key "$key"
  sleep 0.15
done
for _ in $(seq 1 100); do
  kill -0 "$demo_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$demo_pid" 2>/dev/null; then echo "FAIL: no item was chosen"; cat "$work/out.txt"; exit 1; fi
wait "$demo_pid"; status=$?; demo_pid=""
if [[ $status -ne 0 ]] || ! grep -q '^CHOSEN Close' "$work/out.txt"; then
  echo "FAIL: demo ended with $status"; cat "$work/out.txt" "$work/err.txt"; exit 1
fi
echo "OK: the bar's drop-down opened at $bx,$by and ran its item; the pop-up menu opened at $x,$y on $display and the keyboard chose its item"
