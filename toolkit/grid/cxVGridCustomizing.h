#pragma once
// cxVGridCustomizing: the grid's customization form. A floating tool window with a "Rows" page
// listing the hidden rows and a "Categories" page listing the hidden category rows; rows dragged
// onto a list are hidden, rows dragged out of it are shown, categories are made and deleted here.
// The list entries are drawn by the grid's own painter, exactly as row headers.
#include <functional>
#include <memory>
#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "toolkit/controls/cxControlsListBox.h"
#include "toolkit/grid/cxVGrid.h"

namespace cx {

class TcxButton;
class TcxTextEdit;
class TcxVerticalGridCustomizing;

// One page of the form's page control: a plain container under the tab strip.
class TcxvgCustomizePage : public TCustomPanel {
    RTL_CLASS(TcxvgCustomizePage, TCustomPanel)
    explicit TcxvgCustomizePage(TComponent* owner);
    // Lays the page's children out: a bottom panel keeps its height, the rest fills.
    void Resize() override;
};

// The tabs over the pages; a click on a tab activates its page.
class TcxvgCustomizePageControl : public TCustomControl {
    RTL_CLASS(TcxvgCustomizePageControl, TCustomControl)
    explicit TcxvgCustomizePageControl(TComponent* owner);
    void AddPage(TcxvgCustomizePage* page);
    void RemovePage(TcxvgCustomizePage* page);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TcxvgCustomizePage* Pages(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    TcxvgCustomizePage* ActivePage() const { return active_; }
    void SetActivePage(TcxvgCustomizePage* page);
    TRect TabRect(int index);
    int TabHeight();
    bool HotTrack = true;

protected:
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    std::vector<TcxvgCustomizePage*> pages_;
    TcxvgCustomizePage* active_ = nullptr;
};

// A list of hidden rows (category rows or all others); each item's object is the row's header
// info, laid out for the item's rectangle when drawn.
class TcxVerticalGridItemsCustomizeListBox : public TcxCustomizeListBox {
    RTL_CLASS(TcxVerticalGridItemsCustomizeListBox, TcxCustomizeListBox)
    TcxVerticalGridItemsCustomizeListBox(TComponent* owner, TcxCustomVerticalGrid* grid, bool categories);
    ~TcxVerticalGridItemsCustomizeListBox() override;
    TcxCustomVerticalGrid* Grid() const { return grid_; }
    bool IsCategories() const { return categories_; }
    void RefreshList();
    // Drops a row that leaves the grid (still alive) from the list and its layout objects.
    void ForgetRow(TcxCustomRow* row);
    // The row shown by an item (null for a bad index).
    TcxCustomRow* RowAt(int index) const;
    void CalcHeaderViewInfo(const TRect& rect, TcxCustomRowHeaderInfo* header);
    void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
    void DragDrop(TObject* source, int x, int y) override;

protected:
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void BeginDragAndDrop() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Dispatch(TMessage& msg) override;

private:
    TcxCustomRowViewInfo* RowViewInfoAt(int index) const;
    TcxCustomVerticalGrid* grid_;
    bool categories_;
    // One row view info per listed row: its header info is the item's object.
    std::vector<UniqueObject<TcxCustomRowViewInfo>> rowViewInfos_;
    TPoint mouseDownPos_{};
    TPoint pressOffset_{};
    bool mouseDown_ = false;
};

class TcxVerticalGridCustomizationForm : public TForm {
    RTL_CLASS(TcxVerticalGridCustomizationForm, TForm)
    explicit TcxVerticalGridCustomizationForm(TcxVerticalGridCustomizing* customizing);
    ~TcxVerticalGridCustomizationForm() override;
    TcxVerticalGridCustomizing* Customizing() const { return customizing_; }
    TTimer* Timer() const { return timer_; }
    void FreeTimer();
    // One watchdog tick: hides with the minimized application, closes with the hidden grid,
    // shows again (without the activation) when something else hid it.
    void TimerTick();
    int MinWidth = 0;

protected:
    void CreateParams(TCreateParams& params) override;
    void DoShow() override;
    void Resize() override;

private:
    TcxVerticalGridCustomizing* customizing_;
    TTimer* timer_ = nullptr;
};

class TcxVerticalGridCustomizing : public TcxOwnedInterfacedPersistent {
    RTL_CLASS(TcxVerticalGridCustomizing, TcxOwnedInterfacedPersistent)
    explicit TcxVerticalGridCustomizing(TcxCustomVerticalGrid* grid);
    ~TcxVerticalGridCustomizing() override;
    void Assign(TPersistent* source) override;

    TcxCustomVerticalGrid* Grid() const { return grid_; }
    bool Visible() const { return visible_; }
    // Opening a grid without rows is refused silently.
    void SetVisible(bool value);
    int RowCount() const { return rowCount_; }
    // Values below 2 count as 2; takes effect when the form is next built.
    void SetRowCount(int value) { rowCount_ = std::max(value, 2); }
    bool ShowCategoryButtons() const { return showCategoryButtons_; }
    void SetShowCategoryButtons(bool value);
    bool CategoriesPageWanted = true;
    int LineHeight() const { return lineHeight_; }

    virtual void AdjustControls();
    // Whether a screen point lies on the list that takes the dragged row.
    virtual bool CanDrop(const TPoint& screenPoint);
    virtual void CreateCategoryRow();
    virtual void CreateControls();
    virtual void FormClose(TObject* sender, TCloseAction& action);
    virtual void FormShow(TObject* sender);
    virtual void LookAndFeelChanged();
    virtual TPoint SizeDelta() { return TPoint{31, 4}; }
    virtual void Update();
    virtual void ComponentRemoved(TComponent*) {}
    virtual void Modified() { Update(); }
    void UpdateButtons();
    void MakeRowSheetVisible();
    void MakeCategorySheetVisible();
    void DeleteCategory();
    void RowRemoved(TcxCustomRow* row);

    // Asks for a new category's caption; by default the new-category dialog.
    std::function<bool(std::string& caption)> AskCategoryCaption;
    // Whether the application's main window is minimized; by default its window state.
    std::function<bool()> IsApplicationMinimized;

    TcxVerticalGridCustomizationForm* Form() const { return form_; }
    TcxvgCustomizePageControl* PageControl() const { return pageControl_; }
    TcxvgCustomizePage* RowsPage() const { return rowsPage_; }
    TcxvgCustomizePage* CategoriesPage() const { return categoriesPage_; }
    TcxVerticalGridItemsCustomizeListBox* RowList() const { return rowList_; }
    TcxVerticalGridItemsCustomizeListBox* CategoryList() const { return categoryList_; }
    TPanel* ButtonPanel() const { return buttonPanel_; }
    TcxButton* NewButton() const { return newButton_; }
    TcxButton* DeleteButton() const { return deleteButton_; }
    TPoint LastPosition() const { return lastPosition_; }

protected:
    void CreateCustomizingForm();
    void ShowCustomizingForm();
    void ReleaseControls();
    void RefreshLists();

private:
    friend class TcxVerticalGridCustomizationForm;
    void RememberPosition();
    TcxCustomVerticalGrid* grid_;
    bool visible_ = false;
    int rowCount_ = 10;
    bool showCategoryButtons_ = true;
    TPoint lastPosition_{-10000, -10000};
    int lastRowIndex_ = -1;
    int lastCategoryIndex_ = -1;
    int lineHeight_ = 0;
    TDragMode savedDragMode_ = dmManual;
    TcxVerticalGridCustomizationForm* form_ = nullptr;
    TcxvgCustomizePageControl* pageControl_ = nullptr;
    TcxvgCustomizePage* rowsPage_ = nullptr;
    TcxvgCustomizePage* categoriesPage_ = nullptr;
    TcxVerticalGridItemsCustomizeListBox* rowList_ = nullptr;
    TcxVerticalGridItemsCustomizeListBox* categoryList_ = nullptr;
    TPanel* buttonPanel_ = nullptr;
    TcxButton* newButton_ = nullptr;
    TcxButton* deleteButton_ = nullptr;
};

// The new-category dialog, built in code: 279 x 87, a caption edit and OK (only with text) and
// Cancel.
class TfmCreateCategory : public TForm {
    RTL_CLASS(TfmCreateCategory, TForm)
    explicit TfmCreateCategory(TComponent* owner);
    void FormCreate();
    void Prepare(TCustomForm* ownerForm, TcxLookAndFeel* lookAndFeel);
    void edCaptionPropertiesChange(TObject* sender);
    TLabel* lbCaption = nullptr;
    TcxButton* btOK = nullptr;
    TcxButton* btCancel = nullptr;
    TcxTextEdit* edCaption = nullptr;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    HWND ownerWindow_ = nullptr;
};

// Shows the dialog modally with the caption; on OK the caption becomes the edited text.
bool cxShowNewCategoryForm(TCustomForm* ownerForm, std::string& caption, TcxLookAndFeel* lookAndFeel);

} // namespace cx
