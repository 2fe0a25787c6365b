// Three programs on this machine flood the simulator port with the largest
// DATA packets UDP carries, as fast as the loopback takes them: the run goes
// on and a termination request still ends the program at once.

#include "program_fixture.h"

#include <atomic>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace varnet {
namespace {

using namespace varnet::testing;

// A sender with a socket of its own (to the program, another process),
// sending until it is destroyed.
class Flooder {
public:
    Flooder(quint16 port, const QByteArray& datagram)
        : thread_([this, port, datagram] {
              const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
              sockaddr_in to{};
              to.sin_family = AF_INET;
              to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
              to.sin_port = htons(port);
              while (!stop_)
                  ::sendto(fd, datagram.constData(), std::size_t(datagram.size()), 0,
                           reinterpret_cast<const sockaddr*>(&to), sizeof to);
              ::close(fd);
          })
    {
    }
    ~Flooder()
    {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST_F(ProgramTest, ThreeFloodsOfTheLargestDataPacketsKeepTheTicksGoingAndATerminationRequestEndsTheProgramAtOnce)
{
    ASSERT_TRUE(runStarted());
    // 1819 records, the most a datagram holds, every group many times over.
    std::vector<SimXplane::Record> records;
    for (int k = 0; k < 1819; ++k)
        records.push_back(record(quint32(k % 151), 0, float(40 + k % 100)));
    const QByteArray datagram = SimXplane::dataPacket(records);
    ASSERT_EQ(datagram.size(), 65489);

    const std::size_t mark = frames_.size();
    std::vector<std::unique_ptr<Flooder>> flood;
    for (int i = 0; i < 3; ++i)
        flood.push_back(std::make_unique<Flooder>(programPort_, datagram));
    waitMs(3000);
    // Every tick asks a radio module for its status: a second of the flood
    // without a request is a stalled run.
    const std::vector<Frame> polls = since(mark, 7);
    ASSERT_GE(polls.size(), 10u) << "the flood stopped the ticks";
    for (std::size_t i = 1; i < polls.size(); ++i)
        EXPECT_LT(polls[i].at - polls[i - 1].at, 1000) << "the ticks stalled at " << polls[i - 1].at << " ms";
    EXPECT_GE(polls.back().at, clock_.elapsed() - 1000) << "the ticks stopped";

    QElapsedTimer ending;
    ending.start();
    EXPECT_TRUE(endsCleanly(SIGTERM, 2000)) << "under the flood";
    EXPECT_LT(ending.elapsed(), 2000);
}

} // namespace
} // namespace varnet
