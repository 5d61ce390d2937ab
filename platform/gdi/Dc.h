#pragma once
// A device context: where drawing goes and the state it is drawn with. Drawing takes logical
// coordinates (device = logical - window origin + viewport origin); the clip region lives in
// device coordinates and is never moved by an origin change.
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Path.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"

#include <optional>
#include <vector>

namespace gdi {

class Dc {
public:
    struct State {
        TPoint viewportOrg;
        TPoint windowOrg;
        std::optional<Region> clip; // device coordinates; none = the whole surface
        Pen pen;
        Brush brush;
        Font font;
        COLORREF textColor = 0;
        COLORREF bkColor = 0xFFFFFF;
        int bkMode = OPAQUE;
        int rop2 = R2_COPYPEN;
        int stretchMode = BLACKONWHITE;
        int polyFillMode = ALTERNATE;
        TPoint pos;      // current position, logical
        TPoint brushOrg; // device coordinates
        Path path;       // the path bracket and the path it recorded
        unsigned textAlign = 0; // TA_ flags of the text calls
        int breakExtra = 0;     // SetTextJustification: pixels spread over breakCount spaces
        int breakCount = 0;
    };

    explicit Dc(Surface* target = nullptr) : target_(target) {}

    Surface* Target() const { return target_; }
    void SetTarget(Surface* target) { target_ = target; }

    State& S() { return state_; }
    const State& S() const { return state_; }

    // The save stack: Save returns the new depth (1 for the first save). Restore takes a depth
    // (> 0) or a count back from the top (< 0); a depth that is not on the stack fails.
    int Save();
    bool Restore(int index);
    int SaveDepth() const { return int(saved_.size()); }

    TPoint ToDevice(TPoint p) const;
    TRect ToDevice(const TRect& r) const;
    TPoint Origin() const; // viewport origin minus window origin

    // Clip region (device coordinates) intersected with the surface: where drawing may land.
    Region DrawableArea() const;
    // Device rectangles of a logical rectangle that drawing may touch.
    std::vector<TRect> ClipRects(const TRect& logical) const;

private:
    Surface* target_;
    State state_;
    std::vector<State> saved_;
};

// State setters and getters with the familiar names.
COLORREF SetTextColor(Dc& dc, COLORREF c);
COLORREF SetBkColor(Dc& dc, COLORREF c);
int SetBkMode(Dc& dc, int mode);
int SetROP2(Dc& dc, int rop2);
int GetROP2(const Dc& dc);
int SetStretchBltMode(Dc& dc, int mode);
TPoint SetViewportOrgEx(Dc& dc, int x, int y);
TPoint SetWindowOrgEx(Dc& dc, int x, int y);
TPoint SetBrushOrgEx(Dc& dc, int x, int y);
Pen SelectPen(Dc& dc, const Pen& pen);
Brush SelectBrush(Dc& dc, const Brush& brush);
Font SelectFont(Dc& dc, const Font& font);
int SaveDC(Dc& dc);
bool RestoreDC(Dc& dc, int index);

// Clipping. Regions are given and returned in device coordinates.
int SelectClipRgn(Dc& dc, const Region* region); // null removes the clip
int GetClipRgn(const Dc& dc, Region& out);       // 0 when the DC has no clip, 1 otherwise
int ExcludeClipRect(Dc& dc, const TRect& logical);
int IntersectClipRect(Dc& dc, const TRect& logical);
int OffsetClipRgn(Dc& dc, int dx, int dy);
bool RectVisible(const Dc& dc, const TRect& logical);

} // namespace gdi
