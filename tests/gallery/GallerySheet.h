#pragma once
// A page of pictures for people to look at: rows of labelled cells under column titles, drawn
// onto one image and saved as a PNG.
#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace gallery {

class Sheet {
public:
    explicit Sheet(QString title, QStringList columns = {}) : title_(std::move(title)), columns_(std::move(columns)) {}
    // A row: its label and one picture per column (a null image leaves the cell empty).
    void Row(const QString& label, std::vector<QImage> cells);
    // A picture that spans the whole width, under a label.
    void Wide(const QString& label, const QImage& picture) { Row(label, {picture}); }
    // Writes the sheet to dir/name; false when the file could not be written.
    bool Save(const QString& dir, const QString& name) const;
    QImage Render() const;

private:
    struct Line {
        QString label;
        std::vector<QImage> cells;
    };
    QString title_;
    QStringList columns_;
    std::vector<Line> rows_;
};

// The picture enlarged by a whole factor, pixels kept sharp.
QImage Zoom(const QImage& image, int factor);
// Pictures side by side (a gap of `gap` pixels between them).
QImage Beside(const std::vector<QImage>& images, int gap = 6);
// Pictures one under the other.
QImage Below(const std::vector<QImage>& images, int gap = 6);

} // namespace gallery
