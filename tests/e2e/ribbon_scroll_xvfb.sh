#!/usr/bin/env bash
# End-to-end check of the pager's own buttons on a narrow borderless form
# under a window manager: a row of ten tabs, four to a screen. A click on
# the right page scroll button shows the second screen; holding it scrolls
# on to the last screen by the repeat; the left button scrolls back screen
# by screen. The pager's maximize button maximizes the form and, pressed
# again, restores it; the help button clicks.
#   ribbon_scroll_xvfb.sh <demo-executable>
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

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
x env QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 60000 >"$work/out.txt" 2>"$work/err.txt" &
e2e_track "$!"

out="$work/out.txt"
last() { grep -E "^$1( |$)" "$out" 2>/dev/null | tail -n1; }
count() { grep -c -E "^$1( |$)" "$out" 2>/dev/null; }
has_line() { grep -q -E -- "$1" "$out" 2>/dev/null; }
last_is() { [[ "$(last "$1")" == "$1 $2" ]]; }
shown() { local l; l="$(last "$1")"; [[ -n "$l" && "$l" != "$1 -" ]]; }
fail() { echo "FAIL: $*"; echo "--- demo output"; cat "$out"; echo "--- demo errors"; tail -n 20 "$work/err.txt"; exit 1; }
point() { last "$1" | awk '{print $2, $3}'; }

wait_until 100 has_line '^FORM ' || fail "the form did not show"
wait_until 50 last_is SCROLL "0 0 2" || fail "ten tabs in a row of four are not three screens: $(last SCROLL)"
wait_until 50 shown RIGHT || fail "no right scroll button"
shown LEFT && fail "a left scroll button on the first screen"

read -r rx ry <<<"$(point RIGHT)"
click_at "$rx" "$ry" || fail "the pointer did not reach the right scroll button"
wait_until 50 last_is SCROLL "1 4 2" || fail "a click on the right button did not show the second screen: $(last SCROLL)"
wait_until 50 shown LEFT || fail "no left scroll button on the second screen"
note "$(last SCROLL)"

# Held: the repeat scrolls on after 400 ms; the release adds nothing.
read -r rx ry <<<"$(point RIGHT)"
x xdotool mousemove "$rx" "$ry"
wait_until 50 pointer_at "$rx" "$ry" || fail "the pointer did not reach the right scroll button"
x xdotool mousedown 1
wait_until 50 last_is SCROLL "2 6 2" || { x xdotool mouseup 1; fail "holding the right button did not scroll on: $(last SCROLL)"; }
x xdotool mouseup 1
wait_until 50 last_is RIGHT "-" || fail "the right button still shows on the last screen"
note "$(last SCROLL)"

for want in "1 2 2" "0 0 2"; do
  read -r lx ly <<<"$(point LEFT)"
  click_at "$lx" "$ly" || fail "the pointer did not reach the left scroll button"
  wait_until 50 last_is SCROLL "$want" || fail "a click on the left button gave $(last SCROLL), not $want"
done
wait_until 50 last_is LEFT "-" || fail "the left button still shows on the first screen"

read -r hx hy <<<"$(point HELP)"
click_at "$hx" "$hy" || fail "the pointer did not reach the help button"
wait_until 50 has_line '^HELPCLICK' || fail "the help button did not click"

read -r mx my <<<"$(point MAXBTN)"
placed=$(count MAXBTN)
click_at "$mx" "$my" || fail "the pointer did not reach the maximize button"
wait_until 50 has_line '^STATE maximized' || fail "the maximize button did not maximize the form"
more_lines() { (( $(count "$1") > $2 )); }
wait_until 50 more_lines MAXBTN "$placed" || fail "the maximize button did not move with the maximized form"
read -r mx my <<<"$(point MAXBTN)"
click_at "$mx" "$my" || fail "the pointer did not reach the restore button"
wait_until 50 has_line '^STATE normal' || fail "the restore button did not restore the form"
echo "PASS"
