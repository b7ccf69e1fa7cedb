"""Just enough PNG for the asset scripts: read 8-bit RGB/RGBA, write RGB, RGBA and 1-bit masks.

Written by hand so that the outputs depend on nothing but zlib and come out byte-identical on
every run.
"""
import struct
import zlib


class Image:
    """Pixels as a flat list of (r, g, b, a) tuples, row by row."""

    def __init__(self, width, height, fill=(255, 255, 255, 255)):
        self.width = width
        self.height = height
        self.pixels = [fill] * (width * height)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def set(self, x, y, rgba):
        self.pixels[y * self.width + x] = rgba

    def crop(self, left, top, width, height):
        out = Image(width, height)
        for y in range(height):
            row = (top + y) * self.width + left
            out.pixels[y * width:(y + 1) * width] = self.pixels[row:row + width]
        return out

    def paste(self, other, left, top):
        for y in range(other.height):
            for x in range(other.width):
                if 0 <= left + x < self.width and 0 <= top + y < self.height:
                    self.set(left + x, top + y, other.get(x, y))

    def scaled(self, factor):
        out = Image(self.width * factor, self.height * factor)
        for y in range(out.height):
            src = (y // factor) * self.width
            out.pixels[y * out.width:(y + 1) * out.width] = [
                self.pixels[src + x // factor] for x in range(out.width)]
        return out


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _unfilter(raw, height, stride, step):
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        line = bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - step] if i >= step else 0
            up = previous[i]
            corner = previous[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                line[i] = (line[i] + _paeth(left, up, corner)) & 255
        rows.append(line)
        previous = line
    return rows


def read(path):
    """8-bit RGB or RGBA, or a 1-bit palette image; not interlaced."""
    data = open(path, 'rb').read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError(f'{path}: not a PNG')
    pos, idat, header, palette = 8, b'', None, []
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'PLTE':
            palette = [tuple(body[i:i + 3]) + (255,) for i in range(0, len(body), 3)]
        elif kind == b'IDAT':
            idat += body
        elif kind == b'IEND':
            break
    width, height, depth, colour, _, _, interlace = header
    raw = zlib.decompress(idat)
    image = Image(width, height)
    if (depth, colour) == (1, 3) and not interlace:
        for y, line in enumerate(_unfilter(raw, height, (width + 7) // 8, 1)):
            for x in range(width):
                image.pixels[y * width + x] = palette[(line[x // 8] >> (7 - x % 8)) & 1]
        return image
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f'{path}: only 8-bit RGB or RGBA, or 1-bit palette, not interlaced')
    channels = 4 if colour == 6 else 3
    for y, line in enumerate(_unfilter(raw, height, width * channels, channels)):
        for x in range(width):
            p = line[x * channels:(x + 1) * channels]
            image.pixels[y * width + x] = (p[0], p[1], p[2], p[3] if channels == 4 else 255)
    return image


def _chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))


def _write(path, width, height, depth, colour, rows, palette=None):
    raw = b''.join(b'\x00' + row for row in rows)
    out = b'\x89PNG\r\n\x1a\n'
    out += _chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, depth, colour, 0, 0, 0))
    if palette:
        out += _chunk(b'PLTE', b''.join(bytes(c) for c in palette))
    out += _chunk(b'IDAT', zlib.compress(raw, 9))
    out += _chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(out)


def write_rgb(path, image):
    rows = []
    for y in range(image.height):
        row = bytearray()
        for r, g, b, _ in image.pixels[y * image.width:(y + 1) * image.width]:
            row += bytes((r, g, b))
        rows.append(bytes(row))
    _write(path, image.width, image.height, 8, 2, rows)


def write_rgba(path, image):
    rows = [b''.join(bytes(p) for p in image.pixels[y * image.width:(y + 1) * image.width])
            for y in range(image.height)]
    _write(path, image.width, image.height, 8, 6, rows)


def write_mask(path, width, height, drawn):
    """A 1-bit palette PNG: index 0 white (left transparent), index 1 black (drawn).

    drawn(x, y) tells whether a pixel is drawn.
    """
    rows = []
    for y in range(height):
        row = bytearray((width + 7) // 8)
        for x in range(width):
            if drawn(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
    _write(path, width, height, 1, 3, rows, palette=[(255, 255, 255), (0, 0, 0)])
