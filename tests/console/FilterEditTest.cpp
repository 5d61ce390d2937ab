// The main window's filtered edit runs on the console's one key filter: the same keys, paste and
// backspace handling as the composer's edits.
#include "console/EditKeyFilter.h"
#include "console/FFrmMainWidgets.h"
#include "console/QtApp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

namespace {

void Press(QWidget* w, int key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
}

} // namespace

TEST(FilterEdit, KeysAndPasteGoThroughTheSharedFilter)
{
    EnsureQtApp();
    TFilterEdit edit;
    edit.SetFilter(TKeyFilterKind::HexSpaced);
    ASSERT_NE(edit.findChild<TEditKeyFilter*>(), nullptr);
    EXPECT_EQ(edit.Filter(), TKeyFilterKind::HexSpaced);
    for (const char c : std::string("68g1"))
        Press(&edit, Qt::Key_unknown, QString(QChar(c)));
    EXPECT_EQ(edit.text(), QStringLiteral("68 1"));
    Press(&edit, Qt::Key_G, QStringLiteral("g"), Qt::AltModifier);  // no way around the filter
    EXPECT_EQ(edit.text(), QStringLiteral("68 1"));
    Press(&edit, Qt::Key_Backspace, QStringLiteral("\b"));
    Press(&edit, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(edit.text(), QStringLiteral("68"));
    QApplication::clipboard()->setText(QStringLiteral("1 6, zz"));
    Press(&edit, Qt::Key_V, QString(), Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("68 16"));

    // Without a filter the edit takes any text whole, also beyond ASCII.
    edit.SetFilter(std::nullopt);
    edit.clear();
    edit.TypeText(QStringLiteral("表 1x"));
    EXPECT_EQ(edit.text(), QStringLiteral("表 1x"));
}
