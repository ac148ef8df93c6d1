// A small application written against the framework, driven headless by the framework tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/framework.h"
#include "framework/headless/driver.h"

namespace fwtest {

// Commands of the test menu.
constexpr UINT kViewCommand = 310;        // handled by the view
constexpr UINT kDocCommand = 311;         // handled by the document
constexpr UINT kFrameCommand = 312;       // handled by the frame
constexpr UINT kAppCommand = 313;         // handled by the application
constexpr UINT kRuledCommand = 301;       // view handler, enabled by a rule
constexpr UINT kUnhandledCommand = 302;   // nobody handles it
constexpr UINT kSubmenuCommand = 320;     // in a submenu, view handler
constexpr UINT kOpenDialogCommand = 330;  // view: runs dialog 500 and keeps its answer
constexpr UINT kPrintSetupCommand = 331;  // app: print set-up forcing landscape
constexpr UINT kHelpCommand = 332;        // app: the shell's open verb on the help file
constexpr UINT kWaitCommand = 333;        // view: wait cursor around nothing
constexpr UINT kPaneCommand = 334;        // view: lights pane 1

// Dialog templates.
constexpr UINT kTestDialog = 500;        // edits, check box, list, buttons
constexpr UINT kSmallDialog = 501;       // one edit and OK
constexpr UINT kCalcDialog = 502;        // default button 3, Cancel 2, no OK
constexpr UINT kSplashDialog = 503;      // no buttons; a timer ends it
constexpr UINT kCenteredDialog = 504;    // DS_CENTER
constexpr UINT kIconDialog = 505;        // icon 128 at (11, 17) units
constexpr UINT kBrokenIconDialog = 506;  // names icon 129, which does not exist

// Controls of kTestDialog.
constexpr int kEdit = 1000;
constexpr int kNarrowEdit = 1001;  // no automatic scrolling, 40 units wide
constexpr int kCheck = 1002;
constexpr int kList = 1003;
constexpr int kNestedButton = 1004;
constexpr int kLabel = 1005;
constexpr int kBoxButton = 1006;  // shows a message box
constexpr int kDisableOkButton = 1007;

const ResourceSet& TestResources();

// Runs dialog 502 (default button 3 logs "calc"); answers DoModal.
int RunCalcDialog();

// What the test application's objects did, for the tests to read.
struct Log {
    std::vector<std::string> events;
    void Add(const std::string& e) { events.push_back(e); }
    void Clear() { events.clear(); }
};
Log& TheLog();

// Settings of the test application between runs.
struct Settings {
    bool ruledEnabled = false;
    int lastDialogAnswer = -100;
    bool showSplash = false;
    std::wstring initialText;              // dialog 500 starts with it through UpdateData(FALSE)
    bool missingIndicator = false;         // the status bar names a string the table lacks  //
                                           // InitInstance runs the splash dialog 503
    std::function<void(CDialog&)> onInit;  // run inside OnInitDialog of dialog 500
    BOOL initAnswer = TRUE;                // what OnInitDialog of dialog 500 answers
};
Settings& TheSettings();

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
  public:
    std::string content;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCTSTR path) override;
    BOOL OnSaveDocument(LPCTSTR path) override;

  protected:
    afx_msg void OnDocCommand();
    DECLARE_MESSAGE_MAP()
};

// Reads a whole file as text; "" when missing.
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& text);

// Each test: a fresh settings folder (XDG_CONFIG_HOME), a fresh driver, no scripting errors at
// the end unless the test expects them.
class FrameworkTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the application; answers what InitInstance answered.
    bool StartApp(const std::wstring& commandLine = L"");
    CTestDoc* Doc() const;
    std::filesystem::path folder;
    std::unique_ptr<headless::Driver> driver;
    bool expectErrors = false;
};

}  // namespace fwtest
