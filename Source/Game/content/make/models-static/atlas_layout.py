"""Where every static mesh finds its pixels: the texture sheets, their cells, and the silhouettes of
the background layers.

Read by the texture script (numpy, paints the sheets) and by the Blender script (maps the meshes'
UVs), so a cell or a silhouette is defined once. Plain Python: Blender and /usr/bin/python3 both load it.
Pixel rectangles are (x, y, width, height) with y counted from the top row of the image.
"""
import math

WORLDS = (1, 2, 3)

# The sheets, by the path the game asks for (relative to the game asset root), and their sizes.
MAIN_ATLAS = "textures/textureatlas/t_en_tatlas_c.dds"
PARALLAX_ATLAS = {
    1: "textures/parallax/level1/backgrounds/t_en_tatlas_level1_c.dds",
    2: "textures/parallax/level2/t_en_tatlas_level2_c.dds",
    3: "textures/parallax/level3/t_en_tatlas_level3_c.dds",
}
MIDDLE_ATLAS = {w: "textures/textureatlas/t_en_bgatlas_level%d.dds" % w for w in WORLDS}
SKY_ATLAS = "textures/textureatlas/t_en_bg_1.dds"
COMMON_FOLDER = "textures/Common/"

MAIN_SIZE = (1024, 512)
PARALLAX_SIZE = (2048, 1024)
MIDDLE_SIZE = (2048, 512)
SKY_SIZE = (1024, 1536)
COMMON_SIZE = (256, 256)

# Main atlas: one row of 128-pixel cells per world, one column per surface.
CELL = 128
SURFACES = (
    "ground_side",  # front of a top ground tile: the lip of grass, sand or moss over earth
    "ground_top",  # walked-on surface seen from above
    "fill_side",  # earth or rock below the surface
    "platform_side",  # built blocks: bricks, dressed stone
    "platform_top",
    "hover_side",  # floating slabs with their glowing rune band
    "hover_under",  # the broken rock under a floating slab
    "breakable",  # a cracked block
)
# A cell's picture is CELL_CONTENT texels square, framed by a gutter that continues it (wrapping
# sideways, repeating its edge rows up and down), so filtering and the first mips never reach a
# neighbouring cell and tiles placed side by side show no seam. UVs map onto the picture only.
CELL_INSET = 4
CELL_CONTENT = CELL - 2 * CELL_INSET


# The last row holds second looks of the most repeated surfaces, so long runs of ground can vary.
VARIANT_SURFACES = ("ground_side", "fill_side")
VARIANT_ROW = 3


def main_cell(world, surface, variant=False):
    """The pixel rectangle of a surface of a world on the main atlas (its second look if variant)."""
    if variant:
        column = VARIANT_SURFACES.index(surface) * len(WORLDS) + world - 1
        return (column * CELL, VARIANT_ROW * CELL, CELL, CELL)
    return (SURFACES.index(surface) * CELL, (world - 1) * CELL, CELL, CELL)


def uv_in_rect(rect, sheet_size, s, t, inset=CELL_INSET):
    """Blender UV of the point (s, t) of a rectangle, s and t in 0..1, t = 1 at the rectangle's top."""
    x, y, w, h = rect
    sw, sh = sheet_size
    px = x + inset + s * (w - 2 * inset)
    py = y + inset + (1.0 - t) * (h - 2 * inset)
    return (px / sw, 1.0 - py / sh)


# Parallax sheets: the far band on the upper half, the near band on the lower half.
def parallax_band(layer):
    w, h = PARALLAX_SIZE
    return (0, 0, w, h // 2) if layer == "far" else (0, h // 2, w, h // 2)


def middle_band():
    return (0, 0) + MIDDLE_SIZE


def sky_band(world):
    w, h = SKY_SIZE
    return (0, (world - 1) * (h // 3), w, h // 3)


# Silhouettes: a height (0..1 of the band) at each of SAMPLES + 1 evenly spaced points; the first and
# last are equal so that copies placed side by side join. The meshes follow the same polyline the
# sheets are painted with.
SAMPLES = 192


def _wave(u, terms):
    return sum(a * math.sin(2.0 * math.pi * (k * u) + p) for k, a, p in terms)


def _spires(u, centres, width, height):
    best = 0.0
    for c in centres:
        d = min(abs(u - c), 1.0 - abs(u - c)) / width
        if d < 1.0:
            best = max(best, height * (1.0 - d) ** 1.6)
    return best


def _bumps(u, centres, radius, height):
    """Round tops (tree crowns, dunes) of the given radius in u, wrapping around."""
    best = 0.0
    for c in centres:
        d = min(abs(u - c), 1.0 - abs(u - c)) / radius
        if d < 1.0:
            best = max(best, height * math.sqrt(1.0 - d * d))
    return best


def _block(u, centre, half, height, notch=0.0):
    """A flat-topped block; notch > 0 cuts a broken, jagged top."""
    d = min(abs(u - centre), 1.0 - abs(u - centre))
    if d >= half:
        return 0.0
    return height - notch * abs(math.sin((u - centre) * 97.0))


def _rise(height, base):
    """A piece standing on a base height, where the piece is present at all."""
    return height + base if height > 0.001 else 0.0


def _parts(kind, world, u):
    """The silhouette's pieces at u: a list of (height, material); the tallest shows."""
    if kind == "far":
        if world == 1:  # a blue mountain range in the sun
            return [(0.55 + _wave(u, ((1, 0.12, 0.3), (3, 0.08, 1.1), (7, 0.04, 2.0), (13, 0.02, 0.5))),
                     "mountain")]
        if world == 2:  # distant dunes and a flat-topped mesa
            mesa = _block(u, 0.27, 0.09, 0.62) - 2.5 * max(0.0, abs(u - 0.27) - 0.06)
            return [(0.32 + _wave(u, ((1, 0.06, 1.7), (2, 0.05, 0.2), (5, 0.025, 2.6))), "dune"), (mesa, "mesa")]
        return [(0.40 + _wave(u, ((2, 0.06, 0.9), (5, 0.04, 0.1))), "hill"),
                (_rise(_spires(u, (0.12, 0.31, 0.58, 0.83), 0.02, 0.45), 0.40), "spire")]
    if kind == "near":
        if world == 1:  # wooded hills and a ruined tower
            forest = 0.30 + _wave(u, ((2, 0.08, 0.4), (5, 0.04, 2.2))) + _bumps(
                u, [i / 23.0 + 0.01 * math.sin(i * 2.3) for i in range(23)], 0.03, 0.06)
            return [(forest, "forest"), (_block(u, 0.62, 0.02, 0.8, 0.04), "tower")]
        if world == 2:  # nearer dunes and a stepped pyramid
            d = abs(u - 0.7)
            pyramid = math.floor((0.72 - 2.2 * d) * 14.0) / 14.0 if d < 0.3 else 0.0
            return [(0.30 + _wave(u, ((2, 0.07, 2.4), (3, 0.05, 0.6), (9, 0.015, 1.3))), "dune"), (pyramid, "pyramid")]
        cathedral = max(_block(u, 0.22, 0.05, 0.5), _spires(u, (0.18, 0.26), 0.015, 0.85),
                        _block(u, 0.71, 0.06, 0.45), _spires(u, (0.66, 0.71, 0.76), 0.012, 0.8))
        return [(0.26 + _wave(u, ((3, 0.05, 1.3), (7, 0.02, 0.4))), "hill"), (cathedral, "cathedral")]
    if world == 1:  # tree crowns and broken columns
        trees = 0.18 + _bumps(u, (0.05, 0.13, 0.2, 0.36, 0.43, 0.52, 0.61, 0.7, 0.87, 0.95), 0.045, 0.42)
        columns = max(_block(u, 0.27, 0.014, 0.8, 0.06), _block(u, 0.79, 0.014, 0.62, 0.05))
        return [(trees + _wave(u, ((17, 0.015, 0.2),)), "tree"), (columns, "column")]
    if world == 2:  # rocks, sandstone pillars and a butte
        pillars = max(_block(u, 0.15, 0.018, 0.75), _block(u, 0.58, 0.025, 0.68, 0.03))
        return [(0.22 + _wave(u, ((3, 0.06, 0.8), (8, 0.03, 2.0))), "rock"), (pillars, "pillar"),
                (_block(u, 0.84, 0.06, 0.55) - 1.5 * max(0.0, abs(u - 0.84) - 0.045), "mesa")]
    stones = max(max(_block(u, c, 0.012, 0.26 + 0.05 * k) + _bumps(u, (c,), 0.012, 0.03) * (_block(u, c, 0.012, 1.0))
                     for k, c in enumerate((0.08, 0.35, 0.6, 0.9))), 0.0)
    return [(0.16 + _wave(u, ((5, 0.03, 0.3), (11, 0.015, 1.1))), "grave"), (stones, "headstone"),
            (_spires(u, (0.47,), 0.035, 0.85), "spire"), (_spires(u, (0.2, 0.72), 0.012, 0.6), "dead")]


def _top(kind, world, u):
    return max(_parts(kind, world, u), key=lambda part: part[0])


def silhouette(kind, world):
    """Heights 0..1 (of the band) at SAMPLES + 1 points from u = 0 to 1; kind is far, near or middle."""
    heights = [min(0.97, max(0.05, _top(kind, world, i / SAMPLES)[0])) for i in range(SAMPLES)]
    heights.append(heights[0])
    return heights


def silhouette_materials(kind, world):
    """The material of the tallest piece at each of the SAMPLES + 1 points."""
    names = [_top(kind, world, i / SAMPLES)[1] for i in range(SAMPLES)]
    names.append(names[0])
    return names


def silhouette_at(heights, u):
    """The polyline's height at u (0..1), as the meshes draw it."""
    f = min(max(u, 0.0), 1.0) * SAMPLES
    i = min(int(f), SAMPLES - 1)
    return heights[i] + (heights[i + 1] - heights[i]) * (f - i)


# Sizes of the background pieces in game units (width, height).
PARALLAX_PLANE = (8000.0, 2000.0)
MIDDLE_PLANE = (4000.0, 1000.0)
SKY_PLANE = (16000.0, 8000.0)

# Common-texture meshes: two halves of their own sheet (left and right), each a material.
DECORATIONS = {
    "SM_Deco_W1_Rock": ("mossy_stone", "moss"),
    "SM_Deco_W1_Bush": ("leaves", "bark"),
    "SM_Deco_W1_Tree": ("bark", "leaves"),
    "SM_Deco_W1_Pillar": ("ruin_stone", "moss"),
    "SM_Deco_W1_Flowers": ("leaves", "flower"),
    "SM_Deco_W2_Rock": ("sandstone", "sand"),
    "SM_Deco_W2_Cactus": ("cactus", "sand"),
    "SM_Deco_W2_Pillar": ("sandstone_carved", "sandstone"),
    "SM_Deco_W2_Bones": ("bone", "sand"),
    "SM_Deco_W3_Grave": ("grave_stone", "blood_moss"),
    "SM_Deco_W3_Crystal": ("crystal", "dark_rock"),
    "SM_Deco_W3_DeadTree": ("dead_bark", "dark_rock"),
    "SM_Deco_W3_Fence": ("iron", "dark_rock"),
    "SM_Checkpoint": ("iron", "lantern_dark"),
    "SM_Checkpoint_Active": ("iron", "lantern_lit"),
    "SM_Key": ("gold", "gold_dark"),
    "SM_BloodSea": ("blood_surface", "blood_deep"),
}


def half_rect(which):
    w, h = COMMON_SIZE
    return (0, 0, w // 2, h) if which == 0 else (w // 2, 0, w // 2, h)
