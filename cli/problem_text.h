#pragma once
// The command line's English words for what the core reports.

#include "core/library/library_probe.h"
#include "core/system/result.h"

#include <string>

namespace hz::cli {

// One line (or, for a probe's candidates, a few), without the program's name.
std::string problemText(const hz::Problem& problem);

// A probe's problem; for LayoutUnclear with the candidates it tried.
std::string problemText(const hz::ProbeFailure& failure);

} // namespace hz::cli
