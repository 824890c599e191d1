#!/usr/bin/env python3
"""Writes res/setup.ico: a chip with a download arrow, 32x32 and 16x16 at 16 colours."""
import os
import struct
import sys

# The standard 16-colour VGA palette, as (R, G, B).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DKGREEN, SILVER, GREY, GREEN, YELLOW, WHITE = 0, 2, 7, 8, 10, 11, 15


def chip(size, body, pins, pin_len, arrow):
    """Returns rows of palette indexes, None meaning transparent."""
    img = [[None] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                img[y][x] = c

    lo, hi = body
    for p, w in pins:
        rect(lo - pin_len, p, lo - 1, p + w - 1, SILVER)
        rect(hi + 1, p, hi + pin_len, p + w - 1, SILVER)
        rect(p, lo - pin_len, p + w - 1, lo - 1, SILVER)
        rect(p, hi + 1, p + w - 1, hi + pin_len, SILVER)
    rect(lo, lo, hi, hi, BLACK)
    rect(lo + 1, lo + 1, hi - 1, hi - 1, GREY)
    rect(lo + 1, lo + 1, hi - 1, lo + 1, SILVER)
    img[lo + 2][lo + 2] = YELLOW
    for y, (x0, x1) in arrow:
        rect(x0, y, x1, y, DKGREEN)
        if x1 - x0 >= 2:
            rect(x0 + 1, y, x1 - 1, y, GREEN)
    return img


def arrow_rows(cx, top, shaft, head, half):
    """A down arrow centred on the column pair cx, cx+1."""
    rows = [(top + i, (cx - 1, cx + 2)) for i in range(shaft)]
    for i in range(head):
        rows.append((top + shaft + i, (cx - half + i, cx + 1 + half - i)))
    return rows


def bitmap(img):
    size = len(img)
    xor = bytearray()
    mask = bytearray()
    row_mask_bytes = ((size + 31) // 32) * 4
    for row in reversed(img):  # bottom-up
        xor += bytes(((row[x] or 0) << 4) | (row[x + 1] or 0) for x in range(0, size, 2))
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        mask += bits.to_bytes(size // 8, "big").ljust(row_mask_bytes, b"\0")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__),
                                                             "setup.ico")
    big = chip(32, (7, 24), [(p, 2) for p in (9, 13, 17, 21)], 4, arrow_rows(15, 10, 6, 6, 5))
    small = chip(16, (3, 12), [(p, 1) for p in (4, 6, 9, 11)], 2, arrow_rows(7, 5, 3, 3, 2))
    images = [(32, bitmap(big)), (16, bitmap(small))]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bmp in images:
        data += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(bmp), offset)
        offset += len(bmp)
    data += b"".join(bmp for _, bmp in images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
