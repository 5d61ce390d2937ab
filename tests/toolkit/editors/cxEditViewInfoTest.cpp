// The editor view info: frame and button painting per style, contents, hit tests, update
// regions, owner drawing and painting at an origin.
#include "tests/toolkit/editors/EditViewTestSupport.h"
#include "tests/toolkit/controls/ControlsTestSupport.h"
#include "platform/rtl/SysUtils.h"
#include "toolkit/core/dxOffice11.h"

#include <map>

namespace {

// The editor's own colours are apart from the system's; the system palette is fixed (its 3D
// light is the button face, its window colour the button highlight, its button text black).
constexpr TColor kEditColor = 0x40C0FF, kBorderColor = clRed;
const std::map<char, TColor> kLegend = {
    {'E', kEditColor}, {'R', kBorderColor}, {'F', clBtnFace}, {'S', clBtnShadow}, {'H', clBtnHighlight},
    {'D', cl3DDkShadow}, {'T', clBtnText}, {'h', clHighlight},
};

class EditViewInfo : public EditViewTest {
protected:
    void SetUp() override
    {
        EditViewTest::SetUp();
        style->SetColor(kEditColor);
        style->SetBorderColor(kBorderColor);
    }
    // An editor 30 x 20 with one right button 15 wide at (14, 1, 29, 19), its state forced.
    void Render(TcxEditButtonStyle buttonStyle, TcxEditButtonKind kind, TcxEditButtonState state)
    {
        properties->Buttons()->Clear();
        AddButton(kind, 15);
        style->SetButtonStyle(buttonStyle);
        viewData.reset();
        viewInfo->OnGetButtonState = [state](TcxCustomEditViewInfo*, int, TcxEditButtonState& s) { s = state; };
        Calc({0, 0, 30, 20});
        Reset(30, 20);
        viewInfo->Paint(canvas.get());
    }
    char At(int x, int y)
    {
        for (const auto& [c, color] : kLegend)
            if (Is(x, y, color))
                return c;
        return '?';
    }
    // The colour without the alpha byte (the image routine writes an opaque one).
    bool IsRgb(int x, int y, TColor c) { return ((Raw(x, y) ^ gdi::ColorToPixel(ColorToRef(c))) & 0xFFFFFF) == 0; }
    // The box around the pixels of colour c inside r, and how many there are.
    TRect BoxOf(const TRect& r, TColor c, int& count)
    {
        TRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        count = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (IsRgb(x, y, c)) {
                    ++count;
                    box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                           std::max(box.Bottom, y + 1)};
                }
        return count ? box : cxNullRect;
    }
};

TEST_F(EditViewInfo, ButtonsPerStyle)
{
    // Probes: the button's outer top-left (14, 1), the pixel inside it (15, 2), the outer
    // bottom-right (28, 18) and a face pixel (17, 5); the content's colour, box and pixel count.
    struct Case {
        TcxEditButtonStyle style;
        TcxEditButtonState state;
        TcxEditButtonKind kind;
        const char* probes;
        TColor content;
        TRect box;
        int count;
    } cases[] = {
        {bts3D, ebsNormal, bkEllipsis, "FHDF", clBtnText, {18, 9, 25, 10}, 3},
        {bts3D, ebsNormal, bkDown, "FHDF", clBtnText, {18, 8, 25, 12}, 16},
        {bts3D, ebsPressed, bkEllipsis, "SFSF", clBtnText, {19, 10, 26, 11}, 3},
        {bts3D, ebsPressed, bkDown, "SFSF", clBtnText, {19, 9, 26, 13}, 16},
        {btsFlat, ebsNormal, bkEllipsis, "FHSF", clBtnText, {18, 9, 25, 10}, 3},
        {btsFlat, ebsPressed, bkDown, "FSHF", clBtnText, {19, 9, 26, 13}, 16},
        {btsSimple, ebsNormal, bkEllipsis, "EFEF", clBtnText, {18, 9, 25, 10}, 3},
        // pressed or hot, a simple button is drawn flat
        {btsSimple, ebsPressed, bkEllipsis, "FSHF", clBtnText, {19, 10, 26, 11}, 3},
        {btsSimple, ebsSelected, bkEllipsis, "FHSF", clBtnText, {18, 9, 25, 10}, 3},
        {btsHotFlat, ebsNormal, bkEllipsis, "SFSF", clBtnText, {18, 9, 25, 10}, 3},
        // pressed: window-coloured content on button text; hot: on the shadow colour
        {btsHotFlat, ebsPressed, bkDown, "STST", clWindow, {19, 9, 26, 13}, 16},
        {btsHotFlat, ebsSelected, bkDown, "SSSS", clWindow, {18, 8, 25, 12}, 16},
        {btsUltraFlat, ebsNormal, bkEllipsis, "EFEF", clBtnText, {18, 9, 25, 10}, 3},
        // hot inside the frame: a highlight line on the inner side, the rest filled
        {btsUltraFlat, ebsSelected, bkDown, "h?E?", clBtnText, {18, 8, 25, 12}, 16},
        {btsOffice11, ebsPressed, bkEllipsis, "h?E?", clBtnText, {19, 10, 26, 11}, 3},
    };
    for (const Case& c : cases) {
        Render(c.style, c.kind, c.state);
        const std::string probes{At(14, 1), At(15, 2), At(28, 18), At(17, 5)};
        EXPECT_EQ(probes, c.probes) << "style " << c.style << " state " << c.state << " kind " << c.kind;
        int count = 0;
        EXPECT_EQ(BoxOf({14, 1, 29, 19}, c.content, count), c.box)
            << "style " << c.style << " state " << c.state << " kind " << c.kind;
        EXPECT_EQ(count, c.count) << "style " << c.style << " state " << c.state << " kind " << c.kind;
    }
    // The highlight fills of the ultra flat and Office 11 buttons.
    Render(btsUltraFlat, bkDown, ebsSelected);
    EXPECT_TRUE(Is(17, 5, GetEditButtonHighlightColor(false, false)));
    EXPECT_TRUE(Is(28, 5, kEditColor));   // no line at the row's end: a gap in the editor's colour
    Render(btsOffice11, bkEllipsis, ebsPressed);
    EXPECT_TRUE(Is(17, 5, GetEditButtonHighlightColor(true, true)));
    Render(btsOffice11, bkEllipsis, ebsNormal);
    EXPECT_TRUE(Is(17, 5, dxOffice11DockColor1));
    // The editor around the button: the single frame in the border colour, the inside filled.
    EXPECT_EQ(std::string({At(0, 0), At(5, 0), At(0, 19), At(29, 10), At(5, 5), At(13, 18)}), "RRRREE");
}

TEST_F(EditViewInfo, TextAndGlyphContent)
{
    TcxEditButton* text = AddButton(bkText, 20);
    text->SetCaption("Go");
    TcxEditButton* glyph = AddButton(bkGlyph, 12, true);
    glyph->Glyph()->SetPixelFormat(pf24bit);
    glyph->Glyph()->SetSize(4, 4);
    glyph->Glyph()->Canvas()->Brush()->SetColor(clLime);
    glyph->Glyph()->Canvas()->FillRect({0, 0, 4, 4});
    glyph->Glyph()->Canvas()->SetPixel(0, 3, clFuchsia);   // the bottom-left pixel: transparent
    style->SetButtonStyle(bts3D);
    viewInfo->OnGetButtonState = [](TcxCustomEditViewInfo*, int i, TcxEditButtonState& s) {
        if (i == 0)
            s = ebsNormal;
    };
    Calc({0, 0, 60, 20});
    Reset(60, 20);
    viewInfo->Paint(canvas.get());
    int count = 0;
    // The glyph (at 1..13) is centred in its content, its transparent corner showing the face.
    EXPECT_EQ(BoxOf({1, 1, 13, 19}, clLime, count), (TRect{5, 8, 9, 12}));
    EXPECT_EQ(count, 15);
    EXPECT_TRUE(Is(5, 11, clBtnFace));
    // The caption in the button's text colour inside the text button (39..59).
    const TRect caption = BoxOf({39, 1, 59, 19}, clBtnText, count);
    EXPECT_GT(count, 0);
    EXPECT_GE(caption.Left, 42);
    EXPECT_LE(caption.Right, 56);
    // Hot flat and pressed: the caption takes the window colour on the button text colour.
    style->SetButtonStyle(btsHotFlat);
    viewInfo->OnGetButtonState = [](TcxCustomEditViewInfo*, int i, TcxEditButtonState& s) {
        s = i == 0 ? ebsPressed : ebsNormal;
    };
    viewData.reset();
    Calc({0, 0, 60, 20});
    Reset(60, 20);
    viewInfo->Paint(canvas.get());
    EXPECT_GT(BoxOf({41, 3, 57, 17}, clWindow, count).Width(), 0);
    EXPECT_TRUE(Is(41, 3, clBtnText));
}

TEST_F(EditViewInfo, Office11GradientBackground)
{
    style->SetGradientButtons(true);
    Render(btsOffice11, bkEllipsis, ebsNormal);
    // Vertical: the top and bottom of the face differ, the face is one colour across.
    EXPECT_NE(Raw(17, 3), Raw(17, 16));
    EXPECT_EQ(Raw(16, 3), Raw(26, 3));
    EXPECT_FALSE(Is(17, 3, dxOffice11DockColor1) && Is(17, 16, dxOffice11DockColor1));
    // A transparent button keeps the plain fill.
    style->SetButtonTransparency(ebtAlways);
    Render(btsOffice11, bkEllipsis, ebsNormal);
    EXPECT_EQ(Raw(17, 3), Raw(17, 16));
}

TEST_F(EditViewInfo, DisabledContentIsEmbossed)
{
    viewData.reset();
    MakeViewData()->Enabled = false;
    properties->Buttons()->Clear();
    AddButton(bkEllipsis, 15);
    style->SetButtonStyle(bts3D);
    Calc({0, 0, 30, 20});
    viewInfo->Paint(canvas.get());
    int count = 0;
    EXPECT_EQ(BoxOf({16, 3, 27, 17}, clBtnShadow, count).Top, 9);
    EXPECT_TRUE(Is(19, 10, clBtnHighlight));   // the highlight copy one pixel down-right
    EXPECT_EQ(BoxOf({16, 3, 27, 17}, clBtnText, count), cxNullRect);
}

TEST_F(EditViewInfo, PartsAndHints)
{
    AddButton(bkDown, 10)->SetHint("Open|Opens the list");
    AddButton(bkEllipsis, 12);
    style->SetButtonStyle(btsFlat);
    FakeEditHost host;
    MakeViewData()->Edit = &host;
    TcxCustomEditViewInfo* v = Calc({0, 0, 100, 20}, {50, 10});
    EXPECT_EQ(v->GetPart({50, 10}), -1);
    EXPECT_EQ(v->GetPart({99, 19}), -2);   // on the frame, outside the border rectangle
    EXPECT_EQ(v->GetPartRect(-1), (TRect{1, 1, 77, 19}));
    EXPECT_EQ(v->GetPartRect(1), (TRect{87, 1, 99, 19}));
    EXPECT_EQ(v->GetPartRect(2), cxNullRect);
    EXPECT_FALSE(v->IsHotTrack());
    std::string text = "stale";
    bool multiLine = true;
    TRect r;
    EXPECT_FALSE(v->NeedShowHint(canvas.get(), {50, 10}, text, multiLine, r));
    EXPECT_EQ(text, "");

    Calc({0, 0, 100, 20}, {80, 10});   // the mouse over the first button makes it hot
    EXPECT_EQ(v->GetPart({80, 10}), 0);
    EXPECT_TRUE(v->IsHotTrack());
    EXPECT_TRUE(v->NeedShowHint(canvas.get(), {80, 10}, text, multiLine, r));
    EXPECT_EQ(text, "Open");
    EXPECT_FALSE(multiLine);
    Calc({0, 0, 100, 20}, {90, 10});
    EXPECT_EQ(v->GetPart({90, 10}), 1);
    EXPECT_FALSE(v->NeedShowHint(canvas.get(), {90, 10}, text, multiLine, r));   // no hint given
    // A cell placed on a host: the point is in host coordinates.
    viewData->CalculateEx(canvas.get(), {200, 40, 300, 60}, {280, 50}, cxmbNone, {}, v, false);
    EXPECT_TRUE(v->IsHotTrack({280, 50}));
    EXPECT_FALSE(v->IsHotTrack({80, 10}));
}

TEST_F(EditViewInfo, UpdateRegionTakesOnlyChangedButtons)
{
    AddButton(bkDown, 10);
    AddButton(bkEllipsis, 12);
    TcxCustomEditViewInfo* v = Calc({0, 0, 100, 20}, {80, 10});   // first button hot
    TcxCustomEditViewInfo old;
    old.Assign(v);
    EXPECT_EQ(old.ButtonCount(), 2);
    Calc({0, 0, 100, 20}, {90, 10});   // the hot button changes
    std::unique_ptr<TcxRegion> region(v->GetUpdateRegion(&old));
    EXPECT_EQ(region->GetBoundsRect(), (TRect{77, 1, 99, 19}));
    EXPECT_TRUE(region->PtInRegion(80, 5) && region->PtInRegion(95, 5));
    old.Assign(v);
    Calc({0, 0, 100, 20}, {92, 10});   // the same button stays hot: nothing to repaint
    region.reset(v->GetUpdateRegion(&old));
    EXPECT_TRUE(region->GetIsEmpty());
    style->SetBorderStyle(ebsThick);   // another frame: the whole editor
    viewData.reset();
    Calc({0, 0, 100, 20}, {92, 10});
    region.reset(v->GetUpdateRegion(&old));
    EXPECT_EQ(region->GetBoundsRect(), (TRect{0, 0, 100, 20}));

    // Without a window there is nothing to invalidate (on a window: EditViewRepaint).
    EXPECT_FALSE(v->Repaint(nullptr, v->ClientRect, &old));
}

TEST_F(EditViewInfo, PaintExPaintsTheSamePixelsAtTheOrigin)
{
    AddButton(bkDown, 10);
    AddButton(bkEllipsis, 12, true);
    MakeViewData();
    Reset(120, 40);
    Calc({0, 0, 100, 20}, {94, 10});
    viewInfo->PaintEx(canvas.get());
    const auto atZero = Snapshot();
    Reset(120, 40);
    viewData->CalculateEx(canvas.get(), {7, 5, 107, 25}, {101, 15}, cxmbNone, {}, viewInfo.get(), false);
    EXPECT_EQ(viewInfo->Left, 7);
    EXPECT_EQ(viewInfo->Bounds, (TRect{0, 0, 100, 20}));
    viewInfo->PaintEx(canvas.get());
    EXPECT_EQ(canvas->GetWindowOrg(), (TPoint{0, 0}));   // restored
    const auto shifted = Snapshot();
    int compared = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x, ++compared)
            ASSERT_EQ(shifted[(y + 5) * 120 + x + 7], atZero[y * 120 + x]) << x << "," << y;
    EXPECT_EQ(compared, 2000);
    EXPECT_TRUE(Is(3, 3, kBack) && Is(110, 30, kBack));   // nothing outside the cell
}

TEST_F(EditViewInfo, OwnerDrawingAndClipping)
{
    AddButton(bkDown, 10);
    AddButton(bkEllipsis, 12);
    style->SetButtonStyle(bts3D);
    TcxCustomEditViewInfo* v = Calc({0, 0, 100, 20});
    // The border event takes over a button's frame and names its content rectangle.
    int calls = 0;
    v->OnDrawButtonBorder = [&](TcxCustomEditViewInfo*, TcxCanvas* c, int i, TRect& bg, TRect& content,
                                bool& handled) {
        if (i != 1)
            return;
        handled = true;
        if (!c)
            return;   // asked only whether it draws
        ++calls;
        c->FrameRect(bg, clLime);
        bg = cxRectInflate(bg, -1, -1);
        content = bg;
    };
    EXPECT_TRUE(v->IsCustomDrawButton(1));
    EXPECT_FALSE(v->IsCustomDrawButton(0));
    Reset(100, 20);
    v->Paint(canvas.get());
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(Is(87, 1, clLime) && Is(98, 18, clLime));
    EXPECT_TRUE(Is(77, 1, clBtnFace));   // the other button keeps its 3D frame

    // A whole-button handler; the buttons are painted once even when it paints them again.
    int drawn = 0;
    v->OnDrawButton = [&](TcxCustomEditViewInfo* sender, TcxCanvas* c, int, bool& handled) {
        handled = c != nullptr;
        if (c) {
            ++drawn;
            sender->DrawButtons(c);
        }
    };
    Reset(100, 20);
    v->Paint(canvas.get());
    EXPECT_EQ(drawn, 2);
    EXPECT_FALSE(v->State.Contains(evsPaintButtons));

    // A button wider than the room paints only its visible part.
    v->OnDrawButton = nullptr;
    v->OnDrawButtonBorder = nullptr;
    properties->Buttons()->Items(0)->SetWidth(300);
    viewData.reset();
    Calc({0, 0, 100, 20});
    Reset(100, 20);
    v->Paint(canvas.get());
    EXPECT_TRUE(Is(0, 10, kBorderColor));   // the frame stays
    EXPECT_TRUE(Is(1, 1, cl3DLight));       // the visible part starts inside the frame
}

TEST_F(EditViewInfo, PaintLetsNoExceptionOut)
{
    AddButton(bkEllipsis, 12);
    TcxCustomEditViewInfo* v = Calc({0, 0, 30, 20});
    v->OnPaint = [](TcxCustomEditViewInfo*, TcxCanvas*) { throw rtl::EConvertError("'x' is not a valid number"); };
    Reset(30, 20);
    EXPECT_NO_THROW(v->Paint(canvas.get()));
    EXPECT_TRUE(Is(0, 0, kBorderColor) && Is(5, 5, kEditColor));   // the editor is still painted
    v->OnPaint = nullptr;
    v->OnDrawButton = [](TcxCustomEditViewInfo*, TcxCanvas* c, int, bool&) {
        if (c)
            throw rtl::EVariantTypeCastError("Could not convert variant");
    };
    EXPECT_NO_THROW(v->PaintEx(canvas.get()));
    EXPECT_FALSE(v->State.Contains(evsPaintButtons));
    EXPECT_EQ(canvas->GetWindowOrg(), (TPoint{0, 0}));
}

TEST_F(EditViewInfo, InplaceCellFillAndCustomBackground)
{
    AddButton(bkEllipsis, 12);
    MakeViewData(true)->ContentOffset = {1, 1, 1, 1};
    TcxCustomEditViewInfo* v = Calc({0, 0, 40, 20});
    EXPECT_EQ(v->GetDrawBackgroundStyle(), dbsSimpleFill);
    Reset(40, 20);
    v->Paint(canvas.get());
    EXPECT_TRUE(Is(0, 0, kEditColor) && Is(5, 5, kEditColor));   // no frame: the offsets are filled
    v->Transparent = true;
    EXPECT_EQ(v->GetDrawBackgroundStyle(), dbsNone);
    Reset(40, 20);
    v->Paint(canvas.get());
    EXPECT_TRUE(Is(5, 5, kBack));
    v->Transparent = false;
    v->OnDrawBackground = [](TcxCustomEditViewInfo*, TcxCanvas* c, bool& handled) {
        handled = true;
        if (c)
            c->FillRect({0, 0, 40, 20}, clLime);
    };
    EXPECT_EQ(v->GetDrawBackgroundStyle(), dbsCustom);
    Reset(40, 20);
    v->Paint(canvas.get());
    EXPECT_TRUE(Is(5, 5, clLime));
    EXPECT_TRUE(Is(33, 5, clBtnFace));   // the button is still drawn over it
}

} // namespace

// ---- repainting on a window -------------------------------------------------------------------


namespace {

// A window that remembers the area of each paint.
class PaintProbe : public TCustomControl {
    RTL_CLASS(PaintProbe, TCustomControl)
    using TCustomControl::TCustomControl;
    std::vector<TRect> painted;

protected:
    void PaintWindow(HDC dc) override
    {
        painted.push_back(dc->S().clip ? dc->S().clip->Box() : GetClientRect());
        TCustomControl::PaintWindow(dc);
    }
};

class EditViewRepaint : public ControlBaseTest {
protected:
    void SetUp() override
    {
        ControlBaseTest::SetUp();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        properties = std::make_unique<TcxCustomEditProperties>(nullptr);
        style = std::make_unique<TcxEditStyle>(nullptr, false);
        style->SetBorderStyle(ebsSingle);
        style->SetTransparentBorder(false);
        properties->Buttons()->Add()->SetWidth(10);
        properties->Buttons()->Add()->SetWidth(12);
        viewData.reset(properties->CreateViewData(style.get(), false));
        probe = new PaintProbe(form);
        probe->SetBounds(0, 0, 100, 20);
        probe->SetParent(form);
    }
    void TearDown() override
    {
        viewData.reset();
        style.reset();
        properties.reset();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        ControlBaseTest::TearDown();
    }
    void Calc(TcxCustomEditViewInfo& v, TPoint p)
    {
        TBitmap b;
        b.SetSize(1, 1);
        TcxCanvas c(b.Canvas());
        viewData->Calculate(&c, {0, 0, 100, 20}, p, cxmbNone, {}, &v, false);
    }
    std::unique_ptr<TcxCustomEditProperties> properties;
    std::unique_ptr<TcxEditStyle> style;
    std::unique_ptr<TcxCustomEditViewData> viewData;
    PaintProbe* probe = nullptr;
};

TEST_F(EditViewRepaint, OnlyTheChangedButtonIsInvalidated)
{
    ASSERT_TRUE(Activate(form));
    TcxCustomEditViewInfo v, old;
    Calc(v, {50, 10});   // hot, over the text
    SpinUntil([&] { return !probe->painted.empty(); });   // the first paint of the shown window
    SpinUntil([] { return false; }, 20);
    probe->painted.clear();

    old.Assign(&v);
    Calc(v, {80, 10});   // the first button becomes hot; the editor stays hot
    EXPECT_TRUE(v.Repaint(probe, v.ClientRect, &old));
    SpinUntil([&] { return !probe->painted.empty(); });
    ASSERT_EQ(probe->painted.size(), 1u);
    EXPECT_EQ(probe->painted[0], (TRect{77, 1, 87, 19}));

    // Nothing changed: nothing is painted.
    probe->painted.clear();
    old.Assign(&v);
    Calc(v, {82, 10});
    EXPECT_FALSE(v.Repaint(probe, v.ClientRect, &old));
    SpinUntil([] { return false; }, 50);
    EXPECT_TRUE(probe->painted.empty());

    // The editor's state changes (the mouse leaves): the frame around the client area goes too.
    old.Assign(&v);
    Calc(v, {200, 10});
    v.Repaint(probe, v.ClientRect, &old);
    SpinUntil([&] { return !probe->painted.empty(); });
    ASSERT_FALSE(probe->painted.empty());
    EXPECT_EQ(probe->painted.back(), (TRect{0, 0, 100, 20}));
}

} // namespace
