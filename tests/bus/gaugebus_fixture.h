#pragma once

// Shared by the gauge-bus and the I/O-module tests: every test starts in its
// own working directory (for its "COMn" entries) with the link windows
// installed, no window of the bus or the links loaded and the shared send
// path empty; it ends with all of them unloaded and the ports closed.

#include "bus/runwindow.h"
#include "bus/sendpath.h"
#include "bus/standalonelinks.h"
#include "config/tables.h"
#include "iomodules/links.h"
#include "simlink/simcom.h"
#include "support/workdir.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <ostream>

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
        GaugeSendPending = 0;
        GaugeReply.clear();
        GaugeReplyReceived = 0;
        GaugeCmdFrame.clear();
        CurrentGaugeID = 0;
        ECFrame.clear();
        ECReplyBuffer.clear();
        ECReplyReceived = 0;
    }

    ScopedWorkDir dir_;
};

} // namespace varnet::testing
