// SPDX-License-Identifier: MIT
// The analysis lowers its own worker threads, never the thread that paints the window.

#include "platform/ThreadPriority.h"

// GoogleTest
#include <gtest/gtest.h>

#include <thread>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

int NiceOf(pid_t tid)
{
    errno = 0;
    return getpriority(PRIO_PROCESS, id_t(tid));
}

} // namespace

TEST(ThreadPriorityTest, LowersTheCallingThreadOnly)
{
    const pid_t self = pid_t(syscall(SYS_gettid));
    const int before = NiceOf(self);
    int worker = 0;
    std::thread([&] {
        LowerThisThreadsPriority();
        worker = NiceOf(pid_t(syscall(SYS_gettid)));
    }).join();
    EXPECT_EQ(worker, 19);
    EXPECT_EQ(NiceOf(self), before);
    // A thread started afterwards starts where the process stands.
    int later = 0;
    std::thread([&] { later = NiceOf(pid_t(syscall(SYS_gettid))); }).join();
    EXPECT_EQ(later, before);
}
#endif
