#pragma once
// What hzdot-cli says about itself: --help and --version.

#include <string>

namespace hz::cli {

std::string usageText();
std::string versionText();

} // namespace hz::cli
