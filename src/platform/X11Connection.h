#pragma once

#include <cstdlib>
#include <memory>
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
