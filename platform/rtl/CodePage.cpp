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

} // namespace rtl
