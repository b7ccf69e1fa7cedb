#include "support/harness/XShape.h"

#include "support/harness/XSession.h"

#include <cstdlib>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace {

QRegion shapeOf(const XSession& session, qulonglong window, xcb_shape_kind_t kind) {
    xcb_connection_t* connection = xcb_connect(session.display().toLatin1().constData(), nullptr);
    QRegion shape;
    if (!xcb_connection_has_error(connection)) {
        xcb_shape_get_rectangles_reply_t* reply = xcb_shape_get_rectangles_reply(
            connection, xcb_shape_get_rectangles(connection, xcb_window_t(window), kind), nullptr);
        if (reply) {
            const xcb_rectangle_t* rects = xcb_shape_get_rectangles_rectangles(reply);
            for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply); ++i)
                shape += QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
            std::free(reply);
        }
    }
    xcb_disconnect(connection);
    return shape;
}

} // namespace

QRegion boundingShapeOf(const XSession& session, qulonglong window) {
    return shapeOf(session, window, XCB_SHAPE_SK_BOUNDING);
}

QRegion inputShapeOf(const XSession& session, qulonglong window) {
    return shapeOf(session, window, XCB_SHAPE_SK_INPUT);
}

QImage windowPixelsOf(const XSession& session, qulonglong window) {
    xcb_connection_t* connection = xcb_connect(session.display().toLatin1().constData(), nullptr);
    QImage pixels;
    if (!xcb_connection_has_error(connection)) {
        xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(
            connection, xcb_get_geometry(connection, xcb_drawable_t(window)), nullptr);
        xcb_get_image_reply_t* image =
            geometry ? xcb_get_image_reply(connection,
                                           xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                                         xcb_drawable_t(window), 0, 0,
                                                         geometry->width, geometry->height, ~0u),
                                           nullptr)
                     : nullptr;
        // Four bytes a pixel, little-endian, as a 24- or 32-bit visual on this server has them.
        if (image && xcb_get_image_data_length(image) == geometry->width * geometry->height * 4) {
            const QImage::Format format =
                image->depth == 32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
            pixels =
                QImage(xcb_get_image_data(image), geometry->width, geometry->height, format).copy();
        }
        std::free(image);
        std::free(geometry);
    }
    xcb_disconnect(connection);
    return pixels;
}
