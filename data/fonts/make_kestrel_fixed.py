#!/usr/bin/env python3
"""Writes KestrelFixed.ttf, the synthetic test font "Kestrel Fixed" (standard library only).

Every printable character has the same advance, so layout tests can compute exact widths:
  units per em 1400, usWinAscent 1100, usWinDescent 300, hhea ascender 1100 / descender -300,
  line gap 0, every advance 700, xAvgCharWidth 700.
At a character height of 14 px (LOGFONT height -14 or +14) that is ascent 11, descent 3,
height 14, internal leading 0 and an advance of 7 px per character.

Glyphs: the space family (U+0020, U+00A0, U+2000-U+200A, U+3000) is empty; combining marks
(U+0300-U+036F) have advance 0 and a small bar above the cap height; every other mapped character
is a filled box from x 100 to 600 and y 0 to 1000 units (at 14 px: columns 1..5, rows 1..10 above
the baseline). Unmapped characters get the .notdef glyph, a hollow box with the same advance.

Run: python3 make_kestrel_fixed.py [output.ttf]
"""

import struct
import sys

UPEM = 1400
ASCENT = 1100
DESCENT = 300
ADVANCE = 700

NOTDEF, SPACE, BOX, MARK = range(4)

SPACES = [0x20, 0xA0, 0x3000] + list(range(0x2000, 0x200B))
MARKS = list(range(0x300, 0x370))
BOXES = (list(range(0x21, 0x7F)) + list(range(0xA1, 0x250)) + list(range(0x370, 0x530)) +
         list(range(0x2010, 0x2028)) + list(range(0x2030, 0x2060)) + [0x20AC, 0x2122, 0xFFFD])


def rect_contour(x0, y0, x1, y1, clockwise=True):
    pts = [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]
    return pts if clockwise else list(reversed(pts))


def simple_glyph(contours):
    """A TrueType simple glyph from on-curve point contours (absolute coordinates)."""
    xs = [p[0] for c in contours for p in c]
    ys = [p[1] for c in contours for p in c]
    out = struct.pack(">hhhhh", len(contours), min(xs), min(ys), max(xs), max(ys))
    end = -1
    for c in contours:
        end += len(c)
        out += struct.pack(">H", end)
    out += struct.pack(">H", 0)  # no instructions
    points = [p for c in contours for p in c]
    out += bytes([0x01] * len(points))  # on-curve, 16-bit deltas
    px = py = 0
    dx = b""
    dy = b""
    for x, y in points:
        dx += struct.pack(">h", x - px)
        dy += struct.pack(">h", y - py)
        px, py = x, y
    out += dx + dy
    if len(out) % 2:
        out += b"\0"
    return out


def glyphs():
    notdef = simple_glyph([rect_contour(100, 0, 600, 1000), rect_contour(200, 100, 500, 900, False)])
    box = simple_glyph([rect_contour(100, 0, 600, 1000)])
    mark = simple_glyph([rect_contour(-500, 1050, -200, 1100)])
    return [notdef, b"", box, mark]


def cmap_table():
    mapping = {c: SPACE for c in SPACES}
    mapping.update({c: MARK for c in MARKS})
    mapping.update({c: BOX for c in BOXES})
    codes = sorted(mapping)
    # Segments of consecutive code points; each maps through glyphIdArray.
    segments = []
    for c in codes:
        if segments and segments[-1][1] == c - 1:
            segments[-1][1] = c
        else:
            segments.append([c, c])
    segments.append([0xFFFF, 0xFFFF])
    seg_count = len(segments)
    ends = b"".join(struct.pack(">H", s[1]) for s in segments)
    starts = b"".join(struct.pack(">H", s[0]) for s in segments)
    deltas = b""
    offsets = b""
    glyph_ids = b""
    array_index = 0
    for i, (start, end) in enumerate(segments):
        if start == 0xFFFF:
            deltas += struct.pack(">h", 1)
            offsets += struct.pack(">H", 0)
            continue
        deltas += struct.pack(">h", 0)
        offsets += struct.pack(">H", 2 * (seg_count - i) + 2 * array_index)
        for c in range(start, end + 1):
            glyph_ids += struct.pack(">H", mapping[c])
            array_index += 1
    search_range = 2 * (1 << (seg_count.bit_length() - 1))
    entry_selector = seg_count.bit_length() - 1
    body = (struct.pack(">HHHH", seg_count * 2, search_range, entry_selector,
                        seg_count * 2 - search_range) +
            ends + b"\0\0" + starts + deltas + offsets + glyph_ids)
    sub = struct.pack(">HHH", 4, 14 + len(body), 0) + body
    return struct.pack(">HHHHI", 0, 1, 3, 1, 12) + sub


def name_table():
    names = {1: "Kestrel Fixed", 2: "Regular", 3: "Kestrel Fixed Regular", 4: "Kestrel Fixed",
             5: "Version 1.000", 6: "KestrelFixed-Regular"}
    records = b""
    strings = b""
    for name_id, text in sorted(names.items()):
        data = text.encode("utf-16-be")
        records += struct.pack(">HHHHHH", 3, 1, 0x409, name_id, len(data), len(strings))
        strings += data
    return struct.pack(">HHH", 0, len(names), 6 + 12 * len(names)) + records + strings


def os2_table(first, last):
    return struct.pack(
        ">HhHHH" + "h" * 11 + "10s4I4sHHHhhhHHIIhhHHH",
        4, ADVANCE, 400, 5, 0,                  # version, xAvgCharWidth, weight, width, fsType
        650, 700, 0, 140, 650, 700, 0, 480,     # subscript / superscript size and offset
        70, 380,                                # strikeout size, position
        0x0800,                                 # family class: sans serif
        bytes([2, 11, 6, 9, 0, 0, 0, 0, 0, 0]), # panose: latin text, monospaced proportion
        1, 0, 0, 0, b"KSTL",                     # unicode ranges: Basic Latin; vendor
        0x40, first, last,                      # fsSelection REGULAR, char range
        ASCENT, -DESCENT, 0, ASCENT, DESCENT,   # typo ascender/descender/gap, win ascent/descent
        1, 0,                                   # code page ranges: Latin 1
        1000, 1000, 0, 0x20, 0)                 # x height, cap height, default, break, context


def main(path):
    glyph_data = glyphs()
    offsets = [0]
    for g in glyph_data:
        offsets.append(offsets[-1] + len(g))
    glyf = b"".join(glyph_data)
    loca = b"".join(struct.pack(">I", o) for o in offsets)
    advances = [ADVANCE, ADVANCE, ADVANCE, 0]
    bearings = [100, 0, 100, -500]
    hmtx = b"".join(struct.pack(">Hh", a, b) for a, b in zip(advances, bearings))
    all_codes = SPACES + MARKS + BOXES
    tables = {
        b"OS/2": os2_table(min(all_codes), max(all_codes)),
        b"cmap": cmap_table(),
        b"glyf": glyf,
        b"head": struct.pack(">IIIIHHqqhhhhHHhhh", 0x00010000, 0x00010000, 0, 0x5F0F3CF5,
                             0x000B, UPEM, 0, 0, -500, 0, 600, 1100, 0, 8, 2, 1, 0),
        b"hhea": struct.pack(">IhhhHhhhhhhhhhhhH", 0x00010000, ASCENT, -DESCENT, 0, ADVANCE,
                             -500, -200, 600, 1, 0, 0, 0, 0, 0, 0, 0, len(advances)),
        b"hmtx": hmtx,
        b"loca": loca,
        b"maxp": struct.pack(">IHHHHHHHHHHHHHH", 0x00010000, len(glyph_data), 8, 2, 0, 0,
                             1, 0, 0, 0, 0, 0, 0, 0, 0),
        b"name": name_table(),
        b"post": struct.pack(">IIhhIIIII", 0x00030000, 0, -150, 70, 1, 0, 0, 0, 0),
    }
    tags = sorted(tables)
    num = len(tags)
    entry_selector = num.bit_length() - 1
    search_range = 16 * (1 << entry_selector)
    header = struct.pack(">IHHHH", 0x00010000, num, search_range, entry_selector,
                         num * 16 - search_range)
    directory = b""
    body = b""
    offset = 12 + 16 * num
    for tag in tags:
        data = tables[tag]
        padded = data + b"\0" * (-len(data) % 4)
        directory += struct.pack(">4sIII", tag, checksum(padded), offset + len(body), len(data))
        body += padded
    font = bytearray(header + directory + body)
    # head.checkSumAdjustment makes the whole file sum to 0xB1B0AFBA.
    head_offset = 12 + 16 * num + sum(len(tables[t]) + (-len(tables[t]) % 4)
                                      for t in tags[:tags.index(b"head")])
    adjustment = (0xB1B0AFBA - checksum(bytes(font))) & 0xFFFFFFFF
    struct.pack_into(">I", font, head_offset + 8, adjustment)
    with open(path, "wb") as out:
        out.write(font)


def checksum(data):
    data = data + b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "KestrelFixed.ttf")
