#!/usr/bin/python3
"""Renders an exported STL relief to a PNG picture for the README, with matplotlib
(Debian's python3-matplotlib) and meshio reading the file, not ZUVORAK's code.

Usage: render_relief.py RELIEF.stl PICTURE.png
"""
import sys

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


def main(source, target):
    mesh = meshio.read(source, file_format='stl')
    triangles = mesh.points[mesh.cells_dict['triangle']]
    low, high = mesh.points.min(axis=0), mesh.points.max(axis=0)
    figure = plt.figure(figsize=(6, 4.5), dpi=100)
    axes = figure.add_subplot(projection='3d')
    axes.add_collection3d(Poly3DCollection(triangles, facecolors=shaded(triangles),
                                           edgecolors='none'))
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
