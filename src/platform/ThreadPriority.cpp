// SPDX-License-Identifier: MIT
// LowerThisThreadsPriority on POSIX systems; ThreadPriorityWin.cpp is the Windows one.

#include "platform/ThreadPriority.h"

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#else
#include <pthread.h>
#include <sched.h>
#endif

void LowerThisThreadsPriority()
{
#ifdef __linux__
    // On Linux every thread has a nice value of its own, set through its thread id.
    setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 19);
#else
    // Elsewhere a thread's priority is that of its scheduling policy; the idle policy where
    // there is one, else the lowest priority of the one it has.
    int policy = 0;
    sched_param param {};
    if (pthread_getschedparam(pthread_self(), &policy, &param) != 0)
        return;
#ifdef SCHED_IDLE
    policy = SCHED_IDLE;
#endif
    param.sched_priority = sched_get_priority_min(policy);
    pthread_setschedparam(pthread_self(), policy, &param);
#endif
}
