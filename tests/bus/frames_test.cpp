#include "bus/gaugeframes.h"
#include "bus/gaugebus_fixture.h"

#include <cmath>
#include <limits>

namespace varnet {
namespace {

using testing::hexBytes;

QByteArray frame(int gaugeID, int command, double value)
{
    return GaugeBusFrame(gaugeID, command, value).value_or("not built");
}

TEST(GaugeBusFrame, ReceiverRebuildsEveryMagnitudeAndFindsNoZeroInside)
{
    for (int command = 0; command < 16; ++command) {
        for (int value = -65535; value <= 65535; value += 251) {
            const QByteArray f = frame(12, command, value);
            ASSERT_EQ(f.size(), kGaugeFrameBytes);
            const auto b = [&](int n) { return quint8(f[n - 1]); };
            for (int n = 2; n <= 6; ++n)
                ASSERT_NE(b(n), 0) << "byte " << n << " of value " << value;
            const int low = (b(4) & 0xFE) | (b(3) & 0x01);
            const int high = (b(5) & 0xFD) | (b(3) & 0x02);
            EXPECT_EQ(high * 256 + low, std::abs(value));
            EXPECT_EQ(b(3) >> 4, command);
            EXPECT_EQ((b(3) & 0x04) != 0, value < 0);
        }
    }
}

TEST(GaugeBusFrame, RoundsHalvesToEvenAndKeepsTheSignOfSmallNegatives)
{
    EXPECT_EQ(frame(12, 5, 2.5), frame(12, 5, 2));
    EXPECT_EQ(frame(12, 5, 3.5), frame(12, 5, 4));
    EXPECT_EQ(frame(12, 5, -0.4), hexBytes("00 0C 5C 01 02 FF"));
    EXPECT_EQ(frame(12, 5, 0), hexBytes("00 0C 58 01 02 FF"));
}

TEST(GaugeBusFrame, ValuesBeyondSixteenBitsAreLimitedNotWrapped)
{
    // Wrapping would send 65536 as 0 and move a needle to its stop.
    EXPECT_EQ(frame(12, 5, 65536), hexBytes("00 0C 5B FF FF FF"));
    EXPECT_EQ(frame(12, 5, 65535.6), frame(12, 5, 65535));
    EXPECT_EQ(frame(12, 5, -1e12), hexBytes("00 0C 5F FF FF FF"));
    EXPECT_EQ(frame(12, 5, std::numeric_limits<double>::infinity()), frame(12, 5, 65535));
    EXPECT_FALSE(GaugeBusFrame(12, 5, std::nan("")));
}

TEST(GaugeBusFrame, KeepsOnlyTheLowFourBitsOfTheCommand)
{
    EXPECT_EQ(frame(12, 21, 945), frame(12, 5, 945));
}

// The example frames and the fixed frames go through the control unit in
// sendpath_test.cpp; here only what must not be built.
TEST(GaugeBusFrame, IDsMustFitOneByte)
{
    EXPECT_EQ(frame(0, 7, 0), hexBytes("00 00 78 01 02 FF"));
    EXPECT_EQ(frame(255, 7, 0), hexBytes("00 FF 78 01 02 FF"));
    EXPECT_FALSE(GaugeBusFrame(256, 7, 0));
    EXPECT_FALSE(GaugeBusFrame(-1, 7, 0));
    EXPECT_FALSE(IdentifyFrame(300));
    EXPECT_FALSE(NewGaugeIDFrame(12, 256));
    EXPECT_FALSE(NewGaugeIDFrame(-1, 40));
}

TEST(GaugeReplyFraming, WholeReplyWithItsMarkers)
{
    QByteArray reply(25, '\x11');
    reply[0] = '\0';
    reply[24] = char(0xFF);
    EXPECT_TRUE(IsWellFramedReply(reply));
    EXPECT_FALSE(IsWellFramedReply(reply.left(24)));
    EXPECT_FALSE(IsWellFramedReply(QByteArray(reply).replace(0, 1, "\x01")));
    EXPECT_FALSE(IsWellFramedReply(QByteArray(reply).replace(24, 1, "\xFE")));
}

} // namespace
} // namespace varnet
