// How the console looks at its designed sizes with the shipped CJK font: texts that must fit are
// measured with the font's metrics. With AMMERLIN_SCREENSHOTS set to a folder, the screenshots of
// docs/ are taken again into it.
#include "DialogsTestApp.h"
#include "MainWindowHarness.h"
#include "console/FDlgDelayTime.h"
#include "console/FFrmOrd.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QPixmap>

namespace {

void Save(QWidget* w, const char* name)
{
    const QByteArray dir = qgetenv("AMMERLIN_SCREENSHOTS");
    if (dir.isEmpty())
        return;
    w->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromLatin1(name)));
}

} // namespace

TEST(WindowLooks, Screenshots)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.show();
    SpinFor(std::chrono::milliseconds(50));
    Save(&w, "main-window.png");
    w.CheckBox2->click();
    SpinFor(std::chrono::milliseconds(50));
    Save(&w, "main-window-custom-data.png");
    w.CheckBox2->click();

    w.Composer->show();
    SpinFor(std::chrono::milliseconds(50));
    Save(w.Composer, "composer.png");
    w.Composer->close();

    TDlgDelay delay(&w);
    delay.show();
    delay.CheckBox1->click();
    SpinFor(std::chrono::milliseconds(50));
    Save(&delay, "delay-dialog.png");
    h.Close();
}

TEST(WindowLooks, CustomDataBackToTheDesignedHeight)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    w.show();
    SpinFor(std::chrono::milliseconds(20));
    EXPECT_EQ(w.height(), 687);
    w.CheckBox2->click();
    SpinFor(std::chrono::milliseconds(20));
    EXPECT_EQ(w.height(), 817);
    w.CheckBox2->click();
    SpinFor(std::chrono::milliseconds(20));
    EXPECT_EQ(w.height(), 687);
    EXPECT_FALSE(w.GroupBox23->isVisible());
    h.Close();
}
