#include "layout_checks.h"

#include <gtest/gtest.h>

#include <algorithm>

const std::vector<std::uint16_t>& gb2312Hanzi() {
    static const std::vector<std::uint16_t> codes = [] {
        std::vector<std::uint16_t> all;
        for (int hi = 0xB0; hi <= 0xF7; ++hi)
            for (int lo = 0xA1; lo <= 0xFE; ++lo)
                if (!(hi == 0xD7 && lo >= 0xFA))
                    all.push_back(static_cast<std::uint16_t>(hi << 8 | lo));
        return all;
    }();
    return codes;
}

void expectLibraryLayout(const LibraryView& library) {
    ASSERT_EQ(library.bytes().size(), 8178u * library.recordSize());

    int blankHanzi = 0;
    for (std::uint16_t code : gb2312Hanzi()) {
        if (library.inkCount(code) == 0 && ++blankHanzi <= 5)
            ADD_FAILURE() << std::hex << "hanzi " << code << " has no ink";
    }
    EXPECT_EQ(blankHanzi, 0);

    // Rows AA..AF are unassigned, as are D7FA..D7FE; the ideographic space has no ink.
    std::vector<std::uint16_t> blank{0xA1A1, 0xD7FA, 0xD7FB, 0xD7FC, 0xD7FD, 0xD7FE};
    for (int hi = 0xAA; hi <= 0xAF; ++hi)
        for (int lo = 0xA1; lo <= 0xFE; ++lo)
            blank.push_back(static_cast<std::uint16_t>(hi << 8 | lo));
    for (std::uint16_t code : blank)
        EXPECT_EQ(library.inkCount(code), 0) << std::hex << "code " << code << "\n" << library.picture(code);

    if (library.size() == 12) {
        const std::string& bytes = library.bytes();
        for (std::size_t i = 1; i < bytes.size(); i += 2) {
            if ((bytes[i] & 0x0F) != 0) {
                ADD_FAILURE() << "trailing bits set in the row at byte " << i - 1;
                break;
            }
        }
    }
}

CentreOffset meanInkCentreOffset(const LibraryView& library) {
    double x = 0, y = 0;
    int n = 0;
    for (std::uint16_t code : gb2312Hanzi()) {
        if (auto box = library.inkBox(code)) {
            x += (box->left + box->right) / 2.0;
            y += (box->top + box->bottom) / 2.0;
            ++n;
        }
    }
    const double centre = (library.size() - 1) / 2.0;
    return {x / n - centre, y / n - centre};
}

void expectFrameIntact(const LibraryView& library, std::uint16_t code) {
    const auto box = library.inkBox(code);
    ASSERT_TRUE(box) << std::hex << code;
    // A side is there when most lines across the glyph find ink in the outer quarter on that side;
    // brush strokes wander, so no single column or row has to carry it.
    const int w = box->width(), h = box->height();
    auto linesWithInk = [&](bool alongRows, int from, int to) {
        int lines = 0;
        const int count = alongRows ? h : w;
        for (int i = 0; i < count; ++i) {
            bool ink = false;
            for (int j = from; j <= to && !ink; ++j)
                ink = alongRows ? library.dot(code, j, box->top + i) : library.dot(code, box->left + i, j);
            lines += ink;
        }
        return lines;
    };
    const std::string where = library.picture(code);
    EXPECT_GE(linesWithInk(true, box->left, box->left + w / 4 - 1), h * 3 / 5) << "left side\n" << where;
    EXPECT_GE(linesWithInk(true, box->right - w / 4 + 1, box->right), h * 3 / 5) << "right side\n" << where;
    EXPECT_GE(linesWithInk(false, box->top, box->top + h / 4 - 1), w * 3 / 5) << "top side\n" << where;
    EXPECT_GE(linesWithInk(false, box->bottom - h / 4 + 1, box->bottom), w * 3 / 5) << "bottom side\n" << where;
}
