// Measures programs from exec to their first window being mapped on the X server, and their peak resident
// memory, alternating between them round by round. A program may be a script that execs it (under
// valgrind, under Wine): the process keeps its id, which its windows carry.
//   bench_startup ROUNDS NAME PROGRAM DIRECTORY [NAME PROGRAM DIRECTORY ...]
// Prints one line per program: name, median milliseconds, median peak RSS in KiB, each round's times.
// Every program is closed as a window manager would close it (WM_DELETE_WINDOW) and must then end.
// HARNESS_TIMEOUT_SECONDS sets how long a program may take to show its window and to end (20 s and 5 s).
// HARNESS_PAUSE_MS waits that long before each start, so that caches with a lifetime (a file share's)
// have expired.

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Program
{
    std::string name, path, directory;
    std::vector<double> milliseconds;
    std::vector<long> peakKiB;
};

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

// The process that says a window is its own (_NET_WM_PID, which Qt and Wine set), or 0.
pid_t windowPid(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t pidAtom)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    pid_t pid = 0;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 4)
        pid = pid_t(*static_cast<const uint32_t*>(xcb_get_property_value(reply)));
    free(reply);
    return pid;
}

// A window's title (WM_NAME).
std::string windowName(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
        nullptr);
    std::string name;
    if (reply && reply->format == 8)
        name.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                    size_t(xcb_get_property_value_length(reply)));
    free(reply);
    return name;
}

// The next MapNotify of a top-level window of the program started as pid, or 0 after timeoutMs; mapped is
// when it came. Override-redirect windows (menus, tooltips, the 1x1 helper windows of Wine's desktop
// process) are no program's main window, nor is a window that another process owns, nor MarunIzbor's
// progress window (titled "MarunIzbor", where the main window is "Izbor aplikacije"), which a slow start
// shows after a second.
xcb_window_t waitForMap(xcb_connection_t* connection, xcb_atom_t pidAtom, pid_t pid, int timeoutMs,
                        std::chrono::steady_clock::time_point& mapped)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const auto when = std::chrono::steady_clock::now();
            xcb_window_t window = 0;
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (!map->override_redirect)
                    window = map->window;
            }
            free(event);
            if (window) {
                const pid_t owner = windowPid(connection, window, pidAtom);
                if ((owner == 0 || owner == pid) && windowName(connection, window) != "MarunIzbor") {
                    mapped = when;
                    return window;
                }
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return 0;
        pollfd descriptor {xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&descriptor, 1, int(left.count()));
    }
}

long peakResidentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

bool waitForExit(pid_t pid, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        usleep(10000);
    }
    return false;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 5 || (argc - 2) % 3 != 0) {
        std::fprintf(stderr, "usage: %s ROUNDS NAME PROGRAM DIRECTORY [...]\n", argv[0]);
        return 2;
    }
    const int rounds = std::atoi(argv[1]);
    // Slow runs (under valgrind) get more time: HARNESS_TIMEOUT_SECONDS.
    const char* timeout = std::getenv("HARNESS_TIMEOUT_SECONDS");
    const int mapTimeoutMs = timeout ? std::atoi(timeout) * 1000 : 20000;
    const int exitTimeoutMs = timeout ? std::atoi(timeout) * 1000 : 5000;
    const char* pause = std::getenv("HARNESS_PAUSE_MS");
    const useconds_t pauseUs = pause ? useconds_t(std::atoi(pause)) * 1000 : 0;
    std::vector<Program> programs;
    for (int i = 2; i + 2 < argc; i += 3) {
        char* path = realpath(argv[i + 1], nullptr); // the programs start in other directories
        if (!path) {
            std::fprintf(stderr, "%s: %s\n", argv[i + 1], std::strerror(errno));
            return 2;
        }
        programs.push_back({argv[i], path, argv[i + 2], {}, {}});
        free(path);
    }

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no X server\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t protocols = atom(connection, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = atom(connection, "WM_DELETE_WINDOW");
    const xcb_atom_t pidAtom = atom(connection, "_NET_WM_PID");
    xcb_flush(connection);

    for (int round = 0; round < rounds; ++round) {
        for (Program& program : programs) {
            if (pauseUs > 0)
                usleep(pauseUs);
            const auto start = std::chrono::steady_clock::now();
            const pid_t pid = fork();
            if (pid == 0) {
                if (chdir(program.directory.c_str()) != 0)
                    _exit(127);
                execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
                _exit(127);
            }
            std::chrono::steady_clock::time_point mapped;
            const xcb_window_t window = waitForMap(connection, pidAtom, pid, mapTimeoutMs, mapped);
            if (!window) {
                std::fprintf(stderr, "%s: no window within %d s\n", program.name.c_str(), mapTimeoutMs / 1000);
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                return 1;
            }
            program.milliseconds.push_back(std::chrono::duration<double, std::milli>(mapped - start).count());
            usleep(300000); // let it paint before the memory is read
            program.peakKiB.push_back(peakResidentKiB(pid));

            xcb_client_message_event_t message {};
            message.response_type = XCB_CLIENT_MESSAGE;
            message.format = 32;
            message.window = window;
            message.type = protocols;
            message.data.data32[0] = deleteWindow;
            message.data.data32[1] = XCB_CURRENT_TIME;
            xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
            xcb_flush(connection);
            if (!waitForExit(pid, exitTimeoutMs)) {
                std::fprintf(stderr, "%s did not end when its window was closed\n", program.name.c_str());
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                return 1;
            }
            // Drain what the closed window left (unmap, destroy) before the next start.
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection))
                free(event);
        }
    }

    for (const Program& program : programs) {
        std::vector<double> kib(program.peakKiB.begin(), program.peakKiB.end());
        std::printf("%s %.1f %.0f", program.name.c_str(), median(program.milliseconds), median(kib));
        for (const double ms : program.milliseconds)
            std::printf(" %.1f", ms);
        std::printf("\n");
    }
    xcb_disconnect(connection);
    return 0;
}
