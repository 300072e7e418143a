// SPDX-License-Identifier: MIT
// Runs a piece of a test where file permissions are enforced. Root passes every permission
// bit, so as root the piece runs on a thread of its own with the file-system identity of
// "nobody": the kernel then drops root's way past the permission bits for that thread alone.
#pragma once

#include <thread>
#ifndef _WIN32
#include <unistd.h>
#endif
#if defined(__linux__)
#include <sys/fsuid.h>
#endif

// False when the piece could not run so (root elsewhere than on Linux; Windows, where
// folder permissions are access lists that a test cannot take away): the caller skips.
template <typename Action>
bool WithoutRootsPermissions([[maybe_unused]] Action action)
{
#ifdef _WIN32
    return false;
#else
    if (geteuid() != 0) {
        action();
        return true;
    }
    bool dropped = false;
#if defined(__linux__)
    std::thread thread([&] {
        setfsuid(65534);
        setfsgid(65534);
        dropped = setfsuid(-1) == 65534;
        if (dropped)
            action();
    });
    thread.join();
#endif
    return dropped;
#endif
}
