#!/usr/bin/env bash
# End-to-end check of the minimised ribbon on a borderless form under a
# window manager: starts Xvfb and openbox, then the demonstration form;
# double-clicks the active tab and expects the ribbon minimised, clicks
# another tab and expects that page floating in a window of its own right
# under the tab row, then clicks elsewhere on the form and expects the
# floating page gone: hidden, its window off the display and freed.
#   ribbon_minimize_xvfb.sh <demo-executable>
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
x env QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 60000 >"$work/out.txt" 2>"$work/err.txt" &
e2e_track "$!"

out="$work/out.txt"
last() { grep -E "^$1( |$)" "$out" 2>/dev/null | tail -n1; }
count() { grep -c -E "^$1( |$)" "$out" 2>/dev/null; }
has_line() { grep -q -E -- "$1" "$out" 2>/dev/null; }
last_is() { [[ "$(last "$1")" == "$2" ]]; }
# Nothing floats (never did, or the last word was that it went).
not_floating() { local l; l="$(last FLOATING)"; [[ -z "$l" || "$l" == "FLOATING 0" ]]; }
# No floating-page window exists (never did, or all were freed).
no_windows() { local l; l="$(last WINDOWS)"; [[ -z "$l" || "$l" == "WINDOWS 0" ]]; }
fail() { echo "FAIL: $*"; echo "--- demo output"; cat "$out"; echo "--- demo errors"; tail -n 20 "$work/err.txt"; exit 1; }

wait_until 100 has_line '^FORM ' || fail "the form did not show"
wait_until 50 has_line '^ELSEWHERE ' || fail "no tab places"
tab_point() { last "TAB $1" | awk '{print $3, $4}'; }

# Double click on the active tab: the ribbon minimises.
read -r tx ty <<<"$(tab_point 0)"
x xdotool mousemove "$tx" "$ty"
wait_until 50 pointer_at "$tx" "$ty" || fail "the pointer did not reach tab 0"
x xdotool click --repeat 2 --delay 80 1
wait_until 50 last_is EXPANDED "EXPANDED 0" || fail "a double click on the active tab did not minimise the ribbon"
note "minimised"
# Expanded when it was pressed, the ribbon floats nothing now.
wait_until 20 not_floating || fail "the page floats after the double click"
wait_until 20 no_windows || fail "a floating-page window outlived the double click"

# A click on another tab shows its page floating in a window of its own.
before="$(shown_windows)"
read -r tx ty <<<"$(tab_point 1)"
click_at "$tx" "$ty" || fail "the pointer did not reach tab 1"
wait_until 50 has_line '^FLOATING 1 ' || fail "a click on a tab of the minimised ribbon floated no page"
read -r _ _ wx wy ww wh <<<"$(last FLOATING)"
wait_new_window "$before" 50 || fail "the floating page has no window on the display"
popup="$(comm -13 <(printf '%s\n' "$before") <(shown_windows) | head -n1)"
popup_at() { [[ "$(client_geometry "$popup")" == "$wx $wy $ww $wh" ]]; }
wait_until 50 popup_at || fail "the floating page's window is at $(client_geometry "$popup"), the pager put it at $wx $wy $ww $wh"
(( wy >= ty )) || fail "the floating page ($wy) is not below the tab row ($ty)"
last_is EXPANDED "EXPANDED 0" || fail "clicking a tab expanded the ribbon"
note "floating at $wx $wy $ww $wh"

# A click elsewhere on the form takes it away.
read -r _ ex ey <<<"$(last ELSEWHERE)"
click_at "$ex" "$ey" || fail "the pointer did not reach the form below the pager"
wait_until 50 not_floating || fail "the floating page stayed after a click elsewhere"
popup_gone() { [[ -z "$(shown_windows | grep -x -- "$popup")" ]]; }
wait_until 50 popup_gone || fail "the floating page's window is still on the display"
wait_until 50 has_line '^WINDOWS 1' || fail "the floating page's window was never told of"
wait_until 50 no_windows || fail "the floating page's window was hidden but never freed"
last_is EXPANDED "EXPANDED 0" || fail "the click elsewhere expanded the ribbon"
echo "PASS"
