"""Shipping games: vexlo-pack appends to the stripped runner
(vexlo-runner-ship) by default, finds it beside itself or in an
installation's libexec folder, takes another with --runner, and lists the
Debian packages a player needs with --print-deps."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gamekit  # noqa: E402

SHIP_RUNNER = os.path.join(gamekit.BUILD_DIR, "vexlo-runner-ship")
SHOWCASE = os.path.join(gamekit.EXAMPLES, "showcase")
MB = 1 << 20


def project_bytes(root):
    total = 0
    for folder, _, files in os.walk(root):
        total += sum(os.path.getsize(os.path.join(folder, f)) for f in files)
    return total


class Shipping(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="vexlo_ship_")

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def test_a_shipped_game_is_small_and_runs(self):
        """The example packed with the default runner: under 5 MB plus its
        data, it starts, runs its steps and unpacks again."""
        with gamekit.Project(copy_from=SHOWCASE) as p:
            code, _, err = p.pack()
            self.assertEqual(code, 0, err)
            data = project_bytes(p.root)
            size = os.path.getsize(p.game)
            self.assertLess(size, 5 * MB + data, "%d bytes for %d bytes of data" % (size, data))
            self.assertGreater(size, os.path.getsize(SHIP_RUNNER))
            code, _, err = gamekit.run_game(p.game, max_steps=3, cwd=p.dir)
            self.assertEqual(code, 0, err)
            code, _, err = gamekit.unpack(p.game, os.path.join(p.dir, "back"))
            self.assertEqual(code, 0, err)

    def test_the_shipping_runner_is_stripped(self):
        self.assertLess(os.path.getsize(SHIP_RUNNER), 5 * MB)
        sections = subprocess.run(["readelf", "-S", "-W", SHIP_RUNNER], capture_output=True,
                                  text=True, check=True).stdout
        self.assertNotIn(".debug_info", sections)
        self.assertNotIn(".symtab", sections)

    def test_print_deps_lists_the_packages(self):
        code, out, err = gamekit.run([gamekit.PACK, "--print-deps"])
        self.assertEqual(code, 0, err)
        packages = out.splitlines()
        for needed in ["libc6", "libsdl2-2.0-0", "zlib1g"]:
            self.assertIn(needed, packages)
        self.assertEqual(packages, sorted(set(packages)))
        for name in packages:
            self.assertRegex(name, r"^[a-z0-9][a-z0-9+.-]+$")
        # The same list for the runner named explicitly; none for a file
        # without one.
        code, same, err = gamekit.run([gamekit.PACK, "--print-deps", "--runner", SHIP_RUNNER])
        self.assertEqual((code, same), (0, out), err)
        code, _, err = gamekit.run([gamekit.PACK, "--print-deps", "--runner", "/bin/sh"])
        self.assertEqual(code, 1)
        self.assertIn("/bin/sh.deps", err)
        code, _, err = gamekit.run([gamekit.PACK, "--print-deps", "somewhere"])
        self.assertEqual(code, 2, err)

    def test_an_installed_builder_finds_its_runner(self):
        """cmake --install puts vexlo-pack in bin and the runner with its
        package list in libexec/vexlo; the installed builder packs without
        --runner, and --runner still chooses another runner."""
        prefix = os.path.join(self.work, "prefix")
        result = subprocess.run(["cmake", "--install", gamekit.BUILD_DIR, "--prefix", prefix],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        pack = os.path.join(prefix, "bin", "vexlo-pack")
        self.assertTrue(os.path.isfile(os.path.join(prefix, "libexec", "vexlo", "vexlo-runner-ship.deps")))
        code, out, err = gamekit.run([pack, "--print-deps"])
        self.assertEqual(code, 0, err)
        self.assertIn("libc6", out.splitlines())
        project = os.path.join(self.work, "project")
        gamekit.write_files(project, gamekit.minimal_project(
            objects={"o": {"create": 'show_debug_message("shipped");'}}))
        for name, extra in [("default", []), ("chosen", ["--runner", gamekit.RUNNER])]:
            with self.subTest(name):
                game = os.path.join(self.work, name)
                code, _, err = gamekit.run([pack, project, "-o", game] + extra)
                self.assertEqual(code, 0, err)
                code, out, err = gamekit.run_game(game, max_steps=2)
                self.assertEqual((code, out), (0, "shipped\n"), err)
        self.assertLess(os.path.getsize(os.path.join(self.work, "default")), 5 * MB)
        self.assertGreater(os.path.getsize(os.path.join(self.work, "chosen")),
                           os.path.getsize(gamekit.RUNNER))
        # Without a runner in either place, the builder says what it looked for.
        os.remove(os.path.join(prefix, "libexec", "vexlo", "vexlo-runner-ship"))
        code, _, err = gamekit.run([pack, project, "-o", os.path.join(self.work, "none")])
        self.assertEqual(code, 1)
        self.assertIn("no runner found", err)
        self.assertIn("--runner", err)
        self.assertFalse(os.path.exists(os.path.join(self.work, "none")))


if __name__ == "__main__":
    unittest.main()
