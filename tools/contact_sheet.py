"""docs/assets.png: every asset at 1:1 and 3x, the shapes filled, the clips as waveforms."""
import base64
import os
import struct
import tempfile
import wave
from xml.sax.saxutils import escape

from assetlib import png, render
from assetlib.png import Image
from assetlib.shapes import mix

WIDTH = 1660
GAP = 20
LABEL = 22
SHEET = '#eceef2'
DESKTOP = (86, 116, 158, 255)
SHAPE = (112, 84, 176, 255)


def _encoded(image):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, 'i.png')
        png.write_rgba(path, image)
        return base64.b64encode(open(path, 'rb').read()).decode('ascii')


def shape_image(width, height, rectangles, offset=(0, 0)):
    image = Image(width, height, (255, 255, 255, 255))
    for left, top, right, bottom in rectangles:
        for y in range(top + offset[1], bottom + offset[1]):
            for x in range(left + offset[0], right + offset[0]):
                image.set(x, y, SHAPE)
    return image


def on_desktop(stage, dial, dial_mask, window_shape):
    """What the desktop shows: the stage picture with the dial drawn, cut to the window shape."""
    image = Image(208, 452, DESKTOP)
    for y in range(452):
        for x in range(208):
            if (x, y) not in window_shape:
                continue
            if 80 <= x < 208 and 256 <= y < 384 and dial_mask(x - 80, y - 256):
                image.set(x, y, dial.get(x - 80, y - 256))
            elif x < stage.width:
                image.set(x, y, stage.get(x, y))
    return image


def soft_window(stage, dial, dial_mask, dial_at, shape, edge, background=(32, 32, 32, 255)):
    """Her window under a compositor on a dark desktop: inside the window's shape (1 per pixel,
    row by row, the window's width) the stage picture with the dial drawn, outside it the soft
    edge (non-premultiplied RGBA) over the desktop."""
    width, height = dial_at[0] + dial.width, stage.height
    image = Image(width, height, background)
    for y in range(height):
        for x in range(width):
            left, top = x - dial_at[0], y - dial_at[1]
            if shape[y * width + x]:
                if 0 <= left < dial.width and 0 <= top < dial.height and dial_mask(left, top):
                    image.set(x, y, dial.get(left, top))
                elif x < stage.width:
                    image.set(x, y, stage.get(x, y))
            elif x < edge.width:
                pixel = edge.get(x, y)
                image.set(x, y, mix(background, pixel, pixel[3] / 255))
    return image


def waveform(path, width=500, height=70):
    with wave.open(path) as clip:
        count = clip.getnframes()
        samples = struct.unpack(f'<{count}h', clip.readframes(count))
        seconds = count / clip.getframerate()
    image = Image(width, height, (255, 255, 255, 255))
    middle = height // 2
    per_column = max(1, count // width)
    for x in range(min(width, count // per_column)):
        chunk = samples[x * per_column:(x + 1) * per_column]
        top = middle - round(max(chunk) / 32768 * middle)
        bottom = middle - round(min(chunk) / 32768 * middle)
        for y in range(max(0, top), min(height, bottom + 1)):
            image.set(x, y, (214, 92, 120, 255))
    for x in range(width):
        if image.get(x, middle)[:3] == (255, 255, 255):
            image.set(x, middle, (200, 200, 200, 255))
    return image, seconds


def build(path, items):
    """items: (label, image) in reading order, laid out in rows; None starts a new row."""
    placed, x, y, row_height = [], GAP, GAP, 0
    for item in items:
        if item is None or x + item[1].width > WIDTH - GAP:
            x, y, row_height = GAP, y + row_height + LABEL + GAP, 0
            if item is None:
                continue
        label, image = item
        placed.append((label, image, x, y))
        x += image.width + GAP
        row_height = max(row_height, image.height)
    height = y + row_height + LABEL + GAP
    body = [f'<rect width="{WIDTH}" height="{height}" fill="{SHEET}"/>']
    for label, image, x, y in placed:
        body.append(f'<text x="{x}" y="{y + 15}" font-family="DejaVu Sans" font-size="13" '
                    f'fill="#333">{escape(label)}</text>')
        body.append(f'<image x="{x}" y="{y + LABEL}" width="{image.width}" '
                    f'height="{image.height}" image-rendering="optimizeSpeed" '
                    f'href="data:image/png;base64,{_encoded(image)}"/>')
    sheet = render.svg_to_image(render.document(WIDTH, height, ''.join(body)), WIDTH, height)
    png.write_rgb(path, sheet)
