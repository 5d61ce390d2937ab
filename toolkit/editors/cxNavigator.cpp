// The navigator's button model, its notifier, the drawn picture strip and the unit's start-up.
#include "toolkit/editors/cxNavigator.h"

#include "toolkit/core/cxGraphicsImages.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

// ---- the picture strip ----

namespace {

TImageList* navigatorImages = nullptr;

// Draws the pictures of the 16 buttons in black on olive, one 12 x 11 cell each.
class GlyphPen {
public:
    GlyphPen(TCanvas* canvas, int cell) : canvas_(canvas), x0_(cell * cxNavigatorImageWidth) {}
    void Px(int x, int y) { canvas_->SetPixel(x0_ + x, y, clBlack); }
    void HLine(int x1, int x2, int y)
    {
        for (int x = x1; x <= x2; ++x)
            Px(x, y);
    }
    void VLine(int x, int y1, int y2)
    {
        for (int y = y1; y <= y2; ++y)
            Px(x, y);
    }
    // Triangles nine rows high (rows 1 to 9) and five columns wide, the tip at column `tip`.
    void LeftTriangle(int tip)
    {
        for (int y = 1; y <= 9; ++y)
            HLine(tip + std::abs(y - 5), tip + 4, y);
    }
    void RightTriangle(int tip)
    {
        for (int y = 1; y <= 9; ++y)
            HLine(tip - 4, tip - std::abs(y - 5), y);
    }
    void Plus(int cx, int cy)
    {
        HLine(cx - 3, cx + 3, cy);
        VLine(cx, cy - 3, cy + 3);
    }

private:
    TCanvas* canvas_;
    int x0_;
};

void DrawNavigatorGlyphs(TCanvas* c)
{
    { GlyphPen g(c, nbiFirst); g.VLine(2, 1, 9); g.LeftTriangle(4); }
    { GlyphPen g(c, nbiPriorPage); g.LeftTriangle(1); g.LeftTriangle(6); }
    { GlyphPen g(c, nbiPrior); g.LeftTriangle(4); }
    { GlyphPen g(c, nbiNext); g.RightTriangle(7); }
    { GlyphPen g(c, nbiNextPage); g.RightTriangle(5); g.RightTriangle(10); }
    { GlyphPen g(c, nbiLast); g.RightTriangle(7); g.VLine(9, 1, 9); }
    { GlyphPen g(c, nbiInsert); g.Plus(5, 5); }
    { GlyphPen g(c, nbiAppend); g.Plus(5, 4); g.HLine(1, 10, 9); }
    { GlyphPen g(c, nbiDelete); g.HLine(2, 9, 4); g.HLine(2, 9, 5); }
    {
        GlyphPen g(c, nbiEdit); // a triangle pointing up
        for (int k = 0; k < 5; ++k)
            g.HLine(5 - k, 6 + k, 3 + k);
    }
    {
        GlyphPen g(c, nbiPost); // a check mark
        const int ys[] = {5, 6, 7, 6, 5, 4, 3, 2};
        for (int i = 0; i < 8; ++i)
            g.VLine(2 + i, ys[i], ys[i] + 1);
    }
    {
        GlyphPen g(c, nbiCancel); // a cross
        for (int i = 0; i < 8; ++i) {
            g.HLine(2 + i, 3 + i, 1 + i);
            g.HLine(8 - i, 9 - i, 1 + i);
        }
    }
    {
        GlyphPen g(c, nbiRefresh); // a loop with an arrow head at its open end
        g.HLine(3, 8, 1);
        g.HLine(3, 8, 9);
        g.VLine(1, 3, 7);
        g.VLine(10, 4, 7);
        g.Px(2, 2); g.Px(2, 8); g.Px(9, 8);
        g.HLine(8, 11, 3); g.HLine(9, 10, 2); g.Px(9, 1);
    }
    {
        GlyphPen g(c, nbiSaveBookmark); // a filled ribbon
        for (int y = 1; y <= 7; ++y)
            g.HLine(3, 8, y);
        g.HLine(3, 4, 8); g.HLine(7, 8, 8);
        g.Px(3, 9); g.Px(8, 9);
    }
    {
        GlyphPen g(c, nbiGotoBookmark); // an open ribbon and an arrow
        g.HLine(1, 5, 1);
        g.VLine(1, 1, 9);
        g.VLine(5, 1, 9);
        g.Px(2, 8); g.Px(4, 8); g.Px(3, 7);
        for (int y = 3; y <= 7; ++y)
            g.HLine(7, 10 - std::abs(y - 5), y);
    }
    {
        GlyphPen g(c, nbiFilter); // a funnel
        g.HLine(1, 10, 1);
        g.HLine(2, 9, 2);
        g.HLine(3, 8, 3);
        g.HLine(4, 7, 4);
        for (int y = 5; y <= 9; ++y)
            g.HLine(5, 6, y);
    }
}

} // namespace

TCustomImageList* NavigatorImages()
{
    if (!navigatorImages) {
        auto* list = new TImageList(nullptr);
        list->SetWidth(cxNavigatorImageWidth);
        list->SetHeight(cxNavigatorImageHeight);
        TBitmap strip;
        strip.SetPixelFormat(pf32bit);
        strip.SetSize(cxNavigatorImageWidth * cxNavigatorImageCount, cxNavigatorImageHeight);
        strip.Canvas()->Brush()->SetColor(clOlive);
        strip.Canvas()->FillRect({0, 0, strip.GetWidth(), strip.GetHeight()});
        DrawNavigatorGlyphs(strip.Canvas());
        list->AddMasked(&strip, clOlive);
        navigatorImages = list;
    }
    return navigatorImages;
}

namespace cxNavigatorUnit {
void Initialize() {}
void Finalize()
{
    if (navigatorImages) {
        navigatorImages->Free();
        navigatorImages = nullptr;
    }
}
} // namespace cxNavigatorUnit

// ---- buttons ----

TcxNavigatorButton::TcxNavigatorButton(TcxCustomNavigatorButtons* buttons, int buttonIndex, bool visibleByDefault)
    : buttons_(buttons), buttonIndex_(buttonIndex), visibleByDefault_(visibleByDefault), visible_(visibleByDefault)
{
}

IcxNavigatorOwner* TcxNavigatorButton::Navigator() const { return buttons_->Navigator(); }

TPersistent* TcxNavigatorButton::GetOwner() { return buttons_; }

void TcxNavigatorButton::Assign(TPersistent* source)
{
    auto* b = dynamic_cast<TcxNavigatorButton*>(source);
    if (!b)
        return TPersistent::Assign(source);
    SetEnabled(b->enabled_);
    SetHint(b->hint_);
    SetImageIndex(b->imageIndex_);
    SetVisible(b->visible_);
    visibleSetExplicitly_ = b->visibleSetExplicitly_;
    SetOnClick(b->onClick_);
}

void TcxNavigatorButton::SetEnabled(bool value)
{
    enabled_ = value;
    if (visible_)
        Navigator()->RefreshNavigator();
    Navigator()->NavigatorChanged(nctLayout);
}

void TcxNavigatorButton::SetImageIndex(int value)
{
    imageIndex_ = value;
    if (visible_)
        Navigator()->RefreshNavigator();
    Navigator()->NavigatorChanged(nctLayout);
}

void TcxNavigatorButton::SetHint(const std::string& value)
{
    if (AnsiCompareStr(hint_, value) == 0)
        return;
    hint_ = value;
    Navigator()->NavigatorChanged(nctProperties);
}

void TcxNavigatorButton::SetOnClick(TNotifyEvent value)
{
    onClick_ = value;
    Navigator()->NavigatorChanged(nctProperties);
}

void TcxNavigatorButton::InternalSetVisible(bool value, bool restoring)
{
    if (!restoring)
        visibleSetExplicitly_ = true;
    if (visible_ == value)
        return;
    visible_ = value;
    Navigator()->RefreshNavigator();
    Navigator()->NavigatorChanged(nctSize);
}

void TcxNavigatorButton::RestoreDefaultVisible(bool value)
{
    if (!visibleSetExplicitly_)
        InternalSetVisible(value && visibleByDefault_, true);
}

void TcxNavigatorButton::Click()
{
    if (GetInternalEnabled())
        DoClick();
}

void TcxNavigatorButton::DoClick()
{
    if (onClick_) {
        onClick_(this);
        return;
    }
    bool done = false;
    TcxNavigatorButtonClickEvent handler = buttons_->OnButtonClick();
    if (handler)
        handler(buttons_, buttonIndex_, done);
    if (!done)
        buttons_->DoButtonClick(buttonIndex_);
}

bool TcxNavigatorButton::GetInternalEnabled() { return enabled_ && buttons_->GetButtonEnabled(buttonIndex_); }

std::string TcxNavigatorButton::GetInternalHint()
{
    return hint_.empty() ? buttons_->GetButtonHint(buttonIndex_) : hint_;
}

bool TcxNavigatorButton::IsUserImageListUsed() { return buttons_->Images() && imageIndex_ >= 0; }

TCustomImageList* TcxNavigatorButton::GetInternalImages()
{
    return IsUserImageListUsed() ? buttons_->Images() : NavigatorImages();
}

int TcxNavigatorButton::GetInternalImageIndex() { return IsUserImageListUsed() ? imageIndex_ : buttonIndex_; }

// No skin painter exists here, so the size is always the images' own.
TSize TcxNavigatorButton::GetImageSize()
{
    TCustomImageList* images = GetInternalImages();
    return {images->GetWidth(), images->GetHeight()};
}

// ---- the collection ----

TcxCustomNavigatorButtons::TcxCustomNavigatorButtons(IcxNavigatorOwner* navigator) : navigator_(navigator)
{
    imageChangeLink_ = std::make_unique<TChangeLink>();
    imageChangeLink_->OnChange = [this](TObject* sender) { ImageListChange(sender); };
    for (int i = 0; i < cxNavigatorButtonCount; ++i)
        buttons_.push_back(std::make_unique<TcxNavigatorButton>(this, i, i != nbiAppend));
}

TcxCustomNavigatorButtons::~TcxCustomNavigatorButtons()
{
    if (images_) {
        images_->UnRegisterChanges(imageChangeLink_.get());
        if (TComponent* owner = navigator_->GetNavigatorOwner())
            images_->RemoveFreeNotification(owner);
    }
}

void TcxCustomNavigatorButtons::ImageListChange(TObject*) { navigator_->RefreshNavigator(); }

TPersistent* TcxCustomNavigatorButtons::GetOwner() { return navigator_->GetNavigatorOwner(); }

void TcxCustomNavigatorButtons::Assign(TPersistent* source)
{
    auto* b = dynamic_cast<TcxCustomNavigatorButtons*>(source);
    if (!b)
        return TPersistent::Assign(source);
    for (int i = 0; i < cxNavigatorButtonCount; ++i)
        Buttons(i)->Assign(b->Buttons(i));
    SetConfirmDelete(b->confirmDelete_);
    SetImages(b->images_);
    SetOnButtonClick(b->onButtonClick_);
}

void TcxCustomNavigatorButtons::SetConfirmDelete(bool value)
{
    confirmDelete_ = value;
    navigator_->NavigatorChanged(nctProperties);
}

void TcxCustomNavigatorButtons::SetImages(TCustomImageList* value)
{
    cxSetImageList(value, images_, imageChangeLink_.get(), navigator_->GetNavigatorOwner());
    navigator_->NavigatorChanged(nctLayout);
}

void TcxCustomNavigatorButtons::ImageListFreed()
{
    images_ = nullptr;
    navigator_->RefreshNavigator();
    navigator_->NavigatorChanged(nctLayout);
}

void TcxCustomNavigatorButtons::SetOnButtonClick(TcxNavigatorButtonClickEvent value)
{
    onButtonClick_ = value;
    navigator_->NavigatorChanged(nctProperties);
}

bool TcxCustomNavigatorButtons::GetButtonEnabled(int)
{
    TWinControl* control = navigator_->GetNavigatorControl();
    return control && control->Enabled();
}

std::string TcxCustomNavigatorButtons::GetButtonHint(int index)
{
    static const TResStringRec* const hints[cxNavigatorButtonCount] = {
        &cxNavigatorHint_First,  &cxNavigatorHint_PriorPage,    &cxNavigatorHint_Prior,
        &cxNavigatorHint_Next,   &cxNavigatorHint_NextPage,     &cxNavigatorHint_Last,
        &cxNavigatorHint_Insert, &cxNavigatorHint_Append,       &cxNavigatorHint_Delete,
        &cxNavigatorHint_Edit,   &cxNavigatorHint_Post,         &cxNavigatorHint_Cancel,
        &cxNavigatorHint_Refresh, &cxNavigatorHint_SaveBookmark, &cxNavigatorHint_GotoBookmark,
        &cxNavigatorHint_Filter};
    if (index < 0 || index >= cxNavigatorButtonCount)
        return {};
    return cxGetResourceString(hints[index]);
}

// ---- control-linked buttons ----

bool TcxNavigatorControlButtons::GetButtonEnabled(int index)
{
    IcxNavigator* nav = GetControl();
    if (!nav || !TcxCustomNavigatorButtons::GetButtonEnabled(index))
        return false;
    if (!nav->NavigatorIsActive())
        return index == nbiFilter;
    switch (index) {
    case nbiFirst:
    case nbiPriorPage:
    case nbiPrior: return !nav->NavigatorIsBof();
    case nbiNext:
    case nbiNextPage:
    case nbiLast: return !nav->NavigatorIsEof();
    case nbiInsert: return nav->NavigatorCanInsert();
    case nbiAppend: return nav->NavigatorCanAppend();
    case nbiDelete: return nav->NavigatorCanDelete();
    case nbiEdit: return nav->NavigatorCanEdit() && !nav->NavigatorIsEditing();
    case nbiPost:
    case nbiCancel: return nav->NavigatorIsEditing();
    case nbiGotoBookmark: return nav->NavigatorIsBookmarkAvailable();
    default: return true;
    }
}

void TcxNavigatorControlButtons::DoButtonClick(int index)
{
    if (IcxNavigator* nav = GetControl()) {
        const bool confirmed =
            index != nbiDelete || !ConfirmDelete() ||
            MessageDlg(cxGetResourceString(&cxNavigator_DeleteRecordQuestion), mtConfirmation,
                       TMsgDlgButtons{mbOK, mbCancel}, 0) == mrOk;
        if (confirmed)
            nav->NavigatorDoAction(index);
    }
    Navigator()->NavigatorButtonsStateChanged();
}

void TcxNavigatorControlButtons::ReleaseBookmark()
{
    IcxNavigator* nav = GetControl();
    if (nav && nav->NavigatorIsBookmarkAvailable())
        nav->NavigatorClearBookmark();
}

// ---- notifier ----

void TcxNavigatorControlNotifier::AddNavigator(IcxNavigatorOwner* navigator)
{
    if (navigator && std::find(list_.begin(), list_.end(), navigator) == list_.end())
        list_.push_back(navigator);
}

void TcxNavigatorControlNotifier::RemoveNavigator(IcxNavigatorOwner* navigator)
{
    list_.erase(std::remove(list_.begin(), list_.end(), navigator), list_.end());
}

void TcxNavigatorControlNotifier::RefreshNavigatorButtons()
{
    // A navigator may unlink itself while it is told; walk a copy and skip the ones gone.
    const std::vector<IcxNavigatorOwner*> copy = list_;
    for (IcxNavigatorOwner* n : copy)
        if (std::find(list_.begin(), list_.end(), n) != list_.end())
            n->NavigatorButtonsStateChanged();
}

} // namespace cx
