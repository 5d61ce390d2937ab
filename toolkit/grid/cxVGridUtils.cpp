#include "toolkit/grid/cxVGridUtils.h"

#include "platform/rtl/SysUtils.h"
#include "toolkit/core/dxCore.h"

#include <cmath>
#include <cstring>

namespace cx {

// ---- data lists ---------------------------------------------------------------------------------

void* TcxDataList::Get(int index) const
{
    if (index < 0 || index >= count_)
        throw EdxException(Format("Error %s: Invalid index %d", ClassType().ClassName(), index));
    return data_.get() + static_cast<std::size_t>(index) * recordSize_;
}

void TcxDataList::Grow(int allocated)
{
    // Not zeroed: only records below the count are ever read, and untouched pages cost nothing.
    auto data = std::make_unique_for_overwrite<std::byte[]>(static_cast<std::size_t>(allocated) * recordSize_);
    if (count_ > 0)
        std::memcpy(data.get(), data_.get(), static_cast<std::size_t>(count_) * recordSize_);
    data_ = std::move(data);
    allocated_ = allocated;
}

int TcxDataList::AddRecord(const void* record)
{
    if (count_ == allocated_)
        Grow(allocated_ + Delta);
    std::memcpy(data_.get() + static_cast<std::size_t>(count_) * recordSize_, record, recordSize_);
    return count_++;
}

void TcxDataList::AssignRecords(const TcxDataList& source)
{
    if (&source == this)
        return;
    if (allocated_ < source.allocated_) {
        count_ = 0;
        Grow(source.allocated_);
    }
    count_ = source.count_;
    if (count_ > 0)
        std::memcpy(data_.get(), source.data_.get(), static_cast<std::size_t>(count_) * recordSize_);
}

int TLineInfoList::Add(const TRect& r, TBrush* brush)
{
    if (Locked)
        return -1;
    TLineInfo info{r, true, brush, clNone};
    return AddRecord(&info);
}

int TLineInfoList::Add(const TRect& r, TColor color)
{
    if (Locked)
        return -1;
    TLineInfo info{r, false, nullptr, color};
    return AddRecord(&info);
}

int TLineInfoList::Add(int left, int top, int width, int height, TBrush* brush)
{
    return Add(TRect{left, top, left + width, top + height}, brush);
}

int TLineInfoList::Add(int left, int top, int width, int height, TColor color)
{
    return Add(TRect{left, top, left + width, top + height}, color);
}

int TIndentInfoList::Add(const TRect& r, const TcxViewParams& viewParams)
{
    TIndentInfo info{r, viewParams};
    return AddRecord(&info);
}

int TIndentRectInfoList::Add(const TSize& size, bool isCategory, const TcxViewParams& viewParams, bool bottomLine)
{
    TIndentRectInfo info{isCategory, size.cx, size.cy, viewParams, bottomLine};
    return AddRecord(&info);
}

// ---- rect scaler --------------------------------------------------------------------------------

void TRectScaler::Layout(const TRect& r, double factor, bool scale)
{
    int x = r.Left;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const Part& p = parts_[i];
        const int width = scale ? static_cast<int>(std::lrint(p.Size * factor)) : p.Size;
        TRect part{x, r.Top, x + width, r.Bottom};
        if (part.Width() < p.MinSize)
            part.Right = part.Left + p.MinSize;
        if (i + 1 == parts_.size())
            part.Right = r.Right;
        if (part.Right >= r.Right) {
            part.Right = r.Right;
            rects_.Add(part);
            break;
        }
        rects_.Add(part);
        x = part.Right + p.Gap;
    }
}

void TRectScaler::CalcRect(const TRect& r)
{
    rects_.Clear();
    Layout(r, 1.0, false);
}

void TRectScaler::ScaleRect(const TRect& r)
{
    rects_.Clear();
    long long sizes = 0, gaps = 0;
    for (const Part& p : parts_) {
        sizes += p.Size;
        gaps += p.Gap;
    }
    if (parts_.empty() || sizes <= 0)
        return;
    Layout(r, static_cast<double>(r.Width() - gaps) / static_cast<double>(sizes), true);
}

// ---- halftone brush -----------------------------------------------------------------------------

TBrush* cxCreateHalftoneBrush(TColor color1, TColor color2)
{
    auto* bitmap = new TBitmap;
    bitmap->SetSize(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            bitmap->Canvas()->SetPixel(x, y, (x + y) % 2 == 1 ? color1 : color2);
    auto* brush = new TBrush;
    brush->SetBitmap(bitmap);
    return brush;
}

} // namespace cx
