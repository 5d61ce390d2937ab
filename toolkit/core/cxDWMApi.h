#pragma once
// cxDWMApi: the desktop window manager binding. This platform has no desktop composition (the
// profile is Windows 5.1), so nothing is bound and every query answers false.
#include <cstdint>

namespace cx {

enum TDWMNCRENDERINGPOLICY { DWMNCRP_USEWINDOWSTYLE, DWMNCRP_DISABLED, DWMNCRP_ENABLED, DWMNCRP_LAST };

using HWND = void*;
using HRESULT = long;
using BOOL = int;

// The entry points, null while unbound.
extern BOOL (*DwmDefWindowProc)(HWND, unsigned, std::uintptr_t, std::intptr_t, std::intptr_t*);
extern HRESULT (*DwmEnableBlurBehindWindow)(HWND, const void*);
extern HRESULT (*DwmEnableComposition)(unsigned);
extern HRESULT (*DwmEnableMMCSS)(BOOL);
extern HRESULT (*DwmExtendFrameIntoClientArea)(HWND, const void*);
extern HRESULT (*DwmGetColorizationColor)(std::uint32_t*, BOOL*);
extern HRESULT (*DwmGetWindowAttribute)(HWND, std::uint32_t, void*, std::uint32_t);
extern HRESULT (*DwmIsCompositionEnabled)(BOOL*);
extern HRESULT (*DwmSetWindowAttribute)(HWND, std::uint32_t, const void*, std::uint32_t);

bool IsDwmPresent();
bool IsCompositionEnabled();

namespace cxDWMApiUnit {
void Initialize();
void Finalize();
} // namespace cxDWMApiUnit

} // namespace cx
