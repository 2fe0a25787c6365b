// The links of the stand-alone devices on real serial links: each device a pseudo-terminal that goes
// away in the middle of the run, as a USB adapter pulled out of the PC does, and comes back under
// its COM name. The links' ticks here only keep the newest output going out; what the loops put
// into it does not matter to the loss.

#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "iomodules/enginelink.h"
#include "iomodules/iomodulelink.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/scripted_messages.h"

#include <QTimer>

#include <memory>

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kClusterNumber = 4, kModuleNumber = 5;

struct PulledLink {
    const char* name;
    StandAloneDevice device;
    int comNumber;
    const char* faultLine;
    // What the link writes before and after the pull: its newest output.
    QByteArray before, after;
};

void PrintTo(const PulledLink& link, std::ostream* os)
{
    *os << link.name;
}

const PulledLink kPulledLinks[] = {
    {"IOModule1", StandAloneDevice::IOModule1, kModuleNumber, "An error has occured writing Data to I/O module 1",
     hexBytes("00 0A 40 01 00 FF"), hexBytes("00 0A 40 07 00 FF")},
    {"EngineCluster", StandAloneDevice::EngineCluster, kClusterNumber,
     "An error has occured writing Data to Engine Cluster", "F" + QByteArray(39, '\x11'), "F" + QByteArray(39, '\x22')},
};

class LinkPulled : public GaugeBusTest, public ::testing::WithParamInterface<PulledLink> {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        (GetParam().device == StandAloneDevice::EngineCluster ? Cfg.ComPortEC : Cfg.ComPortIOM) =
            Integer(GetParam().comNumber);
        plugIn();
        ASSERT_TRUE(OpenComPorts(PortFailures::Quiet));
        link_ = &window();
        // The link's ticks: the newest output, as long as the device takes it.
        QObject::connect(&link_->ProcessTimer(), &QTimer::timeout, link_, [this] {
            if (link_->DeviceReady())
                link_->WriteOutput(output_);
        });
        output_ = GetParam().before;
        standAloneLinks().cmdRun_Click(GetParam().device);
    }

    void TearDown() override
    {
        frmStatus::EndProgram = nullptr;
        GaugeBusTest::TearDown();
    }

    LinkWindow& window()
    {
        if (GetParam().device == StandAloneDevice::EngineCluster)
            return DefaultForm<frmStatusEC>::get();
        return DefaultForm<frmStatusIOM>::get();
    }

    void plugIn()
    {
        device_ = std::make_unique<SimControlUnit>(GetParam().comNumber);
        ASSERT_TRUE(device_->ready());
    }

    bool arrives(const QByteArray& bytes)
    {
        return waitUntil([&] { return device_->received().contains(bytes); }, 2000);
    }

    QString fault() const
    {
        return QString::fromLatin1(GetParam().faultLine) +
               "\r\nError: The device was disconnected\r\nCheck Virtual/USB Com Port\r\nContinue?";
    }

    std::unique_ptr<SimControlUnit> device_;
    LinkWindow* link_ = nullptr;
    QByteArray output_;
};

TEST_P(LinkPulled, IsAskedOnceWithinTicksAndAfterYesTheNewestOutputReachesTheDevicePluggedInUnderItsName)
{
    ASSERT_TRUE(arrives(GetParam().before));

    ScriptedMessages boxes;
    boxes.expectYesNo(fault(), true);
    device_->pull();
    output_ = GetParam().after;
    EXPECT_TRUE(waitUntil([&] { return boxes.pending() == 0; }, 200)) << "not asked within the next ticks";
    // A second with the device away: one box, the link runs on, its port not opened on another device.
    waitMs(1000);
    EXPECT_TRUE(link_->Running == 1 && link_->ProcessTimer().isActive());
    EXPECT_FALSE(link_->MSComm1().isOpen()) << "the link went on on another device";

    plugIn();
    EXPECT_TRUE(arrives(GetParam().after)) << "the output did not reach the device plugged in again";
}

TEST_P(LinkPulled, NoEndsTheProgramForAnIOModuleAndStopsTheEngineClustersLinkAlone)
{
    ASSERT_TRUE(arrives(GetParam().before));
    int ends = 0;
    frmStatus::EndProgram = [&] { ++ends; };
    const QPointer<LinkWindow> link(link_);

    ScriptedMessages boxes;
    boxes.expectYesNo(fault(), false);
    device_->pull();
    const bool cluster = GetParam().device == StandAloneDevice::EngineCluster;
    EXPECT_TRUE(waitUntil([&] { return cluster ? link_->Running == 0 : ends == 1; }, 300));
    waitMs(200);  // nothing more is asked
    if (cluster)
        EXPECT_TRUE(link && !link->ProcessTimer().isActive() && ends == 0);
    else
        EXPECT_TRUE(!link && ends == 1) << "the program did not end as the run window's Exit ends it";
}

INSTANTIATE_TEST_SUITE_P(Links, LinkPulled, ::testing::ValuesIn(kPulledLinks),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace varnet
