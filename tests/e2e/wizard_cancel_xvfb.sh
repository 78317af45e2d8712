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
work="$(mktemp -d)"
xvfb_pid=""
demo_pid=""
srv_pid=""
cleanup() {
  [[ -n "$demo_pid" ]] && kill "$demo_pid" 2>/dev/null
  [[ -n "$srv_pid" ]] && kill "$srv_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  exec 3>&- 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

start_xvfb

# The server runs until its stdin (our descriptor 3) closes.
mkdir -p "$work/srv" "$work/app"
mkfifo "$work/srv.in"
python3 "$servers" http "$work/srv" <"$work/srv.in" >"$work/srv.out" 2>"$work/srv.err" &
srv_pid=$!
exec 3>"$work/srv.in"
port=""
for _ in $(seq 1 100); do
  port="$(sed -n 's/^PORT //p' "$work/srv.out" 2>/dev/null)"
  [[ -n "$port" ]] && break
  sleep 0.1
done
if [[ -z "$port" ]]; then echo "FAIL: the HTTP server did not start"; cat "$work/srv.err"; exit 1; fi
base="http://127.0.0.1:$port/trickle"
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
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$demo" --url "$base/upd.inf" --timeout-ms 40000 >"$work/out.txt" 2>"$work/err.txt" &
demo_pid=$!

wait_for() {  # a line of the demo's output, up to 15 s
  for _ in $(seq 1 150); do
    grep -q "^$1\$" "$work/out.txt" 2>/dev/null && return 0
    kill -0 "$demo_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "FAIL: waited for '$1'"; cat "$work/out.txt" "$work/err.txt"; exit 1
}
pos=""
for _ in $(seq 1 150); do
  pos="$(grep -m1 '^BUTTON ' "$work/out.txt" 2>/dev/null || true)"
  [[ -n "$pos" ]] && break
  sleep 0.1
done
if [[ -z "$pos" ]]; then echo "FAIL: the wizard did not show"; cat "$work/out.txt" "$work/err.txt"; exit 1; fi
if ! DISPLAY="$display" xdotool search --sync --onlyvisible --name "Update wizard demo" >/dev/null 2>&1; then
  echo "FAIL: no visible window named 'Update wizard demo'"; exit 1
fi
read -r _ x y <<<"$pos"
click() {
  sleep 0.4
  DISPLAY="$display" xdotool mousemove "$x" "$y"
  sleep 0.2
  DISPLAY="$display" xdotool click 1
}
# Every page's main button sits at the same place, Cancel too.
wait_for "PAGE TabSheet1"; click   # Start
wait_for "PAGE TabSheet2"; click   # Get update
wait_for "PAGE TabSheet5"; click   # Next: the download starts inside this click
wait_for "PAGE TabSheet6"; click   # Cancel, while the first file trickles in
wait_for "CLOSED"
wait "$demo_pid"; status=$?; demo_pid=""
if [[ $status -ne 0 ]]; then echo "FAIL: demo ended with $status"; cat "$work/out.txt" "$work/err.txt"; exit 1; fi
if grep -q "^PAGE TabSheet7" "$work/out.txt"; then echo "FAIL: the download went on to the last page"; cat "$work/out.txt"; exit 1; fi
if [[ -e "$work/app/one.bin" || -e "$work/app/two.bin" ]]; then
  echo "FAIL: files were placed after Cancel"; ls -la "$work/app"; exit 1
fi
echo "OK: Cancel clicked during the download stopped it; nothing placed"
