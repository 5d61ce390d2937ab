// The stand-alone radio button: states that follow the mouse, the glyph through the painter, the
// caption with its insets and colour, the focus rectangle, transparency and the popup menu.
#include "toolkit/editors/cxRadioGroup.h"

#include "platform/vcl/SystemFacade.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphicsShared.h"
#include "toolkit/controls/cxContainer.h"
#include "toolkit/controls/cxControls.h"
#include "toolkit/editors/cxEdit.h"

#include <algorithm>

namespace cx {

TRect RadioButtonTextCorrection(bool inplace, bool native, bool wordWrap, bool textLeftOfGlyph)
{
    if (inplace)
        return native ? TRect{3, 0, 0, 0} : TRect{5, 0, 1, 0};
    TRect r;
    if (!native) {
        if (!wordWrap)
            r = textLeftOfGlyph ? TRect{2, -1, 1, 0} : TRect{5, -1, 0, 0};
        else
            r = textLeftOfGlyph ? TRect{2, -1, 6, 0} : TRect{5, -1, 2, 0};
        return r;
    }
    if (!wordWrap)
        r = textLeftOfGlyph ? TRect{0, -1, 1, 0} : TRect{3, -1, 0, 0};
    else
        r = textLeftOfGlyph ? TRect{0, -1, 3, 0} : TRect{3, -1, 0, 0};
    if (EmulateStandardControlDrawing())
        r.Top = r.Bottom = 0;
    return r;
}

TcxRadioButton::TcxRadioButton(TComponent* owner) : TRadioButton(owner)
{
    ControlStyle.Include(csDoubleClicks);
    lookAndFeel_ = new TcxLookAndFeel(this);
    lookAndFeel_->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxRadioButton::LookAndFeelChanged);
    PrepareRadioButtonImageList();   // the painters' radio images, made once
}

TcxRadioButton::~TcxRadioButton()
{
    lookAndFeel_->OnChanged = {};
    lookAndFeel_->Free();
}

TcxCustomLookAndFeelPainterClass TcxRadioButton::Painter() const { return lookAndFeel_->GetAvailablePainter(totButton); }

void TcxRadioButton::SetAlignment(TAlignment value)
{
    if (alignment_ != value) {
        alignment_ = value;
        Invalidate();
    }
}

void TcxRadioButton::SetParentBackground(bool value)
{
    parentBackground_ = value;
    Invalidate();
}

void TcxRadioButton::SetTransparent(bool value)
{
    transparent_ = value;
    Invalidate();
}

void TcxRadioButton::SetWordWrap(bool value)
{
    wordWrap_ = value;
    Invalidate();
}

void TcxRadioButton::SetPopupMenu(TComponent* value) { cxSetPopupMenu(this, popupMenu_, value); }

void TcxRadioButton::Notification(TComponent* component, TOperation operation)
{
    TRadioButton::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_)
        popupMenu_ = nullptr;
}

bool TcxRadioButton::IsNativeStyle() const
{
    return AreVisualStylesMustBeUsed(lookAndFeel_->GetNativeStyle(), totButton);
}

bool TcxRadioButton::IsNativeBackground() const
{
    return IsNativeStyle() && parentBackground_ && !IsInplace() && !transparent_;
}

// ---- state ------------------------------------------------------------------------------------

void TcxRadioButton::SetState(TcxRadioButtonState value)
{
    if (state_ == value)
        return;
    state_ = value;
    InvalidateRect(cxRectInflate(buttonRect_, 1, 1), false);
}

void TcxRadioButton::UpdateState(TShiftState shift, const TPoint& p)
{
    const bool inside = cxRectPtIn(GetClientRect(), p);
    if (!Enabled())
        SetState(rbsDisabled);
    else if (ComponentState().Contains(csDesigning))
        SetState(rbsNormal);
    else if (MouseCapture())
        SetState(inside ? rbsPressed : rbsHot);
    else
        SetState(!inside || !shift.Empty() ? rbsNormal : rbsHot);
}

void TcxRadioButton::ShortUpdateState()
{
    UpdateState({}, ScreenToClient(vcl::System().GetCursorPos()));
}

void TcxRadioButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TRadioButton::MouseDown(button, shift, x, y);
    UpdateState(shift, {x, y});
}

void TcxRadioButton::MouseMove(TShiftState shift, int x, int y)
{
    TRadioButton::MouseMove(shift, x, y);
    UpdateState(shift, {x, y});
}

void TcxRadioButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TRadioButton::MouseUp(button, shift, x, y);
    UpdateState(shift, {x, y});
}

void TcxRadioButton::DoEnter()
{
    TRadioButton::DoEnter();
    // Entering an unchecked button checks it, which clicks once.
    if (!Checked() && !ComponentState().Contains(csLoading))
        SetChecked(true);
}

void TcxRadioButton::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_ERASEBKGND: msg.Result = 1; return;
    case CM_MOUSEENTER:
        TRadioButton::Dispatch(msg);
        ShortUpdateState();
        return;
    case CM_MOUSELEAVE:
        TRadioButton::Dispatch(msg);
        UpdateState({}, {-1, -1});
        return;
    case CM_ENABLEDCHANGED:
        TRadioButton::Dispatch(msg);
        ShortUpdateState();
        Invalidate();
        return;
    case CM_SYSCOLORCHANGE: Invalidate(); break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        if (popupMenu_ && IsPopupMenuShortCut(popupMenu_, msg)) {
            msg.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TRadioButton::Dispatch(msg);
}

void TcxRadioButton::DoContextPopup(TPoint mousePos, bool& handled)
{
    if (ComponentState().Contains(csDesigning))
        return;
    TRadioButton::DoContextPopup(mousePos, handled);
    if (handled)
        return;
    if (mousePos.X == -1 && mousePos.Y == -1)
        mousePos = {0, 0};
    const TPoint s = ClientToScreen(mousePos);
    handled = DoShowPopupMenu(popupMenu_, s.X, s.Y);
}

bool TcxRadioButton::DoShowPopupMenu(TComponent* menu, int x, int y) { return ShowPopupMenu(this, menu, x, y); }

// ---- painting ---------------------------------------------------------------------------------

TRect TcxRadioButton::GetRadioButtonRect(const TSize& size, bool nativeStyle) const
{
    const int top = (Height() - size.cy) / 2;
    if (alignment_ == taRightJustify) {
        const int left = nativeStyle || IsInplace() ? 0 : 1;
        return cxRectBounds(left, top, size.cx, size.cy);
    }
    return cxRectBounds(Width() - size.cx, top, size.cx, size.cy);
}

TColor TcxRadioButton::GetTextColor() const
{
    const TColor fontColor = Font()->GetColor();
    if (fontColor == clWindowText) {
        const TColor c = Painter()->DefaultEditorTextColor(!Enabled());
        if (c != clDefault)
            return c;
    }
    return Enabled() || IsRadioGroupButton() ? fontColor : TColor(clBtnShadow);
}

TColor TcxRadioButton::GlyphBrushColor() const
{
    if (IsTransparentBackground())
        return lookAndFeel_->SkinPainter() ? TColor(clNone) : TColor(clDefault);
    return Color();
}

void TcxRadioButton::CorrectTextRect(TRect& r, bool nativeStyle) const
{
    const TRect c = RadioButtonTextCorrection(IsInplace(), nativeStyle, wordWrap_, alignment_ != taRightJustify);
    r = {r.Left + c.Left, r.Top + c.Top, r.Right - c.Right, r.Bottom - c.Bottom};
}

void TcxRadioButton::DrawBackground(TcxCanvas* canvas)
{
    if (!IsTransparentBackground())
        canvas->FillRect(GetClientRect(), Color());
}

void TcxRadioButton::DrawCaption(TcxCanvas* canvas, bool nativeStyle)
{
    canvas->SetFont(Font());
    canvas->GetFont()->SetColor(GetTextColor());
    TRect r = GetClientRect();
    if (alignment_ == taRightJustify)
        r.Left = buttonRect_.Right;
    else
        r.Right = buttonRect_.Left;
    canvas->GetBrush()->SetStyle(bsClear);
    CorrectTextRect(r, nativeStyle);
    const int flags = cxtfLeft | cxtfVCenter | cxtfShowPrefix | (wordWrap_ ? cxtfWordBreak | cxtfNoClip : cxtfSingleLine);
    const bool disabledManner = !Enabled() && Painter()->DefaultEditorTextColor(true) == clDefault &&
                                !IsRadioGroupButton() && !nativeStyle;
    canvas->DrawTexT(Caption(), r, flags, !disabledManner);
    canvas->GetBrush()->SetStyle(bsSolid);
    if (!Focused() || Caption().empty())
        return;
    TRect text = r;
    canvas->TextExtent(Caption(), text, flags);
    text = cxRectInflate(text, 1, 1, 1, 2);
    if (IsInplace()) {
        text.Top = std::max(text.Top, 1);
        text.Bottom = std::min(text.Bottom, Height() - 1);
        text.Right = std::min(text.Right, Width());
    }
    canvas->GetBrush()->SetColor(Color());
    canvas->GetFont()->SetColor(Font()->GetColor());
    canvas->DrawFocusRect(text);
}

void TcxRadioButton::PaintButton(TCanvas* c, const TRect& client, bool)
{
    TcxCanvas canvas(c);
    const bool native = IsNativeStyle();
    if (IsTransparent() || IsNativeBackground())
        cxDrawTransparentControlBackground(this, &canvas, client);
    else if (native)
        DrawBackground(&canvas);
    const TcxCustomLookAndFeelPainterClass painter = Painter();
    buttonRect_ = GetRadioButtonRect(painter->RadioButtonSize(), native);
    static constexpr TcxButtonState states[] = {cxbsDisabled, cxbsHot, cxbsNormal, cxbsPressed};
    painter->DrawRadioButton(&canvas, buttonRect_.Left, buttonRect_.Top, states[state_], Checked(), Focused(),
                             GlyphBrushColor(), ComponentState().Contains(csDesigning));
    canvas.SaveClipRegion();
    canvas.ExcludeClipRect(buttonRect_);
    DrawBackground(&canvas);
    DrawCaption(&canvas, native);
    canvas.RestoreClipRegion();
}

} // namespace cx

// ---- the radio group --------------------------------------------------------------------------

namespace cx {


TcxRadioGroupItem::TcxRadioGroupItem(TCollection* collection) : TcxButtonGroupItem(collection), value_(Null) {}

void TcxRadioGroupItem::Assign(TPersistent* source)
{
    if (auto* item = dynamic_cast<TcxRadioGroupItem*>(source))
        value_ = item->value_;
    TcxButtonGroupItem::Assign(source);
}

void TcxRadioGroupItem::SetValue(const Variant& value)
{
    if (!InternalVarEqualsExact(value_, value)) {
        value_ = value;
        Changed(false);
    }
}

const TClassMeta* TcxCustomRadioGroupProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxRadioGroup>().Meta();
}

TcxCustomRadioGroupProperties::TcxCustomRadioGroupProperties(TPersistent* owner)
    : TcxCustomButtonGroupProperties(owner, TCollectionItemClass::Of<TcxRadioGroupItem>())
{
}

void TcxCustomRadioGroupProperties::Assign(TPersistent* source)
{
    auto* p = dynamic_cast<TcxCustomRadioGroupProperties*>(source);
    BeginUpdate();
    try {
        TcxCustomButtonGroupProperties::Assign(source);
        if (p) {
            defaultCaption_ = p->defaultCaption_;
            defaultValue_ = p->defaultValue_;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TcxRadioGroupItem* TcxCustomRadioGroupProperties::AddItem(const std::string& caption, const Variant& value)
{
    Items()->BeginUpdate();
    auto* item = static_cast<TcxRadioGroupItem*>(Items()->Add());
    item->SetCaption(caption);
    item->SetValue(value);
    Items()->EndUpdate();
    return item;
}

void TcxCustomRadioGroupProperties::SetDefaultCaption(const std::string& value)
{
    if (defaultCaption_ != value) {
        defaultCaption_ = value;
        Changed();
    }
}

void TcxCustomRadioGroupProperties::SetDefaultValue(const Variant& value)
{
    if (!InternalVarEqualsExact(defaultValue_, value)) {
        defaultValue_ = value;
        Changed();
    }
}

int TcxCustomRadioGroupProperties::GetRadioGroupItemIndex(const Variant& editValue) const
{
    for (int i = 0; i < Items()->Count(); ++i) {
        const TcxRadioGroupItem* item = Item(i);
        if (item->Value().IsNull() ? VarIsStr(editValue) && VarToStr(editValue) == item->Caption()
                                   : VarEqualsExact(item->Value(), editValue))
            return i;
    }
    return -1;
}

int TcxCustomRadioGroupProperties::GetColumnCount() const { return std::max(1, std::min(Columns(), Items()->Count())); }

std::string TcxCustomRadioGroupProperties::GetDisplayText(const Variant& editValue) const
{
    const int i = GetRadioGroupItemIndex(editValue);
    return i < 0 ? defaultCaption_ : Item(i)->Caption();
}

Variant TcxCustomRadioGroupProperties::ItemIndexToEditValue(int index) const
{
    if (index < 0 || index >= Items()->Count())
        return defaultValue_;
    const TcxRadioGroupItem* item = Item(index);
    return item->Value().IsNull() ? Variant(item->Caption()) : item->Value();
}

// ---- group buttons ----

TcxCustomRadioGroupButton::TcxCustomRadioGroupButton(TcxCustomRadioGroup* group) : TcxRadioButton(group), group_(group)
{
    LookAndFeel()->SetMasterLookAndFeel(group->Style()->GetLookAndFeel());
}

bool TcxCustomRadioGroupButton::IsInplace() const { return group_->IsInplace(); }

void TcxCustomRadioGroupButton::InternalSetChecked(bool value)
{
    internalChecking_ = true;
    try {
        SetChecked(value);
    } catch (...) {
        internalChecking_ = false;
        throw;
    }
    internalChecking_ = false;
}

void TcxCustomRadioGroupButton::Click()
{
    // A click checks the button only when it is checked already or the group may be edited.
    const bool wasChecked = Checked();
    if (!wasChecked && !(group_->CanModify() && group_->DoEditing()))
        return;
    TcxRadioButton::Click();
    if (!wasChecked && Checked() && !internalChecking_)
        group_->ButtonChecked(this);
}

void TcxCustomRadioGroupButton::Dispatch(TMessage& msg)
{
    if (msg.Msg == WM_GETDLGCODE) {
        // The arrow keys reach the group, which moves along its columns; in place the host
        // moves on with Tab.
        TcxRadioButton::Dispatch(msg);
        msg.Result |= DLGC_WANTARROWS;
        if (group_->IsInplace() && vcl::System().GetKeyState(VK_CONTROL) >= 0)
            msg.Result |= DLGC_WANTTAB;
        return;
    }
    if (msg.Msg == WM_LBUTTONDOWN) {
        mouseDownInProgress_ = true;
        try {
            TcxRadioButton::Dispatch(msg);
        } catch (...) {
            mouseDownInProgress_ = false;
            throw;
        }
        mouseDownInProgress_ = false;
        return;
    }
    TcxRadioButton::Dispatch(msg);
}

void TcxCustomRadioGroupButton::DoEnter()
{
    // The plain radio button's own rule is replaced by the group's below.
    TButtonControl::DoEnter();
    // Reaching an unchecked button by the keyboard checks it, when the group may be edited.
    if (!Checked() && !mouseDownInProgress_ && !IsInplace() && group_->CanModify() && group_->DoEditing()) {
        SetChecked(true);
        group_->ButtonChecked(this);
    }
}

// ---- the group ----

TcxCustomRadioGroup::TcxCustomRadioGroup(TComponent* owner, bool isInplace)
    : TcxCustomButtonGroup(owner, isInplace, TcxCustomEditPropertiesClass::Of<TcxRadioGroupProperties>())
{
    ControlStyle.Exclude(csAcceptsControls);
    ControlStyle.Include(csSetCaption);
    ControlStyle.Include(csDoubleClicks);
}

TcxCustomRadioGroupProperties* TcxCustomRadioGroup::Properties() const
{
    return static_cast<TcxCustomRadioGroupProperties*>(ActiveProperties());
}

TcxCustomRadioGroupButton* TcxCustomRadioGroup::RadioButton(int index) const
{
    return static_cast<TcxCustomRadioGroupButton*>(Buttons(index));
}

TWinControl* TcxCustomRadioGroup::GetButtonInstance() { return new TcxCustomRadioGroupButton(this); }

void TcxCustomRadioGroup::InitButtonInstance(TWinControl* button)
{
    TcxCustomButtonGroup::InitButtonInstance(button);
    // Only the checked button is a tab stop (the platform keeps TabStop with the check).
    button->TabStop = false;
}

TcxEditMetrics TcxCustomRadioGroup::GetEditMetrics() const
{
    const TSize glyph = Style()->GetLookAndFeel()->GetPainter()->RadioButtonSize();
    const bool inplace = IsInplace();
    TcxEditMetrics m;
    m.TextLeftOffset = 3;
    m.WidthCorrection = inplace ? -5 : -6;
    m.GlyphTextGap = 7;
    m.AutoWidthCorrection = inplace ? 1 : 6;
    m.ButtonLeftOffset = inplace ? 1 : 6;
    m.ColumnWidthCorrection = inplace ? -2 : -6;
    m.ColumnOffset = 0;
    m.GlyphWidth = glyph.cx;
    m.GlyphHeight = glyph.cy;
    return m;
}

int TcxCustomRadioGroup::GetButtonRowsHeight(int width)
{
    std::unique_ptr<TcxCustomEditViewData> data(CreateViewData());
    auto* radioData = dynamic_cast<TcxCustomRadioGroupViewData*>(data.get());
    if (!radioData)
        return -1;
    TcxScreenCanvas* canvas = cxScreenCanvas();
    const int height = radioData->GetButtonRowsHeight(canvas, width);
    canvas->Dormant();
    return height;
}

int TcxCustomRadioGroup::ItemIndex() const
{
    for (int i = 0; i < ButtonCount(); ++i)
        if (RadioButton(i)->Checked())
            return i;
    return -1;
}

void TcxCustomRadioGroup::SetItemIndex(int value)
{
    value = std::clamp(value, -1, ButtonCount() - 1);
    SetInternalValues(Properties()->ItemIndexToEditValue(value), false, false);
}

void TcxCustomRadioGroup::InternalSetEditValue(const Variant& value, bool validateEditValue)
{
    SetInternalValues(value, validateEditValue, false);
}

void TcxCustomRadioGroup::FocusCheckedButton(int index)
{
    const bool groupFocused = Focused() || GetFocusedButtonIndex() >= 0;
    if (groupFocused && !Focused() && index >= 0 && index < ButtonCount() && RadioButton(index)->CanFocus())
        RadioButton(index)->SetFocus();
}

void TcxCustomRadioGroup::SetInternalValues(const Variant& value, bool validateEditValue, bool force)
{
    TcxCustomButtonGroup::InternalSetEditValue(value, validateEditValue);
    const int i = Properties()->GetRadioGroupItemIndex(value);
    const int current = ItemIndex();
    if (force || i != current) {
        if (!force) {
            // Exclusivity is the group's own: the previous button is unchecked explicitly.
            if (current >= 0 && current != i)
                RadioButton(current)->InternalSetChecked(false);
            if (i >= 0 && i < ButtonCount())
                RadioButton(i)->InternalSetChecked(true);
        }
        FocusCheckedButton(i);
        DoClick();
        DoChange();
    }
    if (!keepModified_)
        SetModified(false);
    Invalidate();
}

void TcxCustomRadioGroup::ButtonChecked(TcxCustomRadioGroupButton* button)
{
    const bool focused = Focused() || GetFocusedButtonIndex() >= 0;
    keepModified_ = focused;
    try {
        int index = -1;
        for (int i = 0; i < ButtonCount(); ++i)
            if (Buttons(i) == button)
                index = i;
        // A button checked by the platform's sibling rule leaves the others; keep only this one.
        for (int i = 0; i < ButtonCount(); ++i)
            if (i != index && RadioButton(i)->Checked())
                RadioButton(i)->InternalSetChecked(false);
        if (!ComponentState().Contains(csLoading))
            SetInternalValues(Properties()->ItemIndexToEditValue(index), false, true);
    } catch (...) {
        keepModified_ = false;
        throw;
    }
    keepModified_ = false;
    if (focused)
        SetModifiedAfterEnter(true);   // the user's change, to be posted
    if (focused && Properties()->ImmediatePost() && CanPostEditValue() && ValidateEdit(false))
        InternalPostEditValue();
}

void TcxCustomRadioGroup::UpdateButtons()
{
    const int index = ItemIndex();
    TcxCustomButtonGroup::UpdateButtons();
    for (int i = 0; i < ButtonCount(); ++i)
        RadioButton(i)->SetWordWrap(Properties()->WordWrap());
    // The value decides the check: the item the edit value names, once the buttons exist.
    const int wanted = Properties()->GetRadioGroupItemIndex(EditValue());
    if (!ComponentState().Contains(csLoading) && wanted != ItemIndex()) {
        if (index >= 0 && index < ButtonCount() && index != wanted)
            RadioButton(index)->InternalSetChecked(false);
        if (wanted >= 0)
            RadioButton(wanted)->InternalSetChecked(true);
    }
}

void TcxCustomRadioGroup::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    TcxCustomButtonGroup::GetTabOrderList(list);
    if ((TabStop || Focused()) && ItemIndex() >= 0)
        std::erase(list, static_cast<TWinControl*>(const_cast<TcxCustomRadioGroup*>(this)));
}

// ---- filter helper ----

TcxFilterControlOperators TcxFilterRadioGroupHelper::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                                 TcxValueTypeClass,
                                                                                 bool extendedSet) const
{
    return GetListFilterOperators(extendedSet);
}

void TcxFilterRadioGroupHelper::InitializeProperties(TcxCustomEditProperties* properties,
                                                     TcxCustomEditProperties* editProperties, bool) const
{
    auto* radio = dynamic_cast<TcxCustomRadioGroupProperties*>(editProperties);
    if (!radio)
        return;
    std::vector<std::string> captions;
    for (int i = 0; i < radio->Items()->Count(); ++i)
        captions.push_back(radio->Item(i)->Caption());
    InitializeFixedList(properties, captions);
}

void TcxFilterRadioGroupHelper::GetFilterValue(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties,
                                               Variant& value, std::string& displayText) const
{
    auto* radio = dynamic_cast<TcxCustomRadioGroupProperties*>(editProperties);
    if (!radio) {
        value = Null;
        displayText.clear();
        return;
    }
    int index = GetFixedListIndex(edit);
    if (index >= radio->Items()->Count())
        index = -1;
    // An item without a value stands for its caption, as it does as the group's edit value: a
    // Null here would filter for blanks instead.
    value = radio->ItemIndexToEditValue(index);
    displayText = index < 0 ? radio->DefaultCaption() : radio->Item(index)->Caption();
}

void TcxFilterRadioGroupHelper::SetFilterValue(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties,
                                               const Variant& value) const
{
    if (auto* radio = dynamic_cast<TcxCustomRadioGroupProperties*>(editProperties))
        SetFixedListIndex(edit, radio->GetRadioGroupItemIndex(value));
}

namespace cxRadioGroupUnit {

namespace {
TcxEditKindUnit<TcxRadioGroupProperties, TcxFilterRadioGroupHelper> unit;
}

void Initialize() { unit.Initialize("RadioGroup|Represents a group of radio buttons"); }
void Finalize() { unit.Finalize(); }

} // namespace cxRadioGroupUnit

} // namespace cx
