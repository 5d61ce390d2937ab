#include "platform/rtl/CodePage.h"

#include <cerrno>
#include <iconv.h>

namespace rtl {

// An unconvertible or invalid sequence is replaced and skipped by one input byte (or one UTF-8
// character), so the conversion always completes.
std::string ConvertEncoding(const std::string& to, const std::string& from, std::string_view in)
{
    const std::string_view replacement = to == "UTF-8" ? "\xEF\xBF\xBD" : "?";
    const bool fromUtf8 = from == "UTF-8";
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(in);
    std::string out;
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[1024];
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, dst - buf);
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: replace one character and go on.
            out.append(replacement);
            size_t skip = 1;
            if (fromUtf8) {
                unsigned char c = static_cast<unsigned char>(*src);
                skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
                if (skip > srcLeft)
                    skip = srcLeft;
            } else {
                // A GBK lead byte with a bad trail: skip just the lead so the trail is re-read.
                skip = 1;
            }
            src += skip;
            srcLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

std::string Utf8ToGbk(std::string_view utf8) { return ConvertEncoding("GBK", "UTF-8", utf8); }

std::string GbkToUtf8(std::string_view gbk) { return ConvertEncoding("UTF-8", "GBK", gbk); }

namespace {
// The code point of the UTF-8 sequence at i (advancing i), or -1 when the bytes are no valid
// sequence (overlong forms, surrogates and values past U+10FFFF included).
long NextUtf8(std::string_view s, std::size_t& i)
{
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int extra = 0;
    if (c >= 0xC2 && c <= 0xDF)
        extra = 1;
    else if (c >= 0xE0 && c <= 0xEF)
        extra = 2;
    else if (c >= 0xF0 && c <= 0xF4)
        extra = 3;
    else
        return -1;
    if (s.size() - i <= static_cast<std::size_t>(extra))
        return -1;
    long cp = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((b(i + static_cast<std::size_t>(k)) & 0xC0) != 0x80)
            return -1;
        cp = (cp << 6) | (b(i + static_cast<std::size_t>(k)) & 0x3F);
    }
    static const long least[] = {0, 0x80, 0x800, 0x10000};
    if (cp < least[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return -1;
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

// Lead bytes 81-FE with a trail of 40-7E or 80-FE; single bytes below 80.
bool IsValidGbk(std::string_view s)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80)
            continue;
        if (c == 0x80 || c == 0xFF || i + 1 >= s.size())
            return false;
        const auto t = static_cast<unsigned char>(s[++i]);
        if (t < 0x40 || t == 0x7F || t == 0xFF)
            return false;
    }
    return true;
}
} // namespace

bool IsGbkStoredText(std::string_view bytes)
{
    bool ascii = true, wide = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const long cp = NextUtf8(bytes, i);
        if (cp < 0)
            return true;
        ascii = ascii && cp < 0x80;
        wide = wide || cp >= 0x800;
    }
    return !ascii && !wide && IsValidGbk(bytes);
}

bool GbkKeepsStoredTexts(const std::vector<std::string>& utf8Texts)
{
    std::string all;
    for (const std::string& text : utf8Texts) {
        const std::string gbk = Utf8ToGbk(text);
        if (GbkToUtf8(gbk) != text)
            return false;
        all += gbk;
        all += '\n';
    }
    bool ascii = true;
    for (char c : all)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    return ascii || IsGbkStoredText(all);
}

} // namespace rtl
