#!/usr/bin/env bash
# End-to-end check of a ribbon pager on a borderless form under a window
# manager: starts Xvfb and openbox, then the ribbon demonstration form;
# clicks two tabs and expects the demo to tell of each page becoming active,
# drags the caption bar and expects the form to move by the drag, then
# double-clicks the caption bar and expects the form maximized, and again
# restored to its place.
#   ribbon_xvfb.sh <demo-executable>
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
bounds_satisfy() {
  local line
  line="$(grep -E '^(FORM|BOUNDS) ' "$out" 2>/dev/null | tail -n1)"
  [[ -n "$line" ]] || return 1
  read -r _ bx by bw bh <<<"$line"
  eval "$1"
}
has_line() { grep -q -E -- "$1" "$out" 2>/dev/null; }
more_lines() { (( $(count "$1") > $2 )); }
fail() { echo "FAIL: $*"; echo "--- demo output"; cat "$out"; echo "--- demo errors"; tail -n 20 "$work/err.txt"; exit 1; }

wait_until 100 bounds_satisfy 'true' || fail "the form did not show"
wait_until 50 has_line '^CAPTION ' || fail "no caption point"
read -r _ fx fy fw fh <<<"$(grep -E '^(FORM|BOUNDS) ' "$out" | tail -n1)"

tab_point() { last "TAB $1" | awk '{print $3, $4}'; }
for t in 2 1; do
  read -r tx ty <<<"$(tab_point "$t")"
  click_at "$tx" "$ty" || fail "the pointer did not reach tab $t"
  wait_until 50 has_line "^ACTIVE $t " || fail "clicking tab $t at $tx,$ty made no page active"
  note "$(grep -E "^ACTIVE $t " "$out" | head -n1)"
done

# Caption drag: press, then move in steps once the press has reached the form.
read -r _ cx cy <<<"$(last CAPTION)"
presses=$(count PRESS)
x xdotool mousemove "$cx" "$cy"
wait_until 50 pointer_at "$cx" "$cy" || fail "the pointer did not reach the caption"
x xdotool mousedown 1
wait_until 50 more_lines PRESS "$presses" || fail "the caption press did not reach the pager"
for i in 1 2 3 4 5 6 7 8 9 10; do
  px=$((cx + 6 * i)); py=$((cy + 4 * i))
  x xdotool mousemove "$px" "$py"
  wait_until 20 pointer_at "$px" "$py"
done
x xdotool mouseup 1
# The window manager takes over the move once the first motion reached the
# form, so the form follows most of the way: never past the pointer.
wait_until 50 bounds_satisfy '(( bx >= fx + 30 && bx <= fx + 63 && by >= fy + 20 && by <= fy + 43 && bw == fw ))' ||
  fail "dragging the caption by 60,40 left the form at $(grep -E '^(FORM|BOUNDS) ' "$out" | tail -n1) (was $fx $fy $fw $fh)"
read -r _ fx fy fw fh <<<"$(grep -E '^(FORM|BOUNDS) ' "$out" | tail -n1)"
note "moved to $fx $fy"

# Double click on the caption: maximized, then restored to the same place.
screen_w=$(x xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1]}')
wait_until 50 has_line "^CAPTION " || fail "no caption point after the move"
read -r _ cx cy <<<"$(last CAPTION)"
x xdotool mousemove "$cx" "$cy"
wait_until 50 pointer_at "$cx" "$cy" || fail "the pointer did not reach the caption"
x xdotool click --repeat 2 --delay 80 1
wait_until 50 has_line '^STATE maximized' || fail "a double click on the caption did not maximize the form"
wait_until 50 bounds_satisfy "(( bw >= $screen_w - 20 ))" || fail "the maximized form is not screen wide: $(last BOUNDS)"
read -r _ cx cy <<<"$(last CAPTION)"
x xdotool mousemove "$cx" "$cy"
wait_until 50 pointer_at "$cx" "$cy" || fail "the pointer did not reach the maximized caption"
x xdotool click --repeat 2 --delay 80 1
wait_until 50 has_line '^STATE normal' || fail "a second double click did not restore the form"
wait_until 50 bounds_satisfy "(( bw == fw && bh == fh && bx == fx && by == fy ))" ||
  fail "the restored form is at $(last BOUNDS), was $fx $fy $fw $fh"
echo "PASS"
