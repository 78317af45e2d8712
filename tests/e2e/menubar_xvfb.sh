#!/usr/bin/env bash
# End-to-end check of a toolbar working as an MDI frame's menu bar, in a real
# X11 window under a window manager: Alt+F opens File's menu from the
# toolbar, Right moves to Edit's menu, Down and Return run Edit's second
# item (each key once the demo told that the previous one took effect); a double click on the MDI child's caption maximises it and the
# child's minimise, restore and close buttons show at the bar's far end
# (told by the bar's painting and seen in the screen's pixels); a click on
# the bar's restore button restores the child and the buttons go.
#   menubar_xvfb.sh <demo-executable>
# Exit 77 (skipped) when Xvfb cannot start or a tool is missing.
set -u
demo="$1"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=xvfb_lib.sh
source "$here/xvfb_lib.sh"
require_tools Xvfb xdotool xdpyinfo openbox xprop import python3
e2e_begin
start_xvfb
start_window_manager
failed() { echo "FAIL: $*"; echo "--- output"; cat "$work/out.txt"; echo "--- errors"; cat "$work/err.txt"; exit 1; }

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
x env QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 60000 >"$work/out.txt" 2>"$work/err.txt" &
demo_pid=$!
e2e_track "$demo_pid"
ready="$(wait_for_line "$work/out.txt" '^READY ' 150)" || failed "the form did not show"
wid="$(find_window '^MenuBar demo$' 20)"
[[ -n "$wid" ]] || failed "no visible window named 'MenuBar demo'"
read -r _ cx cy <<<"$ready"
x xdotool windowactivate --sync "$wid" 2>/dev/null
window_focused_now() { window_focused "$wid"; }
wait_until 50 window_focused_now || failed "the form did not take the keyboard focus"

said() { grep -q -E -- "$1" "$work/out.txt"; }
# The bar's menus from the keyboard.
# Each key once the menu is where the previous one left it.
x xdotool key alt+f
wait_until 50 said '^OPEN File$' || failed "Alt+F did not open File's menu from the toolbar"
wait_until 50 said '^SELECTED New$' || failed "File's menu did not open with its first item selected"
note "File open"
x xdotool key Right
wait_until 50 said '^OPEN Edit$' || failed "Right did not move to Edit's menu"
wait_until 50 said '^SELECTED Cut$' || failed "Edit's menu did not open with its first item selected"
note "Edit open"
x xdotool key Down
wait_until 50 said '^SELECTED Copy$' || failed "Down did not move to Copy"
x xdotool key Return
wait_until 50 said '^CHOSEN Copy$' || failed "Return in Edit's menu did not run Copy"
note "Copy chosen"

# Maximised by a double click on its caption: its buttons show on the bar.
x xdotool mousemove "$cx" "$cy"
wait_until 50 pointer_at "$cx" "$cy" || failed "the pointer did not reach the child's caption"
x xdotool click --repeat 2 --delay 80 1
shown="$(wait_for_line "$work/out.txt" '^MDIBUTTONS shown ' 100)" || failed "maximising the child showed no buttons on the bar"
read -r _ _ x0 y0 x1 y1 <<<"$shown"
note "buttons at $x0,$y0-$x1,$y1"
# The close glyph is drawn there: ink in the button's middle.
x timeout 20 import -window root -depth 8 "ppm:$work/screen.ppm" 2>>"$work/err.txt" || failed "no picture of the screen"
ink="$(python3 "$here/pixels.py" count ink "$work/screen.ppm" $((x0 + 3)) $((y0 + 3)) $((x1 - 3)) $((y1 - 3)))"
(( ink >= 6 )) || failed "no close glyph at $x0,$y0-$x1,$y1 ($ink pixels of ink)"

# The bar's restore button (left of close) gives the child its place back.
rx=$((x0 - 1 - (x1 - x0) / 2)) ry=$(((y0 + y1) / 2))
click_at "$rx" "$ry" || failed "the pointer did not reach the restore button"
wait_until 100 said '^MDIBUTTONS hidden' || failed "the restore button did not restore the child"

x xdotool key --clearmodifiers alt+F4
demo_ended() { ! kill -0 "$demo_pid" 2>/dev/null; }
wait_until 150 demo_ended || failed "the demo did not end when its window was closed"
wait "$demo_pid"; status=$?; e2e_untrack "$demo_pid"
[[ $status -eq 0 ]] || failed "the demo ended with $status"
echo "PASS: Alt+F, Right and Return drove the toolbar's menus; the maximised child's buttons showed on the bar and restored it"
