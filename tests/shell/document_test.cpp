// The document: opening good and bad application files, saving, and the recent-file list.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"
#include "support/watchdog.h"

namespace {

using DocumentTest = KurvomatSession;

void Line(FitData& data) {
    SetFunction(data, "A*X+B", {2.0, 1.0}, {0, 1});
    SetPoints(data, {1, 2, 3}, {3, 5, 7});
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(DocumentTest, OpeningFromTheCommandLine) {
    const std::wstring path = WriteDocument("line.gen", &Line);
    ASSERT_TRUE(Start(path));
    headless::Driver& d = Driver();
    EXPECT_EQ(d.MainWindowTitle(), L"line.gen - Kurvomat");
    ASSERT_EQ(d.RecentFiles().size(), 1u);
    EXPECT_EQ(d.RecentFiles()[0], path);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(Data().nPoints, 3);
    EXPECT_EQ(Data().function.coef[0], 2.0);
    EXPECT_EQ(Data().function.coefFixed[1], 1);
    EXPECT_EQ(d.StatusPane(1), L"PTS");
    EXPECT_EQ(d.StatusPane(2), L"FCT");
    EXPECT_EQ(ScriptErrors(), "");
}

// What a document holds, field by field, so that a failure shows what changed.
std::string Contents(const FitData& data) {
    std::ostringstream out;
    out.precision(17);
    out << "points " << data.hasPoints << " " << data.nPoints << ":";
    for (int i = 0; i < data.nPoints && i < MAX_POINTS; ++i)
        out << " (" << data.pointX[i] << ", " << data.pointY[i] << ")";
    const FunctionDef& f = data.function;
    out << "\nfunction " << f.isCompiled << " " << f.functionText << " " << f.nCoef << " "
        << f.nFree << ":";
    for (int i = 0; i < MAX_COEF; ++i) out << " " << f.coef[i] << "/" << f.coefFixed[i];
    out << "\nequation " << data.equation.hasEquation << " " << data.equation.equationOrder << " "
        << data.equation.equationText << "\nfit " << data.fitDone << " " << data.fitDistance
        << "\nscale " << data.scale.autoScale;
    return out.str();
}

// Something at a path that does not open as an application file, and the box that says so.
struct Unreadable {
    const char* what;
    std::function<void(const std::string&)> make;
    bool framework;  // refused by the framework's open step, before any read
    const wchar_t* reason;

    std::wstring Box(const std::wstring& path) const {
        return (framework ? L"Le document " + path + L" ne peut pas être ouvert : "
                          : L"Impossible de lire le fichier " + path + L" : ") +
               reason;
    }
    UINT Type() const { return MB_OK | (framework ? MB_ICONEXCLAMATION : MB_ICONERROR); }
};

const Unreadable kUnreadable[] = {
    {"missing", [](const std::string&) {}, true, L"No such file or directory"},
    {"folder", [](const std::string& p) { std::filesystem::create_directory(p); }, true,
     L"Is a directory"},
    {"pipe", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }, true,
     L"ce n'est pas un fichier ordinaire"},
    {"truncated", [](const std::string& p) { std::ofstream(p) << std::string(2000, '\0'); }, false,
     L"ce n'est pas un document Kurvomat (taille 2000 octets)"},
};

// Started with a file that does not open: the error, then a new document as without a file; the
// recent files stay as they were.
TEST_F(DocumentTest, UnreadableFileOnTheCommandLineStartsANewDocument) {
    const std::wstring line = WriteDocument("line.gen", &Line);
    ASSERT_TRUE(Start(line));
    const Watchdog watchdog(20);
    for (const Unreadable& u : kUnreadable) {
        SCOPED_TRACE(u.what);
        Stop();
        std::filesystem::remove_all(Path("bad.gen"));
        u.make(Path("bad.gen"));
        NewApp();
        headless::Driver& d = Driver();
        d.AnswerMessageBox(IDOK);
        d.NextDialog(IDD_WAIT).AdvanceClock(3000);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(d.Start(WidePath("bad.gen")));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        ASSERT_EQ(d.MessageBoxes().size(), 1u);
        EXPECT_EQ(d.MessageBoxes()[0].text, u.Box(WidePath("bad.gen")));
        EXPECT_EQ(d.MessageBoxes()[0].type, u.Type());
        EXPECT_EQ(d.MainWindowTitle(), L"sans nom - Kurvomat");
        EXPECT_EQ(Data().hasPoints, 0);
        EXPECT_EQ(Data().function.isCompiled, 0);
        EXPECT_FALSE(Document().IsModified());
        EXPECT_EQ(d.RecentFiles(), std::vector<std::wstring>{line});
        EXPECT_EQ(d.DialogsOpened(), std::vector<int>{static_cast<int>(IDD_WAIT)});
        EXPECT_EQ(ScriptErrors(), "");
    }
}

// Whatever way the user opens a file that fails, after the offer to save (answered no) and the
// error box, the unsaved work stays: contents, name, modified flag, recent files.
TEST_F(DocumentTest, FailedOpensLeaveTheDocumentAsItWas) {
    // The 204 command asks for the file before it offers to save.
    struct Way {
        const char* what;
        bool asksForTheFile;
        std::function<void(headless::Driver&, const std::wstring&)> open;
    };
    const Way ways[] = {
        {"Ctrl+O", true, [](headless::Driver& d, const std::wstring&) { d.PressKey('O', true); }},
        {"recent file", false,
         [](headless::Driver& d, const std::wstring&) { d.ChooseMenu(ID_FILE_MRU_FILE1 + 1); }},
        {"framework open", false,
         [](headless::Driver& d, const std::wstring& path) {
             d.App()->OpenDocumentFile(path.c_str());
         }},
    };
    const std::wstring bad = WidePath("bad.gen");
    const Watchdog watchdog(20);
    for (const Unreadable& u : kUnreadable) {
        for (const Way& way : ways) {
            SCOPED_TRACE(std::string(u.what) + " by " + way.what);
            std::filesystem::remove_all(Path("bad.gen"));
            WriteDocument("bad.gen", &Line);
            const std::wstring line = WriteDocument("line.gen", &Line);
            ASSERT_TRUE(Restart(bad));
            ASSERT_TRUE(Document().OnOpenDocument(line.c_str()));
            SetPoints(Data(), {1, 2, 3, 4}, {2, 4, 6, 9});
            Data().function.coef[0] = 42.0;
            Data().fitDone = 1;
            Data().fitDistance = 0.5;
            Document().SetModifiedFlag(TRUE);
            std::filesystem::remove_all(Path("bad.gen"));
            u.make(Path("bad.gen"));
            headless::Driver& d = Driver();
            const std::string contents = Contents(Data());
            const std::vector<std::wstring> recent = d.RecentFiles();
            ASSERT_EQ(recent, (std::vector<std::wstring>{line, bad}));

            if (way.asksForTheFile) d.AnswerFileDialog(bad);
            d.AnswerMessageBox(IDNO);
            d.AnswerMessageBox(IDOK);
            const auto start = std::chrono::steady_clock::now();
            way.open(d, bad);
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
            ASSERT_EQ(d.MessageBoxes().size(), 2u);
            EXPECT_EQ(d.MessageBoxes()[1].text, u.Box(bad));
            EXPECT_EQ(d.MessageBoxes()[1].type, u.Type());
            EXPECT_EQ(Contents(Data()), contents);
            EXPECT_EQ(Document().GetPathName(), CString(line));
            EXPECT_EQ(d.MainWindowTitle(), L"line.gen - Kurvomat");
            EXPECT_TRUE(Document().IsModified());
            EXPECT_EQ(d.RecentFiles(), recent);
            EXPECT_EQ(ScriptErrors(), "");
        }
    }
}

// After a failed open the document keeps its own file: a plain save writes the work there.
TEST_F(DocumentTest, FailedOpenKeepsTheDocumentsOwnFile) {
    const std::wstring good = WriteDocument("good.gen", &Line);
    const std::wstring other = WriteDocument("other.gen", &Line);
    ASSERT_TRUE(Start(other));
    ASSERT_TRUE(Document().OnOpenDocument(good.c_str()));
    WriteBytes("other.gen", std::string(2201, '\0'));
    Data().function.coef[0] = 42.0;
    Document().SetModifiedFlag(TRUE);

    headless::Driver& d = Driver();
    d.AnswerMessageBox(IDNO);  // the offer to save good.gen before the open
    d.AnswerMessageBox(IDOK);  // the failed read
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_MRU_FILE1 + 1));
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_SAVE));
    EXPECT_TRUE(d.FileDialogs().empty()) << "no name asked for";
    auto onDisk = std::make_unique<FitData>();
    ASSERT_EQ(onDisk->ReadGen(Path("good.gen")), 0);
    EXPECT_EQ(onDisk->function.coef[0], 42.0);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(ScriptErrors(), "");
}

// A new document is only called "sans nom": a file of that name in the working folder is not
// its file and is never written by a plain save.
TEST_F(DocumentTest, NewDocumentNeverSavesIntoAFileCalledSansNom) {
    // Works in the test's folder, and goes back whatever happens.
    struct WorkingFolder {
        std::filesystem::path previous = std::filesystem::current_path();
        ~WorkingFolder() { std::filesystem::current_path(previous); }
    } restore;
    std::filesystem::current_path(Path(""));
    WriteBytes("sans nom", "someone else's file");
    ASSERT_TRUE(Start());
    SetFunction(Data(), "A*X", {3.0});
    Document().SetModifiedFlag(TRUE);
    headless::Driver& d = Driver();
    d.CancelFileDialog();
    d.ChooseMenu(ID_FILE_SAVE);
    EXPECT_EQ(d.FileDialogs().size(), 1u);
    EXPECT_EQ(FileBytes(Path("sans nom")), "someone else's file");
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(ScriptErrors(), "");
}

TEST_F(DocumentTest, RecentFilesSurviveARestart) {
    const std::wstring first = WriteDocument("first.gen", &Line);
    const std::wstring second = WriteDocument("second.gen", &Line);
    ASSERT_TRUE(Start(first));
    Document().OnOpenDocument(second.c_str());
    ASSERT_EQ(Driver().RecentFiles(), (std::vector<std::wstring>{second, first}));

    ASSERT_TRUE(Restart());
    headless::Driver& d = Driver();
    EXPECT_EQ(d.RecentFiles(), (std::vector<std::wstring>{second, first}));
    EXPECT_NE(d.MenuItemText(ID_FILE_MRU_FILE1).find(L"second.gen"), std::wstring::npos);
    EXPECT_NE(d.MenuItemText(ID_FILE_MRU_FILE1 + 1).find(L"first.gen"), std::wstring::npos);

    // Choosing an entry opens it and puts it first.
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(d.MainWindowTitle(), L"first.gen - Kurvomat");
    EXPECT_EQ(Data().nPoints, 3);
    EXPECT_EQ(d.RecentFiles(), (std::vector<std::wstring>{first, second}));
    EXPECT_EQ(ScriptErrors(), "");
}

TEST_F(DocumentTest, RecentListHoldsFourFiles) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < 5; ++i)
        paths.push_back(WriteDocument("doc" + std::to_string(i) + ".gen", &Line));
    ASSERT_TRUE(Start(paths[0]));
    for (int i = 1; i < 5; ++i) ASSERT_TRUE(Document().OnOpenDocument(paths[i].c_str()));
    EXPECT_EQ(Driver().RecentFiles(),
              (std::vector<std::wstring>{paths[4], paths[3], paths[2], paths[1]}));
}

// Saving a document that has no file yet asks for a name with the document's own dialog, which
// replaces an existing file without a question.
TEST_F(DocumentTest, SaveOfANewDocumentAsksThenOverwrites) {
    ASSERT_TRUE(Start());
    SetFunction(Data(), "A*X", {3.0});
    Document().SetModifiedFlag(TRUE);
    WriteBytes("target.gen", "old");
    headless::Driver& d = Driver();
    d.AnswerFileDialog(WidePath("target.gen"));
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_SAVE));
    ASSERT_EQ(d.FileDialogs().size(), 1u);
    const headless::FileDialogRecord& shown = d.FileDialogs()[0];
    EXPECT_FALSE(shown.open);
    EXPECT_EQ(shown.title, L"Enregistrer l'application Kurvomat sous");
    EXPECT_EQ(shown.flags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT), OFN_HIDEREADONLY);
    EXPECT_EQ(shown.defaultExtension, L"GEN");
    ASSERT_EQ(shown.filters.size(), 1u);
    EXPECT_EQ(shown.filters[0].first, L"Applications Kurvomat (*.gen)");
    EXPECT_EQ(shown.filters[0].second, L"*.gen");
    EXPECT_TRUE(d.MessageBoxes().empty()) << "no overwrite question";
    EXPECT_EQ(std::filesystem::file_size(Path("target.gen")), 2202u);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(d.MainWindowTitle(), L"target.gen - Kurvomat");
    ASSERT_FALSE(d.RecentFiles().empty());
    EXPECT_EQ(d.RecentFiles()[0], WidePath("target.gen"));

    // Saved again under its own name: no dialog.
    Document().SetModifiedFlag(TRUE);
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_SAVE));
    EXPECT_EQ(d.FileDialogs().size(), 1u);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(ScriptErrors(), "");
}

// A failed save says why in an error box and leaves the document modified under its old name.
TEST_F(DocumentTest, CancelledOrFailedSaveKeepsTheDocumentModified) {
    ASSERT_TRUE(Start());
    SetFunction(Data(), "A*X", {3.0});
    Document().SetModifiedFlag(TRUE);
    headless::Driver& d = Driver();
    d.CancelFileDialog();
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_SAVE));
    EXPECT_TRUE(Document().IsModified());
    EXPECT_TRUE(d.MessageBoxes().empty()) << "a cancelled save is no failure";

    d.AnswerFileDialog(WidePath("missing-folder/x.gen"));
    d.AnswerMessageBox(IDOK);
    d.ChooseMenu(ID_FILE_SAVE);
    ASSERT_EQ(d.MessageBoxes().size(), 1u);
    EXPECT_EQ(d.MessageBoxes()[0].text, L"Impossible d'enregistrer le fichier " +
                                            WidePath("missing-folder/x.gen") +
                                            L" : No such file or directory");
    EXPECT_EQ(d.MessageBoxes()[0].caption, L"Kurvomat");
    EXPECT_EQ(d.MessageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(d.MainWindowTitle(), L"sans nom - Kurvomat");
    EXPECT_TRUE(d.RecentFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(Path("missing-folder/x.gen")));
}

// Files grow no larger than `bytes` while it lives (a write beyond fails with EFBIG).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        struct rlimit small = saved_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }

  private:
    struct rlimit saved_;
    void (*handler_)(int);
};

// The document's own file cannot take the save: the plain save and the offer to save at closing
// both say so, the file keeps its former contents and the program stays open with the work.
TEST_F(DocumentTest, FailedPlainSaveIsReportedAndKeepsTheProgramOpen) {
    const std::wstring path = WriteDocument("line.gen", &Line);
    const std::string before = FileBytes(Path("line.gen"));
    ASSERT_TRUE(Start(path));
    Document().SetModifiedFlag(TRUE);
    headless::Driver& d = Driver();
    const std::wstring box = L"Impossible d'enregistrer le fichier " + path + L" : File too large";
    FileSizeLimit limit(1000);
    d.AnswerMessageBox(IDOK);
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_SAVE));
    ASSERT_EQ(d.MessageBoxes().size(), 1u);
    EXPECT_EQ(d.MessageBoxes()[0].text, box);
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(d.MainWindowTitle(), L"line.gen - Kurvomat");
    EXPECT_EQ(FileBytes(Path("line.gen")), before);

    d.AnswerMessageBox(IDYES);  // save the changes?
    d.AnswerMessageBox(IDOK);
    d.CloseMainWindow();
    ASSERT_EQ(d.MessageBoxes().size(), 3u);
    EXPECT_EQ(d.MessageBoxes()[2].text, box);
    EXPECT_TRUE(d.IsRunning()) << "the work is not dropped";
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(FileBytes(Path("line.gen")), before);
}

}  // namespace
