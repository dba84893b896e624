#pragma once
// Where the running program lies: its library files sit beside it.

#include <string>

namespace hz::cli {

// The folder of the running executable, found through /proc/self/exe so that a call through a
// symbolic link or $PATH still finds the libraries; argv0's folder when that cannot be read.
std::string programFolder(const char* argv0);

} // namespace hz::cli
