#include "link_fixture.h"

#include <QStringList>

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

class ReceiveTest : public LinkTest {
protected:
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
};

TEST_F(ReceiveTest, EveryRecordOfAPacketIsStoredInOrderInEitherByteOrder)
{
    const QByteArray packet = SimXplane::dataPacket({record(3, 1), record(20, 10), record(150, 100)});
    ASSERT_EQ(packet.size(), 5 + 3 * 36);
    receive(packet);
    EXPECT_EQ(group(3), record(3, 1).values);
    EXPECT_EQ(group(20), record(20, 10).values);
    EXPECT_EQ(group(150), record(150, 100).values);
    EXPECT_EQ(link->UDPPacketCount, 1);

    // A group that appears twice keeps the later record; a group beyond the
    // table is passed over without touching the others.
    receive({record(3, 50), record(200, 7), record(3, 60)});
    EXPECT_EQ(group(3), record(3, 60).values);
    EXPECT_EQ(group(150), record(150, 100).values);
    EXPECT_EQ(link->UDPPacketCount, 2);

    // Reversed order reads the index from byte 9 and swaps the values.
    Cfg.ByteOrderReverse = 1;
    const QByteArray reversed = SimXplane::dataPacket({record(3, 1.5f)}, true);
    ASSERT_EQ(reversed[8], '\x03');
    receive(reversed);
    EXPECT_EQ(group(3), record(3, 1.5f).values);
}

TEST_F(ReceiveTest, OtherDatagramsAreCountedAndRefreshThePortsFromStoredValues)
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

TEST_F(ReceiveTest, ADatagramReachesThePortsOfItsGroupsWhateverWasOpenedReboundOrCleared)
{
    Cfg.FunctionIndex2[51] = 5;
    Cfg.FunctionSlot2[51] = 1;
    const auto ports = openPorts(51, {{DataTypeFloat, 3, 0}, {DataTypeFloat, 5, 1}});
    const int a = ports[0], b = ports[1];
    receive({record(3, 1), record(5, 10)});
    EXPECT_EQ(link->GetPort(a), 1);
    EXPECT_EQ(link->GetPort(b), 11);

    // Another selector: the next datagram gives the new pair's value,
    // whichever groups it carries, and from then on only that group counts.
    link->NewSeqNr(a, 2);
    receive({record(3, 2)});
    EXPECT_EQ(link->GetPort(a), 11);
    receive({record(5, 20)});
    receive({record(3, 3)});
    EXPECT_EQ(link->GetPort(a), 21);
    EXPECT_EQ(link->GetPort(b), 21);

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

TEST_F(ReceiveTest, AValueThatDoesNotFitOnePortLeavesOnlyThatPortAsItWas)
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

TEST_F(ReceiveTest, APortWhosePairLiesOutsideTheTableReceivesNothing)
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

TEST_F(ReceiveTest, TestDisplayShowsDatagramsInsteadOfRefreshingThePorts)
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
    EXPECT_EQ(link->XplaneData[3][0], 1.5f) << "values are still stored";
    EXPECT_EQ(link->GetPort(port), 0);

    receive("XPLN");
    EXPECT_EQ(shown[1], (QStringList{" 88  80  76  78 ", "Bad Packet"}));
    EXPECT_EQ(link->UDPPacketCount, 2);

    link->UDPTestDisplay = false;
    receive({Record{4, {}}});
    EXPECT_EQ(link->GetPort(port), 1.5f) << "what was stored meanwhile reaches the ports";
}

} // namespace
} // namespace varnet::testing
