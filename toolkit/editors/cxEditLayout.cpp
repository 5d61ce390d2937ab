#include "toolkit/editors/cxEditLayout.h"

#include <algorithm>
#include <cstdint>

#include "toolkit/core/cxGeometry.h"

namespace cx {

const TRect EditContentDefaultOffsets[2] = {{1, 1, 1, 3}, {1, 1, 1, 1}};
const TcxButtonState EditBtnState2ButtonState[4] = {cxbsDisabled, cxbsNormal, cxbsPressed, cxbsHot};
const TcxEditBtnKind EditBtnKind2PainterKind[4] = {cxbkEllipsisBtn, cxbkComboBtn, cxbkEditorBtn, cxbkEditorBtn};

TcxEditBorderStyle CorrectBorderStyle(TcxEditBorderStyle style)
{
    return style == ebsUltraFlat || style == ebsOffice11 ? ebsSingle : style;
}

TcxEditButtonStyle DefaultButtonsStyle(bool isInplace, TcxEditBorderStyle borderStyle, bool hotTrack,
                                       TcxLookAndFeelKind kind)
{
    if (!isInplace && (borderStyle != ebsNone || hotTrack)) {
        static constexpr TcxEditButtonStyle byBorder[] = {btsSimple, btsHotFlat, bts3D, btsFlat, bts3D,
                                                          btsUltraFlat, btsOffice11};
        return byBorder[borderStyle];
    }
    static constexpr TcxEditButtonStyle byKind[] = {btsFlat, bts3D, btsUltraFlat, btsOffice11};
    return byKind[kind];
}

TcxEditPopupBorderStyle PopupBorderStyleByKind(TcxLookAndFeelKind kind)
{
    static constexpr TcxEditPopupBorderStyle table[] = {epbsFlat, epbsFrame3D, epbsSingle, epbsSingle};
    return table[kind];
}

TcxEditPopupBorderStyle PopupBorderStyleByBorderStyle(TcxEditBorderStyle style)
{
    static constexpr TcxEditPopupBorderStyle table[] = {epbsFlat, epbsSingle, epbsSingle, epbsFlat,
                                                        epbsSingle, epbsSingle, epbsSingle};
    return table[style];
}

void LayoutEditButton(TcxEditButtonViewInfo& button, int visibleIndex, TRect& r, TcxEditButtonMarks& marks)
{
    if (r.Width() <= 0 || r.Height() <= 0) {
        button.Bounds = button.VisibleBounds = cxNullRect;
        return;
    }
    const int width = button.Width;
    const int visibleWidth = std::min(width, r.Width());
    if (button.Data.LeftAlignment) {
        button.Bounds = {r.Left, r.Top, r.Left + width, r.Bottom};
        button.VisibleBounds = {r.Left, r.Top, r.Left + visibleWidth, r.Bottom};
        r.Left += visibleWidth;
        marks.LeftRightmost = visibleIndex;
        if (marks.LeftLeftmost == -1)
            marks.LeftLeftmost = visibleIndex;
    } else {
        button.Bounds = {r.Right - width, r.Top, r.Right, r.Bottom};
        button.VisibleBounds = {r.Right - visibleWidth, r.Top, r.Right, r.Bottom};
        r.Right -= visibleWidth;
        marks.RightLeftmost = visibleIndex;
        if (marks.RightRightmost == -1)
            marks.RightRightmost = visibleIndex;
    }
}

void StretchEditButtons(std::vector<TcxEditButtonViewInfo*>& buttons, int previousWidth, int remainingWidth,
                        const std::vector<bool>& ignoreWhileStretching)
{
    if (remainingWidth <= 0 || buttons.empty())
        return;
    std::vector<int> sharers;
    int total = 0;
    for (int i = 0; i < int(buttons.size()); ++i)
        if (buttons[i]->Stretchable && !(i < int(ignoreWhileStretching.size()) && ignoreWhileStretching[i])) {
            sharers.push_back(i);
            total += buttons[i]->Bounds.Width();
        }
    if (sharers.empty()) {
        for (int i = 0; i < int(buttons.size()); ++i)
            sharers.push_back(i);
        total = previousWidth - remainingWidth;
    }
    if (total <= 0)
        return;
    int left = remainingWidth;
    for (int k = int(sharers.size()) - 1; k >= 0; --k) {   // from the last button to the first
        TcxEditButtonViewInfo* b = buttons[sharers[k]];
        const int grow = k == 0 ? left : int(std::int64_t(b->Bounds.Width()) * remainingWidth / total);
        left -= grow;
        if (b->Data.LeftAlignment) {
            const int oldRight = b->Bounds.Right;
            for (TcxEditButtonViewInfo* other : buttons)
                if (other != b && other->Data.LeftAlignment && other->Bounds.Left >= oldRight) {
                    other->Bounds = cxRectOffset(other->Bounds, grow, 0);
                    other->VisibleBounds = cxRectOffset(other->VisibleBounds, grow, 0);
                }
            b->Bounds.Right += grow;
            b->VisibleBounds.Right += grow;
        } else {
            const int oldLeft = b->Bounds.Left;
            for (TcxEditButtonViewInfo* other : buttons)
                if (other != b && !other->Data.LeftAlignment && other->Bounds.Right <= oldLeft) {
                    other->Bounds = cxRectOffset(other->Bounds, -grow, 0);
                    other->VisibleBounds = cxRectOffset(other->VisibleBounds, -grow, 0);
                }
            b->Bounds.Left -= grow;
            b->VisibleBounds.Left -= grow;
        }
    }
}

} // namespace cx
