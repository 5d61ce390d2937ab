// Display texts of the meter: the formatters of register values, the names of the 2007 energy
// kinds and the data-identifier names.
#include "meter/FMeter.h"

#include "meter/FFunct.h"

#include <cstdio>
#include <exception>

const std::array<const char*, 69> EnergyKindNames = {
    "组合有功", "正向有功", "反向有功", "组合无功 1", "组合无功 2",
    "一象限无功", "二象限无功", "三象限无功", "四象限无功", "正向视在", "反向视在",
    "A 相正向有功", "A 相反向有功", "A 相组合无功 1", "A 相组合无功 2", "A 相一象限无功",
    "A 相二象限无功", "A 相三象限无功", "A 相四象限无功", "A 相正向视在", "A 相反向视在",
    "B 相正向有功", "B 相反向有功", "B 相组合无功 1", "B 相组合无功 2", "B 相一象限无功",
    "B 相二象限无功", "B 相三象限无功", "B 相四象限无功", "B 相正向视在", "B 相反向视在",
    "C 相正向有功", "C 相反向有功", "C 相组合无功 1", "C 相组合无功 2", "C 相一象限无功",
    "C 相二象限无功", "C 相三象限无功", "C 相四象限无功", "C 相正向视在", "C 相反向视在",
    "关联", "正向有功基波", "反向有功基波", "正向有功谐波", "反向有功谐波", "铜损有功", "铁损有功",
    "A 相关联", "A 相正向有功基波", "A 相反向有功基波", "A 相正向有功谐波", "A 相反向有功谐波",
    "A 相铜损有功", "A 相铁损有功",
    "B 相关联", "B 正向有功基波", "B 反向有功基波", "B 正向有功谐波", "B 反向有功谐波",
    "B 铜损有功", "B 铁损有功",
    "C 相关联", "C 相正向有功基波", "C 相反向有功基波", "C 相正向有功谐波", "C 相反向有功谐波",
    "C 相铜损有功", "C 相铁损有功",
};

bool TZbSxMeter::LoadDataIdList()
{
    try {
        TDmId645 module;
        if (!module.LoadDataCodes(DataIdList) && !module.Error().empty())
            DataIdError = module.DatabasePath() + "打开失败:" + module.Error();
        return true;
    } catch (const std::exception& e) {
        // Whatever failed, the meter works on without identifier names.
        DataIdList.clear();
        DataIdError = std::string("DIData.mdb打开失败:") + e.what();
        return false;
    }
}

namespace {

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}


// Applies a formatter to `count` values of `size` bytes standing in a row.
template <typename F>
std::string FormatEach(const std::uint8_t* values, int count, int size, F format)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += format(values + i * size);
    return text;
}

}  // namespace

bool TZbSxMeter::FindDataIdName(const std::string& idText)
{
    DataIdName.clear();
    std::size_t first = 0;
    std::size_t last = idText.size();
    while (first < last && IsBlankOrControl(idText[first]))
        ++first;
    while (last > first && IsBlankOrControl(idText[last - 1]))
        --last;
    const std::string key = idText.substr(first, last - first);
    for (const _StIdRdHlj97& entry : DataIdList) {
        if (EqualIgnoringCase(entry.Di_Name, key)) {
            DataIdName = entry.Di_Meanings;
            return true;
        }
    }
    return false;
}

std::string TZbSxMeter::FormatEnergy(const std::uint8_t* v)
{
    return FormatText("%02x%02x%02x.%02x ", v[3], v[2], v[1], v[0]);
}

std::string TZbSxMeter::FormatEnergyBlock(const std::uint8_t* values)
{
    return FormatEach(values, 5, 4, FormatEnergy);
}

std::string TZbSxMeter::FormatDemand(const std::uint8_t* v)
{
    return FormatText("%02x.%02x%02x ", v[2], v[1], v[0]);
}

std::string TZbSxMeter::FormatDemandBlock(const std::uint8_t* values)
{
    return FormatEach(values, 5, 3, FormatDemand);
}

std::string TZbSxMeter::FormatDemandTime(const std::uint8_t* v)
{
    return FormatText("%02x月%02x日 %02x时%02x分 ", v[3], v[2], v[1], v[0]);
}

std::string TZbSxMeter::FormatDemandTimeBlock(const std::uint8_t* values)
{
    return FormatEach(values, 5, 4, FormatDemandTime);
}

std::string TZbSxMeter::FormatHexBytes(const std::uint8_t* bytes, int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += FormatText("%02x", bytes[i]);
    return text + " ";
}

std::string TZbSxMeter::FormatHexWord(const std::uint8_t* bytes)
{
    return FormatText("%02x%02x ", bytes[1], bytes[0]);
}

std::string TZbSxMeter::FormatDecimalWord(const std::uint8_t* bytes)
{
    return FormatText("%02x.%02x ", bytes[1], bytes[0]);
}

std::string TZbSxMeter::FormatScaled(const std::uint8_t* bytes, int n, int k)
{
    std::string digits;
    for (int i = 0; i < n; ++i)
        digits += FormatText("%02X", bytes[i]);
    const std::size_t count = digits.size();
    if (k > 0 && count < static_cast<std::size_t>(k))
        return "0." + digits + " ";
    if (k > 0) {
        const std::size_t point = count - static_cast<std::size_t>(k);
        return digits.substr(0, point) + "." + digits.substr(point) + " ";
    }
    return digits + ". ";
}
