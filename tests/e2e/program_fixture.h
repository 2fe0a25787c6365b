#pragma once

// The program as a cockpit builder runs it: the shipped example
// configuration on a gauge bus (COM1, the simulated control unit) and an
// X-Plane on the loopback (the simulated one), started by the autostart and
// ended by a termination request, which the program handles as the Exit of
// the window it is on. A test fixture may add to the configuration
// (configure) before the program starts.

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
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>

#include <signal.h>

namespace varnet::testing {

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

// A stand-alone I/O module answers to bus address 10, and command 6 asks
// it for its inputs.
constexpr int kModuleAddress = 10;
constexpr int kModulePollCommand = 6;

// The polls that `module`, a simulated stand-alone I/O module, received.
inline int ModulePolls(const SimControlUnit& module)
{
    return int(std::ranges::count_if(module.frames(), [](const QByteArray& frame) {
        return quint8(frame[1]) == kModuleAddress && (quint8(frame[2]) >> 4) == kModulePollCommand;
    }));
}

// Sets the switches of `module`, a simulated stand-alone I/O module, that
// its next replies report on: those in `on`, the others off.
inline void SetModuleSwitches(SimControlUnit& module, std::initializer_list<int> on)
{
    QByteArray bytes(6, '\0');
    for (const int s : on)
        bytes[s / 8] = char(quint8(bytes[s / 8]) | (0x80 >> (s % 8)));
    module.setIOModuleInputs(kModuleAddress, bytes);
}

struct Frame {
    int gaugeID = 0, command = 0, value = 0;
    qint64 at = 0;  // ms since the program started
};

inline quint16 freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

inline SimXplane::Record record(quint32 group, int slot, float value)
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
        configure();
        std::string error;
        ASSERT_TRUE(writeFileSafely("Default.cfg", SerializeConfig(Cfg), &error)) << error;
        Session.StartDelay = 1;
        ASSERT_TRUE(WriteStartFile("Default.cfg"));
        ASSERT_NO_FATAL_FAILURE(filesWritten());

        ASSERT_TRUE(unit_.ready());
        unit_.answer = [this](const QByteArray& bytes) { return logFrame(bytes), QByteArray(); };
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", platform_);
        program_.setProcessEnvironment(env);
        program_.setWorkingDirectory(dir_.path());
        program_.setProcessChannelMode(QProcess::MergedChannels);
        clock_.start();
        program_.start(VARNET_PROGRAM, {});
        ASSERT_TRUE(program_.waitForStarted()) << program_.errorString().toStdString();
    }

    // Additions to the configuration, made before it is written.
    virtual void configure() {}
    // Changes to the files written (the configuration, the start file),
    // made before the program starts.
    virtual void filesWritten() {}

    // Function f: value 0 of X-Plane's DATA group `group`, as it comes.
    static void defineFunction(int f, const char* name, quint32 group)
    {
        Cfg.FunctionNames[f] = Cfg.FunctionFullName[f] = name;
        Cfg.FunctionNumber[f] = Integer(f);
        Cfg.FunctionDataType[f] = DataTypeFloat;
        Cfg.FunctionIndex1[f] = Integer(group);
        Cfg.FunctionMultiply[f] = Cfg.FunctionDivide[f] = 1;
    }

    // A frame the control unit received, read back the way a gauge does it
    // and kept with its time.
    Frame logFrame(const QByteArray& bytes)
    {
        const int command = quint8(bytes[2]);
        const int magnitude = SimControlUnit::frameMagnitude(bytes);
        frames_.push_back({quint8(bytes[1]), command >> 4, (command & 0x04) ? -magnitude : magnitude, clock_.elapsed()});
        return frames_.back();
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

    bool waitFor(const std::function<bool(const Frame&)>& match, int timeoutMs = 3000, std::size_t from = 0)
    {
        return waitUntil([&] { return std::any_of(frames_.begin() + long(from), frames_.end(), match); }, timeoutMs);
    }

    bool needleAt(int gauge, int steps, std::size_t from, int timeoutMs = 3000)
    {
        return waitFor([&](const Frame& f) { return f.gaugeID == gauge && f.command == 5 && f.value == steps; },
                       timeoutMs, from);
    }

    std::vector<Frame> since(std::size_t from, int command) const
    {
        std::vector<Frame> found;
        std::copy_if(frames_.begin() + long(from), frames_.end(), std::back_inserter(found),
                     [&](const Frame& f) { return f.command == command; });
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

    // The values X-Plane received for value 0 of a DATA group, in order.
    std::vector<float> dataValues(quint32 group) const
    {
        std::vector<float> values;
        for (const QByteArray& d : xplane_.received())
            if (d.size() == 41 && d.startsWith("DATA0") && qFromLittleEndian<quint32>(d.constData() + 5) == group)
                values.push_back(qFromLittleEndian<float>(d.constData() + 9));
        return values;
    }

    bool waitForData(quint32 group, float value, int timeoutMs = 5000)
    {
        return waitUntil([&] { return std::ranges::count(dataValues(group), value) > 0; }, timeoutMs);
    }

    // Ends the program as a cockpit builder's session does (a termination
    // request, or the terminal closing); success when it went the way of the
    // Exit button.
    ::testing::AssertionResult endsCleanly(int signal = SIGTERM, int timeoutMs = 10000)
    {
        return endsCleanly(xplane_, signal, timeoutMs);
    }
    // The same when the configuration in memory names `xplane`.
    ::testing::AssertionResult endsCleanly(SimXplane& xplane, int signal = SIGTERM, int timeoutMs = 10000)
    {
        xplane.clearReceived();
        ::kill(pid_t(program_.processId()), signal);
        if (!waitUntil([&] { return program_.state() == QProcess::NotRunning; }, timeoutMs))
            return ::testing::AssertionFailure() << "the program goes on";
        if (program_.exitStatus() != QProcess::NormalExit || program_.exitCode() != 0)
            return ::testing::AssertionFailure() << "the program ended with " << program_.exitCode();
        if (std::ranges::none_of(xplane.received(), isStopAll))
            return ::testing::AssertionFailure() << "X-Plane was not told to stop its data";
        return ::testing::AssertionSuccess();
    }

    static bool isStopAll(const QByteArray& d) { return d.size() == 605 && d.startsWith("USEL0"); }
    static bool isSelect(const QByteArray& d, quint32 group)
    {
        return d.size() == 9 && d.startsWith("DSEL0") && quint8(d[5]) == group;
    }

    // Where the program shows its windows: nowhere, or the display a test
    // answers its boxes on.
    QString platform_ = "offscreen";
    ScopedWorkDir dir_;
    SimXplane xplane_;
    SimControlUnit unit_{1};
    QProcess program_;
    QElapsedTimer clock_;
    quint16 programPort_ = 0;
    std::vector<Frame> frames_;
};

} // namespace varnet::testing
