#include <gtest/gtest.h>

#include "toolkit/core/cxDWMApi.h"
#include "toolkit/core/cxGeometry.h"

using namespace cx;

namespace {
std::string S(const TRect& r)
{
    return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom) + ")";
}
} // namespace

TEST(CxGeometry, ValueFunctions)
{
    const TRect r{5, 10, 25, 40};
    struct Case { const char* what; TRect got; TRect want; };
    const Case cases[] = {
        {"bounds", cxRectBounds(1, 2, 3, 4), {1, 2, 4, 6}},
        {"inflate", cxRectInflate(r, 1, 2), {4, 8, 26, 42}},
        {"inflate4", cxRectInflate(r, 1, 2, 3, 4), {4, 8, 28, 44}},
        {"content", cxRectContent(r, {1, 2, 3, 4}), {6, 12, 22, 36}},
        {"offset", cxRectOffset(r, 2, 3, true), {7, 13, 27, 43}},
        {"offset-", cxRectOffset(r, TPoint{2, 3}, false), {3, 7, 23, 37}},
        {"offsets", cxRectOffset(r, std::vector<TPoint>{{1, 1}, {1, 2}}), {7, 13, 27, 43}},
        {"center", cxRectCenter(r, 4, 6), {13, 22, 17, 28}},
        {"setLeft", cxRectSetLeft(r, 0), {0, 10, 20, 40}},
        {"setRight", cxRectSetRight(r, 30, 5), {25, 10, 30, 40}},
        {"setBottom", cxRectSetBottom(r, 50), {5, 20, 25, 50}},
        {"setTop", cxRectSetTop(r, 0, 5), {5, 0, 25, 5}},
        {"setWidth2", cxRectSetWidth(r, 1, 2), {1, 10, 3, 40}},
        {"setSize", cxRectSetSize(r, 1, 2), {5, 10, 6, 12}},
        {"xpos", cxRectSetXPos(r, 0, 1), {0, 10, 1, 40}},
        {"adjust", cxRectAdjust({5, 6, 1, 2}), {1, 2, 5, 6}},
        {"rotate", cxRectRotate(r), {10, 5, 40, 25}},
        {"invert", cxRectInvert(r), {-5, -10, -25, -40}},
        {"union empty R2", cxRectUnion({0, 0, 10, 10}, {5, 5, 5, 9}), {0, 0, 10, 10}},
        {"union null R1", cxRectUnion({0, 0, 0, 0}, {2, 2, 4, 4}), {0, 0, 4, 4}},
        {"scaleHeight", cxRectScaleHeight({0, 10, 5, 20}, 0, 100, 10, 20), {0, 80, 5, 100}},
        {"scaleWidth", cxRectScaleWidth({3, 0, 5, 1}, 0, 0, 2, 3), {-5, 0, -2, 1}},   // MulDiv rounds -4.5 to -5
    };
    for (const Case& c : cases)
        EXPECT_EQ(S(c.got), S(c.want)) << c.what;

    EXPECT_EQ(cxRectCenter(TRect{0, 0, 5, 5}), (TPoint{2, 2}));
    EXPECT_EQ(cxRectCenter(TRect{-5, -5, 0, 0}), (TPoint{-2, -2}));
    EXPECT_EQ(cxPointSum({}), cxNullPoint);
    EXPECT_EQ(cxRectGetItem(r, 7), 0);
    EXPECT_EQ(cxRectGetSize(r, 5), 30);
    EXPECT_EQ(cxPointReplaceItem({1, 2}, 3, 9), (TPoint{1, 9}));
    EXPECT_TRUE(cxRectIsEmpty({0, 0, 0, 5}));
    EXPECT_TRUE(cxRectIsInvalid(cxInvalidRect));
    EXPECT_TRUE(cxRectContain(r, {5, 10, 25, 40}));
    int mn, mx;
    cxRectMinMaxInit(mn, mx);
    cxRectMinMaxHeight(r, mx, mn);
    EXPECT_EQ(mn, 10);
    EXPECT_EQ(mx, 40);
}

TEST(CxGeometry, IntersectionHitTestsAndStrips)
{
    TRect out{1, 1, 1, 1};
    EXPECT_FALSE(cxRectIntersect(out, {0, 0, 5, 5}, {5, 0, 9, 5}));   // touching edges
    EXPECT_EQ(out, cxNullRect);
    EXPECT_TRUE(cxRectIntersect(out, {0, 0, 5, 5}, {3, 2, 9, 9}));
    EXPECT_EQ(S(out), "(3,2,5,5)");

    const TRect r{0, 0, 10, 10};
    EXPECT_FALSE(cxRectPtIn(r, 10, 5));
    EXPECT_TRUE(cxRectPtIn(r, 0, 5));
    struct Hit { int x, y; TcxPtInRectType want; };
    for (Hit h : {Hit{12, 5, ptrtRight}, Hit{-2, 5, ptrtLeft}, Hit{5, -2, ptrtTop}, Hit{5, 11, ptrtBottom},
                  Hit{14, 5, ptrtNone}, Hit{5, 5, ptrtArea}})
        EXPECT_EQ(cxRectPtInEx(r, h.x, h.y, 3), h.want) << h.x << "," << h.y;

    TRect a, b;
    cxRectSplitHorz({0, 0, 9, 4}, a, b);
    EXPECT_EQ(S(a) + S(b), "(0,0,4,4)(4,0,9,4)");

    TRect r1v, r1h, r2v, r2h;
    cxRectOverlapped({0, 0, 10, 10}, {3, 4, 13, 14}, r1v, r1h, r2v, r2h);
    EXPECT_EQ(S(r1v), "(0,0,10,4)");
    EXPECT_EQ(S(r2v), "(3,10,13,14)");
    EXPECT_EQ(S(r1h), "(0,0,3,10)");
    EXPECT_EQ(S(r2h), "(10,4,13,14)");
}

TEST(CxGeometry, PersistentRectAndSize)
{
    TcxRect rect(nullptr);
    int changes = 0;
    rect.OnChange = [&](TObject*) { ++changes; };
    rect.SetRect({5, 0, 9, 0});
    rect.SetWidth(20);
    EXPECT_EQ(rect.Right(), 25);
    rect.SetRect(rect.Rect());
    EXPECT_EQ(changes, 2);
    rect.SetVertex(3, {30, 40});
    EXPECT_EQ(rect.GetVertex(7), (TPoint{30, 40}));
    rect.SetVertex(9, {1, 1});
    EXPECT_EQ(changes, 3);

    TcxSize size(nullptr);
    size.OnChange = [&](TObject*) { ++changes; };
    size.SetSize({-3, 7});
    EXPECT_EQ(size.GetSize(), (TSize{0, 7}));
    size.SetSize({0, 7});
    EXPECT_EQ(changes, 4);
    EXPECT_TRUE(size.IsSizeStored(0));
    EXPECT_FALSE(size.IsSizeStored(1));

    rect.Assign(&size);   // ignored without error
    EXPECT_EQ(rect.Right(), 30);
    EXPECT_THROW(size.Assign(&rect), EConvertError);

    cxGeometryUnit::Initialize();
    auto cls = TcxRectClass::FromMeta(GetClass("TcxRect"));
    ASSERT_TRUE(cls);
    UniqueObject<TcxRect> made(cls.Create(nullptr));
    EXPECT_TRUE(made->IsEmpty());
    cxGeometryUnit::Finalize();
    EXPECT_EQ(GetClass("TcxRect"), nullptr);
}

TEST(CxDWMApi, CompositionIsReportedAbsent)
{
    cxDWMApiUnit::Initialize();
    EXPECT_FALSE(IsDwmPresent());
    EXPECT_FALSE(IsCompositionEnabled());
    EXPECT_EQ(DwmIsCompositionEnabled, nullptr);
    EXPECT_EQ(DwmSetWindowAttribute, nullptr);
    cxDWMApiUnit::Finalize();
}
