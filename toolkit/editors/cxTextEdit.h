#pragma once
// The text editor: its settings and value conversions (TcxCustomTextEditProperties), its layout
// and painting (view data and view info), the lookup items it completes typed text from, the
// single-line inner edit that does the typing (a platform edit control whose every input path
// asks the editor first) and the editor control with its keyboard handling.
//
// Positions, lengths and MaxLength count UTF-16 units, as the inner edit and the character
// messages do; values stay UTF-8 strings.
#include <functional>
#include <string>
#include <vector>

#include "platform/vcl/StdCtrls.h"
#include "toolkit/core/cxDrawTextUtils.h"
#include "toolkit/controls/cxContainerListBox.h"
#include "toolkit/core/cxFormats.h"
#include "toolkit/editors/cxEditControl.h"
#include "toolkit/editors/cxEditViewInfo.h"
#include "toolkit/editors/cxFilterControlUtils.h"

class TPopupMenu;

namespace cx {

enum TcxEditEchoMode { eemNormal, eemPassword };
enum TcxTextEditViewStyle { vsNormal, vsHideCursor, vsButtonsOnly, vsButtonsAutoWidth };
enum TcxEditValueBound { evbMin, evbMax };
enum TcxEditScrollCause { escKeyboard, escMouseWheel };
enum TcxEditLookupDataGoDirection { egdBegin, egdEnd, egdNext, egdPrev, egdPageUp, egdPageDown };
enum TcxEditEditingStyle { esEdit, esEditList, esFixedList, esNoEdit };
// Stored only: the platform has one input context per window.
enum TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese };

using TcxNewLookupDisplayTextEvent = Event<void(TObject* sender, const std::string& text)>;

class TcxCustomTextEdit;
class TcxCustomTextEditLookupData;
class TcxCustomEditListBox;
using TcxCustomEditListBoxClass = TClassRef<TcxCustomEditListBox, TComponent*>;
using TcxCustomTextEditLookupDataClass = TClassRef<TcxCustomTextEditLookupData, TcxCustomTextEdit*>;

// Sets an editor's user-change flag for a scope and puts the old value back.
class TcxUserChangeScope {
public:
    TcxUserChangeScope(TcxCustomEdit* edit, bool value) : edit_(edit), old_(edit->IsUserChange())
    {
        edit_->SetUserChange(value);
    }
    ~TcxUserChangeScope() { edit_->SetUserChange(old_); }
    TcxUserChangeScope(const TcxUserChangeScope&) = delete;
    TcxUserChangeScope& operator=(const TcxUserChangeScope&) = delete;

private:
    TcxCustomEdit* edit_;
    bool old_;
};

// ---- unit routines ----------------------------------------------------------------------------

void CheckCharsRegister(std::string& text, TEditCharCase charCase);
void InsertThousandSeparator(std::string& text);
void RemoveThousandSeparator(std::string& text);
void RemoveExponentialPart(std::string& text, std::string& exponent);

// ---- properties -------------------------------------------------------------------------------

class TcxTextEditPropertiesValues : public TcxCustomEditPropertiesValues {
    RTL_CLASS(TcxTextEditPropertiesValues, TcxCustomEditPropertiesValues)
    using TcxCustomEditPropertiesValues::TcxCustomEditPropertiesValues;
    void Assign(TPersistent* source) override;
    void RestoreDefaults() override;
    bool DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(bool value);
    bool EditFormat() const { return editFormat_; }
    void SetEditFormat(bool value);
    bool MaxLength() const { return maxLength_; }
    void SetMaxLength(bool value);

private:
    bool displayFormat_ = false;
    bool editFormat_ = false;
    bool maxLength_ = false;
};

class TcxCustomTextEditProperties : public TcxCustomEditProperties, public IcxFormatControllerListener {
    RTL_CLASS(TcxCustomTextEditProperties, TcxCustomEditProperties)
    explicit TcxCustomTextEditProperties(TPersistent* owner);
    ~TcxCustomTextEditProperties() override;
    void Assign(TPersistent* source) override;
    // Reads the stream-only "IsDisplayFormatAssigned" of older streams; nothing writes it.
    void DefineProperties(TFiler* filer) override;

    // --- settings
    TEditCharCase CharCase() const { return charCase_; }
    virtual void SetCharCase(TEditCharCase value);
    std::string DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(const std::string& value);
    TcxEditEchoMode EchoMode() const { return echoMode_; }
    void SetEchoMode(TcxEditEchoMode value);
    std::string EditFormat() const { return editFormat_; }
    void SetEditFormat(const std::string& value);
    bool FixedListSelection() const { return fixedListSelection_; }
    void SetFixedListSelection(bool value);
    bool HideCursor() const { return hideCursor_; }
    void SetHideCursor(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    TImeMode ImeMode() const { return imeMode_; }
    void SetImeMode(TImeMode value);
    std::string ImeName() const { return imeName_; }
    void SetImeName(const std::string& value);
    bool ImmediateUpdateText() const { return immediateUpdateText_; }
    void SetImmediateUpdateText(bool value) { immediateUpdateText_ = value; }
    bool IncrementalSearch() const { return incrementalSearch_; }
    void SetIncrementalSearch(bool value);
    // The lookup items (duplicates accepted); kept sorted while LookupItemsSorted.
    const std::vector<std::string>& LookupItems() const { return lookupItems_; }
    void SetLookupItems(const std::vector<std::string>& items);
    bool LookupItemsSorted() const { return lookupItemsSorted_; }
    void SetLookupItemsSorted(bool value);
    int MaxLength() const;
    void SetMaxLength(int value);
    bool MRUMode() const { return mruMode_; }
    void SetMRUMode(bool value);
    bool OEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool value);
    char16_t PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char16_t value);
    bool UseDisplayFormatWhenEditing() const { return useDisplayFormatWhenEditing_; }
    void SetUseDisplayFormatWhenEditing(bool value);
    // Characters the control accepts beyond what the framework accepts (UTF-16 units).
    const std::u16string& ValidChars() const { return validChars_; }
    void SetValidChars(const std::u16string& value);
    TcxTextEditViewStyle ViewStyle() const;
    void SetViewStyle(TcxTextEditViewStyle value);
    TcxTextEditPropertiesValues* AssignedValues()
    {
        return static_cast<TcxTextEditPropertiesValues*>(TcxCustomEditProperties::AssignedValues());
    }
    void SetMinMaxValues(double minValue, double maxValue);

    // --- conversions and checks
    void PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool editFocused) override;
    std::u16string GetDisplayText(const Variant& editValue, bool fullText = false, bool isInplace = true) override;
    void GetDefaultDisplayValue(const Variant& editValue, bool editFocused, Variant& displayValue);
    virtual void DisplayValueToDisplayText(std::string& text);
    bool IsEditValueValid(Variant& editValue, bool editFocused) override;
    virtual bool IsDisplayValueValid(Variant& displayValue, bool editFocused);
    void ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                              IcxEditValidationTarget* edit) override;
    virtual void CheckEditorValueBounds(Variant& displayValue, std::string& errorText, bool& error,
                                        TcxCustomEdit* edit);
    virtual bool IsValueBoundDefined(TcxEditValueBound bound);
    virtual bool IsValueBoundsDefined();
    std::string GetDisplayFormat();
    std::string GetEditFormat();
    virtual std::string InternalGetEditFormat(bool& isCurrency, bool& isOnGetTextAssigned, TcxCustomEdit* edit);
    virtual bool FindLookupText(const std::string& text);
    bool CanIncrementalSearch();
    virtual int GetInnerEditMaxLength() { return MaxLength(); }
    bool CompareDisplayValues(const Variant& v1, const Variant& v2) override;

    // --- introduced virtuals
    void FormatChanged() override;
    virtual std::string DefaultFocusedDisplayValue() { return {}; }
    virtual std::string GetDefaultDisplayFormat() { return {}; }
    virtual int GetDefaultMaxLength();
    virtual int GetDropDownPageRowCount() { return 8; }
    virtual TcxEditEditingStyle GetEditingStyle() const { return hideCursor_ ? esNoEdit : esEdit; }
    virtual TcxCustomTextEditLookupDataClass GetLookupDataClass() const;
    virtual bool HasDigitGrouping(bool isDisplayValueSynchronizing) { return false; }
    virtual bool IsEditValueNumeric() { return false; }
    virtual bool IsLookupDataVisual() const { return false; }
    virtual bool IsMultiLine() const { return false; }
    virtual bool IsPopupKey(std::uint16_t, TShiftState) { return false; }
    virtual void LookupDataChanged(TObject*) { Changed(); }
    virtual void MaxLengthChanged() { Changed(); }
    // A masked kind answers False: its typed text is never completed from the items.
    virtual bool UseLookupData() const { return bool(GetLookupDataClass()); }

    // --- overrides of the framework's questions
    bool CanValidate() const override { return true; }
    bool CanCompareEditValue() const override { return true; }
    bool HasDisplayValue() const override { return true; }
    bool IsResetEditClass() const override { return GetEditingStyle() != esNoEdit; }
    TcxEditDisplayFormatOptions GetDisplayFormatOptions() const override;
    std::string GetValidateErrorText(int errorKind) override;
    TcxEditSupportedOperations GetSupportedOperations() override;
    TcxCustomEditPropertiesValuesClass GetAssignedValuesClass() const override;
    TcxCustomEditViewDataClass GetViewDataClass() const override;
    TcxCustomEditViewInfoClass GetViewInfoClass() const override;
    const TClassMeta* GetContainerClass() const override;

    TcxNewLookupDisplayTextEvent OnNewLookupDisplayText;

protected:
    void AlignmentChangedHandler(TObject* sender) override;
    void BaseSetAlignment(TcxEditAlignment* value) override;

private:
    friend class TcxTextEditPropertiesValues;
    template <class T>
    void SetValue(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    std::string FormatNumeric(const Variant& value, bool editFocused);
    TEditCharCase charCase_ = ecNormal;
    std::string displayFormat_;
    TcxEditEchoMode echoMode_ = eemNormal;
    std::string editFormat_;
    bool fixedListSelection_ = true;
    bool hideCursor_ = false;
    bool hideSelection_ = true;
    TImeMode imeMode_ = imDontCare;
    std::string imeName_;
    bool immediateUpdateText_ = false;
    bool incrementalSearch_ = true;
    std::vector<std::string> lookupItems_;
    bool lookupItemsSorted_ = false;
    int maxLength_ = 0;
    bool mruMode_ = false;
    bool oemConvert_ = false;
    char16_t passwordChar_ = 0;
    bool useDisplayFormatWhenEditing_ = false;
    std::u16string validChars_;
    bool formatChanging_ = false;
};

class TcxTextEditProperties : public TcxCustomTextEditProperties {
    RTL_CLASS(TcxTextEditProperties, TcxCustomTextEditProperties)
    using TcxCustomTextEditProperties::TcxCustomTextEditProperties;
};

// ---- view data and view info -------------------------------------------------------------------

class TcxCustomTextEditViewInfo : public TcxCustomEditViewInfo {
    RTL_CLASS(TcxCustomTextEditViewInfo, TcxCustomEditViewInfo)
    TcxCustomTextEditViewInfo() = default;
    ~TcxCustomTextEditViewInfo() override = default;
    void InternalPaint(TcxCanvas* canvas) override;
    void Offset(int dx, int dy) override;
    bool NeedShowHint(TcxCanvas* canvas, const TPoint& p, const TRect& visibleBounds, std::string& text,
                      bool& isMultiLine, TRect& textRect) override;
    virtual void DrawText(TcxCanvas* canvas);

    bool ComboBoxStyle = false;
    bool DrawSelectionBar = false;
    unsigned DrawTextFlags = 0;
    TcxEditEditingStyle EditingStyle = esEdit;
    bool HasPopupWindow = false;
    bool IsEditClass = false;
    int MaxLineCount = 0;
    int SelStart = 0;
    int SelLength = 0;
    TColor SelTextColor = clDefault;
    TColor SelBackgroundColor = clDefault;
    std::u16string Text;
    TRect TextRect;

    // The text-out cache: rows are made once per calculation and only drawn afterwards.
    struct TextOutData {
        bool Initialized = false;
        bool ForceEndEllipsis = false;
        int RowCount = 0;
        int SelStart = 0, SelLength = 0;
        TColor SelBackgroundColor = clDefault, SelTextColor = clDefault;
        TcxTextParams Params;
        TRect Rect;
        TcxTextRows Rows;
    } TextOut;
    void ResetTextOut() { TextOut.Initialized = false; }
    // How many times any text view info laid its text out into rows (for measuring the cache).
    static int& LayoutCount();
};

class TcxCustomTextEditViewData : public TcxCustomEditViewData {
    RTL_CLASS(TcxCustomTextEditViewData, TcxCustomEditViewData)
    using TcxCustomEditViewData::TcxCustomEditViewData;
    void Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button,
                   TShiftState shift, TcxCustomEditViewInfo* viewInfo, bool isMouseEvent) override;
    void EditValueToDrawValue(TcxCanvas* canvas, const Variant& value, TcxCustomEditViewInfo* viewInfo) override;
    virtual void DisplayValueToDrawValue(const Variant& displayValue, TcxCustomEditViewInfo* viewInfo);
    virtual unsigned GetDrawTextFlags();
    virtual TRect GetDrawTextOffset();
    virtual bool GetIsEditClass();
    virtual int GetMaxLineCount() { return MaxLineCount; }
    virtual bool IsComboBoxStyle() { return false; }
    virtual void PrepareDrawTextFlags(TcxCanvas* canvas, TcxCustomEditViewInfo* viewInfo);
    void PrepareSelection(TcxCustomEditViewInfo* viewInfo);
    void InitCacheData() override;
    TcxCustomTextEditProperties* TextProperties() const
    {
        return static_cast<TcxCustomTextEditProperties*>(Properties());
    }

    int MaxLineCount = 0;
    int SelStart = 0;
    int SelLength = 0;
    TColor SelTextColor = clDefault;
    TColor SelBackgroundColor = clDefault;
    bool ShowNoText = false;

protected:
    std::string InternalEditValueToDisplayText(const Variant& value) override;
    TSize InternalGetEditContentSize(TcxCanvas* canvas, const Variant& value,
                                     const TcxEditSizeProperties& sizeProperties) override;

private:
    bool valueFormatting_ = false;
};

TRect GetTextEditDrawTextOffset(TcxCustomEditViewData* viewData);
TRect GetTextEditDrawTextOffset(TAlignment alignment, bool isInplace);
TSize GetTextEditContentSize(TcxCanvas* canvas, TcxCustomEditViewData* viewData, const std::string& text,
                             unsigned drawTextFlags, const TcxEditSizeProperties& sizeProperties, int lineCount,
                             bool correctWidth);
void DrawTextEdit(TcxCanvas* canvas, TcxCustomTextEditViewInfo* viewInfo);
void DrawEditText(TcxCanvas* canvas, TcxCustomTextEditViewInfo* viewInfo);

// ---- lookup data -------------------------------------------------------------------------------

// Finds the item a typed prefix completes and moves the current item; its key is an item index.
class TcxCustomTextEditLookupData : public TObject {
    RTL_CLASS(TcxCustomTextEditLookupData, TObject)
    explicit TcxCustomTextEditLookupData(TcxCustomTextEdit* owner) : owner_(owner) {}

    virtual void GetItem(int index, std::string& text);
    virtual int GetItemCount();
    bool Find(const std::string& text);
    bool Locate(std::string& text, std::string& tail, bool next);
    void Go(TcxEditLookupDataGoDirection direction, bool circular);
    Variant GetCurrentKey() const { return Variant(currentKey_); }
    void SetCurrentKey(const Variant& key);
    int CurrentKey() const { return currentKey_; }
    int ListItemIndex() const { return listItemIndex_; }
    void GetDisplayText(const Variant& key, std::string& text);
    bool IsEmpty() { return GetItemCount() == 0; }
    virtual void TextChanged();
    virtual void PropertiesChanged() { ListChanged(); }
    TcxCustomTextEdit* Edit() const { return owner_; }
    TcxCustomTextEditProperties* ActiveProperties();

    // --- the visible list of a drop-down (none for the plain text editor)
    virtual TcxCustomEditListBoxClass GetListBoxClass() const { return {}; }
    // Takes the list box's item index as the highlighted item.
    virtual void HandleSelectItem(TObject* sender);
    virtual void ListChanged();
    // May adjust the size the user asks for the list; false keeps the old size.
    virtual bool CanResizeVisualArea(TSize& size, int maxHeight, int maxWidth) { return true; }
    virtual void DropDown() {}
    virtual void DroppedDown(const std::string&) {}
    virtual TSize GetVisualAreaPreferredSize(int maxHeight, int width) { return {0, 0}; }
    // Makes the list box (once) inside `parent` and fills it.
    virtual void Initialize(TWinControl* parent);
    virtual void PositionVisualArea(const TRect& clientRect);
    void Deinitialize() {}
    // The highlighted item becomes the current one (the choice of a closing list).
    void SelectItem();
    // The highlighted item goes back to the current one.
    void CloseUp();
    // Moves the highlight only while the list is shown, else the current item.
    void SetItemIndex(int index);
    TWinControl* GetActiveControl() const;
    bool IsMouseOverList(const TPoint& screenPos) const;
    TcxCustomEditListBox* List() const { return list_; }
    bool ListVisible() const;

    TNotifyEvent OnCurrentKeyChanged;
    TNotifyEvent OnSelectItem;

protected:
    virtual bool InternalLocate(std::string& text, std::string& tail, bool next, bool exact);
    void InternalSetCurrentKey(int index);
    void InternalSetItemIndex(int index);
    void DoSelectItem();

private:
    TcxCustomTextEdit* owner_;
    int currentKey_ = -1;
    int listItemIndex_ = -1;
    TcxCustomEditListBox* list_ = nullptr;
    std::weak_ptr<bool> listAlive_;
};

// The list a drop-down shows: hot-tracked, borderless, owner-drawn; its entries are placeholders
// and the texts come from GetItem (the lookup data's items in the editors' lists).
class TcxCustomEditListBox : public TcxCustomInnerListBox {
    RTL_CLASS(TcxCustomEditListBox, TcxCustomInnerListBox)
    explicit TcxCustomEditListBox(TComponent* owner);

    // The editor whose popup owns the list (none when the list stands alone).
    TcxCustomTextEdit* Edit() const { return edit_; }
    void SetEdit(TcxCustomTextEdit* value) { edit_ = value; }
    virtual bool DoDrawItem(int index, const TRect& rect, TOwnerDrawState state) { return false; }
    virtual void GetItem(int index, std::string& text);
    virtual void RecreateWindow() {}
    virtual int GetHeight(int rowCount, int maxHeight);
    virtual int GetItemHeight(int index = -1);
    virtual int GetItemWidth(int index);
    bool NeedDrawFocusRect() const override;
    // The list of a popup that leaves the focus in the editor never takes it.
    bool CanFocus() const override;
    // Selects and tells the lookup data (the select-item notice).
    void SetItemIndex(int index);
    void SetItemCount(int count);
    void SetScrollWidth(int value);
    bool IsVisible() const { return HandleAllocated() && Showing(); }
    TNotifyEvent OnSelectItem;

protected:
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void Click() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void DoSelectItem();

private:
    TcxCustomTextEdit* edit_ = nullptr;
};

// ---- the inner edit ----------------------------------------------------------------------------

class TcxCustomInnerTextEdit;

// What the editor asks of its inner text edit.
class IcxInnerTextEdit : public IcxCustomInnerEdit {
public:
    virtual void ClearSelection() = 0;
    virtual void CopyToClipboard() = 0;
    virtual TAlignment GetAlignment() = 0;
    virtual void SetAlignment(TAlignment value) = 0;
    virtual bool GetAutoSelect() = 0;
    virtual void SetAutoSelect(bool value) = 0;
    virtual TEditCharCase GetCharCase() = 0;
    virtual void SetCharCase(TEditCharCase value) = 0;
    virtual TcxEditEchoMode GetEchoMode() = 0;
    virtual void SetEchoMode(TcxEditEchoMode value) = 0;
    virtual int GetFirstVisibleCharIndex() = 0;
    virtual bool GetHideSelection() = 0;
    virtual void SetHideSelection(bool value) = 0;
    virtual char16_t GetImeLastChar() = 0;
    virtual bool GetInternalUpdating() = 0;
    virtual void SetInternalUpdating(bool value) = 0;
    virtual int GetMaxLength() = 0;
    virtual void SetMaxLength(int value) = 0;
    virtual bool GetMultiLine() = 0;
    virtual char16_t GetPasswordChar() = 0;
    virtual void SetPasswordChar(char16_t value) = 0;
    virtual int GetSelLength() = 0;
    virtual void SetSelLength(int value) = 0;
    virtual int GetSelStart() = 0;
    virtual void SetSelStart(int value) = 0;
    virtual std::string GetSelText() = 0;
    virtual void SetSelText(const std::string& value) = 0;
    virtual void SelectAll() = 0;
    virtual TNotifyEvent GetOnSelChange() = 0;
    virtual void SetOnSelChange(TNotifyEvent value) = 0;
};

// What the single-line field and the memo's field answer alike: the editor's questions forwarded
// to the platform edit underneath. The helpers below add what differs (alignment, echo, password,
// lines).
template <class Field>
class TcxInnerTextEditAdapter : public IcxInnerTextEdit {
public:
    explicit TcxInnerTextEditAdapter(Field* field) : field_(field) {}
    TWinControl* GetControl() override { return field_; }
    TcxContainer* GetControlContainer() override { return field_->Container(); }
    void CallDefWndProc(TMessage& message) override { field_->DefWndProc(message); }
    Variant GetEditValue() override { return Variant(field_->Text()); }
    void SetEditValue(const Variant& value) override
    {
        const std::string text = VarToStr(value);
        if (text != field_->Text())
            field_->SetText(text);
    }
    TNotifyEvent GetOnChange() override { return field_->OnChange; }
    void SetOnChange(TNotifyEvent value) override { field_->OnChange = value; }
    bool GetReadOnly() override { return field_->ReadOnly(); }
    void SetReadOnly(bool value) override { field_->SetReadOnly(value); }
    void LockBounds(bool lock) override { field_->LockBounds(lock); }
    // Focused without selecting everything on the way in.
    void SafelySetFocus() override
    {
        const bool autoSelect = field_->AutoSelect;
        field_->AutoSelect = false;
        if (field_->CanFocus())
            field_->SetFocus();
        field_->AutoSelect = autoSelect;
    }
    void SetParent(TWinControl* value) override { field_->SetParent(value); }
    void ClearSelection() override { field_->ClearSelection(); }
    void CopyToClipboard() override { field_->CopyToClipboard(); }
    bool GetAutoSelect() override { return field_->AutoSelect; }
    void SetAutoSelect(bool value) override { field_->AutoSelect = value; }
    TEditCharCase GetCharCase() override { return field_->CharCase(); }
    void SetCharCase(TEditCharCase value) override { field_->SetCharCase(value); }
    bool GetHideSelection() override { return field_->HideSelection; }
    void SetHideSelection(bool value) override { field_->HideSelection = value; }
    char16_t GetImeLastChar() override { return 0; }
    bool GetInternalUpdating() override { return field_->InternalUpdating; }
    void SetInternalUpdating(bool value) override { field_->InternalUpdating = value; }
    int GetMaxLength() override { return field_->MaxLength(); }
    void SetMaxLength(int value) override { field_->SetMaxLength(value); }
    int GetSelLength() override { return field_->SelLength(); }
    void SetSelLength(int value) override
    {
        if (field_->HandleAllocated())
            field_->SetSelLength(value);
    }
    int GetSelStart() override { return field_->SelStart(); }
    void SetSelStart(int value) override
    {
        if (field_->HandleAllocated())
            field_->SetSelStart(value);
    }
    std::string GetSelText() override { return field_->SelText(); }
    void SetSelText(const std::string& value) override { field_->SetSelText(value); }
    void SelectAll() override
    {
        if (field_->HandleAllocated())
            field_->SelectAll();
    }
    TNotifyEvent GetOnSelChange() override { return field_->OnSelChange; }
    void SetOnSelChange(TNotifyEvent value) override { field_->OnSelChange = value; }

protected:
    Field* field_;
};

class TcxCustomInnerTextEditHelper : public TcxInnerTextEditAdapter<TcxCustomInnerTextEdit> {
public:
    using TcxInnerTextEditAdapter::TcxInnerTextEditAdapter;
    TAlignment GetAlignment() override;
    void SetAlignment(TAlignment value) override;
    TcxEditEchoMode GetEchoMode() override;
    void SetEchoMode(TcxEditEchoMode value) override;
    int GetFirstVisibleCharIndex() override;
    bool GetMultiLine() override { return false; }
    char16_t GetPasswordChar() override;
    void SetPasswordChar(char16_t value) override;

private:
    bool alignmentLock_ = false;
};

// The single-line field: a platform edit (a line edit underneath) whose container hears every
// input path first; the field acts only on what the container leaves.
class TcxCustomInnerTextEdit : public TcxInnerControlMouseForwarder<TCustomEdit, TcxCustomInnerTextEdit>,
                               public IcxInnerEditHelper {
    RTL_CLASS(TcxCustomInnerTextEdit, TCustomEdit)
    explicit TcxCustomInnerTextEdit(TComponent* owner);
    ~TcxCustomInnerTextEdit() override;
    IcxCustomInnerEdit* GetHelper() override { return &helper_; }
    TcxCustomTextEdit* Container() const;
    TcxCustomInnerTextEditHelper* Helper() { return &helper_; }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TcxEditEchoMode EchoMode() const { return echoMode_; }
    void SetEchoMode(TcxEditEchoMode value);
    char16_t EditPasswordChar() const { return editPasswordChar_; }
    void SetEditPasswordChar(char16_t value);
    bool InternalUpdating = false;
    TNotifyEvent OnSelChange;
    // The caret's character index (UTF-16 units).
    int GetCursorPos() const;
    void SetBounds(int left, int top, int width, int height) override;
    void LockBounds(bool lock);
    bool CanFocus() const override;
    // The edit window's own handling, past the editor.
    void DefWndProc(TMessage& msg) { TCustomEdit::DefaultHandler(msg); }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& msg) override;
    void DefaultHandler(TMessage& msg) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;

public:
    // A drop of another edit's selected text inserts it where it lands, as the user's change.
    void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
    void DragDrop(TObject* source, int x, int y) override;

private:
    bool NeedAdjustAlignment() const;
    void UpdatePasswordChar();
    void AdjustMargins();
    TcxCustomInnerTextEditHelper helper_{this};
    TAlignment alignment_ = taLeftJustify;
    TcxEditEchoMode echoMode_ = eemNormal;
    char16_t editPasswordChar_ = 0;
    bool constructing_ = true;
    int boundsLock_ = 0;
};

// Input routing every field of the text family shares: the clipboard messages, undo, input-method
// compositions, the middle-button paste and the release of the mouse after a right or middle
// press go to the editor (`inherited` is the field's own handling). Answers whether the message
// was taken. A drop of another edit's selected text is the user's insert at the drop point.
bool RouteFieldInput(TcxCustomTextEdit* editor, TCustomEdit* field, TMessage& m,
                     const std::function<void(TMessage&)>& inherited);
// The typing messages every field answers alike: a typed character (the lookup data follow what
// it changed), a replaced selection (refused while the focused editor refuses editing) and a set
// selection (told to OnSelChange). Answers whether the message was one of them.
bool RouteFieldTyping(TcxCustomTextEdit* editor, IcxInnerTextEdit* field, TMessage& m,
                      const std::function<void(TMessage&)>& inherited);
bool AcceptsTextDrop(TCustomEdit* field, TObject* source);
void DropTextInto(TcxCustomTextEdit* editor, TCustomEdit* field, TObject* source, int x, int y);

// Saved text and selection of an inner edit, to tell whether a message changed them.
struct TcxCustomInnerTextEditPrevState {
    bool IsTextSaved = false;
    std::string Text;
    int SelStart = 0;
    int SelLength = 0;
};
void SaveTextEditState(IcxInnerTextEdit* edit, bool saveText, TcxCustomInnerTextEditPrevState& state);
bool CheckTextEditState(IcxInnerTextEdit* edit, const TcxCustomInnerTextEditPrevState& state);

// ---- the editor control ------------------------------------------------------------------------

class TcxCustomTextEdit : public TcxCustomEdit, public IcxFormatControllerListener {
    RTL_CLASS(TcxCustomTextEdit, TcxCustomEdit)
    explicit TcxCustomTextEdit(TComponent* owner, bool isInplace = false);
    ~TcxCustomTextEdit() override;
    void BeforeDestruction() override;

    TcxCustomTextEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomTextEditProperties*>(TcxCustomEdit::ActiveProperties());
    }
    TcxCustomTextEditProperties* Properties() const
    {
        return static_cast<TcxCustomTextEditProperties*>(TcxCustomEdit::Properties());
    }
    IcxInnerTextEdit* InnerTextEdit() const { return static_cast<IcxInnerTextEdit*>(InnerEdit()); }
    TcxCustomInnerTextEdit* InnerTextEditControl() const;
    TcxCustomTextEditLookupData* LookupData() const { return lookupData_; }

    // --- text and selection
    // The Text property: the shown text here; a masked kind answers the mask's form of it.
    virtual std::string Text();
    void SetText(const std::string& value);
    int SelStart();
    void SetSelStart(int value);
    int SelLength();
    void SetSelLength(int value);
    std::string SelText();
    virtual void SetSelText(const std::string& value);
    void SetSelection(int start, int length);
    void SelectAll() override;
    int GetCursorPos();
    virtual bool CanChangeSelText(const std::string& value, std::string& newText, int& newCaret);
    virtual void SetEditingText(const std::string& value);
    virtual void ClearSelection();
    virtual void Undo() { Reset(); }
    virtual void UndoPerformed() {}
    bool BeepOnEnter = true;
    bool FindSelection() const { return findSelection_; }
    void SetFindSelection(bool value);

    // --- clipboard
    void CopyToClipboard() override;
    void CutToClipboard() override;
    void PasteFromClipboard() override;

    // --- values
    Variant GetDisplayValue() override;
    void PrepareEditValue(const Variant& displayValue, Variant& editValue, bool editFocused) override;
    Variant InternalGetEditingValue() override;
    void SynchronizeDisplayValue() override;
    void SynchronizeEditValue() override;
    void InternalSetDisplayValue(const Variant& value) override;
    void SetInternalDisplayValue(const Variant& value) override;
    bool SetDisplayText(const std::string& value) override;
    void UpdateDrawValue() override;
    virtual void UpdateDisplayValue();
    virtual void ResetOnNewDisplayValue();
    virtual bool NeedResetInvalidTextWhenPropertiesChanged();
    virtual void CheckEditValue();
    void InternalValidateDisplayValue(const Variant& displayValue) override;
    void FormatChanged() override;

    // --- lookup items
    int ItemIndex();
    void SetItemIndex(int value);
    virtual void HandleSelectItem(TObject* sender);
    virtual bool GetScrollLookupDataList(TcxEditScrollCause) { return false; }
    virtual void DoOnNewLookupDisplayText(const std::string& text);
    void LockLookupDataTextChanged() { lookupTextChangeLock_ = true; }
    void UnlockLookupDataTextChanged() { lookupTextChangeLock_ = false; }
    bool LookupDataTextChangedLocked() const { return lookupTextChangeLock_; }

    // --- kind
    bool IsEditClass() const override;
    bool WantNavigationKeys() const override { return true; }
    bool CanKeyDownModifyEdit(std::uint16_t key, TShiftState shift) override;
    bool CanKeyPressModifyEdit(char16_t key) override;
    bool IsValidChar(char16_t key) override;
    bool InternalDoEditing() override;
    void PropertiesChanged(TObject* sender) override;
    void Activate(TcxCustomEditData*& editData) override;
    void AdjustInnerEditPosition() override;
    void FillSizeProperties(TcxEditSizeProperties& sizeProperties) override;
    void ChangeHandler(TObject* sender) override;
    virtual void SelChange(TObject*) {}
    // The field's left button went down or moved held, after the field placed its caret.
    virtual void FieldMouseSelection(bool dragging) {}
    // The kind's own view classes (the properties name them).
    TcxContainerViewInfoClass GetViewInfoClass() const override;
    TcxCustomEditViewData* CreateViewData() override;
    bool PopupClosedByKey = false;
    // Whether the display value is being written from the edit value (digit grouping asks).
    bool IsDisplayValueSynchronizing() const { return displayValueWriting_; }

protected:
    TcxCustomTextEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    void Initialize() override;
    void Dispatch(TMessage& msg) override;
    void DoEditKeyDown(std::uint16_t& key, TShiftState shift) override;
    void DoEditKeyPress(char16_t& key) override;
    void DoExit() override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void GetInnerControlBounds(const TRect& r, TControl* control, TcxContainerInnerControlBounds& bounds) const override;
    bool DoRefreshContainer(const TPoint& p, TcxMouseButton button, TShiftState shift, bool isMouseEvent) override;
    // The field takes the look the view info worked out for the active style: its background
    // colour, and the visible font in the view info's text colour (link colour, disabled grey...).
    virtual void AdjustInnerEdit();
    virtual int GetInnerEditHeight();
    void SeparateDigitGroups();

private:
    void Construct();
    bool IncrementalComplete(std::string& text, bool& found);
    void ScrollLookup(TcxEditLookupDataGoDirection direction);
    void ApplyInnerEditSettings();
    std::string InternalGetText();
    TcxCustomTextEditLookupData* lookupData_ = nullptr;
    bool findSelection_ = false;
    bool lookupTextChangeLock_ = false;
    bool displayValueWriting_ = false;
    bool lookupScrolling_ = false;
    bool adjustingInnerEdit_ = false;
    bool inSetText_ = false;
    std::string savedText_;
};

class TcxTextEdit : public TcxCustomTextEdit {
    RTL_CLASS(TcxTextEdit, TcxCustomTextEdit)
    explicit TcxTextEdit(TComponent* owner, bool isInplace = false);
    TcxTextEditProperties* Properties() const
    {
        return static_cast<TcxTextEditProperties*>(TcxCustomTextEdit::Properties());
    }
};

// ---- filter helper and unit start-up -------------------------------------------------------------

class TcxFilterTextEditHelper : public TcxCustomFilterEditHelper {
    RTL_CLASS(TcxFilterTextEditHelper, TcxCustomFilterEditHelper)
    TcxCustomEditClass GetFilterEditClass() const override;
    TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const override;
    void InitializeProperties(TcxCustomEditProperties* properties, TcxCustomEditProperties* editProperties,
                              bool hasButtons) const override;
    void SetFilterValue(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties,
                        const Variant& value) const override;
};

namespace cxTextEditUnit {
void Initialize();   // once: the properties class, the filter helper pair, the two window messages
void Finalize();
UINT RedrawMisspellingsMessage();
UINT SpellCheckerAutoCorrectMessage();
} // namespace cxTextEditUnit

} // namespace cx
