#pragma once
// Pictures as editor values: the process-wide list of graphic classes an image or BLOB editor
// may choose from, and the conversion between a picture and its value (a string or byte
// array holding the graphic's file bytes, optionally behind the 8-byte graphic header).
#include "platform/rtl/Variant.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Picture.h"
#include "toolkit/editors/cxEditControl.h"
#include "toolkit/editors/cxEditViewInfo.h"

#include <string>
#include <vector>

namespace cx {

// The list, made on first use: TBitmap, TIcon, TMetafile, TdxPNGImage, TJPEGImage. Its first
// entry is the default graphic class of image and BLOB editors.
const std::vector<TGraphicClass>& GetRegisteredGraphicClasses();
// Adds a class not yet in the list (at the end).
void RegisterGraphicClass(TGraphicClass graphicClass);
void UnRegisterGraphicClass(TGraphicClass graphicClass);
// The first class whose name equals the text, case ignored; empty when none.
TGraphicClass GetGraphicClassByName(const std::string& className);

// Fills the picture from a value. Only a string or array of more than 7 bytes is a picture;
// anything else, and any value the graphic cannot read, leaves the picture empty (no error
// reaches the caller). Without a graphic class the bytes are read as a bitmap.
void LoadPicture(TPicture* picture, TGraphicClass graphicClass, const rtl::Variant& value);
// The graphic's own file bytes; an empty string for a picture without a (non-empty) graphic.
std::string SavePicture(TPicture* picture);

// Whether the clipboard holds what a graphic class can be pasted from: bitmap and JPEG classes
// need a bitmap, icons never paste, metafiles need a metafile (never offered here), any other
// class or none a picture.
bool CanPasteFromClipboard(TGraphicClass pastingGraphicClass);
// Puts the clipboard's picture into the picture: a JPEG class gets the bitmap compressed into a
// new JPEG image, every other class the bitmap itself. False when nothing could be pasted.
bool PastePictureFromClipboard(TPicture* picture, TGraphicClass pastingGraphicClass);

// Image geometry. A picture is stretched when asked to, or when it is proportional and larger
// than the client area in either direction.
bool cxImageGetRealStretch(const TSize& picture, const TSize& client, bool stretch, bool proportional);
// Where the picture is drawn in the client rectangle: its own size, the largest rectangle of its
// aspect ratio (proportional stretching), or the whole client rectangle; then centred, or moved
// back by the scroll offset.
TRect cxImageDrawRect(const TSize& picture, const TRect& client, bool stretch, bool proportional, bool center,
                      const TPoint& scrollOffset);
// The height a picture takes at a width (or the width at a height, with the sizes swapped),
// rounded to the nearest integer with halves to even.
int cxImageScaledSide(int pictureSide, int pictureOtherSide, int available);

// ---- the image editor -------------------------------------------------------------------------

enum TcxPopupMenuItem { pmiCut, pmiCopy, pmiPaste, pmiDelete, pmiLoad, pmiSave, pmiCustom };
using TcxPopupMenuItems = Set<TcxPopupMenuItem>;
enum TcxImageTransparency { gtDefault, gtOpaque, gtTransparent };

// The six menu pictures (cut, copy, paste, delete, load, save), 16 x 16, drawn by code at the
// unit's start-up; their index is the item's TcxPopupMenuItem.
TImageList* cxImageMenuImages();

// Which items the image editor's context menu offers, and its own extra item.
class TcxPopupMenuLayout : public TPersistent {
    RTL_CLASS(TcxPopupMenuLayout, TPersistent)
    explicit TcxPopupMenuLayout(TPersistent* owner) : owner_(owner) {}
    ~TcxPopupMenuLayout() override;
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override { return owner_; }

    TcxPopupMenuItems MenuItems() const { return menuItems_; }
    void SetMenuItems(TcxPopupMenuItems value);
    const std::string& CustomMenuItemCaption() const { return customCaption_; }
    void SetCustomMenuItemCaption(const std::string& value);
    // Created when first read; null frees it.
    virtual TBitmap* CustomMenuItemGlyph();
    void SetCustomMenuItemGlyph(TBitmap* value);
    bool HasCustomMenuItemGlyph() const { return glyph_ != nullptr; }
    static TcxPopupMenuItems DefaultMenuItems()
    {
        return {pmiCut, pmiCopy, pmiPaste, pmiDelete, pmiLoad, pmiSave};
    }

private:
    void Changed();
    TPersistent* owner_;
    TcxPopupMenuItems menuItems_ = DefaultMenuItems();
    std::string customCaption_;
    TBitmap* glyph_ = nullptr;
};

class TcxCustomImage;

using TcxImageAssignPictureEvent = Event<void(TObject* sender, TPicture* picture)>;
using TcxImageGraphicClassEvent =
    Event<void(TObject* item, int recordIndex, bool pastingFromClipboard, TGraphicClass& graphicClass)>;
using TcxImageEditGraphicClassEvent =
    Event<void(TObject* sender, bool pastingFromClipboard, TGraphicClass& graphicClass)>;

class TcxCustomImageProperties : public TcxCustomEditProperties {
    RTL_CLASS(TcxCustomImageProperties, TcxCustomEditProperties)
    explicit TcxCustomImageProperties(TPersistent* owner);
    ~TcxCustomImageProperties() override;
    void Assign(TPersistent* source) override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    const std::string& CustomFilter() const { return customFilter_; }
    void SetCustomFilter(const std::string& value) { customFilter_ = value; }
    TGraphicClass GraphicClass() const { return graphicClass_; }
    void SetGraphicClass(TGraphicClass value);
    // The class's name; setting an unknown name changes nothing, an empty one clears the class.
    std::string GraphicClassName() const { return graphicClass_ ? graphicClass_.ClassName() : std::string(); }
    void SetGraphicClassName(const std::string& value);
    bool IsGraphicClassNameStored() const { return graphicClass_ != GetDefaultGraphicClass(); }
    TcxImageTransparency GraphicTransparency() const { return transparency_; }
    void SetGraphicTransparency(TcxImageTransparency value);
    TcxPopupMenuLayout* PopupMenuLayout() const { return popupMenuLayout_; }
    void SetPopupMenuLayout(TcxPopupMenuLayout* value) { popupMenuLayout_->Assign(value); }
    bool Proportional() const { return proportional_; }
    void SetProportional(bool value);
    bool ShowFocusRect() const { return showFocusRect_; }
    void SetShowFocusRect(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);

    virtual TGraphicClass GetDefaultGraphicClass() const;
    // The class a value is read with: the set class; else a bitmap when pasting, otherwise none;
    // then OnGetGraphicClass may change it.
    virtual TGraphicClass GetGraphicClass(TObject* item, int recordIndex, bool pastingFromClipboard = false);
    // The stored "IsGraphicClassNameEmpty": true only without a class; reading it (true) clears it.
    void DefineProperties(TFiler* filer) override;

    bool CanValidate() const override { return true; }
    bool IsResetEditClass() const override { return true; }
    std::u16string GetDisplayText(const Variant& editValue, bool fullText = false, bool isInplace = true) override;
    TcxEditSpecialFeatures GetSpecialFeatures() const override;
    TcxEditSupportedOperations GetSupportedOperations() override;
    TcxDataEditValueSource GetEditValueSource(bool) override { return evsValue; }
    void ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                              IcxEditValidationTarget* edit) override;
    TcxCustomEditViewDataClass GetViewDataClass() const override;
    TcxCustomEditViewInfoClass GetViewInfoClass() const override;
    const TClassMeta* GetContainerClass() const override;
    // Runs OnCustomClick with the editor as sender.
    void DoCustomClick(TObject* sender) { CallEvent(OnCustomClick, sender); }

    TcxImageAssignPictureEvent OnAssignPicture;
    TNotifyEvent OnCustomClick;
    TcxImageGraphicClassEvent OnGetGraphicClass;

private:
    void ReadIsGraphicClassNameEmpty(TReader* reader);
    void WriteIsGraphicClassNameEmpty(TWriter* writer);
    std::string caption_;
    bool center_ = true;
    std::string customFilter_;
    TGraphicClass graphicClass_;
    TcxImageTransparency transparency_ = gtDefault;
    TcxPopupMenuLayout* popupMenuLayout_;
    bool proportional_ = true;
    bool showFocusRect_ = true;
    bool stretch_ = false;
};

class TcxImageProperties : public TcxCustomImageProperties {
    RTL_CLASS(TcxImageProperties, TcxCustomImageProperties)
    using TcxCustomImageProperties::TcxCustomImageProperties;
};

class TcxImageViewInfo : public TcxCustomEditViewInfo {
    RTL_CLASS(TcxImageViewInfo, TcxCustomEditViewInfo)
    TcxImageViewInfo() = default;
    ~TcxImageViewInfo() override;
    void InternalPaint(TcxCanvas* canvas) override;
    bool IsRepaintOnStateChangingNeeded() const override;
    // A picture of its own (a cell's), freed with the view info; or the editor's (borrowed).
    TPicture* Picture() const { return picture_; }
    void SetOwnPicture(TPicture* picture);
    void SetEditorPicture(TPicture* picture);
    bool OwnsPicture() const { return ownPicture_; }
    // The rectangle the picture was last drawn into.
    TRect DrawRect() const { return drawRect_; }

    std::string Caption;
    bool Center = true;
    bool ShowFocusRect = false;
    bool Stretch = false;
    bool Proportional = true;
    TPoint TopLeft{0, 0};   // the scroll offset

private:
    void PaintPicture(TcxCanvas* canvas, const TRect& r);
    TPicture* picture_ = nullptr;
    bool ownPicture_ = false;
    TRect drawRect_ = cxNullRect;
};

class TcxImageViewData : public TcxCustomEditViewData {
    RTL_CLASS(TcxImageViewData, TcxCustomEditViewData)
    using TcxCustomEditViewData::TcxCustomEditViewData;
    void Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button, TShiftState shift,
                   TcxCustomEditViewInfo* viewInfo, bool isMouseEvent) override;
    void EditValueToDrawValue(TcxCanvas* canvas, const Variant& value, TcxCustomEditViewInfo* viewInfo) override;
    TSize GetEditContentSize(TcxCanvas* canvas, const Variant& value,
                             const TcxEditSizeProperties& sizeProperties) override;
};

class TcxCustomImage : public TcxCustomEdit {
    RTL_CLASS(TcxCustomImage, TcxCustomEdit)
    explicit TcxCustomImage(TComponent* owner, bool isInplace = false);
    ~TcxCustomImage() override;
    void BeforeDestruction() override;

    TcxCustomImageProperties* Properties() const { return static_cast<TcxCustomImageProperties*>(TcxCustomEdit::Properties()); }
    TcxCustomImageProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomImageProperties*>(TcxCustomEdit::ActiveProperties());
    }
    TPicture* Picture() const { return picture_; }
    void SetPicture(TPicture* value) { picture_->Assign(value); }

    Variant GetEditValue() const override;
    void InternalSetEditValue(const Variant& value, bool validateEditValue) override;
    void PropertiesChanged(TObject* sender) override;

    virtual bool CanPasteFromClipboard();
    virtual void CustomClick();
    virtual TGraphicClass GetGraphicClass(bool pastingFromClipboard = false);
    void CopyToClipboard() override;
    void CutToClipboard() override;
    void PasteFromClipboard() override;
    // Empties the picture when editing is allowed.
    void ClearPicture();
    // Through the picture dialogs; a confirmed load tells the popup-closed event crEnter, else crCancel.
    void LoadFromFile();
    void SaveToFile();

    // The context menu (made when first shown) and its state for the current picture.
    TPopupMenu* ContextMenu() const { return menu_; }
    void UpdateContextMenu();
    void ShowContextMenu(const TPoint& clientPoint);
    bool DialogShown() const { return dialogShown_; }
    TcxImageViewInfo* ImageViewInfo() const { return dynamic_cast<TcxImageViewInfo*>(EditViewInfo()); }
    TcxContainerViewInfoClass GetViewInfoClass() const override
    {
        return TcxContainerViewInfoClass::Of<TcxImageViewInfo>();
    }
    TPoint ScrollOffset() const { return scrollOffset_; }

    TcxImageEditGraphicClassEvent OnGetGraphicClass;

protected:
    TcxCustomImage(TComponent* owner, bool isInplace, const TcxEditClasses& classes);
    void DoEditKeyDown(std::uint16_t& key, TShiftState shift) override;
    void DoEditKeyPress(char16_t& key) override;
    bool NeedsInvokeAfterKeyDown(std::uint16_t key, TShiftState shift) override;
    void DoContextPopup(TPoint mousePos, bool& handled) override;
    bool GetIsFocused() const override { return TcxCustomEdit::GetIsFocused() || dialogShown_; }
    bool NeedsScrollBars() const override { return !IsInplace(); }

public:
    // Auto size follows the picture in both directions, and only while there is one.
    bool CanAutoSize() const override { return TcxCustomEdit::CanAutoSize() && picture_ && !picture_->IsEmpty(); }
    bool CanAutoWidth() override { return true; }

protected:
    void InitScrollBarsParameters() override;
    void Scroll(TScrollBarKind kind, TScrollCode code, int& pos) override;
    void BoundsChanged() override;
    void InitializeViewData(TcxCustomEditViewData* viewData) override;

private:
    enum class TAction { None, Keyboard, Menu };
    void Construct();
    void PictureChanged(TObject* sender);
    void ApplyPictureChange();
    bool CanScroll() const;
    TSize ScrollPage() const;
    void MenuClick(TObject* sender);
    void CreateContextMenu();
    TPicture* picture_ = nullptr;
    TPopupMenu* menu_ = nullptr;
    bool dialogShown_ = false;
    bool internalSet_ = false;
    int changeLock_ = 0;
    TAction action_ = TAction::None;
    TPoint scrollOffset_{0, 0};
};

class TcxImage : public TcxCustomImage {
    RTL_CLASS(TcxImage, TcxCustomImage)
    explicit TcxImage(TComponent* owner, bool isInplace = false);
    TcxImageProperties* Properties() const { return static_cast<TcxImageProperties*>(TcxCustomEdit::Properties()); }
};

namespace cxImageUnit {
void Initialize();   // once: the menu pictures, "Image|..."
void Finalize();
} // namespace cxImageUnit

} // namespace cx
