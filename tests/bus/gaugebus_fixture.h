#pragma once

// Shared by the bus and I/O-module tests: each starts in its own working directory (for its "COMn" entries),
// link windows installed, no bus or link window loaded, the send path empty; it ends all unloaded, ports closed.

#include "bus/runwindow.h"
#include "bus/sendpath.h"
#include "bus/standalonelinks.h"
#include "config/tables.h"
#include "iomodules/links.h"
#include "simlink/simcom.h"
#include "support/workdir.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <tuple>

// Frames read as hex bytes in failure messages.
inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"' << bytes.toHex(' ').toStdString() << '"';
}

namespace varnet::testing {

// "00 0C 78 01 02 FF" as bytes.
inline QByteArray hexBytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

inline constexpr StandAloneDevice kAllLinks[] = {StandAloneDevice::EngineCluster, StandAloneDevice::IOModule1,
                                                 StandAloneDevice::IOModule2};

class GaugeBusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallStandAloneLinks();
        resetSharedValues();
    }

    void TearDown() override
    {
        DefaultForm<frmStatus>::unload();
        for (StandAloneDevice device : kAllLinks)
            standAloneLinks().Unload(device);
        DefaultForm<SimCom>::unload();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Cfg = ConfigTables{};
        resetSharedValues();
    }

    static frmStatus& runWindow() { return DefaultForm<frmStatus>::get(); }

    // A plate through the points, the first and the last being its ends.
    static int addPlate(std::initializer_list<std::pair<double, int>> points)
    {
        const int p = Cfg.AddPlate();
        auto& values = Cfg.PlateValue[std::size_t(p)];
        auto& steps = Cfg.PlateSteps[std::size_t(p)];
        values[1] = steps[1] = Integer(points.size() - 1);
        for (std::size_t k = 0; k < points.size(); ++k)
            std::tie(values[4 + k], steps[4 + k]) = points.begin()[k];
        std::tie(values[2], steps[2]) = *points.begin();
        std::tie(values[3], steps[3]) = *std::prev(points.end());
        return p;
    }

    static void gauge(int id, int type, int f1 = 0, int plate1 = 0, int f2 = 0, int plate2 = 0)
    {
        Cfg.GaugeRecType[id] = Byte(type);
        Cfg.GaugeRecFunction1[id] = Integer(f1);
        Cfg.GaugeRecSeqNr1[id] = 1;
        Cfg.GaugeRecPlate1[id] = Integer(plate1);
        Cfg.GaugeRecFunction2[id] = Integer(f2);
        Cfg.GaugeRecSeqNr2[id] = 1;
        Cfg.GaugeRecPlate2[id] = Integer(plate2);
    }

    // An I/O entry of module `gaugeID`, read with selector 1.
    static int addIOEntry(int gaugeID, Integer kind, int number, int function)
    {
        const int e = Cfg.AddIOEntry();
        Cfg.IOEntryGaugeID[e] = Integer(gaugeID);
        Cfg.IOEntryKind[e] = kind;
        Cfg.IOEntryNumber[e] = Integer(number);
        Cfg.IOEntryFunction[e] = Integer(function);
        Cfg.IOEntrySeqNr[e] = 1;
        return e;
    }

    static void resetSharedValues()
    {
        GaugeSendBuffer.clear();
        GaugeReply.clear();
        GaugeCmdFrame.clear();
        ECFrame.clear();
        ECReplyBuffer.clear();
        GaugeSendPending = GaugeReplyReceived = CurrentGaugeID = ECReplyReceived = 0;
    }

    ScopedWorkDir dir_;
};

} // namespace varnet::testing
