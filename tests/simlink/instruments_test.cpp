#include "link_fixture.h"

#include "support/fake_clock.h"

#include <cmath>

namespace varnet::testing {
namespace {

class InstrumentTest : public LinkTest {
protected:
    InstrumentValues& v = Instruments;

    // Functions 90..100 read and write group 100 + (f - 90), slot f % 8;
    // function 98 writes its second altitude to slot 2 of the same group.
    void defineAutopilot()
    {
        for (int f = 90; f <= 100; ++f)
            defineFunction(f, DataTypeFloat, 100 + f - 90, f % 8);
        Cfg.FunctionSlot2[98] = 2;
    }
    float& autopilotData(int f) { return link->XplaneData[100 + f - 90][f % 8]; }
};

TEST_F(InstrumentTest, TimeOfDayComesFromGroup1AndTheDateFromThePc)
{
    FakeClock pc(QDateTime(QDate(2024, 3, 15), QTime(9, 30)));
    std::tie(link->XplaneData[1][6], link->XplaneData[1][5], link->XplaneData[6][1]) = std::tuple(13.5f, 23.9999f, -12.5f);
    link->GetTimeAndDate();
    EXPECT_EQ(std::tuple(v.ClockHour, v.SimLocalTimeSec, v.SimZuluTimeSec, v.SimOutsideTemp, v.ClockMonth, v.ClockDay, v.ClockYear),
              std::tuple(13, 48600, 65535 - 86399, -12.5f, 3, 15, 24));

    // A time no clock can show leaves the clock as it was.
    link->XplaneData[1][6] = 8.25f;
    link->GetTimeAndDate();
    for (const float bad : {std::nanf(""), -1.0f, 300.0f, INFINITY}) {
        link->XplaneData[1][6] = bad;
        link->GetTimeAndDate();
        EXPECT_EQ(std::tuple(v.ClockHour, v.SimLocalTimeSec), std::tuple(8, 8 * 3600 + 900)) << bad;
    }

    // A zulu jump of more than ten seconds is noticed.
    const auto jumpedAt = [&](float seconds) {
        link->XplaneData[1][5] = 10.0f + seconds / 3600;
        link->GetTimeAndDate();
        return std::exchange(v.ZuluTimeJumped, false);
    };
    jumpedAt(0);
    EXPECT_EQ((std::array{jumpedAt(10), jumpedAt(21)}), (std::array{false, true}));
}

TEST_F(InstrumentTest, WriteAutopilotSendsTheModeFlagsAltitudeAndVerticalSpeedAndGetAPVSvalueReadsThem)
{
    defineAutopilot();
    EXPECT_EQ(sentBy([&] { link->GetAPVSvalue(); }).size(), 11) << "its groups are selected once per opening";
    // Above the preselected altitude while climbing.
    std::tie(v.APModeBits, v.APAltitudeFixed, v.APVerticalSpeed, v.SimAltitude) = std::tuple(0x81, std::lround(5000 / 3.28084 * 65536), 700, 5200);
    std::vector<SentData> sent;
    for (const QByteArray& packet : sentBy([&] { link->WriteAutopilot(); }))
        sent.push_back(decodeData(packet));
    ASSERT_EQ(sent.size(), 11u);
    const float expected[] = {2, 0, 0, 0, 0, 0, 0, 6};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(sent[k], (SentData{100 + k, (90 + k) % 8, expected[k]})) << "function " << 90 + k;
    EXPECT_NEAR(sent[8].asFloat, 5000, 0.01);
    EXPECT_EQ(std::tuple(v.APValue97, v.APValue91, sent[9].slot, sent[10].asFloat, v.APVerticalSpeed), std::tuple(6, 0, 2, 0, 0))
        << "altitude passed: vertical speed 0";

    std::tie(autopilotData(90), autopilotData(92), autopilotData(97), autopilotData(99), autopilotData(100)) = std::tuple(2, 1, 6, -500.4f, 150);
    EXPECT_TRUE(sentBy([&] { EXPECT_EQ(link->GetAPVSvalue(), std::nullopt); }).isEmpty());
    EXPECT_EQ(std::tuple(v.APSimModeBits, v.APValue92, v.APVerticalSpeed, v.APValue100), std::tuple(1 | 4 | 128, 1, -500, 16000));

    link->OpenSimCom();
    EXPECT_EQ(sentBy([&] { link->GetAPVSvalue(); }).value(0), hex("44 53 45 4C 30 64 00 00 00"));

    // A value that does not fit its type is a fault for the caller.
    autopilotData(99) = 40000;
    EXPECT_EQ(link->GetAPVSvalue(), "Overflow");
    autopilotData(99) = 0;
    autopilotData(93) = 1e12f;
    EXPECT_EQ(link->GetAPVSvalue(), "Overflow");
}

TEST_F(InstrumentTest, SoundSelectorTogglesOnlyTheMonitorsThatChangedAndRadiosWriteTheirPlaces)
{
    v.AudioPanelBits = 0x90;
    v.AudioPanelBitsSent = 0x80;
    EXPECT_EQ((std::tuple{sentBy([&] { link->SetSoundSelector(); }), v.AudioPanelBitsSent}),
              (std::tuple{QList{QByteArray("CMND0sim/audio_panel/monitor_audio_nav1")}, 0x90}));

    v.AudioPanelBits = 0x01 | 0x02 | 0x04 | 0x20 | 0x40;
    EXPECT_EQ(sentBy([&] { link->SetSoundSelector(); }),
              (QList<QByteArray>{"CMND0sim/audio_panel/monitor_audio_com1", "CMND0sim/audio_panel/monitor_audio_com2",
                                 "CMND0sim/audio_panel/monitor_audio_nav1", "CMND0sim/audio_panel/monitor_audio_adf1"}));

    const auto nav = sentBy([&] {
        link->PutNAV1Frequency(110.5f);
        link->PutNAV2Frequency(112.25f);
    });
    EXPECT_EQ((std::tuple{nav.size(), decodeData(nav.value(0))}), (std::tuple{1, SentData{115, 1, 110.5f}}))
        << "NAV2 has no place of its own and is not written";

    // ADF: five digits through the gauge's reply port.
    defineFunction(32, DataTypeFloat, 60, 3);
    v.GaugeReplyPort1[21] = link->OpenSimPort(32, 1);
    const auto sent = sentBy([&] {
        link->PutADF("03505", 21);
        link->PutADF("0350", 21);
        link->PutADF("035x5", 21);
        link->PutADF("03505", 22);   // no reply port
        link->PutADF("03505", 300);  // no such gauge
    });
    EXPECT_EQ((std::tuple{sent.size(), decodeData(sent.value(0))}), (std::tuple{1, SentData{60, 3, 350.5f}}));
}

TEST_F(InstrumentTest, YokeSlotsReadAndWriteTheirGroupAndSlotAndSelectTheGroupsRead)
{
    for (int slot = 0; slot < kYokeDataSlots; ++slot)
        Cfg.YokeDataGroup[slot] = Byte(slot + 10);
    Cfg.YokeDataGroup[18] = 151;
    QList<int> groups;
    for (const QByteArray& packet : sentBy([&] { link->OpenSimcomYoke(); })) {
        ASSERT_TRUE(packet.startsWith("DSEL0"));
        groups << Byte(packet[5]);
    }
    EXPECT_EQ(groups, (QList<int>{12, 15, 16, 17, 20, 21, 22, 23, 24, 25, 26, 27}));

    std::tie(Cfg.YokeDataGroup[4], Cfg.YokeDataValue[4], Cfg.YokeDataGroup[5], link->XplaneData[8][3]) = std::tuple(8, 3, 200, 0.75f);
    EXPECT_EQ((std::tuple{link->GetXplaneDataYoke(4), v.YokeSimValue}), (std::tuple{0.75f, 0.75f}));
    EXPECT_EQ((std::tuple{link->GetXplaneDataYoke(5), link->GetXplaneDataYoke(23)}), (std::tuple{0, 0}))
        << "slot 5's group lies beyond the table; there is no slot 23";

    const auto written = sentBy([&] {
        link->PutXplaneDataYoke(4, -0.5f);
        link->PutXplaneDataYoke(23, 1);
    });
    EXPECT_EQ((std::tuple{written.size(), decodeData(written.value(0))}), (std::tuple{1, SentData{8, 3, -0.5f}}));
}

} // namespace
} // namespace varnet::testing
