#include "simlink/udptest.h"

#include "config/numinput.h"
#include "link_fixture.h"
#include "platform/wait.h"
#include "support/fake_udp_socket.h"

#include <QPlainTextEdit>
#include <QTest>

namespace varnet {
namespace {

using namespace varnet::testing;

TEST(NumberInput, LeadingAndWholeTextNumbers)
{
    const std::pair<const char*, std::optional<double>> leading[] = {
        {"  12 mS", 12.0}, {"-1.5e2x", -150.0}, {".5", 0.5}, {"2E", 2.0},
        {"+7", 7.0},       {"abc", std::nullopt}, {"-", std::nullopt}, {"", std::nullopt}};
    for (const auto& [text, number] : leading)
        EXPECT_EQ(leadingNumber(text), number) << text;
    const std::pair<const char*, std::optional<double>> whole[] = {
        {" 3.25 ", 3.25}, {"1E3", 1000.0}, {"12 mS", std::nullopt}, {"1,5", std::nullopt}, {"1e999", std::nullopt}};
    for (const auto& [text, number] : whole)
        EXPECT_EQ(parseNumber(text), number) << text;
    EXPECT_EQ((std::pair{parseSingle("1e39"), parseSingle("-3.5")}), (std::pair{std::optional<Single>(), std::optional(-3.5f)}));
}

TEST(XplaneSender, OnlyTheConfiguredHostIsAcceptedAndLoopbackMeansThisMachine)
{
    const QList<QHostAddress> own{QHostAddress("192.168.1.5")};
    const QHostAddress xplane("192.168.1.20"), loopback(QHostAddress::LocalHost);
    const std::tuple<QHostAddress, QHostAddress, bool> cases[] = {
        {xplane, QHostAddress("::ffff:192.168.1.20"), true}, {xplane, loopback, false},
        {loopback, QHostAddress("127.0.0.2"), true},          {loopback, QHostAddress("192.168.1.5"), true},
        {loopback, xplane, false},                            {QHostAddress(), loopback, false}};
    for (const auto& [configured, sender, accepted] : cases)
        EXPECT_EQ(AcceptsSender(configured, sender, own), accepted) << sender.toString().toStdString();

    // Datagrams from other hosts change nothing; the test window counts them.
    DefaultForm<SimCom>::unload();
    FakeUdpSockets sockets;
    Cfg = ConfigTables{};
    Cfg.RemoteIP = "192.168.1.20";
    Cfg.RemotePort = Cfg.LocalPort = "49000";
    frmTestXplaneInterface& window = DefaultForm<frmTestXplaneInterface>::get();
    click(window, "cmdStartUDP");
    const QByteArray packet = SimXplane::dataPacket({{3, {1e9f}}});
    sockets.sockets().first()->inject(packet, QHostAddress("192.168.1.99"));
    EXPECT_EQ((std::tuple{child<QLineEdit>(window, "boxIgnored")->text(), DefaultForm<SimCom>::get().XplaneData[3][0],
                          child<QPlainTextEdit>(window, "UDPraw")->toPlainText()}),
              (std::tuple{"1", 0.0f, ""}));
    sockets.sockets().first()->inject(packet, QHostAddress("192.168.1.20"));
    EXPECT_EQ(DefaultForm<SimCom>::get().XplaneData[3][0], 1e9f);
    DefaultForm<frmTestXplaneInterface>::unload();
    DefaultForm<SimCom>::unload();
    flushDeletes();
}

class UdpTestWindow : public LinkWindowTest<frmTestXplaneInterface> {
protected:
    static QString area(const char* name) { return child<QPlainTextEdit>(window(), name)->toPlainText(); }

    // Replaces a box's text by typing.
    static void type(const char* box, const char* typed)
    {
        child<QLineEdit>(window(), box)->selectAll();
        QTest::keyClick(child<QLineEdit>(window(), box), Qt::Key_Backspace);
        QTest::keyClicks(child<QLineEdit>(window(), box), QString::fromLatin1(typed));
    }

    static void fill(const char* index, const char* slot, const char* data)
    {
        setTexts({{"boxIndex", index}, {"boxValue", slot}, {"boxData", data}});
    }

    // What X-Plane receives from one click.
    QByteArray sentByClick(const char* button)
    {
        xplane.clearReceived();
        click(window(), button);
        return packet(1);
    }

    // A datagram from X-Plane, once the window shows it.
    void receive(const QByteArray& datagram)
    {
        child<QPlainTextEdit>(window(), "UDPProcessed")->clear();
        xplane.send(datagram, localPort);
        ASSERT_TRUE(waitUntil([] { return !area("UDPProcessed").isEmpty(); }, 2000));
    }
};

TEST_F(UdpTestWindow, PacketsSentAreViewedAsByteNumbersAndBoxesThatCannotBeSentStateTheirRule)
{
    EXPECT_EQ(text("boxRemotePort"), QString::number(xplane.port()));
    click(window(), "cmdStartUDP");
    EXPECT_EQ(text("BoxRun"), "Running");

    fill("3", "2", "1.5");
    EXPECT_EQ(decodeData(sentByClick("cmdDataUdp")), (SentData{3, 2, 1.5f}));
    click(window(), "cmdView");
    EXPECT_EQ((std::tuple{area("Text1").left(23), area("Text1").count('.')}), (std::tuple{"68.65.84.65.48.3.0.0.0.", 41}));

    fill("3 groups", "0", "-7.6");
    EXPECT_EQ(decodeData(sentByClick("cmdSendDataInteger")).asFloat, -8) << "the integer, as X-Plane reads it";
    fill("", "", "Ab");
    EXPECT_EQ(sentByClick("cmdSendCharacter"), QByteArray("CHAR0A127.0.0.1000000"));
    fill("17", "", "");
    EXPECT_EQ(sentByClick("cmdDSEL"), hex("44 53 45 4C 30 11 00 00 00"));
    click(window(), "OptionByteOrderReverse");
    EXPECT_EQ((std::tuple{Cfg.ByteOrderReverse, sentByClick("cmdUSEL")}), (std::tuple{1, hex("55 53 45 4C 30 00 00 00 11")}));

    // Boxes that cannot be sent state their rule.
    const std::tuple<const char*, const char*, const char*, const char*, const char*> refused[] = {
        {"x", "0", "1", "cmdDataUdp", kIndexRule},           {"256", "0", "1", "cmdDSEL", kIndexRule},
        {"3", "8", "1", "cmdDataUdp", kSlotRule},            {"3", "", "1", "cmdSendDataInteger", kSlotRule},
        {"3", "0", "1e39", "cmdDataUdp", kFloatDataRule},    {"3", "0", "3e9", "cmdSendDataInteger", kIntegerDataRule},
        {"3", "0", "", "cmdSendCharacter", kCharacterRule},
    };
    xplane.clearReceived();
    for (const auto& [index, slot, data, button, rule] : refused) {
        fill(index, slot, data);
        boxes.expectOk(rule);
        click(window(), button);
    }
    // The first packet X-Plane sees is the one sent after the refusals.
    fill("9", "", "");
    click(window(), "cmdDSEL");
    EXPECT_EQ(packet(1), hex("44 53 45 4C 30 00 00 00 09"));
}

TEST_F(UdpTestWindow, ReceivedDatagramsShowWhileRunningAndStopDeselectsAll)
{
    // Boxes not typed into follow a "set" made since the window loaded, and
    // Start listens there.
    ASSERT_EQ(text("boxLocalPort"), QString::number(localPort));
    localPort = freeLoopbackPort();
    Cfg.LocalPort = std::to_string(localPort);
    window().Form_Activate();
    EXPECT_EQ(text("boxLocalPort"), QString::number(localPort));
    xplane.clearReceived();
    click(window(), "CmdStopUDP");  // stopped already: nothing to do
    click(window(), "cmdStartUDP");
    EXPECT_TRUE(link().UDPTestDisplay);

    receive("HELLO");
    EXPECT_EQ((std::tuple{area("UDPProcessed"), area("UDPraw")}), (std::tuple{"Bad Packet", " 72  69  76  76  79 "}));
    receive(SimXplane::dataPacket({{3, {1, 2, 3, 4, 5, 6, 7, 8}}}));
    EXPECT_TRUE(area("UDPProcessed").startsWith("Index:  3\n  V 0:  1\n")) << area("UDPProcessed").toStdString();
    click(window(), "cmdClearRaw");
    EXPECT_EQ(area("UDPraw"), "");

    click(window(), "cmdStartUDP");
    click(window(), "CmdStopUDP");
    EXPECT_EQ((std::tuple{text("BoxRun"), link().UDPTestDisplay, packet(1).size()}), (std::tuple{"Stopped", false, 605}));

    // Closing hands the values back to the ports.
    click(window(), "cmdStartUDP");
    click(window(), "cmdExit");
    EXPECT_FALSE(DefaultForm<frmTestXplaneInterface>::loaded() || link().UDPTestDisplay);
}

TEST_F(UdpTestWindow, TypedPortsFollowThePortRuleAndTheBoxesShowThePortsTheLinkUses)
{
    const std::pair<const char*, const char*> refused[] = {{"49000", "70000"}, {"49000", "0"}, {"49000", ""},
                                                           {"0", "49001"},     {"65536", "49001"}};
    for (const auto& [remote, local] : refused) {
        type("boxRemotePort", remote);
        type("boxLocalPort", local);
        boxes.expectOk(kUdpPortRule);
        click(window(), "cmdStartUDP");
        EXPECT_EQ((std::tuple{text("BoxRun"), link().UDPClosed()}), (std::tuple{"Stopped", true})) << remote << local;
    }
    // Another port that holds is the one the link listens on, for this test only.
    const quint16 other = freeLoopbackPort();
    type("boxRemotePort", std::to_string(xplane.port()).c_str());
    type("boxLocalPort", QString(" %1 ").arg(other).toLatin1().constData());
    click(window(), "cmdStartUDP");
    const QString inUse = QString("127.0.0.1 %1 %2").arg(xplane.port());
    EXPECT_EQ((std::tuple{text("BoxRun"), texts({"boxRemoteIP", "boxRemotePort", "boxLocalPort"})}),
              (std::tuple{"Running", inUse.arg(other)}));
    xplane.send("HELLO", other);
    EXPECT_TRUE(waitUntil([] { return !area("UDPraw").isEmpty(); }, 2000));
    // The byte order switched while the test runs holds at once, for its Stop too.
    click(window(), "OptionByteOrderReverse");
    xplane.clearReceived();
    click(window(), "CmdStopUDP");
    EXPECT_EQ(packet(1), StopAllPacket(true));
    click(window(), "OptionByteOrderNormal");
    EXPECT_EQ(Cfg.LocalPort, std::to_string(localPort)) << "the settings stay as they were";

    // An address that does not hold leaves no socket open behind "Stopped".
    type("boxRemoteIP", "::1");
    boxes.expectOk("Error opening the LAN port: Invalid remote address \"::1\"");
    click(window(), "cmdStartUDP");
    EXPECT_EQ((std::tuple{text("BoxRun"), link().UDPClosed()}), (std::tuple{"Stopped", true}));
    // A link the run opened stays as it is, and the boxes say so.
    link().OpenUDP();
    click(window(), "cmdStartUDP");
    EXPECT_EQ((std::tuple{text("BoxRun"), texts({"boxRemoteIP", "boxRemotePort", "boxLocalPort"})}),
              (std::tuple{"Running", inUse.arg(localPort)}));
    // Opened anew on other settings by another window, and closed: the boxes follow.
    Cfg.LocalPort = std::to_string(other);
    link().OpenSimCom();
    EXPECT_EQ(texts({"boxRemoteIP", "boxRemotePort", "boxLocalPort"}), inUse.arg(other));
    link().CloseUDP();
    EXPECT_EQ((std::tuple{text("BoxRun"), link().UDPTestDisplay}), (std::tuple{"Stopped", false}));
}

} // namespace
} // namespace varnet
