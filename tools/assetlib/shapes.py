"""The dial's outline and pixel-level helpers shared by the dial and glyph scripts."""

# The dial's rounded square, 128 x 128 with corners rounded off over 8 pixels: left, top, right,
# bottom, right and bottom exclusive, in bands from top to bottom.
DIAL_OUTLINE = [
    (8, 0, 120, 1), (6, 1, 122, 2), (5, 2, 123, 3), (4, 3, 124, 4), (3, 4, 125, 5),
    (2, 5, 126, 6), (1, 6, 127, 8), (0, 8, 128, 120), (1, 120, 127, 122), (2, 122, 126, 123),
    (3, 123, 125, 124), (4, 124, 124, 125), (5, 125, 123, 126), (6, 126, 122, 127),
    (8, 127, 120, 128),
]
DIAL_SIZE = 128
# Where the dial's box lies in the stage picture (and the window).
DIAL_AT = (80, 256)


# The hand-made outline rounds its corners off over 8 pixels but cuts them like a quarter circle
# of radius 12 (30 pixels a corner, against 30.9): the ideal rounded square it stands for, from
# which the larger outlines are drawn and the soft edges are measured.
DIAL_RADIUS = 12


def rounded_square(size, radius):
    """A size x size square with corners rounded off by circles of the given radius, in bands:
    a pixel is inside when its centre is."""
    def inside(x, y):
        cx = min(max(x + 0.5, radius), size - radius)
        cy = min(max(y + 0.5, radius), size - radius)
        return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius

    bands = []  # [top, bottom, left, right]
    for y in range(size):
        left = 0
        while left < size // 2 and not inside(left, y):
            left += 1
        right = size - left
        if left >= right:
            continue
        if bands and bands[-1][1] == y and bands[-1][2:] == [left, right]:
            bands[-1][1] = y + 1
        else:
            bands.append([y, y + 1, left, right])
    return [(left, top, right, bottom) for top, bottom, left, right in bands]


def dial_outline(scale=1):
    """The dial's outline at 1x (drawn by hand) or at a larger scale (from the ideal shape)."""
    if scale == 1:
        return list(DIAL_OUTLINE)
    return rounded_square(DIAL_SIZE * scale, DIAL_RADIUS * scale)


_ROWS = {}


def _dial_rows(scale):
    """Per row of the dial at this scale, the first and one past the last pixel inside."""
    if scale not in _ROWS:
        size = DIAL_SIZE * scale
        rows = [(0, 0)] * size
        for left, top, right, bottom in dial_outline(scale):
            for y in range(top, bottom):
                rows[y] = (left, right)
        _ROWS[scale] = rows
    return _ROWS[scale]


def in_dial(x, y, scale=1):
    rows = _dial_rows(scale)
    if not 0 <= y < len(rows):
        return False
    left, right = rows[y]
    return left <= x < right


def dial_depth(scale=1):
    """For every dial pixel, its distance from the nearest pixel outside the dial (0 outside)."""
    size = DIAL_SIZE * scale
    outside = [(x, y) for y in range(-1, size + 1) for x in range(-1, size + 1)
               if not (0 <= x < size and 0 <= y < size) or not in_dial(x, y, scale)]
    corners = [(x, y) for x, y in outside if 0 <= x < size and 0 <= y < size]
    # The corner pixels lie within this many pixels of two sides at once.
    corner = max((max(min(x, size - 1 - x), min(y, size - 1 - y)) for x, y in corners), default=0)
    depth = {}
    for y in range(size):
        for x in range(size):
            if not in_dial(x, y, scale):
                depth[x, y] = 0.0
                continue
            best = min(x + 1, y + 1, size - x, size - y) ** 2
            # No corner pixel is nearer than this: skip them when the sides are nearer still.
            dx = max(0, min(x, size - 1 - x) - corner)
            dy = max(0, min(y, size - 1 - y) - corner)
            reach = dx * dx + dy * dy
            if reach < best:
                for cx, cy in corners:
                    d = (cx - x) ** 2 + (cy - y) ** 2
                    if d < best:
                        best = d
            depth[x, y] = best ** 0.5
    return depth


def dial_coverage(x, y, scale=1, samples=4):
    """How much of pixel (x, y) of the dial's box the ideal rounded square covers, 0 to 1, by
    samples x samples points."""
    size, radius = DIAL_SIZE * scale, DIAL_RADIUS * scale
    inside = 0
    for j in range(samples):
        py = y + (j + 0.5) / samples
        cy = min(max(py, radius), size - radius)
        for i in range(samples):
            px = x + (i + 0.5) / samples
            if not (0 <= px < size and 0 <= py < size):
                continue
            cx = min(max(px, radius), size - radius)
            if (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius:
                inside += 1
    return inside / (samples * samples)


def mix(a, b, amount):
    """a blended toward b by amount (0..1), per channel, rounded."""
    return tuple(round(a[i] + (b[i] - a[i]) * amount) for i in range(3)) + (255,)


def hex_colour(text):
    text = text.lstrip('#')
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4)) + (255,)


def over(base, top):
    """top (r, g, b, a) painted over an opaque base."""
    alpha = top[3] / 255
    return mix(base, top, alpha)
