// The view's commands of the calculation dialog and the differential-equation form: the mode
// each opens, the modified flag and the panes afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

class CalcCommandsTest : public KurvomatSession {
  protected:
    // Starts on a document with f = 3X, three points and a fit result.
    void StartWithFit() {
        const std::wstring path = WriteDocument("calc.gen", [](FitData& data) {
            SetFunction(data, "A*X", {3.0});
            SetPoints(data, {1, 2, 3}, {3, 6, 9});
            data.fitDone = 1;
            data.fitDistance = 0.0;
        });
        ASSERT_TRUE(Restart(path));
        ASSERT_EQ(Driver().StatusPane(4), L"DIST");
    }

    void ExpectNoScriptLeft() {
        EXPECT_EQ(ScriptErrors(), "");
        EXPECT_EQ(Driver().PendingAnswers(), 0u);
    }
};

// Each command reaches the document's function; the dialog marks nothing and touches no pane.
TEST_F(CalcCommandsTest, CalculationsRunOnTheDocumentAndChangeNothing) {
    StartWithFit();
    struct Case {
        UINT id;
        std::vector<std::wstring> inputs;
        const wchar_t* line;
    };
    const Case cases[] = {
        {ID_CALC_FX, {L"2"}, L"F(000002.000000)=000006.000000"},
        {ID_CALC_DERIVATIVE, {L"2"}, L"La dérivée de F en 000002.000000 est 000003.000000"},
        {ID_CALC_INTEGRAL,
         {L"2", L"4"},
         L"L'intégrale de F de 000002.000000 à 000004.000000 est 000018.000000"},
        {ID_SOLVE_BISECTION, {L"2", L"4", L"9"}, L"F(000003.000000)=000009.000000"},
        {ID_SOLVE_NEWTON, {L"2", L"9"}, L"F(000003.000000)=000009.000000"},
    };
    const int inputIds[] = {IDC_CALC_INPUT1, IDC_CALC_INPUT2, IDC_CALC_INPUT3};
    headless::Driver& d = Driver();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        headless::DialogScript& s = d.NextDialog(IDD_CALC_F);
        for (size_t i = 0; i < c.inputs.size(); ++i) s.Type(inputIds[i], c.inputs[i]);
        s.Click(IDC_CALC_CALCULER)
            .Check([&](headless::Driver& in) { EXPECT_EQ(in.Text(IDC_CALC_RESULT), c.line); })
            .Click(IDCANCEL);
        ASSERT_TRUE(d.ChooseMenu(c.id));
        EXPECT_EQ(d.ActiveDialogId(), 0);
    }
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(d.StatusPane(4), L"DIST");
    EXPECT_EQ(Data().fitDone, 1);
    EXPECT_EQ(Data().nPoints, 3);
    ExpectNoScriptLeft();
}

// OK replaces the points: the document is modified, PTS lit, DIST dark with the old fit gone.
TEST_F(CalcCommandsTest, EquationOkMarksTheDocumentAndRefreshesThePanes) {
    StartWithFit();
    headless::Driver& d = Driver();
    d.NextDialog(IDD_EQU_DIFF)
        .Type(IDC_EQU_EQUATION, L"Y")
        .Type(IDC_EQU_X_START, L"0")
        .Type(IDC_EQU_X_END, L"1")
        .Type(IDC_EQU_POINTS, L"4")
        .Type(IDC_EQU_FINESSE, L"5")
        .Type(IDC_EQU_Y0, L"1")
        .Click(IDOK);
    d.AnswerMessageBox(IDYES);
    ASSERT_TRUE(d.ChooseMenu(ID_ODE_1));
    EXPECT_TRUE(Document().IsModified());
    EXPECT_EQ(Data().nPoints, 5);
    EXPECT_EQ(Data().fitDone, 0);
    EXPECT_EQ(d.StatusPane(1), L"PTS");
    EXPECT_EQ(d.StatusPane(4), L"");
    ExpectNoScriptLeft();
}

// Cancel stores nothing and leaves the document unmarked; the point panes are refreshed all the
// same.
TEST_F(CalcCommandsTest, EquationCancelStillRefreshesThePointPanes) {
    StartWithFit();
    headless::Driver& d = Driver();
    bool byHand = false;
    for (UINT id : {ID_ODE_1, ID_ODE_2, ID_ODE_N}) {
        SCOPED_TRACE(id);
        byHand = !byHand;
        Data().scale.autoScale = byHand ? 0 : 1;  // changed behind the panes' back
        d.NextDialog(IDD_EQU_DIFF).PressEscape();
        ASSERT_TRUE(d.ChooseMenu(id));
        EXPECT_FALSE(Document().IsModified());
        EXPECT_EQ(d.StatusPane(5), byHand ? L"ECH" : L"");
        EXPECT_EQ(d.StatusPane(4), L"DIST");
        EXPECT_EQ(Data().nPoints, 3);
    }
    ExpectNoScriptLeft();
}

}  // namespace
