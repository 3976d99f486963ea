"""Paints the textures of the static meshes: the main tile atlas, the parallax, middle-ground and sky
sheets of the three worlds, and the own sheets of the decorations, the checkpoint and the key.

usage: make_textures.py GAME_ASSET_ROOT STAMP [--png FOLDER]
Writes DDS files under GAME_ASSET_ROOT at the paths of atlas_layout, raised for the levels' light
(lib/lighting.py), then touches STAMP. With --png it also writes PNG copies as painted, for looking at.
"""
import os
import struct
import sys

sys.dont_write_bytecode = True  # keep the source tree clean of caches
import zlib

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "lib"))

import atlas_layout as layout  # noqa: E402
import dds  # noqa: E402
import lighting  # noqa: E402
import paint as p  # noqa: E402

# Per world: lip, walked-on top, earth, built stone, rune glow.
THEMES = {
    1: dict(lip=[(0, "#2f6b1f"), (0.5, "#4f9a2a"), (1, "#9ad04a")], earth=[(0, "#3a2616"), (0.5, "#6a4424"), (1, "#94683a")],
            stone=[(0, "#55574f"), (0.5, "#858678"), (1, "#b7b6a2")], mortar="#39382f", moss="#4b7d26", glow="#5ff0d0",
            dark="#2b2a24"),
    2: dict(lip=[(0, "#b8823c"), (0.5, "#e0b060"), (1, "#f7dc98")], earth=[(0, "#7a3f1c"), (0.5, "#b86a32"), (1, "#dc9a58")],
            stone=[(0, "#93683a"), (0.5, "#c99a5c"), (1, "#ecc88a")], mortar="#6a4a28", moss="#d8b070", glow="#ffc83a",
            dark="#5a3418"),
    3: dict(lip=[(0, "#3a0710"), (0.5, "#7a1020"), (1, "#c8283a")], earth=[(0, "#120a14"), (0.5, "#2c1a2c"), (1, "#4a3040")],
            stone=[(0, "#2a1c24"), (0.5, "#4c3440"), (1, "#7a5a66")], mortar="#12080c", moss="#8a1424", glow="#ff3040",
            dark="#0e070b"),
}


# ---------------------------------------------------------------------------------------------- tiles
def ground_side(world, gen):
    n = layout.CELL_CONTENT
    t = THEMES[world]
    soil = p.fbm(n, n, 4, 4, gen, 5)
    img = p.ramp(soil * 0.9 + 0.05, t["earth"])
    stones = p.blur(p.speckle(n, n, 0.012, gen), 2) * 9
    img = p.mix(img, p.ramp(p.fbm(n, n, 8, 8, gen, 2), t["stone"]), np.clip(stones, 0, 1) * 0.8)
    if world == 2:  # sandstone strata
        rows = np.arange(n)[:, None] + 6 * p.fbm(n, n, 1, 3, gen, 2)
        img = p.shade(img, 0.85 + 0.15 * (np.sin(rows * 0.45) > 0.3))
    edge = 0.22 * n + 0.06 * n * p.fbm(1, n, 1, 6, gen, 2)[0]
    y = np.arange(n)[:, None]
    lip = (y < edge[None, :]).astype(float)
    lip = np.maximum(lip, p.blades(n, n, 70, gen, int(0.18 * n), int(0.42 * n), 0.25) if world != 2 else 0)
    lip_col = p.ramp(0.35 + 0.55 * p.fbm(n, n, 6, 12, gen, 3) - 0.3 * y / n, t["lip"])
    img = p.mix(img, lip_col, lip)
    shadow = np.clip((y - edge[None, :]) / 10.0, 0, 1) * 0.45 + 0.55
    img = p.shade(img, np.where(lip > 0.5, 1.0, shadow))
    return img


def ground_top(world, gen):
    n = layout.CELL_CONTENT
    t = THEMES[world]
    if world == 2:
        y = np.arange(n)[:, None]
        x = np.arange(n)[None, :]
        ripples = 0.5 + 0.5 * np.sin((y + 4 * np.sin(x * 2 * np.pi / n * 2)) * 2 * np.pi / 16)
        return p.ramp(0.35 + 0.3 * ripples + 0.25 * p.fbm(n, n, 8, 8, gen, 3), t["lip"])
    base = p.fbm(n, n, 8, 8, gen, 4)
    tufts = p.blur(p.speckle(n, n, 0.08, gen), 1) * 3
    img = p.ramp(0.2 + 0.5 * base + 0.3 * np.clip(tufts, 0, 1), t["lip"])
    if world == 1:
        flowers = p.speckle(n, n, 0.004, gen)
        img = p.mix(img, p.colour("#f4e27a"), flowers)
    return img


def fill_side(world, gen):
    n = layout.CELL_CONTENT
    t = THEMES[world]
    img = p.ramp(p.fbm(n, n, 4, 4, gen, 5) * 0.8, t["earth"])
    if world == 2:
        rows = np.arange(n)[:, None] + 5 * p.fbm(n, n, 1, 4, gen, 2)
        img = p.shade(img, 0.8 + 0.2 * (np.sin(rows * 2 * np.pi / 16) > 0))
    stones = np.clip(p.blur(p.speckle(n, n, 0.01, gen), 3) * 14, 0, 1)
    rock = p.ramp(0.2 + 0.6 * p.fbm(n, n, 8, 8, gen, 2), t["stone"])
    img = p.mix(img, p.shade(rock, 0.8), stones)
    if world == 3:
        veins = p.cracks(n, n, 3, gen, 70, 0.7)
        img = p.mix(img, p.colour("#8a1426"), veins * 0.5)
    return p.shade(img, 0.9)


def platform_side(world, gen):
    n = layout.CELL_CONTENT
    t = THEMES[world]
    joint, value, edge = p.bricks(n, n, 4, 2, 1.5, gen)
    face = p.ramp(0.45 + value + 0.35 * (p.fbm(n, n, 8, 8, gen, 4) - 0.5), t["stone"])
    face = p.shade(face, 1.0 + 0.25 * np.clip(1 - edge / 5.0, 0, 1) * (np.arange(n)[:, None] % 32 < 16))
    img = p.mix(face, p.colour(t["mortar"]), joint)
    if world == 1:
        moss = np.clip((p.fbm(n, n, 4, 4, gen, 3) - 0.5) * 4, 0, 1) * (np.arange(n)[:, None] < n * 0.5)
        img = p.mix(img, p.colour(t["moss"]), moss * 0.8)
    return p.shade(img, p.frame(n, n, 6, 0.45))


def platform_top(world, gen):
    n = layout.CELL_CONTENT
    t = THEMES[world]
    joint, value, _ = p.bricks(n, n, 2, 2, 1.5, gen, 0.2)
    img = p.mix(p.ramp(0.5 + value + 0.3 * (p.fbm(n, n, 6, 6, gen, 3) - 0.5), t["stone"]), p.colour(t["mortar"]), joint)
    return p.shade(img, p.frame(n, n, 5, 0.4))


def hover_side(world, gen):
    n = layout.CELL_CONTENT
    t = THEMES[world]
    img = p.ramp(0.3 + 0.5 * p.fbm(n, n, 6, 6, gen, 4), t["stone"])
    y = np.arange(n)[:, None] / n
    x = np.arange(n)[None, :] / n
    band = (np.abs(y - 0.5) < 0.09).astype(float)
    runes = ((np.sin(x * 2 * np.pi * 6) * np.sin(y * 2 * np.pi * 9 + 1.0)) > 0.35).astype(float) * band
    img = p.shade(img, 1.0 - 0.35 * band)
    img = p.mix(img, p.colour(t["glow"]), np.clip(runes + 0.3 * p.blur(runes, 3), 0, 1))
    img = p.shade(img, 1.0 - 0.5 * np.clip(1 - np.minimum(y, 1 - y) / 0.06, 0, 1))
    return img


def hover_under(world, gen):
    n = layout.CELL_CONTENT
    t = THEMES[world]
    rock = p.ramp(0.15 + 0.6 * p.fbm(n, n, 5, 5, gen, 5), t["earth"])
    y = np.arange(n)[:, None] / n
    return p.shade(rock, 1.0 - 0.5 * y)


def breakable(world, gen):
    n = layout.CELL_CONTENT
    t = THEMES[world]
    img = p.ramp(0.35 + 0.4 * p.fbm(n, n, 6, 6, gen, 4), t["stone"])
    crack = p.cracks(n, n, 6, gen, 90, 1.3)
    img = p.mix(img, p.colour(t["dark"]), crack)
    img = p.shade(img, 1.0 + 0.5 * (p.blur(crack, 1) - crack))
    return p.shade(img, p.frame(n, n, 8, 0.6))


TILE_PAINTERS = {
    "ground_side": ground_side, "ground_top": ground_top, "fill_side": fill_side,
    "platform_side": platform_side, "platform_top": platform_top, "hover_side": hover_side,
    "hover_under": hover_under, "breakable": breakable,
}


def embed(img, world, gen):
    """Something buried in the earth of a second look: a boulder and roots, a bone, a pale skull."""
    n = img.shape[0]
    yy, xx = np.mgrid[0:n, 0:n].astype(float)
    cx, cy = n * (0.3 + 0.4 * gen.random()), n * (0.55 + 0.25 * gen.random())
    if world == 1:
        stone = ((xx - cx) / 17.0) ** 2 + ((yy - cy) / 11.0) ** 2 < 1.0
        img = p.mix(img, p.ramp(0.3 + 0.5 * p.fbm(n, n, 6, 6, gen, 2), THEMES[1]["stone"]), stone.astype(float))
        roots = p.cracks(n, n, 3, gen, 70, 1.0) * (yy > n * 0.25)
        return p.mix(img, p.colour("#2a1a0c"), roots * 0.85)
    if world == 2:
        bone = (np.abs(yy - cy) < 3.5) & (np.abs(xx - cx) < 22)
        knobs = ((xx - cx + 22) ** 2 + (yy - cy) ** 2 < 36) | ((xx - cx - 22) ** 2 + (yy - cy) ** 2 < 36)
        return p.mix(img, p.colour("#efe2c0"), (bone | knobs).astype(float) * 0.95)
    skull = ((xx - cx) / 13.0) ** 2 + ((yy - cy) / 11.0) ** 2 < 1.0
    eyes = ((xx - cx + 5) ** 2 + (yy - cy + 1) ** 2 < 9) | ((xx - cx - 5) ** 2 + (yy - cy + 1) ** 2 < 9)
    img = p.mix(img, p.colour("#b8a8a0"), skull.astype(float))
    return p.mix(img, p.colour("#1a0a0e"), (eyes & skull).astype(float))


def framed(picture):
    """A cell's picture inside its gutter: wrapped sideways, edge rows repeated up and down."""
    g = layout.CELL_INSET
    sideways = np.pad(picture, ((0, 0), (g, g), (0, 0)), mode="wrap")
    return np.pad(sideways, ((g, g), (0, 0), (0, 0)), mode="edge")


def main_atlas():
    w, h = layout.MAIN_SIZE
    sheet = np.zeros((h, w, 3))
    sheet[:] = p.colour("#404040")
    for world in layout.WORLDS:
        for k, surface in enumerate(layout.SURFACES):
            x, y, cw, ch = layout.main_cell(world, surface)
            sheet[y:y + ch, x:x + cw] = framed(TILE_PAINTERS[surface](world, p.rng(world * 100 + k)))
        for k, surface in enumerate(layout.VARIANT_SURFACES):
            x, y, cw, ch = layout.main_cell(world, surface, variant=True)
            gen = p.rng(world * 100 + 50 + k)
            sheet[y:y + ch, x:x + cw] = framed(embed(TILE_PAINTERS[surface](world, gen), world, gen))
    return sheet


# ------------------------------------------------------------------------------------- backgrounds
def silhouette_mask(heights, w, h):
    """1 below the polyline, 0 above, with a one-pixel soft edge; and each column's top row."""
    u = (np.arange(w) + 0.5) / w
    top = np.array([layout.silhouette_at(heights, v) for v in u]) * h
    rows = h - (np.arange(h)[:, None] + 0.5)
    return np.clip(top[None, :] - rows + 0.5, 0.0, 1.0), top


LAYER_STYLE = {
    ("far", 1): ([(0, "#6d8fa8"), (1, "#9db8c8")], "#c9dde6"),
    ("near", 1): ([(0, "#2e5a4a"), (1, "#5b8a6a")], "#9cc0b0"),
    ("far", 2): ([(0, "#c9935c"), (1, "#e6bd86")], "#f4dcb0"),
    ("near", 2): ([(0, "#9a5a2c"), (1, "#cf8a4a")], "#ebc08a"),
    ("far", 3): ([(0, "#3a1420"), (1, "#5e2030")], "#8a3040"),
    ("near", 3): ([(0, "#1a0810"), (1, "#34101c")], "#701828"),
    ("middle", 1): ([(0, "#1c3a1c"), (1, "#3c6a2c")], "#6f9a4a"),
    ("middle", 2): ([(0, "#6a3418"), (1, "#a8602c")], "#e09a5a"),
    ("middle", 3): ([(0, "#0c0508"), (1, "#241018")], "#b02030"),
}


# Built pieces of the silhouettes, by world: stone colour stops.
STRUCTURE = {
    1: [(0, "#5a5c52"), (1, "#a8a890")],
    2: [(0, "#8a4c22"), (1, "#e0a060")],
    3: [(0, "#140a10"), (1, "#3a2430")],
}
BUILT = ("tower", "column", "pillar", "cathedral", "spire", "headstone", "pyramid", "mesa")


def paint_material(name, kind, world, base, rows, depth, below, texture, gen):
    h, w = rows.shape[0], base.shape[1]
    x = np.arange(w)[None, :]
    if name in BUILT:
        img = p.ramp(0.25 + 0.5 * depth + 0.3 * (texture - 0.5), STRUCTURE[world])
        if name in ("pyramid", "mesa"):  # steps and strata
            img = p.shade(img, 0.8 + 0.25 * ((rows % 18) > 3))
        elif name != "headstone":  # coursed stone
            course = (rows // 12).astype(int)
            joint = ((rows % 12) < 1.5) | (((x + 14 * (course % 2)) % 28) < 1.5)
            img = p.shade(img, np.where(joint, 0.72, 1.0))
        if world == 3 and name in ("cathedral", "spire"):  # lit windows
            cells = ((rows // 34).astype(int) * 131 + (x // 22).astype(int) * 71) % 97
            lit = (cells % 5 == 0) & ((rows % 34) > 10) & ((rows % 34) < 26) & ((x % 22) > 7) & ((x % 22) < 14)
            lit = lit & (below > 20)
            img = p.mix(img, p.colour("#ffb050"), lit.astype(float))
        return img
    if name in ("tree", "forest"):
        leaves = np.clip(p.blur(p.speckle(h, w, 0.06, gen), 2) * 6, 0, 1)
        return p.shade(base, 0.78 + 0.35 * leaves * (0.4 + 0.6 * depth))
    if name == "mountain":
        gullies = p.fbm(h, w, 2, 48, gen, 3)
        return p.shade(base, 0.88 + 0.22 * gullies)
    if name == "dune":
        return p.shade(base, 0.92 + 0.08 * np.sin(below * 0.12))
    if name == "dead":
        return p.ramp(0.2 + 0.2 * depth, [(0, "#050204"), (1, "#1e0c12")])
    return base


def layer_band(kind, world, w, h, gen):
    heights = layout.silhouette(kind, world)
    materials = layout.silhouette_materials(kind, world)
    mask, top = silhouette_mask(heights, w, h)
    stops, rim = LAYER_STYLE[(kind, world)]
    rows = h - (np.arange(h)[:, None] + 0.5)
    rows = np.broadcast_to(rows, (h, w))
    depth = np.clip(rows / np.maximum(top[None, :], 1.0), 0, 1)  # 0 at the bottom, 1 at the ridge
    texture = p.fbm(h, w, 8, 32, gen, 5)
    base = p.ramp(0.15 + 0.6 * depth + 0.35 * (texture - 0.5), stops)
    below = np.clip(top[None, :] - rows, 0, None)
    column = np.array([materials[int(round((i + 0.5) / w * layout.SAMPLES))] for i in range(w)])
    img = base.copy()
    for name in sorted(set(column)):
        painted = paint_material(name, kind, world, base, rows, depth, below, texture, gen)
        if kind == "far" and name in BUILT:  # far buildings sink into the haze
            painted = p.mix(painted, base, 0.55)
        img = np.where((column == name)[None, :, None], painted, img)
    rim_mask = np.clip(1.0 - below / (6.0 if kind != "far" else 10.0), 0, 1) * mask
    img = p.mix(img, p.colour(rim), rim_mask * 0.7)
    if kind == "far":  # haze toward the ground
        img = p.mix(img, p.colour(rim), 0.35 * (1 - depth))
    # Above the ridge: transparent, with the ridge colour so filtering leaves no dark fringe.
    ridge = img[np.clip(h - np.ceil(top).astype(int), 0, h - 1), np.arange(w)]
    img = np.where(mask[..., None] > 0, img, ridge[None, :, :])
    return np.concatenate([img, mask[..., None]], axis=2)


def parallax_sheet(world):
    w, h = layout.PARALLAX_SIZE
    sheet = np.zeros((h, w, 4))
    for kind, seed in (("far", 1), ("near", 2)):
        x, y, bw, bh = layout.parallax_band(kind)
        sheet[y:y + bh, x:x + bw] = layer_band(kind, world, bw, bh, p.rng(world * 10 + seed))
    return sheet


def middle_sheet(world):
    w, h = layout.MIDDLE_SIZE
    return layer_band("middle", world, w, h, p.rng(world * 10 + 5))


SKY = {
    1: ([(0, "#3a78c8"), (0.6, "#7fb4e6"), (1, "#d8ecf4")], "#ffffff", "#fff4c0", (0.72, 0.3, 0.05)),
    2: ([(0, "#d87a30"), (0.55, "#f0b060"), (1, "#fbe6b0")], "#fff0d0", "#fffbe0", (0.3, 0.45, 0.09)),
    3: ([(0, "#12030a"), (0.5, "#3c0a18"), (1, "#9a1a24")], "#5a1020", "#ffd0c0", (0.6, 0.28, 0.06)),
}


def sky_band(world, w, h, gen):
    stops, cloud_col, disc_col, (sx, sy, sr) = SKY[world]
    y = np.arange(h)[:, None] / h
    x = np.arange(w)[None, :] / w
    img = p.ramp(np.broadcast_to(y, (h, w)), stops)
    clouds = p.fbm(h, w, 4, 8, gen, 5)
    cover = np.clip((clouds - 0.52) * 3.5, 0, 1) * np.clip(1.2 - y * 1.3, 0, 1)
    img = p.mix(img, p.colour(cloud_col), cover * (0.85 if world != 3 else 0.6))
    d = np.hypot((x - sx) * w / h, y - sy)
    img = p.mix(img, p.colour(disc_col), np.clip((sr - d) * h / 2.0, 0, 1))
    img = p.mix(img, p.colour(disc_col), 0.35 * np.clip(1 - d / (sr * 4), 0, 1) ** 2)
    return img


def sky_sheet():
    w, h = layout.SKY_SIZE
    sheet = np.zeros((h, w, 3))
    for world in layout.WORLDS:
        x, y, bw, bh = layout.sky_band(world)
        sheet[y:y + bh, x:x + bw] = sky_band(world, bw, bh, p.rng(300 + world))
    return sheet


# ------------------------------------------------------------------------------------ own sheets
def material(name, w, h, gen):
    n = p.fbm(h, w, 8, 4, gen, 4)
    if name in ("mossy_stone", "ruin_stone", "sandstone", "sandstone_carved", "grave_stone", "dark_rock"):
        stops = {"mossy_stone": THEMES[1]["stone"], "ruin_stone": THEMES[1]["stone"], "sandstone": THEMES[2]["stone"],
                 "sandstone_carved": THEMES[2]["stone"], "grave_stone": [(0, "#3a3440"), (0.5, "#6a6270"), (1, "#948a96")],
                 "dark_rock": THEMES[3]["stone"]}[name]
        img = p.ramp(0.2 + 0.7 * n, stops)
        img = p.mix(img, p.colour("#1a1418"), p.cracks(h, w, 4, gen, 60, 0.8) * 0.7)
        if name == "mossy_stone":
            img = p.mix(img, p.colour(THEMES[1]["moss"]), np.clip((p.fbm(h, w, 4, 2, gen, 3) - 0.55) * 4, 0, 1))
        if name == "sandstone_carved":
            rows = np.arange(h)[:, None] % 32
            img = p.shade(img, 1.0 - 0.35 * (rows < 3))
        return img
    if name in ("moss", "leaves", "cactus", "blood_moss", "sand"):
        stops = {"moss": THEMES[1]["lip"], "leaves": [(0, "#1f4a18"), (0.5, "#3d7f26"), (1, "#8ccc48")],
                 "cactus": [(0, "#2a5a2a"), (0.5, "#4f8a3c"), (1, "#8cbf60")], "blood_moss": THEMES[3]["lip"],
                 "sand": THEMES[2]["lip"]}[name]
        img = p.ramp(0.15 + 0.8 * n, stops)
        if name == "leaves":
            img = p.shade(img, 0.75 + 0.5 * np.clip(p.blur(p.speckle(h, w, 0.08, gen), 1) * 2, 0, 1))
        if name == "cactus":
            x = np.arange(w)[None, :]
            img = p.shade(img, 0.8 + 0.3 * (np.sin(x * 2 * np.pi / 16) > 0.6))
            img = p.mix(img, p.colour("#f0e8c0"), p.speckle(h, w, 0.01, gen))
        return img
    if name in ("bark", "dead_bark"):
        stops = [(0, "#2a1a0e"), (0.5, "#5a3a1e"), (1, "#8a6038")] if name == "bark" else \
            [(0, "#120a0c"), (0.5, "#2e2226"), (1, "#5a4a4e")]
        streak = p.fbm(h, w, 2, 16, gen, 4)
        return p.ramp(0.1 + 0.8 * streak, stops)
    if name == "crystal":
        x = np.arange(w)[None, :] / w
        y = np.arange(h)[:, None] / h
        facets = 0.5 + 0.5 * np.sin((x * 3 + y * 1.5) * 2 * np.pi) * np.sin((x * 2 - y) * 2 * np.pi)
        return p.ramp(0.3 + 0.5 * facets + 0.2 * n, [(0, "#5a0818"), (0.5, "#d0203c"), (1, "#ffb0c0")])
    if name == "bone":
        return p.ramp(0.35 + 0.6 * n, [(0, "#8a7a5a"), (0.5, "#d8cca8"), (1, "#fbf4e0")])
    if name == "flower":
        petals = p.ramp(n, [(0, "#e04a8a"), (0.5, "#f4a0c8"), (1, "#ffe070")])
        return p.mix(petals, p.colour("#fff6a0"), p.speckle(h, w, 0.05, gen))
    if name == "iron":
        return p.ramp(0.2 + 0.5 * n, [(0, "#1c1c22"), (0.5, "#3a3a44"), (1, "#6a6a74")])
    if name in ("lantern_dark", "lantern_lit"):
        y = np.arange(h)[:, None] / h
        x = np.arange(w)[None, :] / w
        core = np.clip(1.0 - np.hypot(x - 0.5, (y - 0.5) * 0.7) * 2.2, 0, 1)
        if name == "lantern_dark":
            return p.ramp(0.15 + 0.3 * n + 0.2 * core, [(0, "#10141c"), (0.5, "#26303c"), (1, "#4a5a66")])
        return p.ramp(0.45 + 0.55 * core + 0.1 * n, [(0, "#c06010"), (0.5, "#ffc040"), (1, "#fffff0")])
    if name in ("gold", "gold_dark"):
        stops = [(0, "#8a5a10"), (0.5, "#e8b830"), (1, "#fff2a0")]
        img = p.ramp((0.25 if name == "gold" else 0.05) + 0.6 * n, stops)
        return img
    if name == "blood_surface":  # dark liquid with bright ripple crests, repeating sideways
        ripples = p.fbm(h, w, 4, 6, gen, 4)
        crest = np.clip(1.0 - np.abs(np.sin(ripples * 18.0)) * 4.0, 0, 1)
        img = p.ramp(0.25 + 0.5 * ripples, [(0, "#3a0008"), (0.5, "#7a0a14"), (1, "#b01a24")])
        return p.mix(img, p.colour("#ff5a5a"), crest * 0.6)
    if name == "blood_deep":  # bright under the surface, nearly black below, with rising bubbles
        y = np.arange(h)[:, None] / h
        img = p.ramp(np.broadcast_to(0.95 - 0.9 * y, (h, w)) + 0.1 * (p.fbm(h, w, 6, 4, gen, 3) - 0.5),
                     [(0, "#120004"), (0.6, "#5a0610"), (1, "#a01020")])
        bubbles = np.clip(p.blur(p.speckle(h, w, 0.004, gen), 1) * 5, 0, 1)
        return p.mix(img, p.colour("#d03040"), bubbles * 0.7)
    raise ValueError("no material " + name)


def own_sheet(stem):
    w, h = layout.COMMON_SIZE
    sheet = np.zeros((h, w, 3))
    for half, name in enumerate(layout.DECORATIONS[stem]):
        x, y, bw, bh = layout.half_rect(half)
        # Seeded by the material, so a material looks the same on every sheet that uses it.
        sheet[y:y + bh, x:x + bw] = material(name, bw, bh, p.rng(zlib.crc32(name.encode()) + half))
    return sheet


# ------------------------------------------------------------------------------------------ output
def write_png(path, image):
    rgba = dds.to_rgba8(image)
    h, w = rgba.shape[:2]
    raw = b"".join(b"\0" + rgba[y].tobytes() for y in range(h))

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b"")
    with open(path, "wb") as stream:
        stream.write(data)


def sheets():
    yield layout.MAIN_ATLAS, main_atlas()
    for world in layout.WORLDS:
        yield layout.PARALLAX_ATLAS[world], parallax_sheet(world)
        yield layout.MIDDLE_ATLAS[world], middle_sheet(world)
    yield layout.SKY_ATLAS, sky_sheet()
    for stem in sorted(layout.DECORATIONS):
        yield layout.COMMON_FOLDER + stem + "_T.dds", own_sheet(stem)


def main(argv):
    if len(argv) < 3:
        print("usage: make_textures.py GAME_ASSET_ROOT STAMP [--png FOLDER]")
        return 2
    root, stamp = argv[1], argv[2]
    png = argv[argv.index("--png") + 1] if "--png" in argv else None
    for relative, image in sheets():
        path = os.path.join(root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        dds.write(path, lighting.for_scene_light(image))
        if png:
            os.makedirs(png, exist_ok=True)
            write_png(os.path.join(png, os.path.basename(relative).replace(".dds", ".png")), image)
    with open(stamp, "w") as stream:
        stream.write("static mesh textures\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
