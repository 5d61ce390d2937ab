// Radio-button images: the circle is measured from the platform's radio picture, laid out as a
// pattern of colour indices (outer ring halves, inner ring halves, body, dot) and rendered once
// into 128 ready images, one per look, state, checked, focused and design-time combination.
// The images are kept here as bitmaps over one shared mask and drawn masked (AND with the mask,
// then OR with the image, whose outside is black), as a masked image list would draw them,
// without a system list per image.
#include "toolkit/core/cxLookAndFeelPainters.h"

#include "platform/gdi/Draw.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphicsPixels.h"
#include "toolkit/core/dxOffice11.h"

#include <memory>

using namespace cx;

namespace {

TSize radioSize{0, 0};
std::vector<int> imageIndexMap;
std::unique_ptr<TcxRadioButtonImageList> instance;

constexpr std::uint32_t black = 0x000000;

std::uint32_t Pixel(const TBitmap& b, int x, int y) { return const_cast<TBitmap&>(b).ScanLine(y)[x] & 0xFFFFFF; }

void FillBitmap(TBitmap& b, TColor color)
{
    b.Canvas()->Brush()->SetStyle(bsSolid);
    b.Canvas()->Brush()->SetColor(color);
    b.Canvas()->FillRect({0, 0, b.GetWidth(), b.GetHeight()});
}

void DrawEllipse(TBitmap& b, const TRect& r, TColor pen, TColor brush)
{
    TCanvas* c = b.Canvas();
    c->Pen()->SetColor(pen);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(brush);
    c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
}

// The platform's radio pictures in one 13 x 13 check-box cell. The mask: white, with a black
// circle of diameter 12 at the cell's top-left. The checked image: the window-coloured circle
// with the 4 x 4 dot at (4, 4) in the window-text colour.
constexpr TRect systemRadioCircle{0, 0, 12, 12};
constexpr TRect systemRadioDot{4, 4, 8, 8};

void DrawSystemRadioMask(TBitmap& cell)
{
    FillBitmap(cell, clWhite);
    DrawEllipse(cell, systemRadioCircle, clBlack, clBlack);
}

void DrawSystemRadioImageChecked(TBitmap& cell)
{
    DrawEllipse(cell, systemRadioCircle, clWindow, clWindow);
    cell.Canvas()->Brush()->SetColor(clWindowText);
    cell.Canvas()->FillRect(systemRadioDot);
}

// One check box of the system picture: a sunken edge around a window-coloured (pushed: button
// face) square, with the check mark or the grayed mark in the window-text or shadow colour.
void DrawSystemCheckBox(TBitmap& b, int cellX, int cellY, bool pushed, int mark)
{
    const int n = cxSystemCheckBoxCellSize;
    TRect r = cxRectBounds(cellX * n, cellY * n, n, n);
    DrawEdge(*b.Canvas()->GetHandle(), r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    b.Canvas()->Brush()->SetColor(pushed ? clBtnFace : clWindow);
    b.Canvas()->FillRect(r);
    if (mark != 0)
        cxDrawSystemCheckMark(b.Canvas(), r, mark == 2 ? clBtnShadow : clWindowText);
}

} // namespace

void cxDrawSystemCheckMark(TCanvas* canvas, const TRect& inner, TColor color)
{
    // The tick: three rows high, falling to (inner.Left + 3, ...) and rising to the right.
    for (int i = 0; i < 7; ++i) {
        const int x = inner.Left + 1 + i, y = inner.Top + (i < 3 ? 3 + i : 7 - (i - 2));
        for (int k = 0; k < 3; ++k)
            gdi::SetPixel(*canvas->GetHandle(), x, y + k, COLORREF(ColorToRGB(color)));
    }
}

void cxDrawSystemCheckBoxes(TBitmap& bitmap)
{
    const int n = cxSystemCheckBoxCellSize;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(4 * n, 3 * n);
    FillBitmap(bitmap, clBtnFace);
    for (int i = 0; i < 4; ++i)
        DrawSystemCheckBox(bitmap, i, 0, i >= 2, i % 2);
    for (int i = 0; i < 4; ++i) {
        TBitmap cell;
        cell.SetPixelFormat(pf24bit);
        cell.SetSize(n, n);
        FillBitmap(cell, clBtnFace);
        if (i == 3) {
            DrawSystemRadioMask(cell);
        } else {
            DrawEllipse(cell, systemRadioCircle, clBtnShadow, i == 1 ? clBtnFace : clWindow);
            if (i == 2)
                DrawSystemRadioImageChecked(cell);
        }
        bitmap.Canvas()->Draw(i * n, n, &cell);
    }
    DrawSystemCheckBox(bitmap, 0, 2, false, 2);
    DrawSystemCheckBox(bitmap, 1, 2, true, 2);
}

// The size of one check box, measured once from the system picture: a quarter of its width by
// a third of its height.
TSize cxSystemCheckBoxSize()
{
    static const TSize size = [] {
        TBitmap picture;
        cxDrawSystemCheckBoxes(picture);
        return TSize{picture.GetWidth() / 4, picture.GetHeight() / 3};
    }();
    return size;
}

namespace {

std::uint32_t ToQuad(TColor color)
{
    const TColor c = ColorToRGB(color);
    return (c >> 16 & 0xFF) | (c & 0xFF00) | (c & 0xFF) << 16; // blue + green*256 + red*65536
}

int MapIndex(TcxButtonState state, bool checked, TcxLookAndFeelKind kind, bool designing, bool focused)
{
    return (state - 1) + 4 * int(checked) + 8 * int(kind) + 32 * int(designing) + 64 * int(focused);
}

} // namespace

TcxRadioButtonImageList::TcxRadioButtonImageList()
{
    MeasureRadio();
    BuildMask();
    BuildPattern();
}

TcxRadioButtonImageList::~TcxRadioButtonImageList()
{
    images_.clear();
    buttonMask_.reset();
}

void TcxRadioButtonImageList::MeasureRadio()
{
    TBitmap cell;
    cell.SetPixelFormat(pf24bit);
    cell.SetSize(cxSystemCheckBoxCellSize, cxSystemCheckBoxCellSize);
    FillBitmap(cell, clBlack);
    DrawSystemRadioMask(cell);
    const int n = cxSystemCheckBoxCellSize;
    int left = -1, top = -1, width = 0, height = 0;
    for (int x = 0; x < n; ++x)
        for (int y = 0; y < n; ++y)
            if (Pixel(cell, x, y) == black) {
                if (left < 0)
                    left = x;
                ++width;
                break;
            }
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (Pixel(cell, x, y) == black) {
                if (top < 0)
                    top = y;
                ++height;
                break;
            }
    radioRect_ = {left, top, left + width, top + height};
    radioSize = {width, height};

    FillBitmap(cell, clBlack);
    DrawSystemRadioImageChecked(cell);
    const std::uint32_t dot = ColorToRGB(clWindowText) & 0xFFFFFF;
    const std::uint32_t dotPixel = gdi::ColorToPixel(dot) & 0xFFFFFF;
    auto isDot = [&](int x, int y) { return x >= 0 && y >= 0 && x < n && y < n && Pixel(cell, x, y) == dotPixel; };
    int x = left + width / 2 - 1, y = top + height / 2 - 2;
    while (isDot(x, y))
        --y;
    checkRect_.Top = y + 1;
    y = checkRect_.Top + 1;
    while (isDot(x, y))
        ++y;
    checkRect_.Bottom = y;
    y = top + height / 2 - 1;
    x = left + width / 2 - 2;
    while (isDot(x, y))
        --x;
    checkRect_.Left = x + 1;
    x = checkRect_.Left + 1;
    while (isDot(x, y))
        ++x;
    checkRect_.Right = x;
}

void TcxRadioButtonImageList::BuildMask()
{
    buttonMask_ = std::make_unique<TBitmap>();
    buttonMask_->SetPixelFormat(pf32bit);
    buttonMask_->SetSize(radioSize.cx, radioSize.cy);
    FillBitmap(*buttonMask_, clWhite);
    DrawEllipse(*buttonMask_, {0, 0, radioSize.cx, radioSize.cy}, clBlack, clBlack);
}

void TcxRadioButtonImageList::MarkInnerRing(int row, int column)
{
    const int w = radioSize.cx, h = radioSize.cy;
    const int v = (h - 1) * (w - 1 - column) - (w - 1) * row;
    int index = v < 0 ? 4 : 3;
    if (v == 0)
        index = column > w / 2 - 1 ? 4 : 3;
    pattern_[size_t(row)][size_t(column)] = index;
}

void TcxRadioButtonImageList::BuildPattern()
{
    const int w = radioSize.cx, h = radioSize.cy;
    pattern_.assign(size_t(h), std::vector<int>(size_t(w), 0));
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(w, h);
    FillBitmap(b, clWhite);
    DrawEllipse(b, {0, 0, w, h}, clBlack, clWhite);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            if (Pixel(b, col, row) == black)
                pattern_[size_t(row)][size_t(col)] = (h - 1) * (w - 1 - col) < (w - 1) * row ? 2 : 1;
    auto at = [&](int row, int col) -> int& { return pattern_[size_t(row)][size_t(col)]; };
    // Body.
    for (int row = 1; row <= h - 2; ++row) {
        for (int col = w / 2 - 1; col >= 0 && at(row, col) == 0; --col)
            at(row, col) = 5;
        for (int col = w / 2; col < w && at(row, col) == 0; ++col)
            at(row, col) = 5;
    }
    auto outer = [&](int row, int col) { return at(row, col) == 1 || at(row, col) == 2; };
    // Inner ring by rows, then by columns.
    for (int row = 1; row <= h - 2; ++row) {
        const bool edge = row == 1 || row == h - 2;
        int col = w / 2 - 1;
        for (; col >= 0 && !outer(row, col); --col)
            if (edge)
                MarkInnerRing(row, col);
        if (col + 1 < w)
            MarkInnerRing(row, col + 1);
        col = w / 2;
        for (; col < w && !outer(row, col); ++col)
            if (edge)
                MarkInnerRing(row, col);
        if (col - 1 >= 0)
            MarkInnerRing(row, col - 1);
    }
    for (int col = 1; col <= w - 2; ++col) {
        const bool edge = col == 1 || col == w - 2;
        int row = h / 2 - 1;
        for (; row >= 0 && !outer(row, col); --row)
            if (edge)
                MarkInnerRing(row, col);
        if (row + 1 < h)
            MarkInnerRing(row + 1, col);
        row = h / 2;
        for (; row < h && !outer(row, col); ++row)
            if (edge)
                MarkInnerRing(row, col);
        if (row - 1 >= 0)
            MarkInnerRing(row - 1, col);
    }
    // Check dot.
    FillBitmap(b, clWhite);
    DrawEllipse(b, cxRectOffset(checkRect_, radioRect_.Left, radioRect_.Top, false), clBlack, clBlack);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            if (Pixel(b, col, row) == black)
                at(row, col) = 6;
}

std::vector<std::uint32_t> TcxRadioButtonImageList::ColorMap(TcxLookAndFeelKind kind, TcxButtonState state,
                                                             bool checked, bool focused, bool isDesigning) const
{
    const bool active = state == cxbsHot || state == cxbsPressed;
    TColor body = clWindow;
    switch (kind) {
    case lfFlat:
    case lfStandard:
        body = state == cxbsPressed || state == cxbsDisabled ? clBtnFace : clWindow;
        break;
    case lfUltraFlat:
        body = state == cxbsHot       ? GetLightSelColor()
               : state == cxbsPressed ? GetLightDownedSelColor()
               : state == cxbsDisabled ? clBtnFace
                                       : clWindow;
        break;
    case lfOffice11:
        body = state == cxbsNormal ? clWindow : TcxOffice11LookAndFeelPainter::Class()->ButtonColor(state);
        break;
    }
    TColor c[7] = {clBlack, clBtnShadow, clBtnHighlight, cl3DLight, cl3DLight, body, body};
    if (kind == lfStandard)
        c[3] = cl3DDkShadow;
    if (kind == lfUltraFlat) {
        const bool lit = focused || active || (isDesigning && state != cxbsDisabled);
        c[1] = c[2] = lit ? clHighlight : clBtnShadow;
        c[3] = c[4] = body;
    } else if (kind == lfOffice11) {
        TColor ring = clBtnText;
        if (state == cxbsDisabled)
            ring = dxOffice11TextDisabledColor;
        else if (focused || active || isDesigning)
            ring = dxOffice11SelectedBorderColor;
        c[1] = c[2] = ring;
        c[3] = c[4] = body;
    }
    if (checked)
        c[6] = state != cxbsDisabled ? clWindowText : kind == lfOffice11 ? dxOffice11TextDisabledColor : clBtnShadow;
    std::vector<std::uint32_t> map(7);
    for (int i = 0; i < 7; ++i)
        map[size_t(i)] = i == 0 ? 0 : ToQuad(c[i]);
    return map;
}

void TcxRadioButtonImageList::FillImages()
{
    if (!images_.empty())
        return;
    const int w = radioSize.cx, h = radioSize.cy;
    for (bool focused : {false, true})
        for (bool designing : {false, true})
            for (int kind = lfFlat; kind <= lfOffice11; ++kind)
                for (bool checked : {false, true})
                    for (int state = cxbsNormal; state <= cxbsDisabled; ++state) {
                        const auto map = ColorMap(TcxLookAndFeelKind(kind), TcxButtonState(state), checked, focused,
                                                  designing);
                        auto image = std::make_unique<TBitmap>();
                        image->SetPixelFormat(pf32bit);
                        image->SetSize(w, h);
                        for (int row = 0; row < h; ++row)
                            for (int col = 0; col < w; ++col) {
                                // The map holds blue + green*256 + red*65536, the surface's order.
                                image->ScanLine(row)[col] = map[size_t(pattern_[size_t(row)][size_t(col)])];
                            }
                        images_.push_back(std::move(image));
                        const int slot = MapIndex(TcxButtonState(state), checked, TcxLookAndFeelKind(kind), designing,
                                                  focused);
                        if (int(imageIndexMap.size()) <= slot)
                            imageIndexMap.resize(size_t(slot) + 1, 0);
                        imageIndexMap[size_t(slot)] = int(images_.size()) - 1;
                    }
}

void TcxRadioButtonImageList::Rebuild()
{
    images_.clear();
    FillImages();
}

TSize TcxRadioButtonImageList::ImageSize() const { return radioSize; }

void TcxRadioButtonImageList::DrawImage(TcxCanvas* canvas, int x, int y, TColor brushColor, TcxLookAndFeelKind kind,
                                        TcxButtonState state, bool checked, bool focused, bool isDesigning)
{
    if (state == cxbsDefault)
        state = cxbsNormal;
    TBitmap* image = images_[size_t(imageIndexMap[size_t(MapIndex(state, checked, kind, isDesigning, focused))])].get();
    const int w = radioSize.cx, h = radioSize.cy;
    auto drawMasked = [&](HDC dc, int dx, int dy) {
        gdi::BitBlt(*dc, dx, dy, w, h, buttonMask_->Canvas()->GetHandle(), 0, 0, SRCAND);
        gdi::BitBlt(*dc, dx, dy, w, h, image->Canvas()->GetHandle(), 0, 0, SRCPAINT);
    };
    if (brushColor == clDefault) {
        drawMasked(canvas->GetHandle(), x, y);
        return;
    }
    TBitmap back;
    back.SetPixelFormat(pf32bit);
    back.SetSize(w, h);
    FillBitmap(back, ColorToRGB(brushColor));
    drawMasked(back.Canvas()->GetHandle(), 0, 0);
    gdi::BitBlt(*canvas->GetHandle(), x, y, w, h, back.Canvas()->GetHandle(), 0, 0, SRCCOPY);
}

TcxRadioButtonImageList* PrepareRadioButtonImageList()
{
    if (!instance) {
        instance = std::make_unique<TcxRadioButtonImageList>();
        instance->Rebuild();
    }
    return instance.get();
}

TSize cxRadioButtonSize() { return radioSize; }

void cxRadioButtonImagesPaletteChanged()
{
    if (instance)
        instance->Rebuild();
}

void TcxCustomLookAndFeelPainter::DrawRadioButton(TcxCanvas* canvas, int x, int y, TcxButtonState state,
                                                  bool checked, bool focused, TColor brushColor,
                                                  bool isDesigning) const
{
    TcxLookAndFeelKind kind = lfStandard;
    switch (LookAndFeelStyle()) {
    case lfsFlat:
        kind = lfFlat;
        break;
    case lfsUltraFlat:
        kind = lfUltraFlat;
        break;
    case lfsOffice11:
        kind = lfOffice11;
        break;
    default:
        break;
    }
    PrepareRadioButtonImageList()->DrawImage(canvas, x, y, brushColor, kind, state, checked, focused, isDesigning);
}

TSize TcxCustomLookAndFeelPainter::RadioButtonSize() const { return PrepareRadioButtonImageList()->ImageSize(); }

void cxLookAndFeelPaintersExtendedInitialize();
void cxLookAndFeelPaintersExtendedFinalize();

namespace cxLookAndFeelPaintersUnit {

namespace {
int initCount = 0;
}

void Initialize()
{
    if (initCount++ > 0)
        return;
    CreateOffice11Colors(); // the radio images of the Office 2003 look read these colours
    cxSystemCheckBoxSize();   // measured at start-up, as the painters answer it
    cxLookAndFeelPaintersExtendedInitialize();
}

void Finalize()
{
    if (initCount == 0 || --initCount > 0)
        return;
    cxLookAndFeelPaintersExtendedFinalize();
    instance.reset();
    imageIndexMap.clear();
    ReleaseOffice11Colors();
}

} // namespace cxLookAndFeelPaintersUnit
