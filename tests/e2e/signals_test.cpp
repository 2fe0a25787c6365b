#include "program_fixture.h"

#include <signal.h>

namespace varnet {
namespace {

using namespace varnet::testing;

// Closing the terminal or logging out ends the program through the Exit of
// its window, like a termination request.
TEST_F(ProgramTest, HangupEndsTheProgramLikeATerminationRequest)
{
    ASSERT_TRUE(runStarted());
    xplane_.clearReceived();
    ::kill(pid_t(program_.processId()), SIGHUP);
    ASSERT_TRUE(waitUntil([&] { return program_.state() == QProcess::NotRunning; }, 5000)) << "the program goes on";
    EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program_.exitCode(), 0);
    EXPECT_TRUE(xplaneReceived(isStopAll)) << "X-Plane was not told to stop its data";
}

} // namespace
} // namespace varnet
