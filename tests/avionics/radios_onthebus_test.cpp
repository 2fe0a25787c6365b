// The three radio dialogs on the real send path: their settings writes,
// lamp and backlight words as the control unit behind a pseudo-terminal
// receives them, and frequencies read back from its replies.

#include "avionics/bkradio.h"
#include "avionics/cl30radio.h"
#include "avionics/genericradio.h"
#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/scripted_messages.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>

namespace varnet {
namespace {

using testing::SimControlUnit;
using Commands = std::vector<std::pair<int, int>>;

class RadiosOnTheBus : public testing::GaugeBusTest {
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
    T& open(int id, int type, int model, int version)
    {
        Cfg.GaugeRecType[id] = Byte(type);
        Cfg.GaugeRecModel[id] = Byte(model);
        Cfg.GaugeRecVersion[id] = Byte(version);
        CurrentGaugeID = Integer(id);
        OpenDialog<T>();
        return DefaultForm<T>::get();
    }
    // The frames received, read back as the module reads them: the command
    // and the value with its sign.
    Commands received(int count)
    {
        EXPECT_TRUE(unit_.waitForFrames(count));
        Commands out;
        for (const QByteArray& f : unit_.frames()) {
            const int magnitude = SimControlUnit::frameMagnitude(f);
            out.emplace_back(quint8(f.at(2)) >> 4, quint8(f.at(2)) & 0x04 ? -magnitude : magnitude);
        }
        unit_.clear();
        return out;
    }
    template <typename T>
    static T* child(QWidget& w, const char* name)
    {
        return w.findChild<T*>(QString::fromLatin1(name));
    }
    static void click(QWidget& w, const char* name) { child<QAbstractButton>(w, name)->click(); }
    static void type(QWidget& w, const char* box, const char* text)
    {
        child<QLineEdit>(w, box)->setText(QString::fromLatin1(text));
    }

    SimControlUnit unit_{4};
    testing::ScriptedMessages messages_;
};

TEST_F(RadiosOnTheBus, GenericRadioWritesItsSettingsAndReadsTheModulesFrequency)
{
    auto& d = open<ConfigVHFRadio>(31, 110, kRadioComm, 3);
    type(d, "BoxMinimumFreq", "118000");
    click(d, "cmdWriteSettings");
    EXPECT_EQ(received(9), (Commands{{13, 0}, {9, 768}, {10, 38975}, {11, 18000}, {12, 21000}, {5, 6500}, {4, -1},
                                     {13, 0}, {14, 3084}}));

    unit_.setStatusReply(31, SimControlUnit::reply(31, 110, QByteArray::fromHex("00 0000 5208 00 5398")));
    click(d, "CmdReadRadio");
    EXPECT_EQ(child<QLineEdit>(d, "boxActiveFrequency")->text(), "121,000");
    EXPECT_EQ(child<QLineEdit>(d, "boxStandbyFrequency")->text(), "121,400");

    click(d, "OptionRadioAdf1");
    type(d, "BoxDefaultFreq", "100.0");
    unit_.clear();
    click(d, "cmdWriteSettings");
    EXPECT_EQ(received(9).at(4), (std::pair{12, 1000}));
}

TEST_F(RadiosOnTheBus, CL30RadioWritesItsOwnSequence)
{
    auto& d = open<ConfigCL30Radio>(32, 111, kRadioComm, 4);
    type(d, "BoxMinimumFreq", "118,000");
    click(d, "cmdWriteSettings");
    EXPECT_EQ(received(8),
              (Commands{{9, 1024}, {10, 38975}, {11, 18000}, {12, 21000}, {5, 6500}, {4, 0}, {6, 0}, {14, 2}}));
}

TEST_F(RadiosOnTheBus, BendixKingRadioLampsBacklightAndSettings)
{
    auto& d = open<ConfigBKradio>(33, 120, 0, 5);
    child<QSlider>(d, "SliderBacklight")->setValue(0);
    click(d, "CmdSetBacklight");
    click(d, "DisplaysOff");
    click(d, "LightOn");
    click(d, "DisplaysOn");
    child<QSlider>(d, "SliderBacklight")->setValue(15);
    child<QCheckBox>(d, "CheckSetDefault")->setChecked(true);
    click(d, "OptionAlwaysOn");
    click(d, "CmdSetBacklight");
    EXPECT_EQ(received(5), (Commands{{8, 0x50}, {8, 0}, {8, 64}, {8, 192}, {8, 0x1FF}}));

    click(d, "cmdWriteSettings");
    EXPECT_EQ(received(8), (Commands{{5, 25700}, {10, 18000}, {11, 38975}, {12, 21000}, {3, 8000}, {4, 17950},
                                     {9, 13000}, {6, 0}}));
}

} // namespace
} // namespace varnet
