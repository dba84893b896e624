#pragma once
// The picture window's words for why a picture cannot be read or made into dots.

#include "core/picture/picture_problem.h"

#include <QString>

namespace hz::gui {

// The problem in Chinese, naming the file and, where the decoder said something, its own words.
QString pictureProblemText(const hz::PictureProblem& problem);

} // namespace hz::gui
