// Dragging in an editing control: the floating picture of a dragged cell under real mouse moves,
// auto-scrolling every 50 ms up to the last page, the insertion arrows, and the drag-image helper
// that the thread mouse hook moves and ends.
#include "tests/toolkit/grid/InplacePaintTestSupport.h"

#include "platform/vcl/MessageQueue.h"
#include "toolkit/grid/cxInplaceDragDrop.h"

namespace {

// Drags the first cell; a drop is accepted over the second one. Scrolls down while the mouse is
// in the control's bottom strip.
class TcxTestCellDragObject : public TcxCustomControlDragAndDropObject {
    RTL_CLASS(TcxTestCellDragObject, TcxCustomControlDragAndDropObject)
    using TcxCustomControlDragAndDropObject::TcxCustomControlDragAndDropObject;
    void BeginDragAndDrop() override
    {
        AddAutoScrollingObject(TRect{0, 50, 200, 60}, sbVertical, scLineDown);
        TcxCustomControlDragAndDropObject::BeginDragAndDrop();
    }
    void DragAndDrop(const TPoint& p, bool& accepted) override
    {
        accepted = cxRectPtIn(Cell(1)->VisibleBounds, p);
        TcxCustomControlDragAndDropObject::DragAndDrop(p, accepted);
    }
    int GetVertScrollInc() override { return 30; }
    TcxEditCellViewInfo* Cell(int i) { return GetEditingControl()->ViewInfo()->Cells(i); }

protected:
    TRect GetDisplayRect() override { return Cell(0)->Bounds; }
    void Paint() override { GetEditingControl()->Painter()->DoPaintEditCell(Cell(0), false); }
};

// A row control with a vertical bar (0 to 99, page 10) that its auto-scrolling moves.
class TcxDragRowControl : public TcxPaintRowControl {
    RTL_CLASS(TcxDragRowControl, TcxPaintRowControl)
    using TcxPaintRowControl::TcxPaintRowControl;
    TcxDragAndDropObjectClass GetDragAndDropObjectClass() const override
    {
        return TcxDragAndDropObjectClass::Of<TcxTestCellDragObject>();
    }
    bool StartDragAndDrop(const TPoint& p) override { return cxRectPtIn(TRect{0, 0, 60, 24}, p); }
    bool AllowDragAndDropWithoutFocus() const override { return true; }
    void Scroll(TScrollBarKind kind, TScrollCode code, int& pos) override
    {
        scrolls.push_back(pos);
        SetTop(pos);
    }
    void InitScrollBarsParameters() override { SetScrollBarInfo(sbVertical, 0, 99, 1, 10, top, true, true); }
    void SetTop(int value)
    {
        top = value;
        UpdateScrollBars();
    }
    int top = 0;
    TRect DragDropImageDisplayRect() override { return TRect{60, 0, 120, 24}; }
    void DrawDragDropImage(TBitmap*, TcxCanvas* canvas) override { canvas->FillRect(TRect{0, 0, 60, 24}, clRed); }
    std::vector<int> scrolls;
};

class InplaceDragTest : public InplacePaintTest {
protected:
    void SetUp() override
    {
        InplacePaintTest::SetUp();
        grid->Free();
        drag = new TcxDragRowControl(form);
        grid = drag;
        grid->SetParent(form);
        grid->SetBorderStyle(cxcbsNone);
        grid->SetBounds(0, 0, 200, 60);
        grid->Font()->SetHeight(-16);
        grid->AddTextItem("Meter");
        grid->AddTextItem("Target");
        Show();
        drag->SetTop(0);
    }
    // A real move; the system's cursor position follows it (the fixed system's only moves when
    // told).
    void Move(int x, int y)
    {
        Fixed().cursor = grid->ClientToScreen(TPoint{x, y});
        QTest::mouseMove(grid->Peer(), QPoint(x, y));
    }
    void Press(int x, int y)
    {
        Fixed().cursor = grid->ClientToScreen(TPoint{x, y});
        QTest::mousePress(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
    }
    void TearDown() override
    {
        cxFinishDragImages();
        InplacePaintTest::TearDown();
    }
    TcxTestCellDragObject* Object() { return static_cast<TcxTestCellDragObject*>(grid->GetDragAndDropObject()); }
    TcxDragRowControl* drag = nullptr;
};

} // namespace

TEST_F(InplaceDragTest, DraggedCellFloatsUnderTheMouseAndTheCursorTellsTheDrop)
{
    Press(10, 10);
    Move(30, 12);
    ASSERT_EQ(grid->DragAndDropState(), ddsInProcess);
    TcxTestCellDragObject* object = Object();
    TcxDragImage* image = object->FloatingImage();
    ASSERT_NE(image, nullptr);
    // The picture is the cell, painted as on the control: its text in black on white.
    EXPECT_EQ(object->PictureBounds, (TRect{0, 0, 60, 24}));
    int black = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x)
            black += ColorToRGB(image->Image()->Canvas()->GetPixel(x, y)) == 0;
    EXPECT_GT(black, 20);
    EXPECT_EQ(ColorToRGB(image->Image()->Canvas()->GetPixel(58, 2)), ColorToRGB(clWindow));
    // It lies over the cell where the drag began and keeps that offset to the mouse.
    EXPECT_TRUE(image->GetVisible());
    EXPECT_EQ((TPoint{image->Left(), image->Top()}), grid->ClientToScreen(TPoint{0, 0}));
    EXPECT_FALSE(object->LastAccepted);
    EXPECT_EQ(Screen->Cursor(), TCursor(crcxNoDrop));
    Move(90, 12);
    EXPECT_TRUE(object->LastAccepted);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ((TPoint{image->Left(), image->Top()}), grid->ClientToScreen(TPoint{60, 0}));
    QTest::mouseRelease(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(90, 12));
    EXPECT_EQ(grid->DragAndDropState(), ddsNone);
}

TEST_F(InplaceDragTest, DraggingIntoTheBottomStripScrollsEvery50msUpToTheLastPage)
{
    Press(10, 10);
    Move(30, 12);
    ASSERT_EQ(grid->DragAndDropState(), ddsInProcess);
    Move(30, 55);
    TcxAutoScrollingObject* scroller = Object()->AutoScrollObjects(0);
    EXPECT_TRUE(scroller->ScrollTimer()->Enabled());
    EXPECT_EQ(scroller->ScrollTimer()->Interval(), 50u);
    EXPECT_TRUE(SpinUntil([this] { return drag->scrolls.size() >= 3; }, 1000));
    SpinUntil([] { return false; }, 150);
    // 30 per tick, clamped to Max - PageSize + 1 = 90, then no further calls.
    EXPECT_EQ(drag->scrolls, (std::vector<int>{30, 60, 90}));
    // Back out of the strip: the timer stops; the drop ends every scroller.
    Move(30, 20);
    EXPECT_FALSE(scroller->ScrollTimer()->Enabled());
    Move(30, 55);
    QTest::mouseRelease(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 55));
    EXPECT_EQ(grid->DragAndDropState(), ddsNone);
}

TEST_F(InplaceDragTest, ControllerScrollingOutsideTheBoundsScrollsTowardEachPassedSide)
{
    drag->SetTop(50);
    TcxControllerAutoScrollingObject scroller(grid->Controller());
    scroller.SetBoundsParams(TRect{0, 10, 200, 50}, false, 20, true);
    struct Case {
        TPoint p;
        TcxNeighbors sides;
    };
    const Case cases[] = {{{100, 30}, {}}, {{100, 10}, {nTop}}, {{100, 50}, {nBottom}}, {{-5, 30}, {}}};
    for (const Case& c : cases) {
        EXPECT_EQ(scroller.CheckBounds(c.p), !c.sides.Empty()) << c.p.X << "," << c.p.Y;
        EXPECT_EQ(scroller.ActiveSides, c.sides);
    }
    scroller.CheckBounds(TPoint{100, 5});
    scroller.DoScrollInspectingControl();
    scroller.DoScrollInspectingControl();
    scroller.DoScrollInspectingControl();
    EXPECT_EQ(drag->scrolls, (std::vector<int>{30, 10, 0}));
    // The area mode: scLineUp turns the increment negative.
    scroller.SetParams(TRect{0, 0, 10, 10}, sbVertical, 4, scLineUp);
    EXPECT_EQ(scroller.ScrollIncrement, -4);
}

TEST_F(InplaceDragTest, PlaceArrowsShowOnceForTheSamePlaceAndAreShapedToTwoArrows)
{
    auto& arrows = *new TcxPlaceArrows(clLime, clBlack, form);
    const TRect r{100, 100, 160, 120};
    EXPECT_TRUE(arrows.MoveTo(r, bLeft));
    EXPECT_TRUE(arrows.GetVisible());
    EXPECT_FALSE(arrows.MoveTo(r, bLeft)) << "the same rectangle and side again";
    const TRect box = arrows.WindowRegion().Box();
    EXPECT_EQ((TRect{arrows.Left(), arrows.Top(), arrows.Left() + arrows.Width(), arrows.Top() + arrows.Height()}),
              cxRectOffset(box, arrows.Left(), arrows.Top()));
    // One arrow points down at the top-left corner, one up at the bottom-left; nothing between.
    const gdi::Region left = TcxPlaceArrows::ArrowsRegion(r, bLeft);
    EXPECT_TRUE(left.Q().contains(QPoint(100, 95)));
    EXPECT_TRUE(left.Q().contains(QPoint(100, 125)));
    EXPECT_FALSE(left.Q().contains(QPoint(100, 110)));
    EXPECT_TRUE(arrows.MoveTo(r, bTop));
    const gdi::Region top = TcxPlaceArrows::ArrowsRegion(r, bTop);
    EXPECT_TRUE(top.Q().contains(QPoint(95, 100)));
    EXPECT_TRUE(top.Q().contains(QPoint(165, 100)));
    EXPECT_FALSE(top.Q().contains(QPoint(130, 100)));
    EXPECT_TRUE(arrows.WindowRegion().Equals([&] {
        gdi::Region moved = top;
        moved.Offset(-top.Box().Left, -top.Box().Top);
        return moved;
    }()));
}

TEST_F(InplaceDragTest, DragImageHelperFollowsTheHookAndEndsOnButtonUp)
{
    auto* helper = new TcxDragImageHelper(drag, TPoint{70, 10});
    EXPECT_EQ(helper->ImageBounds, (TRect{0, 0, 60, 24}));
    EXPECT_EQ(helper->PictureOffset, (TPoint{-10, -10}));
    EXPECT_EQ(ColorToRGB(helper->FloatingImage()->Image()->Canvas()->GetPixel(5, 5)), ColorToRGB(clRed));
    cxStartDragImages(drag, helper);
    ASSERT_TRUE(cxDragImagesHookInstalled());
    EXPECT_EQ(cxDragImagesControl(), drag);
    // Moves reach the image only while the control drags.
    MOUSEHOOKSTRUCT info{300, 200, nullptr, 0, 0};
    vcl::CallMouseHooks(WM_MOUSEMOVE, info);
    EXPECT_FALSE(helper->DragImageVisible);
    // The drag starts, and with it (as the control's drag start does) a new helper replaces the
    // first one.
    drag->BeginDrag(true);
    ASSERT_TRUE(drag->Dragging());
    helper = new TcxDragImageHelper(drag, TPoint{70, 10});
    cxStartDragImages(drag, helper);
    EXPECT_EQ(cxDragImageHelper(), helper);
    vcl::CallMouseHooks(WM_MOUSEMOVE, info);
    EXPECT_TRUE(helper->DragImageVisible);
    EXPECT_EQ(helper->ImagePos, (TPoint{290, 190}));
    EXPECT_EQ((TPoint{helper->FloatingImage()->Left(), helper->FloatingImage()->Top()}), (TPoint{290, 190}));
    // A real button release ends the drag images: the hook is gone and the helper freed.
    QTest::mouseRelease(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 10));
    EXPECT_FALSE(cxDragImagesHookInstalled());
    EXPECT_EQ(cxDragImagesControl(), nullptr);
    EXPECT_EQ(cxDragImageHelper(), nullptr);
    if (drag->Dragging())
        drag->EndDrag(false);
}

TEST_F(InplaceDragTest, PlatformDragWithDragImagesShowsThePictureUntilTheButtonIsReleased)
{
    grid->OptionsBehavior()->SetDragDropImages(true);
    grid->DragStartPoint = TPoint{70, 10};
    drag->BeginDrag(true);
    ASSERT_TRUE(drag->Dragging());
    ASSERT_TRUE(cxDragImagesHookInstalled());
    TcxDragImageHelper* helper = cxDragImageHelper();
    ASSERT_NE(helper, nullptr);
    EXPECT_EQ(helper->PictureOffset, (TPoint{-10, -10}));
    Application->ProcessMessages();
    Move(100, 20);
    EXPECT_TRUE(helper->DragImageVisible);
    EXPECT_EQ(helper->ImagePos, grid->ClientToScreen(TPoint{90, 10}));
    QTest::mouseRelease(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 20));
    EXPECT_FALSE(cxDragImagesHookInstalled());
    EXPECT_EQ(cxDragImageHelper(), nullptr);
    if (drag->Dragging())
        drag->EndDrag(false);
}

TEST_F(InplaceDragTest, FreeingTheControlDuringItsDragImagesRemovesTheHook)
{
    cxStartDragImages(drag, new TcxDragImageHelper(drag, TPoint{70, 10}));
    ASSERT_TRUE(cxDragImagesHookInstalled());
    drag->Free();
    grid = drag = nullptr;
    EXPECT_FALSE(cxDragImagesHookInstalled());
    EXPECT_EQ(cxDragImagesControl(), nullptr);
}
