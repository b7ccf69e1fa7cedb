#include "platform/KeyState.h"

#include "platform/X11Connection.h"

#include <QGuiApplication>
#include <vector>

namespace {
constexpr xcb_keysym_t kDownKeysym = 0xff54;

// The keycodes that carry a keysym in the server's current keyboard mapping.
std::vector<xcb_keycode_t> keycodesFor(xcb_connection_t* connection, xcb_keysym_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    std::vector<xcb_keycode_t> found;
    const XcbReply<xcb_get_keyboard_mapping_reply_t> reply(xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr));
    if (!reply)
        return found;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int perCode = reply->keysyms_per_keycode;
    const int total = xcb_get_keyboard_mapping_keysyms_length(reply.get());
    for (int i = 0; i < total; ++i) {
        if (syms[i] == keysym && perCode > 0)
            found.push_back(static_cast<xcb_keycode_t>(first + i / perCode));
    }
    return found;
}

bool keycodeDown(xcb_connection_t* connection, const std::vector<xcb_keycode_t>& codes) {
    const XcbReply<xcb_query_keymap_reply_t> reply(
        xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr));
    if (!reply)
        return false;
    bool down = false;
    for (xcb_keycode_t code : codes)
        down = down || (reply->keys[code / 8] & (1 << (code % 8)));
    return down;
}
} // namespace

bool X11KeyState::isDown(Key key) const {
    switch (key) {
    case Key::Shift:
        return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    case Key::Control:
        return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    case Key::Down:
        if (xcb_connection_t* connection = x11Connection())
            return keycodeDown(connection, keycodesFor(connection, kDownKeysym));
        return false;
    }
    return false;
}
