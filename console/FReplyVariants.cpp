#include "console/FReplyVariants.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "meter/FFunct.h"

namespace {

int DecimalOf(const std::string& text)
{
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

// 68 A 68 C L at tx, returns the index after it.
int WriteHeader(std::uint8_t* tx, const std::uint8_t* address, std::uint8_t c, std::uint8_t l)
{
    tx[0] = 0x68;
    CopyBytes(tx + 1, address, 6);
    tx[7] = 0x68;
    tx[8] = c;
    tx[9] = l;
    return 10;
}

}  // namespace

void TReplyVariants::SetSelfReply(const std::string& controlText, const std::string& dataText,
                                  const std::string& tailText, bool reverse, bool add33)
{
    SelfReplyLength = static_cast<std::uint8_t>(ParseHexText(dataText, SelfReplyData, 255));
    SelfReplyTailLength = static_cast<std::uint8_t>(ParseHexText(tailText, SelfReplyTail, 255));
    SelfReplyControl = static_cast<std::uint8_t>(HexByte(controlText));
    SelfReplyReverse = reverse;
    SelfReplyAdd33 = add33;
    SelfControlText = controlText;
    SelfDataText = dataText;
}

void TReplyVariants::SetCycleRange(const std::string& beginText, const std::string& endText)
{
    int begin = DecimalOf(beginText);
    int end = DecimalOf(endText);
    std::string bt = beginText;
    std::string et = endText;
    if (end < begin) {
        std::swap(begin, end);
        std::swap(bt, et);
    }
    begin = std::max(begin, 0);
    end = std::max(end, 0);
    if (begin >= 256) {
        begin = 255;
        bt = "255";
    }
    if (end >= 256) {
        end = 255;
        et = "255";
    }
    CycleBegin = begin;
    CycleEnd = end;
    CycleBeginText = bt;
    CycleEndText = et;
    CycleLength = CycleBegin;
}

int TReplyVariants::BuildCycleReply(const std::uint8_t* address, std::uint8_t* tx) const
{
    FillBytes(tx, 0xFE, 4);
    std::uint8_t* frame = tx + 4;
    int n = WriteHeader(frame, address, 0x81, static_cast<std::uint8_t>(CycleLength));
    for (int j = 0; j < CycleLength; ++j)
        frame[n++] = static_cast<std::uint8_t>(j + 0x33);
    frame[n] = ByteSum(frame, n);
    frame[n + 1] = 0x16;
    return CycleLength + 16;
}

int TReplyVariants::BuildSelfReply(const std::uint8_t* address, std::uint8_t* tx,
                                   bool preamble) const
{
    int at = 0;
    if (preamble) {
        FillBytes(tx, 0xFE, 4);
        at = 4;
    }
    std::uint8_t* frame = tx + at;
    int n = WriteHeader(frame, address, SelfReplyControl, SelfReplyLength);
    for (int j = 0; j < SelfReplyLength; ++j) {
        std::uint8_t b = SelfReplyReverse ? SelfReplyData[SelfReplyLength - 1 - j] : SelfReplyData[j];
        if (SelfReplyAdd33)
            b = static_cast<std::uint8_t>(b + 0x33);
        frame[n++] = b;
    }
    frame[n] = ByteSum(frame, n);
    frame[n + 1] = 0x16;
    n += 2;
    CopyBytes(frame + n, SelfReplyTail, SelfReplyTailLength);
    return at + n + SelfReplyTailLength;
}

void TReplyVariants::AdvanceCycle()
{
    if (++CycleLength > CycleEnd)
        CycleLength = CycleBegin;
}

bool TVariableRate::CountFrame(bool enabled)
{
    if (!enabled) {
        RepliesAtStep = 0;
        return false;
    }
    ++RepliesAtStep;  // 8 bits: a step count of 0 is reached again after 256 frames
    if (RepliesAtStep != RepliesPerStep)
        return false;
    RepliesAtStep = 0;
    return true;
}

const char* TVariableRate::LadderSettings(int step)
{
    static const char* const kLadder[] = {"1200,e,8,1", "2400,e,8,1", "4800,e,8,1", "9600,e,8,1"};
    return kLadder[std::clamp(step, 0, 3)];
}

std::string TVariableRate::NextBaudSetting(int currentRate)
{
    if (currentRate < 1200)
        BaudStep = 0;
    else if (currentRate == 1200)
        BaudStep = 1;
    else if (currentRate == 2400)
        BaudStep = 2;
    else
        BaudStep = 3;
    return LadderSettings(BaudStep);
}

std::string TVariableRate::StepRound()
{
    BaudStep = (BaudStep + 1) % 4;
    RepliesAtStep = 0;
    return LadderSettings(BaudStep);
}

int RateOfSettings(const std::string& settings)
{
    return DecimalOf(settings.substr(0, settings.find(',')));
}
