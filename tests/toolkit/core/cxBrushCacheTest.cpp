#include "toolkit/core/cxGraphics.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class BrushCache : public ::testing::Test {
protected:
    void SetUp() override { cxGraphicsInitialize(); }
    void TearDown() override { cxGraphicsFinalize(); }

    std::vector<TColor> Colours() const
    {
        std::vector<TColor> out;
        for (int i = 0; i < cache.Count(); ++i)
            out.push_back(cache.Item(i).Color);
        return out;
    }

    TcxBrushCache cache;
};

} // namespace

TEST_F(BrushCache, KeepsColoursSortedAndCountsReferences)
{
    TBrush* blue = cache.Add(0x00FF0000);
    cache.Add(0x00000010);
    TBrush* green = cache.Add(0x00008000);
    EXPECT_EQ(Colours(), (std::vector<TColor>{0x10, 0x8000, 0xFF0000}));
    EXPECT_EQ(cache.Add(0x00008000), green);
    EXPECT_EQ(cache.Item(1).RefCount, 2);
    EXPECT_EQ(green->GetColor(), 0x8000);
    cache.Add(0x00FFFFFF); // above every colour: appended
    cache.Add(0x00000001); // below every colour: in front
    EXPECT_EQ(Colours(), (std::vector<TColor>{0x1, 0x10, 0x8000, 0xFF0000, 0xFFFFFF}));

    cache.ReleaseBrush(green);
    EXPECT_EQ(cache.Item(2).RefCount, 1);
    cache.ReleaseBrush(green);
    EXPECT_EQ(Colours(), (std::vector<TColor>{0x1, 0x10, 0xFF0000, 0xFFFFFF}));

    TBrush* b = blue;
    cache.SetBrushColor(b, 0x00000010);
    EXPECT_EQ(Colours(), (std::vector<TColor>{0x1, 0x10, 0xFFFFFF}));
    EXPECT_EQ(cache.Item(1).RefCount, 2);
}

TEST_F(BrushCache, CapacityGrowsByAQuarterAtLeastEight)
{
    const int expected[] = {8, 8, 8, 8, 8, 8, 8, 8, 16, 16, 16, 16, 16, 16, 16, 16, 24};
    std::vector<int> seen;
    for (int i = 0; i < 50; ++i) {
        cache.Add(TColor(i * 3 + 1));
        if (i < 17) {
            EXPECT_EQ(cache.Capacity(), expected[i]) << i;
        }
        if (seen.empty() || seen.back() != cache.Capacity())
            seen.push_back(cache.Capacity());
    }
    EXPECT_EQ(seen, (std::vector<int>{8, 16, 24, 32, 40, 50}));
    cache.Add(1000);
    EXPECT_EQ(cache.Capacity(), 62);
}

TEST_F(BrushCache, DeletionIsDeferredWhileLocked)
{
    TBrush* a = cache.Add(0x10);
    TBrush* kept = a;
    cache.BeginUpdate();
    cache.BeginUpdate();
    cache.ReleaseBrush(a);
    EXPECT_EQ(cache.Count(), 1);
    EXPECT_EQ(cache.DeletedCount(), 1);
    EXPECT_EQ(cache.Add(0x10), kept); // reused, no longer deleted
    EXPECT_EQ(cache.DeletedCount(), 0);
    cache.ReleaseBrush(a);
    cache.EndUpdate();
    EXPECT_EQ(cache.Count(), 1); // only the outermost end packs
    cache.EndUpdate();
    EXPECT_EQ(cache.Count(), 0);

    // Without a lock the last release frees the entry at once.
    TBrush* b = cache.Add(0x20);
    cache.ReleaseBrush(b);
    EXPECT_EQ(cache.Count(), 0);
}

TEST_F(BrushCache, ReleasingAnUnusedBrushRaisesAndPackingStillCleansUp)
{
    TBrush* a = cache.Add(0x10);
    TBrush* again = a;
    cache.BeginUpdate();
    cache.ReleaseBrush(a);
    try {
        cache.ReleaseBrush(again);
        ADD_FAILURE() << "no exception";
    } catch (const cx::EdxException& e) { // the toolkit's base catches it
        EXPECT_NE(dynamic_cast<const EBrushCache*>(&e), nullptr);
        EXPECT_EQ(e.Message, "Release unused brush");
    }
    cache.EndUpdate();
    EXPECT_EQ(cache.Count(), 0);

    TBrush* foreign = new TBrush;
    foreign->SetColor(0x777);
    cache.ReleaseBrush(foreign); // not cached: nothing happens
    EXPECT_EQ(cache.Count(), 0);
    delete foreign;
}

TEST_F(BrushCache, SystemColoursUseTheSystemBrushList)
{
    TBrush* face = cache.Add(clBtnFace);
    EXPECT_EQ(face, cxSystemBrush(COLOR_BTNFACE));
    EXPECT_EQ(cache.Count(), 0);
    EXPECT_EQ(face->GetColor(), clBtnFace);
    EXPECT_EQ(ColorToRef(face->GetColor()), 0xC8D0D4u);
    cache.ReleaseBrush(face); // never freed by the cache
    EXPECT_EQ(cxSystemBrush(COLOR_BTNFACE), face);

    // A "system" colour beyond the table gets the window colour's brush.
    EXPECT_EQ(cache.Add(TColor(0x80000040u)), cxSystemBrush(COLOR_WINDOW));
    EXPECT_EQ(cache.Add(TColor(0xFFFFFFFFu)), cxSystemBrush(COLOR_WINDOW));
    EXPECT_EQ(cache.Count(), 0);
}

TEST_F(BrushCache, StartUpRunsOnceAndCreatesTheSharedBrushes)
{
    ASSERT_NE(cxHalfToneBrush, nullptr);
    TBrush* halftone = cxHalfToneBrush;
    cxGraphicsInitialize(); // counted: no second set of brushes
    EXPECT_EQ(cxHalfToneBrush, halftone);
    cxGraphicsFinalize();
    EXPECT_EQ(cxHalfToneBrush, halftone);
    EXPECT_FALSE(cxAlphaBlendBound());

    TBitmap b;
    b.SetSize(2, 2);
    b.Canvas()->Brush()->Assign(cxHalfToneBrush);
    b.Canvas()->Font()->SetColor(clWhite); // a monochrome pattern paints in text and background colours
    b.Canvas()->FillRect({0, 0, 2, 2});
    EXPECT_NE(b.ScanLine(0)[0], b.ScanLine(0)[1]);
    EXPECT_EQ(b.ScanLine(0)[0], b.ScanLine(1)[1]);
}
