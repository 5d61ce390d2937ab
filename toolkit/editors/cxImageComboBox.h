#pragma once
// The image combo box: a fixed-list combo box whose items are records (value, description, image
// index, tag). The edit value is the chosen item's value; the editor shows its image and
// description, a value that matches no item shows the default description and image.
#include "platform/vcl/ImgList.h"
#include "toolkit/editors/cxDropDownEdit.h"

namespace cx {

enum TcxImageAlign { iaLeft, iaRight };

class TcxCustomImageComboBoxProperties;

class TcxImageComboBoxItem : public TCollectionItem {
    RTL_CLASS(TcxImageComboBoxItem, TCollectionItem)
    explicit TcxImageComboBoxItem(TCollection* collection);
    void Assign(TPersistent* source) override;
    const std::string& Description() const { return description_; }
    void SetDescription(const std::string& value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    int Tag = 0;
    const Variant& Value() const { return value_; }
    void SetValue(const Variant& value);

private:
    std::string description_;
    int imageIndex_ = -1;
    Variant value_ = Variant::MakeNull();
};

class TcxImageComboBoxItems : public TOwnedCollection {
    RTL_CLASS(TcxImageComboBoxItems, TOwnedCollection)
    explicit TcxImageComboBoxItems(TcxCustomImageComboBoxProperties* owner);
    TcxImageComboBoxItem* Items(int index) const { return static_cast<TcxImageComboBoxItem*>(TCollection::Items(index)); }
    TcxImageComboBoxItem* Add();
    TcxCustomImageComboBoxProperties* Properties() const { return owner_; }

protected:
    void Update(TCollectionItem* item) override;

private:
    TcxCustomImageComboBoxProperties* owner_;
};

class TcxCustomImageComboBoxProperties : public TcxCustomComboBoxProperties {
    RTL_CLASS(TcxCustomImageComboBoxProperties, TcxCustomComboBoxProperties)
    explicit TcxCustomImageComboBoxProperties(TPersistent* owner);
    ~TcxCustomImageComboBoxProperties() override;
    void Assign(TPersistent* source) override;

    const std::string& DefaultDescription() const { return defaultDescription_; }
    void SetDefaultDescription(const std::string& value);
    int DefaultImageIndex() const { return defaultImageIndex_; }
    void SetDefaultImageIndex(int value);
    TcxImageAlign ImageAlign() const { return imageAlign_; }
    void SetImageAlign(TcxImageAlign value);
    // Watched: a change calls Changed, a destroyed list is dropped.
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    TCustomImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* value);
    TcxImageComboBoxItems* Items() const { return items_.get(); }
    bool MultiLineText() const { return multiLineText_; }
    void SetMultiLineText(bool value);
    bool ShowDescriptions() const { return showDescriptions_; }
    void SetShowDescriptions(bool value);

    // The first item whose value equals exactly (numbers compare by value); none otherwise.
    TcxImageComboBoxItem* FindItemByValue(const Variant& value) const;
    // The first item whose description equals the text ignoring case; none without descriptions.
    TcxImageComboBoxItem* FindItemByText(const std::string& text) const;
    virtual void InternalGetImageComboBoxDisplayValue(TcxImageComboBoxItem* item, std::string& text, bool always,
                                                      int& imageIndex) const;
    void GetImageComboBoxDisplayValue(const Variant& value, std::string& text, int& imageIndex) const;

    bool FindLookupText(const std::string& text) override { return FindItemByText(text) != nullptr; }
    void PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool editFocused) override;
    std::u16string GetDisplayText(const Variant& editValue, bool fullText = false, bool isInplace = true) override;
    bool HasDisplayValue() const override { return false; }
    bool IsEditValueValid(Variant&, bool) override { return true; }
    TcxDataEditValueSource GetEditValueSource(bool) override { return evsValue; }
    TcxEditDisplayFormatOptions GetDisplayFormatOptions() const override { return {}; }
    bool CompareDisplayValues(const Variant& v1, const Variant& v2) override;
    TcxEditSupportedOperations GetSupportedOperations() override;
    TcxCustomTextEditLookupDataClass GetLookupDataClass() const override;
    TcxCustomEditViewDataClass GetViewDataClass() const override;
    TcxCustomEditViewInfoClass GetViewInfoClass() const override;
    const TClassMeta* GetContainerClass() const override;

private:
    void ImagesChanged(TObject*) { Changed(); }
    void ListFreed(TComponent* component);
    std::string defaultDescription_;
    int defaultImageIndex_ = -1;
    TcxImageAlign imageAlign_ = iaLeft;
    TCustomImageList* images_ = nullptr;
    TCustomImageList* largeImages_ = nullptr;
    std::unique_ptr<TChangeLink> imagesLink_, largeImagesLink_;
    TcxFreeNotificator* notificator_ = nullptr;
    std::unique_ptr<TcxImageComboBoxItems> items_;
    bool multiLineText_ = false;
    bool showDescriptions_ = true;
};

class TcxImageComboBoxProperties : public TcxCustomImageComboBoxProperties {
    RTL_CLASS(TcxImageComboBoxProperties, TcxCustomImageComboBoxProperties)
    using TcxCustomImageComboBoxProperties::TcxCustomImageComboBoxProperties;
};

class TcxImageComboBoxLookupData : public TcxComboBoxLookupData {
    RTL_CLASS(TcxImageComboBoxLookupData, TcxComboBoxLookupData)
    using TcxComboBoxLookupData::TcxComboBoxLookupData;
    void GetItem(int index, std::string& text) override;
    int GetItemCount() override;
    TcxCustomEditListBoxClass GetListBoxClass() const override;
    // The list follows the edit value, not the text.
    void TextChanged() override;
};

class TcxImageComboBoxListBox : public TcxComboBoxListBox {
    RTL_CLASS(TcxImageComboBoxListBox, TcxComboBoxListBox)
    explicit TcxImageComboBoxListBox(TComponent* owner);
    TcxCustomImageComboBoxProperties* ImageProperties() const;
    TCustomImageList* ListImages() const;
    int GetItemHeight(int index = -1) override;
    int GetItemWidth(int index) override;
    int GetMaxItemWidth();
    void RecreateWindow() override;

protected:
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
};

class TcxImageComboBoxViewInfo : public TcxCustomTextEditViewInfo {
    RTL_CLASS(TcxImageComboBoxViewInfo, TcxCustomTextEditViewInfo)
    void InternalPaint(TcxCanvas* canvas) override;
    void Offset(int dx, int dy) override;
    TRect ImageRect;
    bool ShowDescriptions = true;
    TcxImageAlign ImageAlign = iaLeft;
    int ImageIndex = -1;
    TCustomImageList* Images = nullptr;
};

class TcxImageComboBoxViewData : public TcxCustomDropDownEditViewData {
    RTL_CLASS(TcxImageComboBoxViewData, TcxCustomDropDownEditViewData)
    using TcxCustomDropDownEditViewData::TcxCustomDropDownEditViewData;
    void Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button,
                   TShiftState shift, TcxCustomEditViewInfo* viewInfo, bool isMouseEvent) override;
    void EditValueToDrawValue(TcxCanvas* canvas, const Variant& value, TcxCustomEditViewInfo* viewInfo) override;
    void DisplayValueToDrawValue(const Variant& displayValue, TcxCustomEditViewInfo* viewInfo) override;
    TcxCustomImageComboBoxProperties* ImageProperties() const
    {
        return static_cast<TcxCustomImageComboBoxProperties*>(Properties());
    }
};

class TcxCustomImageComboBox : public TcxCustomComboBox {
    RTL_CLASS(TcxCustomImageComboBox, TcxCustomComboBox)
    explicit TcxCustomImageComboBox(TComponent* owner, bool isInplace = false);
    TcxCustomImageComboBoxProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomImageComboBoxProperties*>(TcxCustomComboBox::ActiveProperties());
    }
    TcxCustomImageComboBoxProperties* Properties() const
    {
        return static_cast<TcxCustomImageComboBoxProperties*>(TcxCustomComboBox::Properties());
    }
    bool IsValidChar(char16_t key) override { return key >= 32; }
    TSize GetPopupWindowClientPreferredSize() override;
    void PrepareEditValue(const Variant& displayValue, Variant& editValue, bool editFocused) override;
    Variant InternalGetEditingValue() override;
    void SynchronizeDisplayValue() override;
    void HandleSelectItem(TObject* sender) override;
    TcxContainerViewInfoClass GetViewInfoClass() const override;

protected:
    TcxCustomImageComboBox(TComponent* owner, bool isInplace, const TcxEditClasses& classes);

private:
    void Construct();

protected:
    Variant LookupKeyToEditValue(int key) const;
};

class TcxImageComboBox : public TcxCustomImageComboBox {
    RTL_CLASS(TcxImageComboBox, TcxCustomImageComboBox)
    explicit TcxImageComboBox(TComponent* owner, bool isInplace = false);
    TcxImageComboBoxProperties* Properties() const
    {
        return static_cast<TcxImageComboBoxProperties*>(TcxCustomImageComboBox::Properties());
    }
};

class TcxFilterImageComboBoxHelper : public TcxFilterComboBoxHelper {
    RTL_CLASS(TcxFilterImageComboBoxHelper, TcxFilterComboBoxHelper)
    TcxCustomEditClass GetFilterEditClass() const override;
    TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const override;
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                          TcxValueTypeClass valueTypeClass,
                                                          bool extendedSet = false) const override;
    void InitializeProperties(TcxCustomEditProperties* properties, TcxCustomEditProperties* editProperties,
                              bool hasButtons) const override;
};

namespace cxImageComboBoxUnit {
void Initialize();   // once: "ImageComboBox|..." and its filter helper
void Finalize();
} // namespace cxImageComboBoxUnit

} // namespace cx
