// SPDX-License-Identifier: MIT
// LoginName on POSIX and on Windows.

#include "platform/UserName.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <string>
#ifdef _MSC_VER
#pragma comment(lib, "advapi32.lib")
#endif
#else
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>
#endif

#ifdef Q_OS_WIN

QString LoginName()
{
    // UNLEN (256) + 1; a longer name fails the call with ERROR_INSUFFICIENT_BUFFER and the
    // size needed, so try once more with that.
    DWORD size = 257;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::wstring buffer(size, L'\0');
        if (GetUserNameW(buffer.data(), &size))
            return QString::fromWCharArray(buffer.c_str()); // stops at the terminating NUL
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            break;
    }
    return {};
}

#else

QString LoginName()
{
    // getpwuid_r, not getpwuid: the static buffer of the latter may be in use elsewhere.
    long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size_t(hint > 0 ? hint : 1024));
    passwd entry {};
    passwd* found = nullptr;
    int rc = 0;
    while ((rc = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE
           && buffer.size() < (size_t(1) << 20))
        buffer.resize(buffer.size() * 2);
    if (rc == 0 && found && found->pw_name && found->pw_name[0] != '\0')
        return QString::fromLocal8Bit(found->pw_name);

    for (const char* variable : {"USER", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    return {};
}

#endif
