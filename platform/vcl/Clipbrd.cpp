#include "platform/vcl/Clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <vector>

TClipboard::TClipboard() = default;
TClipboard::~TClipboard() = default;

void TClipboard::Open()
{
    if (openCount_++ == 0)
        pending_.reset();
}

void TClipboard::Close()
{
    if (openCount_ == 0)
        return;
    if (--openCount_ == 0 && pending_)
        QGuiApplication::clipboard()->setMimeData(pending_.release());
}

void TClipboard::Clear()
{
    pending_ = std::make_unique<QMimeData>();
    Changed();
}

void TClipboard::Changed()
{
    if (openCount_ == 0 && pending_)
        QGuiApplication::clipboard()->setMimeData(pending_.release());
}

const QMimeData* TClipboard::Current() const
{
    if (openCount_ > 0 && pending_)
        return pending_.get();
    return QGuiApplication::clipboard()->mimeData();
}

bool TClipboard::HasFormat(unsigned format) const
{
    const QMimeData* d = Current();
    if (!d)
        return false;
    switch (format) {
    case CF_TEXT:
    case CF_UNICODETEXT: return d->hasText();
    case CF_BITMAP:
    case CF_PICTURE: return d->hasImage();
    default: return false;
    }
}

int TClipboard::FormatCount() const
{
    int n = 0;
    for (unsigned f : {unsigned(CF_TEXT), unsigned(CF_BITMAP)})
        n += HasFormat(f) ? 1 : 0;
    return n;
}

unsigned TClipboard::Formats(int index) const
{
    std::vector<unsigned> list;
    for (unsigned f : {unsigned(CF_TEXT), unsigned(CF_BITMAP)})
        if (HasFormat(f))
            list.push_back(f);
    return index >= 0 && index < int(list.size()) ? list[std::size_t(index)] : 0;
}

std::string TClipboard::AsText() const
{
    const QMimeData* d = Current();
    return d && d->hasText() ? d->text().toStdString() : std::string();
}

void TClipboard::SetAsText(const std::string& text)
{
    if (!pending_ || openCount_ == 0)
        pending_ = std::make_unique<QMimeData>();
    pending_->setText(QString::fromStdString(text));
    Changed();
}

void TClipboard::Assign(rtl::TPersistent* source)
{
    auto* bmp = dynamic_cast<TBitmap*>(source);
    if (!bmp) {
        rtl::TPersistent::Assign(source);
        return;
    }
    if (!pending_ || openCount_ == 0)
        pending_ = std::make_unique<QMimeData>();
    // Our pixels keep data in the top byte: the picture goes out opaque.
    const QImage& img = bmp->Surface().Image();
    pending_->setImageData(img.convertToFormat(QImage::Format_RGB32));
    Changed();
}

bool TClipboard::GetBitmap(TBitmap* bitmap) const
{
    const QMimeData* d = Current();
    if (!bitmap || !d || !d->hasImage())
        return false;
    const QImage img = qvariant_cast<QImage>(d->imageData()).convertToFormat(QImage::Format_RGB32);
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(img.width(), img.height());
    for (int y = 0; y < img.height(); ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(img.constScanLine(y));
        std::uint32_t* dst = bitmap->ScanLine(y);
        for (int x = 0; x < img.width(); ++x)
            dst[x] = src[x] & 0x00FFFFFFu;
    }
    return true;
}

TClipboard* Clipboard()
{
    static TClipboard* clipboard = new TClipboard();
    return clipboard;
}
