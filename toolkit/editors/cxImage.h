#pragma once
// Pictures as editor values: the process-wide list of graphic classes an image or BLOB editor
// may choose from, and the conversion between a picture and its value (a string or byte
// array holding the graphic's file bytes, optionally behind the 8-byte graphic header).
#include "platform/rtl/Variant.h"
#include "platform/vcl/Picture.h"

#include <string>
#include <vector>

namespace cx {

// The list, made on first use: TBitmap, TIcon, TMetafile, TdxPNGImage, TJPEGImage. Its first
// entry is the default graphic class of image and BLOB editors.
const std::vector<TGraphicClass>& GetRegisteredGraphicClasses();
// Adds a class not yet in the list (at the end).
void RegisterGraphicClass(TGraphicClass graphicClass);
void UnRegisterGraphicClass(TGraphicClass graphicClass);
// The first class whose name equals the text, case ignored; empty when none.
TGraphicClass GetGraphicClassByName(const std::string& className);

// Fills the picture from a value. Only a string or array of more than 7 bytes is a picture;
// anything else, and any value the graphic cannot read, leaves the picture empty (no error
// reaches the caller). Without a graphic class the bytes are read as a bitmap.
void LoadPicture(TPicture* picture, TGraphicClass graphicClass, const rtl::Variant& value);
// The graphic's own file bytes; an empty string for a picture without a (non-empty) graphic.
std::string SavePicture(TPicture* picture);

// Whether the clipboard holds what a graphic class can be pasted from: bitmap and JPEG classes
// need a bitmap, icons never paste, metafiles need a metafile (never offered here), any other
// class or none a picture.
bool CanPasteFromClipboard(TGraphicClass pastingGraphicClass);
// Puts the clipboard's picture into the picture: a JPEG class gets the bitmap compressed into a
// new JPEG image, every other class the bitmap itself. False when nothing could be pasted.
bool PastePictureFromClipboard(TPicture* picture, TGraphicClass pastingGraphicClass);

// Image geometry. A picture is stretched when asked to, or when it is proportional and larger
// than the client area in either direction.
bool cxImageGetRealStretch(const TSize& picture, const TSize& client, bool stretch, bool proportional);
// Where the picture is drawn in the client rectangle: its own size, the largest rectangle of its
// aspect ratio (proportional stretching), or the whole client rectangle; then centred, or moved
// back by the scroll offset.
TRect cxImageDrawRect(const TSize& picture, const TRect& client, bool stretch, bool proportional, bool center,
                      const TPoint& scrollOffset);
// The height a picture takes at a width (or the width at a height, with the sizes swapped),
// rounded to the nearest integer with halves to even.
int cxImageScaledSide(int pictureSide, int pictureOtherSide, int available);

} // namespace cx
