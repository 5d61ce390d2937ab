#pragma once
// The LED-style digit images of the meter face: ten seven-segment digits 25 pixels high in two
// sets, normal (green on black) and red, drawn by this code; and the widget that shows one of
// them, as an image control holding a copy of the digit picture.
#include <QImage>
#include <QWidget>

namespace digits {
inline constexpr int Width = 15;
inline constexpr int Height = 25;
// The picture of a BCD nibble (0..9; A..F draw the hexadecimal letters, as a broken register
// would show them).
QImage Image(int nibble, bool red);
} // namespace digits

class TDigitView : public QWidget {
public:
    explicit TDigitView(QWidget* parent = nullptr);

    // Copies the digit picture of the nibble and repaints.
    void SetDigit(int nibble, bool red);
    int Digit() const { return digit_; }
    bool IsRed() const { return red_; }
    const QImage& Picture() const { return picture_; }

    QSize sizeHint() const override { return {digits::Width, digits::Height}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int digit_ = 0;
    bool red_ = false;
    QImage picture_;
};
