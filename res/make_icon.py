#!/usr/bin/env python3
"""Draws Quillmere.ico: a small window with a blue title bar, set on a
dashed target frame, at 16x16 and 32x32 in 32-bit colour with alpha.

Run it from this folder after changing the picture; the .ico is committed."""
import struct

def draw(size):
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 16.0

    def fill(x0, y0, x1, y1, color):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                px[y][x] = color

    # Dashed target frame: where the window is being put.
    gold = (0xE0, 0xA0, 0x20, 0xFF)
    for i in range(size):
        if (i // max(1, int(2 * s))) % 2 == 0:
            px[0][i] = px[size - 1][i] = gold
            px[i][0] = px[i][size - 1] = gold
    # The window: dark outline, blue title bar, white client area.
    fill(3, 3, 14, 14, (0x30, 0x30, 0x40, 0xFF))
    fill(4, 4, 13, 6.5, (0x2A, 0x6C, 0xD8, 0xFF))
    fill(4, 6.5, 13, 13, (0xFA, 0xFA, 0xFA, 0xFF))
    # A quill stroke across the client area.
    ink = (0x2A, 0x6C, 0xD8, 0xFF)
    for i in range(int(6 * s)):
        x = int(6 * s) + i
        y = int(12 * s) - 1 - i
        if 0 <= y < size and x < int(13 * s):
            px[y][x] = ink
    return px

def image(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(struct.pack('<BBBB', b, g, r, a)
                   for row in reversed(px) for (r, g, b, a) in row)
    row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(px):
        bits = bytearray(row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)

def main():
    images = [image(32), image(16)]
    sizes = [32, 16]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open('Quillmere.ico', 'wb') as f:
        f.write(out)

if __name__ == '__main__':
    main()
