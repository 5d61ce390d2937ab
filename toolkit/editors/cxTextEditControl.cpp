// The text editor control: value and display synchronisation, selection and replacing it, the
// clipboard through validation, text messages, properties changes and the inner edit's place.
#include "toolkit/editors/cxTextEdit.h"

#include "platform/rtl/Unicode.h"
#include "platform/vcl/Clipbrd.h"
#include "toolkit/data/cxVariants.h"

namespace cx {

namespace {
TcxEditClasses TextEditClasses()
{
    TcxEditClasses c;
    c.Properties = TcxCustomEditPropertiesClass::Of<TcxCustomTextEditProperties>();
    c.InnerEdit = TcxInnerEditClass::Of<TcxCustomInnerTextEdit>();
    return c;
}

TcxEditClasses PublishedTextEditClasses()
{
    TcxEditClasses c = TextEditClasses();
    c.Properties = TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>();
    return c;
}
} // namespace

// ---- construction -------------------------------------------------------------------------------

TcxCustomTextEdit::TcxCustomTextEdit(TComponent* owner, bool isInplace)
    : TcxCustomEdit(owner, isInplace, TextEditClasses())
{
    Construct();
}

TcxCustomTextEdit::TcxCustomTextEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomEdit(owner, isInplace, classes)
{
    Construct();
}

TcxTextEdit::TcxTextEdit(TComponent* owner, bool isInplace)
    : TcxCustomTextEdit(owner, isInplace, PublishedTextEditClasses())
{
}

void TcxCustomTextEdit::Initialize() { TcxCustomEdit::Initialize(); }

void TcxCustomTextEdit::Construct()
{
    // The base constructor ran the framework's set-up with the base view classes; the kind's own
    // view info and content offsets replace them, then the kind's own part follows.
    RecreateStylesAndViewInfo();
    if (auto* vi = EditViewInfo())
        vi->Edit = this;
    InitContentParams();
    BeepOnEnter = true;
    findSelection_ = false;
    if (IcxInnerTextEdit* inner = InnerTextEdit()) {
        inner->GetControl()->SetColor(clWindow);
        inner->SetOnSelChange(TNotifyEvent(this, &TcxCustomTextEdit::SelChange));
    }
    SetBounds(Left(), Top(), 121, 21);
    if (TcxCustomTextEditLookupDataClass lookupClass = ActiveProperties()->GetLookupDataClass()) {
        lookupData_ = lookupClass.Create(this);
        lookupData_->OnSelectItem = TNotifyEvent(this, &TcxCustomTextEdit::HandleSelectItem);
    }
    if (TcxFormatController* fc = cxFormatController())
        fc->AddListener(this);
    PropertiesChanged(Properties());
}

TcxCustomTextEdit::~TcxCustomTextEdit()
{
    if (ChangeEventsCatcher())
        BeforeDestruction();
}

void TcxCustomTextEdit::BeforeDestruction()
{
    if (ChangeEventsCatcher()) {
        // The text stays answerable to WM_GETTEXT once the properties are gone.
        if (Properties())
            savedText_ = InternalGetText();
        if (TcxFormatController* fc = cxFormatController())
            fc->RemoveListener(this);
        FreeAndNil(lookupData_);
    }
    TcxCustomEdit::BeforeDestruction();
}

TcxCustomInnerTextEdit* TcxCustomTextEdit::InnerTextEditControl() const
{
    return InnerEdit() ? dynamic_cast<TcxCustomInnerTextEdit*>(InnerEdit()->GetControl()) : nullptr;
}

void TcxCustomTextEdit::FormatChanged()
{
    ActiveProperties()->Changed();
    SynchronizeDisplayValue();
}

// ---- kind ---------------------------------------------------------------------------------------

TcxContainerViewInfoClass TcxCustomTextEdit::GetViewInfoClass() const
{
    return TcxContainerViewInfoClass::Of<TcxCustomTextEditViewInfo>();
}

TcxCustomEditViewData* TcxCustomTextEdit::CreateViewData()
{
    TcxCustomEditViewData* viewData = ActiveProperties()->CreateViewData(GetEditActiveStyle(), IsInplace());
    viewData->Edit = PropertiesChangeLocked() ? nullptr : this;
    InitializeViewData(viewData);
    return viewData;
}

bool TcxCustomTextEdit::IsEditClass() const
{
    const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
    return (style == esEdit || style == esEditList) && !PropertiesChangeLocked() && !IsDesigning();
}

bool TcxCustomTextEdit::InternalDoEditing() { return ActiveProperties()->GetEditingStyle() != esNoEdit; }

bool TcxCustomTextEdit::CanKeyDownModifyEdit(std::uint16_t key, TShiftState shift)
{
    if (TcxCustomEdit::CanKeyDownModifyEdit(key, shift) || key == VK_DELETE)
        return true;
    if (lookupData_ && !lookupData_->IsEmpty() && GetScrollLookupDataList(escKeyboard)) {
        if (key == VK_PRIOR || key == VK_NEXT)
            return true;
        if ((key == VK_UP || key == VK_DOWN) && !shift.Contains(ssAlt))
            return true;
    }
    return false;
}

bool TcxCustomTextEdit::CanKeyPressModifyEdit(char16_t key)
{
    return key == 8 || key == 22 || key == 24 || IsTextChar(key);
}

bool TcxCustomTextEdit::IsValidChar(char16_t key)
{
    return TcxCustomEdit::IsValidChar(key) || ActiveProperties()->ValidChars().find(key) != std::u16string::npos;
}

void TcxCustomTextEdit::FillSizeProperties(TcxEditSizeProperties& sizeProperties)
{
    sizeProperties = DefaultcxEditSizeProperties;
    sizeProperties.MaxLineCount = 1;
}

// ---- selection ----------------------------------------------------------------------------------

namespace {
bool HidesSelection(TcxCustomTextEdit* e)
{
    const TcxEditEditingStyle style = e->ActiveProperties()->GetEditingStyle();
    return style == esNoEdit || (style == esFixedList && !e->FindSelection());
}
} // namespace

int TcxCustomTextEdit::SelStart() { return HidesSelection(this) || !InnerTextEdit() ? 0 : InnerTextEdit()->GetSelStart(); }

int TcxCustomTextEdit::SelLength()
{
    return HidesSelection(this) || !InnerTextEdit() ? 0 : InnerTextEdit()->GetSelLength();
}

std::string TcxCustomTextEdit::SelText()
{
    return HidesSelection(this) || !InnerTextEdit() ? std::string() : InnerTextEdit()->GetSelText();
}

void TcxCustomTextEdit::SetSelStart(int value)
{
    if (ActiveProperties()->GetEditingStyle() != esNoEdit && InnerTextEdit())
        InnerTextEdit()->SetSelStart(value);
}

void TcxCustomTextEdit::SetSelLength(int value)
{
    if (ActiveProperties()->GetEditingStyle() != esNoEdit && InnerTextEdit())
        InnerTextEdit()->SetSelLength(value);
}

void TcxCustomTextEdit::SetSelection(int start, int length)
{
    SetSelStart(start);
    SetSelLength(length);
}

void TcxCustomTextEdit::SelectAll()
{
    if (InnerTextEdit() && InnerTextEdit()->GetControl()->HandleAllocated())
        InnerTextEdit()->SelectAll();
}

int TcxCustomTextEdit::GetCursorPos()
{
    TcxCustomInnerTextEdit* inner = InnerTextEditControl();
    return inner ? inner->GetCursorPos() : 0;
}

void TcxCustomTextEdit::SetFindSelection(bool value)
{
    if (!HandleAllocated() || value == findSelection_)
        return;
    findSelection_ = value;
    CalculateViewInfo();
    UpdateDrawValue();
}

bool TcxCustomTextEdit::CanChangeSelText(const std::string& value, std::string& newText, int& newCaret)
{
    TcxCustomTextEditProperties* p = ActiveProperties();
    const TcxEditEditingStyle style = p->GetEditingStyle();
    newText.clear();
    newCaret = 0;
    if (style == esNoEdit && IsUserChange())
        return false;
    if (style == esFixedList || style == esNoEdit)
        SelectAll();
    const std::u16string text = Utf8ToUtf16(InternalGetText());
    std::u16string inserted = Utf8ToUtf16(value);
    const int start = std::clamp(InnerTextEdit() ? InnerTextEdit()->GetSelStart() : 0, 0, int(text.size()));
    const int length = std::clamp(InnerTextEdit() ? InnerTextEdit()->GetSelLength() : 0, 0, int(text.size()) - start);
    const std::u16string before = text.substr(0, std::size_t(start));
    const std::u16string after = text.substr(std::size_t(start + length));
    std::u16string result;
    const int maxLength = p->MaxLength();
    if (IsUserChange() && style == esEdit && maxLength > 0) {
        // The whole text must fit: the inserted part gives way, never the text after it; nothing
        // that fits is a refusal.
        const int room = maxLength - int(before.size() + after.size());
        if (room < int(inserted.size())) {
            std::size_t keep = std::size_t(std::max(0, room));
            if (keep > 0 && keep < inserted.size() && inserted[keep - 1] >= 0xD800 && inserted[keep - 1] <= 0xDBFF)
                --keep;
            inserted.resize(keep);
            if (inserted.empty() && !value.empty())
                return false;
        }
        result = before + inserted + after;
        newCaret = int(before.size() + inserted.size());
    } else if (style == esFixedList) {
        result = inserted;
        newCaret = int(inserted.size());
    } else {
        result = before + inserted + after;
        newCaret = int(before.size() + inserted.size());
    }
    Variant v(Utf16ToUtf8(result));
    if (!p->IsDisplayValueValid(v, InternalFocused()))
        return false;
    if (IsUserChange() && !DoEditing())
        return false;
    newText = VarToStr(v);
    return true;
}

void TcxCustomTextEdit::SetSelText(const std::string& value)
{
    TcxUserChangeScope userChange(this, IsEditFocused());
    std::string newText;
    int caret = 0;
    if (!CanChangeSelText(value, newText, caret))
        return;
    InternalSetDisplayValue(Variant(newText));
    SetSelection(caret, 0);
    if (IsUserChange())
        SetModifiedAfterEnter(true);
}

void TcxCustomTextEdit::ClearSelection()
{
    if (SelLength() == 0)
        return;
    TcxUserChangeScope userChange(this, IsUserChange() || IsEditFocused());
    const int start = SelStart();
    std::u16string text = Utf8ToUtf16(InternalGetText());
    text.erase(std::size_t(start), std::size_t(SelLength()));
    if (SetDisplayText(Utf16ToUtf8(text))) {
        SetSelection(start, 0);
        if (IsUserChange())
            SetModifiedAfterEnter(true);
    }
}

void TcxCustomTextEdit::SetEditingText(const std::string& value)
{
    if (!DoEditing())
        return;
    SetInternalDisplayValue(Variant(value));
    SetModifiedAfterEnter(true);
}

// ---- clipboard -----------------------------------------------------------------------------------

void TcxCustomTextEdit::CopyToClipboard()
{
    const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
    if (style == esFixedList || style == esNoEdit)
        SelectAll();
    if (InnerTextEdit() && InnerTextEdit()->GetSelLength() > 0)
        InnerTextEdit()->CopyToClipboard();
}

void TcxCustomTextEdit::CutToClipboard()
{
    if (!InnerTextEdit() || InnerTextEdit()->GetSelLength() == 0)
        return;
    if (IsEditFocused()) {
        TcxUserChangeScope userChange(this, true);
        std::string newText;
        int caret = 0;
        if (!CanChangeSelText({}, newText, caret))
            return;
        TMessage m{WM_CUT, 0, 0, 0};
        InnerEdit()->CallDefWndProc(m);
    } else {
        CopyToClipboard();
        SetSelText({});
    }
}

void TcxCustomTextEdit::PasteFromClipboard()
{
    if (!Clipboard()->HasFormat(CF_TEXT))
        return;
    std::string text = Clipboard()->AsText();
    // One line takes the clipboard's first line, as the field itself would paste it.
    if (const auto cut = text.find_first_of("\r\n"); cut != std::string::npos)
        text.resize(cut);
    if (IsEditFocused()) {
        TcxUserChangeScope userChange(this, true);
        std::string newText;
        int caret = 0;
        if (!CanChangeSelText(text, newText, caret))
            return;
        // Put the validated result in place (it may have been trimmed to fit or re-cased).
        InternalSetDisplayValue(Variant(newText));
        SetSelection(caret, 0);
        SetModifiedAfterEnter(true);
    } else {
        SetSelText(text);
    }
}

// ---- values -------------------------------------------------------------------------------------

std::string TcxCustomTextEdit::InternalGetText()
{
    if (!Properties())
        return savedText_;
    return VarToStr(GetDisplayValue());
}

std::string TcxCustomTextEdit::Text() { return InternalGetText(); }

void TcxCustomTextEdit::SetText(const std::string& value) { SetDisplayText(value); }

Variant TcxCustomTextEdit::GetDisplayValue()
{
    return InnerEdit() ? Variant(VarToStr(InnerEdit()->GetEditValue())) : Variant(std::string());
}

void TcxCustomTextEdit::PrepareEditValue(const Variant& displayValue, Variant& editValue, bool)
{
    editValue = displayValue;
}

Variant TcxCustomTextEdit::InternalGetEditingValue() { return Variant(InternalGetText()); }

void TcxCustomTextEdit::SynchronizeDisplayValue()
{
    TcxCustomTextEditProperties* p = ActiveProperties();
    Variant displayValue;
    Variant editValue = EditValue();
    try {
        const bool valid = p->IsEditValueValid(editValue, InternalFocused());
        if (valid)
            p->PrepareDisplayValue(editValue, displayValue, InternalFocused());
        else if (IsEditFocused())
            displayValue = Variant(p->DefaultFocusedDisplayValue());
        else if (VarType(editValue) == varDate)
            displayValue = Variant(rtl::DateTimeToStr(editValue.ToDate()));
        else
            displayValue = Variant(VarToStr(editValue));
    } catch (const Exception&) {
        // A value that cannot be shown is shown as an empty text.
        displayValue = Variant(std::string());
    }
    SaveModified();
    displayValueWriting_ = true;
    try {
        DataBinding()->SetDisplayValue(displayValue);
    } catch (...) {
        displayValueWriting_ = false;
        RestoreModified();
        ResetOnNewDisplayValue();
        UpdateDrawValue();
        throw;
    }
    displayValueWriting_ = false;
    RestoreModified();
    ResetOnNewDisplayValue();
    UpdateDrawValue();
}

void TcxCustomTextEdit::SynchronizeEditValue()
{
    const Variant old = EditValue();
    Variant v;
    PrepareEditValue(Variant(VarToStr(GetDisplayValue())), v, InternalFocused());
    const bool changed = !(VarType(old) == VarType(v) && VarToStr(old) == VarToStr(v));
    // The stored value follows the screen, without showing it again.
    SetEditValueSilently(v);
    if (IsUserChange())
        SetModifiedAfterEnter(true);
    else
        SetModified(false);
    if (changed) {
        DoEditValueChanged();
        if (!ActiveProperties()->HasDisplayValue())
            DoChange();
    }
}

void TcxCustomTextEdit::InternalSetDisplayValue(const Variant& value)
{
    DataBinding()->SetDisplayValue(value);
    if (IsUserChange())
        return;
    ResetOnNewDisplayValue();
    SynchronizeEditValue();
    SetModified(false);
}

bool TcxCustomTextEdit::SetDisplayText(const std::string& value)
{
    Variant v(value);
    if (!ActiveProperties()->IsDisplayValueValid(v, InternalFocused()))
        return false;
    if (IsUserChange() && !DoEditing())
        return false;
    InternalSetDisplayValue(v);
    return true;
}

void TcxCustomTextEdit::SetInternalDisplayValue(const Variant& value)
{
    if (InnerEdit())
        InnerEdit()->SetEditValue(Variant(value));
}

void TcxCustomTextEdit::ResetOnNewDisplayValue()
{
    if (lookupData_)
        SetFindSelection(false);
}

bool TcxCustomTextEdit::NeedResetInvalidTextWhenPropertiesChanged()
{
    IcxEditDefaultValuesProvider* p = DataBinding()->GetIDefaultValuesProvider();
    return !IsInplace() && !(p && p->IsDataStorage());
}

void TcxCustomTextEdit::UpdateDisplayValue()
{
    if (PropertiesChangeLocked())
        return;
    const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
    if (style == esEditList || style == esFixedList) {
        if ((Modified() && !EditValidated()) || NeedResetInvalidTextWhenPropertiesChanged()) {
            Variant v = GetDisplayValue();
            if (!ActiveProperties()->IsDisplayValueValid(v, true)) {
                SaveModified();
                DataBinding()->SetDisplayValue(Variant(ActiveProperties()->DefaultFocusedDisplayValue()));
                RestoreModified();
                if (!Modified())
                    SynchronizeEditValue();
            }
            return;
        }
        SynchronizeDisplayValue();
        return;
    }
    if (!Modified())
        DataBinding()->UpdateDisplayValue();
}

void TcxCustomTextEdit::CheckEditValue()
{
    TcxCustomTextEditProperties* p = ActiveProperties();
    if (DataBinding()->CanCheckEditorValue() && p->IsEditValueNumeric() && !PropertiesChangeLocked() &&
        p->IsValueBoundsDefined()) {
        Variant dv = GetDisplayValue();
        std::string error;
        bool failed = false;
        p->CheckEditorValueBounds(dv, error, failed, this);
    }
}

void TcxCustomTextEdit::UpdateDrawValue()
{
    auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(EditViewInfo());
    if (!vi || !ActiveProperties())
        return;
    std::unique_ptr<TcxCustomEditViewData> viewData(CreateViewData());
    if (auto* data = dynamic_cast<TcxCustomTextEditViewData*>(viewData.get()))
        data->DisplayValueToDrawValue(GetDisplayValue(), vi);
    if (!HandleAllocated())
        return;
    CalculateViewInfo();
    if (auto* data = dynamic_cast<TcxCustomTextEditViewData*>(viewData.get()))
        data->DisplayValueToDrawValue(GetDisplayValue(), vi);
    const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
    vi->SelLength = 0;
    if ((style == esFixedList) && findSelection_ && ActiveProperties()->FixedListSelection() && InnerTextEdit()) {
        const int selLength = InnerTextEdit()->GetSelLength();
        if (vi->DrawSelectionBar) {
            vi->SelStart = 0;
            vi->SelLength = int(vi->Text.size()) - selLength;
            vi->SelTextColor = clHighlight;
            vi->SelBackgroundColor = clHighlightText;
        } else {
            vi->SelStart = InnerTextEdit()->GetSelStart();
            vi->SelLength = selLength;
            vi->SelTextColor = clHighlightText;
            vi->SelBackgroundColor = clHighlight;
        }
    }
    InvalidateRect(GetClientRect(), false);
}

void TcxCustomTextEdit::InternalValidateDisplayValue(const Variant& displayValue)
{
    if (ActiveProperties()->GetEditingStyle() == esEdit && lookupData_ && !lookupData_->IsEmpty() &&
        !lookupData_->Find(VarToStr(displayValue)))
        DoOnNewLookupDisplayText(VarToStr(displayValue));
    TcxCustomEdit::InternalValidateDisplayValue(displayValue);
}

void TcxCustomTextEdit::DoOnNewLookupDisplayText(const std::string& text)
{
    if (Properties()->OnNewLookupDisplayText.Assigned())
        Properties()->OnNewLookupDisplayText(this, text);
    if (RepositoryItem() && ActiveProperties()->OnNewLookupDisplayText.Assigned())
        ActiveProperties()->OnNewLookupDisplayText(this, text);
}

// ---- properties and placement ----------------------------------------------------------------------

void TcxCustomTextEdit::ApplyInnerEditSettings()
{
    IcxInnerTextEdit* inner = InnerTextEdit();
    TcxCustomTextEditProperties* p = ActiveProperties();
    if (!inner || !p)
        return;
    inner->SetAlignment(p->Alignment()->Horz());
    inner->SetAutoSelect(p->AutoSelect() && !IsInplace());
    inner->SetCharCase(p->CharCase());
    inner->SetEchoMode(p->EchoMode());
    inner->SetHideSelection(p->HideSelection());
    inner->SetMaxLength(p->GetInnerEditMaxLength());
    inner->SetPasswordChar(p->PasswordChar());
}

void TcxCustomTextEdit::PropertiesChanged(TObject* sender)
{
    if (!ChangeEventsCatcher() || !Properties() || PropertiesChangeLocked())
        return TcxCustomEdit::PropertiesChanged(sender);
    if (lookupData_) {
        lookupData_->PropertiesChanged();
        if (!lookupTextChangeLock_)
            lookupData_->TextChanged();
    }
    if (!IsEditClass())
        UpdateDrawValue();
    ApplyInnerEditSettings();
    CheckEditValue();
    if (!IsPosting())
        UpdateDisplayValue();
    UpdateDrawValue();
    TcxCustomEdit::PropertiesChanged(sender);
    if (InnerEdit())
        InnerEdit()->GetControl()->Invalidate();
}

void TcxCustomTextEdit::Activate(TcxCustomEditData*& editData)
{
    TcxCustomEdit::Activate(editData);
    if (!HandleAllocated() || !InnerTextEdit())
        return;
    InnerTextEdit()->SetSelStart(0);
    InnerTextEdit()->SetSelLength(0);
    if (ActiveProperties()->AutoSelect())
        SelectAll();
}

void TcxCustomTextEdit::DoExit()
{
    TcxCustomEdit::DoExit();
    SetFindSelection(false);
}

bool TcxCustomTextEdit::DoRefreshContainer(const TPoint& p, TcxMouseButton button, TShiftState shift, bool isMouseEvent)
{
    // A refresh reports button clicks, whose handler may free the editor.
    const auto alive = AliveToken();
    const bool changed = TcxCustomEdit::DoRefreshContainer(p, button, shift, isMouseEvent);
    if (changed && !alive.expired()) {
        // Clipped to the client area as it is now; a field that does not show the text is
        // hidden that way.
        RealignInnerControl();
        AdjustInnerEdit();
    }
    return changed;
}

void TcxCustomTextEdit::AdjustInnerEdit()
{
    TWinControl* inner = InnerEdit() ? InnerEdit()->GetControl() : nullptr;
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!inner || !vi || IsDestroying())
        return;
    if (vi->BackgroundColor != clDefault && inner->Color() != vi->BackgroundColor)
        inner->SetColor(vi->BackgroundColor);
    TFont* visible = GetVisibleFont();
    const TColor text = vi->TextColor == clDefault ? visible->GetColor() : vi->TextColor;
    TFont* font = inner->Font();
    // Assigned only when it differs: every change reaches the field's window.
    if (font->GetHandle().lf != visible->GetHandle().lf || font->GetColor() != text) {
        font->Assign(visible);
        font->SetColor(text);
    }
}

int TcxCustomTextEdit::GetInnerEditHeight()
{
    TWinControl* inner = InnerEdit() ? InnerEdit()->GetControl() : nullptr;
    if (!inner)
        return 0;
    return cxTextHeight(inner->Font(), "Wg");
}

void TcxCustomTextEdit::AdjustInnerEditPosition()
{
    TWinControl* inner = InnerEdit() ? InnerEdit()->GetControl() : nullptr;
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (adjustingInnerEdit_ || !inner || !vi)
        return;
    adjustingInnerEdit_ = true;
    const int h = GetInnerEditHeight();
    const TRect r = vi->ClientRect;
    const TRect o = ContentParams().Offsets;
    int top = r.Top + o.Top;
    switch (ActiveProperties()->Alignment()->Vert()) {
    case taBottomJustify: top = r.Bottom - h - o.Bottom; break;
    case taVCenter: top = r.Top + o.Top + (r.Height() - h - o.Top - o.Bottom) / 2; break;
    default: break;
    }
    top = std::max(top, r.Top + o.Top);
    const TRect bounds{r.Left + o.Left, top, r.Left + o.Left + r.Width() + 1 - o.Left - o.Right, top + h};
    if (inner->BoundsRect() != bounds)
        inner->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    adjustingInnerEdit_ = false;
}

void TcxCustomTextEdit::GetInnerControlBounds(const TRect& r, TControl* control,
                                              TcxContainerInnerControlBounds& bounds) const
{
    if (IsEditClass())
        return TcxCustomEdit::GetInnerControlBounds(r, control, bounds);
    // The view info paints the text; the field keeps the focus and the keys but shows nothing.
    bounds.IsEmpty = false;
    bounds.Rect = TRect{};
}

// ---- text messages -----------------------------------------------------------------------------------

void TcxCustomTextEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETTEXT: {
        auto* buf = reinterpret_cast<char*>(m.LParam);
        const std::size_t size = std::size_t(m.WParam);
        m.Result = 0;
        if (!buf || size < 1)
            return;
        std::string s = InternalGetText();
        std::size_t n = std::min(s.size(), size - 1);
        while (n > 0 && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
            --n;
        std::memcpy(buf, s.data(), n);
        buf[n] = 0;
        m.Result = LRESULT(n);
        return;
    }
    case WM_GETTEXTLENGTH: m.Result = LRESULT(InternalGetText().size()); return;
    case WM_SETTEXT: {
        if (inSetText_)
            return TcxCustomEdit::Dispatch(m);
        inSetText_ = true;
        const char* s = reinterpret_cast<const char*>(m.LParam);
        bool ok = false;
        try {
            ok = SetDisplayText(s ? s : "");
        } catch (...) {
            inSetText_ = false;
            throw;
        }
        inSetText_ = false;
        m.Result = ok ? 1 : 0;
        return;
    }
    case WM_CLEAR:
        if (!ActiveProperties()->GetReadOnly() && DataBinding()->GetIsDataAvailable()) {
            TcxUserChangeScope userChange(this, true);
            ClearSelection();
        }
        return;
    default: TcxCustomEdit::Dispatch(m);
    }
}

} // namespace cx
