#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the program's icon file: a red plus on white, bars 4 pixels thick in 16, run
edge to edge, in 16 colours; at 16 x 16 and at whole multiples of it for high DPI, each
drawn pixel for pixel so the plus stays sharp. Usage: icon.py OUT.ico"""
import struct
import sys

SIZES = (16, 32, 48, 64)
# Palette index 0 white, 1 red; the other 14 entries are unused (black).
PALETTE = bytes((255, 255, 255, 0, 0, 0, 255, 0)) + bytes(4 * 14)


def image(size):
    scale = size // 16
    def red(i):
        return 6 <= i // scale <= 9
    row_bytes = (size // 2 + 3) // 4 * 4
    mask_bytes = (size // 8 + 3) // 4 * 4
    pixels = bytearray()
    for y in reversed(range(size)):  # bottom-up rows
        row = bytearray(row_bytes)
        for x in range(size):
            if red(x) or red(y):
                row[x // 2] |= 1 << (4 if x % 2 == 0 else 0)
        pixels += row
    mask = bytes(mask_bytes * size)  # every pixel opaque
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 4, 0, len(pixels) + len(mask), 0, 0, 16, 0)
    return header + PALETTE + pixels + mask


def main(out):
    images = [image(size) for size in SIZES]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits in zip(SIZES, images):
        data += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(bits), offset)
        offset += len(bits)
    with open(out, 'wb') as f:
        f.write(data + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])
