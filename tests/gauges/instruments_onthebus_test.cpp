// The VOR and digital altimeter dialogs on the real send path: frames as
// the control unit behind a pseudo-terminal receives them, and its replies
// read back.

#include "gauges/onthebus_fixture.h"
#include "bus/gaugeframes.h"
#include "gauges/digitalaltimeter.h"
#include "gauges/vorindicator.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QSlider>

namespace varnet {
namespace {

using testing::SimControlUnit;
using testing::Commands;

class NeedleInstrumentsOnTheBus : public testing::DialogOnTheBusTest {
protected:
    template <typename T>
    T& open(int id, int type, int version = 1)
    {
        return DialogOnTheBusTest::open<T>(id, type, 1, version);
    }
};

TEST_F(NeedleInstrumentsOnTheBus, VORCalibrationSeriesAndTheCourseOfItsOwnReply)
{
    ConfigGaugeVOR& d = open<ConfigGaugeVOR>(21, kVOR1);
    d.findChild<QSlider*>("SliderValue1")->setValue(400);
    click(d, "cmdCenterLocNeedle");
    d.findChild<QSlider*>("Sliderindicator")->setValue(100);
    click(d, "cmdCalibrateDisk");
    EXPECT_EQ(received(10), (Commands{{5, 400}, {4, -72}, {10, 100}, {13, 0x7064}, {13, 0x5208}, {13, 0x63AC},
                                      {13, 0x2550}, {13, 0x16F4}, {13, 0x3898}, {13, 0x4A3C}}));

    // Another gauge answering in its place shows nothing; its own reply does.
    const QByteArray count542 = QByteArray::fromHex("000000021E");
    unit_.answer = [&](const QByteArray& frame) {
        return frame.at(2) == char(0x78) ? SimControlUnit::reply(22, kVOR1, count542) : QByteArray();
    };
    d.Form_Activate();
    waitMs(200);
    auto* course = d.findChild<QLineEdit*>("boxCourse");
    EXPECT_EQ(course->text(), "");
    unit_.answer = nullptr;
    unit_.setStatusReply(21, SimControlUnit::reply(21, kVOR1, count542));
    EXPECT_TRUE(waitUntil([&] { return course->text() == "180"; }, 2000));
}

TEST_F(NeedleInstrumentsOnTheBus, AltimeterWritesExactPressureRefusesOthersAndReadsItBack)
{
    ConfigGaugeAD& d = open<ConfigGaugeAD>(22, 101, 4);
    auto* pressure = d.findChild<QLineEdit*>("boxAirPress");
    pressure->setText("29.92");
    click(d, "cmdWriteAirPress");
    EXPECT_EQ(received(2), (Commands{{14, 0}, {12, 2992}}));
    for (const char* refused : {"100", "-1"}) {
        pressure->setText(QString::fromLatin1(refused));
        messages_.expectOk(kAirPressureRule);
        click(d, "cmdWriteAirPress");
    }
    unit_.setStatusReply(22, SimControlUnit::reply(22, 101, QByteArray::fromHex("0000000BB0000100A0")));
    click(d, "CmdReadAirPress");
    EXPECT_EQ(unit_.frames(), (QList<QByteArray>{*StatusRequestFrame(22)}));  // the refusals sent nothing
    EXPECT_EQ(pressure->text(), "29.92");
    EXPECT_EQ(d.findChild<QLineEdit*>("BoxPressRotation")->text(), "32");
}

} // namespace
} // namespace varnet
