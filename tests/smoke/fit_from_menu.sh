# Starts kurvomat on a copy of examples/sine.gen, fits by Levenberg-Marquardt from the menu with real
# keys, answers the result, closes with Alt+F4 saving the document: fit_from_menu.sh PROGRAM SOURCE
# WORK. The screenshots stay in WORK.
source "$(dirname "$0")/smoke_session.sh"
cp "$source_dir/examples/sine.gen" "$work/sine.gen"
touch -d "2000-01-01" "$work/sine.gen"

x11_start "$work/kurvomat.log" "$program" "$work/sine.gen"
main=$(x11_window "^sine\.gen - Kurvomat$") || fail "the main window did not show"
x11_after_splash "$work/splash.png" || fail "the splash did not close"

# Menu "Ajustement", its submenu "Ajustement", item "Levenberg Marquardt", by their mnemonics.
smoke_fit alt+j a l

# The fit modified the document: closing asks whether to save it; "Oui" is the default answer.
smoke_close_saving
smoke_ended
[ "$(stat -c %Y "$work/sine.gen")" -gt "$(date -d 2000-01-02 +%s)" ] || fail "sine.gen was not saved"
[ "$(stat -c %s "$work/sine.gen")" -eq 2202 ] || fail "sine.gen has $(stat -c %s "$work/sine.gen") bytes"
echo "fitted and saved; screenshots in $work"
