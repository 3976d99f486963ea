"""Regenerates the characters with Blender and writes MANIFEST.md from what each script reports.

Usage: /usr/bin/python3 make_all.py [script ...]   (default: every character script; the FBX files
land under data/game/ and are committed; the manifest keeps the rows of scripts not run again.)
"""
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPTS = ["player", "small_enemy", "big_enemy", "boss", "eye", "door"]
FACING = {"CH_Boss": "-x (toward the player, who comes from the left)",
          "EN_Eye": "+z of the file, -z in the game: the pupil looks at the camera",
          "EN_LevelEnd_Door": "+z of the file, -z in the game: the doorway faces the camera"}
RECORDS = os.path.join(HERE, "records.json")


def run(script):
    # A fixed string hash keeps the exporter's object ids, and so unchanged files, the same.
    env = dict(os.environ, PYTHONHASHSEED="0")
    result = subprocess.run(["blender", "-b", "--factory-startup", "--python-use-system-env", "--python",
                             os.path.join(HERE, script + ".py")], capture_output=True, text=True, env=env)
    for line in result.stdout.splitlines():
        if line.startswith("[characters] RECORD "):
            return json.loads(line[len("[characters] RECORD "):])
    sys.stderr.write(result.stdout[-3000:] + result.stderr[-3000:])
    raise SystemExit("%s.py made no model" % script)


def write_manifest(records):
    lines = ["# Characters", "",
             "Made by the Blender scripts beside this file (`make_all.py` runs them all and rewrites this "
             "list). Every file is in centimetres, Y up, feet (or base) at y = 0 (the eye floats: its "
             "origin is 50 cm below the eyeball); x is the character's front unless noted; clips are "
             "baked at 30 fps, frame 0 to the last frame inclusive, and a looping clip's last frame equals "
             "its first.", "", "## Models", "",
             "| model | size x * y * z (cm) | facing | triangles | joints |", "|---|---|---|---|---|"]
    for r in records:
        size = " * ".join("%.0f" % (hi - lo) for lo, hi in zip(r["min"], r["max"]))
        size += " (y %.0f to %.0f)" % (r["min"][1], r["max"][1])
        lines.append("| models/SK/%s.fbx | %s | %s | %d | %d: %s |" % (
            r["stem"], size, FACING.get(r["stem"], "+x"), r["triangles"], len(r["joints"]), ", ".join(r["joints"])))
    lines += ["", "Colour textures: textures/Common/<model stem>_T.dds, painted at build time by "
              "`make_textures.py` from the regions in `layout.py`.", "", "## Clips", "",
              "| clip | model | length (s) | frames | loop |", "|---|---|---|---|---|"]
    for r in records:
        for path, length, looping in r["clips"]:
            lines.append("| %s | models/SK/%s.fbx | %.3f | %d | %s |" % (
                path, r["stem"], length, round(length * 30) + 1, "loop" if looping else "once"))
    with open(os.path.join(HERE, "MANIFEST.md"), "w") as f:
        f.write("\n".join(lines) + "\n")


def main(argv):
    wanted = argv[1:] or SCRIPTS
    known = {}
    if os.path.exists(RECORDS):
        with open(RECORDS) as f:
            known = json.load(f)
    for script in wanted:
        record = run(script)
        known[script] = record
        print("[characters] %s: %d triangles, %d clips" % (record["stem"], record["triangles"], len(record["clips"])))
    with open(RECORDS, "w") as f:
        json.dump(known, f, indent=1, sort_keys=True)
    write_manifest([known[s] for s in SCRIPTS if s in known])


if __name__ == "__main__":
    main(sys.argv)
