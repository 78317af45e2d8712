#!/usr/bin/env bash
# End-to-end check of the toolbar customizer in a real X11 window under a
# window manager: starts Xvfb, openbox and the customizer demonstration with a
# fresh layout file; clicks the form (so that it holds the focus), then the
# toolbar's right handle (its option indicator), moves the pointer onto the
# popup's "Options" entry and clicks the "Customize" entry of the window that
# opens beside it, which opens the customizer dialog; drags the "Print"
# command onto the toolbar list with xdotool, presses OK and expects the
# layout to be applied; starts the demo again on the same file and expects
# the new "Print" button on the toolbar. The toolbar's drag grip is never
# pressed (its drag loop would hold the pointer).
#   customizer_xvfb.sh <demo-executable>
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
failed() { echo "FAIL: $*"; cat "$work/out.txt" "$work/err.txt" 2>/dev/null; exit 1; }

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
ini="$work/layout.ini"
start_demo() {
  x env QT_QPA_PLATFORM=xcb "$demo" "$ini" --timeout-ms 60000 >"$work/out.txt" 2>"$work/err.txt" &
  demo_pid=$!
  e2e_track "$demo_pid"
  form="$(wait_for_line "$work/out.txt" '^FORM ' 100)" || failed "the form did not show"
  [[ -n "$(find_window "Customizer demo" 20)" ]] || failed "no visible window named 'Customizer demo'"
}
stop_demo() {
  x xdotool key F4
  demo_ended() { ! kill -0 "$demo_pid" 2>/dev/null; }
  wait_until 100 demo_ended || failed "the demo did not end on F4"
  wait "$demo_pid"; local status=$?; e2e_untrack "$demo_pid"
  [[ $status -eq 0 ]] || failed "the demo ended with $status"
}
# Presses at $1,$2 and releases at $3,$4, moving in steps as a hand would;
# each step waits until the pointer is there.
drag() {
  x xdotool mousemove "$1" "$2"
  wait_until 50 pointer_at "$1" "$2" || return 1
  x xdotool mousedown 1
  local i tx ty
  for i in 1 2 3 4 5 6; do
    tx=$(($1 + ($3 - $1) * i / 6)); ty=$(($2 + ($4 - $2) * i / 6))
    x xdotool mousemove "$tx" "$ty"
    wait_until 50 pointer_at "$tx" "$ty" || return 1
  done
  x xdotool mouseup 1
}

start_demo
grep -q '^CONTROL ZADEDEVAZIBUTTON' "$work/out.txt" && failed "a fresh layout file already holds a new button"
read -r _ fx fy <<<"$form"
read -r _ ix iy <<<"$(wait_for_line "$work/out.txt" '^INDICATOR ' 10)"
[[ -n "${ix:-}" ]] || failed "the demo told no option indicator"
# A click on the form's empty part gives it the focus, as a user's would:
# the popup then has a focus to give back when it closes.
click_at "$fx" "$fy" || failed "the pointer did not reach the form"
form_active() { x xdotool getactivewindow getwindowname 2>/dev/null | grep -q '^Customizer demo$'; }
wait_until 50 form_active || failed "the form did not take the focus"
click_at "$ix" "$iy" || failed "the pointer did not reach the option indicator"
options="$(wait_for_line "$work/out.txt" '^OPTIONS ' 50)" || failed "the option indicator opened no option popup"
read -r _ ox oy <<<"$options"
# Onto the Options entry from its left, as a hand would come: the window with
# the Customize entry opens beside it.
x xdotool mousemove $((ox - 8)) "$oy"
wait_until 50 pointer_at $((ox - 8)) "$oy" || failed "the pointer did not reach the option popup"
x xdotool mousemove "$ox" "$oy"
customize="$(wait_for_line "$work/out.txt" '^CUSTOMIZE ' 50)" || failed "the Options entry opened no Customize entry"
read -r _ cx cy <<<"$customize"
# Along the entry's row to the Customize entry, then a click on it.
x xdotool mousemove $(((ox + cx) / 2)) "$oy"
wait_until 50 pointer_at $(((ox + cx) / 2)) "$oy" || failed "the pointer did not follow"
x xdotool mousemove "$cx" "$cy"
wait_until 50 pointer_at "$cx" "$cy" || failed "the pointer did not reach the Customize entry"
# The entry lights up once its window gets the pointer's input: click then.
wait_for_line "$work/out.txt" '^HOT$' 50 >/dev/null || failed "the Customize entry did not light up under the pointer"
x xdotool click 1
wait_for_line "$work/out.txt" '^DIALOG' 50 >/dev/null || failed "the Customize entry showed no customizer dialog"
[[ -n "$(find_window "^Customizer$" 20)" ]] || failed "no visible window named 'Customizer'"
read -r _ mx my <<<"$(wait_for_line "$work/out.txt" '^COMMAND ' 10)"
read -r _ tx ty <<<"$(wait_for_line "$work/out.txt" '^TARGET ' 10)"
read -r _ kx ky <<<"$(wait_for_line "$work/out.txt" '^OK ' 10)"
note "dialog shows; dragging the command at $mx,$my onto the list at $tx,$ty"
wait_for_line "$work/out.txt" '^ENTRIES Open\|Save$' 20 >/dev/null || failed "the toolbar list does not hold Open and Save"
drag "$mx" "$my" "$tx" "$ty" || failed "the pointer did not follow the drag"
wait_for_line "$work/out.txt" '^ENTRIES Open\|Print\|Save$' 50 >/dev/null ||
  failed "the dragged command did not join the toolbar list after the selected entry"
click_at "$kx" "$ky"
wait_for_line "$work/out.txt" '^CLOSED' 50 >/dev/null || failed "OK did not close the dialog"
wait_for_line "$work/out.txt" '^POSTED' 10 >/dev/null || failed "OK applied nothing"
wait_for_line "$work/out.txt" '^AFTER ZADEDEVAZIBUTTON1 Print' 10 >/dev/null || failed "the toolbar has no Print button after OK"
grep -q '^ToolBarItemCount=3' "$ini" || failed "the layout file holds no three items: $(cat "$ini")"
stop_demo

start_demo
wait_for_line "$work/out.txt" '^TOOLBAR ' 10 >/dev/null || failed "the demo told no toolbar"
names="$(sed -n 's/^CONTROL \([^ ]*\).*/\1/p' "$work/out.txt" | paste -sd' ')"
[[ "$names" == "Open ZADEDEVAZIBUTTON1 Save" ]] || failed "after the restart the toolbar holds: $names"
grep -q '^CONTROL ZADEDEVAZIBUTTON1 Print$' "$work/out.txt" || failed "the new button lost its caption"
stop_demo
echo "OK: the option popup led to the customizer with the pointer on $display, the dragged command became a toolbar button and stayed after a restart"
