// The autopilot and the DME module on the real send path: their frames as
// the control unit behind a pseudo-terminal receives them, and their replies
// read back.

#include "avionics/bkautopilot.h"
#include "avionics/bkdme.h"
#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/scripted_messages.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace varnet {
namespace {

using testing::SimControlUnit;
using Commands = std::vector<std::pair<int, int>>;

class AutopilotAndDmeOnTheBus : public testing::GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        ASSERT_TRUE(unit_.ready());
        LoadConstantTables(Cfg);
        Cfg.ComPortGauges = 4;
        OpenComPorts();
    }
    void TearDown() override
    {
        CloseOpenDialogs();
        GaugeBusTest::TearDown();
        Session = SessionState{};
    }
    template <typename T>
    T& open(int id, int type)
    {
        Cfg.GaugeRecType[id] = Byte(type);
        Cfg.GaugeRecVersion[id] = 5;
        CurrentGaugeID = Integer(id);
        OpenDialog<T>();
        return DefaultForm<T>::get();
    }
    // The frames received but status requests: command and magnitude.
    Commands received(int count)
    {
        Commands out;
        EXPECT_TRUE(waitUntil(
            [&] {
                out.clear();
                for (const QByteArray& f : unit_.frames())
                    if (const int command = quint8(f.at(2)) >> 4; command != 7)
                        out.emplace_back(command, SimControlUnit::frameMagnitude(f));
                return int(out.size()) >= count;
            },
            2000));
        unit_.clear();
        return out;
    }
    // A status reply with the given bytes (positions from 1).
    void answer(int id, int type, std::initializer_list<std::pair<int, int>> bytes)
    {
        QByteArray r = SimControlUnit::reply(id, type);
        for (const auto& [position, value] : bytes)
            r[position - 1] = char(value);
        unit_.setStatusReply(id, r);
    }
    static void click(QWidget& w, const char* name) { w.findChild<QAbstractButton*>(name)->click(); }
    template <typename T>
    static T* child(QWidget& w, const char* name) { return w.findChild<T*>(QString::fromLatin1(name)); }

    SimControlUnit unit_{4};
    testing::ScriptedMessages messages_;
};

TEST_F(AutopilotAndDmeOnTheBus, AutopilotKnobStepsAndItsReadBack)
{
    ConfigBKAP& d = open<ConfigBKAP>(70, 124);
    auto* upper = child<QComboBox>(d, "ComboRotaryUpperKnob");
    auto* lower = child<QComboBox>(d, "ComboAltRotaryLowerKnob");
    upper->setCurrentIndex(upper->findText("10 "));
    lower->setCurrentIndex(lower->findText("100 "));
    click(d, "cmdSetRotary");
    ASSERT_TRUE(unit_.waitForFrames(1));
    EXPECT_EQ(unit_.frames().first(), testing::hexBytes("00 46 FA 0B 0A FF"));
    EXPECT_EQ(received(1), (Commands{{15, 2570}}));

    answer(70, 124, {{8, 0x64}, {10, 0xFF}, {11, 0x38}, {19, 0x0B}, {20, 0xB0}, {22, 0x01}});
    click(d, "cmdReadAP");
    EXPECT_EQ(child<QLineEdit>(d, "boxAltitude")->text(), "100");
    EXPECT_EQ(child<QLineEdit>(d, "boxVSValue")->text(), "-200");
    EXPECT_EQ(child<QLineEdit>(d, "boxAirPress")->text(), "29.92");
    EXPECT_EQ(child<QLineEdit>(d, "boxAPMaster")->palette().color(QPalette::Base), QColor(255, 0, 0));
}

TEST_F(AutopilotAndDmeOnTheBus, DmeDistanceReadBackAndTheTestOffOfItsClose)
{
    ConfigBKDME& d = open<ConfigBKDME>(71, 123);
    click(d, "CheckShowDistance");
    click(d, "ComdSetMiles");
    EXPECT_EQ(received(1), (Commands{{4, 0x2123}}));

    answer(71, 123, {{17, 3}, {19, 0x40}, {20, 0x1F}, {24, 1}});
    click(d, "CmdReadRadio");
    EXPECT_EQ(child<QLineEdit>(d, "RotarySwitchPosition")->text(), "GS/T");
    EXPECT_EQ(child<QLineEdit>(d, "boxFrequency")->text(), "108.000");

    unit_.clear();
    click(d, "cmdClose");
    EXPECT_EQ(received(1), (Commands{{10, 0}}));
    EXPECT_FALSE(DefaultForm<ConfigBKDME>::loaded());
}

} // namespace
} // namespace varnet
