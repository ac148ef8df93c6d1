// The commands that open the entry dialogs: the modified flag only after OK, the panes always.
#include <gtest/gtest.h>

#include <functional>

#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

struct EntryCommand {
    const char* name;
    UINT id;
    int dialog;
    // An OK that changes the document and clears the fit.
    std::function<void(headless::DialogScript&)> change;
};

const EntryCommand kCommands[] = {
    {"function", ID_ENTER_FUNCTION, IDD_ENTER_FUNCTION,
     [](headless::DialogScript& s) { s.Type(IDC_FUNCTION_TEXT, L"A*X").Click(IDOK); }},
    {"coefficients", ID_ENTER_COEF, IDD_ENTER_COEF,
     [](headless::DialogScript& s) { s.Type(IDC_COEF_VALUE_A, L"3").Click(IDOK); }},
    {"point table", ID_ENTER_TABLE, IDD_ENTER_TABLE,
     [](headless::DialogScript& s) { s.Click(IDC_TABLE_LOG_X).Click(IDOK); }},
};

class EntryCommandsTest : public KurvomatSession {
  protected:
    // A document with points, a function and a fit, as opened from its file.
    void OpenFittedDocument() {
        const std::wstring path = WriteDocument("fitted.gen", [](FitData& data) {
            SetFunction(data, "A*X+B", {2.0, 1.0});
            SetPoints(data, {1, 2, 3}, {3, 5, 7});
            data.fitDone = 1;
            data.fitDistance = 0.25;
        });
        ASSERT_TRUE(Restart(path));
        ASSERT_EQ(Driver().StatusPane(4), L"DIST");
        ASSERT_FALSE(Document().IsModified());
    }
};

// Cancel leaves the document unmodified but still refreshes the panes: a fit flag cleared
// behind the view's back darkens DIST.
TEST_F(EntryCommandsTest, CancelRefreshesThePanesOnly) {
    for (const EntryCommand& command : kCommands) {
        SCOPED_TRACE(command.name);
        OpenFittedDocument();
        Data().fitDone = 0;
        Driver().NextDialog(command.dialog).Click(IDCANCEL);
        ASSERT_TRUE(Driver().ChooseMenu(command.id));
        EXPECT_FALSE(Document().IsModified());
        EXPECT_EQ(Driver().StatusPane(4), L"");
        EXPECT_EQ(Driver().StatusPane(2), L"FCT");
        EXPECT_EQ(ScriptErrors(), "");
        EXPECT_EQ(Driver().PendingAnswers(), 0u);
    }
}

// OK marks the document modified even when nothing changed; the fit then stands.
TEST_F(EntryCommandsTest, UnchangedOkMarksTheDocumentAndKeepsTheFit) {
    for (const EntryCommand& command : kCommands) {
        SCOPED_TRACE(command.name);
        OpenFittedDocument();
        Driver().NextDialog(command.dialog).PressEnter();
        ASSERT_TRUE(Driver().ChooseMenu(command.id));
        EXPECT_TRUE(Document().IsModified());
        EXPECT_EQ(Data().fitDone, 1);
        EXPECT_EQ(Driver().StatusPane(4), L"DIST");
        EXPECT_EQ(ScriptErrors(), "");
        EXPECT_EQ(Driver().PendingAnswers(), 0u);
    }
}

TEST_F(EntryCommandsTest, ChangingOkClearsTheFitAndDarkensDist) {
    for (const EntryCommand& command : kCommands) {
        SCOPED_TRACE(command.name);
        OpenFittedDocument();
        command.change(Driver().NextDialog(command.dialog));
        ASSERT_TRUE(Driver().ChooseMenu(command.id));
        EXPECT_TRUE(Document().IsModified());
        EXPECT_EQ(Data().fitDone, 0);
        EXPECT_EQ(Driver().StatusPane(4), L"");
        EXPECT_EQ(ScriptErrors(), "");
        EXPECT_EQ(Driver().PendingAnswers(), 0u);
    }
}

// Enter presses the focused button: after RAZ and Tab it cancels, on Effacer it asks first, and
// after Insérer it inserts again. None of them stores anything.
TEST_F(EntryCommandsTest, EnterPressesTheFocusedButton) {
    struct Case {
        const char* name;
        UINT command;
        std::function<void(headless::Driver&)> script;
    };
    const Case cases[] = {
        {"RAZ, Tab, Enter", ID_ENTER_COEF,
         [](headless::Driver& d) {
             d.NextDialog(IDD_ENTER_COEF)
                 .Click(IDC_COEF_RAZ)
                 .PressTab()
                 .Check([](headless::Driver& in) { EXPECT_EQ(in.FocusedControl(), IDCANCEL); })
                 .PressEnter();
         }},
        {"Effacer, Enter", ID_ENTER_TABLE,
         [](headless::Driver& d) {
             d.NextDialog(IDD_ENTER_TABLE)
                 .PressTab()
                 .PressTab()
                 .Check(
                     [](headless::Driver& in) { EXPECT_EQ(in.FocusedControl(), IDC_TABLE_CLEAR); })
                 .PressEnter()
                 .Check([](headless::Driver& in) {
                     ASSERT_EQ(in.MessageBoxes().size(), 1u);
                     EXPECT_EQ(in.MessageBoxes()[0].text,
                               L"Voulez vous réellement effacer tous les points ?");
                     EXPECT_EQ(in.ListRows(IDC_TABLE_LIST).size(), 3u);
                 })
                 .PressEscape();
             d.AnswerMessageBox(IDNO);
         }},
        {"Insérer, Enter", ID_ENTER_TABLE,
         [](headless::Driver& d) {
             d.NextDialog(IDD_ENTER_TABLE)
                 .Click(IDC_TABLE_INSERT)
                 .Check([](headless::Driver& in) {
                     EXPECT_EQ(in.ListRows(IDC_TABLE_LIST).size(), 4u);
                     EXPECT_EQ(in.FocusedControl(), IDC_TABLE_INSERT);
                 })
                 .PressEnter()
                 .Check([](headless::Driver& in) {
                     EXPECT_EQ(in.ActiveDialogId(), static_cast<int>(IDD_ENTER_TABLE));
                 })
                 .PressEscape();
             d.NextDialog(IDD_ENTER_POINT)
                 .Type(IDC_POINT_X, L"4")
                 .Type(IDC_POINT_Y, L"9")
                 .PressEnter();
             d.NextDialog(IDD_ENTER_POINT).PressEscape();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenFittedDocument();
        c.script(Driver());
        ASSERT_TRUE(Driver().ChooseMenu(c.command));
        EXPECT_FALSE(Document().IsModified());
        EXPECT_EQ(Data().fitDone, 1);
        EXPECT_EQ(Data().function.coef[0], 2.0);
        EXPECT_EQ(Data().function.coef[1], 1.0);
        EXPECT_EQ(Data().nPoints, 3);
        EXPECT_EQ(ScriptErrors(), "");
        EXPECT_EQ(Driver().PendingAnswers(), 0u);
    }
}

// On a new document the first function lights FCT and COEF and opens the coefficient command.
TEST_F(EntryCommandsTest, FirstFunctionLightsItsPanes) {
    ASSERT_TRUE(Start());
    headless::Driver& d = Driver();
    ASSERT_FALSE(d.IsMenuItemEnabled(ID_ENTER_COEF));
    d.NextDialog(IDD_ENTER_FUNCTION).Type(IDC_FUNCTION_TEXT, L"a*exp(b*x)").PressEnter();
    ASSERT_TRUE(d.ChooseMenu(ID_ENTER_FUNCTION));
    EXPECT_EQ(Data().function.functionText, "A*EXP(B*X)");
    EXPECT_EQ(d.StatusPane(2), L"FCT");
    EXPECT_EQ(d.StatusPane(3), L"COEF");
    EXPECT_TRUE(Document().IsModified());
    EXPECT_TRUE(d.IsMenuItemEnabled(ID_ENTER_COEF));
    EXPECT_EQ(ScriptErrors(), "");
}

// On a new document the first point lights PTS.
TEST_F(EntryCommandsTest, FirstPointLightsPts) {
    ASSERT_TRUE(Start());
    headless::Driver& d = Driver();
    ASSERT_EQ(d.StatusPane(1), L"");
    d.NextDialog(IDD_ENTER_TABLE).Click(IDC_TABLE_INSERT).Click(IDOK);
    d.NextDialog(IDD_ENTER_POINT).Type(IDC_POINT_X, L"1.5").Type(IDC_POINT_Y, L"-2").Click(IDOK);
    ASSERT_TRUE(d.ChooseMenu(ID_ENTER_TABLE));
    EXPECT_EQ(Data().hasPoints, 1);
    EXPECT_EQ(Data().nPoints, 1);
    EXPECT_EQ(Data().pointX[0], 1.5);
    EXPECT_EQ(Data().pointY[0], -2.0);
    EXPECT_EQ(d.StatusPane(1), L"PTS");
    EXPECT_TRUE(Document().IsModified());
    EXPECT_TRUE(d.IsMenuItemEnabled(ID_SAVE_POINTS));
    EXPECT_EQ(ScriptErrors(), "");
}

// "Modifier" and OK without an edit keep the point to the bit, and with it the fit: the dialog
// shows 12345678.9 as 1.234568e+07 but does not read that back.
TEST_F(EntryCommandsTest, UntouchedPointKeepsItsValueAndTheFit) {
    OpenFittedDocument();
    Data().pointX[1] = 12345678.9;
    Data().pointY[1] = -0.00001234567;
    headless::Driver& d = Driver();
    d.NextDialog(IDD_ENTER_TABLE).SelectRow(IDC_TABLE_LIST, 1).Click(IDC_TABLE_MODIFY).Click(IDOK);
    d.NextDialog(IDD_ENTER_POINT)
        .Check([](headless::Driver& in) { EXPECT_EQ(in.Text(IDC_POINT_X), L"01.234568e+07"); })
        .PressEnter();
    ASSERT_TRUE(d.ChooseMenu(ID_ENTER_TABLE));
    EXPECT_EQ(Data().pointX[1], 12345678.9);
    EXPECT_EQ(Data().pointY[1], -0.00001234567);
    EXPECT_EQ(Data().fitDone, 1);
    EXPECT_EQ(d.StatusPane(4), L"DIST");
    EXPECT_EQ(ScriptErrors(), "");
}

}  // namespace
