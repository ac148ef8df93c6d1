// Menu 128 and accelerator table 128 of the main window.
#include "resources/kurvomat_resources.h"
#include "resources/resource_ids.h"

namespace {

MenuItemTemplate Item(UINT id, const wchar_t* text, UINT flags = 0) {
    return {text, id, flags, {}};
}

MenuItemTemplate Separator() {
    return {L"", 0, MF_SEPARATOR, {}};
}

MenuItemTemplate Popup(const wchar_t* text, std::vector<MenuItemTemplate> items) {
    return {text, 0, MF_POPUP, std::move(items)};
}

}  // namespace

std::vector<MenuTemplate> KurvomatMenus() {
    MenuTemplate menu;
    menu.id = IDR_MAINFRAME;
    menu.items = {
        Popup(L"&Fichier",
              {
                  Item(ID_FILE_NEW, L"&Nouvelle application\tCtrl+N"),
                  Separator(),
                  Item(ID_LOAD_POINTS, L"Charger une Table de &Points..."),
                  Item(ID_SAVE_POINTS, L"Sauver la &Table de Points..."),
                  Separator(),
                  Item(ID_LOAD_COEF, L"Charger les &Coefficients..."),
                  Item(ID_SAVE_COEF, L"Sauver les C&oefficients..."),
                  Separator(),
                  Item(ID_LOAD_FUNCTION_COEF, L"Charger &F et ses Coefficients..."),
                  Item(ID_SAVE_FUNCTION_COEF, L"Sa&uver F et ses Coefficients..."),
                  Separator(),
                  Item(ID_LOAD_APPLICATION, L"Charger une &Application...\tCtrl+O"),
                  Item(ID_FILE_SAVE, L"&Sauver l'Application\tCtrl+S"),
                  Item(ID_SAVE_APPLICATION_AS, L"Sauver l'A&pplication sous..."),
                  Separator(),
                  Item(ID_EXPORT_BITMAP, L"&Export des résultats en bitmap..."),
                  Item(ID_FILE_PRINT, L"&Impression des résultats...\tCtrl+P"),
                  Item(ID_FILE_PRINT_PREVIEW, L"Aperçu a&vant impression"),
                  Item(ID_FILE_PRINT_SETUP, L"C&onfiguration de l'impression..."),
                  Separator(),
                  Item(ID_FILE_MRU_FILE1, L"Fichier récent", MF_GRAYED),
                  Separator(),
                  Item(ID_APP_EXIT, L"&Fin de Kurvomat"),
              }),
        Popup(L"A&justement",
              {
                  Item(ID_ENTER_FUNCTION, L"Entrer une &Fonction"),
                  Item(ID_ENTER_COEF, L"&Entrer/Modifier les &Coefficients"),
                  Item(ID_ENTER_TABLE, L"Entrer une Table de &Points"),
                  Popup(L"&Ajustement",
                        {
                            Item(ID_LEAST_SQUARES, L"&Moindres Carrés"),
                            Item(ID_LEVENBERG_MARQUARDT, L"&Levenberg Marquardt"),
                        }),
                  Item(ID_DEFINE_SCALE, L"&Définir l'échelle du graphique"),
                  Item(ID_GRAPH_RESULTS, L"&Résultats graphiques"),
                  Item(ID_FILE_PRINT, L"&Impression des résultats...\tCtrl+P"),
              }),
        Popup(L"&Equations Différentielles",
              {
                  Item(ID_ODE_1, L"&1er ordre : y'=f(x,y)"),
                  Item(ID_ODE_2, L"&2ème ordre : y\"=f(x,y)"),
                  Item(ID_ODE_N, L"Equation &nième ordre"),
              }),
        Popup(L"&Calculs sur la fonction",
              {
                  Item(ID_CALC_FX, L"&Calcul de f(x)"),
                  Popup(L"&Résolution Y=f(x)",
                        {
                            Item(ID_SOLVE_BISECTION, L"&Dichotomie (intervalles)"),
                            Item(ID_SOLVE_NEWTON, L"Méthode de &Newton (tangeantes)"),
                        }),
                  Item(ID_CALC_DERIVATIVE, L"Calcul de la &dérivée de f"),
                  Item(ID_CALC_INTEGRAL, L"Calcul de l'&intégrale de f (Simpson)"),
              }),
        Popup(L"&?",
              {
                  Item(ID_APP_ABOUT, L"&A propos de Kurvomat..."),
                  Item(ID_HELP_MANUAL, L"Aide, &Mode d'emploi"),
              }),
    };
    return {menu};
}

std::vector<AcceleratorTable> KurvomatAccelerators() {
    AcceleratorTable table;
    table.id = IDR_MAINFRAME;
    // Ctrl+S is the save-as command, although the menu shows it beside the plain save.
    table.entries = {
        {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW},
        {FVIRTKEY | FCONTROL, 'O', ID_LOAD_APPLICATION},
        {FVIRTKEY | FCONTROL, 'S', ID_SAVE_APPLICATION_AS},
        {FVIRTKEY | FCONTROL, 'P', ID_FILE_PRINT},
        {FVIRTKEY, VK_F6, ID_NEXT_PANE},
        {FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE},
    };
    return {table};
}
