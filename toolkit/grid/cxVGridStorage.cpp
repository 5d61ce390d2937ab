// The vertical grid's layout storage: what the grid offers the object store (its properties and
// its rows as children) and the steps around a store or restore.
#include <climits>
#include <functional>
#include <unordered_map>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "toolkit/grid/cxVGrid.h"

namespace cx {

namespace {

constexpr int kIndexNotRead = INT_MAX;

// Keeps the grid locked for the store's work and unlocks it also when the store raises.
class GridUpdate {
public:
    explicit GridUpdate(TcxCustomVerticalGrid* grid) : grid_(grid) { grid_->BeginUpdate(); }
    ~GridUpdate() { grid_->EndUpdate(); }
    GridUpdate(const GridUpdate&) = delete;
    GridUpdate& operator=(const GridUpdate&) = delete;

private:
    TcxCustomVerticalGrid* grid_;
};

class RuntimeRowNaming {
public:
    explicit RuntimeRowNaming(TcxCustomVerticalGrid* grid) : grid_(grid) { grid_->BeginRuntimeRowNaming(); }
    ~RuntimeRowNaming() { grid_->EndRuntimeRowNaming(); }
    RuntimeRowNaming(const RuntimeRowNaming&) = delete;
    RuntimeRowNaming& operator=(const RuntimeRowNaming&) = delete;

private:
    TcxCustomVerticalGrid* grid_;
};

bool SameTextAscii(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

bool TcxCustomVerticalGrid::GetProperties(TStrings* properties)
{
    for (const char* name : {"PaintStyle", "HeaderWidth", "ValueWidth", "NewLoad"})
        properties->Add(name);
    return true;
}

void TcxCustomVerticalGrid::GetPropertyValue(const std::string& name, Variant& value)
{
    if (name == "PaintStyle")
        value = static_cast<int>(OptionsView()->PaintStyle());
    else if (name == "HeaderWidth")
        value = OptionsView()->RowHeaderWidth();
    else if (name == "ValueWidth")
        value = OptionsView()->ValueWidth();
    else if (name == "NewLoad")
        value = 1;
    else
        value = Null;
}

void TcxCustomVerticalGrid::SetPropertyValue(const std::string& name, const Variant& value)
{
    if (name == "PaintStyle") {
        // A number outside the two styles (a damaged source) leaves the style as it is.
        const int style = value.ToInteger();
        if (style == psdotNet || style == psDelphi)
            OptionsView()->SetPaintStyle(static_cast<TcxvgPaintStyle>(style));
    } else if (name == "HeaderWidth")
        OptionsView()->SetRowHeaderWidth(value.ToInteger());
    else if (name == "ValueWidth")
        OptionsView()->SetValueWidth(value.ToInteger());
    else if (name == "NewLoad")
        NameMode = true;
}

TObject* TcxCustomVerticalGrid::CreateChild(const std::string&, const std::string& className)
{
    if (!SameTextAscii(className, "TcxCategoryRow"))
        return nullptr;
    TcxCustomRow* row = Add<TcxCategoryRow>();
    const std::string base = Name() + "RuntimeCreatedRow";
    int n = runtimeRowNaming_ ? runtimeRowNumber_ : 0;
    std::string name = n == 0 ? base : base + std::to_string(n);
    while (Owner() && Owner()->FindComponent(name))
        name = base + std::to_string(++n);
    if (runtimeRowNaming_)
        runtimeRowNumber_ = n;
    row->SetName(name);
    return row;
}

void TcxCustomVerticalGrid::DeleteChild(const std::string&, TObject*) {}

void TcxCustomVerticalGrid::GetStoredChildren(TStringList* children)
{
    for (int i = 0; i < rows_->GetCount(); ++i) {
        TcxCustomRow* row = rows_->GetRow(i);
        children->AddObject(NameMode ? row->GetObjectName() : std::string(), row);
    }
}

// --- store and restore ----------------------------------------------------------------------------
namespace {

void Store(TcxCustomVerticalGrid* grid, TcxStorage& storage, void (TcxStorage::*store)(TObject*))
{
    grid->NameMode = true;
    GridUpdate update(grid);
    (storage.*store)(grid);
}

// Rebuilds the tree from the parents' names and the positions read in name mode, in time linear
// in the rows: the parents are found by name through one map, and each row's children are put in
// order at once.
void AfterLoadedRows(TcxCustomVerticalGrid* grid)
{
    std::vector<TcxCustomRow*> rows;
    for (int i = 0; i < grid->Rows()->GetCount(); ++i)
        rows.push_back(grid->Rows()->GetRow(i));
    // The first row of each name, as a search in list order finds it.
    std::unordered_map<std::string, TcxCustomRow*> byName;
    for (TcxCustomRow* row : rows)
        byName.emplace(row->GetObjectName(), row);
    for (TcxCustomRow* row : rows) {
        if (row->LoadingIndex() == kIndexNotRead)
            continue;
        auto it = byName.find(row->LoadingParentName());
        // SetParent refuses the row itself and its descendants, so a stored cycle leaves the
        // row where it is.
        row->SetParent(it != byName.end() ? it->second : grid->Root());
    }
    // For each position i in turn, the first child at i or later whose stored index is i comes
    // to i; where none has it, the child standing at i stays. Children without a read index end
    // up behind the placed ones.
    std::function<void(TcxCustomRow*)> place = [&](TcxCustomRow* parent) {
        const int count = parent->GetCount();
        if (count > 1) {
            std::vector<TcxCustomRow*> children(static_cast<std::size_t>(count));
            std::vector<bool> taken(children.size(), false);
            std::unordered_map<int, std::vector<int>> byIndex;   // stored index -> positions, in order
            for (int j = 0; j < count; ++j) {
                children[static_cast<std::size_t>(j)] = parent->GetRow(j);
                byIndex[children[static_cast<std::size_t>(j)]->LoadingIndex()].push_back(j);
            }
            std::unordered_map<int, std::size_t> nextOf;   // how far each index's list was used
            std::vector<TcxCustomRow*> order;
            order.reserve(children.size());
            int head = 0;   // the first child not placed yet
            for (int i = 0; i < count; ++i) {
                while (taken[static_cast<std::size_t>(head)])
                    ++head;
                int pick = head;
                if (auto found = byIndex.find(i); found != byIndex.end()) {
                    std::size_t& k = nextOf[i];
                    while (k < found->second.size() && taken[static_cast<std::size_t>(found->second[k])])
                        ++k;
                    if (k < found->second.size())
                        pick = found->second[k];
                }
                taken[static_cast<std::size_t>(pick)] = true;
                order.push_back(children[static_cast<std::size_t>(pick)]);
            }
            bool same = true;
            for (int j = 0; j < count && same; ++j)
                same = order[static_cast<std::size_t>(j)] == children[static_cast<std::size_t>(j)];
            if (!same)
                parent->SetChildrenOrder(std::move(order));
        }
        for (int i = 0; i < count; ++i)
            place(parent->GetRow(i));
    };
    place(grid->Root());
}

// Holds the row list's own lock: the rows' notices wait for its end, and the list is rebuilt once.
class RowsUpdate {
public:
    explicit RowsUpdate(TcxVerticalGridRows* rows) : rows_(rows) { rows_->BeginUpdate(); }
    ~RowsUpdate() noexcept(false) { rows_->EndUpdate(); }
    RowsUpdate(const RowsUpdate&) = delete;
    RowsUpdate& operator=(const RowsUpdate&) = delete;

private:
    TcxVerticalGridRows* rows_;
};

void Restore(TcxCustomVerticalGrid* grid, TcxStorage& storage, void (TcxStorage::*restore)(TObject*))
{
    grid->NameMode = false;
    GridUpdate update(grid);
    RuntimeRowNaming naming(grid);
    grid->MarkLoadingIndexesNotRead();
    storage.Modes = TcxStorageModes{smChildrenCreating};
    {
        RowsUpdate rowsUpdate(grid->Rows());
        (storage.*restore)(grid);
        if (grid->NameMode)
            AfterLoadedRows(grid);
    }
}

} // namespace

void TcxCustomVerticalGrid::MarkLoadingIndexesNotRead()
{
    for (int i = 0; i < rows_->GetCount(); ++i)
        rows_->GetRow(i)->loadingIndex_ = kIndexNotRead;
}

void TcxCustomVerticalGrid::StoreToIniFile(const std::string& storageName, bool reCreate)
{
    TcxStorage storage(storageName);
    storage.ReCreate = reCreate;
    Store(this, storage, &TcxStorage::StoreToIni);
}

void TcxCustomVerticalGrid::StoreToRegistry(const std::string& storageName, bool reCreate)
{
    TcxStorage storage(storageName);
    storage.ReCreate = reCreate;
    Store(this, storage, &TcxStorage::StoreToRegistry);
}

void TcxCustomVerticalGrid::StoreToStream(TStream* stream)
{
    TcxStorage storage(stream);
    Store(this, storage, &TcxStorage::StoreToStream);
}

void TcxCustomVerticalGrid::RestoreFromIniFile(const std::string& storageName)
{
    TcxStorage storage(storageName);
    Restore(this, storage, &TcxStorage::RestoreFromIni);
}

void TcxCustomVerticalGrid::RestoreFromRegistry(const std::string& storageName)
{
    TcxStorage storage(storageName);
    Restore(this, storage, &TcxStorage::RestoreFromRegistry);
}

void TcxCustomVerticalGrid::RestoreFromStream(TStream* stream)
{
    TcxStorage storage(stream);
    Restore(this, storage, &TcxStorage::RestoreFromStream);
}

} // namespace cx
