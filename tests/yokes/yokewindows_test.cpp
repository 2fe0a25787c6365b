#include "yokes/yokewindows.h"

#include "simlink/simcom.h"
#include "support/fake_serial_port.h"
#include "support/fake_udp_socket.h"

#include <gtest/gtest.h>

namespace varnet {
namespace {

class YokeWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cfg = ConfigTables{};
        Cfg.RemoteIP = "127.0.0.1";
        Cfg.RemotePort = "49000";
        Cfg.LocalPort = "49001";
    }
    void TearDown() override
    {
        DefaultForm<frmStatusYoke>::unload();
        DefaultForm<frmConfigY1>::unload();
        DefaultForm<frmConfigY2>::unload();
        DefaultForm<SimCom>::unload();
    }

    testing::FakeSerialPorts ports_;
    testing::FakeUdpSockets sockets_;
};

TEST_F(YokeWindowsTest, RunStartsOnlyTheConfiguredYokesAndUnloadClosesTheirPorts)
{
    Cfg.ComPortYoke2() = 6;
    frmStatusYoke& status = DefaultForm<frmStatusYoke>::get();
    status.cmdRun_Click();

    EXPECT_EQ(status.BoxRun->text(), "Running");
    EXPECT_FALSE(DefaultForm<frmConfigY1>::loaded());
    ASSERT_TRUE(DefaultForm<frmConfigY2>::loaded());
    EXPECT_TRUE(DefaultForm<frmConfigY2>::get().Running());
    testing::FakeSerialPort* port = ports_.port(6);
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(port->isOpen());
    EXPECT_EQ(port->receiveThreshold(), 25);
    EXPECT_TRUE(DefaultForm<SimCom>::loaded());  // the yoke data slots need the UDP link

    DefaultForm<frmConfigY2>::unload();
    EXPECT_FALSE(port->isOpen());
}

TEST_F(YokeWindowsTest, ConfigurationOpensTheUDPTestWindowOnlyWhenAskedAndExitRunsTheProgramExit)
{
    int shown = 0, exits = 0;
    FrmConfigureYokes::ShowUDPTestWindow = [&] { ++shown; };
    frmStatusYoke::ExitProgram = [&] { ++exits; };
    FrmConfigureYokes& w = DefaultForm<FrmConfigureYokes>::get();
    EXPECT_EQ(shown, 0);
    w.findChild<QPushButton*>("cmdTestXplaneInterface")->click();
    EXPECT_EQ(shown, 1);
    w.findChild<QPushButton*>("cmdClose")->click();
    EXPECT_FALSE(DefaultForm<FrmConfigureYokes>::loaded());
    DefaultForm<frmStatusYoke>::get().cmdExit->click();
    EXPECT_EQ(exits, 1);
    FrmConfigureYokes::ShowUDPTestWindow = nullptr;
    frmStatusYoke::ExitProgram = nullptr;
}

} // namespace
} // namespace varnet
