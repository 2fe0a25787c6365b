// The knobs of the cockpit reach X-Plane (program_fixture.h): a VOR
// indicator's course knob and a radio's frequency come back in the status
// replies of the simulated control unit and arrive at the simulated X-Plane
// as DATA packets; a reply from a gauge that was not asked writes nothing.

#include "program_fixture.h"

#include "simcontrolunit/gaugereplies.h"

namespace varnet {
namespace {

using namespace varnet::testing;

constexpr int kVOR = 6;
constexpr int kVOR1Type = 106;
constexpr int kCourseFunction = 37;
constexpr quint32 kCourseGroup = 98;
constexpr int kCOM1Function = 20;
constexpr quint32 kCOM1Group = 96;
constexpr int kRadio = kRadioModules[0];

class KnobTest : public ProgramTest {
protected:
    void configure() override
    {
        // A VOR indicator that reports its course knob, and the first radio
        // module tuned to COM 1.
        Cfg.GaugeRecType[kVOR] = kVOR1Type;
        defineFunction(kCourseFunction, "OBS1", kCourseGroup);
        defineFunction(kCOM1Function, "COM1", kCOM1Group);
        Cfg.GaugeRecFunction1[kRadio] = kCOM1Function;
        Cfg.GaugeRecSeqNr1[kRadio] = 1;
        unit_.setStatusReply(kVOR, courseKnobReply(kVOR, kVOR1Type, 542));
    }

    // Lets the run ask every polled gauge a few times.
    void severalRounds() { waitMs(12 * kTickMs); }
};

TEST_F(KnobTest, TurningAVORKnobOrTuningARadioSetsItInXPlaneOncePerTurn)
{
    unit_.setStatusReply(kRadio, radioReply(kRadio, kGenericRadioType, radioWord(122.8), radioWord(121.5)));
    ASSERT_TRUE(runStarted());
    ASSERT_TRUE(waitForData(kCourseGroup, 180)) << "the course knob did not reach X-Plane";
    ASSERT_TRUE(waitForData(kCOM1Group, 12280)) << "the radio's frequency did not reach X-Plane";
    severalRounds();
    EXPECT_EQ(dataValues(kCourseGroup), std::vector<float>{180}) << "an unchanged knob is written once";

    unit_.setStatusReply(kVOR, courseKnobReply(kVOR, kVOR1Type, 813));
    unit_.setStatusReply(kRadio, radioReply(kRadio, kGenericRadioType, radioWord(118.05), radioWord(121.5)));
    ASSERT_TRUE(waitForData(kCourseGroup, 90));
    EXPECT_TRUE(waitForData(kCOM1Group, 11805));
    severalRounds();
    EXPECT_EQ(dataValues(kCourseGroup), (std::vector<float>{180, 90}));
}

TEST_F(KnobTest, AReplyFromAGaugeThatWasNotAskedWritesNothing)
{
    // The second radio's requests are answered in the VOR's name with
    // another course; the VOR's own answers keep course 180.
    int wrongAnswers = 0;
    unit_.answer = [this, &wrongAnswers](const QByteArray& bytes) {
        const Frame frame = logFrame(bytes);
        if (frame.gaugeID != kRadioModules[1] || frame.command != 7)
            return QByteArray();
        ++wrongAnswers;
        return courseKnobReply(kVOR, kVOR1Type, 271);
    };
    ASSERT_TRUE(runStarted());
    ASSERT_TRUE(waitForData(kCourseGroup, 180));
    severalRounds();
    EXPECT_GE(wrongAnswers, 3);
    EXPECT_EQ(dataValues(kCourseGroup), std::vector<float>{180});
}

} // namespace
} // namespace varnet
