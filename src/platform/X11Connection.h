#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

// The program's own connection to the X server, the one the toolkit holds; null when the
// program does not run on an X display.
xcb_connection_t* x11Connection();

// The first screen's root window.
xcb_window_t firstRoot(xcb_connection_t* connection);

// The server's replies are malloc'ed by xcb and must be freed with free().
struct XcbReplyFree {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using XcbReply = std::unique_ptr<Reply, XcbReplyFree>;

// The atom of that name, made when the server has none yet; XCB_ATOM_NONE when the server
// does not answer.
xcb_atom_t x11Atom(xcb_connection_t* connection, const char* name);

// The first items of a property whose items are 32 bits wide (atoms, windows), at most
// maxItems of them; empty when the window has no such property of that type.
std::vector<std::uint32_t> x11Property32(xcb_connection_t* connection, xcb_window_t window,
                                         xcb_atom_t name, xcb_atom_t type, std::uint32_t maxItems);

// A request about one of the program's windows to the window manager: a client message of
// that type, with its five 32-bit items, sent to the root as window managers listen for it.
void x11AskWindowManager(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t type,
                         const std::array<std::uint32_t, 5>& data);
