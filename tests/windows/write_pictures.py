#!/usr/bin/python3
"""Writes the capture window's test pictures into a folder, with PIL, not Qt.

Usage: write_pictures.py FOLDER. drawing.* hold one colour drawing (transparent.png:
ink on transparent black), grey.* a drawing in greys on 16-pixel blocks, which JPEG
keeps exactly; broken.* are pictures cut short.
"""
import io
import sys
from pathlib import Path

from PIL import Image, ImageDraw

PALETTE = [(255, 255, 255), (200, 20, 20), (10, 30, 160), (0, 0, 0), (200, 200, 200),
           (191, 255, 255), (30, 140, 40)]


def drawing():
    picture = Image.new('P', (72, 52), 0)
    picture.putpalette([c for colour in PALETTE for c in colour])
    draw = ImageDraw.Draw(picture)
    draw.rectangle([5, 5, 20, 30], fill=1)
    draw.rectangle([30, 10, 45, 25], fill=2)
    draw.line([3, 40, 65, 40], fill=3)
    draw.rectangle([50, 5, 60, 15], fill=4)  # light grey: background
    draw.point([(25, 45), (26, 45)], fill=5)  # just dark enough
    return picture


def greys():
    picture = Image.new('RGB', (80, 48), (255, 255, 255))
    draw = ImageDraw.Draw(picture)
    for i, value in enumerate([0, 64, 128, 191, 192, 100, 30]):
        x, y = 16 * (i % 5), 16 * (i // 5)
        draw.rectangle([x, y, x + 15, y + 15], fill=(value, value, value))
    return picture


def transparent():
    picture = Image.new('RGBA', (72, 52), (0, 0, 0, 0))
    ImageDraw.Draw(picture).rectangle([20, 10, 29, 19], fill=(10, 30, 160, 255))
    return picture


def encoded(picture, kind, **options):
    data = io.BytesIO()
    picture.save(data, kind, **options)
    return data.getvalue()


def main():
    out = Path(sys.argv[1])
    still = drawing()
    moved = still.transpose(Image.Transpose.FLIP_LEFT_RIGHT)
    files = {
        'drawing.bmp': encoded(still.convert('RGB'), 'BMP'),
        'drawing.png': encoded(still, 'PNG'),
        'drawing.gif': encoded(still, 'GIF'),
        'animated.gif': encoded(still, 'GIF', save_all=True, append_images=[moved], duration=100),
        'drawing.tif': encoded(still.convert('RGB'), 'TIFF', compression='tiff_lzw'),
        'drawing.webp': encoded(still.convert('RGB'), 'WEBP', lossless=True),
        'grey.bmp': encoded(greys(), 'BMP'),
        'grey.jpg': encoded(greys(), 'JPEG', quality=100, subsampling=0),
        'transparent.png': encoded(transparent(), 'PNG'),
    }
    for name, source in [('broken.png', 'drawing.png'), ('broken.gif', 'drawing.gif'),
                         ('broken.tiff', 'drawing.tif'), ('broken.webp', 'drawing.webp')]:
        files[name] = files[source][:len(files[source]) * 2 // 3]
    # JPEG's tables fill most of a small file: cut it in the middle of its scan instead.
    jpeg = files['grey.jpg']
    scan = jpeg.index(b'\xff\xda')
    files['broken.jpeg'] = jpeg[:(scan + len(jpeg)) // 2]
    for name, data in files.items():
        (out / name).write_bytes(data)


if __name__ == '__main__':
    main()
