// The entry dialogs of the Kurvomat program on the Qt backend: the point table's three columns
// and its row commands under a person's clicks, and a paste into the formula edit.
#include <QClipboard>
#include <QTest>
#include <cmath>

#include "fitdata/fit_data.h"
#include "qt/qt_session.h"
#include "resources/resource_ids.h"
#include "shell/kurvomat_app.h"

namespace {

class QtEntryDialogs : public QtSession {
  protected:
    void SetUp() override {
        QtSession::SetUp();
        app_ = std::make_unique<CKurvomatApp>();
    }
    void TearDown() override {
        QtSession::TearDown();
        app_.reset();
    }

    // Starts on a document holding the points (x[i], y[i]).
    bool StartOnPoints(const std::vector<double>& x, const std::vector<double>& y) {
        auto data = std::make_unique<FitData>();
        data->SetPoints(static_cast<int>(x.size()), x.data(), y.data());
        const std::filesystem::path path = Folder() / "points.gen";
        if (data->WriteGen(path.string()) != 0) return false;
        return Start(*app_, path.wstring());
    }

    // Runs `act` in the dialog `dialogId` opened by menu command `command`, then waits until it
    // has closed.
    void InDialog(UINT command, UINT dialogId, const std::function<void(QWidget*)>& act) {
        bool done = false;
        OnModal(QStringLiteral("dlg-%1").arg(dialogId), [&](QWidget* dialog) {
            act(dialog);
            QTest::keyClick(dialog, Qt::Key_Escape);
            done = true;
            return true;
        });
        Find<QAction>(QStringLiteral("cmd-%1").arg(command))->trigger();
        ASSERT_TRUE(WaitFor([&] { return done && !QApplication::activeModalWidget(); }));
    }

    static QWidget* Control(QWidget* dialog, int id) {
        return dialog->findChild<QWidget*>(QStringLiteral("ctl-%1").arg(id));
    }

    std::unique_ptr<CKurvomatApp> app_;
};

// Left edges of the runs of ink (gray < 128) in the rows y0..y1 of `image` that stand more than
// `gap` blank columns apart, with the right edge of the last run.
std::vector<int> InkStarts(const QImage& image, int y0, int y1, int gap, int* lastInk) {
    std::vector<int> starts;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        bool ink = false;
        for (int y = y0; y <= y1 && !ink; ++y) ink = qGray(image.pixel(x, y)) < 128;
        if (!ink) continue;
        if (last < 0 || x - last > gap) starts.push_back(x);
        last = x;
    }
    *lastInk = last;
    return starts;
}

// Number, X and Y stand in three columns apart, each the same for every form of number, and Y
// stays in sight.
TEST_F(QtEntryDialogs, PointTableShowsThreeColumnsWhateverTheNumbers) {
    const std::vector<double> x = {-123456.7, 1.234568e+100, -99999.5, 1.0, -1.23457e-100, 999999};
    const std::vector<double> y = {1.234568e+100, -123456.7, 1.0, -1.23457e-100, 999999, -99999.5};
    ASSERT_TRUE(StartOnPoints(x, y));
    InDialog(ID_ENTER_TABLE, IDD_ENTER_TABLE, [&](QWidget* dialog) {
        auto* list = qobject_cast<QListWidget*>(Control(dialog, IDC_TABLE_LIST));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 6);
        QTest::qWait(50);  // the list lays its rows out from the event loop
        const QImage image = list->viewport()->grab().toImage();
        std::vector<int> columns;
        for (int row = 0; row < list->count(); ++row) {
            SCOPED_TRACE(row);
            const QRect r = list->visualItemRect(list->item(row));
            int lastInk = -1;
            // Inside a number the glyphs stand at most a few pixels apart.
            const std::vector<int> starts = InkStarts(image, r.top(), r.bottom(), 4, &lastInk);
            ASSERT_EQ(starts.size(), 3u);
            EXPECT_LT(lastInk, image.width() - 1) << "Y cut at the list's edge";
            if (columns.empty()) columns = {starts[1], starts[2]};
            // X and Y begin at their column, give or take the glyphs' own margins.
            EXPECT_NEAR(starts[1], columns[0], 2);
            EXPECT_NEAR(starts[2], columns[1], 2);
        }
    });
}

// After Insérer a row stays selected and its commands stay on; a click on the row shown
// selected reaches the dialog, and the list shows the selection the dialog has.
TEST_F(QtEntryDialogs, RowCommandsFollowTheShownSelection) {
    ASSERT_TRUE(StartOnPoints({1, 2, 3, 4}, {10, 20, 30, 40}));
    InDialog(ID_ENTER_TABLE, IDD_ENTER_TABLE, [&](QWidget* dialog) {
        auto* list = qobject_cast<QListWidget*>(Control(dialog, IDC_TABLE_LIST));
        const auto click = [list](int row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(row)).center());
        };
        const auto rowCommandsOn = [dialog] {
            for (int id : {IDC_TABLE_MODIFY, IDC_TABLE_DELETE, IDC_TABLE_SWAP_POINT})
                if (!Control(dialog, id)->isEnabled()) return false;
            return true;
        };
        click(2);
        EXPECT_TRUE(rowCommandsOn());
        OnModal(QStringLiteral("dlg-%1").arg(IDD_ENTER_POINT), [](QWidget* point) {
            QTest::mouseClick(Control(point, IDOK), Qt::LeftButton);
            return true;
        });
        QTest::mouseClick(Control(dialog, IDC_TABLE_INSERT), Qt::LeftButton);
        ASSERT_TRUE(WaitFor([&] { return QApplication::activeModalWidget() == dialog; }));
        EXPECT_EQ(list->count(), 5);
        ExpectMirror();
        EXPECT_EQ(list->currentRow(), 2);
        EXPECT_TRUE(rowCommandsOn()) << "row 2 is still shown selected";
        click(2);
        EXPECT_TRUE(rowCommandsOn());
        ExpectMirror();
    });
}

// Typing stops at the edit's width, a paste goes in whole: 255 characters reach the length
// check.
TEST_F(QtEntryDialogs, PasteIntoTheFormulaGoesInWhole) {
    ASSERT_TRUE(StartOnPoints({1, 2}, {1, 2}));
    InDialog(ID_ENTER_FUNCTION, IDD_ENTER_FUNCTION, [&](QWidget* dialog) {
        auto* edit = qobject_cast<QLineEdit*>(Control(dialog, IDC_FUNCTION_TEXT));
        HWND record = framework::FindDescendant(framework::ActiveWindow(), IDC_FUNCTION_TEXT);
        QTest::keyClicks(edit, QString(200, QLatin1Char('x')));
        EXPECT_GT(record->text.size(), 10u);
        EXPECT_LT(record->text.size(), 200u) << "typing stops at the visible width";
        edit->selectAll();
        QApplication::clipboard()->setText(QString(255, QLatin1Char('y')));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(record->text, std::wstring(255, L'y'));
        QTest::keyClick(edit, Qt::Key_Z);
        EXPECT_EQ(record->text.size(), 255u) << "no typing past the width";
        QTest::mouseClick(Control(dialog, IDOK), Qt::LeftButton);
        EXPECT_EQ(qobject_cast<QLabel*>(Control(dialog, IDC_FUNCTION_MESSAGE))->text(),
                  QStringLiteral("Fonction trop longue"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(record->text.size(), 254u) << "deleting goes on past the width";
    });
}

}  // namespace
