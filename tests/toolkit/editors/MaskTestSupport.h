#pragma once
// A fixed locale for the mask tests: date separator "." and time separator ":", so that a mask's
// "/" visibly turns into the locale's character.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"

class MaskLocaleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto service = std::make_unique<rtl::FixedLocaleService>();
        service->Settings().DateSeparator = '.';
        service->Settings().TimeSeparator = ':';
        service->Settings().DecimalSeparator = ',';
        previous = rtl::SetLocaleService(std::move(service));
    }
    void TearDown() override { rtl::SetLocaleService(std::move(previous)); }

    static std::u16string U(const std::string& s) { return rtl::Utf8ToUtf16(s); }
    static std::string S(const std::u16string& s) { return rtl::Utf16ToUtf8(s); }

    std::unique_ptr<rtl::ILocaleService> previous;
};
