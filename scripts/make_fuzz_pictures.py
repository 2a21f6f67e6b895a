#!/usr/bin/python3
"""Writes the picture fuzzer's seed files to fuzz/pictures: small valid and
broken pictures in every format the capture window opens. The bitmaps are
written byte by byte, as PIL writes none of the rarer variants. The same files
are tst_surface's picture table; each trap's name says what it holds."""

import io
import struct
import sys
import zlib
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
        'bmp-rle8-delta-past-edge.bmp': bitmap(8, bytes.fromhex('0201 0002 0950 0203 0001'),
                                               compression=1, palette=full),
        'bmp-rle4.bmp': bitmap(4, bytes.fromhex('0812 0005 12345000 0000 0256 0002 0301 0278 0001'),
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


def saved(image, kind, **options):
    data = io.BytesIO()
    image.save(data, kind, **options)
    return data.getvalue()


def png(width, height, depth, colour_type, pixel):
    """A PNG of one repeated pixel, written by hand: PIL writes no 16-bit RGBA."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    rows = (b'\0' + pixel * width) * height
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, depth, colour_type, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))


def traps():
    """Pictures that look odd but are whole, and broken ones that look whole."""
    ramp = [(i, i, 0) for i in range(256)]  # never white, so a pixel left unset shows
    rle = lambda bits, stream: bitmap(bits, bytes.fromhex(stream), compression=1 if bits == 8 else 2,
                                      height=4, palette=ramp[:1 << bits])
    noisy = Image.new('RGB', (64, 64))
    noisy.putdata([(i * 7 % 256, i * 13 % 256, i % 256) for i in range(64 * 64)])
    jpeg = saved(noisy, 'JPEG')
    scan = jpeg.index(b'\xff\xda')
    scan_header = jpeg[scan:scan + 2 + struct.unpack_from('>H', jpeg, scan + 2)[0]]
    frame = jpeg.index(b'\xff\xc0') + 5  # after the marker, length and precision
    grey = saved(Image.new('RGB', (64, 64), (128, 128, 128)), 'JPEG')
    rgb24 = lambda width, height: [row([bytes(colour(x, y)[::-1]) for x in range(width)], 24)
                                   for y in range(height)]
    clear = Image.new('RGBA', (16, 12), (0, 0, 0, 0))
    clear_gif = Image.new('P', (16, 12), 0)
    clear_gif.putpalette([0, 0, 0, 255, 255, 255])
    return {
        'bmp-alpha-mask-all-zero.bmp': bitmap(32, [row([b'\0\0\xff\0'] * 4, 32)] * 4, width=4,
                                              height=4, compression=3, header=108,
                                              masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000,
                                                     0x73524742)),
        'bmp-rle8-stops-early.bmp': rle(8, '0305'),
        'bmp-rle8-delta.bmp': rle(8, '0207 0002 0301 0209 0001'),
        'bmp-rle8-runs-past-row.bmp': rle(8, '0c04 0000 0209 0001'),
        'bmp-rle4-stops-early.bmp': rle(4, '0312'),
        'bmp-rle4-delta.bmp': rle(4, '0256 0002 0301 0278 0001'),
        'bmp-rle4-runs-past-row.bmp': rle(4, '0b34 0000 0256 0001'),
        'bmp-top-down-rows-cut-short.bmp': bitmap(24, rgb24(40, 30), width=40, height=-30)[:-3 * 120],
        'bmp-narrow-padded-rows-cut-short.bmp': bitmap(24, rgb24(3, 10), width=3, height=10)[:-2 * 12],
        'bmp-narrow-top-down.bmp': bitmap(24, rgb24(3, 10), width=3, height=-10),
        'bmp-header-16000x16000.bmp': bitmap(24, rgb24(4, 4), width=16000, height=16000),
        'mng-no-picture.mng': bytes.fromhex('8a4d4e470d0a1a0a0000000000000000ffffff0055000000aa000000'),
        'gif-frame-65535x8192-on-16x16.gif': bytes.fromhex(
            '474946383961' '10001000000000' '2c00000000ffff002080' 'ffffff000000' '02024c01003b'),
        'jpeg-stray-bytes-before-segment.jpg': grey.replace(b'\xff\xdb', b'\0\0\xff\xdb', 1),
        'jpeg-cut-at-half-with-end-marker.jpg': jpeg[:len(jpeg) // 2] + b'\xff\xd9',
        'jpeg-header-1000x1000-over-64x64.jpg': jpeg[:frame] + struct.pack('>HH', 1000, 1000)
                                                + jpeg[frame + 4:],
        'jpeg-501-scans.jpg': jpeg[:-2] + scan_header * 500 + jpeg[-2:],
        # (10, 20, 30) at half alpha: 12 MB decoded at 16 bits, 4 MB at 8.
        'png-16bit-1000x1000-half-transparent.png': png(1000, 1000, 16, 6,
                                                        struct.pack('>4H', 2570, 5140, 7710, 32896)),
        'png-all-transparent.png': saved(clear, 'PNG'),
        'gif-all-transparent.gif': saved(clear_gif, 'GIF', transparency=0),
        'webp-all-transparent.webp': saved(clear, 'WEBP', lossless=True, exact=True),
    }


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for name, data in {**bitmaps(), **pil_files(), **traps()}.items():
        (OUT / name).write_bytes(data)


if __name__ == '__main__':
    main()
