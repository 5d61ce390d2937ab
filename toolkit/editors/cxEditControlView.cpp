// The editor control's size and look: auto size and anchors, the view data it lays itself out
// with, the refresh step that turns view-info differences into button events, painting and the
// inner edit's repaint lock.
#include "toolkit/editors/cxEditControl.h"

#include "platform/rtl/Filer.h"
#include "platform/vcl/Peer.h"
#include "toolkit/core/cxGraphicsShared.h"

#include <memory>

namespace cx {

namespace {
// Half of n, rounded up.
int Half(int n) { return n / 2 + (n % 2); }
} // namespace

// ---- view data and view info ----------------------------------------------------------------------

TcxCustomEditViewInfo* TcxCustomEdit::EditViewInfo() const { return dynamic_cast<TcxCustomEditViewInfo*>(ViewInfo()); }

TcxContainerViewInfoClass TcxCustomEdit::GetViewInfoClass() const
{
    // The kind's properties name the view info; a class whose factory is not known under the
    // container's signature falls back to the base editor view info.
    if (properties_)
        if (auto named = TcxContainerViewInfoClass::FromMeta(properties_->GetViewInfoClass().Meta()))
            return named;
    return TcxContainerViewInfoClass::Of<TcxCustomEditViewInfo>();
}

bool TcxCustomEdit::IsNativeStyle() const
{
    return TcxCustomEditViewData::IsNativeStyle(Style()->GetLookAndFeel());
}

TcxCustomEditViewData* TcxCustomEdit::CreateViewData()
{
    // The properties make the view data of their kind (a text editor lays out its own way).
    TcxCustomEditViewData* viewData = ActiveProperties()->CreateViewData(GetEditActiveStyle(), isInplace_);
    if (isInplace_ && contentParamsValid_)
        viewData->SetEditContentParams(contentParams_);
    viewData->Edit = PropertiesChangeLocked() ? nullptr : this;
    InitializeViewData(viewData);
    return viewData;
}

void TcxCustomEdit::InitializeViewData(TcxCustomEditViewData* viewData)
{
    viewData->Enabled = Enabled();
    viewData->Focused = IsEditFocused();
    viewData->HScrollBar = HScrollBar() && HScrollBar()->Visible() ? HScrollBar() : nullptr;
    viewData->IsDesigning = IsDesigning();
    viewData->VScrollBar = VScrollBar() && VScrollBar()->Visible() ? VScrollBar() : nullptr;
}

void TcxCustomEdit::InitContentParams()
{
    std::unique_ptr<TcxCustomEditViewData> viewData(CreateViewData());
    viewData->InitEditContentParams(contentParams_);
    contentParamsValid_ = true;
}

void TcxCustomEdit::CalculateViewInfo(const TPoint& p, TcxMouseButton button, TShiftState shift, bool isMouseEvent)
{
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!vi)
        return;
    std::unique_ptr<TcxCustomEditViewData> viewData(CreateViewData());
    viewData->Calculate(Canvas(), GetControlRect(this), p, button, shift, vi, isMouseEvent);
}

void TcxCustomEdit::CalculateViewInfo()
{
    const TPoint p = HandleAllocated() ? ScreenToClient(InternalGetCursorPos()) : TPoint{-1, -1};
    CalculateViewInfo(p, cxmbNone, InternalGetShiftState(), false);
}

bool TcxCustomEdit::DoRefreshContainer(const TPoint& p, TcxMouseButton button, TShiftState shift, bool isMouseEvent)
{
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!vi)
        return TcxContainer::DoRefreshContainer(p, button, shift, isMouseEvent);
    if (capturedButton_ != -1 && !MouseCapture())
        capturedButton_ = -1;
    std::unique_ptr<TcxCustomEditViewInfo> previous;
    if (isMouseEvent) {
        previous.reset(static_cast<TcxCustomEditViewInfo*>(GetViewInfoClass().Create()));
        previous->Assign(vi);
    }
    CalculateViewInfo(p, button, shift, isMouseEvent);
    const TRect innerRect =
        innerEdit_ && IsEditClass() ? innerEdit_->GetControl()->BoundsRect() : TRect{0, 0, 0, 0};
    if (!vi->Repaint(this, innerRect, previous.get()) && previous)
        return true;
    SetSize();
    CalculateViewInfo(p, button, shift, isMouseEvent);
    SetShadowRegion();
    if (previous)
        ProcessViewInfoChanges(previous.get(), button != cxmbNone);
    return true;
}

void TcxCustomEdit::ProcessViewInfoChanges(TcxCustomEditViewInfo* prevViewInfo, bool)
{
    TcxCustomEditViewInfo* vi = EditViewInfo();
    if (!prevViewInfo || !vi)
        return;
    const int prevPressed = prevViewInfo->PressedButton, pressed = vi->PressedButton;
    if (prevPressed == pressed && prevViewInfo->SelectedButton == vi->SelectedButton)
        return;
    auto alive = AliveToken();
    if (prevPressed != -1 && prevPressed != pressed) {
        DoButtonUp(prevPressed);
        if (!alive.expired() && prevPressed == vi->SelectedButton)
            DoButtonClick(prevPressed);
    }
    if (!alive.expired() && pressed != -1 && prevPressed == -1)
        DoButtonDown(pressed);
}

TRect TcxCustomEdit::GetBorderExtent() const
{
    TcxContainerViewInfo* vi = ViewInfo();
    if (!vi)
        return {};
    const TRect& b = vi->Bounds;
    const TRect& inner = vi->BorderRect;
    return {inner.Left - b.Left, inner.Top - b.Top, b.Right - inner.Right, b.Bottom - inner.Bottom};
}

bool TcxCustomEdit::IsDBEditPaintCopyDrawing() { return IsDBEdit() && ControlState.Contains(csPaintCopy); }

void TcxCustomEdit::Paint()
{
    // No editor of this system is data-storage bound, so the copy drawing of a data-aware
    // control never applies: the editor paints its own view info.
    TcxContainer::Paint();
}

// ---- auto size and anchors --------------------------------------------------------------------------

bool TcxCustomEdit::CanAutoSize() const { return autoSize_ && !isInplace_; }

bool TcxCustomEdit::CanAutoWidth() { return ActiveProperties()->ButtonsViewStyle() == bvsButtonsAutoWidth; }

bool TcxCustomEdit::IsAutoWidth()
{
    return CanAutoSize() && CanAutoWidth() && (Align == alNone || Align == alLeft || Align == alRight);
}

void TcxCustomEdit::SetEditAutoSize(bool value)
{
    if (value == autoSize_ || isInplace_)
        return;
    autoSize_ = value;
    DoAutoSizeChanged();
    if (value) {
        CheckHandle();
        SetSize();
        ShortRefreshContainer(false);
    }
}

void TcxCustomEdit::FillSizeProperties(TcxEditSizeProperties& sizeProperties)
{
    sizeProperties = DefaultcxEditSizeProperties;
    sizeProperties.MaxLineCount = 1;
    sizeProperties.Width = IsAutoWidth() ? cxEditAnchorNotSet : Width();
}

void TcxCustomEdit::InternalCanResize(int& newWidth, int& newHeight)
{
    if (!CanAutoSize())
        return;
    TcxEditSizeProperties sizeProperties;
    FillSizeProperties(sizeProperties);
    std::unique_ptr<TcxCustomEditViewData> viewData(CreateViewData());
    TcxScreenCanvas* canvas = cxScreenCanvas();
    // An auto-width editor is measured on a layout of its own at unbounded width: its current
    // layout, squeezed to a narrow width, has no room for the buttons and would keep it narrow.
    const TSize size =
        viewData->GetEditSize(canvas, GetEditValue(), sizeProperties, IsAutoWidth() ? nullptr : EditViewInfo());
    canvas->Dormant();
    if (IsAutoWidth())
        newWidth = size.cx;
    if (Align != alLeft && Align != alRight && Align != alClient && Align != alCustom)
        newHeight = size.cy;
}

bool TcxCustomEdit::CanResize(int& newWidth, int& newHeight)
{
    if (!IsLoading() && properties_ && !IsDestroying())
        InternalCanResize(newWidth, newHeight);
    return true;
}

void TcxCustomEdit::SetBounds(int left, int top, int width, int height)
{
    if (CanResize(width, height))
        TcxContainer::SetBounds(left, top, width, height);
}

void TcxCustomEdit::SetSize()
{
    if (!HandleAllocated() || IsDestroying() || !properties_) {
        TcxContainer::SetSize();
        return;
    }
    int w = Width(), h = GetHeight();
    InternalCanResize(w, h);
    int left = Left(), top = Top();
    if (UseAnchors() && IsAutoWidth()) {
        if (!sizeOnLoad_)
            CalculateAnchors();
        sizeOnLoad_ = false;
        const TcxEditAlignment* alignment = ActiveProperties()->Alignment();
        if (UseAnchorX() && anchorX_ != cxEditAnchorNotSet)
            left = alignment->Horz() == taCenter ? anchorX_ - Half(w) : anchorX_ - w;
        if (UseAnchorY() && anchorY_ != cxEditAnchorNotSet)
            top = alignment->Vert() == taVCenter ? anchorY_ - Half(h) : anchorY_ - h;
    }
    if (left != Left() || top != Top() || w != Width() || h != Height())
        SetBounds(left, top, w, h);
    AdjustInnerEditPosition();
}

void TcxCustomEdit::CalculateAnchors()
{
    if (IsLoading() || ComponentState().Contains(csReading) || !properties_)
        return;
    TcxEditAlignment* alignment = ActiveProperties()->Alignment();
    if (UseAnchorX())
        anchorX_ = alignment->Horz() == taCenter ? Left() + Half(Width()) : Left() + Width();
    if (UseAnchorY())
        anchorY_ = alignment->Vert() == taVCenter ? Top() + Half(Height()) : Top() + Height();
}

void TcxCustomEdit::DefineProperties(TFiler* filer)
{
    TcxContainer::DefineProperties(filer);
    filer->DefineProperty(
        "Height", [this](TReader* r) { SetHeight(r->ReadInteger()); }, [this](TWriter* w) { w->WriteInteger(GetHeight()); },
        !CanAutoSize());
    filer->DefineProperty(
        "Width", [this](TReader* r) { SetWidth(r->ReadInteger()); }, [this](TWriter* w) { w->WriteInteger(Width()); },
        !(CanAutoSize() && CanAutoWidth()));
    // A read anchor places the editor, as after loading; a written one is worked out first.
    auto readAnchor = [this](int& anchor) -> TReaderProc {
        return [this, &anchor](TReader* r) {
            anchor = r->ReadInteger();
            sizeOnLoad_ = true;
            SetSize();
        };
    };
    auto writeAnchor = [this](int& anchor) -> TWriterProc {
        return [this, &anchor](TWriter* w) {
            CalculateAnchors();
            w->WriteInteger(anchor);
        };
    };
    filer->DefineProperty("AnchorX", readAnchor(anchorX_), writeAnchor(anchorX_), UseAnchorX());
    filer->DefineProperty("AnchorY", readAnchor(anchorY_), writeAnchor(anchorY_), UseAnchorY());
}

int TcxCustomEdit::GetHeight()
{
    CheckHandle();
    return Height();
}

void TcxCustomEdit::CheckHandle()
{
    if (handleCreating_ || HandleAllocated() || IsDestroying() || !CanAllocateHandle(this))
        return;
    handleCreating_ = true;
    try {
        HandleNeeded();
    } catch (...) {
        handleCreating_ = false;
        throw;
    }
    handleCreating_ = false;
}

void TcxCustomEdit::AdjustInnerEditPosition()
{
    if (!innerEdit_)
        return;
    TcxContainer::SetSize();
}

void TcxCustomEdit::CreateHandle()
{
    TcxContainer::CreateHandle();
    if (innerEdit_ && Focused())
        innerEdit_->SafelySetFocus();
}

void TcxCustomEdit::SafeSelectionFocusInnerControl()
{
    if (innerEdit_)
        innerEdit_->SafelySetFocus();
}

// ---- the inner edit's repaint lock ----------------------------------------------------------------

void TcxCustomEdit::LockInnerEditRepainting()
{
    if (!innerEdit_)
        return;
    if (innerEditRepaintLock_++ > 0)
        return;
    // The peer stops painting while the lock holds; no window procedure is swapped.
    if (vcl::TWidgetPeer* peer = innerEdit_->GetControl()->Peer()) {
        innerEditUpdatesWereEnabled_ = peer->updatesEnabled();
        peer->setUpdatesEnabled(false);
    }
}

void TcxCustomEdit::UnlockInnerEditRepainting()
{
    if (innerEditRepaintLock_ == 0)
        return;
    if (--innerEditRepaintLock_ > 0 || !innerEdit_)
        return;
    if (vcl::TWidgetPeer* peer = innerEdit_->GetControl()->Peer())
        peer->setUpdatesEnabled(innerEditUpdatesWereEnabled_);
}

} // namespace cx
