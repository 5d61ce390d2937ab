#include "console/FTestModes.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "meter/FFunct.h"

namespace {

using S = TModeShow;

const std::array<TTestModeInfo, 7> kModes = {{
    {1, "中继测试", "TmiTstZj", tmRelay, true, TNodeLabels::Relay, S::Hidden, S::Shown, S::Hidden,
     RelayTitleSuffix},
    {2, "白名单测试", "TmiTstChip", tmWhiteList, true, TNodeLabels::List, S::Shown, S::Shown,
     S::Shown, ChipTitleSuffix},
    {3, "黑名单测试", "TmiTstHmd", tmBlackList, true, TNodeLabels::BlackList, S::Shown, S::Shown,
     S::Hidden, ChipTitleSuffix},
    {4, "不识别表号", "TmiTstShibieBh", tmUnrecognised, true, TNodeLabels::List, S::Hidden,
     S::Hidden, S::Shown, ChipTitleSuffix},
    {5, "侦听测试", "TmiTstJk", 0, false, TNodeLabels::List, S::Unchanged, S::Unchanged,
     S::Unchanged, ListenTitleSuffix},
    {6, "区间表单测试", "TmiTstQj", tmInterval, true, TNodeLabels::Interval, S::Hidden, S::Shown,
     S::Hidden, ChipTitleSuffix},
    {7, "路由测试", "TmiTstLy", tmRouting, true, TNodeLabels::List, S::Hidden, S::Hidden,
     S::Unchanged, ChipTitleSuffix},
}};

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

const std::array<TTestModeInfo, 7>& TestModeTable()
{
    return kModes;
}

const TTestModeInfo* FindTestMode(int tag)
{
    return tag >= 1 && tag <= 7 ? &kModes[static_cast<std::size_t>(tag - 1)] : nullptr;
}

std::array<std::string, 8> NodeLabelTexts(TNodeLabels labels)
{
    std::array<std::string, 8> out;
    char buffer[32];
    for (int k = 0; k < 8; ++k) {
        switch (labels) {
        case TNodeLabels::Relay:
            std::snprintf(buffer, sizeof buffer, "%d 级中继节点", k);
            out[k] = k == 0 ? "直抄    节点" : buffer;
            break;
        case TNodeLabels::List: out[k] = "表号名单" + std::to_string(k + 1); break;
        case TNodeLabels::BlackList: out[k] = "表号黑名单" + std::to_string(k + 1); break;
        case TNodeLabels::Interval:
            out[k] = k % 2 ? "    至    " : "黑名单区间" + std::to_string(k / 2 + 1);
            break;
        }
    }
    return out;
}

std::string TestModeTitle(const std::string& appTitle, int mode)
{
    const char* suffix = mode == 1 ? RelayTitleSuffix : ChipTitleSuffix;
    if (mode == kListeningMode)
        suffix = ListenTitleSuffix;
    return appTitle + suffix + VersionText;
}

int TestModeFromFlags(std::uint8_t flags, bool listening)
{
    if (listening)
        return kListeningMode;
    if (flags & tmRelay)
        return 1;
    if (flags & tmUnrecognised)
        return 4;
    if (flags & tmInterval)
        return 6;
    if (flags & tmBlackList)
        return 3;
    if (flags & tmWhiteList)
        return 2;
    return 7;
}

std::string NormaliseAddressRow(const std::string& text)
{
    // The row as the list checks read it: the first six digit pairs.
    std::uint8_t row[6] = {};
    HexToBytes(PadLeftZeros(text, 12), row, 6);
    return BytesToHex(row, 6);
}

bool SameAddressText(const std::string& a, const std::string& b)
{
    return Upper(a) == Upper(b);
}

bool AddressInIntervals(const std::string& checked, const TAddressRows& rows)
{
    const std::string address = Upper(checked);
    for (std::size_t k = 0; k < 8; k += 2) {
        const std::string a = Upper(rows[k]);
        const std::string b = Upper(rows[k + 1]);
        const std::string& low = std::min(a, b);
        const std::string& high = std::max(a, b);
        if (low <= address && address <= high)
            return true;
    }
    return false;
}

bool AddressInRows(const std::string& checked, const TAddressRows& rows,
                   const TAddressChecks& checks, bool onlyChecked, std::uint8_t* frameAddress)
{
    for (std::size_t k = 0; k < 8; ++k) {
        if (onlyChecked && !checks[k])
            continue;
        std::uint8_t request[6] = {};
        std::uint8_t row[6] = {};
        HexToBytes(checked, request, 6);
        HexToBytes(rows[k], row, 6);
        int nines = 0;
        for (int j = 0; j < 6; ++j) {
            if (request[j] == 0xAA || request[j] == 0xFF) {
                request[j] = row[j];
                frameAddress[5 - j] = row[j];
            }
            if (request[j] == 0x99)
                ++nines;
        }
        if (nines == 6) {
            std::copy(row, row + 6, request);
            for (int j = 0; j < 6; ++j)
                frameAddress[5 - j] = row[j];
        }
        if (std::equal(request, request + 6, row))
            return true;
    }
    return false;
}

std::uint8_t PhaseOfAddressText(const std::string& text)
{
    const std::string digits = text.substr(0, 12);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(),
                                       [](char c) { return c >= '0' && c <= '9'; }))
        return 3;
    const int phase = static_cast<int>(std::stoll(digits) % 3);
    return static_cast<std::uint8_t>(phase == 0 ? 3 : phase);
}

const char* PhaseText(std::uint8_t phase)
{
    switch (phase) {
    case 1: return "目的表A相";
    case 2: return "目的表B相";
    case 3: return "目的表C相";
    default: return "目的表未知";
    }
}
