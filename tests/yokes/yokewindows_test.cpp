#include "yokes/yokewindows.h"

#include "app/window_helpers.h"
#include "simlink/simcom.h"
#include "support/fake_serial_port.h"
#include "support/fake_udp_socket.h"

namespace varnet {
namespace {

using namespace varnet::testing;

class YokeWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cfg = ConfigTables{};
        std::tie(Cfg.RemoteIP, Cfg.RemotePort, Cfg.LocalPort) = std::tuple("127.0.0.1", "49000", "49001");
    }
    void TearDown() override { unloadAll<frmStatusYoke, frmConfigY1, frmConfigY2, SimCom>(); }

    FakeSerialPorts ports_;
    FakeUdpSockets sockets_;
};

TEST_F(YokeWindowsTest, RunStartsOnlyTheConfiguredYokesUnloadClosesTheirPortsAndTheUDPTestWindowOnlyWhenAsked)
{
    Cfg.ComPortYoke2() = 6;
    frmStatusYoke& status = DefaultForm<frmStatusYoke>::get();
    status.cmdRun_Click();

    EXPECT_EQ((std::tuple{status.BoxRun->text(), DefaultForm<frmConfigY1>::loaded(), DefaultForm<frmConfigY2>::loaded()}),
              (std::tuple{"Running", false, true}));
    EXPECT_TRUE(DefaultForm<frmConfigY2>::get().Running());
    FakeSerialPort* port = ports_.port(6);
    ASSERT_NE(port, nullptr);
    // The yoke data slots need the UDP link.
    EXPECT_EQ(std::tuple(port->isOpen(), port->receiveThreshold(), DefaultForm<SimCom>::loaded()), std::tuple(true, 25, true));
    DefaultForm<frmConfigY2>::unload();
    EXPECT_FALSE(port->isOpen());

    int shown = 0;
    FrmConfigureYokes::ShowUDPTestWindow = [&] { ++shown; };
    FrmConfigureYokes& w = DefaultForm<FrmConfigureYokes>::get();
    click(w, "cmdTestXplaneInterface");
    EXPECT_EQ(shown, 1);
    click(w, "cmdClose");
    EXPECT_FALSE(DefaultForm<FrmConfigureYokes>::loaded());
    FrmConfigureYokes::ShowUDPTestWindow = nullptr;
}

TEST_F(YokeWindowsTest, WhatAYokeSendsIsReadAndDroppedAndNothingIsWrittenToIt)
{
    Cfg.ComPortYoke1() = 5;
    DefaultForm<frmStatusYoke>::get().cmdRun_Click();
    FakeSerialPort* port = ports_.port(5);
    ASSERT_NE(port, nullptr);
    const QByteArray unit(25, '\x55');
    for (int i = 0; i < 1000; ++i)
        port->inject(unit);
    // Several units at once, and the start of one more.
    port->inject(unit.repeated(40) + "abc");

    EXPECT_EQ(port->bytesWaiting(), 3);
    EXPECT_TRUE(port->writes().isEmpty());
}

} // namespace
} // namespace varnet
