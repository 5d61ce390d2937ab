#pragma once
// cxEdit: the editor framework's settings. The buttons an editor kind carries and their view
// infos, the editor styles with their style controllers, the properties object that describes an editor kind (shared by editor controls, grid
// cells and repository items), the default values a bound data source supplies, repository items
// and repositories, the registries through which hosts find editor kinds by class name and by
// value type, the unit's small routines and its start-up.
#include <optional>
#include <string>
#include <vector>

#include "platform/rtl/Variant.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxGraphics.h"
#include "toolkit/data/cxDataUtils.h"
#include "toolkit/controls/cxContainer.h"
#include "toolkit/controls/cxControls.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

class TcxCustomEditProperties;
class TcxEditRepository;
class TcxEditRepositoryItem;
class TcxCustomEditStyle;
class TcxCustomEditViewData;
class TcxCustomEditViewInfo;
struct TcxEditSizeProperties;
// The view classes of an editor kind (declared in cxEditViewInfo.h).
using TcxCustomEditViewDataClass = TClassRef<TcxCustomEditViewData, TcxCustomEditProperties*, TcxCustomEditStyle*, bool>;
using TcxCustomEditViewInfoClass = TClassRef<TcxCustomEditViewInfo>;

// ---- editor buttons ---------------------------------------------------------------------------

enum TcxEditButtonKind { bkEllipsis, bkDown, bkGlyph, bkText };
enum TcxEditButtonState { ebsDisabled, ebsNormal, ebsPressed, ebsSelected };   // selected = hot
enum TcxEditButtonStyle { btsDefault, bts3D, btsFlat, btsSimple, btsHotFlat, btsUltraFlat, btsOffice11 };

// A button inside an editor's frame. Every setter notifies the collection only on a real change.
class TcxEditButton : public TCollectionItem {
    RTL_CLASS(TcxEditButton, TCollectionItem)
    explicit TcxEditButton(TCollection* collection);
    ~TcxEditButton() override;
    void Assign(TPersistent* source) override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    // The caption without accelerator marks, as it is drawn.
    const std::string& VisibleCaption() const { return visibleCaption_; }
    TAlignment ContentAlignment() const { return contentAlignment_; }
    void SetContentAlignment(TAlignment value);
    // The button the properties' ClickKey clicks; at most one button of a collection has it.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Created (empty) on first read.
    TBitmap* Glyph();
    void SetGlyph(TBitmap* value);
    // Whether a glyph exists, without creating one.
    bool HasGlyph() const { return glyph_ != nullptr; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    TcxEditButtonKind Kind() const { return kind_; }
    void SetKind(TcxEditButtonKind value);
    bool LeftAlignment() const { return leftAlignment_; }
    void SetLeftAlignment(bool value);
    bool Stretchable() const { return stretchable_; }
    void SetStretchable(bool value);
    int Tag() const { return tag_; }
    void SetTag(int value);
    bool IsTagStored() const { return tag_ != 0; }
    TColor TextColor() const { return textColor_; }
    void SetTextColor(TColor value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    // 0 = the default width the view data computes; negative widths are refused.
    int Width() const { return width_; }
    void SetWidth(int value);

private:
    void GlyphChanged(TObject* sender) { Changed(false); }
    std::string caption_;
    TAlignment contentAlignment_ = taCenter;
    bool default_ = false;
    bool enabled_ = true;
    TBitmap* glyph_ = nullptr;
    std::string hint_;
    TcxEditButtonKind kind_ = bkDown;
    bool leftAlignment_ = false;
    bool stretchable_ = true;
    int tag_ = 0;
    TColor textColor_ = clBtnText;
    bool visible_ = true;
    std::string visibleCaption_;
    int width_ = 0;
};
using TcxEditButtonClass = TCollectionItemClass;

class TcxEditButtons : public TCollection {
    RTL_CLASS(TcxEditButtons, TCollection)
    TcxEditButtons(TPersistent* owner, TCollectionItemClass buttonClass);
    // The class of the buttons this collection holds.
    virtual TCollectionItemClass GetButtonClass() const;

    TcxEditButton* Items(int index) const { return static_cast<TcxEditButton*>(TCollection::Items(index)); }
    void SetItem(int index, TcxEditButton* value) { Items(index)->Assign(value); }
    TcxEditButton* Add() { return static_cast<TcxEditButton*>(TCollection::Add()); }
    int VisibleCount() const;
    TPersistent* GetOwner() override { return owner_; }

    // The owning properties hook this to their ButtonsChanged.
    Event<void(TObject* sender)> OnChange;

protected:
    void Update(TCollectionItem* item) override;

private:
    TPersistent* owner_;
};
using TcxEditButtonsClass = TClassRef<TcxEditButtons, TPersistent*, TCollectionItemClass>;

struct TcxEditButtonViewInfoData {
    TColor BackgroundColor = clDefault;
    std::string Caption;
    TAlignment ContentAlignment = taCenter;
    bool Default = false;
    bool Gradient = false;
    bool IsInplace = false;
    TcxEditButtonKind Kind = bkDown;
    bool LeftAlignment = false;
    bool Leftmost = false;   // the first button at its edge
    bool NativeStyle = false;
    bool Rightmost = false;
    TcxEditButtonState State = ebsNormal;
    TcxEditButtonStyle Style = btsDefault;
    TColor TextColor = clBtnText;
    bool Transparent = false;
    std::string VisibleCaption;
    bool BackgroundPartiallyTransparent = false;
    bool ComboBoxStyle = false;
    int NativePart = 0;
    int NativeState = 0;
};

// One visible button as the view data laid it out; it also decides whether a state change
// needs a repaint.
class TcxEditButtonViewInfo : public TPersistent {
    RTL_CLASS(TcxEditButtonViewInfo, TPersistent)
    TcxEditButtonViewInfo() = default;
    // Copies what decides the look: native state, background colour, bounds, style and state.
    void Assign(TPersistent* source) override;
    // Empty when the look is the same as the previous one's, else this button's bounds; the
    // caller frees the region.
    virtual TcxRegion* GetUpdateRegion(TcxEditButtonViewInfo* previous);
    // Invalidates this button (moved by the offset) on the control's window when its look
    // differs from the previous one's; answers whether it did.
    virtual bool Repaint(TWinControl* control, TcxEditButtonViewInfo* previous, const TPoint& offset);
    // Whether the two would paint the same (bounds aside).
    bool SameLook(const TcxEditButtonViewInfo* other) const;

    TRect Bounds = cxNullRect;   // editor client coordinates
    TcxEditButtonViewInfoData Data;
    TBitmap* Glyph = nullptr;   // borrowed from the button
    bool HasBackground = false;
    int Index = -1;   // in the editor's buttons
    bool Stretchable = true;
    TRect VisibleBounds = cxNullRect;   // the part that fits inside the editor
    int Width = 0;
};
using TcxEditButtonViewInfoClass = TClassRef<TcxEditButtonViewInfo>;

// ---- editor styles ----------------------------------------------------------------------------

enum TcxEditButtonTransparency { ebtNone, ebtInactive, ebtAlways, ebtHideInactive, ebtHideUnselected };
enum TcxEditPopupBorderStyle { epbsDefault, epbsSingle, epbsFrame3D, epbsFlat };
using TcxEditGradientDirection = TcxDirection;   // dirLeft .. dirDown
// The container's border styles under the editors' names.
enum TcxEditBorderStyle { ebsNone, ebsSingle, ebsThick, ebsFlat, ebs3D, ebsUltraFlat, ebsOffice11 };

enum : TcxContainerStyleValue {
    svButtonStyle = cxContainerStyleValueCount, svButtonTransparency, svPopupBorderStyle, svGradientButtons,
    svGradient, svGradientDirection
};
constexpr int cxEditStyleValueCount = 16;
extern const char* const cxEditStyleValueNameA[cxEditStyleValueCount - cxContainerStyleValueCount];

class TcxEditStyleController;

// A container style with the six values only editors have. ButtonStyle is kept per state; the
// other five exist once per editor: a focused, disabled or hot style hands their writes to the
// normal style and reads the normal style's value while it has none of its own.
class TcxCustomEditStyle : public TcxContainerStyle {
    RTL_CLASS(TcxCustomEditStyle, TcxContainerStyle)
    TcxCustomEditStyle(TPersistent* owner, bool directAccessMode, TcxContainerStyle* parentStyle = nullptr,
                       TcxContainerStateItem state = csNormal);
    void Assign(TPersistent* source) override;

    TcxEditButtonStyle GetButtonStyle() const;
    void SetButtonStyle(TcxEditButtonStyle value);
    TcxEditButtonTransparency GetButtonTransparency() const;
    void SetButtonTransparency(TcxEditButtonTransparency value);
    bool GetGradient() const;
    void SetGradient(bool value);
    bool GetGradientButtons() const;
    void SetGradientButtons(bool value);
    TcxEditGradientDirection GetGradientDirection() const;
    void SetGradientDirection(TcxEditGradientDirection value);
    TcxEditPopupBorderStyle GetPopupBorderStyle() const;
    void SetPopupBorderStyle(TcxEditPopupBorderStyle value);
    bool GetPopupCloseButton() const;
    void SetPopupCloseButton(bool value);

    TcxEditBorderStyle GetBorderStyle() const { return TcxEditBorderStyle(TcxContainerStyle::GetBorderStyle()); }
    void SetBorderStyle(TcxEditBorderStyle value) { TcxContainerStyle::SetBorderStyle(TcxContainerBorderStyle(value)); }
    TcxEditStyleController* GetStyleController() const;
    void SetStyleController(TcxEditStyleController* value);
    // The editor the style belongs to (its owner when that is an editor control); null otherwise.
    TcxContainer* GetEdit() const;
    // Colour, font and text colour from view parameters, in one notice.
    void Init(const TcxViewParams& params);

    int GetStyleValueCount() const override { return cxEditStyleValueCount; }
    bool GetStyleValueName(TcxContainerStyleValue value, std::string& name) const override;
    bool IsValueAssigned(TcxContainerStyleValue value) const override;

    bool IsButtonStyleStored() const { return IsValueStored(svButtonStyle); }
    bool IsButtonTransparencyStored() const { return IsValueStored(svButtonTransparency); }
    bool IsGradientStored() const { return IsValueStored(svGradient); }
    bool IsGradientButtonsStored() const { return IsValueStored(svGradientButtons); }
    bool IsGradientDirectionStored() const { return IsValueStored(svGradientDirection); }
    bool IsPopupBorderStyleStored() const { return IsValueStored(svPopupBorderStyle); }

    // Own value, else the active controller's style of the same state; false when neither has one.
    bool InternalGetButtonStyle(TcxEditButtonStyle& v) const;
    bool InternalGetButtonTransparency(TcxEditButtonTransparency& v) const;
    bool InternalGetGradient(bool& v) const;
    bool InternalGetGradientButtons(bool& v) const;
    bool InternalGetGradientDirection(TcxEditGradientDirection& v) const;
    bool InternalGetPopupBorderStyle(TcxEditPopupBorderStyle& v) const;

protected:
    // A normal style's fixed defaults; another state follows the normal style.
    virtual TcxEditButtonStyle DefaultButtonStyle() const;
    virtual TcxEditButtonTransparency DefaultButtonTransparency() const;
    virtual bool DefaultGradient() const;
    virtual bool DefaultGradientButtons() const;
    virtual TcxEditGradientDirection DefaultGradientDirection() const;
    virtual TcxEditPopupBorderStyle DefaultPopupBorderStyle() const;
    TcxStyleController* GetDefaultStyleController() const override;
    TcxContainerStyleValues InternalGetNotPublishedExtendedStyleValues() const override;

private:
    TcxCustomEditStyle* ParentEditStyle() const { return static_cast<TcxCustomEditStyle*>(ParentStyle()); }
    TcxCustomEditStyle* ControllerEditStyle() const { return dynamic_cast<TcxCustomEditStyle*>(ControllerStyle()); }
    template <class T>
    bool InternalGet(TcxContainerStyleValue value, const T& field, T& v,
                     bool (TcxCustomEditStyle::*controllerGet)(T&) const) const;
    template <class T>
    T Get(TcxContainerStyleValue value, const T& field, bool (TcxCustomEditStyle::*internalGet)(T&) const,
          T (TcxCustomEditStyle::*defaultValue)() const) const;
    template <class T>
    void Set(TcxContainerStyleValue value, T& field, const T& newValue);
    TcxEditButtonStyle buttonStyle_ = btsDefault;
    TcxEditButtonTransparency buttonTransparency_ = ebtNone;
    bool gradient_ = false;
    bool gradientButtons_ = false;
    TcxEditGradientDirection gradientDirection_ = dirDown;
    TcxEditPopupBorderStyle popupBorderStyle_ = epbsDefault;
    bool popupCloseButton_ = true;
};

class TcxEditStyle : public TcxCustomEditStyle {
    RTL_CLASS(TcxEditStyle, TcxCustomEditStyle)
    using TcxCustomEditStyle::TcxCustomEditStyle;
};

// A style controller whose four styles are editor styles.
class TcxEditStyleController : public TcxStyleController {
    RTL_CLASS(TcxEditStyleController, TcxStyleController)
    explicit TcxEditStyleController(TComponent* owner);
    TcxContainerStyleClass GetStyleClass() const override { return TcxContainerStyleClass::Of<TcxEditStyle>(); }

    TcxEditStyle* Style() const { return EditStyle(csNormal); }
    void SetStyle(TcxEditStyle* value) { SetInternalStyle(csNormal, value); }
    TcxEditStyle* StyleDisabled() const { return EditStyle(csDisabled); }
    void SetStyleDisabled(TcxEditStyle* value) { SetInternalStyle(csDisabled, value); }
    TcxEditStyle* StyleFocused() const { return EditStyle(csActive); }
    void SetStyleFocused(TcxEditStyle* value) { SetInternalStyle(csActive, value); }
    TcxEditStyle* StyleHot() const { return EditStyle(csHotTrack); }
    void SetStyleHot(TcxEditStyle* value) { SetInternalStyle(csHotTrack, value); }

private:
    TcxEditStyle* EditStyle(TcxContainerStateItem state) const
    {
        return static_cast<TcxEditStyle*>(GetInternalStyle(state));
    }
};

// The unit's default editor style controller (between the unit's start-up and shut-down).
TcxEditStyleController* DefaultEditStyleController();

// A component that shows the default editor style controller (and the standard-drawing switch)
// where components are designed. The last one to go restores the default styles.
class TcxDefaultEditStyleController : public TComponent {
    RTL_CLASS(TcxDefaultEditStyleController, TComponent)
    explicit TcxDefaultEditStyleController(TComponent* owner);
    ~TcxDefaultEditStyleController() override;

    bool GetEmulateStandardControlDrawing() const;
    void SetEmulateStandardControlDrawing(bool value);
    TcxEditStyle* Style() const { return DefaultEditStyleController()->Style(); }
    void SetStyle(TcxEditStyle* value) { DefaultEditStyleController()->SetStyle(value); }
    TcxEditStyle* StyleDisabled() const { return DefaultEditStyleController()->StyleDisabled(); }
    void SetStyleDisabled(TcxEditStyle* value) { DefaultEditStyleController()->SetStyleDisabled(value); }
    TcxEditStyle* StyleFocused() const { return DefaultEditStyleController()->StyleFocused(); }
    void SetStyleFocused(TcxEditStyle* value) { DefaultEditStyleController()->SetStyleFocused(value); }
    TcxEditStyle* StyleHot() const { return DefaultEditStyleController()->StyleHot(); }
    void SetStyleHot(TcxEditStyle* value) { DefaultEditStyleController()->SetStyleHot(value); }
    TNotifyEvent GetOnStyleChanged() const { return DefaultEditStyleController()->OnStyleChanged; }
    void SetOnStyleChanged(TNotifyEvent value) { DefaultEditStyleController()->OnStyleChanged = value; }
};
int cxDefaultEditStyleControllerCount();

// ---- editor properties ------------------------------------------------------------------------

enum TcxEditSupportedOperation {
    esoAlwaysHotTrack, esoAutoHeight, esoEditing, esoFiltering, esoHorzAlignment, esoHotTrack,
    esoIncSearch, esoShowingCaption, esoSorting, esoSortingByDisplayText, esoTransparency
};
using TcxEditSupportedOperations = Set<TcxEditSupportedOperation>;
enum TcxEditSpecialFeature { esfBlobEditValue, esfMinSize, esfNoContentPart };
using TcxEditSpecialFeatures = Set<TcxEditSpecialFeature>;
enum TcxEditDisplayFormatOption { dfoSupports, dfoNoCurrencyValue };
using TcxEditDisplayFormatOptions = Set<TcxEditDisplayFormatOption>;
enum TcxEditVertAlignment { taTopJustify, taBottomJustify, taVCenter };
enum TcxEditButtonsViewStyle { bvsNormal, bvsButtonsOnly, bvsButtonsAutoWidth };
enum TcxBlobKind { bkNone, bkBlob, bkGraphic, bkMemo, bkOle };
enum TcxEditCloseUpReason { crUnknown, crTab, crClose, crCancel, crEnter };

using TcxEditValidateEvent =
    Event<void(TObject* sender, Variant& displayValue, std::string& errorText, bool& error)>;
using TcxEditButtonClickEvent = Event<void(TObject* sender, int buttonIndex)>;
using TcxEditClosePopupEvent = Event<void(TcxControl* sender, TcxEditCloseUpReason reason)>;

extern const TAlignment cxEditDefaultHorzAlignment;               // taLeftJustify
extern const TcxEditVertAlignment cxEditDefaultVertAlignment;     // taTopJustify

// Horizontal and vertical alignment of an editor's content; the horizontal value remembers
// whether it was assigned (an unassigned one follows the data source's default).
class TcxEditAlignment : public TPersistent {
    RTL_CLASS(TcxEditAlignment, TPersistent)
    explicit TcxEditAlignment(TPersistent* owner);
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override { return owner_; }

    TAlignment Horz() const { return horz_; }
    void SetHorz(TAlignment value);
    TcxEditVertAlignment Vert() const { return vert_; }
    void SetVert(TcxEditVertAlignment value);
    bool IsHorzAssigned() const { return isHorzAssigned_; }
    // Forgets the assigned horizontal value.
    void Reset();
    bool IsHorzStored() const { return isHorzAssigned_; }
    bool IsVertStored() const { return vert_ != cxEditDefaultVertAlignment; }

    Event<void(TObject* sender)> OnChanged;

private:
    friend class TcxCustomEditProperties;
    void DoChanged() { CallEvent(OnChanged, this); }
    TAlignment horz_;
    bool isHorzAssigned_ = false;
    TPersistent* owner_;
    TcxEditVertAlignment vert_;
};
using TcxEditAlignmentClass = TClassRef<TcxEditAlignment, TPersistent*>;

// The defaults a bound data source gives an editor (read-only, range, alignment, formats ...).
class IcxEditDefaultValuesProvider {
public:
    virtual ~IcxEditDefaultValuesProvider() = default;
    virtual bool CanSetEditMode() = 0;
    virtual void ClearUsers() = 0;
    virtual TAlignment DefaultAlignment() = 0;
    virtual TcxBlobKind DefaultBlobKind() = 0;
    virtual bool DefaultCanModify() = 0;
    virtual std::string DefaultDisplayFormat() = 0;
    virtual std::string DefaultEditFormat() = 0;
    virtual std::string DefaultEditMask() = 0;
    virtual bool DefaultIsFloatValue() = 0;
    virtual int DefaultMaxLength() = 0;
    virtual double DefaultMaxValue() = 0;
    virtual double DefaultMinValue() = 0;
    virtual int DefaultPrecision() = 0;
    virtual bool DefaultReadOnly() = 0;
    virtual bool DefaultRequired() = 0;
    virtual TObject* GetInstance() = 0;
    virtual bool IsDataStorage() = 0;
    virtual bool IsBlob() = 0;
    virtual bool IsCurrency() = 0;
    virtual bool IsDataAvailable() = 0;
    virtual bool IsDisplayFormatDefined(bool isCurrencyValueAccepted) = 0;
    virtual bool IsOnGetTextAssigned() = 0;
    virtual bool IsOnSetTextAssigned() = 0;
    virtual bool IsValidChar(char16_t ch) = 0;
};

// The defaults when no data source supplies any. Freeing it detaches it from every properties
// object that uses it.
class TcxCustomEditDefaultValuesProvider : public TcxInterfacedPersistent, public IcxEditDefaultValuesProvider {
    RTL_CLASS(TcxCustomEditDefaultValuesProvider, TcxInterfacedPersistent)
    explicit TcxCustomEditDefaultValuesProvider(TPersistent* owner) : TcxInterfacedPersistent(owner) {}
    ~TcxCustomEditDefaultValuesProvider() override;
    void BeforeDestruction() override;

    bool CanSetEditMode() override { return true; }
    void ClearUsers() override;
    TAlignment DefaultAlignment() override { return cxEditDefaultHorzAlignment; }
    TcxBlobKind DefaultBlobKind() override { return bkMemo; }
    bool DefaultCanModify() override { return true; }
    std::string DefaultDisplayFormat() override { return {}; }
    std::string DefaultEditFormat() override { return {}; }
    std::string DefaultEditMask() override { return {}; }
    bool DefaultIsFloatValue() override { return false; }
    int DefaultMaxLength() override { return 0; }
    double DefaultMaxValue() override { return 0.0; }
    double DefaultMinValue() override { return 0.0; }
    int DefaultPrecision() override { return 15; }
    bool DefaultReadOnly() override { return false; }
    bool DefaultRequired() override { return false; }
    TObject* GetInstance() override { return this; }
    bool IsBlob() override { return false; }
    bool IsCurrency() override { return false; }
    bool IsDataAvailable() override { return true; }
    bool IsDataStorage() override { return false; }
    bool IsDisplayFormatDefined(bool) override { return false; }
    bool IsOnGetTextAssigned() override { return false; }
    bool IsOnSetTextAssigned() override { return false; }
    bool IsValidChar(char16_t) override { return true; }

private:
    bool usersCleared_ = false;
};

// Which of the provider-backed values were assigned explicitly.
class TcxCustomEditPropertiesValues : public TPersistent {
    RTL_CLASS(TcxCustomEditPropertiesValues, TPersistent)
    explicit TcxCustomEditPropertiesValues(TPersistent* owner) : owner_(owner) {}
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override { return owner_; }
    virtual void RestoreDefaults();
    void BeginUpdate();
    void EndUpdate();

    bool MaxValue() const { return maxValue_; }
    void SetMaxValue(bool value);
    bool MinValue() const { return minValue_; }
    void SetMinValue(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // The stored rules of value classes that publish MaxValue and MinValue: a flag alone records
    // an assigned zero, which the streaming system would not write.
    bool IsMaxValueStored();
    bool IsMinValueStored();

protected:
    // Sets one assigned flag; a change tells the owning properties.
    void SetAssigned(bool& flag, bool value);

private:
    friend class TcxCustomEditProperties;
    void Changed();
    TcxCustomEditProperties* Properties();
    bool maxValue_ = false;
    bool minValue_ = false;
    TPersistent* owner_;
    bool readOnly_ = false;
};
using TcxCustomEditPropertiesValuesClass = TClassRef<TcxCustomEditPropertiesValues, TPersistent*>;

// What the validation of a display value asks of the editor control being validated.
class IcxEditValidationTarget {
public:
    virtual ~IcxEditValidationTarget() = default;
    virtual bool IsOnValidateEventAssigned() = 0;
    virtual void DoOnValidate(Variant& displayValue, std::string& errorText, bool& error) = 0;
    virtual Variant GetDisplayValue() = 0;
};

// The settings of an editor kind. Descendants (one per kind) override the introduced operations;
// the base answers are those of a kind that supports nothing in particular.
class TcxCustomEditProperties : public TcxInterfacedPersistent {
    RTL_CLASS(TcxCustomEditProperties, TcxInterfacedPersistent)
    explicit TcxCustomEditProperties(TPersistent* owner);
    ~TcxCustomEditProperties() override;
    void BeforeDestruction() override;
    void Assign(TPersistent* source) override;

    // --- change batching
    void BeginUpdate();
    void EndUpdate(bool invokeChanged = true);
    virtual void Changed();
    bool ChangedLocked() const { return changeLocked_ || updateCount_ > 0; }
    // Changes made while locked stay pending; unlocking replays nothing.
    void LockUpdate(bool lock) { changeLocked_ = lock; }
    bool IsChanging() const { return changingCount_ > 0; }
    bool IsChangePending() const { return changePending_; }

    // --- settings
    TcxEditAlignment* Alignment() { return BaseGetAlignment(); }
    void SetAlignment(TcxEditAlignment* value) { BaseSetAlignment(value); }
    bool IsAlignmentStored() const;
    TcxCustomEditPropertiesValues* AssignedValues();
    void SetAssignedValues(TcxCustomEditPropertiesValues* value) { AssignedValues()->Assign(value); }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value);
    bool BeepOnError() const { return beepOnError_; }
    void SetBeepOnError(bool value);
    TcxEditButtons* Buttons();
    void SetButtons(TcxEditButtons* value) { Buttons()->Assign(value); }
    TcxEditButtonsViewStyle ButtonsViewStyle() const { return buttonsViewStyle_; }
    void SetButtonsViewStyle(TcxEditButtonsViewStyle value);
    TShortCut ClearKey() const { return clearKey_; }
    void SetClearKey(TShortCut value);
    TShortCut ClickKey() const { return clickKey_; }
    void SetClickKey(TShortCut value);
    bool ImmediatePost() const { return immediatePost_; }
    void SetImmediatePost(bool value);
    double GetMaxValue() const;
    void SetMaxValue(double value);
    double GetMinValue() const;
    void SetMinValue(double value);
    bool IsMaxValueStored() { return AssignedValues()->MaxValue(); }
    bool IsMinValueStored() { return AssignedValues()->MinValue(); }
    bool GetReadOnly() const;
    void SetReadOnly(bool value);
    bool IsReadOnlyStored() { return AssignedValues()->ReadOnly(); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool UseLeftAlignmentOnEditing() const;
    void SetUseLeftAlignmentOnEditing(bool value);
    bool IsUseLeftAlignmentOnEditingStored() const { return UseLeftAlignmentOnEditing() != DefaultUseLeftAlignmentOnEditing(); }
    // An in-place editor takes the mouse wheel only while this is set.
    bool UseMouseWheel() const { return useMouseWheel_; }
    void SetUseMouseWheel(bool value);
    bool ValidateOnEnter() const { return validateOnEnter_; }
    void SetValidateOnEnter(bool value);
    TPersistent* Owner() const { return owner_; }

    // --- values with defaults from the provider
    void FillMinMaxValues(double maxValue, double minValue);
    bool CanModify() const;
    IcxEditDefaultValuesProvider* GetIDefaultValuesProvider() const { return provider_; }
    void SetIDefaultValuesProvider(IcxEditDefaultValuesProvider* value);
    void DefaultValuesChanged(TObject* sender) { Changed(); }
    virtual void DefaultValuesProviderDestroyed() { provider_ = nullptr; }

    // --- questions a host asks about the kind
    virtual bool CanValidate() const { return false; }
    virtual bool DefaultUseLeftAlignmentOnEditing() const { return true; }
    virtual TcxCustomEditPropertiesValuesClass GetAssignedValuesClass() const;
    virtual TcxEditButtonsClass GetButtonsClass() const;
    virtual TcxContainerStyleClass GetStyleClass() const;
    virtual TAlignment GetDefaultHorzAlignment();
    virtual TcxEditDisplayFormatOptions GetDisplayFormatOptions() const { return {}; }
    virtual std::string GetValidateErrorText(int errorKind);
    virtual TcxDataEditValueSource GetValueEditorEditValueSource(bool editFocused);
    virtual bool HasDisplayValue() const { return false; }
    virtual bool InnerEditNeedsTabs() const { return false; }
    virtual bool IsEditValueConversionDependOnFocused() const { return true; }
    virtual bool CanCompareEditValue() const { return false; }
    virtual bool CompareDisplayValues(const Variant& v1, const Variant& v2);
    virtual TcxCustomEditProperties* CreatePreviewProperties();
    virtual void DataChanged() {}
    virtual std::u16string GetDisplayText(const Variant& editValue, bool fullText = false, bool isInplace = true);
    virtual TcxEditSpecialFeatures GetSpecialFeatures() const { return {}; }
    virtual TcxEditSupportedOperations GetSupportedOperations();
    // --- the kind's view (the bodies live with the view classes, cxEditViewData.cpp)
    virtual TcxCustomEditViewDataClass GetViewDataClass() const;
    virtual TcxCustomEditViewInfoClass GetViewInfoClass() const;
    // A view data of the kind's class for the style; the caller frees it.
    virtual TcxCustomEditViewData* CreateViewData(TcxCustomEditStyle* style, bool isInplace, bool previewMode = false);
    // Measuring through a temporary view data.
    TSize GetEditConstantPartSize(TcxCanvas* canvas, TcxCustomEditStyle* style, bool isInplace,
                                  const TcxEditSizeProperties& sizeProperties, TSize& minContentSize);
    TSize GetEditContentSize(TcxCanvas* canvas, TcxCustomEditStyle* style, bool isInplace, const Variant& editValue,
                             const TcxEditSizeProperties& sizeProperties);
    TSize GetEditSize(TcxCanvas* canvas, TcxCustomEditStyle* style, bool isInplace, const Variant& editValue,
                      const TcxEditSizeProperties& sizeProperties);
    virtual bool IsActivationKey(char16_t key) const { return false; }
    virtual bool IsEditValueValid(Variant& editValue, bool editFocused) { return true; }
    virtual bool IsResetEditClass() const { return false; }
    virtual void PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool editFocused);
    virtual void RestoreDefaults();
    virtual void Update(TcxCustomEditProperties* properties) {}
    virtual void ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                                      IcxEditValidationTarget* edit);
    virtual TcxDataEditValueSource GetEditValueSource(bool editFocused) { return evsValue; }
    bool IsValueEditorWithValueFormatting();
    // The editor control class of the kind (a TcxCustomEdit descendant made through
    // TcxCustomEditClass); hosts create in-place editors of it.
    virtual const TClassMeta* GetContainerClass() const;

    // --- events (called with the editor as sender)
    TcxEditButtonClickEvent OnButtonClick;
    Event<void(TObject* sender)> OnChange;
    TcxEditClosePopupEvent OnPopupClosed;
    Event<void(TObject* sender)> OnEditValueChanged;
    TcxEditValidateEvent OnValidate;
    // The owner's change handler (an editor control's PropertiesChanged); not copied by Assign.
    Event<void(TObject* sender)> OnPropertiesChanged;

protected:
    virtual void AlignmentChangedHandler(TObject* sender);
    virtual void BaseSetAlignment(TcxEditAlignment* value);
    TcxEditAlignment* BaseGetAlignment();
    virtual void ButtonsChanged(TObject* sender) { Changed(); }
    virtual void FreeNotification(TComponent* sender) {}
    void DoValidate(Variant& displayValue, std::string& errorText, bool& error, IcxEditValidationTarget* edit,
                    bool& displayValueChanged);
    TcxFreeNotificator* FreeNotificator() const { return freeNotificator_; }

private:
    friend class TcxCustomEditPropertiesValues;
    bool GetOwnerDestroying();
    template <class T>
    void SetAssignedValue(bool& assigned, T& field, T value);
    bool autoSelect_ = true;
    bool beepOnError_ = false;
    TcxEditButtons* buttons_ = nullptr;   // created on first use, of GetButtonsClass
    TcxEditButtonsViewStyle buttonsViewStyle_ = bvsNormal;
    bool changePending_ = false;
    TShortCut clearKey_ = 0;
    TShortCut clickKey_ = scCtrl | 13;   // Ctrl+Enter
    TcxFreeNotificator* freeNotificator_ = nullptr;
    bool immediatePost_ = false;
    TcxEditAlignment* innerAlignment_ = nullptr;
    int changingCount_ = 0;
    double maxValue_ = 0.0;
    double minValue_ = 0.0;
    bool readOnly_ = false;
    bool transparent_ = false;
    int updateCount_ = 0;
    std::optional<bool> useLeftAlignmentOnEditing_;   // unset: the kind's default
    bool useMouseWheel_ = true;
    bool validateOnEnter_ = false;
    TcxEditAlignment* alignment_ = nullptr;
    TcxCustomEditPropertiesValues* assignedValues_ = nullptr;   // created on first use
    bool changeLocked_ = false;
    IcxEditDefaultValuesProvider* provider_ = nullptr;
    TPersistent* owner_;
};
using TcxCustomEditPropertiesClass = TClassRef<TcxCustomEditProperties, TPersistent*>;

// Every live properties object (the list exists between the unit's start-up and shut-down).
TList* cxEditPropertiesList();
// Marks the editor of a properties object free in every live in-place editor list (the editor
// control's unit keeps the lists).
void cxDisconnectPropertiesFromInplaceEditLists(TcxCustomEditProperties* properties);

// ---- repositories -----------------------------------------------------------------------------

// Told of an item's properties changes and of the item's removal.
class IcxEditRepositoryItemListener {
public:
    virtual ~IcxEditRepositoryItemListener() = default;
    virtual void ItemRemoved(TcxEditRepositoryItem* sender) = 0;
    virtual void PropertiesChanged(TcxEditRepositoryItem* sender) = 0;
};

// A named component that owns one properties object and lends it to any number of editors.
class TcxEditRepositoryItem : public TComponent {
    RTL_CLASS(TcxEditRepositoryItem, TComponent)
    explicit TcxEditRepositoryItem(TComponent* owner);
    ~TcxEditRepositoryItem() override;
    void BeforeDestruction() override;

    virtual void AddListener(IcxEditRepositoryItemListener* listener);
    virtual void RemoveListener(IcxEditRepositoryItemListener* listener);
    int ListenerCount() const { return static_cast<int>(listeners_.size()); }
    // The class of the properties the item owns.
    virtual TcxCustomEditPropertiesClass GetEditPropertiesClass() const;
    // The repository's name followed by the kind's part of the class name (RepoSpinItem).
    virtual std::string GetBaseName();
    bool ArePropertiesCompatible(const TClassMeta& propertiesClass);

    // Created on first use, of the class GetEditPropertiesClass names.
    TcxCustomEditProperties* Properties();
    void SetProperties(TcxCustomEditProperties* value) { Properties()->Assign(value); }
    TcxEditRepository* Repository() const { return repository_; }
    void SetRepository(TcxEditRepository* value);
    // A design-time placeholder; never called.
    Event<void(TObject* sender)> PropertiesEvents;

    TComponent* GetParentComponent() override;
    bool HasParent() override { return repository_ != nullptr; }
    void SetParentComponent(TComponent* parent) override;

protected:
    virtual void PropertiesChanged(TObject* sender);

private:
    void NotifyItemRemoved();
    void TellListeners(const std::function<void(IcxEditRepositoryItemListener*)>& tell);
    std::vector<IcxEditRepositoryItemListener*> listeners_;
    TcxCustomEditProperties* properties_ = nullptr;
    TcxEditRepository* repository_ = nullptr;
    bool removalNotified_ = false;
};
using TcxEditRepositoryItemClass = TClassRef<TcxEditRepositoryItem, TComponent*>;

// Holds repository items the way a form holds controls: their parent for streaming, and the one
// that names new items. It does not own them; their Owner does.
class TcxEditRepository : public TComponent {
    RTL_CLASS(TcxEditRepository, TComponent)
    explicit TcxEditRepository(TComponent* owner) : TComponent(owner) {}
    ~TcxEditRepository() override;
    void BeforeDestruction() override;

    virtual TcxEditRepositoryItem* CreateItem(TcxEditRepositoryItemClass itemClass);
    virtual TcxEditRepositoryItem* CreateItemEx(TcxEditRepositoryItemClass itemClass, TComponent* owner);
    // Frees the items, last first.
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TcxEditRepositoryItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    // The first item of that name, without regard to case; null when none.
    TcxEditRepositoryItem* ItemByName(const std::string& name) const;
    // Calls proc for every item whose Owner is root, in list order.
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);

private:
    friend class TcxEditRepositoryItem;
    void AddItem(TcxEditRepositoryItem* item);
    void RemoveItem(TcxEditRepositoryItem* item);
    std::vector<TcxEditRepositoryItem*> items_;
};

// ---- registries -------------------------------------------------------------------------------

// The editor properties classes by class name (created sorted on first use). A registrant passes
// the meta of a class reference made with TcxCustomEditPropertiesClass::Of<T>(), so that a host
// can create the class it found.
TcxRegisteredClasses* GetRegisteredEditProperties();
// The registered properties class of that name; an empty reference when none.
TcxCustomEditPropertiesClass FindRegisteredEditPropertiesClass(const std::string& className);
TcxEditRepository* GetDefaultEditRepository();

// ---- unit routines ----------------------------------------------------------------------------

TShiftState ButtonToShift(TMouseButton button);
TShiftState cxButtonToShift(TcxMouseButton button);
void CheckSize(TSize& size, const TSize& minSize);
// Equal when both are numeric or of one variant type, and exactly equal.
bool cxEditVarEquals(const Variant& v1, const Variant& v2);
bool InternalVarEqualsExact(const Variant& v1, const Variant& v2);
bool EmulateStandardControlDrawing();
void SetStandardControlDrawingEmulationMode(bool value);
// The first TComponent on the owner chain, starting at the object itself; null when none.
TComponent* GetOwnerComponent(TPersistent* persistent);
bool IsSpaceChar(char ch);
bool IsSpaceChar(char16_t ch);
// True when the item takes the properties' class and the old properties are the item's; then
// the old properties become the given ones.
bool NeedAssignRepositoryItem(TcxCustomEditProperties* properties, TcxEditRepositoryItem* item,
                              TcxCustomEditProperties*& oldProperties);
void SendMouseEvent(TWinControl* control, UINT msg, TShiftState shift, const TPoint& p);
void SendKeyDown(TWinControl* control, std::uint16_t key, TShiftState shift);
void SendKeyUp(TWinControl* control, std::uint16_t key, TShiftState shift);
void SendKeyPress(TWinControl* control, char16_t ch);
void UniteRegions(TcxRegion* region, TcxRegion* other);

namespace cxEditUnit {
void Initialize();   // once: the wheel cursor, the properties list, the filter texts' function
void Finalize();     // once: frees the registries, the default repository and the list
} // namespace cxEditUnit

inline constexpr int crcxEditMouseWheel = 4101;

} // namespace cx
