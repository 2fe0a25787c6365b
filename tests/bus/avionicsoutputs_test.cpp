#include "bus/avionicsoutputs.h"
#include "bus/instrumentoutputs.h"
#include "bus/run_fixture.h"

#include <QtEndian>

#include <utility>

namespace varnet {
namespace {

using testing::RunTest;

constexpr int kAltitude = 4;  // the run window's own value
constexpr int kDistance = 27, kSpeed = 28, kTime = 29;
constexpr int kAudioLamp = 38;
// Groups of the pairs beyond the fixture's two.
constexpr int kDistanceFlagGroup = 60;
constexpr int kThirdLampGroup = 61;

class AvionicsOutputTest : public RunTest {
protected:
    void SetUp() override
    {
        RunTest::SetUp();
        AvionicsOutputs = AvionicsOutputState{};
        InstrumentOutputs = InstrumentOutputState{};
        for (int f = 90; f <= 100; ++f)
            Cfg.FunctionIndex1[f] = Integer(f);  // the autopilot's values, each in a group of its own
    }

    // The writes of the next ticks, one entry per tick (empty when it wrote nothing).
    QList<QByteArray> next(int ticks)
    {
        QList<QByteArray> writes;
        while (ticks-- > 0)
            writes << tick().value(0);
        return writes;
    }

    // The same without the status requests to `id`.
    QList<QByteArray> readings(int id, int ticks)
    {
        QList<QByteArray> writes = next(ticks);
        for (QByteArray& write : writes)
            write.replace(output({{id, 7, 0}}), "");
        return writes;
    }

    // The only polled gauge has its status turn every second tick: the
    // autopilot works in the other one.
    QByteArray autopilotWork() { return next(2).last(); }

    // The DATA value the simulator link sent last, with its group.
    std::pair<int, float> lastDataSent()
    {
        const QByteArray& packet = link().UDPSendString;
        return {qFromLittleEndian<qint32>(packet.constData() + 5), qFromLittleEndian<float>(packet.constData() + 9)};
    }

    // One round of a DME after the source and the pause: distance, speed, time.
    static QList<QByteArray> dme(int id, int distance, int speed, int time)
    {
        return {{}, {}, output({{id, 4, distance}}), output({{id, 3, speed}}), output({{id, 5, time}})};
    }
};

TEST_F(AvionicsOutputTest, DMEShowsItsReadingsAsDigitWordsAndMarksAMissingDistance)
{
    gauge(40, 113);
    running();
    sim(kDistance, 12.34f);
    sim(kSpeed, 123.4f);
    sim(kTime, 7.9f);
    EXPECT_EQ(readings(40, 5), dme(40, 0x123, 0x123 | 8192, 0x07 | 16384));
    sim(kDistance, 150);
    sim(kSpeed, 99.5f);
    EXPECT_EQ(readings(40, 5), dme(40, 0x150 | 8192, 0x995, 0x07 | 16384));
    sim(kDistance, -1);  // no station, and the unit has no flag of its own
    EXPECT_EQ(readings(40, 5), dme(40, 0x010 | 12288, 0x995 | 12288, 153));
}

TEST_F(AvionicsOutputTest, DMEFollowsItsSourceAndItsOwnDistanceFlag)
{
    Cfg.FunctionIndex4[kDistance] = kDistanceFlagGroup;
    gauge(40, 113);
    running();
    sim(kDistanceFlagGroup, 1);
    const auto round = [&](int selection) {
        RunData.DMESelection = Byte(selection);
        QList<QByteArray> writes = readings(40, 1);
        // The simulator delivers the selected source in the pause.
        sim(kDistance, 45.6f, 2);
        sim(kSpeed, 200, 2);
        sim(kTime, 12, 2);
        return writes << readings(40, 4);
    };
    EXPECT_EQ(round(2), dme(40, 0x456, 0x200 | 8192, 0x12 | 16384));
    sim(kDistanceFlagGroup, 0);
    EXPECT_EQ(round(9), dme(40, 0x456 | 12288, 0x200 | 8192 | 12288, 153)) << "no selector 9: still the second";

    Cfg.GaugeRecPlate1[40] = 1;  // follows the selector the unit reported
    RunData.GaugeLastReplyValue[40] = 1.0f;
    sim(kDistanceFlagGroup, 1);
    EXPECT_EQ(round(2), dme(40, 0x000, 0x000, 0x00 | 16384)) << "the first source reads 0";
}

TEST_F(AvionicsOutputTest, TransponderTurnsCarryTheAltitudeOrTheModeInsteadOfTheRequest)
{
    gauge(50, 122);
    gauge(51, 114, 0, 4);  // with its mode port
    gauge(52, 114);
    running();
    sim(kAltitude, 1234.5f);
    sim(46, 1);
    EXPECT_EQ(next(4), (QList<QByteArray>{output({{50, 5, 0}}), output({{51, 12, 256}}), output({{52, 7, 0}}),
                                          output({{50, 5, 12}})}));
    sim(46, 0);
    EXPECT_EQ(next(1), QList<QByteArray>{output({{51, 12, 0}})});
}

TEST_F(AvionicsOutputTest, AutopilotClimbsToThePreselectedAltitudeAndSaysOnceWhenItIsThere)
{
    gauge(60, 124, 0, 0, 0, 500);
    Instruments.APAltitudeFeet = 10000;
    running();
    sim(kAltitude, 9000);
    EXPECT_EQ(autopilotWork(), output({{60, 11, 0}}));
    EXPECT_EQ(lastDataSent(), std::make_pair(99, 500.0f)) << "the climb goes to the simulator";
    sim(99, 500);  // which takes it
    EXPECT_EQ(autopilotWork(), output({{60, 4, 500}}));
    EXPECT_EQ(autopilotWork(), output({{60, 11, 0}}));

    sim(kAltitude, 9950);
    EXPECT_EQ(autopilotWork(), output({{60, 11, 20}}));
    EXPECT_EQ(autopilotWork(), output({{60, 11, 0}}));

    AvionicsOutputs.APTrendCounter = 16;
    sim(100, 1);  // 160 up
    EXPECT_EQ(autopilotWork(), output({{60, 11, 12288}}));
}

TEST_F(AvionicsOutputTest, AutopilotLampsFollowTheSimulatorWithTheDescentInHundreds)
{
    gauge(60, 124, 0, 16);  // holds the altitude when a capture mode comes on
    running();
    sim(kAltitude, 4321.4f);
    sim(90, 2);
    sim(99, -700);
    Instruments.APModeBits = 0x40;
    EXPECT_EQ(autopilotWork(), output({{60, 5, 0x0701}, {60, 3, 4321}}));
    EXPECT_EQ(autopilotWork(), output({{60, 5, 0x0701}}));
    Instruments.APModeBits = 1;
    EXPECT_EQ(autopilotWork(), output({{60, 4, -700}}));
}

TEST_F(AvionicsOutputTest, AudioPanelSendsItsLampsWhenTheyChanged)
{
    Cfg.FunctionIndex3[kAudioLamp] = kThirdLampGroup;
    gauge(70, 125);
    running();
    sim(kAudioLamp, 1);
    sim(kAudioLamp, 0, 2);
    sim(kThirdLampGroup, 1);
    EXPECT_EQ(readings(70, 4), (QList<QByteArray>{{}, {}, {}, output({{70, 6, 5}})}));
    EXPECT_EQ(readings(70, 4), QList<QByteArray>(4));
    sim(kAudioLamp, 0);
    EXPECT_EQ(readings(70, 4), (QList<QByteArray>{{}, {}, {}, output({{70, 6, 4}})}));
}

} // namespace
} // namespace varnet
