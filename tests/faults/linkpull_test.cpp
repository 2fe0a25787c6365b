// The links of the stand-alone devices on real serial links: the device a pseudo-terminal that goes
// away in the middle of the run, as a USB adapter pulled out of the PC does, and comes back under
// its COM name. The test's ticks only keep the link's newest output going out.

#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "iomodules/enginelink.h"
#include "iomodules/iomodulelink.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/scripted_messages.h"

#include <QFileInfo>
#include <QTimer>

#include <memory>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnet {
namespace {

using namespace varnet::testing;

struct PulledLink {
    const char* name;
    StandAloneDevice device;
    const char* faultLine;
    QByteArray before, after;  // the newest output before and after the pull
};

const PulledLink kPulledLinks[] = {
    {"IOModule1", StandAloneDevice::IOModule1, "An error has occured writing Data to I/O module 1",
     hexBytes("00 0A 40 01 00 FF"), hexBytes("00 0A 40 07 00 FF")},
    {"EngineCluster", StandAloneDevice::EngineCluster, "An error has occured writing Data to Engine Cluster",
     "F" + QByteArray(39, '\x11'), "F" + QByteArray(39, '\x22')},
};

class LinkPulled : public GaugeBusTest, public ::testing::WithParamInterface<PulledLink> {
protected:
    void TearDown() override
    {
        frmStatus::EndProgram = nullptr;
        GaugeBusTest::TearDown();
    }
};

TEST_P(LinkPulled, IsAskedOnceYesFindsTheDeviceAgainUnderItsNameNoEndsTheProgramOrStopsTheClusterAlone)
{
    const PulledLink& p = GetParam();
    const bool cluster = p.device == StandAloneDevice::EngineCluster;
    (cluster ? Cfg.ComPortEC : Cfg.ComPortIOM) = 4;
    auto device = std::make_unique<SimControlUnit>(4);
    ASSERT_TRUE(OpenComPorts(PortFailures::Quiet));
    LinkWindow& window = cluster ? static_cast<LinkWindow&>(DefaultForm<frmStatusEC>::get())
                                 : static_cast<LinkWindow&>(DefaultForm<frmStatusIOM>::get());
    const QPointer<LinkWindow> link(&window);
    QByteArray output = p.before;
    QObject::connect(&window.ProcessTimer(), &QTimer::timeout, &window, [&] {
        if (link->DeviceReady())
            link->WriteOutput(output);
    });
    standAloneLinks().cmdRun_Click(p.device);
    const auto arrives = [&](const QByteArray& bytes) {
        return waitUntil([&] { return device->received().contains(bytes); }, 2000);
    };
    ASSERT_TRUE(arrives(p.before));

    ScriptedMessages boxes;
    const QString fault = QString::fromLatin1(p.faultLine) +
                          "\r\nError: The device was disconnected\r\nCheck Virtual/USB Com Port\r\nContinue?";
    boxes.expectYesNo(fault, true);
    device->pull();
    output = p.after;
    EXPECT_TRUE(waitUntil([&] { return boxes.pending() == 0; }, 200)) << "not asked within the next ticks";
    // A second with the device away: one box, the link runs on, its port not opened on another device.
    waitMs(1000);
    EXPECT_TRUE(link->Running == 1 && link->ProcessTimer().isActive() && !link->MSComm1().isOpen());
    device = std::make_unique<SimControlUnit>(4);
    EXPECT_TRUE(arrives(p.after)) << "the output did not reach the device plugged in again";

    int ends = 0;
    frmStatus::EndProgram = [&] { ++ends; };
    boxes.expectYesNo(fault, false);
    device->pull();
    EXPECT_TRUE(waitUntil([&] { return cluster ? link->Running == 0 : ends == 1; }, 300));
    waitMs(200);  // nothing more is asked
    if (cluster)
        EXPECT_TRUE(link && !link->ProcessTimer().isActive() && ends == 0);
    else
        EXPECT_TRUE(!link && ends == 1) << "the program did not end as the run window's Exit ends it";
}

TEST_P(LinkPulled, AnEntryMadeAgainToAFifoIsToldOnceAndNotOpenedUntilItLeadsToTheDeviceAgain)
{
    const PulledLink& p = GetParam();
    (p.device == StandAloneDevice::EngineCluster ? Cfg.ComPortEC : Cfg.ComPortIOM) = 4;
    auto device = std::make_unique<SimControlUnit>(4);
    ASSERT_TRUE(OpenComPorts(PortFailures::Quiet));
    LinkWindow& window = p.device == StandAloneDevice::EngineCluster
                             ? static_cast<LinkWindow&>(DefaultForm<frmStatusEC>::get())
                             : static_cast<LinkWindow&>(DefaultForm<frmStatusIOM>::get());
    const QPointer<LinkWindow> link(&window);
    QObject::connect(&window.ProcessTimer(), &QTimer::timeout, &window, [&] {
        if (link->DeviceReady())
            link->WriteOutput(p.before);
    });
    standAloneLinks().cmdRun_Click(p.device);
    ASSERT_TRUE(waitUntil([&] { return device->received().contains(p.before); }, 2000));

    ScriptedMessages boxes;
    const auto question = [&](const char* reason) {
        return QString::fromLatin1(p.faultLine) + "\r\nError: " + reason + "\r\nCheck Virtual/USB Com Port\r\nContinue?";
    };
    boxes.expectYesNo(question("The device was disconnected"), true);
    boxes.expectYesNo(question(kNotASerialDevice), true);
    ASSERT_EQ(::mkfifo("device.fifo", 0600), 0);
    const int opens = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(inotify_add_watch(opens, "device.fifo", IN_OPEN), 0);
    device->pull();
    ASSERT_TRUE(QFile::link(QFileInfo("device.fifo").absoluteFilePath(), "COM4"));
    EXPECT_TRUE(waitUntil([&] { return boxes.pending() == 0; }, 1000)) << "not told within ticks";
    waitMs(500);
    char events[256];
    EXPECT_LT(::read(opens, events, sizeof events), 0) << "the FIFO was opened";
    ::close(opens);
    EXPECT_TRUE(link && link->Running == 1);

    ASSERT_TRUE(QFile::remove("COM4"));
    device = std::make_unique<SimControlUnit>(4);
    EXPECT_TRUE(waitUntil([&] { return device->received().contains(p.before); }, 2000))
        << "the device linked again is not found";
}

INSTANTIATE_TEST_SUITE_P(Links, LinkPulled, ::testing::ValuesIn(kPulledLinks),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace varnet
