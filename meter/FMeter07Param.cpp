// DL/T 645-2007 parameters (identifiers 04 xx xx xx): reads and writes.
//
// The meter keeps real values for the date and time (the one meter clock, Clock), the address,
// the meter constant, the highest tariff number and the status words; every other parameter is
// answered with filler bytes of its length, and writes to it are acknowledged without being
// stored.
#include "meter/FMeter.h"

#include <iterator>

#include "meter/FFunct.h"
#include "meter/FMeter07Util.h"
#include "meter/FRtc.h"

using meter07::BcdInRange;
using meter07::TId07;
using meter07::TReplyWriter;

namespace {

// A parameter answered with `Count` bytes of `Value`: DI2, DI1 and a range of DI0.
struct TFillerParam {
    std::uint8_t Di2, Di1, Di0From, Di0To, Value, Count;
};

constexpr TFillerParam kFillers[] = {
    {0x00, 0x01, 0x03, 0x03, 0x12, 1},  {0x00, 0x01, 0x04, 0x04, 0x01, 1},
    {0x00, 0x01, 0x05, 0x05, 0x01, 2},  {0x00, 0x01, 0x06, 0x07, 0x12, 5},
    {0x00, 0x02, 0x01, 0x01, 0x14, 1},  {0x00, 0x02, 0x03, 0x03, 0x14, 1},
    {0x00, 0x02, 0x02, 0x02, 0x08, 1},  {0x00, 0x02, 0x05, 0x05, 0x02, 2},
    {0x00, 0x02, 0x06, 0x06, 0x03, 1},  {0x00, 0x03, 0x01, 0x01, 0x02, 1},
    {0x00, 0x03, 0x04, 0x05, 0x02, 1},  {0x00, 0x03, 0x02, 0x03, 0x01, 1},
    {0x00, 0x04, 0x03, 0x03, 0x32, 32}, {0x00, 0x04, 0x04, 0x06, 0x32, 6},
    {0x00, 0x04, 0x07, 0x08, 0x32, 4},  {0x00, 0x04, 0x0B, 0x0C, 0x32, 10},
    {0x00, 0x04, 0x0D, 0x0D, 0x32, 16}, {0x00, 0x06, 0x01, 0x03, 0x12, 1},
    {0x00, 0x08, 0x02, 0x02, 0x12, 1},  {0x00, 0x09, 0x01, 0x02, 0xFF, 1},
    {0x00, 0x0A, 0x01, 0x07, 0x12, 2},  {0x00, 0x0B, 0x01, 0x01, 0x01, 2},
    {0x00, 0x0B, 0x02, 0x02, 0x12, 2},  {0x00, 0x0B, 0x03, 0x03, 0x24, 2},
    {0x00, 0x0D, 0x01, 0x0C, 0x12, 2},  {0x00, 0x0E, 0x01, 0x02, 0x11, 3},
    {0x00, 0x0E, 0x03, 0x03, 0x22, 2},  {0x00, 0x0E, 0x04, 0x04, 0x01, 2},
    {0x00, 0x0F, 0x01, 0x01, 0x44, 3},  {0x00, 0x0F, 0x02, 0x02, 0x33, 3},
    {0x00, 0x0F, 0x03, 0x03, 0x22, 2},  {0x00, 0x0F, 0x04, 0x04, 0x05, 2},
    {0x01, 0x00, 0x00, 0x08, 0x00, 42}, {0x02, 0x00, 0x00, 0x08, 0x00, 42},
    {0x03, 0x00, 0x01, 0xFE, 0x12, 4},  {0x04, 0x01, 0x01, 0xFE, 0x12, 4},
    {0x04, 0x02, 0x01, 0xFE, 0x12, 4},  {0x80, 0x00, 0x01, 0x03, 0x32, 32},
};

// Parameters a write acknowledges without storing anything: DI2, DI1 and a range of DI0.
struct TWritableParam {
    std::uint8_t Di2, Di1, Di0From, Di0To;
};

constexpr TWritableParam kWritable[] = {
    {0x00, 0x01, 0x03, 0x07}, {0x00, 0x02, 0x01, 0x06}, {0x00, 0x03, 0x01, 0x05},
    {0x00, 0x04, 0x03, 0x03}, {0x00, 0x04, 0x09, 0x09}, {0x00, 0x06, 0x01, 0x03},
    {0x00, 0x0B, 0x01, 0x03}, {0x00, 0x08, 0x01, 0x02}, {0x00, 0x09, 0x01, 0x02},
    {0x00, 0x0A, 0x01, 0x07}, {0x00, 0x0C, 0x01, 0x0A}, {0x00, 0x0D, 0x01, 0x0C},
    {0x00, 0x0E, 0x01, 0x04}, {0x00, 0x10, 0x09, 0x09}, {0x00, 0x14, 0x01, 0x01},
    {0x01, 0x00, 0x00, 0x08}, {0x02, 0x00, 0x00, 0x08}, {0x03, 0x00, 0x01, 0xFE},
    {0x04, 0x01, 0x01, 0xFE}, {0x04, 0x02, 0x01, 0xFE},
};

template <typename T>
const T* Find(const T* begin, const T* end, const TId07& id)
{
    for (const T* p = begin; p != end; ++p)
        if (p->Di2 == id.Di2 && p->Di1 == id.Di1 && id.Di0 >= p->Di0From && id.Di0 <= p->Di0To)
            return p;
    return nullptr;
}

// Date as weekday, day, month, year; time as second, minute, hour (BCD, weekday binary).
bool ValidDate(const std::uint8_t* d)
{
    return d[0] <= 6 && BcdInRange(d[2], 1, 12) && BcdInRange(d[3], 0, 99) &&
           BcdInRange(d[1], 1, DaysInMonth(BcdToByte(d[2]), BcdToByte(d[3])));
}

bool ValidTime(const std::uint8_t* d)
{
    return BcdInRange(d[0], 0, 59) && BcdInRange(d[1], 0, 59) && BcdInRange(d[2], 0, 23);
}

}  // namespace

bool TZbSxMeter::ReadParameter07(const std::uint8_t* idBytes, std::uint8_t* data)
{
    const TId07 id(idBytes);
    TReplyWriter w(data);
    if (id.Di2 == 0x00) {
        const int di = (id.Di1 << 8) | id.Di0;
        switch (di) {
        case 0x0101: w.Put(Clock + 3, 4); break;  // weekday, day, month, year
        case 0x0102: w.Put(Clock, 3); break;      // second, minute, hour
        case 0x0204: w.Put(MaxTariff); break;
        case 0x0401:
        case 0x0402: w.Put(MeterAddr, 6); break;  // the address this meter answers as
        case 0x0409:
        case 0x040A: w.Put(MeterConst, 3); break;
        case 0x050E: w.Put(SelfCheckStatus, 2); break;
        case 0x05FF:
            w.Put(RunStatusWords[0], 14);
            w.Put(SelfCheckStatus, 2);
            break;
        case 0x0801: w.Put(WeekRestStatus); break;
        default:
            if (id.Di1 == 0x05 && id.Di0 >= 1 && id.Di0 <= 7)
                w.Put(RunStatusWords[id.Di0 - 1], 2);
            break;
        }
        if (w.Size() > 0)
            return ReplyData07(w.Size());
    }
    const TFillerParam* f = Find(std::begin(kFillers), std::end(kFillers), id);
    if (f == nullptr)
        return false;
    return ReplyFilled(f->Count, f->Value, false);
}

bool TZbSxMeter::WriteParameter07(const std::uint8_t* idBytes, const std::uint8_t* data)
{
    const TId07 id(idBytes);
    // Bytes of parameter data the request carries after its operator code.
    const int available = RequestL() - 12;
    auto acknowledge = [this] { BuildReply(0x94, 0); };
    auto refuse = [this] { BuildErrorReply(0xD4, 1); };

    if (id.Di2 == 0x00 && id.Di1 == 0x01 && (id.Di0 == 0x01 || id.Di0 == 0x02)) {
        const bool date = id.Di0 == 0x01;
        // Only a real date or time of day reaches the clock.
        if (available < (date ? 4 : 3) || !(date ? ValidDate(data) : ValidTime(data))) {
            refuse();
            return true;
        }
        if (date)
            CopyBytes(Clock + 3, data, 4);
        else
            CopyBytes(Clock, data, 3);
        UpdateTariff();
        SetStatus(msOk);
        acknowledge();
        return true;
    }
    if (id.Di2 == 0x00 && id.Di1 == 0x04 && (id.Di0 == 0x01 || id.Di0 == 0x02)) {
        if (available < 6) {
            refuse();
            return true;
        }
        // Acknowledged from the address the request came to, then the new address is taken.
        acknowledge();
        CopyBytes(MeterAddr, data, 6);
        SetAddressText(BytesToHexReversed(data, 6));
        AddrTextChanged = true;
        SetStatus(msOk);
        return true;
    }
    if (Find(std::begin(kWritable), std::end(kWritable), id) == nullptr)
        return false;
    acknowledge();
    return true;
}
