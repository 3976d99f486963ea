"""The effect and animated-sprite sheets. Each sheet's grid comes from its committed definition
(columns, rows, frameCount, size), so a definition edited by hand and its sheet stay in step; the
frames are drawn here by the painter named after the definition's id.

Ground effects keep their ground line at GROUND of the cell height from the top: the definitions lift
the sprite by that much (world sprites hang below their anchor).
"""
import glob
import json
import os

import numpy as np

import paint as p

HERE = os.path.dirname(os.path.abspath(__file__))
ASSET_ROOT = os.path.join(HERE, "..", "..", "data", "game")
GROUND = 0.85
# Texels per world unit of a sheet cell: the follow camera shows about 2400 units over 1080 pixels.
DENSITY = 0.6


def load_definitions(folder):
    definitions = []
    for path in sorted(glob.glob(os.path.join(ASSET_ROOT, folder, "**", "*.json"), recursive=True)):
        with open(path) as stream:
            data = json.load(stream)
        data.setdefault("id", os.path.splitext(os.path.basename(path))[0])
        definitions.append(data)
    return definitions


def texture_path(name, prefix):
    return name if ("/" in name or "\\" in name) else prefix + name


def cell_size(definition):
    size = definition.get("size", [100, 100])
    # Small effects get more texels per unit, so that no cell side falls below 48.
    density = max(DENSITY, 48.0 / min(size[0], size[1]))
    return int(round(size[0] * density)), int(round(size[1] * density))


# Particle pieces ----------------------------------------------------------------------------------------

def puff(image, cx, cy, r, alpha, seed, tint=p.DUST):
    """A dust cloud: a few overlapping balls, lit from above, with a soft darker rim."""
    if alpha <= 0.01 or r < 0.5:
        return
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    rng = np.random.default_rng(seed)
    d = p.circle(xs, ys, cx, cy, r)
    for _ in range(3):
        a = rng.random() * 2 * np.pi
        d = np.minimum(d, p.circle(xs, ys, cx + np.cos(a) * r * 0.55, cy + np.sin(a) * r * 0.4, r * 0.7))
    rim = tuple(c * 0.45 for c in tint)
    p.over(image, rim, p.fill(d - max(1.0, r * 0.12), 1.2) * alpha * 0.8)
    shade = np.clip((ys - (cy - r)) / (2 * r), 0, 1)
    p.over(image, p.mix((1, 1, 1), tint, shade * 0.8 + 0.2), p.fill(d, 1.2) * alpha)


def ring(image, cx, cy, r, thickness, color, alpha, squash=1.0):
    if alpha <= 0.01 or r <= 0:
        return
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    k = np.hypot(xs - cx, (ys - cy) / squash)
    d = np.abs(k - r) - thickness * 0.5
    p.add_light(image, color, p.glow(d, thickness * 1.5, 0.6 * alpha))
    p.over(image, p.mix(color, (1, 1, 1), 0.4), p.fill(d, 1.0) * alpha)


def glow_ball(image, cx, cy, r, color, alpha, core=(1, 1, 1)):
    if alpha <= 0.01:
        return
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    d = p.circle(xs, ys, cx, cy, r)
    p.add_light(image, color, p.glow(d, r * 0.8, 0.8 * alpha))
    p.over(image, core, p.fill(d, 1.0) * alpha)


def spark(image, x, y, dx, dy, length, width, color, alpha):
    """A streak from (x, y) back along (dx, dy): bright head, glowing tail."""
    if alpha <= 0.01:
        return
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    n = max(np.hypot(dx, dy), 1e-6)
    tx, ty = x - dx / n * length, y - dy / n * length
    d = p.segment(xs, ys, x, y, tx, ty, width)
    p.add_light(image, color, p.glow(d, width * 2.5, 0.7 * alpha))
    p.over(image, p.mix(color, (1, 1, 1), 0.6), p.fill(d, 1.0) * alpha)


def star(image, cx, cy, r, color, alpha, rotation=0.0, points=4):
    if alpha <= 0.01 or r < 0.5:
        return
    radius = min(r * 0.6, 6.0 + r * 0.15)
    image, cx, cy = p.local(image, cx, cy, r + 7 * radius)
    if image is None:
        return
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    d = p.polygon(xs, ys, p.star_points(cx, cy, r, r * 0.3, points, rotation))
    p.add_light(image, color, p.glow(d, radius, 0.8 * alpha))
    p.over(image, p.mix(color, (1, 1, 1), 0.7), p.fill(d, 1.0) * alpha)


def chunk(image, cx, cy, r, angle, alpha, color=(0.42, 0.32, 0.5)):
    if alpha <= 0.01:
        return
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    pts = [(cx + np.cos(angle + a) * r * k, cy + np.sin(angle + a) * r * k)
           for a, k in ((0, 1.0), (1.7, 0.8), (3.0, 1.1), (4.4, 0.75))]
    d = p.polygon(xs, ys, pts)
    p.over(image, p.NIGHT_DEEP, p.fill(d - 1.5, 1.0) * alpha)
    shade = np.clip((ys - (cy - r)) / (2 * r), 0, 1)
    p.over(image, p.mix(tuple(min(1, c * 1.6) for c in color), color, shade), p.fill(d, 1.0) * alpha)


def ease_out(t):
    return 1 - (1 - t) ** 3


def fade(t, start=0.5):
    return float(np.clip((1 - t) / (1 - start), 0, 1)) if t > start else 1.0


# Effect painters: (canvas, t in 0..1 over the frames, frame index, cell w, cell h) ------------------------

def dust_burst(img, t, w, h, spread, lift, count, size, seed, sideways=True, behind=False):
    ground = h * GROUND
    rng = np.random.default_rng(seed)
    e = ease_out(t)
    for i in range(count):
        side = (-1 if i % 2 == 0 else 1) if sideways else -1
        speed = 0.6 + rng.random() * 0.4
        x = w / 2 + side * (0.08 + e * spread * speed) * w
        if behind:
            x = w * 0.8 - (0.05 + e * spread * (0.3 + 0.9 * i / count)) * w
        y = ground - size * h * 0.5 - e * lift * h * (0.4 + rng.random())
        r = size * h * (0.6 + e * 0.7) * (0.7 + rng.random() * 0.4) * (1 - 0.55 * t)
        puff(img, x, y, r, fade(t, 0.35), seed * 31 + i)


def fx_player_jump(img, t, i, w, h):
    dust_burst(img, t, w, h, 0.32, 0.12, 4, 0.28, 3)
    ring(img, w / 2, h * GROUND - 2, ease_out(t) * w * 0.3, 3, p.DUST, fade(t, 0.2) * 0.8, squash=0.3)


def fx_player_walk(img, t, i, w, h):
    ground = h * GROUND
    e = ease_out(t)
    for k, (dx, dy, s) in enumerate(((0.0, 0.0, 0.30), (-0.18, -0.1, 0.22), (0.12, -0.05, 0.2))):
        x = w * (0.6 + dx) - e * w * 0.25
        y = ground - h * s - e * h * (0.15 + 0.1 * k)
        puff(img, x, y, h * s * (0.7 + 0.6 * e) * (1 - 0.5 * t), fade(t, 0.3), 70 + k)


def fx_player_run(img, t, i, w, h):
    dust_burst(img, t, w, h, 0.38, 0.18, 5, 0.3, 5, behind=True)
    rng = np.random.default_rng(9)
    for k in range(5):
        y = h * (0.25 + 0.12 * k)
        x = w * (0.55 + rng.random() * 0.1) - ease_out(t) * w * 0.35
        spark(img, x, y, 1, 0, w * 0.2 * (1 - t), 1.6, p.GOLD_LIGHT, fade(t, 0.2) * 0.8)


def fx_player_land(img, t, i, w, h):
    dust_burst(img, t, w, h, 0.38, 0.05, 6, 0.3, 11)
    ring(img, w / 2, h * GROUND, ease_out(t) * w * 0.42, 3, p.DUST, fade(t, 0.1) * 0.7, squash=0.22)


def fx_player_ground_pound_start(img, t, i, w, h):
    cx, cy = w / 2, h / 2
    # Energy gathers inward, then flashes.
    r = (1 - ease_out(t)) * w * 0.34 + w * 0.05
    ring(img, cx, cy, r, 4, p.VIOLET, 0.9 * fade(t, 0.7))
    rng = np.random.default_rng(13)
    for k in range(10):
        a = k / 10 * 2 * np.pi + rng.random() * 0.3
        dist = (1 - t) * w * 0.32 + w * 0.08
        spark(img, cx + np.cos(a) * dist, cy + np.sin(a) * dist, -np.cos(a), -np.sin(a),
              w * 0.12 * (1 - t) + 3, 1.8, p.GOLD_LIGHT, fade(t, 0.75))
    flash = max(0.0, 1 - abs(t - 0.8) / 0.2)
    glow_ball(img, cx, cy, w * 0.08 + flash * w * 0.1, p.VIOLET, 0.3 + 0.7 * flash)
    star(img, cx, cy, w * 0.3 * flash, p.GOLD, flash)


def fx_player_ground_pound(img, t, i, w, h):
    ground = h * GROUND
    e = ease_out(t)
    ring(img, w / 2, ground, e * w * 0.48, 5, p.VIOLET, fade(t, 0.3), squash=0.18)
    ring(img, w / 2, ground, e * w * 0.3, 3, p.GOLD_LIGHT, fade(t, 0.2), squash=0.18)
    dust_burst(img, t, w, h, 0.42, 0.25, 8, 0.26, 17)
    rng = np.random.default_rng(19)
    for k in range(8):
        side = -1 if k % 2 else 1
        vx = side * (0.2 + rng.random() * 0.3) * w
        vy = -(0.6 + rng.random() * 0.6) * h
        x = w / 2 + vx * t
        y = ground + vy * t + 1.4 * h * t * t
        chunk(img, x, y, h * 0.045 * (0.7 + rng.random() * 0.6), rng.random() * 6 + t * 8, fade(t, 0.6))
    flash = max(0.0, 1 - t / 0.25)
    glow_ball(img, w / 2, ground, w * 0.06 * flash + 1, p.GOLD, flash)


def fx_wall_slide(img, t, i, w, h):
    e = ease_out(t)
    puff(img, w * 0.5 - e * w * 0.1, h * 0.7 - e * h * 0.3, w * (0.2 + 0.15 * e), fade(t, 0.3), 23)
    rng = np.random.default_rng(29)
    for k in range(3):
        x = w * 0.5 + (rng.random() - 0.5) * w * 0.3
        y = h * (0.5 + 0.2 * k / 3) - e * h * 0.35 * (0.5 + rng.random())
        spark(img, x, y, 0, -1, h * 0.12, 1.4, p.GOLD_LIGHT, fade(t, 0.2))


def fx_enemy_death(img, t, i, w, h):
    cx, cy = w / 2, h * 0.55
    e = ease_out(t)
    rng = np.random.default_rng(31)
    for k in range(7):
        a = k / 7 * 2 * np.pi + rng.random()
        dist = e * w * 0.25 * (0.6 + rng.random() * 0.5)
        puff(img, cx + np.cos(a) * dist, cy + np.sin(a) * dist * 0.7 - e * h * 0.08,
             w * 0.12 * (0.8 + e * 0.6) * (1 - 0.6 * t), fade(t, 0.4), 300 + k, tint=(0.6, 0.45, 0.78))
    flash = max(0.0, 1 - t / 0.2)
    star(img, cx, cy, w * 0.3 * flash, p.VIOLET, flash, rotation=0.3, points=6)
    # The freed soul rises out of the smoke.
    if t > 0.25:
        s = (t - 0.25) / 0.75
        from ui_art import soul_flame
        layer = p.canvas(w, h)
        soul_flame(layer, cx, cy - s * h * 0.35, h * 0.07, phase=s * 6, glow_strength=0.6)
        layer[..., 3] *= fade(s, 0.6)
        p.over(img, layer[..., :3], layer[..., 3])
    for k in range(6):
        a = rng.random() * 2 * np.pi
        dist = e * w * 0.42
        star(img, cx + np.cos(a) * dist, cy + np.sin(a) * dist, w * 0.03, p.GOLD_LIGHT, fade(t, 0.5), rotation=t * 3)


def fx_player_hit(img, t, i, w, h):
    cx, cy = w / 2, h / 2
    e = ease_out(t)
    flash = fade(t, 0.3)
    star(img, cx, cy, w * (0.22 + 0.12 * e), p.HEART, flash, rotation=0.2, points=7)
    star(img, cx, cy, w * (0.12 + 0.08 * e), (1, 0.9, 0.9), flash, rotation=0.6, points=5)
    rng = np.random.default_rng(37)
    for k in range(8):
        a = k / 8 * 2 * np.pi + rng.random() * 0.4
        dist = (0.12 + e * 0.33) * w
        spark(img, cx + np.cos(a) * dist, cy + np.sin(a) * dist, np.cos(a), np.sin(a), w * 0.1 * (1 - t) + 2, 2.0,
              p.HEART_LIGHT, fade(t, 0.4))
    ring(img, cx, cy, e * w * 0.45, 3, p.HEART, fade(t, 0.2))


def fx_block_destroy(img, t, i, w, h):
    cx, cy = w / 2, h / 2
    e = ease_out(t)
    rng = np.random.default_rng(41)
    for k in range(6):
        a = rng.random() * 2 * np.pi
        puff(img, cx + np.cos(a) * e * w * 0.2, cy + np.sin(a) * e * h * 0.15, w * 0.1 * (0.8 + e) * (1 - 0.6 * t),
             fade(t, 0.3), 400 + k)
    for k in range(10):
        vx = (rng.random() - 0.5) * 1.1 * w
        vy = -(0.3 + rng.random() * 0.7) * h
        x = cx + vx * t
        y = cy + vy * t + 1.1 * h * t * t
        chunk(img, x, y, w * (0.035 + rng.random() * 0.03), rng.random() * 6 + t * 10, fade(t, 0.7))
    flash = max(0.0, 1 - t / 0.2)
    glow_ball(img, cx, cy, w * 0.1 * flash + 1, p.GOLD, flash)


def burst(img, t, w, h, color, seed, ring_color=None, star_points=4, sparkles=8, core=None):
    cx, cy = w / 2, h / 2
    e = ease_out(t)
    ring(img, cx, cy, e * w * 0.42, 3.5, ring_color or color, fade(t, 0.3))
    flash = max(0.0, 1 - t / 0.35)
    glow_ball(img, cx, cy, w * 0.12 * flash + 1, color, flash)
    rng = np.random.default_rng(seed)
    for k in range(sparkles):
        a = k / sparkles * 2 * np.pi + rng.random() * 0.5 + t * 1.5
        dist = (0.1 + e * 0.32 * (0.7 + rng.random() * 0.5)) * w
        star(img, cx + np.cos(a) * dist, cy + np.sin(a) * dist - e * h * 0.1,
             w * (0.05 + 0.03 * rng.random()) * (1 - 0.5 * t), color, fade(t, 0.45), rotation=t * 2, points=star_points)


def fx_soul_pickup(img, t, i, w, h):
    burst(img, t, w, h, p.SOUL, 43)
    # The soul's light rises out of the ring.
    glow_ball(img, w / 2, h * (0.5 - 0.3 * ease_out(t)), w * 0.05 * (1 - 0.5 * t), p.SOUL, fade(t, 0.4),
              core=(0.85, 1.0, 1.0))


def fx_key_pickup(img, t, i, w, h):
    cx, cy = w / 2, h / 2
    angle = np.arctan2(*np.meshgrid(np.arange(h) - cy, np.arange(w) - cx, indexing="ij"))
    xs, ys = p.grid(w, h)
    dist = np.hypot(xs - cx, ys - cy)
    rays = (np.cos(angle * 6 + t * 2) * 0.5 + 0.5) ** 6
    p.add_light(img, p.GOLD, rays * np.exp(-dist / (w * 0.18)) * fade(t, 0.2) * 0.9)
    burst(img, t, w, h, p.GOLD, 47, ring_color=p.GOLD_LIGHT, sparkles=10)


def fx_heart_pickup(img, t, i, w, h):
    cx, cy = w / 2, h / 2
    e = ease_out(t)
    ring(img, cx, cy, e * w * 0.4, 3, p.HEART_LIGHT, fade(t, 0.3))
    from ui_art import heart_shape
    for k in range(6):
        a = k / 6 * 2 * np.pi + 0.3
        dist = (0.08 + e * 0.3) * w
        layer = p.canvas(w, h)
        heart_shape(layer, cx + np.cos(a) * dist, cy + np.sin(a) * dist - e * h * 0.12, w * 0.075 * (1 - 0.4 * t),
                    glow_strength=0.3)
        layer[..., 3] *= fade(t, 0.45)
        p.over(img, layer[..., :3], layer[..., 3])
    flash = max(0.0, 1 - t / 0.3)
    glow_ball(img, cx, cy, w * 0.1 * flash + 1, p.HEART, flash, core=(1, 0.85, 0.9))


def fx_platform_dust_fall(img, t, i, w, h):
    rng = np.random.default_rng(53)
    e = ease_out(t)
    for k in range(7):
        x = w * (0.12 + 0.76 * k / 6) + (rng.random() - 0.5) * w * 0.06
        y = h * 0.08 + t * t * h * (0.5 + rng.random() * 0.3) + e * h * 0.1
        puff(img, x, y, h * 0.06 * (1 + e) * (1 - 0.4 * t), fade(t, 0.35), 500 + k)
    for k in range(14):
        x = w * (0.08 + rng.random() * 0.84)
        y = h * 0.05 + t * t * h * (0.6 + rng.random() * 0.35) * 1.2
        glow_ball(img, x, y, 1.6, p.DUST, fade(t, 0.5), core=(0.92, 0.88, 0.96))


def fx_checkpoint_light(img, t, i, w, h):
    cx = w / 2
    ground = h * 0.95
    rise = ease_out(min(1.0, t / 0.35))
    alpha = fade(t, 0.55)
    xs, ys = p.grid(w, h)
    top = ground - rise * h * 0.9
    column = np.exp(-((xs - cx) / (w * 0.12)) ** 2) * np.clip((ys - top) / (h * 0.15), 0, 1) * (ys < ground + 4)
    p.add_light(img, p.GOLD, column * 0.85 * alpha)
    core = np.exp(-((xs - cx) / (w * 0.035)) ** 2) * np.clip((ys - top) / (h * 0.1), 0, 1) * (ys < ground + 4)
    p.add_light(img, (1, 0.97, 0.85), core * alpha)
    ring(img, cx, ground - 2, w * (0.15 + 0.3 * ease_out(t)), 3, p.GOLD, alpha, squash=0.25)
    rng = np.random.default_rng(59)
    for k in range(12):
        start = rng.random() * 0.5
        if t < start:
            continue
        s = (t - start) / (1 - start)
        x = cx + (rng.random() - 0.5) * w * 0.6 + np.sin(s * 6 + k) * w * 0.05
        y = ground - s * h * (0.5 + rng.random() * 0.45)
        star(img, x, y, w * 0.035 * (1 - 0.5 * s), p.GOLD_LIGHT, fade(s, 0.5) * alpha, rotation=s * 3)
    from ui_art import soul_flame
    layer = p.canvas(w, h)
    soul_flame(layer, cx, ground - rise * h * 0.55, w * 0.13, color=p.GOLD_LIGHT, deep=p.GOLD, phase=t * 9,
               glow_strength=0.7)
    layer[..., 3] *= alpha * rise
    p.over(img, layer[..., :3], layer[..., 3])


def sprite_coin_soul_idle(img, t, i, w, h):
    from ui_art import soul_flame
    phase = t * 2 * np.pi
    bob = np.sin(phase) * h * 0.04
    xs, ys = p.grid(w, h)
    halo = p.circle(xs, ys, w / 2, h * 0.56 + bob, h * 0.2)
    p.add_light(img, p.SOUL, p.glow(halo, h * 0.07, 0.25 + 0.1 * np.sin(phase * 2)))
    soul_flame(img, w / 2, h * 0.56 + bob, h * 0.3, phase=phase, glow_strength=0.25)
    # A pickup floats over the level: its light must die out in a circle, or the cell shows as a square.
    p.radial_fade(img, inner=0.75)


def sprite_heart_idle(img, t, i, w, h):
    from ui_art import heart_shape
    # Two beats per cycle: a strong one, then a softer echo.
    beat = 1.0 + 0.14 * np.exp(-((t - 0.1) / 0.08) ** 2) + 0.07 * np.exp(-((t - 0.35) / 0.08) ** 2)
    # Between beats it still breathes a little, so no two frames stand still.
    beat += 0.02 * np.sin(2 * np.pi * t)
    heart_shape(img, w / 2, h * 0.52, h * 0.3, scale=beat, glow_strength=0.2 + 0.2 * (beat - 1) / 0.14)
    p.radial_fade(img, inner=0.75)


def paint_sheet(definition, painter):
    columns = max(1, int(definition.get("columns", 1)))
    rows = max(1, int(definition.get("rows", 1)))
    count = int(definition.get("frameCount", 0))
    if count <= 0:
        count = columns * rows
    cw, ch = cell_size(definition)
    sheet = p.canvas(columns * cw, rows * ch)
    for frame in range(min(count, columns * rows)):
        # A loop's last frame leads back into its first; a one-shot's last still shows its fading end.
        t = frame / count
        cell = p.canvas(cw, ch)
        painter(cell, t, frame, cw, ch)
        # Fading to a clear border keeps glows from ending square and neighbouring cells from bleeding
        # into each other through filtering.
        p.soften_edges(cell, 0.12 * min(cw, ch))
        cell[:1, :, 3] = 0
        cell[-1:, :, 3] = 0
        cell[:, :1, 3] = 0
        cell[:, -1:, 3] = 0
        r, c = divmod(frame, columns)
        sheet[r * ch:(r + 1) * ch, c * cw:(c + 1) * cw] = cell
    return sheet


def sheets():
    """(texture path under the asset root, painter of the whole sheet) for every definition."""
    jobs = []
    for folder, prefix, kind in (("Vfx", "Animations/VFX/", "fx_"), ("Animations/Sprites", "Animations/", "sprite_")):
        for definition in load_definitions(folder):
            painter = globals().get(kind + definition["id"])
            if painter is None:
                raise SystemExit("[art2d] no painter for %s %s" % (folder, definition["id"]))
            path = texture_path(definition["texture"], prefix)
            jobs.append((path, lambda d=definition, f=painter: paint_sheet(d, f)))
    return jobs
