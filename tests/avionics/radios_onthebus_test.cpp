// The three radio dialogs on the real send path: settings writes as the
// control unit behind a pseudo-terminal receives them, and frequencies read
// back from its replies.

#include "avionics/bkradio.h"
#include "avionics/cl30radio.h"
#include "gauges/onthebus_fixture.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace varnet {
namespace {

using testing::SimControlUnit;
using testing::Commands;

class RadiosOnTheBus : public testing::DialogOnTheBusTest {};

TEST_F(RadiosOnTheBus, GenericRadioWritesItsSettingsAndReadsItsOwnModulesFrequency)
{
    auto& d = open<ConfigVHFRadio>(31, 110, kRadioComm, 3);
    box(d, "BoxMinimumFreq")->setText("118000");
    click(d, "cmdWriteSettings");
    EXPECT_EQ(received(9), (Commands{{13, 0}, {9, 768}, {10, 38975}, {11, 18000}, {12, 21000}, {5, 6500}, {4, -1},
                                     {13, 0}, {14, 3084}}));

    // Another module answering in its place shows nothing; its own reply does.
    const QByteArray frequencies = QByteArray::fromHex("00 0000 5208 00 5398");
    unit_.setStatusReply(31, SimControlUnit::reply(30, 110, frequencies));
    click(d, "CmdReadRadio");
    EXPECT_EQ(box(d, "boxActiveFrequency")->text(), "");
    unit_.setStatusReply(31, SimControlUnit::reply(31, 110, frequencies));
    click(d, "CmdReadRadio");
    EXPECT_EQ(box(d, "boxActiveFrequency")->text(), "121,000");
    EXPECT_EQ(box(d, "boxStandbyFrequency")->text(), "121,400");

    click(d, "OptionRadioAdf1");
    box(d, "BoxDefaultFreq")->setText("100.0");
    unit_.clear();
    click(d, "cmdWriteSettings");
    EXPECT_EQ(received(9).at(4), (std::pair{12, 1000}));
}

TEST_F(RadiosOnTheBus, CL30RadioWritesItsOwnSequence)
{
    auto& d = open<ConfigCL30Radio>(32, 111, kRadioComm, 4);
    box(d, "BoxMinimumFreq")->setText("118,000");
    click(d, "cmdWriteSettings");
    EXPECT_EQ(received(8),
              (Commands{{9, 1024}, {10, 38975}, {11, 18000}, {12, 21000}, {5, 6500}, {4, 0}, {6, 0}, {14, 2}}));
}

TEST_F(RadiosOnTheBus, BendixKingRadioReadsBothRadiosAndWritesItsDefaults)
{
    auto& d = open<ConfigBKradio>(33, 120, 0, 5);
    unit_.setStatusReply(33, SimControlUnit::reply(33, 120, QByteArray::fromHex("000000 5208 00 6D60 00 3340 00 2EE0")));
    click(d, "CmdReadRadio");
    QStringList shown;
    for (const char* name : {"boxActiveFrequency", "boxStandbyFrequency", "boxActiveFrequencyNAV", "boxStandbyFrequencyNAV"})
        shown << box(d, name)->text();
    EXPECT_EQ(shown, (QStringList{"121,000", "128,000", "113,120", "112,000"}));

    unit_.clear();
    click(d, "cmdWriteSettings");
    EXPECT_EQ(received(8), (Commands{{5, 25700}, {10, 18000}, {11, 38975}, {12, 21000}, {3, 8000}, {4, 17950},
                                     {9, 13000}, {6, 0}}));
}

} // namespace
} // namespace varnet
