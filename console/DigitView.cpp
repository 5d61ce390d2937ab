#include "console/DigitView.h"

#include <QPainter>

namespace digits {

namespace {

// Segments a..g as bits 0..6 (a top, b upper right, c lower right, d bottom, e lower left,
// f upper left, g middle).
constexpr unsigned char Segments[16] = {
    0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07,
    0x7F, 0x6F, 0x77, 0x7C, 0x39, 0x5E, 0x79, 0x71,
};

} // namespace

QImage Image(int nibble, bool red)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    const QColor on = red ? QColor(255, 40, 40) : QColor(40, 255, 80);
    const QColor off = red ? QColor(50, 0, 0) : QColor(0, 40, 10);
    const unsigned bits = Segments[nibble & 0x0F];

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int l = 2, r = Width - 3, t = 2, m = Height / 2, b = Height - 3;
    const QRect segment[7] = {
        QRect(l + 2, t, r - l - 3, 2),      // a
        QRect(r - 1, t + 2, 2, m - t - 3),  // b
        QRect(r - 1, m + 2, 2, b - m - 3),  // c
        QRect(l + 2, b - 1, r - l - 3, 2),  // d
        QRect(l, m + 2, 2, b - m - 3),      // e
        QRect(l, t + 2, 2, m - t - 3),      // f
        QRect(l + 2, m, r - l - 3, 2),      // g
    };
    for (int s = 0; s < 7; ++s)
        p.fillRect(segment[s], (bits >> s & 1) ? on : off);
    return image;
}

} // namespace digits

TDigitView::TDigitView(QWidget* parent) : QWidget(parent), picture_(digits::Image(0, false))
{
    setFixedSize(digits::Width, digits::Height);
}

void TDigitView::SetDigit(int nibble, bool red)
{
    digit_ = nibble & 0x0F;
    red_ = red;
    picture_ = digits::Image(digit_, red_);
    update();
}

void TDigitView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, picture_);
}
