#include "fontsource/glyph_bitmap.h"

#include <algorithm>

namespace hz::fontsource {

std::optional<InkBox> GlyphBitmap::inkBox() const {
    std::optional<InkBox> box;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!ink(x, y))
                continue;
            const int px = left + x;
            const int py = y - top;
            if (!box) {
                box = InkBox{px, py, px, py};
            } else {
                box->left = std::min(box->left, px);
                box->right = std::max(box->right, px);
                box->top = std::min(box->top, py);
                box->bottom = std::max(box->bottom, py);
            }
        }
    }
    return box;
}

} // namespace hz::fontsource
