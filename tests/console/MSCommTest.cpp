#include "console/MSComm.h"
#include "console/PtyPair.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

TEST(MSComm, BytesWrittenByTheProgramArriveAtTheOtherEnd)
{
    PtyPair pty;
    TMSComm comm;
    comm.SetDevice(pty.SlavePath());
    ASSERT_TRUE(comm.Open()) << comm.LastError();
    EXPECT_TRUE(comm.PortOpen());
    EXPECT_EQ(pty.Baud(), 9600);
    ASSERT_TRUE(comm.Output({0x68, 0x11, 0x22, 0x16}));
    EXPECT_EQ(pty.Read(4, 1000ms), (TBytes{0x68, 0x11, 0x22, 0x16}));

    int events = 0;
    comm.OnComm = [&] { ++events; };
    pty.Write({0xFE, 0x68});
    ASSERT_TRUE(SpinUntil([&] { return comm.InBufferCount() == 2; }, 1000ms));
    EXPECT_GE(events, 1);
    EXPECT_EQ(comm.CommEvent(), TMSComm::CommEventReceive);
    comm.SetInputLen(1);
    EXPECT_EQ(comm.Input(), TBytes{0xFE});
    comm.SetInputLen(0);
    EXPECT_EQ(comm.Input(), TBytes{0x68});
}

TEST(MSComm, ClosingTheOtherEndClosesThePort)
{
    PtyPair pty;
    TMSComm comm;
    comm.SetDevice(pty.SlavePath());
    ASSERT_TRUE(comm.Open()) << comm.LastError();
    std::string lost;
    comm.OnLost = [&](const std::string& why) { lost = why; };
    pty.CloseMaster();
    ASSERT_TRUE(SpinUntil([&] { return !lost.empty(); }, 2000ms));
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_NE(lost.find(pty.SlavePath()), std::string::npos) << lost;
}

} // namespace
