#!/usr/bin/python3
"""Writes the capture window's test pictures to fuzz/pictures, with PIL, not Qt, where they
also seed the picture fuzzer.

*-drawing* hold one colour drawing in every format the capture window opens, the same in
each; png-ink-on-transparent.png ink on transparent black, and bmp-ink-on-white.bmp
the same ink on white; *-grey-blocks* a drawing in greys
on 16-pixel blocks, which JPEG keeps exactly. The broken pictures are make_fuzz_pictures.py's.
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
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent.parent / 'fuzz' / 'pictures')
    still = drawing()
    moved = still.transpose(Image.Transpose.FLIP_LEFT_RIGHT)
    files = {
        'bmp-drawing.bmp': encoded(still.convert('RGB'), 'BMP'),
        'png-drawing.png': encoded(still, 'PNG'),
        'gif-drawing.gif': encoded(still, 'GIF'),
        'gif-drawing-animated.gif': encoded(still, 'GIF', save_all=True, append_images=[moved],
                                            duration=100),
        'tiff-drawing-lzw.tif': encoded(still.convert('RGB'), 'TIFF', compression='tiff_lzw'),
        'webp-drawing-lossless.webp': encoded(still.convert('RGB'), 'WEBP', lossless=True),
        'bmp-grey-blocks.bmp': encoded(greys(), 'BMP'),
        'jpeg-grey-blocks-exact.jpg': encoded(greys(), 'JPEG', quality=100, subsampling=0),
        'png-ink-on-transparent.png': encoded(transparent(), 'PNG'),
        'bmp-ink-on-white.bmp': encoded(Image.alpha_composite(
            Image.new('RGBA', (72, 52), (255, 255, 255, 255)), transparent()).convert('RGB'), 'BMP'),
    }
    for name, data in files.items():
        (out / name).write_bytes(data)


if __name__ == '__main__':
    main()
