#include "console/FListenView.h"

#include "meter/FFunct.h"

#include <algorithm>
#include <vector>

namespace {

const std::string ListenSeparator(82, '-');

// Offsets taken from a damaged frame's length byte may point past the bytes we were given; the
// receive buffer holds zeros there, so that is what they read.
std::uint8_t At(std::span<const std::uint8_t> bytes, std::size_t i)
{
    return i < bytes.size() ? bytes[i] : 0;
}

std::uint8_t SumAt(std::span<const std::uint8_t> bytes, std::size_t from, std::size_t to)
{
    std::uint8_t sum = 0;
    for (std::size_t i = from; i <= to; ++i)
        sum = static_cast<std::uint8_t>(sum + At(bytes, i));
    return sum;
}

bool IsEndByte(std::uint8_t b)
{
    return b == 0x16 || b == 0x96;
}

std::string Dump(std::span<const std::uint8_t> bytes)
{
    return BytesToHexSpaced(bytes.data(), static_cast<int>(bytes.size()));
}

// The CRC covers the L - 2 bytes from offset 1 and is stored low byte first at L - 1.
bool DaltrexCrcMatches(std::span<const std::uint8_t> frame)
{
    const int length = At(frame, 1);
    std::vector<std::uint8_t> covered;
    for (int i = 1; i <= length - 2; ++i)
        covered.push_back(At(frame, static_cast<std::size_t>(i)));
    const std::uint16_t crc = Crc16X25(covered.data(), static_cast<std::uint16_t>(covered.size()));
    const std::uint16_t stored = static_cast<std::uint16_t>(
        At(frame, static_cast<std::size_t>(length - 1)) | At(frame, static_cast<std::size_t>(length)) << 8);
    return length >= 1 && crc == stored;
}

const char* PhaseName(int phase)
{
    switch (phase) {
    case 1: return "A相";
    case 2: return "B相";
    case 3: return "C相";
    default: return "不分相";
    }
}

// A Daltrex frame whose CRC matched: its phase, its description and the whole-record text.
TListenResult DaltrexResult(std::span<const std::uint8_t> frame)
{
    TListenResult r;
    const std::uint8_t control = At(frame, 2);
    r.Class = TListenClass::Daltrex;
    r.Phase = (control >> 4) & 0x03;
    r.Description = DescribeCarrierFrame(frame, (control & 0x80) != 0, At(frame, 1));
    r.Text = std::string("Daltrex规约帧格式,") + PhaseName(r.Phase) + "," + r.Description;
    return r;
}

TListenResult Result(TListenClass c, const char* text, int phase = 0)
{
    TListenResult r;
    r.Class = c;
    r.Text = text;
    r.Phase = phase;
    return r;
}

TListenResult ClassifyDaltrex(std::span<const std::uint8_t> burst, std::span<const std::uint8_t> frame)
{
    if (!IsEndByte(burst.back()))
        return Result(TListenClass::DaltrexEnd, "Daltrex规约帧格式,本帧结束符错误");
    if (!IsEndByte(At(frame, At(frame, 1) + 1u)))
        return Result(TListenClass::DaltrexLength, "Daltrex规约帧格式,长度不符");
    if (!DaltrexCrcMatches(frame))
        return Result(TListenClass::DaltrexCrc, "Daltrex规约帧格式,校验和错误");
    return DaltrexResult(frame);
}

// The texts keep the wording the operators know from their saved logs, "645约" and "QEL约"
// included.
TListenResult Classify645(std::span<const std::uint8_t> frame)
{
    if (At(frame, 7) != 0x68)
        return Result(TListenClass::Other, "其他规约帧格式");
    const std::size_t length = At(frame, 9);
    if (At(frame, length + 11) != 0x16)
        return Result(TListenClass::Dlt645Length, "645约帧格式,长度不符");
    if (SumAt(frame, 0, length + 9) != At(frame, length + 10))
        return Result(TListenClass::Dlt645Sum, "645规约帧格式,校验和错误");
    const std::size_t tail = length + 12;
    if (At(frame, tail) != 0xAA)
        return Result(TListenClass::Dlt645, "645规约帧格式");
    const std::size_t tailLength = At(frame, tail + 1);
    if (At(frame, tail + tailLength + 2) != 0x16)
        return Result(TListenClass::QelLength, "QEL规约帧格式,长度不符");
    if (SumAt(frame, tail, tail + tailLength) != At(frame, tail + tailLength + 1))
        return Result(TListenClass::QelSum, "QEL约帧格式,校验和错误");
    switch (At(frame, tail + tailLength)) {
    case 1: return Result(TListenClass::Qel, "QEL约帧格式,命令帧A相", 1);
    case 2: return Result(TListenClass::Qel, "QEL约帧格式,命令帧B相", 2);
    default: return Result(TListenClass::Qel, "QEL约帧格式,命令帧C相", 3);
    }
}

TListenLog RecordOf(int phase)
{
    return static_cast<TListenLog>(static_cast<int>(TListenLog::RecordA) + phase - 1);
}

TListenLog FramesOf(int phase)
{
    return static_cast<TListenLog>(static_cast<int>(TListenLog::FramesA) + phase - 1);
}

void WriteHead(const std::string& stamp, const std::string& dump, TListenSink& sink)
{
    sink.AddLine(TListenLog::WholeRecord, ListenSeparator);
    sink.AddLine(TListenLog::WholeFrames, ListenSeparator);
    sink.AddLine(TListenLog::WholeFrames, "<-" + stamp + "  " + dump);
}

void WritePhasePages(const TListenResult& r, const std::string& stamp, const std::string& dump,
                     TListenSink& sink)
{
    if (r.Phase == 0)
        return;
    if (r.Class == TListenClass::Daltrex) {
        sink.AddLine(FramesOf(r.Phase), ListenSeparator);
        sink.AddLine(FramesOf(r.Phase), "<-" + stamp + "  " + dump);
        sink.AddLine(RecordOf(r.Phase), ListenSeparator);
        sink.AddLine(RecordOf(r.Phase), "<-" + stamp + "  " + r.Description);
    } else if (r.Class == TListenClass::Qel) {
        sink.AddLine(RecordOf(r.Phase), "<-" + stamp);
        sink.AddLine(RecordOf(r.Phase), "<-" + dump);
    }
}

void WriteResult(const TListenResult& r, const std::string& stamp, const std::string& dump,
                 TListenSink& sink)
{
    WritePhasePages(r, stamp, dump, sink);
    sink.AddLine(TListenLog::WholeRecord, "<-" + stamp + "  " + r.Text);
}

}  // namespace

const char* LogName(TListenLog log)
{
    static const char* const names[ListenLogCount] = {
        "通信记录",     "通信报文",     "完整侦听记录", "A相侦听记录", "B相侦听记录",
        "C相侦听记录", "完整侦听报文", "A相侦听报文", "B相侦听报文", "C相侦听报文",
    };
    const int i = static_cast<int>(log);
    return i >= 0 && i < ListenLogCount ? names[i] : "";
}

int DecodeCarrierAddresses(std::span<TCarrierAddress> addresses, std::span<const std::uint8_t> input,
                           int& count)
{
    const int n = count;
    if (n < 0 || static_cast<std::size_t>(n) > addresses.size())
        return 0;
    // The last byte of each address is the one with bit 0 set.
    std::size_t used = 0;
    for (int a = 0; a < n; ++a) {
        int k = 0;
        while (k < 6 && (At(input, used + k) & 0x01) == 0)
            ++k;
        if (k == 6)
            return 0;
        ++k;
        for (int j = 0; j < k; ++j)
            addresses[a][6 - k + j] = At(input, used + j);
        used += k;
    }
    // Every address after the first is stored as its difference to the one before.
    for (int a = 1; a < n; ++a)
        for (int j = 0; j < 6; ++j)
            addresses[a][j] ^= addresses[a - 1][j];
    for (int a = 0; a < n; ++a) {
        TCarrierAddress& s = addresses[a];
        for (int j = 0; j < 6; ++j) {
            s[j] >>= 1;
            if (s[j] <= 99)
                continue;
            const bool special = j == 5 && std::all_of(s.begin(), s.begin() + 5, [](std::uint8_t v) { return v == 0; });
            if (!special)
                return 0;
        }
    }
    count = n;
    return static_cast<int>(used);
}

namespace {

const char* RateText(std::uint8_t control2, std::uint8_t control3)
{
    const bool high = (control3 & 0x80) != 0;
    const bool low = (control2 & 0x02) != 0;
    if (high)
        return low ? "1200bps," : "600bps,";
    return low ? "100bps," : "50bps,";
}

const char* MeasuredPhaseText(int phase)
{
    switch (phase) {
    case 1: return "实测A相,";
    case 2: return "实测B相,";
    case 3: return "实测C相,";
    default: return "";
    }
}

const char* NodeKindText(int kind)
{
    static const char* const kinds[4] = {"采集器模块,", "单相一体表,", "单相从节点,", "三相从节点,"};
    return kinds[kind & 0x03];
}

std::string AddressDigits(const TCarrierAddress& a)
{
    return BytesToDec(a.data(), 6);
}

}  // namespace

std::string DescribeCarrierFrame(std::span<const std::uint8_t> frame, bool command, int crcHigh)
{
    const std::uint8_t control2 = At(frame, 2);
    const std::uint8_t control3 = At(frame, 3);
    std::string text;
    int count = 2;
    std::size_t from = 4;
    if (!command) {
        text = std::string("响应帧,") + MeasuredPhaseText((control2 >> 2) & 0x03) + NodeKindText(control2 & 0x03);
    } else if (control3 & 0x02) {
        text = "命令帧,定向点抄,中级级别" + std::to_string(control2 & 0x0F);
        from = 6;
    } else {
        const int level = (control3 >> 3) & 0x0F;
        text = std::string("命令帧,载波速率") + RateText(control2, control3) + "中级级别" + std::to_string(level);
        count = level + 2;
    }

    // On a failed decoding the last slot is read as the decoder left it.
    std::vector<TCarrierAddress> addresses(static_cast<std::size_t>(count), TCarrierAddress{});
    int decoded = count;
    const std::size_t used = static_cast<std::size_t>(
        DecodeCarrierAddresses(addresses, frame.subspan(std::min(from, frame.size())), decoded));
    const TCarrierAddress& last = addresses.back();

    if (command) {
        switch (last[5]) {
        case 100: return text + ",广播地址999999999999";
        case 101: return text + ",集中器通道地址";
        case 102: return text + ",通配符地址AAAAAAAAAAAA";
        default: return text + ",目的地址" + AddressDigits(last);
        }
    }
    text += last[5] == 101 ? std::string("集中器通道地址") : "源地址" + AddressDigits(last);
    text += ",末级发送节点信号品质/上行定向点抄实际深度:" + std::to_string(control3 >> 4);
    text += ",目的节点信号品质/下行定向点抄实际深度:" + std::to_string(control3 & 0x0F);
    const std::uint8_t status = At(frame, from + used);
    if (status == 0x31)
        text += ",命令状态应答";
    else if (status == 0x30)
        text += ",载波通信超时";
    if (crcHigh >= 0 && At(frame, static_cast<std::size_t>(crcHigh) + 1) == 0x96)
        text += ",目的节点发生事件";
    return text;
}

TListenResult ClassifyListenBurst(std::span<const std::uint8_t> burst)
{
    const auto start = std::find_if(burst.begin(), burst.end(), [](std::uint8_t b) { return b == 0xAA || b == 0x68; });
    if (start == burst.end())
        return Result(TListenClass::Other, "其他规约帧格式");
    const auto frame = burst.subspan(static_cast<std::size_t>(start - burst.begin()));
    return frame[0] == 0xAA ? ClassifyDaltrex(burst, frame) : Classify645(frame);
}

std::string ListenTimeText(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss:zzz")).toStdString();
}

void ShowListenFrame(std::span<const std::uint8_t> burst, const QDateTime& time, TListenSink& sink)
{
    const std::string stamp = ListenTimeText(time);
    const std::string dump = Dump(burst);
    WriteHead(stamp, dump, sink);
    WriteResult(ClassifyListenBurst(burst), stamp, dump, sink);
}

void ShowCarrierFrame(std::span<const std::uint8_t> frame, const QDateTime& time, TListenSink& sink)
{
    const std::string stamp = ListenTimeText(time);
    const std::string dump = Dump(frame);
    WriteHead(stamp, dump, sink);
    const TListenResult r = DaltrexCrcMatches(frame)
                                ? DaltrexResult(frame)
                                : Result(TListenClass::DaltrexCrc, "Daltrex规约帧格式,校验和错误");
    WriteResult(r, stamp, dump, sink);
}
