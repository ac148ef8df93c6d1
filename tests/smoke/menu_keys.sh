# The menu bar under real keys and clicks with 0, 1, 2 and 4 recent files in the settings: Alt+F as
# the first menu action opens "Fichier", Escape closes it, twenty times; in a second start the first
# click on "Fichier" leaves the menu open. menu_keys.sh PROGRAM SOURCE WORK.
source "$(dirname "$0")/smoke_session.sh"

# The program's visible windows: the main window, one more while a menu is open.
windows() { xdotool search --onlyvisible --pid "$X11_PID" 2>/dev/null | wc -l; }

# menu_shown yes|no: waits until a menu is open (yes) or none is (no); false after 5 s.
menu_shown() {
  local end=$((SECONDS + 5)) count
  while [ "$SECONDS" -lt "$end" ]; do
    kill -0 "$X11_PID" 2>/dev/null || fail "kurvomat ended (crash?)"
    count=$(windows)
    if [ "$1" = yes ] && [ "$count" -ge 2 ]; then return 0; fi
    if [ "$1" = no ] && [ "$count" -eq 1 ]; then return 0; fi
    sleep 0.05
  done
  return 1
}

# start RECENT: kurvomat on no document, the settings listing RECENT recent files.
start() {
  local i
  rm -rf "$work/config"
  mkdir -p "$work/config/Z-W"
  {
    echo "[Recent File List]"
    for ((i = 1; i <= $1; ++i)); do echo "File$i=$work/recent$i.gen"; done
  } >"$work/config/Z-W/Kurvomat.conf"
  x11_start "$work/kurvomat.log" "$program"
  main=$(x11_window " - Kurvomat$") || fail "the main window did not show ($1 recent files)"
  x11_after_splash || fail "the splash did not close ($1 recent files)"
}

# quit: Alt+F4 on the unmodified document, and the end checked.
quit() {
  x11_keys "$main" Escape Escape alt+F4
  smoke_ended
}

for recent in 0 1 2 4; do
  start "$recent"
  xdotool windowfocus --sync "$main"
  for ((round = 1; round <= 20; ++round)); do
    xdotool key alt+f
    menu_shown yes || fail "Alt+F opened no menu (round $round, $recent recent files)"
    xdotool key Escape
    menu_shown no || fail "Escape left the menu open (round $round, $recent recent files)"
    xdotool key Escape  # leaves the menu bar
  done
  x11_shot root "$work/keys-$recent.png"
  quit

  start "$recent"
  # "Fichier" is the first title of the menu bar, at the window's top left.
  xdotool mousemove --window "$main" 20 10 click 1
  menu_shown yes || fail "the first click on Fichier opened no menu ($recent recent files)"
  sleep 0.5
  [ "$(windows)" -ge 2 ] || fail "the first click on Fichier closed the menu at once ($recent recent files)"
  x11_shot root "$work/click-$recent.png"
  quit
done
echo "Alt+F and the first click on Fichier hold with 0, 1, 2 and 4 recent files"
