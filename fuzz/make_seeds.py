#!/usr/bin/env python3
"""Writes starting corpora in fuzz/corpus/: small valid inputs for each target to mutate.

Run from the repository's root: python3 fuzz/make_seeds.py. The PCF seeds need bdftopcf
(xfonts-utils); the TrueType seed is built here, byte by byte.
"""
import os
import struct
import subprocess
import tempfile

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def put(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data if isinstance(data, bytes) else data.encode("utf-8"))


# --- text input ----------------------------------------------------------------------------
put("fuzz_utf8_input", "hanzi", "样字")
put("fuzz_utf8_input", "bom-lines", b"\xef\xbb\xbf" + "样\r\na字\n\r，".encode())
put("fuzz_utf8_input", "four-bytes", "a\U0001F600b\U00020000")
put("fuzz_utf8_input", "bad-bytes", b"\xe6\xa0\xb7\xe0\x82\x80\xed\xa0\x80\xc0\xaf\xff")

# --- C/C++ sources: the first byte picks C++ (bit 0), ASCII (bit 1) and the piece size --------
gbk = "温度".encode("gb18030")
put("fuzz_source_scan", "literals", b"\x07" + "// 注释\n#include \"头.h\"\nconst char* s = u8\"样\\u5B57\\x41\" L\"\\x4E2D\";\nchar c = '字'; int n = 1'000;\n".encode())
put("fuzz_source_scan", "raw", b"\x05" + "auto r = R\"xy(庚\")辛)xy\"; auto s = R\"ab\" + f(1); /* 块 */\n".encode())
put("fuzz_source_scan", "encodings", b"\x0b" + b"\xef\xbb\xbf/* \xff */ a = \"" + gbk + b"\"; b = \"\x81\x5c\"; c = \"\xff\xfe\";\n// \xc0\x5c\n")
put("fuzz_source_scan", "splices", b"\x03" + "s = \"戊\\\r\n己\"; // 续\\\n \"不\"\n\"开\n".encode())

# --- command lines (arguments split at NUL) --------------------------------------------------
for name, args in {
    "export": ["-f", "/tmp", "-l", "3", "-a", "2", "样字"],
    "view": ["--view", "--mark=★", "--back", "□", "--current", "-x4", "-y0", "--", "-字"],
    "file": ["--input", "-", "--output=out.txt", "--encoding", "gbk", "--library=24*24宋体"],
    "help": ["--help", "--version", "-h"],
}.items():
    put("fuzz_cli_options", name, "\0".join(args))

# --- library files: the first byte picks the layout ------------------------------------------
def record(n, size):
    return bytes(((n * 37 + i * 11 + 1) & 0xFF) for i in range(size))


for position, size in [(0, 24), (1, 32), (3, 72)]:
    put("fuzz_glyph_reader", f"library{position}-short", bytes([position]) + b"".join(record(n, size) for n in range(20)))
put("fuzz_glyph_reader", "empty-library", bytes([1]))

# --- fonts: the first byte picks the cell (0: 12, 1: 16, 2: 24; +0x80 grey with a threshold) --
def frame(width, height):
    rows = []
    for y in range(height):
        row = "".join("#" if y in (0, height - 1) or x in (0, width - 1) else "." for x in range(width))
        value = 0
        for x, ch in enumerate(row):
            if ch == "#":
                value |= 1 << (((width + 7) // 8) * 8 - 1 - x)
        rows.append(f"{value:0{(width + 7) // 8 * 2}X}")
    return rows


def bdf(size, codes):
    lines = ["STARTFONT 2.1", f"FONT -test-dots-medium-r-normal--{size}-{size}0-75-75-c-{size}0-ISO10646-1",
             f"SIZE {size} 75 75", f"FONTBOUNDINGBOX {size} {size} 0 -2", "STARTPROPERTIES 5",
             f"PIXEL_SIZE {size}", f"FONT_ASCENT {size - 2}", "FONT_DESCENT 2", 'CHARSET_REGISTRY "ISO10646"',
             'CHARSET_ENCODING "1"', "ENDPROPERTIES", f"CHARS {len(codes)}"]
    for code in codes:
        lines += [f"STARTCHAR u{code:04X}", f"ENCODING {code}", "SWIDTH 1000 0", f"DWIDTH {size} 0",
                  f"BBX {size} {size} 0 -2", "BITMAP", *frame(size, size), "ENDCHAR"]
    lines.append("ENDFONT")
    return "\n".join(lines) + "\n"


codes = [0x554A, 0x56FD, 0x5B57]
for cell, size in [(0, 12), (1, 16), (2, 24)]:
    text = bdf(size, codes)
    put("fuzz_font_face", f"bdf{size}", bytes([cell]) + text.encode())
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "font.bdf")
        with open(source, "w") as out:
            out.write(text)
        pcf = subprocess.run(["bdftopcf", source], check=True, capture_output=True).stdout
    put("fuzz_font_face", f"pcf{size}", bytes([cell]) + pcf)
# A glyph with a bounding box but no bitmap.
put("fuzz_font_face", "bdf16-no-bitmap", bytes([1]) + bdf(16, codes).replace("BITMAP\n" + "\n".join(frame(16, 16)) + "\n", "", 1).encode())


def truetype(codes):
    """A TrueType font with one square outline glyph for each code, and the .notdef glyph."""
    units = 1024
    # One contour through four on-curve points, (100, -100) (900, -100) (900, 800) (100, 800):
    # its bounding box, the last point's index, no instructions, four flags (on the curve, 16-bit
    # coordinates), then the x and the y steps from point to point.
    square = struct.pack(">hhhhh", 1, 100, -100, 900, 800) + struct.pack(">HH", 3, 0) + bytes([0x01] * 4)
    square += struct.pack(">hhhh", 100, 800, 0, -800) + struct.pack(">hhhh", -100, 0, 900, 0)
    if len(square) % 2:
        square += b"\0"
    glyphs = [b"", *([square] * len(codes))]
    glyf, loca, offset = b"", [], 0
    for g in glyphs:
        loca.append(offset)
        glyf += g
        offset += len(g)
    loca.append(offset)
    loca_table = b"".join(struct.pack(">I", o) for o in loca)
    count = len(glyphs)

    head = struct.pack(">IIIIHHqqhhhhHHhhh", 0x00010000, 0x00010000, 0, 0x5F0F3CF5, 0, units, 0, 0,
                       0, -200, 1000, 900, 0, 8, 2, 1, 0)
    hhea = struct.pack(">IhhhHhhhhhhhhhhhH", 0x00010000, 900, -200, 0, units, 0, 0, 1000, 1, 0, 0,
                       0, 0, 0, 0, 0, count)
    hmtx = b"".join(struct.pack(">Hh", units, 0) for _ in glyphs)
    maxp = struct.pack(">IHHHHHHHHHHHHHH", 0x00010000, count, 4, 1, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0)
    # cmap format 4: one segment per code, then the closing 0xFFFF segment.
    ends = [*codes, 0xFFFF]
    starts = [*codes, 0xFFFF]
    deltas = [(i + 1 - c) & 0xFFFF for i, c in enumerate(codes)] + [1]
    segs = len(ends)
    power = 1 << (segs.bit_length() - 1)
    sub = struct.pack(">HHHHHHH", 4, 16 + 8 * segs, 0, 2 * segs, 2 * power, power.bit_length() - 1, 2 * (segs - power))
    sub += b"".join(struct.pack(">H", e) for e in ends) + b"\0\0"
    sub += b"".join(struct.pack(">H", s) for s in starts)
    sub += b"".join(struct.pack(">H", d) for d in deltas)
    sub += b"\0\0" * segs
    cmap = struct.pack(">HHHHI", 0, 1, 3, 1, 12) + sub
    post = struct.pack(">IIhhIIIII", 0x00030000, 0, -100, 50, 0, 0, 0, 0, 0)

    tables = {b"cmap": cmap, b"glyf": glyf, b"head": head, b"hhea": hhea, b"hmtx": hmtx, b"loca": loca_table,
              b"maxp": maxp, b"post": post}
    out = struct.pack(">IHHHH", 0x00010000, len(tables), 128, 3, len(tables) * 16 - 128)
    offset = 12 + 16 * len(tables)
    body = b""
    for tag in sorted(tables):
        data = tables[tag]
        out += tag + struct.pack(">III", 0, offset + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    return out + body


put("fuzz_font_face", "ttf16", bytes([1]) + truetype(codes))
put("fuzz_font_face", "ttf24-grey", bytes([0x82]) + truetype(codes))


# --- library files to probe: a flags byte (1: cell given, 2: first row, 4: record layout, 8: the
# body patches a longer file), the cell, first row - 0xA0 and layout index, then the body ---------
SAMPLES = "我的是永一中国人大圈和说"  # the characters a probe compares


def code_glyph(code):
    """The reference glyph fuzz_library_probe draws for a code: 16 x 16, as dots[y][x]."""
    dots = [[0] * 16 for _ in range(16)]
    for i in range(1, 15):
        dots[i][3 + code % 7] = 1
        dots[2 + (code // 7) % 5][i] = 1
    for x in range(3 + (code // 35) % 5, 15):
        dots[12][x] = 1
    for i in range(6):
        dots[14 - i][1 + i] = 1
    for y in range(3):
        for x in range(3):
            dots[5 + (code // 3) % 4 + y][10 + code % 3 + x] = 1
    return dots


def rows_msb(dots):
    out = bytearray()
    for row in dots:
        for start in range(0, 16, 8):
            out.append(sum(row[start + b] << (7 - b) for b in range(8)))
    return bytes(out)


def columns_lsb(dots):
    out = bytearray()
    for x in range(16):
        for start in range(0, 16, 8):
            out.append(sum(dots[start + b][x] << b for b in range(8)))
    return bytes(out)


def patched_library(first_row, rows, encode):
    """A 16-dot library of `rows` rows from first_row holding the samples, zeros elsewhere, as patches."""
    body = struct.pack(">I", rows * 94 * 32 // 2)[1:]
    for ch in SAMPLES:
        hi, lo = ch.encode("gb2312")
        offset = ((hi - first_row) * 94 + lo - 0xA1) * 32
        body += struct.pack(">I", offset)[1:] + struct.pack(">H", 32) + encode(code_glyph(hi << 8 | lo))
    return body


put("fuzz_library_probe", "found-a1", bytes([8, 0, 0, 0]) + patched_library(0xA1, 0xF7 - 0xA1 + 1, rows_msb))
# Columns, lsb first (layout 24), from row 0xB0, with the cell and the first row given.
put("fuzz_library_probe", "found-b0-columns", bytes([8 | 1 | 2, 16, 0x10, 24]) + patched_library(0xB0, 0xF7 - 0xB0 + 1, columns_lsb))
# A blank 12-dot library: nothing looks like the samples.
put("fuzz_library_probe", "blank-12", bytes([8, 0, 0, 0]) + struct.pack(">I", 72 * 94 * 24 // 2)[1:])
put("fuzz_library_probe", "short-given", bytes([1 | 2 | 4, 12, 1, 0]) + b"".join(record(n, 24) for n in range(20)))
put("fuzz_library_probe", "hints-out-of-range", bytes([1 | 2, 70, 0x5F, 0]) + record(0, 32))


# --- glyph bytes to detect the layout of, as the paste parser gives them ------------------------
put("fuzz_layout_detect", "rows-16", rows_msb(code_glyph(0xCED2)))
put("fuzz_layout_detect", "columns-16", columns_lsb(code_glyph(0xB5C4)))
put("fuzz_layout_detect", "header-12", bytes([12, 12]) + bytes((n * 29 + 7) & 0xFF for n in range(24)))
put("fuzz_layout_detect", "rows-8", bytes([0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00]))


# --- pictures: the test pictures, the first byte choosing the box, dither and depth ------------
PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "picture", "pictures")
for choice, name in [(0x10, "logo.png"), (0x51, "bar.bmp"), (0x22, "bar.jpg"), (0x13, "bar.gif"), (0x3F, "bar.svg")]:
    with open(os.path.join(PICTURES, name), "rb") as picture:
        put("fuzz_picture_reader", name.replace(".", "-"), bytes([choice]) + picture.read())
