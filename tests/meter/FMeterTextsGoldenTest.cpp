// The seven display texts, the status and the reply of a long run of frames (reads of every
// identifier family in both editions, writes, answers of other devices, the fixed-protocol
// editions) against the record in fixtures/meter-texts.txt, so that a change in how the texts
// are built cannot change a byte of them. AMMERLIN_WRITE_METER_TEXTS=<path> writes the record.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/Frame645.h"
#include "meter/FDbId645.h"
#include "meter/FFunct.h"
#include "meter/FMeter.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kAddr = {0x56, 0x34, 0x12, 0x00, 0x00, 0x00};

struct TStep {
    std::uint8_t Protocol;  // what the meter is set to before the frame (0 and 1 detect)
    Bytes Frame;
};

std::vector<TStep> Steps()
{
    std::vector<TStep> steps;
    auto add = [&](std::uint8_t protocol, std::uint8_t c, const Bytes& data) {
        steps.push_back({protocol, testsupport::MakeFrame(kAddr, c, data)});
    };
    const std::uint8_t di1s97[] = {0x90, 0x91, 0x94, 0x95, 0xA0, 0xA1, 0xB0, 0xB2, 0xB3,
                                   0xB6, 0xC0, 0xC1, 0xC3, 0xE1, 0xE7, 0xE8, 0xEB, 0xEC};
    const std::uint8_t di0s97[] = {0x10, 0x11, 0x1F, 0x20, 0x21, 0x25, 0x2F, 0x30,
                                   0x32, 0x3F, 0x4F, 0x52, 0x61, 0x91, 0xAF};
    for (std::uint8_t protocol : {0, 2, 3}) {
        const std::uint8_t read = protocol == 2 ? 0x81 : 0x01;
        for (std::uint8_t di1 : di1s97)
            for (std::uint8_t di0 : di0s97)
                add(protocol, read, {di0, di1});
        add(protocol, static_cast<std::uint8_t>(read ^ 0x80), {0x10, 0x90, 0x78, 0x56, 0x34, 0x12});
        add(protocol, 0x04, {0x10, 0xC0, 0x00, 0x00, 0x00, 0x09, 0x03, 0x25});
        add(protocol, 0x0A, {0x00, 0x12, 0x34, 0x56});
        add(protocol, 0x0C, {0x00, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03});
        add(protocol, 0x0F, {0x00, 0x28, 0x18, 0x27, 0x00, 0x28, 0x18, 0x27});
        add(protocol, 0x08, {0x07, 0x05, 0x14, 0x09, 0x03, 0x25});
        add(protocol, 0x08, {0x01, 0x02, 0x03, 0x04});
        add(protocol, 0x1D, {0x00, 0x01});
        for (std::uint8_t c : {0x81, 0x84, 0x8F, 0xC1, 0xC4, 0xE1, 0xF1, 0x85})
            add(protocol, c, {0x10, 0x90, 0x45, 0x23, 0x01, 0x00});
    }
    const std::uint8_t di3s[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x13, 0x1D, 0x20};
    const std::uint8_t di2s[] = {0x00, 0x01, 0x02, 0x03, 0x05, 0x06, 0x0A, 0x15, 0x30, 0x80, 0x90, 0xFF};
    const std::uint8_t di1s[] = {0x00, 0x01, 0x02, 0xFF};
    const std::uint8_t di0s[] = {0x00, 0x01, 0x0C};
    for (std::uint8_t di3 : di3s)
        for (std::uint8_t di2 : di2s)
            for (std::uint8_t di1 : di1s)
                for (std::uint8_t di0 : di0s)
                    add(1, 0x11, {di0, di1, di2, di3});
    add(1, 0x11, {0x00, 0x00, 0x00, 0x00, 0x43, 0x00, 0x10, 0x09, 0x03, 0x25});
    add(1, 0x12, {0x01, 0x02, 0x30, 0x03, 0x01});
    add(1, 0x13, {});
    add(1, 0x14, {0x01, 0x01, 0x00, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0x03, 0x25, 0x00});
    add(1, 0x16, {0x00, 0x00, 0x00, 0x00});
    add(1, 0x18, {0x00, 0x04, 0x00, 0x04, 0x02, 0x00, 0x00, 0x00, 0x04, 0x11, 0x11, 0x11});
    add(1, 0x19, {0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    add(1, 0x1C, {0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
    for (std::uint8_t c : {0x91, 0x94, 0x98, 0xD1, 0xD4, 0x93})
        add(1, c, {0x00, 0x00, 0x01, 0x00, 0x45, 0x23, 0x01, 0x00});
    return steps;
}

// A meter at a fixed time that accepts every address, with the buffers the record reads.
struct Bench {
    std::uint8_t rx[TZbSxMeter::kFrameBufferSize] = {};
    std::uint8_t tx[TZbSxMeter::kFrameBufferSize] = {};
    TZbSxMeter meter{[] { return TMeterTime{2025, 3, 9, 14, 5, 7}; }};
    Bench()
    {
        meter.SetFrameBuffer(rx);
        meter.SetTxBuffer(tx);
        meter.OnCheckAddress = [] {};
        meter.MaxTariff = 4;
    }
    // One line of the record: frame, status, reply and the seven texts.
    std::string Record(const TStep& step)
    {
        meter.Protocol = step.Protocol;
        std::copy(step.Frame.begin(), step.Frame.end(), rx);
        meter.ProcessFrame(static_cast<int>(step.Frame.size()));
        const TZbSxMeter::_RdId& t = meter.Texts;
        std::ostringstream line;
        line << BytesToHex(step.Frame.data(), static_cast<int>(step.Frame.size())) << '|'
             << int(meter.StatusCode) << '|' << BytesToHex(tx, meter.GetTxLength()) << '|' << t.Answer
             << '|' << t.Command << '|' << t.Status << '|' << t.Address << '|' << t.IdName << '|'
             << t.Data << '|' << t.Time;
        return line.str();
    }
};

std::vector<std::string> Recorded()
{
    std::ifstream file(AMMERLIN_TESTS_DIR "/meter/fixtures/meter-texts.txt", std::ios::binary);
    std::vector<std::string> recorded;
    for (std::string line; std::getline(file, line);)
        recorded.push_back(line);
    return recorded;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
        fields.push_back(line.substr(start, bar - start));
    fields.push_back(line.substr(start));
    return fields;
}

// With the detail texts off (as the console runs the meter) the replies, the status and the
// four texts the console logs are the same; IdName, Data and Time stay empty.
TEST(MeterTexts, WithoutDetailTextsTheConsolesTextsAreTheSame)
{
    auto owner = std::make_unique<Bench>();  // the meter is large for the stack
    Bench& b = *owner;
    b.meter.DetailTexts = false;
    const std::vector<std::string> recorded = Recorded();
    const std::vector<TStep> steps = Steps();
    ASSERT_EQ(recorded.size(), steps.size());
    int differing = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::vector<std::string> now = Fields(b.Record(steps[i]));
        std::vector<std::string> was = Fields(recorded[i]);
        ASSERT_EQ(now.size(), 10u);
        ASSERT_EQ(was.size(), 10u);
        EXPECT_TRUE(now[7].empty() && now[8].empty() && now[9].empty()) << recorded[i];
        now.resize(7);
        was.resize(7);
        if (now != was && ++differing <= 10)
            ADD_FAILURE() << "frame " << i << ": " << recorded[i];
    }
    EXPECT_EQ(differing, 0);
}

TEST(MeterTexts, EveryTextIsAsRecorded)
{
    auto owner = std::make_unique<Bench>();  // the meter is large for the stack
    Bench& b = *owner;
    b.meter.DataIdList.clear();
    TDmId645 names(AMMERLIN_FIXTURES_DIR "/DIData.mdb");
    names.LoadDataCodes(b.meter.DataIdList);
    ASSERT_FALSE(b.meter.DataIdList.empty());

    std::vector<std::string> lines;
    for (const TStep& step : Steps())
        lines.push_back(b.Record(step));

    if (const char* out = std::getenv("AMMERLIN_WRITE_METER_TEXTS")) {
        std::ofstream file(out, std::ios::binary);
        for (const std::string& line : lines)
            file << line << '\n';
        GTEST_SKIP() << "record written to " << out;
    }
    const std::vector<std::string> recorded = Recorded();
    ASSERT_EQ(recorded.size(), lines.size());
    int differing = 0;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] != recorded[i] && ++differing <= 10)
            ADD_FAILURE() << "frame " << i << "\n  now: " << lines[i] << "\n  was: " << recorded[i];
    EXPECT_EQ(differing, 0);
}

}  // namespace
