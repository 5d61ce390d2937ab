// Look-and-feel objects, their master chain, the root, the controller and the colour watcher.
#include "toolkit/core/cxLookAndFeels.h"

#include "platform/rtl/Filer.h"
#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/MessageQueue.h"
#include "toolkit/core/dxOffice11.h"

#include <algorithm>

using namespace cx;

bool cxUseSkins = true;
TdxClassSupportsSkinProc ClassSupportsSkinProc = nullptr;

namespace {

TcxLookAndFeel* root = nullptr;
int controllerCount = 0;

template <class T>
bool Contains(const std::vector<T*>& list, T* item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

template <class T>
void Remove(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// ---- the system-colour listener: one hidden window while any notifier exists ----

struct PaletteListener {
    std::vector<TcxSystemPaletteChangedNotifier*> notifiers;
    std::vector<TcxSystemPaletteChangedNotifier*> primaryNotifiers;
    HWND window = nullptr;
};
PaletteListener* paletteListener = nullptr;
int paletteListenerRefCount = 0;

void ListenerWndProc(TMessage& message)
{
    struct PassOn {
        TMessage& m;
        ~PassOn() { m.Result = vcl::DefWindowProc(paletteListener ? paletteListener->window : nullptr, m.Msg,
                                             m.WParam, m.LParam); }
    } passOn{message};
    if (message.Msg == WM_SYSCOLORCHANGE)
        cxLookAndFeelsSystemColorsChanged();
}

void AcquirePaletteListener()
{
    if (paletteListenerRefCount++ == 0) {
        paletteListener = new PaletteListener;
        CreateOffice11Colors();
        paletteListener->window = vcl::AllocateHWnd(ListenerWndProc);
    }
}

void ReleasePaletteListener()
{
    if (paletteListenerRefCount == 0 || --paletteListenerRefCount > 0)
        return;
    vcl::DeallocateHWnd(paletteListener->window);
    delete paletteListener;
    paletteListener = nullptr;
    ReleaseOffice11Colors();
}

void NotifyLastFirst(const std::vector<TcxSystemPaletteChangedNotifier*>& list)
{
    const auto copy = list;
    for (auto it = copy.rbegin(); it != copy.rend(); ++it)
        if (paletteListener && (Contains(paletteListener->notifiers, *it) ||
                                Contains(paletteListener->primaryNotifiers, *it)))
            (*it)->DoChanged();
}

TcxCustomLookAndFeelPainterClass KindPainter(TcxLookAndFeelKind kind)
{
    switch (kind) {
    case lfFlat:
        return TcxFlatLookAndFeelPainter::Class();
    case lfStandard:
        return TcxStandardLookAndFeelPainter::Class();
    case lfOffice11:
        return TcxOffice11LookAndFeelPainter::Class();
    default:
        return TcxUltraFlatLookAndFeelPainter::Class();
    }
}

TcxLookAndFeelStyle KindStyle(TcxLookAndFeelKind kind)
{
    static const TcxLookAndFeelStyle styles[] = {lfsFlat, lfsStandard, lfsUltraFlat, lfsOffice11};
    return styles[kind];
}

} // namespace

void cxLookAndFeelsSystemColorsChanged()
{
    RefreshOffice11Colors();
    if (!paletteListener)
        return;
    NotifyLastFirst(paletteListener->primaryNotifiers);
    if (paletteListener)
        NotifyLastFirst(paletteListener->notifiers);
}

HWND cxSystemPaletteListenerWindow() { return paletteListener ? paletteListener->window : nullptr; }

// ---- TcxSystemPaletteChangedNotifier ----

TcxSystemPaletteChangedNotifier::TcxSystemPaletteChangedNotifier(bool isPrimary) : isPrimary_(isPrimary)
{
    AcquirePaletteListener();
    (isPrimary ? paletteListener->primaryNotifiers : paletteListener->notifiers).push_back(this);
}

TcxSystemPaletteChangedNotifier::~TcxSystemPaletteChangedNotifier()
{
    if (paletteListener)
        Remove(isPrimary_ ? paletteListener->primaryNotifiers : paletteListener->notifiers, this);
    ReleasePaletteListener();
}

void TcxSystemPaletteChangedNotifier::DoChanged() { CallEvent(OnSystemPaletteChanged); }

// ---- TcxLookAndFeel ----

TcxLookAndFeel::TcxLookAndFeel(rtl::TPersistent* owner) : TcxInterfacedPersistent(owner)
{
    data_ = assignedData_;
    notifier_ = new TcxSystemPaletteChangedNotifier(false);
    notifier_->OnSystemPaletteChanged = TcxSystemPaletteChangedEvent(this, &TcxLookAndFeel::SystemPaletteChanged);
    if (root) {
        root->AddChangeListener(this);
        InitializeCurrentState();
    }
    data_.Painter = GetAvailablePainter();
}

TcxLookAndFeel::~TcxLookAndFeel()
{
    if (auto* painters = GetExtendedStylePainters())
        painters->RemoveListener(this);
    delete notifier_;
    notifier_ = nullptr;
    destroying_ = true;
    const auto count = listeners_.size();
    for (size_t i = 0; i < count && i < listeners_.size(); ++i)
        listeners_[i]->MasterLookAndFeelDestroying(this);
    destroying_ = false;
    listeners_.clear();
    if (auto* master = EffectiveMaster())
        master->RemoveChangeListener(this);
    if (isRoot_) {
        root = nullptr;
        isRoot_ = false;
    }
}

TcxLookAndFeel* TcxLookAndFeel::EffectiveMaster() const
{
    if (isRoot_)
        return nullptr;
    return master_ ? master_ : root;
}

TcxLookAndFeel* TcxLookAndFeel::GetMasterLookAndFeel() const { return EffectiveMaster(); }

void TcxLookAndFeel::SetAssignedValues(TcxLookAndFeelValues values)
{
    if (values == assignedValues_)
        return;
    SaveState();
    assignedValues_ = values;
    CheckStateChanges();
}

void TcxLookAndFeel::SetKind(TcxLookAndFeelKind value)
{
    const TcxLookAndFeelKind old = data_.Kind;
    assignedValues_.Include(lfvKind);
    assignedData_.Kind = value;
    if (InternalGetKind() != old)
        Changed({lfvKind});
}

void TcxLookAndFeel::SetNativeStyle(bool value)
{
    const bool old = data_.NativeStyle;
    assignedValues_.Include(lfvNativeStyle);
    assignedData_.NativeStyle = value;
    if (InternalGetNativeStyle() != old)
        Changed({lfvNativeStyle});
}

void TcxLookAndFeel::SetSkinName(const std::string& value)
{
    const std::string old = data_.SkinName;
    assignedValues_.Include(lfvSkinName);
    assignedData_.SkinName = value;
    if (InternalGetSkinName() != old)
        Changed({lfvSkinName});
}

void TcxLookAndFeel::SetMasterLookAndFeel(TcxLookAndFeel* value)
{
    if (isRoot_ || value == this || value == GetMasterLookAndFeel())
        return;
    SaveState();
    if (auto* old = EffectiveMaster())
        old->RemoveChangeListener(this);
    master_ = value;
    if (auto* now = EffectiveMaster())
        now->AddChangeListener(this);
    CheckStateChanges();
}

TcxCustomLookAndFeelPainterClass TcxLookAndFeel::GetPainter() const
{
    return painterOverride_ ? painterOverride_ : data_.Painter;
}

void TcxLookAndFeel::SetPainter(TcxCustomLookAndFeelPainterClass value)
{
    if (value == GetPainter())
        return;
    painterOverride_ = value;
    Changed({lfvKind, lfvNativeStyle});
}

TcxCustomLookAndFeelPainterClass TcxLookAndFeel::GetAvailablePainter(TdxThemedObjectType type) const
{
    if (data_.NativeStyle && AreVisualStylesAvailable(type))
        return TcxWinXPLookAndFeelPainter::Class();
    return skinPainter_ ? skinPainter_ : KindPainter(data_.Kind);
}

TcxCustomLookAndFeelPainterClass TcxLookAndFeel::GetAvailablePainter(TdxThemedObjectTypes types) const
{
    if (data_.NativeStyle && AreVisualStylesAvailable(types))
        return TcxWinXPLookAndFeelPainter::Class();
    return skinPainter_ ? skinPainter_ : KindPainter(data_.Kind);
}

TcxLookAndFeelStyle TcxLookAndFeel::GetActiveStyle() const
{
    if (data_.NativeStyle && AreVisualStylesAvailable(TdxThemedObjectTypes{}))
        return lfsNative;
    return KindStyle(data_.Kind);
}

void TcxLookAndFeel::SetStyle(TcxLookAndFeelStyle value)
{
    SetNativeStyle(value == lfsNative);
    if (data_.NativeStyle)
        return;
    switch (value) {
    case lfsFlat:
        SetKind(lfFlat);
        break;
    case lfsStandard:
        SetKind(lfStandard);
        break;
    case lfsUltraFlat:
        SetKind(lfUltraFlat);
        break;
    case lfsOffice11:
        SetKind(lfOffice11);
        break;
    default:
        break;
    }
}

void TcxLookAndFeel::Assign(rtl::TPersistent* source)
{
    auto* other = dynamic_cast<TcxLookAndFeel*>(source);
    if (!other) {
        TcxInterfacedPersistent::Assign(source);
        return;
    }
    SaveState();
    assignedData_ = other->assignedData_;
    assignedValues_ = other->assignedValues_;
    SetMasterLookAndFeel(other->GetMasterLookAndFeel());
    CheckStateChanges();
}

void TcxLookAndFeel::NotifyChanged()
{
    if (destroying_)
        return;
    for (size_t i = 0; i < listeners_.size();) {
        const size_t count = listeners_.size();
        if (auto* lookAndFeel = dynamic_cast<TcxLookAndFeel*>(listeners_[i]->GetObject()))
            lookAndFeel->NotifyChanged();
        if (listeners_.size() == count)
            ++i;
    }
    CallEvent(OnChanged, this, TcxLookAndFeelValues{});
}

void TcxLookAndFeel::AddChangeListener(IcxLookAndFeelNotificationListener* listener)
{
    if (!listener)
        return;
    const bool isController = dynamic_cast<TcxLookAndFeelController*>(listener->GetObject()) != nullptr;
    if (isController && !isRoot_)
        return; // controllers listen to the root only
    if (Contains(listeners_, listener))
        return;
    if (isRoot_ && isController)
        ++controllerCount;
    listeners_.push_back(listener);
}

void TcxLookAndFeel::RemoveChangeListener(IcxLookAndFeelNotificationListener* listener)
{
    if (!listener || !Contains(listeners_, listener))
        return;
    if (!destroying_)
        Remove(listeners_, listener);
    if (isRoot_ && dynamic_cast<TcxLookAndFeelController*>(listener->GetObject()) && --controllerCount == 0)
        Reset();
}

void TcxLookAndFeel::Changed(TcxLookAndFeelValues changedValues)
{
    if (changedValues.Empty() && data_.UseSkins == cxUseSkins)
        return;
    if (destroying_)
        return;
    InitializeCurrentState();
    data_.Painter = GetAvailablePainter();
    if (auto* painters = GetExtendedStylePainters()) {
        if (skinPainter_)
            painters->AddListener(this);
        else
            painters->RemoveListener(this);
    }
    for (size_t i = 0; i < listeners_.size();) {
        const size_t count = listeners_.size();
        listeners_[i]->MasterLookAndFeelChanged(this, changedValues);
        if (listeners_.size() == count)
            ++i;
    }
    CallEvent(OnChanged, this, changedValues);
}

void TcxLookAndFeel::SaveState()
{
    savedState_.Kind = data_.Kind;
    savedState_.NativeStyle = data_.NativeStyle;
    savedState_.SkinName = data_.SkinName;
}

void TcxLookAndFeel::CheckStateChanges()
{
    TcxLookAndFeelValues changed;
    if (InternalGetKind() != savedState_.Kind)
        changed.Include(lfvKind);
    if (InternalGetNativeStyle() != savedState_.NativeStyle)
        changed.Include(lfvNativeStyle);
    if (InternalGetSkinName() != savedState_.SkinName)
        changed.Include(lfvSkinName);
    Changed(changed);
}

TcxLookAndFeelKind TcxLookAndFeel::GetDefaultKind() const
{
    const TcxLookAndFeel* master = EffectiveMaster();
    return master ? master->GetKind() : lfUltraFlat;
}

bool TcxLookAndFeel::GetDefaultNativeStyle() const
{
    const TcxLookAndFeel* master = EffectiveMaster();
    return master ? master->GetNativeStyle() : false;
}

std::string TcxLookAndFeel::GetDefaultSkinName() const
{
    const TcxLookAndFeel* master = EffectiveMaster();
    return master ? master->GetSkinName() : std::string();
}

TcxCustomLookAndFeelPainterClass TcxLookAndFeel::GetDefaultSkinPainter() const
{
    const TcxLookAndFeel* master = EffectiveMaster();
    if (!master)
        return nullptr;
    TcxCustomLookAndFeelPainterClass painter = nullptr;
    master->IsVisualSkinAvailable(master->GetSkinName(), painter);
    return painter;
}

void TcxLookAndFeel::InitializeCurrentState()
{
    data_.Kind = InternalGetKind();
    data_.NativeStyle = InternalGetNativeStyle();
    data_.SkinName = InternalGetSkinName();
    data_.UseSkins = cxUseSkins;
    skinPainter_ = data_.NativeStyle ? nullptr : InternalGetSkinPainter();
}

TcxLookAndFeelKind TcxLookAndFeel::InternalGetKind() const
{
    return assignedValues_.Contains(lfvKind) ? assignedData_.Kind : GetDefaultKind();
}

bool TcxLookAndFeel::InternalGetNativeStyle() const
{
    return assignedValues_.Contains(lfvNativeStyle) ? assignedData_.NativeStyle : GetDefaultNativeStyle();
}

std::string TcxLookAndFeel::InternalGetSkinName() const
{
    return assignedValues_.Contains(lfvSkinName) ? assignedData_.SkinName : GetDefaultSkinName();
}

TcxCustomLookAndFeelPainterClass TcxLookAndFeel::InternalGetSkinPainter() const
{
    if (!assignedValues_.Contains(lfvSkinName))
        return GetDefaultSkinPainter();
    TcxCustomLookAndFeelPainterClass painter = nullptr;
    IsVisualSkinAvailable(assignedData_.SkinName, painter);
    return painter;
}

bool TcxLookAndFeel::IsVisualSkinAvailable(const std::string& skinName,
                                           TcxCustomLookAndFeelPainterClass& painter) const
{
    painter = nullptr;
    auto* painters = GetExtendedStylePainters();
    TcxCustomLookAndFeelPainterClass found = nullptr;
    const bool result = !skinName.empty() && painters && painters->GetPainterByName(skinName, found);
    if (result && cxUseSkins)
        painter = found;
    return result;
}

void TcxLookAndFeel::SystemPaletteChanged() { Changed({lfvNativeStyle}); }

void TcxLookAndFeel::MasterLookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues changedValues)
{
    Changed(changedValues - assignedValues_);
}

void TcxLookAndFeel::MasterLookAndFeelDestroying(TcxLookAndFeel*) { SetMasterLookAndFeel(nullptr); }

void TcxLookAndFeel::PainterChanged(TcxCustomLookAndFeelPainterClass) { Changed(cxLookAndFeelValuesAll); }

// ---- TcxLookAndFeelController ----

TcxLookAndFeelController::TcxLookAndFeelController(rtl::TComponent* owner) : TComponent(owner)
{
    if (root)
        root->AddChangeListener(this);
}

TcxLookAndFeelController::~TcxLookAndFeelController()
{
    if (root)
        root->RemoveChangeListener(this);
}

TcxLookAndFeelKind TcxLookAndFeelController::GetKind() const { return root ? root->GetKind() : lfUltraFlat; }
void TcxLookAndFeelController::SetKind(TcxLookAndFeelKind value)
{
    if (root)
        root->SetKind(value);
}
bool TcxLookAndFeelController::GetNativeStyle() const { return root ? root->GetNativeStyle() : false; }
void TcxLookAndFeelController::SetNativeStyle(bool value)
{
    if (root)
        root->SetNativeStyle(value);
}
std::string TcxLookAndFeelController::GetSkinName() const { return root ? root->GetSkinName() : std::string(); }
void TcxLookAndFeelController::SetSkinName(const std::string& value)
{
    if (root)
        root->SetSkinName(value);
}

void TcxLookAndFeelController::MasterLookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues)
{
    if (ComponentState().Contains(rtl::csDesigning))
        Modified();
}

// No form designer exists at run time, so there is nobody to tell.
void TcxLookAndFeelController::MasterLookAndFeelDestroying(TcxLookAndFeel*) {}

// ---- unit procedures ----

TcxLookAndFeel* RootLookAndFeel() { return root; }

namespace {

template <class F>
void ForEachContainer(TWinControl* control, const F& f)
{
    if (!control)
        return;
    if (auto* container = dynamic_cast<IcxLookAndFeelContainer*>(control))
        f(container->GetLookAndFeel());
    for (int i = 0; i < control->ControlCount(); ++i)
        ForEachContainer(dynamic_cast<TWinControl*>(control->Controls(i)), f);
}

} // namespace

void SetControlLookAndFeel(TWinControl* control, TcxLookAndFeel* masterLookAndFeel)
{
    ForEachContainer(control, [masterLookAndFeel](TcxLookAndFeel* lookAndFeel) {
        if (lookAndFeel)
            lookAndFeel->SetMasterLookAndFeel(masterLookAndFeel);
    });
}

void SetControlLookAndFeel(TWinControl* control, TcxLookAndFeelKind kind, bool nativeStyle)
{
    ForEachContainer(control, [kind, nativeStyle](TcxLookAndFeel* lookAndFeel) {
        if (lookAndFeel) {
            lookAndFeel->SetKind(kind);
            lookAndFeel->SetNativeStyle(nativeStyle);
        }
    });
}

bool IsSkinSupportClass(rtl::TObject* object) { return dynamic_cast<IdxSkinSupport*>(object) != nullptr; }

void cxLookAndFeelsCreateRoot()
{
    root = new TcxLookAndFeel(nullptr);
    root->isRoot_ = true;
}

void TcxLookAndFeel::DefineProperties(TFiler* filer)
{
    TPersistent::DefineProperties(filer);
    filer->DefineProperty(
        "SkinName", [this](TReader* reader) { SetSkinName(reader->ReadString()); },
        [this](TWriter* writer) { writer->WriteString(GetSkinName()); },
        IsSkinNameStored() && GetSkinName().empty());
}

namespace {
const bool lookAndFeelPropsRegistered = [] {
    const std::vector<std::string> kinds = {"lfFlat", "lfStandard", "lfUltraFlat", "lfOffice11"};
    {
        using L = TcxLookAndFeel;
        TPropInfo assigned;
        assigned.Name = "AssignedValues";
        assigned.Kind = tkSet;
        assigned.SetSize = 1;
        assigned.EnumNames = {"lfvKind", "lfvNativeStyle", "lfvSkinName"};
        assigned.Get = [](TObject* o) { return Variant(std::int64_t(static_cast<L*>(o)->AssignedValues().Bits())); };
        assigned.Set = [](TObject* o, const Variant& v) {
            TcxLookAndFeelValues values;
            for (int i = 0; i <= int(lfvSkinName); ++i)
                if (v.ToInt64() & (std::int64_t(1) << i))
                    values.Include(static_cast<TcxLookAndFeelValue>(i));
            static_cast<L*>(o)->SetAssignedValues(values);
        };
        assigned.Stored = [](TObject*) { return false; };
        auto kind = PublishedProp<L, TcxLookAndFeelKind>("Kind", tkEnumeration, &L::GetKind, &L::SetKind);
        kind.EnumNames = kinds;
        kind.Stored = [](TObject* o) { return static_cast<L*>(o)->IsKindStored(); };
        auto native = PublishedProp<L, bool>("NativeStyle", tkEnumeration, &L::GetNativeStyle, &L::SetNativeStyle);
        native.EnumNames = {"False", "True"};
        native.Stored = [](TObject* o) { return static_cast<L*>(o)->IsNativeStyleStored(); };
        auto skin = PublishedProp<L, const std::string&>("SkinName", tkString, &L::GetSkinName, &L::SetSkinName);
        skin.Stored = [](TObject* o) { return static_cast<L*>(o)->IsSkinNameStored(); };
        RegisterPublishedProperties(L::StaticClass(), {assigned, kind, native, skin});
    }
    {
        using C = TcxLookAndFeelController;
        auto kind = PublishedProp<C, TcxLookAndFeelKind>("Kind", tkEnumeration, &C::GetKind, &C::SetKind);
        kind.EnumNames = kinds;
        kind.HasDefault = true;
        kind.Default = lfUltraFlat;
        auto native = PublishedProp<C, bool>("NativeStyle", tkEnumeration, &C::GetNativeStyle, &C::SetNativeStyle);
        native.EnumNames = {"False", "True"};
        native.HasDefault = true;
        TPropInfo skin;
        skin.Name = "SkinName";
        skin.Kind = tkString;
        skin.Get = [](TObject* o) { return Variant(static_cast<C*>(o)->GetSkinName()); };
        skin.Set = [](TObject* o, const Variant& v) { static_cast<C*>(o)->SetSkinName(v.ToString()); };
        skin.Stored = [](TObject* o) { return static_cast<C*>(o)->IsSkinNameStored(); };
        RegisterPublishedProperties(C::StaticClass(), {kind, native, skin});
    }
    return true;
}();
} // namespace

namespace cxLookAndFeelsUnit {

namespace {
int initCount = 0;
}

void Initialize()
{
    if (initCount++ > 0)
        return;
    cxLookAndFeelsCreateRoot();
    ClassSupportsSkinProc = IsSkinSupportClass;
}

void Finalize()
{
    if (initCount == 0 || --initCount > 0)
        return;
    if (root)
        root->Free();
    root = nullptr;
    controllerCount = 0;
}

} // namespace cxLookAndFeelsUnit
