// The file commands: their dialogs, the point reader chosen by the content, and their effects on
// the document's name, modified flag, recent files and panes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

class FileCommandsTest : public KurvomatSession {
  protected:
    // A document with points and a function, opened from `name`: every file command enabled.
    std::wstring StartWithLine(const std::string& name = "line.gen") {
        const std::wstring path = WriteDocument(name, [](FitData& data) {
            SetFunction(data, "A*X+B", {2.0, 1.0}, {0, 1});
            SetPoints(data, {1, 2, 3}, {3, 5, 7});
        });
        EXPECT_TRUE(Restart(path));
        return path;
    }

    void WriteText(const std::string& name, const std::string& text) { WriteBytes(name, text); }
};

struct DialogCase {
    UINT id;
    bool open;
    const wchar_t* title;
    const wchar_t* extension;
    DWORD flags;
    std::vector<std::pair<std::wstring, std::wstring>> filters;
};

TEST_F(FileCommandsTest, EachCommandShowsItsDialog) {
    const std::wstring path = StartWithLine();
    const DWORD save = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const DialogCase cases[] = {
        {ID_LOAD_APPLICATION,
         true,
         L"Ouvrir une application Kurvomat",
         L"GEN",
         OFN_HIDEREADONLY,
         {{L"Applications Kurvomat (*.gen)", L"*.gen"},
          {L"Applications Kurvomat MSDOS(*.gen)", L"*.gen"},
          {L"Tous Fichiers (*.*)", L"*.*"}}},
        {ID_LOAD_COEF,
         true,
         L"Ouvrir un fichier contenant des coefficients",
         L"COE",
         OFN_HIDEREADONLY,
         {{L"Coefficients Kurvomat (*.coe)", L"*.coe"},
          {L"Coefficients Kurvomat MSDOS(*.coe)", L"*.coe"},
          {L"Tous Fichiers (*.*)", L"*.*"}}},
        {ID_LOAD_FUNCTION_COEF,
         true,
         L"Ouvrir un fichier contenant une fonction et des coefficients",
         L"FON",
         OFN_HIDEREADONLY,
         {{L"Fonction et coefficients Kurvomat (*.fon)", L"*.fon"},
          {L"Fonction et coefficients Kurvomat MSDOS(*.coe)", L"*.coe"},
          {L"Tous Fichiers (*.*)", L"*.*"}}},
        {ID_LOAD_POINTS,
         true,
         L"Ouvrir un fichier contenant une table de points",
         L"DAT",
         OFN_HIDEREADONLY,
         {{L"Tables de points (*.dat)", L"*.dat"},
          {L"Tables de points (*.txt)", L"*.txt"},
          {L"Texte (séparateur: espace) (*.prn)", L"*.prn"},
          {L"Texte (séparateur: tabulation) (*.txt)", L"*.txt"},
          {L"Texte (séparateur: point-virgule) (*.csv)", L"*.csv"},
          {L"Tous Fichiers (format Kurvomat) (*.*)", L"*.*"}}},
        {ID_SAVE_APPLICATION_AS,
         false,
         L"Enregistrer l'application Kurvomat sous",
         L"GEN",
         save,
         {{L"Applications Kurvomat (*.gen)", L"*.gen"}}},
        {ID_SAVE_COEF,
         false,
         L"Enregistrer les coefficients sous",
         L"COE",
         save,
         {{L"Coefficients Kurvomat (*.coe)", L"*.coe"}}},
        {ID_SAVE_FUNCTION_COEF,
         false,
         L"Enregistrer la fonction et les coefficients sous",
         L"FON",
         save,
         {{L"Fonction et coefficients Kurvomat (*.fon)", L"*.fon"}}},
        {ID_SAVE_POINTS,
         false,
         L"Enregistrer la table de points sous",
         L"DAT",
         save,
         {{L"Tables de points (*.dat)", L"*.dat"}, {L"Tables de points (*.txt)", L"*.txt"}}},
        {ID_EXPORT_BITMAP,
         false,
         L"Exporter les résultats sous",
         L"BMP",
         save,
         {{L"Image bitmap (*.bmp)", L"*.bmp"}}},
    };
    headless::Driver& d = Driver();
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.id);
        d.CancelFileDialog();
        const size_t before = d.FileDialogs().size();
        ASSERT_TRUE(d.ChooseMenu(c.id));
        ASSERT_EQ(d.FileDialogs().size(), before + 1);
        const headless::FileDialogRecord& shown = d.FileDialogs().back();
        EXPECT_EQ(shown.open, c.open);
        EXPECT_EQ(shown.title, c.title);
        EXPECT_EQ(shown.defaultExtension, c.extension);
        EXPECT_EQ(shown.flags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT), c.flags);
        EXPECT_EQ(shown.filters, c.filters);
        EXPECT_EQ(shown.filterIndex, 1);
        // Only the save-as starts from the document's name.
        EXPECT_EQ(shown.initialName, c.id == ID_SAVE_APPLICATION_AS ? path : L"");
    }
    // Cancelled dialogs change nothing.
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(Data().nPoints, 3);
    EXPECT_EQ(d.MainWindowTitle(), L"line.gen - Kurvomat");
    EXPECT_EQ(ScriptErrors(), "");
}

struct ReaderCase {
    const char* file;
    std::string text;
    int filterIndex;
    double lastX;  // of the second and last pair
    double lastY;
};

// The content chooses the reader, whatever the filter entry and the extension: a first line
// holding one integer alone starts the own format, anything else is separated text.
TEST_F(FileCommandsTest, ContentChoosesThePointReader) {
    const ReaderCase cases[] = {
        {"numbers.csv", "1.5,2.5\n3.5,4.5\n", 1, 3.5, 4.5},
        {"blanks.prn", "5 2.3\n6 2.4\n", 1, 6, 2.4},
        {"own.dat", "2\n1 2\n3 4\n", 5, 3, 4},
        {"mark.txt", "\xEF\xBB\xBF 2 \r\n1 2\r\n3 4\r\n", 3, 3, 4},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.file);
        StartWithLine();
        WriteText(c.file, c.text);
        headless::Driver& d = Driver();
        d.AnswerFileDialog(WidePath(c.file), c.filterIndex);
        ASSERT_TRUE(d.ChooseMenu(ID_LOAD_POINTS));
        ASSERT_EQ(Data().hasPoints, 1);
        ASSERT_EQ(Data().nPoints, 2);
        EXPECT_EQ(Data().pointX[1], c.lastX);
        EXPECT_EQ(Data().pointY[1], c.lastY);
        EXPECT_EQ(d.StatusPane(1), L"PTS");
        EXPECT_TRUE(d.MessageBoxes().empty());
        EXPECT_TRUE(Document().IsModified()) << "a load marks the document modified";
        EXPECT_EQ(ScriptErrors(), "");
    }
}

// Saving side files leaves the document as it is; loading them back marks it modified, so that
// closing then offers to save it.
TEST_F(FileCommandsTest, SideFilesRoundTripAndLoadsMarkTheDocument) {
    StartWithLine();
    headless::Driver& d = Driver();
    d.AnswerFileDialog(WidePath("f.fon"));
    ASSERT_TRUE(d.ChooseMenu(ID_SAVE_FUNCTION_COEF));
    d.AnswerFileDialog(WidePath("c.coe"));
    ASSERT_TRUE(d.ChooseMenu(ID_SAVE_COEF));
    d.AnswerFileDialog(WidePath("p.dat"));
    ASSERT_TRUE(d.ChooseMenu(ID_SAVE_POINTS));
    EXPECT_EQ(std::filesystem::file_size(Path("f.fon")), 331u);
    EXPECT_EQ(std::filesystem::file_size(Path("c.coe")), 76u);
    EXPECT_TRUE(std::filesystem::exists(Path("p.dat")));
    EXPECT_EQ(d.MainWindowTitle(), L"line.gen - Kurvomat")
        << "side files do not rename the document";
    EXPECT_FALSE(Document().IsModified());

    // Read back into a document that differs.
    Data().function.coef[0] = 9.0;
    Data().nPoints = 1;
    const std::pair<UINT, const char*> loads[] = {
        {ID_LOAD_COEF, "c.coe"}, {ID_LOAD_POINTS, "p.dat"}, {ID_LOAD_FUNCTION_COEF, "f.fon"}};
    for (const auto& [command, file] : loads) {
        SCOPED_TRACE(file);
        Document().SetModifiedFlag(FALSE);
        d.AnswerFileDialog(WidePath(file));
        ASSERT_TRUE(d.ChooseMenu(command));
        EXPECT_TRUE(Document().IsModified());
    }
    EXPECT_EQ(Data().function.coef[0], 2.0);
    EXPECT_EQ(Data().nPoints, 3);
    EXPECT_EQ(Data().function.isCompiled, 1);
    EXPECT_TRUE(d.MessageBoxes().empty());
    d.AnswerMessageBox(IDNO);
    d.CloseMainWindow();
    EXPECT_EQ(d.MessageBoxes().size(), 1u) << "the offer to save";
    EXPECT_FALSE(d.IsRunning());
    EXPECT_EQ(ScriptErrors(), "");
}

std::string Pairs(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::to_string(i) + ",5;" + std::to_string(-i) + "\n";
    return text;
}

struct TableCase {
    const char* what;
    std::string text;
    int filterIndex;
    int points;
    double lastX;
    double lastY;
    std::wstring stop;  // the information box's text after the path, "" for none
};

// Decimal commas in both readers, column titles, text left unread, and the 5000 points a table
// holds: the table read replaces the document's, clears the fit and marks the document modified.
TEST_F(FileCommandsTest, PointTablesWithCommasTitlesAndUnreadText) {
    const TableCase cases[] = {
        {"French spreadsheet", "x;y\r\n0;2,5\r\n1,5;-0,25\r\n", 5, 2, 1.5, -0.25, L""},
        {"own format", "2\n0 2,5\n1,5 -0,25e0\n", 1, 2, 1.5, -0.25, L""},
        {"tabs", "Temps\tValeur\n0\t2,5\n1,5\t-0,25\n", 4, 2, 1.5, -0.25, L""},
        {"text after the table",
         "0;2,5\n1,5;-0,25\n\nmoyenne;0,625 (calculée sur les deux mesures et arrondie)\n", 5, 2,
         1.5, -0.25,
         L" ; la lecture s'est arrêtée à la ligne 4 : « moyenne;0,625 (calculée sur les deux mes "
         L"»"},
        {"4999 pairs", Pairs(4999), 5, 4999, 4998.5, -4998, L""},
        {"5000 pairs", Pairs(5000), 5, 5000, 4999.5, -4999, L""},
    };
    for (const TableCase& c : cases) {
        SCOPED_TRACE(c.what);
        StartWithLine();
        Data().fitDone = 1;
        WriteText("table.csv", c.text);
        headless::Driver& d = Driver();
        d.AnswerFileDialog(WidePath("table.csv"), c.filterIndex);
        if (!c.stop.empty()) d.AnswerMessageBox(IDOK);
        ASSERT_TRUE(d.ChooseMenu(ID_LOAD_POINTS));
        ASSERT_EQ(Data().nPoints, c.points);
        EXPECT_EQ(Data().pointX[c.points - 1], c.lastX);
        EXPECT_EQ(Data().pointY[c.points - 1], c.lastY);
        EXPECT_EQ(Data().fitDone, 0);
        EXPECT_TRUE(Document().IsModified());
        if (c.stop.empty()) {
            EXPECT_TRUE(d.MessageBoxes().empty());
        } else {
            ASSERT_EQ(d.MessageBoxes().size(), 1u);
            const headless::MessageBoxRecord& box = d.MessageBoxes()[0];
            EXPECT_EQ(box.text, L"2 points lus dans le fichier " + WidePath("table.csv") + c.stop);
            EXPECT_EQ(box.caption, L"Kurvomat");
            EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        }
        EXPECT_EQ(ScriptErrors(), "");
    }
}

// Every load clears the fit: DIST goes dark, the other panes follow what was read, and the view
// is repainted.
TEST_F(FileCommandsTest, EachLoadRefreshesThePanesAndRepaints) {
    const std::wstring fitted = WriteDocument("fitted.gen", [](FitData& data) {
        SetFunction(data, "A*X+B", {2.0, 1.0});
        SetPoints(data, {1, 2, 3}, {3, 5, 7});
        data.fitDistance = 0.25;
        data.fitDone = 1;
    });
    WriteDocument("bare.gen", [](FitData& data) { SetFunction(data, "A*EXP(B*X)", {1.0, 0.5}); });
    struct Case {
        UINT command;
        std::string file;
        const wchar_t* points;  // what PTS and FCT show afterwards
        const wchar_t* function;
    };
    const Case cases[] = {{ID_LOAD_COEF, "c.coe", L"PTS", L"FCT"},
                          {ID_LOAD_FUNCTION_COEF, "f.fon", L"PTS", L"FCT"},
                          {ID_LOAD_POINTS, "p.dat", L"PTS", L"FCT"},
                          {ID_LOAD_APPLICATION, "bare.gen", L"", L"FCT"}};
    ASSERT_TRUE(Restart(fitted));
    headless::Driver& saver = Driver();
    for (UINT save : {ID_SAVE_COEF, ID_SAVE_FUNCTION_COEF, ID_SAVE_POINTS}) {
        const char* name = save == ID_SAVE_COEF     ? "c.coe"
                           : save == ID_SAVE_POINTS ? "p.dat"
                                                    : "f.fon";
        saver.AnswerFileDialog(WidePath(name));
        ASSERT_TRUE(saver.ChooseMenu(save));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(Restart(fitted));
        headless::Driver& d = Driver();
        ASSERT_EQ(d.StatusPane(4), L"DIST");
        const size_t paints = d.Paints().size();
        d.AnswerFileDialog(WidePath(c.file));
        ASSERT_TRUE(d.ChooseMenu(c.command));
        EXPECT_EQ(Data().fitDone, 0);
        EXPECT_EQ(d.StatusPane(1), c.points);
        EXPECT_EQ(d.StatusPane(2), c.function);
        EXPECT_EQ(d.StatusPane(3), L"COEF");
        EXPECT_EQ(d.StatusPane(4), L"");
        const auto& after = d.Paints();
        EXPECT_TRUE(std::any_of(after.begin() + paints, after.end(),
                                [](const headless::PaintLog& p) {
                                    return p.dialogId == 0 && p.controlId == AFX_IDW_PANE_FIRST;
                                }))
            << "the view is repainted";
        EXPECT_EQ(ScriptErrors(), "");
    }
}

struct FailedLoad {
    const char* file;
    std::string text;  // written to the file when not empty
    UINT command;
    int filterIndex;
    const wchar_t* reason;
};

// A load that fails says which file and why, and leaves the document exactly as it was.
TEST_F(FileCommandsTest, FailedLoadsAreToldAndChangeNothing) {
    StartWithLine();
    auto three = std::make_unique<FitData>();
    SetFunction(*three, "A+B*X+C*X*X", {1, 2, 3});
    ASSERT_EQ(three->function.WriteCoef(Path("three.coe")), 0);
    ASSERT_EQ(Data().function.WriteCoef(Path("two.coe")), 0);
    std::filesystem::create_directory(Path("folder.fon"));
    ASSERT_EQ(::mkfifo(Path("pipe.dat").c_str(), 0600), 0);
    const FailedLoad cases[] = {
        {"missing.dat", "", ID_LOAD_POINTS, 1, L"No such file or directory"},
        {"short.dat", "3\n1 2\n", ID_LOAD_POINTS, 1,
         L"le fichier s'arrête après 1 point, il en annonce 3"},
        {"column.dat", "1.5\n2.5\n3.5\n", ID_LOAD_POINTS, 2,
         L"la ligne 1 ne contient pas deux nombres"},
        {"big.dat", "5001\n", ID_LOAD_POINTS, 6, L"trop de points (5000 au plus)"},
        {"broken.csv", "x;y\n1;2\n3;\n", ID_LOAD_POINTS, 5,
         L"la ligne 3 ne contient pas deux nombres"},
        {"titles.csv", "temps;mesure\n", ID_LOAD_POINTS, 5, L"le fichier ne contient aucun point"},
        {"commas.csv", "1.5,2.5\n1e999,3\n", ID_LOAD_POINTS, 5,
         L"la ligne 2 ne contient pas deux nombres"},
        {"pipe.dat", "", ID_LOAD_POINTS, 1, L"ce n'est pas un fichier ordinaire"},
        {"5001.csv", Pairs(5001), ID_LOAD_POINTS, 5, L"trop de points (5000 au plus)"},
        {"three.coe", "", ID_LOAD_COEF, 1,
         L"fichier de coefficients pour 3 coefficients, la fonction en a 2"},
        {"bad.coe", "0123456789", ID_LOAD_COEF, 1,
         L"ce n'est pas un fichier de coefficients Kurvomat (taille 10 octets)"},
        {"two.coe", "", ID_LOAD_FUNCTION_COEF, 2,
         L"ce n'est pas un fichier de fonction Kurvomat (taille 76 octets)"},
        {"folder.fon", "", ID_LOAD_FUNCTION_COEF, 1, L"Is a directory"},
    };
    headless::Driver& d = Driver();
    Data().fitDone = 1;
    Data().scale.autoScale = 0;
    for (const FailedLoad& c : cases) {
        SCOPED_TRACE(c.file);
        if (!c.text.empty()) WriteText(c.file, c.text);
        d.ClearRecords();
        d.AnswerFileDialog(WidePath(c.file), c.filterIndex);
        d.AnswerMessageBox(IDOK);
        ASSERT_TRUE(d.ChooseMenu(c.command));
        ASSERT_EQ(d.MessageBoxes().size(), 1u);
        const headless::MessageBoxRecord& box = d.MessageBoxes()[0];
        EXPECT_EQ(box.text,
                  L"Impossible de lire le fichier " + WidePath(c.file) + L" : " + c.reason);
        EXPECT_EQ(box.caption, L"Kurvomat");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_EQ(Data().hasPoints, 1);
        EXPECT_EQ(Data().nPoints, 3);
        EXPECT_EQ(Data().pointY[2], 7.0);
        EXPECT_EQ(Data().function.GetText(), L"A*X+B");
        EXPECT_EQ(Data().function.coef[0], 2.0);
        EXPECT_EQ(Data().function.coefFixed[1], 1);
        EXPECT_EQ(Data().fitDone, 1);
        EXPECT_EQ(Data().scale.autoScale, 0);
        EXPECT_FALSE(Document().IsModified());
    }
    EXPECT_EQ(ScriptErrors(), "");
}

struct OfferCase {
    bool modified;
    int answer;  // to the offer to save; 0: no offer
    bool readable;
    bool saved;
    bool loaded;
};

// Before an application replaces the document, a modified one is offered for saving: Oui saves
// and loads, Non loads, Annuler keeps everything and reads nothing. A file that fails to read
// says why and leaves the document as the answer left it.
TEST_F(FileCommandsTest, LoadApplicationOffersToSaveFirst) {
    const OfferCase cases[] = {
        {false, 0, true, false, true},     {true, IDYES, true, true, true},
        {true, IDNO, true, false, true},   {true, IDCANCEL, true, false, false},
        {false, 0, false, false, false},   {true, IDYES, false, true, false},
        {true, IDNO, false, false, false}, {true, IDCANCEL, false, false, false},
    };
    WriteBytes("short.gen", std::string(2000, '\0'));
    const std::wstring other = WriteDocument("other.gen", [](FitData& data) {
        SetFunction(data, "A*EXP(B*X)", {1.0, 0.5});
    });
    for (const OfferCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.answer << (c.readable ? " other.gen" : " short.gen"));
        const std::wstring line = StartWithLine();
        const std::wstring chosen = c.readable ? other : WidePath("short.gen");
        headless::Driver& d = Driver();
        Data().function.coef[0] = 42.0;
        Document().SetModifiedFlag(c.modified);
        d.AnswerFileDialog(chosen);
        if (c.answer != 0) d.AnswerMessageBox(c.answer);
        const bool failed = !c.readable && c.answer != IDCANCEL;
        if (failed) d.AnswerMessageBox(IDOK);
        ASSERT_TRUE(d.ChooseMenu(ID_LOAD_APPLICATION));
        ASSERT_EQ(d.MessageBoxes().size(), (c.answer != 0 ? 1u : 0u) + (failed ? 1u : 0u));
        if (c.answer != 0) {
            EXPECT_NE(d.MessageBoxes()[0].text.find(L"line.gen"), std::wstring::npos);
            EXPECT_EQ(d.MessageBoxes()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));
        }
        if (failed) {
            EXPECT_EQ(d.MessageBoxes().back().text,
                      L"Impossible de lire le fichier " + chosen +
                          L" : ce n'est pas un document Kurvomat (taille 2000 octets)");
            EXPECT_EQ(d.MessageBoxes().back().type, static_cast<UINT>(MB_OK | MB_ICONERROR));
        }
        auto onDisk = std::make_unique<FitData>();
        ASSERT_EQ(onDisk->ReadGen(Path("line.gen")), 0);
        EXPECT_EQ(onDisk->function.coef[0], c.saved ? 42.0 : 2.0);
        EXPECT_EQ(d.MainWindowTitle(), c.loaded ? L"other.gen - Kurvomat" : L"line.gen - Kurvomat");
        EXPECT_EQ(Data().function.GetText(), c.loaded ? L"A*EXP(B*X)" : L"A*X+B");
        EXPECT_EQ(Data().function.coef[0], c.loaded ? 1.0 : 42.0);
        EXPECT_EQ(Data().nPoints, c.loaded ? 0 : 3);
        EXPECT_EQ(Document().IsModified(), c.modified && !c.loaded && c.answer != IDYES);
        EXPECT_EQ(d.RecentFiles().front(), c.loaded ? other : line);
        EXPECT_EQ(ScriptErrors(), "");
    }
}

TEST_F(FileCommandsTest, SaveAsRenamesOrKeepsTheName) {
    StartWithLine();
    headless::Driver& d = Driver();
    Document().SetModifiedFlag(TRUE);
    d.AnswerFileDialog(WidePath("missing/copy.gen"));
    d.AnswerMessageBox(IDOK);
    ASSERT_TRUE(d.ChooseMenu(ID_SAVE_APPLICATION_AS));
    EXPECT_TRUE(Document().IsModified()) << "a failed write keeps the flag";
    EXPECT_EQ(d.MainWindowTitle(), L"line.gen - Kurvomat");
    EXPECT_EQ(d.MessageBoxes().size(), 1u) << "the failure is shown";

    d.AnswerFileDialog(WidePath("copy.gen"));
    ASSERT_TRUE(d.ChooseMenu(ID_SAVE_APPLICATION_AS));
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(d.MainWindowTitle(), L"copy.gen - Kurvomat");
    EXPECT_EQ(d.RecentFiles().front(), WidePath("copy.gen"));
    EXPECT_EQ(std::filesystem::file_size(Path("copy.gen")), 2202u);
    EXPECT_EQ(ScriptErrors(), "");
}

// Every command that writes a file says when the write failed, naming the file and the reason;
// the document keeps its name and flag.
TEST_F(FileCommandsTest, FailedWritesShowTheFileAndTheReason) {
    StartWithLine();
    headless::Driver& d = Driver();
    Document().SetModifiedFlag(TRUE);
    const UINT commands[] = {ID_SAVE_APPLICATION_AS, ID_SAVE_COEF, ID_SAVE_FUNCTION_COEF,
                             ID_SAVE_POINTS, ID_EXPORT_BITMAP};
    const std::wstring path = WidePath("missing/out.dat");
    for (UINT id : commands) {
        SCOPED_TRACE(id);
        d.ClearRecords();
        d.AnswerFileDialog(path);
        d.AnswerMessageBox(IDOK);
        ASSERT_TRUE(d.ChooseMenu(id));
        ASSERT_EQ(d.MessageBoxes().size(), 1u);
        const headless::MessageBoxRecord& box = d.MessageBoxes()[0];
        EXPECT_EQ(box.text,
                  L"Impossible d'enregistrer le fichier " + path + L" : No such file or directory");
        EXPECT_EQ(box.caption, L"Kurvomat");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_TRUE(Document().IsModified());
        EXPECT_EQ(d.MainWindowTitle(), L"line.gen - Kurvomat");
    }
}

// Saving over an existing file asks first; no goes back to the dialog.
TEST_F(FileCommandsTest, SaveAsAsksBeforeReplacing) {
    StartWithLine();
    WriteBytes("taken.gen", "keep");
    headless::Driver& d = Driver();
    d.AnswerFileDialog(WidePath("taken.gen"));
    d.AnswerMessageBox(IDNO);
    d.CancelFileDialog();
    ASSERT_TRUE(d.ChooseMenu(ID_SAVE_APPLICATION_AS));
    ASSERT_EQ(d.MessageBoxes().size(), 1u);
    EXPECT_NE(d.MessageBoxes()[0].text.find(L"taken.gen"), std::wstring::npos);
    EXPECT_EQ(std::filesystem::file_size(Path("taken.gen")), 4u);

    d.AnswerFileDialog(WidePath("taken.gen"));
    d.AnswerMessageBox(IDYES);
    ASSERT_TRUE(d.ChooseMenu(ID_SAVE_APPLICATION_AS));
    EXPECT_EQ(std::filesystem::file_size(Path("taken.gen")), 2202u);
    EXPECT_EQ(ScriptErrors(), "");
}

// FNV-1a over the pixel rows of a bitmap file, top row first, as the page's recorded checksums.
uint64_t RowChecksum(const std::vector<unsigned char>& file) {
    uint64_t hash = 14695981039346656037ULL;
    for (int y = 0; y < 1333; ++y) {
        const size_t row = 62 + static_cast<size_t>(1332 - y) * 252;
        for (size_t b = 0; b < 252; ++b) {
            hash ^= file[row + b];
            hash *= 1099511628211ULL;
        }
    }
    return hash;
}

TEST_F(FileCommandsTest, BitmapExportOfASamplePage) {
    const std::string sample = std::string(KURVOMAT_SOURCE_DIR) + "/examples/decay.gen";
    ASSERT_TRUE(Start(NarrowToWide(sample)));
    headless::Driver& d = Driver();
    d.AnswerFileDialog(WidePath("page.bmp"));
    ASSERT_TRUE(d.ChooseMenu(ID_EXPORT_BITMAP));
    std::ifstream in(Path("page.bmp"), std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 335978u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(RowChecksum(bytes), 0x3ADC7F5C39DF01D2ULL);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(ScriptErrors(), "");
}

}  // namespace
