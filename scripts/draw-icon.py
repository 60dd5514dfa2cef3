"""Draws Parcelor's icon, a page cut into three slices, into app/parcelor.ico.

The nine images the program carries: 256 px as PNG, 48, 32 and 16 px at 8 bits per
pixel, then 256 px as PNG, 64, 48, 32 and 16 px at 32 bits per pixel. Plain Python,
no randomness: running it again gives the same bytes.
"""
import struct
import zlib
from pathlib import Path

OUTPUT = Path(__file__).resolve().parent.parent / "app" / "parcelor.ico"

CLEAR = (0, 0, 0, 0)
PAGE = (250, 250, 245, 255)
EDGE = (30, 70, 140, 255)
LINES = (150, 170, 200, 255)
CUT = (220, 60, 40, 255)


def pixel(x, y, size):
    """The colour at (x, y), top-left origin: three slices of a page, pulled apart."""
    u, v = (x + 0.5) / size, (y + 0.5) / size
    slices = [(0.08, 0.34, -0.04), (0.40, 0.62, 0.0), (0.68, 0.92, 0.04)]
    for top, bottom, shift in slices:
        left, right = 0.20 + shift, 0.80 + shift
        if top <= v <= bottom and left <= u <= right:
            border = max(1.0 / size, 0.045)
            if u - left < border or right - u < border or v - top < border or bottom - v < border:
                return EDGE
            row = (v - top) / (bottom - top)
            if 0.5 < (u - left) / (right - left) * 10 < 8.5 and any(abs(row - r) < 0.06 for r in (0.35, 0.7)):
                return LINES
            return PAGE
    # The cut marks between the slices.
    for gap in (0.37, 0.65):
        if abs(v - gap) < max(0.5 / size, 0.012) and 0.06 <= u <= 0.94 and int(u * 12) % 2 == 0:
            return CUT
    return CLEAR


def image(size):
    return [[pixel(x, y, size) for x in range(size)] for y in range(size)]


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(rows, palette=None):
    size = len(rows)
    if palette is None:
        header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
        raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in rows)
        extra = b""
    else:
        header = struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0)
        raw = b"".join(b"\0" + bytes(palette.index(p) for p in row) for row in rows)
        extra = png_chunk(b"PLTE", b"".join(bytes(p[:3]) for p in palette))
        extra += png_chunk(b"tRNS", bytes(p[3] for p in palette))
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) + extra +
            png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def and_mask(rows):
    size = len(rows)
    stride = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return mask


def bitmap(rows, palette=None):
    size = len(rows)
    bits = 32 if palette is None else 8
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0 if palette is None else 256, 0)
    if palette is None:
        body = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(rows) for p in row)
        table = b""
    else:
        table = b"".join(bytes((p[2], p[1], p[0], 0)) for p in palette) + b"\0\0\0\0" * (256 - len(palette))
        body = b"".join(bytes(palette.index(p) for p in row) for row in reversed(rows))  # rows are 4-byte multiples
    return header + table + body + and_mask(rows)


def main():
    palette = [CLEAR, PAGE, EDGE, LINES, CUT]
    entries = []  # (size, bits, colour count, data)
    entries.append((256, 8, 0, png(image(256), palette)))
    for size in (48, 32, 16):
        entries.append((size, 8, 0, bitmap(image(size), palette)))
    entries.append((256, 32, 0, png(image(256))))
    for size in (64, 48, 32, 16):
        entries.append((size, 32, 0, bitmap(image(size))))

    directory = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    blobs = b""
    for size, bits, colours, data in entries:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
        blobs += data
    OUTPUT.write_bytes(directory + blobs)
    print(f"wrote {OUTPUT} ({len(entries)} images)")


if __name__ == "__main__":
    main()
