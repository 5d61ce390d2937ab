#pragma once
// The time editor's rules: the format and mask table (the 12-hour masks follow the locale's AM
// and PM strings), the zones of the text (hours, minutes, seconds, suffix), the typed-character
// rule, the value in seconds and the zone steps, and the conversions between text and value.
//
// Texts and positions are UTF-16 units, as in the text editor: the zh-CN suffixes "上午" and
// "下午" are two units each and fill the two-unit suffix zone.
#include <string>

#include "platform/rtl/Types.h"
#include "platform/rtl/Variant.h"
#include "toolkit/core/cxFormats.h"

namespace cx {

enum TcxTimeEditTimeFormat { tfHourMinSec, tfHourMin, tfHour };
enum TcxTimeEditZoneKind { tzHour, tzMin, tzSec, tzTimeSuffix };

struct TcxTimeEditZoneInfo {
    TcxTimeEditZoneKind Kind = tzHour;
    int Start = 1;    // 1-based position of the zone's first character
    int Length = 2;
    TcxTimeSuffixKind SuffixKind = tskAMPMString;
    bool Use24HourFormat = true;
};

// The display format ("hh:nn:ss ampm" ...) and the edit mask of a time format and hour form. The
// 12-hour masks are the ones last built by cxTimeEditBuild12HourMasks.
std::string cxTimeEditDisplayFormat(TcxTimeEditTimeFormat format, bool use24HourFormat);
std::string cxTimeEditMask(TcxTimeEditTimeFormat format, bool use24HourFormat);
// Rebuilds the three 12-hour masks from a PM string: the suffix template has " " for each space
// and "c" (an optional character) for anything else, trailing spaces dropped.
void cxTimeEditBuild12HourMasks(const std::u16string& pmString);
// The same from the locale's current PM string.
void cxTimeEditBuild12HourMasks();

// The two suffix strings of a kind: "A"/"P", "AM"/"PM" or the locale's AM and PM strings.
void cxTimeSuffixes(TcxTimeSuffixKind kind, std::u16string& am, std::u16string& pm);

// The zones of a time text under one format.
struct TcxTimeEditLayout {
    TcxTimeEditTimeFormat TimeFormat = tfHourMinSec;
    bool Use24HourFormat = true;
    int MaxLength = 0;

    // The zone of a 1-based position (a separator belongs to the zone after it).
    TcxTimeEditZoneKind GetEditingPlace(int pos) const;
    int GetTimePartPos(TcxTimeEditZoneKind kind) const;
    int GetTimePartLength(TcxTimeEditZoneKind) const { return 2; }
    TcxTimeEditZoneInfo GetTimeZoneInfo(int pos) const;
    // The digits part's length: 8, 5 or 2.
    int DigitsLength() const { return 8 - 3 * int(TimeFormat); }
    // The seconds of the day a text in the editor's own layout shows.
    int GetValue(const std::u16string& text) const;
    // One step in a zone in seconds (the suffix toggles AM and PM: +-43200 by the current value).
    double GetZoneIncrement(TcxTimeEditZoneKind zone, double increment, bool forward, int currentValue) const;
    // The display text of a time of day (the fraction's absolute value).
    std::u16string FormatTime(TDateTime time) const;
    // The time of day of a text: the digits part, an "hh" text completed to "hh:00", the suffix
    // deciding AM or PM in 12-hour form. Empty or unreadable: false.
    bool TryTextToTime(const std::u16string& text, TDateTime& time) const;
};

// Where a typed character may go and what it becomes (see the zone rules); the text host is
// written directly, the caret kept, before the caret moves. A consumed character becomes 0 with
// the answer true.
class IcxTimeEditTextHost {
public:
    virtual ~IcxTimeEditTextHost() = default;
    virtual std::u16string GetText() = 0;
    // Replaces characters from a 0-based index (the caret stays).
    virtual void ReplaceText(int index, const std::u16string& chars) = 0;
    virtual int GetCaret() = 0;
    virtual void SetCaret(int index) = 0;
};
bool IsCharValidForTimeEdit(IcxTimeEditTextHost& host, char16_t& ch, int pos, const TcxTimeEditZoneInfo& zone);

// Edit value from a text: the time of day plus the date part (its sign kept); a text that does not
// read gives time 0. Non-zero results are date variants, zero the double 0.
Variant cxTimeEditTextToEditValue(const TcxTimeEditLayout& layout, const std::u16string& text, double datePart);
// Display text of an edit value. Null shows an empty text unfocused and the zero time focused; a
// value that cannot be read or formatted shows the same (never the clock's current time), and
// the value itself is left alone. ShowDate adds the date of a value with a day part, unfocused.
std::u16string cxTimeEditDisplayText(const TcxTimeEditLayout& layout, const Variant& editValue, bool focused,
                                     bool showDate = false);

} // namespace cx
