"""The game's music: the menu theme, a theme per world, the boss fight, the bonus level and the end,
and the short pieces for a cleared level, a completed region and the end scene. Each is written as
chords and melody lines and rendered by the sequencer in music.py; every piece has a key of its own.
"""
from music import Song, arpeggio_track, bass_track, chord, chord_track, drum_kit, line


def _melody(song, text, start_bar, instrument, **kwargs):
    notes, _ = line(text, start_bar * song.beats, song.beats, kwargs.pop("velocity", 0.8))
    song.play(instrument, notes, **kwargs)


def _chords(song, names, start_bar, instrument, octave=3, per_bar=1, **kwargs):
    span = song.beats / per_bar
    song.play(instrument, chord_track(names, span, octave, start_bar * song.beats, kwargs.pop("vel", 0.5)),
              **kwargs)


def _bass(song, names, start_bar, rhythm, per_bar=1, **kwargs):
    span = song.beats / per_bar
    song.play("bass", bass_track(names, span, rhythm, 2, start_bar * song.beats), **kwargs)


def _fills(song, kit, bars, pattern, gain=0.5):
    """A drum fill over the last bar of each section, to lead into the next."""
    for bar in bars:
        song.drums(kit, pattern, bar, 1, gain=gain)


def _arp(song, names, start_bar, instrument, step, order, octave=4, **kwargs):
    notes = arpeggio_track(names, song.beats, step, order, octave, start_bar * song.beats, kwargs.pop("vel", 0.5))
    song.play(instrument, notes, **kwargs)


# --- menu: F major, calm and inviting; loops every 57.66 s -----------------------------------------

MENU_A = ["F", "C", "Dm", "Bb", "F", "C", "Bb", "C"]
MENU_B = ["Dm", "Bb", "F", "C", "Gm", "Bb", "C", "C"]
MENU_HOOK = ("A4:1 C5:.5 F5:1.5 E5:.5 D5:.5 | C5:1.5 G4:.5 E4:1 G4:1 | A4:1 D5:.5 F5:1 E5:.5 D5:1 | "
             "D5:3 r:1 | A4:1 C5:.5 F5:1.5 G5:.5 A5:.5 | G5:1.5 E5:.5 C5:1 E5:1 | "
             "F5:1 D5:.5 Bb4:1 C5:.5 D5:1 | C5:3 r:1 |")
MENU_BRIDGE = ("F5:2 E5:1 D5:1 | D5:2 C5:1 Bb4:1 | A4:1.5 C5:.5 F5:2 | E5:2 G5:2 | "
               "Bb5:1.5 A5:.5 G5:1 D5:1 | F5:1.5 D5:.5 Bb4:2 | C5:1 E5:1 G5:1 Bb5:1 | G5:3 r:1 |")


def menu_music():
    song = Song(24, seconds=57.66, seed=11)
    kit = drum_kit(song.rng, 0.8)
    form = MENU_A + MENU_B + MENU_A
    _arp(song, form, 0, "pluck", 0.5, [0, 1, 2, 3, 2, 1, 0, 2], 4, position=-0.3, gain=0.35, send=0.3)
    _bass(song, form, 0, [(0, 1.5, 0), (1.5, 0.5, 7), (2, 2, 12)], gain=0.55, send=0.05)
    _chords(song, form, 0, "pad", 3, position=0.2, gain=0.12, send=0.4, vel=0.6)
    _melody(song, MENU_HOOK, 0, "flute", position=0.1, gain=0.4, send=0.35)
    _melody(song, MENU_BRIDGE, 8, "flute", position=0.1, gain=0.4, send=0.35)
    _melody(song, MENU_HOOK, 16, "epiano", position=0.1, gain=0.3, send=0.35)
    _melody(song, MENU_HOOK, 16, "flute", position=-0.1, gain=0.25, send=0.35, transpose=12)
    light = {"k": "x.......x.......", "z": "g.x.g.x.g.x.g.x.", "c": "....x.......x..."}
    song.drums(kit, {"z": "g.x.g.x.g.x.g.x."}, 0, 8, gain=0.5)
    song.drums(kit, light, 8, 16, gain=0.5)
    return song.render(2.0)


# --- world 1: G major, sunny and bouncy -------------------------------------------------------------

W1_A = ["G", "D", "Em", "C", "G", "D", "C", "D"]
W1_B = ["Em", "C", "G", "D", "Em", "C", "Am", "D"]
W1_C = ["C", "D", "C", "D"]
W1_HOOK = ("D5:.5 G5:.5 B5:1 A5:.5 G5:.5 D5:1 | F#5:.5 A5:.5 D6:1 C6:.5 B5:.5 A5:1 | "
           "G5:.5 B5:.5 E6:1 D6:.5 B5:.5 G5:1 | E5:1.5 G5:.5 E5:1 r:1 | "
           "D5:.5 G5:.5 B5:1 A5:.5 G5:.5 D5:1 | F#5:.5 A5:.5 D6:1 E6:.5 D6:.5 A5:1 | "
           "G5:.5 E5:.5 C5:1 E5:.5 G5:.5 C6:1 | B5:1 A5:1 F#5:1 D5:1 |")
W1_VERSE = ("B4:1 E5:1 G5:1.5 F#5:.5 | E5:1 C5:1 G4:2 | B4:1 D5:1 G5:1.5 A5:.5 | F#5:3 r:1 | "
            "G5:1 B5:1 E6:1.5 D6:.5 | C6:1 G5:1 E5:2 | A5:1 C6:1 E6:1 C6:1 | D6:2 C6:1 A5:1 |")
W1_TAG = "E5:1 G5:1 C6:2 | D6:1 A5:1 F#5:2 | E5:.5 G5:.5 C6:1 B5:.5 C6:.5 E6:1 | D6:2 r:2 |"


def world1_theme():
    song = Song(28, bpm=116, seed=21)
    kit = drum_kit(song.rng)
    form = W1_A + W1_B + W1_A + W1_C
    _arp(song, form, 0, "marimba", 0.5, [0, 1, 2, 1], 4, position=-0.35, gain=0.35, send=0.15)
    _bass(song, form, 0, [(0, 1, 0), (1, .5, 12), (1.5, .5, 7), (2, 1, 0), (3, .5, 7), (3.5, .5, 12)],
          gain=0.5, send=0.03)
    _chords(song, form, 0, "pad", 3, position=0.3, gain=0.08, send=0.3)
    _melody(song, W1_HOOK, 0, "lead", position=0.1, gain=0.3, send=0.2)
    _melody(song, W1_VERSE, 8, "pluck", position=0.15, gain=0.5, send=0.25)
    _melody(song, W1_HOOK, 16, "lead", position=0.1, gain=0.3, send=0.2)
    _melody(song, W1_HOOK, 16, "marimba", position=-0.2, gain=0.25, send=0.2, transpose=12)
    _melody(song, W1_TAG, 24, "lead", position=0.1, gain=0.3, send=0.2)
    beat = {"k": "x.....x.x.......", "c": "....x.......x...", "h": "x.x.x.x.x.x.x.xg", "z": "gxgxgxgxgxgxgxgx"}
    song.drums(kit, beat, 0, 28, gain=0.55)
    song.drums(kit, {"x": "x..............."}, 16, 1, gain=0.5)
    _fills(song, kit, (7, 15, 23, 27), {"s": "..........g.xgXX", "t": "............x..."})
    return song.render(1.4)


# --- world 2: E dorian, mysterious groove -------------------------------------------------------------

W2_A = ["Em7", "A", "Em7", "A", "G", "D", "Bm", "A"]
W2_B = ["G", "D", "A", "Em", "G", "D", "A", "A"]
W2_HOOK = ("E5:.75 G5:.75 B5:.5 A5:1 G5:.5 F#5:.5 | E5:1.5 C#5:.5 A4:2 | "
           "E5:.75 G5:.75 B5:.5 D6:1 B5:.5 A5:.5 | C#6:2 A5:1 E5:1 | "
           "B4:.75 D5:.75 G5:.5 F#5:1 D5:1 | A5:1.5 F#5:.5 D5:2 | D5:.75 F#5:.75 B5:.5 A5:1 F#5:1 | "
           "E5:3 r:1 |")
W2_VERSE = ("B5:1.5 A5:.5 G5:1 D5:1 | F#5:1.5 E5:.5 D5:1 A4:1 | C#5:1 E5:1 A5:1 C#6:1 | B5:3 r:1 | "
            "D6:1.5 B5:.5 G5:1 B5:1 | A5:1.5 F#5:.5 D5:1 F#5:1 | E5:1 A5:1 C#6:1 E6:1 | "
            "E6:2 C#6:1 B5:1 |")


def world2_theme():
    song = Song(24, bpm=96, seed=31)
    kit = drum_kit(song.rng)
    form = W2_A + W2_B + W2_A
    comp = []
    for bar, name in enumerate(form):
        for offset, length in ((0, 0.75), (1.5, 0.5), (2.5, 1.0)):
            comp += [(bar * 4 + offset, length, m, 0.45) for m in chord(name, 4)[1]]
    song.play("epiano", comp, position=-0.25, gain=0.18, send=0.3)
    _chords(song, form, 0, "strings", 3, position=0.3, gain=0.07, send=0.4)
    _bass(song, form, 0, [(0, .75, 0), (.75, .75, 0), (1.5, .5, 12), (2.5, .5, 7), (3, .5, 10), (3.5, .5, 12)],
          gain=0.5, send=0.03)
    _melody(song, W2_HOOK, 0, "flute", position=0.1, gain=0.45, send=0.4)
    _melody(song, W2_VERSE, 8, "lead", position=0.15, gain=0.22, send=0.35)
    _melody(song, W2_HOOK, 16, "flute", position=0.1, gain=0.45, send=0.4)
    _melody(song, W2_HOOK, 16, "bell_tone", position=-0.3, gain=0.12, send=0.4, transpose=12)
    groove = {"k": "x......x..x.....", "s": "........x.......", "h": "x.xgx.xgx.xgx.xg", "t": "..............x."}
    song.drums(kit, groove, 0, 24, gain=0.55, swing=0.2)
    _fills(song, kit, (7, 15, 23), {"t": "..........x.x.xX"})
    return song.render(2.2, 4500)


# --- world 3: C# minor, dark and tense over the blood sea -----------------------------------------

W3_A = ["C#m", "A", "F#m", "G#", "C#m", "A", "D", "G#"]
W3_B = ["A", "B", "E", "C#m", "F#m", "G#", "C#m", "G#"]
W3_C = ["C#m", "A", "F#m", "G#"]
W3_HOOK = ("G#4:1 C#5:1 E5:1 D#5:.5 C#5:.5 | C#5:1.5 B4:.5 A4:2 | A4:1 C#5:1 F#5:1 E5:.5 D#5:.5 | "
           "D#5:1 B#4:1 G#4:2 | G#4:1 C#5:1 E5:1 G#5:1 | A5:1.5 G#5:.5 E5:2 | F#5:1 D5:1 A4:1 D5:1 | "
           "B#4:2 D#5:1 G#5:1 |")
W3_VERSE = ("C#5:1 E5:1 A5:2 | D#5:1 F#5:1 B5:2 | G#5:1.5 F#5:.5 E5:1 B4:1 | C#5:3 r:1 | "
            "F#5:1 A5:1 C#6:1.5 B5:.5 | B#5:1 G#5:1 D#5:2 | E5:1 G#5:1 C#6:1 E6:1 | D#6:2 B#5:1 G#5:1 |")


def world3_theme():
    song = Song(20, bpm=88, seed=41)
    kit = drum_kit(song.rng, 1.1)
    form = W3_A + W3_B + W3_C
    _arp(song, form, 0, "pluck", 0.25, [0, 2, 1, 2], 3, position=-0.3, gain=0.3, send=0.25)
    _chords(song, form, 0, "strings", 3, position=0.3, gain=0.09, send=0.45)
    _bass(song, form, 0, [(0, 2.5, 0), (2.5, .5, 0), (3, 1, 7)], gain=0.55, send=0.05)
    _melody(song, W3_HOOK, 0, "lead", position=0.1, gain=0.25, send=0.4)
    _melody(song, W3_VERSE, 8, "brass", position=0.1, gain=0.22, send=0.35)
    _melody(song, W3_HOOK[:W3_HOOK.index("G#4:1 C#5:1 E5:1 G#5:1")], 16, "bell_tone", position=-0.2,
            gain=0.18, send=0.5)
    beat = {"k": "x.........x.....", "t": "......x.......xx", "s": "........x.......", "h": "..x...x...x...x."}
    song.drums(kit, beat, 0, 20, gain=0.55)
    song.drums(kit, {"T": "x.......x......."}, 16, 4, gain=0.5)
    _fills(song, kit, (7, 15), {"T": "........x...x.xX"})
    return song.render(2.6, 3500)


# --- boss fight: F minor, fast and driving -----------------------------------------------------------

BOSS_A = ["Fm", "Db", "Eb", "C", "Fm", "Db", "Bbm", "C"]
BOSS_B = ["Db", "Eb", "Fm", "Fm", "Db", "Eb", "C", "C"]
BOSS_D = ["Fm", "Fm", "Db", "C"]
BOSS_HOOK = ("F5:.5 F5:.5 C5:.5 F5:.5 Ab5:1 G5:.5 F5:.5 | Ab5:1.5 F5:.5 Db5:1 F5:1 | "
             "G5:.5 G5:.5 Eb5:.5 G5:.5 Bb5:1 Ab5:.5 G5:.5 | E5:2 G5:1 C6:1 | "
             "F5:.5 F5:.5 C5:.5 F5:.5 Ab5:1 Bb5:.5 C6:.5 | Db6:1.5 C6:.5 Ab5:1 F5:1 | "
             "Bb5:1 Db6:1 F5:1 Bb5:1 | C6:1 Bb5:.5 G5:.5 E5:2 |")
BOSS_VERSE = ("F5:2 Ab5:2 | G5:2 Bb5:2 | C6:1.5 Ab5:.5 F5:2 | C6:.5 Db6:.5 C6:.5 Ab5:.5 F5:2 | "
              "Ab5:2 Db6:2 | Bb5:2 Eb6:2 | E6:2 C6:2 | G5:1 Bb5:1 C6:1 E6:1 |")


def boss_theme():
    song = Song(36, bpm=148, seed=51)
    kit = drum_kit(song.rng, 1.2)
    form = BOSS_A + BOSS_B + BOSS_A + BOSS_B + BOSS_D
    eighths = [(i * 0.5, 0.45, 12 if i % 4 == 3 else 0) for i in range(8)]
    _bass(song, form, 0, eighths, gain=0.5, send=0.02)
    _chords(song, form, 0, "brass", 3, position=-0.3, gain=0.07, send=0.3, vel=0.55)
    _arp(song, form, 0, "pluck", 0.25, [0, 1, 2, 1], 4, position=0.35, gain=0.2, send=0.2)
    for bar, text in ((0, BOSS_HOOK), (8, BOSS_VERSE), (16, BOSS_HOOK), (24, BOSS_VERSE)):
        _melody(song, text, bar, "brass", position=0.05, gain=0.28, send=0.25)
    _melody(song, BOSS_HOOK, 16, "lead", position=-0.1, gain=0.12, send=0.25, transpose=-12)
    drive = {"k": "x...x...x...x...", "s": "....x.......x...", "h": "xgxgxgxgxgxgxgxg", "o": "..x...x...x...x."}
    song.drums(kit, drive, 0, 32, gain=0.5)
    for bar in (0, 8, 16, 24):
        song.drums(kit, {"x": "x..............."}, bar, 1, gain=0.6)
    song.drums(kit, {"T": "x.......x...x.x.", "s": "..............XX"}, 32, 4, gain=0.55)
    _fills(song, kit, (7, 15, 23, 31), {"s": "........gxgxXxXX", "t": "............X.X."})
    return song.render(1.4, 4000)


# --- bonus level: B flat major, playful ------------------------------------------------------------

BONUS_A = ["Bb", "Gm", "Eb", "F", "Bb", "Gm", "Cm", "F"]
BONUS_B = ["Eb", "F", "Dm", "Gm", "Cm", "F7", "Bb", "F"]
BONUS_HOOK = ("F5:.5 D5:.5 F5:.5 Bb5:.5 r:.5 Bb5:.5 A5:.5 Bb5:.5 | G5:1 D5:.5 G5:.5 Bb5:1 A5:1 | "
              "G5:.5 Eb5:.5 G5:.5 Bb5:.5 r:.5 C6:.5 Bb5:.5 G5:.5 | A5:1.5 F5:.5 C5:2 | "
              "F5:.5 D5:.5 F5:.5 Bb5:.5 r:.5 Bb5:.5 C6:.5 D6:.5 | D6:1 Bb5:.5 G5:.5 D5:2 | "
              "Eb5:.5 G5:.5 C6:1 F5:.5 A5:.5 C6:1 | A5:2 F5:1 r:1 |")
BONUS_VERSE = ("Bb5:1 G5:1 Eb5:2 | C6:1 A5:1 F5:2 | D6:1.5 A5:.5 F5:1 D5:1 | G5:3 r:1 | "
               "Eb6:1 C6:1 G5:1 Eb5:1 | F5:1 A5:1 C6:1 Eb6:1 | D6:2 Bb5:1 F5:1 | A5:1 C6:1 F6:2 |")


def bonus_music():
    song = Song(32, bpm=136, seed=61)
    kit = drum_kit(song.rng)
    form = BONUS_A + BONUS_B + BONUS_A + BONUS_B
    _bass(song, form, 0, [(0, .5, 0), (1, .5, 7), (2, .5, 12), (2.5, .5, 7), (3, .5, 0), (3.5, .5, 4)],
          gain=0.5, send=0.03)
    _arp(song, form, 0, "epiano", 1.0, [0, 1, 2, 1], 4, position=-0.3, gain=0.2, send=0.25)
    for bar, text in ((0, BONUS_HOOK), (8, BONUS_VERSE), (16, BONUS_HOOK), (24, BONUS_VERSE)):
        _melody(song, text, bar, "marimba", position=0.15, gain=0.45, send=0.2)
    _melody(song, BONUS_HOOK, 16, "bell_tone", position=-0.15, gain=0.1, send=0.3, transpose=12)
    _melody(song, BONUS_VERSE, 24, "lead", position=0.0, gain=0.15, send=0.25)
    hop = {"k": "x.....x...x.....", "c": "....x.......x...", "h": "x.xxx.xxx.xxx.xx", "z": "..g...g...g...gX"}
    song.drums(kit, hop, 0, 32, gain=0.5, swing=0.15)
    _fills(song, kit, (7, 15, 23, 31), {"c": "............x.xX", "t": "........x.x....."})
    return song.render(1.2)


# --- the end: E flat major, warm and slow ------------------------------------------------------------

END_A = ["Eb", "Bb", "Cm", "Ab", "Eb", "Bb", "Ab", "Bb"]
END_B = ["Ab", "Bb", "Gm", "Cm", "Ab", "Fm", "Bb", "Bb"]
END_C = ["Eb", "Ab", "Eb", "Bb"]
END_HOOK = ("G5:1.5 F5:.5 Eb5:1 Bb4:1 | D5:1.5 Eb5:.5 F5:2 | G5:1.5 Ab5:.5 G5:1 Eb5:1 | C5:3 r:1 | "
            "G5:1.5 F5:.5 Eb5:1 G5:1 | Bb5:2 Ab5:1 F5:1 | Eb5:1 C5:1 Ab5:1 G5:1 | F5:3 r:1 |")
END_VERSE = ("Eb6:2 C6:1 Ab5:1 | D6:2 Bb5:1 F5:1 | G5:1 Bb5:1 D6:1 C6:1 | C6:3 r:1 | "
             "C6:1.5 Bb5:.5 Ab5:1 Eb5:1 | F5:1.5 G5:.5 Ab5:1 C6:1 | Bb5:2 D6:2 | F5:4 |")


def end_music():
    song = Song(20, bpm=80, seed=71)
    kit = drum_kit(song.rng, 0.7)
    form = END_A + END_B + END_C
    _chords(song, form, 0, "strings", 3, position=0.25, gain=0.1, send=0.5)
    _arp(song, form, 0, "epiano", 0.5, [0, 1, 2, 3, 2, 1, 0, 1], 4, position=-0.3, gain=0.2, send=0.35)
    _bass(song, form, 0, [(0, 2, 0), (2, 1.5, 7), (3.5, .5, 12)], gain=0.45, send=0.05)
    _melody(song, END_HOOK, 0, "flute", position=0.1, gain=0.45, send=0.45)
    _melody(song, END_VERSE, 8, "strings", position=0.0, gain=0.25, send=0.45)
    _melody(song, END_HOOK[:END_HOOK.index("G5:1.5 F5:.5 Eb5:1 G5:1")], 16, "bell_tone", position=-0.2,
            gain=0.15, send=0.5)
    song.drums(kit, {"k": "x.......x.......", "z": "..g...g...g...g.", "T": "x..............."}, 8, 12, gain=0.45)
    return song.render(2.8, 4500)


# --- short pieces ---------------------------------------------------------------------------------


def level_cleared():
    """A quick C major fanfare with a drum roll into the last chord."""
    song = Song(3, bpm=140, loop=False, seed=81)
    kit = drum_kit(song.rng)
    text = "C5:.33 E5:.33 G5:.34 C6:1 G5:.5 C6:.5 E6:1 | F5:.5 A5:.5 C6:1 D6:.5 B5:.5 G5:1 | C6:4 |"
    _melody(song, text, 0, "brass", gain=0.4, send=0.3)
    _melody(song, text, 0, "pluck", gain=0.3, send=0.3, transpose=-12)
    _chords(song, ["C", "F", "C"], 0, "brass", 3, gain=0.12, send=0.3)
    song.play("brass", chord_track(["G"], 2, 3, 6), gain=0.12, send=0.3)
    _bass(song, ["C", "F", "C"], 0, [(0, 1, 0), (2, 1, 7)], gain=0.5)
    song.drums(kit, {"s": "gggggggggggggggX"}, 1, 1, gain=0.35)
    song.drums(kit, {"x": "x...............", "T": "x..............."}, 2, 1, gain=0.6)
    return song.render(1.5)


def completing_region():
    """A broad D major fanfare for a region done: brass over strings and timpani."""
    song = Song(5, bpm=128, loop=False, seed=91)
    kit = drum_kit(song.rng)
    text = ("A4:1 D5:1 F#5:1 A5:1 | B5:1.5 A5:.5 G5:1 B5:1 | C#6:1 B5:.5 A5:.5 E5:1 C#6:1 | "
            "D6:1 B5:1 E6:1 C#6:1 | D6:4 |")
    _melody(song, text, 0, "brass", gain=0.35, send=0.35)
    _melody(song, text, 0, "bell_tone", gain=0.1, send=0.4, transpose=12)
    _chords(song, ["D", "G", "A", "G", "D"], 0, "strings", 3, gain=0.12, send=0.45)
    _bass(song, ["D", "G", "A", "G", "D"], 0, [(0, 2, 0), (2, 2, 7)], gain=0.5)
    song.drums(kit, {"T": "x.......x......."}, 0, 4, gain=0.5)
    song.drums(kit, {"x": "x...............", "T": "X..............."}, 4, 1, gain=0.6)
    return song.render(2.0)


def the_end_scene():
    """The end scene: the end theme's tune, slow, over swelling strings and bells."""
    song = Song(6, bpm=72, loop=False, seed=101)
    text = "G5:1.5 F5:.5 Eb5:1 Bb4:1 | D5:1.5 Eb5:.5 F5:2 | G5:1.5 Ab5:.5 G5:1 Eb5:1 | C5:4 | Ab5:2 Bb5:2 | G5:4 |"
    _melody(song, text, 0, "flute", gain=0.45, send=0.5)
    _melody(song, text, 0, "bell_tone", gain=0.08, send=0.5, transpose=12)
    form = ["Eb", "Bb", "Cm", "Ab", "Ab", "Eb"]
    _chords(song, form, 0, "strings", 3, gain=0.12, send=0.5)
    _chords(song, form, 0, "pad", 4, gain=0.05, send=0.5)
    _arp(song, form, 0, "epiano", 0.5, [0, 1, 2, 1], 4, gain=0.15, send=0.4)
    _bass(song, form, 0, [(0, 4, 0)], gain=0.4)
    return song.render(3.0, 4500)


# name -> (composer, longest seconds for a one-shot or None for a loop, loudness RMS dBFS)
SONGS = {
    "Prototype_Menu_Music.wav": (menu_music, None, -17),
    "World1_mainTheme.mp3": (world1_theme, None, -16),
    "World2_mainTheme.mp3": (world2_theme, None, -16),
    "World3_mainTheme.mp3": (world3_theme, None, -16),
    "BossFight_theme.mp3": (boss_theme, None, -15),
    "Bonus_Level_Music.wav": (bonus_music, None, -16),
    "The_End_Music.wav": (end_music, None, -17),
    "Level_Cleared_Music.wav": (level_cleared, 6.4, -16),
    "Completing_Region.wav": (completing_region, 11.3, -16),
    "The_End_SFX.wav": (the_end_scene, 21.0, -17),
}
