#!/usr/bin/env python3
"""Draws the program's icons as 16-colour .ico files: a blue shield with a
white check mark. Run it from this folder to make vantisk.ico (24 x 24, the
program and tray icon) and about.ico (32 x 32, the About window's picture)."""

import struct

# The 16 colours of the standard palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
    (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
    (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
DARK_BLUE, BLUE, WHITE, CLEAR = 1, 9, 15, None


def shield(x, y, n):
    """Inside the shield: flat top, sides narrowing to a point at the bottom."""
    u, v = (x + 0.5) / n, (y + 0.5) / n
    if v < 0.08 or v > 0.95:
        return False
    half = 0.42 if v < 0.55 else 0.42 * (0.95 - v) / 0.40
    return abs(u - 0.5) <= half


def check_mark(x, y, n):
    u, v = (x + 0.5) / n, (y + 0.5) / n
    width = 0.09
    # Short stroke down to the right, then the long stroke up to the right.
    if 0.25 <= u <= 0.45 and abs(v - (0.50 + (u - 0.25) * 1.0)) < width:
        return True
    return 0.42 <= u <= 0.75 and abs(v - (0.70 - (u - 0.45) * 1.2)) < width


def pixel(x, y, n):
    if not shield(x, y, n):
        return CLEAR
    if check_mark(x, y, n):
        return WHITE
    edge = not (shield(x - 1, y, n) and shield(x + 1, y, n) and shield(x, y - 1, n) and shield(x, y + 1, n))
    return DARK_BLUE if edge else BLUE


def icon(n):
    rows = [[pixel(x, y, n) for x in range(n)] for y in range(n)]
    xor_stride = ((n * 4 + 31) // 32) * 4
    and_stride = ((n + 31) // 32) * 4
    xor, mask = b"", b""
    for row in reversed(rows):  # bottom-up
        nibbles = [0 if c is None else c for c in row]
        line = bytes((nibbles[i] << 4) | (nibbles[i + 1] if i + 1 < n else 0) for i in range(0, n, 2))
        xor += line.ljust(xor_stride, b"\0")
        bits = 0
        for i, c in enumerate(row):
            bits |= (1 if c is None else 0) << (n - 1 - i)
        mask += bits.to_bytes((n + 7) // 8, "big").ljust(and_stride, b"\0")
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", n, n, 16, 0, 1, 4, len(image), 22)
    return directory + image


if __name__ == "__main__":
    with open("vantisk.ico", "wb") as f:
        f.write(icon(24))
    with open("about.ico", "wb") as f:
        f.write(icon(32))
