#!/usr/bin/env python3
"""Writes the help texts that carry dot-matrix diagrams (texts 2 to 7, 11 and 12).

The diagrams are drawn from the program's own 16x16 and 12x12 Song libraries, so run this after a
build has made them:

    help/tools/make_help_diagrams.py build/bin help/texts

Lines are joined by CR LF, the files are UTF-8. Every diagram column is one full-width mark wide, so
ASCII labels take two characters per column; the help window's font makes two ASCII characters as
wide as one mark.
"""

import sys
from pathlib import Path

EXAMPLE_16 = "汉"  # the 16x16 example of texts 2 to 6, 11 and 12
EXAMPLE_12 = "字"  # the 12x12 example of text 7: its first row is clear in our 12x12 library

SET, CLEAR = "■", "□"
MARGIN = "    "  # four half-widths: room for the row labels on the left


def record(path, char, record_size):
    code = char.encode("gb2312")
    number = (code[0] - 0xA1) * 94 + (code[1] - 0xA1)
    with open(path, "rb") as f:
        f.seek(number * record_size)
        data = f.read(record_size)
    if len(data) != record_size:
        sys.exit(f"{path}: no record for {char}")
    return data


def dots16(bin_dir, char):
    data = record(Path(bin_dir) / "hzk16宋", char, 32)
    return [[(data[2 * r + c // 8] >> (7 - c % 8)) & 1 for c in range(16)] for r in range(16)]


def dots12(bin_dir, char):
    data = record(Path(bin_dir) / "hzk12宋", char, 24)
    return [[(data[2 * r + c // 8] >> (7 - c % 8)) & 1 for c in range(12)] for r in range(12)]


def marks(row, dot=SET, clear=CLEAR):
    return "".join(dot if d else clear for d in row)


def vertical_labels(labels):
    """Column labels written downwards, one column per mark: "B" over the digits."""
    depth = max(len(label) for label in labels)
    return [MARGIN + "".join((label[k] if k < len(label) else " ") + " " for label in labels).rstrip()
            for k in range(depth)]


def example_sentence(size, char):
    return f"下面以{size}点阵的汉字“{char}”为例，其它大小的点阵与此相同。"


CLOSING = "每个汉字都是按照B1、B2、......B31、B32排列。"
HALF_NOTE = "注意：24*24大小的汉字没有该列排，其它都有。"


def rows_text(dots, char):
    lines = ["横 排 → →", "该排列方式是典型的汉字库点阵的排列方式。", example_sentence("16*16", char)]
    high_low = "高" + " " * 12 + "低"
    lines.append(MARGIN + high_low + high_low)
    lines.append(MARGIN + ("7 6 5 4 3 2 1 0 " * 2).rstrip())
    labelled = {0, 1, 14, 15}  # the first and last two rows carry their byte numbers
    for r, row in enumerate(dots):
        left, right = (f"B{2 * r + 1}", f"B{2 * r + 2}") if r in labelled else (" .", ".")
        lines.append(left.ljust(4) + marks(row) + " " + right)
    lines.append(CLOSING)
    return lines


def bit_labels(top_is_bit0):
    """Row labels of one eight-row band, top row first, each four half-widths wide."""
    bits = range(8) if top_is_bit0 else range(7, -1, -1)
    return [("低0 " if b == 0 else "高7 " if b == 7 else f"  {b} ") for b in bits]


def columns_text(dots, char, title, top_is_bit0, halves):
    lines = [title, example_sentence("16*16", char)]
    if halves:
        top = [f"B{c + 1}" for c in range(16)]
        bottom = [f"B{c + 17}" for c in range(16)]
    else:
        top = [f"B{2 * c + 1}" for c in range(16)]
        bottom = [f"B{2 * c + 2}" for c in range(16)]
    lines += vertical_labels(top)
    band = bit_labels(top_is_bit0)
    for r, row in enumerate(dots):
        lines.append(band[r % 8] + marks(row))
    lines += vertical_labels(bottom)
    lines.append(CLOSING)
    if halves:
        lines.append(HALF_NOTE)
    return lines


def placement_text(dots12, char):
    lines = ["12*12变16*16",
             "在液晶显示程序中一般12*12汉字都是按照16*16汉字处理，所以这个程序提供了该转换功能。",
             f"下面以12*12点阵的汉字“{char}”为例："]
    lines += [marks(row) for row in dots12]
    lines.append("在实际处理过程中一般都按照以下处理")
    # Two blank columns and rows before the glyph, two after: both spacings 2.
    blank = [0] * 16
    cell = [blank, blank] + [[0, 0] + row + [0, 0] for row in dots12] + [blank, blank]
    lines += [marks(row) for row in cell]
    lines.append("当然我们这个程序可以设计你处理的方案。在下面“功能”里面我们将说到如何设计方案。")
    return lines


def dot_picture_text(title, intro, dots, char, **mark_choice):
    """A topic on a setting of the dot picture: what it does, then the 16x16 example drawn with it."""
    return [title, intro, example_sentence("16*16", char)] + [marks(row, **mark_choice) for row in dots]


def dot_mark_text(dots, char):
    lines = dot_picture_text("点阵图显示字符",
                             "点击按钮区中的“输入显示字符”按钮，将弹出一个窗口，您只要选择一个您喜欢的字符，"
                             "在点阵图中就显示该字符拼成的汉字。关闭该窗口可以再次点击该按钮。程序默认字符“■”。",
                             dots, char, dot="◆")
    lines.append(f"上面就是用“◆”拼成的汉字“{char}”。")
    return lines


def back_mark_text(dots, char):
    return dot_picture_text("点阵图有无背景字符",
                            "点击按钮区中的“点阵图背景字符”按钮，这时点阵图中的汉字点阵将不显示背景字符“□”，"
                            "再次点击该按钮又将显示背景字符“□”。程序默认是有背景字符“□”",
                            dots, char, clear="  ")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_help_diagrams.py <folder with hzk16宋 and hzk12宋> <texts folder>")
    bin_dir, out = sys.argv[1], Path(sys.argv[2])
    d16 = dots16(bin_dir, EXAMPLE_16)
    d12 = dots12(bin_dir, EXAMPLE_12)
    if any(d12[0]):
        sys.exit(f"the 12x12 example {EXAMPLE_12} must have a clear first row")
    texts = {
        2: rows_text(d16, EXAMPLE_16),
        3: columns_text(d16, EXAMPLE_16, "下上列排↑↑", top_is_bit0=True, halves=False),
        4: columns_text(d16, EXAMPLE_16, "上下列排↓↓", top_is_bit0=False, halves=False),
        5: columns_text(d16, EXAMPLE_16, "下半列排↑↘", top_is_bit0=True, halves=True),
        6: columns_text(d16, EXAMPLE_16, "上半列排↓↗", top_is_bit0=False, halves=True),
        7: placement_text(d12, EXAMPLE_12),
        11: dot_mark_text(d16, EXAMPLE_16),
        12: back_mark_text(d16, EXAMPLE_16),
    }
    for number, lines in texts.items():
        (out / f"text{number:02d}.txt").write_bytes(("\r\n".join(lines) + "\r\n").encode("utf-8"))


if __name__ == "__main__":
    main()
