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
require_tools Xvfb xdotool xdpyinfo xwininfo openbox
e2e_begin
start_xvfb
start_window_manager

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# Starts instance $1 (output in $work/$1.txt) at left edge $2; sets ${1}_pid,
# the program's own (its windows carry it).
start_instance() {
  DISPLAY="$display" QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 30000 --left "$2" >"$work/$1.txt" 2>"$work/$1.err" &
  printf -v "${1}_pid" '%s' "$!"
  e2e_track "$!"
}

# The last activation line of an instance's output.
last_state() { grep -E '^(ACTIVATE|DEACTIVATE)$' "$work/$1.txt" 2>/dev/null | tail -n1; }
# Waits until the instance's last activation line is the given one.
state_is() { [[ "$(last_state "$1")" == "$2" ]]; }
wait_state() { wait_until 50 state_is "$1" "$2"; }
# Waits until instance $1 shows its window and the form's idea of its grip
# (6 pixels in from the client area's bottom right corner) is where the
# window is on the screen; prints its client area's middle.
middle_of() {
  local pid_var="${1}_pid" wid line
  wid="$(x timeout 20 xdotool search --sync --onlyvisible --pid "${!pid_var}" 2>/dev/null | head -n1)"
  [[ -n "$wid" ]] || return 1
  instance_shown() {
    local cx cy cw ch _x _y _w _h gx gy
    line="$(grep -E '^(FORM|BOUNDS) ' "$work/$1.txt" 2>/dev/null | tail -n1)"
    [[ -n "$line" ]] || return 1
    read -r _ _x _y _w _h gx gy <<<"$line"
    read -r cx cy cw ch <<<"$(client_geometry "$wid")"
    [[ -n "$ch" ]] && (( gx == cx + cw - 6 && gy == cy + ch - 6 ))
  }
  wait_until 50 instance_shown "$1" || return 1
  local cx cy cw ch
  read -r cx cy cw ch <<<"$(client_geometry "$wid")"
  echo "$((cx + cw / 2)) $((cy + ch / 2))"
}

start_instance a 20
if ! a_at="$(middle_of a)"; then echo "FAIL: the first form did not show"; cat "$work/a.err"; exit 1; fi
# shellcheck disable=SC2086
click_at $a_at
if ! wait_state a ACTIVATE; then echo "FAIL: the first form was not activated by a click"; exit 1; fi

start_instance b 500
if ! b_at="$(middle_of b)"; then echo "FAIL: the second form did not show"; cat "$work/b.err"; exit 1; fi
# shellcheck disable=SC2086
click_at $b_at
if ! wait_state b ACTIVATE; then echo "FAIL: the second form was not activated by a click"; exit 1; fi
if ! wait_state a DEACTIVATE; then
  echo "FAIL: the first form stayed active while another program had the focus"; cat "$work/a.txt"; exit 1
fi

# shellcheck disable=SC2086
click_at $a_at
if ! wait_state a ACTIVATE; then echo "FAIL: the first form was not activated again"; cat "$work/a.txt"; exit 1; fi
if ! wait_state b DEACTIVATE; then echo "FAIL: the second form stayed active"; cat "$work/b.txt"; exit 1; fi
echo "PASS"
