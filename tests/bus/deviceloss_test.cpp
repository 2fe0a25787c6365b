// The lost-device logic shared by the gauge bus and the stand-alone links, on a fake port: a
// device away whose COM entry comes back as something that is no serial device.

#include "bus/deviceloss.h"
#include "support/fake_serial_port.h"

#include <gtest/gtest.h>

namespace varnet {
namespace {

using testing::FakeSerialPort;

TEST(DeviceLossTest, AnEntryLeadingToNoSerialDeviceIsToldOnceMoreDuringAnOutageAndThenOnlyRefused)
{
    FakeSerialPort port;
    DeviceLoss loss;
    ASSERT_TRUE(loss.PortReady(port, 2, 25));
    loss.Lost(port, "The device was disconnected");
    EXPECT_TRUE(loss.ReportDue());

    // Still away: the outage was told, the ticks look for it quietly.
    port.setOpenError("No such file or directory");
    EXPECT_FALSE(loss.PortReady(port, 2, 25));
    EXPECT_FALSE(loss.ReportDue());

    port.setOpenError(kNotASerialDevice);
    EXPECT_FALSE(loss.PortReady(port, 2, 25));
    EXPECT_TRUE(loss.ReportDue());
    EXPECT_EQ(loss.Reason(), kNotASerialDevice);
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_FALSE(loss.PortReady(port, 2, 25));
        EXPECT_FALSE(loss.ReportDue()) << "told again on tick " << tick;
    }

    // The entry leads to the device again.
    port.setOpenError("");
    ASSERT_TRUE(loss.PortReady(port, 2, 25));
    loss.Back(port);
    EXPECT_FALSE(loss.IsLost());
}

TEST(DeviceLossTest, APortThatNeverOpenedLeavesTheTellingToWhoOpenedIt)
{
    FakeSerialPort port;
    port.setOpenError(kNotASerialDevice);
    DeviceLoss loss;
    EXPECT_FALSE(loss.PortReady(port, 2, 25));
    EXPECT_TRUE(!loss.IsLost() && loss.Reason().isEmpty());
}

} // namespace
} // namespace varnet
