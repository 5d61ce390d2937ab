// Sizing by whole increments: snapping, release, Escape, dynamic update, bounds, the mark.
#include "tests/toolkit/grid/EditingRoadTestSupport.h"
#include "platform/gdi/Surface.h"
#include "toolkit/grid/cxInplaceSizing.h"

namespace {

class TcxTestSizedThing : public TObject, public IcxDragSizing {
    RTL_CLASS(TcxTestSizedThing, TObject)
    bool CanSizing(TcxDragSizingDirection) override { return true; }
    TRect GetSizingBoundsRect(TcxDragSizingDirection) override { return TRect{10, 0, 190, 100}; }
    int GetSizingIncrement(TcxDragSizingDirection) override { return increment; }
    bool IsDynamicUpdate() override { return dynamic; }
    void SetSizeDelta(TcxDragSizingDirection direction, int delta) override { deltas.push_back(delta); }
    int increment = 5;
    bool dynamic = false;
    std::vector<int> deltas;
};

class SizingTest : public EditingRoadTest {
protected:
    void SetUp() override
    {
        EditingRoadTest::SetUp();
        grid->Controller()->DragItem = &thing;
        grid->Update();
    }
    void TearDown() override
    {
        grid->Controller()->DragItem = nullptr;
        EditingRoadTest::TearDown();
    }
    // Starts at client x = 50.
    std::unique_ptr<TcxSizingDragAndDropObject> Start()
    {
        Fixed().cursor = grid->ClientToScreen(TPoint{50, 10});
        auto sizing = std::make_unique<TcxSizingDragAndDropObject>(grid);
        sizing->BeginDragAndDrop();
        return sizing;
    }
    void Move(TcxSizingDragAndDropObject& s, int x)
    {
        bool accepted = false;
        s.DragAndDrop(TPoint{x, 10}, accepted);
        EXPECT_TRUE(accepted);
    }
    TcxTestSizedThing thing;
};

TEST_F(SizingTest, TheLineSnapsToWholeIncrementsAndReleaseAppliesTheSteps)
{
    auto s = Start();
    EXPECT_EQ(s->GetDragAndDropCursor(true), crHSplit);
    Move(*s, 57);
    EXPECT_EQ(s->DragPos.X, 55);
    EXPECT_EQ(s->StepsMoved, 1);
    Move(*s, 58);
    EXPECT_EQ(s->DragPos.X, 60);
    Move(*s, 500);   // outside the sizing bounds: the line stays
    EXPECT_EQ(s->DragPos.X, 60);
    EXPECT_TRUE(thing.deltas.empty());
    s->EndDragAndDrop(true);
    EXPECT_EQ(thing.deltas, std::vector<int>{2});
}

TEST_F(SizingTest, EscapeBeforeReleaseAppliesNothing)
{
    auto s = Start();
    Move(*s, 66);
    grid->Controller()->EscapePressed = true;
    s->EndDragAndDrop(true);
    grid->Controller()->EscapePressed = false;
    EXPECT_TRUE(thing.deltas.empty());
}

TEST_F(SizingTest, DynamicUpdateAppliesEachStepAndMeasuresAgain)
{
    thing.dynamic = true;
    auto s = Start();
    Move(*s, 57);   // one whole step
    EXPECT_EQ(thing.deltas, std::vector<int>{1});
    EXPECT_EQ(s->MeasureOrigin.X, 57);
    Move(*s, 59);   // less than a step from the new origin
    EXPECT_EQ(thing.deltas, std::vector<int>{1});
    s->EndDragAndDrop(true);
    EXPECT_EQ(thing.deltas, std::vector<int>{1});
}

TEST_F(SizingTest, AnIncrementBelowOneCountsAsOne)
{
    thing.increment = 0;
    auto s = Start();
    EXPECT_EQ(s->SizingStep, 1);
    Move(*s, 53);
    EXPECT_EQ(s->DragPos.X, 53);
    s->EndDragAndDrop(true);
    EXPECT_EQ(thing.deltas, std::vector<int>{3});
}

TEST_F(SizingTest, TheMarkDrawnTwiceRestoresThePixels)
{
    auto pixel = [this](int x, int y) { return grid->Surface().Row(y)[x]; };
    const std::uint32_t before = pixel(49, 30), beside = pixel(60, 30), next = pixel(59, 30);
    auto s = Start();   // the mark is drawn at x 49
    EXPECT_NE(pixel(49, 30), before);
    Move(*s, 61);       // moved: the old mark is gone, the new one drawn at x 59
    EXPECT_EQ(pixel(49, 30), before);
    EXPECT_NE(pixel(59, 30), next);
    s->EndDragAndDrop(false);
    EXPECT_EQ(pixel(49, 30), before);
    EXPECT_EQ(pixel(59, 30), next);
    EXPECT_EQ(pixel(60, 30), beside);
    EXPECT_TRUE(thing.deltas.empty());   // not accepted
}

} // namespace
