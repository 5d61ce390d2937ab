#pragma once
// The listening display: classifies what the console overhears on the line (carrier-module frames
// of the Daltrex format, DL/T 645 frames with or without a QEL carrier tail, anything else) and
// writes the listening pages, once as a whole and once per phase.
//
// Nothing here knows the main window: every line goes to a TListenSink as (log, text), so the
// window (or a test) decides where the lines end up. Bytes are passed with their full length;
// offsets that a damaged frame points beyond the given bytes read as 0, as they would in the
// receive buffer, which is cleared after each burst.
#include <QDateTime>

#include <array>
#include <cstdint>
#include <span>
#include <string>

// The ten logs of the main window, in the order in which they are saved; LogName gives the word
// that names each one (the listening pages use the last eight).
enum class TListenLog : int {
    CommRecord = 0,  // "通信记录"   operation log
    CommFrames,      // "通信报文"   raw frame log
    WholeRecord,     // "完整侦听记录"
    RecordA,         // "A相侦听记录"
    RecordB,         // "B相侦听记录"
    RecordC,         // "C相侦听记录"
    WholeFrames,     // "完整侦听报文"
    FramesA,         // "A相侦听报文"
    FramesB,         // "B相侦听报文"
    FramesC,         // "C相侦听报文"
};
constexpr int ListenLogCount = 10;
const char* LogName(TListenLog log);

class TListenSink {
public:
    virtual ~TListenSink() = default;
    // Appends one line to a log.
    virtual void AddLine(TListenLog log, const std::string& text) = 0;
};

// One restored carrier address: six values, most significant first, each 0..99 (the last may be
// 100..102 for the special addresses when the other five are 0).
using TCarrierAddress = std::array<std::uint8_t, 6>;

// Reads `count` compressed addresses from `input` into `addresses` (cleared by the caller). Returns
// the number of input bytes used and leaves count as it is, or 0 when an address is longer than
// six bytes, a value is out of range, or more addresses are asked for than there are addresses.
// Bytes past the end of `input` read as 0.
int DecodeCarrierAddresses(std::span<TCarrierAddress> addresses, std::span<const std::uint8_t> input,
                           int& count);

// The text that describes a Daltrex frame: `frame` starts at its AA, `command` is bit 7 of
// offset 2, `crcHigh` is the offset of the CRC's high byte (the frame's L).
std::string DescribeCarrierFrame(std::span<const std::uint8_t> frame, bool command, int crcHigh);

// What a burst was found to be.
enum class TListenClass {
    Other,          // no AA or 68, or a 68 without its second 68
    DaltrexEnd,     // the burst does not end with 16 or 96
    DaltrexLength,  // no 16 or 96 where L puts the end byte
    DaltrexCrc,
    Daltrex,
    Dlt645Length,
    Dlt645Sum,
    Dlt645,  // a sound 645 frame without a carrier tail
    QelLength,
    QelSum,
    Qel,
};

struct TListenResult {
    TListenClass Class = TListenClass::Other;
    int Phase = 0;            // 1 A, 2 B, 3 C; 0 none (Daltrex and QEL frames only)
    std::string Description;  // DescribeCarrierFrame of a sound Daltrex frame
    std::string Text;         // what the whole listening record says after the time stamp
};

TListenResult ClassifyListenBurst(std::span<const std::uint8_t> burst);

// "yyyy-mm-dd hh:nn:ss:zzz", the time stamp of the listening pages.
std::string ListenTimeText(const QDateTime& time);

// One whole burst of the listening test, every byte of it.
void ShowListenFrame(std::span<const std::uint8_t> burst, const QDateTime& time, TListenSink& sink);

// One complete Daltrex frame of the carrier display mode: from its AA through its end byte
// (L + 2 bytes); the receive path has checked the end byte already.
void ShowCarrierFrame(std::span<const std::uint8_t> frame, const QDateTime& time, TListenSink& sink);
