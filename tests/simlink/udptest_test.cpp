#include "simlink/udptest.h"

#include "app/window_helpers.h"
#include "config/numinput.h"
#include "link_fixture.h"
#include "platform/wait.h"
#include "simlink/simcom.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUdpSocket>

#include <gtest/gtest.h>

namespace varnet {
namespace {

using namespace varnet::testing;

TEST(NumberInput, LeadingAndWholeTextNumbers)
{
    EXPECT_EQ(leadingNumber("  12 mS"), 12.0);
    EXPECT_EQ(leadingNumber("-1.5e2x"), -150.0);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("2E"), 2.0);
    EXPECT_EQ(leadingNumber("+7"), 7.0);
    EXPECT_EQ(leadingNumber("abc"), std::nullopt);
    EXPECT_EQ(leadingNumber("-"), std::nullopt);
    EXPECT_EQ(leadingNumber(""), std::nullopt);

    EXPECT_EQ(parseNumber(" 3.25 "), 3.25);
    EXPECT_EQ(parseNumber("1E3"), 1000.0);
    EXPECT_EQ(parseNumber("12 mS"), std::nullopt);
    EXPECT_EQ(parseNumber("1,5"), std::nullopt);
    EXPECT_EQ(parseNumber("1e999"), std::nullopt);
    EXPECT_EQ(parseSingle("1e39"), std::nullopt);
    EXPECT_EQ(parseSingle("-3.5"), -3.5f);
}

quint16 freeLoopbackPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

// The UDP test window of a link that talks to a simulated X-Plane on the
// loopback.
class UdpTestWindow : public ::testing::Test {
protected:
    UdpTestWindow()
    {
        Cfg = ConfigTables{};
        Cfg.RemoteIP = "127.0.0.1";
        Cfg.RemotePort = std::to_string(xplane.port());
        Cfg.LocalPort = std::to_string(localPort);
    }

    ~UdpTestWindow() override
    {
        DefaultForm<frmTestXplaneInterface>::unload();
        DefaultForm<SimCom>::unload();
        flushDeletes();
        Cfg = ConfigTables{};
    }

    static frmTestXplaneInterface& window() { return DefaultForm<frmTestXplaneInterface>::get(); }
    static SimCom& link() { return DefaultForm<SimCom>::get(); }
    static QString area(const char* name) { return child<QPlainTextEdit>(window(), name)->toPlainText(); }
    static QString text(const char* name) { return child<QLineEdit>(window(), name)->text(); }

    static void fill(const char* index, const char* slot, const char* data)
    {
        child<QLineEdit>(window(), "boxIndex")->setText(index);
        child<QLineEdit>(window(), "boxValue")->setText(slot);
        child<QLineEdit>(window(), "boxData")->setText(data);
    }

    // What X-Plane receives from one click.
    QByteArray sentByClick(const char* button)
    {
        xplane.clearReceived();
        click(window(), button);
        EXPECT_TRUE(xplane.waitForReceived(1)) << button << " sent nothing";
        return xplane.received().value(0);
    }

    // A datagram from X-Plane, once the window shows it.
    void receive(const QByteArray& datagram)
    {
        child<QPlainTextEdit>(window(), "UDPProcessed")->clear();
        xplane.send(datagram, localPort);
        ASSERT_TRUE(waitUntil([] { return !area("UDPProcessed").isEmpty(); }, 2000));
    }

    ScriptedMessages boxes;
    SimXplane xplane;
    quint16 localPort = freeLoopbackPort();
};

TEST_F(UdpTestWindow, PacketsSentAreViewedAsByteNumbers)
{
    EXPECT_EQ(text("boxRemotePort"), QString::number(xplane.port()));
    click(window(), "cmdStartUDP");
    EXPECT_EQ(text("BoxRun"), "Running");

    fill("3", "2", "1.5");
    const SentData sent = decodeData(sentByClick("cmdDataUdp"));
    EXPECT_EQ(sent.group, 3);
    EXPECT_EQ(sent.slot, 2);
    EXPECT_EQ(sent.asFloat, 1.5f);
    click(window(), "cmdView");
    const QString view = area("Text1");
    EXPECT_TRUE(view.startsWith("68.65.84.65.48.3.0.0.0.")) << view.toStdString();
    EXPECT_EQ(view.count('.'), 41);

    fill("3 groups", "0", "-7.6");
    EXPECT_EQ(decodeData(sentByClick("cmdSendDataInteger")).asFloat, -8) << "the integer, as X-Plane reads it";
    fill("", "", "Ab");
    EXPECT_EQ(sentByClick("cmdSendCharacter"), QByteArray("CHAR0A127.0.0.1000000"));
    fill("17", "", "");
    EXPECT_EQ(sentByClick("cmdDSEL"), hex("44 53 45 4C 30 11 00 00 00"));
    click(window(), "OptionByteOrderReverse");
    EXPECT_EQ(Cfg.ByteOrderReverse, 1);
    EXPECT_EQ(sentByClick("cmdUSEL"), hex("55 53 45 4C 30 00 00 00 11"));
}

TEST_F(UdpTestWindow, BoxesThatCannotBeSentStateTheirRule)
{
    click(window(), "cmdStartUDP");
    const struct {
        const char* index;
        const char* slot;
        const char* data;
        const char* button;
        const char* rule;
    } refused[] = {
        {"x", "0", "1", "cmdDataUdp", kIndexRule},
        {"256", "0", "1", "cmdDSEL", kIndexRule},
        {"3", "8", "1", "cmdDataUdp", kSlotRule},
        {"3", "", "1", "cmdSendDataInteger", kSlotRule},
        {"3", "0", "1e39", "cmdDataUdp", kFloatDataRule},
        {"3", "0", "3e9", "cmdSendDataInteger", kIntegerDataRule},
        {"3", "0", "", "cmdSendCharacter", kCharacterRule},
    };
    xplane.clearReceived();
    for (const auto& r : refused) {
        fill(r.index, r.slot, r.data);
        boxes.expectOk(r.rule);
        click(window(), r.button);
    }
    // The first packet X-Plane sees is the one sent after the refusals.
    fill("9", "", "");
    click(window(), "cmdDSEL");
    ASSERT_TRUE(xplane.waitForReceived(1));
    EXPECT_EQ(xplane.received().first(), hex("44 53 45 4C 30 09 00 00 00"));
}

TEST_F(UdpTestWindow, ReceivedDatagramsShowRawAndDecodedWhileRunning)
{
    click(window(), "cmdStartUDP");
    EXPECT_TRUE(link().UDPTestDisplay);

    receive("HELLO");
    EXPECT_EQ(area("UDPProcessed"), "Bad Packet");
    EXPECT_EQ(area("UDPraw"), " 72  69  76  76  79 ");
    receive(SimXplane::dataPacket({{3, {1, 2, 3, 4, 5, 6, 7, 8}}}));
    EXPECT_TRUE(area("UDPProcessed").startsWith("Index:  3\n  V 0:  1\n")) << area("UDPProcessed").toStdString();
    click(window(), "cmdClearRaw");
    EXPECT_EQ(area("UDPraw"), "");
}

TEST_F(UdpTestWindow, StopDeselectsAllAndClosingHandsValuesBackToThePorts)
{
    xplane.clearReceived();
    click(window(), "CmdStopUDP");  // stopped already: nothing to do
    click(window(), "cmdStartUDP");
    click(window(), "cmdStartUDP");
    click(window(), "CmdStopUDP");
    EXPECT_EQ(text("BoxRun"), "Stopped");
    EXPECT_FALSE(link().UDPTestDisplay);
    ASSERT_TRUE(xplane.waitForReceived(1));
    EXPECT_EQ(xplane.received().first().size(), 605);

    click(window(), "cmdStartUDP");
    click(window(), "cmdExit");
    EXPECT_FALSE(DefaultForm<frmTestXplaneInterface>::loaded());
    EXPECT_FALSE(link().UDPTestDisplay);
}

} // namespace
} // namespace varnet
