// Dialogs: notifications of edits, buttons and lists; data exchange; the modal loop and how it
// ends; owners; geometry in dialog units; timers; the driver's own checks.
#include <gtest/gtest.h>

#include "framework/core.h"
#include "framework/user_input.h"
#include "test_app.h"

namespace fwtest {
namespace {

using Events = std::vector<std::string>;

// Events logged from the first one that starts with `prefix` on.
Events EventsFrom(const std::string& prefix) {
    const Events& all = TheLog().events;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].rfind(prefix, 0) == 0)
            return Events(all.begin() + static_cast<std::ptrdiff_t>(i), all.end());
    return {};
}

Events Only(const std::string& prefix) {
    Events out;
    for (const std::string& e : TheLog().events)
        if (e.rfind(prefix, 0) == 0) out.push_back(e);
    return out;
}

class DialogTest : public FrameworkTest {
  protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        ASSERT_TRUE(StartApp());
        TheLog().Clear();
    }
    // Runs dialog 500 from the menu with `script` filled in by the caller before.
    int RunDialog() {
        EXPECT_TRUE(driver->ChooseMenu(kOpenDialogCommand));
        return TheSettings().lastDialogAnswer;
    }
};

TEST_F(DialogTest, TypingSendsUpdateThenChangeForEveryCharacter) {
    driver->NextDialog(kTestDialog)
        .Type(kEdit, L"ab")
        .Append(kEdit, L"c")
        .Clear(kEdit)
        .PressEscape();
    RunDialog();
    EXPECT_EQ(Only("EN_"), (Events{"EN_UPDATE a", "EN_CHANGE a", "EN_UPDATE ab", "EN_CHANGE ab",
                                   "EN_UPDATE abc", "EN_CHANGE abc", "EN_UPDATE ", "EN_CHANGE "}));
}

TEST_F(DialogTest, TypingOverATextReplacesItWithTheFirstCharacter) {
    TheSettings().onInit = [](CDialog& d) { d.SetDlgItemText(kEdit, L"ancien"); };
    driver->NextDialog(kTestDialog)
        .Type(kEdit, L"xy")
        .Check([](headless::Driver& d) { EXPECT_EQ(d.Text(kEdit), L"xy"); })
        .PressEscape();
    RunDialog();
    // SetWindowText from the program notifies once, as a change by a person does.
    EXPECT_EQ(Only("EN_"), (Events{"EN_UPDATE ancien", "EN_CHANGE ancien", "EN_UPDATE x",
                                   "EN_CHANGE x", "EN_UPDATE xy", "EN_CHANGE xy"}));
}

TEST_F(DialogTest, UpdateDataCarriesValuesWithoutNotifications) {
    // OnInitDialog puts "abc" into the member and runs UpdateData(FALSE).
    TheSettings().initialText = L"abc";
    driver->NextDialog(kTestDialog)
        .Check([](headless::Driver& d) {
            EXPECT_EQ(d.Text(kEdit), L"abc");
            EXPECT_TRUE(Only("EN_").empty());
        })
        .Append(kEdit, L"d")
        .Tick(kCheck)
        .Click(IDOK);
    RunDialog();
    // The person's keystroke notified once; the OK handler's UpdateData(TRUE) read the edit and
    // the box and notified nothing.
    EXPECT_EQ(Only("EN_"), (Events{"EN_UPDATE abcd", "EN_CHANGE abcd"}));
    EXPECT_EQ(Only("ok"), Events{"ok abcd"});
    EXPECT_EQ(TheLog().events.back(), "dialog 1 check 1");
}

TEST_F(DialogTest, SetWindowTextNotifiesOnce) {
    TheSettings().onInit = [](CDialog& d) { d.SetDlgItemText(kNarrowEdit, L"x"); };
    driver->NextDialog(kTestDialog).PressEscape();
    RunDialog();
    EXPECT_EQ(Only("EN_CHANGE narrow"), Events{"EN_CHANGE narrow"});
}

TEST_F(DialogTest, EditChangedInABackendsOwnWidgetIsOneChange) {
    driver->NextDialog(kTestDialog)
        .Check([](headless::Driver&) {
            HWND edit = framework::FindDescendant(framework::ActiveWindow(), kEdit);
            EXPECT_TRUE(framework::EditTextChanged(edit, L"collé"));
            EXPECT_TRUE(framework::EditTextChanged(edit, L"collé"));  // no change, no notification
            HWND label = framework::FindDescendant(framework::ActiveWindow(), kLabel);
            EXPECT_FALSE(framework::EditTextChanged(label, L"x"));
        })
        .PressEscape();
    RunDialog();
    EXPECT_EQ(Only("EN_"), (Events{"EN_UPDATE collé", "EN_CHANGE collé"}));
}

TEST_F(DialogTest, EditWithoutAutomaticScrollingStopsAtItsWidth) {
    // 40 dialog units = 60 pixels; 8 of them are borders and margins; 6 pixels a character.
    driver->NextDialog(kTestDialog)
        .Type(kNarrowEdit, L"0123456789ABCDEF")
        .Check([](headless::Driver& d) { EXPECT_EQ(d.Text(kNarrowEdit), L"01234567"); })
        .Type(kEdit, L"0123456789ABCDEF")
        .Check([](headless::Driver& d) { EXPECT_EQ(d.Text(kEdit), L"0123456789ABCDEF"); })
        .PressEscape();
    RunDialog();
    EXPECT_EQ(Only("EN_CHANGE narrow").size(), 8u);
}

// Pasting replaces the text in one change and, unlike typing, does not stop at the width.
TEST_F(DialogTest, PasteIsOneChangeWhateverTheWidth) {
    expectErrors = true;
    driver->NextDialog(kTestDialog)
        .Type(kNarrowEdit, L"ab")
        .Paste(kNarrowEdit, L"0123456789ABCDEF")
        .Check([](headless::Driver& d) { EXPECT_EQ(d.Text(kNarrowEdit), L"0123456789ABCDEF"); })
        .Paste(kLabel, L"x")
        .PressEscape();
    RunDialog();
    EXPECT_EQ(Only("EN_CHANGE narrow").size(), 3u);
    ASSERT_EQ(driver->Errors().size(), 1u) << "a static takes no paste";
    EXPECT_NE(driver->Errors()[0].find("no edit"), std::string::npos);
}

TEST_F(DialogTest, AutomaticCheckBoxTogglesThenNotifies) {
    driver->NextDialog(kTestDialog)
        .Tick(kCheck)
        .Check([](headless::Driver& d) { EXPECT_EQ(d.CheckState(kCheck), 1); })
        .Tick(kCheck)
        .Check([](headless::Driver& d) { EXPECT_EQ(d.CheckState(kCheck), 0); })
        .Tick(kCheck)
        .Click(IDOK);
    RunDialog();
    EXPECT_EQ(Only("BN_CLICKED").size(), 3u);
    EXPECT_EQ(TheLog().events.back(), "dialog 1 check 1");
}

TEST_F(DialogTest, ListNotifiesAPersonsSelectionOnly) {
    TheSettings().onInit = [](CDialog& d) {
        auto* list = dynamic_cast<CListBox*>(d.GetDlgItem(kList));
        ASSERT_NE(list, nullptr);
        list->SetCurSel(2);  // the program's selection: no notification
    };
    driver->NextDialog(kTestDialog)
        .Check([](headless::Driver& d) { EXPECT_EQ(d.ListSelection(kList), 2); })
        .SelectRow(kList, 0)
        .SelectRow(kList, 0)  // the same row again: no change, no notification
        .DoubleClickRow(kList, 1)
        .CancelSelection(kList)
        .Check([](headless::Driver& d) {
            EXPECT_EQ(d.ListSelection(kList), -1);
            EXPECT_EQ(d.ListRows(kList), (std::vector<std::wstring>{L"un", L"deux", L"trois"}));
        })
        .PressEscape();
    RunDialog();
    EXPECT_EQ(Only("LBN_"),
              (Events{"LBN_SELCHANGE 0", "LBN_SELCHANGE 1", "LBN_DBLCLK 1", "LBN_SELCANCEL"}));
}

TEST_F(DialogTest, ListRequestsKeepTheSelectionOnItsRow) {
    struct Case {
        const char* name;
        std::function<int(CListBox&)> request;
        int answer;
        std::vector<std::wstring> rows;
        int selection;
    };
    const std::vector<Case> cases = {
        {"add",
         [](CListBox& l) { return l.AddString(L"quatre"); },
         3,
         {L"un", L"deux", L"trois", L"quatre"},
         1},
        {"insert before",
         [](CListBox& l) { return l.InsertString(0, L"zéro"); },
         0,
         {L"zéro", L"un", L"deux", L"trois"},
         2},
        {"insert after",
         [](CListBox& l) { return l.InsertString(2, L"x"); },
         2,
         {L"un", L"deux", L"x", L"trois"},
         1},
        {"insert at end",
         [](CListBox& l) { return l.InsertString(-1, L"x"); },
         3,
         {L"un", L"deux", L"trois", L"x"},
         1},
        {"insert too far",
         [](CListBox& l) { return l.InsertString(5, L"x"); },
         LB_ERR,
         {L"un", L"deux", L"trois"},
         1},
        {"delete before", [](CListBox& l) { return l.DeleteString(0); }, 2, {L"deux", L"trois"}, 0},
        {"delete selected",
         [](CListBox& l) { return l.DeleteString(1); },
         2,
         {L"un", L"trois"},
         -1},
        {"delete missing",
         [](CListBox& l) { return l.DeleteString(3); },
         LB_ERR,
         {L"un", L"deux", L"trois"},
         1},
        {"clear selection",
         [](CListBox& l) { return l.SetCurSel(-1); },
         LB_ERR,
         {L"un", L"deux", L"trois"},
         -1},
        {"reset",
         [](CListBox& l) {
             l.ResetContent();
             return l.GetCount();
         },
         0,
         {},
         -1},
    };
    for (const Case& c : cases) {
        TheLog().Clear();
        TheSettings().onInit = [&c](CDialog& d) {
            auto* list = dynamic_cast<CListBox*>(d.GetDlgItem(kList));
            ASSERT_NE(list, nullptr);
            list->SetCurSel(1);
            EXPECT_EQ(c.request(*list), c.answer) << c.name;
        };
        driver->NextDialog(kTestDialog)
            .Check([&c](headless::Driver& d) {
                EXPECT_EQ(d.ListRows(kList), c.rows) << c.name;
                EXPECT_EQ(d.ListSelection(kList), c.selection) << c.name;
            })
            .PressEscape();
        RunDialog();
        EXPECT_TRUE(Only("LBN_").empty()) << c.name;
    }
}

// A row's pieces between tabs stand at the list's tab stops (6 pixels a character, 3 pixels
// for 2 dialog units); a list without tab expansion keeps its row whole.
TEST_F(DialogTest, TabStopsPlaceTheRowsPieces) {
    struct Case {
        const char* name;
        std::vector<int> stops;  // dialog units; none: the default
        std::vector<int> x;      // of the pieces of "abcd\tc\td\te"
    };
    const Case cases[] = {
        {"default: every 32 units", {}, {0, 48, 96, 144}},
        {"one stop: its multiples", {10}, {0, 30, 45, 60}},
        {"several, then every 32 units", {20, 24}, {0, 30, 48, 96}},
    };
    for (const Case& c : cases) {
        TheSettings().onInit = [&c](CDialog& d) {
            auto* list = dynamic_cast<CListBox*>(d.GetDlgItem(kList));
            ASSERT_NE(list, nullptr);
            EXPECT_FALSE(list->SetTabStops()) << "no tab expansion";
            EXPECT_EQ(framework::ListRowPieces(list->m_hWnd, L"a\tb").size(), 1u);
            list->m_hWnd->style |= LBS_USETABSTOPS;
            EXPECT_TRUE(list->SetTabStops(static_cast<int>(c.stops.size()), c.stops.data()));
            std::vector<int> x;
            for (const auto& piece : framework::ListRowPieces(list->m_hWnd, L"abcd\tc\td\te"))
                x.push_back(piece.x);
            EXPECT_EQ(x, c.x) << c.name;
        };
        driver->NextDialog(kTestDialog).PressEscape();
        RunDialog();
    }
}

TEST_F(DialogTest, EndingKeysAndCloseBox) {
    struct Case {
        const char* name;
        std::function<void(headless::DialogScript&)> end;
        int answer;
        const char* handler;
    };
    const std::vector<Case> cases = {
        {"Escape", [](headless::DialogScript& s) { s.PressEscape(); }, 0, "cancel"},
        {"close box", [](headless::DialogScript& s) { s.CloseBox(); }, 0, "cancel"},
        {"Alt+F4", [](headless::DialogScript& s) { s.PressKey(VK_F4, false, false, true); }, 0,
         "cancel"},
        {"Cancel button", [](headless::DialogScript& s) { s.Click(IDCANCEL); }, 0, "cancel"},
        {"Enter", [](headless::DialogScript& s) { s.PressEnter(); }, IDOK, "ok "},
        {"OK button", [](headless::DialogScript& s) { s.Click(IDOK); }, IDOK, "ok "},
    };
    for (const Case& c : cases) {
        TheLog().Clear();
        c.end(driver->NextDialog(kTestDialog).Type(kEdit, L"t"));
        EXPECT_EQ(RunDialog(), c.answer) << c.name;
        EXPECT_EQ(Only(c.handler).size(), 1u) << c.name;
    }
}

TEST_F(DialogTest, EnterGoesToTheDefaultButtonAndNotToADisabledOne) {
    driver->NextDialog(kTestDialog)
        .Click(kDisableOkButton)
        .Type(kEdit, L"x")
        .PressEnter()  // in the edit: OK is the default button and disabled, nothing happens
        .Check([](headless::Driver& d) {
            EXPECT_FALSE(d.IsEnabled(IDOK));
            EXPECT_EQ(d.ActiveDialogId(), static_cast<int>(kTestDialog));
        })
        .PressEscape();
    EXPECT_EQ(RunDialog(), 0);
    EXPECT_TRUE(Only("ok").empty());
}

// Keyboard focus

CWnd* Item(int id) {
    return CWnd::FromHandle(framework::FindDescendant(framework::ActiveWindow(), id));
}

std::pair<int, int> Selection(int id) {
    std::pair<int, int> sel;
    static_cast<CEdit*>(Item(id))->GetSel(sel.first, sel.second);
    return sel;
}

// The label is no tab stop; the disabled edit and the hidden check box are passed over. The
// keyboard's focus on an edit selects its whole text.
TEST_F(DialogTest, TabMovesOverTheTabStopsInTemplateOrderAndWraps) {
    TheSettings().initialText = L"abc";
    TheSettings().onInit = [](CDialog& d) {
        d.GetDlgItem(kNarrowEdit)->EnableWindow(FALSE);
        d.GetDlgItem(kCheck)->ShowWindow(SW_HIDE);
    };
    std::vector<int> forward, back;
    headless::DialogScript& script = driver->NextDialog(kTestDialog);
    script.Check([](headless::Driver&) { EXPECT_EQ(Selection(kEdit), std::make_pair(0, 3)); });
    for (int i = 0; i < 8; ++i)
        script.Check([&](headless::Driver& d) { forward.push_back(d.FocusedControl()); })
            .PressTab();
    for (int i = 0; i < 2; ++i)
        script.PressTab(true).Check(
            [&](headless::Driver& d) { back.push_back(d.FocusedControl()); });
    script.PressEscape();
    RunDialog();
    EXPECT_EQ(forward, (std::vector<int>{kEdit, kList, kNestedButton, kBoxButton, kDisableOkButton,
                                         IDOK, IDCANCEL, kEdit}));
    EXPECT_EQ(back, (std::vector<int>{kEdit, IDCANCEL}));
}

// Enter and Space press the focused button, again after the dialog or box it opened; elsewhere
// Enter goes to the default button and Space does nothing (a check box ticks).
TEST_F(DialogTest, EnterAndSpacePressTheFocusedButtonElseEnterTheDefault) {
    driver->NextDialog(kTestDialog)
        .Click(kNestedButton)
        .Check([](headless::Driver& d) {
            EXPECT_EQ(d.FocusedControl(), kNestedButton);
            EXPECT_EQ(d.DefaultButtonId(), kNestedButton);
        })
        .PressEnter()
        .PressTab()
        .PressSpace()
        .Type(kEdit, L"x")
        .Check([](headless::Driver& d) { EXPECT_EQ(d.DefaultButtonId(), IDOK); })
        .PressSpace()
        .PressTab()
        .PressTab()
        .PressSpace()
        .Check([](headless::Driver& d) {
            EXPECT_EQ(d.FocusedControl(), kCheck);
            EXPECT_EQ(d.DefaultButtonId(), IDOK);
        })
        .PressEnter();
    driver->NextDialog(kSmallDialog).PressEnter();
    driver->NextDialog(kSmallDialog).PressEnter();
    driver->AnswerMessageBox(IDNO);
    EXPECT_EQ(RunDialog(), IDOK);
    EXPECT_EQ(Only("nested"), (Events{"nested 1", "nested 1"}));
    EXPECT_EQ(Only("box"), Events{"box 7"});
    EXPECT_EQ(Only("BN_CLICKED"), Events{"BN_CLICKED check"});
    EXPECT_EQ(Only("ok"), Events{"ok x"});
}

TEST_F(DialogTest, FocusOnAControlThatIsDisabledOrHiddenMovesOn) {
    driver->NextDialog(kTestDialog)
        .PressTab(true)
        .PressTab(true)
        .Check([](headless::Driver& d) {
            ASSERT_EQ(d.FocusedControl(), IDOK);
            Item(IDOK)->EnableWindow(FALSE);
            EXPECT_EQ(d.FocusedControl(), IDCANCEL);
            Item(IDCANCEL)->ShowWindow(SW_HIDE);
            EXPECT_EQ(d.FocusedControl(), kEdit);
            EXPECT_EQ(Item(kList)->SetFocus(), Item(kEdit));
            EXPECT_EQ(CWnd::GetFocus(), Item(kList));
            Item(kNestedButton)->EnableWindow(FALSE);
            Item(kNestedButton)->SetFocus();
            EXPECT_EQ(d.FocusedControl(), kBoxButton);
            Item(IDCANCEL)->ShowWindow(SW_SHOW);
        })
        .PressEscape();
    EXPECT_EQ(RunDialog(), 0);
}

TEST_F(DialogTest, FirstFocusIsWhereOnInitDialogPutItWhenItAnswersFalse) {
    struct Case {
        const char* name;
        BOOL answer;
        std::function<void(CDialog&)> init;
        int focus;
    };
    const Case cases[] = {
        {"SetFocus, TRUE", TRUE, [](CDialog& d) { d.GetDlgItem(kList)->SetFocus(); }, kEdit},
        {"SetFocus, FALSE", FALSE, [](CDialog& d) { d.GetDlgItem(kList)->SetFocus(); }, kList},
        {"GotoDlgCtrl, FALSE", FALSE,
         [](CDialog& d) {
             d.SetDlgItemText(kNarrowEdit, L"xy");
             d.GotoDlgCtrl(d.GetDlgItem(kNarrowEdit));
         },
         kNarrowEdit},
    };
    for (const Case& c : cases) {
        TheSettings().initAnswer = c.answer;
        TheSettings().onInit = c.init;
        driver->NextDialog(kTestDialog)
            .Check([&c](headless::Driver& d) {
                EXPECT_EQ(d.FocusedControl(), c.focus) << c.name;
                // As Tab does, GotoDlgCtrl selects the edit's text.
                if (c.focus == kNarrowEdit) {
                    EXPECT_EQ(Selection(kNarrowEdit), std::make_pair(0, 2));
                }
            })
            .PressEscape();
        RunDialog();
    }
}

TEST_F(DialogTest, DoModalAnswersWhatEndDialogGot) {
    // A dialog with no OK button: Enter runs its default button 3 (its class written "BUTTON":
    // class names ignore case), Escape ends it with IDCANCEL.
    TheSettings().onInit = [](CDialog&) {
        TheLog().Add("calc dialog " + std::to_string(RunCalcDialog()));
    };
    driver->NextDialog(kCalcDialog).PressEnter().PressEnter().PressEscape();
    driver->NextDialog(kTestDialog).Click(IDOK);
    EXPECT_EQ(RunDialog(), IDOK);
    EXPECT_EQ(Only("calc"), (Events{"calc", "calc", "calc dialog 2"}));
}

TEST_F(DialogTest, NestedDialogsAndMessageBoxesTakeTheirTurnInTheQueue) {
    driver->NextDialog(kTestDialog)
        .Check([](headless::Driver& d) { EXPECT_FALSE(d.MainWindowEnabled()); })
        .Click(kNestedButton)
        .Click(kBoxButton)
        .Click(IDOK);
    driver->NextDialog(kSmallDialog)
        .Type(1100, L"x")
        .Check([](headless::Driver& d) {
            EXPECT_EQ(d.ActiveDialogId(), static_cast<int>(kSmallDialog));
            EXPECT_EQ(d.Caption(), L"Petit");
        })
        .PressEnter();
    driver->AnswerMessageBox(IDYES);
    EXPECT_EQ(RunDialog(), IDOK);
    EXPECT_EQ(Only("nested"), Events{"nested 1"});
    EXPECT_EQ(Only("box"), Events{"box 6"});
    ASSERT_EQ(driver->MessageBoxes().size(), 1u);
    EXPECT_EQ(driver->MessageBoxes()[0].text, L"Vraiment ?");
    // No caption of its own: the application's title.
    EXPECT_EQ(driver->MessageBoxes()[0].caption, L"Testeur");
    EXPECT_EQ(driver->MessageBoxes()[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(driver->DialogsOpened(), (std::vector<int>{kTestDialog, kSmallDialog}));
    EXPECT_TRUE(driver->MainWindowEnabled());
}

TEST_F(DialogTest, OwnerOfADialogWithoutParentIsTheMainWindow) {
    TheSettings().onInit = [](CDialog& d) {
        EXPECT_EQ(d.GetParent(), AfxGetMainWnd());
        EXPECT_EQ(d.GetParentFrame(), AfxGetMainWnd());
        EXPECT_EQ(d.GetDlgItem(kEdit)->GetParent(), &d);
        EXPECT_EQ(d.GetDlgItem(kEdit)->GetParentFrame(), AfxGetMainWnd());
    };
    driver->NextDialog(kTestDialog).Click(kNestedButton).PressEscape();
    driver->NextDialog(kSmallDialog)
        .Check([](headless::Driver& d) {
            // A dialog opened from a dialog belongs to that dialog.
            const auto modal = framework::ModalWindows();
            ASSERT_EQ(modal.size(), 2u);
            EXPECT_EQ(CWnd::FromHandle(modal[1])->GetParent()->m_hWnd, modal[0]);
            EXPECT_FALSE(CWnd::FromHandle(modal[0])->IsWindowEnabled());
            EXPECT_FALSE(d.MainWindowEnabled());
        })
        .PressEnter();
    RunDialog();
}

TEST_F(DialogTest, GeometryInDialogUnits) {
    driver->NextDialog(kTestDialog)
        .Check([](headless::Driver& d) {
            const CRect main = d.MainFrame() ? [&] {
                CRect r;
                d.MainFrame()->GetWindowRect(&r);
                return r;
            }()
                                             : CRect();
            // Client 200 x 120 units = 300 x 195 pixels; frame 3, caption 21.
            const CRect dialog = d.ActiveWindowRect();
            EXPECT_EQ(dialog.Width(), 300 + 6);
            EXPECT_EQ(dialog.Height(), 195 + 6 + 21);
            // At (10, 20) units from the owner's client area: the main frame has a sizing frame
            // of 4, a caption of 21 and a menu bar of 20.
            EXPECT_EQ(dialog.left, main.left + 4 + 15);
            EXPECT_EQ(dialog.top, main.top + 4 + 21 + 20 + 33);
            // OK at (80, 100), 50 x 14 units, inside the client area.
            const CRect ok = d.WindowRect(IDOK);
            EXPECT_EQ(ok.left - dialog.left, 3 + 120);
            EXPECT_EQ(ok.top - dialog.top, 24 + 163);
            EXPECT_EQ(ok.Width(), 75);
            EXPECT_EQ(ok.Height(), 23);
        })
        .PressEscape();
    RunDialog();
}

TEST_F(DialogTest, StaticIconTakesTheSizeOfItsIconAndAMissingIconFailsTheDialog) {
    TheSettings().onInit = [](CDialog&) {
        EXPECT_EQ(CDialog(kBrokenIconDialog).DoModal(), -1);
        CDialog withIcon(kIconDialog);
        EXPECT_EQ(withIcon.DoModal(), IDOK);
    };
    driver->NextDialog(kIconDialog)
        .Check([](headless::Driver& d) {
            const CRect icon = d.WindowRect(-1);
            const CRect dialog = d.ActiveWindowRect();
            EXPECT_EQ(icon.left - dialog.left, 3 + 17);
            EXPECT_EQ(icon.top - dialog.top, 24 + 28);
            EXPECT_EQ(icon.Size(), CSize(32, 32));
            EXPECT_EQ(d.Text(-1), L"128");
        })
        .PressEnter();
    driver->NextDialog(kTestDialog).PressEscape();
    RunDialog();
    EXPECT_EQ(driver->DialogsOpened(), (std::vector<int>{kIconDialog, kTestDialog}));
}

TEST_F(DialogTest, CentredDialogAndTheDesktop) {
    TheSettings().onInit = [](CDialog&) {
        CDialog centred(kCenteredDialog);
        centred.DoModal();
    };
    // The inner dialog runs from OnInitDialog: its loop starts first and takes the first script.
    driver->NextDialog(kCenteredDialog)
        .Check([](headless::Driver& d) {
            CRect owner;
            CWnd::FromHandle(framework::ModalWindows().front())->GetWindowRect(&owner);
            const CRect r = d.ActiveWindowRect();
            EXPECT_EQ(r.left, owner.left + (owner.Width() - r.Width()) / 2);
            EXPECT_EQ(r.top, owner.top + (owner.Height() - r.Height()) / 2);
            CRect desktop;
            CWnd::GetDesktopWindow()->GetWindowRect(&desktop);
            EXPECT_EQ(desktop, CRect(0, 0, 1920, 1080));
        })
        .PressEscape();
    driver->NextDialog(kTestDialog).PressEscape();
    RunDialog();
}

TEST_F(DialogTest, TimersAreDeliveredThroughTheModalLoop) {
    TheSettings().onInit = [](CDialog& d) { d.SetTimer(7, 100, nullptr); };
    driver->NextDialog(kTestDialog)
        .AdvanceClock(99)
        .Check([](headless::Driver&) { EXPECT_TRUE(Only("timer").empty()); })
        .AdvanceClock(1)
        .AdvanceClock(250)
        .Check([](headless::Driver& d) {
            EXPECT_EQ(Only("timer"), (Events{"timer 7", "timer 7", "timer 7"}));
            EXPECT_EQ(d.Now(), 350u);
            EXPECT_TRUE(d.ActiveDialogId() == static_cast<int>(kTestDialog));
        })
        .PressEscape();
    RunDialog();
    // The timer ended with its window.
    driver->AdvanceClock(1000);
    EXPECT_EQ(Only("timer").size(), 3u);
}

TEST_F(DialogTest, SettingATimerAgainRestartsItsPeriod) {
    TheSettings().onInit = [](CDialog& d) { d.SetTimer(7, 100, nullptr); };
    driver->NextDialog(kTestDialog)
        .AdvanceClock(80)
        .Check([](headless::Driver&) {
            CWnd* dialog = CWnd::FromHandle(framework::ActiveWindow());
            dialog->SetTimer(7, 100, nullptr);  // due at 180 now, not at 100
            EXPECT_FALSE(dialog->KillTimer(8));
        })
        .AdvanceClock(99)
        .Check([](headless::Driver&) { EXPECT_TRUE(Only("timer").empty()); })
        .AdvanceClock(1)
        .Check([](headless::Driver&) {
            EXPECT_EQ(Only("timer").size(), 1u);
            EXPECT_TRUE(CWnd::FromHandle(framework::ActiveWindow())->KillTimer(7));
        })
        .AdvanceClock(1000)
        .PressEscape();
    RunDialog();
    EXPECT_EQ(Only("timer").size(), 1u);
}

TEST_F(DialogTest, SplashEndsWithItsOwnTimerOnly) {
    TheSettings().showSplash = true;
    driver.reset();
    driver = std::make_unique<headless::Driver>();
    TheLog().Clear();
    driver->NextDialog(kSplashDialog)
        .AdvanceClock(2999)
        .Check([](headless::Driver& d) {
            // Timer 7 came twice and did not end it; the main window waits, disabled.
            EXPECT_EQ(Only("splash timer"), (Events{"splash timer 7", "splash timer 7"}));
            EXPECT_EQ(d.ActiveDialogId(), static_cast<int>(kSplashDialog));
            EXPECT_FALSE(d.MainWindowEnabled());
            EXPECT_TRUE(d.MainWindowVisible());
        })
        .AdvanceClock(1);
    ASSERT_TRUE(StartApp());
    // At 3000 ms both timers are due; the one set first comes first and ends the dialog.
    EXPECT_EQ(Only("splash "),
              (Events{"splash timer 7", "splash timer 7", "splash timer 1000", "splash 1"}));
    EXPECT_TRUE(driver->MainWindowEnabled());
}

TEST_F(DialogTest, SplashClosedByItsCloseBoxKillsItsTimer) {
    TheSettings().showSplash = true;
    driver.reset();
    driver = std::make_unique<headless::Driver>();
    TheLog().Clear();
    driver->NextDialog(kSplashDialog).AdvanceClock(500).CloseBox();
    ASSERT_TRUE(StartApp());
    // WM_CLOSE, then the platform's processing: the cancel command.
    EXPECT_EQ(Only("splash"), (Events{"splash close", "splash 2"}));
    driver->AdvanceClock(5000);
    EXPECT_TRUE(Only("splash timer").empty());
}

TEST_F(DialogTest, MouseReachesTheDialogThroughStaticsButNotThroughButtons) {
    // The label (10, 78 units = 15, 127 pixels) lets the mouse through; the OK button does not.
    driver->NextDialog(kTestDialog)
        .MouseMove(CPoint(20, 130))
        .MouseDown(CPoint(21, 131))
        .MouseMove(CPoint(22, 132))
        .MouseUp(CPoint(23, 133))
        .MouseMove(CPoint(130, 170))  // over OK
        .MouseMove(CPoint(5000, 5))   // outside the client area
        .PressEscape();
    RunDialog();
    EXPECT_EQ(EventsFrom("move"), (Events{"move 20,130", "down 21,131", "move 22,132 down",
                                          "up 23,133", "cancel", "dialog 0 check 0"}));
}

// From a press to its release the dialog holds the capture: the mouse reaches it outside its
// client area and over its buttons; after the release it no longer does.
TEST_F(DialogTest, CaptureTakesTheMouseFromAPressToItsRelease) {
    driver->NextDialog(kTestDialog)
        .MouseDown(CPoint(20, 130))
        .MouseMove(CPoint(-40, 500))
        .MouseMove(CPoint(130, 170))  // over OK
        .MouseUp(CPoint(5000, 5))
        .MouseMove(CPoint(5000, 6))
        .MouseMove(CPoint(130, 171))
        .MouseDown(CPoint(21, 131))
        .PressEscape();
    RunDialog();
    Events mouse;
    for (const std::string& e : TheLog().events)
        if (e.rfind("move", 0) == 0 || e.rfind("down", 0) == 0 || e.rfind("up", 0) == 0)
            mouse.push_back(e);
    EXPECT_EQ(mouse, (Events{"down 20,130", "move -40,500 down", "move 130,170 down", "up 5000,5",
                             "down 21,131"}));
    EXPECT_EQ(CWnd::GetCapture(), nullptr) << "the capture goes with its window";
}

TEST_F(DialogTest, PaintOfADialogIsRecorded) {
    driver->NextDialog(kTestDialog).PressEscape();
    RunDialog();
    const headless::PaintLog* paint = driver->LastPaint(kTestDialog);
    ASSERT_NE(paint, nullptr);
    ASSERT_EQ(paint->ops.size(), 2u);
    EXPECT_EQ(paint->Lines(), (std::vector<CRect>{CRect(1, 2, 30, 40)}));
    EXPECT_EQ(paint->ops[1].kind, headless::DrawOp::kInvert);
    EXPECT_EQ(paint->size, CSize(300, 195));
}

TEST_F(DialogTest, PaintThatMovesTheDialogWhereItIsPaintsOnce) {
    driver->NextDialog(kTestDialog)
        .Check([](headless::Driver&) {})
        .Check([](headless::Driver&) {})
        .Check([](headless::Driver&) { EXPECT_EQ(Only("paint dialog").size(), 1u); })
        .PressEscape();
    RunDialog();
}

TEST_F(DialogTest, MovingAControlRepaintsAndResizingTellsIt) {
    TheSettings().onInit = [](CDialog& d) {
        CWnd* label = d.GetDlgItem(kLabel);
        label->MoveWindow(1, 2, 30, 40);
        CRect r;
        label->GetWindowRect(&r);
        d.ScreenToClient(&r);
        EXPECT_EQ(r, CRect(1, 2, 31, 42));
        CRect client;
        label->GetClientRect(&client);
        EXPECT_EQ(client, CRect(0, 0, 30, 40));
        // The dialog itself: a new size reaches it as WM_SIZE, through which it is repainted.
        CRect dialog;
        d.GetWindowRect(&dialog);
        d.MoveWindow(dialog.left, dialog.top, dialog.Width() + 10, dialog.Height());
    };
    driver->NextDialog(kTestDialog)
        .Check([](headless::Driver& d) { EXPECT_EQ(d.ActiveWindowRect().Width(), 316); })
        .PressEscape();
    RunDialog();
}

// The driver's checks

TEST_F(DialogTest, ScriptThatRunsOutEndsTheDialogWithAnError) {
    expectErrors = true;
    driver->NextDialog(kTestDialog).Type(kEdit, L"x");
    EXPECT_EQ(RunDialog(), IDABORT);
    ASSERT_EQ(driver->Errors().size(), 1u);
    EXPECT_NE(driver->Errors()[0].find("ran out"), std::string::npos);
}

TEST_F(DialogTest, DialogWithoutScriptOrWithAnotherScriptIsAnError) {
    expectErrors = true;
    EXPECT_EQ(RunDialog(), IDABORT);
    driver->NextDialog(kSmallDialog).PressEnter();
    EXPECT_EQ(RunDialog(), IDABORT);
    driver->AnswerMessageBox(IDOK);
    EXPECT_EQ(RunDialog(), IDABORT);
    EXPECT_EQ(driver->Errors().size(), 3u);
}

TEST_F(DialogTest, ActionsAPersonCannotDoAreErrors) {
    expectErrors = true;
    TheSettings().onInit = [](CDialog& d) {
        d.GetDlgItem(kEdit)->EnableWindow(FALSE);
        d.GetDlgItem(kCheck)->ShowWindow(SW_HIDE);
    };
    driver->NextDialog(kTestDialog)
        .Type(kEdit, L"x")
        .Tick(kCheck)
        .Click(4242)
        .SelectRow(kList, 7)
        .Check([](headless::Driver& d) {
            EXPECT_FALSE(d.IsEnabled(kEdit));
            EXPECT_FALSE(d.IsVisible(kCheck));
            EXPECT_TRUE(d.IsVisible(kEdit));
        })
        .PressEscape()
        .Click(IDOK);
    RunDialog();
    EXPECT_EQ(driver->Errors().size(), 5u);
    EXPECT_TRUE(Only("EN_").empty());
    EXPECT_TRUE(Only("BN_").empty());
}

TEST_F(DialogTest, UnansweredMessageBoxIsAnErrorAndCancels) {
    expectErrors = true;
    driver->NextDialog(kTestDialog).Click(kBoxButton).PressEscape();
    RunDialog();
    EXPECT_EQ(Only("box"), Events{"box 7"});  // IDNO: the safe answer of a yes/no box
    EXPECT_EQ(driver->Errors().size(), 1u);
}

}  // namespace
}  // namespace fwtest
