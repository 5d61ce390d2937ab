#pragma once
// cxFilterControl: the filter builder. It shows a filter as a tree of rows (groups that combine
// their children with one bool operator, conditions that read "item operator values"), builds
// that tree from a filter criteria and back, applies it to the host it is linked to
// (IcxFilterControl), and loads and saves it as a criteria stream (".flt" files).
//   cxFilterControl.cpp          criteria, rows, building, applying, streams and files
//   cxFilterControlInput.cpp     focus, keys, mouse, drop-downs, row menu, value editors
//   cxFilterControlViewInfo.cpp  layout, hit test and painting
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "platform/vcl/Graphics.h"
#include "toolkit/core/cxFormats.h"
#include "toolkit/core/cxGraphics.h"
#include "toolkit/core/cxGraphicsBitmaps.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/controls/cxControls.h"
#include "toolkit/controls/cxControlsTimers.h"
#include "toolkit/editors/cxFilterControlUtils.h"
#include "toolkit/grid/cxFilterControlLink.h"
#include "toolkit/grid/cxFilterControlStrs.h"

namespace cx {



class TcxComboBox;
class TcxCustomEdit;
class TcxCustomEditData;
class TcxCustomEditProperties;
class TcxCustomEditStyle;
class TcxCustomEditViewInfo;
class TcxInplaceEditList;
class TcxCustomFilterControl;
// The vertical grid has a row view info class of the same name in this namespace; the builder's
// lives in its own, and the builder's classes name it through their member alias.
namespace cxFilterControl {
class TcxCustomRowViewInfo;
}
using TcxFilterRowViewInfo = cxFilterControl::TcxCustomRowViewInfo;
class TcxGroupViewInfo;
class TcxConditionViewInfo;
class TcxFilterControlViewInfo;
class TcxFilterControlPainter;

// What the control is selecting.
enum TFilterControlState {
    fcsNormal, fcsSelectingAction, fcsSelectingItem, fcsSelectingBoolOperator, fcsSelectingCondition,
    fcsSelectingValue
};

// A part of the control.
enum TcxFilterControlHitTest {
    fhtNone, fhtButton, fhtBoolOperator, fhtItem, fhtOperator, fhtValue, fhtAddCondition, fhtAddValue
};

struct TcxFilterControlHitTestInfo {
    TcxFilterControlHitTest HitTest = fhtNone;
    TPoint Mouse;
    TShiftState Shift;
    TcxFilterRowViewInfo* Row = nullptr;
    int ValueIndex = -1;
};

enum TcxFilterControlFont { fcfBoolOperator, fcfItem, fcfCondition, fcfValue };
enum TcxActivateValueEditKind { aveEnter, aveKey, aveMouse };

// The dialog's way of linking the builder it shows.
class IcxFilterControlDialog {
public:
    virtual ~IcxFilterControlDialog() = default;
    virtual void SetDialogLinkComponent(TComponent* component) = 0;
};

// The operator texts that Localize fills (empty before).
std::string cxGetConditionText(TcxFilterControlOperator op);
std::string cxGetBoolOperatorText(TcxFilterBoolOperatorKind kind);
// Reads the operator and bool operator texts from the resource strings into that table.
void cxFilterControlFillTexts();
// False for null; otherwise whether editors of the class support filtering.
bool IsSupportFiltering(TcxCustomEditPropertiesClass propertiesClass);

// --- criteria -----------------------------------------------------------------------------------------
// A condition of the builder's criteria: it never filters data itself; its captions come from the host.
class TcxFilterControlCriteriaItem : public TcxFilterCriteriaItem {
    RTL_CLASS(TcxFilterControlCriteriaItem, TcxFilterCriteriaItem)
    using TcxFilterCriteriaItem::TcxFilterCriteriaItem;
    Variant GetDataValue(void* data) override;
    std::string GetFieldCaption() override;
    std::string GetFieldName() override;
    TcxFilterOperatorClass GetFilterOperatorClass() override;

    // The host index of the item link; -1 when none or without a link.
    int ItemIndex();
    bool IsValid();

private:
    TcxCustomFilterControl* Control();
    IcxFilterControl* Link();
};

// The builder's criteria: version 3, item links resolved through the host.
class TcxFilterControlCriteria : public TcxFilterCriteria {
    RTL_CLASS(TcxFilterControlCriteria, TcxFilterCriteria)
    explicit TcxFilterControlCriteria(TcxCustomFilterControl* control);
    void AssignEvents(TPersistent* source) override {}
    TcxFilterCriteriaItemClass GetItemClass() override;
    int GetIDByItemLink(TObject* itemLink) override;
    std::string GetNameByItemLink(TObject* itemLink) override;
    TObject* GetItemLinkByID(int id) override;
    TObject* GetItemLinkByName(const std::string& name) override;

    TcxCustomFilterControl* Control() const { return control_; }
    // The host index whose item link is the object; -1 when none or without a link.
    int IndexOfItemLink(TObject* itemLink);

private:
    IcxFilterControl* Link();
    TcxCustomFilterControl* control_;
};
using TcxFilterControlCriteriaClass = TClassRef<TcxFilterControlCriteria, TcxCustomFilterControl*>;

// --- rows ---------------------------------------------------------------------------------------------
namespace cxFilterControl {
// One line of the builder. Created and destroyed only by the control; a row made with a parent
// is appended to it and leaves it when destroyed.
class TcxCustomRowViewInfo : public TObject {
    RTL_CLASS(TcxCustomRowViewInfo, TObject)
    TcxCustomRowViewInfo(TcxCustomFilterControl* control, TcxGroupViewInfo* parent,
                         TcxCustomFilterCriteriaItem* criteriaItem);
    ~TcxCustomRowViewInfo() override;

    virtual int GetWidth();
    virtual void Calc(const TRect& rowRect);
    virtual void GetHitTestInfo(const TPoint& p, TcxFilterControlHitTestInfo& info);
    virtual bool Ready() { return true; }
    virtual bool IsGroup() const { return false; }

    TcxCustomFilterControl* Control() const { return control_; }
    TcxGroupViewInfo* Parent() const { return parent_; }
    // Number of ancestors.
    int Level() const;
    // Whether it is the last child of its group (true for the root).
    bool IsLast() const;
    int Indent() const { return indent_; }
    const std::string& ButtonText() const { return buttonText_; }
    TcxFilterControlViewInfo* ViewInfo() const;

    TRect RowRect;
    TRect ButtonRect;
    TcxButtonState ButtonState = cxbsNormal;

protected:
    TcxCustomFilterControl* control_;
    TcxGroupViewInfo* parent_;
    std::string buttonText_;
    int indent_ = 0;
    int buttonWidth_ = 0;
};
} // namespace cxFilterControl

class TcxGroupViewInfo : public cxFilterControl::TcxCustomRowViewInfo {
    RTL_CLASS(TcxGroupViewInfo, TcxCustomRowViewInfo)
    TcxGroupViewInfo(TcxCustomFilterControl* control, TcxGroupViewInfo* parent,
                     TcxCustomFilterCriteriaItem* criteriaItem);
    // Destroys the children first.
    ~TcxGroupViewInfo() override;

    int GetWidth() override;
    void Calc(const TRect& rowRect) override;
    void GetHitTestInfo(const TPoint& p, TcxFilterControlHitTestInfo& info) override;
    bool IsGroup() const override { return true; }

    int ChildCount() const { return static_cast<int>(children_.size()); }
    TcxCustomRowViewInfo* Children(int index) const { return children_.at(static_cast<std::size_t>(index)); }
    int IndexOf(const TcxCustomRowViewInfo* row) const;
    // Destroys every child.
    void ClearChildren();
    TcxFilterBoolOperatorKind BoolOperator() const { return boolOperator_; }
    void SetBoolOperator(TcxFilterBoolOperatorKind value) { boolOperator_ = value; }
    std::string BoolOperatorText() const { return cxGetBoolOperatorText(boolOperator_); }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value) { caption_ = value; }

    TRect BoolOperatorRect;
    TRect CaptionRect;

private:
    friend class cxFilterControl::TcxCustomRowViewInfo;
    std::vector<TcxCustomRowViewInfo*> children_;
    TcxFilterBoolOperatorKind boolOperator_ = fboAnd;
    std::string caption_;
};

// One value of a condition.
class TcxValueInfo : public TObject {
    RTL_CLASS(TcxValueInfo, TObject)
    TcxValueInfo();
    ~TcxValueInfo() override;
    Variant Value;
    std::string ValueText;
    TRect ValueRect;
    TcxCustomEditViewInfo* ValueViewInfo() const { return valueViewInfo_; }
    // Takes the view info; frees the previous one.
    void SetValueViewInfo(TcxCustomEditViewInfo* value);

private:
    TcxCustomEditViewInfo* valueViewInfo_ = nullptr;
};

// The values of a condition with their layout.
class TcxValuesViewInfo : public TObject {
    RTL_CLASS(TcxValuesViewInfo, TObject)
    explicit TcxValuesViewInfo(TcxConditionViewInfo* condition);
    ~TcxValuesViewInfo() override;

    TcxValueInfo* AddValue();
    // Ignores an index outside the list.
    void RemoveValue(int index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TcxValueInfo* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    TcxValueInfo* operator[](int index) const { return Items(index); }
    TcxConditionViewInfo* Condition() const { return condition_; }
    const std::string& Separator() const { return separator_; }
    // Lays the values out after the operator (only with display values).
    void Calc();
    void GetHitTestInfo(const TPoint& p, TcxFilterControlHitTestInfo& info);
    // Right edge of the last value, or of the add-value button for the list operators; the
    // operator's right without display values.
    int GetRight() const;

    TRect AddButtonRect;
    TcxButtonState AddButtonState = cxbsNormal;

private:
    TcxConditionViewInfo* condition_;
    std::vector<TcxValueInfo*> items_;
    std::string separator_;
};

class TcxConditionViewInfo : public cxFilterControl::TcxCustomRowViewInfo {
    RTL_CLASS(TcxConditionViewInfo, TcxCustomRowViewInfo)
    // Without a criteria item the condition takes the default item; with one it takes the
    // item's link, operator and values (EcxFilterControlError when the host does not know the link).
    TcxConditionViewInfo(TcxCustomFilterControl* control, TcxGroupViewInfo* parent,
                         TcxCustomFilterCriteriaItem* criteriaItem);
    ~TcxConditionViewInfo() override;

    int GetWidth() override;
    void Calc(const TRect& rowRect) override;
    void GetHitTestInfo(const TPoint& p, TcxFilterControlHitTestInfo& info) override;
    // A valid host item, an operator and the values the operator reads.
    bool Ready() override;
    // A valid host item and an operator (the values aside).
    bool HasItemAndOperator();
    // The values the operator reads: none, one, or two for between.
    int NeededValueCount() const;

    bool HasDisplayValues() const;
    // Fresh properties, helper, value type and operators for the current item.
    void InternalInit();
    void InitValues(bool keep);
    // A negative index takes the default item.
    void SetItem(int index);
    // The criteria item this condition stands for (added to the list).
    void AddToCriteria(TcxFilterCriteriaItemList* list);

    TObject* ItemLink() const { return itemLink_; }
    int ItemIndex() const { return itemIndex_; }
    const std::string& ItemText() const { return itemText_; }
    TcxFilterControlOperator Operator() const { return operator_; }
    void SetOperator(TcxFilterControlOperator value) { operator_ = value; }
    std::string OperatorText() const { return cxGetConditionText(operator_); }
    TcxCustomFilterEditHelperClass FilterEditsHelper() const { return helper_; }
    // The host's properties for the item (the control's default text properties without them).
    TcxCustomEditProperties* HostProperties() const { return hostProperties_; }
    // The condition's own copy, made by InternalInit.
    TcxCustomEditProperties* EditorProperties() const { return properties_.get(); }
    TcxFilterControlOperators SupportedOperators() const { return supportedOperators_; }
    TcxValueTypeClass ValueTypeClass() const { return valueTypeClass_; }
    TcxCustomEditData* EditData() const { return editData_; }
    TcxCustomEditData*& EditDataRef() { return editData_; }
    TcxValuesViewInfo* Values() const { return values_.get(); }

    TRect ItemRect;
    TRect OperatorRect;

private:
    void FreeEditData();
    TObject* itemLink_ = nullptr;
    int itemIndex_ = -1;
    std::string itemText_;
    TcxFilterControlOperator operator_ = fcoNone;
    TcxCustomFilterEditHelperClass helper_ = nullptr;
    TcxCustomEditProperties* hostProperties_ = nullptr;
    std::unique_ptr<TcxCustomEditProperties> properties_;
    TcxFilterControlOperators supportedOperators_;
    TcxValueTypeClass valueTypeClass_ = nullptr;
    TcxCustomEditData* editData_ = nullptr;
    std::unique_ptr<TcxValuesViewInfo> values_;
};

// --- view info and painter ----------------------------------------------------------------------------
class TcxFilterControlPainter : public TObject {
    RTL_CLASS(TcxFilterControlPainter, TObject)
    using TcxCustomRowViewInfo = cxFilterControl::TcxCustomRowViewInfo;
    explicit TcxFilterControlPainter(TcxCustomFilterControl* control);
    virtual TColor GetContentColor();
    virtual void DrawRow(TcxCustomRowViewInfo* row);

    TcxCustomFilterControl* Control() const { return control_; }
    TcxCanvas* Canvas() const;
    TcxCustomLookAndFeelPainterClass LookAndFeelPainter() const;
    void DrawBorder();
    void DrawDotLine(const TRect& r);
    void DrawGroup(TcxGroupViewInfo* row);
    void DrawCondition(TcxConditionViewInfo* row);
    void DrawValues(TcxConditionViewInfo* row);
    void TextDraw(int x, int y, const std::string& text);

private:
    void DrawLevelLines(TcxCustomRowViewInfo* row);
    TcxCustomFilterControl* control_;
};
using TcxFilterControlPainterClass = TClassRef<TcxFilterControlPainter, TcxCustomFilterControl*>;

class TcxFilterControlViewInfo : public TObject {
    RTL_CLASS(TcxFilterControlViewInfo, TObject)
    using TcxCustomRowViewInfo = cxFilterControl::TcxCustomRowViewInfo;
    explicit TcxFilterControlViewInfo(TcxCustomFilterControl* control);
    ~TcxFilterControlViewInfo() override;

    virtual void CalcFocusRect();
    virtual TcxFilterControlPainterClass GetPainterClass();
    virtual void GetHitTestInfo(TShiftState shift, const TPoint& p, TcxFilterControlHitTestInfo& info);

    void Calc();
    // After a mouse move: the add-condition button state and the focus rectangle.
    void Update();
    void InvalidateRow(TcxCustomRowViewInfo* row);
    void Paint(TcxCanvas* target);
    // Rows' layout helpers.
    void CalcAddButtonState();
    TcxButtonState RowButtonState(TcxCustomRowViewInfo* row);
    // Lays value index of the condition out at x (its editor view info included); the value's rectangle.
    TRect CalcValue(TcxConditionViewInfo* condition, int index, int x);

    TcxCustomFilterControl* Control() const { return control_; }
    TcxBitmap* Bitmap() const { return bitmap_.get(); }
    // The bitmap's canvas: everything is painted there first.
    TcxCanvas* Canvas() const;
    TcxFilterControlPainter* Painter() const { return painter_.get(); }
    bool Enabled() const { return enabled_; }
    int RowHeight() const { return rowHeight_; }
    int MinValueWidth() const { return minValueWidth_; }
    int MaxRowWidth() const { return maxRowWidth_; }
    void SetMaxRowWidth(int value) { maxRowWidth_ = value; }
    const std::string& AddConditionCaption() const { return addConditionCaption_; }
    void SetAddConditionCaption(const std::string& value) { addConditionCaption_ = value; }

    TRect AddConditionRect;
    TcxButtonState AddConditionButtonState = cxbsNormal;
    TRect FocusRect;

private:
    void CalcRowHeight();
    TcxCustomFilterControl* control_;
    std::unique_ptr<TcxBitmap> bitmap_;
    std::unique_ptr<TcxFilterControlPainter> painter_;
    bool enabled_ = false;
    int rowHeight_ = 0;
    int minValueWidth_ = 0;
    int maxRowWidth_ = 0;
    std::string addConditionCaption_;
};
using TcxFilterControlViewInfoClass = TClassRef<TcxFilterControlViewInfo, TcxCustomFilterControl*>;

// --- the control ----------------------------------------------------------------------------------------
class TcxCustomFilterControl : public TcxControl,
                               public IcxFormatControllerListener,
                               public IcxMouseTrackingCaller,
                               public IdxSkinSupport {
    RTL_CLASS(TcxCustomFilterControl, TcxControl)
    using TcxCustomRowViewInfo = cxFilterControl::TcxCustomRowViewInfo;
    explicit TcxCustomFilterControl(TComponent* owner);
    ~TcxCustomFilterControl() override;
    void BeforeDestruction() override;

    // Model and persistence.
    void ApplyFilter();
    virtual void BuildFromCriteria();
    // Raises EcxFilterControlError (and keeps the criteria) when a row is not Ready.
    void BuildFromRows();
    virtual void Clear();
    virtual bool IsValid();
    bool HasItems();
    virtual std::string GetFilterCaption();
    virtual std::string GetFilterText();
    // A failed load keeps the rows; a failed save keeps the old file.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    void LoadFromStream(TStream* stream);
    void SaveToStream(TStream* stream);
    void ReadData(TStream* stream);
    void WriteData(TStream* stream);
    void BeginUpdate() { ++lockCount_; }
    void EndUpdate();
    bool IsLocked() const { return lockCount_ > 0; }
    TcxFilterControlCriteria* Criteria() const { return criteria_; }
    virtual IcxFilterControl* GetFilterLink() { return nullptr; }

    // Rows.
    TcxGroupViewInfo* Root() const { return root_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    TcxCustomRowViewInfo* Rows(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
    int IndexOfRow(const TcxCustomRowViewInfo* row) const;
    // Root first, then every row in pre-order.
    void RebuildRowList();
    // Destroys every row but the root and resets focus and scrolling.
    void ClearRows();
    TcxCustomRowViewInfo* FocusedRow() const { return focusedInfo_.Row; }
    TcxFilterControlHitTest FocusedPart() const { return focusedInfo_.HitTest; }
    int FocusedValueIndex() const { return focusedInfo_.ValueIndex; }
    TcxFilterControlHitTestInfo& FocusedInfo() { return focusedInfo_; }
    TcxFilterControlHitTestInfo& HotTrackInfo() { return hotTrackInfo_; }
    TFilterControlState State() const { return state_; }
    void SetState(TFilterControlState value) { state_ = value; }
    TcxFilterControlViewInfo* ViewInfo() const { return viewInfo_; }
    int TopVisibleRow() const { return topVisibleRow_; }
    void SetTopVisibleRow(int value);
    int LeftOffset() const { return leftOffset_; }
    void SetLeftOffset(int value);

    // Properties.
    TFont* GetFont(TcxFilterControlFont index) const { return fonts_[index]; }
    void SetFont(TcxFilterControlFont index, TFont* value);
    TFont* FontBoolOperator() const { return fonts_[fcfBoolOperator]; }
    TFont* FontCondition() const { return fonts_[fcfCondition]; }
    TFont* FontItem() const { return fonts_[fcfItem]; }
    TFont* FontValue() const { return fonts_[fcfValue]; }
    bool IsFontStored(TcxFilterControlFont index) const;
    bool HotTrackOnUnfocused() const { return hotTrackOnUnfocused_; }
    void SetHotTrackOnUnfocused(bool value) { hotTrackOnUnfocused_ = value; }
    const std::string& NullString() const { return nullString_; }
    void SetNullString(const std::string& value);
    bool IsNullStringStored() const;
    bool ShowLevelLines() const { return showLevelLines_; }
    void SetShowLevelLines(bool value);
    bool SortItems() const { return sortItems_; }
    void SetSortItems(bool value) { sortItems_ = value; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value);
    TNotifyEvent OnApplyFilter;

    // Internal controls.
    TcxComboBox* ComboBox() const { return comboBox_; }
    TPopupMenu* RowMenu() const { return rowMenu_; }
    TcxInplaceEditList* InplaceEditList() const { return editList_; }
    TcxCustomEdit* ValueEditor() const { return valueEditor_; }
    TcxCustomEditStyle* ValueEditStyle() const { return valueEditStyle_; }
    TcxCustomEditProperties* DefaultProperties() const { return defaultProperties_; }
    bool ValueRejected() const { return valueRejected_; }
    // Hot tracking is active: enabled, focused or HotTrackOnUnfocused, items present.
    bool HasHotTrack();

    // Row editing (nothing without items).
    void AddCondition(TcxCustomRowViewInfo* row);
    void AddGroup();
    void AddValue();
    void Remove();
    void RemoveRow();
    void RemoveValue();
    // Navigation.
    void FocusNext(bool toNextRow);
    void FocusPrev(bool toPrevRow);
    void FocusUp(bool toLastPart);
    void FocusDown(bool toButton);
    void RowNavigate(TcxFilterControlHitTest part, int valueIndex = -1);
    void SetFocusedRow(TcxCustomRowViewInfo* row);
    void EnsureRowVisible();
    void ProcessHitTest(TcxFilterControlHitTest part, bool byMouse);
    // Value editor.
    void ValueEditorInit();
    void ValueEditorHide(bool commit);
    void Localize();
    void LayoutChanged();
    void RefreshProperties();

    // Virtual slots.
    virtual void CheckInplaceControlsColor();
    virtual void DoLayoutChange();
    virtual void CreateInternalControls();
    virtual void DestroyInternalControls();
    virtual void DoApplyFilter();
    virtual TcxCustomEditProperties* GetDefaultProperties() { return defaultProperties_; }
    virtual TcxFilterControlCriteriaClass GetFilterControlCriteriaClass();
    virtual TcxFilterControlViewInfoClass GetViewInfoClass();
    virtual void FillFilterItemList(TStrings* strings);
    virtual void FillConditionList(TStrings* strings);
    virtual void ValidateConditions(TcxFilterControlOperators& operators);
    virtual void CorrectOperatorClass(TcxFilterOperatorClass& operatorClass) {}
    virtual void SelectAction();
    virtual void SelectBoolOperator();
    virtual void SelectCondition();
    virtual void SelectItem();
    virtual void SelectValue(TcxActivateValueEditKind kind, char16_t key);

    // TcxControl.
    void Loaded() override;
    void SetEnabled(bool value) override;
    void SetParent(TWinControl* parent) override;
    int GetBorderSize() const override;
    void InitControl() override;
    void LookAndFeelChanged(TcxLookAndFeel* sender, TcxLookAndFeelValues changedValues) override;
    void InitScrollBarsParameters() override;
    void Scroll(TScrollBarKind kind, TScrollCode code, int& pos) override;
    void TranslationChanged() override;
    void BoundsChanged() override;
    void FocusChanged() override;
    void FontChanged() override;
    void MouseEnter(TControl* control) override;
    void MouseLeave(TControl* control) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    // IcxFormatControllerListener
    void FormatChanged() override;
    // IcxMouseTrackingCaller
    void MouseTrackingCallerMouseLeave() override;

    // Handlers of the internal controls' events.
    void ComboBoxCloseUp(TObject* sender);
    void ComboBoxExit(TObject* sender);
    void ComboBoxKeyDown(TObject* sender, std::uint16_t& key, TShiftState shift);
    void ComboBoxKeyPress(TObject* sender, char16_t& key);
    void ComboBoxPopup(TObject* sender);
    void RowMenuClick(TObject* sender);
    void ValueEditorAfterKeyDown(TObject* sender, std::uint16_t& key, TShiftState shift);
    void ValueEditorExit(TObject* sender);
    void ValueEditorKeyDown(TObject* sender, std::uint16_t& key, TShiftState shift);

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

    // EcxFilterControlError naming the first row that is not Ready.
    void CheckRowsReady();
    // Called by the value editor's handlers: commit, putting the focus back into a rejecting editor.
    void CommitValueEditor();
    void FontChangedHandler(TObject* sender);
    // The drop-down over a part's text rectangle.
    void DropDownComboBox(const TRect& r, const std::string& text);
    void HideComboBox();
    TRect FocusedPartRect();

    TFilterControlState state_ = fcsNormal;
    TcxFilterControlHitTestInfo focusedInfo_;
    TcxFilterControlHitTestInfo hotTrackInfo_;
    TFont* fonts_[4] = {};
    int topVisibleRow_ = 0;
    int leftOffset_ = 0;
    int lockCount_ = 0;
    TcxComboBox* comboBox_ = nullptr;
    TPopupMenu* rowMenu_ = nullptr;
    TcxInplaceEditList* editList_ = nullptr;
    TcxCustomEdit* valueEditor_ = nullptr;
    TcxCustomEditStyle* valueEditStyle_ = nullptr;
    TcxCustomEditProperties* defaultProperties_ = nullptr;
    bool valueRejected_ = false;
    bool hotTrackOnUnfocused_ = true;
    std::string nullString_;
    bool showLevelLines_ = true;
    bool sortItems_ = false;
    bool wantTabs_ = false;
    // The value behind each entry of the open drop-down list, in list order.
    std::vector<int> comboValues_;

private:
    TcxFilterControlCriteria* criteria_ = nullptr;
    TcxGroupViewInfo* root_ = nullptr;
    std::vector<TcxCustomRowViewInfo*> rows_;
    TcxFilterControlViewInfo* viewInfo_ = nullptr;
};

// The published builder: linked to its host through LinkComponent.
class TcxFilterControl : public TcxCustomFilterControl, public IcxFilterControlDialog {
    RTL_CLASS(TcxFilterControl, TcxCustomFilterControl)
    explicit TcxFilterControl(TComponent* owner);
    ~TcxFilterControl() override;

    TComponent* LinkComponent() const { return linkComponent_; }
    // A component that does not implement IcxFilterControl is taken as null.
    void SetLinkComponent(TComponent* value);
    // Copies the host's criteria and rebuilds the rows; clears without a host criteria.
    void UpdateFilter();
    IcxFilterControl* GetFilterLink() override;
    // IcxFilterControlDialog
    void SetDialogLinkComponent(TComponent* component) override { SetLinkComponent(component); }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TComponent* linkComponent_ = nullptr;
};
using TcxFilterControlClass = TClassRef<TcxFilterControl, TComponent*>;

} // namespace cx
