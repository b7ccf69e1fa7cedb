// The screen-saver notifications picked out of the X event stream.
#include "stage/ScreenSaverHook.h"

#include <QByteArray>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>
#include <xcb/screensaver.h>

namespace {
constexpr std::uint8_t kFirstEvent = 92;

xcb_generic_event_t notifyEvent(std::uint8_t state, bool sentByAClient = false) {
    xcb_screensaver_notify_event_t notify{};
    notify.response_type = kFirstEvent + XCB_SCREENSAVER_NOTIFY + (sentByAClient ? 0x80 : 0);
    notify.state = state;
    xcb_generic_event_t event{};
    static_assert(sizeof notify <= sizeof event);
    std::memcpy(&event, &notify, sizeof notify);
    return event;
}

TEST(ScreenSaverHook, TellsOnFromOffAndIgnoresCyclingAndOtherEvents) {
    using Turned = std::optional<bool>;
    EXPECT_EQ(
        ScreenSaverHook::screenSaverTurned(notifyEvent(XCB_SCREENSAVER_STATE_ON), kFirstEvent),
        Turned(true));
    EXPECT_EQ(ScreenSaverHook::screenSaverTurned(notifyEvent(XCB_SCREENSAVER_STATE_ON, true),
                                                 kFirstEvent),
              Turned(true));
    EXPECT_EQ(
        ScreenSaverHook::screenSaverTurned(notifyEvent(XCB_SCREENSAVER_STATE_OFF), kFirstEvent),
        Turned(false));
    EXPECT_EQ(
        ScreenSaverHook::screenSaverTurned(notifyEvent(XCB_SCREENSAVER_STATE_CYCLE), kFirstEvent),
        Turned());
    // The same code from a server whose extension numbers its events elsewhere.
    EXPECT_EQ(ScreenSaverHook::screenSaverTurned(notifyEvent(XCB_SCREENSAVER_STATE_ON), 64),
              Turned());
    xcb_generic_event_t keyPress{};
    keyPress.response_type = XCB_KEY_PRESS;
    EXPECT_EQ(ScreenSaverHook::screenSaverTurned(keyPress, kFirstEvent), Turned());
}

TEST(ScreenSaverHook, ReportsEachChangeAndNeverTakesAnEvent) {
    std::vector<bool> changes;
    ScreenSaverHook hook(kFirstEvent, [&](bool on) { changes.push_back(on); });
    const QByteArray xcb("xcb_generic_event_t");
    xcb_generic_event_t on = notifyEvent(XCB_SCREENSAVER_STATE_ON);
    xcb_generic_event_t off = notifyEvent(XCB_SCREENSAVER_STATE_OFF);
    xcb_generic_event_t other{};
    other.response_type = XCB_BUTTON_PRESS;
    qintptr result = 0;
    EXPECT_FALSE(hook.nativeEventFilter(xcb, &on, &result));
    EXPECT_FALSE(hook.nativeEventFilter(xcb, &other, &result));
    EXPECT_FALSE(hook.nativeEventFilter(xcb, &off, &result));
    // Messages of another platform are not X events at all.
    EXPECT_FALSE(hook.nativeEventFilter("windows_generic_MSG", &on, &result));
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}
} // namespace
