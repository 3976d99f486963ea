"""The game's sound effects, one recipe each: menus, the player's movement, hits and voices, the
Schnoz enemies, the boss, the eye, pickups, doors, checkpoints and the blood sea.

Each recipe takes a seeded random generator and returns a mono signal; EFFECTS lists them with the
longest each may last (the time the game keeps a sound from restarting) and its loudness.
"""
import numpy as np

from dsp import (attack_release, bandpass, bell, convolve, curve, decay, fade, fm, harmonics,
                 highpass, lowpass, midi_hz, moving_filter, noise, phase, reverb, room, samples,
                 sine, times, voice)


def _place(out, sound, at):
    start = samples(at)
    end = min(out.shape[0], start + sound.shape[0])
    if end > start:
        out[start:end] += sound[:end - start]


def _thump(rng, freq=70.0, seconds=0.35, drop=2.5, click=0.4):
    """A low body blow: a sine falling in pitch with a short noise click on top."""
    n = samples(seconds)
    f = freq * (1.0 + drop * decay(n, 0.03))
    body = sine(f, n) * decay(n, seconds / 4.0)
    hit = lowpass(noise(n, rng), 2500) * decay(n, 0.012) * click
    return fade(body + hit, 0.0005, 0.02)


def _sand_step(rng, weight=1.0):
    """One foot in sand: a soft low thud and a brushed crunch of band-limited noise grains."""
    n = samples(0.22)
    grains = noise(n, rng) * (rng.random(n) < 0.35)
    crunch = bandpass(grains, 1800 + 600 * rng.random(), 2600) * curve(n, [(0, 0), (0.01, 1), (0.2, 0)])
    crunch *= decay(n, 0.05)
    thud = lowpass(noise(n, rng), 220) * decay(n, 0.04) * 2.5 * weight
    return fade(crunch + thud, 0.001, 0.02)


def _steps(rng, seconds, interval, weight=1.0, jitter=0.02):
    out = np.zeros(samples(seconds))
    at = 0.02
    foot = 0
    while at < seconds - 0.25:
        step = _sand_step(rng, weight) * (1.0 if foot % 2 == 0 else 0.8)
        _place(out, step, at + rng.uniform(-jitter, jitter))
        at += interval
        foot += 1
    return out


def _whoosh(rng, seconds, low, high, rise=True):
    """Air moving past: noise through a band that sweeps up (or down) and swells and fades."""
    n = samples(seconds)
    source = noise(n, rng) * np.sin(np.linspace(0, np.pi, n)) ** 1.5
    def gain(t, f):
        x = min(1.0, max(0.0, t / seconds))
        centre = low + (high - low) * (x if rise else 1.0 - x)
        return 1.0 / (1.0 + ((f - centre) / (0.6 * centre)) ** 2)
    return moving_filter(source, gain)


def _chime(rng, notes, spacing, seconds, ring=0.6, bright=1.0):
    out = np.zeros(samples(seconds))
    for i, note in enumerate(notes):
        _place(out, bell(midi_hz(note), min(seconds, 1.6), ring, rng, bright), i * spacing)
    return out


def _arpeggio(notes, spacing, seconds, tone):
    out = np.zeros(samples(seconds))
    for i, note in enumerate(notes):
        _place(out, tone(midi_hz(note)), i * spacing)
    return out


def _pluck(freq, seconds=0.4, bright=6):
    n = samples(seconds)
    amps = [1.0 / k ** 0.8 for k in range(1, bright + 1)]
    body = harmonics(freq, n, amps) * decay(n, seconds / 3.0)
    return fade(body, 0.001, 0.02)


# --- menus --------------------------------------------------------------------------------------


def button_hover(rng):
    """A soft airy shimmer that loops while the pointer rests on a button."""
    seconds = 2.0
    n = samples(seconds)
    t = times(n)
    # Whole cycles over the loop, so the end meets the start.
    tone = (np.sin(2 * np.pi * 1320 * t) * (0.6 + 0.4 * np.sin(2 * np.pi * t / seconds))
            + 0.5 * np.sin(2 * np.pi * 1980 * t) * (0.6 + 0.4 * np.cos(2 * np.pi * 2 * t / seconds)))
    air = bandpass(noise(n, rng), 4000, 3000) * 0.15
    return tone * 0.3 + air


def button_select(rng):
    click = highpass(noise(samples(0.01), rng), 2000) * decay(samples(0.01), 0.002)
    blip = _arpeggio([79, 86], 0.07, 0.6, lambda f: _pluck(f, 0.45, 5))
    out = np.zeros(samples(0.6))
    _place(out, click, 0)
    out += blip
    return reverb(out, rng, 0.5, 0.2)[:samples(0.8)]


def audio_volume_test(rng):
    n = samples(1.0)
    tone = harmonics(880.0, n, [1.0, 0.3, 0.1]) * attack_release(n, 0.01, 0.6) * decay(n, 0.5)
    return reverb(tone, rng, 0.4, 0.15)[:samples(1.2)]


def worldmap_choose_level(rng):
    """A rising sweep into a warm major chord of bells: a door to a level opens."""
    swoosh = _whoosh(rng, 1.0, 400, 5000) * 0.5
    out = np.zeros(samples(4.0))
    _place(out, swoosh, 0)
    _place(out, _chime(rng, [72, 76, 79, 84], 0.09, 3.0, 1.2), 0.85)
    return reverb(out, rng, 1.4, 0.35)[:samples(4.9)]


def worldmap_movement(rng):
    """A light trotting loop for walking on the world map: soft taps with a swish."""
    seconds = 1.6
    out = np.zeros(samples(seconds))
    for i in range(4):
        tap = _sand_step(rng, 0.4) * (0.9 if i % 2 else 1.0)
        _place(out, tap, i * seconds / 4)
    n = out.shape[0]
    swish = bandpass(noise(n, rng), 3000, 3000) * (0.5 + 0.5 * np.cos(2 * np.pi * 2 * times(n) / seconds)) * 0.06
    return out + swish


# --- the player ---------------------------------------------------------------------------------


def steps01(rng):
    return _steps(rng, 8.9, 0.46)


def player_run(rng):
    return _steps(rng, 8.7, 0.29, 1.2, 0.01)


def player_backflip(rng):
    return fade(_whoosh(rng, 0.8, 300, 2500) + _whoosh(rng, 0.8, 2500, 600, False) * 0.6, 0.01, 0.1)


def jump01(rng):
    """A springy push-off: a short thud and a quick rising swish."""
    n = samples(0.5)
    spring = sine(curve(n, [(0, 220), (0.18, 620), (0.5, 700)]), n) * decay(n, 0.08) * 0.5
    out = spring + _whoosh(rng, 0.5, 500, 3500) * 0.8
    _place(out, _thump(rng, 110, 0.15, 1.0) * 0.6, 0)
    return out


def wallslide01(rng):
    """Sliding down rough stone: gritty scraping noise whose grain rate wavers."""
    n = samples(1.9)
    grit = noise(n, rng) * (0.6 + 0.4 * np.sin(phase(curve(n, [(0, 25), (1.9, 18)]), n)))
    scrape = bandpass(grit, 2200, 2500) + 0.5 * bandpass(grit, 700, 500)
    return scrape * attack_release(n, 0.05, 0.4)


def player_land_surface(rng):
    out = _thump(rng, 80, 0.4, 1.5) * 0.9
    _place(out, _sand_step(rng, 0.5) * 1.2, 0)
    return out


def groundpound01(rng):
    """A dive, then a heavy slam with a low boom and settling sand."""
    out = np.zeros(samples(0.95))
    _place(out, _whoosh(rng, 0.25, 3000, 400, False) * 0.5, 0)
    boom = _thump(rng, 50, 0.7, 3.0, 0.8)
    _place(out, boom * 1.4, 0.2)
    _place(out, _sand_step(rng, 1.0) * 1.2, 0.21)
    return out


def hit01(rng):
    """A short punchy smack: noise burst, a mid knock and a quick low thump."""
    n = samples(0.3)
    smack = bandpass(noise(n, rng), 1500, 2500) * decay(n, 0.015)
    knock = sine(curve(n, [(0, 400), (0.05, 180)]), n) * decay(n, 0.04)
    return fade(smack + knock + _thump(rng, 90, 0.3, 1.5)[:n], 0.0005, 0.03)


def _grunt(rng, pitch, vowels, seconds, scale=1.0, fall=0.7):
    n = samples(seconds)
    f0 = curve(n, [(0, pitch * 1.15), (0.08, pitch), (seconds, pitch * fall)])
    f0 *= 1.0 + 0.02 * np.sin(phase(7.0, n)) + 0.01 * lowpass(noise(n, rng), 30)
    sound = voice(f0, vowels, n, scale, 0.08, rng)
    return sound * attack_release(n, 0.015, seconds * 0.5)


def damage_taken(variant):
    settings = [
        (260, [(0, "u"), (0.1, "o")], 0.32),  # "oof"
        (300, [(0, "a"), (0.25, "a")], 0.36),  # "ah!"
        (240, [(0, "e"), (0.12, "u")], 0.4),  # "eh-uh"
    ]
    pitch, vowels, seconds = settings[variant]
    return lambda rng: reverb(_grunt(rng, pitch, vowels, seconds, 1.15), rng, 0.3, 0.1)


def high_five(rng):
    """A crisp clap, a cheer of voices and a bright little fanfare."""
    out = np.zeros(samples(6.0))
    clap = bandpass(noise(samples(0.15), rng), 1400, 2000) * decay(samples(0.15), 0.02)
    _place(out, clap * 2.0, 0.05)
    for pitch, scale, at in ((320, 1.2, 0.2), (260, 1.1, 0.25), (380, 1.25, 0.3)):
        n = samples(0.9)
        f0 = curve(n, [(0, pitch), (0.2, pitch * 1.35), (0.9, pitch * 1.1)])
        cheer = voice(f0, [(0, "e"), (0.3, "a")], n, scale, 0.3, rng) * attack_release(n, 0.03, 0.4)
        _place(out, cheer * 0.35, at)
    tune = _arpeggio([72, 76, 79, 84, 79, 84], 0.16, 3.5, lambda f: _pluck(f, 0.8, 8))
    _place(out, tune * 0.8, 1.1)
    _place(out, _chime(rng, [84, 88, 91], 0.05, 2.5, 1.2) * 0.5, 2.0)
    return reverb(out, rng, 1.2, 0.25)[:samples(9.5)]


# --- enemies ------------------------------------------------------------------------------------


def schnoz_ii_footsteps(rng):
    """Small scurrying feet in sand."""
    out = _steps(rng, 4.1, 0.21, 0.4, 0.015)
    return highpass(out, 300)


def schnoz_iii_footsteps(rng):
    """Heavy armoured plods in sand, looped: two steps a loop with a clink of armour."""
    seconds = 1.2
    out = np.zeros(samples(seconds))
    for i in range(2):
        at = i * seconds / 2
        _place(out, _sand_step(rng, 2.0), at)
        _place(out, _thump(rng, 60, 0.3, 1.0, 0.2) * 0.7, at)
        _place(out, bell(1900 + 200 * i, 0.2, 0.05) * 0.08, at + 0.02)
    return out


def _creature(rng, pitch, seconds, scale, vowels, fall):
    n = samples(seconds)
    f0 = curve(n, [(0, pitch), (0.1, pitch * 1.3), (seconds, pitch * fall)])
    f0 *= 1.0 + 0.06 * np.sin(phase(curve(n, [(0, 18), (seconds, 8)]), n))
    cry = voice(f0, vowels, n, scale, 0.4, rng) * attack_release(n, 0.01, seconds * 0.6)
    return cry


def schnoz_ii_death(rng):
    """A squeaky cry that falls away and ends in a small pop."""
    out = _creature(rng, 520, 0.6, 1.5, [(0, "i"), (0.3, "u")], 0.45)
    pop = _thump(rng, 180, 0.2, 2.0, 0.6) * 0.6
    result = np.zeros(samples(0.82))
    _place(result, out, 0)
    _place(result, pop, 0.55)
    return result


def schnoz_iii_death(rng):
    """A deeper groan and the clatter of armour settling."""
    result = np.zeros(samples(0.9))
    _place(result, _creature(rng, 210, 0.65, 1.1, [(0, "a"), (0.4, "o")], 0.55), 0)
    _place(result, _thump(rng, 70, 0.3, 1.5) * 0.8, 0.55)
    for at in (0.58, 0.66, 0.71):
        _place(result, bell(2300 * rng.uniform(0.8, 1.2), 0.18, 0.05) * 0.12, at)
    return result


def schnoz_armor_break(rng):
    """Metal shell cracking: a sharp metallic crack, a ring of odd partials, falling shards."""
    n = samples(1.0)
    crack = highpass(noise(n, rng), 1500) * decay(n, 0.01) * 1.5
    ring = np.zeros(n)
    for ratio, level in ((1.0, 1.0), (2.76, 0.7), (5.40, 0.5), (8.93, 0.3), (13.34, 0.2)):
        ring += level * sine(420 * ratio, n) * decay(n, 0.25 / ratio ** 0.3)
    out = crack + ring * 0.4
    _place(out, _thump(rng, 140, 0.25, 1.0) * 0.5, 0)
    for i in range(7):
        shard = bell(rng.uniform(2500, 5000), 0.25, 0.06) * 0.12
        _place(out, shard, 0.12 + 0.1 * i + rng.uniform(0, 0.05))
    return reverb(out, rng, 0.5, 0.2)[:samples(1.05)]


# --- the boss -----------------------------------------------------------------------------------


def _growl(rng, pitch, seconds, vowels, swell, fall):
    """A beast's voice: a rough throat (pitch jitter, a flutter of the vocal folds, a subharmonic)
    through open vowels, with a breath of noise and a low rumble."""
    n = samples(seconds)
    f0 = curve(n, [(0, pitch * 0.8), (swell, pitch), (seconds, pitch * fall)])
    jitter = lowpass(noise(n, rng), 40)
    f0 *= 1.0 + 0.04 * jitter / max(1e-9, np.std(jitter))
    throat = voice(f0, vowels, n, 0.8, 0.25, rng) + 0.5 * voice(f0 * 0.5, vowels, n, 0.8)
    flutter = 1.0 + 0.45 * np.sin(phase(f0 * 0.25 + 8.0, n))
    throat *= flutter
    rumble = lowpass(noise(n, rng), 150) * 0.4 * np.std(throat) / 0.06
    rumble *= np.std(throat) * 0.3 / max(1e-9, np.std(rumble))
    return (throat + rumble) * curve(n, [(0, 0), (swell, 1), (seconds * 0.7, 0.8), (seconds, 0)])


def boss_roar(rng):
    roar = _growl(rng, 95, 3.2, [(0, "o"), (0.6, "a"), (2.6, "a"), (3.2, "o")], 0.5, 0.6)
    return reverb(roar, rng, 2.0, 0.4, 3500)[:samples(6.8)]


def boss_move(rng):
    """The boss shifting its weight: two ground-shaking footfalls and a grinding drag."""
    out = np.zeros(samples(3.3))
    for at in (0.05, 1.5):
        _place(out, _thump(rng, 38, 1.2, 2.0, 1.0) * 1.2, at)
        _place(out, lowpass(noise(samples(1.0), rng), 400) * decay(samples(1.0), 0.25) * 0.4, at)
    n = samples(1.2)
    drag = bandpass(noise(n, rng), 350, 400) * attack_release(n, 0.3, 0.5) * 0.5
    _place(out, drag, 0.5)
    return reverb(out, rng, 1.5, 0.3, 2500)[:samples(3.55)]


def boss_hurt(rng):
    howl = _growl(rng, 140, 1.2, [(0, "a"), (0.5, "e"), (1.2, "u")], 0.1, 0.5)
    out = np.zeros(samples(1.3))
    _place(out, _thump(rng, 90, 0.3, 1.5) * 0.8, 0)
    _place(out, howl, 0.02)
    return reverb(out, rng, 1.2, 0.3, 3500)[:samples(1.9)]


def boss_death(rng):
    out = np.zeros(samples(0.95))
    _place(out, _growl(rng, 110, 0.7, [(0, "a"), (0.7, "u")], 0.05, 0.35), 0)
    _place(out, _thump(rng, 35, 0.9, 2.5, 1.0) * 1.3, 0.1)
    return out


def eye(rng):
    """A low eerie swell: detuned hums that beat, a ghostly high tone and a breath of air."""
    n = samples(0.98)
    f = curve(n, [(0, 55), (0.98, 58)])
    hum = sine(f, n) + sine(f * 1.5 * 1.006, n) * 0.5 + sine(f * 2.01, n) * 0.4
    ghost = sine(curve(n, [(0, 880), (0.98, 830)]), n) * (0.5 + 0.5 * sine(6.0, n)) * 0.12
    air = bandpass(noise(n, rng), 600, 500) * 0.2
    return (hum * 0.6 + ghost + air) * np.sin(np.linspace(0, np.pi, n)) ** 2


# --- pickups, doors and places ------------------------------------------------------------------

# Four bells of a pentatonic chord, so two wisps picked in a row still sound together.
BELL_NOTES = [84, 88, 91, 93]


def wisp_bell(variant):
    return lambda rng: bell(midi_hz(BELL_NOTES[variant]), 1.95, 0.6, rng, 1.2)


def wisp_spirit(variant):
    """Ghostly sighs: a breathy vowel gliding in pitch, doubled and spread by a long reverb."""
    female, which = variant < 2, variant % 2
    pitch = (520 if female else 200) * (1.0 if which == 0 else 1.12)
    vowels = [(0, "o"), (0.7, "a")] if which == 0 else [(0, "u"), (0.7, "i")]
    def make(rng):
        n = samples(0.9)
        f0 = curve(n, [(0, pitch * 0.9), (0.3, pitch * 1.05), (0.9, pitch * 0.98)])
        f0 *= 1.0 + 0.012 * sine(5.5, n)
        scale = 1.25 if female else 1.0
        sigh = voice(f0, vowels, n, scale, 0.5, rng) + 0.7 * voice(f0 * 1.004, vowels, n, scale)
        sigh *= attack_release(n, 0.25, 0.45)
        return reverb(sigh, rng, 1.1, 0.6, 5000)[:samples(1.95)]
    return make


def powerup_pickup(rng):
    """A sparkling rising arpeggio over a warm swell."""
    out = np.zeros(samples(2.6))
    notes = [72, 76, 79, 84, 88, 91, 96]
    tone = lambda f: fm(f, 2.0, 1.5 * decay(samples(0.6), 0.15), samples(0.6)) * decay(samples(0.6), 0.2)
    _place(out, _arpeggio(notes, 0.07, 1.2, tone), 0)
    n = samples(2.0)
    swell = harmonics(midi_hz(60), n, [1, 0.5, 0.3, 0.2]) + harmonics(midi_hz(67), n, [1, 0.4, 0.2])
    _place(out, swell * attack_release(n, 0.3, 1.2) * 0.15, 0.1)
    _place(out, _chime(rng, [96, 100], 0.08, 1.5, 0.8) * 0.4, 0.5)
    return reverb(out, rng, 1.0, 0.3)[:samples(2.95)]


def key_pickup(rng):
    """Keys jingling on a ring, then a short bright chime."""
    out = np.zeros(samples(0.8))
    for i in range(5):
        _place(out, bell(rng.uniform(3000, 5200), 0.2, 0.06, rng) * 0.25, 0.02 + 0.04 * i + rng.uniform(0, 0.02))
    _place(out, _chime(rng, [88, 95], 0.06, 0.6, 0.35) * 0.8, 0.2)
    return out


def exit_door(rng):
    """A heavy stone door: a latch clank, a long grinding drag, and a deep thud as it settles."""
    out = np.zeros(samples(3.3))
    _place(out, bell(300, 0.3, 0.08, rng) * 0.4 + _thump(rng, 120, 0.3, 1.0)[:samples(0.3)] * 0.3, 0.0)
    n = samples(2.3)
    grind = noise(n, rng) * (0.7 + 0.3 * np.sin(phase(curve(n, [(0, 9), (2.3, 5)]), n)))
    grind = bandpass(grind, 260, 300) + 0.3 * bandpass(grind, 1200, 800)
    _place(out, grind * attack_release(n, 0.2, 0.4) * 0.7, 0.3)
    _place(out, _thump(rng, 45, 0.8, 1.5, 0.8) * 1.2, 2.5)
    return reverb(out, rng, 1.2, 0.3, 3000)[:samples(3.5)]


def breakable_tile(rng):
    """Stone cracking and crumbling: a sharp crack then a patter of falling bits."""
    out = np.zeros(samples(0.95))
    _place(out, highpass(noise(samples(0.05), rng), 800) * decay(samples(0.05), 0.01) * 1.2, 0)
    _place(out, _thump(rng, 100, 0.25, 1.0) * 0.7, 0)
    for i in range(14):
        n = samples(0.05)
        bit = bandpass(noise(n, rng), rng.uniform(1500, 4500), 1500) * decay(n, 0.008)
        _place(out, bit * rng.uniform(0.2, 0.6), 0.05 + 0.75 * (i / 14) ** 1.3 + rng.uniform(0, 0.03))
    return out


def checkpoint(rng):
    """A bright three-note chime rising to the octave."""
    out = _chime(rng, [79, 84, 91], 0.1, 1.5, 0.5, 1.4)
    return reverb(out, rng, 0.8, 0.25)[:samples(1.68)]


def blood_bubbling(rng):
    """A looping sea of thick bubbling: random low blips that pop up in pitch, in clusters, over a
    dark churn."""
    seconds = 8.0
    n = samples(seconds)
    out = lowpass(noise(n, rng), 90)
    out *= 0.05 / max(1e-9, np.std(out))
    at = 0.0
    while at < seconds:
        # Bubbles come in little bursts, like a pot coming to the boil.
        for _ in range(int(rng.integers(1, 5))):
            length = rng.uniform(0.03, 0.09)
            m = samples(length)
            low = rng.uniform(80, 260)
            f = low * (1.0 + rng.uniform(0.6, 1.8) * (np.arange(m) / m) ** 2)
            blip = sine(f, m) * np.sin(np.linspace(0, np.pi, m)) * decay(m, length * 0.6) * rng.uniform(0.2, 0.8)
            start = samples(at + rng.uniform(0, 0.08))
            # Wrap around the loop's end, so the loop has no seam.
            out[(start + np.arange(m)) % n] += blip
        at += rng.exponential(0.14)
    return convolve(out, room(0.5, 900, rng), circular=True) * 0.3 + out


def _consonant(rng, letter, pitch):
    """The start of a syllable: a buzzing fricative (v), a tongue or lip burst (d, b), a nasal hum
    (m), a liquid glide (l)."""
    n = samples(0.05)
    if letter == "v":
        buzz = bandpass(noise(n, rng), 3500, 3000) * (0.6 + 0.4 * sine(pitch, n))
        return buzz * np.sin(np.linspace(0, np.pi, n)) * 0.5
    if letter in "db":
        burst = bandpass(noise(n, rng), 3800 if letter == "d" else 900, 2000) * decay(n, 0.006)
        return burst * 1.2
    if letter == "m":
        return sine(pitch, n) * 0.6 * np.sin(np.linspace(0, np.pi, n))
    return sine(pitch, n) * 0.3 * np.sin(np.linspace(0, np.pi, n)) + bandpass(noise(n, rng), 1200, 600) * 0.1


def vadevu(variant):
    """A small creature chattering: a run of short voiced syllables with a lilting melody."""
    lines = [
        ("va de vu", [1.0, 1.2, 0.9], 2.0),
        ("va de vu ba li", [1.0, 1.15, 1.3, 1.0, 0.85], 2.6),
        ("mu va de vi vu", [0.95, 1.1, 1.25, 1.4, 0.9], 2.9),
    ]
    text, melody, seconds = lines[variant]
    def make(rng):
        out = np.zeros(samples(seconds))
        at = 0.05
        for syllable, lift in zip(text.split(), melody):
            length = rng.uniform(0.15, 0.22) if syllable != text.split()[-1] else 0.35
            n = samples(length)
            pitch = 330 * lift
            f0 = curve(n, [(0, pitch * 0.92), (length * 0.3, pitch * 1.04), (length, pitch * 0.9)])
            sound = voice(f0, [(0, syllable[-1]), (length, syllable[-1])], n, 1.3, 0.04, rng)
            onset = curve(n, [(0, 0.15), (0.03, 0.2), (0.05, 1.0), (length - 0.06, 0.9), (length, 0)])
            _place(out, sound * onset, at)
            _place(out, _consonant(rng, syllable[0], pitch) * np.std(sound) * 1.5, at)
            at += length + rng.uniform(0.03, 0.07)
        return reverb(out, rng, 0.4, 0.12)[:samples(seconds + 0.4)]
    return make


def placeholder(rng):
    n = samples(0.3)
    return harmonics(660.0, n, [1.0, 0.2]) * attack_release(n, 0.005, 0.2)


# name -> (recipe, longest seconds, loudness RMS dBFS, loops)
EFFECTS = {
    "Button_Hover_SFX.wav": (button_hover, None, -30, True),
    "Button_Select_SFX.wav": (button_select, 0.83, -18, False),
    "Audio_Volume_Test.wav": (audio_volume_test, 1.23, -16, False),
    "Steps01.wav": (steps01, 9.0, -24, False),
    "Player_Run.wav": (player_run, 8.835, -22, False),
    "Player_Backflip.wav": (player_backflip, 0.9, -20, False),
    "Jump01.wav": (jump01, 1.0, -20, False),
    "Wallslide01.wav": (wallslide01, 2.0, -24, False),
    "Player_Land_Surface.wav": (player_land_surface, 1.0, -20, False),
    "GroundPound01.wav": (groundpound01, 1.0, -14, False),
    "Hit01.wav": (hit01, 0.39, -14, False),
    "PlaceHolder.wav": (placeholder, 1.0, -24, False),
    "Damage_Taken_V1.wav": (damage_taken(0), 0.45, -16, False),
    "Damage_Taken_V2.wav": (damage_taken(1), 0.45, -16, False),
    "Damage_Taken_V3.wav": (damage_taken(2), 0.45, -16, False),
    "Schnoz_II_Death_Audio.wav": (schnoz_ii_death, 0.855, -16, False),
    "Schnoz_II_Footsteps_In_Sand.wav": (schnoz_ii_footsteps, 4.245, -26, False),
    "Schnoz_III_Death_Audio.wav": (schnoz_iii_death, 0.925, -16, False),
    "Schnoz_III_Footsteps_In_Sand.wav": (schnoz_iii_footsteps, None, -24, True),
    "Schnoz_Armor_Break.wav": (schnoz_armor_break, 1.075, -15, False),
    "Boss_Roar_SFX.wav": (boss_roar, 7.0, -14, False),
    "Boss_Move_SFX.wav": (boss_move, 3.63, -16, False),
    "Boss_Hurt_SFX.wav": (boss_hurt, 2.0, -15, False),
    "Boss_Death_SFX.wav": (boss_death, 1.0, -13, False),
    "Eye_SFX.wav": (eye, 1.0, -20, False),
    "Wisp_Pickup_Bell_V1.wav": (wisp_bell(0), 2.0, -22, False),
    "Wisp_Pickup_Bell_V2.wav": (wisp_bell(1), 2.0, -22, False),
    "Wisp_Pickup_Bell_V3.wav": (wisp_bell(2), 2.0, -22, False),
    "Wisp_Pickup_Bell_V4.wav": (wisp_bell(3), 2.0, -22, False),
    "Wisp_Pickup_Spirit_F_V1.wav": (wisp_spirit(0), 2.0, -26, False),
    "Wisp_Pickup_Spirit_F_V2.wav": (wisp_spirit(1), 2.0, -26, False),
    "Wisp_Pickup_Spirit_M_V1.wav": (wisp_spirit(2), 2.0, -26, False),
    "Wisp_Pickup_Spirit_M_V2.wav": (wisp_spirit(3), 2.0, -26, False),
    "Powerup_Pickup.wav": (powerup_pickup, 3.0, -18, False),
    "Key_Pickup.wav": (key_pickup, 0.865, -18, False),
    "Exit_Door.wav": (exit_door, 3.525, -17, False),
    "Worldmap_Movement.mp3": (worldmap_movement, None, -26, True),
    "Worldmap_Choose_Level.wav": (worldmap_choose_level, 5.0, -18, False),
    "Blood_Bubbling_SFX.wav": (blood_bubbling, None, -24, True),
    "Breakable_Tile_SFX.wav": (breakable_tile, 0.98, -17, False),
    "Checkpoint_SFX.wav": (checkpoint, 1.71, -17, False),
    "High_Five.wav": (high_five, 10.0, -17, False),
    "Vadevu_Tutorial_SFX_V1.wav": (vadevu(0), 6.0, -19, False),
    "Vadevu_Tutorial_SFX_V2.wav": (vadevu(1), 6.0, -19, False),
    "Vadevu_Tutorial_SFX_V3.wav": (vadevu(2), 6.0, -19, False),
}
