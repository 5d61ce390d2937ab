#include "meter/FFunct.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

std::uint8_t ByteToBcd(std::uint8_t value)
{
    if (value > 99)
        return 0;
    return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

std::uint8_t BcdToByte(std::uint8_t bcd)
{
    return static_cast<std::uint8_t>((bcd >> 4) * 10 + (bcd & 0x0F));
}

std::uint8_t BcdIncByte(std::uint8_t& bcd)
{
    std::uint8_t b = static_cast<std::uint8_t>(bcd + 1);
    if ((b & 0x0F) > 9)
        b = static_cast<std::uint8_t>(b + 6);
    if (b > 0x99) {
        bcd = static_cast<std::uint8_t>(b + 0x60);
        return 1;
    }
    bcd = b;
    return 0;
}

std::uint8_t BcdAdd(const std::uint8_t* a, const std::uint8_t* b, int n, std::uint8_t* out)
{
    std::uint8_t carry = 0;
    for (int i = 0; i < n; ++i) {
        const std::uint8_t ai = a[i];
        std::uint8_t s = static_cast<std::uint8_t>(ai + b[i] + carry);
        if ((s & 0x0F) > 9 || (s & 0x0F) < (ai & 0x0F))
            s = static_cast<std::uint8_t>(s + 6);
        if (s < ai || s > 0x99) {
            s = static_cast<std::uint8_t>(s + 0x60);
            carry = 1;
        } else {
            carry = 0;
        }
        out[i] = s;
    }
    return carry;
}

void CopyBytes(std::uint8_t* destination, const std::uint8_t* source, int count)
{
    for (int i = 0; i < count; ++i)
        destination[i] = source[i];
}

void FillBytes(std::uint8_t* buffer, std::uint8_t value, int count)
{
    for (int i = 0; i < count; ++i)
        buffer[i] = value;
}

void AddToBytes(std::uint8_t* buffer, std::uint8_t value, int count)
{
    for (int i = 0; i < count; ++i)
        buffer[i] = static_cast<std::uint8_t>(buffer[i] + value);
}

std::uint8_t ByteSum(const std::uint8_t* buffer, int count)
{
    std::uint8_t sum = 0;
    for (int i = 0; i < count; ++i)
        sum = static_cast<std::uint8_t>(sum + buffer[i]);
    return sum;
}

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

void AppendHex(std::string& s, std::uint8_t b)
{
    s.push_back(kHexDigits[b >> 4]);
    s.push_back(kHexDigits[b & 0x0F]);
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}

// Reads a number of the given base from text[from, to) as a C conversion would, keeping the low
// eight bits.
std::uint8_t ConvertGroup(const std::string& text, std::size_t from, std::size_t to, int base)
{
    to = std::min(to, text.size());
    std::size_t i = from;
    while (i < to && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < to && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;  // wraps modulo 2^32, which keeps the low eight bits exact
    for (; i < to; ++i) {
        const int d = DigitValue(text[i]);
        if (d >= base)
            break;
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(d);
    }
    if (negative)
        value = 0u - value;
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::string EvenLength(const std::string& text)
{
    return text.size() % 2 ? "0" + text : text;
}

bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::string BytesToHex(const std::uint8_t* buffer, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        AppendHex(s, buffer[i]);
    return s;
}

std::string BytesToHexReversed(const std::uint8_t* buffer, int count)
{
    std::string s;
    for (int i = count - 1; i >= 0; --i)
        AppendHex(s, buffer[i]);
    return s;
}

std::string BytesToHexSpaced(const std::uint8_t* buffer, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i) {
        AppendHex(s, buffer[i]);
        s.push_back(' ');
    }
    return s;
}

namespace {

const char kLowerHexDigits[] = "0123456789abcdef";

// At least two digits of an unsigned value in base 16 or 10, at `out`; returns the end.
char* PutNumber(char* out, unsigned value, unsigned base, const char* digits)
{
    if (value < base * base) {
        out[0] = digits[value / base];
        out[1] = digits[value % base];
        return out + 2;
    }
    char reversed[12];
    int n = 0;
    do {
        reversed[n++] = digits[value % base];
        value /= base;
    } while (value != 0);
    while (n > 0)
        *out++ = reversed[--n];
    return out;
}

}  // namespace

void AppendFormatted(std::string& out, const char* format, const int* args, int count)
{
    // Built in a local buffer and appended in pieces, so the string grows once per piece.
    char buffer[128];
    char* at = buffer;
    char* const limit = buffer + sizeof buffer - 16;  // room for one conversion
    int next = 0;
    for (const char* p = format; *p; ++p) {
        if (at >= limit) {
            out.append(buffer, static_cast<std::size_t>(at - buffer));
            at = buffer;
        }
        if (*p != '%') {
            *at++ = *p;
            continue;
        }
        if (p[1] == '%') {
            *at++ = '%';
            ++p;
            continue;
        }
        // Only the three conversions the texts use: "%02X", "%02x", "%02d"; anything else is
        // written as it stands.
        const char kind = p[1] == '0' && p[2] == '2' ? p[3] : '\0';
        if (kind != 'X' && kind != 'x' && kind != 'd') {
            *at++ = '%';
            continue;
        }
        const int value = next < count ? args[next] : 0;
        ++next;
        p += 3;
        if (kind != 'd') {
            at = PutNumber(at, static_cast<unsigned>(value), 16, kind == 'X' ? kHexDigits : kLowerHexDigits);
        } else if (value >= 0) {
            at = PutNumber(at, static_cast<unsigned>(value), 10, kHexDigits);
        } else {
            // printf's "%02d" of -5 is "-5": the sign counts towards the width.
            *at++ = '-';
            const unsigned magnitude = 0u - static_cast<unsigned>(value);
            if (magnitude < 10)
                *at++ = static_cast<char>('0' + magnitude);
            else
                at = PutNumber(at, magnitude, 10, kHexDigits);
        }
    }
    out.append(buffer, static_cast<std::size_t>(at - buffer));
}

std::string BytesToDec(const std::uint8_t* buffer, int count)
{
    if (count <= 0)
        return {};
    std::string s;
    for (int i = 0; i < count; ++i)
        AppendFormat(s, "%02d", buffer[i]);
    s.resize(std::min(s.size(), static_cast<std::size_t>(2 * count)));
    return s;
}

int HexToBytes(const std::string& text, std::uint8_t* out, std::size_t capacity, int base)
{
    if (text.empty())
        return 0;
    const std::string t = EvenLength(text);
    const std::size_t pairs = std::min(t.size() / 2, capacity);
    for (std::size_t k = 0; k < pairs; ++k)
        out[k] = ConvertGroup(t, 2 * k, 2 * k + 2, base);
    return static_cast<int>(pairs);
}

int HexToBytesReversed(const std::string& text, std::uint8_t* out, std::size_t capacity, int base)
{
    if (text.empty())
        return 0;
    const std::string t = EvenLength(text);
    const std::size_t total = t.size() / 2;
    const std::size_t pairs = std::min(total, capacity);
    for (std::size_t k = 0; k < pairs; ++k) {
        const std::size_t from = 2 * (total - 1 - k);
        out[k] = ConvertGroup(t, from, from + 2, base);
    }
    return static_cast<int>(pairs);
}

int ParseHexText(const std::string& text, std::uint8_t* out, std::size_t capacity, int base)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsTrimmed(text[first]))
        ++first;
    while (last > first && IsTrimmed(text[last - 1]))
        --last;
    if (first == last)
        return 0;
    std::string t = text.substr(first, last - first);
    if (t.size() % 3 == 1)
        t += "0";

    if (t.find(' ') != std::string::npos) {
        // Group k is read from the blank in front of it (0-based position 3k - 1) up to the
        // blank that follows it.
        std::size_t written = 0;
        for (std::size_t k = 0; written < capacity && (k == 0 || 3 * k < t.size()); ++k)
            out[written++] = ConvertGroup(t, k == 0 ? 0 : 3 * k - 1, t.size(), base);
        return static_cast<int>(written);
    }

    const std::size_t pairs = t.size() / 2;
    const std::size_t kept = std::min(pairs, capacity);
    // The last pair is the least significant byte.
    for (std::size_t k = 0; k < kept; ++k) {
        const std::size_t from = 2 * (pairs - 1 - k);
        out[k] = ConvertGroup(t, from, from + 2, base);
    }
    return static_cast<int>(kept);
}

int HexByte(const std::string& text, int base)
{
    if (text.empty())
        return 0;
    return ConvertGroup(EvenLength(text), 0, 2, base);
}

std::string PadLeftZeros(const std::string& text, int n)
{
    const std::size_t width = static_cast<std::size_t>(n & 0xFF);
    if (text.size() >= width)
        return text.substr(0, width);
    return std::string(width - text.size(), '0') + text;
}

bool DigitKeyPasses(char key)
{
    const auto c = static_cast<unsigned char>(key);
    return c < 32 || (c >= '0' && c <= '9');
}

bool HexKeyPasses(char key)
{
    const auto c = static_cast<unsigned char>(key);
    return DigitKeyPasses(key) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void HexKeyFilter(char& key)
{
    if (!HexKeyPasses(key))
        key = 0;
}

void DigitKeyFilter(char& key)
{
    if (!DigitKeyPasses(key))
        key = 0;
}

bool AmountKeyPasses(const std::string& textBefore, char key)
{
    const auto c = static_cast<unsigned char>(key);
    if (c < 32)
        return true;
    const bool digit = c >= '0' && c <= '9';
    if (!digit && key != '.')
        return false;
    const bool hasPoint = textBefore.find('.') != std::string::npos;
    if (!hasPoint && textBefore.size() == 6)
        return key == '.';
    return digit;
}

TKeyResult FilterKey(TKeyFilterKind kind, const TEditState& state, char key)
{
    TKeyResult r{false, state.Text, std::clamp(state.Cursor, 0, static_cast<int>(state.Text.size()))};
    bool passes = false;
    switch (kind) {
    case TKeyFilterKind::Digit: passes = DigitKeyPasses(key); break;
    case TKeyFilterKind::Hex:
    case TKeyFilterKind::HexSpaced: passes = HexKeyPasses(key); break;
    case TKeyFilterKind::Amount: passes = AmountKeyPasses(state.Text, key); break;
    }
    if (!passes)
        return r;
    r.Accepted = true;

    const auto c = static_cast<unsigned char>(key);
    const bool printable = c >= 32;
    const bool backspace = key == '\b';
    if (!printable && !backspace)
        return r;

    const int size = static_cast<int>(r.Text.size());
    const int selStart = std::clamp(state.SelStart, 0, size);
    const int selLength = std::clamp(state.SelLength, 0, size - selStart);
    if (selLength > 0) {
        r.Text.erase(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selLength));
        r.Cursor = selStart;
        if (backspace)
            return r;
    } else if (backspace) {
        if (r.Cursor > 0) {
            r.Text.erase(static_cast<std::size_t>(r.Cursor - 1), 1);
            --r.Cursor;
        }
        return r;
    }
    if (kind == TKeyFilterKind::HexSpaced && r.Text.size() % 3 == 2) {
        r.Text.insert(static_cast<std::size_t>(r.Cursor), 1, ' ');
        ++r.Cursor;
    }
    r.Text.insert(static_cast<std::size_t>(r.Cursor), 1, key);
    ++r.Cursor;
    return r;
}

namespace {

// Built at compile time: the table is constant-initialised, so a checksum computed from another
// file's static initialiser never meets an empty table.
constexpr std::array<std::uint16_t, 256> MakeCrcTable()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t crc = static_cast<std::uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0x8408) : static_cast<std::uint16_t>(crc >> 1);
        table[i] = crc;
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> kCrcTable = MakeCrcTable();
static_assert(kCrcTable[1] == 0x1189 && kCrcTable[255] == 0x0F78);

}  // namespace

std::uint16_t Crc16X25(const std::uint8_t* buffer, std::uint16_t count)
{
    std::uint16_t crc = 0xFFFF;
    for (std::uint16_t i = 0; i < count; ++i)
        crc = static_cast<std::uint16_t>(kCrcTable[(crc ^ buffer[i]) & 0xFF] ^ (crc >> 8));
    return static_cast<std::uint16_t>(crc ^ 0xFFFF);
}
