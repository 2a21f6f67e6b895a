#!/usr/bin/env python3
"""Reads a file ZUVORAK wrote with readers other than ZUVORAK's and prints what they see as JSON.

Usage: read_back.py ply|xyz|stl|glb|3mf|frames FILE [PIXELS]. PLY and STL go through meshio,
XYZ through numpy, the glb's chunks and accessors through json and struct, the 3MF's parts
through zipfile, pictures (one file, an animation or a folder of frames) through PIL, which
writes every frame's RGBA pixels to PIXELS.
"""
import json
import os
import struct
import sys


def ply(path):
    import meshio
    import numpy

    mesh = meshio.read(path, file_format="ply")
    colours = numpy.stack([mesh.point_data[c] for c in ("red", "green", "blue")], axis=1)
    # Debian's meshio hands binary uchar properties over as int8.
    return {"points": mesh.points.tolist(), "colours": (colours.astype(int) & 0xFF).tolist()}


def xyz(path):
    import numpy

    rows = numpy.loadtxt(path, ndmin=2)
    return {"points": rows[:, :3].tolist(), "colours": rows[:, 3:].astype(int).tolist()}


def stl(path):
    import meshio

    mesh = meshio.read(path, file_format="stl")
    triangles = mesh.cells_dict["triangle"]
    return {"triangles": mesh.points[triangles].tolist()}


def srgb_byte(linear):
    value = linear * 12.92 if linear <= 0.0031308 else 1.055 * linear ** (1 / 2.4) - 0.055
    return round(value * 255)


def glb(path):
    data = open(path, "rb").read()
    magic, version, length = struct.unpack_from("<4sII", data, 0)
    chunks, at = [], 12
    while at < len(data):
        size, kind = struct.unpack_from("<I4s", data, at)
        chunks.append((kind.decode().rstrip("\0"), data[at + 8 : at + 8 + size]))
        at += 8 + size
    document = json.loads(chunks[0][1])
    binary = chunks[1][1]

    def read(accessor):
        a = document["accessors"][accessor]
        view = document["bufferViews"][a["bufferView"]]
        assert a["componentType"] == 5126 and a["type"] == "VEC3", a
        start = view.get("byteOffset", 0) + a.get("byteOffset", 0)
        values = struct.unpack_from("<%df" % (3 * a["count"]), binary, start)
        return [list(values[i : i + 3]) for i in range(0, len(values), 3)]

    primitive = document["meshes"][0]["primitives"][0]
    position = document["accessors"][primitive["attributes"]["POSITION"]]
    return {
        "header": [magic.decode(), version, length == len(data)],
        "mode": primitive["mode"],
        "bounds": [position["min"], position["max"]],
        "points": read(primitive["attributes"]["POSITION"]),
        "colours": [[srgb_byte(c) for c in colour] for colour in read(primitive["attributes"]["COLOR_0"])],
    }


def three_mf(path):
    import zipfile

    return {"objects": zipfile.ZipFile(path).read("3D/3dmodel.model").count(b"<object")}


def frames(path, pixels):
    from PIL import Image

    names = sorted(os.listdir(path)) if os.path.isdir(path) else []

    def each():
        for name in names:
            yield Image.open(os.path.join(path, name))
        if not names:
            image = Image.open(path)
            for i in range(getattr(image, "n_frames", 1)):
                image.seek(i)
                yield image

    seen = {"names": names, "formats": set(), "sizes": [], "durations": [], "loop": None}
    with open(pixels, "wb") as out:
        for image in each():
            out.write(image.convert("RGBA").tobytes())
            seen["formats"].add(image.format)
            seen["sizes"].append(image.size)
            seen["durations"].append(image.info.get("duration"))
            seen["loop"] = image.info.get("loop")
    seen["formats"] = sorted(seen["formats"])
    if seen["formats"] == ["BMP"]:
        seen["bits"] = open(path, "rb").read()[28]
    return seen


if __name__ == "__main__":
    kind, path = sys.argv[1], sys.argv[2]
    readers = {"ply": ply, "xyz": xyz, "stl": stl, "glb": glb, "3mf": three_mf}
    print(json.dumps(frames(path, sys.argv[3]) if kind == "frames" else readers[kind](path)))
