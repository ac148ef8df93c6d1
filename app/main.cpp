// kurvomat [file.gen]: the program on real windows (the Qt backend).
#include <QApplication>
#include <clocale>
#include <string>

#include "framework/qt/qt_backend.h"
#include "framework/qt/qt_translations.h"
#include "shell/kurvomat_app.h"

// The application object, as the framework expects one for the program's whole run.
CKurvomatApp theApp;

namespace {

// The arguments as one command line; an argument with blanks goes in double quotes.
std::wstring CommandLine(const QStringList& arguments) {
    std::wstring line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!line.empty()) line += L' ';
        const std::wstring argument = arguments[i].toStdWString();
        if (argument.find_first_of(L" \t") != std::wstring::npos)
            line += L'"' + argument + L'"';
        else
            line += argument;
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Qt adopted the desktop's locale: its own dialogs speak its language, while numbers are
    // read and written with a point.
    const qtbackend::QtTranslations translations;
    std::setlocale(LC_NUMERIC, "C");
    qtbackend::QtBackend backend;
    if (!backend.Start(theApp, QCoreApplication::applicationFilePath().toStdWString(),
                       CommandLine(QCoreApplication::arguments())))
        return 1;
    return backend.Exec();
}
