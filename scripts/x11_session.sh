# Shell routines that start kurvomat on an X server and drive it with xdotool, every wait bounded.
# Sourced by scripts/run and the tests under Xvfb; they need DISPLAY set, xdotool and ImageMagick
# (and for a window manager, openbox and xprop).

# How long one wait for a window or for the program's end may take, in seconds.
X11_WAIT=${X11_WAIT:-30}

# x11_start LOG PROGRAM [ARGS...]: starts the program in the background, its output into LOG.
x11_start() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 &
  X11_PID=$!
}

# x11_window_manager LOG: starts openbox (its output into LOG) and waits until it manages the screen;
# X11_WM_PID holds its process. Needs openbox and xprop.
x11_window_manager() {
  openbox --sm-disable >"$1" 2>&1 &
  X11_WM_PID=$!
  local end=$((SECONDS + X11_WAIT))
  while [ "$SECONDS" -lt "$end" ]; do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
    kill -0 "$X11_WM_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "openbox did not take the screen within ${X11_WAIT} s" >&2
  return 1
}

# x11_window TITLE_REGEX: prints the id of the first visible window whose title matches.
x11_window() {
  local id
  id=$(timeout "$X11_WAIT" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1)
  if [ -z "$id" ]; then
    echo "no visible window titled /$1/ within ${X11_WAIT} s" >&2
    return 1
  fi
  echo "$id"
}

# x11_gone WINDOW: waits until the window is no longer visible.
x11_gone() {
  local end=$((SECONDS + X11_WAIT))
  while [ "$SECONDS" -lt "$end" ]; do
    xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.1
  done
  echo "window $1 still visible after ${X11_WAIT} s" >&2
  return 1
}

# x11_after_splash [FILE]: waits until the splash has shown and closed, the started program keeping
# one visible window; FILE, when given, gets a picture of the screen while the splash shows. A splash
# never seen (closed before the first look) counts as closed after 8 s.
x11_after_splash() {
  local count seen="" start=$SECONDS
  while [ "$SECONDS" -lt $((start + X11_WAIT)) ]; do
    count=$(xdotool search --onlyvisible --pid "$X11_PID" 2>/dev/null | wc -l)
    if [ "$count" -ge 2 ] && [ -z "$seen" ]; then
      seen=yes
      [ -z "${1:-}" ] || x11_shot root "$1"
    fi
    if [ "$count" -eq 1 ] && { [ -n "$seen" ] || [ $((SECONDS - start)) -ge 8 ]; }; then return 0; fi
    sleep 0.1
  done
  echo "the splash did not close within ${X11_WAIT} s" >&2
  return 1
}

# x11_keys WINDOW KEY...: gives the window the keyboard focus, then types the keys one by one.
x11_keys() {
  local window=$1
  shift
  timeout "$X11_WAIT" xdotool windowfocus --sync "$window" key --delay 150 "$@"
}

# x11_type WINDOW TEXT: types a text into the window holding the focus.
x11_type() {
  timeout "$X11_WAIT" xdotool windowfocus --sync "$1" type --delay 20 "$2"
}

# x11_shot WINDOW|root FILE: saves a picture of one window (or the whole screen) as PNG.
x11_shot() {
  timeout "$X11_WAIT" import -window "$1" "$2"
}

# x11_wait_exit: waits for the started program to end and returns its exit status; one that does not
# end in time is killed and counts as a failure (124).
x11_wait_exit() {
  local end=$((SECONDS + X11_WAIT))
  while [ "$SECONDS" -lt "$end" ]; do
    if ! kill -0 "$X11_PID" 2>/dev/null; then
      wait "$X11_PID"
      return
    fi
    sleep 0.1
  done
  echo "the program did not end within ${X11_WAIT} s: killed" >&2
  kill -9 "$X11_PID" 2>/dev/null
  wait "$X11_PID" 2>/dev/null
  return 124
}
