// Cell hints of an editing control: shown at once over a value that does not fit, moved with the
// hot cell, hidden on leaving, after the hide pause, over the edited cell and with a new layout.
#include "tests/toolkit/grid/InplacePaintTestSupport.h"

#include <QApplication>

namespace {

class InplaceHintTest : public InplacePaintTest {
protected:
    void SetUp() override
    {
        InplacePaintTest::SetUp();
        savedHidePause = Application->HintHidePause;
        longItem = grid->AddTextItem("a meter reading far too long for its cell");
        grid->AddTextItem("ok");
        grid->OptionsBehavior()->SetCellHints(true);
        grid->DataController()->ChangeFocusedRecordIndex(0);
        Show();
    }
    void TearDown() override
    {
        Application->HintHidePause = savedHidePause;
        InplacePaintTest::TearDown();
    }
    TcxHotTrackController* Hot() { return grid->Controller()->HotTrackController(); }
    bool HintOnScreen() { return Hot()->HintVisible(); }
    int savedHidePause = 0;
    TcxTestItem* longItem = nullptr;
};

} // namespace

TEST_F(InplaceHintTest, HintShowsAtOnceOverTextThatDoesNotFitAndFollowsTheHotCell)
{
    MoveMouse(20, 10);
    ASSERT_TRUE(HintOnScreen());
    EXPECT_EQ(Hot()->HintText, "a meter reading far too long for its cell");
    EXPECT_EQ(Hot()->HintOwner, Cell(0));
    // The hint starts one pixel left of and above the cell's editor origin, on the screen.
    const TPoint origin = grid->ClientToScreen(Cell(0)->GetOrigin());
    EXPECT_EQ(Hot()->HintBounds.Left, origin.X - 1);
    EXPECT_EQ(Hot()->HintBounds.Top, origin.Y - 1);
    EXPECT_EQ(Hot()->CellHintWindow()->Caption(), Hot()->HintText);
    // Moving inside the same cell keeps the one hint; a cell whose text fits has none.
    MoveMouse(30, 12);
    EXPECT_TRUE(HintOnScreen());
    MoveMouse(80, 10);
    EXPECT_FALSE(HintOnScreen());
    EXPECT_EQ(Hot()->HotElement, Cell(1));
    MoveMouse(20, 10);
    EXPECT_TRUE(HintOnScreen()) << "back on the long value";
    // Leaving the control for the form around it hides it.
    QTest::mouseMove(form->Peer(), QPoint(250, 150));
    EXPECT_FALSE(HintOnScreen());
    EXPECT_EQ(Hot()->HotElement, nullptr);
}

TEST_F(InplaceHintTest, NoHintWithoutTheOptionOrOverTheEditedCell)
{
    grid->OptionsBehavior()->SetCellHints(false);
    MoveMouse(20, 10);
    EXPECT_FALSE(HintOnScreen());
    MoveMouse(80, 10);
    grid->OptionsBehavior()->SetCellHints(true);
    grid->SetFocus();
    ASSERT_TRUE(SpinUntil([this] { return grid->Focused(); }, 500));
    grid->Controller()->SetFocusedItem(longItem);
    grid->EditingController()->ShowEdit(longItem);
    ASSERT_TRUE(grid->EditingController()->IsEditing());
    // The pointer reaches the cell through the control (the editor covers only its inner part).
    grid->Controller()->DoMouseMove({}, 1, 10);
    EXPECT_FALSE(HintOnScreen());
}

TEST_F(InplaceHintTest, HintHidesAfterThePauseAndWithTheCellsOfTheOldLayout)
{
    Application->HintHidePause = 60;
    MoveMouse(20, 10);
    ASSERT_TRUE(HintOnScreen());
    EXPECT_TRUE(SpinUntil([this] { return !HintOnScreen(); }, 1000));
    // Still over the same cell: it is not shown again.
    MoveMouse(25, 10);
    EXPECT_FALSE(HintOnScreen());
    // A new layout frees the cells: the hint and the hot element go with them.
    MoveMouse(80, 10);
    MoveMouse(20, 10);
    ASSERT_TRUE(HintOnScreen());
    grid->LayoutChanged();
    EXPECT_FALSE(HintOnScreen());
    EXPECT_EQ(Hot()->HotElement, nullptr);
    EXPECT_EQ(Hot()->HintOwner, nullptr);
}

TEST_F(InplaceHintTest, HotTrackedButtonOfACellLightsUnderTheMouseAndGoesBackOnLeaving)
{
    grid->EditStyle()->GetLookAndFeel()->SetNativeStyle(false);
    grid->EditStyle()->GetLookAndFeel()->SetKind(lfUltraFlat);
    TcxCustomEditProperties* properties = longItem->GetPropertiesValue();
    properties->Buttons()->Add();
    longItem->Options()->SetShowEditButtons(eisbAlways);
    grid->LayoutChanged();
    grid->Invalidate();
    grid->Update();
    TcxEditCellViewInfo* cell = Cell(0);
    ASSERT_TRUE(cell->IsSupportedHotTrack());
    ASSERT_EQ(cell->CellEditViewInfo->ButtonCount(), 1);
    const TRect button = cxRectOffset(cell->CellEditViewInfo->ButtonsInfo[0]->Bounds, cell->GetOrigin().X,
                                      cell->GetOrigin().Y);
    EXPECT_EQ(cell->CellEditViewInfo->ButtonsInfo[0]->Data.State, ebsNormal);
    MoveMouse((button.Left + button.Right) / 2, (button.Top + button.Bottom) / 2);
    EXPECT_EQ(cell->CellEditViewInfo->ButtonsInfo[0]->Data.State, ebsSelected);
    MoveMouse(90, 10);
    EXPECT_EQ(cell->CellEditViewInfo->ButtonsInfo[0]->Data.State, ebsNormal);
}
