"""Composes preview PNGs of the menus at 1920 x 1080 from UISettings.json and the made pictures, and
contact sheets of the effect and sprite sheets, for looking at the art without the game.
Not part of the build. Usage: preview.py <asset root the art was made into> <output folder>
"""
import json
import os
import struct
import sys

import numpy as np
from PIL import Image

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
SETTINGS = os.path.join(HERE, "..", "..", "settings", "UISettings.json")
W, H = 1920, 1080


def read_dds(path):
    """The top level of one of our RGBA8 DDS files as an RGBA PIL image."""
    with open(path, "rb") as stream:
        data = stream.read()
    height, width = struct.unpack_from("<II", data, 12)
    pixels = np.frombuffer(data, np.uint8, width * height * 4, 4 + 124 + 20)
    return Image.fromarray(pixels.reshape(height, width, 4), "RGBA")


class Screen:
    def __init__(self, root):
        self.root = root
        self.image = Image.new("RGBA", (W, H), (0, 0, 0, 255))

    def sprite(self, name, cx, cy, w, h, pivot=(0.5, 0.5), folder="sprites"):
        picture = read_dds(os.path.join(self.root, folder, name)).resize((max(1, int(w)), max(1, int(h))),
                                                                           Image.LANCZOS)
        # Layout y counts up from the bottom; the pivot is measured from the bottom-left too.
        left = int(round(cx - w * pivot[0]))
        top = int(round(H - (cy + h * (1 - pivot[1]))))
        self.image.alpha_composite(picture, (left, top)) if left >= 0 and top >= 0 else self._paste(picture, left, top)

    def _paste(self, picture, left, top):
        layer = Image.new("RGBA", (W, H))
        layer.paste(picture, (left, top))
        self.image = Image.alpha_composite(self.image, layer)

    def xy(self, entry):
        return entry["x"], entry["y"]


def title_screen(root, ui, screen=None):
    s = screen or Screen(root)
    m = ui["MainMenuSettings"]
    s.sprite(m["BackgroundSprite"], W / 2, H / 2, W, H)
    t = m["Title"]
    s.sprite(t["Sprite"], t["Position"]["x"] * W, t["Position"]["y"] * H, t["Size"]["x"] * W, t["Size"]["y"] * H)
    if screen is None:
        for key in ("ButtonStart", "ButtonSettings", "ButtonCredits", "ButtonQuit"):
            b = m[key]
            s.sprite(b["Sprite"], b["Position"]["x"] * W, b["Position"]["y"] * H, b["Size"]["x"] * W, b["Size"]["y"] * H)
        highlight(s, ui, m["ButtonStart"]["Position"])
    return s


def highlight(s, ui, position, scale=1.0):
    hv = ui["SelectHover"]
    s.sprite(hv["Sprite"], position["x"] * W, position["y"] * H, hv["Size"]["x"] * W * scale,
             hv["Size"]["y"] * H * scale, (hv["Pivot"]["x"], hv["Pivot"]["y"]))


def level_select(root, ui):
    s = Screen(root)
    l = ui["LevelSelectSettings"]
    s.sprite(l["BackgroundSprite"], W / 2, H / 2, W, H)
    for key, b in l.items():
        if key.startswith("ButtonLevel_"):
            s.sprite(b["Sprite"], b["Position"]["x"] * W, b["Position"]["y"] * H, b["Size"]["x"] * W, b["Size"]["y"] * H)
    b = l["ButtonLevel_2_1"]
    ind = l["CurrentLevelIndicator"]
    ax = b["Position"]["x"] * W - 0.5 * b["Size"]["x"] * W + ind["Offset"]["x"] * W
    ay = b["Position"]["y"] * H + ind["Offset"]["y"] * H
    s.sprite(ind["Sprite"], ax, ay, ind["Size"]["x"] * H, ind["Size"]["y"] * H, (ind["Pivot"]["x"], ind["Pivot"]["y"]))
    highlight(s, ui, l["ButtonLevel_1_2"]["Position"])
    return s


def settings(root, ui):
    s = title_screen(root, ui, Screen(root))
    m = ui["SettingsMenu"]
    c = m["SettingContainer"]
    s.sprite(c["Sprite"], c["Position"]["x"] * W, c["Position"]["y"] * H, c["Size"]["x"] * W, c["Size"]["y"] * H)
    for key in ("BackButton", "BackToTitleButton", "QuitButton"):
        b = m[key]
        s.sprite(b["Sprite"], b["Position"]["x"] * W, b["Position"]["y"] * H, b["Size"]["x"] * W, b["Size"]["y"] * H)
    v = m["VolumeSlider"]
    tx, ty = v["Position"]["x"] * W, (v["Position"]["y"] - 0.05) * H
    tw = v["SliderSize"]["x"] * W
    s.sprite(v["SliderSprite"], tx, ty, tw, v["SliderSize"]["y"] * H)
    s.sprite(v["KnopSprite"], tx + tw * 0.25, ty, v["KnopSize"]["x"] * H, v["KnopSize"]["y"] * H)
    for key, checked in (("MuteCheckBox", False), ("FullScreenCheckBox", True)):
        b = m[key]
        x, y = b["Position"]["x"] * W, (b["Position"]["y"] - 0.05) * H
        s.sprite(b["BoxSprite"], x, y, b["Size"]["x"] * H, b["Size"]["y"] * H)
        if checked:
            s.sprite(b["CheckSprite"], x, y, b["Size"]["x"] * H, b["Size"]["y"] * H)
    highlight(s, ui, m["BackButton"]["Position"])
    return s


def results(root, ui, which):
    s = Screen(root)
    r = ui["LevelEndResults"]
    s.sprite(r[which], W / 2, H / 2, W, H)
    for key in ("NextLevelButton", "RetryButton", "ReturnToMenuButton"):
        b = r[key]
        s.sprite(b["Sprite"], b["Position"]["x"] * W, b["Position"]["y"] * H, b["Size"]["x"] * W, b["Size"]["y"] * H)
    highlight(s, ui, r["RetryButton"]["Position"])
    return s


def hud(root, ui):
    s = Screen(root)
    s.image.paste((70, 90, 120, 255), (0, 0, W, H))
    for key in ("CoinSettings", "HealthSettings"):
        c = ui[key]
        s.sprite(c["Sprite"], c["Position"]["x"] * W, c["Position"]["y"] * H, c["Size"]["x"] * H, c["Size"]["y"] * H)
    k = ui["KeySettings"]
    iw = k["Size"]["x"] * H
    for i, name in enumerate((k["KeySprite"], k["KeyEmptySprite"])):
        s.sprite(name, k["Position"]["x"] * W + i * (k["Spacing"] * W + iw), k["Position"]["y"] * H, iw, k["Size"]["y"] * H)
    return s


def credits(root, ui):
    s = Screen(root)
    c = ui["CreaditSettings"]
    s.sprite(c["BackgroundSprite"], W / 2, H / 2, W, H)
    l = c["Logo"]
    s.sprite(l["Sprite"], l["Position"]["x"] * W, l["Position"]["y"] * H, l["Size"]["x"] * W, l["Size"]["y"] * H)
    b = c["BackButton"]
    s.sprite(b["Sprite"], b["Position"]["x"] * W, b["Position"]["y"] * H, b["Size"]["x"] * W, b["Size"]["y"] * H)
    return s


def contact_sheet(root, folder, out):
    pictures = sorted(n for n in os.listdir(os.path.join(root, folder)) if n.endswith(".dds"))
    tiles = []
    for name in pictures:
        sheet = read_dds(os.path.join(root, folder, name))
        scale = min(2.0, 900 / sheet.width)
        sheet = sheet.resize((int(sheet.width * scale), int(sheet.height * scale)), Image.LANCZOS)
        tile = Image.new("RGBA", (920, sheet.height + 10), (60, 70, 95, 255))
        tile.alpha_composite(sheet, (10, 5))
        tiles.append(tile)
    height = sum(t.height for t in tiles)
    board = Image.new("RGBA", (920, height), (0, 0, 0, 255))
    y = 0
    for tile in tiles:
        board.paste(tile, (0, y))
        y += tile.height
    board.save(out)


def main():
    root, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    with open(SETTINGS) as stream:
        ui = json.load(stream)
    title_screen(root, ui).image.save(os.path.join(out, "title.png"))
    level_select(root, ui).image.save(os.path.join(out, "level_select.png"))
    settings(root, ui).image.save(os.path.join(out, "settings.png"))
    credits(root, ui).image.save(os.path.join(out, "credits.png"))
    hud(root, ui).image.save(os.path.join(out, "hud.png"))
    for which in ("BadSprite", "OkSprite", "GoodSprite"):
        results(root, ui, which).image.save(os.path.join(out, "results_%s.png" % which[:-6].lower()))
    s = Screen(root)
    s.sprite("qel-1920x1080-splash-logo.dds", W / 2, H / 2, W, H, folder="UI")
    s.image.save(os.path.join(out, "splash1.png"))
    s = Screen(root)
    s.sprite("S_Logo_T.dds", W / 2, H / 2, W, H, folder="UI")
    s.image.save(os.path.join(out, "splash2.png"))
    contact_sheet(root, "Animations/VFX", os.path.join(out, "effects.png"))
    contact_sheet(root, "Animations", os.path.join(out, "sprites.png"))


if __name__ == "__main__":
    main()
