#pragma once
// The layout pieces of the editor view data: the records a host and an editor kind use to
// describe content and measuring, the unit tables (state to painter state, content offsets), the
// style choices made from border style and look and feel, and the button layout (bounds from
// the outside in, edge marks, the buttons-only stretch). The view data class calls these.
#include <vector>

#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/editors/cxEdit.h"

namespace cx {

struct TcxEditSizeProperties {
    int Height = -1;
    int MaxLineCount = 0;
    int Width = -1;
};
inline constexpr TcxEditSizeProperties DefaultcxEditSizeProperties{-1, 0, -1};

enum TcxEditPaintOption {
    epoAllowZeroHeight, epoAutoHeight, epoHasExternalBorder, epoShowEndEllipsis, epoShowFocusRectWhenInplace
};
using TcxEditPaintOptions = Set<TcxEditPaintOption>;
enum TcxEditContentOption { ecoShowFocusRectWhenInplace, ecoOffsetButtonContent };
using TcxEditContentOptions = Set<TcxEditContentOption>;

struct TcxEditContentParams {
    TRect ExternalBorderBounds;
    TRect Offsets;
    TcxEditContentOptions Options;
    int SizeCorrectionWidth = 0;
    int SizeCorrectionHeight = 0;
};

// Content offsets of a text editor, indexed by in-place.
extern const TRect EditContentDefaultOffsets[2];
// Editor button states as the painters name them (selected = hot).
extern const TcxButtonState EditBtnState2ButtonState[4];
// Editor button kinds as the painters name them.
extern const TcxEditBtnKind EditBtnKind2PainterKind[4];

// Ultra flat and Office 11 frames are drawn as single ones around an editor.
TcxEditBorderStyle CorrectBorderStyle(TcxEditBorderStyle style);
// The buttons' style when the editor style leaves it at default: by the border style for a
// bordered (or hot-tracked) editor control, else by the look-and-feel kind.
TcxEditButtonStyle DefaultButtonsStyle(bool isInplace, TcxEditBorderStyle borderStyle, bool hotTrack,
                                       TcxLookAndFeelKind kind);
// The popup border of an in-place editor follows the look and feel, of an editor control its
// own border style.
TcxEditPopupBorderStyle PopupBorderStyleByKind(TcxLookAndFeelKind kind);
TcxEditPopupBorderStyle PopupBorderStyleByBorderStyle(TcxEditBorderStyle style);

// The visible indexes of the buttons at the four ends of the two groups, -1 when none.
struct TcxEditButtonMarks {
    int LeftLeftmost = -1, LeftRightmost = -1, RightLeftmost = -1, RightRightmost = -1;
};

// Places button i (already given its Width and LeftAlignment) at the inner edge of r on its side;
// r gives up the visible width. An empty r leaves the button with empty bounds.
void LayoutEditButton(TcxEditButtonViewInfo& button, int visibleIndex, TRect& r, TcxEditButtonMarks& marks);
// Buttons-only mode: the remaining width goes to the stretchable buttons in proportion to their
// widths (to all of them when none is stretchable).
void StretchEditButtons(std::vector<TcxEditButtonViewInfo*>& buttons, int previousWidth, int remainingWidth,
                        const std::vector<bool>& ignoreWhileStretching = {});

} // namespace cx
