#!/usr/bin/env bash
# End-to-end check of the controls layer in a real X11 window: starts Xvfb on
# a free display, starts the demonstration form, clicks its button with
# xdotool and expects the click to reach the control.
#   controls_xvfb.sh <demo-executable>
# Exit 77 (skipped) only when Xvfb cannot start.
set -u
demo="$1"
for tool in Xvfb xdotool xdpyinfo; do
  if ! command -v "$tool" >/dev/null; then echo "SKIP: $tool is not installed"; exit 77; fi
done
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

display=""
for n in $(seq 90 140); do
  [[ -e "/tmp/.X${n}-lock" || -e "/tmp/.X11-unix/X${n}" ]] && continue
  Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 50); do
    if xdpyinfo -display ":$n" >/dev/null 2>&1; then display=":$n"; break; fi
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  [[ -n "$display" ]] && break
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=""
done
if [[ -z "$display" ]]; then
  echo "SKIP: Xvfb could not start on any display :90..:140"; cat "$work/xvfb.log" 2>/dev/null; exit 77
fi

here="$(cd "$(dirname "$0")" && pwd)"
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
