// The popup editor: any control of the application borrowed into the popup while it is open and
// given back afterwards; and the unit's start-up (the combo box and the popup editor in the
// editor registry, the combo box's filter helper).
#include "toolkit/editors/cxDropDownEdit.h"

#include "platform/vcl/Forms.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditRepositoryItems.h"

namespace cx {

// ---- properties ----------------------------------------------------------------------------------

TcxCustomPopupEditProperties::TcxCustomPopupEditProperties(TPersistent* owner)
    : TcxCustomDropDownEditProperties(owner)
{
    popupAutoSize_ = true;
    popupMinHeight_ = 100;
    popupMinWidth_ = 100;
    popupHeight_ = 200;
    popupWidth_ = 250;
    popupSizeable_ = true;
    notificator_ = new TcxFreeNotificator();
    notificator_->OnSenderFreed = [this](TComponent* c) { ControlFreed(c); };
}

TcxCustomPopupEditProperties::~TcxCustomPopupEditProperties()
{
    if (notificator_)
        notificator_->Free();
}

void TcxCustomPopupEditProperties::ControlFreed(TComponent* component)
{
    if (component == popupControl_)
        popupControl_ = nullptr;
}

void TcxCustomPopupEditProperties::SetPopupControl(TControl* value)
{
    if (value == popupControl_)
        return;
    if (popupControl_)
        notificator_->RemoveSender(popupControl_);
    popupControl_ = value;
    if (popupControl_)
        notificator_->AddSender(popupControl_);
    Changed();
}

void TcxCustomPopupEditProperties::Assign(TPersistent* source)
{
    TcxCustomDropDownEditProperties::Assign(source);
    if (auto* s = dynamic_cast<TcxCustomPopupEditProperties*>(source))
        SetPopupControl(s->popupControl_);
}

const TClassMeta* TcxCustomPopupEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxPopupEdit>().Meta();
}

TcxCustomEditPopupWindowClass TcxCustomPopupEditProperties::GetPopupWindowClass() const
{
    return TcxCustomEditPopupWindowClass::Of<TcxPopupEditPopupWindow>();
}

TcxPopupEditProperties::TcxPopupEditProperties(TPersistent* owner) : TcxCustomPopupEditProperties(owner)
{
    SetImmediateDropDown(true);
    immediatePopup_ = true;
}

// ---- the editor ----------------------------------------------------------------------------------

TcxCustomPopupEdit::TcxCustomPopupEdit(TComponent* owner, bool isInplace)
    : TcxCustomDropDownEdit(owner, isInplace,
                            DropDownClassesWith(TcxCustomEditPropertiesClass::Of<TcxCustomPopupEditProperties>()))
{
}

TcxCustomPopupEdit::TcxCustomPopupEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomDropDownEdit(owner, isInplace, classes)
{
}

TcxPopupEdit::TcxPopupEdit(TComponent* owner, bool isInplace)
    : TcxCustomPopupEdit(owner, isInplace, DropDownClassesWith(TcxCustomEditPropertiesClass::Of<TcxPopupEditProperties>()))
{
}

TcxCustomPopupEdit::~TcxCustomPopupEdit()
{
    // Closing first gives the borrowed control back while this editor is still whole.
    if (HasPopupWindowObject() && DroppedDown())
        CloseUp(crUnknown);
    RestorePopupControlData();
}

void TcxCustomPopupEdit::HidePopup(TObject*, TcxEditCloseUpReason reason)
{
    SetCloseUpReason(reason);
    if (HasPopupWindowObject())
        PopupWindow()->ClosePopup();
}

bool TcxCustomPopupEdit::CanDropDown() { return ActiveProperties()->PopupControl() != nullptr; }

void TcxCustomPopupEdit::DoInitPopup()
{
    TControl* c = ActiveProperties()->PopupControl();
    if (c) {
        bool circular = c == this || (HasPopupWindowObject() && c == PopupWindow());
        for (TWinControl* p = Parent(); p && !circular; p = p->Parent())
            circular = p == c;
        if (circular)
            throw EcxEditError(cxGetResourceString(&cxSEditPopupCircularReferencingError));
    }
    TcxCustomDropDownEdit::DoInitPopup();
}

TWinControl* TcxCustomPopupEdit::GetPopupFocusedControl()
{
    return dynamic_cast<TWinControl*>(ActiveProperties()->PopupControl());
}

TSize TcxCustomPopupEdit::GetPopupWindowClientPreferredSize()
{
    TControl* c = ActiveProperties()->PopupControl();
    return c ? TSize{c->Width(), c->Height()} : TSize{0, 0};
}

void TcxCustomPopupEdit::PositionPopupWindowChilds(const TRect& clientRect)
{
    if (TControl* c = ActiveProperties()->PopupControl(); c && c->Parent() == PopupWindow())
        c->SetBounds(clientRect.Left, clientRect.Top, clientRect.Width(), clientRect.Height());
}

void TcxCustomPopupEdit::SavePopupControlData()
{
    TControl* c = ActiveProperties()->PopupControl();
    if (!c || (saved_.Valid && saved_.Control == c))
        return;
    saved_ = {};
    saved_.Valid = true;
    saved_.Control = c;
    saved_.Align = c->Align;
    saved_.Bounds = c->BoundsRect();
    saved_.Parent = c->Parent();
    saved_.ParentAlive = c->Parent() ? c->Parent()->AliveToken() : std::weak_ptr<bool>();
    saved_.Visible = c->Visible();
    if (auto* form = dynamic_cast<TCustomForm*>(c)) {
        saved_.IsForm = true;
        saved_.BorderStyle = form->BorderStyle;
        form->BorderStyle = bsNone;
    }
}

void TcxCustomPopupEdit::RestorePopupControlData()
{
    if (!saved_.Valid)
        return;
    saved_.Valid = false;
    TControl* c = ActiveProperties() ? ActiveProperties()->PopupControl() : nullptr;
    if (!c || c != saved_.Control)
        return;
    c->SetVisible(false);
    // The saved parent may have gone while the popup was open: the control stays hidden, unparented.
    if (saved_.Parent && saved_.ParentAlive.expired()) {
        c->SetParent(nullptr);
        return;
    }
    c->SetParent(saved_.Parent);
    c->Align = saved_.Align;
    c->SetBoundsRect(saved_.Bounds);
    if (saved_.IsForm)
        static_cast<TCustomForm*>(c)->BorderStyle = saved_.BorderStyle;
    c->SetVisible(saved_.Visible);
}

void TcxCustomPopupEdit::SetupPopupWindow()
{
    TControl* c = ActiveProperties()->PopupControl();
    if (c) {
        SavePopupControlData();
        c->SetParent(PopupWindow());
        c->SetVisible(true);
    }
    TcxCustomDropDownEdit::SetupPopupWindow();
    if (c)
        c->Align = alClient;
}

void TcxCustomPopupEdit::PopupWindowClosed(TObject* sender)
{
    RestorePopupControlData();
    TcxCustomDropDownEdit::PopupWindowClosed(sender);
}

// ---- unit start-up -------------------------------------------------------------------------------

namespace cxDropDownEditUnit {
namespace {
// The popup editor has no filter helper of its own: only its properties class is registered.
TcxEditKindUnit<TcxComboBoxProperties, TcxFilterComboBoxHelper, TcxComboBox, TcxPopupEdit> unit;
} // namespace

void Initialize()
{
    unit.Initialize(&scxSEditRepositoryComboBoxItem, TcxNoUnitStep{}, [] {
        GetRegisteredEditProperties()->Register(TcxCustomEditPropertiesClass::Of<TcxPopupEditProperties>().Meta(),
                                                cxGetResourceString(&scxSEditRepositoryPopupItem));
    });
}

void Finalize()
{
    unit.Finalize([] { GetRegisteredEditProperties()->Unregister(&TcxPopupEditProperties::StaticClass()); });
}
} // namespace cxDropDownEditUnit

} // namespace cx
