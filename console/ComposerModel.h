#pragma once
// The command composer without its window: the meter list, the texts of the edits, the
// confirmation that turns the selected rows into (communication address, read address) pairs,
// and the payload of the command for each of the three kinds of data field. The window
// (`TFrmSend`, console/FFrmOrd.h) mirrors its edits and grid into this class.
#include <cstdint>
#include <string>
#include <vector>

namespace rtl { class TIniFile; }
struct EventRepFrame;

// Where the composer and the command path tell the operator something ("命令帧未组好", a text
// that does not fit, a bad meter-list line). The windows show a message box; tests record.
class IComposerNotifier {
public:
    virtual ~IComposerNotifier() = default;
    virtual void Notify(const std::string& message) = 0;
};

enum class TPayloadKind {
    Identifier,     // "645数据标识"
    EmbeddedFrame,  // "645数据帧格式"
    Custom,         // "自定义数据格式"
};

// One grid row: "通信表号", "是否选择" ("是" / "否"), "抄读表号".
struct TMeterRow {
    std::string Address;
    std::string Selected;
    std::string ReadAddress;
};

// Byte text of the hex edits ("12 34 56") read with ParseHexText. False, with `error` set, when
// the text holds more than `limit` bytes; nothing is cut silently.
bool ParseByteText(const std::string& text, std::size_t limit, std::vector<std::uint8_t>& bytes,
                   std::string& error);

// The event-report edits: the record takes the bytes of the text, or stays as it was when the
// text holds more than its 255 bytes (`error` set).
bool SetEventRepFromText(const std::string& text, EventRepFrame& record, std::string& error);

class TComposerModel {
public:
    static constexpr std::size_t kMaxPayload = 255;
    static constexpr std::size_t kMaxEmbeddedData = kMaxPayload - 12;
    // Rows the meter list holds at most (a count in the settings beyond it is not trusted).
    static constexpr int kMaxRows = 4096;
    static constexpr const char* kSelected = "是";
    static constexpr const char* kNotSelected = "否";

    explicit TComposerModel(IComposerNotifier* notifier = nullptr) : Notifier(notifier) {}
    virtual ~TComposerModel() = default;

    // Texts of the edits.
    TPayloadKind Kind = TPayloadKind::Identifier;
    bool Protocol07 = false;
    std::string IdentifierText = "90 10";     // EditBiaozhi
    std::string InnerControlText = "01";      // EditControl1
    std::string InnerDataText = "90 10";      // EditData1
    std::string CustomDataText = "68 10 01 00 00 05 08 00 00 01 03 90 1f 00 39 16";  // EditData2
    std::string ControlText = "00";           // Edit6

    // The grid below its header, and the selected row (-1: none, or the header).
    std::vector<TMeterRow> Rows;
    int SelectedRow = -1;

    // "增加" (`clearReadAddress`) and Enter in "通信表号": nothing when `address` is empty.
    void AddRow(const std::string& address, bool clearReadAddress);
    // "修改": the selected row takes `address`, "是" and an empty read address.
    void EditRow(const std::string& address);
    // "删除": the selected row goes, the rows after it move up.
    void DeleteRow();
    // Enter in "抄读表号": the selected row, when it has an address, takes the read address.
    void SetReadAddress(const std::string& readAddress, const std::string& addressEditText);
    // Double click: "是" <-> "否" on a row with an address.
    void ToggleRow(int row);
    // "全部选择" / "全部取消".
    void SelectAll(bool selected);

    // A meter list (UTF-8 text, one address per line): lines are trimmed, blank lines skipped,
    // short ones padded to 12 digits. A line that is not an address of up to 12 hexadecimal
    // digits refuses the whole list with a message naming the line; the grid stays as it was.
    bool LoadListText(const std::string& text);
    // The same from a GBK/ASCII file; a file that cannot be read is reported.
    bool LoadListFile(const std::string& fileName);

    // Section "命令帧信息".
    void LoadSettings(const rtl::TIniFile& ini);
    void SaveSettings(rtl::TIniFile& ini) const;

    // "确认": the selected rows become pairs and the payload is built. A text that does not fit
    // the payload is refused with a message and nothing is confirmed (false).
    bool Confirm();
    // "取消".
    void Cancel();
    // Rebuilds the payload for pair k from the texts as they stand now (embedded frames only;
    // the other kinds keep the payload of "确认"). False, with a message, when k is not a pair
    // or the frame does not fit.
    bool BuildFrameFor(int k);

    // Communication address of pair k as 6 bytes, least significant first (zeros in front of a
    // short text). False when k is not a pair.
    bool TargetAddress(int k, std::uint8_t address[6]) const;

    // State read by the main window.
    bool Confirmed = false;
    int PairCount = 0;
    std::vector<std::string> Targets;  // pair k: communication address at 2k, read address at 2k + 1
    bool NewConfirmation = false;
    bool WindowOpen = false;
    std::uint8_t ControlCode = 0;
    std::uint8_t PayloadLength = 0;
    std::uint8_t Payload[256] = {};
    std::string ListFileName;

    IComposerNotifier* Notifier;

protected:
    void Tell(const std::string& message) const;

private:
    bool BuildIdentifierPayload();
    bool BuildCustomPayload();
    bool BuildEmbeddedFrame(const std::string& readAddress);
};
