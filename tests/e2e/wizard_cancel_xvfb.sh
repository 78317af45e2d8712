#!/usr/bin/env bash
# End-to-end check of the update wizard's Cancel in a real X11 window: the
# loopback server trickles the files (a byte each 20 ms); the download starts
# with a click on "Next", and a click on Cancel while it runs stops it: the
# wizard closes and no file is placed.
#   wizard_cancel_xvfb.sh <wizard-demo> <webupdate_servers.py>
# Exit 77 (skipped) only when a tool is missing or Xvfb cannot start.
set -u
demo="$1"
servers="$2"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=xvfb_lib.sh
source "$here/xvfb_lib.sh"
require_tools Xvfb xdotool xdpyinfo python3
e2e_begin
start_xvfb

mkdir -p "$work/srv" "$work/app"
start_web_server "$servers" "$work/srv" || { echo "FAIL: the HTTP server did not start"; cat "$work/srv.err"; exit 1; }
base="http://127.0.0.1:$srv_port/trickle"
head -c 400 /dev/zero | tr '\0' a >"$work/srv/one.bin"
printf 'second file\n' >"$work/srv/two.bin"
cat >"$work/srv/upd.inf" <<INF
[update]
signature=WebUpdate
date=01/01/2030
descr=End-to-end
[files]
count=2
[file1]
url=$base/one.bin
targetdir=$work/app
descr=First
[file2]
url=$base/two.bin
targetdir=$work/app
descr=Second
INF

export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
export TMPDIR="$work"
x env QT_QPA_PLATFORM=xcb "$demo" --url "$base/upd.inf" --timeout-ms 40000 >"$work/out.txt" 2>"$work/err.txt" &
demo_pid=$!
e2e_track "$demo_pid"
failed() { echo "FAIL: $*"; cat "$work/out.txt" "$work/err.txt"; exit 1; }
pos="$(wait_for_line "$work/out.txt" '^BUTTON ' 150)" || failed "the wizard did not show"
[[ -n "$(find_window "Update wizard demo" 20)" ]] || failed "no visible window named 'Update wizard demo'"
read -r _ bx by <<<"$pos"
# Every page's main button sits at the same place, Cancel too; a page tells
# when it shows.
click_on_page() {
  wait_for_line "$work/out.txt" "^PAGE $1\$" 300 >/dev/null || failed "waited for page $1"
  note "page $1"
  click_at "$bx" "$by"
}
click_on_page TabSheet1   # Start
click_on_page TabSheet2   # Get update
click_on_page TabSheet5   # Next: the download starts inside this click
click_on_page TabSheet6   # Cancel, while the first file trickles in
wait_for_line "$work/out.txt" '^CLOSED$' 300 >/dev/null || failed "the wizard did not close"
wait "$demo_pid"; status=$?; e2e_untrack "$demo_pid"
[[ $status -eq 0 ]] || failed "demo ended with $status"
if grep -q "^PAGE TabSheet7" "$work/out.txt"; then failed "the download went on to the last page"; fi
if [[ -e "$work/app/one.bin" || -e "$work/app/two.bin" ]]; then
  echo "FAIL: files were placed after Cancel"; ls -la "$work/app"; exit 1
fi
echo "OK: Cancel clicked during the download stopped it; nothing placed"
