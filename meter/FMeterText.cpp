// Display texts of the meter: the formatters of register values, the names of the 2007 energy
// kinds and the data-identifier names.
//
// Partly unfinished: the formatters return empty texts and no identifier name is found yet.
#include "meter/FMeter.h"

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
        module.LoadDataCodes(DataIdList);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TZbSxMeter::FindDataIdName(const std::string& /*idText*/)
{
    // Unfinished.
    DataIdName.clear();
    return false;
}

std::string TZbSxMeter::FormatEnergy(const std::uint8_t* /*value*/) { return {}; }
std::string TZbSxMeter::FormatEnergyBlock(const std::uint8_t* /*values*/) { return {}; }
std::string TZbSxMeter::FormatDemand(const std::uint8_t* /*value*/) { return {}; }
std::string TZbSxMeter::FormatDemandBlock(const std::uint8_t* /*values*/) { return {}; }
std::string TZbSxMeter::FormatDemandTime(const std::uint8_t* /*value*/) { return {}; }
std::string TZbSxMeter::FormatDemandTimeBlock(const std::uint8_t* /*values*/) { return {}; }
std::string TZbSxMeter::FormatHexBytes(const std::uint8_t* /*bytes*/, int /*n*/) { return {}; }
std::string TZbSxMeter::FormatHexWord(const std::uint8_t* /*bytes*/) { return {}; }
std::string TZbSxMeter::FormatDecimalWord(const std::uint8_t* /*bytes*/) { return {}; }
std::string TZbSxMeter::FormatScaled(const std::uint8_t* /*bytes*/, int /*n*/, int /*k*/) { return {}; }
