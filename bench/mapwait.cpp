// mapwait: how long from starting a command until a window with a given title is mapped.
//
//   mapwait [--kill] [--timeout SECONDS] TITLE -- COMMAND [ARGS...]
//
// It watches the X display first (SubstructureNotify on the root window, then StructureNotify
// and PropertyChange on every new top-level window), notes the time, starts COMMAND, and stops
// at the first MapNotify of a window whose WM_NAME or _NET_WM_NAME is TITLE. It prints
//   map_ms=<start to map> exit_ms=<start to the command's exit, or -1 while it runs>
// With --kill the command is killed once the window is mapped (a launch measurement); without
// it the command may be a short one, such as an xdotool click that makes another program map
// its window. Exit status 0 when the window was mapped, 1 on time-out.
#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
}

std::string property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t name)
{
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
    std::string value;
    if (reply)
        value.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    return value;
}

struct Watch {
    xcb_connection_t* c;
    std::string title;
    xcb_atom_t netWmName;
    std::set<xcb_window_t> mapped;

    bool hasTitle(xcb_window_t w) const
    {
        return property(c, w, XCB_ATOM_WM_NAME) == title || property(c, w, netWmName) == title;
    }

    // Follows a new top-level window; true when it is already mapped with the title.
    bool follow(xcb_window_t w)
    {
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(c, w, XCB_CW_EVENT_MASK, &mask);
        xcb_get_window_attributes_reply_t* a =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
        const bool isMapped = a && a->map_state != XCB_MAP_STATE_UNMAPPED;
        std::free(a);
        if (isMapped)
            mapped.insert(w);
        return isMapped && hasTitle(w);
    }

    // True when the event shows a mapped window with the title.
    bool seen(xcb_generic_event_t* e)
    {
        switch (e->response_type & 0x7f) {
        case XCB_CREATE_NOTIFY:
            return follow(reinterpret_cast<xcb_create_notify_event_t*>(e)->window);
        case XCB_MAP_NOTIFY: {
            const xcb_window_t w = reinterpret_cast<xcb_map_notify_event_t*>(e)->window;
            mapped.insert(w);
            return hasTitle(w);
        }
        case XCB_UNMAP_NOTIFY:
            mapped.erase(reinterpret_cast<xcb_unmap_notify_event_t*>(e)->window);
            return false;
        case XCB_PROPERTY_NOTIFY: {
            const xcb_window_t w = reinterpret_cast<xcb_property_notify_event_t*>(e)->window;
            return mapped.count(w) && hasTitle(w);
        }
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    bool kill = false;
    double timeoutMs = 10000;
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--kill") == 0)
            kill = true;
        else if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc)
            timeoutMs = std::atof(argv[++i]) * 1000;
    }
    if (i + 2 >= argc || std::strcmp(argv[i + 1], "--") != 0) {
        std::fprintf(stderr, "usage: mapwait [--kill] [--timeout SECONDS] TITLE -- COMMAND [ARGS...]\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "mapwait: cannot open the display\n");
        return 2;
    }
    Watch watch{c, argv[i], atom(c, "_NET_WM_NAME"), {}};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // the mask is in force

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[i + 2], argv + i + 2);
        _exit(127);
    }
    double exitMs = -1;
    double mapMs = -1;
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    while (mapMs < 0 && nowMs() - start < timeoutMs && !xcb_connection_has_error(c)) {
        if (exitMs < 0 && waitpid(child, nullptr, WNOHANG) == child)
            exitMs = nowMs() - start;
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            const bool done = watch.seen(e);
            std::free(e);
            if (done) {
                mapMs = nowMs() - start;
                break;
            }
        }
        xcb_flush(c);
        if (mapMs < 0)
            poll(&fd, 1, 1);
    }
    if (exitMs < 0 && waitpid(child, nullptr, WNOHANG) == child)
        exitMs = nowMs() - start;
    if (kill && exitMs < 0) {
        ::kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    std::printf("map_ms=%.2f exit_ms=%.2f\n", mapMs, exitMs);
    xcb_disconnect(c);
    return mapMs >= 0 ? 0 : 1;
}
