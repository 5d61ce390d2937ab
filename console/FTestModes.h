#pragma once
// The test modes of the menu "运行模式" as data, and the address-list tests that the modes apply
// to the address of a request. The window reads the table to set captions, check boxes and
// buttons; the console core keeps the mode bits and runs the tests.
#include <array>
#include <cstdint>
#include <string>

enum TTestModeBit : std::uint8_t {
    tmRelay = 0x01,         // "中继测试"
    tmBlackList = 0x02,     // "黑名单测试"
    tmWhiteList = 0x04,     // "白名单测试"
    tmUnrecognised = 0x08,  // "不识别表号"
    tmInterval = 0x10,      // "区间表单测试"
    tmRouting = 0x20,       // "路由测试"
};
inline constexpr std::uint8_t kTestModeBits = 0x3F;
inline constexpr int kListeningMode = 5;  // "侦听测试" sets no bit

// Captions of the eight address rows.
enum class TNodeLabels { Relay, List, BlackList, Interval };
// What a mode does to a control: show it, hide it, or leave it as it was.
enum class TModeShow { Shown, Hidden, Unchanged };

struct TTestModeInfo {
    int Tag;                   // menu Tag = mode number = 系统/测试类型
    const char* Caption;       // menu item text
    const char* ItemName;      // menu item component
    std::uint8_t Bit;          // bit of TestModeFlags, 0 for none
    bool SetsLabels;           // false: row captions unchanged
    TNodeLabels Labels;
    TModeShow NodeChecks;      // row check boxes
    TModeShow RowsEditable;    // rows 2 to 8 (row 1 stays editable); Shown = editable
    TModeShow CommandButtons;  // "组命令帧" and "强制取消"
    const char* TitleSuffix;
};

inline constexpr const char* RelayTitleSuffix = "(中继测试)";
inline constexpr const char* ChipTitleSuffix = "(芯片测试)";
inline constexpr const char* ListenTitleSuffix = "(侦听测试)";
inline constexpr const char* VersionText = "V2.7.1 2011-05-05 13:50:56";

const std::array<TTestModeInfo, 7>& TestModeTable();
// The row of a mode number 1..7, nullptr for any other number.
const TTestModeInfo* FindTestMode(int tag);
// The eight row captions ("直抄    节点", "表号名单1", ..).
std::array<std::string, 8> NodeLabelTexts(TNodeLabels labels);
// The window caption a mode gives: title + suffix + VersionText.
std::string TestModeTitle(const std::string& appTitle, int mode);
// The mode number of a flag set (relay first, then unrecognised, interval, black, white,
// otherwise routing); the listening mode reads as 5 when it is checked.
int TestModeFromFlags(std::uint8_t flags, bool listening);

// ---- Address rows ---------------------------------------------------------------------------
using TAddressRows = std::array<std::string, 8>;
using TAddressChecks = std::array<bool, 8>;

// A row as stored when its edit is left, as the list checks read it: padded with '0', its
// first six digit pairs in upper case (a pair that is no hexadecimal number reads as they read it).
std::string NormaliseAddressRow(const std::string& text);
bool SameAddressText(const std::string& a, const std::string& b);  // letter case ignored

// checked: the request's address as 12 hexadecimal digits, most significant first.
// Interval rows (1,2), (3,4), (5,6), (7,8): inside from the smaller to the larger end.
bool AddressInIntervals(const std::string& checked, const TAddressRows& rows);
// Compares with the rows in order (only the checked rows when onlyChecked). A request byte AAH or
// FFH takes the row's byte, and an address of all 99H takes the whole row; the taken bytes are
// written into frameAddress (6 bytes in frame order, least significant first). True on the
// first match.
bool AddressInRows(const std::string& checked, const TAddressRows& rows,
                   const TAddressChecks& checks, bool onlyChecked, std::uint8_t* frameAddress);

// Phase 1..3 of an address text read as a decimal number (modulo 3, 0 taken as 3); a text that
// is not a decimal number gives 3.
std::uint8_t PhaseOfAddressText(const std::string& text);
// "目的表A相", "目的表B相", "目的表C相", "目的表未知".
const char* PhaseText(std::uint8_t phase);
