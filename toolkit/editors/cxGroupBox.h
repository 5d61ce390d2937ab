#pragma once
// cxGroupBox: a container drawn as a framed group with its caption on any side (rotated on the
// left and right) or in the centre, or, in panel style, as a panel with a free-positioned,
// optionally word-wrapped caption. Children are placed in AdjustClientRect's rectangle.
#include <memory>
#include <string>

#include "toolkit/core/cxClasses.h"
#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/editors/cxEditControl.h"

namespace cx {

enum TcxCaptionAlignment {
    alTopLeft, alTopCenter, alTopRight, alBottomLeft, alBottomCenter, alBottomRight,
    alLeftTop, alLeftCenter, alLeftBottom, alRightTop, alRightCenter, alRightBottom, alCenterCenter
};

enum TcxPanelOffice11BackgroundKind { pobkGradient, pobkOffice11Color, pobkStyleColor };

TcxGroupBoxCaptionPosition CaptionPositionOf(TcxCaptionAlignment alignment);

class TcxCustomGroupBox;

class TcxPanelStyle : public TPersistent {
    RTL_CLASS(TcxPanelStyle, TPersistent)
    explicit TcxPanelStyle(TcxCustomGroupBox* owner) : owner_(owner) {}
    void Assign(TPersistent* source) override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    // Never below 2: smaller values are raised to 2.
    int CaptionIndent() const { return captionIndent_; }
    void SetCaptionIndent(int value);
    TcxPanelOffice11BackgroundKind OfficeBackgroundKind() const { return officeBackgroundKind_; }
    void SetOfficeBackgroundKind(TcxPanelOffice11BackgroundKind value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

private:
    void Changed(bool always = false);
    TcxCustomGroupBox* owner_;
    bool active_ = false;
    int borderWidth_ = 0;
    int captionIndent_ = 2;
    TcxPanelOffice11BackgroundKind officeBackgroundKind_ = pobkOffice11Color;
    bool wordWrap_ = false;
};

class TcxCustomGroupBoxProperties : public TcxCustomEditProperties {
    RTL_CLASS(TcxCustomGroupBoxProperties, TcxCustomEditProperties)
    using TcxCustomEditProperties::TcxCustomEditProperties;
};

using TcxGroupBoxCustomDrawEvent = Event<void(TcxCustomGroupBox* sender, bool& done)>;

class TcxCustomGroupBox : public TcxCustomEdit {
    RTL_CLASS(TcxCustomGroupBox, TcxCustomEdit)
    explicit TcxCustomGroupBox(TComponent* owner, bool isInplace = false);
    ~TcxCustomGroupBox() override;

    TcxCaptionAlignment Alignment() const { return alignment_; }
    void SetAlignment(TcxCaptionAlignment value);
    TcxPanelStyle* PanelStyle() const { return panelStyle_; }
    bool RedrawOnResize = true;
    TColor CaptionBkColor = clDefault;   // kept, not used for painting
    TcxGroupBoxCustomDrawEvent OnCustomDraw;

    // Recomputes the caption font and the visible caption, then lays out again.
    void UpdateCaption();
    TFont* CaptionFont() const { return captionFont_; }
    const std::string& VisibleCaption() const { return visibleCaption_; }
    bool IsVerticalText() const;
    TcxGroupBoxCaptionPosition CaptionPosition() const { return CaptionPositionOf(alignment_); }

    // Geometry (control coordinates).
    TRect GetCaptionRect();
    TRect GetGroupBorderExtent();
    TRect GetGroupClientExtent();
    TRect GetFrameBounds();
    // Where the children go: the control less the client extent (and the panel border width).
    virtual TRect AdjustClientRect();
    bool HasGroupShadow() const;

protected:
    TcxCustomGroupBox(TComponent* owner, bool isInplace, const TcxCustomEditPropertiesClass& propertiesClass);
    void Dispatch(TMessage& msg) override;
    void Paint() override;
    bool CanFocusOnClick() override { return false; }
    bool DefaultParentColor() const override { return true; }
    bool IsContainerClass() const override { return true; }
    TcxContainerStyle* InternalGetActiveStyle() const override;
    void ContainerStyleChanged(TObject* sender) override;
    // The group box paints its own frame: the whole control is its paint area.
    TRect GetClientBounds() const override { return {0, 0, Width(), Height()}; }
    TRect GetShadowBounds() const override { return {0, 0, Width(), Height()}; }
    // The shadow is part of the group box's own painting (HasGroupShadow).
    bool HasShadow() const override { return false; }
    virtual void DrawBackground(TcxCanvas* canvas);
    virtual void DrawCaption(TcxCanvas* canvas);
    virtual void DrawFrame(TcxCanvas* canvas);

private:
    TcxCanvas* MeasureCanvas();
    int CaptionTextHeight(const char* sample);
    TSize CaptionTextSize();
    TRect PanelCaptionRect();
    int PanelTextFlags() const;
    TColor GroupBorderColor() const;
    bool HandleAccelerator(char16_t ch);

    TcxCaptionAlignment alignment_ = alTopLeft;
    TcxPanelStyle* panelStyle_ = nullptr;
    TFont* captionFont_ = nullptr;
    std::string visibleCaption_;
    std::unique_ptr<TBitmap> measureBitmap_;
    std::unique_ptr<TcxCanvas> measureCanvas_;
};

class TcxGroupBox : public TcxCustomGroupBox {
    RTL_CLASS(TcxGroupBox, TcxCustomGroupBox)
    using TcxCustomGroupBox::TcxCustomGroupBox;
};

// ---- button groups ----------------------------------------------------------------------------

class TcxButtonGroupItem : public TcxCaptionItem {
    RTL_CLASS(TcxButtonGroupItem, TcxCaptionItem)
    explicit TcxButtonGroupItem(TCollection* collection) : TcxCaptionItem(collection) {}
    void Assign(TPersistent* source) override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

private:
    bool enabled_ = true;
};

class TcxCustomButtonGroupProperties;

// Tells the owning properties of every change, naming a single addition, deletion or change so
// that the group can keep its buttons in step without rebuilding them.
class TcxButtonGroupItems : public TcxCaptionItems {
    RTL_CLASS(TcxButtonGroupItems, TcxCaptionItems)
    TcxButtonGroupItems(TPersistent* owner, TCollectionItemClass itemClass) : TcxCaptionItems(owner, itemClass) {}
    TcxButtonGroupItem* Items(int index) const { return static_cast<TcxButtonGroupItem*>(TCollection::Items(index)); }
    TcxButtonGroupItem* Add() { return static_cast<TcxButtonGroupItem*>(TCollection::Add()); }
    // Valid while the owner's change notice runs.
    bool ItemChanged = false;
    int ChangedItemIndex = -1;
    TcxCollectionOperation ChangedItemOperation = copChanged;

protected:
    void Notify(TCollectionItem* item, TCollectionNotification action) override;
    void Update(TCollectionItem* item) override;

private:
    void ReportChange(bool single, int index, TcxCollectionOperation operation);
    bool pending_ = false;
    bool several_ = false;
    int pendingIndex_ = -1;
    TcxCollectionOperation pendingOperation_ = copChanged;
};

class TcxCustomButtonGroupProperties : public TcxCustomGroupBoxProperties {
    RTL_CLASS(TcxCustomButtonGroupProperties, TcxCustomGroupBoxProperties)
    explicit TcxCustomButtonGroupProperties(TPersistent* owner);
    ~TcxCustomButtonGroupProperties() override;
    // For kinds whose items are of another class (a C++ constructor cannot ask a descendant).
    TcxCustomButtonGroupProperties(TPersistent* owner, const TCollectionItemClass& itemClass);
    void Assign(TPersistent* source) override;

    int Columns() const { return columns_; }
    void SetColumns(int value);
    TcxButtonGroupItems* Items() const { return items_; }
    void SetItems(TcxButtonGroupItems* value) { items_->Assign(value); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

    // Columns for the items: never one left empty (7 items in 3 columns: 3, 3 and 1).
    virtual int GetColumnCount() const;
    int GetButtonsPerColumn() const;

private:
    int columns_ = 1;
    TcxButtonGroupItems* items_ = nullptr;
    bool wordWrap_ = false;
};

// The nine numbers a button kind lays its cells out with.
struct TcxEditMetrics {
    int TextLeftOffset = 0, WidthCorrection = 0, GlyphTextGap = 0, AutoWidthCorrection = 0, ButtonLeftOffset = 0,
        ColumnWidthCorrection = 0, ColumnOffset = 0, GlyphWidth = 0, GlyphHeight = 0;
};

// A group box holding one child button per item, in columns filled top to bottom.
class TcxCustomButtonGroup : public TcxCustomGroupBox {
    RTL_CLASS(TcxCustomButtonGroup, TcxCustomGroupBox)
    TcxCustomButtonGroup(TComponent* owner, bool isInplace, const TcxCustomEditPropertiesClass& propertiesClass);
    ~TcxCustomButtonGroup() override;

    TcxCustomButtonGroupProperties* ButtonGroupProperties() const;
    int ButtonCount() const { return int(buttons_.size()); }
    TWinControl* Buttons(int index) const { return buttons_[size_t(index)]; }
    // The cell of item i in control coordinates.
    TRect GetButtonCell(int index);
    int GetButtonIndexAt(const TPoint& p);
    int GetFocusedButtonIndex() const;
    virtual void UpdateButtons();
    void PropertiesChanged(TObject* sender) override;
    // In-place activation by a press: the press (or the release) goes to the centre of the
    // button under the point, given in the parent's coordinates.
    void ActivateByMouse(TShiftState shift, int x, int y, TcxCustomEditData*& editData) override;
    // Auto size keeps the width and takes the height of the button rows at that width plus
    // the group's frame and caption.
    void InternalCanResize(int& newWidth, int& newHeight) override;

protected:
    // The height of the button rows at a control width, measured by the button kind; below 0
    // when the kind does not measure (the size is then left alone).
    virtual int GetButtonRowsHeight(int width) { return -1; }
    virtual TWinControl* GetButtonInstance() = 0;
    virtual void InitButtonInstance(TWinControl* button);
    virtual void SetButtonCount(int count);
    virtual void ArrangeButtons();
    virtual TcxEditMetrics GetEditMetrics() const { return {}; }
    void DoEditKeyDown(std::uint16_t& key, TShiftState shift) override;
    void EnabledChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Resize() override;

private:
    void ButtonKeyDown(TObject* sender, std::uint16_t& key, TShiftState shift);
    void FocusButton(int index);
    std::vector<TWinControl*> buttons_;
};

} // namespace cx
