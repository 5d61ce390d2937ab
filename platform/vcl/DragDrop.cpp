// Drag and drop inside the program. No platform drag session is started (none exists offscreen,
// and the design's drag never leaves the program): while a drag runs, the source holds the mouse
// capture, so every move reaches us (outside our windows too); a mouse hook takes the mouse
// messages for the drag and a get-message hook watches for Escape.
//
// Each move asks the control under the pointer through CM_DRAG (dmDragEnter when the target
// changes, after dmDragLeave to the old one; then dmDragMove); its DragOver answers whether it
// accepts, and the cursor shows the drag object's answer. Releasing the button drops on a target
// that accepted (dmDragDrop) and ends the drag; the source's DoEndDrag learns the target (or
// none).
#include "platform/vcl/Controls.h"

#include "platform/vcl/Desktop.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/MessageQueue.h"
#include "platform/vcl/Peer.h"

#include <cstdlib>
#include <memory>

namespace {

struct DragSession {
    TControl* source = nullptr;
    std::weak_ptr<bool> sourceAlive;
    TDragObject* object = nullptr;
    bool ownsObject = false;
    bool started = false; // the threshold was passed (or the drag began at once)
    int threshold = 0;
    TPoint start;
    TControl* target = nullptr;
    std::weak_ptr<bool> targetAlive;
    bool accepted = false;
    TCursor savedCursor = crDefault;
    HHOOK mouseHook = nullptr;
    HHOOK messageHook = nullptr;
    TDragImageList* images = nullptr;
};

std::unique_ptr<DragSession> session;

bool Alive(const std::weak_ptr<bool>& token)
{
    auto a = token.lock();
    return a && *a;
}

TControl* LiveTarget()
{
    return session && session->target && Alive(session->targetAlive) ? session->target : nullptr;
}

// The control under a screen point: the window under it, then its graphic child there.
TControl* FindDragTarget(const TPoint& screen)
{
    vcl::TWidgetPeer* peer = vcl::PeerAt(screen);
    if (!peer)
        return nullptr;
    TWinControl* w = peer->Control();
    if (TControl* child = w->ControlAtPos(w->ScreenToClient(screen), false))
        return child;
    return w;
}

LRESULT DragMessage(TDragObject* object, TControl* target, TDragMessage msg, const TPoint& screen)
{
    if (!target)
        return 0;
    TDragRec rec{screen, object, target, false};
    return target->Perform(CM_DRAG, WPARAM(msg), reinterpret_cast<LPARAM>(&rec));
}

void ShowCursor(TCursor c)
{
    if (Screen->Cursor() != c)
        Screen->SetCursor(c);
}

void DragTo(const TPoint& screen)
{
    auto& s = *session;
    if (!s.started) {
        if (std::abs(screen.X - s.start.X) < s.threshold && std::abs(screen.Y - s.start.Y) < s.threshold)
            return;
        s.started = true;
    }
    s.object->DragPos = screen;
    if (s.images)
        s.images->DragMove(screen.X, screen.Y);
    TControl* now = FindDragTarget(screen);
    TControl* old = LiveTarget();
    if (now != old) {
        if (old)
            DragMessage(s.object, old, dmDragLeave, screen);
        if (!session)
            return;
        s.target = now;
        s.targetAlive = now ? now->AliveToken() : std::weak_ptr<bool>();
        s.object->DragTarget = now;
        if (now)
            DragMessage(s.object, now, dmDragEnter, screen);
        if (!session)
            return;
    }
    TControl* target = LiveTarget();
    s.accepted = target && DragMessage(s.object, target, dmDragMove, screen) != 0;
    if (!session)
        return;
    if (target)
        s.object->DragTargetPos = target->ScreenToClient(screen);
    ShowCursor(s.object->GetDragCursor(s.accepted, screen.X, screen.Y));
}

void DragDone(bool drop, const TPoint& screen)
{
    if (!session)
        return;
    // Not dragging any more from here on, whatever the notices below do.
    std::unique_ptr<DragSession> s = std::move(session);
    vcl::UnhookWindowsHookEx(s->mouseHook);
    vcl::UnhookWindowsHookEx(s->messageHook);
    if (s->images)
        s->images->EndDrag();
    Screen->SetCursor(s->savedCursor);
    TControl* target = s->target && Alive(s->targetAlive) ? s->target : nullptr;
    const bool accepted = drop && s->started && target && s->accepted;
    s->object->Cancelling = !drop;
    s->object->Dropped = accepted;
    if (Alive(s->sourceAlive) && s->source->MouseCapture())
        s->source->SetMouseCapture(false);
    if (target && accepted)
        DragMessage(s->object, target, dmDragDrop, screen);
    else if (target && s->started)
        DragMessage(s->object, target, dmDragLeave, screen);
    const bool targetAlive = target && Alive(s->targetAlive);
    const TPoint p = targetAlive ? target->ScreenToClient(screen) : TPoint{0, 0};
    rtl::TObject* dropTarget = accepted && targetAlive ? target : nullptr;
    s->object->Finished(dropTarget, p.X, p.Y, accepted);
    if (Alive(s->sourceAlive))
        s->source->DoEndDrag(dropTarget, p.X, p.Y);
    if (s->ownsObject)
        s->object->Free();
}

LRESULT DragMouseHook(int code, WPARAM msg, LPARAM lParam)
{
    if (code != HC_ACTION || !session)
        return 0;
    const auto& mh = *reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
    const TPoint p{mh.ptX, mh.ptY};
    vcl::GuardQtEntry(nullptr, [&] {
        switch (msg) {
        case WM_MOUSEMOVE: DragTo(p); break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: DragDone(true, p); break;
        default: break;
        }
    });
    // The drag takes the mouse while it runs.
    return 1;
}

LRESULT DragMessageHook(int code, WPARAM, LPARAM lParam)
{
    if (code != HC_ACTION || !session)
        return 0;
    MSG& m = *reinterpret_cast<MSG*>(lParam);
    if ((m.message == WM_KEYDOWN || m.message == WM_KEYUP) && m.wParam == VK_ESCAPE) {
        m.message = WM_NULL;
        const TPoint p = session->object->DragPos;
        vcl::GuardQtEntry(nullptr, [&] { DragDone(false, p); });
    } else if (m.message == WM_CANCELMODE || m.message == WM_CAPTURECHANGED) {
        // Anything that takes the mouse away ends the drag without a drop.
    }
    return 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------
TCursor TDragObject::GetDragCursor(bool accepted, int, int) { return accepted ? crDrag : crNoDrop; }

TCursor TDragControlObject::GetDragCursor(bool accepted, int, int) { return accepted ? Control->DragCursor : crNoDrop; }

TDragImageList* TDragControlObject::GetDragImages() { return Control->GetDragImages(); }

void TControl::DragOver(rtl::TObject* source, int x, int y, TDragState state, bool& accept)
{
    accept = OnDragOver.Assigned();
    if (accept)
        vcl::FireEvent(OnDragOver, this, source, x, y, state, accept);
}

bool TControl::Dragging() const { return session && session->source == this; }

void TControl::BeginDrag(bool immediate, int threshold)
{
    if (session)
        return;
    TDragObject* object = nullptr;
    const auto alive = AliveToken();
    try {
        DoStartDrag(object);
    } catch (const rtl::EAbort&) {
        // The source refused to start: no drag at all.
        return;
    }
    if (!Alive(alive) || session)
        return;
    auto s = std::make_unique<DragSession>();
    s->source = this;
    s->sourceAlive = alive;
    s->ownsObject = object == nullptr;
    s->object = object ? object : new TDragControlObject(this);
    s->threshold = threshold < 0 ? Mouse->DragThreshold() : threshold;
    s->start = vcl::LastMousePoint();
    s->started = immediate;
    s->savedCursor = Screen->Cursor();
    s->object->DragPos = s->start;
    s->images = s->object->GetDragImages();
    session = std::move(s);
    SetMouseCapture(true);
    session->mouseHook = vcl::SetWindowsHookEx(WH_MOUSE, &DragMouseHook);
    session->messageHook = vcl::SetWindowsHookEx(WH_GETMESSAGE, &DragMessageHook);
    if (session->images)
        session->images->BeginDrag(nullptr, session->start.X, session->start.Y);
    if (immediate)
        DragTo(session->start);
}

void TControl::EndDrag(bool drop)
{
    if (Dragging())
        DragDone(drop, session->object->DragPos);
}

// CM_DRAG to the control under the pointer: the drop side of the drag.
void TControl::HandleDrag(TMessage& m)
{
    auto* rec = reinterpret_cast<TDragRec*>(m.LParam);
    if (!rec || rec->Target != this)
        return;
    // The drop side sees the dragged control, not the drag object that carries it.
    rtl::TObject* source = rec->Source;
    if (auto* c = dynamic_cast<TBaseDragControlObject*>(rec->Source))
        source = c->Control;
    const TPoint p = ScreenToClient(rec->Pos);
    switch (TDragMessage(m.WParam)) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
        bool accept = true;
        const TDragState state = m.WParam == dmDragEnter ? dsDragEnter : m.WParam == dmDragLeave ? dsDragLeave : dsDragMove;
        DragOver(source, p.X, p.Y, state, accept);
        m.Result = accept ? 1 : 0;
        return;
    }
    case dmDragDrop: DragDrop(source, p.X, p.Y); return;
    default: return;
    }
}

// ---------------------------------------------------------------------------------------------
namespace {
// The window that shows the dragged image: above everything, never active.
class TDragImageWindow : public TOverlayWindow {
public:
    // The pointer is always over the image: the drop side is what lies under it.
    TDragImageWindow(TDragImageList* images, int index) : TOverlayWindow(nullptr), images_(images), index_(index)
    {
        ControlStyle.Include(csOpaque);
    }

protected:
    void Paint() override { images_->Draw(Canvas(), 0, 0, index_); }

private:
    TDragImageList* images_;
    int index_;
};
} // namespace

TDragImageList::TDragImageList(rtl::TComponent* owner) : TCustomImageList(owner) {}

TDragImageList::~TDragImageList()
{
    if (window_)
        window_->Free();
}

bool TDragImageList::SetDragImage(int index, int hotSpotX, int hotSpotY)
{
    if (index < 0 || index >= Count())
        return false;
    dragIndex_ = index;
    hotSpot_ = {hotSpotX, hotSpotY};
    return true;
}

bool TDragImageList::BeginDrag(HWND, int x, int y)
{
    if (dragging_ || dragIndex_ < 0 || dragIndex_ >= Count())
        return false;
    dragging_ = true;
    window_ = new TDragImageWindow(this, dragIndex_);
    window_->SetBounds(x - hotSpot_.X, y - hotSpot_.Y, GetWidth(), GetHeight());
    ShowDragImage();
    return true;
}

bool TDragImageList::DragMove(int x, int y)
{
    if (!dragging_ || !window_)
        return false;
    window_->SetBounds(x - hotSpot_.X, y - hotSpot_.Y, GetWidth(), GetHeight());
    return true;
}

bool TDragImageList::EndDrag()
{
    if (!dragging_)
        return false;
    dragging_ = false;
    if (window_) {
        window_->Free();
        window_ = nullptr;
    }
    return true;
}

void TDragImageList::ShowDragImage()
{
    if (window_)
        window_->SetVisible(true);
}

void TDragImageList::HideDragImage()
{
    if (window_)
        window_->SetVisible(false);
}

TWinControl* TDragImageList::DragWindow() const { return window_; }
