#include "PainterTestSupport.h"

#include "platform/gdi/Dc.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/Region.h"
#include "toolkit/core/dxThemeManager.h"

#include <algorithm>
#include <vector>

using namespace cx;

namespace {

// The outline colour the fake theme draws a part in.
TColor PartColor(int part, int state) { return TColor(0x200000 | (0x80 + state) << 8 | (0x40 + part)); }

// A fake visual-styles library: every theme opens, backgrounds are recorded with their part,
// state and clip and drawn as a 1-pixel outline of the rectangle in the part's colour (under
// the clip); content rectangles are 3 pixels in; a part's region is the ellipse in its rectangle.
struct FakeThemes {
    struct Call {
        int part, state;
        TRect r;
        TRect clip{};
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
        p.DrawThemeBackground = [this](HTHEME, HDC dc, int part, int state, const TRect& r, const TRect* clip) {
            backgrounds.push_back({part, state, r, clip ? *clip : r});
            if (dc) {
                const int saved = gdi::SaveDC(*dc);
                if (clip)
                    gdi::IntersectClipRect(*dc, *clip);
                gdi::FrameRect(*dc, r, gdi::Brush::Solid(ColorToRGB(PartColor(part, state))));
                gdi::RestoreDC(*dc, saved);
            }
            return cx::S_OK;
        };
        p.GetThemeBackgroundRegion = [](HTHEME, HDC, int, int, const TRect& r, HRGN& region) {
            region = new gdi::Region(gdi::Region::Ellipse(r));
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

// The group, expand, radio, footer, filter, tab, progress and date-header elements: their
// theme parts and states with a theme, the standard painter's drawing without one.
TEST_F(WinXPPainterTest, MoreElementsDrawTheirThemePartsOrFallBack)
{
    using Draw = void (*)(const TcxCustomLookAndFeelPainter*, TcxCanvas*);
    struct Case {
        const char* name;
        Draw draw;
        std::vector<std::pair<int, int>> parts;   // (part, state) drawn with the fake theme
    };
    const Case cases[] = {
        {"group expand", [](auto* p, TcxCanvas* c) { p->DrawGroupExpandButton(c, {0, 0, 15, 15}, false, cxbsHot); },
         {{7, 2}}},
        {"group collapse", [](auto* p, TcxCanvas* c) { p->DrawGroupExpandButton(c, {0, 0, 15, 15}, true, cxbsPressed); },
         {{6, 3}}},
        {"small expand", [](auto* p, TcxCanvas* c) { p->DrawSmallExpandButton(c, {0, 0, 9, 9}, true, clDefault, clDefault); },
         {{2, 2}}},
        {"radio", [](auto* p, TcxCanvas* c) { p->DrawRadioButton(c, 2, 3, cxbsDisabled, true, false, clWindow); },
         {{2, 8}}},
        {"footer cell", [](auto* p, TcxCanvas* c) {
             p->DrawFooterCell(c, {0, 0, 30, 16}, taLeftJustify, vaCenter, false, "7", nullptr, clBtnText, clBtnFace);
         },
         {{1, 1}}},
        {"filter close", [](auto* p, TcxCanvas* c) { p->DrawFilterCloseButton(c, {0, 0, 16, 14}, cxbsPressed); },
         {{19, 3}}},
        {"event progress", [](auto* p, TcxCanvas* c) {
             p->DrawSchedulerEventProgress(c, {0, 0, 30, 8}, {1, 1, 12, 7}, TcxViewParams{}, false);
         },
         {{1, 0}, {3, 0}}},
        {"date header", [](auto* p, TcxCanvas* c) {
             TRect r{0, 0, 30, 16};
             p->DrawDateNavigatorDateHeader(c, r);
         },
         {{2, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Without themes: exactly the standard painter's pixels.
        Reset(32, 32);
        c.draw(standard, canvas.get());
        const auto want = Snapshot();
        Reset(32, 32);
        c.draw(xp, canvas.get());
        EXPECT_EQ(Snapshot(), want);
    }
    EXPECT_EQ(xp->GroupExpandButtonSize(), standard->GroupExpandButtonSize());
    EXPECT_EQ(xp->FilterCloseButtonSize().cx, standard->FilterCloseButtonSize().cx);
    EXPECT_EQ(xp->ButtonColor(cxbsHot), standard->ButtonColor(cxbsHot));
    EXPECT_FALSE(xp->IsDrawTabImplemented(false));
    EXPECT_EQ(xp->TabBorderSize(false), standard->TabBorderSize(false));

    BindFake();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.backgrounds.clear();
        Reset(32, 32);
        c.draw(xp, canvas.get());
        std::vector<std::pair<int, int>> drawn;
        for (const auto& call : fake.backgrounds)
            drawn.push_back({call.part, call.state});
        EXPECT_EQ(drawn, c.parts);
    }
    // The radio button takes the theme's size at (x, y); the footer text goes into its text area.
    fake.backgrounds.clear();
    xp->DrawRadioButton(canvas.get(), 2, 3, cxbsNormal, false, false, clWindow);
    ASSERT_EQ(fake.backgrounds.size(), 1u);
    EXPECT_EQ(fake.backgrounds[0].r, (TRect{2, 3, 11, 12}));
    EXPECT_EQ(fake.backgrounds[0].state, 1);
    EXPECT_EQ(fake.texts.size(), 1u);

    // Sizes and colours read from the theme (content 3 pixels in, part size 9 x 9).
    EXPECT_EQ(xp->GroupExpandButtonSize(), 9);
    EXPECT_EQ(xp->SmallExpandButtonSize(), 9);
    EXPECT_EQ(xp->RadioButtonSize().cx, 9);
    EXPECT_EQ(xp->FilterActivateButtonSize().cy, 9);
    EXPECT_EQ(xp->FilterCloseButtonSize().cx, 13);
    EXPECT_EQ(xp->FooterBorderSize(), 1);
    EXPECT_EQ(xp->FooterCellBorderSize(), 3);
    EXPECT_EQ(xp->FooterCellOffset(), 1);
    EXPECT_EQ(xp->ButtonColor(cxbsNormal), TColor(0x00112233));
    EXPECT_EQ(xp->ButtonGroupBorderSizes(3, 1), (TRect{3, 3, 3, 3}));
    EXPECT_EQ(xp->AdjustGroupButtonDisplayRect({0, 0, 20, 10}, 3, 1),
              standard->AdjustGroupButtonDisplayRect({0, 0, 20, 10}, 3, 1));
    EXPECT_EQ(xp->HeaderControlSectionContentBounds({0, 0, 40, 20}, cxbsNormal), (TRect{3, 3, 37, 17}));
    EXPECT_TRUE(xp->IsDrawTabImplemented(true));
    EXPECT_TRUE(xp->IsTabHotTrack(false));
    EXPECT_EQ(xp->TabBorderSize(false), 1);
}

TEST_F(WinXPPainterTest, PartiallyTransparentButtonsWidenTheGroupButton)
{
    BindFake();
    procs.IsThemeBackgroundPartiallyTransparent = [](HTHEME, int, int) { return true; };
    dxUxThemeBindForTesting(&procs);
    const TRect base = standard->AdjustGroupButtonDisplayRect({5, 5, 25, 15}, 2, 0);
    EXPECT_EQ(xp->AdjustGroupButtonDisplayRect({5, 5, 25, 15}, 2, 0),
              (TRect{base.Left - 1, base.Top - 1, base.Right + 1, base.Bottom + 1}));
    EXPECT_EQ(xp->ButtonGroupBorderSizes(2, 0), (TRect{2, 2, 2, 2}));
}

// Tabs, the tab pane, month headers, header sections, the scheduler's navigation content and
// splitter, and the group button's hit test: the standard (or base) drawing without the
// theme; the theme's parts, clipped and turned as designed, with it.
TEST_F(WinXPPainterTest, TabsHeadersAndSchedulerPartsWithoutTheTheme)
{
    using Draw = void (*)(const TcxCustomLookAndFeelPainter*, TcxCanvas*);
    const std::pair<const char*, Draw> drawings[] = {
        {"tab", [](auto* p, TcxCanvas* c) {
             p->DrawTab(c, {2, 2, 30, 16}, cxBordersAll, "T", cxbsPressed, false, nullptr, clBtnText, clBtnFace);
         }},
        {"tabs root", [](auto* p, TcxCanvas* c) { p->DrawTabsRoot(c, {0, 0, 30, 30}, cxBordersAll, false); }},
        {"splitter", [](auto* p, TcxCanvas* c) {
             TcxViewParams params;
             params.Color = clRed;
             p->DrawSchedulerSplitterBorder(c, {0, 0, 30, 8}, params, true);
         }},
        {"navigation content", [](auto* p, TcxCanvas* c) {
             p->DrawSchedulerNavigationButtonContent(c, {0, 0, 20, 30}, {6, 10, 12, 20}, true, cxbsHot);
         }},
    };
    for (const auto& [name, draw] : drawings) {
        SCOPED_TRACE(name);
        Reset(32, 32);
        draw(standard, canvas.get());
        const auto want = Snapshot();
        Reset(32, 32);
        draw(xp, canvas.get());
        EXPECT_EQ(Snapshot(), want);
    }
    EXPECT_TRUE(xp->IsPointOverGroupExpandButton({0, 0, 15, 15}, {0, 0}));
    EXPECT_FALSE(xp->IsPointOverGroupExpandButton({0, 0, 15, 15}, {15, 7}));
}

TEST_F(WinXPPainterTest, ThemedTabsAreClippedAndVerticalOnesTurned)
{
    BindFake();
    const TColor selected = PartColor(1, 3), normal = PartColor(1, 1);
    // A horizontal tab that is not selected loses its bottom row to the clip.
    Reset(48, 48);
    xp->DrawTab(canvas.get(), {10, 10, 40, 30}, cxBordersAll, "Tab", cxbsNormal, false, nullptr, clBtnText,
                clBtnFace);
    EXPECT_TRUE(Is(10, 20, normal));
    EXPECT_TRUE(Is(39, 20, normal));
    EXPECT_TRUE(Is(20, 10, normal));
    EXPECT_TRUE(Is(20, 29, kBack));
    EXPECT_TRUE(Is(20, 20, kBack));
    ASSERT_EQ(fake.texts.size(), 1u);
    EXPECT_EQ(fake.texts[0].r, (TRect{10, 10, 40, 30}));

    // A selected tab reaches one row further (past the clip) and its text area is 2 rows shorter;
    // without side borders it runs 2 pixels beyond each side, under the clip.
    fake.backgrounds.clear();
    fake.texts.clear();
    Reset(48, 48);
    xp->DrawTab(canvas.get(), {10, 10, 40, 30}, cxBorder(bTop), "Tab", cxbsPressed, false, nullptr, clBtnText,
                clBtnFace);
    ASSERT_EQ(fake.backgrounds.size(), 1u);
    EXPECT_EQ(fake.backgrounds[0].r, (TRect{8, 10, 42, 31}));
    EXPECT_EQ(fake.backgrounds[0].clip, (TRect{10, 10, 40, 30}));
    EXPECT_TRUE(Is(20, 10, selected));
    EXPECT_TRUE(Is(10, 20, kBack));
    EXPECT_TRUE(Is(20, 29, kBack));
    EXPECT_TRUE(Is(9, 10, kBack));
    ASSERT_EQ(fake.texts.size(), 1u);
    EXPECT_EQ(fake.texts[0].r, (TRect{8, 10, 42, 29}));

    // A vertical tab is the horizontal one turned a quarter: pixel (x, y) of a 30 x 20
    // horizontal tab is pixel (y, x) of a 20 x 30 vertical one; its text stays in the tab.
    Reset(48, 48);
    xp->DrawTab(canvas.get(), {0, 0, 30, 20}, cxBorder(bLeft), "T", cxbsHot, false, nullptr, clBtnText, clBtnFace);
    const auto horizontal = Snapshot();
    fake.texts.clear();
    Reset(48, 48);
    xp->DrawTab(canvas.get(), {0, 0, 20, 30}, cxBorder(bTop), "T", cxbsHot, true, nullptr, clBtnText, clBtnFace);
    const auto verticalPixels = Snapshot();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(horizontal[size_t(y * 48 + x)], verticalPixels[size_t(x * 48 + y)]) << x << "," << y;
    EXPECT_TRUE(Is(0, 10, PartColor(1, 2)));
    EXPECT_TRUE(Is(19, 10, kBack)); // the clipped edge keeps what the canvas showed
    ASSERT_EQ(fake.texts.size(), 1u);
    EXPECT_EQ(fake.texts[0].r, (TRect{0, 0, 20, 32}));
}

TEST_F(WinXPPainterTest, ThemedPaneHeadersSchedulerPartsAndHitTest)
{
    BindFake();
    // The pane is enlarged away from the tabs (by 10, and by the margins' difference) and
    // clipped to the rectangle.
    xp->DrawTabsRoot(canvas.get(), {4, 4, 40, 30}, cxBordersAll, false);
    EXPECT_TRUE(Is(39, 20, PartColor(9, 0)));
    EXPECT_TRUE(Is(20, 29, kBack));
    Reset(64, 64);
    xp->DrawTabsRoot(canvas.get(), {4, 4, 40, 30}, cxBordersAll, true);
    ASSERT_EQ(fake.backgrounds.size(), 2u);
    EXPECT_EQ(fake.backgrounds[0].part, 9);
    EXPECT_EQ(fake.backgrounds[0].r, (TRect{4, 4, 40, 40}));
    EXPECT_EQ(fake.backgrounds[1].r, (TRect{4, 4, 50, 30}));
    EXPECT_EQ(fake.backgrounds[1].clip, (TRect{4, 4, 40, 30}));
    EXPECT_TRUE(Is(4, 20, PartColor(9, 0)));
    EXPECT_TRUE(Is(20, 29, PartColor(9, 0)));
    EXPECT_TRUE(Is(39, 20, kBack));

    // A header section fills its face first; the themed header draws over it.
    fake.backgrounds.clear();
    Reset(48, 48);
    xp->DrawHeaderControlSection(canvas.get(), {0, 0, 40, 20}, {2, 2, 38, 18}, {}, cxBordersAll, cxbsPressed,
                                 taLeftJustify, vaCenter, false, false, "H", nullptr, clBtnText, clBtnFace);
    ASSERT_EQ(fake.backgrounds.size(), 1u);
    EXPECT_EQ(fake.backgrounds[0].state, 3);
    EXPECT_TRUE(Is(20, 10, clBtnFace));
    EXPECT_TRUE(Is(0, 0, PartColor(1, 3)));

    // A month header is a normal header over its bounds (text area too) with the arrows.
    fake.backgrounds.clear();
    fake.texts.clear();
    Reset(64, 24);
    TcxViewParams params;
    params.Color = clWindow;
    params.TextColor = clWindowText;
    xp->DrawMonthHeader(canvas.get(), {0, 0, 64, 20}, "May", TcxNeighbors{nLeft}, params, haBoth, 12);
    ASSERT_EQ(fake.backgrounds.size(), 1u);
    EXPECT_EQ(fake.backgrounds[0].state, 1);
    ASSERT_EQ(fake.texts.size(), 1u);
    EXPECT_EQ(fake.texts[0].r, (TRect{0, 0, 64, 20}));
    auto pixels = Snapshot();
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), gdi::ColorToPixel(ColorToRef(clWindowText))), 4);

    // The scheduler's navigation content is a tab item turned behind the arrow: the tab is
    // drawn over the turned size, and the canvas under it shows through.
    fake.backgrounds.clear();
    Reset(32, 32);
    xp->DrawSchedulerNavigationButtonContent(canvas.get(), {0, 0, 20, 30}, {6, 10, 12, 20}, false, cxbsPressed);
    ASSERT_EQ(fake.backgrounds.size(), 1u);
    EXPECT_EQ(fake.backgrounds[0].part, 1);
    EXPECT_EQ(fake.backgrounds[0].state, 3);
    EXPECT_EQ(fake.backgrounds[0].r, (TRect{0, 0, 30, 20}));
    EXPECT_TRUE(Is(0, 0, PartColor(1, 3)));
    EXPECT_TRUE(Is(19, 29, PartColor(1, 3)));
    EXPECT_TRUE(Is(3, 3, kBack));
    EXPECT_TRUE(Is(3, 25, kBack));

    // The splitter's lines take the combo box's border colour; the rest the view colour.
    Reset(32, 32);
    params.Color = clRed;
    xp->DrawSchedulerSplitterBorder(canvas.get(), {0, 0, 30, 8}, params, true);
    EXPECT_TRUE(Is(5, 0, TColor(0x00112233)));
    EXPECT_TRUE(Is(5, 7, TColor(0x00112233)));
    EXPECT_TRUE(Is(5, 3, clRed));

    // The group button answers for its themed shape, not its rectangle's corners.
    EXPECT_TRUE(xp->IsPointOverGroupExpandButton({0, 0, 15, 15}, {7, 7}));
    EXPECT_FALSE(xp->IsPointOverGroupExpandButton({0, 0, 15, 15}, {0, 0}));
    procs.GetThemeBackgroundRegion = [](HTHEME, HDC, int, int, const TRect&, HRGN&) { return cx::E_FAIL; };
    dxUxThemeBindForTesting(&procs);
    EXPECT_TRUE(xp->IsPointOverGroupExpandButton({0, 0, 15, 15}, {0, 0}));
}

// The remaining themed elements: each draws its part in the state of its table, and the fixed
// answers of the painter hold with or without a theme.
TEST_F(WinXPPainterTest, ButtonsArrowsChecksAndGripsDrawTheirThemeParts)
{
    EXPECT_EQ(xp->ButtonTextOffset(), 2);
    EXPECT_EQ(xp->ButtonTextShift(), 0);
    EXPECT_FALSE(xp->DrawExpandButtonFirst());
    EXPECT_FALSE(xp->FooterDrawCellsFirst());
    EXPECT_TRUE(xp->IsButtonHotTrack());
    EXPECT_TRUE(xp->IsHeaderHotTrack());
    EXPECT_EQ(xp->SchedulerEventProgressOffsets(), (TRect{3, 3, 3, 3}));
    EXPECT_EQ(xp->DefaultSchedulerViewContentColor(), TColor(0x00D5FFFF));
    EXPECT_EQ(xp->SortingMarkSize(), (TSize{7, 8}));
    EXPECT_EQ(xp->CheckButtonSize(), standard->CheckButtonSize());
    EXPECT_EQ(xp->ButtonFocusRect(canvas.get(), {0, 0, 30, 20}), standard->ButtonFocusRect(canvas.get(), {0, 0, 30, 20}));
    // Without the theme the expand button and footer border are the standard painter's.
    for (auto draw : {+[](const TcxCustomLookAndFeelPainter* p, TcxCanvas* c) { p->DrawExpandButton(c, {2, 2, 11, 11}, true); },
                      +[](const TcxCustomLookAndFeelPainter* p, TcxCanvas* c) { p->DrawFooterBorder(c, {1, 1, 30, 20}); }}) {
        Reset(32, 32);
        draw(standard, canvas.get());
        const auto want = Snapshot();
        Reset(32, 32);
        draw(xp, canvas.get());
        EXPECT_EQ(Snapshot(), want);
    }

    BindFake();
    using Draw = void (*)(const TcxCustomLookAndFeelPainter*, TcxCanvas*);
    struct Case {
        const char* name;
        Draw draw;
        std::pair<int, int> part;   // (part, state)
    } cases[] = {
        {"default button", [](auto* p, TcxCanvas* c) { p->DrawButton(c, {0, 0, 30, 20}, "OK", cxbsDefault); }, {1, 5}},
        {"disabled button", [](auto* p, TcxCanvas* c) { p->DrawButton(c, {0, 0, 30, 20}, "OK", cxbsDisabled); }, {1, 4}},
        {"hot tool button",
         [](auto* p, TcxCanvas* c) { p->DrawButton(c, {0, 0, 30, 20}, "", cxbsHot, true, clDefault, clDefault, false, true); },
         {1, 2}},
        {"left arrow pressed", [](auto* p, TcxCanvas* c) { p->DrawArrow(c, {0, 0, 16, 16}, cxbsPressed, adLeft); }, {1, 11}},
        {"right arrow normal", [](auto* p, TcxCanvas* c) { p->DrawArrow(c, {0, 0, 16, 16}, cxbsNormal, adRight); }, {1, 13}},
        {"up arrow disabled", [](auto* p, TcxCanvas* c) { p->DrawArrow(c, {0, 0, 16, 16}, cxbsDisabled, adUp); }, {1, 4}},
        {"arrow border", [](auto* p, TcxCanvas* c) { p->DrawArrowBorder(c, {0, 0, 16, 16}, cxbsHot); }, {1, 2}},
        {"expanded", [](auto* p, TcxCanvas* c) { p->DrawExpandButton(c, {0, 0, 9, 9}, true); }, {2, 2}},
        {"collapsed", [](auto* p, TcxCanvas* c) { p->DrawExpandButton(c, {0, 0, 9, 9}, false); }, {2, 1}},
        {"checked hot", [](auto* p, TcxCanvas* c) { p->DrawCheck(c, {0, 0, 13, 13}, cxbsHot, true, clWindow); }, {3, 6}},
        {"unchecked pressed", [](auto* p, TcxCanvas* c) { p->DrawCheck(c, {0, 0, 13, 13}, cxbsPressed, false, clWindow); },
         {3, 3}},
        {"navigator normal", [](auto* p, TcxCanvas* c) { p->DrawSchedulerNavigatorButton(c, {0, 0, 20, 20}, cxbsNormal); },
         {1, 2}},
        {"navigator hot", [](auto* p, TcxCanvas* c) { p->DrawSchedulerNavigatorButton(c, {0, 0, 20, 20}, cxbsHot); }, {1, 5}},
        {"size grip", [](auto* p, TcxCanvas* c) { p->DrawSizeGrip(c, {0, 0, 16, 16}, clBtnFace); }, {10, 1}},
        {"footer border", [](auto* p, TcxCanvas* c) { p->DrawFooterBorder(c, {0, 0, 30, 20}); }, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.backgrounds.clear();
        Reset(32, 32);
        c.draw(xp, canvas.get());
        ASSERT_EQ(fake.backgrounds.size(), 1u);
        EXPECT_EQ(std::make_pair(fake.backgrounds[0].part, fake.backgrounds[0].state), c.part);
    }
    // A themed expand button leaves its rectangle out of the clip: a later fill does not reach it.
    Reset(32, 32);
    xp->DrawExpandButton(canvas.get(), {0, 0, 9, 9}, false);
    canvas->FillRect({0, 0, 32, 32}, clRed);
    EXPECT_FALSE(Is(4, 4, clRed));
    EXPECT_TRUE(Is(20, 20, clRed));

    EXPECT_EQ(xp->CheckButtonSize(), (TSize{9, 9}));
    EXPECT_EQ(xp->ButtonFocusRect(canvas.get(), {0, 0, 30, 20}), (TRect{3, 3, 27, 17}));
    EXPECT_EQ(xp->HeaderControlSectionBorderSize(cxbsPressed), xp->HeaderBorderSize());
    EXPECT_EQ(xp->DefaultSchedulerBorderColor(), TColor(0x00112233));
}
