"""The exit door: a stone arch with rune-cut pillars, two iron-banded wooden leaves, a glowing
doorway behind them and a gem in the keystone, 450 cm tall on its step and facing the camera (file
+z, -z in the game). Shut in its rest pose; the leaves swing inward, away from the camera.

Run: blender -b --factory-startup --python door.py
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import rig  # noqa: E402
from figure import keys  # noqa: E402
from rig import Pose, cyc, ry, rz, smooth  # noqa: E402

STEM = "EN_LevelEnd_Door"
HINGE = 102.0
TOP = 300.0
JOINTS = [
    ("root", (0, 0, 0), (0, 40, 0), None),
    ("leaf_L", (-HINGE, 15, 0), (-HINGE, 75, 0), "root"),
    ("leaf_R", (HINGE, 15, 0), (HINGE, 75, 0), "root"),
    ("gem", (0, 432, 30), (0, 452, 30), "root"),
]


def build_mesh(m):
    m.box((0, 7.5, 0), (330, 15, 90), "step", "root")
    for x in (-1.0, 1.0):
        m.box((x * 124, 15 + TOP / 2, 0), (44, TOP, 64), "frame", "root")
        m.box((x * 124, 15 + TOP + 8, 0), (56, 16, 72), "step", "root")

    def arch(u):
        a = math.pi * u
        return (124 * math.cos(a), 15 + TOP + 16 + 112 * math.sin(a), 0.0), (0.0, 0.0, 1.0)

    m.sweep(arch, (24.0, 32.0), "frame", "root", nu=28, nv=8)
    m.box((0, 15 + TOP + 4, 0), (210, 8, 20), "band", "root")
    # The doorway beyond the leaves glows.
    m.box((0, 15 + TOP / 2, -26), (208, TOP, 6), "gem", "root")
    for joint, sign in (("leaf_L", -1.0), ("leaf_R", 1.0)):
        cx = sign * HINGE * 0.5
        m.box((cx, 15 + TOP / 2, 0), (HINGE - 2, TOP - 2, 12), "leaf", joint)
        for y in (70, 240):
            m.box((cx, 15 + y, 7), (HINGE - 6, 14, 4), "band", joint)
        m.ellipsoid((sign * 14, 15 + 150, 10), (7, 7, 5), "band", joint, nu=10, nv=6)
    m.ellipsoid((0, 442, 30), (16, 22, 12), "gem", "gem", nu=14, nv=10)


def pose_from(p):
    g = p.get
    pose = Pose()
    pose.turn("leaf_L", ry(g("open", 0.0)))
    pose.turn("leaf_R", ry(-g("open", 0.0)))
    pose.turn("gem", ry(g("spin", 0.0)) @ rz(g("wobble", 0.0)))
    pose.scale("gem", 1.0 + g("glow", 0.0))
    return pose


def clips():
    def clip(length, looping, params):
        return (length, looping, lambda t: pose_from(params(t)))

    def close(t):
        # Swings open for whoever enters, then slams shut behind them.
        p = keys(t, [(0.0, {}), (0.25, {"glow": 0.6}), (1.1, {"open": 105, "glow": 0.3}), (2.2, {"open": 105, "glow": 0.3}),
                     (2.65, {"open": -4, "glow": 0.7}), (2.8, {"open": 2, "glow": 0.4}), (3.0, {})])
        p["spin"] = 360.0 * smooth(0.1, 2.9, t)
        return p

    def idle(t, length=2.0):
        return {"glow": 0.12 * (1 + cyc(t, length)), "wobble": 6 * cyc(t, length, 0.25), "open": 1.5 * (1 - math.cos(2 * math.pi * t / length))}

    return {"close": clip(3.0, False, close), "idle": clip(2.0, False, idle)}


if __name__ == "__main__":
    rig.make_character(STEM, JOINTS, build_mesh, clips(),
                       lambda name: "Animations/enviorement/EN_levelEnd_door_%s.fbx" % name)
