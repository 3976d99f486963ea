"""The player: a small cloaked wanderer with a big hooded head, glowing eyes in the hood's shadow
and a bright scarf. 150 cm to the hood's tip, feet at y = 0, looking along +x.

Run: blender -b --factory-startup --python player.py  (writes the model and its 36 clips).
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import rig  # noqa: E402
from figure import add, biped_pose, blend, keys, mirrored, walk_cycle  # noqa: E402
from rig import along_y, blend as weights_by, cyc, smooth  # noqa: E402

STEM = "CH_Player"
JOINTS = [
    ("root", (0, 45, 0), (0, 55, 0), None),
    ("spine", (0, 50, 0), (0, 70, 0), "root"),
    ("chest", (0, 70, 0), (0, 90, 0), "spine"),
    ("head", (0, 92, 0), (0, 118, 0), "chest"),
    ("scarf", (-8, 93, 3), (-16, 80, 5), "chest"),
    ("scarf_tip", (-16, 80, 5), (-23, 66, 7), "scarf"),
    ("upperarm_L", (0, 86, -14), (0, 68, -16), "chest"),
    ("forearm_L", (0, 68, -16), (0, 53, -16), "upperarm_L"),
    ("upperarm_R", (0, 86, 14), (0, 68, 16), "chest"),
    ("forearm_R", (0, 68, 16), (0, 53, 16), "upperarm_R"),
    ("thigh_L", (0, 45, -8), (0, 25, -8), "root"),
    ("shin_L", (0, 25, -8), (0, 6, -8), "thigh_L"),
    ("foot_L", (0, 6, -8), (10, 2, -8), "shin_L"),
    ("thigh_R", (0, 45, 8), (0, 25, 8), "root"),
    ("shin_R", (0, 25, 8), (0, 6, 8), "thigh_R"),
    ("foot_R", (0, 6, 8), (10, 2, 8), "shin_R"),
]


def build_mesh(m):
    m.ellipsoid((2, 119, 0), (26, 25, 25), "head", "head", nu=28, nv=18)
    m.tube((-7, 137, 0), (-17, 150, 0), lambda v: 10.0 * (1.0 - v) + 0.01, "hood", "head", nu=12, nv=3)
    m.tube((0, 87, 0), (0, 97, 0), 14.0, "scarf", "chest", nu=20, nv=2)
    m.tube((-9, 95, 3), (-24, 64, 7), lambda v: 5.0 - 1.5 * v, "scarf",
           weights_by(("scarf", along_y(86, 76)), ("scarf_tip", lambda p: 1.0 - along_y(86, 76)(p))),
           nu=10, nv=6, depth=0.45)
    m.ellipsoid((13, 92, 0), (3.5, 3.5, 3.5), "glow", "chest", nu=10, nv=6)
    m.tube((0, 95, 0), (0, 33, 0), lambda v: 10.0 + 14.0 * v ** 0.9, "cloak",
           weights_by(("chest", along_y(90, 72)), ("spine", lambda p: 1.0 - abs(p.y - 66.0) / 20.0),
                      ("root", along_y(52, 62))),
           nu=22, nv=8, depth=0.85)
    for side, z in (("L", -1.0), ("R", 1.0)):
        m.ellipsoid((0, 77, 15 * z), (6.5, 11, 6.5), "sleeve", "upperarm_" + side, nu=12, nv=8)
        m.ellipsoid((0, 61, 16 * z), (5.5, 10, 5.5), "sleeve", "forearm_" + side, nu=12, nv=8)
        m.ellipsoid((1, 50, 16 * z), (6, 6, 5.5), "hand", "forearm_" + side, nu=10, nv=6)
        m.ellipsoid((0, 36, 8 * z), (6, 12, 6), "leg", "thigh_" + side, nu=10, nv=6)
        m.ellipsoid((0, 16, 8 * z), (5, 11, 5), "leg", "shin_" + side, nu=10, nv=6)
        m.ellipsoid((4, 5, 8 * z), (10, 5, 6.5), "boot", "foot_" + side, nu=12, nv=6)


# ---------------------------------------------------------------- poses
STAND = {"l_elbow": 12, "r_elbow": 12, "l_raise": 6, "r_raise": 6, "scarf": 8, "scarf_tip": 4,
         "l_knee": 4, "r_knee": 4, "l_thigh": 2, "r_thigh": 2}
HUNCH = add(STAND, {"lean": 16, "chest": 8, "nod": 14, "l_arm": 10, "r_arm": 10, "l_elbow": 4,
                    "r_elbow": 4, "root_y": -2, "l_knee": 12, "r_knee": 12, "l_thigh": 8, "r_thigh": 8,
                    "scarf": -12, "scarf_tip": -10})
CROUCH = add(STAND, {"root_y": -12, "lean": 18, "l_thigh": 45, "r_thigh": 40, "l_knee": 75,
                     "r_knee": 70, "l_foot": -25, "r_foot": -25, "l_arm": -35, "r_arm": -35,
                     "l_elbow": 20, "r_elbow": 20, "nod": -5})
STRETCH = add(STAND, {"root_y": 3, "lean": -6, "nod": -12, "l_arm": 150, "r_arm": 150, "l_raise": 42,
                      "r_raise": 42, "l_elbow": 5, "r_elbow": 5, "l_thigh": 30, "l_knee": 55,
                      "r_thigh": -8, "r_knee": 10, "l_foot": -20, "r_foot": -30, "scarf": -12,
                      "scarf_tip": -20})
FALL = add(STAND, {"lean": 4, "nod": -10, "l_arm": 100, "r_arm": 100, "l_raise": 55, "r_raise": 55,
                   "l_elbow": 30, "r_elbow": 30, "l_thigh": 25, "l_knee": 40, "r_thigh": 10,
                   "r_knee": 25, "scarf": 60, "scarf_tip": 30})
TUCK = add(STAND, {"root_y": 8, "lean": 30, "chest": 15, "nod": 25, "l_thigh": 110, "r_thigh": 110,
                   "l_knee": 130, "r_knee": 130, "l_arm": 60, "r_arm": 60, "l_elbow": 70,
                   "r_elbow": 70, "l_raise": 10, "r_raise": 10, "scarf": 50})
PLUNGE = add(STAND, {"nod": 10, "l_arm": 165, "r_arm": 165, "l_raise": 38, "r_raise": 38,
                     "l_elbow": 0, "r_elbow": 0, "l_thigh": 0, "r_thigh": 0, "l_knee": 0, "r_knee": 0,
                     "l_foot": -45, "r_foot": -45, "scarf": 80, "scarf_tip": 40})
WALL = add(STAND, {"root_x": 6, "lean": -4, "turn": -40, "nod": 10, "l_arm": 110, "r_arm": 140,
                   "l_raise": 30, "r_raise": 34, "l_elbow": 40, "r_elbow": 30, "l_thigh": 55,
                   "l_knee": 70, "r_thigh": 10, "r_knee": 15, "l_foot": 10, "r_foot": 20,
                   "scarf": 70, "scarf_tip": 35})
WALL_LEFT_YAW = -math.degrees(math.acos(-math.cos(2.0)))  # where the wall is once the mesh turns left


def idle(t, length=2.0, hunch=False):
    base = HUNCH if hunch else STAND
    breath = cyc(t, length)
    return add(base, {"chest": -2.5 * breath, "root_y": -0.8 * (1 + breath) * 0.5, "nod": 1.5 * breath,
                      "l_arm": 2 * breath, "r_arm": 2 * breath, "l_raise": 1.5 * breath,
                      "r_raise": 1.5 * breath, "scarf": 6 * cyc(t, length, 0.2),
                      "scarf_tip": 8 * cyc(t, length, 0.35), "side": 1.5 * cyc(t, length, 0.1) if hunch else 0})


def walk(t, length=0.6):
    return add(STAND, walk_cycle(t, length, stride=30, knee=45, arm=28, elbow=18, bob=2.5, lean=5),
               {"scarf": 12 + 6 * cyc(t, length, 0, 2), "scarf_tip": 10 * cyc(t, length, 0.3, 2)})


def walk_pre(t, length=0.8):
    return add(HUNCH, walk_cycle(t, length, stride=20, knee=30, arm=10, elbow=4, bob=1.5, lean=4, twist=3),
               {"nod": 3 * cyc(t, length, 0, 2)})


def run(t, length=0.5):
    return add(STAND, walk_cycle(t, length, stride=45, knee=85, arm=50, elbow=70, bob=4, lean=16, twist=9),
               {"nod": -8, "scarf": 50 + 8 * cyc(t, length, 0, 2), "scarf_tip": 15 + 14 * cyc(t, length, 0.3, 2)})


def fall(t, length=0.6, scale=1.0, legs=1.0, base=FALL):
    w = 2.0 * math.pi * t / length
    return add(base, {"l_arm": scale * 55 * math.sin(w), "r_arm": scale * 55 * math.sin(w + math.pi),
                      "l_raise": scale * 20 * math.cos(w), "r_raise": scale * 20 * math.cos(w + math.pi),
                      "l_elbow": 15 * math.sin(2 * w), "r_elbow": 15 * math.sin(2 * w + 1),
                      "l_thigh": legs * 25 * math.sin(w + 1), "r_thigh": legs * 25 * math.sin(w + 1 + math.pi),
                      "l_knee": legs * 20 * (1 + math.sin(w)), "r_knee": legs * 20 * (1 - math.sin(w)),
                      "scarf": 10 * math.sin(3 * w), "scarf_tip": 12 * math.sin(3 * w + 1), "side": 4 * math.sin(w)})


def wall_slide(t, length=0.8, left=False):
    p = add(WALL, {"root_y": 1.5 * cyc(t, length, 0, 2), "l_arm": 6 * cyc(t, length), "r_arm": -6 * cyc(t, length),
                   "l_knee": 8 * cyc(t, length, 0.25), "scarf": 12 * cyc(t, length, 0, 2),
                   "scarf_tip": 15 * cyc(t, length, 0.3, 2)})
    return facing_wall(p, left)


def facing_wall(p, left):
    if not left:
        return p
    return add(mirrored(p), {"root_yaw": WALL_LEFT_YAW})


def ease_to(t, a, b, t0, t1):
    return blend(a, b, smooth(t0, t1, t))


def clips():
    c = {}

    def clip(name, length, looping, params):
        c[name] = (length, looping, lambda t: biped_pose(params(t), scarf=True))

    # Intro: the dim wanderer kneels, looks up, startles at the spirit, stands and reaches to it.
    kneel = add(HUNCH, {"root_y": -22, "lean": 22, "nod": 25, "l_thigh": 95, "l_knee": 95, "l_foot": -5,
                        "r_thigh": -10, "r_knee": 100, "r_foot": -60, "l_arm": 30, "r_arm": 20, "l_elbow": 40,
                        "r_elbow": 30})
    look_up = add(kneel, {"nod": -20, "lean": 6, "chest": -6})
    startled = add(STAND, {"root_x": -6, "lean": -18, "nod": -20, "l_arm": 110, "r_arm": 95, "l_elbow": 80,
                           "r_elbow": 90, "l_raise": 20, "r_raise": 10, "l_thigh": -10, "r_thigh": 20,
                           "l_knee": 20, "r_knee": 25, "scarf": 30})
    reach = add(STAND, {"lean": 6, "nod": -15, "r_arm": 85, "r_elbow": 10, "r_raise": 30, "l_arm": 10,
                        "l_elbow": 30, "l_thigh": 15, "l_knee": 15, "scarf": 25, "scarf_tip": 20})
    bow = add(STAND, {"lean": 18, "nod": 25, "r_arm": 40, "r_elbow": 100, "l_arm": 5, "scarf": -10})
    intro_keys = [(0.0, STAND), (0.8, HUNCH), (2.2, kneel), (3.6, kneel), (4.6, look_up),
                  (5.2, add(look_up, {"turn": 30})), (5.8, add(look_up, {"turn": -30})), (6.3, startled),
                  (7.0, startled), (8.2, reach), (9.4, add(reach, {"r_arm": 110, "nod": -22})), (10.2, bow),
                  (10.9, bow), (11.6, STAND), (12.0, STAND)]
    clip("introStart", 12.0, True, lambda t: add(keys(t, intro_keys), {"scarf": 4 * cyc(t, 12.0, 0, 8)}))

    clip("idle", 2.0, True, lambda t: idle(t, 2.0))
    clip("idle_preSpirit", 2.4, True, lambda t: idle(t, 2.4, hunch=True))
    clip("idleToWalk", 0.4, True, lambda t: keys(t, [(0.0, idle(0.0)), (0.2, walk(0.0)), (0.4, idle(0.0))]))
    clip("walk", 0.6, True, walk)
    clip("walk_preSpirit", 0.8, True, walk_pre)
    clip("walkToIdle", 0.3, False, lambda t: ease_to(t, walk(0.0), idle(0.0), 0.0, 0.3))
    clip("walkToRun", 0.3, False, lambda t: ease_to(t, walk(0.0), run(0.0), 0.0, 0.3))
    clip("run", 0.5, True, run)
    clip("runToWalk", 0.3, False, lambda t: ease_to(t, run(0.0), walk(0.0), 0.0, 0.3))

    skid = add(STAND, {"root_y": -6, "lean": -14, "l_thigh": 35, "l_knee": 10, "l_foot": 20, "r_thigh": -15,
                       "r_knee": 35, "l_arm": 60, "r_arm": 45, "l_elbow": 20, "r_elbow": 30, "l_raise": 25,
                       "r_raise": 25, "scarf": -30, "scarf_tip": -15})
    clip("stop", 0.3, False, lambda t: keys(t, [(0.0, skid), (0.12, skid), (0.3, idle(0.0))]))
    clip("stop_preSpirit", 0.4, False, lambda t: keys(t, [(0.0, add(skid, {"lean": 10, "nod": 10})), (0.14, add(skid, {"lean": 8})),
                                                             (0.4, idle(0.0, 2.4, True))]))

    clip("jump", 0.4, False, lambda t: keys(t, [(0.0, CROUCH), (0.07, CROUCH), (0.22, STRETCH), (0.4, add(STRETCH, {"l_arm": -20, "r_arm": -20}))]))
    clip("jump_preSpirit", 0.3, False, lambda t: keys(t, [(0.0, add(CROUCH, {"lean": 10})), (0.07, CROUCH),
                                                          (0.3, add(STRETCH, {"l_arm": -60, "r_arm": -60, "lean": 10, "nod": 5}))]))
    apex = add(STRETCH, {"l_arm": -20, "r_arm": -20})
    clip("fallStart", 0.3, False, lambda t: ease_to(t, apex, fall(0.0), 0.0, 0.3))
    clip("fallStart_preSpirit", 0.3, False, lambda t: ease_to(t, add(apex, {"l_arm": -40, "r_arm": -40}),
                                                             fall(0.0, 0.8, 0.5, 0.6, add(FALL, {"lean": 15, "l_arm": -40, "r_arm": -40})), 0.0, 0.3))
    oops = add(STAND, {"lean": -15, "nod": -25, "l_arm": 130, "r_arm": 120, "l_raise": 40, "r_raise": 40,
                       "l_elbow": 20, "r_elbow": 20, "l_thigh": 30, "l_knee": 30, "scarf": 50})
    clip("edgeFallStart", 0.3, False, lambda t: keys(t, [(0.0, STAND), (0.12, oops), (0.3, fall(0.0, 0.6, 1.2, 1.6))]))
    clip("fall", 0.6, True, fall)
    clip("fall_preSpirit", 0.8, True, lambda t: fall(t, 0.8, 0.5, 0.6, add(FALL, {"lean": 15, "l_arm": -40, "r_arm": -40})))
    clip("edgeFall", 0.6, True, lambda t: fall(t, 0.6, 1.2, 1.6))
    clip("edgeFall_preSpirit", 0.8, True, lambda t: fall(t, 0.8, 0.7, 1.0, add(FALL, {"lean": 12, "l_arm": -30, "r_arm": -30})))

    land = add(CROUCH, {"root_y": -10, "l_arm": 40, "r_arm": 40, "l_raise": 30, "r_raise": 30, "scarf": 20})
    clip("jumpLeave", 8 / 30, False, lambda t: keys(t, [(0.0, fall(0.0)), (0.06, land), (8 / 30, idle(0.0))]))
    clip("jumpLeave_preSpirit", 0.3, False, lambda t: keys(t, [(0.0, fall(0.0, 0.8)), (0.08, add(land, {"lean": 8})),
                                                             (0.3, idle(0.0, 2.4, True))]))

    for left, suffix in ((True, "_left"), (False, "")):
        clip("wallGrab" + suffix, 0.2, False,
             lambda t, left=left: facing_wall(keys(t, [(0.0, fall(0.0)), (0.1, add(WALL, {"root_y": 4, "l_arm": 20})),
                                                        (0.2, WALL)]), left))
        clip("wallSlide" + suffix, 0.8, True, lambda t, left=left: wall_slide(t, 0.8, left))
    clip("wallJump", 10 / 30, False, lambda t: keys(t, [(0.0, WALL), (0.1, add(CROUCH, {"root_x": 5})), (10 / 30, STRETCH)]))

    clip("groundPoundStart", 0.3, False,
         lambda t: add(keys(t, [(0.0, STRETCH), (0.08, TUCK), (0.26, TUCK), (0.3, PLUNGE)]),
                       {"root_pitch": 360.0 * smooth(0.03, 0.27, t)}))
    clip("groundPoundFall", 0.4, True,
         lambda t: add(PLUNGE, {"side": 4 * cyc(t, 0.4), "nod": 3 * cyc(t, 0.4, 0.25), "scarf": 10 * cyc(t, 0.4, 0, 2),
                                "scarf_tip": 14 * cyc(t, 0.4, 0.3, 2), "l_knee": 5 * cyc(t, 0.4), "r_knee": -5 * cyc(t, 0.4)}))
    slam = add(CROUCH, {"root_y": -8, "lean": 2, "nod": 15, "l_arm": 40, "r_arm": 40, "l_raise": 75, "r_raise": 75,
                        "l_elbow": 10, "r_elbow": 10, "l_spread": 18, "r_spread": 18, "scarf": -25, "scarf_tip": -15})
    clip("groundPoundEnd", 0.4, False, lambda t: keys(t, [(0.0, PLUNGE), (0.05, slam), (0.2, slam), (0.4, idle(0.0))]))

    recoil = add(STAND, {"root_x": -8, "root_y": -3, "lean": -25, "nod": -30, "l_arm": 70, "r_arm": 50, "l_raise": 35,
                         "r_raise": 45, "l_elbow": 40, "r_elbow": 20, "l_thigh": 25, "r_thigh": -10, "l_knee": 25,
                         "r_knee": 30, "scarf": 40, "scarf_tip": 30})
    clip("damageOnGround", 0.5, False, lambda t: keys(t, [(0.0, STAND), (0.06, recoil), (0.22, recoil), (0.5, idle(0.0))]))
    tumble = add(FALL, {"root_pitch": -50, "nod": -30, "l_raise": 70, "r_raise": 70, "l_thigh": 50, "l_knee": 80,
                        "r_thigh": 35, "r_knee": 60})
    clip("damageInAir", 0.5, False, lambda t: keys(t, [(0.0, fall(0.0)), (0.08, tumble), (0.3, tumble), (0.5, fall(0.0))]))

    stagger = add(recoil, {"root_x": -12})
    knees = add(HUNCH, {"root_y": -25, "lean": 25, "nod": 30, "l_thigh": 80, "l_knee": 120, "r_thigh": 70, "r_knee": 120,
                        "l_foot": -40, "r_foot": -40, "l_arm": 20, "r_arm": 25, "l_elbow": 10, "r_elbow": 10})
    down = add(knees, {"root_y": -33, "root_pitch": 62, "lean": 8, "nod": 10, "l_arm": 150, "r_arm": 130,
                       "l_raise": 30, "r_raise": 20, "l_thigh": 20, "r_thigh": 30, "l_knee": 40, "r_knee": 70,
                       "scarf": 30, "scarf_tip": 10})
    clip("death", 1.6, False, lambda t: add(keys(t, [(0.0, STAND), (0.12, stagger), (0.4, stagger), (0.8, knees),
                                                     (1.2, down), (1.6, add(down, {"scale": -0.08}))])))

    cheer = add(STAND, {"lean": -8, "nod": -15, "l_arm": 160, "r_arm": 160, "l_raise": 50, "r_raise": 50, "l_elbow": 5,
                        "r_elbow": 5, "scarf": -20})
    hop = add(cheer, {"root_y": 22, "l_thigh": 40, "l_knee": 80, "r_thigh": 30, "r_knee": 70, "scarf": -15})
    clip("win", 2.0, False, lambda t: add(keys(t, [(0.0, STAND), (0.2, CROUCH), (0.45, hop), (0.7, add(CROUCH, {"l_arm": 150, "r_arm": 150})),
                                                    (0.95, cheer), (2.0, cheer)]),
                                          {"l_arm": 12 * math.sin(2 * math.pi * 2.5 * t) * smooth(0.95, 1.2, t),
                                           "r_arm": -12 * math.sin(2 * math.pi * 2.5 * t) * smooth(0.95, 1.2, t)}))

    wave = add(STAND, {"turn": -55, "twist": -25, "r_arm": 150, "r_raise": 50, "r_elbow": 30})
    clip("endCutscene", 6.0, False,
         lambda t: blend(add(walk(t % 0.6 if t < 4.2 else 0.0), {}),
                         add(wave, {"r_elbow": 30 + 25 * math.sin(2 * math.pi * 2 * t)}), smooth(4.2, 4.8, t)))
    return c


if __name__ == "__main__":
    rig.make_character(STEM, JOINTS, build_mesh, clips(),
                       lambda name: "Animations/Player/CH_Playercharacter_%s.fbx" % name)
