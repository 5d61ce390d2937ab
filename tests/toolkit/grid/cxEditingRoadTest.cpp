// The editing road through real Qt input: starting an edit by key, click, focus and input method;
// ending it by Enter, Escape and focus loss; editor sharing and placement; cell moves and search.
#include "tests/toolkit/grid/EditingRoadTestSupport.h"

#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/EditBox.h"
#include "platform/vcl/ExtCtrls.h"
#include "toolkit/editors/cxSpinEdit.h"
#include "toolkit/editors/cxTextEdit.h"

#include <QInputMethodEvent>
#include <QTest>
#include <QTimer>

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
    EXPECT_EQ(grid->Editor()->BoundsRect(), TRect(60, 0, 120, 20));
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

// A press on a spin button painted in a cell opens the cell's editor and the press goes into it:
// the value steps once, with or without ImmediateEditor; the release ends the stepping.
TEST_F(EditingRoadTest, APressOnACellsSpinButtonStepsTheValue)
{
    cxTextEditUnit::Initialize();
    cxMaskEditUnit::Initialize();
    cxSpinEditUnit::Initialize();
    static_cast<TcxItemDataBinding*>(b->DataBinding())->SetValueType("Integer");
    b->SetPropertiesClassName("TcxSpinEditProperties");
    grid->OptionsView()->SetShowEditButtons(ecsbAlways);
    for (bool immediate : {true, false}) {
        SCOPED_TRACE(immediate);
        grid->OptionsBehavior()->SetImmediateEditor(immediate);
        grid->Controller()->SetFocusedItem(a);
        grid->DataController()->SetValue(0, 1, Variant(5));
        grid->LayoutChanged();
        grid->Repaint();
        TcxEditCellViewInfo* cell = grid->Controller()->GetFocusedCellViewInfo(b);
        ASSERT_TRUE(cell && cell->CellEditViewInfo);
        ASSERT_GT(cell->CellEditViewInfo->ButtonCount(), 0);
        const int cellLeft = cell->Bounds.Left;   // the cells are laid out anew once editing starts
        // The upper button: one step up.
        TRect button = cell->CellEditViewInfo->ButtonsInfo[0]->Bounds;
        for (TcxEditButtonViewInfo* info : cell->CellEditViewInfo->ButtonsInfo)
            if (info->Bounds.Top < button.Top)
                button = info->Bounds;
        const QPoint at(cell->CellEditViewInfo->Left + (button.Left + button.Right) / 2,
                        cell->CellEditViewInfo->Top + button.Top + 2);
        Click(grid, at.x(), at.y());
        vcl::DrainPostedMessages();
        ASSERT_NE(grid->Editor(), nullptr);
        EXPECT_EQ(grid->EditingController()->EditingItem(), b);
        auto text = [this] { return dynamic_cast<TcxCustomTextEdit*>(grid->Editor())->Text(); };
        EXPECT_EQ(text(), "6");
        SpinUntil([] { return false; }, 600);   // longer than the repeat delay: no more steps
        EXPECT_EQ(text(), "6");
        Type(grid->Editor(), Qt::Key_Return);
        EXPECT_EQ(Value(b), "6");
        // A press on the text part of an unfocused cell opens nothing without ImmediateEditor.
        grid->Controller()->SetFocusedItem(a);
        Click(grid, cellLeft + 5, 10);
        EXPECT_EQ(grid->Editor() != nullptr, immediate);
        if (grid->Editor())
            Type(grid->Editor(), Qt::Key_Escape);
    }
    cxSpinEditUnit::Finalize();
    cxMaskEditUnit::Finalize();
    cxTextEditUnit::Finalize();
}

// A change of the control's look and feel while an editor is open posts what was typed and opens
// the editor again in the new look; without an open editor nothing opens.
TEST_F(EditingRoadTest, ALookAndFeelChangePostsTheOpenEditorAndReopensIt)
{
    grid->Controller()->SetFocusedItem(a);
    TypeText(grid, "lf");
    ASSERT_NE(grid->Editor(), nullptr);
    TcxLookAndFeelKind other = grid->LookAndFeel()->GetKind() == lfFlat ? lfStandard : lfFlat;
    grid->LookAndFeel()->SetKind(other);
    vcl::DrainPostedMessages();
    EXPECT_EQ(Value(a), "lf");
    ASSERT_NE(grid->Editor(), nullptr);
    EXPECT_EQ(grid->EditingController()->EditingItem(), a);
    EXPECT_EQ(VarToStr(grid->Editor()->EditValue()), "lf");
    EXPECT_TRUE(grid->Editor()->Focused());
    Type(grid->Editor(), Qt::Key_Escape);
    ASSERT_EQ(grid->Editor(), nullptr);
    grid->LookAndFeel()->SetKind(other == lfFlat ? lfStandard : lfFlat);
    EXPECT_EQ(grid->Editor(), nullptr);
}

// Another control dragged over the grid: the open editor posts what was typed and closes.
TEST_F(EditingRoadTest, AnotherControlDraggedOverPostsAndClosesTheEditor)
{
    auto* source = new TPanel(form);
    source->SetParent(form);
    source->SetBounds(220, 10, 60, 40);
    source->DragMode = dmAutomatic;
    grid->Controller()->SetFocusedItem(a);
    TypeText(grid, "dr");
    ASSERT_NE(grid->Editor(), nullptr);
    QTest::mousePress(source->Peer(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(source->Peer(), QPoint(20, 20));
    ASSERT_TRUE(source->Dragging());
    QTest::mouseMove(grid->Peer(), QPoint(100, 60));
    QTest::mouseMove(grid->Peer(), QPoint(110, 60));
    vcl::DrainPostedMessages();
    EXPECT_EQ(grid->Editor(), nullptr);
    EXPECT_EQ(Value(a), "dr");
    QTest::mouseRelease(grid->Peer(), Qt::LeftButton, {}, QPoint(110, 60));
    vcl::DrainPostedMessages();
    EXPECT_FALSE(source->Dragging());
}

// The grid dragged itself (automatic drag mode) from another cell while an editor was open: what
// was typed is posted, and the editor opens again, on the focused cell, when the drag ends.
TEST_F(EditingRoadTest, AfterTheGridsOwnDragTheEditorOpensAgain)
{
    grid->DragMode = dmAutomatic;
    grid->Controller()->SetFocusedItem(a);
    Type(grid, Qt::Key_F2);
    ASSERT_NE(grid->Editor(), nullptr);
    TypeText(grid->Editor(), "x");
    QObject timers;   // a late timer must not reach a later test
    QTimer::singleShot(20, &timers, [this] { QTest::mouseMove(grid->Peer(), QPoint(100, 60)); });
    QTimer::singleShot(1500, &timers, [] { ReleaseCapture(); });
    QTest::mousePress(grid->Peer(), Qt::LeftButton, {}, QPoint(70, 10));   // on b
    ASSERT_TRUE(grid->Dragging());
    EXPECT_EQ(grid->Editor(), nullptr);
    EXPECT_EQ(Value(a), "x");
    QTest::mouseMove(form->Peer(), QPoint(250, 220));
    QTest::mouseRelease(form->Peer(), Qt::LeftButton, {}, QPoint(250, 220));
    vcl::DrainPostedMessages();
    EXPECT_FALSE(grid->Dragging());
    ASSERT_NE(grid->Editor(), nullptr);
    EXPECT_EQ(grid->EditingController()->EditingItem(), b);
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

// Esc typed into a real text editor: one that was not changed closes and the key goes on to the
// form (its Cancel button); one that was changed closes, drops what was typed and keeps the key.
TEST_F(EditingRoadTest, EscapeGoesOnToTheFormOnlyFromAnUnchangedEditor)
{
    cxTextEditUnit::Initialize();
    a->SetPropertiesClassName("TcxTextEditProperties");
    grid->DataController()->SetValue(0, 0, Variant(std::string("old")));
    int cancels = 0;
    auto* cancel = new TButton(form);
    cancel->SetParent(form);
    cancel->SetBounds(0, 200, 60, 20);
    cancel->Cancel = true;
    cancel->OnClick = [&](TObject*) { ++cancels; };
    grid->Controller()->SetFocusedItem(a);
    auto field = [this]() -> QWidget* {
        auto* text = dynamic_cast<TcxCustomTextEdit*>(grid->Editor());
        return text ? text->InnerTextEditControl()->Box()->Widget() : grid->Peer();
    };
    auto key = [](QWidget* w, Qt::Key k, const char* text = nullptr) {
        if (text)
            QTest::keyClicks(w, QString::fromUtf8(text));
        else
            QTest::keyClick(w, k);
        vcl::DrainPostedMessages();
    };

    Type(grid, Qt::Key_F2);
    ASSERT_NE(grid->Editor(), nullptr);
    key(field(), Qt::Key_Escape);
    EXPECT_EQ(grid->Editor(), nullptr);
    EXPECT_EQ(cancels, 1);

    Type(grid, Qt::Key_F2);
    ASSERT_NE(grid->Editor(), nullptr);
    key(field(), Qt::Key_unknown, "x");
    key(field(), Qt::Key_Escape);
    EXPECT_EQ(grid->Editor(), nullptr);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(Value(a), "old");   // nothing written
    cxTextEditUnit::Finalize();
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
    EXPECT_EQ(editor->BoundsRect(), TRect(0, 0, 60, 20));   // placed again, not re-created
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
