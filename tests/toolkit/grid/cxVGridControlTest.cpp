// The grid control: construction, class checks, options and their clamps, the header width rule,
// loading a form, renaming, and the console's use of 50 rows built in code.
#include "VGridTestSupport.h"

#include "platform/rtl/Streams.h"

#include <algorithm>

#include <QTest>

using namespace vgtest;

TEST_F(VGridTest, NewGridDefaults)
{
    auto* plain = new TcxVerticalGrid(form);
    EXPECT_EQ(plain->Width(), 150);
    EXPECT_EQ(plain->Height(), 200);
    EXPECT_EQ(plain->GetRecordCount(), 1);
    EXPECT_EQ(plain->DataController()->GetFocusedRowIndex(), 0);
    EXPECT_FALSE(plain->HasRows());
    EXPECT_EQ(plain->LayoutStyle(), ulsSingleRecordView);
    EXPECT_TRUE(dynamic_cast<TcxInspectorViewInfo*>(plain->ViewInfo()));
    EXPECT_TRUE(dynamic_cast<TcxvgSingleRecordScrollStrategy*>(plain->Scroller()->Strategy()));
    TcxvgOptionsView* o = plain->OptionsView();
    EXPECT_EQ(o->RowHeaderWidth(), 100);
    EXPECT_EQ(o->ValueWidth(), 100);
    EXPECT_EQ(o->RowHeaderMinWidth(), 24);
    EXPECT_EQ(o->ValueMinWidth(), 40);
    EXPECT_EQ(o->GridLines(), vglBoth);
    EXPECT_EQ(o->PaintStyle(), psdotNet);
    EXPECT_EQ(o->GridLineColor(), clBtnFace);
    EXPECT_FALSE(plain->OptionsBehavior()->AlwaysShowEditor());
    EXPECT_TRUE(plain->OptionsData()->Editing() && plain->OptionsData()->CancelOnExit);
    EXPECT_TRUE(plain->CategoryFont()->GetStyle() & FontStyle(fsBold));
    EXPECT_EQ(plain->Root()->RowID(), -1);
}

TEST_F(VGridTest, PaintStyleDecidesUnassignedValues)
{
    TcxvgOptionsView* o = grid->OptionsView();
    o->SetPaintStyle(psDelphi);
    EXPECT_TRUE(grid->OptionsBehavior()->AlwaysShowEditor());
    EXPECT_EQ(o->GridLineColor(), clBtnShadow);
    o->SetGridLineColor(clRed);
    EXPECT_EQ(o->GridLineColor(), clRed);
    grid->OptionsBehavior()->SetAlwaysShowEditor(false);
    EXPECT_FALSE(grid->OptionsBehavior()->AlwaysShowEditor());
    grid->RestoreDefaults();
    EXPECT_TRUE(grid->OptionsBehavior()->AlwaysShowEditor());
    EXPECT_EQ(o->GridLineColor(), clBtnShadow);
}

TEST_F(VGridTest, OptionClamps)
{
    TcxvgOptionsView* o = grid->OptionsView();
    struct Case {
        const char* what;
        std::function<void()> set;
        std::function<int()> get;
        int expected;
    };
    const Case cases[] = {
        {"ValueMinWidth 10", [&] { o->SetValueMinWidth(10); }, [&] { return o->ValueMinWidth(); }, 20},
        {"ValueMinWidth back to 40", [&] { o->SetValueMinWidth(40); }, [&] { return o->ValueMinWidth(); }, 40},
        {"ValueWidth 30", [&] { o->SetValueWidth(30); }, [&] { return o->ValueWidth(); }, 40},
        {"ValueMinWidth 60 re-applies ValueWidth", [&] { o->SetValueMinWidth(60); }, [&] { return o->ValueWidth(); }, 60},
        {"RowHeaderWidth 10", [&] { o->SetRowHeaderWidth(10); }, [&] { return o->RowHeaderWidth(); }, 24},
        {"RowHeaderMinWidth -3", [&] { o->SetRowHeaderMinWidth(-3); }, [&] { return o->RowHeaderMinWidth(); }, 0},
        {"RowHeight -7", [&] { o->SetRowHeight(-7); }, [&] { return o->RowHeight(); }, -1},
        {"BandsInterval -2", [&] { o->SetBandsInterval(-2); }, [&] { return o->BandsInterval(); }, 0},
    };
    for (const Case& c : cases) {
        c.set();
        EXPECT_EQ(c.get(), c.expected) << c.what;
    }
}

TEST_F(VGridTest, RowClassCheckUsesTheOverridableText)
{
    cxSetResourceString(&cxSvgInvalidRowClass, "Row kind refused");
    try {
        grid->Add(TcxCustomRowClass::Of<TcxCustomEditorRow>());
        ADD_FAILURE() << "no error";
    } catch (const EcxVerticalGridError& e) {
        EXPECT_EQ(e.Message, "Row kind refused");
    }
    EXPECT_THROW(grid->Add(TcxCustomRowClass()), EcxVerticalGridError);
    cxSetResourceString(&cxSvgInvalidRowClass, "Can't create row");
    EXPECT_FALSE(grid->HasRows());
    EXPECT_EQ(form->ComponentCount(), 1);   // nothing created
    EXPECT_NO_THROW(grid->Add<TcxCategoryRow>());
    EXPECT_NO_THROW(grid->Add<TcxMultiEditorRow>());
}

TEST_F(VGridTest, NavigationOverVisibleRows)
{
    auto* a = grid->Add<TcxCategoryRow>();
    auto* a1 = grid->AddChild<TcxEditorRow>(a);
    auto* b = AddEditor("Second");
    a->SetVisible(false);
    b->SetVisible(false);
    // Only top-level rows count, even when a hidden row has visible children.
    EXPECT_EQ(grid->FirstVisibleRow(), nullptr);
    EXPECT_FALSE(grid->IsRowVisible(a1));
    a->SetVisible(true);
    a->Collapse(false);
    EXPECT_EQ(grid->NextVisibleRow(a), nullptr);
    a->Expand(false);
    EXPECT_EQ(grid->NextVisibleRow(a), a1);
    EXPECT_EQ(grid->LastVisibleRow(), a1);
    EXPECT_EQ(grid->PrevVisibleRow(nullptr), a1);
    EXPECT_EQ(grid->RowByCaption("second"), b);
    a1->SetName("EditorA1");
    EXPECT_EQ(grid->RowByName("editora1"), a1);
    grid->FullCollapse();
    EXPECT_FALSE(a->Expanded());
    grid->FullExpand();
    EXPECT_TRUE(a->Expanded());
}

TEST_F(VGridTest, LoadingAFormRebuildsTheNesting)
{
    // A form read flat: rows hang under the root in reading order with their stream values.
    struct Stored {
        int id, parentID, index;
    };
    const Stored stored[] = {{10, -1, 1}, {11, 12, 0}, {12, -1, 0}, {13, 12, 1}, {14, 11, 0}};
    grid->SetLoading(true);
    std::vector<TcxCustomRow*> rows;
    for (const Stored& s : stored) {
        auto* row = new TcxEditorRow(form);
        TMemoryStream stream;
        {
            TWriter writer(&stream, 64);
            for (int v : {s.id, s.parentID, s.index, 1})
                writer.WriteInteger(v);
        }
        stream.SetPosition(0);
        TReader reader(&stream, 64);
        for (const char* name : {"ID", "ParentID", "Index", "Version"})
            row->ReadDefinedProperty(name, &reader);
        row->SetParentComponent(grid);
        rows.push_back(row);
    }
    {
        TMemoryStream stream;
        {
            TWriter writer(&stream, 16);
            grid->WriteVersion(&writer);
        }
        stream.SetPosition(0);
        TReader reader(&stream, 16);
        grid->ReadVersion(&reader);
    }
    grid->Loaded();
    // 12 first, then 10; under 12: 11 (with 14 under it), then 13.
    TcxVerticalGridRows* list = grid->Rows();
    ASSERT_EQ(list->GetCount(), 5);
    const int order[] = {2, 1, 4, 3, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list->GetRow(i), rows[order[i]]) << i;
    EXPECT_EQ(rows[4]->GetParent(), rows[1]);
    EXPECT_EQ(rows[4]->GetLevel(), 2);
    EXPECT_FALSE(grid->OptionsBehavior()->AlwaysShowEditor());
}

namespace {
// The grid's stream values written and read back into another grid, as a form replays them.
std::vector<std::string> ReplayGridValues(TcxCustomVerticalGrid* source, TcxCustomVerticalGrid* target)
{
    TMemoryStream stream;
    {
        TWriter writer(&stream, 64);
        source->WriteStreamValues(&writer);
    }
    stream.SetPosition(0);
    TReader reader(&stream, 64);
    std::vector<std::string> names;
    target->SetLoading(true);
    while (!reader.EndOfStream()) {
        names.push_back(reader.ReadString());
        target->ReadStreamValue(names.back(), &reader);
    }
    target->Loaded();
    return names;
}
} // namespace

TEST_F(VGridTest, GridValuesStreamOnlyWhatDiffersAndReadBack)
{
    auto* plain = new TcxVerticalGrid(form);
    EXPECT_EQ(ReplayGridValues(plain, new TcxVerticalGrid(form)), std::vector<std::string>{"Version"});

    TcxvgOptionsView* v = grid->OptionsView();
    TcxvgOptionsBehavior* b = grid->OptionsBehavior();
    v->SetPaintStyle(psDelphi);
    v->SetGridLineColor(clRed);
    v->SetGridLines(vglHorizontal);
    v->SetScrollBars(ssVertical);
    v->SetValueMinWidth(20);
    v->SetValueWidth(30);   // below the default minimum: must survive the read
    v->SetRowHeight(22);
    v->SetShowHeaders(false);
    b->SetAlwaysShowEditor(false);   // assigned against the 3D style's default
    b->SetGoToNextCellOnTab(true);
    b->RowSizing = true;
    auto* copy = new TcxVerticalGrid(form);
    const std::vector<std::string> names = ReplayGridValues(grid, copy);
    EXPECT_EQ(names.back(), "Version");
    EXPECT_EQ(std::count(names.begin(), names.end(), "OptionsView.CellAutoHeight"), 0);   // default: not written
    TcxvgOptionsView* cv = copy->OptionsView();
    TcxvgOptionsBehavior* cb = copy->OptionsBehavior();
    EXPECT_EQ(cv->PaintStyle(), psDelphi);
    EXPECT_TRUE(cv->IsGridLineColorAssigned());
    EXPECT_EQ(cv->GridLineColor(), clRed);
    EXPECT_EQ(cv->GridLines(), vglHorizontal);
    EXPECT_EQ(cv->ScrollBars(), ssVertical);
    EXPECT_EQ(cv->ValueMinWidth(), 20);
    EXPECT_EQ(cv->ValueWidth(), 30);
    EXPECT_EQ(cv->RowHeight(), 22);
    EXPECT_FALSE(cv->ShowHeaders());
    EXPECT_TRUE(cb->IsAlwaysShowEditorAssigned());
    EXPECT_FALSE(cb->AlwaysShowEditor());
    EXPECT_TRUE(cb->GoToNextCellOnTab());
    EXPECT_TRUE(cb->RowSizing);

    // A name the grid does not know and a value outside an enumeration are read errors.
    TMemoryStream bad;
    {
        TWriter writer(&bad, 64);
        writer.WriteString("psNoSuchStyle");
        writer.WriteInteger(1);
    }
    bad.SetPosition(0);
    TReader reader(&bad, 64);
    EXPECT_THROW(copy->ReadStreamValue("OptionsView.PaintStyle", &reader), EReadError);
    EXPECT_EQ(cv->PaintStyle(), psDelphi);
    EXPECT_THROW(copy->ReadStreamValue("OptionsView.NoSuchOption", &reader), EReadError);
}

TEST_F(VGridTest, LoadingACycleLeavesTheRowInPlace)
{
    grid->SetLoading(true);
    std::vector<TcxCustomRow*> rows;
    // 1 says its parent is 2, 2 says its parent is 1.
    for (auto [id, parent] : {std::pair{1, 2}, std::pair{2, 1}}) {
        auto* row = new TcxCategoryRow(form);
        TMemoryStream stream;
        {
            TWriter writer(&stream, 64);
            for (int v : {id, parent, 0})
                writer.WriteInteger(v);
        }
        stream.SetPosition(0);
        TReader reader(&stream, 64);
        for (const char* name : {"ID", "ParentID", "Index"})
            row->ReadDefinedProperty(name, &reader);
        row->SetParentComponent(grid);
        rows.push_back(row);
    }
    TMemoryStream stream;
    {
        TWriter writer(&stream, 16);
        grid->WriteVersion(&writer);
    }
    stream.SetPosition(0);
    TReader reader(&stream, 16);
    grid->ReadVersion(&reader);
    grid->Loaded();
    EXPECT_EQ(rows[0]->GetParent(), rows[1]);
    EXPECT_EQ(rows[1]->GetParent(), nullptr);
    EXPECT_EQ(grid->Rows()->GetCount(), 2);
}

TEST_F(VGridTest, RenamingTheGridRenamesItsRows)
{
    grid->SetName("Grid1");
    TcxEditorRow* r3 = AddEditor();
    r3->SetName("Grid1Row3");
    TcxEditorRow* other = AddEditor();
    other->SetName("OtherRow");
    TcxEditorRow* inside = AddEditor();
    inside->SetName("MyGrid1Row");
    grid->SetName("Grid2");
    EXPECT_EQ(r3->Name(), "Grid2Row3");
    EXPECT_EQ(other->Name(), "OtherRow");
    EXPECT_EQ(inside->Name(), "MyGrid1Row");
}

TEST_F(VGridTest, ConsoleRowsBuiltBeforeTheGridShows)
{
    std::vector<TcxEditorRow*> rows = BuildDelayRows();
    // The five operations before there is a window.
    rows[7]->GetProperties()->SetCaption("第8字节");
    rows[8]->SetVisible(false);
    EXPECT_EQ(rows[7]->GetProperties()->GetCaption(), "第8字节");
    EXPECT_FALSE(rows[8]->Visible());
    EXPECT_EQ(grid->Rows()->GetCount(), 50);
    EXPECT_EQ(grid->OptionsView()->RowHeaderWidth(), 114);

    Show(181, 300);
    EXPECT_EQ(grid->OptionsView()->RowHeaderWidth(), 114);
    EXPECT_EQ(grid->ViewInfo()->GetVisibleRowCount(), 49);
    EXPECT_EQ(grid->ViewInfo()->ViewHeaderWidth, 114);

    // At 150 x 200, a width asked for after the first layout keeps room for the values.
    grid->SetBounds(0, 0, 150, 200);
    grid->OptionsView()->SetRowHeaderWidth(114);
    int band = grid->ViewInfo()->ViewBandWidth;
    EXPECT_EQ(grid->OptionsView()->RowHeaderWidth(), band - 40);
}

TEST_F(VGridTest, DefaultStyleValuesComeFromThePaintStyleHelper)
{
    grid->Font()->SetColor(clMaroon);
    struct Case {
        int index;
        TFont* font;
        TColor color, textColor;
    };
    const Case cases[] = {
        {0, grid->Font(), clWindow, clWindowText},           // content
        {1, grid->Font(), clWindow, clMaroon},               // background: the header colour
        {4, grid->CategoryFont(), clBtnFace, clGrayText},    // category
        {5, grid->Font(), clWindow, clWindowText},           // header
        {6, grid->Font(), clDefault, clDefault},             // incremental search
    };
    for (const Case& c : cases) {
        TcxViewParams params;
        params.Color = clNone;
        grid->GetDefaultViewParams(c.index, nullptr, params);
        EXPECT_EQ(params.Font, c.font) << c.index;
        EXPECT_EQ(params.Color, c.color) << c.index;
        EXPECT_EQ(params.TextColor, c.textColor) << c.index;
        EXPECT_EQ(params.Bitmap, nullptr);
    }
}

TEST_F(VGridTest, EditingEventsNameTheRowProperties)
{
    TcxEditorRow* row = AddEditor("A", "Integer");
    std::vector<TcxCustomEditorRowProperties*> seen;
    bool allow = false;
    grid->OnEditing = [&](TObject*, TcxCustomEditorRowProperties* properties, bool& a) {
        seen.push_back(properties);
        a = allow;
    };
    grid->OnEdited = [&](TObject*, TcxCustomEditorRowProperties* properties) { seen.push_back(properties); };
    TcxCellEdit* item = row->GetEditContainer(0);
    EXPECT_FALSE(grid->DoEditing(item));
    allow = true;
    EXPECT_TRUE(grid->DoEditing(item));
    grid->DoEdited(item);
    EXPECT_EQ(seen, (std::vector<TcxCustomEditorRowProperties*>(3, row->GetProperties())));
}

TEST_F(VGridTest, RowsOutliveTheirGridAndItsLayout)
{
    TcxEditorRow* row = AddEditor("A", "Integer");
    auto* cat = grid->Add<TcxCategoryRow>();
    Show(200, 150);
    ASSERT_TRUE(grid->ViewInfo()->GetRowViewInfo(row));
    grid->Free();
    grid = nullptr;
    // The form's rows are detached and keep nothing of the freed layout.
    EXPECT_EQ(row->VerticalGrid(), nullptr);
    EXPECT_TRUE(row->GetProperties()->GetValue().IsNull());
    row->Free();
    cat->Free();
}

// Enter with GoToNextCellOnEnter moves to the next row and opens its editor at once.
TEST_F(VGridTest, EnterMovesOnAndOpensTheNextEditor)
{
    TcxEditorRow* a = AddEditor("A", "Integer");
    TcxEditorRow* b = AddEditor("B", "Integer");
    Show(220, 120);
    form->Show();
    grid->SetFocus();
    vcl::DrainPostedMessages();
    grid->SetFocusedRow(a);
    grid->OptionsBehavior()->SetGoToNextCellOnEnter(true);
    QTest::keyClick(grid->Peer(), Qt::Key_Return);
    vcl::DrainPostedMessages();
    EXPECT_EQ(grid->GetFocusedRow(), b);
    ASSERT_TRUE(grid->GetIsEditing());
    EXPECT_EQ(grid->EditingController()->EditingItem(), b->GetEditContainer(0));
}
