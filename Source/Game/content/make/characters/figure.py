"""Posing by named parameters: a clip is a function of time giving a dict of parameters, which
blend and mirror simply, and a character's `pose_from` turns them into joint rotations.

Angles are degrees; lengths centimetres. Key poses are dicts; `keys` eases between them by time.
"""
import math

from rig import Pose, rx, ry, rz, smooth

MIRROR_NEGATE = ("twist", "side", "turn", "tilt", "root_yaw", "root_roll", "root_z")


def keys(t, frames):
    """frames: [(time, params), ...] sorted; eased blend of the two around t, held outside."""
    if t <= frames[0][0]:
        return dict(frames[0][1])
    for (t0, a), (t1, b) in zip(frames, frames[1:]):
        if t <= t1:
            w = smooth(t0, t1, t)
            return blend(a, b, w)
    return dict(frames[-1][1])


def blend(a, b, w):
    out = {}
    for k in set(a) | set(b):
        out[k] = a.get(k, 0.0) + (b.get(k, 0.0) - a.get(k, 0.0)) * w
    return out


def add(*dicts):
    out = {}
    for d in dicts:
        for k, v in d.items():
            out[k] = out.get(k, 0.0) + v
    return out


def mirrored(params):
    """The same motion with left and right swapped across the character's middle plane."""
    out = {}
    for k, v in params.items():
        if k.startswith("l_"):
            out["r_" + k[2:]] = v
        elif k.startswith("r_"):
            out["l_" + k[2:]] = v
        else:
            out[k] = -v if k in MIRROR_NEGATE else v
    return out


def biped_pose(p, scarf=False):
    """Joint rotations of a biped with root, spine, chest, head, two arms and two legs (with feet
    when the rig has them)."""
    g = p.get
    pose = Pose()
    pose.move("root", (g("root_x", 0.0), g("root_y", 0.0), g("root_z", 0.0)))
    pose.turn("root", ry(g("root_yaw", 0.0)) @ rz(-g("root_pitch", 0.0)) @ rx(g("root_roll", 0.0)))
    if g("scale", 0.0):
        pose.scale("root", 1.0 + g("scale", 0.0))
    pose.turn("spine", ry(g("twist", 0.0)) @ rz(-g("lean", 0.0)) @ rx(g("side", 0.0)))
    pose.turn("chest", ry(g("twist", 0.0) * 0.5) @ rz(-g("chest", 0.0)))
    pose.turn("head", ry(g("turn", 0.0)) @ rz(-g("nod", 0.0)) @ rx(g("tilt", 0.0)))
    for side, out_sign in (("l", 1.0), ("r", -1.0)):
        # Out to the side first, then swung: a raised arm stays on its own side overhead.
        pose.turn("upperarm_" + side.upper(),
                  rz(g(side + "_arm", 0.0)) @ rx(out_sign * g(side + "_raise", 0.0)))
        pose.turn("forearm_" + side.upper(), rz(g(side + "_elbow", 0.0)))
        pose.turn("thigh_" + side.upper(),
                  rz(g(side + "_thigh", 0.0)) @ rx(out_sign * g(side + "_spread", 0.0)))
        pose.turn("shin_" + side.upper(), rz(-g(side + "_knee", 0.0)))
        pose.turn("foot_" + side.upper(), rz(g(side + "_foot", 0.0)))
    if scarf:
        pose.turn("scarf", rz(-g("scarf", 0.0)) @ rx(g("scarf_side", 0.0)))
        pose.turn("scarf_tip", rz(-g("scarf_tip", 0.0)))
    return pose


def walk_cycle(t, length, stride, knee, arm, elbow=15.0, bob=2.0, lean=0.0, twist=5.0, cycles=1):
    """One or more full cycles (two steps each) over the length: legs and arms opposed, the body
    lowest as the feet pass."""
    phase = 2.0 * math.pi * cycles * t / length
    out = {"lean": lean}
    for side, offset in (("l", 0.0), ("r", math.pi)):
        a = phase + offset
        swing = math.sin(a)
        lift = max(0.0, math.cos(a))
        out[side + "_thigh"] = stride * swing + 0.35 * knee * lift
        out[side + "_knee"] = 6.0 + knee * lift
        out[side + "_foot"] = -0.4 * stride * swing * 0.5 + 0.3 * knee * lift * 0.3
        out[side + "_arm"] = -arm * swing
        out[side + "_elbow"] = elbow + 0.4 * arm * max(0.0, -swing)
    out["root_y"] = -bob * (0.5 + 0.5 * math.cos(2.0 * phase))
    out["twist"] = twist * math.sin(phase)
    return out
