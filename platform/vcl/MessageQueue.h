#pragma once
// The window-message machinery under the controls: the handle registry, sent and posted
// messages, our own FIFO of posted messages drained by one posted Qt event, window timers, the
// three thread hooks, and the guard that keeps exceptions from crossing into Qt.
//
// Sent messages (SendMessage) pass the call-window-procedure hooks and reach the window procedure
// at once. Posted messages, input and timer ticks are "retrieved": the mouse hooks (mouse
// messages), then the get-message hooks, then the application's preprocessing (key reflection,
// dialog keys), then the window procedure.
#include "platform/vcl/Messages.h"

#include <functional>
#include <string>

namespace rtl {
class TObject;
}

namespace vcl {

using WindowProcedure = std::function<void(TMessage&)>;

// Registers a window and gives it a handle that is never given out again. `owner` is the object
// behind the window (a TWinControl, or null for a message window); `className` is what
// GetClassName answers.
HWND RegisterWindow(WindowProcedure proc, rtl::TObject* owner, std::string className);
// Forgets the handle: sends and posts to it are dropped from now on, its timers stop.
void UnregisterWindow(HWND wnd);
bool IsWindow(HWND wnd);
rtl::TObject* WindowOwner(HWND wnd);
std::string WindowClassName(HWND wnd);
// Replaces the procedure of a registered window; gives the previous one.
WindowProcedure SetWindowProcedure(HWND wnd, WindowProcedure proc);

// Sends through the call-window-procedure hooks; 0 for a dead handle.
LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues the message; false for a dead handle. A null handle posts a thread message that only
// the hooks and the preprocessing see.
bool PostMessage(HWND wnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// The window procedure's answer for messages nobody handled.
LRESULT DefWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Runs a retrieved message through hooks, preprocessing, `translate` (called only when the
// message goes on to the window) and the window procedure. Used by the FIFO, timers and input.
void ProcessRetrievedMessage(MSG msg, const std::function<void(const MSG&)>& translate = {});
// Delivers without hooks or preprocessing (DispatchMessage).
LRESULT DispatchMessage(const MSG& msg);
// Looks for a posted message of the window (any window for null) within [first, last] (both 0:
// any message); with PM_REMOVE the message found leaves the queue. WM_QUIT passes every filter.
bool PeekMessage(MSG& msg, HWND wnd, UINT first, UINT last, unsigned remove);
// Number of messages waiting in the FIFO; drains it now (for tests and ProcessMessages).
int PendingMessageCount();
void DrainPostedMessages();

// The application's preprocessing of a retrieved message: true when it handled it.
void SetMessagePreprocessor(std::function<bool(MSG&)> preprocess);

// Hooks. The dispatcher calls every installed hook of the kind, the latest first, so
// CallNextHookEx has nothing left to do and answers 0. A call-window-procedure hook may rewrite
// the CWPSTRUCT and swallow the message by answering non-zero (the sender gets 1); a get-message
// hook may rewrite the MSG (WM_NULL drops it); a mouse hook swallows by answering non-zero.
using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);
HHOOK SetWindowsHookEx(int kind, HOOKPROC proc);
bool UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// Window timers: WM_TIMER with the id in wParam, retrieved like posted messages; a timer of a
// window that died is gone.
bool SetTimer(HWND wnd, std::uintptr_t id, unsigned elapseMs);
bool KillTimer(HWND wnd, std::uintptr_t id);

// A hidden window for a non-visual object (timers, message windows).
HWND AllocateHWnd(WindowProcedure proc);
void DeallocateHWnd(HWND wnd);

// The application's exception handler, called inside a catch block with the exception current.
void SetExceptionSink(std::function<void(rtl::TObject* sender)> sink);
void HandleCurrentException(rtl::TObject* sender);

// Every call from Qt into our code goes through here: an exception is handed to the
// application's handler and never reaches Qt.
template <class F>
void GuardQtEntry(rtl::TObject* sender, F&& f)
{
    try {
        f();
    } catch (...) {
        HandleCurrentException(sender);
    }
}

// Idle processing: called when the event dispatcher is about to wait.
void SetIdleHandler(std::function<void()> idle);

} // namespace vcl
