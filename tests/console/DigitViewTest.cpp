#include "console/DigitView.h"
#include "MainWindowHarness.h"

#include <gtest/gtest.h>

#include <QColor>
#include <set>

TEST(DigitView, TenDistinctDigitsInTwoColours)
{
    std::set<QByteArray> seen;
    for (int n = 0; n < 10; ++n) {
        for (bool red : {false, true}) {
            const QImage image = digits::Image(n, red);
            EXPECT_EQ(image.height(), 25);
            seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
        }
    }
    EXPECT_EQ(seen.size(), 20u);
    // The segment colours: red digits have a red "on" colour, normal ones a green one.
    const QImage red8 = digits::Image(8, true);
    const QImage green8 = digits::Image(8, false);
    const QColor r = red8.pixelColor(digits::Width / 2, 2);
    const QColor g = green8.pixelColor(digits::Width / 2, 2);
    EXPECT_GT(r.red(), r.green());
    EXPECT_GT(g.green(), g.red());
}

TEST(DigitView, EnergyRegisterShowsDecimalsInRed)
{
    MainWindowHarness h;
    TFrmMain& w = *h.window;
    const std::uint8_t energy[4] = {0x78, 0x56, 0x34, 0x12};  // 123456.78
    w.ShowTotalEnergy(energy);
    const int expected[8] = {8, 7, 6, 5, 4, 3, 2, 1};  // image 0 is the rightmost
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(w.ImgKwh[i]->Digit(), expected[i]) << i;
        EXPECT_EQ(w.ImgKwh[i]->IsRed(), i < 2) << i;
    }
    EXPECT_EQ(w.ImgKwh[0]->Picture(), digits::Image(8, true));
}
