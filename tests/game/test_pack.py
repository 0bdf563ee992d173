"""vexlo-pack: packing the example, unpacking and repacking it, the error
messages and exit codes, and that a failed build leaves nothing behind."""
import json
import os
import stat
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gamekit  # noqa: E402

SHOWCASE = os.path.join(gamekit.EXAMPLES, "showcase")


def tree(root):
    """Relative file names under root mapped to their bytes."""
    out = {}
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                out[os.path.relpath(path, root)] = f.read()
    return out


def set_manifest(p, key, value):
    with open(p.path("game.json")) as f:
        manifest = json.load(f)
    manifest[key] = value
    p.write({"game.json": manifest})


class RoundTrip(unittest.TestCase):
    def test_pack_unpack_repack_gives_the_same_project(self):
        with gamekit.Project(copy_from=SHOWCASE) as p:
            code, _, err = p.pack()
            self.assertEqual(code, 0, err)
            mode = os.stat(p.game).st_mode
            self.assertTrue(mode & stat.S_IXUSR, "the game is not executable")
            first = os.path.join(p.dir, "first")
            second = os.path.join(p.dir, "second")
            regame = os.path.join(p.dir, "regame")
            self.assertEqual(gamekit.unpack(p.game, first)[0], 0)
            code, _, err = gamekit.pack(first, regame)
            self.assertEqual(code, 0, err)
            self.assertEqual(gamekit.unpack(regame, second)[0], 0)
            self.assertEqual(tree(first), tree(second))
            # The unpacked project names the resources of the original.
            names = tree(first)
            for name in ("sprites/spr_ball.json", "objects/obj_ball.json",
                         "rooms/rm_main.json", "scripts/scr_greet.vxs",
                         "fonts/fnt_main.png", "sounds/snd_beep.wav"):
                self.assertIn(name, names)
            with open(os.path.join(SHOWCASE, "scripts", "scr_greet.vxs"), "rb") as f:
                self.assertEqual(names["scripts/scr_greet.vxs"], f.read())

    def test_the_packed_example_loads_in_the_runner(self):
        with gamekit.Project(copy_from=SHOWCASE) as p:
            code, out, err = p.run(max_steps=3)
            self.assertNotIn("Error: ", err)
            self.assertNotIn("File seems corrupted", err)

    def test_unpack_refuses_a_non_empty_output(self):
        with gamekit.Project(copy_from=SHOWCASE) as p:
            self.assertEqual(p.pack()[0], 0)
            code, _, err = gamekit.unpack(p.game, p.root)
            self.assertEqual(code, 1)
            self.assertIn("not an empty directory", err)

    def test_unpack_of_a_file_without_a_game(self):
        with gamekit.Project() as p:
            code, _, err = gamekit.unpack(gamekit.RUNNER, os.path.join(p.dir, "out"))
            self.assertEqual(code, 1)
            self.assertIn("Not a valid game file", err)
            self.assertFalse(os.path.exists(os.path.join(p.dir, "out")))


class Errors(unittest.TestCase):
    def assert_fails(self, p, expected):
        """Packs p, expects exit 1, the message `expected` at the start of a
        line of standard error, and no output file or temporary left."""
        code, out, err = p.pack()
        self.assertEqual(code, 1, err)
        self.assertTrue(any(line.startswith(expected) for line in err.splitlines()),
                        "%r not in %r" % (expected, err))
        self.assertEqual(sorted(os.listdir(p.dir)), ["project"])

    def test_errors_name_the_file(self):
        cases = [
            ("missing file", lambda p: os.remove(p.path("sprites/spr_wall/0.png")),
             "sprites/spr_wall/0.png: file not found"),
            ("malformed JSON",
             lambda p: p.write({"backgrounds/bg_sky.json": '{\n  "image": "bg_sky.png",\n  oops\n}\n'}),
             "backgrounds/bg_sky.json:3:3: invalid JSON"),
            ("unknown resource name",
             lambda p: p.write({"objects/obj_wall.json": {"sprite": "spr_nothing"}}),
             'objects/obj_wall.json: "sprite": unknown sprite "spr_nothing"'),
            ("bad PNG", lambda p: p.write({"backgrounds/bg_sky.png": b"not a png"}),
             "backgrounds/bg_sky.png: cannot decode PNG image"),
            ("misspelt field",
             lambda p: p.write({"backgrounds/bg_sky.json": {"image": "bg_sky.png", "imgae": 1}}),
             'backgrounds/bg_sky.json: unknown field "imgae"'),
            ("support library outside the temporary directory",
             lambda p: set_manifest(p, "support_library", {"name": "../lib.bin"}),
             'game.json: support_library: "name": expected a plain file name'),
            ("room order naming no room",
             lambda p: set_manifest(p, "room_order", ["rm_main", "rm_none"]),
             'game.json: room_order[1]: unknown room "rm_none"'),
            ("text beyond Latin-1",
             lambda p: p.write({"scripts/scr_greet.vxs": "x = \"\u20ac\";"}),
             "scripts/scr_greet.vxs: "),
        ]
        for label, damage, expected in cases:
            with self.subTest(label), gamekit.Project(copy_from=SHOWCASE) as p:
                damage(p)
                self.assert_fails(p, os.path.join(p.root, expected))

    def test_a_failed_build_keeps_the_previous_game(self):
        with gamekit.Project(copy_from=SHOWCASE) as p:
            with open(p.game, "wb") as f:
                f.write(b"old")
            os.remove(p.path("game.json"))
            code, _, err = p.pack()
            self.assertEqual(code, 1)
            self.assertIn("game.json: file not found", err)
            with open(p.game, "rb") as f:
                self.assertEqual(f.read(), b"old")
            self.assertEqual(sorted(os.listdir(p.dir)), ["game", "project"])

    def test_check_validates_without_output(self):
        with gamekit.Project(copy_from=SHOWCASE) as p:
            code, _, err = gamekit.run([gamekit.PACK, "--check", p.root])
            self.assertEqual(code, 0, err)
            p.write({"rooms/rm_main.json": {"instances": [{"object": "obj_gone"}]}})
            code, _, err = gamekit.run([gamekit.PACK, "--check", p.root])
            self.assertEqual(code, 1)
            self.assertIn('unknown object "obj_gone"', err)
            self.assertEqual(sorted(os.listdir(p.dir)), ["project"])

    def test_runner_that_is_not_an_executable(self):
        with gamekit.Project(copy_from=SHOWCASE) as p:
            fake = os.path.join(p.dir, "fake")
            with open(fake, "wb") as f:
                f.write(b"plain text")
            code, _, err = p.pack("--runner", fake)
            self.assertEqual(code, 1)
            self.assertIn("not a runner executable", err)
            self.assertFalse(os.path.exists(p.game))


class CommandLine(unittest.TestCase):
    def test_help_and_usage_errors(self):
        code, out, _ = gamekit.run([gamekit.PACK, "--help"])
        self.assertEqual(code, 0)
        self.assertIn("--unpack", out)
        self.assertIn("--check", out)
        for args in ([], ["--bogus"], ["a", "b"], ["dir"], ["--check"],
                     ["--unpack", "g", "--check", "p"], ["--check", "p", "-o", "x"]):
            with self.subTest(args=args):
                code, _, err = gamekit.run([gamekit.PACK] + args)
                self.assertEqual(code, 2, err)
                self.assertIn("usage:", err)


class Kit(unittest.TestCase):
    def test_minimal_project_packs(self):
        files = gamekit.minimal_project(
            {"obj_hello": {"create": 'show_debug_message("hello");'}})
        with gamekit.Project(files) as p:
            code, _, err = p.pack()
            self.assertEqual(code, 0, err)


if __name__ == "__main__":
    unittest.main()
