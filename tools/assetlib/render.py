"""Turns SVG text into pixels with rsvg-convert."""
import os
import subprocess
import tempfile

from . import png


def svg_to_image(svg, width, height, background=None):
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, 'in.svg')
        target = os.path.join(folder, 'out.png')
        with open(source, 'w', encoding='utf-8') as f:
            f.write(svg)
        command = ['rsvg-convert', '-w', str(width), '-h', str(height), '-o', target]
        if background:
            command += ['-b', background]
        subprocess.run(command + [source], check=True)
        return png.read(target)


def document(width, height, body, view_box=None):
    box = view_box or (0, 0, width, height)
    return ('<svg xmlns="http://www.w3.org/2000/svg" '
            f'width="{width}" height="{height}" viewBox="{" ".join(str(v) for v in box)}">\n'
            f'{body}\n</svg>\n')
