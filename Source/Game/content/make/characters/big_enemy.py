"""The armoured enemy: a hulking green brute with a great nose, long arms and a horned iron helmet
with a breastplate, about 190 cm tall and 200 cm from nose to back. Its armour hangs on one joint,
so the clips after the armour breaks shrink it away. Looks along +x; the "Reverse" walks turn it
to -x (this enemy shows its direction by clip, not by turning its mesh).

Run: blender -b --factory-startup --python big_enemy.py
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import rig  # noqa: E402
from figure import add, keys  # noqa: E402
from rig import Pose, along_y, blend as weights_by, rx, ry, rz, smooth  # noqa: E402

STEM = "CH_BigEnemy"
JOINTS = [
    ("root", (0, 58, 0), (0, 78, 0), None),
    ("body", (0, 70, 0), (0, 130, 0), "root"),
    ("nose", (60, 118, 0), (100, 92, 0), "body"),
    ("armour", (0, 140, 0), (0, 178, 0), "body"),
    ("arm_L", (0, 136, -46), (4, 98, -52), "body"),
    ("hand_L", (4, 98, -52), (8, 58, -55), "arm_L"),
    ("arm_R", (0, 136, 46), (4, 98, 52), "body"),
    ("hand_R", (4, 98, 52), (8, 58, 55), "arm_R"),
    ("leg_L", (0, 58, -24), (0, 32, -24), "root"),
    ("shin_L", (0, 32, -24), (0, 9, -24), "leg_L"),
    ("foot_L", (0, 9, -24), (20, 3, -24), "shin_L"),
    ("leg_R", (0, 58, 24), (0, 32, 24), "root"),
    ("shin_R", (0, 32, 24), (0, 9, 24), "leg_R"),
    ("foot_R", (0, 9, 24), (20, 3, 24), "shin_R"),
]


def build_mesh(m):
    m.ellipsoid((0, 108, 0), (64, 62, 38), "body", weights_by(("body", along_y(80, 62)), ("root", along_y(62, 80))),
                nu=24, nv=14, squash=lambda v: 1.0 + 0.1 * math.sin(math.pi * v * 0.8))
    m.ellipsoid((26, 92, 0), (36, 36, 30), "belly", "body", nu=14, nv=8)
    m.ellipsoid((78, 104, 0), (30, 17, 17), "nose", "nose", axis=(1.0, -0.6, 0.0), nu=18, nv=12)
    # The armour: a horned helmet and a breastplate, all on one joint.
    m.ellipsoid((0, 146, 0), (54, 30, 38), "helmet", "armour", nu=20, nv=8)
    m.tube((0, 140, 0), (0, 147, 0), 56.0, "plate", "armour", nu=24, nv=1, depth=0.72)
    for z in (-1.0, 1.0):
        m.tube((0, 160, 28 * z), (10, 188, 44 * z), lambda v: 9.0 * (1.0 - v) + 0.3, "horn", "armour", nu=10, nv=4)
    m.ellipsoid((44, 112, 0), (16, 30, 30), "plate", "armour", nu=16, nv=10)
    for side, z in (("L", -1.0), ("R", 1.0)):
        m.ellipsoid((0, 138, 42 * z), (22, 14, 16), "armour", "armour", nu=14, nv=8)
        m.ellipsoid((2, 117, 49 * z), (13, 22, 12), "limb", "arm_" + side, axis=(0.1, 1.0, -0.3 * z), nu=10, nv=6)
        m.ellipsoid((6, 80, 53 * z), (12, 22, 11), "limb", "hand_" + side, nu=10, nv=6)
        m.ellipsoid((9, 56, 55 * z), (14, 12, 11), "belly", "hand_" + side, nu=12, nv=8)
        m.ellipsoid((0, 45, 24 * z), (15, 16, 14), "limb", "leg_" + side, nu=10, nv=6)
        m.ellipsoid((0, 21, 24 * z), (12, 14, 12), "limb", "shin_" + side, nu=10, nv=6)
        m.ellipsoid((8, 6, 24 * z), (20, 6, 13), "foot", "foot_" + side, nu=12, nv=6)


def pose_from(p):
    g = p.get
    pose = Pose()
    pose.move("root", (g("x", 0.0), g("y", 0.0), 0.0))
    pose.turn("root", ry(g("yaw", 0.0)) @ rx(g("roll", 0.0)) @ rz(-g("pitch", 0.0)))
    pose.turn("body", ry(g("twist", 0.0)) @ rz(-g("lean", 0.0)) @ rx(g("sway", 0.0)))
    pose.turn("nose", rz(-g("nose", 0.0)))
    pose.turn("armour", rz(-g("armour_tip", 0.0)) @ rx(g("armour_roll", 0.0)))
    pose.scale("armour", max(0.01, 1.0 - g("armour_gone", 0.0)))
    if g("shrink", 0.0):
        pose.scale("root", 1.0 - g("shrink", 0.0))
    for side, sign in (("l", 1.0), ("r", -1.0)):
        s = side.upper()
        pose.turn("arm_" + s, rz(g(side + "_arm", 0.0)) @ rx(sign * g(side + "_raise", 0.0)))
        pose.turn("hand_" + s, rz(g(side + "_elbow", 0.0)))
        pose.turn("leg_" + s, rz(g(side + "_leg", 0.0)))
        pose.turn("shin_" + s, rz(-g(side + "_knee", 0.0)))
        pose.turn("foot_" + s, rz(g(side + "_foot", 0.0)))
    return pose


def walk(t, length=1.2, hurt=False, reverse=False):
    ph = 2 * math.pi * t / length
    p = {"y": -3 * abs(math.cos(ph)), "sway": 6 * math.sin(ph), "twist": 8 * math.sin(ph), "lean": 10,
         "nose": 7 * math.sin(2 * ph + 0.5), "armour_tip": 3 * math.sin(2 * ph)}
    for side, off in (("l", 0.0), ("r", math.pi)):
        a = ph + off
        p[side + "_leg"] = 26 * math.sin(a) + 12 * max(0.0, math.cos(a))
        p[side + "_knee"] = 5 + 35 * max(0.0, math.cos(a))
        p[side + "_foot"] = -8 * math.sin(a)
        p[side + "_arm"] = -22 * math.sin(a)
        p[side + "_elbow"] = 20 + 10 * math.sin(a)
        p[side + "_raise"] = 8
    if hurt:
        # Without its armour it hurries, hunched and clutching its head.
        p.update({"armour_gone": 0.99, "lean": 20, "l_arm": p["l_arm"] * 0.4 + 150, "l_elbow": 110,
                  "l_raise": 30, "nose": p["nose"] + 10})
    if reverse:
        p["yaw"] = 180.0
    return p


def clips():
    def clip(length, looping, params):
        return (length, looping, lambda t: pose_from(params(t)))

    hit = {"y": -12, "lean": -18, "nose": -25, "l_arm": 70, "r_arm": 60, "l_raise": 40, "r_raise": 40, "l_elbow": 60,
           "r_elbow": 60, "l_knee": 30, "r_knee": 30, "l_leg": 15, "r_leg": 15}

    def damaged(t):
        p = keys(t, [(0.0, walk(0.0)), (0.07, hit), (0.35, hit), (0.7, walk(0.0, hurt=True))])
        p["armour_tip"] = -200 * smooth(0.05, 0.5, t)
        p["armour_roll"] = 90 * smooth(0.05, 0.5, t)
        p["armour_gone"] = 0.99 * smooth(0.1, 0.45, t)
        return p

    def death(t):
        p = keys(t, [(0.0, walk(0.0, hurt=True)), (0.15, add(hit, {"armour_gone": 0.99})),
                     (0.6, add(hit, {"armour_gone": 0.99, "pitch": -80, "y": -25, "l_arm": 150, "r_arm": 140,
                                     "l_leg": 60, "r_leg": 40})),
                     (1.0, add(hit, {"armour_gone": 0.99, "pitch": -85, "y": -40, "shrink": 0.9, "l_arm": 160,
                                     "r_arm": 160, "l_leg": 70, "r_leg": 50}))])
        return p

    def dance(t, length=1.6):
        ph = 2 * math.pi * t / length
        return {"y": 8 * abs(math.sin(2 * ph)), "sway": 14 * math.sin(2 * ph), "twist": 25 * math.sin(ph),
                "nose": 15 * math.sin(4 * ph), "l_arm": 150 + 20 * math.sin(4 * ph), "r_arm": 150 - 20 * math.sin(4 * ph),
                "l_raise": 40, "r_raise": 40, "l_elbow": 40, "r_elbow": 40,
                "l_leg": 30 * max(0.0, math.sin(2 * ph)), "l_knee": 50 * max(0.0, math.sin(2 * ph)),
                "r_leg": 30 * max(0.0, -math.sin(2 * ph)), "r_knee": 50 * max(0.0, -math.sin(2 * ph))}

    return {
        "walkHurt": clip(1.0, True, lambda t: walk(t, 1.0, hurt=True)),
        "walkReverseHurt": clip(1.0, True, lambda t: walk(t, 1.0, hurt=True, reverse=True)),
        "walk": clip(1.2, True, lambda t: walk(t, 1.2)),
        "walkReverse": clip(1.2, True, lambda t: walk(t, 1.2, reverse=True)),
        "damaged": clip(0.7, False, damaged),
        "death": clip(1.0, False, death),
        "dance": clip(1.6, True, dance),
    }


if __name__ == "__main__":
    rig.make_character(STEM, JOINTS, build_mesh, clips(),
                       lambda name: "Animations/BigEnemy/CH_BigEnemy_%s.fbx" % name)
