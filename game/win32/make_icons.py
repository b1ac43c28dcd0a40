#!/usr/bin/env python3
"""Writes torv.ico (resource 108) and torv.cur (resource 2): 32x32, 32-bit.

Run from this folder after changing the pictures; the outputs are committed.
"""
import struct

SIZE = 32

def icon_pixels():
    # A night-blue tile with a white "T" and a red flame dot: the game's mark.
    px = [[(0x30, 0x20, 0x10, 0xFF)] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if x in (0, SIZE - 1) or y in (0, SIZE - 1):
                px[y][x] = (0x80, 0x60, 0x40, 0xFF)
            elif 6 <= y <= 10 and 6 <= x <= 25:
                px[y][x] = (0xFF, 0xFF, 0xFF, 0xFF)
            elif 11 <= y <= 26 and 13 <= x <= 18:
                px[y][x] = (0xFF, 0xFF, 0xFF, 0xFF)
            elif (x - 24) ** 2 + (y - 22) ** 2 <= 9:
                px[y][x] = (0x20, 0x40, 0xFF, 0xFF)
    return px

def cursor_pixels():
    # A plain arrow: black outline, white inside, transparent elsewhere.
    px = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]
    for y in range(20):
        for x in range(y + 1):
            if x > 12:
                break
            edge = x == 0 or x == y or x == 12 or y == 19
            px[y][x] = (0, 0, 0, 0xFF) if edge else (0xFF, 0xFF, 0xFF, 0xFF)
    return px

def image_entry(px):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b"".join(bytes(c for p in px[y] for c in p) for y in reversed(range(SIZE)))
    mask_rows = b""
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            if px[y][x][3] == 0:
                bits |= 1 << (31 - x)
        mask_rows += struct.pack(">I", bits)
    return header + rows + mask_rows

def write(path, kind, px, hot_x, hot_y):
    data = image_entry(px)
    head = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hot_x, hot_y, len(data), 6 + 16)
    with open(path, "wb") as f:
        f.write(head + entry + data)

write("torv.ico", 1, icon_pixels(), 1, 32)
write("torv.cur", 2, cursor_pixels(), 0, 0)
