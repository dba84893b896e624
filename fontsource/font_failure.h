#pragma once
// The font source's way out of deep FreeType calls: a font problem is thrown where it is found and
// caught where the font source hands back a Result, so it never leaves fontsource/'s own files.

#include "core/system/result.h"

#include <exception>
#include <utility>

namespace hz::fontsource {

struct FontFailure : std::exception {
    explicit FontFailure(hz::Problem problem) : problem(std::move(problem)) {}
    const char* what() const noexcept override { return "a font problem"; }

    hz::Problem problem;
};

} // namespace hz::fontsource
