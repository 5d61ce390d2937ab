// The editing road through real Qt input: starting an edit by key, click, focus and input method;
// ending it by Enter, Escape and focus loss; editor sharing and placement; cell moves and search.
#include "tests/toolkit/grid/EditingRoadTestSupport.h"

#include "platform/vcl/StdCtrls.h"

#include <QInputMethodEvent>
#include <QTest>

namespace {

void Click(TWinControl* c, int x, int y) { QTest::mouseClick(c->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y)); }
void DblClick(TWinControl* c, int x, int y)
{
    QTest::mouseClick(c->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
    QTest::mouseDClick(c->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
}
void Type(TWinControl* c, Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QTest::keyClick(c->Peer(), key, m);
    vcl::DrainPostedMessages();
}
void TypeText(TWinControl* c, const char* text)
{
    QTest::keyClicks(c->Peer(), QString::fromUtf8(text));
    vcl::DrainPostedMessages();
}

TEST_F(EditingRoadTest, StartingAnEditByKey)
{
    ASSERT_TRUE(grid->Focused());
    grid->Controller()->SetFocusedItem(b);
    TypeText(grid, "a");
    ASSERT_NE(grid->Editor(), nullptr);
    EXPECT_EQ(grid->EditingController()->EditingItem(), b);
    EXPECT_EQ(VarToStr(grid->Editor()->EditValue()), "a");
    EXPECT_TRUE(grid->Editor()->Focused());
    EXPECT_EQ(grid->Editor()->BoundsRect(), (TRect{60, 0, 120, 20}));
    Type(grid->Editor(), Qt::Key_Return);   // posts and closes
    EXPECT_EQ(grid->Editor(), nullptr);
    EXPECT_EQ(Value(b), "a");
    EXPECT_TRUE(grid->Focused());

    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers m;
    } starters[] = {{"F2", Qt::Key_F2, Qt::NoModifier},
                    {"Enter", Qt::Key_Return, Qt::NoModifier},
                    {"Ctrl+V", Qt::Key_V, Qt::ControlModifier}};
    for (const auto& s : starters) {
        SCOPED_TRACE(s.name);
        Type(grid, s.key, s.m);
        ASSERT_NE(grid->Editor(), nullptr);
        Type(grid->Editor(), Qt::Key_Escape);
        EXPECT_EQ(grid->Editor(), nullptr);
    }
    EXPECT_EQ(Value(b), "a");
}

TEST_F(EditingRoadTest, TheEditorIsLoadedWithTheEditValueOfTheFocusedRecord)
{
    grid->DataController()->SetValue(0, 1, Variant(std::string("old")));
    bool refuse = false;
    grid->OnItemEditing = [&](TObject*, TcxCustomInplaceEditContainer*, bool& allow) { allow = !refuse; };
    refuse = true;
    b->SetEditing(true);
    EXPECT_EQ(grid->Editor(), nullptr);
    refuse = false;
    b->SetEditing(true);
    ASSERT_NE(grid->Editor(), nullptr);
    EXPECT_EQ(VarToStr(b->GetEditValue()), "old");
    EXPECT_EQ(VarToStr(grid->Editor()->EditValue()), "old");
    EXPECT_TRUE(a->GetEditValue().IsEmpty());   // not the edited item
}

TEST_F(EditingRoadTest, ClicksOpenAtOnceWithImmediateEditor)
{
    Click(grid, 70, 10);
    ASSERT_NE(grid->Editor(), nullptr);
    EXPECT_EQ(grid->EditingController()->EditingItem(), b);
    EXPECT_EQ(grid->Controller()->FocusedItem(), b);
}

TEST_F(EditingRoadTest, WithoutImmediateEditorTheSecondClickOpensAfterTheDoubleClickTime)
{
    grid->OptionsBehavior()->SetImmediateEditor(false);
    Click(grid, 70, 10);
    EXPECT_EQ(grid->Controller()->FocusedItem(), b);
    EXPECT_EQ(grid->Editor(), nullptr);
    EXPECT_FALSE(grid->EditingController()->EditShowingTimerActive());
    Fixed().ticks += 1000;   // later than a double click
    Click(grid, 70, 10);     // a second single click on the focused cell
    EXPECT_TRUE(grid->EditingController()->EditShowingTimerActive());
    EXPECT_EQ(grid->Editor(), nullptr);
    EXPECT_TRUE(SpinUntil([this] { return grid->Editor() != nullptr; }, 2000));
    EXPECT_FALSE(grid->EditingController()->EditShowingTimerActive());
    Type(grid->Editor(), Qt::Key_Escape);

    // A double click never starts the timer.
    Fixed().ticks += 1000;
    Click(grid, 10, 10);
    DblClick(grid, 10, 10);
    EXPECT_FALSE(grid->EditingController()->EditShowingTimerActive());
}

TEST_F(EditingRoadTest, AutomaticDragModeIsNoImmediateEditor)
{
    EXPECT_TRUE(grid->Controller()->GetImmediateEditor());
    grid->DragMode = dmAutomatic;   // the control may be dragged: a click opens nothing
    EXPECT_FALSE(grid->Controller()->GetImmediateEditor());
}

TEST_F(EditingRoadTest, AlwaysShowEditorOpensOnFocus)
{
    grid->Controller()->SetFocusedItem(a);
    TButton* other = new TButton(form);
    other->SetParent(form);
    other->SetBounds(0, 200, 50, 20);
    other->SetFocus();
    SpinUntil([other] { return other->Focused(); }, 500);
    grid->OptionsBehavior()->SetAlwaysShowEditor(true);
    grid->SetFocus();
    SpinUntil([this] { return grid->Editor() != nullptr; }, 500);
    ASSERT_NE(grid->Editor(), nullptr);
    EXPECT_EQ(grid->EditingController()->EditingItem(), a);
}

TEST_F(EditingRoadTest, AnInputMethodCommitStartsTheEditAndGoesIntoIt)
{
    grid->Controller()->SetFocusedItem(c);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("电表"));
    QCoreApplication::sendEvent(grid->Peer(), &commit);
    vcl::DrainPostedMessages();
    ASSERT_NE(grid->Editor(), nullptr);
    EXPECT_EQ(grid->EditingController()->EditingItem(), c);
    EXPECT_EQ(VarToStr(grid->Editor()->EditValue()), "电表");
}

TEST_F(EditingRoadTest, EscapeIsConsumedOnlyByAModifiedEditor)
{
    grid->Controller()->SetFocusedItem(a);
    Type(grid, Qt::Key_F2);
    ASSERT_NE(grid->Editor(), nullptr);
    std::uint16_t key = 27;
    grid->EditingController()->EditKeyDown(grid->Editor(), key, {});
    EXPECT_EQ(key, 27);   // unmodified: the key goes on (to the form)
    EXPECT_EQ(grid->Editor(), nullptr);

    TypeText(grid, "x");
    ASSERT_NE(grid->Editor(), nullptr);
    key = 27;
    grid->EditingController()->EditKeyDown(grid->Editor(), key, {});
    EXPECT_EQ(key, 0);
    EXPECT_EQ(grid->Editor(), nullptr);
    EXPECT_EQ(Value(a), "");   // nothing written
}

TEST_F(EditingRoadTest, EscapeWithoutEditorCancelsTheRecord)
{
    TcxCustomDataController* dc = grid->DataController();
    dc->Edit();
    ASSERT_TRUE(dc->GetEditState().Contains(dceEdit));
    Type(grid, Qt::Key_Escape);
    EXPECT_FALSE(dc->GetEditState().Contains(dceEdit));
}

TEST_F(EditingRoadTest, AnInvalidValueKeepsTheEditorOpenWithOneMessage)
{
    a->Properties()->OnValidate = [](TObject*, Variant& value, std::string& text, bool& error) {
        error = VarToStr(value).starts_with("!");
        text = "bad value";
    };
    grid->Controller()->SetFocusedItem(a);
    TypeText(grid, "!");
    ASSERT_NE(grid->Editor(), nullptr);
    shown.clear();
    Type(grid->Editor(), Qt::Key_Return);
    EXPECT_NE(grid->Editor(), nullptr);
    EXPECT_EQ(grid->EditingController()->EditingItem(), a);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(Value(a), "");
}

TEST_F(EditingRoadTest, APostFailingOnFocusLossRefocusesTheEditorAndTheClickDoesNotMoveTheCell)
{
    a->Properties()->OnValidate = [](TObject*, Variant& value, std::string& text, bool& error) {
        error = VarToStr(value).starts_with("!");
        text = "bad value";
    };
    grid->Controller()->SetFocusedItem(a);
    TypeText(grid, "!");
    TcxCustomEdit* editor = grid->Editor();
    ASSERT_NE(editor, nullptr);
    shown.clear();
    Click(grid, 130, 10);   // on c: the editor loses the focus and refuses its value
    SpinUntil([] { return false; }, 50);
    EXPECT_EQ(grid->Editor(), editor);
    EXPECT_TRUE(editor->Focused());
    EXPECT_EQ(grid->Controller()->FocusedItem(), a);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(Value(a), "");
}

TEST_F(EditingRoadTest, SharedPropertiesShareOneEditorThatStaysFocusedOutOfSight)
{
    auto* repo = new TcxTestCellRepositoryItem(form);
    b->SetPropertiesClassName("");   // no own properties: both edit with the repository item's
    c->SetPropertiesClassName("");
    b->SetRepositoryItem(repo);
    c->SetRepositoryItem(repo);
    grid->Controller()->SetFocusedItem(b);
    Type(grid, Qt::Key_F2);
    TcxCustomEdit* shared = grid->Editor();
    ASSERT_NE(shared, nullptr);
    Type(shared, Qt::Key_Escape);
    grid->Controller()->SetFocusedItem(c);
    Type(grid, Qt::Key_F2);
    EXPECT_EQ(grid->Editor(), shared);   // one properties object: one editor
    Type(shared, Qt::Key_Escape);
    grid->Controller()->SetFocusedItem(a);
    Type(grid, Qt::Key_F2);
    EXPECT_NE(grid->Editor(), shared);   // other properties: another editor
    EXPECT_EQ(grid->EditingController()->EditorCache()->Count(), 2);

    // Scrolled out of sight the editor stays alive and focused at x 30000.
    TcxCustomEdit* editor = grid->Editor();
    static_cast<TcxTestRowViewInfo*>(grid->ViewInfo())->ScrollLeft = 500;
    grid->LayoutChanged();
    EXPECT_EQ(grid->Editor(), editor);
    EXPECT_EQ(editor->Left(), 30000);
    EXPECT_TRUE(editor->Focused());
    static_cast<TcxTestRowViewInfo*>(grid->ViewInfo())->ScrollLeft = 0;
    grid->LayoutChanged();
    grid->Update();
    EXPECT_EQ(editor->BoundsRect(), (TRect{0, 0, 60, 20}));   // placed again, not re-created
}

TEST_F(EditingRoadTest, TabLeavesUnlessItMovesBetweenCells)
{
    EXPECT_FALSE(grid->Keys().Contains(kTab));
    grid->OptionsBehavior()->SetGoToNextCellOnTab(true);
    grid->Controller()->SetFocusedItem(a);
    std::uint16_t key = 9;
    grid->Controller()->KeyDown(key, {});
    EXPECT_EQ(grid->Controller()->FocusedItem(), b);
    key = 9;
    grid->Controller()->KeyDown(key, TShiftState{ssShift});
    EXPECT_EQ(grid->Controller()->FocusedItem(), a);
}

TEST_F(EditingRoadTest, FocusCellOnCycleWrapsIntoTheNextRecord)
{
    grid->DataController()->SetRecordCount(2);
    grid->Controller()->SetFocusedItem(c);
    TcxCustomCellNavigator* nav = grid->Controller()->Navigator();
    nav->FocusNextCell(true, false, {});
    EXPECT_EQ(grid->Controller()->FocusedItem(), c);   // stays
    EXPECT_EQ(grid->Controller()->GetFocusedRecordIndex(), 0);
    grid->OptionsBehavior()->SetFocusCellOnCycle(true);
    nav->FocusNextCell(true, false, {});
    EXPECT_EQ(grid->Controller()->FocusedItem(), a);
    EXPECT_EQ(grid->Controller()->GetFocusedRecordIndex(), 1);
}

TEST_F(EditingRoadTest, CtrlDownInASearchFindsTheNextMatch)
{
    TcxCustomDataController* dc = grid->DataController();
    dc->SetRecordCount(3);
    dc->SetValue(0, 0, Variant(std::string("apple")));
    dc->SetValue(1, 0, Variant(std::string("banana")));
    dc->SetValue(2, 0, Variant(std::string("apricot")));
    grid->OptionsBehavior()->SetIncSearch(true);
    grid->Controller()->SetFocusedItem(a);
    dc->ChangeFocusedRecordIndex(0);
    TypeText(grid, "ap");
    EXPECT_TRUE(grid->Controller()->IsIncSearching());
    EXPECT_EQ(grid->Controller()->GetIncSearchingText(), "ap");
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 0);
    Type(grid, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 2);
    EXPECT_EQ(grid->Controller()->FocusedItem(), a);
    EXPECT_TRUE(grid->Controller()->IsIncSearching());
    Type(grid, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(dc->GetFocusedRecordIndex(), 0);
    EXPECT_EQ(grid->Editor(), nullptr);
}

TEST_F(EditingRoadTest, OptionsDataEditingOffClosesTheEditorWithoutPosting)
{
    grid->Controller()->SetFocusedItem(a);
    TypeText(grid, "q");
    ASSERT_NE(grid->Editor(), nullptr);
    grid->OptionsData()->SetEditing(false);
    EXPECT_EQ(grid->Editor(), nullptr);
    EXPECT_EQ(Value(a), "");
}

} // namespace

namespace {

TEST_F(EditingRoadTest, EditButtonsShowByTheItemsOptionElseTheControls)
{
    grid->Controller()->SetFocusedItem(a);
    TcxEditCellViewInfo* focused = grid->Controller()->GetFocusedCellViewInfo(a);
    TcxEditCellViewInfo* other = grid->Controller()->GetFocusedCellViewInfo(b);
    ASSERT_TRUE(focused && other);
    const struct {
        TcxEditItemShowEditButtons item;
        TcxEditingControlEditShowButtons control;
        TcxEditButtonTransparency focused, other;
    } table[] = {
        {eisbAlways, ecsbNever, ebtNone, ebtNone},
        {eisbNever, ecsbAlways, ebtHideInactive, ebtHideInactive},
        {eisbDefault, ecsbAlways, ebtNone, ebtNone},
        {eisbDefault, ecsbFocused, ebtNone, ebtHideInactive},
        {eisbDefault, ecsbNever, ebtHideInactive, ebtHideInactive},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << row.item << "/" << row.control);
        a->Options()->SetShowEditButtons(row.item);
        b->Options()->SetShowEditButtons(row.item);
        grid->OptionsView()->SetShowEditButtons(row.control);
        focused = grid->Controller()->GetFocusedCellViewInfo(a);
        other = grid->Controller()->GetFocusedCellViewInfo(b);
        EXPECT_EQ(focused->GetButtonTransparency(), row.focused);
        EXPECT_EQ(other->GetButtonTransparency(), row.other);
    }
}

class TcxDefaultsStyles : public TcxStyles {
    RTL_CLASS(TcxDefaultsStyles, TcxStyles)
    using TcxStyles::TcxStyles;
    void GetDefaultViewParams(int, TObject*, TcxViewParams& params) override
    {
        params.Color = clWindow;
        params.TextColor = clWindowText;
        params.Font = &font;
        params.Bitmap = nullptr;
    }
    TFont font;
};

TEST_F(EditingRoadTest, ViewParamsTakeEachValueFromTheFirstStyleThatAssignsIt)
{
    TcxDefaultsStyles styles(nullptr);
    TcxStyle first(nullptr), second(nullptr);
    first.SetColor(clRed);
    second.SetColor(clBlue);
    second.SetTextColor(clGreen);
    TcxViewParams p;
    EXPECT_FALSE(cxStylesToViewParams(&styles, 0, nullptr, {nullptr, &first, &second}, p));
    EXPECT_EQ(p.Color, clRed);
    EXPECT_EQ(p.TextColor, clGreen);
    EXPECT_EQ(p.Font, &styles.font);   // from the defaults
    TBitmap bitmap;
    bitmap.SetSize(2, 2);
    second.SetBitmap(&bitmap);
    second.SetFont(&styles.font);
    EXPECT_TRUE(cxStylesToViewParams(&styles, 0, nullptr, {&first, &second}, p));
    EXPECT_EQ(p.Bitmap, second.Bitmap());
    EXPECT_EQ(p.Font, second.Font());
}

} // namespace

namespace {

TEST_F(EditingRoadTest, MovingToAnotherRecordReloadsAnAlwaysOpenEditorOrClosesAnother)
{
    TcxCustomDataController* dc = grid->DataController();
    dc->SetRecordCount(2);
    dc->SetValue(0, 0, Variant(std::string("first")));
    dc->SetValue(1, 0, Variant(std::string("second")));
    grid->Controller()->SetFocusedItem(a);
    grid->OptionsBehavior()->SetAlwaysShowEditor(true);
    grid->Controller()->CheckEdit();
    TcxCustomEdit* editor = grid->Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(VarToStr(editor->EditValue()), "first");
    dc->ChangeFocusedRecordIndex(1);
    EXPECT_EQ(grid->Editor(), editor);   // kept open, loaded with the new record's value
    EXPECT_EQ(VarToStr(editor->EditValue()), "second");

    grid->OptionsBehavior()->SetAlwaysShowEditor(false);
    dc->ChangeFocusedRecordIndex(0);
    EXPECT_EQ(grid->Editor(), nullptr);
}

} // namespace
