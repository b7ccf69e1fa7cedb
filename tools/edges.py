"""StageEdge: the soft fringe just outside the window's shape, for a window with an alpha channel
under a compositor.

The window's shape is her silhouette (region 1) joined with the dial's outline (region 2) at the
dial's place. Inside it the opaque pictures are painted and this image is clear; outside it, it
holds what the hard shape cut off: her drawing's own anti-aliased edge (the light pixels the
stage picture snaps to white), and around the dial the part of the ideal rounded square that
the outline's pixels leave out, in the dial's outline colour. Without a compositor the shape
clips the window and none of it shows.
"""
from assetlib.png import Image
from assetlib.shapes import DIAL_AT, DIAL_SIZE, dial_coverage, dial_outline

CLEAR = (0, 0, 0, 0)


def window_shape(width, height, body, scale=1):
    """The window's shape within width x height: 1 for a pixel inside it, row by row."""
    shape = bytearray(width * height)
    left0, top0 = DIAL_AT[0] * scale, DIAL_AT[1] * scale
    placed = [(left0 + l, top0 + t, left0 + r, top0 + b) for l, t, r, b in dial_outline(scale)]
    for left, top, right, bottom in list(body) + placed:
        for y in range(max(0, top), min(height, bottom)):
            for x in range(max(0, left), min(width, right)):
                shape[y * width + x] = 1
    return shape


def stage_edge(own, body, outline_colour, scale=1):
    """The fringe as non-premultiplied RGBA over the whole window, which the dial widens
    beyond the stage picture.

    own is her drawing on nothing at this scale, body her silhouette's rectangles; where her
    edge and the dial's both reach a pixel, the stronger one is kept."""
    left0, top0, size = DIAL_AT[0] * scale, DIAL_AT[1] * scale, DIAL_SIZE * scale
    width, height = max(own.width, left0 + size), own.height
    shape = window_shape(width, height, body, scale)
    colour = tuple(outline_colour[:3])
    image = Image(width, height, CLEAR)
    for y in range(height):
        for x in range(width):
            i = y * width + x
            if shape[i]:
                continue
            pixel = own.get(x, y) if x < own.width else CLEAR
            best = tuple(pixel) if pixel[3] else CLEAR
            if left0 <= x < left0 + size and top0 <= y < top0 + size:
                alpha = round(dial_coverage(x - left0, y - top0, scale) * 255)
                if alpha > best[3]:
                    best = colour + (alpha,)
            image.pixels[i] = best
    return image
