// Container styles and the style controller: value resolution through the controller chain and
// the look and feel's defaults, font following, change batching and the controller's listeners.
#include "toolkit/controls/cxContainer.h"

#include "platform/rtl/Filer.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>

namespace cx {

const char* const cxContainerStyleValueNameA[cxContainerStyleValueCount] = {
    "BorderColor", "BorderStyle", "Color", "Edges", "Font", "HotTrack", "Shadow", "TextColor", "TextStyle",
    "TransparentBorder"};

TcxStyleController* cxContainerDefaultStyleController = nullptr;

namespace {
// Border style of a non-base style, by the parent's border style and the state row that applies.
constexpr TcxContainerBorderStyle kBorderStyleByState[7][4] = {
    {cbsNone, cbsFlat, cbsNone, cbsFlat},
    {cbsSingle, cbsThick, cbsSingle, cbsThick},
    {cbsThick, cbsThick, cbsThick, cbsThick},
    {cbsFlat, cbs3D, cbsFlat, cbs3D},
    {cbs3D, cbs3D, cbs3D, cbs3D},
    {cbsUltraFlat, cbsUltraFlat, cbsUltraFlat, cbsUltraFlat},
    {cbsOffice11, cbsOffice11, cbsOffice11, cbsOffice11},
};
// The direct-access mode's own values: Color, Font, TextColor, TextStyle.
constexpr TcxContainerStyleValues kDirectAccessValues =
    cxStyleValue(csvColor) | cxStyleValue(csvFont) | cxStyleValue(csvTextColor) | cxStyleValue(csvTextStyle);
// More links than this in a controller chain can only be a cycle (which binding refuses).
constexpr int kMaxControllerChain = 64;
} // namespace

// ---- TcxContainerStyle ----

TcxContainerStyle::TcxContainerStyle(TPersistent* owner, bool directAccessMode, TcxContainerStyle* parentStyle,
                                     TcxContainerStateItem state)
    : TcxInterfacedPersistent(owner), directAccessMode_(directAccessMode), owner_(owner), parentStyle_(parentStyle),
      state_(state)
{
    visibleFont_ = std::make_unique<TFont>();
    if (directAccessMode_) {
        assignedValues_ = kDirectAccessValues;
    } else if (IsBaseStyle()) {
        ownFont_ = std::make_unique<TFont>();
        ownFont_->OnChange = TNotifyEvent(this, &TcxContainerStyle::FontChanged);
        styleData_.Font = ownFont_.get();
        styleData_.FontColor = ownFont_->GetColor();
    }
    if (IsBaseStyle()) {
        lookAndFeel_ = std::make_unique<TcxLookAndFeel>(this);
        lookAndFeel_->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxContainerStyle::LookAndFeelChanged);
        BaseSetStyleController(nullptr);
    }
}

TcxContainerStyle::~TcxContainerStyle()
{
    destroying_ = true;
    if (IsBaseStyle() && styleController_) {
        TcxStyleController* c = styleController_;
        styleController_ = nullptr;
        c->RemoveListener(this);
    }
    if (lookAndFeel_)
        lookAndFeel_->OnChanged = {};
    if (ownFont_)
        ownFont_->OnChange = {};
}

void TcxContainerStyle::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { Changed(); }

TcxContainer* TcxContainerStyle::GetContainer() const { return dynamic_cast<TcxContainer*>(owner_); }

TcxStyleController* TcxContainerStyle::GetActiveStyleController() const
{
    return IsBaseStyle() ? styleController_ : parentStyle_->styleController_;
}

TcxContainerStyle* TcxContainerStyle::ControllerStyle() const
{
    TcxStyleController* c = GetActiveStyleController();
    return c ? c->GetInternalStyle(state_) : nullptr;
}

TcxStyleController* TcxContainerStyle::GetDefaultStyleController() const { return DefaultContainerStyleController(); }

// ---- internal lookups: own value, else the controller's style of the same state ----

#define CX_INTERNAL_GET(Name, Type, Value, Field)                                                                  \
    bool TcxContainerStyle::InternalGet##Name(Type& v) const                                                     \
    {                                                                                                            \
        if (HasOwnValue(Value)) {                                                                                \
            v = Field;                                                                                           \
            return true;                                                                                         \
        }                                                                                                        \
        const TcxContainerStyle* s = ControllerStyle();                                                          \
        return s && s->InternalGet##Name(v);                                                                     \
    }
CX_INTERNAL_GET(BorderColor, TColor, csvBorderColor, borderColor_)
CX_INTERNAL_GET(BorderStyle, TcxContainerBorderStyle, csvBorderStyle, borderStyle_)
CX_INTERNAL_GET(Color, TColor, csvColor, styleData_.Color)
CX_INTERNAL_GET(Edges, TcxBorders, csvEdges, edges_)
CX_INTERNAL_GET(Font, TFont*, csvFont, styleData_.Font)
CX_INTERNAL_GET(HotTrack, bool, csvHotTrack, hotTrack_)
CX_INTERNAL_GET(Shadow, bool, csvShadow, shadow_)
CX_INTERNAL_GET(TextColor, TColor, csvTextColor, styleData_.FontColor)
CX_INTERNAL_GET(TextStyle, TFontStyles, csvTextStyle, textStyle_)
CX_INTERNAL_GET(TransparentBorder, bool, csvTransparentBorder, transparentBorder_)
#undef CX_INTERNAL_GET

// ---- public getters ----

TColor TcxContainerStyle::GetBorderColor() const
{
    if (directAccessMode_)
        return clDefault;
    TColor v;
    return InternalGetBorderColor(v) ? v : DefaultBorderColor();
}

TcxContainerBorderStyle TcxContainerStyle::GetBorderStyle() const
{
    if (directAccessMode_)
        return HasOwnValue(csvBorderStyle) ? borderStyle_ : DefaultBorderStyle();
    TcxContainerBorderStyle v;
    return InternalGetBorderStyle(v) ? v : DefaultBorderStyle();
}

TcxBorders TcxContainerStyle::GetEdges() const
{
    if (directAccessMode_)
        return 0;
    if (!IsBaseStyle())
        return parentStyle_->GetEdges();
    TcxBorders v;
    return InternalGetEdges(v) ? v : DefaultEdges();
}

TFont* TcxContainerStyle::GetFont() const
{
    if (directAccessMode_)
        return styleData_.Font;
    if (!IsBaseStyle())
        return parentStyle_->GetFont();
    TFont* v;
    return InternalGetFont(v) && v ? v : styleData_.Font;
}

bool TcxContainerStyle::GetHotTrack() const
{
    if (directAccessMode_)
        return HasOwnValue(csvHotTrack) ? hotTrack_ : DefaultHotTrack();
    if (!IsBaseStyle())
        return parentStyle_->GetHotTrack();
    bool v;
    return InternalGetHotTrack(v) ? v : DefaultHotTrack();
}

bool TcxContainerStyle::GetShadow() const
{
    if (directAccessMode_)
        return false;
    if (!IsBaseStyle())
        return parentStyle_->GetShadow();
    bool v;
    return InternalGetShadow(v) ? v : DefaultShadow();
}

bool TcxContainerStyle::GetTransparentBorder() const
{
    if (directAccessMode_)
        return true;
    if (!IsBaseStyle())
        return parentStyle_->GetTransparentBorder();
    bool v;
    return InternalGetTransparentBorder(v) ? v : DefaultTransparentBorder();
}

TColor TcxContainerStyle::GetColor() const
{
    if (directAccessMode_)
        return styleData_.Color;
    TcxContainer* container = GetContainer();
    if (IsBaseStyle() && container && container->ParentColor() && container->Parent())
        return container->Parent()->Color();
    TColor v;
    return InternalGetColor(v) ? v : DefaultColor();
}

TColor TcxContainerStyle::GetStyleColor() const
{
    if (directAccessMode_)
        return styleData_.Color;
    TColor v;
    if (InternalGetColor(v))
        return v;
    TcxContainer* container = GetContainer();
    if (IsBaseStyle() && container && !container->IsInplace() && container->ParentColor() && container->Parent())
        return container->Parent()->Color();
    return DefaultColor();
}

TColor TcxContainerStyle::GetTextColor() const
{
    if (directAccessMode_)
        return styleData_.FontColor;
    TColor v;
    return InternalGetTextColor(v) ? v : DefaultTextColor();
}

TFontStyles TcxContainerStyle::GetTextStyle() const
{
    if (directAccessMode_)
        return styleData_.Font ? styleData_.Font->GetStyle() : 0;
    TFontStyles v;
    return InternalGetTextStyle(v) ? v : DefaultTextStyle();
}

TcxContainerStyleValues TcxContainerStyle::GetAssignedValues() const
{
    if (directAccessMode_) {
        const int n = std::min(GetStyleValueCount(), 32);
        return n >= 32 ? ~0u : (1u << n) - 1;
    }
    return assignedValues_;
}

TFont* TcxContainerStyle::GetVisibleFont() const
{
    UpdateVisibleFont();
    return visibleFont_.get();
}

void TcxContainerStyle::UpdateVisibleFont() const
{
    if (TFont* f = GetFont())
        visibleFont_->Assign(f);
    visibleFont_->SetColor(GetTextColor());
    visibleFont_->SetStyle(GetTextStyle());
}

TcxLookAndFeel* TcxContainerStyle::GetLookAndFeel() const
{
    return IsBaseStyle() ? lookAndFeel_.get() : parentStyle_->GetLookAndFeel();
}

// ---- defaults ----

bool TcxContainerStyle::IsParentColored() const
{
    TcxContainer* container = GetContainer();
    return !container || container->DefaultParentColor();
}

TColor TcxContainerStyle::DefaultBorderColor() const
{
    if (state_ == csDisabled)
        return clBtnShadow;
    if (IsBaseStyle())
        return clWindowFrame;
    return parentStyle_->GetBorderColor();
}

TcxContainerBorderStyle TcxContainerStyle::DefaultBorderStyle() const
{
    if (IsBaseStyle()) {
        switch (GetLookAndFeel()->GetKind()) {
        case lfFlat: return cbsFlat;
        case lfStandard: return cbs3D;
        case lfUltraFlat: return cbsUltraFlat;
        case lfOffice11: return cbsOffice11;
        }
        return cbs3D;
    }
    const TcxContainerBorderStyle p = parentStyle_->GetBorderStyle();
    const TcxContainerStateItem s = (GetHotTrack() || state_ == csDisabled) ? state_ : csNormal;
    return kBorderStyleByState[p][s];
}

TColor TcxContainerStyle::DefaultColor() const
{
    const bool parentColored = IsParentColored();
    if (IsBaseStyle())
        return parentColored ? clBtnFace : clWindow;
    if (state_ == csDisabled && !parentColored)
        return clBtnFace;
    return parentStyle_->GetColor();
}

TColor TcxContainerStyle::DefaultTextColor() const
{
    if (state_ == csDisabled)
        return clBtnShadow;
    if (IsBaseStyle()) {
        TFont* f = GetFont();
        return f ? f->GetColor() : clWindowText;
    }
    return parentStyle_->GetTextColor();
}

TFontStyles TcxContainerStyle::DefaultTextStyle() const
{
    if (IsBaseStyle()) {
        TFont* f = GetFont();
        return f ? f->GetStyle() : 0;
    }
    return parentStyle_->GetTextStyle();
}

// ---- setters ----

template <class T>
void TcxContainerStyle::SetOwnValue(TcxContainerStyleValue v, T& field, const T& value)
{
    if (HasOwnValue(v) && field == value)
        return;
    field = value;
    assignedValues_ |= cxStyleValue(v);
    Changed();
}

void TcxContainerStyle::SetBorderColor(TColor value) { SetOwnValue(csvBorderColor, borderColor_, value); }
void TcxContainerStyle::SetBorderStyle(TcxContainerBorderStyle value) { SetOwnValue(csvBorderStyle, borderStyle_, value); }
void TcxContainerStyle::SetColor(TColor value) { SetOwnValue(csvColor, styleData_.Color, value); }

// Values kept once per set: a non-base style sets the base style's.
template <class T>
void TcxContainerStyle::SetSetValue(TcxContainerStyleValue v, T TcxContainerStyle::*field, const T& value)
{
    TcxContainerStyle* target = IsBaseStyle() || directAccessMode_ ? this : parentStyle_;
    target->SetOwnValue(v, target->*field, value);
}

void TcxContainerStyle::SetEdges(TcxBorders value) { SetSetValue(csvEdges, &TcxContainerStyle::edges_, value); }
void TcxContainerStyle::SetHotTrack(bool value) { SetSetValue(csvHotTrack, &TcxContainerStyle::hotTrack_, value); }
void TcxContainerStyle::SetShadow(bool value) { SetSetValue(csvShadow, &TcxContainerStyle::shadow_, value); }
void TcxContainerStyle::SetTransparentBorder(bool value)
{
    SetSetValue(csvTransparentBorder, &TcxContainerStyle::transparentBorder_, value);
}

void TcxContainerStyle::SetTextColor(TColor value)
{
    if (HasOwnValue(csvTextColor) && GetTextColor() == value)
        return;
    styleData_.FontColor = value;
    assignedValues_ |= cxStyleValue(csvTextColor);
    Changed();
}

void TcxContainerStyle::SetTextStyle(TFontStyles value)
{
    if (HasOwnValue(csvTextStyle) && GetTextStyle() == value)
        return;
    textStyle_ = value;
    assignedValues_ |= cxStyleValue(csvTextStyle);
    Changed();
}

void TcxContainerStyle::SetFont(TFont* value)
{
    if (directAccessMode_) {
        styleData_.Font = value;
        return;
    }
    if (!IsBaseStyle())
        return parentStyle_->SetFont(value);
    BeginUpdate();
    if (value && value != ownFont_.get())
        ownFont_->Assign(value);
    assignedValues_ |= cxStyleValue(csvFont);
    Changed();
    EndUpdate();
}

void TcxContainerStyle::SetAssignedValues(TcxContainerStyleValues value)
{
    if (assignedValues_ == value)
        return;
    assignedValues_ = value;
    BeginUpdate();
    if (IsBaseStyle())
        UpdateFont();
    Changed();
    EndUpdate();
}

void TcxContainerStyle::SetLookAndFeel(TcxLookAndFeel* value)
{
    GetBaseStyle()->lookAndFeel_->Assign(value);
}

// ---- change notification ----

void TcxContainerStyle::Changed()
{
    modified_ = true;
    CheckChanges();
}

void TcxContainerStyle::EndUpdate()
{
    if (updateCount_ > 0) {
        --updateCount_;
        CheckChanges();
    }
}

void TcxContainerStyle::CheckChanges()
{
    if (!modified_ || updateCount_ != 0)
        return;
    modified_ = false;
    if (!destroying_ && !directAccessMode_)
        rtl::CallEvent(OnChanged, this);
}

void TcxContainerStyle::FontChanged(TObject*)
{
    if (fontAssignedLockCount_ <= 0)
        assignedValues_ |= cxStyleValue(csvFont);
    Changed();
}

// ---- font following ----

void TcxContainerStyle::LockFontAssignedValue(bool lock)
{
    if (lock)
        ++fontAssignedLockCount_;
    else if (fontAssignedLockCount_ > 0)
        --fontAssignedLockCount_;
}

void TcxContainerStyle::RestoreFont()
{
    if (!ownFont_)
        return;
    // Back to the default font is no assignment of a font.
    TFont defaultFont;
    LockFontAssignedValue(true);
    ownFont_->Assign(&defaultFont);
    LockFontAssignedValue(false);
}

void TcxContainerStyle::UpdateFont()
{
    if (directAccessMode_ || !ownFont_ || HasOwnValue(csvFont))
        return;
    LockFontAssignedValue(true);
    TFont* controllerFont = nullptr;
    const TcxContainerStyle* s = ControllerStyle();
    if (s && s->InternalGetFont(controllerFont) && controllerFont) {
        if (controllerFont != ownFont_.get())
            ownFont_->Assign(controllerFont);
    } else {
        TcxContainer* container = GetContainer();
        if (!container || !container->ParentFont())
            RestoreFont();
    }
    LockFontAssignedValue(false);
}

// ---- controller binding ----

TcxStyleController* TcxContainerStyle::BaseGetStyleController() const
{
    TcxStyleController* c = GetBaseStyle()->styleController_;
    return c == DefaultContainerStyleController() ? nullptr : c;
}

void TcxContainerStyle::BaseSetStyleController(TcxStyleController* value)
{
    if (!IsBaseStyle())
        return parentStyle_->BaseSetStyleController(value);
    if (DefaultContainerStyleController() && owner_ == DefaultContainerStyleController())
        return;
    if (!value)
        value = GetDefaultStyleController();
    // A controller whose chain leads back to this style would make every lookup endless.
    int links = 0;
    for (TcxStyleController* c = value; c; c = c->GetStyle()->styleController_) {
        if (c->GetStyle() == this || ++links > kMaxControllerChain)
            return;
    }
    if (value == styleController_)
        return;
    if (styleController_)
        styleController_->RemoveListener(this);
    styleController_ = value;
    if (value)
        value->AddListener(this);
    ControllerChangedNotification(value);
}

void TcxContainerStyle::ControllerChangedNotification(TcxStyleController*)
{
    // Following the controller's font is part of the same change: one notice.
    BeginUpdate();
    UpdateFont();
    Changed();
    EndUpdate();
}

void TcxContainerStyle::ControllerFreeNotification(TcxStyleController* controller)
{
    if (!controller || controller != GetActiveStyleController())
        return;
    if (GetDefaultStyleController() == controller) {
        // The default controller itself is going: follow none rather than the dying one.
        TcxContainerStyle* base = GetBaseStyle();
        base->styleController_ = nullptr;
        controller->RemoveListener(base);
        base->ControllerChangedNotification(nullptr);
        return;
    }
    BaseSetStyleController(nullptr);
}

// ---- names, publishing, assigned answers ----

bool TcxContainerStyle::GetStyleValueName(TcxContainerStyleValue value, std::string& name) const
{
    name.clear();
    if (value >= 0 && value < cxContainerStyleValueCount) {
        name = cxContainerStyleValueNameA[value];
        return true;
    }
    return false;
}

bool TcxContainerStyle::GetStyleValue(const std::string& name, TcxContainerStyleValue& value) const
{
    const std::string wanted = AnsiUpperCase(name);
    std::string n;
    for (int i = 0; i < GetStyleValueCount(); ++i) {
        if (GetStyleValueName(i, n) && AnsiUpperCase(n) == wanted) {
            value = i;
            return true;
        }
    }
    return false;
}

TcxContainerStyleValues TcxContainerStyle::InternalGetNotPublishedExtendedStyleValues() const
{
    return cxStyleValue(csvEdges) | cxStyleValue(csvFont) | cxStyleValue(csvHotTrack) | cxStyleValue(csvShadow) |
           cxStyleValue(csvTransparentBorder);
}

bool TcxContainerStyle::IsExtendedStylePropertyPublished(const std::string& name) const
{
    if (name == "LookAndFeel" || name == "StyleController")
        return false;
    TcxContainerStyleValue v;
    if (!GetStyleValue(name, v))
        return true;
    return (InternalGetNotPublishedExtendedStyleValues() & cxStyleValue(v)) == 0;
}

bool TcxContainerStyle::IsValueAssigned(TcxContainerStyleValue value) const
{
    switch (value) {
    case csvBorderColor: { TColor v; return InternalGetBorderColor(v); }
    case csvBorderStyle: { TcxContainerBorderStyle v; return InternalGetBorderStyle(v); }
    case csvColor: { TColor v; return InternalGetColor(v); }
    case csvEdges: { TcxBorders v; return InternalGetEdges(v); }
    case csvFont: { TFont* v; return InternalGetFont(v); }
    case csvHotTrack: { bool v; return InternalGetHotTrack(v); }
    case csvShadow: { bool v; return InternalGetShadow(v); }
    case csvTextColor: { TColor v; return InternalGetTextColor(v); }
    case csvTextStyle: { TFontStyles v; return InternalGetTextStyle(v); }
    default: return false;
    }
}

bool TcxContainerStyle::IsValueStored(TcxContainerStyleValue value) const
{
    if (!HasOwnValue(value))
        return false;
    TcxContainer* container = GetContainer();
    std::string name;
    GetStyleValueName(value, name);
    return !container || container->IsStylePropertyPublished(name, state_ != csNormal);
}

bool TcxContainerStyle::IsStyleControllerStored() const { return IsBaseStyle() && BaseGetStyleController() != nullptr; }

void TcxContainerStyle::ReadIsFontAssigned(rtl::TReader* reader)
{
    reader->ReadBoolean();
    SetAssignedValues(assignedValues_ | cxStyleValue(csvFont));
}

void TcxContainerStyle::WriteIsFontAssigned(rtl::TWriter* writer) { writer->WriteBoolean(true); }

void TcxContainerStyle::DefineProperties(rtl::TFiler* filer)
{
    TcxInterfacedPersistent::DefineProperties(filer);
    filer->DefineProperty(
        "IsFontAssigned", [this](rtl::TReader* r) { ReadIsFontAssigned(r); },
        [this](rtl::TWriter* w) { WriteIsFontAssigned(w); }, IsFontAssignedWritten());
}

// ---- assigning and restoring ----

void TcxContainerStyle::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxContainerStyle*>(source);
    if (!s)
        return TcxInterfacedPersistent::Assign(source);
    BeginUpdate();
    if (IsBaseStyle()) {
        BaseSetStyleController(s->GetBaseStyle()->styleController_);
        lookAndFeel_->Assign(s->GetLookAndFeel());
    }
    borderColor_ = s->borderColor_;
    borderStyle_ = s->borderStyle_;
    edges_ = s->edges_;
    hotTrack_ = s->hotTrack_;
    shadow_ = s->shadow_;
    transparentBorder_ = s->transparentBorder_;
    styleData_.Color = s->styleData_.Color;
    if (directAccessMode_) {
        styleData_.Font = s->styleData_.Font;
        styleData_.FontColor = s->GetTextColor();
    } else {
        if (ownFont_ && s->styleData_.Font && s->styleData_.Font != ownFont_.get()) {
            ownFont_->Assign(s->styleData_.Font);
            if (s->directAccessMode_)
                ownFont_->SetColor(s->GetTextColor());
        }
        styleData_.FontColor = s->GetTextColor();
        textStyle_ = s->GetTextStyle();
    }
    assignedValues_ = s->assignedValues_;
    Changed();
    EndUpdate();
}

void TcxContainerStyle::RestoreDefaults()
{
    BeginUpdate();
    SetAssignedValues(0);
    if (IsBaseStyle()) {
        lookAndFeel_->Reset();
        TcxContainer* container = GetContainer();
        if (container) {
            container->SetParentColor(false);
            container->SetParentFont(true);
        } else if (!directAccessMode_) {
            RestoreFont();
        }
        if (container && container->DefaultParentColor()) {
            TcxStyleController* c = GetActiveStyleController();
            TColor v;
            if (!c || !c->GetStyle()->InternalGetColor(v))
                container->SetParentColor(true);
        }
    }
    EndUpdate();
}

// ---- TcxContainerStyles ----

TcxContainerStyles::TcxContainerStyles(TPersistent* owner, TcxContainerStyleClass styleClass)
{
    styles_[csNormal] = styleClass.Create(owner, false, nullptr, csNormal);
    for (TcxContainerStateItem s : {csActive, csDisabled, csHotTrack})
        styles_[s] = styleClass.Create(owner, false, styles_[csNormal], s);
}

TcxContainerStyles::~TcxContainerStyles()
{
    for (int i = 3; i >= 0; --i)
        FreeAndNil(styles_[i]);
}

void TcxContainerStyles::RestoreDefaults()
{
    for (TcxContainerStyle* s : styles_)
        s->RestoreDefaults();
}

void TcxContainerStyles::SetOnChanged(TNotifyEvent handler)
{
    for (TcxContainerStyle* s : styles_)
        s->OnChanged = handler;
}

// ---- TcxStyleController ----

TcxStyleController::TcxStyleController(TComponent* owner) : TComponent(owner) { CreateStyles(); }

// A descendant whose GetStyleClass names another style class calls it again from its own
// constructor (the base constructor cannot reach the override); the first styles go.
void TcxStyleController::CreateStyles()
{
    FreeAndNil(styles_);
    styles_ = GetStylesClass().Create(this, GetStyleClass());
    styles_->SetOnChanged(TNotifyEvent(this, &TcxStyleController::StyleChanged));
}

TcxStyleController::~TcxStyleController()
{
    if (styles_)
        BeforeDestruction();
}

void TcxStyleController::BeforeDestruction()
{
    if (!styles_)
        return TComponent::BeforeDestruction();
    destruction_ = true;
    // The listeners rebind to the default controller, which removes them from the list.
    for (int i = int(listeners_.size()) - 1; i >= 0; --i) {
        if (i < int(listeners_.size()))
            listeners_[std::size_t(i)]->ControllerFreeNotification(this);
    }
    listeners_.clear();
    styles_->SetOnChanged({});
    FreeAndNil(styles_);
    TComponent::BeforeDestruction();
}

void TcxStyleController::Loaded()
{
    TComponent::Loaded();
    Changed();
}

void TcxStyleController::AddListener(TcxContainerStyle* style)
{
    if (!style || std::find(listeners_.begin(), listeners_.end(), style) != listeners_.end())
        return;
    listeners_.push_back(style);
    style->GetLookAndFeel()->SetMasterLookAndFeel(GetStyle()->GetLookAndFeel());
}

void TcxStyleController::RemoveListener(TcxContainerStyle* style)
{
    auto it = std::find(listeners_.begin(), listeners_.end(), style);
    if (!style || it == listeners_.end())
        return;
    listeners_.erase(it);
    style->GetLookAndFeel()->SetMasterLookAndFeel(nullptr);
}

void TcxStyleController::Changed()
{
    rtl::CallEvent(OnStyleChanged, this);
    if (destruction_)
        return;
    const auto listeners = listeners_;
    for (TcxContainerStyle* s : listeners) {
        if (std::find(listeners_.begin(), listeners_.end(), s) != listeners_.end())
            s->ControllerChangedNotification(this);
    }
}

void TcxStyleController::ChangeFontScale(int m, int d)
{
    TcxContainerStyle* normal = GetStyle();
    if (normal->GetAssignedValues() & cxStyleValue(csvFont)) {
        if (!fontScaled_) {
            fontScaled_ = true;
            TFont* f = normal->GetFont();
            f->SetSize(MulDiv(f->GetSize(), m, d));
        }
    } else if (TcxStyleController* c = normal->GetActiveStyleController()) {
        c->ChangeFontScale(m, d);
    }
}

} // namespace cx
