#include "platform/rtl/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, RoundTripsChineseText)
{
    const std::string text = "非本地址 通信记录 A 相电流选择";
    const std::string gbk = rtl::Utf8ToGbk(text);
    EXPECT_EQ(gbk.substr(0, 8), std::string("\xB7\xC7\xB1\xBE\xB5\xD8\xD6\xB7"));
    EXPECT_EQ(rtl::GbkToUtf8(gbk), text);
}

TEST(CodePage, ReplacesWhatCannotBeConverted)
{
    EXPECT_EQ(rtl::Utf8ToGbk("a\xF0\x9F\x98\x80" "b"), "a?b");
    EXPECT_EQ(rtl::GbkToUtf8("a\x81" "\x20" "b"), "a\xEF\xBF\xBD b");
}
