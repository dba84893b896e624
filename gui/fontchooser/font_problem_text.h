#pragma once
// The window's words for why a font cannot be used.

#include "core/system/result.h"

#include <QString>

namespace hz::gui {

// One of the font source's Font problems, in Chinese, naming the file where it matters.
QString fontProblemText(const hz::Problem& problem);

} // namespace hz::gui
