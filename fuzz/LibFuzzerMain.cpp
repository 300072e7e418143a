// SPDX-License-Identifier: MIT
// libFuzzer's entry point for one harness, chosen when the target is built
// (ORBILO_FUZZ_TARGET names it).

#include "FuzzHarness.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Fuzz::Harness harness = [] {
        const Fuzz::Harness h = Fuzz::FindTarget(QStringLiteral(ORBILO_FUZZ_TARGET));
        if (!h) {
            std::fprintf(stderr, "no fuzz target %s\n", ORBILO_FUZZ_TARGET);
            std::abort();
        }
        return h;
    }();
    Fuzz::RunOnRawData(harness, data, size);
    return 0;
}
