// The spin editor control: the internal value beside the text, the spin step, the spin keys,
// typed characters, held buttons with their repeat timer and the wheel.
#include "toolkit/editors/cxSpinEdit.h"

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/SystemFacade.h"
#include "toolkit/data/cxVariants.h"

namespace cx {

namespace {
constexpr unsigned kFirstRepeatDelay = 400;   // ms until a held button repeats
constexpr unsigned kRepeatInterval = 100;     // ms between repeats after that

bool IsArrowOrPageKey(std::uint16_t key)
{
    return key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
}
} // namespace

TcxCustomSpinEdit::TcxCustomSpinEdit(TComponent* owner, bool isInplace)
    : TcxCustomSpinEdit(owner, isInplace, ClassesWith(TcxCustomEditPropertiesClass::Of<TcxCustomSpinEditProperties>()))
{
}

TcxCustomSpinEdit::TcxCustomSpinEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomMaskEdit(owner, isInplace, classes)
{
    InitializeSpin();
}

TcxCustomSpinEdit::~TcxCustomSpinEdit()
{
    if (ChangeEventsCatcher())
        BeforeDestruction();
}

void TcxCustomSpinEdit::BeforeDestruction()
{
    if (timer_) {
        timer_->Free();
        timer_ = nullptr;
    }
    TcxCustomMaskEdit::BeforeDestruction();
}

TcxSpinEdit::TcxSpinEdit(TComponent* owner, bool isInplace)
    : TcxCustomSpinEdit(owner, isInplace, ClassesWith(TcxCustomEditPropertiesClass::Of<TcxSpinEditProperties>()))
{
}

TcxContainerViewInfoClass TcxCustomSpinEdit::GetViewInfoClass() const
{
    return TcxContainerViewInfoClass::Of<TcxSpinEditViewInfo>();
}

void TcxCustomSpinEdit::InitializeSpin()
{
    // The base constructors made a text view info; the spin one replaces it.
    RecreateStylesAndViewInfo();
    if (TcxCustomEditViewInfo* vi = EditViewInfo())
        vi->Edit = this;
    InitContentParams();
    pressedState_ = epsNone;
    SetInternalEditValue(Variant(0));
    PropertiesChanged(Properties());
}

// ---- the value ----------------------------------------------------------------------------------

double TcxCustomSpinEdit::GetIncrement(TcxSpinEditButton button)
{
    const TcxSpinEditValueRules rules = ActiveProperties()->Rules();
    return TcxSpinEditValueRules::DoubleAsValueType(rules.ValueType, rules.GetIncrement(button));
}

Variant TcxCustomSpinEdit::GetValue()
{
    TcxCustomSpinEditProperties* p = ActiveProperties();
    Variant v;
    if (InternalFocused()) {
        if (typedText_)
            PrepareEditValue(GetDisplayValue(), v, true);
        else
            v = internalValue_;
        if (!VarIsNumeric(v))
            v = p->ZeroInBounds();
    } else {
        const Variant ev = EditValue();
        if (VarIsNumeric(ev))
            v = ev;
        else if (VarIsStr(ev) && !VarToStr(ev).empty() && p->TryTextToValue(VarToStr(ev), v))
            ;
        else
            v = p->ZeroInBounds();
    }
    return p->VarToCurrentValueType(v);
}

std::string TcxCustomSpinEdit::IncrementValueToStr(const Variant& value)
{
    Variant shown;
    ActiveProperties()->PrepareDisplayValue(value, shown, InternalFocused());
    return VarToStr(shown);
}

void TcxCustomSpinEdit::SetValue(const Variant& value)
{
    if (!VarIsNumeric(value))
        return;
    Variant v = value;
    if (ActiveProperties()->IsEditValueValid(v, InternalFocused()))
        SetInternalEditValue(v);
}

bool TcxCustomSpinEdit::NewStepValue(TcxSpinEditButton button, Variant& value)
{
    return ActiveProperties()->Rules().StepValue(GetValue(), button, value);
}

bool TcxCustomSpinEdit::Increment(TcxSpinEditButton button)
{
    bool result = false;
    LockChangeEvents(true);
    try {
        Variant value;
        if (DoEditing() && NewStepValue(button, value)) {
            TcxCustomSpinEditProperties* p = ActiveProperties();
            const std::string before = Text();
            const int selStart = SelStart(), selLength = SelLength();
            const std::string shown = IncrementValueToStr(value);
            internalValue_ = p->SetVariantType(value);
            {
                TcxUserChangeScope scope(this, true);
                SetInternalDisplayValue(Variant(shown));
            }
            result = Text() != before;
            SetModifiedAfterEnter(true);
            if (p->PreserveSelection())
                SetSelection(selStart, selLength);
            else
                SetSelection(int(Utf8ToUtf16(Text()).size()), 0);
            if (p->ImmediatePost() && CanPostEditValue() && ValidateEdit(true)) {
                InternalPostEditValue();
                SynchronizeDisplayValue();
            }
        }
    } catch (...) {
        LockChangeEvents(false);
        throw;
    }
    LockChangeEvents(false);
    return result;
}

bool TcxCustomSpinEdit::InternalPrepareEditValue(const Variant& displayValue, bool raiseException, Variant& editValue,
                                                 std::string& errorText)
{
    TcxCustomSpinEditProperties* p = ActiveProperties();
    IcxEditDefaultValuesProvider* provider = p->GetIDefaultValuesProvider();
    TcxSpinTextValueHook hook;
    if (IsOnGetValueEventAssigned())
        hook = [this](const std::string& text, Variant& value, std::string& error, bool& failed) {
            DoOnGetValue(text, value, error, failed);
        };
    return p->Rules().PrepareTextValue(Trim(VarToStr(displayValue)), internalValue_, raiseException,
                                       p->ExceptionOnInvalidInput(), provider && provider->DefaultRequired(), hook,
                                       editValue, errorText);
}

void TcxCustomSpinEdit::DoOnGetValue(const std::string& text, Variant& value, std::string& errorText, bool& error)
{
    if (Properties()->OnGetValue) {
        value = Variant();
        Properties()->OnGetValue(this, text, value, errorText, error);
    }
    if (RepositoryItem() && ActiveProperties() != Properties() && ActiveProperties()->OnGetValue) {
        value = Variant();
        ActiveProperties()->OnGetValue(this, text, value, errorText, error);
    }
}

bool TcxCustomSpinEdit::IsOnGetValueEventAssigned()
{
    return Properties()->OnGetValue.Assigned() || ActiveProperties()->OnGetValue.Assigned();
}

void TcxCustomSpinEdit::PrepareEditValue(const Variant& displayValue, Variant& editValue, bool)
{
    std::string errorText;
    InternalPrepareEditValue(displayValue, true, editValue, errorText);
}

void TcxCustomSpinEdit::SynchronizeDisplayValue()
{
    TcxCustomSpinEditProperties* p = ActiveProperties();
    Variant v = EditValue();
    internalValue_ = p->SetVariantType(p->IsEditValueValid(v, InternalFocused()) ? p->PrepareValue(v)
                                                                                 : p->ZeroInBounds());
    TcxCustomMaskEdit::SynchronizeDisplayValue();
}

void TcxCustomSpinEdit::SynchronizeEditValue()
{
    TcxCustomMaskEdit::SynchronizeEditValue();
    TcxCustomSpinEditProperties* p = ActiveProperties();
    Variant v = EditValue();
    if (p->IsEditValueValid(v, InternalFocused()))
        internalValue_ = p->SetVariantType(p->PrepareValue(v));
}

void TcxCustomSpinEdit::ChangeHandler(TObject* sender)
{
    typedText_ = keyTyping_;
    TcxCustomMaskEdit::ChangeHandler(sender);
    keyTyping_ = false;
}

template <class F>
void TcxCustomSpinEdit::WithKeyTyping(F&& f)
{
    if (InternalFocused() && !ActiveProperties()->CanEdit())
        return;
    keyTyping_ = true;
    try {
        f();
    } catch (...) {
        keyTyping_ = false;
        throw;
    }
    keyTyping_ = false;
}

void TcxCustomSpinEdit::ClearSelection()
{
    WithKeyTyping([this] { TcxCustomMaskEdit::ClearSelection(); });
}

void TcxCustomSpinEdit::CutToClipboard()
{
    WithKeyTyping([this] { TcxCustomMaskEdit::CutToClipboard(); });
}

void TcxCustomSpinEdit::PasteFromClipboard()
{
    WithKeyTyping([this] { TcxCustomMaskEdit::PasteFromClipboard(); });
}

void TcxCustomSpinEdit::PropertiesChanged(TObject* sender)
{
    TcxCustomMaskEdit::PropertiesChanged(sender);
    if (!DataBinding() || DataBinding()->CanCheckEditorValue() || !ModifiedAfterEnter())
        return;
    // Bounds that moved under a modified value pull it back inside. A settings change never
    // raises over a text the user has not finished: such a text reads as the last good value.
    TcxUserChangeScope scope(this, ModifiedAfterEnter());
    TcxCustomSpinEditProperties* p = ActiveProperties();
    Variant v;
    std::string errorText;
    if (InternalFocused() && typedText_)
        InternalPrepareEditValue(GetDisplayValue(), false, v, errorText);
    else
        v = GetValue();
    if (!VarIsNumeric(v))
        return;
    const Variant min = p->InternalMinValue(), max = p->InternalMaxValue();
    if (v.ToDouble() < min.ToDouble())
        SetValue(min);
    else if (v.ToDouble() > max.ToDouble())
        SetValue(max);
}

TcxContainerStyleValues TcxCustomSpinEdit::InternalGetNotPublishedStyleValues() const
{
    const TcxContainerStyleValues published =
        cxStyleValue(svButtonStyle) | cxStyleValue(svButtonTransparency) | cxStyleValue(svGradientButtons);
    return TcxCustomMaskEdit::InternalGetNotPublishedStyleValues() & ~published;
}

// ---- keys ----------------------------------------------------------------------------------------

bool TcxCustomSpinEdit::IsSpinKey(std::uint16_t key, TShiftState shift) const
{
    if (!IsArrowOrPageKey(key))
        return false;
    return !ActiveProperties()->UseCtrlIncrement() || shift.Contains(ssCtrl);
}

void TcxCustomSpinEdit::DoEditKeyDown(std::uint16_t& key, TShiftState shift)
{
    keyTyping_ = false;
    if (IsSpinKey(key, shift)) {
        if (!ModifiedAfterEnter() && !DoEditing()) {
            key = 0;
            return;
        }
        TcxSpinEditButton button = sebForward;
        TcxSpinEditPressedState state = epsUp;
        switch (key) {
        case VK_DOWN: button = sebBackward; state = epsDown; break;
        case VK_PRIOR: button = sebFastForward; state = epsFastUp; break;
        case VK_NEXT: button = sebFastBackward; state = epsFastDown; break;
        default: break;
        }
        SetPressedState(state);
        if (TcxCustomInnerTextEdit* inner = InnerTextEditControl(); inner && inner->MouseCapture())
            inner->SetMouseCapture(false);
        Increment(button);
        key = 0;
        return;
    }
    StopTracking();
    if (key != VK_ESCAPE)
        keyTyping_ = true;
    if (!ActiveProperties()->CanEdit() && CanKeyDownModifyEdit(key, shift)) {
        DoAfterKeyDown(key, shift);
        key = 0;
        return;
    }
    TcxCustomMaskEdit::DoEditKeyDown(key, shift);
}

void TcxCustomSpinEdit::DoEditKeyUp(std::uint16_t& key, TShiftState shift)
{
    keyTyping_ = false;
    const bool spin = IsArrowOrPageKey(key);
    TcxCustomMaskEdit::DoEditKeyUp(key, shift);
    if (spin)
        StopTracking();
}

void TcxCustomSpinEdit::DoEditKeyPress(char16_t& key)
{
    const char16_t separator = char16_t(static_cast<unsigned char>(rtl::FormatSettings().DecimalSeparator));
    if (key == u'.' || key == u',')
        key = separator;
    if (key >= u' ' || key == u'\b' || key == separator) {
        if (!IsValidChar(key)) {
            key = 0;
            vcl::System().Beep();
            return;
        }
        keyTyping_ = true;
    }
    TcxCustomMaskEdit::DoEditKeyPress(key);
}

bool TcxCustomSpinEdit::IsValidChar(char16_t ch)
{
    TcxCustomSpinEditProperties* p = ActiveProperties();
    if (!p->CanEdit())
        return ch < u' ' && ch != u'\b';
    if (IsOnGetValueEventAssigned())
        return true;
    if (ch < u' ' || p->ValidChars().find(ch) != std::u16string::npos)
        return true;
    if (ch >= u'0' && ch <= u'9')
        return true;
    // A whole number has no exponent (a typed "e" could only end in an error), and takes a sign
    // only where it may be below zero.
    if (p->GetValueType() == vtInt)
        return (ch == u'+' || ch == u'-') && p->InternalMinValue().ToDouble() < 0;
    return ch == u'+' || ch == u'-' || ch == u'e' || ch == u'E' ||
           ch == char16_t(static_cast<unsigned char>(rtl::FormatSettings().DecimalSeparator));
}

// ---- buttons, repeat and wheel ---------------------------------------------------------------------

void TcxCustomSpinEdit::SetPressedState(TcxSpinEditPressedState value)
{
    if (ActiveProperties()->Buttons()->Count() == 0 || value == pressedState_)
        return;
    pressedState_ = value;
    CalculateViewInfo();
    Invalidate();
}

void TcxCustomSpinEdit::StepPressedButton()
{
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!vi || vi->PressedButton < 0 || vi->PressedButton >= vi->ButtonCount())
        return;
    Increment(TcxSpinEditButton(vi->ButtonsInfo[std::size_t(vi->PressedButton)]->Index));
}

void TcxCustomSpinEdit::DoButtonDown(int buttonVisibleIndex)
{
    auto alive = AliveToken();
    TcxCustomMaskEdit::DoButtonDown(buttonVisibleIndex);
    if (alive.expired())
        return;
    if (!MouseCapture())
        ShortRefreshContainer(false);
    if (pressedState_ != epsNone)
        return;
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!vi || vi->PressedButton == -1)
        return;
    StepPressedButton();
    if (alive.expired())
        return;
    if (ActiveProperties()->GetReadOnly() || !DataBinding()->GetIsDataAvailable())
        return;
    if (timer_)
        timer_->Free();
    timer_ = new TcxTimer(this);
    timer_->SetInterval(kFirstRepeatDelay);
    timer_->SetOnTimer(TNotifyEvent(this, &TcxCustomSpinEdit::HandleTimer));
}

void TcxCustomSpinEdit::HandleTimer(TObject*)
{
    if (timer_ && timer_->Interval() == kFirstRepeatDelay)
        timer_->SetInterval(kRepeatInterval);
    StepPressedButton();
}

void TcxCustomSpinEdit::StopTracking()
{
    if (timer_) {
        timer_->Free();
        timer_ = nullptr;
    }
    if (IsDestroying())
        return;
    if (TcxCustomEditViewInfo* vi = EditViewInfo())
        for (int i = 0; i < std::min(2, vi->ButtonCount()); ++i)
            if (vi->ButtonsInfo[std::size_t(i)]->Data.State == ebsPressed)
                vi->ButtonsInfo[std::size_t(i)]->Data.State = ebsNormal;
    SetPressedState(epsNone);
    if (MouseCapture())
        SetMouseCapture(false);
}

void TcxCustomSpinEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    auto alive = AliveToken();
    TcxCustomMaskEdit::MouseDown(button, shift, x, y);
    if (!alive.expired() && ButtonVisibleIndexAt({x, y}) == -1)
        StopTracking();
}

void TcxCustomSpinEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    auto alive = AliveToken();
    TcxCustomMaskEdit::MouseUp(button, shift, x, y);
    if (!alive.expired())
        StopTracking();
}

void TcxCustomSpinEdit::FocusChanged()
{
    TcxCustomMaskEdit::FocusChanged();
    StopTracking();
}

bool TcxCustomSpinEdit::DoRefreshContainer(const TPoint& p, TcxMouseButton button, TShiftState shift,
                                           bool isMouseEvent)
{
    const bool result = TcxCustomMaskEdit::DoRefreshContainer(p, button, shift, isMouseEvent);
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (timer_ && vi && vi->ButtonCount() > 0 && vi->PressedButton == -1 && CapturedButton() == -1)
        StopTracking();
    return result;
}

bool TcxCustomSpinEdit::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint)
{
    if (!HandleMouseWheel(shift))
        return false;
    if (wheelDelta != 0)
        Increment(wheelDelta < 0 ? sebBackward : sebForward);
    return true;
}

} // namespace cx
