#pragma once

#include "app/window_helpers.h"
#include "config/tables.h"
#include "platform/form.h"
#include "simlink/instruments.h"
#include "simlink/simcom.h"
#include "simxplane/simxplane.h"
#include "support/scripted_messages.h"

#include <QByteArray>
#include <QLineEdit>
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
    bool operator==(const SentData&) const = default;
    friend void PrintTo(const SentData& d, std::ostream* os) { *os << d.group << '/' << d.slot << ": " << d.asFloat; }
};
SentData decodeData(const QByteArray& packet);

// Hex text to bytes, spaces allowed: "44 41 54 41".
QByteArray hex(const char* text);

quint16 freeLoopbackPort();
// Function `f` named "F<f>", pair 1 = (group, slot), scaling (x + preAdd) * multiply.
void defineFunction(int f, Byte dataType, int group, int slot, Single preAdd = 0, Single multiply = 1);
// A clean configuration whose link runs between the two loopback ports.
void loopbackConfig(quint16 remotePort, quint16 localPort);

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
    void receive(const std::vector<SimXplane::Record>& records);

    // Opens an enabled port for `f`.
    int openReadPort(int f);

    ScriptedMessages boxes;
    SimXplane xplane;
    quint16 localPort = 0;
    std::unique_ptr<SimCom> link;
};

// The window `Form` of the default link, which talks to a simulated X-Plane
// on the loopback; both are unloaded afterwards.
template <class Form>
class LinkWindowTest : public ::testing::Test {
protected:
    LinkWindowTest() { loopbackConfig(xplane.port(), localPort); }
    ~LinkWindowTest() override
    {
        DefaultForm<Form>::unload();
        DefaultForm<SimCom>::unload();
        flushDeletes();
        loopbackConfig(0, 0);
    }

    static Form& window() { return DefaultForm<Form>::get(); }
    static SimCom& link() { return DefaultForm<SimCom>::get(); }
    static QString text(const char* box) { return child<QLineEdit>(window(), box)->text(); }
    static void setText(const char* box, const char* text) { child<QLineEdit>(window(), box)->setText(text); }
    // The texts of several boxes, joined by blanks.
    static QString texts(std::initializer_list<const char*> boxes)
    {
        QStringList all;
        for (const char* box : boxes)
            all << text(box);
        return all.join(' ');
    }
    static void setTexts(std::initializer_list<std::pair<const char*, const char*>> boxes)
    {
        for (const auto& [box, text] : boxes)
            setText(box, text);
    }
    static void clicks(std::initializer_list<const char*> buttons)
    {
        for (const char* button : buttons)
            click(window(), button);
    }

    // The packet X-Plane received as number `n` (from 1) since it was cleared.
    QByteArray packet(int n)
    {
        EXPECT_TRUE(xplane.waitForReceived(n)) << "packet " << n << " never came";
        return xplane.received().value(n - 1);
    }

    ScriptedMessages boxes;
    SimXplane xplane;
    quint16 localPort = freeLoopbackPort();
};

} // namespace varnet::testing
