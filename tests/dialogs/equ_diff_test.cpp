// The differential-equation form: opening by mode, the rows that follow the order, the checks and
// their messages in order, and OK with its question, its integration and its failures.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/equ_diff.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

// Edits of the initial values y .. y(5), and the labels of their rows.
const int kRowLabels[] = {IDC_EQU_Y0_LABEL,     IDC_EQU_Y1_LABEL,     IDC_EQU_Y2_LABEL,
                          IDC_EQU_Y2_LABEL + 1, IDC_EQU_Y2_LABEL + 2, IDC_EQU_Y2_LABEL + 3};
// Every field but the order.
const int kFields[] = {IDC_EQU_EQUATION, IDC_EQU_X_START, IDC_EQU_X_END,  IDC_EQU_POINTS,
                       IDC_EQU_FINESSE,  IDC_EQU_SHOWN,   IDC_EQU_Y0,     IDC_EQU_Y0 + 1,
                       IDC_EQU_Y0 + 2,   IDC_EQU_Y0 + 3,  IDC_EQU_Y0 + 4, IDC_EQU_Y0 + 5};

const wchar_t* const kQuestion =
    L"Vous allez effacer les anciens points\net l'ancien calcul, confirmez vous ?";

class EquDiffTest : public DialogSession {
  protected:
    // Runs the form in `mode` with `script`; answers what DoModal answered. The script ends the
    // form itself.
    INT_PTR Run(int mode, const std::function<void(headless::DialogScript&)>& script,
                const std::vector<int>& answers = {}) {
        CEquDiff form(data_.get(), mode);
        script(Driver().NextDialog(IDD_EQU_DIFF));
        for (int answer : answers) Driver().AnswerMessageBox(answer);
        const INT_PTR result = form.DoModal();
        EXPECT_EQ(ScriptErrors(), "");
        EXPECT_EQ(Driver().PendingAnswers(), 0u);
        return result;
    }

    // The last message box shown, with the information icon.
    static std::wstring LastInformation(headless::Driver& in) {
        if (in.MessageBoxes().empty()) return L"(none)";
        const headless::MessageBoxRecord& box = in.MessageBoxes().back();
        EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONINFORMATION));
        return box.text;
    }
};

// A valid first-order form on [0, 1]: 10 points of 10 steps, y(0) = 1.
void FillFirstOrder(headless::DialogScript& s, const std::wstring& equation) {
    s.Type(IDC_EQU_EQUATION, equation)
        .Type(IDC_EQU_X_START, L"0")
        .Type(IDC_EQU_X_END, L"1")
        .Type(IDC_EQU_POINTS, L"10")
        .Type(IDC_EQU_FINESSE, L"10")
        .Type(IDC_EQU_Y0, L"1");
}

struct OpeningCase {
    int mode;
    const wchar_t* caption;
    const wchar_t* order;
    bool orderShown;
    bool shownEnabled;  // Ordre Visualisé
    const wchar_t* label;
    const wchar_t* hint;
    int rows;
    const wchar_t* firstFault;
};

TEST_F(EquDiffTest, OpensByModeOnANewDocument) {
    const OpeningCase cases[] = {
        {220, L"Equation Différentielle du Premier Ordre", L"1", false, false, L"Y'=",
         L"(avec Y=A)", 1, L"Equation Vide"},
        {221, L"Equation Différentielle du Second Ordre", L"2", false, true, L"Y\"=",
         L"(avec Y=A,Y'=B)", 2, L"Equation Vide"},
        // No equation stored: order 0, every field but the order disabled, every row shown, the
        // label and hint as built.
        {222, L"Equation Différentielle du Nième Ordre", L"0", true, false, L"Y'=", L"", 6,
         L"Ordre trop petit ou trop grand"},
    };
    for (const OpeningCase& c : cases) {
        SCOPED_TRACE(c.mode);
        const INT_PTR result =
            Run(c.mode,
                [&](headless::DialogScript& s) {
                    s.Check([&](headless::Driver& in) {
                         EXPECT_EQ(in.Caption(), c.caption);
                         EXPECT_EQ(in.Text(IDC_EQU_ORDER), c.order);
                         EXPECT_EQ(in.IsVisible(IDC_EQU_ORDER), c.orderShown);
                         EXPECT_EQ(in.IsVisible(IDC_EQU_ORDER_LABEL), c.orderShown);
                         EXPECT_EQ(in.Text(IDC_EQU_EQUATION_LABEL), c.label);
                         EXPECT_EQ(in.Text(IDC_EQU_HINT), c.hint);
                         for (int k = 0; k < 6; ++k) {
                             EXPECT_EQ(in.IsVisible(IDC_EQU_Y0 + k), k < c.rows) << "row " << k;
                             EXPECT_EQ(in.IsVisible(kRowLabels[k]), k < c.rows) << "row " << k;
                             EXPECT_EQ(in.Text(IDC_EQU_Y0 + k), L"");
                         }
                         EXPECT_EQ(in.Text(IDC_EQU_SHOWN), L"0");
                         EXPECT_EQ(in.IsEnabled(IDC_EQU_SHOWN), c.shownEnabled);
                         EXPECT_EQ(in.IsEnabled(IDC_EQU_EQUATION), c.mode != 222);
                         EXPECT_FALSE(in.IsEnabled(IDOK));
                         EXPECT_TRUE(in.IsEnabled(IDC_EQU_EXPLAIN));
                     })
                        .Click(IDC_EQU_EXPLAIN)
                        .Check([&](headless::Driver& in) {
                            EXPECT_EQ(LastInformation(in), c.firstFault);
                        })
                        .PressTab()    // round to the first field
                        .PressEnter()  // OK is the default button, disabled: nothing happens
                        .Check([](headless::Driver& in) {
                            EXPECT_EQ(in.ActiveDialogId(), IDD_EQU_DIFF);
                        })
                        .PressEscape();
                },
                {IDOK});
        EXPECT_EQ(result, IDCANCEL);
    }
}

TEST_F(EquDiffTest, StoredEquationRestoredByMode) {
    ASSERT_TRUE(data_->equation.SetA(2, "-A"));
    struct Case {
        int mode;
        const wchar_t* order;
        const wchar_t* equation;
    };
    const Case cases[] = {{220, L"1", L""}, {221, L"2", L"-A"}, {222, L"2", L"-A"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Run(c.mode, [&](headless::DialogScript& s) {
            s.Check([&](headless::Driver& in) {
                 EXPECT_EQ(in.Text(IDC_EQU_ORDER), c.order);
                 EXPECT_EQ(in.Text(IDC_EQU_EQUATION), c.equation);
                 EXPECT_EQ(in.Text(IDC_EQU_EQUATION_LABEL),
                           c.order == std::wstring(L"2") ? L"Y\"=" : L"Y'=");
             }).Click(IDCANCEL);
        });
    }
}

TEST_F(EquDiffTest, LabelHintAndRowsFollowTheOrder) {
    struct Case {
        const wchar_t* order;
        const wchar_t* label;
        const wchar_t* hint;
    };
    const Case cases[] = {
        {L"1", L"Y'=", L"(avec Y=A)"},
        {L"2", L"Y\"=", L"(avec Y=A,Y'=B)"},
        {L"3", L"Y3=", L"(avec Y=A,Y'=B,Y\"=C)"},
        {L"4", L"Y4=", L"(avec Y=A,Y'=B,Y\"=C, ...)"},
        {L"5", L"Y5=", L"(avec Y=A,Y'=B,Y\"=C, ...)"},
        {L"6", L"Y6=", L"(avec Y=A,Y'=B,Y\"=C, ...)"},
    };
    Run(ID_ODE_N, [&](headless::DialogScript& s) {
        for (const Case& c : cases) {
            const int order = c.order[0] - L'0';
            s.Type(IDC_EQU_ORDER, c.order).Check([&c, order](headless::Driver& in) {
                SCOPED_TRACE(order);
                EXPECT_EQ(in.Text(IDC_EQU_EQUATION_LABEL), c.label);
                EXPECT_EQ(in.Text(IDC_EQU_HINT), c.hint);
                for (int k = 0; k < 6; ++k) {
                    EXPECT_EQ(in.IsVisible(IDC_EQU_Y0 + k), k < order) << "row " << k;
                    EXPECT_EQ(in.IsVisible(kRowLabels[k]), k < order) << "row " << k;
                }
                EXPECT_EQ(in.IsEnabled(IDC_EQU_SHOWN), order > 1);
                EXPECT_TRUE(in.IsEnabled(IDC_EQU_EQUATION));
            });
        }
        // Out of range: every row shown, every field but the order disabled, the texts kept.
        s.Type(IDC_EQU_ORDER, L"7").Check([](headless::Driver& in) {
            EXPECT_EQ(in.Text(IDC_EQU_EQUATION_LABEL), L"Y6=");
            for (int id : kFields) {
                EXPECT_FALSE(in.IsEnabled(id)) << id;
                EXPECT_TRUE(in.IsVisible(id)) << id;
            }
            EXPECT_FALSE(in.IsEnabled(IDOK));
            EXPECT_TRUE(in.IsEnabled(IDC_EQU_EXPLAIN));
            EXPECT_TRUE(in.IsEnabled(IDC_EQU_ORDER));
            EXPECT_TRUE(in.IsEnabled(IDCANCEL));
        });
        s.Click(IDCANCEL);
    });
}

// Each check in turn, each failure told by "?"; with all passed OK takes over.
TEST_F(EquDiffTest, ChecksInOrderWithTheirMessages) {
    struct Step {
        int id;
        std::wstring text;
        std::wstring fault;  // "" once every field is valid
    };
    const std::vector<Step> steps = {
        {IDC_EQU_ORDER, L"x", L"Ordre Incorrect"},
        {IDC_EQU_ORDER, L"2x", L"Ordre Incorrect"},
        {IDC_EQU_ORDER, L"2 x", L"Ordre Incorrect"},
        {IDC_EQU_ORDER, L"4294967297", L"Ordre trop petit ou trop grand"},  // no wrap to 1
        {IDC_EQU_ORDER, L"7", L"Ordre trop petit ou trop grand"},
        {IDC_EQU_ORDER, L" 6 ", L"Equation Vide"},
        {IDC_EQU_EQUATION, std::wstring(255, L'A'), L"Equation trop grande"},
        {IDC_EQU_EQUATION, L"A)", L"Erreur Equation : Erreur de Syntaxe Generale"},
        {IDC_EQU_EQUATION, L"-A", L"XDébut Incorrect"},
        {IDC_EQU_X_START, L"0 x", L"XDébut Incorrect"},
        {IDC_EQU_X_START, L"0,5 x", L"XDébut Incorrect"},
        {IDC_EQU_X_START, L"0", L"XFin Incorrect"},
        {IDC_EQU_X_END, L"nan", L"XFin Incorrect"},
        {IDC_EQU_X_END, L"-0,5", L"XFin <= XDébut"},  // a decimal comma reads
        {IDC_EQU_X_END, L"0", L"XFin <= XDébut"},
        {IDC_EQU_X_END, L"1", L"Nombre de Points Incorrect"},
        {IDC_EQU_POINTS, L"1", L"Nombre de Points trop petit ou trop grand"},
        {IDC_EQU_POINTS, L"99", L"Nombre de Points trop petit ou trop grand"},
        {IDC_EQU_POINTS, L"4294967298", L"Nombre de Points trop petit ou trop grand"},
        {IDC_EQU_POINTS, L"10", L"Finesse Incorrect"},
        {IDC_EQU_FINESSE, L"0", L"Finesse trop petite ou trop grande"},
        {IDC_EQU_FINESSE, L"500", L"Finesse trop petite ou trop grande"},
        {IDC_EQU_FINESSE, L"10", L"Y5(XDébut) Incorrect"},
        {IDC_EQU_SHOWN, L"a", L"Ordre Visualisé Incorrect"},
        {IDC_EQU_SHOWN, L"6", L"Ordre Visualisé trop petit ou trop grand"},
        {IDC_EQU_SHOWN, L"-1", L"Ordre Visualisé trop petit ou trop grand"},
        {IDC_EQU_SHOWN, L"5", L"Y5(XDébut) Incorrect"},
        {IDC_EQU_Y0 + 5, L"1e999", L"Y5(XDébut) Incorrect"},
        {IDC_EQU_Y0 + 5, L"0", L"Y4(XDébut) Incorrect"},
        {IDC_EQU_Y0 + 4, L"0", L"Y3(XDébut) Incorrect"},
        {IDC_EQU_Y0 + 3, L"0", L"Y\"(XDébut) Incorrect"},
        {IDC_EQU_Y0 + 2, L"0", L"Y'(XDébut) Incorrect"},
        {IDC_EQU_Y0 + 1, L"0", L"Y(XDébut) Incorrect"},
        {IDC_EQU_Y0, L"1", L""},
    };
    std::vector<int> answers;
    for (const Step& step : steps)
        if (!step.fault.empty()) answers.push_back(IDOK);
    const INT_PTR result = Run(
        ID_ODE_N,
        [&](headless::DialogScript& s) {
            for (const Step& step : steps) {
                s.Type(step.id, step.text);
                if (step.fault.empty()) {
                    s.Check([](headless::Driver& in) {
                        EXPECT_TRUE(in.IsEnabled(IDOK));
                        EXPECT_FALSE(in.IsEnabled(IDC_EQU_EXPLAIN));
                    });
                    continue;
                }
                s.Check([](headless::Driver& in) {
                     EXPECT_FALSE(in.IsEnabled(IDOK));
                     EXPECT_TRUE(in.IsEnabled(IDC_EQU_EXPLAIN));
                 })
                    .Click(IDC_EQU_EXPLAIN)
                    .Check([&step](headless::Driver& in) {
                        EXPECT_EQ(LastInformation(in), step.fault) << WideToNarrow(step.text);
                    });
            }
            s.Click(IDCANCEL);
        },
        answers);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(Driver().MessageBoxes().size(), answers.size());
}

// With points in the document OK asks first; "Non" leaves the form open and the record as it was,
// "Oui" replaces the points, stores the equation and clears the old fit.
TEST_F(EquDiffTest, QuestionBeforeReplacingPoints) {
    SetPoints(*data_, {1, 2}, {3, 4});
    data_->fitDone = 1;
    data_->fitDistance = 0.5;
    const INT_PTR result = Run(ID_ODE_1,
                               [&](headless::DialogScript& s) {
                                   FillFirstOrder(s, L"Y");
                                   s.Click(IDOK)
                                       .Check([&](headless::Driver& in) {
                                           EXPECT_EQ(in.ActiveDialogId(), IDD_EQU_DIFF);
                                           EXPECT_TRUE(in.IsEnabled(IDOK));
                                           EXPECT_EQ(data_->nPoints, 2);
                                           EXPECT_EQ(data_->fitDone, 1);
                                           EXPECT_EQ(data_->equation.hasEquation, 0);
                                       })
                                       .Click(IDOK);
                               },
                               {IDNO, IDYES});
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(Driver().MessageBoxes().size(), 2u);
    for (const headless::MessageBoxRecord& box : Driver().MessageBoxes()) {
        EXPECT_EQ(box.text, kQuestion);
        EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONQUESTION | MB_YESNO));
    }
    EXPECT_EQ(data_->nPoints, 11);
    EXPECT_EQ(data_->fitDone, 0) << "the distance belonged to the old points";
    std::wstring text;
    EXPECT_EQ(data_->equation.Get(text), 1);
    EXPECT_EQ(text, L"Y");
}

struct RunCase {
    const char* name;
    int mode;
    const wchar_t* equation;
    const wchar_t* shown;
    std::vector<std::wstring> initial;  // y, y', ...
    double (*solution)(double);
};

// 11 points from 0 to 1 by 0.1; RK4 with h = 0.01 is within 1e-9 of these solutions.
TEST_F(EquDiffTest, IntegrationReplacesTheTable) {
    const RunCase cases[] = {
        {"y' = y", ID_ODE_1, L"Y", L"0", {L"1"}, [](double x) { return std::exp(x); }},
        // Letters beyond the order are 0.
        {"y' = A + B + Z", ID_ODE_1, L"A+B+Z", L"0", {L"1"}, [](double x) { return std::exp(x); }},
        {"y'' = -y, shown y",
         ID_ODE_2,
         L"-A",
         L"0",
         {L"0", L"1"},
         [](double x) { return std::sin(x); }},
        {"y'' = -y, shown y'",
         ID_ODE_2,
         L"-A",
         L"1",
         {L"0", L"1"},
         [](double x) { return std::cos(x); }},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        data_->Reset();
        const INT_PTR result = Run(c.mode, [&](headless::DialogScript& s) {
            FillFirstOrder(s, c.equation);
            for (size_t k = 0; k < c.initial.size(); ++k) s.Type(IDC_EQU_Y0 + k, c.initial[k]);
            if (c.mode != ID_ODE_1) s.Type(IDC_EQU_SHOWN, c.shown);
            s.Click(IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_TRUE(Driver().MessageBoxes().empty()) << "no points: no question";
        ASSERT_EQ(data_->hasPoints, 1);
        ASSERT_EQ(data_->nPoints, 11);
        for (int i = 0; i <= 10; ++i) {
            EXPECT_NEAR(data_->pointX[i], 0.1 * i, 1e-12) << i;
            EXPECT_NEAR(data_->pointY[i], c.solution(0.1 * i), 1e-9) << i;
        }
        std::wstring text;
        EXPECT_EQ(data_->equation.Get(text), c.mode == ID_ODE_1 ? 1 : 2);
        EXPECT_EQ(text, c.equation);
        Driver().ClearRecords();
    }
}

// An evaluation that fails is told; the form stays open, valid, with nothing stored.
TEST_F(EquDiffTest, FailedIntegrationIsToldAndStoresNothing) {
    SetPoints(*data_, {1, 2}, {3, 4});
    data_->fitDone = 1;
    const INT_PTR result = Run(
        ID_ODE_1,
        [&](headless::DialogScript& s) {
            FillFirstOrder(s, L"LN(A)");
            s.Type(IDC_EQU_Y0, L"0")
                .Click(IDOK)
                .Check([](headless::Driver& in) {
                    EXPECT_EQ(in.ActiveDialogId(), IDD_EQU_DIFF);
                    EXPECT_EQ(LastInformation(in), L"Erreur de calcul : Erreur de calcul dans LN");
                    EXPECT_TRUE(in.IsEnabled(IDOK));
                    EXPECT_FALSE(in.IsEnabled(IDC_EQU_EXPLAIN));
                })
                .Click(IDCANCEL);
        },
        {IDYES, IDOK});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(data_->nPoints, 2);
    EXPECT_EQ(data_->pointY[1], 4.0);
    EXPECT_EQ(data_->fitDone, 1);
    EXPECT_EQ(data_->equation.hasEquation, 0);
}

// No point that is not a finite number reaches the table: bounds whose difference overflows make
// a step of infinity, and a state may outgrow the doubles at the last point alone.
TEST_F(EquDiffTest, NonFiniteResultIsAnOverflow) {
    struct Case {
        const wchar_t* equation;
        const wchar_t* xStart;
        const wchar_t* xEnd;
        const wchar_t* y0;
    };
    const Case cases[] = {
        {L"1", L"-1e308", L"1e308", L"1"},
        // y = 1.7E308, 1.76E308, then 1.82E308: only the third of the points overflows.
        {L"1E35", L"0", L"1.2E272", L"1.7E308"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.equation << " from " << c.xStart);
        const INT_PTR result =
            Run(ID_ODE_1,
                [&](headless::DialogScript& s) {
                    FillFirstOrder(s, c.equation);
                    s.Type(IDC_EQU_X_START, c.xStart)
                        .Type(IDC_EQU_X_END, c.xEnd)
                        .Type(IDC_EQU_POINTS, L"2")
                        .Type(IDC_EQU_FINESSE, L"1")
                        .Type(IDC_EQU_Y0, c.y0)
                        .Click(IDOK)
                        .Check([](headless::Driver& in) {
                            EXPECT_EQ(LastInformation(in),
                                      L"Erreur de calcul : Depassement Capacite Calcul");
                            EXPECT_TRUE(in.IsEnabled(IDOK));
                        })
                        .Click(IDCANCEL);
                },
                {IDOK});
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(data_->hasPoints, 0);
        EXPECT_EQ(data_->equation.hasEquation, 0);
        Driver().ClearRecords();
    }
}

}  // namespace
