#!/usr/bin/env bash
# End-to-end check of the program as a user drives it, under Xvfb with xdotool:
# the main window shows with its version and, once the update check has run,
# the update link in status panel 1; "UPDATE NOW" uploads the firmware into a
# bootloader simulator on a pseudo-terminal (the port is the one the program
# remembers), which holds the upload halfway until the progress fill has been
# seen; the window grows for the progress bar and shrinks again, and the link
# gives way to the upload's result. Then the link in the status bar opens the
# wizard, which downloads a newer build of the program from a loopback HTTPS server,
# and the restart helper puts it in place of the installed program file and
# starts it again. The newer build is served as a program file of a release
# build's size (ryxupdater_next_served), which starts the newer build.
#   program_xvfb.sh <ryxupdater> <newer build as served> <ryx_bootloader_sim>
#                   <webupdate_servers.py> <stored firmware image> <screenshot.png>
# Exit 77 (skipped) only when a tool is missing or Xvfb cannot start.
# RYX_E2E_KEEP=1 keeps the scratch folder (programs' output, pictures) for a look.
set -u
if [[ $# -ne 6 ]]; then
  echo "usage: $0 <ryxupdater> <newer build as served> <ryx_bootloader_sim> <webupdate_servers.py> <stored image> <screenshot.png>"
  exit 2
fi
# Absolute paths: the programs run from other folders.
program="$(realpath "$1")"
next="$(realpath "$2")"
simulator="$(realpath "$3")"
servers="$(realpath "$4")"
stored="$(realpath "$5")"
screenshot="$(realpath -m "$6")"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=xvfb_lib.sh
source "$here/xvfb_lib.sh"
require_tools Xvfb xdotool xdpyinfo import python3 cmp setsid timeout realpath openssl
e2e_begin

main_wid=""
wiz_wid=""
# A picture of window $1 into $2 (further import options after them);
# bounded, as import waits for a click when the window has gone.
picture() {
  local id="$1" out="$2"
  shift 2
  x timeout 20 import -window "$id" "$@" "$out" 2>>"$work/import.err"
}
window_exists() { [[ -n "$1" ]] && x xdotool getwindowname "$1" >/dev/null 2>&1; }
fail() {
  echo "FAIL: $*"
  local f
  # Pictures of the windows as they were, beside the screenshot.
  if window_exists "$main_wid" && picture "$main_wid" "${screenshot%.png}-at-failure.png"; then
    echo "main window: ${screenshot%.png}-at-failure.png"
  fi
  if window_exists "$wiz_wid" && picture "$wiz_wid" "${screenshot%.png}-wizard-at-failure.png"; then
    echo "wizard: ${screenshot%.png}-wizard-at-failure.png"
  fi
  for f in app.out app.err sim.out sim.err srv.err; do
    [[ -s "$work/$f" ]] && { echo "--- $f"; tail -n 60 "$work/$f"; }
  done
  echo "--- files"; ls -la "$work/installed" "${TMPDIR:-}" 2>/dev/null
  local log="$work/home/.local/state/RyxUpdater/WUPDATE.LOG"
  [[ -s "$log" ]] && { echo "--- WUPDATE.LOG"; tail -n 40 "$log"; }
  exit 1
}

start_xvfb

# A private home: the remembered port, the port table, the update log and the
# temporary folder all live here.
export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_STATE_HOME="$HOME/.local/state" XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$TMPDIR" \
         "$work/installed" "$work/srv"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export LSAN_OPTIONS="suppressions=$here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1

# The restart replaces the installed file: a copy, never the build's binary.
installed="$work/installed/ryxupdater"
cp "$program" "$installed" || fail "cannot copy the program"
chmod u+x "$installed"

# The bootloader simulator on COM42, which the program remembers as its port
# (so nothing has to be typed into a box that may not have the focus). It
# holds the upload after half the pages until told to go on, and runs until
# its input closes.
page=128
pages=$(( ($(stat -c %s "$stored") + page - 1) / page ))
hold=$(( pages / 2 ))
(( hold >= 1 )) || fail "the stored image has $pages pages: too few to hold halfway"
e2e_start_fed sim "$simulator" --name COM42 --baud 115200 --page-size "$page" --image-out "$work/received.bin" \
  --hold-after-pages "$hold" --remember-for ryxupdater
wait_for_line "$work/sim.out" '^READY ' 300 >/dev/null || fail "the bootloader simulator did not start"

# The update server speaks HTTPS with a certificate of a test root, which
# the program trusts through SSL_CERT_FILE (a control file that replaces the
# program is taken only over a verified channel): the road a user takes.
mkdir -p "$work/tls"
printf 'subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n' >"$work/tls/leaf.ext"
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj /CN=RyxE2ERoot \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
    -keyout "$work/tls/root.key" -out "$work/tls/root.pem" >/dev/null 2>&1 &&
  openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj /CN=127.0.0.1 \
    -keyout "$work/tls/server.key" -out "$work/tls/server.csr" >/dev/null 2>&1 &&
  openssl x509 -req -in "$work/tls/server.csr" -CA "$work/tls/root.pem" -CAkey "$work/tls/root.key" \
    -set_serial 2 -days 2 -extfile "$work/tls/leaf.ext" -out "$work/tls/server.pem" >/dev/null 2>&1 ||
  fail "openssl could not make the test certificates"
export SSL_CERT_FILE="$work/tls/root.pem"

# The update server: a control file announcing 1.0.0.8 as an application
# update with restart, and the new program file.
start_web_server "$servers" "$work/srv" --tls "$work/tls/server.pem" "$work/tls/server.key" ||
  fail "the HTTPS server did not start"
base="https://127.0.0.1:$srv_port"
ln -s "$next" "$work/srv/ryxupdater"
cat >"$work/srv/upd.inf" <<INF
[update]
signature=WebUpdate
newversion=1.0.0.8
localversion=$installed
descr=End-to-end update
[files]
count=1
[file1]
url=$base/files/ryxupdater
targetdir=$work/installed/
descr=RYX-VORira updater
[application]
appupdate=1
appname=$installed
appcomps=ryxupdater
INF
requests() { python3 - "$base/count/files/$1" <<'PY'
import os, ssl, sys, urllib.request
context = ssl.create_default_context(cafile=os.environ["SSL_CERT_FILE"])
print(urllib.request.urlopen(sys.argv[1], timeout=5, context=context).read().decode())
PY
}
app_alive() { [[ ! -s "$work/app.rc" ]]; }

# ---- the main window ----
# The program leads a session of its own, so the helper and the restarted
# program stay in its process group; a subshell reaps it at once and keeps
# its exit status.
(cd "$work/installed" && RYX_UPDATE_URL="$base/files/upd.inf" DISPLAY="$display" QT_QPA_PLATFORM=xcb \
   setsid sh -c 'echo $$ >"$1"; exec "$2"' sh "$work/app.pid" "$installed" >"$work/app.out" 2>"$work/app.err"
 echo $? >"$work/app.rc") &
started() { [[ -s "$work/app.pid" ]]; }
wait_until 100 started || fail "the program did not start"
e2e_track_group "$(cat "$work/app.pid")"
main_wid="$(find_window '^RYX-VORira UPDATE   ver: 1\.0\.0\.7$' 30)"
[[ -n "$main_wid" ]] || fail "no visible window titled 'RYX-VORira UPDATE   ver: 1.0.0.7'"

# Window geometry. With no window manager the X window is the client area:
# 522 x 167 at rest (the outer 196 less the frame the layer counts), 22 more
# while an upload shows its progress (outer 218); its origin is the client's.
geometry() { eval "$(x xdotool getwindowgeometry --shell "$1")"; }
geometry "$main_wid"
win_x=$X win_y=$Y rest_height=$HEIGHT
[[ "$WIDTH" -eq 522 && "$HEIGHT" -eq 167 ]] || fail "main window's client area is ${WIDTH}x${HEIGHT}, not 522x167"
px() { python3 "$here/pixels.py" "$@"; }
shot() { picture "$1" "ppm:$2" -depth 8; }
main_click() { click_at "$((win_x + $1))" "$((win_y + $2))"; }

picture "$main_wid" "$screenshot" || fail "no screenshot of the main window"
shot "$main_wid" "$work/main.ppm" || fail "no picture of the main window"
note "main window shown, ${WIDTH}x${HEIGHT} at $win_x,$win_y"
dark="$(px count darkblue "$work/main.ppm" 0 0 522 65)"
[[ "$dark" -gt 2000 ]] || fail "the header picture is not drawn ($dark dark blue pixels)"

# The update check runs a second after the window shows; the link then blinks
# in panel 1 (205,146 to the window's right edge; the inside of its frame for ink).
checked() { [[ "$(requests upd.inf 2>/dev/null)" -ge 1 ]]; }
wait_until 100 checked || fail "the program never fetched the update control file"
panel1() { shot "$main_wid" "$work/panel.ppm" && px count "$1" "$work/panel.ppm" 208 148 519 165; }
# Blinking, the link shows in about half the pictures; one with it is proof.
link_shown() { [[ "$(panel1 link)" -gt 20 ]]; }
wait_until 150 link_shown || fail "status panel 1 shows no update link after the check"
app_alive || fail "the program ended after the update check"
note "update check done; the link shows"

# ---- the upload ----
main_click 481 106   # "UPDATE NOW" at 449,80, 65 x 52
upload_height=$((rest_height + 22))
grown() { geometry "$main_wid"; [[ "$HEIGHT" -eq "$upload_height" ]]; }
wait_until 100 grown || fail "the window did not grow to show the progress bar (height $HEIGHT, want $upload_height)"
held="$(wait_for_line "$work/sim.out" '^HELD ' 300)" || fail "the upload did not reach the simulator's hold point"
# The simulator waits while the fill is looked for, well within the
# program's patience for a page request (ten seconds in all).
filled() { shot "$main_wid" "$work/upload.ppm" && [[ "$(px count green "$work/upload.ppm" 8 146 512 161)" -gt 50 ]]; }
wait_within 5 filled
fill_seen=$?
e2e_send sim RELEASE
[[ $fill_seen -eq 0 ]] || fail "no green progress fill with the upload held at ${held#HELD } of $pages pages"
note "window grew to $HEIGHT; progress fill seen at ${held#HELD } of $pages pages"
uploaded() { grep -q '^UPLOADED ' "$work/sim.out"; }
wait_until 300 uploaded || fail "the simulator received no complete upload"
shrunk() { geometry "$main_wid"; [[ "$HEIGHT" -eq "$rest_height" ]]; }
wait_until 100 shrunk || fail "the window did not shrink back after the upload (height $HEIGHT)"
python3 - "$stored" "$work/expected.bin" "$page" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
page = int(sys.argv[3])
data += b"\xff" * (-len(data) % page)
open(sys.argv[2], "wb").write(data)
PY
cmp "$work/expected.bin" "$work/received.bin" ||
  fail "the received image is not the stored image padded to whole pages"
# The result replaces the link: text in the panel and no blue in the same
# picture (a blinking link shows either blue or nothing).
result_shown() { shot "$main_wid" "$work/panel.ppm" &&
  [[ "$(px count ink "$work/panel.ppm" 208 148 519 165)" -gt 40 &&
     "$(px count link "$work/panel.ppm" 208 148 519 165)" -eq 0 ]]; }
wait_until 100 result_shown || fail "status panel 1 still shows the update link after the upload"

# ---- the self-update ----
note "upload received and checked"
main_click 360 156   # status panel 1
wiz_wid="$(find_window '^RYX-VORira Updater$' 20)"
[[ -n "$wiz_wid" ]] || fail "the update wizard did not show"
geometry "$wiz_wid"
wiz_x=$X wiz_y=$Y
# The pages lie at 140,12 of the wizard (page control 136,8 plus its border);
# every page's main button at 224,224 of the page, 91 x 25, its right edge fixed.
page_hash() { shot "$wiz_wid" "$work/wiz.ppm" && px hash "$work/wiz.ppm" 140 12 465 230; }
# Waits until the page differs from $1 and then holds still for a second.
page_settles() {
  local last="" same=0 now _
  for _ in $(seq 1 "$2"); do
    now="$(page_hash)"
    if [[ -n "$now" && "$now" != "$1" ]]; then
      if [[ "$now" == "$last" ]]; then same=$((same + 1)); else same=0; fi
      [[ $same -ge 4 ]] && { echo "$now"; return 0; }
    fi
    last="$now"
    sleep 0.25
  done
  return 1
}
press_page_button() { click_at "$((wiz_x + 435))" "$((wiz_y + 248))"; }
refetched() { [[ "$(requests upd.inf 2>/dev/null)" -ge 2 ]]; }
wait_until 150 refetched || fail "the wizard did not fetch the control file"
report="$(page_settles "" 60)" || fail "the wizard's version report did not settle"
note "wizard: version report"
press_page_button   # "Get update"
components="$(page_settles "$report" 60)" || fail "the wizard did not move on from the version report"
note "wizard: components"
press_page_button   # "Next": download the program file
downloading() { [[ "$(requests ryxupdater 2>/dev/null)" -ge 1 ]]; }
wait_until 150 downloading || fail "the wizard did not download the program file"
note "wizard: the server has sent the program file"
arrived() { cmp -s "$next" "$TMPDIR/ryxupdater"; }
wait_until 1500 arrived || fail "the new program file did not arrive in the temporary folder"
note "wizard: the program file is in the temporary folder"
page_settles "$components" 120 >/dev/null || fail "the wizard's last page did not settle"
press_page_button   # "Restart"

note "wizard: restart pressed"
# The program ends, the helper installs the new file and starts it.
ended() { ! app_alive; }
wait_until 300 ended || fail "the program did not end for the restart"
status="$(cat "$work/app.rc")"
[[ $status -eq 0 ]] || fail "the program ended with $status for the restart"
note "program ended"
new_wid="$(find_window '^RYX-VORira UPDATE   ver: 1\.0\.0\.8$' 60)"
[[ -n "$new_wid" ]] || fail "the restarted program's window (ver: 1.0.0.8) did not show"
cmp -s "$next" "$installed" || fail "the installed program file is not the new build"
echo "OK: main window at $display, upload of $(stat -c %s "$work/received.bin") bytes, self-update to 1.0.0.8 (a program file of $(stat -c %s "$next") bytes) with restart"
