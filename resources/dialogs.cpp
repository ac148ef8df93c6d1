// Dialog templates: about box 100, splash 130, function 131, coefficients 132, point table 134,
// single point 135, fit result 136, calculation 137, graph window 138, differential-equation
// form 140, scale dialog 143.
#include "resources/kurvomat_resources.h"
#include "resources/resource_ids.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kChild | SS_LEFT | SS_NOPREFIX;

DialogControlTemplate Control(const wchar_t* className, int id, const wchar_t* text, DWORD style,
                              int x, int y, int cx, int cy) {
    return {className, id, text, style, x, y, cx, cy, 0};
}

DialogControlTemplate Static(int id, const wchar_t* text, DWORD style, int x, int y, int cx,
                             int cy) {
    return Control(kStaticClass, id, text, style, x, y, cx, cy);
}

constexpr DWORD kModalWithCaption = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

DialogTemplate Template(UINT id, DWORD style, int cx, int cy, const wchar_t* caption) {
    DialogTemplate t;
    t.id = id;
    t.style = style;
    t.cx = cx;
    t.cy = cy;
    t.caption = caption;
    return t;
}

// The icon and the three lines that the about box and the splash share, at the same places.
std::vector<DialogControlTemplate> TitleLines() {
    return {
        Static(-1, L"128", kChild | SS_ICON, 11, 17, 20, 20),
        Static(-1, L"KURVOMAT pour Linux Version 2.1", kLabel, 73, 13, 126, 10),
        Static(-1, L"AJUSTEMENT D'UNE FONCTION ", kLabel, 74, 28, 125, 10),
        Static(-1, L"PAR LA METHODE DES MOINDRES CARRES", kLabel, 59, 39, 155, 10),
    };
}

DialogTemplate AboutBox() {
    DialogTemplate t = Template(IDD_ABOUTBOX, kModalWithCaption, 273, 133, L"A propos de Kurvomat");
    t.controls = TitleLines();
    t.controls.push_back(Control(kButtonClass, IDOK, L"OK",
                                 kChild | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 111, 111, 50,
                                 14));
    return t;
}

DialogTemplate Splash() {
    DialogTemplate t = Template(IDD_WAIT, WS_POPUP | DS_MODALFRAME | DS_SETFONT, 234, 118, L"");
    t.controls = TitleLines();
    return t;
}

// Entry dialogs: function 131, coefficients 132, point table 134.

DialogControlTemplate Button(int id, const wchar_t* text, DWORD kind, int x, int y) {
    return Control(kButtonClass, id, text, kChild | WS_TABSTOP | kind, x, y, 50, 14);
}

DialogTemplate EnterFunction() {
    DialogTemplate t =
        Template(IDD_ENTER_FUNCTION, kModalWithCaption, 401, 175, L"Entrée de la fonction");
    // No automatic scrolling: typing stops at the visible width, so the edit takes the whole
    // width of the dialog but for a narrow margin.
    t.controls = {
        Control(kEditClass, IDC_FUNCTION_TEXT, L"", kChild | WS_BORDER | WS_TABSTOP | ES_LEFT, 4,
                14, 393, 14),
        Static(IDC_FUNCTION_MESSAGE, L"Message", kChild | SS_CENTER | SS_NOPREFIX, 4, 36, 393, 10),
        Static(-1, L"Opérations autorisées :", kLabel, 10, 60, 90, 10),
        Static(-1, L"+ - * / ^ ** ", kLabel, 104, 60, 200, 10),
        Static(-1, L"Fonctions autorisées :", kLabel, 10, 78, 90, 10),
        Static(-1,
               L"SIN COS TAN SINH COSH TANH ASIN ACOS ATAN ASINH ACOSH ATANH EXP LN LOG SQRT "
               L"COTAN COTANH INT ABS ANINT SIGN AINT FACT NEG POS ",
               kLabel, 104, 78, 286, 40),
        Button(IDOK, L"OK", BS_DEFPUSHBUTTON, 130, 150),
        Button(IDCANCEL, L"Cancel", BS_PUSHBUTTON, 220, 150),
    };
    return t;
}

DialogTemplate EnterCoef() {
    DialogTemplate t = Template(IDD_ENTER_COEF, kModalWithCaption, 230, 170,
                                L"MODIFICATION DES COEFFICIENTS DE LA FONCTION");
    t.controls = {
        Static(IDC_COEF_FUNCTION, L"Fonction", kChild | SS_CENTER | SS_NOPREFIX, 5, 8, 220, 10)};
    static const wchar_t* const names[] = {L"A=", L"B=", L"C=", L"D=", L"E=", L"F="};
    for (int i = 0; i < 6; ++i) {
        const int top = 26 + 20 * i;
        t.controls.push_back(Static(IDC_COEF_NAME_A + i, names[i], kLabel, 24, top + 2, 16, 10));
        t.controls.push_back(Control(kEditClass, IDC_COEF_VALUE_A + i, L"",
                                     kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 44,
                                     top, 100, 12));
        t.controls.push_back(Control(kButtonClass, IDC_COEF_FIXED_A + i, L"Fixe",
                                     kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 160, top + 1, 40, 10));
    }
    t.controls.push_back(Button(IDC_COEF_RAZ, L"RAZ", BS_PUSHBUTTON, 15, 150));
    t.controls.push_back(Button(IDCANCEL, L"Cancel", BS_PUSHBUTTON, 90, 150));
    t.controls.push_back(Button(IDOK, L"OK", BS_DEFPUSHBUTTON, 165, 150));
    return t;
}

DialogTemplate EnterTable() {
    DialogTemplate t = Template(IDD_ENTER_TABLE, kModalWithCaption, 389, 255,
                                L"Saisie / Modification de la table de points");
    t.controls = {
        Control(kListBoxClass, IDC_TABLE_LIST, L"",
                kChild | WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_NOTIFY | LBS_USETABSTOPS |
                    LBS_NOINTEGRALHEIGHT,
                31, 29, 174, 210),
        Static(IDC_TABLE_COUNT, L"Il y a 42 points", kLabel, 227, 33, 134, 12),
        Button(IDC_TABLE_INSERT, L"Insérer", BS_PUSHBUTTON, 227, 78),
        Button(IDC_TABLE_DELETE, L"Supprimer", BS_PUSHBUTTON, 297, 78),
        Button(IDC_TABLE_MODIFY, L"Modifier", BS_PUSHBUTTON, 227, 94),
        Button(IDC_TABLE_CLEAR, L"Effacer", BS_PUSHBUTTON, 297, 94),
        Button(IDC_TABLE_LOG_X, L"Log X", BS_PUSHBUTTON, 227, 124),
        Button(IDC_TABLE_LOG_Y, L"Log Y", BS_PUSHBUTTON, 297, 124),
        Button(IDC_TABLE_EXP_X, L"Exp X", BS_PUSHBUTTON, 227, 142),
        Button(IDC_TABLE_EXP_Y, L"Exp Y", BS_PUSHBUTTON, 297, 142),
        Button(IDC_TABLE_SWAP_POINT, L"X<->Y 1 pt", BS_PUSHBUTTON, 227, 158),
        Button(IDC_TABLE_SWAP_ALL, L"X<->Y Tous", BS_PUSHBUTTON, 297, 158),
        Button(IDCANCEL, L"Cancel", BS_PUSHBUTTON, 227, 190),
        Button(IDOK, L"OK", BS_DEFPUSHBUTTON, 297, 190),
    };
    return t;
}

// End of the entry dialogs.

DialogTemplate EnterPoint() {
    constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    DialogTemplate t =
        Template(IDD_ENTER_POINT, kModalWithCaption, 145, 95, L"Entrée/ Modification du point");
    t.controls = {
        Static(-1, L"X", kLabel, 12, 14, 10, 8),
        Control(kEditClass, IDC_POINT_X, L"", kEdit, 28, 12, 105, 12),
        Static(-1, L"Y", kLabel, 12, 36, 10, 8),
        Control(kEditClass, IDC_POINT_Y, L"", kEdit, 28, 34, 105, 12),
        Control(kButtonClass, IDCANCEL, L"Cancel", kChild | WS_TABSTOP | BS_PUSHBUTTON, 82, 70, 50,
                14),
        Control(kButtonClass, IDOK, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 13, 70, 50, 14),
    };
    return t;
}

DialogTemplate FitResult() {
    DialogTemplate t =
        Template(IDD_RESULT, kModalWithCaption, 219, 189, L"Résultats de l'ajustement");
    t.controls = {
        Static(IDC_RESULT_TITLE, L"titre", kChild | SS_CENTER | SS_NOPREFIX, 10, 10, 199, 10),
        Static(IDC_RESULT_FORMULA, L"Fonction", kLabel, 10, 32, 199, 10),
    };
    static const int rowTop[] = {57, 72, 86, 102, 115, 129};
    static const wchar_t* const names[] = {L"A=", L"B=", L"C=", L"D=", L"E=", L"F="};
    for (int i = 0; i < 6; ++i) {
        t.controls.push_back(
            Static(IDC_RESULT_NAME_A + i, names[i], kLabel, 30, rowTop[i], 16, 10));
    }
    for (int i = 0; i < 6; ++i) {
        t.controls.push_back(
            Static(IDC_RESULT_VALUE_A + i, L"000000.000000", kLabel, 52, rowTop[i], 80, 10));
    }
    for (int i = 0; i < 6; ++i) {
        t.controls.push_back(
            Static(IDC_RESULT_STATE_A + i, L"Fixe", kLabel, 150, rowTop[i], 40, 10));
    }
    t.controls.push_back(
        Static(IDC_RESULT_DISTANCE, L"La Distance Euclidienne est", kLabel, 10, 146, 199, 10));
    t.controls.push_back(Control(kButtonClass, IDOK, L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                 84, 168, 50, 14));
    return t;
}

// The graph window: its paint handler moves and sizes every control to the screen.
DialogTemplate GraphWindow() {
    DialogTemplate t = Template(IDD_GRAPH, kModalWithCaption, 427, 210, L"Résultats Graphiques");
    t.controls = {
        Control(kButtonClass, IDOK, L"OK", kChild | WS_TABSTOP | BS_PUSHBUTTON, 195, 189, 50, 14),
        Control(kButtonClass, IDC_GRAPH_FRAME, L"", kChild | BS_GROUPBOX, 7, 7, 413, 180),
        Static(IDC_READ_X, L"Static", kLabel, 7, 186, 55, 11),
        Static(IDC_READ_Y, L"Static", kLabel, 67, 186, 55, 11),
    };
    return t;
}

// Calculation dialog and differential-equation form.

constexpr DWORD kNumberEdit = kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;

DialogControlTemplate Edit(int id, int x, int y, int cx) {
    return Control(kEditClass, id, L"", kNumberEdit, x, y, cx, 12);
}

DialogControlTemplate PushButton(int id, const wchar_t* text, bool isDefault, int x, int y) {
    return Control(kButtonClass, id, text,
                   kChild | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), x, y, 50,
                   14);
}

// The coefficients in two rows of three places: A left, C middle, B right; D, F, E below.
DialogTemplate CalcF() {
    DialogTemplate t = Template(IDD_CALC_F, kModalWithCaption, 419, 142, L"Title");
    t.controls = {
        Static(IDC_CALC_FUNCTION, L"Fonction", kChild | SS_CENTER | SS_NOPREFIX, 10, 8, 399, 10)};
    static const int placeLeft[] = {10, 280, 145, 10, 280, 145};
    static const int rowTop[] = {26, 26, 26, 40, 40, 40};
    static const wchar_t* const names[] = {L"A=", L"B=", L"C=", L"D=", L"E=", L"F="};
    for (int i = 0; i < 6; ++i) {
        t.controls.push_back(
            Static(IDC_CALC_NAME_A + i, names[i], kLabel, placeLeft[i], rowTop[i], 14, 10));
        t.controls.push_back(Static(IDC_CALC_VALUE_A + i, L"000000.000000", kLabel,
                                    placeLeft[i] + 16, rowTop[i], 100, 10));
    }
    const std::vector<DialogControlTemplate> inputs = {
        Static(IDC_CALC_LABEL1, L"Entrée 1", kLabel, 10, 64, 62, 10),
        Edit(IDC_CALC_INPUT1, 72, 62, 64),
        Static(IDC_CALC_LABEL2, L"Entrée 2", kLabel, 145, 64, 62, 10),
        Edit(IDC_CALC_INPUT2, 207, 62, 64),
        Static(IDC_CALC_LABEL3, L"Entrée 3", kLabel, 280, 64, 62, 10),
        Edit(IDC_CALC_INPUT3, 342, 62, 64),
        Static(IDC_CALC_RESULT, L"Résultat", kLabel, 10, 90, 399, 10),
        PushButton(IDC_CALC_CALCULER, L"Calculer", true, 129, 116),
        PushButton(IDCANCEL, L"Sortie", false, 240, 116),
    };
    t.controls.insert(t.controls.end(), inputs.begin(), inputs.end());
    return t;
}

// The order at the top, the equation with its label and hint, the interval and its division in
// two columns, the initial values in one column, the three buttons at the bottom.
DialogTemplate EquDiff() {
    DialogTemplate t = Template(IDD_EQU_DIFF, kModalWithCaption, 316, 244,
                                L"Equation Différentielle du Nième Ordre");
    t.controls = {
        Static(IDC_EQU_ORDER_LABEL, L"Ordre", kLabel, 10, 12, 76, 8),
        Edit(IDC_EQU_ORDER, 90, 10, 30),
        Static(IDC_EQU_EQUATION_LABEL, L"Y6=", kLabel, 10, 32, 76, 8),
        Edit(IDC_EQU_EQUATION, 90, 30, 216),
        Static(IDC_EQU_HINT, L"Y=A,Y'=B,Y\"=C, ...", kLabel, 90, 45, 216, 8),
        Static(IDC_EQU_X_START_LABEL, L"XDébut", kLabel, 10, 64, 76, 8),
        Edit(IDC_EQU_X_START, 90, 62, 70),
        Static(IDC_EQU_X_END_LABEL, L"XFin (>XDébut)", kLabel, 172, 64, 70, 8),
        Edit(IDC_EQU_X_END, 246, 62, 60),
        Static(IDC_EQU_POINTS_LABEL, L"Nb Points (2 à 98)", kLabel, 10, 82, 76, 8),
        Edit(IDC_EQU_POINTS, 90, 80, 70),
        Static(IDC_EQU_FINESSE_LABEL, L"Finesse (1 à 499)", kLabel, 172, 82, 70, 8),
        Edit(IDC_EQU_FINESSE, 246, 80, 60),
        Static(IDC_EQU_SHOWN_LABEL, L"Ordre Visualisé", kLabel, 10, 100, 76, 8),
        Edit(IDC_EQU_SHOWN, 90, 98, 30),
    };
    static const int labelIds[] = {IDC_EQU_Y0_LABEL,     IDC_EQU_Y1_LABEL,
                                   IDC_EQU_Y2_LABEL,     IDC_EQU_Y2_LABEL + 1,
                                   IDC_EQU_Y2_LABEL + 2, IDC_EQU_Y2_LABEL + 3};
    static const wchar_t* const labels[] = {L"Y(XDébut)",  L"Y'(XDébut)", L"Y\"(XDébut)",
                                            L"Y3(XDébut)", L"Y4(XDébut)", L"Y5(XDébut)"};
    for (int i = 0; i < 6; ++i) {
        const int top = 120 + 16 * i;
        t.controls.push_back(Static(labelIds[i], labels[i], kLabel, 10, top + 2, 76, 8));
        t.controls.push_back(Edit(IDC_EQU_Y0 + i, 90, top, 100));
    }
    const std::vector<DialogControlTemplate> buttons = {
        PushButton(IDOK, L"OK", true, 58, 222),
        PushButton(IDCANCEL, L"Cancel", false, 133, 222),
        PushButton(IDC_EQU_EXPLAIN, L"?", false, 208, 222),
    };
    t.controls.insert(t.controls.end(), buttons.begin(), buttons.end());
    return t;
}

// The scale dialog: "Appliquer" carries the cancel id, so Escape and the close box apply.
DialogTemplate ScaleDialog() {
    DialogTemplate t =
        Template(IDD_SCALE, kModalWithCaption, 437, 314, L"Définition de l'échelle du graphique");
    t.controls = {
        PushButton(IDC_SCALE_EXIT, L"Sortie", false, 353, 41),
        PushButton(IDC_SCALE_APPLY, L"Appliquer", false, 353, 20),
        Control(kButtonClass, IDC_GRAPH_FRAME, L"", kChild | BS_GROUPBOX, 7, 65, 413, 235),
        Control(kButtonClass, IDC_SCALE_GROUP, L"", kChild | BS_GROUPBOX, 7, 7, 413, 56),
        Control(kButtonClass, IDC_SCALE_AUTO, L"Echelle Automatique",
                kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 21, 31, 82, 14),
        Edit(IDC_SCALE_X_MIN, 155, 22, 55),
        Static(IDC_SCALE_X_MIN_LABEL, L"X Min", kLabel, 126, 22, 23, 12),
        Edit(IDC_SCALE_X_MAX, 155, 41, 55),
        Static(IDC_SCALE_X_MAX_LABEL, L"X Max", kLabel, 125, 41, 23, 12),
        Edit(IDC_SCALE_Y_MIN, 263, 22, 55),
        Static(IDC_SCALE_Y_MIN_LABEL, L"Y Min", kLabel, 234, 22, 23, 12),
        Edit(IDC_SCALE_Y_MAX, 263, 41, 55),
        Static(IDC_SCALE_Y_MAX_LABEL, L"Y Max", kLabel, 233, 41, 23, 12),
        Static(IDC_READ_X, L"Static", kLabel, 303, 73, 55, 11),
        Static(IDC_READ_Y, L"Static", kLabel, 364, 73, 55, 11),
    };
    return t;
}

}  // namespace

std::vector<DialogTemplate> KurvomatDialogs() {
    return {AboutBox(),  Splash(), EnterFunction(), EnterCoef(), EnterTable(), EnterPoint(),
            FitResult(), CalcF(),  GraphWindow(),   EquDiff(),   ScaleDialog()};
}
