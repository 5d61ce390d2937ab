// The vertical grid's hit test, cell navigator and controller, driven by real Qt input where
// input is concerned.
#include "tests/toolkit/grid/VGridPaintTestSupport.h"

#include <QTest>

#include "toolkit/editors/cxTextEdit.h"

using namespace vgtest;

namespace {

void Click(TWinControl* c, int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QTest::mouseClick(c->Peer(), Qt::LeftButton, m, QPoint(x, y));
    vcl::DrainPostedMessages();
}

void Key(TWinControl* c, Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QTest::keyClick(c->Peer(), key, m);
    vcl::DrainPostedMessages();
}

class VGridControllerTest : public VGridPaintTest {
protected:
    TcxvgController* C() { return grid->GridController(); }
    TcxvgHitTest* Hit(int x, int y)
    {
        C()->HitTest()->ReCalculate(TPoint{x, y});
        return C()->HitTest();
    }
    TRect Row(TcxCustomRow* row) { return RowInfo(row)->RowRect; }
    TRect Value(TcxCustomRow* row) { return RowInfo(row)->ValuesInfo(0)->Bounds; }
    void Focus()
    {
        grid->SetFocus();
        vcl::DrainPostedMessages();
    }
};

// A navigator whose rows pass CanFocus while none of their cells is acceptable.
class NoCellNavigator : public TcxvgCellNavigator {
    RTL_CLASS(NoCellNavigator, TcxvgCellNavigator)
    using TcxvgCellNavigator::TcxvgCellNavigator;
    bool IsCellAcceptable(int, int) override
    {
        ++asked;
        return false;
    }
    int asked = 0;
};

} // namespace

// --- hit test ---------------------------------------------------------------------------------------
TEST_F(VGridControllerTest, HitCodesByPlace)
{
    auto* cat = AddCategory("Cat");
    auto* a = AddEditor("A", cat);
    AddEditor("B");
    Show(220, 120);
    const int indent = grid->ViewInfo()->RowIndentWidth();
    const TRect c = Row(cat), ra = Row(a);
    EXPECT_TRUE(Hit(indent / 2, c.Top + c.Height() / 2)->HitAtButton());
    EXPECT_EQ(Hit(indent / 2, c.Top + c.Height() / 2)->HitRow, cat);
    EXPECT_TRUE(Hit(indent * 2 + 20, c.Top + 3)->HitAtCaption());
    EXPECT_TRUE(Hit(indent + 2, ra.Top + 3)->HitAtIndent());   // under the category's column
    EXPECT_TRUE(Hit(indent + 2, ra.Top + 3)->GetHitAtRowHeader());
    EXPECT_TRUE(Hit(Value(a).Left + 5, ra.Top + 3)->HitAtValue());
    EXPECT_EQ(C()->HitTest()->HitRow, a);
    EXPECT_EQ(C()->HitTest()->HitCellIndex, 0);
    EXPECT_TRUE(Hit(50, 110)->HitAtEmpty());
    EXPECT_EQ(C()->HitTest()->HitRow, nullptr);
    EXPECT_FALSE(Hit(500, 10)->HitInControl);
}

TEST_F(VGridControllerTest, RowSizingZoneBelongsToTheUpperRow)
{
    auto* a = AddEditor("A");
    auto* b = AddEditor("B");
    Show(220, 120);
    const TRect ra = Row(a);
    // Without row sizing the grid line under a row still hits that row, not the next.
    EXPECT_EQ(Hit(50, ra.Bottom)->HitRow, a);
    EXPECT_FALSE(C()->HitTest()->HitAtRowSizing());
    grid->OptionsBehavior()->RowSizing = true;
    for (int y : {ra.Bottom - 1, ra.Bottom}) {
        EXPECT_EQ(Hit(50, y)->HitRow, a) << y;
        EXPECT_TRUE(C()->HitTest()->HitAtRowSizing()) << y;
        EXPECT_EQ(C()->GetCursor(50, y), crVSplit) << y;
    }
    EXPECT_EQ(Hit(50, ra.Bottom + 1)->HitRow, b);
    a->Options()->CanResized = false;
    EXPECT_FALSE(Hit(50, ra.Bottom - 1)->HitAtRowSizing());
}

TEST_F(VGridControllerTest, DividerZoneAndCursor)
{
    AddEditor("A");
    Show(220, 120);
    const int x = grid->ViewInfo()->ViewHeaderWidth;
    EXPECT_TRUE(Hit(x + 1, 5)->HitAtDivider());
    EXPECT_TRUE(Hit(x + 1, 100)->HitAtDivider());   // over the whole client height
    EXPECT_EQ(C()->GetCursor(x + 1, 5), crHSplit);
    EXPECT_FALSE(Hit(x + 10, 5)->HitAtDivider());
    grid->OptionsBehavior()->HeaderSizing = false;
    EXPECT_FALSE(Hit(x + 1, 5)->HitAtDivider());
}

// --- keys ---------------------------------------------------------------------------------------------
TEST_F(VGridControllerTest, UpDownSkipRowsThatCannotTakeTheFocus)
{
    auto* r0 = AddEditor("0");
    auto* r1 = AddEditor("1");
    auto* r2 = AddEditor("2");
    auto* r3 = AddEditor("3");
    r1->Options()->TabStop = false;
    r2->Options()->SetFocusing(false);
    Show(220, 200);
    Focus();
    ASSERT_EQ(grid->GetFocusedRow(), r0);   // focus-in focuses the first row
    Key(grid, Qt::Key_Down);
    EXPECT_EQ(grid->GetFocusedRow(), r3);
    Key(grid, Qt::Key_Down);   // the last row: stays
    EXPECT_EQ(grid->GetFocusedRow(), r3);
    Key(grid, Qt::Key_Up);
    EXPECT_EQ(grid->GetFocusedRow(), r0);
    Key(grid, Qt::Key_Up);
    EXPECT_EQ(grid->GetFocusedRow(), r0);
    Key(grid, Qt::Key_Return);   // Enter moves on only when asked to
    EXPECT_EQ(grid->GetFocusedRow(), r0);
    grid->OptionsBehavior()->SetGoToNextCellOnEnter(true);
    grid->OptionsData()->SetEditing(false);   // no editors in this fixture: only the move
    Key(grid, Qt::Key_Return);
    EXPECT_EQ(grid->GetFocusedRow(), r3);
}

TEST_F(VGridControllerTest, LeftRightSwallowedOrExpanding)
{
    auto* cat = AddCategory("Cat");
    auto* child = AddEditor("child", cat);
    Show(220, 200);
    Focus();
    C()->SetFocusedRowAndCell(child, 0);
    int presses = 0;
    grid->OnKeyPress = [&](TObject*, char16_t&) { ++presses; };
    Key(grid, Qt::Key_Right);
    Key(grid, Qt::Key_Left);
    EXPECT_EQ(grid->GetFocusedRow(), child);
    EXPECT_EQ(presses, 0);

    C()->SetFocusedRowAndCell(cat, 0);
    Key(grid, Qt::Key_Left);
    EXPECT_FALSE(cat->Expanded());
    Key(grid, Qt::Key_Right);
    EXPECT_TRUE(cat->Expanded());
    Key(grid, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_FALSE(cat->Expanded());
    Key(grid, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_TRUE(cat->Expanded());
    EXPECT_EQ(presses, 0);
}

TEST_F(VGridControllerTest, PagesMoveByTheRowsThatFit)
{
    std::vector<TcxEditorRow*> rows;
    for (int i = 0; i < 50; ++i)
        rows.push_back(AddEditor(std::to_string(i)));
    Show(200, 300);
    Focus();
    const int page = grid->Scroller()->GetVisibleRowCount();
    ASSERT_GT(page, 1);
    Key(grid, Qt::Key_PageDown);
    EXPECT_EQ(grid->GetFocusedRow(), rows[page]);
    EXPECT_TRUE(RowInfo(rows[page]) && !cxRectIsEmpty(RowInfo(rows[page])->RowRect));   // scrolled into view
    Key(grid, Qt::Key_PageUp);
    EXPECT_EQ(grid->GetFocusedRow(), rows[0]);
    Key(grid, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(grid->GetFocusedRow(), rows[49]);
    Key(grid, Qt::Key_PageDown);   // from the last page: the last row
    EXPECT_EQ(grid->GetFocusedRow(), rows[49]);
    Key(grid, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(grid->GetFocusedRow(), rows[0]);
}

// With GoToNextCellOnTab, Tab and Shift+Tab walk the rows that take the focus and a tab stop,
// and end on the last such row; without it the grid leaves Tab to the focus chain.
TEST_F(VGridControllerTest, TabMovesBetweenRowsOnlyWhenAsked)
{
    auto* r0 = AddEditor("0");
    auto* r1 = AddEditor("1");
    auto* r2 = AddEditor("2");
    auto* r3 = AddEditor("3");
    auto* last = AddEditor("4");
    r1->Options()->TabStop = false;
    r2->Options()->SetFocusing(false);
    last->Options()->TabStop = false;
    Show(220, 200);
    Focus();
    ASSERT_EQ(grid->GetFocusedRow(), r0);
    int tabsSeen = 0;
    grid->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) { tabsSeen += key == VK_TAB; };
    Key(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->GetFocusedRow(), r0) << "Tab is not the grid's without the option";

    grid->OptionsBehavior()->SetGoToNextCellOnTab(true);
    tabsSeen = 0;
    Key(grid, Qt::Key_Tab);
    EXPECT_EQ(tabsSeen, 1);
    EXPECT_EQ(grid->GetFocusedRow(), r3);
    Key(grid, Qt::Key_Tab);   // nothing after r3 takes a tab stop: the focus stays
    EXPECT_EQ(grid->GetFocusedRow(), r3);
    EXPECT_TRUE(grid->Focused());
    Key(grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetFocusedRow(), r0);
    Key(grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetFocusedRow(), r0);
}

// A multi-editor row whose editors all lack a tab stop is reached on its first cell and left
// again; rows without a tab stop end the walk. Nothing loops.
TEST_F(VGridControllerTest, RowsWithoutTabStopCellsEndTabAndDown)
{
    auto* r0 = AddEditor("0");
    auto* empty = grid->Add<TcxMultiEditorRow>();
    for (int i = 0; i < 2; ++i)
        empty->Properties()->Editors()->Add()->Options()->TabStop = false;
    auto* r2 = AddEditor("2");
    std::vector<TcxEditorRow*> closed;
    for (int i = 0; i < 20; ++i) {
        closed.push_back(AddEditor("closed " + std::to_string(i)));
        closed.back()->Options()->TabStop = false;
    }
    Show(220, 300);
    grid->OptionsBehavior()->SetGoToNextCellOnTab(true);
    Focus();
    ASSERT_EQ(grid->GetFocusedRow(), r0);
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Down}) {
        grid->SetFocusedRow(r0);
        Key(grid, key);
        EXPECT_EQ(grid->GetFocusedRow(), empty) << key;
        Key(grid, key);
        EXPECT_EQ(grid->GetFocusedRow(), r2) << key;
        Key(grid, key);   // only rows without a tab stop follow
        EXPECT_EQ(grid->GetFocusedRow(), r2) << key;
        EXPECT_EQ(C()->CellIndex(), 0) << key;
    }
}

TEST_F(VGridControllerTest, CellSearchEndsAfterOneRoundOfTheRowsCells)
{
    auto* r0 = AddEditor("0");
    AddEditor("1");
    Show(220, 200);
    C()->SetFocusedRowAndCell(r0, 0);
    NoCellNavigator navigator(C());
    int row = 0, cell = 0;
    navigator.CalcNextRow(true, row, cell);   // must come back
    EXPECT_EQ(row, 1);
    EXPECT_EQ(cell, 0);
    EXPECT_EQ(navigator.asked, 1);   // one container, one record: one look
    // Backward from a row without a row before it changes nothing.
    row = 0;
    cell = 0;
    navigator.CalcNextRow(false, row, cell);
    EXPECT_EQ(row, 0);
}

// --- mouse ---------------------------------------------------------------------------------------------
TEST_F(VGridControllerTest, ClickFocusesAndExpandButtonToggles)
{
    auto* cat = AddCategory("Cat");
    auto* a = AddEditor("A", cat);
    auto* b = AddEditor("B");
    Show(220, 200);
    Focus();
    Click(grid, Value(b).Left + 5, Row(b).Top + 5);
    EXPECT_EQ(grid->GetFocusedRow(), b);
    C()->SetFocusedRowAndCell(a, 0);
    const int indent = grid->ViewInfo()->RowIndentWidth();
    Click(grid, indent / 2, Row(cat).Top + Row(cat).Height() / 2);
    EXPECT_FALSE(cat->Expanded());
    // The focused child went out of sight: the focus moved up to its category.
    EXPECT_EQ(grid->GetFocusedRow(), cat);
    Click(grid, indent / 2, Row(cat).Top + Row(cat).Height() / 2);
    EXPECT_TRUE(cat->Expanded());
}

TEST_F(VGridControllerTest, TrackingFollowsTheMouseAndScrollsOnATimer)
{
    std::vector<TcxEditorRow*> rows;
    for (int i = 0; i < 30; ++i)
        rows.push_back(AddEditor(std::to_string(i)));
    Show(200, 100);
    Focus();
    QTest::mousePress(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(150, Row(rows[0]).Top + 3));
    vcl::DrainPostedMessages();
    ASSERT_TRUE(C()->TrackingEnabled());
    C()->MouseMove(TShiftState{ssLeft}, 150, Row(rows[2]).Top + 3);
    EXPECT_EQ(grid->GetFocusedRow(), rows[2]);
    C()->MouseMove(TShiftState{ssLeft}, 150, 150);   // below the client area
    ASSERT_NE(C()->ScrollTimer(), nullptr);
    EXPECT_TRUE(C()->ScrollTimer()->Enabled());
    EXPECT_EQ(C()->ScrollTimer()->Interval(), 5u);
    C()->ScrollTimerTick();
    EXPECT_EQ(grid->GetFocusedRow(), rows[3]);
    QTest::mouseRelease(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(150, 150));
    vcl::DrainPostedMessages();
    EXPECT_FALSE(C()->TrackingEnabled());
    EXPECT_EQ(C()->ScrollTimer(), nullptr);
}

TEST_F(VGridControllerTest, SizingRowsAndDivider)
{
    auto* a = AddEditor("A");
    AddEditor("B");
    grid->OptionsBehavior()->RowSizing = true;
    Show(220, 200);
    const TRect ra = Row(a);
    QTest::mousePress(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(50, ra.Bottom));
    vcl::DrainPostedMessages();
    ASSERT_EQ(C()->ResizeKind(), rkRowSizing);
    C()->MouseMove(TShiftState{ssLeft}, 50, ra.Bottom + 10);
    EXPECT_EQ(a->Height(), ra.Height() + 10);
    C()->MouseMove(TShiftState{ssLeft}, 50, 0);   // never below the minimum row height
    EXPECT_EQ(a->Height(), grid->ViewInfo()->GetMinRowHeight());
    QTest::mouseRelease(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 0));
    vcl::DrainPostedMessages();
    EXPECT_EQ(C()->ResizeKind(), rkNone);

    const int x = grid->ViewInfo()->ViewHeaderWidth + 1;
    const int before = grid->OptionsView()->RowHeaderWidth();
    QTest::mousePress(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x, 150));
    vcl::DrainPostedMessages();
    ASSERT_EQ(C()->ResizeKind(), rkDivider);
    C()->MouseMove(TShiftState{ssLeft}, x + 20, 150);
    EXPECT_EQ(grid->OptionsView()->RowHeaderWidth(), before + 20);
    QTest::mouseRelease(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x + 20, 150));
}

// --- row drag and drop ---------------------------------------------------------------------------
TEST_F(VGridControllerTest, DroppingRows)
{
    auto* cat = AddCategory("Cat");
    auto* child = AddEditor("child", cat);
    auto* b = AddEditor("B");
    Show(220, 200);
    const int captionX = grid->ViewInfo()->RowIndentWidth() * 2 + 10;
    C()->DragRow = cat;
    EXPECT_FALSE(C()->DragOver(captionX, Row(child).Top + 3));   // onto its own descendant
    C()->DragDrop(captionX, Row(child).Top + 3);
    EXPECT_EQ(cat->ParentRow(), grid->Root());

    C()->DragRow = b;
    EXPECT_TRUE(C()->DragOver(captionX, Row(cat).Top + 3));
    C()->DragDrop(captionX, Row(cat).Top + 3);   // on a caption: becomes its child
    EXPECT_EQ(b->ParentRow(), cat);

    C()->DragRow = b;
    C()->DragDrop(50, 190);   // the empty area: the last top-level row
    EXPECT_EQ(b->ParentRow(), grid->Root());
    EXPECT_EQ(b->Index(), grid->Root()->GetCount() - 1);
    C()->EndDrag();
    EXPECT_EQ(C()->DragRow, nullptr);

    // A dragged row freed under the mouse is dropped nowhere.
    C()->DragRow = b;
    grid->Remove(b);
    EXPECT_FALSE(C()->DragOver(captionX, Row(cat).Top + 3));
    C()->DragDrop(captionX, Row(cat).Top + 3);
    EXPECT_EQ(C()->DragRow, nullptr);
}

TEST_F(VGridControllerTest, DragCursorTellsWhereTheRowWouldGo)
{
    auto* a = AddEditor("A");
    Show(220, 200);
    TcxvgDragImageHelper helper(grid, TPoint{0, 0});
    const int captionX = grid->ViewInfo()->RowIndentWidth() + 20;
    struct Case {
        TPoint p;
        TCursor cursor;
    };
    const Case cases[] = {
        {{captionX, Row(a).Top + 3}, crcxVGridAddChild},
        {{Value(a).Left + 5, Row(a).Top + 3}, crcxVGridInsert},
        {{50, 150}, crcxVGridAdd},
        {{400, 150}, crcxVGridNoDrag},
    };
    for (const Case& k : cases) {
        helper.DragAndDrop(grid->ClientToScreen(k.p));   // the mouse hook's screen point
        EXPECT_EQ(grid->DragCursor, k.cursor) << k.p.X << "," << k.p.Y;
    }
}

TEST_F(VGridControllerTest, MultiRecordsDeleteAsksFirst)
{
    Show(220, 200);
    grid->DataController()->SetRecordCount(3);
    TcxvgMultiRecordsController c(grid);
    std::string asked;
    bool answer = false;
    c.ConfirmDelete = [&](const std::string& text, const std::string& caption) {
        asked = caption + ": " + text;
        return answer;
    };
    ASSERT_TRUE(c.CanDelete(true));
    c.DeleteSelection();
    EXPECT_EQ(asked, "Confirm: Delete record?");
    EXPECT_EQ(grid->DataController()->GetRecordCount(), 3);
    answer = true;
    c.DeleteSelection();
    EXPECT_EQ(grid->DataController()->GetRecordCount(), 2);
    c.Deleting = false;
    EXPECT_FALSE(c.CanDelete(true));
    EXPECT_TRUE(c.CanDelete(false));
    TcxvgController single(grid);
    EXPECT_FALSE(single.CanDelete(false));
}

// F2 opens the focused value's editor; plain Enter leaves the grid's editor closed (a dialog's
// default button owns it); a row without an editor kind stays closed on F2.
TEST_F(VGridControllerTest, F2OpensTheFocusedValuesEditorAndEnterDoesNot)
{
    auto* r0 = AddEditor("0");
    r0->Properties()->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>());
    auto* cat = AddEditor("no editor kind");
    Show(220, 120);
    Focus();
    ASSERT_EQ(grid->GetFocusedRow(), r0);
    Key(grid, Qt::Key_Return);
    EXPECT_FALSE(grid->GetIsEditing());
    Key(grid, Qt::Key_F2);
    ASSERT_TRUE(grid->GetIsEditing());
    // On the value's content: one pixel inside the cell, where the cell's text is drawn from.
    EXPECT_EQ(grid->GetInplaceEditor()->BoundsRect(), cxRectInflate(Value(r0), -1, -1));
    Key(grid->GetInplaceEditor(), Qt::Key_Escape);
    EXPECT_FALSE(grid->GetIsEditing());
    grid->SetFocusedRow(cat);
    Key(grid, Qt::Key_F2);
    EXPECT_FALSE(grid->GetIsEditing());
}

// A row whose item has no editor kind opens nothing on any road that asks for its editor, the
// ones that go straight to the editing controller included (Enter moving on, an editor always
// shown, the grid's ShowEdit); afterwards the row with an editor still opens as before.
TEST_F(VGridControllerTest, ARowWithoutEditorKindOpensNothingOnEveryRoad)
{
    struct Road {
        const char* name;
        std::function<void(TcxEditorRow* text, TcxEditorRow* bare)> ask;
    };
    const Road roads[] = {
        {"F2", [&](TcxEditorRow*, TcxEditorRow* bare) { grid->SetFocusedRow(bare); Key(grid, Qt::Key_F2); }},
        {"typed key", [&](TcxEditorRow*, TcxEditorRow* bare) {
             grid->SetFocusedRow(bare);
             QTest::keyClicks(grid->Peer(), "7");
             vcl::DrainPostedMessages();
         }},
        {"click on the value", [&](TcxEditorRow*, TcxEditorRow* bare) {
             grid->OptionsBehavior()->SetImmediateEditor(true);
             grid->SetFocusedRow(bare);
             Click(grid, Value(bare).Left + 5, Row(bare).Top + 5);
         }},
        {"Enter moving on", [&](TcxEditorRow* text, TcxEditorRow*) {
             grid->OptionsBehavior()->SetGoToNextCellOnEnter(true);
             grid->SetFocusedRow(text);
             Key(grid, Qt::Key_Return);
         }},
        {"editor always shown", [&](TcxEditorRow* text, TcxEditorRow* bare) {
             grid->OptionsBehavior()->SetAlwaysShowEditor(true);
             grid->SetFocusedRow(bare);
             Key(grid, Qt::Key_Up);
             Key(grid, Qt::Key_Down);
         }},
        {"the grid's ShowEdit", [&](TcxEditorRow*, TcxEditorRow* bare) {
             grid->SetFocusedRow(bare);
             grid->ShowEdit();
         }},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        auto* text = AddEditor("text");
        text->Properties()->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>());
        auto* bare = AddEditor("no editor kind");
        Show(220, 120);
        Focus();
        road.ask(text, bare);
        EXPECT_EQ(grid->GetFocusedRow(), bare);
        EXPECT_FALSE(grid->GetIsEditing());
        EXPECT_EQ(grid->EditingController()->EditingItem(), nullptr);
        EXPECT_FALSE(grid->EditingController()->EditPreparing());
        grid->SetFocusedRow(text);
        Key(grid, Qt::Key_F2);
        EXPECT_TRUE(grid->GetIsEditing());
        grid->CancelEdit();
        grid->ClearRows();
        grid->OptionsBehavior()->SetImmediateEditor(false);
        grid->OptionsBehavior()->SetGoToNextCellOnEnter(false);
        grid->OptionsBehavior()->SetAlwaysShowEditor(false);
    }
}

// --- horizontal moves, focusing a cell ------------------------------------------------------------
namespace {

TcxMultiEditorRow* AddMultiRow(TcxVerticalGrid* grid, std::initializer_list<const char*> captions)
{
    auto* row = grid->Add<TcxMultiEditorRow>();
    for (const char* caption : captions) {
        TcxEditorRowItemProperties* editor = row->Properties()->Editors()->Add();
        editor->SetCaption(caption);
        editor->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<TcxTextEditProperties>());
    }
    return row;
}

} // namespace

// Left and Right walk the editors of a multi-editor row that take the focus and a tab stop, and
// stop at either end; the focused editor is the one F2 opens and a click picks.
TEST_F(VGridControllerTest, LeftRightWalkTheEditorsOfAMultiEditorRow)
{
    AddEditor("above");
    auto* multi = AddMultiRow(grid, {"a", "b", "c", "d"});
    multi->Properties()->Editors()->GetItem(1)->Options()->TabStop = false;
    Show(380, 120);
    Focus();
    C()->SetFocusedRowAndCell(multi, 0);
    struct Step {
        Qt::Key key;
        int cell;
    };
    for (const Step& s : {Step{Qt::Key_Right, 2}, Step{Qt::Key_Right, 3}, Step{Qt::Key_Right, 3},
                          Step{Qt::Key_Left, 2}, Step{Qt::Key_Left, 0}, Step{Qt::Key_Left, 0}}) {
        Key(grid, s.key);
        EXPECT_EQ(C()->CellIndex(), s.cell) << s.key;
        EXPECT_EQ(grid->GetFocusedRow(), multi);
    }
    Key(grid, Qt::Key_Right);
    ASSERT_EQ(C()->CellIndex(), 2);
    EXPECT_EQ(grid->Controller()->FocusedItem(), multi->GetEditContainer(2));
    Key(grid, Qt::Key_F2);
    ASSERT_TRUE(grid->GetIsEditing());
    {
        // The editor opens over the third editor's value (inside its border, where the value is drawn).
        const TRect editor = grid->GetInplaceEditor()->BoundsRect();
        const TRect value = RowInfo(multi)->GetRowValueInfo(0, 2)->Bounds;
        EXPECT_TRUE(editor.Left >= value.Left && editor.Top >= value.Top && editor.Right <= value.Right &&
                    editor.Bottom <= value.Bottom && editor.Right - editor.Left >= value.Right - value.Left - 2)
            << editor.Left << "," << editor.Top << " in " << value.Left << "," << value.Top;
    }
    Key(grid->GetInplaceEditor(), Qt::Key_Escape);
    // A click on the second editor's value focuses that editor.
    const TRect second = RowInfo(multi)->GetRowValueInfo(0, 1)->Bounds;
    Click(grid, second.Left + 3, second.Top + 3);
    EXPECT_EQ(C()->CellIndex(), 1);
    EXPECT_EQ(grid->Controller()->FocusedItem(), multi->GetEditContainer(1));
}

TEST_F(VGridControllerTest, FocusRowFocusesTheCellAndScrollsItIntoView)
{
    std::vector<TcxEditorRow*> rows;
    for (int i = 0; i < 30; ++i)
        rows.push_back(AddEditor(std::to_string(i)));
    auto* multi = AddMultiRow(grid, {"a", "b"});
    Show(260, 100);
    ASSERT_EQ(RowInfo(multi), nullptr);   // below the visible rows
    grid->FocusRow(multi, 1);
    EXPECT_EQ(grid->GetFocusedRow(), multi);
    EXPECT_EQ(C()->CellIndex(), 1);
    ASSERT_NE(RowInfo(multi), nullptr);
    grid->FocusRow(rows[3]);
    EXPECT_EQ(grid->GetFocusedRow(), rows[3]);
    EXPECT_EQ(C()->CellIndex(), 0);
}

// --- band sizing ----------------------------------------------------------------------------------
// The first band's right edge sizes the value width by mouse, in the bands layout without auto
// scaling only; the single-record layout has no such zone.
TEST_F(VGridControllerTest, BandEdgeSizesTheValueWidthByMouse)
{
    for (int i = 0; i < 12; ++i)
        AddEditor(std::to_string(i));
    grid->OptionsView()->SetAutoScaleBands(false);
    grid->SetLayoutStyle(ulsBandsView);
    Show(400, 120);
    ASSERT_TRUE(grid->CanBandSizing());
    const TRect band = grid->ViewInfo()->BandRects().at(0);
    const int x = band.Right, y = band.Top + 10;
    EXPECT_TRUE(Hit(x, y)->HitAtBandSizing());
    EXPECT_FALSE(Hit(x - 10, y)->HitAtBandSizing());
    EXPECT_EQ(C()->GetCursor(x, y), crHSplit);
    const int before = grid->OptionsView()->ValueWidth();
    QTest::mousePress(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
    vcl::DrainPostedMessages();
    ASSERT_EQ(C()->ResizeKind(), rkBandSizing);
    QTest::mouseMove(grid->Peer(), QPoint(x + 30, y));
    vcl::DrainPostedMessages();
    QTest::mouseRelease(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x + 30, y));
    vcl::DrainPostedMessages();
    EXPECT_EQ(grid->OptionsView()->ValueWidth(), before + 30);
    EXPECT_EQ(C()->ResizeKind(), rkNone);

    grid->OptionsBehavior()->BandSizing = false;
    EXPECT_FALSE(Hit(x + 30, y)->HitAtBandSizing());
    grid->OptionsBehavior()->BandSizing = true;
    grid->OptionsView()->SetAutoScaleBands(true);
    EXPECT_FALSE(grid->CanBandSizing());
    grid->OptionsView()->SetAutoScaleBands(false);
    grid->SetLayoutStyle(ulsSingleRecordView);
    grid->LayoutChanged();
    EXPECT_FALSE(grid->CanBandSizing());
    const TRect single = grid->ViewInfo()->BandRects().at(0);
    EXPECT_FALSE(Hit(single.Right, y)->HitAtBandSizing());
}
