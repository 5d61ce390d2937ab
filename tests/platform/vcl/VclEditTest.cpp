// The edit control and the memo driven by real Qt keys, mouse and input-method events.
#include "VclTestSupport.h"

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/EditBox.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/SystemFacade.h"
#include "platform/gdi/GdiConsts.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLineEdit>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class VclEditTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 300, 200);
        edit = new TEdit(form);
        edit->SetBounds(10, 10, 150, 24);
        edit->SetParent(form);
        memo = new TMemo(form);
        memo->SetBounds(10, 50, 200, 100);
        memo->SetParent(form);
        ASSERT_TRUE(Activate(form));
        edit->SetFocus();
        ASSERT_TRUE(edit->Focused());
        Clipboard()->SetAsText("");
    }
    void TearDown() override { form->Free(); }

    QWidget* Target(TCustomEdit* e) { return e->Box()->Widget(); }
    void Type(TCustomEdit* e, const QString& s)
    {
        for (QChar c : s)
            QTest::sendKeyEvent(QTest::Click, Target(e), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
        vcl::DrainPostedMessages();
    }
    void Key(TCustomEdit* e, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
    {
        QTest::sendKeyEvent(QTest::Click, Target(e), key, text, mods);
        vcl::DrainPostedMessages();
    }
    void Ctrl(TCustomEdit* e, char letter)
    {
        Key(e, Qt::Key(Qt::Key_A + (letter - 'a')), Qt::ControlModifier, QString(QChar(letter)));
    }
    void Commit(TCustomEdit* e, const QString& s)
    {
        QInputMethodEvent ev;
        ev.setCommitString(s);
        QCoreApplication::sendEvent(Target(e), &ev);
        vcl::DrainPostedMessages();
    }

    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TMemo* memo = nullptr;
};

TEST_F(VclEditTest, TypingSelectingCuttingPastingAndUndoing)
{
    int changes = 0;
    edit->OnChange = [&](rtl::TObject*) { ++changes; };
    Type(edit, "hello");
    EXPECT_EQ(edit->Text(), "hello");
    EXPECT_EQ(changes, 5);
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(edit->SelStart(), 5);

    Key(edit, Qt::Key_Left, Qt::ShiftModifier);
    Key(edit, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 2);
    EXPECT_EQ(edit->SelText(), "lo");

    Ctrl(edit, 'x');
    EXPECT_EQ(edit->Text(), "hel");
    EXPECT_EQ(Clipboard()->AsText(), "lo");
    Key(edit, Qt::Key_Home);
    Ctrl(edit, 'v');
    EXPECT_EQ(edit->Text(), "lohel");
    Ctrl(edit, 'z');
    EXPECT_EQ(edit->Text(), "hel");
    // Backspace and Delete through the characters and keys the system sends.
    Key(edit, Qt::Key_End);
    Key(edit, Qt::Key_Backspace, Qt::NoModifier, "\b");
    Key(edit, Qt::Key_Home);
    Key(edit, Qt::Key_Delete, Qt::NoModifier, "\x7f");
    EXPECT_EQ(edit->Text(), "e");

    // Text set by code: EN_CHANGE, but neither modified nor undoable.
    const int before = changes;
    edit->SetText("fresh");
    EXPECT_EQ(changes, before + 1);
    EXPECT_FALSE(edit->Modified());
    EXPECT_FALSE(edit->CanUndo());
    EXPECT_EQ(edit->SelStart(), 0);
}

TEST_F(VclEditTest, TheSelectionSurvivesTheFocusLeaving)
{
    Type(edit, "abcdef");
    edit->SetSelStart(1);
    edit->SetSelLength(3);
    memo->SetFocus();
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 3);
    // Coming back by code keeps it too (AutoSelect selects all only when tabbing in).
    edit->AutoSelect = false;
    edit->SetFocus();
    EXPECT_EQ(edit->SelLength(), 3);
}

// Without the focus a selection is painted as plain text unless HideSelection is off; it is
// still there and shows again when the focus comes back.
TEST_F(VclEditTest, TheSelectionHidesWithTheFocusGone)
{
    auto* keep = new TEdit(form);
    keep->HideSelection = false;
    keep->SetBounds(170, 10, 120, 24);
    keep->SetParent(form);
    auto highlighted = [&](TCustomEdit* e) { return HighlightedPixels(Target(e)); };
    for (TCustomEdit* e : {static_cast<TCustomEdit*>(edit), static_cast<TCustomEdit*>(keep)}) {
        e->SetFocus();
        e->SetText("集中器地址");
        e->SelectAll();
    }
    edit->SetFocus();
    EXPECT_GT(highlighted(edit), 50);
    EXPECT_EQ(highlighted(keep), highlighted(edit));
    memo->SetFocus();
    EXPECT_EQ(highlighted(edit), 0);
    EXPECT_EQ(edit->SelLength(), 5);
    EXPECT_GT(highlighted(keep), 50);
    edit->SetFocus();
    EXPECT_GT(highlighted(edit), 50);
}

// A password edit shows its password character, never Qt's own, and the text stays itself.
TEST_F(VclEditTest, APasswordShowsItsOwnCharacter)
{
    edit->SetPasswordChar(u'*');
    Type(edit, "abc");
    auto* line = static_cast<QLineEdit*>(Target(edit));
    EXPECT_EQ(line->displayText(), "***");
    EXPECT_EQ(edit->Text(), "abc");
    edit->SetPasswordChar(u'#');
    EXPECT_EQ(line->displayText(), "###");
    edit->SetPasswordChar(0);
    EXPECT_EQ(line->displayText(), "abc");
    // Made with the character before the window exists.
    auto* late = new TEdit(form);
    late->SetPasswordChar(u'*');
    late->SetText("电表");
    late->SetParent(form);
    late->HandleNeeded();
    EXPECT_EQ(static_cast<QLineEdit*>(Target(late))->displayText(), "**");
}

TEST_F(VclEditTest, TheLimitCutsTypingAndPastingButNeverTextSetByCode)
{
    edit->SetMaxLength(4);
    Type(edit, "abcdef");
    EXPECT_EQ(edit->Text(), "abcd");
    edit->SelectAll();
    Clipboard()->SetAsText("123456");
    Ctrl(edit, 'v');
    EXPECT_EQ(edit->Text(), "1234");
    // A pair of UTF-16 units is never cut in half.
    edit->SetText("abc");
    edit->SetSelStart(3);
    Clipboard()->SetAsText("\xF0\x9F\x98\x80");
    Ctrl(edit, 'v');
    EXPECT_EQ(edit->Text(), "abc");
    edit->SetText("longer than four");
    EXPECT_EQ(edit->Text(), "longer than four");
}

TEST_F(VclEditTest, ReadOnlyRefusesChangesButCopies)
{
    edit->SetText("keep");
    edit->SetReadOnly(true);
    Type(edit, "x");
    edit->SelectAll();
    Ctrl(edit, 'x');
    EXPECT_EQ(edit->Text(), "keep");
    EXPECT_EQ(Clipboard()->AsText(), "keep"); // cut on a read-only edit copies
    Clipboard()->SetAsText("new");
    Ctrl(edit, 'v');
    Key(edit, Qt::Key_Delete);
    Key(edit, Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(edit->Text(), "keep");
    EXPECT_FALSE(edit->Modified());
    // Code may still replace the selection.
    edit->SetSelText("made");
    EXPECT_EQ(edit->Text(), "made");
}

TEST_F(VclEditTest, AParentRefusesOrChangesACharacterBeforeTheEditSeesIt)
{
    form->KeyPreview = true;
    form->OnKeyPress = [](rtl::TObject*, char16_t& key) {
        if (key == u'x')
            key = 0;
        else if (key == u'b')
            key = u'B';
    };
    Type(edit, "axbx");
    EXPECT_EQ(edit->Text(), "aB");
    // The control's own key-down event may take a navigation key.
    edit->OnKeyDown = [](rtl::TObject*, std::uint16_t& key, TShiftState) {
        if (key == VK_HOME)
            key = 0;
    };
    Key(edit, Qt::Key_Home);
    EXPECT_EQ(edit->SelStart(), 2);
}

TEST_F(VclEditTest, AChineseCommitLandsInTheText)
{
    Type(edit, "A");
    Commit(edit, QString::fromUtf8("电表设置"));
    EXPECT_EQ(edit->Text(), "A电表设置");
    EXPECT_EQ(edit->GetTextLen(), 5);
    // A character outside the basic plane arrives as two units and lands whole.
    Commit(edit, QString::fromUtf8("\xF0\xA0\x80\x80"));
    EXPECT_EQ(edit->Text(), "A电表设置\xF0\xA0\x80\x80");
    // The text goes to the focus window.
    memo->SetFocus();
    Commit(memo, QString::fromUtf8("备注"));
    EXPECT_EQ(memo->Text(), "备注");
}

TEST_F(VclEditTest, AClickPlacesTheCaretAndFocusesTheEdit)
{
    memo->SetFocus();
    edit->SetText("abcdef");
    const TPoint end = ScreenOf(edit, 140, 12);
    vcl::input::InjectMouse(WM_LBUTTONDOWN, end, MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, end, 0);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->SelStart(), 6);
    EXPECT_EQ(edit->SelLength(), 0);
    const TPoint start = ScreenOf(edit, 3, 12);
    Fixed().ticks += 1000;
    vcl::input::InjectMouse(WM_LBUTTONDOWN, start, MK_LBUTTON);
    vcl::input::InjectMouse(WM_LBUTTONUP, start, 0);
    EXPECT_EQ(edit->SelStart(), 0);
    // EM_CHARFROMPOS and EM_POSFROMCHAR agree.
    const auto x = XFromLParam(vcl::SendMessage(edit->Handle(), EM_POSFROMCHAR, 3));
    const auto r = vcl::SendMessage(edit->Handle(), EM_CHARFROMPOS, 0, MakeLParam(x + 1, 12));
    EXPECT_EQ(LoWord(r), 3);
    EXPECT_EQ(vcl::SendMessage(edit->Handle(), EM_POSFROMCHAR, 6), -1);
}

TEST_F(VclEditTest, MemoLinesAndLineMessages)
{
    memo->SetFocus();
    Type(memo, "ab");
    Key(memo, Qt::Key_Return, Qt::NoModifier, "\r");
    Type(memo, "cd");
    EXPECT_EQ(memo->Text(), "ab\r\ncd");
    EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"ab", "cd"}));
    HWND h = memo->Handle();
    EXPECT_EQ(vcl::SendMessage(h, EM_GETLINECOUNT), 2);
    EXPECT_EQ(vcl::SendMessage(h, EM_LINEINDEX, 1), 4);
    EXPECT_EQ(vcl::SendMessage(h, EM_LINELENGTH, 4), 2);
    EXPECT_EQ(vcl::SendMessage(h, EM_LINEFROMCHAR, 5), 1);
    EXPECT_EQ(memo->CaretPos(), (TPoint{2, 1}));
    // Shift+Up selects back to the same column of the line above, across the CR LF.
    Key(memo, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(memo->SelStart(), 2);
    EXPECT_EQ(memo->SelLength(), 4);
    memo->SetCaretPos({1, 0});
    EXPECT_EQ(memo->SelStart(), 1);
    // The limit counts a line break as two.
    memo->SetText("");
    memo->SetMaxLength(3);
    Type(memo, "a");
    Key(memo, Qt::Key_Return, Qt::NoModifier, "\r");
    Key(memo, Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(memo->Text(), "a\r\n");
    // Without WantReturns Enter types nothing.
    memo->SetMaxLength(0);
    memo->WantReturns = false;
    Key(memo, Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(memo->Text(), "a\r\n");
    // Pasted line breaks of any kind become CR LF.
    Clipboard()->SetAsText("x\ny");
    Ctrl(memo, 'v');
    EXPECT_EQ(memo->Text(), "a\r\nx\r\ny");
    Ctrl(memo, 'z');
    EXPECT_EQ(memo->Text(), "a\r\n");
}

// With its bars painted by another control, the memo hides Qt's own, keeps their strips free,
// scrolls on WM_VSCROLL and WM_HSCROLL and tells every move to its parent.
TEST_F(VclEditTest, MemoScrollBarsForAnotherControlToPaint)
{
    std::vector<std::uint16_t> told;
    const auto inner = memo->WindowProc;
    memo->WindowProc = [&, inner](TMessage& m) {
        if (m.Msg == CN_COMMAND && (HiWord(m.WParam) == EN_VSCROLL || HiWord(m.WParam) == EN_HSCROLL))
            told.push_back(HiWord(m.WParam));
        inner(m);
    };
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssBoth);
    memo->SetExternalScrollBars(true);
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += std::string(60, char('a' + i % 26)) + "\r\n";
    memo->SetText(text);
    vcl::DrainPostedMessages();
    const int barW = vcl::System().GetSystemMetrics(SM_CXVSCROLL), barH = vcl::System().GetSystemMetrics(SM_CYHSCROLL);
    const TScrollBarState v = memo->ScrollBarState(sbVertical), h = memo->ScrollBarState(sbHorizontal);
    EXPECT_TRUE(v.Shown && v.Enabled && h.Shown && h.Enabled);
    EXPECT_EQ(v.Rect, (TRect{200 - barW, 0, 200, 100 - barH}));
    EXPECT_EQ(h.Rect, (TRect{0, 100 - barH, 200 - barW, 100}));
    auto* box = static_cast<QAbstractScrollArea*>(Target(memo));
    EXPECT_FALSE(box->verticalScrollBar()->isVisible());
    EXPECT_LE(box->viewport()->geometry().right() + 1, 200 - barW);
    EXPECT_EQ(v.Pos, 0);
    EXPECT_GE(v.Max, 30 - 1);

    told.clear();
    HWND hwnd = memo->Handle();
    vcl::SendMessage(hwnd, WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(memo->ScrollBarState(sbVertical).Pos, 1);
    EXPECT_EQ(vcl::SendMessage(hwnd, EM_GETFIRSTVISIBLELINE), 1);
    vcl::SendMessage(hwnd, WM_VSCROLL, SB_BOTTOM);
    const TScrollBarState bottom = memo->ScrollBarState(sbVertical);
    EXPECT_EQ(bottom.Pos, bottom.Max - bottom.Page + 1);
    vcl::SendMessage(hwnd, WM_VSCROLL, WPARAM(MakeLParam(SB_THUMBTRACK, 3)));
    EXPECT_EQ(memo->ScrollBarState(sbVertical).Pos, 3);
    vcl::SendMessage(hwnd, WM_HSCROLL, SB_PAGEDOWN);
    EXPECT_GT(memo->ScrollBarState(sbHorizontal).Pos, 0);
    // Every move is told (a vertical move may tell the horizontal range again too).
    EXPECT_GE(std::count(told.begin(), told.end(), std::uint16_t(EN_VSCROLL)), 3);
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), EN_HSCROLL);
    // Without the mode, Qt's own bars show.
    memo->SetExternalScrollBars(false);
    vcl::DrainPostedMessages();
    EXPECT_TRUE(static_cast<QAbstractScrollArea*>(Target(memo))->verticalScrollBar()->isVisible());
    memo->WindowProc = inner;
}

TEST_F(VclEditTest, TextSurvivesARecreatedWindow)
{
    memo->SetText("one\r\ntwo");
    memo->SetWordWrap(false);
    EXPECT_EQ(memo->Text(), "one\r\ntwo");
    ASSERT_NE(memo->Box(), nullptr);
    EXPECT_EQ(memo->LineCount(), 2);
}

} // namespace
