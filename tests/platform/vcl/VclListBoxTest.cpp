// The plain list box's frame and scroll bars, worked with the real mouse and checked in pixels.
#include "VclTestSupport.h"

#include "platform/gdi/GdiConsts.h"
#include "platform/vcl/ListBox.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

class VclListBoxTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 300, 220);
        list = new TListBox(form);
        list->SetBounds(10, 10, 150, 100);
        list->SetParent(form);
        for (int i = 0; i < 30; ++i)
            list->Items()->Add("抄表项 " + std::to_string(i));
        ASSERT_TRUE(Activate(form));
    }
    void TearDown() override { form->Free(); }
    TColor Pixel(int x, int y)
    {
        list->Update();
        return TColor(gdi::PixelToColor(list->Surface().Pixel(x, y)));
    }
    static TColor Sys(TColor c) { return TColor(ColorToRGB(c)); }
    void Click(const TRect& r)
    {
        const QPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        QTest::mousePress(list->Peer(), Qt::LeftButton, {}, p);
        QTest::mouseRelease(list->Peer(), Qt::LeftButton, {}, p);
        vcl::DrainPostedMessages();
        Fixed().ticks += 1000;   // never a double click
    }
    TForm* form = nullptr;
    TListBox* list = nullptr;
};

TEST_F(VclListBoxTest, ASunkenFrameAndAClassicBarAreDrawn)
{
    // The frame: shadow and dark shadow at the top left, highlight and light at the bottom right.
    EXPECT_EQ(Pixel(0, 50), Sys(clBtnShadow));
    EXPECT_EQ(Pixel(1, 50), Sys(cl3DDkShadow));
    EXPECT_EQ(Pixel(149, 50), Sys(clBtnHighlight));
    EXPECT_EQ(Pixel(50, 99), Sys(clBtnHighlight));
    const TRect items = list->ItemsArea();
    EXPECT_EQ(items, (TRect{2, 2, 148 - 16, 98}));
    EXPECT_EQ(list->ItemRect(0).Top, 2);

    const auto parts = list->ScrollBarParts(sbVertical);
    EXPECT_EQ(parts.LineUp, (TRect{132, 2, 148, 18}));
    EXPECT_EQ(parts.LineDown, (TRect{132, 82, 148, 98}));
    ASSERT_FALSE(parts.Thumb.Width() <= 0 || parts.Thumb.Height() <= 0);
    EXPECT_EQ(parts.Thumb.Top, 18);   // at the top: TopIndex 0
    // The arrows are raised buttons with a black head; the thumb a raised button on a checkered
    // track.
    EXPECT_EQ(Pixel(133, 3), Sys(clBtnHighlight));
    int ink = 0;
    for (int y = 3; y < 17; ++y)
        for (int x = 133; x < 147; ++x)
            ink += Pixel(x, y) == Sys(clBtnText);
    EXPECT_GE(ink, 9);
    EXPECT_EQ(Pixel(parts.Thumb.Left + 1, parts.Thumb.Top + 1), Sys(clBtnHighlight));
    EXPECT_EQ(Pixel(parts.Thumb.Left + 4, parts.Thumb.Top + 4), Sys(clBtnFace));
    const int trackY = parts.Thumb.Bottom + 2;
    EXPECT_NE(Pixel(136, trackY), Pixel(137, trackY));
    EXPECT_EQ(Pixel(136, trackY), Pixel(137, trackY + 1));
    SaveSurface(list, "listbox-bar.png");

    // Few items: no bar, the items reach the frame.
    while (list->Items()->Count() > 3)
        list->Items()->Delete(list->Items()->Count() - 1);
    EXPECT_EQ(list->ItemsArea(), (TRect{2, 2, 148, 98}));
    EXPECT_EQ(Pixel(140, 50), Sys(clWindow));
}

TEST_F(VclListBoxTest, TheBarScrollsByLineByPageAndByItsThumb)
{
    const int rows = list->ItemsArea().Height() / list->ItemHeight();
    int scrolled = 0;
    list->OnScrolled = [&](rtl::TObject*) { ++scrolled; };
    Click(list->ScrollBarParts(sbVertical).LineDown);
    EXPECT_EQ(list->TopIndex(), 1);
    Click(list->ScrollBarParts(sbVertical).LineUp);
    EXPECT_EQ(list->TopIndex(), 0);
    Click(list->ScrollBarParts(sbVertical).PageDown);
    EXPECT_EQ(list->TopIndex(), rows);
    Click(list->ScrollBarParts(sbVertical).PageUp);
    EXPECT_EQ(list->TopIndex(), 0);
    EXPECT_EQ(scrolled, 4);
    // A press on the bar selects nothing.
    EXPECT_EQ(list->ItemIndex(), -1);

    // The thumb dragged to the end shows the last rows; dragged back half way, the middle.
    const TRect thumb = list->ScrollBarParts(sbVertical).Thumb;
    const QPoint grab((thumb.Left + thumb.Right) / 2, thumb.Top + 2);
    QTest::mousePress(list->Peer(), Qt::LeftButton, {}, grab);
    QTest::mouseMove(list->Peer(), QPoint(grab.x(), 97));
    EXPECT_EQ(list->TopIndex(), 30 - rows);
    const TRect track{0, 18, 0, 82};
    QTest::mouseMove(list->Peer(), QPoint(grab.x(), track.Top + 2 + (track.Height() - thumb.Height()) / 2));
    EXPECT_NEAR(list->TopIndex(), (30 - rows) / 2, 1);
    QTest::mouseRelease(list->Peer(), Qt::LeftButton, {}, QPoint(grab.x(), 40));
    vcl::DrainPostedMessages();
    EXPECT_EQ(GetCapture(), nullptr);
    // The item pressed next is the one under the pointer, below the frame.
    const int top = list->TopIndex();
    Click({20, list->ItemRect(top + 1).Top + 1, 21, list->ItemRect(top + 1).Top + 2});
    EXPECT_EQ(list->ItemIndex(), top + 1);
}

} // namespace
