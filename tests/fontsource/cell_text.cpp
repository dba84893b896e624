#include "cell_text.h"

std::string picture(const hz::DotCell& cell) {
    std::string text;
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x)
            text += cell.dot(x, y) ? '#' : '.';
        text += '\n';
    }
    return text;
}

std::optional<InkRows> inkRows(const hz::DotCell& cell) {
    std::optional<InkRows> rows;
    for (int y = 0; y < cell.height(); ++y) {
        if (cell.row(y) == 0)
            continue;
        if (!rows)
            rows = InkRows{y, y};
        rows->bottom = y;
    }
    return rows;
}
