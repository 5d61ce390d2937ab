#include "platform/rtl/CodePage.h"

#include <cerrno>
#include <iconv.h>

namespace rtl {
namespace {

// Runs iconv over the whole input; an unconvertible or invalid sequence is replaced and skipped
// by one input byte (or one UTF-8 character), so the conversion always completes.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement,
                    bool fromUtf8)
{
    iconv_t cd = iconv_open(to, from);
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

} // namespace

std::string Utf8ToGbk(std::string_view utf8) { return Convert("GBK", "UTF-8", utf8, "?", true); }

std::string GbkToUtf8(std::string_view gbk) { return Convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD", false); }

} // namespace rtl
