#pragma once
// The one place where Qt's input events become window messages, in the order the design's
// system produces them:
// - mouse: our own double-click detection (second press of the same button on the same window
//   within the double-click time and square gives WM_xBUTTONDBLCLK), the capture (a captured
//   window gets every mouse message; taking the capture away sends WM_CAPTURECHANGED), and
//   CM_MOUSEENTER / CM_MOUSELEAVE when the control under the pointer changes (none while the
//   capture is held);
// - keys: WM_KEYDOWN goes to the focus window through the hooks and the application's
//   preprocessing (CN_KEYDOWN, dialog keys); when that leaves it, WM_CHAR is queued (one per
//   UTF-16 unit of the key's text) and WM_KEYDOWN is dispatched; posted messages are handled
//   before a key, as the system retrieves them before input; a held key repeats its key-down;
// - focus: WM_KILLFOCUS to the old window, WM_SETFOCUS to the new one.
#include "platform/vcl/Controls.h"

class QEvent;
class QMouseEvent;
class QKeyEvent;
class QInputMethodEvent;
class QWheelEvent;

namespace vcl {
class TWidgetPeer;

namespace input {

void MouseEvent(TWidgetPeer* peer, QMouseEvent* e);
void WheelEvent(TWidgetPeer* peer, QWheelEvent* e);
void KeyEvent(TWidgetPeer* peer, QKeyEvent* e);
// An input method's preedit and commit: WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION (GCS_COMPSTR
// while composing, GCS_RESULTSTR with the commit), WM_IME_ENDCOMPOSITION when the preedit is
// gone, then one queued WM_CHAR per UTF-16 unit of the committed text.
void InputMethodEvent(TWidgetPeer* peer, QInputMethodEvent* e);
// The composition string (GCS_COMPSTR) or the last result string (GCS_RESULTSTR).
std::u16string CompositionString(unsigned which);
// The pointer left the peer's window for a place outside our windows.
void PointerLeftWindow(TWidgetPeer* peer);
// The peer's top-level window was activated or deactivated by the window system.
void WindowActivation(TWidgetPeer* peer, bool active);

// Input injection for tests and for code that synthesises input: screen coordinates.
void InjectMouse(UINT msg, const TPoint& screen, unsigned keys = 0);
// A key press with the characters it types (UTF-8); WM_KEYUP when down is false.
void InjectKey(std::uint16_t vk, bool down, const std::string& text = {});

// Re-evaluates the control under the pointer (after a move, a capture change, a control hidden).
void TrackMouseControl(const TPoint& screen);
TControl* MouseControl();

// Bookkeeping for the control layer.
void ControlDestroying(TControl* control);
void RaisePeer(TWinControl* control);
// Forgets the last click, so that the next press is never a double click.
void ResetClickCount();

// Qt key to virtual key (0 when there is none).
std::uint16_t VirtualKeyOf(int qtKey);

} // namespace input
} // namespace vcl
