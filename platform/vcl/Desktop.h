#pragma once
// What the design's window system does for the whole program rather than for one window:
// - an application-wide event filter: every mouse press and every key in the program reaches the
//   mouse and keyboard hooks, plain Qt widgets (a message box, a menu, a console widget) included;
//   while a window holds the mouse capture, mouse input over any widget goes to it;
// - the application's activation: WM_ACTIVATEAPP to every top-level window of ours when the
//   program as a whole becomes active or inactive (the capture is cancelled first);
// - WM_SETTINGCHANGE to every top-level window when the screens or their settings change;
// - the cursor: WM_SETCURSOR before each mouse message (without capture) decides the shape, which
//   SetCursor puts on the peer under the pointer; cursor handles are Qt shapes or QCursors;
// - WM_MOUSEACTIVATE on a press in an inactive top-level window: a window created with
//   WS_EX_NOACTIVATE is never activated (it is a tool-tip kind of window without focus);
// - the mouse grab behind SetCapture, so that moves outside our windows arrive.
#include "platform/vcl/Controls.h"

#include <string>
#include <vector>

class QCursor;

using HCURSOR = void*;

namespace vcl {

// Installs the filter and the application-state connections once a QApplication exists.
void EnsureDesktop();

// The handle of a Qt cursor shape, and of any cursor (kept for the life of the program).
HCURSOR CursorHandleOfShape(int qtShape);
HCURSOR CursorHandleOf(const QCursor& cursor);
// The cursor a handle stands for (the arrow for null or unknown handles).
QCursor CursorOf(HCURSOR cursor);
// A cursor drawn from rows of text, one character a pixel: 'X' black, '.' white, anything else
// clear; `hotSpot` in pixels from the top left. Each call makes a new handle.
HCURSOR CursorHandleOfPicture(const std::vector<std::string>& rows, TPoint hotSpot);
// Lays `part` over `picture` with its top left at (x, y); blanks in the part keep what lies
// under them.
void OverlayPicture(std::vector<std::string>& picture, const std::vector<std::string>& part, int x, int y);
// The arrow cursor as such rows (its tip, the hot spot, at the top left).
const std::vector<std::string>& ArrowCursorPicture();
// The pictures of the drag cursors (made once): the arrow with a dotted box at its foot for one
// item moved, three stacked boxes for several; a copy shows a box with a plus sign instead.
const std::vector<std::string>& DragCursorPicture(bool several, bool copy);
// Their handles (made once for the program's run).
HCURSOR DragCursor(bool several, bool copy);

// Called by the input translator before a mouse message goes to `target` (not while captured):
// sends WM_SETCURSOR; the arrow when nobody sets a cursor. `screen` is the message's point.
void UpdateCursorFor(HWND target, UINT mouseMsg, const TPoint& screen);
// The screen point of the last mouse message the cursor was chosen for.
TPoint LastMousePoint();
// Called before a press goes to `target`: WM_MOUSEACTIVATE when its top-level window is not
// active; activates it unless told not to; false when the press is to be eaten.
bool MouseActivate(HWND target, UINT mouseMsg);
// The mouse grab that follows the capture (null releases it).
void GrabMouseFor(HWND capture);
// The program is active (one of its windows has the activation).
bool ApplicationActive();

} // namespace vcl

// A window shown above everything that never takes the activation and lets the mouse through
// to what lies under it (a drag image, the panning anchor). Hidden when made.
class TOverlayWindow : public TCustomControl {
    RTL_CLASS(TOverlayWindow, TCustomControl)
    explicit TOverlayWindow(rtl::TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
};

// The opacity of a top-level window (LWA_ALPHA, 0 to 255); a colour key is not offered (false).
enum : std::uint32_t { LWA_COLORKEY = 1, LWA_ALPHA = 2 };
bool SetLayeredWindowAttributes(HWND wnd, std::uint32_t colorKey, std::uint8_t alpha, std::uint32_t flags);

// The cursor of the window under the pointer; gives the previous handle.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
