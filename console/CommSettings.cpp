#include "console/CommSettings.h"
#include "platform/rtl/SysUtils.h"

#include <cctype>
#include <vector>

namespace {

// A plain decimal number without sign; -1 when the text is anything else or too long.
int Number(const std::string& text)
{
    if (text.empty() || text.size() > 9)
        return -1;
    int n = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace

std::optional<TCommSettings> ParseCommSettings(const std::string& text, std::string* error)
{
    auto fail = [&](const std::string& why) -> std::optional<TCommSettings> {
        if (error)
            *error = "串口配置\"" + text + "\"无效:" + why;
        return std::nullopt;
    };
    std::vector<std::string> fields;
    std::size_t pos = 0;
    for (;;) {
        const auto comma = text.find(',', pos);
        fields.push_back(rtl::Trim(text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos)));
        if (comma == std::string::npos)
            break;
        pos = comma + 1;
    }
    if (fields.size() != 4)
        return fail("应为\"速率,校验,数据位,停止位\"");
    TCommSettings s;
    s.BaudRate = Number(fields[0]);
    if (s.BaudRate <= 0)
        return fail("速率须为正整数");
    const std::string& parity = fields[1];
    if (parity.size() != 1 || std::string("noems").find(static_cast<char>(std::tolower(parity[0]))) == std::string::npos)
        return fail("校验须为n、o、e、m或s");
    s.Parity = static_cast<char>(std::tolower(parity[0]));
    s.DataBits = Number(fields[2]);
    if (s.DataBits < 5 || s.DataBits > 8)
        return fail("数据位须为5到8");
    s.StopBits = Number(fields[3]);
    if (s.StopBits != 1 && s.StopBits != 2)
        return fail("停止位须为1或2");
    return s;
}

std::string FormatCommSettings(const TCommSettings& s)
{
    return std::to_string(s.BaudRate) + "," + s.Parity + "," + std::to_string(s.DataBits) + ","
        + std::to_string(s.StopBits);
}
