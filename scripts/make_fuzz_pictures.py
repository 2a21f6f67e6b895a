#!/usr/bin/python3
"""Writes the picture fuzzer's seed files to fuzz/pictures: small valid and
broken pictures in every format the capture window opens. The bitmaps are
written byte by byte, as PIL writes none of the rarer variants."""

import io
import struct
import sys
from pathlib import Path

from PIL import Image

OUT = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent.parent / 'fuzz' / 'pictures')
W, H = 8, 6


def colour(x, y):
    return (x * 32) % 256, (y * 40) % 256, ((x + y) * 20) % 256


def bitmap(bits, rows, compression=0, header=40, height=H, palette=None, masks=None, width=W):
    """A BMP file: rows of pixel bytes, bottom-up unless height < 0."""
    pixels = b''.join(rows) if isinstance(rows, list) else rows
    palette = palette or []
    if header == 12:
        info = struct.pack('<IHHHH', 12, width, height, 1, bits)
        table = b''.join(bytes((b, g, r)) for r, g, b in palette)
    else:
        info = struct.pack('<IiiHHIIiiII', header, width, height, 1, bits, compression,
                           len(pixels), 2835, 2835, len(palette), 0)
        if masks:
            info += struct.pack('<' + 'I' * len(masks), *masks)
        info = info.ljust(header if header > 40 else len(info), b'\0')
        table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + len(info) + len(table)
    return b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset) + info + table + pixels


def row(values, bits):
    """One padded row of palette indices or packed pixels."""
    if bits >= 8:
        data = b''.join(values)
    else:
        per = 8 // bits
        data = bytes(
            sum(v << (8 - bits * (i + 1)) for i, v in enumerate(values[k:k + per]))
            for k in range(0, len(values), per))
    return data + b'\0' * (-len(data) % 4)


def bitmaps():
    grey = [(i * 17, i * 17, i * 17) for i in range(16)]
    mono = [(0, 0, 0), (255, 255, 255)]
    full = [colour(i % 8, i // 8) for i in range(256)]
    indices = lambda count: [[(x + y) % count for x in range(W)] for y in range(H)]
    rgb24 = [row([bytes(colour(x, y)[::-1]) for x in range(W)], 24) for y in range(H)]
    files = {
        'bmp-1bit.bmp': bitmap(1, [row(r, 1) for r in indices(2)], palette=mono),
        'bmp-4bit.bmp': bitmap(4, [row(r, 4) for r in indices(16)], palette=grey),
        'bmp-8bit.bmp': bitmap(8, [row([bytes([v]) for v in r], 8) for r in indices(64)],
                               palette=full),
        'bmp-16bit-555.bmp': bitmap(16, [row([struct.pack('<H', (x << 10) | (y << 5) | x + y)
                                              for x in range(W)], 16) for y in range(H)]),
        'bmp-16bit-565-bitfields.bmp': bitmap(
            16, [row([struct.pack('<H', (x << 11) | (y << 5) | x) for x in range(W)], 16)
                 for y in range(H)], compression=3, masks=(0xF800, 0x07E0, 0x001F)),
        'bmp-24bit.bmp': bitmap(24, rgb24),
        'bmp-24bit-top-down.bmp': bitmap(24, rgb24, height=-H),
        'bmp-32bit.bmp': bitmap(32, [row([bytes(colour(x, y)[::-1]) + b'\0' for x in range(W)], 32)
                                     for y in range(H)]),
        'bmp-32bit-bitfields.bmp': bitmap(
            32, [row([bytes(colour(x, y)[::-1]) + b'\xff' for x in range(W)], 32)
                 for y in range(H)], compression=3, masks=(0xFF0000, 0xFF00, 0xFF)),
        'bmp-v4-header.bmp': bitmap(32, [row([bytes(colour(x, y)[::-1]) + b'\x80' for x in range(W)],
                                             32) for y in range(H)],
                                    compression=3, header=108,
                                    masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000)),
        'bmp-v5-header.bmp': bitmap(24, rgb24, header=124),
        'bmp-core-header-24bit.bmp': bitmap(24, rgb24, header=12),
        'bmp-core-header-8bit.bmp': bitmap(8, [row([bytes([v]) for v in r], 8) for r in indices(16)],
                                           header=12, palette=grey),
        'bmp-rle8.bmp': bitmap(8, bytes.fromhex('0803 0005 01020304 0500 0000 0204 0002 0301'
                                                 '0207 0000 0001'), compression=1, palette=full),
        'bmp-rle8-stops-early.bmp': bitmap(8, bytes.fromhex('0305'), compression=1, palette=full),
        'bmp-rle8-runs-past-row.bmp': bitmap(8, bytes.fromhex('1404 0000 0209 0001'),
                                             compression=1, palette=full),
        'bmp-rle8-delta-past-edge.bmp': bitmap(8, bytes.fromhex('0201 0002 0950 0203 0001'),
                                               compression=1, palette=full),
        'bmp-rle4.bmp': bitmap(4, bytes.fromhex('0812 0005 12345000 0000 0256 0002 0301 0278 0001'),
                               compression=2, palette=grey),
        'bmp-rle4-stops-early.bmp': bitmap(4, bytes.fromhex('0312'), compression=2, palette=grey),
        'bmp-rle4-runs-past-row.bmp': bitmap(4, bytes.fromhex('1134 0000 0256 0001'),
                                             compression=2, palette=grey),
        'bmp-rows-cut-short.bmp': bitmap(24, rgb24)[:-40],
        'bmp-huge-size.bmp': bitmap(24, rgb24, width=40000, height=40000),
        'bmp-zero-width.bmp': bitmap(24, rgb24, width=0),
        'bmp-negative-width.bmp': bitmap(24, rgb24, width=-8),
        'bmp-offset-past-end.bmp': bitmap(24, rgb24)[:10] + struct.pack('<I', 99999)
                                   + bitmap(24, rgb24)[14:],
        'bmp-palette-count-huge.bmp': bitmap(8, [row([bytes([v]) for v in r], 8)
                                                 for r in indices(4)], palette=full[:4])[:46]
                                      + struct.pack('<I', 0x7FFFFFFF)
                                      + bitmap(8, [row([bytes([v]) for v in r], 8)
                                                   for r in indices(4)], palette=full[:4])[50:],
        'bmp-signature-only.bmp': b'BM',
    }
    return files


def pil_files():
    picture = Image.new('RGB', (W * 2, H * 2))
    picture.putdata([colour(x, y) for y in range(H * 2) for x in range(W * 2)])
    frames = [picture, picture.transpose(Image.Transpose.FLIP_LEFT_RIGHT)]
    variants = {
        'png-rgb.png': (picture, 'PNG', {}),
        'png-palette.png': (picture.convert('P'), 'PNG', {}),
        'png-grey-16bit.png': (picture.convert('L').convert('I'), 'PNG', {}),
        'png-rgba.png': (picture.convert('RGBA'), 'PNG', {}),
        'jpeg-baseline.jpg': (picture, 'JPEG', {'quality': 80}),
        'jpeg-progressive.jpg': (picture, 'JPEG', {'progressive': True}),
        'jpeg-grey.jpg': (picture.convert('L'), 'JPEG', {}),
        'gif-still.gif': (picture.convert('P'), 'GIF', {}),
        'gif-animated.gif': (frames[0], 'GIF', {'save_all': True, 'append_images': frames[1:]}),
        'gif-transparent.gif': (picture.convert('P'), 'GIF', {'transparency': 0}),
        'tiff-raw.tif': (picture, 'TIFF', {}),
        'tiff-lzw.tif': (picture, 'TIFF', {'compression': 'tiff_lzw'}),
        'tiff-packbits.tif': (picture, 'TIFF', {'compression': 'packbits'}),
        'webp-lossy.webp': (picture, 'WEBP', {'quality': 60}),
        'webp-lossless.webp': (picture, 'WEBP', {'lossless': True}),
    }
    files = {}
    for name, (image, kind, options) in variants.items():
        data = io.BytesIO()
        image.save(data, kind, **options)
        files[name] = data.getvalue()
    for name in ['png-rgb.png', 'jpeg-baseline.jpg', 'gif-still.gif', 'tiff-lzw.tif',
                 'webp-lossy.webp']:
        stem, suffix = name.rsplit('.', 1)
        files[f'{stem}-cut-short.{suffix}'] = files[name][:len(files[name]) * 2 // 3]
    broken_crc = bytearray(files['png-rgb.png'])
    broken_crc[29] ^= 0xFF  # inside the IHDR CRC
    files['png-bad-crc.png'] = bytes(broken_crc)
    return files


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for name, data in {**bitmaps(), **pil_files()}.items():
        (OUT / name).write_bytes(data)


if __name__ == '__main__':
    main()
