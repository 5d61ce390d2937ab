// The image editor: its properties, the view data and view info that lay out and paint a picture
// (own size, stretched, proportional, centred or scrolled; the caption while empty), and the
// control with its picture, keys, clipboard, files and scroll bars.
#include "toolkit/editors/cxImage.h"

#include "platform/rtl/Unicode.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/PictureDialogs.h"
#include "platform/vcl/Forms.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/core/cxGraphicsShared.h"
#include "toolkit/editors/cxEditUtils.h"

#include <algorithm>
#include <memory>

namespace cx {

namespace {

bool IsPictureValue(const Variant& value) { return rtl::VarIsStr(value) || value.IsArray(); }

// The transparency rule: a set transparency reaches the graphic, the default leaves it alone.
void ApplyTransparency(TPicture* picture, TcxImageTransparency transparency)
{
    if (transparency == gtDefault || !picture || picture->IsEmpty())
        return;
    if (auto* bitmap = dynamic_cast<TBitmap*>(picture->GetGraphic()))
        bitmap->Transparent = transparency == gtTransparent;
}

TSize PictureSize(TPicture* picture)
{
    return picture ? TSize{picture->GetWidth(), picture->GetHeight()} : TSize{0, 0};
}

} // namespace

// ---- properties -------------------------------------------------------------------------------

TcxCustomImageProperties::TcxCustomImageProperties(TPersistent* owner)
    : TcxCustomEditProperties(owner), popupMenuLayout_(new TcxPopupMenuLayout(this))
{
    graphicClass_ = GetDefaultGraphicClass();
}

TcxCustomImageProperties::~TcxCustomImageProperties() { delete popupMenuLayout_; }

void TcxCustomImageProperties::Assign(TPersistent* source)
{
    auto* p = dynamic_cast<TcxCustomImageProperties*>(source);
    BeginUpdate();
    try {
        TcxCustomEditProperties::Assign(source);
        if (p) {
            caption_ = p->caption_;
            center_ = p->center_;
            customFilter_ = p->customFilter_;
            graphicClass_ = p->graphicClass_;
            transparency_ = p->transparency_;
            popupMenuLayout_->Assign(p->popupMenuLayout_);
            proportional_ = p->proportional_;
            showFocusRect_ = p->showFocusRect_;
            stretch_ = p->stretch_;
            OnAssignPicture = p->OnAssignPicture;
            OnCustomClick = p->OnCustomClick;
            OnGetGraphicClass = p->OnGetGraphicClass;
            Changed();
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

namespace {
template <class T>
void SetAndNotify(TcxCustomEditProperties* p, T& field, const T& value)
{
    if (field != value) {
        field = value;
        p->Changed();
    }
}
} // namespace

void TcxCustomImageProperties::SetCaption(const std::string& value) { SetAndNotify(this, caption_, value); }
void TcxCustomImageProperties::SetCenter(bool value) { SetAndNotify(this, center_, value); }
void TcxCustomImageProperties::SetGraphicClass(TGraphicClass value) { SetAndNotify(this, graphicClass_, value); }
void TcxCustomImageProperties::SetGraphicTransparency(TcxImageTransparency value)
{
    SetAndNotify(this, transparency_, value);
}
void TcxCustomImageProperties::SetProportional(bool value) { SetAndNotify(this, proportional_, value); }
void TcxCustomImageProperties::SetShowFocusRect(bool value) { SetAndNotify(this, showFocusRect_, value); }
void TcxCustomImageProperties::SetStretch(bool value) { SetAndNotify(this, stretch_, value); }

void TcxCustomImageProperties::SetGraphicClassName(const std::string& value)
{
    if (value.empty()) {
        SetGraphicClass({});
        return;
    }
    if (TGraphicClass c = GetGraphicClassByName(value))
        SetGraphicClass(c);
}

TGraphicClass TcxCustomImageProperties::GetDefaultGraphicClass() const
{
    const auto& classes = GetRegisteredGraphicClasses();
    return classes.empty() ? TGraphicClass{} : classes.front();
}

TGraphicClass TcxCustomImageProperties::GetGraphicClass(TObject* item, int recordIndex, bool pastingFromClipboard)
{
    TGraphicClass result = graphicClass_;
    if (!result && pastingFromClipboard)
        result = TGraphicClass::Of<TBitmap>();
    CallEvent(OnGetGraphicClass, item, recordIndex, pastingFromClipboard, result);
    return result;
}

void TcxCustomImageProperties::DefineProperties(TFiler* filer)
{
    filer->DefineProperty(
        "IsGraphicClassNameEmpty", [this](TReader* r) { ReadIsGraphicClassNameEmpty(r); },
        [this](TWriter* w) { WriteIsGraphicClassNameEmpty(w); }, !graphicClass_);
}

void TcxCustomImageProperties::ReadIsGraphicClassNameEmpty(TReader* reader)
{
    if (reader->ReadBoolean())
        SetGraphicClass({});
}

void TcxCustomImageProperties::WriteIsGraphicClassNameEmpty(TWriter* writer) { writer->WriteBoolean(true); }

std::u16string TcxCustomImageProperties::GetDisplayText(const Variant& editValue, bool, bool)
{
    return editValue.IsNull() ? std::u16string() : Utf8ToUtf16(caption_);
}

TcxEditSpecialFeatures TcxCustomImageProperties::GetSpecialFeatures() const
{
    TcxEditSpecialFeatures f = TcxCustomEditProperties::GetSpecialFeatures();
    f.Include(esfBlobEditValue);
    return f;
}

TcxEditSupportedOperations TcxCustomImageProperties::GetSupportedOperations()
{
    TcxEditSupportedOperations ops = TcxCustomEditProperties::GetSupportedOperations();
    ops.Include(esoAutoHeight);
    ops.Include(esoEditing);
    return ops;
}

void TcxCustomImageProperties::ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                                                    IcxEditValidationTarget* edit)
{
    if (auto* image = dynamic_cast<TcxCustomImage*>(edit)) {
        image->LockEditValueChanging(true);
        try {
            CallEvent(image->Properties()->OnAssignPicture, image, image->Picture());
            if (image->ActiveProperties() != image->Properties())
                CallEvent(image->ActiveProperties()->OnAssignPicture, image, image->Picture());
        } catch (...) {
            image->LockEditValueChanging(false);
            throw;
        }
        image->LockEditValueChanging(false);
        // Asking the host for editing must not turn the picture into an unmodified one.
        image->SaveModified();
        image->SetModified(false);
        image->DoEditing();
        image->RestoreModified();
    }
    TcxCustomEditProperties::ValidateDisplayValue(displayValue, errorText, error, edit);
}

TcxCustomEditViewDataClass TcxCustomImageProperties::GetViewDataClass() const
{
    return TcxCustomEditViewDataClass::Of<TcxImageViewData>();
}

TcxCustomEditViewInfoClass TcxCustomImageProperties::GetViewInfoClass() const
{
    return TcxCustomEditViewInfoClass::Of<TcxImageViewInfo>();
}

const TClassMeta* TcxCustomImageProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxImage>().Meta();
}

// ---- view info --------------------------------------------------------------------------------

TcxImageViewInfo::~TcxImageViewInfo()
{
    if (ownPicture_)
        delete picture_;
}

void TcxImageViewInfo::SetOwnPicture(TPicture* picture)
{
    if (ownPicture_ && picture_ != picture)
        delete picture_;
    picture_ = picture;
    ownPicture_ = picture != nullptr;
}

void TcxImageViewInfo::SetEditorPicture(TPicture* picture)
{
    SetOwnPicture(nullptr);
    picture_ = picture;
}

bool TcxImageViewInfo::IsRepaintOnStateChangingNeeded() const
{
    return (!picture_ || picture_->IsEmpty()) && !Caption.empty();
}

void TcxImageViewInfo::InternalPaint(TcxCanvas* canvas)
{
    const TRect r = ClientRect;
    if (Transparent && !IsInplace && Edit)
        cxDrawTransparentControlBackground(Edit->GetEditContainer(), canvas, r);
    if (!picture_ || picture_->IsEmpty()) {
        drawRect_ = cxNullRect;
        TcxCustomEditViewInfo::InternalPaint(canvas);
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->SetFont(Font);
        canvas->GetFont()->SetColor(TextColor);
        canvas->DrawTexT(Caption, r, cxtfHCenter | cxtfVCenter | cxtfSingleLine);
        canvas->GetBrush()->SetStyle(bsSolid);
        if (ShowFocusRect)
            canvas->FrameRect(r, canvas->GetPen()->GetColor());
        return;
    }
    canvas->SaveClipRegion();
    canvas->ExcludeClipRect(r);
    DrawCustomEdit(canvas, false, bpsSolid);
    canvas->RestoreClipRegion();
    PaintPicture(canvas, r);
}

void TcxImageViewInfo::PaintPicture(TcxCanvas* canvas, const TRect& r)
{
    TRect clip = r;
    if (ShowFocusRect) {
        canvas->FrameRect(r, canvas->GetPen()->GetColor());
        clip = cxRectInflate(r, -1, -1);
    }
    drawRect_ = cxImageDrawRect(PictureSize(picture_), clip, Stretch, Proportional, Center, TopLeft);
    canvas->SaveClipRegion();
    canvas->IntersectClipRect(clip);
    // An opaque editor shows its background around the picture and through a transparent one.
    if (!IsTransparent())
        canvas->FillRect(clip, BackgroundColor);
    canvas->WrappedCanvas()->StretchDraw(drawRect_, picture_->GetGraphic());
    canvas->RestoreClipRegion();
}

// ---- view data --------------------------------------------------------------------------------

void TcxImageViewData::Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button,
                                 TShiftState shift, TcxCustomEditViewInfo* viewInfo, bool isMouseEvent)
{
    TcxCustomEditViewData::Calculate(canvas, bounds, p, button, shift, viewInfo, isMouseEvent);
    if (cxRectIsEmpty(bounds))
        return;
    auto* vi = dynamic_cast<TcxImageViewInfo*>(viewInfo);
    auto* props = dynamic_cast<TcxCustomImageProperties*>(Properties());
    if (!vi || !props)
        return;
    vi->Caption = props->Caption();
    vi->Center = props->Center();
    vi->Stretch = props->Stretch();
    vi->Proportional = props->Proportional();
    vi->ShowFocusRect = props->ShowFocusRect() && Focused && !IsInplace();
    if (Edit)
        if (auto* image = dynamic_cast<TcxCustomImage*>(Edit->GetEditContainer())) {
            vi->SetEditorPicture(image->Picture());
            vi->TopLeft = image->ScrollOffset();
        }
    if (vi->Center || vi->Stretch)
        vi->TopLeft = {0, 0};
}

void TcxImageViewData::EditValueToDrawValue(TcxCanvas*, const Variant& value, TcxCustomEditViewInfo* viewInfo)
{
    auto* vi = dynamic_cast<TcxImageViewInfo*>(viewInfo);
    if (!vi)
        return;
    if (!IsPictureValue(value)) {
        vi->SetOwnPicture(nullptr);
        return;
    }
    auto* props = static_cast<TcxCustomImageProperties*>(Properties());
    auto picture = std::make_unique<TPicture>();
    LoadPicture(picture.get(), props->GetGraphicClass(Data, -1, false), value);
    ApplyTransparency(picture.get(), props->GraphicTransparency());
    vi->SetOwnPicture(picture.release());
}

TSize TcxImageViewData::GetEditContentSize(TcxCanvas* canvas, const Variant& value,
                                          const TcxEditSizeProperties& sizeProperties)
{
    if (!IsInplace()) {
        auto* image = Edit ? dynamic_cast<TcxCustomImage*>(Edit->GetEditContainer()) : nullptr;
        return image ? PictureSize(image->Picture()) : TSize{0, 0};
    }
    if (Edit) {
        TcxContainer* c = Edit->GetEditContainer();
        const TRect extent = GetBorderExtent();
        return {c->Width() - extent.Left - extent.Right, c->Height() - extent.Top - extent.Bottom};
    }
    auto* props = static_cast<TcxCustomImageProperties*>(Properties());
    TPicture picture;
    if (IsPictureValue(value))
        LoadPicture(&picture, props->GetGraphicClass(Data, -1, false), value);
    if (picture.IsEmpty()) {
        if (props->Caption().empty() || !canvas)
            return {0, 15};
        canvas->SetFont(GetStyle()->GetVisibleFont());
        return canvas->TextExtent(props->Caption());
    }
    TSize size = PictureSize(&picture);
    const TSize available{sizeProperties.Width, sizeProperties.Height};
    const bool widthKnown = available.cx > 0, heightKnown = available.cy > 0;
    const TSize room{widthKnown ? available.cx : size.cx, heightKnown ? available.cy : size.cy};
    if (!cxImageGetRealStretch(size, room, props->Stretch(), props->Proportional()))
        return size;
    if (widthKnown)
        return {available.cx, cxImageScaledSide(size.cy, size.cx, available.cx)};
    if (heightKnown)
        return {cxImageScaledSide(size.cx, size.cy, available.cy), available.cy};
    return size;
}

// ---- the control ------------------------------------------------------------------------------

namespace {
TcxEditClasses ImageClasses(bool published)
{
    TcxEditClasses c;
    c.Properties = published ? TcxCustomEditPropertiesClass::Of<TcxImageProperties>()
                             : TcxCustomEditPropertiesClass::Of<TcxCustomImageProperties>();
    return c;
}
} // namespace

TcxCustomImage::TcxCustomImage(TComponent* owner, bool isInplace)
    : TcxCustomImage(owner, isInplace, ImageClasses(false))
{
}

TcxCustomImage::TcxCustomImage(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomEdit(owner, isInplace, classes)
{
    Construct();
}

TcxImage::TcxImage(TComponent* owner, bool isInplace) : TcxCustomImage(owner, isInplace, ImageClasses(true)) {}

void TcxCustomImage::Construct()
{
    // The base constructor ran with the base view classes; the kind's view info replaces them.
    RecreateStylesAndViewInfo();
    SetEditAutoSize(false);
    SetBounds(Left(), Top(), 140, 100);
    picture_ = new TPicture();
    picture_->OnChange = [this](TObject* sender) { PictureChanged(sender); };
    if (auto* vi = ImageViewInfo()) {
        vi->Edit = this;
        vi->SetEditorPicture(picture_);
    }
}

TcxCustomImage::~TcxCustomImage()
{
    if (picture_)
        BeforeDestruction();
}

void TcxCustomImage::BeforeDestruction()
{
    if (picture_) {
        if (auto* vi = ImageViewInfo())
            vi->SetEditorPicture(nullptr);
        FreeAndNil(menu_);
        picture_->OnChange = {};
        delete picture_;
        picture_ = nullptr;
    }
    TcxCustomEdit::BeforeDestruction();
}

// --- value

Variant TcxCustomImage::GetEditValue() const
{
    if (!picture_ || picture_->IsEmpty())
        return Variant::MakeNull();
    return Variant(SavePicture(picture_));
}

void TcxCustomImage::InternalSetEditValue(const Variant& value, bool)
{
    if (!picture_)
        return;
    internalSet_ = true;
    try {
        if (IsPictureValue(value))
            LoadPicture(picture_, GetGraphicClass(false), value);
        else
            picture_->Assign(nullptr);
    } catch (...) {
        internalSet_ = false;
        throw;
    }
    internalSet_ = false;
    SetModified(false);
}

TGraphicClass TcxCustomImage::GetGraphicClass(bool pastingFromClipboard)
{
    TcxCustomImageProperties* props = ActiveProperties();
    if (IsInplace())
        return props->GetGraphicClass(InplaceEditPosition.Item, InplaceEditPosition.RecordIndex,
                                      pastingFromClipboard);
    TGraphicClass result = props->GraphicClass();
    if (!result && pastingFromClipboard)
        result = TGraphicClass::Of<TBitmap>();
    CallEvent(OnGetGraphicClass, this, pastingFromClipboard, result);
    return result;
}

void TcxCustomImage::PictureChanged(TObject*)
{
    if (changeLock_ > 0)
        return;
    ++changeLock_;
    try {
        ApplyPictureChange();
    } catch (...) {
        --changeLock_;
        action_ = TAction::None;
        throw;
    }
    --changeLock_;
    action_ = TAction::None;
}

void TcxCustomImage::ApplyPictureChange()
{
    ApplyTransparency(picture_, ActiveProperties()->GraphicTransparency());
    if (!IsLoading()) {
        scrollOffset_ = {0, 0};
        if (AutoSize())
            SetSize();
    }
    if (!internalSet_) {
        if (action_ != TAction::None)
            SetModifiedAfterEnter(true);
        DoChange();
        ShortRefreshContainer(false);
        if (ActiveProperties()->ImmediatePost() && CanPostEditValue() && ValidateEdit(true))
            InternalPostEditValue();
    }
    UpdateScrollBars();
    ShortRefreshContainer(false);
}

void TcxCustomImage::PropertiesChanged(TObject* sender)
{
    TcxCustomEdit::PropertiesChanged(sender);
    if (!picture_ || PropertiesChangeLocked())
        return;
    ++changeLock_;
    try {
        ApplyTransparency(picture_, ActiveProperties()->GraphicTransparency());
    } catch (...) {
        --changeLock_;
        throw;
    }
    --changeLock_;
    UpdateScrollBars();
    ShortRefreshContainer(false);
    Invalidate();
}

// --- clipboard

bool TcxCustomImage::CanPasteFromClipboard() { return cx::CanPasteFromClipboard(GetGraphicClass(true)); }

void TcxCustomImage::CopyToClipboard()
{
    if (picture_->GetGraphic())
        Clipboard()->Assign(picture_);
}

void TcxCustomImage::CutToClipboard()
{
    CopyToClipboard();
    ClearPicture();
}

void TcxCustomImage::ClearPicture()
{
    if (DoEditing())
        picture_->Assign(nullptr);
}

void TcxCustomImage::PasteFromClipboard()
{
    if (CanPasteFromClipboard() && DoEditing())
        PastePictureFromClipboard(picture_, GetGraphicClass(true));
}

void TcxCustomImage::CustomClick()
{
    Properties()->DoCustomClick(this);
    if (ActiveProperties() != Properties())
        ActiveProperties()->DoCustomClick(this);
}

// --- files

void TcxCustomImage::LoadFromFile()
{
    if (!CanModify())
        return;
    const std::string& custom = ActiveProperties()->CustomFilter();
    const std::string filter = custom.empty() ? GraphicFilter(GetGraphicClass(false)) : custom;
    std::string fileName;
    dialogShown_ = true;
    bool confirmed = false;
    try {
        confirmed = ExecuteOpenPictureDialog(filter, fileName) && DoEditing();
        if (confirmed)
            picture_->LoadFromFile(fileName);
    } catch (...) {
        dialogShown_ = false;
        throw;
    }
    dialogShown_ = false;
    CallEvent(ActiveProperties()->OnPopupClosed, this, confirmed ? crEnter : crCancel);
    Application->ProcessMessages();
}

void TcxCustomImage::SaveToFile()
{
    TGraphic* graphic = picture_->GetGraphic();
    if (!graphic)
        return;
    const std::string& custom = ActiveProperties()->CustomFilter();
    TGraphicClass own = TGraphicClass::FromMeta(&graphic->ClassType());
    const std::string filter = custom.empty() ? GraphicFilter(own) : custom;
    std::string fileName;
    if (ExecuteSavePictureDialog(filter, GraphicExtension(own), fileName))
        picture_->SaveToFile(fileName);
}

// --- keys

void TcxCustomImage::DoEditKeyDown(std::uint16_t& key, TShiftState shift)
{
    const bool shiftOnly = shift.Contains(ssShift) && !shift.Contains(ssCtrl);
    const bool ctrlOnly = shift.Contains(ssCtrl) && !shift.Contains(ssShift);
    if (key == VK_INSERT && (shiftOnly || ctrlOnly)) {
        action_ = TAction::Keyboard;
        if (shiftOnly)
            PasteFromClipboard();
        else
            CopyToClipboard();
        action_ = TAction::None;
        key = 0;
        return;
    }
    if (key == VK_DELETE && shiftOnly) {
        action_ = TAction::Keyboard;
        CutToClipboard();
        action_ = TAction::None;
        key = 0;
        return;
    }
    TcxCustomEdit::DoEditKeyDown(key, shift);
}

void TcxCustomImage::DoEditKeyPress(char16_t& key)
{
    constexpr char16_t ctrlC = 3, ctrlV = 22, ctrlX = 24;
    if (key == ctrlC || key == ctrlV || key == ctrlX) {
        action_ = TAction::Keyboard;
        if (key == ctrlC)
            CopyToClipboard();
        else if (key == ctrlV)
            PasteFromClipboard();
        else
            CutToClipboard();
        action_ = TAction::None;
        key = 0;
        return;
    }
    TcxCustomEdit::DoEditKeyPress(key);
}

bool TcxCustomImage::NeedsInvokeAfterKeyDown(std::uint16_t key, TShiftState shift)
{
    if (key == VK_INSERT)
        return !shift.Contains(ssShift) && !shift.Contains(ssCtrl);
    if (key == VK_DELETE)
        return !shift.Contains(ssShift);
    return TcxCustomEdit::NeedsInvokeAfterKeyDown(key, shift);
}

// --- scrolling

TSize TcxCustomImage::ScrollPage() const
{
    // The control's area less the bars that show now and less the editor's frame (the view
    // info's client rectangle lags behind a bar that has just appeared).
    const TRect bounds = TcxControl::GetClientBounds();
    const TRect frame = GetBorderExtent();
    return {std::max(0, bounds.Width() - frame.Left - frame.Right),
            std::max(0, bounds.Height() - frame.Top - frame.Bottom)};
}

bool TcxCustomImage::CanScroll() const
{
    if (IsInplace() || AutoSize() || !picture_ || picture_->IsEmpty())
        return false;
    auto* props = static_cast<TcxCustomImageProperties*>(TcxCustomEdit::ActiveProperties());
    return !props->Center() && !props->Stretch();
}

void TcxCustomImage::InitScrollBarsParameters()
{
    if (!CanScroll()) {
        SetScrollBarInfo(sbHorizontal, 0, 0, 8, 0, 0, false, true);
        SetScrollBarInfo(sbVertical, 0, 0, 8, 0, 0, false, true);
        scrollOffset_ = {0, 0};
        return;
    }
    const TSize page = ScrollPage();
    SetScrollBarInfo(sbHorizontal, 0, picture_->GetWidth() - 1, 8, page.cx, scrollOffset_.X, true, true);
    SetScrollBarInfo(sbVertical, 0, picture_->GetHeight() - 1, 8, page.cy, scrollOffset_.Y, true, true);
}

void TcxCustomImage::Scroll(TScrollBarKind kind, TScrollCode code, int& pos)
{
    if (!CanScroll())
        return;
    const bool horz = kind == sbHorizontal;
    const int size = horz ? picture_->GetWidth() : picture_->GetHeight();
    const int page = horz ? ScrollPage().cx : ScrollPage().cy;
    int current = horz ? scrollOffset_.X : scrollOffset_.Y;
    switch (code) {
    case scLineUp: current -= 8; break;
    case scLineDown: current += 8; break;
    case scPageUp: current -= page; break;
    case scPageDown: current += page; break;
    case scTrack:
    case scPosition: current = pos; break;
    case scTop: current = 0; break;
    case scBottom: current = size; break;
    default: return;
    }
    current = std::max(0, std::min(current, size - page));
    pos = current;
    if (current == (horz ? scrollOffset_.X : scrollOffset_.Y))
        return;
    (horz ? scrollOffset_.X : scrollOffset_.Y) = current;
    UpdateScrollBars();
    ShortRefreshContainer(false);
    Invalidate();
}

void TcxCustomImage::BoundsChanged()
{
    TcxCustomEdit::BoundsChanged();
    if (picture_) {
        UpdateScrollBars();
        ShortRefreshContainer(false);
    }
}

void TcxCustomImage::InitializeViewData(TcxCustomEditViewData* viewData)
{
    TcxCustomEdit::InitializeViewData(viewData);
    // The picture's own offsets follow the bars; a hidden bar scrolls nothing.
    if (!HScrollBarVisible())
        scrollOffset_.X = 0;
    if (!VScrollBarVisible())
        scrollOffset_.Y = 0;
}

} // namespace cx
