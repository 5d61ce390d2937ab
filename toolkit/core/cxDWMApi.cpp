#include "toolkit/core/cxDWMApi.h"

namespace cx {

BOOL (*DwmDefWindowProc)(HWND, unsigned, std::uintptr_t, std::intptr_t, std::intptr_t*) = nullptr;
HRESULT (*DwmEnableBlurBehindWindow)(HWND, const void*) = nullptr;
HRESULT (*DwmEnableComposition)(unsigned) = nullptr;
HRESULT (*DwmEnableMMCSS)(BOOL) = nullptr;
HRESULT (*DwmExtendFrameIntoClientArea)(HWND, const void*) = nullptr;
HRESULT (*DwmGetColorizationColor)(std::uint32_t*, BOOL*) = nullptr;
HRESULT (*DwmGetWindowAttribute)(HWND, std::uint32_t, void*, std::uint32_t) = nullptr;
HRESULT (*DwmIsCompositionEnabled)(BOOL*) = nullptr;
HRESULT (*DwmSetWindowAttribute)(HWND, std::uint32_t, const void*, std::uint32_t) = nullptr;

namespace {
bool present = false;
int startCount = 0;
} // namespace

bool IsDwmPresent() { return present; }

bool IsCompositionEnabled()
{
    if (!present || !DwmIsCompositionEnabled)
        return false;
    BOOL enabled = 0;
    return DwmIsCompositionEnabled(&enabled) == 0 && enabled != 0;
}

namespace cxDWMApiUnit {
void Initialize()
{
    if (startCount++ > 0)
        return;
    // The library exists only from Windows 6 on; the profile says 5.1, and this platform has no
    // such library anyway, so the entry points stay null.
    present = false;
}

void Finalize()
{
    if (startCount > 0)
        --startCount;
    if (startCount == 0)
        present = false;
}
} // namespace cxDWMApiUnit

} // namespace cx
