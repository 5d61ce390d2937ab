// The inner text edit: a platform edit control inside the editor. Keys and characters reach the
// editor first through the container's hook; here every other input path (clipboard messages and
// short cuts, the context menu, drops, middle-button paste, input-method compositions, replaced
// selections) is handed to the editor, and the line edit's own extras are switched off.
#include "toolkit/editors/cxTextEdit.h"

#include <QLineEdit>

#include "platform/rtl/Unicode.h"
#include "platform/vcl/EditBox.h"
#include "platform/vcl/Menus.h"

namespace cx {

// ---- text state ---------------------------------------------------------------------------------

void SaveTextEditState(IcxInnerTextEdit* edit, bool saveText, TcxCustomInnerTextEditPrevState& state)
{
    state.IsTextSaved = saveText;
    if (saveText)
        state.Text = VarToStr(edit->GetEditValue());
    state.SelStart = edit->GetSelStart();
    state.SelLength = edit->GetSelLength();
}

bool CheckTextEditState(IcxInnerTextEdit* edit, const TcxCustomInnerTextEditPrevState& state)
{
    if (!edit->GetControl()->HandleAllocated())
        return true;
    if (edit->GetSelStart() != state.SelStart || edit->GetSelLength() != state.SelLength)
        return true;
    if (!state.IsTextSaved)
        return false;
    return !AnsiSameText(VarToStr(edit->GetEditValue()), state.Text);
}

// ---- helper ---------------------------------------------------------------------------------------

TAlignment TcxCustomInnerTextEditHelper::GetAlignment() { return field_->Alignment(); }

void TcxCustomInnerTextEditHelper::SetAlignment(TAlignment value)
{
    if (alignmentLock_)
        return;
    TcxCustomTextEdit* c = field_->Container();
    if (c && c->IsInplace() && c->ActiveProperties()->UseLeftAlignmentOnEditing())
        value = taLeftJustify;
    alignmentLock_ = true;
    field_->SetAlignment(value);
    alignmentLock_ = false;
}

TcxEditEchoMode TcxCustomInnerTextEditHelper::GetEchoMode() { return field_->EchoMode(); }
void TcxCustomInnerTextEditHelper::SetEchoMode(TcxEditEchoMode value) { field_->SetEchoMode(value); }

int TcxCustomInnerTextEditHelper::GetFirstVisibleCharIndex()
{
    if (!field_->HandleAllocated())
        return 0;
    return int(LoWord(std::uintptr_t(field_->Perform(EM_CHARFROMPOS, 0, 0))));
}

char16_t TcxCustomInnerTextEditHelper::GetPasswordChar() { return field_->EditPasswordChar(); }
void TcxCustomInnerTextEditHelper::SetPasswordChar(char16_t value) { field_->SetEditPasswordChar(value); }

// ---- the field ------------------------------------------------------------------------------------

TcxCustomInnerTextEdit::TcxCustomInnerTextEdit(TComponent* owner) : TcxInnerControlMouseForwarder(owner)
{
    ControlStyle.Include(csDoubleClicks);
    SetBorderStyle(bsNone);
    // Text set by code and every user change start with a caret at 0 and one undo step; the
    // selection survives a focus round trip (HideSelection only hides it).
    constructing_ = false;
}

TcxCustomInnerTextEdit::~TcxCustomInnerTextEdit() = default;

TcxCustomTextEdit* TcxCustomInnerTextEdit::Container() const { return dynamic_cast<TcxCustomTextEdit*>(Owner()); }

void TcxCustomInnerTextEdit::SetAlignment(TAlignment value)
{
    if (value == alignment_)
        return;
    alignment_ = value;
    // The line edit aligns in place; a new window takes it from the creation parameters.
    if (Box())
        Box()->SetAlignment(value == taRightJustify ? ES_RIGHT : value == taCenter ? ES_CENTER : ES_LEFT);
}

bool TcxCustomInnerTextEdit::NeedAdjustAlignment() const
{
    TcxCustomTextEdit* c = Container();
    return c && c->ActiveProperties()->UseLeftAlignmentOnEditing() &&
           c->ActiveProperties()->Alignment()->Horz() != taLeftJustify;
}

void TcxCustomInnerTextEdit::SetEchoMode(TcxEditEchoMode value)
{
    echoMode_ = value;
    UpdatePasswordChar();
}

void TcxCustomInnerTextEdit::SetEditPasswordChar(char16_t value)
{
    editPasswordChar_ = value;
    UpdatePasswordChar();
}

void TcxCustomInnerTextEdit::UpdatePasswordChar()
{
    const char16_t c = echoMode_ == eemPassword ? (editPasswordChar_ ? editPasswordChar_ : u'*') : 0;
    if (c != PasswordChar())
        SetPasswordChar(c);
}

int TcxCustomInnerTextEdit::GetCursorPos() const
{
    // The caret index itself (an empty text answers 0).
    if (!Box())
        return 0;
    if (auto* line = qobject_cast<QLineEdit*>(Box()->Widget()))
        return line->cursorPosition();
    return SelStart() + SelLength();
}

void TcxCustomInnerTextEdit::SetBounds(int left, int top, int width, int height)
{
    if (constructing_ || boundsLock_ > 0)
        return;
    TCustomEdit::SetBounds(left, top, width, height);
}

void TcxCustomInnerTextEdit::LockBounds(bool lock)
{
    if (lock)
        ++boundsLock_;
    else if (boundsLock_ > 0)
        --boundsLock_;
}

bool TcxCustomInnerTextEdit::CanFocus() const
{
    TcxCustomTextEdit* c = Container();
    return c ? c->CanFocus() : TCustomEdit::CanFocus();
}

bool TcxCustomInnerTextEdit::DoMouseWheel(TShiftState, int, TPoint) { return false; }

void TcxCustomInnerTextEdit::CreateParams(TCreateParams& params)
{
    TCustomEdit::CreateParams(params);
    params.Style &= ~(ES_CENTER | ES_RIGHT);
    params.Style |= (alignment_ == taRightJustify ? ES_RIGHT : alignment_ == taCenter ? ES_CENTER : ES_LEFT) | ES_AUTOHSCROLL;
    params.Style &= ~(WS_BORDER | WS_DLGFRAME | WS_THICKFRAME);
    params.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TcxCustomInnerTextEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    AdjustMargins();
}

void TcxCustomInnerTextEdit::AdjustMargins()
{
    if (HandleAllocated())
        Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MakeLParam(0, 1));
}

void TcxCustomInnerTextEdit::DragOver(TObject* source, int x, int y, TDragState state, bool& accept)
{
    TCustomEdit::DragOver(source, x, y, state, accept);
    if (AcceptsTextDrop(this, source))
        accept = true;
}

void TcxCustomInnerTextEdit::DragDrop(TObject* source, int x, int y)
{
    TCustomEdit::DragDrop(source, x, y);
    DropTextInto(Container(), this, source, x, y);
}

// ---- input routing shared by the text family's fields ----------------------------------------------

bool AcceptsTextDrop(TCustomEdit* field, TObject* source)
{
    auto* from = dynamic_cast<TCustomEdit*>(source);
    return from && from != field && !from->SelText().empty() && !field->ReadOnly();
}

void DropTextInto(TcxCustomTextEdit* c, TCustomEdit* field, TObject* source, int x, int y)
{
    auto* from = dynamic_cast<TCustomEdit*>(source);
    if (!from || from == field || !c || field->ReadOnly())
        return;
    const std::string text = from->SelText();
    if (field->HandleAllocated()) {
        const int pos = LoWord(std::uintptr_t(field->Perform(EM_CHARFROMPOS, 0, MakeLParam(x, y))));
        field->SetSelStart(pos);
    }
    // A drop is the user's change: the editor may refuse it like typing.
    TcxUserChangeScope userChange(c, true);
    std::string newText;
    int caret = 0;
    if (!c->CanChangeSelText(text, newText, caret))
        return;
    c->InternalSetDisplayValue(Variant(newText));
    c->SetSelection(caret, 0);
    c->SetModifiedAfterEnter(true);
}

bool RouteFieldInput(TcxCustomTextEdit* c, TCustomEdit* field, TMessage& m, const std::function<void(TMessage&)>& inherited)
{
    switch (m.Msg) {
    case WM_CHAR:
        // Redo is not a key of the field: Ctrl+Shift+Z types nothing and undoes nothing.
        return char16_t(m.WParam) == 0x1A && KeyboardStateToShiftState().Contains(ssShift);
    case WM_CLEAR:
        if (!field->ReadOnly()) {
            TcxUserChangeScope userChange(c, true);
            c->ClearSelection();
        }
        return true;
    case WM_CUT: {
        TcxUserChangeScope userChange(c, true);
        if (field->ReadOnly())
            c->CopyToClipboard();
        else
            c->CutToClipboard();
        return true;
    }
    case WM_PASTE:
        if (!field->ReadOnly()) {
            TcxUserChangeScope userChange(c, true);
            c->PasteFromClipboard();
        }
        return true;
    case WM_UNDO:
    case EM_UNDO: {
        TcxUserChangeScope userChange(c, true);
        if (!c->DoEditing())
            return true;
        inherited(m);
        // One level, as the system edit keeps: nothing further to undo afterwards.
        if (field->Box())
            field->Box()->ClearUndo();
        c->UndoPerformed();
        return true;
    }
    case WM_IME_COMPOSITION:
        // A composition shows only while the editor lets the user change the text.
        if (c->DoEditing())
            inherited(m);
        return true;
    case WM_MBUTTONUP:
        inherited(m);
        // The press took the mouse like a left one; only the left release gives it back, and a
        // kept capture would send the next press anywhere to this field.
        if (GetCaptureControl() == field)
            ReleaseCapture();
        // The middle button pastes, through the same road as the clipboard short cuts.
        if (field->HandleAllocated())
            field->Perform(WM_PASTE, 0, 0);
        return true;
    case WM_RBUTTONUP:
        inherited(m);
        if (GetCaptureControl() == field)
            ReleaseCapture();
        return true;
    default:
        return false;
    }
}

bool RouteFieldTyping(TcxCustomTextEdit* c, IcxInnerTextEdit* field, TMessage& m,
                      const std::function<void(TMessage&)>& inherited)
{
    // The field's own handling fires the editor's events; a handler may free the editor and the
    // field with it, and then nothing more is done here.
    const auto alive = field->GetControl()->AliveToken();
    switch (m.Msg) {
    case WM_CHAR: {
        TcxCustomInnerTextEditPrevState state;
        SaveTextEditState(field, true, state);
        field->SetInternalUpdating(false);
        inherited(m);
        if (alive.expired())
            return true;
        c->UnlockLookupDataTextChanged();
        if (!field->GetInternalUpdating() && CheckTextEditState(field, state))
            c->SetFindSelection(false);
        return true;
    }
    case EM_REPLACESEL:
        if (c->IsEditFocused() && !c->DoEditing())
            return true;
        inherited(m);
        return true;
    case EM_SETSEL:
        inherited(m);
        if (!alive.expired())
            vcl::FireEvent(field->GetOnSelChange(), field->GetControl());
        return true;
    default:
        return false;
    }
}

void TcxCustomInnerTextEdit::Dispatch(TMessage& m)
{
    TcxCustomTextEdit* c = Container();
    if (!c || c->IsDestroying())
        return TCustomEdit::Dispatch(m);
    if (RouteFieldInput(c, this, m, [this](TMessage& msg) { TCustomEdit::Dispatch(msg); }))
        return;
    // The field's own handling fires the editor's events (change, keys); a handler may free the
    // editor and the field with it, and then nothing more is done here.
    const auto alive = AliveToken();
    switch (m.Msg) {
    case WM_GETDLGCODE: {
        TCustomEdit::Dispatch(m);
        m.Result |= DLGC_WANTCHARS;
        if (c->TabsNeeded() && !KeyboardStateToShiftState().Contains(ssCtrl))
            m.Result |= DLGC_WANTTAB;
        if (c->IsInplace())
            m.Result |= DLGC_WANTALLKEYS;
        return;
    }
    case WM_KEYDOWN: {
        const auto vk = std::uint16_t(m.WParam);
        const TShiftState shift = KeyboardStateToShiftState();
        // The line edit's word deletion is not a key of this field.
        if (vk == VK_DELETE && shift.Contains(ssCtrl) && !shift.Contains(ssShift))
            return;
        TcxCustomInnerTextEditPrevState state;
        SaveTextEditState(&helper_, true, state);
        InternalUpdating = false;
        TCustomEdit::Dispatch(m);
        if (alive.expired())
            return;
        std::uint16_t key = std::uint16_t(m.WParam);
        if (key != 0 && !InternalUpdating && !CheckTextEditState(&helper_, state))
            c->DoAfterKeyDown(key, shift);
        return;
    }
    case WM_CHAR: {
        const auto ch = char16_t(m.WParam);
        // Enter and Esc that the editor already acted on, or that an in-place editor's host
        // handles, end here: the field would only beep.
        if ((ch == 13 || ch == 27) && (c->IsInplace() || c->PopupClosedByKey || (ch == 13 && !c->BeepOnEnter))) {
            c->PopupClosedByKey = false;
            return;
        }
        RouteFieldTyping(c, &helper_, m, [this](TMessage& msg) { TCustomEdit::Dispatch(msg); });
        return;
    }
    case EM_REPLACESEL:
    case EM_SETSEL:
        RouteFieldTyping(c, &helper_, m, [this](TMessage& msg) { TCustomEdit::Dispatch(msg); });
        return;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE: {
        TCustomEdit::Dispatch(m);
        if (!alive.expired() && (m.Msg == WM_LBUTTONDOWN || (m.WParam & MK_LBUTTON)))
            c->FieldMouseSelection(m.Msg == WM_MOUSEMOVE);
        return;
    }
    case WM_SETTEXT:
        TCustomEdit::Dispatch(m);
        // Text set by code starts with the caret at 0, as the system edit leaves it.
        if (!alive.expired() && Box())
            Box()->SetSelection(0, 0);
        return;
    case WM_SETFOCUS:
        // Editing reads from the left; the set alignment comes back when the focus leaves.
        if (NeedAdjustAlignment())
            SetAlignment(taLeftJustify);
        TCustomEdit::Dispatch(m);
        return;
    case WM_KILLFOCUS:
        TCustomEdit::Dispatch(m);
        if (alive.expired())
            return;
        if (NeedAdjustAlignment())
            SetAlignment(c->ActiveProperties()->Alignment()->Horz());
        c->FocusChanged();
        return;
    default:
        TCustomEdit::Dispatch(m);
    }
}

void TcxCustomInnerTextEdit::DefaultHandler(TMessage& m)
{
    TcxCustomTextEdit* c = Container();
    if (c && c->InnerControlDefaultHandler(m))
        return;
    TCustomEdit::DefaultHandler(m);
}

} // namespace cx
