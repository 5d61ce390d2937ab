// Real Qt key and input-method events become the system's key messages: virtual keys of a US
// layout, one WM_CHAR per UTF-16 unit, repeated key-downs for a held key.
#include "VclTestSupport.h"

#include "platform/rtl/Unicode.h"
#include "platform/vcl/Caret.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct KeyMsg {
    UINT msg;
    WPARAM code;
    friend bool operator==(const KeyMsg&, const KeyMsg&) = default;
};

std::ostream& operator<<(std::ostream& os, const KeyMsg& k)
{
    return os << "{0x" << std::hex << k.msg << ", 0x" << k.code << std::dec << "}";
}

// A painted control that wants every key and records the key and input-method messages.
class KeySink : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<KeyMsg> log;
    std::vector<LPARAM> keyData;

protected:
    void Dispatch(TMessage& m) override
    {
        switch (m.Msg) {
        case WM_GETDLGCODE:
            m.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
            return;
        case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR: case WM_SYSKEYDOWN: case WM_SYSKEYUP: case WM_SYSCHAR:
        case WM_IME_STARTCOMPOSITION: case WM_IME_COMPOSITION: case WM_IME_ENDCOMPOSITION:
            log.push_back({m.Msg, m.WParam});
            keyData.push_back(m.LParam);
            break;
        default: break;
        }
        TCustomControl::Dispatch(m);
    }
};

class VclKeysTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 200, 150);
        sink = new KeySink(form);
        sink->SetBounds(10, 10, 80, 40);
        sink->TabStop = true;
        sink->SetParent(form);
        ASSERT_TRUE(Activate(form));
        sink->SetFocus();
        ASSERT_TRUE(sink->Focused());
    }
    void TearDown() override { form->Free(); }
    std::vector<KeyMsg> Take()
    {
        vcl::DrainPostedMessages();
        auto r = std::move(sink->log);
        sink->log.clear();
        sink->keyData.clear();
        return r;
    }
    TForm* form = nullptr;
    KeySink* sink = nullptr;
};

TEST_F(VclKeysTest, KeyClicksGiveUsLayoutKeysAndTheirCharacters)
{
    struct Case {
        const char* name;
        Qt::Key key;
        QString text;
        Qt::KeyboardModifiers mods;
        std::vector<KeyMsg> expected;
    };
    const WPARAM shift = VK_SHIFT, ctrl = VK_CONTROL;
    auto plain = [](WPARAM vk, std::vector<WPARAM> chars) {
        std::vector<KeyMsg> r{{WM_KEYDOWN, vk}};
        for (WPARAM c : chars)
            r.push_back({WM_CHAR, c});
        r.push_back({WM_KEYUP, vk});
        return r;
    };
    auto with = [&](WPARAM mod, WPARAM vk, std::vector<WPARAM> chars) {
        std::vector<KeyMsg> r{{WM_KEYDOWN, mod}};
        for (const KeyMsg& k : plain(vk, chars))
            r.push_back(k);
        r.push_back({WM_KEYUP, mod});
        return r;
    };
    const std::vector<Case> cases = {
        {"a", Qt::Key_A, "a", Qt::NoModifier, plain('A', {'a'})},
        {"A", Qt::Key_A, "A", Qt::ShiftModifier, with(shift, 'A', {'A'})},
        {"1", Qt::Key_1, "1", Qt::NoModifier, plain('1', {'1'})},
        {"!", Qt::Key_Exclam, "!", Qt::ShiftModifier, with(shift, '1', {'!'})},
        {"=", Qt::Key_Equal, "=", Qt::NoModifier, plain(VK_OEM_PLUS, {'='})},
        {"[", Qt::Key_BracketLeft, "[", Qt::NoModifier, plain(VK_OEM_4, {'['})},
        {"'", Qt::Key_Apostrophe, "'", Qt::NoModifier, plain(VK_OEM_7, {'\''})},
        {"(", Qt::Key_ParenLeft, "(", Qt::ShiftModifier, with(shift, '9', {'('})},
        {"_", Qt::Key_Underscore, "_", Qt::ShiftModifier, with(shift, VK_OEM_MINUS, {'_'})},
        {"\\", Qt::Key_Backslash, "\\", Qt::NoModifier, plain(VK_OEM_5, {'\\'})},
        {":", Qt::Key_Colon, ":", Qt::ShiftModifier, with(shift, VK_OEM_1, {':'})},
        {"é", Qt::Key_Eacute, QString(QChar(0xE9)), Qt::NoModifier, plain('E', {0xE9})},
        {"Enter", Qt::Key_Return, "\r", Qt::NoModifier, plain(VK_RETURN, {'\r'})},
        {"Esc", Qt::Key_Escape, "\x1b", Qt::NoModifier, plain(VK_ESCAPE, {0x1B})},
        {"Tab", Qt::Key_Tab, "\t", Qt::NoModifier, plain(VK_TAB, {'\t'})},
        {"F2", Qt::Key_F2, "", Qt::NoModifier, plain(VK_F2, {})},
        {"keypad 5", Qt::Key_5, "5", Qt::KeypadModifier, plain(VK_NUMPAD5, {'5'})},
        {"Ctrl+C", Qt::Key_C, "c", Qt::ControlModifier, with(ctrl, 'C', {0x03})},
        {"Delete", Qt::Key_Delete, "\x7f", Qt::NoModifier, plain(VK_DELETE, {})},
        {"Ctrl+[", Qt::Key_BracketLeft, "[", Qt::ControlModifier, with(ctrl, VK_OEM_4, {0x1B})},
    };
    for (const Case& c : cases) {
        Take();
        QTest::sendKeyEvent(QTest::Click, sink->Peer(), c.key, c.text, c.mods);
        EXPECT_EQ(Take(), c.expected) << c.name;
    }
}

TEST_F(VclKeysTest, AltMakesSystemKeysAndCharacters)
{
    QTest::sendKeyEvent(QTest::Click, sink->Peer(), Qt::Key_X, QString("x"), Qt::AltModifier);
    EXPECT_EQ(Take(), (std::vector<KeyMsg>{{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, 'X'}, {WM_SYSCHAR, 'x'},
                                           {WM_SYSKEYUP, 'X'}, {WM_SYSKEYUP, VK_MENU}}));
}

TEST_F(VclKeysTest, AHeldKeyRepeatsItsKeyDown)
{
    auto send = [&](QEvent::Type t, bool repeat) {
        QKeyEvent e(t, Qt::Key_B, Qt::NoModifier, "b", repeat);
        QCoreApplication::sendEvent(sink->Peer(), &e);
    };
    send(QEvent::KeyPress, false);
    for (int i = 0; i < 2; ++i) {
        // The window system's repeat: a release and a press, both marked.
        send(QEvent::KeyRelease, true);
        send(QEvent::KeyPress, true);
    }
    vcl::DrainPostedMessages();
    const auto data = sink->keyData;
    send(QEvent::KeyRelease, false);
    EXPECT_EQ(Take(), (std::vector<KeyMsg>{{WM_KEYDOWN, 'B'}, {WM_CHAR, 'b'}, {WM_KEYDOWN, 'B'}, {WM_CHAR, 'b'},
                                           {WM_KEYDOWN, 'B'}, {WM_CHAR, 'b'}, {WM_KEYUP, 'B'}}));
    // The repeated key-downs say that the key was already down (bit 30).
    ASSERT_EQ(data.size(), 6u);
    EXPECT_EQ(data[0] & (1 << 30), 0);
    EXPECT_NE(data[2] & (1 << 30), 0);
}

TEST_F(VclKeysTest, AnInputMethodCommitArrivesAsCompositionThenCharacters)
{
    const QString text = QString::fromUtf8("电表设置");
    QInputMethodEvent preedit(QString::fromUtf8("dianbiao"), {});
    QCoreApplication::sendEvent(sink->Peer(), &preedit);
    EXPECT_EQ(rtl::Utf16ToUtf8(vcl::input::CompositionString(GCS_COMPSTR)), "dianbiao");
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(sink->Peer(), &commit);
    std::vector<KeyMsg> expected{{WM_IME_STARTCOMPOSITION, 0}, {WM_IME_COMPOSITION, u'd'},
                                 {WM_IME_COMPOSITION, text.back().unicode()}, {WM_IME_ENDCOMPOSITION, 0}};
    for (QChar c : text)
        expected.push_back({WM_CHAR, c.unicode()});
    EXPECT_EQ(Take(), expected);
    EXPECT_EQ(rtl::Utf16ToUtf8(vcl::input::CompositionString(GCS_RESULTSTR)), "电表设置");
}

TEST_F(VclKeysTest, TheInputMethodFindsTheCaret)
{
    QWidget* peer = sink->Peer();
    EXPECT_TRUE(peer->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(peer->inputMethodQuery(Qt::ImEnabled).toBool());
    ASSERT_TRUE(CreateCaret(sink->Handle(), nullptr, 2, 14));
    SetCaretPos(30, 5);
    EXPECT_EQ(peer->inputMethodQuery(Qt::ImCursorRectangle).toRect(), QRect(30, 5, 2, 14));
    TPoint p;
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p, (TPoint{30, 5}));
    // Created hidden: one ShowCaret shows it, a HideCaret hides it again.
    EXPECT_TRUE(ShowCaret(sink->Handle()));
    EXPECT_FALSE(ShowCaret(sink->Handle()));
    EXPECT_TRUE(HideCaret(sink->Handle()));
    EXPECT_TRUE(DestroyCaret());
    EXPECT_FALSE(GetCaretPos(&p));
}

} // namespace
