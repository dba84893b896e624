#!/usr/bin/env python3
"""Legibility of small glyphs drawn from outline fonts, by each one-bit rendering rule.

Each font is drawn by hzdot-cli at 12, 14 and 16 dots with every --render rule (classic, default,
and the three default chooses from: dropout, autohint, grey), over LINES lines of 20 hanzi taken
evenly from GB2312 level 1 (the common characters). Each line is scaled xSCALE nearest-neighbour on
a white margin and read by tesseract with its simplified-Chinese model, one line at a time
(--psm 7). Character accuracy: 1 - edit distance / 20 a line, summed over the lines. OCR ranks
rules for one font; it does not rank one typeface against another. A rule that draws the same dots
as one already read is given its score without reading it again.

    bench/ocr_legibility.py [BUILD_DIR] [--lines N] [--scale S] [--sizes 12,14,16] [--fonts WORD]
                            [--rules classic,default,...]

--fonts keeps the fonts whose name holds WORD; --rules reads only those rules (classic and default
always among them).

Skips (exit 0, with a message) when tesseract or its chi_sim model is missing; a font that is not
installed is skipped alone.
"""

import os
import shutil
import subprocess
import sys
import tempfile

FONTS = [
    ("Zen Hei (face 0)", "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", 0),
    ("AR PL SungtiL", "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf", 0),
    ("Droid Sans Fallback", "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf", 0),
]
SIZES = (12, 14, 16)
RULES = ("classic", "default", "dropout", "autohint", "grey")
LINE = 20
LINES = 50
SCALE = 4
MARGIN = 8  # dots of white around a line, before scaling


def sample_text(lines):
    """lines * LINE hanzi spread evenly over GB2312 level 1."""
    level1 = []
    for hi in range(0xB0, 0xD8):
        for lo in range(0xA1, 0xFF):
            if hi == 0xD7 and lo > 0xF9:
                break
            level1.append(bytes((hi, lo)).decode("gb2312"))
    wanted = min(len(level1), lines * LINE)
    return "".join(level1[i * len(level1) // wanted] for i in range(wanted))


def cells(cli, font, face, size, rule, text):
    """Each character's rows of dots (lists of 0/1), drawn by hzdot-cli in rows-msb."""
    run = subprocess.run(
        [cli, "--font", font, "--face", str(face), "--size", str(size), "--render", rule] +
        ["--layout", "rows-msb", "--format", "bin", text],
        capture_output=True, check=False)
    if run.returncode != 0:
        raise RuntimeError(run.stderr.decode("utf-8", "replace"))
    row_bytes = (size + 7) // 8
    record = row_bytes * size
    data = run.stdout
    if len(data) != record * len(text):
        raise RuntimeError("expected %d bytes, got %d" % (record * len(text), len(data)))
    glyphs = []
    for i in range(len(text)):
        rows = []
        for y in range(size):
            start = i * record + y * row_bytes
            bits = data[start:start + row_bytes]
            rows.append([(bits[x // 8] >> (7 - x % 8)) & 1 for x in range(size)])
        glyphs.append(rows)
    return glyphs


def line_image(glyphs, size, scale, path):
    """One line of glyphs as a PGM, black ink on white, scaled nearest-neighbour."""
    width = (len(glyphs) * size + 2 * MARGIN) * scale
    height = (size + 2 * MARGIN) * scale
    pixels = bytearray(b"\xff" * (width * height))
    for g, rows in enumerate(glyphs):
        for y in range(size):
            for x in range(size):
                if rows[y][x]:
                    px = (MARGIN + g * size + x) * scale
                    py = (MARGIN + y) * scale
                    for dy in range(scale):
                        start = (py + dy) * width + px
                        pixels[start:start + scale] = b"\x00" * scale
    with open(path, "wb") as out:
        out.write(b"P5\n%d %d\n255\n" % (width, height))
        out.write(pixels)


def distance(a, b):
    previous = list(range(len(b) + 1))
    for i, ca in enumerate(a, 1):
        current = [i]
        for j, cb in enumerate(b, 1):
            current.append(min(previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (ca != cb)))
        previous = current
    return previous[-1]


def read_lines(paths, work):
    """What tesseract reads on each image, one line a page: one process for them all (the
    model is loaded once), each image still read on its own."""
    listing = os.path.join(work, "lines.txt")
    with open(listing, "w") as out:
        out.write("".join(path + "\n" for path in paths))
    run = subprocess.run(["nice", "tesseract", listing, "stdout", "-l", "chi_sim", "--psm", "7"],
                         capture_output=True, check=False, env=dict(os.environ, OMP_THREAD_LIMIT="1"))
    pages = run.stdout.decode("utf-8", "replace").split("\f")
    if pages and not pages[-1].strip():
        pages.pop()
    if run.returncode != 0 or len(pages) != len(paths):
        raise RuntimeError("tesseract read %d of %d lines: %s"
                           % (len(pages), len(paths), run.stderr.decode("utf-8", "replace")))
    return ["".join(page.split()) for page in pages]


def accuracy(glyphs, text, size, scale, work):
    lines = len(text) // LINE
    paths = []
    for n in range(lines):
        paths.append(os.path.join(work, "line%03d.pgm" % n))
        line_image(glyphs[n * LINE:(n + 1) * LINE], size, scale, paths[-1])
    errors = 0
    for n, seen in enumerate(read_lines(paths, work)):
        errors += min(LINE, distance(seen, text[n * LINE:(n + 1) * LINE]))
    return 1 - errors / (LINE * lines)


def arguments(argv):
    build, lines, scale, sizes, only, rules = "build", LINES, SCALE, SIZES, None, RULES
    rest = list(argv)
    while rest:
        word = rest.pop(0)
        if word in ("--lines", "--scale", "--sizes", "--fonts", "--rules"):
            if not rest:
                raise SystemExit("%s needs a value" % word)
            value = rest.pop(0)
            try:
                if word == "--lines":
                    lines = int(value)
                elif word == "--scale":
                    scale = int(value)
                elif word == "--sizes":
                    sizes = tuple(int(v) for v in value.split(","))
                elif word == "--rules":
                    unknown = [v for v in value.split(",") if v not in RULES]
                    if unknown:
                        raise SystemExit("--rules: %s is not one of %s" % (unknown[0], ",".join(RULES)))
                    rules = tuple(r for r in RULES if r in value.split(",") or r in ("classic", "default"))
                else:
                    only = value.lower()
            except ValueError:
                raise SystemExit("%s: %r is not a number" % (word, value))
            if lines < 1 or scale < 1 or any(not 4 <= v <= 64 for v in sizes):
                raise SystemExit("%s: %r is out of range" % (word, value))
        elif word.startswith("-"):
            raise SystemExit("unknown option %s; see the top of %s" % (word, sys.argv[0]))
        else:
            build = word
    return build, lines, scale, sizes, only, rules


def main():
    build, lines, scale, sizes, only, rules = arguments(sys.argv[1:])
    cli = os.path.join(build, "bin", "hzdot-cli")
    if not os.access(cli, os.X_OK):
        print("no %s; build it first" % cli, file=sys.stderr)
        return 2
    if shutil.which("tesseract") is None:
        print("skipped: tesseract is not installed "
              "(apt-get install tesseract-ocr tesseract-ocr-chi-sim)")
        return 0
    langs = subprocess.run(["tesseract", "--list-langs"], capture_output=True, text=True, check=False)
    if "chi_sim" not in langs.stdout.split():
        print("skipped: tesseract has no chi_sim model (apt-get install tesseract-ocr-chi-sim)")
        return 0

    text = sample_text(lines)
    print("OCR character accuracy, %d lines of %d common hanzi, x%d nearest-neighbour, tesseract chi_sim"
          % (len(text) // LINE, LINE, scale))
    print("%-22s %5s" % ("font", "dots") + "".join(" %8s" % rule for rule in rules) + "  default is")
    with tempfile.TemporaryDirectory() as work:
        for name, font, face in FONTS:
            if only and only not in name.lower():
                continue
            if not os.access(font, os.R_OK):
                print("%-22s skipped: %s is not installed" % (name, font))
                continue
            for size in sizes:
                scores = {}
                read = {}  # the dots drawn, to the score they read at
                for rule in rules:
                    glyphs = cells(cli, font, face, size, rule, text)
                    key = repr(glyphs)
                    if key not in read:
                        read[key] = (rule, accuracy(glyphs, text, size, scale, work))
                    scores[rule] = read[key]
                same = [r for r in rules[2:] if scores[r][0] == scores["default"][0]]
                print("%-22s %5d" % (name, size) + "".join(" %8.3f" % scores[r][1] for r in rules) +
                      "  " + (same[0] if same else "?"), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
