# Under a French locale, whose decimal separator is a comma, kurvomat still reads "2.5" as 2.5 and
# writes points with a point: loads a point table and saves it again through the menu and the file
# dialogs: french_locale.sh PROGRAM SOURCE WORK. Makes the locale in WORK when the system lacks it.
source "$(dirname "$0")/smoke_session.sh"
if ! locale -a 2>/dev/null | grep -qix "fr_FR.utf-\?8"; then
  mkdir -p "$work/locales"
  # localedef also ends with 1 on mere warnings: the check below says whether the locale works.
  localedef -i fr_FR -f UTF-8 "$work/locales/fr_FR.UTF-8" || true
  export LOCPATH="$work/locales"
fi
[ "$(LC_ALL=fr_FR.UTF-8 locale decimal_point)" = "," ] || fail "no French locale to test under"

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

x11_keys "$main" alt+F4
smoke_ended
[ -f "$work/out.dat" ] || fail "no point table saved (the table did not load?)"
expected=$'3\n     2.500000      1.250000\n    -0.500000      3.750000\n    10.000000     -2.500000'
[ "$(cat "$work/out.dat")" = "$expected" ] || fail "saved table: $(cat "$work/out.dat")"
echo "read and wrote 2.5 under fr_FR.UTF-8"
