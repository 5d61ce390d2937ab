#pragma once
// The colours, brushes, bitmaps and small drawing routines of the toolkit's Office 2003 look.
// The palette comes from one of the three standard XP colour schemes when such a theme is
// active, else (always on this platform, where themes are absent) it is derived from the system
// colours. Gradients are filled in bands: the system gradient function is not bound here.
#include "platform/vcl/Graphics.h"
#include "toolkit/core/cxGraphicsPixels.h"

enum TOffice11Scheme { schUnknown, schNormalColor, schHomestead, schMetallic };
using TOffice11SchemeColor = TOffice11Scheme; // schNormalColor .. schMetallic

// ---- colour variables (plain RGB, never system-colour references) ----
extern TColor dxOffice11ToolbarsColor1, dxOffice11ToolbarsColor2, dxOffice11DockColor1, dxOffice11DockColor2;
extern TColor dxOffice11BarMarkColors1[3], dxOffice11BarMarkColors2[3], dxOffice11BarBorderColors[2],
    dxOffice11BarBorderMarkColors[6];
extern TColor dxOffice11BarFingerColor1, dxOffice11BarFingerColor2, dxOffice11BarSeparatorColor1,
    dxOffice11BarSeparatorColor2, dxOffice11BarMarkArrowColor1, dxOffice11BarMarkArrowColor2;
extern TColor dxOffice11BarFloatingBorderColor1, dxOffice11BarFloatingBorderColor2,
    dxOffice11BarFloatingBorderColor3, dxOffice11BarFloatingCaptionColor,
    dxOffice11BarFloatingCaptionTextColor1, dxOffice11BarFloatingCaptionTextColor2,
    dxOffice11BarFloatingCaptionTextColor3;
extern TColor dxOffice11DropDownBorderColor1, dxOffice11DropDownBorderColor2, dxOffice11MenuColor,
    dxOffice11MenuDownedColor1, dxOffice11MenuDownedColor2, dxOffice11MenuIndentColor1,
    dxOffice11MenuIndentColor2, dxOffice11MenuNonRecentIndentColor1, dxOffice11MenuNonRecentIndentColor2;
extern TColor dxOffice11ToolbarSelectedColor, dxOffice11SelectedBorderColor, dxOffice11SelectedColor1,
    dxOffice11SelectedColor2, dxOffice11SelectedDownColor1, dxOffice11SelectedDownColor2,
    dxOffice11OwnerControlDownedColor, dxOffice11DownedColor, dxOffice11DownedSelectedColor,
    dxOffice11DetachableColor, dxOffice11DetachableSelectedColor;
extern TColor dxOffice11TextEnabledColor, dxOffice11TextDisabledColor, dxOffice11GroupColor,
    dxOffice11GroupIndentColor, dxOffice11DayNavigatorSelectedColor, dxOffice11OutlookControlColor,
    dxOffice11OutlookBorderColor, dxOffice11GroupRowTextColor, dxOffice11GroupRowSeparatorColor;
extern TColor dxOffice11NavPaneBorder, dxOffice11NavPaneGroupCaptionColor1, dxOffice11NavPaneGroupCaptionColor2,
    dxOffice11NavPaneGroupCaptionHotColor1, dxOffice11NavPaneGroupCaptionHotColor2,
    dxOffice11NavPaneGroupCaptionPressedColor1, dxOffice11NavPaneGroupCaptionPressedColor2,
    dxOffice11NavPaneGroupCaptionPressedHotColor1, dxOffice11NavPaneGroupCaptionPressedHotColor2,
    dxOffice11NavPaneHeaderColor1, dxOffice11NavPaneHeaderColor2, dxOffice11NavPaneHeaderFontColor,
    dxOffice11NavPaneSplitterColor1, dxOffice11NavPaneSplitterColor2;
extern TColor dxOffice11StaticBorderColor, dxOffice11ControlBorderColor, dxOffice11DateHeaderColor,
    dxOffice11InPlaceSubItemColor, dxOffice11InPlaceSubItemTextColor, dxOffice11ExpandButtonColor1,
    dxOffice11ExpandButtonColor2;
extern int dxOffice11TubeMidPercent;

// ---- brushes and bitmaps: alive while CreateOffice11Colors calls outnumber releases ----
using HBRUSH = const gdi::Brush*;
extern HBRUSH dxOffice11BarFingerBrush1, dxOffice11BarFingerBrush2, dxOffice11BarSeparatorBrush1,
    dxOffice11BarSeparatorBrush2, dxOffice11DropDownBorderBrush1, dxOffice11DropDownBorderBrush2,
    dxOffice11MenuBrush, dxOffice11SelectedBorderBrush, dxOffice11OwnerControlDownedBrush,
    dxOffice11DownedBrush, dxOffice11DownedSelectedBrush, dxOffice11DetachableBrush,
    dxOffice11DetachableSelectedBrush, dxOffice11ToolbarSelectedBrush, dxOffice11InPlaceSubItemBrush,
    dxOffice11StaticBorderBrush;
extern TBitmap* dxOffice11SubMenuExpandBitmap;
extern TBitmap* dxOffice11ExpandButtonBitmap1; // minus
extern TBitmap* dxOffice11ExpandButtonBitmap2; // plus

void CreateOffice11Colors();
void ReleaseOffice11Colors();
void RefreshOffice11Colors();
TOffice11Scheme GetOffice11Scheme();
bool IsXPStandardScheme();
bool IsHighContrastBlack();
bool IsHighContrastWhite();
bool IsHighContrast2();

// ---- colour arithmetic (GetLightColor and GetRealColor are the graphics unit's) ----
TColor Dark(TColor color, unsigned char percent);
TColor Light(TColor color, unsigned char percent);
// p is the weight of a.
TColor GetMiddleRGB(TColor a, TColor b, int percent);

// ---- fills and shapes ----
void FillRectByColor(HDC dc, const TRect& r, TColor color);
void FrameRectByColor(HDC dc, const TRect& r, TColor color);
void FillGradientRect(HDC dc, const TRect& r, TColor color1, TColor color2, bool horizontal);
void FillTubeGradientRect(HDC dc, const TRect& r, TColor color1, TColor color2, bool horizontal);
// The colour the band-wise gradient paints at position x (along the gradient).
TColor GetGradientColorRect(const TRect& r, int x, TColor color1, TColor color2, bool horizontal);
void Office11FrameSelectedRect(HDC dc, const TRect& r);
void Office11DrawFingerElements(HDC dc, const TRect& r, bool vertical, HBRUSH dotBrush = nullptr,
                                HBRUSH shadowBrush = nullptr);
void Office11DrawSizeGrip(HDC dc, const TRect& r, TColor dotColor = clDefault, TColor shadowColor = clDefault);
void Office11DrawLargeItemArrow(HDC dc, const TRect& r, bool down, int size, bool selected, bool enabled,
                                bool flat = false);
void Office11DrawItemArrow(HDC dc, const TRect& r, bool down, bool enabled, bool selected, bool flat = false);

