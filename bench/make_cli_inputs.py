#!/usr/bin/env python3
"""Inputs for bench/command_line.sh: model files of 100000 random points, a drawing, and a
picture of 8000 x 8000 pixels in a small file."""
import random
import struct
import sys
import zlib
from pathlib import Path

from PIL import Image, ImageDraw


def model_file(seed, count=100000):
    rng = random.Random(seed)
    records = bytearray()
    colours = bytearray()
    for _ in range(count):
        records += struct.pack("<3d", rng.randint(0, 100), rng.randint(-95, 95), rng.randint(-95, 95))
        colours += struct.pack("<i", rng.randrange(1 << 24))
    block = b"ZCOL" + struct.pack("<i", count) + bytes(colours)
    return struct.pack("<i", count) + bytes(records) + block + struct.pack("<I", zlib.crc32(block))


def main():
    folder = Path(sys.argv[1])
    models = int(sys.argv[2])
    (folder / "models").mkdir(parents=True, exist_ok=True)
    first = model_file(0)
    # Every model differs in its first point, so no file is a copy of another.
    for i in range(models):
        data = bytearray(first)
        data[4:12] = struct.pack("<d", float(i))
        (folder / "models" / f"m{i:03}.chs").write_bytes(data)
    drawing = Image.new("RGB", (400, 300), "white")
    pen = ImageDraw.Draw(drawing)
    for i in range(0, 400, 6):
        pen.line([(i, 0), (400 - i, 300)], fill=(i % 200, 40, 120), width=2)
    drawing.save(folder / "drawing.png")
    # 8000 x 8000 pixels in a file of a few kilobytes: what one accepted picture may cost.
    sparse = Image.new("RGBA", (8000, 8000), (0, 0, 0, 0))
    ImageDraw.Draw(sparse).line([(0, 0), (7999, 7999)], fill=(20, 40, 160, 255))
    sparse.save(folder / "sparse.png")


main()
