#pragma once
// cxCheckBox: the square of a check box with its mark in every state, its size and offsets, the
// caption text, and the conversions between per-item check states and one stored value.
// The flat border styles paint their mark through a mask made at start-up from the platform's
// own unchecked and checked squares; every other style paints the classic check button.
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/core/cxGraphics.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/controls/cxContainer.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditControl.h"

namespace cx {

// The interaction state of the square.
enum TcxEditCheckState { ecsNormal, ecsHot, ecsPressed, ecsDisabled };

// How the grayed state shows: exactly as unchecked, as an inactive square without a mark, or as
// a mark in a dimmed colour.
enum TcxCheckBoxNullValueShowingStyle { nssUnchecked, nssInactive, nssGrayedChecked };

using TcxCheckStates = std::vector<TcxCheckBoxState>;

enum TcxCheckStatesValueFormatEx { cvfCaptions, cvfIndices, cvfInteger, cvfStatesString, cvfCustom };
using TcxCheckStatesValueFormat = TcxCheckStatesValueFormatEx; // cvfCaptions .. cvfStatesString

using TcxCheckStatesToValueEvent = Event<void(TObject* sender, const TcxCheckStates& checkStates, Variant& value)>;
using TcxValueToCheckStatesEvent = Event<void(TObject* sender, const Variant& value, TcxCheckStates& checkStates)>;

// The items whose states the conversions read and write, by caption.
class IcxCheckItems {
public:
    virtual ~IcxCheckItems() = default;
    virtual std::string GetCaption(int index) = 0;
    virtual int GetCount() = 0;
};

// An item with a caption and a tag; a change of either tells the collection.
class TcxCaptionItem : public TCollectionItem {
    RTL_CLASS(TcxCaptionItem, TCollectionItem)
    explicit TcxCaptionItem(TCollection* collection) : TCollectionItem(collection) {}
    void Assign(TPersistent* source) override;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    NativeInt Tag() const { return tag_; }
    void SetTag(NativeInt value) { tag_ = value; }

private:
    std::string caption_;
    NativeInt tag_ = 0;
};

class TcxCaptionItems : public TOwnedCollection, public IcxCheckItems {
    RTL_CLASS(TcxCaptionItems, TOwnedCollection)
    TcxCaptionItems(TPersistent* owner, TCollectionItemClass itemClass) : TOwnedCollection(owner, itemClass) {}
    TcxCaptionItem* Items(int index) const { return static_cast<TcxCaptionItem*>(TCollection::Items(index)); }
    TcxCaptionItem* Add() { return static_cast<TcxCaptionItem*>(TCollection::Add()); }
    std::string GetCaption(int index) override { return Items(index)->Caption(); }
    int GetCount() override { return Count(); }
};

// The classic check button's state flags (the platform's frame-control names).
enum : unsigned {
    cxDFCS_BUTTON3STATE = 0x0008,
    cxDFCS_INACTIVE = 0x0100,
    cxDFCS_PUSHED = 0x0200,
    cxDFCS_CHECKED = 0x0400,
    cxDFCS_FLAT = 0x4000,
};

void DrawEditCheck(TcxCanvas* canvas, const TRect& checkRect, TcxCheckBoxState state, TcxEditCheckState checkState,
                   TBitmap* glyph, int glyphCount, TcxEditBorderStyle borderStyle, bool nativeStyle,
                   TColor borderColor, TColor backgroundColor, bool drawBackground, bool isDesigning, bool focused,
                   bool supportGrayed, TcxCustomLookAndFeelPainterClass painter,
                   TcxCheckBoxNullValueShowingStyle nullValueShowingStyle = nssGrayedChecked);
TSize GetEditCheckSize(TcxCanvas* canvas, bool nativeStyle, TBitmap* glyph, int glyphCount,
                       TcxCustomLookAndFeelPainterClass painter);
int GetEditCheckBorderOffset(TcxContainerBorderStyle borderStyle, bool nativeStyle, bool hasGlyph,
                             TcxCustomLookAndFeelPainterClass painter);
int GetEditCheckBorderOffset(TcxEditBorderStyle borderStyle, bool nativeStyle, bool hasGlyph,
                             TcxCustomLookAndFeelPainterClass painter);
int GetEditCheckBorderOffset(TcxLookAndFeelKind kind, bool nativeStyle, bool hasGlyph,
                             TcxCustomLookAndFeelPainterClass painter);
int GetEditCheckGlyphIndex(TcxCheckBoxState state, TcxEditCheckState checkState, bool supportGrayed, int glyphCount);
void DrawCheckBoxText(TcxCanvas* canvas, const std::string& text, TFont* font, TColor textColor, const TRect& r,
                      int drawTextFlags, bool enabled);

// The classic check button over r (its frame-control flags above), clipped to r less 2 pixels.
void DrawClassicCheckButton(TcxCanvas* canvas, const TRect& r, unsigned flags);
// The frame-control flags of the classic square for a state.
unsigned GetClassicCheckButtonFlags(TcxCheckBoxState state, TcxEditCheckState checkState,
                                    TcxEditBorderStyle borderStyle, TcxCheckBoxNullValueShowingStyle nullStyle);

// The mark mask: the standard check button's size, black where the mark is, white elsewhere.
TBitmap* cxCheckMarkMask();

void CalculateCheckStatesValue(const TcxCheckStates& checkStates, IcxCheckItems* items,
                               TcxCheckStatesValueFormatEx valueFormat, Variant& value);
bool CalculateCheckStates(const Variant& value, IcxCheckItems* items, TcxCheckStatesValueFormatEx valueFormat,
                          TcxCheckStates& checkStates);

// ---- the check box editor ---------------------------------------------------------------------

class TcxCustomCheckBoxProperties : public TcxCustomEditProperties {
    RTL_CLASS(TcxCustomCheckBoxProperties, TcxCustomEditProperties)
    explicit TcxCustomCheckBoxProperties(TPersistent* owner);
    ~TcxCustomCheckBoxProperties() override;
    void Assign(TPersistent* source) override;
    // The editor a grid cell opens for these properties.
    const TClassMeta* GetContainerClass() const override;

    // Images of the square (created empty when first read); null frees it.
    TBitmap* Glyph();
    void SetGlyph(TBitmap* value);
    bool HasGlyph() const { return glyph_ != nullptr; }
    int GlyphCount() const { return glyphCount_; }
    void SetGlyphCount(int value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);
    bool FullFocusRect() const { return fullFocusRect_; }
    void SetFullFocusRect(bool value);
    bool UseAlignmentWhenInplace() const { return useAlignmentWhenInplace_; }
    void SetUseAlignmentWhenInplace(bool value);
    // The toolkit's draw-text flags for a caption alignment: left or centre, the accelerator
    // prefix, one centred line, or word-wrapped lines from the top (centred in place).
    int GetDrawTextFlags(TAlignment captionAlignment, bool isInplace) const;

    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value);
    TAlignment CheckAlignment() const { return alignment_; }
    void SetCheckAlignment(TAlignment value);
    TcxCheckBoxNullValueShowingStyle NullStyle() const { return nullStyle_; }
    void SetNullStyle(TcxCheckBoxNullValueShowingStyle value);
    std::string DisplayChecked = "True";
    std::string DisplayUnchecked = "False";
    std::string DisplayGrayed;

    // The three state values; a value that repeats another (or Null for checked and unchecked)
    // is refused silently.
    const Variant& ValueChecked() const { return valueChecked_; }
    const Variant& ValueGrayed() const { return valueGrayed_; }
    const Variant& ValueUnchecked() const { return valueUnchecked_; }
    void SetValueChecked(const Variant& value);
    void SetValueGrayed(const Variant& value);
    void SetValueUnchecked(const Variant& value);
    void SetStateValues(const Variant& checked, const Variant& grayed, const Variant& unchecked);

    // Checked for the checked value, unchecked for the unchecked one, grayed for anything else.
    TcxCheckBoxState GetState(const Variant& editValue) const;
    Variant StateToEditValue(TcxCheckBoxState state) const;
    std::string GetStateDisplayText(const Variant& editValue) const;
    bool CanCompareEditValue() const override { return true; }
    bool HasDisplayValue() const override { return true; }
    bool IsActivationKey(char16_t key) const override { return key == u' '; }
    void PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool editFocused) override;
    TcxEditSpecialFeatures GetSpecialFeatures() const override;
    // Editing, filtering, sorting, hot tracking, a caption and transparency: a check box row is
    // one of the items a filter builder offers.
    TcxEditSupportedOperations GetSupportedOperations() override;
    TcxCustomEditViewDataClass GetViewDataClass() const override;
    TcxCustomEditViewInfoClass GetViewInfoClass() const override;

private:
    bool IsRepeated(const Variant& value) const;
    TBitmap* glyph_ = nullptr;
    int glyphCount_ = 6;
    bool multiLine_ = false;
    bool fullFocusRect_ = false;
    bool useAlignmentWhenInplace_ = false;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taLeftJustify;
    TcxCheckBoxNullValueShowingStyle nullStyle_ = nssGrayedChecked;
    Variant valueChecked_ = true;
    Variant valueGrayed_ = Null;
    Variant valueUnchecked_ = false;
};

class TcxCheckBoxProperties : public TcxCustomCheckBoxProperties {
    RTL_CLASS(TcxCheckBoxProperties, TcxCustomCheckBoxProperties)
    using TcxCustomCheckBoxProperties::TcxCustomCheckBoxProperties;
};

// A check box painted without a control (a grid cell) or measured for one: the square, the
// caption beside it and the focus rectangle.
class TcxCustomCheckBoxViewInfo : public TcxCustomEditViewInfo {
    RTL_CLASS(TcxCustomCheckBoxViewInfo, TcxCustomEditViewInfo)
    TcxCustomCheckBoxViewInfo() = default;
    void Assign(TObject* source) override;
    void InternalPaint(TcxCanvas* canvas) override;
    void Offset(int dx, int dy) override;
    bool IsHotTrack() const override { return true; }
    bool IsHotTrack(const TPoint&) const override { return true; }
    bool IsRepaintOnStateChangingNeeded() const override { return true; }
    void DrawText(TcxCanvas* canvas);

    TAlignment Alignment = taLeftJustify;   // of the caption
    int CheckBorderOffset = 0;
    TcxEditBorderStyle CheckBorderStyle = ebsNone;
    TRect CheckRect;
    TcxEditCheckState CheckState = ecsNormal;
    int DrawTextFlags = 0;
    TRect FocusRect;
    TBitmap* Glyph = nullptr;   // the properties'
    int GlyphCount = 0;
    TcxCheckBoxNullValueShowingStyle NullShowingStyle = nssGrayedChecked;
    TcxCheckBoxState State = cbsUnchecked;
    std::string Text;
    TRect TextRect;
    bool TextEnabled = true;
};

class TcxCustomCheckBoxViewData : public TcxCustomEditViewData {
    RTL_CLASS(TcxCustomCheckBoxViewData, TcxCustomEditViewData)
    using TcxCustomEditViewData::TcxCustomEditViewData;
    void Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button, TShiftState shift,
                   TcxCustomEditViewInfo* viewInfo, bool isMouseEvent) override;
    // The state to draw: checked in preview mode, else the value's; a cell shows no caption.
    void EditValueToDrawValue(TcxCanvas* canvas, const Variant& value, TcxCustomEditViewInfo* viewInfo) override;
    TcxEditBorderStyle GetBorderStyle() override { return ebsNone; }
    // The caption's text for a view without a control (the control's text otherwise).
    std::string Caption;

protected:
    TSize InternalGetEditConstantPartSize(TcxCanvas* canvas, bool isInplace, const TcxEditSizeProperties& sizeProperties,
                                          TSize& minContentSize, TcxCustomEditViewInfo* viewInfo) override;

private:
    void CalculateFocusRect(TcxCanvas* canvas, TcxCustomCheckBoxViewInfo* vi);
};

class TcxCustomCheckBox : public TcxCustomEdit {
    RTL_CLASS(TcxCustomCheckBox, TcxCustomEdit)
    explicit TcxCustomCheckBox(TComponent* owner, bool isInplace = false);

    TcxCustomCheckBoxProperties* Properties() const
    {
        return static_cast<TcxCustomCheckBoxProperties*>(ActiveProperties());
    }
    TcxCheckBoxState State() const { return Properties()->GetState(EditValue()); }
    void SetState(TcxCheckBoxState value);
    bool Checked() const { return State() == cbsChecked; }
    void SetChecked(bool value) { SetState(value ? cbsChecked : cbsUnchecked); }
    void Clear() override { SetState(cbsUnchecked); }
    // Unchecked -> grayed (when allowed) or checked, checked -> unchecked, grayed -> checked.
    virtual void Toggle();

    TcxEditCheckState CheckState() const { return checkState_; }
    TRect GetCheckRect();
    TRect GetTextRect();
    void InternalSetEditValue(const Variant& value, bool validateEditValue) override;

protected:
    // A check box shows its parent's colour around the square and behind the caption.
    bool DefaultParentColor() const override { return true; }
    void Dispatch(TMessage& msg) override;
    void Paint() override;
    TRect GetClientBounds() const override { return {0, 0, Width(), Height()}; }
    bool HasShadow() const override { return false; }
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyUp(std::uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoExit() override;
    void EnabledChanged() override;

private:
    void SetCheckState(TcxEditCheckState value);
    TcxEditCheckState RestingCheckState(const TPoint& p) const;
    bool checkPressed_ = false;    // Space held on the square
    bool mousePressed_ = false;
    TcxEditCheckState checkState_ = ecsNormal;
};

class TcxCheckBox : public TcxCustomCheckBox {
    RTL_CLASS(TcxCheckBox, TcxCustomCheckBox)
    using TcxCustomCheckBox::TcxCustomCheckBox;
    TcxCheckBoxProperties* Properties() const { return static_cast<TcxCheckBoxProperties*>(ActiveProperties()); }
};

// The filter builder edits a check box condition with a fixed list of the checked and the
// unchecked display texts; the grayed state is no item.
class TcxFilterCheckBoxHelper : public TcxFilterComboBoxHelper {
    RTL_CLASS(TcxFilterCheckBoxHelper, TcxFilterComboBoxHelper)
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                          TcxValueTypeClass valueTypeClass,
                                                          bool extendedSet = false) const override;
    void InitializeProperties(TcxCustomEditProperties* properties, TcxCustomEditProperties* editProperties,
                              bool hasButtons) const override;
    void GetFilterValue(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties, Variant& value,
                        std::string& displayText) const override;
    void SetFilterValue(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties,
                        const Variant& value) const override;
    bool UseDisplayValue() const override { return true; }
};

namespace cxCheckBoxUnit {
void Initialize();
void Finalize();
} // namespace cxCheckBoxUnit

} // namespace cx
