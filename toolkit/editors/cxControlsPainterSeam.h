#pragma once
// The little the control base needs of the look-and-feel painters: a border, the size-grip
// colour and the scroll-bar parts. The painters themselves live with the look-and-feel unit;
// until a control is given one it paints classic. The enums carry the painters' names inside
// namespace seam, so that the look-and-feel unit can take them over without a clash.
#include "platform/vcl/Graphics.h"
#include "toolkit/core/cxGraphics.h"

namespace cx {
namespace seam {

enum TcxButtonState { cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled };
enum TcxScrollBarPart { sbpNone, sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown };
enum TcxPopupBorderStyle { pbsNone, pbsUltraFlat, pbsFlat, pbs3D };

// One painter object serves every control that uses it; controls never own it.
class TcxControlPainter {
public:
    virtual ~TcxControlPainter() = default;
    virtual int BorderSize() const;
    virtual void DrawBorder(TcxCanvas* canvas, const TRect& r) const;
    virtual TColor DefaultSizeGripAreaColor() const;
    virtual bool IsButtonHotTrack() const { return false; }
    virtual int ScrollBarMinimalThumbSize(bool vertical) const { return 8; }
    virtual void DrawScrollBarBackground(TcxCanvas* canvas, const TRect& r, bool horizontal) const;
    virtual void DrawScrollBarPart(TcxCanvas* canvas, bool horizontal, const TRect& r, TcxScrollBarPart part,
                                   TcxButtonState state) const;
};

// The classic (standard) painter: 2-pixel sunken border, button-face parts with raised edges.
TcxControlPainter* ClassicControlPainter();

} // namespace seam
using namespace seam;
} // namespace cx
