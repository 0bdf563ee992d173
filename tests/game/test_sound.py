"""Sound end to end: packed games run headless with VEXLO_AUDIO_OUT and the
WAV file of the mix is read back and measured. Levels are compared with a
tolerance, never bit for bit; the one exact comparison is the mix of the
same game with and without VEXLO_FAST, which must be identical."""

import math
import os
import struct
import unittest

import gamekit

RATE = 44100
SPEED = 30  # steps per second of every test room


def wav_bytes(seconds, freq=440.0, amp=0.5, rate=RATE, channels=1, silence=False):
    """A 16-bit PCM WAV of a sine."""
    frames = int(seconds * rate)
    data = bytearray()
    for i in range(frames):
        v = 0 if silence else int(round(amp * 32767 * math.sin(2 * math.pi * freq * i / rate)))
        data += struct.pack("<h", v) * channels
    return wav_header(len(data), rate, channels) + bytes(data)


def wav_header(data_size, rate=RATE, channels=1):
    return (b"RIFF" + struct.pack("<I", 36 + data_size) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, channels, rate, rate * 2 * channels, 2 * channels, 16) +
            b"data" + struct.pack("<I", data_size))


def midi_bytes(notes, ticks=480):
    """A format-0 MIDI file playing notes [(pitch, quarter notes), ...] on a
    piano at 120 beats per minute."""
    track = bytearray(b"\x00\xc0\x00")
    for pitch, length in notes:
        track += b"\x00\x90" + bytes([pitch, 100])
        track += vlq(int(length * ticks)) + b"\x80" + bytes([pitch, 0])
    track += b"\x00\xff\x2f\x00"
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, ticks) + b"MTrk" +
            struct.pack(">I", len(track)) + bytes(track))


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, 0x80 | (n & 0x7F))
        n >>= 7
    return bytes(out)


def read_wav(path):
    """(rate, left, right): the samples of a 16-bit stereo WAV, scaled to -1..1."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE", "not a WAV file"
    channels, rate, bits = struct.unpack("<HI", data[22:28]) + struct.unpack("<H", data[34:36])
    assert channels == 2 and bits == 16 and rate == RATE
    size = struct.unpack("<I", data[40:44])[0]
    assert size == len(data) - 44
    samples = struct.unpack("<%dh" % (size // 2), data[44:44 + size])
    return rate, [s / 32768 for s in samples[0::2]], [s / 32768 for s in samples[1::2]]


def rms(samples, t0, t1):
    part = samples[int(t0 * RATE):int(t1 * RATE)]
    return math.sqrt(sum(v * v for v in part) / max(len(part), 1))


def tone(samples, t0, t1, freq):
    """The amplitude of one frequency in a window (Goertzel)."""
    part = samples[int(t0 * RATE):int(t1 * RATE)]
    w = 2 * math.pi * freq / RATE
    c = 2 * math.cos(w)
    s1 = s2 = 0.0
    for v in part:
        s1, s2 = v + c * s1 - s2, s1
    power = s1 * s1 + s2 * s2 - c * s1 * s2
    return 2 * math.sqrt(max(power, 0)) / max(len(part), 1)


def db(ratio):
    return 20 * math.log10(max(ratio, 1e-12))


def project(sounds, create="", step="", steps_code=None):
    """One room at SPEED steps per second with one controller object.
    sounds: name -> (bytes, kind[, extension]). The create code runs at room
    start (heard from the first frame); step code every step with the
    variable n counting steps from 1."""
    files = {}
    for name, spec in sounds.items():
        data, kind = spec[0], spec[1]
        ext = spec[2] if len(spec) > 2 else ".wav"
        files["sounds/%s%s" % (name, ext)] = data
        files["sounds/%s.json" % name] = {"kind": kind, "file": name + ext}
    events = {"create": "n = 0;\n" + create,
              "step": "n += 1;\n" + step}
    event_files, event_list = gamekit.object_events("ctl", events)
    files.update(event_files)
    files["objects/ctl.json"] = {"events": event_list}
    files["rooms/room0.json"] = {"width": 64, "height": 64, "speed": SPEED,
                                 "instances": [{"object": "ctl", "x": 0, "y": 0}]}
    files["game.json"] = {
        "settings": {},
        "resources": {"sounds": list(sounds), "objects": ["ctl"], "rooms": ["room0"]},
        "room_order": ["room0"],
    }
    return files


def play(files, seconds, fast=True):
    """Runs the game for seconds of game time; returns (left, right, stdout
    lines, stderr)."""
    with gamekit.Project(files) as p:
        env = {"VEXLO_AUDIO_OUT": "mix.wav"}
        if not fast:
            env["VEXLO_FAST"] = "0"
        code, out, err = p.run(max_steps=int(seconds * SPEED), env=env)
        assert code == 0, "exit %d: %s" % (code, err)
        path = os.path.join(p.dir, "mix.wav")
        assert os.path.exists(path), "no mix written: " + err
        _, left, right = read_wav(path)
        with open(path, "rb") as f:
            raw = f.read()
    return left, right, out.splitlines(), err, raw


SINE_RMS = 0.5 / math.sqrt(2)


class Playback(unittest.TestCase):
    def test_sine_plays_at_its_level_for_its_duration_then_stops(self):
        files = project({"snd": (wav_bytes(0.5), "normal")}, create="sound_play(snd);",
                        step="if (n == 9 || n == 21) show_debug_message(sound_isplaying(snd));")
        left, right, lines, _, _ = play(files, 1.0)
        self.assertEqual(len(left), RATE)
        for ch in (left, right):
            self.assertAlmostEqual(db(rms(ch, 0.05, 0.45) / SINE_RMS), 0, delta=0.5)
            self.assertLess(rms(ch, 0.52, 0.98), 1e-4)
        # The sound ends on the sample clock: 0.5 s is step 15.
        self.assertEqual(lines, ["1", "0"])

    def test_volume_pan_and_global_volume_levels(self):
        cases = [
            # code, expected left dB, expected right dB (None: silent)
            ("sound_volume(snd, 0.5);", -48, -48),
            ("sound_pan(snd, -1);", 0, None),
            ("sound_pan(snd, 1);", None, 0),
            ("sound_pan(snd, -0.25);", 0, -25),
            # The master volume is round(v*11000 - 10000), capped at +1000,
            # the start-up level at which sounds play as recorded.
            ("sound_global_volume(0.5);", -55, -55),
            ("sound_global_volume(2);", 0, 0),
        ]
        for code, want_left, want_right in cases:
            with self.subTest(code=code):
                amp = 0.5
                files = project({"snd": (wav_bytes(0.4, amp=amp), "normal")},
                                create=code + "sound_play(snd);")
                left, right, _, _, _ = play(files, 0.5)
                ref = amp / math.sqrt(2)
                for ch, want in ((left, want_left), (right, want_right)):
                    level = rms(ch, 0.05, 0.35)
                    if want is None:
                        self.assertLess(level, 1e-4)
                    else:
                        self.assertAlmostEqual(db(level / ref), want, delta=0.6)

    def test_two_normal_sounds_sum(self):
        files = project({"a": (wav_bytes(0.4, 440, 0.25), "normal"),
                         "b": (wav_bytes(0.4, 660, 0.25), "normal")},
                        create="sound_play(a); sound_play(b);")
        left, _, _, _, _ = play(files, 0.5)
        self.assertAlmostEqual(tone(left, 0.05, 0.35, 440), 0.25, delta=0.02)
        self.assertAlmostEqual(tone(left, 0.05, 0.35, 660), 0.25, delta=0.02)

    def test_background_music_replaces_background_music(self):
        files = project({"m1": (wav_bytes(2.0, 440), "background"),
                         "m2": (wav_bytes(2.0, 660), "background")},
                        create="sound_loop(m1);",
                        step="if (n == 15) sound_play(m2);"
                             "if (n == 20) show_debug_message(string(sound_isplaying(m1)) + ' ' + string(sound_isplaying(m2)));")
        left, _, lines, _, _ = play(files, 1.0)
        self.assertGreater(tone(left, 0.1, 0.45, 440), 0.4)
        self.assertLess(tone(left, 0.1, 0.45, 660), 0.02)
        self.assertLess(tone(left, 0.55, 0.95, 440), 0.02)
        self.assertGreater(tone(left, 0.55, 0.95, 660), 0.4)
        self.assertEqual(lines, ["0 1"])

    def test_a_loop_keeps_playing(self):
        files = project({"snd": (wav_bytes(0.1), "normal")}, create="sound_loop(snd);",
                        step="if (n == 29) show_debug_message(sound_isplaying(snd));")
        left, _, lines, _, _ = play(files, 1.0)
        for t in (0.05, 0.35, 0.65, 0.9):
            self.assertAlmostEqual(db(rms(left, t, t + 0.05) / SINE_RMS), 0, delta=0.5)
        self.assertEqual(lines, ["1"])

    def test_a_fade_reaches_its_target_on_time(self):
        # 0.75 is -2400 hundredths of a decibel, reached after 1000 ms,
        # linearly in decibels: -12 dB half way.
        files = project({"snd": (wav_bytes(0.2), "normal")},
                        create="sound_loop(snd); sound_fade(snd, 0.75, 1000);")
        left, _, _, _, _ = play(files, 1.5)
        self.assertAlmostEqual(db(rms(left, 0.0, 0.01) / SINE_RMS), 0, delta=0.6)
        self.assertAlmostEqual(db(rms(left, 0.495, 0.505) / SINE_RMS), -12, delta=0.6)
        self.assertAlmostEqual(db(rms(left, 1.05, 1.45) / SINE_RMS), -24, delta=0.6)

    def test_midi_produces_sound(self):
        files = project({"tune": (midi_bytes([(60, 1), (64, 1), (67, 1)]), "background", ".mid")},
                        create="sound_play(tune);",
                        step="if (n == 15) show_debug_message(sound_isplaying(tune));")
        left, right, lines, _, _ = play(files, 1.0)
        self.assertGreater(rms(left, 0.05, 0.95), 0.005)
        self.assertEqual(lines, ["1"])

    def test_an_effect_changes_the_signal(self):
        # The echo repeats a short beep after it has ended.
        def tail(code):
            files = project({"snd": (wav_bytes(0.05), "normal")},
                            create=code + "sound_play(snd);")
            left, _, _, _, _ = play(files, 0.6)
            return rms(left, 0.08, 0.5)
        self.assertLess(tail(""), 1e-4)
        self.assertGreater(tail("sound_effect_set(snd, se_echo);"), 0.005)

    def test_the_mix_is_the_same_with_and_without_fast(self):
        files = project({"snd": (wav_bytes(0.3), "normal"), "m": (wav_bytes(0.5, 330), "background")},
                        create="sound_loop(m);",
                        step="if (n mod 7 == 0) sound_play(snd); if (n == 10) sound_fade(m, 0.8, 300);")
        *_, fast = play(files, 1.0)
        *_, paced = play(files, 1.0, fast=False)
        self.assertEqual(fast, paced)

    def test_3d_sound_follows_its_position(self):
        files = project({"s": (wav_bytes(0.4), "3d")},
                        create="sound_3d_set_sound_position(s, -4, 0, 0); sound_play(s);")
        left, right, _, _, _ = play(files, 0.5)
        # Four units away with a minimum distance of 1: a quarter of the
        # level, all on the left.
        self.assertGreater(rms(left, 0.05, 0.35), 10 * rms(right, 0.05, 0.35))
        self.assertLess(rms(left, 0.05, 0.35), 0.35 * SINE_RMS)


class Showcase(unittest.TestCase):
    def test_the_example_game_makes_sound(self):
        # Music throughout, a chime at each room start (0 s and 5 s) and the
        # bounces of the balls.
        with gamekit.Project(copy_from=os.path.join(gamekit.EXAMPLES, "showcase")) as p:
            code, out, err = p.run(max_steps=int(5.6 * 30), env={"VEXLO_AUDIO_OUT": "mix.wav"})
            self.assertEqual(code, 0, err)
            _, left, _ = read_wav(os.path.join(p.dir, "mix.wav"))
        quiet = rms(left, 2.5, 4.5)
        self.assertGreater(quiet, 0.003)  # the music
        self.assertGreater(rms(left, 0.0, 0.3), 2 * quiet)
        self.assertGreater(rms(left, 5.0, 5.3), 2 * quiet)


class Multimedia(unittest.TestCase):
    def test_multimedia_sounds_play_one_at_a_time(self):
        files = project({"a": (wav_bytes(1.0, 440), "multimedia"),
                         "b": (wav_bytes(1.0, 660), "multimedia")},
                        create="sound_play(a);",
                        step="if (n == 10) sound_play(b);"
                             "if (n == 12) show_debug_message(string(sound_isplaying(a)) + ' ' + string(sound_isplaying(b)));")
        left, _, lines, _, _ = play(files, 0.8)
        self.assertEqual(lines, ["0 1"])
        self.assertGreater(tone(left, 0.05, 0.3, 440), 0.4)
        self.assertGreater(tone(left, 0.45, 0.75, 660), 0.4)
        self.assertLess(tone(left, 0.45, 0.75, 440), 0.02)


class BadInput(unittest.TestCase):
    def test_undecodable_sounds_neither_crash_nor_play(self):
        cases = {
            "garbage": bytes(range(256)) * 4,
            "empty_wav": wav_header(0),
            "truncated": wav_bytes(0.2)[:60],
            "claims_2gb": wav_header(0x7FFFFFF0) + b"\x00\x10" * 100,
            "midi_past_end": midi_bytes([(60, 1)])[:-6] + b"",
            "midi_huge_track": b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96) + b"MTrk" +
                               struct.pack(">I", 0x7FFFFFFF) + b"\x00\x90\x3c\x40",
            "broken_mp3": b"\xff\xfb\x90\x00" + b"\x55" * 400,
        }
        for name, data in cases.items():
            with self.subTest(name=name):
                files = project({"snd": (data, "normal")},
                                create="sound_play(snd); sound_volume(snd, 0.5); sound_pan(snd, 1);",
                                step="if (n == 3) show_debug_message('alive ' + string(sound_get_kind(snd)));")
                left, _, lines, _, _ = play(files, 0.2)
                self.assertEqual(len(lines), 1)
                self.assertTrue(lines[0].startswith("alive "))
                self.assertLess(rms(left, 0, 0.2), 0.01)

    def test_missing_sounds_report_and_cd_has_no_drive(self):
        files = project({}, create=(
            "sound_play(7);"
            "show_debug_message(sound_isplaying(7));"
            "show_debug_message(string(cd_present()) + string(cd_number()) + string(cd_playing()));"
            "cd_play(1, 2); cd_open_door();"
            "show_debug_message('[' + MCI_command('play cdaudio') + ']');"))
        _, _, lines, err, _ = play(files, 0.1)
        self.assertIn("Sound does not exist.", err)
        self.assertEqual(lines, ["0", "000", "[]"])


if __name__ == "__main__":
    unittest.main()
