#pragma once

// The dialogs on the real send path: the simulated control unit on COM4 behind a
// pseudo-terminal, the run window's configuration timer carrying the frames.

#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "gauges/dialogframe.h"
#include "platform/wait.h"
#include "simcontrolunit/simcontrolunit.h"
#include "support/scripted_messages.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <tuple>
#include <utility>
#include <vector>

namespace varnet::testing {

using Commands = std::vector<std::pair<int, int>>;

class DialogOnTheBusTest : public GaugeBusTest {
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

    // Dialog T opened for a gauge of `type` at `id`.
    template <typename T>
    T& open(int id, int type, int model = 1, int version = 1, void (T::*init)() = nullptr)
    {
        std::tie(Cfg.GaugeRecType[id], Cfg.GaugeRecModel[id], Cfg.GaugeRecVersion[id]) =
            std::tuple(type, model, version);
        CurrentGaugeID = Integer(id);
        OpenDialog<T>(init);
        return DefaultForm<T>::get();
    }

    // The frames received but status requests, as the gauge reads them
    // (command, value with its sign), once `count` are in; then forgets them.
    Commands received(int count)
    {
        Commands out;
        EXPECT_TRUE(waitUntil(
            [&] {
                out.clear();
                for (const QByteArray& f : unit_.frames())
                    if (const int command = quint8(f.at(2)) >> 4; command != 7)
                        out.emplace_back(command, (f.at(2) & 0x04 ? -1 : 1) * SimControlUnit::frameMagnitude(f));
                return int(out.size()) >= count;
            },
            2000));
        unit_.clear();
        return out;
    }

    static void click(QWidget& w, const char* name) { w.findChild<QAbstractButton*>(QString::fromLatin1(name))->click(); }
    static QLineEdit* box(QWidget& w, const char* name) { return w.findChild<QLineEdit*>(QString::fromLatin1(name)); }
    static QString text(QWidget& w, const char* name) { return box(w, name)->text(); }

    SimControlUnit unit_{4};
    ScriptedMessages messages_;
};

} // namespace varnet::testing
