// The check box editor: three state values with their acceptance rules, the state cycle, Space
// pressed and released, a click (press and release over the control), the accelerator, the
// layout of the square and the caption, and painting through the check-mark drawing.
#include "toolkit/editors/cxCheckBox.h"

#include "platform/vcl/StdCtrls.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/controls/cxControls.h"

#include <QChar>

namespace cx {

// ---- properties -------------------------------------------------------------------------------

TcxCustomCheckBoxProperties::TcxCustomCheckBoxProperties(TPersistent* owner) : TcxCustomEditProperties(owner) {}

const TClassMeta* TcxCustomCheckBoxProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxCheckBox>().Meta();
}

TcxCustomCheckBoxProperties::~TcxCustomCheckBoxProperties() { delete glyph_; }

TBitmap* TcxCustomCheckBoxProperties::Glyph()
{
    // Graphics report no changes here: a changed glyph takes effect through SetGlyph.
    if (!glyph_)
        glyph_ = new TBitmap();
    return glyph_;
}

void TcxCustomCheckBoxProperties::SetGlyph(TBitmap* value)
{
    if (value) {
        Glyph()->Assign(value);
    } else {
        delete glyph_;
        glyph_ = nullptr;
    }
    Changed();
}

void TcxCustomCheckBoxProperties::SetGlyphCount(int value)
{
    if (glyphCount_ != value) {
        glyphCount_ = value;
        if (glyph_)
            Changed();
    }
}

void TcxCustomCheckBoxProperties::SetMultiLine(bool value)
{
    if (multiLine_ != value) {
        multiLine_ = value;
        Changed();
    }
}

void TcxCustomCheckBoxProperties::SetFullFocusRect(bool value)
{
    if (fullFocusRect_ != value) {
        fullFocusRect_ = value;
        Changed();
    }
}

void TcxCustomCheckBoxProperties::SetUseAlignmentWhenInplace(bool value)
{
    if (useAlignmentWhenInplace_ != value) {
        useAlignmentWhenInplace_ = value;
        Changed();
    }
}

int TcxCustomCheckBoxProperties::GetDrawTextFlags(TAlignment captionAlignment, bool isInplace) const
{
    int flags = (captionAlignment == taCenter ? cxtfHCenter : cxtfLeft) | cxtfShowPrefix;
    flags |= multiLine_ ? cxtfWordBreak | cxtfNoClip : cxtfSingleLine;
    flags |= isInplace || !multiLine_ ? cxtfVCenter : cxtfTop;
    return flags;
}

TcxEditSpecialFeatures TcxCustomCheckBoxProperties::GetSpecialFeatures() const
{
    TcxEditSpecialFeatures f = TcxCustomEditProperties::GetSpecialFeatures();
    f.Include(esfNoContentPart);
    return f;
}

TcxEditSupportedOperations TcxCustomCheckBoxProperties::GetSupportedOperations()
{
    return {esoAlwaysHotTrack, esoEditing, esoFiltering, esoHotTrack, esoShowingCaption, esoSorting, esoTransparency};
}

void TcxCustomCheckBoxProperties::Assign(TPersistent* source)
{
    auto* p = dynamic_cast<TcxCustomCheckBoxProperties*>(source);
    BeginUpdate();
    try {
        TcxCustomEditProperties::Assign(source);
        if (p) {
            allowGrayed_ = p->allowGrayed_;
            alignment_ = p->alignment_;
            nullStyle_ = p->nullStyle_;
            DisplayChecked = p->DisplayChecked;
            DisplayUnchecked = p->DisplayUnchecked;
            DisplayGrayed = p->DisplayGrayed;
            fullFocusRect_ = p->fullFocusRect_;
            if (p->glyph_)
                Glyph()->Assign(p->glyph_);
            else
                SetGlyph(nullptr);
            glyphCount_ = p->glyphCount_;
            multiLine_ = p->multiLine_;
            useAlignmentWhenInplace_ = p->useAlignmentWhenInplace_;
            SetStateValues(p->valueChecked_, p->valueGrayed_, p->valueUnchecked_);
            Changed();
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomCheckBoxProperties::SetAllowGrayed(bool value)
{
    if (allowGrayed_ != value) {
        allowGrayed_ = value;
        Changed();
    }
}

void TcxCustomCheckBoxProperties::SetCheckAlignment(TAlignment value)
{
    if (alignment_ != value) {
        alignment_ = value;
        Changed();
    }
}

void TcxCustomCheckBoxProperties::SetNullStyle(TcxCheckBoxNullValueShowingStyle value)
{
    if (nullStyle_ != value) {
        nullStyle_ = value;
        Changed();
    }
}

bool TcxCustomCheckBoxProperties::IsRepeated(const Variant& value) const
{
    return InternalVarEqualsExact(value, valueChecked_) || InternalVarEqualsExact(value, valueGrayed_) ||
           InternalVarEqualsExact(value, valueUnchecked_);
}

void TcxCustomCheckBoxProperties::SetValueChecked(const Variant& value)
{
    if (value.IsNull() || IsRepeated(value))
        return;
    valueChecked_ = value;
    Changed();
}

void TcxCustomCheckBoxProperties::SetValueGrayed(const Variant& value)
{
    if (IsRepeated(value))
        return;
    valueGrayed_ = value;
    Changed();
}

void TcxCustomCheckBoxProperties::SetValueUnchecked(const Variant& value)
{
    if (value.IsNull() || IsRepeated(value))
        return;
    valueUnchecked_ = value;
    Changed();
}

void TcxCustomCheckBoxProperties::SetStateValues(const Variant& checked, const Variant& grayed, const Variant& unchecked)
{
    if (checked.IsNull() || unchecked.IsNull() || InternalVarEqualsExact(checked, grayed) ||
        InternalVarEqualsExact(checked, unchecked) || InternalVarEqualsExact(grayed, unchecked))
        return;
    valueChecked_ = checked;
    valueGrayed_ = grayed;
    valueUnchecked_ = unchecked;
    Changed();
}

TcxCheckBoxState TcxCustomCheckBoxProperties::GetState(const Variant& editValue) const
{
    if (VarEqualsExact(editValue, valueChecked_))
        return cbsChecked;
    if (VarEqualsExact(editValue, valueUnchecked_))
        return cbsUnchecked;
    return cbsGrayed;
}

Variant TcxCustomCheckBoxProperties::StateToEditValue(TcxCheckBoxState state) const
{
    switch (state) {
    case cbsChecked: return valueChecked_;
    case cbsUnchecked: return valueUnchecked_;
    default: return valueGrayed_;
    }
}

std::string TcxCustomCheckBoxProperties::GetStateDisplayText(const Variant& editValue) const
{
    switch (GetState(editValue)) {
    case cbsChecked: return DisplayChecked;
    case cbsUnchecked: return DisplayUnchecked;
    default: return DisplayGrayed;
    }
}

void TcxCustomCheckBoxProperties::PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool)
{
    static constexpr int byState[] = {0, 1, 2};
    displayValue = byState[GetState(editValue)];
}

// ---- filter helper ----------------------------------------------------------------------------

namespace {
// Item 0 of the filter list is the checked value, item 1 the unchecked one.
constexpr int kFilterCheckedItem = 0, kFilterUncheckedItem = 1;
} // namespace

TcxFilterControlOperators TcxFilterCheckBoxHelper::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                               TcxValueTypeClass, bool) const
{
    return GetListFilterOperators(false);
}

void TcxFilterCheckBoxHelper::InitializeProperties(TcxCustomEditProperties* properties,
                                                   TcxCustomEditProperties* editProperties, bool) const
{
    auto* check = dynamic_cast<TcxCustomCheckBoxProperties*>(editProperties);
    if (!check)
        return;
    InitializeFixedList(properties, {check->DisplayChecked, check->DisplayUnchecked});
}

void TcxFilterCheckBoxHelper::GetFilterValue(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties,
                                             Variant& value, std::string& displayText) const
{
    auto* check = dynamic_cast<TcxCustomCheckBoxProperties*>(editProperties);
    const int index = GetFixedListIndex(edit);
    if (!check || (index != kFilterCheckedItem && index != kFilterUncheckedItem)) {
        value = Null;
        displayText.clear();
        return;
    }
    value = index == kFilterCheckedItem ? check->ValueChecked() : check->ValueUnchecked();
    displayText = check->GetStateDisplayText(value);
}

void TcxFilterCheckBoxHelper::SetFilterValue(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties,
                                             const Variant& value) const
{
    auto* check = dynamic_cast<TcxCustomCheckBoxProperties*>(editProperties);
    if (!check)
        return;
    switch (check->GetState(value)) {
    case cbsChecked: SetFixedListIndex(edit, kFilterCheckedItem); break;
    case cbsUnchecked: SetFixedListIndex(edit, kFilterUncheckedItem); break;
    default: SetFixedListIndex(edit, -1); break;
    }
}

// ---- the control ------------------------------------------------------------------------------

namespace {
// A check box paints itself: no inner edit, no edit data.
TcxEditClasses CheckBoxClasses()
{
    TcxEditClasses c;
    c.Properties = TcxCustomEditPropertiesClass::Of<TcxCheckBoxProperties>();
    return c;
}
} // namespace

TcxCustomCheckBox::TcxCustomCheckBox(TComponent* owner, bool isInplace)
    : TcxCustomEdit(owner, isInplace, CheckBoxClasses())
{
    ControlStyle.Exclude(csDoubleClicks);
    InitParentColor();
    SetEditAutoSize(false);
    SetBounds(Left(), Top(), 121, 21);
    SetInternalEditValue(Properties()->ValueUnchecked());
}

void TcxCustomCheckBox::SetState(TcxCheckBoxState value)
{
    if (value != State())
        SetInternalEditValue(Properties()->StateToEditValue(value));
}

void TcxCustomCheckBox::InternalSetEditValue(const Variant& value, bool validateEditValue)
{
    const TcxCheckBoxState before = State();
    TcxCustomEdit::InternalSetEditValue(value, validateEditValue);
    if (State() != before) {
        DoClick();
        DoChange();
    }
    Invalidate();
}

void TcxCustomCheckBox::Toggle()
{
    if (!CanModify() || !DoEditing())
        return;
    LockChangeEvents(true);
    try {
        switch (State()) {
        case cbsUnchecked: SetState(Properties()->AllowGrayed() ? cbsGrayed : cbsChecked); break;
        case cbsChecked: SetState(cbsUnchecked); break;
        case cbsGrayed: SetState(cbsChecked); break;
        }
        SetModifiedAfterEnter(true);   // the user's change, to be posted
        if (Properties()->ImmediatePost() && CanPostEditValue() && ValidateEdit(true))
            InternalPostEditValue();
    } catch (...) {
        LockChangeEvents(false);
        throw;
    }
    LockChangeEvents(false);
}

void TcxCustomCheckBox::SetCheckState(TcxEditCheckState value)
{
    if (checkState_ != value) {
        checkState_ = value;
        Invalidate();
    }
}

TcxEditCheckState TcxCustomCheckBox::RestingCheckState(const TPoint& p) const
{
    if (!Enabled())
        return ecsDisabled;
    return cxRectPtIn(TRect{0, 0, Width(), Height()}, p) ? ecsHot : ecsNormal;
}

void TcxCustomCheckBox::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TcxCustomEdit::KeyDown(key, shift);
    if (key == VK_SPACE && (checkState_ == ecsNormal || checkState_ == ecsHot)) {
        checkPressed_ = true;
        SetCheckState(ecsPressed);
        key = 0;
    }
}

void TcxCustomCheckBox::KeyUp(std::uint16_t& key, TShiftState shift)
{
    TcxCustomEdit::KeyUp(key, shift);
    if (key == VK_SPACE && checkPressed_ && checkState_ == ecsPressed) {
        checkPressed_ = false;
        SetCheckState(ecsNormal);
        Toggle();
    }
}

void TcxCustomCheckBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxCustomEdit::MouseDown(button, shift, x, y);
    if (button == mbLeft && Enabled() && !checkPressed_) {
        mousePressed_ = true;
        SetCheckState(ecsPressed);
    }
}

void TcxCustomCheckBox::MouseMove(TShiftState shift, int x, int y)
{
    TcxCustomEdit::MouseMove(shift, x, y);
    if (checkPressed_)
        return;
    const TcxEditCheckState resting = RestingCheckState({x, y});
    // Held and back over the control shows pressed again; away from it, released.
    SetCheckState(mousePressed_ && resting == ecsHot ? ecsPressed : resting);
}

void TcxCustomCheckBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxCustomEdit::MouseUp(button, shift, x, y);
    if (button != mbLeft || !mousePressed_)
        return;
    mousePressed_ = false;
    const bool toggles = checkState_ == ecsPressed && RestingCheckState({x, y}) == ecsHot;
    SetCheckState(RestingCheckState({x, y}));
    // A press that left the control and came back released there still clicks; one released
    // outside does not.
    if (toggles)
        Toggle();
}

void TcxCustomCheckBox::DoExit()
{
    TcxCustomEdit::DoExit();
    checkPressed_ = false;
    if (checkState_ == ecsPressed)
        SetCheckState(ecsNormal);
}

void TcxCustomCheckBox::EnabledChanged()
{
    TcxCustomEdit::EnabledChanged();
    SetCheckState(Enabled() ? ecsNormal : ecsDisabled);
}

void TcxCustomCheckBox::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case CM_DIALOGCHAR: {
        const char16_t accel = AccelOf(Caption());
        if (accel != 0 && accel == char16_t(QChar(char16_t(msg.WParam)).toLower().unicode()) && CanFocus()) {
            SetFocus();
            if (Focused())
                Toggle();
            msg.Result = 1;
            return;
        }
        break;
    }
    case CM_MOUSELEAVE:
        TcxCustomEdit::Dispatch(msg);
        if (!checkPressed_ && !mousePressed_)
            SetCheckState(Enabled() ? ecsNormal : ecsDisabled);
        return;
    case CM_TEXTCHANGED:
        TcxCustomEdit::Dispatch(msg);
        Invalidate();
        return;
    default: break;
    }
    TcxCustomEdit::Dispatch(msg);
}

// ---- layout and painting ----------------------------------------------------------------------

TRect TcxCustomCheckBox::GetCheckRect()
{
    const TRect r = cxRectInflate(TRect{0, 0, Width(), Height()}, -2, -2);
    TcxCustomCheckBoxProperties* p = Properties();
    const TSize size = GetEditCheckSize(nullptr, false, p->HasGlyph() ? p->Glyph() : nullptr, p->GlyphCount(), nullptr);
    const int w = std::min(size.cx, r.Width());
    TRect check = cxRectBounds(r.Left + (r.Width() - w) / 2, r.Top + (r.Height() - size.cy) / 2, w, size.cy);
    const TAlignment a = Properties()->CheckAlignment();
    if (w < r.Width() && a == taLeftJustify)
        check = cxRectBounds(r.Left, check.Top, w, size.cy);
    else if (w < r.Width() && a == taRightJustify)
        check = cxRectBounds(r.Right - w, check.Top, w, size.cy);
    return check;
}

TRect TcxCustomCheckBox::GetTextRect()
{
    TRect t = cxRectInflate(TRect{0, 0, Width(), Height()}, -2, -2);
    --t.Top;
    const TRect check = GetCheckRect();
    if (check.Width() >= Width())
        t.Right = t.Left;
    else if (Properties()->CheckAlignment() == taLeftJustify)
        t.Left = check.Right + 3;
    else if (Properties()->CheckAlignment() == taRightJustify)
        t.Right = check.Left - 3;
    return t;
}

void TcxCustomCheckBox::Paint()
{
    TcxCanvas* canvas = GetActiveCanvas();
    const TColor background = GetBackgroundColor();
    if (!IsTransparent())
        canvas->FillRect(TRect{0, 0, Width(), Height()}, background);
    TcxCustomCheckBoxProperties* p = Properties();
    const TcxEditCheckState cs = Enabled() ? checkState_ : ecsDisabled;
    DrawEditCheck(canvas, GetCheckRect(), State(), cs, p->HasGlyph() ? p->Glyph() : nullptr, p->GlyphCount(),
                  EditStyle()->GetBorderStyle(), false,
                  GetActiveStyle()->GetBorderColor(), background, !IsTransparent(), false, Focused(), true, nullptr,
                  p->NullStyle());
    if (p->CheckAlignment() == taCenter)
        return;
    const TRect text = GetTextRect();
    const int flags = p->GetDrawTextFlags(p->CheckAlignment(), false);
    DrawCheckBoxText(canvas, Caption(), GetActiveStyle()->GetVisibleFont(), GetActiveStyle()->GetTextColor(), text,
                     flags, Enabled());
    if (Focused() && !Caption().empty()) {
        TRect focus = text;
        if (!p->FullFocusRect()) {
            canvas->SetFont(GetActiveStyle()->GetVisibleFont());
            canvas->TextExtent(Caption(), focus, flags);
        }
        TRect shown;
        if (cxRectIntersect(shown, cxRectInflate(focus, 1, 1, 1, 2), cxRectInflate(text, 1, 1)))
            canvas->DrawFocusRect(shown);
    }
}

} // namespace cx
