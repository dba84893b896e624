#pragma once
// --scan: the characters of a firmware's string literals, with TEXT added, once each in key order.

#include "cli/cli_options.h"
#include "cli/input_text.h"

namespace hz::cli {

InputText textFromScan(const CliOptions& options);

} // namespace hz::cli
