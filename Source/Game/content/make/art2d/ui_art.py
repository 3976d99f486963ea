"""The menu and HUD pictures: backgrounds, title, buttons, highlight, widgets, HUD icons, the level
map and its buttons, the results' rank pictures, the splash logos and the speech bubble.

Each picture is a function returning an H x W x 4 float canvas; PICTURES maps the file each one is
written to (relative to the game asset root) onto the function that paints it.
"""
import functools

import numpy as np

import paint as p

BG_W, BG_H = 1280, 720
BUTTON_W, BUTTON_H = 512, 160


# Shared pieces -----------------------------------------------------------------------------------------

def night_sky(width, height, seed, top=p.NIGHT_DEEP, bottom=p.PURPLE, star_count=500):
    image = p.canvas(width, height, alpha=1.0)
    image[..., :3] = p.vertical_gradient(height, width, top, bottom, power=1.4)
    haze = p.smooth_noise(width, height, width / 5, seed, octaves=4)
    p.add_light(image, p.VIOLET, np.clip((haze - 0.45) * 0.35, 0, 0.15))
    p.stars(image, star_count, seed + 1, max_y=0.75, size=width / 1280)
    return image


def moon(image, cx, cy, r, tint=(1.0, 0.95, 0.82), glow_strength=0.6):
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    d = p.circle(xs, ys, cx, cy, r)
    p.add_light(image, (0.85, 0.75, 1.0), p.glow(d, r * 0.9, glow_strength))
    p.add_light(image, tint, p.glow(d, r * 0.18, 0.5))
    craters = p.smooth_noise(w, h, r * 0.5, 7, octaves=3, factor=2)
    body = p.mix(tint, (tint[0] * 0.78, tint[1] * 0.74, tint[2] * 0.8), np.clip((craters - 0.35) * 2.2, 0, 1))
    p.over(image, body, p.fill(d, 1.5))


def ridge(image, seed, base, amplitude, color, cell, top_color=None, sharp=1.0):
    """A silhouette of hills filling everything below a noisy horizon at base (fraction of height)."""
    h, w = image.shape[:2]
    rng = np.random.default_rng(seed)
    line = p.value_noise(w, 1, cell, seed, octaves=5)[0]
    line = (line - 0.5) * 2.0 * amplitude * h + base * h
    line = line + np.sin(np.linspace(0, rng.random() * 6 + 2, w)) * amplitude * h * 0.3
    ys = np.arange(h, dtype=np.float32)[:, None] + 0.5
    cover = np.clip((ys - line[None, :]) / sharp + 0.5, 0, 1)
    color_map = color
    if top_color is not None:
        t = np.clip((ys - line[None, :]) / (0.25 * h), 0, 1)
        color_map = p.mix(top_color, color, np.broadcast_to(t, (h, w)))
    p.over(image, color_map, cover)
    return line


def trees(image, seed, line, count, min_h, max_h, color, lean=0.0):
    """Spiky conifer silhouettes standing on a horizon line."""
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    rng = np.random.default_rng(seed)
    cover = np.zeros((h, w), np.float32)
    for _ in range(count):
        x = rng.random() * w
        base = line[int(np.clip(x, 0, w - 1))] + 4
        height = (min_h + rng.random() * (max_h - min_h)) * h
        width = height * (0.22 + rng.random() * 0.08)
        tiers = 3 + int(rng.random() * 2)
        x0, x1 = int(max(0, x - width)), int(min(w, x + width + 1))
        y0, y1 = int(max(0, base - height - 2)), int(min(h, base + 2))
        if x1 <= x0 or y1 <= y0:
            continue
        sx, sy = xs[y0:y1, x0:x1], ys[y0:y1, x0:x1]
        shape = np.full(sx.shape, np.inf, np.float32)
        for t in range(tiers):
            top = base - height + t * height / (tiers + 0.5)
            half = width * (0.45 + 0.55 * (t + 1) / tiers)
            bottom = top + height / tiers * 1.35
            tip_x = x + lean * height * (1 - t / tiers) * 0.1
            shape = np.minimum(shape, p.polygon(sx, sy, [(tip_x, top), (x + half, bottom), (x - half, bottom)]))
        shape = np.minimum(shape, p.segment(sx, sy, x, base - height * 0.2, x, base, width * 0.08))
        cover[y0:y1, x0:x1] = np.maximum(cover[y0:y1, x0:x1], p.fill(shape, 1.2))
    p.over(image, color, cover)


def wisps(image, seed, count, region, radius, color=p.SOUL):
    """Floating soul lights: bright cores with wide soft halos."""
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    rng = np.random.default_rng(seed)
    for _ in range(count):
        cx = (region[0] + rng.random() * (region[2] - region[0])) * w
        cy = (region[1] + rng.random() * (region[3] - region[1])) * h
        r = radius * (0.6 + rng.random() * 0.8) * h
        view, lx, ly = p.local(image, cx, cy, r * 14)
        vx, vy = p.grid(view.shape[1], view.shape[0])
        d = p.circle(vx, vy, lx, ly, r)
        p.add_light(view, color, p.glow(d, r * 4.0, 0.3))
        p.add_light(view, color, p.glow(d, r * 1.2, 0.6))
        p.add_light(view, (0.9, 1.0, 1.0), p.fill(d, 1.5) * 0.95)


def mist(image, seed, y_center, thickness, strength=0.35, color=(0.55, 0.45, 0.8)):
    h, w = image.shape[:2]
    n = p.smooth_noise(w, h, w / 6, seed, octaves=3)
    ys = (np.arange(h, dtype=np.float32)[:, None] + 0.5) / h
    band = np.exp(-((ys - y_center) / thickness) ** 2)
    p.add_light(image, color, band * n * strength)


def vignette(image, strength=0.55):
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    r = np.hypot((xs / w - 0.5) * 1.3, (ys / h - 0.5) * 1.6)
    shade = np.clip((r - 0.45) * 1.6, 0, 1) * strength
    image[..., :3] *= (1 - shade)[..., None]


def ornate_frame(image, cx, cy, half_w, half_h, radius, width, color=p.GOLD, glow_strength=0.35):
    """A double gold outline with a soft outer glow and diamond studs at the four corners."""
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    outer = p.rounded_rect(xs, ys, cx, cy, half_w, half_h, radius)
    p.add_light(image, color, p.glow(outer, width * 2.5, glow_strength) * (outer > 0))
    line1 = np.abs(outer + width * 0.5) - width * 0.5
    line2 = np.abs(outer + width * 2.3) - width * 0.22
    p.over(image, p.NIGHT_DEEP, p.fill(np.abs(outer + width * 0.5) - width * 0.95, 1.0))
    p.over(image, color, p.fill(line1, 1.0))
    p.over(image, p.GOLD_LIGHT, p.fill(np.abs(outer + width * 0.3) - width * 0.12, 1.0) * 0.8)
    p.over(image, p.GOLD_DARK, p.fill(line2, 1.0) * 0.9)
    for sx in (-1, 1):
        for sy in (-1, 1):
            px = cx + sx * (half_w - radius * 0.3)
            py = cy + sy * (half_h - radius * 0.3)
            s = width * 2.2
            view, lx, ly = p.local(image, px, py, s * 2)
            if view is None:
                continue
            vx, vy = p.grid(view.shape[1], view.shape[0])
            diamond = p.polygon(vx, vy, [(lx, ly - s), (lx + s, ly), (lx, ly + s), (lx - s, ly)])
            p.over(view, p.NIGHT_DEEP, p.fill(diamond - width * 0.6, 1.0))
            p.over(view, p.GOLD_LIGHT, p.fill(diamond, 1.0))


def panel_fill(image, cx, cy, half_w, half_h, radius, alpha=0.92, top=p.PURPLE, bottom=p.NIGHT_DEEP):
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    d = p.rounded_rect(xs, ys, cx, cy, half_w, half_h, radius)
    t = np.clip((ys - (cy - half_h)) / (2 * half_h), 0, 1)
    colors = p.mix(top, bottom, t)
    p.over(image, colors, p.fill(d, 1.0) * alpha)
    # A faint inner sheen along the top edge.
    sheen = np.exp(-np.clip(ys - (cy - half_h), 0, None) / (half_h * 0.25)) * p.fill(d + 3, 1.0)
    p.add_light(image, p.VIOLET, sheen * 0.18)


def soul_flame(image, cx, cy, size, color=p.SOUL, deep=p.SOUL_DEEP, phase=0.0, outline=True, glow_strength=0.5):
    """A wisp flame: a teardrop with a wavering tip, a white-hot core and a halo; size = height / 2."""
    image, cx, cy = p.local(image, cx, cy, size * 4.5)
    if image is None:
        return
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    sway = np.sin(phase) * size * 0.12
    tip_y = cy - size * (1.05 + 0.08 * np.sin(phase * 2 + 1))
    bulb = p.circle(xs, ys, cx, cy + size * 0.35, size * 0.55)
    tongue = p.polygon(xs, ys, [(cx - size * 0.52, cy + size * 0.25), (cx + sway * 1.5, tip_y),
                                (cx + size * 0.52, cy + size * 0.25)])
    body = np.minimum(bulb, tongue + size * 0.02)
    body = p.box_blur(body, max(1, size * 0.04)) if size > 20 else body
    p.add_light(image, color, p.glow(body, size * 0.6, glow_strength))
    if outline:
        p.over(image, p.NIGHT_DEEP, p.fill(body - size * 0.09, 1.2))
    t = np.clip((ys - tip_y) / (size * 1.9), 0, 1)
    p.over(image, p.mix(color, deep, 1 - t), p.fill(body, 1.2))
    core = p.circle(xs, ys, cx + sway * 0.3, cy + size * 0.38, size * 0.26)
    p.over(image, (0.85, 1.0, 1.0), p.fill(core, size * 0.12 + 1) * 0.95)
    eye_y = cy + size * 0.28
    for ex in (-0.17, 0.17):
        p.over(image, p.NIGHT_DEEP, p.fill(p.ellipse(xs, ys, cx + sway * 0.3 + ex * size, eye_y, size * 0.06,
                                                     size * 0.1), 1.0))


def heart_shape(image, cx, cy, size, scale=1.0, color=p.HEART, light=p.HEART_LIGHT, outline=p.GOLD,
                glow_strength=0.4):
    image, cx, cy = p.local(image, cx, cy, size * scale * 4)
    if image is None:
        return
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    s = size * scale
    d = p.heart(xs, ys, cx, cy, s)
    p.add_light(image, color, p.glow(d, s * 0.5, glow_strength))
    p.over(image, p.NIGHT_DEEP, p.fill(d - s * 0.16, 1.2))
    p.over(image, outline, p.fill(d - s * 0.09, 1.2))
    t = np.clip((ys - (cy - s)) / (2 * s), 0, 1)
    p.over(image, p.mix(light, (0.55, 0.04, 0.16), t), p.fill(d, 1.2))
    shine = p.ellipse(xs, ys, cx - s * 0.45, cy - s * 0.3, s * 0.2, s * 0.13)
    p.over(image, (1.0, 0.92, 0.94), p.fill(shine, s * 0.08 + 1) * 0.85)


def key_shape(image, cx, cy, size, filled=True):
    """A gold key lying diagonally, bow up-left; an empty key is a dim, dashed socket of the same form."""
    image, cx, cy = p.local(image, cx, cy, size * 2.5)
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    angle = np.deg2rad(-45)
    c, s = np.cos(angle), np.sin(angle)
    lx = (xs - cx) * c - (ys - cy) * s
    ly = (xs - cx) * s + (ys - cy) * c
    bow = np.abs(p.circle(lx, ly, -size * 0.5, 0, size * 0.36)) - size * 0.12
    shaft = p.rounded_rect(lx, ly, size * 0.28, 0, size * 0.5, size * 0.09, size * 0.05)
    tooth1 = p.rounded_rect(lx, ly, size * 0.62, size * 0.18, size * 0.07, size * 0.14, size * 0.02)
    tooth2 = p.rounded_rect(lx, ly, size * 0.38, size * 0.15, size * 0.06, size * 0.1, size * 0.02)
    d = np.minimum(np.minimum(bow, shaft), np.minimum(tooth1, tooth2))
    if filled:
        p.add_light(image, p.GOLD, p.glow(d, size * 0.3, 0.55))
        p.over(image, p.NIGHT_DEEP, p.fill(d - size * 0.1, 1.2))
        t = np.clip((ys - (cy - size)) / (2 * size), 0, 1)
        p.over(image, p.mix(p.GOLD_LIGHT, p.GOLD_DARK, t), p.fill(d, 1.2))
        gem = p.circle(lx, ly, -size * 0.5, 0, size * 0.13)
        p.over(image, p.SOUL, p.fill(gem, 1.2))
        p.over(image, (1, 1, 1), p.fill(p.circle(lx, ly, -size * 0.54, -size * 0.04, size * 0.04), 1.0))
    else:
        p.over(image, p.NIGHT_DEEP, p.fill(d - size * 0.1, 1.2) * 0.75)
        p.over(image, (0.22, 0.14, 0.32), p.fill(d, 1.2) * 0.9)
        rim = np.abs(d) - size * 0.025
        dash = (np.sin((lx + ly) / size * 18) > -0.2).astype(np.float32)
        p.over(image, (0.62, 0.52, 0.78), p.fill(rim, 1.0) * dash * 0.9)


# Buttons ---------------------------------------------------------------------------------------------

def button_box(width, height):
    return width / 2 - height * 0.12, height / 2 - height * 0.14


@functools.lru_cache(maxsize=None)
def label_size(width=BUTTON_W, height=BUTTON_H):
    """One label size for a set of buttons, so that their words match: the size of the longest."""
    half_w, half_h = button_box(width, height)
    return min(p.fit_text_size(text, p.SERIF_BOLD, half_w * 1.65, half_h * 1.15) for text in ("Next Level", "Settings"))


def button(label=None, width=BUTTON_W, height=BUTTON_H, accent=p.GOLD, icon=None):
    image = p.canvas(width, height)
    cx, cy = width / 2, height / 2
    half_w, half_h = button_box(width, height)
    radius = half_h * 0.55
    panel_fill(image, cx, cy, half_w, half_h, radius, alpha=0.95)
    ornate_frame(image, cx, cy, half_w, half_h, radius, height * 0.035, color=accent, glow_strength=0.3)
    if icon is not None:
        icon(image, width, height)
    if label:
        size = label_size() if (width, height) == (BUTTON_W, BUTTON_H) else None
        p.golden_text(image, label, cx, cy, half_w * 1.55, half_h * 1.05, glow_strength=0.35, size=size)
    return image


def highlight():
    """The selection glow: a bright frame just outside a button, with sparkles at its ends; the middle
    stays clear so the button under it reads."""
    width, height = 512, 336
    image = p.canvas(width, height)
    xs, ys = p.grid(width, height)
    cx, cy = width / 2, height / 2
    # The button covers 0.16 / 0.19 of the width and 0.085 / 0.125 of the height.
    half_w = width * 0.5 * 0.16 / 0.19
    half_h = height * 0.5 * 0.085 / 0.125
    d = p.rounded_rect(xs, ys, cx, cy, half_w, half_h, half_h * 0.6)
    ring = np.abs(d - 4) - 3.5
    p.add_light(image, p.GOLD, p.glow(np.abs(d - 4), 16, 0.7))
    p.over(image, p.GOLD_LIGHT, p.fill(ring, 1.2))
    for sx in (-1, 1):
        star = p.polygon(xs, ys, p.star_points(cx + sx * (half_w + 6), cy, 26, 6, 4))
        p.add_light(image, p.GOLD, p.glow(star, 10, 0.8))
        p.over(image, (1, 1, 0.92), p.fill(star, 1.0))
        chevron = p.polygon(xs, ys, [(cx + sx * (half_w + 22), cy - 22), (cx + sx * (half_w + 40), cy),
                                     (cx + sx * (half_w + 22), cy + 22), (cx + sx * (half_w + 30), cy)])
        p.over(image, p.GOLD, p.fill(chevron, 1.0))
    return image


def level_button(label, locked_hint=False):
    def icon(image, width, height):
        if locked_hint:
            key_shape(image, width * 0.15, height * 0.5, height * 0.26)
            key_shape(image, width * 0.85, height * 0.5, height * 0.26)
    accent = (0.75, 0.85, 1.0) if locked_hint else p.GOLD
    return button(label, accent=accent, icon=icon)


# Full-screen pictures ----------------------------------------------------------------------------------

def menu_screen():
    image = night_sky(BG_W, BG_H, 11)
    moon(image, BG_W * 0.84, BG_H * 0.2, BG_H * 0.1)
    line = ridge(image, 3, 0.62, 0.05, (0.17, 0.09, 0.3), BG_W / 3, top_color=(0.3, 0.18, 0.45))
    mist(image, 4, 0.66, 0.05, 0.3)
    line = ridge(image, 5, 0.74, 0.04, (0.09, 0.05, 0.17), BG_W / 4)
    trees(image, 6, line, 26, 0.1, 0.2, (0.09, 0.05, 0.17))
    mist(image, 8, 0.82, 0.05, 0.25)
    line = ridge(image, 9, 0.88, 0.03, p.NIGHT_DEEP, BG_W / 5)
    trees(image, 10, line, 14, 0.2, 0.36, p.NIGHT_DEEP, lean=0.3)
    wisps(image, 12, 9, (0.05, 0.62, 0.95, 0.9), 0.006)
    vignette(image)
    return image


def level_positions():
    import json
    import os
    path = os.path.join(os.path.dirname(__file__), "..", "..", "settings", "UISettings.json")
    with open(path) as stream:
        section = json.load(stream)["LevelSelectSettings"]
    order = ["ButtonLevel_1_1", "ButtonLevel_1_2", "ButtonLevel_2_1", "ButtonLevel_2_2", "ButtonLevel_3_1",
             "ButtonLevel_3_2", "ButtonLevel_3_3"]
    # Layout fractions have y up; the picture's rows go down.
    main = [(section[k]["Position"]["x"], 1 - section[k]["Position"]["y"]) for k in order]
    bonus = (section["ButtonLevel_Bonus"]["Position"]["x"], 1 - section["ButtonLevel_Bonus"]["Position"]["y"])
    return main, bonus


def dotted_path(image, points, spacing, radius, color=p.GOLD):
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    dots = []
    for (x0, y0), (x1, y1) in zip(points[:-1], points[1:]):
        length = np.hypot(x1 - x0, y1 - y0)
        steps = max(1, int(length / spacing))
        for i in range(steps):
            t = i / steps
            # A gentle curve between nodes.
            bend = np.sin(t * np.pi) * 0.12 * length
            nx, ny = -(y1 - y0) / max(length, 1), (x1 - x0) / max(length, 1)
            dots.append((x0 + (x1 - x0) * t + nx * bend, y0 + (y1 - y0) * t + ny * bend))
    cover = np.zeros((h, w), np.float32)
    for x, y in dots:
        x0, x1 = int(max(0, x - radius * 3)), int(min(w, x + radius * 3))
        y0, y1 = int(max(0, y - radius * 3)), int(min(h, y + radius * 3))
        if x1 > x0 and y1 > y0:
            d = p.circle(xs[y0:y1, x0:x1], ys[y0:y1, x0:x1], x, y, radius)
            cover[y0:y1, x0:x1] = np.maximum(cover[y0:y1, x0:x1], p.fill(d, 1.0))
    p.add_light(image, color, p.box_blur(cover, radius) * 0.8)
    p.over(image, color, cover)


def castle(image, cx, base, scale, color):
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    d = np.full((h, w), np.inf, np.float32)
    for ox, tw, th in ((-0.9, 0.22, 1.3), (-0.35, 0.3, 1.9), (0.25, 0.26, 1.5), (0.8, 0.2, 1.1)):
        x = cx + ox * scale
        top = base - th * scale
        d = np.minimum(d, p.rounded_rect(xs, ys, x, (top + base) / 2, tw * scale, (base - top) / 2, 1))
        d = np.minimum(d, p.polygon(xs, ys, [(x - tw * scale * 1.25, top), (x, top - tw * scale * 2.2),
                                             (x + tw * scale * 1.25, top)]))
    d = np.minimum(d, p.rounded_rect(xs, ys, cx, base - 0.45 * scale, 1.0 * scale, 0.45 * scale, 1))
    p.over(image, color, p.fill(d, 1.0))
    rng = np.random.default_rng(4)
    for _ in range(9):
        wx = cx + (rng.random() - 0.5) * 1.8 * scale
        wy = base - rng.random() * 1.3 * scale
        win = p.rounded_rect(xs, ys, wx, wy, scale * 0.025, scale * 0.045, 1)
        inside = (d < -2).astype(np.float32)
        p.add_light(image, (1.0, 0.45, 0.2), p.glow(win, scale * 0.05, 0.5) * inside)
        p.over(image, (1.0, 0.75, 0.35), p.fill(win, 1.0) * inside)


def world_map():
    image = night_sky(BG_W, BG_H, 21, top=p.NIGHT_DEEP, bottom=(0.2, 0.1, 0.32), star_count=350)
    xs, ys = p.grid(BG_W, BG_H)
    # Three regions: the woods, the marsh and the red keep, each a tinted glow low on the map.
    for cx, color in ((0.2, (0.25, 0.6, 0.45)), (0.47, (0.35, 0.45, 0.8)), (0.8, (0.85, 0.25, 0.3))):
        d = p.ellipse(xs, ys, cx * BG_W, 0.75 * BG_H, 0.2 * BG_W, 0.25 * BG_H)
        p.add_light(image, color, p.glow(d, BG_H * 0.15, 0.22))
    line = ridge(image, 23, 0.56, 0.05, (0.14, 0.08, 0.25), BG_W / 3, top_color=(0.26, 0.15, 0.4))
    castle(image, BG_W * 0.86, BG_H * 0.47, BG_H * 0.12, (0.1, 0.05, 0.16))
    trees(image, 24, line, 20, 0.06, 0.12, (0.12, 0.07, 0.22))
    mist(image, 25, 0.62, 0.08, 0.25)
    line = ridge(image, 26, 0.93, 0.02, p.NIGHT_DEEP, BG_W / 4)
    trees(image, 27, line, 12, 0.1, 0.2, p.NIGHT_DEEP)
    moon(image, BG_W * 0.62, BG_H * 0.12, BG_H * 0.05, glow_strength=0.4)
    main, bonus = level_positions()
    pts = [(x * BG_W, y * BG_H) for x, y in main]
    dotted_path(image, pts, BG_H * 0.03, BG_H * 0.006)
    dotted_path(image, [pts[3], (bonus[0] * BG_W, bonus[1] * BG_H)], BG_H * 0.03, BG_H * 0.005,
                color=(0.75, 0.85, 1.0))
    vignette(image, 0.5)
    return image


def credits_screen():
    image = night_sky(BG_W, BG_H, 31, star_count=420)
    panel_fill(image, BG_W * 0.5, BG_H * 0.52, BG_W * 0.46, BG_H * 0.34, BG_H * 0.04, alpha=0.55,
               top=(0.16, 0.08, 0.28), bottom=p.NIGHT_DEEP)
    ornate_frame(image, BG_W * 0.5, BG_H * 0.52, BG_W * 0.46, BG_H * 0.34, BG_H * 0.04, 2.5, glow_strength=0.2)
    xs, ys = p.grid(BG_W, BG_H)
    divider = p.segment(xs, ys, BG_W * 0.5, BG_H * 0.24, BG_W * 0.5, BG_H * 0.8, 1.2)
    p.over(image, p.GOLD_DARK, p.fill(divider, 1.0) * 0.8)
    wisps(image, 32, 6, (0.02, 0.05, 0.98, 0.15), 0.005)
    vignette(image, 0.45)
    return image


def rank_picture(rank):
    image = night_sky(BG_W, BG_H, 41 + rank, star_count=300 + 200 * rank)
    xs, ys = p.grid(BG_W, BG_H)
    cx, cy = BG_W * 0.5, BG_H * 0.53
    r = BG_H * 0.11
    colors = [(0.6, 0.55, 0.75), (0.85, 0.9, 1.0), p.GOLD_LIGHT]
    color = colors[rank]
    if rank == 2:
        angle = np.arctan2(ys - cy, xs - cx)
        rays = (np.cos(angle * 12) * 0.5 + 0.5) ** 3
        dist = np.hypot(xs - cx, ys - cy)
        p.add_light(image, p.GOLD, rays * np.exp(-dist / (BG_H * 0.35)) * 0.55)
    d = p.circle(xs, ys, cx, cy, r)
    p.add_light(image, color, p.glow(d, r * (0.5 + 0.4 * rank), 0.35 + 0.2 * rank))
    ring = np.abs(d) - r * 0.06
    t = np.clip((ys - (cy - r)) / (2 * r), 0, 1)
    p.over(image, p.mix(p.PURPLE, p.NIGHT_DEEP, t), p.fill(d, 1.0))
    p.over(image, p.NIGHT_DEEP, p.fill(np.abs(d) - r * 0.12, 1.0))
    p.over(image, color, p.fill(ring, 1.0))
    # Souls orbit the emblem: one for a poor run, three for a fair one, five for a fine one.
    count = [1, 3, 5][rank]
    for i in range(count):
        offset = i - (count - 1) / 2
        size = r * (0.42 if count == 1 else 0.34 - 0.04 * abs(offset))
        soul_flame(image, cx + offset * r * 0.36, cy - r * 0.05 + abs(offset) * r * 0.12, size,
                   phase=i * 1.7, glow_strength=0.35 + 0.1 * rank)
    if rank == 0:
        crack = p.polygon(xs, ys, [(cx + r * 0.9, cy - r * 0.5), (cx + r * 0.4, cy - r * 0.1),
                                   (cx + r * 0.65, cy + r * 0.05), (cx + r * 0.2, cy + r * 0.5),
                                   (cx + r * 0.5, cy + 0.02 * r), (cx + r * 0.3, cy - r * 0.12)])
        p.over(image, p.NIGHT_DEEP, p.fill(crack, 1.0))
    if rank == 2:
        crown = p.polygon(xs, ys, [(cx - r * 0.6, cy - r * 1.15), (cx - r * 0.6, cy - r * 1.55),
                                   (cx - r * 0.3, cy - r * 1.3), (cx, cy - r * 1.7), (cx + r * 0.3, cy - r * 1.3),
                                   (cx + r * 0.6, cy - r * 1.55), (cx + r * 0.6, cy - r * 1.15)])
        p.add_light(image, p.GOLD, p.glow(crown, r * 0.2, 0.6))
        p.over(image, p.NIGHT_DEEP, p.fill(crown - 4, 1.0))
        p.over(image, p.GOLD, p.fill(crown, 1.0))
    heading = ["Level Complete", "Level Complete", "Level Complete!"][rank]
    p.golden_text(image, heading, BG_W * 0.5, BG_H * 0.1, BG_W * 0.5, BG_H * 0.09)
    vignette(image, 0.5)
    return image


def settings_panel():
    width, height = 512, 1024
    image = p.canvas(width, height)
    cx, cy = width / 2, height / 2
    half_w, half_h = width / 2 - 18, height / 2 - 18
    panel_fill(image, cx, cy, half_w, half_h, 36, alpha=0.97)
    ornate_frame(image, cx, cy, half_w, half_h, 36, 5)
    # The heading sits in the top band the widgets leave free.
    p.golden_text(image, "Settings", cx, height * 0.075, width * 0.6, height * 0.06)
    xs, ys = p.grid(width, height)
    for y in (height * 0.128, height * 0.625):
        rule = p.segment(xs, ys, width * 0.18, y, width * 0.82, y, 1.5)
        p.over(image, p.GOLD_DARK, p.fill(rule, 1.0))
        dot = p.polygon(xs, ys, [(cx, y - 7), (cx + 7, y), (cx, y + 7), (cx - 7, y)])
        p.over(image, p.GOLD, p.fill(dot, 1.0))
    return image


def title():
    width, height = 1024, 352
    image = p.canvas(width, height)
    p.golden_text(image, "MORVANE", width * 0.5, height * 0.4, width * 0.94, height * 0.6, glow_strength=0.7)
    p.golden_text(image, "a tale of lost souls", width * 0.5, height * 0.82, width * 0.5, height * 0.14,
                  top=(0.88, 0.85, 1.0), bottom=(0.62, 0.55, 0.95), glow_color=p.VIOLET, glow_strength=0.4)
    soul_flame(image, width * 0.2, height * 0.8, height * 0.08, phase=0.4)
    soul_flame(image, width * 0.8, height * 0.8, height * 0.08, phase=2.1)
    return image


def logo_emblem(image, cx, cy, r):
    """A lantern with a moth-wing halo: the studio's mark."""
    h, w = image.shape[:2]
    xs, ys = p.grid(w, h)
    for sx in (-1, 1):
        wing = p.ellipse(xs, ys, cx + sx * r * 0.75, cy - r * 0.15, r * 0.62, r * 0.42)
        lower = p.ellipse(xs, ys, cx + sx * r * 0.55, cy + r * 0.45, r * 0.38, r * 0.3)
        wings = np.minimum(wing, lower)
        p.over(image, (0.36, 0.22, 0.55), p.fill(wings, 1.2))
        p.over(image, p.GOLD_DARK, p.fill(np.abs(wings) - r * 0.03, 1.2))
    body = p.rounded_rect(xs, ys, cx, cy + r * 0.1, r * 0.32, r * 0.5, r * 0.12)
    p.add_light(image, p.GOLD, p.glow(body, r * 0.5, 0.7))
    p.over(image, p.NIGHT_DEEP, p.fill(body - r * 0.06, 1.2))
    p.over(image, p.GOLD_LIGHT, p.fill(body, 1.2))
    flame = p.ellipse(xs, ys, cx, cy + r * 0.12, r * 0.14, r * 0.26)
    p.over(image, (1.0, 0.6, 0.2), p.fill(flame, 1.2))
    cap = p.polygon(xs, ys, [(cx - r * 0.4, cy - r * 0.38), (cx, cy - r * 0.72), (cx + r * 0.4, cy - r * 0.38)])
    p.over(image, p.GOLD, p.fill(cap, 1.2))


def studio_logo():
    width, height = 512, 144
    image = p.canvas(width, height)
    logo_emblem(image, height * 0.55, height * 0.52, height * 0.4)
    p.golden_text(image, "MOTH & LANTERN", width * 0.64, height * 0.42, width * 0.6, height * 0.36)
    p.golden_text(image, "GAMES", width * 0.64, height * 0.78, width * 0.3, height * 0.16,
                  top=(0.88, 0.85, 1.0), bottom=(0.7, 0.62, 0.95), glow_color=p.VIOLET, glow_strength=0.3)
    return image


def splash_studio():
    width, height = 1280, 720
    image = p.canvas(width, height, color=p.NIGHT_DEEP, alpha=1.0)
    xs, ys = p.grid(width, height)
    p.add_light(image, p.PURPLE, p.glow(p.circle(xs, ys, width / 2, height * 0.42, 10), height * 0.3, 0.6))
    logo_emblem(image, width / 2, height * 0.4, height * 0.2)
    p.golden_text(image, "MOTH & LANTERN", width / 2, height * 0.74, width * 0.6, height * 0.11)
    p.golden_text(image, "GAMES", width / 2, height * 0.85, width * 0.2, height * 0.05,
                  top=(0.88, 0.85, 1.0), bottom=(0.7, 0.62, 0.95), glow_color=p.VIOLET, glow_strength=0.3)
    return image


def splash_engine():
    width, height = 1920, 1080
    image = p.canvas(width, height, color=(0.015, 0.01, 0.03), alpha=1.0)
    xs, ys = p.grid(width, height)
    cx, cy, r = width / 2, height * 0.42, height * 0.2
    d = p.circle(xs, ys, cx, cy, r)
    p.add_light(image, p.VIOLET, p.glow(np.abs(d), r * 0.35, 0.55))
    p.over(image, p.VIOLET, p.fill(np.abs(d) - r * 0.05, 1.5))
    tail = p.segment(xs, ys, cx + r * 0.55, cy + r * 0.55, cx + r * 1.05, cy + r * 1.05, r * 0.06)
    p.over(image, p.VIOLET, p.fill(tail, 1.5))
    inner = p.polygon(xs, ys, p.star_points(cx, cy, r * 0.55, r * 0.2, 4, rotation=np.pi / 4))
    p.add_light(image, p.SOUL, p.glow(inner, r * 0.2, 0.6))
    p.over(image, (0.8, 1.0, 1.0), p.fill(inner, 1.5))
    p.golden_text(image, "QEL ENGINE", cx, height * 0.8, width * 0.4, height * 0.1,
                  top=(0.95, 0.93, 1.0), bottom=(0.7, 0.62, 0.95), glow_color=p.VIOLET)
    return image


def speech_bubble():
    width, height = 512, 320
    image = p.canvas(width, height)
    xs, ys = p.grid(width, height)
    cx, cy = width / 2, height * 0.44
    half_w, half_h = width * 0.46, height * 0.36
    body = p.rounded_rect(xs, ys, cx, cy, half_w, half_h, height * 0.16)
    tail = p.polygon(xs, ys, [(width * 0.3, cy + half_h - 40), (width * 0.22, height * 0.97),
                              (width * 0.45, cy + half_h - 40)])
    shape = np.minimum(body, tail)
    p.add_light(image, p.VIOLET, p.glow(shape, 12, 0.45))
    p.over(image, p.GOLD, p.fill(shape, 1.2))
    inner = shape + 5
    t = np.clip((ys - (cy - half_h)) / (2 * half_h), 0, 1)
    p.over(image, p.mix((0.24, 0.12, 0.38), (0.09, 0.04, 0.17), t), p.fill(inner, 1.2) * 0.96)
    return image



def jump_lesson():
    """The jump lesson's panel: a wisp leaping the gap between two ledges over a key cap marked SPACE.
    Its caption comes from the dialogue settings and stands at the panel's left."""
    width, height = 1024, 512
    image = p.canvas(width, height)
    cx, cy = width / 2, height / 2
    half_w, half_h = width * 0.46, height * 0.42
    panel_fill(image, cx, cy, half_w, half_h, 44, alpha=0.96)
    ornate_frame(image, cx, cy, half_w, half_h, 44, 6)
    xs, ys = p.grid(width, height)
    ground_top = height * 0.60
    for left, right in ((0.40, 0.56), (0.72, 0.90)):
        ledge = p.rounded_rect(xs, ys, width * (left + right) / 2, ground_top + 26, width * (right - left) / 2, 26, 8)
        p.over(image, (0.30, 0.20, 0.12), p.fill(ledge, 1.2))
        grass = p.rounded_rect(xs, ys, width * (left + right) / 2, ground_top + 6, width * (right - left) / 2 + 4, 8, 6)
        p.over(image, (0.38, 0.68, 0.26), p.fill(grass, 1.2))
    # The leap: a dotted arc from the near ledge to the far one.
    for t in np.linspace(0.12, 0.88, 8):
        x = width * (0.50 + 0.32 * t)
        y = ground_top - 30 - height * 0.36 * 4 * t * (1 - t)
        p.add_light(image, p.SOUL, p.glow(p.circle(xs, ys, x, y, 6), 8, 0.5))
        p.over(image, p.SOUL, p.fill(p.circle(xs, ys, x, y, 6), 1.0))
    soul_flame(image, width * 0.84, ground_top - 40, 30)
    # The key to press.
    cap = p.rounded_rect(xs, ys, width * 0.65, height * 0.80, width * 0.17, height * 0.07, 16)
    p.add_light(image, p.VIOLET, p.glow(cap, 10, 0.4))
    p.over(image, p.GOLD_DARK, p.fill(cap, 1.2))
    p.over(image, p.mix(p.NIGHT, p.NIGHT_DEEP, np.clip((ys - height * 0.73) / (height * 0.14), 0, 1)),
           p.fill(cap + 5, 1.2))
    p.golden_text(image, "SPACE", width * 0.65, height * 0.80, width * 0.24, height * 0.08)
    return image

# Widgets and HUD -----------------------------------------------------------------------------------------

def check_box():
    size = 128
    image = p.canvas(size, size)
    panel_fill(image, 64, 64, 50, 50, 14, alpha=0.96, top=(0.22, 0.11, 0.36))
    ornate_frame(image, 64, 64, 50, 50, 14, 3.5, glow_strength=0.35)
    return image


def check_mark():
    size = 128
    image = p.canvas(size, size)
    xs, ys = p.grid(size, size)
    tick = np.minimum(p.segment(xs, ys, 34, 64, 56, 88, 9), p.segment(xs, ys, 56, 88, 100, 30, 9))
    p.add_light(image, p.SOUL, p.glow(tick, 10, 0.8))
    p.over(image, p.NIGHT_DEEP, p.fill(tick - 4, 1.0))
    p.over(image, p.mix(p.GOLD_LIGHT, p.GOLD, np.clip((ys - 30) / 60, 0, 1)), p.fill(tick, 1.0))
    return image


def slider_track():
    width, height = 512, 40
    image = p.canvas(width, height)
    xs, ys = p.grid(width, height)
    d = p.rounded_rect(xs, ys, width / 2, height / 2, width / 2 - 4, height / 2 - 8, height / 2 - 8)
    p.add_light(image, p.VIOLET, p.glow(d, 4, 0.5))
    p.over(image, p.GOLD, p.fill(d, 1.0))
    p.over(image, p.NIGHT_DEEP, p.fill(d + 3, 1.0))
    groove = p.segment(xs, ys, 20, height / 2, width - 20, height / 2, 2)
    fade = np.clip(xs / width * 1.3, 0.2, 1)
    p.over(image, p.VIOLET, p.fill(groove, 1.0) * fade)
    return image


def slider_knob():
    size = 128
    image = p.canvas(size, size)
    xs, ys = p.grid(size, size)
    gem = p.polygon(xs, ys, [(64, 10), (112, 64), (64, 118), (16, 64)])
    p.add_light(image, p.GOLD, p.glow(gem, 10, 0.6))
    p.over(image, p.NIGHT_DEEP, p.fill(gem - 5, 1.0))
    p.over(image, p.GOLD, p.fill(gem, 1.0))
    facet = p.polygon(xs, ys, [(64, 24), (98, 64), (64, 104), (30, 64)])
    shade = np.where(xs + ys < 128, 1.0, 0.0)
    p.over(image, p.mix(p.GOLD_DARK, p.GOLD_LIGHT, shade), p.fill(facet, 1.0))
    p.over(image, (1, 1, 1), p.fill(p.circle(xs, ys, 54, 50, 6), 1.0) * 0.9)
    return p.radial_fade(image, 0.85)


def hud_coin():
    image = p.canvas(128, 128)
    soul_flame(image, 64, 74, 50, phase=0.5, glow_strength=0.35)
    return p.radial_fade(image, 0.72)


def hud_health():
    image = p.canvas(128, 128)
    heart_shape(image, 64, 66, 44)
    return p.radial_fade(image, 0.8)


def hud_key(filled):
    image = p.canvas(128, 128)
    key_shape(image, 64, 64, 52, filled)
    return p.radial_fade(image, 0.8)


def indicator():
    width, height = 128, 160
    image = p.canvas(width, height)
    xs, ys = p.grid(width, height)
    soul_flame(image, 64, 70, 42, phase=0.9, glow_strength=0.3)
    p.soften_edges(image, 28)
    arrow = p.polygon(xs, ys, [(38, 126), (90, 126), (64, 154)])
    p.add_light(image, p.GOLD, p.glow(arrow, 6, 0.6))
    p.over(image, p.NIGHT_DEEP, p.fill(arrow - 4, 1.0))
    p.over(image, p.GOLD, p.fill(arrow, 1.0))
    return image


def back_button():
    return button("Back", width=256, height=144)


PICTURES = {
    "sprites/S_MenuScreen_T.dds": menu_screen,
    "sprites/S_WorldMap_T.dds": world_map,
    "sprites/S_CreditsScreen_T.dds": credits_screen,
    "sprites/S_SettingsPanel_T.dds": settings_panel,
    "sprites/S_Title_T.dds": title,
    "sprites/S_StudioLogo_T.dds": studio_logo,
    "sprites/S_Button_T.dds": lambda: button(None),
    "sprites/S_ButtonStart_T.dds": lambda: button("Start"),
    "sprites/S_ButtonSettings_T.dds": lambda: button("Settings"),
    "sprites/S_ButtonCredits_T.dds": lambda: button("Credits"),
    "sprites/S_ButtonQuit_T.dds": lambda: button("Quit"),
    "sprites/S_ButtonBack_T.dds": back_button,
    "sprites/S_ButtonNextLevel_T.dds": lambda: button("Next Level"),
    "sprites/S_ButtonRetry_T.dds": lambda: button("Retry"),
    "sprites/S_ButtonMenu_T.dds": lambda: button("Menu"),
    "sprites/SM_ButtonSelect_T.dds": highlight,
    "sprites/S_LevelButton_T.dds": lambda: button("Level"),
    "sprites/S_Level_1_1_T.dds": lambda: level_button("1 - 1"),
    "sprites/S_Level_1_2_T.dds": lambda: level_button("1 - 2"),
    "sprites/S_Level_2_1_T.dds": lambda: level_button("2 - 1"),
    "sprites/S_Level_2_2_T.dds": lambda: level_button("2 - 2"),
    "sprites/S_Level_Bonus_T.dds": lambda: level_button("Bonus", locked_hint=True),
    "sprites/S_Level_3_1_T.dds": lambda: level_button("3 - 1"),
    "sprites/S_Level_3_2_T.dds": lambda: level_button("3 - 2"),
    "sprites/S_Level_3_3_T.dds": lambda: level_button("3 - 3"),
    "sprites/S_Level_Test_T.dds": lambda: level_button("Test"),
    "sprites/S_Indicator_T.dds": indicator,
    "sprites/S_SliderTrack_T.dds": slider_track,
    "sprites/S_SliderKnob_T.dds": slider_knob,
    "sprites/S_CheckBox_T.dds": check_box,
    "sprites/S_CheckMark_T.dds": check_mark,
    "sprites/S_Coin_T.dds": hud_coin,
    "sprites/S_Health_T.dds": hud_health,
    "sprites/S_Key_T.dds": lambda: hud_key(True),
    "sprites/S_KeyEmpty_T.dds": lambda: hud_key(False),
    "sprites/S_RankBad_T.dds": lambda: rank_picture(0),
    "sprites/S_RankOk_T.dds": lambda: rank_picture(1),
    "sprites/S_RankGood_T.dds": lambda: rank_picture(2),
    "sprites/S_SpeechBubble_T.dds": speech_bubble,
    "sprites/S_JumpLesson_T.dds": jump_lesson,
    "UI/qel-1920x1080-splash-logo.dds": splash_engine,
    "UI/S_Logo_T.dds": splash_studio,
}
