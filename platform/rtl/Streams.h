#pragma once
// Streams: the abstract TStream, memory and file streams, little-endian value helpers and the
// 80-bit extended float of the stream formats.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/rtl/Object.h"
#include "platform/rtl/SysUtils.h"

namespace rtl {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
    RTL_CLASS(TStream, TObject)
    // Reads up to count bytes; returns how many came.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t pos) { Seek(pos, soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t size) {}

    // All or nothing: EReadError / EWriteError when fewer bytes move.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    std::int64_t CopyFrom(TStream* source, std::int64_t count);   // count 0: the whole source
    // A component's stored properties (TWriter::WriteComponent), and reading them back into a
    // component of the same class, which is returned.
    void WriteComponent(class TComponent* instance);
    class TComponent* ReadComponent(class TComponent* instance);
};

class TCustomMemoryStream : public TStream {
    RTL_CLASS(TCustomMemoryStream, TStream)
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
    void SaveToStream(TStream* stream);
    void SaveToFile(const std::string& fileName);
    Byte* Memory() { return data_.data(); }
    const std::vector<Byte>& Bytes() const { return data_; }

protected:
    std::vector<Byte> data_;
    std::int64_t position_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
    RTL_CLASS(TMemoryStream, TCustomMemoryStream)
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<Byte> data) { data_ = std::move(data); }
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    void SetSize(std::int64_t size) override;
    void Clear();
    void LoadFromStream(TStream* stream);
    void LoadFromFile(const std::string& fileName);
};

enum : Word {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

class TFileStream : public TStream {
    RTL_CLASS(TFileStream, TStream)
    // EFCreateError / EFOpenError when the file cannot be created or opened. Share modes are
    // accepted and not enforced.
    TFileStream(const std::string& fileName, Word mode);
    ~TFileStream() override;
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t size) override;
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
    std::FILE* file_ = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Little-endian values. The reads raise EReadError on a short stream.
template <class T>
    requires std::is_arithmetic_v<T>
void WriteLE(TStream* stream, T value)
{
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    if constexpr (std::endian::native == std::endian::big)
        std::reverse(bytes, bytes + sizeof(T));
    stream->WriteBuffer(bytes, sizeof(T));
}

template <class T>
    requires std::is_arithmetic_v<T>
T ReadLE(TStream* stream)
{
    unsigned char bytes[sizeof(T)];
    stream->ReadBuffer(bytes, sizeof(T));
    if constexpr (std::endian::native == std::endian::big)
        std::reverse(bytes, bytes + sizeof(T));
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

// The 80-bit extended float (64-bit mantissa with explicit integer bit, 15-bit exponent),
// converted from and to double; values beyond double's range become infinities, and the
// extra precision is rounded to nearest.
void DoubleToExtended(double value, Byte out[10]);
double ExtendedToDouble(const Byte in[10]);
void WriteExtended(TStream* stream, double value);
double ReadExtended(TStream* stream);

} // namespace rtl
