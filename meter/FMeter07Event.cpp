// DL/T 645-2007 events, freeze data, load records and the other record reads.
//
// The meter keeps no event or freeze history: each record is made up on request from the clock,
// the energy registers (E: TariffEnergy, total and tariffs 1..4) and a few operator-set values.
// Records dated back from the clock take the whole date from DayBefore and HourBefore. Records
// that need more than one frame start a follow-up sequence (reply 0xB1) that the read-subsequent
// command serves.
#include "meter/FMeter.h"

#include "meter/FFunct.h"
#include "meter/FMeter07Util.h"
#include "meter/FRtc.h"

using meter07::TId07;
using meter07::TReplyWriter;

namespace {

TBcdDate DaysBack(const TZbSxMeter& m, int k)
{
    return DayBefore(m.Clock[4], m.Clock[5], m.Clock[6], k);
}

// Hour, day, month, year of the moment k hours back.
void PutHoursBack(TReplyWriter& w, const TZbSxMeter& m, int k)
{
    std::uint8_t day = m.Clock[4], month = m.Clock[5], year = m.Clock[6];
    w.Put(HourBefore(m.Clock[2], day, month, year, k));
    w.Put(day);
    w.Put(month);
    w.Put(year);
}

void PutDate(TReplyWriter& w, const TBcdDate& date)
{
    w.Put(date.Day);
    w.Put(date.Month);
    w.Put(date.Year);
}

// Second, minute, hour of the clock and the date k days back.
void PutTime6(TReplyWriter& w, const TZbSxMeter& m, int k)
{
    w.Put(m.Clock, 3);
    PutDate(w, DaysBack(m, k));
}

void PutOperator(TReplyWriter& w, std::uint8_t n)
{
    const std::uint8_t code[4] = {0x78, 0x56, 0x34, n};
    w.Put(code, 4);
}

void PutRelay(TReplyWriter& w, const TZbSxMeter& m)
{
    w.Put(m.RelayStatus2);
    w.Put(m.RelayStatus);
}

// A BCD byte moved by delta (binary, modulo 256); a result outside 0..99 gives 0.
std::uint8_t Adjust(std::uint8_t bcd, int delta)
{
    return ByteToBcd(static_cast<std::uint8_t>(BcdToByte(bcd) + delta));
}

// The 20 bytes of E with bytes 1 and 5 moved by delta.
void PutAdjustedEnergy(TReplyWriter& w, const TZbSxMeter& m, int delta)
{
    std::uint8_t e[20];
    CopyBytes(e, m.TariffEnergy[0], 20);
    e[1] = Adjust(e[1], delta);
    e[5] = Adjust(e[5], delta);
    w.Put(e, 20);
}

// A reply of n data bytes that announces `frames` further frames of the read-subsequent command.
bool ReplyWithFollowUp(TZbSxMeter& m, const TId07& id, int n, std::uint8_t frames)
{
    m.FollowUpActive = true;
    m.FollowUpSeq = 0;
    m.FollowUpLast = frames;
    const std::uint8_t ids[4] = {id.Di0, id.Di1, id.Di2, id.Di3};
    CopyBytes(m.FollowUpId, ids, 4);
    m.BuildReply(static_cast<std::uint8_t>(m.RequestC() + 0xA0), n + 4);
    return true;
}

bool Reply(TZbSxMeter& m, const std::string& text, const TReplyWriter& w)
{
    m.Texts.Command += text;
    return m.ReplyData07(w.Size());
}

// ---- Events (03) ----------------------------------------------------------------------------

bool ReadBoxMonitor(TZbSxMeter& m)
{
    const std::uint8_t* c = m.Clock;  // the subtractions are made on the byte values
    const std::uint8_t data[16] = {0x01, c[6], c[5], static_cast<std::uint8_t>(c[4] - 1),
                                   static_cast<std::uint8_t>(c[2] - 2), c[1], 0x00, 0x05, 0x02,
                                   c[6], c[5], c[4], c[2], static_cast<std::uint8_t>(c[1] - 1),
                                   0x00, 0x10};
    TReplyWriter w(m.ReplyData07Ptr());
    w.Put(data, 16);
    PutRelay(w, m);
    return Reply(m, "开箱监视器数据包", w);
}

// The opening time of a box-open record: the date 9 days back at the clock's hour and minute.
void PutOpenTime(TReplyWriter& w, const TZbSxMeter& m)
{
    const TBcdDate d = DaysBack(m, 9);
    const std::uint8_t t[7] = {d.Year, d.Month, d.Day, m.Clock[2], m.Clock[1], 0xFF, 0xFF};
    w.Put(t, 7);
}

void PutCloseTime(TReplyWriter& w, const TZbSxMeter& m)
{
    const std::uint8_t t[7] = {m.Clock[6], m.Clock[5], m.Clock[4], 0x00, 0x00, 0x00, 0x0A};
    w.Put(t, 7);
}

bool ReadBoxOpenRecords(TZbSxMeter& m, const TId07& id, const std::uint8_t* request)
{
    const int c = m.BoxOpenCount;
    TReplyWriter w(m.ReplyData07Ptr());
    if (id.Di1 == 0x01) {
        if (c >= 2 && c <= 50) {
            w.Put(static_cast<std::uint8_t>(c - 1));
            PutOpenTime(w, m);
        } else {
            w.Fill(0x00, 8);
        }
        if (c != 0) {
            w.Put(static_cast<std::uint8_t>(c));
            PutCloseTime(w, m);
        } else {
            w.Fill(0x00, 8);
        }
        return Reply(m, "最近两条开箱记录", w);
    }
    // The request names the two record numbers n (odd, below 50) and n + 1.
    if (m.RequestL() < 6 || request[0] % 2 == 0 || request[0] >= 50 || request[1] != request[0] + 1) {
        m.BuildErrorReply(0xD1, 1);
        return true;
    }
    const int n = request[0];
    w.Put(static_cast<std::uint8_t>(n));
    if (n < c)
        PutOpenTime(w, m);
    else
        w.Fill(0x00, 7);
    w.Put(static_cast<std::uint8_t>(n + 1));
    if (n + 1 <= c)
        PutCloseTime(w, m);
    else
        w.Fill(0x00, 7);
    return Reply(m, "两条开箱记录", w);
}

bool ReadVoltageStatistics(TZbSxMeter& m, const TId07& id)
{
    const bool day = id.Di1 == 0x3F;
    int phase = 0, monthsBack = 0;
    if (day) {
        if (id.Di0 > 3)
            return false;
        phase = id.Di0;
    } else {
        if (id.Di1 > 3 || id.Di0 > 12)
            return false;
        phase = id.Di1;
        monthsBack = id.Di0;
    }
    static const char* const kPhase[4] = {"", "A相", "B相", "C相"};
    std::string text;
    if (day)
        text = "本日";
    else if (monthsBack == 0)
        text = "本月";
    else
        text = FormatText("上%02d月", monthsBack);
    text += std::string(kPhase[phase]) + "电压合格率统计数据";

    const std::uint8_t rate1 = day ? 0x62 : 0x42;
    const std::uint8_t rate2 = day ? 0x92 : 0x72;
    const std::uint8_t time = day ? 0x23 : 0x22;
    const int month = (BcdToByte(m.Clock[5]) + 11 - monthsBack % 12) % 12 + 1;
    TReplyWriter w(m.ReplyData07Ptr());
    w.Fill(0x01, 3);
    w.Fill(rate1, 3);
    w.Fill(rate2, 3);
    w.Fill(0x02, 3);
    w.Fill(0x01, 3);
    w.Fill(time, 2);
    const std::uint8_t tail[10] = {m.Clock[1], m.Clock[2], m.Clock[4], ByteToBcd(static_cast<std::uint8_t>(month)),
                                   0x20, 0x20, static_cast<std::uint8_t>(day ? 0x04 : 0x00),
                                   static_cast<std::uint8_t>(day ? 0x03 : 0x01), m.Clock[4], m.Clock[5]};
    w.Put(tail, 10);
    return Reply(m, text, w);
}

// A count: the two bytes given, then 01.
bool ReplyCount(TZbSxMeter& m, const char* text, const std::uint8_t* count)
{
    TReplyWriter w(m.ReplyData07Ptr());
    w.Put(count, 2);
    w.Put(0x01);
    return Reply(m, text, w);
}

// 03 30 DI1 N: the totals (N = 0) and the last ten records of each kind.
bool ReadRecords(TZbSxMeter& m, const TId07& id)
{
    const int n = id.Di0;
    if (n > 10)
        return false;
    const std::uint8_t* e = m.TariffEnergy[0];
    TReplyWriter w(m.ReplyData07Ptr());
    if (n == 0) {
        switch (id.Di1) {
        case 0x00: return ReplyCount(m, "编程总次数", m.ProgramCount);
        case 0x01:
            w.Put(m.Clock[5]);
            w.Fill(0x00, 2);
            return Reply(m, "电表清零总次数", w);
        case 0x02: return ReplyCount(m, "需量清零总次数", m.DemandClearCount);
        case 0x03: return ReplyCount(m, "事件清零总次数", m.DemandClearCount);
        case 0x04: return ReplyCount(m, "校时总次数", m.DemandClearCount);
        case 0x05: return ReplyCount(m, "时段表编程总次数", m.ProgramCount);
        case 0x0D: return ReplyCount(m, "开表盖总次数", m.DemandClearCount);
        default: return false;
        }
    }
    const std::uint8_t nb = static_cast<std::uint8_t>(n);
    switch (id.Di1) {
    case 0x00:
        PutTime6(w, m, n - 1);
        PutOperator(w, nb);
        for (std::uint8_t i = 1; i <= 4; ++i) {
            const std::uint8_t item[4] = {i, 0x01, 0x00, 0x04};
            w.Put(item, 4);
        }
        w.Put(static_cast<std::uint8_t>(n <= 6 ? n : n / 2));
        w.Put(static_cast<std::uint8_t>(n <= 6 ? 0x02 : 0x03));
        w.Put(0x00);
        w.Put(0x04);
        w.Fill(0xFF, 20);
        return Reply(m, FormatText("上%02d次编程记录", n), w);
    case 0x01:
        PutTime6(w, m, n - 1);
        PutOperator(w, nb);
        for (int i = 0; i < 4; ++i)
            w.Put(e, 20);
        w.Put(e, 16);
        return Reply(m, FormatText("上%02d次电表清零记录", n), w);
    case 0x02: {
        PutTime6(w, m, n - 1);
        PutOperator(w, nb);
        const TBcdDate d = DaysBack(m, n - 1);
        const std::uint8_t block[8] = {e[0], e[1], e[2], 0x02, m.Clock[2], d.Day, d.Month, d.Year};
        for (int i = 0; i < 12; ++i)
            w.Put(block, 8);
        m.Texts.Command += FormatText("上%02d次需量清零记录", n);
        return ReplyWithFollowUp(m, id, w.Size(), 1);
    }
    case 0x03: {
        PutTime6(w, m, n - 1);
        PutOperator(w, nb);
        const std::uint8_t tail[4] = {0x01, nb, 0x09, 0x04};
        w.Put(tail, 4);
        return Reply(m, FormatText("上%02d次事件清零记录", n), w);
    }
    case 0x04:
        PutOperator(w, nb);
        w.Fill(0x00, 6);
        PutTime6(w, m, n - 1);
        return Reply(m, FormatText("上%02d次校时记录", n), w);
    case 0x05: {
        PutTime6(w, m, n - 1);
        PutOperator(w, nb);
        static constexpr std::uint8_t kDayTable[12] = {0x01, 0x00, 0x00, 0x02, 0x00, 0x07,
                                                       0x03, 0x00, 0x13, 0x04, 0x00, 0x18};
        for (int i = 0; i < 4; ++i) {
            w.Put(kDayTable, 12);
            w.Fill(0xFF, 30);
        }
        m.Texts.Command += FormatText("上%02d次时段表编程记录", n);
        return ReplyWithFollowUp(m, id, w.Size(), 3);
    }
    case 0x0D: {
        const TBcdDate d = DaysBack(m, n - 1);
        const std::uint8_t time[6] = {0x00, 0x10, m.Clock[2], d.Day, d.Month, d.Year};
        w.Put(time, 6);  // opened
        w.Put(time, 6);  // closed
        w.Put(e, 20);
        w.Put(e, 20);
        w.Put(e, 8);
        return Reply(m, FormatText("上%02d次开表盖记录", n), w);
    }
    default:
        return false;
    }
}

}  // namespace

bool TZbSxMeter::ReadEvents07(const std::uint8_t* idBytes, const std::uint8_t* request)
{
    const TId07 id(idBytes);
    switch (id.Di2) {
    case 0x31:
        return id.Di1 == 0x00 && id.Di0 == 0x02 && ReadBoxMonitor(*this);
    case 0x40:
        return (id.Di1 == 0x01 || id.Di1 == 0x02) && id.Di0 == 0x01 && ReadBoxOpenRecords(*this, id, request);
    case 0x10:
        return ReadVoltageStatistics(*this, id);
    case 0x32: {
        if (id.Di1 != 0x02)
            return false;
        TReplyWriter w(ReplyData07Ptr());
        w.Put(DemandClearCount, 2);
        return Reply(*this, FormatText("上%02d次购电次数", id.Di0), w);
    }
    case 0x30:
        return ReadRecords(*this, id);
    default:
        return false;
    }
}

// ---- Freeze (05) ----------------------------------------------------------------------------

namespace {

// Item names of the freeze reads by DI1; null where the item does not exist.
const char* FreezeItemName(std::uint8_t di1)
{
    static const char* const kNames[11] = {
        "时间", "正向有功电能数据", "反向有功电能数据", "组合无功1电能数据", "组合无功2电能数据",
        "第一象限组合无功电能数据", "第二象限组合无功电能数据", "第三象限组合无功电能数据",
        "第四象限组合无功电能数据", "正向有功最大需量及发生时间数据", "反向有功最大需量及发生时间数据",
    };
    if (di1 <= 0x0A)
        return kNames[di1];
    if (di1 == 0x10)
        return "变量数据";
    if (di1 == 0xFF)
        return "数据块";
    return nullptr;
}

// Day freeze (DI2 00 and 06). N counts back from 1 (yesterday's freeze is N = 1); more than 62
// freezes back are not kept.
bool ReadDayFreeze(TZbSxMeter& m, const TId07& id)
{
    const int n = id.Di0;
    const char* item = FreezeItemName(id.Di1);
    if (item == nullptr || n == 0 || n > 62)
        return false;
    const std::string text = FormatText("上%02d次日冻结", n) + item;
    const std::uint8_t* a = m.MeterAddr;
    TReplyWriter w(m.ReplyData07Ptr());
    if (id.Di1 == 0x00) {
        w.Fill(0x00, 2);
        PutDate(w, DaysBack(m, n - 1));
    } else if (id.Di1 <= 0x08) {
        PutAdjustedEnergy(w, m, a[0] - n);
    } else if (id.Di1 <= 0x0A) {
        w.Fill(0x00, 40);
    } else if (id.Di1 == 0x10) {
        w.Fill(0x00, 24);
    } else {
        w.Put(0x01);
        w.Put(0x00);
        PutDate(w, DaysBack(m, n - 1));
        const int deltas[8] = {a[0], a[1], a[2], a[3], a[4], a[5], -a[1], -a[2]};
        for (int delta : deltas)
            PutAdjustedEnergy(w, m, delta - n);
        m.Texts.Command += text;
        return ReplyWithFollowUp(m, id, w.Size(), 1);
    }
    return Reply(m, text, w);
}

// Freezes the meter answers with zeros and the frozen-value block (instant, two-set switch).
bool ReadTariffFreeze(TZbSxMeter& m, const TId07& id, bool instant)
{
    const char* item = FreezeItemName(id.Di1);
    if (item == nullptr)
        return false;
    const int n = id.Di0;
    const int tariffs = m.MaxTariff + 1;
    m.Texts.Command += FormatText(instant ? "上%02d次瞬时冻结" : "上%02d次两套阶梯切换", n) + item;
    if (id.Di1 == 0x00) {
        if (!instant)
            return m.ReplyFilled(5, 0x00, false);
        TReplyWriter w(m.ReplyData07Ptr());
        w.Put(m.Clock[1]);
        w.Put(m.Clock[2]);
        PutDate(w, DaysBack(m, n));
        return m.ReplyData07(w.Size());
    }
    if (id.Di1 <= 0x08) {
        if (instant)
            return m.ReplyFreezeBlock(static_cast<std::uint16_t>(4 * tariffs));
        return m.ReplyFilled(static_cast<std::uint16_t>(4 * tariffs), 0x00, false);
    }
    if (id.Di1 <= 0x0A)
        return m.ReplyFilled(static_cast<std::uint16_t>(8 * tariffs), 0x00, false);
    if (id.Di1 == 0x10)
        return m.ReplyFilled(24, 0x00, false);
    return m.ReplyFilled(static_cast<std::uint16_t>(40 * tariffs + 29), 0x00, !instant);
}

bool ReadHourFreeze(TZbSxMeter& m, const TId07& id)
{
    static const char* const kNames[3] = {"时间", "正向有功总电能", "反向有功总电能"};
    const int n = id.Di0;
    if (id.Di1 > 0x02 && id.Di1 != 0xFF)
        return false;
    const std::uint8_t* h = m.HourFreezeValue;
    const std::uint8_t* a = m.MeterAddr;
    TReplyWriter w(m.ReplyData07Ptr());
    auto putTime = [&] {
        w.Put(0x00);
        PutHoursBack(w, m, n - 1);
    };
    // The freeze value with one byte moved by the address byte and then back by N.
    auto putValue = [&](int byte, std::uint8_t addr) {
        std::uint8_t v[4];
        CopyBytes(v, h, 4);
        v[byte] = Adjust(Adjust(v[byte], addr), -n);
        w.Put(v, 4);
    };
    switch (id.Di1) {
    case 0x00: putTime(); break;
    case 0x01: putValue(1, a[0]); break;
    case 0x02: putValue(1, a[1]); break;
    default:
        putTime();
        putValue(0, a[0]);
        putValue(0, a[1]);
        break;
    }
    const char* name = id.Di1 == 0xFF ? "数据块" : kNames[id.Di1];
    return Reply(m, FormatText("上%02d次整点冻结", n) + name, w);
}

bool ReadFreezePackets(TZbSxMeter& m, const TId07& id)
{
    TReplyWriter w(m.ReplyData07Ptr());
    const char* text = nullptr;
    switch (id.Di1) {
    case 0x00: text = "上%02d次日冻结组合有功电能数据块包"; w.Put(m.TariffEnergy[0], 20); break;
    case 0x01: text = "上%02d次日冻结正向有功电能数据块包"; w.Put(m.TariffEnergy[0], 20); break;
    case 0x02: text = "上%02d次日冻结正向有功电能数据包"; w.Put(m.TariffEnergy[0], 4); break;
    default: return false;
    }
    PutRelay(w, m);
    return Reply(m, FormatText(text, id.Di0), w);
}

bool ReadVoltageFreeze(TZbSxMeter& m, const TId07& id)
{
    if (id.Di1 != 0x01)
        return false;
    m.Texts.Command += id.Di0 < 25 ? FormatText("上1日%02d电压冻结A、B、C相数据", id.Di0 - 1)
                                   : FormatText("当日%02d电压冻结A、B、C相数据", id.Di0 - 25);
    return m.ReplyFilled(24, 0x22, false);
}

}  // namespace

bool TZbSxMeter::ReadFreeze07(const std::uint8_t* idBytes)
{
    const TId07 id(idBytes);
    switch (id.Di2) {
    case 0x00:
    case 0x06: return ReadDayFreeze(*this, id);
    case 0x01: return ReadTariffFreeze(*this, id, true);
    case 0x04: return ReadHourFreeze(*this, id);
    case 0x07: return ReadTariffFreeze(*this, id, false);
    case 0x08: return ReadFreezePackets(*this, id);
    case 0x20: return ReadVoltageFreeze(*this, id);
    default: return false;
    }
}

// ---- Phase break, relay switching, sub-meters -----------------------------------------------

bool TZbSxMeter::ReadPhaseBreak07(const std::uint8_t* idBytes)
{
    const TId07 id(idBytes);
    if (id.Di2 != 0x01 || id.Di1 != 0x00 || id.Di0 != 0x01)
        return false;
    TReplyWriter w(ReplyData07Ptr());
    w.Put(ProgramCount, 2);
    w.Put(0x00);
    return Reply(*this, "断相总次数", w);
}

bool TZbSxMeter::ReadSwitchRecords07(const std::uint8_t* idBytes)
{
    const TId07 id(idBytes);
    if (id.Di2 != 0x00 || id.Di1 != 0x01)
        return false;
    TReplyWriter w(ReplyData07Ptr());
    w.Put(0x01);
    PutHoursBack(w, *this, id.Di0 - 1);
    return Reply(*this, FormatText(id.Di3 == 0x1D ? "上%02d次跳闸发生时刻" : "上%02d次合闸发生时刻", id.Di0), w);
}

bool TZbSxMeter::ReadSubMeters07(const std::uint8_t* idBytes)
{
    const TId07 id(idBytes);
    if (id.Di2 != 0x01)
        return false;
    TReplyWriter w(ReplyData07Ptr());
    if ((id.Di1 == 0x01 || id.Di1 == 0x02) && id.Di0 == 0x0F) {
        for (std::uint8_t i = 0; i < 8; ++i) {
            const std::uint8_t record[10] = {i,    i,    i, i, 0x00, 0x00, ByteToBcd(static_cast<std::uint8_t>(3 * i)),
                                             Clock[4], Clock[5], Clock[6]};
            w.Put(record, 10);
        }
        return Reply(*this, id.Di1 == 0x01 ? "下接水表数据" : "下接煤气表数据", w);
    }
    if (id.Di1 >= 0x0B && id.Di1 <= 0x12 && id.Di0 == 0x01) {
        for (std::uint8_t i = 0; i < 5; ++i)
            w.Fill(i, 4);
        w.Put(0x01);
        w.Put(0x00);
        return Reply(*this, "下接APM数据", w);
    }
    if (id.Di1 == 0x99 && id.Di0 == 0x01) {
        for (std::uint8_t i = 0; i < 8; ++i) {
            w.Fill(i, 5);
            w.Put(0x00);
        }
        return Reply(*this, "所有APM数据", w);
    }
    return false;
}

// ---- Load records ---------------------------------------------------------------------------

bool TZbSxMeter::ReadLoadRecords07(const std::uint8_t* /*idBytes*/, const std::uint8_t* request)
{
    static const char* const kIntervals[8] = {"默认间隔",   "月间隔",     "日间隔",      "小时间隔",
                                              "半小时间隔", "15分钟间隔", "10分钟间隔", "5分钟间隔"};
    const int interval = request[0] >> 5;
    const int n = request[0] & 0x1F;
    TReplyWriter w(ReplyData07Ptr());
    w.Put(0xA0);
    w.Put(0xA0);
    w.Put(static_cast<std::uint8_t>(5 * n + 7));
    w.Put(request + 1, 5);
    for (int i = 0; i < n; ++i) {
        w.Put(TariffEnergy[0], 4);
        w.Put(0xAA);
    }
    w.Put(ByteSum(w.Begin(), w.Size()));
    w.Put(0xE5);
    return Reply(*this, std::string(kIntervals[interval]) + "所需冻结数据", w);
}
