#include "console/DelayRowsView.h"

#include "console/ToolkitUnits.h"
#include "platform/vcl/ControlHost.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxSpinEdit.h"
#include "toolkit/grid/cxVGrid.h"

#include <algorithm>

using namespace cx;

namespace {

void MakeDelayRow(TcxEditorRow* row)
{
    TcxEditorRowProperties* properties = row->GetProperties();
    properties->SetEditPropertiesClassName("TcxSpinEditProperties");
    TcxCustomEditProperties* edit = properties->EditProperties();
    edit->SetMinValue(0);
    edit->AssignedValues()->SetMinValue(true);
    edit->SetMaxValue(TDelayRowsView::MaxValue);
    if (auto* spin = dynamic_cast<TcxSpinEditProperties*>(edit))
        spin->SetLargeIncrement(1);
    properties->DataBinding()->SetValueType("Integer");
    properties->SetValue(Variant(0));
}

} // namespace

TGridDelayRowsView::TGridDelayRowsView()
{
    InitializeToolkitUnits();
    host_ = new vcl::TControlHost;
    TCustomForm* form = host_->Form();
    grid_ = new TcxVerticalGrid(form);
    grid_->SetName("cxVerticalGridNow");
    grid_->OptionsView()->SetScrollBars(ssVertical);
    grid_->OptionsView()->SetRowHeaderWidth(RowHeaderWidth);
    // Tab and Shift+Tab move between the shown rows like Down and Up (posting what was typed);
    // past the last (or before the first) shown row they go on to the dialog's other controls,
    // so the keyboard can still leave the rows.
    grid_->OptionsBehavior()->SetGoToNextCellOnTab(true);
    grid_->OnKeyDown = [this](TObject*, std::uint16_t& key, TShiftState shift) {
        if (key != VK_TAB || shift.Contains(ssCtrl) || shift.Contains(ssAlt))
            return;
        TcxCustomRow* focused = grid_->GetFocusedRow();
        if (focused && (shift.Contains(ssShift) ? grid_->PrevVisibleRow(focused) : grid_->NextVisibleRow(focused)))
            return;
        key = 0;
        if (!PostEdit())
            return;
        if (TCustomForm* form = grid_->GetParentForm())
            form->Perform(CM_DIALOGKEY, VK_TAB, 0);
    };
    grid_->BeginUpdate();
    for (int i = 0; i < RowCount; ++i) {
        auto* row = new TcxEditorRow(form);
        row->SetName("cxVerticalGridNowEditorRow" + std::to_string(i + 1));
        row->SetParentComponent(grid_);
        MakeDelayRow(row);
        rows_[static_cast<std::size_t>(i)] = row;
    }
    grid_->EndUpdate();
    host_->SetControl(grid_);
}

// The host (and with it the grid) is usually owned by the dialog that laid it out by then; when
// it is not, it is ours.
TGridDelayRowsView::~TGridDelayRowsView()
{
    if (host_ && !host_->parent())
        delete host_.data();
}

QWidget* TGridDelayRowsView::Widget()
{
    return host_.data();
}

void TGridDelayRowsView::SetCaption(int row, const std::string& caption)
{
    Row(row)->GetProperties()->SetCaption(caption);
}

void TGridDelayRowsView::SetVisible(int row, bool visible)
{
    Row(row)->SetVisible(visible);
    if (visible || grid_->GetFocusedRow() != Row(row))
        return;
    // A hidden focused row would take the operator's keys unseen (and drop typed digits): the
    // focus moves to the nearest shown row, above first. An open edit is stored first, or
    // dropped when its text is refused (the refusal has been told).
    if (!PostEdit())
        grid_->CancelEdit();
    for (int step : {-1, 1})
        for (int i = row + step; i >= 0 && i < RowCount; i += step)
            if (Row(i)->Visible()) {
                grid_->SetFocusedRow(Row(i));
                return;
            }
}

int TGridDelayRowsView::GetValue(int row) const
{
    const Variant value = Row(row)->GetProperties()->GetValue();
    if (VarIsNull(value) || value.IsEmpty())
        return 0;
    try {
        return value.ToInteger();
    } catch (const rtl::Exception&) {
        // A text being typed that is no number yet: the stored value stands.
        return 0;
    }
}

void TGridDelayRowsView::SetValue(int row, int value)
{
    Row(row)->GetProperties()->SetValue(Variant(std::clamp(value, 0, MaxValue)));
}

bool TGridDelayRowsView::PostEdit()
{
    if (!grid_->GetIsEditing())
        return true;
    try {
        grid_->HideEdit();
    } catch (const rtl::EAbort&) {
        return false;
    } catch (const rtl::Exception& e) {
        // The editor refused the text (not a number): told as the grid tells it, the edit stays.
        Application->ShowException(e);
        return false;
    }
    return !grid_->GetIsEditing();
}

std::string TGridDelayRowsView::Caption(int row) const
{
    return Row(row)->GetProperties()->GetCaption();
}

bool TGridDelayRowsView::IsRowVisible(int row) const
{
    return Row(row)->Visible();
}
