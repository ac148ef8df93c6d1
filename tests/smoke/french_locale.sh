# Under a French locale, whose decimal separator is a comma, kurvomat still reads "2.5" as 2.5 and
# writes points with a point: loads a point table and saves it again through the menu and the file
# dialogs, then the document on exit: french_locale.sh PROGRAM SOURCE WORK. Makes the locale in WORK
# when the system lacks it.
source "$(dirname "$0")/smoke_session.sh"
french_locale

printf '3\n2.5 1.25\n-0.5 3.75\n10 -2.5\n' >"$work/in.dat"
x11_start "$work/kurvomat.log" env LC_ALL=fr_FR.UTF-8 "$program"
main=$(x11_window " - Kurvomat$") || fail "the main window did not show"
x11_after_splash || fail "the splash did not close"

# "Fichier", "Charger une Table de Points...": type the file's path into the file dialog.
x11_keys "$main" alt+f p Return  # "p" first highlights the item, two items share it
dialog=$(x11_window "^Ouvrir un fichier contenant une table de points$") || fail "no open dialog"
x11_type "$dialog" "$work/in.dat"
x11_keys "$dialog" Return
x11_gone "$dialog" || fail "the file dialog stayed open"

# "Fichier", "Sauver la Table de Points...".
x11_keys "$main" alt+f t
dialog=$(x11_window "^Enregistrer la table de points sous$") ||
  fail "no save dialog: the point table did not load"
x11_type "$dialog" "$work/out.dat"
x11_keys "$dialog" Return
x11_gone "$dialog" || fail "the file dialog stayed open"
x11_shot "$main" "$work/loaded.png"

# The load marked the document modified: closing offers to save it; "Oui" asks for a name.
smoke_close_saving
dialog=$(x11_window "^Enregistrer l'application Kurvomat sous$") || fail "no save dialog"
x11_type "$dialog" "$work/table.gen"
x11_keys "$dialog" Return
smoke_ended
[ "$(stat -c %s "$work/table.gen")" -eq 2202 ] || fail "the document was not saved"
[ -f "$work/out.dat" ] || fail "no point table saved (the table did not load?)"
expected=$'3\n     2.500000      1.250000\n    -0.500000      3.750000\n    10.000000     -2.500000'
[ "$(cat "$work/out.dat")" = "$expected" ] || fail "saved table: $(cat "$work/out.dat")"
echo "read and wrote 2.5 under fr_FR.UTF-8"
