#!/usr/bin/env python3
"""Draws the plug-in's logo, resources/Logo.bmp: 80 x 33 pixels, 24 bits, uncompressed.

A square of four coloured tiles cut by a diagonal (the variations and their split), the letters
"ZEM" and, under them, "variations". Run it again after changing the drawing; the bitmap is kept
in the repository so that a build needs no Python.
"""
import struct
import sys

WIDTH, HEIGHT = 80, 33
BACKGROUND = (250, 250, 246)
INK = (38, 42, 54)

# 4 x 7 capitals (M is 5 wide) and 3 x 5 lower case, one string per row, '#' for ink.
CAPITALS = {
    "Z": ["####", "...#", "..#.", ".#..", "#...", "#...", "####"],
    "E": ["####", "#...", "#...", "###.", "#...", "#...", "####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
}
SMALL = {
    "v": ["...", "#.#", "#.#", "#.#", ".#."],
    "a": ["...", "##.", "..#", "###", "###"],
    "r": ["...", "#.#", "##.", "#..", "#.."],
    "i": [".#.", "...", ".#.", ".#.", ".#."],
    "t": [".#.", "###", ".#.", ".#.", ".##"],
    "o": ["...", "###", "#.#", "#.#", "###"],
    "n": ["...", "##.", "#.#", "#.#", "#.#"],
    "s": ["...", ".##", "##.", "..#", "##."],
}


def draw():
    pixels = [[BACKGROUND] * WIDTH for _ in range(HEIGHT)]

    def plot(x, y, colour):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            pixels[y][x] = colour

    # The tiles: red, green, blue and amber quadrants of a 29-pixel square, with a light diagonal.
    left, top, size = 2, 2, 29
    tiles = [(214, 54, 48), (60, 168, 82), (52, 98, 204), (236, 168, 40)]
    for y in range(size):
        for x in range(size):
            quadrant = (1 if x >= size // 2 else 0) + (2 if y >= size // 2 else 0)
            colour = tiles[quadrant]
            if abs(x - y) <= 1:
                colour = (255, 255, 255)
            plot(left + x, top + y, colour)

    def glyph(rows, x0, y0, scale):
        for row, line in enumerate(rows):
            for column, cell in enumerate(line):
                if cell != "#":
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        plot(x0 + column * scale + dx, y0 + row * scale + dy, INK)

    x = 35
    for letter in "ZEM":
        glyph(CAPITALS[letter], x, 2, 3)
        x += 14
    x = 35
    for letter in "variations":
        glyph(SMALL[letter], x, 26, 1)
        x += 4
    return pixels


def bitmap_bytes(pixels):
    row_size = (WIDTH * 3 + 3) // 4 * 4
    image_size = row_size * HEIGHT
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + image_size, 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, image_size, 2835, 2835, 0, 0)
    rows = []
    for line in reversed(pixels):  # bottom-up
        data = b"".join(bytes((b, g, r)) for (r, g, b) in line)
        rows.append(data + b"\0" * (row_size - len(data)))
    return header + info + b"".join(rows)


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "resources/Logo.bmp"
    with open(target, "wb") as out:
        out.write(bitmap_bytes(draw()))
