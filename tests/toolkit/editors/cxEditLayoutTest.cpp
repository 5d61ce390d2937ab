#include "toolkit/editors/cxEditLayout.h"

#include <gtest/gtest.h>

#include <memory>

using namespace cx;

namespace {

// Buttons laid out as the view data does it: from the last to the first.
struct Layout {
    std::vector<std::unique_ptr<TcxEditButtonViewInfo>> owned;
    std::vector<TcxEditButtonViewInfo*> buttons;
    TcxEditButtonMarks marks;
    TRect r;

    Layout(TRect bounds, std::initializer_list<std::pair<int, bool>> widthAndLeft) : r(bounds)
    {
        for (auto [w, left] : widthAndLeft) {
            owned.push_back(std::make_unique<TcxEditButtonViewInfo>());
            owned.back()->Width = w;
            owned.back()->Data.LeftAlignment = left;
            buttons.push_back(owned.back().get());
        }
        for (int i = int(buttons.size()) - 1; i >= 0; --i)
            LayoutEditButton(*buttons[i], i, r, marks);
    }
};

} // namespace

TEST(EditLayout, ButtonsFillTheirSidesFromOutsideIn)
{
    // A, B right-aligned and C, D left-aligned in a 100 wide editor.
    Layout l({0, 0, 100, 20}, {{10, false}, {12, false}, {14, true}, {16, true}});
    EXPECT_EQ(l.buttons[0]->Bounds, (TRect{78, 0, 88, 20}));   // A left of B
    EXPECT_EQ(l.buttons[1]->Bounds, (TRect{88, 0, 100, 20}));
    EXPECT_EQ(l.buttons[3]->Bounds, (TRect{0, 0, 16, 20}));    // D left of C
    EXPECT_EQ(l.buttons[2]->Bounds, (TRect{16, 0, 30, 20}));
    EXPECT_EQ(l.r, (TRect{30, 0, 78, 20}));
    EXPECT_EQ(l.marks.RightRightmost, 1);
    EXPECT_EQ(l.marks.RightLeftmost, 0);
    EXPECT_EQ(l.marks.LeftLeftmost, 3);
    EXPECT_EQ(l.marks.LeftRightmost, 2);
}

TEST(EditLayout, ATooWideButtonKeepsItsBoundsButShowsWhatFits)
{
    Layout l({0, 0, 15, 20}, {{10, false}, {10, false}});
    EXPECT_EQ(l.buttons[1]->VisibleBounds, (TRect{5, 0, 15, 20}));
    EXPECT_EQ(l.buttons[0]->Bounds, (TRect{-5, 0, 5, 20}));
    EXPECT_EQ(l.buttons[0]->VisibleBounds, (TRect{0, 0, 5, 20}));
    EXPECT_EQ(l.r.Width(), 0);
    TcxEditButtonViewInfo third;
    third.Width = 10;
    LayoutEditButton(third, 2, l.r, l.marks);
    EXPECT_EQ(third.Bounds, cxNullRect);
}

TEST(EditLayout, ButtonsOnlyStretchSharesTheRestByWidth)
{
    Layout l({0, 0, 100, 20}, {{10, false}, {30, false}});
    StretchEditButtons(l.buttons, 100, l.r.Width());   // 60 left over: 15 and 45
    EXPECT_EQ(l.buttons[0]->Bounds, (TRect{0, 0, 25, 20}));
    EXPECT_EQ(l.buttons[1]->Bounds, (TRect{25, 0, 100, 20}));

    Layout odd({0, 0, 101, 20}, {{10, false}, {20, false}});
    odd.buttons[1]->Stretchable = false;   // only A stretches
    StretchEditButtons(odd.buttons, 101, odd.r.Width());
    EXPECT_EQ(odd.buttons[0]->Bounds, (TRect{0, 0, 81, 20}));
    EXPECT_EQ(odd.buttons[1]->Bounds, (TRect{81, 0, 101, 20}));
}

TEST(EditLayout, StyleTables)
{
    EXPECT_EQ(DefaultButtonsStyle(false, ebsSingle, false, lfFlat), btsHotFlat);
    EXPECT_EQ(DefaultButtonsStyle(false, ebsNone, true, lfFlat), btsSimple);
    EXPECT_EQ(DefaultButtonsStyle(false, ebsNone, false, lfOffice11), btsOffice11);
    EXPECT_EQ(DefaultButtonsStyle(true, ebs3D, true, lfStandard), bts3D);
    EXPECT_EQ(CorrectBorderStyle(ebsOffice11), ebsSingle);
    EXPECT_EQ(PopupBorderStyleByKind(lfStandard), epbsFrame3D);
    EXPECT_EQ(PopupBorderStyleByBorderStyle(ebsFlat), epbsFlat);
    EXPECT_EQ(EditBtnState2ButtonState[ebsSelected], cxbsHot);
    EXPECT_EQ(EditContentDefaultOffsets[false], (TRect{1, 1, 1, 3}));
}
