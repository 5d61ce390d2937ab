// The keyboard's dialog rules, with real Qt keys to the focused widget: accelerators (Alt+letter,
// and the letter alone where the focused control types no characters), a label's accelerator,
// arrow keys among radio buttons, and the keyboard's context-menu requests.
#include "VclTestSupport.h"

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/EditBox.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class VclKeyboardRulesTest : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        form = new TForm(nullptr);
        form->SetBounds(100, 100, 360, 260);
        edit = Make<TEdit>(10, 10, 120, 24);
        label = new TLabel(form);
        label->SetBounds(150, 14, 60, 17);
        label->SetCaption("地址(&D)");
        label->SetParent(form);
        target = Make<TEdit>(220, 10, 120, 24);
        label->FocusControl = target;
        go = Make<TButton>(10, 50, 90, 25);
        go->SetCaption("确定(&K)");
        check = Make<TCheckBox>(10, 90, 120, 17);
        check->SetCaption("校验(&C)");
        for (int i = 0; i < 3; ++i) {
            radios[i] = Make<TRadioButton>(10, 120 + 20 * i, 120, 17);
            radios[i]->SetCaption(std::string("波特率&") + char('1' + i));
        }
        ASSERT_TRUE(Activate(form));
        edit->SetFocus();
    }
    void TearDown() override { form->Free(); }
    template <class T>
    T* Make(int x, int y, int w, int h)
    {
        auto* c = new T(form);
        c->SetBounds(x, y, w, h);
        c->SetParent(form);
        return c;
    }
    // The widget Qt's keys go to: the focused control's field or its peer.
    static QWidget* FocusWidget()
    {
        TWinControl* c = FindControl(GetFocus());
        if (auto* e = dynamic_cast<TCustomEdit*>(c))
            return e->Box()->Widget();
        return c ? c->Peer() : nullptr;
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
    {
        QWidget* w = FocusWidget();
        ASSERT_NE(w, nullptr);
        QTest::sendKeyEvent(QTest::Press, w, key, text, mods);
        vcl::DrainPostedMessages();
        QTest::sendKeyEvent(QTest::Release, w, key, text, mods);
        vcl::DrainPostedMessages();
    }
    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TLabel* label = nullptr;
    TEdit* target = nullptr;
    TButton* go = nullptr;
    TCheckBox* check = nullptr;
    TRadioButton* radios[3] = {};
};

TEST_F(VclKeyboardRulesTest, AltAndTheLetterReachTheAccelerators)
{
    int goClicks = 0;
    go->OnClick = [&](rtl::TObject*) { ++goClicks; };

    // Alt+K clicks the button from inside an edit, and types nothing there.
    Key(Qt::Key_K, Qt::AltModifier, "k");
    EXPECT_EQ(goClicks, 1);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_TRUE(edit->Focused());   // a push button's accelerator does not take the focus

    // The letter alone types into the edit, which takes characters.
    Key(Qt::Key_K, Qt::NoModifier, "k");
    EXPECT_EQ(goClicks, 1);
    EXPECT_EQ(edit->Text(), "k");

    // Alt+C focuses the check box and toggles it; then, the check box taking no characters,
    // the letter alone does the same.
    Key(Qt::Key_C, Qt::AltModifier, "c");
    EXPECT_TRUE(check->Focused());
    EXPECT_TRUE(check->Checked());
    Key(Qt::Key_C, Qt::NoModifier, "c");
    EXPECT_FALSE(check->Checked());
    Key(Qt::Key_K, Qt::NoModifier, "k");
    EXPECT_EQ(goClicks, 2);

    // A radio button's accelerator focuses and checks it.
    Key(Qt::Key_2, Qt::AltModifier, "2");
    EXPECT_TRUE(radios[1]->Focused());
    EXPECT_TRUE(radios[1]->Checked());

    // The label's accelerator focuses the control it names; a letter nobody carries does
    // nothing; a disabled button's accelerator is not taken.
    Key(Qt::Key_D, Qt::AltModifier, "d");
    EXPECT_TRUE(target->Focused());
    EXPECT_EQ(target->Text(), "");
    Key(Qt::Key_Q, Qt::AltModifier, "q");
    EXPECT_TRUE(target->Focused());
    go->SetEnabled(false);
    Key(Qt::Key_K, Qt::AltModifier, "k");
    EXPECT_EQ(goClicks, 2);
}

TEST_F(VclKeyboardRulesTest, ArrowKeysMoveAmongRadioButtonsAndCheckThem)
{
    radios[0]->SetChecked(true);
    radios[0]->SetFocus();
    ASSERT_TRUE(radios[0]->Focused());
    int clicks = 0;
    for (TRadioButton* r : radios)
        r->OnClick = [&](rtl::TObject*) { ++clicks; };
    Key(Qt::Key_Down);
    EXPECT_TRUE(radios[1]->Focused());
    EXPECT_TRUE(radios[1]->Checked());
    EXPECT_FALSE(radios[0]->Checked());
    Key(Qt::Key_Right);
    EXPECT_TRUE(radios[2]->Checked());
    Key(Qt::Key_Up);
    Key(Qt::Key_Left);
    EXPECT_TRUE(radios[0]->Focused());
    EXPECT_TRUE(radios[0]->Checked());
    EXPECT_FALSE(radios[2]->Checked());
    EXPECT_EQ(clicks, 4);
    // A press moves nothing until its release checks the button pressed.
    QTest::mousePress(radios[2]->Peer(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(radios[2]->Checked());
    QTest::mouseRelease(radios[2]->Peer(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(radios[2]->Checked());
}

// The Menu key (on its release) and Shift+F10 ask the focused control for its context menu at
// (-1, -1); an edit answers with its own menu in the program's language, below its left edge,
// with the items its state allows.
TEST_F(VclKeyboardRulesTest, MenuKeyAndShiftF10OpenTheEditsMenu)
{
    struct Shown {
        TPoint at;
        std::vector<std::pair<std::string, bool>> items;
    };
    std::vector<Shown> shownMenus;
    std::string choose;
    auto old = SetMenuPresenter([&](TPopupMenu* m, TPoint p) -> TMenuItem* {
        Shown s{p, {}};
        TMenuItem* chosen = nullptr;
        for (int i = 0; i < m->Items()->Count(); ++i) {
            TMenuItem* item = m->Items()->Items(i);
            s.items.emplace_back(item->Caption, item->Enabled);
            if (item->Caption == choose)
                chosen = item;
        }
        shownMenus.push_back(s);
        return chosen;
    });
    Clipboard()->SetAsText("粘贴的");
    edit->SetText("电表地址");
    edit->SetSelStart(0);
    edit->SetSelLength(2);

    Key(Qt::Key_Menu);
    ASSERT_EQ(shownMenus.size(), 1u);
    EXPECT_EQ(shownMenus[0].at, edit->ClientToScreen({0, edit->Height()}));
    const std::vector<std::pair<std::string, bool>> expected = {
        {"撤消(&U)", false}, {"-", true},        {"剪切(&T)", true}, {"复制(&C)", true},
        {"粘贴(&P)", true},  {"删除(&D)", true}, {"-", true},        {"全选(&A)", true}};
    EXPECT_EQ(shownMenus[0].items, expected);

    // Chosen items act on the edit: paste over the selection, then undo is offered.
    choose = "粘贴(&P)";
    Key(Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(shownMenus.size(), 2u);
    EXPECT_EQ(edit->Text(), "粘贴的地址");
    choose.clear();
    edit->SelectAll();
    Key(Qt::Key_Menu);
    ASSERT_EQ(shownMenus.size(), 3u);
    EXPECT_TRUE(shownMenus[2].items[0].second);    // undo
    EXPECT_FALSE(shownMenus[2].items[7].second);   // all is selected already

    // Read-only: only copy and select all; nothing selected: no copy either.
    edit->SetReadOnly(true);
    edit->SetSelStart(1);
    edit->SetSelLength(0);
    Key(Qt::Key_Menu);
    ASSERT_EQ(shownMenus.size(), 4u);
    std::vector<bool> enabled;
    for (auto& [caption, on] : shownMenus[3].items)
        if (caption != "-")
            enabled.push_back(on);
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, false, false, true}));

    // A right click opens the same menu at the pointer.
    QTest::mouseClick(edit->Box()->Widget(), Qt::RightButton, {}, QPoint(20, 8));
    vcl::DrainPostedMessages();
    ASSERT_EQ(shownMenus.size(), 5u);
    EXPECT_EQ(shownMenus[4].at, edit->ClientToScreen({20, 8}));

    // The window system's menu shows the same items.
    SetMenuPresenter(old);
    QStringList texts;
    QObject timers;
    QTimer::singleShot(50, &timers, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                texts << a->text();
            SavePicture(menu->grab().toImage(), "edit-menu.png", 2);
            menu->close();
        }
    });
    QTimer::singleShot(2000, &timers, [] {
        if (QWidget* w = QApplication::activePopupWidget())
            w->close();
    });
    Key(Qt::Key_Menu);
    EXPECT_EQ(texts, (QStringList{"撤消(&U)", "", "剪切(&T)", "复制(&C)", "粘贴(&P)", "删除(&D)", "", "全选(&A)"}));
}

} // namespace
