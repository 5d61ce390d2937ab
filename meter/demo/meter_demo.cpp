// Hands a DL/T 645-1997 read of 9010 and a DL/T 645-2007 read of 00 01 00 00 to the meter, as the
// console would, and prints each request, the reply and the meter's display texts.
#include <cstdio>
#include <string>
#include <vector>

#include "meter/FFunct.h"
#include "meter/FMeter.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadRequest(const std::uint8_t* address, std::uint8_t c, const Bytes& identifier)
{
    Bytes f = {0x68};
    f.insert(f.end(), address, address + 6);
    f.push_back(0x68);
    f.push_back(c);
    f.push_back(static_cast<std::uint8_t>(identifier.size()));
    for (std::uint8_t b : identifier)
        f.push_back(static_cast<std::uint8_t>(b + 0x33));
    f.push_back(ByteSum(f.data(), static_cast<int>(f.size())));
    f.push_back(0x16);
    return f;
}

void Show(TZbSxMeter& meter, std::uint8_t* frameBuffer, const char* title, const Bytes& request)
{
    std::printf("%s\n", title);
    std::printf("  <- %s\n", BytesToHexSpaced(request.data(), static_cast<int>(request.size())).c_str());
    std::copy(request.begin(), request.end(), frameBuffer);
    meter.ProcessFrame(static_cast<int>(request.size()));
    std::printf("  status %d %s\n", meter.StatusCode, meter.Texts.Status.c_str());
    if (meter.StatusCode == msOk && meter.GetTxLength() > 0)
        std::printf("  -> %s\n", BytesToHexSpaced(meter.TxFrame, meter.GetTxLength()).c_str());
    else
        std::printf("  -> (no reply)\n");
    const TZbSxMeter::_RdId& t = meter.Texts;
    const std::pair<const char*, const std::string*> texts[] = {
        {"Answer", &t.Answer}, {"Command", &t.Command}, {"Status", &t.Status}, {"Address", &t.Address},
        {"IdName", &t.IdName}, {"Data", &t.Data},       {"Time", &t.Time},
    };
    for (const auto& [name, text] : texts)
        std::printf("  %-8s%s\n", name, text->c_str());
}

}  // namespace

int main()
{
    static std::uint8_t frameBuffer[TZbSxMeter::kFrameBufferSize];
    static std::uint8_t txBuffer[TZbSxMeter::kFrameBufferSize];

    TZbSxMeter meter;
    meter.SetFrameBuffer(frameBuffer);
    meter.SetTxBuffer(txBuffer);
    meter.SetAddressText("000000123456");
    const std::uint8_t meterConstant[3] = {0x00, 0x32, 0x00};  // 3200 impulses per kWh
    CopyBytes(meter.GetMeterConstant(), meterConstant, 3);
    // The console's address filter; this one accepts every address.
    meter.OnCheckAddress = [] {};

    const std::uint8_t address[6] = {0x56, 0x34, 0x12, 0x00, 0x00, 0x00};
    Show(meter, frameBuffer, "DL/T 645-1997 read 9010", ReadRequest(address, 0x01, {0x10, 0x90}));
    Show(meter, frameBuffer, "DL/T 645-2007 read 00010000",
         ReadRequest(address, 0x11, {0x00, 0x00, 0x01, 0x00}));
    return 0;
}
