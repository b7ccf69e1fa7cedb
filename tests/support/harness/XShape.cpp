#include "support/harness/XShape.h"

#include "support/harness/XSession.h"

#include <cstdlib>
#include <xcb/composite.h>
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

// Four bytes a pixel, little-endian, as a 24- or 32-bit visual on this server has them.
QImage windowImage(xcb_connection_t* connection, xcb_window_t window) {
    QImage pixels;
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    xcb_get_image_reply_t* image =
        geometry ? xcb_get_image_reply(connection,
                                       xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window,
                                                     0, 0, geometry->width, geometry->height, ~0u),
                                       nullptr)
                 : nullptr;
    if (image && xcb_get_image_data_length(image) == geometry->width * geometry->height * 4) {
        const QImage::Format format =
            image->depth == 32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        pixels =
            QImage(xcb_get_image_data(image), geometry->width, geometry->height, format).copy();
    }
    std::free(image);
    std::free(geometry);
    return pixels;
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
    if (!xcb_connection_has_error(connection))
        pixels = windowImage(connection, xcb_window_t(window));
    xcb_disconnect(connection);
    return pixels;
}

QImage screenPixelsOf(const XSession& session) {
    xcb_connection_t* connection = xcb_connect(session.display().toLatin1().constData(), nullptr);
    QImage pixels;
    if (!xcb_connection_has_error(connection))
        pixels =
            windowImage(connection, xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root);
    xcb_disconnect(connection);
    return pixels;
}

QImage compositedScreenOf(const XSession& session) {
    xcb_connection_t* connection = xcb_connect(session.display().toLatin1().constData(), nullptr);
    QImage pixels;
    if (!xcb_connection_has_error(connection)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        std::free(xcb_composite_query_version_reply(
            connection, xcb_composite_query_version(connection, 0, 4), nullptr));
        xcb_composite_get_overlay_window_reply_t* overlay = xcb_composite_get_overlay_window_reply(
            connection, xcb_composite_get_overlay_window(connection, screen->root), nullptr);
        if (overlay) {
            const QImage image = windowImage(connection, overlay->overlay_win);
            pixels = image.convertToFormat(QImage::Format_RGB32);
            xcb_composite_release_overlay_window(connection, screen->root);
        }
        std::free(overlay);
    }
    xcb_disconnect(connection);
    return pixels;
}
