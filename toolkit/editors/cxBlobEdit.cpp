// The BLOB editor: properties and the cell text and icons, the popup memo or picture with its OK
// and Cancel buttons, the closing keys, the storing rules, the filter helper and the start-up.
#include "toolkit/editors/cxBlobEdit.h"

#include <algorithm>

#include "platform/rtl/Unicode.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/SystemFacade.h"
#include "toolkit/core/cxGraphics.h"
#include "toolkit/data/cxVariants.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxFilterControlUtils.h"

namespace cx {

// ---- the icons --------------------------------------------------------------------------------------

namespace {
std::unique_ptr<TImageList> blobImages;
constexpr TColor kMaskColor = clGray;
constexpr int kIconWidth = 18, kIconHeight = 16;

void Frame(TCanvas* c, const TRect& r, TColor fill, TColor frame)
{
    c->Brush()->SetColor(fill);
    c->Pen()->SetColor(frame);
    c->Rectangle(r);
}

void HLines(TCanvas* c, int from, int to, int left, int right, TColor color)
{
    c->Pen()->SetColor(color);
    for (int y = from; y <= to; y += 2) {
        c->MoveTo(left, y);
        c->LineTo(right, y);
    }
}

// Each kind draws its sign; the empty icon shows it greyed without content.
void DrawBlob(TCanvas* c, bool filled)
{
    // A stack of binary digits in a box.
    Frame(c, {2, 2, 16, 14}, filled ? clWhite : clSilver, clBlack);
    if (filled)
        for (int x = 4; x < 14; x += 3)
            Frame(c, {x, 5, x + 2, 11}, clNavy, clNavy);
}

void DrawMemo(TCanvas* c, bool filled)
{
    // A page with lines of text.
    Frame(c, {3, 1, 15, 15}, filled ? clWhite : clSilver, clBlack);
    if (filled)
        HLines(c, 4, 12, 5, 13, clNavy);
}

void DrawPict(TCanvas* c, bool filled)
{
    // A framed landscape: sky, a hill and the sun.
    Frame(c, {1, 2, 17, 14}, filled ? clAqua : clSilver, clBlack);
    if (filled) {
        Frame(c, {3, 9, 15, 13}, clGreen, clGreen);
        Frame(c, {11, 4, 14, 7}, clYellow, clOlive);
    }
}

void DrawOle(TCanvas* c, bool filled)
{
    // Two linked boxes.
    Frame(c, {1, 1, 10, 10}, filled ? clWhite : clSilver, clBlack);
    Frame(c, {8, 6, 17, 15}, filled ? clYellow : clSilver, clBlack);
}

void BuildBlobImages()
{
    blobImages = std::make_unique<TImageList>(nullptr);
    blobImages->SetWidth(kIconWidth);
    blobImages->SetHeight(kIconHeight);
    void (*const painters[])(TCanvas*, bool) = {DrawBlob, DrawMemo, DrawPict, DrawOle};
    for (auto paint : painters)
        for (bool filled : {false, true}) {
            TBitmap bitmap;
            bitmap.SetPixelFormat(pf24bit);
            bitmap.SetSize(kIconWidth, kIconHeight);
            TCanvas* c = bitmap.Canvas();
            c->Brush()->SetColor(kMaskColor);
            c->FillRect({0, 0, kIconWidth, kIconHeight});
            paint(c, filled);
            blobImages->AddMasked(&bitmap, kMaskColor);
        }
}

bool IsEmptyBlob(const Variant& v) { return VarIsSoftNull(v) || (VarIsStr(v) && VarToStr(v).empty()); }
} // namespace

TCustomImageList* cxBlobEditImages()
{
    if (!blobImages)
        BuildBlobImages();
    return blobImages.get();
}

// ---- properties -------------------------------------------------------------------------------------

TcxCustomBlobEditProperties::TcxCustomBlobEditProperties(TPersistent* owner) : TcxCustomPopupEditProperties(owner)
{
    immediatePopup_ = true;
    popupMinWidth_ = 160;
    popupMinHeight_ = 140;
    pictureGraphicClass_ = GetDefaultPictureGraphicClass();
    SetBlobEditKind(bekAuto);
    Buttons()->Items(0)->SetKind(bkEllipsis);
}

void TcxCustomBlobEditProperties::Assign(TPersistent* source)
{
    auto* s = dynamic_cast<TcxCustomBlobEditProperties*>(source);
    BeginUpdate();
    try {
        TcxCustomPopupEditProperties::Assign(source);
        if (s) {
            alwaysSaveData_ = s->alwaysSaveData_;
            SetBlobEditKind(s->blobEditKind_);
            blobPaintStyle_ = s->blobPaintStyle_;
            memoAutoReplace_ = s->memoAutoReplace_;
            memoCharCase_ = s->memoCharCase_;
            memoMaxLength_ = s->memoMaxLength_;
            memoOEMConvert_ = s->memoOEMConvert_;
            memoScrollBars_ = s->memoScrollBars_;
            memoWantReturns_ = s->memoWantReturns_;
            memoWantTabs_ = s->memoWantTabs_;
            memoWordWrap_ = s->memoWordWrap_;
            pictureAutoSize_ = s->pictureAutoSize_;
            pictureFilter_ = s->pictureFilter_;
            pictureGraphicClass_ = s->pictureGraphicClass_;
            pictureTransparency_ = s->pictureTransparency_;
            showExPopupItems_ = s->showExPopupItems_;
            showPicturePopup_ = s->showPicturePopup_;
            OnAssignPicture = s->OnAssignPicture;
            OnGetGraphicClass = s->OnGetGraphicClass;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomBlobEditProperties::SetBlobEditKind(TcxBlobEditKind value)
{
    const bool changed = value != blobEditKind_;
    blobEditKind_ = value;
    if (Buttons()->Count() > 0)
        Buttons()->Items(0)->SetKind(value == bekMemo || value == bekPict ? bkDown : bkEllipsis);
    if (changed)
        Changed();
}

void TcxCustomBlobEditProperties::SetPictureGraphicClass(TGraphicClass value)
{
    if (pictureGraphicClass_ == value)
        return;
    pictureGraphicClass_ = value;
    Changed();
}

std::string TcxCustomBlobEditProperties::PictureGraphicClassName() const
{
    return pictureGraphicClass_ ? pictureGraphicClass_.ClassName() : std::string();
}

void TcxCustomBlobEditProperties::SetPictureGraphicClassName(const std::string& value)
{
    if (value.empty()) {
        SetPictureGraphicClass({});
        return;
    }
    if (TGraphicClass c = GetGraphicClassByName(value))
        SetPictureGraphicClass(c);
}

TGraphicClass TcxCustomBlobEditProperties::GetDefaultPictureGraphicClass() const
{
    const auto& classes = GetRegisteredGraphicClasses();
    return classes.empty() ? TGraphicClass() : classes.front();
}

void TcxCustomBlobEditProperties::CorrectBlobEditKind()
{
    if (blobEditKind_ != bekAuto)
        return;
    TcxBlobEditKind kind = bekBlob;
    if (IcxEditDefaultValuesProvider* provider = GetIDefaultValuesProvider()) {
        if (!provider->IsDataAvailable())
            return;
        switch (provider->DefaultBlobKind()) {
        case bkGraphic: kind = bekPict; break;
        case bkMemo: kind = bekMemo; break;
        case bkOle: kind = bekOle; break;
        default: kind = bekBlob; break;
        }
    }
    LockUpdate(true);
    SetBlobEditKind(kind);
    LockUpdate(false);
}

std::string TcxCustomBlobEditProperties::GetBlobText(const Variant& value, bool fullText)
{
    CorrectBlobEditKind();
    const bool memoString = blobEditKind_ == bekMemo && VarIsStr(value);
    if (fullText && memoString)
        return VarToStr(value);
    if (blobPaintStyle_ == bpsDefault) {
        if (blobEditKind_ == bekMemo)
            return cxGetResourceString(value.IsNull() ? &cxSBlobMemoEmpty : &cxSBlobMemo);
        if (blobEditKind_ == bekPict)
            return cxGetResourceString(value.IsNull() ? &cxSBlobPictureEmpty : &cxSBlobPicture);
        return {};
    }
    if (blobPaintStyle_ == bpsText && memoString) {
        std::u16string text = Utf8ToUtf16(VarToStr(value));
        ExtractFirstLine(text, 0);
        return Utf16ToUtf8(text);
    }
    return {};
}

int TcxCustomBlobEditProperties::GetImageIndex(const Variant& value)
{
    CorrectBlobEditKind();
    int index = 0;
    switch (blobEditKind_) {
    case bekMemo: index = 2; break;
    case bekPict: index = 4; break;
    case bekOle: index = 6; break;
    default: index = 0; break;
    }
    return IsEmptyBlob(value) ? index : index + 1;
}

std::u16string TcxCustomBlobEditProperties::GetDisplayText(const Variant& editValue, bool, bool)
{
    CorrectBlobEditKind();
    if (editValue.IsNull())
        return {};
    switch (blobEditKind_) {
    case bekMemo: return Utf8ToUtf16(GetBlobText(editValue, true));
    case bekPict: return Utf8ToUtf16(cxGetResourceString(&cxSBlobPicture));
    case bekOle: return u"OLE";
    default: return u"BLOB";
    }
}

bool TcxCustomBlobEditProperties::CompareDisplayValues(const Variant& v1, const Variant& v2)
{
    return blobPaintStyle_ == bpsText && blobEditKind_ == bekMemo && VarIsStr(v1) && VarIsStr(v2) &&
           VarToStr(v1) == VarToStr(v2);
}

TcxEditSpecialFeatures TcxCustomBlobEditProperties::GetSpecialFeatures() const
{
    TcxEditSpecialFeatures result = TcxCustomPopupEditProperties::GetSpecialFeatures();
    if (blobEditKind_ == bekPict)
        result.Include(esfBlobEditValue);
    return result;
}

TcxDataEditValueSource TcxCustomBlobEditProperties::GetEditValueSource(bool)
{
    IcxEditDefaultValuesProvider* provider = GetIDefaultValuesProvider();
    return blobEditKind_ == bekMemo && !(provider && provider->IsBlob()) ? evsText : evsValue;
}

TcxCustomEditPopupWindowClass TcxCustomBlobEditProperties::GetPopupWindowClass() const
{
    return TcxCustomEditPopupWindowClass::Of<TcxBlobEditPopupWindow>();
}

TcxCustomEditViewDataClass TcxCustomBlobEditProperties::GetViewDataClass() const
{
    return TcxCustomEditViewDataClass::Of<TcxBlobEditViewData>();
}

TcxCustomEditViewInfoClass TcxCustomBlobEditProperties::GetViewInfoClass() const
{
    return TcxCustomEditViewInfoClass::Of<TcxBlobEditViewInfo>();
}

// ---- the cell ---------------------------------------------------------------------------------------

void TcxBlobEditViewData::Calculate(TcxCanvas* canvas, const TRect& bounds, const TPoint& p, TcxMouseButton button,
                                    TShiftState shift, TcxCustomEditViewInfo* viewInfo, bool isMouseEvent)
{
    TcxCustomDropDownEditViewData::Calculate(canvas, bounds, p, button, shift, viewInfo, isMouseEvent);
    auto* vi = dynamic_cast<TcxBlobEditViewInfo*>(viewInfo);
    if (!vi)
        return;
    TCustomImageList* images = cxBlobEditImages();
    const TRect& c = vi->ClientRect;
    const int left = c.Left + (c.Width() - images->GetWidth()) / 2, top = c.Top + (c.Height() - images->GetHeight()) / 2;
    vi->IconRect = {left, top, left + images->GetWidth(), top + images->GetHeight()};
    if (auto* edit = dynamic_cast<TcxCustomEdit*>(Edit))
        EditValueToDrawValue(canvas, edit->EditValue(), vi);
}

void TcxBlobEditViewData::EditValueToDrawValue(TcxCanvas*, const Variant& value, TcxCustomEditViewInfo* viewInfo)
{
    auto* vi = dynamic_cast<TcxBlobEditViewInfo*>(viewInfo);
    auto* p = dynamic_cast<TcxCustomBlobEditProperties*>(Properties());
    if (!vi || !p)
        return;
    p->CorrectBlobEditKind();
    if (p->BlobPaintStyle() == bpsIcon) {
        vi->Text.clear();
        vi->ImageIndex = p->GetImageIndex(value);
    } else {
        vi->Text = Utf8ToUtf16(p->GetBlobText(value));
        vi->ImageIndex = -1;
    }
    vi->ResetTextOut();
}

void TcxBlobEditViewData::DisplayValueToDrawValue(const Variant&, TcxCustomEditViewInfo* viewInfo)
{
    if (auto* edit = dynamic_cast<TcxCustomEdit*>(Edit))
        EditValueToDrawValue(nullptr, edit->EditValue(), viewInfo);
}

void TcxBlobEditViewInfo::InternalPaint(TcxCanvas* canvas)
{
    TCustomImageList* images = cxBlobEditImages();
    if (ImageIndex < 0 || ImageIndex >= images->Count()) {
        TcxCustomTextEditViewInfo::InternalPaint(canvas);
        return;
    }
    TRect icon;
    cxRectIntersect(icon, IconRect, ClientRect);
    if (Transparent) {
        // Over what lies behind the editor: the list draws the icon's own pixels only.
        TcxCustomTextEditViewInfo::InternalPaint(canvas);
        canvas->SaveClipRegion();
        canvas->IntersectClipRect(icon);
        canvas->DrawImage(images, IconRect.Left, IconRect.Top, ImageIndex, Enabled);
        canvas->RestoreClipRegion();
        return;
    }
    // A glyph on the background colour, kept out of the frame and background drawn after it.
    canvas->SaveClipRegion();
    canvas->IntersectClipRect(icon);
    DrawGlyph(canvas, images, ImageIndex, IconRect, BackgroundColor, Enabled);
    canvas->RestoreClipRegion();
    canvas->SaveClipRegion();
    canvas->ExcludeClipRect(icon);
    TcxCustomTextEditViewInfo::InternalPaint(canvas);
    canvas->RestoreClipRegion();
}

void TcxBlobEditViewInfo::Offset(int dx, int dy)
{
    TcxCustomTextEditViewInfo::Offset(dx, dy);
    IconRect = cxRectOffset(IconRect, dx, dy);
}

void TcxBlobEditPopupWindow::DoPopupControlKey(char16_t key)
{
    if (auto* blob = dynamic_cast<TcxCustomBlobEdit*>(Edit()))
        blob->DoPopupControlChar(key);
}

const TClassMeta* TcxCustomBlobEditProperties::GetContainerClass() const
{
    return TcxCustomEditClass::Of<TcxBlobEdit>().Meta();
}

// ---- popup controls ---------------------------------------------------------------------------------

TcxPopupMemo::TcxPopupMemo(TComponent* owner, TcxCustomBlobEdit* blob) : TcxMemo(owner), blob_(blob) {}

void TcxPopupMemo::SpellCheckerSetValue(const Variant& value)
{
    if (blob_)
        blob_->SpellCheckerSetValue(value);
}

void TcxPopupMemo::DoEditKeyDown(std::uint16_t& key, TShiftState shift)
{
    // The character of a closing key (the line break of Ctrl+Enter) is queued before its key-down
    // is handled: it goes with the eaten key instead of reaching the memo as the popup closes.
    TWinControl* field = InnerEdit() ? InnerEdit()->GetControl() : nullptr;
    if (blob_ && field && field->HandleAllocated() && blob_->BlobPopupKeyResult(key, shift) != mrNone) {
        MSG pending{};
        vcl::PeekMessage(pending, field->Handle(), WM_CHAR, WM_CHAR, PM_REMOVE);
    }
    if (blob_ && blob_->HandleBlobPopupKey(key, shift)) {
        key = 0;
        return;
    }
    TcxMemo::DoEditKeyDown(key, shift);
}

TcxPopupImage::TcxPopupImage(TComponent* owner, TcxCustomBlobEdit* blob) : TcxImage(owner), blob_(blob) {}

TGraphicClass TcxPopupImage::GetGraphicClass(bool pastingFromClipboard)
{
    return blob_ ? blob_->GetGraphicClass(pastingFromClipboard) : TcxImage::GetGraphicClass(pastingFromClipboard);
}

void TcxPopupImage::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (blob_ && blob_->HandleBlobPopupKey(key, shift)) {
        key = 0;
        return;
    }
    TcxImage::KeyDown(key, shift);
}

// ---- button placement -------------------------------------------------------------------------------

TcxBlobButtonsLayout cxBlobCalcButtons(const TRect& grip, TcxEditCorner corner, int windowWidth, int buttonWidth,
                                       int buttonHeight, int minSysPanelHeight, bool hasOK)
{
    const int h = buttonHeight;
    const bool gripRight = corner == ecoBottomRight || corner == ecoTopRight;
    const bool gripBottom = corner == ecoBottomRight || corner == ecoBottomLeft;
    const int left = gripRight ? grip.Left - h / 6 - buttonWidth
                               : windowWidth - std::max(2 * (h / 6), grip.Left) - buttonWidth;
    const int spare = minSysPanelHeight - h;
    const int top = gripBottom ? grip.Bottom - h - spare / 2 + 2 : grip.Top + spare / 2 - 2;
    TcxBlobButtonsLayout layout;
    layout.Cancel = {left, top, left + buttonWidth, top + h};
    if (hasOK) {
        const int okLeft = left - h / 3 - buttonWidth;
        layout.OK = {okLeft, top, okLeft + buttonWidth, top + h};
    }
    return layout;
}

// ---- the editor -------------------------------------------------------------------------------------

namespace {
TcxEditClasses BlobEditClasses(bool published)
{
    return TcxCustomDropDownEdit::DropDownClassesWith(
        published ? TcxCustomEditPropertiesClass::Of<TcxBlobEditProperties>()
                  : TcxCustomEditPropertiesClass::Of<TcxCustomBlobEditProperties>());
}
} // namespace

TcxCustomBlobEdit::TcxCustomBlobEdit(TComponent* owner, bool isInplace)
    : TcxCustomPopupEdit(owner, isInplace, BlobEditClasses(false))
{
    Construct();
}

TcxCustomBlobEdit::TcxCustomBlobEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes)
    : TcxCustomPopupEdit(owner, isInplace, classes)
{
    Construct();
}

void TcxCustomBlobEdit::Construct()
{
    TabStop = true;
    // The base constructors made a text view info; the kind's own (with the icon) replaces it.
    RecreateStylesAndViewInfo();
    if (auto* vi = EditViewInfo())
        vi->Edit = this;
}

void TcxCustomBlobEdit::AdjustInnerEditPosition()
{
    if (TWinControl* inner = InnerEdit() ? InnerEdit()->GetControl() : nullptr)
        if (inner->Width() != 0 || inner->Height() != 0)
            inner->SetBounds(0, 0, 0, 0);
}

TcxContainerViewInfoClass TcxCustomBlobEdit::GetViewInfoClass() const
{
    return TcxContainerViewInfoClass::Of<TcxBlobEditViewInfo>();
}

TcxBlobEdit::TcxBlobEdit(TComponent* owner, bool isInplace) : TcxCustomBlobEdit(owner, isInplace, BlobEditClasses(true)) {}

TcxCustomBlobEdit::~TcxCustomBlobEdit() { DestroyPopupControls(); }

void TcxCustomBlobEdit::DestroyPopupControls()
{
    if (Properties() && popupControl_ && Properties()->PopupControl() == popupControl_)
        Properties()->SetPopupControlSilently(nullptr);
    // The popup window frees them as its children when it goes first: only live ones are freed.
    auto release = [](auto*& control, std::weak_ptr<bool>& alive) {
        auto* dying = control;
        control = nullptr;
        if (dying && !alive.expired())
            dying->Free();
        alive.reset();
    };
    release(okButton_, okAlive_);
    release(cancelButton_, cancelAlive_);
    release(popupControl_, popupControlAlive_);
}

void TcxCustomBlobEdit::BeforeDestruction()
{
    if (HasPopupWindowObject() && DroppedDown())
        CloseUp(crUnknown);
    DestroyPopupControls();
    TcxCustomPopupEdit::BeforeDestruction();
}

TGraphicClass TcxCustomBlobEdit::GetGraphicClass(bool pastingFromClipboard)
{
    TcxCustomBlobEditProperties* p = ActiveProperties();
    TGraphicClass result = p->PictureGraphicClass();
    if (!result && pastingFromClipboard)
        result = TGraphicClass::Of<TBitmap>();
    if (IsInplace()) {
        if (p->OnGetGraphicClass.Assigned())
            p->OnGetGraphicClass(this, -1, pastingFromClipboard, result);
    } else if (OnGetGraphicClass.Assigned()) {
        OnGetGraphicClass(this, pastingFromClipboard, result);
    }
    return result;
}

bool TcxCustomBlobEdit::PopupEditable() { return CanModify() && DataBinding()->GetIsDataAvailable(); }

bool TcxCustomBlobEdit::CanDropDown()
{
    ActiveProperties()->CorrectBlobEditKind();
    return popupControl_ != nullptr;
}

void TcxCustomBlobEdit::CreatePopupWindow()
{
    TcxCustomPopupEdit::CreatePopupWindow();
    // The popup closes through the editor (buttons, keys), never through a local loop.
    PopupWindow()->ModalMode = false;
}

void TcxCustomBlobEdit::DoInitPopup()
{
    CreatePopupControls();
    TcxCustomPopupEdit::DoInitPopup();
}

void TcxCustomBlobEdit::PopupControlChanged(TObject*)
{
    popupModified_ = true;
    if (okButton_) {
        okButton_->SetEnabled(true);
        okButton_->Default = true;
    }
}

void TcxCustomBlobEdit::CreatePopupControls()
{
    TcxCustomBlobEditProperties* p = ActiveProperties();
    p->CorrectBlobEditKind();
    const TcxBlobEditKind kind = p->BlobEditKind();
    const bool memo = kind == bekMemo, pict = kind == bekPict;
    const bool fits = (memo && dynamic_cast<TcxPopupMemo*>(popupControl_)) ||
                      (pict && dynamic_cast<TcxPopupImage*>(popupControl_));
    if (!fits)
        DestroyPopupControls();
    if (!memo && !pict)
        return;
    if (!popupControl_) {
        if (memo)
            popupControl_ = new TcxPopupMemo(this, this);
        else
            popupControl_ = new TcxPopupImage(this, this);
        popupControlAlive_ = popupControl_->AliveToken();
        popupControl_->OnEditing = [this](TObject*, bool& allow) { allow = CanModify(); };
        popupControl_->Style()->SetBorderStyle(cbsNone);
        popupControl_->Properties()->OnChange = [this](TObject* sender) { PopupControlChanged(sender); };
    }
    TWinControl* window = PopupWindow();
    popupControl_->SetParent(window);
    popupControl_->Properties()->SetReadOnly(!CanModify());
    Properties()->SetPopupControlSilently(popupControl_);
    Properties()->SetPopupSysPanelStyle(true);
    popupModified_ = false;
    if (auto* m = dynamic_cast<TcxPopupMemo*>(popupControl_)) {
        TcxCustomMemoProperties* mp = m->ActiveProperties();
        mp->SetCharCase(p->MemoCharCase());
        mp->SetMaxLength(p->MemoMaxLength());
        mp->SetOEMConvert(p->MemoOEMConvert());
        mp->SetScrollBars(p->MemoScrollBars());
        mp->SetWantReturns(p->MemoWantReturns());
        mp->SetWantTabs(p->MemoWantTabs());
        mp->SetWordWrap(p->MemoWordWrap());
        Properties()->SetPopupAutoSize(false);
        m->SetEditValue(EditValue());
        m->Font()->Assign(GetVisibleFont());
    } else if (auto* img = dynamic_cast<TcxPopupImage*>(popupControl_)) {
        TcxImageProperties* ip = img->Properties();
        ip->SetShowFocusRect(false);
        ip->SetStretch(true);
        ip->SetCustomFilter(p->PictureFilter());
        ip->SetGraphicTransparency(p->PictureTransparency());
        TcxPopupMenuItems items = ip->PopupMenuLayout()->MenuItems();
        if (!p->ShowPicturePopup())
            items = {};
        else if (!p->ShowExPopupItems())
            items = items - TcxPopupMenuItems{pmiLoad, pmiSave};
        ip->PopupMenuLayout()->SetMenuItems(items);
        ip->SetGraphicClass(p->PictureGraphicClass());
        LoadPicture(img->Picture(), GetGraphicClass(false), EditValue());
        img->SetModified(false);
        Properties()->SetPopupAutoSize(p->PictureAutoSize());
    }
    popupControl_->LookAndFeel()->SetMasterLookAndFeel(PopupControlsLookAndFeel());
    popupModified_ = false;
    CreateButtons();
}

void TcxCustomBlobEdit::CreateButtons()
{
    const bool editable = PopupEditable();
    TWinControl* window = PopupWindow();
    const std::string cancelCaption =
        cxGetResourceString(editable ? &cxSBlobButtonCancel : &cxSBlobButtonClose);
    const std::string okCaption = cxGetResourceString(&cxSBlobButtonOK);
    TFont* font = GetVisibleFont();
    buttonWidth_ = std::max(cxTextWidth(font, cancelCaption + "00"), cxTextWidth(font, okCaption + "00"));
    buttonHeight_ = MulDiv(cxTextHeight(font, "Wg"), 20, 13);
    if (!cancelButton_) {
        cancelButton_ = new TcxButton(this);
        cancelAlive_ = cancelButton_->AliveToken();
        cancelButton_->Cancel = true;
        cancelButton_->ModalResult = mrCancel;
        cancelButton_->OnClick = [this](TObject*) { ClosePopupWith(mrCancel); };
    }
    cancelButton_->SetParent(window);
    cancelButton_->SetCaption(cancelCaption);
    cancelButton_->Font()->Assign(font);
    cancelButton_->LookAndFeel()->SetMasterLookAndFeel(PopupControlsLookAndFeel());
    if (editable && !okButton_) {
        okButton_ = new TcxButton(this);
        okAlive_ = okButton_->AliveToken();
        okButton_->ModalResult = mrOk;
        okButton_->OnClick = [this](TObject*) { ClosePopupWith(mrOk); };
    } else if (!editable && okButton_) {
        TcxButton* b = okButton_;
        okButton_ = nullptr;
        if (!okAlive_.expired())
            b->Free();
    }
    if (okButton_) {
        okButton_->SetParent(window);
        okButton_->SetCaption(okCaption);
        okButton_->Font()->Assign(font);
        okButton_->LookAndFeel()->SetMasterLookAndFeel(PopupControlsLookAndFeel());
        okButton_->SetEnabled(false);
        okButton_->Default = false;
    }
    const int h = buttonHeight_;
    PopupWindow()->SetMinSysPanelHeight(h + h / 3);
    const int perButton = h / 3 + buttonWidth_;
    Properties()->SetPopupMinWidth(vcl::System().GetSystemMetrics(SM_CXVSCROLL) + perButton * (okButton_ ? 2 : 1) +
                                   h / 2);
}

void TcxCustomBlobEdit::SetupPopupWindow()
{
    EditStyle()->SetPopupCloseButton(false);
    TcxCustomPopupEdit::SetupPopupWindow();
}

void TcxCustomBlobEdit::PlaceButtons()
{
    if (!cancelButton_ || !HasPopupWindowObject())
        return;
    TcxCustomEditPopupWindow* w = PopupWindow();
    w->CalculateViewInfo();
    TcxCustomEditPopupWindowViewInfo* vi = w->EditViewInfo();
    const TcxBlobButtonsLayout layout = cxBlobCalcButtons(vi->SizeGripRect, vi->SizeGripCorner, w->Width(),
                                                          buttonWidth_, buttonHeight_, w->MinSysPanelHeight(),
                                                          okButton_ != nullptr);
    cancelButton_->SetBounds(layout.Cancel.Left, layout.Cancel.Top, layout.Cancel.Width(), layout.Cancel.Height());
    if (okButton_)
        okButton_->SetBounds(layout.OK.Left, layout.OK.Top, layout.OK.Width(), layout.OK.Height());
}

void TcxCustomBlobEdit::PositionPopupWindowChilds(const TRect& clientRect)
{
    TcxCustomPopupEdit::PositionPopupWindowChilds(clientRect);
    PlaceButtons();
}

TSize TcxCustomBlobEdit::GetPopupWindowClientPreferredSize()
{
    auto* img = dynamic_cast<TcxPopupImage*>(popupControl_);
    if (img && ActiveProperties()->PictureAutoSize() && img->Picture()->GetGraphic())
        return {img->Picture()->GetWidth() + 4, img->Picture()->GetHeight() + 4};
    return TcxCustomPopupEdit::GetPopupWindowClientPreferredSize();
}

void TcxCustomBlobEdit::PopupWindowShowed(TObject* sender)
{
    TcxCustomPopupEdit::PopupWindowShowed(sender);
    PlaceButtons();
}

bool TcxCustomBlobEdit::PopupControlClosesOnKey(std::uint16_t key, TShiftState)
{
    // The memo and the picture decide on their closing keys themselves (Enter may be a new line).
    return popupControl_ && (key == VK_RETURN || key == VK_ESCAPE || key == VK_F4 || key == VK_UP || key == VK_DOWN);
}

TModalResult TcxCustomBlobEdit::BlobPopupKeyResult(std::uint16_t key, TShiftState shift)
{
    const bool alt = shift.Contains(ssAlt);
    if ((key == VK_F4 && !alt) || ((key == VK_UP || key == VK_DOWN) && alt))
        return ActiveProperties()->AlwaysSaveData() ? mrOk : mrCancel;
    if (key == VK_ESCAPE)
        return mrCancel;
    if (key == VK_RETURN && (shift.Contains(ssCtrl) || !dynamic_cast<TcxPopupMemo*>(popupControl_) ||
                             !ActiveProperties()->MemoWantReturns()))
        return mrOk;
    return mrNone;
}

bool TcxCustomBlobEdit::HandleBlobPopupKey(std::uint16_t key, TShiftState shift)
{
    const TModalResult result = BlobPopupKeyResult(key, shift);
    if (HasPopupWindowObject())
        PopupWindow()->SetModalResult(result);
    if (result == mrNone)
        return false;
    ClosePopupWith(result);
    return true;
}

void TcxCustomBlobEdit::ClosePopupWith(TModalResult result)
{
    if (!HasPopupWindowObject() || !DroppedDown())
        return;
    PopupWindow()->SetModalResult(result);
    CloseUp(result == mrOk ? crEnter : result == mrCancel ? crCancel : crClose);
}

void TcxCustomBlobEdit::SaveStorage()
{
    TcxCustomBlobEditProperties* p = ActiveProperties();
    const TModalResult result = HasPopupWindowObject() ? PopupWindow()->ModalResult() : mrNone;
    if (!popupControl_ || !popupModified_)
        return;
    if (!(result == mrOk || (p->AlwaysSaveData() && result != mrCancel)))
        return;
    if (!PopupEditable() || !DoEditing())
        return;
    LockChangeEvents(true);
    try {
        if (auto* m = dynamic_cast<TcxPopupMemo*>(popupControl_)) {
            std::string text;
            const std::vector<std::string> lines = m->Lines();
            for (std::size_t i = 0; i < lines.size(); ++i)
                text += (i ? "\r\n" : "") + lines[i];
            InternalSetEditValue(Variant(text), false);
        } else if (auto* img = dynamic_cast<TcxPopupImage*>(popupControl_)) {
            TGraphic* g = img->Picture()->GetGraphic();
            storedGraphicClass_ = g ? TGraphicClass::FromMeta(&g->ClassType()) : TGraphicClass();
            InternalSetEditValue(img->EditValue(), false);
        }
        SetModifiedAfterEnter(true);
        if (auto* img = dynamic_cast<TcxPopupImage*>(popupControl_)) {
            if (p->OnAssignPicture.Assigned())
                p->OnAssignPicture(this, img->Picture());
        }
        if (p->ImmediatePost() && CanPostEditValue() && ValidateEdit(true))
            InternalPostEditValue();
    } catch (...) {
        LockChangeEvents(false);
        throw;
    }
    LockChangeEvents(false);
}

void TcxCustomBlobEdit::PopupWindowClosed(TObject* sender)
{
    SaveStorage();
    popupModified_ = false;
    TcxCustomPopupEdit::PopupWindowClosed(sender);
}

void TcxCustomBlobEdit::DoPopupControlChar(char16_t key)
{
    auto* m = dynamic_cast<TcxPopupMemo*>(popupControl_);
    if (!m || !PopupEditable() || m->ActiveProperties()->GetReadOnly())
        return;   // a read-only memo and the picture drop it
    if (ActiveProperties()->MemoAutoReplace()) {
        m->SetEditValue(Variant(Utf16ToUtf8(std::u16string(1, key))));
        m->SetSelStart(1);
        m->SetModifiedAfterEnter(true);
        PopupControlChanged(m);
    } else {
        vcl::PostMessage(m->InnerEdit()->GetControl()->Handle(), WM_CHAR, key);
    }
}

// ---- text access ------------------------------------------------------------------------------------

std::string TcxCustomBlobEdit::Text()
{
    if (ActiveProperties()->BlobEditKind() == bekMemo && popupControl_)
        return static_cast<TcxPopupMemo*>(popupControl_)->Text();
    return {};
}

bool TcxCustomBlobEdit::SetDisplayText(const std::string& value)
{
    if (ActiveProperties()->BlobEditKind() == bekMemo && popupControl_)
        return static_cast<TcxPopupMemo*>(popupControl_)->SetDisplayText(value);
    return false;
}

Variant TcxCustomBlobEdit::GetDisplayValue()
{
    if (ActiveProperties()->BlobEditKind() == bekMemo && popupControl_)
        return static_cast<TcxPopupMemo*>(popupControl_)->GetDisplayValue();
    return Variant(std::string());
}

Variant TcxCustomBlobEdit::InternalGetEditingValue()
{
    if (DroppedDown() && dynamic_cast<TcxPopupImage*>(popupControl_))
        return popupControl_->EditValue();
    if (ActiveProperties()->BlobEditKind() == bekMemo && popupControl_)
        return popupControl_->GetEditingValue();
    return EditValue();
}

// ---- filter helper and start-up -----------------------------------------------------------------------

TcxFilterControlOperators TcxFilterBlobEditHelper::GetSupportedFilterOperators(TcxCustomEditProperties* properties,
                                                                               TcxValueTypeClass, bool) const
{
    TcxFilterControlOperators result{fcoBlanks, fcoNonBlanks};
    auto* p = dynamic_cast<TcxBlobEditProperties*>(properties);
    if (p && p->BlobEditKind() == bekMemo)
        result = result + TcxFilterControlOperators{fcoLike, fcoNotLike};
    return result;
}

namespace cxBlobEditUnit {
namespace {
int counter = 0;
} // namespace

void Initialize()
{
    if (counter++ > 0)
        return;
    cxBlobEditImages();
    GetRegisteredEditProperties()->Register(TcxCustomEditPropertiesClass::Of<TcxBlobEditProperties>().Meta(),
                                            cxGetResourceString(&scxSEditRepositoryBlobItem));
    TcxCustomEditClass::Of<TcxBlobEdit>();
}

void Finalize()
{
    if (counter == 0 || --counter > 0)
        return;
    if (TcxRegisteredClasses* r = GetRegisteredEditProperties())
        r->Unregister(&TcxBlobEditProperties::StaticClass());
    blobImages.reset();
}
} // namespace cxBlobEditUnit

} // namespace cx
