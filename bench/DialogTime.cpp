// Starts her and prints the milliseconds until her window maps, then opens dialogs from her
// menu one after another and prints, for each, the milliseconds from her menu closing on its
// item to the dialog mapped and drawn; each dialog is closed again as its close box does.
// Ends her with SIGTERM.
//   dialog-time program [name=keys ...]
// keys are what `xdotool key` takes once her menu is open, comma-separated ("a", or
// "Down,Down,Return"). Output, one line each: "start <ms>", then "<name> <ms>".
//
// Drawn: the dialog has answered a second _NET_WM_PING sent once it answered the first. The
// first may come back in the same pass of the event loop as the expose that draws it, before
// the drawing; the second is handled in a later pass, after it.
#include "platform/X11Connection.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(600);

xcb_connection_t* connection = nullptr;
xcb_window_t root = 0;
xcb_atom_t wmProtocols = 0;
xcb_atom_t netWmPing = 0;
xcb_atom_t wmDeleteWindow = 0;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Starts a command; finished() waits for its end.
pid_t start(const std::vector<std::string>& command) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const std::string& word : command)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    return child;
}

bool finished(pid_t child) {
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

struct Seen {
    enum Kind { Map, Unmap, Ping } kind;
    xcb_window_t window;
    bool overrideRedirect;
};

// The next map, unmap or answered ping that matches, until the time is up.
std::optional<Seen> waitFor(Seen::Kind kind, bool (*matches)(const Seen&, xcb_window_t),
                            xcb_window_t about = 0) {
    const auto deadline = Clock::now() + kTimeout;
    while (Clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(connection);
        if (!event) {
            if (xcb_connection_has_error(connection))
                return std::nullopt;
            ::usleep(200);
            continue;
        }
        std::optional<Seen> seen;
        switch (event->response_type & 0x7f) {
        case XCB_MAP_NOTIFY: {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (map->event == root)
                seen = Seen{Seen::Map, map->window, bool(map->override_redirect)};
            break;
        }
        case XCB_UNMAP_NOTIFY: {
            const auto* unmap = reinterpret_cast<xcb_unmap_notify_event_t*>(event);
            if (unmap->event == root)
                seen = Seen{Seen::Unmap, unmap->window, false};
            break;
        }
        case XCB_CLIENT_MESSAGE: {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
            if (message->type == wmProtocols && message->data.data32[0] == netWmPing)
                seen = Seen{Seen::Ping, message->data.data32[2], false};
            break;
        }
        default:
            break;
        }
        std::free(event);
        if (seen && seen->kind == kind && matches(*seen, about))
            return seen;
    }
    return std::nullopt;
}

void sendProtocol(xcb_window_t window, xcb_atom_t protocol) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = wmProtocols;
    message.data.data32[0] = protocol;
    message.data.data32[1] = XCB_CURRENT_TIME;
    message.data.data32[2] = window;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type from = 0;
    while (true) {
        const auto at = text.find(separator, from);
        parts.push_back(text.substr(from, at - from));
        if (at == std::string::npos)
            return parts;
        from = at + 1;
    }
}

// Opens the dialog through her menu and returns the milliseconds it took; closes it again.
std::optional<double> openDialog(xcb_window_t her, const std::string& keys) {
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, her), nullptr);
    if (!geometry)
        return std::nullopt;
    // Her dial's middle.
    const int x = geometry->x + 80 + 64;
    const int y = geometry->y + 256 + 64;
    std::free(geometry);
    if (!finished(
            start({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "click", "3"})))
        return std::nullopt;
    const auto menu =
        waitFor(Seen::Map, [](const Seen& s, xcb_window_t) { return s.overrideRedirect; });
    if (!menu)
        return std::nullopt;
    std::vector<std::string> command{"xdotool", "key", "--delay", "0"};
    for (const std::string& key : split(keys, ','))
        command.push_back(key);
    // Not waited for: the menu's closing is read as it comes, while xdotool still ends.
    const pid_t typing = start(command);
    const bool menuClosed =
        waitFor(
            Seen::Unmap, [](const Seen& s, xcb_window_t w) { return s.window == w; }, menu->window)
            .has_value();
    const auto closed = Clock::now();
    if (!finished(typing) || !menuClosed)
        return std::nullopt;
    const auto dialog =
        waitFor(Seen::Map, [](const Seen& s, xcb_window_t) { return !s.overrideRedirect; });
    if (!dialog)
        return std::nullopt;
    for (int ping = 0; ping < 2; ++ping) {
        sendProtocol(dialog->window, netWmPing);
        if (!waitFor(
                Seen::Ping, [](const Seen& s, xcb_window_t w) { return s.window == w; },
                dialog->window))
            return std::nullopt;
    }
    const double took = msSince(closed);
    sendProtocol(dialog->window, wmDeleteWindow);
    if (!waitFor(
            Seen::Unmap, [](const Seen& s, xcb_window_t w) { return s.window == w; },
            dialog->window))
        return std::nullopt;
    // A closed menu or dialog gives the pointer back a moment later.
    ::usleep(300 * 1000);
    return took;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog-time program [name=keys ...]\n");
        return 2;
    }
    connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "dialog-time: cannot connect to the X server\n");
        return 2;
    }
    root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    wmProtocols = x11Atom(connection, "WM_PROTOCOLS");
    netWmPing = x11Atom(connection, "_NET_WM_PING");
    wmDeleteWindow = x11Atom(connection, "WM_DELETE_WINDOW");
    // Maps and unmaps of top-level windows, and the answers to pings, which Qt sends to the
    // root for those who watch its structure.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execlp(argv[1], argv[1], nullptr);
        std::perror("dialog-time: exec");
        ::_exit(127);
    }
    int result = 1;
    const auto her =
        waitFor(Seen::Map, [](const Seen& s, xcb_window_t) { return !s.overrideRedirect; });
    if (her) {
        std::printf("start %.1f\n", msSince(start));
        std::fflush(stdout);
        // Her first paints and the clock's start.
        ::usleep(1000 * 1000);
        result = 0;
        for (int i = 2; i < argc; ++i) {
            const std::string spec = argv[i];
            const auto eq = spec.find('=');
            const std::optional<double> took = eq == std::string::npos
                                                   ? std::nullopt
                                                   : openDialog(her->window, spec.substr(eq + 1));
            if (!took) {
                std::fprintf(stderr, "dialog-time: %s did not open and close\n", spec.c_str());
                result = 1;
                break;
            }
            std::printf("%s %.1f\n", spec.substr(0, eq).c_str(), *took);
            std::fflush(stdout);
        }
    }
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    xcb_disconnect(connection);
    return result;
}
