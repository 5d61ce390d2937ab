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
#include "toolkit/editors/cxSpinEdit.h"

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

// A text editor's field as the rule's host (the time editor's and the date editor's time zones).
class TcxTextEditTimeHost : public IcxTimeEditTextHost {
public:
    explicit TcxTextEditTimeHost(TcxCustomTextEdit* edit) : edit_(edit) {}
    std::u16string GetText() override;
    void ReplaceText(int index, const std::u16string& chars) override;
    int GetCaret() override;
    void SetCaret(int index) override;
    // The rule for a character typed at a 1-based position; a digit the rule moved on to the
    // zone's second digit is written there at once (the mask would write it where typing began).
    bool TypeChar(char16_t& ch, int position, const TcxTimeEditZoneInfo& zone);

private:
    TcxCustomTextEdit* edit_;
};

// Edit value from a text: the time of day plus the date part (its sign kept); a text that does not
// read gives time 0. Non-zero results are date variants, zero the double 0.
Variant cxTimeEditTextToEditValue(const TcxTimeEditLayout& layout, const std::u16string& text, double datePart);
// Display text of an edit value. Null shows an empty text unfocused and the zero time focused; a
// value that cannot be read or formatted shows the same (never the clock's current time), and
// the value itself is left alone. ShowDate adds the date of a value with a day part, unfocused;
// without the time format an unfocused editor shows the locale's long time form.
std::u16string cxTimeEditDisplayText(const TcxTimeEditLayout& layout, const Variant& editValue, bool focused,
                                     bool showDate = false, bool useTimeFormatWhenUnfocused = true);

// ---- the mask mode ---------------------------------------------------------------------------------

// The standard mode over a time mask. "0" is the blank of the digit zones only: Delete writes
// zeros there and leaves the suffix as it is (its characters are chosen, never blanked). The
// zones follow from the compiled mask (the digits end at its first space literal; a mask without
// one is the 24-hour form), so the mode also serves without a control.
class TcxTimeEditMaskMode : public TcxMaskEditStandardMode {
    RTL_CLASS(TcxTimeEditMaskMode, TcxMaskEditStandardMode)
    using TcxMaskEditStandardMode::TcxMaskEditStandardMode;
    void Compile(const std::u16string& mask) override;
    char16_t GetBlank(int index) const override;
    // A time text has nothing to reduce: its zeros are digits and its suffix is chosen, and what
    // an unfocused editor shows (nothing, a date) is in no mask form at all. So the updated text,
    // and with it the editor's Text, is the text as shown.
    std::u16string GetUpdatedText(const std::u16string& text) override { return text; }
    const TcxTimeEditLayout& Layout() const { return layout_; }

private:
    TcxTimeEditLayout layout_;
};

// ---- the control ----------------------------------------------------------------------------------

class TcxCustomTimeEditProperties : public TcxCustomSpinEditProperties {
    RTL_CLASS(TcxCustomTimeEditProperties, TcxCustomSpinEditProperties)
    explicit TcxCustomTimeEditProperties(TPersistent* owner);
    void Assign(TPersistent* source) override;

    TcxTimeEditTimeFormat TimeFormat() const { return timeFormat_; }
    void SetTimeFormat(TcxTimeEditTimeFormat value);
    bool Use24HourFormat() const { return use24HourFormat_; }
    void SetUse24HourFormat(bool value);
    bool ShowDate() const { return showDate_; }
    void SetShowDate(bool value);
    bool UseTimeFormatWhenUnfocused() const { return useTimeFormatWhenUnfocused_; }
    void SetUseTimeFormatWhenUnfocused(bool value);
    bool AutoCorrectHours() const { return autoCorrectHours_; }
    void SetAutoCorrectHours(bool value) { autoCorrectHours_ = value; }
    TcxTimeEditLayout Layout() const;
    void UpdateEditMask();

    void PrepareDisplayValue(const Variant& editValue, Variant& displayValue, bool editFocused) override;
    bool IsDisplayValueValid(Variant& displayValue, bool editFocused) override;
    bool IsEditValueValid(Variant& editValue, bool editFocused) override;
    void ValidateDisplayValue(Variant& displayValue, std::string& errorText, bool& error,
                              IcxEditValidationTarget* edit) override;
    std::string DefaultFocusedDisplayValue() override;
    bool IsEditValueNumeric() override { return false; }
    bool IsDisplayValueNumeric() const override { return false; }
    bool ExtendValueUpToBound() const override { return false; }
    bool PreserveSelection() const override { return true; }
    Variant PrepareValue(const Variant&) const override { return Variant(0); }
    void FormatChanged() override;
    const TClassMeta* GetContainerClass() const override;
    TcxMaskEditModeClass GetModeClass(TcxEditMaskKind kind) const override;

private:
    TcxTimeEditTimeFormat timeFormat_ = tfHourMinSec;
    bool use24HourFormat_ = true;
    bool showDate_ = false;
    bool useTimeFormatWhenUnfocused_ = true;
    bool autoCorrectHours_ = true;
};

class TcxTimeEditProperties : public TcxCustomTimeEditProperties {
    RTL_CLASS(TcxTimeEditProperties, TcxCustomTimeEditProperties)
    using TcxCustomTimeEditProperties::TcxCustomTimeEditProperties;
};

class TcxCustomTimeEdit : public TcxCustomSpinEdit {
    RTL_CLASS(TcxCustomTimeEdit, TcxCustomSpinEdit)
    explicit TcxCustomTimeEdit(TComponent* owner, bool isInplace = false);
    TcxCustomTimeEditProperties* ActiveProperties() const
    {
        return static_cast<TcxCustomTimeEditProperties*>(TcxCustomSpinEdit::ActiveProperties());
    }
    TcxCustomTimeEditProperties* Properties() const
    {
        return static_cast<TcxCustomTimeEditProperties*>(TcxCustomSpinEdit::Properties());
    }

    // The time of day; the date part of the edit value is kept.
    TDateTime Time();
    void SetTime(TDateTime value);
    TcxTimeEditZoneKind EditingPlace();
    double DatePart() const { return datePart_; }

    void Clear() override { SetTime(0); }
    bool IsValidChar(char16_t) override { return true; }
    bool IsCharValidForPos(char16_t& ch, int position) override;
    void PrepareEditValue(const Variant& displayValue, Variant& editValue, bool editFocused) override;
    Variant InternalGetEditingValue() override;
    void InternalSetEditValue(const Variant& value, bool validateEditValue) override;
    double GetIncrement(TcxSpinEditButton button) override;
    Variant GetValue() override;
    std::string IncrementValueToStr(const Variant& value) override;
    void SetValue(const Variant& value) override;
    bool Increment(TcxSpinEditButton button) override;
    void SynchronizeDisplayValue() override;
    // Text is the display value (the mode's updated text is the text as shown); setting it sets
    // the shown text as the text editor does, not the edit value as the masked editor would.
    bool SetDisplayText(const std::string& value) override { return TcxCustomTextEdit::SetDisplayText(value); }

protected:
    TcxCustomTimeEdit(TComponent* owner, bool isInplace, const TcxEditClasses& classes);

private:
    double datePart_ = 0;
};

class TcxTimeEdit : public TcxCustomTimeEdit {
    RTL_CLASS(TcxTimeEdit, TcxCustomTimeEdit)
    explicit TcxTimeEdit(TComponent* owner, bool isInplace = false);
    TcxTimeEditProperties* Properties() const
    {
        return static_cast<TcxTimeEditProperties*>(TcxCustomTimeEdit::Properties());
    }
};

class TcxFilterTimeEditHelper : public TcxFilterSpinEditHelper {
    RTL_CLASS(TcxFilterTimeEditHelper, TcxFilterSpinEditHelper)
    TcxCustomEditClass GetFilterEditClass() const override;
    TcxCustomEditPropertiesClass GetFilterEditPropertiesClass() const override;
    void InitializeEdit(TcxCustomEdit* edit, TcxCustomEditProperties* editProperties) const override;
};

namespace cxTimeEditUnit {
void Initialize();   // the 12-hour masks, the properties class in the editor registry, the filter pair
void Finalize();
} // namespace cxTimeEditUnit

} // namespace cx
