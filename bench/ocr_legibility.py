#!/usr/bin/env python3
"""Legibility of small glyphs drawn from outline fonts, by the two one-bit rendering rules.

Each font is drawn by hzdot-cli at 12, 14 and 16 dots, with --render classic, --render default and,
for comparison, --threshold 85 (grey rendering cut at a third of coverage), over every ninth hanzi of GB2312 level 1 (400 common characters). Each line of 20 characters is
scaled x4 nearest-neighbour on a white margin and read by tesseract with its simplified-Chinese
model, one line at a time (--psm 7). Character accuracy: 1 - edit distance / 20 a line, summed
over the lines. OCR ranks rules for one font; it does not rank one typeface against another.

    bench/ocr_legibility.py [BUILD_DIR]

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
# The two one-bit rules, and for comparison a grey rendering cut at a third of coverage.
RULES = (("classic", ["--render", "classic"]), ("default", ["--render", "default"]),
         ("grey>85", ["--threshold", "85"]))
LINE = 20
LINES = 20
SCALE = 4
MARGIN = 8  # dots of white around a line, before scaling


def sample_text():
    chars = []
    index = 0
    for hi in range(0xB0, 0xD8):
        for lo in range(0xA1, 0xFF):
            if hi == 0xD7 and lo > 0xF9:
                break
            if index % 9 == 0:
                chars.append(bytes((hi, lo)).decode("gb2312"))
            index += 1
    return "".join(chars[: LINE * LINES])


def cells(cli, font, face, size, rule, text):
    """Each character's rows of dots (lists of 0/1), drawn by hzdot-cli in rows-msb."""
    run = subprocess.run(
        [cli, "--font", font, "--face", str(face), "--size", str(size)] + rule +
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


def line_image(glyphs, size, path):
    """One line of glyphs as a PGM, black ink on white, scaled nearest-neighbour."""
    width = (len(glyphs) * size + 2 * MARGIN) * SCALE
    height = (size + 2 * MARGIN) * SCALE
    pixels = bytearray(b"\xff" * (width * height))
    for g, rows in enumerate(glyphs):
        for y in range(size):
            for x in range(size):
                if rows[y][x]:
                    px = (MARGIN + g * size + x) * SCALE
                    py = (MARGIN + y) * SCALE
                    for dy in range(SCALE):
                        start = (py + dy) * width + px
                        pixels[start:start + SCALE] = b"\x00" * SCALE
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


def read_line(path):
    run = subprocess.run(["tesseract", path, "stdout", "-l", "chi_sim", "--psm", "7"],
                         capture_output=True, check=False)
    return "".join(run.stdout.decode("utf-8", "replace").split())


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
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

    text = sample_text()
    print("OCR character accuracy, %d lines of %d common hanzi, x%d nearest-neighbour, tesseract chi_sim"
          % (LINES, LINE, SCALE))
    print("%-22s %5s" % ("font", "dots") + "".join(" %8s" % label for label, _ in RULES))
    with tempfile.TemporaryDirectory() as work:
        for name, font, face in FONTS:
            if not os.access(font, os.R_OK):
                print("%-22s skipped: %s is not installed" % (name, font))
                continue
            for size in SIZES:
                scores = []
                for _, rule in RULES:
                    glyphs = cells(cli, font, face, size, rule, text)
                    errors = 0
                    for n in range(LINES):
                        path = os.path.join(work, "line.pgm")
                        line_image(glyphs[n * LINE:(n + 1) * LINE], size, path)
                        truth = text[n * LINE:(n + 1) * LINE]
                        errors += min(LINE, distance(read_line(path), truth))
                    scores.append(1 - errors / (LINE * LINES))
                print("%-22s %5d" % (name, size) + "".join(" %8.3f" % score for score in scores), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
