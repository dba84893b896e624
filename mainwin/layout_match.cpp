#include "mainwin/layout_match.h"

namespace hz::gui {

// FIXME: the paste reader and the detector come from the core; until they are in, the page says so.
LayoutMatches matchPastedBytes(std::string_view, const hz::DotCell&, std::size_t) {
    LayoutMatches matches;
    matches.error = QStringLiteral("此版本还不能识别排列。");
    return matches;
}

} // namespace hz::gui
