// The flat row list, the bands and the scrolling: counts that fit, scroll codes, making rows and
// records visible, moving the record focus.
#include "VGridTestSupport.h"

#include <functional>

using namespace vgtest;

namespace {

class VGridScrollTest : public VGridTest {
protected:
    // 50 top-level rows of 18 pixels in a grid whose client area is 300 pixels high.
    void Make50(int width = 200)
    {
        grid->OptionsView()->SetScrollBars(ssVertical);
        grid->BeginUpdate();
        for (int i = 0; i < 50; ++i)
            AddEditor("Row " + std::to_string(i + 1));
        grid->EndUpdate();
        // The grid's border takes a pixel on each side: the client is 300 high.
        Show(width, 302);
    }
    TcxvgScroller* scroller() { return grid->Scroller(); }
    int PageDownFrom(int top)
    {
        grid->SetTopVisibleRowIndex(top);
        int pos = 0;
        scroller()->Scroll(true, scPageDown, pos);
        EXPECT_EQ(pos, grid->GetTopVisibleRowIndex());
        return grid->GetTopVisibleRowIndex();
    }
};

} // namespace

TEST_F(VGridScrollTest, RowListFollowsTheTreeInPreOrder)
{
    std::vector<TcxEditorRow*> rows;
    for (int i = 0; i < 50; ++i)
        rows.push_back(AddEditor());
    TcxVerticalGridRows* list = grid->Rows();
    ASSERT_EQ(list->GetCount(), 50);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(list->GetRow(i), rows[i]);
    rows[3]->SetParent(rows[0]);
    EXPECT_EQ(list->GetRow(1), rows[3]);
    EXPECT_EQ(list->GetRow(2), rows[1]);
    EXPECT_EQ(rows[3]->GetAbsoluteIndex(), 1);
    EXPECT_EQ(list->FindRowByID(3), rows[3]);
    EXPECT_EQ(list->FindRowByID(-1), grid->Root());
    EXPECT_EQ(list->FindRowByID(99), nullptr);
    EXPECT_THROW(list->GetRow(50), EcxVerticalGridError);
    EXPECT_EQ(grid->NextRow(rows[0]), rows[3]);
    EXPECT_EQ(grid->PrevRow(nullptr), rows[49]);

    cxSetResourceString(&cxSvgAssignRowsError, "No rows to assign");
    try {
        list->AssignRows(nullptr);
        ADD_FAILURE() << "no error";
    } catch (const EcxVerticalGridError& e) {
        EXPECT_EQ(e.Message, "No rows to assign");
    }
    cxSetResourceString(&cxSvgAssignRowsError, "Can't assign rows");
}

TEST_F(VGridScrollTest, UpdateLockGivesOneRebuildNotice)
{
    grid->Rows()->BeginUpdate();
    int before = grid->rowNotices;
    for (int i = 0; i < 5; ++i)
        AddEditor()->SetVisible(false);
    EXPECT_EQ(grid->rowNotices, before);
    grid->Rows()->EndUpdate();
    EXPECT_EQ(grid->rowNotices, before + 1);
    EXPECT_EQ(grid->Rows()->GetCount(), 5);
}

TEST_F(VGridScrollTest, AssignRowsCopiesTheTreeWithItsIDs)
{
    auto* cat = grid->Add<TcxCategoryRow>();
    cat->Properties()->SetCaption("Group");
    auto* child = grid->AddChild<TcxEditorRow>(cat);
    child->SetHeight(30);
    auto* copy = new TcxVerticalGrid(form);
    copy->Add<TcxEditorRow>();
    copy->AssignRows(grid);
    ASSERT_EQ(copy->Rows()->GetCount(), 2);
    auto* cat2 = dynamic_cast<TcxCategoryRow*>(copy->Rows()->GetRow(0));
    ASSERT_TRUE(cat2);
    EXPECT_EQ(cat2->Properties()->GetCaption(), "Group");
    TcxCustomRow* child2 = copy->Rows()->GetRow(1);
    EXPECT_EQ(child2->GetParent(), cat2);
    EXPECT_EQ(child2->Height(), 30);
    EXPECT_EQ(child2->RowID(), child->RowID());
    // The counter only grows: new rows never take a copied ID.
    EXPECT_GT(copy->Rows()->GetNextID(), child->RowID());
}

TEST_F(VGridScrollTest, FifteenRowsFitAndPagesMoveWithinTheEnds)
{
    Make50();
    ASSERT_EQ(grid->ViewInfo()->GetMinRowHeight(), 18);
    ASSERT_EQ(grid->ViewInfo()->ClientRect().Height(), 300);
    EXPECT_EQ(scroller()->GetVisibleRowCount(), 15);
    struct Case {
        int from, to;
    };
    // The last top that still fills the page: 50 - 15.
    const Case cases[] = {{0, 15}, {30, 35}, {35, 35}, {20, 35}};
    for (const Case& c : cases)
        EXPECT_EQ(PageDownFrom(c.from), c.to) << "from " << c.from;
    int pos = 0;
    scroller()->Scroll(true, scPageUp, pos);
    EXPECT_EQ(pos, 20);
    scroller()->Scroll(true, scLineUp, pos);
    EXPECT_EQ(pos, 19);
    pos = 99;
    scroller()->Scroll(true, scTrack, pos);
    EXPECT_EQ(pos, 35);
    grid->SetTopVisibleRowIndex(-3);
    EXPECT_EQ(grid->GetTopVisibleRowIndex(), 0);
    // Position and end codes move nothing.
    pos = 7;
    scroller()->Scroll(true, scPosition, pos);
    EXPECT_EQ(grid->GetTopVisibleRowIndex(), 0);
}

TEST_F(VGridScrollTest, VerticalBarFollowsTheRows)
{
    Make50();
    EXPECT_TRUE(grid->VScrollBarVisible());
    EXPECT_FALSE(grid->HScrollBarVisible());
    EXPECT_EQ(grid->VScrollBar()->Max(), 49);
    EXPECT_EQ(grid->VScrollBar()->PageSize(), 15);
    grid->SetTopVisibleRowIndex(10);
    EXPECT_EQ(grid->VScrollBar()->Position(), 10);
}

TEST_F(VGridScrollTest, RowVisibilityScrollsTheLeastNeeded)
{
    Make50();
    TcxCustomRow* row20 = grid->Rows()->GetRow(20);
    scroller()->SetRowVisible(row20);
    EXPECT_EQ(grid->GetTopVisibleRowIndex(), 6);   // row 20 last on the page
    scroller()->SetRowVisible(grid->Rows()->GetRow(10));
    EXPECT_EQ(grid->GetTopVisibleRowIndex(), 6);   // already shown
    scroller()->SetRowVisible(grid->Rows()->GetRow(2));
    EXPECT_EQ(grid->GetTopVisibleRowIndex(), 2);
    grid->SetFocusedRow(grid->Rows()->GetRow(49));
    EXPECT_EQ(grid->GetTopVisibleRowIndex(), 35);

    // Hidden rows take no space.
    grid->BeginUpdate();
    for (int i = 0; i < 40; ++i)
        grid->Rows()->GetRow(i)->SetVisible(false);
    grid->EndUpdate();
    EXPECT_EQ(grid->ViewInfo()->GetVisibleRowCount(), 10);
    EXPECT_EQ(grid->GetTopVisibleRowIndex(), 0);
}

TEST_F(VGridScrollTest, RecordsAndTheRecordFocus)
{
    Show(200, 300);
    TcxDataController* dc = grid->DataController();
    ASSERT_EQ(grid->GetRecordCount(), 1);
    EXPECT_EQ(dc->GetFocusedRowIndex(), 0);
    EXPECT_FALSE(scroller()->SetRecordVisible(1));
    dc->AppendRecord();
    dc->AppendRecord();
    ASSERT_EQ(grid->GetRecordCount(), 3);
    EXPECT_TRUE(scroller()->GoToLast());
    EXPECT_EQ(dc->GetFocusedRowIndex(), 2);
    EXPECT_TRUE(scroller()->GoToFirst());
    EXPECT_EQ(dc->GetFocusedRowIndex(), 0);
    EXPECT_TRUE(scroller()->GoToNext());
    EXPECT_EQ(dc->GetFocusedRowIndex(), 1);
    EXPECT_TRUE(scroller()->GoToPrev());
    EXPECT_EQ(dc->GetFocusedRowIndex(), 0);

    TcxvgCustomScrollStrategy* s = scroller()->Strategy();
    EXPECT_TRUE(s->FocusNextRecord(-1, true));
    EXPECT_EQ(dc->GetFocusedRowIndex(), 0);
    EXPECT_FALSE(s->FocusNextRecord(2, true));
    EXPECT_EQ(s->FindNextRecord(-1, false), -1);
    EXPECT_EQ(s->FindNextRecord(0, false), -1);
    EXPECT_EQ(s->FindNextRecord(1, false), 0);
    // One record at a time in the single-record view: the left record follows.
    EXPECT_TRUE(scroller()->SetRecordVisible(2));
    EXPECT_EQ(grid->GetLeftVisibleRecord(), 2);
    EXPECT_FALSE(scroller()->SetRecordVisible(3));
}

TEST_F(VGridScrollTest, BandsCountATallRowOnce)
{
    grid->SetLayoutStyle(ulsBandsView);
    grid->RecreateViewInfo();
    grid->BeginUpdate();
    for (int i = 0; i < 6; ++i)
        AddEditor();
    grid->Rows()->GetRow(2)->SetHeight(400);   // taller than the client height
    grid->EndUpdate();
    Show(700, 200);
    TBandInfoList& bands = scroller()->GetBandsInfo();
    // Rows 0-1, the tall row alone, rows 3-5.
    ASSERT_EQ(bands.Count(), 3);
    EXPECT_EQ(bands.GetItem(0).RowsCount, 2);
    EXPECT_EQ(bands.GetItem(1).RowsCount, 1);
    EXPECT_EQ(bands.GetItem(1).FirstRow, 2);
    EXPECT_EQ(bands.GetItem(1).BandHeight, 401);
    EXPECT_EQ(bands.GetItem(2).FirstRow, 3);
    // Counting from the tall row: it fills one band and is counted there only.
    grid->OptionsView()->SetAutoScaleBands(false);
    int width = grid->ViewInfo()->ViewBandWidth;
    ASSERT_GT(width, 0);
    TcxvgCustomScrollStrategy* s = scroller()->Strategy();
    EXPECT_EQ(s->GetVisibleCountFromTop(2, 200), 4);
}

// The layout keeps its list of visible rows across scrolling; every change of the tree, of a
// row's visibility or of an expansion must still show in the list and in the lookups.
TEST_F(VGridScrollTest, VisibleRowListFollowsChangesMadeAfterScrolling)
{
    auto* cat = grid->Add<TcxCategoryRow>();
    cat->Properties()->SetCaption("Group");
    TcxEditorRow* child = AddEditor("Child");
    child->SetParent(cat);
    Make50();
    auto visible = [&] { return grid->ViewInfo()->GetVisibleRowCount(); };
    ASSERT_EQ(visible(), 52);
    EXPECT_EQ(PageDownFrom(0), 15);
    EXPECT_EQ(grid->NextVisibleRow(cat), child);

    struct Step {
        const char* what;
        std::function<void()> change;
        int visibleRows;
        TcxCustomRow* afterCategory;
    };
    TcxCustomRow* first = grid->Rows()->GetRow(2);
    TcxCustomRow* second = grid->Rows()->GetRow(3);
    TcxCustomRow* third = grid->Rows()->GetRow(4);
    const Step steps[] = {
        {"collapse", [&] { cat->Collapse(false); }, 51, first},
        {"expand", [&] { cat->Expand(false); }, 52, child},
        {"hide child", [&] { child->SetVisible(false); }, 51, first},
        {"show child", [&] { child->SetVisible(true); }, 52, child},
        {"move child out", [&] { child->SetParent(nullptr); }, 52, first},
        {"hide next", [&] { first->SetVisible(false); }, 51, second},
        {"free a hidden row", [&] { first->Free(); }, 51, second},
        {"free a shown row", [&] { second->Free(); }, 50, third},
    };
    for (const Step& s : steps) {
        s.change();
        grid->SetTopVisibleRowIndex(10);   // a scroll between change and read
        EXPECT_EQ(visible(), s.visibleRows) << s.what;
        EXPECT_EQ(grid->NextVisibleRow(cat), s.afterCategory) << s.what;
        EXPECT_EQ(grid->PrevVisibleRow(s.afterCategory), cat) << s.what;
        EXPECT_EQ(grid->LastVisibleRow(), grid->ViewInfo()->GetVisibleRow(visible() - 1)) << s.what;
    }
    EXPECT_EQ(grid->LastVisibleRow(), child);
}
