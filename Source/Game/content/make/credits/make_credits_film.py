"""Makes the credits film: the credit lines rolling up over a slowly drifting night-purple sky with a
faint golden pattern, and a calm synthesised pad under it. Writes an H.264 + AAC MP4.

Usage: make_credits_film.py OUT.mp4
"""
import math
import os
import shutil
import subprocess
import sys
import tempfile
import wave

import numpy as np

WIDTH, HEIGHT, FPS = 960, 540, 25
SECONDS = 32.0
SAMPLE_RATE = 44100
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
GOLD = "0xF2C75C"
WHITE = "0xF4EEFF"

# (kind, text): kinds pick the size, colour and the space above the line.
CREDITS = [
    ("title", "Thank you for playing!"),
    ("gap", ""),
    ("heading", "Made by"),
    ("name", "the Qel team"),
    ("gap", ""),
    ("heading", "Built with"),
    ("name", "Blender"),
    ("name", "FFmpeg"),
    ("name", "SDL2"),
    ("name", "Mesa"),
    ("name", "numpy"),
    ("name", "sox"),
    ("gap", ""),
    ("heading", "Fonts"),
    ("name", "DejaVu"),
    ("name", "Liberation"),
    ("gap", ""),
    ("heading", "Music and sounds"),
    ("name", "made by script"),
    ("gap", ""),
    ("heading", "Special thanks"),
    ("name", "to you, the player"),
    ("gap", ""),
    ("gap", ""),
    ("title", "The End"),
]
STYLE = {
    "title": (FONT_BOLD, 46, GOLD, 70),
    "heading": (FONT_BOLD, 30, GOLD, 56),
    "name": (FONT, 26, WHITE, 40),
    "gap": (FONT, 26, WHITE, 36),
}


def escape_text(text):
    """Text for a drawtext option inside a filter script."""
    return text.replace("\\", "\\\\\\\\").replace("'", "\u2019").replace(":", "\\:").replace(",", "\\,")


def text_filters():
    """One drawtext per line; the block starts below the frame and has just left the top as the film
    ends, except the last line, which stops in the middle."""
    offsets = []
    y = 0
    for kind, _ in CREDITS:
        y += STYLE[kind][3]
        offsets.append(y)
    total = offsets[-1]
    # The last line rises to the centre by SECONDS - 4 and stays there.
    travel = HEIGHT + total - HEIGHT * 0.5
    speed = travel / (SECONDS - 4.0)
    filters = []
    for (kind, text), offset in zip(CREDITS, offsets):
        if kind == "gap":
            continue
        font, size, colour, _ = STYLE[kind]
        y_expr = f"{HEIGHT + offset:.1f}-min(t\\,{SECONDS - 4.0:.2f})*{speed:.3f}"
        # Drawn only while on screen, which keeps the step quick.
        shown_from = max(0.0, offset / speed - 0.5)
        shown_to = (HEIGHT + offset + size * 2) / speed
        filters.append(
            f"drawtext=fontfile={font}:text='{escape_text(text)}':fontsize={size}:fontcolor={colour}"
            f":shadowcolor=0x140822:shadowx=2:shadowy=2:x=(w-text_w)/2:y={y_expr}"
            f":alpha='min(1\\,max(0\\,t-0.5))':enable='between(t\\,{shown_from:.2f}\\,{shown_to:.2f})'")
    return filters


def background_filter():
    """A slow purple gradient, a faint golden cellular pattern blended over it, and a vignette."""
    # Drawn small and scaled up: a soft gradient loses nothing, and the step stays quick.
    sky = (f"gradients=s={WIDTH // 4}x{HEIGHT // 4}:r={FPS}:d={SECONDS}:speed=0.004:nb_colors=3"
           f":c0=0x140826:c1=0x3A1A5E:c2=0x1C1040:x0=0:y0=0:x1={WIDTH // 4}:y1={HEIGHT // 4}:seed=7,"
           f"scale={WIDTH}x{HEIGHT}:flags=bicubic")
    pattern = (f"cellauto=s={WIDTH // 4}x{HEIGHT // 4}:rule=90:r={FPS}:random_fill_ratio=0.5:seed=11,"
               f"format=rgb24,boxblur=1:1,scale={WIDTH}x{HEIGHT}:flags=bicubic,"
               f"colorchannelmixer=rr=0.95:rg=0:rb=0:gr=0.78:gg=0:gb=0:br=0.36:bg=0:bb=0,"
               f"trim=duration={SECONDS}")
    return (f"{sky},format=rgb24[sky];{pattern}[gold];"
            f"[sky][gold]blend=all_mode=screen:all_opacity=0.3,vignette=PI/4.5")


def pad_music():
    """A calm four-chord pad with a soft bell on each chord, faded in and out; stereo int16."""
    t = np.arange(int(SAMPLE_RATE * SECONDS)) / SAMPLE_RATE
    # A minor-ish progression, four seconds a chord, in semitones from A3.
    chords = [(0, 3, 7, 12), (-4, 3, 8, 12), (-2, 2, 5, 10), (-5, 2, 7, 11)]
    chord_seconds = 4.0
    left = np.zeros_like(t)
    right = np.zeros_like(t)
    for start_index in range(int(math.ceil(SECONDS / chord_seconds))):
        start = start_index * chord_seconds
        notes = chords[start_index % len(chords)]
        local = t - start
        # Each chord swells in and overlaps the next by a second.
        span = chord_seconds + 1.0
        envelope = np.where((local >= 0) & (local < span), np.sin(np.pi * np.clip(local / span, 0, 1)) ** 2, 0)
        for voice, semitone in enumerate(notes):
            frequency = 220.0 * 2 ** (semitone / 12)
            detune = 1.0 + 0.002 * (voice - 1.5)
            tone = (np.sin(2 * np.pi * frequency * detune * t) + 0.3 * np.sin(4 * np.pi * frequency * t)
                    + 0.12 * np.sin(6 * np.pi * frequency * detune * t))
            pan = 0.3 + 0.4 * voice / (len(notes) - 1)
            left += tone * envelope * (1 - pan)
            right += tone * envelope * pan
        # A bell two octaves up on the chord's root, decaying.
        bell_frequency = 220.0 * 2 ** ((notes[-1] + 12) / 12)
        bell = np.where(local >= 0, np.sin(2 * np.pi * bell_frequency * t) * np.exp(-np.clip(local, 0, None) * 1.6), 0)
        left += 0.5 * bell
        right += 0.4 * bell
    # A slow tremolo and the film's fades.
    tremolo = 0.85 + 0.15 * np.sin(2 * np.pi * 0.25 * t)
    fade = np.clip(t / 2.0, 0, 1) * np.clip((SECONDS - t) / 3.0, 0, 1)
    stereo = np.stack([left, right], axis=1) * (tremolo * fade)[:, None]
    stereo *= 0.5 / max(1e-9, np.max(np.abs(stereo)))
    return (stereo * 32767).astype(np.int16)


def write_wave(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(SAMPLE_RATE)
        out.writeframes(samples.tobytes())


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out_path = sys.argv[1]
    os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        music_path = os.path.join(work, "music.wav")
        write_wave(music_path, pad_music())
        script_path = os.path.join(work, "filters.txt")
        with open(script_path, "w", encoding="utf-8") as script:
            script.write(background_filter() + ",\n" + ",\n".join(text_filters())
                         + f",fade=in:st=0:d=1.5,fade=out:st={SECONDS - 2.0}:d=2,format=yuv420p[v]")
        temp_out = os.path.join(work, "Credits.mp4")
        command = ["ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
                   "-i", music_path, "-filter_complex_script", script_path,
                   "-map", "[v]", "-map", "0:a",
                   "-c:v", "libx264", "-preset", "faster", "-crf", "26", "-r", str(FPS),
                   "-c:a", "aac", "-b:a", "96k", "-t", str(SECONDS),
                   "-movflags", "+faststart", temp_out]
        subprocess.run(command, check=True)
        # Copied whole at the end, so an interrupted build never leaves half a film behind.
        shutil.copyfile(temp_out, out_path + ".part")
        os.replace(out_path + ".part", out_path)
    print(f"[credits] wrote {out_path} ({os.path.getsize(out_path) // 1024} KiB)")


if __name__ == "__main__":
    main()
