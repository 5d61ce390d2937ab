// The painted scroll bar: parameters, layout and hit parts, arrows with repeat, page clicks,
// the thumb drag with its snap-back, kind changes and pixels.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/gdi/GdiConsts.h"

#include <limits>

using namespace cx;

class CxScrollBarTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        sb = new TcxScrollBar(form);
        sb->SetParent(form);
        sb->SetBounds(10, 10, 200, 17); // arrows of 16 (SM_CYHSCROLL), a track of 168
        sb->OnChange = [&](TObject*) { ++changes; };
        sb->OnScroll = [&](TObject*, TScrollCode code, int& pos) { codes.push_back(code), positions.push_back(pos); };
    }
    TcxScrollBar* sb = nullptr;
    int changes = 0;
    std::vector<TScrollCode> codes;
    std::vector<int> positions;
};

TEST_F(CxScrollBarTest, ParametersClampAndValidate)
{
    sb->SetScrollParams(0, 100, 150, 0);
    EXPECT_EQ(sb->Position(), 100);
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(sb->SetScrollParams(0, 10, 0, 20), EInvalidOperation);
    EXPECT_THROW(sb->SetScrollParams(10, 0, 0, 0), EInvalidOperation);
    EXPECT_EQ(sb->Max(), 100);
    sb->SetScrollParams(0, 100, 100, 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(CxScrollBarTest, LayoutAndHitParts)
{
    sb->SetScrollParams(0, 99, 0, 50);
    const auto* vi = sb->ViewInfo();
    EXPECT_EQ(vi->TopLeftArrowRect, (TRect{0, 0, 16, 17}));
    EXPECT_EQ(vi->BottomRightArrowRect, (TRect{184, 0, 200, 17}));
    EXPECT_EQ(vi->ThumbnailRect.Width(), 84); // half the track
    EXPECT_EQ(sb->GetScrollBarPart({5, 5}), sbpLineUp);
    EXPECT_EQ(sb->GetScrollBarPart({190, 5}), sbpLineDown);
    EXPECT_EQ(sb->GetScrollBarPart({30, 5}), sbpThumbnail);
    EXPECT_EQ(sb->GetScrollBarPart({150, 5}), sbpPageDown);
    EXPECT_EQ(sb->GetScrollBarPart({250, 5}), sbpNone);
    // Max = Min: no thumb and no page areas.
    sb->SetScrollParams(5, 5, 5, 0);
    EXPECT_TRUE(cxRectIsEmpty(sb->ViewInfo()->ThumbnailRect));
    EXPECT_EQ(sb->GetScrollBarPart({100, 5}), sbpNone);
}

// The whole int range (Min = INT_MIN, Max = INT_MAX) used to overflow the thumb arithmetic.
TEST_F(CxScrollBarTest, FullIntRangePlacesTheThumbAndScrolls)
{
    constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    const auto* vi = sb->ViewInfo();
    const int track = vi->BottomRightArrowRect.Left - vi->TopLeftArrowRect.Right;
    sb->SetScrollParams(lo, hi, lo, 0);
    EXPECT_EQ(vi->ThumbnailRect.Left, vi->TopLeftArrowRect.Right);
    sb->SetScrollParams(lo, hi, hi, 0);
    EXPECT_EQ(vi->ThumbnailRect.Right, vi->BottomRightArrowRect.Left);
    sb->SetScrollParams(lo, hi, 0, 0);
    EXPECT_NEAR(vi->ThumbnailRect.Left + vi->ThumbnailRect.Width() / 2, vi->TopLeftArrowRect.Right + track / 2, 1);
    // A page of half the range: a thumb of half the track, at the start.
    sb->SetScrollParams(lo, hi, lo, hi);
    EXPECT_NEAR(vi->ThumbnailRect.Width(), track / 2, 1);
    EXPECT_EQ(vi->ThumbnailRect.Left, vi->TopLeftArrowRect.Right);
    // Line steps at the ends stay inside the range.
    sb->SetScrollParams(lo, hi, lo, 0);
    sb->SmallChange = 5;
    sb->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    sb->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
    EXPECT_EQ(sb->Position(), lo);
    sb->SetScrollParams(lo, hi, hi, 0);
    sb->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(195, 5));
    sb->Perform(WM_LBUTTONUP, 0, MakeLParam(195, 5));
    EXPECT_EQ(sb->Position(), hi);
}

TEST_F(CxScrollBarTest, ArrowClickScrollsAndRepeatsWhileHeld)
{
    ASSERT_TRUE(Activate(form));
    sb->SetScrollParams(0, 100, 50, 0);
    changes = 0;
    sb->SmallChange = 2;
    Fixed().SetCursorPos(ScreenOf(sb, 190, 5));
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(sb, 190, 5), MK_LBUTTON);
    EXPECT_EQ(sb->Position(), 52);
    EXPECT_EQ(sb->State(), sbpLineDown);
    EXPECT_EQ(sb->RepeatTimer()->Interval(), 400u);
    EXPECT_TRUE(sb->RepeatTimer()->Enabled());
    // Moving off the arrow pauses the repeat; moving back resumes it.
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(sb, 100, 5), MK_LBUTTON);
    EXPECT_FALSE(sb->RepeatTimer()->Enabled());
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(sb, 190, 5), MK_LBUTTON);
    EXPECT_TRUE(sb->RepeatTimer()->Enabled());
    // A tick: 60 ms from now on, one more step.
    sb->RepeatTimer()->TimeOut();
    EXPECT_EQ(sb->RepeatTimer()->Interval(), 60u);
    EXPECT_EQ(sb->Position(), 54);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(sb, 190, 5), 0);
    EXPECT_EQ(sb->State(), sbpNone);
    EXPECT_FALSE(sb->RepeatTimer()->Enabled());
    EXPECT_EQ(codes.back(), scEndScroll);
    EXPECT_EQ(changes, 2);
}

TEST_F(CxScrollBarTest, PageClickMovesByLargeChange)
{
    ASSERT_TRUE(Activate(form));
    sb->SetScrollParams(0, 100, 0, 0);
    sb->LargeChange = 10;
    const TRect down = sb->ViewInfo()->PageDownRect;
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(sb, down.Right - 2, 5), MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(sb, down.Right - 2, 5), 0);
    EXPECT_EQ(sb->Position(), 10);
}

TEST_F(CxScrollBarTest, ThumbDragTracksAndSnapsBackWhenTooFarAway)
{
    ASSERT_TRUE(Activate(form));
    sb->SetScrollParams(0, 99, 0, 50);
    const TRect thumb = sb->ViewInfo()->ThumbnailRect;
    const int y = 8, x0 = thumb.Left + 5;
    vcl::input::InjectMouse(WM_LBUTTONDOWN, ScreenOf(sb, x0, y), MK_LBUTTON);
    EXPECT_EQ(sb->State(), sbpThumbnail);
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(sb, x0 + 40, y), MK_LBUTTON);
    const int mid = sb->Position();
    EXPECT_GT(mid, 0);
    EXPECT_EQ(codes.back(), scTrack);
    EXPECT_EQ(changes, 0); // tracking stores the field only
    // 200 pixels off the bar: the position saved at the press comes back.
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(sb, x0 + 40, y + 200), MK_LBUTTON);
    EXPECT_EQ(sb->Position(), 0);
    // Back and to the very end: position 50 (Max - PageSize + 1).
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(sb, x0 + 500, y), MK_LBUTTON);
    vcl::input::InjectMouse(WM_MOUSEMOVE, ScreenOf(sb, x0 + 150, y), MK_LBUTTON);
    EXPECT_EQ(sb->Position(), 50);
    vcl::input::InjectMouse(WM_LBUTTONUP, ScreenOf(sb, x0 + 150, y), 0);
    EXPECT_EQ(sb->Position(), 50);
    EXPECT_EQ(codes[codes.size() - 2], scPosition);
    EXPECT_EQ(codes.back(), scEndScroll);
}

TEST_F(CxScrollBarTest, KindChangeExchangesWidthAndHeight)
{
    sb->SetKind(sbVertical);
    EXPECT_EQ(sb->Width(), 17);
    EXPECT_EQ(sb->Height(), 200);
    EXPECT_EQ(sb->ViewInfo()->BottomRightArrowRect, (TRect{0, 184, 17, 200}));
}

TEST_F(CxScrollBarTest, PaintsArrowsThumbAndTrack)
{
    sb->LookAndFeel()->SetKind(lfStandard);
    ASSERT_TRUE(Activate(form));
    sb->SetScrollParams(0, 99, 0, 50);
    sb->Invalidate();
    // The track is the painters' checkerboard of button face and highlight.
    auto isTrack = [&](int x, int y) {
        const TColor a = PixelOf(sb, x, y), b = PixelOf(sb, x + 1, y);
        return a != b && (a == Sys(clBtnFace) || a == Sys(clBtnHighlight)) &&
               (b == Sys(clBtnFace) || b == Sys(clBtnHighlight));
    };
    const TRect thumb = sb->ViewInfo()->ThumbnailRect;
    EXPECT_EQ(PixelOf(sb, thumb.Left + 5, 8), Sys(clBtnFace));
    EXPECT_TRUE(isTrack(150, 8));
    EXPECT_EQ(PixelOf(sb, 8, 8), Sys(clBtnText)); // the arrow glyph's middle
    sb->SetEnabled(false);
    EXPECT_TRUE(isTrack(150, 8));
    EXPECT_TRUE(cxRectIsEmpty(sb->ViewInfo()->ThumbnailRect));
}
