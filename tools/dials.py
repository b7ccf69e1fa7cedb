"""The two dial faces: analog (dots and blossoms) and digital (a liquid-crystal field with faint
ghost segments). Both share the wooden frame, drawn from each pixel's depth inside the dial's
rounded square so that it follows the window's outline exactly.
"""
import math

import glyphs
from assetlib import render
from assetlib.png import Image
from assetlib.shapes import DIAL_SIZE, dial_depth, hex_colour, mix, over

OUTLINE = hex_colour('#4a2a1c')
WOOD = hex_colour('#b07443')
WOOD_SHADE = hex_colour('#8a5530')
WOOD_LIGHT = hex_colour('#cf9866')
PAPER = hex_colour('#ffffff')
LCD = hex_colour('#cbdcae')
LCD_EDGE = hex_colour('#a9bf8a')
GHOST = hex_colour('#bdd0a2')

# Where the digital display puts its glyphs, relative to the dial.
HOUR_ROW_TOP = 24
HOUR_ROW = [(10, 'digit'), (34, 'digit'), (58, 'colon'), (70, 'digit'), (94, 'digit')]
SECONDS = [(86, 72), (102, 72)]
SIGN_AT = (10, 88)

FRAME_OUTER, FRAME_INNER, FIELD_EDGE = 1.0, 5.6, 6.8


def _band(outer, inner, depth, edge):
    """outer below edge, inner above it, with one pixel of blending across the edge."""
    return mix(outer, inner, min(1.0, max(0.0, depth - edge + 0.5)))


def _frame_and_field(field, field_edge_colour, scale=1):
    """At a larger scale the bands are as many times as wide, each still blended over one
    pixel."""
    s = scale
    size = DIAL_SIZE * s
    outer, inner, field_edge = FRAME_OUTER * s, FRAME_INNER * s, FIELD_EDGE * s
    depth = dial_depth(s)
    image = Image(size, size, PAPER)
    for y in range(size):
        for x in range(size):
            d = depth[x, y]
            if d == 0:
                continue
            # Lit from the upper left: the lower right half of the frame lies in shade.
            wood = WOOD_SHADE if x + y > size - 1 else WOOD
            if d <= outer:
                colour = OUTLINE
            elif d < inner - 0.5:
                colour = _band(OUTLINE, wood, d, outer + 0.5)
                if x + y <= size - 1 and 1.8 * s < d < 2.9 * s:
                    colour = WOOD_LIGHT
            elif d < field_edge - 0.5:
                colour = _band(wood, OUTLINE, d, inner)
            else:
                colour = _band(OUTLINE, field_edge_colour, d, field_edge)
                if d > field_edge + 1.5 * s:
                    colour = _band(field_edge_colour, field, d, field_edge + 2 * s)
            image.set(x, y, colour)
    return image, depth


def _paint_over(image, depth, layer, scale=1):
    for y in range(image.height):
        for x in range(image.width):
            top = layer.get(x, y)
            if top[3] and depth[x, y] > FIELD_EDGE * scale:
                image.set(x, y, over(image.get(x, y), top))


def _blossom(cx, cy, radius, turn):
    petals = []
    for i in range(5):
        angle = math.radians(turn + i * 72)
        px, py = cx + math.sin(angle) * radius * 0.55, cy - math.cos(angle) * radius * 0.55
        petals.append(
            f'<ellipse cx="{px:.2f}" cy="{py:.2f}" rx="{radius * 0.42:.2f}" '
            f'ry="{radius * 0.5:.2f}" transform="rotate({turn + i * 72:.1f} {px:.2f} {py:.2f})" '
            'fill="#fbe2ea" stroke="#e7aebf" stroke-width="0.9"/>')
        nx, ny = cx + math.sin(angle) * radius * 0.95, cy - math.cos(angle) * radius * 0.95
        petals.append(f'<circle cx="{nx:.2f}" cy="{ny:.2f}" r="{radius * 0.12:.2f}" '
                      'fill="#ffffff"/>')
    heart = f'<circle cx="{cx}" cy="{cy}" r="{radius * 0.22:.2f}" fill="#f3cd7c"/>'
    return ''.join(petals) + heart


def _analog_marks():
    parts = []
    cx = cy = 64.5
    for i in range(60):
        angle = math.radians(i * 6)
        x, y = cx + math.sin(angle) * 52.5, cy - math.cos(angle) * 52.5
        if i % 5 == 0:
            parts.append(f'<circle cx="{x:.3f}" cy="{y:.3f}" r="2.4" fill="#e02a2a" '
                         'stroke="#8c1d1d" stroke-width="0.6"/>')
        else:
            parts.append(f'<circle cx="{x:.3f}" cy="{y:.3f}" r="1.05" fill="#000000"/>')
    for (x, y, turn) in ((17.5, 17.5, 10), (110.5, 17.5, 40), (17.5, 110.5, 25),
                         (110.5, 110.5, 60)):
        parts.append(_blossom(x, y, 8.5, turn))
    for (x, y, turn) in ((29, 10.5, 20), (10.5, 29, 50), (99, 117.5, 5), (117.5, 99, 35)):
        parts.append(_blossom(x, y, 4.2, turn))
    return ''.join(parts)


def analog(scale=1):
    """The analog face; at a larger scale the marks and blossoms are drawn from the same SVG."""
    size = DIAL_SIZE * scale
    image, depth = _frame_and_field(PAPER, PAPER, scale)
    marks = render.document(size, size, _analog_marks(), view_box=(0, 0, DIAL_SIZE, DIAL_SIZE))
    layer = render.svg_to_image(marks, size, size)
    _paint_over(image, depth, layer, scale)
    return image


def ghost_pixels(scale=1):
    """Every pixel of the dial that a glyph of the digital display can cover; at a larger scale,
    from that scale's glyphs at the places scaled."""
    s = scale
    big = glyphs.BIG if s == 1 else glyphs.BIG.scaled(s)
    small = glyphs.SMALL if s == 1 else glyphs.SMALL.scaled(s)
    pixels = set()
    eight = glyphs.glyph_pixels(big, 8)
    colon = glyphs.glyph_pixels(big, glyphs.COLON)
    for left, kind in HOUR_ROW:
        for x, y in eight if kind == 'digit' else colon:
            pixels.add((left * s + x, HOUR_ROW_TOP * s + y))
    small_eight = glyphs.glyph_pixels(small, 8)
    for left, top in SECONDS:
        pixels.update((left * s + x, top * s + y) for x, y in small_eight)
    for index in (0, 1):
        pixels.update((SIGN_AT[0] * s + x, SIGN_AT[1] * s + y)
                      for x, y in glyphs.sign_pixels(index, s))
    return pixels


def digital(scale=1):
    image, depth = _frame_and_field(LCD, LCD_EDGE, scale)
    for x, y in ghost_pixels(scale):
        image.set(x, y, GHOST)
    return image
