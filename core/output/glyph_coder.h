#pragma once
// The coding of a compressed C header's glyphs: each glyph on its own, dot by dot, with a binary
// range coder whose probabilities come from a table trained on the whole font and kept in the header.
//
// A glyph's dots are taken rows top to bottom, each row left to right, at the layout's depth; a
// dot's level is taken as DEPTH binary decisions, its highest bit first ("planes" 0 to DEPTH-1). The
// probability of a decision is looked up by its context:
//
//   plane 0        index = C
//   plane p > 0    index = 2^N + (p-1) * 2^(N+1) + B * 2^N + C
//
// where C has bit k set when the dot at kContextDots[k] (relative to this one, outside the glyph
// clear) has this plane's bit set, for k < N, and B is the previous plane's bit of this same dot.
// A table entry is the chance of a 0 in 256ths, from 1 to 255.
//
// The coder keeps a 32-bit range; a decision with chance P of a 0 splits it at bound =
// (range >> 8) * P, a 0 taking the part below. Whenever the range falls below 2^24 it is shifted up a
// byte and the next byte of the glyph comes in. A glyph's bytes are the code value's bytes, most
// significant first, without the first (always 0) byte, and ending at the last byte that is not 0:
// a decoder reads 0 for every byte past a glyph's end. A blank glyph takes no bytes at all.

#include "core/glyph/dot_cell.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace hz {

struct ContextDot {
    int dx; // to the right
    int dy; // downwards; never below the dot, and never at or right of it on its own row
};

// The neighbours a context may use, the most telling first.
inline constexpr std::array<ContextDot, 14> kContextDots = {{{-1, 0},
                                                             {0, -1},
                                                             {-1, -1},
                                                             {1, -1},
                                                             {-2, 0},
                                                             {0, -2},
                                                             {-2, -1},
                                                             {2, -1},
                                                             {-1, -2},
                                                             {1, -2},
                                                             {-3, 0},
                                                             {-2, -2},
                                                             {2, -2},
                                                             {3, -1}}};
// How far a context reaches sideways: a decoder's rows keep this many clear dots on each side.
inline constexpr int kContextReach = 3;

struct GlyphModel {
    int depth = 1;                     // bits a dot
    int contextBits = 0;               // N: how many of kContextDots
    std::vector<std::uint8_t> chances; // modelSize(depth, contextBits) entries
};

std::size_t modelSize(int depth, int contextBits);

// The model that fits cells (each taken at depth) best with contextBits neighbours.
GlyphModel trainModel(std::span<const DotCell> cells, int depth, int contextBits);

// The glyph's bytes under model; the cell is taken at the model's depth.
std::vector<std::uint8_t> encodeGlyph(const DotCell& cell, const GlyphModel& model);

struct CodedGlyphs {
    GlyphModel model;
    std::vector<std::vector<std::uint8_t>> glyphs; // in the order of the cells
    std::size_t dataBytes = 0;                     // the glyphs' bytes together
};

// The cells coded with the context size that gives the fewest bytes of model and glyphs together.
CodedGlyphs codeGlyphs(std::span<const DotCell> cells, int depth);

} // namespace hz
