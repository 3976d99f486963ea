"""Sound-making building blocks shared by the effects and the music: oscillators, envelopes, noise
shaped in the frequency domain, bells, a formant voice, reverb, levels and the WAV writer.

Signals are float64 numpy arrays at 44100 Hz: mono is 1-D, stereo is (n, 2). Everything is
vectorised, so a whole sound costs a few FFTs rather than a Python loop per sample.
"""
import wave

import numpy as np

SR = 44100


def samples(seconds):
    return int(round(seconds * SR))


def times(n):
    return np.arange(n) / SR


def midi_hz(note):
    return 440.0 * 2.0 ** ((np.asarray(note, dtype=float) - 69.0) / 12.0)


def db(value):
    return 10.0 ** (value / 20.0)


# --- envelopes ---------------------------------------------------------------------------------


def decay(n, seconds):
    """exp(-t / seconds)."""
    return np.exp(-times(n) / seconds)


def attack_release(n, attack, release):
    """Linear rise over attack seconds, then a cosine fall over the last release seconds."""
    env = np.ones(n)
    a = min(n, max(1, samples(attack)))
    env[:a] = np.linspace(0.0, 1.0, a)
    r = min(n, max(1, samples(release)))
    env[n - r:] *= 0.5 + 0.5 * np.cos(np.linspace(0.0, np.pi, r))
    return env


def fade(x, fade_in=0.002, fade_out=0.01):
    """Short fades at both ends, so no sound starts or stops on a step."""
    y = np.array(x, dtype=float)
    n = y.shape[0]
    a = min(n, samples(fade_in))
    if a > 0:
        ramp = np.linspace(0.0, 1.0, a)
        y[:a] = (y[:a].T * ramp).T
    r = min(n, samples(fade_out))
    if r > 0:
        ramp = np.linspace(1.0, 0.0, r)
        y[n - r:] = (y[n - r:].T * ramp).T
    return y


def curve(n, points):
    """Piecewise-linear value over time: points are (seconds, value) pairs."""
    ts, vs = zip(*points)
    return np.interp(times(n), ts, vs)


# --- oscillators -------------------------------------------------------------------------------


def phase(freq, n):
    """Running phase in radians of a frequency that may change every sample."""
    f = np.broadcast_to(np.asarray(freq, dtype=float), (n,))
    return 2.0 * np.pi * np.cumsum(f) / SR


def sine(freq, n, start=0.0):
    return np.sin(phase(freq, n) + start)


def harmonics(freq, n, amps, ratios=None):
    """Additive tone: partial k at ratio k (or ratios[k]) with amplitude amps[k]; partials above
    Nyquist are left out so nothing aliases."""
    ph = phase(freq, n)
    top = float(np.max(np.broadcast_to(freq, (n,))))
    out = np.zeros(n)
    for k, amp in enumerate(amps):
        ratio = (k + 1) if ratios is None else ratios[k]
        if amp == 0.0 or top * ratio >= SR * 0.45:
            continue
        out += amp * np.sin(ph * ratio)
    return out


def saw(freq, n, count=24):
    return harmonics(freq, n, [1.0 / k for k in range(1, count + 1)])


def square(freq, n, count=24):
    return harmonics(freq, n, [(1.0 / k if k % 2 else 0.0) for k in range(1, count + 1)])


def fm(carrier, ratio, index, n):
    """Two-operator FM: index may be an envelope array."""
    mod = np.sin(phase(np.asarray(carrier) * ratio, n)) * index
    return np.sin(phase(carrier, n) + mod)


def noise(n, rng):
    return rng.standard_normal(n)


# --- filters (frequency-domain gains) -----------------------------------------------------------


def fft_size(n):
    """The nearest size at or above n with no prime factor above 7, where FFTs are fast."""
    while True:
        m = n
        for p in (2, 3, 5, 7):
            while m % p == 0:
                m //= p
        if m == 1:
            return n
        n += 1


def _gain_filter(x, gain_of):
    n = x.shape[0]
    size = fft_size(n)
    spectrum = np.fft.rfft(x, size, axis=0)
    freqs = np.fft.rfftfreq(size, 1.0 / SR)
    gain = gain_of(freqs)
    if spectrum.ndim == 2:
        gain = gain[:, None]
    return np.fft.irfft(spectrum * gain, size, axis=0)[:n]


def lowpass(x, cutoff, order=2):
    return _gain_filter(x, lambda f: 1.0 / np.sqrt(1.0 + (f / cutoff) ** (2 * order)))


def highpass(x, cutoff, order=2):
    return _gain_filter(x, lambda f: 1.0 / np.sqrt(1.0 + (cutoff / np.maximum(f, 1e-3)) ** (2 * order)))


def bandpass(x, centre, width):
    return _gain_filter(x, lambda f: 1.0 / (1.0 + ((f - centre) / (0.5 * width)) ** 2))


def moving_filter(x, gain_at, frame=2048, hop=512):
    """A filter that changes over time: gain_at(t_seconds, freqs) -> gains, applied frame by frame
    with Hann-window overlap-add."""
    n = x.shape[0]
    padded = np.concatenate([np.zeros(frame), x, np.zeros(frame)])
    window = np.hanning(frame)
    freqs = np.fft.rfftfreq(frame, 1.0 / SR)
    out = np.zeros_like(padded)
    norm = np.zeros_like(padded)
    for start in range(0, padded.shape[0] - frame, hop):
        t = (start + frame / 2 - frame) / SR
        spectrum = np.fft.rfft(padded[start:start + frame] * window)
        out[start:start + frame] += np.fft.irfft(spectrum * gain_at(t, freqs), frame) * window
        norm[start:start + frame] += window ** 2
    return (out / np.maximum(norm, 1e-6))[frame:frame + n]


# --- instruments shared by effects and music ----------------------------------------------------

# Partials of a struck bell (ratios to the strike tone, relative level, relative decay): inharmonic,
# so it rings rather than hums.
BELL_PARTIALS = [(0.5, 0.5, 1.6), (1.0, 1.0, 1.0), (1.183, 0.55, 0.8), (1.506, 0.45, 0.6),
                 (2.0, 0.4, 0.55), (2.514, 0.3, 0.42), (2.662, 0.22, 0.35), (3.011, 0.18, 0.3),
                 (4.166, 0.12, 0.22), (5.433, 0.08, 0.15)]


def bell(freq, seconds, ring=1.0, rng=None, brightness=1.0):
    n = samples(seconds)
    out = np.zeros(n)
    for i, (ratio, level, life) in enumerate(BELL_PARTIALS):
        f = freq * ratio
        if f > SR * 0.45:
            continue
        # A slight beat between two close copies gives the shimmer of a real bell.
        detune = 1.0 + 0.0015 * ((i % 3) - 1)
        amp = level * (brightness if ratio > 2.0 else 1.0)
        out += amp * decay(n, ring * life) * 0.5 * (sine(f, n) + sine(f * detune, n, 1.0))
    strike = np.zeros(n)
    if rng is not None:
        m = min(n, samples(0.004))
        strike[:m] = rng.standard_normal(m) * np.linspace(1, 0, m) * 0.3
        strike = highpass(strike, 3000)
    # A bell cut short dies away over its last third rather than stopping.
    return fade(out + strike, 0.0005, seconds / 3.0)


# Vowel formants (Hz) and their bandwidths, for an adult voice; a child or a spirit scales them up.
VOWELS = {
    "a": ([800, 1200, 2500, 3500], [80, 90, 120, 150], [1.0, 0.5, 0.25, 0.1]),
    "e": ([450, 1900, 2550, 3500], [70, 100, 120, 150], [1.0, 0.45, 0.3, 0.1]),
    "i": ([300, 2250, 3000, 3600], [50, 100, 120, 150], [1.0, 0.3, 0.25, 0.1]),
    "o": ([450, 800, 2500, 3500], [70, 80, 120, 150], [1.0, 0.5, 0.1, 0.05]),
    "u": ([325, 700, 2500, 3500], [50, 60, 120, 150], [1.0, 0.25, 0.06, 0.03]),
}


def voice(f0, vowel_track, n, scale=1.0, breath=0.0, rng=None):
    """A sung or spoken vowel: harmonics of the pitch f0 (array or number) weighted by the vowel's
    formant peaks. vowel_track is a list of (seconds, vowel) points blended linearly."""
    f0 = np.broadcast_to(np.asarray(f0, dtype=float), (n,)).copy()
    ts = [p[0] for p in vowel_track]
    formants = []
    for k in range(4):
        freq = np.interp(times(n), ts, [VOWELS[v][0][k] * scale for _, v in vowel_track])
        width = np.interp(times(n), ts, [VOWELS[v][1][k] * scale for _, v in vowel_track])
        level = np.interp(times(n), ts, [VOWELS[v][2][k] for _, v in vowel_track])
        formants.append((freq, width, level))
    ph = phase(f0, n)
    out = np.zeros(n)
    top = int(min(60, (SR * 0.45) // max(1.0, float(np.max(f0)))))
    for h in range(1, top + 1):
        hf = f0 * h
        gain = np.zeros(n)
        for freq, width, level in formants:
            gain += level / (1.0 + ((hf - freq) / (0.5 * width)) ** 2)
        # The glottal source falls about 12 dB per octave.
        out += gain * np.sin(ph * h) / h
    if breath > 0.0 and rng is not None:
        air = noise(n, rng)
        air = bandpass(air, 1500 * scale, 2500 * scale)
        out += breath * air * np.std(out) / max(1e-9, np.std(air))
    return out


# --- space --------------------------------------------------------------------------------------


def room(seconds, damping, rng, stereo=False):
    """A synthetic impulse response: decaying noise that darkens as it dies, a few early echoes."""
    n = samples(seconds)
    def one():
        tail = noise(n, rng) * decay(n, seconds / 6.9)
        tail = moving_filter(tail, lambda t, f: 1.0 / (1.0 + (f / (damping / (1.0 + 6.0 * t))) ** 2),
                             frame=1024, hop=256)
        for delay, level in ((0.011, 0.5), (0.019, 0.35), (0.027, 0.3), (0.041, 0.2)):
            d = samples(delay * rng.uniform(0.8, 1.2))
            if d < n:
                tail[d] += level * 3.0
        return tail / np.sqrt(np.sum(tail ** 2))
    if stereo:
        return np.stack([one(), one()], axis=1)
    return one()


def convolve(x, ir, circular=False):
    """x convolved with ir; circular wraps the tail to the start (for loops), otherwise the result is
    as long as x plus the tail. Stereo ir with mono x gives stereo."""
    n, m = x.shape[0], ir.shape[0]
    size = n + m - 1
    if x.ndim == 1 and ir.ndim == 2:
        x = np.stack([x, x], axis=1)
    elif x.ndim == 2 and ir.ndim == 1:
        ir = np.stack([ir, ir], axis=1)
    # Overlap-add in blocks a few times the response's length: small FFTs that stay in cache.
    fft = 1 << int(np.ceil(np.log2(2 * m)))
    block = fft - m + 1
    def one(signal, response):
        spectrum = np.fft.rfft(response, fft)
        result = np.zeros(size + fft)
        for start in range(0, n, block):
            piece = np.fft.irfft(np.fft.rfft(signal[start:start + block], fft) * spectrum, fft)
            result[start:start + fft] += piece
        return result[:size]
    if x.ndim == 1:
        out = one(x, ir)
    else:
        out = np.stack([one(np.ascontiguousarray(x[:, c]), np.ascontiguousarray(ir[:, c]))
                        for c in range(x.shape[1])], axis=1)
    if not circular:
        return out
    # A loop takes its tail back in at its start (the tail is shorter than the loop).
    looped = out[:n].copy()
    looped[:size - n] += out[n:]
    return looped


def reverb(x, rng, seconds=1.2, wet=0.3, damping=6000.0):
    """Dry plus a reverb tail, as long as the sound plus its tail."""
    tail = convolve(x, room(seconds, damping, rng))
    dry = np.concatenate([x, np.zeros(tail.shape[0] - x.shape[0])])
    scale = np.std(x) / max(1e-9, np.std(tail[:x.shape[0]]))
    return dry + wet * tail * scale


def pan(x, position):
    """Mono to stereo, position -1 (left) .. 1 (right), constant power."""
    angle = (position + 1.0) * np.pi / 4.0
    return np.stack([x * np.cos(angle), x * np.sin(angle)], axis=1)


# --- levels and files ---------------------------------------------------------------------------


def peak(x):
    return float(np.max(np.abs(x)))


def rms(x):
    return float(np.sqrt(np.mean(np.square(x))))


def level(x, peak_db=-1.0, rms_db=None):
    """Scales to the RMS target when given, but never above the peak ceiling."""
    gain = db(peak_db) / max(1e-12, peak(x))
    if rms_db is not None:
        gain = min(gain, db(rms_db) / max(1e-12, rms(x)))
    return x * gain


def fit(x, seconds):
    """Cuts a sound to at most seconds, fading out over its last 50 ms if it had to be cut."""
    n = samples(seconds)
    if x.shape[0] <= n:
        return x
    return fade(x[:n], 0.0, 0.05)


def write_wav(path, x):
    data = np.clip(np.round(np.asarray(x) * 32767.0), -32767, 32767).astype("<i2")
    channels = 1 if data.ndim == 1 else data.shape[1]
    with wave.open(str(path), "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(SR)
        out.writeframes(data.tobytes())
