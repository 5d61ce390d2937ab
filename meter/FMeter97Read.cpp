// The 1997 read identifiers: what a read (C = 0x01) that carries only its identifier is answered.
//
// The first identifier byte DI1 picks a family (kFamilies); the family's reader puts the data
// behind the identifier, or says that it does not know DI0 (error reply 0xC1 with 2). A DI1 of no
// family goes back to the read, which runs the long-frame test. Quantities the meter does not
// model are answered with fixed filler bytes of the right length.
#include <cstdio>

#include "meter/FFunct.h"
#include "meter/FMeter.h"
#include "meter/FMeter97Reply.h"
#include "meter/FRtc.h"

namespace {

enum class TRead {
    Answered,  // the data stand in the reply: C = 0x81 unless the reader changed it
    NoSuchId,  // a family's identifier that the meter does not answer: 0xC1 with 2
    Silent,    // the reader decided not to answer at all
};

using TReader = TRead (*)(TZbSxMeter& m, TReply97& r, std::uint8_t di1, std::uint8_t di0);


int High(std::uint8_t di0) { return di0 >> 4; }
int Low(std::uint8_t di0) { return di0 & 0x0F; }

// A date stored day, month, year and a time stored minute, hour, as the record fields hold them.
std::string DateText(const std::uint8_t* dmy)
{
    return FormatText("%02X年%02X月%02X日", dmy[2], dmy[1], dmy[0]);
}

std::string TimeText(const std::uint8_t* mh)
{
    return FormatText("%02X时%02X分", mh[1], mh[0]);
}

// ---- 90: forward and reverse active energy, day and hour records ----------------------------

const std::uint8_t kFillerValue[4] = {0x23, 0x23, 0x23, 0x23};

// Filler value and the day n days before today.
void PutDayRecord(TZbSxMeter& m, TReply97& r, int n)
{
    const TBcdDate date = DayBefore(m.Clock[4], m.Clock[5], m.Clock[6], n);
    r.Hex(kFillerValue, 4).Hex(&date.Day, 1);
}

// Filler value, the hour n hours back and its day.
void PutHourRecord(TZbSxMeter& m, TReply97& r, int n)
{
    std::uint8_t day = m.Clock[4];
    std::uint8_t month = m.Clock[5];
    std::uint8_t year = m.Clock[6];
    const std::uint8_t hour = HourBefore(m.Clock[2], day, month, year, n);
    const std::uint8_t tail[2] = {hour, day};
    r.Hex(kFillerValue, 4).Hex(tail, 2);
}

// Records for the hours from `first` down to `last` hours back.
void PutHourRecords(TZbSxMeter& m, TReply97& r, int first, int last)
{
    for (int n = first; n >= last; --n)
        PutHourRecord(m, r, n);
}

TRead Read90(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    const int high = High(di0);
    const int low = Low(di0);
    if (high == 1 || high == 2) {
        const int base = high == 1 ? 0 : 5;  // forward, reverse
        if (low <= 4) {
            r.Energy(m.Registers97[base + low]);
        } else if (low == 0xF) {
            r.Energy(m.Registers97[base], 5);
            if (high == 1)
                r.Hex({0xAA});
        } else {
            return TRead::NoSuchId;
        }
        return TRead::Answered;
    }
    if (high == 9 && low <= 7) {
        PutDayRecord(m, r, low);
    } else if (di0 == 0x9D || di0 == 0x9E || di0 == 0x9F) {
        const int first = di0 == 0x9E ? 4 : 0;
        const int last = di0 == 0x9D ? 3 : 7;
        for (int n = first; n <= last; ++n)
            PutDayRecord(m, r, n);
    } else if ((high == 0xA || high == 0xB) && (low <= 7 || low == 0xF)) {
        const int base = high == 0xA ? 0 : 24;
        if (low == 0xF)
            PutHourRecords(m, r, base + 24, base + 1);
        else
            PutHourRecords(m, r, base + 3 * low + 3, base + 3 * low + 1);
    } else {
        return TRead::NoSuchId;
    }
    return TRead::Answered;
}

// ---- 91: reactive energy --------------------------------------------------------------------

TRead Read91(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (High(di0) < 1 || High(di0) > 6)
        return TRead::NoSuchId;
    if (Low(di0) <= 4)
        r.Energy(m.Registers97[34]);
    else if (Low(di0) == 0xF)
        r.Energy(m.Registers97[34], 5);
    else
        return TRead::NoSuchId;
    return TRead::Answered;
}

// ---- 94, 98, 9A: last month's energy --------------------------------------------------------

TRead ReadLastMonth(TZbSxMeter& m, TReply97& r, std::uint8_t di1, std::uint8_t di0)
{
    if (di0 == 0x10)
        r.Energy(m.HourFreezeValue);
    else if (di0 >= 0x11 && di0 <= 0x14)
        r.Energy(m.Registers97[10 + Low(di0)]);
    else if (di0 == 0x1F)
        r.Energy(m.Registers97[10], 5);
    else if (di1 == 0x94 && di0 >= 0x20 && di0 <= 0x24)
        r.Energy(m.Registers97[15 + Low(di0)]);
    else if (di1 == 0x94 && di0 == 0x2F)
        r.Energy(m.Registers97[15], 5);
    else
        return TRead::NoSuchId;
    return TRead::Answered;
}

// ---- 95, 99, 9B: quadrant energy ------------------------------------------------------------

TRead ReadQuadrants(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    static const int kRegisters[6] = {48, 49, 50, 54, 52, 53};
    if (High(di0) < 1 || High(di0) > 6)
        return TRead::NoSuchId;
    if (Low(di0) == 0)
        r.Energy(m.Registers97[kRegisters[High(di0) - 1]]);
    else if (Low(di0) == 0xF)
        r.Energy(m.Registers97[48], 5);
    else
        return TRead::NoSuchId;
    return TRead::Answered;
}

// ---- A0..AA maximum demand, B0..BA its times ------------------------------------------------

// The first of the two blocks of a demand family (DI0 1x the first, 2x the second).
int DemandBlock(std::uint8_t di1)
{
    switch (di1 & 0x0F) {
    case 0x4: return 2;
    case 0x8:
    case 0xA: return 4;
    default: return 0;  // A0, A1, A3, B0
    }
}

// Which value of which block DI0 names; false when none.
bool DemandIndex(std::uint8_t di1, std::uint8_t di0, int& block, int& value)
{
    if ((High(di0) != 1 && High(di0) != 2) || (Low(di0) > 4 && Low(di0) != 0xF))
        return false;
    block = DemandBlock(di1) + High(di0) - 1;
    value = Low(di0);
    return true;
}

TRead ReadDemand(TZbSxMeter& m, TReply97& r, std::uint8_t di1, std::uint8_t di0)
{
    int block = 0;
    int value = 0;
    if (!DemandIndex(di1, di0, block, value))
        return TRead::NoSuchId;
    if (value == 0xF)
        r.Demand(m.MaxDemand97[block][0], 5);
    else
        r.Demand(m.MaxDemand97[block][value]);
    return TRead::Answered;
}

TRead ReadDemandTime(TZbSxMeter& m, TReply97& r, std::uint8_t di1, std::uint8_t di0)
{
    int block = 0;
    int value = 0;
    if (!DemandIndex(di1, di0, block, value))
        return TRead::NoSuchId;
    if (value == 0xF)
        r.DemandTime(m.MaxDemandTime97[block][0], 5);
    else
        r.DemandTime(m.MaxDemandTime97[block][value]);
    return TRead::Answered;
}

// A time made of the clock's minute, hour, day and month with bytes added as they are (the
// figures stand in for event times the meter does not keep; they need not be valid BCD).
void PutShiftedTime(TZbSxMeter& m, TReply97& r, int minute, int hour, int day)
{
    const std::uint8_t t[4] = {static_cast<std::uint8_t>(m.Clock[1] + minute),
                               static_cast<std::uint8_t>(m.Clock[2] + hour),
                               static_cast<std::uint8_t>(m.Clock[4] + day), m.Clock[5]};
    r.DemandTime(t);
}

TRead ReadB1(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 != 0x1F && di0 != 0x2F)
        return TRead::NoSuchId;
    for (int k = 0; k < 5; ++k)
        PutShiftedTime(m, r, 0, -k, -k);
    return TRead::Answered;
}

// ---- B2: programming and clearing records ---------------------------------------------------

TRead ReadB2(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    const std::uint8_t* b2 = m.RegistersB2;
    switch (di0) {
    case 0x10: PutShiftedTime(m, r, 0, 0, 0); break;
    case 0x11: PutShiftedTime(m, r, 0, -2, 0); break;
    case 0x12: r.Hex(m.ProgramCount, 2); break;
    case 0x13: r.Hex(m.DemandClearCount, 2); break;
    case 0x14: r.Hex({0x01, 0x01, 0x01}); break;
    case 0x15: r.Zeros(4); break;
    case 0x1F:
        PutShiftedTime(m, r, 0, 0, 0);
        PutShiftedTime(m, r, 0, -2, 0);
        r.Hex(m.ProgramCount, 2).Hex(m.DemandClearCount, 2).Hex({0x01, 0x01, 0x01});
        break;
    case 0x40: r.Hex(b2 + 1, 2); break;
    case 0x41:
    case 0x42:
    case 0x43:
    case 0x44:
    case 0x45: {
        const int k = di0 - 0x40;
        r.Hex(b2 + 3 + 4 * ((b2[0] + k - 1) % 9), 4);
        break;
    }
    case 0x60: r.Hex(b2 + 29, 1); break;
    case 0x61: r.Hex(b2 + 30, 6); break;
    case 0x70: r.Hex(b2 + 36, 1); break;
    case 0x71: r.Hex(b2 + 37, 6); break;
    case 0x80: r.Hex(b2 + 43, 1); break;
    case 0x81: r.Hex(b2 + 44, 6); break;
    default: return TRead::NoSuchId;
    }
    return TRead::Answered;
}

// ---- B3: voltage-loss counts and times ------------------------------------------------------

void PutLossCount(TReply97& r, std::uint8_t count)
{
    const std::uint8_t v[2] = {ByteToBcd(count), 0x00};
    r.Hex(v, 2);
}

const std::uint8_t kLossFigures[4][3] = {
    {0x20, 0x05, 0x00}, {0x40, 0x01, 0x00}, {0x51, 0x02, 0x00}, {0x83, 0x01, 0x00}};

TRead ReadB3(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    switch (di0) {
    case 0x10: PutLossCount(r, m.SumPhaseLossCounts()); break;
    case 0x11:
    case 0x12:
    case 0x13: PutLossCount(r, m.PhaseLossCounts[di0 - 0x11]); break;
    case 0x1F:
        PutLossCount(r, m.SumPhaseLossCounts());
        for (std::uint8_t count : m.PhaseLossCounts)
            PutLossCount(r, count);
        break;
    case 0x20:
    case 0x21:
    case 0x22:
    case 0x23: r.Hex(kLossFigures[di0 - 0x20], 3); break;
    case 0x2F: r.Hex(kLossFigures[0], 12); break;
    case 0x30: case 0x31: case 0x32: case 0x33:
    case 0x40: case 0x41: case 0x42: case 0x43: PutShiftedTime(m, r, 0, 0, 0); break;
    case 0x3F:
        PutShiftedTime(m, r, 0, -2, 0);
        PutShiftedTime(m, r, 0, -3, -1);
        PutShiftedTime(m, r, 0, -2, 0);
        PutShiftedTime(m, r, 1, 0, 2);
        break;
    case 0x4F:
        PutShiftedTime(m, r, 0, 0, 0);
        PutShiftedTime(m, r, 0, -1, -1);
        PutShiftedTime(m, r, 0, 0, 0);
        PutShiftedTime(m, r, 1, 2, 2);
        break;
    default: return TRead::NoSuchId;
    }
    return TRead::Answered;
}

// ---- B6: instantaneous values ---------------------------------------------------------------

// XXX.X volts as whole volts: the 16-bit BCD value shifted right by one digit.
void PutWholeVolts(TReply97& r, const std::uint8_t* voltage)
{
    const int value = (voltage[1] * 256 + voltage[0]) >> 4;
    const std::uint8_t v[2] = {static_cast<std::uint8_t>(value & 0xFF),
                               static_cast<std::uint8_t>(value >> 8)};
    r.Hex(v, 2);
}

TRead ReadB6(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    const int high = High(di0);
    const int low = Low(di0);
    if (high == 1 && low >= 1 && low <= 3) {
        PutWholeVolts(r, m.Voltage[low - 1]);
    } else if (di0 == 0x1F) {
        for (const auto& v : m.Voltage)
            PutWholeVolts(r, v);
    } else if (high == 2 && low >= 1 && low <= 3) {
        r.Hex(m.Current[low - 1], 2);
    } else if (di0 == 0x2F) {
        r.Hex(m.Current[0], 6);
    } else if (high == 3 && low <= 3) {
        r.Demand(m.ActivePower[low]);
    } else if (di0 == 0x34 || di0 == 0x35) {
        r.Hex({0x09, 0x98});
    } else if (di0 == 0x36) {
        r.Zeros(1);
    } else if (di0 == 0x3F) {
        r.Demand(m.ActivePower[0], 4).Hex({0x09, 0x98, 0x09, 0x98});
    } else if (high == 4 && (low <= 3 || low == 0xF)) {
        for (int i = low == 0xF ? 0 : low; i <= (low == 0xF ? 3 : low); ++i)
            r.Hex(m.ActivePower[i] + 1, 2);
    } else if (high == 5 && (low <= 3 || low == 0xF)) {
        for (int i = low == 0xF ? 0 : low; i <= (low == 0xF ? 3 : low); ++i)
            r.Hex(m.PowerFactor[i], 2);
    } else if (high == 6 && low <= 3) {
        r.Hex(m.ApparentPower[low] + 1, 2).Zeros(1);
    } else {
        return TRead::NoSuchId;
    }
    return TRead::Answered;
}

// ---- C0..C8: parameters ---------------------------------------------------------------------

// C032 meter number, C033 user number.
TRead ReadNumber(TZbSxMeter& m, TReply97& r, bool meterNumber)
{
    if (!m.AnswerAddressRead) {
        m.Texts.Command = "自定义不响应 ";
        return TRead::Silent;
    }
    m.Texts.Command += meterNumber ? "读表号 " : "读用户号 ";
    if (meterNumber)
        m.AddressFromText();
    r.Hex(m.MeterAddr, 6);
    return TRead::Answered;
}

TRead ReadC0(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    const std::uint8_t* c = m.Clock;
    const std::uint8_t date[4] = {c[3], c[4], c[5], c[6]};
    switch (di0) {
    case 0x10:
        r.Hex(date, 4).Describe(FormatText("%02X年%02X月%02X日, 星期%02X", c[6], c[5], c[4], c[3]));
        break;
    case 0x11:
        r.Hex(c, 3).Describe(FormatText("%02X时%02X分%02X秒", c[2], c[1], c[0]));
        break;
    case 0x1F: r.Hex(date, 4).Hex(c, 3); break;
    case 0x20:
    case 0x29: r.Hex(&m.Status97, 1); break;
    case 0x21: r.Hex(&m.GridStatus, 1); break;
    case 0x22: r.Hex(&m.WeekRestStatus, 1); break;
    case 0x27: r.Hex(&m.RelayStatus, 1); break;
    case 0x28: r.Hex(&m.RelayStatus2, 1); break;
    case 0x2F: r.Hex(&m.Status97, 1).Hex(&m.GridStatus, 1).Hex(&m.WeekRestStatus, 1); break;
    case 0x30:
    case 0x31: r.Hex(m.MeterConst, 3); break;
    case 0x32: return ReadNumber(m, r, true);
    case 0x33: return ReadNumber(m, r, false);
    case 0x37:
    case 0x38:
    case 0x39: {
        // The two records before the one in progress, the latest first.
        const int n = m.BoxOpenRecordNo;
        r.Hex(m.BoxOpenRecords[static_cast<std::uint8_t>(n - 1) % 50], 8);
        r.Hex(m.BoxOpenRecords[static_cast<std::uint8_t>(n - 2) % 50], 8);
        if (di0 != 0x37)
            r.Hex(&m.RelayStatus, 1);
        if (di0 == 0x38)
            r.Hex(&m.RelayStatus2, 1);
        break;
    }
    default: return TRead::NoSuchId;
    }
    return TRead::Answered;
}

TRead ReadC1(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 == 0x13) {
        r.Hex({0x0A});
    } else if (di0 == 0x17) {
        // Hour, then day.
        r.Hex(m.ReadingDay, 2)
            .Describe(FormatText("%02X日%02X时自动抄表", m.ReadingDay[1], m.ReadingDay[0]));
    } else {
        return TRead::NoSuchId;
    }
    return TRead::Answered;
}

TRead ReadC2(TZbSxMeter&, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 != 0x11)
        return TRead::NoSuchId;
    r.Zeros(5);
    return TRead::Answered;
}

const std::uint8_t kScheduleC34F[24] = {0x01, 0x00, 0x00, 0x02, 0x00, 0x03, 0x03, 0x00,
                                        0x06, 0x04, 0x00, 0x09, 0x05, 0x00, 0x12, 0x06,
                                        0x00, 0x15, 0x07, 0x00, 0x18, 0x08, 0x00, 0x21};

TRead ReadC3(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    const int high = High(di0);
    const int low = Low(di0);
    if (di0 >= 0x10 && di0 <= 0x14) {
        r.Zeros(1);
    } else if (di0 == 0x15) {
        r.Zeros(5);
    } else if (di0 >= 0x20 && di0 <= 0x23) {
        r.Zeros(3);
    } else if ((high == 3 || high == 4) && low >= 1 && low <= 8) {
        r.Hex(m.TariffSchedule[low - 1], 3);
    } else if (di0 == 0x3F) {
        // The first two entries; the other six follow in read-subsequent frames.
        r.Hex(m.TariffSchedule[0], 6);
        r.C = 0xA1;
        m.FollowUpActive = true;
        m.FollowUpId[0] = 0x3F;
        m.FollowUpId[1] = 0xC3;
        m.FollowUpSeq = 0;
        m.FollowUpLast = 3;
    } else if (di0 == 0x40) {
        r.Hex({0x21, 0x09, 0x10});
    } else if (di0 == 0x4F) {
        r.Hex(kScheduleC34F, 24);
    } else if (di0 == 0x5F) {
        r.Zeros(15);
    } else if (di0 == 0x67) {
        r.Zeros(1);
    } else {
        return TRead::NoSuchId;
    }
    return TRead::Answered;
}

TRead ReadC7(TZbSxMeter&, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 != 0x11)
        return TRead::NoSuchId;
    r.Zeros(4);
    return TRead::Answered;
}

TRead ReadC8(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 != 0x10)
        return TRead::NoSuchId;
    r.Hex(m.RegistersB2 + 23, 6);
    return TRead::Answered;
}

// ---- E1..EC: custom records -----------------------------------------------------------------

TRead ReadE1(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 < 0x10 || di0 > 0x9F || Low(di0) > 7)
        return TRead::NoSuchId;
    const std::uint8_t* rec = m.RecordsE1[((High(di0) + m.RecordsE1Pos - 1) & 0xFF) % 9];
    switch (Low(di0)) {
    case 0: r.Hex(rec, 1); break;
    case 1: r.Hex(rec + 1, 3).Describe(DateText(rec + 1)); break;
    case 2: r.Hex(rec + 4, 2).Describe(TimeText(rec + 4)); break;
    case 3: r.Hex(rec + 6, 3).Describe(DateText(rec + 6)); break;
    case 4: r.Hex(rec + 9, 2).Describe(TimeText(rec + 9)); break;
    default: r.Hex(rec + 11 + 4 * (Low(di0) - 5), 4); break;
    }
    return TRead::Answered;
}

TRead ReadE2(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 < 0x10 || di0 > 0x9F || Low(di0) > 3)
        return TRead::NoSuchId;
    const std::uint8_t* rec = Low(di0) < 2 ? m.GetTimeRecordA(High(di0)) : m.GetTimeRecordB(High(di0));
    if (Low(di0) % 2 == 0)
        r.Hex(rec, 3).Describe(DateText(rec));
    else
        r.Hex(rec + 3, 2).Describe(TimeText(rec + 3));
    return TRead::Answered;
}

TRead ReadE3(TZbSxMeter&, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (High(di0) < 1 || High(di0) > 3 || Low(di0) < 1 || Low(di0) > 5)
        return TRead::NoSuchId;
    r.Zeros(19);
    return TRead::Answered;
}

TRead ReadE4(TZbSxMeter&, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 == 0x11)
        r.Zeros(6);
    else if (di0 == 0x61)
        r.Zeros(4);
    else
        return TRead::NoSuchId;
    return TRead::Answered;
}

TRead ReadE5(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 != 0x90)
        return TRead::NoSuchId;
    r.Hex(m.Current[3], 2);  // the neutral
    return TRead::Answered;
}

TRead ReadE6(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    static const std::uint8_t kIds[7] = {0x11, 0x20, 0x25, 0x81, 0x82, 0x83, 0xB0};
    static const int kRegisters[7] = {30, 40, 41, 54, 55, 56, 34};
    for (int i = 0; i < 7; ++i) {
        if (kIds[i] == di0) {
            r.Energy(m.Registers97[kRegisters[i]]);
            return TRead::Answered;
        }
    }
    return TRead::NoSuchId;
}

TRead ReadE7(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 < 0x20 || di0 > 0x28)
        return TRead::NoSuchId;
    const std::uint8_t* rec = m.RecordsE7[((m.RecordsE7Pos + di0) % 16) % 9];
    r.Hex(rec, 27).Describe(DateText(rec) + TimeText(rec + 3) + " " + DateText(rec + 5) +
                            TimeText(rec + 8));
    return TRead::Answered;
}

// Four registers: a, b, b + 1, c.
void PutRegisterGroup(TZbSxMeter& m, TReply97& r, int a, int b, int c)
{
    r.Energy(m.Registers97[a]).Energy(m.Registers97[b], 2).Energy(m.Registers97[c]);
}

// Registers a and a + 1, optionally followed by their BCD sum.
void PutSum(TZbSxMeter& m, TReply97& r, int a, bool withTerms)
{
    std::uint8_t sum[4];
    BcdAdd(m.Registers97[a], m.Registers97[a + 1], 4, sum);
    if (withTerms)
        r.Energy(m.Registers97[a], 2);
    r.Energy(sum);
}

TRead ReadE8(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    switch (di0) {
    case 0x10: PutRegisterGroup(m, r, 0, 3, 34); break;
    case 0x11: PutRegisterGroup(m, r, 5, 8, 35); break;
    case 0x1D: PutRegisterGroup(m, r, 0, 3, 34); r.Hex(&m.RelayStatus, 1).Hex(&m.RelayStatus2, 1); break;
    case 0x1E: PutRegisterGroup(m, r, 0, 3, 34); r.Hex(&m.RelayStatus, 1); break;
    case 0x20: PutRegisterGroup(m, r, 25, 28, 38); break;
    case 0x21: PutRegisterGroup(m, r, 30, 33, 39); break;
    case 0x40: PutSum(m, r, 40, false); break;
    case 0x41: PutSum(m, r, 48, false); break;
    case 0x50:
        r.Energy(m.TotalEnergy).Energy(m.Registers97[54], 3);
        r.Hex(&m.RelayStatus, 1).Hex(&m.RelayStatus2, 1);
        break;
    case 0x51:
        r.Energy(m.Registers97[30]).Energy(m.Registers97[57], 3);
        r.Hex(&m.RelayStatus, 1).Hex(&m.RelayStatus2, 1);
        break;
    case 0x52: r.Energy(m.Registers97[0], 5).Hex(&m.RelayStatus, 1).Hex(&m.RelayStatus2, 1); break;
    case 0x53: r.Energy(m.Registers97[0], 5).Hex(&m.RelayStatus, 1); break;
    case 0x54: r.Demand(m.MaxDemand97[0][0]).DemandTime(m.MaxDemandTime97[0][0]); break;
    case 0x55: r.Demand(m.MaxDemand97[2][0]).DemandTime(m.MaxDemandTime97[2][0]); break;
    case 0x56: PutSum(m, r, 40, true); break;
    case 0x57: PutSum(m, r, 48, true); break;
    case 0x58:
        r.Energy(m.Registers97[42]).Energy(m.Registers97[46]).Energy(m.Registers97[44], 2);
        break;
    case 0x59:
        r.Energy(m.Registers97[50]).Energy(m.Registers97[54]).Energy(m.Registers97[52], 2);
        break;
    default:
        if (di0 < 0x61 || di0 > 0x6C)
            return TRead::NoSuchId;
        // Two hours of the hourly table that is read.
        r.Energy(m.GetHourTable(true) + 8 * (di0 - 0x61), 2);
        break;
    }
    return TRead::Answered;
}

TRead ReadEA(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 < 0x81 || di0 > 0x83)
        return TRead::NoSuchId;
    r.Energy(m.Registers97[56 + (di0 - 0x81)]);
    return TRead::Answered;
}

TRead ReadEB(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    const int high = High(di0);
    const int low = Low(di0);
    if (di0 == 0x10) {
        r.Hex(&m.RecordsEBCount, 1);
    } else if (high == 1 && low >= 1 && low <= 5) {
        r.Hex(m.RecordsEB[0][low - 1], 20);
    } else if (high >= 2 && high <= 9 && low <= 4) {
        r.Hex(m.RecordsEB[high - 1][low], 20);
    } else {
        return TRead::NoSuchId;
    }
    return TRead::Answered;
}

TRead ReadEC(TZbSxMeter& m, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    static const int kZeros[6] = {10, 18, 16, 18, 16, 22};  // EC13 to EC18
    if (di0 == 0x10 || di0 == 0x11) {
        r.Energy(m.TotalEnergy).Energy(m.TotalEnergy).Zeros(12).Hex(&m.RelayStatus, 1);
        if (di0 == 0x10)
            r.Hex(&m.RelayStatus2, 1);
    } else if (di0 >= 0x13 && di0 <= 0x18) {
        r.Zeros(kZeros[di0 - 0x13]);
    } else {
        return TRead::NoSuchId;
    }
    return TRead::Answered;
}

TRead Read8E(TZbSxMeter&, TReply97& r, std::uint8_t, std::uint8_t di0)
{
    if (di0 != 0xA2)
        return TRead::NoSuchId;
    r.Hex({0x01, 0xFF, 0x1F, 0x11, 0x02, 0x54});
    return TRead::Answered;
}

struct TFamily {
    std::uint8_t Di1;
    TReader Read;
};

const TFamily kFamilies[] = {
    {0x8E, Read8E},        {0x90, Read90},         {0x91, Read91},
    {0x94, ReadLastMonth}, {0x95, ReadQuadrants},  {0x98, ReadLastMonth},
    {0x99, ReadQuadrants}, {0x9A, ReadLastMonth},  {0x9B, ReadQuadrants},
    {0xA0, ReadDemand},    {0xA1, ReadDemand},     {0xA3, ReadDemand},
    {0xA4, ReadDemand},    {0xA8, ReadDemand},     {0xAA, ReadDemand},
    {0xB0, ReadDemandTime},{0xB1, ReadB1},         {0xB2, ReadB2},
    {0xB3, ReadB3},        {0xB4, ReadDemandTime}, {0xB6, ReadB6},
    {0xB8, ReadDemandTime},{0xBA, ReadDemandTime}, {0xC0, ReadC0},
    {0xC1, ReadC1},        {0xC2, ReadC2},         {0xC3, ReadC3},
    {0xC7, ReadC7},        {0xC8, ReadC8},         {0xE1, ReadE1},
    {0xE2, ReadE2},        {0xE3, ReadE3},         {0xE4, ReadE4},
    {0xE5, ReadE5},        {0xE6, ReadE6},         {0xE7, ReadE7},
    {0xE8, ReadE8},        {0xEA, ReadEA},         {0xEB, ReadEB},
    {0xEC, ReadEC},
};

}  // namespace

bool TZbSxMeter::ReadIdentifier97(std::uint8_t di1, std::uint8_t di0)
{
    const TFamily* family = nullptr;
    for (const TFamily& f : kFamilies)
        if (f.Di1 == di1)
            family = &f;
    if (!family)
        return false;

    TReply97 r(*this);
    switch (family->Read(*this, r, di1, di0)) {
    case TRead::Answered:
        Texts.Data = r.DataText();
        BuildReply(r.C, r.L());
        break;
    case TRead::NoSuchId:
        BuildErrorReply(0xC1, 2);
        break;
    case TRead::Silent:
        break;
    }
    return true;
}
