#pragma once

// The run window on fake ports: the gauge bus on COM3 and a UDP link whose network is the test.
// Functions 1..50 each read DATA group f, value 0 (the second pair of a function is group f + 100),
// so that a test sets a simulator value by function number. Plate 0 runs 0..100 over 0..1000 steps
// with a bend at 50 (600 steps); the backlight is left alone (lights mode 2) unless a test asks.

#include "bus/gaugebus_fixture.h"
#include "bus/gaugeframes.h"
#include "bus/runstate.h"
#include "platform/messages.h"
#include "simlink/instruments.h"
#include "simlink/packets.h"
#include "simxplane/simxplane.h"
#include "support/fake_serial_port.h"
#include "support/fake_udp_socket.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <tuple>

namespace varnet::testing {

inline constexpr int kBusPort = 3;
inline constexpr int kSecondPairOffset = 100;

// Answers every box with `yes`, after doing what falls due while it is open.
class BoxesWithSomethingBehind : public MessageService {
public:
    BoxesWithSomethingBehind(bool answerYes, std::function<void()> behind)
        : yes(answerYes), behind_(std::move(behind)), previous_(setMessageService(this))
    {
    }
    ~BoxesWithSomethingBehind() override { setMessageService(previous_); }

    void ok(const QString& text) override { yesNo(text); }
    bool yesNo(const QString& text) override
    {
        texts << text;
        behind_();
        return yes;
    }
    std::optional<QString> input(const QString&, const QString&) override { return std::nullopt; }

    QStringList texts;
    bool yes;

private:
    std::function<void()> behind_;
    MessageService* previous_;
};

class RunTest : public GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        RunData = RunState{};
        Instruments = InstrumentValues{};
        Session.ProgramTitle = kProgramTitle;
        Cfg.ComPortGauges = kBusPort;
        Cfg.RemoteIP = "127.0.0.1";
        Cfg.RemotePort = "49000";
        Cfg.LocalPort = "49001";
        Cfg.LightsMode = 2;
        for (int f = 1; f <= 50; ++f) {
            Cfg.FunctionNames[f] = "F" + std::to_string(f);
            Cfg.FunctionDataType[f] = DataTypeFloat;
            Cfg.FunctionIndex1[f] = Integer(f);
            Cfg.FunctionIndex2[f] = Integer(f + kSecondPairOffset);
            Cfg.FunctionMultiply[f] = Cfg.FunctionDivide[f] = 1;
        }
        addPlate({{0, 0}, {50, 600}, {100, 1000}});
    }

    void TearDown() override
    {
        GaugeBusTest::TearDown();
        RunData = RunState{};
        Instruments = InstrumentValues{};
        Session = SessionState{};
        ECMode = 0;
        ECRecalCountdown = 0;
        frmStatus::ShowConfigurationScreen = frmStatus::LeaveConfiguration = frmStatus::EndProgram = nullptr;
    }

    static SimCom& link() { return DefaultForm<SimCom>::get(); }

    frmStatus& prepared()
    {
        frmStatus& run = runWindow();
        run.Form_Activate();
        return run;
    }

    // Prepared and running; ticks come only from the test.
    frmStatus& running()
    {
        prepared();
        runAgain();
        bus().clearWrites();
        return runWindow();
    }
    static void runAgain()
    {
        runWindow().cmdRun_Click();
        runWindow().ProcessTimer().stop();
    }

    FakeSerialPort& bus() { return *ports_.port(kBusPort); }

    // The writes of one tick to the gauge bus.
    QList<QByteArray> tick()
    {
        bus().clearWrites();
        runWindow().ProcessTimer_Timer();
        return bus().writes();
    }

    // Sets the value of function f's pair (selector 1 or 2) as X-Plane sends it.
    void sim(int f, float value, int selector = 1)
    {
        const int group = f + (selector == 2 ? kSecondPairOffset : 0);
        link().WinsockUDP_DataArrival(SimXplane::dataPacket({{quint32(group), {value}}}));
    }

    // Several values at once: {function, value} or {function, value, selector}.
    struct SimValue {
        int f;
        float value;
        int selector = 1;
    };
    void sim(std::initializer_list<SimValue> values)
    {
        for (const SimValue& v : values)
            sim(v.f, v.value, v.selector);
    }

    // A tick's output: for each (GaugeID, command, value), 0xFF and the frame.
    static QByteArray output(std::initializer_list<std::array<int, 3>> frames)
    {
        QByteArray bytes;
        for (const auto& [id, command, value] : frames)
            bytes += kRunFramePrefix + *GaugeBusFrame(id, command, value);
        return bytes;
    }

    // Datagrams sent to the simulator since the last call.
    QList<QByteArray> sent()
    {
        QList<QByteArray> all;
        for (FakeUdpSocket* socket : sockets_.sockets()) {
            all << socket->sent();
            socket->clearSent();
        }
        return all;
    }

    // The question a fault of the process loop asks.
    static QString processFault(int id, int type, int state, const char* error)
    {
        return QString("Error 10: An error has occured processing GaugeID:%1\r\nGaugetype: %2 , Process State: %3\r\n"
                       "Error: %4\r\nCheck gauge and/or assigned function.\r\nContinue?")
            .arg(id).arg(type).arg(state).arg(error);
    }

    FakeSerialPorts ports_;
    FakeUdpSockets sockets_;
};

} // namespace varnet::testing
