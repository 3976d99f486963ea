"""The small enemy: a round purple waddler with a huge drooping nose, a green tuft and stubby limbs,
about 85 cm tall to fit its 75 cm box. Looks along +x.

Run: blender -b --factory-startup --python small_enemy.py
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import rig  # noqa: E402
from figure import add, keys  # noqa: E402
from rig import Pose, along_y, blend as weights_by, rx, ry, rz, smooth  # noqa: E402

STEM = "CH_SmallEnemy"
JOINTS = [
    ("root", (0, 20, 0), (0, 34, 0), None),
    ("body", (0, 30, 0), (0, 70, 0), "root"),
    ("nose", (26, 50, 0), (50, 38, 0), "body"),
    ("tuft", (-2, 74, 0), (-6, 92, 0), "body"),
    ("arm_L", (0, 44, -30), (2, 30, -36), "body"),
    ("arm_R", (0, 44, 30), (2, 30, 36), "body"),
    ("leg_L", (0, 20, -13), (0, 7, -13), "root"),
    ("foot_L", (0, 7, -13), (10, 2, -13), "leg_L"),
    ("leg_R", (0, 20, 13), (0, 7, 13), "root"),
    ("foot_R", (0, 7, 13), (10, 2, 13), "leg_R"),
]


def build_mesh(m):
    m.ellipsoid((0, 47, 0), (33, 32, 31), "body", weights_by(("body", along_y(30, 22)), ("root", along_y(22, 30))),
                nu=28, nv=18, squash=lambda v: 1.0 + 0.08 * math.sin(math.pi * v))
    m.ellipsoid((0, 38, 0), (26, 18, 24), "belly", "body", nu=16, nv=8)
    m.ellipsoid((40, 43, 0), (17, 11, 11), "nose", "nose", axis=(1.0, -0.45, 0.0),
                nu=18, nv=12)
    for z in (-1.0, 1.0):
        m.ellipsoid((-4, 84, 5 * z), (3, 10, 3), "tuft", "tuft", axis=(-0.3, 1.0, 0.4 * z), nu=8, nv=5)
    m.ellipsoid((-4, 86, 0), (3.5, 12, 3.5), "tuft", "tuft", axis=(-0.4, 1.0, 0.0), nu=8, nv=5)
    for side, z in (("L", -1.0), ("R", 1.0)):
        m.ellipsoid((1, 35, 36 * z), (6, 12, 6), "limb", "arm_" + side, axis=(0.1, 1.0, -0.35 * z), nu=10, nv=6)
        m.ellipsoid((3, 25, 40 * z), (7, 6.5, 7), "belly", "arm_" + side, nu=8, nv=5)
        m.ellipsoid((0, 13, 13 * z), (5.5, 9, 5.5), "limb", "leg_" + side, nu=10, nv=6)
        m.ellipsoid((5, 4.5, 13 * z), (11, 4.5, 8), "foot", "foot_" + side, nu=12, nv=6)


def pose_from(p):
    g = p.get
    pose = Pose()
    pose.move("root", (g("x", 0.0), g("y", 0.0), g("z", 0.0)))
    pose.turn("root", ry(g("yaw", 0.0)) @ rx(g("roll", 0.0)) @ rz(-g("pitch", 0.0)))
    pose.turn("body", rz(-g("lean", 0.0)) @ rx(g("sway", 0.0)))
    sq = g("squash", 0.0)
    if sq or g("shrink", 0.0):
        k = 1.0 - g("shrink", 0.0)
        pose.scale("root", (k * (1.0 + 0.45 * sq), k * (1.0 - 0.6 * sq), k * (1.0 + 0.45 * sq)))
    pose.turn("nose", rz(-g("nose", 0.0)) @ ry(g("nose_yaw", 0.0)))
    pose.turn("tuft", rx(g("tuft", 0.0)) @ rz(g("tuft_back", 0.0)))
    for side, sign in (("l", 1.0), ("r", -1.0)):
        pose.turn("arm_" + side.upper(), rz(g(side + "_arm", 0.0)) @ rx(sign * g(side + "_raise", 0.0)))
        pose.turn("leg_" + side.upper(), rz(g(side + "_leg", 0.0)))
        pose.turn("foot_" + side.upper(), rz(g(side + "_foot", 0.0)))
    return pose


def walk(t, length=0.8):
    ph = 2 * math.pi * t / length
    return {"y": 2.5 * abs(math.sin(ph)), "sway": 7 * math.sin(ph), "lean": 6, "nose": 8 * math.sin(2 * ph),
            "nose_yaw": 6 * math.sin(ph), "tuft": 12 * math.sin(ph + 0.6), "tuft_back": 8 * math.sin(2 * ph),
            "l_leg": 28 * math.sin(ph), "r_leg": -28 * math.sin(ph), "l_foot": 10 * math.sin(ph),
            "r_foot": -10 * math.sin(ph), "l_arm": -30 * math.sin(ph), "r_arm": 30 * math.sin(ph), "l_raise": 10,
            "r_raise": 10}


def dance(t, length=1.6):
    ph = 2 * math.pi * t / length
    return {"y": 6 * abs(math.sin(2 * ph)), "yaw": 360.0 * t / length, "sway": 10 * math.sin(2 * ph),
            "nose": 12 * math.sin(4 * ph), "tuft": 20 * math.sin(2 * ph), "l_raise": 70 + 30 * math.sin(4 * ph),
            "r_raise": 70 - 30 * math.sin(4 * ph), "l_arm": 40, "r_arm": 40, "l_leg": 25 * max(0.0, math.sin(2 * ph)),
            "r_leg": 25 * max(0.0, -math.sin(2 * ph))}


def clips():
    def clip(length, looping, params):
        return (length, looping, lambda t: pose_from(params(t)))

    stomped = {"squash": 1.0, "nose": -20, "l_raise": 60, "r_raise": 60, "tuft": 25}
    return {
        "walk": clip(0.8, True, walk),
        "death": clip(0.8, False, lambda t: add(keys(t, [(0.0, walk(0.0)), (0.08, stomped), (0.45, stomped),
                                                          (0.8, add(stomped, {"shrink": 0.95, "y": -10}))]),
                                                 {"yaw": 540 * smooth(0.45, 0.8, t)})),
        "dance": clip(1.6, True, dance),
    }


if __name__ == "__main__":
    rig.make_character(STEM, JOINTS, build_mesh, clips(),
                       lambda name: "Animations/SmallEnemy/CH_SmallEnemy_%s.fbx" % name)
