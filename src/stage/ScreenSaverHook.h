#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <xcb/xcb.h>

// Watches every X event the program receives for the screen saver coming on and going
// off. Events are only looked at, never taken: they all go on to their usual handling.
class ScreenSaverHook : public QAbstractNativeEventFilter {
public:
    using Changed = std::function<void(bool on)>;

    // firstEvent: the code of the screen-saver extension's first event on this server.
    ScreenSaverHook(std::uint8_t firstEvent, Changed changed);

    // Asks the X server to report the screen saver to this program and installs the hook on
    // the application. None without an X display or without the server's extension.
    static std::unique_ptr<ScreenSaverHook> install(Changed changed);

    // True when the event turns the screen saver on, false when it turns it off, none for
    // every other event (a saver that only cycles stays on).
    static std::optional<bool> screenSaverTurned(const xcb_generic_event_t& event,
                                                 std::uint8_t firstEvent);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::uint8_t firstEvent_;
    Changed changed_;
};
