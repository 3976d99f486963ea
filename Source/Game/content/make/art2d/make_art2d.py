"""Makes the game's 2D art into the asset root given on the command line: the menu and HUD pictures,
the effect sprite sheets and the animated-sprite sheets.

Usage: make_art2d.py <asset root> <stamp file> [part of a path: make only the matching pictures]
"""
import multiprocessing
import os
import sys
import time

# The build must not write into the source tree.
sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "lib"))

import dds  # noqa: E402
import fx_art  # noqa: E402
import paint as p  # noqa: E402
import ui_art  # noqa: E402


def jobs():
    return list(ui_art.PICTURES.items()) + list(fx_art.sheets())


def make(task):
    root, index = task
    relative, paint = jobs()[index]
    path = os.path.join(root, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image = paint()
    if image[..., 3].min() < 0.999:
        p.soften_edges(image, 0.1 * min(image.shape[:2]))
    dds.write(path, image, srgb=True)
    return relative


def main():
    root, stamp = sys.argv[1], sys.argv[2]
    only = sys.argv[3] if len(sys.argv) > 3 else ""
    start = time.time()
    # The full-screen pictures take longest: start them first so the pool ends together.
    listed = jobs()
    order = sorted(range(len(listed)), key=lambda i: not listed[i][0].endswith(("Screen_T.dds", "Map_T.dds")))
    tasks = [(root, i) for i in order if only in listed[i][0]]
    workers = max(1, min(6, (os.cpu_count() or 2) - 1))
    with multiprocessing.Pool(workers) as pool:
        made = pool.map(make, tasks, chunksize=1)
    with open(stamp, "w") as stream:
        stream.write("\n".join(sorted(made)) + "\n")
    print("[art2d] %d pictures in %.1f s" % (len(made), time.time() - start))


if __name__ == "__main__":
    main()
