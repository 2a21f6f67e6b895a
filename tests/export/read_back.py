#!/usr/bin/env python3
"""Reads an exported file with readers other than ZUVORAK's and prints what they see as JSON.

Usage: read_back.py ply|xyz|stl|glb FILE. PLY and STL go through meshio, XYZ through
numpy, the glb's chunks and accessors through json and struct.
"""
import json
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
        return a, [list(values[i : i + 3]) for i in range(0, len(values), 3)]

    primitive = document["meshes"][0]["primitives"][0]
    position, points = read(primitive["attributes"]["POSITION"])
    _, colours = read(primitive["attributes"]["COLOR_0"])
    return {
        "header": [magic.decode(), version, length == len(data)],
        "chunks": [kind for kind, _ in chunks],
        "asset": document["asset"],
        "meshes": len(document["meshes"]),
        "primitives": len(document["meshes"][0]["primitives"]),
        "mode": primitive["mode"],
        "min": position["min"],
        "max": position["max"],
        "points": points,
        "colours": [[srgb_byte(c) for c in colour] for colour in colours],
    }


if __name__ == "__main__":
    kind, path = sys.argv[1], sys.argv[2]
    print(json.dumps({"ply": ply, "xyz": xyz, "stl": stl, "glb": glb}[kind](path)))
