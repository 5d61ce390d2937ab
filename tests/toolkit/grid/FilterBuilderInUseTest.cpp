// The filter builder as an operator uses it: a multi-record grid of meters with a text, a spin,
// a date, a check box and a combo box row; the builder's dialog opened from the grid, conditions
// and groups made with keys and the mouse, values typed (Chinese through input-method commits),
// the filter applied, saved, cleared and opened again, all through real Qt events.
#include "FilterBuilderTestSupport.h"
#include "tests/common/TestPictures.h"

#include "toolkit/editors/cxCheckBox.h"
#include "toolkit/editors/cxDateEdit.h"
#include "toolkit/editors/cxDropDownEdit.h"
#include "toolkit/editors/cxSpinEdit.h"
#include "platform/vcl/Menus.h"

#include <QDir>
#include <QInputMethodEvent>
#include <gtest/gtest.h>

namespace {

using namespace fbtest;

class FilterInUseTest : public FilterDialogTest {
protected:
    void SetUp() override
    {
        FilterDialogTest::SetUp();
        cxMaskEditUnit::Initialize();
        cxSpinEditUnit::Initialize();
        cxDropDownEditUnit::Initialize();
        cxDateEditUnit::Initialize();
        cxCheckBoxUnit::Initialize();
        // The base grid's "Meter" stays a text row; "Reading" becomes a spin row.
        Props<TcxSpinEditProperties>(1);
        AddRow<TcxDateEditProperties>("Installed", "DateTime");
        AddRow<TcxCheckBoxProperties>("Active", "Boolean");
        AddRow<TcxComboBoxProperties>("Tariff", "String")->SetItems({"峰", "平", "谷"});
        host->SetLayoutStyle(lsMultiRecordView);
        struct Record {
            const char* meter;
            int reading;
            int year;
            bool active;
            const char* tariff;
        };
        const Record records[] = {{"东区-01", 120, 2019, true, "峰"},
                                  {"西区-02", 80, 2020, true, "谷"},
                                  {"东区-03", 300, 2021, false, "平"},
                                  {"北区-04", 150, 2022, true, "峰"},
                                  {"东区-05", 40, 2023, true, "谷"}};
        TcxCustomDataController* data = host->DataController();
        data->SetRecordCount(5);
        for (int i = 0; i < 5; ++i) {
            const Record& r = records[i];
            data->SetValue(i, ItemIndex(0), Variant(std::string(r.meter)));
            data->SetValue(i, ItemIndex(1), Variant(r.reading));
            data->SetValue(i, ItemIndex(2), Variant(EncodeDate(r.year, 6, 1)));
            data->SetValue(i, ItemIndex(3), Variant(r.active));
            data->SetValue(i, ItemIndex(4), Variant(std::string(r.tariff)));
        }
        host->SetBounds(0, 0, 480, 200);
        host->SetParent(form);
        host->HandleNeeded();
        host->LayoutChanged();
    }
    void TearDown() override
    {
        FilterDialogTest::TearDown();
        cxCheckBoxUnit::Finalize();
        cxDateEditUnit::Finalize();
        cxDropDownEditUnit::Finalize();
        cxSpinEditUnit::Finalize();
        cxMaskEditUnit::Finalize();
    }
    TcxEditorRow* Row(int i) { return static_cast<TcxEditorRow*>(host->Rows()->GetRow(i)); }
    int ItemIndex(int row) { return Row(row)->Properties()->GetItemIndex(); }
    template <class P>
    P* Props(int row)
    {
        Row(row)->Properties()->SetEditPropertiesClass(TcxCustomEditPropertiesClass::Of<P>());
        return static_cast<P*>(Row(row)->Properties()->EditProperties());
    }
    template <class P>
    P* AddRow(const char* caption, const char* type)
    {
        auto* row = host->Add<TcxEditorRow>();
        row->Properties()->SetCaption(caption);
        row->Properties()->DataBinding()->SetValueType(type);
        return Props<P>(host->Rows()->GetCount() - 1);
    }
    // The meters the grid shows now, in order.
    std::vector<std::string> Shown()
    {
        TcxCustomDataController* data = host->DataController();
        std::vector<std::string> meters;
        for (int i = 0; i < data->GetRowCount(); ++i)
            meters.push_back(VarToStr(data->GetValue(data->GetFilteredRecordIndex(i), ItemIndex(0))));
        return meters;
    }
    static void KeyIn(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(w, key, modifiers);
        vcl::DrainPostedMessages();
    }
    static void TypeIn(QWidget* w, const char* text)
    {
        QTest::keyClicks(w, text);
        vcl::DrainPostedMessages();
    }
    // Text committed by an input method to the widget, as a Chinese input method does.
    static void Commit(QWidget* w, const QString& text)
    {
        QInputMethodEvent e;
        e.setCommitString(text);
        QApplication::sendEvent(w, &e);
        vcl::DrainPostedMessages();
    }
    static void ClickAt(TWinControl* c, const TRect& r, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(c->Peer(), button, Qt::NoModifier, QPoint(r.Left + 2, r.Top + r.Height() / 2));
        vcl::DrainPostedMessages();
    }
    // Picks an entry of the builder's open drop-down list by arrows and Enter.
    static void Pick(TcxCustomFilterControl* fc, const std::string& text)
    {
        TcxComboBox* combo = fc->ComboBox();
        ASSERT_TRUE(combo->DroppedDown()) << text;
        const std::vector<std::string>& items = combo->Properties()->Items();
        const auto at = std::find(items.begin(), items.end(), text);
        ASSERT_NE(at, items.end()) << text << " among " << items.size();
        const int target = int(at - items.begin());
        QWidget* field = Field(combo);
        // The list opens on the part's current text.
        const auto current = std::find(items.begin(), items.end(), combo->Text());
        int index = current == items.end() ? -1 : int(current - items.begin());
        for (; index < target; ++index)
            KeyIn(field, Qt::Key_Down);
        for (; index > target; --index)
            KeyIn(field, Qt::Key_Up);
        KeyIn(field, Qt::Key_Return);
    }
    // The open value editor's input field; a missing editor is a failure, and the keys then go
    // to the builder.
    static QWidget* EditorField(TcxCustomFilterControl* fc, int line)
    {
        if (fc->ValueEditor())
            return Field(fc->ValueEditor());
        ADD_FAILURE() << "no value editor at line " << line << ", state " << fc->State() << ", part "
                      << fc->FocusedPart();
        return fc->Peer();
    }
    static TcxConditionViewInfo* ConditionOf(TcxCustomFilterControl* fc, int row)
    {
        return dynamic_cast<TcxConditionViewInfo*>(fc->Rows(row));
    }
};

// Two conditions by keys only: Insert, Enter on the item and the operator, a typed number and
// a Chinese pattern committed by the input method, then Apply and OK.
TEST_F(FilterInUseTest, TwoConditionsByKeysFilterTheGrid)
{
    std::vector<std::string> afterApply;
    EXPECT_TRUE(Run([&](TfmFilterControlDialog* d) {
        TcxCustomFilterControl* fc = d->FilterControl;
        QWidget* w = fc->Peer();
        ASSERT_TRUE(fc->Focused());
        KeyIn(w, Qt::Key_Insert);
        ASSERT_EQ(fc->RowCount(), 2);
        ASSERT_EQ(fc->FocusedPart(), fhtItem);
        KeyIn(w, Qt::Key_Return);
        Pick(fc, "Reading");
        EXPECT_EQ(fc->FocusedPart(), fhtOperator);
        KeyIn(w, Qt::Key_Return);
        Pick(fc, "is greater than");
        if (fc->FocusedPart() != fhtValue)
            KeyIn(w, Qt::Key_Right);
        ASSERT_EQ(fc->FocusedPart(), fhtValue);
        TypeIn(w, "100");
        ASSERT_TRUE(fc->ValueEditor());
        KeyIn(EditorField(fc, __LINE__), Qt::Key_Return);
        ASSERT_FALSE(fc->ValueEditor());
        EXPECT_EQ(ConditionOf(fc, 1)->Values()->Items(0)->Value.ToString(), "100");

        KeyIn(w, Qt::Key_Insert);
        ASSERT_EQ(fc->RowCount(), 3);
        KeyIn(w, Qt::Key_Return);
        Pick(fc, "Meter");
        EXPECT_EQ(ConditionOf(fc, 2)->Operator(), fcoLike);
        KeyIn(w, Qt::Key_Right);
        ASSERT_EQ(fc->FocusedPart(), fhtValue);
        KeyIn(w, Qt::Key_Return);
        ASSERT_TRUE(fc->ValueEditor());
        Commit(EditorField(fc, __LINE__), QString::fromUtf8("东区%"));
        KeyIn(EditorField(fc, __LINE__), Qt::Key_Return);
        EXPECT_EQ(ConditionOf(fc, 2)->Values()->Items(0)->ValueText, "东区%");
        Press(d->btApply);
        afterApply = Shown();
        Press(d->btOk);
    }));
    EXPECT_EQ(afterApply, (std::vector<std::string>{"东区-01", "东区-03"}));
    EXPECT_EQ(Shown(), afterApply);
    EXPECT_TRUE(shown.empty());
}

// Three conditions with a nested OR group, made with the mouse (the add-condition button, the
// parts, the row menu), saved as a file, cleared, opened again and confirmed with OK.
TEST_F(FilterInUseTest, ANestedGroupByMouseSurvivesSaveClearAndOpen)
{
    const std::string file = dir.filePath("东区.flt").toStdString();
    int choice = 1;   // Add Group
    TMenuPresenter old = SetMenuPresenter([&](TPopupMenu* menu, TPoint) -> TMenuItem* {
        return menu->Items()->Items(choice);
    });
    std::string savedText;
    EXPECT_TRUE(Run([&](TfmFilterControlDialog* d) {
        TcxCustomFilterControl* fc = d->FilterControl;
        // Active = true.
        ClickAt(fc, fc->ViewInfo()->AddConditionRect);
        ASSERT_EQ(fc->RowCount(), 2);
        ClickAt(fc, ConditionOf(fc, 1)->ItemRect);
        Pick(fc, "Active");
        ClickAt(fc, ConditionOf(fc, 1)->OperatorRect);
        Pick(fc, "equals");
        ASSERT_EQ(ConditionOf(fc, 1)->Values()->Count(), 1);
        ClickAt(fc, ConditionOf(fc, 1)->Values()->Items(0)->ValueRect);
        ASSERT_TRUE(fc->ValueEditor());
        // The check box's value is a fixed list of its two texts, found by typing.
        TypeIn(EditorField(fc, __LINE__), "T");
        KeyIn(EditorField(fc, __LINE__), Qt::Key_Return);
        ASSERT_FALSE(fc->ValueEditor());
        EXPECT_EQ(ConditionOf(fc, 1)->Values()->Items(0)->ValueText, "True");
        // The root's menu adds an OR group with Tariff = 峰 or Reading < 100.
        ClickAt(fc, fc->Root()->ButtonRect);
        ASSERT_EQ(fc->RowCount(), 4);
        TcxGroupViewInfo* group = dynamic_cast<TcxGroupViewInfo*>(fc->Rows(2));
        ASSERT_TRUE(group);
        ClickAt(fc, group->BoolOperatorRect);
        Pick(fc, "OR");
        ClickAt(fc, ConditionOf(fc, 3)->ItemRect);
        Pick(fc, "Tariff");
        ClickAt(fc, ConditionOf(fc, 3)->OperatorRect);
        Pick(fc, "equals");
        ClickAt(fc, ConditionOf(fc, 3)->Values()->Items(0)->ValueRect);
        ASSERT_TRUE(fc->ValueEditor());
        Commit(EditorField(fc, __LINE__), QString::fromUtf8("峰"));
        KeyIn(EditorField(fc, __LINE__), Qt::Key_Return);
        EXPECT_EQ(ConditionOf(fc, 3)->Values()->Items(0)->ValueText, "峰");
        choice = 0;   // Add Condition to the group
        ClickAt(fc, group->ButtonRect);
        ASSERT_EQ(fc->RowCount(), 5);
        ClickAt(fc, ConditionOf(fc, 4)->ItemRect);
        Pick(fc, "Reading");
        ClickAt(fc, ConditionOf(fc, 4)->OperatorRect);
        Pick(fc, "is less than");
        ClickAt(fc, ConditionOf(fc, 4)->Values()->Items(0)->ValueRect);
        ASSERT_TRUE(fc->ValueEditor()) << fc->State() << " " << fc->FocusedPart() << " " << fc->FocusedValueIndex()
                                       << " " << ConditionOf(fc, 4)->OperatorText() << " "
                                       << ConditionOf(fc, 4)->Values()->Count() << " " << shown.size();
        TypeIn(EditorField(fc, __LINE__), "100");
        KeyIn(EditorField(fc, __LINE__), Qt::Key_Return);
        savedText = fc->GetFilterCaption();

        answer = file;
        Press(d->btSave);
        EXPECT_EQ(d->Caption(), "Filter builder - [" + file + "]");
        choice = 3;   // Clear All
        ClickAt(fc, fc->Root()->ButtonRect);
        EXPECT_EQ(fc->RowCount(), 1);
        Press(d->btOpen);
        EXPECT_EQ(fc->RowCount(), 5);
        EXPECT_EQ(fc->GetFilterCaption(), savedText);
        Press(d->btOk);
    }));
    SetMenuPresenter(old);
    EXPECT_TRUE(shown.empty()) << (shown.empty() ? "" : shown.front());
    // Active and (峰 or under 100): all but the inactive 东区-03.
    EXPECT_EQ(Shown(), (std::vector<std::string>{"东区-01", "西区-02", "北区-04", "东区-05"}));
    EXPECT_EQ(savedText, "(Active = True) and ((Tariff = 峰) or (Reading < 100))");
}

// Cancel leaves the grid as it was; a second dialog opens empty again... with the grid's filter.
TEST_F(FilterInUseTest, CancelKeepsTheGridAndTheNextDialogShowsItsFilter)
{
    EXPECT_FALSE(Run([&](TfmFilterControlDialog* d) {
        TcxCustomFilterControl* fc = d->FilterControl;
        KeyIn(fc->Peer(), Qt::Key_Insert);
        KeyIn(fc->Peer(), Qt::Key_Return);
        Pick(fc, "Reading");
        Press(d->btCancel);
    }));
    EXPECT_EQ(Shown().size(), 5u);
    EXPECT_EQ(host->DataController()->Filter()->Root()->Count(), 0);
}

// The dialog grows and shrinks with the builder filling it and the buttons at the bottom right.
TEST_F(FilterInUseTest, ResizingKeepsTheButtonsAtTheBottomRight)
{
    Run([&](TfmFilterControlDialog* d) {
        for (TSize size : {TSize{800, 500}, TSize{552, 138}, TSize{300, 100}}) {
            d->SetBounds(d->Left(), d->Top(), size.cx, size.cy);
            vcl::DrainPostedMessages();
            const int w = d->ClientWidth(), h = d->ClientHeight();
            EXPECT_GE(w, 552);
            EXPECT_GE(h, 138);
            EXPECT_EQ(d->FilterControl->BoundsRect(), (TRect{0, 0, w, h - 38})) << size.cx;
            EXPECT_EQ(d->pnlBottom->BoundsRect(), (TRect{0, h - 38, w, h}));
            const TPoint cancel = d->btCancel->ClientToScreen({0, 0});
            const TPoint client = d->ClientToScreen({0, 0});
            EXPECT_EQ(cancel.X - client.X, w - 318 + 106);
            EXPECT_EQ(cancel.Y - client.Y, h - 38 + 8);
        }
        d->SetModalResult(mrCancel);
    });
}

// A hot or focused value is at least twelve "0" widths wide (in the builder's font), also for
// the spin, date and combo editors' values.
TEST_F(FilterInUseTest, AHotOrFocusedValueIsAtLeastTwelveZeroesWide)
{
    Run([&](TfmFilterControlDialog* d) {
        TcxCustomFilterControl* fc = d->FilterControl;
        TcxCanvas* canvas = fc->ViewInfo()->Canvas();
        canvas->SetFont(fc->Font());
        const int minimum = 12 * canvas->TextWidth("0");
        for (const char* item : {"Reading", "Installed", "Tariff", "Meter"}) {
            SCOPED_TRACE(item);
            fc->RemoveRow();
            KeyIn(fc->Peer(), Qt::Key_Insert);
            KeyIn(fc->Peer(), Qt::Key_Return);
            Pick(fc, item);
            TcxConditionViewInfo* c = dynamic_cast<TcxConditionViewInfo*>(fc->FocusedRow());
            ASSERT_TRUE(c);
            ASSERT_GT(c->Values()->Count(), 0);
            const TRect plain = c->Values()->Items(0)->ValueRect;
            EXPECT_LT(plain.Width(), minimum);
            // Hot under the pointer.
            QTest::mouseMove(fc->Peer(), QPoint(plain.Left + 1, plain.Top + plain.Height() / 2));
            vcl::DrainPostedMessages();
            EXPECT_GE(c->Values()->Items(0)->ValueRect.Width(), minimum);
            QTest::mouseMove(fc->Peer(), QPoint(fc->Width() - 5, fc->Height() - 5));
            vcl::DrainPostedMessages();
            // Focused by keys.
            KeyIn(fc->Peer(), Qt::Key_Right);
            KeyIn(fc->Peer(), Qt::Key_Right);
            ASSERT_EQ(fc->FocusedPart(), fhtValue);
            EXPECT_GE(c->Values()->Items(0)->ValueRect.Width(), minimum);
        }
        d->SetModalResult(mrCancel);
    });
}

// The dialog over the grid with a three-condition filter and Chinese captions, drawn with the
// real font engine into a picture for a look (filter_dialog3.png).
TEST_F(FilterInUseTest, RendersAThreeConditionFilterWithChineseCaptions)
{
    gdi::SetFontEngine(gdi::MakeQtFontEngine());
    const char* captions[] = {"电表编号", "读数", "安装日期", "启用", "费率"};
    for (int i = 0; i < 5; ++i)
        Row(i)->Properties()->SetCaption(captions[i]);
    ASSERT_EQ(host->GetFilterCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(host->GetFilterCaption(i), captions[i]);
    host->DataController()->Filter()->Clear();
    auto* criteria = host->DataController()->Filter();
    criteria->AddItem(criteria->Root(), host->GetFilterItemLink(3), foEqual, Variant(true), "True");
    auto* group = criteria->Root()->AddItemList(fboOr);
    criteria->AddItem(group, host->GetFilterItemLink(4), foEqual, Variant(std::string("峰")), "峰");
    criteria->AddItem(group, host->GetFilterItemLink(1), foLess, Variant(100), "100");
    EXPECT_TRUE(Activate(form));
    // The grid's scroll bars and grip live inside the grid's window, not on the desktop.
    for (int i = 0; i < host->ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(host->Controls(i)); w && w->HandleAllocated()) {
            EXPECT_EQ(w->Peer()->parentWidget(), host->Peer()) << w->ClassName();
        }
    Run([&](TfmFilterControlDialog* d) {
        d->Font()->SetName("WenQuanYi Micro Hei");
        d->FilterControl->Font()->SetName("WenQuanYi Micro Hei");
        // The grid's form under the dialog, as the operator sees them.
        const TPoint a = form->ClientToScreen({0, 0}), b = d->ClientToScreen({0, 0});
        const TPoint origin{std::min(a.X, b.X), std::min(a.Y, b.Y)};
        QImage image(std::max(a.X + form->ClientWidth(), b.X + d->ClientWidth()) - origin.X,
                     std::max(a.Y + form->ClientHeight(), b.Y + d->ClientHeight()) - origin.Y, QImage::Format_RGB32);
        image.fill(Qt::darkGray);
        Compose(image, form, origin);
        Compose(image, d, origin);
        SaveTestPicture(image, "filter_dialog3.png");
        d->SetModalResult(mrCancel);
    });
}

// Esc first ends what is open inside the builder (a drop-down list, a value being edited); the
// dialog and its rows stay. A Chinese word committed on a focused value opens its editor with
// the whole word.
TEST_F(FilterInUseTest, EscEndsTheOpenPartFirstAndACommitOnAValueKeepsTheWord)
{
    bool openAfterList = false, openAfterEditor = false;
    std::string typed;
    EXPECT_FALSE(Run([&](TfmFilterControlDialog* d) {
        TcxCustomFilterControl* fc = d->FilterControl;
        QWidget* w = fc->Peer();
        KeyIn(w, Qt::Key_Insert);
        KeyIn(w, Qt::Key_Return);
        Pick(fc, "Meter");
        KeyIn(w, Qt::Key_Return);   // the operator list
        ASSERT_TRUE(fc->ComboBox()->DroppedDown());
        KeyIn(Field(fc->ComboBox()), Qt::Key_Escape);
        openAfterList = d->ModalResult() == mrNone && fc->RowCount() == 2;
        ClickAt(fc, ConditionOf(fc, 1)->Values()->Items(0)->ValueRect);
        ASSERT_TRUE(fc->ValueEditor());
        KeyIn(EditorField(fc, __LINE__), Qt::Key_Escape);
        openAfterEditor = d->ModalResult() == mrNone && fc->RowCount() == 2 && !fc->ValueEditor();
        ASSERT_EQ(fc->FocusedPart(), fhtValue);
        Commit(w, QString::fromUtf8("东区"));
        if (fc->ValueEditor())
            typed = dynamic_cast<TcxCustomTextEdit*>(fc->ValueEditor())->Text();
        KeyIn(EditorField(fc, __LINE__), Qt::Key_Escape);
        d->SetModalResult(mrCancel);
    }));
    EXPECT_TRUE(openAfterList);
    EXPECT_EQ(typed, "东区");
    EXPECT_TRUE(openAfterEditor);
}


// A value opened without typing (Enter, Space or a click on it) shows what it holds, and leaving
// it unchanged (Enter, or a click elsewhere) keeps it: for every editor kind of the grid.
TEST_F(FilterInUseTest, AValueOpenedAndLeftUnchangedKeepsItsValue)
{
    auto* criteria = host->DataController()->Filter();
    criteria->AddItem(criteria->Root(), host->GetFilterItemLink(0), foEqual, Variant(std::string("东区-01")), "东区-01");
    criteria->AddItem(criteria->Root(), host->GetFilterItemLink(1), foEqual, Variant(5), "5");
    criteria->AddItem(criteria->Root(), host->GetFilterItemLink(2), foEqual, Variant::FromDate(EncodeDate(2020, 6, 1)),
                      DateToStr(EncodeDate(2020, 6, 1)));
    criteria->AddItem(criteria->Root(), host->GetFilterItemLink(3), foEqual, Variant(true), "True");
    criteria->AddItem(criteria->Root(), host->GetFilterItemLink(4), foEqual, Variant(std::string("平")), "平");
    NewBuilder();
    ASSERT_EQ(builder->RowCount(), 6);
    enum Way { ByEnter, BySpace, ByClick };
    for (Way way : {ByEnter, BySpace, ByClick})
        for (int row = 1; row <= 5; ++row) {
            TcxConditionViewInfo* c = Condition(row);
            SCOPED_TRACE(testing::Message() << c->ItemText() << " way " << way);
            const Variant value = c->Values()->Items(0)->Value;
            const std::string text = c->Values()->Items(0)->ValueText;
            // Straight onto the value of a row not focused yet, without a move over it first
            // (the pointer stood still while the wheel scrolled): the editor takes the focused
            // value's place, not the narrow one the press landed on.
            if (way == ByClick) {
                ASSERT_NE(builder->FocusedRow(), c);
                ClickAt(builder, c->Values()->Items(0)->ValueRect);
            } else {   // the arrows walk to the value
                for (int i = 0; i < 8 && builder->FocusedRow() != c; ++i)
                    Key(builder->IndexOfRow(builder->FocusedRow()) < row ? Qt::Key_Down : Qt::Key_Up);
                for (int i = 0; i < 8 && builder->FocusedPart() != fhtValue; ++i)
                    Key(Qt::Key_Right);
                ASSERT_EQ(builder->FocusedRow(), c);
                ASSERT_EQ(builder->FocusedPart(), fhtValue);
                Key(way == ByEnter ? Qt::Key_Return : Qt::Key_Space);
            }
            auto* editor = dynamic_cast<TcxCustomTextEdit*>(builder->ValueEditor());
            ASSERT_TRUE(editor);
            EXPECT_EQ(editor->Text(), text);
            if (way == ByClick) {   // leaving it for the builder commits
                ClickAt(builder, TRect(builder->ClientWidth() - 20, builder->ClientHeight() - 20,
                                       builder->ClientWidth() - 10, builder->ClientHeight() - 10));
            } else {
                Key(Qt::Key_Return, Qt::NoModifier, Field(editor));
            }
            ASSERT_FALSE(builder->ValueEditor());
            EXPECT_EQ(VarCompare(c->Values()->Items(0)->Value, value), 0) << VarToStr(c->Values()->Items(0)->Value);
            EXPECT_EQ(c->Values()->Items(0)->ValueText, text);
        }
    EXPECT_TRUE(shown.empty());
}


// The value editor opened by Enter on "电表编号 like 东区%" shows the pattern, drawn with the real
// font next to the Chinese captions.
TEST_F(FilterInUseTest, AnOpenedValueEditorShowsItsValue)
{
    gdi::SetFontEngine(gdi::MakeQtFontEngine());
    Row(0)->Properties()->SetCaption("电表编号");
    Row(1)->Properties()->SetCaption("读数");
    auto* criteria = host->DataController()->Filter();
    criteria->AddItem(criteria->Root(), host->GetFilterItemLink(0), foLike, Variant(std::string("东区%")), "东区%");
    criteria->AddItem(criteria->Root(), host->GetFilterItemLink(1), foEqual, Variant(5), "5");
    NewBuilder();
    builder->Font()->SetName("WenQuanYi Micro Hei");
    builder->SetFocusedRow(Condition(1));
    builder->RowNavigate(fhtValue, 0);
    Key(Qt::Key_Return);
    TcxCustomEdit* editor = builder->ValueEditor();
    ASSERT_TRUE(editor);
    // The builder as the screen shows it, the editor's text field (a platform field) included.
    builder->Update();
    const QImage image = builder->Peer()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Ink in the editor's text: the pattern is there (an empty editor is white).
    int ink = 0;
    const TPoint at = editor->ClientToScreen({0, 0});
    const TPoint origin = builder->ClientToScreen({0, 0});
    for (int y = 2; y < editor->Height() - 2; ++y)
        for (int x = 2; x < editor->Width() - 2; ++x)
            ink += qGray(image.pixel(at.X - origin.X + x, at.Y - origin.Y + y)) < 160;
    EXPECT_GT(ink, 20);
    SaveTestPicture(image.scaled(image.width() * 2, image.height() * 2), "filter_value_editor.png");
    Key(Qt::Key_Escape, Qt::NoModifier, Field(editor));
}

} // namespace
