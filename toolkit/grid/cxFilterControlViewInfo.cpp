// The filter builder's layout, hit test and painting. Everything is painted into an off-screen
// bitmap that reaches the screen in one copy.
#include "toolkit/grid/cxFilterControl.h"

#include <algorithm>
#include <memory>

#include "platform/gdi/Dc.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/Surface.h"

#include "toolkit/core/cxGeometry.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditControl.h"
#include "toolkit/editors/cxEditLayout.h"
#include "toolkit/editors/cxEditViewInfo.h"

namespace cx {

namespace {
// A rectangle of the given size at x, centred vertically in the row.
TRect CentredRect(const TRect& row, int x, int width, int height)
{
    int top = row.Top + (row.Height() - height) / 2;
    return {x, top, x + width, top + height};
}

// The rectangle of a text in the font: text width + 2 by text height + 2.
TRect TextRect(TcxCanvas* canvas, TFont* font, const TRect& row, int x, const std::string& text)
{
    canvas->SetFont(font);
    TSize size = canvas->TextExtent(text);
    return CentredRect(row, x, size.cx + 2, size.cy + 2);
}

bool IsBetween(TcxFilterControlOperator op) { return op == fcoBetween || op == fcoNotBetween; }
bool IsList(TcxFilterControlOperator op) { return op == fcoInList || op == fcoNotInList; }

bool IsHot(TcxCustomFilterControl* control, TcxFilterRowViewInfo* row, TcxFilterControlHitTest part)
{
    const TcxFilterControlHitTestInfo& hot = control->HotTrackInfo();
    return control->HasHotTrack() && hot.Row == row && hot.HitTest == part;
}

TcxButtonState PartButtonState(TcxCustomFilterControl* control, TcxFilterRowViewInfo* row,
                               TcxFilterControlHitTest part)
{
    if (!control->ViewInfo()->Enabled())
        return cxbsDisabled;
    if (control->FocusedRow() == row && control->FocusedPart() == part)
        return cxbsDefault;
    return IsHot(control, row, part) ? cxbsHot : cxbsNormal;
}

bool ControlOrEditorFocused(TcxCustomFilterControl* control)
{
    return control->Focused() || (control->ValueEditor() && control->ValueEditor()->Focused());
}
} // namespace

// --- rows ------------------------------------------------------------------------------------------------
void cxFilterControl::TcxCustomRowViewInfo::Calc(const TRect& rowRect)
{
    TcxFilterControlViewInfo* viewInfo = ViewInfo();
    TcxCanvas* canvas = viewInfo->Canvas();
    RowRect = rowRect;
    indent_ = viewInfo->RowHeight() * Level();
    canvas->SetFont(control_->Font());
    buttonWidth_ = parent_ ? canvas->TextWidth("0") * static_cast<int>(buttonText_.size())
                           : canvas->TextWidth(buttonText_ + "00");
    ButtonRect = CentredRect(RowRect, RowRect.Left + indent_ + 4, buttonWidth_, viewInfo->RowHeight() - 4);
    ButtonState = PartButtonState(control_, this, fhtButton);
}

int cxFilterControl::TcxCustomRowViewInfo::GetWidth() { return buttonWidth_ + indent_ + 5; }

void cxFilterControl::TcxCustomRowViewInfo::GetHitTestInfo(const TPoint& p, TcxFilterControlHitTestInfo& info)
{
    if (cxRectPtIn(ButtonRect, p))
        info.HitTest = fhtButton;
}

void TcxGroupViewInfo::Calc(const TRect& rowRect)
{
    TcxCustomRowViewInfo::Calc(rowRect);
    TcxCanvas* canvas = ViewInfo()->Canvas();
    BoolOperatorRect = TextRect(canvas, control_->FontBoolOperator(), RowRect, ButtonRect.Right + 8, BoolOperatorText());
    CaptionRect = TextRect(canvas, control_->Font(), RowRect, BoolOperatorRect.Right + 8, caption_);
}

int TcxGroupViewInfo::GetWidth()
{
    return TcxCustomRowViewInfo::GetWidth() + BoolOperatorRect.Width() + CaptionRect.Width() + 16;
}

void TcxGroupViewInfo::GetHitTestInfo(const TPoint& p, TcxFilterControlHitTestInfo& info)
{
    TcxCustomRowViewInfo::GetHitTestInfo(p, info);
    if (info.HitTest == fhtNone && cxRectPtIn(BoolOperatorRect, p))
        info.HitTest = fhtBoolOperator;
}

void TcxConditionViewInfo::Calc(const TRect& rowRect)
{
    TcxCustomRowViewInfo::Calc(rowRect);
    TcxCanvas* canvas = ViewInfo()->Canvas();
    ItemRect = TextRect(canvas, control_->FontItem(), RowRect, ButtonRect.Right + 8, itemText_);
    OperatorRect = TextRect(canvas, control_->FontCondition(), RowRect, ItemRect.Right + 8, OperatorText());
    values_->Calc();
}

int TcxConditionViewInfo::GetWidth()
{
    int valuesWidth = HasDisplayValues() ? values_->GetRight() - OperatorRect.Right : 0;
    return TcxCustomRowViewInfo::GetWidth() + ItemRect.Width() + OperatorRect.Width() + valuesWidth + 16;
}

void TcxConditionViewInfo::GetHitTestInfo(const TPoint& p, TcxFilterControlHitTestInfo& info)
{
    TcxCustomRowViewInfo::GetHitTestInfo(p, info);
    if (info.HitTest != fhtNone)
        return;
    if (cxRectPtIn(ItemRect, p))
        info.HitTest = fhtItem;
    else if (cxRectPtIn(OperatorRect, p))
        info.HitTest = fhtOperator;
    else
        values_->GetHitTestInfo(p, info);
}

// --- values -----------------------------------------------------------------------------------------------
int TcxValuesViewInfo::GetRight() const
{
    if (IsList(condition_->Operator()))
        return AddButtonRect.Right;
    return items_.empty() ? condition_->OperatorRect.Right : items_.back()->ValueRect.Right;
}

void TcxValuesViewInfo::GetHitTestInfo(const TPoint& p, TcxFilterControlHitTestInfo& info)
{
    if (cxRectPtIn(AddButtonRect, p)) {
        info.HitTest = fhtAddValue;
        return;
    }
    for (int i = 0; i < Count(); ++i)
        if (cxRectPtIn(Items(i)->ValueRect, p)) {
            info.HitTest = fhtValue;
            info.ValueIndex = i;
            return;
        }
}

void TcxValuesViewInfo::Calc()
{
    AddButtonRect = {};
    if (!condition_->HasDisplayValues()) {
        for (TcxValueInfo* value : items_)
            value->ValueRect = {};
        return;
    }
    TcxCustomFilterControl* control = condition_->Control();
    TcxFilterControlViewInfo* viewInfo = control->ViewInfo();
    TcxCanvas* canvas = viewInfo->Canvas();
    const TcxFilterControlOperator op = condition_->Operator();
    const TRect& row = condition_->RowRect;
    canvas->SetFont(control->FontValue());
    int x = condition_->OperatorRect.Right + 8;
    separator_.clear();
    if (IsBetween(op))
        separator_ = cxSFilterString(&cxSFilterAndCaption);
    else if (IsList(op)) {
        x += canvas->TextWidth("(");
        separator_ = ", ";
    }
    for (int i = 0; i < Count(); ++i) {
        TcxValueInfo* value = items_[static_cast<std::size_t>(i)];
        value->ValueRect = viewInfo->CalcValue(condition_, i, x);
        x = value->ValueRect.Right + 4;
        if (IsBetween(op) || IsList(op)) {
            canvas->SetFont(control->FontValue());
            x += canvas->TextWidth(separator_) + 8;
        }
    }
    if (IsList(op)) {
        canvas->SetFont(control->FontValue());
        int left = (items_.empty() ? condition_->OperatorRect.Right : items_.back()->ValueRect.Right) +
                   canvas->TextWidth(")0");
        AddButtonRect = CentredRect(row, left, canvas->TextWidth("000"), viewInfo->RowHeight() - 4);
        AddButtonState = PartButtonState(control, condition_, fhtAddValue);
    }
}

// --- view info ------------------------------------------------------------------------------------------------
TcxFilterControlViewInfo::TcxFilterControlViewInfo(TcxCustomFilterControl* control)
    : control_(control), bitmap_(std::make_unique<TcxBitmap>())
{
    painter_.reset(GetPainterClass().Create(control));
}

TcxFilterControlViewInfo::~TcxFilterControlViewInfo() = default;

TcxCanvas* TcxFilterControlViewInfo::Canvas() const { return bitmap_->ToolkitCanvas(); }

TcxFilterControlPainterClass TcxFilterControlViewInfo::GetPainterClass()
{
    return TcxFilterControlPainterClass::Of<TcxFilterControlPainter>();
}

void TcxFilterControlViewInfo::CalcRowHeight()
{
    TcxCanvas* canvas = Canvas();
    rowHeight_ = canvas->FontHeight(control_->Font());
    minValueWidth_ = 12 * canvas->TextWidth("0");
    for (TcxFilterControlFont font : {fcfBoolOperator, fcfItem, fcfCondition})
        rowHeight_ = std::max(rowHeight_, canvas->FontHeight(control_->GetFont(font)));
    int editHeight = 0;
    if (TcxCustomEditProperties* properties = control_->GetDefaultProperties()) {
        TcxEditSizeProperties size{-1, 1, 10};
        editHeight = properties->GetEditSize(canvas, control_->ValueEditStyle(), true, Variant("Yy"), size).cy;
    }
    rowHeight_ = MulDiv(std::max(rowHeight_, editHeight), 3, 2);
}

void TcxFilterControlViewInfo::Calc()
{
    bitmap_->SetSize(std::max(control_->Width(), 0), std::max(control_->Height(), 0));
    enabled_ = control_->HasItems() && control_->Enabled();
    CalcRowHeight();
    TRect client = control_->GetClientBounds();
    TRect r{client.Left - control_->LeftOffset(), client.Top, client.Right, client.Top + rowHeight_};
    r.Top -= control_->TopVisibleRow() * rowHeight_;
    r.Bottom -= control_->TopVisibleRow() * rowHeight_;
    maxRowWidth_ = 0;
    for (int i = 0; i < control_->RowCount(); ++i) {
        TcxCustomRowViewInfo* row = control_->Rows(i);
        row->Calc(r);
        maxRowWidth_ = std::max(maxRowWidth_, row->GetWidth());
        r.Top += rowHeight_;
        r.Bottom += rowHeight_;
    }
    TcxCustomRowViewInfo* last = control_->Rows(control_->RowCount() - 1);
    Canvas()->SetFont(control_->Font());
    int width = Canvas()->TextWidth(addConditionCaption_ + "00");
    AddConditionRect = CentredRect(r, r.Left + last->Indent() + 4, width, rowHeight_ - 4);
    maxRowWidth_ = std::max(maxRowWidth_, width + last->Indent() + 4);
    CalcAddButtonState();
    CalcFocusRect();
}

TRect TcxFilterControlViewInfo::CalcValue(TcxConditionViewInfo* condition, int index, int x)
{
    TcxValueInfo* value = condition->Values()->Items(index);
    TcxCanvas* canvas = Canvas();
    const bool isNull = value->Value.IsNull();
    TcxCustomEditProperties* properties = isNull || !condition->EditorProperties() ? control_->GetDefaultProperties()
                                                                                   : condition->EditorProperties();
    Variant shown = isNull ? Variant(control_->NullString())
                           : condition->FilterEditsHelper()->UseDisplayValue() ? Variant(value->ValueText) : value->Value;
    value->SetValueViewInfo(properties->GetViewInfoClass().Create());

    const TcxFilterControlHitTestInfo& hot = control_->HotTrackInfo();
    bool isHot = hot.Row == condition && hot.HitTest == fhtValue && hot.ValueIndex == index &&
                 control_->State() == fcsNormal;
    // A value with its editor open keeps the focused width the editor was placed on, also while
    // the focus passes from the builder to the editor (the row is laid out again then).
    const bool editing = control_->State() == fcsSelectingValue && control_->ValueEditor();
    bool isFocused = (editing || ControlOrEditorFocused(control_)) && control_->FocusedRow() == condition &&
                     control_->FocusedPart() == fhtValue && control_->FocusedValueIndex() == index;
    bool selected = (editing && isFocused) || (control_->HasHotTrack() && (isHot || isFocused));

    TcxCustomEditStyle* style = control_->ValueEditStyle();
    style->SetTextColor(enabled_ ? control_->FontValue()->GetColor() : clBtnShadow);
    style->SetButtonTransparency(selected ? ebtNone : ebtHideInactive);
    style->SetColor(selected ? clWindow : painter_->GetContentColor());

    std::unique_ptr<TcxCustomEditViewData> viewData(properties->CreateViewData(style, true));
    viewData->Enabled = enabled_;
    TSize size = viewData->GetEditSize(canvas, shown, TcxEditSizeProperties{-1, 1, -1});
    if (selected)
        size.cx = std::max(size.cx, minValueWidth_);
    TRect r = CentredRect(condition->RowRect, x, size.cx, size.cy);
    // A kind whose filter editor works without buttons shows none on its values either: the view
    // data is never active here, so hiding inactive buttons hides them all.
    TcxCustomFilterEditHelperClass helper = FilterEditsController()->FindHelper(&properties->ClassType());
    if (helper && !helper->EditPropertiesHasButtons())
        style->SetButtonTransparency(ebtHideInactive);
    viewData->EditValueToDrawValue(canvas, shown, value->ValueViewInfo());
    viewData->Calculate(canvas, r, TPoint{-1, -1}, cxmbNone, {}, value->ValueViewInfo(), false);
    return r;
}

TcxButtonState TcxFilterControlViewInfo::RowButtonState(TcxCustomRowViewInfo* row)
{
    return PartButtonState(control_, row, fhtButton);
}

void TcxFilterControlViewInfo::CalcAddButtonState()
{
    if (!enabled_)
        AddConditionButtonState = cxbsDisabled;
    else if (control_->FocusedPart() == fhtAddCondition)
        AddConditionButtonState = cxbsDefault;
    else if (control_->HasHotTrack() && control_->HotTrackInfo().HitTest == fhtAddCondition)
        AddConditionButtonState = cxbsHot;
    else
        AddConditionButtonState = cxbsNormal;
}

void TcxFilterControlViewInfo::CalcFocusRect()
{
    FocusRect = {};
    if (!control_->HasItems()) {
        TRect client = control_->GetClientBounds();
        FocusRect = {client.Left + 2, client.Top + 2, client.Right - 2, client.Bottom - 2};
        return;
    }
    TcxCustomRowViewInfo* row = control_->FocusedRow();
    auto* group = dynamic_cast<TcxGroupViewInfo*>(row);
    auto* condition = dynamic_cast<TcxConditionViewInfo*>(row);
    TRect r;
    switch (control_->FocusedPart()) {
    case fhtBoolOperator:
        if (group)
            r = group->BoolOperatorRect;
        break;
    case fhtItem:
        if (condition)
            r = condition->ItemRect;
        break;
    case fhtOperator:
        if (condition)
            r = condition->OperatorRect;
        break;
    case fhtValue:
        if (condition && control_->FocusedValueIndex() >= 0 &&
            control_->FocusedValueIndex() < condition->Values()->Count())
            r = condition->Values()->Items(control_->FocusedValueIndex())->ValueRect;
        break;
    default:
        break;
    }
    if (!cxRectIsEmpty(r))
        FocusRect = {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
}

void TcxFilterControlViewInfo::GetHitTestInfo(TShiftState shift, const TPoint& p, TcxFilterControlHitTestInfo& info)
{
    info = {};
    info.Mouse = p;
    info.Shift = shift;
    info.Row = control_->FocusedRow() ? control_->FocusedRow() : control_->Root();
    info.ValueIndex = -1;
    if (!cxRectPtIn(control_->GetClientBounds(), p))
        return;
    if (cxRectPtIn(AddConditionRect, p)) {
        info.HitTest = fhtAddCondition;
        return;
    }
    for (int i = std::max(control_->TopVisibleRow(), 0); i < control_->RowCount(); ++i) {
        TcxCustomRowViewInfo* row = control_->Rows(i);
        if (cxRectPtIn(row->RowRect, p)) {
            info.Row = row;
            row->GetHitTestInfo(p, info);
            return;
        }
    }
}

void TcxFilterControlViewInfo::Update()
{
    TcxButtonState old = AddConditionButtonState;
    CalcAddButtonState();
    CalcFocusRect();
    if (old != AddConditionButtonState)
        control_->InvalidateRect(AddConditionRect, false);
}

void TcxFilterControlViewInfo::InvalidateRow(TcxCustomRowViewInfo* row)
{
    row->Calc(row->RowRect);
    control_->InvalidateRect(row->RowRect, false);
}

void TcxFilterControlViewInfo::Paint(TcxCanvas* target)
{
    TcxCanvas* canvas = Canvas();
    TRect client = control_->GetClientBounds();
    TColor content = painter_->GetContentColor();
    canvas->FillRect(client, content);
    TRect bounds{0, 0, bitmap_->GetWidth(), bitmap_->GetHeight()};
    for (int i = std::max(control_->TopVisibleRow(), 0); i < control_->RowCount(); ++i) {
        TcxCustomRowViewInfo* row = control_->Rows(i);
        if (cxRectIntersect(row->RowRect, bounds))
            painter_->DrawRow(row);
        if (row->RowRect.Top > client.Bottom)
            break;
    }
    canvas->SetFont(control_->Font());
    painter_->LookAndFeelPainter()->DrawButton(canvas, AddConditionRect, addConditionCaption_,
                                               AddConditionButtonState, true, content);
    bool focused = ControlOrEditorFocused(control_) ||
                   (control_->ComboBox() && control_->ComboBox()->Focused());
    if (!cxRectIsEmpty(FocusRect) && focused)
        canvas->DrawFocusRect(FocusRect);
    painter_->DrawBorder();
    if (target)
        target->Draw(0, 0, bitmap_.get());
}

// --- painter --------------------------------------------------------------------------------------------------
TcxFilterControlPainter::TcxFilterControlPainter(TcxCustomFilterControl* control) : control_(control) {}

TcxCanvas* TcxFilterControlPainter::Canvas() const { return control_->ViewInfo()->Canvas(); }

TcxCustomLookAndFeelPainterClass TcxFilterControlPainter::LookAndFeelPainter() const
{
    return control_->LookAndFeel()->GetPainter();
}

TColor TcxFilterControlPainter::GetContentColor()
{
    if (TcxCustomLookAndFeelPainterClass skin = control_->LookAndFeel()->SkinPainter())
        if (skin->DefaultContentColor() != clDefault)
            return skin->DefaultContentColor();
    return control_->Color();
}

void TcxFilterControlPainter::DrawBorder()
{
    LookAndFeelPainter()->DrawBorder(Canvas(), TRect{0, 0, control_->Width(), control_->Height()});
}

namespace {
// The level lines' 8 x 8 checkerboard: a pixel is set when x and y are both even or both odd
// (set pixels take the background colour).
const gdi::Brush& LevelLineBrush()
{
    static const gdi::Brush brush = [] {
        auto bits = std::make_shared<gdi::Surface>(8, 8, gdi::PixelFormat::Mono1);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                bits->SetPixel(x, y, ((x + y) & 1) ? 0u : 0x00FFFFFFu);
        return gdi::Brush::Pattern(bits);
    }();
    return brush;
}
} // namespace

void TcxFilterControlPainter::DrawDotLine(const TRect& r)
{
    HDC dc = Canvas()->GetHandle();
    if (!dc)
        return;
    const COLORREF background = gdi::SetBkColor(*dc, ColorToRef(cl3DDkShadow));
    const COLORREF text = gdi::SetTextColor(*dc, ColorToRef(GetContentColor()));
    gdi::FillRect(*dc, r, LevelLineBrush());
    gdi::SetBkColor(*dc, background);
    gdi::SetTextColor(*dc, text);
}

void TcxFilterControlPainter::TextDraw(int x, int y, const std::string& text)
{
    TCanvas* canvas = Canvas()->WrappedCanvas();
    if (control_->ViewInfo()->Enabled()) {
        canvas->TextOut(x, y, text);
        return;
    }
    canvas->Brush()->SetStyle(bsClear);
    TColor color = canvas->Font()->GetColor();
    canvas->Font()->SetColor(clBtnHighlight);
    canvas->TextOut(x + 1, y + 1, text);
    canvas->Font()->SetColor(clBtnShadow);
    canvas->TextOut(x, y, text);
    canvas->Font()->SetColor(color);
}

void TcxFilterControlPainter::DrawRow(TcxCustomRowViewInfo* row)
{
    TcxCanvas* canvas = Canvas();
    canvas->FillRect(row->RowRect, GetContentColor());
    canvas->SetFont(control_->Font());
    LookAndFeelPainter()->DrawButton(canvas, row->ButtonRect, row->ButtonText(), row->ButtonState);
    if (auto* group = dynamic_cast<TcxGroupViewInfo*>(row))
        DrawGroup(group);
    else if (auto* condition = dynamic_cast<TcxConditionViewInfo*>(row))
        DrawCondition(condition);
    if (control_->ShowLevelLines() && row->Level() > 0)
        DrawLevelLines(row);
}

void TcxFilterControlPainter::DrawLevelLines(TcxCustomRowViewInfo* row)
{
    const int half = control_->ViewInfo()->RowHeight() / 2;
    const int halfButton = row->ButtonRect.Width() / 2;
    const TRect& r = row->RowRect;
    int x = row->Parent()->ButtonRect.Left + halfButton;
    DrawDotLine({x, r.Top, x + 1, r.Top + half});
    if (!row->IsLast())
        DrawDotLine({x, r.Top + half, x + 1, r.Top + half + half + 1});
    DrawDotLine({x, r.Top + half, row->ButtonRect.Left - 3, r.Top + half + 1});
    for (TcxCustomRowViewInfo* ancestor = row->Parent(); ancestor && ancestor->Parent(); ancestor = ancestor->Parent())
        if (!ancestor->IsLast()) {
            int ax = ancestor->Parent()->ButtonRect.Left + halfButton;
            DrawDotLine({ax, r.Top, ax + 1, r.Bottom});
        }
}

void TcxFilterControlPainter::DrawGroup(TcxGroupViewInfo* row)
{
    TCanvas* canvas = Canvas()->WrappedCanvas();
    canvas->Brush()->SetStyle(bsClear);
    TextDraw(row->CaptionRect.Left, row->CaptionRect.Top + 1, row->Caption());
    Canvas()->SetFont(control_->FontBoolOperator());
    TextDraw(row->BoolOperatorRect.Left + 1, row->BoolOperatorRect.Top + 1, row->BoolOperatorText());
}

void TcxFilterControlPainter::DrawCondition(TcxConditionViewInfo* row)
{
    Canvas()->WrappedCanvas()->Brush()->SetStyle(bsClear);
    Canvas()->SetFont(control_->FontItem());
    TextDraw(row->ItemRect.Left + 1, row->ItemRect.Top + 1, row->ItemText());
    Canvas()->SetFont(control_->FontCondition());
    TextDraw(row->OperatorRect.Left + 1, row->OperatorRect.Top + 1, row->OperatorText());
    DrawValues(row);
}

void TcxFilterControlPainter::DrawValues(TcxConditionViewInfo* row)
{
    if (!row->HasDisplayValues())
        return;
    TcxCanvas* canvas = Canvas();
    TcxValuesViewInfo* values = row->Values();
    const TcxFilterControlOperator op = row->Operator();
    for (int i = 0; i < values->Count(); ++i)
        if (TcxCustomEditViewInfo* viewInfo = values->Items(i)->ValueViewInfo())
            viewInfo->Paint(canvas);
    if (values->Count() == 0)
        return;
    if (IsBetween(op)) {
        canvas->SetFont(control_->FontCondition());
        canvas->WrappedCanvas()->Brush()->SetStyle(bsClear);
        for (int i = 0; i + 1 < values->Count(); ++i) {
            const TRect& r = values->Items(i)->ValueRect;
            TextDraw(r.Right + 4, r.Top + 1, values->Separator());
        }
    } else if (IsList(op)) {
        canvas->SetFont(control_->FontValue());
        canvas->WrappedCanvas()->Brush()->SetStyle(bsClear);
        for (int i = 0; i + 1 < values->Count(); ++i) {
            const TRect& r = values->Items(i)->ValueRect;
            TextDraw(r.Right + 2, r.Top + 1, values->Separator());
        }
        TextDraw(row->OperatorRect.Right + 4, row->OperatorRect.Top, "(");
        const TRect& last = values->Items(values->Count() - 1)->ValueRect;
        TextDraw(last.Right + 3, last.Top + 1, ")");
        LookAndFeelPainter()->DrawButton(canvas, values->AddButtonRect, "+", values->AddButtonState);
    }
}

// --- the control's painting ----------------------------------------------------------------------------------
void TcxCustomFilterControl::Paint() { viewInfo_->Paint(Canvas()); }

int TcxCustomFilterControl::GetBorderSize() const { return LookAndFeel()->GetPainter()->BorderSize(); }

} // namespace cx
