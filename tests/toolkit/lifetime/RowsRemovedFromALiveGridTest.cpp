// Rows removed from a shown grid whose focused row sits at or after them, with and without an open
// editor: the remaining rows keep their own values, the focus stays on a remaining row and the
// grid goes on taking keys. (The data notice once came before the items were renumbered: the
// focused cell was refreshed with an item index out of range and the error was thrown inside the
// removed row's destructor, which ended the program.)
#include "tests/toolkit/lifetime/LifetimeTestSupport.h"

using namespace lifetime;

namespace {

class RowsRemovedFromALiveGrid : public LifetimeTest {};

TEST_F(RowsRemovedFromALiveGrid, RemainingRowsKeepTheirValuesAndTheFocus)
{
    struct Case {
        const char* name;
        int removed, focused;
        bool editing, byFree;
    } cases[] = {
        {"a row before the focused one", 0, 1, false, false},
        {"the focused row", 1, 1, false, false},
        {"a row before the edited one", 0, 2, true, false},
        {"the edited row", 1, 1, true, false},
        {"a row before the edited one, freed", 0, 1, true, true},
        {"the edited row, freed", 2, 2, true, true},
        {"a row after the edited one", 2, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TcxVerticalGrid* grid = ShowGrid();
        TcxEditorRow* focused = Row(grid, c.focused);
        TcxEditorRow* removed = Row(grid, c.removed);
        if (c.editing)
            EditRow(grid, focused, QStringLiteral("z"));
        else
            ClickValue(grid, focused);
        ASSERT_EQ(grid->GetFocusedRow(), focused);
        if (c.byFree) {
            removed->Free();
        } else {
            grid->Remove(removed);   // frees it
        }
        Spin();
        ASSERT_EQ(grid->Rows()->GetCount(), 2);
        for (int i = 0; i < 2; ++i) {
            TcxEditorRow* row = Row(grid, i);
            const std::string own = row->Properties()->GetCaption();
            if (row == focused && c.editing && grid->GetIsEditing())
                continue;   // its editor still holds the typed text
            EXPECT_EQ(VarToStr(row->Properties()->GetValue()), own) << own;
        }
        TcxCustomRow* now = grid->GetFocusedRow();
        EXPECT_TRUE(now == nullptr || grid->Rows()->IndexOf(now) >= 0);
        if (c.removed != c.focused) {
            EXPECT_EQ(now, focused);
        }
        // The grid paints and takes keys on.
        grid->Update();
        grid->SetFocus();
        Spin();
        KeyToFocus(Qt::Key_Escape);
        KeyToFocus(Qt::Key_Down);
        KeyToFocus(Qt::Key_Up);
        EXPECT_NE(grid->GetFocusedRow(), nullptr);
        grid->Free();
        Spin();
    }
}

} // namespace
