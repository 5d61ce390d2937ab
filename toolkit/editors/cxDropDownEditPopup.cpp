// The drop-down window of the editors: its extents, system panel, sizing grip and close button
// (view info), its size and position beside the editor, sizing by the grip and edges, and the
// keys a focus-taking popup passes to its editor.
#include "toolkit/editors/cxDropDownEdit.h"

#include "platform/gdi/SysParams.h"
#include "toolkit/controls/cxControlsDragDrop.h"

#include <algorithm>

namespace cx {

namespace {
// One popup is sized at a time: the unit's sizing state.
struct SizingState {
    bool Now = false;
    int GrabX = 0, GrabY = 0;
    int Horz = 0, Vert = 0;
    TRect LastFrame;
};
SizingState& Sizing()
{
    static SizingState s;
    return s;
}

TCursor SizingCursor(int horz, int vert)
{
    if (horz == 0 && vert == 0)
        return crDefault;
    if (horz == 0)
        return crSizeNS;
    if (vert == 0)
        return crSizeWE;
    return horz == vert ? crSizeNWSE : crSizeNESW;
}

bool IsLeftCorner(TcxEditCorner c) { return c == ecoTopLeft || c == ecoBottomLeft; }
bool IsTopCorner(TcxEditCorner c) { return c == ecoTopLeft || c == ecoTopRight; }

constexpr int ShadowSize = 3;
} // namespace

// ---- view info -----------------------------------------------------------------------------------

int TcxCustomEditPopupWindowViewInfo::GetPopupBorderWidth() const
{
    if (NativeStyle)
        return 1;
    static const int widths[] = {0, 1, 4, 2};
    return widths[PopupBorderStyle];
}

int TcxCustomEditPopupWindowViewInfo::GetClientEdgeWidth() const
{
    if (NativeStyle)
        return 2;
    static const int widths[] = {0, 2, 2, 1};
    return widths[PopupBorderStyle];
}

int TcxCustomEditPopupWindowViewInfo::PanelBaseHeight() const
{
    return std::max(gdi::GetSystemMetrics(SM_CYHSCROLL), gdi::GetSystemMetrics(SM_CYSIZE));
}

int TcxCustomEditPopupWindowViewInfo::GetSysPanelHeight() const
{
    if (!SysPanelStyle)
        return 0;
    return std::max(PanelBaseHeight(), MinSysPanelHeight > 0 ? MinSysPanelHeight : 0);
}

TRect TcxCustomEditPopupWindowViewInfo::GetBorderExtent() const
{
    const int w = GetPopupBorderWidth() + (ClientEdge ? GetClientEdgeWidth() : 0);
    TRect r{w, w, w, w};
    if (Shadow) {
        r.Right += ShadowSize;
        r.Bottom += ShadowSize;
    }
    return r;
}

TRect TcxCustomEditPopupWindowViewInfo::GetClientExtent() const
{
    TRect r = GetBorderExtent();
    if (SysPanelStyle) {
        const int h = GetSysPanelHeight() + (NativeStyle || PopupBorderStyle == epbsSingle ? 1 : 0);
        (IsTopCorner(SizeGripCorner) ? r.Top : r.Bottom) += h;
    }
    return r;
}

void TcxCustomEditPopupWindowViewInfo::Calculate()
{
    const TRect b{0, 0, Bounds.Width(), Bounds.Height()};
    const TRect e = GetClientExtent();
    ClientRect = {b.Left + e.Left, b.Top + e.Top, b.Right - e.Right, b.Bottom - e.Bottom};
    SysPanelHeight = GetSysPanelHeight();
    SizingBorderWidth = PanelBaseHeight();
    const int bw = GetPopupBorderWidth();
    InnerRect = {b.Left + bw, b.Top + bw, b.Right - bw, b.Bottom - bw};
    if (!SysPanelStyle && ClientEdge) {
        const int ce = GetClientEdgeWidth();
        InnerRect = {InnerRect.Left + ce, InnerRect.Top + ce, InnerRect.Right - ce, InnerRect.Bottom - ce};
    }
    if (Shadow) {
        InnerRect.Right -= ShadowSize;
        InnerRect.Bottom -= ShadowSize;
    }
    const int h0 = PanelBaseHeight();
    const bool left = IsLeftCorner(SizeGripCorner), top = IsTopCorner(SizeGripCorner);
    SizeGripSizingRect = SizeGripRect = {};
    if (Sizeable) {
        const int side = h0 - 2;
        const int x = left ? InnerRect.Left : InnerRect.Right - side;
        const int y = top ? InnerRect.Top : InnerRect.Bottom - side;
        SizeGripSizingRect = {x, y, x + side, y + side};
        SizeGripRect = SizeGripSizingRect;
        // Two pixels off the sides that face the corner.
        (left ? SizeGripRect.Right : SizeGripRect.Left) += left ? -2 : 2;
        (top ? SizeGripRect.Bottom : SizeGripRect.Top) += top ? -2 : 2;
    }
    CloseButtonRect = {};
    if (CloseButton) {
        const int side = h0 - 4;
        const int x = left ? InnerRect.Right - 3 - side : InnerRect.Left + 3;
        const int y = top ? InnerRect.Top + 2 : InnerRect.Bottom - 2 - side;
        CloseButtonRect = {x, y, x + side, y + side};
    }
}

bool TcxCustomEditPopupWindowViewInfo::IsSizingPlace(int x, int y, int& horz, int& vert) const
{
    horz = vert = 0;
    const int w = Bounds.Width(), h = Bounds.Height();
    if (!Sizeable || x < 0 || y < 0 || x >= w || y >= h)
        return false;
    const TPoint p{x, y};
    const bool inGrip = cxRectPtIn(SizeGripSizingRect, p);
    if (cxRectPtIn(InnerRect, p) && !inGrip)
        return false;
    const bool left = IsLeftCorner(SizeGripCorner), top = IsTopCorner(SizeGripCorner);
    if (inGrip) {
        horz = left ? -1 : 1;
        vert = top ? -1 : 1;
        return true;
    }
    if (x < SizingBorderWidth && left)
        horz = -1;
    else if (x >= w - SizingBorderWidth && !left)
        horz = 1;
    if (y < SizingBorderWidth && top)
        vert = -1;
    else if (y >= h - SizingBorderWidth && !top)
        vert = 1;
    return true;
}

void TcxCustomEditPopupWindowViewInfo::DrawPopupBorder(TcxCanvas* canvas, TRect& r)
{
    int width = GetPopupBorderWidth();
    bool handled = false;
    if (OnCustomDrawBorder.Assigned())
        OnCustomDrawBorder(this, canvas, width, handled, r);
    if (!handled) {
        if (NativeStyle || PopupBorderStyle == epbsSingle) {
            canvas->FrameRect(r, clBtnText);
        } else if (PopupBorderStyle == epbsFrame3D || PopupBorderStyle == epbsFlat) {
            canvas->DrawEdge(r, false, true);
            canvas->DrawEdge({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, false, false);
            if (PopupBorderStyle == epbsFrame3D) {
                canvas->FrameRect({r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2},
                                  ClientEdge ? clInactiveBorder : clBtnFace);
                if (ClientEdge)
                    canvas->FrameRect({r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3}, clBtnFace);
                else
                    canvas->DrawEdge({r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3}, true, true);
            }
        }
    }
    r = {r.Left + width, r.Top + width, r.Right - width, r.Bottom - width};
}

void TcxCustomEditPopupWindowViewInfo::InternalPaint(TcxCanvas* canvas)
{
    TRect r{0, 0, Bounds.Width(), Bounds.Height()};
    if (Shadow) {
        r.Right -= ShadowSize;
        r.Bottom -= ShadowSize;
        DrawContainerShadow(canvas, r);
    }
    DrawPopupBorder(canvas, r);
    if (SysPanelStyle && (PopupBorderStyle == epbsSingle || NativeStyle)) {
        const int y = IsTopCorner(SizeGripCorner) ? ClientRect.Top - 1 : ClientRect.Bottom;
        canvas->FillRect({r.Left, y, r.Right, y + 1}, clBtnText);
    }
    if (ClientEdge) {
        const int ce = GetClientEdgeWidth();
        const TRect c{ClientRect.Left - ce, ClientRect.Top - ce, ClientRect.Right + ce, ClientRect.Bottom + ce};
        canvas->DrawEdge(c, true, true);
        if (ce > 1)
            canvas->DrawEdge({c.Left + 1, c.Top + 1, c.Right - 1, c.Bottom - 1}, true, false);
    }
    TcxCustomLookAndFeelPainterClass painter = Painter;
    if (Sizeable && !cxRectIsEmpty(SizeGripRect)) {
        if (painter)
            painter->DrawSizeGrip(canvas, SizeGripRect, clBtnFace);
        canvas->ExcludeClipRect(SizeGripSizingRect);
    }
    if (CloseButton && !cxRectIsEmpty(CloseButtonRect)) {
        if (painter)
            painter->DrawFilterCloseButton(canvas, CloseButtonRect,
                                           CloseButtonState == 3   ? cxbsPressed
                                           : CloseButtonState == 2 ? cxbsHot
                                                                   : cxbsNormal);
        canvas->ExcludeClipRect(CloseButtonRect);
    }
    canvas->FillRect(r, painter ? painter->DefaultContentColor() : clBtnFace);
}

void TcxPopupEditPopupWindowViewInfo::DrawPopupBorder(TcxCanvas* canvas, TRect& r)
{
    if (NativeStyle || PopupBorderStyle != epbsFrame3D) {
        TcxCustomEditPopupWindowViewInfo::DrawPopupBorder(canvas, r);
        return;
    }
    canvas->DrawEdge(r, false, true);
    canvas->DrawEdge({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, false, false);
    canvas->FrameRect({r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2}, clInactiveBorder);
    canvas->FrameRect({r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3}, clBtnFace);
    r = {r.Left + 4, r.Top + 4, r.Right - 4, r.Bottom - 4};
}

// ---- the window ----------------------------------------------------------------------------------

TcxCustomEditPopupWindow::TcxCustomEditPopupWindow(TWinControl* ownerControl) : TcxCustomPopupWindow(ownerControl)
{
    SetVisible(false);
}

TcxCustomEditPopupWindow::~TcxCustomEditPopupWindow() = default;

TcxCustomDropDownEdit* TcxCustomEditPopupWindow::Edit() const
{
    return dynamic_cast<TcxCustomDropDownEdit*>(OwnerControl());
}

TcxCustomEditPopupWindowViewInfo* TcxCustomEditPopupWindow::EditViewInfo()
{
    return static_cast<TcxCustomEditPopupWindowViewInfo*>(ViewInfo());
}

void TcxCustomEditPopupWindow::SetBorderStyle(TcxEditPopupBorderStyle value)
{
    borderStyle_ = value;
    EditViewInfo()->PopupBorderStyle = value;
}

void TcxCustomEditPopupWindow::SetClientEdge(bool value)
{
    clientEdge_ = value;
    EditViewInfo()->ClientEdge = value;
}

void TcxCustomEditPopupWindow::SetCloseButton(bool value)
{
    closeButton_ = value;
    EditViewInfo()->CloseButton = value;
}

void TcxCustomEditPopupWindow::SetNativeStyle(bool value)
{
    nativeStyle_ = value;
    EditViewInfo()->NativeStyle = value;
}

void TcxCustomEditPopupWindow::SetShadow(bool value)
{
    shadow_ = value;
    EditViewInfo()->Shadow = value;
}

void TcxCustomEditPopupWindow::SetSizeable(bool value)
{
    sizeable_ = value;
    EditViewInfo()->Sizeable = value;
}

void TcxCustomEditPopupWindow::SetSysPanelStyle(bool value)
{
    sysPanelStyle_ = value;
    EditViewInfo()->SysPanelStyle = value;
}

void TcxCustomEditPopupWindow::SetMinSysPanelHeight(int value)
{
    minSysPanelHeight_ = value;
    EditViewInfo()->MinSysPanelHeight = value;
}

void TcxCustomEditPopupWindow::CalculateViewInfo()
{
    TcxCustomEditPopupWindowViewInfo* vi = EditViewInfo();
    vi->Bounds = {0, 0, Width(), Height()};
    vi->Painter = Style()->GetLookAndFeel()->GetPainter();
    vi->Calculate();
}

TRect TcxCustomEditPopupWindow::ViewClientRect()
{
    CalculateViewInfo();
    return EditViewInfo()->ClientRect;
}

TSize TcxCustomEditPopupWindow::GetMinSize()
{
    TcxCustomEditPopupWindowViewInfo* vi = EditViewInfo();
    const TRect e = vi->GetClientExtent();
    TSize m{e.Left + e.Right, e.Top + e.Bottom};
    if (sizeable_ && sysPanelStyle_) {
        const int h0 = std::max(gdi::GetSystemMetrics(SM_CYHSCROLL), gdi::GetSystemMetrics(SM_CYSIZE));
        m.cx += (closeButton_ ? h0 - 4 : 0) + (h0 - 2) + 10;
    }
    return m;
}

bool TcxCustomEditPopupWindow::AcceptsAnySize() const
{
    TcxCustomDropDownEdit* edit = Edit();
    return !edit || edit->ActiveProperties()->PopupWindowAcceptsAnySize();
}

void TcxCustomEditPopupWindow::CalculateSize()
{
    TcxCustomDropDownEdit* edit = Edit();
    TcxCustomEditPopupWindowViewInfo* vi = EditViewInfo();
    vi->SizeGripCorner = ecoBottomRight;
    if (edit)
        OwnerBounds = edit->GetPopupWindowOwnerControlBounds();
    const TRect e = vi->GetClientExtent();
    const TSize m = GetMinSize();
    const TSize p = popupAutoSize_ && edit ? edit->GetPopupWindowClientPreferredSize() : TSize{0, 0};
    int w = popupAutoSize_ ? e.Left + e.Right + p.cx : (popupWidth_ != 0 ? popupWidth_ : OwnerBounds.Width());
    if (sizeable_ && minWidth_ > 0)
        w = std::max(w, minWidth_);
    int h = popupAutoSize_ ? e.Top + e.Bottom + p.cy : (popupHeight_ > 0 ? popupHeight_ : std::max(minHeight_, m.cy));
    if (sizeable_ && minHeight_ > 0)
        h = std::max(h, minHeight_);
    SetBounds(Left(), Top(), std::max(w, m.cx), std::max(h, m.cy));
}

TPoint TcxCustomEditPopupWindow::CalculatePosition()
{
    if (TcxCustomDropDownEdit* edit = Edit())
        OwnerBounds = edit->GetPopupWindowOwnerControlBounds();
    TPoint p = TcxCustomPopupWindow::CalculatePosition();
    const int w = Width(), h = Height();
    const TRect o = GetOwnerScreenBounds();
    const TRect a = GetDesktopWorkArea(p);
    const bool left = (AlignHorz == pahRight && p.X + w == o.Right && a.Left < p.X) || p.X + w == o.Left ||
                      (p.X + w == a.Right && p.X < o.Right);
    const bool top = (AlignVert == pavBottom && p.Y + h == o.Bottom && a.Top < p.Y) || p.Y + h == o.Top ||
                     (p.Y + h == a.Bottom && p.Y < o.Bottom);
    EditViewInfo()->SizeGripCorner = left ? (top ? ecoTopLeft : ecoBottomLeft) : (top ? ecoTopRight : ecoBottomRight);
    if (shadow_ && top)
        p.Y += ShadowSize;
    return p;
}

void TcxCustomEditPopupWindow::Popup(TWinControl* focusedControl)
{
    TcxCustomDropDownEdit* edit = Edit();
    if (edit && !IsOwnerControlVisible()) {
        // The editor went away before the queued show arrived: finalize instead of showing.
        edit->PopupShowCancelled();
        return;
    }
    TcxCustomPopupWindow::Popup(focusedControl);
}

void TcxCustomEditPopupWindow::ModalCloseUp()
{
    if (TcxCustomDropDownEdit* edit = Edit())
        edit->CloseUp(edit->CloseUpReason());
    else
        CloseUp();
}

bool TcxCustomEditPopupWindow::NeedIgnoreMouseMessageAfterCloseUp(HWND, UINT, TShiftState, const TPoint& pos)
{
    // A press on the editor's drop-down button closes the window and must not open it again.
    TcxCustomDropDownEdit* edit = Edit();
    if (!edit || !edit->HandleAllocated())
        return false;
    const TPoint p = edit->ScreenToClient(pos);
    TcxCustomEditViewInfo* vi = edit->EditViewInfo();
    const int index = edit->ActiveProperties()->DropDownButtonVisibleIndex();
    return vi && index >= 0 && index < int(vi->ButtonsInfo.size()) && cxRectPtIn(vi->ButtonsInfo[index]->Bounds, p);
}

bool TcxCustomEditPopupWindow::CloseQuery()
{
    bool can = TcxCustomPopupWindow::CloseQuery();
    if (TcxCustomDropDownEdit* edit = Edit(); can && edit)
        edit->PopupWindowCloseQuery(this, can);
    return can;
}

void TcxCustomEditPopupWindow::DoClosed()
{
    if (sizeFrame_) {
        sizeFrame_.reset();
        Sizing().Now = false;
    }
    TcxCustomPopupWindow::DoClosed();
}

void TcxCustomEditPopupWindow::DoPopupControlKey(char16_t key)
{
    if (!IsVisible())
        return;
    if (HWND focus = ::GetFocus())
        vcl::SendMessage(focus, WM_CHAR, key, 0);
}

void TcxCustomEditPopupWindow::Dispatch(TMessage& msg)
{
    if (msg.Msg == CM_POPUPCONTROLKEY) {
        DoPopupControlKey(char16_t(msg.WParam));
        return;
    }
    // Tab is the form's focus key before it is a key: the editor's Tab rule comes first.
    if (msg.Msg == CM_DIALOGKEY && msg.WParam == VK_TAB) {
        TcxCustomDropDownEdit* edit = Edit();
        if (edit && edit->DroppedDown() && edit->ActiveProperties()->PostPopupValueOnTab()) {
            edit->CloseUp(crTab);
            msg.Result = 1;
            return;
        }
    }
    TcxCustomPopupWindow::Dispatch(msg);
}

void TcxCustomEditPopupWindow::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TcxCustomPopupWindow::KeyDown(key, shift);
    if (key == 0)
        return;
    TcxCustomDropDownEdit* edit = Edit();
    if (edit && !edit->PopupControlClosesOnKey(key, shift) && edit->HandlePopupKey(key, shift))
        key = 0;
}

void TcxCustomEditPopupWindow::Paint()
{
    // The view info's own extents make the client rectangle, not the base window's frame.
    CalculateViewInfo();
    TcxCustomEditPopupWindowViewInfo* vi = EditViewInfo();
    if (vi->BackgroundColor == clDefault)
        vi->BackgroundColor = Color();
    vi->Paint(PopupCanvas());
}

void TcxCustomEditPopupWindow::Resize()
{
    TcxCustomPopupWindow::Resize();
    if (!Calculating && IsVisible()) {
        CalculateViewInfo();
        if (TcxCustomDropDownEdit* edit = Edit())
            edit->PositionPopupWindowChilds(EditViewInfo()->ClientRect);
    }
}

bool TcxCustomEditPopupWindow::IsSizingNow() const { return Sizing().Now; }

bool TcxCustomEditPopupWindow::CanResizeTo(int& width, int& height)
{
    if (!sizeable_ || Calculating)
        return true;
    const TSize m = GetMinSize();
    width = std::max({width, int(m.cx), minWidth_});
    height = std::max({height, int(m.cy), minHeight_});
    if (width == Width() && height == Height())
        return true;
    TcxCustomDropDownEdit* edit = Edit();
    TcxCustomTextEditLookupData* lookup = edit ? edit->LookupData() : nullptr;
    if (!lookup || !edit->ActiveProperties()->IsLookupDataVisual())
        return true;
    const TRect e = EditViewInfo()->GetClientExtent();
    TSize area{width - e.Left - e.Right, height - e.Top - e.Bottom};
    const TSize maxArea = edit->GetMaxVisualAreaSize();
    if (!lookup->CanResizeVisualArea(area, maxArea.cy, maxArea.cx))
        return false;
    width = std::max(int(area.cx) + e.Left + e.Right, int(m.cx));
    height = std::max(int(area.cy) + e.Top + e.Bottom, int(m.cy));
    return true;
}

void TcxCustomEditPopupWindow::SetCloseButtonState(int state)
{
    if (EditViewInfo()->CloseButtonState == state)
        return;
    EditViewInfo()->CloseButtonState = state;
    Invalidate();
}

void TcxCustomEditPopupWindow::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxCustomPopupWindow::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    CalculateViewInfo();
    TcxCustomEditPopupWindowViewInfo* vi = EditViewInfo();
    if (closeButton_ && cxRectPtIn(vi->CloseButtonRect, {x, y})) {
        closeButtonPressed_ = true;
        SetCloseButtonState(3);
        return;
    }
    int horz = 0, vert = 0;
    if (!vi->IsSizingPlace(x, y, horz, vert))
        return;
    SetMouseCapture(true);
    SizingState& s = Sizing();
    s.Now = true;
    s.Horz = horz;
    s.Vert = vert;
    s.GrabX = horz == -1 ? x : Width() - x;
    s.GrabY = vert == -1 ? y : Height() - y;
    s.LastFrame = BoundsRect();
    SetCursor(SizingCursor(horz, vert));
    if (!LiveSizing) {
        sizeFrame_ = std::make_unique<TcxSizeFrame>(2);
        sizeFrame_->DrawSizeFrame(s.LastFrame);
        sizeFrame_->Show();
    }
}

TRect TcxCustomEditPopupWindow::SizedBounds(const TPoint& screenPos) const
{
    const SizingState& s = Sizing();
    const TPoint local{screenPos.X - Left(), screenPos.Y - Top()};
    const int grabX = s.Horz == -1 ? s.GrabX : Width() - s.GrabX;
    const int grabY = s.Vert == -1 ? s.GrabY : Height() - s.GrabY;
    int dx = s.Horz == 0 ? 0 : local.X - grabX;
    int dy = s.Vert == 0 ? 0 : local.Y - grabY;
    TRect r = BoundsRect();
    if (s.Horz == -1)
        r.Left += dx;
    else if (s.Horz == 1)
        r.Right += dx;
    if (s.Vert == -1)
        r.Top += dy;
    else if (s.Vert == 1)
        r.Bottom += dy;
    return r;
}

void TcxCustomEditPopupWindow::MouseMove(TShiftState shift, int x, int y)
{
    TcxCustomPopupWindow::MouseMove(shift, x, y);
    TcxCustomEditPopupWindowViewInfo* vi = EditViewInfo();
    SizingState& s = Sizing();
    if (!s.Now) {
        if (closeButton_) {
            const bool over = cxRectPtIn(vi->CloseButtonRect, {x, y});
            SetCloseButtonState(closeButtonPressed_ ? (over ? 3 : 1) : (over && !shift.Contains(ssLeft) ? 2 : 1));
        }
        int horz = 0, vert = 0;
        SetCursor(vi->IsSizingPlace(x, y, horz, vert) ? SizingCursor(horz, vert) : crDefault);
        return;
    }
    TRect r = SizedBounds(ClientToScreen({x, y}));
    int w = r.Width(), h = r.Height();
    if (!CanResizeTo(w, h))
        return;
    // The edges opposite the grip stay where they are.
    if (s.Horz == -1)
        r.Left = r.Right - w;
    else
        r.Right = r.Left + w;
    if (s.Vert == -1)
        r.Top = r.Bottom - h;
    else
        r.Bottom = r.Top + h;
    const TRect owner = GetOwnerScreenBounds();
    if (r.Right <= owner.Left || r.Left >= owner.Right)
        return;
    const TRect a = GetDesktopWorkArea(ClientToScreen({x, y}));
    r = {std::max(r.Left, a.Left), std::max(r.Top, a.Top), std::min(r.Right, a.Right), std::min(r.Bottom, a.Bottom)};
    if (r == s.LastFrame)
        return;
    s.LastFrame = r;
    if (LiveSizing)
        ResizePopupWindow(r);
    else if (sizeFrame_)
        sizeFrame_->DrawSizeFrame(r);
}

void TcxCustomEditPopupWindow::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TcxCustomPopupWindow::MouseUp(button, shift, x, y);
    SizingState& s = Sizing();
    if (s.Now) {
        SetMouseCapture(false);
        s.Now = false;
        sizeFrame_.reset();
        if (s.LastFrame != BoundsRect())
            ResizePopupWindow(s.LastFrame);
        int horz = 0, vert = 0;
        SetCursor(EditViewInfo()->IsSizingPlace(x, y, horz, vert) ? SizingCursor(horz, vert) : crDefault);
        return;
    }
    if (!closeButtonPressed_)
        return;
    closeButtonPressed_ = false;
    const auto alive = AliveToken();
    if (cxRectPtIn(EditViewInfo()->CloseButtonRect, {x, y}) && CloseQuery())
        if (TcxCustomDropDownEdit* edit = Edit())
            edit->CloseUp(crUnknown);
    if (!alive.expired() && IsVisible())
        SetCloseButtonState(2);
}

void TcxCustomEditPopupWindow::ResizePopupWindow(const TRect& screenBounds)
{
    if (TcxCustomDropDownEdit* edit = Edit())
        edit->MarkPopupResized();
    SetBounds(screenBounds.Left, screenBounds.Top, screenBounds.Width(), screenBounds.Height());
    CalculateViewInfo();
    if (TcxCustomDropDownEdit* edit = Edit())
        edit->PositionPopupWindowChilds(EditViewInfo()->ClientRect);
    Invalidate();
}

} // namespace cx
