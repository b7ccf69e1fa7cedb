"""Seven-segment digits, the colon and the AM/PM signs, as sets of pixels.

The digital dial's faint ghost segments are drawn from the same pixel sets, so that a glyph
drawn at its place on the dial covers its ghost exactly.
"""

# Segment order: a top, b upper right, c lower right, d bottom, e lower left, f upper left,
# g middle.
DIGIT_SEGMENTS = ['abcdef', 'bc', 'abdeg', 'abcdg', 'bcfg', 'acdfg', 'acdefg', 'abc',
                  'abcdefg', 'abcdfg']
MINUS, COLON, BARS = 10, 11, 12
GLYPH_COUNT = 13
DIGIT_COLOUR = (66, 66, 66)  # 15-bit 8/31 per channel, widened as the display does
SIGN_COLOUR = (0, 0, 0)


class SegmentStyle:
    """Where the segments of one glyph size lie: centre lines and half thickness."""

    def __init__(self, size, left, right, top, middle, bottom, half, gap, colon_columns,
                 colon_rows, scale=1):
        self.size = size
        self.scale = scale
        self.left, self.right = left, right
        self.top, self.middle, self.bottom = top, middle, bottom
        self.half, self.gap = half, gap
        self.colon_columns, self.colon_rows = colon_columns, colon_rows

    def scaled(self, factor):
        """The same glyphs factor times as large: the segments' outlines scaled (and sampled on
        the finer grid), the colon's squares (on the 1x grid) drawn as factor x factor blocks."""
        k = factor
        return SegmentStyle((self.size[0] * k, self.size[1] * k), self.left * k, self.right * k,
                            self.top * k, self.middle * k, self.bottom * k, self.half * k,
                            self.gap * k, self.colon_columns, self.colon_rows, self.scale * k)

    def polygon(self, segment):
        h, g = self.half, self.gap
        horizontal = {'a': self.top, 'g': self.middle, 'd': self.bottom}
        if segment in horizontal:
            y = horizontal[segment]
            x0, x1 = self.left + g, self.right - g
            return [(x0, y), (x0 + h, y - h), (x1 - h, y - h), (x1, y), (x1 - h, y + h),
                    (x0 + h, y + h)]
        x = self.right if segment in 'bc' else self.left
        y0, y1 = (self.top, self.middle) if segment in 'bf' else (self.middle, self.bottom)
        y0, y1 = y0 + g, y1 - g
        return [(x, y0), (x + h, y0 + h), (x + h, y1 - h), (x, y1), (x - h, y1 - h),
                (x - h, y0 + h)]


BIG = SegmentStyle((24, 48), left=5, right=19, top=4, middle=24, bottom=44, half=2.2, gap=0.9,
                   colon_columns=range(2, 7), colon_rows=(range(13, 18), range(30, 35)))
SMALL = SegmentStyle((16, 32), left=3.5, right=12.5, top=3, middle=16, bottom=29, half=1.6,
                     gap=1.1, colon_columns=range(1, 5), colon_rows=(range(8, 12), range(20, 24)))


def _inside(polygon, x, y):
    inside = False
    for (x0, y0), (x1, y1) in zip(polygon, polygon[1:] + polygon[:1]):
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            inside = not inside
    return inside


def _segment_pixels(style, segments):
    w, h = style.size
    polygons = [style.polygon(s) for s in segments]
    return {(x, y) for y in range(h) for x in range(w)
            if any(_inside(p, x + 0.5, y + 0.5) for p in polygons)}


def _colon_pixels(style):
    columns = list(style.colon_columns)
    pixels = set()
    for rows in style.colon_rows:
        rows = list(rows)
        for y in rows:
            for x in columns:
                corner = x in (columns[0], columns[-1]) and y in (rows[0], rows[-1])
                if not corner:
                    pixels.add((x, y))
    return _blocks(pixels, style.scale)


def _blocks(pixels, scale):
    """Each pixel as a scale x scale block."""
    if scale == 1:
        return pixels
    return {(x * scale + dx, y * scale + dy) for x, y in pixels
            for dy in range(scale) for dx in range(scale)}


def glyph_pixels(style, index):
    if index < 10:
        return _segment_pixels(style, DIGIT_SEGMENTS[index])
    if index == MINUS:
        return _segment_pixels(style, 'g')
    if index == COLON:
        return _colon_pixels(style)
    return _segment_pixels(style, 'agd')


# The AM/PM letters on a 6 x 7 grid, each grid cell 2 x 2 pixels.
LETTERS = {
    'A': ['..##..', '.#..#.', '#....#', '#....#', '######', '#....#', '#....#'],
    'M': ['#....#', '##..##', '#.##.#', '#.##.#', '#....#', '#....#', '#....#'],
    'P': ['#####.', '#....#', '#....#', '#####.', '#.....', '#.....', '#.....'],
}
SIGN_SIZE = (64, 16)
SIGN_TEXT = ['AM', 'PM']


def sign_pixels(index, scale=1):
    """AM drawn at the left of its cell, PM at the right; at a larger scale, each pixel a
    scale x scale block."""
    text = SIGN_TEXT[index]
    letter_width, spacing = 12, 2
    width = len(text) * letter_width + (len(text) - 1) * spacing
    left = 1 if index == 0 else SIGN_SIZE[0] - 1 - width
    pixels = set()
    for n, letter in enumerate(text):
        x0 = left + n * (letter_width + spacing)
        for row, line in enumerate(LETTERS[letter]):
            for column, mark in enumerate(line):
                if mark == '#':
                    for dy in (0, 1):
                        for dx in (0, 1):
                            pixels.add((x0 + column * 2 + dx, 1 + row * 2 + dy))
    return _blocks(pixels, scale)
