# Set-up shared by the Xvfb tests: smoke_session.sh PROGRAM SOURCE_DIR WORK_DIR (sourced).
# Gives the test a fresh WORK_DIR (kept for a person to look at), its own configuration and
# runtime folders, the routines of scripts/x11_session.sh, and the program stopped at the end.
set -euo pipefail
program=$1
source_dir=$2
work=$3
for tool in xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/deps"; exit 1; }
done
rm -rf "$work"
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
source "$source_dir/scripts/x11_session.sh"

# At the end, passed or failed: the program stopped, its output shown.
smoke_end() {
  [ -z "${X11_PID:-}" ] || kill -9 "$X11_PID" 2>/dev/null || true
  if [ -s "$work/kurvomat.log" ]; then
    echo "-- output of kurvomat:"
    cat "$work/kurvomat.log"
  fi
}
trap smoke_end EXIT

# fail MESSAGE: ends the test as failed.
fail() {
  echo "FAILED: $1"
  exit 1
}

# smoke_ended: waits for the program's end; it must end with status 0 and no sanitizer report.
smoke_ended() {
  local status=0
  x11_wait_exit || status=$?
  X11_PID=""
  [ "$status" -eq 0 ] || fail "kurvomat ended with status $status"
  if grep -q "runtime error:\|ERROR: [A-Za-z]*Sanitizer" "$work/kurvomat.log"; then fail "a sanitizer reported"; fi
}
