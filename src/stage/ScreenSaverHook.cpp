#include "stage/ScreenSaverHook.h"

#include "platform/X11Connection.h"

#include <QCoreApplication>
#include <xcb/screensaver.h>

ScreenSaverHook::ScreenSaverHook(std::uint8_t firstEvent, Changed changed)
    : firstEvent_(firstEvent), changed_(std::move(changed)) {}

std::unique_ptr<ScreenSaverHook> ScreenSaverHook::install(Changed changed) {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return nullptr;
    const xcb_query_extension_reply_t* extension =
        xcb_get_extension_data(connection, &xcb_screensaver_id);
    if (!extension || !extension->present)
        return nullptr;
    for (auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection)); roots.rem;
         xcb_screen_next(&roots)) {
        xcb_screensaver_select_input(connection, roots.data->root,
                                     XCB_SCREENSAVER_EVENT_NOTIFY_MASK);
    }
    xcb_flush(connection);
    auto hook = std::make_unique<ScreenSaverHook>(extension->first_event, std::move(changed));
    QCoreApplication::instance()->installNativeEventFilter(hook.get());
    return hook;
}

std::optional<bool> ScreenSaverHook::screenSaverTurned(const xcb_generic_event_t& event,
                                                       std::uint8_t firstEvent) {
    // The top bit only tells that another client sent the event.
    if ((event.response_type & 0x7f) != std::uint8_t(firstEvent + XCB_SCREENSAVER_NOTIFY))
        return std::nullopt;
    const auto& notify = reinterpret_cast<const xcb_screensaver_notify_event_t&>(event);
    switch (notify.state) {
    case XCB_SCREENSAVER_STATE_ON:
        return true;
    case XCB_SCREENSAVER_STATE_OFF:
        return false;
    default:
        return std::nullopt;
    }
}

bool ScreenSaverHook::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    if (const auto on =
            screenSaverTurned(*static_cast<const xcb_generic_event_t*>(message), firstEvent_))
        changed_(*on);
    return false;
}
