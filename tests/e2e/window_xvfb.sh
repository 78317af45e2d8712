#!/usr/bin/env bash
# End-to-end check of the main window under Xvfb with a window manager
# (openbox): a device path typed into the port box arrives whole; the window
# moved by the window manager opens at its new place at the next start, and
# the typed port is remembered.
#   window_xvfb.sh <ryxupdater> <webupdate_servers.py>
# Exit 77 (skipped) only when a tool is missing or Xvfb cannot start.
set -u
program="$(realpath "$1")"
servers="$(realpath "$2")"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=xvfb_lib.sh
source "$here/xvfb_lib.sh"
require_tools Xvfb xdotool xdpyinfo xprop xwininfo openbox timeout python3 import
e2e_begin
fail() {
  echo "FAIL: $*"
  for f in app.out app.err wm.err; do [[ -s "$work/$f" ]] && { echo "--- $f"; tail -n 30 "$work/$f"; }; done
  exit 1
}
start_xvfb

export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_STATE_HOME="$HOME/.local/state" XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$TMPDIR"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
# The start-up check finds the program current on a loopback server (no box to answer).
mkdir -p "$work/srv"
start_web_server "$servers" "$work/srv" || fail "the HTTP server did not start"
printf '[update]\r\nsignature=WebUpdate\r\nnewversion=1.0.0.7\r\nlocalversion=%s\r\n' "$program" >"$work/srv/upd.inf"
export RYX_UPDATE_URL="http://127.0.0.1:$srv_port/files/upd.inf"

start_window_manager

title='^RYX-VORira UPDATE   ver: 1\.0\.0\.7$'
# The window's place and size on the screen (inside the window manager's frame).
geometry() { read -r X Y WIDTH HEIGHT <<<"$(client_geometry "$wid")"; }
px() { python3 "$here/pixels.py" "$@"; }
shot() { x timeout 20 import -window "$wid" -depth 8 "ppm:$1" 2>>"$work/import.err"; }
# The start-up check has ended once status panel 1 (208,146 to the window's
# right edge; the inside of its frame) shows its answer.
check_ended() { shot "$work/panel.ppm" && [[ "$(px count ink "$work/panel.ppm" 208 148 519 165)" -gt 20 ]]; }
start_program() {
  x env QT_QPA_PLATFORM=xcb "$program" >"$work/app.out" 2>"$work/app.err" &
  app_pid=$!
  e2e_track "$app_pid"
  wid="$(x timeout 30 xdotool search --sync --onlyvisible --name "$title" 2>/dev/null | head -n1)"
  [[ -n "$wid" ]] || fail "no visible main window"
  wait_within 30 check_ended || fail "status panel 1 shows no answer of the start-up check"
  # Placed by the window manager: the same place in two polls in a row.
  _e2e_last_geometry=""
  wait_until 50 window_steady "$wid" || fail "the window did not come to rest"
}
stop_program() {
  # The window manager's close (Alt+F4), as a user closes the window.
  x xdotool windowactivate --sync "$wid" 2>/dev/null
  x xdotool key --clearmodifiers alt+F4
  program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
  wait_until 100 program_ended || fail "the program did not end when its window was closed"
  wait "$app_pid" 2>/dev/null
  e2e_untrack "$app_pid"
  app_pid=""
}

start_program
geometry
first_x=$X first_y=$Y
# The port box: group box at 85,75, the box at 46,23 inside it, 75 x 21 with
# its edit line left of the drop-down button.
click_at "$((X + 150))" "$((Y + 108))" || fail "the pointer did not reach the port box"
wait_until 50 window_focused "$wid" || fail "the window did not get the keyboard focus"
edit_ink() { shot "$work/box.ppm" && px count ink "$work/box.ppm" 133 100 181 117; }
edit_hash() { shot "$work/box.ppm" && px hash "$work/box.ppm" 133 100 181 117; }
com1_ink="$(edit_ink)" com1_hash="$(edit_hash)"
x xdotool key --clearmodifiers ctrl+a BackSpace
x xdotool type --delay 60 "/dev/ttyUSB0"
# The keys reach the program before anything later sent to its window (the
# move, the close); the box showing other text at least as long as COM1
# tells they went to it. The stored port below tells they arrived whole.
typed_shown() { [[ "$(edit_hash)" != "$com1_hash" && "$(edit_ink)" -ge "$com1_ink" ]]; }
wait_until 50 typed_shown || fail "the port box does not show the typed text"
# Moved by the window manager, as a user drags the title bar.
to_x=$((first_x > 150 ? first_x - 120 : first_x + 120))
to_y=$((first_y > 150 ? first_y - 90 : first_y + 90))
x xdotool windowmove "$wid" "$to_x" "$to_y"
window_moved() { geometry; [[ "$X" -ne "$first_x" || "$Y" -ne "$first_y" ]]; }
wait_until 50 window_moved || fail "the window manager did not move the window"
_e2e_last_geometry=""
wait_until 50 window_steady "$wid" || fail "the moved window did not come to rest"
geometry
moved_x=$X moved_y=$Y
stop_program

hive="$XDG_CONFIG_HOME/RyxUpdater/registry/HKEY_CURRENT_USER.reg"
# The hive keeps strings as UTF-16 in hexadecimal, with their terminating zero.
port_hex="$(printf '/dev/ttyUSB0' | python3 -c 'import sys; print(sys.stdin.read().encode("utf-16-le").hex())')0000"
grep -q "comPort $port_hex\$" "$hive" || { cat "$hive"; fail "the typed port did not arrive whole"; }

start_program
geometry
if [[ $((X - moved_x)) -lt -2 || $((X - moved_x)) -gt 2 || $((Y - moved_y)) -lt -2 || $((Y - moved_y)) -gt 2 ]]; then
  fail "the window opened at $X,$Y, not where it was moved ($moved_x,$moved_y; first $first_x,$first_y)"
fi
stop_program
echo "OK: typed /dev/ttyUSB0 arrived; window moved to $moved_x,$moved_y and reopened there"
