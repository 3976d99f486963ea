"""Skinned characters for Blender scripts: a mesh made of shaded primitives with UVs into one
texture's regions, a small armature, and clips written as pose functions of time.

Everything is authored in the file's space, Y up, centimetres: x is where the character looks, y
up, z its right side (toward the camera in game). Pose functions return per joint a rotation in
armature-aligned axes applied in the parent's posed frame (so a child turns with its parent), plus
optional offsets and scales; `bake_clip` turns them into Blender's bone-local keys.
"""
import json
import math
import os
import sys

import bpy
from mathutils import Matrix, Quaternion, Vector

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "blender", "lib"))
sys.path.insert(0, HERE)

import skinned_fbx_export as fbx_export  # noqa: E402
import layout  # noqa: E402

FPS = 30
DATA = os.path.normpath(os.path.join(HERE, "..", "..", "data", "game"))


# ---------------------------------------------------------------- rotations and curves
def rx(deg):
    return Quaternion((1.0, 0.0, 0.0), math.radians(deg))


def ry(deg):
    return Quaternion((0.0, 1.0, 0.0), math.radians(deg))


def rz(deg):
    return Quaternion((0.0, 0.0, 1.0), math.radians(deg))


def cyc(t, length, phase=0.0, cycles=1):
    """A sine that repeats exactly over the clip, so looping clips close."""
    return math.sin(2.0 * math.pi * (cycles * t / length + phase))


def smooth(a, b, t):
    """0 before a, 1 after b, an eased ramp between."""
    if b <= a:
        return 1.0 if t >= b else 0.0
    x = min(1.0, max(0.0, (t - a) / (b - a)))
    return x * x * (3.0 - 2.0 * x)


def mix(a, b, w):
    return a + (b - a) * w


class Pose(dict):
    """Joint name -> {'rot': Quaternion, 'loc': (x, y, z), 'scale': s}."""

    def turn(self, joint, q):
        entry = self.setdefault(joint, {})
        entry["rot"] = entry.get("rot", Quaternion()) @ q
        return self

    def move(self, joint, offset):
        entry = self.setdefault(joint, {})
        old = entry.get("loc", (0.0, 0.0, 0.0))
        entry["loc"] = tuple(o + d for o, d in zip(old, offset))
        return self

    def scale(self, joint, s):
        self.setdefault(joint, {})["scale"] = s
        return self


def blend_poses(a, b, w):
    """Per joint: rotations slerped, offsets and scales mixed."""
    out = Pose()
    for joint in set(a) | set(b):
        ea, eb = a.get(joint, {}), b.get(joint, {})
        qa, qb = ea.get("rot", Quaternion()), eb.get("rot", Quaternion())
        la, lb = ea.get("loc", (0.0, 0.0, 0.0)), eb.get("loc", (0.0, 0.0, 0.0))
        sa, sb = ea.get("scale", 1.0), eb.get("scale", 1.0)
        if isinstance(sa, (tuple, list)) or isinstance(sb, (tuple, list)):
            sa = sa if isinstance(sa, (tuple, list)) else (sa, sa, sa)
            sb = sb if isinstance(sb, (tuple, list)) else (sb, sb, sb)
            scale = tuple(mix(x, y, w) for x, y in zip(sa, sb))
        else:
            scale = mix(sa, sb, w)
        out[joint] = {"rot": qa.slerp(qb, w), "loc": tuple(mix(x, y, w) for x, y in zip(la, lb)),
                      "scale": scale}
    return out


# ---------------------------------------------------------------- mesh building
class MeshBuilder:
    """Vertices with normals, UVs and joint weights, gathered from parametric surfaces."""

    def __init__(self, atlas):
        self.atlas = atlas  # region name -> (u0, v0, u1, v1)
        self.positions, self.normals, self.weights = [], [], []
        self.faces, self.face_uvs = [], []

    def surface(self, nu, nv, point, region, weights):
        """A grid over (u, v) in [0, 1]^2; point(u, v) -> (position, normal). Each row repeats its
        first column at u = 1, so a closed surface's texture wraps without a smear."""
        u0, v0, u1, v1 = self.atlas[region]
        base = len(self.positions)
        cols = nu + 1
        for j in range(nv + 1):
            for i in range(cols):
                u, v = i / nu, j / nv
                p, n = point(u, v)
                self.positions.append(Vector(p))
                self.normals.append(Vector(n).normalized() if Vector(n).length > 1e-9 else Vector((0, 1, 0)))
                w = weights(Vector(p)) if callable(weights) else weights
                self.weights.append(w if isinstance(w, dict) else {w: 1.0})
        for j in range(nv):
            for i in range(nu):
                a = base + j * cols + i
                b, c, d = a + 1, a + cols + 1, a + cols
                uv = [(u0 + (u1 - u0) * ((k - base) % cols) / nu, v0 + (v1 - v0) * ((k - base) // cols) / nv)
                      for k in (a, b, c, d)]
                # Quads at a pole collapse to triangles.
                if (self.positions[a] - self.positions[b]).length < 1e-6:
                    self.faces.append((a, c, d))
                    self.face_uvs.append((uv[0], uv[2], uv[3]))
                elif (self.positions[c] - self.positions[d]).length < 1e-6:
                    self.faces.append((a, b, c))
                    self.face_uvs.append((uv[0], uv[1], uv[2]))
                else:
                    self.faces.append((a, b, c, d))
                    self.face_uvs.append(tuple(uv))

    def ellipsoid(self, centre, radii, region, weights, axis=None, nu=20, nv=12, squash=None, frame=None):
        """An ellipsoid whose local y follows axis (or turned by a 3x3 frame); u = 0.5 faces local +x.
        squash(v) scales the horizontal radius by height, for pear and bell shapes."""
        frame = frame if frame is not None else _frame(axis)
        c = Vector(centre)
        rx_, ry_, rz_ = radii

        def point(u, v):
            lon = 2.0 * math.pi * (0.5 - u)  # u grows clockwise seen from above: faces wind outward
            lat = math.pi * (v - 0.5)
            s = squash(v) if squash else 1.0
            local = Vector((rx_ * s * math.cos(lat) * math.cos(lon), ry_ * math.sin(lat),
                            rz_ * s * math.cos(lat) * math.sin(lon)))
            normal = Vector((local.x / (rx_ * s) ** 2, local.y / ry_ ** 2, local.z / (rz_ * s) ** 2))
            return c + frame @ local, frame @ normal

        self.surface(nu, nv, point, region, weights)

    def tube(self, a, b, radius, region, weights, nu=16, nv=6, depth=1.0, caps=True):
        """A tube from a to b with radius(v) along it (v = 0 at a); depth scales the local z radius.
        Caps close both ends."""
        a, b = Vector(a), Vector(b)
        axis = b - a
        frame = _frame(axis)
        rad = radius if callable(radius) else (lambda v: radius)
        rows = []
        if caps:
            rows.append((0.0, 0.0, -1))
            rows.append((0.0, rad(0.0), -1))
        for j in range(nv + 1):
            rows.append((j / nv, rad(j / nv), 0))
        if caps:
            rows.append((1.0, rad(1.0), 1))
            rows.append((1.0, 0.0, 1))
        eps = 1e-3

        def point(u, v):
            k = min(len(rows) - 1, int(round(v * (len(rows) - 1))))
            t, r, cap = rows[k]
            ang = 2.0 * math.pi * (0.5 - u)
            local = Vector((r * math.cos(ang), 0.0, depth * r * math.sin(ang)))
            p = a + axis * t + frame @ local
            if cap:
                n = frame @ Vector((0.0, float(cap), 0.0))
            else:
                slope = (rad(min(1.0, t + eps)) - rad(max(0.0, t - eps))) / (2 * eps) / max(axis.length, 1e-6)
                n = frame @ Vector((math.cos(ang), -slope, math.sin(ang) / max(depth, 1e-3)))
            return p, n

        self.surface(nu, len(rows) - 1, point, region, weights)

    def sweep(self, curve, radii, region, weights, nu=24, nv=8):
        """A tube along curve(u) -> (centre, up): its cross-section is an ellipse of radii (across,
        up) in the plane of the curve's outward side and the given up direction."""
        eps = 1e-3

        def point(u, v):
            c, up = curve(u)
            ahead, behind = curve(min(1.0, u + eps))[0], curve(max(0.0, u - eps))[0]
            tangent = (Vector(ahead) - Vector(behind)).normalized()
            up = Vector(up).normalized()
            out = tangent.cross(up).normalized()
            phi = 2.0 * math.pi * v
            p = Vector(c) + out * (radii[0] * math.cos(phi)) + up * (radii[1] * math.sin(phi))
            n = out * (math.cos(phi) / radii[0]) + up * (math.sin(phi) / radii[1])
            return p, n

        self.surface(nu, nv, point, region, weights)

    def box(self, centre, size, region, weights):
        """An axis-aligned box, each side with the whole region."""
        c, h = Vector(centre), Vector(size) * 0.5
        for axis in range(3):
            for sign in (-1.0, 1.0):
                n = Vector((0.0, 0.0, 0.0))
                n[axis] = sign
                o1, o2 = (axis + 1) % 3, (axis + 2) % 3

                def point(u, v, n=n, o1=o1, o2=o2, sign=sign):
                    p = c + Vector([n[k] * h[k] for k in range(3)])
                    d1, d2 = Vector((0.0, 0.0, 0.0)), Vector((0.0, 0.0, 0.0))
                    d1[o1], d2[o2] = (2 * u - 1) * h[o1], (2 * v - 1) * h[o2] * sign
                    return p + d1 + d2, n

                self.surface(1, 1, point, region, weights)

    def build(self, name, armature):
        """A mesh object skinned to the armature, authored Y-up like it."""
        mesh = bpy.data.meshes.new(name)
        mesh.from_pydata([tuple(p) for p in self.positions], [], self.faces)
        uv_layer = mesh.uv_layers.new(name="UVMap")
        for poly, uvs in zip(mesh.polygons, self.face_uvs):
            for loop_index, uv in zip(poly.loop_indices, uvs):
                uv_layer.data[loop_index].uv = uv
        mesh.polygons.foreach_set("use_smooth", [True] * len(mesh.polygons))
        mesh.use_auto_smooth = True
        mesh.normals_split_custom_set_from_vertices([tuple(n) for n in self.normals])
        mesh.validate(clean_customdata=False)
        obj = bpy.data.objects.new(name, mesh)
        bpy.context.scene.collection.objects.link(obj)
        groups = {}
        for index, weights in enumerate(self.weights):
            total = sum(weights.values())
            for joint, w in sorted(weights.items(), key=lambda kv: -kv[1])[:4]:
                if joint not in groups:
                    groups[joint] = obj.vertex_groups.new(name=joint)
                groups[joint].add([index], w / total, 'REPLACE')
        fbx_export.y_up_object(obj)
        obj.parent = armature
        obj.matrix_parent_inverse = armature.matrix_world.inverted()
        modifier = obj.modifiers.new("Armature", 'ARMATURE')
        modifier.object = armature
        return obj

    def triangle_count(self):
        return sum(len(f) - 2 for f in self.faces)


def _frame(axis):
    """A rotation taking local y onto axis (identity without one)."""
    if axis is None:
        return Matrix.Identity(3)
    y = Vector(axis).normalized()
    helper = Vector((0.0, 0.0, 1.0)) if abs(y.z) < 0.9 else Vector((1.0, 0.0, 0.0))
    x = helper.cross(y).normalized()
    z = x.cross(y).normalized()
    return Matrix((x, y, z)).transposed()


def blend(*pairs):
    """Weights by a position: blend(('a', f), ('b', g)) with f(p), g(p) >= 0."""
    def weights(p):
        out = {}
        for joint, f in pairs:
            w = f(p)
            if w > 1e-4:
                out[joint] = out.get(joint, 0.0) + w
        return out or {pairs[0][0]: 1.0}
    return weights


def along_y(y0, y1):
    """1 at and below y0, 0 at and above y1: a ramp for blending weights by height."""
    def f(p):
        return 1.0 - smooth(min(y0, y1), max(y0, y1), p.y) if y0 < y1 else smooth(y1, y0, p.y)
    return f


# ---------------------------------------------------------------- armature and clips
def build_armature(name, joints):
    """joints: (name, head, tail, parent) in file space; the first is the root."""
    data = bpy.data.armatures.new(name)
    obj = bpy.data.objects.new(name, data)
    bpy.context.scene.collection.objects.link(obj)
    fbx_export.y_up_object(obj)
    bpy.context.view_layer.objects.active = obj
    bpy.ops.object.mode_set(mode='EDIT')
    for joint, head, tail, parent in joints:
        bone = data.edit_bones.new(joint)
        bone.head, bone.tail = Vector(head), Vector(tail)
        bone.roll = 0.0
        if parent:
            bone.parent = data.edit_bones[parent]
            bone.use_connect = False
    bpy.ops.object.mode_set(mode='OBJECT')
    for bone in obj.pose.bones:
        bone.rotation_mode = 'QUATERNION'
    return obj


def bake_clip(armature, pose_at, length):
    """Keys every frame 0..length*FPS of pose_at(t) into a fresh action; returns the frame count."""
    frames = int(round(length * FPS))
    if abs(frames - length * FPS) > 1e-6:
        raise ValueError("a clip of %g s is no whole number of frames at %d fps" % (length, FPS))
    action = bpy.data.actions.new("clip")
    armature.animation_data_create()
    armature.animation_data.action = action
    rests = {b.name: b.bone.matrix_local.to_quaternion() for b in armature.pose.bones}
    channels = {}
    for b in armature.pose.bones:
        path = 'pose.bones["%s"].' % b.name
        channels[b.name] = ([action.fcurves.new(path + "rotation_quaternion", index=i) for i in range(4)],
                            [action.fcurves.new(path + "location", index=i) for i in range(3)],
                            [action.fcurves.new(path + "scale", index=i) for i in range(3)])
    samples = {name: ([], [], []) for name in channels}
    for f in range(frames + 1):
        pose = pose_at(f / FPS)
        for name, rest in rests.items():
            entry = pose.get(name, {})
            inv = rest.inverted()
            q = inv @ entry.get("rot", Quaternion()) @ rest
            loc = inv @ Vector(entry.get("loc", (0.0, 0.0, 0.0)))
            # A scale is uniform, or per axis of the bone's own frame (the same as the armature's
            # for the upright bones that squash).
            s = entry.get("scale", 1.0)
            samples[name][0].append(tuple(q))
            samples[name][1].append(tuple(loc))
            samples[name][2].append(tuple(s) if isinstance(s, (tuple, list)) else (s, s, s))
    for name, (qs, locs, scales) in samples.items():
        # Keep quaternions on one hemisphere so the bake interpolates the short way.
        for k in range(1, len(qs)):
            if sum(a * b for a, b in zip(qs[k], qs[k - 1])) < 0.0:
                qs[k] = tuple(-x for x in qs[k])
        for curves, values in zip(channels[name], (qs, locs, scales)):
            for i, curve in enumerate(curves):
                curve.keyframe_points.add(frames + 1)
                co = []
                for f, value in enumerate(values):
                    co += [float(f), value[i]]
                curve.keyframe_points.foreach_set("co", co)
                for key in curve.keyframe_points:
                    key.interpolation = 'LINEAR'
                curve.update()
    return frames


class Placement:
    """Scales and turns a character authored at another size or facing: its joints, its mesh and
    every pose (rotations are re-expressed in the turned axes, offsets scaled and turned)."""

    def __init__(self, scale=1.0, yaw=0.0):
        self.scale = scale
        self.turn = ry(yaw)
        self.matrix = self.turn.to_matrix() * scale

    def point(self, p):
        return tuple(self.matrix @ Vector(p))

    def joints(self, joints):
        return [(n, self.point(h), self.point(t), parent) for n, h, t, parent in joints]

    def mesh(self, builder):
        builder.positions = [self.matrix @ p for p in builder.positions]
        builder.normals = [self.turn @ n for n in builder.normals]

    def pose(self, pose_at):
        inverse = self.turn.inverted()

        def placed(t):
            out = Pose()
            for joint, entry in pose_at(t).items():
                moved = dict(entry)
                if "rot" in entry:
                    moved["rot"] = self.turn @ entry["rot"] @ inverse
                if "loc" in entry:
                    moved["loc"] = self.point(entry["loc"])
                out[joint] = moved
            return out
        return placed


def make_character(stem, joints, build_mesh, clips, clip_path, placement=None):
    """Builds, exports the model "models/SK/<stem>.fbx" and every clip; clips: name -> (length,
    looping, pose_at). Prints and returns a manifest record. QEL_ONLY_CLIPS=a,b in the environment
    re-exports only those clips (the model is always written)."""
    fbx_export.reset_scene(FPS)
    placement = placement or Placement()
    joints = placement.joints(joints)
    armature = build_armature(stem + "_Rig", joints)
    builder = MeshBuilder(layout.ATLASES[stem])
    build_mesh(builder)
    placement.mesh(builder)
    mesh = builder.build(stem, armature)
    model_path = os.path.join(DATA, "models", "SK", stem + ".fbx")
    fbx_export.export_model(model_path, armature, [mesh])
    lo = [min(p[k] for p in builder.positions) for k in range(3)]
    hi = [max(p[k] for p in builder.positions) for k in range(3)]
    only = os.environ.get("QEL_ONLY_CLIPS", "")
    wanted = set(only.split(",")) if only else None
    record = {"stem": stem, "triangles": builder.triangle_count(), "min": lo, "max": hi,
              "joints": [j[0] for j in joints], "clips": []}
    for name, (length, looping, pose_at) in clips.items():
        record["clips"].append((clip_path(name), length, looping))
        if wanted is not None and name not in wanted:
            continue
        frames = bake_clip(armature, placement.pose(pose_at), length)
        fbx_export.export_clip(os.path.join(DATA, clip_path(name)), armature, frames)
    print("[characters] RECORD " + json.dumps(record))
    print("[characters] %s: %d triangles, %d joints, box %s .. %s, %d clips" % (
        stem, record["triangles"], len(joints), [round(x, 1) for x in lo], [round(x, 1) for x in hi],
        len(record["clips"])))
    return record
