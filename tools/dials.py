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


def _frame_and_field(field, field_edge_colour):
    depth = dial_depth()
    image = Image(DIAL_SIZE, DIAL_SIZE, PAPER)
    for y in range(DIAL_SIZE):
        for x in range(DIAL_SIZE):
            d = depth[x, y]
            if d == 0:
                continue
            # Lit from the upper left: the lower right half of the frame lies in shade.
            wood = WOOD_SHADE if x + y > DIAL_SIZE - 1 else WOOD
            if d <= FRAME_OUTER:
                colour = OUTLINE
            elif d < FRAME_INNER - 0.5:
                colour = _band(OUTLINE, wood, d, FRAME_OUTER + 0.5)
                if x + y <= DIAL_SIZE - 1 and 1.8 < d < 2.9:
                    colour = WOOD_LIGHT
            elif d < FIELD_EDGE - 0.5:
                colour = _band(wood, OUTLINE, d, FRAME_INNER)
            else:
                colour = _band(OUTLINE, field_edge_colour, d, FIELD_EDGE)
                if d > FIELD_EDGE + 1.5:
                    colour = _band(field_edge_colour, field, d, FIELD_EDGE + 2)
            image.set(x, y, colour)
    return image, depth


def _paint_over(image, depth, layer):
    for y in range(DIAL_SIZE):
        for x in range(DIAL_SIZE):
            top = layer.get(x, y)
            if top[3] and depth[x, y] > FIELD_EDGE:
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


def analog():
    image, depth = _frame_and_field(PAPER, PAPER)
    layer = render.svg_to_image(render.document(DIAL_SIZE, DIAL_SIZE, _analog_marks()),
                                DIAL_SIZE, DIAL_SIZE)
    _paint_over(image, depth, layer)
    return image


def ghost_pixels():
    """Every pixel of the dial that a glyph of the digital display can cover."""
    pixels = set()
    eight = glyphs.glyph_pixels(glyphs.BIG, 8)
    colon = glyphs.glyph_pixels(glyphs.BIG, glyphs.COLON)
    for left, kind in HOUR_ROW:
        for x, y in eight if kind == 'digit' else colon:
            pixels.add((left + x, HOUR_ROW_TOP + y))
    small_eight = glyphs.glyph_pixels(glyphs.SMALL, 8)
    for left, top in SECONDS:
        pixels.update((left + x, top + y) for x, y in small_eight)
    for index in (0, 1):
        pixels.update((SIGN_AT[0] + x, SIGN_AT[1] + y) for x, y in glyphs.sign_pixels(index))
    return pixels


def digital():
    image, depth = _frame_and_field(LCD, LCD_EDGE)
    for x, y in ghost_pixels():
        image.set(x, y, GHOST)
    return image
