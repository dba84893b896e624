#pragma once
// What hzdot-cli says about itself: --help and --version.

#include <string>

namespace hzcli {

std::string usageText();
std::string versionText();

} // namespace hzcli
