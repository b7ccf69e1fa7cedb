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


def in_dial(x, y):
    return any(l <= x < r and t <= y < b for l, t, r, b in DIAL_OUTLINE)


def dial_depth():
    """For every dial pixel, its distance from the nearest pixel outside the dial (0 outside)."""
    outside = [(x, y) for y in range(-1, DIAL_SIZE + 1) for x in range(-1, DIAL_SIZE + 1)
               if not (0 <= x < DIAL_SIZE and 0 <= y < DIAL_SIZE) or not in_dial(x, y)]
    corners = [(x, y) for x, y in outside if 0 <= x < DIAL_SIZE and 0 <= y < DIAL_SIZE]
    depth = {}
    for y in range(DIAL_SIZE):
        for x in range(DIAL_SIZE):
            if not in_dial(x, y):
                depth[x, y] = 0.0
                continue
            best = min(x + 1, y + 1, DIAL_SIZE - x, DIAL_SIZE - y) ** 2
            for cx, cy in corners:
                d = (cx - x) ** 2 + (cy - y) ** 2
                if d < best:
                    best = d
            depth[x, y] = best ** 0.5
    return depth


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
