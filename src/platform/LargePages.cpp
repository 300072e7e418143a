// SPDX-License-Identifier: MIT
#include "platform/LargePages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void PreferLargePages(void* begin, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // madvise wants a page-aligned start; the large pages themselves are 2 MB apart.
    constexpr std::uintptr_t Large = std::uintptr_t(1) << 21;
    const std::uintptr_t from = (reinterpret_cast<std::uintptr_t>(begin) + Large - 1) & ~(Large - 1);
    const std::uintptr_t to = reinterpret_cast<std::uintptr_t>(begin) + bytes;
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE); // a refusal changes nothing
#else
    // Windows gives large pages only to accounts holding a privilege players do not have.
    (void)begin;
    (void)bytes;
#endif
}
