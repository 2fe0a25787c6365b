// The run and the dialogs on the real serial link: the simulated control unit on a pseudo-terminal
// that goes away, as a USB adapter pulled out of the PC does, and comes back under its COM name.

#include "bus/gaugebus_fixture.h"
#include "config/gaugetypes.h"
#include "gauges/onthebus_fixture.h"
#include "gauges/vorindicator.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"
#include "simxplane/simxplane.h"
#include "support/scripted_messages.h"

#include <QUdpSocket>

#include <memory>

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kBusNumber = 1, kAirspeedGauge = 1, kSingleNeedleType = 1;
constexpr int kNeedleCommand = 5, kSpeedsGroup = 3;

const QString kUnitGone =
    "Error 13: An error has occured writing Data to Gauges\r\nError: The device was disconnected\r\n"
    "Check Virtual/USB Com Port\r\nContinue?";

class ControlUnitLink : public GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        QUdpSocket probe;
        probe.bind(QHostAddress::LocalHost, 0);
        programPort_ = probe.localPort();
        probe.close();
        // An airspeed needle over 0..200 kt = 0..1000 steps, 20 ms ticks.
        Session.ProgramTitle = kProgramTitle;
        Cfg.ComPortGauges = kBusNumber;
        Cfg.ProcessTimerInterval = 20;
        Cfg.LightsMode = 2;
        Cfg.RemoteIP = "127.0.0.1";
        Cfg.RemotePort = std::to_string(xplane_.port());
        Cfg.LocalPort = std::to_string(programPort_);
        Cfg.FunctionNames[1] = "IAS";
        Cfg.FunctionDataType[1] = DataTypeFloat;
        Cfg.FunctionIndex1[1] = kSpeedsGroup;
        Cfg.FunctionMultiply[1] = Cfg.FunctionDivide[1] = 1;
        gauge(kAirspeedGauge, kSingleNeedleType, 1, addPlate({{0, 0}, {200, 1000}}));
        plugIn();
    }

    void TearDown() override
    {
        GaugeBusTest::TearDown();
        Session = SessionState{};
    }

    // A unit on the bus's COM number, at which the tests see every needle position arrive.
    void plugIn()
    {
        unit_ = std::make_unique<SimControlUnit>(kBusNumber);
        ASSERT_TRUE(unit_->ready());
        unit_->answer = [this](const QByteArray& frame) {
            if (quint8(frame[1]) == kAirspeedGauge && (quint8(frame[2]) >> 4) == kNeedleCommand)
                needle_.append(SimControlUnit::frameMagnitude(frame));
            return QByteArray();
        };
    }

    // The unit goes as a USB adapter pulled out of the PC goes: its device
    // hangs up and its COM link disappears, so that the bus's COM number
    // would mean /dev/ttyS0 again.
    void unplug() { unit_->pull(); }

    void speed(float knots)
    {
        SimXplane::Record r;
        r.group = kSpeedsGroup;
        r.values[0] = knots;
        xplane_.sendData({r}, false, programPort_);
    }

    bool needleReaches(int steps)
    {
        return waitUntil([&] { return !needle_.isEmpty() && needle_.last() == steps; }, 3000);
    }

    SimXplane xplane_;
    quint16 programPort_ = 0;
    std::unique_ptr<SimControlUnit> unit_;
    QList<int> needle_;
};

TEST_F(ControlUnitLink, UnitPulledMidRunIsReportedWithinTicksOnceAndGetsTheNewestValuesUnderItsNameAfterYes)
{
    frmStatus& status = runWindow();
    status.Form_Activate();
    status.cmdRun_Click();
    speed(80);
    ASSERT_TRUE(needleReaches(400));

    ScriptedMessages boxes;
    boxes.expectYesNo(kUnitGone, true);
    unplug();
    speed(150);
    EXPECT_TRUE(waitUntil([&] { return boxes.pending() == 0; }, 100)) << "not reported within the next ticks";
    // Fifty ticks with the unit away: one box, the run goes on, and the bus's
    // port is not opened on another device meanwhile.
    waitMs(1000);
    EXPECT_TRUE(status.Running == 1 && status.ProcessTimer().isActive());
    EXPECT_FALSE(status.MSComm1().isOpen()) << "the bus went on on another device";

    needle_.clear();
    plugIn();
    EXPECT_TRUE(needleReaches(750)) << "the needle did not follow the simulator after the unit came back";

    // Once writes got through, the next absence is reported again; "No" stops the run there.
    boxes.expectYesNo(kUnitGone, false);
    unplug();
    EXPECT_TRUE(waitUntil([&] { return status.Running == 0; }, 100));
    EXPECT_EQ(boxes.pending(), 0u);
}

// A dialog's status poll on the real send path, the unit pulled under it.
using DialogPoll = DialogOnTheBusTest;

TEST_F(DialogPoll, UnitPulledUnderADialogsPollIsReportedOnceAndThePollReachesTheUnitPluggedInUnderItsName)
{
    const auto course = [](int count) {
        return SimControlUnit::reply(21, VOR1Type, QByteArray(3, 0) + char(count >> 8) + char(count));
    };
    unit_.setStatusReply(21, course(542));
    auto& vor = open<ConfigGaugeVOR>(21, VOR1Type);
    vor.Form_Activate();
    ASSERT_TRUE(waitUntil([&] { return text(vor, "boxCourse") == "180"; }, 2000));

    unit_.pull();
    messages_.expectOk(ComPortErrorText(4, "The device was disconnected"));
    EXPECT_TRUE(waitUntil([&] { return messages_.pending() == 0; }, 200)) << "no report within the next polls";
    waitMs(500);  // twenty polls meet no unit: no second box

    SimControlUnit back(4);
    back.setStatusReply(21, course(271));
    EXPECT_TRUE(waitUntil([&] { return text(vor, "boxCourse") == "270"; }, 2000));
}

} // namespace
} // namespace varnet
