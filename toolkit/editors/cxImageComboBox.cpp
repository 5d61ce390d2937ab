// The image combo box: items as records, the lookup by value, the editor's layout with its image,
// the list drawing images beside the descriptions, the filter helper and the unit's start-up.
#include "toolkit/editors/cxImageComboBox.h"

#include "platform/gdi/SysParams.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditRepositoryItems.h"

#include <algorithm>

namespace cx {

// ---- items ---------------------------------------------------------------------------------------

TcxImageComboBoxItem::TcxImageComboBoxItem(TCollection* collection) : TCollectionItem(collection) {}

void TcxImageComboBoxItem::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TcxImageComboBoxItem*>(source)) {
        description_ = s->description_;
        imageIndex_ = s->imageIndex_;
        Tag = s->Tag;
        value_ = s->value_;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

void TcxImageComboBoxItem::SetDescription(const std::string& value)
{
    if (value == description_)
        return;
    description_ = value;
    Changed(false);
}

void TcxImageComboBoxItem::SetImageIndex(int value)
{
    if (value == imageIndex_)
        return;
    imageIndex_ = value;
    Changed(false);
}

void TcxImageComboBoxItem::SetValue(const Variant& value)
{
    if (VarType(value) == VarType(value_) && InternalVarEqualsExact(value, value_))
        return;
    value_ = value;
    Changed(false);
}

TcxImageComboBoxItems::TcxImageComboBoxItems(TcxCustomImageComboBoxProperties* owner)
    : TOwnedCollection(owner, TCollectionItemClass::Of<TcxImageComboBoxItem>()), owner_(owner)
{
}

void TcxImageComboBoxItems::Update(TCollectionItem*) { owner_->Changed(); }

TcxImageComboBoxItem* TcxImageComboBoxItems::Add()
{
    // The collection hears of an item while its base part is being made; the change notice
    // waits until the whole item exists.
    BeginUpdate();
    TcxImageComboBoxItem* item = nullptr;
    try {
        item = static_cast<TcxImageComboBoxItem*>(TCollection::Add());
        // A new item takes the next image while the image list has one for it.
        TCustomImageList* images = owner_->Images();
        if (images && images->Count() >= Count())
            item->SetImageIndex(Count() - 1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return item;
}

// ---- properties ----------------------------------------------------------------------------------

TcxCustomImageComboBoxProperties::TcxCustomImageComboBoxProperties(TPersistent* owner)
    : TcxCustomComboBoxProperties(owner)
{
    items_ = std::make_unique<TcxImageComboBoxItems>(this);
    imagesLink_ = std::make_unique<TChangeLink>();
    imagesLink_->OnChange = TNotifyEvent(this, &TcxCustomImageComboBoxProperties::ImagesChanged);
    largeImagesLink_ = std::make_unique<TChangeLink>();
    largeImagesLink_->OnChange = TNotifyEvent(this, &TcxCustomImageComboBoxProperties::ImagesChanged);
    notificator_ = new TcxFreeNotificator();
    notificator_->OnSenderFreed = [this](TComponent* c) { ListFreed(c); };
    SetDropDownListStyle(lsFixedList);
}

TcxCustomImageComboBoxProperties::~TcxCustomImageComboBoxProperties()
{
    SetImages(nullptr);
    SetLargeImages(nullptr);
    notificator_->Free();
}

void TcxCustomImageComboBoxProperties::ListFreed(TComponent* component)
{
    // The dying list no longer hears from the links.
    if (component == images_) {
        images_ = nullptr;
        imagesLink_->Sender = nullptr;
        Changed();
    }
    if (component == largeImages_) {
        largeImages_ = nullptr;
        largeImagesLink_->Sender = nullptr;
        Changed();
    }
}

void TcxCustomImageComboBoxProperties::SetImages(TCustomImageList* value)
{
    if (value == images_)
        return;
    if (images_) {
        images_->UnRegisterChanges(imagesLink_.get());
        if (images_ != largeImages_)
            notificator_->RemoveSender(images_);
    }
    images_ = value;
    if (images_) {
        images_->RegisterChanges(imagesLink_.get());
        notificator_->AddSender(images_);
    }
    Changed();
}

void TcxCustomImageComboBoxProperties::SetLargeImages(TCustomImageList* value)
{
    if (value == largeImages_)
        return;
    if (largeImages_) {
        largeImages_->UnRegisterChanges(largeImagesLink_.get());
        if (largeImages_ != images_)
            notificator_->RemoveSender(largeImages_);
    }
    largeImages_ = value;
    if (largeImages_) {
        largeImages_->RegisterChanges(largeImagesLink_.get());
        notificator_->AddSender(largeImages_);
    }
    Changed();
}

void TcxCustomImageComboBoxProperties::SetDefaultDescription(const std::string& value)
{
    if (value == defaultDescription_)
        return;
    defaultDescription_ = value;
    Changed();
}

void TcxCustomImageComboBoxProperties::SetDefaultImageIndex(int value)
{
    if (value == defaultImageIndex_)
        return;
    defaultImageIndex_ = value;
    Changed();
}

void TcxCustomImageComboBoxProperties::SetImageAlign(TcxImageAlign value)
{
    if (value == imageAlign_)
        return;
    imageAlign_ = value;
    Changed();
}

void TcxCustomImageComboBoxProperties::SetMultiLineText(bool value)
{
    if (value == multiLineText_)
        return;
    multiLineText_ = value;
    Changed();
}

void TcxCustomImageComboBoxProperties::SetShowDescriptions(bool value)
{
    if (value == showDescriptions_)
        return;
    showDescriptions_ = value;
    Changed();
}

void TcxCustomImageComboBoxProperties::Assign(TPersistent* source)
{
    BeginUpdate();
    try {
        TcxCustomComboBoxProperties::Assign(source);
        if (auto* s = dynamic_cast<TcxCustomImageComboBoxProperties*>(source)) {
            defaultDescription_ = s->defaultDescription_;
            defaultImageIndex_ = s->defaultImageIndex_;
            imageAlign_ = s->imageAlign_;
            SetImages(s->images_);
            SetLargeImages(s->largeImages_);
            items_->Assign(s->items_.get());
            multiLineText_ = s->multiLineText_;
            showDescriptions_ = s->showDescriptions_;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TcxImageComboBoxItem* TcxCustomImageComboBoxProperties::FindItemByValue(const Variant& value) const
{
    for (int i = 0; i < items_->Count(); ++i) {
        TcxImageComboBoxItem* item = items_->Items(i);
        try {
            if (VarEqualsExact(item->Value(), value))
                return item;
        } catch (const Exception&) {
            // Values that cannot be compared do not match.
        }
    }
    return nullptr;
}

TcxImageComboBoxItem* TcxCustomImageComboBoxProperties::FindItemByText(const std::string& text) const
{
    if (!showDescriptions_)
        return nullptr;
    for (int i = 0; i < items_->Count(); ++i)
        if (AnsiSameText(items_->Items(i)->Description(), text))
            return items_->Items(i);
    return nullptr;
}

void TcxCustomImageComboBoxProperties::InternalGetImageComboBoxDisplayValue(TcxImageComboBoxItem* item,
                                                                            std::string& text, bool always,
                                                                            int& imageIndex) const
{
    text = always || showDescriptions_ ? (item ? item->Description() : defaultDescription_) : std::string();
    imageIndex = item ? item->ImageIndex() : defaultImageIndex_;
}

void TcxCustomImageComboBoxProperties::GetImageComboBoxDisplayValue(const Variant& value, std::string& text,
                                                                    int& imageIndex) const
{
    InternalGetImageComboBoxDisplayValue(FindItemByValue(value), text, false, imageIndex);
}

void TcxCustomImageComboBoxProperties::PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool)
{
    std::string text;
    int image = -1;
    InternalGetImageComboBoxDisplayValue(FindItemByValue(editValue), text, true, image);
    displayValue = Variant(text);
}

std::u16string TcxCustomImageComboBoxProperties::GetDisplayText(const Variant& editValue, bool, bool)
{
    Variant v;
    PrepareDisplayValue(editValue, v, false);
    return Utf8ToUtf16(VarToStr(v));
}

bool TcxCustomImageComboBoxProperties::CompareDisplayValues(const Variant& v1, const Variant& v2)
{
    std::string t1, t2;
    int i1 = -1, i2 = -1;
    GetImageComboBoxDisplayValue(v1, t1, i1);
    GetImageComboBoxDisplayValue(v2, t2, i2);
    return t1 == t2 && (!images_ || i1 == i2);
}

TcxEditSupportedOperations TcxCustomImageComboBoxProperties::GetSupportedOperations()
{
    TcxEditSupportedOperations ops{esoEditing, esoFiltering, esoHorzAlignment, esoSorting, esoSortingByDisplayText};
    if (Buttons()->Count() > 0)
        ops.Include(esoHotTrack);
    if (showDescriptions_)
        ops.Include(esoIncSearch);
    return ops;
}

TcxCustomTextEditLookupDataClass TcxCustomImageComboBoxProperties::GetLookupDataClass() const
{
    return TcxCustomTextEditLookupDataClass::Of<TcxImageComboBoxLookupData>();
}

TcxCustomEditViewDataClass TcxCustomImageComboBoxProperties::GetViewDataClass() const
{
    return TcxCustomEditViewDataClass::Of<TcxImageComboBoxViewData>();
}

TcxCustomEditViewInfoClass TcxCustomImageComboBoxProperties::GetViewInfoClass() const
{
    return TcxCustomEditViewInfoClass::Of<TcxImageComboBoxViewInfo>();
}

const TClassMeta* TcxCustomImageComboBoxProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxImageComboBox>().Meta();
}

// ---- lookup data ---------------------------------------------------------------------------------

void TcxImageComboBoxLookupData::GetItem(int index, std::string& text)
{
    auto* p = static_cast<TcxCustomImageComboBoxProperties*>(ActiveProperties());
    text = index >= 0 && index < p->Items()->Count() ? p->Items()->Items(index)->Description() : std::string();
}

int TcxImageComboBoxLookupData::GetItemCount()
{
    return static_cast<TcxCustomImageComboBoxProperties*>(ActiveProperties())->Items()->Count();
}

TcxCustomEditListBoxClass TcxImageComboBoxLookupData::GetListBoxClass() const
{
    return TcxCustomEditListBoxClass::Of<TcxImageComboBoxListBox>();
}

void TcxImageComboBoxLookupData::TextChanged()
{
    TcxCustomTextEdit* edit = Edit();
    if (edit->IsDestroying() || edit->LookupDataTextChangedLocked())
        return;
    auto* p = static_cast<TcxCustomImageComboBoxProperties*>(ActiveProperties());
    TcxImageComboBoxItem* item = p->FindItemByValue(edit->EditValue());
    InternalSetCurrentKey(item ? item->Index() : -1);
}

// ---- list box ------------------------------------------------------------------------------------

TcxImageComboBoxListBox::TcxImageComboBoxListBox(TComponent* owner) : TcxComboBoxListBox(owner) {}

TcxCustomImageComboBoxProperties* TcxImageComboBoxListBox::ImageProperties() const
{
    return Edit() ? static_cast<TcxCustomImageComboBoxProperties*>(Edit()->ActiveProperties()) : nullptr;
}

TCustomImageList* TcxImageComboBoxListBox::ListImages() const
{
    TcxCustomImageComboBoxProperties* p = ImageProperties();
    return !p ? nullptr : p->LargeImages() ? p->LargeImages() : p->Images();
}

int TcxImageComboBoxListBox::GetItemHeight(int index)
{
    TCustomImageList* images = ListImages();
    const int minimum = images ? images->GetHeight() + 2 : 0;
    int h = std::max(cxTextHeight(Font(), "Wg") + 2, minimum);
    if (TcxCustomComboBox* combo = ComboBox(); combo && index >= 0 && combo->IsOnMeasureItemEventAssigned())
        combo->DoOnMeasureItem(index, cxCanvas(), h);
    return h;
}

int TcxImageComboBoxListBox::GetItemWidth(int index)
{
    TcxCustomImageComboBoxProperties* p = ImageProperties();
    return p && p->MultiLineText() ? 0 : TcxComboBoxListBox::GetItemWidth(index);
}

int TcxImageComboBoxListBox::GetMaxItemWidth()
{
    TcxCustomImageComboBoxProperties* p = ImageProperties();
    if (!p)
        return 0;
    TCustomImageList* images = ListImages();
    int w = 0;
    for (int i = 0; i < p->Items()->Count(); ++i)
        w = std::max(w, cxTextWidth(Font(), p->Items()->Items(i)->Description()) +
                            (images ? images->GetWidth() + 8 : 4));
    if (p->DropDownRows() < p->Items()->Count())
        w += gdi::GetSystemMetrics(SM_CXVSCROLL);
    return w;
}

void TcxImageComboBoxListBox::RecreateWindow()
{
    // One row height for all: the tallest item (the list box has no rows of their own height).
    int h = GetItemHeight(-1);
    for (int i = 0; i < ItemCount(); ++i)
        h = std::max(h, GetItemHeight(i));
    SetItemHeight(h);
}

void TcxImageComboBoxListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    if (DoDrawItem(index, rect, state))
        return;
    Canvas()->FillRect(rect);
    TcxCustomImageComboBoxProperties* p = ImageProperties();
    if (!p || index < 0 || index >= p->Items()->Count())
        return;
    TcxImageComboBoxItem* item = p->Items()->Items(index);
    TRect text{rect.Left + 2, rect.Top, rect.Right - 2, rect.Bottom};
    if (TCustomImageList* images = ListImages()) {
        const int column = images->GetWidth() + 4;
        const bool right = p->ImageAlign() == iaRight;
        const int x = right ? text.Right - column + 1 : text.Left + 1;
        if (item->ImageIndex() >= 0 && item->ImageIndex() < images->Count())
            cxCanvas()->DrawImage(images, x, rect.Top + (rect.Height() - images->GetHeight()) / 2, item->ImageIndex());
        (right ? text.Right : text.Left) += right ? -column : column;
    }
    Canvas()->Brush()->SetStyle(bsClear);
    cxDrawText(Canvas()->GetHandle(), item->Description(), text,
               p->MultiLineText() ? gdi::DT_NOPREFIX | gdi::DT_EXPANDTABS | gdi::DT_WORDBREAK
                                  : gdi::DT_NOPREFIX | gdi::DT_SINGLELINE | gdi::DT_VCENTER);
    Canvas()->Brush()->SetStyle(bsSolid);
}

// ---- view ----------------------------------------------------------------------------------------

void TcxImageComboBoxViewData::Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p,
                                         TcxMouseButton button, TShiftState shift, TcxCustomEditViewInfo* viewInfo,
                                         bool isMouseEvent)
{
    TcxCustomDropDownEditViewData::Calculate(canvas, bounds, p, button, shift, viewInfo, isMouseEvent);
    auto* vi = dynamic_cast<TcxImageComboBoxViewInfo*>(viewInfo);
    if (!vi)
        return;
    TcxCustomImageComboBoxProperties* props = ImageProperties();
    vi->ImageAlign = props->ImageAlign();
    vi->Images = props->Images();
    vi->ShowDescriptions = props->ShowDescriptions();
    TRect t = IsInplace() ? vi->TextRect : vi->ClientRect;
    vi->ImageRect = {};
    if (TCustomImageList* images = props->Images()) {
        TRect ir{vi->ClientRect.Left + 2, vi->ClientRect.Top, vi->ClientRect.Right - 2, vi->ClientRect.Bottom};
        const int gap = IsInplace() ? 4 : 2;
        const int w = images->GetWidth(), h = images->GetHeight();
        if (w >= ir.Width()) {
            t.Left = t.Right;
        } else if (!props->ShowDescriptions()) {
            ir.Left += (ir.Width() - w) / 2;
            ir.Right = ir.Left + w;
        } else if (props->ImageAlign() == iaRight) {
            ir.Left = ir.Right - w;
            t.Right = ir.Left - gap;
        } else {
            ir.Right = ir.Left + w;
            t.Left = ir.Right + gap;
        }
        if (h < ir.Height()) {
            ir.Top += (ir.Height() - h) / 2;
            ir.Bottom = ir.Top + h;
        }
        vi->ImageRect = ir;
    }
    if (!IsInplace()) {
        // The text's own rectangle beside the image is the editor's client area: the field goes
        // there and leaves the image alone.
        vi->ClientRect = t;
        t = {t.Left + 2, t.Top + 1, t.Right - 2, t.Bottom - 1};
        vi->DrawSelectionBar = false;
    }
    if (t.Right < t.Left)
        t.Right = t.Left;
    vi->TextRect = t;
    if (!props->ShowDescriptions())
        vi->Text.clear();
}

void TcxImageComboBoxViewData::EditValueToDrawValue(TcxCanvas*, const Variant& value, TcxCustomEditViewInfo* viewInfo)
{
    auto* vi = dynamic_cast<TcxImageComboBoxViewInfo*>(viewInfo);
    if (!vi)
        return;
    std::string text;
    ImageProperties()->GetImageComboBoxDisplayValue(value, text, vi->ImageIndex);
    if (OnGetDisplayText.Assigned())
        OnGetDisplayText(this, text);
    vi->Text = Utf8ToUtf16(text);
    vi->ResetTextOut();
}

void TcxImageComboBoxViewData::DisplayValueToDrawValue(const Variant&, TcxCustomEditViewInfo* viewInfo)
{
    auto* vi = dynamic_cast<TcxImageComboBoxViewInfo*>(viewInfo);
    auto* edit = dynamic_cast<TcxCustomImageComboBox*>(Edit);
    if (!vi || !edit)
        return;
    TcxCustomImageComboBoxProperties* p = ImageProperties();
    const int key = edit->LookupData() ? edit->LookupData()->CurrentKey() : -1;
    TcxImageComboBoxItem* item = key >= 0 && key < p->Items()->Count() ? p->Items()->Items(key)
                                                                       : p->FindItemByValue(edit->EditValue());
    std::string text;
    p->InternalGetImageComboBoxDisplayValue(item, text, false, vi->ImageIndex);
    vi->Text = Utf8ToUtf16(text);
    vi->ResetTextOut();
}

void TcxImageComboBoxViewInfo::Offset(int dx, int dy)
{
    TcxCustomTextEditViewInfo::Offset(dx, dy);
    ImageRect = cxRectOffset(ImageRect, dx, dy);
}

void TcxImageComboBoxViewInfo::InternalPaint(TcxCanvas* canvas)
{
    TcxCustomTextEditViewInfo::InternalPaint(canvas);
    if (!Images || ImageIndex < 0 || ImageIndex >= Images->Count() || cxRectIsEmpty(ImageRect))
        return;
    canvas->SaveClipRegion();
    canvas->IntersectClipRect(ImageRect);
    canvas->DrawImage(Images, ImageRect.Left, ImageRect.Top, ImageIndex, Enabled);
    canvas->RestoreClipRegion();
}

// ---- the editor ----------------------------------------------------------------------------------

TcxCustomImageComboBox::TcxCustomImageComboBox(TComponent* owner, bool isInplace)
    : TcxCustomComboBox(owner, isInplace,
                        DropDownClassesWith(TcxCustomEditPropertiesClass::Of<TcxCustomImageComboBoxProperties>()))
{
    Construct();
}

TcxCustomImageComboBox::TcxCustomImageComboBox(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomComboBox(owner, isInplace, classes)
{
    Construct();
}

void TcxCustomImageComboBox::Construct()
{
    // The base constructors made a text view info; the kind's own (with the image) replaces it.
    RecreateStylesAndViewInfo();
    if (auto* vi = EditViewInfo())
        vi->Edit = this;
    SynchronizeDisplayValue();
}

TcxContainerViewInfoClass TcxCustomImageComboBox::GetViewInfoClass() const
{
    return TcxContainerViewInfoClass::Of<TcxImageComboBoxViewInfo>();
}

TcxImageComboBox::TcxImageComboBox(TComponent* owner, bool isInplace)
    : TcxCustomImageComboBox(owner, isInplace,
                             DropDownClassesWith(TcxCustomEditPropertiesClass::Of<TcxImageComboBoxProperties>()))
{
}

Variant TcxCustomImageComboBox::LookupKeyToEditValue(int key) const
{
    TcxCustomImageComboBoxProperties* p = ActiveProperties();
    return key >= 0 && key < p->Items()->Count() ? p->Items()->Items(key)->Value() : Variant::MakeNull();
}

void TcxCustomImageComboBox::PrepareEditValue(const Variant&, Variant& editValue, bool)
{
    editValue = LookupKeyToEditValue(LookupData() ? LookupData()->CurrentKey() : -1);
}

Variant TcxCustomImageComboBox::InternalGetEditingValue()
{
    return LookupKeyToEditValue(LookupData() ? LookupData()->CurrentKey() : -1);
}

void TcxCustomImageComboBox::HandleSelectItem(TObject* sender) { TcxCustomComboBox::HandleSelectItem(sender); }

void TcxCustomImageComboBox::SynchronizeDisplayValue()
{
    TcxCustomTextEditLookupData* lookup = LookupData();
    const int old = lookup ? lookup->CurrentKey() : -1;
    if (lookup) {
        LockClick(true);
        lookup->TextChanged();
        LockClick(false);
    }
    TcxCustomComboBox::SynchronizeDisplayValue();
    if (lookup && lookup->CurrentKey() != old)
        DoClick();
}

TSize TcxCustomImageComboBox::GetPopupWindowClientPreferredSize()
{
    TSize size = TcxCustomComboBox::GetPopupWindowClientPreferredSize();
    auto* list = LookupData() ? dynamic_cast<TcxImageComboBoxListBox*>(LookupData()->List()) : nullptr;
    if (ActiveProperties()->MultiLineText()) {
        size.cx = 0;
        if (list)
            list->RecreateWindow();
    } else if (list) {
        size.cx = std::max(int(size.cx), list->GetMaxItemWidth());
    }
    return size;
}

// ---- filter helper and start-up ------------------------------------------------------------------

TcxCustomEditClass TcxFilterImageComboBoxHelper::GetFilterEditClass() const
{
    return TcxCustomEditClass::Of<TcxImageComboBox>();
}

TcxCustomEditPropertiesClass TcxFilterImageComboBoxHelper::GetFilterEditPropertiesClass() const
{
    return TcxCustomEditPropertiesClass::Of<TcxImageComboBoxProperties>();
}

TcxFilterControlOperators TcxFilterImageComboBoxHelper::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                                    TcxValueTypeClass,
                                                                                    bool extendedSet) const
{
    return GetListFilterOperators(extendedSet);
}

void TcxFilterImageComboBoxHelper::InitializeProperties(TcxCustomEditProperties* properties,
                                                        TcxCustomEditProperties* editProperties, bool hasButtons) const
{
    TcxFilterComboBoxHelper::InitializeProperties(properties, editProperties, hasButtons);
    if (auto* p = dynamic_cast<TcxCustomImageComboBoxProperties*>(properties)) {
        p->SetDropDownListStyle(lsFixedList);
        p->SetImmediateDropDown(true);
        p->SetShowDescriptions(true);
    }
}

namespace cxImageComboBoxUnit {
namespace {
TcxEditKindUnit<TcxImageComboBoxProperties, TcxFilterImageComboBoxHelper, TcxImageComboBox> unit;
} // namespace

void Initialize() { unit.Initialize(&scxSEditRepositoryImageComboBoxItem); }
void Finalize() { unit.Finalize(); }
} // namespace cxImageComboBoxUnit

} // namespace cx
