#!/usr/bin/python3
"""Renders an exported relief to a PNG picture for the README, with matplotlib (Debian's
python3-matplotlib): an STL read by meshio in one colour, a 3MF read with the standard library's
zipfile and ElementTree, each triangle in its part's colour. Not ZUVORAK's code.

Usage: render_relief.py RELIEF.stl|RELIEF.3mf PICTURE.png
"""
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

import matplotlib

matplotlib.use('Agg')
import matplotlib.pyplot as plt  # noqa: E402
import meshio  # noqa: E402
import numpy  # noqa: E402
from mpl_toolkits.mplot3d.art3d import Poly3DCollection  # noqa: E402


def shaded(triangles, colour=(0.85, 0.55, 0.25)):
    """Each face's colour, lit from the upper left front."""
    normals = numpy.cross(triangles[:, 1] - triangles[:, 0], triangles[:, 2] - triangles[:, 0])
    normals /= numpy.linalg.norm(normals, axis=1)[:, None]
    light = numpy.array([-0.4, 0.5, 0.75])
    light /= numpy.linalg.norm(light)
    brightness = 0.35 + 0.65 * numpy.clip(normals @ light, 0, 1)
    return brightness[:, None] * numpy.array(colour)


def stl(source):
    mesh = meshio.read(source, file_format='stl')
    triangles = mesh.points[mesh.cells_dict['triangle']]
    return triangles, shaded(triangles)


def three_mf(source):
    """Every object's triangles, each coloured by its own property (p1) or its object's
    (pindex) in the colour group or base materials that pid names."""
    core = '{http://schemas.microsoft.com/3dmanufacturing/core/2015/02}'
    model = ElementTree.fromstring(zipfile.ZipFile(source).read('3D/3dmodel.model'))
    palettes = {}
    for group in model.iter():
        if group.tag.endswith('}basematerials') or group.tag.endswith('}colorgroup'):
            palettes[group.get('id')] = [
                [int((c.get('displaycolor') or c.get('color'))[k:k + 2], 16) / 255 for k in (1, 3, 5)]
                for c in group]
    corners, colours = [], []
    for part in model.iter(core + 'object'):
        vertices = [[float(v.get(a)) for a in 'xyz'] for v in part.iter(core + 'vertex')]
        for t in part.iter(core + 'triangle'):
            corners.append([vertices[int(t.get(v))] for v in ('v1', 'v2', 'v3')])
            palette = palettes[t.get('pid', part.get('pid'))]
            colours.append(palette[int(t.get('p1', part.get('pindex')))])
    triangles = numpy.array(corners)
    return triangles, shaded(triangles, 1) * (0.15 + 0.85 * numpy.array(colours))


def main(source, target):
    triangles, faces = three_mf(source) if source.endswith('.3mf') else stl(source)
    corners = triangles.reshape(-1, 3)
    low, high = corners.min(axis=0), corners.max(axis=0)
    figure = plt.figure(figsize=(6, 4.5), dpi=100)
    axes = figure.add_subplot(projection='3d')
    # matplotlib orders faces by their middles, which puts the plate's long top over the
    # columns: the plate (every face no higher than its top) is drawn first, the columns over it.
    highest = triangles[:, :, 2].max(axis=1)
    plate_top = highest[highest > low[2]].min()
    axes.computed_zorder = False
    for layer, chosen in enumerate((highest <= plate_top, highest > plate_top)):
        axes.add_collection3d(Poly3DCollection(triangles[chosen], facecolors=faces[chosen],
                                               edgecolors='none', zorder=layer))
    for set_limits, a, b in zip((axes.set_xlim, axes.set_ylim, axes.set_zlim), low, high):
        set_limits(a, b)
    axes.set_box_aspect(high - low)
    axes.view_init(elev=35, azim=-60)
    axes.set_xlabel('x (mm)')
    axes.set_ylabel('y (mm)')
    axes.set_zlabel('z (mm)')
    figure.tight_layout()
    figure.savefig(target)


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
