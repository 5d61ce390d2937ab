// The text editor control on a real field: every input path reaches the editor first, the line
// edit's extras are gone, selection and limits behave as the system edit's, replacing the
// selection under a limit, incremental search typed, digit grouping and the text messages.
#include "tests/platform/vcl/VclTestSupport.h"

#include "platform/gdi/Text.h"
#include "platform/rtl/Unicode.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/EditBox.h"
#include "platform/vcl/Input.h"
#include "platform/vcl/Menus.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditUtils.h"
#include "toolkit/editors/cxMaskEdit.h"
#include "toolkit/editors/cxTextEdit.h"

#include <QInputMethodEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace cx;

namespace {

class TextEditTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditPaintUtilsUnit::Initialize();
        cxTextEditUnit::Initialize();
        cxMaskEditUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 320, 200);
        edit = NewEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 150, 24);
        other = NewEdit(form);
        other->SetParent(form);
        other->SetBounds(10, 50, 150, 24);
        ASSERT_TRUE(Activate(form));
        Focus(edit);
        Clipboard()->SetAsText("PASTE");
    }
    void TearDown() override
    {
        form->Free();
        cxMaskEditUnit::Finalize();
        cxTextEditUnit::Finalize();
        cxEditPaintUtilsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    // The editor under test; an unmasked mask editor must type exactly as the text editor.
    virtual TcxCustomTextEdit* NewEdit(TComponent* owner) { return new TcxTextEdit(owner); }
    void Focus(TcxCustomTextEdit* e)
    {
        e->InnerTextEditControl()->SetFocus();
        SpinUntil([&] { return e->InnerTextEditControl()->Focused(); }, 500);
    }
    QWidget* Field(TcxCustomTextEdit* e) { return e->InnerTextEditControl()->Box()->Widget(); }
    void Type(const QString& s, TcxCustomTextEdit* e = nullptr)
    {
        for (QChar c : s)
            QTest::sendKeyEvent(QTest::Click, Field(e ? e : edit), Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
        vcl::DrainPostedMessages();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
    {
        QTest::sendKeyEvent(QTest::Click, Field(edit), key, text, mods);
        vcl::DrainPostedMessages();
    }
    void Commit(const QString& s)
    {
        QInputMethodEvent ev;
        ev.setCommitString(s);
        QCoreApplication::sendEvent(Field(edit), &ev);
        vcl::DrainPostedMessages();
    }
    void Refuse(bool refuse)
    {
        if (refuse)
            edit->OnEditing = [](TObject*, bool& can) { can = false; };
        else
            edit->OnEditing = nullptr;
    }
    TForm* form = nullptr;
    TcxCustomTextEdit* edit = nullptr;
    TcxCustomTextEdit* other = nullptr;
};

// The same scripts on both kinds: the text editor and a mask editor without a mask.
class TextKindTest : public TextEditTest, public ::testing::WithParamInterface<bool> {
protected:
    TcxCustomTextEdit* NewEdit(TComponent* owner) override
    {
        if (GetParam())
            return new TcxMaskEdit(owner);
        return new TcxTextEdit(owner);
    }
};
INSTANTIATE_TEST_SUITE_P(Kinds, TextKindTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "MaskEdit" : "TextEdit"; });

TEST_P(TextKindTest, EveryInputPathAsksTheEditorFirst)
{
    TEdit* source = new TEdit(form);
    source->SetParent(form);
    source->SetBounds(10, 90, 100, 24);
    source->DragMode = dmAutomatic;
    struct Path {
        const char* name;
        std::function<void()> run;
        std::string changed;   // the text after the path ran on "abc" with the caret at 3
    };
    std::vector<Path> paths = {
        {"letter", [&] { Type("x"); }, "abcx"},
        {"Ctrl+V", [&] { Key(Qt::Key_V, Qt::ControlModifier, "v"); }, "abcPASTE"},
        {"Shift+Insert", [&] { Key(Qt::Key_Insert, Qt::ShiftModifier); }, "abcPASTE"},
        {"menu Paste", [&] { edit->InnerTextEditControl()->EditMenu()->Items()->Items(4)->Click(); }, "abcPASTE"},
        {"middle click",
         [&] {
             // The middle button pastes the clipboard (not the X selection) at the caret.
             QTest::mouseClick(Field(edit), Qt::MiddleButton, {}, QPoint(60, 5));
             vcl::DrainPostedMessages();
         },
         "abcPASTE"},
        {"drop",
         [&] {
             // Dragged with the mouse out of another edit and released over the field's end.
             source->SetText("DROP");
             source->SelectAll();
             QTest::mousePress(source->Box()->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
             QTest::mouseMove(Field(edit), QPoint(140, 5));
             QTest::mouseMove(Field(edit), QPoint(141, 5));
             QTest::mouseRelease(Field(edit), Qt::LeftButton, {}, QPoint(141, 5));
             vcl::DrainPostedMessages();
         },
         "abcDROP"},
        {"commit", [&] { Commit(QString::fromUtf8("电表")); }, "abc电表"},
    };
    for (bool refuse : {true, false}) {
        for (const Path& path : paths) {
            Focus(edit);
            Refuse(false);
            edit->SetText("abc");
            edit->SetSelection(3, 0);
            edit->SetModified(false);
            Refuse(refuse);
            path.run();
            EXPECT_EQ(edit->Text(), refuse ? std::string("abc") : path.changed) << path.name << " refuse=" << refuse;
            Refuse(false);
        }
    }
}

TEST_F(TextEditTest, MousePressesOnTheFieldReachTheEditor)
{
    struct Seen {
        char what;
        TMouseButton button;
        TPoint p;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen;
    other->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) { seen.push_back({'D', b, {x, y}}); };
    other->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int x, int y) { seen.push_back({'U', b, {x, y}}); };
    other->SetText("abcdef");
    TWinControl* field = other->InnerTextEditControl();
    const TPoint at{field->Left() + 3, field->Top() + 4};
    QTest::mouseClick(Field(other), Qt::LeftButton, {}, QPoint(3, 4));
    vcl::DrainPostedMessages();
    // In the editor's coordinates; the press still focuses the field and places its caret.
    EXPECT_EQ(seen, (std::vector<Seen>{{'D', mbLeft, at}, {'U', mbLeft, at}}));
    EXPECT_TRUE(field->Focused());
    EXPECT_EQ(other->SelStart(), 0);
    EXPECT_FALSE(other->InnerControlMouseDown);   // only marked while the press is handed on
}

TEST_P(TextKindTest, TheLineEditsExtraBindingsDoNothing)
{
    Type("one two");
    Key(Qt::Key_Z, Qt::ControlModifier, "z");   // one level of undo, as the system edit keeps
    const std::string undone = edit->Text();
    struct Binding {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        const char* text;
    } bindings[] = {
        {Qt::Key_Backspace, Qt::ControlModifier, "\x7f"}, {Qt::Key_Delete, Qt::ControlModifier, ""},
        {Qt::Key_K, Qt::ControlModifier, "\x0b"},         {Qt::Key_Backspace, Qt::AltModifier, "\b"},
        {Qt::Key_Y, Qt::ControlModifier, "\x19"},         {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "\x1a"},
    };
    edit->SetSelection(3, 0);
    for (const Binding& b : bindings) {
        Key(b.key, b.mods, QString::fromLatin1(b.text));
        EXPECT_EQ(edit->Text(), undone) << int(b.key) << " " << int(b.mods);
    }
    // A second Ctrl+Z finds nothing more to undo.
    Key(Qt::Key_Z, Qt::ControlModifier, "z");
    EXPECT_EQ(edit->Text(), undone);
}

TEST_P(TextKindTest, SelectionFocusAutoSelectLimitAndCaret)
{
    edit->SetText("abcdef");
    EXPECT_EQ(edit->GetCursorPos(), 0);   // text set by code leaves the caret at 0
    edit->Properties()->SetAutoSelect(false);
    edit->SetSelection(1, 3);
    Focus(other);
    Focus(edit);
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 3);

    // Tab in: AutoSelect selects all, without it the selection stays.
    other->SetText("xyz");
    for (bool autoSelect : {true, false}) {
        other->Properties()->SetAutoSelect(autoSelect);
        other->SetSelection(1, 0);
        Focus(edit);
        Key(Qt::Key_Tab);
        ASSERT_TRUE(other->InnerTextEditControl()->Focused());
        EXPECT_EQ(other->SelLength(), autoSelect ? 3 : 0) << autoSelect;
        EXPECT_EQ(other->Text(), "xyz");
    }

    // A lower limit keeps the text; 0 is no limit.
    Focus(edit);
    edit->Properties()->SetMaxLength(3);
    EXPECT_EQ(edit->Text(), "abcdef");
    edit->Properties()->SetMaxLength(0);
    edit->SetSelection(6, 0);
    Type("gh");
    EXPECT_EQ(edit->Text(), "abcdefgh");
    // Tab never types, and the field keeps a one-pixel right margin.
    EXPECT_EQ(edit->Text().find('\t'), std::string::npos);
    EXPECT_EQ(HiWord(std::uintptr_t(edit->InnerTextEditControl()->Perform(EM_GETMARGINS, 0, 0))), 1);
}

// The system edit's key rules in a few lines: text, anchor and caret.
struct EditModel {
    std::u16string text;
    int anchor = 0, caret = 0;
    int Lo() const { return std::min(anchor, caret); }
    int Hi() const { return std::max(anchor, caret); }
    void Replace(const std::u16string& s)
    {
        text = text.substr(0, std::size_t(Lo())) + s + text.substr(std::size_t(Hi()));
        caret = anchor = Lo() + int(s.size());
    }
    void Move(int to, bool shift)
    {
        caret = std::clamp(to, 0, int(text.size()));
        if (!shift)
            anchor = caret;
    }
    void Apply(char op, bool shift)
    {
        switch (op) {
        case '<': Move(!shift && Lo() != Hi() ? Lo() : caret - 1, shift); break;
        case '>': Move(!shift && Lo() != Hi() ? Hi() : caret + 1, shift); break;
        case 'H': Move(0, shift); break;
        case 'E': Move(int(text.size()), shift); break;
        case 'B':
            if (Lo() == Hi() && caret > 0)
                anchor = caret - 1;
            Replace(u"");
            break;
        case 'D':
            if (Lo() == Hi() && caret < int(text.size()))
                anchor = caret + 1;
            Replace(u"");
            break;
        default: Replace(std::u16string(1, char16_t(op)));
        }
    }
};

TEST_P(TextKindTest, KeyScriptsMatchTheSystemEditModel)
{
    const char* scripts[] = {"abc<<xH>DE", "hello<<<s>sBE<s<sD", "ab<s<szHsEs<Bq", "x>>>HsEsB12<D"};
    for (const char* script : scripts) {
        edit->SetText("");
        EditModel model;
        for (const char* c = script; *c; ++c) {
            const bool shift = c[1] == 's' && std::string("<>HE").find(*c) != std::string::npos;
            const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
            switch (*c) {
            case '<': Key(Qt::Key_Left, mods); break;
            case '>': Key(Qt::Key_Right, mods); break;
            case 'H': Key(Qt::Key_Home, mods); break;
            case 'E': Key(Qt::Key_End, mods); break;
            case 'B': Key(Qt::Key_Backspace, Qt::NoModifier, "\b"); break;
            case 'D': Key(Qt::Key_Delete); break;
            default: Type(QString(QChar(*c)));
            }
            model.Apply(*c, shift);
            if (shift)
                ++c;
        }
        EXPECT_EQ(Utf8ToUtf16(edit->Text()), model.text) << script;
        EXPECT_EQ(edit->SelStart(), model.Lo()) << script;
        EXPECT_EQ(edit->SelLength(), model.Hi() - model.Lo()) << script;
        EXPECT_EQ(edit->GetCursorPos(), model.caret) << script;
    }
}

TEST_P(TextKindTest, ReplacingTheSelectionUnderALimit)
{
    edit->Properties()->SetMaxLength(3);
    // Focused (a user change): the inserted text gives way so that the whole text fits.
    edit->SetText("a");
    edit->SetSelection(1, 0);
    edit->SetSelText("bcdef");
    EXPECT_EQ(edit->Text(), "abc");
    // Full: an insert at 0 is refused, the text stays.
    edit->SetSelection(0, 0);
    edit->SetSelText("z");
    EXPECT_EQ(edit->Text(), "abc");
    // Unfocused (code): the whole text is stored.
    Focus(other);
    edit->SetText("a");
    edit->SetSelection(1, 0);
    edit->SetSelText("bcdef");
    EXPECT_EQ(edit->Text(), "abcdef");
    // A text already over the limit refuses any further user insert.
    Focus(edit);
    edit->SetSelection(5, 0);
    edit->SetSelText("x");
    EXPECT_EQ(edit->Text(), "abcdef");
    // The text messages: a one-character buffer gets nothing.
    char buf[1] = {'?'};
    EXPECT_EQ(edit->Perform(WM_GETTEXT, 1, reinterpret_cast<LPARAM>(buf)), 0);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(edit->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("set")), 1);
    EXPECT_EQ(edit->Text(), "set");
}

TEST_P(TextKindTest, IncrementalSearchCompletesWhileTyping)
{
    edit->Properties()->SetLookupItems({"Apple", "Avocado"});
    edit->SetText("");
    Type("A");
    EXPECT_EQ(edit->Text(), "Apple");
    EXPECT_EQ(edit->SelText(), "pple");
    Type("p");
    EXPECT_EQ(edit->Text(), "Apple");
    EXPECT_EQ(edit->SelText(), "ple");
    Key(Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(edit->Text(), "Apple");
    EXPECT_EQ(edit->SelText(), "pple");
    Key(Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(edit->Text(), "");
    // Left with a selection collapses it to its start and goes no further.
    Type("Av");
    EXPECT_EQ(edit->Text(), "Avocado");
    Key(Qt::Key_Left);
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(edit->GetCursorPos(), 2);
}

class GroupingProperties : public TcxTextEditProperties {
    RTL_CLASS(GroupingProperties, TcxTextEditProperties)
    using TcxTextEditProperties::TcxTextEditProperties;
    bool IsEditValueNumeric() override { return true; }
    bool HasDigitGrouping(bool) override { return true; }
    TcxCustomTextEditLookupDataClass GetLookupDataClass() const override { return {}; }
};

class GroupingEdit : public TcxCustomTextEdit {
    RTL_CLASS(GroupingEdit, TcxCustomTextEdit)
    explicit GroupingEdit(TComponent* owner)
        : TcxCustomTextEdit(owner, false, [] {
              TcxEditClasses c;
              c.Properties = TcxCustomEditPropertiesClass::Of<GroupingProperties>();
              c.InnerEdit = TcxInnerEditClass::Of<TcxCustomInnerTextEdit>();
              return c;
          }())
    {
    }
};

TEST_F(TextEditTest, DigitGroupingKeepsTheCaretAfterTheSameDigits)
{
    auto* g = new GroupingEdit(form);
    g->SetParent(form);
    g->SetBounds(10, 130, 150, 24);
    g->InnerTextEditControl()->SetFocus();
    for (QChar c : QString("1234")) {
        QTest::sendKeyEvent(QTest::Click, g->InnerTextEditControl()->Box()->Widget(), Qt::Key(c.unicode()), QString(c),
                            Qt::NoModifier);
        vcl::DrainPostedMessages();
    }
    EXPECT_EQ(g->Text(), "1,234");
    EXPECT_EQ(g->GetCursorPos(), 5);
    g->SetSelection(1, 0);   // after the 1
    QTest::sendKeyEvent(QTest::Click, g->InnerTextEditControl()->Box()->Widget(), Qt::Key_5, "5", Qt::NoModifier);
    vcl::DrainPostedMessages();
    EXPECT_EQ(g->Text(), "15,234");
    EXPECT_EQ(g->GetCursorPos(), 2);
}

TEST_P(TextKindTest, ValuesFollowTheScreenAndValidationRuns)
{
    int changes = 0;
    edit->Properties()->OnEditValueChanged = [&](TObject*) { ++changes; };
    Type("kwh");
    EXPECT_EQ(VarToStr(edit->GetEditingValue()), "kwh");
    EXPECT_TRUE(edit->ModifiedAfterEnter());
    std::string seen;
    edit->Properties()->OnValidate = [&](TObject*, Variant& v, std::string&, bool&) { seen = VarToStr(v); };
    EXPECT_TRUE(edit->ValidateEdit(false));
    EXPECT_EQ(seen, "kwh");
    EXPECT_EQ(VarToStr(edit->EditValue()), "kwh");
    EXPECT_GE(changes, 1);
    edit->SetEditValue(Variant("set"));
    EXPECT_EQ(edit->Text(), "set");
    EXPECT_FALSE(edit->ModifiedAfterEnter());
}

} // namespace

namespace {

TEST_P(TextKindTest, SettingsReachTheFieldAndUnknownTextIsReported)
{
    edit->Properties()->SetMaxLength(3);
    edit->Properties()->SetCharCase(ecUpperCase);
    Type("abcd");
    EXPECT_EQ(edit->Text(), "ABC");
    edit->Properties()->SetEchoMode(eemPassword);
    EXPECT_EQ(edit->InnerTextEditControl()->PasswordChar(), u'*');
    edit->Properties()->SetEchoMode(eemNormal);
    EXPECT_EQ(edit->InnerTextEditControl()->PasswordChar(), 0);

    edit->Properties()->SetMaxLength(0);
    edit->Properties()->SetCharCase(ecNormal);
    edit->Properties()->SetLookupItems({"Apple"});
    std::string reported;
    edit->Properties()->OnNewLookupDisplayText = [&](TObject*, const std::string& t) { reported = t; };
    edit->SetText("");
    Type("Zed");
    EXPECT_TRUE(edit->ValidateEdit(false));
    EXPECT_EQ(reported, "Zed");
}

TEST_F(TextEditTest, TheControlLaysOutWithItsOwnViewAndSizesToOneLine)
{
    ASSERT_NE(dynamic_cast<TcxCustomTextEditViewInfo*>(edit->EditViewInfo()), nullptr);
    std::unique_ptr<TcxCustomEditViewData> data(edit->CreateViewData());
    EXPECT_NE(dynamic_cast<TcxCustomTextEditViewData*>(data.get()), nullptr);
    // Auto size: the frame plus one line of the font, so the field fits inside.
    const TWinControl* field = edit->InnerTextEditControl();
    EXPECT_GE(edit->Height(), field->Top() + field->Height());
}

TEST_F(TextEditTest, AnAutoSizedEditorShowsItsWholeFrame)
{
    edit->SetText("Wg");
    vcl::DrainPostedMessages();
    const QImage image = edit->Peer()->grab().toImage();
    // The frame's bottom edge is drawn like its top edge, and the field (one line of the font)
    // lies inside the frame, so neither the edge nor the text's descenders are cut.
    const int x = image.width() / 2;
    EXPECT_EQ(image.pixel(x, image.height() - 1), image.pixel(x, 0));
    const TWinControl* field = edit->InnerTextEditControl();
    EXPECT_GE(field->Height(), cxTextHeight(field->Font(), "Wg"));
    EXPECT_LE(field->Top() + field->Height(), edit->EditViewInfo()->ClientRect.Bottom);
}

TEST_F(TextEditTest, ARightAlignedEditorEditsFromTheLeft)
{
    other->Properties()->SetUseLeftAlignmentOnEditing(true);
    other->Properties()->Alignment()->SetHorz(taRightJustify);
    EXPECT_EQ(other->InnerTextEditControl()->Alignment(), taRightJustify);
    Focus(other);
    EXPECT_EQ(other->InnerTextEditControl()->Alignment(), taLeftJustify);
    Focus(edit);
    EXPECT_EQ(other->InnerTextEditControl()->Alignment(), taRightJustify);
}

TEST_F(TextEditTest, LookupDataLocatesAndGoesThroughTheItems)
{
    std::vector<std::string> items;
    for (int i = 0; i < 20; ++i)
        items.push_back("item" + std::to_string(i));
    edit->Properties()->SetLookupItems(items);
    TcxCustomTextEditLookupData* data = edit->LookupData();
    ASSERT_NE(data, nullptr);

    // An empty text never finds and clears the current key of a free-text editor.
    data->SetCurrentKey(Variant(4));
    std::string text, tail;
    EXPECT_FALSE(data->Locate(text, tail, false));
    EXPECT_EQ(data->CurrentKey(), -1);
    text = "ITEM1";
    EXPECT_TRUE(data->Locate(text, tail, false));
    EXPECT_EQ(data->CurrentKey(), 1);
    EXPECT_EQ(tail, "");

    struct Step {
        int from;
        TcxEditLookupDataGoDirection direction;
        bool circular;
        int to;
    } steps[] = {
        {-1, egdPageDown, false, 7}, {19, egdNext, false, 19}, {19, egdNext, true, 0},  {0, egdPrev, false, 0},
        {0, egdPrev, true, 19},      {3, egdPageUp, false, 0}, {10, egdPageUp, false, 3}, {15, egdPageDown, false, 19},
        {5, egdBegin, false, 0},     {5, egdEnd, false, 19},
    };
    for (const Step& s : steps) {
        data->SetCurrentKey(Variant(s.from));
        data->Go(s.direction, s.circular);
        EXPECT_EQ(data->CurrentKey(), s.to) << s.from << " " << int(s.direction) << " " << s.circular;
    }
    // Out of range keys are ignored.
    data->SetCurrentKey(Variant(2));
    data->SetCurrentKey(Variant(20));
    EXPECT_EQ(data->CurrentKey(), 2);
}

TEST_F(TextEditTest, ChoosingAnItemNotifiesOnlyWhenTheTextDiffers)
{
    edit->Properties()->SetLookupItems({"Apple", "Avocado"});
    TcxCustomTextEditLookupData* data = edit->LookupData();
    int notices = 0;
    data->OnSelectItem = [&](TObject*) { ++notices; };
    data->SetCurrentKey(Variant(1));
    EXPECT_EQ(notices, 1);
    edit->SetText("Avocado");
    data->SetCurrentKey(Variant(1));
    EXPECT_EQ(notices, 1);
    edit->SetText("AVOCADO");
    data->SetCurrentKey(Variant(1));
    EXPECT_EQ(notices, 2);
    // Through the editor: ItemIndex puts the item's text in.
    data->OnSelectItem = TNotifyEvent(edit, &TcxCustomTextEdit::HandleSelectItem);
    edit->SetItemIndex(0);
    EXPECT_EQ(edit->Text(), "Apple");
    EXPECT_EQ(edit->ItemIndex(), 0);
}

} // namespace

namespace {

class ListProperties : public TcxTextEditProperties {
    RTL_CLASS(ListProperties, TcxTextEditProperties)
    using TcxTextEditProperties::TcxTextEditProperties;
    TcxEditEditingStyle GetEditingStyle() const override { return esFixedList; }
};

// A fixed-list editor that scrolls its items with the keys, as the drop-down kinds do.
class ListEdit : public TcxCustomTextEdit {
    RTL_CLASS(ListEdit, TcxCustomTextEdit)
    explicit ListEdit(TComponent* owner)
        : TcxCustomTextEdit(owner, false, [] {
              TcxEditClasses c;
              c.Properties = TcxCustomEditPropertiesClass::Of<ListProperties>();
              c.InnerEdit = TcxInnerEditClass::Of<TcxCustomInnerTextEdit>();
              return c;
          }())
    {
    }
    bool GetScrollLookupDataList(TcxEditScrollCause) override { return true; }
};

TEST_F(TextEditTest, AFixedListCompletesFromItsItemsAndNeverWraps)
{
    auto* list = new ListEdit(form);
    list->SetParent(form);
    list->SetBounds(10, 130, 150, 24);
    list->Properties()->SetLookupItems({"Apple", "Avocado"});
    list->InnerTextEditControl()->SetFocus();
    QWidget* field = list->InnerTextEditControl()->Box()->Widget();
    auto press = [&](Qt::Key key, const QString& text) {
        QTest::sendKeyEvent(QTest::Click, field, key, text, Qt::NoModifier);
        vcl::DrainPostedMessages();
    };
    press(Qt::Key_A, "a");
    press(Qt::Key_V, "v");
    EXPECT_EQ(list->Text(), "Avocado");
    EXPECT_EQ(list->SelText(), "ocado");
    press(Qt::Key_X, "x");
    EXPECT_EQ(list->Text(), "Avocado");
    EXPECT_EQ(list->ItemIndex(), 1);
    // Down on the last item keeps it.
    press(Qt::Key_Down, {});
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->Text(), "Avocado");
    press(Qt::Key_Up, {});
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->Text(), "Apple");
}

} // namespace
