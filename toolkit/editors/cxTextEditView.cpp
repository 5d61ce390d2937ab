// The text editor's layout and painting: draw-text flags and offsets, selection colours, the text
// rows laid out once per calculation (and moved, not remade, by Offset), hints and measuring.
#include "toolkit/editors/cxTextEdit.h"

#include "platform/rtl/Unicode.h"

namespace cx {

namespace {
constexpr unsigned kVCenter = 0x10, kBottom = 0x20, kWordBreak = 0x100, kSingleLine = 0x200,
                   kEndEllipsis = 0x800, kEditControl = 0x4000, kCalcRect = 0x100000, kCalcRowCount = 0x200000,
                   kPreventLeft = 0x40000, kPreventTop = 0x80000;

TColor Inverse(TColor c) { return TColor(ColorToRGB(c) ^ 0xFFFFFF); }

int LineHeight(TcxCanvas* canvas) { return cxTextHeight(canvas->GetFont(), "Zg"); }

// Rows of a text in a rectangle with the given flags, released at once; answers the row count
// and the longest row.
int CountRows(TcxCanvas* canvas, const std::u16string& text, const TRect& r, unsigned flags, int maxRows,
              int* longest = nullptr)
{
    TcxTextParams params = cxCalcTextParams(canvas->WrappedCanvas(), flags);
    TcxTextRows rows;
    int count = 0;
    cxMakeTextRows(canvas->WrappedCanvas(), text, cxPrepareRect(r, params, 0, 0), params, rows, count, maxRows);
    if (longest)
        *longest = cxGetLongestTextRowWidth(rows, count);
    cxResetTextRows(rows);
    return count;
}
} // namespace

int& TcxCustomTextEditViewInfo::LayoutCount()
{
    static int count = 0;
    return count;
}

// ---- view data --------------------------------------------------------------------------------

void TcxCustomTextEditViewData::InitCacheData()
{
    TcxCustomEditViewData::InitCacheData();
    valueFormatting_ = Properties()->IsValueEditorWithValueFormatting();
}

unsigned TcxCustomTextEditViewData::GetDrawTextFlags()
{
    static const unsigned horz[] = {0, 2, 1};   // left, right, centre
    static const unsigned vert[] = {0, kBottom, kVCenter};
    return horz[HorzAlignment] | vert[VertAlignment] | kSingleLine | kPreventLeft | kPreventTop;
}

TRect TcxCustomTextEditViewData::GetDrawTextOffset() { return GetTextEditDrawTextOffset(this); }

bool TcxCustomTextEditViewData::GetIsEditClass()
{
    if (!Edit)
        return false;
    auto* edit = dynamic_cast<TcxCustomEdit*>(Edit->GetEditContainer());
    return edit && edit->IsEditClass();
}

void TcxCustomTextEditViewData::PrepareDrawTextFlags(TcxCanvas* canvas, TcxCustomEditViewInfo* viewInfo)
{
    auto* vi = static_cast<TcxCustomTextEditViewInfo*>(viewInfo);
    unsigned flags = GetDrawTextFlags();
    TcxCustomTextEditProperties* p = TextProperties();
    if (!p->IsMultiLine() && p->GetSupportedOperations().Contains(esoAutoHeight) &&
        GetPaintOptions().Contains(epoAutoHeight) && !vi->Text.empty()) {
        canvas->SetFont(GetStyle()->GetVisibleFont());
        const TRect offsets = GetDrawTextOffset();
        const unsigned measure = (flags & ~kSingleLine) | kWordBreak | kEditControl | kCalcRowCount;
        int width = vi->TextRect.Width() + offsets.Left + offsets.Right - GetEditContentSizeCorrection().cx;
        if (HorzAlignment == taRightJustify)
            ++width;
        const int rowHeight = cxCalcTextParams(canvas->WrappedCanvas(), measure).RowHeight;
        const int maxRows = rowHeight > 0 ? (vi->TextRect.Height() + rowHeight - 1) / rowHeight + 1 : 1;
        const int rows = CountRows(canvas, vi->Text, TRect{0, 0, std::max(width, 1), 0x7FFF}, measure, maxRows);
        if (rows > 1) {
            flags = (flags & ~kSingleLine) | kWordBreak | kEditControl;
            if (rows * rowHeight > vi->TextRect.Height())
                flags &= ~(kSingleLine | kBottom | kVCenter);
        }
    }
    if (vi->PaintOptions.Contains(epoShowEndEllipsis))
        flags |= kEndEllipsis;
    vi->DrawTextFlags = flags;
    vi->ComboBoxStyle = IsComboBoxStyle();
}

void TcxCustomTextEditViewData::Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p,
                                          TcxMouseButton button, TShiftState shift, TcxCustomEditViewInfo* viewInfo,
                                          bool isMouseEvent)
{
    TcxCustomEditViewData::Calculate(canvas, bounds, p, button, shift, viewInfo, isMouseEvent);
    auto* vi = static_cast<TcxCustomTextEditViewInfo*>(viewInfo);
    vi->DrawSelectionBar = false;
    vi->EditingStyle = TextProperties()->GetEditingStyle();
    vi->IsEditClass = GetIsEditClass();
    vi->HasPopupWindow = false;
    const TRect o = GetDrawTextOffset();
    TRect r = vi->ClientRect;
    r = TRect{r.Left + o.Left, r.Top + o.Top, r.Right - o.Right, r.Bottom - o.Bottom};
    if (!IsInplace()) {
        canvas->SetFont(GetStyle()->GetVisibleFont());
        const int h = LineHeight(canvas);
        if (r.Height() < h)
            r.Bottom = std::min(r.Top + h, vi->ClientRect.Bottom);
    }
    vi->TextRect = r;
    vi->MaxLineCount = GetMaxLineCount();
    vi->ResetTextOut();
    PrepareDrawTextFlags(canvas, vi);
}

std::string TcxCustomTextEditViewData::InternalEditValueToDisplayText(const Variant& value)
{
    std::string text;
    try {
        if (valueFormatting_) {
            text = VarToStr(value);
        } else {
            Variant dv;
            TextProperties()->GetDefaultDisplayValue(value, InternalFocused(), dv);
            text = VarToStr(dv);
        }
    } catch (const Exception&) {
        // The paint path shows an empty text rather than fail.
        text.clear();
    }
    TextProperties()->DisplayValueToDisplayText(text);
    return text;
}

void TcxCustomTextEditViewData::EditValueToDrawValue(TcxCanvas*, const Variant& value,
                                                     TcxCustomEditViewInfo* viewInfo)
{
    auto* vi = static_cast<TcxCustomTextEditViewInfo*>(viewInfo);
    vi->Text = ShowNoText ? std::u16string() : Utf8ToUtf16(EditValueToDisplayText(value));
    vi->ResetTextOut();
    PrepareSelection(vi);
}

void TcxCustomTextEditViewData::DisplayValueToDrawValue(const Variant& displayValue, TcxCustomEditViewInfo* viewInfo)
{
    auto* vi = static_cast<TcxCustomTextEditViewInfo*>(viewInfo);
    std::string text;
    try {
        text = VarToStr(displayValue);
    } catch (const Exception&) {
    }
    TextProperties()->DisplayValueToDisplayText(text);
    vi->Text = Utf8ToUtf16(text);
    vi->ResetTextOut();
}

void TcxCustomTextEditViewData::PrepareSelection(TcxCustomEditViewInfo* viewInfo)
{
    auto* vi = static_cast<TcxCustomTextEditViewInfo*>(viewInfo);
    vi->SelStart = SelStart;
    vi->SelLength = SelLength;
    if (SelLength == 0)
        return;
    if (SelBackgroundColor == clDefault) {
        if (SelTextColor != clDefault) {
            vi->SelTextColor = SelTextColor;
            vi->SelBackgroundColor = Inverse(SelTextColor);
        } else if (GetStyle()->GetColor() == clHighlight) {
            vi->SelBackgroundColor = TColor(0);
            vi->SelTextColor = TColor(0xFFFFFF);
        } else {
            vi->SelBackgroundColor = clHighlight;
            vi->SelTextColor = clHighlightText;
        }
    } else {
        vi->SelBackgroundColor = SelBackgroundColor;
        vi->SelTextColor = SelTextColor == clDefault ? Inverse(SelBackgroundColor) : SelTextColor;
    }
}

TSize TcxCustomTextEditViewData::InternalGetEditContentSize(TcxCanvas* canvas, const Variant& value,
                                                            const TcxEditSizeProperties& sizeProperties)
{
    TSize size = TcxCustomEditViewData::InternalGetEditContentSize(canvas, value, sizeProperties);
    const TSize text = GetTextEditContentSize(canvas, this, EditValueToDisplayText(value), GetDrawTextFlags(),
                                              sizeProperties, 0, true);
    size.cx = std::max(size.cx, text.cx);
    size.cy = std::max(size.cy, text.cy);
    return size;
}

// ---- unit routines ----------------------------------------------------------------------------

TRect GetTextEditDrawTextOffset(TAlignment, bool isInplace) { return EditContentDefaultOffsets[isInplace ? 1 : 0]; }

TRect GetTextEditDrawTextOffset(TcxCustomEditViewData* viewData)
{
    TRect r = viewData->EditContentParams().Offsets;
    auto* text = dynamic_cast<TcxCustomTextEditViewData*>(viewData);
    if (!viewData->IsInplace() && text) {
        const TcxEditEditingStyle style = text->TextProperties()->GetEditingStyle();
        if (style == esFixedList || style == esNoEdit) {
            ++r.Top;
            --r.Bottom;
            if (text->Properties()->Alignment()->Horz() == taRightJustify)
                ++r.Right;
            else
                ++r.Left;
        }
    }
    return r;
}

namespace {
TSize MeasureTextContent(TcxCanvas* canvas, TcxCustomEditViewData* viewData, const std::string& text, unsigned flags,
                         const TcxEditSizeProperties& sizeProperties, int lineCount, bool correctWidth)
{
    canvas->SetFont(viewData->GetStyle()->GetVisibleFont());
    const TSize correction = viewData->GetEditContentSizeCorrection();
    auto* textData = dynamic_cast<TcxCustomTextEditViewData*>(viewData);
    bool paintedList = false;
    if (!viewData->IsInplace() && textData) {
        const TcxEditEditingStyle style = textData->TextProperties()->GetEditingStyle();
        paintedList = (style == esFixedList || style == esNoEdit) && !textData->IsComboBoxStyle();
    }
    const std::u16string wide = Utf8ToUtf16(text);
    const int line = LineHeight(canvas);
    const bool allowZero = viewData->GetPaintOptions().Contains(epoAllowZeroHeight);
    TSize size{0, 0};
    if (sizeProperties.Width < 0) {
        const bool autoHeight = viewData->GetPaintOptions().Contains(epoAutoHeight) &&
                                viewData->Properties()->GetSupportedOperations().Contains(esoAutoHeight);
        if (!(flags & kSingleLine) || autoHeight) {
            const unsigned measure = (flags & ~kSingleLine) | kWordBreak | kEditControl | kCalcRect;
            const int maxRows = lineCount > 0 ? lineCount : sizeProperties.MaxLineCount;
            int longest = 0;
            const int rows = CountRows(canvas, wide, TRect{0, 0, 0x3FFFFFFF, 0x3FFFFFFF}, measure, maxRows, &longest);
            size.cx = longest;
            size.cy = line * (lineCount > 0 ? lineCount : std::max(rows, 1));
        } else {
            size.cx = wide.empty() ? 0 : canvas->TextWidth(text);
            size.cy = line;
        }
        if (paintedList)
            ++size.cx;
        if (correctWidth)
            size.cx += correction.cx;
        return size;
    }
    const int w = sizeProperties.Width;
    if (lineCount > 0)
        return {w, line * lineCount};
    const int available = w + (viewData->IsInplace() ? 0 : 2) + (paintedList ? 0 : 1) - 3;
    if (available <= 0)
        return {0, wide.empty() && allowZero ? 0 : line};
    size.cx = w;
    if (wide.empty()) {
        size.cy = allowZero ? 0 : line;
        return size;
    }
    const unsigned measure = ((flags & ~(kSingleLine | kVCenter | kBottom)) | kWordBreak | kEditControl | kCalcRowCount);
    const int rows = CountRows(canvas, wide, TRect{0, 0, available, 0x3FFFFFFF}, measure, sizeProperties.MaxLineCount);
    size.cy = line * std::max(rows, 1);
    return size;
}
} // namespace

TSize GetTextEditContentSize(TcxCanvas* canvas, TcxCustomEditViewData* viewData, const std::string& text,
                             unsigned flags, const TcxEditSizeProperties& sizeProperties, int lineCount,
                             bool correctWidth)
{
    TSize size = MeasureTextContent(canvas, viewData, text, flags, sizeProperties, lineCount, correctWidth);
    // The content offsets (the room above and below the text) belong to the height: without them
    // an auto-sized editor is too short for its frame and loses the bottom edge.
    if (size.cy > 0)
        size.cy += viewData->GetEditContentSizeCorrection().cy;
    return size;
}

// ---- view info --------------------------------------------------------------------------------

void TcxCustomTextEditViewInfo::Offset(int dx, int dy)
{
    TcxCustomEditViewInfo::Offset(dx, dy);
    TextRect = cxRectOffset(TextRect, dx, dy);
    if (!TextOut.Initialized)
        return;
    TextOut.Rect = cxRectOffset(TextOut.Rect, dx, dy);
    for (int i = 0; i < TextOut.RowCount; ++i) {
        PcxTextRow row = cxGetTextRow(TextOut.Rows, i);
        row->TextOriginX += dx;
        row->TextOriginY += dy;
    }
}

void TcxCustomTextEditViewInfo::InternalPaint(TcxCanvas* canvas) { DrawTextEdit(canvas, this); }

void TcxCustomTextEditViewInfo::DrawText(TcxCanvas* canvas) { DrawEditText(canvas, this); }

bool TcxCustomTextEditViewInfo::NeedShowHint(TcxCanvas* canvas, const TPoint& p, const TRect& visibleBounds,
                                             std::string& text, bool& isMultiLine, TRect& textRect)
{
    TRect area = TextRect;
    if (!(visibleBounds == cxNullRect))
        cxRectIntersect(area, cxRectOffset(visibleBounds, -Left, -Top), TextRect);
    const TPoint q{p.X - Left, p.Y - Top};
    if (!Text.empty() && cxRectPtIn(area, q)) {
        canvas->SetFont(Font);
        TRect r = area;
        const unsigned flags = (DrawTextFlags & ~(kSingleLine | kBottom | kVCenter)) | kCalcRect;
        TRect calc{0, 0, area.Width(), 0};
        cxTextOut(canvas->WrappedCanvas(), Text, calc, flags);
        if (calc.Width() > r.Width() || calc.Height() > r.Height() ||
            canvas->TextWidth(Utf16ToUtf8(Text)) > r.Width()) {
            text = Utf16ToUtf8(Text);
            isMultiLine = !(DrawTextFlags & kSingleLine) && (DrawTextFlags & kWordBreak);
            textRect = cxRectOffset(TextRect, Left, Top);
            return true;
        }
    }
    text.clear();
    return TcxCustomEditViewInfo::NeedShowHint(canvas, p, visibleBounds, text, isMultiLine, textRect);
}

namespace {
// Lays the text out once per calculation, then draws the cached rows.
void InternalTextOut(TcxCanvas* canvas, TcxCustomTextEditViewInfo* vi, const TRect& r)
{
    auto& c = vi->TextOut;
    if (!c.Initialized) {
        cxResetTextRows(c.Rows);
        c.Params = cxCalcTextParams(canvas->WrappedCanvas(), vi->DrawTextFlags);
        c.Rect = cxPrepareRect(r, c.Params, 0, 0);
        c.RowCount = 0;
        c.Initialized = true;
        if (c.Rect.Width() <= 0 || c.Rect.Height() <= 0)
            return;
        ++TcxCustomTextEditViewInfo::LayoutCount();
        c.ForceEndEllipsis = !cxMakeTextRows(canvas->WrappedCanvas(), vi->Text, c.Rect, c.Params, c.Rows, c.RowCount,
                                             vi->MaxLineCount);
        cxPlaceTextRows(canvas->GetHandle(), c.Rect, c.Params, c.Rows, c.RowCount);
        const int length = int(vi->Text.size());
        c.SelStart = vi->SelStart;
        c.SelLength = vi->SelLength;
        if (c.SelStart < 0 || c.SelStart >= length)
            c.SelLength = 0;
        else if (c.SelStart + c.SelLength > length)
            c.SelLength = length - c.SelStart;
        c.SelBackgroundColor = vi->SelBackgroundColor;
        c.SelTextColor = vi->SelTextColor;
    }
    if (c.RowCount == 0)
        return;
    cxTextRowsOutHighlight(canvas->GetHandle(), c.Rect, c.Params, c.Rows, c.RowCount, c.SelStart, c.SelLength,
                           c.SelBackgroundColor, c.SelTextColor, c.ForceEndEllipsis);
}
} // namespace

void DrawEditText(TcxCanvas* canvas, TcxCustomTextEditViewInfo* vi)
{
    if (vi->Text.empty())
        return;
    canvas->SetFont(vi->Font);
    canvas->GetFont()->SetColor(vi->DrawSelectionBar ? clHighlightText : vi->TextColor);
    vi->PrepareCanvasFont(canvas->WrappedCanvas());
    // The rows go straight to the device context: it must hold this font and colour now, not
    // those of whatever the canvas drew last (a laid-out text makes no canvas call of its own).
    canvas->WrappedCanvas()->RequiredState();
    InternalTextOut(canvas, vi, vi->TextRect);
}

void DrawTextEdit(TcxCanvas* canvas, TcxCustomTextEditViewInfo* vi)
{
    TcxEditBackgroundPaintingStyle style = bpsSolid;
    if (vi->ComboBoxStyle)
        style = vi->EditingStyle == esEdit || vi->EditingStyle == esEditList ? bpsComboEdit : bpsComboListEdit;
    vi->DrawCustomEdit(canvas, !(vi->Transparent || vi->DrawSelectionBar), style);
    TRect r = vi->ClientRect;
    if (!vi->IsInplace) {
        if (!((vi->NativeStyle && !vi->DrawSelectionBar) || vi->Transparent || vi->EditingStyle == esNoEdit))
            canvas->FrameRect(r, vi->BackgroundColor);
        r = cxRectInflate(r, -1, -1);
    }
    if (vi->DrawSelectionBar)
        canvas->FillRect(r, clHighlight);
    if (vi->IsDBEditPaintCopyDrawing || !vi->HasInnerEdit || !vi->IsEditClass)
        vi->DrawText(canvas);
    if (!vi->IsEditClass && vi->Focused && !vi->IsInplace && !vi->HasPopupWindow) {
        canvas->GetFont()->SetColor(vi->DrawSelectionBar ? clHighlightText : clBtnText);
        canvas->SetBrushColor(vi->DrawSelectionBar ? clHighlight : vi->BackgroundColor);
        canvas->DrawFocusRect(r);
    }
}

TcxCustomEditViewDataClass TcxCustomTextEditProperties::GetViewDataClass() const
{
    return TcxCustomEditViewDataClass::Of<TcxCustomTextEditViewData>();
}

TcxCustomEditViewInfoClass TcxCustomTextEditProperties::GetViewInfoClass() const
{
    return TcxCustomEditViewInfoClass::Of<TcxCustomTextEditViewInfo>();
}

} // namespace cx
