#!/usr/bin/env bash
# End-to-end check of the quick-access toolbar under a window manager: starts
# Xvfb and openbox, then a ribbon form whose toolbar holds ten buttons;
# narrows the form with xdotool and expects buttons to move into the
# overflow, then clicks the scroll button and expects the overflow window to
# list the hidden buttons and the customize button.
#   qat_xvfb.sh <demo-executable>
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

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
x env QT_QPA_PLATFORM=xcb "$demo" --timeout-ms 40000 >"$work/out.txt" 2>"$work/err.txt" &
e2e_track "$!"

last_qat() { grep -E '^QAT ' "$work/out.txt" 2>/dev/null | tail -n1; }
qat_satisfies() {
  local line
  line="$(last_qat)"
  [[ -n "$line" ]] || return 1
  read -r _ fw shown hidden sx sy <<<"$line"
  eval "$1"
}

if ! wait_until 100 qat_satisfies '(( shown == 10 && hidden == 0 ))'; then
  echo "FAIL: the toolbar did not show its ten buttons: $(last_qat)"; cat "$work/err.txt"; exit 1
fi
note "all ten shown"
win="$(find_window "QAT demo" 10)"
if [[ -z "$win" ]]; then echo "FAIL: no window"; exit 1; fi

x xdotool windowsize "$win" 300 300
if ! wait_until 100 qat_satisfies '(( hidden > 0 && shown + hidden == 10 && sx > 0 ))'; then
  echo "FAIL: narrowing the form moved nothing into the overflow: $(last_qat)"; exit 1
fi
read -r _ fw shown hidden sx sy <<<"$(last_qat)"
note "narrowed to $fw: $shown shown, $hidden hidden"

click_at "$sx" "$sy" || { echo "FAIL: the pointer did not reach the scroll button"; exit 1; }
if ! line="$(wait_for_line "$work/out.txt" '^POPUP 1 ' 100)"; then
  echo "FAIL: the overflow window did not show"; cat "$work/out.txt"; exit 1
fi
read -r _ _ listed <<<"$line"
if (( listed != hidden + 1 )); then
  echo "FAIL: the overflow window lists $listed controls, not the $hidden hidden ones and the customize button"; exit 1
fi
echo "PASS"
