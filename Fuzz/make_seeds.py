"""Writes the fuzz targets' seed corpus, corpus/<target>/: a few small valid files of each kind (made
here, or taken from the repository's own content and test fixtures) and the damaged inputs each
reader has been mended for. Run with Debian's python3: /usr/bin/python3 Fuzz/make_seeds.py
"""
import json
import os
import pathlib
import shutil
import struct
import sys
import zlib

import numpy as np

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent
sys.path.insert(0, str(ROOT / "Source/Game/content/make/lib"))
import dds  # noqa: E402

CORPUS = HERE / "corpus"


def put(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data if isinstance(data, bytes) else data.encode())


def png(width, height, claimed=None):
    raw = b"".join(b"\0" + bytes([(x * 37 + y * 11) % 256 for x in range(width * 4)]) for y in range(height))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    w, h = claimed or (width, height)
    header = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def icon(entries):
    count = len(entries)
    head = struct.pack("<HHH", 0, 1, count)
    offset = 6 + 16 * count
    directory = b""
    for data in entries:
        directory += struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return head + directory + b"".join(entries)


def targa(width, height):
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, width, height, 32, 8)
    return header + bytes((i * 13) % 256 for i in range(width * height * 4))


def seeds_images():
    image = np.zeros((8, 8, 4), np.float32)
    image[..., 0] = np.linspace(0, 1, 8)[None, :]
    image[..., 3] = 1
    put("FuzzDds", "rgba8_mips.dds", dds.encode(image, srgb=True, mips=True))
    put("FuzzDds", "rgba8_plain.dds", dds.encode(image[:4, :4], srgb=False, mips=False))
    put("FuzzTarga", "rgba_4x3.tga", targa(4, 3))
    put("FuzzPng", "rgba_5x4.png", png(5, 4))
    put("FuzzPng", "claims_16000.png", png(5, 4, (16000, 16000)))
    put("FuzzPng", "empty_data_chunk.png", png(1, 1)[:33] + struct.pack(">I", 0) + b"IDAT" +
        struct.pack(">I", zlib.crc32(b"IDAT")) + png(1, 1)[33:])
    put("FuzzIcon", "game_icon.ico", (ROOT / "Source/Game/content/Game_Icon.ico").read_bytes())
    small = png(4, 4)
    put("FuzzIcon", "repeated_entries.ico", icon([small] * 64))
    put("FuzzIcon", "claims_2048.ico", icon([png(4, 4, (2048, 2048)), small]))
    # A data chunk's header in the last bytes, without the end chunk, claiming two gigabytes.
    cut = small[:-12] + struct.pack(">I", 0x7FFFFFFF) + b"IDAT" + b"\1\2\3"
    put("FuzzIcon", "cut_data_chunk.ico", icon([cut]))
    put("FuzzPng", "cut_data_chunk.png", cut)
    # A JPEG whose Huffman table segment is cut short: its code counts run on past the end.
    put("FuzzPng", "jpeg_cut_huffman_table.jpg", bytes([0xFF, 0xD8, 0xFF, 0xC4, 0x89, 0, 0, 0, 0xFF, 3, 0, 0, 0]))
    put("FuzzPng", "jpeg_fill_before_start.jpg", bytes([0xFF] * 10 + [0xD8, 0xFF, 0xC4, 0x89, 0, 0, 0, 0xFF, 3]))


def seeds_json():
    put("FuzzSettings", "game.json", (ROOT / "Source/Game/content/settings/Game.json").read_bytes())
    put("FuzzSettings", "nested.json", '{"window_settings": {"title": "T"}, "x": ' + "[" * 200 + "]" * 200 + "}")
    obj = {"name": "Crate", "path": "models/crate.fbx", "object-definition": "Crate",
           "translation": [1, 2, 3], "rotation": [0, 90, 0], "scale": [1, 1, 1],
           "properties": [{"name": "Hp", "type": "Int", "value": 3},
                          {"name": "Speed", "type": "Float", "value": 1.5},
                          {"name": "Tint", "type": "Color", "value": [1, 0.5, 0.25, 1]},
                          {"name": "Target", "type": "StringId", "value": "door"},
                          {"name": "On", "type": "Bool", "value": True}]}
    put("FuzzLevelObject", "object.json", json.dumps(obj))
    matrix = dict(obj, transform=[1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1])
    put("FuzzLevelObject", "matrix.json", json.dumps(matrix))
    put("FuzzLevelObject", "long_text.json", json.dumps(dict(obj, path="p" * 1100)))
    put("FuzzLevelObject", "nested.json", json.dumps(obj)[:-1] + ', "extra": ' + "[" * 200 + "]" * 200 + "}")
    entry = {"uuid": "00000000-0000-0000-0000-000000000001", "name": "Crate", "path": "models/crate.fbx",
             "object-definition": "Crate", "translation": [1, 2, 3], "rotation": [0, 90, 0],
             "scale": [1, 1, 1], "properties": obj["properties"]}
    cache = {"version": 1, "source-scene": "levels/L_Fuzz.vks", "source-vks-write-time": 0,
             "leveldata-file-count": 1, "leveldata-total-bytes": 100, "newest-leveldata-write-time": 0,
             "objects": [entry, dict(entry, uuid="00000000-0000-0000-0000-000000000002", path="q" * 1100)]}
    put("FuzzPackedCache", "cache.json", json.dumps(cache))
    definition = {"parent-object-definition": "Base",
                  "properties": [{"name": "Hp", "type": "Int", "value": 3, "group": "Stats",
                                  "description": "Hit points", "is-dynamic": False, "is-per-instance": True},
                                 {"name": "Tint", "type": "Color", "value": [1, 1, 1, 1],
                                  "is-dynamic": True, "is-per-instance": False}]}
    put("FuzzDefinitions", "definition.vko", json.dumps(definition))
    put("FuzzDefinitions", "long_text.vko", json.dumps(dict(definition, **{"parent-object-definition": "x" * 1500})))


def seeds_fbx():
    fixtures = ROOT / "Tests/External/QELFBXImporter/fixtures"
    for name in ("cube.fbx", "skeleton_only.fbx", "metres.fbx"):
        for target in ("FuzzFbxRecords", "FuzzFbxImport"):
            put(target, name, (fixtures / name).read_bytes())
    text = (fixtures / "skinned_text.fbx").read_bytes()
    put("FuzzFbxRecords", "skinned_text.fbx", text)
    # One closing brace damaged: our records read, the geometry reader gives up (and leaks).
    marker = b"\t\t\ta: 24836\n\t\t}"
    at = text.index(marker) + len(marker) - 1
    put("FuzzFbxImport", "damaged_text.fbx", text[:at] + b"\xb8" + text[at + 1:])


def main():
    if CORPUS.exists():
        shutil.rmtree(CORPUS)
    seeds_images()
    seeds_json()
    seeds_fbx()
    total = sum(f.stat().st_size for f in CORPUS.rglob("*") if f.is_file())
    print(f"seed corpus: {sum(1 for f in CORPUS.rglob('*') if f.is_file())} files, {total} bytes")


if __name__ == "__main__":
    os.umask(0o022)
    main()
