#include "GallerySheet.h"

#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace gallery {

namespace {

constexpr int kPad = 6;
const QColor kBackground(0xE8, 0xE8, 0xE8);
const QColor kInk(0x20, 0x20, 0x20);

QFont LabelFont(bool bold = false)
{
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(12);
    f.setBold(bold);
    return f;
}

} // namespace

void Sheet::Row(const QString& label, std::vector<QImage> cells) { rows_.push_back({label, std::move(cells)}); }

QImage Sheet::Render() const
{
    const QFontMetrics fm(LabelFont());
    const QFontMetrics bold(LabelFont(true));
    int labelWidth = 0;
    std::size_t columnCount = std::size_t(columns_.size());
    for (const Line& r : rows_) {
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(r.label));
        columnCount = std::max(columnCount, r.cells.size());
    }
    labelWidth += 2 * kPad;
    // A row of one picture spans the columns; the others share column widths.
    std::vector<int> widths(columnCount, 0);
    for (int c = 0; c < columns_.size(); ++c)
        widths[std::size_t(c)] = bold.horizontalAdvance(columns_[c]);
    int wide = 0;
    for (const Line& r : rows_) {
        if (r.cells.size() == 1 && columnCount > 1) {
            wide = std::max(wide, r.cells[0].width());
            continue;
        }
        for (std::size_t c = 0; c < r.cells.size(); ++c)
            widths[c] = std::max(widths[c], r.cells[c].width());
    }
    int gridWidth = 0;
    for (int w : widths)
        gridWidth += w + kPad;
    const int width = labelWidth + std::max(gridWidth, wide + kPad) + kPad;
    const int titleHeight = bold.height() + 2 * kPad;
    const int headerHeight = columns_.isEmpty() ? 0 : bold.height() + kPad;
    int height = titleHeight + headerHeight;
    for (const Line& r : rows_) {
        int h = fm.height();
        for (const QImage& cell : r.cells)
            h = std::max(h, cell.height());
        height += h + kPad;
    }
    height += kPad;

    QImage sheet(std::max(width, bold.horizontalAdvance(title_) + 2 * kPad), height, QImage::Format_RGB32);
    sheet.fill(kBackground);
    QPainter p(&sheet);
    p.setPen(kInk);
    p.setFont(LabelFont(true));
    p.drawText(kPad, kPad + bold.ascent(), title_);
    int y = titleHeight;
    if (headerHeight) {
        int x = labelWidth;
        for (int c = 0; c < columns_.size(); ++c) {
            p.drawText(x, y + bold.ascent(), columns_[c]);
            x += widths[std::size_t(c)] + kPad;
        }
        y += headerHeight;
    }
    p.setFont(LabelFont());
    for (const Line& r : rows_) {
        int h = fm.height();
        for (const QImage& cell : r.cells)
            h = std::max(h, cell.height());
        p.drawText(kPad, y + (h - fm.height()) / 2 + fm.ascent(), r.label);
        int x = labelWidth;
        for (std::size_t c = 0; c < r.cells.size(); ++c) {
            if (!r.cells[c].isNull())
                p.drawImage(x, y, r.cells[c]);
            x += (r.cells.size() == 1 ? r.cells[c].width() : widths[c]) + kPad;
        }
        y += h + kPad;
    }
    p.end();
    return sheet;
}

bool Sheet::Save(const QString& dir, const QString& name) const
{
    return Render().save(QDir(dir).filePath(name), "PNG");
}

QImage Zoom(const QImage& image, int factor)
{
    if (image.isNull() || factor <= 1)
        return image;
    return image.scaled(image.width() * factor, image.height() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage Beside(const std::vector<QImage>& images, int gap)
{
    int w = 0, h = 0;
    for (const QImage& i : images) {
        w += i.width() + gap;
        h = std::max(h, i.height());
    }
    QImage out(std::max(1, w - gap), std::max(1, h), QImage::Format_RGB32);
    out.fill(kBackground);
    QPainter p(&out);
    int x = 0;
    for (const QImage& i : images) {
        p.drawImage(x, 0, i);
        x += i.width() + gap;
    }
    return out;
}

QImage Below(const std::vector<QImage>& images, int gap)
{
    int w = 0, h = 0;
    for (const QImage& i : images) {
        h += i.height() + gap;
        w = std::max(w, i.width());
    }
    QImage out(std::max(1, w), std::max(1, h - gap), QImage::Format_RGB32);
    out.fill(kBackground);
    QPainter p(&out);
    int y = 0;
    for (const QImage& i : images) {
        p.drawImage(0, y, i);
        y += i.height() + gap;
    }
    return out;
}

} // namespace gallery
