#include "tests/toolkit/core/PainterTestSupport.h"
#include "platform/gdi/SysParams.h"
#include "toolkit/editors/cxEditUtils.h"

#include <gtest/gtest.h>

#include <string>

using namespace cx;

namespace {

class EditPaintUtils : public PainterCanvasTest {
protected:
    void SetUp() override
    {
        PainterCanvasTest::SetUp();
        cxEditPaintUtilsUnit::Initialize();
    }
    void TearDown() override
    {
        cxEditPaintUtilsUnit::Finalize();
        PainterCanvasTest::TearDown();
    }
    // The pixels of a w x h area at the origin as rows of '#' (the colour) and '.'.
    std::string Mask(int w, int h, TColor c)
    {
        std::string out;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                out += Is(x, y, c) ? '#' : '.';
            out += '\n';
        }
        return out;
    }
};

} // namespace

TEST_F(EditPaintUtils, BrushCacheEvictsTheLeastHitColourAndBypassesSystemColours)
{
    TcxSolidBrushCache cache(128);
    for (int i = 0; i < 128; ++i)
        cache.GetBrush(TColor(0x10000 + i));
    for (int i = 1; i < 128; ++i)   // every colour but 0x10000 hit once more
        cache.GetBrush(TColor(0x10000 + i));
    const gdi::Brush* again = cache.GetBrush(0x10005);
    EXPECT_EQ(again, cache.GetBrush(0x10005));
    EXPECT_EQ(again->color, ColorToRef(0x10005));
    EXPECT_EQ(cache.Depth(), 128);

    cache.GetBrush(0x20000);   // the 129th colour: the one requested once goes
    EXPECT_EQ(cache.Depth(), 128);
    EXPECT_EQ(cache.Color(0), 0x10001);
    EXPECT_EQ(cache.Color(127), 0x20000);
    EXPECT_EQ(cache.UseCount(127), 0u);

    // Sorted as unsigned: a system-looking value beyond the table sorts after the plain colours.
    cache.GetBrush(TColor(0x8000001F));
    EXPECT_EQ(cache.Color(127), TColor(0x8000001F));

    const gdi::Brush* face = cache.GetBrush(clBtnFace);
    EXPECT_EQ(cache.Depth(), 128);
    EXPECT_EQ(face->color, gdi::GetSysColorBrush(COLOR_BTNFACE).color);
    cache.SystemPaletteChanged();
    EXPECT_EQ(cache.Depth(), 0);
}

TEST_F(EditPaintUtils, TextFlagConversionsSwapTheSharedBitsBothWays)
{
    struct Case { unsigned own, sys; } cases[] = {
        {0x1, 0x4}, {0x2, 0x2}, {0x10, 0x20}, {0x20, 0x10}, {0x200, 0x40}, {0x100, 0x400}};
    for (auto c : cases) {
        EXPECT_EQ(cxTextOutFlagsToDrawTextFlags({c.own}).value, c.sys) << c.own;
        EXPECT_EQ(DrawTextFlagsTocxTextOutFlags({c.sys}).value, c.own) << c.sys;
    }
    EXPECT_EQ(DrawTextFlagsTocxTextOutFlags({0x1 | 0x8}).value, 0u);   // centre and bottom have no counterpart
    EXPECT_EQ(cxTextOutFlagsToDrawTextFlags({0x800 | 0x4}).value, 0u);
}

TEST_F(EditPaintUtils, ArrowSizes)
{
    EXPECT_EQ(GetArrowSize({16, 10}, adUp), (TSize{5, 3}));
    EXPECT_EQ(GetArrowSize({16, 10}, adDown), (TSize{5, 3}));
    EXPECT_EQ(GetArrowSize({16, 10}, adLeft), (TSize{3, 5}));
    EXPECT_EQ(GetArrowSize({16, 10}, adRight), (TSize{3, 5}));
    EXPECT_EQ(GetArrowSize({8, 8}, adDown), (TSize{3, 2}));
}

TEST_F(EditPaintUtils, ArrowMasksPerDirection)
{
    struct Case { TcxArrowDirection dir; bool isDouble; int w, h; const char* mask; } cases[] = {
        {adUp, false, 5, 3, "..#..\n.###.\n#####\n"},
        {adDown, false, 5, 3, "#####\n.###.\n..#..\n"},
        {adLeft, false, 3, 5, "..#\n.##\n###\n.##\n..#\n"},
        {adRight, false, 3, 5, "#..\n##.\n###\n##.\n#..\n"},
        // doubled: the second arrow touches the first along the axis
        {adDown, true, 5, 6, "#####\n.###.\n..#..\n#####\n.###.\n..#..\n"},
        {adRight, true, 6, 5, "#..#..\n##.##.\n######\n##.##.\n#..#..\n"},
    };
    for (const Case& c : cases) {
        Reset(16, 16);
        DrawArrow(canvas.get(), 3, {0, 0, c.w, c.h}, c.dir, c.isDouble, false, clRed);
        std::string expected;   // the mask plus an empty column and row around the box
        std::string line;
        for (const char* p = c.mask; *p; ++p) {
            if (*p == '\n') {
                expected += line + ".\n";
                line.clear();
            } else
                line += *p;
        }
        expected += std::string(c.w + 1, '.') + "\n";
        EXPECT_EQ(Mask(c.w + 1, c.h + 1, clRed), expected)
            << c.dir << " double " << c.isDouble;
    }
    // Centred in the rectangle and moved by (1, 1) when pressed.
    Reset(16, 16);
    DrawArrow(canvas.get(), 2, {0, 0, 7, 6}, adDown, false, true, clRed);
    EXPECT_EQ(Mask(7, 6, clRed), ".......\n.......\n.......\n...###.\n....#..\n.......\n");
}

TEST_F(EditPaintUtils, ButtonBorderShrinksTheRectanglePerSide)
{
    Reset(10, 10);
    TRect r{1, 1, 6, 5};
    DrawButtonBorder(canvas.get(), r, (1u << bLeft) | (1u << bTop), clBlue);
    EXPECT_EQ(r, (TRect{2, 2, 6, 5}));
    EXPECT_EQ(Mask(7, 6, clBlue), ".......\n.#####.\n.#.....\n.#.....\n.#.....\n.......\n");
    InternalPolyLine(canvas.get(), {{0, 7}, {3, 7}, {3, 9}}, clLime, true);
    EXPECT_TRUE(Is(0, 7, clLime) && Is(3, 7, clLime) && Is(3, 9, clLime));
    EXPECT_FALSE(Is(2, 8, clLime));
}

TEST_F(EditPaintUtils, DefaultButtonWidth)
{
    TcxEditButtonViewInfo v;
    v.Data.Kind = bkText;
    EXPECT_EQ(CalculateEditDefaultButtonWidth(canvas.get(), &v), gdi::GetSystemMetrics(SM_CYHSCROLL));
    v.Data.VisibleCaption = std::string(20, 'W');
    EXPECT_EQ(CalculateEditDefaultButtonWidth(canvas.get(), &v),
              canvas->TextWidth(v.Data.VisibleCaption) + 7);
    v.Width = 3;   // an own width is honoured but never narrower than the caption needs
    EXPECT_EQ(CalculateEditDefaultButtonWidth(canvas.get(), &v), 4);
    v.Data.Kind = bkEllipsis;
    v.Width = 0;
    EXPECT_EQ(CalculateEditDefaultButtonWidth(canvas.get(), &v), gdi::GetSystemMetrics(SM_CYHSCROLL));
}

TEST_F(EditPaintUtils, SmallChoices)
{
    EXPECT_EQ(GetPainterClass(false, lfOffice11), TcxOffice11LookAndFeelPainter::Class());
    EXPECT_EQ(GetPainterClass(true, lfFlat), TcxFlatLookAndFeelPainter::Class());   // no visual styles here
    EXPECT_EQ(cxEditGetBorderWidthBySkinPainter(ebsThick, nullptr), 2);
    EXPECT_EQ(cxEditGetBorderWidthBySkinPainter(ebs3D, TcxStandardLookAndFeelPainter::Class()), 1);
    EXPECT_EQ(GetEditButtonsContentVerticalOffset(canvas.get(), bts3D, false), 4);
    EXPECT_EQ(GetEditButtonsContentVerticalOffset(canvas.get(), btsOffice11, false), 2);
    EXPECT_EQ(GetEditBorderHighlightColor(false), clHighlight);
}

TEST_F(EditPaintUtils, EllipsisDotsBySize)
{
    int d = 0;
    EXPECT_EQ(GetEllipsisDotsBlock({0, 0, 11, 10}, false, d), (TRect{2, 4, 9, 5}));
    EXPECT_EQ(d, 1);
    EXPECT_EQ(GetEllipsisDotsBlock({0, 0, 12, 10}, false, d), (TRect{1, 4, 11, 6}));
    EXPECT_EQ(d, 2);
    EXPECT_EQ(GetEllipsisDotsBlock({0, 0, 12, 10}, true, d), (TRect{2, 5, 12, 7}));
    EXPECT_EQ(GetEllipsisDotsBlock({0, 0, 7, 6}, true, d), (TRect{0, 3, 7, 4}));   // no room right: only down

    Reset(16, 16);
    DrawEllipsisButtonContent(canvas.get(), {0, 0, 12, 10}, clRed, true, false);
    EXPECT_EQ(Mask(12, 7, clRed), "............\n............\n............\n............\n"
                                  ".##..##..##.\n.##..##..##.\n............\n");
    Reset(16, 16);
    DrawEllipsisButtonContent(canvas.get(), {0, 0, 11, 10}, clRed, false, false);
    EXPECT_TRUE(Is(2, 4, clBtnShadow) && Is(5, 4, clBtnShadow) && Is(8, 4, clBtnShadow));
    EXPECT_TRUE(Is(3, 5, clBtnHighlight) && Is(9, 5, clBtnHighlight));
}
