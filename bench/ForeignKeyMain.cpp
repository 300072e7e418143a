// SPDX-License-Identifier: MIT
// orbilo_foreign_key COUNT: writes to standard output the section of another program's key
// holding COUNT values, to be appended to a settings file (./bench.sh does).

#include "ForeignKey.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int count = argc == 2 ? std::atoi(argv[1]) : -1;
    if (count < 0) {
        std::fprintf(stderr, "usage: orbilo_foreign_key COUNT\n");
        return 2;
    }
    const QByteArray section = ForeignKey(count);
    return std::fwrite(section.constData(), 1, size_t(section.size()), stdout) == size_t(section.size()) ? 0 : 1;
}
