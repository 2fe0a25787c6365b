// Entries made in the I/O-module window, saved and loaded again, drive the
// run of stand-alone module 1: its switch reaches X-Plane, X-Plane lights
// its LED.

#include "bus/gaugeframes.h"
#include "bus/run_fixture.h"
#include "iomodules/iomodulelink.h"
#include "iomodules/iomwindow.h"
#include "simlink/packets.h"

#include <QComboBox>

#include <tuple>

namespace varnet {
namespace {

using testing::click;
using testing::clickLine;
using testing::child;
using testing::type;

constexpr int kModulePort = 5;
constexpr int kCockpit = 6;
constexpr int kGear = 21;
constexpr int kGearLight = 23;

class WindowEntriesRun : public testing::RunTest {
protected:
    void SetUp() override
    {
        RunTest::SetUp();
        LoadConstantTables(Cfg);
        Cfg.ComPortIOM = kModulePort;
        for (auto [f, signal] : {std::pair{kGear, 1}, {kGearLight, 3}})
            std::tie(Cfg.FunctionNumber[f], Cfg.FunctionSignalType[f], Cfg.FunctionCategory[f],
                     Cfg.FunctionMaximum[f]) = std::tuple(Integer(f), Byte(signal), Byte(kCockpit), 1.0f);
    }
    void TearDown() override
    {
        DefaultForm<ConfigIOM>::unload();
        RunTest::TearDown();
    }

    // A module reply with switch `on` on (none for -1).
    static QByteArray reply(int on)
    {
        QByteArray bytes(25, '\0');
        std::tie(bytes[1], bytes[2], bytes[24]) = std::tuple(char(10), char(10), char(0xFF));
        if (on >= 0)
            bytes[5 + on / 8] = char(0x80 >> (on % 8));
        return bytes;
    }

    // What one tick of the module's run writes to its port.
    QByteArray moduleTick()
    {
        testing::FakeSerialPort& port = *ports_.port(kModulePort);
        port.clearWrites();
        DefaultForm<frmStatusIOM>::get().ProcessTimer_Timer();
        QByteArray all;
        for (const QByteArray& w : port.writes())
            all += w;
        return all;
    }
};

TEST_F(WindowEntriesRun, ASwitchAndAnLEDMadeInTheWindowWorkInTheRunAfterSaveAndLoad)
{
    CurrentGaugeID = kStandAloneIOM1;
    ConfigIOM& w = DefaultForm<ConfigIOM>::get();
    w.show();
    clickLine(w, 9);
    child<QComboBox>(w, "ComboClass")->setCurrentIndex(kCockpit);
    child<QComboBox>(w, "ComboFunction")->setCurrentIndex(0);
    type(w, "boxValueOn", "100");
    type(w, "boxValueOff", "0");
    click(w, "cmdSaveEntry");
    child<QComboBox>(w, "ComboKind")->setCurrentIndex(2);
    clickLine(w, 3);
    child<QComboBox>(w, "ComboClass")->setCurrentIndex(kCockpit);
    child<QComboBox>(w, "ComboFunction")->setCurrentIndex(0);
    click(w, "cmdSaveEntry");
    EXPECT_EQ((std::tuple{Cfg.IOEntryFunction[1], Cfg.IOEntryFunction[2]}), (std::tuple{kGear, kGearLight}));
    Session.ConfigChanged = 0;
    click(w, "cmdClose");

    ASSERT_TRUE(testing::saveAndLoadAgain("run.cfg"));
    running();
    DefaultForm<frmStatusIOM>::get().ProcessTimer().stop();
    moduleTick();
    sent();

    const QByteArray poll = *GaugeBusFrame(10, 6, 0);
    ports_.port(kModulePort)->inject(reply(-1));
    EXPECT_EQ(moduleTick(), poll);
    EXPECT_TRUE(sent().contains(*DataFloatPacket(kGear, 0, 0, false)));
    ports_.port(kModulePort)->inject(reply(9));
    EXPECT_EQ(moduleTick(), poll);
    EXPECT_TRUE(sent().contains(*DataFloatPacket(kGear, 0, 1, false)));

    sim(kGearLight, 1);
    EXPECT_EQ(moduleTick(), *GaugeBusFrame(10, 4, 4096) + poll) << "output 3 is bit 12 of word 1";
}

} // namespace
} // namespace varnet
