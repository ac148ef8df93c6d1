// Lookup of the application's resources, the framework's own French texts, dialog units.
#include "framework/resources.h"

#include <cstdlib>

namespace {

const ResourceSet* g_resources = nullptr;

// The framework's own texts, in its own words.
const StringEntry kFrameworkStrings[] = {
    {AFX_IDS_IDLEMESSAGE, L"Prêt"},
    {ID_INDICATOR_CAPS, L"MAJ"},
    {ID_INDICATOR_NUM, L"NUM"},
    {ID_INDICATOR_SCRL, L"DEF"},
    {AFX_IDP_ASK_TO_SAVE,
     L"Le document %s a été modifié.\nFaut-il enregistrer ses modifications ?"},
    {AFX_IDP_FAILED_TO_OPEN_DOC, L"Le document %s ne peut pas être ouvert : %s"},
    {AFX_IDP_FAILED_TO_START_PRINT, L"Impossible de lancer l'impression."},
    {AFX_IDP_ASK_TO_REPLACE, L"Le fichier %s existe déjà.\nFaut-il le remplacer ?"},
    {AFX_IDS_OPENFILE, L"Ouvrir"},
    {AFX_IDS_SAVEFILE, L"Enregistrer sous"},
    {AFX_IDS_UNTITLED, L"sans titre"},
};

template <class T>
const T* FindById(const std::vector<T>& items, UINT id) {
    for (const auto& item : items)
        if (item.id == id) return &item;
    return nullptr;
}

}  // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long half = (c > 0 ? c : -c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude =
        (std::llabs(product) + half) / std::llabs(static_cast<long long>(c));
    return static_cast<int>(negative ? -magnitude : magnitude);
}

void AfxSetResources(const ResourceSet* resources) {
    g_resources = resources;
}
const ResourceSet* AfxGetResources() {
    return g_resources;
}

const MenuTemplate* FindMenuResource(UINT id) {
    return g_resources ? FindById(g_resources->menus, id) : nullptr;
}

const AcceleratorTable* FindAcceleratorResource(UINT id) {
    return g_resources ? FindById(g_resources->accelerators, id) : nullptr;
}

const DialogTemplate* FindDialogResource(UINT id) {
    return g_resources ? FindById(g_resources->dialogs, id) : nullptr;
}

const IconResource* FindIconResource(UINT id) {
    return g_resources ? FindById(g_resources->icons, id) : nullptr;
}

std::wstring FileTypeName(const std::wstring& extension) {
    if (!g_resources) return L"";
    std::wstring lower = extension;
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    for (const FileTypeEntry& entry : g_resources->fileTypes)
        if (entry.extension == lower) return entry.name;
    return L"";
}

BOOL LoadResourceString(UINT id, std::wstring& text) {
    if (g_resources) {
        if (const StringEntry* entry = FindById(g_resources->strings, id)) {
            text = entry->text;
            return TRUE;
        }
    }
    for (const auto& entry : kFrameworkStrings) {
        if (entry.id == id) {
            text = entry.text;
            return TRUE;
        }
    }
    return FALSE;
}

std::wstring ResourceString(UINT id) {
    std::wstring text;
    LoadResourceString(id, text);
    return text;
}

int DialogUnitsToPixelsX(int units) {
    return MulDiv(units, 6, 4);
}
int DialogUnitsToPixelsY(int units) {
    return MulDiv(units, 13, 8);
}
