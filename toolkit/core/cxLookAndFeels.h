#pragma once
// Look and feel: the kind, native style and skin name a control paints with, each either
// assigned on the object or inherited from a master (ultimately the application-wide root); a
// change travels down the chain as a set of values, stopping where a value is assigned. Also the
// root's design-time controller, the system-colour watcher and SetControlLookAndFeel.
#include "platform/rtl/Classes.h"
#include "platform/rtl/Event.h"
#include "platform/rtl/Set.h"
#include "platform/vcl/Messages.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/dxThemeManager.h"

#include <string>
#include <vector>

class TWinControl;

enum TcxLookAndFeelValue { lfvKind, lfvNativeStyle, lfvSkinName };
using TcxLookAndFeelValues = rtl::Set<TcxLookAndFeelValue>;
inline const TcxLookAndFeelValues cxLookAndFeelValuesAll{lfvKind, lfvNativeStyle, lfvSkinName};

class TcxLookAndFeel;
using TcxLookAndFeelChangedEvent = rtl::Event<void(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues)>;
using TcxSystemPaletteChangedEvent = rtl::Event<void()>;
using TdxClassSupportsSkinProc = bool (*)(rtl::TObject* object);

class IcxLookAndFeelNotificationListener {
public:
    virtual ~IcxLookAndFeelNotificationListener() = default;
    virtual rtl::TObject* GetObject() = 0;
    virtual void MasterLookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues) = 0;
    virtual void MasterLookAndFeelDestroying(TcxLookAndFeel* sender) = 0;
};

// Implemented by every toolkit control that owns a look and feel.
class IcxLookAndFeelContainer {
public:
    virtual ~IcxLookAndFeelContainer() = default;
    virtual TcxLookAndFeel* GetLookAndFeel() = 0;
};

// Marks a class that takes part in skinned painting.
class IdxSkinSupport {
public:
    virtual ~IdxSkinSupport() = default;
};

struct TcxLookAndFeelData {
    TcxLookAndFeelKind Kind = lfUltraFlat;
    bool NativeStyle = false;
    std::string SkinName;
    TcxCustomLookAndFeelPainterClass Painter = nullptr;
    bool UseSkins = false;
};

// Told of a change of the Windows system colours.
class TcxSystemPaletteChangedNotifier : public rtl::TObject {
    RTL_CLASS(TcxSystemPaletteChangedNotifier, rtl::TObject)
    explicit TcxSystemPaletteChangedNotifier(bool isPrimary = false);
    ~TcxSystemPaletteChangedNotifier() override;
    virtual void DoChanged();
    bool IsPrimary() const { return isPrimary_; }
    TcxSystemPaletteChangedEvent OnSystemPaletteChanged;

private:
    bool isPrimary_;
};

class TcxLookAndFeel : public cx::TcxInterfacedPersistent,
                       public IcxLookAndFeelNotificationListener,
                       public IcxLookAndFeelPainterListener {
    RTL_CLASS(TcxLookAndFeel, cx::TcxInterfacedPersistent)
    explicit TcxLookAndFeel(rtl::TPersistent* owner);
    ~TcxLookAndFeel() override;

    TcxLookAndFeelValues AssignedValues() const { return assignedValues_; }
    void SetAssignedValues(TcxLookAndFeelValues values);
    TcxLookAndFeelKind GetKind() const { return data_.Kind; }
    void SetKind(TcxLookAndFeelKind value);
    bool GetNativeStyle() const { return data_.NativeStyle; }
    void SetNativeStyle(bool value);
    const std::string& GetSkinName() const { return data_.SkinName; }
    void SetSkinName(const std::string& value);
    bool IsKindStored() const { return assignedValues_.Contains(lfvKind); }
    bool IsNativeStyleStored() const { return assignedValues_.Contains(lfvNativeStyle); }
    bool IsSkinNameStored() const { return assignedValues_.Contains(lfvSkinName); }

    void Reset() { SetAssignedValues({}); }
    TcxLookAndFeel* GetMasterLookAndFeel() const;
    void SetMasterLookAndFeel(TcxLookAndFeel* value);
    TcxCustomLookAndFeelPainterClass GetPainter() const;
    void SetPainter(TcxCustomLookAndFeelPainterClass value);
    TcxCustomLookAndFeelPainterClass GetAvailablePainter(cx::TdxThemedObjectType neededThemedObjectType) const;
    TcxCustomLookAndFeelPainterClass GetAvailablePainter(cx::TdxThemedObjectTypes neededThemedObjectTypes = {}) const;
    TcxLookAndFeelStyle GetActiveStyle() const;
    void SetStyle(TcxLookAndFeelStyle value);
    void Assign(rtl::TPersistent* source) override;
    void Refresh() { Changed(cxLookAndFeelValuesAll); }
    void NotifyChanged();
    void AddChangeListener(IcxLookAndFeelNotificationListener* listener);
    void RemoveChangeListener(IcxLookAndFeelNotificationListener* listener);
    int ChangeListenerCount() const { return int(listeners_.size()); }
    bool IsRoot() const { return isRoot_; }
    TcxCustomLookAndFeelPainterClass SkinPainter() const { return skinPainter_; }

    // IcxLookAndFeelNotificationListener, IcxLookAndFeelPainterListener
    rtl::TObject* GetObject() override { return this; }
    void MasterLookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues) override;
    void MasterLookAndFeelDestroying(TcxLookAndFeel* sender) override;
    void PainterChanged(TcxCustomLookAndFeelPainterClass painter) override;

    TcxLookAndFeelChangedEvent OnChanged;

protected:
    // An assigned empty skin name is stored here: the published SkinName of an empty name is not.
    void DefineProperties(rtl::TFiler* filer) override;

    void Changed(TcxLookAndFeelValues changedValues);
    void SaveState();
    void CheckStateChanges();
    TcxLookAndFeelKind GetDefaultKind() const;
    bool GetDefaultNativeStyle() const;
    std::string GetDefaultSkinName() const;
    TcxCustomLookAndFeelPainterClass GetDefaultSkinPainter() const;
    virtual void InitializeCurrentState();
    virtual TcxLookAndFeelKind InternalGetKind() const;
    virtual bool InternalGetNativeStyle() const;
    virtual std::string InternalGetSkinName() const;
    virtual TcxCustomLookAndFeelPainterClass InternalGetSkinPainter() const;
    virtual bool IsVisualSkinAvailable(const std::string& skinName, TcxCustomLookAndFeelPainterClass& painter) const;
    virtual void SystemPaletteChanged();

private:
    friend void cxLookAndFeelsCreateRoot();
    TcxLookAndFeel* EffectiveMaster() const;

    TcxLookAndFeelValues assignedValues_;
    std::vector<IcxLookAndFeelNotificationListener*> listeners_;
    TcxLookAndFeelData data_;         // current state
    TcxLookAndFeelData assignedData_; // values last set
    bool destroying_ = false;
    bool isRoot_ = false;
    TcxLookAndFeel* master_ = nullptr;
    TcxCustomLookAndFeelPainterClass painterOverride_ = nullptr;
    TcxCustomLookAndFeelPainterClass skinPainter_ = nullptr;
    TcxLookAndFeelData savedState_;
    TcxSystemPaletteChangedNotifier* notifier_ = nullptr;
};

// Edits the root look and feel; the root forgets its assigned values when the last goes.
class TcxLookAndFeelController : public rtl::TComponent, public IcxLookAndFeelNotificationListener {
    RTL_CLASS(TcxLookAndFeelController, rtl::TComponent)
    explicit TcxLookAndFeelController(rtl::TComponent* owner);
    ~TcxLookAndFeelController() override;
    TcxLookAndFeelKind GetKind() const;
    void SetKind(TcxLookAndFeelKind value);
    bool GetNativeStyle() const;
    void SetNativeStyle(bool value);
    std::string GetSkinName() const;
    void SetSkinName(const std::string& value);
    bool IsSkinNameStored() const { return !GetSkinName().empty(); }

    rtl::TObject* GetObject() override { return this; }
    void MasterLookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues) override;
    void MasterLookAndFeelDestroying(TcxLookAndFeel* sender) override;

protected:
    virtual void Modified() {}
};

TcxLookAndFeel* RootLookAndFeel();
void SetControlLookAndFeel(TWinControl* control, TcxLookAndFeel* masterLookAndFeel);
void SetControlLookAndFeel(TWinControl* control, TcxLookAndFeelKind kind, bool nativeStyle);
bool IsSkinSupportClass(rtl::TObject* object);
// Whether skin painters may be used; nothing in the program changes it.
extern bool cxUseSkins;
extern TdxClassSupportsSkinProc ClassSupportsSkinProc;

// What the palette listener's hidden window does with WM_SYSCOLORCHANGE: refresh the Office 2003
// colours, then tell the primary notifiers and then the ordinary ones, each list last first.
void cxLookAndFeelsSystemColorsChanged();
// The palette listener's hidden window (none while no notifier exists).
HWND cxSystemPaletteListenerWindow();

namespace cxLookAndFeelsUnit {
void Initialize(); // after cxLookAndFeelPaintersUnit
void Finalize();
} // namespace cxLookAndFeelsUnit
