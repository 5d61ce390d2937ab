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

// Which stored texts read as GBK: what is not UTF-8, and GBK that happens to be UTF-8 of the
// two-byte range only; Chinese in UTF-8 (three-byte characters) and ASCII stay as they are.
TEST(CodePage, StoredTextsAreToldGbkFromUtf8)
{
    const struct {
        const char* name;
        std::string bytes;
        bool gbk;
    } cases[] = {
        {"ASCII", "Meter 12", false},
        {"UTF-8 Chinese", "读数 平", false},
        {"UTF-8 Chinese and a degree sign", "25°C 东区", false},
        {"GBK Chinese", rtl::Utf8ToGbk("读数 东区%"), true},
        {"GBK that is valid UTF-8", rtl::Utf8ToGbk("平"), true},   // C6 BD
        {"a lone lead byte", "\xD6", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rtl::IsGbkStoredText(c.bytes), c.gbk) << c.name;
    EXPECT_TRUE(rtl::GbkKeepsStoredTexts({"东区%", "平", "Reading"}));
    EXPECT_FALSE(rtl::GbkKeepsStoredTexts({"东区", "表😀"}));   // no such character in GBK
}
