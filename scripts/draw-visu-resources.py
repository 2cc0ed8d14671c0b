#!/usr/bin/env python3
"""Draws the models and the picture the visualization reads from the module's
resources: head.cgr, eyes.cgr and joystick.cgr in our mesh format
(docs/scene-files.md) and VrcIGImage.bmp, a 24-bit BMP of a computer screen.

Scales: the eyes lie within 57 mm of the origin, the head within 200 mm of
(-100, 0, 0), the joystick within 500 mm of the origin. The picture is 240 by
130 pixels; its screen area spans 211 by 107 pixels from (14, 11), counted
from the bottom-left corner.

Run from the repository root: python3 scripts/draw-visu-resources.py
"""
import math
import struct

RESOURCES = "KORImmersiveConfiguration/resources"


def ellipsoid(centre, radii, rings=8, sectors=12):
    """Vertices and triangles (1-based) of an ellipsoid without degenerate faces."""
    cx, cy, cz = centre
    vertices = [(cx, cy, cz + radii[2])]
    for ring in range(1, rings):
        theta = math.pi * ring / rings
        for sector in range(sectors):
            phi = 2 * math.pi * sector / sectors
            vertices.append((cx + radii[0] * math.sin(theta) * math.cos(phi),
                             cy + radii[1] * math.sin(theta) * math.sin(phi),
                             cz + radii[2] * math.cos(theta)))
    vertices.append((cx, cy, cz - radii[2]))
    bottom = len(vertices)
    triangles = []
    ring_start = lambda ring: 2 + (ring - 1) * sectors
    for sector in range(sectors):
        nxt = (sector + 1) % sectors
        triangles.append((1, ring_start(1) + sector, ring_start(1) + nxt))
        last = ring_start(rings - 1)
        triangles.append((last + sector, bottom, last + nxt))
    for ring in range(1, rings - 1):
        a, b = ring_start(ring), ring_start(ring + 1)
        for sector in range(sectors):
            nxt = (sector + 1) % sectors
            triangles.append((a + sector, b + sector, b + nxt))
            triangles.append((a + sector, b + nxt, a + nxt))
    return vertices, triangles


def box(low, high):
    (x0, y0, z0), (x1, y1, z1) = low, high
    vertices = [(x, y, z) for x in (x0, x1) for y in (y0, y1) for z in (z0, z1)]
    faces = [(1, 2, 4, 3), (5, 7, 8, 6), (1, 5, 6, 2), (3, 4, 8, 7), (1, 3, 7, 5), (2, 6, 8, 4)]
    triangles = [t for a, b, c, d in faces for t in ((a, b, c), (a, c, d))]
    return vertices, triangles


def merge(*parts):
    vertices, triangles = [], []
    for part_vertices, part_triangles in parts:
        base = len(vertices)
        vertices += part_vertices
        triangles += [tuple(index + base for index in t) for t in part_triangles]
    return vertices, triangles


def write_mesh(name, comment, colour, mesh):
    vertices, triangles = mesh
    with open(f"{RESOURCES}/images/{name}", "w") as out:
        out.write("kormesh 1\n")
        out.write(f"# {comment}\n")
        out.write("color %d %d %d %d\n" % colour)
        for v in vertices:
            out.write("v %.3f %.3f %.3f\n" % v)
        for t in triangles:
            out.write("f %d %d %d\n" % t)


def write_picture(path):
    width, height = 240, 130
    screen_left, screen_bottom, screen_width, screen_height = 14, 11, 211, 107
    pixels = [[(70, 70, 76)] * width for _ in range(height)]  # rows from the bottom
    for y in range(height):
        for x in range(width):
            if x < 3 or y < 3 or x >= width - 3 or y >= height - 3:
                pixels[y][x] = (40, 40, 44)
            elif screen_left <= x < screen_left + screen_width and \
                    screen_bottom <= y < screen_bottom + screen_height:
                shade = 60 + (y - screen_bottom) * 100 // screen_height
                pixels[y][x] = (20, 40, shade + 80)
    pixels[5][width - 10] = pixels[5][width - 9] = (60, 200, 60)  # the power light
    stride = (width * 3 + 3) // 4 * 4
    data = b""
    for y in range(height):
        row = b"".join(struct.pack("BBB", b, g, r) for r, g, b in pixels[y])
        data += row + b"\0" * (stride - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + data)


write_mesh("head.cgr", "A head: an ellipsoid about (-100, 0, 0), the eyes at the origin.",
           (230, 190, 160, 255), ellipsoid((-100, 0, 0), (110, 80, 120)))
write_mesh("eyes.cgr", "Two eyes 57 apart on the y axis, looking along x.", (40, 40, 40, 255),
           merge(ellipsoid((0, 28.5, 0), (12, 12, 12), 6, 8),
                 ellipsoid((0, -28.5, 0), (12, 12, 12), 6, 8)))
write_mesh("joystick.cgr", "A hand device: a base and a stick along z.", (60, 60, 160, 255),
           merge(box((-60, -50, -20), (60, 50, 10)), box((-12, -12, 10), (12, 12, 180))))
write_picture(f"{RESOURCES}/images/VrcIGImage.bmp")
