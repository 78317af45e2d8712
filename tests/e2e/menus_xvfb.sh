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
require_tools Xvfb xdotool xdpyinfo comm
e2e_begin
start_xvfb
failed() { echo "FAIL: $*"; cat "$work/out.txt" "$work/err.txt"; exit 1; }

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
x env QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 30000 >"$work/out.txt" 2>"$work/err.txt" &
demo_pid=$!
e2e_track "$demo_pid"
pos="$(wait_for_line "$work/out.txt" '^FORM ' 100)" || failed "the form did not show"
[[ -n "$(find_window "Menus demo" 20)" ]] || failed "no visible window named 'Menus demo'"
read -r _ fx fy <<<"$pos"

# The menu bar: a click on File opens its drop-down, a click on New runs it.
bar="$(wait_for_line "$work/out.txt" '^BAR ' 50)" || failed "the form told no menu bar item"
read -r _ bx by <<<"$bar"
before="$(shown_windows)"
click_at "$bx" "$by"
drop="$(wait_for_line "$work/out.txt" '^DROPDOWN ' 50)" || failed "a click on the bar's File item opened no drop-down"
wait_new_window "$before" 50 || failed "File's drop-down did not show"
read -r _ dx dy <<<"$drop"
click_at "$dx" "$dy"
wait_for_line "$work/out.txt" '^BARCHOSEN New' 50 >/dev/null || failed "a click on the drop-down's New item ran no handler"
closed() { [[ "$(shown_windows)" == "$before" ]]; }
wait_until 50 closed || failed "the drop-down did not close after its item ran"

# The pop-up menu: a right click opens it; the keyboard goes to it once it shows.
click_at "$fx" "$fy" 3
wait_for_line "$work/out.txt" '^POPUP' 50 >/dev/null || failed "the right click opened no menu"
wait_new_window "$before" 50 || failed "the pop-up menu did not show"
# Down to "Open", past the separator to "Save", then "Close"; Return chooses it.
x xdotool key --delay 100 Down Down Down Return
demo_ended() { ! kill -0 "$demo_pid" 2>/dev/null; }
wait_until 100 demo_ended || failed "no item was chosen"
wait "$demo_pid"; status=$?; e2e_untrack "$demo_pid"
if [[ $status -ne 0 ]] || ! grep -q '^CHOSEN Close' "$work/out.txt"; then failed "demo ended with $status"; fi
echo "OK: the bar's drop-down opened at $bx,$by and ran its item; the pop-up menu opened at $fx,$fy on $display and the keyboard chose its item"
