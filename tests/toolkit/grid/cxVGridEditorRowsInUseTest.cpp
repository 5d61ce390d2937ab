// The date, calculator, time, memo, currency, check box and BLOB editors in place in a vertical
// grid's rows, driven as a user drives them: real keys on the in-place editor's field, drop-downs
// opened and closed by every key, input-method commits, values posted and read back.
#include "tests/toolkit/grid/VGridPaintTestSupport.h"

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/EditBox.h"
#include "toolkit/core/cxFormats.h"
#include "toolkit/editors/cxBlobEdit.h"
#include "toolkit/editors/cxCalcEdit.h"
#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/controls/cxContainerPopup.h"
#include "toolkit/editors/cxCurrencyEdit.h"
#include "toolkit/editors/cxDateEdit.h"
#include "toolkit/editors/cxHyperLinkEdit.h"
#include "toolkit/editors/cxImage.h"
#include "toolkit/editors/cxMaskEdit.h"
#include "toolkit/editors/cxMemo.h"
#include "toolkit/editors/cxRadioGroup.h"
#include "toolkit/editors/cxSpinEdit.h"
#include "toolkit/editors/cxTimeEdit.h"

#include <QInputMethodEvent>
#include <QTest>

using namespace vgtest;

namespace {

TDateTime D(int y, int m, int d) { return rtl::EncodeDate(y, m, d); }
TDateTime T(int h, int n) { return rtl::EncodeTime(h, n, 0, 0); }

class VGridEditorRowsTest : public VGridPaintTest {
protected:
    void SetUp() override
    {
        auto service = std::make_unique<rtl::FixedLocaleService>(D(2024, 3, 13) + T(10, 30));
        previousLocale = rtl::SetLocaleService(std::move(service));
        cxFormatsUnit::Finalize();
        VGridPaintTest::SetUp();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditPaintUtilsUnit::Initialize();
        cxTextEditUnit::Initialize();
        cxMemoUnit::Initialize();
        cxCurrencyEditUnit::Initialize();
        cxHyperLinkEditUnit::Initialize();
        cxMaskEditUnit::Initialize();
        cxSpinEditUnit::Initialize();
        cxTimeEditUnit::Initialize();
        cxDropDownEditUnit::Initialize();
        cxImageUnit::Initialize();
        cxCalcEditUnit::Initialize();
        cxDateEditUnit::Initialize();
        cxBlobEditUnit::Initialize();
        cxCheckBoxUnit::Initialize();
        cxRadioGroupUnit::Initialize();
        grid->DataController()->SetRecordCount(1);
    }
    void TearDown() override
    {
        if (grid && grid->GetIsEditing())
            grid->CancelEdit();
        VGridPaintTest::TearDown();
        EXPECT_EQ(cxPopupWindowCount(), 0);
        cxRadioGroupUnit::Finalize();
        cxCheckBoxUnit::Finalize();
        cxBlobEditUnit::Finalize();
        cxDateEditUnit::Finalize();
        cxCalcEditUnit::Finalize();
        cxImageUnit::Finalize();
        cxDropDownEditUnit::Finalize();
        cxTimeEditUnit::Finalize();
        cxSpinEditUnit::Finalize();
        cxMaskEditUnit::Finalize();
        cxHyperLinkEditUnit::Finalize();
        cxCurrencyEditUnit::Finalize();
        cxMemoUnit::Finalize();
        cxTextEditUnit::Finalize();
        cxEditPaintUtilsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        cxFormatsUnit::Finalize();
        rtl::SetLocaleService(std::move(previousLocale));
    }
    template <class P>
    TcxEditorRow* AddKind(const std::string& caption)
    {
        TcxEditorRow* row = AddEditor(caption);
        row->Properties()->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<P>());
        return row;
    }
    void ShowGrid()
    {
        Show(300, 200);
        grid->SetFocus();
        vcl::DrainPostedMessages();
    }
    // Focuses the row and opens its editor by F2.
    TcxCustomEdit* Open(TcxEditorRow* row)
    {
        grid->SetFocusedRow(row);
        GridKey(Qt::Key_F2);
        return grid->GetInplaceEditor();
    }
    TcxCustomEdit* Editor() { return grid->GetIsEditing() ? grid->GetInplaceEditor() : nullptr; }
    // The widget a key typed into the editor reaches: the text field of a text editor, the editor
    // itself otherwise.
    QWidget* Target()
    {
        TcxCustomEdit* e = Editor();
        if (auto* text = dynamic_cast<TcxCustomTextEdit*>(e); text && text->InnerEdit())
            if (auto* box = dynamic_cast<TCustomEdit*>(text->InnerEdit()->GetControl()))
                return box->Box()->Widget();
        if (auto* text = dynamic_cast<TcxCustomTextEdit*>(e); text && text->InnerEdit())
            return text->InnerEdit()->GetControl()->Peer();
        return e->Peer();
    }
    void GridKey(Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(grid->Peer(), key, m);
        vcl::DrainPostedMessages();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier, const QString& text = {})
    {
        QTest::sendKeyEvent(QTest::Click, Target(), key, text, m);
        vcl::DrainPostedMessages();
    }
    void Type(const QString& s)
    {
        for (QChar c : s)
            QTest::sendKeyEvent(QTest::Click, Target(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
        vcl::DrainPostedMessages();
    }
    void Commit(const QString& s)
    {
        QInputMethodEvent ev;
        ev.setCommitString(s);
        QCoreApplication::sendEvent(Target(), &ev);
        vcl::DrainPostedMessages();
    }
    template <class E>
    E* As()
    {
        return dynamic_cast<E*>(Editor());
    }
    Variant Value(TcxEditorRow* row) { return row->Properties()->GetValue(); }
    std::unique_ptr<rtl::ILocaleService> previousLocale;
};

TEST_F(VGridEditorRowsTest, DateRowTypedPostedAndUndoneByEsc)
{
    TcxEditorRow* date = AddKind<TcxDateEditProperties>("date");
    AddKind<TcxTextEditProperties>("text");
    ShowGrid();
    ASSERT_NE(Open(date), nullptr);
    auto* edit = As<TcxDateEdit>();
    ASSERT_NE(edit, nullptr);
    edit->SelectAll();
    Type("2024-5-1");
    Key(Qt::Key_Return);
    EXPECT_FALSE(grid->GetIsEditing());
    ASSERT_FALSE(Value(date).IsNull());
    EXPECT_DOUBLE_EQ((Value(date)).ToDate(), D(2024, 5, 1));

    // Typed, then undone by Esc: the row keeps its value.
    ASSERT_NE(Open(date), nullptr);
    As<TcxDateEdit>()->SelectAll();
    Type("2023-1-2");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(grid->GetIsEditing());
    EXPECT_DOUBLE_EQ((Value(date)).ToDate(), D(2024, 5, 1));
}

TEST_F(VGridEditorRowsTest, DateRowDropsDownAndClosesByEveryKey)
{
    TcxEditorRow* date = AddKind<TcxDateEditProperties>("date");
    date->Properties()->SetValue(Variant::FromDate(D(2024, 3, 13)));
    ShowGrid();
    struct Closer {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers m;
        bool changes;
    } closers[] = {{"F4", Qt::Key_F4, Qt::NoModifier, false},
                   {"Alt+Up", Qt::Key_Up, Qt::AltModifier, false},
                   {"Alt+Down", Qt::Key_Down, Qt::AltModifier, false},
                   {"Esc", Qt::Key_Escape, Qt::NoModifier, false},
                   {"Enter", Qt::Key_Return, Qt::NoModifier, true}};
    for (const Closer& c : closers) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(Open(date), nullptr);
        auto* edit = As<TcxDateEdit>();
        ASSERT_NE(edit, nullptr);
        Key(Qt::Key_Down, Qt::AltModifier);
        SpinUntil([&] { return edit->DroppedDown() && edit->Calendar() && edit->Calendar()->Showing(); }, 500);
        ASSERT_TRUE(edit->DroppedDown());
        QTest::keyClick(edit->Calendar()->Peer(), Qt::Key_Right);
        vcl::DrainPostedMessages();
        QTest::keyClick(edit->Calendar()->Peer(), c.key, c.m);
        vcl::DrainPostedMessages();
        SpinUntil([&] { return !edit->DroppedDown(); }, 500);
        EXPECT_FALSE(edit->DroppedDown());
        EXPECT_EQ(cxPopupWindowCount(), 0);
        ASSERT_TRUE(grid->GetIsEditing());   // the popup closed, the editor stays
        EXPECT_EQ(Editor(), edit);
        Key(Qt::Key_Return);                 // posts
        EXPECT_FALSE(grid->GetIsEditing());
        const TDateTime expected = c.changes ? D(2024, 3, 14) : D(2024, 3, 13);
        EXPECT_DOUBLE_EQ((Value(date)).ToDate(), expected);
        date->Properties()->SetValue(Variant::FromDate(D(2024, 3, 13)));
    }
}

TEST_F(VGridEditorRowsTest, ClickOutsideClosesTheDroppedCalendarAndTheEditor)
{
    TcxEditorRow* date = AddKind<TcxDateEditProperties>("date");
    TcxEditorRow* text = AddKind<TcxTextEditProperties>("text");
    date->Properties()->SetValue(Variant::FromDate(D(2024, 3, 13)));
    ShowGrid();
    ASSERT_NE(Open(date), nullptr);
    auto* edit = As<TcxDateEdit>();
    Key(Qt::Key_F4);
    SpinUntil([&] { return edit->DroppedDown(); }, 500);
    ASSERT_TRUE(edit->DroppedDown());
    const TRect r = RowInfo(text)->ValuesInfo(0)->Bounds;
    QTest::mouseClick(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(r.Left + 5, r.Top + 5));
    vcl::DrainPostedMessages();
    SpinUntil([&] { return cxPopupWindowCount() == 0; }, 500);
    EXPECT_EQ(cxPopupWindowCount(), 0);
    EXPECT_EQ(grid->GetFocusedRow(), text);
    EXPECT_DOUBLE_EQ((Value(date)).ToDate(), D(2024, 3, 13));
}

TEST_F(VGridEditorRowsTest, CalcRowComputesInItsPopupAndPosts)
{
    TcxEditorRow* calc = AddKind<TcxCalcEditProperties>("calc");
    ShowGrid();
    ASSERT_NE(Open(calc), nullptr);
    auto* edit = As<TcxCalcEdit>();
    ASSERT_NE(edit, nullptr);
    Type("12");
    Key(Qt::Key_F4);
    SpinUntil([&] { return edit->DroppedDown(); }, 500);
    ASSERT_TRUE(edit->DroppedDown());
    QWidget* calcPeer = edit->Calculator()->Peer();
    for (QChar ch : QString("*3"))
        QTest::sendKeyEvent(QTest::Click, calcPeer, Qt::Key(ch.unicode()), QString(ch), Qt::NoModifier);
    QTest::keyClick(calcPeer, Qt::Key_Return);
    vcl::DrainPostedMessages();
    SpinUntil([&] { return !edit->DroppedDown(); }, 500);
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_EQ(edit->Text(), "36");
    Key(Qt::Key_Return);
    EXPECT_FALSE(grid->GetIsEditing());
    EXPECT_DOUBLE_EQ((Value(calc)).ToDouble(), 36.0);
}

TEST_F(VGridEditorRowsTest, CalcRowEscClosesThePopupThenUndoes)
{
    TcxEditorRow* calc = AddKind<TcxCalcEditProperties>("calc");
    calc->Properties()->SetValue(Variant(5.0));
    ShowGrid();
    ASSERT_NE(Open(calc), nullptr);
    auto* edit = As<TcxCalcEdit>();
    Key(Qt::Key_Down, Qt::AltModifier);
    SpinUntil([&] { return edit->DroppedDown(); }, 500);
    ASSERT_TRUE(edit->DroppedDown());
    QWidget* calcPeer = edit->Calculator()->Peer();
    QTest::sendKeyEvent(QTest::Click, calcPeer, Qt::Key_Plus, QString("+"), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, calcPeer, Qt::Key_2, QString("2"), Qt::NoModifier);
    QTest::keyClick(calcPeer, Qt::Key_Escape);
    vcl::DrainPostedMessages();
    SpinUntil([&] { return !edit->DroppedDown(); }, 500);
    EXPECT_FALSE(edit->DroppedDown());
    EXPECT_TRUE(grid->GetIsEditing());
    EXPECT_EQ(cxPopupWindowCount(), 0);
    Key(Qt::Key_Escape);   // undoes what the calculator wrote
    EXPECT_FALSE(grid->GetIsEditing());
    EXPECT_DOUBLE_EQ(Value(calc).ToDouble(), 5.0);
}

TEST_F(VGridEditorRowsTest, TimeRowTypedThroughItsMaskAndUndoneByEsc)
{
    TcxEditorRow* time = AddKind<TcxTimeEditProperties>("time");
    ShowGrid();
    ASSERT_NE(Open(time), nullptr);
    auto* edit = As<TcxTimeEdit>();
    ASSERT_NE(edit, nullptr);
    Key(Qt::Key_Home);
    Type("0930");
    Key(Qt::Key_Return);
    EXPECT_FALSE(grid->GetIsEditing());
    EXPECT_NEAR((Value(time)).ToDate(), T(9, 30), 1e-8);

    // Retyped and undone by Esc: the row keeps its time.
    ASSERT_NE(Open(time), nullptr);
    Key(Qt::Key_Home);
    Type("11");
    EXPECT_EQ(As<TcxTimeEdit>()->Text(), "11:30:00");
    Key(Qt::Key_Home);
    Key(Qt::Key_Up);   // the editor's own: steps the hours, the row stays
    EXPECT_EQ(As<TcxTimeEdit>()->Text(), "12:30:00");
    EXPECT_EQ(grid->GetFocusedRow(), time);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(grid->GetIsEditing());
    EXPECT_NEAR(Value(time).ToDate(), T(9, 30), 1e-8);
}

TEST_F(VGridEditorRowsTest, MemoRowTakesChineseAndLineBreaksAndPostsOnCtrlEnter)
{
    TcxEditorRow* memo = AddKind<TcxMemoProperties>("memo");
    ShowGrid();
    ASSERT_NE(Open(memo), nullptr);
    ASSERT_NE(As<TcxMemo>(), nullptr);
    Commit(QString::fromUtf8("电表"));
    Key(Qt::Key_Return, Qt::NoModifier, "\r");   // a line break inside the memo
    EXPECT_TRUE(grid->GetIsEditing());
    Type("A");
    EXPECT_EQ(As<TcxMemo>()->Text(), "电表\r\nA");
    Key(Qt::Key_Return, Qt::ControlModifier);   // the grid's: posts
    EXPECT_FALSE(grid->GetIsEditing());
    EXPECT_EQ(VarToStr(Value(memo)), "电表\r\nA");
}

TEST_F(VGridEditorRowsTest, CurrencyRowTypedAndPosted)
{
    TcxEditorRow* money = AddKind<TcxCurrencyEditProperties>("money");
    ShowGrid();
    ASSERT_NE(Open(money), nullptr);
    ASSERT_NE(As<TcxCurrencyEdit>(), nullptr);
    Type("1234.5");
    Key(Qt::Key_Return);
    EXPECT_FALSE(grid->GetIsEditing());
    EXPECT_DOUBLE_EQ((Value(money)).ToDouble(), 1234.5);
}

TEST_F(VGridEditorRowsTest, PastedTextIsPostedInCurrencyAndDateRows)
{
    TcxEditorRow* money = AddKind<TcxCurrencyEditProperties>("money");
    TcxEditorRow* date = AddKind<TcxDateEditProperties>("date");
    ShowGrid();
    Clipboard()->SetAsText("56.25");
    ASSERT_NE(Open(money), nullptr);
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_Return);
    EXPECT_DOUBLE_EQ(Value(money).ToDouble(), 56.25);
    Clipboard()->SetAsText("2024-7-8");
    ASSERT_NE(Open(date), nullptr);
    As<TcxDateEdit>()->SelectAll();
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_Return);
    ASSERT_FALSE(Value(date).IsNull());
    EXPECT_DOUBLE_EQ(Value(date).ToDate(), D(2024, 7, 8));
}

TEST_F(VGridEditorRowsTest, HyperLinkRowTakesTypedAndCommittedText)
{
    TcxEditorRow* link = AddKind<TcxHyperLinkEditProperties>("link");
    ShowGrid();
    ASSERT_NE(Open(link), nullptr);
    ASSERT_NE(As<TcxCustomHyperLinkEdit>(), nullptr);
    Type("www.");
    Commit(QString::fromUtf8("电表"));
    Type(".cn");
    Key(Qt::Key_Return);
    EXPECT_FALSE(grid->GetIsEditing());
    EXPECT_EQ(VarToStr(Value(link)), "http://www.电表.cn");   // the prefix added on posting
}

TEST_F(VGridEditorRowsTest, CheckAndRadioRowsOpenTheirOwnEditors)
{
    TcxEditorRow* check = AddKind<TcxCheckBoxProperties>("check");
    TcxEditorRow* radio = AddKind<TcxRadioGroupProperties>("radio");
    auto* items = static_cast<TcxRadioGroupProperties*>(radio->Properties()->EditProperties());
    items->AddItem("one", Variant(1));
    items->AddItem("two", Variant(2));
    check->Properties()->SetValue(Variant(false));
    radio->Properties()->SetValue(Variant(2));
    ShowGrid();
    ASSERT_NE(Open(check), nullptr);
    ASSERT_NE(As<TcxCustomCheckBox>(), nullptr);
    Key(Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_TRUE(As<TcxCustomCheckBox>()->Checked());
    Key(Qt::Key_Return);
    EXPECT_FALSE(grid->GetIsEditing());
    EXPECT_TRUE(Value(check).ToBoolean());

    ASSERT_NE(Open(radio), nullptr);
    auto* group = As<TcxCustomRadioGroup>();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->ItemIndex(), 1);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(grid->GetIsEditing());
    EXPECT_EQ(Value(radio).ToInteger(), 2);
}

TEST_F(VGridEditorRowsTest, BlobRowEditsItsMemoInThePopup)
{
    TcxEditorRow* blob = AddKind<TcxBlobEditProperties>("blob");
    blob->Properties()->SetValue(Variant(std::string("old")));
    ShowGrid();
    ASSERT_NE(Open(blob), nullptr);
    auto* edit = As<TcxBlobEdit>();
    ASSERT_NE(edit, nullptr);
    SpinUntil([&] { return edit->DroppedDown(); }, 500);
    ASSERT_TRUE(edit->DroppedDown());   // a BLOB cell drops its memo at once
    vcl::DrainPostedMessages();
    auto* popupMemo = dynamic_cast<TcxCustomMemo*>(edit->PopupControl());
    ASSERT_NE(popupMemo, nullptr);
    QWidget* focus = static_cast<TCustomEdit*>(popupMemo->InnerEdit()->GetControl())->Box()->Widget();
    QTest::keyClick(focus, Qt::Key_End, Qt::ControlModifier);
    QInputMethodEvent ev;
    ev.setCommitString(QString::fromUtf8("电表"));
    QCoreApplication::sendEvent(focus, &ev);
    vcl::DrainPostedMessages();
    QTest::keyClick(focus, Qt::Key_Return, Qt::ControlModifier);   // OK
    vcl::DrainPostedMessages();
    SpinUntil([&] { return !edit->DroppedDown(); }, 500);
    EXPECT_FALSE(edit->DroppedDown());
    Key(Qt::Key_Return);
    EXPECT_FALSE(grid->GetIsEditing());
    EXPECT_EQ(VarToStr(Value(blob)), "old电表");
}

} // namespace

namespace {

// Tab (with the option), Down and Up in an open editor move to the next or previous row as they
// do on the grid, posting the typed value on the way.
TEST_F(VGridEditorRowsTest, RowKeysInAnOpenEditorMoveTheRowAndPost)
{
    TcxEditorRow* memo = AddKind<TcxMemoProperties>("memo");
    TcxEditorRow* money = AddKind<TcxCurrencyEditProperties>("money");
    TcxEditorRow* text = AddKind<TcxTextEditProperties>("text");
    grid->OptionsBehavior()->SetGoToNextCellOnTab(true);
    ShowGrid();
    ASSERT_NE(Open(memo), nullptr);
    Commit(QString::fromUtf8("电表"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid->GetFocusedRow(), money);
    EXPECT_EQ(VarToStr(Value(memo)), "电表");   // no tab character: the memo does not want tabs
    ASSERT_NE(Open(money), nullptr);
    Type("12");
    Key(Qt::Key_Down);
    EXPECT_EQ(grid->GetFocusedRow(), text);
    EXPECT_DOUBLE_EQ(Value(money).ToDouble(), 12.0);
    ASSERT_NE(Open(text), nullptr);
    Type("x");
    Key(Qt::Key_Up);
    EXPECT_EQ(grid->GetFocusedRow(), money);
    EXPECT_EQ(VarToStr(Value(text)), "x");
}


// A row's editor opened without typing (F2, Enter, a click) shows the row's value, and leaving it
// unchanged (Enter, or a click on another row) keeps the value and its kind, for every kind of
// editor that opens on a value.
TEST_F(VGridEditorRowsTest, AValueOpenedAndLeftUnchangedKeepsItsValue)
{
    struct Kind {
        TcxEditorRow* row;
        Variant value;
    };
    std::vector<Kind> kinds = {
        {AddKind<TcxTextEditProperties>("text"), Variant(std::string("东区"))},
        {AddKind<TcxSpinEditProperties>("spin"), Variant(5)},
        {AddKind<TcxDateEditProperties>("date"), Variant::FromDate(D(2024, 5, 1))},
        {AddKind<TcxTimeEditProperties>("time"), Variant::FromDate(T(8, 15))},
        {AddKind<TcxCurrencyEditProperties>("money"), Variant(Currency{125000})},
        {AddKind<TcxCalcEditProperties>("calc"), Variant(3.5)},
        {AddKind<TcxComboBoxProperties>("combo"), Variant(std::string("平"))},
        {AddKind<TcxMaskEditProperties>("mask"), Variant(std::string("A-1"))},
    };
    static_cast<TcxComboBoxProperties*>(kinds[6].row->Properties()->EditProperties())->SetItems({"峰", "平", "谷"});
    const TcxValueTypeClass types[] = {TcxStringValueType::Class(),   TcxIntegerValueType::Class(),
                                       TcxDateTimeValueType::Class(), TcxDateTimeValueType::Class(),
                                       TcxCurrencyValueType::Class(), TcxFloatValueType::Class(),
                                       TcxStringValueType::Class(),   TcxStringValueType::Class()};
    TcxEditorRow* other = AddKind<TcxTextEditProperties>("other");
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        kinds[i].row->Properties()->DataBinding()->SetValueTypeClass(types[i]);
        kinds[i].row->Properties()->SetValue(kinds[i].value);
        ASSERT_EQ(VarType(Value(kinds[i].row)), VarType(kinds[i].value)) << i;
    }
    ShowGrid();
    auto clickValue = [this](TcxEditorRow* row) {
        const TRect r = grid->ViewInfo()->GetRowViewInfo(row)->ValuesInfo(0)->Bounds;
        QTest::mouseClick(grid->Peer(), Qt::LeftButton, Qt::NoModifier, QPoint(r.Left + 4, (r.Top + r.Bottom) / 2));
        vcl::DrainPostedMessages();
    };
    enum Way { F2ThenEnter, F2ThenClickAway, ClickThenEnter };
    for (Way way : {F2ThenEnter, F2ThenClickAway, ClickThenEnter})
        for (const Kind& k : kinds) {
            SCOPED_TRACE(testing::Message() << k.row->Properties()->GetCaption() << " way " << way);
            grid->SetFocusedRow(k.row);
            if (way == ClickThenEnter)
                clickValue(k.row);
            else
                GridKey(Qt::Key_F2);
            ASSERT_NE(Editor(), nullptr);
            EXPECT_EQ(VarToStr(Editor()->EditValue()), VarToStr(k.value));
            if (way == F2ThenClickAway)
                clickValue(other);
            else
                Key(Qt::Key_Return);
            EXPECT_FALSE(grid->GetIsEditing() && grid->GetFocusedRow() == k.row);
            const Variant now = Value(k.row);
            EXPECT_EQ(VarType(now), VarType(k.value)) << VarToStr(now);
            EXPECT_EQ(VarCompare(now, k.value), 0) << VarToStr(now);
        }
    EXPECT_EQ(shown, std::vector<std::string>{});
}

} // namespace
