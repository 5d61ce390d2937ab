// The editor view data: container state, frame extents, button layout and states, client
// rectangles, buttons-only stretching, measuring and the display text.
#include "tests/toolkit/editors/EditViewTestSupport.h"
#include "platform/rtl/SysUtils.h"

#include <climits>

namespace {

using EditViewData = EditViewTest;

TEST_F(EditViewData, ButtonsAreLaidOutFromTheEdgesInward)
{
    AddButton(bkDown, 10);                 // A, right
    AddButton(bkEllipsis, 12);             // B, right
    AddButton(bkGlyph, 8, true)->SetVisible(false);
    AddButton(bkEllipsis, 8, true);        // C, left
    AddButton(bkDown, 6, true);            // D, left
    TcxCustomEditViewInfo* v = Calc({0, 0, 100, 20});
    ASSERT_EQ(v->ButtonCount(), 4);
    // Right-aligned A, B read A then B; left-aligned C, D read D then C.
    EXPECT_EQ(ButtonBounds(0), (TRect{77, 1, 87, 19}));
    EXPECT_EQ(ButtonBounds(1), (TRect{87, 1, 99, 19}));
    EXPECT_EQ(ButtonBounds(2), (TRect{7, 1, 15, 19}));
    EXPECT_EQ(ButtonBounds(3), (TRect{1, 1, 7, 19}));
    EXPECT_EQ(v->ButtonsInfo[2]->Index, 3);   // the collection index skips the hidden button
    const auto& d = [&](int i) { return v->ButtonsInfo[i]->Data; };
    EXPECT_TRUE(d(3).Leftmost && !d(3).Rightmost);
    EXPECT_TRUE(d(2).Rightmost && !d(2).Leftmost);
    EXPECT_TRUE(d(0).Leftmost && !d(0).Rightmost);
    EXPECT_TRUE(d(1).Rightmost && !d(1).Leftmost);
    EXPECT_EQ(v->ClientRect, (TRect{15, 1, 77, 19}));
    EXPECT_EQ(v->InnerEditRect, v->ClientRect);
    EXPECT_EQ(d(0).Style, btsHotFlat);   // a single frame's default

    // A button without a width asks the view data's event first.
    properties->Buttons()->Items(1)->SetWidth(0);
    viewData->OnGetDefaultButtonWidth = [](TcxCustomEditViewData*, int index, int& width) {
        if (index == 1)
            width = 9;
    };
    Calc({0, 0, 100, 20});
    EXPECT_EQ(ButtonBounds(1), (TRect{90, 1, 99, 19}));
    properties->Buttons()->Items(1)->SetWidth(12);

    // A button wider than the room keeps its bounds, shows what fits and leaves no client area.
    properties->Buttons()->Items(0)->SetWidth(200);
    Calc({0, 0, 100, 20});
    EXPECT_EQ(ButtonBounds(0), (TRect{-113, 1, 87, 19}));
    EXPECT_EQ(v->ButtonsInfo[0]->VisibleBounds, (TRect{15, 1, 87, 19}));
    EXPECT_EQ(v->ClientRect.Left, 15);
    EXPECT_EQ(v->ClientRect.Width(), 0);
}

TEST_F(EditViewData, ClientRectanglePerBorderStyle)
{
    struct Case { TcxEditBorderStyle style; bool transparentBorder, shadow; TRect client; } cases[] = {
        {ebsNone, false, false, {0, 0, 50, 20}},   {ebsSingle, false, false, {1, 1, 49, 19}},
        {ebsThick, false, false, {2, 2, 48, 18}},  {ebsFlat, false, false, {2, 2, 48, 18}},
        {ebs3D, false, false, {2, 2, 48, 18}},     {ebsUltraFlat, false, false, {1, 1, 49, 19}},
        {ebsOffice11, false, false, {1, 1, 49, 19}}, {ebsNone, true, false, {2, 2, 48, 18}},
        {ebsSingle, false, true, {1, 1, 46, 16}},
    };
    for (const Case& c : cases) {
        style->SetBorderStyle(c.style);
        style->SetTransparentBorder(c.transparentBorder);
        style->SetShadow(c.shadow);
        viewData.reset();
        TcxCustomEditViewInfo* v = Calc({0, 0, 50, 20});
        EXPECT_EQ(v->ClientRect, c.client) << c.style << " transparent " << c.transparentBorder;
        EXPECT_EQ(v->EditBorderStyle, CorrectBorderStyle(c.style));
        EXPECT_EQ(v->Shadow, c.shadow);
    }
    // Edges limit the frame to the sides named.
    style->SetShadow(false);
    style->SetBorderStyle(ebsThick);
    style->SetEdges(cxBorder(bLeft) | cxBorder(bBottom));
    viewData.reset();
    EXPECT_EQ(Calc({0, 0, 50, 20})->ClientRect, (TRect{2, 0, 50, 18}));

    // In-place cells ignore the style's frame and use the host's content offsets.
    MakeViewData(true)->ContentOffset = {2, 3, 4, 5};
    TcxCustomEditViewInfo* v = Calc({0, 0, 50, 20});
    EXPECT_EQ(v->EditBorderStyle, ebsNone);
    EXPECT_EQ(v->ClientRect, (TRect{2, 3, 46, 15}));
    EXPECT_TRUE(v->HasContentOffsets);
}

TEST_F(EditViewData, ContainerStateAndHotTracking)
{
    FakeEditHost host;
    TcxCustomEditViewData* vd = MakeViewData();
    struct Case { bool enabled, designing, focused, capture; TPoint p; TShiftState shift; TcxContainerState state; } cases[] = {
        {true, false, false, false, {10, 10}, {}, TcxContainerState{csNormal} + TcxContainerState{csHotTrack}},
        {true, false, false, false, {60, 10}, {}, TcxContainerState{csNormal}},
        // a button held elsewhere and dragged over the editor does not make it hot ...
        {true, false, false, false, {10, 10}, TShiftState{ssLeft}, TcxContainerState{csNormal}},
        // ... unless the editor holds the mouse
        {true, false, false, true, {10, 10}, TShiftState{ssLeft}, TcxContainerState{csNormal} + TcxContainerState{csHotTrack}},
        {true, false, true, false, {60, 10}, {}, TcxContainerState{csActive}},
        {true, true, true, false, {10, 10}, {}, TcxContainerState{csNormal}},
        {false, false, true, false, {10, 10}, {}, TcxContainerState{csDisabled}},
    };
    for (const Case& c : cases) {
        vd->Edit = &host;
        vd->Enabled = c.enabled;
        vd->IsDesigning = c.designing;
        host.focused = c.focused;
        host.mouseCapture = c.capture;
        TcxCustomEditViewInfo* v = Calc({0, 0, 50, 20}, c.p, cxmbNone, c.shift);
        EXPECT_TRUE(v->ContainerState == c.state) << "case p.x " << c.p.X << " focused " << c.focused;
    }
    // Hot tracking shows only outside design and in-place painting.
    vd->Enabled = true;
    vd->IsDesigning = false;
    host.focused = false;
    EXPECT_EQ(Calc({0, 0, 50, 20}, {10, 10})->HotState, chsSelected);
    EXPECT_EQ(Calc({0, 0, 50, 20}, {60, 10})->HotState, chsNormal);
    style->SetHotTrack(false);
    EXPECT_EQ(Calc({0, 0, 50, 20}, {10, 10})->HotState, chsNoHotTrack);
}

TEST_F(EditViewData, ButtonStates)
{
    AddButton(bkDown, 10);   // at (89, 1, 99, 19)
    FakeEditHost host;
    TcxCustomEditViewData* vd = MakeViewData();
    vd->Edit = &host;
    const TPoint on{94, 10}, off{50, 10};
    const TShiftState none{}, left{ssLeft}, right{ssRight}, dbl = TShiftState{ssLeft} + TShiftState{ssDouble};
    struct Case {
        const char* what;
        TcxEditButtonState before;
        TPoint p;
        TcxMouseButton button;
        TShiftState shift;
        int capture;
        TcxEditButtonState state;
        bool reallyPressed;
    } cases[] = {
        {"hover", ebsNormal, on, cxmbNone, none, -1, ebsSelected, false},
        {"outside", ebsSelected, off, cxmbNone, none, -1, ebsNormal, false},
        {"left click", ebsSelected, on, cxmbLeft, left, -1, ebsPressed, true},
        {"double click", ebsSelected, on, cxmbLeft, dbl, -1, ebsPressed, true},
        {"held while moving", ebsPressed, on, cxmbNone, left, -1, ebsPressed, true},
        {"held elsewhere, dragged over: not hot", ebsNormal, on, cxmbNone, left, -1, ebsNormal, false},
        {"captured by the editor", ebsNormal, on, cxmbNone, left, 0, ebsPressed, true},
        {"right click", ebsSelected, on, cxmbRight, right, -1, ebsNormal, false},
        {"pressed, moved off", ebsPressed, off, cxmbNone, left, -1, ebsNormal, false},
    };
    for (const Case& c : cases) {
        Calc({0, 0, 100, 20});
        viewInfo->ButtonsInfo[0]->Data.State = c.before;
        host.captureButton = c.capture;
        TcxCustomEditViewInfo* v = Calc({0, 0, 100, 20}, c.p, c.button, c.shift, true);
        EXPECT_EQ(ButtonState(0), c.state) << c.what;
        EXPECT_EQ(v->IsButtonReallyPressed, c.reallyPressed) << c.what;
        EXPECT_EQ(v->PressedButton, c.state == ebsPressed ? 0 : -1) << c.what;
        EXPECT_EQ(v->SelectedButton, c.state == ebsSelected ? 0 : -1) << c.what;
    }
    // Disabled editor or button, design time, and the state event's last word.
    vd->Enabled = false;
    Calc({0, 0, 100, 20}, on);
    EXPECT_EQ(ButtonState(0), ebsDisabled);
    vd->Enabled = true;
    properties->Buttons()->Items(0)->SetEnabled(false);
    Calc({0, 0, 100, 20}, on);
    EXPECT_EQ(ButtonState(0), ebsDisabled);
    properties->Buttons()->Items(0)->SetEnabled(true);
    vd->IsDesigning = true;
    Calc({0, 0, 100, 20}, on);
    EXPECT_EQ(ButtonState(0), ebsNormal);
    vd->IsDesigning = false;
    viewInfo->OnGetButtonState = [](TcxCustomEditViewInfo*, int, TcxEditButtonState& s) { s = ebsPressed; };
    Calc({0, 0, 100, 20}, off);
    EXPECT_EQ(ButtonState(0), ebsPressed);
}

TEST_F(EditViewData, ButtonTransparencyHidesButtons)
{
    AddButton(bkDown, 10);
    AddButton(bkEllipsis, 10);
    FakeEditHost host;
    TcxCustomEditViewData* vd = MakeViewData();
    vd->Edit = &host;
    style->SetButtonTransparency(ebtHideInactive);
    EXPECT_EQ(Calc({0, 0, 100, 20}, {10, 10})->ButtonCount(), 0);   // hot is not enough
    host.focused = true;
    EXPECT_EQ(Calc({0, 0, 100, 20})->ButtonCount(), 2);
    host.focused = false;
    style->SetButtonTransparency(ebtHideUnselected);
    EXPECT_EQ(Calc({0, 0, 100, 20}, {10, 10})->ButtonCount(), 2);
    EXPECT_EQ(Calc({0, 0, 100, 20}, {200, 10})->ButtonCount(), 0);
    EXPECT_EQ(viewInfo->ClientRect, (TRect{1, 1, 99, 19}));
    // Inactive transparency: transparent unless the editor is active or hot.
    style->SetButtonTransparency(ebtInactive);
    Calc({0, 0, 100, 20}, {200, 10});
    EXPECT_TRUE(viewInfo->ButtonsInfo[0]->Data.Transparent);
    Calc({0, 0, 100, 20}, {10, 10});
    EXPECT_FALSE(viewInfo->ButtonsInfo[0]->Data.Transparent);
}

TEST_F(EditViewData, ButtonsOnlyStretchesTheButtons)
{
    AddButton(bkDown, 10);
    AddButton(bkEllipsis, 20, true);
    properties->SetButtonsViewStyle(bvsButtonsOnly);
    TcxCustomEditViewInfo* v = Calc({0, 0, 100, 20});
    EXPECT_TRUE(viewData->IsButtonsOnly());
    // 68 pixels left over, shared 20:10 (45, and the rest, 23, to the last one processed).
    EXPECT_EQ(ButtonBounds(1), (TRect{1, 1, 66, 19}));
    EXPECT_EQ(ButtonBounds(0), (TRect{66, 1, 99, 19}));
    EXPECT_FALSE(v->ButtonsInfo[1]->Data.LeftAlignment);   // one row: the groups' sides are gone
    EXPECT_FALSE(v->ButtonsInfo[1]->Data.Rightmost);      // left group's end meets the right group
    EXPECT_FALSE(v->ButtonsInfo[0]->Data.Leftmost);

    // Measured with an unbounded width, nothing stretches.
    MakeViewData(true);
    properties->SetButtonsViewStyle(bvsButtonsAutoWidth);
    Calc({0, 0, INT_MAX, 20});
    EXPECT_FALSE(viewData->IsButtonsOnly());
    Calc({0, 0, 100, 20});
    EXPECT_TRUE(viewData->IsButtonsOnly());
}

TEST_F(EditViewData, EditSizeWithConstraints)
{
    TcxCustomEditViewData* vd = MakeViewData();
    EXPECT_EQ(vd->GetEditSize(canvas.get(), Variant(), DefaultcxEditSizeProperties), (TSize{2, 2}));
    // Too narrow for the frame: the width asked for stands.
    EXPECT_EQ(vd->GetEditSize(canvas.get(), Variant(), {-1, 0, 1}), (TSize{1, 2}));

    // A glyph button asks for its glyph's height plus the buttons' frame and insets.
    TcxEditButton* b = AddButton(bkGlyph, 0);
    b->Glyph()->SetPixelFormat(pf32bit);
    b->Glyph()->SetSize(16, 16);
    vd = MakeViewData();
    EXPECT_EQ(vd->GetEditSize(canvas.get(), Variant(), DefaultcxEditSizeProperties), (TSize{2 + 20, 20}));

    // The editor control's constraints bound the result.
    FakeEditHost host;
    vd->Edit = &host;
    host.constraints = {40, 0, 0, 12};
    EXPECT_EQ(vd->GetEditSize(canvas.get(), Variant(), DefaultcxEditSizeProperties), (TSize{40, 12}));

    // Buttons-only editors are one text line high.
    properties->SetButtonsViewStyle(bvsButtonsOnly);
    properties->Buttons()->Clear();
    vd = MakeViewData();
    canvas->SetFont(style->GetVisibleFont());
    EXPECT_EQ(vd->GetEditSize(canvas.get(), Variant(), DefaultcxEditSizeProperties).cy,
              2 + 4 + canvas->TextHeight("Zg"));
    // The properties measure through a view data of their own.
    EXPECT_EQ(properties->GetEditSize(canvas.get(), style.get(), false, Variant(), DefaultcxEditSizeProperties),
              vd->GetEditSize(canvas.get(), Variant(), DefaultcxEditSizeProperties));
    // Measured, a buttons-only editor keeps its buttons' widths (stretched over the unbounded
    // measuring width it would come out MaxInt wide).
    AddButton(bkDown, 10);
    AddButton(bkEllipsis, 12);
    EXPECT_EQ(properties->GetEditSize(canvas.get(), style.get(), false, Variant(), DefaultcxEditSizeProperties).cx,
              2 + 22);
}

TEST_F(EditViewData, PopupBorderStyle)
{
    FakeEditHost host;
    EXPECT_EQ(Calc({0, 0, 50, 20})->PopupBorderStyle, epbsDefault);   // no editor control
    viewData->Edit = &host;
    EXPECT_EQ(Calc({0, 0, 50, 20})->PopupBorderStyle, epbsSingle);    // by the single frame
    style->SetBorderStyle(ebsFlat);
    EXPECT_EQ(Calc({0, 0, 50, 20})->PopupBorderStyle, epbsFlat);
    style->SetBorderStyle(ebsNone);
    AddButton(bkDown, 10);
    host.popupKind = lfStandard;
    MakeViewData()->Edit = &host;
    EXPECT_EQ(Calc({0, 0, 50, 20})->PopupBorderStyle, epbsFrame3D);   // by the popup's look and feel
    style->SetPopupBorderStyle(epbsFlat);
    EXPECT_EQ(Calc({0, 0, 50, 20})->PopupBorderStyle, epbsFlat);
}

class ThrowingViewData : public TcxCustomEditViewData {
    RTL_CLASS(ThrowingViewData, TcxCustomEditViewData)
    using TcxCustomEditViewData::TcxCustomEditViewData;

protected:
    std::string InternalEditValueToDisplayText(const Variant&) override
    {
        throw rtl::EConvertError("not a number");
    }
};

TEST_F(EditViewData, DisplayTextThatCannotBeMadeIsEmpty)
{
    TcxCustomEditViewData* vd = MakeViewData();
    vd->OnGetDisplayText = [](TcxCustomEditViewData*, std::string& text) { text += "!"; };
    EXPECT_EQ(vd->EditValueToDisplayText(Variant(1)), "!");
    ThrowingViewData throwing(properties.get(), style.get(), true);
    throwing.OnGetDisplayText = vd->OnGetDisplayText;
    EXPECT_EQ(throwing.EditValueToDisplayText(Variant(1)), "");
}

} // namespace
