"""Where each character's parts sit in its colour texture, and how each part is painted.

Shared by the Blender scripts (UVs) and the texture script (pixels); plain Python, no Blender. A
region is (u0, v0, u1, v1) in UV space with v up. Painted with a kind of surface and its colours;
"sphere" regions are laid out as longitude/latitude (u = 0.5 faces the character's front) so that
features such as eyes can be placed by angle.
"""

SIZE = 512  # texture side in pixels


def cell(col, row, w=1, h=1, grid=4):
    """A rectangle of whole cells of a grid, counted from the bottom left."""
    return (col / grid, row / grid, (col + w) / grid, (row + h) / grid)


def _eyes(lon, lat, radius, iris, pupil=None, glow=False):
    return [dict(lon=s * lon, lat=lat, radius=radius, iris=iris, pupil=pupil, glow=glow) for s in (-1, 1)]


ATLASES = {
    "CH_Player": {
        "head": cell(0, 2, 2, 2), "cloak": cell(2, 2, 2, 2), "scarf": cell(0, 1, 2, 1),
        "sleeve": cell(2, 1), "hand": cell(3, 1), "leg": cell(0, 0), "boot": cell(1, 0),
        "hood": cell(2, 0), "glow": cell(3, 0),
    },
    "CH_SmallEnemy": {
        "body": cell(0, 2, 2, 2), "nose": cell(2, 2, 2, 2), "limb": cell(0, 1), "foot": cell(1, 1),
        "tuft": cell(2, 1), "belly": cell(3, 1),
    },
    "CH_BigEnemy": {
        "body": cell(0, 2, 2, 2), "nose": cell(2, 3), "armour": cell(3, 3),
        "plate": cell(2, 2, 2, 1), "limb": cell(0, 1), "foot": cell(1, 1), "helmet": cell(2, 1, 2, 1),
        "belly": cell(0, 0), "horn": cell(1, 0),
    },
    "CH_Boss": {
        "head": cell(0, 2, 2, 2), "robe": cell(2, 2, 2, 2), "nose": cell(0, 1), "crown": cell(1, 1),
        "skin": cell(2, 1), "glove": cell(3, 1), "boot": cell(0, 0), "belt": cell(1, 0), "cape": cell(2, 0, 2, 1),
    },
    "EN_Eye": {
        "eyeball": cell(0, 2, 2, 2), "lid": cell(2, 2, 2, 2), "lash": cell(0, 1), "stalk": cell(1, 1),
    },
    "EN_LevelEnd_Door": {
        "frame": cell(0, 2, 2, 2), "leaf": cell(2, 2, 2, 2), "gem": cell(0, 1), "band": cell(1, 1),
        "step": cell(2, 1, 2, 1),
    },
}

# How each region is painted: kind, colours (linear-ish 0..1 sRGB values), details.
PAINT = {
    "CH_Player": {
        "head": dict(kind="hooded_face", base=(0.16, 0.27, 0.5), shade=(0.03, 0.04, 0.09),
                     face=dict(lon=0, lat=-6, width=100, height=70),
                     eyes=_eyes(22, 0, 11, (0.55, 1.0, 0.95), glow=True)),
        "cloak": dict(kind="cloth", base=(0.16, 0.27, 0.5), trim=(0.95, 0.8, 0.35), trim_band=(0.68, 0.8)),
        "scarf": dict(kind="stripes", base=(0.98, 0.38, 0.12), stripe=(1.0, 0.82, 0.25), count=6),
        "sleeve": dict(kind="cloth", base=(0.13, 0.22, 0.42), trim=(0.95, 0.8, 0.35), trim_band=(0.06, 0.2)),
        "hand": dict(kind="skin", base=(0.92, 0.86, 0.78)),
        "leg": dict(kind="cloth", base=(0.2, 0.18, 0.22)),
        "boot": dict(kind="leather", base=(0.45, 0.27, 0.14)),
        "hood": dict(kind="cloth", base=(0.16, 0.27, 0.5)),
        "glow": dict(kind="glow", base=(0.6, 1.0, 0.95)),
    },
    "CH_SmallEnemy": {
        "body": dict(kind="creature", base=(0.62, 0.33, 0.66), spots=(0.45, 0.2, 0.5),
                     eyes=_eyes(24, 22, 13, (1.0, 0.95, 0.3), pupil=(0.05, 0.02, 0.05)),
                     mouth=dict(lon=0, lat=-16, width=40, colour=(0.2, 0.03, 0.08))),
        "nose": dict(kind="skin", base=(0.95, 0.45, 0.45), warts=(0.75, 0.3, 0.35)),
        "limb": dict(kind="skin", base=(0.5, 0.26, 0.55)),
        "foot": dict(kind="leather", base=(0.3, 0.14, 0.3)),
        "tuft": dict(kind="stripes", base=(0.35, 0.9, 0.45), stripe=(0.2, 0.6, 0.3), count=4),
        "belly": dict(kind="skin", base=(0.85, 0.65, 0.8)),
    },
    "CH_BigEnemy": {
        "body": dict(kind="creature", base=(0.42, 0.55, 0.25), spots=(0.3, 0.42, 0.18),
                     eyes=_eyes(22, 14, 12, (1.0, 0.5, 0.1), pupil=(0.05, 0.02, 0.0)),
                     mouth=dict(lon=0, lat=-20, width=50, colour=(0.15, 0.05, 0.02), teeth=True)),
        "nose": dict(kind="skin", base=(0.75, 0.55, 0.35), warts=(0.55, 0.38, 0.2)),
        "armour": dict(kind="metal", base=(0.55, 0.6, 0.68)),
        "plate": dict(kind="metal", base=(0.5, 0.56, 0.66), rivets=True),
        "limb": dict(kind="skin", base=(0.36, 0.48, 0.22)),
        "foot": dict(kind="leather", base=(0.28, 0.2, 0.12)),
        "helmet": dict(kind="metal", base=(0.62, 0.66, 0.74), rivets=True, band=(0.85, 0.65, 0.2)),
        "belly": dict(kind="skin", base=(0.7, 0.75, 0.45)),
        "horn": dict(kind="skin", base=(0.92, 0.88, 0.75)),
    },
    "CH_Boss": {
        "head": dict(kind="creature", base=(0.62, 0.2, 0.17), spots=(0.45, 0.12, 0.1),
                     eyes=_eyes(24, 12, 14, (1.0, 0.9, 0.2), pupil=(0.3, 0.0, 0.0), glow=True),
                     mouth=dict(lon=0, lat=-28, width=70, colour=(0.12, 0.02, 0.02), teeth=True)),
        "robe": dict(kind="cloth", base=(0.22, 0.1, 0.3), trim=(0.9, 0.7, 0.2), trim_band=(0.68, 0.8)),
        "nose": dict(kind="skin", base=(0.78, 0.3, 0.25), warts=(0.55, 0.15, 0.12)),
        "crown": dict(kind="metal", base=(0.95, 0.75, 0.2), rivets=True),
        "skin": dict(kind="skin", base=(0.6, 0.2, 0.17)),
        "glove": dict(kind="leather", base=(0.15, 0.1, 0.12)),
        "boot": dict(kind="leather", base=(0.12, 0.08, 0.1)),
        "belt": dict(kind="metal", base=(0.85, 0.65, 0.2)),
        "cape": dict(kind="cloth", base=(0.55, 0.06, 0.1), trim=(0.9, 0.7, 0.2), trim_band=(0.68, 0.8)),
    },
    "EN_Eye": {
        "eyeball": dict(kind="great_eye", base=(0.95, 0.9, 0.8), veins=(0.75, 0.15, 0.15),
                        iris=(0.95, 0.35, 0.05), pupil=(0.02, 0.0, 0.0), iris_radius=28, pupil_radius=12),
        "lid": dict(kind="skin", base=(0.35, 0.14, 0.2), warts=(0.25, 0.08, 0.14)),
        "lash": dict(kind="stripes", base=(0.08, 0.02, 0.05), stripe=(0.2, 0.05, 0.1), count=8),
        "stalk": dict(kind="skin", base=(0.3, 0.1, 0.16)),
    },
    "EN_LevelEnd_Door": {
        "frame": dict(kind="stone", base=(0.5, 0.48, 0.52), runes=(0.4, 0.95, 0.9)),
        "leaf": dict(kind="wood", base=(0.42, 0.24, 0.12), band=(0.25, 0.25, 0.28)),
        "gem": dict(kind="glow", base=(0.4, 1.0, 0.9)),
        "band": dict(kind="metal", base=(0.3, 0.3, 0.34), rivets=True),
        "step": dict(kind="stone", base=(0.38, 0.36, 0.4)),
    },
}
