// The whole program under what a cockpit throws at it: an X-Plane that goes
// quiet and then floods it, with malformed and oversized datagrams mixed in,
// three senders of the largest packets or of tiny junk at once, and a
// control unit that disappears in the middle of the run.

#include "program_fixture.h"

#include <QFile>
#include <QProcess>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace varnet {
namespace {

using namespace varnet::testing;

// perSecond datagrams to `port` for `seconds` (or until it is destroyed),
// from next(i) for i = 0, 1, ..., sent from a thread of its own so that the
// flood does not wait for this test's event loop.
struct Flood {
    std::atomic<long> sent{0};
    std::atomic<bool> done{false}, stop{false};
    std::thread thread;
    ~Flood() { stop = true, thread.join(); }

    Flood(quint16 port, int perSecond, double seconds, std::function<QByteArray(long)> next)
        : thread([=, this] {
              QUdpSocket socket;
              const auto begin = std::chrono::steady_clock::now();
              for (long i = 0; i < long(perSecond * seconds) && !stop; ++i) {
                  while (std::chrono::steady_clock::now() - begin < std::chrono::microseconds(i * 1000000 / perSecond))
                      std::this_thread::yield();
                  const QByteArray d = next(i);
                  if (socket.writeDatagram(d, QHostAddress(QHostAddress::LocalHost), port) == d.size())
                      ++sent;
              }
              done = true;
          })
    {
    }
};

// What must not upset the receive path: no DATA packet, a record cut short,
// a packet of nothing, and the largest datagrams UDP carries, one of them
// 1800 whole records of every group.
std::vector<QByteArray> garbage()
{
    QByteArray records("DATA0");
    for (int k = 0; k < 1800; ++k)
        records += SimXplane::dataPacket({record(quint32(k % 256), k % 8, float(k) * 1e30f)}).mid(5);
    QByteArray noise(65507 - 4, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char(i * 131 + 7);
    return {QByteArray(), QByteArray("DATA0"), QByteArray("DATA0").append(37, '\xFF'), QByteArray(65507, 'D'),
            QByteArray("DATA").append(noise), records, QByteArray("CHAR0g127.0.0.1000000")};
}

// The control unit is a second one, on COM2, that the test can take away.
class ProgramFaultsTest : public ProgramTest {
protected:
    void configure() override
    {
        Cfg.ComPortGauges = 2;
        unit2_ = std::make_unique<SimControlUnit>(2);
        unit2_->answer = [this](const QByteArray& bytes) { return logFrame(bytes), QByteArray(); };
    }

    std::unique_ptr<SimControlUnit> unit2_;
};

TEST_F(ProgramFaultsTest, QuietThenFloodingSimulatorWithGarbageAndAVanishingControlUnitNeverStallTheProgram)
{
    ASSERT_TRUE(runStarted());
    // Every tick asks one radio module for its status: the ticks can be
    // counted at the control unit.
    std::size_t mark = frames_.size();
    waitMs(1000);
    EXPECT_GE(since(mark, 7).size(), 7u) << "the run slowed down while X-Plane was quiet";

    // 10,000 packets a second for three seconds, the airspeed changing in
    // each, and now and then one that is no use.
    const std::vector<QByteArray> bad = garbage();
    mark = frames_.size();
    Flood flood(programPort_, 10000, 3.0, [&](long i) {
        if (i % 100 == 99)
            return bad[std::size_t(i / 100) % bad.size()];
        return SimXplane::dataPacket({record(kSpeedsGroup, 0, float(40 + i % 100))});
    });
    ASSERT_TRUE(waitUntil([&] { return flood.done.load(); }, 10000));
    EXPECT_GE(flood.sent.load(), 29000);
    EXPECT_GE(since(mark, 7).size(), 15u) << "the flood held the ticks up";
    EXPECT_EQ(program_.state(), QProcess::Running);

    // The flood is over; the needle follows the simulator as before.
    mark = frames_.size();
    sendData({record(kSpeedsGroup, 0, 155)});
    EXPECT_TRUE(needleAt(kAirspeedGauge, 752, mark, 5000));

    // The control unit disappears: the run reports it and waits for the
    // user's answer; the program lives on meanwhile, and X-Plane's data
    // still come in.
    unit2_.reset();
    ASSERT_TRUE(QFile::link(dir_.path() + "/unplugged", "COM2"));
    waitMs(1500);
    ASSERT_EQ(program_.state(), QProcess::Running) << "the program ended when the control unit went";
    sendData({record(kSpeedsGroup, 0, 40)});
    waitMs(300);
    EXPECT_TRUE(endsCleanly());
}

TEST_F(ProgramTest, ThreeSendersOfTheLargestDataPacketsNeitherStopTheTicksNorHoldUpATerminationRequest)
{
    ASSERT_TRUE(runStarted());
    std::vector<SimXplane::Record> records;  // the most a datagram holds, each group many times over
    for (int k = 0; k < 1819; ++k)
        records.push_back(record(quint32(k % 151), 0, float(k)));
    const QByteArray datagram = SimXplane::dataPacket(records);
    const std::size_t mark = frames_.size();
    std::vector<std::unique_ptr<Flood>> floods;  // as fast as the loopback takes them
    for (int i = 0; i < 3; ++i)
        floods.push_back(std::make_unique<Flood>(programPort_, 1000000, 60.0, [&](long) { return datagram; }));
    waitMs(3000);
    const std::vector<Frame> polls = since(mark, 7);
    ASSERT_GE(polls.size(), 10u) << "the flood stopped the ticks";
    for (std::size_t i = 1; i < polls.size(); ++i)
        EXPECT_LT(polls[i].at - polls[i - 1].at, 1000) << "the ticks stalled at " << polls[i - 1].at << " ms";
    EXPECT_TRUE(endsCleanly(SIGTERM, 2000)) << "within two seconds, under the flood";
}

TEST_F(ProgramTest, DataRecordsWhoseIndexIsNoGroupLeaveTheNeedlesAlone)
{
    ASSERT_TRUE(runStarted());
    const std::size_t mark = frames_.size();
    // Each has the airspeed's group as its low byte.
    for (const qint32 index : {259, -253, 65539})
        sendData({record(quint32(index), 0, 155)});
    EXPECT_FALSE(needleAt(kAirspeedGauge, 752, mark, 1000)) << "a record that is no group moved the airspeed";
    sendData({record(kSpeedsGroup, 0, 155)});
    EXPECT_TRUE(needleAt(kAirspeedGauge, 752, mark));
    EXPECT_TRUE(endsCleanly());
}

// The example cockpit at its own 40 ms process interval on a line paced
// like the real one, its two needles swept by the simulated X-Plane program
// at 20 packets a second.
class SweptNeedlesTest : public ProgramTest {
protected:
    void configure() override
    {
        Cfg.ProcessTimerInterval = 40;
        unit_.setLineRate(SimControlUnit::kGaugeBusRate);
    }

    void TearDown() override
    {
        if (sweep_.state() != QProcess::NotRunning) {
            sweep_.kill();
            sweep_.waitForFinished();
        }
        ProgramTest::TearDown();
    }

    ::testing::AssertionResult startSweep()
    {
        // A sweep period that divides the measuring windows: each sees the
        // same mix of fast and slow needle moves.
        sweep_.start(VARNET_SIMXPLANE, {"--port", QString::number(freeUdpPort()), "--to", QString::number(programPort_),
                                        "--rate", "20", "--sweep", "2.5", "3:0=180", "37:0=2500"});
        if (!sweep_.waitForStarted())
            return ::testing::AssertionFailure() << sweep_.errorString().toStdString();
        return ::testing::AssertionSuccess();
    }

    std::size_t needleFramesSince(std::size_t mark) const
    {
        return std::ranges::count_if(since(mark, 5), [](const Frame& f) {
            return f.gaugeID == kAirspeedGauge || f.gaugeID == kTachometerGauge;
        });
    }

    QProcess sweep_;
};

TEST_F(SweptNeedlesTest, ThreeLocalSendersOfTinyDatagramsLeaveTheNeedlesThreeQuartersOfTheirFrames)
{
    ASSERT_TRUE(runStarted());
    ASSERT_TRUE(startSweep());
    waitMs(1000);
    std::size_t mark = frames_.size();
    waitMs(5000);
    const std::size_t quiet = needleFramesSince(mark);
    const std::size_t quietTicks = since(mark, 7).size();

    mark = frames_.size();
    std::vector<std::unique_ptr<Flood>> floods;
    for (int i = 0; i < 3; ++i)
        floods.push_back(std::make_unique<Flood>(programPort_, 3000, 5.0, [](long) { return QByteArray(1, 'x'); }));
    ASSERT_TRUE(waitUntil([&] { return std::ranges::all_of(floods, [](const auto& f) { return f->done.load(); }); },
                          10000));
    const std::size_t junk = needleFramesSince(mark);
    const std::size_t junkTicks = since(mark, 7).size();
    long sent = 0;
    for (const auto& flood : floods)
        sent += flood->sent.load();
    std::printf("in 5 s: %zu needle frames and %zu status requests quiet, %zu and %zu beside %ld tiny datagrams\n",
                quiet, quietTicks, junk, junkTicks, sent);
    std::fflush(stdout);
    EXPECT_GE(sent, 3 * 3000 * 5 * 9 / 10);
    EXPECT_GE(quiet, 100u) << "the sweep hardly moved the needles";
    EXPECT_GE(4 * junk, 3 * quiet) << "the junk crowded out X-Plane";
    EXPECT_GE(4 * junkTicks, 3 * quietTicks) << "the junk slowed the ticks";
    EXPECT_TRUE(endsCleanly());
}

TEST_F(ProgramTest, ThreeSendersOfTinyDatagramsAtFullRateNeitherStopTheTicksNorHoldUpATerminationRequest)
{
    ASSERT_TRUE(runStarted());
    const std::size_t mark = frames_.size();
    std::vector<std::unique_ptr<Flood>> floods;  // as fast as the loopback takes them
    for (int i = 0; i < 3; ++i)
        floods.push_back(std::make_unique<Flood>(programPort_, 1000000, 60.0, [](long) { return QByteArray(1, 'x'); }));
    waitMs(3000);
    const std::vector<Frame> polls = since(mark, 7);
    ASSERT_GE(polls.size(), 10u) << "the flood stopped the ticks";
    qint64 longest = 0;
    for (std::size_t i = 1; i < polls.size(); ++i)
        longest = std::max(longest, polls[i].at - polls[i - 1].at);
    EXPECT_LT(longest, 1000) << "the ticks stalled";
    const qint64 asked = clock_.elapsed();
    EXPECT_TRUE(endsCleanly(SIGTERM, 3000)) << "within three seconds, under the flood";
    std::printf("under the flood: %zu status requests in 3 s, at most %lld ms apart; ended %lld ms after SIGTERM\n",
                polls.size(), longest, clock_.elapsed() - asked);
    std::fflush(stdout);
}

} // namespace
} // namespace varnet
