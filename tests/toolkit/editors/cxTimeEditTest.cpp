// The time editor's rules under a fixed zh-CN locale (suffixes 上午 and 下午, two UTF-16 units
// each): zones, the typed-character rule, seconds and suffix steps, the 12-hour masks and the
// conversions, which never show the clock's time for a value they cannot read.
#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/editors/cxMaskEdit.h"
#include "toolkit/editors/cxTimeEdit.h"

#include <gtest/gtest.h>

using namespace cx;

namespace {

// A text buffer with a caret that applies a character the rule left, as the mask mode would.
struct TextHost : IcxTimeEditTextHost {
    std::u16string text;
    int caret = 0;
    std::u16string GetText() override { return text; }
    void ReplaceText(int index, const std::u16string& chars) override { text.replace(std::size_t(index), chars.size(), chars); }
    int GetCaret() override { return caret; }
    void SetCaret(int index) override { caret = index; }
    // Types at the caret: the rule first, then the mask writes what is left and moves on.
    bool Type(char16_t ch, const TcxTimeEditLayout& layout)
    {
        const int pos = caret + 1;
        if (!IsCharValidForTimeEdit(*this, ch, pos, layout.GetTimeZoneInfo(pos)))
            return false;
        if (ch) {
            text[std::size_t(caret)] = ch;
            ++caret;
        }
        return true;
    }
};

class TimeEditRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The zh-CN profile: ":" between the parts, 上午 and 下午 as the suffixes.
        old = rtl::SetLocaleService(std::make_unique<rtl::FixedLocaleService>(46000.75));
        cxTimeEditBuild12HourMasks();
    }
    void TearDown() override { rtl::SetLocaleService(std::move(old)); }
    static TcxTimeEditLayout Layout(TcxTimeEditTimeFormat f, bool h24)
    {
        TcxTimeEditLayout l;
        l.TimeFormat = f;
        l.Use24HourFormat = h24;
        return l;
    }
    std::unique_ptr<rtl::ILocaleService> old;
};

TEST_F(TimeEditRules, ZonesOfPositionsOneToEleven)
{
    // H, N, S, or X for the suffix; a separator belongs to the zone after it.
    struct Row {
        TcxTimeEditTimeFormat format;
        bool h24;
        const char* zones;   // positions 1..11
    } rows[] = {
        {tfHourMinSec, true, "HHNNNSSSSSS"}, {tfHourMin, true, "HHNNNNNNNNN"}, {tfHour, true, "HHHHHHHHHHH"},
        {tfHourMinSec, false, "HHNNNSSSXXX"}, {tfHourMin, false, "HHNNNXXXXXX"}, {tfHour, false, "HHXXXXXXXXX"},
    };
    for (const Row& r : rows) {
        const TcxTimeEditLayout l = Layout(r.format, r.h24);
        std::string got;
        for (int pos = 1; pos <= 11; ++pos)
            got += "HNSX"[l.GetEditingPlace(pos)];
        EXPECT_EQ(got, r.zones) << r.format << " " << r.h24;
    }
    const TcxTimeEditLayout l = Layout(tfHourMin, false);
    EXPECT_EQ(l.GetTimeZoneInfo(7).Start, 7);   // the suffix of "hh:nn ampm"
    EXPECT_EQ(l.GetTimeZoneInfo(4).Start, 4);
}

TEST_F(TimeEditRules, TypedDigitsAndSuffixes)
{
    struct Row {
        TcxTimeEditTimeFormat format;
        bool h24;
        const char16_t* before;
        int caret;
        char16_t typed;
        bool valid;
        const char16_t* after;
        int caretAfter;
    } rows[] = {
        {tfHourMinSec, true, u"05:00:00", 0, u'7', true, u"07:00:00", 2},
        {tfHourMinSec, true, u"05:00:00", 0, u'2', true, u"20:00:00", 1},
        {tfHourMinSec, true, u"05:00:00", 0, u'1', true, u"15:00:00", 1},
        {tfHourMinSec, false, u"10:00:00 上午", 0, u'0', true, u"01:00:00 上午", 1},
        {tfHourMinSec, false, u"01:00:00 上午", 1, u'0', false, u"01:00:00 上午", 1},
        {tfHourMinSec, true, u"00:00:00", 3, u'6', true, u"00:06:00", 5},
        {tfHourMinSec, true, u"00:59:00", 4, u'0', true, u"00:50:00", 5},
        // The first suffix character chooses: 下 gives PM, 上 AM; anything else is refused.
        {tfHourMinSec, false, u"11:15:00 上午", 9, u'下', true, u"11:15:00 下午", 11},
        {tfHourMin, false, u"11:15 下午", 6, u'上', true, u"11:15 上午", 8},
        {tfHourMinSec, false, u"11:15:00 上午", 9, u'x', false, u"11:15:00 上午", 9},
        // The second only takes the character already there.
        {tfHourMinSec, false, u"11:15:00 上午", 10, u'午', true, u"11:15:00 上午", 11},
        {tfHourMinSec, false, u"11:15:00 上午", 10, u'上', false, u"11:15:00 上午", 10},
    };
    for (const Row& r : rows) {
        TextHost host;
        host.text = r.before;
        host.caret = r.caret;
        EXPECT_EQ(host.Type(r.typed, Layout(r.format, r.h24)), r.valid) << Utf16ToUtf8(r.before) << " " << r.caret;
        EXPECT_EQ(host.text, r.after) << Utf16ToUtf8(r.before) << " " << r.caret;
        EXPECT_EQ(host.caret, r.caretAfter) << Utf16ToUtf8(r.before) << " " << r.caret;
    }
}

TEST_F(TimeEditRules, LatinSuffixesIgnoreCase)
{
    TextHost host;
    host.text = u"11:15:00 AM";
    host.caret = 9;
    TcxTimeEditZoneInfo zone = Layout(tfHourMinSec, false).GetTimeZoneInfo(10);
    zone.SuffixKind = tskAMPM;
    char16_t ch = u'p';
    EXPECT_TRUE(IsCharValidForTimeEdit(host, ch, 10, zone));
    EXPECT_EQ(host.text, u"11:15:00 PM");
    ch = u'x';
    EXPECT_FALSE(IsCharValidForTimeEdit(host, ch, 11, zone));
    ch = u'm';
    EXPECT_TRUE(IsCharValidForTimeEdit(host, ch, 11, zone));
    EXPECT_EQ(ch, u'M');
}

TEST_F(TimeEditRules, SecondsAndSteps)
{
    const TcxTimeEditLayout twelve = Layout(tfHourMinSec, false);
    EXPECT_EQ(twelve.GetValue(u"12:30:00 上午"), 1800);
    EXPECT_EQ(twelve.GetValue(u"12:30:00 下午"), 45000);
    EXPECT_EQ(twelve.GetValue(u"11:15:00 上午") + twelve.GetZoneIncrement(tzTimeSuffix, 1, true, 40500), 83700);
    EXPECT_EQ(twelve.GetZoneIncrement(tzTimeSuffix, -1, false, 83700), -43200);   // PM back to AM
    EXPECT_EQ(twelve.GetZoneIncrement(tzTimeSuffix, 1, true, 83700), -43200);     // and forward too

    const TcxTimeEditLayout day = Layout(tfHourMinSec, true);
    EXPECT_EQ(day.GetValue(u"23:30:00"), 84600);
    EXPECT_EQ(day.GetZoneIncrement(tzHour, 1, true, 0), 3600);
    EXPECT_EQ(day.GetZoneIncrement(tzMin, -10, false, 0), -600);
    EXPECT_EQ(Layout(tfHour, true).GetValue(u"09"), 32400);
}

TEST_F(TimeEditRules, TwelveHourMasksFollowThePmString)
{
    EXPECT_EQ(cxTimeEditMask(tfHourMinSec, false), "00:00:00 cc;1;0");   // 下午
    cxTimeEditBuild12HourMasks(u"P.M.");
    EXPECT_EQ(cxTimeEditMask(tfHourMinSec, false), "00:00:00 cccc;1;0");
    EXPECT_EQ(cxTimeEditMask(tfHourMin, false), "00:00 cccc;1;0");
    EXPECT_EQ(cxTimeEditMask(tfHour, false), "00 cccc;1;0");
    cxTimeEditBuild12HourMasks(u"pm ");
    EXPECT_EQ(cxTimeEditMask(tfHour, false), "00 cc;1;0");
    EXPECT_EQ(cxTimeEditMask(tfHour, true), "00;1;0");
}

TEST_F(TimeEditRules, ConversionsKeepTheDateAndNeverShowTheClock)
{
    const TcxTimeEditLayout day = Layout(tfHourMinSec, true);
    // Text to value: the time plus the date part (a negative date counts the time away from 0).
    EXPECT_DOUBLE_EQ(cxTimeEditTextToEditValue(day, u"06:00:00", 45000).ToDouble(), 45000.25);
    EXPECT_DOUBLE_EQ(cxTimeEditTextToEditValue(day, u"06:00:00", -2).ToDouble(), -2.25);
    EXPECT_EQ(cxTimeEditTextToEditValue(day, u"junk", 0).ToDouble(), 0.0);
    EXPECT_DOUBLE_EQ(cxTimeEditTextToEditValue(Layout(tfHour, true), u"09", 0).ToDouble(), 0.375);
    const TcxTimeEditLayout twelve = Layout(tfHourMinSec, false);
    EXPECT_DOUBLE_EQ(cxTimeEditTextToEditValue(twelve, u"01:30:00 下午", 0).ToDouble(), 13.5 / 24);

    // Value to text.
    EXPECT_EQ(cxTimeEditDisplayText(day, Variant::FromDate(45000.75), true), u"18:00:00");
    EXPECT_EQ(cxTimeEditDisplayText(twelve, Variant::FromDate(0.75), false), u"06:00:00 下午");
    EXPECT_EQ(cxTimeEditDisplayText(day, Variant::MakeNull(), false), u"");
    EXPECT_EQ(cxTimeEditDisplayText(day, Variant::MakeNull(), true), u"00:00:00");
    // Values that do not read show what Null shows, never the clock's 18:00.
    for (const Variant& bad : {Variant(std::string("not a time")), Variant(1e300)}) {
        EXPECT_EQ(cxTimeEditDisplayText(day, bad, false), u"");
        EXPECT_EQ(cxTimeEditDisplayText(day, bad, true), u"00:00:00");
    }
}

} // namespace

// ---- the control on its real field ----

#include "tests/toolkit/editors/TextEditorsTestSupport.h"

#include "tests/common/TestPictures.h"

namespace {

class TimeEditControlTest : public TextFamilyTest {
protected:
    void SetUp() override
    {
        old = rtl::SetLocaleService(std::make_unique<rtl::FixedLocaleService>(46000.75));
        TextFamilyTest::SetUp();
        cxMaskEditUnit::Initialize();
        cxSpinEditUnit::Initialize();
        cxTimeEditUnit::Initialize();
        edit = Place(new TcxTimeEdit(form), 10);
    }
    void TearDown() override
    {
        TextFamilyTest::TearDown();
        cxTimeEditUnit::Finalize();
        cxSpinEditUnit::Finalize();
        cxMaskEditUnit::Finalize();
        rtl::SetLocaleService(std::move(old));
    }
    void Show(const std::u16string& text, int caret)
    {
        Focus(edit);
        edit->SetText(Utf16ToUtf8(text));
        edit->SetSelection(caret, 0);
    }
    std::unique_ptr<rtl::ILocaleService> old;
    TcxTimeEdit* edit = nullptr;
};

TEST_F(TimeEditControlTest, StepsStayWithinTheDayUnlessCircular)
{
    Show(u"23:30:00", 0);
    Key(edit, Qt::Key_Up);
    EXPECT_EQ(edit->Text(), "23:30:00");
    EXPECT_EQ(edit->SelStart(), 1);   // the hour's second digit is selected even so
    edit->Properties()->SetCircular(true);
    Show(u"23:30:00", 0);
    Key(edit, Qt::Key_Up);
    EXPECT_EQ(edit->Text(), "00:30:00");
    edit->Properties()->SetCircular(false);
    Show(u"00:00:30", 3);
    Key(edit, Qt::Key_Down);
    EXPECT_EQ(edit->Text(), "00:00:30");
}

TEST_F(TimeEditControlTest, TheSuffixStepTogglesAndIsSelected)
{
    edit->Properties()->SetUse24HourFormat(false);
    Show(u"11:15:00 上午", 9);
    Key(edit, Qt::Key_Up);
    EXPECT_EQ(Utf8ToUtf16(edit->Text()), u"11:15:00 下午");
    EXPECT_EQ(edit->GetValue().ToDouble(), 83700);
    EXPECT_EQ(edit->SelStart(), 9);
    EXPECT_EQ(edit->SelLength(), 2);
    Key(edit, Qt::Key_Down);
    EXPECT_EQ(Utf8ToUtf16(edit->Text()), u"11:15:00 上午");
}

TEST_F(TimeEditControlTest, AStringValueInTheEditorsOwnFormIsRead)
{
    // The locale's date-time parser does not know the suffix; the editor's own conversion does.
    edit->Properties()->SetUse24HourFormat(false);
    edit->SetEditValue(Variant(std::string("11:15:00 下午")));
    EXPECT_DOUBLE_EQ(edit->Time(), 23.25 / 24);
    Focus(edit);
    EXPECT_EQ(Utf8ToUtf16(edit->Text()), u"11:15:00 下午");
    EXPECT_EQ(edit->GetValue().ToDouble(), 83700);
}

TEST_F(TimeEditControlTest, TypingTheDatePartAndUnreadableValues)
{
    Show(u"05:00:00", 0);
    Type(edit, "7");
    EXPECT_EQ(edit->Text(), "07:00:00");

    // The day part of the edit value survives setting the time.
    edit->SetEditValue(Variant::FromDate(45000.5));
    edit->SetTime(0.25);
    EXPECT_DOUBLE_EQ(edit->EditValue().ToDouble(), 45000.25);
    Focus(other);
    EXPECT_DOUBLE_EQ(edit->Time(), 0.25);

    // A value that cannot be read shows an empty text, not the clock's 18:00:00.
    edit->SetEditValue(Variant(std::string("junk")));
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(VarToStr(edit->EditValue()), "junk");
}

TEST_F(TimeEditControlTest, FractionsOfASecondAreCutAndTheLongTimeShowsUnfocused)
{
    // 23:59:59.6 is still the last second of the day, focused and not, and steps from there.
    edit->SetEditValue(Variant::FromDate(45000 + (86399.6 / 86400)));
    EXPECT_EQ(edit->Text(), "23:59:59");
    Focus(edit);
    EXPECT_EQ(edit->Text(), "23:59:59");
    edit->SetSelection(6, 0);
    Key(edit, Qt::Key_Down);
    EXPECT_EQ(edit->Text(), "23:59:58");
    edit->SetEditValue(Variant::FromDate(10.0 / 24 + 0.6 / 86400));
    EXPECT_EQ(edit->Text(), "10:00:00");

    // Without the time format an editor that has lost the focus shows the locale's long time.
    edit->Properties()->SetUseTimeFormatWhenUnfocused(false);
    edit->SetEditValue(Variant::FromDate(1.0 / 24 + 5.0 / 1440));
    EXPECT_EQ(edit->Text(), "01:05:00");
    other->SetEditValue(Variant(std::string("离开 left")));
    Focus(other);
    EXPECT_EQ(edit->Text(), "1:05:00");
    SaveTestPicture(form->Peer()->grab().toImage(), "time_edit_long_time_unfocused.png");
    edit->Properties()->SetUseTimeFormatWhenUnfocused(true);
    EXPECT_EQ(edit->Text(), "01:05:00");
}

// The editor's own mask mode: "0" is the blank of the digit zones only, typing runs over the
// separators, and the suffix is chosen by its first character, never blanked.
TEST_F(TimeEditControlTest, TheTimeMaskModeTypesOverZonesAndKeepsTheSuffix)
{
    ASSERT_NE(dynamic_cast<TcxTimeEditMaskMode*>(edit->Mode()), nullptr);
    Show(u"00:00:00", 0);
    Type(edit, "123456");
    EXPECT_EQ(edit->Text(), "12:34:56");
    EXPECT_EQ(edit->MaskText(), "12:34:56");   // its zeros are digits, not blanks
    // A digit that can only be the zone's second one goes there.
    Show(u"05:00:00", 0);
    Type(edit, "9");
    EXPECT_EQ(edit->Text(), "09:00:00");
    EXPECT_EQ(edit->SelStart(), 3);
    Show(u"12:34:56", 3);
    Key(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), "12:04:56");

    edit->Properties()->SetUse24HourFormat(false);
    Show(u"11:15:00 上午", 9);
    Commit(edit, QString::fromUtf8("下"));
    EXPECT_EQ(Utf8ToUtf16(edit->Text()), u"11:15:00 下午");
    EXPECT_EQ(edit->GetValue().ToDouble(), 83700);
    // Delete and Backspace leave the suffix as it is; over digits they write zeros.
    Show(u"11:15:00 下午", 9);
    Key(edit, Qt::Key_Delete);
    Show(u"11:15:00 下午", 11);
    Key(edit, Qt::Key_Backspace);
    EXPECT_EQ(Utf8ToUtf16(edit->Text()), u"11:15:00 下午");
    Show(u"11:15:00 下午", 0);
    edit->SetSelection(0, 11);
    Key(edit, Qt::Key_Delete);
    EXPECT_EQ(Utf8ToUtf16(edit->Text()), u"00:00:00 下午");

    // Unfocused texts in no mask form are the text too: nothing for Null, a date with ShowDate.
    edit->Properties()->SetShowDate(true);
    edit->SetEditValue(Variant::FromDate(45000.75));
    Focus(other);
    const std::string shown = VarToStr(edit->InnerTextEdit()->GetEditValue());
    EXPECT_NE(shown.find("18:00:00"), std::string::npos);
    EXPECT_EQ(edit->Text(), shown);
    EXPECT_EQ(edit->MaskText(), shown);
    edit->SetEditValue(Variant::MakeNull());
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(edit->MaskText(), "");
}

} // namespace
