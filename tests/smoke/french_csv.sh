# A French spreadsheet's file (column titles, semicolons, decimal commas, CRLF) loaded under
# LC_ALL=fr_FR.UTF-8 through the open dialog's semicolon entry with real keys, fitted by least
# squares from the menu and saved on exit; the coefficients saved are the ones the data were made
# with: french_csv.sh PROGRAM SOURCE WORK. The screenshots stay in WORK.
source "$(dirname "$0")/smoke_session.sh"
french_locale
cp "$source_dir/examples/decay.gen" "$work/decay.gen"  # its function: A*EXP(-B*X)+C

# y = 3 e^(-x/2) + 2 at x = 0, 0.5, ..., 9.5, six decimals, written as a French spreadsheet would.
{
  printf 'Temps (s);Tension (V)\r\n'
  LC_ALL=C awk 'BEGIN { for (i = 0; i < 20; i++) { x = i / 2; printf "%g;%.6f\r\n", x, 3 * exp(-x / 2) + 2 } }' |
    tr . ,
} >"$work/mesures.csv"

x11_start "$work/kurvomat.log" env LC_ALL=fr_FR.UTF-8 "$program" "$work/decay.gen"
main=$(x11_window "^decay\.gen - Kurvomat$") || fail "the main window did not show"
x11_after_splash || fail "the splash did not close"

# "Fichier", "Charger une Table de Points...": the fifth entry of the file types, then the path.
x11_keys "$main" alt+f p Return
dialog=$(x11_window "^Ouvrir un fichier contenant une table de points$") || fail "no open dialog"
x11_keys "$dialog" Tab Down Down Down Down shift+Tab
x11_shot root "$work/open-csv.png"
x11_type "$dialog" "$work/mesures.csv"
x11_keys "$dialog" Return
x11_gone "$dialog" || fail "the file dialog stayed open"

# "Ajustement", "Ajustement", "Moindres Carrés".
smoke_fit alt+j a m

# Loading and fitting modified the document: "Oui" saves it into decay.gen.
smoke_close_saving
smoke_ended

# The 2202-byte form: the count at 0, coefficients A, B, C at 1863.
[ "$(stat -c %s "$work/decay.gen")" -eq 2202 ] || fail "decay.gen has $(stat -c %s "$work/decay.gen") bytes"
count=$(LC_ALL=C od -A n -t d4 -N 4 "$work/decay.gen" | tr -d ' ')
[ "$count" = 20 ] || fail "$count points saved, not 20"
coefficients=$(LC_ALL=C od -A n -t f8 -j 1863 -N 24 "$work/decay.gen" | xargs)
LC_ALL=C awk -v c="$coefficients" 'BEGIN {
  split(c, v, " ")
  exit !(v[1] - 3 < 1e-5 && 3 - v[1] < 1e-5 && v[2] - 0.5 < 1e-5 && 0.5 - v[2] < 1e-5 &&
         v[3] - 2 < 1e-5 && 2 - v[3] < 1e-5)
}' || fail "fitted coefficients: $coefficients"
echo "fitted A B C = $coefficients from a French semicolon file"
