#!/usr/bin/env python3
"""Reads a file ZUVORAK wrote with readers other than ZUVORAK's and prints what they see as JSON.

Usage: read_back.py KIND FILE [PIXELS]. PLY and STL go through meshio, XYZ through numpy, the glb
through json, struct and the Khronos validator, pictures (one file, an animation or a folder of
frames) through PIL, which writes every frame's RGBA pixels to PIXELS, and a 3MF through assimp and
the slicer it is laid out for (plain: none). A missing reader is named after "No module named".
"""
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
import zipfile


def ply(path):
    """The header's vertex count as written (meshio takes a wrong one), then meshio's points."""
    import meshio
    import numpy

    data = open(path, "rb").read()
    count = int(re.search(rb"^element vertex (\d+)$", data[:data.index(b"end_header")], re.M)[1])
    mesh = meshio.read(path, file_format="ply")
    colours = numpy.stack([mesh.point_data[c] for c in ("red", "green", "blue")], axis=1)
    # Debian's meshio hands binary uchar properties over as int8.
    return {"vertices": count, "points": mesh.points.tolist(),
            "colours": (colours.astype(int) & 0xFF).tolist()}


def xyz(path):
    import numpy

    rows = numpy.loadtxt(path, ndmin=2)
    return {"points": rows[:, :3].tolist(), "colours": rows[:, 3:].astype(int).tolist()}


def stl(path):
    import meshio

    mesh = meshio.read(path, file_format="stl")  # corners in the same place are one vertex
    return {"vertices": mesh.points.tolist(), "triangles": mesh.cells_dict["triangle"].tolist()}


def glb(path):
    data = open(path, "rb").read()
    magic, version, length, size = struct.unpack_from("<4sIII", data, 0)  # then the JSON chunk's
    document, binary = json.loads(data[20 : 20 + size]), data[28 + size :]  # and the binary's

    def read(accessor):
        a = document["accessors"][accessor]
        view = document["bufferViews"][a["bufferView"]]
        assert a["componentType"] == 5126 and a["type"] == "VEC3", a
        start = view.get("byteOffset", 0) + a.get("byteOffset", 0)
        values = struct.unpack_from("<%df" % (3 * a["count"]), binary, start)
        return [list(values[i : i + 3]) for i in range(0, len(values), 3)]

    primitive = document["meshes"][0]["primitives"][0]
    position = document["accessors"][primitive["attributes"]["POSITION"]]
    # The Khronos validator's issues, where scripts/install-gltf-validator.sh put it.
    validator = os.path.join(os.path.dirname(__file__), "../../.cache/gltf-validator/node_modules/gltf-validator")
    validate = ("require(process.argv[1]).validateBytes(new Uint8Array(require('fs').readFileSync("
                "process.argv[2]))).then((report) => console.log(JSON.stringify(report.issues)))")
    found = shutil.which("node") and os.path.isdir(validator)
    return {"issues": json.loads(run("node", "-e", validate, validator, path)) if found else None,
            "header": [magic.decode(), version, length == len(data)], "mode": primitive["mode"],
            "bounds": [position["min"], position["max"]], "points": read(primitive["attributes"]["POSITION"]),
            "colours": [[round(255 * (c * 12.92 if c <= 0.0031308 else 1.055 * c ** (1 / 2.4) - 0.055))
                         for c in colour] for colour in read(primitive["attributes"]["COLOR_0"])]}


def run(program, *arguments):
    if not shutil.which(program):
        sys.exit("No module named " + program)
    done = subprocess.run([program, *arguments], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(done.stdout + done.stderr)
    return done.stdout


def prusa(path):
    """The objects PrusaSlicer lists, and the tools and extruder colours of its G-code."""
    objects = len(re.findall(r"^\[.*\]$", run("prusa-slicer", "--info", path), re.M))
    with tempfile.TemporaryDirectory() as folder:
        run("prusa-slicer", "--export-gcode", path, "--output", os.path.join(folder, "out.gcode"))
        text = open(os.path.join(folder, "out.gcode")).read()
    tools = sorted({int(t) + 1 for t in re.findall(r"^T(\d+)", text, re.M)})
    colours = re.search(r"^; extruder_colour = (.*)$", text, re.M)[1].split(";")
    return {"objects": objects, "extruders": tools, "colours": colours}


def cura(path):
    """Savitar's build items, and the extruder numbers of the first one's parts; no colours."""
    import Savitar

    nodes = Savitar.ThreeMFParser().parse(zipfile.ZipFile(path).read("3D/3dmodel.model"))
    settings = [part.getSettings().get("extruder_nr") for part in nodes.getSceneNodes()[0].getChildren()]
    return {"objects": len(nodes.getSceneNodes()),
            "extruders": [int(getattr(setting, "value", setting)) + 1 for setting in settings]}


def bambu(path):
    """As Bambu Studio's and OrcaSlicer's bbs_3mf.cpp read it: a build item is an object, each mesh a
    part, its extruder (from 1) in Metadata/model_settings.config by object and part id, its colour
    an m:colorgroup's; an Application of theirs or PrusaSlicer's would take another path."""
    package = zipfile.ZipFile(path)
    core = "{http://schemas.microsoft.com/3dmanufacturing/core/2015/02}"
    group = "{http://schemas.microsoft.com/3dmanufacturing/material/2015/02}colorgroup"
    model = ElementTree.fromstring(package.read("3D/3dmodel.model"))
    problems = ["an Application of another slicer: " + entry.text
                for entry in model.iter(core + "metadata") if entry.get("name") == "Application"
                and re.match(r"BambuStudio|OrcaSlicer|PrusaSlicer", entry.text or "")]
    if any(name.startswith("3D/") and name != "3D/3dmodel.model" for name in package.namelist()):
        problems.append("models outside the root model")
    groups = {g.get("id"): [c.get("color") for c in g] for g in model.iter(group)}
    objects = {o.get("id"): o for o in model.iter(core + "object")}
    items = list(model.iter(core + "item"))
    settings = ElementTree.fromstring(package.read("Metadata/model_settings.config"))
    setting = settings.find("object[@id='%s']" % items[0].get("objectid"))  # None fails below
    seen = {"objects": len(items), "problems": problems, "extruders": [], "colours": []}
    for component in objects[items[0].get("objectid")].iter(core + "component"):
        if component.get("{http://schemas.microsoft.com/3dmanufacturing/production/2015/06}path"):
            problems.append("a component in another model")
        mesh = objects[component.get("objectid")]
        extruder = setting.find("part[@id='%s']/metadata[@key='extruder']" % mesh.get("id"))
        colours = set()
        for triangle in mesh.iter(core + "triangle"):
            colour, index = groups.get(triangle.get("pid"), []), int(triangle.get("p1", -1))
            colours.add(colour[index] if 0 <= index < len(colour) else None)
        if None in colours or len(colours) != 1:
            problems.append("object %s: triangles without one colour" % mesh.get("id"))
        seen["extruders"].append(int(extruder.get("value")) if extruder is not None else 0)
        seen["colours"].append(min(c or "" for c in colours)[:7])
    return seen


def three_mf(kind, path):
    """assimp's meshes; then as the slicer reads the file: its objects, the extruder of each part
    counted from 1, their colours where the slicer keeps any, and what it would stumble on."""
    meshes = int(re.search(r"^Meshes:\s*(\d+)", run("assimp", "info", path), re.M)[1])
    slicer = {"plain": lambda path: {}, "prusa": prusa, "cura": cura, "bambu": bambu}[kind]
    return {"assimpMeshes": meshes, "problems": [], "colours": [], **slicer(path)}


def frames(path, pixels):
    from PIL import Image, ImageSequence

    names = sorted(os.listdir(path)) if os.path.isdir(path) else []
    seen = {"names": names, "formats": set(), "durations": [], "loop": None}
    with open(pixels, "wb") as out:
        for image in [Image.open(os.path.join(path, n)) for n in names] or ImageSequence.Iterator(Image.open(path)):
            out.write(image.convert("RGBA").tobytes())
            seen["formats"].add(image.format)
            seen["durations"].append(image.info.get("duration"))
            seen["loop"] = image.info.get("loop")
    seen["formats"] = sorted(seen["formats"])
    if seen["formats"] == ["BMP"]:
        seen["bits"] = open(path, "rb").read()[28]
    return seen


if __name__ == "__main__":
    kind, path = sys.argv[1], sys.argv[2]
    readers = {"ply": ply, "xyz": xyz, "stl": stl, "glb": glb}
    print(json.dumps(frames(path, sys.argv[3]) if kind == "frames" else readers[kind](path)
                     if kind in readers else three_mf(kind, path)))
