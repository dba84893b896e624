#include "core/picture/dot_picture.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace hz {

DotPicture::DotPicture(int width, int height, int depth) : w(width), h(height), bits(depth) {
    if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide)
        throw std::invalid_argument("a picture of " + std::to_string(width) + "x" + std::to_string(height) +
                                    " dots is outside 1..1024 a side");
    if (!DotCell::validDepth(depth))
        throw std::invalid_argument("a picture of " + std::to_string(depth) + " bits a dot");
    levels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
}

void DotPicture::setLevel(int x, int y, int level) {
    levels[at(x, y)] = static_cast<std::uint8_t>(std::clamp(level, 0, maxLevel()));
}

int DotPicture::inkCount() const {
    const int top = maxLevel();
    return static_cast<int>(std::count_if(levels.begin(), levels.end(), [top](int l) { return 2 * l >= top + 1; }));
}

DotCell DotPicture::part(int x0, int y0, int partWidth, int partHeight) const {
    if (x0 < 0 || y0 < 0 || partWidth < 1 || partHeight < 1 || partWidth > DotCell::kMaxSide ||
        partHeight > DotCell::kMaxSide || x0 + partWidth > w || y0 + partHeight > h)
        throw std::invalid_argument("a part outside the picture or larger than a cell");
    DotCell cell = DotCell(partWidth, partHeight).withDepth(bits);
    for (int y = 0; y < partHeight; ++y)
        for (int x = 0; x < partWidth; ++x)
            cell.setLevel(x, y, level(x0 + x, y0 + y));
    return cell;
}

} // namespace hz
