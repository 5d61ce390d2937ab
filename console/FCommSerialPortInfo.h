#pragma once
// The serial ports of the machine for the port box of the settings dialog, and the mapping
// between the designed port numbers and Linux device paths.
#include <map>
#include <string>
#include <vector>

namespace rtl {
class TIniFile;
}

// Port number n -> device path, from the settings section "串口映射" (COM3=/dev/ttyUSB0).
using TPortMap = std::map<int, std::string>;

class TCommSerialPortInfo {
public:
    TCommSerialPortInfo() = default;
    virtual ~TCommSerialPortInfo() = default;

    // Device paths, sorted by kind and then by the number in the name; /dev/ttyS0 to /dev/ttyS3
    // when the system reports none.
    std::vector<std::string> PortNames;

    void Refresh();

protected:
    // The device paths the system reports, in any order.
    virtual std::vector<std::string> Enumerate() const;
};

// The list the program shares; the settings dialog fills it.
TCommSerialPortInfo& SerialPortInfo();

// "COM" (any case) followed by a decimal number above 0: that number, else 0. The whole number
// counts: "COM123" is 123.
int ParsePortNumber(const std::string& text);
std::string FormatPortName(int number);
// Strict order of the port list: kind (the name without its trailing digits), then the number.
bool ComparePortNames(const std::string& a, const std::string& b);

TPortMap ReadPortMap(const rtl::TIniFile& ini);
// The mapped device of port n, else /dev/ttyS(n-1); empty for n below 1.
std::string DeviceForPort(int number, const TPortMap& map);
// The port number a device stands for: its "串口映射" entry, or n for /dev/ttyS(n-1); else 0.
int PortForDevice(const std::string& device, const TPortMap& map);
// What the operator typed or chose in the port box: a port name "COMn" or a device path.
std::string DeviceForText(const std::string& text, const TPortMap& map);
