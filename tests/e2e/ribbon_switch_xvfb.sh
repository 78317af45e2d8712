#!/usr/bin/env bash
# End-to-end check of switching a ribbon form between its ribbon and a dock
# panel under a window manager: starts Xvfb and openbox, then the switch
# demonstration form, which shows its ribbon first; clicks the demo's "Dock
# panels" button, then "Ribbon", then "Dock panels" again. After each click
# it expects the demo to tell of the new look with the same toolbars in the
# same order and places, takes a screenshot of the screen into the build
# folder and checks the look's own colour at the point the demo names (the
# ribbon's green caption, the dock panel's red), and that the other look's
# colour is gone from the other look's point.
#   ribbon_switch_xvfb.sh <demo-executable> <folder for the screenshots>
# Exit 77 (skipped) when Xvfb cannot start or a tool is missing.
set -u
demo="$1"
shots="$(realpath -m "$2")"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=xvfb_lib.sh
source "$here/xvfb_lib.sh"
require_tools Xvfb xdotool xdpyinfo openbox import python3 realpath
e2e_begin
start_xvfb
start_window_manager
mkdir -p "$shots"
rm -f "$shots"/look-*.png

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
x env QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 60000 >"$work/out.txt" 2>"$work/err.txt" &
e2e_track "$!"

out="$work/out.txt"
last() { grep -E "^$1( |$)" "$out" 2>/dev/null | tail -n1; }
count() { local n; n="$(grep -c -E "^$1( |$)" "$out" 2>/dev/null)"; echo "${n:-0}"; }
more_lines() { (( $(count "$1") > $2 )); }
fail() { echo "FAIL: $*"; echo "--- demo output"; cat "$out"; echo "--- demo errors"; tail -n 20 "$work/err.txt"; exit 1; }

# "R G B" of screen point $2,$3 in picture $1 (an 8-bit PPM).
pixel() {
  python3 - "$@" <<'PY'
import sys
path, x, y = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
data = open(path, "rb").read()
fields, i = [], 0
while len(fields) < 4:
    while data[i:i + 1].isspace():
        i += 1
    j = i
    while not data[j:j + 1].isspace():
        j += 1
    fields.append(data[i:j])
    i = j
w, h = int(fields[1]), int(fields[2])
if not (0 <= x < w and 0 <= y < h):
    sys.exit(1)
k = i + 1 + (y * w + x) * 3
print(data[k], data[k + 1], data[k + 2])
PY
}
# The screen as it shows now, into $1 (PPM); bounded, as import waits for a
# click when it cannot grab.
grab() { x timeout 20 import -window root -depth 8 "ppm:$1" 2>>"$work/import.err"; }
is_green() { read -r r g b <<<"$1"; (( g >= 150 && r <= 80 && b <= 80 )); }
is_red() { read -r r g b <<<"$1"; (( r >= 150 && g <= 80 && b <= 80 )); }
# True when the screen shows colour $1 (green or red) at the last SAMPLE of
# look $2; keeps the picture in $work/screen.ppm.
shows() {
  local line sx sy px
  line="$(last "SAMPLE $2")"
  [[ -n "$line" ]] || return 1
  read -r _ _ sx sy <<<"$line"
  grab "$work/screen.ppm" || return 1
  px="$(pixel "$work/screen.ppm" "$sx" "$sy")" || return 1
  "is_$1" "$px"
}

looks_told() { more_lines LOOK "$1"; }
wait_until 150 looks_told 0 || fail "the demo did not show its first look"
[[ "$(last LOOK)" == "LOOK ribbon" ]] || fail "the demo did not start with the ribbon: $(last LOOK)"
toolbars="$(last TOOLBARS)"
[[ "$toolbars" == "TOOLBARS DockBar1@Dock DockBar2@Dock DockBar3@Dock | PageBar1@page1 PageBar2@page2" ]] ||
  fail "unexpected toolbars at the start: $toolbars"
wait_until 150 shows green ribbon || fail "the ribbon's caption does not show green"
cp "$work/screen.ppm" "$work/ribbon.ppm"
x timeout 20 import -window root "$shots/look-1-ribbon.png" 2>>"$work/import.err" || fail "no screenshot of the ribbon look"
note "ribbon shown"

step=1
for target in dock ribbon dock; do
  step=$((step + 1))
  other=ribbon; [[ "$target" == ribbon ]] && other=dock
  colour=red; [[ "$target" == ribbon ]] && colour=green
  looks=$(count LOOK)
  read -r _ _ bx by <<<"$(last "BUTTON $target")"
  [[ -n "${bx:-}" ]] || fail "no point for the $target button"
  click_at "$bx" "$by" || fail "the pointer did not reach the $target button at $bx,$by"
  wait_until 100 looks_told "$looks" || fail "clicking the $target button at $bx,$by switched nothing"
  [[ "$(last LOOK)" == "LOOK $target" ]] || fail "after the $target button the demo tells $(last LOOK)"
  [[ "$(last TOOLBARS)" == "$toolbars" ]] || fail "toolbars changed after switching to $target: $(last TOOLBARS)"
  wait_until 150 shows "$colour" "$target" || fail "the $target look does not show $colour at $(last "SAMPLE $target")"
  # The other look's point no longer shows the other look's colour.
  read -r _ _ ox oy <<<"$(last "SAMPLE $other")"
  px="$(pixel "$work/screen.ppm" "$ox" "$oy")" || fail "no pixel at $ox,$oy"
  if [[ "$other" == ribbon ]] && is_green "$px"; then fail "the ribbon still shows beside the dock panel ($px)"; fi
  if [[ "$other" == dock ]] && is_red "$px"; then fail "the dock panel still shows beside the ribbon ($px)"; fi
  x timeout 20 import -window root "$shots/look-$step-$target.png" 2>>"$work/import.err" ||
    fail "no screenshot of the $target look"
  note "$target shown ($shots/look-$step-$target.png)"
done
echo "PASS"
