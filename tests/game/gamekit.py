"""gamekit: helpers for game-level tests.

Write a project (a dict of relative file names to contents) into a temporary
directory, pack it with vexlo-pack, and run the game headless. The build
directory comes from the environment variable VEXLO_BUILD_DIR (default
../../build, relative to this file).

    with gamekit.Project({"game.json": {...}, "objects/o.json": {...},
                          "objects/o/create.vxs": "show_debug_message(1);"}) as p:
        code, out, err = p.run(max_steps=5)
"""
import json
import os
import shutil
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.environ.get("VEXLO_SOURCE_DIR", os.path.normpath(os.path.join(HERE, "..", "..")))
BUILD_DIR = os.environ.get("VEXLO_BUILD_DIR", os.path.normpath(os.path.join(HERE, "..", "..", "build")))
PACK = os.path.join(BUILD_DIR, "vexlo-pack")
RUNNER = os.path.join(BUILD_DIR, "vexlo-runner")
EXAMPLES = os.path.join(SOURCE_DIR, "examples")


def write_files(root, files):
    """Writes files (relative name -> str, bytes, or a dict/list written as
    JSON) under root, making folders as needed."""
    for name, content in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if isinstance(content, (dict, list)):
            content = json.dumps(content, indent=2) + "\n"
        mode = "wb" if isinstance(content, bytes) else "w"
        with open(path, mode) as f:
            f.write(content)


def minimal_project(objects=None, code=None, settings=None):
    """A one-room project. objects maps an object name to its event list
    (type -> code text); code gives extra files. The room holds one instance
    of each object, in the order given."""
    objects = objects or {}
    files = {}
    instances = []
    for name, events in objects.items():
        event_list = []
        for event_type, text in events.items():
            number = 0
            if ":" in event_type:
                event_type, number = event_type.split(":")
                number = int(number)
            file = "%s/%s_%d.vxs" % (name, event_type, number)
            files["objects/" + file] = text
            event_list.append({"type": event_type, "number": number,
                               "actions": [{"code": file}]})
        files["objects/%s.json" % name] = {"events": event_list}
        instances.append({"x": 0, "y": 0, "object": name})
    files["rooms/room0.json"] = {"instances": instances}
    files["game.json"] = {
        "settings": settings or {},
        "resources": {"objects": list(objects), "rooms": ["room0"]},
        "room_order": ["room0"],
    }
    files.update(code or {})
    return files


def run(args, env=None, timeout=60):
    """Runs a command; returns (exit code, stdout, stderr) as text."""
    proc = subprocess.run(args, capture_output=True, timeout=timeout, env=env)
    return (proc.returncode, proc.stdout.decode("utf-8", "replace"),
            proc.stderr.decode("utf-8", "replace"))


def pack(project_dir, output, *extra):
    return run([PACK, project_dir, "-o", output] + list(extra))


def unpack(game, output_dir):
    return run([PACK, "--unpack", game, "-o", output_dir])


def run_game(game, max_steps=10, env=None, cwd=None, timeout=60):
    """Runs a packed game headless for at most max_steps steps."""
    full_env = dict(os.environ)
    full_env.update({"VEXLO_HEADLESS": "1", "VEXLO_FAST": "1",
                     "VEXLO_MAX_STEPS": str(max_steps)})
    full_env.update(env or {})
    proc = subprocess.run([os.path.abspath(game)], capture_output=True, timeout=timeout,
                          env=full_env, cwd=cwd or os.path.dirname(os.path.abspath(game)))
    return (proc.returncode, proc.stdout.decode("utf-8", "replace"),
            proc.stderr.decode("utf-8", "replace"))


class Project:
    """A temporary project directory; removed on exit of the with block."""

    def __init__(self, files=None, copy_from=None):
        self.dir = tempfile.mkdtemp(prefix="vexlo_game_")
        self.root = os.path.join(self.dir, "project")
        if copy_from:
            shutil.copytree(copy_from, self.root)
        else:
            os.makedirs(self.root)
        write_files(self.root, files or {})
        self.game = os.path.join(self.dir, "game")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        shutil.rmtree(self.dir, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.root, name)

    def write(self, files):
        write_files(self.root, files)

    def pack(self, *extra):
        return pack(self.root, self.game, *extra)

    def run(self, max_steps=10, env=None, timeout=60):
        """Packs, then runs the game. Raises AssertionError when packing
        fails."""
        code, out, err = self.pack()
        if code != 0:
            raise AssertionError("vexlo-pack failed (%d): %s" % (code, err))
        return run_game(self.game, max_steps, env=env, cwd=self.dir, timeout=timeout)


def png_bytes(width, height, pixels):
    """A PNG file (8-bit RGBA) of width x height; pixels is a list of
    (r, g, b, a) tuples, rows top to bottom."""
    import struct
    import zlib
    raw = b"".join(
        b"\x00" + b"".join(bytes(pixels[y * width + x]) for x in range(width))
        for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def read_png(path):
    """Decodes an 8-bit RGBA or RGB, non-interlaced PNG file (as the runner
    writes them). Returns (width, height, rows); rows[y][x] is (r, g, b, a)."""
    import struct
    import zlib
    with open(path, "rb") as f:
        data = f.read()
    pos, idat = 8, b""
    while pos < len(data):
        length, = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour_type = struct.unpack(">IIBB", body[:10])
        elif kind == b"IDAT":
            idat += body
    channels = 4 if colour_type == 6 else 3
    raw, rows, stride = zlib.decompress(idat), [], width * channels
    previous, i = bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - channels] if x >= channels else 0
            b = previous[x]
            c = previous[x - channels] if x >= channels else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        pixels = [tuple(line[x * channels:(x + 1) * channels]) for x in range(width)]
        if channels == 3:
            pixels = [p + (255,) for p in pixels]
        rows.append(pixels)
        previous = line
    return width, height, rows


def png_of(width, height, pixel):
    """A PNG file (8-bit RGBA) of width x height; pixel(x, y) gives its
    (r, g, b, a)."""
    return png_bytes(width, height, [tuple(pixel(x, y)) for y in range(height)
                                     for x in range(width)])


def object_events(name, events):
    """The event files and event list of object name. events maps "type" or
    "type:number" (or "collision:OBJECT") to code; each code goes into
    objects/NAME/TYPE_NUMBER.vxs. Returns (files, event_list)."""
    files, event_list = {}, []
    for key, text in events.items():
        event_type, _, number = key.partition(":")
        file = "%s/%s_%s.vxs" % (name, event_type, number or "0")
        files["objects/" + file] = text
        event = {"type": event_type, "actions": [{"code": file}]}
        if event_type == "collision":
            event["object"] = number
        else:
            event["number"] = int(number or 0)
        event_list.append(event)
    return files, event_list


def run_lines(files, max_steps):
    """Packs and runs the project files for at most max_steps steps in a
    temporary directory; returns (exit code, output lines, stderr)."""
    with Project(files) as p:
        code, out, err = p.run(max_steps=max_steps)
    return code, out.splitlines(), err
