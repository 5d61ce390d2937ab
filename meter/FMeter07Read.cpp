// DL/T 645-2007 reads of energy (DI3 00), maximum demand (01) and instantaneous values (02), and
// the frozen-value block shared with the freeze reads.
//
// Each handler copies the identifier first (an error reply overwrites the bytes it came from),
// writes its data after the identifier, finishes with ReplyData07 or a filler helper and appends
// its description to the command text. A reply that would not fit one frame is answered with
// the read error 0xD1, error byte 1, without writing its data.
#include "meter/FMeter.h"

#include "meter/FFunct.h"
#include "meter/FMeter07Util.h"

using meter07::TId07;
using meter07::TReplyWriter;

namespace {

// Most data bytes a 2007 read reply carries after its four identifier bytes.
constexpr int kMaxReadData = TZbSxMeter::kMaxFrameData - 4;

// Where a 2007 energy kind (DI2) is kept.
enum class TKindGroup { None, Energy, Phase, Ext };

struct TKind {
    TKindGroup Group = TKindGroup::None;
    int Kind = 0;    // kind within its group
    int Column = 0;  // phase (Phase: 0..2) or column (Ext: 0 total, 1..3 A..C)
    int Name = 0;    // entry of EnergyKindNames
};

TKind FindKind(std::uint8_t di2)
{
    if (di2 <= 0x0B) {
        const int k = di2 == 0x0B ? 0 : di2;  // 0B reads as combined active
        return {TKindGroup::Energy, k, 0, k};
    }
    static constexpr std::uint8_t kPhaseStart[3] = {0x15, 0x29, 0x3D};
    for (int p = 0; p < 3; ++p)
        if (di2 >= kPhaseStart[p] && di2 < kPhaseStart[p] + 10) {
            const int k = di2 - kPhaseStart[p];
            return {TKindGroup::Phase, k, p, 11 + 10 * p + k};
        }
    static constexpr std::uint8_t kExtStart[4] = {0x80, 0x94, 0xA8, 0xBC};
    for (int c = 0; c < 4; ++c)
        if (di2 >= kExtStart[c] && di2 < kExtStart[c] + 7) {
            const int k = di2 - kExtStart[c];
            return {TKindGroup::Ext, k, c, 41 + 7 * c + k};
        }
    return {};
}

// The first 41 kinds (energy and phase kinds, 00..0A and their phase forms): those with demand.
bool HasDemand(std::uint8_t di2, int& name)
{
    const TKind kind = FindKind(di2);
    if (di2 == 0x0B || (kind.Group != TKindGroup::Energy && kind.Group != TKindGroup::Phase))
        return false;
    name = kind.Name;
    return true;
}

// Two-byte BCD XXX.X volts as whole volts 0XXX.
void PutWholeVolts(TReplyWriter& w, const std::uint8_t* v)
{
    w.Put(static_cast<std::uint8_t>((v[1] << 4) | (v[0] >> 4)));
    w.Put(static_cast<std::uint8_t>(v[1] >> 4));
}

// A phase current XX.XX A as the 3-byte XXX.XXX A of the 2007 reads: its tens digit only.
void PutCurrent3(TReplyWriter& w, const std::uint8_t* current)
{
    w.Put(0x00);
    w.Put(0x00);
    w.Put(current[1] == 0x99 ? 0x10 : static_cast<std::uint8_t>(current[1] >> 4));
}

const char* const kPhaseNames[4] = {"总", "A 相", "B 相", "C 相"};

}  // namespace

// ---- Energy ---------------------------------------------------------------------------------

namespace {

// The special energy identifiers 00 90 xx xx, 00 0C xx xx and 00 D0 xx xx. Returns false when
// the identifier is not one of them; sets `served` to the handler's result when it is.
bool ReadEnergySpecial07(TZbSxMeter& m, const TId07& id, std::uint8_t* data, bool& served)
{
    TReplyWriter w(data);
    const std::uint32_t key = (id.Di2 << 16) | (id.Di1 << 8) | id.Di0;
    const std::uint8_t* e = m.TariffEnergy[0];
    const char* text = nullptr;
    auto relay = [&] {
        w.Put(m.RelayStatus2);
        w.Put(m.RelayStatus);
    };
    switch (key) {
    case 0x90010C:
        text = "上1次结算日组合有功数据包";
        w.Put(e, 20);
        relay();
        break;
    case 0x900100: text = "剩余电量"; w.Put(m.Money, 4); break;
    case 0x900200: text = "剩余金额"; w.Put(m.Money, 4); break;
    case 0x900102: text = "累计购电电量"; w.Put(m.OverdraftMoney, 4); break;
    case 0x900202: text = "累计购电金额"; w.Put(m.OverdraftMoney, 4); break;
    case 0x900101: text = "透支电量"; w.Put(m.OverdraftMoney, 4); break;
    case 0x900201: text = "透支金额"; w.Put(m.OverdraftMoney, 4); break;
    case 0x0C0000:
    case 0x0C0001:
        text = key == 0x0C0000 ? "各象限当前无功总电能" : "各象限月冻结无功总电能";
        w.Put(m.TariffEnergy[1], 16);
        break;
    case 0x0C0500:
    case 0x0C0501: {
        text = key == 0x0C0500 ? "当前正向/反向/组合无功总电能" : "月冻结正向/反向/组合无功总电能";
        static constexpr std::uint8_t kOnes[4] = {0x01, 0x01, 0x01, 0x01};
        std::uint8_t sum[4];
        BcdAdd(m.TariffEnergy[0], kOnes, 4, sum);
        w.Put(m.TariffEnergy[0], 4);
        w.Put(kOnes, 4);
        w.Put(sum, 4);
        break;
    }
    case 0xD0D005:
    case 0xD0D00B: {
        text = key == 0xD0D005 ? "A/B/C组合有功总电能" : "月冻结A/B/C组合有功总电能";
        std::uint8_t sum[4] = {};
        for (int t = 1; t <= 3; ++t) {
            w.Put(m.TariffEnergy[t], 4);
            BcdAdd(sum, m.TariffEnergy[t], 4, sum);
        }
        w.Put(sum, 4);
        break;
    }
    case 0xD0D101:
    case 0xD0D201:
    case 0xD0D202: {
        // These packets echo the two request bytes after the identifier.
        if (m.RequestL() < 6) {
            m.BuildErrorReply(0xD1, 1);
            served = true;
            return true;
        }
        w.Put(m.RequestData() + 4, 2);
        if (key == 0xD0D101) {
            text = "台区考核表数据包";
            static constexpr std::uint8_t kPacket[9] = {0x20, 0x22, 0x02, 0x20, 0x20, 0x08, 0x00, 0x80, 0x08};
            w.Put(kPacket, 9);
            w.Fill(0x00, 8);
        } else {
            text = key == 0xD0D201 ? "电压表数据包" : "电压表数据包+状态字";
            for (int p = 0; p < 3; ++p)
                PutWholeVolts(w, m.Voltage[p]);
            if (key == 0xD0D202)
                relay();
        }
        break;
    }
    default:
        return false;
    }
    m.Texts.Command += text;
    served = m.ReplyData07(w.Size());
    return true;
}

}  // namespace

bool TZbSxMeter::ReadEnergy07(const std::uint8_t* idBytes, std::uint8_t* data)
{
    const TId07 id(idBytes);
    bool served = false;
    if (ReadEnergySpecial07(*this, id, data, served))
        return served;

    if (id.Di0 > 12)
        return false;
    const TKind kind = FindKind(id.Di2);
    if (kind.Group == TKindGroup::None)
        return false;
    const TEnergy07Copy& copy = Energy07Store[id.Di0];
    TReplyWriter w(data);
    const char* tail = "电能数据块";  // after the kind's name; a tariff's text when tariff >= 0
    int tariff = -1;
    if (kind.Group == TKindGroup::Energy) {
        const std::uint8_t (*registers)[4] = copy.Energy07[kind.Kind];
        if (id.Di1 == 0xFF) {
            const int count = MaxTariff + 1;
            if (4 * count > kMaxReadData || count > 64) {
                BuildErrorReply(0xD1, 1);
                return true;
            }
            w.Put(registers[0], 4 * count);
        } else if (id.Di1 <= 63) {
            w.Put(registers[id.Di1], 4);
            tariff = id.Di1;
        } else {
            return false;
        }
    } else {
        // Phase and associated kinds hold one value each: no tariffs.
        const std::uint8_t* value = kind.Group == TKindGroup::Phase ? copy.PhaseEnergy07[kind.Kind][kind.Column]
                                                                    : copy.ExtEnergy07[kind.Kind][kind.Column];
        if (id.Di1 == 0x00)
            tail = "T00电能";
        else if (id.Di1 != 0xFF)
            return false;
        w.Put(value, 4);
    }
    // Written straight onto the command text: the read is served from here on.
    std::string& text = Texts.Command;
    if (id.Di0 == 0)
        text += "当前";
    else
        AppendFormat(text, "上%02d结算日", id.Di0);
    text += EnergyKindNames[static_cast<std::size_t>(kind.Name)];
    if (tariff >= 0)
        AppendFormat(text, "T%02d电能", tariff);
    else
        text += tail;
    return ReplyData07(w.Size());
}

// ---- Demand ---------------------------------------------------------------------------------

bool TZbSxMeter::ReadDemand07(const std::uint8_t* idBytes)
{
    const TId07 id(idBytes);
    if (id.Di0 > 12)
        return false;
    int name = 0;
    if (!HasDemand(id.Di2, name))
        return false;
    if (id.Di1 > 63 && id.Di1 != 0xFF)
        return false;

    // The month DI0 months back, into the year before where it wraps.
    int month = BcdToByte(Clock[5]) - id.Di0;
    int year = BcdToByte(Clock[6]);
    if (month <= 0) {
        month += 12;
        year = (year + 99) % 100;
    }
    const std::uint8_t m = ByteToBcd(static_cast<std::uint8_t>(month));
    const std::uint8_t y = ByteToBcd(static_cast<std::uint8_t>(year));

    std::string text = id.Di0 == 0 ? std::string("当前") : FormatText("上%02d月", id.Di0);
    text += EnergyKindNames[static_cast<std::size_t>(name)];
    TReplyWriter w(ReplyData07Ptr());
    if (id.Di1 != 0xFF) {
        w.Put(TariffEnergy[0], 3);
        const std::uint8_t time[5] = {Clock[1], Clock[2], Clock[4], m, y};
        w.Put(time, 5);
        text += FormatText("T%02d需量及时间", id.Di1);
    } else {
        // E: the bytes of TariffEnergy[0] followed by those of TariffEnergy[1].
        const std::uint8_t* e = TariffEnergy[0];
        auto inc = [](std::uint8_t b) { return static_cast<std::uint8_t>(b + 1); };
        const std::uint8_t values[5][6] = {
            {e[0], e[1], e[2], Clock[1], Clock[2], Clock[4]},
            {e[0], e[1], e[2], Clock[1], Clock[2], Clock[4]},
            {inc(e[1]), e[2], e[3], 0x23, 0x00, 0x01},
            {e[2], e[3], inc(e[4]), 0x00, 0x01, Clock[4]},
            {e[3], inc(e[4]), e[5], Clock[1], 0x00, Clock[4]},
        };
        for (const auto& v : values) {
            w.Put(v, 6);
            w.Put(m);
            w.Put(y);
        }
        text += "需量及时间数据块";
    }
    Texts.Command += text;
    return ReplyData07(w.Size());
}

// ---- Instantaneous values -------------------------------------------------------------------

namespace {

bool ReadVariables80(TZbSxMeter& m, const TId07& id)
{
    TReplyWriter w(m.ReplyData07Ptr());
    std::string text;
    if (id.Di1 == 0x01 && id.Di0 == 0x05) {
        w.Put(m.TariffEnergy[0], 20);
        w.Put(m.Money, 4);
        w.Put(m.EventFlags, 2);
        if (m.SinglePhase) {
            text = "单相";
            w.Put(m.Voltage[0], 2);
            PutCurrent3(w, m.Current[0]);
        } else {
            text = "三相";
            w.Put(m.Voltage[0], 6);
            for (int p = 0; p < 3; ++p)
                PutCurrent3(w, m.Current[p]);
        }
        w.Put(m.PowerFactor[0], 2);
        w.Put(0x00);
        w.Put(0x50);
        m.Texts.Command += text + "当前电量+剩余金额+事件标识";
        return m.ReplyData07(w.Size());
    }
    if (id.Di1 != 0x00)
        return false;
    struct TFiller {
        const char* Text;
        int Count;
    };
    static constexpr TFiller kFillers[11] = {
        {"零线电流", 3},         {"电网频率", 2},           {"一分钟有功总平均功率", 3},
        {"当前有功需量", 3},     {"当前无功需量", 3},       {"当前视在需量", 3},
        {"表内温度", 2},         {"时钟电池电压(内部)", 2}, {"停电抄表电池电压(外部)", 2},
        {"电池工作时间(内部)", 4}, {"当前阶梯电价", 4},
    };
    if (id.Di0 < 1 || id.Di0 > 11)
        return false;
    const TFiller& f = kFillers[id.Di0 - 1];
    m.Texts.Command += f.Text;
    if (id.Di0 == 0x02) {
        w.Put(0x00);
        w.Put(0x50);
    } else if (id.Di0 == 0x0B) {
        static constexpr std::uint8_t kPrices[4][2] = {{0x38, 0x51}, {0x68, 0x53}, {0x78, 0x56}, {0x88, 0x48}};
        w.Put(kPrices[m.CurrentTariff % 4], 2);
        w.Fill(0x00, 2);
    } else {
        return m.ReplyFilled(static_cast<std::uint16_t>(f.Count), 0x12, false);
    }
    return m.ReplyData07(w.Size());
}

}  // namespace

bool TZbSxMeter::ReadVariables07(const std::uint8_t* idBytes)
{
    const TId07 id(idBytes);
    if (id.Di2 == 0x80)
        return ReadVariables80(*this, id);
    if (id.Di2 < 0x01 || id.Di2 > 0x09 || id.Di0 != 0)
        return false;

    static constexpr const char* kNames[10] = {
        "", "电压", "电流", "瞬时有功功率", "瞬时无功功率", "视在功率", "功率因数", "相角",
        "电压波形失真度", "电流波形失真度",
    };
    const std::string name = kNames[id.Di2];
    const bool hasTotal = id.Di2 >= 0x03 && id.Di2 <= 0x06;
    const bool phase = id.Di1 >= 1 && id.Di1 <= 3;
    const bool block = id.Di1 == 0xFF && id.Di2 <= 0x07;
    if (!phase && !block && !(id.Di1 == 0 && hasTotal))
        return false;

    if (id.Di2 == 0x08 || id.Di2 == 0x09) {
        Texts.Command += kPhaseNames[id.Di1] + name;
        return ReplyFilled(2, 0x12, false);
    }

    TReplyWriter w(ReplyData07Ptr());
    // The register of each quantity by index 0 total, 1..3 phases, and its width.
    auto put = [&](int index) {
        switch (id.Di2) {
        case 0x01: w.Put(Voltage[index - 1], 2); break;
        case 0x02: PutCurrent3(w, Current[index - 1]); break;
        case 0x03:
        case 0x04: w.Put(ActivePower[index], 3); break;
        case 0x05: w.Put(ApparentPower[index], 3); break;
        case 0x06: w.Put(PowerFactor[index], 2); break;
        case 0x07: w.Put(PhaseAngle[index - 1], 2); break;
        default: break;
        }
    };
    std::string text;
    if (!block) {
        put(id.Di1);
        text = kPhaseNames[id.Di1] + name;
    } else {
        for (int i = hasTotal ? 0 : 1; i <= 3; ++i)
            put(i);
        if (id.Di2 <= 0x02)
            text = "三相" + name;
        else if (id.Di2 == 0x07)
            text = "数据块";
        else
            text = name + "数据块";
    }
    Texts.Command += text;
    return ReplyData07(w.Size());
}

// ---- Frozen-value block ---------------------------------------------------------------------

bool TZbSxMeter::ReplyFreezeBlock(std::uint16_t n)
{
    if (n > kMaxReadData) {
        BuildErrorReply(0xD1, 1);
        return true;
    }
    // W0 is the freeze value; W1..W3 take the clock's second, minute and hour onto its lowest
    // byte.
    for (int j = 0; j < 4; ++j)
        CopyBytes(FreezeWork[j], HourFreezeValue, 4);
    FreezeWork[1][0] = static_cast<std::uint8_t>(FreezeWork[1][0] + Clock[0]);
    FreezeWork[2][0] = static_cast<std::uint8_t>(FreezeWork[2][0] + Clock[1]);
    FreezeWork[3][0] = static_cast<std::uint8_t>(FreezeWork[3][0] + Clock[2]);

    std::uint8_t* data = ReplyData07Ptr();
    std::uint8_t sum[4] = {};
    const int q = n / 4 - 1;
    for (int j = 0; j < q; ++j) {
        CopyBytes(data + 4 + 4 * j, FreezeWork[j % 4], 4);
        BcdAdd(sum, FreezeWork[j % 4], 4, sum);
    }
    CopyBytes(data, sum, 4);
    return ReplyData07(n);
}
