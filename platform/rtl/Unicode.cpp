#include "platform/rtl/Unicode.h"

#include <QChar>
#include <QString>

namespace rtl {

std::u16string Utf8ToUtf16(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        int len;
        if (c < 0x80) { cp = c; len = 1; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; len = 4; }
        else { out += u'\xFFFD'; ++i; continue; }
        bool ok = i + len <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            unsigned char t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (t & 0x3F);
        }
        static const char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (!ok || cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += u'\xFFFD';
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += len;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view s)
{
    std::string out;
    out.reserve(s.size() * 3);
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

int Utf8CharLength(std::string_view text, std::size_t offset)
{
    if (offset >= text.size())
        return 0;
    unsigned char c = static_cast<unsigned char>(text[offset]);
    int len = c >= 0xF0 && c < 0xF8 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (len > 1) {
        if (offset + len > text.size())
            return 1;
        for (int k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(text[offset + k]) & 0xC0) != 0x80)
                return 1;
    }
    return len;
}

std::size_t Utf8PrevCharOffset(std::string_view text, std::size_t offset)
{
    if (offset == 0)
        return 0;
    std::size_t pos = 0, prev = 0;
    while (pos < offset && pos < text.size()) {
        prev = pos;
        pos += Utf8CharLength(text, pos);
    }
    return prev;
}

// Unit by unit, so that the length never changes (as the system's upper-casing of a buffer).
std::u16string WideUpperCase(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& c : out)
        c = static_cast<char16_t>(QChar::toUpper(static_cast<char32_t>(c)) <= 0xFFFF ? QChar::toUpper(static_cast<char32_t>(c)) : c);
    return out;
}

std::u16string WideLowerCase(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& c : out)
        c = static_cast<char16_t>(QChar::toLower(static_cast<char32_t>(c)) <= 0xFFFF ? QChar::toLower(static_cast<char32_t>(c)) : c);
    return out;
}
bool WideIsLetter(char16_t c) { return QChar(c).isLetter(); }
bool WideIsDigit(char16_t c) { return QChar(c).isDigit(); }

} // namespace rtl
