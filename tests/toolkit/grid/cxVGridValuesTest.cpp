// Editor rows' values: the focused record's field, the edit buffer while a record is edited, no
// records, no grid; and the console's operations on rows built in code before the grid shows.
#include "VGridTestSupport.h"

#include "platform/rtl/Streams.h"

using namespace vgtest;

TEST_F(VGridTest, ValuesReadBackByValueType)
{
    struct Case {
        const char* valueType;
        Variant value;
    };
    const Case cases[] = {
        {"Integer", Variant(5000)}, {"Integer", Variant(0)}, {"String", Variant(std::string("第8字节"))}};
    for (const Case& c : cases) {
        TcxEditorRow* row = AddEditor("", c.valueType);
        row->GetProperties()->SetValue(c.value);
        EXPECT_EQ(row->GetProperties()->GetValue(), c.value) << c.valueType;
        EXPECT_EQ(grid->DataController()->GetValue(0, row->Properties()->GetItemIndex()), c.value);
    }
    // Each row is its own field of the one record.
    EXPECT_EQ(grid->DataController()->GetItemCount(), 3);
}

TEST_F(VGridTest, ValueWhileARecordIsEditedGoesToTheEditBuffer)
{
    TcxEditorRow* row = AddEditor("", "Integer");
    row->GetProperties()->SetValue(1);
    TcxDataController* dc = grid->DataController();
    dc->Edit();
    row->GetProperties()->SetValue(2);
    EXPECT_TRUE(dc->GetEditState().Contains(dceModified));
    dc->Cancel();
    EXPECT_EQ(row->GetProperties()->GetValue(), Variant(1));
    dc->Edit();
    row->GetProperties()->SetValue(3);
    dc->Post();
    EXPECT_EQ(row->GetProperties()->GetValue(), Variant(3));
}

TEST_F(VGridTest, NoRecordsOrNoGridMeanNullAndDroppedWrites)
{
    TcxEditorRow* row = AddEditor("", "Integer");
    row->GetProperties()->SetValue(7);
    grid->DataController()->SetRecordCount(0);
    EXPECT_TRUE(row->GetProperties()->GetValue().IsNull());
    row->GetProperties()->SetValue(8);
    EXPECT_EQ(grid->GetRecordCount(), 0);
    EXPECT_TRUE(row->GetProperties()->GetValue().IsNull());

    auto* loose = new TcxEditorRow(form);
    loose->GetProperties()->SetValue(9);
    EXPECT_TRUE(loose->GetProperties()->GetValue().IsNull());
    EXPECT_TRUE(loose->GetProperties()->GetValueByIndex(0).IsNull());
}

TEST_F(VGridTest, AssignCopiesEditorKindBindingAndValue)
{
    TcxEditorRow* source = AddEditor("Delay", "Integer");
    source->GetProperties()->SetValue(42);
    TcxEditorRow* target = AddEditor();
    target->GetProperties()->Assign(source->GetProperties());
    EXPECT_EQ(target->GetProperties()->GetCaption(), "Delay");
    EXPECT_EQ(target->GetProperties()->DataBinding()->ValueType(), "Integer");
    EXPECT_EQ(target->GetProperties()->GetValue(), Variant(42));
}

TEST_F(VGridTest, RemovingARowTakesItsFieldOut)
{
    TcxEditorRow* first = AddEditor("", "Integer");
    TcxEditorRow* second = AddEditor("", "Integer");
    second->GetProperties()->SetValue(5);
    first->Free();
    EXPECT_EQ(grid->DataController()->GetItemCount(), 1);
    EXPECT_EQ(second->GetProperties()->GetItemIndex(), 0);
    EXPECT_EQ(second->GetProperties()->GetValue(), Variant(5));
}

TEST_F(VGridTest, ConsoleOperationsOnFiftyRowsBeforeTheGridShows)
{
    // As a form reads them: the value type before the value, the value once the row hangs under
    // the grid.
    std::vector<TcxEditorRow*> rows = BuildDelayRows("Integer");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i]->GetProperties()->SetValue(0);
        rows[i]->GetProperties()->SetCaption("Byte " + std::to_string(i + 1));
    }
    struct Case {
        int row, value;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {25, 4999}, {49, 5000}};
    for (const Case& c : cases)
        rows[c.row]->GetProperties()->SetValue(c.value);
    rows[25]->SetVisible(false);
    for (const Case& c : cases)
        EXPECT_EQ(rows[c.row]->GetProperties()->GetValue(), Variant(c.value)) << "row " << c.row;
    EXPECT_EQ(grid->OptionsView()->RowHeaderWidth(), 114);

    Show(181, 400);
    EXPECT_EQ(grid->OptionsView()->RowHeaderWidth(), 114);
    EXPECT_EQ(grid->ViewInfo()->GetVisibleRowCount(), 49);
    EXPECT_EQ(rows[49]->GetProperties()->GetValue(), Variant(5000));

    // Once laid out: the same caption lays out nothing; a visibility change lays out once.
    int layouts = grid->ViewInfo()->CalculateCount();
    rows[3]->GetProperties()->SetCaption("Byte 4");
    EXPECT_EQ(grid->ViewInfo()->CalculateCount(), layouts);
    rows[3]->SetVisible(false);
    EXPECT_EQ(grid->ViewInfo()->CalculateCount(), layouts + 1);
}

TEST_F(VGridTest, EditorRowPropertiesReplayInTheirFormOrder)
{
    TcxEditorRow* source = AddEditor("Byte 1", "Integer");
    source->GetProperties()->SetValue(4999);
    TMemoryStream stream;
    {
        TWriter writer(&stream, 64);
        source->GetProperties()->WriteStreamValues(&writer);
    }
    stream.SetPosition(0);
    // A row read from a form: its values reach it once it hangs under the grid.
    auto* copy = new TcxEditorRow(form);
    copy->SetParentComponent(grid);
    std::vector<std::string> names;
    TReader reader(&stream, 64);
    while (!reader.EndOfStream()) {
        names.push_back(reader.ReadString());
        copy->GetProperties()->ReadStreamValue(names.back(), &reader);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Caption", "DataBinding.ValueType", "Value"}));
    EXPECT_EQ(copy->GetProperties()->GetCaption(), "Byte 1");
    EXPECT_EQ(copy->GetProperties()->GetValue(), Variant(4999));
    EXPECT_EQ(VarType(copy->GetProperties()->GetValue()), varInteger);

    TMemoryStream bad;
    {
        TWriter writer(&bad, 64);
        writer.WriteInteger(1);
    }
    bad.SetPosition(0);
    TReader badReader(&bad, 64);
    EXPECT_THROW(copy->GetProperties()->ReadStreamValue("NoSuchProperty", &badReader), EReadError);
}
