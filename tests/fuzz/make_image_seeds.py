#!/usr/bin/python3
"""Writes the image reader's PNG seeds: tiny images of every colour type, bit depth and
interlacing the decoder handles, and a few broken ones. JPEG seeds come from stb_image_write
(see the README). Run from this directory: /usr/bin/python3 make_image_seeds.py"""
import struct
import zlib


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png(width, height, depth, colour, interlace=0, extra=b"", rows=None):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    row_bytes = (width * channels * depth + 7) // 8
    if rows is None:
        rows = b"".join(bytes([y % 5]) + bytes((x * 37 + y * 11) % 256 for x in range(row_bytes))
                        for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


palette = chunk(b"PLTE", bytes(range(48))) + chunk(b"tRNS", bytes([0, 128, 255]))
seeds = {
    "grey8.png": png(5, 3, 8, 0),
    "grey1.png": png(9, 2, 1, 0),
    "grey_alpha.png": png(3, 3, 8, 4),
    "rgb8.png": png(4, 2, 8, 2),
    "rgb16.png": png(2, 2, 16, 2),
    "rgba8.png": png(3, 4, 8, 6),
    "palette4.png": png(6, 2, 4, 3, extra=palette),
    "interlaced.png": png(9, 9, 8, 2, interlace=1,
                          rows=bytes(200)),
    "truncated.png": png(4, 4, 8, 6)[:60],
}
for name, data in seeds.items():
    with open("image_reader/" + name, "wb") as f:
        f.write(data)
