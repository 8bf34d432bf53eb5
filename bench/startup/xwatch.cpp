// SPDX-License-Identifier: MIT
// Starts a program and watches the X server to time its start-up:
//   dravlet_xwatch WIDTH HEIGHT PROGRAM [ARGS...]
// prints one line: map_ms paint_ms vmhwm_kb libs
//   map_ms    from just before exec to the MapNotify of its WIDTH x HEIGHT top-level window
//   paint_ms  from just before exec to the last damage of the first paint (the window
//             then stays undamaged for a quiet period)
//   vmhwm_kb  the program's peak resident memory once painted
//   libs      shared libraries mapped into it once painted
// then ends the program. Uses MapNotify on the root window and the DAMAGE extension, so
// it sees events as they happen instead of polling.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start, Clock::time_point end)
{
    return std::chrono::duration<double, std::milli>(end - start).count();
}

long statusField(pid_t pid, const std::string& field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
        }
    }
    return -1;
}

long sharedLibraries(pid_t pid)
{
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::set<std::string> libraries;
    std::string line;
    while (std::getline(maps, line)) {
        const auto slash = line.find('/');
        if (slash == std::string::npos) {
            continue;
        }
        const std::string path = line.substr(slash);
        if (path.find(".so") != std::string::npos) {
            libraries.insert(path);
        }
    }
    return static_cast<long>(libraries.size());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: dravlet_xwatch WIDTH HEIGHT PROGRAM [ARGS...]\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    constexpr double quietMs = 300.0;
    // XWATCH_VERBOSE=1 lists every damage of the window on standard error.
    const bool verbose = std::getenv("XWATCH_VERBOSE") != nullptr;
    constexpr double timeoutMs = 20000.0;

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x) != 0) {
        std::fprintf(stderr, "xwatch: cannot reach the X server\n");
        return 1;
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(x, &xcb_damage_id);
    if (damage == nullptr || damage->present == 0) {
        std::fprintf(stderr, "xwatch: the X server has no DAMAGE extension\n");
        return 1;
    }
    std::free(xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }

    std::map<xcb_window_t, std::pair<int, int>> sizes;
    xcb_window_t target = XCB_NONE;
    double mapMs = -1;
    double paintMs = -1;
    Clock::time_point lastDamage{};
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    for (;;) {
        const auto now = Clock::now();
        if (msSince(start, now) > timeoutMs) {
            break;
        }
        if (paintMs >= 0 && msSince(lastDamage, now) > quietMs) {
            break;
        }
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (event == nullptr) {
            poll(&fd, 1, 10);
            continue;
        }
        const auto at = Clock::now();
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
            if (created->parent == root) {
                sizes[created->window] = {created->width, created->height};
                xcb_damage_create(x, xcb_generate_id(x), created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
                xcb_flush(x);
            }
        } else if (type == XCB_CONFIGURE_NOTIFY) {
            const auto* configured = reinterpret_cast<xcb_configure_notify_event_t*>(event);
            sizes[configured->window] = {configured->width, configured->height};
        } else if (type == XCB_MAP_NOTIFY) {
            const auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(event);
            const auto size = sizes.find(mapped->window);
            if (target == XCB_NONE && size != sizes.end() && size->second == std::pair{width, height}) {
                target = mapped->window;
                mapMs = msSince(start, at);
            }
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            const auto* damaged = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            if (target != XCB_NONE && damaged->drawable == target) {
                if (verbose) {
                    std::fprintf(stderr, "damage %.2f ms: %dx%d at %d,%d\n", msSince(start, at),
                                 damaged->area.width, damaged->area.height, damaged->area.x,
                                 damaged->area.y);
                }
                lastDamage = at;
                paintMs = msSince(start, at);
            }
        }
        std::free(event);
    }

    const long hwm = statusField(pid, "VmHWM");
    const long libs = sharedLibraries(pid);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    xcb_disconnect(x);
    if (mapMs < 0 || paintMs < 0) {
        std::fprintf(stderr, "xwatch: no %dx%d window was mapped and painted\n", width, height);
        return 1;
    }
    std::printf("%.2f %.2f %ld %ld\n", mapMs, paintMs, hwm, libs);
    return 0;
}
