// Windows and controls as the program drives them: creation failures, texts and states set by
// the program, edits and lists without a person, timers with callbacks, what a person cannot
// reach while a dialog is open, memory blocks, the document template's string.
#include <gtest/gtest.h>

#include "framework/user_input.h"
#include "test_app.h"

namespace fwtest {
namespace {

using Events = std::vector<std::string>;

Events Only(const std::string& prefix) {
    Events out;
    for (const std::string& e : TheLog().events)
        if (e.rfind(prefix, 0) == 0) out.push_back(e);
    return out;
}

class WindowTest : public FrameworkTest {
  protected:
    int RunDialog() {
        EXPECT_TRUE(driver->ChooseMenu(kOpenDialogCommand));
        return TheSettings().lastDialogAnswer;
    }
};

TEST_F(WindowTest, MissingIndicatorStringFailsTheFrameAndTheStart) {
    TheSettings().missingIndicator = true;
    EXPECT_FALSE(StartApp());
    EXPECT_FALSE(driver->IsRunning());
    EXPECT_EQ(driver->MainFrame(), nullptr);
    // The document was made before the frame; it went with the failed start.
    EXPECT_EQ(TheLog().events, Events{});
}

TEST_F(WindowTest, ProgramsOwnChangesToControls) {
    ASSERT_TRUE(StartApp());
    TheLog().Clear();
    TheSettings().onInit = [](CDialog& d) {
        auto* check = dynamic_cast<CButton*>(d.GetDlgItem(kCheck));
        ASSERT_NE(check, nullptr);
        check->SetCheck(BST_CHECKED);  // no notification
        EXPECT_EQ(d.IsDlgButtonChecked(kCheck), 1u);
        EXPECT_EQ(check->GetButtonStyle(), static_cast<UINT>(BS_AUTOCHECKBOX));
        auto* edit = dynamic_cast<CEdit*>(d.GetDlgItem(kEdit));
        ASSERT_NE(edit, nullptr);
        edit->SetWindowText(L"abcdef");
        edit->SetSel(1, 3);
        int start = 0, end = 0;
        edit->GetSel(start, end);
        EXPECT_EQ(start, 1);
        EXPECT_EQ(end, 3);
        edit->ReplaceSel(L"XY");  // one change: "aXYdef"
        edit->SetSel(-1, 0);
        edit->ReplaceSel(L"!");  // at the end
        CString text;
        edit->GetWindowText(text);
        EXPECT_EQ(text, L"aXYdef!");
        EXPECT_EQ(edit->GetWindowTextLength(), 7);
        wchar_t buffer[4];
        EXPECT_EQ(edit->GetWindowText(buffer, 4), 3);
        EXPECT_STREQ(buffer, L"aXY");
        // WM_SETTEXT through SendMessage is the same change.
        edit->SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"msg"));
        d.GetDlgItem(kLabel)->SetWindowText(L"étiquette");  // statics do not notify
    };
    driver->NextDialog(kTestDialog)
        .Check([](headless::Driver& d) {
            EXPECT_EQ(d.CheckState(kCheck), 1);
            EXPECT_EQ(d.Text(kEdit), L"msg");
            EXPECT_EQ(d.Text(kLabel), L"étiquette");
        })
        .Click(IDOK);
    RunDialog();
    EXPECT_TRUE(Only("BN_").empty());
    EXPECT_EQ(Only("EN_CHANGE"), (Events{"EN_CHANGE abcdef", "EN_CHANGE aXYdef",
                                         "EN_CHANGE aXYdef!", "EN_CHANGE msg"}));
    // The OK handler's UpdateData(TRUE) read the box the program ticked.
    EXPECT_EQ(TheLog().events.back(), "dialog 1 check 1");
}

TEST_F(WindowTest, ListTextsAndSortedLists) {
    ASSERT_TRUE(StartApp());
    TheSettings().onInit = [](CDialog& d) {
        auto* list = dynamic_cast<CListBox*>(d.GetDlgItem(kList));
        ASSERT_NE(list, nullptr);
        CString row;
        EXPECT_EQ(list->GetText(1, row), 4);
        EXPECT_EQ(row, L"deux");
        EXPECT_EQ(list->GetTextLen(2), 5);
        EXPECT_EQ(list->GetText(3, row), LB_ERR);
        EXPECT_EQ(row, L"");
        EXPECT_EQ(list->GetTextLen(-1), LB_ERR);
        EXPECT_EQ(list->SetCurSel(3), LB_ERR);
        EXPECT_EQ(list->GetCurSel(), LB_ERR);
        EXPECT_EQ(list->SetCurSel(2), 2);
    };
    driver->NextDialog(kTestDialog).PressEscape();
    RunDialog();
}

int g_callbackTicks = 0;
void TimerCallback(HWND, UINT message, UINT_PTR id, DWORD) {
    if (message == WM_TIMER && id == 9) ++g_callbackTicks;
}

TEST_F(WindowTest, TimerWithACallbackCallsItInsteadOfTheWindow) {
    ASSERT_TRUE(StartApp());
    TheLog().Clear();
    g_callbackTicks = 0;
    TheSettings().onInit = [](CDialog& d) { d.SetTimer(9, 50, &TimerCallback); };
    driver->NextDialog(kTestDialog).AdvanceClock(120).PressEscape();
    RunDialog();
    EXPECT_EQ(g_callbackTicks, 2);
    EXPECT_TRUE(Only("timer").empty());
}

TEST_F(WindowTest, TimerOfTheMainWindowRunsWhileADialogIsOpen) {
    ASSERT_TRUE(StartApp());
    TheLog().Clear();
    g_callbackTicks = 0;
    driver->MainFrame()->SetTimer(9, 100, &TimerCallback);
    driver->AdvanceClock(100);
    EXPECT_EQ(g_callbackTicks, 1);
    driver->NextDialog(kTestDialog).AdvanceClock(300).PressEscape();
    RunDialog();
    EXPECT_EQ(g_callbackTicks, 4);
    EXPECT_TRUE(driver->MainFrame()->KillTimer(9));
}

TEST_F(WindowTest, WhileADialogIsOpenTheMainWindowTakesNothing) {
    ASSERT_TRUE(StartApp());
    TheLog().Clear();
    TheSettings().ruledEnabled = true;
    driver->NextDialog(kTestDialog)
        .Check([](headless::Driver& d) {
            // The keys go to the dialog; the menu and the close box of the main window are out
            // of reach.
            CFrameWnd* frame = d.MainFrame();
            EXPECT_FALSE(framework::ChooseMenuItem(frame, kViewCommand));
            EXPECT_FALSE(framework::CloseWindow(frame->m_hWnd));
            EXPECT_FALSE(framework::PressKey('V', true, false, false));
            EXPECT_FALSE(framework::MouseMove(frame->GetActiveView()->m_hWnd, CPoint(5, 5), 0));
        })
        .PressEscape();
    RunDialog();
    EXPECT_TRUE(Only("view command").empty());
    EXPECT_TRUE(driver->IsRunning());
}

TEST_F(WindowTest, ViewTakesTheMouseAtClientPoints) {
    ASSERT_TRUE(StartApp());
    EXPECT_TRUE(driver->MouseMove(CPoint(10, 10)));
    EXPECT_TRUE(driver->MouseDown(CPoint(10, 10)));
    EXPECT_TRUE(driver->MouseUp(CPoint(10, 10)));
}

TEST_F(WindowTest, DocumentStringFieldsAndTitles) {
    ASSERT_TRUE(StartApp());
    CDocTemplate* docTemplate = Doc()->GetDocTemplate();
    ASSERT_NE(docTemplate, nullptr);
    struct Case {
        CDocTemplate::DocStringIndex index;
        const wchar_t* text;
        BOOL found;
    };
    for (const Case& c :
         {Case{CDocTemplate::windowTitle, L"Testeur", TRUE},
          Case{CDocTemplate::docName, L"", FALSE}, Case{CDocTemplate::fileNewName, L"Test", TRUE},
          Case{CDocTemplate::filterExt, L"", FALSE},
          Case{CDocTemplate::regFileTypeId, L"Testeur.Document", TRUE},
          Case{CDocTemplate::regFileTypeName, L"Test Document", TRUE}}) {
        CString text;
        EXPECT_EQ(docTemplate->GetDocString(text, c.index), c.found) << c.index;
        EXPECT_EQ(text, c.text) << c.index;
    }
    // A new title shows in the window title at once.
    Doc()->SetTitle(L"autre");
    EXPECT_EQ(driver->MainWindowTitle(), L"autre - Testeur");
}

TEST_F(WindowTest, MovableMemoryBlocks) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 16u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[15], 0);
    EXPECT_EQ(GlobalLock(block), bytes);
    EXPECT_TRUE(GlobalUnlock(block));   // still locked once
    EXPECT_FALSE(GlobalUnlock(block));  // unlocked now
    EXPECT_FALSE(GlobalUnlock(block));  // nothing to unlock
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalLock(nullptr), nullptr);
}

TEST_F(WindowTest, FileDialogFilterOutOfRangeIsADriverError) {
    expectErrors = true;
    ASSERT_TRUE(StartApp());
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, L"A|*.a|B|*.b||");
    driver->AnswerFileDialog(L"/tmp/x.a", 3);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(driver->Errors().size(), 1u);
    EXPECT_NE(driver->Errors()[0].find("no filter 3"), std::string::npos);
}

}  // namespace
}  // namespace fwtest
