#!/usr/bin/env python3
"""Draws the images and the sound of the showcase example (standard library
only): a bouncing ball in four frames, a wall block, a star that walks the
path, a sky background, a short beep, the bounce and room-change sounds and
the background music (a MIDI file). Run it from anywhere; it writes into
examples/showcase/. Everything it makes is synthesised here and, like this
script, free of any third-party rights (see sounds/LICENSE.txt)."""
import math
import os
import struct
import wave
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "showcase")


def write_png(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b, a); writes an 8-bit RGBA PNG."""
    rows = b"".join(
        b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(rows, 9))
    png += chunk(b"IEND", b"")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png)


def ball_frame(frame):
    def pixel(x, y):
        dx, dy = x - 7.5, y - 7.5
        if dx * dx + dy * dy > 56:
            return (0, 0, 0, 0)
        shade = 255 - frame * 40
        return (shade, 60 + frame * 30, 40, 255)
    return pixel


def wall(x, y):
    edge = x in (0, 15) or y in (0, 15)
    return (90, 90, 110, 255) if edge else (150, 150, 170, 255)


def star(x, y):
    """A yellow diamond with a one-pixel orange rim, 12 x 12."""
    d = abs(x - 5.5) + abs(y - 5.5)
    if d > 6:
        return (0, 0, 0, 0)
    return (255, 140, 0, 255) if d > 5 else (255, 230, 40, 255)


def sky(x, y):
    return (40 + y, 80 + y, 200, 255)


def main():
    # The ball is a horizontal strip of four 16x16 frames.
    write_png(os.path.join(HERE, "sprites", "spr_ball.png"), 64, 16,
              lambda x, y: ball_frame(x // 16)(x % 16, y))
    write_png(os.path.join(HERE, "sprites", "spr_wall", "0.png"), 16, 16, wall)
    write_png(os.path.join(HERE, "sprites", "spr_star.png"), 12, 12, star)
    write_png(os.path.join(HERE, "backgrounds", "bg_sky.png"), 32, 32, sky)
    path = os.path.join(HERE, "sounds", "snd_beep.wav")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(22050)
        w.writeframes(b"".join(
            struct.pack("<h", int(8000 * math.sin(2 * math.pi * 880 * i / 22050)))
            for i in range(2205)))

    write_wav(os.path.join(HERE, "sounds", "snd_bounce.wav"), bounce_samples())
    write_wav(os.path.join(HERE, "sounds", "snd_room.wav"), chime_samples())
    with open(os.path.join(HERE, "sounds", "mus_theme.mid"), "wb") as f:
        f.write(theme_midi())


RATE = 22050


def write_wav(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(v)))) for v in samples))


def bounce_samples():
    """A short pluck whose pitch falls a little: 0.15 s."""
    out, phase = [], 0.0
    for i in range(int(0.15 * RATE)):
        t = i / RATE
        phase += 2 * math.pi * (520 - 900 * t) / RATE
        out.append(12000 * math.exp(-t * 28) * math.sin(phase))
    return out


def chime_samples():
    """Two bell notes a fifth apart for the room change: 0.6 s."""
    out = []
    for i in range(int(0.6 * RATE)):
        t = i / RATE
        v = math.exp(-t * 6) * (math.sin(2 * math.pi * 784 * t) + 0.3 * math.sin(2 * math.pi * 1568 * t))
        if t > 0.15:
            u = t - 0.15
            v += math.exp(-u * 6) * (math.sin(2 * math.pi * 1175 * u) + 0.3 * math.sin(2 * math.pi * 2350 * u))
        out.append(6000 * v)
    return out


def theme_midi():
    """A calm eight-bar tune with a bass line, 100 beats per minute, as a
    format-0 standard MIDI file (480 ticks per quarter note)."""
    def vlq(n):
        out = [n & 0x7F]
        n >>= 7
        while n:
            out.insert(0, 0x80 | (n & 0x7F))
            n >>= 7
        return bytes(out)
    melody = [72, 76, 79, 76, 74, 77, 81, 77, 72, 76, 79, 84, 83, 79, 74, 71]
    bass = [48, 48, 53, 53, 48, 48, 43, 43]
    events = []  # (tick, bytes)
    for i, note in enumerate(melody):
        events.append((i * 480, bytes([0x90, note, 80])))
        events.append((i * 480 + 440, bytes([0x80, note, 0])))
    for i, note in enumerate(bass):
        events.append((i * 960, bytes([0x91, note, 70])))
        events.append((i * 960 + 900, bytes([0x81, note, 0])))
    events.sort(key=lambda e: (e[0], e[1][0] & 0xF0 != 0x80))
    track = bytearray(b"\x00\xff\x51\x03" + (600000).to_bytes(3, "big"))
    track += b"\x00\xc0\x0b\x00\xc1\x20"  # vibraphone, acoustic bass
    last = 0
    for tick, data in events:
        track += vlq(tick - last) + data
        last = tick
    track += b"\x00\xff\x2f\x00"
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + b"MTrk" +
            struct.pack(">I", len(track)) + bytes(track))


if __name__ == "__main__":
    main()
