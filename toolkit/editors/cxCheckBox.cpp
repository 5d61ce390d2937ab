// Check marks: the square per border style and state, sizes and offsets, the caption text, the
// mark mask, and the four value formats of per-item check states.
#include "toolkit/editors/cxCheckBox.h"

#include "platform/gdi/Draw.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphicsPixels.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxEditUtils.h"

#include <algorithm>
#include <memory>

namespace cx {

namespace {

std::unique_ptr<TBitmap> checkMarkMask;

// The mark is where the platform's unchecked and checked squares differ.
std::unique_ptr<TBitmap> BuildCheckMarkMask()
{
    const TSize size = TcxCustomLookAndFeelPainter::Class()->CheckButtonSize();
    TBitmap strip;
    cxDrawSystemCheckBoxes(strip);
    auto mask = std::make_unique<TBitmap>();
    mask->SetPixelFormat(pf24bit);
    mask->SetSize(size.cx, size.cy);
    TCanvas* source = strip.Canvas();
    TCanvas* target = mask->Canvas();
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            target->SetPixel(x, y, source->GetPixel(x, y) == source->GetPixel(x + size.cx, y) ? clWhite : clBlack);
    return mask;
}

bool IsUsableGlyph(TBitmap* glyph, int glyphCount) { return glyphCount > 0 && VerifyBitmap(glyph); }

bool IsFlatBorder(TcxEditBorderStyle style) { return style == ebsUltraFlat || style == ebsOffice11; }

TcxButtonState ButtonStateOf(TcxEditCheckState s)
{
    switch (s) {
    case ecsHot: return cxbsHot;
    case ecsPressed: return cxbsPressed;
    case ecsDisabled: return cxbsDisabled;
    default: return cxbsNormal;
    }
}

void DrawGlyphCheck(TcxCanvas* canvas, const TRect& r, TcxCheckBoxState state, TcxEditCheckState checkState,
                    TBitmap* glyph, int glyphCount, TColor backgroundColor, bool supportGrayed)
{
    const int cellWidth = glyph->GetWidth() / glyphCount;
    // A glyph with fewer cells than the index rule asks for shows its last cell instead of
    // reading past the strip.
    const int index = std::min(GetEditCheckGlyphIndex(state, checkState, supportGrayed, glyphCount), glyphCount - 1);
    TBitmap cell;
    cell.Assign(glyph);
    cell.SetSize(r.Right - r.Left, r.Bottom - r.Top);
    const int top = (glyph->GetHeight() - (r.Bottom - r.Top)) / 2;
    cell.Canvas()->CopyRect({0, 0, r.Right - r.Left, r.Bottom - r.Top}, glyph->Canvas(),
                            cxRectBounds(index * cellWidth, top, r.Right - r.Left, r.Bottom - r.Top));
    DrawGlyph(canvas, r.Left, r.Top, &cell, checkState != ecsDisabled,
              backgroundColor == TColor(clNone) ? backgroundColor : TColor(ColorToRGB(backgroundColor)));
}

TColor FlatFrameColor(TcxEditBorderStyle borderStyle, TcxEditCheckState checkState, bool isDesigning, bool focused)
{
    const bool office11 = borderStyle == ebsOffice11;
    if (office11 && checkState == ecsNormal && !isDesigning && !focused)
        return clBtnText;
    if (checkState == ecsHot || checkState == ecsPressed || (isDesigning && checkState != ecsDisabled) ||
        (checkState == ecsNormal && focused))
        return GetEditBorderHighlightColor(office11);
    return clBtnShadow;
}

void DrawCheckFrame(TcxCanvas* canvas, TRect& r, TcxEditBorderStyle borderStyle, TcxEditCheckState checkState,
                    TColor borderColor, TColor backgroundColor, bool drawBackground, bool isDesigning, bool focused)
{
    const int o = GetEditCheckBorderOffset(borderStyle, false, false, nullptr);
    if (drawBackground && o > 0)
        canvas->FrameRect(r, backgroundColor, o);
    r = cxRectInflate(r, -o, -o);
    switch (borderStyle) {
    case ebsNone: break;
    case ebsSingle: canvas->FrameRect(r, borderColor, 1); break;
    case ebsThick: canvas->FrameRect(r, borderColor, 2); break;
    case ebsFlat:
        canvas->DrawEdge(r, true, true);
        r = cxRectInflate(r, -1, -1);
        canvas->FrameRect(r, clBtnFace);
        break;
    case ebs3D:
        canvas->DrawEdge(r, true, true);
        r = cxRectInflate(r, -1, -1);
        canvas->DrawComplexFrame(r, cl3DDkShadow, cl3DLight, cxBordersAll, 1);
        break;
    case ebsUltraFlat:
    case ebsOffice11: canvas->FrameRect(r, FlatFrameColor(borderStyle, checkState, isDesigning, focused)); break;
    }
}

void DrawFlatMark(TcxCanvas* canvas, const TRect& checkRect, TcxCheckBoxState state, TcxEditCheckState checkState,
                  TcxEditBorderStyle borderStyle, TcxCheckBoxNullValueShowingStyle nullStyle)
{
    const TRect r = cxRectInflate(checkRect, -2, -2);
    const bool grayed = state == cbsGrayed;
    TColor fill = clWindow;
    if (checkState == ecsHot || checkState == ecsPressed)
        fill = GetEditButtonHighlightColor(checkState == ecsPressed, borderStyle == ebsOffice11);
    else if (checkState == ecsDisabled || (grayed && nullStyle == nssInactive))
        fill = clBtnFace;
    canvas->FillRect(r, fill);
    if (!(state == cbsChecked || (grayed && nullStyle == nssGrayedChecked)))
        return;
    TBitmap* mask = cxCheckMarkMask();
    canvas->SaveClipRegion();
    canvas->IntersectClipRect(r);
    canvas->SetBrushColor(state == cbsChecked && checkState != ecsDisabled ? clBtnText : clBtnShadow);
    canvas->WrappedCanvas()->RequiredState();   // the brush is the blit's pattern
    cxBitBlt(canvas->GetHandle(), mask->Canvas()->GetHandle(),
             cxRectBounds(checkRect.Left, checkRect.Top, mask->GetWidth(), mask->GetHeight()), {0, 0}, 0xB8074A);
    canvas->RestoreClipRegion();
}

} // namespace

// ---- sizes and offsets ------------------------------------------------------------------------

int GetEditCheckBorderOffset(TcxContainerBorderStyle borderStyle, bool nativeStyle, bool hasGlyph,
                             TcxCustomLookAndFeelPainterClass painter)
{
    if (nativeStyle || hasGlyph || painter)
        return 0;
    return 2 - GetContainerBorderWidth(borderStyle);
}

int GetEditCheckBorderOffset(TcxEditBorderStyle borderStyle, bool nativeStyle, bool hasGlyph,
                             TcxCustomLookAndFeelPainterClass painter)
{
    return GetEditCheckBorderOffset(TcxContainerBorderStyle(borderStyle), nativeStyle, hasGlyph, painter);
}

int GetEditCheckBorderOffset(TcxLookAndFeelKind kind, bool nativeStyle, bool hasGlyph,
                             TcxCustomLookAndFeelPainterClass painter)
{
    if (nativeStyle || hasGlyph || painter)
        return 0;
    return 2 - GetContainerBorderWidth(kind);
}

TSize GetEditCheckSize(TcxCanvas*, bool nativeStyle, TBitmap* glyph, int glyphCount,
                       TcxCustomLookAndFeelPainterClass painter)
{
    if (IsUsableGlyph(glyph, glyphCount))
        return {glyph->GetWidth() / glyphCount, glyph->GetHeight()};
    if (painter)
        return painter->CheckButtonSize();
    if (AreVisualStylesMustBeUsed(nativeStyle, totButton))
        return TcxWinXPLookAndFeelPainter::Class()->CheckButtonSize();
    return TcxCustomLookAndFeelPainter::Class()->CheckButtonSize();
}

int GetEditCheckGlyphIndex(TcxCheckBoxState state, TcxEditCheckState checkState, bool supportGrayed, int glyphCount)
{
    const int c = !supportGrayed && glyphCount % 3 != 0 && glyphCount % 2 == 0 ? 2 : 3;
    int i = int(state);
    if (checkState == ecsPressed)
        i += c;
    if (i < glyphCount || i <= c - 1)
        return i;
    return i % c;
}

// ---- drawing ----------------------------------------------------------------------------------

unsigned GetClassicCheckButtonFlags(TcxCheckBoxState state, TcxEditCheckState checkState,
                                    TcxEditBorderStyle borderStyle, TcxCheckBoxNullValueShowingStyle nullStyle)
{
    unsigned flags = 0;
    if (checkState == ecsDisabled) {
        if (state == cbsUnchecked || (state == cbsGrayed && nullStyle != nssGrayedChecked))
            flags = cxDFCS_BUTTON3STATE | cxDFCS_INACTIVE | cxDFCS_PUSHED;
        else
            flags = cxDFCS_BUTTON3STATE | cxDFCS_PUSHED | cxDFCS_CHECKED;
    } else {
        if (state == cbsChecked)
            flags = cxDFCS_CHECKED;
        else if (state == cbsGrayed)
            flags = cxDFCS_BUTTON3STATE | (nullStyle == nssInactive ? cxDFCS_INACTIVE : 0u) |
                    (nullStyle == nssGrayedChecked ? cxDFCS_CHECKED : 0u);
        if (checkState == ecsPressed)
            flags |= cxDFCS_PUSHED;
    }
    if (borderStyle != ebs3D)
        flags |= cxDFCS_FLAT;
    return flags;
}

void DrawClassicCheckButton(TcxCanvas* canvas, const TRect& bounds, unsigned flags)
{
    // The square: a sunken 3-D edge (or a 1-pixel shadow line when flat), a window-coloured face
    // (button face while pushed or inactive) and the mark, dimmed for the third state and for an
    // inactive square.
    const TRect inner = cxRectInflate(bounds, -2, -2);
    canvas->SaveClipRegion();
    canvas->IntersectClipRect(inner);
    TRect r = bounds;
    if (flags & cxDFCS_FLAT) {
        canvas->FrameRect(r, clBtnShadow);
        r = cxRectInflate(r, -1, -1);
    } else {
        gdi::DrawEdge(*canvas->GetHandle(), r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    const bool dim = (flags & (cxDFCS_INACTIVE | cxDFCS_BUTTON3STATE)) != 0;
    canvas->FillRect(r, (flags & (cxDFCS_PUSHED | cxDFCS_INACTIVE)) ? clBtnFace : clWindow);
    if (flags & cxDFCS_CHECKED)
        cxDrawSystemCheckMark(canvas->WrappedCanvas(), inner, dim ? clBtnShadow : clWindowText);
    canvas->RestoreClipRegion();
}

void DrawEditCheck(TcxCanvas* canvas, const TRect& checkRect, TcxCheckBoxState state, TcxEditCheckState checkState,
                   TBitmap* glyph, int glyphCount, TcxEditBorderStyle borderStyle, bool nativeStyle,
                   TColor borderColor, TColor backgroundColor, bool drawBackground, bool isDesigning, bool focused,
                   bool supportGrayed, TcxCustomLookAndFeelPainterClass painter,
                   TcxCheckBoxNullValueShowingStyle nullValueShowingStyle)
{
    if (!drawBackground)
        backgroundColor = clNone;
    if (state == cbsGrayed && nullValueShowingStyle == nssUnchecked)
        state = cbsUnchecked;
    if (IsUsableGlyph(glyph, glyphCount)) {
        DrawGlyphCheck(canvas, checkRect, state, checkState, glyph, glyphCount, backgroundColor, supportGrayed);
        return;
    }
    if (painter) {
        if (drawBackground)
            canvas->FillRect(checkRect, backgroundColor);
        painter->DrawCheckButton(canvas, checkRect, ButtonStateOf(checkState), state);
        return;
    }
    // Themes never open here, so a native square takes the classic path.
    TRect r = checkRect;
    DrawCheckFrame(canvas, r, borderStyle, checkState, borderColor, backgroundColor, drawBackground, isDesigning,
                   focused);
    if (IsFlatBorder(borderStyle))
        DrawFlatMark(canvas, checkRect, state, checkState, borderStyle, nullValueShowingStyle);
    else
        DrawClassicCheckButton(canvas, checkRect,
                               GetClassicCheckButtonFlags(state, checkState, borderStyle, nullValueShowingStyle));
}

void DrawCheckBoxText(TcxCanvas* canvas, const std::string& text, TFont* font, TColor textColor, const TRect& r,
                      int drawTextFlags, bool enabled)
{
    canvas->SetFont(font);
    canvas->GetFont()->SetColor(textColor);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->DrawTexT(text, r, drawTextFlags, enabled);
    canvas->GetBrush()->SetStyle(bsSolid);
}

TBitmap* cxCheckMarkMask()
{
    if (!checkMarkMask)
        checkMarkMask = BuildCheckMarkMask();
    return checkMarkMask.get();
}

// ---- caption items ---------------------------------------------------------------------------

void TcxCaptionItem::Assign(TPersistent* source)
{
    if (auto* item = dynamic_cast<TcxCaptionItem*>(source)) {
        caption_ = item->caption_;
        tag_ = item->tag_;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

void TcxCaptionItem::SetCaption(const std::string& value)
{
    if (caption_ != value) {
        caption_ = value;
        Changed(false);
    }
}

// ---- values -----------------------------------------------------------------------------------

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// One or more decimal digits, never above 2147483647.
bool ReadNumber(const std::u16string& s, size_t& pos, int& n)
{
    if (pos >= s.size() || !IsDigit(s[pos]))
        return false;
    n = 0;
    for (; pos < s.size() && IsDigit(s[pos]); ++pos) {
        const int d = s[pos] - u'0';
        if (n > 214748364 || (n == 214748364 && d > 7))
            return false;
        n = n * 10 + d;
    }
    return true;
}

bool IsTextOrNull(const Variant& v) { return v.IsNull() || VarIsStr(v); }

struct CaptionEntry {
    std::u16string caption;
    bool checked;
};

bool ReadCaptions(const std::u16string& s, std::vector<CaptionEntry>& entries)
{
    size_t pos = 0;
    bool checkedPart = false;
    while (true) {
        if (!checkedPart && pos < s.size() && s[pos] == u';') {
            checkedPart = true;
            ++pos;
        }
        int n = 0;
        if (!ReadNumber(s, pos, n) || pos >= s.size() || s[pos] != u':')
            return false;
        ++pos;
        if (s.size() - pos < size_t(n))
            return false;
        entries.push_back({s.substr(pos, size_t(n)), checkedPart});
        pos += size_t(n);
        if (pos == s.size())
            return true;
    }
}

bool CaptionsToStates(const Variant& value, IcxCheckItems* items, TcxCheckStates& states)
{
    if (!IsTextOrNull(value))
        return false;
    const std::u16string s = Utf8ToUtf16(VarToStr(value));
    if (s.empty())
        return true;
    std::vector<CaptionEntry> entries;
    if (!ReadCaptions(s, entries))
        return false;
    std::stable_sort(entries.begin(), entries.end(),
                     [](const CaptionEntry& a, const CaptionEntry& b) { return a.caption < b.caption; });
    for (int i = 0; i < int(states.size()); ++i) {
        const std::string caption = items->GetCaption(i);
        auto it = std::find_if(entries.begin(), entries.end(), [&](const CaptionEntry& e) {
            return AnsiSameText(Utf16ToUtf8(e.caption), caption);
        });
        if (it == entries.end())
            continue;
        states[size_t(i)] = it->checked ? cbsChecked : cbsGrayed;
        entries.erase(it);
    }
    return entries.empty();
}

bool IndicesToStates(const Variant& value, TcxCheckStates& states)
{
    if (!IsTextOrNull(value))
        return false;
    const std::u16string s = Utf8ToUtf16(VarToStr(value));
    size_t pos = 0;
    bool checkedPart = false;
    while (pos < s.size()) {
        if (!checkedPart && s[pos] == u';') {
            checkedPart = true;
            ++pos;
        }
        int index = 0;
        if (!ReadNumber(s, pos, index) || index >= int(states.size()))
            return false;
        states[size_t(index)] = checkedPart ? cbsChecked : cbsGrayed;
        if (pos < s.size() && s[pos] == u',')
            ++pos;
    }
    return true;
}

bool IntegerToStates(const Variant& value, TcxCheckStates& states)
{
    if (!(VarIsNumericEx(value) || VarIsStr(value) || VarIsDate(value) || value.IsNull()))
        return false;
    std::int64_t bits = 0;
    if (VarIsStr(value)) {
        if (!TryStrToInt64(VarToStr(value), bits))
            return false;
    } else if (!value.IsNull()) {
        try {
            bits = value.ToInt64();
        } catch (const Exception&) {
            return false;
        }
    }
    for (size_t i = 0; i < states.size(); ++i)
        states[i] = i < 64 && (std::uint64_t(bits) >> i & 1) ? cbsChecked : cbsUnchecked;
    return true;
}

bool StatesStringToStates(const Variant& value, TcxCheckStates& states)
{
    if (!IsTextOrNull(value))
        return false;
    const std::string s = VarToStr(value);
    const size_t n = std::min(s.size(), states.size());
    for (size_t i = 0; i < n; ++i) {
        if (s[i] < '0' || s[i] > '2')
            return false;
        states[i] = TcxCheckBoxState(s[i] - '0');
    }
    return true;
}

} // namespace

void CalculateCheckStatesValue(const TcxCheckStates& checkStates, IcxCheckItems* items,
                               TcxCheckStatesValueFormatEx valueFormat, Variant& value)
{
    value = Variant::MakeNull();
    const int count = int(checkStates.size());
    switch (valueFormat) {
    case cvfCaptions:
    case cvfIndices: {
        std::string grayed, checked;
        for (int i = 0; i < count; ++i) {
            if (checkStates[size_t(i)] == cbsUnchecked)
                continue;
            std::string& part = checkStates[size_t(i)] == cbsGrayed ? grayed : checked;
            if (valueFormat == cvfCaptions) {
                const std::string caption = items->GetCaption(i);
                part += std::to_string(Utf8ToUtf16(caption).size()) + ":" + caption;
            } else {
                part += (part.empty() ? "" : ",") + std::to_string(i);
            }
        }
        value = checked.empty() ? grayed : grayed + ";" + checked;
        break;
    }
    case cvfInteger: {
        std::uint64_t bits = 0;
        for (int i = 0; i < std::min(count, 64); ++i)
            if (checkStates[size_t(i)] == cbsChecked)
                bits |= std::uint64_t(1) << i;
        value = Variant(std::int64_t(bits));
        break;
    }
    case cvfStatesString: {
        std::string s;
        for (TcxCheckBoxState st : checkStates)
            s += char('0' + int(st));
        value = s;
        break;
    }
    case cvfCustom: break;
    }
}

bool CalculateCheckStates(const Variant& value, IcxCheckItems* items, TcxCheckStatesValueFormatEx valueFormat,
                          TcxCheckStates& checkStates)
{
    checkStates.assign(size_t(items->GetCount()), cbsUnchecked);
    bool ok = false;
    switch (valueFormat) {
    case cvfCaptions: ok = CaptionsToStates(value, items, checkStates); break;
    case cvfIndices: ok = IndicesToStates(value, checkStates); break;
    case cvfInteger: ok = IntegerToStates(value, checkStates); break;
    case cvfStatesString: ok = StatesStringToStates(value, checkStates); break;
    case cvfCustom: break;
    }
    if (!ok)
        std::fill(checkStates.begin(), checkStates.end(), cbsUnchecked);
    return ok;
}

namespace cxCheckBoxUnit {

namespace {
TcxEditKindUnit<TcxCheckBoxProperties, TcxFilterCheckBoxHelper> unit;
}

void Initialize()
{
    unit.Initialize("CheckBox|Represents a check box control that allows selecting an option", TcxNoUnitStep{},
                    [] { cxCheckMarkMask(); });
}

void Finalize() { unit.Finalize([] { checkMarkMask.reset(); }); }

} // namespace cxCheckBoxUnit

} // namespace cx
