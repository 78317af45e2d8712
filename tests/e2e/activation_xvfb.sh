#!/usr/bin/env bash
# End-to-end check of activation across programs under a window manager:
# starts Xvfb and openbox, then two instances of the grip demonstration form
# side by side; clicking the second must deactivate the first (another
# program took the focus), clicking the first again must activate it and
# deactivate the second.
#   activation_xvfb.sh <demo-executable>
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
a_pid=""
b_pid=""
cleanup() {
  [[ -n "$a_pid" ]] && kill "$a_pid" 2>/dev/null
  [[ -n "$b_pid" ]] && kill "$b_pid" 2>/dev/null
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
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 30000 --left 20 >"$work/a.txt" 2>"$work/a.err" &
a_pid=$!

# The last activation line of an instance's output.
last_state() { grep -E '^(ACTIVATE|DEACTIVATE)$' "$work/$1.txt" 2>/dev/null | tail -n1; }
# Waits until the instance's last activation line is the given one.
wait_state() {
  local _
  for _ in $(seq 1 50); do
    [[ "$(last_state "$1")" == "$2" ]] && return 0
    sleep 0.1
  done
  return 1
}
# Waits for an instance to show; prints its client area's middle.
middle_of() {
  local line _ x y w h
  for _ in $(seq 1 50); do
    line="$(grep -E '^FORM ' "$work/$1.txt" 2>/dev/null | tail -n1)"
    if [[ -n "$line" ]]; then
      read -r _ x y w h _ <<<"$line"
      echo "$((x + w / 2)) $((y + h / 2))"
      return 0
    fi
    sleep 0.1
  done
  return 1
}
click() {
  DISPLAY="$display" xdotool mousemove "$1" "$2"
  sleep 0.2
  DISPLAY="$display" xdotool click 1
}

if ! a_at="$(middle_of a)"; then echo "FAIL: the first form did not show"; cat "$work/a.err"; exit 1; fi
# shellcheck disable=SC2086
click $a_at
if ! wait_state a ACTIVATE; then echo "FAIL: the first form was not activated by a click"; exit 1; fi

DISPLAY="$display" QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 30000 --left 500 >"$work/b.txt" 2>"$work/b.err" &
b_pid=$!
if ! b_at="$(middle_of b)"; then echo "FAIL: the second form did not show"; cat "$work/b.err"; exit 1; fi
sleep 0.3
# shellcheck disable=SC2086
click $b_at
if ! wait_state b ACTIVATE; then echo "FAIL: the second form was not activated by a click"; exit 1; fi
if ! wait_state a DEACTIVATE; then
  echo "FAIL: the first form stayed active while another program had the focus"; cat "$work/a.txt"; exit 1
fi

# shellcheck disable=SC2086
click $a_at
if ! wait_state a ACTIVATE; then echo "FAIL: the first form was not activated again"; cat "$work/a.txt"; exit 1; fi
if ! wait_state b DEACTIVATE; then echo "FAIL: the second form stayed active"; cat "$work/b.txt"; exit 1; fi
echo "PASS"
