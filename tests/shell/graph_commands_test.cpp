// The graph window and scale commands of the view: what they refresh and mark afterwards.
#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "support/kurvomat_session.h"

namespace {

class GraphCommandsTest : public KurvomatSession {
  protected:
    void SetUp() override {
        KurvomatSession::SetUp();
        ASSERT_TRUE(Start(NarrowToWide(std::string(KURVOMAT_SOURCE_DIR) + "/examples/decay.gen")));
        ASSERT_FALSE(Document().IsModified());
    }
};

// The graph window changes nothing: the panes are not refreshed (a scale set by hand behind the
// view's back leaves ECH dark) and the document is not marked.
TEST_F(GraphCommandsTest, GraphWindowRefreshesAndMarksNothing) {
    Data().scale.autoScale = 0;
    ASSERT_EQ(Driver().StatusPane(5), L"");
    Driver().NextDialog(IDD_GRAPH).CloseBox();
    ASSERT_TRUE(Driver().ChooseMenu(ID_GRAPH_RESULTS));
    EXPECT_EQ(Driver().DialogsOpened().back(), static_cast<int>(IDD_GRAPH));
    EXPECT_EQ(Driver().StatusPane(5), L"");
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(ScriptErrors(), "");
    EXPECT_EQ(Driver().PendingAnswers(), 0u);
}

// After the scale dialog the panes follow the scale (ECH lit while it is set by hand, dark when
// it is automatic again); the document is not marked, the scale not being stored in its file.
TEST_F(GraphCommandsTest, ScaleDialogRefreshesThePanesButMarksNothing) {
    headless::Driver& d = Driver();
    d.NextDialog(IDD_SCALE)
        .Click(IDC_SCALE_AUTO)
        .Type(IDC_SCALE_X_MAX, L"20")
        .Click(IDC_SCALE_APPLY)
        .Click(IDC_SCALE_EXIT);
    ASSERT_TRUE(d.ChooseMenu(ID_DEFINE_SCALE));
    EXPECT_EQ(d.StatusPane(5), L"ECH");
    EXPECT_FALSE(Document().IsModified());

    d.NextDialog(IDD_SCALE).Click(IDC_SCALE_AUTO).Click(IDC_SCALE_APPLY).Click(IDC_SCALE_EXIT);
    ASSERT_TRUE(d.ChooseMenu(ID_DEFINE_SCALE));
    EXPECT_EQ(d.StatusPane(5), L"");

    // Sortie alone refreshes too: a scale set behind the view's back shows afterwards.
    Data().scale.autoScale = 0;
    d.NextDialog(IDD_SCALE).Click(IDC_SCALE_EXIT);
    ASSERT_TRUE(d.ChooseMenu(ID_DEFINE_SCALE));
    EXPECT_EQ(d.StatusPane(5), L"ECH");
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(ScriptErrors(), "");
    EXPECT_EQ(Driver().PendingAnswers(), 0u);
}

}  // namespace
