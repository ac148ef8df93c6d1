// The document protocol (new, open, save, the offer to save), the recent-file list with its
// menu and its settings file, the file dialog, exit.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>

#include "common/text_conversion.h"
#include "framework/backend.h"
#include "support/watchdog.h"
#include "test_app.h"

namespace fwtest {
namespace {

using Events = std::vector<std::string>;

// What the document did (paints left out).
Events DocEvents() {
    Events out;
    for (const std::string& e : TheLog().events)
        if (e != "draw") out.push_back(e);
    return out;
}

std::wstring Wide(const std::filesystem::path& p) {
    return NarrowToWide(p.string());
}

class DocumentTest : public FrameworkTest {
  protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        a = folder / "a.tst";
        b = folder / "b.tst";
        WriteFile(a, "AAA");
        WriteFile(b, "BBB");
    }
    void Modify() {
        Doc()->content = "changed";
        Doc()->SetModifiedFlag(TRUE);
    }
    std::filesystem::path a, b;
};

TEST_F(DocumentTest, NewDocumentAtStart) {
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(DocEvents(), Events{"new"});
    ASSERT_NE(Doc(), nullptr);
    EXPECT_EQ(Doc()->GetPathName(), L"");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(driver->RecentFiles().empty());
}

TEST_F(DocumentTest, DocumentNamedOnTheCommandLine) {
    ASSERT_TRUE(StartApp(L"\"" + Wide(a) + L"\""));
    EXPECT_EQ(DocEvents(), Events{"open AAA"});
    EXPECT_EQ(Doc()->GetPathName(), Wide(a));
    EXPECT_EQ(driver->MainWindowTitle(), L"a.tst - Testeur");
    EXPECT_EQ(driver->RecentFiles(), std::vector<std::wstring>{Wide(a)});
}

TEST_F(DocumentTest, CommandLineQuotesAndOptions) {
    const std::filesystem::path spaced = folder / "a b.tst";
    WriteFile(spaced, "SPACED");
    // Options are skipped; the first plain argument is the document; quotes group blanks.
    ASSERT_TRUE(StartApp(L"-option  \"" + Wide(spaced) + L"\" " + Wide(a)));
    EXPECT_EQ(DocEvents(), Events{"open SPACED"});
    EXPECT_STREQ(driver->App()->m_lpCmdLine,
                 (L"-option  \"" + Wide(spaced) + L"\" " + Wide(a)).c_str());
}

TEST_F(DocumentTest, ProfileEntriesRoundTripWhateverTheyHold) {
    ASSERT_TRUE(StartApp());
    CWinApp* app = driver->App();
    EXPECT_EQ(app->GetProfileInt(L"Réglages", L"Pages", 7), 7u);
    EXPECT_TRUE(app->WriteProfileInt(L"Réglages", L"Pages", 3));
    const std::wstring values[] = {L"Données à part", L"ligne\nsuivante\r", L" blancs\t ",
                                   L"\"entre guillemets\"", L"\\n n'est pas \\x0A"};
    for (const std::wstring& value : values)
        EXPECT_TRUE(app->WriteProfileString(L"Réglages", L"Nom", value.c_str()) &&
                    app->GetProfileString(L"Réglages", L"Nom") == value)
            << WideToNarrow(value);
    // A character without a UTF-8 form would come back as another text: refused.
    const std::wstring surrogate{L'a', static_cast<wchar_t>(0xD800), L'b'};
    EXPECT_FALSE(app->WriteProfileString(L"Réglages", L"Coupé", surrogate.c_str()));
    EXPECT_EQ(app->GetProfileInt(L"Réglages", L"Pages", 7), 3u);
    EXPECT_EQ(app->GetProfileString(L"Réglages", L"Coupé", L"absent"), L"absent");
    EXPECT_EQ(framework::ProfileFilePath(L"Z-W", L"Testeur"),
              (folder / "config" / "Z-W" / "Testeur.conf").string());
}

TEST_F(DocumentTest, StartFailsWhenTheNamedDocumentCannotBeOpened) {
    // What does not open as a file is told in the framework's words with the reason, at once (a
    // pipe nobody writes to would wait for good), and the start fails.
    std::filesystem::create_directory(folder / "dossier");
    ASSERT_EQ(mkfifo((folder / "tube").c_str(), 0600), 0);
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"absent.tst", L"No such file or directory"},
        {"dossier", L"Is a directory"},
        {"tube", L"ce n'est pas un fichier ordinaire"},
    };
    const Watchdog watchdog(20);
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(name);
        driver->ClearRecords();
        driver->AnswerMessageBox(IDOK);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(StartApp(Wide(folder / name)));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        ASSERT_EQ(driver->MessageBoxes().size(), 1u);
        EXPECT_EQ(driver->MessageBoxes()[0].text,
                  L"Le document " + Wide(folder / name) + L" ne peut pas être ouvert : " + reason);
        EXPECT_EQ(driver->MessageBoxes()[0].type, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_FALSE(driver->IsRunning());
    }
    // A file the document refuses: no message of the framework's, the start fails too.
    driver->ClearRecords();
    WriteFile(a, "bad");
    EXPECT_FALSE(StartApp(Wide(a)));
    EXPECT_TRUE(driver->MessageBoxes().empty());
    EXPECT_EQ(driver->MainFrame(), nullptr);
}

TEST_F(DocumentTest, OfferToSaveBeforeANewDocument) {
    ASSERT_TRUE(StartApp(Wide(a)));
    struct Case {
        int answer;
        bool replaced;
    };
    for (const Case& c : {Case{IDCANCEL, false}, Case{IDNO, true}}) {
        Modify();
        TheLog().Clear();
        driver->AnswerMessageBox(c.answer);
        EXPECT_TRUE(driver->PressKey('N', true));
        ASSERT_FALSE(driver->MessageBoxes().empty());
        EXPECT_EQ(driver->MessageBoxes().back().text,
                  L"Le document a.tst a été modifié.\nFaut-il enregistrer ses modifications ?");
        EXPECT_EQ(driver->MessageBoxes().back().type, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
        EXPECT_EQ(Doc()->IsModified(), !c.replaced) << c.answer;
        EXPECT_EQ(DocEvents(), c.replaced ? Events{"new"} : Events{}) << c.answer;
    }
    // Not modified: no question.
    TheLog().Clear();
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_NEW));
    EXPECT_EQ(driver->MessageBoxes().size(), 2u);
    EXPECT_EQ(DocEvents(), Events{"new"});
    EXPECT_EQ(ReadFile(a), "AAA");
}

TEST_F(DocumentTest, YesSavesUnderTheDocumentsNameThenGoesOn) {
    ASSERT_TRUE(StartApp(Wide(a)));
    Modify();
    TheLog().Clear();
    driver->AnswerMessageBox(IDYES);
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_NEW));
    EXPECT_EQ(DocEvents(), (Events{"save " + a.string(), "new"}));
    EXPECT_EQ(ReadFile(a), "changed");
    EXPECT_TRUE(driver->FileDialogs().empty());
}

TEST_F(DocumentTest, YesOnANewDocumentAsksForAName) {
    ASSERT_TRUE(StartApp());
    Modify();
    TheLog().Clear();
    driver->AnswerMessageBox(IDYES);
    driver->AnswerFileDialog(Wide(folder / "nouveau"));
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_NEW));
    ASSERT_EQ(driver->FileDialogs().size(), 1u);
    EXPECT_FALSE(driver->FileDialogs()[0].open);
    EXPECT_EQ(driver->FileDialogs()[0].title, L"Enregistrer sous");
    EXPECT_EQ(driver->FileDialogs()[0].initialName, L"sans titre");
    EXPECT_EQ(ReadFile(folder / "nouveau"), "changed");
    EXPECT_EQ(DocEvents().back(), "new");
}

TEST_F(DocumentTest, CancelledSaveDialogOrFailedSaveKeepsTheDocument) {
    ASSERT_TRUE(StartApp());
    Modify();
    TheLog().Clear();
    driver->AnswerMessageBox(IDYES);
    driver->CancelFileDialog();
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_NEW));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Doc()->content, "changed");
    // A save that fails (no such folder): still modified, still unnamed, nothing replaced.
    driver->AnswerMessageBox(IDYES);
    driver->AnswerFileDialog(Wide(folder / "absent" / "x.tst"));
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_NEW));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Doc()->GetPathName(), L"");
    EXPECT_EQ(DocEvents(), Events{"save " + (folder / "absent" / "x.tst").string()});
}

TEST_F(DocumentTest, SaveCommandUsesTheNameOrAsksWhenTheFileIsReadOnly) {
    ASSERT_TRUE(StartApp(Wide(a)));
    Modify();
    TheLog().Clear();
    EXPECT_TRUE(driver->PressKey('S', true));
    EXPECT_EQ(DocEvents(), Events{"save " + a.string()});
    EXPECT_FALSE(Doc()->IsModified());
    // A read-only file is not written: the name is asked for.
    chmod(a.c_str(), 0444);
    Doc()->content = "second";
    Doc()->SetModifiedFlag(TRUE);
    driver->AnswerFileDialog(Wide(b));
    driver->AnswerMessageBox(IDYES);  // b exists: replace it
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_SAVE));
    EXPECT_EQ(ReadFile(b), "second");
    EXPECT_EQ(ReadFile(a), "changed");
    EXPECT_EQ(Doc()->GetPathName(), Wide(b));
    EXPECT_EQ(driver->MainWindowTitle(), L"b.tst - Testeur");
    EXPECT_EQ(driver->RecentFiles(), (std::vector<std::wstring>{Wide(b), Wide(a)}));
}

TEST_F(DocumentTest, FileDialogAddsTheDefaultExtensionAndAsksBeforeReplacing) {
    ASSERT_TRUE(StartApp());
    struct Case {
        const wchar_t* typed;
        const wchar_t* chosen;
        bool asked;
    };
    WriteFile(folder / "exists.GEN", "x");
    for (const Case& c :
         {Case{L"plain", L"plain.GEN", false}, Case{L"with.ext", L"with.ext", false},
          Case{L"exists", L"exists.GEN", true}}) {
        CFileDialog dialog(FALSE, L"GEN", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                           L"Applications (*.gen)|*.gen|Tous (*.*)|*.*||");
        dialog.GetOFN().lpstrTitle = L"Titre";
        driver->AnswerFileDialog(Wide(folder / c.typed), 2);
        if (c.asked) driver->AnswerMessageBox(IDYES);
        const std::size_t boxes = driver->MessageBoxes().size();
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.GetPathName(), Wide(folder / c.chosen));
        EXPECT_EQ(dialog.GetOFN().nFilterIndex, 2u);
        EXPECT_EQ(driver->MessageBoxes().size(), boxes + (c.asked ? 1 : 0)) << c.typed;
    }
    const auto& record = driver->FileDialogs().back();
    EXPECT_EQ(record.title, L"Titre");
    EXPECT_EQ(record.defaultExtension, L"GEN");
    EXPECT_EQ(record.filters, (std::vector<std::pair<std::wstring, std::wstring>>{
                                  {L"Applications (*.gen)", L"*.gen"}, {L"Tous (*.*)", L"*.*"}}));
    EXPECT_EQ(record.flags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT),
              OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
}

TEST_F(DocumentTest, NoToTheReplaceQuestionReturnsToTheDialog) {
    ASSERT_TRUE(StartApp());
    WriteFile(folder / "exists.GEN", "x");
    CFileDialog dialog(FALSE, L"GEN", L"depart", OFN_OVERWRITEPROMPT, L"A (*.gen)|*.gen||");
    driver->AnswerFileDialog(Wide(folder / "exists.GEN"));
    driver->AnswerMessageBox(IDNO);
    driver->CancelFileDialog();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(driver->FileDialogs().size(), 2u);
    EXPECT_EQ(driver->FileDialogs()[0].initialName, L"depart");
    EXPECT_EQ(driver->FileDialogs()[1].initialName, Wide(folder / "exists.GEN"));
    EXPECT_EQ(driver->MessageBoxes().back().text, L"Le fichier " + Wide(folder / "exists.GEN") +
                                                      L" existe déjà.\nFaut-il le remplacer ?");
    // An open dialog never asks.
    CFileDialog open(TRUE, L"GEN", nullptr, OFN_OVERWRITEPROMPT, L"A (*.gen)|*.gen||");
    driver->AnswerFileDialog(Wide(folder / "exists.GEN"));
    EXPECT_EQ(open.DoModal(), IDOK);
}

TEST_F(DocumentTest, FilterSyntax) {
    struct Case {
        const wchar_t* filter;
        std::vector<std::pair<std::wstring, std::wstring>> entries;
    };
    const std::vector<Case> cases = {
        {L"A (*.a)|*.a||", {{L"A (*.a)", L"*.a"}}},
        {L"A|*.a|B|*.b|C|*.*||", {{L"A", L"*.a"}, {L"B", L"*.b"}, {L"C", L"*.*"}}},
        {L"A|*.a", {{L"A", L"*.a"}}},
        {L"", {}},
        {L"A|*.a|B||", {{L"A", L"*.a"}, {L"B", L""}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseFileFilter(c.filter), c.entries) << WideToNarrow(c.filter);
}

TEST_F(DocumentTest, RecentFileMenuOpensItsEntriesAndKeepsOnesThatFail) {
    ASSERT_TRUE(StartApp());
    EXPECT_FALSE(driver->IsMenuItemEnabled(ID_FILE_MRU_FILE1));
    EXPECT_EQ(driver->MenuItemText(ID_FILE_MRU_FILE1), L"Fichier récent");
    ASSERT_NE(Doc(), nullptr);
    Doc()->SetPathName(Wide(a).c_str());
    Doc()->SetPathName(Wide(b).c_str());
    EXPECT_EQ(driver->MenuItemText(ID_FILE_MRU_FILE1), L"&1 " + Wide(b));
    EXPECT_EQ(driver->MenuItemText(ID_FILE_MRU_FILE1 + 1), L"&2 " + Wide(a));
    EXPECT_TRUE(driver->IsMenuItemEnabled(ID_FILE_MRU_FILE1 + 1));
    driver->HighlightMenuItem(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(driver->StatusPane(0), L"Ouvre ce document");
    driver->CloseMenu();
    TheLog().Clear();
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(DocEvents(), Events{"open AAA"});
    EXPECT_EQ(driver->RecentFiles(), (std::vector<std::wstring>{Wide(a), Wide(b)}));
    // b disappears: choosing it says why and changes nothing; it may come back.
    std::filesystem::remove(b);
    driver->AnswerMessageBox(IDOK);
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(driver->MessageBoxes().back().text,
              L"Le document " + Wide(b) + L" ne peut pas être ouvert : No such file or directory");
    EXPECT_EQ(driver->RecentFiles(), (std::vector<std::wstring>{Wide(a), Wide(b)}));
    EXPECT_EQ(Doc()->GetPathName(), Wide(a));
    WriteFile(b, "BBB");
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(Doc()->GetPathName(), Wide(b));
}

TEST_F(DocumentTest, RecentFileListKeepsFourMostRecentFirst) {
    ASSERT_TRUE(StartApp());
    for (const char* name : {"1", "2", "3", "4", "5", "3"})
        Doc()->SetPathName(Wide(folder / name).c_str());
    EXPECT_EQ(driver->RecentFiles(),
              (std::vector<std::wstring>{Wide(folder / "3"), Wide(folder / "5"), Wide(folder / "4"),
                                         Wide(folder / "2")}));
    // A path given without its folder is kept in full.
    Doc()->SetPathName(L"relatif.tst");
    EXPECT_EQ(driver->RecentFiles().front(), Wide(std::filesystem::current_path() / "relatif.tst"));
    // Without the flag nothing is added.
    Doc()->SetPathName(L"sans nom", FALSE);
    EXPECT_EQ(driver->RecentFiles().size(), 4u);
    EXPECT_EQ(Doc()->GetTitle(), L"sans nom");
}

TEST_F(DocumentTest, RecentFilesSurviveARestartInTheSettingsFile) {
    ASSERT_TRUE(StartApp(Wide(a)));
    Doc()->SetPathName(Wide(b).c_str());
    driver->CloseMainWindow();
    EXPECT_FALSE(driver->IsRunning());
    const std::filesystem::path settings = folder / "config" / "Z-W" / "Testeur.conf";
    const std::string text = ReadFile(settings);
    EXPECT_NE(text.find("[Recent File List]"), std::string::npos) << text;
    EXPECT_NE(text.find("File1=" + b.string()), std::string::npos) << text;
    EXPECT_NE(text.find("File2=" + a.string()), std::string::npos) << text;
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(driver->RecentFiles(), (std::vector<std::wstring>{Wide(b), Wide(a)}));
}

// The profile of the backend interface, refusing one value; nothing else of it is used.
class RefusingProfile : public framework::Backend {
  public:
    explicit RefusingProfile(std::wstring refused) : refused_(std::move(refused)) {}
    bool WriteProfile(const std::wstring& key, const std::wstring& app, const std::wstring& section,
                      const std::wstring& entry, const std::wstring& value) override {
        return value != refused_ && Backend::WriteProfile(key, app, section, entry, value);
    }
    void PaintNow(HWND) override {}
    void RunModalLoop(HWND, const std::function<bool()>&) override {}
    std::uint64_t NowMs() const override { return 0; }
    int MessageBox(const framework::MessageBoxRequest&) override { return IDCANCEL; }
    framework::FileDialogAnswer RunFileDialog(const framework::FileDialogRequest&) override {
        return {};
    }
    framework::PrintDialogAnswer RunPrintDialog(const framework::PrintDialogRequest&) override {
        return {};
    }
    bool RunPrintJob(const DEVMODE&, const std::wstring&, bool,
                     const std::function<void(framework::PrintJob&)>&) override {
        return false;
    }
    bool ShellExecute(const std::string&, const std::string&) override { return false; }

  private:
    std::wstring refused_;
};

TEST_F(DocumentTest, RecentFilesKeepAnyNameAndLeaveOutWhatTheProfileRefuses) {
    // Line breaks, tabs, blanks at the end, quotes and backslashes are part of a file's name.
    const std::vector<std::wstring> odd = {
        Wide(folder / "ligne\nsuivante.tst"), Wide(folder / "blanc final.tst "),
        Wide(folder / "\"cité\\x41\".tst"), Wide(folder / "tab\t.tst")};
    ASSERT_TRUE(StartApp());
    for (auto it = odd.rbegin(); it != odd.rend(); ++it) Doc()->SetPathName(it->c_str());
    EXPECT_EQ(driver->RecentFiles(), odd);
    driver->CloseMainWindow();
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(driver->RecentFiles(), odd);

    // A refused entry is left out and the later ones move up: no name of the list written
    // before stays in its place.
    framework::RecentFileList list(4);
    for (const char* name : {"a.tst", "refusé.tst", "c.tst"}) list.Add(Wide(folder / name));
    RefusingProfile refusing(Wide(folder / "refusé.tst"));
    framework::Backend& headless = framework::CurrentBackend();
    framework::SetBackend(&refusing);
    list.WriteList(L"Recent File List");
    framework::RecentFileList read(4);
    read.ReadList(L"Recent File List");
    framework::SetBackend(&headless);
    EXPECT_EQ(read.Entries(), (std::vector<std::wstring>{Wide(folder / "c.tst"), Wide(a)}));
}

TEST_F(DocumentTest, BrokenSettingsFileIsReadDefensively) {
    const std::filesystem::path settings = folder / "config" / "Z-W" / "Testeur.conf";
    std::filesystem::create_directories(settings.parent_path());
    WriteFile(settings,
              "garbage\n[Recent File List\n[Recent File List]\nFile1=/x/y.tst\r\n=no "
              "key\nFile9=/z\nFile2\nFile3=/x/y.tst\n");
    ASSERT_TRUE(StartApp());
    EXPECT_EQ(driver->RecentFiles(), std::vector<std::wstring>{L"/x/y.tst"});
}

TEST_F(DocumentTest, ExitOffersToSaveAndCancelKeepsRunning) {
    ASSERT_TRUE(StartApp(Wide(a)));
    Modify();
    driver->AnswerMessageBox(IDCANCEL);
    EXPECT_TRUE(driver->ChooseMenu(ID_APP_EXIT));
    EXPECT_TRUE(driver->IsRunning());
    EXPECT_NE(driver->MainFrame(), nullptr);
    driver->AnswerMessageBox(IDNO);
    EXPECT_TRUE(driver->ChooseMenu(ID_APP_EXIT));
    EXPECT_FALSE(driver->IsRunning());
    EXPECT_EQ(ReadFile(a), "AAA");
}

TEST_F(DocumentTest, FailedOpenOfAnUntouchedDocumentKeepsIt) {
    ASSERT_TRUE(StartApp(Wide(a)));
    Modify();
    WriteFile(b, "bad");
    Doc()->SetPathName(Wide(b).c_str());
    Doc()->SetPathName(Wide(a).c_str());
    driver->AnswerMessageBox(IDNO);  // do not save a
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_MRU_FILE1 + 1));
    // The refused file left the document unmodified: it keeps its name, its modified flag and
    // the recent files.
    EXPECT_EQ(Doc()->GetPathName(), Wide(a));
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(driver->RecentFiles(), (std::vector<std::wstring>{Wide(a), Wide(b)}));
    // A refused file that left the document modified: a new document replaces it.
    WriteFile(b, "bad-modified");
    Doc()->SetPathName(Wide(b).c_str());
    Doc()->SetPathName(Wide(a).c_str());
    Doc()->SetModifiedFlag(FALSE);
    TheLog().Clear();
    EXPECT_TRUE(driver->ChooseMenu(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(DocEvents(), (Events{"open bad-modified", "new"}));
    EXPECT_EQ(Doc()->GetPathName(), L"");
}

}  // namespace
}  // namespace fwtest
