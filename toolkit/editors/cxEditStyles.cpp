#include "toolkit/editors/cxEdit.h"

namespace cx {

const char* const cxEditStyleValueNameA[cxEditStyleValueCount - cxContainerStyleValueCount] = {
    "ButtonStyle", "ButtonTransparency", "PopupBorderStyle", "GradientButtons", "Gradient", "GradientDirection"};

namespace {
TcxEditStyleController* defaultEditStyleController = nullptr;
int defaultEditStyleControllerCount = 0;
} // namespace

namespace detail {
void CreateDefaultEditStyleController()
{
    if (!defaultEditStyleController)
        defaultEditStyleController = new TcxEditStyleController(nullptr);
    cxContainerDefaultStyleController = defaultEditStyleController;
}
void FreeDefaultEditStyleController()
{
    if (cxContainerDefaultStyleController == defaultEditStyleController)
        cxContainerDefaultStyleController = nullptr;
    FreeAndNil(defaultEditStyleController);
}
} // namespace detail

TcxEditStyleController* DefaultEditStyleController() { return defaultEditStyleController; }

// ---- TcxCustomEditStyle ----------------------------------------------------------------------------

TcxCustomEditStyle::TcxCustomEditStyle(TPersistent* owner, bool directAccessMode, TcxContainerStyle* parentStyle,
                                       TcxContainerStateItem state)
    : TcxContainerStyle(owner, directAccessMode, parentStyle, state)
{
}

template <class T>
bool TcxCustomEditStyle::InternalGet(TcxContainerStyleValue value, const T& field, T& v,
                                     bool (TcxCustomEditStyle::*controllerGet)(T&) const) const
{
    if (HasOwnValue(value)) {
        v = field;
        return true;
    }
    const TcxCustomEditStyle* s = ControllerEditStyle();
    return s && (s->*controllerGet)(v);
}

template <class T>
T TcxCustomEditStyle::Get(TcxContainerStyleValue value, const T& field,
                          bool (TcxCustomEditStyle::*internalGet)(T&) const,
                          T (TcxCustomEditStyle::*defaultValue)() const) const
{
    if (DirectAccessMode())
        return HasOwnValue(value) ? field : (this->*defaultValue)();
    T v;
    return (this->*internalGet)(v) ? v : (this->*defaultValue)();
}

template <class T>
void TcxCustomEditStyle::Set(TcxContainerStyleValue value, T& field, const T& newValue)
{
    if (HasOwnValue(value) && field == newValue)
        return;
    BeginUpdate();
    field = newValue;
    SetAssignedValues(GetAssignedValues() | cxStyleValue(value));
    Changed();
    EndUpdate();
}

bool TcxCustomEditStyle::InternalGetButtonStyle(TcxEditButtonStyle& v) const
{
    return InternalGet(svButtonStyle, buttonStyle_, v, &TcxCustomEditStyle::InternalGetButtonStyle);
}
bool TcxCustomEditStyle::InternalGetButtonTransparency(TcxEditButtonTransparency& v) const
{
    return InternalGet(svButtonTransparency, buttonTransparency_, v, &TcxCustomEditStyle::InternalGetButtonTransparency);
}
bool TcxCustomEditStyle::InternalGetGradient(bool& v) const
{
    return InternalGet(svGradient, gradient_, v, &TcxCustomEditStyle::InternalGetGradient);
}
bool TcxCustomEditStyle::InternalGetGradientButtons(bool& v) const
{
    return InternalGet(svGradientButtons, gradientButtons_, v, &TcxCustomEditStyle::InternalGetGradientButtons);
}
bool TcxCustomEditStyle::InternalGetGradientDirection(TcxEditGradientDirection& v) const
{
    return InternalGet(svGradientDirection, gradientDirection_, v, &TcxCustomEditStyle::InternalGetGradientDirection);
}
bool TcxCustomEditStyle::InternalGetPopupBorderStyle(TcxEditPopupBorderStyle& v) const
{
    return InternalGet(svPopupBorderStyle, popupBorderStyle_, v, &TcxCustomEditStyle::InternalGetPopupBorderStyle);
}

TcxEditButtonStyle TcxCustomEditStyle::GetButtonStyle() const
{
    return Get(svButtonStyle, buttonStyle_, &TcxCustomEditStyle::InternalGetButtonStyle,
               &TcxCustomEditStyle::DefaultButtonStyle);
}
TcxEditButtonTransparency TcxCustomEditStyle::GetButtonTransparency() const
{
    return Get(svButtonTransparency, buttonTransparency_, &TcxCustomEditStyle::InternalGetButtonTransparency,
               &TcxCustomEditStyle::DefaultButtonTransparency);
}
bool TcxCustomEditStyle::GetGradient() const
{
    return Get(svGradient, gradient_, &TcxCustomEditStyle::InternalGetGradient, &TcxCustomEditStyle::DefaultGradient);
}
bool TcxCustomEditStyle::GetGradientButtons() const
{
    return Get(svGradientButtons, gradientButtons_, &TcxCustomEditStyle::InternalGetGradientButtons,
               &TcxCustomEditStyle::DefaultGradientButtons);
}
TcxEditGradientDirection TcxCustomEditStyle::GetGradientDirection() const
{
    return Get(svGradientDirection, gradientDirection_, &TcxCustomEditStyle::InternalGetGradientDirection,
               &TcxCustomEditStyle::DefaultGradientDirection);
}
TcxEditPopupBorderStyle TcxCustomEditStyle::GetPopupBorderStyle() const
{
    return Get(svPopupBorderStyle, popupBorderStyle_, &TcxCustomEditStyle::InternalGetPopupBorderStyle,
               &TcxCustomEditStyle::DefaultPopupBorderStyle);
}

TcxEditButtonStyle TcxCustomEditStyle::DefaultButtonStyle() const
{
    return IsBaseStyle() ? btsDefault : ParentEditStyle()->GetButtonStyle();
}
TcxEditButtonTransparency TcxCustomEditStyle::DefaultButtonTransparency() const
{
    return IsBaseStyle() ? ebtNone : ParentEditStyle()->GetButtonTransparency();
}
bool TcxCustomEditStyle::DefaultGradient() const { return IsBaseStyle() ? false : ParentEditStyle()->GetGradient(); }
bool TcxCustomEditStyle::DefaultGradientButtons() const
{
    return IsBaseStyle() ? false : ParentEditStyle()->GetGradientButtons();
}
TcxEditGradientDirection TcxCustomEditStyle::DefaultGradientDirection() const
{
    return IsBaseStyle() ? dirDown : ParentEditStyle()->GetGradientDirection();
}
TcxEditPopupBorderStyle TcxCustomEditStyle::DefaultPopupBorderStyle() const
{
    return IsBaseStyle() ? epbsDefault : ParentEditStyle()->GetPopupBorderStyle();
}

// ButtonStyle is kept per state; the other values live on the normal style.
void TcxCustomEditStyle::SetButtonStyle(TcxEditButtonStyle value) { Set(svButtonStyle, buttonStyle_, value); }

void TcxCustomEditStyle::SetButtonTransparency(TcxEditButtonTransparency value)
{
    if (!IsBaseStyle())
        return ParentEditStyle()->SetButtonTransparency(value);
    Set(svButtonTransparency, buttonTransparency_, value);
}
void TcxCustomEditStyle::SetGradient(bool value)
{
    if (!IsBaseStyle())
        return ParentEditStyle()->SetGradient(value);
    Set(svGradient, gradient_, value);
}
void TcxCustomEditStyle::SetGradientButtons(bool value)
{
    if (!IsBaseStyle())
        return ParentEditStyle()->SetGradientButtons(value);
    Set(svGradientButtons, gradientButtons_, value);
}
void TcxCustomEditStyle::SetGradientDirection(TcxEditGradientDirection value)
{
    if (!IsBaseStyle())
        return ParentEditStyle()->SetGradientDirection(value);
    Set(svGradientDirection, gradientDirection_, value);
}
void TcxCustomEditStyle::SetPopupBorderStyle(TcxEditPopupBorderStyle value)
{
    if (!IsBaseStyle())
        return ParentEditStyle()->SetPopupBorderStyle(value);
    Set(svPopupBorderStyle, popupBorderStyle_, value);
}

bool TcxCustomEditStyle::GetPopupCloseButton() const
{
    return IsBaseStyle() ? popupCloseButton_ : ParentEditStyle()->GetPopupCloseButton();
}

void TcxCustomEditStyle::SetPopupCloseButton(bool value)
{
    if (!IsBaseStyle())
        return ParentEditStyle()->SetPopupCloseButton(value);
    if (popupCloseButton_ != value) {
        popupCloseButton_ = value;
        Changed();
    }
}

TcxEditStyleController* TcxCustomEditStyle::GetStyleController() const
{
    return dynamic_cast<TcxEditStyleController*>(TcxContainerStyle::GetStyleController());
}

void TcxCustomEditStyle::SetStyleController(TcxEditStyleController* value) { TcxContainerStyle::SetStyleController(value); }

TcxContainer* TcxCustomEditStyle::GetEdit() const
{
    TcxContainer* container = GetContainer();
    return container && ClassInheritsFrom(&container->ClassType(), "TcxCustomEdit") ? container : nullptr;
}

bool TcxCustomEditStyle::IsValueAssigned(TcxContainerStyleValue value) const
{
    switch (value) {
    case svButtonStyle: { TcxEditButtonStyle v; return InternalGetButtonStyle(v); }
    case svButtonTransparency: { TcxEditButtonTransparency v; return InternalGetButtonTransparency(v); }
    case svPopupBorderStyle: { TcxEditPopupBorderStyle v; return InternalGetPopupBorderStyle(v); }
    case svGradientButtons: { bool v; return InternalGetGradientButtons(v); }
    case svGradient: { bool v; return InternalGetGradient(v); }
    case svGradientDirection: { TcxEditGradientDirection v; return InternalGetGradientDirection(v); }
    default: return TcxContainerStyle::IsValueAssigned(value);
    }
}

bool TcxCustomEditStyle::GetStyleValueName(TcxContainerStyleValue value, std::string& name) const
{
    if (value < cxContainerStyleValueCount)
        return TcxContainerStyle::GetStyleValueName(value, name);
    name.clear();
    if (value >= cxEditStyleValueCount)
        return false;
    name = cxEditStyleValueNameA[value - cxContainerStyleValueCount];
    return true;
}

TcxContainerStyleValues TcxCustomEditStyle::InternalGetNotPublishedExtendedStyleValues() const
{
    // Of the editor's own values only ButtonStyle is published per state.
    return cxStyleValue(csvEdges) | cxStyleValue(csvFont) | cxStyleValue(csvHotTrack) | cxStyleValue(csvShadow) |
           cxStyleValue(csvTransparentBorder) | cxStyleValue(svButtonTransparency) | cxStyleValue(svPopupBorderStyle) |
           cxStyleValue(svGradientButtons) | cxStyleValue(svGradient) | cxStyleValue(svGradientDirection);
}

TcxStyleController* TcxCustomEditStyle::GetDefaultStyleController() const
{
    if (DirectAccessMode())
        return nullptr;
    TcxContainer* edit = GetEdit();
    if (edit && edit->IsInplace())
        return nullptr;
    return defaultEditStyleController;
}

void TcxCustomEditStyle::Assign(TPersistent* source)
{
    auto* src = dynamic_cast<TcxCustomEditStyle*>(source);
    if (!src) {
        TcxContainerStyle::Assign(source);
        return;
    }
    BeginUpdate();
    buttonStyle_ = src->buttonStyle_;
    buttonTransparency_ = src->buttonTransparency_;
    gradient_ = src->gradient_;
    gradientButtons_ = src->gradientButtons_;
    gradientDirection_ = src->gradientDirection_;
    popupBorderStyle_ = src->popupBorderStyle_;
    popupCloseButton_ = src->popupCloseButton_;
    TcxContainerStyle::Assign(source);
    Changed();
    EndUpdate();
}

void TcxCustomEditStyle::Init(const TcxViewParams& params)
{
    BeginUpdate();
    SetColor(params.Color);
    SetFont(params.Font);
    SetTextColor(params.TextColor);
    EndUpdate();
}

// ---- controllers ---------------------------------------------------------------------------------------

TcxDefaultEditStyleController::TcxDefaultEditStyleController(TComponent* owner) : TComponent(owner)
{
    ++defaultEditStyleControllerCount;
}

TcxDefaultEditStyleController::~TcxDefaultEditStyleController()
{
    if (--defaultEditStyleControllerCount == 0 && defaultEditStyleController) {
        defaultEditStyleController->RestoreStyles();
        defaultEditStyleController->OnStyleChanged = {};
    }
}

int cxDefaultEditStyleControllerCount() { return defaultEditStyleControllerCount; }

bool TcxDefaultEditStyleController::GetEmulateStandardControlDrawing() const { return EmulateStandardControlDrawing(); }

void TcxDefaultEditStyleController::SetEmulateStandardControlDrawing(bool value)
{
    SetStandardControlDrawingEmulationMode(value);
}

TcxEditStyleController::TcxEditStyleController(TComponent* owner) : TcxStyleController(owner)
{
    CreateStyles();   // now of editor styles
}

} // namespace cx
