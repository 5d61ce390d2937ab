#pragma once
#include <vector>
// cxRadioGroup: the stand-alone radio button painted through the look-and-feel painters, with
// hot and pressed states that follow the mouse, transparency, word-wrapped captions and a
// toolkit popup menu.
#include <string>

#include "platform/vcl/StdCtrls.h"
#include "toolkit/core/cxGraphics.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxGroupBox.h"

namespace cx {

enum TcxRadioButtonState { rbsDisabled, rbsHot, rbsNormal, rbsPressed };

// The text rectangle's insets (left, top, right, bottom) by how the button is drawn.
TRect RadioButtonTextCorrection(bool inplace, bool native, bool wordWrap, bool textLeftOfGlyph);

class TcxRadioButton : public TRadioButton, public IcxLookAndFeelContainer {
    RTL_CLASS(TcxRadioButton, TRadioButton)
    explicit TcxRadioButton(TComponent* owner);
    ~TcxRadioButton() override;

    TcxLookAndFeel* GetLookAndFeel() override { return lookAndFeel_; }
    TcxLookAndFeel* LookAndFeel() const { return lookAndFeel_; }
    void SetLookAndFeel(TcxLookAndFeel* value) { lookAndFeel_->Assign(value); }

    // taRightJustify puts the caption right of the glyph.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool ParentBackground() const { return parentBackground_; }
    void SetParentBackground(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* value);

    TcxRadioButtonState State() const { return state_; }
    const TRect& ButtonRect() const { return buttonRect_; }
    // Where the glyph of the given size goes.
    TRect GetRadioButtonRect(const TSize& size, bool nativeStyle) const;
    TColor GetTextColor() const;
    // The brush colour the glyph is drawn with.
    TColor GlyphBrushColor() const;

    virtual bool IsInplace() const { return false; }
    virtual bool IsNativeStyle() const;
    virtual bool IsNativeBackground() const;
    virtual bool IsTransparent() const { return transparent_ && !IsInplace(); }
    virtual bool IsTransparentBackground() const { return IsNativeBackground() || IsTransparent(); }

protected:
    void Dispatch(TMessage& msg) override;
    void Notification(TComponent* component, TOperation operation) override;
    void PaintButton(TCanvas* canvas, const TRect& client, bool down) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoContextPopup(TPoint mousePos, bool& handled) override;
    virtual bool DoShowPopupMenu(TComponent* menu, int x, int y);
    virtual void CorrectTextRect(TRect& r, bool nativeStyle) const;
    virtual void DrawBackground(TcxCanvas* canvas);
    virtual void DrawCaption(TcxCanvas* canvas, bool nativeStyle);
    virtual void UpdateState(TShiftState shift, const TPoint& p);
    virtual bool IsRadioGroupButton() const { return false; }

private:
    void SetState(TcxRadioButtonState value);
    void ShortUpdateState();
    void LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { Invalidate(); }
    TcxCustomLookAndFeelPainterClass Painter() const;

    TcxLookAndFeel* lookAndFeel_ = nullptr;
    TAlignment alignment_ = taRightJustify;
    bool parentBackground_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
    TComponent* popupMenu_ = nullptr;
    TcxRadioButtonState state_ = rbsNormal;
    TRect buttonRect_{};
};

// ---- the radio group --------------------------------------------------------------------------

class TcxCustomRadioGroup;

// An item with a value; a Null value lets the caption stand for it.
class TcxRadioGroupItem : public TcxButtonGroupItem {
    RTL_CLASS(TcxRadioGroupItem, TcxButtonGroupItem)
    explicit TcxRadioGroupItem(TCollection* collection);
    void Assign(TPersistent* source) override;
    const Variant& Value() const { return value_; }
    void SetValue(const Variant& value);

private:
    Variant value_;
};

class TcxCustomRadioGroupProperties : public TcxCustomButtonGroupProperties {
    RTL_CLASS(TcxCustomRadioGroupProperties, TcxCustomButtonGroupProperties)
    explicit TcxCustomRadioGroupProperties(TPersistent* owner);
    void Assign(TPersistent* source) override;
    // The editor a grid cell opens for these properties.
    const TClassMeta* GetContainerClass() const override;
    TcxRadioGroupItem* Item(int index) const { return static_cast<TcxRadioGroupItem*>(Items()->Items(index)); }
    TcxRadioGroupItem* AddItem(const std::string& caption, const Variant& value = Null);

    const std::string& DefaultCaption() const { return defaultCaption_; }
    void SetDefaultCaption(const std::string& value);
    const Variant& DefaultValue() const { return defaultValue_; }
    void SetDefaultValue(const Variant& value);

    // The first item whose value equals the edit value exactly, or whose value is Null and whose
    // caption is the value's text (case matters); -1 for none.
    int GetRadioGroupItemIndex(const Variant& editValue) const;
    // min(Columns, items), at least 1: the radio group leaves trailing columns empty instead of
    // balancing them.
    int GetColumnCount() const override;
    std::string GetDisplayText(const Variant& editValue) const;
    // The edit value of an item index: its value, or its caption when the value is Null; the
    // default value for -1.
    Variant ItemIndexToEditValue(int index) const;
    TcxCustomEditViewDataClass GetViewDataClass() const override;
    TcxCustomEditViewInfoClass GetViewInfoClass() const override;

private:
    std::string defaultCaption_;
    Variant defaultValue_ = Null;
};

class TcxRadioGroupProperties : public TcxCustomRadioGroupProperties {
    RTL_CLASS(TcxRadioGroupProperties, TcxCustomRadioGroupProperties)
    using TcxCustomRadioGroupProperties::TcxCustomRadioGroupProperties;
};

// A radio group painted without child controls (a grid cell): one cell per item in columns, the
// painter's radio glyph and the caption right of it.
class TcxCustomRadioGroupViewInfo : public TcxCustomEditViewInfo {
    RTL_CLASS(TcxCustomRadioGroupViewInfo, TcxCustomEditViewInfo)
    TcxCustomRadioGroupViewInfo() = default;
    void InternalPaint(TcxCanvas* canvas) override;
    void Offset(int dx, int dy) override;
    // The glyph of a cell: against its left edge (one pixel in), centred vertically.
    TRect GetGlyphRect(int index) const;

    std::vector<TRect> Cells;
    std::vector<std::string> Captions;
    int ItemIndex = -1;   // the item drawn checked
    TSize GlyphSize{0, 0};
    int GlyphTextGap = 7;
    int DrawTextFlags = 0;
};

class TcxCustomRadioGroupViewData : public TcxCustomEditViewData {
    RTL_CLASS(TcxCustomRadioGroupViewData, TcxCustomEditViewData)
    using TcxCustomEditViewData::TcxCustomEditViewData;
    void Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button, TShiftState shift,
                   TcxCustomEditViewInfo* viewInfo, bool isMouseEvent) override;
    // The checked item: the value's, or the first one in preview mode.
    void EditValueToDrawValue(TcxCanvas* canvas, const Variant& value, TcxCustomEditViewInfo* viewInfo) override;
    TcxEditBorderStyle GetBorderStyle() override { return IsInplace() ? ebsNone : TcxCustomEditViewData::GetBorderStyle(); }
    // The numbers the cells are laid out and measured with (in place or in a control).
    TcxEditMetrics GetEditMetrics() const;
    // The rows of buttons at a given width: one text row each, or as high as the tallest
    // wrapped caption with word wrap; one text row without items.
    int GetButtonRowsHeight(TcxCanvas* canvas, int width);

protected:
    int GetTextRowHeight(TcxCanvas* canvas);
    // The auto size: without a width, the widest caption per column and one row per button;
    // with a width, rows as high as their wrapped captions.
    TSize InternalGetEditConstantPartSize(TcxCanvas* canvas, bool isInplace, const TcxEditSizeProperties& sizeProperties,
                                          TSize& minContentSize, TcxCustomEditViewInfo* viewInfo) override;
};

// One button of a radio group: checks made by the group are silent, checks made by the user are
// reported to the group.
class TcxCustomRadioGroupButton : public TcxRadioButton {
    RTL_CLASS(TcxCustomRadioGroupButton, TcxRadioButton)
    explicit TcxCustomRadioGroupButton(TcxCustomRadioGroup* group);
    void InternalSetChecked(bool value);
    TcxCustomRadioGroup* Group() const { return group_; }
    bool IsInplace() const override;
    void Click() override;

protected:
    void Dispatch(TMessage& msg) override;
    void DoEnter() override;
    bool IsRadioGroupButton() const override { return true; }

private:
    TcxCustomRadioGroup* group_;
    bool internalChecking_ = false;
    bool mouseDownInProgress_ = false;
};

class TcxCustomRadioGroup : public TcxCustomButtonGroup {
    RTL_CLASS(TcxCustomRadioGroup, TcxCustomButtonGroup)
    explicit TcxCustomRadioGroup(TComponent* owner, bool isInplace = false);

    TcxCustomRadioGroupProperties* Properties() const;
    // The checked button's index, -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int value);
    TcxCustomRadioGroupButton* RadioButton(int index) const;
    // A user's check reported by a button.
    void ButtonChecked(TcxCustomRadioGroupButton* button);
    void Clear() override { SetItemIndex(-1); }
    void InternalSetEditValue(const Variant& value, bool validateEditValue) override;
    void UpdateButtons() override;
    void GetTabOrderList(std::vector<TWinControl*>& list) const override;

protected:
    TWinControl* GetButtonInstance() override;
    void InitButtonInstance(TWinControl* button) override;
    TcxEditMetrics GetEditMetrics() const override;
    int GetButtonRowsHeight(int width) override;
    void SetInternalValues(const Variant& value, bool validateEditValue, bool force);

private:
    void FocusCheckedButton(int index);
    bool keepModified_ = false;
};

class TcxRadioGroup : public TcxCustomRadioGroup {
    RTL_CLASS(TcxRadioGroup, TcxCustomRadioGroup)
    using TcxCustomRadioGroup::TcxCustomRadioGroup;
    TcxRadioGroupProperties* Properties() const
    {
        return static_cast<TcxRadioGroupProperties*>(TcxCustomRadioGroup::Properties());
    }
};

// The filter builder edits a radio group condition with a fixed list of the item captions; no
// item stands for the default value.
class TcxFilterRadioGroupHelper : public TcxFilterComboBoxHelper {
    RTL_CLASS(TcxFilterRadioGroupHelper, TcxFilterComboBoxHelper)
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

namespace cxRadioGroupUnit {
void Initialize();
void Finalize();
} // namespace cxRadioGroupUnit

} // namespace cx
