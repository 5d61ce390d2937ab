#include "toolkit/editors/cxEditViewInfo.h"

namespace cx {

TcxCustomEditViewData::TcxCustomEditViewData(TcxCustomEditProperties* properties, TcxCustomEditStyle* style,
                                             bool isInplace)
    : isInplace_(isInplace), properties_(properties), style_(style), baseStyle_(style)
{
    Initialize();
    ExtraColor1 = ExtraColor2 = clDefault;
    InitCacheData();
}

TcxCustomEditViewData::~TcxCustomEditViewData() = default;

void TcxCustomEditViewData::Initialize()
{
    ContentOffset = cxNullRect;
    Enabled = true;
}

void TcxCustomEditViewData::InitCacheData()
{
    VisibleButtonCount = properties_->Buttons()->VisibleCount();
    HorzAlignment = properties_->Alignment()->Horz();
    VertAlignment = properties_->Alignment()->Vert();
    NativeStyle = IsNativeStyle(style_->GetLookAndFeel());
    InitEditContentParams(editContentParams_);
}

void TcxCustomEditViewData::Calculate(TcxCanvas*, const TRect&, const TPoint&, TcxMouseButton, TShiftState,
                                      TcxCustomEditViewInfo*, bool)
{
}

void TcxCustomEditViewData::CalculateEx(TcxCanvas* canvas, const TRect& bounds, const TPoint& p,
                                        TcxMouseButton button, TShiftState shift, TcxCustomEditViewInfo* viewInfo,
                                        bool isMouseEvent)
{
    viewInfo->Left = bounds.Left;
    viewInfo->Top = bounds.Top;
    const TPoint origin{bounds.Left, bounds.Top};
    Calculate(canvas, cxRectOffset(bounds, -origin.X, -origin.Y), TPoint{p.X - origin.X, p.Y - origin.Y}, button,
              shift, viewInfo, isMouseEvent);
}

void TcxCustomEditViewData::CalculateButtonsViewInfo(TcxCanvas*, const TRect&, const TPoint&, TcxMouseButton,
                                                     TShiftState, TcxCustomEditViewInfo*, bool)
{
}
void TcxCustomEditViewData::CalculateButtonViewInfo(TcxCanvas*, TcxCustomEditViewInfo*, int, TRect&) {}
void TcxCustomEditViewData::CalculateButtonBounds(TcxCanvas*, TcxCustomEditViewInfo*, int, TRect&) {}
void TcxCustomEditViewData::CalculateButtonNativeInfo(TcxEditButtonViewInfo*) {}
void TcxCustomEditViewData::CheckButtonsOnly(TcxCustomEditViewInfo*, int, int) {}
TcxContainerState TcxCustomEditViewData::GetContainerState(const TRect&, const TPoint&, TcxMouseButton,
                                                           TShiftState, bool)
{
    return TcxContainerState{csNormal};
}
int TcxCustomEditViewData::GetEditNativeState(TcxCustomEditViewInfo*) { return 1; }
TcxEditBorderStyle TcxCustomEditViewData::GetBorderStyle() { return ebsNone; }
TColor TcxCustomEditViewData::GetBorderColor() { return clDefault; }
TRect TcxCustomEditViewData::GetBorderExtent() { return cxNullRect; }
TRect TcxCustomEditViewData::GetBorderExtentByEdges(int) { return cxNullRect; }
TRect TcxCustomEditViewData::GetBorderExtentByPainter() { return cxNullRect; }
TRect TcxCustomEditViewData::GetButtonsExtent(TcxCanvas*) { return cxNullRect; }
TRect TcxCustomEditViewData::GetClientExtent(TcxCanvas*, TcxCustomEditViewInfo*) { return cxNullRect; }
bool TcxCustomEditViewData::HasShadow() { return false; }
bool TcxCustomEditViewData::HasThickBorders() { return false; }
bool TcxCustomEditViewData::IsNativeStyle(TcxLookAndFeel* lookAndFeel)
{
    return AreVisualStylesMustBeUsed(lookAndFeel->GetNativeStyle(), totEdit);
}
TcxEditButtonStyle TcxCustomEditViewData::GetButtonsStyle() { return btsDefault; }
void TcxCustomEditViewData::GetColorSettings(TcxCustomEditViewInfo*, TColor& background, TColor& textColor)
{
    background = textColor = clDefault;
}
TSize TcxCustomEditViewData::GetEditSize(TcxCanvas*, const Variant&, const TcxEditSizeProperties&,
                                         TcxCustomEditViewInfo*)
{
    return {0, 0};
}
TSize TcxCustomEditViewData::GetEditConstantPartSize(TcxCanvas*, const TcxEditSizeProperties&, TSize&,
                                                     TcxCustomEditViewInfo*)
{
    return {0, 0};
}
TSize TcxCustomEditViewData::GetEditContentSize(TcxCanvas*, const Variant&, const TcxEditSizeProperties&)
{
    return {0, 0};
}
TSize TcxCustomEditViewData::GetEditContentSizeCorrection() { return {0, 0}; }
TRect TcxCustomEditViewData::GetEditContentDefaultOffsets() { return EditContentDefaultOffsets[isInplace_]; }
void TcxCustomEditViewData::InitEditContentParams(TcxEditContentParams& params)
{
    params.Offsets = GetEditContentDefaultOffsets();
}
std::string TcxCustomEditViewData::EditValueToDisplayText(const Variant& value)
{
    std::string text = InternalEditValueToDisplayText(value);
    DoOnGetDisplayText(text);
    return text;
}
TcxEditPaintOptions TcxCustomEditViewData::GetPaintOptions() const { return PaintOptionsBase; }
int TcxCustomEditViewData::GetCaptureButtonVisibleIndex() { return Edit ? Edit->GetCaptureButtonVisibleIndex() : -1; }
bool TcxCustomEditViewData::InternalFocused() { return Edit ? Edit->IsEditFocused() : Focused; }
TSize TcxCustomEditViewData::InternalGetEditConstantPartSize(TcxCanvas*, bool, const TcxEditSizeProperties&,
                                                             TSize&, TcxCustomEditViewInfo*)
{
    return {0, 0};
}
void TcxCustomEditViewData::CalculateViewInfo(TcxCustomEditViewInfo*) {}
void TcxCustomEditViewData::CheckSizeConstraints(TSize&) {}
void TcxCustomEditViewData::DoGetButtonState(TcxCustomEditViewInfo* viewInfo, int visibleIndex,
                                             TcxEditButtonState& state)
{
    CallEvent(viewInfo->OnGetButtonState, viewInfo, visibleIndex, state);
}
int TcxCustomEditViewData::DoGetDefaultButtonWidth(int index)
{
    int width = 0;
    CallEvent(OnGetDefaultButtonWidth, this, index, width);
    return width;
}
void TcxCustomEditViewData::DoOnGetDisplayText(std::string& text) { CallEvent(OnGetDisplayText, this, text); }

} // namespace cx
