"""The application icon in the hicolor theme's sizes, for installing beside the program."""
import os

import pictures
from assetlib import png

SIZES = (16, 24, 32, 48, 64, 128, 256)
NAME = 'hourling'


def make(folder):
    """Writes hicolor/<size>x<size>/apps/hourling.png for each size and the scalable SVG."""
    for size in SIZES:
        apps = os.path.join(folder, 'hicolor', f'{size}x{size}', 'apps')
        os.makedirs(apps, exist_ok=True)
        png.write_rgba(os.path.join(apps, NAME + '.png'), pictures.main_icon(size))
    apps = os.path.join(folder, 'hicolor', 'scalable', 'apps')
    os.makedirs(apps, exist_ok=True)
    with open(os.path.join(apps, NAME + '.svg'), 'w', encoding='utf-8') as f:
        f.write(pictures.main_icon_svg(256))
