// The error box of a failed save: the file's name and the system's reason.
#include "shell/save_failure.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "common/text_conversion.h"
#include "framework/framework.h"

bool CheckSaved(CWnd* owner, int answer, LPCTSTR path) {
    if (answer == 0) return true;
    const int error = errno;
    const std::wstring text = L"Impossible d'enregistrer le fichier " + std::wstring(path) +
                              L" : " + NarrowToWide(std::strerror(error));
    constexpr UINT kType = MB_OK | MB_ICONERROR;
    if (owner != nullptr) {
        owner->MessageBox(text.c_str(), L"Kurvomat", kType);
    } else {
        AfxMessageBox(text.c_str(), kType);
    }
    return false;
}
