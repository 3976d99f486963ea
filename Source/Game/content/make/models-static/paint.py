"""Small numpy painting kit for the static meshes' textures: tileable noise, colour ramps, bricks,
cracks and blades. Images are float arrays H x W x 3 in 0..1 (sRGB values)."""
import numpy as np


def rng(seed):
    return np.random.default_rng(seed)


def value_noise(h, w, cells_y, cells_x, gen):
    """Smooth noise in 0..1 that wraps around both edges (cells divide the image evenly)."""
    grid = gen.random((cells_y, cells_x))
    ys = np.arange(h) * cells_y / h
    xs = np.arange(w) * cells_x / w
    y0 = np.floor(ys).astype(int)
    x0 = np.floor(xs).astype(int)
    fy = ys - y0
    fx = xs - x0
    fy = fy * fy * (3 - 2 * fy)
    fx = fx * fx * (3 - 2 * fx)
    y1 = (y0 + 1) % cells_y
    x1 = (x0 + 1) % cells_x
    a = grid[y0][:, x0]
    b = grid[y0][:, x1]
    c = grid[y1][:, x0]
    d = grid[y1][:, x1]
    top = a + (b - a) * fx[None, :]
    bottom = c + (d - c) * fx[None, :]
    return top + (bottom - top) * fy[:, None]


def fbm(h, w, base_y, base_x, gen, octaves=4, gain=0.5):
    total = np.zeros((h, w))
    amplitude, norm = 1.0, 0.0
    for o in range(octaves):
        f = 2**o
        total += amplitude * value_noise(h, w, min(base_y * f, h), min(base_x * f, w), gen)
        norm += amplitude
        amplitude *= gain
    return total / norm


def colour(hex_text):
    v = int(hex_text.lstrip("#"), 16)
    return np.array([(v >> 16) & 255, (v >> 8) & 255, v & 255], dtype=np.float64) / 255.0


def ramp(t, stops):
    """Maps t (H x W, 0..1) through colour stops [(position, '#rrggbb'), ...]."""
    t = np.clip(t, 0.0, 1.0)
    positions = np.array([p for p, _ in stops])
    colours = np.array([colour(c) for _, c in stops])
    out = np.empty(t.shape + (3,))
    for k in range(3):
        out[..., k] = np.interp(t, positions, colours[:, k])
    return out


def mix(a, b, m):
    m = np.asarray(m)
    if m.ndim == 2:
        m = m[..., None]
    return a * (1.0 - m) + b * m


def shade(img, factor):
    f = np.asarray(factor)
    if f.ndim == 2:
        f = f[..., None]
    return np.clip(img * f, 0.0, 1.0)


def bricks(h, w, rows, cols, mortar, gen, jitter=0.15):
    """(mask of mortar 0..1, per-brick random value, distance to the brick edge in pixels)."""
    y = np.arange(h)[:, None] * rows / h
    row = np.floor(y).astype(int)
    x = np.arange(w)[None, :] * cols / w + 0.5 * (row % 2)
    col = np.floor(x).astype(int) % cols
    fy = (y - row) * h / rows
    fx = (x - np.floor(x)) * w / cols
    edge = np.minimum(np.minimum(fy, h / rows - fy), np.minimum(fx, w / cols - fx))
    ids = gen.random((rows + 1, cols + 1))
    value = ids[row % (rows + 1), col] * 2 - 1
    value = value * jitter
    joint = np.clip(1.0 - (edge - mortar) / 1.5, 0.0, 1.0)
    return joint, value, edge


def cracks(h, w, count, gen, length=60, width=1.2):
    """A mask 0..1 of jagged dark lines made by random walks."""
    mask = np.zeros((h, w))
    yy, xx = np.mgrid[0:h, 0:w]
    for _ in range(count):
        y, x = gen.random() * h, gen.random() * w
        angle = gen.random() * 2 * np.pi
        for _step in range(length):
            angle += gen.normal(0, 0.45)
            y += np.sin(angle)
            x += np.cos(angle)
            iy, ix = int(y) % h, int(x) % w
            r = int(width + 1)
            for dy in range(-r, r + 1):
                for dx in range(-r, r + 1):
                    d = np.hypot(dy, dx)
                    if d <= width + 0.5:
                        py, px = (iy + dy) % h, (ix + dx) % w
                        mask[py, px] = max(mask[py, px], 1.0 - d / (width + 1.0))
    del yy, xx
    return mask


def blades(h, w, count, gen, top, bottom, lean=0.3):
    """Mask of grass blades hanging from row `top` down to about `bottom` (pixels), wrapping in x."""
    mask = np.zeros((h, w))
    for _ in range(count):
        x = gen.random() * w
        length = (bottom - top) * (0.4 + 0.6 * gen.random())
        slope = gen.normal(0, lean)
        width = 1.0 + gen.random() * 1.5
        for i in range(int(length)):
            t = i / max(length, 1.0)
            y = int(top + i)
            if y >= h:
                break
            cx = x + slope * i
            half = width * (1.0 - t) + 0.3
            for px in range(int(cx - half - 1), int(cx + half + 2)):
                cover = np.clip(half + 0.5 - abs(px + 0.5 - cx), 0.0, 1.0)
                mask[y, px % w] = max(mask[y, px % w], cover)
    return mask


def speckle(h, w, density, gen):
    return (gen.random((h, w)) < density).astype(np.float64)


def blur(img, passes=1):
    out = img.astype(np.float64)
    for _ in range(passes):
        out = (out + np.roll(out, 1, 0) + np.roll(out, -1, 0) + np.roll(out, 1, 1) + np.roll(out, -1, 1)) / 5.0
    return out


def bevel_light(height, strength=2.5):
    """Light from the upper left on a height field: a factor around 1."""
    gy = np.roll(height, 1, 0) - height
    gx = np.roll(height, 1, 1) - height
    return 1.0 + strength * (gy + gx)


def frame(h, w, width, darkness):
    """Darkening toward the border of a cell, so blocks read as blocks."""
    y = np.arange(h)[:, None]
    x = np.arange(w)[None, :]
    d = np.minimum(np.minimum(y, h - 1 - y), np.minimum(x, w - 1 - x))
    return 1.0 - darkness * np.clip(1.0 - d / width, 0.0, 1.0)
