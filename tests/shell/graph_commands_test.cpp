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

}  // namespace
