// The delay dialog on the toolkit's vertical grid, driven as the operator drives it: real Qt key
// clicks and mouse clicks on the offscreen dialog, a fixed system, the fake font and a recording
// message notifier.
#include "DelayDialogRows.h"
#include "console/FDlgDelayTime.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/Text.h"
#include "tests/platform/vcl/VclTestSupport.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxTextEdit.h"
#include "toolkit/grid/cxVGrid.h"
#include "toolkit/grid/cxVGridViewInfo.h"

#include <QCheckBox>
#include <QClipboard>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace {

using namespace cx;

class DelayGrid : public ::testing::Test, public VclFixture {
protected:
    void SetUp() override
    {
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        dialog = std::make_unique<TDlgDelay>();
        view = static_cast<TGridDelayRowsView*>(dialog->Rows.get());
        grid = view->Grid();
        Open();
    }
    void TearDown() override
    {
        dialog.reset();
        SpinUntil([] { return false; }, 10);
        gdi::SetFontEngine(nullptr);
    }
    void Open()
    {
        dialog->show();
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(SpinUntil([this] { return view->Host()->Form()->Active() && grid->Focused(); }));
        ASSERT_EQ(grid->GetFocusedRow(), view->Row(0));
    }
    static void Spin() { SpinUntil([] { return false; }, 10); }
    static void Keys(const QString& text)
    {
        QTest::keyClicks(QApplication::focusWidget(), text);
        Spin();
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, mods);
        Spin();
    }
    // A left click in the middle of a row's value.
    void ClickValue(int row)
    {
        const TRect r = ValueCell(row);
        QTest::mouseClick(grid->Peer(), Qt::LeftButton, Qt::NoModifier,
                          QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        Spin();
    }
    TRect ValueCell(int row) const
    {
        TcxCustomRowViewInfo* info = grid->ViewInfo()->GetRowViewInfo(view->Row(row));
        return info ? info->ValuesInfo(0)->Bounds : TRect{};
    }
    TcxCustomTextEdit* Editor() const
    {
        return grid->GetIsEditing() ? dynamic_cast<TcxCustomTextEdit*>(grid->GetInplaceEditor()) : nullptr;
    }
    std::string EditText() const { return Editor() ? Editor()->Text() : std::string("<closed>"); }
    // The editor stands on the value's content: the cell less its one-pixel content offset.
    bool EditorOnRow(int row) const
    {
        TcxCustomRowViewInfo* info = grid->ViewInfo()->GetRowViewInfo(view->Row(row));
        const TRect place = info ? info->ValuesInfo(0)->EditRect() : TRect{};
        const TRect cell = ValueCell(row);
        TcxCustomTextEdit* e = Editor();
        return e && grid->GetFocusedRow() == view->Row(row) && e->Visible() && place == cxRectInflate(cell, -1, -1) &&
               e->BoundsRect() == place;
    }
    std::unique_ptr<TDlgDelay> dialog;
    TGridDelayRowsView* view = nullptr;
    TcxVerticalGrid* grid = nullptr;
};

TEST_F(DelayGrid, ValuesReadBackAndOnlyRealChangesLayOutTheRows)
{
    dialog->CheckBox1->click();
    const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {25, 4999}, {49, 5000}};
    for (auto [row, value] : cases)
        view->SetValue(row, value);
    dialog->CheckBox1->click();  // the byte rows hide again
    for (auto [row, value] : cases)
        EXPECT_EQ(view->GetValue(row), value) << row;

    int layouts = 0;
    grid->OnLayoutChanged = [&layouts](TObject*) { ++layouts; };
    grid->Update();
    layouts = 0;
    view->SetCaption(0, "响应延迟");
    grid->Update();
    EXPECT_EQ(layouts, 0);
    view->SetVisible(2, true);
    grid->Update();
    EXPECT_EQ(layouts, 1);
    grid->OnLayoutChanged = nullptr;
}

TEST_F(DelayGrid, ValueCellsShowTheirNumbers)
{
    // Dark pixels inside row 1's value cell, its focus frame aside.
    auto inked = [this] {
        grid->Update();
        const TRect r = ValueCell(1);
        int n = 0;
        for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
            for (int x = r.Left + 2; x < r.Right - 2; ++x)
                if ((grid->Surface().Pixel(x, y) & 0xFFFFFF) < 0x404040)
                    ++n;
        return n;
    };
    view->SetValue(1, 1);
    const int one = inked();
    view->SetValue(1, 5000);
    const int four = inked();
    EXPECT_GT(one, 0);
    EXPECT_GT(four, one);
}

// The value the grid draws and the value its opened editor draws are one picture: the same crisp
// glyphs (no anti-aliased grey) in the same place, with the real fonts.
TEST_F(DelayGrid, TheOpenedEditorDrawsTheValueWhereAndAsTheCellDid)
{
    gdi::SetFontEngine(gdi::MakeQtFontEngine());
    view->SetValue(1, 1250);
    grid->LayoutChanged();
    const TRect cell = ValueCell(1);
    struct Glyphs {
        std::vector<std::pair<int, int>> ink;   // dark pixels, the text colour
        int grey = 0;                           // pixels between text and background
    };
    // Away from the cell's edges, where the focus frame is.
    auto glyphs = [&](const QRect& within) {
        Spin();
        const QImage shot = grid->Peer()->grab(QRect(cell.Left, cell.Top, cell.Width(), cell.Height())).toImage();
        Glyphs g;
        for (int y = within.top(); y <= within.bottom(); ++y)
            for (int x = within.left(); x <= within.right(); ++x) {
                const int v = qGray(shot.pixel(x, y));
                if (v < 0x60)
                    g.ink.emplace_back(x, y);
                else if (v < 0xE0)
                    ++g.grey;
            }
        return g;
    };
    const Glyphs before = glyphs(QRect(2, 2, cell.Width() - 4, cell.Height() - 4));
    ASSERT_FALSE(before.ink.empty());
    EXPECT_EQ(before.grey, 0);
    QRect box(before.ink.front().first, before.ink.front().second, 1, 1);
    for (auto [x, y] : before.ink)
        box |= QRect(x, y, 1, 1);
    ClickValue(1);
    ASSERT_TRUE(EditorOnRow(1));
    Key(Qt::Key_End);   // the opened editor selects its text; End leaves the caret after it
    // The caret stands right of the text: the glyphs' own box is compared.
    const Glyphs after = glyphs(box);
    EXPECT_EQ(after.ink, before.ink);
    EXPECT_EQ(after.grey, 0);
}

TEST_F(DelayGrid, TypingOpensTheEditorOnTheValueAndEnterStoresIt)
{
    view->SetValue(0, 3);
    Keys("7");
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(Editor()->IsEditFocused());
    EXPECT_TRUE(EditorOnRow(0));
    EXPECT_EQ(ValueCell(0).Left - grid->ViewInfo()->ClientRect().Left, 116);
    Keys("50");
    EXPECT_EQ(EditText(), "750");
    EXPECT_EQ(view->GetValue(0), 3);  // the record, not the text being typed
    Key(Qt::Key_Return);
    EXPECT_EQ(view->GetValue(0), 750);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), 0);
    // Enter without an editor is the dialog's: "确认".
    Key(Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Delays[0], 750);
}

TEST_F(DelayGrid, WhatEnterMakesOfTheTypedText)
{
    struct Case {
        QString typed;
        int stored;
    };
    // A sign or an exponent is no part of a delay: refused as typed. Digits past any number's
    // range are clamped like 9999.
    const Case cases[] = {{"750", 750}, {"9999", 5000}, {"-5", 5}, {"20-+eE", 20},
                          {"99999999999999999999", 5000}};
    for (const Case& c : cases) {
        view->SetValue(0, 42);
        Keys(c.typed);
        Key(Qt::Key_Return);
        EXPECT_EQ(view->GetValue(0), c.stored) << c.typed.toStdString();
        EXPECT_EQ(Editor(), nullptr) << c.typed.toStdString();
    }
    // Cleared: nothing typed stores 0.
    view->SetValue(0, 42);
    Keys("1");
    Key(Qt::Key_Backspace);
    EXPECT_EQ(EditText(), "");
    Key(Qt::Key_Return);
    EXPECT_EQ(view->GetValue(0), 0);
    EXPECT_TRUE(shown.empty());
}

// Ctrl+V (or Shift+Insert) on a row with no editor open pastes into the row, as typing would;
// pasted text that is no number is refused, a number past the bounds is clamped.
TEST_F(DelayGrid, APasteWithoutAnOpenEditorGoesIntoTheRow)
{
    struct Case {
        QString clip;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int stored;
    };
    const Case cases[] = {{"750", Qt::Key_V, Qt::ControlModifier, 750},
                          {"1234", Qt::Key_Insert, Qt::ShiftModifier, 1234},
                          {"99999999999999999999", Qt::Key_V, Qt::ControlModifier, 5000},
                          {"abc", Qt::Key_V, Qt::ControlModifier, 42}};
    for (const Case& c : cases) {
        view->SetValue(0, 42);
        ASSERT_EQ(Editor(), nullptr);
        QApplication::clipboard()->setText(c.clip);
        Key(c.key, c.mods);
        Key(Qt::Key_Return);
        EXPECT_EQ(view->GetValue(0), c.stored) << c.clip.toStdString();
        if (Editor())
            Key(Qt::Key_Escape);
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(DelayGrid, EscapeFirstCancelsTheEditThenTheDialog)
{
    view->SetValue(0, 42);
    Keys("123");
    Key(Qt::Key_Escape);
    EXPECT_EQ(view->GetValue(0), 42);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_TRUE(dialog->isVisible());
    Key(Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
}

// An editor opened but not changed: one Esc closes it and the dialog, keeping the value.
TEST_F(DelayGrid, EscapeInAnUnchangedEditorClosesTheDialog)
{
    view->SetValue(0, 42);
    Key(Qt::Key_F2);
    ASSERT_NE(Editor(), nullptr);
    Key(Qt::Key_Escape);
    EXPECT_EQ(view->GetValue(0), 42);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(DelayGrid, AClickOnAValueEditsItAndAClickElsewhereStoresIt)
{
    ClickValue(1);
    EXPECT_EQ(grid->GetFocusedRow(), view->Row(1));
    ASSERT_TRUE(EditorOnRow(1));
    Key(Qt::Key_End);
    Keys("20");
    ClickValue(0);
    EXPECT_EQ(view->GetValue(1), 20);
    EXPECT_TRUE(EditorOnRow(0));
}

TEST_F(DelayGrid, SpinKeysStepWithinTheBounds)
{
    view->SetValue(0, 4999);
    ClickValue(0);
    ASSERT_NE(Editor(), nullptr);
    const std::pair<Qt::Key, std::string> steps[] = {
        {Qt::Key_Up, "5000"}, {Qt::Key_Up, "5000"}, {Qt::Key_Down, "4999"}, {Qt::Key_PageUp, "5000"}};
    for (auto [key, text] : steps) {
        Key(key);
        EXPECT_EQ(EditText(), text);
    }
    Key(Qt::Key_Return);
    EXPECT_EQ(view->GetValue(0), 5000);

    view->SetValue(1, 0);
    ClickValue(1);
    Key(Qt::Key_Down);
    EXPECT_EQ(EditText(), "0");
    Key(Qt::Key_Return);
    EXPECT_EQ(view->GetValue(1), 0);
}

TEST_F(DelayGrid, TheDetailedRowsScrollAndTheOpenEditorFollows)
{
    EXPECT_EQ(grid->ViewInfo()->ViewHeaderWidth, 114);
    dialog->CheckBox1->click();
    Spin();
    EXPECT_EQ(dialog->size(), QSize(181, 400));
    EXPECT_TRUE(grid->VScrollBarVisible());
    EXPECT_EQ(grid->GetTopVisibleRowIndex(), 0);
    EXPECT_EQ(grid->ViewInfo()->ViewHeaderWidth, 114);

    // Page Down in the grid moves the focus a page on, the rows following it.
    const int page = grid->Scroller()->GetVisibleRowCount();
    ASSERT_GT(page, 1);
    Key(Qt::Key_PageDown);
    const int top = grid->GetTopVisibleRowIndex();
    EXPECT_GT(top, 0);
    TcxCustomRow* focused = grid->GetFocusedRow();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused, view->Row(page));
    EXPECT_NE(grid->ViewInfo()->GetRowViewInfo(focused), nullptr);  // the focus stays in view

    // An editor open on the focused row stays the same object while scrolled out of sight.
    Keys("2");
    TcxCustomTextEdit* editor = Editor();
    ASSERT_NE(editor, nullptr);
    const int focusedIndex = focused->Index();
    grid->SetTopVisibleRowIndex(focusedIndex + 5 < 50 ? focusedIndex + 5 : 0);
    Spin();
    EXPECT_EQ(Editor(), editor);
    EXPECT_TRUE(editor->IsEditFocused());
    EXPECT_EQ(editor->Left(), 30000);
    grid->SetTopVisibleRowIndex(top);
    SpinUntil([&] { return editor->Left() != 30000; }, 300);
    EXPECT_EQ(Editor(), editor);
    EXPECT_NE(editor->Left(), 30000);
    EXPECT_EQ(editor->Left(), ValueCell(focusedIndex).Left + 1);   // inside the value's content offset

    dialog->CheckBox1->click();
    EXPECT_EQ(grid->ViewInfo()->ViewHeaderWidth, 114);
}

TEST_F(DelayGrid, ConfirmTakesTheOpenEditAndTabLeavesForTheCheckBox)
{
    Keys("150");
    ASSERT_NE(Editor(), nullptr);
    dialog->Button1->click();
    EXPECT_EQ(dialog->Delays[0], 150);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    Open();
    Key(Qt::Key_Tab);   // to the second row, then past the last shown row out of the grid
    EXPECT_EQ(grid->GetFocusedRow(), view->Row(1));
    Key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog->CheckBox1);
    EXPECT_FALSE(grid->Focused());
}

// Tab with the editor open moves to the next row as it does without one, storing the typed value;
// past the last shown row it leaves for the check box, and Shift+Tab comes back to the grid,
// which takes keys again.
TEST_F(DelayGrid, TabWithTheEditorOpenStoresTheValueAndMovesOn)
{
    Keys("42");
    ASSERT_NE(Editor(), nullptr);
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid->GetFocusedRow(), view->Row(1));
    EXPECT_EQ(view->GetValue(0), 42);
    EXPECT_EQ(Editor(), nullptr);
    Keys("8");
    Key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog->CheckBox1);
    EXPECT_EQ(view->GetValue(1), 8);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(grid->Focused());
    EXPECT_EQ(grid->GetFocusedRow(), view->Row(1));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);   // back to the first row
    EXPECT_EQ(grid->GetFocusedRow(), view->Row(0));
    Keys("7");
    Key(Qt::Key_Return);
    EXPECT_EQ(view->GetValue(0), 7);
    EXPECT_TRUE(shown.empty());
}

// Moving off a row whose editor holds typed text posts that text and moves on, with any of the row
// keys; a value only stepped with the spin keys keeps them for more steps, and text typed after a
// step moves on again.
TEST_F(DelayGrid, TypedTextIsPostedByTheKeyThatLeavesTheRow)
{
    struct Case {
        const char* name;
        std::function<void()> play;
        int row0, row1, focused;
    };
    const Case cases[] = {
        {"300, Down, 20", [] { Keys("300"); Key(Qt::Key_Down); Keys("20"); Key(Qt::Key_Return); }, 300, 20, 1},
        {"300, Tab, 20", [] { Keys("300"); Key(Qt::Key_Tab); Keys("20"); Key(Qt::Key_Return); }, 300, 20, 1},
        {"300, Page Down, 20", [] { Keys("300"); Key(Qt::Key_PageDown); Keys("20"); Key(Qt::Key_Return); }, 300, 20, 1},
        {"Down, 20, Up, 300",
         [] {
             Key(Qt::Key_Down);
             Keys("20");
             Key(Qt::Key_Up);
             Keys("300");
             Key(Qt::Key_Return);
         },
         300, 20, 0},
        {"a click, Up, Up, Down: steps", [this] {
             ClickValue(0);
             Key(Qt::Key_Up);
             Key(Qt::Key_Up);
             Key(Qt::Key_Down);
             Key(Qt::Key_Return);
         },
         1, 0, 0},
        {"a click, Up, then 5 over the stepped value, Down: moves", [this] {
             ClickValue(0);
             Key(Qt::Key_Up);
             Keys("5");
             Key(Qt::Key_Down);
         },
         5, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view->SetValue(0, 0);
        view->SetValue(1, 0);
        grid->SetFocusedRow(view->Row(0));
        c.play();
        EXPECT_EQ(Editor(), nullptr);
        EXPECT_EQ(view->GetValue(0), c.row0);
        EXPECT_EQ(view->GetValue(1), c.row1);
        EXPECT_EQ(grid->GetFocusedRow(), view->Row(c.focused));
    }
    EXPECT_TRUE(shown.empty());
}


// Back in the compact view from a byte row, the focus moves to a row the operator sees: typed
// digits land there instead of vanishing into the hidden row. An editor still open on the byte
// row stores its value first.
TEST_F(DelayGrid, TheCompactViewMovesTheFocusOffAHiddenByteRow)
{
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    Key(Qt::Key_Space);
    ASSERT_TRUE(dialog->Detailed);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(grid->GetFocusedRow(), view->Row(1));
    for (int i = 0; i < 19; ++i)
        Key(Qt::Key_Down);
    ASSERT_EQ(grid->GetFocusedRow(), view->Row(20));
    Keys("33");
    // The check box clicked while the byte row's editor is open.
    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    Spin();
    ASSERT_FALSE(dialog->Detailed);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetFocusedRow(), view->Row(1));
    Keys("5");
    Key(Qt::Key_Return);
    EXPECT_EQ(view->GetValue(1), 5);
    EXPECT_EQ(view->GetValue(20), 33);

    dialog->CheckBox1->click();
    grid->SetFocusedRow(view->Row(30));
    Keys("44");
    ASSERT_TRUE(EditorOnRow(30));
    dialog->CheckBox1->click();
    EXPECT_EQ(view->GetValue(30), 44);
    EXPECT_EQ(grid->GetFocusedRow(), view->Row(1));
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_TRUE(shown.empty());
}


// A digit typed after the rows were scrolled away from the focused row (the scroll bar's arrow)
// brings the row back and opens its editor with the digit.
TEST_F(DelayGrid, TypingOnAFocusedRowScrolledAwayBringsItBack)
{
    dialog->CheckBox1->click();
    Spin();
    const int w = grid->Width(), h = grid->Height();
    for (int i = 0; i < 5; ++i) {
        QTest::mouseClick(grid->Peer(), Qt::LeftButton, {}, QPoint(w - 8, h - 8));
        Spin();
    }
    ASSERT_GT(grid->GetTopVisibleRowIndex(), 0);
    ASSERT_EQ(grid->GetFocusedRow(), view->Row(0));
    Keys("3");
    EXPECT_EQ(grid->GetTopVisibleRowIndex(), 0);
    EXPECT_TRUE(EditorOnRow(0));
    EXPECT_EQ(EditText(), "3");
    Key(Qt::Key_Return);
    EXPECT_EQ(view->GetValue(0), 3);
}

// The main window's side through the real modal dialog: the stored delays shown in the rows, a
// value typed and confirmed with its editor still open.
TEST(DelayGridModal, StoredDelaysShownAndATypedValueConfirmed)
{
    VclFixture fixture;
    gdi::SetFontEngine(gdi::MakeFakeFontEngine());
    TDelaySettings settings;
    settings.Delays[0] = 100;
    settings.Delays[1] = 20;
    bool played = false;
    QObject timers;
    QTimer::singleShot(0, &timers, [&played] {
        auto* dialog = qobject_cast<TDlgDelay*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto& rows = static_cast<TGridDelayRowsView&>(*dialog->Rows);
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
        if (!SpinUntil([&rows] { return rows.Grid()->Focused(); }))
            return;
        played = rows.GetValue(0) == 100 && rows.GetValue(1) == 20 && rows.GetValue(2) == 0;
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("150"));
        SpinUntil([] { return false; }, 10);
        QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    });
    QTimer::singleShot(5000, &timers, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    EXPECT_TRUE(CheckDelayClick(true, settings, nullptr));
    EXPECT_TRUE(played);
    EXPECT_EQ(settings.Delays[0], 150);
    EXPECT_EQ(settings.Delays[1], 20);
    EXPECT_FALSE(settings.PerByteDelays);
    EXPECT_TRUE(settings.DelayOn);
    gdi::SetFontEngine(nullptr);
}

// A program that ends with the toolkit's units still started (it never calls the shut-downs)
// exits cleanly: no unit's end runs from a static destructor over class records already gone.
TEST(ToolkitUnitsAtExit, AProgramThatLeavesThemStartedEndsCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            EnsureVclApp();
            gdi::SetFontEngine(gdi::MakeFakeFontEngine());
            {
                TDlgDelay dialog;
                dialog.show();
                SpinUntil([] { return false; }, 50);
                QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12"));
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
