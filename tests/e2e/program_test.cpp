// The program as a cockpit builder runs it: the shipped example
// configuration on a gauge bus (COM1, the simulated control unit) and an
// X-Plane on the loopback (the simulated one), started by the autostart and
// ended by a termination request, which the program handles as the Exit of
// the window it is on.

#include "config/configfile.h"
#include "config/itemtext.h"
#include "config/startfile.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"
#include "simxplane/simxplane.h"
#include "support/workdir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QUdpSocket>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <signal.h>

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kTickMs = 100;
// Frames of one write arrive together; writes of two ticks a tick apart.
constexpr qint64 kSameWriteMs = kTickMs / 3;
constexpr int kAirspeedGauge = 1;
constexpr int kTachometerGauge = 2;
constexpr int kRadioModules[] = {3, 4};
constexpr int kGenericRadioType = 110;
constexpr quint32 kSpeedsGroup = 3;
constexpr quint32 kEngineRpmGroup = 37;
constexpr quint32 kLightSwitchesGroup = 106;  // value 0: instrument lights

struct Frame {
    int gaugeID = 0;
    int command = 0;
    int value = 0;
    qint64 at = 0;  // ms since the program started
};

// A gauge-bus frame read back the way a gauge does it.
Frame decode(const QByteArray& bytes, qint64 at)
{
    const auto byte = [&](int i) { return int(quint8(bytes[i])); };
    const int low = (byte(3) & 0xFE) | (byte(2) & 0x01);
    const int high = (byte(4) & 0xFD) | (byte(2) & 0x02);
    const int magnitude = high * 256 + low;
    return {byte(1), byte(2) >> 4, (byte(2) & 0x04) ? -magnitude : magnitude, at};
}

quint16 freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

SimXplane::Record record(quint32 group, int slot, float value)
{
    SimXplane::Record r;
    r.group = group;
    r.values[std::size_t(slot)] = value;
    return r;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The shipped example, with its gauge bus on COM1 and X-Plane here;
        // two radio modules join it because they report back (their knobs)
        // and so are asked for their status in turn.
        Session.ProgramTitle = kProgramTitle;
        Session.ConfigFileName = VARNET_EXAMPLE_CONFIG;
        ReadConfigFile();
        ASSERT_EQ(Session.ConfigError, 0) << "the example configuration does not load";
        Cfg.ComPortGauges = 1;
        Cfg.ProcessTimerInterval = kTickMs;
        Cfg.RemoteIP = "127.0.0.1";
        Cfg.RemotePort = std::to_string(xplane_.port());
        programPort_ = freeUdpPort();
        Cfg.LocalPort = std::to_string(programPort_);
        for (const int id : kRadioModules)
            Cfg.GaugeRecType[id] = kGenericRadioType;
        std::string error;
        ASSERT_TRUE(writeFileSafely("Default.cfg", SerializeConfig(Cfg), &error)) << error;
        Session.StartDelay = 1;
        ASSERT_TRUE(WriteStartFile("Default.cfg"));

        ASSERT_TRUE(unit_.ready());
        unit_.answer = [this](const QByteArray& bytes) {
            frames_.push_back(decode(bytes, clock_.elapsed()));
            return QByteArray();
        };
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program_.setProcessEnvironment(env);
        program_.setWorkingDirectory(dir_.path());
        program_.setProcessChannelMode(QProcess::MergedChannels);
        clock_.start();
        program_.start(VARNET_PROGRAM, {});
        ASSERT_TRUE(program_.waitForStarted()) << program_.errorString().toStdString();
    }

    void TearDown() override
    {
        if (program_.state() != QProcess::NotRunning) {
            program_.kill();
            program_.waitForFinished();
        }
        if (HasFailure())
            std::cerr << "program output:\n" << program_.readAll().toStdString();
    }

    // The autostart's run moves the needles to their first positions.
    ::testing::AssertionResult runStarted()
    {
        if (waitFor([](const Frame& f) { return f.gaugeID == kAirspeedGauge && f.command == 5; }, 10000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no run moved the needles after the autostart";
    }

    // Lets events run until a frame from index `from` on matches.
    bool waitFor(const std::function<bool(const Frame&)>& match, int timeoutMs = 3000, std::size_t from = 0)
    {
        return waitUntil([&] { return std::any_of(frames_.begin() + long(from), frames_.end(), match); }, timeoutMs);
    }

    std::vector<Frame> since(std::size_t from, int command) const
    {
        std::vector<Frame> found;
        for (std::size_t i = from; i < frames_.size(); ++i)
            if (frames_[i].command == command)
                found.push_back(frames_[i]);
        return found;
    }

    // The frames that arrived together with frames_[index] (one write).
    std::vector<Frame> writeOf(std::size_t index) const
    {
        std::size_t first = index;
        std::size_t last = index;
        while (first > 0 && frames_[first].at - frames_[first - 1].at < kSameWriteMs)
            --first;
        while (last + 1 < frames_.size() && frames_[last + 1].at - frames_[last].at < kSameWriteMs)
            ++last;
        return {frames_.begin() + long(first), frames_.begin() + long(last) + 1};
    }

    void sendData(const std::vector<SimXplane::Record>& records) { xplane_.sendData(records, false, programPort_); }

    bool xplaneReceived(const std::function<bool(const QByteArray&)>& match) const
    {
        return std::any_of(xplane_.received().begin(), xplane_.received().end(), match);
    }

    static bool isStopAll(const QByteArray& d) { return d.size() == 605 && d.startsWith("USEL0"); }
    static bool isSelect(const QByteArray& d, quint32 group)
    {
        return d.size() == 9 && d.startsWith("DSEL0") && quint8(d[5]) == group;
    }

    ScopedWorkDir dir_;
    SimXplane xplane_;
    SimControlUnit unit_{1};
    QProcess program_;
    QElapsedTimer clock_;
    quint16 programPort_ = 0;
    std::vector<Frame> frames_;
};

TEST_F(ProgramTest, AutostartPreparesTheRunAndSendsTheFirstNeedlePositions)
{
    ASSERT_TRUE(runStarted());
    // The preparation first stops every data group, then selects those of
    // the needles.
    EXPECT_TRUE(isStopAll(xplane_.received().value(0)));
    EXPECT_TRUE(xplaneReceived([](const QByteArray& d) { return isSelect(d, kSpeedsGroup); }));
    EXPECT_TRUE(xplaneReceived([](const QByteArray& d) { return isSelect(d, kEngineRpmGroup); }));
    ASSERT_TRUE(waitFor([](const Frame& f) { return f.gaugeID == kTachometerGauge && f.command == 5; }));
    for (const Frame& f : since(0, 5))
        EXPECT_EQ(f.value, 0) << "gauge " << f.gaugeID;
}

TEST_F(ProgramTest, SimulatorValuesMoveTheNeedlesThroughTheirPlatesAndUnchangedOnesSendNothing)
{
    ASSERT_TRUE(runStarted());
    std::size_t mark = frames_.size();
    sendData({record(kSpeedsGroup, 0, 80), record(kEngineRpmGroup, 0, 1234)});
    // 80 kt lies between the plate points 40 kt/100 and 100 kt/450, 1234 RPM
    // between 500/100 and 3000/900; steps are rounded down.
    EXPECT_TRUE(waitFor([](const Frame& f) { return f.gaugeID == kAirspeedGauge && f.command == 5 && f.value == 333; },
                        3000, mark));
    EXPECT_TRUE(waitFor([](const Frame& f) { return f.gaugeID == kTachometerGauge && f.command == 5 && f.value == 334; },
                        3000, mark));

    waitMs(3 * kTickMs);
    mark = frames_.size();
    for (int i = 0; i < 3; ++i) {
        sendData({record(kSpeedsGroup, 0, 80), record(kEngineRpmGroup, 0, 1234)});
        waitMs(2 * kTickMs);
    }
    EXPECT_TRUE(since(mark, 5).empty()) << "unchanged values were sent again";

    sendData({record(kSpeedsGroup, 0, 155), record(kEngineRpmGroup, 0, 1234)});
    ASSERT_TRUE(waitFor([](const Frame& f) { return f.command == 5; }, 3000, mark));
    waitMs(2 * kTickMs);
    const std::vector<Frame> moved = since(mark, 5);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].gaugeID, kAirspeedGauge);
    EXPECT_EQ(moved[0].value, 752);
}

TEST_F(ProgramTest, LightSwitchSendsTheBacklightToEveryGaugeInATickOfItsOwn)
{
    ASSERT_TRUE(runStarted());
    waitMs(3 * kTickMs);
    const std::size_t mark = frames_.size();
    sendData({record(kLightSwitchesGroup, 0, 1)});
    ASSERT_TRUE(waitFor([](const Frame& f) { return f.command == 8; }, 3000, mark));
    waitMs(2 * kTickMs);

    std::size_t first = mark;
    while (frames_[first].command != 8)
        ++first;
    const std::vector<Frame> tick = writeOf(first);
    ASSERT_EQ(tick.size(), 4u) << "the backlight shares its tick with other frames";
    for (std::size_t i = 0; i < tick.size(); ++i) {
        EXPECT_EQ(tick[i].command, 8);
        EXPECT_EQ(tick[i].gaugeID, int(i) + 1);
    }
    // The needle gauges light up; the radio modules follow the second
    // voltage, which is off.
    EXPECT_EQ(tick[0].value, 128);
    EXPECT_EQ(tick[1].value, 128);
    EXPECT_EQ(tick[2].value, 0);
    EXPECT_EQ(since(mark, 8).size(), 4u);
}

TEST_F(ProgramTest, StatusRequestsGoInTurnToTheGaugesThatReportBack)
{
    ASSERT_TRUE(runStarted());
    const std::size_t mark = frames_.size();
    ASSERT_TRUE(waitUntil([&] { return since(mark, 7).size() >= 6; }, 5000)) << "no status requests";
    const std::vector<Frame> requests = since(mark, 7);
    for (std::size_t i = 1; i < requests.size(); ++i)
        EXPECT_NE(requests[i].gaugeID, requests[i - 1].gaugeID) << "request " << i;
    for (const Frame& request : requests) {
        EXPECT_TRUE(request.gaugeID == kRadioModules[0] || request.gaugeID == kRadioModules[1]);
        EXPECT_EQ(request.value, 0);
    }
    // One request per tick, as the last frame of its write.
    for (std::size_t i = mark; i < frames_.size(); ++i)
        if (frames_[i].command == 7) {
            const std::vector<Frame> tick = writeOf(i);
            EXPECT_EQ(std::count_if(tick.begin(), tick.end(), [](const Frame& f) { return f.command == 7; }), 1);
            EXPECT_EQ(tick.back().command, 7);
        }
}

TEST_F(ProgramTest, TerminationEndsTheProgramThroughTheRunWindowsExit)
{
    ASSERT_TRUE(runStarted());
    xplane_.clearReceived();
    ::kill(pid_t(program_.processId()), SIGTERM);
    ASSERT_TRUE(waitUntil([&] { return program_.state() == QProcess::NotRunning; }, 5000)) << "the program goes on";
    EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program_.exitCode(), 0);
    EXPECT_TRUE(xplaneReceived(isStopAll)) << "X-Plane was not told to stop its data";
}

} // namespace
} // namespace varnet
