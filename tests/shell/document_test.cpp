// The document: opening good and bad application files, saving, and the recent-file list.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

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

// A file of none of the application file's sizes: the start-up says why and fails; no splash
// shows.
TEST_F(DocumentTest, BadFileOnTheCommandLineEndsTheStartUp) {
    WriteBytes("bad.gen", std::string(1000, 'x'));
    NewApp();
    Driver().AnswerMessageBox(IDOK);
    EXPECT_FALSE(Driver().Start(WidePath("bad.gen")));
    for (int opened : Driver().DialogsOpened()) EXPECT_NE(opened, static_cast<int>(IDD_WAIT));
    ASSERT_EQ(Driver().MessageBoxes().size(), 1u);
    const headless::MessageBoxRecord& box = Driver().MessageBoxes()[0];
    EXPECT_EQ(box.text, L"Impossible de lire le fichier " + WidePath("bad.gen") +
                            L" : ce n'est pas un document Kurvomat (taille 1000 octets)");
    EXPECT_EQ(box.caption, L"Kurvomat");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

// Through the recent-file list: a file that became unreadable leaves an empty record and the
// previous name.
TEST_F(DocumentTest, BadFileFromTheRecentListKeepsThePreviousName) {
    const std::wstring good = WriteDocument("good.gen", &Line);
    const std::wstring other = WriteDocument("other.gen", &Line);
    ASSERT_TRUE(Start(other));
    Document().OnOpenDocument(good.c_str());
    ASSERT_EQ(Driver().RecentFiles().size(), 2u);
    ASSERT_EQ(Driver().RecentFiles()[1], other);
    WriteBytes("other.gen", std::string(2201, '\0'));
    const std::wstring title = Driver().MainWindowTitle();
    ASSERT_EQ(title, L"good.gen - Kurvomat");

    Driver().AnswerMessageBox(IDOK);
    Driver().ChooseMenu(ID_FILE_MRU_FILE1 + 1);
    ASSERT_EQ(Driver().MessageBoxes().size(), 1u);
    EXPECT_EQ(Driver().MessageBoxes()[0].text,
              L"Impossible de lire le fichier " + other +
                  L" : ce n'est pas un document Kurvomat (taille 2201 octets)");
    EXPECT_EQ(Data().hasPoints, 0) << "the record is reset";
    EXPECT_EQ(Data().function.isCompiled, 0);
    EXPECT_EQ(Driver().StatusPane(1), L"");
    EXPECT_EQ(Driver().StatusPane(2), L"");
    EXPECT_NE(Document().GetPathName(), CString(other)) << "the failed path is not taken";
    EXPECT_EQ(ScriptErrors(), "");
}

// The record a failed read left behind is not the previous file's content: when the offer to
// save comes, saving asks for a name instead of writing that record over the previous file.
TEST_F(DocumentTest, SaveAfterAFailedReadNeverOverwritesThePreviousFile) {
    const std::wstring good = WriteDocument("good.gen", &Line);
    const std::wstring other = WriteDocument("other.gen", &Line);
    ASSERT_TRUE(Start(other));
    ASSERT_TRUE(Document().OnOpenDocument(good.c_str()));
    WriteBytes("other.gen", std::string(2201, '\0'));
    const std::string before = FileBytes(Path("good.gen"));
    Document().SetModifiedFlag(TRUE);

    headless::Driver& d = Driver();
    d.AnswerMessageBox(IDNO);  // the offer to save good.gen before the open
    d.AnswerMessageBox(IDOK);  // the failed read
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_MRU_FILE1 + 1));
    ASSERT_EQ(d.MainWindowTitle(), L"good.gen - Kurvomat") << "the name stays";
    ASSERT_EQ(Data().hasPoints, 0) << "the read failed";
    ASSERT_TRUE(Document().IsModified());

    d.AnswerMessageBox(IDYES);  // the offer to save before a new document
    d.CancelFileDialog();
    ASSERT_TRUE(d.ChooseMenu(ID_FILE_NEW));
    EXPECT_EQ(d.FileDialogs().size(), 1u) << "the save asks for a name";
    EXPECT_EQ(FileBytes(Path("good.gen")), before) << "the previous file is intact";
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
