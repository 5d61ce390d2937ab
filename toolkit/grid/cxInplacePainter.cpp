// Painting of an editing control: value cells calculated through the editor view data and view
// info of their properties (no editor control), the painter that walks them onto the canvas
// (optionally through an off-screen bitmap) with a custom-draw hook per cell, the control's four
// styles and the shared edit style's look per cell.
#include "toolkit/grid/cxInplaceContainer.h"

#include "platform/rtl/Unicode.h"
#include "toolkit/editors/cxTextEdit.h"

namespace cx {

namespace {

TcxCanvas* CellCanvas(TcxEditCellViewInfo* cell)
{
    return cell->Item->GetControlCanvas();
}

TColor InvertedRGB(TColor color) { return TColor((ColorToRGB(color) ^ 0xFFFFFF) & 0xFFFFFF); }

void SetPaintOption(TcxEditPaintOptions& options, TcxEditPaintOption option, bool on)
{
    options = on ? options + TcxEditPaintOptions{option} : options - TcxEditPaintOptions{option};
}

// Builds the cell for its record: its properties (per record through OnGetEditProperties), the
// value, its look, and view data and view info for those properties.
void InitEditViewInfo(TcxEditCellViewInfo* cell)
{
    TcxCustomInplaceEditContainer* item = cell->Item;
    TcxCustomEditProperties* previous = cell->CellProperties;
    cell->CellProperties = item->DoGetEditProperties(cell->GetViewInfoData());
    cell->DisplayValue = cell->GetDisplayValue();
    cell->ViewParams = cell->GetEditViewParams();
    if (!cell->CellProperties)
        return;
    const bool shared = cell->CellProperties == item->PropertiesValue();
    if (cell->CellProperties != previous || !cell->CellEditViewInfo) {
        if (cell->OwnsViewData)
            FreeAndNil(cell->CellViewData);
        FreeAndNil(cell->CellEditViewInfo);
        cell->CellViewData = shared ? item->SharedViewData()
                                    : item->CreateEditViewData(cell->CellProperties, cell->GetViewInfoData());
        cell->OwnsViewData = !shared;
        cell->CellEditViewInfo = cell->CellProperties->GetViewInfoClass().Create();
        if (shared && cell->CellViewData)
            cell->CellViewData->InitCacheData();
    } else if (shared)
        // The item may have made its shared view data again since.
        cell->CellViewData = item->SharedViewData();
    if (!cell->CellViewData)
        return;
    SetPaintOption(cell->CellViewData->PaintOptionsBase, epoAutoHeight, cell->IsAutoHeight());
    SetPaintOption(cell->CellViewData->PaintOptionsBase, epoShowEndEllipsis, cell->IsEndEllipsis());
    cell->CellViewData->Data = item;
}

void CalculateEditViewInfo(TcxEditCellViewInfo* cell, const TPoint& mouse)
{
    TcxCustomEditViewData* viewData = cell->CellViewData;
    if (!viewData || !cell->CellEditViewInfo)
        return;
    cxAssignEditStyle(cell);
    if (auto* text = dynamic_cast<TcxCustomTextEditViewData*>(viewData)) {
        TcxCustomControlController* controller = cell->Item->EditingControl()->Controller();
        if (controller->IsIncSearching() && controller->IncSearchingItem() == cell->Item &&
            controller->GetFocusedRecordIndex() == cell->RecordIndex) {
            text->SelTextColor = cell->GetSelectedTextColor();
            text->SelBackgroundColor = cell->GetSelectedBKColor();
            text->SelStart = 0;
            text->SelLength = static_cast<int>(rtl::Utf8ToUtf16(controller->GetIncSearchingText()).size());
        } else
            text->SelLength = 0;
        text->MaxLineCount = cell->GetMaxLineCount();
    }
    TcxCanvas* canvas = CellCanvas(cell);
    viewData->EditValueToDrawValue(canvas, cell->DisplayValue, cell->CellEditViewInfo);
    viewData->ContentOffset = cell->ContentOffset();
    viewData->CalculateEx(canvas, cell->ContentBounds, mouse, cxmbNone, {}, cell->CellEditViewInfo, false);
}

} // namespace

// ---- cells ---------------------------------------------------------------------------------------

void TcxEditCellViewInfo::FreeEditViewInfo()
{
    FreeAndNil(CellEditViewInfo);
    if (OwnsViewData)
        FreeAndNil(CellViewData);
    CellViewData = nullptr;
    OwnsViewData = false;
}

void TcxEditCellViewInfo::CheckClipping(const TRect& displayRect, const TRect& availableRect)
{
    Bounds = displayRect;
    ClipArea = availableRect;
    if (!cxRectIntersect(VisibleBounds, Bounds, ClipArea))
        VisibleBounds = TRect{};
    Visible = !cxRectIsEmpty(VisibleBounds);
    IsClipped = !cxRectIsEqual(VisibleBounds, Bounds);
    ContentBounds = Bounds;
    TRect r = VisibleBounds;
    if (Borders != 0) {
        if (Borders & cxBorder(bLeft))
            ++ContentBounds.Left;
        if (Borders & cxBorder(bTop))
            ++ContentBounds.Top;
        if (Borders & cxBorder(bRight))
            --ContentBounds.Right;
        if (Borders & cxBorder(bBottom))
            --ContentBounds.Bottom;
        if (!cxRectIntersect(r, VisibleBounds, ContentBounds)) {
            editRect_ = TRect{};
            editRectSet_ = true;
            return;
        }
    }
    const TRect offset = ContentOffset();
    editRect_ = TRect{r.Left + offset.Left, r.Top + offset.Top, r.Right - offset.Right, r.Bottom - offset.Bottom};
    editRectSet_ = true;
}

void TcxEditCellViewInfo::CheckClipping(const TRect& displayRect) { CheckClipping(displayRect, owner_->ClientBounds); }

void TcxEditCellViewInfo::SetBounds(const TRect& displayRect, const TRect& availableRect)
{
    CheckClipping(displayRect, availableRect);
    DoCalculate();
}

void TcxEditCellViewInfo::Scroll(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    CheckClipping(cxRectOffset(Bounds, dx, dy), ClipArea);
    DetailsCalculated = false;
}

void TcxEditCellViewInfo::DoCalculate()
{
    if (!Item || !Item->EditingControl())
        return;
    if (!editRectSet_)
        // Placed by its bounds alone: clipped against the client area now.
        CheckClipping(Bounds, owner_->ClientBounds);
    if (IsAutoHeight() && CellEditViewInfo && CellViewData)
        CellViewData->Data = Item;   // measuring initialised the cell already
    else
        InitEditViewInfo(this);
    CalculateEditViewInfo(this, cxInvalidPoint);
}

void TcxEditCellViewInfo::CheckVisibleInfo()
{
    if (Visible && !DetailsCalculated) {
        DoCalculate();
        DetailsCalculated = true;
    }
}

Variant TcxEditCellViewInfo::GetDisplayValue() const
{
    TcxCustomDataController* dc = Item ? Item->DataController() : nullptr;
    if (!dc || RecordIndex < 0 || RecordIndex >= dc->GetRecordCount())
        return Null;
    return Item->GetDisplayValue(CellProperties ? CellProperties : Item->GetPropertiesValue(), RecordIndex);
}

TcxViewParams TcxEditCellViewInfo::GetEditViewParams() { return owner_->Control()->Styles()->GetBackgroundParams(); }

int TcxEditCellViewInfo::GetMaxLineCount() const
{
    return owner_->Control()->GetOptions()->GetOptionsView()->CellTextMaxLineCount();
}

bool TcxEditCellViewInfo::IsAutoHeight() const
{
    return owner_->Control()->GetOptions()->GetOptionsView()->CellAutoHeight();
}

bool TcxEditCellViewInfo::IsEndEllipsis() const
{
    return owner_->Control()->GetOptions()->GetOptionsView()->CellEndEllipsis();
}

TColor TcxEditCellViewInfo::GetSelectedTextColor() const { return InvertedRGB(ViewParams.TextColor); }

TColor TcxEditCellViewInfo::GetSelectedBKColor() const { return InvertedRGB(ViewParams.Color); }

bool TcxEditCellViewInfo::ChangedHeight(int previous, int value)
{
    CalculatedHeight = value;
    return previous != value;
}

int TcxEditCellViewInfo::CalculateEditHeight()
{
    if (!IsAutoHeight())
        return owner_->DefaultEditHeight();
    InitEditViewInfo(this);
    if (!CellViewData)
        return owner_->DefaultEditHeight();
    cxAssignEditStyle(this);   // the cell is measured in its own font
    CellViewData->ContentOffset = ContentOffset();
    const TcxEditSizeProperties size{-1, GetMaxLineCount(), ContentBounds.Right - ContentBounds.Left};
    int height = CellViewData->GetEditSize(CellCanvas(this), DisplayValue, size).cy;
    if (Borders & cxBorder(bTop))
        ++height;
    if (Borders & cxBorder(bBottom))
        ++height;
    return height;
}

bool TcxEditCellViewInfo::Refresh(bool recalculate)
{
    if (!Item || !CellEditViewInfo)
        return false;
    bool changed = false;
    if (recalculate) {
        if (IsAutoHeight())
            changed = ChangedHeight(CalculatedHeight, CalculateEditHeight());
        if (!changed)
            DoCalculate();
    } else {
        ViewParams = GetEditViewParams();
        CellEditViewInfo->TextColor = ViewParams.TextColor;
        CellEditViewInfo->Font = ViewParams.Font;
        CellEditViewInfo->BackgroundColor = ViewParams.Color;
        CellEditViewInfo->Transparent = GetTransparent();
    }
    if (!changed)
        Invalidate(false);
    return changed;
}

void TcxEditCellViewInfo::Draw(TcxCanvas* canvas)
{
    CheckVisibleInfo();
    TcxCanvas* saved = PaintCanvas;
    PaintCanvas = canvas;
    try {
        DoDraw(canvas);
    } catch (...) {
        PaintCanvas = saved;
        throw;
    }
    PaintCanvas = saved;
}

void TcxEditCellViewInfo::DoDraw(TcxCanvas* canvas)
{
    if (CellEditViewInfo) {
        CellEditViewInfo->PaintEx(canvas);
        return;
    }
    if (!GetTransparent())
        canvas->FillRect(VisibleBounds, ViewParams);
}

bool TcxEditCellViewInfo::IsTransparent() const { return ViewParams.Bitmap && !ViewParams.Bitmap->GetEmpty(); }

bool TcxEditCellViewInfo::GetTransparent() const
{
    return (CellEditViewInfo && CellEditViewInfo->Transparent) || ForceTransparent;
}

void TcxEditCellViewInfo::SetTransparent(bool value)
{
    ForceTransparent = value;
    if (CellEditViewInfo)
        CellEditViewInfo->Transparent = value;
}

void TcxEditCellViewInfo::Invalidate(bool recalculate)
{
    if (recalculate)
        DoCalculate();
    if (IsVisiblePart())
        owner_->Control()->InvalidateRect(VisibleBounds, false);
}

TPoint TcxEditCellViewInfo::GetOrigin()
{
    if (CellEditViewInfo)
        return TPoint{CellEditViewInfo->Left, CellEditViewInfo->Top};
    return TPoint{ContentBounds.Left, ContentBounds.Top};
}

bool TcxEditCellViewInfo::IsNeedHint(TcxCanvas* canvas, const TPoint& p, std::string& text, bool& isMultiLine,
                                     TRect& textRect, bool& atCursor)
{
    atCursor = false;
    // Only a cell calculated for painting knows whether its value fits.
    if (!IsVisiblePart() || !CellEditViewInfo)
        return false;
    return CellEditViewInfo->NeedShowHint(canvas, p, owner_->Control()->GetClientBounds(), text, isMultiLine,
                                          textRect);
}

bool TcxEditCellViewInfo::IsSupportedHotTrack() const
{
    TcxEditingControl* control = owner_->Control();
    if (!CellProperties || !CellViewData || control->IsDesigning())
        return false;
    if (!CellProperties->GetSupportedOperations().Contains(esoHotTrack))
        return false;
    TcxCustomEditStyle* style = CellViewData->GetStyle();
    return style && style->GetLookAndFeel()->GetPainter()->IsButtonHotTrack();
}

void TcxEditCellViewInfo::UpdateHotTrackState(const TPoint& p)
{
    if (!CellEditViewInfo || !IsSupportedHotTrack())
        return;
    UniqueObject<TcxCustomEditViewInfo> old(CellProperties->GetViewInfoClass().Create());
    old->Assign(CellEditViewInfo);
    cxAssignEditStyle(this);
    CellViewData->ContentOffset = ContentOffset();
    const TPoint org = GetCellOrg();
    CellViewData->CalculateEx(CellCanvas(this), ContentBounds, TPoint{p.X - org.X, p.Y - org.Y}, cxmbNone, {},
                              CellEditViewInfo, false);
    TcxEditingControl* control = owner_->Control();
    if (control->DragAndDropState() != ddsNone || !CellEditViewInfo->Repaint(control, old.get()))
        return;
    if (!control->Painter()->Buffered() && org.X == 0 && org.Y == 0)
        return;
    control->InvalidateRect(cxRectOffset(ContentBounds, org.X, org.Y), false);
}

bool cxPtInViewInfoItem(TcxEditCellViewInfo* item, const TPoint& p)
{
    return item && item->IsVisiblePart() && cxRectPtIn(item->VisibleBounds, p);
}

void cxAssignEditStyle(TcxEditCellViewInfo* cell)
{
    TcxEditStyle* style = cell->Item->EditingControl()->EditStyle();
    style->BeginUpdate();
    try {
        TcxContainerStyleValues assigned = style->GetAssignedValues();
        assigned |= cxStyleValue(csvColor) | cxStyleValue(svButtonTransparency);
        assigned &= ~cxStyleValue(csvFont);
        style->SetAssignedValues(assigned);
        style->SetFont(cell->ViewParams.Font ? cell->ViewParams.Font : cell->GetEditViewParams().Font);
        style->SetColor(cell->ViewParams.Color);
        style->SetTextColor(cell->ViewParams.TextColor);
        style->SetButtonTransparency(cell->GetButtonTransparency());
        style->Changed();
    } catch (...) {
        style->EndUpdate();
        throw;
    }
    style->EndUpdate();
    if (cell->CellEditViewInfo)
        cell->CellEditViewInfo->Transparent = cell->IsTransparent();
}

// ---- view info -----------------------------------------------------------------------------------

TcxCustomControlPainter* TcxCustomControlViewInfo::Painter()
{
    if (!painter_)
        painter_ = owner_->GetControlPainterClass().Create(owner_);
    return painter_;
}

TcxCustomControlViewInfo::~TcxCustomControlViewInfo()
{
    ClearCells();
    if (painter_)
        painter_->Free();
}

void TcxCustomControlViewInfo::CalculateStyles()
{
    if (!StylesDirty)
        return;
    defaultEditHeight_ = -1;
    BackgroundParams = owner_->Styles()->GetBackgroundParams();
    SelectionParams = owner_->Styles()->GetSelectionParams();
}

void TcxCustomControlViewInfo::UpdateSelection() { SelectionParams = owner_->Styles()->GetSelectionParams(); }

void TcxCustomControlViewInfo::ValidateDirty()
{
    if (IsDirty)
        Calculate();
}

void TcxCustomControlViewInfo::Invalidate(bool recalculate)
{
    if (recalculate)
        owner_->LayoutChanged();
    else
        owner_->InvalidateRect(ClientBounds, false);
}

int TcxCustomControlViewInfo::DefaultEditHeight()
{
    if (defaultEditHeight_ < 0)
        defaultEditHeight_ = CalculateDefaultEditHeight();
    return defaultEditHeight_;
}

int TcxCustomControlViewInfo::CalculateDefaultEditHeight()
{
    for (int i = 0; i < owner_->ItemCount(); ++i) {
        TcxCustomEditViewData* viewData = owner_->Items(i)->SharedViewData();
        if (!viewData)
            continue;
        viewData->ContentOffset = TRect{};
        TcxCanvas* canvas = owner_->Items(i)->GetControlCanvas();
        canvas->SetFont(owner_->Font());
        return viewData->GetEditSize(canvas, Null, DefaultcxEditSizeProperties).cy;
    }
    return owner_->Canvas() ? owner_->Canvas()->FontHeight(owner_->Font()) + 2 : 0;
}

// ---- painter -------------------------------------------------------------------------------------

TcxCustomControlPainter::~TcxCustomControlPainter()
{
    delete bufferCanvas_;
    if (bufferBitmap_)
        bufferBitmap_->Free();
}

TcxCustomControlViewInfo* TcxCustomControlPainter::ViewInfo() const { return control_->ViewInfo(); }

void TcxCustomControlPainter::SetBuffered(bool value)
{
    if (buffered_ == value)
        return;
    buffered_ = value;
    if (value) {
        bufferBitmap_ = new TBitmap();
        bufferCanvas_ = new TcxCanvas(bufferBitmap_->Canvas());
    } else {
        delete bufferCanvas_;
        bufferCanvas_ = nullptr;
        bufferBitmap_->Free();
        bufferBitmap_ = nullptr;
    }
    ViewInfo()->Invalidate(false);
}

void TcxCustomControlPainter::Paint(TcxCanvas* canvas)
{
    TcxCustomControlViewInfo* viewInfo = ViewInfo();
    if (viewInfo->IsDirty && control_->IsLocked()) {
        // The cells of a layout that waits for its update lock may name freed items: only the
        // background is painted until the new layout.
        canvas->FillRect(control_->GetClientBounds(), viewInfo->BackgroundParams.Color);
        return;
    }
    viewInfo->ValidateDirty();
    if (!canvas->RectVisible(viewInfo->ClientBounds))
        return;
    TcxCanvas* saved = targetCanvas_;
    targetCanvas_ = canvas;
    if (buffered_) {
        ++bufferedPaints_;
        bufferBitmap_->SetSize(control_->Width(), control_->Height());
        if (control_->RepaintAll) {
            // A full repaint was asked for since the last layout change.
            control_->RepaintAll = false;
            bufferCanvas_->SetClipRegion(new TcxRegion(viewInfo->ClientBounds), roSet);
        } else
            bufferCanvas_->SetClipRegion(canvas->GetClipRegion(), roSet);
        targetCanvas_ = bufferCanvas_;
    }
    try {
        DoPaint();
    } catch (...) {
        targetCanvas_ = saved;
        throw;
    }
    targetCanvas_ = saved;
    if (buffered_)
        canvas->CopyRect(TRect{0, 0, control_->Width(), control_->Height()}, bufferBitmap_->Canvas(),
                         TRect{0, 0, control_->Width(), control_->Height()});
}

void TcxCustomControlPainter::DoPaint()
{
    TcxCustomControlViewInfo* viewInfo = ViewInfo();
    targetCanvas_->FillRect(viewInfo->ClientBounds, viewInfo->BackgroundParams.Color);
    PaintCells();
}

void TcxCustomControlPainter::PaintCells()
{
    TcxCustomControlViewInfo* viewInfo = ViewInfo();
    for (int i = 0; i < viewInfo->CellCount(); ++i) {
        TcxEditCellViewInfo* cell = viewInfo->Cells(i);
        cell->CheckVisibleInfo();
        if (!cell->IsVisiblePart() || !targetCanvas_->RectVisible(cell->VisibleBounds))
            continue;
        if (cell->IsClipped) {
            targetCanvas_->SaveClipRegion();
            try {
                targetCanvas_->IntersectClipRect(cell->VisibleBounds);
                DrawCell(cell);
            } catch (...) {
                targetCanvas_->RestoreClipRegion();
                throw;
            }
            targetCanvas_->RestoreClipRegion();
        } else
            DrawCell(cell);
    }
}

void TcxCustomControlPainter::DrawCell(TcxEditCellViewInfo* cell)
{
    BeforeCustomDraw(cell);
    bool done = false;
    try {
        done = DoCustomDraw(cell);
    } catch (...) {
        AfterCustomDraw(cell);
        throw;
    }
    if (done) {
        AfterCustomDraw(cell);
        return;
    }
    // What the hook left on the canvas (a brush colour, a font colour) is the cell's look now.
    TcxViewParams painted = cell->ViewParams;
    painted.Color = targetCanvas_->GetBrush()->GetColor();
    painted.TextColor = targetCanvas_->GetFont()->GetColor();
    cell->ViewParams = painted;
    if (cell->CellEditViewInfo) {
        cell->CellEditViewInfo->BackgroundColor = painted.Color;
        cell->CellEditViewInfo->TextColor = painted.TextColor;
    }
    // The cell's text is drawn on the device context: its font must be the selected one (a fresh
    // buffer bitmap still has the stock font).
    targetCanvas_->WrappedCanvas()->RequiredState();
    try {
        cell->Draw(targetCanvas_);
    } catch (...) {
        AfterCustomDraw(cell);
        throw;
    }
    AfterCustomDraw(cell);
}

void TcxCustomControlPainter::DoPaintEditCell(TcxEditCellViewInfo* cell, bool excludeFromClipping)
{
    if (!DoCustomDraw(cell) && cell->CellEditViewInfo)
        cell->CellEditViewInfo->PaintEx(targetCanvas_);
    if (excludeFromClipping && cell->IsVisiblePart())
        targetCanvas_->ExcludeClipRect(cell->VisibleBounds);
}

bool TcxCustomControlPainter::DoCustomDraw(TcxEditCellViewInfo* cell)
{
    if (!cell->IsVisiblePart() || !targetCanvas_->RectVisible(cell->VisibleBounds))
        return true;
    return control_->DoCustomDrawCell(targetCanvas_, cell);
}

void TcxCustomControlPainter::BeforeCustomDraw(TcxEditCellViewInfo* cell)
{
    savedParams_ = cell->ViewParams;
    savedFont_ = cell->CellEditViewInfo ? cell->CellEditViewInfo->Font : nullptr;
    cxApplyViewParams(targetCanvas_, cell->ViewParams);
    cell->ViewParams.Font = targetCanvas_->GetFont();
    if (cell->CellEditViewInfo)
        cell->CellEditViewInfo->Font = targetCanvas_->GetFont();
}

void TcxCustomControlPainter::AfterCustomDraw(TcxEditCellViewInfo* cell)
{
    cell->ViewParams = savedParams_;
    if (cell->CellEditViewInfo) {
        cell->CellEditViewInfo->Font = savedFont_ ? savedFont_ : savedParams_.Font;
        cell->CellEditViewInfo->TextColor = savedParams_.TextColor;
        cell->CellEditViewInfo->BackgroundColor = savedParams_.Color;
    }
}

// ---- styles --------------------------------------------------------------------------------------

TcxCustomControlStyles::~TcxCustomControlStyles()
{
    if (defaultStyle_)
        defaultStyle_->Free();
}

TcxEditingControl* TcxCustomControlStyles::EditingControl() const
{
    return dynamic_cast<TcxEditingControl*>(const_cast<TcxCustomControlStyles*>(this)->GetOwner());
}

void TcxCustomControlStyles::Assign(TPersistent* source)
{
    if (auto* other = dynamic_cast<TcxCustomControlStyles*>(source)) {
        BeginUpdate();
        for (int i = ecs_Content; i <= ecs_Selection; ++i)
            SetValue(i, other->GetValue(i));
        EndUpdate();
    }
    TcxStyles::Assign(source);
    Changed(0);
}

void TcxCustomControlStyles::GetDefaultViewParams(int index, TObject* data, TcxViewParams& params)
{
    TcxStyles::GetDefaultViewParams(index, data, params);
    TcxEditingControl* control = EditingControl();
    if (!control)
        return;
    params.Bitmap = nullptr;
    params.Font = control->Font();
    TcxCustomLookAndFeelPainterClass painter = control->GetLookAndFeelPainter();
    switch (index) {
    case ecs_Content:
    case ecs_Background:
        params.Color = painter->DefaultContentColor();
        params.TextColor = painter->DefaultContentTextColor();
        break;
    case ecs_Inactive:
        params.Color = painter->DefaultInactiveColor();
        params.TextColor = painter->DefaultInactiveTextColor();
        break;
    case ecs_Selection:
        params.Color = painter->DefaultSelectionColor();
        params.TextColor = painter->DefaultSelectionTextColor();
        break;
    default:
        break;
    }
}

TcxStyle* TcxCustomControlStyles::GetDefaultStyle(int index, TObject* data)
{
    if (!defaultStyle_)
        defaultStyle_ = new TcxStyle(nullptr);
    TcxViewParams params;
    GetDefaultViewParams(index, data, params);
    defaultStyle_->SetColor(params.Color);
    if (params.Font)
        defaultStyle_->SetFont(params.Font);
    defaultStyle_->SetTextColor(params.TextColor);
    defaultStyle_->SetAssignedValues(TcxStyleValues{svColor, svFont, svTextColor});
    return defaultStyle_;
}

TcxViewParams TcxCustomControlStyles::GetBackgroundParams()
{
    TcxViewParams params;
    GetViewParams(ecs_Background, nullptr, nullptr, params);
    return params;
}

TcxViewParams TcxCustomControlStyles::GetSelectionParams()
{
    TcxViewParams params;
    TcxEditingControl* control = EditingControl();
    const bool focused = control && ((control->Controller() && control->Controller()->Focused()) || control->Focused());
    GetViewParams(focused ? ecs_Selection : ecs_Inactive, nullptr, nullptr, params);
    return params;
}

// ---- the control's painting ----------------------------------------------------------------------

TcxCustomControlPainterClass TcxEditingControl::GetControlPainterClass() const
{
    return TcxCustomControlPainterClass::Of<TcxCustomControlPainter>();
}

bool TcxEditingControl::DoCustomDrawCell(TcxCanvas* canvas, TcxEditCellViewInfo* cell)
{
    bool done = false;
    CallEvent(OnCustomDrawCell, this, canvas, cell, done);
    return done;
}

} // namespace cx
