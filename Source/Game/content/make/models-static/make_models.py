"""Builds the static meshes of the levels and writes them as FBX files.

usage: PYTHONHASHSEED=0 blender -b --factory-startup --python make_models.py -- OUTPUT_FOLDER [NAME_FILTER]
(the fixed hash seed makes the files byte for byte the same on every run). OUTPUT_FOLDER is normally Source/Game/content/data/game/models/StaticMeshes. Run only to regenerate:
the FBX files are committed. Units and axes: see blender/lib/fbx_export.py (1 unit = 1 cm, Blender X
right, Z up, Y into the screen). Every model is one mesh.
"""
import math
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree clean of caches

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "blender", "lib"))

import bmesh  # noqa: E402
import bpy  # noqa: E402
from mathutils import Vector  # noqa: E402

import atlas_layout as layout  # noqa: E402
import fbx_export  # noqa: E402

TILE = (100.0, 200.0, 100.0)  # Blender x, y (depth), z: the ground box


# --------------------------------------------------------------------------------------- building
def bm_from(vertices, faces):
    bm = bmesh.new()
    vs = [bm.verts.new(v) for v in vertices]
    for f in faces:
        bm.faces.new([vs[i] for i in f])
    return bm


def merge(target, source):
    """Appends the geometry of one bmesh to another."""
    mesh = bpy.data.meshes.new("tmp")
    source.to_mesh(mesh)
    target.from_mesh(mesh)
    bpy.data.meshes.remove(mesh)
    source.free()


def prism(profile, a0, a1, axis):
    """A closed solid: a polygon (list of 2D points) swept along one axis from a0 to a1.

    axis "x": points are (y, z); axis "y": points are (x, z).
    """
    def place(pt, a):
        return (a, pt[0], pt[1]) if axis == "x" else (pt[0], a, pt[1])

    n = len(profile)
    vertices = [place(p, a0) for p in profile] + [place(p, a1) for p in profile]
    faces = [list(range(n)), list(range(2 * n - 1, n - 1, -1))]
    for i in range(n):
        j = (i + 1) % n
        faces.append([i, j, n + j, n + i])
    return bm_from(vertices, faces)


def box(x0, y0, z0, x1, y1, z1, bevel=0.0):
    bm = prism([(x0, z0), (x1, z0), (x1, z1), (x0, z1)], y0, y1, "y")
    if bevel > 0:
        bmesh.ops.bevel(bm, geom=bm.edges[:], offset=bevel, segments=1, affect="EDGES", clamp_overlap=True)
    return bm


def cylinder(radius_bottom, radius_top, z0, z1, sides=8, centre=(0.0, 0.0), squash=1.0, twist=0.0):
    pts = []
    for k in range(sides):
        a = 2 * math.pi * k / sides + twist
        pts.append((math.cos(a), math.sin(a) * squash))
    vertices = [(centre[0] + radius_bottom * c, centre[1] + radius_bottom * s, z0) for c, s in pts]
    vertices += [(centre[0] + radius_top * c, centre[1] + radius_top * s, z1) for c, s in pts]
    faces = [list(range(sides - 1, -1, -1)), list(range(sides, 2 * sides))]
    for i in range(sides):
        j = (i + 1) % sides
        faces.append([i, j, sides + j, sides + i])
    return bm_from(vertices, faces)


def blob(radius, centre, scale=(1.0, 1.0, 1.0), seed=1, roughness=0.18, subdivisions=1):
    bm = bmesh.new()
    bmesh.ops.create_icosphere(bm, subdivisions=subdivisions, radius=radius)
    for i, v in enumerate(bm.verts):
        wobble = 1.0 + roughness * math.sin(seed * 12.9898 + i * 78.233) * math.sin(seed * 3.1 + i * 1.7)
        v.co = Vector((centre[0] + v.co.x * scale[0] * wobble, centre[1] + v.co.y * scale[1] * wobble,
                       centre[2] + v.co.z * scale[2] * wobble))
    return bm


def transformed(bm, fn):
    for v in bm.verts:
        v.co = Vector(fn(tuple(v.co)))
    return bm


def finish(bm):
    bmesh.ops.remove_doubles(bm, verts=bm.verts[:], dist=0.001)
    bmesh.ops.recalc_face_normals(bm, faces=bm.faces[:])
    bm.normal_update()
    return bm


# -------------------------------------------------------------------------------------- UV mapping
def tile_uv(pos, normal):
    """(s, t) of a point on a tile face, by the face's dominant axis; t is the height on side faces."""
    x, y, z = pos
    ax, ay, az = abs(normal.x), abs(normal.y), abs(normal.z)
    if az >= ax and az >= ay:
        return x / TILE[0], 1.0 - y / TILE[1]
    if ay >= ax:
        return x / TILE[0], z / TILE[2]
    return y / TILE[1], z / TILE[2]


def assign(bm, chooser, colour_fn=None):
    """Sets each corner's UV (and colour) from chooser(face) -> (rect, sheet size, uv function)."""
    uv_layer = bm.loops.layers.uv.new("UVMap")
    col_layer = bm.loops.layers.color.new("Col") if colour_fn else None
    for face in bm.faces:
        rect, sheet, fn = chooser(face)
        for loop in face.loops:
            s, t = fn(tuple(loop.vert.co), face.normal)
            s = min(max(s, 0.0), 1.0)
            t = min(max(t, 0.0), 1.0)
            loop[uv_layer].uv = layout.uv_in_rect(rect, sheet, s, t)
            if col_layer:
                loop[col_layer] = colour_fn(tuple(loop.vert.co), face.normal)


def cell(world, surface, variant=False):
    return layout.main_cell(world, surface, variant), layout.MAIN_SIZE


def export(bm, name, out):
    """Writes the model; returns its bounds in game axes ((min x, y, z), (max x, y, z))."""
    game = [(v.co.x, v.co.z, v.co.y) for v in bm.verts]
    bounds = (tuple(min(p[k] for p in game) for k in range(3)), tuple(max(p[k] for p in game) for k in range(3)))
    mesh = bpy.data.meshes.new(name)
    bm.to_mesh(mesh)
    bm.free()
    for polygon in mesh.polygons:
        polygon.use_smooth = False
    obj = bpy.data.objects.new(name, mesh)
    bpy.context.scene.collection.objects.link(obj)
    fbx_export.export_fbx(os.path.join(out, name + ".fbx"), [obj])
    bpy.data.objects.remove(obj)
    bpy.data.meshes.remove(mesh)
    return bounds


# ------------------------------------------------------------------------------------------- tiles
LIP = {1: dict(bottom=78, chamfer=7, sag=2.5), 2: dict(bottom=74, chamfer=12, sag=1.5),
       3: dict(bottom=80, chamfer=3, sag=3.5)}
BODY_FRONT = 6.0  # the body of a top tile and fill tiles stand back from the lip


def ground(world, variant=False):
    lip = LIP[world]
    c, b = lip["chamfer"], lip["bottom"]
    if world == 2:  # a rounded drift of sand
        arc = [(c - c * math.cos(a), 100 - c + c * math.sin(a)) for a in
               [math.pi / 2 * k / 4 for k in range(4, -1, -1)]]
        front = [(0.0, 100 - c)] + [(0.0, b + 3), (2.0, b)]
        top = [(y, z) for y, z in arc]
    else:
        top = [(c, 100.0), (0.0, 100 - c)]
        front = [(0.0, b + 2), (2.0, b)]
    profile = [(BODY_FRONT, 0.0), (200.0, 0.0), (200.0, 96.0), (196.0, 100.0)] + top + front + \
        [(BODY_FRONT, b)]
    bm = prism(dedupe(profile), 0.0, 100.0, "x")
    bmesh.ops.subdivide_edges(bm, edges=[e for e in bm.edges if abs(e.verts[0].co.x - e.verts[1].co.x) > 50],
                              cuts=7, use_grid_fill=False)
    sag = lip["sag"]
    for v in bm.verts:  # the lip's front edge waves, still meeting its neighbours at x = 0 and 100
        if v.co.y < BODY_FRONT - 0.5 and v.co.z > b - 0.5:
            v.co.y += sag * (1 - math.cos(2 * math.pi * v.co.x / 50.0)) * 0.5 * (1.0 if v.co.z < 99 else 0.4)
            v.co.z -= sag * 0.6 * math.sin(math.pi * v.co.x / 100.0) ** 2 * (v.co.z < b + 3)
    finish(bm)

    def choose(face):
        n = face.normal
        if n.z > 0.6:
            return cell(world, "ground_top") + (tile_uv,)
        if n.y > 0.6 or face.calc_center_median().z < 1:
            return cell(world, "fill_side") + (tile_uv,)
        return cell(world, "ground_side", variant) + (tile_uv,)

    def shade(pos, n):
        x, y, z = pos
        if z >= b - 0.5:
            return (1.0, 1.0, 1.0, 1.0)
        occlusion = 0.62 + 0.38 * min(1.0, (b - z) / 30.0)  # dark just under the lip
        return (occlusion, occlusion, occlusion, 1.0)

    assign(bm, choose, shade)
    return bm


def dedupe(points):
    out = []
    for p in points:
        if not out or (abs(out[-1][0] - p[0]) > 1e-6 or abs(out[-1][1] - p[1]) > 1e-6):
            out.append(p)
    if len(out) > 1 and out[0] == out[-1]:
        out.pop()
    return out


def fill(world, variant=False):
    bm = finish(box(0, BODY_FRONT, 0, 100, 200, 100))
    assign(bm, lambda f: cell(world, "fill_side", variant and f.normal.y < -0.6) + (tile_uv,))
    return bm


def platform(world):
    bm = finish(box(0, 0, 0, 100, 200, 100, bevel=5.0))

    def choose(face):
        if abs(face.normal.z) > 0.6:
            return cell(world, "platform_top") + (tile_uv,)
        return cell(world, "platform_side") + (tile_uv,)

    assign(bm, choose)
    return bm


def breakable_block(world):
    bm = finish(box(0, 0, 0, 100, 200, 100, bevel=7.0))
    # Chip the two lower front corners so the block looks ready to break; the top stays level.
    for v in bm.verts:
        if v.co.x > 90 and v.co.z < 10 and v.co.y < 10:
            v.co.x -= 6
            v.co.z += 5
        if v.co.x < 10 and v.co.z < 12 and v.co.y < 10:
            v.co.z += 4
    bm.normal_update()
    assign(bm, lambda f: cell(world, "breakable") + (tile_uv,))
    return bm


HOVER_TOP, HOVER_BOTTOM = 100.0, 62.0
HOVER_ROCK = {
    "Single": [(50, 0), (66, 20), (84, 48), (82, 64), (18, 64), (16, 46), (34, 18)],
    "Left": [(62, 0), (84, 18), (100, 40), (100, 64), (22, 64), (40, 30)],
    "Middle": [(55, 0), (80, 20), (100, 40), (100, 64), (0, 64), (0, 40), (30, 14)],
    "Right": [(38, 0), (60, 30), (78, 64), (0, 64), (0, 40), (16, 18)],
}


def hover_slab(kind):
    left_cap = kind in ("Single", "Left")
    right_cap = kind in ("Single", "Right")
    b, t = HOVER_BOTTOM, HOVER_TOP
    pts = []
    pts += [(6, b)] if left_cap else [(0, b)]
    pts += [(94, b), (100, b + 8), (100, t - 6), (94, t)] if right_cap else [(100, b), (100, t)]
    pts += [(6, t), (0, t - 6), (0, b + 8)] if left_cap else [(0, t)]
    return pts


def hover(world, kind):
    bm = prism(hover_slab(kind), 0.0, 200.0, "y")
    merge(bm, prism(HOVER_ROCK[kind], 40.0, 160.0, "y"))
    finish(bm)

    def slab_uv(pos, n):
        x, y, z = pos
        if abs(n.x) > abs(n.y) and abs(n.x) > abs(n.z):
            return y / 200.0, (z - HOVER_BOTTOM) / (HOVER_TOP - HOVER_BOTTOM)
        return x / 100.0, (z - HOVER_BOTTOM) / (HOVER_TOP - HOVER_BOTTOM)

    def rock_uv(pos, n):
        x, y, z = pos
        if abs(n.x) > abs(n.y):
            return y / 200.0, z / 64.0
        return x / 100.0, z / 64.0

    def choose(face):
        centre = face.calc_center_median()
        if face.normal.z > 0.6 and centre.z > HOVER_TOP - 1:
            return cell(world, "platform_top") + (tile_uv,)
        if centre.z > HOVER_BOTTOM + 0.5 and abs(face.normal.z) < 0.6:
            return cell(world, "hover_side") + (slab_uv,)
        return cell(world, "hover_under") + (rock_uv,)

    assign(bm, choose)
    return bm


# ------------------------------------------------------------------------------------- backgrounds
def layer_strip(kind, world, size, rect, sheet):
    width, height = size
    heights = layout.silhouette(kind, world) if kind != "sky" else [1.0] * (layout.SAMPLES + 1)
    vertices, faces = [], []
    for i, h in enumerate(heights):
        x = width * i / layout.SAMPLES
        vertices += [(x, 0.0, 0.0), (x, 0.0, h * height)]
        if i:
            a = 2 * (i - 1)
            faces.append([a, a + 2, a + 3, a + 1])  # bottom-left, bottom-right, top-right, top-left: faces -Y
    bm = bm_from(vertices, faces)
    uv_layer = bm.loops.layers.uv.new("UVMap")
    for face in bm.faces:
        for loop in face.loops:
            x, _, z = loop.vert.co
            loop[uv_layer].uv = layout.uv_in_rect(rect, sheet, x / width, z / height, inset=0)
    return bm


# ------------------------------------------------------------------------------------ own sheets
def normalised_uv(bm, half_of):
    """Box projection over the object's bounds into a half of its own sheet; half_of(face) -> 0 or 1."""
    lo = [min(v.co[k] for v in bm.verts) for k in range(3)]
    hi = [max(v.co[k] for v in bm.verts) for k in range(3)]
    span = [max(hi[k] - lo[k], 1e-3) for k in range(3)]

    def uv(pos, n):
        ax, ay, az = abs(n.x), abs(n.y), abs(n.z)
        if az >= ax and az >= ay:
            a, b = 0, 1
        elif ay >= ax:
            a, b = 0, 2
        else:
            a, b = 1, 2
        return (pos[a] - lo[a]) / span[a], (pos[b] - lo[b]) / span[b]

    assign(bm, lambda f: (layout.half_rect(half_of(f)), layout.COMMON_SIZE, uv))


def tagged(bm, half):
    """Marks every face of a part with the half of the sheet it uses (kept in the face's material index)."""
    for f in bm.faces:
        f.material_index = half
    return bm


def combine(*parts):
    bm = bmesh.new()
    for part in parts:
        merge(bm, part)
    return bm


def by_part(bm):
    normalised_uv(bm, lambda f: f.material_index)
    for f in bm.faces:
        f.material_index = 0
    return bm


def deco_rock_w1():
    rock = tagged(blob(40, (0, 0, 28), (1.4, 1.0, 0.85), seed=3), 0)
    bm = finish(combine(rock, tagged(blob(22, (45, 8, 12), (1.2, 1.0, 0.7), seed=5), 0)))
    for v in bm.verts:
        v.co.z = max(v.co.z, 0.0)
    for f in bm.faces:
        f.material_index = 1 if f.normal.z > 0.8 else 0
    return by_part(bm)


def deco_bush_w1():
    parts = [tagged(blob(r, c, (1.2, 1.0, 0.9), seed=i + 7, roughness=0.25), 0)
             for i, (r, c) in enumerate([(40, (0, 0, 38)), (30, (-42, 6, 28)), (32, (40, -4, 30)), (24, (12, 20, 62))])]
    bm = finish(combine(*parts))
    for v in bm.verts:
        v.co.z = max(v.co.z, 0.0)
    return by_part(bm)


def deco_tree_w1():
    trunk = tagged(cylinder(16, 9, 0, 190, 7), 0)
    crowns = [tagged(blob(r, c, (1.0, 0.9, 0.85), seed=20 + i, roughness=0.22), 1)
              for i, (r, c) in enumerate([(80, (0, 0, 230)), (62, (-60, 10, 190)), (60, (62, -6, 200)), (50, (8, 12, 300))])]
    return by_part(finish(combine(trunk, *crowns)))


def deco_pillar_w1():
    base = tagged(box(-45, -45, 0, 45, 45, 22, bevel=3), 0)
    shaft = tagged(cylinder(32, 30, 22, 260, 10), 0)
    for v in shaft.verts:  # a broken, slanted top
        if v.co.z > 100:
            v.co.z = 200 + 45 * math.sin(math.atan2(v.co.y, v.co.x) * 1.0) + 15 * math.cos(v.co.x)
    bm = finish(combine(base, shaft))
    for f in bm.faces:
        f.material_index = 1 if f.normal.z > 0.5 and f.calc_center_median().z > 150 else 0
    return by_part(bm)


def deco_rock_w2():
    layers = [tagged(cylinder(70 - 12 * i, 62 - 12 * i, 28 * i, 28 * (i + 1), 7, squash=0.7, twist=i * 0.4), 0)
              for i in range(3)]
    return by_part(finish(combine(*layers)))


def deco_cactus_w2():
    trunk = tagged(cylinder(20, 18, 0, 200, 8), 0)
    cap = tagged(cylinder(18, 6, 200, 218, 8), 0)
    arm_l = tagged(combine(cylinder(11, 11, 0, 40, 6), cylinder(11, 5, 40, 100, 6)), 0)
    transformed(arm_l, lambda p: (p[0] - 40, p[1], p[2] + 70))
    bridge_l = tagged(box(-42, -8, 66, -14, 8, 82), 0)
    arm_r = tagged(combine(cylinder(10, 10, 0, 30, 6), cylinder(10, 4, 30, 70, 6)), 0)
    transformed(arm_r, lambda p: (p[0] + 38, p[1], p[2] + 110))
    bridge_r = tagged(box(14, -7, 106, 40, 7, 120), 0)
    mound = tagged(cylinder(40, 22, 0, 12, 8), 1)
    return by_part(finish(combine(trunk, cap, arm_l, bridge_l, arm_r, bridge_r, mound)))


def deco_pillar_w2():
    parts = [tagged(box(-40, -40, 0, 40, 40, 24, bevel=3), 0), tagged(box(-28, -28, 24, 28, 28, 300, bevel=4), 0),
             tagged(box(-40, -40, 300, 40, 40, 326, bevel=3), 1), tagged(cylinder(26, 4, 326, 380, 4, twist=0.785), 1)]
    return by_part(finish(combine(*parts)))


def deco_grave_w3():
    slab_profile = [(-32, 0), (32, 0), (32, 80)] + [
        (32 * math.cos(a), 80 + 24 * math.sin(a)) for a in [math.pi * k / 8 for k in range(1, 8)]] + [(-32, 80)]
    slab = tagged(prism(slab_profile, -8, 8, "y"), 0)
    transformed(slab, lambda p: (p[0], p[1], p[2] + 10))
    cross_v = tagged(box(-5, -5, 112, 5, 5, 150), 0)
    cross_h = tagged(box(-16, -5, 130, 16, 5, 139), 0)
    mound = tagged(blob(45, (0, -10, 0), (1.2, 1.0, 0.35), seed=11, roughness=0.1), 1)
    bm = finish(combine(slab, cross_v, cross_h, mound))
    for v in bm.verts:
        v.co.z = max(v.co.z, 0.0)
    return by_part(bm)


def crystal(height, radius, lean, turn, base):
    bm = bmesh.new()
    sides = 6
    ring = [bm.verts.new((radius * math.cos(2 * math.pi * k / sides), radius * math.sin(2 * math.pi * k / sides),
                          height * 0.75)) for k in range(sides)]
    foot = [bm.verts.new((radius * 0.8 * math.cos(2 * math.pi * k / sides),
                          radius * 0.8 * math.sin(2 * math.pi * k / sides), 0.0)) for k in range(sides)]
    tip = bm.verts.new((0, 0, height))
    for k in range(sides):
        j = (k + 1) % sides
        bm.faces.new([foot[k], foot[j], ring[j], ring[k]])
        bm.faces.new([ring[k], ring[j], tip])
    bm.faces.new(list(reversed(foot)))
    c, s = math.cos(turn), math.sin(turn)
    for v in bm.verts:
        x, y, z = v.co
        x, z = x + lean * z, z
        v.co = Vector((base[0] + c * x - s * y, base[1] + s * x + c * y, z))
    return bm


def deco_crystal_w3():
    shards = [tagged(crystal(h, r, l, t, b), 0) for h, r, l, t, b in
              [(150, 18, 0.05, 0.0, (0, 0)), (100, 14, 0.45, 0.3, (-20, 6)), (90, 12, -0.5, 0.2, (22, -4)),
               (60, 10, 0.6, 2.4, (-12, -18)), (70, 11, -0.3, 1.1, (10, 18))]]
    base = tagged(blob(34, (0, 0, 0), (1.4, 1.2, 0.45), seed=17, roughness=0.15), 1)
    bm = finish(combine(base, *shards))
    for v in bm.verts:
        v.co.z = max(v.co.z, 0.0)
    return by_part(bm)


def branch(x0, z0, length, angle, r0, r1):
    bm = cylinder(r0, r1, 0, length, 5)
    c, s = math.cos(angle), math.sin(angle)
    return transformed(bm, lambda p: (x0 + p[0] * c + p[2] * s, p[1], z0 - p[0] * s + p[2] * c))


def deco_deadtree_w3():
    parts = [tagged(cylinder(20, 9, 0, 220, 6), 0), tagged(branch(0, 120, 110, -0.9, 8, 2), 0),
             tagged(branch(0, 170, 90, 0.8, 6, 2), 0), tagged(branch(-40, 170, 60, -0.2, 4, 1), 0),
             tagged(branch(0, 210, 70, -0.3, 5, 1), 0), tagged(blob(30, (0, 0, 0), (1.5, 1.3, 0.4), seed=23), 1)]
    bm = finish(combine(*parts))
    for v in bm.verts:
        v.co.z = max(v.co.z, 0.0)
    return by_part(bm)


def checkpoint():
    post = tagged(box(-7, -7, 0, 7, 7, 200, bevel=1.5), 0)
    foot = tagged(box(-24, -24, 0, 24, 24, 14, bevel=3), 0)
    arm = tagged(box(-7, -5, 188, 44, 5, 198), 0)
    hook = tagged(box(34, -2, 168, 38, 2, 188), 0)
    glass = tagged(box(21, -15, 112, 51, 15, 160), 1)
    cage_bottom = tagged(box(17, -19, 104, 55, 19, 114, bevel=1.5), 0)
    roof = tagged(cylinder(26, 3, 160, 176, 4, centre=(36, 0), twist=math.pi / 4), 0)
    return by_part(finish(combine(post, foot, arm, hook, glass, cage_bottom, roof)))


def key():
    torus = bmesh.new()
    rings, sides, major, minor = 14, 6, 17.0, 5.5
    grid = []
    for i in range(rings):
        a = 2 * math.pi * i / rings
        row = []
        for j in range(sides):
            b = 2 * math.pi * j / sides
            r = major + minor * math.cos(b)
            row.append(torus.verts.new((r * math.cos(a), minor * math.sin(b), 24 + r * math.sin(a))))
        grid.append(row)
    for i in range(rings):
        for j in range(sides):
            torus.faces.new([grid[i][j], grid[(i + 1) % rings][j], grid[(i + 1) % rings][(j + 1) % sides],
                             grid[i][(j + 1) % sides]])
    shaft = box(-4.5, -4, -46, 4.5, 4, 8, bevel=1.0)
    tooth1 = box(4.5, -3.5, -46, 18, 3.5, -38, bevel=0.8)
    tooth2 = box(4.5, -3.5, -32, 14, 3.5, -25, bevel=0.8)
    bm = finish(combine(tagged(torus, 0), tagged(shaft, 1), tagged(tooth1, 1), tagged(tooth2, 1)))
    return by_part(bm)


def deco_fence_w3():
    """A 200-wide stretch of iron fence from its left foot; stretches placed end to end join."""
    parts = []
    for k in range(5):
        x = 20 + 40 * k
        parts.append(tagged(box(x - 2.5, -2.5, 0, x + 2.5, 2.5, 125), 0))
        parts.append(tagged(cylinder(5, 0.5, 125, 145, 4, centre=(x, 0), twist=math.pi / 4), 0))
    for z in (25, 100):
        parts.append(tagged(box(0, -3, z, 200, 3, z + 7), 0))
    parts.append(tagged(box(0, -6, 0, 200, 6, 6), 1))
    return by_part(finish(combine(*parts)))


def deco_bones_w2():
    skull = tagged(blob(16, (0, 0, 14), (1.1, 1.25, 0.95), seed=31, roughness=0.08), 0)
    jaw = tagged(box(-9, -18, 0, 9, -6, 8, bevel=1.5), 0)
    bones = [tagged(branch(x0, 3, length, angle, 3.2, 2.6), 0) for x0, length, angle in
             ((24, 46, 1.45), (30, 38, 1.7), (-60, 40, 1.5))]
    sand = tagged(blob(40, (0, 10, 0), (1.8, 1.0, 0.18), seed=33, roughness=0.1), 1)
    bm = finish(combine(sand, skull, jaw, *bones))
    for v in bm.verts:
        v.co.z = max(v.co.z, 0.0)
    return by_part(transformed(bm, lambda p: (p[0] * 2.2, p[1] * 2.2, p[2] * 2.2)))


def deco_flowers_w1():
    parts = []
    for k in range(9):
        a = k * 2.4
        x, y = 34 * math.cos(a) * (k / 9.0), 20 * math.sin(a) * (k / 9.0)
        height = 40 + 18 * math.sin(k * 1.7)
        lean = 0.25 * math.sin(k * 3.1)
        parts.append(tagged(transformed(cylinder(4, 0.3, 0, height, 3, twist=k),
                                        lambda p, x=x, y=y, l=lean: (p[0] + x + l * p[2], p[1] + y, p[2])), 0))
        if k % 2 == 0:
            parts.append(tagged(blob(7, (x + lean * height, y, height), (1.0, 1.0, 0.7), seed=40 + k,
                                     roughness=0.1, subdivisions=1), 1))
    return by_part(transformed(finish(combine(*parts)), lambda p: (p[0] * 1.7, p[1] * 1.7, p[2] * 1.7)))


BLOOD_WIDTH, BLOOD_DEPTH, BLOOD_HEIGHT, BLOOD_TILE = 8000.0, 1600.0, 3000.0, 800.0


def blood_sea():
    """A wide slab of blood, its rippled surface at height 0; the texture repeats every BLOOD_TILE."""
    steps = int(BLOOD_WIDTH / 100)
    y0, y1 = -400.0, BLOOD_DEPTH - 400.0
    vertices, faces = [], []
    for k in range(steps + 1):
        x = -BLOOD_WIDTH / 2 + 100.0 * k
        wave = 14.0 * math.sin(2 * math.pi * x / 400.0) if 0 < k < steps else 0.0
        vertices += [(x, y0, wave), (x, y1, wave * 0.5), (x, y1, -BLOOD_HEIGHT), (x, y0, -BLOOD_HEIGHT)]
        if k:
            a, b = 4 * (k - 1), 4 * k
            for i in range(4):
                j = (i + 1) % 4
                faces.append([a + i, b + i, b + j, a + j])
    faces.append([0, 1, 2, 3])
    last = 4 * steps
    faces.append([last + 3, last + 2, last + 1, last])
    bm = finish(bm_from(vertices, faces))
    uv_layer = bm.loops.layers.uv.new("UVMap")
    for face in bm.faces:
        centre = face.calc_center_median()
        segment = math.floor((centre.x + BLOOD_WIDTH / 2) / BLOOD_TILE)
        top = face.normal.z > 0.5
        for loop in face.loops:
            x, y, z = loop.vert.co
            if abs(face.normal.x) > 0.5:
                s = (y - y0) / BLOOD_DEPTH
            else:
                s = (x + BLOOD_WIDTH / 2 - segment * BLOOD_TILE) / BLOOD_TILE
            t = (y - y0) / BLOOD_DEPTH if top else (z + BLOOD_HEIGHT) / (BLOOD_HEIGHT + 14.0)
            s, t = min(max(s, 0.0), 1.0), min(max(t, 0.0), 1.0)
            loop[uv_layer].uv = layout.uv_in_rect(layout.half_rect(0 if top else 1), layout.COMMON_SIZE, s, t,
                                                  inset=1)
    return bm


# ------------------------------------------------------------------------------------------ output
def models():
    for w in layout.WORLDS:
        yield "SM_Ground_W%d" % w, lambda w=w: ground(w)
        yield "SM_GroundFill_W%d" % w, lambda w=w: fill(w)
        yield "SM_GroundB_W%d" % w, lambda w=w: ground(w, True)
        yield "SM_GroundFillB_W%d" % w, lambda w=w: fill(w, True)
        yield "SM_Platform_W%d" % w, lambda w=w: platform(w)
        yield "SM_BreakableBlock_W%d" % w, lambda w=w: breakable_block(w)
        for kind in ("Single", "Left", "Middle", "Right"):
            yield "SM_HoverPlatform_%s_W%d" % (kind, w), lambda w=w, k=kind: hover(w, k)
        for kind in ("Far", "Near"):
            yield "SM_Parallax_%s_W%d" % (kind, w), lambda w=w, k=kind.lower(): layer_strip(
                k, w, layout.PARALLAX_PLANE, layout.parallax_band(k), layout.PARALLAX_SIZE)
        yield "SM_MiddleGround_W%d" % w, lambda w=w: layer_strip(
            "middle", w, layout.MIDDLE_PLANE, layout.middle_band(), layout.MIDDLE_SIZE)
        yield "SM_Sky_W%d" % w, lambda w=w: layer_strip("sky", w, layout.SKY_PLANE, layout.sky_band(w),
                                                          layout.SKY_SIZE)
    yield "SM_Deco_W1_Rock", deco_rock_w1
    yield "SM_Deco_W1_Bush", deco_bush_w1
    yield "SM_Deco_W1_Tree", deco_tree_w1
    yield "SM_Deco_W1_Pillar", deco_pillar_w1
    yield "SM_Deco_W1_Flowers", deco_flowers_w1
    yield "SM_Deco_W2_Rock", deco_rock_w2
    yield "SM_Deco_W2_Cactus", deco_cactus_w2
    yield "SM_Deco_W2_Pillar", deco_pillar_w2
    yield "SM_Deco_W2_Bones", deco_bones_w2
    yield "SM_Deco_W3_Grave", deco_grave_w3
    yield "SM_Deco_W3_Crystal", deco_crystal_w3
    yield "SM_Deco_W3_DeadTree", deco_deadtree_w3
    yield "SM_Deco_W3_Fence", deco_fence_w3
    yield "SM_Checkpoint", checkpoint
    yield "SM_Checkpoint_Active", checkpoint
    yield "SM_Key", key
    yield "SM_BloodSea", blood_sea


def use_of(name):
    """(tag, texture path, how to use it) of a model, for the manifest."""
    world = name[-1]
    atlas = layout.MAIN_ATLAS
    second = "; a second look of the same tile, to mix into long runs" if "B_W" in name else ""
    if name.startswith("SM_GroundFill"):
        return "Ground", atlas, "ground below the top row; front face at z = 6, under the top tile's lip" + second
    if name.startswith("SM_Ground"):
        return "Ground", atlas, "top row of a ground run: the lip at z = 0, the body from z = 6" + second
    if name.startswith("SM_Platform"):
        return "Platform", atlas, "solid built block"
    if name.startswith("SM_BreakableBlock"):
        return "BreakableBlock", atlas, "cracked block"
    if name.startswith("SM_HoverPlatform"):
        kind = name.split("_")[2]
        hint = {"Single": "name containing SinglePlatform", "Left": "name containing PlatformLeft",
                "Right": "name containing PlatformRight", "Middle": "between a Left and a Right"}[kind]
        return "Platform", atlas, "floating slab, HoverEnabled; " + hint
    if name.startswith("SM_Parallax"):
        depth = "far (z about 9000)" if "_Far_" in name else "near (z about 5000)"
        return "lvl%sparallax" % world, layout.PARALLAX_ATLAS[int(world)], \
            "background layer, %s; object name lvl%sparallax; copies side by side join" % (depth, world)
    if name.startswith("SM_MiddleGround"):
        return "lvl%smiddleground" % world, layout.MIDDLE_ATLAS[int(world)], \
            "silhouettes at z about 1500 to 2500; copies side by side join"
    if name.startswith("SM_Sky"):
        return "background1", layout.SKY_ATLAS, "sky behind everything (z about 14000)"
    texture = layout.COMMON_FOLDER + name + "_T.dds"
    if name.startswith("SM_Checkpoint_Active"):
        return "Checkpoint", texture, "the lit lantern the checkpoint swaps to"
    if name.startswith("SM_Checkpoint"):
        return "Checkpoint", texture, "unlit lantern post; origin at the foot"
    if name == "SM_Key":
        return "Key", texture, "origin at the centre (the pickup sphere's centre)"
    if name == "SM_BloodSea":
        return "BloodSea", texture, "rising blood: rippled surface at y = 0 over the whole width, 3000 deep"
    if name == "SM_Deco_W3_Fence":
        return "Decoration", texture, "origin at the left foot; stretches placed every 200 join"
    return "Decoration", texture, "origin at the foot"


HEADER = """# Static meshes

Made by `make_models.py` (Blender, run only to regenerate; the FBX files are committed) and textured by
`make_textures.py` (run by the build). Paths are as the level data names them, relative to the game
asset root. Bounds are in game units and axes (x right, y up, z away from the camera), exactly as the
engine loads the vertices; the tests check every row against the files.

- Ground, platform, breakable and hover tiles fill the fixed 100 x 100 x 200 box of their builder from
  the object's position (its minimum corner): place them on a 100-unit grid; y = -100, z = -100 puts the
  walked-on top at y = 0 with the tile's depth centred on the player's lane. Their texture comes from
  the tile atlas by tag.
- Background pieces are flat, facing the camera, from their origin at the bottom-left; their textures
  come from the sheet of their tag. Only objects named lvl1parallax, lvl2parallax, lvl2middleground or
  lvl3parallax are drawn in the blended layer pass; the other middle grounds and the sky are shaped or
  opaque, so they draw in the ordinary pass as well.
- Props (tags outside the atlas table, e.g. Decoration, Checkpoint, Key) find their own sheet by name:
  textures/Common/<model stem>_T.dds. Do not tag them "decor": that tag reads the tile atlas.

Placing them (the default camera stands about 4500 in front of the player, 30 degrees across, and sees
up to z = 15500):
- A ground run: SM_Ground_W<n> along the top row at y = -100, z = -100; SM_GroundFill_W<n> in the rows
  below. SM_Platform_W<n> and SM_BreakableBlock_W<n> anywhere on the grid, same z.
- Hovering groups: SM_HoverPlatform_Left, then any number of _Middle, then _Right, side by side; a lone
  slab is _Single. Their rock narrows to a point below the slab; the collision box stays the full tile.
- Layers, far to near: SM_Sky_W<n> about z = 14000, y = -3500 (two or three side by side);
  SM_Parallax_Far_W<n> about z = 9000, y = -900; SM_Parallax_Near_W<n> about z = 5000, y = -600;
  SM_MiddleGround_W<n> about z = 2000, y = -300. Repeat each every its width along x to cover the level.
- Props stand on the walked-on surface (y = 0), behind the player's lane (z about 40 to 80).
- Worlds: W1 a sunny, overgrown ruin (grass, mossy stone, teal runes); W2 a sandstone desert (sand,
  dunes, a pyramid, gold runes); W3 a dark blood-red gothic world (blood moss, cathedrals with lit
  windows, graves, crimson runes).

Regenerating (from this folder): `PYTHONHASHSEED=0 blender -b --factory-startup --python make_models.py --
../../data/game/models/StaticMeshes` rewrites the FBX files and this manifest; the layout of every sheet
is in `atlas_layout.py`, shared with `make_textures.py`, so change both together and rebuild. To look:
`/usr/bin/python3 make_textures.py /tmp/t /tmp/t/stamp --png /tmp/png`, then
`blender -b --factory-startup --python render_previews.py -- ../../data/game/models/StaticMeshes /tmp/png
/tmp/previews` renders contact sheets and a stretch of level per world from the game's camera.

| Model | Tag | Texture | Min (x, y, z) | Max (x, y, z) | Use |
|---|---|---|---|---|---|
"""


def write_manifest(rows):
    def triple(v):
        return "(%s)" % ", ".join("%g" % round(c, 2) for c in v)

    lines = [HEADER]
    for name, (lo, hi) in rows:
        tag, texture, use = use_of(name)
        lines.append("| models/StaticMeshes/%s.fbx | %s | %s | %s | %s | %s |\n" % (
            name, tag, texture, triple(lo), triple(hi), use))
    with open(os.path.join(HERE, "MANIFEST.md"), "w") as stream:
        stream.write("".join(lines))


def main():
    args = sys.argv[sys.argv.index("--") + 1:] if "--" in sys.argv else []
    if not args:
        print("usage: blender -b --factory-startup --python make_models.py -- OUTPUT_FOLDER [NAME_FILTER]")
        sys.exit(2)
    out = os.path.abspath(args[0])
    only = args[1] if len(args) > 1 else ""
    if os.environ.get("PYTHONHASHSEED") != "0":
        print("note: without PYTHONHASHSEED=0 the FBX files differ from run to run in their ids")
    os.makedirs(out, exist_ok=True)
    fbx_export.reset_scene()
    rows = []
    for name, build in models():
        if only in name:
            rows.append((name, export(build(), name, out)))
            print("made", name)
    if not only:
        write_manifest(rows)


main()
