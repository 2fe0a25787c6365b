// How values become gauge-bus frames and needle steps.

#include "bus/gaugebus_fixture.h"
#include "bus/gaugeframes.h"
#include "bus/platelookup.h"

#include <cmath>
#include <limits>
#include <vector>

namespace varnet {
namespace {

using testing::hexBytes;

QByteArray frame(int gaugeID, int command, double value)
{
    return GaugeBusFrame(gaugeID, command, value).value_or("not built");
}

TEST(GaugeBusFrame, ReceiverRebuildsEveryMagnitudeRoundsLimitsRefusesWhatDoesNotFitRepliesNeedBothMarkers)
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
            EXPECT_EQ((std::tuple{high * 256 + low, b(3) >> 4, (b(3) & 0x04) != 0}), (std::tuple{std::abs(value), command, value < 0}));
        }
    }

    // Halves to even; small negatives keep their sign; limited, not wrapped (wrapping would send 65536 as 0
    // and move a needle to its stop); only the low four bits of the command count.
    for (const auto& [command, value, same] : {std::tuple{5, 2.5, 2.0}, {5, 3.5, 4.0}, {5, 65535.6, 65535.0},
                                               {5, std::numeric_limits<double>::infinity(), 65535.0}, {21, 945.0, 945.0}})
        EXPECT_EQ(frame(12, command, value), frame(12, 5, same)) << command << ": " << value;
    for (const auto& [value, bytes] : {std::pair{-0.4, "00 0C 5C 01 02 FF"}, {0.0, "00 0C 58 01 02 FF"},
                                       {65536.0, "00 0C 5B FF FF FF"}, {-1e12, "00 0C 5F FF FF FF"}})
        EXPECT_EQ(frame(12, 5, value), hexBytes(bytes)) << value;
    EXPECT_FALSE(GaugeBusFrame(12, 5, std::nan("")));
    // IDs must fit one byte (the fixed example frames go through the control unit in ports_test.cpp).
    EXPECT_EQ(StatusRequestFrame(0), hexBytes("00 00 78 01 02 FF"));  // a status request carries 0
    EXPECT_EQ(frame(255, 7, 0), hexBytes("00 FF 78 01 02 FF"));
    EXPECT_FALSE(GaugeBusFrame(256, 7, 0) || GaugeBusFrame(-1, 7, 0) || IdentifyFrame(300));
    EXPECT_FALSE(NewGaugeIDFrame(12, 256) || NewGaugeIDFrame(-1, 40));

    // A reply is taken whole, with both its markers.
    QByteArray reply = hexBytes("00 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 FF");
    EXPECT_EQ((std::array{IsWellFramedReply(reply), IsWellFramedReply(reply.left(24)), IsWellFramedReply(QByteArray(reply).replace(0, 1, "\x01")),
                          IsWellFramedReply(QByteArray(reply).replace(24, 1, "\xFE"))}),
              (std::array{true, false, false, false}));
}

// A plate with its ends (value, steps) and its points (last point index = points - 1).
ConfigTables plate(std::pair<double, int> minimum, std::pair<double, int> maximum,
                   const std::vector<std::pair<double, int>>& points)
{
    ConfigTables t;
    t.AddPlate();
    auto& values = t.PlateValue[0];
    auto& steps = t.PlateSteps[0];
    values[1] = steps[1] = Integer(points.size() - 1);
    std::tie(values[2], steps[2]) = minimum;
    std::tie(values[3], steps[3]) = maximum;
    for (std::size_t k = 0; k < points.size(); ++k)
        std::tie(values[4 + k], steps[4 + k]) = points[k];
    return t;
}

std::optional<int> lookup(const ConfigTables& t, Single value, int number = 0)
{
    return PlateValueToSteps(number, value, t);
}

// A dial whose needle travels 0..900 steps for 0..300, with one point at 100.
const ConfigTables kDial = plate({0, 0}, {300, 900}, {{0, 0}, {100, 200}, {300, 900}});

TEST(PlateLookup, InterpolatesRoundsDownClampsTheValueWrittenBackAndGivesNothingWithoutAPlateOrValue)
{
    // 2.9 steps, on the second leg, exactly on a point.
    EXPECT_EQ((std::array{lookup(kDial, 1.45f), lookup(kDial, 150), lookup(kDial, 100)}), (std::array<std::optional<int>, 3>{2, 375, 200}));
    // Falling needle positions round toward minus infinity too.
    EXPECT_EQ(lookup(plate({0, 100}, {10, -100}, {{0, 100}, {10, -100}}), 5.01f), -1);  // -0.2 steps
    // Points short of the ends interpolate against the ends.
    const ConfigTables inner = plate({0, 0}, {100, 1000}, {{20, 100}, {60, 500}});
    EXPECT_EQ((std::pair{lookup(inner, 10), lookup(inner, 80)}), (std::pair{std::optional(50), std::optional(750)}));

    Single below = -40, above = 1e9f;
    EXPECT_EQ((std::tuple{PlateValueToSteps(0, below, kDial), below}), (std::tuple{0, 0}));
    EXPECT_EQ((std::tuple{PlateValueToSteps(0, above, kDial), above}), (std::tuple{900, 300}));
    EXPECT_EQ(lookup(kDial, std::numeric_limits<float>::infinity()), 900);

    // Nothing where there is no plate to read or no value.
    const ConfigTables onePoint = plate({0, 0}, {100, 1000}, {{0, 0}});
    Single value = 50;
    EXPECT_EQ((std::tuple{PlateValueToSteps(0, value, onePoint), value}), (std::tuple{std::nullopt, 50}));
    // The spare row (1) is no plate.
    EXPECT_EQ((std::array{lookup(kDial, 50, -1), lookup(kDial, 50, 1), lookup(kDial, std::nanf(""))}), (std::array<std::optional<int>, 3>{}));
    // A plate whose values are no numbers cannot place the needle either.
    ConfigTables broken = kDial;
    broken.PlateValue[0][5] = std::nan("");
    EXPECT_EQ(lookup(broken, 150), std::nullopt);
}

} // namespace
} // namespace varnet
