// The vertical grid's layout storage: what the grid offers the object store (its properties and
// its rows as children) and the steps around a store or restore.
#include <climits>
#include <functional>
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
    std::string name = base;
    for (int n = 1; Owner() && Owner()->FindComponent(name); ++n)
        name = base + std::to_string(n);
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

// Rebuilds the tree from the parents' names and the positions read in name mode.
void AfterLoadedRows(TcxCustomVerticalGrid* grid)
{
    std::vector<TcxCustomRow*> rows;
    for (int i = 0; i < grid->Rows()->GetCount(); ++i)
        rows.push_back(grid->Rows()->GetRow(i));
    for (TcxCustomRow* row : rows) {
        if (row->LoadingIndex() == kIndexNotRead)
            continue;
        TcxCustomRow* parent = grid->Root();
        for (TcxCustomRow* candidate : rows)
            if (candidate->GetObjectName() == row->LoadingParentName()) {
                parent = candidate;
                break;
            }
        // SetParent refuses the row itself and its descendants, so a stored cycle leaves the
        // row where it is.
        row->SetParent(parent);
    }
    std::function<void(TcxCustomRow*)> place = [&](TcxCustomRow* parent) {
        for (int i = 0; i < parent->GetCount(); ++i)
            for (int j = i; j < parent->GetCount(); ++j)
                if (parent->GetRow(j)->LoadingIndex() == i) {
                    parent->GetRow(j)->SetIndex(i);
                    break;
                }
        for (int i = 0; i < parent->GetCount(); ++i)
            place(parent->GetRow(i));
    };
    place(grid->Root());
}

void Restore(TcxCustomVerticalGrid* grid, TcxStorage& storage, void (TcxStorage::*restore)(TObject*))
{
    grid->NameMode = false;
    GridUpdate update(grid);
    grid->MarkLoadingIndexesNotRead();
    storage.Modes = TcxStorageModes{smChildrenCreating};
    (storage.*restore)(grid);
    if (grid->NameMode)
        AfterLoadedRows(grid);
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
