"""Renders Miora's drawing into the stage picture, the three faces, the About box picture and
the application icon.
"""
import character
from assetlib import render
from assetlib.png import Image

WHITE = (255, 255, 255, 255)
# Anti-aliased edge pixels at least this light on every channel join the background, so that
# the silhouette has no pale halo.
NEAR_WHITE = 200

FACE_NAMES = {'laughing': 'Face1', 'neartears': 'Face2', 'crying': 'Face3'}


def _clean_background(image, own, coarse=None):
    """Pure white outside her, and no pure white inside her. Which pixels are hers is read
    from the drawing on white; their colours come from the drawing on nothing (own), so that
    her edge pixels carry no white into a dark desktop.

    coarse is the same picture at half the size, for a picture at 2x: a gap between two of her
    shapes too narrow to show at 1x, where 1x has her colour, takes that colour at 2x."""
    w, h = image.width, image.height
    background = bytearray(w * h)
    stack = [(x, y) for x in range(w) for y in (0, h - 1)] + \
            [(x, y) for y in range(h) for x in (0, w - 1)]
    while stack:
        x, y = stack.pop()
        i = y * w + x
        if background[i] or min(image.pixels[i][:3]) < NEAR_WHITE:
            continue
        background[i] = 1
        for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
            if 0 <= nx < w and 0 <= ny < h:
                stack.append((nx, ny))
    # She has no white fills of her own, so white cut off from the edges is a hole in the
    # drawing: the silhouette would keep it and show a white patch on the desktop.
    holes = [i for i, p in enumerate(image.pixels) if not background[i] and p[:3] == WHITE[:3]]
    filled = {}
    if coarse:
        for i in holes:
            parent = coarse.get(i % w // 2, i // w // 2)
            if parent[:3] != WHITE[:3]:
                filled[i] = parent
    if len(filled) < len(holes):
        raise RuntimeError(f'{len(holes) - len(filled)} background pixels are enclosed by the '
                           'figure')
    for i in range(len(image.pixels)):
        if background[i]:
            image.pixels[i] = WHITE
        else:
            image.pixels[i] = filled.get(i) or _opaque(own.pixels[i])
    return image


def _opaque(pixel):
    """A pixel of hers at full strength; pure white would read as background."""
    colour = tuple(pixel[:3])
    if colour == WHITE[:3]:
        colour = (254, 254, 254)
    return colour + (255,)


def renders(expression='normal', scale=1):
    """The stage picture, cleaned, and her drawing on nothing (RGBA) that its colours come from,
    both scale times the drawing's size (1 or 2)."""
    coarse = renders(expression)[0] if scale == 2 else None
    width, height = character.WIDTH * scale, character.HEIGHT * scale
    box = (0, 0, character.WIDTH, character.HEIGHT)
    svg = render.document(width, height, character.drawing(expression), view_box=box)
    picture = render.svg_to_image(svg, width, height, background='white')
    own = render.svg_to_image(svg, width, height)
    return _clean_background(picture, own, coarse), own


def stage(expression='normal', scale=1):
    return renders(expression, scale)[0]


def face(expression, scale=1):
    left, top, width, height = (v * scale for v in character.FACE_FRAME)
    return stage(expression, scale).crop(left, top, width, height)


def program_icon():
    """The About box's picture: her head and shoulders, 79 x 79 on white."""
    svg = render.document(79, 79, character.drawing(), view_box=(4, 0, 150, 150))
    return render.svg_to_image(svg, 79, 79, background='white')


def main_icon_svg(size=48):
    """The application icon as SVG: her head in a pale pink rounded square, transparent around
    it."""
    tile = 'x="12" y="1" width="134" height="134" rx="26"'
    body = (f'<clipPath id="tile"><rect {tile}/></clipPath>'
            f'<rect {tile} fill="#fde4ec"/>'
            f'<g clip-path="url(#tile)">{character.drawing()}</g>'
            f'<rect {tile} fill="none" stroke="{character.OUTLINE}" stroke-width="3"/>')
    return render.document(size, size, body, view_box=(11, 0, 136, 136))


def main_icon(size=48):
    return render.svg_to_image(main_icon_svg(size), size, size)
