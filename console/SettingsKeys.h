#pragma once
// Sections and keys of the settings file, with their types and defaults, in one place for the
// main window and the dialogs.
#include <string>

namespace settings {

inline constexpr const char* SystemSection = "系统";
inline constexpr const char* MeterSection = "电表";
inline constexpr const char* GridSection = "电网输入";
inline constexpr const char* ComDialogSection = "串口对话框";
inline constexpr const char* PortMapSection = "串口映射";  // COMn=/dev/... (optional)

// Keys of "系统".
inline constexpr const char* TestType = "测试类型";
inline constexpr const char* PortNumber = "串口号";        // also in "串口对话框"
inline constexpr const char* PortDevice = "串口设备";      // also in "串口对话框"; wins when not empty
inline constexpr const char* PortSettings = "串口配置";
inline constexpr const char* ChipKind = "通道芯片";
// Lines each log pane holds before its oldest go to the automatic log file (read, never written;
// missing or below 1: 20000).
inline constexpr const char* LogLineCap = "日志行数";
inline constexpr const char* FePreamble = "前导符FE";

// Keys of "电表".
inline constexpr const char* ProgramEnable = "编程使能";
inline constexpr const char* Password = "密码";
inline constexpr const char* AddressText = "表号";          // written at close, never read
inline constexpr const char* PulseConstant = "电表脉冲常数";
inline constexpr const char* MeterKind = "电表类型";
inline std::string AddressKey(int row) { return "表号" + std::to_string(row); }            // rows 0 .. 7
inline std::string AddressEnableKey(int row) { return "表号使能" + std::to_string(row); }  // rows 1 .. 8

// Keys of "电网输入"; phase is 'A', 'B' or 'C'.
inline std::string CurrentKey(char phase) { return std::string(1, phase) + " 相电流选择"; }
inline std::string VoltageKey(char phase) { return std::string(1, phase) + " 相电压选择"; }
inline std::string AngleKey(char phase) { return std::string(1, phase) + " 相角度选择"; }

// Keys of "串口对话框" (with PortNumber and PortDevice above).
inline constexpr const char* RateIndex = "速率选择";
inline constexpr const char* ParityIndex = "奇偶校验";
inline constexpr const char* DataBitsIndex = "数据位";
inline constexpr const char* StopBitsIndex = "停止位";
inline constexpr const char* FrameGap = "帧间延时";
inline constexpr const char* ResponseDelay = "响应延时";

enum class KeyType { Integer, Boolean, Text };

struct KeyInfo {
    const char* Section;
    const char* Key;  // for numbered keys: the name without its number or phase
    KeyType Type;
    const char* Default;  // nullptr: never read
};

// The designed keys of the main window and the serial settings dialog.
inline constexpr KeyInfo DesignedKeys[] = {
    {SystemSection, TestType, KeyType::Integer, "1"},
    {SystemSection, PortNumber, KeyType::Integer, "1"},
    {SystemSection, PortDevice, KeyType::Text, ""},
    {SystemSection, PortSettings, KeyType::Text, "9600,e,8,1"},
    {SystemSection, ChipKind, KeyType::Boolean, "0"},
    {SystemSection, FePreamble, KeyType::Boolean, "0"},
    {MeterSection, ProgramEnable, KeyType::Boolean, "0"},
    {MeterSection, Password, KeyType::Text, "271828"},
    {MeterSection, "表号0..表号7", KeyType::Text, "888888888888"},
    {MeterSection, AddressText, KeyType::Text, nullptr},
    {MeterSection, "表号使能1..表号使能8", KeyType::Boolean, "0"},
    {MeterSection, PulseConstant, KeyType::Integer, "0"},
    {MeterSection, MeterKind, KeyType::Integer, "0"},
    {GridSection, "A/B/C 相电流选择", KeyType::Integer, "8"},
    {GridSection, "A/B/C 相电压选择", KeyType::Integer, "2"},
    {GridSection, "A/B/C 相角度选择", KeyType::Integer, "0"},
    {ComDialogSection, PortNumber, KeyType::Integer, "1"},
    {ComDialogSection, PortDevice, KeyType::Text, ""},
    {ComDialogSection, RateIndex, KeyType::Integer, "6"},
    {ComDialogSection, ParityIndex, KeyType::Integer, "3"},
    {ComDialogSection, DataBitsIndex, KeyType::Integer, "0"},
    {ComDialogSection, StopBitsIndex, KeyType::Integer, "0"},
    {ComDialogSection, FrameGap, KeyType::Text, "100"},
    {ComDialogSection, ResponseDelay, KeyType::Text, "10000"},
};

} // namespace settings
