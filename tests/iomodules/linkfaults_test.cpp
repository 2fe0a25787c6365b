// The links of the stand-alone devices when their device goes away during a run, and the rate they
// show, on fake ports: the engine cluster on COM4, the I/O modules on COM5 and COM6.

#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "iomodules/enginelink.h"
#include "iomodules/iomodulelink.h"
#include "platform/wait.h"
#include "support/fake_serial_port.h"
#include "support/scripted_messages.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

namespace varnet {
namespace {

using testing::FakeSerialPort;

class LinkFaults : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        std::tie(Cfg.ComPortEC, Cfg.ComPortIOM, Cfg.ComPortIOM2) = std::tuple(4, 5, 6);
        OpenComPorts();
    }

    // The link running, its ticks left to the test.
    template <typename Link>
    Link& running()
    {
        Link& link = DefaultForm<Link>::get();
        link.cmdRun_Click();
        link.ProcessTimer().stop();
        return link;
    }

    testing::FakeSerialPorts fakes;
};

// How a device goes away (the engine cluster's 20 ms ticks carry 69 bytes), and what the question says.
struct Loss {
    const char* name;
    void (*cause)(LinkWindow&, FakeSerialPort&);
    const char* reason;
};

void PrintTo(const Loss& loss, std::ostream* os)
{
    *os << loss.name;
}

const Loss kLosses[] = {
    {"WriteFails", [](LinkWindow& link, FakeSerialPort& port) {
         port.setWriteError("Input/output error");
         EXPECT_FALSE(link.WriteOutput("lost"));
     }, "Input/output error"},
    {"HangUp", [](LinkWindow&, FakeSerialPort& port) {
         port.close();
         emit port.commError("The device was disconnected");
     }, "The device was disconnected"},
    {"OutputStalls", [](LinkWindow& link, FakeSerialPort& port) {
         port.held = 60;  // 18 ms of line, and never less
         EXPECT_FALSE(link.WriteOutput(QByteArray(40, 'F')) || !port.isOpen()) << "a busy line is no loss";
         waitMs(250);
         EXPECT_FALSE(link.WriteOutput(QByteArray(40, 'F')));
     }, kOutputStalled},
};

class DeviceLost : public LinkFaults, public ::testing::WithParamInterface<Loss> {};

TEST_P(DeviceLost, IsAskedOnceLookedForUnderItsNumberAndGetsTheLastOutputAgainWhenBack)
{
    frmStatusEC& link = running<frmStatusEC>();
    FakeSerialPort& port = *fakes.port(4);
    ASSERT_TRUE(link.DeviceReady() && link.WriteOutput("first"));
    GetParam().cause(link, port);
    EXPECT_FALSE(port.isOpen() || link.WriteOutput("away"));

    port.setOpenError("No such file or directory");
    testing::ScriptedMessages boxes;
    boxes.expectYesNo(QStringLiteral("An error has occured writing Data to Engine Cluster\r\nError: %1\r\n"
                                     "Check Virtual/USB Com Port\r\nContinue?").arg(GetParam().reason), true);
    EXPECT_FALSE(link.DeviceReady() || link.DeviceReady() || link.DeviceReady() || port.isOpen());

    port.setOpenError({});
    port.setWriteError({});
    port.held = 0;
    port.clearWrites();
    EXPECT_TRUE(link.DeviceReady() && link.WriteOutput("new") && link.Running == 1);
    EXPECT_EQ(port.writes(), (QList<QByteArray>{"first", "new"}));
}

INSTANTIATE_TEST_SUITE_P(EngineCluster, DeviceLost, ::testing::ValuesIn(kLosses),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkFaults, TheLineBudgetHoldsAndTicksInsideTheOpenQuestionNeitherAskNorWrite)
{
    // A box runs events while it is open, and the ticks keep coming.
    struct SlowBoxes final : MessageService {
        MessageService* previous = setMessageService(this);
        int boxes = 0;
        ~SlowBoxes() override { setMessageService(previous); }
        void ok(const QString&) override { ++boxes; }
        bool yesNo(const QString&) override { return ++boxes, waitMs(150), true; }
        std::optional<QString> input(const QString&, const QString&) override { return {}; }
    } slow;
    frmstatusIOM2& link = running<frmstatusIOM2>();
    FakeSerialPort& port = *fakes.port(6);
    // The 30 ms of an I/O module's tick carry 104 bytes: what waits stays within that, but an idle
    // line takes an output of any size.
    port.held = 99;
    EXPECT_FALSE(link.WriteOutput("poll06"));
    port.held = 0;
    EXPECT_TRUE(link.WriteOutput(QByteArray(200, 'L')));

    port.setWriteError("Input/output error");
    EXPECT_FALSE(link.WriteOutput("poll"));
    port.setWriteError({});
    int ticks = 0, readyInside = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks, readyInside += link.DeviceReady(); });
    ticker.start(10);
    EXPECT_TRUE(link.DeviceReady());
    EXPECT_EQ((std::tuple{slow.boxes, ticks > 3, readyInside}), (std::tuple{1, true, 0}));

}

TEST_F(LinkFaults, AnIdleModuleLineIsAskedWhatItHoldsEveryTenthOfASecondAndAStopIsStillFound)
{
    frmStatusIOM& link = running<frmStatusIOM>();
    FakeSerialPort& port = *fakes.port(5);
    QElapsedTimer elapsed;
    // Polls 30 ms apart until the link refuses one; the time that took. A device that stopped
    // taking data leaves every poll in the driver.
    bool stopped = false;
    const auto pollUntilRefused = [&](int forMs) {
        elapsed.start();
        while (elapsed.elapsed() < forMs && link.WriteOutput("poll06")) {
            port.held += stopped ? 6 : 0;
            waitMs(30);
        }
        return elapsed.elapsed();
    };
    port.heldAsked = 0;
    EXPECT_GE(pollUntilRefused(1000), 1000);
    EXPECT_TRUE(port.heldAsked >= 8 && port.heldAsked <= 12) << port.heldAsked << " looks in a second";

    // The device stops taking data: the next look finds the bytes, and from then on every tick
    // looks, until they have stayed longer than the line needs for them.
    stopped = true;
    const qint64 lostAfter = pollUntilRefused(2000);
    EXPECT_TRUE(lostAfter >= 160 && lostAfter <= 400 && !port.isOpen()) << lostAfter << " ms";
    testing::ScriptedMessages boxes;
    boxes.expectYesNo(QStringLiteral("An error has occured writing Data to I/O module 1\r\nError: %1\r\n"
                                     "Check Virtual/USB Com Port\r\nContinue?").arg(kOutputStalled), true);
    port.setOpenError("No such file or directory");
    EXPECT_FALSE(link.DeviceReady());
    EXPECT_EQ(boxes.pending(), 0);
}

TEST_F(LinkFaults, TheRateBoxShowsTheUnitsOfTheLastSecondWhileRunningAndZeroWhenHalted)
{
    frmStatusIOM& module = running<frmStatusIOM>();
    const auto rate = [&] { return module.findChild<QLineEdit*>("BoxRate")->text(); };
    const auto secondPasses = [&] { QMetaObject::invokeMethod(&module.Timer1(), "timeout"); };
    EXPECT_TRUE(module.Timer1().isActive() && rate() == "0");
    module.CountUnit();
    module.CountUnit();
    secondPasses();
    const QString first = rate();
    secondPasses();
    const QString second = rate();
    module.CountUnit();
    module.cmdStop_Click();
    EXPECT_EQ((std::tuple{first, second, rate(), module.Timer1().isActive()}), (std::tuple{"2", "0", "0", false}));

    frmStatusEC& cluster = running<frmStatusEC>();
    cluster.CountUnit();
    QMetaObject::invokeMethod(&cluster.Timer1(), "timeout");
    EXPECT_EQ(cluster.findChild<QLineEdit*>("BoxRate")->text(), "1");
}

} // namespace
} // namespace varnet
