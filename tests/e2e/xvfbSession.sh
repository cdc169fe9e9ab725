# Shared by the end-to-end scripts (sourced, not a test itself). Each script runs
# itself a second time inside its own Xvfb server, works in a temporary folder,
# and stops only the processes it started (listed in `pids`).

# Outer call: skips the test when a tool is missing, then runs the script again
# inside xvfb-run and exits with its status; two servers started at once may race
# for one display number, so an unreachable display is tried again.
# Inner call: waits for the display, makes `work`, and returns.
e2e_enter_xvfb() {  # script, magna, tools needed besides xvfb-run and xdotool...
  local script=$1 program=$2
  shift 2
  if [ -z "${MAGNA_E2E_INNER:-}" ]; then
    for tool in xvfb-run xdotool "$@"; do
      command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 0; }
    done
    for attempt in 1 2 3; do
      MAGNA_E2E_INNER=1 xvfb-run -a -s '-screen 0 1280x800x24' bash "$script" "$program"
      local status=$?
      [ "$status" -ne 99 ] && exit "$status"
      echo "display not reachable (attempt $attempt), trying again"
      sleep $((RANDOM % 3 + 1))
    done
    exit 1
  fi
  for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
  done
  xdotool getdisplaygeometry >/dev/null 2>&1 || exit 99
  work=$(mktemp -d)
  pids=()
  trap e2e_cleanup EXIT
}

e2e_cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
