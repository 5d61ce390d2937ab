#pragma once
// dxCore: the toolkit's lowest layer: string, code-page, UTF-8 and hexadecimal conversions, the
// case-insensitive ELF hash, memory and stream helpers, the version flags, TdxStream with the
// stream-type signature, EdxException and the resource-string repository.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Event.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/ResString.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variant.h"

namespace cx {
using namespace rtl;

// Every exception of the toolkit derives from it.
RTL_EXCEPTION(EdxException, Exception);

// A set of the 256 byte values: bit c mod 8 of byte c div 8.
struct TdxAnsiCharSet {
    std::array<Byte, 32> bits{};
    TdxAnsiCharSet() = default;
    TdxAnsiCharSet(std::initializer_list<char> chars);
    static TdxAnsiCharSet Range(unsigned char first, unsigned char last);
    TdxAnsiCharSet& Include(unsigned char c) { bits[c / 8] |= Byte(1u << (c % 8)); return *this; }
    TdxAnsiCharSet operator+(const TdxAnsiCharSet& o) const;
};
bool dxCharInSet(char c, const TdxAnsiCharSet& set);

// {2E98333B-1A56-4599-8A85-C2540E182031}
inline constexpr TGUID IID_IdxLocalizerListener = {0x2E98333B, 0x1A56, 0x4599, {0x8A, 0x85, 0xC2, 0x54, 0x0E, 0x18, 0x20, 0x31}};
class IdxLocalizerListener {
public:
    virtual ~IdxLocalizerListener() = default;
    virtual void TranslationChanged() = 0;
};

class TdxProductResourceStrings;
class TdxResourceStringsRepository;
using TdxAddResourceStringsProcedure = void (*)(TdxProductResourceStrings*);
using TdxLocalizationTranslateResStringEvent = Event<void(const std::string& name, const TResStringRec* resString)>;

// Version flags, from the platform profile (set once when the unit starts).
extern bool IsWin9X, IsWin95, IsWin98, IsWinMe, IsWinNT, IsWin2K, IsWin2KOrLater, IsWinXP,
    IsWinXPOrLater, IsWin2KOrXP, IsWinVista, IsWinVistaOrLater, IsWOW64;

inline constexpr Byte dxUnicodePrefix[2] = {0xFF, 0xFE};
inline constexpr char dxAnsiStreamSignature[] = "DXAFMT";
inline constexpr char dxUnicodeStreamSignature[] = "DXUFMT";

// --- strings and code pages -------------------------------------------------------------------
Cardinal dxElfHash(std::string_view text, Cardinal locale = 0);
Cardinal dxElfHash(std::u16string_view text, Cardinal locale = 0);
std::string dxBinToHex(std::string_view bytes);
std::string dxBinToHex(const void* buffer, int count);
// Two hexadecimal digits (either case) a byte; a last odd digit is ignored. EConvertError when a
// pair holds anything but hexadecimal digits.
std::string dxHexToBin(std::string_view text);
int dxStringSize(std::string_view s);

enum : Word {
    C1_UPPER = 0x0001, C1_LOWER = 0x0002, C1_DIGIT = 0x0004, C1_SPACE = 0x0008, C1_PUNCT = 0x0010,
    C1_CNTRL = 0x0020, C1_BLANK = 0x0040, C1_XDIGIT = 0x0080, C1_ALPHA = 0x0100,
};
Word dxGetAnsiCharCType1(char c);       // bytes above 0x7F are parts of UTF-8 sequences: 0
Word dxGetWideCharCType1(char16_t c);
// The character-type flags of `count` characters (-1: up to the terminating zero) into
// `types`, one word a character. Only CT_CTYPE1 is known: any other kind fails (false). The
// locale of the ANSI form is not consulted: texts here are UTF-8, classified as above.
enum : Cardinal { CT_CTYPE1 = 0x0001, CT_CTYPE2 = 0x0002, CT_CTYPE3 = 0x0004 };
bool dxGetStringTypeA(Cardinal locale, Cardinal infoType, const char* text, int count, Word* types);
bool dxGetStringTypeW(Cardinal infoType, const char16_t* text, int count, Word* types);
bool dxAnsiIsAlpha(char c);
bool dxCharIsAlpha(char c);
bool dxAnsiIsNumeric(char c);
bool dxCharIsNumeric(char c);
bool dxWideIsAlpha(char16_t c);
bool dxWideIsNumeric(char16_t c);

int dxGetCodePageFromCharset(int charset);
// Code page 0 is the build's ANSI code page (UTF-8), like 65001.
std::u16string dxAnsiStringToWideString(std::string_view bytes, int codePage, int count = -1);
std::string dxWideStringToAnsiString(std::u16string_view text, int codePage, int count = -1);
std::u16string dxStringToWideString(std::string_view s, int codePage = 0);
std::string dxWideStringToString(std::u16string_view s, int codePage = 0);
std::string dxUTF8StringToAnsiString(std::string_view s);
std::u16string dxUTF8StringToWideString(std::string_view s);
std::string dxAnsiStringToUTF8String(std::string_view s);
std::string dxWideStringToUTF8String(std::u16string_view s);
inline std::string dxAnsiStringToString(std::string_view s, int codePage = 0) { return std::string(s); }
inline std::string dxStringToAnsiString(std::string_view s, int codePage = 0) { return std::string(s); }
void dxConcatenateStrings(const char* const* texts, int count, std::string& result);
void dxStringToBytes(std::string_view s, void* buffer);
using TdxShortString = std::array<Byte, 256>;   // length byte, then up to 255 bytes
std::string dxShortStringToString(const TdxShortString& s);
TdxShortString dxStringToShortString(std::string_view s);
std::string dxVariantToAnsiString(const Variant& v);
std::string dxVariantToString(const Variant& v);
bool dxVarIsBlob(const Variant& v);
Cardinal dxColorToRGBQuad(TColor color, Byte reserved = 0);

// --- memory -------------------------------------------------------------------------------------
void* cxAllocMem(std::size_t size);
void cxFreeMem(void* p);
void cxZeroMemory(void* p, std::size_t count);
void dxFillChar(void* p, std::size_t count, Byte value);
void cxCopyData(const void* source, void* dest, std::size_t count);
void cxCopyData(const void* source, void* dest, std::ptrdiff_t sourceOffset, std::ptrdiff_t destOffset, std::size_t count);
Byte ReadByte(const void* source, std::ptrdiff_t offset = 0);
Word ReadWord(const void* source, std::ptrdiff_t offset = 0);
std::int32_t ReadInteger(const void* source, std::ptrdiff_t offset = 0);
bool ReadBoolean(const void* source, std::ptrdiff_t offset = 0);   // 2 bytes, zero is false
void WriteByte(void* dest, Byte value, std::ptrdiff_t offset = 0);
void WriteWord(void* dest, Word value, std::ptrdiff_t offset = 0);
void WriteInteger(void* dest, std::int32_t value, std::ptrdiff_t offset = 0);
void WriteBoolean(void* dest, bool value, std::ptrdiff_t offset = 0);
// A whole pointer-sized slot; never cut to 32 bits.
void* ReadPointer(const void* source);
void WritePointer(void* dest, const void* value);
void ExchangeLongWords(LongWord& a, LongWord& b);
inline void* Shift(void* p, std::ptrdiff_t count) { return static_cast<Byte*>(p) + count; }

// --- streams ------------------------------------------------------------------------------------
bool ReadBufferFromStream(TStream* stream, void* buffer, std::int64_t count);
// Reads from the position to the end; the string holds exactly the bytes read.
std::int64_t ReadStringFromStream(TStream* stream, std::string& s);
std::int64_t WriteBufferToStream(TStream* stream, const void* buffer, std::int64_t count);
void WriteCharToStream(TStream* stream, char value);
void WriteSmallIntToStream(TStream* stream, std::int16_t value);
void WriteIntegerToStream(TStream* stream, std::int32_t value);
void WriteDoubleToStream(TStream* stream, double value);
void WriteStringToStream(TStream* stream, std::string_view s);
bool dxIsUnicodeStream(TStream* stream);
void dxWriteStreamType(TStream* stream);
inline void dxWriteStandardEncodingSignature(TStream*) {}
// A 2-byte length n, then n UTF-16 units (Unicode) or n bytes. A short stream raises EReadError
// and leaves the target as it was.
std::string dxReadStr(TStream* stream, bool isUnicode);
void dxReadStr(TStream* stream, bool isUnicode, std::string& target);
// Length cut to 65535, then that many bytes.
void dxWriteStr(TStream* stream, std::string_view s);

class TdxStream : public TStream {
    RTL_CLASS(TdxStream, TStream)
    explicit TdxStream(TStream* stream);
    std::int64_t Read(void* buffer, std::int64_t count) override { return stream_->Read(buffer, count); }
    std::int64_t Write(const void* buffer, std::int64_t count) override { return stream_->Write(buffer, count); }
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override { return stream_->Seek(offset, origin); }
    bool IsUnicode() const { return isUnicode_; }
    TStream* Stream() const { return stream_; }

private:
    bool isUnicode_;
    TStream* stream_;
};

// --- resource-string repository ------------------------------------------------------------------
class TdxProductResourceStrings : public TObject {
    RTL_CLASS(TdxProductResourceStrings, TObject)
    TdxProductResourceStrings(const std::string& name, TdxAddResourceStringsProcedure addProc);
    ~TdxProductResourceStrings() override;
    virtual void InitializeResStringNames();
    void Add(const std::string& name, const TResStringRec* resString);
    void Clear();
    int GetIndexByName(const std::string& name) const;
    int GetResStringsCount() const { return static_cast<int>(names_.size()); }
    const std::string& GetNames(int index) const { return names_.at(index).name; }
    std::string GetValues(int index) const { return LoadResString(names_.at(index).resString); }
    const TResStringRec* GetResString(int index) const { return names_.at(index).resString; }
    void SetTranslation(int index);
    void Translate();
    const std::string& Name() const { return name_; }

private:
    struct Entry {
        std::string name;
        const TResStringRec* resString;
    };
    bool Find(const std::string& name, int& index) const;
    friend class TdxResourceStringsRepository;
    TdxResourceStringsRepository* repository_ = nullptr;   // the one that registered it
    std::string name_;
    TdxAddResourceStringsProcedure addProc_;
    std::vector<Entry> names_;   // sorted without regard to case, duplicates ignored
};

class TdxResourceStringsRepository : public TObject {
    RTL_CLASS(TdxResourceStringsRepository, TObject)
    TdxResourceStringsRepository() = default;
    ~TdxResourceStringsRepository() override;
    void RegisterProduct(const std::string& name, TdxAddResourceStringsProcedure addProc);
    void UnRegisterProduct(const std::string& name);
    int GetProductIndexByName(const std::string& name) const;
    int GetProductsCount() const { return static_cast<int>(products_.size()); }
    TdxProductResourceStrings* GetProducts(int index) const { return products_.at(index); }
    std::string GetOriginalValue(const std::string& name) const;
    void Translate();
    void AddListener(IdxLocalizerListener* listener);
    void RemoveListener(IdxLocalizerListener* listener);
    void NotifyListeners();
    int ListenerCount() const { return static_cast<int>(listeners_.size()); }

    TdxLocalizationTranslateResStringEvent OnTranslateString;

private:
    std::vector<IdxLocalizerListener*> listeners_;
    std::vector<TdxProductResourceStrings*> products_;
};

// The one repository of the process, created at the first call.
TdxResourceStringsRepository* dxResourceStringsRepository();

namespace dxCoreUnit {
void Initialize();
void Finalize();   // frees the repository with every product still registered
} // namespace dxCoreUnit

} // namespace cx
