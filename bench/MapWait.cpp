// SPDX-License-Identifier: MIT
// orbilo_mapwait NAME -- COMMAND [ARGS...]
//
// Starts COMMAND and reports how long it took until a top-level window whose title contains
// NAME was mapped on the X server of $DISPLAY, and until the program first drew into it. It
// listens for the map, and for the window's damage (the X extension that reports drawing),
// instead of polling, so the times are exact to well under a millisecond; "xdotool search
// --sync" polls only twice a second, too coarse for start-ups of a few hundred milliseconds.
//
// Prints "mapped_ms=T window=W pid=P" when the window is mapped and "shown_ms=T" once its
// first contents have been drawn (a window is shown to the player when it shows something;
// the line comes a moment later, when no more drawing followed) with "cpu_ms=C", the processor
// time the program had used by then, then waits
// for the command to end, prints "exit=S" and exits with the command's status. Ends the
// command (SIGTERM) and exits 3 if no such window shows within 30 seconds, or if the command
// does not end within 60 seconds.

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <vector>
#include <string>

namespace {

double NowMs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1.0e6;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply
        = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// Processor time, in milliseconds, that a process and its descendants (the program itself
// when COMMAND is a wrapper such as /usr/bin/time) have spent so far, all their threads
// together. It varies far less than the wall-clock time on a busy machine.
double CpuMs(pid_t root)
{
    std::vector<pid_t> pids { root };
    DIR* proc = opendir("/proc");
    if (proc) {
        // Parents come before their children often enough; two passes catch the rest.
        for (int pass = 0; pass < 2; ++pass) {
            rewinddir(proc);
            while (const dirent* entry = readdir(proc)) {
                const pid_t pid = pid_t(std::atoi(entry->d_name));
                if (pid <= 0 || std::find(pids.begin(), pids.end(), pid) != pids.end())
                    continue;
                std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
                std::string line;
                std::getline(stat, line);
                const size_t close = line.rfind(')');
                if (close == std::string::npos)
                    continue;
                std::istringstream rest(line.substr(close + 2));
                char state = 0;
                pid_t parent = 0;
                rest >> state >> parent;
                if (std::find(pids.begin(), pids.end(), parent) != pids.end())
                    pids.push_back(pid);
            }
        }
        closedir(proc);
    }
    double total = 0;
    for (const pid_t pid : pids) {
        const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
        DIR* dir = opendir(tasks.c_str());
        if (!dir)
            continue;
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream schedstat(tasks + "/" + entry->d_name + "/schedstat");
            unsigned long long ns = 0;
            if (schedstat >> ns)
                total += double(ns) / 1.0e6;
        }
        closedir(dir);
    }
    return total;
}

std::string Property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type)
{
    xcb_get_property_reply_t* reply
        = xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 1024), nullptr);
    std::string value;
    if (reply) {
        value.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                     size_t(xcb_get_property_value_length(reply)));
        std::free(reply);
    }
    return value;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || std::strcmp(argv[2], "--") != 0) {
        std::fprintf(stderr, "usage: %s NAME -- COMMAND [ARGS...]\n", argv[0]);
        return 2;
    }
    const std::string name = argv[1];

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    // The damage extension must be initialised (version query) before its requests are used.
    const xcb_query_extension_reply_t* damageExt = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damageExt || !damageExt->present) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 2;
    }
    std::free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const uint8_t damageNotify = damageExt->first_event + XCB_DAMAGE_NOTIFY;
    const xcb_atom_t netWmName = Atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
    xcb_flush(c);

    const double start = NowMs();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[3], argv + 3);
        std::perror("exec");
        _exit(127);
    }

    auto titleMatches = [&](xcb_window_t w) {
        return Property(c, w, netWmName, utf8).find(name) != std::string::npos
               || Property(c, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING).find(name) != std::string::npos;
    };

    // The window counts as shown once its first drawing has settled: the last change of the
    // burst that follows the map, with no further change for SettleMs (or the window gone).
    // The server's own clearing of the window at the map is part of that burst.
    constexpr double SettleMs = 150.0;
    bool mapped = false;
    bool shown = false;
    bool gone = false;
    double lastDamage = -1.0;
    double lastDamageCpu = 0.0;
    xcb_window_t window = 0;
    int status = 0;
    bool ended = false;
    const int fd = xcb_get_file_descriptor(c);
    while (!ended) {
        const double elapsed = NowMs() - start;
        if ((!shown && elapsed > 30000) || elapsed > 60000) {
            std::printf("timeout\n");
            std::fflush(stdout);
            kill(child, SIGTERM);
            waitpid(child, &status, 0);
            return 3;
        }
        pollfd p { fd, POLLIN, 0 };
        poll(&p, 1, 10);
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const double at = NowMs() - start;
            const uint8_t type = event->response_type & 0x7f;
            if (!mapped && type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (titleMatches(map->window)) {
                    mapped = true;
                    window = map->window;
                    std::printf("mapped_ms=%.1f window=%u pid=%d\n", at, window, int(child));
                    std::fflush(stdout);
                    const xcb_damage_damage_t damage = xcb_generate_id(c);
                    xcb_damage_create(c, damage, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
                    xcb_flush(c);
                }
            } else if (mapped && type == damageNotify) {
                if (reinterpret_cast<xcb_damage_notify_event_t*>(event)->drawable == window)
                {
                    lastDamage = at;
                    lastDamageCpu = CpuMs(child);
                }
            } else if (mapped && (type == XCB_UNMAP_NOTIFY || type == XCB_DESTROY_NOTIFY)) {
                // Both carry the window as their second field after the event window.
                if (reinterpret_cast<xcb_unmap_notify_event_t*>(event)->window == window)
                    gone = true;
            }
            std::free(event);
        }
        if (mapped && !shown && lastDamage >= 0 && (gone || NowMs() - start - lastDamage > SettleMs)) {
            shown = true;
            std::printf("shown_ms=%.1f cpu_ms=%.1f\n", lastDamage, lastDamageCpu);
            std::fflush(stdout);
        }
        if (xcb_connection_has_error(c))
            break;
        if (waitpid(child, &status, WNOHANG) == child)
            ended = true;
    }
    if (!ended)
        waitpid(child, &status, 0);
    if (mapped && !shown && lastDamage >= 0) {
        shown = true;
        std::printf("shown_ms=%.1f cpu_ms=%.1f\n", lastDamage, lastDamageCpu);
    }
    xcb_disconnect(c);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("exit=%d\n", code);
    return shown ? code : 3;
}
