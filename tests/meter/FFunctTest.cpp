#include "meter/FFunct.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Ascii(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

TEST(FFunctBcd, ByteToBcdAndBackCoverEveryValue)
{
    for (int v = 0; v < 256; ++v) {
        const std::uint8_t bcd = ByteToBcd(static_cast<std::uint8_t>(v));
        if (v < 100) {
            EXPECT_EQ(bcd, (v / 10) * 16 + v % 10) << v;
            EXPECT_EQ(BcdToByte(bcd), v) << v;
        } else {
            EXPECT_EQ(bcd, 0) << v;
        }
    }
    EXPECT_EQ(BcdToByte(0x99), 99);
    EXPECT_EQ(BcdToByte(0xFF), 165);
}

TEST(FFunctBcd, BcdIncByteStepsEveryDecimalValue)
{
    for (int v = 0; v < 100; ++v) {
        std::uint8_t b = ByteToBcd(static_cast<std::uint8_t>(v));
        const std::uint8_t carry = BcdIncByte(b);
        EXPECT_EQ(b, ByteToBcd(static_cast<std::uint8_t>((v + 1) % 100))) << v;
        EXPECT_EQ(carry, v == 99 ? 1 : 0) << v;
    }
}

// Two-byte operands make every pair of digit bytes meet both with and without a carry coming in
// from the byte below.
TEST(FFunctBcd, BcdAddIsDecimalAdditionForAllOperandPairs)
{
    for (int a = 0; a < 100; ++a) {
        for (int b = 0; b < 100; ++b) {
            for (int low : {0, 99}) {
                const std::uint8_t x[2] = {ByteToBcd(static_cast<std::uint8_t>(low)), ByteToBcd(static_cast<std::uint8_t>(a))};
                const std::uint8_t y[2] = {0x01, ByteToBcd(static_cast<std::uint8_t>(b))};
                std::uint8_t out[2];
                const std::uint8_t carry = BcdAdd(x, y, 2, out);
                const int sum = (low + 100 * a) + (1 + 100 * b);
                EXPECT_EQ(out[0], ByteToBcd(static_cast<std::uint8_t>(sum % 100)));
                EXPECT_EQ(out[1], ByteToBcd(static_cast<std::uint8_t>((sum / 100) % 100))) << a << "+" << b << " low " << low;
                EXPECT_EQ(carry, sum >= 10000 ? 1 : 0) << a << "+" << b << " low " << low;
            }
        }
    }
}

TEST(FFunctBcd, BcdAddInPlaceAndWideCarry)
{
    std::uint8_t a[3] = {0x88, 0x00, 0x00};
    const std::uint8_t b[3] = {0x88, 0x00, 0x00};
    EXPECT_EQ(BcdAdd(a, b, 3, a), 0);
    EXPECT_EQ(Bytes(a, a + 3), (Bytes{0x76, 0x01, 0x00}));

    std::uint8_t nines[4] = {0x99, 0x99, 0x99, 0x99};
    const std::uint8_t one[4] = {0x01, 0x00, 0x00, 0x00};
    std::uint8_t out[4];
    EXPECT_EQ(BcdAdd(nines, one, 4, out), 1);
    EXPECT_EQ(Bytes(out, out + 4), (Bytes{0, 0, 0, 0}));

    // Second operand as the output.
    std::uint8_t c[1] = {0x09};
    EXPECT_EQ(BcdAdd(one, c, 1, c), 0);
    EXPECT_EQ(c[0], 0x10);
}

TEST(FFunctBytes, CopyFillAddSum)
{
    std::uint8_t buf[6] = {1, 2, 3, 4, 5, 6};
    CopyBytes(buf, buf + 3, 3);
    EXPECT_EQ(Bytes(buf, buf + 6), (Bytes{4, 5, 6, 4, 5, 6}));
    FillBytes(buf + 4, 0xEE, 2);
    EXPECT_EQ(Bytes(buf, buf + 6), (Bytes{4, 5, 6, 4, 0xEE, 0xEE}));
    AddToBytes(buf, 0x33, 6);
    EXPECT_EQ(Bytes(buf, buf + 6), (Bytes{0x37, 0x38, 0x39, 0x37, 0x21, 0x21}));
    AddToBytes(buf, 0xCD, 6);  // takes the 0x33 back off
    EXPECT_EQ(Bytes(buf, buf + 6), (Bytes{4, 5, 6, 4, 0xEE, 0xEE}));
    EXPECT_EQ(ByteSum(buf, 6), (4 + 5 + 6 + 4 + 0xEE + 0xEE) & 0xFF);
    EXPECT_EQ(ByteSum(buf, 0), 0);
    FillBytes(buf, 0, 0);  // a count of 0 does nothing
    EXPECT_EQ(buf[0], 4);
}

TEST(FFunctText, ByteDumps)
{
    const std::uint8_t b[] = {0x0A, 0x1B, 0xFF};
    EXPECT_EQ(BytesToHex(b, 3), "0A1BFF");
    EXPECT_EQ(BytesToHexReversed(b, 3), "FF1B0A");
    EXPECT_EQ(BytesToHexSpaced(b, 3), "0A 1B FF ");
    const std::uint8_t frameEnds[] = {0x68, 0x16};
    EXPECT_EQ(BytesToHexSpaced(frameEnds, 2), "68 16 ");
    EXPECT_EQ(BytesToHex(b, 0), "");

    const std::uint8_t d[] = {1, 123, 7};
    EXPECT_EQ(BytesToDec(d, 2), "0112");  // 123 pushes a digit past the cut
    EXPECT_EQ(BytesToDec(d + 2, 1), "07");
    EXPECT_EQ(BytesToDec(d, 0), "");
}

struct ParseCase {
    const char* text;
    Bytes expected;
};

Bytes Parse(int (*parse)(const std::string&, std::uint8_t*, std::size_t, int), const std::string& text,
          std::size_t capacity = 16, int base = 16)
{
    std::uint8_t out[16];
    std::fill(out, out + 16, 0xEE);
    const int n = parse(text, out, capacity, base);
    // Nothing outside the written bytes is touched.
    for (int i = n; i < 16; ++i)
        EXPECT_EQ(out[i], 0xEE) << "byte " << i << " of \"" << text << "\"";
    return Bytes(out, out + n);
}

TEST(FFunctText, HexToBytesInBothOrders)
{
    const ParseCase forward[] = {
        {"", {}}, {"123", {0x01, 0x23}}, {"0A1b", {0x0A, 0x1B}}, {"7", {0x07}}, {"zz12", {0x00, 0x12}},
    };
    for (const auto& c : forward)
        EXPECT_EQ(Parse(HexToBytes, c.text), c.expected) << c.text;
    const ParseCase reversed[] = {
        {"", {}}, {"123", {0x23, 0x01}}, {"112233445566", {0x66, 0x55, 0x44, 0x33, 0x22, 0x11}},
    };
    for (const auto& c : reversed)
        EXPECT_EQ(Parse(HexToBytesReversed, c.text), c.expected) << c.text;
    // Decimal pairs, as the fixed running rate reads them.
    EXPECT_EQ(Parse(HexToBytes, "0099", 16, 10), (Bytes{0, 99}));
}

TEST(FFunctText, ParseHexTextForms)
{
    const ParseCase cases[] = {
        {"1234", {0x34, 0x12}},
        {"  AB CD  ", {0xAB, 0xCD}},
        {"", {}},
        {"    ", {}},
        {"\t\r\n", {}},
        {"12 34 5", {0x12, 0x34, 0x50}},
        {"1 2 3", {0x01, 0x02}},
        {"123456789012", {0x12, 0x90, 0x78, 0x56, 0x34, 0x12}},
        {"1", {0x10}},
        {"123", {0x12}},
        {"68 11 22", {0x68, 0x11, 0x22}},
        {"0x 12", {0x00, 0x12}},  // no "0x" prefix is read
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse(ParseHexText, c.text), c.expected) << '"' << c.text << '"';
}

TEST(FFunctText, ParsersNeverWritePastTheirCapacity)
{
    EXPECT_EQ(Parse(HexToBytes, "112233", 2), (Bytes{0x11, 0x22}));
    EXPECT_EQ(Parse(HexToBytesReversed, "112233", 2), (Bytes{0x33, 0x22}));
    EXPECT_EQ(Parse(ParseHexText, "11 22 33", 2), (Bytes{0x11, 0x22}));
    // A run of digits keeps its least significant pairs.
    EXPECT_EQ(Parse(ParseHexText, "112233", 2), (Bytes{0x33, 0x22}));
    EXPECT_EQ(Parse(ParseHexText, "11 22", 0), Bytes{});
}

TEST(FFunctText, HexByteAndPadding)
{
    EXPECT_EQ(HexByte(""), 0);
    EXPECT_EQ(HexByte("1234"), 0x12);
    EXPECT_EQ(HexByte("123"), 0x01);
    EXPECT_EQ(HexByte("ff"), 0xFF);
    EXPECT_EQ(HexByte("42", 10), 42);

    EXPECT_EQ(PadLeftZeros("12345", 4), "1234");
    EXPECT_EQ(PadLeftZeros("12", 4), "0012");
    EXPECT_EQ(PadLeftZeros("", 6), "000000");
    EXPECT_EQ(PadLeftZeros("12", 260), "0012");  // n modulo 256
    EXPECT_EQ(PadLeftZeros("12", 0), "");
}

TEST(FFunctKeys, SingleKeyFilters)
{
    struct Row {
        char key;
        bool digit;
        bool hex;
    };
    const Row rows[] = {
        {'0', true, true},   {'9', true, true},   {'a', false, true}, {'F', false, true},
        {'g', false, false}, {'G', false, false}, {' ', false, false}, {'.', false, false},
        {'\b', true, true},  {'\x03', true, true}, {'\xE4', false, false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(DigitKeyPasses(r.key), r.digit) << int(r.key);
        EXPECT_EQ(HexKeyPasses(r.key), r.hex) << int(r.key);
        char k = r.key;
        HexKeyFilter(k);
        EXPECT_EQ(k, r.hex ? r.key : 0);
        k = r.key;
        DigitKeyFilter(k);
        EXPECT_EQ(k, r.digit ? r.key : 0);
    }
}

TEST(FFunctKeys, AmountKeys)
{
    EXPECT_TRUE(AmountKeyPasses("123456", '.'));
    EXPECT_FALSE(AmountKeyPasses("123456", '7'));
    EXPECT_FALSE(AmountKeyPasses("12", '.'));
    EXPECT_TRUE(AmountKeyPasses("12", '3'));
    EXPECT_TRUE(AmountKeyPasses("123456.", '7'));
    EXPECT_FALSE(AmountKeyPasses("123456.7", '.'));
    EXPECT_FALSE(AmountKeyPasses("1", 'x'));
    EXPECT_TRUE(AmountKeyPasses("123456", '\b'));
}

TEST(FFunctKeys, FilterKeyEditsTheText)
{
    struct Row {
        TKeyFilterKind kind;
        const char* text0;  // the edit before the key: text, caret, selection
        int cursor0, selStart0, selLength0;
        char key;
        bool accepted;
        std::string text;
        int cursor;
    };
    const Row rows[] = {
        {TKeyFilterKind::Hex, "12", 2, 0, 0, 'a', true, "12a", 3},
        {TKeyFilterKind::Hex, "12", 2, 0, 0, 'x', false, "12", 2},
        {TKeyFilterKind::Digit, "12", 1, 0, 0, '5', true, "152", 2},
        {TKeyFilterKind::Digit, "1234", 4, 1, 2, '9', true, "194", 2},   // replaces the selection
        {TKeyFilterKind::Digit, "1234", 2, 0, 0, '\b', true, "134", 1},
        {TKeyFilterKind::Digit, "1234", 4, 0, 4, '\b', true, "", 0},
        {TKeyFilterKind::Digit, "12", 0, 0, 0, '\b', true, "12", 0},
        {TKeyFilterKind::HexSpaced, "12", 2, 0, 0, '3', true, "12 3", 4},
        {TKeyFilterKind::HexSpaced, "12 3", 4, 0, 0, '4', true, "12 34", 5},
        {TKeyFilterKind::HexSpaced, "12 34", 5, 0, 0, 'A', true, "12 34 A", 7},
        {TKeyFilterKind::HexSpaced, "12 34", 5, 3, 2, 'B', true, "12 B", 4},
        {TKeyFilterKind::HexSpaced, "12", 2, 0, 0, ' ', false, "12", 2},
        {TKeyFilterKind::Amount, "123456", 6, 0, 0, '.', true, "123456.", 7},
        {TKeyFilterKind::Amount, "123456", 6, 0, 0, '7', false, "123456", 6},
    };
    for (const Row& r : rows) {
        const TEditState before{r.text0, r.cursor0, r.selStart0, r.selLength0};
        const TKeyResult result = FilterKey(r.kind, before, r.key);
        EXPECT_EQ(result.Accepted, r.accepted) << before.Text << " + " << int(r.key);
        EXPECT_EQ(result.Text, r.text) << before.Text << " + " << int(r.key);
        EXPECT_EQ(result.Cursor, r.cursor) << before.Text << " + " << int(r.key);
    }
}

TEST(FFunctCrc, X25CheckValues)
{
    const Bytes check = Ascii("123456789");
    EXPECT_EQ(Crc16X25(check.data(), 9), 0x906E);
    const Bytes abc = Ascii("abc");
    EXPECT_EQ(Crc16X25(abc.data(), 3), 0x9E25);
    EXPECT_EQ(Crc16X25(nullptr, 0), 0x0000);
}

}  // namespace

// The texts' formatter writes what printf would, for every value an argument can take.
TEST(FFunct, FormatTextMatchesPrintf)
{
    const char* formats[] = {"%02X", "%02x", "%02d", "表号:%02x%02X ", "上%02d次%%", "T%02d电能"};
    for (const char* format : formats) {
        for (int v : {0, 5, 9, 10, 15, 99, 100, 255, 256, 4096, -1, -5, -10, -123}) {
            char expected[64];
            std::snprintf(expected, sizeof expected, format, v, v);
            EXPECT_EQ(FormatText(format, v, v), expected) << format << " " << v;
        }
    }
    EXPECT_EQ(FormatText("plain"), "plain");
    EXPECT_EQ(FormatText("%5d|%02d", 7), "%5d|07");  // other conversions stand as written
}
