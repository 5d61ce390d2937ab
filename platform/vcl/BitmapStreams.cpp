#include "platform/vcl/BitmapStreams.h"

#include <cstring>
#include <vector>

namespace {

using rtl::ReadLE;
using rtl::WriteLE;

constexpr Word kBitmapSignature = 0x4D42; // "BM"
constexpr int kFileHeaderSize = 14, kInfoHeaderSize = 40;
constexpr std::uint32_t BI_RGB = 0, BI_BITFIELDS = 3;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

int RowBytes(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

int FileBits(const TBitmap* b)
{
    if (b->GetMonochrome())
        return 1;
    return b->GetPixelFormat() == pf32bit ? 32 : 24;
}

TPixelFormat FormatOfBits(int bits)
{
    switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

} // namespace

void SaveBitmapToStream(TBitmap* bitmap, rtl::TStream* stream)
{
    const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
    const int bits = FileBits(bitmap), row = RowBytes(w, bits);
    const int colours = bits == 1 ? 2 : 0;
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize + colours * 4;
    const std::uint32_t size = offset + std::uint32_t(row) * std::uint32_t(h);
    WriteLE<Word>(stream, kBitmapSignature);
    WriteLE<std::uint32_t>(stream, size);
    WriteLE<std::uint32_t>(stream, 0);
    WriteLE<std::uint32_t>(stream, offset);
    WriteLE<std::uint32_t>(stream, kInfoHeaderSize);
    WriteLE<std::int32_t>(stream, w);
    WriteLE<std::int32_t>(stream, h);
    WriteLE<Word>(stream, 1);
    WriteLE<Word>(stream, Word(bits));
    WriteLE<std::uint32_t>(stream, BI_RGB);
    WriteLE<std::uint32_t>(stream, std::uint32_t(row) * std::uint32_t(h));
    for (int i = 0; i < 4; ++i)
        WriteLE<std::uint32_t>(stream, 0); // resolution and colour counts
    if (colours) {
        WriteLE<std::uint32_t>(stream, 0x00000000);
        WriteLE<std::uint32_t>(stream, 0x00FFFFFF);
    }
    std::vector<Byte> line(static_cast<size_t>(row));
    for (int y = h - 1; y >= 0; --y) {
        std::fill(line.begin(), line.end(), Byte(0));
        const std::uint32_t* src = bitmap->ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = src[x];
            if (bits == 1) {
                if (p & 0xFFFFFF)
                    line[size_t(x / 8)] |= Byte(0x80 >> (x % 8));
            } else if (bits == 24) {
                line[size_t(x) * 3] = Byte(p);
                line[size_t(x) * 3 + 1] = Byte(p >> 8);
                line[size_t(x) * 3 + 2] = Byte(p >> 16);
            } else {
                std::memcpy(&line[size_t(x) * 4], &p, 4);
            }
        }
        stream->WriteBuffer(line.data(), row);
    }
}

void LoadBitmapFromStream(TBitmap* bitmap, rtl::TStream* stream)
{
    const std::int64_t start = stream->Position();
    const std::int64_t available = stream->Size() - start;
    if (available <= 0) {
        bitmap->SetSize(0, 0);
        return;
    }
    if (available < kFileHeaderSize + kInfoHeaderSize || ReadLE<Word>(stream) != kBitmapSignature)
        Invalid();
    ReadLE<std::uint32_t>(stream);
    ReadLE<std::uint32_t>(stream);
    const std::uint32_t offset = ReadLE<std::uint32_t>(stream);
    const std::uint32_t headerSize = ReadLE<std::uint32_t>(stream);
    const std::int32_t w = ReadLE<std::int32_t>(stream);
    const std::int32_t rawH = ReadLE<std::int32_t>(stream);
    ReadLE<Word>(stream);
    const int bits = ReadLE<Word>(stream);
    const std::uint32_t compression = ReadLE<std::uint32_t>(stream);
    const bool topDown = rawH < 0;
    const std::int64_t h = topDown ? -std::int64_t(rawH) : rawH;
    const bool bitsOk = bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
    if (headerSize < kInfoHeaderSize || w < 0 || h > 0x7FFF || w > 0x7FFF || !bitsOk ||
        !(compression == BI_RGB || (compression == BI_BITFIELDS && bits == 32)))
        Invalid();
    // The largest surface bounds a picture too; refused before the bitmap changes.
    if (std::int64_t(w) * h > gdi::kMaxSurfacePixels)
        Invalid();
    const int row = RowBytes(w, bits);
    if (offset < kFileHeaderSize + headerSize || std::int64_t(offset) + std::int64_t(row) * h > available)
        Invalid();
    std::vector<std::uint32_t> palette;
    if (bits <= 8) {
        const int count = std::min<int>(1 << bits, int((offset - kFileHeaderSize - headerSize) / 4));
        stream->SetPosition(start + kFileHeaderSize + headerSize);
        for (int i = 0; i < count; ++i)
            palette.push_back(ReadLE<std::uint32_t>(stream) & 0xFFFFFF);
        palette.resize(size_t(1) << bits, 0);
    }
    stream->SetPosition(start + offset);
    std::vector<Byte> data(size_t(row) * size_t(h));
    stream->ReadBuffer(data.data(), std::int64_t(data.size()));
    bitmap->SetSize(0, 0);
    bitmap->SetPixelFormat(FormatOfBits(bits));
    bitmap->SetSize(w, int(h));
    // A picture with no columns has no pixel rows to read (and its data is empty).
    for (int y = 0; w > 0 && y < int(h); ++y) {
        const Byte* line = &data[size_t(topDown ? y : int(h) - 1 - y) * row];
        std::uint32_t* dst = bitmap->ScanLine(y);
        for (int x = 0; x < w; ++x) {
            switch (bits) {
            case 1: dst[x] = palette[(line[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: dst[x] = palette[(line[x / 2] >> (x % 2 ? 0 : 4)) & 0xF]; break;
            case 8: dst[x] = palette[line[x]]; break;
            case 24: dst[x] = line[x * 3] | (line[x * 3 + 1] << 8) | (std::uint32_t(line[x * 3 + 2]) << 16); break;
            default: std::memcpy(&dst[x], &line[size_t(x) * 4], 4); break;
            }
        }
    }
    if (bits == 1)
        bitmap->SetMonochrome(true);
}

void WriteBitmapData(TBitmap* bitmap, rtl::TStream* stream)
{
    if (bitmap->GetEmpty()) {
        WriteLE<std::uint32_t>(stream, 0);
        return;
    }
    rtl::TMemoryStream file;
    SaveBitmapToStream(bitmap, &file);
    WriteLE<std::uint32_t>(stream, std::uint32_t(file.Size()));
    stream->WriteBuffer(file.Memory(), file.Size());
}

void ReadBitmapData(TBitmap* bitmap, rtl::TStream* stream)
{
    const std::uint32_t size = ReadLE<std::uint32_t>(stream);
    if (size == 0) {
        bitmap->SetSize(0, 0);
        return;
    }
    if (std::int64_t(size) > stream->Size() - stream->Position())
        throw EInvalidGraphic("Bitmap image is not valid");
    std::vector<Byte> bytes(size);
    stream->ReadBuffer(bytes.data(), size);
    rtl::TMemoryStream file(std::move(bytes));
    LoadBitmapFromStream(bitmap, &file);
}

// ---- the file form of the graphic classes ----

void TGraphic::LoadFromStream(rtl::TStream*)
{
    throw EInvalidGraphic("Stream read error: " + ClassName() + " has no file form");
}

void TGraphic::SaveToStream(rtl::TStream*)
{
    throw EInvalidGraphic("Stream write error: " + ClassName() + " has no file form");
}

void TBitmap::LoadFromStream(rtl::TStream* stream) { LoadBitmapFromStream(this, stream); }

void TBitmap::SaveToStream(rtl::TStream* stream) { SaveBitmapToStream(this, stream); }
