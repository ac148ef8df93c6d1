// The names the file dialogs give the program's own files, as its filters name them, for one file
// ("Application Kurvomat" where a filter lists "Applications Kurvomat").
#include "resources/kurvomat_resources.h"

std::vector<FileTypeEntry> KurvomatFileTypes() {
    return {
        {L"gen", L"Application Kurvomat"},
        {L"coe", L"Coefficients Kurvomat"},
        {L"fon", L"Fonction et coefficients Kurvomat"},
        // A point table in either form.
        {L"dat", L"Table de points"},
        {L"txt", L"Table de points"},
        {L"prn", L"Texte (séparateur: espace)"},
        {L"csv", L"Texte (séparateur: point-virgule)"},
        {L"bmp", L"Image bitmap"},
    };
}
