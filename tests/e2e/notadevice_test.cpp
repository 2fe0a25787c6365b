// The control unit pulled out in the middle of the run, and its COM1 link made again to
// something that is no serial device: a regular file, a FIFO, a folder, /dev/null. The program
// says so once, then leaves the thing alone (no open, no lock file taken for it) until the link
// changes, and then finds the unit plugged in under COM1 again.

#include "boxes_fixture.h"
#include "device_watch.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace varnet {
namespace {

using namespace varnet::testing;

struct NotADevice {
    const char* name;
    // Makes the thing in the working folder; gives its path.
    QString (*make)();
    // Whether its opens can be counted: everyone opens /dev/null.
    bool countOpens;
};

const NotADevice kNotDevices[] = {
    {"RegularFile",
     [] {
         QFile file("unit.txt");
         return file.open(QIODevice::WriteOnly) ? QFileInfo(file).canonicalFilePath() : QString();
     },
     true},
    {"Fifo", [] { return ::mkfifo("unit.fifo", 0600) == 0 ? QFileInfo("unit.fifo").canonicalFilePath() : QString(); },
     true},
    {"Folder", [] { return QDir().mkdir("unit.d") ? QFileInfo("unit.d").canonicalFilePath() : QString(); }, false},
    {"DevNull", [] { return QString("/dev/null"); }, false},
};

class LinkToNoDevice : public ProgramWithBoxesTest, public ::testing::WithParamInterface<NotADevice> {};

TEST_P(LinkToNoDevice, IsToldOnceAndLeftAloneUntilTheLinkLeadsToTheUnitAgain)
{
    if (!x_)
        GTEST_SKIP() << "no X display for the program's boxes";
    ASSERT_TRUE(runStarted());
    const QString lockFolder = lockFolderHolding(QFileInfo("COM1").symLinkTarget());
    ASSERT_FALSE(lockFolder.isEmpty()) << "the open gauge-bus port holds no lock file to watch";
    const QString target = GetParam().make();
    ASSERT_FALSE(target.isEmpty());

    unit_.pull();
    sendData({record(kSpeedsGroup, 0, 155)});
    const Window lost = boxInFront(1000);
    ASSERT_TRUE(lost) << "no report of the lost control unit";
    ASSERT_TRUE(QFile::link(target, "COM1"));
    ASSERT_TRUE(answered(lost, "y")) << "Yes did not close the box";
    const Window told = boxInFront(1000, lost);
    EXPECT_TRUE(told) << "nothing says that COM1 is no serial device";
    if (told) {
        EXPECT_TRUE(answered(told, "y")) << "Yes did not close the box";
    }

    DeviceWatch watch(target, lockFolder);
    ASSERT_TRUE(watch.watching());
    waitMs(1500);
    EXPECT_EQ(watch.locks(), 0) << "a lock file is taken for it tick after tick";
    if (GetParam().countOpens) {
        EXPECT_EQ(watch.opens(), 0) << "it is opened tick after tick";
    }
    EXPECT_FALSE(boxInFront(0)) << "told more than once";

    ASSERT_TRUE(QFile::remove("COM1"));
    const std::size_t mark = frames_.size();
    SimControlUnit unit(1);
    unit.answer = unit_.answer;
    EXPECT_TRUE(needleAt(kAirspeedGauge, 752, mark)) << "the unit linked again is not found";
    EXPECT_TRUE(endsCleanly());
}

INSTANTIATE_TEST_SUITE_P(Targets, LinkToNoDevice, ::testing::ValuesIn(kNotDevices),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace varnet
