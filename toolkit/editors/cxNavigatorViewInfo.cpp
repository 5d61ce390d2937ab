// The navigator's view info: layout of the visible buttons as one group, painting through the
// look-and-feel painter, mouse tracking, the Prior/Next auto-repeat and the navigator's own hints.
#include "toolkit/editors/cxNavigator.h"

#include "platform/vcl/SystemFacade.h"
#include "toolkit/core/cxGraphicsBitmaps.h"
#include "toolkit/core/cxGraphicsImages.h"
#include "toolkit/core/cxGraphicsShared.h"
#include "toolkit/controls/cxContainer.h"

namespace cx {

namespace {
constexpr unsigned kFirstRepeatDelay = 400, kRepeatInterval = 100, kHintPause = 500;

std::string ShortHint(const std::string& hint) { return hint.substr(0, hint.find('|')); }
} // namespace

TcxNavigatorViewInfo::TcxNavigatorViewInfo(IcxNavigatorOwner* navigator, bool inPlaceMode)
    : navigator_(navigator), inPlaceMode_(inPlaceMode)
{
    pressTimer_ = new TcxTimer(nullptr);
    pressTimer_->SetEnabled(false);
    pressTimer_->SetOnTimer(TNotifyEvent(this, &TcxNavigatorViewInfo::ButtonPressTimerTick));
    hintTimer_ = new TcxTimer(nullptr);
    hintTimer_->SetEnabled(false);
    hintTimer_->SetInterval(kHintPause);
    hintTimer_->SetOnTimer(TNotifyEvent(this, &TcxNavigatorViewInfo::HintTimerTick));
}

TcxNavigatorViewInfo::~TcxNavigatorViewInfo()
{
    pressTimer_->Free();
    hintTimer_->Free();
    if (hintWindow_)
        hintWindow_->Free();
}

TcxCustomLookAndFeelPainterClass TcxNavigatorViewInfo::Painter() const
{
    return navigator_->GetNavigatorLookAndFeel()->GetPainter();
}

// ---- layout ----

void TcxNavigatorViewInfo::CheckSize(int& width, int& height, bool withImageHeight)
{
    isDirty_ = true;
    TcxNavigatorButton* hot = hotButton_ ? hotButton_->NavButton : nullptr;
    TcxNavigatorButton* pressed = pressedButton_ ? pressedButton_->NavButton : nullptr;
    hotButton_ = pressedButton_ = nullptr;

    TcxCustomNavigatorButtons* buttons = Buttons();
    std::vector<TcxNavigatorButton*> visible;
    for (int i = 0; i < buttons->ButtonCount(); ++i)
        if (buttons->Buttons(i)->Visible())
            visible.push_back(buttons->Buttons(i));
    viewInfos_.resize(visible.size());
    for (auto& vi : viewInfos_)
        if (!vi)
            vi = std::make_unique<TcxNavigatorButtonViewInfo>();

    // The extents of a middle button of three stand for every button.
    const TRect border = Painter()->ButtonGroupBorderSizes(3, 1);
    std::vector<int> widths;
    int sum = 0, tallest = 0;
    for (std::size_t k = 0; k < visible.size(); ++k) {
        TcxNavigatorButtonViewInfo* vi = viewInfos_[k].get();
        vi->NavButton = visible[k];
        if (visible[k] == hot)
            hotButton_ = vi;
        if (visible[k] == pressed)
            pressedButton_ = vi;
        const TSize image = visible[k]->GetImageSize();
        const int w = image.cx + border.Left + border.Right + 1;
        const int h = border.Top + border.Bottom + 1 + (withImageHeight ? image.cy : 0);
        widths.push_back(w);
        sum += w;
        tallest = std::max(tallest, h);
    }
    height = std::max(height, tallest);
    int spare = 0;
    if (width < sum)
        width = sum;
    else {
        const int count = int(visible.size());
        spare = count ? (width - sum) / count : 0;
        width = spare * count + sum;
    }
    const TRect bounds = navigator_->GetNavigatorBounds();
    int x = bounds.Left;
    for (std::size_t k = 0; k < viewInfos_.size(); ++k) {
        viewInfos_[k]->ButtonBounds = {x, bounds.Top, x + widths[k] + spare, bounds.Top + height};
        x = viewInfos_[k]->ButtonBounds.Right;
    }
}

void TcxNavigatorViewInfo::Calculate()
{
    const TRect bounds = navigator_->GetNavigatorBounds();
    int w = bounds.Width(), h = bounds.Height();
    CheckSize(w, h);
    for (auto& vi : viewInfos_) {
        vi->CachedEnabled = vi->NavButton->GetInternalEnabled();
        vi->CachedHint = vi->NavButton->GetInternalHint();
    }
    isDirty_ = false;
}

void TcxNavigatorViewInfo::CalculateIfDirty()
{
    if (isDirty_)
        Calculate();
}

void TcxNavigatorViewInfo::Clear()
{
    isDirty_ = true;
    hotButton_ = pressedButton_ = nullptr;
    viewInfos_.clear();
}

// ---- lookup and state ----

TcxNavigatorButtonViewInfo* TcxNavigatorViewInfo::GetButtonViewInfoAt(const TPoint& p)
{
    CalculateIfDirty();
    for (auto& vi : viewInfos_)
        if (cxRectPtIn(vi->ButtonBounds, p))
            return vi.get();
    return nullptr;
}

TcxNavigatorButton* TcxNavigatorViewInfo::GetButtonAt(const TPoint& p)
{
    TcxNavigatorButtonViewInfo* vi = GetButtonViewInfoAt(p);
    return vi ? vi->NavButton : nullptr;
}

TcxNavigatorButtonViewInfo* TcxNavigatorViewInfo::GetButtonViewInfoByButton(TcxNavigatorButton* button) const
{
    for (auto& vi : viewInfos_)
        if (vi->NavButton == button)
            return vi.get();
    return nullptr;
}

TcxButtonState TcxNavigatorViewInfo::GetButtonState(TcxNavigatorButtonViewInfo* vi) const
{
    if (!vi->CachedEnabled)
        return cxbsDisabled;
    if (vi == pressedButton_ && vi == hotButton_)
        return cxbsPressed;
    if (vi == hotButton_)
        return cxbsHot;
    return cxbsNormal;
}

void TcxNavigatorViewInfo::InvalidateButton(TcxNavigatorButtonViewInfo* vi)
{
    TWinControl* control = navigator_->GetNavigatorControl();
    if (vi && control && control->HandleAllocated())
        control->InvalidateRect(vi->ButtonBounds, false);
}

void TcxNavigatorViewInfo::UpdateButtonsEnabled()
{
    for (auto& vi : viewInfos_) {
        const bool enabled = vi->NavButton->GetInternalEnabled();
        if (enabled != vi->CachedEnabled) {
            vi->CachedEnabled = enabled;
            InvalidateButton(vi.get());
        }
    }
}

TcxNavigatorButtonViewInfo* TcxNavigatorViewInfo::GetFocusedButton()
{
    CalculateIfDirty();
    if (focusedButton_ && !focusedButton_->Visible())
        focusedButton_ = nullptr;
    if (!focusedButton_ && !viewInfos_.empty())
        focusedButton_ = viewInfos_.front()->NavButton;
    return GetButtonViewInfoByButton(focusedButton_);
}

void TcxNavigatorViewInfo::SetFocusedButton(TcxNavigatorButtonViewInfo* vi)
{
    TcxNavigatorButton* button = vi ? vi->NavButton : nullptr;
    if (button == focusedButton_)
        return;
    TcxNavigatorButtonViewInfo* old = GetButtonViewInfoByButton(focusedButton_);
    focusedButton_ = button;
    InvalidateButton(old);
    InvalidateButton(vi);
}

void TcxNavigatorViewInfo::PressArrowKey(bool left)
{
    TcxNavigatorButtonViewInfo* focused = GetFocusedButton();
    if (!focused)
        return;
    int index = 0;
    while (viewInfos_[std::size_t(index)].get() != focused)
        ++index;
    index += left ? -1 : 1;
    if (index >= 0 && index < Count())
        SetFocusedButton(ButtonViewInfos(index));
}

void TcxNavigatorViewInfo::DoEnter()
{
    InvalidateButton(GetFocusedButton());
    UpdateSelected();
}

void TcxNavigatorViewInfo::DoExit()
{
    InvalidateButton(GetFocusedButton());
    UpdateSelected();
}

void TcxNavigatorViewInfo::UpdateSelected()
{
    if (!Painter()->IsButtonHotTrack())
        return;
    const bool selected = hotButton_ || pressedButton_ || navigator_->GetNavigatorFocused();
    TWinControl* control = navigator_->GetNavigatorControl();
    if (selected == selectedFrame_ || !control || !control->HandleAllocated())
        return;
    selectedFrame_ = selected;
    const TRect r = navigator_->GetNavigatorBounds();
    control->InvalidateRect({r.Left, r.Top, r.Right, r.Top + 1}, false);
    control->InvalidateRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, false);
    control->InvalidateRect({r.Left, r.Top, r.Left + 1, r.Bottom}, false);
    control->InvalidateRect({r.Right - 1, r.Top, r.Right, r.Bottom}, false);
}

// ---- painting ----

void TcxNavigatorViewInfo::Paint()
{
    CalculateIfDirty();
    navCanvas_ = std::make_unique<TcxCanvas>(navigator_->GetNavigatorCanvas());
    for (int i = 0; i < Count(); ++i)
        PaintButton(i);
    TWinControl* control = navigator_->GetNavigatorControl();
    const bool enabled = control && control->Enabled();
    const bool designing = control && control->ComponentState().Contains(csDesigning);
    const TRect bounds = navigator_->GetNavigatorBounds();
    Painter()->DrawButtonGroupBorder(navCanvas_.get(), bounds, inPlaceMode_ && enabled,
                                     selectedFrame_ || (!inPlaceMode_ && designing && enabled));
    if (inPlaceMode_)
        navCanvas_->ExcludeClipRect(bounds);
    navCanvas_.reset();
}

void TcxNavigatorViewInfo::PaintButton(int index)
{
    TcxNavigatorButtonViewInfo* vi = ButtonViewInfos(index);
    if (!navCanvas_->RectVisible(vi->ButtonBounds))
        return;
    TcxCustomLookAndFeelPainterClass painter = Painter();
    const TcxButtonState state = GetButtonState(vi);
    const TRect r = painter->AdjustGroupButtonDisplayRect(vi->ButtonBounds, Count(), index);
    const TRect border = painter->ButtonGroupBorderSizes(Count(), index);
    const TRect inner{r.Left + border.Left, r.Top + border.Top, r.Right - border.Right, r.Bottom - border.Bottom};
    const TSize image = vi->NavButton->GetImageSize();
    // Division rounds toward zero, as the centring offsets should.
    TRect glyph = cxRectBounds(inner.Left + (inner.Width() - image.cx) / 2,
                               inner.Top + (inner.Height() - image.cy) / 2, image.cx, image.cy);
    if (state == cxbsPressed)
        glyph = cxRectOffset(glyph, 1, 1);

    // Composed aside at the button's own coordinates, then copied in one piece.
    TcxBitmap bitmap(r, pf32bit);
    TcxCanvas* bc = bitmap.ToolkitCanvas();
    bc->SetWindowOrg(TPoint{r.Left, r.Top});
    cxDrawTransparentControlBackground(navigator_->GetNavigatorControl(), bc, r);
    painter->DrawButtonInGroup(bc, r, state, Count(), index, clWindow);
    painter->DrawNavigatorGlyph(bc, vi->NavButton->GetInternalImages(), vi->NavButton->GetInternalImageIndex(), index,
                                glyph, state != cxbsDisabled, vi->NavButton->IsUserImageListUsed());
    bc->SetWindowOrg(TPoint{0, 0});
    navCanvas_->CopyRect(r, bitmap.Canvas(), bitmap.GetClientRect());

    if (navigator_->GetNavigatorTabStop() && navigator_->GetNavigatorFocused() && GetFocusedButton() == vi)
        navCanvas_->DrawFocusRect(glyph);
    if (painter->LookAndFeelStyle() == lfsNative)
        navCanvas_->ExcludeClipRect(vi->ButtonBounds);
}

// ---- mouse and auto-repeat ----

void TcxNavigatorViewInfo::MouseDown(int x, int y)
{
    HintActivate(false);
    TcxNavigatorButtonViewInfo* vi = GetButtonViewInfoAt({x, y});
    if (vi && GetButtonState(vi) != cxbsDisabled) {
        pressTimer_->SetInterval(kFirstRepeatDelay);
        pressTimer_->SetEnabled(true);
        pressedButton_ = vi;
        SetFocusedButton(vi);
        InvalidateButton(vi);
    }
    UpdateSelected();
}

void TcxNavigatorViewInfo::MouseMove(int x, int y)
{
    TcxNavigatorButtonViewInfo* vi = GetButtonViewInfoAt({x, y});
    if (vi != hotButton_) {
        if (hotButton_ && hotButton_->CachedEnabled)
            InvalidateButton(hotButton_);
        hotButton_ = vi;
        if (vi && vi->CachedEnabled)
            InvalidateButton(vi);
        if (hintShowing_)
            HintActivate(true);
        else
            hintTimer_->SetEnabled(true);
    }
    if (!hotButton_)
        HintActivate(false);
    UpdateSelected();
}

void TcxNavigatorViewInfo::MouseUp(int x, int y)
{
    pressTimer_->SetEnabled(false);
    TcxNavigatorButtonViewInfo* released = pressedButton_;
    pressedButton_ = nullptr;
    InvalidateButton(released);
    hintTimer_->SetEnabled(true);
    UpdateSelected();
    if (released && cxRectPtIn(released->ButtonBounds, TPoint{x, y}) && released->NavButton->GetInternalEnabled())
        released->NavButton->DoClick();
}

void TcxNavigatorViewInfo::ButtonPressTimerTick(TObject*)
{
    if (vcl::System().GetKeyState(VK_LBUTTON) >= 0) {
        pressTimer_->SetEnabled(false);
        MouseUp(-1, -1);
        return;
    }
    pressTimer_->SetInterval(kRepeatInterval);
    TcxNavigatorButtonViewInfo* vi = pressedButton_;
    if (!vi || vi != hotButton_ || !vi->NavButton->GetInternalEnabled())
        return;
    const int index = vi->NavButton->ButtonIndex();
    if (index != nbiPrior && index != nbiNext)
        return;
    // A raising handler must not leave the timer clicking every 100 ms behind the error message.
    try {
        vi->NavButton->DoClick();
    } catch (...) {
        pressTimer_->SetEnabled(false);
        throw;
    }
}

// ---- hints ----

void TcxNavigatorViewInfo::HintActivate(bool show)
{
    if (hintWindow_) {
        hintWindow_->Free();
        hintWindow_ = nullptr;
    }
    hintTimer_->SetEnabled(false);
    hintShowing_ = false;
    if (!show || !hotButton_)
        return;
    const std::string text = ShortHint(hotButton_->CachedHint);
    TWinControl* control = navigator_->GetNavigatorControl();
    if (text.empty() || !navigator_->GetNavigatorShowHint() || !CanShowHint(control))
        return;
    const THintWindowClass cls =
        Application->HintWindowClass ? Application->HintWindowClass : THintWindowClass::Of<THintWindow>();
    hintWindow_ = cls.Create(nullptr);
    hintWindow_->SetColor(Application->HintColor);
    TPoint p = vcl::System().GetCursorPos();
    p.Y += cxGetCursorSize().cy;
    TRect r = hintWindow_->CalcHintRect(Screen->Width(), text);
    r = cxRectOffset(r, p.X, p.Y);
    cxActivateHint(hintWindow_, r, text);
    hintShowing_ = true;
}

void TcxNavigatorViewInfo::HintTimerTick(TObject*) { HintActivate(true); }

} // namespace cx
