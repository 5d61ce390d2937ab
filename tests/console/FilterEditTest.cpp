// The main window's filtered edit runs on the console's one key filter: the same keys, paste and
// backspace handling as the composer's edits.
#include "console/EditKeyFilter.h"
#include "console/FFrmMainWidgets.h"
#include "console/QtApp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace {

void Press(QWidget* w, int key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
}

// An input method's composition, then its commit, as a Chinese input method sends them.
void Compose(QWidget* w, const QString& preedit, const QString& commit)
{
    QInputMethodEvent composing(preedit, {});
    QApplication::sendEvent(w, &composing);
    QInputMethodEvent done;
    done.setCommitString(commit);
    QApplication::sendEvent(w, &done);
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

// Text an input method commits is typed through the filter like keys: a hex edit keeps its hex
// digits and drops Chinese and full-width characters; an edit without a filter takes it all.
TEST(FilterEdit, InputMethodCommitsGoThroughTheFilter)
{
    EnsureQtApp();
    struct Case {
        std::optional<TKeyFilterKind> filter;
        QString commit;
        QString text;
    };
    const Case cases[] = {
        {TKeyFilterKind::HexSpaced, QStringLiteral("中文"), QString()},
        {TKeyFilterKind::HexSpaced, QStringLiteral("6８8电表1"), QStringLiteral("68 1")},
        {std::nullopt, QStringLiteral("电表1"), QStringLiteral("电表1")},
    };
    for (const Case& c : cases) {
        TFilterEdit edit;
        edit.SetFilter(c.filter);
        Compose(&edit, QStringLiteral("dianbiao"), c.commit);
        EXPECT_EQ(edit.text(), c.text) << c.commit.toStdString();
    }
    TFilterEdit readOnly;
    readOnly.SetFilter(TKeyFilterKind::HexSpaced);
    readOnly.setReadOnly(true);
    Compose(&readOnly, QString(), QStringLiteral("12"));
    EXPECT_EQ(readOnly.text(), QString());
}
