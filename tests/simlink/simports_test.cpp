#include "link_fixture.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <cmath>
#include <limits>

namespace varnet::testing {
namespace {

using Record = SimXplane::Record;

class PortTest : public LinkTest {
protected:
    // A port of function 60 with data type `type`, reading group 9 slot 0.
    int typedPort(Byte type)
    {
        defineFunction(60, type, 9, 0);
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
    QListWidget& list() { return *link->findChild<QListWidget*>("OffsetsList"); }
};

TEST_F(PortTest, HandlesCountFromZeroAndNoPortIs65535)
{
    defineFunction(7, DataTypeFloat, 3, 0);
    defineFunction(8, DataTypeFloat, 3, 1);
    link->OpenSimPort(7, 1);
    link->CloseAllPorts();
    EXPECT_EQ(link->OpenSimPort(7, 1), 0);
    EXPECT_EQ(link->OpenSimPort(8, 1), 1);
    EXPECT_EQ(link->OpenSimPort(7, 2), 2);

    EXPECT_EQ(link->OpenSimPort(0, 1), kNoSimPort);
    EXPECT_EQ(link->OpenSimPort(9, 1), kNoSimPort) << "function without a short name";
    EXPECT_EQ(link->OpenSimPort(301, 1), kNoSimPort);
    EXPECT_EQ(link->OpenSimPort(-4, 1), kNoSimPort);
    EXPECT_EQ(link->PortCount(), 3);
    EXPECT_EQ(link->NrOfOffsets, 4);
    EXPECT_EQ(list().count(), 4) << "the list keeps the lines of emptied tables";
}

TEST_F(PortTest, TheWindowListsHandleOwnerFunctionSelectorAndName)
{
    EXPECT_EQ(link->windowTitle(), "Simulator Communication Channel for X-Plane");
    EXPECT_EQ(link->findChild<QLabel*>("Label1")->text(), "Active Functions");
    defineFunction(7, DataTypeFloat, 3, 0);
    Cfg.FunctionNames[7] = "IAS";
    Byte selector = 0;
    link->CurrentOwnerID = 12;
    link->OpenSimPort(7, selector);
    EXPECT_EQ(selector, 1) << "selector 0 becomes 1 in the caller's variable";
    for (const int owner : {1000, 2000, 3000, 4000, 5000, 7777}) {
        link->CurrentOwnerID = owner;
        link->OpenSimPort(7, 4);
    }
    const QStringList lines = [&] {
        QStringList texts;
        for (int row = 0; row < list().count(); ++row)
            texts << list().item(row)->text();
        return texts;
    }();
    EXPECT_EQ(lines, (QStringList{"000         ID:012           007  - 1         IAS",
                                  "001         IOM#1           007  - 4         IAS",
                                  "002         IOM#2           007  - 4         IAS",
                                  "003         INTRN           007  - 4         IAS",
                                  "004         ENGCl           007  - 4         IAS",
                                  "005         YOKES           007  - 4         IAS",
                                  "006" + QString(20, ' ') + "007  - 4         IAS"}));
    link->ClearPortList();
    EXPECT_EQ(list().count(), 0);
    link->show();
    link->findChild<QPushButton*>("cmdClose")->click();
    EXPECT_FALSE(link->isVisible());
}

TEST_F(PortTest, OpeningAFunctionThatDividesByZeroWarnsButOpens)
{
    defineFunction(61, DataTypeFloat, 3, 0);
    Cfg.FunctionDivide[61] = 0;
    Cfg.FunctionMultiply[61] = 0;
    boxes.expectOk("Warning: Opening Function number : 61\r\nFunction contains division by zero.");
    boxes.expectOk("Warning: Opening Function number : 61\r\nFunction contains multiply by zero.");
    EXPECT_EQ(link->OpenSimPort(61, 1), 0);
}

TEST_F(PortTest, EnableSelectsTheGroupAndDisableDeselectsIt)
{
    defineFunction(7, DataTypeFloat, 3, 0);
    Cfg.FunctionIndex2[7] = 44;
    const int port = link->OpenSimPort(7, 2);
    receiveValue(1);
    EXPECT_EQ(link->GetPort(port), std::nullopt) << "never enabled";
    EXPECT_EQ(sentBy([&] { link->EnableReadSimPort(port); }), QList{hex("44 53 45 4C 30 2C 00 00 00")});
    EXPECT_EQ(sentBy([&] { link->DisableReadSimPort(port); }), QList{hex("55 53 45 4C 30 2C 00 00 00")});
    EXPECT_EQ(link->GetPort(port), std::nullopt);
}

TEST_F(PortTest, HandlesOutsideTheTableAreNoPort)
{
    defineFunction(7, DataTypeFloat, 3, 0);
    const int port = openReadPort(7);
    for (const int handle : {kNoSimPort, -1, port + 1}) {
        EXPECT_TRUE(sentBy([&] {
                        link->EnableReadSimPort(handle);
                        link->DisableReadSimPort(handle);
                        link->NewSeqNr(handle, 2);
                        EXPECT_EQ(link->PutPort(handle, 5), 5);
                    }).isEmpty());
        EXPECT_EQ(link->GetPort(handle), std::nullopt);
        EXPECT_EQ(link->GetPortRaw(handle), std::nullopt);
    }
}

TEST_F(PortTest, ReadsConvertByDataTypeThenScale)
{
    struct Case {
        Byte type;
        float received;
        float raw;
    };
    const Case cases[] = {{DataTypeByte, 200, -55},       {DataTypeByte, 127, 127},     {DataTypeByte, 128, -127},
                          {DataTypeByte, 2.5f, 2},        {DataTypeInteger, -300, -300}, {DataTypeUnsignedInt, -1, 65534},
                          {DataTypeLong, 100000, 100000}, {DataTypeFloat, 1.25f, 1.25f}, {DataTypeBCD, 1234, 1234},
                          {DataTypeBCD, 12345, 1234}};
    for (const Case& c : cases) {
        const int port = typedPort(c.type);
        receiveValue(c.received);
        EXPECT_EQ(link->GetPortRaw(port), c.raw) << "type " << int(c.type) << ", received " << c.received;
        Cfg.FunctionPreAdd[60] = 1;
        Cfg.FunctionMultiply[60] = 2;
        Cfg.FunctionDivide[60] = 4;
        EXPECT_FLOAT_EQ(*link->GetPort(port), (c.raw + 1) * 2 / 4);
    }
}

TEST_F(PortTest, CommandsUnusedFunctionsAndMacrosReadAsTheyShould)
{
    EXPECT_EQ(link->GetPort(typedPort(DataTypeCommand)), std::nullopt);
    EXPECT_EQ(link->GetPort(typedPort(DataTypeNotUsed)), std::nullopt);
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
    const QString fault = "Error at getting function:60, Port number:0 from Simulator.\r\nFunction name= F60\r\n"
                          "Error description: Division by zero\r\n"
                          "Check function definition for limits and calculation (pre-add/multiply/divide).\r\n"
                          "Continue?";
    boxes.expectYesNo(fault, true);
    EXPECT_EQ(link->GetPort(port), -7) << "a failed scaling gives the raw value";
    boxes.expectYesNo(fault, false);
    EXPECT_EQ(link->GetPort(port), -7);
    EXPECT_EQ(stops, 1);

    const int bcd = typedPort(DataTypeBCD);
    receiveValue(-7);
    boxes.expectYesNo(QString(fault)
                          .replace("Port number:0", "Port number:1")
                          .replace("Division by zero", "Negative value for BCD code"),
                      true);
    EXPECT_EQ(link->GetPort(bcd), std::nullopt);
    EXPECT_EQ(link->GetPortRaw(bcd), std::nullopt) << "the raw read fails silently";
}

TEST_F(PortTest, WritesScaleBackConvertByDataTypeAndSend)
{
    // Every type goes out as a float among float fillers: X-Plane reads no
    // other DATA value.
    struct Case {
        Byte type;
        Single value;
        Single returned;
        float sent;
    };
    const Case cases[] = {{DataTypeByte, 200, 200, 200},          {DataTypeInteger, 40000, 32767, 32767},
                          {DataTypeInteger, -40000, -32767, -32767}, {DataTypeInteger, 2.5f, 2.5f, 2},
                          {DataTypeUnsignedInt, 1000, 1000, 1000},  {DataTypeLong, 1.5f, 1.5f, 1.5f},
                          {DataTypeFloat, -2.25f, -2.25f, -2.25f}, {DataTypeBCD, 1234, 1234, 1234}};
    for (const Case& c : cases) {
        const int port = typedPort(c.type);
        const Put result = put(port, c.value);
        ASSERT_EQ(result.sent.size(), 1) << "type " << int(c.type);
        const SentData sent = decodeData(result.sent[0]);
        EXPECT_EQ(sent.group, 9);
        EXPECT_EQ(sent.slot, 0);
        EXPECT_EQ(sent.asFloat, c.sent) << "type " << int(c.type);
        EXPECT_EQ(result.returned, c.returned);
    }
    // The port of a BCD function reads back what was written.
    EXPECT_EQ(link->GetPortRaw(link->PortCount() - 1), 1234);

    const int scaled = typedPort(DataTypeFloat);
    Cfg.FunctionPreAdd[60] = 1;
    Cfg.FunctionMultiply[60] = 2;
    Cfg.FunctionDivide[60] = 4;
    const Put result = put(scaled, 10);
    EXPECT_EQ(decodeData(result.sent.value(0)).asFloat, 19) << "10 x 4 / 2 - 1";
    EXPECT_EQ(result.returned, 19);
}

TEST_F(PortTest, CommandFunctionsSendTheNumberedLine)
{
    const int port = typedPort(DataTypeCommand);
    std::string text;
    for (char n = '0'; n <= '9'; ++n)
        text += std::string("#") + n + ":sim/line" + n + "\r\n";
    Cfg.FunctionFullName[60] = text;
    EXPECT_EQ(put(port, 12).sent, QList{QByteArray("CMND0sim/line9")});
    EXPECT_EQ(put(port, 0).sent, QList{QByteArray("CMND0sim/line0")});
    EXPECT_EQ(put(port, 3.4f).sent, QList{QByteArray("CMND0sim/line3")});
}

TEST_F(PortTest, AWriteFaultAsksYesGoesOnAndNoStops)
{
    int stops = 0;
    link->OnStopRun = [&] { ++stops; };
    const int port = typedPort(DataTypeByte);
    const QString overflow = "Error at putting function:60, Port number: 0 to Simulator.\r\n"
                             "Error description: Overflow\r\n"
                             "Check function definition for limits and calculation (pre-add/multiply/divide).\r\n"
                             "Continue?";
    boxes.expectYesNo(overflow, true);
    const Put kept = put(port, 300);
    ASSERT_EQ(kept.sent.size(), 1) << "Yes: the value is sent though the port cannot hold it";
    EXPECT_EQ(decodeData(kept.sent[0]).asFloat, 300);
    boxes.expectYesNo(overflow, false);
    EXPECT_TRUE(put(port, -1).sent.isEmpty());
    EXPECT_EQ(stops, 1);

    // A value that cannot be scaled back is never sent.
    boxes.expectYesNo(QString(overflow), true);
    EXPECT_TRUE(put(port, std::numeric_limits<float>::quiet_NaN()).sent.isEmpty());
    Cfg.FunctionMultiply[60] = 0;
    boxes.expectYesNo(QString(overflow).replace("Overflow", "Division by zero"), true);
    EXPECT_TRUE(put(port, 5).sent.isEmpty());
}

TEST_F(PortTest, CloseSimComStopsEveryGroupEmptiesTheTableAndClosesTheLink)
{
    const int port = typedPort(DataTypeFloat);
    const QList<QByteArray> sent = sentBy([&] {
        link->CloseSimCom();
        link->SendDSEL(1);
        link->OpenUDP();
    });
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].size(), 605);
    EXPECT_EQ(link->PortCount(), 0);
    EXPECT_EQ(link->GetPort(port), std::nullopt);
}

} // namespace
} // namespace varnet::testing
