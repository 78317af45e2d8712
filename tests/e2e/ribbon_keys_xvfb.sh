#!/usr/bin/env bash
# End-to-end check of the ribbon's key tips under a window manager: starts
# Xvfb and openbox, then the ribbon keys demonstration form; taps Alt and
# expects the tabs' key tips, types a tab's letter and expects its page
# active with its buttons' tips, types a button's letter and expects the
# button run; then the same through the other page.
#   ribbon_keys_xvfb.sh <demo-executable>
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
has_line() { grep -q -E -- "$1" "$out" 2>/dev/null; }
count() { grep -c -E -- "$1" "$out" 2>/dev/null; }
more_lines() { (( $(count "$1") > $2 )); }
fail() { echo "FAIL: $*"; echo "--- demo output"; cat "$out"; echo "--- demo errors"; tail -n 20 "$work/err.txt"; exit 1; }

wait_until 100 has_line '^FORM ' || fail "the form did not show"
win="$(find_window "Ribbon keys demo" 20)"
[[ -n "$win" ]] || fail "no visible window named 'Ribbon keys demo'"
x xdotool windowactivate "$win" 2>/dev/null
wait_until 100 has_line '^FOCUSED' || fail "the form never held the keyboard focus"

# Each round: Alt, a tab's letter, a button's letter.
round() {
  local tab="$1" page="$2" button="$3" name="$4"
  local tabs toolbars nones
  tabs=$(count '^TIPS tabs'); toolbars=$(count '^TIPS toolbars'); nones=$(count '^TIPS none')
  x xdotool key alt
  wait_until 50 more_lines '^TIPS tabs [1-9]' "$tabs" || fail "Alt showed no tab key tips"
  x xdotool key "$tab"
  wait_until 50 more_lines '^TIPS toolbars [1-9]' "$toolbars" || fail "typing $tab showed no toolbar key tips"
  has_line "^ACTIVE $page " || [[ "$page" == 0 ]] || fail "typing $tab did not open page $page"
  x xdotool key "$button"
  wait_until 50 has_line "^CLICK $name\$" || fail "typing $button did not run $name"
  wait_until 50 more_lines '^TIPS none' "$nones" || fail "key-tip mode did not end after $name ran"
  note "ran $name"
}
round n 1 t Table
round h 0 v Paste
round n 1 p Picture
echo "PASS"
