#pragma once
// The English words both command-line programs give the font source's and the file writer's
// problems, so that hzdot-cli and hzdot-mkfont say the same about the same font or file.

#include "core/system/result.h"

#include <string>

namespace hz::cmdline {

// A font or write problem in one line, without the program's name: "fonts/x.ttf: no such file".
std::string problemText(const hz::Problem& problem);

} // namespace hz::cmdline
