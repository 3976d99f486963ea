"""A small sequencer and synthesiser for the game's music: note lists written as text, chords by
name, instruments made by additive and FM synthesis, drum kits from shaped noise, and a mix with a
shared reverb. A looping piece is rendered on a circle: every tail that runs past the end comes back
in at the start, so the loop has no seam.
"""
import re

import numpy as np

from dsp import (SR, bandpass, convolve, decay, fade, fft_size, fm, harmonics, highpass, lowpass,
                 midi_hz, noise, pan, phase, room, samples, sine)

_PITCH = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note(name):
    """"C#5" -> 73; "Bb3" -> 58."""
    m = re.fullmatch(r"([A-G])([#b]?)(-?\d)", name)
    if not m:
        raise ValueError("bad note " + name)
    shift = {"": 0, "#": 1, "b": -1}[m.group(2)]
    return 12 * (int(m.group(3)) + 1) + _PITCH[m.group(1)] + shift


def line(text, start=0.0, bar_beats=None, velocity=0.8):
    """Notes from text: "C5:1 E5:.5 r:.5 G5:2"; '|' marks bar lines and is checked against
    bar_beats. A trailing '>' on a note (C5:1>) accents it. Returns (beat, beats, midi, velocity)."""
    out = []
    at = start
    bar_start = start
    for token in text.split():
        if token == "|":
            if bar_beats is not None and abs((at - bar_start) - bar_beats) > 1e-6:
                raise ValueError(f"bar of {at - bar_start} beats before beat {at}: {text}")
            bar_start = at
            continue
        accent = token.endswith(">")
        name, length = token.rstrip(">").split(":")
        length = float(length)
        if name != "r":
            out.append((at, length, note(name), min(1.0, velocity * (1.25 if accent else 1.0))))
        at += length
    return out, at - start


_QUALITY = {"": [0, 4, 7], "m": [0, 3, 7], "7": [0, 4, 7, 10], "m7": [0, 3, 7, 10],
            "maj7": [0, 4, 7, 11], "sus4": [0, 5, 7], "sus2": [0, 2, 7], "dim": [0, 3, 6],
            "add9": [0, 4, 7, 14], "m9": [0, 3, 7, 10, 14], "5": [0, 7]}


def chord(name, octave=3):
    """"Am7" -> root (in the octave given) and the chord's notes above it."""
    m = re.fullmatch(r"([A-G][#b]?)(.*)", name)
    root = note(m.group(1) + str(octave))
    return root, [root + i for i in _QUALITY[m.group(2)]]


# --- instruments: freq, seconds held, velocity -> mono signal (may ring past the held time) ------


def _shape(n, held, attack, rel):
    env = np.zeros(n)
    h = min(n, samples(held))
    a = max(1, min(h, samples(attack)))
    env[:a] = np.linspace(0, 1, a)
    env[a:h] = 1.0
    if n > h:
        env[h:] = np.exp(-np.arange(n - h) / (rel * SR / 4.6))
    return env


def pluck(freq, held, vel):
    n = samples(held + 0.6)
    amps = [1.0, 0.55, 0.35, 0.25, 0.15, 0.1, 0.06, 0.04]
    body = np.zeros(n)
    for k, a in enumerate(amps, start=1):
        if freq * k < SR * 0.45:
            body += a * np.sin(phase(freq * k, n)) * decay(n, 0.9 / k ** 0.7)
    return fade(body * _shape(n, held, 0.003, 0.25) * vel, 0.001, 0.01)


def marimba(freq, held, vel):
    n = samples(min(held, 0.6) + 0.5)
    body = sine(freq, n) * decay(n, 0.35) + 0.3 * sine(freq * 3.93, n) * decay(n, 0.06)
    body += 0.15 * sine(freq * 9.2, n) * decay(n, 0.02)
    return fade(body * vel, 0.001, 0.02)


def epiano(freq, held, vel):
    n = samples(held + 0.8)
    index = 1.2 * decay(n, 0.4) * vel + 0.2
    tone = fm(freq, 1.0, index, n) + 0.25 * fm(freq * 2.0, 7.0, 0.8 * decay(n, 0.05), n)
    return fade(tone * _shape(n, held, 0.002, 0.4) * decay(n, 1.5) * vel, 0.001, 0.01)


def lead(freq, held, vel):
    """A soft square lead with a vibrato that comes in on long notes."""
    n = samples(held + 0.25)
    vib = 1.0 + 0.006 * np.sin(phase(5.5, n)) * np.clip(np.arange(n) / (0.35 * SR), 0, 1)
    amps = [1.0, 0.08, 0.33, 0.05, 0.18, 0.03, 0.1, 0.02, 0.05, 0.01, 0.03]
    tone = harmonics(freq * vib, n, amps)
    return tone * _shape(n, held, 0.015, 0.18) * vel


def flute(freq, held, vel, rng=np.random.default_rng(7)):
    n = samples(held + 0.3)
    vib = 1.0 + 0.005 * np.sin(phase(5.0, n)) * np.clip(np.arange(n) / (0.3 * SR), 0, 1)
    tone = harmonics(freq * vib, n, [1.0, 0.25, 0.12, 0.05])
    breath = bandpass(noise(n, rng), freq * 2, freq * 2) * 0.08
    return (tone + breath) * _shape(n, held, 0.05, 0.2) * vel


def brass(freq, held, vel):
    """Saw-like tone whose brightness swells with the attack."""
    n = samples(held + 0.2)
    bright = np.clip(np.arange(n) / (0.08 * SR), 0, 1)
    out = np.zeros(n)
    for k in range(1, 14):
        if freq * k >= SR * 0.45:
            break
        out += (1.0 / k) * np.sin(phase(freq * k, n)) * bright ** (k * 0.3) * (0.6 + 0.4 * decay(n, 0.5)) ** (k * 0.2)
    return out * _shape(n, held, 0.03, 0.15) * vel


def pad(freq, held, vel):
    """Three detuned soft saws with a slow swell."""
    n = samples(held + 1.0)
    amps = [1.0, 0.45, 0.25, 0.15, 0.08, 0.05]
    tone = sum(harmonics(freq * d, n, amps) for d in (0.997, 1.0, 1.0035)) / 3
    return tone * _shape(n, held, 0.4, 0.8) * vel


def strings(freq, held, vel):
    n = samples(held + 0.6)
    vib = 1.0 + 0.004 * np.sin(phase(5.2, n))
    amps = [1.0 / k for k in range(1, 12)]
    tone = sum(harmonics(freq * d * vib, n, amps) for d in (0.998, 1.002)) / 2
    return lowpass(tone, 3000, 1) * _shape(n, held, 0.25, 0.5) * vel


def bass(freq, held, vel):
    """A round sub bass with a little bite on the attack."""
    n = samples(held + 0.12)
    bite = decay(n, 0.08)
    tone = sine(freq, n) + 0.35 * sine(freq * 2, n) * (0.4 + 0.6 * bite) + 0.15 * sine(freq * 3, n) * bite
    return tone * _shape(n, held * 0.92, 0.004, 0.08) * vel


def bell_tone(freq, held, vel):
    n = samples(held + 1.5)
    tone = fm(freq, 3.5, 2.0 * decay(n, 0.3), n) * decay(n, 0.8)
    return fade(tone * vel, 0.001, 0.02)


INSTRUMENTS = {f.__name__: f for f in (pluck, marimba, epiano, lead, flute, brass, pad, strings,
                                       bass, bell_tone)}


# --- drums --------------------------------------------------------------------------------------


def drum_kit(rng, weight=1.0):
    def kick():
        n = samples(0.45)
        f = 48 + 110 * decay(n, 0.035)
        return sine(f, n) * decay(n, 0.16) * weight + lowpass(noise(n, rng), 3000) * decay(n, 0.005) * 0.3
    def snare():
        n = samples(0.3)
        body = sine(185 + 40 * decay(n, 0.02), n) * decay(n, 0.05) * 0.6
        return body + bandpass(noise(n, rng), 3500, 5000) * decay(n, 0.07) * 0.9
    def hat():
        n = samples(0.08)
        return highpass(noise(n, rng), 7000) * decay(n, 0.018) * 0.3
    def open_hat():
        n = samples(0.35)
        return highpass(noise(n, rng), 6500) * decay(n, 0.12) * 0.4
    def shaker():
        n = samples(0.1)
        return bandpass(noise(n, rng), 6000, 4000) * np.sin(np.linspace(0, np.pi, n)) ** 2 * 0.35
    def clap():
        n = samples(0.25)
        burst = bandpass(noise(n, rng), 1500, 1800)
        env = sum(decay(n, 0.006) * (np.arange(n) >= samples(d)) for d in (0, 0.01, 0.02)) * 0.5
        return burst * (env + decay(n, 0.06) * 0.6)
    def tom():
        n = samples(0.4)
        return sine(95 + 60 * decay(n, 0.05), n) * decay(n, 0.15)
    def crash():
        n = samples(1.8)
        return highpass(noise(n, rng), 4000) * decay(n, 0.5) * 0.35
    def timpani():
        n = samples(1.2)
        return (sine(65 * (1 + 0.05 * decay(n, 0.05)), n) + 0.4 * sine(65 * 1.5, n)) * decay(n, 0.4) + lowpass(noise(n, rng), 500) * decay(n, 0.03) * 0.5
    return {"k": kick(), "s": snare(), "h": hat(), "o": open_hat(), "z": shaker(), "c": clap(),
            "t": tom(), "x": crash(), "T": timpani()}


class Song:
    """One piece: a stereo buffer of bars x beats at a tempo; loops are rendered on a circle."""

    def __init__(self, bars, beats=4, bpm=None, seconds=None, loop=True, seed=1):
        self.beats = beats
        self.total_beats = bars * beats
        if seconds is None:
            # The tempo bends by a hair so the length has only small prime factors: the reverb's
            # FFTs over the whole piece then stay fast.
            self.length = fft_size(samples(self.total_beats * 60.0 / bpm))
        else:
            self.length = samples(seconds)
        self.beat_samples = self.length / self.total_beats
        self.loop = loop
        tail = 0 if loop else samples(3.0)
        self.dry = np.zeros((self.length + tail, 2))
        self.wet = np.zeros_like(self.dry)
        self.rng = np.random.default_rng(seed)
        self._cache = {}

    def _put(self, sound, beat, position, gain, send):
        start = int(round(beat * self.beat_samples))
        stereo = pan(sound * gain, position)
        for target, amount in ((self.dry, 1.0), (self.wet, send)):
            if amount == 0.0:
                continue
            total = target.shape[0]
            at = start % total if self.loop else start
            rest = stereo * amount
            while rest.shape[0] > 0 and at < total:
                take = min(rest.shape[0], total - at)
                target[at:at + take] += rest[:take]
                rest = rest[take:]
                # A loop takes what runs past its end back in at its start.
                at = 0 if self.loop else total

    def play(self, instrument, notes, position=0.0, gain=1.0, send=0.2, transpose=0):
        make = INSTRUMENTS[instrument]
        for beat, beats, midi, vel in notes:
            held = beats * self.beat_samples / SR
            key = (instrument, midi + transpose, round(held, 4), round(vel, 3))
            if key not in self._cache:
                self._cache[key] = make(float(midi_hz(midi + transpose)), held, vel)
            self._put(self._cache[key], beat, position, gain, send)

    def drums(self, kit, pattern, first_bar, bars, gain=1.0, send=0.1, steps=16, swing=0.0):
        """pattern: {"k": "x...x...", ...} over one bar of steps; a capital X accents."""
        step_beats = self.beats / steps
        for bar in range(first_bar, first_bar + bars):
            for voice_name, row in pattern.items():
                position = {"h": 0.3, "o": 0.3, "z": -0.35, "t": -0.2}.get(voice_name, 0.0)
                for i, mark in enumerate(row):
                    if mark in ".-":
                        continue
                    vel = 1.0 if mark == "X" else (0.45 if mark == "g" else 0.75)
                    beat = bar * self.beats + i * step_beats + (swing * step_beats if i % 2 else 0.0)
                    self._put(kit[voice_name] * vel, beat, position, gain, send)

    def render(self, reverb_seconds=1.8, damping=5000.0):
        ir = room(reverb_seconds, damping, self.rng, stereo=True)
        wet = convolve(self.wet, ir, circular=self.loop)[:self.dry.shape[0]]
        mix = self.dry + wet * 0.9
        # A gentle limiter: loud peaks are rounded off rather than cut.
        mix /= max(1e-9, np.max(np.abs(mix)))
        mix = np.tanh(1.6 * mix) / np.tanh(1.6)
        mix -= np.mean(mix, axis=0)
        if not self.loop:
            mix = fade(mix, 0.0, 1.0)
        return mix


# --- parts made from chords -----------------------------------------------------------------------


def chord_track(chords, beats_per_chord, octave=3, start=0.0, vel=0.5):
    notes = []
    for i, name in enumerate(chords):
        _, members = chord(name, octave)
        for m in members:
            notes.append((start + i * beats_per_chord, beats_per_chord, m, vel))
    return notes


def bass_track(chords, beats_per_chord, rhythm, octave=2, start=0.0, vel=0.9):
    """rhythm: (beat offset, beats, interval above the root) in each chord's span."""
    notes = []
    for i, name in enumerate(chords):
        root, _ = chord(name, octave)
        for offset, length, interval in rhythm:
            notes.append((start + i * beats_per_chord + offset, length, root + interval, vel))
    return notes


def arpeggio_track(chords, beats_per_chord, step, order, octave=4, start=0.0, vel=0.5):
    """Broken chords: order indexes the chord's notes (wrapping up an octave)."""
    notes = []
    for i, name in enumerate(chords):
        _, members = chord(name, octave)
        count = int(round(beats_per_chord / step))
        for j in range(count):
            k = order[j % len(order)]
            m = members[k % len(members)] + 12 * (k // len(members))
            notes.append((start + i * beats_per_chord + j * step, step * 0.9, m, vel))
    return notes
