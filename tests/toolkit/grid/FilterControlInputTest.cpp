// The filter builder's keyboard and mouse: focus movement, adding and removing rows and values,
// drop-down lists, the row menu and the value editors, driven by real Qt keys and clicks.
#include "FilterBuilderTestSupport.h"

#include "platform/vcl/Menus.h"
#include "toolkit/editors/cxButtonEdit.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxMaskEdit.h"
#include "toolkit/editors/cxSpinEdit.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

namespace {

using namespace fbtest;

class FilterInputTest : public FilterBuilderTest {
protected:
    // A condition on the integer row (or the item given) with the operator and values given.
    TcxConditionViewInfo* AddReading(TcxFilterControlOperator op, std::vector<int> values, int item = 1)
    {
        builder->AddCondition(nullptr);
        TcxConditionViewInfo* c = dynamic_cast<TcxConditionViewInfo*>(builder->FocusedRow());
        c->SetItem(item);
        c->SetOperator(op);
        c->InitValues(false);
        while (c->Values()->Count() < int(values.size()))
            c->Values()->AddValue();
        for (std::size_t i = 0; i < values.size(); ++i) {
            c->Values()->Items(int(i))->Value = Variant(values[i]);
            c->Values()->Items(int(i))->ValueText = std::to_string(values[i]);
        }
        builder->LayoutChanged();
        return c;
    }
    void Focus(TcxFilterRowViewInfo* row, TcxFilterControlHitTest part, int value = -1)
    {
        builder->SetFocusedRow(row);
        builder->RowNavigate(part, value);
    }
    void Click(const TRect& r)
    {
        QTest::mouseClick(builder->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(r.Left + 2, r.Top + r.Height() / 2));
        vcl::DrainPostedMessages();
    }
};

TEST_F(FilterInputTest, WithoutALinkKeysAndClicksDoNothing)
{
    NewBuilder(false);
    for (Qt::Key key : {Qt::Key_Insert, Qt::Key_Return, Qt::Key_Space, Qt::Key_Down})
        Key(key);
    Click(builder->ViewInfo()->AddConditionRect);
    EXPECT_EQ(builder->RowCount(), 1);
    EXPECT_EQ(builder->State(), fcsNormal);
    EXPECT_EQ(builder->FocusedRow(), builder->Root());
}

TEST_F(FilterInputTest, InsertAddsToTheRowsGroupAndFocusesTheItem)
{
    NewBuilder();
    Key(Qt::Key_Insert);   // on the root
    ASSERT_EQ(builder->RowCount(), 2);
    builder->AddGroup();   // a group with one condition under the root
    ASSERT_EQ(builder->RowCount(), 4);
    TcxGroupViewInfo* group = Group(2);
    ASSERT_TRUE(group);
    struct Case {
        TcxFilterRowViewInfo* row;
        TcxGroupViewInfo* expectedGroup;
    };
    for (const Case& c : {Case{Condition(3), group}, Case{group, group}, Case{Condition(1), builder->Root()}}) {
        const int before = c.expectedGroup->ChildCount();
        Focus(c.row, c.row->IsGroup() ? fhtBoolOperator : fhtOperator);
        Key(Qt::Key_Insert);
        EXPECT_EQ(c.expectedGroup->ChildCount(), before + 1);
        EXPECT_EQ(builder->FocusedRow(), c.expectedGroup->Children(before));
        EXPECT_EQ(builder->FocusedPart(), fhtItem);
    }
}

TEST_F(FilterInputTest, RemovingTheOnlyConditionOfANestedGroupRemovesTheGroup)
{
    NewBuilder();
    builder->AddCondition(nullptr);
    builder->AddGroup();
    ASSERT_EQ(builder->RowCount(), 4);
    Focus(Condition(3), fhtItem);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(builder->RowCount(), 2);
    EXPECT_EQ(builder->FocusedRow(), builder->Rows(1));
    EXPECT_EQ(builder->FocusedPart(), fhtItem);
    Key(Qt::Key_Delete, Qt::ControlModifier);   // the root's only condition: the root stays
    EXPECT_EQ(builder->RowCount(), 1);
    EXPECT_EQ(builder->FocusedRow(), builder->Root());
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(builder->RowCount(), 1);
}

TEST_F(FilterInputTest, RightAndTabWalkThePartsToTheAddButtons)
{
    NewBuilder();
    builder->SetWantTabs(true);
    TcxConditionViewInfo* in = AddReading(fcoInList, {1, 2});
    TcxConditionViewInfo* last = AddReading(fcoEqual, {5});
    Focus(in, fhtValue, 1);
    Key(Qt::Key_Right);
    EXPECT_EQ(builder->FocusedPart(), fhtAddValue);
    Key(Qt::Key_Tab);
    EXPECT_EQ(builder->FocusedRow(), last);
    EXPECT_EQ(builder->FocusedPart(), fhtButton);
    const std::vector<TcxFilterControlHitTest> walk = {fhtItem, fhtOperator, fhtValue, fhtAddCondition, fhtAddCondition};
    for (TcxFilterControlHitTest part : walk) {
        Key(Qt::Key_Tab);
        EXPECT_EQ(builder->FocusedPart(), part);
    }
    Key(Qt::Key_Tab, Qt::ShiftModifier);   // back up to the last row's last part
    EXPECT_EQ(builder->FocusedRow(), last);
    EXPECT_EQ(builder->FocusedPart(), fhtValue);
    Key(Qt::Key_Up);
    EXPECT_EQ(builder->FocusedRow(), in);
    EXPECT_EQ(builder->FocusedPart(), fhtItem);
}

TEST_F(FilterInputTest, CtrlDeleteOnAValueOfAListRemovesOnlyThatValue)
{
    NewBuilder();
    TcxConditionViewInfo* in = AddReading(fcoInList, {1, 2, 3});
    Focus(in, fhtValue, 1);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(builder->RowCount(), 2);
    ASSERT_EQ(in->Values()->Count(), 2);
    EXPECT_EQ(in->Values()->Items(1)->ValueText, "3");
    EXPECT_EQ(builder->FocusedValueIndex(), 0);
    TcxConditionViewInfo* single = AddReading(fcoEqual, {7});
    Focus(single, fhtValue, 0);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(builder->RowCount(), 2);
}

TEST_F(FilterInputTest, TypingOnAValueOpensItsEditorEscKeepsTheOldValue)
{
    NewBuilder();
    TcxConditionViewInfo* c = AddReading(fcoEqual, {5});
    Focus(c, fhtValue, 0);
    Type("7");
    ASSERT_TRUE(builder->ValueEditor());
    EXPECT_EQ(builder->State(), fcsSelectingValue);
    EXPECT_EQ(dynamic_cast<TcxCustomTextEdit*>(builder->ValueEditor())->Text(), "7");
    Key(Qt::Key_Escape, Qt::NoModifier, Field(builder->ValueEditor()));
    EXPECT_FALSE(builder->ValueEditor());
    EXPECT_EQ(c->Values()->Items(0)->ValueText, "5");
    EXPECT_TRUE(builder->Focused());

    Type("8");
    Key(Qt::Key_Return, Qt::NoModifier, Field(builder->ValueEditor()));
    EXPECT_FALSE(builder->ValueEditor());
    EXPECT_EQ(c->Values()->Items(0)->ValueText, "8");
    EXPECT_EQ(c->Values()->Items(0)->Value.ToString(), "8");
}

TEST_F(FilterInputTest, AnInvalidValueIsReportedOnceAndItsEditorStays)
{
    NewBuilder();
    TcxConditionViewInfo* c = AddReading(fcoEqual, {5});
    Focus(c, fhtValue, 0);
    Type("x");
    ASSERT_TRUE(builder->ValueEditor());
    TcxCustomEdit* editor = builder->ValueEditor();
    Key(Qt::Key_Return, Qt::NoModifier, Field(editor));
    EXPECT_EQ(shown, std::vector<std::string>{"Invalid value."});
    EXPECT_EQ(builder->ValueEditor(), editor);
    EXPECT_TRUE(builder->ValueRejected());
    EXPECT_TRUE(editor->IsFocused());
    // Meanwhile clicks on the builder are ignored.
    const int rows = builder->RowCount();
    Click(builder->ViewInfo()->AddConditionRect);
    EXPECT_EQ(builder->RowCount(), rows);
    EXPECT_EQ(c->Values()->Items(0)->ValueText, "5");
}

// A value type whose check fails with an error of its own kind.
class TcxOutOfRangeValueType : public TcxIntegerValueType {
    RTL_CLASS(TcxOutOfRangeValueType, TcxIntegerValueType)
    static TcxValueTypeClass Class() { return TcxValueType::Of<TcxOutOfRangeValueType>(); }
    bool IsValueValid(Variant&) const override { throw std::out_of_range("no such reading"); }
};

// Whatever the value check throws, the user is told "Invalid value" and the editor stays open.
TEST_F(FilterInputTest, AValueCheckThatFailsInAnyWayReportsAnInvalidValue)
{
    static_cast<TcxEditorRow*>(host->Rows()->GetRow(1))
        ->Properties()
        ->DataBinding()
        ->SetValueTypeClass(TcxOutOfRangeValueType::Class());
    NewBuilder();
    TcxConditionViewInfo* c = AddReading(fcoEqual, {5});
    Focus(c, fhtValue, 0);
    Type("7");
    TcxCustomEdit* editor = builder->ValueEditor();
    ASSERT_TRUE(editor);
    Key(Qt::Key_Return, Qt::NoModifier, Field(editor));
    EXPECT_EQ(shown, std::vector<std::string>{"Invalid value."});
    EXPECT_EQ(builder->ValueEditor(), editor);
    EXPECT_EQ(c->Values()->Items(0)->ValueText, "5");
    Key(Qt::Key_Escape, Qt::NoModifier, Field(editor));
    EXPECT_FALSE(builder->ValueEditor());
}

TEST_F(FilterInputTest, ChoosingAStringItemSetsLikeAndSpaceActsAsEnter)
{
    NewBuilder();
    AddReading(fcoEqual, {5});
    TcxConditionViewInfo* c = Condition(1);
    Focus(c, fhtItem);
    Key(Qt::Key_Return);
    ASSERT_EQ(builder->State(), fcsSelectingItem);
    TcxComboBox* combo = builder->ComboBox();
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_EQ(combo->Properties()->Items(), (std::vector<std::string>{"Meter", "Reading"}));
    Key(Qt::Key_Up, Qt::NoModifier, Field(combo));
    Key(Qt::Key_Space, Qt::NoModifier, Field(combo));
    EXPECT_FALSE(combo->Visible());
    EXPECT_EQ(builder->State(), fcsNormal);
    EXPECT_EQ(c->ItemText(), "Meter");
    EXPECT_EQ(c->Operator(), fcoLike);
    EXPECT_EQ(builder->FocusedPart(), fhtOperator);
}

TEST_F(FilterInputTest, EscAndAnOutsideClickCloseADropDownUnchanged)
{
    NewBuilder();
    TcxConditionViewInfo* c = AddReading(fcoEqual, {5});
    for (bool byClick : {false, true}) {
        Focus(c, fhtOperator);
        Click(c->OperatorRect);
        TcxComboBox* combo = builder->ComboBox();
        ASSERT_TRUE(combo->DroppedDown()) << byClick;
        Key(Qt::Key_Down, Qt::NoModifier, Field(combo));
        if (byClick) {
            QTest::mouseClick(form->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(490, 290));
            vcl::DrainPostedMessages();
        } else
            Key(Qt::Key_Escape, Qt::NoModifier, Field(combo));
        EXPECT_FALSE(combo->DroppedDown()) << byClick;
        EXPECT_EQ(c->Operator(), fcoEqual) << byClick;
    }
}

TEST_F(FilterInputTest, TheRowMenuAddsAGroupAndClearsAll)
{
    NewBuilder();
    std::vector<std::vector<std::string>> offered;
    int choice = 1;
    TMenuPresenter old = SetMenuPresenter([&](TPopupMenu* menu, TPoint) -> TMenuItem* {
        std::vector<std::string> captions;
        for (int i = 0; i < menu->Items()->Count(); ++i)
            if (menu->Items()->Items(i)->Visible)
                captions.push_back(menu->Items()->Items(i)->Caption);
        offered.push_back(captions);
        return menu->Items()->Items(choice);
    });
    Focus(builder->Root(), fhtButton);
    Key(Qt::Key_Return);   // Add Group
    EXPECT_EQ(builder->RowCount(), 3);
    choice = 3;
    Focus(builder->Root(), fhtButton);
    Key(Qt::Key_Space);    // Clear All
    EXPECT_EQ(builder->RowCount(), 1);
    // A translation reaches the menu at once.
    cxSetResourceString(&cxSFilterAddCondition, "添加条件(&C)");
    builder->TranslationChanged();
    choice = 0;
    Focus(builder->Root(), fhtButton);
    Key(Qt::Key_Return);   // Add Condition on the root
    EXPECT_EQ(builder->RowCount(), 2);
    SetMenuPresenter(old);
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[0], (std::vector<std::string>{"Add &Condition", "Add &Group"}));
    EXPECT_EQ(offered[1], (std::vector<std::string>{"Add &Condition", "Add &Group", "-", "Clear &All"}));
    EXPECT_EQ(offered[2], (std::vector<std::string>{"添加条件(&C)", "Add &Group"}));
    EXPECT_EQ(builder->State(), fcsNormal);
}

TEST_F(FilterInputTest, HotPartsShowTheHandCursorAndFontsFollowTheControl)
{
    NewBuilder();
    AddReading(fcoEqual, {5});
    const TRect r = Condition(1)->ItemRect;
    QTest::mouseMove(builder->Peer(), QPoint(r.Left + 2, r.Top + r.Height() / 2));
    vcl::DrainPostedMessages();
    EXPECT_EQ(builder->HotTrackInfo().HitTest, fhtItem);
    EXPECT_EQ(builder->Cursor(), crHandPoint);
    QTest::mouseMove(builder->Peer(), QPoint(470, 250));
    vcl::DrainPostedMessages();
    EXPECT_EQ(builder->Cursor(), crDefault);

    builder->Font()->SetName("Noto Sans");
    builder->Font()->SetHeight(-15);
    EXPECT_EQ(builder->FontItem()->GetName(), "Noto Sans");
    EXPECT_EQ(builder->FontValue()->GetHeight(), -15);
    EXPECT_EQ(builder->FontItem()->GetColor(), clGreen);
    // The clickable parts read as links: underlined, never italic; values stay plain.
    EXPECT_EQ(builder->FontItem()->GetStyle(), FontStyle(fsUnderline));
    EXPECT_EQ(builder->FontBoolOperator()->GetStyle(), FontStyle(fsUnderline));
    EXPECT_EQ(builder->FontValue()->GetStyle(), 0u);
    EXPECT_FALSE(builder->IsFontStored(fcfValue));
    builder->FontValue()->SetColor(clNavy);
    EXPECT_TRUE(builder->IsFontStored(fcfValue));
}

TEST_F(FilterInputTest, TheFocusedRowIsScrolledIntoView)
{
    NewBuilder();
    builder->SetBounds(0, 0, 200, 120);
    for (int i = 0; i < 12; ++i)
        AddReading(fcoEqual, {i});
    const int rowHeight = builder->ViewInfo()->RowHeight();
    ASSERT_GT(rowHeight, 0);
    EXPECT_GT(builder->TopVisibleRow(), 0);   // adding keeps the add-condition button in view
    EXPECT_LE(builder->ViewInfo()->AddConditionRect.Bottom, builder->ClientHeight());
    EXPECT_TRUE(builder->VScrollBarVisible());
    Focus(builder->Rows(1), fhtItem);
    for (int i = 0; i < 12; ++i)
        Key(Qt::Key_Down);
    EXPECT_EQ(builder->FocusedPart(), fhtAddCondition);   // below the last row
    EXPECT_LE(builder->ViewInfo()->AddConditionRect.Bottom, builder->ClientHeight());
    for (int i = 0; i < 13; ++i)
        Key(Qt::Key_Up);
    EXPECT_EQ(builder->FocusedRow(), builder->Root());
    EXPECT_EQ(builder->TopVisibleRow(), 0);
    // A value far to the right pulls the view along.
    builder->SetBounds(0, 0, 100, 120);
    Focus(builder->Rows(1), fhtOperator);
    Key(Qt::Key_Right);
    EXPECT_EQ(builder->FocusedPart(), fhtValue);
    EXPECT_GT(builder->LeftOffset(), 0);
    EXPECT_LE(Condition(1)->Values()->Items(0)->ValueRect.Right, builder->ClientWidth());
}

// Far jumps scroll in one step to exactly where scrolling a row at a time would stop: Insert
// after the top of a long filter shows the new row with the add-condition button at the bottom,
// and removing rows brings back the rows above while there is room.
TEST_F(FilterInputTest, FarJumpsScrollExactlyAsFarAsNeeded)
{
    NewBuilder();
    builder->SetBounds(0, 0, 300, 160);
    for (int i = 0; i < 60; ++i)
        AddReading(fcoEqual, {i});
    const int rowHeight = builder->ViewInfo()->RowHeight();
    const int clientHeight = builder->ClientHeight();
    Focus(builder->Rows(1), fhtItem);
    EXPECT_EQ(builder->TopVisibleRow(), 1);
    Key(Qt::Key_Insert);   // the new row at the end
    ASSERT_EQ(builder->RowCount(), 62);
    const int bottom = builder->ViewInfo()->AddConditionRect.Bottom;
    EXPECT_LE(bottom, clientHeight);
    EXPECT_GT(bottom + rowHeight, clientHeight);   // one row less scrolled would hide it
    for (int i = 0; i < 40; ++i)
        Key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(builder->RowCount(), 22);
    const int room = clientHeight - builder->ViewInfo()->AddConditionRect.Bottom;
    EXPECT_TRUE(builder->TopVisibleRow() == 0 || room < rowHeight + 2) << room;
    EXPECT_GE(room, 0);
}

TEST_F(FilterInputTest, FreedWithAnEditorOrAListOpen)
{
    for (bool list : {false, true}) {
        NewBuilder();
        TcxConditionViewInfo* c = AddReading(fcoEqual, {5});
        Focus(c, list ? fhtOperator : fhtValue, 0);
        if (list)
            Key(Qt::Key_Return);
        else
            Type("9");
        EXPECT_NE(builder->State(), fcsNormal) << list;
        builder->Free();
        builder = nullptr;
        vcl::DrainPostedMessages();
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(FilterInputTest, ClicksActOnThePartUnderThePointer)
{
    NewBuilder();
    TcxConditionViewInfo* in = AddReading(fcoInList, {1});
    Click(in->Values()->AddButtonRect);   // "+"
    ASSERT_EQ(in->Values()->Count(), 2);
    EXPECT_EQ(builder->FocusedPart(), fhtValue);
    EXPECT_EQ(builder->FocusedValueIndex(), 1);
    Click(builder->ViewInfo()->AddConditionRect);
    EXPECT_EQ(builder->RowCount(), 3);
    EXPECT_EQ(builder->FocusedPart(), fhtItem);
    Click(in->Values()->Items(0)->ValueRect);
    ASSERT_TRUE(builder->ValueEditor());
    EXPECT_EQ(builder->State(), fcsSelectingValue);
    EXPECT_EQ(builder->ValueEditor()->BoundsRect(), in->Values()->Items(0)->ValueRect);
    Key(Qt::Key_Escape, Qt::NoModifier, Field(builder->ValueEditor()));
    EXPECT_FALSE(builder->ValueEditor());
    EXPECT_EQ(in->Values()->Items(0)->ValueText, "1");
}

} // namespace

namespace {
// The columns of a rectangle of a control's surface that hold ink: a pixel other than the
// rectangle's most frequent colour.
std::vector<int> InkColumns(TWinControl* c, const TRect& r)
{
    c->Update();
    std::map<TColor, int> counts;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            ++counts[TColor(gdi::PixelToColor(c->Surface().Pixel(x, y)))];
    TColor background = clNone;
    int most = 0;
    for (auto [color, n] : counts)
        if (n > most)
            most = n, background = color;
    std::vector<int> columns;
    for (int x = r.Left; x < r.Right; ++x)
        for (int y = r.Top; y < r.Bottom; ++y)
            if (TColor(gdi::PixelToColor(c->Surface().Pixel(x, y))) != background) {
                columns.push_back(x);
                break;
            }
    return columns;
}
} // namespace

// A part's drop-down shows its text where the part drew it, every column of it: the combo box's
// frame and margins go around the text instead of pushing its first character out of sight.
TEST_F(FilterInputTest, ADropDownShowsThePartsTextWhereThePartDrewIt)
{
    NewBuilder();
    TcxConditionViewInfo* c = AddReading(fcoEqual, {5});
    builder->Update();
    for (TcxFilterControlHitTest part : {fhtItem, fhtOperator}) {
        SCOPED_TRACE(part);
        // The text itself, drawn one pixel into the part's rectangle.
        const TRect area = part == fhtItem ? c->ItemRect : c->OperatorRect;
        const TRect r = cxRectInflate(area, -1, -1);
        const std::vector<int> drawn = InkColumns(builder, r);
        ASSERT_GT(drawn.size(), 10u);
        Click(area);
        TcxComboBox* combo = builder->ComboBox();
        ASSERT_TRUE(combo->DroppedDown());
        const TRect inCombo = cxRectOffset(r, -combo->Left(), -combo->Top());
        std::vector<int> shown = InkColumns(combo, inCombo);
        for (int& x : shown)
            x += combo->Left();
        EXPECT_EQ(shown, drawn);
        Key(Qt::Key_Escape, Qt::NoModifier, Field(combo));
        ASSERT_FALSE(combo->DroppedDown());
    }
}

// A value of an editor kind whose filter editor has no buttons is drawn without them, also when
// it is focused; a kind that edits with its buttons (spin) shows them there.
TEST_F(FilterInputTest, AValueShowsEditorButtonsOnlyForKindsThatEditWithThem)
{
    cxMaskEditUnit::Initialize();
    cxSpinEditUnit::Initialize();
    cxButtonEditUnit::Initialize();
    struct Case {
        const char* caption;
        TcxCustomEditPropertiesClass kind;
        bool buttons;
    };
    const Case cases[] = {
        {"Button", TcxCustomEditPropertiesClass::Of<TcxButtonEditProperties>(), false},
        {"Spin", TcxCustomEditPropertiesClass::Of<TcxSpinEditProperties>(), true},
    };
    for (const Case& k : cases) {
        auto* row = host->Add<TcxEditorRow>();
        row->Properties()->SetCaption(k.caption);
        row->Properties()->DataBinding()->SetValueType("Integer");
        row->Properties()->SetEditPropertiesClass(k.kind);
    }
    NewBuilder();
    int item = 2;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.caption);
        TcxConditionViewInfo* c = AddReading(fcoEqual, {5}, item++);
        ASSERT_GT(c->EditorProperties()->Buttons()->VisibleCount(), 0);
        Focus(c, fhtValue, 0);
        builder->Update();
        TcxValueInfo* value = c->Values()->Items(0);
        EXPECT_EQ(value->ValueViewInfo()->ButtonCount() > 0, k.buttons);
        // Right of the text "5": the buttons' pixels, or nothing but the value's background.
        const TRect r = value->ValueRect;
        const std::vector<int> ink = InkColumns(builder, TRect{r.Left + 16, r.Top + 1, r.Right - 1, r.Bottom - 1});
        EXPECT_EQ(!ink.empty(), k.buttons) << ink.size();
    }
    cxButtonEditUnit::Finalize();
    cxSpinEditUnit::Finalize();
    cxMaskEditUnit::Finalize();
}
