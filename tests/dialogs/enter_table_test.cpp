// The point-table dialog: the three enabling states, row texts, deleting with renumbering,
// clearing, the transformations and swaps, the full table, committing and cancelling.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "dialogs/enter_table.h"
#include "fitdata/number_format.h"
#include "framework/core.h"
#include "framework/user_input.h"
#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

constexpr int kList = IDC_TABLE_LIST;

// The row the list shows for a point: its number as "%3d", then X and Y.
std::wstring Row(const wchar_t* number, double x, double y) {
    return std::wstring(number) + L"\t" + FormatNumber(x) + L"\t" + FormatNumber(y);
}

class EnterTableTest : public DialogSession {
  protected:
    void SetUp() override {
        DialogSession::SetUp();
        SetPoints(*data_, {1.0, 2.0, 3.0, 4.0}, {10.0, 20.0, 30.0, 40.0});
        data_->fitDone = 1;
    }

    // Runs the dialog on the record with the steps `steps` adds (and the answers it queues).
    INT_PTR Run(const std::function<void(headless::DialogScript&)>& steps) {
        auto dialog = std::make_unique<CEnterTable>(data_.get());
        steps(Driver().NextDialog(IDD_ENTER_TABLE));
        const INT_PTR answer = dialog->DoModal();
        EXPECT_EQ(ScriptErrors(), "");
        EXPECT_EQ(Driver().PendingAnswers(), 0u);
        return answer;
    }

    void ExpectTable(const std::vector<double>& x, const std::vector<double>& y) {
        ASSERT_EQ(data_->nPoints, static_cast<int>(x.size()));
        for (std::size_t i = 0; i < x.size(); ++i) {
            EXPECT_EQ(data_->pointX[i], x[i]) << "point " << i;
            EXPECT_EQ(data_->pointY[i], y[i]) << "point " << i;
        }
    }
};

// A command sent to the dialog as a program could, whatever the state of its control.
void Send(int id, int code) {
    HWND dialog = framework::ActiveWindow();
    framework::Send(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                    reinterpret_cast<LPARAM>(framework::FindDescendant(dialog, id)));
}

// Controls whose state follows the dialog's state, in this order.
const int kControls[] = {IDOK,
                         kList,
                         IDC_TABLE_LOG_X,
                         IDC_TABLE_LOG_Y,
                         IDC_TABLE_EXP_X,
                         IDC_TABLE_EXP_Y,
                         IDC_TABLE_SWAP_ALL,
                         IDC_TABLE_CLEAR,
                         IDC_TABLE_INSERT,
                         IDC_TABLE_MODIFY,
                         IDC_TABLE_DELETE,
                         IDC_TABLE_SWAP_POINT,
                         IDCANCEL};

std::vector<bool> Enabled(headless::Driver& in) {
    std::vector<bool> states;
    for (int id : kControls) states.push_back(in.IsEnabled(id));
    return states;
}

const std::vector<bool> kEmpty = {false, false, false, false, false, false, false,
                                  false, true,  false, false, false, true};
const std::vector<bool> kRows = {true, true, true,  true,  true,  true, true,
                                 true, true, false, false, false, true};
const std::vector<bool> kSelected(13, true);

TEST_F(EnterTableTest, ThreeEnablingStates) {
    const INT_PTR answer = Run([this](headless::DialogScript& s) {
        s.Check([](headless::Driver& in) {
             EXPECT_EQ(in.Caption(), L"Saisie / Modification de la table de points");
             EXPECT_EQ(in.Text(IDC_TABLE_COUNT), L"") << "the label stays blank";
             EXPECT_EQ(Enabled(in), kRows);
             EXPECT_EQ(in.ListSelection(kList), -1);
         })
            .SelectRow(kList, 2)
            .Check([](headless::Driver& in) { EXPECT_EQ(Enabled(in), kSelected); })
            .CancelSelection(kList)
            .Check([](headless::Driver& in) { EXPECT_EQ(Enabled(in), kRows); })
            .SelectRow(kList, 1)
            .Click(IDC_TABLE_CLEAR)
            .Click(IDC_TABLE_CLEAR)
            .Check([](headless::Driver& in) {
                EXPECT_EQ(Enabled(in), kEmpty);
                EXPECT_TRUE(in.ListRows(kList).empty());
            })
            // Effacer, disabled with the rows, passed the focus on to Cancel: Enter cannot reach
            // the disabled OK.
            .Check([](headless::Driver& in) { EXPECT_EQ(in.FocusedControl(), IDCANCEL); })
            .PressEnter();
        Driver().AnswerMessageBox(IDNO);
        Driver().AnswerMessageBox(IDYES);
    });
    EXPECT_EQ(answer, 0);
    ASSERT_EQ(Driver().MessageBoxes().size(), 2u);
    EXPECT_EQ(Driver().MessageBoxes()[0].text, L"Voulez vous réellement effacer tous les points ?");
    EXPECT_EQ(Driver().MessageBoxes()[0].type, MB_YESNO);
    ExpectTable({1.0, 2.0, 3.0, 4.0}, {10.0, 20.0, 30.0, 40.0});
    EXPECT_EQ(data_->fitDone, 1);
}

// A count behind a cleared flag is not a table.
TEST_F(EnterTableTest, StaleCountOpensEmpty) {
    data_->hasPoints = 0;
    Run([](headless::DialogScript& s) {
        s.Check([](headless::Driver& in) {
             EXPECT_EQ(Enabled(in), kEmpty);
             EXPECT_TRUE(in.ListRows(kList).empty());
         }).Click(IDCANCEL);
    });
}

// Numbers right-aligned in three characters, four from point 1000; an unchanged OK keeps the fit.
TEST_F(EnterTableTest, RowTextsAndUnchangedOk) {
    std::vector<double> x(1001);
    std::vector<double> y(1001);
    for (int i = 0; i < 1001; ++i) {
        x[i] = i * 0.5;
        y[i] = -i * 1e-5;
    }
    ASSERT_EQ(data_->SetPoints(1001, x.data(), y.data()), 1);
    const INT_PTR answer = Run([&](headless::DialogScript& s) {
        s.Check([&](headless::Driver& in) {
             const std::vector<std::wstring> rows = in.ListRows(kList);
             ASSERT_EQ(rows.size(), 1001u);
             EXPECT_EQ(rows[0], Row(L"  1", x[0], y[0]));
             EXPECT_EQ(rows[0], L"  1\t000000.000000\t000000.000000");
             EXPECT_EQ(rows[9], Row(L" 10", x[9], y[9]));
             EXPECT_EQ(rows[99], Row(L"100", x[99], y[99]));
             EXPECT_EQ(rows[999], Row(L"1000", x[999], y[999]));
             EXPECT_EQ(rows[1000], Row(L"1001", x[1000], y[1000]));
         }).PressEnter();
    });
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(data_->nPoints, 1001);
    EXPECT_EQ(data_->fitDone, 1);
}

TEST_F(EnterTableTest, DeleteAsksThenRenumbers) {
    const INT_PTR answer = Run([this](headless::DialogScript& s) {
        s.SelectRow(kList, 1)
            .Click(IDC_TABLE_DELETE)
            .Check([](headless::Driver& in) { EXPECT_EQ(in.ListRows(kList).size(), 4u); })
            .Click(IDC_TABLE_DELETE)
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.ListRows(kList),
                          (std::vector<std::wstring>{Row(L"  1", 1, 10), Row(L"  2", 3, 30),
                                                     Row(L"  3", 4, 40)}));
                EXPECT_EQ(in.ListSelection(kList), -1);
                EXPECT_EQ(Enabled(in), kRows);
            })
            .Click(IDOK);
        Driver().AnswerMessageBox(IDNO);
        Driver().AnswerMessageBox(IDYES);
    });
    EXPECT_EQ(answer, IDOK);
    ASSERT_EQ(Driver().MessageBoxes().size(), 2u);
    EXPECT_EQ(Driver().MessageBoxes()[1].text,
              L"Voulez vous réellement effacer le point 2 (x=000002.000000, y=000020.000000) ?");
    EXPECT_EQ(Driver().MessageBoxes()[1].type, MB_YESNO);
    ExpectTable({1.0, 3.0, 4.0}, {10.0, 30.0, 40.0});
    EXPECT_EQ(data_->fitDone, 0);
}

struct TransformCase {
    const char* name;
    std::vector<double> x;
    std::vector<double> y;
    int button;
    std::vector<double> xAfter;  // the same as x when refused
    std::vector<double> yAfter;
};

TEST_F(EnterTableTest, TransformationsAreAppliedOrRefusedAsAWhole) {
    const TransformCase cases[] = {
        {"Log X of 0", {2.0, 0.0}, {1.0, 1.0}, IDC_TABLE_LOG_X, {2.0, 0.0}, {1.0, 1.0}},
        {"Log X",
         {2.0, 0.5},
         {1.0, 1.0},
         IDC_TABLE_LOG_X,
         {std::log(2.0), std::log(0.5)},
         {1.0, 1.0}},
        {"Log Y of -1", {1.0, 1.0}, {3.0, -1.0}, IDC_TABLE_LOG_Y, {1.0, 1.0}, {3.0, -1.0}},
        {"Exp X of 228", {228.0, 1.0}, {0.0, 0.0}, IDC_TABLE_EXP_X, {228.0, 1.0}, {0.0, 0.0}},
        {"Exp Y of 227",
         {0.0, 0.0},
         {227.0, -1.0},
         IDC_TABLE_EXP_Y,
         {0.0, 0.0},
         {std::exp(227.0), std::exp(-1.0)}},
        {"Exp Y of 227.5", {0.0, 0.0}, {1.0, 227.5}, IDC_TABLE_EXP_Y, {0.0, 0.0}, {1.0, 227.5}},
    };
    for (const TransformCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(data_->SetPoints(2, c.x.data(), c.y.data()), 1);
        data_->fitDone = 1;
        const bool applied = c.xAfter != c.x || c.yAfter != c.y;
        Run([&](headless::DialogScript& s) {
            s.SelectRow(kList, 1)
                .Click(c.button)
                .Check([&](headless::Driver& in) {
                    EXPECT_EQ(in.ListSelection(kList), 1) << "the selection is kept";
                    EXPECT_EQ(Enabled(in), kSelected);
                    EXPECT_EQ(in.ListRows(kList)[1], Row(L"  2", c.xAfter[1], c.yAfter[1]));
                })
                .Click(IDOK);
        });
        ExpectTable(c.xAfter, c.yAfter);
        EXPECT_EQ(data_->fitDone, applied ? 0 : 1);
        EXPECT_TRUE(Driver().MessageBoxes().empty());
    }
}

TEST_F(EnterTableTest, SwapsKeepTheSelection) {
    Run([](headless::DialogScript& s) {
        s.SelectRow(kList, 2)
            .Click(IDC_TABLE_SWAP_POINT)
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.ListRows(kList)[2], Row(L"  3", 30, 3));
                EXPECT_EQ(in.ListSelection(kList), 2);
            })
            .Click(IDC_TABLE_SWAP_ALL)
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.ListRows(kList)[0], Row(L"  1", 10, 1));
                EXPECT_EQ(in.ListRows(kList)[2], Row(L"  3", 3, 30));
                EXPECT_EQ(in.ListSelection(kList), 2);
            })
            .Click(IDOK);
    });
    ExpectTable({10.0, 20.0, 3.0, 40.0}, {1.0, 2.0, 30.0, 4.0});
}

// Insérer appends whatever row is selected; Modifier and a double click change their row.
TEST_F(EnterTableTest, InsertAndModifyThroughThePointDialog) {
    Run([this](headless::DialogScript& s) {
        s.SelectRow(kList, 0)
            .Click(IDC_TABLE_INSERT)
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.ListRows(kList).size(), 5u);
                EXPECT_EQ(in.ListRows(kList)[4], Row(L"  5", 5, 50));
                EXPECT_EQ(in.ListSelection(kList), 0);
                EXPECT_EQ(Enabled(in), kSelected) << "row 0 stays selected: its commands stay on";
            })
            .SelectRow(kList, 0)
            .Check([](headless::Driver& in) { EXPECT_EQ(Enabled(in), kSelected); })
            .DoubleClickRow(kList, 2)
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.ListRows(kList)[2], Row(L"  3", 7, 30));
                EXPECT_EQ(in.ListSelection(kList), 2);
            })
            .Click(IDC_TABLE_MODIFY)
            .Click(IDOK);
        Driver()
            .NextDialog(IDD_ENTER_POINT)
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.Caption(), L"Entrée du point 5");
                EXPECT_EQ(in.Text(IDC_POINT_X), L"000000.000000");
            })
            .Type(IDC_POINT_X, L"5")
            .Type(IDC_POINT_Y, L"50")
            .Click(IDOK);
        Driver()
            .NextDialog(IDD_ENTER_POINT)
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.Caption(), L"Modification du point 3");
                EXPECT_EQ(in.Text(IDC_POINT_Y), L"000030.000000");
            })
            .Type(IDC_POINT_X, L"7")
            .PressEnter();
        Driver().NextDialog(IDD_ENTER_POINT).Type(IDC_POINT_X, L"9").Click(IDCANCEL);
    });
    ExpectTable({1.0, 2.0, 7.0, 4.0, 5.0}, {10.0, 20.0, 30.0, 40.0, 50.0});
    EXPECT_EQ(data_->fitDone, 0);
}

// Number, X and Y stand in columns that fit the widest text each can hold in the dialog's font,
// with a gap: every row's X and Y start at the same place, and Y ends inside the list.
TEST_F(EnterTableTest, ColumnsFitTheWidestNumbersInTheFont) {
    const std::vector<double> x = {-123456.7, 1.234568e+100, 1.0, -1.23457e-100};
    std::vector<double> xs(1000, 2.5), ys(1000, -99999.5);
    std::copy(x.begin(), x.end(), xs.begin());
    ASSERT_EQ(data_->SetPoints(1000, xs.data(), ys.data()), 1);
    for (int charWidth : {6, 7}) {
        SCOPED_TRACE(charWidth);
        Driver().SetCharWidth(charWidth);
        Run([charWidth](headless::DialogScript& s) {
            s.Check([charWidth](headless::Driver& in) {
                 const auto first = in.ListRowPieces(kList, 0);
                 ASSERT_EQ(first.size(), 3u);
                 const int xAt = first[1].first, yAt = first[2].first;
                 // The widest row number has four digits, the widest number 13 characters.
                 EXPECT_GE(xAt - 4 * charWidth, 4);
                 EXPECT_LE(xAt - 4 * charWidth, 16);
                 EXPECT_GE(yAt - (xAt + 13 * charWidth), 4);
                 EXPECT_LE(yAt - (xAt + 13 * charWidth), 16);
                 EXPECT_LE(yAt + 13 * charWidth, in.WindowRect(kList).Width());
                 for (int row : {1, 2, 3, 999}) {
                     const auto pieces = in.ListRowPieces(kList, row);
                     ASSERT_EQ(pieces.size(), 3u) << row;
                     EXPECT_EQ(pieces[1].first, xAt) << row;
                     EXPECT_EQ(pieces[2].first, yAt) << row;
                 }
             }).Click(IDCANCEL);
        });
    }
}

// Without a selected row the row commands do nothing, whatever reaches them.
TEST_F(EnterTableTest, RowCommandsWithoutASelectionDoNothing) {
    const INT_PTR answer = Run([](headless::DialogScript& s) {
        s.Check([](headless::Driver&) {
             Send(IDC_TABLE_MODIFY, BN_CLICKED);
             Send(IDC_TABLE_DELETE, BN_CLICKED);
             Send(IDC_TABLE_SWAP_POINT, BN_CLICKED);
             Send(kList, LBN_DBLCLK);
         })
            .Check([](headless::Driver& in) {
                EXPECT_EQ(in.ListRows(kList)[0], Row(L"  1", 1, 10));
                EXPECT_EQ(in.ListRows(kList).size(), 4u);
            })
            .Click(IDOK);
    });
    EXPECT_EQ(answer, IDOK);
    EXPECT_TRUE(Driver().MessageBoxes().empty());
    EXPECT_EQ(Driver().DialogsOpened().back(), IDD_ENTER_TABLE) << "no point dialog";
    ExpectTable({1.0, 2.0, 3.0, 4.0}, {10.0, 20.0, 30.0, 40.0});
    EXPECT_EQ(data_->fitDone, 1);
}

// A full table has no room for Insérer: the button is off and its command refused.
TEST_F(EnterTableTest, FullTableRefusesInsert) {
    std::vector<double> x(MAX_POINTS, 1.0);
    ASSERT_EQ(data_->SetPoints(MAX_POINTS, x.data(), x.data()), 1);
    data_->fitDone = 1;
    Run([](headless::DialogScript& s) {
        s.Check([](headless::Driver& in) {
             EXPECT_FALSE(in.IsEnabled(IDC_TABLE_INSERT));
             EXPECT_TRUE(in.IsEnabled(IDOK));
         })
            .SelectRow(kList, 4999)
            .Check([](headless::Driver& in) {
                EXPECT_FALSE(in.IsEnabled(IDC_TABLE_INSERT));
                EXPECT_TRUE(in.IsEnabled(IDC_TABLE_MODIFY));
                Send(IDC_TABLE_INSERT, BN_CLICKED);
                EXPECT_EQ(in.ListRows(kList).size(), static_cast<std::size_t>(MAX_POINTS));
            })
            .Click(IDOK);
    });
    EXPECT_EQ(data_->nPoints, MAX_POINTS);
    EXPECT_EQ(data_->fitDone, 1);
}

TEST_F(EnterTableTest, CancelLeavesTheRecord) {
    const INT_PTR answer = Run([](headless::DialogScript& s) {
        s.Click(IDC_TABLE_SWAP_ALL).Click(IDC_TABLE_LOG_X).CloseBox();
    });
    EXPECT_EQ(answer, 0);
    ExpectTable({1.0, 2.0, 3.0, 4.0}, {10.0, 20.0, 30.0, 40.0});
    EXPECT_EQ(data_->fitDone, 1);
}

}  // namespace
