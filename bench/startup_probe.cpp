// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Starts a program on the X display and prints, in one line, the milliseconds from exec until its
// first window is mapped and has answered a ping (so its event loop runs), its peak resident
// memory in KiB up to then, and the processor time it used in milliseconds (steadier than the
// first on a busy machine). Exits 1 when the program shows no answering window in ten seconds.
//   startup_probe PROGRAM [ARGUMENTS...]
namespace {

xcb_atom_t Atom(xcb_connection_t* x, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// The process a window belongs to, as the toolkit states it; 0 when it does not.
pid_t WindowPid(xcb_connection_t* x, xcb_window_t window, xcb_atom_t netWmPid)
{
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(x, xcb_get_property(x, 0, window, netWmPid, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    pid_t pid = 0;
    if (reply != nullptr && xcb_get_property_value_length(reply) == 4) {
        pid = static_cast<pid_t>(*static_cast<std::uint32_t*>(xcb_get_property_value(reply)));
    }
    std::free(reply);
    return pid;
}

void Ping(xcb_connection_t* x, xcb_window_t window, xcb_atom_t protocols, xcb_atom_t ping)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = protocols;
    event.data.data32[0] = ping;
    event.data.data32[1] = XCB_CURRENT_TIME;
    event.data.data32[2] = window;
    xcb_send_event(x, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    xcb_flush(x);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fputs("usage: startup_probe PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x) != 0) {
        std::fputs("startup_probe: no X display (DISPLAY)\n", stderr);
        return 2;
    }
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    // New top-level windows are announced to whoever watches the root's children; the answer to a
    // ping is sent to the root for whoever watches the root itself.
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t protocols = Atom(x, "WM_PROTOCOLS");
    const xcb_atom_t ping = Atom(x, "_NET_WM_PING");
    const xcb_atom_t netWmPid = Atom(x, "_NET_WM_PID");
    xcb_flush(x);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }

    double milliseconds = -1;
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (milliseconds < 0 && poll(&fd, 1, 10000) > 0) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const int type = event->response_type & 0x7f;
            if (type == XCB_MAP_NOTIFY) {
                const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
                if (WindowPid(x, window, netWmPid) == pid) {
                    Ping(x, window, protocols, ping);
                }
            } else if (type == XCB_CLIENT_MESSAGE) {
                const auto* answer = reinterpret_cast<xcb_client_message_event_t*>(event);
                if (answer->window == root && answer->data.data32[0] == ping) {
                    milliseconds =
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                }
            }
            std::free(event);
        }
    }
    kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    xcb_disconnect(x);
    if (milliseconds < 0) {
        std::fprintf(stderr, "startup_probe: %s showed no answering window\n", argv[1]);
        return 1;
    }
    const auto cpu = [](const timeval& time) { return time.tv_sec * 1000.0 + time.tv_usec / 1000.0; };
    std::printf("%.1f %ld %.1f\n", milliseconds, usage.ru_maxrss, cpu(usage.ru_utime) + cpu(usage.ru_stime));
    return 0;
}
