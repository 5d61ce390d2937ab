// The editor control and its user and host: validation and its error handling, in-place
// activation and deactivation, focus entry and exit, keys, mouse and button clicks, the wheel,
// the clipboard messages, hints and accelerators.
#include "toolkit/editors/cxEditControl.h"

#include <cwctype>

#include "platform/rtl/Unicode.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/SystemFacade.h"

namespace cx {

namespace {

// The character after the accelerator mark of a caption (lower case), 0 when none.
char16_t AccelCharOf(const std::string& caption)
{
    const std::u16string s = Utf8ToUtf16(caption);
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] != u'&')
            continue;
        if (s[i + 1] == u'&') {
            ++i;
            continue;
        }
        return char16_t(std::towlower(s[i + 1]));
    }
    return 0;
}
} // namespace

// ---- validation -----------------------------------------------------------------------------------

bool TcxCustomEdit::ValidateEdit(bool raiseException)
{
    if (!modifiedAfterEnter_ || editValidated_ || validateLockCount_ != 0)
        return true;
    FlagScope validating(validating_, true);
    Variant displayValue = GetDisplayValue();
    std::string errorText;
    bool error = false;
    TcxCustomEditProperties* properties = ActiveProperties();
    if (properties->CanValidate())
        properties->ValidateDisplayValue(displayValue, errorText, error, this);
    if (error) {
        revertedAfterError_ = false;
        auto putValidatedText = [&] {
            // After a revert the display already shows the last valid value.
            if (revertedAfterError_ || VarToStr(GetDisplayValue()) == VarToStr(displayValue))
                return;
            SetInternalDisplayValue(displayValue);
            if (Visible()) {
                SelectAll();
                if (!IsEditClass())
                    UpdateDrawValue();
            }
        };
        if (raiseException) {
            auto alive = AliveToken();
            try {
                HandleValidationError(errorText, true);
                Application->ProcessMessages();
            } catch (...) {
                if (!alive.expired())
                    putValidatedText();
                throw;
            }
        }
        putValidatedText();
        return false;
    }
    if (isUserChange_ && !DoEditing())
        return true;
    InternalValidateDisplayValue(displayValue);
    if (!isInplace_ && !IsEditFocused())
        SetModifiedAfterEnter(false);
    editValidated_ = true;
    return true;
}

void TcxCustomEdit::HandleValidationError(const std::string& errorText, bool canAbortExecution)
{
    if (!CanFocus()) {
        // The editor cannot show the error where it is: rather than accept the bad text on the
        // next try, it goes back to the last valid value.
        SynchronizeDisplayValue();
        SetModifiedAfterEnterValue(false);
        revertedAfterError_ = true;
    } else if (Visible()) {
        if (!IsEditFocused()) {
            FlagScope focusing(focusingAfterError_, true);
            if (innerEdit_ && innerEdit_->GetControl()->CanFocus())
                innerEdit_->GetControl()->SetFocus();
            else
                SetFocus();
        }
        SelectAll();
    }
    if (ActiveProperties()->BeepOnError())
        vcl::System().Beep();
    if (!errorText.empty())
        throw EcxEditValidationError(errorText);
    if (canAbortExecution)
        throw EAbort("");
}

// ---- in-place activation ----------------------------------------------------------------------------

void TcxCustomEdit::Activate(TcxCustomEditData*& editData)
{
    if (!editData && GetEditDataClass())
        editData = GetEditDataClass().Create(this);
    editData_ = editData;
    DoClearEditData(editData_);
    SetVisible(true);
    if (HandleAllocated() && CanFocus()) {
        SetFocus();
        if (ActiveProperties()->AutoSelect())
            SelectAll();
    }
    SynchronizeDisplayValue();
    SetModified(false);
    activated_ = true;
}

void TcxCustomEdit::ActivateByKey(char16_t key, TcxCustomEditData*& editData)
{
    LockInnerEditRepainting();
    try {
        Activate(editData);
        if (SendActivationKey(key))
            SendKeyPress(this, key);
    } catch (...) {
        UnlockInnerEditRepainting();
        throw;
    }
    UnlockInnerEditRepainting();
}

void TcxCustomEdit::ActivateByMouse(TShiftState shift, int x, int y, TcxCustomEditData*& editData)
{
    Activate(editData);
    TPoint p{x, y};
    if (Parent())
        p = ScreenToClient(Parent()->ClientToScreen(p));
    if (shift.Contains(ssLeft)) {
        SendMouseEvent(this, WM_MOUSEMOVE, {}, p);
        SendMouseEvent(this, WM_LBUTTONDOWN, shift, p);
        if (MouseCapture() && !(vcl::System().GetKeyState(VK_LBUTTON) & 0x8000))
            SetMouseCapture(false);
    } else {
        SendMouseEvent(this, WM_LBUTTONUP, shift, p);
    }
    dblClickTimer_->SetInterval(GetDblClickInterval());
    dblClickTimer_->SetEnabled(true);
}

bool TcxCustomEdit::Deactivate()
{
    dblClickTimer_->SetEnabled(false);
    isUserChange_ = false;
    const bool result = ValidateEdit(true);
    if (result) {
        SynchronizeDisplayValue();
        editValidated_ = true;
    }
    return result;
}

void TcxCustomEdit::DoClearEditData(TcxCustomEditData* editData)
{
    if (editData && editData == editData_ && editData->Cleared) {
        InitializeEditData();
        editData->Cleared = false;
    }
}

void TcxCustomEdit::DblClickTimerHandler(TObject*) { dblClickTimer_->SetEnabled(false); }

// ---- focus ----------------------------------------------------------------------------------------

void TcxCustomEdit::DoEnter()
{
    if (IsDestroying())
        return;
    if (!focusingAfterError_)
        DoShowEdit();
    ShortRefreshContainer(false);
    if (dxISpellChecker)
        dxISpellChecker->CheckStart(GetInnerEditControl());
}

void TcxCustomEdit::DoShowEdit()
{
    SaveModified();
    auto restore = [this] {
        RestoreModified();
        SetModifiedAfterEnterValue(false);
    };
    try {
        TcxContainer::DoEnter();
        if (UpdateContentOnFocusChanging())
            dataBinding_->UpdateDisplayValue();
        if (ActiveProperties()->IsResetEditClass())
            prevEditValue_ = GetEditValue();
        if (UpdateContentOnFocusChanging())
            SynchronizeDisplayValue();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TcxCustomEdit::DoExit()
{
    FlagScope userChange(isUserChange_, false);
    if (dxISpellChecker)
        dxISpellChecker->CheckFinish();
    DoHideEdit(true);
}

void TcxCustomEdit::DoHideEdit(bool exit)
{
    if (IsDestroying() || focusingAfterError_)
        return;
    SaveModified();
    bool valid = false;
    try {
        WithChangeEventsLocked(true, [&] {
            valid = ValidateEdit(true);
            if (valid && !isInplace_ && CanPostEditValue())
                InternalPostEditValue(false);
        });
    } catch (...) {
        RestoreModified();
        throw;
    }
    if (!valid) {
        RestoreModified();
        return;
    }
    if (UpdateContentOnFocusChanging())
        dataBinding_->UpdateDisplayValue();
    UpdateDrawValue();
    ShortRefreshContainer(false);
    RestoreModified();
    if (exit)
        TcxContainer::DoExit();
    SetModifiedAfterEnterValue(false);
    SaveModified();
    RestoreModified();
}

void TcxCustomEdit::FocusChanged()
{
    if (IsDestroying() || focusingAfterError_ || !changeEventsCatcher_)
        return;
    const bool focused = IsEditFocused() && Application->Active();
    if (focused == hasFocus_)
        return;
    hasFocus_ = focused;
    TcxContainer::FocusChanged();
    DoFocusChanged();
}

void TcxCustomEdit::DoFocusChanged()
{
    UpdateDrawValue();
    TCustomForm* form = GetParentForm();
    if (form && !form->Visible() && form->FormState.Contains(fsModal) && form->ModalResult() != mrNone &&
        form->ModalResult() != mrCancel)
        ValidateEdit(false);
}

bool TcxCustomEdit::IsActiveControl()
{
    if (IsEditFocused())
        return true;
    TCustomForm* form = GetParentForm();
    if (!form)
        return false;
    TWinControl* active = form->ActiveControl();
    return active && (active == this || active == GetInnerEditControl());
}

// ---- keys -----------------------------------------------------------------------------------------

bool TcxCustomEdit::IsEditorKey(std::uint16_t key, TShiftState shift)
{
    return GetDefaultButtonVisibleIndex() != -1 && ShortCut(key, shift) == ActiveProperties()->ClickKey();
}

bool TcxCustomEdit::IsSpecialKey(std::uint16_t key, TShiftState shift)
{
    const TShortCut s = ShortCut(key, shift);
    return s == ActiveProperties()->ClearKey() ||
           (GetDefaultButtonVisibleIndex() != -1 && s == ActiveProperties()->ClickKey());
}

void TcxCustomEdit::KeyDown(std::uint16_t& key, TShiftState shift)
{
    escapeHandled_ = false;
    auto alive = AliveToken();
    if (!IsEditorKey(key, shift))
        TcxContainer::KeyDown(key, shift);
    if (alive.expired())
        return;
    if (key != 0)
        DoEditKeyDown(key, shift);
    if (!alive.expired() && key != 0 && NeedsInvokeAfterKeyDown(key, shift))
        DoAfterKeyDown(key, shift);
    // An in-place editor claims every key for its host. An Esc that neither took (the editor was
    // not changed) goes on to the form, as from a field that does not claim it: one Esc both
    // closes the editor and cancels the dialog.
    if (!alive.expired() && key == VK_ESCAPE && isInplace_ && shift == TShiftState{})
        if (TCustomForm* form = GetParentForm(); form && form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0) != 0)
            key = 0;
}

void TcxCustomEdit::DoEditKeyDown(std::uint16_t& key, TShiftState shift)
{
    if (key == 0)
        return;
    TcxCustomEditProperties* properties = ActiveProperties();
    const TShortCut s = ShortCut(key, shift);
    if (s != 0 && s == properties->ClearKey()) {
        WithChangeEventsLocked(true, [this] {
            FlagScope userChange(isUserChange_, true);
            SetInternalEditValue(GetClearValue());
            editValidated_ = true;
        });
        key = 0;
        return;
    }
    if (GetDefaultButtonVisibleIndex() != -1 && s == properties->ClickKey()) {
        if (HandleAllocated())
            KillMessages(Handle(), WM_CHAR, WM_CHAR);
        DefaultButtonClick();
        key = 0;
        return;
    }
    if (!ValidateKeyDown(key, shift)) {
        DoAfterKeyDown(key, shift);
        key = 0;
        return;
    }
    switch (key) {
    case VK_TAB:
        if (IsEditFocused() && !shift.Contains(ssAlt) && !shift.Contains(ssCtrl) &&
            !properties->InnerEditNeedsTabs()) {
            auto alive = AliveToken();
            DoEditProcessTab(shift);
            DoAfterKeyDown(key, shift);
            if (alive.expired() || key == 0)
                break;
            key = 0;
            // The form moves the focus as for any Tab it is offered; a form hosted inside a Qt
            // window hands it on to the window's next widget instead of cycling inside itself.
            if (TCustomForm* form = GetParentForm())
                form->Perform(CM_DIALOGKEY, VK_TAB, 0);
            if (!alive.expired() && Focused() && innerEdit_)
                innerEdit_->SafelySetFocus();
        }
        break;
    case VK_RETURN:
        if (properties->ValidateOnEnter()) {
            key = 0;
            WithChangeEventsLocked(true, [this] {
                if (ValidateEdit(true) && CanPostEditValue())
                    InternalPostEditValue(false);
            });
        }
        break;
    case VK_ESCAPE:
        if (modifiedAfterEnter_ && IsResetEditClass()) {
            WithChangeEventsLocked(true, [this] {
                dataBinding_->Reset();
                SetModified(true);
            });
            escapeHandled_ = true;
            key = 0;
        }
        break;
    default:
        break;
    }
    if (key != 0 && !WantNavigationKeys() && key >= VK_PRIOR && key <= VK_DOWN) {
        DoAfterKeyDown(key, shift);
        key = 0;
    }
}

void TcxCustomEdit::DoAfterKeyDown(std::uint16_t& key, TShiftState shift)
{
    if (OnAfterKeyDown.Assigned())
        OnAfterKeyDown(this, key, shift);
}

bool TcxCustomEdit::ValidateKeyDown(std::uint16_t& key, TShiftState shift)
{
    return dataBinding_->GetModified() || !CanKeyDownModifyEdit(key, shift) || DoEditing();
}

void TcxCustomEdit::KeyPress(char16_t& key)
{
    if (key == 27 && escapeHandled_) {
        escapeHandled_ = false;
        key = 0;
        return;
    }
    auto alive = AliveToken();
    TcxContainer::KeyPress(key);
    if (alive.expired() || key == 0)
        return;
    DoEditKeyPress(key);
    if (key != 0 && dxISpellChecker)
        dxISpellChecker->KeyPress(key);
}

bool TcxCustomEdit::ValidateKeyPress(char16_t& key)
{
    if (IsTextChar(key) && !IsValidChar(key)) {
        key = 0;
        vcl::System().Beep();
    } else if (!dataBinding_->GetModified() && CanKeyPressModifyEdit(key) && !DoEditing()) {
        key = 0;
    }
    return key != 0;
}

bool TcxCustomEdit::IsValidChar(char16_t key)
{
    IcxEditDefaultValuesProvider* provider = ActiveProperties()->GetIDefaultValuesProvider();
    return !provider || provider->IsValidChar(key) || provider->IsOnSetTextAssigned();
}

void TcxCustomEdit::KeyUp(std::uint16_t& key, TShiftState shift)
{
    TcxContainer::KeyUp(key, shift);
    if (key != 0)
        DoEditKeyUp(key, shift);
}

bool TcxCustomEdit::CheckButtonShortCuts(char16_t key)
{
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!vi)
        return false;
    const char16_t ch = char16_t(std::towlower(key));
    TcxEditButtons* buttons = ActiveProperties()->Buttons();
    for (std::size_t i = 0; i < vi->ButtonsInfo.size(); ++i) {
        TcxEditButtonViewInfo* b = vi->ButtonsInfo[i];
        if (b->Data.State == ebsDisabled || b->Index < 0 || b->Index >= buttons->Count())
            continue;
        if (AccelCharOf(buttons->Items(b->Index)->Caption()) == ch) {
            DoButtonClick(int(i));
            return true;
        }
    }
    return false;
}

// ---- mouse and buttons ----------------------------------------------------------------------------

void TcxCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    auto alive = AliveToken();
    if (button == mbLeft && dblClickTimer_->Enabled()) {
        dblClickTimer_->SetEnabled(false);
        if (ButtonVisibleIndexAt({x, y}) == -1)
            DblClick();
        if (alive.expired())
            return;
    }
    TcxContainer::MouseDown(button, shift, x, y);
    if (alive.expired())
        return;
    if (button == mbLeft && MouseCapture()) {
        const int index = ButtonVisibleIndexAt({x, y});
        TcxCustomEditViewInfo* vi = EditViewInfo();
        if (index != -1 && vi && vi->ButtonsInfo[std::size_t(index)]->Data.State == ebsPressed)
            capturedButton_ = index;
    }
}

void TcxCustomEdit::DblClick()
{
    const TPoint p = HandleAllocated() ? ScreenToClient(InternalGetCursorPos()) : TPoint{-1, -1};
    if (ButtonVisibleIndexAt(p) == -1) {
        TcxContainer::DblClick();
        return;
    }
    auto alive = AliveToken();
    TShiftState shift = InternalGetShiftState();
    shift.Include(ssLeft);
    MouseDown(mbLeft, shift, p.X, p.Y);
    if (!alive.expired())
        Click();
}

void TcxCustomEdit::Click()
{
    if (IsDestroying() || clickLockCount_ > 0 || (IsLoading() && !IsClickEnabledDuringLoading()))
        return;
    TcxContainer::Click();
}

void TcxCustomEdit::DoClick()
{
    SetModifiedAfterEnter(true);
    if (clickLockCount_ == 0)
        Click();
}

int TcxCustomEdit::ButtonVisibleIndexAt(const TPoint& p)
{
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!vi)
        return -1;
    for (std::size_t i = 0; i < vi->ButtonsInfo.size(); ++i)
        if (cxRectPtIn(vi->ButtonsInfo[i]->Bounds, p))
            return int(i);
    return -1;
}

int TcxCustomEdit::GetDefaultButtonVisibleIndex()
{
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!vi)
        return -1;
    for (std::size_t i = 0; i < vi->ButtonsInfo.size(); ++i)
        if (vi->ButtonsInfo[i]->Data.Default)
            return int(i);
    return -1;
}

void TcxCustomEdit::DefaultButtonClick()
{
    const int index = GetDefaultButtonVisibleIndex();
    if (index != -1)
        DoButtonClick(index);
}

void TcxCustomEdit::DoButtonClick(int buttonVisibleIndex)
{
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!vi || buttonVisibleIndex < 0 || buttonVisibleIndex >= vi->ButtonCount())
        return;
    DoButtonClickEvents(vi->ButtonsInfo[std::size_t(buttonVisibleIndex)]->Index);
}

bool TcxCustomEdit::HandleMouseWheel(TShiftState shift)
{
    return !isInplace_ || ActiveProperties()->UseMouseWheel() || shift.Contains(ssCtrl);
}

bool TcxCustomEdit::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    // An in-place editor that does not take the wheel leaves it to its host.
    if (!HandleMouseWheel(shift))
        return false;
    return TcxContainer::DoMouseWheel(shift, wheelDelta, mousePos);
}

// ---- messages -------------------------------------------------------------------------------------

void TcxCustomEdit::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_COPY:
    case WM_CUT:
    case WM_PASTE:
        return HandleClipboardMessage(msg);
    case CM_HINTSHOW:
        return HandleHintShow(msg);
    case CM_DIALOGCHAR:
        return HandleDialogChar(msg);
    case CM_SHOWINGCHANGED:
        TcxContainer::Dispatch(msg);
        if (Showing())
            SetSize();
        return;
    case CM_ENTER:
        TcxContainer::Dispatch(msg);
        return;
    default:
        TcxContainer::Dispatch(msg);
    }
}

void TcxCustomEdit::DefaultHandler(TMessage& msg)
{
    if (isInplace_ && msg.Msg == WM_CONTEXTMENU)
        return;
    TcxContainer::DefaultHandler(msg);
}

void TcxCustomEdit::HandleClipboardMessage(TMessage& msg)
{
    const bool readOnly = ActiveProperties()->GetReadOnly();
    const bool dataAvailable = dataBinding_->GetIsDataAvailable();
    switch (msg.Msg) {
    case WM_COPY:
        CopyToClipboard();
        break;
    case WM_CUT: {
        FlagScope userChange(isUserChange_, true);
        if (readOnly || !dataAvailable)
            CopyToClipboard();
        else
            CutToClipboard();
        break;
    }
    case WM_PASTE:
        if (!readOnly && dataAvailable) {
            FlagScope userChange(isUserChange_, true);
            PasteFromClipboard();
        }
        break;
    default:
        break;
    }
}

void TcxCustomEdit::HandleHintShow(TMessage& msg)
{
    auto* info = reinterpret_cast<THintInfo*>(msg.LParam);
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!info || !vi) {
        TcxContainer::Dispatch(msg);
        return;
    }
    const int part = vi->GetPart(info->CursorPos);
    if (part == -2) {
        msg.Result = -1;
        return;
    }
    std::string text = GetHintText(part);
    if (const auto bar = text.find('|'); bar != std::string::npos)
        text.erase(bar);
    info->HintStr = text;
    info->CursorRect = vi->GetPartRect(part);
    msg.Result = 0;
}

std::string TcxCustomEdit::GetHintText(int part)
{
    std::string text;
    TcxEditButtons* buttons = ActiveProperties()->Buttons();
    if (part >= 0 && part < buttons->Count())
        text = buttons->Items(part)->Hint();
    if (text.empty() && ShowHint)
        text = Hint;
    return text;
}

void TcxCustomEdit::HandleDialogChar(TMessage& msg)
{
    if (CheckButtonShortCuts(char16_t(msg.WParam))) {
        msg.Result = 1;
        return;
    }
    TcxContainer::Dispatch(msg);
}

} // namespace cx
