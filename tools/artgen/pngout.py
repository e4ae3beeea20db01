"""Writes cairo surfaces as compact, reproducible PNG files.

cairo's own writer uses fixed filters and stamps nothing we need, but its output
depends on the zlib it was built with; this writer picks a filter per row, drops
the alpha channel from opaque pictures and compresses at the highest level.
"""

import struct
import sys
import zlib


def _unpremultiplied_rows(surface):
    """Returns (rows of RGBA bytes, has_alpha) from an ARGB32 surface."""
    surface.flush()
    width, height = surface.get_width(), surface.get_height()
    stride = surface.get_stride()
    data = bytes(surface.get_data())
    little = sys.byteorder == "little"
    rows = []
    has_alpha = False
    # Lookup tables: for each alpha, map a premultiplied channel to a straight one.
    unpremul = [None] * 256
    for a in range(1, 256):
        unpremul[a] = bytes(min(255, (c * 255 + a // 2) // a) for c in range(256))
    for y in range(height):
        line = data[y * stride : y * stride + width * 4]
        if little:
            b, g, r, a = line[0::4], line[1::4], line[2::4], line[3::4]
        else:
            a, r, g, b = line[0::4], line[1::4], line[2::4], line[3::4]
        out = bytearray(width * 4)
        if a.count(255) == width:
            out[0::4], out[1::4], out[2::4], out[3::4] = r, g, b, a
        else:
            has_alpha = True
            for x in range(width):
                av = a[x]
                if av == 0:
                    continue  # fully transparent: stored as 0,0,0,0
                t = unpremul[av]
                i = x * 4
                out[i] = t[r[x]]
                out[i + 1] = t[g[x]]
                out[i + 2] = t[b[x]]
                out[i + 3] = av
        rows.append(out)
    return rows, has_alpha


def _filter_rows(rows, bpp):
    """Applies the PNG filter that gives the smallest sum of residues to each row."""
    prev = bytearray(len(rows[0]))
    out = bytearray()
    for row in rows:
        n = len(row)
        cands = []
        cands.append((0, row))
        sub = bytearray(n)
        up = bytearray(n)
        avg = bytearray(n)
        paeth = bytearray(n)
        for i in range(n):
            x = row[i]
            a = row[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            sub[i] = (x - a) & 255
            up[i] = (x - b) & 255
            avg[i] = (x - ((a + b) >> 1)) & 255
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            if pa <= pb and pa <= pc:
                pr = a
            elif pb <= pc:
                pr = b
            else:
                pr = c
            paeth[i] = (x - pr) & 255
        cands += [(1, sub), (2, up), (3, avg), (4, paeth)]

        def cost(buf):
            return sum(v if v < 128 else 256 - v for v in buf)

        ftype, best = min(cands, key=lambda fc: cost(fc[1]))
        out.append(ftype)
        out += best
        prev = row
    return bytes(out)


def _chunk(kind, payload):
    body = kind + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(surface, path):
    rows, has_alpha = _unpremultiplied_rows(surface)
    if has_alpha:
        color_type, bpp = 6, 4
    else:
        color_type, bpp = 2, 3
        rgb_rows = []
        for r in rows:
            rgb = bytearray(len(r) // 4 * 3)
            rgb[0::3], rgb[1::3], rgb[2::3] = r[0::4], r[1::4], r[2::4]
            rgb_rows.append(rgb)
        rows = rgb_rows
    width, height = surface.get_width(), surface.get_height()
    raw = _filter_rows(rows, bpp)
    ihdr = struct.pack(">IIBBBBB", width, height, 8, color_type, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n"
    png += _chunk(b"IHDR", ihdr)
    png += _chunk(b"IDAT", zlib.compress(raw, 9))
    png += _chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)
    return len(png)
