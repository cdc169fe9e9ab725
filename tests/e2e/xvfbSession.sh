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
    for tool in xvfb-run xdotool xprop "$@"; do
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
  # One client stays connected for the whole session: the server resets whenever
  # its last client leaves and refuses the next connection meanwhile, which
  # would fail any start that follows a short-lived client (xdotool, a program
  # just stopped).
  local holder=""
  for _ in $(seq 50); do
    xprop -root -spy >/dev/null 2>&1 &
    holder=$!
    sleep 0.1
    kill -0 "$holder" 2>/dev/null && break
    holder=""
  done
  [ -n "$holder" ] || exit 99
  work=$(mktemp -d)
  pids=("$holder")
  trap e2e_cleanup EXIT
}

e2e_cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}

# Starts a copy of the program in `work` (so that its settings file starts
# empty there) with the test hook in $work/hook.txt.
e2e_start_magna() {  # magna [arguments...]
  unset QT_QPA_PLATFORM
  export LSAN_OPTIONS=detect_leaks=0
  hook=$work/hook.txt
  cp "$1" "$work/magna" || e2e_fail "cannot copy the program"
  e2e_launch "$work/magna" "${@:2}"
  sleep 0.3
}

# Starts the program (the command's words: a launcher may come first) with the
# test hook in `hook`, waits for its window (`window`, `magna_pid`) and clicks
# into the text area so that keys reach it.
e2e_launch() {  # command...
  MAGNA_TEST_HOOK=$hook "$@" 2>>"$work/stderr.txt" &
  magna_pid=$!
  pids+=($magna_pid)
  window=""
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Magna$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    kill -0 "$magna_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$window" ] || e2e_fail "the window did not appear"
  sleep 0.5
  rm -f "$hook"
  xdotool mousemove --window "$window" 200 120 click 1
}

# Waits up to 30 s for the program (`magna_pid`) to end by itself and sets
# `end_status` to its exit status.
e2e_wait_end() {  # what should end it (for the failure message)
  for _ in $(seq 300); do
    kill -0 "$magna_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$magna_pid" 2>/dev/null && e2e_fail "the program did not end on $1"
  wait "$magna_pid"
  end_status=$?
}

# Closes the window with Alt+F4 and waits for the program to end with status 0.
e2e_close_window() {
  xdotool key alt+F4
  e2e_wait_end "Alt+F4"
  [ "$end_status" -eq 0 ] || e2e_fail "the program ended with status $end_status"
}

# Starts an X server of the test's own, which the test may stop under the program
# (`display_pid`), and points DISPLAY at it. It does not reset when its last
# client leaves, so no client need hold it.
e2e_own_display() {
  local number=$work/display$RANDOM
  Xvfb -noreset -displayfd 3 -screen 0 1280x800x24 3>"$number" 2>>"$work/xvfb.txt" &
  display_pid=$!
  pids+=($display_pid)
  for _ in $(seq 100); do
    [ -s "$number" ] && break
    sleep 0.1
  done
  [ -s "$number" ] || e2e_fail "the X server of the test's own did not start"
  export DISPLAY=:$(<"$number")
}

# Starts a helper that prints `word` once it owns its selection, and waits up to
# 10 s for that word.
e2e_start_owner() {  # word command...
  local word=$1 out=$work/owner$RANDOM.txt
  shift
  "$@" >"$out" 2>>"$work/stderr.txt" &
  pids+=($!)
  for _ in $(seq 100); do
    grep -q "$word" "$out" 2>/dev/null && return 0
    sleep 0.1
  done
  e2e_fail "$1 did not take its selection"
}

e2e_fail() {
  echo "FAIL: $*"
  [ -f "${hook:-}" ] && { echo "--- hook:"; cat "$hook"; }
  [ -f "$work/stderr.txt" ] && { echo "--- stderr:"; tail -20 "$work/stderr.txt"; }
  exit 1
}

# Microseconds since the epoch, without starting a process.
e2e_now_us() {
  local now=${EPOCHREALTIME/./}
  echo $((10#$now))
}

# Whether the hook holds the line (read by the shell itself: timings stay exact).
e2e_hook_has() {  # line
  local line
  [ -f "$hook" ] || return 1
  while IFS= read -r line; do
    [ "$line" = "$1" ] && return 0
  done <"$hook"
  return 1
}

# Waits up to `seconds` (30 unless given) for the hook to hold the line.
e2e_expect_line() {  # line [seconds]
  [ -p "$work/idle" ] || mkfifo "$work/idle"
  exec 9<>"$work/idle"  # never written: a read from it is a pause without a process
  local deadline=$(($(e2e_now_us) + ${2:-30} * 1000000))
  until e2e_hook_has "$1"; do
    [ "$(e2e_now_us)" -gt "$deadline" ] && e2e_fail "expected line '$1'"
    read -r -t 0.002 -u 9
  done
}

# Presses the key through one long-running xdotool (no process start in the
# measured time) and sets `latency_ms`: milliseconds until the hook shows the line.
e2e_key_latency() {  # key line
  if [ ! -p "$work/keys" ]; then
    mkfifo "$work/keys"
    xdotool - <"$work/keys" &
    pids+=($!)
    exec 8>"$work/keys"
  fi
  local start
  start=$(e2e_now_us)
  echo "key $1" >&8
  e2e_expect_line "$2" 10
  latency_ms=$((($(e2e_now_us) - start) / 1000))
}
