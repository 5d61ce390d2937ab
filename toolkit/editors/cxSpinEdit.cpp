// The spin editor's settings, its buttons' layout and painting, the filter helper and start-up.
// The control lives in cxSpinEditControl.cpp.
#include "toolkit/editors/cxSpinEdit.h"

#include "platform/rtl/Filer.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxDWMApi.h"
#include "toolkit/core/dxThemeManager.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditUtils.h"

namespace cx {

// ---- assigned values and the buttons' settings -----------------------------------------------------

void TcxSpinEditPropertiesValues::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxSpinEditPropertiesValues*>(source);
    if (!s)
        return TcxTextEditPropertiesValues::Assign(source);
    BeginUpdate();
    TcxTextEditPropertiesValues::Assign(source);
    SetValueType(s->valueType_);
    EndUpdate();
}

void TcxSpinEditPropertiesValues::RestoreDefaults()
{
    BeginUpdate();
    TcxTextEditPropertiesValues::RestoreDefaults();
    SetValueType(false);
    EndUpdate();
}

void TcxSpinEditPropertiesValues::SetValueType(bool value) { SetAssigned(valueType_, value); }

TPersistent* TcxSpinEditButtons::GetOwner() { return owner_; }

template <class T>
void TcxSpinEditButtons::Set(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    owner_->Changed();
}

void TcxSpinEditButtons::SetPosition(TcxSpinEditButtonsPosition value) { Set(position_, value); }
void TcxSpinEditButtons::SetShowFastButtons(bool value) { Set(showFastButtons_, value); }
void TcxSpinEditButtons::SetVisible(bool value) { Set(visible_, value); }

void TcxSpinEditButtons::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxSpinEditButtons*>(source);
    if (!s)
        return TPersistent::Assign(source);
    owner_->BeginUpdate();
    SetPosition(s->position_);
    SetShowFastButtons(s->showFastButtons_);
    SetVisible(s->visible_);
    owner_->EndUpdate();
}

// ---- properties -------------------------------------------------------------------------------

TcxCustomSpinEditProperties::TcxCustomSpinEditProperties(TPersistent* owner) : TcxCustomMaskEditProperties(owner)
{
    BeginUpdate();
    Buttons()->Add();
    Buttons()->Add();
    spinButtons_ = new TcxSpinEditButtons(this);
    EndUpdate(false);
}

TcxCustomSpinEditProperties::~TcxCustomSpinEditProperties() { delete spinButtons_; }

void TcxCustomSpinEditProperties::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCustomSpinEditProperties*>(source);
    if (!s)
        return TcxCustomMaskEditProperties::Assign(source);
    BeginUpdate();
    try {
        SetIDefaultValuesProvider(s->GetIDefaultValuesProvider());
        AssignedValues()->SetValueType(false);
        if (s->AssignedValues()->ValueType())
            SetValueType(s->valueType_);
        TcxCustomMaskEditProperties::Assign(source);
        SetCanEdit(s->canEdit_);
        SetCircular(s->circular_);
        SetExceptionOnInvalidInput(s->exceptionOnInvalidInput_);
        SetIncrement(s->increment_);
        SetLargeIncrement(s->largeIncrement_);
        spinButtons_->Assign(s->spinButtons_);
        SetUseCtrlIncrement(s->useCtrlIncrement_);
        OnGetValue = s->OnGetValue;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomSpinEditProperties::SetCanEdit(bool value) { SetValue(canEdit_, value); }
void TcxCustomSpinEditProperties::SetCircular(bool value) { SetValue(circular_, value); }
void TcxCustomSpinEditProperties::SetExceptionOnInvalidInput(bool value) { SetValue(exceptionOnInvalidInput_, value); }
void TcxCustomSpinEditProperties::SetIncrement(double value) { SetValue(increment_, value); }
void TcxCustomSpinEditProperties::SetLargeIncrement(double value) { SetValue(largeIncrement_, value); }
void TcxCustomSpinEditProperties::SetUseCtrlIncrement(bool value) { SetValue(useCtrlIncrement_, value); }

void TcxCustomSpinEditProperties::SetValueType(TcxSpinEditValueType value)
{
    const bool changed = !AssignedValues()->ValueType() || valueType_ != value;
    valueType_ = value;
    if (AssignedValues()->ValueType()) {
        if (changed)
            Changed();
    } else {
        AssignedValues()->SetValueType(true);
    }
}

TcxSpinEditValueType TcxCustomSpinEditProperties::GetValueType() const
{
    auto* self = const_cast<TcxCustomSpinEditProperties*>(this);
    IcxEditDefaultValuesProvider* provider = GetIDefaultValuesProvider();
    return cxSpinResolveValueType(self->AssignedValues()->ValueType(), valueType_, provider != nullptr,
                                  provider && provider->DefaultIsFloatValue());
}

TcxSpinEditValueRules TcxCustomSpinEditProperties::Rules() const
{
    auto* self = const_cast<TcxCustomSpinEditProperties*>(this);
    TcxSpinEditValueRules r;
    r.ValueType = GetValueType();
    r.MinValue = GetMinValue();
    r.MaxValue = GetMaxValue();
    r.MinValueAssigned = self->AssignedValues()->MinValue();
    r.MaxValueAssigned = self->AssignedValues()->MaxValue();
    r.Circular = circular_;
    r.ExtendValueUpToBound = ExtendValueUpToBound();
    r.Increment = increment_;
    r.LargeIncrement = largeIncrement_;
    return r;
}

TcxSpinBoundsCheckingKind TcxCustomSpinEditProperties::GetBoundsCheckingKind() const
{
    if (circular_)
        return bckCircular;
    return ExtendValueUpToBound() ? bckExtendToBound : bckDoNotExceed;
}

void TcxCustomSpinEditProperties::SyncButtons()
{
    int wanted = 0;
    if (spinButtons_->Visible())
        wanted = spinButtons_->ShowFastButtons() ? 4 : 2;
    if (Buttons()->Count() == wanted)
        return;
    buttonsSyncing_ = true;
    BeginUpdate();
    while (Buttons()->Count() < wanted)
        Buttons()->Add();
    while (Buttons()->Count() > wanted)
        Buttons()->Delete(0);
    EndUpdate(false);
    buttonsSyncing_ = false;
}

void TcxCustomSpinEditProperties::Changed()
{
    // The button collection follows SpinButtons before anyone hears of the change.
    if (spinButtons_ && !buttonsSyncing_)
        SyncButtons();
    TcxCustomMaskEditProperties::Changed();
}

bool TcxCustomSpinEditProperties::IsEditValueValid(Variant& editValue, bool)
{
    return Rules().IsEditValueValid(editValue);
}

bool TcxCustomSpinEditProperties::IsDisplayValueValid(Variant& displayValue, bool editFocused)
{
    if (!TcxCustomMaskEditProperties::IsDisplayValueValid(displayValue, editFocused))
        return false;
    const std::string text = Trim(VarToStr(displayValue));
    if (text.empty())
        return true;
    const TcxSpinEditValueRules rules = Rules();
    Variant v;
    if (!rules.TryTextToValue(text, v))
        return false;
    try {
        if (v.ToDouble() < rules.InternalMinValue().ToDouble() || v.ToDouble() > rules.InternalMaxValue().ToDouble())
            displayValue = Variant(VarToStr(v));
    } catch (const Exception&) {
        return false;
    }
    return true;
}

void TcxCustomSpinEditProperties::ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                                                       IcxEditValidationTarget* edit)
{
    const TcxSpinEditValueRules rules = Rules();
    Variant value;
    auto* spin = dynamic_cast<TcxCustomSpinEdit*>(edit);
    if (spin && !spin->TextTyped()) {
        value = spin->InternalValue();
    } else if (spin) {
        error = !spin->InternalPrepareEditValue(displayValue, false, value, errorText);
    } else {
        // Without a control the text is all there is.
        error = !rules.PrepareTextValue(VarToStr(displayValue), rules.ZeroInBounds(), false,
                                        exceptionOnInvalidInput_, false, nullptr, value, errorText);
    }
    if (!error) {
        error = rules.ValidateValue(value, exceptionOnInvalidInput_, errorText);
        if (!error)
            displayValue = Variant(VarToStr(value));
    }
    TcxCustomEditProperties::ValidateDisplayValue(displayValue, errorText, error, edit);
}

TcxDataEditValueSource TcxCustomSpinEditProperties::GetEditValueSource(bool editFocused)
{
    return editFocused || AssignedValues()->DisplayFormat() ? evsValue : evsText;
}

std::string TcxCustomSpinEditProperties::DefaultFocusedDisplayValue()
{
    Variant shown;
    PrepareDisplayValue(ZeroInBounds(), shown, true);
    return VarToStr(shown);
}

TcxCustomEditPropertiesValuesClass TcxCustomSpinEditProperties::GetAssignedValuesClass() const
{
    return TcxCustomEditPropertiesValuesClass::Of<TcxSpinEditPropertiesValues>();
}

TcxCustomEditViewDataClass TcxCustomSpinEditProperties::GetViewDataClass() const
{
    return TcxCustomEditViewDataClass::Of<TcxSpinEditViewData>();
}

TcxCustomEditViewInfoClass TcxCustomSpinEditProperties::GetViewInfoClass() const
{
    return TcxCustomEditViewInfoClass::Of<TcxSpinEditViewInfo>();
}

const TClassMeta* TcxCustomSpinEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxSpinEdit>().Meta();
}

void TcxCustomSpinEditProperties::DefineProperties(TFiler* filer)
{
    TcxCustomMaskEditProperties::DefineProperties(filer);
    // A zero increment is the one value the float property is not written for.
    filer->DefineProperty(
        "ZeroIncrement", [this](TReader* r) { r->ReadBoolean(); SetIncrement(0); },
        [](TWriter* w) { w->WriteBoolean(true); }, increment_ == 0);
    filer->DefineProperty(
        "ZeroLargeIncrement", [this](TReader* r) { r->ReadBoolean(); SetLargeIncrement(0); },
        [](TWriter* w) { w->WriteBoolean(true); }, largeIncrement_ == 0);
}

// ---- button layout ------------------------------------------------------------------------------

namespace {
bool IsSpinThemed(bool nativeStyle) { return nativeStyle && AreVisualStylesMustBeUsed(true, totSpin); }
} // namespace

TcxSpinEditPressedState TcxSpinEditViewData::PressedState() const
{
    auto* spin = dynamic_cast<TcxCustomSpinEdit*>(Edit);
    return spin ? spin->PressedState() : epsNone;
}

void TcxSpinEditViewData::Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button,
                                    TShiftState shift, TcxCustomEditViewInfo* viewInfo, bool isMouseEvent)
{
    if (auto* v = dynamic_cast<TcxSpinEditViewInfo*>(viewInfo)) {
        v->ButtonsPosition = SpinProperties()->SpinButtons()->Position();
        v->DelimiterLine[0] = v->DelimiterLine[1] = TPoint{0, 0};
    }
    TcxCustomTextEditViewData::Calculate(canvas, bounds, p, button, shift, viewInfo, isMouseEvent);
}

void TcxSpinEditViewData::CalculateButtonViewInfo(TcxCanvas* canvas, TcxCustomEditViewInfo* v, int visibleIndex,
                                                  TRect& r)
{
    TcxCustomTextEditViewData::CalculateButtonViewInfo(canvas, v, visibleIndex, r);
    if (SpinProperties()->SpinButtons()->Position() == sbpHorzLeftRight && (visibleIndex == 0 || visibleIndex == 2))
        v->ButtonsInfo[std::size_t(visibleIndex)]->Data.LeftAlignment = true;
}

void TcxSpinEditViewData::CalculateButtonBounds(TcxCanvas* canvas, TcxCustomEditViewInfo* v, int visibleIndex, TRect& r)
{
    const int count = v->ButtonCount();
    if (count != 2 && count != 4) {
        TcxCustomTextEditViewData::CalculateButtonBounds(canvas, v, visibleIndex, r);
        return;
    }
    // All buttons are placed at once, on the first call (the last button).
    if (visibleIndex != count - 1)
        return;
    TcxSpinEditButtonsPosition position = SpinProperties()->SpinButtons()->Position();
    const bool fast = count == 4;
    const int dw = CalculateEditDefaultButtonWidth(canvas, v->ButtonsInfo[0]);
    const int arrow = GetArrowSize(TSize{dw + 2, r.Height() / 2 + 2}, adUp).cy;
    if (auto* sv = dynamic_cast<TcxSpinEditViewInfo*>(v))
        sv->ArrowSize = arrow;
    const bool native = IsSpinThemed(v->NativeStyle);
    int w;
    if (native) {
        canvas->SetFont(GetStyle()->GetVisibleFont());
        const TRect client = GetClientExtent(canvas, v), buttons = GetButtonsExtent(canvas);
        const int h = GetEditContentSizeCorrection().cy + canvas->TextHeight("Zg") + client.Top + client.Bottom -
                      buttons.Top - buttons.Bottom - 1;
        w = h / 2 + h % 2;
    } else {
        w = 4 * arrow - 3;
    }
    TcxSpinButtonMetrics m;
    m.DefaultWidth = dw;
    m.Width = w;
    m.FastWidth = MulDiv(w, 3, 2);
    m.BottomCut = native && IsCompositionEnabled() && !v->IsCustomDrawButton(0) ? 1 : 0;
    m.Gap = native && !v->IsCustomDrawButton(0) ? 1 : 0;
    TRect placed[4];
    LayoutSpinButtons(r, fast, position, m, placed);
    for (int i = 0; i < count; ++i) {
        TcxEditButtonViewInfo* b = v->ButtonsInfo[std::size_t(i)];
        b->Bounds = b->VisibleBounds = placed[i];
        b->Width = placed[i].Width();
    }
}

void LayoutSpinButtons(TRect& r, bool fast, TcxSpinEditButtonsPosition position, const TcxSpinButtonMetrics& m,
                       TRect (&buttons)[4])
{
    const int s = m.BottomCut, g = m.Gap, w = m.Width, fw = m.FastWidth;
    for (TRect& b : buttons)
        b = TRect{0, 0, 0, 0};
    if (fast) {
        buttons[3] = {r.Right - fw, r.Top, r.Right, r.Bottom - s};
        r.Right -= fw;
    }
    if (position == sbpVert) {
        buttons[1] = {r.Right - m.DefaultWidth, r.Top, r.Right, r.Top + (r.Height() - g) / 2};
        buttons[0] = {r.Right - m.DefaultWidth, buttons[1].Bottom + g, r.Right, r.Bottom};
        r.Right -= m.DefaultWidth;
    } else {
        buttons[1] = {r.Right - w, r.Top, r.Right, r.Bottom - s};
        r.Right -= w + g;
    }
    if (position == sbpHorzLeftRight) {
        if (fast) {
            buttons[2] = {r.Left, r.Top, r.Left + fw, r.Bottom - s};
            r.Left += fw;
        }
        buttons[0] = {r.Left, r.Top, r.Left + w, r.Bottom - s};
        r.Left += w;
        return;
    }
    if (position == sbpHorzRight) {
        buttons[0] = {r.Right - w, r.Top, r.Right, r.Bottom};
        r.Right -= w;
    }
    if (fast) {
        buttons[2] = {r.Right - fw, r.Top, r.Right, r.Bottom - s};
        r.Right -= fw;
    }
}

void TcxSpinEditViewData::CalculateButtonNativeInfo(TcxEditButtonViewInfo* button)
{
    TcxEditButtonViewInfoData& d = button->Data;
    if (!IsSpinThemed(d.NativeStyle)) {
        d.NativePart = 0;
        d.NativeState = 0;
        d.BackgroundPartiallyTransparent = false;
        return;
    }
    const bool vert = SpinProperties()->SpinButtons()->Position() == sbpVert;
    switch (button->Index) {
    case 0: d.NativePart = vert ? 2 : 4; break;
    case 1: d.NativePart = vert ? 1 : 3; break;
    case 2: d.NativePart = 4; break;
    default: d.NativePart = 3; break;
    }
    static constexpr int nativeStates[] = {4, 1, 3, 2};
    d.NativeState = nativeStates[d.State];
    d.BackgroundPartiallyTransparent = false;
}

void TcxSpinEditViewData::CheckButtonsOnly(TcxCustomEditViewInfo* v, int previousWidth, int remainingWidth)
{
    TcxCustomTextEditViewData::CheckButtonsOnly(v, previousWidth, remainingWidth);
    const TcxSpinEditButtonsPosition position = SpinProperties()->SpinButtons()->Position();
    if (v->ButtonCount() >= 2 && position == sbpVert) {
        v->ButtonsInfo[0]->Bounds.Left = v->ButtonsInfo[1]->Bounds.Left;
        v->ButtonsInfo[0]->Bounds.Right = v->ButtonsInfo[1]->Bounds.Right;
    }
    for (int i = 0; i < v->ButtonCount(); ++i) {
        TcxEditButtonViewInfo* b = v->ButtonsInfo[std::size_t(i)];
        if (!cxRectIntersect(b->VisibleBounds, b->Bounds, v->BorderRect))
            b->VisibleBounds = TRect{0, 0, 0, 0};
    }
    auto* sv = dynamic_cast<TcxSpinEditViewInfo*>(v);
    if (!sv || v->ButtonCount() < 2 || !IsSpinThemed(v->NativeStyle))
        return;
    const TRect b0 = v->ButtonsInfo[0]->Bounds, b1 = v->ButtonsInfo[1]->Bounds;
    if (position == sbpHorzRight) {
        sv->DelimiterLine[0] = {b0.Right, b0.Top};
        sv->DelimiterLine[1] = {b0.Right, b0.Bottom - 1};
    } else if (position == sbpVert) {
        sv->DelimiterLine[0] = {b1.Left, b1.Bottom};
        sv->DelimiterLine[1] = {b1.Right - 1, b1.Bottom};
    }
}

bool TcxSpinEditViewData::CanPressButton(TcxCustomEditViewInfo*, int) { return PressedState() == epsNone; }

bool TcxSpinEditViewData::IsButtonPressed(TcxCustomEditViewInfo*, int visibleIndex)
{
    return int(PressedState()) == visibleIndex + 1;
}

bool TcxSpinEditViewData::IgnoreButtonWhileStretching(int visibleIndex)
{
    return visibleIndex == 0 && SpinProperties()->SpinButtons()->Position() == sbpVert;
}

// ---- painting -----------------------------------------------------------------------------------

void TcxSpinEditViewInfo::Assign(TObject* source)
{
    TcxCustomTextEditViewInfo::Assign(source);
    if (auto* s = dynamic_cast<TcxSpinEditViewInfo*>(source)) {
        ArrowSize = s->ArrowSize;
        ButtonsPosition = s->ButtonsPosition;
        DelimiterLine[0] = s->DelimiterLine[0];
        DelimiterLine[1] = s->DelimiterLine[1];
    }
}

void TcxSpinEditViewInfo::InternalPaint(TcxCanvas* canvas)
{
    TcxCustomTextEditViewInfo::InternalPaint(canvas);
    if (ButtonCount() == 0 || ButtonsInfo[0]->Data.NativePart == 0 || ButtonsPosition == sbpHorzLeftRight ||
        IsCustomDrawButton(0) || DelimiterLine[0] == DelimiterLine[1])
        return;
    canvas->SaveClipRegion();
    canvas->IntersectClipRect(BorderRect);
    canvas->GetPen()->SetColor(BackgroundColor);
    canvas->MoveTo(DelimiterLine[0].X, DelimiterLine[0].Y);
    canvas->LineTo(DelimiterLine[1].X + 1, DelimiterLine[1].Y + 1);
    canvas->RestoreClipRegion();
}

TRect TcxSpinEditViewInfo::GetPartRect(int part) const
{
    if (part == -2)
        return TRect{0, 0, 0, 0};
    return BorderRect;
}

void TcxSpinEditViewInfo::DrawButtonContent(TcxCanvas* canvas, int visibleIndex, const TRect& contentRect,
                                            TColor textColor, TColor backgroundColor, bool pressedOffset)
{
    TcxEditButtonViewInfo* b = ButtonsInfo[std::size_t(visibleIndex)];
    if (b->Data.NativePart != 0 && !IsCustomDrawButton(visibleIndex))
        return;
    TcxArrowDirection direction;
    if (ButtonsPosition == sbpVert && visibleIndex < 2)
        direction = visibleIndex == 0 ? adDown : adUp;
    else
        direction = visibleIndex % 2 == 0 ? adLeft : adRight;
    const bool isDouble = visibleIndex >= 2;
    if (b->Data.State == ebsDisabled) {
        DrawArrow(canvas, ArrowSize, cxRectOffset(contentRect, TPoint{1, 1}), direction, isDouble, false,
                  clBtnHighlight);
        DrawArrow(canvas, ArrowSize, contentRect, direction, isDouble, false, clBtnShadow);
        return;
    }
    DrawArrow(canvas, ArrowSize, contentRect, direction, isDouble, pressedOffset, textColor);
}

namespace {
// Which of the group's buttons this is (visible index) and how many there are.
int SpinButtonIndex(const TcxCustomEditViewInfo* v, const TcxEditButtonViewInfo* button)
{
    for (int i = 0; i < v->ButtonCount(); ++i)
        if (v->ButtonsInfo[std::size_t(i)] == button)
            return i;
    return 0;
}
} // namespace

void TcxSpinEditViewInfo::DrawHotFlatButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button,
                                                  TRect& backgroundRect, TRect& contentRect, TColor& textColor,
                                                  TColor& backgroundColor)
{
    const TcxEditButtonState state = button->Data.State;
    if (!button->Data.Transparent) {
        static constexpr TColor byState[] = {clBtnFace, clBtnFace, clBtnText, clBtnShadow};
        backgroundColor = byState[state];
    }
    textColor = clBtnText;
    if (state == ebsPressed || state == ebsSelected)
        textColor = button->Data.Transparent && state == ebsSelected ? clBtnShadow : clBtnHighlight;
    const int index = SpinButtonIndex(this, button);
    const bool four = ButtonCount() == 4;
    int kind;
    if (index >= 2)
        kind = index == 3 ? 2 : (ButtonsPosition == sbpHorzLeftRight ? 0 : 3);
    else {
        // Rows: sbpHorzLeftRight, sbpHorzRight, sbpVert; columns: button 0, button 1.
        static constexpr int two[3][2] = {{1, 3}, {3, 2}, {7, 6}};
        static constexpr int withFast[3][2] = {{1, 3}, {2, 2}, {5, 4}};
        kind = (four ? withFast : two)[ButtonsPosition][index];
    }
    TRect& r = backgroundRect;
    auto sides = [&](TcxBorders shadow, TcxBorders background) {
        cx::DrawButtonBorder(canvas, r, shadow, clBtnShadow);
        cx::DrawButtonBorder(canvas, r, background, backgroundColor);
    };
    const TcxBorders left = cxBorder(bLeft), top = cxBorder(bTop), right = cxBorder(bRight), bottom = cxBorder(bBottom);
    switch (kind) {
    case 0: sides(left | top | bottom, right); break;
    case 2:
    case 4: sides(top | right | bottom, left); break;
    case 5: sides(right | bottom, left | top); break;
    case 7: sides(left | right | bottom, top); break;
    default: sides(cxBordersAll, 0); break;
    }
    contentRect = r;
}

void TcxSpinEditViewInfo::DrawUltraFlatButtonBorder(TcxCanvas* canvas, TcxEditButtonViewInfo* button,
                                                    bool isOffice11, TRect& backgroundRect, TRect& contentRect,
                                                    TColor& textColor, TColor& backgroundColor)
{
    const TcxEditButtonState state = button->Data.State;
    const bool framed = state == ebsDisabled || state == ebsNormal || (!IsInplace && EditBorderStyle == ebsNone) ||
                        (IsInplace && !PaintOptions.Contains(epoHasExternalBorder));
    if (framed) {
        // A lone frame, as every editor button draws it.
        TcxCustomTextEditViewInfo::DrawUltraFlatButtonBorder(canvas, button, isOffice11, backgroundRect, contentRect,
                                                             textColor, backgroundColor);
        return;
    }
    if (!button->Data.Transparent)
        backgroundColor = GetEditButtonHighlightColor(state == ebsPressed, isOffice11);
    const int index = SpinButtonIndex(this, button);
    const bool four = ButtonCount() == 4, vert = ButtonsPosition == sbpVert;
    int kind;
    switch (index) {
    case 0:
        kind = vert ? (four ? 4 : 6) : (!four && ButtonsPosition == sbpHorzLeftRight ? 0 : 1);
        break;
    case 1: kind = vert ? (four ? 3 : 5) : (four ? 1 : 2); break;
    case 2: kind = ButtonsPosition == sbpHorzLeftRight ? 0 : 1; break;
    default: kind = 2; break;
    }
    const TColor highlight = GetEditBorderHighlightColor(isOffice11);
    TRect& r = backgroundRect;
    const bool atLeftEdge = button->Bounds.Left == BorderRect.Left;
    if (kind == 1 && atLeftEdge)
        kind = 0;
    const TcxBorders left = cxBorder(bLeft), top = cxBorder(bTop), right = cxBorder(bRight), bottom = cxBorder(bBottom);
    TcxBorders drawn = 0;
    switch (kind) {
    case 0: drawn = right; break;
    case 1: drawn = left | right; break;
    case 2: drawn = left; break;
    case 3: drawn = left | right | bottom; break;
    case 4: drawn = left | top | right; break;
    case 5: drawn = bottom | (atLeftEdge ? 0 : left); break;
    default: drawn = top | (atLeftEdge ? 0 : left); break;
    }
    cx::DrawButtonBorder(canvas, r, drawn, highlight);
    contentRect = r;
}

// ---- filter helper and start-up -----------------------------------------------------------------

TcxCustomEditClass TcxFilterSpinEditHelper::GetFilterEditClass() const { return TcxCustomEditClass::Of<TcxSpinEdit>(); }

TcxCustomEditPropertiesClass TcxFilterSpinEditHelper::GetFilterEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxSpinEditProperties>();
}

TcxFilterControlOperators TcxFilterSpinEditHelper::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                               TcxValueTypeClass,
                                                                               bool extendedSet) const
{
    return GetNumericFilterOperators(extendedSet);
}

void TcxFilterSpinEditHelper::InitializeProperties(TcxCustomEditProperties* properties,
                                                   TcxCustomEditProperties* editProperties, bool hasButtons) const
{
    TcxFilterMaskEditHelper::InitializeProperties(properties, editProperties, hasButtons);
    if (auto* spin = dynamic_cast<TcxCustomSpinEditProperties*>(properties))
        spin->SetCanEdit(true);
}

namespace cxSpinEditUnit {
namespace {
TcxEditKindUnit<TcxSpinEditProperties, TcxFilterSpinEditHelper, TcxSpinEdit> unit;
}

void Initialize() { unit.Initialize(&scxSEditRepositorySpinItem, [] { cxMaskEditUnit::Initialize(); }); }
void Finalize() { unit.Finalize([] { cxMaskEditUnit::Finalize(); }); }
} // namespace cxSpinEditUnit

} // namespace cx
