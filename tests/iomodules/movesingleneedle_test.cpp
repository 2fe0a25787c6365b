#include "bus/deviceports.h"
#include "bus/gaugebus_fixture.h"
#include "iomodules/enginelink.h"
#include "support/fake_serial_port.h"
#include "support/scripted_messages.h"

namespace varnet {
namespace {

using testing::hexBytes;

// 40 bytes: "F", zeros with `position` at 0-based `at`, the flags, AA AA.
QByteArray needleFrame(int at, const char* position, char flags)
{
    QByteArray frame(40, '\0');
    frame[0] = 'F';
    frame.replace(at, 2, hexBytes(position));
    frame[37] = flags;
    frame[38] = frame[39] = char(0xAA);
    return frame;
}

class MoveSingleNeedle : public testing::GaugeBusTest {
protected:
    testing::FakeSerialPorts fakes;
};

TEST_F(MoveSingleNeedle, WritesOneFrameForTheChosenNeedle)
{
    Cfg.ComPortEC = 4;
    OpenComPorts();
    frmStatusEC& cluster = DefaultForm<frmStatusEC>::get();
    testing::FakeSerialPort* port = fakes.port(4);
    port->clearWrites();

    ECBacklightOn = 1;
    ECDisplaysOn = 0;
    cluster.MoveSingleNeedle(2, 400);
    ECBacklightOn = 0;
    ECDisplaysOn = 1;
    cluster.MoveSingleNeedle(3, 0x10E4);
    cluster.MoveSingleNeedle(7, 65535);
    cluster.MoveSingleNeedle(8, 1); // no such needle
    cluster.MoveSingleNeedle(0, -1); // no such position
    EXPECT_EQ(port->writes(), (QList<QByteArray>{needleFrame(5, "01 90", 0x03), needleFrame(21, "10 E4", 0x00),
                                                 needleFrame(15, "FF FF", 0x00)}));

    port->close();
    testing::ScriptedMessages messages;
    messages.expectOk("Comm Port for Engine Cluster not found");
    cluster.MoveSingleNeedle(0, 4);
    EXPECT_EQ(port->writes().size(), 3);
}

} // namespace
} // namespace varnet
