#include "link_fixture.h"
#include "platform/wait.h"

#include <QPushButton>
#include <QStringList>

#include <cmath>
#include <limits>

namespace varnet::testing {
namespace {

using Record = SimXplane::Record;

Record record(quint32 group, float first)
{
    Record r{group, {}};
    for (int j = 0; j < 8; ++j)
        r.values[j] = first + float(j);
    return r;
}

class PortTest : public LinkTest {
protected:
    // A port of function 60 with data type `type`, reading group 9 slot 0.
    int typedPort(Byte type, Single preAdd = 0, Single multiply = 1, Single divide = 1)
    {
        defineFunction(60, type, 9, 0, preAdd, multiply);
        Cfg.FunctionDivide[60] = divide;
        return openReadPort(60);
    }
    void receiveValue(float value) { receive({Record{9, {value}}}); }
    // What one PutPort sends and returns.
    struct Put {
        QList<QByteArray> sent;
        Single returned = 0;
    };
    Put put(int port, Single value)
    {
        Put result;
        result.sent = sentBy([&] { result.returned = link->PutPort(port, value); });
        return result;
    }
    std::vector<std::string> list() { return listLines(*link, "OffsetsList"); }
    std::array<float, 8> group(int g) const { return link->XplaneData[g]; }
    // Functions `first`, `first` + 1, ... reading (group, slot) of the given types, their ports open.
    std::vector<int> openPorts(int first, const std::vector<std::tuple<Byte, int, int>>& pairs)
    {
        std::vector<int> ports;
        for (const auto& [type, group, slot] : pairs) {
            defineFunction(first, type, group, slot);
            ports.push_back(openReadPort(first++));
        }
        return ports;
    }
    // The question a failed read or write of function 60 asks.
    static QString fault(const char* head, const char* description)
    {
        return QString(head) + "\r\nError description: " + description +
               "\r\nCheck function definition for limits and calculation (pre-add/multiply/divide).\r\nContinue?";
    }
};

TEST_F(PortTest, HandlesCountFromZeroAndTheWindowListsThem)
{
    defineFunction(7, DataTypeFloat, 3, 0);
    defineFunction(8, DataTypeFloat, 3, 1);
    link->OpenSimPort(7, 1);
    link->CloseAllPorts();
    EXPECT_EQ((std::vector{link->OpenSimPort(7, 1), link->OpenSimPort(8, 1), link->OpenSimPort(7, 2)}), (std::vector{0, 1, 2}));
    for (const int f : {0, 9, 301, -4})  // 9 has no short name
        EXPECT_EQ(link->OpenSimPort(f, 1), kNoSimPort) << f;
    EXPECT_EQ(std::tuple(link->PortCount(), link->NrOfOffsets, list().size()), std::tuple(3, 4, 4u))
        << "the list keeps the lines of emptied tables";

    // Handles outside the table are no port.
    for (const int handle : {kNoSimPort, -1, 3}) {
        EXPECT_TRUE(sentBy([&] {
                        link->EnableReadSimPort(handle);
                        link->DisableReadSimPort(handle);
                        link->NewSeqNr(handle, 2);
                        EXPECT_EQ(link->PutPort(handle, 5), 5);
                    }).isEmpty());
        EXPECT_EQ(std::tuple(link->GetPort(handle), link->GetPortRaw(handle)), std::tuple(std::nullopt, std::nullopt));
    }

    link->ClearPortList();
    link->CloseAllPorts();
    Cfg.FunctionNames[7] = "IAS";
    Byte selector = 0;
    link->CurrentOwnerID = 12;
    link->OpenSimPort(7, selector);
    EXPECT_EQ(selector, 1) << "selector 0 becomes 1 in the caller's variable";
    const auto line = [](int handle, const QString& owner, int selector) {
        return QString("%1         %2           007  - %3         IAS").arg(handle, 3, 10, QChar('0')).arg(owner).arg(selector).toStdString();
    };
    std::vector<std::string> expected{line(0, "ID:012", 1)};
    const QStringList owners{"IOM#1", "IOM#2", "INTRN", "ENGCl", "YOKES", ""};
    for (int k = 0; k < owners.size(); ++k) {
        link->CurrentOwnerID = k < 5 ? 1000 * (k + 1) : 7777;
        link->OpenSimPort(7, 4);
        expected.push_back(line(k + 1, owners[k], 4));
    }
    EXPECT_EQ(list(), expected);
    link->ClearPortList();
    EXPECT_TRUE(list().empty());
    link->show();
    link->findChild<QPushButton*>("cmdClose")->click();
    EXPECT_FALSE(link->isVisible());
}

TEST_F(PortTest, OpeningWarnsOfZeroScalingAndEnablingSelectsTheGroup)
{
    defineFunction(61, DataTypeFloat, 3, 0);
    Cfg.FunctionIndex2[61] = 44;
    Cfg.FunctionDivide[61] = Cfg.FunctionMultiply[61] = 0;
    boxes.expectOk("Warning: Opening Function number : 61\r\nFunction contains division by zero.");
    boxes.expectOk("Warning: Opening Function number : 61\r\nFunction contains multiply by zero.");
    const int port = link->OpenSimPort(61, 2);
    receive({Record{3, {1}}});
    EXPECT_EQ(link->GetPort(port), std::nullopt) << "never enabled";
    EXPECT_EQ((std::tuple{sentBy([&] { link->EnableReadSimPort(port); }), sentBy([&] { link->DisableReadSimPort(port); }), link->GetPort(port)}),
              (std::tuple{QList{hex("44 53 45 4C 30 2C 00 00 00")}, QList{hex("55 53 45 4C 30 2C 00 00 00")}, std::nullopt}));
}

TEST_F(PortTest, ReadsConvertByDataTypeThenScaleAndCommandsAndMacrosAreSpecial)
{
    const std::tuple<Byte, float, float> cases[] = {{DataTypeByte, 200, -55},       {DataTypeByte, 127, 127},     {DataTypeByte, 128, -127},
                          {DataTypeByte, 2.5f, 2},        {DataTypeInteger, -300, -300}, {DataTypeUnsignedInt, -1, 65534},
                          {DataTypeLong, 100000, 100000}, {DataTypeFloat, 1.25f, 1.25f}, {DataTypeBCD, 1234, 1234},
                          {DataTypeBCD, 12345, 1234}};
    for (const auto& [type, received, raw] : cases) {
        const int port = typedPort(type, 1, 2, 4);
        receiveValue(received);
        EXPECT_EQ(link->GetPortRaw(port), raw) << "type " << int(type) << ", received " << received;
        EXPECT_FLOAT_EQ(*link->GetPort(port), (raw + 1) * 2 / 4);
    }
    EXPECT_EQ((std::tuple{link->GetPort(typedPort(DataTypeCommand)), link->GetPort(typedPort(DataTypeNotUsed))}),
              (std::tuple{std::nullopt, std::nullopt}));
    const int macro = typedPort(DataTypeFloat);
    Cfg.FunctionSignalType[60] = kMacroSignalType;
    Cfg.FunctionMacroNr[60] = 1;
    EXPECT_EQ(link->GetPort(macro), 472);
    Cfg.FunctionMacroNr[60] = 2;
    EXPECT_EQ(link->GetPort(macro), std::nullopt);
}

TEST_F(PortTest, AReadFaultAsksAndNoStopsTheRun)
{
    int stops = 0;
    link->OnStopRun = [&] { ++stops; };
    const int port = typedPort(DataTypeInteger);
    receiveValue(-7);
    Cfg.FunctionDivide[60] = 0;
    const char* head = "Error at getting function:60, Port number:0 from Simulator.\r\nFunction name= F60";
    boxes.expectYesNo(fault(head, "Division by zero"), true);
    EXPECT_EQ(link->GetPort(port), -7) << "a failed scaling gives the raw value";
    boxes.expectYesNo(fault(head, "Division by zero"), false);
    EXPECT_EQ((std::tuple{link->GetPort(port), stops}), (std::tuple{-7, 1}));

    const int bcd = typedPort(DataTypeBCD);
    receiveValue(-7);
    boxes.expectYesNo(fault(head, "Negative value for BCD code").replace("Port number:0", "Port number:1"), true);
    EXPECT_EQ((std::tuple{link->GetPort(bcd), link->GetPortRaw(bcd)}), (std::tuple{std::nullopt, std::nullopt}))
        << "the raw read fails silently";
}

TEST_F(PortTest, WritesScaleBackConvertByDataTypeAndSend)
{
    // Every type goes out as a float among float fillers: X-Plane reads no
    // other DATA value.
    const std::tuple<Byte, Single, Single, float> cases[] = {{DataTypeByte, 200, 200, 200},          {DataTypeInteger, 40000, 32767, 32767},
                          {DataTypeInteger, -40000, -32767, -32767}, {DataTypeInteger, 2.5f, 2.5f, 2},
                          {DataTypeUnsignedInt, 1000, 1000, 1000},  {DataTypeLong, 1.5f, 1.5f, 1.5f},
                          {DataTypeFloat, -2.25f, -2.25f, -2.25f}, {DataTypeBCD, 1234, 1234, 1234}};
    for (const auto& [type, value, returned, sent] : cases) {
        const Put result = put(typedPort(type), value);
        EXPECT_EQ((std::tuple{result.sent.size(), decodeData(result.sent.value(0)), result.returned}),
                  (std::tuple{1, SentData{9, 0, sent}, returned})) << "type " << int(type);
    }
    // The port of a BCD function reads back what was written.
    EXPECT_EQ(link->GetPortRaw(link->PortCount() - 1), 1234);

    const Put result = put(typedPort(DataTypeFloat, 1, 2, 4), 10);
    EXPECT_EQ(std::tuple(decodeData(result.sent.value(0)).asFloat, result.returned), std::tuple(19, 19)) << "10 x 4 / 2 - 1";

    // A command function sends its numbered line.
    const int command = typedPort(DataTypeCommand);
    std::string text;
    for (char n = '0'; n <= '9'; ++n)
        text += std::string("#") + n + ":sim/line" + n + "\r\n";
    Cfg.FunctionFullName[60] = text;
    for (const auto& [value, line] : {std::pair{12.0f, "CMND0sim/line9"}, {0.0f, "CMND0sim/line0"}, {3.4f, "CMND0sim/line3"}})
        EXPECT_EQ(put(command, value).sent, QList{QByteArray(line)});
}

TEST_F(PortTest, AWriteFaultAsksYesGoesOnAndNoStops)
{
    int stops = 0;
    link->OnStopRun = [&] { ++stops; };
    const int port = typedPort(DataTypeByte);
    const QString overflow = fault("Error at putting function:60, Port number: 0 to Simulator.", "Overflow");
    boxes.expectYesNo(overflow, true);
    const Put kept = put(port, 300);
    EXPECT_EQ((std::tuple{kept.sent.size(), decodeData(kept.sent.value(0))}), (std::tuple{1, SentData{9, 0, 300}}))
        << "Yes: the value is sent though the port cannot hold it";
    boxes.expectYesNo(overflow, false);
    EXPECT_EQ((std::tuple{put(port, -1).sent.size(), stops}), (std::tuple{0, 1}));

    // A value that cannot be scaled back is never sent.
    boxes.expectYesNo(overflow, true);
    EXPECT_TRUE(put(port, std::numeric_limits<float>::quiet_NaN()).sent.isEmpty());
    Cfg.FunctionMultiply[60] = 0;
    boxes.expectYesNo(QString(overflow).replace("Overflow", "Division by zero"), true);
    EXPECT_TRUE(put(port, 5).sent.isEmpty());

    // CloseSimCom stops every group, empties the table and closes the link.
    const QList<QByteArray> sent = sentBy([&] {
        link->CloseSimCom();
        link->SendDSEL(1);
        link->OpenUDP();
    });
    EXPECT_EQ((std::tuple{sent.size(), sent.value(0).size(), link->PortCount(), link->GetPort(port)}),
              (std::tuple{1, 605, 0, std::nullopt}));
}

TEST_F(PortTest, EveryRecordOfAPacketIsStoredInOrderInEitherByteOrder)
{
    const QByteArray packet = SimXplane::dataPacket({record(3, 1), record(20, 10), record(150, 100)});
    ASSERT_EQ(packet.size(), 5 + 3 * 36);
    receive(packet);
    EXPECT_EQ(std::tuple(group(3), group(20), group(150), link->UDPPacketCount),
              std::tuple(record(3, 1).values, record(20, 10).values, record(150, 100).values, 1));

    // A group that appears twice keeps the later record; a group beyond the
    // table is passed over without touching the others.
    receive({record(3, 50), record(200, 7), record(3, 60)});
    EXPECT_EQ(std::tuple(group(3), group(150), link->UDPPacketCount), std::tuple(record(3, 60).values, record(150, 100).values, 2));

    // Reversed order reads the index from byte 9 and swaps the values.
    Cfg.ByteOrderReverse = 1;
    const QByteArray reversed = SimXplane::dataPacket({record(3, 1.5f)}, true);
    ASSERT_EQ(reversed[8], '\x03');
    receive(reversed);
    EXPECT_EQ(group(3), record(3, 1.5f).values);
}

// An index beyond a byte is no group, whatever its low byte says: the record
// is passed over, in either byte order and on either receive path, and the
// records beside it are stored as ever. The test display shows the index
// that came.
TEST_F(PortTest, ARecordWhoseIndexIsNoGroupIsPassedOverWhateverItsLowByte)
{
    const int port = openPorts(51, {{DataTypeFloat, 3, 0}})[0];
    receive({record(3, 5)});
    QStringList shown;
    QObject::connect(link.get(), &SimCom::TestDisplay, [&](const QString&, const QString& converted) { shown.append(converted); });
    float value = 10;
    for (const bool display : {false, true}) {
        link->UDPTestDisplay = display;
        for (const bool reversed : {false, true}) {
            Cfg.ByteOrderReverse = reversed;
            for (const qint32 index : {259, -253, 65539, 0x01000003, -1}) {
                value += 1;
                receive(SimXplane::dataPacket({record(quint32(index), 99), record(5, value)}, reversed));
                const auto where = ::testing::Message() << index << (reversed ? " reversed" : "") << (display ? " shown" : "");
                EXPECT_EQ(std::tuple(group(3), group(5)[0]), std::tuple(record(3, 5).values, value)) << where;
                if (display) {
                    EXPECT_TRUE(shown.back().startsWith("Index: " + QString(index < 0 ? "" : " ") + QString::number(index) +
                                                        "\r\n  V 0:  99\r\n"))
                        << where << shown.back().toStdString();
                }
            }
        }
    }
    link->UDPTestDisplay = false;
    Cfg.ByteOrderReverse = 0;
    receive({record(5, 0)});
    EXPECT_EQ(link->GetPort(port), 5);
}

TEST_F(PortTest, OtherDatagramsAreCountedAndRefreshThePortsFromStoredValues)
{
    const int port = openPorts(51, {{DataTypeByte, 3, 2}})[0];
    receive({record(3, 5)});
    QByteArray notData = SimXplane::dataPacket({record(3, 9)});
    notData[3] = 'B';
    for (const QByteArray& datagram : {QByteArray("DATA0"), SimXplane::dataPacket({record(3, 9)}) + '\0', notData}) {
        // A value written into the port stands until the next datagram.
        link->PutPort(port, 100);
        ASSERT_EQ(link->GetPort(port), 100);
        receive(datagram);
        EXPECT_EQ(link->GetPort(port), 7) << datagram.size() << " bytes";
    }
    EXPECT_EQ(link->UDPPacketCount, 4);
    EXPECT_EQ(group(3)[0], 5) << "a rejected packet stores nothing";
}

TEST_F(PortTest, ADatagramReachesThePortsOfItsGroupsWhateverWasOpenedReboundOrCleared)
{
    Cfg.FunctionIndex2[51] = 5;
    Cfg.FunctionSlot2[51] = 1;
    const auto ports = openPorts(51, {{DataTypeFloat, 3, 0}, {DataTypeFloat, 5, 1}});
    const int a = ports[0], b = ports[1];
    const auto values = [&] { return std::tuple(link->GetPort(a), link->GetPort(b)); };
    receive({record(3, 1), record(5, 10)});
    EXPECT_EQ(values(), std::tuple(1, 11));

    // Another selector: the next datagram gives the new pair's value,
    // whichever groups it carries, and from then on only that group counts.
    link->NewSeqNr(a, 2);
    receive({record(3, 2)});
    EXPECT_EQ(link->GetPort(a), 11);
    receive({record(5, 20)});
    receive({record(3, 3)});
    EXPECT_EQ(values(), std::tuple(21, 21));

    // Disabled it keeps its value; enabled again, the next datagram gives it
    // the stored one.
    link->DisableReadSimPort(b);
    receive({record(5, 30)});
    link->EnableReadSimPort(b);
    EXPECT_EQ(link->GetPortRaw(b), 21);
    receive({record(3, 4)});
    EXPECT_EQ(link->GetPort(b), 31);

    // A function given another pair in the editor reads that pair.
    Cfg.FunctionIndex1[52] = 3;
    Cfg.FunctionSlot1[52] = 0;
    EXPECT_EQ(link->GetPort(b), 4);
    receive({record(3, 6), record(5, 40)});
    EXPECT_EQ(link->GetPort(b), 6);

    link->CloseAllPorts();
    const int first = openReadPort(51);
    receive({record(3, 7)});
    EXPECT_EQ(link->GetPort(first), 7);
}

TEST_F(PortTest, OpenedOnOtherSettingsTheLinkStopsItsXPlaneAsItWasOpenedAndSelectsItsGroupsOnTheNewOne)
{
    const auto ports = openPorts(51, {{DataTypeFloat, 3, 0}, {DataTypeFloat, 5, 0}});
    link->DisableReadSimPort(ports[1]);
    EXPECT_TRUE(sentBy([&] { link->OpenSimCom(); }).isEmpty()) << "the same settings keep the link as it is";

    // Another X-Plane, local port, byte order and No USEL.
    SimXplane b;
    const quint16 bPort = freeLoopbackPort();
    std::tie(Cfg.RemotePort, Cfg.LocalPort, Cfg.ByteOrderReverse, Cfg.BlockUsel) =
        std::tuple(std::to_string(b.port()), std::to_string(bPort), 1, 1);
    xplane.clearReceived();
    link->OpenSimCom();
    ASSERT_TRUE(xplane.waitForReceived(1) && b.waitForReceived(1));
    EXPECT_EQ((std::tuple{xplane.received(), b.received()}),
              (std::tuple{QList{StopAllPacket(false)}, QList{hex("44 53 45 4C 30 00 00 00 03")}}));
    b.sendData({Record{3, {7}}}, true, bPort);
    EXPECT_TRUE(waitUntil([&] { return link->GetPort(ports[0]) == 7; }, 2000)) << "not heard on the new local port";

    // Back: the X-Plane opened with No USEL is not told to stop.
    std::tie(Cfg.RemotePort, Cfg.LocalPort, Cfg.ByteOrderReverse, Cfg.BlockUsel) =
        std::tuple(std::to_string(xplane.port()), std::to_string(localPort), 0, 0);
    b.clearReceived();
    xplane.clearReceived();
    link->OpenUDP();
    ASSERT_TRUE(xplane.waitForReceived(1));
    EXPECT_EQ((std::tuple{xplane.received(), b.waitForReceived(1, 200)}),
              (std::tuple{QList{hex("44 53 45 4C 30 03 00 00 00")}, false}));

    // Set to b's ends and No USEL, and the program ends before the link opens again: the X-Plane
    // it talks to is told to stop as it was opened, and b is told nothing.
    std::tie(Cfg.RemotePort, Cfg.LocalPort, Cfg.ByteOrderReverse, Cfg.BlockUsel) =
        std::tuple(std::to_string(b.port()), std::to_string(bPort), 1, 1);
    xplane.clearReceived();
    link->CloseSimCom();
    ASSERT_TRUE(xplane.waitForReceived(1));
    EXPECT_EQ((std::tuple{xplane.received(), b.waitForReceived(1, 200)}),
              (std::tuple{QList{StopAllPacket(false)}, false}));
}

TEST_F(PortTest, AValueThatDoesNotFitOnePortLeavesOnlyThatPortAsItWas)
{
    const auto ports = openPorts(51, {{DataTypeByte, 4, 0}, {DataTypeFloat, 4, 0}, {DataTypeInteger, 4, 1}});
    const auto values = [&] { return std::tuple{link->GetPort(ports[0]), link->GetPort(ports[1]), link->GetPort(ports[2])}; };
    receive({Record{4, {7, 8}}});
    receive({Record{4, {-5, 40000}}});
    EXPECT_EQ(values(), std::tuple(7, -5, 8));
    EXPECT_EQ(link->UDPPacketCount, 2);
    receive({Record{4, {std::numeric_limits<float>::quiet_NaN(), 9}}});
    EXPECT_EQ(values(), std::tuple(7, -5, 9)) << "a NaN fits no port";
}

TEST_F(PortTest, APortWhosePairLiesOutsideTheTableReceivesNothing)
{
    const QList<QByteArray> selects = sentBy([&] { openPorts(51, {{DataTypeFloat, 151, 0}, {DataTypeFloat, 5, 8}}); });
    EXPECT_TRUE(selects.isEmpty()) << "no DSEL for a group nothing can use";
    const int selectorPort = openPorts(53, {{DataTypeFloat, 5, 0}})[0];
    link->NewSeqNr(selectorPort, 7);

    receive({record(5, 1)});
    for (int port = 0; port < 3; ++port)
        EXPECT_EQ(link->GetPort(port), std::nullopt) << "port " << port;
    EXPECT_TRUE(sentBy([&] { link->PutPort(selectorPort, 1); }).isEmpty()) << "no pair to write to";
    link->NewSeqNr(selectorPort, 1);
    receive({record(5, 1)});
    EXPECT_EQ(link->GetPort(selectorPort), 1);
}

TEST_F(PortTest, TestDisplayShowsDatagramsInsteadOfRefreshingThePorts)
{
    const int port = openPorts(51, {{DataTypeFloat, 3, 0}})[0];
    link->UDPTestDisplay = true;
    QList<QStringList> shown;
    QObject::connect(link.get(), &SimCom::TestDisplay,
                     [&](const QString& raw, const QString& converted) { shown.append({raw, converted}); });

    receive({Record{3, {1.5f, -2, 0, 0, 0, 0, 0, 1e10f}}});
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0][0].startsWith(" 68  65  84  65  48  3  0  0  0  0  0  192  63 "));
    EXPECT_EQ(shown[0][1], "Index:  3\r\n  V 0:  1.5\r\n  V 1: -2\r\n  V 2:  0\r\n  V 3:  0\r\n"
                           "  V 4:  0\r\n  V 5:  0\r\n  V 6:  0\r\n  V 7:  1E+10\r\n\r\n");
    EXPECT_EQ((std::tuple{link->XplaneData[3][0], link->GetPort(port)}), (std::tuple{1.5f, 0})) << "values are still stored";

    receive("XPLN");
    EXPECT_EQ((std::tuple{shown[1], link->UDPPacketCount}), (std::tuple{QStringList{" 88  80  76  78 ", "Bad Packet"}, 2}));

    // Of the datagrams one pass takes, the newest is shown; all are stored.
    link->ReceiveOnTicks(true);
    for (const float value : {1.0f, 2.0f, 3.0f})
        xplane.send(SimXplane::dataPacket({Record{5, {value}}}), localPort);
    waitMs(100);
    link->ReceiveWaiting();
    link->ReceiveOnTicks(false);
    EXPECT_TRUE(shown.size() == 3 && shown.back()[1].startsWith("Index:  5\r\n  V 0:  3\r\n"));
    EXPECT_EQ(std::tuple(link->XplaneData[5][0], link->UDPPacketCount), std::tuple(3.0f, 5));
    receive({Record{0, {4.5f}}});
    EXPECT_EQ(link->XplaneData[0][0], 4.5f) << "group 0 is stored as every other";

    link->UDPTestDisplay = false;
    receive({Record{4, {}}});
    EXPECT_EQ(link->GetPort(port), 1.5f) << "what was stored meanwhile reaches the ports";
}

} // namespace
} // namespace varnet::testing
