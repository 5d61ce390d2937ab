// Check marks: the value formats both ways (with the number limit), the glyph index and border
// offset tables, and pixel probes of the square per border style, state and grayed style.
#include "tests/toolkit/controls/ControlsTestSupport.h"

#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/editors/cxEditUtils.h"

using namespace cx;

namespace {

struct Items : IcxCheckItems {
    explicit Items(std::vector<std::string> c) : captions(std::move(c)) {}
    std::string GetCaption(int index) override { return captions[size_t(index)]; }
    int GetCount() override { return int(captions.size()); }
    std::vector<std::string> captions;
};

std::string StatesText(const TcxCheckStates& s)
{
    std::string r;
    for (auto st : s)
        r += char('0' + st);
    return r;
}

} // namespace

// ---- values ----

TEST(CxCheckStatesValue, GrayedAndCheckedInEveryFormat)
{
    Items items({"Apple", "Fig"});
    const TcxCheckStates states{cbsGrayed, cbsChecked};
    struct Case {
        TcxCheckStatesValueFormatEx format;
        Variant expected;
    } cases[] = {{cvfCaptions, "5:Apple;3:Fig"}, {cvfIndices, "0;1"}, {cvfInteger, Variant(std::int64_t(2))},
                 {cvfStatesString, "21"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.format));
        Variant v;
        CalculateCheckStatesValue(states, &items, c.format, v);
        EXPECT_EQ(VarToStr(v), VarToStr(c.expected));
        TcxCheckStates back;
        ASSERT_TRUE(CalculateCheckStates(v, &items, c.format, back));
        // The integer format keeps only the checked bits.
        EXPECT_EQ(StatesText(back), c.format == cvfInteger ? "01" : "21");
    }
    Variant custom = "x";
    CalculateCheckStatesValue(states, &items, cvfCustom, custom);
    EXPECT_TRUE(custom.IsNull());
}

TEST(CxCheckStatesValue, OnlyCheckedStartsWithSemicolonOnlyGrayedHasNone)
{
    Items items({"Apple", "Fig"});
    Variant v;
    CalculateCheckStatesValue({cbsUnchecked, cbsChecked}, &items, cvfCaptions, v);
    EXPECT_EQ(VarToStr(v), ";3:Fig");
    CalculateCheckStatesValue({cbsGrayed, cbsGrayed}, &items, cvfIndices, v);
    EXPECT_EQ(VarToStr(v), "0,1");
    CalculateCheckStatesValue({cbsUnchecked, cbsUnchecked}, &items, cvfCaptions, v);
    EXPECT_EQ(VarToStr(v), "");
}

TEST(CxCheckStatesValue, ReadingTable)
{
    Items items({"Apple", "Fig", "Kiwi"});
    struct Case {
        TcxCheckStatesValueFormatEx format;
        Variant value;
        bool ok;
        const char* states;
    } cases[] = {
        {cvfCaptions, "5:apple;3:FIG", true, "210"},
        {cvfCaptions, "", true, "000"},
        {cvfCaptions, Null, true, "000"},
        {cvfCaptions, "5:Apple;4:Pear", false, "000"},    // a caption no item carries
        {cvfCaptions, "5:Appl", false, "000"},             // fewer characters than announced
        {cvfCaptions, "5:Apple;", false, "000"},           // must end right after an entry
        {cvfCaptions, "5:Apple;;3:Fig", false, "000"},     // the part switches once
        {cvfCaptions, "4294967297:A", false, "000"},       // would wrap to 1 in 32 bits
        {cvfIndices, "1,0", true, "220"},
        {cvfIndices, ";2,0", true, "101"},
        {cvfIndices, "3", false, "000"},                   // index equal to the count
        {cvfIndices, "0;1;2", false, "000"},
        {cvfIndices, "0 1", false, "000"},
        {cvfIndices, "2147483647", false, "000"},          // the largest number, still no item
        {cvfIndices, "2147483648", false, "000"},          // above the limit
        {cvfIndices, "4294967296", false, "000"},          // would wrap to 0 in 32 bits
        {cvfIndices, Variant(5), false, "000"},
        {cvfStatesString, "2", true, "200"},
        {cvfStatesString, "1203", true, "120"},            // beyond the items is not read
        {cvfStatesString, "1x", false, "000"},
        {cvfInteger, "5", true, "101"},
        {cvfInteger, Null, true, "000"},
        {cvfInteger, "five", false, "000"},
        {cvfInteger, Variant(6.0), true, "011"},
        {cvfCustom, "1", false, "000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(VarToStr(c.value) + " format " + std::to_string(c.format));
        TcxCheckStates states{cbsChecked};
        EXPECT_EQ(CalculateCheckStates(c.value, &items, c.format, states), c.ok);
        EXPECT_EQ(StatesText(states), c.states);
    }
}

TEST(CxCheckStatesValue, IntegerFormatCountsOnlyTheFirst64Items)
{
    std::vector<std::string> captions(70, "x");
    Items items(captions);
    TcxCheckStates all(70, cbsChecked);
    Variant v;
    CalculateCheckStatesValue(all, &items, cvfInteger, v);
    EXPECT_EQ(v.ToInt64(), std::int64_t(-1));
    TcxCheckStates back;
    ASSERT_TRUE(CalculateCheckStates(v, &items, cvfInteger, back));
    EXPECT_EQ(std::count(back.begin(), back.end(), cbsChecked), 64);
    EXPECT_EQ(back[63], cbsChecked);
    EXPECT_EQ(back[64], cbsUnchecked);
}

// ---- tables ----

TEST(CxEditCheck, GlyphIndexTable)
{
    // unchecked, checked, grayed released, then the same pressed
    struct Case {
        int count;
        bool grayed;
        int expected[6];
    } cases[] = {
        {6, true, {0, 1, 2, 3, 4, 5}},
        {6, false, {0, 1, 2, 3, 4, 5}},
        {3, true, {0, 1, 2, 0, 1, 2}},
        {2, false, {0, 1, 0, 0, 1, 0}},
        {2, true, {0, 1, 2, 0, 1, 2}},
        {1, true, {0, 1, 2, 0, 1, 2}},
        {4, false, {0, 1, 2, 2, 3, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + (c.grayed ? " three-state" : ""));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(GetEditCheckGlyphIndex(TcxCheckBoxState(i % 3), i < 3 ? ecsNormal : ecsPressed, c.grayed,
                                             c.count),
                      c.expected[i])
                << i;
    }
}

TEST(CxEditCheck, BorderOffsetTable)
{
    const int byStyle[] = {2, 1, 0, 0, 0, 1, 1};
    for (int s = ebsNone; s <= ebsOffice11; ++s) {
        EXPECT_EQ(GetEditCheckBorderOffset(TcxEditBorderStyle(s), false, false, nullptr), byStyle[s]) << s;
        EXPECT_EQ(GetEditCheckBorderOffset(TcxContainerBorderStyle(s), false, false, nullptr), byStyle[s]) << s;
        EXPECT_EQ(GetEditCheckBorderOffset(TcxEditBorderStyle(s), true, false, nullptr), 0);
        EXPECT_EQ(GetEditCheckBorderOffset(TcxEditBorderStyle(s), false, true, nullptr), 0);
        EXPECT_EQ(GetEditCheckBorderOffset(TcxEditBorderStyle(s), false, false,
                                           TcxStandardLookAndFeelPainter::Class()),
                  0);
    }
    const int byKind[] = {0, 0, 1, 1};
    for (int k = lfFlat; k <= lfOffice11; ++k)
        EXPECT_EQ(GetEditCheckBorderOffset(TcxLookAndFeelKind(k), false, false, nullptr), byKind[k]) << k;
}

// ---- pixels ----

class CxEditCheckPixels : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        cxCheckBoxUnit::Initialize();
        bitmap.SetPixelFormat(pf32bit);
        bitmap.SetSize(13, 13);
    }
    void TearDown() override
    {
        cxCheckBoxUnit::Finalize();
        ControlBaseTest::TearDown();
    }
    struct Draw {
        TcxCheckBoxState state = cbsUnchecked;
        TcxEditCheckState checkState = ecsNormal;
        TcxEditBorderStyle border = ebs3D;
        TcxCheckBoxNullValueShowingStyle nullStyle = nssGrayedChecked;
        bool background = true;
        bool focused = false;
        TBitmap* glyph = nullptr;
        int glyphCount = 0;
        TcxCustomLookAndFeelPainterClass painter = nullptr;
    };
    void Paint(const Draw& d)
    {
        bitmap.Canvas()->Brush()->SetColor(clLime);
        bitmap.Canvas()->FillRect({0, 0, 13, 13});
        TcxCanvas canvas(bitmap.Canvas());
        DrawEditCheck(&canvas, {0, 0, 13, 13}, d.state, d.checkState, d.glyph, d.glyphCount, d.border, false, clRed,
                      clYellow, d.background, false, d.focused, true, d.painter, d.nullStyle);
    }
    TColor At(int x, int y) { return bitmap.Canvas()->GetPixel(x, y); }
    // Six 13 x 13 cells in red, green, blue, navy, purple and teal.
    static void SixCellGlyph(TBitmap& glyph)
    {
        glyph.SetPixelFormat(pf32bit);
        glyph.SetSize(6 * 13, 13);
        const TColor fills[] = {clRed, clGreen, clBlue, clNavy, clPurple, clTeal};
        for (int k = 0; k < 6; ++k) {
            glyph.Canvas()->Brush()->SetColor(fills[k]);
            glyph.Canvas()->FillRect(cxRectBounds(k * 13, 0, 13, 13));
            glyph.Canvas()->SetPixel(k * 13, 12, clOlive);   // each cell's transparent colour
        }
    }
    std::vector<TColor> All()
    {
        std::vector<TColor> v;
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 13; ++x)
                v.push_back(At(x, y));
        return v;
    }
    TBitmap bitmap;
};

// (2, 2) is the face inside the frame; (3, 6) lies on the check mark.
TEST_F(CxEditCheckPixels, ClassicSquareFaceAndMarkPerState)
{
    struct Case {
        TcxCheckBoxState state;
        TcxEditCheckState checkState;
        TcxCheckBoxNullValueShowingStyle nullStyle;
        TColor face, mark;
    } cases[] = {
        {cbsUnchecked, ecsNormal, nssGrayedChecked, clWindow, clWindow},
        {cbsChecked, ecsNormal, nssGrayedChecked, clWindow, clWindowText},
        {cbsChecked, ecsHot, nssGrayedChecked, clWindow, clWindowText},
        {cbsChecked, ecsPressed, nssGrayedChecked, clBtnFace, clWindowText},
        {cbsUnchecked, ecsPressed, nssGrayedChecked, clBtnFace, clBtnFace},
        {cbsChecked, ecsDisabled, nssGrayedChecked, clBtnFace, clBtnShadow},
        {cbsUnchecked, ecsDisabled, nssGrayedChecked, clBtnFace, clBtnFace},
        {cbsGrayed, ecsNormal, nssGrayedChecked, clWindow, clBtnShadow},
        {cbsGrayed, ecsNormal, nssInactive, clBtnFace, clBtnFace},
        {cbsGrayed, ecsDisabled, nssInactive, clBtnFace, clBtnFace},
        {cbsGrayed, ecsDisabled, nssGrayedChecked, clBtnFace, clBtnShadow},
    };
    for (TcxEditBorderStyle border : {ebs3D, ebsSingle, ebsNone}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(border) + " " + std::to_string(c.state) + " " +
                         std::to_string(c.checkState) + " " + std::to_string(c.nullStyle));
            Paint({c.state, c.checkState, border, c.nullStyle});
            EXPECT_EQ(At(2, 2), Sys(c.face));
            EXPECT_EQ(At(3, 6), Sys(c.mark));
        }
    }
}

TEST_F(CxEditCheckPixels, FrameStepPerBorderStyle)
{
    // ebsNone: a 2-pixel frame in the background colour, only when the background is drawn.
    Paint({.border = ebsNone});
    EXPECT_EQ(At(0, 0), Sys(clYellow));
    EXPECT_EQ(At(1, 12), Sys(clYellow));
    Paint({.border = ebsNone, .background = false});
    EXPECT_EQ(At(0, 0), Sys(clLime));
    EXPECT_EQ(At(1, 1), Sys(clLime));
    // ebsSingle: 1 pixel of background, then 1 of the border colour.
    Paint({.border = ebsSingle});
    EXPECT_EQ(At(0, 0), Sys(clYellow));
    EXPECT_EQ(At(1, 1), Sys(clRed));
    // ebsThick: no background frame, 2 pixels of border colour.
    Paint({.border = ebsThick});
    EXPECT_EQ(At(0, 0), Sys(clRed));
    EXPECT_EQ(At(1, 1), Sys(clRed));
    // ebsFlat: the sunken outer edge, then the button face.
    Paint({.border = ebsFlat});
    EXPECT_EQ(At(0, 0), Sys(clBtnShadow));
    EXPECT_EQ(At(12, 12), Sys(clBtnHighlight));
    EXPECT_EQ(At(1, 1), Sys(clBtnFace));
    // ebs3D: the sunken outer edge, then dark shadow and light.
    Paint({.border = ebs3D});
    EXPECT_EQ(At(0, 0), Sys(clBtnShadow));
    EXPECT_EQ(At(1, 1), Sys(cl3DDkShadow));
    EXPECT_EQ(At(11, 11), Sys(cl3DLight));
}

TEST_F(CxEditCheckPixels, FlatStylesFillAndMaskTheMark)
{
    struct Case {
        TcxEditBorderStyle border;
        TcxCheckBoxState state;
        TcxEditCheckState checkState;
        TcxCheckBoxNullValueShowingStyle nullStyle;
        bool focused;
        TColor frame, face, mark;
    } cases[] = {
        {ebsUltraFlat, cbsChecked, ecsNormal, nssGrayedChecked, false, clBtnShadow, clWindow, clBtnText},
        {ebsUltraFlat, cbsChecked, ecsNormal, nssGrayedChecked, true, GetEditBorderHighlightColor(false), clWindow,
         clBtnText},
        {ebsUltraFlat, cbsUnchecked, ecsHot, nssGrayedChecked, false, GetEditBorderHighlightColor(false),
         GetEditButtonHighlightColor(false, false), GetEditButtonHighlightColor(false, false)},
        {ebsUltraFlat, cbsChecked, ecsPressed, nssGrayedChecked, false, GetEditBorderHighlightColor(false),
         GetEditButtonHighlightColor(true, false), clBtnText},
        {ebsUltraFlat, cbsChecked, ecsDisabled, nssGrayedChecked, false, clBtnShadow, clBtnFace, clBtnShadow},
        {ebsUltraFlat, cbsGrayed, ecsNormal, nssGrayedChecked, false, clBtnShadow, clWindow, clBtnShadow},
        {ebsUltraFlat, cbsGrayed, ecsNormal, nssInactive, false, clBtnShadow, clBtnFace, clBtnFace},
        {ebsOffice11, cbsChecked, ecsNormal, nssGrayedChecked, false, clBtnText, clWindow, clBtnText},
        {ebsOffice11, cbsChecked, ecsNormal, nssGrayedChecked, true, GetEditBorderHighlightColor(true), clWindow,
         clBtnText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.border) + " " + std::to_string(c.state) + " " + std::to_string(c.checkState));
        Paint({c.state, c.checkState, c.border, c.nullStyle, true, c.focused});
        EXPECT_EQ(At(0, 0), Sys(clYellow));
        EXPECT_EQ(At(1, 1), Sys(c.frame));
        EXPECT_EQ(At(2, 2), Sys(c.face));
        EXPECT_EQ(At(3, 6), Sys(c.mark));
    }
}

TEST_F(CxEditCheckPixels, GrayedShownAsUncheckedIsExactlyUncheckedEverywhere)
{
    TBitmap glyph;
    SixCellGlyph(glyph);
    for (TcxEditCheckState cs : {ecsNormal, ecsHot, ecsPressed, ecsDisabled})
        for (int b = ebsNone; b <= ebsOffice11; ++b)
            for (int path = 0; path < 3; ++path) {
                SCOPED_TRACE(std::to_string(cs) + " " + std::to_string(b) + " path " + std::to_string(path));
                Draw d{cbsUnchecked, cs, TcxEditBorderStyle(b), nssUnchecked};
                if (path == 1) {
                    d.glyph = &glyph;
                    d.glyphCount = 6;
                } else if (path == 2) {
                    d.painter = TcxStandardLookAndFeelPainter::Class();
                }
                Paint(d);
                const auto unchecked = All();
                d.state = cbsGrayed;
                Paint(d);
                EXPECT_EQ(All(), unchecked);
            }
}

TEST_F(CxEditCheckPixels, GlyphCellsAndAShortStripShowItsLastCell)
{
    TBitmap glyph;
    SixCellGlyph(glyph);
    Paint({.state = cbsChecked, .checkState = ecsPressed, .glyph = &glyph, .glyphCount = 6});
    EXPECT_EQ(At(6, 6), Sys(clPurple));   // cell 4
    EXPECT_EQ(GetEditCheckSize(nullptr, false, &glyph, 6, nullptr), (TSize{13, 13}));

    // One cell asked for the grayed image (index 2): the only cell shows.
    TBitmap single;
    single.SetPixelFormat(pf32bit);
    single.SetSize(13, 13);
    single.Canvas()->Brush()->SetColor(clMaroon);
    single.Canvas()->FillRect({0, 0, 13, 13});
    single.Canvas()->SetPixel(0, 12, clOlive);
    Paint({.state = cbsGrayed, .glyph = &single, .glyphCount = 1});
    EXPECT_EQ(At(6, 6), Sys(clMaroon));
}

TEST_F(CxEditCheckPixels, SizeFallsBackToThePainterThenTheStandardSquare)
{
    EXPECT_EQ(GetEditCheckSize(nullptr, false, nullptr, 0, nullptr), (TSize{13, 13}));
    EXPECT_EQ(GetEditCheckSize(nullptr, true, nullptr, 6, TcxUltraFlatLookAndFeelPainter::Class()),
              TcxUltraFlatLookAndFeelPainter::Class()->CheckButtonSize());
    // The mask is the standard square's size and black only on the mark.
    TBitmap* mask = cxCheckMarkMask();
    ASSERT_EQ(mask->GetWidth(), 13);
    EXPECT_EQ(mask->Canvas()->GetPixel(3, 6), Sys(clBlack));
    EXPECT_EQ(mask->Canvas()->GetPixel(2, 2), Sys(clWhite));
    EXPECT_EQ(mask->Canvas()->GetPixel(0, 0), Sys(clWhite));
}
