#pragma once
// Checks every library must pass, whatever font it came from.

#include "library_view.h"

#include <cstdint>
#include <vector>

// The 6763 GB2312 hanzi: B0A1..F7FE less D7FA..D7FE.
const std::vector<std::uint16_t>& gb2312Hanzi();

// File length, blank records for unassigned codes, ink for every hanzi, clear trailing bits in
// 12-dot rows. Reports failures through GoogleTest.
void expectLibraryLayout(const LibraryView& library);

// The centre of the hanzi's mean ink box, in dots from the cell's centre (x, y).
struct CentreOffset {
    double x, y;
};
CentreOffset meanInkCentreOffset(const LibraryView& library);

// A frame character ("国", "圈") keeps all four sides of its frame: the two outermost columns and
// rows on each side hold a long run of ink.
void expectFrameIntact(const LibraryView& library, std::uint16_t code);
