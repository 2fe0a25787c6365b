// The close button of every window's title bar does what the window's own
// Close, Cancel or Exit does; windows that must outlive their showing only
// hide.

#include "app/configscreen.h"
#include "app/shell.h"
#include "configscreen_fixture.h"
#include "iomodules/enginelink.h"
#include "simlink/functiontest.h"
#include "support/fake_serial_port.h"
#include "support/fake_udp_socket.h"
#include "support/scripted_messages.h"

namespace varnet {
namespace {

using namespace varnet::testing;

enum class Closing { Unloads, Hides, EndsTheProgram };

struct Row {
    const char* window;
    std::function<QWidget&()> open;
    std::function<bool()> loaded;
    Closing closing;
    std::function<void()> check;
};

// The default instance of T, shown and made ready by `prepare`.
template <typename T>
Row row(const char* name, Closing closing = Closing::Unloads, std::function<void(T&)> prepare = {},
        std::function<void()> check = {})
{
    const auto open = [prepare]() -> QWidget& {
        T& window = DefaultForm<T>::get();
        window.show();
        if (prepare)
            prepare(window);
        return window;
    };
    return {name, open, [] { return DefaultForm<T>::loaded(); }, closing, check};
}

class TitleBarClose : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        Cfg.RemoteIP = "127.0.0.1";
        Cfg.RemotePort = "49000";
        Cfg.LocalPort = "49001";
        Cfg.FunctionNames[5] = "Gear";
        Cfg.FunctionMultiply[5] = Cfg.FunctionDivide[5] = 1;
        OnEndProgram = frmStatus::EndProgram = frmStatusYoke::ExitProgram = [this] { ++programEnds; };
    }
    void TearDown() override
    {
        OnEndProgram = frmStatus::EndProgram = frmStatusYoke::ExitProgram = nullptr;
        DefaultForm<frmTestFunction>::unload();
        DefaultForm<frmStatusYoke>::unload();
        DefaultForm<frmConfigY1>::unload();
        ConfigScreenTest::TearDown();
    }

    FakeSerialPorts ports;
    FakeUdpSockets sockets;
    ScriptedMessages boxes;
    int programEnds = 0;
};

TEST_F(TitleBarClose, EveryWindowClosesAsItsOwnCloseDoes)
{
    const Row rows[] = {
        row<frmTestXplaneInterface>(
            "UDP test window, running", Closing::Unloads, [](auto& w) { click(w, "cmdStartUDP"); },
            [] { EXPECT_FALSE(DefaultForm<SimCom>::get().UDPTestDisplay) << "the sim ports get the values again"; }),
        row<frmTestFunction>(
            "function test window, reading", Closing::Unloads, [](auto& w) { w.StartScan(5, 1); },
            [] { EXPECT_EQ(DefaultForm<SimCom>::get().PortCount(), 0) << "its port goes with it"; }),
        row<FrmMainConfigure>("configuration screen with edits, asking", Closing::Unloads,
                              [this](auto&) {
                                  Session.ConfigChanged = 1;
                                  boxes.expectYesNo(kUnsavedQuestion, true);
                              }),
        row<frmTestGauges>("gauge test window"),
        row<GetOffsetlist>("function editor"),
        row<frmListFunctions>("function list"),
        row<SaveConfig>("Load/Save window"),
        row<frmConfigUnknown>("unknown device dialog"),
        row<ConfigIOM>("I/O-module window"),
        row<frmTestEC>("engine-cluster window"),
        row<FrmConfigureYokes>("yoke configuration window"),
        row<frmMain>("start window", Closing::EndsTheProgram),
        row<frmStatus>("run window", Closing::EndsTheProgram),
        row<frmStatusYoke>("yoke status window", Closing::EndsTheProgram),
        row<SimCom>("simulator-link window", Closing::Hides),
        row<frmStatusEC>("engine-cluster link", Closing::Hides),
        row<frmConfigY1>("yoke 1 window", Closing::Hides),
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.window);
        programEnds = 0;
        QWidget& window = r.open();
        window.show();
        window.close();
        EXPECT_EQ(programEnds, r.closing == Closing::EndsTheProgram ? 1 : 0);
        if (r.closing != Closing::EndsTheProgram) {
            EXPECT_FALSE(window.isVisible());
            EXPECT_EQ(r.loaded(), r.closing == Closing::Hides);
        }
        if (r.check)
            r.check();
        flushDeletes();
    }
}

} // namespace
} // namespace varnet
