#pragma once

#include "config/tables.h"
#include "simlink/instruments.h"
#include "simlink/simcom.h"
#include "simxplane/simxplane.h"
#include "support/scripted_messages.h"

#include <QByteArray>
#include <QList>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace varnet::testing {

// What one DATA packet carries: its group, the one slot that is not the
// -999.0 float filler (-1 when there is not exactly one), and its value.
struct SentData {
    int group = -1;
    int slot = -1;
    float asFloat = 0;
};
SentData decodeData(const QByteArray& packet, bool bigEndian = false);

// Hex text to bytes, spaces allowed: "44 41 54 41".
QByteArray hex(const char* text);

// A link window on a clean configuration, its sockets open towards a
// simulated X-Plane on the loopback.
class LinkTest : public ::testing::Test {
protected:
    LinkTest();
    ~LinkTest() override;

    // The datagrams the link sends while `action` runs, in order. A marker
    // sent afterwards on the same socket shows when all of them are in.
    QList<QByteArray> sentBy(const std::function<void()>& action);
    // A datagram from the simulated X-Plane, handled by the link.
    void receive(const QByteArray& datagram);
    void receive(const std::vector<SimXplane::Record>& records, bool bigEndian = false);

    // Function `f` named "F<f>", pair 1 = (group, slot), scaling 1 : 1.
    void defineFunction(int f, Byte dataType, int group, int slot);
    // Opens an enabled port for `f`.
    int openReadPort(int f);

    // Sends a marker packet and waits until it arrives; returns its bytes.
    QByteArray sendMarker();

    ScriptedMessages boxes;
    SimXplane xplane;
    quint16 localPort = 0;
    std::unique_ptr<SimCom> link;
};

} // namespace varnet::testing
