// SPDX-License-Identifier: MIT
#include "FontWarmUp.h"

#if ORBILO_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontWarmUp::FontWarmUp()
{
#if ORBILO_HAVE_FONTCONFIG
    // fontconfig initialises its default configuration atomically, so a reader on the main
    // thread meanwhile (a platform theme, say) is safe: at worst one of the two reads is
    // thrown away.
    m_thread = std::thread([] { FcInit(); });
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
