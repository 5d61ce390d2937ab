#include "toolkit/editors/cxEditViewInfo.h"

namespace cx {

TcxCustomEditViewInfo::TcxCustomEditViewInfo() = default;

TcxCustomEditViewInfo::~TcxCustomEditViewInfo() { SetButtonCount(0); }

void TcxCustomEditViewInfo::SetButtonCount(int count)
{
    while (int(ButtonsInfo.size()) > count) {
        delete ButtonsInfo.back();
        ButtonsInfo.pop_back();
    }
    const TcxEditButtonViewInfoClass cls = GetButtonViewInfoClass();
    while (int(ButtonsInfo.size()) < count)
        ButtonsInfo.push_back(cls.Create());
}

TcxEditButtonViewInfoClass TcxCustomEditViewInfo::GetButtonViewInfoClass() const
{
    return TcxEditButtonViewInfoClass::Of<TcxEditButtonViewInfo>();
}

void TcxCustomEditViewInfo::Assign(TObject* source) { TcxContainerViewInfo::Assign(source); }
TcxRegion* TcxCustomEditViewInfo::GetUpdateRegion(TObject*) { return new TcxRegion(); }
void TcxCustomEditViewInfo::Offset(int dx, int dy) { TcxContainerViewInfo::Offset(dx, dy); }
void TcxCustomEditViewInfo::Paint(TcxCanvas* canvas)
{
    CallEvent(OnPaint, this, canvas);
    TcxContainerViewInfo::Paint(canvas);
}
void TcxCustomEditViewInfo::InternalPaint(TcxCanvas* canvas) { DrawCustomEdit(canvas, true, bpsSolid); }
void TcxCustomEditViewInfo::PaintEx(TcxCanvas* canvas)
{
    const TPoint org = canvas->GetWindowOrg();
    canvas->SetWindowOrg({org.X - Left, org.Y - Top});
    Paint(canvas);
    canvas->SetWindowOrg(org);
}
bool TcxCustomEditViewInfo::DrawBackground(TcxCanvas*) { return false; }
bool TcxCustomEditViewInfo::DrawBackground(TcxCanvas* canvas, const TPoint&) { return DrawBackground(canvas); }
TcxDrawBackgroundStyle TcxCustomEditViewInfo::GetDrawBackgroundStyle() const { return dbsSimpleFill; }
void TcxCustomEditViewInfo::DrawEditBackground(TcxCanvas*, const TRect&, const TRect&, bool) {}
void TcxCustomEditViewInfo::DrawCustomEdit(TcxCanvas*, bool, TcxEditBackgroundPaintingStyle) {}
void TcxCustomEditViewInfo::DrawNativeStyleEditBackground(TcxCanvas*, bool, TcxEditBackgroundPaintingStyle,
                                                          const gdi::Brush*)
{
}
bool TcxCustomEditViewInfo::IsBackgroundTransparent() const
{
    const TcxDrawBackgroundStyle s = GetDrawBackgroundStyle();
    return s != dbsCustomEdit && s != dbsSimpleFill;
}
bool TcxCustomEditViewInfo::IsCustomBackground() { return false; }
bool TcxCustomEditViewInfo::IsNativeBackground() const { return Edit && Edit->IsEditNativeBackground(); }
bool TcxCustomEditViewInfo::IsTransparent() const { return Transparent || (Edit && Edit->IsEditTransparent()); }
void TcxCustomEditViewInfo::DrawButtons(TcxCanvas*) {}
void TcxCustomEditViewInfo::DrawButton(TcxCanvas*, int) {}
void TcxCustomEditViewInfo::DrawEditButton(TcxCanvas*, int) {}
void TcxCustomEditViewInfo::DrawButtonBorder(TcxCanvas*, int, TRect&, TRect&, TColor&, TColor&) {}
void TcxCustomEditViewInfo::Draw3DButtonBorder(TcxCanvas*, TcxEditButtonViewInfo*, TRect&, TRect&, TColor&, TColor&) {}
void TcxCustomEditViewInfo::DrawFlatButtonBorder(TcxCanvas*, TcxEditButtonViewInfo*, TRect&, TRect&, TColor&, TColor&) {}
void TcxCustomEditViewInfo::DrawHotFlatButtonBorder(TcxCanvas*, TcxEditButtonViewInfo*, TRect&, TRect&, TColor&,
                                                    TColor&)
{
}
void TcxCustomEditViewInfo::DrawNativeButtonBorder(TcxCanvas*, TcxEditButtonViewInfo*, TRect&, TRect&, TColor&,
                                                   TColor&)
{
}
void TcxCustomEditViewInfo::DrawSimpleButtonBorder(TcxCanvas*, TcxEditButtonViewInfo*, TRect&, TRect&, TColor&,
                                                   TColor&)
{
}
void TcxCustomEditViewInfo::DrawUltraFlatButtonBorder(TcxCanvas*, TcxEditButtonViewInfo*, bool, TRect&, TRect&,
                                                      TColor&, TColor&)
{
}
void TcxCustomEditViewInfo::DrawButtonBorderByPainter(TcxCanvas*, TcxEditButtonViewInfo*, TRect&, TRect&, TColor&,
                                                      TColor&)
{
}
void TcxCustomEditViewInfo::DrawButtonBackground(TcxCanvas*, int, const TRect&, TColor) {}
void TcxCustomEditViewInfo::DrawNativeButtonBackground(TcxCanvas*, TcxEditButtonViewInfo*, const TRect&) {}
void TcxCustomEditViewInfo::DrawUsualButtonBackground(TcxCanvas*, TcxEditButtonViewInfo*, const TRect&, TColor) {}
void TcxCustomEditViewInfo::DrawButtonContent(TcxCanvas*, int, const TRect&, TColor, TColor, bool) {}
bool TcxCustomEditViewInfo::IsCustomButton(int) { return false; }
bool TcxCustomEditViewInfo::IsCustomButtonBackground(int) { return false; }
bool TcxCustomEditViewInfo::IsCustomButtonBorder(int) { return false; }
bool TcxCustomEditViewInfo::IsCustomDrawButton(int) { return false; }
int TcxCustomEditViewInfo::GetPart(const TPoint&) const { return -2; }
TRect TcxCustomEditViewInfo::GetPartRect(int) const { return cxNullRect; }
bool TcxCustomEditViewInfo::IsHotTrack() const { return false; }
bool TcxCustomEditViewInfo::IsHotTrack(const TPoint&) const { return false; }
bool TcxCustomEditViewInfo::NeedShowHint(TcxCanvas*, const TPoint&, std::string& text, bool&, TRect&)
{
    text.clear();
    return false;
}
bool TcxCustomEditViewInfo::NeedShowHint(TcxCanvas*, const TPoint&, const TRect&, std::string& text, bool&, TRect&)
{
    text.clear();
    return false;
}
TRect TcxCustomEditViewInfo::GetHintTextRect(const TPoint&, int, const std::string&) const { return cxNullRect; }
bool TcxCustomEditViewInfo::Repaint(TWinControl* control, TcxCustomEditViewInfo* oldViewInfo)
{
    return Repaint(control, cxNullRect, oldViewInfo);
}
bool TcxCustomEditViewInfo::Repaint(TWinControl*, const TRect&, TcxCustomEditViewInfo*) { return false; }
void TcxCustomEditViewInfo::GetColorSettingsByPainter(TColor& background, TColor& textColor) const
{
    background = textColor = clDefault;
}

} // namespace cx
