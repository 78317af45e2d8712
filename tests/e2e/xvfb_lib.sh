# Shared by the end-to-end scripts (sourced): the tool check and a private
# Xvfb server. The caller sets `work` (a scratch folder) first.

# Exits 77 (skipped) when one of the named programs is not installed.
require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then echo "SKIP: $tool is not installed"; exit 77; fi
  done
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
