#!/bin/bash
# End-to-end: the program as the first client of a fresh X server, as under a
# bare `xvfb-run magna`. Such a server resets when its last client leaves and
# refuses connections meanwhile, so the program's own check of the display must
# not be that last client before Qt connects. Six starts, each on a new server,
# must each come up (the test hook reports the text given); nothing else talks
# to the server meanwhile. Only processes started here are stopped.
# Usage: bash firstClient_test.sh <path-to-magna>
set -u
magna=${1:?usage: firstClient_test.sh <path-to-magna>}
for tool in xvfb-run; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 0; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LSAN_OPTIONS=detect_leaks=0 XDG_CONFIG_HOME=$work
unset QT_QPA_PLATFORM
cp "$magna" "$work/magna" || { echo "FAIL: cannot copy the program"; exit 1; }

# Inside one server: start the program, wait up to 30 s for its first status
# record, stop it.
one_start='
  rm -f "$2"
  MAGNA_TEST_HOOK="$2" "$0" up 2>"$1" &
  pid=$!
  for _ in $(seq 300); do
    grep -qx "text=up" "$2" 2>/dev/null && { kill $pid; wait $pid; exit 0; }
    kill -0 $pid 2>/dev/null || exit 3
    sleep 0.1
  done
  kill $pid
  exit 4'

# xvfb-run itself may lose a race for a display number to another server
# starting at the same moment: that start is tried again.
for start in 1 2 3 4 5 6; do
  for try in 1 2 3; do
    xvfb-run -a -s '-screen 0 800x600x24' bash -c "$one_start" \
      "$work/magna" "$work/stderr.txt" "$work/hook.txt"
    status=$?
    case $status in
      0 | 3 | 4) break ;;
      *) sleep $((RANDOM % 3 + 1)) ;;
    esac
  done
  case $status in
    0) ;;
    3) echo "FAIL: start $start ended before it came up:"; cat "$work/stderr.txt"; exit 1 ;;
    4) echo "FAIL: start $start did not come up in 30 s"; exit 1 ;;
    *) echo "FAIL: xvfb-run could not run start $start"; exit 1 ;;
  esac
done
echo "PASS: six first starts on fresh X servers"
exit 0
