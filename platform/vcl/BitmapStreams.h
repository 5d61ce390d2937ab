#pragma once
// Bitmaps in the Windows bitmap file form (file header, info header, colour table, bottom-up
// rows padded to four bytes), and the component library's stream form of a bitmap property
// (a 4-byte length followed by that file). The bitmap classes of this layer have no stream
// methods of their own; these functions stand in for them.
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Graphics.h"

class EInvalidGraphic : public rtl::Exception {
public:
    using Exception::Exception;
};

// 1-bit bitmaps are written with a black and white colour table, 32-bit ones with 32 bits a
// pixel (the fourth byte kept), every other format with 24 bits.
void SaveBitmapToStream(TBitmap* bitmap, rtl::TStream* stream);
// Reads a bitmap file of 1, 4, 8, 24 or 32 bits a pixel (BI_RGB or 32-bit BI_BITFIELDS), top-down
// or bottom-up. Anything else raises EInvalidGraphic "Bitmap image is not valid"; the bitmap is
// then unchanged. An empty stream gives an empty bitmap.
void LoadBitmapFromStream(TBitmap* bitmap, rtl::TStream* stream);

// The property form: the file's length as 4 bytes, then the file (an empty bitmap: length 0).
void WriteBitmapData(TBitmap* bitmap, rtl::TStream* stream);
void ReadBitmapData(TBitmap* bitmap, rtl::TStream* stream);
