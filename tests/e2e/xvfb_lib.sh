# Shared by the end-to-end scripts (sourced): the tool check, the scratch
# folder and its clean-up, a private Xvfb server, programs fed through a pipe,
# and waiting for conditions. Nothing here sleeps for a fixed time to let
# something happen: each wait is for a condition, bounded.

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
  e2e_track "$!"
  wm_ready() { x xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  wait_until 100 wm_ready && return 0
  echo "FAIL: the window manager did not start"; cat "$work/wm.err"; exit 1
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
