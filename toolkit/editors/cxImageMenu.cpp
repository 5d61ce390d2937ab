// The image editor's context menu: the menu layout the properties keep, the six menu pictures
// drawn by code, the menu itself (captions, visibility, enabling, the custom item) and the unit's
// start-up.
#include "toolkit/editors/cxImage.h"

#include "toolkit/editors/cxEditConsts.h"

#include <memory>

namespace cx {

namespace {

int unitCounter = 0;
std::unique_ptr<TImageList> menuImages;

// The corner colour of every picture: it is left out when the list draws them.
constexpr TColor kMaskColor = clFuchsia;
constexpr int kImageSize = 16;

void Line(TCanvas* c, TColor color, int x1, int y1, int x2, int y2)
{
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
    c->SetPixel(x2, y2, color);
}

void Box(TCanvas* c, const TRect& r, TColor fill, TColor frame)
{
    c->Brush()->SetColor(fill);
    c->Pen()->SetColor(frame);
    c->Rectangle(r);
}

void DrawCut(TCanvas* c)
{
    // Scissors: two blades crossing above two handles.
    Line(c, clNavy, 5, 1, 9, 9);
    Line(c, clNavy, 10, 1, 6, 9);
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(clNavy);
    c->Ellipse(2, 9, 8, 15);
    c->Ellipse(8, 9, 14, 15);
    c->Brush()->SetStyle(bsSolid);
}

void DrawCopy(TCanvas* c)
{
    // Two pages, the second over the first.
    Box(c, {1, 1, 10, 12}, clWhite, clNavy);
    Box(c, {6, 4, 15, 15}, clWhite, clNavy);
    for (int y = 7; y <= 12; y += 2)
        Line(c, clGray, 8, y, 12, y);
}

void DrawPaste(TCanvas* c)
{
    // A clipboard with a page on it.
    Box(c, {1, 2, 12, 15}, clOlive, clMaroon);
    Box(c, {4, 1, 9, 4}, clSilver, clBlack);
    Box(c, {6, 6, 15, 15}, clWhite, clNavy);
    for (int y = 9; y <= 12; y += 2)
        Line(c, clGray, 8, y, 12, y);
}

void DrawDelete(TCanvas* c)
{
    // A red cross, two pixels thick.
    for (int d = 0; d < 2; ++d) {
        Line(c, clRed, 3 + d, 3, 12 + d, 12);
        Line(c, clRed, 12 + d, 3, 3 + d, 12);
    }
}

void DrawLoad(TCanvas* c)
{
    // An open folder.
    Box(c, {1, 4, 13, 14}, clOlive, clBlack);
    Box(c, {1, 3, 6, 5}, clOlive, clBlack);
    const TPoint flap[] = {{3, 7}, {15, 7}, {13, 13}, {1, 13}};
    c->Brush()->SetColor(clYellow);
    c->Pen()->SetColor(clBlack);
    c->Polygon(flap, 3);
}

void DrawSave(TCanvas* c)
{
    // A disk: the body, its label and the shutter.
    Box(c, {1, 1, 15, 15}, clNavy, clBlack);
    Box(c, {3, 2, 13, 8}, clWhite, clWhite);
    Box(c, {4, 10, 12, 15}, clSilver, clSilver);
    Box(c, {9, 11, 11, 14}, clNavy, clNavy);
}

void BuildMenuImages()
{
    menuImages = std::make_unique<TImageList>(nullptr);
    menuImages->SetWidth(kImageSize);
    menuImages->SetHeight(kImageSize);
    void (*const painters[])(TCanvas*) = {DrawCut, DrawCopy, DrawPaste, DrawDelete, DrawLoad, DrawSave};
    for (auto paint : painters) {
        TBitmap bitmap;
        bitmap.SetPixelFormat(pf24bit);
        bitmap.SetSize(kImageSize, kImageSize);
        TCanvas* c = bitmap.Canvas();
        c->Brush()->SetColor(kMaskColor);
        c->FillRect({0, 0, kImageSize, kImageSize});
        paint(c);
        menuImages->AddMasked(&bitmap, kMaskColor);
    }
}

} // namespace

TImageList* cxImageMenuImages()
{
    if (!menuImages)
        BuildMenuImages();
    return menuImages.get();
}

// ---- the menu layout --------------------------------------------------------------------------

TcxPopupMenuLayout::~TcxPopupMenuLayout() { delete glyph_; }

void TcxPopupMenuLayout::Assign(TPersistent* source)
{
    auto* layout = dynamic_cast<TcxPopupMenuLayout*>(source);
    if (!layout) {
        TPersistent::Assign(source);
        return;
    }
    menuItems_ = layout->menuItems_;
    customCaption_ = layout->customCaption_;
    SetCustomMenuItemGlyph(layout->glyph_);
}

void TcxPopupMenuLayout::Changed()
{
    if (auto* properties = dynamic_cast<TcxCustomEditProperties*>(owner_))
        properties->Changed();
}

void TcxPopupMenuLayout::SetMenuItems(TcxPopupMenuItems value)
{
    if (menuItems_ != value) {
        menuItems_ = value;
        Changed();
    }
}

void TcxPopupMenuLayout::SetCustomMenuItemCaption(const std::string& value)
{
    if (customCaption_ != value) {
        customCaption_ = value;
        Changed();
    }
}

TBitmap* TcxPopupMenuLayout::CustomMenuItemGlyph()
{
    if (!glyph_)
        glyph_ = new TBitmap();
    return glyph_;
}

void TcxPopupMenuLayout::SetCustomMenuItemGlyph(TBitmap* value)
{
    if (!value) {
        delete glyph_;
        glyph_ = nullptr;
    } else {
        CustomMenuItemGlyph()->Assign(value);
    }
    Changed();
}

// ---- the editor's context menu ----------------------------------------------------------------

namespace {
// The items in menu order: the six standard ones (tag = their TcxPopupMenuItem), two separators
// (tag -1) and the custom item.
constexpr int kSeparator = -1;
constexpr int kMenuOrder[] = {pmiCut, pmiCopy, pmiPaste, pmiDelete, kSeparator, pmiLoad, pmiSave, kSeparator, pmiCustom};
const TResStringRec* const kCaptions[] = {&cxSMenuItemCaptionCut,    &cxSMenuItemCaptionCopy,
                                          &cxSMenuItemCaptionPaste,  &cxSMenuItemCaptionDelete,
                                          &cxSMenuItemCaptionLoad,   &cxSMenuItemCaptionSave};
} // namespace

void TcxCustomImage::CreateContextMenu()
{
    // A standard item's tag is its TcxPopupMenuItem, which is also its picture's index in
    // cxImageMenuImages().
    menu_ = new TPopupMenu(nullptr);
    for (int tag : kMenuOrder) {
        auto* item = new TMenuItem(menu_);
        item->Tag = tag;
        if (tag == kSeparator)
            item->Caption = "-";
        item->OnClick = TNotifyEvent(this, &TcxCustomImage::MenuClick);
        menu_->Items()->Add(item);
    }
}

void TcxCustomImage::UpdateContextMenu()
{
    if (!menu_)
        CreateContextMenu();
    TcxCustomImageProperties* props = ActiveProperties();
    TcxPopupMenuLayout* layout = props->PopupMenuLayout();
    const TcxPopupMenuItems shown = layout->MenuItems();
    const bool canModify = CanModify();
    const bool empty = picture_->IsEmpty();
    const bool icon = GetGraphicClass(false) == TGraphicClass::Of<TIcon>();
    TMenuItem* items = menu_->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TMenuItem* item = items->Items(i);
        const int tag = int(item->Tag);
        if (tag == kSeparator) {
            // The first separator goes with Load or Save, the second with the custom item.
            item->Visible = i < 5 ? shown.Contains(pmiLoad) || shown.Contains(pmiSave) : shown.Contains(pmiCustom);
            continue;
        }
        const auto kind = TcxPopupMenuItem(tag);
        item->Visible = shown.Contains(kind);
        if (kind == pmiCustom) {
            item->Caption = layout->CustomMenuItemCaption();
            item->Enabled = true;
            continue;
        }
        item->Caption = cxGetResourceString(kCaptions[tag]);
        switch (kind) {
        case pmiCut: item->Enabled = canModify && !empty && !icon; break;
        case pmiCopy: item->Enabled = !empty && !icon; break;
        case pmiPaste: item->Enabled = canModify && CanPasteFromClipboard(); break;
        case pmiDelete: item->Enabled = canModify && !empty; break;
        case pmiLoad: item->Enabled = canModify; break;
        case pmiSave: item->Enabled = !empty; break;
        default: break;
        }
    }
}

void TcxCustomImage::ShowContextMenu(const TPoint& clientPoint)
{
    UpdateContextMenu();
    const TPoint s = ClientToScreen(clientPoint);
    menu_->PopupComponent = this;
    menu_->Popup(s.X, s.Y);
}

void TcxCustomImage::DoContextPopup(TPoint mousePos, bool& handled)
{
    if (PopupMenu() || ActiveProperties()->PopupMenuLayout()->MenuItems().Empty()) {
        TcxCustomEdit::DoContextPopup(mousePos, handled);
        return;
    }
    vcl::FireEvent(OnContextPopup, this, mousePos, handled);
    if (handled)
        return;
    // From the keyboard the menu opens near the top-left corner.
    if (mousePos.X == -1 && mousePos.Y == -1)
        mousePos = {10, 10};
    handled = true;
    ShowContextMenu(mousePos);
}

void TcxCustomImage::MenuClick(TObject* sender)
{
    auto* item = static_cast<TMenuItem*>(sender);
    action_ = TAction::Menu;
    try {
        switch (int(item->Tag)) {
        case pmiCut: CutToClipboard(); break;
        case pmiCopy: CopyToClipboard(); break;
        case pmiPaste: PasteFromClipboard(); break;
        case pmiDelete: ClearPicture(); break;
        case pmiLoad: LoadFromFile(); break;
        case pmiSave: SaveToFile(); break;
        case pmiCustom: CustomClick(); break;
        default: break;
        }
    } catch (...) {
        action_ = TAction::None;
        throw;
    }
    action_ = TAction::None;
}

// ---- unit -------------------------------------------------------------------------------------

namespace cxImageUnit {

void Initialize()
{
    if (unitCounter++ != 0)
        return;
    cxImageMenuImages();
    GetRegisteredEditProperties()->Register(TcxCustomEditPropertiesClass::Of<TcxImageProperties>().Meta(),
                                            "Image|Represents an image editor");
}

void Finalize()
{
    if (unitCounter <= 0 || --unitCounter != 0)
        return;
    GetRegisteredEditProperties()->Unregister(TcxCustomEditPropertiesClass::Of<TcxImageProperties>().Meta());
    menuImages.reset();
}

} // namespace cxImageUnit

} // namespace cx
