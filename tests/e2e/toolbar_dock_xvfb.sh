#!/usr/bin/env bash
# End-to-end check of toolbar docking under a window manager: starts Xvfb and
# openbox, then the dock demonstration form (a dock panel with four toolbars
# in two rows). With xdotool it drags a toolbar by its grip from the first
# row into the second, tears it off below the panel, moves its floating
# window by the caption and docks it again by dragging the caption back onto
# a row; then tears off another toolbar and leaves it floating, closes the form (the window manager's Alt+F4),
# starts it again and expects the same layout from the INI file it saved
# (rows and places of the docked toolbars, the floating one floating at its
# place on the screen).
#   toolbar_dock_xvfb.sh <demo-executable>
# Exit 77 (skipped) when Xvfb cannot start or a tool is missing.
set -u
demo="$1"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=xvfb_lib.sh
source "$here/xvfb_lib.sh"
require_tools Xvfb xdotool xdpyinfo openbox xprop
e2e_begin
start_xvfb
start_window_manager
failed() { echo "FAIL: $*"; echo "--- output"; cat "$work/out.txt"; echo "--- errors"; cat "$work/err.txt"; exit 1; }

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
ini="$work/layout.ini"
start_demo() {
  : >"$work/out.txt"
  x env QT_QPA_PLATFORM=xcb "$demo" "$ini" --timeout-ms 90000 >"$work/out.txt" 2>"$work/err.txt" &
  demo_pid=$!
  e2e_track "$demo_pid"
  wait_for_line "$work/out.txt" '^LAYOUT ' 150 >/dev/null || failed "the form did not tell its layout"
  wid="$(find_window '^ToolBar dock demo$' 20)"
  [[ -n "$wid" ]] || failed "no visible window named 'ToolBar dock demo'"
}
stop_demo() {
  x xdotool windowactivate --sync "$wid" 2>/dev/null
  x xdotool key --clearmodifiers alt+F4
  demo_ended() { ! kill -0 "$demo_pid" 2>/dev/null; }
  wait_until 150 demo_ended || failed "the demo did not end when its window was closed"
  wait "$demo_pid"; local status=$?
  e2e_untrack "$demo_pid"
  [[ $status -eq 0 ]] || failed "the demo ended with $status"
  grep -q '^SAVED' "$work/out.txt" || failed "the demo did not save its layout"
}

last_layout() { grep '^LAYOUT ' "$work/out.txt" | tail -n1; }
last_panel() { grep '^PANEL ' "$work/out.txt" | tail -n1; }
# The fields of toolbar $1 in the last layout: state row x y w h gx gy.
bar() { last_layout | tr ' ' '\n' | grep "^$1," | cut -d, -f2- | tr ',' ' '; }
bar_is() {  # name state [row]
  local f
  read -r -a f <<<"$(bar "$1")"
  [[ "${f[0]:-}" == "$2" ]] || return 1
  [[ -z "${3:-}" || "${f[1]}" == "$3" ]]
}
dragging() { [[ "$(grep -E '^(DRAGGING|DROPPED)' "$work/out.txt" | tail -n1)" == "DRAGGING $1" ]]; }
dropped() { [[ "$(grep -E '^(DRAGGING|DROPPED)' "$work/out.txt" | tail -n1)" == "DROPPED" ]]; }
# Drags toolbar $1 from its grab point to $2,$3 in steps, each step once the
# pointer is there; the drag must have begun before the pointer moves.
drag_bar() {
  local f fx fy i tx ty
  read -r -a f <<<"$(bar "$1")"
  fx="${f[6]}" fy="${f[7]}"
  x xdotool mousemove "$fx" "$fy"
  wait_until 50 pointer_at "$fx" "$fy" || failed "the pointer did not reach $1's grip"
  x xdotool mousedown 1
  wait_until 50 dragging "$1" || { x xdotool mouseup 1; failed "pressing $1 at $fx,$fy began no drag"; }
  for i in 1 2 3 4 5 6; do
    tx=$((fx + ($2 - fx) * i / 6)) ty=$((fy + ($3 - fy) * i / 6))
    x xdotool mousemove "$tx" "$ty"
    wait_until 50 pointer_at "$tx" "$ty" || failed "the pointer did not reach $tx,$ty"
  done
  x xdotool mouseup 1
  wait_until 50 dropped || failed "the drag of $1 did not end"
}

rm -f "$ini"
start_demo
read -r -a a <<<"$(bar Alpha)"; read -r -a b <<<"$(bar Beta)"
read -r -a g <<<"$(bar Gamma)"; read -r -a d <<<"$(bar Delta)"
[[ "${a[1]} ${b[1]} ${g[1]} ${d[1]}" == "0 0 1 1" ]] || failed "the toolbars do not start in two rows: $(last_layout)"
note "start: $(last_layout)"

# Beta from the first row into the second, right of Delta.
drag_bar Beta $((d[2] + d[4] + 30)) $((d[3] + d[5] / 2))
wait_until 50 bar_is Beta docked 1 || failed "Beta did not move to the second row: $(last_layout)"
note "moved: $(last_layout)"

# Torn off below the panel.
read -r _ px py pw ph <<<"$(last_panel)"
drag_bar Beta $((px + 200)) $((py + ph + 90))
wait_until 50 bar_is Beta floating || failed "Beta did not float: $(last_layout)"
read -r -a b <<<"$(bar Beta)"
note "floating: $(last_layout)"

# The floating window moved by its caption.
drag_bar Beta $((b[6] + 60)) $((b[7] + 40))
moved_by() {
  local f
  read -r -a f <<<"$(bar Beta)"
  [[ "${f[0]}" == floating ]] && (( f[2] >= b[2] + 57 && f[2] <= b[2] + 63 && f[3] >= b[3] + 37 && f[3] <= b[3] + 43 ))
}
wait_until 50 moved_by || failed "Beta's window did not follow its caption by 60,40: $(last_layout) (was ${b[*]})"

# Docked again by dragging its caption back onto the first row, right of
# Alpha: the window the press went to goes mid-drag, and the release must
# still end the drag.
read -r -a a <<<"$(bar Alpha)"
drag_bar Beta $((a[2] + a[4] + 40)) $((a[3] + a[5] / 2))
wait_until 50 bar_is Beta docked 0 || failed "Beta did not dock again on the first row: $(last_layout)"
note "docked: $(last_layout)"

# Delta left floating for the restart.
read -r _ px py pw ph <<<"$(last_panel)"
drag_bar Delta $((px + 300)) $((py + ph + 120))
wait_until 50 bar_is Delta floating || failed "Delta did not float: $(last_layout)"

# The layout against the panel (docked) or the screen (floating).
relative() {
  local panel layout px py
  panel="$(last_panel)" layout="$(last_layout)"
  read -r _ px py _ _ <<<"$panel"
  tr ' ' '\n' <<<"${layout#LAYOUT }" | while IFS=, read -r n s r tx ty w h _; do
    if [[ "$s" == docked ]]; then echo "$n $s $r $((tx - px)) $((ty - py)) $w $h"; else echo "$n $s $r $tx $ty $w $h"; fi
  done
}
# Layouts $1 and $2 alike: docked toolbars exactly, a floating window at its
# screen place within 3 pixels (what the window manager may add).
alike() {
  local -a x y
  local i
  mapfile -t x <<<"$1"
  mapfile -t y <<<"$2"
  (( ${#x[@]} == ${#y[@]} )) || return 1
  for i in "${!x[@]}"; do
    local -a f g
    read -r -a f <<<"${x[i]}"
    read -r -a g <<<"${y[i]}"
    if [[ "${f[1]}" == floating ]]; then
      [[ "${f[*]:0:3} ${f[*]:5}" == "${g[*]:0:3} ${g[*]:5}" ]] || return 1
      (( f[3] >= g[3] - 3 && f[3] <= g[3] + 3 && f[4] >= g[4] - 3 && f[4] <= g[4] + 3 )) || return 1
    else
      [[ "${x[i]}" == "${y[i]}" ]] || return 1
    fi
  done
}
before="$(relative)"
note "before the restart: $(last_layout)"
stop_demo

start_demo
same() { alike "$(relative)" "$before"; }
wait_until 50 same || failed "the layout came back otherwise:
$(relative)
expected:
$before"
stop_demo
echo "PASS: moved between rows, torn off, moved, docked again, and the layout survived a restart"
