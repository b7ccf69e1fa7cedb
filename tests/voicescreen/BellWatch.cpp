#include "BellWatch.h"

#include <cstdlib>
#include <xcb/xcb.h>
// The extension's C header names a field "explicit".
#define explicit explicitComponents
#include <xcb/xkb.h>
#undef explicit

namespace {
// Everything asked before it has been dealt with by the server once its answer is here.
void roundTrip(xcb_connection_t* connection) {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}
} // namespace

BellWatch::BellWatch(const QString& display)
    : connection_(xcb_connect(display.toLatin1().constData(), nullptr)) {
    if (xcb_connection_has_error(connection_))
        return;
    const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(connection_, &xcb_xkb_id);
    if (!xkb || !xkb->present)
        return;
    firstEvent_ = xkb->first_event;
    xcb_xkb_use_extension_reply_t* use = xcb_xkb_use_extension_reply(
        connection_,
        xcb_xkb_use_extension(connection_, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr);
    const bool supported = use && use->supported;
    std::free(use);
    if (!supported)
        return;
    xcb_xkb_select_events(connection_, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_EVENT_TYPE_BELL_NOTIFY, 0,
                          XCB_XKB_EVENT_TYPE_BELL_NOTIFY, 0, 0, nullptr);
    roundTrip(connection_);
    ok_ = true;
}

BellWatch::~BellWatch() {
    xcb_disconnect(connection_);
}

int BellWatch::bells() {
    if (!ok_)
        return 0;
    roundTrip(connection_);
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        // Every event of the extension shares one code; its own type is the next byte.
        if ((event->response_type & 0x7f) == firstEvent_ && event->pad0 == XCB_XKB_BELL_NOTIFY)
            ++bells_;
        std::free(event);
    }
    return bells_;
}
