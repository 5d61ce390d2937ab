// The row-view engine: sorting and grouping field lists, the group tree with expansion, focus and
// selection state, and the update pass that recomputes them.
#include <algorithm>

#include "toolkit/data/cxCustomData.h"

namespace cx {

void QuickSortList(int* list, int l, int r, int (*compare)(void* info, int a, int b), void* info)
{
    int i, j;
    do {
        i = l;
        j = r;
        int pivot = list[(l + r) >> 1];
        do {
            while (compare(info, list[i], pivot) < 0)
                ++i;
            while (compare(info, list[j], pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(list[i], list[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            QuickSortList(list, l, j, compare, info);
        l = i;
    } while (i < r);
}

// --- sorting field lists ---------------------------------------------------------------------------
void TcxSortingFieldList::Add(TcxCustomDataField* field, TcxDataSortOrder order)
{
    items_.push_back({field, order});
    Changed();
}

void TcxSortingFieldList::Insert(int index, TcxCustomDataField* field, TcxDataSortOrder order)
{
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, {field, order});
    Changed();
}

void TcxSortingFieldList::Delete(int index)
{
    items_.erase(items_.begin() + index);
    Changed();
}

void TcxSortingFieldList::Remove(TcxCustomDataField* field)
{
    int i = Find(field);
    if (i != -1)
        Delete(i);
}

void TcxSortingFieldList::Move(int from, int to)
{
    if (from == to)
        return;
    TcxDataSortInfo e = items_.at(from);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, e);
    Changed();
}

int TcxSortingFieldList::Find(TcxCustomDataField* field) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[i].Field == field)
            return i;
    return -1;
}

TcxDataSortOrder TcxSortingFieldList::SortOrderByField(TcxCustomDataField* field) const
{
    int i = Find(field);
    return i == -1 ? soNone : items_[i].SortOrder;
}

void TcxSortingFieldList::SetSortOrder(int index, TcxDataSortOrder order)
{
    if (items_.at(index).SortOrder == order)
        return;
    items_[index].SortOrder = order;
    Changed();
}

void TcxSortingFieldList::CheckField(TcxCustomDataField* field)
{
    if (Find(field) != -1)
        Changed();
}

void TcxSortingFieldList::Clear()
{
    while (Count() > 0)
        Delete(0);
}

void TcxSortingFieldList::AppendFrom(const TcxSortingFieldList* list)
{
    for (const TcxDataSortInfo& e : list->items_)
        if (Find(e.Field) == -1)
            Add(e.Field, e.SortOrder);
}

void TcxSortingFieldList::ChangeSorting(TcxCustomDataField* field, TcxDataSortOrder order)
{
    int i = Find(field);
    if (i != -1)
        order != soNone ? SetSortOrder(i, order) : Delete(i);
    else if (order != soNone)
        Add(field, order);
}

void TcxGroupingFieldList::ChangeGrouping(TcxCustomDataField* field, int index)
{
    int i = Find(field);
    if (index < 0) {
        if (i != -1)
            Delete(i);
    } else if (i == -1) {
        Insert(std::min(index, Count()), field, soAscending);
    } else {
        Move(i, std::min(index, Count() - 1));
    }
}

void TcxGroupingFieldList::ChangeSorting(TcxCustomDataField* field, TcxDataSortOrder order)
{
    // A grouped field is always sorted.
    TcxSortingFieldList::ChangeSorting(field, order == soNone ? soAscending : order);
}

void TcxGroupingFieldList::UpdateSorting(const TcxSortingFieldList* sortingList)
{
    for (int i = 0; i < Count(); ++i) {
        TcxDataSortOrder order = sortingList->SortOrderByField(items_[i].Field);
        SetSortOrder(i, order == soNone ? soAscending : order);
    }
}

// --- group tree ------------------------------------------------------------------------------------
void TcxDataGroups::Rebuild()
{
    int row = 0;
    int deepest = FieldCount() - 1;
    std::vector<bool> shown(FieldCount() + 1, false);   // the open group of each level is shown and expanded
    std::vector<int> rowOf(FieldCount() + 1, 0);
    for (TcxDataGroupInfo& g : items_) {
        bool visible = g.Level == 0 || shown[g.Level - 1];
        if (visible) {
            g.RowIndex = row++;
            if (g.Expanded && g.Level == deepest)
                row += g.LastRecordListIndex - g.FirstRecordListIndex + 1;
        } else {
            g.RowIndex = rowOf[g.Level - 1];
        }
        rowOf[g.Level] = g.RowIndex;
        shown[g.Level] = visible && g.Expanded;
    }
}

int TcxDataGroups::GetRowCount() const
{
    if (items_.empty())
        return 0;
    int top = GetTopVisibleItem(Count() - 1);
    const TcxDataGroupInfo& g = items_[top];
    if (g.Expanded && g.Level == FieldCount() - 1)
        return g.RowIndex + g.LastRecordListIndex - g.FirstRecordListIndex + 2;
    return g.RowIndex + 1;
}

int TcxDataGroups::GetTopVisibleItem(int index) const
{
    int answer = index;
    int row = items_[index].RowIndex;
    int minLevel = items_[index].Level;
    if (minLevel == 0)
        return answer;
    for (int k = index - 1; k >= 0 && items_[k].RowIndex == row; --k) {
        if (items_[k].Level < minLevel) {
            minLevel = items_[k].Level;
            if (!items_[k].Expanded)
                answer = k;
        }
        if (items_[k].Level == 0)
            break;
    }
    return answer;
}

int TcxDataGroups::Find(int rowIndex, int& holder) const
{
    holder = -1;
    auto it = std::lower_bound(items_.begin(), items_.end(), rowIndex,
                               [](const TcxDataGroupInfo& g, int row) { return g.RowIndex < row; });
    int lb = static_cast<int>(it - items_.begin());
    if (it != items_.end() && it->RowIndex == rowIndex)
        return GetTopVisibleItem(lb);
    if (lb > 0)
        holder = GetTopVisibleItem(lb - 1);
    return -1;
}

bool TcxDataGroups::GetRowInfo(int rowIndex, TcxRowInfo& info) const
{
    int holder;
    int g = Find(rowIndex, holder);
    if (g != -1) {
        info.Expanded = items_[g].Expanded;
        info.Level = items_[g].Level;
        info.RecordListIndex = GetFirstRecordListIndex(g);
        return true;
    }
    info.Expanded = false;
    info.Level = FieldCount();
    info.RecordListIndex = holder == -1 ? -1 : rowIndex - items_[holder].RowIndex - 1 + items_[holder].FirstRecordListIndex;
    return false;
}

int TcxDataGroups::GetFirstRecordListIndex(int group) const
{
    while (items_[group].Level < FieldCount() - 1)
        group = items_[group].FirstRecordListIndex;
    return items_[group].FirstRecordListIndex;
}

int TcxDataGroups::GetIndexByRowIndexLevel(int rowIndex, int level) const
{
    int holder;
    int g = Find(rowIndex, holder);
    if (g == -1)
        g = holder;
    if (g == -1 || level == -1)
        return g;
    int own = items_[g].Level;
    if (own == level)
        return g;
    if (own < level) {
        for (int k = g + 1; k < Count() && items_[k].Level > own; ++k)
            if (items_[k].Level == level)
                return k;
        return -1;
    }
    for (int k = g - 1; k >= 0; --k)
        if (items_[k].Level == level)
            return k;
    return -1;
}

int TcxDataGroups::GetChildCount(int group) const
{
    if (group == -1)
        return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const TcxDataGroupInfo& g) { return g.Level == 0; }));
    if (group < 0 || group >= Count())
        return 0;
    const TcxDataGroupInfo& g = items_[group];
    if (g.Level == FieldCount() - 1)
        return g.LastRecordListIndex - g.FirstRecordListIndex + 1;
    int n = 0;
    for (int k = g.FirstRecordListIndex; k <= g.LastRecordListIndex; ++k)
        if (items_[k].Level == g.Level + 1)
            ++n;
    return n;
}

int TcxDataGroups::GetChildIndex(int group, int n) const
{
    if (n < 0)
        return -1;
    int first = 0, last = Count() - 1, level = 0;
    if (group != -1) {
        if (group < 0 || group >= Count() || items_[group].Level == FieldCount() - 1)
            return -1;
        first = items_[group].FirstRecordListIndex;
        last = items_[group].LastRecordListIndex;
        level = items_[group].Level + 1;
    }
    for (int k = first; k <= last; ++k)
        if (items_[k].Level == level && n-- == 0)
            return k;
    return -1;
}

int TcxDataGroups::GetChildRecordListIndex(int group, int n) const
{
    if (group < 0 || group >= Count() || items_[group].Level != FieldCount() - 1)
        return -1;
    const TcxDataGroupInfo& g = items_[group];
    return n >= 0 && n <= g.LastRecordListIndex - g.FirstRecordListIndex ? g.FirstRecordListIndex + n : -1;
}

int TcxDataGroups::GetParentIndex(int group) const
{
    if (group < 0 || group >= Count() || items_[group].Level == 0)
        return -1;
    for (int k = group - 1; k >= 0; --k)
        if (items_[k].Level < items_[group].Level)
            return k;
    return -1;
}

int TcxDataGroups::FindByIndex(int listIndex, int level) const
{
    int remembered = -1;
    int deepest = FieldCount() - 1;
    for (int k = 0; k < Count(); ++k) {
        const TcxDataGroupInfo& g = items_[k];
        if (g.Level == level)
            remembered = k;
        if (g.Level == deepest && listIndex >= g.FirstRecordListIndex && listIndex <= g.LastRecordListIndex)
            return remembered;
    }
    return -1;
}

int TcxDataGroups::FindDeepest(int listIndex) const { return FindByIndex(listIndex, FieldCount() - 1); }

bool TcxDataGroups::ChangeExpanding(int rowIndex, bool expanded, bool recursive)
{
    int holder;
    int g = Find(rowIndex, holder);
    if (g == -1)
        return false;
    items_[g].Expanded = expanded;
    if (recursive)
        for (int k = g + 1; k < Count() && items_[k].Level > items_[g].Level; ++k)
            items_[k].Expanded = expanded;
    Rebuild();
    return true;
}

void TcxDataGroups::FullExpanding(bool expanded)
{
    for (TcxDataGroupInfo& g : items_)
        g.Expanded = expanded;
    Rebuild();
}

bool TcxDataGroups::MakeVisible(int group, bool expand)
{
    bool changed = false;
    if (expand && !items_[group].Expanded) {
        items_[group].Expanded = true;
        changed = true;
    }
    for (int p = GetParentIndex(group); p != -1; p = GetParentIndex(p))
        if (!items_[p].Expanded) {
            items_[p].Expanded = true;
            changed = true;
        }
    if (changed)
        Rebuild();
    return changed;
}

// --- the controller's group API ----------------------------------------------------------------------
TcxDataGroups* TcxDataControllerGroups::Tree() { return controller_->DataControllerInfo()->DataGroups(); }

void TcxDataControllerGroups::ChangeExpanding(int rowIndex, bool expanded, bool recursive)
{
    controller_->DataControllerInfo()->ChangeExpanding(rowIndex, expanded, recursive);
}

void TcxDataControllerGroups::ChangeGrouping(int itemIndex, int groupIndex)
{
    controller_->CheckItemRange(itemIndex);
    if (ItemGroupIndex(itemIndex) == groupIndex)
        return;
    controller_->BeforeSorting();
    controller_->GroupingChanged = true;
    controller_->DataControllerInfo()->ChangeGrouping(controller_->Fields(itemIndex), groupIndex);
}

void TcxDataControllerGroups::ClearGrouping()
{
    if (GroupingItemCount() > 0) {
        controller_->BeforeSorting();
        controller_->GroupingChanged = true;
    }
    controller_->DataControllerInfo()->ClearGrouping();
}

void TcxDataControllerGroups::FullCollapse() { controller_->DataControllerInfo()->FullCollapse(); }
void TcxDataControllerGroups::FullExpand() { controller_->DataControllerInfo()->FullExpand(); }

int TcxDataControllerGroups::GetDataGroupIndexByGroupValue(int parentGroup, const Variant& value)
{
    TcxCustomDataControllerInfo* info = controller_->DataControllerInfo();
    info->PrepareSorting();
    int result = -1;
    try {
        int n = Tree()->GetChildCount(parentGroup);
        for (int i = 0; i < n && result == -1; ++i) {
            int g = Tree()->GetChildIndex(parentGroup, i);
            if (g != -1 && VarEquals(GroupValue(g), value))
                result = g;
        }
    } catch (...) {
        info->UnprepareSorting();
        throw;
    }
    info->UnprepareSorting();
    return result;
}

bool TcxDataControllerGroups::HasAsParent(int rowIndex, int parentRowIndex)
{
    if (!controller_->DataControllerInfo()->IsGrouped())
        return false;
    int g = Tree()->GetIndexByRowIndexLevel(rowIndex, -1);
    int p = Tree()->GetIndexByRowIndexLevel(parentRowIndex, -1);
    if (g == -1 || p == -1)
        return false;
    if (g == p)
        return true;
    const TcxDataGroupInfo& pg = Tree()->Items(p);
    return pg.Level < Tree()->Items(g).Level && pg.Level < Tree()->FieldCount() - 1 &&
           g >= pg.FirstRecordListIndex && g <= pg.LastRecordListIndex;
}

void TcxDataControllerGroups::LoadRecordIndexes(std::vector<int>& list, int group)
{
    if (group < 0 || group >= Tree()->Count())
        return;
    const TcxDataGroupInfo& g = Tree()->Items(group);
    if (g.Level == Tree()->FieldCount() - 1) {
        for (int i = g.FirstRecordListIndex; i <= g.LastRecordListIndex; ++i)
            list.push_back(controller_->GetFilteredRecordIndex(i));
        return;
    }
    int n = Tree()->GetChildCount(group);
    for (int i = 0; i < n; ++i)
        LoadRecordIndexes(list, Tree()->GetChildIndex(group, i));
}

void TcxDataControllerGroups::LoadRecordIndexesByRowIndex(std::vector<int>& list, int rowIndex)
{
    LoadRecordIndexes(list, DataGroupIndexByRowIndex(rowIndex));
}

int TcxDataControllerGroups::GetGroupRecordIndex(int group)
{
    return controller_->GetFilteredRecordIndex(Tree()->GetFirstRecordListIndex(group));
}

int TcxDataControllerGroups::ChildCount(int group) { return Tree()->GetChildCount(group); }
int TcxDataControllerGroups::ChildDataGroupIndex(int group, int n) { return Tree()->GetChildIndex(group, n); }
int TcxDataControllerGroups::ChildRecordIndex(int group, int n)
{
    int i = Tree()->GetChildRecordListIndex(group, n);
    return i == -1 ? -1 : controller_->GetFilteredRecordIndex(i);
}
int TcxDataControllerGroups::DataGroupIndexByRowIndex(int rowIndex) { return Tree()->GetIndexByRowIndexLevel(rowIndex, -1); }
int TcxDataControllerGroups::GroupingItemCount() { return controller_->DataControllerInfo()->GroupingFieldList()->Count(); }
int TcxDataControllerGroups::GroupingItemIndex(int level)
{
    return controller_->DataControllerInfo()->GroupingFieldList()->Items(level).Field->Index();
}
std::string TcxDataControllerGroups::GroupDisplayText(int group)
{
    return controller_->GetDisplayText(GetGroupRecordIndex(group), Tree()->Fields(Tree()->Items(group).Level)->Index());
}
Variant TcxDataControllerGroups::GroupValue(int group)
{
    return controller_->GetComparedValue(GetGroupRecordIndex(group), Tree()->Fields(Tree()->Items(group).Level));
}
int TcxDataControllerGroups::ItemGroupIndex(int itemIndex)
{
    controller_->CheckItemRange(itemIndex);
    return controller_->DataControllerInfo()->GroupingFieldList()->GroupIndexByField(controller_->Fields(itemIndex));
}
int TcxDataControllerGroups::Level(int group) { return Tree()->Items(group).Level; }
int TcxDataControllerGroups::ParentDataGroupIndex(int group) { return Tree()->GetParentIndex(group); }

// --- focusing info and selection -------------------------------------------------------------------
void TcxDataFocusingInfo::Assign(const TcxDataFocusingInfo* source)
{
    Level = source->Level;
    PrevRecordIndex = source->PrevRecordIndex;
    RecordIndex = source->RecordIndex;
    RowIndex = source->RowIndex;
    Changed = false;
    PrevNewItemRowFocused = false;
}

bool TcxDataFocusingInfo::IsEqual(const TcxDataFocusingInfo* other) const
{
    bool equal = RecordIndex == other->RecordIndex && Level == other->Level;
    if (equal && info_->Changes().Contains(dcicSorting))
        equal = RowIndex == other->RowIndex;
    return equal;
}

void TcxDataFocusingInfo::ResetPos()
{
    Level = -1;
    RecordIndex = info_->DataController()->GetRecordIndex();
}

void TcxDataFocusingInfo::SavePos()
{
    if (RowIndex == -1) {
        Level = RecordIndex = -1;
    } else {
        TcxRowInfo ri = info_->GetRowInfo(RowIndex);
        Level = ri.Level;
        RecordIndex = ri.RecordIndex;
    }
    PrevRecordIndex = RecordIndex;
}

void TcxDataSelection::InternalAdd(int position, int rowIndex, int level, int recordIndex)
{
    TcxDataSelectionInfo e{level, recordIndex, rowIndex};
    if (position < 0 || position > Count())
        items_.push_back(e);
    else
        items_.insert(items_.begin() + position, e);
}

void TcxDataSelection::Add(int position, int rowIndex, int level, int recordIndex)
{
    InternalAdd(position, rowIndex, level, recordIndex);
    Changed();
}

void TcxDataSelection::InternalDelete(int index)
{
    if (items_.at(index).RowIndex == AnchorRowIndex)
        ClearAnchor();
    items_.erase(items_.begin() + index);
}

void TcxDataSelection::Delete(int index)
{
    InternalDelete(index);
    Changed();
}

void TcxDataSelection::Clear()
{
    InternalClear();
    Changed();
}

void TcxDataSelection::ClearAll()
{
    ClearAnchor();
    InternalClear();
    Changed();
}

bool TcxDataSelection::FindByRowIndex(int rowIndex, int& position) const
{
    auto it = std::lower_bound(items_.begin(), items_.end(), rowIndex,
                               [](const TcxDataSelectionInfo& e, int row) { return e.RowIndex < row; });
    position = static_cast<int>(it - items_.begin());
    return it != items_.end() && it->RowIndex == rowIndex;
}

bool TcxDataSelection::IsRowSelected(int rowIndex) const
{
    int p;
    return FindByRowIndex(rowIndex, p);
}

int TcxDataSelection::FindByRecordIndex(int record) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[i].Level != -1 && items_[i].RecordIndex == record)
            return i;
    return -1;
}

int TcxDataSelection::FindByGroupIndex(int group) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[i].Level == -1 && items_[i].RecordIndex == group)
            return i;
    return -1;
}

void TcxDataSelection::Sort()
{
    std::stable_sort(items_.begin(), items_.end(),
                     [](const TcxDataSelectionInfo& a, const TcxDataSelectionInfo& b) { return a.RowIndex < b.RowIndex; });
}

// --- the engine ------------------------------------------------------------------------------------
TcxCustomDataControllerInfo::TcxCustomDataControllerInfo(TcxCustomDataController* controller) : controller_(controller)
{
    groupingFieldList_ = new TcxGroupingFieldList();
    groupingFieldList_->OnChanged = Event<void()>(this, &TcxCustomDataControllerInfo::GroupingChanged);
    sortingFieldList_ = new TcxSortingFieldList();
    sortingFieldList_->OnChanged = Event<void()>(this, &TcxCustomDataControllerInfo::SortingChanged);
    totalSortingFieldList_ = new TcxSortingFieldList();
    groups_ = new TcxDataGroups();
    focusingInfo_ = new TcxDataFocusingInfo(this);
    prevFocusingInfo_ = new TcxDataFocusingInfo(this);
    selection_ = controller->GetDataSelectionClass().Create(controller);
    selection_->OnChanged = Event<void()>(this, &TcxCustomDataControllerInfo::SelectionChanged);
}

void TcxCustomDataControllerInfo::RecreateSelection()
{
    TcxDataSelectionClass selectionClass = controller_->GetDataSelectionClass();
    if (selectionClass.Meta() == &selection_->ClassType())
        return;
    TcxDataSelection* old = selection_;
    selection_ = selectionClass.Create(controller_);
    selection_->AnchorRowIndex = old->AnchorRowIndex;
    for (int i = 0; i < old->Count(); ++i) {
        const TcxDataSelectionInfo& e = old->Items(i);
        selection_->InternalAdd(-1, e.RowIndex, e.Level, e.RecordIndex);
    }
    selection_->OnChanged = Event<void()>(this, &TcxCustomDataControllerInfo::SelectionChanged);
    old->Free();
}

TcxCustomDataControllerInfo::~TcxCustomDataControllerInfo()
{
    selection_->Free();
    prevFocusingInfo_->Free();
    focusingInfo_->Free();
    groups_->Free();
    totalSortingFieldList_->Free();
    sortingFieldList_->Free();
    groupingFieldList_->Free();
}

void TcxCustomDataControllerInfo::EndUpdate()
{
    --lockCount_;
    CheckChanges();
}

void TcxCustomDataControllerInfo::CheckChanges()
{
    if (!changes_.Empty() && lockCount_ == 0 && !infoCalculation_)
        Update();
}

bool TcxCustomDataControllerInfo::IsAlwaysExpanded() const
{
    return controller_->Options().Contains(dcoGroupsAlwaysExpanded);
}

void TcxCustomDataControllerInfo::Refresh()
{
    changes_.Include(dcicLoad);
    changes_.Include(dcicSummary);
    if (sortingFieldList_->Count() > 0)
        changes_.Include(dcicSorting);
    if (groupingFieldList_->Count() > 0)
        changes_.Include(dcicGrouping);
    CheckChanges();
}

void TcxCustomDataControllerInfo::RefreshFocused()
{
    changes_.Include(dcicResetFocusedRow);
    focusingInfo_->ResetPos();
    CheckChanges();
}

void TcxCustomDataControllerInfo::RefreshSummary(bool redrawOnly)
{
    changes_.Include(redrawOnly ? dcicView : dcicSummary);
    CheckChanges();
}

void TcxCustomDataControllerInfo::RefreshView()
{
    changes_.Include(dcicView);
    if (!infoCalculation_)
        CheckChanges();
}

void TcxCustomDataControllerInfo::ExpandingChanged()
{
    changes_.Include(dcicExpanding);
    expanding_ = true;
}

void TcxCustomDataControllerInfo::FocusedRecordChanged(bool changed)
{
    changes_.Include(dcicFocusedRecord);
    if (changed)
        prevFocusingInfo_->Changed = true;
}

void TcxCustomDataControllerInfo::GroupingChanged() { changes_ = changes_ + TcxDataControllerInfoChanges{dcicGrouping, dcicSorting, dcicSummary}; }
void TcxCustomDataControllerInfo::SortingChanged() { changes_.Include(dcicSorting); }

void TcxCustomDataControllerInfo::SelectionChanged()
{
    changes_.Include(dcicSelection);
    TcxSummaryOptions o = controller_->Summary()->Options();
    if (o.Contains(soSelectedRecords) || o.Contains(soMultipleSelectedRecords))
        changes_.Include(dcicSummary);
}

void TcxCustomDataControllerInfo::ChangeSorting(TcxCustomDataField* field, TcxDataSortOrder order)
{
    sortingFieldList_->ChangeSorting(field, order);
    groupingFieldList_->UpdateSorting(sortingFieldList_);
    CheckChanges();
}

void TcxCustomDataControllerInfo::ChangeSortIndex(TcxCustomDataField* field, int index)
{
    int current = sortingFieldList_->Find(field);
    if (current == -1)
        return;
    index = std::clamp(index, 0, sortingFieldList_->Count() - 1);
    if (index != current) {
        sortingFieldList_->Move(current, index);
        controller_->BeforeSorting();
        controller_->SortingChanged = true;
    }
    CheckChanges();
}

void TcxCustomDataControllerInfo::ClearSorting(bool keepGroupedItems)
{
    int count = sortingFieldList_->Count();
    if (keepGroupedItems) {
        for (int i = sortingFieldList_->Count() - 1; i >= 0; --i)
            if (groupingFieldList_->Find(sortingFieldList_->Items(i).Field) == -1)
                sortingFieldList_->Delete(i);
    } else {
        sortingFieldList_->Clear();
        groupingFieldList_->UpdateSorting(sortingFieldList_);
    }
    if (count != sortingFieldList_->Count()) {
        controller_->BeforeSorting();
        controller_->SortingChanged = true;
    }
    CheckChanges();
}

void TcxCustomDataControllerInfo::ChangeGrouping(TcxCustomDataField* field, int index)
{
    groupingFieldList_->ChangeGrouping(field, index);
    groupingFieldList_->UpdateSorting(sortingFieldList_);
    CheckChanges();
}

void TcxCustomDataControllerInfo::ClearGrouping()
{
    groupingFieldList_->Clear();
    CheckChanges();
}

void TcxCustomDataControllerInfo::RemoveField(TcxCustomDataField* field)
{
    sortingFieldList_->Remove(field);
    if (groupingFieldList_->Find(field) != -1) {
        selection_->ClearAll();
        groupingFieldList_->Remove(field);
    }
    groupingFieldList_->UpdateSorting(sortingFieldList_);
    auto it = std::find(savedFields_.begin(), savedFields_.end(), field);
    if (it != savedFields_.end()) {
        savedFields_.clear();
        savedItems_.clear();
    }
    // The tree keeps field pointers; it is rebuilt by the next pass.
    groups_->Clear();
    Refresh();
}

void TcxCustomDataControllerInfo::UpdateField(TcxCustomDataField* field)
{
    changes_.Include(dcicView);
    sortingFieldList_->CheckField(field);
    groupingFieldList_->CheckField(field);
    if (groupingFieldList_->Find(field) != -1)
        selection_->ClearAll();
    CheckChanges();
}

// --- rows ------------------------------------------------------------------------------------------
int TcxCustomDataControllerInfo::GetRowCount() const
{
    return IsGrouped() ? groups_->GetRowCount() : GetInternalRecordCount();
}

void TcxCustomDataControllerInfo::CheckRowIndex(int rowIndex) const
{
    if (rowIndex < 0 || rowIndex >= GetRowCount())
        InvalidOperation(&cxSDataRowIndexError);
}

TcxRowInfo TcxCustomDataControllerInfo::GetRowInfo(int rowIndex)
{
    CheckRowIndex(rowIndex);
    TcxRowInfo info;
    if (IsGrouped())
        groups_->GetRowInfo(rowIndex, info);
    else
        info.RecordListIndex = rowIndex;
    info.RecordIndex = info.RecordListIndex >= 0 && info.RecordListIndex < GetInternalRecordCount()
                           ? recordList_[info.RecordListIndex]
                           : -1;
    return info;
}

int TcxCustomDataControllerInfo::GetInternalRecordListIndex(int recordIndex) const
{
    auto it = std::find(recordList_.begin(), recordList_.end(), recordIndex);
    return it == recordList_.end() ? -1 : static_cast<int>(it - recordList_.begin());
}

int TcxCustomDataControllerInfo::GetRowIndexByRecordIndex(int recordIndex, bool makeVisible)
{
    int pos = GetInternalRecordListIndex(recordIndex);
    if (pos == -1 || !IsGrouped())
        return pos;
    int g = FindDataGroup(pos);
    if (g == -1)
        return -1;
    int row = LocateDetail(g, pos, makeVisible);
    if (makeVisible && expanding_)
        CheckChanges();
    return row;
}

int TcxCustomDataControllerInfo::GetNearestRowIndex(int rowIndex)
{
    CheckRowIndex(rowIndex);
    int count = GetRowCount();
    if (!IsGrouped())
        return rowIndex + 1 < count ? rowIndex + 1 : rowIndex - 1;
    int level = GetRowInfo(rowIndex).Level;
    if (rowIndex + 1 < count && GetRowInfo(rowIndex + 1).Level == level)
        return rowIndex + 1;
    if (rowIndex - 1 >= 0 && GetRowInfo(rowIndex - 1).Level == level)
        return rowIndex - 1;
    if (rowIndex + 1 >= count)
        return rowIndex - 1 < 0 ? rowIndex : rowIndex - 1;
    return rowIndex + 1;
}

// --- expansion -------------------------------------------------------------------------------------
int TcxCustomDataControllerInfo::LocateDetail(int group, int listIndex, bool makeVisible)
{
    if (!makeVisible) {
        if (!groups_->IsVisible(group) || !groups_->Items(group).Expanded)
            return -1;
    } else if (groups_->MakeVisible(group, true)) {
        ExpandingChanged();
    }
    const TcxDataGroupInfo& g = groups_->Items(group);
    return g.RowIndex + listIndex - g.FirstRecordListIndex + 1;
}

int TcxCustomDataControllerInfo::LocateGroupByLevel(int group, int level)
{
    while (groups_->Items(group).Level != level) {
        int parent = groups_->GetParentIndex(group);
        if (parent == -1 || groups_->Items(parent).FirstRecordListIndex != group)
            break;
        group = parent;
    }
    if (groups_->MakeVisible(group, false))
        ExpandingChanged();
    return groups_->Items(group).RowIndex;
}

void TcxCustomDataControllerInfo::ChangeExpanding(int rowIndex, bool expanded, bool recursive)
{
    CheckRowIndex(rowIndex);
    if (!IsGrouped() || IsAlwaysExpanded())
        return;
    int focused = GetFocusedRowIndex();
    if (!expanded && focused != -1 && controller_->Groups()->HasAsParent(focused, rowIndex))
        controller_->CheckBrowseMode();
    if (!groups_->ChangeExpanding(rowIndex, expanded, recursive))
        return;
    ExpandingChanged();
    BeginUpdate();
    try {
        if (!expanded)
            CheckAfterCollapsing();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomDataControllerInfo::FullCollapse()
{
    if (!IsGrouped() || IsAlwaysExpanded())
        return;
    groups_->FullExpanding(false);
    ExpandingChanged();
    BeginUpdate();
    try {
        CheckAfterCollapsing();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TcxCustomDataControllerInfo::FullExpand()
{
    if (!IsGrouped() || IsAlwaysExpanded())
        return;
    groups_->FullExpanding(true);
    ExpandingChanged();
    CheckChanges();
}

// --- focus -----------------------------------------------------------------------------------------
int TcxCustomDataControllerInfo::GetFocusedRecordIndex()
{
    int row = GetFocusedRowIndex();
    if (row < 0 || row >= GetRowCount())
        return -1;
    return GetRowInfo(row).RecordIndex;
}

void TcxCustomDataControllerInfo::SetFocusedRowIndex(int rowIndex)
{
    controller_->BeginFullUpdate();
    try {
        DoChangeFocusedRow(rowIndex, false);
    } catch (...) {
        controller_->EndFullUpdate();
        throw;
    }
    controller_->EndFullUpdate();
}

void TcxCustomDataControllerInfo::CorrectFocusedRow(int rowIndex)
{
    focusingInfo_->Clear();
    DoChangeFocusedRow(rowIndex, false);
}

void TcxCustomDataControllerInfo::DoChangeFocusedRow(int rowIndex, bool forced)
{
    rowIndex = std::clamp(rowIndex, -1, GetRowCount() - 1);
    if (rowIndex == focusingInfo_->RowIndex)
        return;
    focusing_ = true;
    if (!changes_.Contains(dcicFocusedRow))
        prevFocusingInfo_->Assign(focusingInfo_);
    auto finish = [&] {
        focusingInfo_->SavePos();
        if (!focusingInfo_->IsEqual(prevFocusingInfo_)) {
            changes_.Include(dcicFocusedRow);
            changes_.Include(dcicFocusedRecord);
            if (controller_->IsFocusedSelectedMode() && controller_->Summary()->Options().Contains(soSelectedRecords))
                changes_.Include(dcicSummary);
            controller_->ResetNewItemRowFocused();
            controller_->SyncSelected(true);
        }
        focusing_ = false;
    };
    try {
        bool allowed = forced;
        if (!forced) {
            int record = rowIndex == -1 ? -1 : GetRowInfo(rowIndex).RecordIndex;
            inCanFocus_ = true;
            try {
                allowed = controller_->CanFocusRecord(record);
            } catch (...) {
                inCanFocus_ = false;
                throw;
            }
            inCanFocus_ = false;
            // Posting may have changed the rows; keep the asked row within them.
            rowIndex = std::clamp(rowIndex, -1, GetRowCount() - 1);
        }
        if (allowed) {
            controller_->DoBeforeFocusedRowChange(rowIndex);
            focusingInfo_->RowIndex = rowIndex;
        }
    } catch (...) {
        focusingInfo_->RowIndex = std::clamp(focusingInfo_->RowIndex, -1, GetRowCount() - 1);
        finish();
        throw;
    }
    finish();
}

int TcxCustomDataControllerInfo::FindFocusedRow(bool afterCollapse)
{
    int record = focusingInfo_->RecordIndex;
    if (record < 0)
        return -1;
    int pos = GetInternalRecordListIndex(record);
    if (pos == -1)
        return -1;
    if (!IsGrouped())
        return pos;
    int g = FindDataGroup(pos);
    if (g == -1)
        return -1;
    int level = focusingInfo_->Level;
    int fieldCount = groups_->FieldCount();
    bool firstRecord = groups_->Items(g).FirstRecordListIndex == pos;
    if (!afterCollapse) {
        if (firstRecord && level != fieldCount)
            return LocateGroupByLevel(g, level);
        return LocateDetail(g, pos, true);
    }
    if (level == fieldCount) {
        if (groups_->IsVisible(g) && groups_->Items(g).Expanded)
            return LocateDetail(g, pos, false);
        --level;
    }
    if (level < 0)
        return groups_->Items(groups_->GetTopVisibleItem(g)).RowIndex;
    for (int k = g; k >= 0; --k)
        if (groups_->Items(k).Level == level)
            return groups_->Items(groups_->GetTopVisibleItem(k)).RowIndex;
    return -1;
}

void TcxCustomDataControllerInfo::CheckFocusing()
{
    int r = FindFocusedRow(false);
    int focused = focusingInfo_->RowIndex;
    if (r != focused) {
        bool outOfRange = focused < 0 || focused >= GetRowCount();
        if (outOfRange || GetRowInfo(focused).RecordIndex != focusingInfo_->RecordIndex)
            DoChangeFocusedRow(r, true);
    }
    if (changes_.Contains(dcicFocusedRow) && prevFocusingInfo_->RowIndex >= GetRowCount())
        prevFocusingInfo_->RowIndex = -1;
    if (controller_->FilterChangedFlag) {
        if (focusingInfo_->RowIndex != -1 || controller_->NewItemRowFocused())
            return;
        controller_->FilterChangedFlag = false;
        if (controller_->Provider()->LocateCount() == 0)
            CorrectFocusedRow(0);
    }
}

void TcxCustomDataControllerInfo::CheckAfterCollapsing()
{
    int r = FindFocusedRow(true);
    if (r != focusingInfo_->RowIndex)
        DoChangeFocusedRow(r, false);
}

void TcxCustomDataControllerInfo::ResetFocusing()
{
    if (controller_->InNotifyControl() || !controller_->Options().Contains(dcoFocusTopRowAfterSorting))
        return;
    if (!controller_->GroupingChanged && !controller_->SortingChanged && !controller_->LoadedStorage)
        return;
    controller_->LoadedStorage = false;
    focusingInfo_->Clear();
    DoChangeFocusedRow(0, false);
    if (selection_->Count() > 0)
        selection_->ClearAll();
}

// --- selection -------------------------------------------------------------------------------------
bool TcxCustomDataControllerInfo::IsRowSelected(int rowIndex) const
{
    return rowIndex >= 0 && rowIndex < GetRowCount() && selection_->IsRowSelected(rowIndex);
}

void TcxCustomDataControllerInfo::ChangeRowSelection(int rowIndex, bool select)
{
    CheckRowIndex(rowIndex);
    int position;
    if (selection_->FindByRowIndex(rowIndex, position)) {
        if (!select)
            selection_->Delete(position);
    } else if (select && controller_->CanSelectRow(rowIndex)) {
        TcxRowInfo ri = GetRowInfo(rowIndex);
        if (IsGrouped() && ri.Level < groups_->FieldCount())
            selection_->Add(position, rowIndex, -1, groups_->GetIndexByRowIndexLevel(rowIndex, -1));
        else
            selection_->Add(position, rowIndex, ri.Level, ri.RecordIndex);
    }
    CheckChanges();
}

void TcxCustomDataControllerInfo::ClearSelection()
{
    selection_->Clear();
    CheckChanges();
}

void TcxCustomDataControllerInfo::TruncateSelection()
{
    if (selection_->Count() == 0)
        return;
    if (controller_->GetRecordCount() == 0) {
        selection_->ClearAll();
        return;
    }
    if (controller_->InDeleteSelection)
        return;
    bool changed = false;
    for (int i = selection_->Count() - 1; i >= 0; --i)
        if (selection_->Items(i).RecordIndex >= controller_->GetRecordCount()) {
            selection_->InternalDelete(i);
            changed = true;
        }
    if (changed)
        selection_->Changed();
}

void TcxCustomDataControllerInfo::RecalcSelection()
{
    for (int i = selection_->Count() - 1; i >= 0; --i) {
        TcxDataSelectionInfo& e = selection_->Items(i);
        if (e.Level == -1)
            e.RowIndex = e.RecordIndex < groups_->Count() && groups_->IsVisible(e.RecordIndex)
                             ? groups_->Items(e.RecordIndex).RowIndex
                             : -1;
        else
            e.RowIndex = GetRowIndexByRecordIndex(e.RecordIndex, false);
        // An entry whose row went out of sight leaves the selection.
        if (e.RowIndex == -1)
            selection_->InternalDelete(i);
    }
    selection_->Sort();
}

// --- the update pass -------------------------------------------------------------------------------
void TcxCustomDataControllerInfo::DoLoad()
{
    int n = controller_->GetRecordCount();
    recordList_.resize(n);
    for (int i = 0; i < n; ++i)
        recordList_[i] = i;
}

void TcxCustomDataControllerInfo::DoFilter()
{
    bool incremental = controller_->IsIncrementalFilter();
    bool criteria = controller_->Filter()->IsFiltering();
    bool custom = !controller_->IsGridMode() && controller_->IsFilterRecord();
    if (!incremental && !criteria && !custom)
        return;
    int editing = controller_->Provider()->EditingRecordIndex();
    size_t before = recordList_.size();
    std::vector<int> kept;
    kept.reserve(before);
    for (int r : recordList_) {
        bool accept = r == editing ||
                      ((!custom || controller_->DoFilterRecord(r)) && (!incremental || controller_->DoIncrementalFilterRecord(r)) &&
                       (!criteria || controller_->Filter()->DoFilterRecord(r)));
        if (accept)
            kept.push_back(r);
    }
    recordList_.swap(kept);
    if (recordList_.size() == before)
        return;
    std::vector<bool> present(controller_->GetRecordCount(), false);
    for (int r : recordList_)
        present[r] = true;
    bool changed = false;
    for (int i = selection_->Count() - 1; i >= 0; --i) {
        const TcxDataSelectionInfo& e = selection_->Items(i);
        if (e.Level != -1 && (e.RecordIndex < 0 || e.RecordIndex >= static_cast<int>(present.size()) || !present[e.RecordIndex])) {
            selection_->InternalDelete(i);
            changed = true;
        }
    }
    if (changed)
        selection_->Changed();
    if (controller_->CheckFocusingAfterFilter) {
        controller_->CheckFocusingAfterFilter = false;
        controller_->FilterChangedFlag = true;
    }
}

void TcxCustomDataControllerInfo::PrepareSorting()
{
    for (int i = 0; i < totalSortingFieldList_->Count(); ++i) {
        TcxCustomDataField* f = totalSortingFieldList_->Items(i).Field;
        f->CompareMode = 0;
        int mode = -1;
        if (controller_->IsConversionNeededForCompare(f))
            mode = controller_->IsSortByDisplayTextNeeded(f) ? 2 : 1;
        f->CompareMode = mode;
    }
}

// A pass over every record reads each record's handle many times: read them all once.
void TcxCustomDataControllerInfo::PrepareHandles()
{
    if (controller_->IsProviderMode() && recordList_.size() > 1)
        controller_->Provider()->BeginHandleCache();
}

void TcxCustomDataControllerInfo::UnprepareSorting()
{
    for (int i = 0; i < totalSortingFieldList_->Count(); ++i)
        totalSortingFieldList_->Items(i).Field->CompareMode = 0;
}

namespace {
int CompareRecordsProc(void* info, int a, int b)
{
    return static_cast<TcxCustomDataControllerInfo*>(info)->CompareRecords(a, b);
}
} // namespace

int TcxCustomDataControllerInfo::CompareRecords(int a, int b)
{
    if (a == b)
        return 0;
    TcxCustomDataProvider* p = controller_->Provider();
    int editing = p->EditingRecordIndex();
    if (p->IsEditing() && (a == editing || b == editing)) {
        // The edited record keeps its place while its values change.
        int before = p->EditingRecordIndexBefore(), after = p->EditingRecordIndexAfter();
        bool isA = a == editing;
        int other = isA ? b : a;
        if (before != cxNoEditingRecord)
            return isA ? 1 : -1;
        if (after != cxNoEditingRecord) {
            if (other == after)
                return isA ? -1 : 1;
            if (isA)
                a = after;
            else
                b = after;
        }
    }
    for (int i = 0; i < totalSortingFieldList_->Count(); ++i) {
        int c = controller_->CompareRecords(a, b, totalSortingFieldList_->Items(i), dccmSorting);
        if (c != 0)
            return c;
    }
    return controller_->CompareEqualRecords(a, b);
}

int TcxCustomDataControllerInfo::CompareGroupRecords(int a, int b, int level)
{
    if (a == b)
        return 0;
    TcxCustomDataProvider* p = controller_->Provider();
    int editing = p->EditingRecordIndex();
    if (p->IsEditing() && (a == editing || b == editing)) {
        if (p->SavedRecordIndex() != 0) {
            if (a == editing)
                a = p->SavedRecordIndex();
            else
                b = p->SavedRecordIndex();
        } else if (p->EditingRecordIndexBefore() != cxNoEditingRecord) {
            return 0;
        } else if (p->EditingRecordIndexAfter() != cxNoEditingRecord) {
            int after = p->EditingRecordIndexAfter();
            if (a == editing)
                a = after;
            else
                b = after;
            if (a == b)
                return 0;
        }
    }
    return controller_->CompareRecords(a, b, totalSortingFieldList_->Items(level), dccmGrouping);
}

void TcxCustomDataControllerInfo::DoSort()
{
    totalSortingFieldList_->Clear();
    totalSortingFieldList_->AppendFrom(groupingFieldList_);
    totalSortingFieldList_->AppendFrom(sortingFieldList_);
    if (controller_->IsGridMode() || recordList_.empty())
        return;
    PrepareSorting();
    PrepareHandles();
    try {
        QuickSortList(recordList_.data(), 0, static_cast<int>(recordList_.size()) - 1, &CompareRecordsProc, this);
    } catch (...) {
        controller_->Provider()->EndHandleCache();
        UnprepareSorting();
        throw;
    }
    controller_->Provider()->EndHandleCache();
    UnprepareSorting();
}

void TcxCustomDataControllerInfo::DoGrouping()
{
    groups_->Clear();
    int fieldCount = groupingFieldList_->Count();
    int n = static_cast<int>(recordList_.size());
    if (n == 0 || fieldCount == 0)
        return;
    for (int i = 0; i < fieldCount; ++i)
        groups_->AddField(groupingFieldList_->Items(i).Field);
    int deepest = fieldCount - 1;
    std::vector<int> open(fieldCount), current(fieldCount, recordList_[0]);
    for (int i = 0; i < fieldCount; ++i) {
        TcxDataGroupInfo& g = groups_->AddEmpty();
        g.Level = i;
        g.FirstRecordListIndex = i == deepest ? 0 : i + 1;
        open[i] = i;
    }
    int top = 0;
    PrepareSorting();
    PrepareHandles();
    try {
        for (int p = 1; p < n; ++p) {
            int r = recordList_[p];
            int level = 0;
            while (level < fieldCount && CompareGroupRecords(r, current[level], level) == 0)
                ++level;
            if (level == fieldCount)
                continue;
            if (level == 0)
                ++top;
            for (int j = level; j < fieldCount; ++j) {
                int index = groups_->Count();
                if (j == deepest)
                    groups_->Items(open[j]).LastRecordListIndex = p - 1;
                else
                    groups_->Items(open[j]).LastRecordListIndex = index - 1;
                TcxDataGroupInfo& g = groups_->AddEmpty();
                g.RowIndex = top;
                g.Level = j;
                g.FirstRecordListIndex = j == deepest ? p : index + 1;
                open[j] = index;
                current[j] = r;
            }
        }
    } catch (...) {
        controller_->Provider()->EndHandleCache();
        UnprepareSorting();
        throw;
    }
    controller_->Provider()->EndHandleCache();
    UnprepareSorting();
    // Close the groups still open; an inner group ends at its last descendant.
    groups_->Items(open[deepest]).LastRecordListIndex = n - 1;
    for (int j = 0; j < deepest; ++j)
        groups_->Items(open[j]).LastRecordListIndex = groups_->Count() - 1;
}

void TcxCustomDataControllerInfo::SaveInfo()
{
    bool saveExpanded = controller_->Options().Contains(dcoSaveExpanding) &&
                        (changes_.Contains(dcicLoad) || changes_.Contains(dcicGrouping));
    bool saveSelected = selection_->Count() > 0 &&
                        (changes_.Contains(dcicLoad) || changes_.Contains(dcicGrouping) ||
                         changes_.Contains(dcicSorting) || changes_.Contains(dcicExpanding));
    savedFields_.clear();
    savedItems_.clear();
    saveExpanded_ = saveExpanded;
    saveSelected_ = saveSelected;
    if (!saveExpanded && !saveSelected)
        return;
    bool sameFields = groups_->FieldCount() == groupingFieldList_->Count();
    for (int i = 0; sameFields && i < groups_->FieldCount(); ++i)
        sameFields = groups_->Fields(i) == groupingFieldList_->Items(i).Field;
    if (!sameFields || controller_->GetRecordCount() == 0) {
        savedFields_.push_back(nullptr);   // marks "the grouping changed": nothing to restore
        return;
    }
    for (int i = 0; i < groups_->FieldCount(); ++i)
        savedFields_.push_back(groups_->Fields(i));
    int limit = 0;
    for (int k = 0; k < groups_->Count(); ++k) {
        const TcxDataGroupInfo& g = groups_->Items(k);
        if (g.Level > limit)
            continue;
        bool asExpanded = g.Expanded;
        if (asExpanded)
            limit = g.Level + 1;
        else if (saveSelected)
            limit = g.Level;
        else
            continue;
        int record = recordList_[groups_->GetFirstRecordListIndex(k)];
        if (record >= controller_->GetRecordCount())
            continue;
        // Expanded groups are saved as such even when only the selection is restored: their
        // values lead the restore down to the selected groups inside them.
        bool expanded = asExpanded && (selection_->Count() > 0 || !IsAlwaysExpanded());
        bool selected = saveSelected && selection_->FindByGroupIndex(k) != -1;
        if (expanded || selected)
            savedItems_.push_back({g.Level, controller_->GetComparedValue(record, groups_->Fields(g.Level)), expanded, selected});
    }
}

void TcxCustomDataControllerInfo::CheckExpanding()
{
    if (IsGrouped() && IsAlwaysExpanded())
        groups_->FullExpanding(true);
    if (!saveExpanded_ && !saveSelected_)
        return;
    bool sameFields = static_cast<int>(savedFields_.size()) == groups_->FieldCount();
    for (int i = 0; sameFields && i < groups_->FieldCount(); ++i)
        sameFields = savedFields_[i] == groups_->Fields(i);
    if (!sameFields) {
        if (saveSelected_)
            selection_->ClearAll();
        return;
    }
    int fieldCount = groups_->FieldCount();
    for (int i = selection_->Count() - 1; i >= 0; --i)
        if (selection_->Items(i).Level == -1 || selection_->Items(i).Level != (IsGrouped() ? fieldCount : 0))
            selection_->InternalDelete(i);
    if (IsGrouped()) {
        RestoreExpanding();
        if (!IsAlwaysExpanded() && saveExpanded_)
            groups_->Rebuild();
    }
    RecalcSelection();
    if (selection_->AnchorRowIndex != -1 && !selection_->IsRowSelected(selection_->AnchorRowIndex))
        selection_->ClearAnchor();
}

// Finds each saved group by its values (its own and its ancestors', carried by a group locate
// object) and expands or selects it.
void TcxCustomDataControllerInfo::RestoreExpanding()
{
    // The groups of each level in list order with their first record positions: the group of a
    // level that holds a record is the last one starting at or before it.
    const int fieldCount = groups_->FieldCount();
    std::vector<std::vector<int>> levelGroups(fieldCount), levelStarts(fieldCount);
    for (int k = 0; k < groups_->Count(); ++k) {
        int level = groups_->Items(k).Level;
        levelGroups[level].push_back(k);
        levelStarts[level].push_back(groups_->GetFirstRecordListIndex(k));
    }
    std::vector<int> listIndexOf(controller_->GetRecordCount(), -1);
    for (int p = 0; p < static_cast<int>(recordList_.size()); ++p)
        if (recordList_[p] >= 0 && recordList_[p] < static_cast<int>(listIndexOf.size()))
            listIndexOf[recordList_[p]] = p;
    TcxDataControllerGroupLocateObject locate(controller_);
    TcxValueDefUnboundReader reader;
    for (const ExpandingItem& item : savedItems_) {
        if (item.Level < locate.Level())
            reader.Truncate(item.Level);
        reader.SetValue(groups_->Fields(item.Level)->ValueDef(), item.Value);
        bool expand = item.Expanded && saveExpanded_;
        if (!expand && !item.Selected)
            continue;
        locate.SetLevel(item.Level);
        locate.ReadData(&reader);
        int record = locate.FindRecordIndex();
        int listIndex = record >= 0 && record < static_cast<int>(listIndexOf.size()) ? listIndexOf[record] : -1;
        if (listIndex == -1)
            continue;
        const std::vector<int>& starts = levelStarts[item.Level];
        auto it = std::upper_bound(starts.begin(), starts.end(), listIndex);
        if (it == starts.begin())
            continue;
        int g = levelGroups[item.Level][it - starts.begin() - 1];
        if (expand)
            groups_->Items(g).Expanded = true;
        if (item.Selected)
            selection_->InternalAdd(-1, -1, -1, g);
    }
}

void TcxCustomDataControllerInfo::CheckInfo()
{
    CheckExpanding();
    CheckFocusing();
    controller_->CheckBookmarkValid(-1);
}

void TcxCustomDataControllerInfo::ForwardChanges()
{
    TcxDataControllerChanges c;
    const TcxDataControllerInfoChanges& p = changes_;
    if (p.Contains(dcicSorting) || p.Contains(dcicView))
        c.Include(dccLayout);
    if (p.Contains(dcicLoad) || p.Contains(dcicGrouping) || p.Contains(dcicExpanding))
        c.Include(dccData);
    if (p.Contains(dcicFocusedRow) || p.Contains(dcicResetFocusedRow) || p.Contains(dcicFocusedRecord))
        c.Include(dccFocus);
    if (p.Contains(dcicSelection))
        c.Include(dccSelection);
    if (p.Contains(dcicSummary))
        c.Include(dccSummary);
    if (controller_->GroupingChanged)
        c.Include(dccGrouping);
    if (controller_->SortingChanged)
        c.Include(dccSorting);
    changes_ = {};
    controller_->GroupingChanged = false;
    controller_->SortingChanged = false;
    controller_->SortingBySummaryChanged = false;
    controller_->FilterChangedFlag = false;
    controller_->Change(c);
    controller_->LoadedStorage = false;
}

void TcxCustomDataControllerInfo::Update()
{
    infoCalculation_ = true;
    controller_->CheckMode();
    if (controller_->SortingBySummaryChanged) {
        changes_.Include(dcicSorting);
        if (!IsSortingBySummary()) {
            // Back to the plain order: group again and recalculate.
            changes_.Include(dcicSummary);
            changes_.Include(dcicGrouping);
        }
    }
    // Groups in summary order hold their records in that order: a new record order needs the
    // groups (and their values) built again before they are sorted by summary once more.
    if (changes_.Contains(dcicSorting) && IsGrouped() && IsSortingBySummary()) {
        changes_.Include(dcicGrouping);
        changes_.Include(dcicSummary);
    }
    TComponent* owner = dynamic_cast<TComponent*>(controller_->GetOwner());
    bool summaryNeeded = changes_.Contains(dcicSummary) &&
                         !(owner && (owner->ComponentState().Contains(csReading) || owner->ComponentState().Contains(csDestroying)));
    expanding_ = false;
    SaveInfo();
    auto closing = [&] {
        savedFields_.clear();
        savedItems_.clear();
        saveExpanded_ = saveSelected_ = false;
        if (expanding_)
            RecalcSelection();
        if (changes_.Contains(dcicSorting) || changes_.Contains(dcicExpanding))
            controller_->CorrectPrevSelectionChangedInfo();
        infoCalculation_ = false;
        ForwardChanges();
    };
    try {
        if (changes_.Contains(dcicLoad)) {
            DoLoad();
            DoFilter();
        }
        if (summaryNeeded && !controller_->Summary()->FollowsSelection())
            controller_->Summary()->BeginCalculate();
        bool regroup = changes_.Contains(dcicGrouping);
        if (regroup || changes_.Contains(dcicSorting))
            DoSort();
        if (regroup) {
            controller_->BeforeGroupingNotification();
            DoGrouping();
        }
        if (regroup || changes_.Contains(dcicSorting))
            ResetFocusing();
        CheckInfo();
        if (summaryNeeded) {
            if (controller_->Summary()->FollowsSelection())
                controller_->Summary()->Calculate();
            else
                controller_->Summary()->EndCalculate();
        }
        if ((summaryNeeded || changes_.Contains(dcicGrouping) || changes_.Contains(dcicSorting)) && IsSortingBySummary()) {
            DoSortBySummary();
            CheckInfo();
        }
    } catch (...) {
        closing();
        throw;
    }
    closing();
}

} // namespace cx
