#pragma once
// Shared drawing resources of the painter unit and helpers the kind painters share.
#include "toolkit/core/cxLookAndFeelPainters.h"

// The 8 x 8 scroll-bar page bitmaps: index 0 normal, 1 pressed (none before start-up).
TBitmap* cxScrollBarPageBitmap(int index);
// Fills a scroll-bar page part with a brush of the page bitmap, then resets the brush.
void cxFillScrollBarPage(TcxCanvas* canvas, const TRect& r, bool pressed);
// The flat splitter: two lines in the given colours, then the view params fill the rest.
void cxFlatSplitterRest(TcxCanvas* canvas, TRect r, const TcxViewParams& viewParams, bool horizontal,
                        TColor first, TColor second);
