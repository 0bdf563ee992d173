#!/usr/bin/env python3
"""Draws the images and the sound of the showcase example (standard library
only): a bouncing ball in four frames, a wall block, a star that walks the
path, a sky background and a short beep. Run it from anywhere; it writes into
examples/showcase/."""
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


if __name__ == "__main__":
    main()
