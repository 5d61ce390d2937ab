#include "toolkit/core/dxCore.h"

#include <QChar>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Profile.h"
#include "platform/rtl/Unicode.h"

namespace cx {

namespace {
constexpr bool kWin9X = profile::Win32Platform == 1;
constexpr bool kWinNT = profile::Win32Platform == 2;
constexpr int kMajor = profile::Win32MajorVersion;
constexpr int kMinor = profile::Win32MinorVersion;
} // namespace

bool IsWin9X = kWin9X;
bool IsWin95 = kWin9X && kMinor == 0;
bool IsWin98 = kWin9X && kMinor == 10;
bool IsWinMe = kWin9X && kMinor == 90;
bool IsWinNT = kWinNT;
bool IsWin2K = kWinNT && kMajor == 5 && kMinor == 0;
bool IsWin2KOrLater = kWinNT && kMajor >= 5;
bool IsWinXP = kWinNT && kMajor == 5 && kMinor > 0;
bool IsWinXPOrLater = kWinNT && kMajor >= 5 && !(kMajor == 5 && kMinor == 0);
bool IsWin2KOrXP = IsWin2K || IsWinXP;
bool IsWinVista = kWinNT && kMajor == 6;
bool IsWinVistaOrLater = kWinNT && kMajor >= 6;
bool IsWOW64 = profile::IsWow64Process;

// ---------------------------------------------------------------------------------------------
TdxAnsiCharSet::TdxAnsiCharSet(std::initializer_list<char> chars)
{
    for (char c : chars)
        Include(static_cast<unsigned char>(c));
}

TdxAnsiCharSet TdxAnsiCharSet::Range(unsigned char first, unsigned char last)
{
    TdxAnsiCharSet s;
    for (unsigned c = first; c <= last; ++c)
        s.Include(static_cast<unsigned char>(c));
    return s;
}

TdxAnsiCharSet TdxAnsiCharSet::operator+(const TdxAnsiCharSet& o) const
{
    TdxAnsiCharSet r;
    for (int i = 0; i < 32; ++i)
        r.bits[i] = bits[i] | o.bits[i];
    return r;
}

bool dxCharInSet(char c, const TdxAnsiCharSet& set)
{
    unsigned char u = static_cast<unsigned char>(c);
    return (set.bits[u / 8] & (1u << (u % 8))) != 0;
}

// ---------------------------------------------------------------------------------------------
Cardinal dxElfHash(std::u16string_view text, Cardinal locale)
{
    std::u16string upper = WideUpperCase(text);
    Cardinal h = 0;
    for (char16_t c : upper) {
        if (c == 0)
            break;
        h = (h << 4) + c;
        Cardinal g = h & 0xF0000000u;
        if (g != 0)
            h ^= g >> 24;
        h &= ~g;
    }
    return h;
}

Cardinal dxElfHash(std::string_view text, Cardinal locale)
{
    return dxElfHash(dxAnsiStringToWideString(text, static_cast<int>(locale)), locale);
}

std::string dxBinToHex(const void* buffer, int count)
{
    static const char digits[] = "0123456789ABCDEF";
    const Byte* p = static_cast<const Byte*>(buffer);
    std::string s;
    s.reserve(static_cast<std::size_t>(count) * 2);
    for (int i = 0; i < count; ++i) {
        s += digits[p[i] >> 4];
        s += digits[p[i] & 15];
    }
    return s;
}

std::string dxBinToHex(std::string_view bytes) { return dxBinToHex(bytes.data(), static_cast<int>(bytes.size())); }

namespace {
int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
} // namespace

std::string dxHexToBin(std::string_view text)
{
    std::string out(text.size() / 2, '\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        int hi = HexDigit(text[2 * i]), lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0)
            throw EConvertError(Format("'%s' is not a valid hexadecimal value", std::string(text.substr(2 * i, 2))));
        out[i] = static_cast<char>(hi * 16 + lo);
    }
    return out;
}

int dxStringSize(std::string_view s) { return static_cast<int>(s.size()); }

Word dxGetAnsiCharCType1(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x80)
        return 0;
    return dxGetWideCharCType1(static_cast<char16_t>(u));
}

bool dxGetStringTypeA(Cardinal, Cardinal infoType, const char* text, int count, Word* types)
{
    if (infoType != CT_CTYPE1 || !text || !types || count == 0 || count < -1)
        return false;
    if (count == -1)
        count = int(std::char_traits<char>::length(text)) + 1;   // the terminator is typed too
    for (int i = 0; i < count; ++i)
        types[i] = dxGetAnsiCharCType1(text[i]);
    return true;
}

bool dxGetStringTypeW(Cardinal infoType, const char16_t* text, int count, Word* types)
{
    if (infoType != CT_CTYPE1 || !text || !types || count == 0 || count < -1)
        return false;
    if (count == -1)
        count = int(std::char_traits<char16_t>::length(text)) + 1;
    for (int i = 0; i < count; ++i)
        types[i] = dxGetWideCharCType1(text[i]);
    return true;
}

Word dxGetWideCharCType1(char16_t c)
{
    QChar q(c);
    Word f = 0;
    if (q.isUpper()) f |= C1_UPPER;
    if (q.isLower()) f |= C1_LOWER;
    if (q.isDigit()) f |= C1_DIGIT;
    if (q.isSpace()) f |= C1_SPACE;
    if (q.isPunct() || q.isSymbol()) f |= C1_PUNCT;
    if (q.category() == QChar::Other_Control) f |= C1_CNTRL;
    if (c == u' ' || c == u'\t') f |= C1_BLANK;
    if (HexDigit(c < 0x80 ? static_cast<char>(c) : 'x') >= 0) f |= C1_XDIGIT;
    if (q.isLetter()) f |= C1_ALPHA;
    return f;
}

bool dxAnsiIsAlpha(char c) { return (dxGetAnsiCharCType1(c) & C1_ALPHA) != 0; }
bool dxCharIsAlpha(char c) { return dxAnsiIsAlpha(c); }
bool dxAnsiIsNumeric(char c) { return (dxGetAnsiCharCType1(c) & C1_DIGIT) != 0; }
bool dxCharIsNumeric(char c) { return dxAnsiIsNumeric(c); }
bool dxWideIsAlpha(char16_t c) { return (dxGetWideCharCType1(c) & C1_ALPHA) != 0; }
bool dxWideIsNumeric(char16_t c) { return (dxGetWideCharCType1(c) & C1_DIGIT) != 0; }

int dxGetCodePageFromCharset(int charset)
{
    switch (charset) {
    case 128: return 932;
    case 129: case 130: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return 0;
    }
}

namespace {
bool IsUtf8Page(int codePage) { return codePage == 0 || codePage == 65001 || codePage == profile::AnsiCodePage; }

} // namespace

std::u16string dxAnsiStringToWideString(std::string_view bytes, int codePage, int count)
{
    if (count >= 0 && static_cast<std::size_t>(count) < bytes.size())
        bytes = bytes.substr(0, count);
    if (bytes.empty())
        return {};
    if (IsUtf8Page(codePage))
        return Utf8ToUtf16(bytes);
    if (codePage == 936)
        return Utf8ToUtf16(GbkToUtf8(bytes));
    return Utf8ToUtf16(ConvertEncoding("UTF-8", "CP" + std::to_string(codePage), bytes));
}

std::string dxWideStringToAnsiString(std::u16string_view text, int codePage, int count)
{
    if (count >= 0 && static_cast<std::size_t>(count) < text.size())
        text = text.substr(0, count);
    std::string utf8 = Utf16ToUtf8(text);
    if (IsUtf8Page(codePage))
        return utf8;
    if (codePage == 936)
        return Utf8ToGbk(utf8);
    return ConvertEncoding("CP" + std::to_string(codePage), "UTF-8", utf8);
}

std::u16string dxStringToWideString(std::string_view s, int codePage) { return dxAnsiStringToWideString(s, codePage); }
std::string dxWideStringToString(std::u16string_view s, int codePage) { return dxWideStringToAnsiString(s, codePage); }
std::string dxUTF8StringToAnsiString(std::string_view s) { return dxWideStringToAnsiString(Utf8ToUtf16(s), 0); }
std::u16string dxUTF8StringToWideString(std::string_view s) { return Utf8ToUtf16(s); }
std::string dxAnsiStringToUTF8String(std::string_view s) { return Utf16ToUtf8(dxAnsiStringToWideString(s, 0)); }
std::string dxWideStringToUTF8String(std::u16string_view s) { return Utf16ToUtf8(s); }

void dxConcatenateStrings(const char* const* texts, int count, std::string& result)
{
    for (int i = 0; i < count; ++i)
        if (texts[i])
            result += texts[i];
}

void dxStringToBytes(std::string_view s, void* buffer)
{
    if (!s.empty())
        std::memcpy(buffer, s.data(), s.size());
}

std::string dxShortStringToString(const TdxShortString& s)
{
    return std::string(reinterpret_cast<const char*>(s.data() + 1), s[0]);
}

TdxShortString dxStringToShortString(std::string_view s)
{
    TdxShortString r{};
    std::size_t n = std::min<std::size_t>(s.size(), 255);
    r[0] = static_cast<Byte>(n);
    std::memcpy(r.data() + 1, s.data(), n);
    return r;
}

std::string dxVariantToAnsiString(const Variant& v)
{
    if (v.IsArray()) {
        std::string out;
        for (int i = v.LowBound(); i <= v.HighBound(); ++i)
            out += static_cast<char>(static_cast<Byte>(v[i].ToInt64()));
        return out;
    }
    if (v.VType() == varString)
        return v.ToString();
    return VarToStr(v);
}

std::string dxVariantToString(const Variant& v) { return dxVariantToAnsiString(v); }

bool dxVarIsBlob(const Variant& v) { return v.VType() == varString || (v.IsArray() && v.DimCount() == 1); }

Cardinal dxColorToRGBQuad(TColor color, Byte reserved)
{
    Cardinal rgb = static_cast<Cardinal>(profile::ColorToRGB(color));
    Cardinal r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    return b | (g << 8) | (r << 16) | (static_cast<Cardinal>(reserved) << 24);
}

// ---------------------------------------------------------------------------------------------
void* cxAllocMem(std::size_t size) { return std::calloc(size ? size : 1, 1); }
void cxFreeMem(void* p) { std::free(p); }
void cxZeroMemory(void* p, std::size_t count) { std::memset(p, 0, count); }
void dxFillChar(void* p, std::size_t count, Byte value) { std::memset(p, value, count); }
void cxCopyData(const void* source, void* dest, std::size_t count) { std::memmove(dest, source, count); }

void cxCopyData(const void* source, void* dest, std::ptrdiff_t sourceOffset, std::ptrdiff_t destOffset, std::size_t count)
{
    const Byte* s = static_cast<const Byte*>(source) + (sourceOffset > 0 ? sourceOffset : 0);
    Byte* d = static_cast<Byte*>(dest) + (destOffset > 0 ? destOffset : 0);
    std::memmove(d, s, count);
}

namespace {
template <class T>
T Load(const void* p, std::ptrdiff_t offset)
{
    T v;
    std::memcpy(&v, static_cast<const Byte*>(p) + offset, sizeof v);
    return v;
}
template <class T>
void Store(void* p, T v, std::ptrdiff_t offset)
{
    std::memcpy(static_cast<Byte*>(p) + offset, &v, sizeof v);
}
} // namespace

Byte ReadByte(const void* s, std::ptrdiff_t o) { return Load<Byte>(s, o); }
Word ReadWord(const void* s, std::ptrdiff_t o) { return Load<Word>(s, o); }
std::int32_t ReadInteger(const void* s, std::ptrdiff_t o) { return Load<std::int32_t>(s, o); }
bool ReadBoolean(const void* s, std::ptrdiff_t o) { return Load<Word>(s, o) != 0; }
void WriteByte(void* d, Byte v, std::ptrdiff_t o) { Store(d, v, o); }
void WriteWord(void* d, Word v, std::ptrdiff_t o) { Store(d, v, o); }
void WriteInteger(void* d, std::int32_t v, std::ptrdiff_t o) { Store(d, v, o); }
void WriteBoolean(void* d, bool v, std::ptrdiff_t o) { Store<Word>(d, v ? 1 : 0, o); }
void* ReadPointer(const void* s) { return Load<void*>(s, 0); }
void WritePointer(void* d, const void* v) { Store(d, const_cast<void*>(v), 0); }
void ExchangeLongWords(LongWord& a, LongWord& b) { std::swap(a, b); }

// ---------------------------------------------------------------------------------------------
bool ReadBufferFromStream(TStream* stream, void* buffer, std::int64_t count)
{
    return stream->Read(buffer, count) == count;
}

std::int64_t ReadStringFromStream(TStream* stream, std::string& s)
{
    std::int64_t size = stream->Size();
    std::string buf(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)), '\0');
    std::int64_t n = stream->Read(buf.data(), size);
    buf.resize(static_cast<std::size_t>(std::max<std::int64_t>(n, 0)));
    s = std::move(buf);
    return n;
}

std::int64_t WriteBufferToStream(TStream* stream, const void* buffer, std::int64_t count)
{
    std::vector<Byte> copy(static_cast<std::size_t>(count), 0);
    if (buffer && count > 0)
        std::memcpy(copy.data(), buffer, static_cast<std::size_t>(count));
    return stream->Write(copy.data(), count);
}

void WriteCharToStream(TStream* stream, char value) { WriteLE<std::uint8_t>(stream, static_cast<std::uint8_t>(value)); }
void WriteSmallIntToStream(TStream* stream, std::int16_t value) { WriteLE(stream, value); }
void WriteIntegerToStream(TStream* stream, std::int32_t value) { WriteLE(stream, value); }
void WriteDoubleToStream(TStream* stream, double value) { WriteLE(stream, value); }
void WriteStringToStream(TStream* stream, std::string_view s) { stream->WriteBuffer(s.data(), static_cast<std::int64_t>(s.size())); }

bool dxIsUnicodeStream(TStream* stream)
{
    // More than the signature must remain: exactly six bytes is not a signed stream.
    if (stream->Size() - stream->Position() <= 6)
        return false;
    char sig[6];
    stream->ReadBuffer(sig, 6);
    if (std::memcmp(sig, dxUnicodeStreamSignature, 6) == 0)
        return true;
    if (std::memcmp(sig, dxAnsiStreamSignature, 6) == 0)
        return false;
    stream->Seek(-6, soCurrent);
    return false;
}

void dxWriteStreamType(TStream* stream) { stream->WriteBuffer(dxAnsiStreamSignature, 6); }

void dxReadStr(TStream* stream, bool isUnicode, std::string& target)
{
    Word n = ReadLE<Word>(stream);
    if (isUnicode) {
        std::u16string w(n, u'\0');
        stream->ReadBuffer(w.data(), 2 * static_cast<std::int64_t>(n));
        target = dxWideStringToAnsiString(w, 0);
    } else {
        std::string s(n, '\0');
        stream->ReadBuffer(s.data(), n);
        target = std::move(s);
    }
}

std::string dxReadStr(TStream* stream, bool isUnicode)
{
    std::string s;
    dxReadStr(stream, isUnicode, s);
    return s;
}

void dxWriteStr(TStream* stream, std::string_view s)
{
    Word n = static_cast<Word>(std::min<std::size_t>(s.size(), 0xFFFF));
    WriteLE(stream, n);
    stream->WriteBuffer(s.data(), n);
}

TdxStream::TdxStream(TStream* stream) : isUnicode_(false), stream_(stream) { isUnicode_ = dxIsUnicodeStream(stream); }

// ---------------------------------------------------------------------------------------------
TdxProductResourceStrings::TdxProductResourceStrings(const std::string& name, TdxAddResourceStringsProcedure addProc)
    : name_(name), addProc_(addProc)
{
    InitializeResStringNames();
}

TdxProductResourceStrings::~TdxProductResourceStrings() { addProc_ = nullptr; }

void TdxProductResourceStrings::InitializeResStringNames()
{
    if (addProc_)
        addProc_(this);
}

bool TdxProductResourceStrings::Find(const std::string& name, int& index) const
{
    int l = 0, h = GetResStringsCount() - 1;
    while (l <= h) {
        int i = (l + h) / 2;
        int c = AnsiCompareText(names_[i].name, name);
        if (c < 0)
            l = i + 1;
        else if (c > 0)
            h = i - 1;
        else {
            index = i;
            return true;
        }
    }
    index = l;
    return false;
}

void TdxProductResourceStrings::Add(const std::string& name, const TResStringRec* resString)
{
    int i;
    if (!Find(name, i))
        names_.insert(names_.begin() + i, Entry{name, resString});
}

void TdxProductResourceStrings::Clear() { names_.clear(); }

int TdxProductResourceStrings::GetIndexByName(const std::string& name) const
{
    int i;
    return Find(name, i) ? i : -1;
}

void TdxProductResourceStrings::SetTranslation(int index)
{
    TdxResourceStringsRepository* repo = repository_ ? repository_ : dxResourceStringsRepository();
    CallEvent(repo->OnTranslateString, names_.at(index).name, names_.at(index).resString);
}

void TdxProductResourceStrings::Translate()
{
    for (int i = 0; i < GetResStringsCount(); ++i)
        SetTranslation(i);
}

TdxResourceStringsRepository::~TdxResourceStringsRepository()
{
    for (TdxProductResourceStrings* p : products_)
        p->Free();
}

void TdxResourceStringsRepository::RegisterProduct(const std::string& name, TdxAddResourceStringsProcedure addProc)
{
    auto* product = new TdxProductResourceStrings(name, addProc);
    product->repository_ = this;
    products_.push_back(product);
}

void TdxResourceStringsRepository::UnRegisterProduct(const std::string& name)
{
    int i = GetProductIndexByName(name);
    if (i < 0)
        return;
    TdxProductResourceStrings* p = products_[i];
    products_.erase(products_.begin() + i);
    p->Free();
}

int TdxResourceStringsRepository::GetProductIndexByName(const std::string& name) const
{
    for (int i = 0; i < GetProductsCount(); ++i)
        if (products_[i]->Name() == name)
            return i;
    return -1;
}

std::string TdxResourceStringsRepository::GetOriginalValue(const std::string& name) const
{
    for (TdxProductResourceStrings* p : products_) {
        int i = p->GetIndexByName(name);
        if (i >= 0)
            return p->GetValues(i);
    }
    return {};
}

void TdxResourceStringsRepository::Translate()
{
    if (!OnTranslateString.Assigned())
        return;
    for (TdxProductResourceStrings* p : products_)
        p->Translate();
}

void TdxResourceStringsRepository::AddListener(IdxLocalizerListener* listener)
{
    if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void TdxResourceStringsRepository::RemoveListener(IdxLocalizerListener* listener)
{
    auto it = std::find(listeners_.begin(), listeners_.end(), listener);
    if (it != listeners_.end())
        listeners_.erase(it);
}

void TdxResourceStringsRepository::NotifyListeners()
{
    // A listener may leave the list while it is told; copy first.
    std::vector<IdxLocalizerListener*> copy = listeners_;
    for (IdxLocalizerListener* l : copy)
        if (std::find(listeners_.begin(), listeners_.end(), l) != listeners_.end())
            l->TranslationChanged();
}

namespace {
TdxResourceStringsRepository*& RepositorySlot()
{
    static TdxResourceStringsRepository* repository = nullptr;
    return repository;
}
} // namespace

TdxResourceStringsRepository* dxResourceStringsRepository()
{
    if (!RepositorySlot())
        RepositorySlot() = new TdxResourceStringsRepository();
    return RepositorySlot();
}

namespace dxCoreUnit {
void Initialize() {}

void Finalize()
{
    FreeAndNil(RepositorySlot());
}
} // namespace dxCoreUnit

} // namespace cx
