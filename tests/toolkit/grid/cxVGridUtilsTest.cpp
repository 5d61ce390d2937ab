// The layout lists, the rect scaler, the halftone brush, and the grid's texts and cursors.
// (The grid still carries stand-ins for the editing control's options, so this file leaves the
// in-place container's header out.)
#include "tests/platform/vcl/VclTestSupport.h"
#include "platform/vcl/Desktop.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridUtils.h"

#include <QCursor>

#include <gtest/gtest.h>

using namespace cx;

namespace {

TEST(VGridLists, GrowKeepOrderAndRefuseIndexesOutsideTheCount)
{
    TcxRectList rects;
    for (int i = 0; i < 1500; ++i)   // past the first growth step
        EXPECT_EQ(rects.Add(TRect{i, 0, i + 1, 1}), i);
    EXPECT_EQ(rects.Allocated(), 2048);
    EXPECT_EQ(rects.GetRect(1234), (TRect{1234, 0, 1235, 1}));
    rects.SetRect(3, TRect{9, 9, 9, 9});
    TcxRectList copy;
    copy.Assign(rects);
    EXPECT_EQ(copy.Count(), 1500);
    EXPECT_EQ(copy[3], (TRect{9, 9, 9, 9}));
    rects.Clear();
    EXPECT_EQ(rects.Count(), 0);
    EXPECT_EQ(rects.Allocated(), 2048);   // memory kept for the next pass

    rects.Add(TRect{0, 0, 1, 1});
    rects.Add(TRect{0, 0, 1, 1});
    rects.Add(TRect{0, 0, 1, 1});
    try {
        rects.Get(3);
        FAIL() << "index 3 of 3 records";
    } catch (const EdxException& e) {
        EXPECT_EQ(e.Message, "Error TcxRectList: Invalid index 3");
    }
    EXPECT_THROW(rects.Get(-1), EdxException);
    TIndentInfoList indents;
    EXPECT_THROW(indents.Get(0), EdxException);
}

TEST(VGridLists, LockedLineListAddsNothing)
{
    TLineInfoList lines;
    TBrush brush;
    EXPECT_EQ(lines.Add(TRect{0, 0, 5, 1}, clRed), 0);
    EXPECT_EQ(lines.Add(1, 2, 3, 4, &brush), 1);
    EXPECT_EQ(lines.Items(1).Rect, (TRect{1, 2, 4, 6}));
    EXPECT_TRUE(lines.Items(1).IsBrush);
    EXPECT_EQ(lines.Items(1).Brush, &brush);
    EXPECT_FALSE(lines.Items(0).IsBrush);
    EXPECT_EQ(lines.Items(0).Color, clRed);
    lines.Locked = true;
    EXPECT_EQ(lines.Add(TRect{0, 0, 1, 1}, clBlue), -1);
    EXPECT_EQ(lines.Add(0, 0, 1, 1, &brush), -1);
    EXPECT_EQ(lines.Count(), 2);

    TIndentRectInfoList cells;
    TcxViewParams params;
    params.Color = clGreen;
    cells.Add(TSize{12, 20}, true, params, false);
    EXPECT_EQ(cells.Items(0).Width, 12);
    EXPECT_EQ(cells.Items(0).Height, 20);
    EXPECT_TRUE(cells.Items(0).IsCategory);
    EXPECT_EQ(cells.Items(0).ViewParams.Color, clGreen);
}

std::vector<TRect> Rects(const TRectScaler& s)
{
    std::vector<TRect> result;
    for (int i = 0; i < s.ScaledRects().Count(); ++i)
        result.push_back(s.ScaledRect(i));
    return result;
}

TEST(VGridRectScaler, CalcKeepsSizesCutsAtTheRightEdgeAndStretchesTheLast)
{
    TRectScaler s;
    s.CalcRect(TRect{0, 0, 100, 10});
    EXPECT_TRUE(Rects(s).empty());
    s.Add(30, 0, 2);
    s.Add(5, 20, 2);   // grows to its minimum
    s.Add(10);
    s.CalcRect(TRect{0, 0, 100, 10});
    EXPECT_EQ(Rects(s), (std::vector<TRect>{{0, 0, 30, 10}, {32, 0, 52, 10}, {54, 0, 100, 10}}));
    // A part reaching past the edge is cut there and no later part gets a rectangle.
    s.CalcRect(TRect{0, 0, 40, 10});
    EXPECT_EQ(Rects(s), (std::vector<TRect>{{0, 0, 30, 10}, {32, 0, 40, 10}}));
}

TEST(VGridRectScaler, ScaleSharesTheWidthAndTheLastAbsorbsRounding)
{
    TRectScaler s;
    s.Add(1);
    s.Add(1);
    s.Add(1);
    s.ScaleRect(TRect{10, 0, 110, 5});   // 33.33 each
    EXPECT_EQ(Rects(s), (std::vector<TRect>{{10, 0, 43, 5}, {43, 0, 76, 5}, {76, 0, 110, 5}}));
    TRectScaler halves;
    halves.Add(1, 0, 0);
    halves.Add(1, 0, 0);
    halves.Add(2);
    halves.ScaleRect(TRect{0, 0, 10, 1});   // 2.5 rounds to 2 (halves to even)
    EXPECT_EQ(halves.ScaledRect(0), (TRect{0, 0, 2, 1}));
    EXPECT_EQ(halves.ScaledRect(2).Right, 10);
    TRectScaler empty;
    empty.Add(0);
    empty.ScaleRect(TRect{0, 0, 10, 1});
    EXPECT_EQ(empty.ScaledRects().Count(), 0);
}

TEST(VGridHalftone, CheckerOfTheTwoColours)
{
    TBrush* brush = cxCreateHalftoneBrush(clBlack, clWhite);
    TBitmap* bitmap = brush->GetBitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->GetWidth(), 8);
    EXPECT_EQ(bitmap->GetHeight(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(ColorToRGB(bitmap->Canvas()->GetPixel(x, y)), ColorToRGB((x + y) % 2 ? clBlack : clWhite));
    delete bitmap;
    delete brush;
}

class VGridStringsTest : public ::testing::Test, public VclFixture {
protected:
    void TearDown() override { cxClearResourceStrings(); }
};

TEST_F(VGridStringsTest, TextsAreRegisteredInOrderAndIndexErrorKeepsItsText)
{
    const auto& table = cxVGridResourceStringTable();
    ASSERT_EQ(table.size(), 31u);
    EXPECT_STREQ(table.front().name, "cxSvgIndexError");
    EXPECT_STREQ(table[2].name, "cxSvgAssignRowsError");
    EXPECT_STREQ(table.back().name, "cxSvgRTTICollectionMoveDownHint");
    EXPECT_EQ(LoadResString(table[19].resString), "Editing %s%s%s");
    cxVGridConstsUnit::Initialize();
    cxVGridConstsUnit::Initialize();
    cxSetResourceString(&cxSvgInvalidRowClass, "无法创建行");
    cxSetResourceString(&cxSvgIndexError, "索引错误");
    EXPECT_EQ(cxGetResourceString(&cxSvgInvalidRowClass), "无法创建行");
    // The index checks read the compiled-in text, which no override reaches.
    TcxVerticalGrid grid(nullptr);
    try {
        grid.Rows()->GetRow(5);
        FAIL() << "no rows";
    } catch (const EcxVerticalGridError& e) {
        EXPECT_EQ(e.Message, "Index error");
    }
    cxVGridConstsUnit::Finalize();
    cxVGridConstsUnit::Finalize();
}

TEST_F(VGridStringsTest, DragCursorsTakeBuiltInShapesWhileTheGridUnitRuns)
{
    cxVGridUnit::Initialize();
    for (int id : {crcxVGridInsert, crcxVGridAddChild, crcxVGridAdd, crcxVGridHide, crcxVGridNoDrag})
        EXPECT_NE(Screen->Cursors(id), Screen->Cursors(crDefault)) << id;
    EXPECT_EQ(Screen->Cursors(crcxVGridNoDrag), Screen->Cursors(crNoDrop));
    // Appending and adding as a child are told apart by the pointer.
    auto image = [](int id) { return vcl::CursorOf(Screen->Cursors(id)).pixmap().toImage(); };
    EXPECT_NE(image(crcxVGridAdd), image(crcxVGridAddChild));
    EXPECT_NE(image(crcxVGridAdd), image(crDrag));
    SavePicture(image(crcxVGridAdd), "cursor-vgrid-add.png", 6);
    SavePicture(image(crcxVGridAddChild), "cursor-vgrid-add-child.png", 6);
    cxVGridUnit::Finalize();
    EXPECT_EQ(Screen->Cursors(crcxVGridNoDrag), Screen->Cursors(crDefault));
}

} // namespace
