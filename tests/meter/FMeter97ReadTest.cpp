// Every 1997 read identifier answered from a meter whose registers hold distinct values: the reply's
// length and the register each byte came from.
#include <functional>
#include <tuple>

#include "Meter97Support.h"

namespace meter97 {
namespace {

using M = TZbSxMeter;
using Source = std::function<Bytes(const M&)>;

struct Row {
    std::uint16_t id;
    int l;  // the reply's L, identifier included
    Source data;
    std::uint8_t c = 0x81;
};

// Registers97 hold 1..240, every other field continues the count (wrapping, never 0); the
// registers that are summed hold valid BCD.
void FillDistinct(M& m)
{
    std::uint8_t next = 1;
    auto fill = [&next](void* p, std::size_t n) {
        auto* b = static_cast<std::uint8_t*>(p);
        for (std::size_t i = 0; i < n; ++i) {
            b[i] = next;
            next = static_cast<std::uint8_t>(next == 255 ? 1 : next + 1);
        }
    };
    fill(m.Registers97, sizeof m.Registers97);
    fill(m.HourFreezeValue, 4);
    fill(m.MaxDemand97, sizeof m.MaxDemand97);
    fill(m.MaxDemandTime97, sizeof m.MaxDemandTime97);
    fill(m.ProgramCount, 2);
    fill(m.DemandClearCount, 2);
    fill(m.RegistersB2, sizeof m.RegistersB2);
    fill(m.Current, sizeof m.Current);
    fill(m.ActivePower, sizeof m.ActivePower);
    fill(m.ApparentPower, sizeof m.ApparentPower);
    fill(m.PowerFactor, sizeof m.PowerFactor);
    for (std::uint8_t* b : {&m.Status97, &m.GridStatus, &m.WeekRestStatus, &m.RelayStatus,
                            &m.RelayStatus2, &m.RecordsEBCount})
        fill(b, 1);
    fill(m.MeterConst, 3);
    fill(m.BoxOpenRecords, sizeof m.BoxOpenRecords);
    fill(m.ReadingDay, 2);
    fill(m.TariffSchedule, sizeof m.TariffSchedule);
    fill(m.RecordsE1, sizeof m.RecordsE1);
    fill(m.TimeRecordsA, sizeof m.TimeRecordsA);
    fill(m.TimeRecordsB, sizeof m.TimeRecordsB);
    fill(m.RecordsE7, sizeof m.RecordsE7);
    fill(m.HourEnergy, sizeof m.HourEnergy);
    fill(m.RecordsEB, sizeof m.RecordsEB);
    fill(m.TotalEnergy, 4);

    const std::uint8_t volts[3][2] = {{0x05, 0x23}, {0x15, 0x22}, {0x99, 0x21}};
    CopyBytes(m.Voltage[0], volts[0], 6);
    const std::uint8_t bcd[4][4] = {
        {0x25, 0x00, 0x00, 0x00}, {0x80, 0x00, 0x00, 0x00},  // rr 40, 41
        {0x99, 0x99, 0x00, 0x00}, {0x01, 0x00, 0x00, 0x00},  // rr 48, 49
    };
    CopyBytes(m.Registers97[40], bcd[0], 8);
    CopyBytes(m.Registers97[48], bcd[2], 8);
    const std::uint8_t losses[3] = {3, 5, 11};
    CopyBytes(m.PhaseLossCounts, losses, 3);
    m.BoxOpenRecordNo = 10;
    m.RegistersB2[0] = 7;
}

Source Fixed(Bytes b)
{
    return [b](const M&) { return b; };
}
Source Reg(int n, int count = 1)
{
    return [n, count](const M& m) { return Of(m.Registers97[n], 4 * count); };
}
Source Field(std::function<const std::uint8_t*(const M&)> at, int n)
{
    return [at, n](const M& m) { return Of(at(m), n); };
}
Source Zeros(int n)
{
    return Fixed(Bytes(static_cast<std::size_t>(n), 0));
}
Source Join(std::vector<Source> parts)
{
    return [parts](const M& m) {
        Bytes out;
        for (const Source& p : parts) {
            const Bytes b = p(m);
            out.insert(out.end(), b.begin(), b.end());
        }
        return out;
    };
}
std::uint8_t Bcd(int v)
{
    return static_cast<std::uint8_t>((v / 10) * 16 + v % 10);
}

// The meter's clock is 2025-03-09 14:05:07.
Bytes DayRecord(int n)
{
    return {0x23, 0x23, 0x23, 0x23, Bcd(9 - n)};
}
Bytes HourRecord(int n)
{
    int hour = 14 - n;
    int day = 9;
    while (hour < 0) {
        hour += 24;
        --day;
    }
    return {0x23, 0x23, 0x23, 0x23, Bcd(hour), Bcd(day)};
}
Source HourRecords(int first, int last)
{
    return [first, last](const M&) {
        Bytes out;
        for (int n = first; n >= last; --n)
            out = Cat({out, HourRecord(n)});
        return out;
    };
}

std::vector<Row> AllRows()
{
    std::vector<Row> rows;
    auto add = [&rows](std::uint16_t id, int l, Source s) { rows.push_back({id, l, std::move(s)}); };

    add(0x8EA2, 8, Fixed({0x01, 0xFF, 0x1F, 0x11, 0x02, 0x54}));

    // 90: energy, day and hour records
    for (int i = 0; i <= 4; ++i) {
        add(static_cast<std::uint16_t>(0x9010 + i), 6, Reg(i));
        add(static_cast<std::uint16_t>(0x9020 + i), 6, Reg(5 + i));
    }
    add(0x901F, 23, Join({Reg(0, 5), Fixed({0xAA})}));
    add(0x902F, 22, Reg(5, 5));
    for (int n = 0; n <= 7; ++n)
        add(static_cast<std::uint16_t>(0x9090 + n), 7, Fixed(DayRecord(n)));
    add(0x909D, 22, Fixed(Cat({DayRecord(0), DayRecord(1), DayRecord(2), DayRecord(3)})));
    add(0x909E, 22, Fixed(Cat({DayRecord(4), DayRecord(5), DayRecord(6), DayRecord(7)})));
    add(0x909F, 42, Fixed(Cat({DayRecord(0), DayRecord(1), DayRecord(2), DayRecord(3), DayRecord(4),
                               DayRecord(5), DayRecord(6), DayRecord(7)})));
    for (int m = 0; m <= 7; ++m) {
        add(static_cast<std::uint16_t>(0x90A0 + m), 20, HourRecords(3 * m + 3, 3 * m + 1));
        add(static_cast<std::uint16_t>(0x90B0 + m), 20, HourRecords(24 + 3 * m + 3, 24 + 3 * m + 1));
    }
    add(0x90AF, 146, HourRecords(24, 1));
    add(0x90BF, 146, HourRecords(48, 25));

    // 91: reactive energy, every one register 34
    for (int h = 1; h <= 6; ++h) {
        for (int i = 0; i <= 4; ++i)
            add(static_cast<std::uint16_t>(0x9100 + h * 16 + i), 6, Reg(34));
        add(static_cast<std::uint16_t>(0x910F + h * 16), 22, Reg(34, 5));
    }

    // 94, 98, 9A: last month
    for (std::uint16_t f : {0x9400, 0x9800, 0x9A00}) {
        add(f | 0x10, 6, Field([](const M& m) { return m.HourFreezeValue; }, 4));
        for (int i = 1; i <= 4; ++i)
            add(static_cast<std::uint16_t>(f | (0x10 + i)), 6, Reg(10 + i));
        add(f | 0x1F, 22, Reg(10, 5));
    }
    for (int i = 0; i <= 4; ++i)
        add(static_cast<std::uint16_t>(0x9420 + i), 6, Reg(15 + i));
    add(0x942F, 22, Reg(15, 5));

    // 95, 99, 9B: quadrants
    const int quadrant[6] = {48, 49, 50, 54, 52, 53};
    for (std::uint16_t f : {0x9500, 0x9900, 0x9B00}) {
        for (int h = 1; h <= 6; ++h) {
            add(static_cast<std::uint16_t>(f | (h * 16)), 6, Reg(quadrant[h - 1]));
            add(static_cast<std::uint16_t>(f | (h * 16 + 0xF)), 22, Reg(48, 5));
        }
    }

    // A0..AA demand, B0..BA demand times
    // Demand families and their first block; A0, A4, A8 and AA have time families B0, B4, B8, BA.
    const std::tuple<std::uint8_t, int, bool> demandFamilies[] = {
        {0xA0, 0, true}, {0xA1, 0, false}, {0xA3, 0, false}, {0xA4, 2, true}, {0xA8, 4, true}, {0xAA, 4, true}};
    for (const auto& [di1, first, withTimes] : demandFamilies) {
        for (int b = 0; b < 2; ++b) {
            const int block = first + b;
            const std::uint16_t base = static_cast<std::uint16_t>(di1 << 8 | (0x10 + 16 * b));
            for (int v = 0; v <= 4; ++v)
                add(static_cast<std::uint16_t>(base + v), 5,
                    Field([block, v](const M& m) { return m.MaxDemand97[block][v]; }, 3));
            add(base | 0x0F, 17, Field([block](const M& m) { return m.MaxDemand97[block][0]; }, 15));
            if (!withTimes)
                continue;
            const std::uint16_t timeBase = static_cast<std::uint16_t>(base + 0x1000);  // A0 -> B0
            for (int v = 0; v <= 4; ++v)
                add(static_cast<std::uint16_t>(timeBase + v), 6,
                    Field([block, v](const M& m) { return m.MaxDemandTime97[block][v]; }, 4));
            add(timeBase | 0x0F, 22,
                Field([block](const M& m) { return m.MaxDemandTime97[block][0]; }, 20));
        }
    }

    // B1, B2: programming records
    const Bytes b11f = {0x05, 0x14, 0x09, 0x03, 0x05, 0x13, 0x08, 0x03, 0x05, 0x12, 0x07, 0x03,
                        0x05, 0x11, 0x06, 0x03, 0x05, 0x10, 0x05, 0x03};
    add(0xB11F, 22, Fixed(b11f));
    add(0xB12F, 22, Fixed(b11f));
    const Bytes b210 = {0x05, 0x14, 0x09, 0x03};
    const Bytes b211 = {0x05, 0x12, 0x09, 0x03};
    auto programCount = Field([](const M& m) { return m.ProgramCount; }, 2);
    auto clearCount = Field([](const M& m) { return m.DemandClearCount; }, 2);
    add(0xB210, 6, Fixed(b210));
    add(0xB211, 6, Fixed(b211));
    add(0xB212, 4, programCount);
    add(0xB213, 4, clearCount);
    add(0xB214, 5, Fixed({0x01, 0x01, 0x01}));
    add(0xB215, 6, Zeros(4));
    add(0xB21F, 17, Join({Fixed(b210), Fixed(b211), programCount, clearCount, Fixed({1, 1, 1})}));
    auto b2 = [](int offset, int n) { return Field([offset](const M& m) { return m.RegistersB2 + offset; }, n); };
    add(0xB240, 4, b2(1, 2));
    for (int k = 1; k <= 5; ++k)
        add(static_cast<std::uint16_t>(0xB240 + k), 6, b2(3 + 4 * ((7 + k - 1) % 9), 4));
    add(0xB260, 3, b2(29, 1));
    add(0xB261, 8, b2(30, 6));
    add(0xB270, 3, b2(36, 1));
    add(0xB271, 8, b2(37, 6));
    add(0xB280, 3, b2(43, 1));
    add(0xB281, 8, b2(44, 6));

    // B3: voltage loss (counts 3, 5, 11)
    add(0xB310, 4, Fixed({0x19, 0x00}));
    add(0xB311, 4, Fixed({0x03, 0x00}));
    add(0xB312, 4, Fixed({0x05, 0x00}));
    add(0xB313, 4, Fixed({0x11, 0x00}));
    add(0xB31F, 10, Fixed({0x19, 0x00, 0x03, 0x00, 0x05, 0x00, 0x11, 0x00}));
    const Bytes losses[4] = {{0x20, 0x05, 0x00}, {0x40, 0x01, 0x00}, {0x51, 0x02, 0x00}, {0x83, 0x01, 0x00}};
    for (int i = 0; i < 4; ++i)
        add(static_cast<std::uint16_t>(0xB320 + i), 5, Fixed(losses[i]));
    add(0xB32F, 14, Fixed(Cat({losses[0], losses[1], losses[2], losses[3]})));
    for (int i = 0; i <= 3; ++i) {
        add(static_cast<std::uint16_t>(0xB330 + i), 6, Fixed(b210));
        add(static_cast<std::uint16_t>(0xB340 + i), 6, Fixed(b210));
    }
    add(0xB33F, 18, Fixed({0x05, 0x12, 0x09, 0x03, 0x05, 0x11, 0x08, 0x03, 0x05, 0x12, 0x09, 0x03,
                           0x06, 0x14, 0x0B, 0x03}));
    add(0xB34F, 18, Fixed({0x05, 0x14, 0x09, 0x03, 0x05, 0x13, 0x08, 0x03, 0x05, 0x14, 0x09, 0x03,
                           0x06, 0x16, 0x0B, 0x03}));

    // B6: instantaneous values (volts 230.5, 221.5, 219.9)
    const Bytes volts[3] = {{0x30, 0x02}, {0x21, 0x02}, {0x19, 0x02}};
    for (int p = 0; p < 3; ++p) {
        add(static_cast<std::uint16_t>(0xB611 + p), 4, Fixed(volts[p]));
        add(static_cast<std::uint16_t>(0xB621 + p), 4, Field([p](const M& m) { return m.Current[p]; }, 2));
    }
    add(0xB61F, 8, Fixed(Cat({volts[0], volts[1], volts[2]})));
    add(0xB62F, 8, Field([](const M& m) { return m.Current[0]; }, 6));
    auto power = Field([](const M& m) { return m.ActivePower[0]; }, 12);
    for (int i = 0; i <= 3; ++i) {
        add(static_cast<std::uint16_t>(0xB630 + i), 5, Field([i](const M& m) { return m.ActivePower[i]; }, 3));
        add(static_cast<std::uint16_t>(0xB640 + i), 4,
            Field([i](const M& m) { return m.ActivePower[i] + 1; }, 2));
        add(static_cast<std::uint16_t>(0xB650 + i), 4, Field([i](const M& m) { return m.PowerFactor[i]; }, 2));
        add(static_cast<std::uint16_t>(0xB660 + i), 5,
            Join({Field([i](const M& m) { return m.ApparentPower[i] + 1; }, 2), Zeros(1)}));
    }
    add(0xB634, 4, Fixed({0x09, 0x98}));
    add(0xB635, 4, Fixed({0x09, 0x98}));
    add(0xB636, 3, Zeros(1));
    add(0xB63F, 18, Join({power, Fixed({0x09, 0x98, 0x09, 0x98})}));
    add(0xB64F, 10, [](const M& m) {
        Bytes out;
        for (int i = 0; i < 4; ++i)
            out = Cat({out, Of(m.ActivePower[i] + 1, 2)});
        return out;
    });
    add(0xB65F, 10, Field([](const M& m) { return m.PowerFactor[0]; }, 8));

    // C0..C8: parameters
    add(0xC010, 6, Fixed({0x00, 0x09, 0x03, 0x25}));
    add(0xC011, 5, Fixed({0x07, 0x05, 0x14}));
    add(0xC01F, 9, Fixed({0x00, 0x09, 0x03, 0x25, 0x07, 0x05, 0x14}));
    auto byte = [](std::uint8_t M::*field) {
        return Source([field](const M& m) { return Bytes{m.*field}; });
    };
    add(0xC020, 3, byte(&M::Status97));
    add(0xC029, 3, byte(&M::Status97));
    add(0xC021, 3, byte(&M::GridStatus));
    add(0xC022, 3, byte(&M::WeekRestStatus));
    add(0xC027, 3, byte(&M::RelayStatus));
    add(0xC028, 3, byte(&M::RelayStatus2));
    add(0xC02F, 5, Join({byte(&M::Status97), byte(&M::GridStatus), byte(&M::WeekRestStatus)}));
    add(0xC030, 5, Field([](const M& m) { return m.MeterConst; }, 3));
    add(0xC031, 5, Field([](const M& m) { return m.MeterConst; }, 3));
    add(0xC032, 8, Fixed({0x66, 0x55, 0x44, 0x33, 0x22, 0x11}));  // from the address text
    add(0xC033, 8, Fixed(kAddr));                                 // the request's address
    auto boxRecords = Join({Field([](const M& m) { return m.BoxOpenRecords[9]; }, 8),
                            Field([](const M& m) { return m.BoxOpenRecords[8]; }, 8)});
    add(0xC037, 18, boxRecords);
    add(0xC038, 20, Join({boxRecords, byte(&M::RelayStatus), byte(&M::RelayStatus2)}));
    add(0xC039, 19, Join({boxRecords, byte(&M::RelayStatus)}));
    add(0xC113, 3, Fixed({0x0A}));
    add(0xC117, 4, Field([](const M& m) { return m.ReadingDay; }, 2));
    add(0xC211, 7, Zeros(5));
    for (int i = 0; i <= 4; ++i)
        add(static_cast<std::uint16_t>(0xC310 + i), 3, Zeros(1));
    add(0xC315, 7, Zeros(5));
    for (int i = 0; i <= 3; ++i)
        add(static_cast<std::uint16_t>(0xC320 + i), 5, Zeros(3));
    for (int e = 1; e <= 8; ++e) {
        add(static_cast<std::uint16_t>(0xC330 + e), 5, Field([e](const M& m) { return m.TariffSchedule[e - 1]; }, 3));
        add(static_cast<std::uint16_t>(0xC340 + e), 5, Field([e](const M& m) { return m.TariffSchedule[e - 1]; }, 3));
    }
    rows.push_back({0xC33F, 8, Field([](const M& m) { return m.TariffSchedule[0]; }, 6), 0xA1});
    add(0xC340, 5, Fixed({0x21, 0x09, 0x10}));
    add(0xC34F, 26, Fixed({0x01, 0x00, 0x00, 0x02, 0x00, 0x03, 0x03, 0x00, 0x06, 0x04, 0x00, 0x09,
                           0x05, 0x00, 0x12, 0x06, 0x00, 0x15, 0x07, 0x00, 0x18, 0x08, 0x00, 0x21}));
    add(0xC35F, 17, Zeros(15));
    add(0xC367, 3, Zeros(1));
    add(0xC711, 6, Zeros(4));
    add(0xC810, 8, b2(23, 6));

    // E1..EC: custom records
    const int e1Offset[8] = {0, 1, 4, 6, 9, 11, 15, 19};
    const int e1Size[8] = {1, 3, 2, 3, 2, 4, 4, 4};
    for (int r = 1; r <= 9; ++r) {
        for (int f = 0; f <= 7; ++f)
            add(static_cast<std::uint16_t>(0xE100 + 16 * r + f), 2 + e1Size[f],
                Field([r, o = e1Offset[f]](const M& m) { return m.RecordsE1[r - 1] + o; }, e1Size[f]));
        add(static_cast<std::uint16_t>(0xE200 + 16 * r), 5, Field([r](const M& m) { return m.TimeRecordsA[r - 1]; }, 3));
        add(static_cast<std::uint16_t>(0xE201 + 16 * r), 4,
            Field([r](const M& m) { return m.TimeRecordsA[r - 1] + 3; }, 2));
        add(static_cast<std::uint16_t>(0xE202 + 16 * r), 5, Field([r](const M& m) { return m.TimeRecordsB[r - 1]; }, 3));
        add(static_cast<std::uint16_t>(0xE203 + 16 * r), 4,
            Field([r](const M& m) { return m.TimeRecordsB[r - 1] + 3; }, 2));
    }
    for (int h = 1; h <= 3; ++h)
        for (int i = 1; i <= 5; ++i)
            add(static_cast<std::uint16_t>(0xE300 + 16 * h + i), 21, Zeros(19));
    add(0xE411, 8, Zeros(6));
    add(0xE461, 6, Zeros(4));
    add(0xE590, 4, Field([](const M& m) { return m.Current[3]; }, 2));
    const std::pair<std::uint16_t, int> e6[] = {{0xE611, 30}, {0xE620, 40}, {0xE625, 41}, {0xE681, 54},
                                                {0xE682, 55}, {0xE683, 56}, {0xE6B0, 34}};
    for (const auto& [id, reg] : e6)
        add(id, 6, Reg(reg));
    for (int i = 0; i <= 8; ++i)
        add(static_cast<std::uint16_t>(0xE720 + i), 29,
            Field([i](const M& m) { return m.RecordsE7[((0x20 + i) % 16) % 9]; }, 27));
    auto rs = byte(&M::RelayStatus);
    auto rs2 = byte(&M::RelayStatus2);
    auto e810 = Join({Reg(0), Reg(3, 2), Reg(34)});
    add(0xE810, 18, e810);
    add(0xE811, 18, Join({Reg(5), Reg(8, 2), Reg(35)}));
    add(0xE81D, 20, Join({e810, rs, rs2}));
    add(0xE81E, 19, Join({e810, rs}));
    add(0xE820, 18, Join({Reg(25), Reg(28, 2), Reg(38)}));
    add(0xE821, 18, Join({Reg(30), Reg(33, 2), Reg(39)}));
    const Bytes sum40 = {0x05, 0x01, 0x00, 0x00};  // 0.25 + 0.80
    const Bytes sum48 = {0x00, 0x00, 0x01, 0x00};  // 99.99 + 0.01
    add(0xE840, 6, Fixed(sum40));
    add(0xE841, 6, Fixed(sum48));
    add(0xE850, 20, Join({Field([](const M& m) { return m.TotalEnergy; }, 4), Reg(54, 3), rs, rs2}));
    add(0xE851, 20, Join({Reg(30), Reg(57, 3), rs, rs2}));
    add(0xE852, 24, Join({Reg(0, 5), rs, rs2}));
    add(0xE853, 23, Join({Reg(0, 5), rs}));
    add(0xE854, 9, Join({Field([](const M& m) { return m.MaxDemand97[0][0]; }, 3),
                         Field([](const M& m) { return m.MaxDemandTime97[0][0]; }, 4)}));
    add(0xE855, 9, Join({Field([](const M& m) { return m.MaxDemand97[2][0]; }, 3),
                         Field([](const M& m) { return m.MaxDemandTime97[2][0]; }, 4)}));
    add(0xE856, 14, Join({Reg(40, 2), Fixed(sum40)}));
    add(0xE857, 14, Join({Reg(48, 2), Fixed(sum48)}));
    add(0xE858, 18, Join({Reg(42), Reg(46), Reg(44), Reg(45)}));
    add(0xE859, 18, Join({Reg(50), Reg(54), Reg(52), Reg(53)}));
    for (int k = 0; k < 12; ++k)  // the read table is table 1 while the selector is 1
        add(static_cast<std::uint16_t>(0xE861 + k), 10,
            Field([k](const M& m) { return m.HourEnergy[1][2 * k]; }, 8));
    for (int i = 0; i < 3; ++i)
        add(static_cast<std::uint16_t>(0xEA81 + i), 6, Reg(56 + i));
    add(0xEB10, 3, byte(&M::RecordsEBCount));
    for (int p = 0; p <= 4; ++p)
        add(static_cast<std::uint16_t>(0xEB11 + p), 22, Field([p](const M& m) { return m.RecordsEB[0][p]; }, 20));
    for (int n = 2; n <= 9; ++n)
        for (int p = 0; p <= 4; ++p)
            add(static_cast<std::uint16_t>(0xEB00 + 16 * n + p), 22,
                Field([n, p](const M& m) { return m.RecordsEB[n - 1][p]; }, 20));
    auto total = Field([](const M& m) { return m.TotalEnergy; }, 4);
    add(0xEC10, 24, Join({total, total, Zeros(12), rs, rs2}));
    add(0xEC11, 23, Join({total, total, Zeros(12), rs}));
    const int ecZeros[6] = {10, 18, 16, 18, 16, 22};
    for (int i = 0; i < 6; ++i)
        add(static_cast<std::uint16_t>(0xEC13 + i), ecZeros[i] + 2, Zeros(ecZeros[i]));
    return rows;
}

TEST_F(Meter97Test, EveryReadIdentifierAnswersFromItsSource)
{
    FillDistinct(meter);
    const std::vector<Row> rows = AllRows();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << std::uppercase << row.id);
        Request(0x01, Id(row.id));
        ASSERT_EQ(meter.StatusCode, msOk);
        ASSERT_GE(meter.TxLength, 12);
        EXPECT_EQ(tx[8], row.c);
        EXPECT_EQ(tx[9], row.l);
        const Bytes data = ReplyData();
        EXPECT_EQ(Bytes(data.begin(), data.begin() + 2), Id(row.id));
        EXPECT_EQ(Bytes(data.begin() + 2, data.end()), row.data(meter));
        EXPECT_FALSE(meter.Texts.Data.empty());
    }
    // The C032 reply comes from the address text, C033 from the request's address.
    Request(0x01, Id(0xC032));
    EXPECT_EQ(Bytes(tx + 1, tx + 7), (Bytes{0x66, 0x55, 0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(meter.Texts.Command, "读C032 读表号 ");
}

TEST_F(Meter97Test, IdentifiersTheFamiliesDoNotName)
{
    const std::uint16_t misses[] = {
        0x8EA1, 0x9015, 0x9025, 0x902E, 0x9098, 0x90A8, 0x90C0, 0x9100, 0x9115, 0x9170, 0x9820, 0x9A2F,
        0x9511, 0x9570, 0x9B00, 0xA015, 0xA030, 0xA41E, 0xB015, 0xB110, 0xB216, 0xB246, 0xB314, 0xB324,
        0xB334, 0xB344, 0xB610, 0xB614, 0xB637, 0xB644, 0xB664, 0xB66F, 0xC012, 0xC023, 0xC034, 0xC03A,
        0xC110, 0xC210, 0xC330, 0xC339, 0xC349, 0xC368, 0xC712, 0xC811, 0xE100, 0xE118, 0xE1A0, 0xE204,
        0xE2A0, 0xE310, 0xE316, 0xE341, 0xE412, 0xE591, 0xE612, 0xE729, 0xE830, 0xE86D, 0xEA80, 0xEB16,
        0xEB25, 0xEBA0, 0xEC12, 0xEC19};
    for (std::uint16_t id : misses) {
        Request(0x01, Id(id));
        EXPECT_EQ(Reply(), MakeFrame(kAddr, 0xC1, {0x02})) << std::hex << id;
    }
    // A DI1 of no family goes to the long-frame test, which knows nothing of it either.
    for (std::uint16_t id : {0x9210, 0x1234, 0xFFFF, 0xE010}) {
        Request(0x01, Id(id));
        EXPECT_EQ(Reply(), MakeFrame(kAddr, 0xC1, {0x01})) << std::hex << id;
    }
}

TEST_F(Meter97Test, AddressReadsSwitchedOff)
{
    meter.AnswerAddressRead = false;
    for (std::uint16_t id : {0xC032, 0xC033}) {
        Request(0x01, Id(id));
        EXPECT_EQ(meter.StatusCode, msOk);
        EXPECT_TRUE(Reply().empty());
        EXPECT_EQ(meter.Texts.Command, "自定义不响应 ");
    }
    meter.AnswerAddressRead = true;
    meter.AddrText = "000000000012";
    Request(0x01, Id(0xC033));
    EXPECT_EQ(Reply(), MakeFrame(kAddr, 0x81, Cat({Id(0xC033), kAddr})));
    EXPECT_EQ(meter.Texts.Command, "读C033 读用户号 ");
}

TEST_F(Meter97Test, DataTextsOfTheReads)
{
    FillDistinct(meter);
    const std::uint8_t energy[4] = {0x78, 0x56, 0x34, 0x12};
    CopyBytes(meter.Registers97[0], energy, 4);
    const std::uint8_t readingDay[2] = {0x08, 0x25};
    CopyBytes(meter.ReadingDay, readingDay, 2);
    const std::uint8_t e1Date[3] = {0x31, 0x12, 0x24};
    CopyBytes(meter.RecordsE1[0] + 1, e1Date, 3);
    const std::uint8_t e1Time[2] = {0x45, 0x23};
    CopyBytes(meter.RecordsE1[0] + 4, e1Time, 2);
    const std::pair<std::uint16_t, const char*> texts[] = {
        {0x9010, "123456.78 "},
        {0xC010, "25年03月09日, 星期00"},
        {0xC011, "14时05分07秒"},
        {0xC117, "25日08时自动抄表"},
        {0xE111, "24年12月31日"},
        {0xE112, "23时45分"},
        {0xC113, "0a "},
    };
    for (const auto& [id, text] : texts) {
        Request(0x01, Id(id));
        EXPECT_EQ(meter.Texts.Data, text) << std::hex << id;
    }
    const std::uint8_t demand[3] = {0x56, 0x34, 0x12};
    CopyBytes(meter.MaxDemand97[0][0], demand, 3);
    Request(0x01, Id(0xA010));
    EXPECT_EQ(meter.Texts.Data, "12.3456 ");
}

}  // namespace
}  // namespace meter97
