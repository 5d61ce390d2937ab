// The mask editor control: the text editor whose typing, caret moves, clipboard and text
// changes go through the mask mode while it is masked. Unmasked, there is no mode and every
// operation is the text editor's own.
#include "toolkit/editors/cxMaskEdit.h"

#include "platform/rtl/Unicode.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/SystemFacade.h"
#include "toolkit/data/cxVariants.h"

namespace cx {

// The control as the modes see it. Keys the mode sends itself go straight to the field's own
// processing (past the editor), so they neither reach the mode again nor raise key events.
class TcxCustomMaskEdit::THost : public IcxMaskEditHost {
public:
    explicit THost(TcxCustomMaskEdit* edit) : edit_(edit) {}
    bool CanEdit() override { return !edit_->PropertiesChangeLocked(); }
    bool HandleAllocated() override
    {
        TcxCustomInnerTextEdit* inner = edit_->InnerTextEditControl();
        return inner && inner->HandleAllocated();
    }
    TcxMaskModeSettings Settings() override { return edit_->ActiveProperties()->ModeSettings(); }
    std::u16string GetText() override { return edit_->InnerText(); }
    // The changed stretch is replaced as typing replaces a selection, so that the field keeps an
    // undo step for every write of the mode (Ctrl+Z after a cut brings the text back). Without a
    // window there is no field to undo in: the text is set through the display value.
    void SetDisplayText(const std::u16string& text) override
    {
        TcxCustomInnerTextEdit* inner = edit_->InnerTextEditControl();
        if (!inner || !inner->HandleAllocated()) {
            edit_->DataBinding()->SetDisplayValue(Variant(Utf16ToUtf8(text)));
            return;
        }
        const std::u16string old = GetText();
        std::size_t prefix = 0;
        while (prefix < old.size() && prefix < text.size() && old[prefix] == text[prefix])
            ++prefix;
        std::size_t suffix = 0;
        while (suffix < old.size() - prefix && suffix < text.size() - prefix &&
               old[old.size() - 1 - suffix] == text[text.size() - 1 - suffix])
            ++suffix;
        // Never split a surrogate pair between the kept and the replaced stretch.
        if (prefix > 0 && IsHighSurrogate(old[prefix - 1]))
            --prefix;
        if (suffix > 0 && IsLowSurrogate(old[old.size() - suffix]))
            --suffix;
        if (prefix == old.size() && prefix == text.size())
            return;
        SetSelection(int(prefix), int(old.size() - prefix - suffix));
        const std::string replacement = Utf16ToUtf8(text.substr(prefix, text.size() - prefix - suffix));
        inner->Perform(EM_REPLACESEL, 1, LPARAM(replacement.c_str()));
    }
    int GetSelStart() override { return edit_->InnerTextEdit() ? edit_->InnerTextEdit()->GetSelStart() : 0; }
    int GetSelLength() override { return edit_->InnerTextEdit() ? edit_->InnerTextEdit()->GetSelLength() : 0; }
    bool IsCaretAtSelStart() override { return edit_->GetCursorPos() <= GetSelStart(); }
    void SetSelection(int start, int length) override
    {
        TcxCustomInnerTextEdit* inner = edit_->InnerTextEditControl();
        if (!inner || !inner->HandleAllocated())
            return;
        // Anchor at the far end, caret at the start, where the masks keep it.
        const bool old = edit_->directSelection_;
        edit_->directSelection_ = true;
        inner->Perform(EM_SETSEL, WPARAM(start + length), LPARAM(start));
        edit_->directSelection_ = old;
    }
    bool IsSelecting() override { return edit_->selecting_; }
    void SetSelecting(bool value) override { edit_->selecting_ = value; }
    void SendOwnKeyDown(Word key) override
    {
        edit_->SendOwnKey(WM_KEYDOWN, key);
        // The field deletes backwards on the character a Backspace key makes, as a typed one would.
        if (key == VK_BACK)
            edit_->SendOwnKey(WM_CHAR, u'\b');
    }
    void SendOwnChar(char16_t ch) override { edit_->SendOwnKey(WM_CHAR, ch); }
    void Beep() override { vcl::System().Beep(); }
    bool IsCharValidForPos(char16_t& ch, int position) override { return edit_->IsCharValidForPos(ch, position); }
    bool ModifiedAfterEnter() override { return edit_->ModifiedAfterEnter(); }
    std::u16string PrepareDisplayText() override
    {
        Variant shown;
        edit_->ActiveProperties()->PrepareDisplayValue(edit_->EditValue(), shown, edit_->InternalFocused());
        return Utf8ToUtf16(VarToStr(shown));
    }
    void SetInternalDisplayValue(const std::u16string& text) override
    {
        edit_->SetInternalDisplayValue(Variant(Utf16ToUtf8(text)));
    }
    void SetEditValue(const std::u16string& text) override
    {
        edit_->InternalSetEditValue(Variant(Utf16ToUtf8(text)), false);
    }

private:
    TcxCustomMaskEdit* edit_;
};

TcxEditClasses TcxCustomMaskEdit::ClassesWith(TcxCustomEditPropertiesClass properties)
{
    TcxEditClasses c;
    c.Properties = properties;
    c.InnerEdit = TcxInnerEditClass::Of<TcxCustomInnerTextEdit>();
    return c;
}

TcxCustomMaskEdit::TcxCustomMaskEdit(TComponent* owner, bool isInplace)
    : TcxCustomMaskEdit(owner, isInplace,
                        ClassesWith(TcxCustomEditPropertiesClass::Of<TcxCustomMaskEditProperties>()))
{
}

TcxCustomMaskEdit::TcxCustomMaskEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomTextEdit(owner, isInplace, classes), host_(std::make_unique<THost>(this))
{
    // The base constructors ran their own set-up; the mask part follows here, where the kind's
    // overrides are in effect.
    InitializeMode();
    PropertiesChanged(Properties());
}

TcxCustomMaskEdit::~TcxCustomMaskEdit() = default;

TcxMaskEdit::TcxMaskEdit(TComponent* owner, bool isInplace)
    : TcxCustomMaskEdit(owner, isInplace, ClassesWith(TcxCustomEditPropertiesClass::Of<TcxMaskEditProperties>()))
{
}

void TcxCustomMaskEdit::InitializeMode()
{
    TcxCustomMaskEditProperties* p = ActiveProperties();
    modeKind_ = p->MaskKind();
    echoMode_ = p->EchoMode();
    charCase_ = p->CharCase();
    mode_ = p->CreateMode(host_.get());
    selecting_ = false;
    p->SetEmptyString(mode_ ? mode_->GetEmptyString() : std::u16string());
}

std::u16string TcxCustomMaskEdit::InnerText() { return Utf8ToUtf16(VarToStr(GetDisplayValue())); }

void TcxCustomMaskEdit::SendOwnKey(UINT message, WPARAM key)
{
    TcxCustomInnerTextEdit* inner = InnerTextEditControl();
    if (!inner || !inner->HandleAllocated())
        return;
    const bool old = ownKey_;
    ownKey_ = true;
    TMessage m{message, key, 0, 0};
    try {
        inner->DefWndProc(m);
    } catch (...) {
        ownKey_ = old;
        throw;
    }
    ownKey_ = old;
}

void TcxCustomMaskEdit::UpdateTextFormatting() { InternalSetDisplayValue(Variant(VarToStr(GetDisplayValue()))); }

// ---- properties changes ----------------------------------------------------------------------------

bool TcxCustomMaskEdit::UpdateMode()
{
    TcxCustomMaskEditProperties* p = ActiveProperties();
    const TcxEditMaskKind kind = p->MaskKind();
    bool changed = false;
    if (kind != modeKind_) {
        // A positional mask means nothing to an expression kind and the other way round.
        if ((kind == emkStandard) != (modeKind_ == emkStandard))
            p->SetEditMask("");
        modeKind_ = kind;
        changed = true;
    }
    const std::u16string mask = p->IsMasked() ? Utf8ToUtf16(p->GetEditMask()) : std::u16string();
    if (changed || (mode_ ? mode_->Mask() : std::u16string()) != mask) {
        const bool hadMode = mode_ != nullptr;
        mode_ = p->CreateMode(host_.get());
        changed = true;
        if (mode_ && !EditValue().IsNull())
            mode_->SynchronizeEditValue();
        else if (!mode_ && hadMode && SelLength() == 1)
            SetSelection(SelStart(), 0);
    }
    p->SetEmptyString(mode_ ? mode_->GetEmptyString() : std::u16string());
    if (mode_ && (p->EchoMode() != echoMode_ || p->CharCase() != charCase_)) {
        const int start = SelStart(), length = SelLength();
        if (p->EchoMode() != eemPassword)
            mode_->SynchronizeEditValue();
        SetSelection(start, length);
        changed = true;
    }
    echoMode_ = p->EchoMode();
    charCase_ = p->CharCase();
    return changed;
}

void TcxCustomMaskEdit::PropertiesChanged(TObject* sender)
{
    if (!host_ || modeUpdating_) {
        TcxCustomTextEdit::PropertiesChanged(sender);
        return;
    }
    TcxCustomMaskEditProperties* p = ActiveProperties();
    bool changed = false;
    modeUpdating_ = true;
    p->LockUpdate(true);
    try {
        changed = UpdateMode();
        if (mode_ && !PropertiesChangeLocked() && !EditValue().IsNull())
            mode_->UpdateEditValue();
    } catch (...) {
        p->LockUpdate(false);
        modeUpdating_ = false;
        throw;
    }
    p->LockUpdate(false);
    modeUpdating_ = false;
    TcxCustomTextEdit::PropertiesChanged(sender);
    if (changed)
        maskText_ = mode_ ? Utf16ToUtf8(mode_->GetUpdatedText(InnerText())) : std::string();
}

void TcxCustomMaskEdit::Loaded()
{
    TcxCustomTextEdit::Loaded();
    if (!mode_)
        return;
    LockChangeEvents(true);
    try {
        UpdateTextFormatting();
    } catch (...) {
        LockChangeEvents(false);
        throw;
    }
    LockChangeEvents(false);
}

// ---- values and text ---------------------------------------------------------------------------

void TcxCustomMaskEdit::InternalSetDisplayValue(const Variant& value)
{
    if (!mode_ || IsLoading()) {
        TcxCustomTextEdit::InternalSetDisplayValue(value);
        return;
    }
    TcxCustomMaskEditProperties* p = ActiveProperties();
    const std::u16string text = Utf8ToUtf16(VarToStr(value));
    std::u16string shown;
    if (InternalFocused() || mode_->GetMaskKind() != emkStandard || p->AlwaysShowBlanksAndLiterals())
        shown = mode_->GetFormattedText(text);
    else
        shown = mode_->GetUpdatedText(text);
    TcxCustomTextEdit::InternalSetDisplayValue(Variant(Utf16ToUtf8(shown)));
    if (mode_ && CanSynchronizeModeText())
        mode_->SetText(InnerText());
}

std::string TcxCustomMaskEdit::Text()
{
    if (!mode_)
        return TcxCustomTextEdit::Text();
    return Utf16ToUtf8(mode_->GetUpdatedText(InnerText()));
}

bool TcxCustomMaskEdit::SetDisplayText(const std::string& value)
{
    if (!mode_)
        return TcxCustomTextEdit::SetDisplayText(value);
    SetInternalEditValue(Variant(value));
    SetEditValueSilently(Variant(Text()));
    return true;
}

void TcxCustomMaskEdit::SynchronizeDisplayValue()
{
    TcxCustomTextEdit::SynchronizeDisplayValue();
    if (mode_ && CanSynchronizeModeText())
        mode_->SetText(InnerText());
}

void TcxCustomMaskEdit::UndoPerformed()
{
    TcxCustomTextEdit::UndoPerformed();
    if (mode_ && CanSynchronizeModeText())
        mode_->SetText(InnerText());
}

void TcxCustomMaskEdit::ChangeHandler(TObject* sender)
{
    maskText_ = mode_ ? Utf16ToUtf8(mode_->GetUpdatedText(InnerText())) : std::string();
    TcxCustomTextEdit::ChangeHandler(sender);
}

void TcxCustomMaskEdit::PrepareEditValue(const Variant& displayValue, Variant& editValue, bool editFocused)
{
    if (!mode_) {
        TcxCustomTextEdit::PrepareEditValue(displayValue, editValue, editFocused);
        return;
    }
    const bool standard = mode_->GetMaskKind() == emkStandard;
    if (!editFocused && standard) {
        auto* m = static_cast<TcxMaskEditStandardMode*>(mode_.get());
        if (m->StandardMask().SaveLiteralCharacters() || !ActiveProperties()->AlwaysShowBlanksAndLiterals()) {
            TcxCustomTextEdit::PrepareEditValue(displayValue, editValue, editFocused);
            return;
        }
    }
    editValue = Variant(Utf16ToUtf8(mode_->GetUpdatedText(Utf8ToUtf16(VarToStr(displayValue)))));
}

// ---- keys ----------------------------------------------------------------------------------------

void TcxCustomMaskEdit::DoEditKeyDown(std::uint16_t& key, TShiftState shift)
{
    if (!mode_ || ownKey_ || IsSpecialKey(key, shift)) {
        TcxCustomTextEdit::DoEditKeyDown(key, shift);
        return;
    }
    if (!ValidateKeyDown(key, shift)) {
        DoAfterKeyDown(key, shift);
        key = 0;
        return;
    }
    if (key == VK_TAB) {
        TcxCustomTextEdit::DoEditKeyDown(key, shift);
        return;
    }
    selecting_ = shift.Contains(ssShift);
    const bool ctrl = shift.Contains(ssCtrl);
    auto consumeUnless = [&](bool modeLetsThrough) {
        if (!modeLetsThrough)
            key = 0;
    };
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        if (!HasPopupWindow()) {
            DoAfterKeyDown(key, shift);
            key = 0;
        }
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        const bool left = key == VK_LEFT;
        if (ctrl) {
            // A word move is a move to the end the arrow points at.
            if (left ? mode_->PressHome() : mode_->PressEnd())
                SendOwnKey(WM_KEYDOWN, left ? VK_HOME : VK_END);
            key = 0;
            break;
        }
        if (left ? mode_->IsCursorBegin() : mode_->IsCursorEnd())
            DoAfterKeyDown(key, shift);
        if (key != 0)
            consumeUnless(left ? mode_->PressLeft() : mode_->PressRight());
        break;
    }
    case VK_DELETE:
        if (!shift.Contains(ssShift))
            consumeUnless(mode_->PressDelete());
        else if (SelLength() == 0)
            consumeUnless(mode_->PressBackSpace());
        break;
    case VK_HOME: consumeUnless(mode_->PressHome()); break;
    case VK_END: consumeUnless(mode_->PressEnd()); break;
    default: break;
    }
    if (key != 0)
        TcxCustomTextEdit::DoEditKeyDown(key, shift);
}

void TcxCustomMaskEdit::DoEditKeyPress(char16_t& key)
{
    if (!mode_ || ownKey_) {
        TcxCustomTextEdit::DoEditKeyPress(key);
        return;
    }
    if (key == u'\t' || key == 27) {
        key = 0;
        return;
    }
    if (!ValidateKeyPress(key)) {
        key = 0;
        return;
    }
    // Enter, and copy, paste, cut and undo (Ctrl+C, V, X, Z), are the field's, not the mask's.
    if (key == u'\r' || key == 3 || key == 22 || key == 24 || key == 26) {
        TcxCustomTextEdit::DoEditKeyPress(key);
        return;
    }
    const bool letThrough = key == u'\b' ? mode_->PressBackSpace() : mode_->PressSymbol(key);
    if (!letThrough) {
        key = 0;
        return;
    }
    TcxCustomTextEdit::DoEditKeyPress(key);
}

// ---- mouse, focus and selection ------------------------------------------------------------------------

void TcxCustomMaskEdit::SelChange(TObject* sender)
{
    TcxCustomTextEdit::SelChange(sender);
    if (mode_ && !directSelection_ && !ownKey_)
        mode_->LMouseDown();
}

void TcxCustomMaskEdit::FieldMouseSelection(bool dragging)
{
    if (!mode_)
        return;
    const bool old = selecting_;
    if (dragging)
        selecting_ = true;
    mode_->LMouseDown();
    selecting_ = old;
}

void TcxCustomMaskEdit::DoEnter()
{
    TcxCustomTextEdit::DoEnter();
    if (mode_ && ActiveProperties()->AutoSelect())
        mode_->GotoEnd();
}

void TcxCustomMaskEdit::DblClick()
{
    TcxCustomTextEdit::DblClick();
    if (mode_)
        mode_->GotoEnd();
}

// ---- clipboard ----------------------------------------------------------------------------------

template <class F>
void TcxCustomMaskEdit::WithModePaste(int length, F&& insert)
{
    mode_->SetPasteLength(length);
    mode_->PrePasteFromClipboard();
    insert();
    if (mode_)
        mode_->AfterPasteFromClipboard();
}

void TcxCustomMaskEdit::CutToClipboard()
{
    if (!mode_) {
        TcxCustomTextEdit::CutToClipboard();
        return;
    }
    if (InternalFocused() && !DoEditing())
        return;
    CopyToClipboard();
    // The field deletes a selection on the character Backspace makes, not on the key alone.
    if (mode_->PressDelete())
        host_->SendOwnKeyDown(VK_BACK);
}

void TcxCustomMaskEdit::PasteFromClipboard()
{
    if (!mode_) {
        TcxCustomTextEdit::PasteFromClipboard();
        return;
    }
    if (!Clipboard()->HasFormat(CF_TEXT))
        return;
    const int length = int(Utf8ToUtf16(Clipboard()->AsText()).size());
    WithModePaste(length, [this] { TcxCustomTextEdit::PasteFromClipboard(); });
}

void TcxCustomMaskEdit::SetSelText(const std::string& value)
{
    if (!mode_) {
        TcxCustomTextEdit::SetSelText(value);
        return;
    }
    WithModePaste(int(Utf8ToUtf16(value).size()), [&] { TcxCustomTextEdit::SetSelText(value); });
}

} // namespace cx
