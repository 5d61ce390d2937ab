// The customization form, its lists and page control, the new-category dialog, and the grid's
// side of row drags to and from the form.
#include "toolkit/grid/cxVGridCustomizing.h"

#include <QWidget>

#include "platform/vcl/Peer.h"
#include "platform/vcl/StdCtrls.h"
#include "toolkit/core/cxGraphics.h"
#include "toolkit/editors/cxButtons.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/grid/cxVGridConsts.h"
#include "toolkit/grid/cxVGridController.h"
#include "toolkit/grid/cxVGridHeaders.h"
#include "toolkit/grid/cxVGridPainter.h"
#include "toolkit/grid/cxVGridViewInfo.h"

namespace cx {

namespace {

bool IsCategoryRow(TcxCustomRow* row) { return dynamic_cast<TcxCategoryRow*>(row) != nullptr; }

void FreeControl(TControl*& control)
{
    if (!control)
        return;
    control->SetParent(nullptr);
    control->Free();
    control = nullptr;
}

template <class T>
void FreeControlOf(T*& control)
{
    TControl* c = control;
    control = nullptr;
    FreeControl(c);
}

// A top line with its highlight under it, as a dialog's separating bevel.
class TcxvgBevelLine : public TGraphicControl {
    RTL_CLASS(TcxvgBevelLine, TGraphicControl)
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override
    {
        TCanvas* c = Canvas();
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(0, 0);
        c->LineTo(Width(), 0);
        c->Pen()->SetColor(clBtnHighlight);
        c->MoveTo(0, 1);
        c->LineTo(Width(), 1);
    }
};

} // namespace

// --- the grid's side ----------------------------------------------------------------------------
TcxVerticalGridCustomizing* TcxCustomVerticalGrid::Customizing()
{
    if (!customizing_ && !destroying_)
        customizing_.reset(new TcxVerticalGridCustomizing(this));
    return static_cast<TcxVerticalGridCustomizing*>(customizing_.get());
}

void TcxCustomVerticalGrid::CustomizingLayoutChanged()
{
    auto* customizing = static_cast<TcxVerticalGridCustomizing*>(customizing_.get());
    if (customizing && customizing->Visible())
        customizing->Update();
}

void TcxCustomVerticalGrid::CustomizingRowRemoved(TcxCustomRow* row)
{
    if (auto* customizing = static_cast<TcxVerticalGridCustomizing*>(customizing_.get()))
        customizing->RowRemoved(row);
}

TcxVerticalGridCustomizing* TcxCustomVerticalGrid::CustomizingIfMade() const
{
    return static_cast<TcxVerticalGridCustomizing*>(customizing_.get());
}

bool TcxCustomVerticalGrid::StartDrag(TDragObject*& dragObject)
{
    // Only a row (pressed in the grid or taken from the customization form) is dragged.
    if (!TcxExtEditingControl::StartDrag(dragObject) || GridController()->DragRow == nullptr)
        return false;
    GridController()->StartDrag();
    return true;
}

// --- the picture of a dragged row -----------------------------------------------------------------
TRect TcxCustomVerticalGrid::DragDropImageDisplayRect()
{
    TcxvgController* controller = GridController();
    if (!controller->DragImageRow)
        return cxNullRect;
    // The header's place moved from where it was laid out (the grid, or the customization
    // form's list) into the grid's client coordinates.
    const TPoint origin = ClientToScreen(TPoint{0, 0});
    return cxRectOffset(DragImageHeaderRect(controller->DragImageRow), controller->DragImageOrigin.X - origin.X,
                        controller->DragImageOrigin.Y - origin.Y);
}

// The picture is the framed caption part of the header: the indents stay behind.
TRect TcxCustomVerticalGrid::DragImageHeaderRect(TcxCustomRowViewInfo* row)
{
    TcxCustomRowHeaderInfo* header = row->HeaderInfo();
    TRect r = header->HeaderRect;
    r.Left = std::max(r.Left, header->IndentBounds.Right);
    return r;
}

bool TcxCustomVerticalGrid::HasDragDropImages() { return GridController()->DragImageRow != nullptr; }

void TcxCustomVerticalGrid::DrawDragDropImage(TBitmap*, TcxCanvas* canvas)
{
    TcxCustomRowViewInfo* row = GridController()->DragImageRow;
    if (!row || !canvas)
        return;
    const TRect header = DragImageHeaderRect(row);
    const TPoint savedOrigin = canvas->GetWindowOrg();
    canvas->SetWindowOrg(TPoint{header.Left, header.Top});
    try {
        UniqueObject<TcxvgPainter> painter(GetPainterClass().Create(canvas, this));
        painter->DrawHeaderDragImage(row);
    } catch (...) {
        canvas->SetWindowOrg(savedOrigin);
        throw;
    }
    canvas->SetWindowOrg(savedOrigin);
}

TcxDragImageHelper* TcxCustomVerticalGrid::CreateDragImageHelper()
{
    return new TcxvgDragImageHelper(this, DragStartPoint);
}

bool TcxCustomVerticalGrid::IsInternalDragging() { return GridController()->IsInternalDragging(); }

void TcxCustomVerticalGrid::DragOver(TObject* source, int x, int y, TDragState state, bool& accept)
{
    TcxExtEditingControl::DragOver(source, x, y, state, accept);
    if (source == this)
        accept = state != dsDragLeave && GridController()->DragOver(x, y);
}

void TcxCustomVerticalGrid::DragDrop(TObject* source, int x, int y)
{
    if (source != this) {
        TcxExtEditingControl::DragDrop(source, x, y);
        return;
    }
    TcxCustomRow* row = GridController()->DragRow;
    BeginUpdate();
    try {
        // A row taken from the customization form comes back into view where it is dropped.
        if (row && Rows()->IndexOf(row) >= 0 && !row->Visible())
            row->SetVisible(true);
        GridController()->DragDrop(x, y);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomVerticalGrid::DoEndDrag(TObject* target, int x, int y)
{
    TcxExtEditingControl::DoEndDrag(target, x, y);
    GridController()->EndDrag();
}

// --- page control ---------------------------------------------------------------------------------
TcxvgCustomizePage::TcxvgCustomizePage(TComponent* owner) : TCustomPanel(owner)
{
    BevelOuter = bvNone;
    SetCaption("");
}

void TcxvgCustomizePage::Resize()
{
    TCustomPanel::Resize();
    int bottom = ClientHeight();
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* panel = dynamic_cast<TPanel*>(Controls(i)); panel && panel->Visible()) {
            bottom -= panel->Height();
            panel->SetBounds(0, bottom, ClientWidth(), panel->Height());
        }
    for (int i = 0; i < ControlCount(); ++i)
        if (!dynamic_cast<TPanel*>(Controls(i)))
            Controls(i)->SetBounds(0, 0, ClientWidth(), std::max(0, bottom));
}

TcxvgCustomizePageControl::TcxvgCustomizePageControl(TComponent* owner) : TCustomControl(owner) {}

int TcxvgCustomizePageControl::TabHeight() { return cxTextHeight(Font(), "Wg") + 6; }

TRect TcxvgCustomizePageControl::TabRect(int index)
{
    int left = 2;
    for (int i = 0; i < index; ++i)
        left += cxTextWidth(Font(), Pages(i)->Caption()) + 12;
    return TRect{left, 0, left + cxTextWidth(Font(), Pages(index)->Caption()) + 12, TabHeight()};
}

void TcxvgCustomizePageControl::AddPage(TcxvgCustomizePage* page)
{
    pages_.push_back(page);
    page->SetParent(this);
    if (!active_)
        SetActivePage(page);
    else
        page->SetVisible(false);
    Resize();
}

void TcxvgCustomizePageControl::RemovePage(TcxvgCustomizePage* page)
{
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
    if (active_ == page)
        active_ = nullptr;
}

void TcxvgCustomizePageControl::SetActivePage(TcxvgCustomizePage* page)
{
    active_ = page;
    for (TcxvgCustomizePage* p : pages_)
        p->SetVisible(p == page);
    Invalidate();
}

void TcxvgCustomizePageControl::Resize()
{
    TCustomControl::Resize();
    const int top = TabHeight();
    for (TcxvgCustomizePage* page : pages_)
        page->SetBounds(2, top + 2, std::max(0, ClientWidth() - 4), std::max(0, ClientHeight() - top - 4));
}

void TcxvgCustomizePageControl::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(GetClientRect());
    c->Font()->Assign(Font());
    const int top = TabHeight();
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(TRect{0, top - 1, ClientWidth(), ClientHeight()});
    for (int i = 0; i < PageCount(); ++i) {
        TRect r = TabRect(i);
        if (Pages(i) != active_)
            r.Top += 2;
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(r);
        c->Brush()->SetColor(Color());
        c->FillRect(TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom});
        c->Brush()->SetStyle(bsClear);
        c->TextOut(r.Left + 6, r.Top + 2, Pages(i)->Caption());
        c->Brush()->SetStyle(bsSolid);
    }
}

void TcxvgCustomizePageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    for (int i = 0; i < PageCount(); ++i)
        if (cxRectPtIn(TabRect(i), x, y)) {
            SetActivePage(Pages(i));
            return;
        }
}

// --- the lists ----------------------------------------------------------------------------------
TcxVerticalGridItemsCustomizeListBox::TcxVerticalGridItemsCustomizeListBox(TComponent* owner,
                                                                           TcxCustomVerticalGrid* grid,
                                                                           bool categories)
    : TcxCustomizeListBox(owner), grid_(grid), categories_(categories)
{
    SetStyle(lbOwnerDrawFixed);
}

TcxVerticalGridItemsCustomizeListBox::~TcxVerticalGridItemsCustomizeListBox() = default;

void TcxVerticalGridItemsCustomizeListBox::RefreshList()
{
    const int selected = ItemIndex();
    Items()->BeginUpdate();
    Items()->Clear();
    rowViewInfos_.clear();
    TcxVerticalGridRows* rows = grid_->Rows();
    for (int i = 0; i < rows->GetCount(); ++i) {
        TcxCustomRow* row = rows->GetRow(i);
        if (IsCategoryRow(row) != categories_ || row->Visible() || !row->Options()->ShowInCustomizationForm())
            continue;
        rowViewInfos_.emplace_back(row->CreateViewInfo());
        Items()->AddObject("", rowViewInfos_.back()->HeaderInfo());
    }
    Items()->EndUpdate();
    SetItemIndex(mouseDown_ && selected < ItemCount() ? selected : -1);
    Invalidate();
}

void TcxVerticalGridItemsCustomizeListBox::ForgetRow(TcxCustomRow* row)
{
    for (std::size_t i = 0; i < rowViewInfos_.size(); ++i)
        if (rowViewInfos_[i]->Row() == row) {
            const int item = Items()->IndexOfObject(rowViewInfos_[i]->HeaderInfo());
            if (item >= 0)
                Items()->Delete(item);
            // Freed while the row still exists: a row view info looks at its row when it goes.
            rowViewInfos_.erase(rowViewInfos_.begin() + std::ptrdiff_t(i));
            Invalidate();
            return;
        }
}

TcxCustomRowViewInfo* TcxVerticalGridItemsCustomizeListBox::RowViewInfoAt(int index) const
{
    TObject* header = index >= 0 && index < Items()->Count() ? Items()->GetObject(index) : nullptr;
    for (const auto& info : rowViewInfos_)
        if (header && info->HeaderInfo() == header)
            return info.get();
    return nullptr;
}

TcxCustomRow* TcxVerticalGridItemsCustomizeListBox::RowAt(int index) const
{
    TcxCustomRowViewInfo* info = RowViewInfoAt(index);
    return info ? info->Row() : nullptr;
}

void TcxVerticalGridItemsCustomizeListBox::CalcHeaderViewInfo(const TRect& rect, TcxCustomRowHeaderInfo* header)
{
    for (auto& info : rowViewInfos_)
        if (info->HeaderInfo() == header) {
            info->OwnerViewInfo = grid_->ViewInfo();
            info->RowRect = rect;
            header->HeaderRect = rect;
            header->Calc(rect, grid_->ViewInfo(), true, nullptr);
            return;
        }
}

void TcxVerticalGridItemsCustomizeListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state)
{
    TcxCanvas canvas(Canvas());
    TcxCustomRowViewInfo* info = RowViewInfoAt(index);
    if (!info || !grid_->ViewInfo()) {
        canvas.FillRect(rect, Color());
        return;
    }
    CalcHeaderViewInfo(rect, info->HeaderInfo());
    UniqueObject<TcxvgPainter> painter(grid_->GetPainterClass().Create(&canvas, grid_));
    painter->DrawRowHeader(info);
    painter->DrawLines(info->HeaderInfo()->LinesInfo, rect);
    if (state.Contains(odSelected))
        canvas.InvertRect(rect);
}

void TcxVerticalGridItemsCustomizeListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    mouseDown_ = button == mbLeft;
    const int index = ItemAtPos({x, y}, true);
    if (mouseDown_ && index >= 0) {
        mouseDownPos_ = {x, y};
        const TRect r = ItemRect(index);
        pressOffset_ = {x - r.Left, y - r.Top};
    }
    TcxCustomizeListBox::MouseDown(button, shift, x, y);
}

void TcxVerticalGridItemsCustomizeListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    mouseDown_ = false;
    TcxCustomizeListBox::MouseUp(button, shift, x, y);
}

void TcxVerticalGridItemsCustomizeListBox::Dispatch(TMessage& msg)
{
    if (msg.Msg == WM_CANCELMODE) {
        mouseDown_ = false;
        SetItemIndex(-1);
    }
    TcxCustomizeListBox::Dispatch(msg);
}

void TcxVerticalGridItemsCustomizeListBox::BeginDragAndDrop()
{
    TcxCustomRowViewInfo* info = RowViewInfoAt(DragItemIndex());
    if (!info)
        return;
    grid_->CancelEdit();
    TRect r = ItemRect(DragItemIndex());
    r = cxRectOffset(r, mouseDownPos_.X - pressOffset_.X - r.Left, mouseDownPos_.Y - pressOffset_.Y - r.Top);
    CalcHeaderViewInfo(r, info->HeaderInfo());
    mouseDown_ = false;
    TcxvgController* controller = grid_->GridController();
    controller->DragRow = info->Row();
    // The picture is the header as this list draws it, held where it was pressed.
    controller->DragImageRow = info;
    controller->DragImageOrigin = ClientToScreen(TPoint{0, 0});
    controller->DragFromCustomizationForm = true;
    grid_->DragStartPoint = grid_->ScreenToClient(ClientToScreen(mouseDownPos_));
    grid_->BeginDrag(true, -1);
}

void TcxVerticalGridItemsCustomizeListBox::DragOver(TObject* source, int x, int y, TDragState state, bool& accept)
{
    TcxCustomRow* row = source == grid_ ? grid_->GridController()->DragRow : nullptr;
    accept = row && row->Options()->CanMovedToCustomizationForm;
}

void TcxVerticalGridItemsCustomizeListBox::DragDrop(TObject* source, int, int)
{
    TcxCustomRow* row = source == grid_ ? grid_->GridController()->DragRow : nullptr;
    if (!row || grid_->Rows()->IndexOf(row) < 0 || !row->Options()->CanMovedToCustomizationForm)
        return;
    row->SetVisible(false);
    TcxVerticalGridCustomizing* customizing = grid_->Customizing();
    customizing->Update();
    if (IsCategoryRow(row))
        customizing->MakeCategorySheetVisible();
    else
        customizing->MakeRowSheetVisible();
}

// --- the form -----------------------------------------------------------------------------------
TcxVerticalGridCustomizationForm::TcxVerticalGridCustomizationForm(TcxVerticalGridCustomizing* customizing)
    : TForm(nullptr), customizing_(customizing)
{
}

TcxVerticalGridCustomizationForm::~TcxVerticalGridCustomizationForm() = default;

void TcxVerticalGridCustomizationForm::CreateParams(TCreateParams& params)
{
    TForm::CreateParams(params);
    params.Style |= WS_POPUP;
    params.ExStyle |= WS_EX_TOOLWINDOW;
    TcxCustomVerticalGrid* grid = customizing_->Grid();
    params.WndParent = grid->IsGridDestroying() || !grid->HandleAllocated() ? nullptr : grid->Handle();
}

void TcxVerticalGridCustomizationForm::DoShow()
{
    if (!timer_) {
        timer_ = new TTimer(nullptr);
        timer_->SetInterval(100);
        timer_->SetOnTimer([this](TObject*) { TimerTick(); });
    }
    TForm::DoShow();
}

void TcxVerticalGridCustomizationForm::FreeTimer()
{
    if (timer_) {
        timer_->Free();
        timer_ = nullptr;
    }
}

void TcxVerticalGridCustomizationForm::TimerTick()
{
    TcxCustomVerticalGrid* grid = customizing_->Grid();
    if (customizing_->IsApplicationMinimized && customizing_->IsApplicationMinimized()) {
        Hide();
    } else if (!grid->Visible() || !grid->Showing()) {
        customizing_->SetVisible(false);
    } else if (!Visible()) {
        // Back after a minimized application, without taking the focus from the grid's form.
        if (Peer())
            Peer()->setAttribute(Qt::WA_ShowWithoutActivating, true);
        SetVisible(true);
        if (Peer())
            Peer()->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

void TcxVerticalGridCustomizationForm::Resize()
{
    if (MinWidth > 0 && Width() < MinWidth) {
        SetBounds(Left(), Top(), MinWidth, Height());
        return;
    }
    TForm::Resize();
    if (TcxvgCustomizePageControl* pages = customizing_->PageControl(); pages && pages->Parent() == this)
        pages->SetBounds(0, 0, ClientWidth(), ClientHeight());
}

// --- the customizing object -------------------------------------------------------------------------
TcxVerticalGridCustomizing::TcxVerticalGridCustomizing(TcxCustomVerticalGrid* grid)
    : TcxOwnedInterfacedPersistent(grid), grid_(grid)
{
    AskCategoryCaption = [this](std::string& caption) {
        return cxShowNewCategoryForm(grid_->GetParentForm(), caption, grid_->LookAndFeel());
    };
    IsApplicationMinimized = [] {
        TCustomForm* main = Application ? Application->MainForm : nullptr;
        return main && main->Peer() && main->Peer()->isMinimized();
    };
}

TcxVerticalGridCustomizing::~TcxVerticalGridCustomizing()
{
    ReleaseControls();
}

void TcxVerticalGridCustomizing::Assign(TPersistent* source)
{
    if (auto* src = dynamic_cast<TcxVerticalGridCustomizing*>(source)) {
        SetRowCount(src->RowCount());
        SetVisible(src->Visible());
        return;
    }
    TcxOwnedInterfacedPersistent::Assign(source);
}

void TcxVerticalGridCustomizing::SetVisible(bool value)
{
    if (value == visible_ || (value && !grid_->HasRows()))
        return;
    visible_ = value;
    if (value)
        CreateControls();
    else
        ReleaseControls();
}

void TcxVerticalGridCustomizing::SetShowCategoryButtons(bool value)
{
    showCategoryButtons_ = value;
    if (buttonPanel_) {
        buttonPanel_->SetVisible(value);
        if (categoriesPage_)
            categoriesPage_->Resize();
    }
}

void TcxVerticalGridCustomizing::CreateControls()
{
    if (form_)
        return;
    savedDragMode_ = grid_->DragMode;
    grid_->DragMode = dmAutomatic;
    CreateCustomizingForm();
    rowList_ = new TcxVerticalGridItemsCustomizeListBox(nullptr, grid_, false);
    pageControl_ = new TcxvgCustomizePageControl(nullptr);
    pageControl_->HotTrack = true;
    rowsPage_ = new TcxvgCustomizePage(nullptr);
    rowsPage_->SetCaption(cxGetResourceString(&cxSvgCustomizeRowsCaption));
    if (CategoriesPageWanted) {
        categoryList_ = new TcxVerticalGridItemsCustomizeListBox(nullptr, grid_, true);
        categoryList_->OnClick = [this](TObject*) { UpdateButtons(); };
        categoriesPage_ = new TcxvgCustomizePage(nullptr);
        categoriesPage_->SetCaption(cxGetResourceString(&cxSvgCustomizeCategoriesCaption));
        buttonPanel_ = new TPanel(nullptr);
        buttonPanel_->BevelOuter = bvNone;
        buttonPanel_->SetBounds(0, 0, 100, 35);
        buttonPanel_->SetVisible(showCategoryButtons_);
        buttonPanel_->SetParent(categoriesPage_);
        newButton_ = new TcxButton(nullptr);
        newButton_->SetBounds(7, 7, 75, 25);
        newButton_->SetCaption(cxGetResourceString(&cxSvgCustomizeNewCategory));
        newButton_->LookAndFeel()->SetMasterLookAndFeel(grid_->LookAndFeel());
        newButton_->OnClick = [this](TObject*) { CreateCategoryRow(); };
        newButton_->SetParent(buttonPanel_);
        deleteButton_ = new TcxButton(nullptr);
        deleteButton_->SetBounds(90, 7, 75, 25);
        deleteButton_->SetCaption(cxGetResourceString(&cxSvgCustomizeDeleteCategory));
        deleteButton_->SetEnabled(false);
        deleteButton_->LookAndFeel()->SetMasterLookAndFeel(grid_->LookAndFeel());
        deleteButton_->OnClick = [this](TObject*) { DeleteCategory(); };
        deleteButton_->SetParent(buttonPanel_);
    }
    AdjustControls();
    ShowCustomizingForm();
}

void TcxVerticalGridCustomizing::CreateCustomizingForm()
{
    form_ = new TcxVerticalGridCustomizationForm(this);
    form_->SetVisible(false);
    form_->SetCaption(cxGetResourceString(&cxSvgCustomizeCaption));
    form_->BorderStyle = bsSizeToolWin;
    form_->Font()->Assign(grid_->Font());
    const int width = SizeDelta().X * cxTextWidth(form_->Font(), "0");
    lineHeight_ = cxTextHeight(form_->Font(), "Wg") + SizeDelta().Y;
    form_->SetBounds(form_->Left(), form_->Top(), width, (rowCount_ + 1) * lineHeight_);
    form_->MinWidth = width;
    form_->SetColor(clBtnFace);
    // A released form may still be closing: only the form in use reaches the object.
    form_->OnShow = [this](TObject* sender) {
        if (sender == form_)
            FormShow(sender);
    };
    form_->OnClose = [this](TObject* sender, TCloseAction& action) {
        if (sender == form_)
            FormClose(sender, action);
    };
}

void TcxVerticalGridCustomizing::AdjustControls()
{
    auto place = [](TControl* control, TWinControl* parent) {
        control->SetParent(parent);
        control->SetFont(parent->Font());
        control->SetColor(parent->Color());
    };
    place(pageControl_, form_);
    place(rowsPage_, pageControl_);
    pageControl_->AddPage(rowsPage_);
    place(rowList_, rowsPage_);
    rowList_->SetColor(clWindow);
    rowList_->SetItemHeight(lineHeight_);
    if (categoriesPage_) {
        place(categoriesPage_, pageControl_);
        pageControl_->AddPage(categoriesPage_);
        place(categoryList_, categoriesPage_);
        categoryList_->SetColor(clWindow);
        categoryList_->SetItemHeight(lineHeight_);
    }
    pageControl_->SetBounds(0, 0, form_->ClientWidth(), form_->ClientHeight());
    rowsPage_->Resize();
    if (categoriesPage_)
        categoriesPage_->Resize();
}

void TcxVerticalGridCustomizing::ShowCustomizingForm()
{
    if (lastPosition_.X == -10000 && lastPosition_.Y == -10000) {
        TPoint p = grid_->ClientToScreen(TPoint{grid_->Width(), 0});
        const TRect desktop = Screen->DesktopRect();
        p.X = std::max(std::min(p.X, desktop.Right - form_->Width()), desktop.Left);
        p.Y = std::max(std::min(p.Y, desktop.Bottom - form_->Height()), desktop.Top);
        form_->SetBounds(p.X, p.Y, form_->Width(), form_->Height());
    } else {
        form_->SetBounds(lastPosition_.X, lastPosition_.Y, form_->Width(), form_->Height());
    }
    RefreshLists();
    if (lastRowIndex_ >= 0 && lastRowIndex_ < rowList_->ItemCount())
        rowList_->SetItemIndex(lastRowIndex_);
    if (categoryList_ && lastCategoryIndex_ >= 0 && lastCategoryIndex_ < categoryList_->ItemCount())
        categoryList_->SetItemIndex(lastCategoryIndex_);
    UpdateButtons();
    form_->Show();
}

void TcxVerticalGridCustomizing::RememberPosition()
{
    if (form_)
        lastPosition_ = TPoint{form_->Left(), form_->Top()};
}

void TcxVerticalGridCustomizing::ReleaseControls()
{
    if (!form_)
        return;
    RememberPosition();
    form_->FreeTimer();
    FreeControlOf(deleteButton_);
    FreeControlOf(newButton_);
    FreeControlOf(buttonPanel_);
    FreeControlOf(rowList_);
    FreeControlOf(categoryList_);
    if (pageControl_) {
        pageControl_->RemovePage(rowsPage_);
        pageControl_->RemovePage(categoriesPage_);
    }
    FreeControlOf(rowsPage_);
    FreeControlOf(categoriesPage_);
    FreeControlOf(pageControl_);
    lastRowIndex_ = -1;
    lastCategoryIndex_ = -1;
    TcxVerticalGridCustomizationForm* form = std::exchange(form_, nullptr);
    if (grid_->IsGridDestroying()) {
        form->Free();
        return;
    }
    grid_->DragMode = savedDragMode_;
    form->Hide();
    form->Release();
    visible_ = false;
}

void TcxVerticalGridCustomizing::FormShow(TObject*) { grid_->DoCustomizationVisibleChanged(); }

void TcxVerticalGridCustomizing::FormClose(TObject*, TCloseAction&)
{
    RememberPosition();
    lastRowIndex_ = rowList_ && rowList_->Parent() ? rowList_->ItemIndex() : -1;
    lastCategoryIndex_ = categoryList_ && categoryList_->Parent() ? categoryList_->ItemIndex() : -1;
    SetVisible(false);
    grid_->DoCustomizationVisibleChanged();
}

void TcxVerticalGridCustomizing::RefreshLists()
{
    if (rowList_ && rowList_->Parent())
        rowList_->RefreshList();
    if (categoryList_ && categoryList_->Parent())
        categoryList_->RefreshList();
}

void TcxVerticalGridCustomizing::Update()
{
    RefreshLists();
    UpdateButtons();
}

void TcxVerticalGridCustomizing::UpdateButtons()
{
    if (deleteButton_)
        deleteButton_->SetEnabled(categoryList_ && categoryList_->ItemIndex() >= 0);
}

void TcxVerticalGridCustomizing::MakeRowSheetVisible()
{
    if (visible_ && rowList_ && rowList_->Parent())
        pageControl_->SetActivePage(rowsPage_);
}

void TcxVerticalGridCustomizing::MakeCategorySheetVisible()
{
    if (visible_ && categoryList_ && categoryList_->Parent())
        pageControl_->SetActivePage(categoriesPage_);
}

bool TcxVerticalGridCustomizing::CanDrop(const TPoint& screenPoint)
{
    if (!visible_)
        return false;
    TcxCustomRow* row = grid_->GridController()->DragRow;
    TcxVerticalGridItemsCustomizeListBox* list = IsCategoryRow(row) ? categoryList_ : rowList_;
    return list && list->Showing() && cxRectPtIn(list->GetClientRect(), list->ScreenToClient(screenPoint));
}

void TcxVerticalGridCustomizing::LookAndFeelChanged()
{
    for (TControl* c : std::initializer_list<TControl*>{rowList_, categoryList_, pageControl_})
        if (c)
            c->Invalidate();
}

void TcxVerticalGridCustomizing::CreateCategoryRow()
{
    std::string caption;
    if (!AskCategoryCaption || !AskCategoryCaption(caption))
        return;
    grid_->BeginUpdate();
    try {
        // Named as a category made at run time: <grid>RuntimeCreatedRow[n].
        auto* row = static_cast<TcxCategoryRow*>(grid_->CreateChild("", "TcxCategoryRow"));
        row->SetVisible(false);
        row->Properties()->SetCaption(caption);
    } catch (...) {
        Modified();
        grid_->EndUpdate();
        throw;
    }
    Modified();
    grid_->EndUpdate();
}

void TcxVerticalGridCustomizing::RowRemoved(TcxCustomRow* row)
{
    if (rowList_)
        rowList_->ForgetRow(row);
    if (categoryList_)
        categoryList_->ForgetRow(row);
    UpdateButtons();
}

void TcxVerticalGridCustomizing::DeleteCategory()
{
    if (!categoryList_ || categoryList_->ItemIndex() < 0)
        return;
    TcxCustomRow* row = categoryList_->RowAt(categoryList_->ItemIndex());
    categoryList_->Items()->Delete(categoryList_->ItemIndex());
    if (row)
        row->Free();
    Modified();
}

// --- the new-category dialog --------------------------------------------------------------------
TfmCreateCategory::TfmCreateCategory(TComponent* owner) : TForm(owner)
{
    if (auto* form = dynamic_cast<TCustomForm*>(owner))
        ownerWindow_ = form->Handle();
    BorderStyle = bsDialog;
    SetBounds(Left(), Top(), 279, 87);
    Font()->SetName("MS Sans Serif");
    Font()->SetHeight(-11);
    edCaption = new TcxTextEdit(this);
    edCaption->SetBounds(72, 10, 199, 21);
    edCaption->SetParent(this);
    edCaption->Properties()->OnChange = [this](TObject* sender) { edCaptionPropertiesChange(sender); };
    lbCaption = new TLabel(this);
    lbCaption->SetBounds(11, 13, 3, 13);
    lbCaption->FocusControl = edCaption;
    lbCaption->SetParent(this);
    auto* bevel = new TcxvgBevelLine(this);
    bevel->SetName("Bevel");
    bevel->SetBounds(11, 42, 260, 4);
    bevel->SetParent(this);
    btOK = new TcxButton(this);
    btOK->SetBounds(113, 55, 75, 24);
    btOK->Default = true;
    btOK->ModalResult = mrOk;
    btOK->SetParent(this);
    btCancel = new TcxButton(this);
    btCancel->SetBounds(196, 55, 75, 24);
    btCancel->Cancel = true;
    btCancel->ModalResult = mrCancel;
    btCancel->SetParent(this);
    FormCreate();
}

void TfmCreateCategory::CreateParams(TCreateParams& params)
{
    TForm::CreateParams(params);
    if (ownerWindow_)
        params.WndParent = ownerWindow_;
}

void TfmCreateCategory::FormCreate()
{
    SetCaption(cxGetResourceString(&cxSvgNewCategoryCaption));
    lbCaption->SetCaption(cxGetResourceString(&cxSvgNewCategoryLabelCaption));
    btOK->SetCaption(cxGetResourceString(&cxSvgOKCaption));
    btCancel->SetCaption(cxGetResourceString(&cxSvgCancelCaption));
}

void TfmCreateCategory::Prepare(TCustomForm* ownerForm, TcxLookAndFeel* lookAndFeel)
{
    if (ownerForm) {
        Font()->SetName(ownerForm->Font()->GetName());
        const int left = std::max(0, ownerForm->Left() + (ownerForm->Width() - Width()) / 2);
        const int top = std::max(0, ownerForm->Top() + (ownerForm->Height() - Height()) / 2);
        SetBounds(left, top, Width(), Height());
    }
    // A missing look and feel leaves the controls on their own.
    if (lookAndFeel) {
        btOK->LookAndFeel()->SetMasterLookAndFeel(lookAndFeel);
        btCancel->LookAndFeel()->SetMasterLookAndFeel(lookAndFeel);
        edCaption->Style()->SetLookAndFeel(lookAndFeel);
    }
}

void TfmCreateCategory::edCaptionPropertiesChange(TObject*)
{
    btOK->SetEnabled(!edCaption->Text().empty());
}

bool cxShowNewCategoryForm(TCustomForm* ownerForm, std::string& caption, TcxLookAndFeel* lookAndFeel)
{
    UniqueObject<TfmCreateCategory> dialog(new TfmCreateCategory(ownerForm));
    dialog->edCaption->SetText(caption);
    dialog->edCaptionPropertiesChange(nullptr);
    dialog->Prepare(ownerForm, lookAndFeel);
    if (dialog->ShowModal() != mrOk)
        return false;
    caption = dialog->edCaption->Text();
    return true;
}

} // namespace cx
