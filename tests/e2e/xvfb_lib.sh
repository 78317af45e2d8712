# Shared by the end-to-end scripts (sourced): the tool check, the scratch
# folder and its clean-up, a private Xvfb server, programs fed through a pipe,
# and waiting for conditions. Nothing here sleeps for a fixed time to let
# something happen: each wait is for a condition, bounded. (A drag may be
# given a hand's pace between its steps; wm_drag tells what it waits for.)

# Exits 77 (skipped) when one of the named programs is not installed.
require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then echo "SKIP: $tool is not installed"; exit 77; fi
  done
}

# Makes the scratch folder `work` and removes it (and ends every process the
# script started through this library) when the script exits, whatever way.
# RYX_E2E_KEEP=1 keeps the folder for a look.
e2e_begin() {
  work="$(mktemp -d)"
  display=""
  xvfb_pid=""
  _e2e_pids=()
  _e2e_groups=()
  _e2e_fds=()
  _e2e_started=$SECONDS
  trap e2e_cleanup EXIT
}

# Ends process $1 at clean-up.
e2e_track() { _e2e_pids+=("$1"); }
# Ends the process group led by $1 at clean-up (a program and what it started).
e2e_track_group() { _e2e_groups+=("$1"); }
# Forgets process $1 (it has ended and was waited for).
e2e_untrack() {
  local kept=() p
  for p in "${_e2e_pids[@]}"; do [[ "$p" != "$1" ]] && kept+=("$p"); done
  _e2e_pids=("${kept[@]}")
}

e2e_cleanup() {
  local g p fd _
  for g in "${_e2e_groups[@]}"; do
    kill -TERM -- "-$g" 2>/dev/null
    for _ in $(seq 1 30); do kill -0 -- "-$g" 2>/dev/null || break; sleep 0.1; done
    kill -KILL -- "-$g" 2>/dev/null
  done
  # Programs fed through a pipe end when it closes.
  for fd in "${_e2e_fds[@]}"; do exec {fd}>&-; done 2>/dev/null
  for p in "${_e2e_pids[@]}"; do kill "$p" 2>/dev/null; done
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  if [[ -n "${RYX_E2E_KEEP:-}" ]]; then echo "kept: $work"; else rm -rf "$work"; fi
}

# "[+Ns] text": where a slow or failing run spent its time.
note() { echo "[+$((SECONDS - _e2e_started))s] $*"; }

# Runs "$@" until it succeeds, up to $1 tenths of a second; false on time-out.
wait_until() {
  local tenths="$1" _
  shift
  for _ in $(seq 1 "$tenths"); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# Runs "$@" until it succeeds or $1 seconds have passed, however long each
# try takes; false on time-out. For waits that something else times too.
wait_within() {
  local deadline=$(( $(date +%s%N) + $1 * 1000000000 ))
  shift
  until "$@"; do
    (( $(date +%s%N) < deadline )) || return 1
    sleep 0.1
  done
}

# Prints the first line of file $1 that matches the extended pattern $2,
# waiting up to $3 tenths of a second for it; false on time-out.
wait_for_line() {
  local file="$1" pattern="$2" tenths="$3" _
  for _ in $(seq 1 "$tenths"); do
    grep -m1 -E -- "$pattern" "$file" 2>/dev/null && return 0
    sleep 0.1
  done
  grep -m1 -E -- "$pattern" "$file" 2>/dev/null
}

# Starts "${@:2}" in the background with its standard input on a pipe and its
# output in $work/$1.out and $work/$1.err; sets ${1}_pid. The program runs
# until the pipe closes (at clean-up, or e2e_close_input $1); e2e_send $1 TEXT
# writes a line to it.
e2e_start_fed() {
  local name="$1" fd
  shift
  mkfifo "$work/$name.in"
  "$@" <"$work/$name.in" >"$work/$name.out" 2>"$work/$name.err" &
  printf -v "${name}_pid" '%s' "$!"
  e2e_track "$!"
  exec {fd}>"$work/$name.in"
  printf -v "_e2e_fd_$name" '%s' "$fd"
  _e2e_fds+=("$fd")
}
e2e_send() {
  local var="_e2e_fd_$1"
  printf '%s\n' "$2" >&"${!var}"
}

# Starts the loopback web server of webupdate_servers.py ($1) over folder $2
# (further arguments go to the server, such as --tls <cert> <key>);
# sets `srv_port`. False when it does not tell its port in time.
start_web_server() {
  e2e_start_fed srv python3 "$1" http "$2" "${@:3}"
  local line
  line="$(wait_for_line "$work/srv.out" '^PORT ' 100)" || return 1
  srv_port="${line#PORT }"
}

# Starts Xvfb on a display number it chooses itself, so scripts running at the
# same time never race for one; sets `display` and `xvfb_pid`. Exits 77 when
# Xvfb cannot start.
start_xvfb() {
  display=""
  Xvfb -displayfd 5 -screen 0 800x600x24 -nolisten tcp 5>"$work/xvfb.num" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local n _
  for _ in $(seq 1 100); do
    n="$(head -n1 "$work/xvfb.num" 2>/dev/null)"
    if [[ -n "$n" ]] && xdpyinfo -display ":$n" >/dev/null 2>&1; then display=":$n"; return 0; fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "SKIP: Xvfb could not start"; cat "$work/xvfb.log" 2>/dev/null; exit 77
}

# A command on the private display.
x() { DISPLAY="$display" "$@"; }

# Starts openbox on the private display and waits until it manages the
# screen (it names its check window on the root); exits 1 when it does not.
start_window_manager() {
  x openbox --sm-disable >/dev/null 2>"$work/wm.err" &
  local wm=$!
  e2e_track "$wm"
  wm_ready() { x xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  # A loaded machine can take long to start it: wait while it is alive.
  wm_ready_or_gone() { wm_ready || ! kill -0 "$wm" 2>/dev/null; }
  wait_within 30 wm_ready_or_gone && wm_ready && return 0
  if kill -0 "$wm" 2>/dev/null; then
    echo "FAIL: the window manager did not manage the screen within 30 s"
  else
    echo "FAIL: the window manager ended at start"
  fi
  cat "$work/wm.err"; exit 1
}

# The first visible window whose name matches $1, waiting up to $2 seconds.
find_window() { x timeout "$2" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n1; }

# Moves the pointer to screen point $1,$2, waits until it is there, and
# presses button $3 (default 1). (xdotool's own --sync waits for a motion,
# which never comes when the pointer is there already.)
pointer_at() { [[ "$(x xdotool getmouselocation --shell 2>/dev/null | sed -n 's/^[XY]=//p' | paste -sd,)" == "$1,$2" ]]; }
click_at() {
  x xdotool mousemove "$1" "$2"
  wait_until 50 pointer_at "$1" "$2" || return 1
  x xdotool click "${3:-1}"
}

# The ids of the windows shown on the display, one a line, in order.
shown_windows() { x xdotool search --onlyvisible --name '' 2>/dev/null | sort; }
# Waits up to $2 tenths of a second for a window to show that is not among $1
# (a list from shown_windows), such as a menu opening.
wait_new_window() {
  local before="$1" tenths="$2"
  new_window_shown() { [[ -n "$(comm -13 <(printf '%s\n' "$before") <(shown_windows))" ]]; }
  wait_until "$tenths" new_window_shown
}

# "X Y WIDTH HEIGHT" of window $1 on the screen (the window itself, inside
# any frame the window manager put round it); empty when it is gone.
client_geometry() {
  x xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ { gx = $NF } /Absolute upper-left Y:/ { gy = $NF }
    /^ *Width:/ { gw = $NF } /^ *Height:/ { gh = $NF }
    END { if (gw != "") print gx, gy, gw, gh }'
}
# True when window $1's geometry is the one the previous call saw (so two
# calls in a row, a poll apart, found it standing still); a first call is false.
_e2e_last_geometry=""
window_steady() {
  local now
  now="$(client_geometry "$1")"
  if [[ -n "$now" && "$now" == "$_e2e_last_geometry" ]]; then return 0; fi
  _e2e_last_geometry="$now"
  return 1
}
# True when window $1 has the keyboard focus.
window_focused() { [[ "$(x xdotool getwindowfocus 2>/dev/null)" == "$1" ]]; }

# True when no program holds the pointer grabbed, such as a window manager
# still tracking a move or size after the button went up; it asks by grabbing
# the pointer itself for a moment (so never call it while a drag starts).
pointer_free() {
  DISPLAY="$display" python3 - <<'PY'
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint, ctypes.c_int,
                           ctypes.c_int, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
x.XUngrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(None)
if not d:
    sys.exit(2)
# Asynchronous pointer and keyboard, no confinement, no cursor, the current time.
got = x.XGrabPointer(d, x.XDefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0)
if got == 0:
    x.XUngrabPointer(d, 0)
x.XSync(d, 0)
x.XCloseDisplay(d)
sys.exit(0 if got == 0 else 1)
PY
}

# Drags with button 1 from $1,$2 to $3,$4 where the program hands the drag to
# the window manager (a caption, a sizing edge, a size grip): window $5 is
# the one moved or sized; the program adds a line matching $7 to file $6 once
# it has asked the window manager to track the pointer. The pointer moves on
# only after that line (the manager starts from where the pointer was then),
# in five steps as a hand would; the second waits until the window has
# followed the first (the manager has the pointer, so every later motion and
# the button going up reach it in order), making the first again when it had
# reached the program before the manager took the pointer. $8, when given,
# is the pause in seconds between the later steps: the pace of the hand,
# which decides nothing the script waits for. False when a condition never came.
wm_drag() {
  local from_x="$1" from_y="$2" to_x="$3" to_y="$4" wid="$5" file="$6" pattern="$7" pace="${8:-}"
  local asked start i try step_x step_y
  wait_until 50 pointer_free || { echo "the pointer stayed grabbed"; return 1; }
  x xdotool mousemove "$from_x" "$from_y"
  wait_until 50 pointer_at "$from_x" "$from_y" || { echo "the pointer did not reach $from_x,$from_y"; return 1; }
  asked="$(grep -c -E -- "$pattern" "$file")"
  start="$(client_geometry "$wid")"
  x xdotool mousedown 1
  drag_handed() { (( $(grep -c -E -- "$pattern" "$file") > asked )); }
  if ! wait_until 100 drag_handed; then
    x xdotool mouseup 1
    echo "the press did not hand the drag to the window manager"
    return 1
  fi
  window_followed() { [[ "$(client_geometry "$wid")" != "$start" ]]; }
  for i in 1 2 3 4 5; do
    step_x=$((from_x + (to_x - from_x) * i / 5)) step_y=$((from_y + (to_y - from_y) * i / 5))
    x xdotool mousemove "$step_x" "$step_y"
    if (( i == 1 )); then
      for try in $(seq 1 10); do
        wait_until 10 window_followed && break
        x xdotool mousemove $((step_x + 1)) $((step_y + 1))
        x xdotool mousemove "$step_x" "$step_y"
      done
      if ! window_followed; then
        x xdotool mouseup 1
        echo "the window did not follow the pointer"
        return 1
      fi
    elif [[ -n "$pace" ]]; then
      sleep "$pace"
    fi
  done
  x xdotool mouseup 1
}
