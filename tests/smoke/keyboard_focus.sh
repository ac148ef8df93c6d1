# Starts kurvomat on a copy of examples/sine.gen and, with real keys, clears the coefficients with
# RAZ, moves to Cancel with Tab and presses Enter there: nothing is stored, so Alt+F4 closes without
# asking to save: keyboard_focus.sh PROGRAM SOURCE WORK. The screenshot stays in WORK.
source "$(dirname "$0")/smoke_session.sh"
cp "$source_dir/examples/sine.gen" "$work/sine.gen"

x11_start "$work/kurvomat.log" "$program" "$work/sine.gen"
main=$(x11_window "^sine\.gen - Kurvomat$") || fail "the main window did not show"
x11_after_splash || fail "the splash did not close"

# Ajustement > Entrer/Modifier les Coefficients. The focus starts on A; Shift+Tab goes round past
# OK and Cancel to RAZ, Space presses it, Tab moves on to Cancel.
x11_keys "$main" alt+j e
coef=$(x11_window "^MODIFICATION DES COEFFICIENTS DE LA FONCTION$") || fail "no coefficient dialog"
x11_keys "$coef" shift+Tab shift+Tab shift+Tab space Tab
x11_shot "$coef" "$work/cancel-focused.png"
x11_keys "$coef" Return
x11_gone "$coef" || fail "the coefficient dialog stayed open"

# The document is unchanged: the program ends at once, with no question whether to save.
x11_keys "$main" alt+F4
smoke_ended
echo "Enter pressed Cancel; screenshot in $work"
