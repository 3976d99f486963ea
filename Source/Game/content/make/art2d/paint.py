"""Drawing on numpy canvases: shapes from signed distances, soft glows, blurs, noise and text.

A canvas is an H x W x 4 float32 array of straight (not premultiplied) RGBA in 0..1, row 0 at the top.
Every picture of the menus and every effect frame is composed from these few operations, so the whole
set shares one look: night purples, gold, soft glows and outlined shapes.
"""
import os

import numpy as np

# The palette every picture draws from.
NIGHT_DEEP = (0.035, 0.02, 0.08)
NIGHT = (0.10, 0.05, 0.19)
PURPLE = (0.30, 0.15, 0.48)
VIOLET = (0.58, 0.40, 0.92)
GOLD = (1.0, 0.76, 0.28)
GOLD_LIGHT = (1.0, 0.93, 0.62)
GOLD_DARK = (0.52, 0.31, 0.07)
SOUL = (0.45, 0.95, 1.0)
SOUL_DEEP = (0.10, 0.55, 0.85)
HEART = (0.95, 0.18, 0.33)
HEART_LIGHT = (1.0, 0.55, 0.62)
WHITE = (1.0, 1.0, 1.0)
DUST = (0.80, 0.74, 0.86)

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SERIF_BOLD = os.path.join(FONT_DIR, "DejaVuSerif-Bold.ttf")
SANS_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")


def canvas(width, height, color=(0, 0, 0), alpha=0.0):
    image = np.zeros((height, width, 4), dtype=np.float32)
    image[..., :3] = color
    image[..., 3] = alpha
    return image


def grid(width, height):
    """Pixel-centre coordinates (x right, y down) as two H x W arrays."""
    ys, xs = np.mgrid[0:height, 0:width].astype(np.float32)
    return xs + 0.5, ys + 0.5


def _touched(amount):
    """The rows and columns slice holding every pixel amount changes visibly (None when none)."""
    visible = amount > 1.0 / 1024.0
    rows = np.flatnonzero(visible.any(axis=1))
    if rows.size == 0:
        return None
    cols = np.flatnonzero(visible[rows[0]:rows[-1] + 1].any(axis=0))
    return slice(rows[0], rows[-1] + 1), slice(cols[0], cols[-1] + 1)


def _restrict(image, color, amount):
    window = _touched(amount)
    if window is None:
        return None
    color = np.asarray(color, dtype=np.float32)
    if color.ndim == 3:
        color = color[window]
    return image[window], color, amount[window]


def over(image, color, alpha):
    """Lays a colour (3-tuple or H x W x 3) with coverage alpha (H x W) over the image, in place."""
    alpha = np.clip(np.broadcast_to(alpha, image.shape[:2]), 0.0, 1.0)
    parts = _restrict(image, color, alpha)
    if parts is None:
        return image
    view, color, alpha = parts
    alpha = alpha[..., None]
    base_a = view[..., 3:4]
    out_a = alpha + base_a * (1.0 - alpha)
    safe = np.where(out_a > 1e-6, out_a, 1.0)
    view[..., :3] = (color * alpha + view[..., :3] * base_a * (1.0 - alpha)) / safe
    view[..., 3:4] = out_a
    return image


def add_light(image, color, amount):
    """Adds light (brightens colour and coverage), for glows over opaque or clear pixels."""
    amount = np.clip(np.broadcast_to(amount, image.shape[:2]), 0.0, None)
    parts = _restrict(image, color, amount)
    if parts is None:
        return image
    view, color, amount = parts
    amount = amount[..., None]
    a = view[..., 3:4]
    new_a = np.clip(a + amount * (1.0 - a), 0.0, 1.0)
    safe = np.where(new_a > 1e-6, new_a, 1.0)
    view[..., :3] = np.clip((view[..., :3] * a + color * amount) / safe, 0.0, 1.0)
    view[..., 3:4] = new_a
    return image


def fill(distance, soft=1.0):
    """Coverage of the inside (distance < 0) with an antialiased edge soft pixels wide."""
    return np.clip(0.5 - distance / soft, 0.0, 1.0)


def glow(distance, radius, strength=1.0):
    """A soft halo falling off outside a shape."""
    return strength * np.exp(-np.maximum(distance, 0.0) / max(radius, 1e-3))


def circle(xs, ys, cx, cy, r):
    return np.hypot(xs - cx, ys - cy) - r


def ellipse(xs, ys, cx, cy, rx, ry):
    # Not exact away from the edge, but close enough for fills and glows.
    k = np.hypot((xs - cx) / rx, (ys - cy) / ry)
    return (k - 1.0) * min(rx, ry)


def rounded_rect(xs, ys, cx, cy, half_w, half_h, radius):
    qx = np.abs(xs - cx) - (half_w - radius)
    qy = np.abs(ys - cy) - (half_h - radius)
    outside = np.hypot(np.maximum(qx, 0.0), np.maximum(qy, 0.0))
    inside = np.minimum(np.maximum(qx, qy), 0.0)
    return outside + inside - radius


def segment(xs, ys, x0, y0, x1, y1, r):
    dx, dy = x1 - x0, y1 - y0
    length2 = max(dx * dx + dy * dy, 1e-9)
    t = np.clip(((xs - x0) * dx + (ys - y0) * dy) / length2, 0.0, 1.0)
    return np.hypot(xs - (x0 + t * dx), ys - (y0 + t * dy)) - r


def polygon(xs, ys, points):
    """Signed distance to a closed polygon (list of (x, y)); negative inside."""
    pts = np.asarray(points, dtype=np.float32)
    d = np.full(xs.shape, np.inf, dtype=np.float32)
    sign = np.ones(xs.shape, dtype=np.float32)
    n = len(pts)
    for i in range(n):
        ax, ay = pts[i]
        bx, by = pts[(i + 1) % n]
        ex, ey = bx - ax, by - ay
        wx, wy = xs - ax, ys - ay
        t = np.clip((wx * ex + wy * ey) / max(ex * ex + ey * ey, 1e-9), 0.0, 1.0)
        d = np.minimum(d, np.hypot(wx - ex * t, wy - ey * t))
        c1 = ys >= ay
        c2 = ys < by
        c3 = ex * wy > ey * wx
        flip = (c1 & c2 & c3) | (~c1 & ~c2 & ~c3)
        sign = np.where(flip, -sign, sign)
    return sign * d


def star_points(cx, cy, outer, inner, count, rotation=0.0):
    points = []
    for i in range(count * 2):
        angle = rotation + np.pi * i / count - np.pi / 2
        r = outer if i % 2 == 0 else inner
        points.append((cx + r * np.cos(angle), cy + r * np.sin(angle)))
    return points


def heart(xs, ys, cx, cy, size):
    """A heart about 2 x size wide, point down, centred on (cx, cy)."""
    x = (xs - cx) / size
    y = (ys - cy) / size
    # Two lobes and a point, joined as a smooth union.
    lobe_l = np.hypot(x + 0.5, y + 0.25) - 0.55
    lobe_r = np.hypot(x - 0.5, y + 0.25) - 0.55
    tip = polygon(x, y, [(-1.02, -0.05), (1.02, -0.05), (0.0, 1.1)])
    d = np.minimum(np.minimum(lobe_l, lobe_r), tip)
    return d * size


def box_blur(channel, radius):
    """A fast blur of an H x W array: three box passes per axis approach a Gaussian."""
    r = int(max(1, round(radius)))
    out = channel.astype(np.float32)
    for _ in range(3):
        for axis in (0, 1):
            pad = [(0, 0), (0, 0)]
            pad[axis] = (r + 1, r)
            padded = np.pad(out, pad, mode="edge")
            summed = np.cumsum(padded, axis=axis, dtype=np.float64)
            if axis == 0:
                out = (summed[2 * r + 1:] - summed[:-2 * r - 1]) / (2 * r + 1)
            else:
                out = (summed[:, 2 * r + 1:] - summed[:, :-2 * r - 1]) / (2 * r + 1)
            out = out.astype(np.float32)
    return out


def value_noise(width, height, cell, seed, octaves=4):
    """Fractal value noise in 0..1, cells of the coarsest octave about cell pixels wide."""
    rng = np.random.default_rng(seed)
    total = np.zeros((height, width), dtype=np.float32)
    weight = 0.0
    amplitude = 1.0
    for _ in range(octaves):
        gw = int(np.ceil(width / cell)) + 2
        gh = int(np.ceil(height / cell)) + 2
        lattice = rng.random((gh, gw)).astype(np.float32)
        xs = (np.arange(width, dtype=np.float32) + 0.5) / cell
        ys = (np.arange(height, dtype=np.float32) + 0.5) / cell
        x0 = np.floor(xs).astype(int)
        y0 = np.floor(ys).astype(int)
        fx = xs - x0
        fy = ys - y0
        fx = fx * fx * (3 - 2 * fx)
        fy = fy * fy * (3 - 2 * fy)
        a = lattice[np.ix_(y0, x0)]
        b = lattice[np.ix_(y0, x0 + 1)]
        c = lattice[np.ix_(y0 + 1, x0)]
        d = lattice[np.ix_(y0 + 1, x0 + 1)]
        top = a + (b - a) * fx[None, :]
        bottom = c + (d - c) * fx[None, :]
        total += amplitude * (top + (bottom - top) * fy[:, None])
        weight += amplitude
        amplitude *= 0.5
        cell = max(cell / 2.0, 1.0)
    return total / weight


def smooth_noise(width, height, cell, seed, octaves=4, factor=4):
    """value_noise for wide, soft fields (haze, mist, moon craters), worked out at 1/factor size and
    smoothly enlarged: the same look for a sixteenth of the work."""
    small = value_noise(width // factor + 2, height // factor + 2, max(cell / factor, 1.0), seed, octaves)
    big = np.repeat(np.repeat(small, factor, axis=0), factor, axis=1)
    return box_blur(big, factor * 0.5)[:height, :width]


def vertical_gradient(height, width, top, bottom, power=1.0):
    t = (np.arange(height, dtype=np.float32) + 0.5) / height
    t = t ** power
    colors = np.asarray(top, np.float32)[None, :] * (1 - t[:, None]) + np.asarray(bottom, np.float32)[None, :] * t[:, None]
    return np.broadcast_to(colors[:, None, :], (height, width, 3)).copy()


def mix(a, b, t):
    a = np.asarray(a, dtype=np.float32)
    b = np.asarray(b, dtype=np.float32)
    t = np.asarray(t, dtype=np.float32)
    if t.ndim:
        t = t[..., None]
    return a * (1 - t) + b * t


def stars(image, count, seed, max_y=1.0, size=1.0):
    """Twinkling points of light over the upper part of an opaque picture."""
    h, w = image.shape[:2]
    rng = np.random.default_rng(seed)
    light = np.zeros((h, w), dtype=np.float32)
    xs = rng.integers(0, w, count)
    ys = (rng.random(count) ** 1.6 * max_y * h).astype(int).clip(0, h - 1)
    light[ys, xs] = rng.random(count) * 0.8 + 0.2
    soft = box_blur(light, 1.0 * size) * (6.0 * size)
    big = rng.random(count) > 0.93
    light2 = np.zeros_like(light)
    light2[ys[big], xs[big]] = 1.0
    halo = box_blur(light2, 3 * size) * 25 * size
    add_light(image, (1.0, 0.95, 0.85), np.clip(light + soft, 0, 1))
    add_light(image, (0.8, 0.75, 1.0), np.clip(halo, 0, 0.6))


# Text ------------------------------------------------------------------------------------------------

def _font(path, size):
    from PIL import ImageFont
    return ImageFont.truetype(path, size)


def text_mask(text, font_path, size, stroke=0, spacing=0):
    """The coverage mask (float H x W) of a line of text, and its ink box offset; stroke widens it."""
    from PIL import Image, ImageDraw
    font = _font(font_path, size)
    draw = ImageDraw.Draw(Image.new("L", (1, 1)))
    box = draw.textbbox((0, 0), text, font=font, stroke_width=stroke)
    width = box[2] - box[0] + 4
    height = box[3] - box[1] + 4
    image = Image.new("L", (width, height), 0)
    ImageDraw.Draw(image).text((2 - box[0], 2 - box[1]), text, font=font, fill=255, stroke_width=stroke,
                               stroke_fill=255)
    return np.asarray(image, dtype=np.float32) / 255.0


def fit_text_size(text, font_path, max_w, max_h, start=400):
    """The largest font size (in steps) whose ink fits max_w x max_h pixels."""
    size = start
    while size > 6:
        mask = text_mask(text, font_path, size)
        if mask.shape[1] <= max_w and mask.shape[0] <= max_h:
            return size
        size = int(size * 0.92)
    return size


def paste_mask(target_h, target_w, mask, cx, cy):
    """A target-sized copy of mask centred on (cx, cy)."""
    out = np.zeros((target_h, target_w), dtype=np.float32)
    mh, mw = mask.shape
    x0 = int(round(cx - mw / 2))
    y0 = int(round(cy - mh / 2))
    sx0, sy0 = max(0, -x0), max(0, -y0)
    dx0, dy0 = max(0, x0), max(0, y0)
    dx1, dy1 = min(target_w, x0 + mw), min(target_h, y0 + mh)
    if dx1 > dx0 and dy1 > dy0:
        out[dy0:dy1, dx0:dx1] = mask[sy0:sy0 + dy1 - dy0, sx0:sx0 + dx1 - dx0]
    return out


def golden_text(image, text, cx, cy, max_w, max_h, font_path=SERIF_BOLD, outline=0.08, glow_radius=0.25,
                top=GOLD_LIGHT, bottom=GOLD, edge=NIGHT_DEEP, glow_color=GOLD, glow_strength=0.55, size=None):
    """Draws text filled with a vertical gold gradient, a dark outline and a soft glow, centred; the
    size is the largest that fits max_w x max_h unless given."""
    h, w = image.shape[:2]
    size = size or fit_text_size(text, font_path, max_w, max_h)
    stroke = max(1, int(round(size * outline)))
    inner = paste_mask(h, w, text_mask(text, font_path, size, stroke=stroke), cx, cy)
    # The stroked mask is larger: recentre the plain ink inside it.
    plain = text_mask(text, font_path, size)
    ink = paste_mask(h, w, plain, cx, cy)
    if glow_strength > 0:
        halo = box_blur(inner, max(1.0, size * glow_radius / 3))
        add_light(image, glow_color, np.clip(halo * glow_strength * 1.6, 0, glow_strength))
    over(image, edge, inner)
    rows = np.nonzero(ink.max(axis=1) > 0.05)[0]
    if rows.size:
        y0, y1 = rows[0], rows[-1] + 1
    else:
        y0, y1 = 0, h
    t = np.clip((np.arange(h, dtype=np.float32) - y0) / max(1, y1 - y0), 0, 1)
    colors = mix(top, bottom, np.broadcast_to(t[:, None], (h, w)))
    over(image, colors, ink)
    return size


def local(image, cx, cy, reach):
    """The window of image within reach pixels of (cx, cy), as a view, and the centre in its
    coordinates: shapes drawn into the view land on the image, at the cost of the window only."""
    h, w = image.shape[:2]
    x0, x1 = int(max(0, np.floor(cx - reach))), int(min(w, np.ceil(cx + reach)))
    y0, y1 = int(max(0, np.floor(cy - reach))), int(min(h, np.ceil(cy + reach)))
    if x1 <= x0 or y1 <= y0:
        return None, cx, cy
    return image[y0:y1, x0:x1], cx - x0, cy - y0


def soften_edges(image, margin):
    """Fades coverage to nothing over the outer margin pixels, so glows end inside the picture instead
    of being cut off square at its border."""
    h, w = image.shape[:2]
    xs, ys = grid(w, h)
    edge = np.minimum(np.minimum(xs, w - xs), np.minimum(ys, h - ys)) - 0.5
    t = np.clip(edge / max(margin, 1e-3), 0.0, 1.0)
    image[..., 3] *= t * t * (3 - 2 * t)
    return image


def radial_fade(image, inner=0.7):
    """Fades coverage to nothing towards the inscribed ellipse's rim, for round icons whose halo would
    otherwise show the picture's square."""
    h, w = image.shape[:2]
    xs, ys = grid(w, h)
    r = np.hypot((xs - w / 2) / (w / 2), (ys - h / 2) / (h / 2))
    t = np.clip((1.0 - r) / (1.0 - inner), 0.0, 1.0)
    image[..., 3] *= t * t * (3 - 2 * t)
    return image
