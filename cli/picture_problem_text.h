#pragma once
// The English of a picture that could not be read or made into dots.

#include "core/picture/picture_problem.h"

#include <string>

namespace hz::cli {

std::string pictureProblemText(const hz::PictureProblem& problem);

} // namespace hz::cli
