#include <gtest/gtest.h>

#include "toolkit/core/cxClasses.h"

using namespace cx;

namespace {
class TTextItem : public TcxMRUItem {
    RTL_CLASS(TTextItem, TcxMRUItem)
    explicit TTextItem(std::string text) : Text(std::move(text)) {}
    bool Equals(TcxMRUItem* item) override { return static_cast<TTextItem*>(item)->Text == Text; }
    std::string Text;
};

std::string Texts(const TcxMRUItems& items)
{
    std::string s;
    for (int i = 0; i < items.Count(); ++i)
        s += static_cast<TTextItem*>(items.Items(i))->Text;
    return s;
}
} // namespace

TEST(CxUtilityClasses, MostRecentlyUsedList)
{
    TcxMRUItems items;
    items.SetMaxCount(3);
    for (const char* t : {"a", "b", "c"})
        items.Add(new TTextItem(t));
    EXPECT_EQ(Texts(items), "cba");
    items.Add(new TTextItem("a"));   // the equal one moves to the front
    EXPECT_EQ(Texts(items), "acb");
    items.Add(new TTextItem("d"));   // the oldest goes
    EXPECT_EQ(Texts(items), "dac");
    items.SetMaxCount(-5);
    EXPECT_EQ(items.MaxCount(), 0);
    EXPECT_EQ(items.Count(), 3);
    items.SetCount(1);
    EXPECT_EQ(Texts(items), "d");
    items.SetCount(5);
    EXPECT_EQ(items.Count(), 1);
}

TEST(CxUtilityClasses, AlignmentMarksAssignedValues)
{
    int changes = 0;
    TcxAlignment alignment(nullptr, true, taCenter, vaCenter);
    alignment.OnChange = [&](TObject*) { ++changes; };
    EXPECT_FALSE(alignment.IsHorzStored());
    alignment.SetHorz(taCenter);   // the present value: assigned, stored, no notice
    EXPECT_TRUE(alignment.IsHorzAssigned());
    EXPECT_TRUE(alignment.IsHorzStored());
    EXPECT_EQ(changes, 0);
    alignment.SetVert(vaBottom);
    EXPECT_EQ(changes, 1);
    alignment.Reset();
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(alignment.IsVertAssigned());
    EXPECT_EQ(alignment.Vert(), vaCenter);

    TcxAlignment plain(nullptr, false, taLeftJustify, vaTop);
    plain.SetHorz(taLeftJustify);
    EXPECT_FALSE(plain.IsHorzStored());   // stored only when it differs from the default
    plain.Assign(&alignment);
    EXPECT_EQ(plain.Horz(), taCenter);
    EXPECT_FALSE(plain.IsHorzAssigned());
}

TEST(CxUtilityClasses, AutoWidthSharesInProportion)
{
    struct Case {
        int available;
        std::vector<std::pair<int, int>> items;   // wanted width, minimum width
        std::vector<int> expected;
    } cases[] = {
        {100, {{1, 0}, {1, 0}}, {50, 50}},
        {100, {{1, 0}, {2, 0}}, {33, 67}},
        {100, {{1, 60}, {1, 0}}, {60, 40}},
        {100, {{0, 5}, {0, 0}}, {5, 0}},   // nothing wanted: minimum widths, never -1
        {10, {{1, 0}, {1, 0}, {1, 0}}, {3, 4, 3}},
    };
    for (const auto& c : cases) {
        TcxAutoWidthObject object(4);
        object.AvailableWidth = c.available;
        for (auto [wanted, minimum] : c.items) {
            TcxAutoWidthItem* item = object.AddItem();
            item->Width = wanted;
            item->MinWidth = minimum;
        }
        object.Calculate();
        std::vector<int> widths;
        for (int i = 0; i < object.Count(); ++i)
            widths.push_back(object.Items(i)->AutoWidth);
        EXPECT_EQ(widths, c.expected) << c.available;
    }
    TcxAutoWidthObject fixed;
    fixed.AvailableWidth = 100;
    TcxAutoWidthItem* f = fixed.AddItem();
    f->Width = 30;
    f->Fixed = true;
    fixed.AddItem()->Width = 10;
    fixed.Calculate();
    EXPECT_EQ(fixed.Items(0)->AutoWidth, 30);
    EXPECT_EQ(fixed.Items(1)->AutoWidth, 70);
}
