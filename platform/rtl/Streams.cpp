#include "platform/rtl/Streams.h"

#include <cmath>
#include <cstring>
#include <unistd.h>

namespace rtl {

std::int64_t TStream::Size()
{
    std::int64_t pos = Seek(0, soCurrent);
    std::int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream* source, std::int64_t count)
{
    if (count == 0) {
        source->SetPosition(0);
        count = source->Size();
    }
    std::int64_t result = count;
    std::vector<Byte> buf(static_cast<std::size_t>(std::min<std::int64_t>(count, 0xF000)));
    while (count > 0) {
        std::int64_t n = std::min<std::int64_t>(count, static_cast<std::int64_t>(buf.size()));
        source->ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        count -= n;
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
std::int64_t TCustomMemoryStream::Read(void* buffer, std::int64_t count)
{
    if (position_ < 0 || count <= 0)
        return 0;
    std::int64_t n = std::min<std::int64_t>(count, Size() - position_);
    if (n <= 0)
        return 0;
    std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    switch (origin) {
    case soBeginning: position_ = offset; break;
    case soCurrent: position_ += offset; break;
    case soEnd: position_ = Size() + offset; break;
    }
    return position_;
}

void TCustomMemoryStream::SaveToStream(TStream* stream) { stream->WriteBuffer(data_.data(), Size()); }

void TCustomMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream f(fileName, fmCreate);
    SaveToStream(&f);
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count)
{
    if (position_ < 0 || count <= 0)
        return 0;
    std::int64_t end = position_ + count;
    if (end > Size())
        data_.resize(static_cast<std::size_t>(end));
    std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ = end;
    return count;
}

void TMemoryStream::SetSize(std::int64_t size)
{
    data_.resize(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
    if (position_ > size)
        position_ = size;
}

void TMemoryStream::Clear()
{
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* stream)
{
    stream->SetPosition(0);
    std::int64_t n = stream->Size();
    SetSize(n);
    if (n != 0)
        stream->ReadBuffer(data_.data(), n);
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

// ---------------------------------------------------------------------------------------------
TFileStream::TFileStream(const std::string& fileName, Word mode) : fileName_(fileName)
{
    if (mode == fmCreate || (mode & 0xFF00) == fmCreate) {
        file_ = std::fopen(fileName.c_str(), "w+b");
        if (!file_)
            throw EFCreateError(Format("Cannot create file \"%s\"", fileName));
        return;
    }
    const char* how = (mode & 3) == fmOpenRead ? "rb" : "r+b";
    file_ = std::fopen(fileName.c_str(), how);
    if (!file_)
        throw EFOpenError(Format("Cannot open file \"%s\"", fileName));
}

TFileStream::~TFileStream()
{
    if (file_)
        std::fclose(file_);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    return static_cast<std::int64_t>(std::fread(buffer, 1, static_cast<std::size_t>(count), file_));
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    return static_cast<std::int64_t>(std::fwrite(buffer, 1, static_cast<std::size_t>(count), file_));
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    if (fseeko(file_, offset, whence) != 0)
        return -1;
    return ftello(file_);
}

void TFileStream::SetSize(std::int64_t size)
{
    std::fflush(file_);
    std::int64_t pos = Position();
    if (ftruncate(fileno(file_), size) != 0)
        throw EStreamError(Format("Cannot set the size of \"%s\"", fileName_));
    if (pos > size)
        Seek(size, soBeginning);
}

// ---------------------------------------------------------------------------------------------
void DoubleToExtended(double value, Byte out[10])
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, 8);
    std::uint16_t sign = static_cast<std::uint16_t>((bits >> 63) << 15);
    int exp = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t frac = bits & 0xFFFFFFFFFFFFFULL;
    std::uint64_t mant;
    std::uint16_t e;
    if (exp == 0 && frac == 0) {
        mant = 0;
        e = 0;
    } else if (exp == 0x7FF) {
        e = 0x7FFF;
        mant = 0x8000000000000000ULL | (frac << 11);
    } else if (exp == 0) {
        // Subnormal double: normalise, the extended format has room for it.
        int shift = 0;
        while ((frac & (1ULL << 52)) == 0) {
            frac <<= 1;
            ++shift;
        }
        e = static_cast<std::uint16_t>(1 - 1023 - shift + 16383);
        mant = frac << 11;
    } else {
        e = static_cast<std::uint16_t>(exp - 1023 + 16383);
        mant = 0x8000000000000000ULL | (frac << 11);
    }
    e |= sign;
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<Byte>(mant >> (8 * i));
    out[8] = static_cast<Byte>(e);
    out[9] = static_cast<Byte>(e >> 8);
}

double ExtendedToDouble(const Byte in[10])
{
    std::uint64_t mant = 0;
    for (int i = 0; i < 8; ++i)
        mant |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    std::uint16_t se = static_cast<std::uint16_t>(in[8] | (in[9] << 8));
    bool negative = (se & 0x8000) != 0;
    int exp = se & 0x7FFF;
    double result;
    if (exp == 0x7FFF) {
        result = (mant << 1) == 0 ? INFINITY : NAN;
    } else if (mant == 0) {
        result = 0.0;
    } else {
        // ldexp rounds the 64-bit mantissa into the double once.
        long double m = static_cast<long double>(mant);
        result = static_cast<double>(std::ldexp(m, exp - 16383 - 63));
    }
    return negative ? -result : result;
}

void WriteExtended(TStream* stream, double value)
{
    Byte b[10];
    DoubleToExtended(value, b);
    stream->WriteBuffer(b, 10);
}

double ReadExtended(TStream* stream)
{
    Byte b[10];
    stream->ReadBuffer(b, 10);
    return ExtendedToDouble(b);
}

} // namespace rtl
