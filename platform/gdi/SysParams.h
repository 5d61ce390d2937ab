#pragma once
// The platform profile's system colours and metrics, as the drawing layer asks for them. The
// colours and the profile's own numbers live in platform/rtl/Profile.h; the metrics table here.
#include "platform/gdi/GdiConsts.h"
#include "platform/gdi/GdiObjects.h"

namespace gdi {

// 0x00BBGGRR of a system colour index; indices outside the table give 0 (black).
COLORREF GetSysColor(int index);
// A solid brush of a system colour; an index outside the table gives a null brush.
Brush GetSysColorBrush(int index);
// Unknown metrics are 0.
int GetSystemMetrics(int index);
// Device capabilities of the profile: 32 bits per pixel at 96 dpi.
int GetDeviceCaps(int index);

} // namespace gdi
