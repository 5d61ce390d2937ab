// The drop-down editor base: its settings, its view data, the popup controls' look and feel, and
// the editor that opens its popup (by a posted show message), closes it with a reason and hands
// the choice back; keys, in-place activation, mouse, focus, paste and wheel.
#include "toolkit/editors/cxDropDownEdit.h"

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Graphics.h"
#include "platform/rtl/Unicode.h"

#include <algorithm>

namespace cx {

// ---- properties ----------------------------------------------------------------------------------

TcxCustomDropDownEditProperties::TcxCustomDropDownEditProperties(TPersistent* owner)
    : TcxCustomMaskEditProperties(owner)
{
    BeginUpdate();
    Buttons()->Add()->SetKind(bkDown);
    glyphButtonIndex_ = DropDownButtonVisibleIndex();
    EndUpdate(false);
}

TcxCustomDropDownEditProperties::~TcxCustomDropDownEditProperties() = default;

TBitmap* TcxCustomDropDownEditProperties::ButtonGlyph()
{
    if (!glyph_)
        glyph_ = std::make_unique<TBitmap>();
    return glyph_.get();
}

bool TcxCustomDropDownEditProperties::HasButtonGlyph() const { return glyph_ && !glyph_->GetEmpty(); }

void TcxCustomDropDownEditProperties::SetButtonGlyph(TBitmap* value)
{
    if (value)
        ButtonGlyph()->Assign(value);
    else
        glyph_.reset();
    Changed();
}

void TcxCustomDropDownEditProperties::SetGlyphButtonIndex(int value)
{
    if (value == glyphButtonIndex_)
        return;
    BeginUpdate();
    if (glyphButtonIndex_ >= 0 && glyphButtonIndex_ < Buttons()->Count()) {
        TcxEditButton* old = Buttons()->Items(glyphButtonIndex_);
        if (old->Kind() == bkGlyph)
            old->SetKind(bkDown);
        old->SetGlyph(nullptr);
    }
    glyphButtonIndex_ = value;
    EndUpdate();
}

void TcxCustomDropDownEditProperties::CheckGlyphButtonKind()
{
    if (glyphButtonIndex_ < 0 || glyphButtonIndex_ >= Buttons()->Count())
        return;
    TcxEditButton* b = Buttons()->Items(glyphButtonIndex_);
    if (HasButtonGlyph()) {
        b->SetGlyph(glyph_.get());
        b->SetKind(bkGlyph);
    } else if (b->Kind() == bkGlyph) {
        b->SetKind(bkDown);
    }
}

void TcxCustomDropDownEditProperties::Changed()
{
    if (changing_)
        return;
    changing_ = true;
    try {
        CheckGlyphButtonKind();
    } catch (...) {
        changing_ = false;
        throw;
    }
    changing_ = false;
    TcxCustomMaskEditProperties::Changed();
}

void TcxCustomDropDownEditProperties::SetPopupAlignment(TAlignment value)
{
    popupAlignment_ = value;
    popupHorzAlignment_ = value == taRightJustify ? pahRight : value == taCenter ? pahCenter : pahLeft;
    Changed();
}

void TcxCustomDropDownEditProperties::SetPopupHeight(int value) { popupHeight_ = std::max(value, popupMinHeight_); }

void TcxCustomDropDownEditProperties::SetPopupWidth(int value)
{
    popupWidth_ = value < 0 ? 0 : (value > 0 && value < popupMinWidth_ ? popupMinWidth_ : value);
}

void TcxCustomDropDownEditProperties::SetPopupMinHeight(int value)
{
    popupMinHeight_ = std::max(0, value);
    SetPopupHeight(popupHeight_);
}

void TcxCustomDropDownEditProperties::SetPopupMinWidth(int value)
{
    popupMinWidth_ = std::max(0, value);
    SetPopupWidth(popupWidth_);
}

void TcxCustomDropDownEditProperties::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCustomDropDownEditProperties*>(source);
    if (!s) {
        TcxCustomMaskEditProperties::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        TcxCustomMaskEditProperties::Assign(source);
        SetButtonGlyph(s->HasButtonGlyph() ? s->glyph_.get() : nullptr);
        immediateDropDown_ = s->immediateDropDown_;
        immediatePopup_ = s->immediatePopup_;
        keepArrowPressed_ = s->keepArrowPressed_;
        SetPopupAlignment(s->popupAlignment_);
        popupAutoSize_ = s->popupAutoSize_;
        popupClientEdge_ = s->popupClientEdge_;
        popupDirection_ = s->popupDirection_;
        popupHorzAlignment_ = s->popupHorzAlignment_;
        popupVertAlignment_ = s->popupVertAlignment_;
        popupMinHeight_ = s->popupMinHeight_;
        popupMinWidth_ = s->popupMinWidth_;
        popupHeight_ = s->popupHeight_;
        popupWidth_ = s->popupWidth_;
        popupSizeable_ = s->popupSizeable_;
        popupSysPanelStyle_ = s->popupSysPanelStyle_;
        postPopupValueOnTab_ = s->postPopupValueOnTab_;
        OnCloseQuery = s->OnCloseQuery;
        OnCloseUp = s->OnCloseUp;
        OnInitPopup = s->OnInitPopup;
        OnPopup = s->OnPopup;
        OnPopupFinalized = s->OnPopupFinalized;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TcxCustomEditPopupWindowClass TcxCustomDropDownEditProperties::GetPopupWindowClass() const
{
    return TcxCustomEditPopupWindowClass::Of<TcxCustomEditPopupWindow>();
}

const TClassMeta* TcxCustomDropDownEditProperties::GetContainerClass() const
{
    return &TcxCustomDropDownEdit::StaticClass();
}

TcxCustomEditViewDataClass TcxCustomDropDownEditProperties::GetViewDataClass() const
{
    return TcxCustomEditViewDataClass::Of<TcxCustomDropDownEditViewData>();
}

// ---- view data -------------------------------------------------------------------------------------

void TcxCustomDropDownEditViewData::Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p,
                                              TcxMouseButton button, TShiftState shift,
                                              TcxCustomEditViewInfo* viewInfo, bool isMouseEvent)
{
    auto* props = static_cast<TcxCustomDropDownEditProperties*>(Properties());
    keepArrowPressed_ = props->KeepArrowButtonPressedWhenDroppedDown();
    TcxCustomTextEditViewData::Calculate(canvas, bounds, p, button, shift, viewInfo, isMouseEvent);
    auto* vi = static_cast<TcxCustomTextEditViewInfo*>(viewInfo);
    vi->HasPopupWindow = HasPopupWindow;
    const TcxEditEditingStyle style = props->GetEditingStyle();
    vi->DrawSelectionBar = !IsInplace() && style == esFixedList && InternalFocused() && !HasPopupWindow &&
                           !vi->Transparent;
}

bool TcxCustomDropDownEditViewData::CanPressButton(TcxCustomEditViewInfo*, int) { return !IsHotAndPopup; }

bool TcxCustomDropDownEditViewData::IsButtonPressed(TcxCustomEditViewInfo*, int buttonVisibleIndex)
{
    auto* props = static_cast<TcxCustomDropDownEditProperties*>(Properties());
    return keepArrowPressed_ && (HasPopupWindow || IsHotAndPopup) &&
           buttonVisibleIndex == props->DropDownButtonVisibleIndex();
}

// ---- popup controls' look and feel ------------------------------------------------------------------

TcxEditPopupControlLookAndFeel::TcxEditPopupControlLookAndFeel(TcxCustomDropDownEdit* edit)
    : TcxLookAndFeel(edit), edit_(edit)
{
    kind_ = InternalGetKind();
    nativeStyle_ = InternalGetNativeStyle();
}

TcxLookAndFeelKind TcxEditPopupControlLookAndFeel::InternalGetKind() const
{
    return edit_->GetPopupWindowControlsLookAndFeelKind();
}

bool TcxEditPopupControlLookAndFeel::InternalGetNativeStyle() const { return edit_->IsNativeStyle(); }

void TcxEditPopupControlLookAndFeel::EditStyleChanged()
{
    TcxLookAndFeelValues changed;
    const TcxLookAndFeelKind kind = InternalGetKind();
    const bool native = InternalGetNativeStyle();
    if (kind != kind_)
        changed.Include(lfvKind);
    if (native != nativeStyle_)
        changed.Include(lfvNativeStyle);
    kind_ = kind;
    nativeStyle_ = native;
    if (!changed.Empty())
        MasterLookAndFeelChanged(this, changed);
}

// ---- the editor: construction and the window ----------------------------------------------------------

TcxEditClasses TcxCustomDropDownEdit::DropDownClassesWith(TcxCustomEditPropertiesClass properties)
{
    TcxEditClasses c;
    c.Properties = properties;
    c.InnerEdit = TcxInnerEditClass::Of<TcxCustomDropDownInnerEdit>();
    c.EditData = TcxCustomEditDataClass::Of<TcxCustomDropDownEditData>();
    return c;
}

TcxCustomDropDownEdit::TcxCustomDropDownEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomMaskEdit(owner, isInplace, classes)
{
    Construct();
}

void TcxCustomDropDownEdit::Construct()
{
    popupLookAndFeel_ = std::make_unique<TcxEditPopupControlLookAndFeel>(this);
    popupLookAndFeel_->OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues) {
        PopupControlsLookAndFeelChanged(popupLookAndFeel_.get());
    };
}

TcxCustomDropDownEdit::~TcxCustomDropDownEdit()
{
    if (popupWindow_)
        BeforeDestruction();
}

void TcxCustomDropDownEdit::BeforeDestruction()
{
    if (popupWindow_) {
        const auto alive = popupWindow_->AliveToken();
        if (DroppedDown())
            CloseUp(crUnknown);
        if (!alive.expired() && IsShowPopupQueued())
            KillMessages(popupWindow_->Handle(), CM_SHOWPOPUPWINDOW, CM_SHOWPOPUPWINDOW);
        TcxCustomEditPopupWindow* w = popupWindow_;
        popupWindow_ = nullptr;
        if (!alive.expired())
            w->Free();
    }
    if (ChangeEventsCatcher())
        TcxCustomMaskEdit::BeforeDestruction();
}

TcxCustomEditPopupWindow* TcxCustomDropDownEdit::PopupWindow()
{
    if (!popupWindow_)
        CreatePopupWindow();
    return popupWindow_;
}

TcxEditPopupControlLookAndFeel* TcxCustomDropDownEdit::PopupControlsLookAndFeel() { return popupLookAndFeel_.get(); }

void TcxCustomDropDownEdit::CreatePopupWindow()
{
    popupWindow_ = ActiveProperties()->GetPopupWindowClass().Create(this);
    popupAlive_ = popupWindow_->AliveToken();
    popupWindow_->SetCaptureFocus(ActiveProperties()->PopupWindowCapturesFocus());
    popupWindow_->SetIsTopMost(!IsInplace());
    popupWindow_->Style()->GetLookAndFeel()->SetMasterLookAndFeel(EditStyle()->GetLookAndFeel());
    popupWindow_->OnClosed = TNotifyEvent(this, &TcxCustomDropDownEdit::PopupWindowClosed);
    popupWindow_->OnShowed = TNotifyEvent(this, &TcxCustomDropDownEdit::PopupWindowShowed);
}

void TcxCustomDropDownEdit::Notification(TComponent* component, TOperation operation)
{
    TcxCustomMaskEdit::Notification(component, operation);
    if (operation == opRemove && component && component == popupWindow_) {
        popupWindow_ = nullptr;
        popupAlive_.reset();
    }
}

bool TcxCustomDropDownEdit::DroppedDown() const { return PopupWhole() && popupWindow_->IsVisible(); }

bool TcxCustomDropDownEdit::HasPopupWindow() const { return DroppedDown(); }

bool TcxCustomDropDownEdit::IsShowPopupQueued() const
{
    return PopupWhole() && popupWindow_->HandleAllocated() &&
           IsMessageInQueue(popupWindow_->Handle(), CM_SHOWPOPUPWINDOW);
}

void TcxCustomDropDownEdit::SetDroppedDown(bool value)
{
    if (value == DroppedDown())
        return;
    if (value) {
        if (!IsShowPopupQueued())
            DropDown();
    } else {
        CloseUp(crUnknown);
    }
}

TcxCustomDropDownEditData* TcxCustomDropDownEdit::DropDownEditData() const
{
    return dynamic_cast<TcxCustomDropDownEditData*>(EditData());
}

void TcxCustomDropDownEdit::FireOwnAndRepository(TNotifyEvent TcxCustomDropDownEditProperties::*event)
{
    vcl::FireEvent(Properties()->*event, this);
    if (RepositoryItem() && ActiveProperties() != Properties())
        vcl::FireEvent(ActiveProperties()->*event, this);
}

// ---- opening -------------------------------------------------------------------------------------------

void TcxCustomDropDownEdit::DropDown()
{
    if (!HandleAllocated() || !Showing())
        return;
    DoInitPopup();
    if (!CanDropDown()) {
        DoFinalizePopup();
        return;
    }
    SetupPopupWindow();
    TcxCustomEditPopupWindow* w = PopupWindow();
    w->HandleNeeded();
    w->SetFocusedControl(GetPopupFocusedControl());
    vcl::PostMessage(w->Handle(), CM_SHOWPOPUPWINDOW);
}

void TcxCustomDropDownEdit::DoInitPopup()
{
    if (popupInitialized_)
        return;
    popupInitialized_ = true;
    try {
        FireOwnAndRepository(&TcxCustomDropDownEditProperties::OnInitPopup);
    } catch (...) {
        popupInitialized_ = false;
        throw;
    }
    if (LookupData() && ActiveProperties()->UseLookupData())
        LookupData()->DropDown();
}

void TcxCustomDropDownEdit::DoFinalizePopup()
{
    if (!popupInitialized_)
        return;
    popupInitialized_ = false;
    if (LookupData())
        LookupData()->CloseUp();
    FireOwnAndRepository(&TcxCustomDropDownEditProperties::OnPopupFinalized);
}

void TcxCustomDropDownEdit::DoPopup()
{
    closeUpReason_ = crUnknown;
    closeUpReasonSet_ = false;
    FireOwnAndRepository(&TcxCustomDropDownEditProperties::OnPopup);
}

void TcxCustomDropDownEdit::DoCloseUp()
{
    if (OnClosePopup.Assigned())
        OnClosePopup(this, closeUpReason_);
    if (Properties()->OnPopupClosed.Assigned())
        Properties()->OnPopupClosed(this, closeUpReason_);
    FireOwnAndRepository(&TcxCustomDropDownEditProperties::OnCloseUp);
}

void TcxCustomDropDownEdit::DoCloseQuery(bool& canClose)
{
    if (Properties()->OnCloseQuery.Assigned())
        Properties()->OnCloseQuery(this, canClose);
    if (canClose && RepositoryItem() && ActiveProperties() != Properties() && ActiveProperties()->OnCloseQuery.Assigned())
        ActiveProperties()->OnCloseQuery(this, canClose);
}

void TcxCustomDropDownEdit::PopupWindowCloseQuery(TObject*, bool& canClose) { DoCloseQuery(canClose); }

void TcxCustomDropDownEdit::InitializeLookupData()
{
    TcxCustomTextEditLookupData* lookup = LookupData();
    if (lookup && ActiveProperties()->IsLookupDataVisual() && !IsDesigning())
        lookup->Initialize(PopupWindow());
}

void TcxCustomDropDownEdit::InitializePopupWindow()
{
    TcxCustomEditPopupWindow* w = PopupWindow();
    TcxCustomDropDownEditProperties* p = ActiveProperties();
    w->SetParent(nullptr);
    w->Direction = p->PopupDirection();
    w->AlignHorz = p->PopupHorzAlignment();
    w->AlignVert = p->PopupVertAlignment();
    w->SetClientEdge(p->PopupClientEdge());
    w->SetMinHeight(p->PopupMinHeight());
    w->SetMinWidth(p->PopupMinWidth());
    w->SetPopupAutoSize(p->PopupAutoSize());
    w->SetSizeable(p->PopupSizeable());
    w->SetSysPanelStyle(p->PopupSysPanelStyle());
    TcxCustomDropDownEditData* data = DropDownEditData();
    if (IsInplace() && p->PopupSizeable() && data && data->PopupSizeStored) {
        w->SetPopupWidth(data->PopupWidth);
        w->SetPopupHeight(data->PopupHeight);
    } else {
        w->SetPopupWidth(p->PopupWidth());
        w->SetPopupHeight(p->PopupHeight());
    }
    w->SetCloseButton(GetEditActiveStyle()->GetPopupCloseButton());
    TcxCustomEditViewInfo* vi = EditViewInfo();
    TcxEditPopupBorderStyle border = vi ? vi->PopupBorderStyle : epbsDefault;
    if (border == epbsDefault)
        border = epbsSingle;
    w->SetBorderStyle(border);
    w->SetNativeStyle(vi && vi->NativeStyle);
    w->SetShadow(vi && vi->Shadow);
    w->OwnerParent = Parent();
}

TRect TcxCustomDropDownEdit::GetPopupWindowOwnerControlBounds()
{
    TRect r{0, 0, Width(), Height()};
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (vi && vi->Shadow)
        r.Right += 3;
    return {r.Left + Left(), r.Top + Top(), r.Right + Left(), r.Bottom + Top()};
}

TSize TcxCustomDropDownEdit::GetMaxVisualAreaSize()
{
    TcxCustomEditPopupWindow* w = PopupWindow();
    const TRect ob = GetPopupWindowOwnerControlBounds();
    const TPoint tl = Parent() ? Parent()->ClientToScreen({ob.Left, ob.Top}) : TPoint{ob.Left, ob.Top};
    const TRect o{tl.X, tl.Y, tl.X + ob.Width(), tl.Y + ob.Height()};
    const TRect a = GetDesktopWorkArea({o.Left, o.Top});
    const int shadow = w->Shadow() ? 3 : 0;
    const TRect e = w->EditViewInfo()->GetClientExtent();
    TSize s;
    if (w->Direction == pdVertical) {
        s.cx = a.Width();
        s.cy = std::max(a.Bottom - o.Bottom, o.Top - a.Top) + shadow;
    } else {
        s.cx = std::max(a.Right - o.Right, o.Left - a.Left) + shadow + 1;
        s.cy = a.Height();
    }
    s.cx -= e.Left + e.Right;
    s.cy -= e.Top + e.Bottom;
    return s;
}

void TcxCustomDropDownEdit::PositionPopupWindowChilds(const TRect& clientRect)
{
    if (LookupData() && ActiveProperties()->IsLookupDataVisual())
        LookupData()->PositionVisualArea(clientRect);
}

void TcxCustomDropDownEdit::SetupPopupWindow()
{
    TcxCustomEditPopupWindow* w = PopupWindow();
    w->SetCaptureFocus(ActiveProperties()->PopupWindowCapturesFocus());
    InitializeLookupData();
    InitializePopupWindow();
    w->Calculating = true;
    try {
        w->CalculateSize();
        TPoint p = w->CalculatePosition();
        w->CorrectBoundsWithDesktopWorkArea(p);
        w->Calculating = false;
        w->SetBounds(p.X, p.Y, w->Width(), w->Height());
    } catch (...) {
        w->Calculating = false;
        throw;
    }
    RefreshPopupWindow();
}

void TcxCustomDropDownEdit::RefreshPopupWindow()
{
    TcxCustomEditPopupWindow* w = PopupWindow();
    w->CalculateViewInfo();
    PositionPopupWindowChilds(w->EditViewInfo()->ClientRect);
    w->Invalidate();
}

void TcxCustomDropDownEdit::PopupWindowShowed(TObject*)
{
    ShortRefreshContainer(false);
    RefreshPopupWindow();
    DoPopup();
    UpdateDrawValue();
    popupResizedNow_ = false;
}

// ---- closing -------------------------------------------------------------------------------------------

void TcxCustomDropDownEdit::CloseUp(TcxEditCloseUpReason reason)
{
    if (!DroppedDown() || closingUp_)
        return;
    if (!closeUpReasonSet_) {
        closeUpReason_ = reason;
        closeUpReasonSet_ = true;
    }
    const auto alive = AliveToken();
    closingUp_ = true;
    LockChangeEvents(true);
    try {
        if ((reason == crTab || reason == crClose || reason == crEnter) && LookupData() &&
            ActiveProperties()->UseLookupData()) {
            const int old = LookupData()->CurrentKey();
            LockClick(true);
            try {
                LookupData()->SelectItem();
            } catch (...) {
                LockClick(false);
                throw;
            }
            LockClick(false);
            if (ModifiedAfterEnter() && LookupData()->CurrentKey() != old)
                DoClick();
            if (!ActiveProperties()->GetAlwaysPostEditValue() && ActiveProperties()->ImmediatePost() &&
                CanPostEditValue())
                InternalPostEditValue(true);
        }
    } catch (...) {
        if (!alive.expired()) {
            LockChangeEvents(false);
            closingUp_ = false;
        }
        throw;
    }
    LockChangeEvents(false);
    closingUp_ = false;
    if (popupWindow_)
        popupWindow_->CloseUp();
}

void TcxCustomDropDownEdit::PopupWindowClosed(TObject*)
{
    const auto alive = AliveToken();
    TcxCustomDropDownEditProperties* p = ActiveProperties();
    if (p->PopupSizeable() && popupResizedNow_ && popupWindow_) {
        if (IsInplace()) {
            if (TcxCustomDropDownEditData* data = DropDownEditData()) {
                data->PopupSizeStored = true;
                data->PopupWidth = popupWindow_->Width();
                data->PopupHeight = popupWindow_->Height();
            }
        } else {
            p->SetPopupWidth(popupWindow_->Width());
            p->SetPopupHeight(popupWindow_->Height());
        }
    }
    popupResizedNow_ = false;
    DoFinalizePopup();
    if (alive.expired())
        return;
    if (p->GetEditingStyle() == esFixedList)
        ShortRefreshContainer(false);
    DoCloseUp();
    if (alive.expired())
        return;
    if (p->GetAlwaysPostEditValue() && p->ImmediatePost() && CanPostEditValue() && ValidateEdit(false)) {
        LockChangeEvents(true);
        try {
            InternalPostEditValue(false);
        } catch (...) {
            LockChangeEvents(false);
            throw;
        }
        LockChangeEvents(false);
    }
    ShortRefreshContainer(false);
    isHotAndPopup_ = false;
}

// ---- keys ------------------------------------------------------------------------------------------------

bool TcxCustomDropDownEdit::HandlePopupKey(std::uint16_t key, TShiftState shift)
{
    const bool alt = shift.Contains(ssAlt);
    if (((key == VK_UP || key == VK_DOWN) && alt) || (key == VK_F4 && !alt)) {
        if (DroppedDown())
            CloseUp(crClose);
        else
            DropDown();
        return true;
    }
    if ((key == VK_RETURN || key == VK_ESCAPE) && !alt && DroppedDown()) {
        PopupClosedByKey = true;
        CloseUp(key == VK_RETURN && DoEditing() ? crEnter : crCancel);
        return true;
    }
    if (key == VK_TAB && DroppedDown() && ActiveProperties()->PostPopupValueOnTab()) {
        CloseUp(crTab);
        return false;
    }
    return false;
}

void TcxCustomDropDownEdit::DoEditKeyDown(std::uint16_t& key, TShiftState shift)
{
    if (key != VK_TAB && HandlePopupKey(key, shift)) {
        if (key == VK_ESCAPE && MouseCapture())
            SetMouseCapture(false);
        key = 0;
        return;
    }
    if (key == VK_RETURN && FindSelection() && LookupData() && InnerTextEdit() &&
        !InnerTextEdit()->GetEditValue().IsNull()) {
        const std::string text = VarToStr(InnerTextEdit()->GetEditValue());
        if (LookupData()->Find(text)) {
            std::string display;
            LookupData()->GetDisplayText(LookupData()->GetCurrentKey(), display);
            InnerTextEdit()->SetEditValue(Variant(display));
        }
    }
    TcxCustomMaskEdit::DoEditKeyDown(key, shift);
}

void TcxCustomDropDownEdit::DoEditProcessTab(TShiftState shift)
{
    if (DroppedDown() && ActiveProperties()->PostPopupValueOnTab())
        CloseUp(crTab);
    TcxCustomMaskEdit::DoEditProcessTab(shift);
}

bool TcxCustomDropDownEdit::TabsNeeded() const
{
    return TcxCustomMaskEdit::TabsNeeded() || (DroppedDown() && ActiveProperties()->PostPopupValueOnTab());
}

bool TcxCustomDropDownEdit::IsEditorKey(std::uint16_t key, TShiftState shift)
{
    if (IsInplace() && DroppedDown() && (shift.Contains(ssCtrl) || shift.Contains(ssAlt)))
        return true;
    return TcxCustomMaskEdit::IsEditorKey(key, shift);
}

void TcxCustomDropDownEdit::DoEditKeyPress(char16_t& key)
{
    if (IsTextChar(key) && ActiveProperties()->ImmediateDropDown() && !DroppedDown() && !IsShowPopupQueued()) {
        DropDown();
        if (popupWindow_ && popupWindow_->CaptureFocus() && key != VK_RETURN && GetPopupFocusedControl()) {
            vcl::PostMessage(popupWindow_->Handle(), CM_POPUPCONTROLKEY, key);
            key = 0;
            return;
        }
    }
    TcxCustomMaskEdit::DoEditKeyPress(key);
}

bool TcxCustomDropDownEdit::GetScrollLookupDataList(TcxEditScrollCause cause)
{
    if (ActiveProperties()->ChangedLocked())
        return false;
    if (IsInplace() && cause != escMouseWheel && EditData() && !DroppedDown())
        return false;
    return true;
}

// ---- in-place activation -----------------------------------------------------------------------------------

void TcxCustomDropDownEdit::InitializeEditData()
{
    if (TcxCustomDropDownEditData* data = DropDownEditData()) {
        data->PopupSizeStored = false;
        data->PopupWidth = ActiveProperties()->PopupWidth();
        data->PopupHeight = ActiveProperties()->PopupHeight();
    }
}

void TcxCustomDropDownEdit::Activate(TcxCustomEditData*& editData)
{
    TcxCustomMaskEdit::Activate(editData);
    TcxCustomDropDownEditData* data = DropDownEditData();
    popupSizeChanged_ = data && data->PopupSizeStored && ActiveProperties()->PopupSizeable();
    if (ActiveProperties()->ImmediatePopup())
        DropDown();
}

bool TcxCustomDropDownEdit::SendActivationKey(char16_t key)
{
    return !(ActiveProperties()->ImmediateDropDown() && ActiveProperties()->PopupWindowCapturesFocus() &&
             key != VK_RETURN);
}

void TcxCustomDropDownEdit::ActivateByKey(char16_t key, TcxCustomEditData*& editData)
{
    TcxCustomMaskEdit::ActivateByKey(key, editData);
    TcxCustomDropDownEditProperties* p = ActiveProperties();
    if (IsTextChar(key) && p->ImmediateDropDown() && !p->ImmediatePopup() && !SendActivationKey(key))
        DropDown();
    if (!SendActivationKey(key) && popupWindow_ && GetPopupFocusedControl())
        vcl::PostMessage(popupWindow_->Handle(), CM_POPUPCONTROLKEY, key);
}

void TcxCustomDropDownEdit::ActivateByMouse(TShiftState shift, int x, int y, TcxCustomEditData*& editData)
{
    activatingByMouse_ = true;
    try {
        TcxCustomMaskEdit::ActivateByMouse(shift, x, y, editData);
    } catch (...) {
        activatingByMouse_ = false;
        throw;
    }
    activatingByMouse_ = false;
}

bool TcxCustomDropDownEdit::Deactivate()
{
    CloseUp(crUnknown);
    if (TcxCustomDropDownEditData* data = DropDownEditData(); data && popupSizeChanged_)
        data->PopupSizeStored = true;
    if (popupWindow_ && popupWindow_->HandleAllocated() &&
        KillMessages(popupWindow_->Handle(), CM_SHOWPOPUPWINDOW, CM_SHOWPOPUPWINDOW))
        PopupWindowClosed(popupWindow_);
    return TcxCustomMaskEdit::Deactivate();
}

// ---- mouse, focus, paste, wheel ------------------------------------------------------------------------

void TcxCustomDropDownEdit::DoButtonDown(int buttonVisibleIndex)
{
    TcxCustomMaskEdit::DoButtonDown(buttonVisibleIndex);
    if (buttonVisibleIndex != ActiveProperties()->DropDownButtonVisibleIndex())
        return;
    if (popupWindow_ && popupWindow_->GetJustClosed())
        return;
    if (DroppedDown())
        CloseUp(crUnknown);
    else if (!IsShowPopupQueued())
        DropDown();
}

void TcxCustomDropDownEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    const bool wasOpen = DroppedDown();
    TcxCustomMaskEdit::MouseDown(button, shift, x, y);
    if (alive.expired() || button != mbLeft || ButtonVisibleIndexAt({x, y}) != -1)
        return;
    if (wasOpen) {
        CloseUp(crUnknown);
        return;
    }
    if (ActiveProperties()->DropDownOnClick() && IsEditFocused() && !DroppedDown() && !isHotAndPopup_ &&
        !activatingByMouse_ && !IsShowPopupQueued() && !(popupWindow_ && popupWindow_->GetJustClosed()))
        DropDown();
}

bool TcxCustomDropDownEdit::DoRefreshContainer(const TPoint& p, TcxMouseButton button, TShiftState shift,
                                               bool isMouseEvent)
{
    // A refresh reports button clicks, whose handler may free the editor.
    const auto alive = AliveToken();
    const bool result = TcxCustomMaskEdit::DoRefreshContainer(p, button, shift, isMouseEvent);
    if (alive.expired())
        return result;
    if (isMouseEvent && !(button == cxmbLeft)) {
        const bool over = p.X >= 0 && p.Y >= 0 && p.X < Width() && p.Y < Height();
        isHotAndPopup_ = DroppedDown() && over;
    }
    if (popupLookAndFeel_)
        popupLookAndFeel_->EditStyleChanged();
    return result;
}

void TcxCustomDropDownEdit::InitializeViewData(TcxCustomEditViewData* viewData)
{
    TcxCustomMaskEdit::InitializeViewData(viewData);
    if (auto* vd = dynamic_cast<TcxCustomDropDownEditViewData*>(viewData)) {
        vd->HasPopupWindow = DroppedDown();
        vd->IsHotAndPopup = isHotAndPopup_;
    }
}

void TcxCustomDropDownEdit::FocusChanged()
{
    TcxCustomMaskEdit::FocusChanged();
    if (!popupWindow_ || popupWindow_->CaptureFocus() || IsDestroying())
        return;
    TWinControl* inner = GetInnerEditControl();
    if (!Focused() && !(inner && inner->Focused()))
        CloseUp(crUnknown);
}

void TcxCustomDropDownEdit::DoExit()
{
    if (!(popupWindow_ && popupWindow_->CaptureFocus() && DroppedDown()))
        CloseUp(crUnknown);
    TcxCustomMaskEdit::DoExit();
}

void TcxCustomDropDownEdit::DestroyWnd()
{
    CloseUp(crUnknown);
    DoFinalizePopup();
    if (popupWindow_ && popupWindow_->HandleAllocated())
        KillMessages(popupWindow_->Handle(), CM_SHOWPOPUPWINDOW, CM_SHOWPOPUPWINDOW);
    TcxCustomMaskEdit::DestroyWnd();
}

bool TcxCustomDropDownEdit::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos)
{
    if (TcxCustomMaskEdit::DoMouseWheel(shift, wheelDelta, mousePos))
        return true;
    TcxCustomTextEditLookupData* lookup = LookupData();
    if (!DroppedDown() || !lookup || !ActiveProperties()->UseLookupData() || lookup->IsEmpty())
        return false;
    if (TWinControl* list = lookup->GetActiveControl())
        list->Perform(CM_MOUSEWHEEL, WPARAM(std::uint16_t(wheelDelta)) << 16, 0);
    return true;
}

void TcxCustomDropDownEdit::PasteFromClipboard()
{
    const std::string before = Text();
    TcxCustomMaskEdit::PasteFromClipboard();
    if (Text() == before || !ActiveProperties()->ImmediateDropDown() || DroppedDown())
        return;
    DropDown();
    if (LookupData() && HandleAllocated())
        vcl::PostMessage(Handle(), CM_DROPDOWNBYPASTE);
}

void TcxCustomDropDownEdit::HandleDropDownByPaste()
{
    TcxCustomTextEditLookupData* lookup = LookupData();
    if (!lookup || !(DroppedDown() || IsShowPopupQueued()))
        return;
    const int old = lookup->CurrentKey();
    LockClick(true);
    lookup->TextChanged();
    LockClick(false);
    if (lookup->CurrentKey() != old)
        DoClick();
    const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
    if (style == esFixedList || (style == esEdit && SelStart() == int(Utf8ToUtf16(Text()).size()) &&
                                 lookup->Find(Text())))
        SetFindSelection(true);
}

void TcxCustomDropDownEdit::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case CM_DROPDOWNBYPASTE: HandleDropDownByPaste(); return;
    case CM_HINTSHOW:
        TcxCustomMaskEdit::Dispatch(msg);
        if (DroppedDown())
            msg.Result = 1;
        return;
    default: TcxCustomMaskEdit::Dispatch(msg);
    }
}

void TcxCustomDropDownEdit::PropertiesChanged(TObject* sender)
{
    TcxCustomMaskEdit::PropertiesChanged(sender);
    if (DroppedDown() && !IsDestroying())
        SetupPopupWindow();
}

} // namespace cx
