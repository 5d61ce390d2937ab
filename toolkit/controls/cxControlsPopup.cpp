// TcxPopupWindow: a borderless form placed next to its owner's rectangle on the work area.
#include "toolkit/controls/cxControls.h"

namespace cx {

TcxPopupWindow::TcxPopupWindow(TComponent* owner) : TForm(owner)
{
    TForm::BorderStyle = bsNone;
    DefaultMonitor = dmDesktop;
    FormStyle = fsStayOnTop;
    formCanvas_ = std::make_unique<TCanvas>();
    canvas_ = std::make_unique<TcxCanvas>(formCanvas_.get());
}

TcxPopupWindow::~TcxPopupWindow() = default;

void TcxPopupWindow::SetBorderSpace(int value)
{
    RestoreControlsBounds();
    borderSpace_ = value;
}

void TcxPopupWindow::SetPopupBorderStyle(TcxPopupBorderStyle value)
{
    RestoreControlsBounds();
    borderStyle_ = value;
}

void TcxPopupWindow::RestoreControlsBounds()
{
    const int dx = GetBorderWidth(bLeft), dy = GetBorderWidth(bTop);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->SetBounds(c->Left() - dx, c->Top() - dy, c->Width(), c->Height());
    }
}

int TcxPopupWindow::GetFrameWidth(TcxBorder) const
{
    switch (borderStyle_) {
    case pbsUltraFlat:
    case pbsFlat: return 1;
    case pbs3D: return 2;
    default: return 0;
    }
}

TRect TcxPopupWindow::GetClientBounds() const
{
    TRect r = GetClientRect();
    return {r.Left + GetBorderWidth(bLeft), r.Top + GetBorderWidth(bTop), r.Right - GetBorderWidth(bRight),
            r.Bottom - GetBorderWidth(bBottom)};
}

void TcxPopupWindow::CalculateSize()
{
    if (!Adjustable)
        return;
    int right = 0, bottom = 0;
    const int dx = GetBorderWidth(bLeft), dy = GetBorderWidth(bTop);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        const TRect b = c->BoundsRect();
        right = std::max(right, b.Right);
        bottom = std::max(bottom, b.Bottom);
        c->SetBounds(b.Left + dx, b.Top + dy, b.Width(), b.Height());
    }
    if (right != 0 || ControlCount() > 0) {
        SetWidth(dx + right + GetBorderWidth(bRight));
        SetHeight(dy + bottom + GetBorderWidth(bBottom));
    }
}

TRect TcxPopupWindow::GetOwnerScreenBounds() const
{
    if (!OwnerParent)
        return OwnerBounds;
    const TPoint a = OwnerParent->ClientToScreen({OwnerBounds.Left, OwnerBounds.Top});
    const TPoint b = OwnerParent->ClientToScreen({OwnerBounds.Right, OwnerBounds.Bottom});
    return {a.X, a.Y, b.X, b.Y};
}

void TcxPopupWindow::InitPopup()
{
    if (OwnerParent)
        SetFont(OwnerParent->Font());
}

TPoint TcxPopupWindow::CalculatePosition()
{
    const TRect r = GetOwnerScreenBounds();
    const int w = Width(), h = Height();
    TcxPopupAlignHorz ah = AlignHorz;
    TcxPopupAlignVert av = AlignVert;
    TPoint p, o;
    if (ah == pahCenter)
        p.X = o.X = (r.Left + r.Right - w) / 2;
    if (av == pavCenter)
        p.Y = o.Y = (r.Top + r.Bottom - h) / 2;
    auto place = [&] {
        if (Direction == pdVertical) {
            if (ah == pahLeft)
                p.X = r.Left, o.X = r.Left;
            else if (ah == pahRight)
                p.X = r.Right - w, o.X = r.Right;
            if (av == pavTop)
                p.Y = r.Top - h, o.Y = r.Top;
            else if (av == pavBottom)
                p.Y = r.Bottom, o.Y = r.Bottom;
        } else {
            if (ah == pahLeft)
                p.X = r.Left - w, o.X = r.Left;
            else if (ah == pahRight)
                p.X = r.Right, o.X = r.Right;
            if (av == pavTop)
                p.Y = r.Top, o.Y = r.Top;
            else if (av == pavBottom)
                p.Y = r.Bottom - h, o.Y = r.Bottom;
        }
    };
    place();
    const TRect a = GetDesktopWorkArea(o);
    if (Direction == pdVertical) {
        const int above = r.Top - a.Top, below = a.Bottom - r.Bottom;
        if (av == pavBottom && p.Y + h > a.Bottom && above > below)
            av = pavTop;
        else if (av == pavTop && p.Y < a.Top && above <= below)
            av = pavBottom;
    } else {
        const int left = r.Left - a.Left, right = a.Right - r.Right;
        if (ah == pahRight && p.X + w > a.Right && left > right)
            ah = pahLeft;
        else if (ah == pahLeft && p.X < a.Left && left <= right)
            ah = pahRight;
    }
    place();
    if (Direction == pdVertical || ah == pahCenter) {
        if (p.X + w > a.Right)
            p.X = a.Right - w;
        if (p.X < a.Left)
            p.X = a.Left;
    }
    if (Direction == pdHorizontal || av == pavCenter) {
        if (p.Y + h > a.Bottom)
            p.Y = a.Bottom - h;
        if (p.Y < a.Top)
            p.Y = a.Top;
    }
    return p;
}

void TcxPopupWindow::Popup()
{
    InitPopup();
    CalculateSize();
    SetLeft(CalculatePosition().X);
    SetTop(CalculatePosition().Y);
    Show();
}

void TcxPopupWindow::DrawFrame()
{
    const TRect r{0, 0, Width(), Height()};
    switch (borderStyle_) {
    case pbsUltraFlat: canvas_->FrameRect(r, FrameColor); break;
    case pbsFlat: canvas_->DrawEdge(r, false, false); break;
    case pbs3D:
        canvas_->DrawEdge(r, false, true);
        canvas_->DrawEdge({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, false, false);
        break;
    default: break;
    }
}

void TcxPopupWindow::PaintWindow(HDC dc)
{
    formCanvas_->SetHandle(dc);
    formCanvas_->Font()->Assign(Font());
    formCanvas_->Brush()->SetColor(Color());
    try {
        Paint();
        DrawFrame();
    } catch (...) {
        formCanvas_->SetHandle(nullptr);
        throw;
    }
    formCanvas_->SetHandle(nullptr);
}

void TcxPopupWindow::Deactivate()
{
    TForm::Deactivate();
    CloseUp();
}

void TcxPopupWindow::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case WM_ACTIVATE:
        TForm::Dispatch(msg);
        if (LoWord(msg.WParam) != WA_INACTIVE) {
            prevActiveWindow_ = reinterpret_cast<HWND>(msg.LParam);
            if (prevActiveWindow_)
                vcl::SendMessage(prevActiveWindow_, WM_NCACTIVATE, 1, 0);
        }
        return;
    case WM_ACTIVATEAPP:
        TForm::Dispatch(msg);
        if (msg.WParam == 0) {
            if (prevActiveWindow_)
                vcl::SendMessage(prevActiveWindow_, WM_NCACTIVATE, 0, 0);
            CloseUp();
        }
        return;
    case CM_VISIBLECHANGED:
        TForm::Dispatch(msg);
        VisibleChanged();
        return;
    default: TForm::Dispatch(msg);
    }
}

} // namespace cx
