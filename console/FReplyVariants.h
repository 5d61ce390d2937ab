#pragma once
// Replies the console builds itself instead of the meter: the self-defined reply the operator
// types in and the cyclic replies whose data grow by one byte with every request; the variable
// line rate that steps up after a number of handled frames.
#include <cstdint>
#include <string>

struct TReplyVariants {
    // Self-defined reply ("自设回复").
    std::uint8_t SelfReplyControl = 0;
    std::uint8_t SelfReplyLength = 0;
    std::uint8_t SelfReplyData[256] = {};
    std::uint8_t SelfReplyTailLength = 0;
    std::uint8_t SelfReplyTail[256] = {};
    bool SelfReplyReverse = false;  // "翻转": data sent last byte first
    bool SelfReplyAdd33 = false;    // "加33H"
    // Cyclic reply ("循环回复"): data lengths run from CycleBegin to CycleEnd.
    int CycleLength = 0;
    int CycleBegin = 0;
    int CycleEnd = 255;

    // Texts the dialogs show next time.
    std::string SelfControlText;
    std::string SelfDataText;
    std::string CycleBeginText = "000";
    std::string CycleEndText = "255";

    // Takes the texts of the self-defined reply dialog.
    void SetSelfReply(const std::string& controlText, const std::string& dataText,
                      const std::string& tailText, bool reverse, bool add33);
    // Takes the begin and end texts of the cyclic reply dialog: decimal, swapped when the end is
    // smaller, 256 and above cut to 255; the next reply starts at the begin.
    void SetCycleRange(const std::string& beginText, const std::string& endText);

    // Replies are written to tx; address is the six address bytes in frame order. Each returns
    // the reply length.
    // FE FE FE FE 68 A 68 81 n (j + 33H for j < n) CS 16, n = CycleLength.
    int BuildCycleReply(const std::uint8_t* address, std::uint8_t* tx) const;
    // [FE FE FE FE] 68 A 68 C L data CS 16 tail.
    int BuildSelfReply(const std::uint8_t* address, std::uint8_t* tx, bool preamble) const;
    // The next cyclic length, back to the begin after the end.
    void AdvanceCycle();
};

// The variable line rate ("可变速率"): after RepliesPerStep handled frames the line steps up the
// ladder 1200, 2400, 4800, 9600 baud.
struct TVariableRate {
    int BaudStep = 0;                // 0..3 for 1200, 2400, 4800, 9600 baud
    std::uint8_t RepliesPerStep = 0; // 0..99; 0 steps after every 256th frame
    std::uint8_t RepliesAtStep = 0;
    std::string RepliesPerStepText = "02";

    // Counts one handled frame; true when the rate is due to change now (the count restarts).
    bool CountFrame(bool enabled);
    // The settings text after the rate in `settings` (the number before its first comma) and
    // the step it gives; the ladder stops at 9600.
    std::string NextBaudSetting(int currentRate);
    // Alt+S: the next step, wrapping from 9600 to 1200; returns the settings text.
    std::string StepRound();
    static const char* LadderSettings(int step);
};

// The rate in a settings text ("9600,e,8,1" gives 9600; 0 when it does not start with digits).
int RateOfSettings(const std::string& settings);
