// The masked editor on a real field: typed characters, caret keys and Backspace go through the
// mode of each mask kind, the kind and mask changes remake the mode, and a text that does not
// fill its mask fails validation.
#include "tests/platform/vcl/VclTestSupport.h"

#include "platform/rtl/Unicode.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/EditBox.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/core/cxLookAndFeels.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditUtils.h"
#include "toolkit/editors/cxMaskEdit.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace cx;

namespace {

class MaskEditControlTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        cxLookAndFeelPaintersUnit::Initialize();
        cxLookAndFeelsUnit::Initialize();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditPaintUtilsUnit::Initialize();
        cxMaskEditUnit::Initialize();
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 320, 200);
        edit = new TcxMaskEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 150, 24);
        ASSERT_TRUE(Activate(form));
        edit->InnerTextEditControl()->SetFocus();
        SpinUntil([&] { return edit->InnerTextEditControl()->Focused(); }, 500);
        P()->SetBeepOnError(true);
    }
    void TearDown() override
    {
        form->Free();
        cxMaskEditUnit::Finalize();
        cxEditPaintUtilsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        cxLookAndFeelsUnit::Finalize();
        cxLookAndFeelPaintersUnit::Finalize();
    }
    QWidget* Field() { return edit->InnerTextEditControl()->Box()->Widget(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
    {
        QTest::sendKeyEvent(QTest::Click, Field(), key, text, mods);
        vcl::DrainPostedMessages();
    }
    // Characters; "\b" is Backspace, "<" and ">" the arrows, "H" Home.
    void Type(const std::string& script)
    {
        for (char c : script) {
            switch (c) {
            case '\b': Key(Qt::Key_Backspace, Qt::NoModifier, "\b"); break;
            case '<': Key(Qt::Key_Left); break;
            case '>': Key(Qt::Key_Right); break;
            case 'H': Key(Qt::Key_Home); break;
            default:
                QTest::sendKeyEvent(QTest::Click, Field(), Qt::Key(QChar(c).toUpper().unicode()), QString(QChar(c)),
                                    Qt::NoModifier);
                vcl::DrainPostedMessages();
            }
        }
    }
    // What an input method commits, and a key that types the text (a character of no key).
    void Commit(const QString& text)
    {
        QInputMethodEvent ev;
        ev.setCommitString(text);
        QCoreApplication::sendEvent(Field(), &ev);
        vcl::DrainPostedMessages();
    }
    void KeyText(const QString& text)
    {
        QTest::sendKeyEvent(QTest::Click, Field(), Qt::Key_unknown, text, Qt::NoModifier);
        vcl::DrainPostedMessages();
    }
    void Start(TcxEditMaskKind kind, const std::string& mask)
    {
        P()->SetMaskKind(kind);
        P()->SetEditMask(mask);
        edit->SetEditValue(Variant(std::string()));
        edit->SetSelection(0, 0);
    }
    TcxMaskEditProperties* P() { return edit->Properties(); }
    std::string Shown() { return VarToStr(edit->GetDisplayValue()); }
    TForm* form = nullptr;
    TcxMaskEdit* edit = nullptr;
};

TEST_F(MaskEditControlTest, EachKindEditsItsTextThroughItsMode)
{
    struct Case {
        TcxEditMaskKind kind;
        const char* mask;
        std::string script;
        std::string text;
        int beeps;
    } cases[] = {
        // Positional: the characters fill the mask positions, the caret skips the separator (the
        // locale's date separator, "-") and Backspace blanks the position before it.
        {emkStandard, "99/99;1;_", "123", "12-3_", 0},
        {emkStandard, "99/99;1;_", "123\b", "12-__", 0},
        {emkStandard, "99/99;1;_", "12<\b", "_2-__", 0},
        // A caret on a literal moves past it first.
        {emkStandard, "99/99;1;_", "12H>>4", "12-4_", 0},
        // An expression keeps the text a prefix it accepts; a refused character beeps.
        {emkRegExpr, "\\d\\d:\\d\\d", "12:", "12:", 0},
        {emkRegExpr, "\\d\\d:\\d\\d", "1x2", "12", 1},
        {emkRegExpr, "\\d\\d:\\d\\d", "123", "12", 1},
        // A case-insensitive expression shows its own letters while they are typed.
        {emkRegExpr, "'ABC'", "abc", "ABC", 0},
        {emkRegExpr, "[a-c]'XY'", "bxy", "bXY", 0},
        // Completion inserts the forced separator and takes it back with the digit before it.
        {emkRegExprEx, "\\d\\d:\\d\\d", "12", "12:", 0},
        {emkRegExprEx, "\\d\\d:\\d\\d", "12\b", "1", 0},
        {emkRegExprEx, "\\d\\d:\\d\\d", "1234", "12:34", 0},
    };
    for (const Case& c : cases) {
        Start(c.kind, c.mask);
        ASSERT_TRUE(edit->IsMasked()) << c.mask;
        const int beeps = Fixed().beeps;
        Type(c.script);
        EXPECT_EQ(Shown(), c.text) << c.kind << " " << c.mask << " [" << c.script << "]";
        EXPECT_EQ(Fixed().beeps - beeps, c.beeps) << c.kind << " [" << c.script << "]";
    }
}

TEST_F(MaskEditControlTest, ATextThatDoesNotFillTheMaskIsInvalid)
{
    struct Case {
        TcxEditMaskKind kind;
        const char* mask;
        std::string script;
        bool ignoreBlank, valid;
    } cases[] = {
        {emkStandard, "00/00;1;_", "12", false, false},
        {emkStandard, "00/00;1;_", "1234", false, true},
        {emkStandard, "99/99;1;_", "12", false, true},   // 9 is an optional digit
        {emkRegExpr, "\\d\\d:\\d\\d", "12", false, false},
        {emkRegExpr, "\\d\\d:\\d\\d", "12", true, true},
        {emkRegExpr, "\\d\\d:\\d\\d", "12:34", false, true},
    };
    for (const Case& c : cases) {
        P()->SetIgnoreMaskBlank(c.ignoreBlank);
        Start(c.kind, c.mask);
        Type(c.script);
        Variant shown = edit->GetDisplayValue();
        std::string message;
        bool error = false;
        P()->ValidateDisplayValue(shown, message, error, edit);
        EXPECT_EQ(!error, c.valid) << c.mask << " [" << c.script << "] " << c.ignoreBlank;
        if (error) {
            EXPECT_EQ(message, "The edit value is invalid");
        }
    }
}

TEST_F(MaskEditControlTest, TheKindAndMaskRemakeTheModeAndABadMaskKeepsTheOldOne)
{
    P()->SetMaskKind(emkRegExpr);
    P()->SetEditMask("[a-c]+");
    ASSERT_NE(edit->Mode(), nullptr);
    EXPECT_EQ(edit->Mode()->GetMaskKind(), emkRegExpr);
    EXPECT_THROW(P()->SetEditMask("a)("), EcxMaskEditError);
    EXPECT_EQ(edit->Mode()->Mask(), u"[a-c]+");
    // Between the expression kinds the mask stays; to the positional kind it goes.
    P()->SetMaskKind(emkRegExprEx);
    EXPECT_EQ(P()->EditMask(), "[a-c]+");
    EXPECT_EQ(edit->Mode()->GetMaskKind(), emkRegExprEx);
    P()->SetMaskKind(emkStandard);
    EXPECT_EQ(P()->EditMask(), "");
    EXPECT_EQ(edit->Mode(), nullptr);

    // Blank expression masks leave the editor unmasked: it types as the text editor.
    P()->SetMaskKind(emkRegExpr);
    P()->SetEditMask("   ");
    EXPECT_EQ(edit->Mode(), nullptr);
    edit->SetText("");
    Type("ab<x");
    EXPECT_EQ(edit->Text(), "axb");

    // A positional mask shows its empty text and holds MaxLength at 0.
    P()->SetMaskKind(emkStandard);
    P()->SetEditMask("00-00;0;_");
    EXPECT_EQ(P()->GetEmptyString().size(), 4u);
    P()->SetMaxLength(3);
    EXPECT_EQ(P()->MaxLength(), 0);
    P()->SetEditMask("");
    EXPECT_TRUE(P()->GetEmptyString().empty());
}

TEST_F(MaskEditControlTest, PastesAndClicksGoThroughTheMode)
{
    Start(emkStandard, "99/99;1;_");
    Clipboard()->SetAsText("34");
    edit->SetSelection(3, 0);
    Key(Qt::Key_V, Qt::ControlModifier, "v");
    EXPECT_EQ(Shown(), "__-34");
    // A click puts a positional mask's one-character caret where it lands.
    QTest::mouseClick(Field(), Qt::LeftButton, Qt::NoModifier, QPoint(2, Field()->height() / 2));
    vcl::DrainPostedMessages();
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 1);
    Type("7");
    EXPECT_EQ(Shown(), "7_-34");
    // Text is the mask's form: blanks as spaces, literals kept as the mask saves them.
    EXPECT_EQ(edit->Text(), "7 -34");
    P()->SetEditMask("99/99;0;_");
    edit->SetText("1234");
    EXPECT_EQ(Shown(), "12-34");
    EXPECT_EQ(edit->Text(), "1234");
    EXPECT_EQ(VarToStr(edit->EditValue()), "1234");
}

TEST_F(MaskEditControlTest, ACharacterOutsideTheBasicPlaneIsNeverSplit)
{
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    struct Case {
        TcxEditMaskKind kind;
        const char* mask;
        std::string before;   // typed first
        QString input;
        bool commit;          // by the input method, else as a key's text
        std::string shown;
    } cases[] = {
        // A position holds one unit: the character is refused whole, the others still go in.
        {emkStandard, "CC;1;_", "", smile, true, "__"},
        {emkStandard, "C;1;_", "", smile, false, "_"},
        {emkStandard, "CCC;1;_", "", "x" + smile + "y", true, "xy_"},
        // An expression takes it as its two halves and keeps them together.
        {emkRegExpr, "a.+", "a", smile, true, "a\xF0\x9F\x98\x80"},
        {emkRegExpr, "a.+", "a", smile, false, "a\xF0\x9F\x98\x80"},
        // Completion waits for the second half (the "a" here is forced: the caret steps over it).
        {emkRegExprEx, "a.+", ">", smile, false, "a\xF0\x9F\x98\x80"},
        {emkRegExprEx, "a.+", ">", smile, true, "a\xF0\x9F\x98\x80"},
        // Where the expression has room for one unit only, the character is refused whole.
        {emkRegExprEx, "a.b", ">", smile, true, "a"},
        {emkRegExpr, "a.b", "a", smile, false, "a"},
    };
    for (const Case& c : cases) {
        Start(c.kind, c.mask);
        Type(c.before);
        if (c.commit)
            Commit(c.input);
        else
            KeyText(c.input);
        EXPECT_EQ(Shown(), c.shown) << c.mask << " " << c.kind << c.commit;
        Type("z");
        EXPECT_EQ(Shown().find("\xEF\xBF\xBD"), std::string::npos) << c.mask << " " << Shown();
    }
    // Pasted, it is kept or dropped whole as well.
    Start(emkRegExpr, "a.b");
    Type("a");
    Clipboard()->SetAsText("\xF0\x9F\x98\x80" "b");
    Key(Qt::Key_V, Qt::ControlModifier, "v");
    EXPECT_EQ(Shown(), "ab");
    Start(emkRegExpr, "a.+");
    Type("a");
    Key(Qt::Key_V, Qt::ControlModifier, "v");
    EXPECT_EQ(Shown(), "a\xF0\x9F\x98\x80" "b");
}

TEST_F(MaskEditControlTest, ShiftArrowsInAPositionalMaskTakeOneCharacterAKey)
{
    Start(emkStandard, "00-00;1;_");
    edit->SetEditValue(Variant(std::string("1234")));
    ASSERT_EQ(Shown(), "12-34");
    Type("H>>>");   // the caret, a one-character selection, on the 4
    ASSERT_EQ(edit->SelStart(), 4);
    ASSERT_EQ(edit->SelLength(), 1);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 2);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 3);
    // Without Shift the selection gives way to the caret on its first editable position.
    Key(Qt::Key_Left);
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 1);
    // Backspace with Shift held still blanks the position before the caret.
    for (Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        edit->SetEditValue(Variant(std::string("1234")));
        Type("H>>>");
        Key(Qt::Key_Backspace, mods, "\b");
        EXPECT_EQ(Shown(), "12-_4") << int(mods);
        EXPECT_EQ(edit->SelStart(), 3) << int(mods);
        EXPECT_EQ(edit->SelLength(), 1) << int(mods);
    }
}

TEST_F(MaskEditControlTest, CtrlZTakesBackTheLastWriteOfTheMask)
{
    Start(emkStandard, "00-00;1;_");
    edit->SetEditValue(Variant(std::string("1234")));
    Key(Qt::Key_End);
    Key(Qt::Key_Home, Qt::ShiftModifier);
    ASSERT_EQ(edit->SelLength(), 5);
    Key(Qt::Key_X, Qt::ControlModifier, "x");
    EXPECT_EQ(Clipboard()->AsText(), "12-34");
    EXPECT_EQ(Shown(), "__-__");
    Key(Qt::Key_Z, Qt::ControlModifier, "z");
    EXPECT_EQ(Shown(), "12-34");
    EXPECT_EQ(edit->Text(), "12-34");

    // A character typed over a position is a step of its own.
    Type("H7");
    EXPECT_EQ(Shown(), "72-34");
    Key(Qt::Key_Z, Qt::ControlModifier, "z");
    EXPECT_EQ(Shown(), "12-34");

    // An expression's text is cut whole, comes back whole, and the mode goes on from it.
    for (TcxEditMaskKind kind : {emkRegExpr, emkRegExprEx}) {
        Start(kind, "\\d\\d:\\d\\d");
        Type("12:3");
        Key(Qt::Key_End);
        Key(Qt::Key_Home, Qt::ShiftModifier);
        Key(Qt::Key_X, Qt::ControlModifier, "x");
        EXPECT_EQ(Clipboard()->AsText(), "12:3") << kind;
        EXPECT_EQ(Shown(), "") << kind;
        Key(Qt::Key_Z, Qt::ControlModifier, "z");
        EXPECT_EQ(Shown(), "12:3") << kind;
        Key(Qt::Key_End);
        Type("45");
        EXPECT_EQ(Shown(), "12:34") << kind;
    }
}

} // namespace
