// The message boxes of a file that could not be written or read: the file's name and the reason.
#include "shell/file_failure.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "common/text_conversion.h"
#include "fitdata/fit_data.h"
#include "framework/framework.h"

namespace {

void ShowFileBox(CWnd* owner, const std::wstring& text, UINT type) {
    if (owner != nullptr) {
        owner->MessageBox(text.c_str(), L"Kurvomat", type);
    } else {
        AfxMessageBox(text.c_str(), type);
    }
}

}  // namespace

bool CheckSaved(CWnd* owner, int answer, LPCTSTR path) {
    if (answer == 0) return true;
    const int error = errno;
    ShowFileBox(owner,
                L"Impossible d'enregistrer le fichier " + std::wstring(path) + L" : " +
                    NarrowToWide(std::strerror(error)),
                MB_OK | MB_ICONERROR);
    return false;
}

bool CheckRead(CWnd* owner, int answer, LPCTSTR path, const ReadNote& note, int pointsRead) {
    if (answer != 0) {
        ShowFileBox(owner,
                    L"Impossible de lire le fichier " + std::wstring(path) + L" : " +
                        NarrowToWide(note.reason),
                    MB_OK | MB_ICONERROR);
        return false;
    }
    if (note.stopLine > 0) {
        const std::wstring read = pointsRead >= 2 ? L" points lus" : L" point lu";
        ShowFileBox(owner,
                    std::to_wstring(pointsRead) + read + L" dans le fichier " + path +
                        L" ; la lecture s'est arrêtée à la ligne " +
                        std::to_wstring(note.stopLine) + L" : « " + NarrowToWide(note.stopText) +
                        L" »",
                    MB_OK | MB_ICONINFORMATION);
    }
    return true;
}
