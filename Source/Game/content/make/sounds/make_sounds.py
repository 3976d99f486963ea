"""Makes every file of the game's sound bank into the given "Audio/" folder: the effects and the
music, rendered in parallel, the looping themes encoded to MP3 with lame. Prints the time it took.

Usage: make_sounds.py OUTPUT_FOLDER STAMP_FILE
"""
import os
import subprocess
import sys
import tempfile
import time
import zlib
from concurrent.futures import ProcessPoolExecutor
from pathlib import Path

import numpy as np

from dsp import db, fade, fit, level, peak, rms, write_wav
from effects import EFFECTS
from songs import SONGS

PEAK_DB = -1.0
# lame's decoder may overshoot the source by a fraction of a dB, so MP3s get more headroom.
MP3_PEAK_DB = -2.0
CREST_DB = 22.0


def _jobs():
    # The long pieces first, so the short effects fill the gaps at the end.
    return [(name, "song") for name in SONGS] + [(name, "effect") for name in EFFECTS]


def _without_silent_end(signal, floor_db=-60.0):
    loud = np.nonzero(np.abs(signal) > np.max(np.abs(signal)) * 10.0 ** (floor_db / 20.0))[0]
    end = loud[-1] + int(0.02 * 44100) if loud.size else signal.shape[0]
    return signal[:end]


def make(job):
    name, kind = job
    started = time.process_time()
    rng = np.random.default_rng(zlib.crc32(name.encode()))
    if kind == "song":
        compose, longest, loudness = SONGS[name]
        signal, loops = compose(), longest is None
    else:
        recipe, longest, loudness, loops = EFFECTS[name]
        signal = recipe(rng)
    if longest is not None:
        # A one-shot stops where it falls silent, a hair inside the time the game keeps it busy, and
        # fades over its last moments so a cut never clicks.
        signal = fit(_without_silent_end(signal), longest - 0.01)
        signal = fade(signal, 0.001, min(0.25, 0.15 * signal.shape[0] / 44100.0))
    if kind == "effect" and peak(signal) > db(CREST_DB) * rms(signal):
        # A spiky sound (a crack, a clatter) gets its first spike rounded off, so it is not
        # quieter than the rest for the sake of one sample.
        signal = np.tanh(2.0 * signal / peak(signal))
    is_mp3 = name.endswith(".mp3")
    signal = level(signal, MP3_PEAK_DB if is_mp3 else PEAK_DB, loudness)
    target = Path(OUTPUT) / name
    if is_mp3:
        with tempfile.TemporaryDirectory() as scratch:
            wav = Path(scratch) / "in.wav"
            write_wav(wav, signal)
            subprocess.run(["lame", "--quiet", "--noreplaygain", "-q", "2", "-V", "2", str(wav),
                            str(target) + ".part"], check=True)
    else:
        write_wav(str(target) + ".part", signal)
    os.replace(str(target) + ".part", target)
    return name, signal.shape[0] / 44100.0, time.process_time() - started


def _set_output(folder):
    global OUTPUT
    OUTPUT = folder


OUTPUT = None


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    output, stamp = Path(sys.argv[1]), Path(sys.argv[2])
    output.mkdir(parents=True, exist_ok=True)
    started = time.perf_counter()
    # Numpy's own threads would only fight the worker processes for the cores.
    os.environ["OMP_NUM_THREADS"] = "1"
    workers = max(1, min(len(_jobs()), os.cpu_count() or 1))
    with ProcessPoolExecutor(workers, initializer=_set_output, initargs=(str(output),)) as pool:
        results = list(pool.map(make, _jobs()))
    slowest = max(results, key=lambda r: r[2])
    elapsed = time.perf_counter() - started
    work = sum(r[2] for r in results)
    # The machine's load says how far the wall time is the sounds' own.
    load = os.getloadavg()[0]
    print(f"[Sounds] made {len(results)} files in {elapsed:.1f} s on {workers} processes "
          f"({work:.1f} s of CPU; slowest: {slowest[0]}, {slowest[2]:.1f} s; load average {load:.1f})")
    stamp.write_text("".join(f"{name} {seconds:.3f}\n" for name, seconds, _ in sorted(results)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
