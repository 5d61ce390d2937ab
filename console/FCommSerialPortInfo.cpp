#include "console/FCommSerialPortInfo.h"

#include "console/SettingsKeys.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <cctype>

namespace {

// The name without its trailing digits, and the value of those digits (-1 when none).
std::pair<std::string, long long> Split(const std::string& name)
{
    std::size_t i = name.size();
    while (i > 0 && std::isdigit(static_cast<unsigned char>(name[i - 1])))
        --i;
    if (i == name.size() || name.size() - i > 18)
        return {name, -1};
    return {name.substr(0, i), std::stoll(name.substr(i))};
}

const std::string SerialPrefix = "/dev/ttyS";

} // namespace

void TCommSerialPortInfo::Refresh()
{
    PortNames = Enumerate();
    std::sort(PortNames.begin(), PortNames.end(), ComparePortNames);
    PortNames.erase(std::unique(PortNames.begin(), PortNames.end()), PortNames.end());
    if (PortNames.empty()) {
        for (int n = 1; n <= 4; ++n)
            PortNames.push_back(DeviceForPort(n, {}));
    }
}

std::vector<std::string> TCommSerialPortInfo::Enumerate() const
{
    std::vector<std::string> names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names.push_back(info.systemLocation().toStdString());
    return names;
}

TCommSerialPortInfo& SerialPortInfo()
{
    // Empty until the settings dialog builds it (once at start, and when its box is entered).
    static TCommSerialPortInfo info;
    return info;
}

int ParsePortNumber(const std::string& text)
{
    if (text.size() < 3)
        return 0;
    std::string head = text.substr(0, 3);
    for (char& c : head)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (head != "COM")
        return 0;
    std::size_t i = 3;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long n = 0;
    bool digits = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        digits = true;
        n = n * 10 + (text[i] - '0');
        if (n > 0x7FFFFFFF)
            return 0;
    }
    return digits && !negative && n > 0 ? static_cast<int>(n) : 0;
}

std::string FormatPortName(int number)
{
    return "COM" + std::to_string(number);
}

bool ComparePortNames(const std::string& a, const std::string& b)
{
    const auto [kindA, numberA] = Split(a);
    const auto [kindB, numberB] = Split(b);
    if (kindA != kindB)
        return kindA < kindB;
    if (numberA != numberB)
        return numberA < numberB;
    return a < b;  // "ttyS01" and "ttyS1"
}

TPortMap ReadPortMap(const rtl::TIniFile& ini)
{
    TPortMap map;
    for (const std::string& key : ini.ReadSection(settings::PortMapSection)) {
        const int n = ParsePortNumber(key);
        const std::string device = ini.ReadString(settings::PortMapSection, key, "");
        if (n > 0 && !device.empty() && !map.count(n))
            map[n] = device;
    }
    return map;
}

std::string DeviceForPort(int number, const TPortMap& map)
{
    if (number < 1)
        return {};
    const auto it = map.find(number);
    if (it != map.end())
        return it->second;
    return SerialPrefix + std::to_string(number - 1);
}

int PortForDevice(const std::string& device, const TPortMap& map)
{
    for (const auto& [n, path] : map) {
        if (path == device)
            return n;
    }
    const auto [kind, number] = Split(device);
    if (kind == SerialPrefix && number >= 0 && number < 0x7FFFFFFF && !map.count(static_cast<int>(number) + 1))
        return static_cast<int>(number) + 1;
    return 0;
}

std::string DeviceForText(const std::string& text, const TPortMap& map)
{
    const std::string trimmed = rtl::Trim(text);
    if (trimmed.empty())
        return {};
    const int n = ParsePortNumber(trimmed);
    return n > 0 ? DeviceForPort(n, map) : trimmed;
}
