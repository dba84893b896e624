#!/usr/bin/env python3
"""Writes hzdot.svg: the character 汉 in 12x12 dots on an LCD-green panel, and renders the hicolor
PNG sizes from it with rsvg-convert (librsvg2-bin). Run from anywhere; writes beside this script."""
import os
import subprocess

GLYPH = [
    "............",
    ".X..XXXXXXX.",
    "..X.......X.",
    ".....X...X..",
    "X....X...X..",
    ".X....X.X...",
    ".......X....",
    "......X.X...",
    "..X..X...X..",
    ".X..X.....X.",
    "X..X.......X",
    "............",
]
SIZES = [16, 22, 24, 32, 48, 64, 128, 256]

def svg():
    pitch, dot, origin = 18, 15, 20
    parts = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
        '  <title>HzDot</title>',
        '  <rect x="4" y="4" width="248" height="248" rx="36" fill="#2b3326"/>',
        '  <rect x="14" y="14" width="228" height="228" rx="24" fill="#a7c23a"/>',
    ]
    for r, row in enumerate(GLYPH):
        for c, ch in enumerate(row):
            colour = "#1d2a10" if ch == "X" else "#97b234"
            parts.append('  <rect x="%d" y="%d" width="%d" height="%d" rx="3" fill="%s"/>'
                         % (origin + 1 + c * pitch, origin + 1 + r * pitch, dot, dot, colour))
    parts.append('</svg>')
    return "\n".join(parts) + "\n"

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    source = os.path.join(here, "hzdot.svg")
    with open(source, "w", encoding="utf-8") as f:
        f.write(svg())
    for size in SIZES:
        out = os.path.join(here, "hzdot-%d.png" % size)
        subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o", out, source], check=True)

if __name__ == "__main__":
    main()
