"""Window shapes as region-data blocks: a 32-byte little-endian header (header size 32, type 1,
rectangle count, rectangle bytes, bounding rectangle) and the rectangles, in bands.
"""
import struct

from assetlib.shapes import dial_outline


def block(rectangles):
    if rectangles:
        bounds = (min(r[0] for r in rectangles), min(r[1] for r in rectangles),
                  max(r[2] for r in rectangles), max(r[3] for r in rectangles))
    else:
        bounds = (0, 0, 0, 0)
    out = struct.pack('<IIII', 32, 1, len(rectangles), 16 * len(rectangles))
    out += struct.pack('<4i', *bounds)
    for r in rectangles:
        out += struct.pack('<4i', *r)
    return out


def silhouette(image):
    """One rectangle per run of non-white pixels; rows with the same runs share one band."""
    bands = []  # [top, bottom, runs]
    for y in range(image.height):
        runs, start = [], None
        for x in range(image.width + 1):
            drawn = x < image.width and image.get(x, y)[:3] != (255, 255, 255)
            if drawn and start is None:
                start = x
            elif not drawn and start is not None:
                runs.append((start, x))
                start = None
        if not runs:
            continue
        if bands and bands[-1][1] == y and bands[-1][2] == runs:
            bands[-1][1] = y + 1
        else:
            bands.append([y, y + 1, runs])
    return [(left, top, right, bottom) for top, bottom, runs in bands for left, right in runs]


def dial(scale=1):
    """The dial's outline: drawn by hand at 1x, from its ideal rounded square at 2x."""
    return dial_outline(scale)
