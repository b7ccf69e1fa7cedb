#include "platform/X11Shape.h"

#include "platform/X11Connection.h"

#include <QList>
#include <vector>
#include <xcb/shape.h>

namespace {

void setShape(xcb_connection_t* connection, xcb_window_t window, xcb_shape_kind_t kind,
              const QRegion& region) {
    std::vector<xcb_rectangle_t> rectangles;
    rectangles.reserve(std::size_t(region.rectCount()));
    for (const QRect& r : region)
        rectangles.push_back({std::int16_t(r.x()), std::int16_t(r.y()), std::uint16_t(r.width()),
                              std::uint16_t(r.height())});
    // An empty list is an empty shape, which hides the window; the caller means none at all.
    if (rectangles.empty()) {
        xcb_shape_mask(connection, XCB_SHAPE_SO_SET, kind, window, 0, 0, XCB_NONE);
        return;
    }
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED, window, 0,
                         0, std::uint32_t(rectangles.size()), rectangles.data());
}

} // namespace

void x11ShapeWindow(xcb_window_t window, const QRegion& bounding, const QRegion& input) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || !window)
        return;
    setShape(connection, window, XCB_SHAPE_SK_BOUNDING, bounding);
    setShape(connection, window, XCB_SHAPE_SK_INPUT, input);
    xcb_flush(connection);
}

QRegion x11WindowShape(xcb_connection_t* connection, xcb_window_t window, bool input) {
    const XcbReply<xcb_shape_get_rectangles_reply_t> reply(xcb_shape_get_rectangles_reply(
        connection,
        xcb_shape_get_rectangles(connection, window,
                                 input ? XCB_SHAPE_SK_INPUT : XCB_SHAPE_SK_BOUNDING),
        nullptr));
    QRegion shape;
    if (!reply)
        return shape;
    const xcb_rectangle_t* r = xcb_shape_get_rectangles_rectangles(reply.get());
    for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply.get()); ++i)
        shape += QRect(r[i].x, r[i].y, r[i].width, r[i].height);
    return shape;
}
