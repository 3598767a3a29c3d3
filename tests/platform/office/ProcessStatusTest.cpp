// What /proc says of a process, read as the pool reads its helpers.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/office/process/ProcessStatus.h"

namespace pendrel::office {
namespace {

using namespace std::chrono_literals;

TEST(ProcessStatus, TheStateIsReadAfterTheNameWhateverTheNameHolds) {
    EXPECT_EQ(StateOfStatLine("42 (pendrel-office) T 1 42"), 'T');
    EXPECT_EQ(StateOfStatLine("42 (a) R (b) S 1 42"), 'S');
    EXPECT_EQ(StateOfStatLine("42 (unfinished"), std::nullopt);
    EXPECT_EQ(StateOfStatLine("42 (a)"), std::nullopt);
}

TEST(ProcessStatus, AChildStoppedBySignalIsSeenStoppedAndItsMemoryRead) {
    const pid_t child = ::fork();
    if (child == 0) {
        for (;;) ::pause();
    }
    ASSERT_GT(child, 0);
    EXPECT_GT(ResidentBytesOf(child), 0u);
    EXPECT_GT(OwnResidentBytes(), 0u);
    EXPECT_FALSE(IsStopped(child));
    ::kill(child, SIGSTOP);
    bool stopped = false;
    for (int i = 0; i < 200 && !stopped; ++i, std::this_thread::sleep_for(5ms))
        stopped = IsStopped(child);
    EXPECT_TRUE(stopped);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(IsStopped(child)) << "gone";
    EXPECT_EQ(ResidentBytesOf(child), 0u);
    EXPECT_EQ(ResidentBytesOf(-1), 0u);
}

}  // namespace
}  // namespace pendrel::office
