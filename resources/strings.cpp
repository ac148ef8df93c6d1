// String table: application title, document string, status-bar indicators and menu prompts.
#include "resources/kurvomat_resources.h"
#include "resources/resource_ids.h"

std::vector<StringEntry> KurvomatStrings() {
    std::vector<StringEntry> strings{
        // Window title, document name, new-document type, filter name, filter extension,
        // file-type identifier, file-type name. No filter extension: the framework's own open
        // dialog is never used.
        {IDR_MAINFRAME, L"Kurvomat\n\nKurvom\n\n\nKurvomat.Document\nKurvom Document"},
        {AFX_IDS_APP_TITLE, L"Kurvomat"},
        {AFX_IDS_IDLEMESSAGE, L"Prêt"},

        {ID_INDICATOR_PTS, L"PTS"},
        {ID_INDICATOR_FCT, L"FCT"},
        {ID_INDICATOR_COEF, L"COEF"},
        {ID_INDICATOR_DIST, L"DIST"},
        {ID_INDICATOR_ECH, L"ECH"},
        {ID_INDICATOR_CAPS, L"MAJ"},
        {ID_INDICATOR_NUM, L"NUM"},
        {ID_INDICATOR_SCRL, L"DEF"},

        // Prompt shown in the message pane while the item is highlighted, then the tip.
        {ID_FILE_NEW, L"Crée une nouvelle Application\nNouvelle Application"},
        {ID_LOAD_POINTS,
         L"Charger un fichier texte contenant une Table de Points \nCharger une Table de Points"},
        {ID_SAVE_POINTS,
         L"Sauver la Table de Points dans un fichier texte\nSauver la Table de Points"},
        {ID_LOAD_COEF, L"Charger un fichier contenant des Coefficients\nCharger les Coefficients"},
        {ID_SAVE_COEF, L"Sauver les Coefficients dans un fichier\nSauver les Coefficients"},
        {ID_LOAD_FUNCTION_COEF,
         L"Charger une fonction et ses Coefficients\nCharger F et ses Coefficients"},
        {ID_SAVE_FUNCTION_COEF,
         L"Sauver la fonction et ses Coefficients\nSauver F et ses Coefficients"},
        {ID_LOAD_APPLICATION, L"Charger une Application éxistante\nCharger une Application"},
        {ID_FILE_SAVE, L"Sauver l'ensemble de l'application\nSauver une Application"},
        {ID_SAVE_APPLICATION_AS,
         L"Sauver l'ensemble de l'application sous un autre nom\n"
         L"Sauver une Application sous un autre nom"},
        {ID_FILE_PRINT, L"Imprime les résultats de l'ajustement\nImprimer"},
        {ID_FILE_PRINT_PREVIEW, L"Affiche des pages entières\nAperçu avant impression"},
        {ID_FILE_PRINT_SETUP,
         L"Change les options d'imprimante et d'impression\nConfiguration de l'impression"},
        {ID_APP_EXIT, L"Ferme l'application ; propose d'enregistrer les documents\nQuitter"},
        {ID_ENTER_FUNCTION, L"Editer la fonction\nEntrer une fonction"},
        {ID_ENTER_COEF, L"Editer les coefficients\nEntrer/Modifier les coefficients"},
        {ID_ENTER_TABLE, L"Editer la table de points\nEntrer une table de points"},
        {ID_LEAST_SQUARES, L"Ajustement par la méthode des moindres carrés\nMoindres Carrés"},
        {ID_LEVENBERG_MARQUARDT,
         L"Ajustement par la méthode de Levenberg Maquart\nLevenberg Maquart"},
        {ID_GRAPH_RESULTS, L"Affichage des résultats à l'écran\nRésultats"},
        {ID_ODE_1, L"Résolution d'équation différentielles du 1er ordre\n1er ordre"},
        {ID_ODE_2, L"Résolution d'équation différentielles du 2ème ordre\n2ème ordre"},
        {ID_ODE_N, L"Résolution d'équation différentielles du nième ordre\nEquation nième ordre"},
        {ID_CALC_FX, L"Calcul du résultat de la fonction en un point x\nCalcul de f(x)"},
        {ID_SOLVE_BISECTION, L"Résolution de la fonction en un point y par dichotomie\nDichotomie"},
        {ID_SOLVE_NEWTON,
         L"Résolution de la fonction en un point y par la méthode de Newton\nMéthode de Newton"},
        {ID_CALC_DERIVATIVE,
         L"Calcul de la dérivée de la fonction en un point x\nCalcul de la dérivée de f"},
        {ID_CALC_INTEGRAL,
         L"Calcul de l'intégrale de la fonction entre 2 points par la méthode de Simpson\n"
         L"Calcul de l'intégrale de f (Simpson)"},
        {ID_APP_ABOUT,
         L"Affiche des informations sur le programme, son numéro de version et ses droits "
         L"d'auteur\nA propos de Kurvomat"},
        {ID_HELP_MANUAL, L"Appelle l'aide sur le programme\nAide, Mode d'emploi"},
    };
    // The recent-file entries have a prompt and no tip.
    for (UINT id = ID_FILE_MRU_FIRST; id <= ID_FILE_MRU_LAST; ++id) {
        strings.push_back({id, L"Ouvre ce document"});
    }
    return strings;
}
