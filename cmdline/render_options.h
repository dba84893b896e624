#pragma once
// The value of --render, read the same way by both programs.

#include "cmdline/command_line.h"
#include "fontsource/render_rule_name.h"

namespace hz::cmdline {

// default, classic, dropout, autohint or grey; anything else is a UsageError naming the option.
hz::fontsource::RenderRule parseRenderRule(const Argument& argument);

} // namespace hz::cmdline
