// SPDX-License-Identifier: MIT
// LowerThisThreadsPriority on Windows; ThreadPriority.cpp is the POSIX one.

#include "platform/ThreadPriority.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

void LowerThisThreadsPriority()
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
}
