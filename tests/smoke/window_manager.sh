# The program under a window manager (openbox), as a person meets it: the graph window, opened by
# keys with the pointer parked away from it, shows the whole page at once (its ink is the same
# before and after the pointer passes over it); the modal windows ask for a title and a close box
# only; the help command without its help file says so in a message box.
# window_manager.sh PROGRAM SOURCE WORK.
source "$(dirname "$0")/smoke_session.sh"
for tool in openbox xprop; do
  command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/deps"
done
x11_window_manager "$work/openbox.log" || fail "no window manager"
cp "$source_dir/examples/sine.gen" "$work/sine.gen"

# ink PICTURE: its dark pixels.
ink() { convert "$1" -colorspace gray -threshold 50% -format "%[fx:round(w*h*(1-mean))]" info:; }

# modal_hints WINDOW WHAT: the window's Motif hints give it a title and the close function, neither
# minimise nor maximise, and openbox, having read them and the fixed size, offers no maximise.
modal_hints() {
  local motif flags functions decorations actions
  motif=$(xprop -id "$1" _MOTIF_WM_HINTS)
  read -r flags functions decorations _ <<<"$(echo "${motif#*= }" | tr -d ',')"
  [ -n "$decorations" ] || fail "$2: no Motif hints ($motif)"
  # Flags: 1 functions, 2 decorations. Functions: 1 all, 8 minimise, 16 maximise, 32 close.
  # Decorations: 1 all, 8 title, 32 minimise, 64 maximise.
  if (((flags & 3) != 3 || (functions & 25) != 0 || (functions & 32) == 0 ||
       (decorations & 97) != 0 || (decorations & 8) == 0)); then
    fail "$2: its hints ask for more than a title and a close box ($motif)"
  fi
  actions=$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS)
  case "$actions" in
    *MAXIMIZE*) fail "$2: openbox lets it be maximised ($actions)" ;;
    *_NET_WM_ACTION_CLOSE*) ;;
    *) fail "$2: openbox gives it no close box ($actions)" ;;
  esac
}

x11_start "$work/kurvomat.log" "$program" "$work/sine.gen"
main=$(x11_window "^sine\.gen - Kurvomat$") || fail "the main window did not show"
x11_after_splash || fail "the splash did not close"

# "Ajustement" > "Résultats graphiques" with the pointer in the screen's corner, where no window is.
read -r width height < <(xdotool getdisplaygeometry)
park() { xdotool mousemove $((width - 1)) $((height - 1)); }
park
x11_keys "$main" alt+j r
graph=$(x11_window "^R.*sultats Graphiques$") || fail "no graph window"
sleep 1
x11_shot "$graph" "$work/graph-first.png"
x11_shot root "$work/graph-screen.png"
# The pointer passes over the plot, then over the window's corner (the read-outs empty again).
xdotool mousemove --window "$graph" 600 400 sleep 0.3 mousemove --window "$graph" 4 4 sleep 0.3
park
sleep 0.5
x11_shot "$graph" "$work/graph-after.png"
first=$(ink "$work/graph-first.png")
after=$(ink "$work/graph-after.png")
echo "graph window's ink: $first dark pixels as it opened, $after after the pointer passed"
[ "$after" -gt 5000 ] || fail "the graph window shows no page ($after dark pixels)"
[ $(((first - after) * (first - after) * 10000)) -le $((9 * after * after)) ] ||
  fail "the graph window was not painted whole as it opened ($first against $after dark pixels)"
modal_hints "$graph" "the graph window"
x11_keys "$graph" Return
x11_gone "$graph" || fail "the graph window stayed open"

# "?" > "Aide, Mode d'emploi": no help file beside the program.
x11_keys "$main" alt+f Left m
box=$(x11_window "^Kurvomat$") || fail "no message box for the missing help file"
x11_shot root "$work/help-box.png"
modal_hints "$box" "the message box"
x11_keys "$box" Return
x11_gone "$box" || fail "the message box stayed open"

x11_keys "$main" alt+F4
smoke_ended
echo "the graph window is painted whole as it opens; modal windows ask for a title and a close box"
