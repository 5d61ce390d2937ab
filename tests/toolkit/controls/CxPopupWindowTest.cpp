// The pop-up window base: placement against the work area, borders, sizing and the frame.
#include "tests/toolkit/controls/ControlsTestSupport.h"

using namespace cx;

class CxPopupWindowTest : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        popup = new TcxPopupWindow(form);
        popup->SetBounds(0, 0, 150, 200);
    }
    TcxPopupWindow* popup = nullptr;
};

// The fixed work area is (0, 0, 1024, 738).
TEST_F(CxPopupWindowTest, VerticalPlacementFlipsOnlyWhenThereIsMoreRoomAbove)
{
    popup->OwnerBounds = {100, 600, 200, 620};
    EXPECT_EQ(popup->CalculatePosition(), (TPoint{100, 400}));
    popup->OwnerBounds = {100, 150, 200, 170};
    popup->SetHeight(600);
    // Does not fit below, but there is more room below: stays below past the bottom edge.
    EXPECT_EQ(popup->CalculatePosition(), (TPoint{100, 170}));
    popup->SetHeight(200);
    popup->AlignVert = pavTop;
    popup->OwnerBounds = {100, 50, 200, 70};
    EXPECT_EQ(popup->CalculatePosition(), (TPoint{100, 70}));
    EXPECT_EQ(popup->AlignVert, pavTop); // the property itself never changes
}

TEST_F(CxPopupWindowTest, CrossDirectionIsClampedIntoTheWorkArea)
{
    popup->OwnerBounds = {950, 100, 1000, 120};
    EXPECT_EQ(popup->CalculatePosition(), (TPoint{1024 - 150, 120}));
    popup->SetWidth(2000);
    EXPECT_EQ(popup->CalculatePosition().X, 0);
    popup->SetWidth(150);
    popup->Direction = pdHorizontal;
    popup->AlignHorz = pahRight;
    popup->AlignVert = pavTop;
    popup->OwnerBounds = {900, 700, 1000, 720};
    // Beside: no room on the right and more on the left flips it; Y is clamped.
    EXPECT_EQ(popup->CalculatePosition(), (TPoint{750, 738 - 200}));
}

TEST_F(CxPopupWindowTest, OwnerBoundsAreInTheOwnerParentsClientCoordinates)
{
    popup->OwnerParent = form; // form client origin at (100, 100)
    popup->OwnerBounds = {10, 10, 60, 30};
    EXPECT_EQ(popup->GetOwnerScreenBounds(), (TRect{110, 110, 160, 130}));
    popup->Popup();
    EXPECT_EQ(popup->BoundsRect(), (TRect{110, 130, 260, 330}));
    EXPECT_TRUE(popup->Visible());
    popup->CloseUp();
    EXPECT_FALSE(popup->Visible());
}

TEST_F(CxPopupWindowTest, BordersAndSizing)
{
    popup->SetPopupBorderStyle(pbs3D);
    popup->SetBorderSpace(2);
    for (TcxBorder b : {bLeft, bTop, bRight, bBottom})
        EXPECT_EQ(popup->GetBorderWidth(b), 4);
    EXPECT_EQ(popup->GetNCWidth(), 8);
    // No children: the size stays.
    popup->CalculateSize();
    EXPECT_EQ(popup->Width(), 150);
    auto* child = new TCustomControl(popup);
    child->SetBounds(0, 0, 50, 30);
    child->SetParent(popup);
    popup->CalculateSize();
    EXPECT_EQ(child->BoundsRect(), (TRect{4, 4, 54, 34}));
    EXPECT_EQ(popup->Width(), 58);
    EXPECT_EQ(popup->Height(), 38);
    popup->RestoreControlsBounds();
    EXPECT_EQ(child->BoundsRect(), (TRect{0, 0, 50, 30}));
}

TEST_F(CxPopupWindowTest, PaintsTheUltraFlatFrame)
{
    popup->SetPopupBorderStyle(pbsUltraFlat);
    popup->FrameColor = clRed;
    popup->Popup();
    ASSERT_TRUE(SpinUntil([&] { return popup->HandleAllocated(); }));
    popup->Invalidate();
    EXPECT_EQ(PixelOf(popup, 0, 0), TColor(clRed));
    EXPECT_EQ(PixelOf(popup, 149, 100), TColor(clRed));
    EXPECT_EQ(PixelOf(popup, 5, 5), Sys(clBtnFace));
}
