// SPDX-License-Identifier: MIT
#include "platform/FontWarmUp.h"

#if ORBILO_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif
#endif

FontWarmUp::FontWarmUp()
{
#if ORBILO_HAVE_FONTCONFIG
    // fontconfig initialises its default configuration atomically, so a reader on the main
    // thread meanwhile (a platform theme, say) is safe: at worst one of the two reads is
    // thrown away.
    m_thread = std::thread([] {
#ifdef __linux__
        // Only spare processor time: the main thread and the display server, both busy with
        // the connection meanwhile, come first. (On Linux a thread has a nice value of its
        // own.)
        setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), 19);
#endif
        FcInit();
    });
#endif
}

FontWarmUp::~FontWarmUp()
{
    Wait();
}

void FontWarmUp::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
