#include "PainterTestSupport.h"

#include "toolkit/core/dxThemeManager.h"

#include <vector>

using namespace cx;

namespace {

// A fake visual-styles library: every theme opens, backgrounds are filled in one colour and
// recorded with their part and state, content rectangles are 3 pixels in.
struct FakeThemes {
    struct Call {
        int part, state;
        TRect r;
    };
    std::vector<Call> backgrounds, texts;
    bool open = true;

    TdxUxThemeProcs Procs()
    {
        TdxUxThemeProcs p;
        p.IsThemeActive = [] { return true; };
        p.OpenThemeData = [this](TdxWindowHandle, const std::u16string&) {
            return open ? reinterpret_cast<HTHEME>(std::intptr_t(1)) : nullptr;
        };
        p.CloseThemeData = [](HTHEME) { return cx::S_OK; };
        p.GetCurrentThemeName = [](std::u16string& file, std::u16string*, std::u16string*) {
            file = u"Luna.msstyles";
            return cx::S_OK;
        };
        p.DrawThemeBackground = [this](HTHEME, HDC dc, int part, int state, const TRect& r, const TRect*) {
            (void)dc;
            backgrounds.push_back({part, state, r});
            return cx::S_OK;
        };
        p.DrawThemeText = [this](HTHEME, HDC, int part, int state, const std::string&, int, unsigned, unsigned,
                                 const TRect& r) {
            texts.push_back({part, state, r});
            return cx::S_OK;
        };
        p.DrawThemeEdge = [this](HTHEME, HDC, int part, int state, const TRect& r, unsigned, unsigned, TRect*) {
            backgrounds.push_back({part, state, r});
            return cx::S_OK;
        };
        p.GetThemeColor = [](HTHEME, int, int, int, COLORREF& color) {
            color = 0x00112233;
            return cx::S_OK;
        };
        p.GetThemePartSize = [](HTHEME, HDC, int, int, const TRect*, int kind, TSize& size) {
            size = kind == TS_MIN ? TSize{6, 6} : TSize{9, 9};
            return cx::S_OK;
        };
        p.GetThemeBackgroundContentRect = [](HTHEME, HDC, int, int, const TRect& bounds, TRect& content) {
            content = {bounds.Left + 3, bounds.Top + 3, bounds.Right - 3, bounds.Bottom - 3};
            return cx::S_OK;
        };
        p.IsThemeBackgroundPartiallyTransparent = [](HTHEME, int, int) { return false; };
        return p;
    }
};

class WinXPPainterTest : public PainterCanvasTest {
protected:
    const TcxWinXPLookAndFeelPainter* xp = TcxWinXPLookAndFeelPainter::Class();
    const TcxStandardLookAndFeelPainter* standard = TcxStandardLookAndFeelPainter::Class();
    FakeThemes fake;
    TdxUxThemeProcs procs;

    void SetUp() override
    {
        PainterCanvasTest::SetUp();
        dxUxThemeUnit::Initialize();
        dxThemeManagerUnit::Initialize();
    }
    void TearDown() override
    {
        dxThemeManagerUnit::Finalize();
        dxUxThemeUnit::Finalize();
        dxUxThemeBindForTesting(nullptr);
        PainterCanvasTest::TearDown();
    }
    void BindFake()
    {
        dxThemeManagerUnit::Finalize();
        dxUxThemeUnit::Finalize();
        procs = fake.Procs();
        dxUxThemeBindForTesting(&procs);
        dxThemeManagerUnit::Initialize();
        ASSERT_TRUE(AreVisualStylesAvailable());
    }
};

} // namespace

TEST_F(WinXPPainterTest, WithoutThemesEveryElementIsTheStandardOne)
{
    EXPECT_EQ(xp->BorderSize(), 2);
    EXPECT_EQ(xp->ExpandButtonSize(), 12);
    EXPECT_EQ(xp->ButtonBorderSize(cxbsDefault), 2);
    EXPECT_EQ(xp->ScrollBarMinimalThumbSize(true), 8);
    EXPECT_EQ(xp->LookAndFeelStyle(), lfsNative);
    EXPECT_FALSE(xp->NeedRedrawOnResize());
    struct Drawing {
        const char* name;
        void (*draw)(const TcxCustomLookAndFeelPainter*, TcxCanvas*);
    } drawings[] = {
        {"border", [](auto* p, TcxCanvas* c) { p->DrawBorder(c, {0, 0, 12, 12}); }},
        {"check border", [](auto* p, TcxCanvas* c) { p->DrawCheckBorder(c, {0, 0, 13, 13}, cxbsNormal); }},
        {"tab border", [](auto* p, TcxCanvas* c) { p->DrawTabBorder(c, {2, 2, 4, 20}, bLeft, cxBordersAll, true); }},
        {"thumb", [](auto* p, TcxCanvas* c) { p->DrawScrollBarPart(c, true, {0, 0, 16, 16}, sbpThumbnail, cxbsNormal); }},
        {"group box", [](auto* p, TcxCanvas* c) { p->DrawGroupBoxFrame(c, {0, 0, 20, 20}, true, cxgpTop, cxBordersAll); }},
        {"filter button", [](auto* p, TcxCanvas* c) { p->DrawFilterDropDownButton(c, {0, 0, 14, 14}, cxbsPressed, true); }},
    };
    for (const auto& d : drawings) {
        Reset(32, 32);
        d.draw(standard, canvas.get());
        const auto want = Snapshot();
        Reset(32, 32);
        d.draw(xp, canvas.get());
        EXPECT_EQ(Snapshot(), want) << d.name;
    }
}

TEST_F(WinXPPainterTest, WithAThemeTheElementsAreThemeParts)
{
    BindFake();
    EXPECT_EQ(xp->BorderSize(), 1);
    EXPECT_EQ(xp->ButtonBorderSize(cxbsNormal), 3);
    EXPECT_EQ(xp->ExpandButtonSize(), 9);
    EXPECT_EQ(xp->CheckBorderSize(), 0);
    EXPECT_EQ(xp->HeaderBorderSize(), 3);
    EXPECT_EQ(xp->ScrollBarMinimalThumbSize(true), 13); // max(6, 9 + 4, 8)
    EXPECT_EQ(xp->ButtonSymbolColor(cxbsNormal), TColor(0x00112233));
    EXPECT_TRUE(xp->NeedRedrawOnResize());

    // A themed check box is one picture: no border of its own.
    xp->DrawCheckBorder(canvas.get(), {0, 0, 13, 13}, cxbsNormal);
    EXPECT_TRUE(fake.backgrounds.empty());
    EXPECT_TRUE(Is(0, 0, kBack));

    // A disabled thumb is drawn (SCRBS_DISABLED) with its gripper.
    xp->DrawScrollBarPart(canvas.get(), true, {0, 0, 30, 16}, sbpThumbnail, cxbsDisabled);
    ASSERT_EQ(fake.backgrounds.size(), 2u);
    EXPECT_EQ(fake.backgrounds[0].part, 2);
    EXPECT_EQ(fake.backgrounds[0].state, 4);
    EXPECT_EQ(fake.backgrounds[1].part, 8);
    fake.backgrounds.clear();

    // Arrow buttons by direction and state.
    xp->DrawScrollBarPart(canvas.get(), false, {0, 0, 16, 16}, sbpLineDown, cxbsHot);
    ASSERT_EQ(fake.backgrounds.size(), 1u);
    EXPECT_EQ(fake.backgrounds[0].part, 1);
    EXPECT_EQ(fake.backgrounds[0].state, 6);
    fake.backgrounds.clear();

    // A pressed header moves its text one pixel right and down.
    const TRect bounds{0, 0, 40, 18}, text{2, 2, 38, 16};
    xp->DrawHeader(canvas.get(), bounds, text, {}, cxBordersAll, cxbsPressed, taLeftJustify, vaCenter, false, false,
                   "Abc", nullptr, clBtnText, clBtnFace);
    ASSERT_EQ(fake.backgrounds.size(), 1u);
    EXPECT_EQ(fake.backgrounds[0].state, 3);
    ASSERT_EQ(fake.texts.size(), 1u);
    EXPECT_EQ(fake.texts[0].r, (TRect{3, 3, 39, 17}));
}

TEST_F(WinXPPainterTest, Office11BorrowsThemedScrollBarsAndGroupBoxes)
{
    BindFake();
    TcxOffice11LookAndFeelPainter::Class()->DrawScrollBarPart(canvas.get(), true, {0, 0, 16, 16}, sbpPageUp,
                                                              cxbsNormal);
    ASSERT_EQ(fake.backgrounds.size(), 1u);
    EXPECT_EQ(fake.backgrounds[0].part, 4);
    TcxOffice11LookAndFeelPainter::Class()->DrawGroupBoxFrame(canvas.get(), {0, 0, 20, 20}, false, cxgpTop,
                                                              cxBordersAll);
    ASSERT_EQ(fake.backgrounds.size(), 2u);
    EXPECT_EQ(fake.backgrounds[1].part, 4);
    EXPECT_EQ(fake.backgrounds[1].state, 2);
}
