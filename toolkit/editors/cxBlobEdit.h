#pragma once
// The BLOB editor: large values (long text, pictures, OLE objects, raw data). A cell shows an icon
// per kind (empty or filled), a fixed word such as "(MEMO)" or the first line of the text; the
// drop-down opens a memo or a picture editor with OK and Cancel (or Close) buttons in the popup's
// system panel. The value is written back when the popup closes with OK, or, with
// `AlwaysSaveData`, on every closing that is not a cancel.
#include "toolkit/editors/cxButtons.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxImage.h"
#include "toolkit/editors/cxMemo.h"

namespace cx {

enum TcxBlobEditKind { bekAuto, bekMemo, bekPict, bekOle, bekBlob };
enum TcxBlobPaintStyle { bpsDefault, bpsIcon, bpsText };

class TcxCustomBlobEdit;
using TcxImageAssignPictureEvent = Event<void(TObject* sender, TPicture* picture)>;

// The eight cell icons, 18 by 16 pixels, drawn in code: per kind (BLOB, memo, picture, OLE) the
// empty one and then the filled one.
TCustomImageList* cxBlobEditImages();

class TcxCustomBlobEditProperties : public TcxCustomPopupEditProperties {
    RTL_CLASS(TcxCustomBlobEditProperties, TcxCustomPopupEditProperties)
    explicit TcxCustomBlobEditProperties(TPersistent* owner);
    void Assign(TPersistent* source) override;

    bool AlwaysSaveData() const { return alwaysSaveData_; }
    void SetAlwaysSaveData(bool value) { alwaysSaveData_ = value; }
    TcxBlobEditKind BlobEditKind() const { return blobEditKind_; }
    void SetBlobEditKind(TcxBlobEditKind value);
    TcxBlobPaintStyle BlobPaintStyle() const { return blobPaintStyle_; }
    void SetBlobPaintStyle(TcxBlobPaintStyle value) { SetFlagValue(blobPaintStyle_, value); }
    bool MemoAutoReplace() const { return memoAutoReplace_; }
    void SetMemoAutoReplace(bool value) { memoAutoReplace_ = value; }
    TEditCharCase MemoCharCase() const { return memoCharCase_; }
    void SetMemoCharCase(TEditCharCase value) { memoCharCase_ = value; }
    int MemoMaxLength() const { return memoMaxLength_; }
    void SetMemoMaxLength(int value) { memoMaxLength_ = value; }
    bool MemoOEMConvert() const { return memoOEMConvert_; }
    void SetMemoOEMConvert(bool value) { memoOEMConvert_ = value; }
    TScrollStyle MemoScrollBars() const { return memoScrollBars_; }
    void SetMemoScrollBars(TScrollStyle value) { memoScrollBars_ = value; }
    bool MemoWantReturns() const { return memoWantReturns_; }
    void SetMemoWantReturns(bool value) { memoWantReturns_ = value; }
    bool MemoWantTabs() const { return memoWantTabs_; }
    void SetMemoWantTabs(bool value) { memoWantTabs_ = value; }
    bool MemoWordWrap() const { return memoWordWrap_; }
    void SetMemoWordWrap(bool value) { memoWordWrap_ = value; }
    bool PictureAutoSize() const { return pictureAutoSize_; }
    void SetPictureAutoSize(bool value) { pictureAutoSize_ = value; }
    const std::string& PictureFilter() const { return pictureFilter_; }
    void SetPictureFilter(const std::string& value) { pictureFilter_ = value; }
    TGraphicClass PictureGraphicClass() const { return pictureGraphicClass_; }
    void SetPictureGraphicClass(TGraphicClass value);
    // An unknown name changes nothing; an empty one clears the class.
    std::string PictureGraphicClassName() const;
    void SetPictureGraphicClassName(const std::string& value);
    bool IsPictureGraphicClassNameStored() const { return pictureGraphicClass_ != GetDefaultPictureGraphicClass(); }
    TcxImageTransparency PictureTransparency() const { return pictureTransparency_; }
    void SetPictureTransparency(TcxImageTransparency value) { pictureTransparency_ = value; }
    bool ShowExPopupItems() const { return showExPopupItems_; }
    void SetShowExPopupItems(bool value) { showExPopupItems_ = value; }
    bool ShowPicturePopup() const { return showPicturePopup_; }
    void SetShowPicturePopup(bool value) { showPicturePopup_ = value; }
    TcxImageAssignPictureEvent OnAssignPicture;
    TcxImageGraphicClassEvent OnGetGraphicClass;

    // The first registered graphic class, or none.
    virtual TGraphicClass GetDefaultPictureGraphicClass() const;
    // bekAuto becomes the kind of the bound data (bekBlob without data), without a change notice.
    void CorrectBlobEditKind();
    // The cell text of a value (see the paint styles); fullText gives a memo's whole text.
    std::string GetBlobText(const Variant& value, bool fullText = false);
    // The icon of a value: 2 for memo, 4 picture, 6 OLE, 0 BLOB, plus 1 unless the value is empty.
    int GetImageIndex(const Variant& value);

    bool CanValidate() const override { return blobEditKind_ == bekMemo; }
    bool DropDownOnClick() const override { return true; }
    bool HasDisplayValue() const override { return false; }
    bool IsEditValueValid(Variant&, bool) override { return true; }
    std::u16string GetDisplayText(const Variant& editValue, bool fullText = false, bool isInplace = true) override;
    bool CompareDisplayValues(const Variant& v1, const Variant& v2) override;
    TcxEditSpecialFeatures GetSpecialFeatures() const override;
    TcxDataEditValueSource GetEditValueSource(bool editFocused) override;
    TcxCustomEditPopupWindowClass GetPopupWindowClass() const override;
    TcxCustomEditViewDataClass GetViewDataClass() const override;
    TcxCustomEditViewInfoClass GetViewInfoClass() const override;
    const TClassMeta* GetContainerClass() const override;

private:
    template <class T>
    void SetFlagValue(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    bool alwaysSaveData_ = true;
    TcxBlobEditKind blobEditKind_ = bekAuto;
    TcxBlobPaintStyle blobPaintStyle_ = bpsIcon;
    bool memoAutoReplace_ = false;
    TEditCharCase memoCharCase_ = ecNormal;
    int memoMaxLength_ = 0;
    bool memoOEMConvert_ = false;
    TScrollStyle memoScrollBars_ = ssNone;
    bool memoWantReturns_ = true;
    bool memoWantTabs_ = true;
    bool memoWordWrap_ = true;
    bool pictureAutoSize_ = true;
    std::string pictureFilter_;
    TGraphicClass pictureGraphicClass_;
    TcxImageTransparency pictureTransparency_ = gtDefault;
    bool showExPopupItems_ = true;
    bool showPicturePopup_ = true;
};

class TcxBlobEditProperties : public TcxCustomBlobEditProperties {
    RTL_CLASS(TcxBlobEditProperties, TcxCustomBlobEditProperties)
    using TcxCustomBlobEditProperties::TcxCustomBlobEditProperties;
};

// The cell: an icon centred in the client area, or a text.
class TcxBlobEditViewInfo : public TcxCustomTextEditViewInfo {
    RTL_CLASS(TcxBlobEditViewInfo, TcxCustomTextEditViewInfo)
    void InternalPaint(TcxCanvas* canvas) override;
    void Offset(int dx, int dy) override;
    TRect IconRect;
    int ImageIndex = -1;
};

class TcxBlobEditViewData : public TcxCustomDropDownEditViewData {
    RTL_CLASS(TcxBlobEditViewData, TcxCustomDropDownEditViewData)
    using TcxCustomDropDownEditViewData::TcxCustomDropDownEditViewData;
    void Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button,
                   TShiftState shift, TcxCustomEditViewInfo* viewInfo, bool isMouseEvent) override;
    void EditValueToDrawValue(TcxCanvas* canvas, const Variant& value, TcxCustomEditViewInfo* viewInfo) override;
    // The editor shows its edit value, whatever an open popup memo holds: the icon, the word or
    // the first line of what was stored.
    void DisplayValueToDrawValue(const Variant& displayValue, TcxCustomEditViewInfo* viewInfo) override;
};

// A character typed while the popup opens goes to the memo by MemoAutoReplace.
class TcxBlobEditPopupWindow : public TcxPopupEditPopupWindow {
    RTL_CLASS(TcxBlobEditPopupWindow, TcxPopupEditPopupWindow)
    using TcxPopupEditPopupWindow::TcxPopupEditPopupWindow;
    void DoPopupControlKey(char16_t key) override;
};

// The memo and the picture inside the popup: their closing keys go to the BLOB editor.
class TcxPopupMemo : public TcxMemo {
    RTL_CLASS(TcxPopupMemo, TcxMemo)
    TcxPopupMemo(TComponent* owner, TcxCustomBlobEdit* blob);
    TcxCustomBlobEdit* BlobEdit() const { return blob_; }
    void SpellCheckerSetValue(const Variant& value) override;

protected:
    void DoEditKeyDown(std::uint16_t& key, TShiftState shift) override;

private:
    TcxCustomBlobEdit* blob_;
};

class TcxPopupImage : public TcxImage {
    RTL_CLASS(TcxPopupImage, TcxImage)
    TcxPopupImage(TComponent* owner, TcxCustomBlobEdit* blob);
    TcxCustomBlobEdit* BlobEdit() const { return blob_; }
    // The BLOB editor decides the class pictures are read and pasted with.
    TGraphicClass GetGraphicClass(bool pastingFromClipboard = false) override;

protected:
    void KeyDown(std::uint16_t& key, TShiftState shift) override;

private:
    TcxCustomBlobEdit* blob_;
};

// Where the Cancel (or Close) and OK buttons go in the system panel, from the sizing grip (window
// coordinates). They keep to the grip's side when the window is sized: the placement runs again.
struct TcxBlobButtonsLayout {
    TRect Cancel;
    TRect OK;   // empty without an OK button
};
TcxBlobButtonsLayout cxBlobCalcButtons(const TRect& grip, TcxEditCorner corner, int windowWidth, int buttonWidth,
                                       int buttonHeight, int minSysPanelHeight, bool hasOK);

class TcxCustomBlobEdit : public TcxCustomPopupEdit {
    RTL_CLASS(TcxCustomBlobEdit, TcxCustomPopupEdit)
    explicit TcxCustomBlobEdit(TComponent* owner, bool isInplace = false);
    ~TcxCustomBlobEdit() override;
    void BeforeDestruction() override;
    TcxCustomBlobEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomBlobEditProperties*>(TcxCustomPopupEdit::ActiveProperties());
    }
    TcxCustomBlobEditProperties* Properties() const
    {
        return static_cast<TcxCustomBlobEditProperties*>(TcxCustomPopupEdit::Properties());
    }

    TcxCustomEdit* PopupControl() const { return popupControl_; }
    TcxButton* CancelButton() const { return cancelButton_; }
    TcxButton* OKButton() const { return okButton_; }
    int ButtonWidth() const { return buttonWidth_; }
    int ButtonHeight() const { return buttonHeight_; }
    // The class of the picture last stored.
    TGraphicClass StoredGraphicClass() const { return storedGraphicClass_; }
    // The class a picture is read or pasted with (see the properties' class and the events).
    TGraphicClass GetGraphicClass(bool pastingFromClipboard);
    TcxImageEditGraphicClassEvent OnGetGraphicClass;

    // A key inside the popup control: the closing keys set the popup's result and close it.
    // Answers whether the key was eaten.
    bool HandleBlobPopupKey(std::uint16_t key, TShiftState shift);
    // The result a key inside the popup closes it with; mrNone for a key it does not close on.
    TModalResult BlobPopupKeyResult(std::uint16_t key, TShiftState shift);
    // Closes the popup with a result: mrOk stores, mrCancel never does.
    void ClosePopupWith(TModalResult result);

    std::string Text() override;
    bool SetDisplayText(const std::string& value) override;
    Variant GetDisplayValue() override;
    Variant InternalGetEditingValue() override;
    bool IsEditClass() const override { return false; }
    // The field keeps the focus and the keys but takes no room: the cell paints the icon or word.
    void AdjustInnerEditPosition() override;
    TSize GetPopupWindowClientPreferredSize() override;
    void PositionPopupWindowChilds(const TRect& clientRect) override;
    bool PopupControlClosesOnKey(std::uint16_t key, TShiftState shift) override;
    void PopupWindowShowed(TObject* sender) override;
    void PopupWindowClosed(TObject* sender) override;

protected:
    TcxCustomBlobEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    bool CanDropDown() override;
    void CreatePopupWindow() override;
    void DoInitPopup() override;
    void SetupPopupWindow() override;
    TcxContainerViewInfoClass GetViewInfoClass() const override;

public:
    // A character sent to the popup while it opens (see MemoAutoReplace).
    void DoPopupControlChar(char16_t key);

protected:
    virtual void CreatePopupControls();
    virtual void DestroyPopupControls();

private:
    void Construct();
    void CreateButtons();
    void PlaceButtons();
    void SaveStorage();
    void PopupControlChanged(TObject* sender);
    bool PopupEditable();
    TcxCustomEdit* popupControl_ = nullptr;
    TcxButton* cancelButton_ = nullptr;
    TcxButton* okButton_ = nullptr;
    std::weak_ptr<bool> popupControlAlive_, cancelAlive_, okAlive_;
    int buttonWidth_ = 0;
    int buttonHeight_ = 0;
    bool popupModified_ = false;
    TGraphicClass storedGraphicClass_;
};

class TcxBlobEdit : public TcxCustomBlobEdit {
    RTL_CLASS(TcxBlobEdit, TcxCustomBlobEdit)
    explicit TcxBlobEdit(TComponent* owner, bool isInplace = false);
    TcxBlobEditProperties* Properties() const
    {
        return static_cast<TcxBlobEditProperties*>(TcxCustomBlobEdit::Properties());
    }
};

// Not registered by the unit's start-up.
class TcxFilterBlobEditHelper : public TcxFilterTextEditHelper {
    RTL_CLASS(TcxFilterBlobEditHelper, TcxFilterTextEditHelper)
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                          TcxValueTypeClass valueTypeClass,
                                                          bool extendedSet = false) const override;
};

namespace cxBlobEditUnit {
void Initialize();   // once: the icons and "BlobEdit|..." in the editor registry
void Finalize();
} // namespace cxBlobEditUnit

} // namespace cx
