#include "core/picture/picture_view.h"

namespace hz {

std::string pictureDotText(const DotPicture& picture, const Marks& marks) {
    static const std::string blank = "  ";
    const std::string& clear = marks.BackMarkOn ? marks.BackMark : blank;
    std::string view;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            view += picture.dot(x, y) ? marks.DotMark : clear;
        view += "\r\n";
    }
    return view;
}

} // namespace hz
