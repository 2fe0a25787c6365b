#include "simlink/functiontest.h"

#include "link_fixture.h"

namespace varnet {
namespace {

using namespace varnet::testing;

TEST(FunctionTestRanges, EachDataTypeRefusesWhatItCannotCarry)
{
    const std::tuple<int, double, double, const char*> cases[] = {
        {DataTypeByte, 0, 255, "Datatype is byte; Value must be 0 end 255"},
        {DataTypeInteger, -32767, 32767, "Datatype is Integer; Value must be -32767 and  +32767"},
        {DataTypeUnsignedInt, 0, 65535, "Datatype is Unsigned Integer; Value must between 0 and  65535"},
        {DataTypeLong, -2147483648.0, 2147483647.0, "Datatype is Long; Value must between -2147483648 and 2147483647"},
        {DataTypeBCD, 0, 9999, "Datatype is BCD code; Value must between 0 and  9999"},
    };
    for (const auto& [dataType, lowest, highest, message] : cases) {
        // Fractions pass; the bounds are inclusive.
        for (const double value : {lowest, highest, highest - 0.5})
            EXPECT_EQ(WriteRangeMessage(dataType, value), std::nullopt) << dataType << ": " << value;
        for (const double value : {lowest - 1, highest + 0.5})
            EXPECT_EQ(WriteRangeMessage(dataType, value), QString(message)) << dataType << ": " << value;
    }
    for (const int unchecked : {int(DataTypeFloat), int(DataTypeCommand), int(DataTypeNotUsed)})
        EXPECT_EQ(WriteRangeMessage(unchecked, -1e30), std::nullopt);
}

// Received values are handed to the link's receive event.
class FunctionTestWindow : public LinkWindowTest<frmTestFunction> {
protected:
    ~FunctionTestWindow() override { frmTestFunction::RunPrepared = nullptr; }

    static QTimer* timer(const char* name) { return window().findChild<QTimer*>(name); }

    // X-Plane sends `value` in (group, slot).
    static void receive(quint32 group, int slot, float value)
    {
        SimXplane::Record record{group, {}};
        record.values[std::size_t(slot)] = value;
        link().WinsockUDP_DataArrival(SimXplane::dataPacket({record}));
    }

    // StartScan, with the DSEL it sends already in and forgotten.
    void scan(int f, int selector)
    {
        xplane.clearReceived();
        window().StartScan(f, selector);
        ASSERT_TRUE(xplane.waitForReceived(1));
        xplane.clearReceived();
    }

    // Types `value` and writes it once.
    void writeOnce(const char* value, const char* refusal = nullptr)
    {
        setText("boxWriteValueOnce", value);
        if (refusal)
            boxes.expectOk(refusal);
        click(window(), "CmdWriteOnce");
    }
};

TEST_F(FunctionTestWindow, StartScanShowsTheFunctionAndOpensOnePortPerCallAndClosingLeavesThoseOfAPreparedRun)
{
    std::tie(Cfg.FunctionMinimum[60], Cfg.FunctionMaximum[60]) = std::tuple(2, 5);
    window().StartScan(0, 1);
    EXPECT_EQ(text("boxFuncMinimum"), "Unknown");
    window().StartScan(60, 1);  // no short name
    EXPECT_EQ((std::tuple{texts({"boxFuncMinimum", "boxFuncMaximum", "BoxSeqNr"}), link().PortCount()}), (std::tuple{"2 5 ", 0}));

    defineFunction(61, DataTypeFloat, 3, 2, 1.5f, 2);
    std::tie(Cfg.FunctionDivide[61], Cfg.FunctionIndex3[61], Cfg.FunctionSlot3[61]) = std::tuple(4, 17, 5);
    window().StartScan(61, 3);
    EXPECT_EQ(texts({"ShortName", "BoxSeqNr", "boxOffset", "boxValueNr", "boxDataType", "BoxAdd", "boxMultiply", "boxDivide"}),
              "F61 3 17 5 Double 1.5 2 4");
    EXPECT_EQ(packet(1), hex("44 53 45 4C 30 11 00 00 00"));  // DSEL of group 17

    window().StartScan(61, 0);
    EXPECT_EQ((std::tuple{texts({"BoxSeqNr", "boxOffset"}), link().PortCount()}), (std::tuple{"0 3", 2}));

    // Closing leaves the ports of a prepared run.
    frmTestFunction::RunPrepared = [] { return true; };
    click(window(), "cmdClose");
    EXPECT_EQ((std::tuple{DefaultForm<frmTestFunction>::loaded(), link().PortCount()}), (std::tuple{false, 2}));
    scan(61, 1);
    frmTestFunction::RunPrepared = [] { return false; };
    click(window(), "cmdClose");
    EXPECT_EQ((std::tuple{link().PortCount(), packet(1).size()}), (std::tuple{0, 605})) << "all groups stopped";
}

TEST_F(FunctionTestWindow, ReadingTracksTheRawRangeOnceSettledAndStoresIt)
{
    defineFunction(61, DataTypeFloat, 3, 2, 1, 2);
    window().StartScan(61, 1);
    window().Form_Activate();
    EXPECT_EQ((std::tuple{text("boxReading"), timer("Timer1")->isActive()}), (std::tuple{"Reading", true}));
    click(window(), "CmdStopRead");  // the test drives the ticks itself
    EXPECT_EQ(text("boxReading"), "Stopped");

    receive(3, 2, 10);
    for (int tick = 0; tick < RawRange::kSettleTicks; ++tick)
        window().Timer1_Timer();
    EXPECT_EQ(texts({"boxRaw", "boxCorrectedValue", "boxMinimum"}), "10.0000 22.0000 Unknown");

    // The range is still unknown: copying it stores nothing.
    boxes.expectOk("Function Minimum must be a number");
    clicks({"cmdCopyMinimum", "CmdSetMinimum"});
    EXPECT_EQ(Cfg.FunctionMinimum[61], 0);

    for (const float raw : {7.0f, 12.0f, -0.5f}) {
        receive(3, 2, raw);
        window().Timer1_Timer();
    }
    EXPECT_EQ(texts({"boxMinimum", "boxMaximum"}), "-0.5000 12.0000");
    clicks({"cmdCopyMinimum", "cmdCopyMaximum", "CmdSetMinimum", "cmdSetMaximum"});
    EXPECT_EQ(std::tuple(Cfg.FunctionMinimum[61], Cfg.FunctionMaximum[61], Session.ConfigChanged), std::tuple(-0.5f, 12.0f, 0));

    // A command function is read once, then reading stops.
    defineFunction(62, DataTypeCommand, 7, 2);
    window().StartScan(62, 1);
    window().Form_Activate();
    EXPECT_TRUE(timer("Timer1")->isActive());
    window().Timer1_Timer();
    EXPECT_EQ((std::tuple{texts({"boxReading", "boxRaw"}), timer("Timer1")->isActive()}), (std::tuple{"Stopped -0.5000", false}))
        << "a command has no value: the last one stays";
}

TEST_F(FunctionTestWindow, WritesSendOnlyValuesTheDataTypeCarriesAndSweepUpAndDown)
{
    defineFunction(63, DataTypeByte, 5, 1);
    defineFunction(64, DataTypeInteger, 6, 0);
    scan(63, 1);
    writeOnce("256", "Datatype is byte; Value must be 0 end 255");
    writeOnce("abc", "Value must be a number");
    writeOnce("255");
    EXPECT_EQ(decodeData(packet(1)), (SentData{5, 1, 255}));

    scan(64, 1);
    writeOnce("-32768", "Datatype is Integer; Value must be -32767 and  +32767");
    writeOnce("-32767");
    EXPECT_EQ(decodeData(packet(1)), (SentData{6, 0, -32767}));

    // A sweep goes up and down and ends on a value out of range.
    defineFunction(65, DataTypeFloat, 4, 0);
    defineFunction(66, DataTypeByte, 4, 0);
    scan(65, 1);

    setTexts({{"BoxWriteLowerLimit", "0"}, {"BoxWriteUpperLimit", "8"}, {"boxIncrDecr", "4"}});
    for (const char* refused : {"fast", "0", "65536"}) {
        setText("boxIntervalWrite", refused);
        boxes.expectOk("Interval must be a whole number of mS between 1 and 65535");
        click(window(), "CmdWriteInterval");
        EXPECT_FALSE(timer("IntervalTimer")->isActive()) << refused;
    }
    setText("boxIntervalWrite", "60000");  // no tick of its own during the test
    click(window(), "CmdWriteInterval");
    EXPECT_EQ(timer("IntervalTimer")->isActive() ? timer("IntervalTimer")->interval() : 0, 60000);
    std::vector<float> written;
    for (int n = 1; n <= 9; ++n) {
        window().IntervalTimer_Timer();
        written.push_back(decodeData(packet(n)).asFloat);
    }
    EXPECT_EQ(written, (std::vector<float>{0, 4, 8, 8, 4, 0, 0, 4, 8}));
    click(window(), "CmdWriteStop");

    scan(66, 1);
    setTexts({{"BoxWriteLowerLimit", "250"}, {"BoxWriteUpperLimit", "300"}, {"boxIncrDecr", "5"}});
    click(window(), "CmdWriteInterval");
    for (int tick = 0; tick < 2; ++tick)
        window().IntervalTimer_Timer();
    boxes.expectOk("Datatype is byte; Value must be 0 end 255");
    window().IntervalTimer_Timer();
    EXPECT_EQ((std::tuple{timer("IntervalTimer")->isActive(), text("boxWriteValueOnce"), decodeData(packet(2)).asFloat}),
              (std::tuple{false, "260", 255}));
}

} // namespace
} // namespace varnet
