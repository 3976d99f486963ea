"""The boss: a giant red-skinned king with a massive nose, a gold crown, a purple robe and a cape,
650 cm tall. It faces -x, toward the player who comes from the left (authored facing +x at player
scale, then scaled and turned by its placement).

Run: blender -b --factory-startup --python boss.py
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import rig  # noqa: E402
from figure import add, biped_pose, keys, walk_cycle  # noqa: E402
from rig import along_y, blend as weights_by, cyc, rx, ry, rz, smooth  # noqa: E402

STEM = "CH_Boss"
PLACEMENT = rig.Placement(scale=650.0 / 150.0, yaw=180.0)
JOINTS = [
    ("root", (0, 40, 0), (0, 52, 0), None),
    ("spine", (0, 45, 0), (0, 75, 0), "root"),
    ("chest", (0, 75, 0), (0, 95, 0), "spine"),
    ("head", (0, 97, 0), (0, 125, 0), "chest"),
    ("nose", (22, 108, 0), (38, 96, 0), "head"),
    ("crown", (0, 132, 0), (0, 148, 0), "head"),
    ("cape", (-24, 98, 0), (-30, 40, 0), "chest"),
    ("upperarm_L", (0, 92, -25), (2, 72, -29), "chest"),
    ("forearm_L", (2, 72, -29), (6, 50, -32), "upperarm_L"),
    ("upperarm_R", (0, 92, 25), (2, 72, 29), "chest"),
    ("forearm_R", (2, 72, 29), (6, 50, 32), "upperarm_R"),
    ("thigh_L", (0, 40, -12), (0, 24, -12), "root"),
    ("shin_L", (0, 24, -12), (0, 8, -12), "thigh_L"),
    ("foot_L", (0, 8, -12), (12, 3, -12), "shin_L"),
    ("thigh_R", (0, 40, 12), (0, 24, 12), "root"),
    ("shin_R", (0, 24, 12), (0, 8, 12), "thigh_R"),
    ("foot_R", (0, 8, 12), (12, 3, 12), "shin_R"),
]


def build_mesh(m):
    m.ellipsoid((0, 66, 0), (36, 40, 25), "robe",
                weights_by(("chest", along_y(88, 72)), ("spine", lambda p: max(0.0, 1.0 - abs(p.y - 66.0) / 18.0)),
                           ("root", along_y(52, 62))),
                nu=24, nv=14, squash=lambda v: 1.0 + 0.12 * math.sin(math.pi * v))
    m.tube((0, 57, 0), (0, 63, 0), 38.0, "belt", "spine", nu=24, nv=1, depth=0.7)
    m.ellipsoid((4, 113, 0), (23, 22, 19), "head", "head", nu=26, nv=16)
    m.ellipsoid((30, 103, 0), (9, 15, 9), "nose", "nose", axis=(1.0, -0.55, 0.0), nu=16, nv=12)
    m.tube((0, 129, 0), (0, 138, 0), lambda v: 15.0 - 1.0 * v, "crown", "crown", nu=20, nv=2)
    for k in range(6):
        a = 2 * math.pi * k / 6
        base = (15 * math.cos(a), 137, 15 * math.sin(a))
        m.tube(base, (16 * math.cos(a), 148, 16 * math.sin(a)), lambda v: 3.5 * (1.0 - v) + 0.2, "crown", "crown",
               nu=6, nv=1)
    m.ellipsoid((17 * math.cos(0.0), 133, 0), (3, 3, 3), "skin", "crown", nu=8, nv=5)
    m.ellipsoid((-32, 68, 0), (7, 34, 25), "cape",
                weights_by(("cape", along_y(70, 95)), ("chest", along_y(95, 70))), nu=20, nv=12)
    for side, z in (("L", -1.0), ("R", 1.0)):
        m.ellipsoid((0, 92, 22 * z), (13, 9, 10), "robe", "chest", nu=12, nv=6)
        m.ellipsoid((1, 82, 27 * z), (8, 13, 7), "skin", "upperarm_" + side, nu=12, nv=8)
        m.ellipsoid((4, 61, 31 * z), (8, 12, 7), "glove", "forearm_" + side, nu=12, nv=8)
        m.ellipsoid((6, 49, 32 * z), (9, 8, 7), "glove", "forearm_" + side, nu=10, nv=6)
        m.ellipsoid((0, 18, 12 * z), (7, 12, 7), "boot", "shin_" + side, nu=10, nv=6)
        m.ellipsoid((5, 5, 12 * z), (14, 5, 8), "boot", "foot_" + side, nu=12, nv=6)


def pose_from(p):
    pose = biped_pose(p)
    g = p.get
    pose.turn("nose", rz(-g("nose", 0.0)) @ ry(g("nose_yaw", 0.0)))
    pose.turn("crown", rz(-g("crown_tip", 0.0)) @ rx(g("crown_roll", 0.0)))
    if g("crown_gone", 0.0):
        pose.scale("crown", max(0.01, 1.0 - g("crown_gone", 0.0)))
    pose.turn("cape", rz(-g("cape", 0.0)) @ rx(g("cape_side", 0.0)))
    return pose


STAND = {"l_raise": 18, "r_raise": 18, "l_elbow": 20, "r_elbow": 20, "l_knee": 5, "r_knee": 5, "l_thigh": 3,
         "r_thigh": 3, "cape": 4}


def idle(t, length=2.4):
    b = cyc(t, length)
    return add(STAND, {"chest": -3 * b, "root_y": -0.8 * (1 + b), "nod": -3 * b, "tilt": 4 * cyc(t, length, 0.3),
                       "twist": 5 * cyc(t, length, 0.1), "l_arm": 6 * b, "r_arm": 6 * b, "l_raise": 4 * b,
                       "r_raise": 4 * b, "nose": 6 * cyc(t, length, 0, 3), "cape": 5 * cyc(t, length, 0.2)})


def clips():
    def clip(length, looping, params):
        return (length, looping, lambda t: pose_from(params(t)))

    recoil = add(STAND, {"root_x": -6, "lean": -22, "nod": -35, "nose": -35, "l_arm": 80, "r_arm": 60, "l_raise": 55,
                         "r_raise": 50, "l_elbow": 60, "r_elbow": 40, "l_thigh": 20, "l_knee": 25, "r_knee": 30,
                         "cape": 25})
    clutch = add(STAND, {"lean": 15, "nod": 20, "l_arm": 120, "r_arm": 115, "l_elbow": 100, "r_elbow": 95,
                         "l_raise": 5, "r_raise": 5, "nose": 15, "root_y": -4})
    hunched = add(STAND, {"root_y": -12, "lean": 30, "nod": 25, "l_thigh": 45, "r_thigh": 40, "l_knee": 70,
                          "r_knee": 70, "l_foot": -20, "r_foot": -20, "l_arm": 30, "r_arm": 30, "cape": -10})
    roar = add(STAND, {"lean": -12, "nod": -35, "nose": -20, "l_arm": 110, "r_arm": 110, "l_raise": 70,
                       "r_raise": 70, "l_elbow": 30, "r_elbow": 30, "cape": 30, "cape_side": 5})
    slam = add(STAND, {"root_y": -6, "lean": 25, "nod": 10, "l_arm": 40, "r_arm": 40, "l_elbow": 80, "r_elbow": 80,
                       "l_knee": 30, "r_knee": 30, "l_thigh": 20, "r_thigh": 20})
    toppled = add(recoil, {"root_pitch": -80, "root_y": -30, "l_arm": 160, "r_arm": 150, "l_thigh": 60,
                           "r_thigh": 40, "l_knee": 40, "crown_gone": 0.99, "crown_tip": 90})

    def move(t, length=1.0):
        # It backs off to its next spot: quick backward hops, arms flapping, cape lifting.
        p = walk_cycle(length - t, length, stride=28, knee=50, arm=35, elbow=30, bob=6, lean=-8, twist=6)
        return add(STAND, p, {"cape": 20 + 10 * cyc(t, length, 0, 2), "nose": 10 * cyc(t, length, 0.1, 2),
                              "l_raise": 25, "r_raise": 25})

    def dance(t, length=2.0):
        ph = 2 * math.pi * t / length
        return add(STAND, {"side": 12 * math.sin(2 * ph), "twist": 20 * math.sin(ph), "root_y": 5 * abs(math.sin(2 * ph)),
                           "l_arm": 140 + 25 * math.sin(4 * ph), "r_arm": 140 - 25 * math.sin(4 * ph),
                           "l_raise": 45, "r_raise": 45, "l_elbow": 45, "r_elbow": 45, "nose": 15 * math.sin(4 * ph),
                           "tilt": 12 * math.sin(2 * ph), "l_thigh": 25 * max(0.0, math.sin(2 * ph)),
                           "l_knee": 45 * max(0.0, math.sin(2 * ph)), "r_thigh": 25 * max(0.0, -math.sin(2 * ph)),
                           "r_knee": 45 * max(0.0, -math.sin(2 * ph)), "cape": 15 * math.sin(2 * ph)})

    return {
        "idle": clip(2.4, True, idle),
        "hurt": clip(1.0, False, lambda t: keys(t, [(0.0, idle(0.0)), (0.08, recoil), (0.35, recoil), (0.6, clutch),
                                                     (1.0, idle(0.0))])),
        "move": clip(1.0, True, move),
        "death": clip(2.5, False, lambda t: add(keys(t, [(0.0, idle(0.0)), (0.15, recoil), (0.6, clutch), (0.9, recoil),
                                                          (1.8, toppled), (2.5, add(toppled, {"scale": -0.1, "root_y": -40}))]),
                                                {"crown_roll": 200 * smooth(0.9, 1.8, t)})),
        "intro": clip(3.0, False, lambda t: keys(t, [(0.0, hunched), (0.6, hunched), (1.4, roar), (2.1, roar), (2.5, slam),
                                                      (3.0, idle(0.0))])),
        "dance": clip(2.0, True, dance),
    }


if __name__ == "__main__":
    rig.make_character(STEM, JOINTS, build_mesh, clips(), lambda name: "Animations/Boss/CH_Boss_%s.fbx" % name,
                       placement=PLACEMENT)
