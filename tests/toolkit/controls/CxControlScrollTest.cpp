// The control's own scroll bars: parameters and visibility, the lock, wheel scrolling, the size
// grip, panning speed and the panning loop.
#include "tests/toolkit/controls/ControlsTestSupport.h"
#include "platform/vcl/Desktop.h"

#include <QCursor>
#include <QTimer>

using namespace cx;

namespace {
// Content of a given size in pixels, scrolled by pixel bars when `pixel` is set.
class ContentControl : public TcxControl {
public:
    using TcxControl::TcxControl;
    int contentWidth = 0, contentHeight = 0;
    bool pixel = true;
    bool allowHide = true;
    int inits = 0;
    std::vector<std::pair<TScrollBarKind, TScrollCode>> scrolls;
    void InitScrollBarsParameters() override
    {
        ++inits;
        const TRect r = GetClientBounds();
        SetScrollBarInfo(sbHorizontal, 0, contentWidth - 1, 1, r.Width(), 0, true, allowHide);
        SetScrollBarInfo(sbVertical, 0, contentHeight - 1, 1, r.Height(), 0, true, allowHide);
    }
    bool IsPixelScrollBar(TScrollBarKind) const override { return pixel; }
    void Scroll(TScrollBarKind kind, TScrollCode code, int&) override { scrolls.push_back({kind, code}); }
};
} // namespace

class CxControlScrollTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        c = new ContentControl(form);
        c->SetBounds(10, 10, 200, 150);
        c->SetParent(form);
    }
    ContentControl* c = nullptr;
};

TEST_F(CxControlScrollTest, BarsFollowTheContentAndTheScrollBarsProperty)
{
    ASSERT_TRUE(Activate(form));
    c->contentWidth = 100, c->contentHeight = 400;
    c->UpdateScrollBars();
    EXPECT_TRUE(c->VScrollBarVisible());
    EXPECT_FALSE(c->HScrollBarVisible());
    EXPECT_EQ(c->GetClientBounds(), (TRect{0, 0, 200 - 16, 150}));
    EXPECT_EQ(c->VScrollBar()->BoundsRect(), (TRect{184, 0, 200, 150}));
    EXPECT_FALSE(c->SizeGrip()->Visible());
    c->SetScrollBars(ssNone);
    EXPECT_FALSE(c->VScrollBarVisible());
    EXPECT_EQ(c->GetClientBounds().Width(), 200);
    // Both bars: the grip fills the corner.
    c->SetScrollBars(ssBoth);
    c->contentWidth = 400;
    c->UpdateScrollBars();
    EXPECT_TRUE(c->HScrollBarVisible() && c->VScrollBarVisible());
    EXPECT_TRUE(c->SizeGrip()->Visible());
    EXPECT_EQ(c->SizeGrip()->BoundsRect(), (TRect{184, 134, 200, 150}));
    EXPECT_EQ(PixelOf(c->SizeGrip(), 3, 3), Sys(clBtnFace));
}

TEST_F(CxControlScrollTest, LookAndFeelKindRepaintsTheBarsAndMovesTheBorder)
{
    c->LookAndFeel()->SetKind(lfStandard);
    c->SetBorderStyle(cxcbsDefault);
    ASSERT_TRUE(Activate(form));
    c->contentWidth = 400, c->contentHeight = 400;
    c->UpdateScrollBars();
    ASSERT_TRUE(c->HScrollBarVisible());
    auto arrowPixels = [&] {
        std::vector<TColor> pixels;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                pixels.push_back(PixelOf(c->HScrollBar(), x, y));
        return pixels;
    };
    const std::vector<TColor> standard = arrowPixels();
    EXPECT_EQ(c->GetClientBounds().Left, 2);
    // The bars follow the control's look and feel as their master.
    c->LookAndFeel()->SetKind(lfUltraFlat);
    EXPECT_EQ(c->HScrollBar()->LookAndFeel()->GetKind(), lfUltraFlat);
    EXPECT_EQ(c->HScrollBar()->GetPainter(), TcxUltraFlatLookAndFeelPainter::Class());
    EXPECT_NE(arrowPixels(), standard);
    // The thinner ultra-flat border moves the client area and the bars.
    EXPECT_EQ(c->GetClientBounds().Left, 1);
    EXPECT_EQ(c->HScrollBar()->Left(), 1);
}

TEST_F(CxControlScrollTest, NothingToScrollHidesOrDisables)
{
    ASSERT_TRUE(Activate(form));
    c->LockScrollBars();
    c->SetScrollBarInfo(sbVertical, 0, 9, 1, 10, 0, true, true);
    EXPECT_FALSE(c->VScrollBar()->Data.Visible);
    c->SetScrollBarInfo(sbVertical, 0, 9, 1, 10, 0, true, false);
    EXPECT_TRUE(c->VScrollBar()->Data.Visible);
    EXPECT_FALSE(c->VScrollBar()->Data.Enabled);
    // Inverted ranges and positions below the minimum are accepted quietly.
    c->SetScrollBarInfo(sbVertical, 10, 0, 1, 1, 0, true, true);
    c->SetScrollBarInfo(sbVertical, 0, 10, 1, 1, -5, true, true);
    EXPECT_FALSE(c->VScrollBar()->Data.Visible);
    c->UnlockScrollBars();
}

TEST_F(CxControlScrollTest, ContentThatFitsWithoutBothBarsHidesBothPixelBars)
{
    ASSERT_TRUE(Activate(form));
    c->contentWidth = 195, c->contentHeight = 145; // fits 200 x 150, not 184 x 134
    c->UpdateScrollBars();
    EXPECT_FALSE(c->HScrollBarVisible());
    EXPECT_FALSE(c->VScrollBarVisible());
    c->pixel = false;
    c->contentWidth = 195, c->contentHeight = 300;
    c->UpdateScrollBars();
    EXPECT_TRUE(c->VScrollBarVisible());
    EXPECT_TRUE(c->HScrollBarVisible()); // the vertical bar's presence makes 195 too wide
}

TEST_F(CxControlScrollTest, LocksRunOneUpdateAtTheLastUnlock)
{
    ASSERT_TRUE(Activate(form));
    c->UnlockScrollBars(); // at 0: nothing
    c->LockScrollBars();
    c->LockScrollBars();
    c->LockScrollBars();
    const int before = c->inits;
    c->UpdateScrollBars();
    c->UpdateScrollBars();
    c->UnlockScrollBars();
    c->UnlockScrollBars();
    EXPECT_EQ(c->inits, before);
    c->UnlockScrollBars();
    EXPECT_GT(c->inits, before);
}

TEST_F(CxControlScrollTest, WheelScrollsLinesOfTheVerticalBar)
{
    ASSERT_TRUE(Activate(form));
    c->contentHeight = 400, c->contentWidth = 10;
    c->UpdateScrollBars();
    EXPECT_TRUE(c->Perform(WM_MOUSEWHEEL, WPARAM(std::uint32_t(-WHEEL_DELTA) << 16), 0) || !c->scrolls.empty());
    ASSERT_EQ(c->scrolls.size(), 3u); // three wheel lines
    EXPECT_EQ(c->scrolls[0], (std::pair{sbVertical, scLineDown}));
}

TEST_F(CxControlScrollTest, ClickingABarFocusesTheControl)
{
    ASSERT_TRUE(Activate(form));
    c->contentHeight = 400;
    c->UpdateScrollBars();
    EXPECT_FALSE(c->Focused());
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(c->VScrollBar(), 5, 5), MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(c->VScrollBar(), 5, 5), 0);
    EXPECT_TRUE(c->Focused());
}

TEST(CxPanning, SpeedGrowsWithDistance)
{
    const int w = cxPanningAnchorWidth;
    TcxPanningState st;
    cxCalcPanning({100 + w / 2 + 4, 100}, {100, 100}, w, true, true, st);
    EXPECT_EQ(st.Direction, dirRight);
    EXPECT_EQ(st.Speed, 1);
    EXPECT_TRUE(st.MovedOut);
    cxCalcPanning({100, 100 - w / 2 - 55}, {100, 100}, w, true, true, st);
    EXPECT_EQ(st.Direction, dirUp);
    EXPECT_EQ(st.Speed, 12);
    cxCalcPanning({100, 1000}, {100, 100}, w, true, true, st);
    EXPECT_EQ(st.Speed, 12);
    // Equal offsets with both bars go vertical; without a vertical bar the height is neutral.
    cxCalcPanning({150, 150}, {100, 100}, w, true, true, st);
    EXPECT_EQ(st.Direction, dirDown);
    TcxPanningState onlyH;
    cxCalcPanning({100, 900}, {100, 100}, w, true, false, onlyH);
    EXPECT_EQ(onlyH.Direction, dirNone);
    EXPECT_FALSE(onlyH.MovedOut);
}

// The panning cursors point where the content goes: one head for a direction, two for the
// neutral cursor of one bar, four for both; each head points its own way.
TEST_F(CxControlScrollTest, PanningCursorsPointTheirWays)
{
    cxControlsUnit::RegisterScreenCursors(); // as the program's start does
    auto image = [](TCursor id) {
        return vcl::CursorOf(Screen->Cursors(id)).pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    };
    auto ink = [](const QImage& i, int x, int y) { return i.pixel(x, y) == qRgba(0, 0, 0, 255); };
    // Probes just inside each edge's head, on the centre lines.
    struct Heads {
        TCursor id;
        bool up, down, left, right;
    } cases[] = {{crcxUpScroll, true, false, false, false},    {crcxDownScroll, false, true, false, false},
                 {crcxLeftScroll, false, false, true, false},  {crcxRightScroll, false, false, false, true},
                 {crcxVerScroll, true, true, false, false},    {crcxHorScroll, false, false, true, true},
                 {crcxFullScroll, true, true, true, true}};
    for (const Heads& h : cases) {
        const QImage i = image(h.id);
        ASSERT_EQ(i.size(), QSize(25, 25)) << h.id;
        EXPECT_TRUE(ink(i, 12, 12)) << h.id;   // the dot where the button went down
        EXPECT_EQ(ink(i, 12, 3), h.up) << h.id;
        EXPECT_EQ(ink(i, 12, 21), h.down) << h.id;
        EXPECT_EQ(ink(i, 3, 12), h.left) << h.id;
        EXPECT_EQ(ink(i, 21, 12), h.right) << h.id;
    }
    SavePicture(image(crcxFullScroll), "cursor-pan-full.png", 6);
    SavePicture(image(crcxRightScroll), "cursor-pan-right.png", 6);
    EXPECT_EQ(image(crcxRightScroll), image(crcxLeftScroll).mirrored(true, false));
    EXPECT_EQ(image(crcxDownScroll), image(crcxUpScroll).mirrored(false, true));
}

TEST_F(CxControlScrollTest, MiddleClickPansUntilTheNextClick)
{
    ASSERT_TRUE(Activate(form));
    c->contentHeight = 400, c->contentWidth = 10;
    c->UpdateScrollBars();
    const TPoint at = ScreenOf(c, 50, 50);
    Fixed().SetCursorPos(at);
    bool stillPanningAfterRelease = false;
    int scrollsWhilePanning = 0;
    TRect anchorBounds;
    bool anchorShown = false;
    // Timers die with the test: a late one must not reach a later test (or dead locals).
    QObject timers;
    QTimer::singleShot(20, &timers, [&] {
        if (TWinControl* anchor = c->PanningAnchorWindow()) {
            anchorBounds = anchor->BoundsRect();
            anchorShown = anchor->Peer() && anchor->Peer()->isVisible() && anchor->Peer()->windowType() == Qt::ToolTip;
        }
        // Release without moving: panning goes on hands-free.
        vcl::input::InjectMouse(WM_MBUTTONUP, at, 0);
        stillPanningAfterRelease = c->ScrollingContent();
        vcl::input::InjectMouse(WM_MOUSEMOVE, {at.X, at.Y + 100}, 0);
    });
    QTimer::singleShot(200, &timers, [&] {
        scrollsWhilePanning = int(c->scrolls.size());
        vcl::input::InjectMouse(WM_LBUTTONDOWN, {at.X, at.Y + 100}, MK_LBUTTON);
    });
    QTimer::singleShot(2000, &timers, [] { ReleaseCapture(); }); // bounds the test
    vcl::input::InjectMouse(WM_MBUTTONDOWN, at, MK_MBUTTON);
    EXPECT_TRUE(stillPanningAfterRelease);
    // The anchor marked the starting point while panning ran.
    EXPECT_TRUE(anchorShown);
    constexpr int w = cxPanningAnchorWidth;
    EXPECT_EQ(anchorBounds, (TRect{at.X - w / 2, at.Y - w / 2, at.X - w / 2 + w, at.Y - w / 2 + w}));
    EXPECT_EQ(c->PanningAnchorWindow(), nullptr);
    EXPECT_GT(scrollsWhilePanning, 0);
    EXPECT_EQ(c->scrolls.front(), (std::pair{sbVertical, scLineDown}));
    EXPECT_FALSE(c->ScrollingContent());
    EXPECT_EQ(GetCapture(), nullptr);
}
