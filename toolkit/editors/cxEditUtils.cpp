#include "toolkit/editors/cxEditUtils.h"

#include <algorithm>
#include <array>

#include "platform/gdi/Draw.h"
#include "platform/gdi/SysParams.h"
#include "toolkit/core/cxGraphicsImages.h"
#include "toolkit/core/dxOffice11.h"
#include "toolkit/core/dxThemeManager.h"
#include "toolkit/controls/cxContainer.h"

namespace cx {

// ---- solid brush cache ------------------------------------------------------------------------

namespace {

constexpr int kSystemBrushCount = 31;   // COLOR_SCROLLBAR .. COLOR_MENUBAR
std::array<gdi::Brush, kSystemBrushCount> systemBrushes;
bool systemBrushesFilled = false;
TcxSolidBrushCache* brushCache = nullptr;
int unitCounter = 0;

bool IsSystemColor(TColor color)
{
    const auto c = std::uint32_t(color);
    return c >= 0x80000000u && c <= 0x80000000u + kSystemBrushCount - 1;
}

} // namespace

TcxSolidBrushCache::TcxSolidBrushCache(int maxDepth) : maxDepth_(std::max(1, maxDepth))
{
    colors_.reserve(maxDepth_);
    brushes_.reserve(maxDepth_);
    useCounts_.reserve(maxDepth_);
    notifier_ = new TcxSystemPaletteChangedNotifier();
    notifier_->OnSystemPaletteChanged = [this] { SystemPaletteChanged(); };
}

TcxSolidBrushCache::~TcxSolidBrushCache()
{
    delete notifier_;
    Clear();
}

const gdi::Brush* TcxSolidBrushCache::GetBrush(TColor color)
{
    if (systemBrushesFilled && IsSystemColor(color))
        return &systemBrushes[std::uint32_t(color) & 0x7FFFFFFFu];
    const auto key = std::uint32_t(color);
    auto it = std::lower_bound(colors_.begin(), colors_.end(), key,
                               [](TColor c, std::uint32_t k) { return std::uint32_t(c) < k; });
    std::size_t index = it - colors_.begin();
    if (it != colors_.end() && std::uint32_t(*it) == key) {
        ++useCounts_[index];
        return brushes_[index];
    }
    if (Depth() >= maxDepth_) {
        const std::size_t victim = std::min_element(useCounts_.begin(), useCounts_.end()) - useCounts_.begin();
        delete brushes_[victim];
        colors_.erase(colors_.begin() + victim);
        brushes_.erase(brushes_.begin() + victim);
        useCounts_.erase(useCounts_.begin() + victim);
        if (victim < index)
            --index;
    }
    auto* brush = new gdi::Brush(gdi::Brush::Solid(ColorToRef(color)));
    colors_.insert(colors_.begin() + index, color);
    brushes_.insert(brushes_.begin() + index, brush);
    useCounts_.insert(useCounts_.begin() + index, 0u);
    return brush;
}

void TcxSolidBrushCache::Clear()
{
    for (gdi::Brush* b : brushes_)
        delete b;
    colors_.clear();
    brushes_.clear();
    useCounts_.clear();
}

const gdi::Brush* GetSolidBrush(TColor color)
{
    if (brushCache == nullptr)   // painting outside the unit's start-up still gets a brush
        cxEditPaintUtilsUnit::Initialize();
    return brushCache->GetBrush(color);
}

void ResetSolidBrushCache()
{
    if (brushCache != nullptr)
        brushCache->Clear();
}

TcxSolidBrushCache* SolidBrushCache() { return brushCache; }

namespace cxEditPaintUtilsUnit {
void Initialize()
{
    if (unitCounter++ > 0)
        return;
    for (int i = 0; i < kSystemBrushCount; ++i)
        systemBrushes[i] = gdi::GetSysColorBrush(i);
    systemBrushesFilled = true;
    brushCache = new TcxSolidBrushCache();
}
void Finalize()
{
    if (unitCounter == 0 || --unitCounter > 0)
        return;
    delete brushCache;
    brushCache = nullptr;
    systemBrushesFilled = false;
}
} // namespace cxEditPaintUtilsUnit

// ---- text flags -------------------------------------------------------------------------------

namespace {
constexpr std::pair<unsigned, unsigned> kTextFlagPairs[] = {   // toolkit bit, system bit
    {0x1, 0x4}, {0x2, 0x2}, {0x10, 0x20}, {0x20, 0x10}, {0x200, 0x40}, {0x100, 0x400}};
}

namespace {
// Carries each listed bit over to its counterpart; first = the toolkit side of a pair.
unsigned MapTextFlags(unsigned flags, bool toSystem)
{
    unsigned result = 0;
    for (auto [own, sys] : kTextFlagPairs)
        if (flags & (toSystem ? own : sys))
            result |= toSystem ? sys : own;
    return result;
}
} // namespace

TcxDrawTextFlags cxTextOutFlagsToDrawTextFlags(TcxTextOutFlags flags) { return {MapTextFlags(flags.value, true)}; }

TcxTextOutFlags DrawTextFlagsTocxTextOutFlags(TcxDrawTextFlags flags) { return {MapTextFlags(flags.value, false)}; }

// ---- primitives -------------------------------------------------------------------------------

void cxEditFillRect(HDC dc, const TRect& r, const gdi::Brush* brush) { gdi::FillRect(*dc, r, *brush); }

void cxEditFillRect(TcxCanvas* canvas, const TRect& r, TColor color)
{
    cxEditFillRect(canvas->GetHandle(), r, GetSolidBrush(color));
}

void InternalFillRect(TcxCanvas* canvas, const TRect& outerRect, const TRect& innerRect, const gdi::Brush* brush)
{
    if (cxRectIsEmpty(outerRect) || outerRect == innerRect)
        return;
    for (const TRect& strip : FrameStrips(outerRect, innerRect))
        cxEditFillRect(canvas->GetHandle(), strip, brush);
}

void DrawArrow(TcxCanvas* canvas, int size, const TRect& r, TcxArrowDirection direction, bool isDouble,
               bool pressedOffset, TColor color)
{
    if (size <= 0)
        return;
    const int passes = isDouble ? 2 : 1;
    const bool vertical = direction == adUp || direction == adDown;
    const int boxWidth = vertical ? 2 * size - 1 : passes * size;
    const int boxHeight = vertical ? passes * size : 2 * size - 1;
    int left = r.Left + (r.Width() - boxWidth) / 2;
    int top = r.Top + (r.Height() - boxHeight) / 2;
    if (pressedOffset) {
        ++left;
        ++top;
    }
    const gdi::Brush* brush = GetSolidBrush(color);
    HDC dc = canvas->GetHandle();
    for (int pass = 0; pass < passes; ++pass) {
        for (int i = 0; i < size; ++i) {
            TRect line;
            switch (direction) {
            case adUp: line = {left + size - 1 - i, top + i, left + size + i, top + i + 1}; break;
            case adDown: line = {left + i, top + i, left + 2 * size - 1 - i, top + i + 1}; break;
            case adLeft: line = {left + i, top + size - 1 - i, left + i + 1, top + size + i}; break;
            case adRight: line = {left + i, top + i, left + i + 1, top + 2 * size - 1 - i}; break;
            }
            cxEditFillRect(dc, line, brush);
        }
        if (vertical)
            top += size;
        else
            left += size;
    }
}

void InternalPolyLine(TcxCanvas* canvas, const std::vector<TPoint>& points, TColor color, bool fillWithBrush)
{
    if (points.empty())
        return;
    if (fillWithBrush) {
        const gdi::Brush* brush = GetSolidBrush(color);
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            const TPoint a = points[i], b = points[i + 1];
            const TRect segment{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X) + 1,
                                std::max(a.Y, b.Y) + 1};
            cxEditFillRect(canvas->GetHandle(), segment, brush);
        }
        const TPoint last = points.back();
        cxEditFillRect(canvas->GetHandle(), {last.X, last.Y, last.X + 1, last.Y + 1}, brush);
        return;
    }
    canvas->GetPen()->SetColor(color);
    canvas->Polyline(points.data(), int(points.size()) - 1);
    canvas->SetPixel(points.back().X, points.back().Y, color);   // the polyline leaves it out
}

void DrawButtonBorder(TcxCanvas* canvas, TRect& r, TcxBorders borders, TColor color)
{
    auto line = [&](TcxBorder side, TPoint a, TPoint b) {
        if (!(borders & (1u << side)))
            return false;
        InternalPolyLine(canvas, {a, b}, color, false);
        return true;
    };
    auto inner = [&] { return TRect{r.Left, r.Top, r.Right - 1, r.Bottom - 1}; };
    TRect q = inner();
    if (line(bLeft, {q.Left, q.Top}, {q.Left, q.Bottom}))
        ++r.Left;
    q = inner();
    if (line(bRight, {q.Right, q.Top}, {q.Right, q.Bottom}))
        --r.Right;
    q = inner();
    if (line(bTop, {q.Left, q.Top}, {q.Right, q.Top}))
        ++r.Top;
    q = inner();
    if (line(bBottom, {q.Left, q.Bottom}, {q.Right, q.Bottom}))
        --r.Bottom;
}

bool VerifyBitmap(TBitmap* bitmap)
{
    return bitmap != nullptr && !bitmap->GetEmpty() && bitmap->GetWidth() > 0 && bitmap->GetHeight() > 0;
}

void DrawGlyph(TcxCanvas* canvas, int x, int y, TBitmap* glyph, bool enabled, TColor backgroundColor)
{
    if (!VerifyBitmap(glyph))
        return;
    const TRect target{x, y, x + glyph->GetWidth(), y + glyph->GetHeight()};
    // The image routine composes off-screen itself, so no caller-side buffer is needed.
    cxDrawImage(canvas->GetHandle(), target, target, glyph, nullptr, -1, enabled ? idmNormal : idmDisabled, false,
                backgroundColor == clNone ? nullptr : GetSolidBrush(backgroundColor), glyph->GetTransparentColor());
}

void DrawGlyph(TcxCanvas* canvas, TCustomImageList* images, int index, const TRect& r, TColor backgroundColor,
               bool enabled)
{
    if (!IsImageAssigned(images, index))
        return;
    cxDrawImage(canvas->GetHandle(), r, r, nullptr, images, index, enabled ? idmNormal : idmDisabled, false,
                backgroundColor == clNone ? nullptr : GetSolidBrush(backgroundColor));
}

// ---- choices and sizes ------------------------------------------------------------------------

TcxCustomLookAndFeelPainterClass GetPainterClass(bool nativeStyle, TcxLookAndFeelKind kind)
{
    if (nativeStyle && AreVisualStylesAvailable())
        return TcxWinXPLookAndFeelPainter::Class();
    switch (kind) {
    case lfFlat: return TcxFlatLookAndFeelPainter::Class();
    case lfStandard: return TcxStandardLookAndFeelPainter::Class();
    case lfUltraFlat: return TcxUltraFlatLookAndFeelPainter::Class();
    case lfOffice11: return TcxOffice11LookAndFeelPainter::Class();
    }
    return TcxStandardLookAndFeelPainter::Class();
}

int CalculateEditDefaultButtonWidth(TcxCanvas* canvas, const TcxEditButtonViewInfo* viewInfo)
{
    const TcxEditButtonViewInfoData& data = viewInfo->Data;
    bool native = data.NativeStyle &&
                  AreVisualStylesMustBeUsed(true, data.ComboBoxStyle ? totComboBox : totButton);
    // Themes never open on this platform, so a native button measures as a plain one.
    int insets = 4;
    (void)native;
    int width = viewInfo->Width;
    if (width < 1) {
        if (data.Kind == bkGlyph && VerifyBitmap(viewInfo->Glyph))
            return viewInfo->Glyph->GetWidth() + insets;
        if (data.Kind == bkText)
            insets += canvas->TextWidth(data.VisibleCaption) + 3;
        else
            insets = 0;
        width = gdi::GetSystemMetrics(SM_CYHSCROLL);
    }
    return std::max(width, insets);
}

int cxEditGetBorderWidthBySkinPainter(TcxEditBorderStyle borderStyle, TcxCustomLookAndFeelPainterClass painter)
{
    if (painter == nullptr)
        return GetContainerBorderWidth(TcxContainerBorderStyle(borderStyle));
    return borderStyle == ebsThick ? 2 : 1;
}

TSize GetArrowSize(const TSize& size, TcxArrowDirection direction)
{
    int a = (std::min(size.cx, size.cy) - 1) / 2;
    if (a % 2 == 0)
        ++a;
    TSize result{a, a / 2 + 1};
    if (direction == adLeft || direction == adRight)
        std::swap(result.cx, result.cy);
    return result;
}

int GetEditButtonsContentVerticalOffset(TcxCanvas*, TcxEditButtonStyle buttonStyle, bool)
{
    // The native form measures the button theme, which this platform never opens.
    switch (buttonStyle) {
    case btsDefault: return 0;
    case bts3D: return 4;
    default: return 2;
    }
}

TColor GetHotTrackColor() { return TColor(gdi::GetSysColor(COLOR_HOTLIGHT)); }

int GetNativeInnerTextEditContentHeightCorrection(TcxCustomEditProperties* properties, bool isInplace)
{
    return isInplace && properties->Buttons()->Count() > 0 ? 1 : 0;
}

TcxRegion* GetEditButtonRegion(TcxCanvas*, const TcxEditButtonViewInfo* viewInfo)
{
    return new TcxRegion(viewInfo->Bounds);   // no theme gives a native shape here
}

TColor GetEditBorderHighlightColor(bool isOffice11Style)
{
    return isOffice11Style ? dxOffice11SelectedBorderColor : clHighlight;
}

TColor GetEditButtonHighlightColor(bool pressed, bool isOffice11Style)
{
    const TcxButtonState state = pressed ? cxbsPressed : cxbsHot;
    if (isOffice11Style)
        return TcxOffice11LookAndFeelPainter::Class()->ButtonColor(state);
    return TcxUltraFlatLookAndFeelPainter::Class()->ButtonColor(state);
}

void SaveCanvasFont(TcxCanvas* canvas, gdi::LogFont& logFont)
{
    cxGetFontData(canvas->GetFont()->GetHandle(), logFont);
}

void RestoreCanvasFont(TcxCanvas* canvas, const gdi::LogFont& logFont)
{
    canvas->GetFont()->SetHandle(gdi::Font{logFont});
}

} // namespace cx

namespace cx {

TRect GetEllipsisDotsBlock(const TRect& r, bool pressedOffset, int& dotSize)
{
    dotSize = r.Width() > 11 ? 2 : 1;
    const int w = 3 * dotSize + 4;
    TRect block{r.Left + (r.Width() - w) / 2, r.Top + (r.Height() - dotSize) / 2, 0, 0};
    block.Right = block.Left + w;
    block.Bottom = block.Top + dotSize;
    if (pressedOffset) {
        if (block.Right < r.Right)
            block = cxRectOffset(block, 1, 0);
        if (block.Bottom < r.Bottom)
            block = cxRectOffset(block, 0, 1);
    }
    return block;
}

void DrawEllipsisButtonContent(TcxCanvas* canvas, const TRect& r, TColor textColor, bool enabled, bool pressedOffset)
{
    int d = 0;
    const TRect block = GetEllipsisDotsBlock(r, pressedOffset, d);
    auto dots = [&](int dx, int dy, TColor color) {
        const gdi::Brush* brush = GetSolidBrush(color);
        for (int i = 0; i < 3; ++i) {
            const int x = block.Left + i * (d + 2) + dx;
            cxEditFillRect(canvas->GetHandle(), {x, block.Top + dy, x + d, block.Top + dy + d}, brush);
        }
    };
    if (enabled) {
        dots(0, 0, textColor);
        return;
    }
    dots(1, 1, clBtnHighlight);
    dots(0, 0, clBtnShadow);
}

} // namespace cx
