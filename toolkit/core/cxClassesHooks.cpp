// cxClasses: hooks and window class names, over the control layer's hooks and handle registry.
#include "toolkit/core/cxClasses.h"

namespace cx {

void SetHook(HHOOK& hookHandle, int hookId, vcl::HOOKPROC hookProc)
{
    if (hookHandle)
        throw EAssertionFailed("Assertion failure: a hook is already installed in this slot");
    hookHandle = vcl::SetWindowsHookEx(hookId, hookProc);
}

void ReleaseHook(HHOOK& hookHandle)
{
    if (!hookHandle)
        return;
    vcl::UnhookWindowsHookEx(hookHandle);
    hookHandle = nullptr;
}

std::string cxGetClassName(void* wnd) { return vcl::WindowClassName(wnd); }

} // namespace cx
