// What the links of the stand-alone devices do when their device goes away during a run, and the
// rate they show, on fake ports: the engine cluster on COM4, the I/O modules on COM5 and COM6.

#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "iomodules/enginelink.h"
#include "iomodules/iomodulelink.h"
#include "platform/wait.h"
#include "support/fake_serial_port.h"
#include "support/scripted_messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <functional>
#include <tuple>

namespace varnet {
namespace {

using testing::FakeSerialPort;
using testing::hexBytes;

LinkWindow& linkWindow(StandAloneDevice device)
{
    switch (device) {
    case StandAloneDevice::EngineCluster:
        return DefaultForm<frmStatusEC>::get();
    case StandAloneDevice::IOModule1:
        return DefaultForm<frmStatusIOM>::get();
    case StandAloneDevice::IOModule2:
        break;
    }
    return DefaultForm<frmstatusIOM2>::get();
}

QString faultText(StandAloneDevice device, const QString& reason)
{
    const QString first = device == StandAloneDevice::EngineCluster
                              ? QStringLiteral("An error has occured writing Data to Engine Cluster")
                          : device == StandAloneDevice::IOModule1 ? QStringLiteral("An error has occured writing Data to I/O module 1")
                                                                  : QStringLiteral("An error has occured writing Data to I/O module 2");
    return first + "\r\nError: " + reason + "\r\nCheck Virtual/USB Com Port\r\nContinue?";
}

class LinkFaults : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        std::tie(Cfg.ComPortEC, Cfg.ComPortIOM, Cfg.ComPortIOM2) = std::tuple(4, 5, 6);
        OpenComPorts();
    }

    void TearDown() override
    {
        frmStatus::EndProgram = nullptr;
        GaugeBusTest::TearDown();
    }

    // The link running, its ticks left to the test.
    LinkWindow& running(StandAloneDevice device)
    {
        standAloneLinks().cmdRun_Click(device);
        LinkWindow& link = linkWindow(device);
        link.ProcessTimer().stop();
        return link;
    }

    FakeSerialPort& port(StandAloneDevice device) { return *fakes.port(DevicePortNumber(device)); }

    testing::FakeSerialPorts fakes;
};

// How a device goes away; `reason` is what the question tells.
struct Loss {
    const char* name;
    std::function<void(LinkWindow&, FakeSerialPort&)> cause;
    QString reason;
};

const Loss kLosses[] = {
    {"WriteFails",
     [](LinkWindow& link, FakeSerialPort& port) {
         port.setWriteError("Input/output error");
         EXPECT_FALSE(link.WriteOutput("lost"));
     },
     "Input/output error"},
    {"HangUp",
     [](LinkWindow&, FakeSerialPort& port) {
         port.close();
         emit port.commError("The device was disconnected");
     },
     "The device was disconnected"},
    // The driver holds 200 bytes (58 ms of line) and takes none of them.
    {"OutputStalls",
     [](LinkWindow& link, FakeSerialPort& port) {
         port.held = 200;
         EXPECT_FALSE(link.WriteOutput("late"));
         EXPECT_TRUE(port.isOpen()) << "a full line is no loss yet";
         waitMs(300);
         EXPECT_FALSE(link.WriteOutput("late"));
     },
     kOutputStalled},
};

void PrintTo(const Loss& loss, std::ostream* os)
{
    *os << loss.name;
}

class DeviceLost : public LinkFaults, public ::testing::WithParamInterface<std::tuple<StandAloneDevice, Loss>> {};

TEST_P(DeviceLost, IsAskedOnceTheLinkLooksForItUnderItsNumberAndRepeatsItsLastOutputWhenItIsBack)
{
    const auto& [device, loss] = GetParam();
    LinkWindow& link = running(device);
    FakeSerialPort& fake = port(device);
    ASSERT_TRUE(link.DeviceReady() && link.WriteOutput(hexBytes("00 0A 60 00 00 FF")));

    loss.cause(link, fake);
    EXPECT_FALSE(fake.isOpen()) << "the port of a lost device stays open";
    EXPECT_FALSE(link.WriteOutput("more")) << "written while the device is away";

    fake.setOpenError("No such file or directory");
    testing::ScriptedMessages boxes;
    boxes.expectYesNo(faultText(device, loss.reason), true);
    EXPECT_FALSE(link.DeviceReady());
    // Ticks while it is away: no second box, the port is looked for and stays closed.
    EXPECT_FALSE(link.DeviceReady() || link.DeviceReady() || fake.isOpen());
    EXPECT_EQ(boxes.pending(), 0u);

    fake.setOpenError({});
    fake.setWriteError({});
    fake.held = 0;
    fake.clearWrites();
    ASSERT_TRUE(link.DeviceReady()) << "the device is back and not found";
    EXPECT_TRUE(link.WriteOutput("new"));
    EXPECT_EQ(fake.writes(), (QList<QByteArray>{hexBytes("00 0A 60 00 00 FF"), "new"}));
    EXPECT_EQ((std::tuple{fake.portNumber(), link.Running}), (std::tuple{DevicePortNumber(device), 1}));

    // Once a write got through, the next loss is asked about again.
    boxes.expectYesNo(faultText(device, "Input/output error"), true);
    fake.setWriteError("Input/output error");
    EXPECT_FALSE(link.WriteOutput("again") || link.DeviceReady());
}

INSTANTIATE_TEST_SUITE_P(Links, DeviceLost,
                         ::testing::Combine(::testing::Values(StandAloneDevice::EngineCluster, StandAloneDevice::IOModule1,
                                                              StandAloneDevice::IOModule2),
                                            ::testing::ValuesIn(kLosses)),
                         [](const auto& info) {
                             const StandAloneDevice device = std::get<0>(info.param);
                             return std::string(device == StandAloneDevice::EngineCluster ? "EngineCluster"
                                                : device == StandAloneDevice::IOModule1   ? "IOModule1"
                                                                                          : "IOModule2") +
                                    std::get<1>(info.param).name;
                         });

TEST_F(LinkFaults, NoEndsTheProgramForAnIOModuleAndStopsOnlyItsLinkForTheEngineCluster)
{
    LinkWindow& module1 = running(StandAloneDevice::IOModule1);
    LinkWindow& cluster = running(StandAloneDevice::EngineCluster);
    for (StandAloneDevice device : {StandAloneDevice::EngineCluster, StandAloneDevice::IOModule1}) {
        port(device).setWriteError("Input/output error");
        port(device).setOpenError("No such file or directory");
    }
    int ends = 0;
    frmStatus::EndProgram = [&] { ++ends; };
    testing::ScriptedMessages boxes;

    boxes.expectYesNo(faultText(StandAloneDevice::EngineCluster, "Input/output error"), false);
    EXPECT_FALSE(cluster.WriteOutput("frame") || cluster.DeviceReady());
    EXPECT_EQ((std::tuple{cluster.Running, cluster.ProcessTimer().isActive(), DefaultForm<frmStatusEC>::get().Timer1().isActive(),
                          cluster.findChild<QLineEdit*>("BoxRun")->text(), module1.Running, ends}),
              (std::tuple{0, false, false, "Halted", 1, 0}));

    boxes.expectYesNo(faultText(StandAloneDevice::IOModule1, "Input/output error"), false);
    EXPECT_FALSE(module1.WriteOutput("poll") || module1.DeviceReady());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(standAloneLinks().Loaded(StandAloneDevice::IOModule1) || DefaultForm<frmStatus>::loaded())
        << "the program did not end as the run window's Exit ends it";
}

// A message box runs events while it is open: the ticks keep coming.
class SlowBoxes final : public MessageService {
public:
    SlowBoxes() : previous_(setMessageService(this)) {}
    ~SlowBoxes() override { setMessageService(previous_); }

    void ok(const QString&) override { ++boxes; }
    bool yesNo(const QString&) override
    {
        ++boxes;
        waitMs(150);
        return true;
    }
    std::optional<QString> input(const QString&, const QString&) override { return std::nullopt; }

    int boxes = 0;

private:
    MessageService* previous_;
};

TEST_F(LinkFaults, TicksWhileTheQuestionIsOpenNeitherAskAgainNorWrite)
{
    LinkWindow& link = running(StandAloneDevice::IOModule2);
    FakeSerialPort& fake = port(StandAloneDevice::IOModule2);
    fake.setWriteError("Input/output error");
    EXPECT_FALSE(link.WriteOutput("poll"));
    fake.setWriteError({});

    SlowBoxes boxes;
    int ticks = 0, readyInside = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        if (boxes.boxes > 0 && link.DeviceReady())
            ++readyInside;
    });
    ticker.start();
    EXPECT_TRUE(link.DeviceReady()) << "the device was back when the box closed";
    EXPECT_GT(ticks, 3) << "no tick ran while the box was open";
    EXPECT_EQ((std::tuple{boxes.boxes, readyInside}), (std::tuple{1, 0}));
}

TEST_F(LinkFaults, OutputWaitsWhileTheLineStillCarriesMoreThanATickAndAPortNotOpenedAtTheStartIsLookedForQuietly)
{
    // The engine cluster's 20 ms carry 69 bytes.
    LinkWindow& cluster = running(StandAloneDevice::EngineCluster);
    FakeSerialPort& fake = port(StandAloneDevice::EngineCluster);
    fake.held = 29;
    EXPECT_TRUE(cluster.WriteOutput(QByteArray(40, 'A')));
    fake.held = 30;
    EXPECT_FALSE(cluster.WriteOutput(QByteArray(40, 'B')));
    fake.held = 0;
    EXPECT_TRUE(cluster.WriteOutput(QByteArray(200, 'C'))) << "an idle line takes more than a tick's worth";
    EXPECT_EQ(fake.writes(), (QList<QByteArray>{QByteArray(40, 'A'), QByteArray(200, 'C')}));

    // Closed without a loss (the run found no device there): no question, only the look.
    testing::ScriptedMessages noBoxes;
    LinkWindow& module1 = running(StandAloneDevice::IOModule1);
    FakeSerialPort& modulePort = port(StandAloneDevice::IOModule1);
    modulePort.close();
    modulePort.setOpenError("No such file or directory");
    EXPECT_FALSE(module1.DeviceReady() || module1.WriteOutput("poll"));
    modulePort.setOpenError({});
    EXPECT_TRUE(module1.DeviceReady() && module1.WriteOutput("poll"));
}

// The one-second timer's tick, as the timer gives it.
void secondPasses(QTimer& timer)
{
    QMetaObject::invokeMethod(&timer, "timeout", Qt::DirectConnection);
}

TEST_F(LinkFaults, EachLinkShowsItsUnitsOfTheLastSecondWhileRunningAndZeroWhenHalted)
{
    struct Case {
        StandAloneDevice device;
        std::function<QTimer&()> timer1;
        const char* caption;
    };
    const Case cases[] = {
        {StandAloneDevice::EngineCluster, []() -> QTimer& { return DefaultForm<frmStatusEC>::get().Timer1(); },
         "Frames sent per second"},
        {StandAloneDevice::IOModule1, []() -> QTimer& { return DefaultForm<frmStatusIOM>::get().Timer1(); },
         "Replies per second"},
        {StandAloneDevice::IOModule2, []() -> QTimer& { return DefaultForm<frmstatusIOM2>::get().Timer1(); },
         "Replies per second"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        LinkWindow& link = running(c.device);
        const auto rate = [&] { return link.findChild<QLineEdit*>("BoxRate")->text(); };
        QTimer& timer1 = c.timer1();
        EXPECT_EQ((std::tuple{timer1.isActive(), timer1.interval(), rate(), link.findChild<QLabel*>("LabelRate")->text()}),
                  (std::tuple{true, 1000, "0", c.caption}));
        for (int k = 0; k < 3; ++k)
            link.CountUnit();
        secondPasses(timer1);
        const QString first = rate();
        secondPasses(timer1);
        const QString second = rate();
        link.CountUnit();
        link.cmdStop_Click();
        EXPECT_EQ((std::tuple{first, second, rate(), link.UnitsPerSecond(), timer1.isActive()}),
                  (std::tuple{"3", "0", "0", 0, false}));
    }
}

} // namespace
} // namespace varnet
