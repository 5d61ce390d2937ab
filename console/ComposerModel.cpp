#include "console/ComposerModel.h"

#include "meter/FFunct.h"
#include "meter/FMeter.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unordered_map>

namespace {

const char* const kSection = "命令帧信息";

bool IsHexText(const std::string& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

// 12 hexadecimal digits, most significant first, as 6 bytes least significant first; a short
// text is read as if padded with '0' in front, so no byte is left from an earlier address.
void AddressBytes(const std::string& text, std::uint8_t out[6])
{
    std::memset(out, 0, 6);
    HexToBytesReversed(PadLeftZeros(rtl::Trim(text), 12), out, 6);
}

} // namespace

bool ParseByteText(const std::string& text, std::size_t limit, std::vector<std::uint8_t>& bytes,
                   std::string& error)
{
    bytes.assign(text.size() + 2, 0);
    const int count = ParseHexText(text, bytes.data(), bytes.size());
    bytes.resize(static_cast<std::size_t>(std::max(count, 0)));
    if (bytes.size() > limit) {
        error = "数据过长: " + std::to_string(bytes.size()) + "字节, 最多" + std::to_string(limit)
            + "字节";
        bytes.clear();
        return false;
    }
    return true;
}

bool SetEventRepFromText(const std::string& text, EventRepFrame& record, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    if (!ParseByteText(text, 255, bytes, error))
        return false;
    record.Len = static_cast<std::uint8_t>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), record.Data);
    return true;
}

void TComposerModel::Tell(const std::string& message) const
{
    if (Notifier)
        Notifier->Notify(message);
}

void TComposerModel::AddRow(const std::string& address, bool clearReadAddress)
{
    if (address.empty())
        return;
    TMeterRow* row;
    if (Rows.empty()) {
        Rows.emplace_back();
        row = &Rows.back();
    } else {
        Rows.emplace_back();
        TMeterRow& lastOld = Rows[Rows.size() - 2];
        row = lastOld.Address.empty() ? &lastOld : &Rows.back();
    }
    row->Address = address;
    row->Selected = kSelected;
    if (clearReadAddress)
        row->ReadAddress.clear();
}

void TComposerModel::EditRow(const std::string& address)
{
    if (SelectedRow < 0 || SelectedRow >= static_cast<int>(Rows.size()))
        return;
    Rows[static_cast<std::size_t>(SelectedRow)] = TMeterRow{address, kSelected, {}};
}

void TComposerModel::DeleteRow()
{
    if (SelectedRow < 0 || SelectedRow >= static_cast<int>(Rows.size()))
        return;
    Rows.erase(Rows.begin() + SelectedRow);
    if (SelectedRow >= static_cast<int>(Rows.size()))
        SelectedRow = static_cast<int>(Rows.size()) - 1;
}

void TComposerModel::SetReadAddress(const std::string& readAddress,
                                    const std::string& addressEditText)
{
    if (addressEditText.empty() || SelectedRow < 0
        || SelectedRow >= static_cast<int>(Rows.size()))
        return;
    TMeterRow& row = Rows[static_cast<std::size_t>(SelectedRow)];
    if (!row.Address.empty())
        row.ReadAddress = readAddress;
}

void TComposerModel::ToggleRow(int row)
{
    if (row < 0 || row >= static_cast<int>(Rows.size()))
        return;
    TMeterRow& r = Rows[static_cast<std::size_t>(row)];
    if (!r.Address.empty())
        r.Selected = r.Selected == kSelected ? kNotSelected : kSelected;
}

void TComposerModel::SelectAll(bool selected)
{
    for (TMeterRow& row : Rows) {
        if (!row.Address.empty())
            row.Selected = selected ? kSelected : kNotSelected;
    }
}

bool TComposerModel::LoadListText(const std::string& text)
{
    std::vector<TMeterRow> rows;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string address = rtl::Trim(line);
        if (address.empty())
            continue;
        if (address.size() > 12 || !IsHexText(address)) {
            Tell("表号文件第" + std::to_string(number) + "行不是12位以内的十六进制表号: " + address);
            return false;
        }
        if (rows.size() == static_cast<std::size_t>(kMaxRows)) {
            Tell("表号文件超过" + std::to_string(kMaxRows) + "个表号: " + ListFileName);
            return false;
        }
        rows.push_back(TMeterRow{PadLeftZeros(address, 12), kSelected, {}});
    }
    Rows = std::move(rows);
    SelectedRow = Rows.empty() ? -1 : 0;
    return true;
}

bool TComposerModel::LoadListFile(const std::string& fileName)
{
    ListFileName = fileName;
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        Tell("无法打开表号文件: " + fileName);
        return false;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return LoadListText(rtl::GbkToUtf8(bytes.str()));
}

void TComposerModel::LoadSettings(const rtl::TIniFile& ini)
{
    Rows.clear();
    // The section is read once; the count is trusted only as far as the grid holds rows.
    std::unordered_map<std::string, std::string> values;
    for (auto& [key, value] : ini.ReadSectionValues(kSection))
        values.emplace(key, std::move(value));
    const auto valueOr = [&values](const std::string& key, const std::string& fallback) {
        const auto it = values.find(key);
        return it == values.end() ? fallback : it->second;
    };
    const auto stored = values.find("电表数量");
    const int count = std::clamp(stored == values.end() ? 0 : rtl::TIniFile::ParseInteger(stored->second, 0), 0, kMaxRows);
    for (int k = 1; k <= count; ++k) {
        const std::string number = std::to_string(k);
        Rows.push_back(TMeterRow{valueOr("通信表号" + number, number), kSelected, valueOr("抄读表号" + number, number)});
    }
    Rows.emplace_back();  // the grid ends with one empty row
    SelectedRow = 0;
}

void TComposerModel::SaveSettings(rtl::TIniFile& ini) const
{
    int count = 0;
    for (const TMeterRow& row : Rows)
        count += row.Address.empty() ? 0 : 1;
    std::vector<std::pair<std::string, std::string>> values = {{"电表数量", std::to_string(count)}};
    int k = 0;
    for (const TMeterRow& row : Rows) {
        if (row.Address.empty())
            continue;
        const std::string number = std::to_string(++k);
        values.emplace_back("通信表号" + number, row.Address);
        values.emplace_back("抄读表号" + number, row.ReadAddress);
    }
    ini.WriteSectionValues(kSection, values);
}

bool TComposerModel::Confirm()
{
    Confirmed = true;
    Targets.clear();
    PairCount = 0;
    for (const TMeterRow& row : Rows) {
        if (row.Address.empty() || row.Selected == kNotSelected)
            continue;
        Targets.push_back(row.Address);
        Targets.push_back(row.ReadAddress.empty() ? row.Address : row.ReadAddress);
        ++PairCount;
    }
    if (PairCount == 0)
        return true;

    bool built = false;
    switch (Kind) {
    case TPayloadKind::Identifier: built = BuildIdentifierPayload(); break;
    case TPayloadKind::EmbeddedFrame: built = BuildFrameFor(0); break;
    case TPayloadKind::Custom: built = BuildCustomPayload(); break;
    }
    if (!built) {
        Confirmed = false;
        PairCount = 0;
        Targets.clear();
        return false;
    }
    NewConfirmation = true;
    return true;
}

void TComposerModel::Cancel()
{
    Confirmed = false;
    PairCount = 0;
}

bool TComposerModel::BuildIdentifierPayload()
{
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ParseByteText(IdentifierText, kMaxPayload, bytes, error)) {
        Tell("数据标识" + error);
        return false;
    }
    std::reverse(bytes.begin(), bytes.end());
    AddToBytes(bytes.data(), 0x33, static_cast<int>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), Payload);
    PayloadLength = static_cast<std::uint8_t>(bytes.size());
    ControlCode = static_cast<std::uint8_t>(HexByte(ControlText));
    return true;
}

bool TComposerModel::BuildCustomPayload()
{
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ParseByteText(CustomDataText, kMaxPayload, bytes, error)) {
        Tell("自定义数据" + error);
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), Payload);
    PayloadLength = static_cast<std::uint8_t>(bytes.size());
    ControlCode = static_cast<std::uint8_t>(HexByte(ControlText));
    return true;
}

bool TComposerModel::BuildFrameFor(int k)
{
    if (Kind != TPayloadKind::EmbeddedFrame)
        return true;
    if (k < 0 || 2 * static_cast<std::size_t>(k) + 1 >= Targets.size()) {
        Tell("没有第" + std::to_string(k + 1) + "个目的表");
        return false;
    }
    return BuildEmbeddedFrame(Targets[2 * static_cast<std::size_t>(k) + 1]);
}

bool TComposerModel::BuildEmbeddedFrame(const std::string& readAddress)
{
    std::vector<std::uint8_t> data;
    std::string error;
    if (!ParseByteText(InnerDataText, kMaxEmbeddedData, data, error)) {
        Tell("数据内容" + error);
        return false;
    }
    std::reverse(data.begin(), data.end());
    AddToBytes(data.data(), 0x33, static_cast<int>(data.size()));

    ControlCode = static_cast<std::uint8_t>(HexByte(ControlText));
    std::uint8_t* p = Payload;
    p[0] = 0x68;
    AddressBytes(readAddress, p + 1);
    p[7] = 0x68;
    p[8] = static_cast<std::uint8_t>(HexByte(InnerControlText));
    p[9] = static_cast<std::uint8_t>(data.size());
    std::copy(data.begin(), data.end(), p + 10);
    const int length = 10 + static_cast<int>(data.size());
    p[length] = ByteSum(p, length);
    p[length + 1] = 0x16;
    PayloadLength = static_cast<std::uint8_t>(length + 2);
    return true;
}

bool TComposerModel::TargetAddress(int k, std::uint8_t address[6]) const
{
    if (k < 0 || 2 * static_cast<std::size_t>(k) >= Targets.size())
        return false;
    AddressBytes(Targets[2 * static_cast<std::size_t>(k)], address);
    return true;
}
