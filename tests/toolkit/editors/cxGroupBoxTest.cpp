// The group box: caption rectangles for the 13 alignments, extents, panel style, the frame
// pixels, custom drawing and the caption's accelerator.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "platform/gdi/Text.h"
#include "platform/vcl/StdCtrls.h"
#include "toolkit/editors/cxGroupBox.h"

#include <QTest>

using namespace cx;

class CxGroupBoxTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        ASSERT_TRUE(Activate(form));
        box = new TcxGroupBox(form);
        box->SetParent(form);
        box->SetBounds(10, 10, 185, 105);
        TFont font;
        font.Assign(box->Style()->GetFont());
        font.SetHeight(-16); // fake font: 8 pixels a character, 16 high
        box->Style()->SetFont(&font);
        box->Style()->SetBorderStyle(cbs3D);
        box->Style()->GetLookAndFeel()->SetKind(lfStandard);
        box->SetCaption("Header");
        box->UpdateCaption();
    }
    void TearDown() override
    {
        ControlBaseTest::TearDown();
        gdi::SetFontEngine(nullptr);
    }
    TcxGroupBox* box = nullptr;
};

TEST_F(CxGroupBoxTest, CaptionRectangleForEachAlignment)
{
    // "Header" measures 48 x 16 in the fake font; the box is 185 x 105.
    const TRect expected[] = {
        {8, 0, 56, 16},    {68, 0, 116, 16},   {129, 0, 177, 16},   // top
        {8, 89, 56, 105},  {68, 89, 116, 105}, {129, 89, 177, 105}, // bottom
        {0, 8, 16, 56},    {0, 28, 16, 76},    {0, 49, 16, 97},     // left, rotated
        {169, 8, 185, 56}, {169, 28, 185, 76}, {169, 49, 185, 97},  // right, rotated
        {68, 44, 116, 60},                                           // centre
    };
    for (int a = alTopLeft; a <= alCenterCenter; ++a) {
        box->SetAlignment(TcxCaptionAlignment(a));
        EXPECT_EQ(box->GetCaptionRect(), expected[a]) << a;
    }
    box->SetCaption("");
    EXPECT_TRUE(cxRectIsEmpty(box->GetCaptionRect()));
}

// Every caption, turned or not, Latin or Chinese, leaves its ink in its rectangle; the real fonts.
TEST_F(CxGroupBoxTest, EveryCaptionIsDrawnInItsRectangle)
{
    gdi::SetFontEngine(gdi::MakeQtFontEngine());
    box->SetColor(clBtnFace);
    for (const char* caption : {"Header", "电表参数"})
        for (int a = alTopLeft; a <= alCenterCenter; ++a) {
            SCOPED_TRACE(testing::Message() << caption << " " << a);
            box->SetCaption(caption);
            box->SetAlignment(TcxCaptionAlignment(a));
            box->Invalidate();
            const TRect r = box->GetCaptionRect();
            int ink = 0;
            for (int y = r.Top; y < r.Bottom; ++y)
                for (int x = r.Left; x < r.Right; ++x)
                    ink += PixelOf(box, x, y) == Sys(clBtnText);
            EXPECT_GT(ink, 20);
        }
}

TEST_F(CxGroupBoxTest, AShadowNarrowsTheCentringForTopAndLeftCaptionsOnly)
{
    box->Style()->SetShadow(true);
    box->SetAlignment(alTopCenter);
    EXPECT_EQ(box->GetCaptionRect(), (TRect{67, 0, 115, 16}));
    box->SetAlignment(alLeftBottom);
    EXPECT_EQ(box->GetCaptionRect(), (TRect{0, 46, 16, 94}));
    EXPECT_EQ(box->GetFrameBounds(), (TRect{8, 0, 182, 102}));
    box->SetAlignment(alBottomCenter);   // no shadow for bottom captions
    EXPECT_FALSE(box->HasGroupShadow());
    EXPECT_EQ(box->GetCaptionRect(), (TRect{68, 89, 116, 105}));
}

TEST_F(CxGroupBoxTest, ExtentsOnTheCaptionSideOnly)
{
    // Half of "Wg" (16) on the caption side, plus 1 on the top and bottom sides.
    struct Case {
        TcxCaptionAlignment alignment;
        TRect border;
    } cases[] = {{alTopRight, {0, 9, 0, 0}},
                 {alBottomLeft, {0, 0, 0, 9}},
                 {alLeftCenter, {8, 0, 0, 0}},
                 {alRightTop, {0, 0, 8, 0}},
                 {alCenterCenter, {0, 0, 0, 0}}};
    for (const Case& c : cases) {
        box->SetAlignment(c.alignment);
        EXPECT_EQ(box->GetGroupBorderExtent(), c.border) << c.alignment;
    }
    // The centred caption has no border extent and the frame covers the whole box.
    EXPECT_EQ(box->GetFrameBounds(), box->GetClientRect());
    EXPECT_EQ(box->GetGroupClientExtent(), (TRect{2, 2, 2, 2}));
}

TEST_F(CxGroupBoxTest, PanelStyleIndentAndBorderWidth)
{
    TcxPanelStyle* panel = box->PanelStyle();
    panel->SetCaptionIndent(0);
    EXPECT_EQ(panel->CaptionIndent(), 2);
    panel->SetCaptionIndent(1);
    EXPECT_EQ(panel->CaptionIndent(), 2);
    panel->SetCaptionIndent(5);
    EXPECT_EQ(panel->CaptionIndent(), 5);

    panel->SetActive(true);
    const TRect before = box->AdjustClientRect();
    panel->SetBorderWidth(4);
    EXPECT_EQ(box->AdjustClientRect(), cxRectInflate(before, -4, -4));

    // The panel caption lies inside the 3-D frame (2) plus the indent on the named sides; rotated
    // alignments stay horizontal.
    box->SetAlignment(alTopLeft);
    EXPECT_EQ(box->GetCaptionRect(), (TRect{7, 7, 55, 23}));
    box->SetAlignment(alRightBottom);
    EXPECT_EQ(box->GetCaptionRect(), (TRect{130, 82, 178, 98}));
    box->SetAlignment(alCenterCenter);
    EXPECT_EQ(box->GetCaptionRect(), (TRect{68, 44, 116, 60}));
    EXPECT_FALSE(box->IsVerticalText());
}

TEST_F(CxGroupBoxTest, FramePixelsLeaveTheCaptionOut)
{
    // Top caption: the standard group frame at half the caption height + 1.
    EXPECT_EQ(PixelOf(box, 2, 9), Sys(clBtnShadow));
    EXPECT_EQ(PixelOf(box, 2, 10), Sys(clBtnHighlight));
    EXPECT_NE(PixelOf(box, 30, 9), Sys(clBtnShadow));
    EXPECT_EQ(PixelOf(box, 70, 9), Sys(clBtnShadow));
    EXPECT_EQ(PixelOf(box, 183, 103), Sys(clBtnShadow));

    box->Style()->SetBorderStyle(cbsSingle);
    box->Style()->SetBorderColor(clRed);
    EXPECT_EQ(PixelOf(box, 2, 9), Sys(clRed));
    EXPECT_EQ(PixelOf(box, 184, 104), Sys(clRed));

    box->Style()->SetBorderStyle(cbsNone);
    EXPECT_EQ(PixelOf(box, 2, 9), PixelOf(box, 2, 50));
}

TEST_F(CxGroupBoxTest, CustomDrawThatIsDoneReplacesThePainting)
{
    int calls = 0;
    box->OnCustomDraw = [&](TcxCustomGroupBox*, bool& done) {
        ++calls;
        done = true;
    };
    box->Invalidate();
    EXPECT_NE(PixelOf(box, 2, 9), Sys(clBtnShadow));
    EXPECT_GE(calls, 1);
    box->OnCustomDraw = [&](TcxCustomGroupBox*, bool&) {};
    box->Invalidate();
    EXPECT_EQ(PixelOf(box, 2, 9), Sys(clBtnShadow));
}

TEST_F(CxGroupBoxTest, AcceleratorFocusesTheFirstChild)
{
    box->SetCaption("&Group");
    auto* first = new TButton(form);
    first->SetParent(box);
    first->SetBounds(10, 30, 60, 20);
    auto* second = new TButton(form);
    second->SetParent(box);
    second->SetBounds(10, 60, 60, 20);
    auto* outside = new TButton(form);
    outside->SetParent(form);
    outside->SetBounds(10, 150, 60, 20);
    outside->SetFocus();
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'x'), 0);
    EXPECT_TRUE(outside->Focused());
    EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'G'), 1);
    EXPECT_TRUE(first->Focused());
    // The real keys: Alt with the caption's accelerator from a control outside the box.
    box->SetCaption("分组(&G)");
    outside->SetFocus();
    QTest::keyClick(outside->Peer(), Qt::Key_G, Qt::AltModifier);
    vcl::DrainPostedMessages();
    EXPECT_TRUE(first->Focused());
}
