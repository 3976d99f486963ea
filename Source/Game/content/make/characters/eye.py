"""The eye in the sky: a great bloodshot eye 400 cm across with heavy lids and lashes, looking at
the camera (file +z, which is -z in the game). Shut in its rest pose, so it stays shut until it is
woken; its origin is 50 cm below the eyeball.

Run: blender -b --factory-startup --python eye.py
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from mathutils import Matrix  # noqa: E402

import rig  # noqa: E402
from figure import keys  # noqa: E402
from rig import Pose, cyc, rx, ry, smooth  # noqa: E402

STEM = "EN_Eye"
CENTRE = (0.0, 250.0, 0.0)
RADIUS = 200.0
LID = 214.0
JOINTS = [
    ("root", (0, 0, 0), (0, 40, 0), None),
    ("ball", CENTRE, (0, 250, 60), "root"),
    ("lid_upper", (0, 251, 0), (0, 310, 0), "root"),
    ("lid_lower", (0, 249, 0), (0, 190, 0), "root"),
]
SPAN = math.radians(105.0)  # how far round the lids reach from the front


def build_mesh(m):
    # The eyeball's texture faces local +x; turn that to +z, toward the camera.
    to_camera = Matrix(((0.0, 0.0, -1.0), (0.0, 1.0, 0.0), (1.0, 0.0, 0.0)))
    m.ellipsoid(CENTRE, (RADIUS, RADIUS, RADIUS), "eyeball", "ball", nu=32, nv=20, frame=to_camera)
    cx, cy, cz = CENTRE
    for joint, sign in (("lid_upper", 1.0), ("lid_lower", -1.0)):
        def shell(u, v, sign=sign):
            lon = sign * SPAN * (2.0 * u - 1.0)
            lat = sign * 0.5 * math.pi * v
            d = (math.cos(lat) * math.sin(lon), math.sin(lat), math.cos(lat) * math.cos(lon))
            return (cx + LID * d[0], cy + LID * d[1], cz + LID * d[2]), d

        m.surface(22, 8, shell, "lid", joint)

        def rim(u):
            lon = SPAN * (2.0 * u - 1.0)
            return (cx + (LID + 4) * math.sin(lon), cy + sign * 6.0, cz + (LID + 4) * math.cos(lon)), (0, 1, 0)

        m.sweep(rim, (14.0, 11.0), "lid", joint, nu=24, nv=8)
        for k in range(9):
            lon = SPAN * 0.8 * (2.0 * k / 8.0 - 1.0)
            base = (cx + (LID + 12) * math.sin(lon), cy + sign * 14.0, cz + (LID + 12) * math.cos(lon))
            tip = (cx + (LID + 60) * math.sin(lon), cy + sign * 58.0, cz + (LID + 60) * math.cos(lon))
            m.tube(base, tip, lambda v: 6.0 * (1.0 - v) + 0.3, "lash", joint, nu=6, nv=2)


def pose_from(p):
    g = p.get
    pose = Pose()
    pose.move("root", (0.0, g("float", 0.0), 0.0))
    if g("swell", 0.0):
        pose.scale("root", 1.0 + g("swell", 0.0))
    pose.turn("ball", ry(g("look_x", 0.0)) @ rx(-g("look_y", 0.0)))
    pose.turn("lid_upper", rx(-g("upper", 0.0)))
    pose.turn("lid_lower", rx(g("lower", 0.0)))
    return pose


OPEN = {"upper": 72.0, "lower": 42.0, "look_y": -12.0}


def clips():
    def clip(length, looping, params):
        return (length, looping, lambda t: pose_from(params(t)))

    def activation(t):
        p = keys(t, [(0.0, {}), (0.3, {"upper": 6, "lower": 3}), (0.45, {"upper": 2}), (0.6, {"upper": 8, "lower": 4}),
                     (0.95, {"upper": 88, "lower": 55, "swell": 0.08}), (1.15, {"upper": 80, "lower": 48, "look_x": -28}),
                     (1.45, {"upper": 80, "lower": 48, "look_x": 30, "look_y": 8}),
                     (1.8, {"upper": 76, "lower": 45, "look_x": 0, "look_y": -18}), (2.5, OPEN)])
        p["float"] = 6.0 * math.sin(math.pi * smooth(0.6, 2.5, t))
        return p

    def idle(t, length=4.0):
        blink = 1.0 - smooth(1.9, 2.05, t) + smooth(2.1, 2.3, t)
        return {"upper": OPEN["upper"] * blink, "lower": OPEN["lower"] * (0.6 + 0.4 * blink),
                "look_x": 18 * cyc(t, length), "look_y": OPEN["look_y"] + 6 * cyc(t, length, 0.1, 2),
                "float": 10 * cyc(t, length)}

    return {"activation": clip(2.5, False, activation), "idle": clip(4.0, True, idle)}


if __name__ == "__main__":
    rig.make_character(STEM, JOINTS, build_mesh, clips(), lambda name: "Animations/enviorement/EN_Eye_%s.fbx" % name)
