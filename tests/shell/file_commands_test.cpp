// The file commands: their dialogs, the reader chosen by the filter entry, and their effects on
// the document's name, modified flag, recent files and panes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

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
    int filterIndex;
    int points;  // what the reader chosen by the entry makes of the file
};

// One file, two readers: the entry left selected decides, not the extension.
TEST_F(FileCommandsTest, FilterEntryChoosesThePointReader) {
    // Own format: a count of 1, then the pair (2, 3). Tab-separated: the pairs (1, 2) and (3, 4).
    WriteText("table.txt", "1\t2\n3\t4\n");
    const ReaderCase cases[] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 2}, {6, 1}};
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.filterIndex);
        StartWithLine();
        headless::Driver& d = Driver();
        d.AnswerFileDialog(WidePath("table.txt"), c.filterIndex);
        ASSERT_TRUE(d.ChooseMenu(ID_LOAD_POINTS));
        ASSERT_EQ(Data().hasPoints, 1);
        ASSERT_EQ(Data().nPoints, c.points);
        if (c.points == 1) {
            EXPECT_EQ(Data().pointX[0], 2.0);
            EXPECT_EQ(Data().pointY[0], 3.0);
        } else {
            EXPECT_EQ(Data().pointX[1], 3.0);
            EXPECT_EQ(Data().pointY[1], 4.0);
        }
        EXPECT_EQ(d.StatusPane(1), L"PTS");
        EXPECT_FALSE(Document().IsModified()) << "a load leaves the flag as it was";
        EXPECT_EQ(ScriptErrors(), "");
    }
}

TEST_F(FileCommandsTest, SideFilesRoundTripWithoutTouchingTheDocument) {
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
    d.AnswerFileDialog(WidePath("c.coe"));
    ASSERT_TRUE(d.ChooseMenu(ID_LOAD_COEF));
    EXPECT_EQ(Data().function.coef[0], 2.0);
    d.AnswerFileDialog(WidePath("p.dat"));
    ASSERT_TRUE(d.ChooseMenu(ID_LOAD_POINTS));
    EXPECT_EQ(Data().nPoints, 3);
    // A coefficient file chosen under the function dialog's second entry goes to its reader,
    // which refuses it: no function afterwards.
    d.AnswerFileDialog(WidePath("c.coe"), 2);
    ASSERT_TRUE(d.ChooseMenu(ID_LOAD_FUNCTION_COEF));
    EXPECT_EQ(Data().function.isCompiled, 0);
    EXPECT_EQ(d.StatusPane(2), L"");
    d.AnswerFileDialog(WidePath("f.fon"));
    ASSERT_TRUE(d.ChooseMenu(ID_LOAD_FUNCTION_COEF));
    EXPECT_EQ(Data().function.isCompiled, 1);
    EXPECT_EQ(d.StatusPane(2), L"FCT");
    EXPECT_FALSE(Document().IsModified()) << "loads leave the flag as it was";
    // So the program closes without the offer to save.
    d.CloseMainWindow();
    EXPECT_TRUE(d.MessageBoxes().empty());
    EXPECT_FALSE(d.IsRunning());
    EXPECT_EQ(ScriptErrors(), "");
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

TEST_F(FileCommandsTest, UnreadableApplicationLeavesANewDocument) {
    StartWithLine();
    WriteBytes("short.gen", std::string(2000, '\0'));
    headless::Driver& d = Driver();
    Document().SetModifiedFlag(TRUE);
    d.AnswerFileDialog(WidePath("short.gen"));
    ASSERT_TRUE(d.ChooseMenu(ID_LOAD_APPLICATION));
    EXPECT_EQ(d.MainWindowTitle(), L"sans nom - Kurvomat");
    for (int pane = 1; pane <= 5; ++pane) EXPECT_EQ(d.StatusPane(pane), L"") << pane;
    EXPECT_TRUE(d.MessageBoxes().empty()) << "neither a question nor an error";
    EXPECT_EQ(Data().hasPoints, 0);
    EXPECT_EQ(ScriptErrors(), "");
}

TEST_F(FileCommandsTest, LoadApplicationReplacesTheDocument) {
    StartWithLine();
    const std::wstring other = WriteDocument("other.gen", [](FitData& data) {
        SetFunction(data, "A*EXP(B*X)", {1.0, 0.5});
    });
    headless::Driver& d = Driver();
    Document().SetModifiedFlag(TRUE);
    d.AnswerFileDialog(other);
    ASSERT_TRUE(d.ChooseMenu(ID_LOAD_APPLICATION));
    EXPECT_TRUE(d.MessageBoxes().empty()) << "unsaved changes are dropped without a question";
    EXPECT_EQ(d.MainWindowTitle(), L"other.gen - Kurvomat");
    EXPECT_EQ(Data().hasPoints, 0);
    EXPECT_EQ(d.StatusPane(1), L"");
    EXPECT_EQ(d.StatusPane(2), L"FCT");
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(d.RecentFiles().front(), other);
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
