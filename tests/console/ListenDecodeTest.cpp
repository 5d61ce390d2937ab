// Carrier address decoding and the descriptions of Daltrex frames.
#include "ListenTestFrames.h"

#include <gtest/gtest.h>

namespace {

using namespace listen_test;

TCarrierAddress Addr(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d, std::uint8_t e, std::uint8_t f)
{
    return {a, b, c, d, e, f};
}

struct DecodeCase {
    const char* name;
    Bytes input;
    int count;
    int used;  // 0: the decoding fails
    std::vector<TCarrierAddress> expected;
};

TEST(ListenDecode, AddressVectors)
{
    const DecodeCase cases[] = {
        {"one byte", {0x03}, 1, 1, {Last(1)}},
        {"second is a difference", {0x03, 0x07}, 2, 2, {Last(1), Last(2)}},
        {"six bytes", {0x18, 0x44, 0x70, 0x9C, 0xB4, 0x19}, 1, 6, {Addr(12, 34, 56, 78, 90, 12)}},
        {"broadcast", {0xC9}, 1, 1, {Last(100)}},
        {"wildcard after an address", {0x03, 0xCF}, 2, 2, {Last(1), Last(102)}},
        {"stops after count", {0x03, 0x05, 0x07}, 2, 2, {Last(1), Last(3)}},
        {"value above 99 before the last place", {0xC8, 0x01}, 1, 0, {}},
        {"special value with a non-zero place", {0x02, 0xC9}, 1, 0, {}},
        {"seven bytes", {0, 0, 0, 0, 0, 0, 0x01}, 1, 0, {}},
        {"no end mark before the input ends", {0x02}, 1, 0, {}},
        {"second address missing", {0x03}, 2, 0, {}},
    };
    for (const DecodeCase& c : cases) {
        std::vector<TCarrierAddress> decoded(4, TCarrierAddress{});
        int count = c.count;
        EXPECT_EQ(DecodeCarrierAddresses(decoded, c.input, count), c.used) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(decoded[i], c.expected[i]) << c.name << " address " << i;
    }
}

TEST(ListenDecode, RoundTripOfEncodedLists)
{
    const std::vector<TCarrierAddress> addresses{
        Addr(12, 34, 56, 78, 90, 12), Addr(12, 34, 56, 78, 90, 12), Last(5), Addr(99, 0, 0, 0, 0, 1),
        Last(101), Addr(0, 0, 0, 7, 0, 0),
    };
    const Bytes input = EncodeAddresses(addresses);
    std::vector<TCarrierAddress> decoded(addresses.size(), TCarrierAddress{});
    int count = static_cast<int>(addresses.size());
    EXPECT_EQ(DecodeCarrierAddresses(decoded, input, count), static_cast<int>(input.size()));
    EXPECT_EQ(decoded, addresses);
}

TEST(ListenDecode, RefusesMoreAddressesThanSlots)
{
    std::vector<TCarrierAddress> decoded(1, TCarrierAddress{});
    int count = 2;
    const Bytes input{0x03, 0x05};
    EXPECT_EQ(DecodeCarrierAddresses(decoded, input, count), 0);
}

// Offset 2 of a command: bit 7, phase in bits 5..4, bit 1 half of the rate (or the directed
// read's level in bits 3..0); offset 3: bit 7 the other half of the rate, level in bits 6..3,
// bit 1 the directed read.
Bytes CommandBody(std::uint8_t c2, std::uint8_t c3, const std::vector<TCarrierAddress>& addresses, Bytes before = {})
{
    return Cat({{c2, c3}, before, EncodeAddresses(addresses)});
}

struct DescribeCase {
    const char* name;
    Bytes frame;
    std::string expected;
};

TEST(ListenDescribe, CommandTexts)
{
    const std::vector<TCarrierAddress> three{Last(1), Last(2), Last(3)};
    const DescribeCase cases[] = {
        {"1200", Daltrex(CommandBody(0x82, 0x88, three)), "命令帧,载波速率1200bps,中级级别1,目的地址000000000003"},
        {"600", Daltrex(CommandBody(0x80, 0x88, three)), "命令帧,载波速率600bps,中级级别1,目的地址000000000003"},
        {"100", Daltrex(CommandBody(0x82, 0x08, three)), "命令帧,载波速率100bps,中级级别1,目的地址000000000003"},
        {"50, level 0", Daltrex(CommandBody(0x80, 0x00, {Last(1), Addr(11, 22, 33, 44, 55, 66)})),
         "命令帧,载波速率50bps,中级级别0,目的地址112233445566"},
        {"directed read", Daltrex(CommandBody(0xA3, 0x02, {Last(1), Addr(11, 22, 33, 44, 55, 66)}, {0x55, 0x55})),
         "命令帧,定向点抄,中级级别3,目的地址112233445566"},
        {"broadcast", Daltrex(CommandBody(0x80, 0x00, {Last(1), Last(100)})), "命令帧,载波速率50bps,中级级别0,广播地址999999999999"},
        {"channel", Daltrex(CommandBody(0x80, 0x00, {Last(1), Last(101)})), "命令帧,载波速率50bps,中级级别0,集中器通道地址"},
        {"wildcard", Daltrex(CommandBody(0x80, 0x00, {Last(1), Last(102)})), "命令帧,载波速率50bps,中级级别0,通配符地址AAAAAAAAAAAA"},
        // The first address has no end mark within six bytes: the last slot is still clear.
        {"undecodable", Daltrex({0x80, 0x00, 0x02, 0x04, 0x06, 0x08, 0x0A, 0x0C, 0x0F}),
         "命令帧,载波速率50bps,中级级别0,目的地址000000000000"},
    };
    for (const DescribeCase& c : cases)
        EXPECT_EQ(DescribeCarrierFrame(c.frame, true, c.frame[1]), c.expected) << c.name;
}

TEST(ListenDescribe, ResponseTexts)
{
    // Offset 2: measured phase in bits 3..2, node kind in bits 1..0; offset 3: the two depths.
    const Bytes event = Daltrex(Cat({{0x2D, 0x5A}, EncodeAddresses({Addr(1, 23, 45, 67, 89, 1), Last(42)}), {0x31}}), 0x96);
    EXPECT_EQ(DescribeCarrierFrame(event, false, event[1]),
              "响应帧,实测C相,单相一体表,源地址000000000042,末级发送节点信号品质/上行定向点抄实际深度:5,"
              "目的节点信号品质/下行定向点抄实际深度:10,命令状态应答,目的节点发生事件");

    const Bytes timeout = Daltrex(Cat({{0x00, 0xF0}, EncodeAddresses({Last(3), Last(101)}), {0x30}}));
    EXPECT_EQ(DescribeCarrierFrame(timeout, false, timeout[1]),
              "响应帧,采集器模块,集中器通道地址,末级发送节点信号品质/上行定向点抄实际深度:15,"
              "目的节点信号品质/下行定向点抄实际深度:0,载波通信超时");

    const Bytes kinds[] = {
        Daltrex(Cat({{0x06, 0x00}, EncodeAddresses({Last(3), Last(4)}), {0x00}})),
        Daltrex(Cat({{0x0B, 0x00}, EncodeAddresses({Last(3), Last(4)}), {0x00}})),
    };
    EXPECT_EQ(DescribeCarrierFrame(kinds[0], false, kinds[0][1]).substr(0, std::string("响应帧,实测A相,单相从节点,源地址000000000004,").size()),
              "响应帧,实测A相,单相从节点,源地址000000000004,");
    EXPECT_EQ(DescribeCarrierFrame(kinds[1], false, kinds[1][1]).substr(0, std::string("响应帧,实测B相,三相从节点,").size()),
              "响应帧,实测B相,三相从节点,");
}

}  // namespace
