#include "MainWindowHarness.h"
#include <gtest/gtest.h>
#include <QPixmap>
#include <cstdlib>
TEST(Shot, Grab)
{
    const char* out = std::getenv("SHOT");
    if (!out) GTEST_SKIP();
    MainWindowHarness h({2011, 5, 5, 13, 50, 56});
    TFrmMain& w = *h.window;
    if (std::getenv("SHOT_CUSTOM")) w.CheckBox2Click();
    w.show();
    for (int i = 0; i < 3; ++i) w.TimerSecTimer();
    w.AddLog(w.MemoRes, "-----------------------------------------");
    w.AddLog(w.MemoRes, "<-收到一帧:2011-05-05 13:50:59");
    w.AddLog(w.MemoRes, "<-68 88 88 88 88 88 88 68 01 02 43 C3 5D 16 ");
    SpinFor(std::chrono::milliseconds(200));
    w.grab().save(QString::fromUtf8(out));
}
