#pragma once
// The system caret for controls that paint their own text: one caret for the program, owned by
// one window, created hidden (ShowCaret counts against HideCaret), blinking at the caret blink
// time. The owner's peer draws it inverted over the window's pixels, and answers the input
// method's cursor-rectangle query from it, so that a candidate window sits at the caret.
#include "platform/vcl/Controls.h"

class QPainter;

// `bitmap` is unused (a solid caret); width 0 takes the system's border width.
bool CreateCaret(HWND wnd, void* bitmap, int width, int height);
bool DestroyCaret();
bool SetCaretPos(int x, int y);
bool GetCaretPos(TPoint* point);
bool ShowCaret(HWND wnd);
bool HideCaret(HWND wnd);
unsigned GetCaretBlinkTime();
bool SetCaretBlinkTime(unsigned ms);

namespace vcl::caret {
// The caret's rectangle in the client coordinates of `wnd` when that window owns it.
bool CaretRect(HWND wnd, TRect& r);
// Draws the caret over the window's pixels while it is shown and in its visible phase.
void Paint(HWND wnd, QPainter& painter);
} // namespace vcl::caret
