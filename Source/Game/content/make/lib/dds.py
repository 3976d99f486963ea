"""Writes uncompressed RGBA8 DDS files (DX10 header, full mip chain) from numpy images.

Every content script that makes a texture goes through here, so the files share one format the
engine's reader takes: R8G8B8A8, sRGB or plain, mips averaged 2x2 down to 1x1.
"""
import struct

import numpy as np

FORMAT_RGBA8_UNORM = 28
FORMAT_RGBA8_UNORM_SRGB = 29

_DDSD_CAPS, _DDSD_HEIGHT, _DDSD_WIDTH, _DDSD_PITCH = 0x1, 0x2, 0x4, 0x8
_DDSD_PIXELFORMAT, _DDSD_MIPMAPCOUNT = 0x1000, 0x20000
_DDSCAPS_COMPLEX, _DDSCAPS_TEXTURE, _DDSCAPS_MIPMAP = 0x8, 0x1000, 0x400000
_DDPF_FOURCC = 0x4


def _mip_chain(image):
    levels = [image]
    current = image.astype(np.float32)
    while current.shape[0] > 1 or current.shape[1] > 1:
        h, w = current.shape[0], current.shape[1]
        # Each level is half the last, rounded down, as readers size mip chains: an odd side's last
        # row or column is left out of the average.
        if h > 1:
            current = 0.5 * (current[0:h - 1:2] + current[1:h:2])
        if w > 1:
            current = 0.5 * (current[:, 0:w - 1:2] + current[:, 1:w:2])
        levels.append(np.clip(np.rint(current), 0, 255).astype(np.uint8))
    return levels


def to_rgba8(image):
    """Floats in 0..1 or uint8, with 3 or 4 channels, as an H x W x 4 uint8 array."""
    array = np.asarray(image)
    if array.dtype != np.uint8:
        array = np.clip(np.rint(np.asarray(array, dtype=np.float32) * 255.0), 0, 255).astype(np.uint8)
    if array.ndim != 3 or array.shape[2] not in (3, 4):
        raise ValueError("an image is H x W x 3 or 4, got %r" % (array.shape,))
    if array.shape[2] == 3:
        alpha = np.full(array.shape[:2] + (1,), 255, dtype=np.uint8)
        array = np.concatenate([array, alpha], axis=2)
    return np.ascontiguousarray(array)


def encode(image, srgb=True, mips=True):
    """The bytes of a DDS file of the image (row 0 is the top row)."""
    rgba = to_rgba8(image)
    height, width = rgba.shape[0], rgba.shape[1]
    levels = _mip_chain(rgba) if mips else [rgba]
    flags = _DDSD_CAPS | _DDSD_HEIGHT | _DDSD_WIDTH | _DDSD_PITCH | _DDSD_PIXELFORMAT
    caps = _DDSCAPS_TEXTURE
    if len(levels) > 1:
        flags |= _DDSD_MIPMAPCOUNT
        caps |= _DDSCAPS_COMPLEX | _DDSCAPS_MIPMAP
    pixel_format = struct.pack("<II4sIIIII", 32, _DDPF_FOURCC, b"DX10", 0, 0, 0, 0, 0)
    header = struct.pack("<IIIIIII", 124, flags, height, width, width * 4, 0, len(levels))
    header += b"\0" * 44 + pixel_format + struct.pack("<IIIII", caps, 0, 0, 0, 0)
    dxgi = FORMAT_RGBA8_UNORM_SRGB if srgb else FORMAT_RGBA8_UNORM
    dx10 = struct.pack("<IIIII", dxgi, 3, 0, 1, 0)
    body = b"".join(level.tobytes() for level in levels)
    return b"DDS " + header + dx10 + body


def write(path, image, srgb=True, mips=True):
    data = encode(image, srgb, mips)
    with open(path, "wb") as stream:
        stream.write(data)
