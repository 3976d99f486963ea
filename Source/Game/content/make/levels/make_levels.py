"""Makes the game's levels from their text maps.

    make_levels.py OUTPUT_ROOT STAMP [MAP ...]

For every map (maps/*.txt when none is named) it writes, below OUTPUT_ROOT (the game asset root):
"levels/<stem>.vks", the folder "levels/<stem>.leveldata" with one object file per object, named by a
UUID that sorts in map order, and, once for all maps, "definitions/VKO_<Tag>.vko" for every tag the
game builds. STAMP is touched when all is written.

A map is a text file of sections; '#' starts a comment line.

    [level]                   key = value lines: "origin = <char>" names the cell at (0, 0, 0)
                              (by default the player's cell, else the bottom-left one)
    [legend]                  <char> <Tag> key=value ... (over legend.txt's entries)
    [objects]                 <Tag> key=value ...: objects placed by "position=x,y,z" in world units
    [map]                     one character per 100 x 100 tile, the bottom row last; '.' and ' ' are empty

Legend and object keys: "model" (a model path), "name" (the name's prefix; a number is appended),
"fullname" (the whole name, kept as written: the background layers are found by their exact name),
"offset", "rotation", "scale" (x,y,z), "position" (objects only), "definition" (an object definition of
the author's own); any other key is a property. Its type is the one the tag's builder reads, or the
one written after the key ("Wave:Int=3"), or else read from the value: true/false Bool, a whole number
Int, a number Float, three numbers Float3, four Color, anything else StringId. Keys and values with
blanks go in double quotes: "Damage Per Hit"=2. Backslashes are kept as written.

Tiles of the tile tags (Ground, Platform, BreakableBlock) are placed by their minimum corner, so their
100 x 100 x 200 box fills the cell and spans z -100..100; every other object stands at the bottom
centre of its cell.
"""

import hashlib
import json
import os
import re
import shutil
import sys

import level_schema as schema

HERE = os.path.dirname(os.path.abspath(__file__))
TILE = 100.0
EMPTY_CELLS = (".", " ")
PLACEMENT_KEYS = ("model", "name", "fullname", "offset", "rotation", "scale", "position", "definition")


class MapError(Exception):
    pass


def tokenize(aLine):
    """Blank-separated tokens; double quotes group blanks and are dropped; backslashes stay."""
    tokens = re.findall(r'(?:[^\s"]+|"[^"]*")+', aLine)
    return [token.replace('"', "") for token in tokens]


def parse_vector(aText, aCount, aWhere):
    parts = [part for part in aText.split(",") if part != ""]
    if len(parts) != aCount:
        raise MapError(f"{aWhere}: '{aText}' is not {aCount} numbers")
    try:
        return [float(part) for part in parts]
    except ValueError:
        raise MapError(f"{aWhere}: '{aText}' is not {aCount} numbers") from None


def infer_type(aText):
    if aText in ("true", "false"):
        return "Bool"
    if re.fullmatch(r"[-+]?\d+", aText):
        return "Int"
    if re.fullmatch(r"[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?", aText):
        return "Float"
    parts = aText.split(",")
    if len(parts) in (3, 4) and all(re.fullmatch(r"[-+]?(\d+\.?\d*|\.\d+)", part) for part in parts):
        return "Float3" if len(parts) == 3 else "Color"
    return "StringId"


def parse_value(aType, aText, aWhere):
    if aType == "Int":
        try:
            return int(aText)
        except ValueError:
            raise MapError(f"{aWhere}: '{aText}' is not a whole number") from None
    if aType == "Float":
        try:
            return float(aText)
        except ValueError:
            raise MapError(f"{aWhere}: '{aText}' is not a number") from None
    if aType == "Bool":
        if aText not in ("true", "false"):
            raise MapError(f"{aWhere}: '{aText}' is not true or false")
        return aText == "true"
    if aType == "Float3":
        return parse_vector(aText, 3, aWhere)
    if aType == "Color":
        return parse_vector(aText, 4, aWhere)
    if aType == "Model":
        return {"path": aText}
    return aText


def declared_type(aTag, aKey):
    for name, kind, _ in schema.COMMON + schema.TAGS.get(aTag, []):
        if name == aKey:
            return kind
    return None


class Entry:
    """What one legend character or one loose object stands for."""

    def __init__(self, aTag, aTokens, aWhere):
        if aTag not in schema.TAGS:
            raise MapError(f"{aWhere}: unknown tag '{aTag}'")
        self.tag = aTag
        self.placement = {}
        self.properties = {}
        for token in aTokens:
            if "=" not in token:
                raise MapError(f"{aWhere}: '{token}' is not key=value")
            key, text = token.split("=", 1)
            if key in PLACEMENT_KEYS:
                self.placement[key] = text
                continue
            kind = None
            if ":" in key and key.rsplit(":", 1)[1] in schema.TYPES:
                key, kind = key.rsplit(":", 1)
            known = declared_type(aTag, key)
            if kind is not None and known is not None and kind != known:
                raise MapError(f"{aWhere}: '{key}' of {aTag} is a {known}, not a {kind}")
            kind = kind or known or infer_type(text)
            self.properties[key] = (kind, parse_value(kind, text, aWhere))

    def with_overrides(self, aOther):
        merged = Entry(self.tag, [], "")
        merged.placement = {**self.placement, **aOther.placement}
        merged.properties = {**self.properties, **aOther.properties}
        return merged


def read_sections(aPath):
    sections = {}
    current = None
    with open(aPath, encoding="utf-8") as file:
        for number, raw in enumerate(file, 1):
            line = raw.rstrip("\n")
            if current != "map" and (line.strip() == "" or line.lstrip().startswith("#")):
                continue
            header = re.fullmatch(r"\[(\w+)\]\s*", line)
            if header:
                current = header.group(1)
                if current not in ("level", "legend", "objects", "map"):
                    raise MapError(f"{aPath}:{number}: unknown section [{current}]")
                sections.setdefault(current, [])
                continue
            if current is None:
                raise MapError(f"{aPath}:{number}: text before the first section")
            sections[current].append((number, line))
    return sections


def read_legend(aLines, aPath, aLegend):
    for number, line in aLines:
        tokens = tokenize(line)
        if len(tokens) < 2 or len(line) < 1 or line[0].isspace():
            raise MapError(f"{aPath}:{number}: a legend line is '<char> <Tag> key=value ...'")
        aLegend[line[0]] = Entry(tokens[1], tokens[2:], f"{aPath}:{number}")


class Level:
    def __init__(self, aPath, aLegend):
        self.path = aPath
        self.stem = os.path.splitext(os.path.basename(aPath))[0]
        sections = read_sections(aPath)
        self.header = {}
        for number, line in sections.get("level", []):
            if "=" not in line:
                raise MapError(f"{aPath}:{number}: a header line is 'key = value'")
            key, value = (part.strip() for part in line.split("=", 1))
            self.header[key] = value
        self.legend = dict(aLegend)
        read_legend(sections.get("legend", []), aPath, self.legend)
        self.rows = [line for _, line in sections.get("map", [])]
        while self.rows and self.rows[-1].strip() == "":
            self.rows.pop()
        self.loose = []
        for number, line in sections.get("objects", []):
            tokens = tokenize(line)
            self.loose.append(Entry(tokens[0], tokens[1:], f"{aPath}:{number}"))

    def cells(self):
        """(column, row from the bottom, character) of every filled cell, top row first, left to right."""
        height = len(self.rows)
        for index, line in enumerate(self.rows):
            for column, character in enumerate(line):
                if character not in EMPTY_CELLS:
                    yield column, height - 1 - index, character

    def origin(self):
        marker = self.header.get("origin")
        for column, row, character in self.cells():
            if marker is not None and character == marker:
                return column, row
            if marker is None and character in self.legend and self.legend[character].tag == "Player":
                return column, row
        if marker is not None:
            raise MapError(f"{self.path}: the origin '{marker}' is not on the map")
        return 0, 0

    def objects(self):
        """(entry, position) of every object, in map order and then the loose objects."""
        origin_column, origin_row = self.origin()
        placed = []
        for column, row, character in self.cells():
            entry = self.legend.get(character)
            if entry is None:
                raise MapError(f"{self.path}: '{character}' is not in the legend")
            x = (column - origin_column) * TILE
            y = (row - origin_row) * TILE
            position = [x - TILE / 2, y, -TILE] if entry.tag in schema.TILE_TAGS else [x, y, 0.0]
            placed.append((entry, position))
        for entry in self.loose:
            where = entry.placement.get("position", "0,0,0")
            placed.append((entry, parse_vector(where, 3, f"{self.path}: position of {entry.tag}")))
        return placed


def definition_name(aTag, aDerivedKeys):
    name = "VKO_" + aTag
    for key in sorted(aDerivedKeys):
        name += "_" + re.sub(r"[^A-Za-z0-9]", "", key)
    return name


def property_record(aName, aType, aValue, aPerInstance):
    return {"name": aName, "type": aType, "is-dynamic": False, "is-per-instance": aPerInstance, "value": aValue}


def make_definition(aTag, aDerivedKeys, aExtras):
    properties = [property_record("Tag", "StringId", aTag, False), property_record("Model", "Model", {"path": ""}, True)]
    for name, kind, default in schema.COMMON + schema.TAGS[aTag]:
        if default is None:
            if name not in aDerivedKeys:
                continue
            default = schema.zero_of(kind)
        properties.append(property_record(name, kind, default, True))
    for name, kind in sorted(aExtras.items()):
        properties.append(property_record(name, kind, schema.zero_of(kind), True))
    return {"parent-object-definition": "", "properties": properties}


def level_uuid(aStem, aIndex):
    """A UUID of the level's own that sorts in object order."""
    digest = hashlib.sha1(aStem.encode("utf-8")).hexdigest()
    return f"{digest[0:8]}-{digest[8:12]}-4{digest[13:16]}-8{digest[17:20]}-{aIndex:012x}"


class Generator:
    def __init__(self):
        self.extras = {tag: {} for tag in schema.TAGS}
        self.variants = {(tag, frozenset()) for tag in schema.TAGS}
        self.levels = []

    def add(self, aLevel):
        objects = []
        counters = {}
        for index, (entry, position) in enumerate(aLevel.objects()):
            where = f"{aLevel.path}: {entry.tag}"
            derived = frozenset(
                name for name, _, default in schema.TAGS[entry.tag] if default is None and name in entry.properties
            )
            for key, (kind, _) in entry.properties.items():
                if declared_type(entry.tag, key) is not None:
                    continue
                known = self.extras[entry.tag].setdefault(key, kind)
                if known != kind:
                    raise MapError(f"{where}: '{key}' is a {known} elsewhere and a {kind} here")
            definition = entry.placement.get("definition")
            if definition is None:
                self.variants.add((entry.tag, derived))
                definition = definition_name(entry.tag, derived)
            prefix = entry.placement.get("name", entry.tag)
            counters[prefix] = counters.get(prefix, 0) + 1
            offset = parse_vector(entry.placement.get("offset", "0,0,0"), 3, where)
            record = {
                "name": entry.placement.get("fullname", f"{prefix}_{counters[prefix]:03d}"),
                "object-definition": definition,
                "translation": [position[axis] + offset[axis] for axis in range(3)],
                "rotation": parse_vector(entry.placement.get("rotation", "0,0,0"), 3, where),
                "scale": parse_vector(entry.placement.get("scale", "1,1,1"), 3, where),
                "properties": [],
            }
            if "model" in entry.placement:
                record["properties"].append({"name": "Model", "type": "Model", "value": {"path": entry.placement["model"]}})
            for key, (kind, value) in entry.properties.items():
                record["properties"].append({"name": key, "type": kind, "value": value})
            objects.append((level_uuid(aLevel.stem, index + 1), record))
        self.levels.append((aLevel.stem, objects))

    def write(self, aRoot):
        levels_folder = os.path.join(aRoot, "levels")
        os.makedirs(levels_folder, exist_ok=True)
        for stem, objects in self.levels:
            data_folder = os.path.join(levels_folder, stem + ".leveldata")
            shutil.rmtree(data_folder, ignore_errors=True)
            os.makedirs(data_folder)
            for uuid, record in objects:
                write_json(os.path.join(data_folder, uuid), record)
            write_json(os.path.join(levels_folder, stem + ".vks"), {"name": stem, "objects": len(objects)})
        definitions_folder = os.path.join(aRoot, "definitions")
        shutil.rmtree(definitions_folder, ignore_errors=True)
        os.makedirs(definitions_folder)
        for tag, derived in sorted(self.variants, key=lambda item: (item[0], sorted(item[1]))):
            write_json(
                os.path.join(definitions_folder, definition_name(tag, derived) + ".vko"),
                make_definition(tag, derived, self.extras[tag]),
            )


def write_json(aPath, aValue):
    with open(aPath, "w", encoding="utf-8") as file:
        json.dump(aValue, file, indent=1)
        file.write("\n")


def main(aArguments):
    if len(aArguments) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    root, stamp = aArguments[0], aArguments[1]
    maps = aArguments[2:]
    if not maps:
        folder = os.path.join(HERE, "maps")
        maps = [os.path.join(folder, name) for name in sorted(os.listdir(folder)) if name.endswith(".txt")]
    legend = {}
    read_legend(read_sections(os.path.join(HERE, "legend.txt")).get("legend", []), "legend.txt", legend)
    generator = Generator()
    try:
        for path in maps:
            generator.add(Level(path, legend))
    except MapError as error:
        print(f"[make_levels] {error}", file=sys.stderr)
        return 1
    generator.write(root)
    with open(stamp, "w", encoding="utf-8") as file:
        file.write("\n".join(stem for stem, _ in generator.levels) + "\n")
    print(f"[make_levels] {len(generator.levels)} levels into {os.path.join(root, 'levels')}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
