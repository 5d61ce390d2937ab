// The delay dialog as the operator meets it: shown modally on the offscreen platform, with the
// plain Qt rows.
#include "DelayDialogRows.h"
#include "console/FDlgDelayTime.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class DelayDialogShown : public ::testing::Test {
protected:
    void SetUp() override { delay_test::EnsureApplication(); }
};

void Type(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        const int key = Qt::Key_0 + c.digitValue();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

TEST_F(DelayDialogShown, ModalConfirmThroughCheckDelayClick)
{
    TDelaySettings settings;
    settings.Delays[0] = 100;
    bool sawDialog = false;
    // Plays the operator once the modal loop runs; a second timer ends the loop should the first
    // one not find the dialog, so the test cannot hang.
    QObject timers; // the guard must not outlive the test and reject a later test's dialog
    QTimer::singleShot(0, &timers, [&sawDialog] {
        auto* dialog = qobject_cast<TDlgDelay*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        sawDialog = true;
        auto& rows = static_cast<TPlainDelayRowsView&>(*dialog->Rows);
        EXPECT_EQ(rows.Editor(0)->value(), 100);
        rows.Editor(1)->setValue(20);
        dialog->Button1->click();
    });
    QTimer::singleShot(5000, &timers, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    EXPECT_TRUE(CheckDelayClick(true, settings, nullptr));
    EXPECT_TRUE(sawDialog);
    EXPECT_TRUE(settings.DelayOn);
    EXPECT_EQ(settings.Delays[0], 100);
    EXPECT_EQ(settings.Delays[1], 20);
}

TEST_F(DelayDialogShown, ConfirmTakesTheValueBeingTyped)
{
    TDlgDelay dialog;
    dialog.show();
    auto& rows = static_cast<TPlainDelayRowsView&>(*dialog.Rows);
    QSpinBox* editor = rows.Editor(0);
    editor->setKeyboardTracking(false);  // the spin box itself takes the text only when editing ends
    editor->setFocus();
    editor->selectAll();
    Type(editor, QStringLiteral("42"));
    EXPECT_EQ(editor->value(), 0);
    EXPECT_EQ(rows.GetValue(0), 42);
    dialog.Button1->click();
    EXPECT_EQ(dialog.Delays[0], 42);
}

TEST_F(DelayDialogShown, CompactRowsFitAndDetailedRowsScroll)
{
    TDlgDelay dialog;
    dialog.show();
    auto& rows = static_cast<TPlainDelayRowsView&>(*dialog.Rows);
    EXPECT_EQ(dialog.size(), QSize(181, 134));
    for (int row : {0, 1}) {
        const QRect r(rows.Editor(row)->mapTo(&dialog, QPoint(0, 0)), rows.Editor(row)->size());
        EXPECT_TRUE(dialog.rect().contains(r)) << row;
        EXPECT_TRUE(rows.Editor(row)->isVisible()) << row;
    }
    EXPECT_FALSE(rows.Editor(2)->isVisible());
    dialog.CheckBox1->click();
    EXPECT_EQ(dialog.size(), QSize(181, 400));
    EXPECT_TRUE(rows.Editor(49)->isVisibleTo(&dialog));
    EXPECT_EQ(rows.Editor(49)->maximum(), 5000);
    EXPECT_EQ(rows.Editor(49)->minimum(), 0);
}

}  // namespace
