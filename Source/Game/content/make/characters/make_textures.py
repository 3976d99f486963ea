"""Paints the characters' colour textures, "textures/Common/<stem>_T.dds", region by region as
layout.py places and describes them.

Usage: make_textures.py OUT_DIR [--png PREVIEW_DIR] [--stamp FILE]   (OUT_DIR is the game asset
root; the textures are raised for the levels' light, lib/lighting.py; the previews are PNG copies as
painted, for looking at the textures and for Blender renders; the stamp is touched last, for the
build.)
"""
import os
import struct
import sys
import zlib

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "lib"))
sys.path.insert(0, HERE)

import dds  # noqa: E402
import layout  # noqa: E402
import lighting  # noqa: E402


def value_noise(h, w, cells, rng):
    """Smooth noise in 0..1: a coarse random grid, bilinearly enlarged."""
    grid = rng.random((cells + 1, cells + 1))
    y = np.linspace(0, cells, h, endpoint=False)
    x = np.linspace(0, cells, w, endpoint=False)
    y0, x0 = np.floor(y).astype(int), np.floor(x).astype(int)
    fy, fx = (y - y0)[:, None], (x - x0)[None, :]
    fy, fx = fy * fy * (3 - 2 * fy), fx * fx * (3 - 2 * fx)
    a = grid[y0][:, x0]
    b = grid[y0][:, x0 + 1]
    c = grid[y0 + 1][:, x0]
    d = grid[y0 + 1][:, x0 + 1]
    return (a * (1 - fx) + b * fx) * (1 - fy) + (c * (1 - fx) + d * fx) * fy


def fbm(h, w, rng, octaves=4, cells=4):
    total, amp, norm = np.zeros((h, w)), 1.0, 0.0
    for k in range(octaves):
        total += amp * value_noise(h, w, cells * 2 ** k, rng)
        norm += amp
        amp *= 0.5
    return total / norm


def col(c):
    return np.array(c, dtype=np.float64)[None, None, :]


def disc(lon, lat, clon, clat, radius):
    """Distance from a feature centre in units of its radius (degrees on the sphere)."""
    d_lon = (lon - clon) * np.cos(np.radians(lat))
    return np.sqrt(d_lon ** 2 + (lat - clat) ** 2) / radius


def paint_features(img, spec, lon, lat):
    for eye in spec.get("eyes", []):
        d = disc(lon, lat, eye["lon"], eye["lat"], eye["radius"])
        if eye.get("glow"):
            halo = np.clip(1.6 - d, 0, 1)[..., None] ** 2 * 0.6
            img[:] = img * (1 - halo) + col(eye["iris"]) * halo
            core = (d < 1.0)[..., None]
            shine = np.clip(1.0 - d, 0, 1)[..., None]
            img[:] = np.where(core, col(eye["iris"]) * (0.75 + 0.25 * shine) + 0.25 * shine, img)
        else:
            white = (d < 1.0)[..., None]
            img[:] = np.where(white, col((0.98, 0.97, 0.92)), img)
            iris = (d < 0.62)[..., None]
            img[:] = np.where(iris, col(eye["iris"]), img)
            if eye.get("pupil") is not None:
                img[:] = np.where((d < 0.32)[..., None], col(eye["pupil"]), img)
                spark = disc(lon, lat, eye["lon"] + 0.25 * eye["radius"], eye["lat"] + 0.25 * eye["radius"],
                             eye["radius"] * 0.14) < 1.0
                img[:] = np.where(spark[..., None], col((1, 1, 1)), img)
            ring = ((d > 0.92) & (d < 1.1))[..., None]
            img[:] = np.where(ring, img * 0.35, img)
    mouth = spec.get("mouth")
    if mouth:
        half = mouth["width"] / 2.0
        x = (lon - mouth["lon"]) / half
        curve = mouth["lat"] + 6.0 * x ** 2
        inside = (np.abs(x) < 1.0) & (lat < curve + 2.5) & (lat > curve - 5.0 * (1 - x ** 2))
        img[:] = np.where(inside[..., None], col(mouth["colour"]), img)
        if mouth.get("teeth"):
            teeth = inside & (lat > curve - 1.0) & (np.mod(x * 4.0, 1.0) < 0.6)
            img[:] = np.where(teeth[..., None], col((0.95, 0.93, 0.8)), img)


def paint_region(spec, h, w, rng):
    """The pixels of one region, h x w x 3 in 0..1; row 0 is the region's top (v = 1)."""
    v = np.linspace(1.0, 0.0, h, endpoint=False)[:, None] - 0.5 / h
    u = np.linspace(0.0, 1.0, w, endpoint=False)[None, :] + 0.5 / w
    u, v = np.broadcast_to(u, (h, w)), np.broadcast_to(v, (h, w))
    lon = 360.0 * (0.5 - u)
    lat = 180.0 * (v - 0.5)
    base = col(spec["base"])
    kind = spec["kind"]
    grain = fbm(h, w, rng, 4, 4)[..., None]
    fine = rng.random((h, w))[..., None]
    img = base * (0.85 + 0.3 * grain) * (0.96 + 0.08 * fine)
    if kind == "hooded_face":
        face = spec["face"]
        d = np.sqrt(((lon - face["lon"]) / (face["width"] / 2)) ** 2 + ((lat - face["lat"]) / (face["height"] / 2)) ** 2)
        shade = col(spec["shade"]) * (0.8 + 0.4 * grain)
        rim = np.clip((d - 0.85) / 0.25, 0, 1)[..., None]
        img = shade * (1 - rim) + img * rim
        seam = (np.abs(d - 1.02) < 0.05)[..., None]
        img = np.where(seam, img * 1.5 + 0.05, img)
        paint_features(img, spec, lon, lat)
    elif kind == "creature":
        spots = (value_noise(h, w, 14, rng) > 0.72)[..., None]
        img = np.where(spots, col(spec["spots"]) * (0.9 + 0.2 * grain), img)
        belly = np.clip(1.0 - np.abs(lon) / 70.0, 0, 1)[..., None] * np.clip((-lat - 10) / 40.0, 0, 1)[..., None]
        img = img * (1 - 0.35 * belly) + (img * 1.5) * 0.35 * belly
        paint_features(img, spec, lon, lat)
    elif kind == "great_eye":
        d = disc(lon, lat, 0.0, 0.0, 1.0)
        veins = np.abs(np.sin(np.radians(lon) * 9 + fbm(h, w, rng, 3, 3) * 9)) < 0.08
        veins &= (d > spec["iris_radius"] * 1.1)
        img = np.where(veins[..., None], col(spec["veins"]), img)
        iris_t = np.clip(d / spec["iris_radius"], 0, 1)[..., None]
        rays = 0.75 + 0.25 * np.sin(np.arctan2(lat, lon) * 24)[..., None]
        iris = col(spec["iris"]) * (1.2 - 0.6 * iris_t) * rays
        img = np.where((d < spec["iris_radius"])[..., None], iris, img)
        img = np.where((np.abs(d - spec["iris_radius"]) < 1.2)[..., None], col((0.15, 0.02, 0.0)), img)
        img = np.where((d < spec["pupil_radius"])[..., None], col(spec["pupil"]), img)
        spark = disc(lon, lat, 8, 8, 4) < 1.0
        img = np.where(spark[..., None], col((1, 1, 1)), img)
    elif kind == "cloth":
        weave = (0.93 + 0.07 * np.sin(u * w * 1.6) * np.sin(v * h * 1.6))[..., None]
        img = img * weave
        trim = spec.get("trim")
        if trim:
            lo, hi = spec["trim_band"]
            edge = (v > lo) & (v < hi)
            img = np.where(edge[..., None], col(trim) * (0.9 + 0.2 * grain), img)
            mid = 0.5 * (lo + hi)
            diamonds = (np.abs(np.mod(u * 12, 1.0) - 0.5) + np.abs(v - mid) * 40 / max(hi - lo, 1e-3) * 0.05 < 0.3)
            img = np.where((diamonds & edge)[..., None], col(spec["base"]) * 0.6, img)
    elif kind == "stripes":
        band = np.mod(v * spec["count"], 1.0) < 0.35
        img = np.where(band[..., None], col(spec["stripe"]) * (0.9 + 0.2 * grain), img)
        fringe = (v < 0.06) & (np.mod(u * 40, 1.0) < 0.5)
        img = np.where(fringe[..., None], img * 0.7, img)
    elif kind == "skin":
        warts = spec.get("warts")
        if warts:
            bumps = value_noise(h, w, 20, rng) > 0.8
            img = np.where(bumps[..., None], col(warts), img)
        img = img * (0.92 + 0.16 * fbm(h, w, rng, 3, 8)[..., None])
    elif kind == "leather":
        img = img * (0.8 + 0.3 * fbm(h, w, rng, 5, 6)[..., None])
        stitch = (np.abs(v - 0.5) < 0.015) & (np.mod(u * 30, 1.0) < 0.5)
        img = np.where(stitch[..., None], col((0.9, 0.8, 0.6)), img)
    elif kind == "metal":
        img = img * (0.8 + 0.35 * v[..., None]) * (0.95 + 0.1 * fbm(h, w, rng, 5, 8)[..., None])
        scratches = np.abs(np.sin((u * 3 + v * 7) * 40 + fbm(h, w, rng, 2, 4) * 20)) < 0.03
        img = np.where(scratches[..., None], img * 1.3, img)
        if spec.get("rivets"):
            ru, rv = np.mod(u * 8, 1.0) - 0.5, np.mod(v * 4, 1.0) - 0.5
            rivet = (ru ** 2 + rv ** 2) < 0.03
            img = np.where(rivet[..., None], img * 0.5 + 0.45, img)
            seam = np.abs(np.mod(v * 4, 1.0) - 0.5) > 0.47
            img = np.where(seam[..., None], img * 0.45, img)
        if spec.get("band"):
            img = np.where((np.abs(v - 0.2) < 0.06)[..., None], col(spec["band"]), img)
    elif kind == "glow":
        r = np.sqrt((u - 0.5) ** 2 + (v - 0.5) ** 2)
        img = np.clip(col(spec["base"]) * (1.3 - r)[..., None] + 0.3 * np.clip(0.3 - r, 0, 1)[..., None], 0, 1)
    elif kind == "stone":
        blocks_v = np.mod(v * 6, 1.0)
        row = np.floor(v * 6)
        blocks_u = np.mod(u * 4 + 0.5 * np.mod(row, 2), 1.0)
        mortar = (blocks_v < 0.06) | (blocks_u < 0.04)
        img = img * (0.8 + 0.35 * fbm(h, w, rng, 5, 8)[..., None])
        img = np.where(mortar[..., None], img * 0.45, img)
        if spec.get("runes"):
            glyph = (np.mod(u * 16, 1.0) < 0.12) & (np.mod(v * 12, 1.0) > 0.3) & (np.mod(v * 12, 1.0) < 0.7)
            glyph |= (np.abs(np.mod(v * 12, 1.0) - 0.5) < 0.05) & (np.mod(u * 16, 1.0) < 0.5)
            glyph &= (np.mod(np.floor(u * 16) + np.floor(v * 12) * 3, 5) == 0)
            img = np.where(glyph[..., None], col(spec["runes"]), img)
    elif kind == "wood":
        rings = 0.85 + 0.15 * np.sin((u * 9 + fbm(h, w, rng, 3, 3) * 3) * 2 * np.pi * 3)
        img = img * rings[..., None]
        plank = np.mod(u * 5, 1.0) < 0.04
        img = np.where(plank[..., None], img * 0.4, img)
        bands = (np.abs(v - 0.22) < 0.04) | (np.abs(v - 0.78) < 0.04)
        img = np.where(bands[..., None], col(spec["band"]) * (0.85 + 0.3 * grain), img)
    return np.clip(img, 0.0, 1.0)


def paint(stem):
    size = layout.SIZE
    img = np.zeros((size, size, 3))
    img[:] = 0.5
    rng = np.random.default_rng(sum(map(ord, stem)))  # fixed per model: builds repeat
    for name, (u0, v0, u1, v1) in layout.ATLASES[stem].items():
        spec = layout.PAINT[stem].get(name)
        if spec is None:
            continue
        x0, x1 = int(round(u0 * size)), int(round(u1 * size))
        y0, y1 = int(round((1 - v1) * size)), int(round((1 - v0) * size))
        img[y0:y1, x0:x1] = paint_region(spec, y1 - y0, x1 - x0, rng)
    return img


def write_png(path, img):
    data = np.clip(np.rint(img * 255), 0, 255).astype(np.uint8)
    h, w = data.shape[:2]
    raw = b"".join(b"\0" + data[r].tobytes() for r in range(h))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def main(argv):
    if len(argv) < 2:
        print("usage: make_textures.py OUT_DIR [--png PREVIEW_DIR] [--stamp FILE]")
        return 2
    out = os.path.join(argv[1], "textures", "Common")
    os.makedirs(out, exist_ok=True)
    png_dir = argv[argv.index("--png") + 1] if "--png" in argv else None
    for stem in layout.ATLASES:
        img = paint(stem)
        dds.write(os.path.join(out, stem + "_T.dds"), lighting.for_scene_light(img), srgb=True)
        if png_dir:
            os.makedirs(png_dir, exist_ok=True)
            write_png(os.path.join(png_dir, stem + "_T.png"), img)
    if "--stamp" in argv:
        with open(argv[argv.index("--stamp") + 1], "w") as stamp:
            stamp.write("made\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
