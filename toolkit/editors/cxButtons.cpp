// The push button: states, painting through the painters, clicks per kind, the drop-down menu,
// hot tracking and the speed-button groups.
#include "toolkit/editors/cxButtons.h"

#include "platform/gdi/Text.h"
#include "platform/vcl/Peer.h"
#include "platform/vcl/SystemFacade.h"
#include "toolkit/core/cxGraphicsShared.h"
#include "toolkit/core/dxThemeManager.h"

namespace cx {

TcxCustomLookAndFeelPainterClass GetButtonPainterClass(TcxLookAndFeel* lookAndFeel)
{
    if (TcxCustomLookAndFeelPainterClass skin = lookAndFeel->SkinPainter())
        return skin;
    TcxCustomLookAndFeelPainterClass painter = lookAndFeel->GetPainter();
    if (painter->LookAndFeelStyle() == lfsOffice11)
        return AreVisualStylesAvailable() ? TcxCustomLookAndFeelPainterClass(TcxWinXPLookAndFeelPainter::Class())
                                          : TcxCustomLookAndFeelPainterClass(TcxStandardLookAndFeelPainter::Class());
    return painter;
}

TcxCustomButton::TcxCustomButton(TComponent* owner) : TButton(owner)
{
    // A double click is a second press (the window procedure turns it into one).
    ControlStyle.Exclude(csDoubleClicks);
    colors_ = std::make_unique<TcxButtonColors>(this);
    glyph_ = std::make_unique<TcxButtonGlyph>();
    glyph_->OnChange = [this](TObject*) { Invalidate(); };
    lookAndFeel_ = std::make_unique<TcxLookAndFeel>(this);
    lookAndFeel_->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxCustomButton::LookAndFeelChanged);
    speedButtonOptions_ = std::make_unique<TcxSpeedButtonOptions>(this);
}

TcxCustomButton::~TcxCustomButton() = default;

void TcxCustomButton::BeforeDestruction()
{
    EndMouseTracking(this);
    TButton::BeforeDestruction();
}

// ---- properties ----

void TcxCustomButton::SetDropDownMenu(TPopupMenu* value)
{
    if (dropDownMenu_ == value)
        return;
    if (dropDownMenu_)
        dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = value;
    if (value)
        value->FreeNotification(this);
}

void TcxCustomButton::SetPopupMenu(TComponent* value) { cxSetPopupMenu(this, popupMenu_, value); }

void TcxCustomButton::Notification(TComponent* component, TOperation operation)
{
    TButton::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == dropDownMenu_)
        dropDownMenu_ = nullptr;
    if (component == popupMenu_)
        popupMenu_ = nullptr;
}

void TcxCustomButton::SetKind(TcxButtonKind value)
{
    if (kind_ == value)
        return;
    kind_ = value;
    if (HandleAllocated())
        RecreateWnd();
    Invalidate();
}

void TcxCustomButton::SetLayout(TButtonLayout value)
{
    if (layout_ != value) {
        layout_ = value;
        Invalidate();
    }
}

void TcxCustomButton::SetMargin(int value)
{
    if (value >= -1 && value != margin_) {
        margin_ = value;
        Invalidate();
    }
}

void TcxCustomButton::SetSpacing(int value)
{
    if (value != spacing_) {
        spacing_ = value;
        Invalidate();
    }
}

void TcxCustomButton::SetAutoSize(bool value)
{
    autoSize_ = value;
    if (value)
        SetBounds(Left(), Top(), Width(), Height());
}

void TcxCustomButton::SetBounds(int left, int top, int width, int height)
{
    if (autoSize_) {
        const TSize size = GetOptimalSize();
        width = size.cx;
        height = size.cy;
    }
    TButton::SetBounds(left, top, width, height);
}

void TcxCustomButton::SetDown(bool value)
{
    if (GroupIndex() == 0)
        value = false;
    if (value == Down())
        return;
    if (Down() && !AllowAllUp() && GroupIndex() != 0 && !speedButtonOptions_->Locked())
        return;
    if (value)
        internalState_.Include(bisDown);
    else
        internalState_.Exclude(bisDown);
    Invalidate();
    if (value)
        speedButtonOptions_->UpdateGroup();
}

void TcxCustomButton::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues)
{
    if (UseSystemPaint && HandleAllocated())
        RecreateWnd();
    else
        Invalidate();
}

// ---- measuring and state ----

TSize TcxCustomButton::GetOptimalSize()
{
    TcxCanvas* canvas = cxScreenCanvas();
    // Before the shared canvases exist (or after they went) a scratch bitmap measures.
    TBitmap scratch;
    std::unique_ptr<TcxCanvas> own;
    if (!canvas) {
        scratch.SetSize(1, 1);
        own = std::make_unique<TcxCanvas>(scratch.Canvas());
        canvas = own.get();
    }
    canvas->SetFont(Font());
    std::string text = RemoveAccelChars(Caption(), false);
    if (text.empty())
        text = " ";
    const int width = canvas->TextWidth(text) + 3 * canvas->TextWidth("R");
    const int height = MulDiv(canvas->TextHeight("Wg"), 14, 8);
    return {width, height};
}

bool TcxCustomButton::IsDefaultState() const
{
    const bool designing = ComponentState().Contains(csDesigning);
    return (Focused() || (Default && designing) || Active()) && CanBeFocused();
}

TcxButtonState TcxCustomButton::GetButtonState()
{
    isPressed_ = (Pressed() && !internalState_.Contains(bisMenuButtonPressed)) ||
                 (internalState_.Contains(bisMenuVisible) && kind_ == cxbkDropDown) ||
                 (IsSpeedButtonMode() &&
                  (Down() || (internalState_.Contains(bisHot) && internalState_.Contains(bisPressed))));
    if (!Enabled())
        return cxbsDisabled;
    if (isPressed_)
        return cxbsPressed;
    if (internalState_.Contains(bisHot) && GetPainterClass()->IsButtonHotTrack())
        return cxbsHot;
    if (IsDefaultState())
        return cxbsDefault;
    return cxbsNormal;
}

TRect TcxCustomButton::GetMenuButtonBounds() const
{
    const TRect r = GetClientRect();
    switch (kind_) {
    case cxbkDropDown: return r;
    case cxbkDropDownButton: return {r.Right - cxDropDownButtonWidth, r.Top, r.Right, r.Bottom};
    default: return {};
    }
}

// ---- painting ----

TColor TcxCustomButton::InitializeCanvasColors(TcxCanvas* canvas, TcxButtonState state)
{
    static const TcxButtonAssignedColor map[][2] = {
        {cxbcDefault, cxbcDefaultText}, // cxbsDefault
        {cxbcNormal, cxbcNormalText},   // cxbsNormal
        {cxbcHot, cxbcHotText},         // cxbsHot
        {cxbcPressed, cxbcPressedText}, // cxbsPressed
        {cxbcDisabled, cxbcDisabledText}};
    canvas->SetFont(Font());
    const TcxButtonAssignedColors assigned = colors_->AssignedColors();
    const auto [back, fore] = map[state];
    TColor color = assigned.Contains(back) ? colors_->GetColor(back)
                                           : colors_->GetColor(state == cxbsNormal ? cxbcDefault : cxbcNormal);
    TColor text = assigned.Contains(fore) ? colors_->GetColor(fore)
                                          : colors_->GetColor(state == cxbsNormal ? cxbcDefaultText : cxbcNormalText);
    if (text == clDefault)
        text = GetPainterClass()->ButtonSymbolColor(state, Font()->GetColor());
    canvas->GetFont()->SetColor(text);
    if (OnGetDrawParams)
        OnGetDrawParams(this, state, color, canvas->GetFont());
    return color;
}

void TcxCustomButton::DrawBackground(TcxCanvas* canvas, TRect r, TcxButtonState state, TColor color)
{
    TcxCustomLookAndFeelPainterClass painter = GetPainterClass();
    const TcxSpeedButtonOptions* o = speedButtonOptions_.get();
    const TColor text = canvas->GetFont()->GetColor();
    if (!((o->Flat() || o->Transparent()) && !CanBeFocused() && !lookAndFeel_->SkinPainter())) {
        painter->DrawButton(canvas, r, "", state, true, color, text, false, false);
        return;
    }
    const bool designing = ComponentState().Contains(csDesigning);
    const bool native = painter->LookAndFeelStyle() == lfsNative || lookAndFeel_->GetKind() == lfOffice11;
    if (!native && (!o->Flat() || designing || (state != cxbsDisabled && state != cxbsNormal))) {
        painter->DrawButtonBorder(canvas, r, state);
        r = cxRectInflate(r, -painter->ButtonBorderSize(state), -painter->ButtonBorderSize(state));
    }
    canvas->SaveClipRegion();
    canvas->IntersectClipRect(r);
    if (!o->Transparent() || state == cxbsDefault || state == cxbsPressed ||
        (state == cxbsHot && painter->IsButtonHotTrack()))
        painter->DrawButton(canvas, r, "", state, false, color, text, false, true);
    else
        cxDrawTransparentControlBackground(this, canvas, r);
    canvas->RestoreClipRegion();
}

void TcxCustomButton::PaintButton(TCanvas* target, const TRect& client, bool)
{
    TcxCanvas canvas(target);
    TcxCustomLookAndFeelPainterClass painter = GetPainterClass();
    TRect main = client;
    TRect menu;
    if (kind_ == cxbkDropDownButton) {
        menu = {client.Right - cxDropDownButtonWidth, client.Top, client.Right, client.Bottom};
        // The two parts overlap by two pixels.
        main.Right -= cxDropDownButtonWidth - 2;
    }
    const TcxButtonState state = GetButtonState();
    const TColor color = InitializeCanvasColors(&canvas, state);
    DrawBackground(&canvas, main, state, color);

    const int shift = state == cxbsPressed ? painter->ButtonTextShift() : 0;
    const int border = painter->ButtonBorderSize(state);
    const TRect content = cxRectInflate(main, -border, -border);
    canvas.SaveClipRegion();
    canvas.IntersectClipRect(content);
    glyph_->Draw(&canvas, content, {shift, shift}, Caption(), layout_, margin_, spacing_, state, 0);
    canvas.RestoreClipRegion();

    if (kind_ == cxbkDropDownButton) {
        TcxButtonState menuState = state;
        if (internalState_.Contains(bisMenuVisible))
            menuState = cxbsPressed;
        else if (state == cxbsPressed)
            menuState = Active() ? cxbsHot : cxbsNormal;
        DrawBackground(&canvas, menu, menuState, color);
        painter->DrawScrollBarArrow(&canvas, menu, menuState, adDown);
    }
    if (CanBeFocused() && Focused() && !internalState_.Contains(bisMenuVisible))
        canvas.DrawFocusRect(painter->ButtonFocusRect(&canvas, client));
}

// ---- messages ----

void TcxCustomButton::WndProc(TMessage& msg)
{
    if (msg.Msg == WM_LBUTTONDBLCLK) {
        if (GroupIndex() != 0)
            vcl::FireEvent(OnDblClick, this);
        msg.Msg = WM_LBUTTONDOWN;
    }
    TButton::WndProc(msg);
}

void TcxCustomButton::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_LBUTTONDOWN:
        // A speed button that cannot be focused takes its press itself, so it never gets the focus.
        if (IsSpeedButtonMode() && !CanBeFocused()) {
            MouseDown(mbLeft, KeysToShiftState(unsigned(msg.WParam)), XFromLParam(msg.LParam),
                      YFromLParam(msg.LParam));
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(char16_t(msg.WParam)) && CanBeFocused() && CanFocus()) {
            internalState_.Include(bisAccelExecute);
            const auto alive = AliveToken();
            Click();
            if (!alive.expired())
                internalState_.Exclude(bisAccelExecute);
            msg.Result = 1;
            return;
        }
        break;
    case CN_KEYDOWN:
        if (popupMenu_ && IsPopupMenuShortCut(popupMenu_, msg)) {
            msg.Result = 1;
            return;
        }
        break;
    case CM_MOUSEENTER:
        if (msg.LParam == 0 && Enabled()) {
            internalState_.Include(bisHot);
            Invalidate();
            DoMouseEnter();
        }
        break;
    case CM_MOUSELEAVE:
        if (msg.LParam == 0) {
            internalState_.Exclude(bisHot);
            Invalidate();
            DoMouseLeave();
        }
        break;
    case CM_ENABLEDCHANGED:
        if (!Enabled())
            internalState_.Exclude(bisHot);
        break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED: {
        // The capture went elsewhere while the pointer is over another window: nothing is pressed.
        vcl::TWidgetPeer* under = vcl::PeerAt(vcl::System().GetCursorPos());
        if (!under || under->Control() != this) {
            internalState_.Exclude(bisHot);
            internalState_.Exclude(bisPressed);
            internalState_.Exclude(bisMenuButtonPressed);
            Invalidate();
        }
        break;
    }
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        if (autoSize_)
            SetBounds(Left(), Top(), Width(), Height());
        break;
    case CM_BUTTONPRESSED:
        ButtonPressed(int(msg.WParam), reinterpret_cast<TcxCustomButton*>(msg.LParam));
        return;
    case CM_BUTTONDROPDOWNMENU: ShowDropDownMenu(); return;
    case CM_BUTTONCLOSEUPMENU: CloseUpMenu(); return;
    case WM_ERASEBKGND: msg.Result = 1; return;
    default: break;
    }
    TButton::Dispatch(msg);
}

// The image the button shows first is made with the window, not in its first paint.
void TcxCustomButton::CreateHandle()
{
    TButton::CreateHandle();
    glyph_->ImageIndexFor(Enabled() ? cxbsNormal : cxbsDisabled);
}

void TcxCustomButton::DestroyWindowHandle()
{
    if (internalState_.Contains(bisMenuVisible))
        Perform(CM_BUTTONCLOSEUPMENU);
    TButton::DestroyWindowHandle();
}

void TcxCustomButton::DoMouseEnter() {}
void TcxCustomButton::DoMouseLeave() {}

void TcxCustomButton::MouseTrackingCallerMouseLeave()
{
    internalState_.Exclude(bisHot);
    Invalidate();
}

// ---- keys and mouse ----

void TcxCustomButton::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TButton::KeyDown(key, shift);
    if (kind_ == cxbkDropDownButton && (key == VK_UP || key == VK_DOWN) &&
        (shift.Contains(ssAlt) || shift.Contains(ssShift))) {
        RequestDropDownMenu();
        key = 0;
    }
}

void TcxCustomButton::RecordPress(int x, int y)
{
    if (!CanBeFocused())
        SetMouseCapture(true);
    if (kind_ != cxbkStandard && cxRectPtIn(GetMenuButtonBounds(), TPoint{x, y})) {
        internalState_.Include(bisMenuButtonPressed);
        if (kind_ == cxbkDropDownButton)
            RequestDropDownMenu();
    } else {
        internalState_.Include(bisPressed);
    }
    Invalidate();
}

void TcxCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TButton::MouseDown(button, shift, x, y);
    if (button == mbLeft)
        RecordPress(x, y);
}

void TcxCustomButton::MouseMove(TShiftState shift, int x, int y)
{
    TButton::MouseMove(shift, x, y);
    if (Enabled() && !internalState_.Contains(bisHot) && cxRectPtIn(GetClientRect(), TPoint{x, y})) {
        internalState_.Include(bisHot);
        Invalidate();
    }
    BeginMouseTracking(this, GetClientRect(), this);
}

void TcxCustomButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    const auto alive = AliveToken();
    TButton::MouseUp(button, shift, x, y);
    if (alive.expired())
        return;
    const bool over = cxRectPtIn(GetClientRect(), TPoint{x, y}) && internalState_.Contains(bisHot);
    if (!CanBeFocused() && button == mbLeft && over &&
        (internalState_.Contains(bisPressed) ||
         (internalState_.Contains(bisMenuButtonPressed) && !menuJustClosed_))) {
        SetDown(!Down());
        Click();
        if (alive.expired())
            return;
    }
    internalState_.Exclude(bisPressed);
    internalState_.Exclude(bisMenuButtonPressed);
    if (!CanBeFocused())
        SetMouseCapture(false);
    if (!internalState_.Contains(bisMenuVisible))
        menuJustClosed_ = false;
    Invalidate();
}

void TcxCustomButton::Click()
{
    const bool mainPart = internalState_.Contains(bisPressed) || !internalState_.Contains(bisMenuButtonPressed);
    if (CanBeFocused() && mainPart && !internalState_.Contains(bisAccelExecute))
        SetDown(!Down());
    switch (kind_) {
    case cxbkStandard: TButton::Click(); break;
    case cxbkDropDown: RequestDropDownMenu(); break;
    case cxbkDropDownButton:
        if (!internalState_.Contains(bisMenuButtonPressed))
            TButton::Click();
        break;
    }
}

void TcxCustomButton::DoContextPopup(TPoint mousePos, bool& handled)
{
    if (ComponentState().Contains(csDesigning))
        return;
    vcl::FireEvent(OnContextPopup, this, mousePos, handled);
    if (handled)
        return;
    if (mousePos.X == -1 && mousePos.Y == -1)
        mousePos = {0, 0};
    const TPoint s = ClientToScreen(mousePos);
    handled = DoShowPopupMenu(popupMenu_, s.X, s.Y);
}

bool TcxCustomButton::DoShowPopupMenu(TComponent* menu, int x, int y) { return ShowPopupMenu(this, menu, x, y); }

// ---- the drop-down menu ----

void TcxCustomButton::RequestDropDownMenu()
{
    if (internalState_.Contains(bisMenuVisible) || menuJustClosed_ || !HandleAllocated())
        return;
    vcl::PostMessage(Handle(), CM_BUTTONDROPDOWNMENU);
}

bool TcxCustomButton::DoOnDropDownMenuPopup(TPopupMenu*& menu)
{
    bool handled = false;
    if (OnDropDownMenuPopup)
        OnDropDownMenuPopup(this, menu, handled);
    return handled;
}

void TcxCustomButton::ShowDropDownMenu()
{
    if (kind_ == cxbkStandard)
        return;
    TPopupMenu* menu = dropDownMenu_;
    if (DoOnDropDownMenuPopup(menu) || !menu)
        return;
    internalState_.Exclude(bisMenuButtonPressed);
    internalState_.Include(bisMenuVisible);
    Repaint();

    TPoint p{0, Height()};
    if (PopupAlignment == paRight)
        p.X = Width();
    else if (PopupAlignment == paCenter)
        p.X = Width() / 2;
    p = ClientToScreen(p);
    const TRect work = GetDesktopWorkArea(p);
    const int menuHeight = GetPopupMenuHeight(menu);
    if (p.Y + menuHeight > work.Bottom)
        p.Y -= menuHeight + Height() + 2;
    // A point at the work area's left edge opens the menu to its right, one at the right edge
    // to its left, so that the menu stays on the screen.
    const TPopupAlignment saved = menu->Alignment;
    menu->Alignment = p.X <= work.Left ? paLeft : p.X >= work.Right ? paRight : PopupAlignment;
    menu->PopupComponent = this;
    const auto alive = AliveToken();
    menu->Popup(p.X, p.Y);
    menu->Alignment = saved;
    if (!alive.expired() && HandleAllocated())
        vcl::PostMessage(Handle(), CM_BUTTONCLOSEUPMENU);
}

void TcxCustomButton::CloseUpMenu()
{
    const TPoint p = ScreenToClient(vcl::System().GetCursorPos());
    menuJustClosed_ = cxRectPtIn(GetMenuButtonBounds(), p);
    internalState_.Exclude(bisMenuVisible);
    Invalidate();
}

// ---- speed-button groups ----

void TcxCustomButton::ButtonPressed(int groupIndex, TcxCustomButton* sender)
{
    if (sender == this || !sender || !IsSpeedButtonMode() || groupIndex == 0 || groupIndex != GroupIndex())
        return;
    TcxSpeedButtonOptions* own = speedButtonOptions_.get();
    const TcxSpeedButtonOptions* other = sender->SpeedButtonOptions();
    own->BeginUpdate();
    own->SetCanBeFocused(other->CanBeFocused());
    own->SetAllowAllUp(other->AllowAllUp());
    own->SetFlat(other->Flat());
    own->SetTransparent(other->Transparent());
    own->CancelUpdate();
    if (sender->Down() && Down())
        internalState_.Exclude(bisDown);
    Invalidate();
}

} // namespace cx
