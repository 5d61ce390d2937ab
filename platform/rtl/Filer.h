#pragma once
// A minimal binary filer: typed values written to and read back from a stream. Every value is a
// one-byte kind tag followed by its little-endian payload, so a reader that expects another kind
// fails with EReadError instead of misreading the bytes. Texts are UTF-8 (WideString: UTF-16),
// each with a 32-bit length.
//
// Defined properties: an object that stores data beyond plain values names each piece in its
// DefineProperties (DefineProperty with reader and writer procedures, DefineBinaryProperty with
// stream procedures). WriteProperties writes the pieces that have data as name/value pairs and
// ends the list with a vaNull tag; ReadProperties hands each name back to DefineProperties, whose
// matching definition reads the value. A binary value is a vaBinary tag, a 32-bit byte count and
// the bytes, so a reader skips nothing it does not understand: an unknown name is an EReadError.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Streams.h"

namespace rtl {

enum TValueType : Byte {
    vaNull = 0,
    vaString = 1,
    vaInteger = 2,
    vaBoolean = 3,
    vaChar = 4,
    vaCurrency = 5,
    vaDate = 6,
    vaFloat = 7,
    vaSingle = 8,
    vaWString = 9,
    vaInt64 = 10,
    vaBinary = 11,
};

class TComponent;
class TPersistent;
class TReader;
class TWriter;
using TReaderProc = std::function<void(TReader*)>;
using TWriterProc = std::function<void(TWriter*)>;
using TStreamProc = std::function<void(TStream*)>;

class TFiler : public TObject {
    RTL_CLASS(TFiler, TObject)
    TFiler(TStream* stream, int bufSize) : stream_(stream), bufSize_(bufSize > 0 ? bufSize : 4096) {}
    TStream* Stream() const { return stream_; }
    // A writer writes the property (its name, then what writeData writes) when hasData is true;
    // a reader calls readData when the name is the one it is reading (without regard to case).
    virtual void DefineProperty(const std::string& name, const TReaderProc& readData,
                                const TWriterProc& writeData, bool hasData) = 0;
    // The same for a block of bytes: writeData fills a memory stream, readData reads one that
    // holds exactly the stored bytes.
    virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                      const TStreamProc& writeData, bool hasData) = 0;

protected:
    TStream* stream_;
    int bufSize_;
};

// Writes through a buffer of bufSize bytes; the bytes reach the stream at FlushBuffer, when the
// buffer is full, and at the latest when the writer is freed.
class TWriter : public TFiler {
    RTL_CLASS(TWriter, TFiler)
    TWriter(TStream* stream, int bufSize);
    ~TWriter() override;

    void WriteString(const std::string& value);
    void WriteWideString(const std::u16string& value);
    void WriteInteger(std::int32_t value);
    void WriteInt64(std::int64_t value);
    void WriteBoolean(bool value);
    void WriteChar(Byte value);
    void WriteCurrency(Currency value);
    void WriteDate(TDateTime value);
    void WriteFloat(double value);
    void WriteSingle(float value);
    void FlushBuffer();
    // The position in the stream as the written values see it (buffered bytes included).
    std::int64_t Position() const;

    void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                              const TStreamProc& writeData, bool hasData) override;
    // The object's defined properties that have data, then the end of the list.
    void WriteProperties(TPersistent* instance);
    void WriteListEnd() { Tag(vaNull); }
    // A component as a whole: its class name and name, then its published properties that are
    // stored (those of an object property under "Property.Name"), its defined properties, and
    // the end of the list.
    void WriteComponent(TComponent* instance);

private:
    void WritePublished(TPersistent* instance);
    // The path of the object whose properties are being written ("Filter." inside Filter).
    std::string propPath_;
    void Tag(TValueType type) { Put(&type, 1); }
    void Put(const void* data, std::size_t count);
    template <class T>
    void PutLE(T value);
    std::vector<Byte> buffer_;
    std::int64_t start_ = 0;
};

// Reads straight from the stream. Every read raises EReadError when the stream ends early, when
// the next value is of another kind, or when a length is impossible.
class TReader : public TFiler {
    RTL_CLASS(TReader, TFiler)
    TReader(TStream* stream, int bufSize) : TFiler(stream, bufSize) {}

    TValueType NextValue();   // the kind of the next value, without consuming it
    std::string ReadString();
    std::u16string ReadWideString();
    std::int32_t ReadInteger();
    std::int64_t ReadInt64();
    bool ReadBoolean();
    Byte ReadChar();
    Currency ReadCurrency();
    TDateTime ReadDate();
    double ReadFloat();
    float ReadSingle();
    std::int64_t Position() const { return stream_->Position(); }
    bool EndOfStream() const { return stream_->Position() >= stream_->Size(); }

    void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                              const TStreamProc& writeData, bool hasData) override;
    // Reads name/value pairs up to the end of the list into the object's defined properties; a
    // name that none of them takes raises EReadError.
    void ReadProperties(TPersistent* instance);
    bool EndOfList() { return NextValue() == vaNull; }
    void ReadListEnd() { Expect(vaNull); }
    // The name of the property being read; empty once a definition has taken it.
    const std::string& PropName() const { return propName_; }
    // Reads what WriteComponent wrote into the given component, which must be of the class
    // written; a property it does not have raises EReadError.
    void ReadComponent(TComponent* instance);

private:
    void ReadProperty(TPersistent* instance, const std::string& path);
    void Expect(TValueType type);
    std::uint32_t ReadLength(std::size_t unitSize);
    std::string propName_;
};

} // namespace rtl
