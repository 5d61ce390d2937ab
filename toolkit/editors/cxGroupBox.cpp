// The group box: caption placement on the four sides and the centre, panel style, extents,
// frames per border style, background, shadow, custom drawing and the caption's accelerator.
#include "toolkit/editors/cxGroupBox.h"

#include "platform/gdi/Text.h"
#include "platform/vcl/StdCtrls.h"
#include "toolkit/core/cxGeometry.h"
#include "toolkit/controls/cxControls.h"
#include "toolkit/editors/cxEditUtils.h"

#include <QChar>

#include <algorithm>

namespace cx {

namespace {
// A group box paints itself: no inner edit, no edit data.
TcxEditClasses GroupBoxClasses(const TcxCustomEditPropertiesClass& properties)
{
    TcxEditClasses c;
    c.Properties = properties;
    return c;
}

constexpr int captionOffset = 8;     // the caption's distance from the corner along its side
constexpr int shadowSize = 3;

bool IsCentredHorz(TcxCaptionAlignment a) { return a == alTopCenter || a == alBottomCenter || a == alCenterCenter; }
bool IsCentredVert(TcxCaptionAlignment a) { return a == alLeftCenter || a == alRightCenter || a == alCenterCenter; }
bool IsRightHorz(TcxCaptionAlignment a) { return a == alTopRight || a == alBottomRight; }
bool IsBottomVert(TcxCaptionAlignment a) { return a == alLeftBottom || a == alRightBottom; }

// Where a panel caption sits: 0 left / top, 1 centre, 2 right / bottom.
int HorzOf(TcxCaptionAlignment a)
{
    static constexpr int h[] = {0, 1, 2, 0, 1, 2, 0, 0, 0, 2, 2, 2, 1};
    return h[a];
}
int VertOf(TcxCaptionAlignment a)
{
    static constexpr int v[] = {0, 0, 0, 2, 2, 2, 0, 1, 2, 0, 1, 2, 1};
    return v[a];
}

} // namespace

TcxGroupBoxCaptionPosition CaptionPositionOf(TcxCaptionAlignment a)
{
    if (a <= alTopRight)
        return cxgpTop;
    if (a <= alBottomRight)
        return cxgpBottom;
    if (a <= alLeftBottom)
        return cxgpLeft;
    if (a <= alRightBottom)
        return cxgpRight;
    return cxgpCenter;
}

// ---- panel style ------------------------------------------------------------------------------

void TcxPanelStyle::Assign(TPersistent* source)
{
    if (auto* s = dynamic_cast<TcxPanelStyle*>(source)) {
        active_ = s->active_;
        captionIndent_ = s->captionIndent_;
        wordWrap_ = s->wordWrap_;
        officeBackgroundKind_ = s->officeBackgroundKind_;
        Changed(true);
        return;
    }
    TPersistent::Assign(source);
}

void TcxPanelStyle::Changed(bool always)
{
    if ((always || active_) && owner_)
        owner_->UpdateCaption();
}

void TcxPanelStyle::SetActive(bool value)
{
    if (active_ != value) {
        active_ = value;
        Changed(true);
    }
}

void TcxPanelStyle::SetBorderWidth(int value)
{
    if (borderWidth_ != value) {
        borderWidth_ = std::max(0, value);
        Changed();
    }
}

void TcxPanelStyle::SetCaptionIndent(int value)
{
    value = std::max(2, value);
    if (captionIndent_ != value) {
        captionIndent_ = value;
        Changed();
    }
}

void TcxPanelStyle::SetOfficeBackgroundKind(TcxPanelOffice11BackgroundKind value)
{
    if (officeBackgroundKind_ != value) {
        officeBackgroundKind_ = value;
        if (active_ && owner_ && owner_->Style()->GetLookAndFeel()->GetKind() == lfOffice11)
            owner_->UpdateCaption();
    }
}

void TcxPanelStyle::SetWordWrap(bool value)
{
    if (wordWrap_ != value) {
        wordWrap_ = value;
        Changed();
    }
}

// ---- the group box ----------------------------------------------------------------------------

TcxCustomGroupBox::TcxCustomGroupBox(TComponent* owner, bool isInplace)
    : TcxCustomGroupBox(owner, isInplace, TcxCustomEditPropertiesClass::Of<TcxCustomGroupBoxProperties>())
{
}

TcxCustomGroupBox::TcxCustomGroupBox(TComponent* owner, bool isInplace,
                                     const TcxCustomEditPropertiesClass& propertiesClass)
    : TcxCustomEdit(owner, isInplace, GroupBoxClasses(propertiesClass))
{
    ControlStyle.Include(csAcceptsControls);
    ControlStyle.Include(csCaptureMouse);
    ControlStyle.Include(csClickEvents);
    InitParentColor();
    SetEditAutoSize(false);   // a group box never sizes itself to its content
    SetBounds(Left(), Top(), 185, 105);
    captionFont_ = new TFont();
    panelStyle_ = new TcxPanelStyle(this);
    TabStop = false;
    UpdateCaption();
}

TcxCustomGroupBox::~TcxCustomGroupBox()
{
    delete panelStyle_;
    panelStyle_ = nullptr;
    delete captionFont_;
    captionFont_ = nullptr;
}

void TcxCustomGroupBox::SetAlignment(TcxCaptionAlignment value)
{
    if (alignment_ != value) {
        alignment_ = value;
        UpdateCaption();
    }
}

bool TcxCustomGroupBox::IsVerticalText() const
{
    const TcxGroupBoxCaptionPosition p = CaptionPosition();
    return (p == cxgpLeft || p == cxgpRight) && !panelStyle_->Active();
}

void TcxCustomGroupBox::UpdateCaption()
{
    if (!captionFont_ || !panelStyle_)
        return;   // still being made, or already going
    // Every font here rotates, so a vertical caption keeps its face.
    captionFont_->Assign(EditStyle()->GetVisibleFont());
    visibleCaption_ = IsVerticalText() ? RemoveAccelChars(Caption(), false) : Caption();
    Invalidate();
}

TcxContainerStyle* TcxCustomGroupBox::InternalGetActiveStyle() const
{
    // Never hot or focused.
    return Enabled() ? Style() : StyleDisabled();
}

void TcxCustomGroupBox::ContainerStyleChanged(TObject* sender)
{
    TcxCustomEdit::ContainerStyleChanged(sender);
    if (captionFont_)
        UpdateCaption();
}

bool TcxCustomGroupBox::HasGroupShadow() const
{
    if (!Style()->GetShadow() || IsNativeStyle())
        return false;
    const TcxGroupBoxCaptionPosition p = CaptionPosition();
    return panelStyle_->Active() || p == cxgpTop || p == cxgpLeft;
}

TcxCanvas* TcxCustomGroupBox::MeasureCanvas()
{
    // The control's own canvas measures only while it paints; a scratch bitmap always does.
    if (!measureCanvas_) {
        measureBitmap_ = std::make_unique<TBitmap>();
        measureBitmap_->SetSize(1, 1);
        measureCanvas_ = std::make_unique<TcxCanvas>(measureBitmap_->Canvas());
    }
    return measureCanvas_.get();
}

int TcxCustomGroupBox::CaptionTextHeight(const char* sample)
{
    TcxCanvas* canvas = MeasureCanvas();
    canvas->SetFont(captionFont_);
    return canvas->TextHeight(sample);
}

TSize TcxCustomGroupBox::CaptionTextSize()
{
    TcxCanvas* canvas = MeasureCanvas();
    canvas->SetFont(captionFont_);
    return canvas->TextExtent(RemoveAccelChars(Caption(), false));
}

TRect TcxCustomGroupBox::GetCaptionRect()
{
    if (Caption().empty())
        return {};
    if (panelStyle_->Active())
        return PanelCaptionRect();
    const int w = Width(), h = Height();
    const int shadow = HasGroupShadow() ? shadowSize : 0;
    TSize ext = CaptionTextSize();
    const TcxGroupBoxCaptionPosition p = CaptionPosition();
    if (IsVerticalText()) {
        const int len = ext.cx, thick = ext.cy;
        TRect r = cxRectBounds(p == cxgpLeft ? 0 : w - thick, captionOffset, thick, len);
        if (IsCentredVert(alignment_))
            r = cxRectBounds(r.Left, (h - shadow - len) / 2, thick, len);
        else if (IsBottomVert(alignment_))
            r = cxRectBounds(r.Left, h - captionOffset - shadow - len, thick, len);
        return r;
    }
    TRect r = cxRectBounds(captionOffset, 0, ext.cx, ext.cy);
    if (IsCentredHorz(alignment_))
        r = cxRectBounds((w - shadow - ext.cx) / 2, 0, ext.cx, ext.cy);
    else if (IsRightHorz(alignment_))
        r = cxRectBounds(w - shadow - captionOffset - ext.cx, 0, ext.cx, ext.cy);
    if (p == cxgpBottom)
        r = cxRectBounds(r.Left, h - ext.cy, ext.cx, ext.cy);
    else if (p == cxgpCenter)
        r = cxRectBounds(r.Left, (h - shadow - ext.cy) / 2, ext.cx, ext.cy);
    return r;
}

int TcxCustomGroupBox::PanelTextFlags() const
{
    static constexpr int horz[] = {cxtfLeft, cxtfHCenter, cxtfRight};
    static constexpr int vert[] = {cxtfTop, cxtfVCenter, cxtfBottom};
    return horz[HorzOf(alignment_)] | vert[VertOf(alignment_)] | cxtfShowPrefix |
           (panelStyle_->WordWrap() ? cxtfWordBreak : cxtfSingleLine);
}

TRect TcxCustomGroupBox::PanelCaptionRect()
{
    // The text area: the panel less the frame and the caption indent on the sides the alignment
    // names (2 in a centred direction).
    const int border = GetContainerBorderWidth(TcxContainerBorderStyle(EditStyle()->GetBorderStyle()));
    TRect area = cxRectInflate(GetFrameBounds(), -border, -border);
    const int h = HorzOf(alignment_), v = VertOf(alignment_);
    const int hIndent = h == 1 ? 2 : panelStyle_->CaptionIndent();
    const int vIndent = v == 1 ? 2 : panelStyle_->CaptionIndent();
    if (h == 0)
        area.Left += hIndent;
    else if (h == 2)
        area.Right -= hIndent;
    if (v == 0)
        area.Top += vIndent;
    else if (v == 2)
        area.Bottom -= vIndent;
    TcxCanvas* canvas = MeasureCanvas();
    canvas->SetFont(captionFont_);
    TRect text = area;
    canvas->TextExtent(Caption(), text,
                       cxtfShowPrefix | cxtfCalcRect | (panelStyle_->WordWrap() ? cxtfWordBreak : cxtfSingleLine));
    const int tw = text.Width(), th = text.Height();
    const int x = h == 0 ? area.Left : h == 1 ? area.Left + (area.Width() - tw) / 2 : area.Right - tw;
    const int y = v == 0 ? area.Top : v == 1 ? area.Top + (area.Height() - th) / 2 : area.Bottom - th;
    TRect r = cxRectBounds(x, y, tw, th);
    r.Left = std::max(r.Left, area.Left);
    r.Top = std::max(r.Top, area.Top);
    r.Right = std::min(r.Right, area.Right);
    r.Bottom = std::min(r.Bottom, area.Bottom);
    return r;
}

TRect TcxCustomGroupBox::GetGroupBorderExtent()
{
    TRect e{};
    if (IsInplace() || alignment_ == alCenterCenter || panelStyle_->Active())
        return e;
    const int half = CaptionTextHeight("Wg") / 2;
    switch (CaptionPosition()) {
    case cxgpTop: e.Top = half + 1; break;
    case cxgpBottom: e.Bottom = half + 1; break;
    case cxgpLeft: e.Left = half; break;
    case cxgpRight: e.Right = half; break;
    case cxgpCenter: break;
    }
    return e;
}

TRect TcxCustomGroupBox::GetGroupClientExtent()
{
    TRect e = GetGroupBorderExtent();
    const int border = GetContainerBorderWidth(TcxContainerBorderStyle(EditStyle()->GetBorderStyle()));
    e = {e.Left + border, e.Top + border, e.Right + border, e.Bottom + border};
    if (IsInplace() || panelStyle_->Active() || alignment_ == alCenterCenter)
        return e;
    const int side = CaptionTextHeight("Wg") + 3 + e.Top;
    switch (CaptionPosition()) {
    case cxgpTop: e.Top = side; break;
    case cxgpBottom: e.Bottom = side; break;
    case cxgpLeft: e.Left = side; break;
    case cxgpRight: e.Right = side; break;
    case cxgpCenter: break;
    }
    return e;
}

TRect TcxCustomGroupBox::AdjustClientRect()
{
    const TRect e = GetGroupClientExtent();
    TRect r{e.Left, e.Top, Width() - e.Right, Height() - e.Bottom};
    if (panelStyle_->Active())
        r = cxRectInflate(r, -panelStyle_->BorderWidth(), -panelStyle_->BorderWidth());
    return r;
}

TRect TcxCustomGroupBox::GetFrameBounds()
{
    TRect r = GetClientRect();
    if (!panelStyle_->Active()) {
        const TRect e = GetGroupBorderExtent();
        r = {r.Left + e.Left, r.Top + e.Top, r.Right - e.Right, r.Bottom - e.Bottom};
    }
    if (HasGroupShadow()) {
        r.Right -= shadowSize;
        r.Bottom -= shadowSize;
    }
    return r;
}

TColor TcxCustomGroupBox::GroupBorderColor() const
{
    const TcxEditBorderStyle s = EditStyle()->GetBorderStyle();
    if (s == ebsUltraFlat || s == ebsOffice11)
        return Enabled() ? GetEditBorderHighlightColor(s == ebsOffice11) : TColor(clBtnShadow);
    return GetActiveStyle()->GetBorderColor();
}

// ---- painting ---------------------------------------------------------------------------------

void TcxCustomGroupBox::Paint()
{
    bool done = false;
    CallEvent(OnCustomDraw, this, done);
    if (done)
        return;
    TcxCanvas* canvas = GetActiveCanvas();
    canvas->SaveClipRegion();
    DrawBackground(canvas);
    const TRect caption = GetCaptionRect();
    if (!IsInplace()) {
        DrawCaption(canvas);
        if (!panelStyle_->Active() && !cxRectIsEmpty(caption))
            canvas->ExcludeClipRect(caption);
        DrawFrame(canvas);
    }
    canvas->RestoreClipRegion();
}

void TcxCustomGroupBox::DrawBackground(TcxCanvas* canvas)
{
    const TRect frame = GetFrameBounds();
    if (HasGroupShadow())
        DrawContainerShadow(canvas, frame);
    if (IsTransparent())
        return;
    canvas->FillRect(HasGroupShadow() ? frame : GetClientRect(), GetBackgroundColor());
}

void TcxCustomGroupBox::DrawCaption(TcxCanvas* canvas)
{
    const TRect r = GetCaptionRect();
    if (cxRectIsEmpty(r))
        return;
    canvas->SaveClipRegion();
    canvas->IntersectClipRect(r);
    canvas->SetFont(captionFont_);
    canvas->GetFont()->SetColor(GetActiveStyle()->GetTextColor());
    canvas->GetBrush()->SetStyle(bsClear);
    if (IsVerticalText()) {
        const bool left = CaptionPosition() == cxgpLeft;
        canvas->SetFontAngle(left ? 90 : 270);
        // The text goes straight to the device context: the turned font is selected first.
        canvas->WrappedCanvas()->RequiredState();
        const TPoint at = left ? TPoint{r.Left, r.Bottom - 1} : TPoint{r.Right, r.Top + 1};
        cxExtTextOut(canvas->GetHandle(), visibleCaption_, at, r, gdi::ETO_CLIPPED);
        canvas->SetFontAngle(0);
    } else if (panelStyle_->Active()) {
        canvas->DrawTexT(Caption(), r, PanelTextFlags(), Enabled());
    } else {
        canvas->DrawTexT(Caption(), r, cxtfSingleLine | cxtfShowPrefix, Enabled());
    }
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->RestoreClipRegion();
}

void TcxCustomGroupBox::DrawFrame(TcxCanvas* canvas)
{
    const TRect r = GetFrameBounds();
    const TcxBorders edges = EditStyle()->GetEdges();
    switch (TcxContainerBorderStyle(EditStyle()->GetBorderStyle())) {
    case cbsNone: break;
    case cbsSingle:
    case cbsUltraFlat:
    case cbsOffice11: canvas->FrameRect(r, GroupBorderColor(), 1, edges); break;
    case cbsThick: canvas->FrameRect(r, GroupBorderColor(), 2, edges); break;
    case cbsFlat:
        TcxFlatLookAndFeelPainter::Class()->DrawGroupBoxFrame(canvas, r, Enabled(), CaptionPosition(), edges);
        break;
    case cbs3D:
        TcxStandardLookAndFeelPainter::Class()->DrawGroupBoxFrame(canvas, r, Enabled(), CaptionPosition(), edges);
        break;
    }
}

// ---- messages ---------------------------------------------------------------------------------

bool TcxCustomGroupBox::HandleAccelerator(char16_t ch)
{
    const char16_t accel = AccelOf(Caption());
    if (accel == 0 || accel != char16_t(QChar(ch).toLower().unicode()) || !CanFocus())
        return false;
    // The first child in tab order takes the focus.
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    for (TWinControl* c : list)
        if (c != this && c->CanFocus() && c->TabStop) {
            c->SetFocus();
            break;
        }
    return true;
}

void TcxCustomGroupBox::Dispatch(TMessage& msg)
{
    switch (msg.Msg) {
    case CM_DIALOGCHAR:
        if (HandleAccelerator(char16_t(msg.WParam))) {
            msg.Result = 1;
            return;
        }
        break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TcxCustomEdit::Dispatch(msg);
        UpdateCaption();
        return;
    default: break;
    }
    TcxCustomEdit::Dispatch(msg);
}

} // namespace cx
