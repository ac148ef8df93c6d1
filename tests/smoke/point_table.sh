# Opens the point table of a document whose numbers take their widest forms and whose row numbers
# reach four digits, scrolls to its end, selects a row and leaves a picture of the dialog in WORK:
# point_table.sh PROGRAM SOURCE WORK MAKE_WIDE_TABLE.
source "$(dirname "$0")/smoke_session.sh"
"$4" "$work/wide.gen" || fail "the document could not be made"

x11_start "$work/kurvomat.log" "$program" "$work/wide.gen"
main=$(x11_window "^wide\.gen - Kurvomat$") || fail "the main window did not show"
x11_after_splash || fail "the splash did not close"

# "Ajustement", "Entrer une Table de Points".
x11_keys "$main" alt+j p
table=$(x11_window "^Saisie / Modification de la table de points$") || fail "no point table"
x11_shot "$table" "$work/point-table-start.png"
# The wheel over the list down to its last rows, then a click on one of them.
timeout "$X11_WAIT" xdotool mousemove --window "$table" 150 200 click --repeat 450 --delay 2 5
timeout "$X11_WAIT" xdotool mousemove --window "$table" 150 200 click 1
sleep 0.5
x11_shot "$table" "$work/point-table.png"

x11_keys "$table" Escape
x11_gone "$table" || fail "the point table stayed open"
x11_keys "$main" alt+F4
smoke_ended
echo "point table shown; pictures in $work"
