#pragma once
// A fixed zh-CN locale service (clock standing still) for the date and format tests, and an
// en-US variant. The format controller is rebuilt for each test so it derives from the service.
#include <gtest/gtest.h>

#include "platform/rtl/Locale.h"
#include "toolkit/core/cxDateUtils.h"
#include "toolkit/core/cxFormats.h"

class DateLocaleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto service = std::make_unique<rtl::FixedLocaleService>(rtl::EncodeDate(2024, 3, 13) + rtl::EncodeTime(10, 30, 0, 0));
        fixed = service.get();
        previous = rtl::SetLocaleService(std::move(service));
        cx::cxFormatsUnit::Finalize();
    }
    void TearDown() override
    {
        cx::cxFormatsUnit::Finalize();
        rtl::SetLocaleService(std::move(previous));
    }

    // Switches the fixed service to the conventions of en-US.
    void UseEnglishUS()
    {
        rtl::TFormatSettings& fs = fixed->Settings();
        fs.DateSeparator = '/';
        fs.ShortDateFormat = "M/d/yyyy";
        fs.LongDateFormat = "dddd, MMMM d, yyyy";
        fs.TimeAMString = "AM";
        fs.TimePMString = "PM";
        fs.LongTimeFormat = "h:mm:ss AM/PM";
        fs.ShortTimeFormat = "h:mm AM/PM";
        fs.CurrencyString = "$";
        fs.NegCurrFormat = 0;
        static const char* const months[12] = {"January", "February", "March", "April", "May", "June",
                                               "July", "August", "September", "October", "November", "December"};
        static const char* const days[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
        for (int i = 0; i < 12; ++i) {
            fs.LongMonthNames[i] = months[i];
            fs.ShortMonthNames[i] = std::string(months[i]).substr(0, 3);
        }
        for (int i = 0; i < 7; ++i) {
            fs.LongDayNames[i] = days[i];
            fs.ShortDayNames[i] = std::string(days[i]).substr(0, 3);
        }
        fixed->SetLocaleInfo(rtl::LOCALE_STIMEFORMAT, "h:mm:ss tt");
        fixed->SetLocaleInfo(rtl::LOCALE_IFIRSTDAYOFWEEK, "6");
        for (int i = 0; i < 7; ++i)
            fixed->SetLocaleInfo(rtl::LOCALE_SABBREVDAYNAME1 + i, std::string(days[(i + 1) % 7]).substr(0, 3));
        for (int i = 0; i < 12; ++i)
            fixed->SetLocaleInfo(rtl::LOCALE_SMONTHNAME1 + i, months[i]);
        fixed->SetLocaleInfo(rtl::LOCALE_SYEARMONTH, "MMMM yyyy");
        cx::cxFormatsUnit::Finalize();
    }

    static rtl::TDateTime D(int y, int m, int d) { return rtl::EncodeDate(y, m, d); }

    rtl::FixedLocaleService* fixed = nullptr;
    std::unique_ptr<rtl::ILocaleService> previous;
};
