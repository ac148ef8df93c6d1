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
  [ -z "${X11_WM_PID:-}" ] || kill "$X11_WM_PID" 2>/dev/null || true
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

# french_locale: makes sure LC_ALL=fr_FR.UTF-8 works for the program, making the locale in WORK when
# the system lacks it; fails the test when there is none to test under.
french_locale() {
  if ! locale -a 2>/dev/null | grep -qix "fr_FR.utf-\?8"; then
    mkdir -p "$work/locales"
    # localedef also ends with 1 on mere warnings: the check below says whether the locale works.
    localedef -i fr_FR -f UTF-8 "$work/locales/fr_FR.UTF-8" || true
    export LOCPATH="$work/locales"
  fi
  [ "$(LC_ALL=fr_FR.UTF-8 locale decimal_point)" = "," ] || fail "no French locale to test under"
}

# smoke_fit KEY...: runs a fit from the main window ($main) by the menu keys given and closes its
# result dialog with Return; fit-result.png and fitted.png in WORK show both.
smoke_fit() {
  x11_keys "$main" "$@"
  local result
  result=$(x11_window "^R.*sultats de l.ajustement$") || fail "no fit result dialog"
  x11_shot root "$work/fit-result.png"
  x11_keys "$result" Return
  x11_gone "$result" || fail "the result dialog stayed open"
  x11_shot "$main" "$work/fitted.png"
}

# smoke_close_saving: closes the main window ($main) with Alt+F4 and answers the offer to save a
# modified document with its default, "Oui".
smoke_close_saving() {
  x11_keys "$main" alt+F4
  local question
  question=$(x11_window "^Kurvomat$") || fail "no question whether to save"
  x11_shot root "$work/save-question.png"
  x11_keys "$question" Return
}
