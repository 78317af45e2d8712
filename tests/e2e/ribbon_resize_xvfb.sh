#!/usr/bin/env bash
# End-to-end check of a ribbon page fitting its toolbars to a form sized by
# its edge under a window manager: starts Xvfb and openbox, then the ribbon
# resize demonstration form; drags its right edge left in steps with
# xdotool and expects the page to narrow, compact its toolbars and, once all
# are compact and still too wide, show a scroll button; dragging back out
# expands them again. The page's rules report no fault throughout.
#   ribbon_resize_xvfb.sh <demo-executable>
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
x env QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 40000 >"$work/out.txt" 2>"$work/err.txt" &
e2e_track "$!"

last_page() { grep -E '^PAGE ' "$work/out.txt" 2>/dev/null | tail -n1; }
page_satisfies() {  # a test of pw (page width), pc (compact toolbars), ps (scroll buttons)
  local line
  line="$(last_page)"
  [[ -n "$line" ]] || return 1
  read -r _ pw pc ps _ <<<"$line"
  eval "$1"
}
faults() { grep -E '^PAGE ' "$work/out.txt" | grep -v ' ok$'; }
# Moves the pointer and waits until the server has it there.
move_to() {
  x xdotool mousemove "$1" "$2"
  wait_until 50 pointer_at "$1" "$2"
}
page_width() { local line; line="$(last_page)"; read -r _ pw _ <<<"$line"; echo "${pw:-0}"; }
width_is_not() { [[ "$(page_width)" != "$1" ]]; }
# Drags the right edge from x $1 to x $2 at height $3, a step at a time.
# The window manager takes the pointer over only after the press: each step
# waits for the page to follow, nudging the pointer until it does.
drag_edge() {
  move_to "$1" "$3" || return 1
  x xdotool mousedown 1
  local i n before steps=8 tx
  for i in $(seq 1 $steps); do
    tx=$(($1 + ($2 - $1) * i / steps))
    before="$(page_width)"
    for n in 1 2 3 4 5 6 7 8 9 10; do
      move_to $((tx + n % 2)) "$3" || return 1
      wait_until 5 width_is_not "$before" && break
    done
  done
  move_to "$2" "$3"
  x xdotool mouseup 1
}

if ! wait_for_line "$work/out.txt" '^FORM ' 100 >/dev/null; then
  echo "FAIL: the form did not show"; cat "$work/err.txt"; exit 1
fi
read -r _ fx fy fw fh <<<"$(grep -E '^FORM ' "$work/out.txt" | head -n1)"
if ! wait_until 50 page_satisfies '(( pc == 0 && ps == 0 ))'; then
  echo "FAIL: a wide page starts with $(last_page)"; exit 1
fi
read -r _ wide _ <<<"$(last_page)"

# Narrow as far as the form goes: the buttons shrink first, then every toolbar
# goes compact, and as even that does not fit, a scroll button shows.
right=$((fx + fw - 2))
drag_edge "$right" $((fx + 40)) $((fy + fh / 2)) || { echo "FAIL: the pointer did not follow"; exit 1; }
if ! wait_until 50 page_satisfies '(( pw < 130 && pc == 6 && ps >= 1 ))'; then
  echo "FAIL: narrowing left $(last_page) (from width $wide)"; cat "$work/out.txt"; exit 1
fi
read -r _ narrow _ <<<"$(last_page)"

# And back out: the toolbars expand and the scroll buttons go.
edge=$((fx + narrow + (fw - wide) - 2))
drag_edge "$edge" $((fx + fw - 2)) $((fy + fh / 2)) || { echo "FAIL: the pointer did not follow"; exit 1; }
if ! wait_until 50 page_satisfies '(( pc == 0 && ps == 0 ))'; then
  echo "FAIL: widening again left $(last_page)"; exit 1
fi
if faults >/dev/null; then echo "FAIL: the page rules reported faults:"; faults; exit 1; fi
echo "PASS"
