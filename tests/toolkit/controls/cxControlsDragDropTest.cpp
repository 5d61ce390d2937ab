// Drag and drop of toolkit controls: the three-state engine with its object (threshold, moves,
// drop, Escape), the platform drag object (copy cursor, refused start, drop target, images), and
// the feedback windows' geometry (arrow bounds and polygons, the size frame's band, hot spots).
#include "tests/toolkit/controls/ControlsTestSupport.h"
#include "toolkit/controls/cxControlsDragDrop.h"

#include "platform/vcl/Desktop.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QtTest/QTest>

using namespace cx;

namespace {
std::vector<std::string>* dragLog = nullptr;
int liveObjects = 0;

class RecordingDragObject : public TcxDragAndDropObject {
public:
    explicit RecordingDragObject(TcxControl* control) : TcxDragAndDropObject(control) { ++liveObjects; }
    ~RecordingDragObject() override { --liveObjects; }
    void BeginDragAndDrop() override
    {
        dragLog->push_back("begin " + std::to_string(CurMousePos.X));
        TcxDragAndDropObject::BeginDragAndDrop();
    }
    void DragAndDrop(const TPoint& p, bool& accepted) override
    {
        accepted = p.X > 50;
        dragLog->push_back("move " + std::to_string(PrevMousePos.X) + ">" + std::to_string(CurMousePos.X));
        TcxDragAndDropObject::DragAndDrop(p, accepted);
    }
    void EndDragAndDrop(bool accepted) override
    {
        dragLog->push_back(accepted ? "end accepted" : "end refused");
        TcxDragAndDropObject::EndDragAndDrop(accepted);
    }
    bool GetImmediateStart() override { return immediate; }
    static inline bool immediate = false;
};

class DragControl : public TcxControl {
public:
    using TcxControl::TcxControl;
    bool startDrag = true, allowPlatformStart = true;
    TSize imageSize{0, 0};
    bool NeedsScrollBars() const override { return false; }
    bool StartDragAndDrop(const TPoint&) override { return startDrag; }
    TcxDragAndDropObjectClass GetDragAndDropObjectClass() const override
    {
        return TcxDragAndDropObjectClass::Of<RecordingDragObject>();
    }
    bool StartDrag(TDragObject*&) override { return allowPlatformStart; }
    bool HasDragImages() const override { return true; }
    TSize GetDragImagesSize() const override { return imageSize; }
    void DrawDragImage(TcxCanvas* canvas, const TRect& r) override { canvas->FillRect(r, clRed); }
};

class DragTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        dragLog = &log;
        RecordingDragObject::immediate = false;
        c = new DragControl(form);
        c->SetParent(form);
        c->SetBounds(10, 10, 120, 60);
        ASSERT_TRUE(Activate(form));
    }
    void TearDown() override
    {
        ControlBaseTest::TearDown();
        EXPECT_EQ(liveObjects, 0);
        dragLog = nullptr;
    }
    DragControl* c = nullptr;
    std::vector<std::string> log;
};
} // namespace

TEST_F(DragTest, TheDragBeginsOutsideTheDetectSquareAndDropsOnRelease)
{
    Fixed().dragThreshold = 4;
    QWidget* w = c->Peer();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(c->DragAndDropState(), ddsStarting);
    QTest::mouseMove(w, QPoint(23, 20)); // 3 pixels: still waiting
    EXPECT_EQ(c->DragAndDropState(), ddsStarting);
    Fixed().cursor = ScreenOf(c, 24, 20); // the fixed system's pointer does not follow Qt's events
    QTest::mouseMove(w, QPoint(24, 20));  // 4 pixels: the drag begins
    EXPECT_EQ(c->DragAndDropState(), ddsInProcess);
    EXPECT_EQ(GetCapture(), c->Handle());
    QTest::mouseMove(w, QPoint(60, 20));
    EXPECT_EQ(Screen->Cursor(), crDrag);
    QTest::mouseMove(w, QPoint(40, 20));
    EXPECT_EQ(Screen->Cursor(), crNoDrop);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(40, 20));
    EXPECT_EQ(c->DragAndDropState(), ddsNone);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(GetCapture(), nullptr);
    const std::vector<std::string> want = {"begin 24", "move 24>24", "move 24>60", "move 60>40", "end accepted"};
    EXPECT_EQ(log, want);
    EXPECT_EQ(liveObjects, 0); // freed when the drag finished
    // Released inside the square: no drag and no object left behind.
    log.clear();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(21, 20));
    EXPECT_EQ(c->DragAndDropState(), ddsNone);
    EXPECT_TRUE(log.empty());
}

TEST_F(DragTest, EscapeCancelsAndAnImmediateObjectStartsOnThePress)
{
    QWidget* w = c->Peer();
    RecordingDragObject::immediate = true;
    Fixed().cursor = ScreenOf(c, 20, 20);
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(c->DragAndDropState(), ddsInProcess);
    QTest::mouseMove(w, QPoint(70, 20));
    QTest::keyClick(w, Qt::Key_Escape);
    vcl::DrainPostedMessages();
    EXPECT_EQ(c->DragAndDropState(), ddsNone);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(70, 20));
    EXPECT_EQ(log, (std::vector<std::string>{"begin 20", "move 20>70", "end refused"}));
}

TEST_F(DragTest, PlatformDragAsksTheTargetAndShowsTheCopyCursorWithCtrl)
{
    auto* target = new DragControl(form);
    target->SetParent(form);
    target->SetBounds(150, 10, 60, 60);
    std::vector<TObject*> asked, dropped;
    target->OnDragOver = [&](TObject*, TObject* src, int, int, TDragState, bool& accept) {
        asked.push_back(src);
        accept = true;
    };
    target->OnDragDrop = [&](TObject*, TObject* src, int, int) { dropped.push_back(src); };
    auto* object = new TcxDragControlObject(c);
    EXPECT_EQ(object->GetDragCursor(true, 0, 0), crDrag);
    Fixed().SetKeyDown(VK_CONTROL, true);
    EXPECT_EQ(object->GetDragCursor(true, 0, 0), crcxDragCopy);
    EXPECT_EQ(object->GetDragCursor(false, 0, 0), crNoDrop);
    Fixed().SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(cxExtractDragObjectSource(object), c);
    object->Free();

    c->BeginDrag(true);
    ASSERT_TRUE(c->Dragging());
    QTest::mouseMove(target->Peer(), QPoint(10, 10));
    EXPECT_EQ(GetDragObject(), c);
    QTest::mouseRelease(target->Peer(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(c->Dragging());
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(), c);
    EXPECT_EQ(dropped, std::vector<TObject*>{c});
    // A refused start leaves no drag behind.
    c->allowPlatformStart = false;
    c->BeginDrag(true);
    EXPECT_FALSE(c->Dragging());
}

// What the pointer shows while a control is dragged: the arrow with a dotted box for a move, a
// box with a plus once Ctrl is held (a copy), the no-drop sign where nobody takes it.
TEST_F(DragTest, ThePointerShowsAMoveOrACopy)
{
    auto* target = new DragControl(form);
    target->SetParent(form);
    target->SetBounds(150, 10, 60, 60);
    target->OnDragOver = [&](TObject*, TObject*, int, int, TDragState, bool& accept) { accept = true; };
    auto shown = [] {
        QCursor* c = QApplication::overrideCursor();
        return c ? c->pixmap().toImage().convertToFormat(QImage::Format_ARGB32) : QImage();
    };
    auto picture = [](TCursor id) { return vcl::CursorOf(Screen->Cursors(id)).pixmap().toImage().convertToFormat(QImage::Format_ARGB32); };
    cxControlsUnit::RegisterScreenCursors(); // as the program's start does
    Screen->SetCursor(crDefault);
    c->BeginDrag(true);
    ASSERT_TRUE(c->Dragging());
    // A point no earlier test left the pointer at: Qt drops a move that does not move.
    QTest::mouseMove(target->Peer(), QPoint(20, 20));
    const QImage move = shown();
    EXPECT_EQ(move, picture(crDrag));
    // The pointer moves on with Ctrl held.
    QMouseEvent withCtrl(QEvent::MouseMove, QPointF(22, 20), QPointF(target->Peer()->mapToGlobal(QPoint(22, 20))),
                         Qt::NoButton, Qt::NoButton, Qt::ControlModifier);
    QCoreApplication::sendEvent(target->Peer(), &withCtrl);
    const QImage copy = shown();
    EXPECT_EQ(copy, picture(crcxDragCopy));
    QTest::mouseMove(form->Peer(), QPoint(280, 200));
    EXPECT_EQ(shown(), picture(crNoDrop));
    QTest::mouseRelease(form->Peer(), Qt::LeftButton, {}, QPoint(280, 200));
    EXPECT_FALSE(c->Dragging());

    // Both are the arrow (its tip at the hot spot) with a box at its foot; only the copy's box
    // carries the plus, and only the move's box is dotted.
    ASSERT_FALSE(move.isNull());
    auto black = [](const QImage& i, int x, int y) { return i.pixel(x, y) == qRgba(0, 0, 0, 255); };
    for (const QImage* i : {&move, &copy})
        EXPECT_TRUE(black(*i, 0, 0) && black(*i, 0, 10));
    EXPECT_TRUE(black(copy, 13, 24));
    EXPECT_EQ(qAlpha(move.pixel(13, 24)), 0);
    EXPECT_TRUE(black(move, 8, 20) && !black(move, 9, 20));
    EXPECT_TRUE(black(copy, 8, 20) && black(copy, 9, 20));
    // Several items: three boxes.
    EXPECT_NE(picture(crMultiDrag), move);
    EXPECT_NE(picture(crcxMultiDragCopy), picture(crMultiDrag));
    SavePicture(move, "cursor-drag.png", 6);
    SavePicture(copy, "cursor-drag-copy.png", 6);
    SavePicture(picture(crMultiDrag), "cursor-multi-drag.png", 6);
}

TEST_F(DragTest, DragImagesOnlyWithASize)
{
    EXPECT_EQ(c->GetDragImages(), nullptr); // (0, 0): no list for the platform
    c->imageSize = {16, 12};
    auto* c2 = new DragControl(form);
    c2->imageSize = {16, 12};
    TDragImageList* images = c2->GetDragImages();
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(images->Count(), 1);
    EXPECT_EQ(images->GetWidth(), 16);
    c2->Free();
}

TEST(CxDragAndDropArrow, BoundsAreClampedIntoTheClientRectangle)
{
    struct Case {
        TRect line, client;
        TcxArrowPlace place;
        TRect bounds;
    };
    const TRect client{0, 0, 100, 50};
    for (const Case& c : {
             Case{{10, 20, 90, 21}, client, apLeft, {1, 15, 10, 26}},
             Case{{10, 20, 90, 21}, client, apRight, {90, 15, 99, 26}},
             Case{{-20, 20, 200, 21}, client, apLeft, {-9, 15, 0, 26}},   // clamped line start
             Case{{-20, 20, 200, 21}, client, apRight, {99, 15, 108, 26}}, // last pixel column
             Case{{30, 5, 31, 45}, client, apTop, {25, -4, 36, 5}},
             Case{{30, 5, 31, 80}, client, apBottom, {25, 49, 36, 58}},   // last pixel row
             Case{{30, 5, 31, 80}, {}, apBottom, {25, 80, 36, 89}},       // no client rectangle
         })
        EXPECT_EQ(GetDragAndDropArrowBounds(c.line, c.client, c.place), c.bounds) << c.place;
}

TEST(CxDragAndDropArrow, PolygonsForDrawingAndForTheRegion)
{
    using P = TcxArrowPoints;
    struct Case {
        TcxArrowPlace place;
        bool forRegion;
        P points;
    };
    const TRect horz{0, 0, 9, 11}, vert{0, 0, 11, 9};
    const Case cases[] = {
        {apLeft, false, P{{{3, 0}, {3, 3}, {0, 3}, {0, 7}, {3, 7}, {3, 10}, {8, 5}}}},
        {apLeft, true, P{{{3, -1}, {3, 3}, {0, 3}, {0, 8}, {3, 8}, {3, 11}, {9, 5}}}},
        {apRight, false, P{{{5, 0}, {5, 3}, {8, 3}, {8, 7}, {5, 7}, {5, 10}, {0, 5}}}},
        {apTop, false, P{{{3, 0}, {7, 0}, {7, 3}, {10, 3}, {5, 8}, {0, 3}, {3, 3}}}},
        {apBottom, false, P{{{3, 8}, {7, 8}, {7, 5}, {10, 5}, {5, 0}, {0, 5}, {3, 5}}}},
        {apBottom, true, P{{{3, 9}, {8, 9}, {8, 6}, {11, 6}, {5, -1}, {-1, 6}, {3, 5}}}},
    };
    for (const Case& c : cases) {
        P got;
        GetDragAndDropArrowPoints(c.place == apLeft || c.place == apRight ? horz : vert, c.place, got, c.forRegion);
        EXPECT_EQ(got, c.points) << c.place << " region " << c.forRegion;
    }
}

TEST_F(DragTest, FeedbackWindows)
{
    // The hot spot stays under the pointer.
    auto* image = new TcxDragImage(form);
    image->Init({100, 50, 140, 70}, {110, 55});
    EXPECT_EQ(image->HotSpot(), (TPoint{10, 5}));
    image->MoveTo({300, 300});
    EXPECT_EQ(image->BoundsRect(), (TRect{290, 295, 330, 315}));
    EXPECT_EQ(image->Image()->GetWidth(), 40);
    image->SetVisible(true);
    EXPECT_TRUE(image->GetVisible());
    EXPECT_TRUE(image->Peer()->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(form->Active()); // shown without taking the activation
    image->SetVisible(false);
    EXPECT_FALSE(image->GetVisible());

    // The size frame keeps a band of its width along the outline.
    auto* frame = new TcxSizeFrame(3, form);
    frame->HandleNeeded();
    frame->DrawSizeFrame({200, 200, 240, 230});
    gdi::Region rgn;
    ASSERT_NE(frame->GetWindowRgn(rgn), RGN_ERROR);
    EXPECT_TRUE(rgn.Contains(0, 0));
    EXPECT_TRUE(rgn.Contains(2, 15));
    EXPECT_FALSE(rgn.Contains(3, 15));
    EXPECT_TRUE(rgn.Contains(37, 15));
    EXPECT_FALSE(rgn.Contains(36, 15));
    EXPECT_FALSE(rgn.Contains(20, 15));
    // Too narrow for a band: the window region stays as it was.
    frame->DrawSizeFrame({200, 200, 206, 240});
    gdi::Region after;
    frame->GetWindowRgn(after);
    EXPECT_TRUE(after.Equals(rgn));

    // The arrow window takes its polygon as its region.
    auto* arrow = new TcxDragAndDropArrow(false, form);
    arrow->Init(nullptr, {300, 300, 400, 301}, {}, apLeft);
    EXPECT_EQ(arrow->BoundsRect(), (TRect{291, 295, 300, 306}));
    gdi::Region shape;
    ASSERT_NE(arrow->GetWindowRgn(shape), RGN_ERROR);
    EXPECT_TRUE(shape.Contains(8, 5));  // the tip
    EXPECT_FALSE(shape.Contains(0, 0)); // outside the shaft
    EXPECT_EQ(TColor(ColorToRGB(arrow->Image()->Canvas()->GetPixel(4, 5))), TColor(ColorToRGB(clLime)));
}
