#!/usr/bin/env bash
# End-to-end check of the update wizard in a real X11 window: a loopback HTTP
# server holds a control file and two files; the wizard shows under Xvfb and
# a person's clicks (xdotool) walk it through start, report, components and
# the last page; the files must then be in place.
#   wizard_xvfb.sh <wizard-demo> <webupdate_servers.py>
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
base="http://127.0.0.1:$srv_port/files"
printf 'first file\n' >"$work/srv/one.bin"
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
x env QT_QPA_PLATFORM=xcb "$demo" --url "$base/upd.inf" --timeout-ms 60000 >"$work/out.txt" 2>"$work/err.txt" &
demo_pid=$!
e2e_track "$demo_pid"
failed() { echo "FAIL: $*"; cat "$work/out.txt" "$work/err.txt"; exit 1; }
pos="$(wait_for_line "$work/out.txt" '^BUTTON ' 150)" || failed "the wizard did not show"
[[ -n "$(find_window "Update wizard demo" 20)" ]] || failed "no visible window named 'Update wizard demo'"
read -r _ bx by <<<"$pos"
# Every page's main button sits at the same place; a page tells when it shows.
next_page() {
  wait_for_line "$work/out.txt" "^PAGE $1\$" 300 >/dev/null || failed "waited for page $1"
  note "page $1"
  click_at "$bx" "$by"
}
next_page TabSheet1   # Start
next_page TabSheet2   # Get update
next_page TabSheet5   # Next: download the two files
next_page TabSheet7   # Exit: nothing to restart
wait_for_line "$work/out.txt" '^CLOSED$' 300 >/dev/null || failed "the wizard did not close"
wait "$demo_pid"; status=$?; e2e_untrack "$demo_pid"
[[ $status -eq 0 ]] || failed "demo ended with $status"
if [[ "$(cat "$work/app/one.bin" 2>/dev/null)" != "first file" || "$(cat "$work/app/two.bin" 2>/dev/null)" != "second file" ]]; then
  echo "FAIL: the files were not placed"; ls -la "$work/app"; cat "$work/out.txt"; exit 1
fi
echo "OK: wizard shown at $display, clicked through, files placed"
