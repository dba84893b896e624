#pragma once
// Whether an output would land on a file the program is reading.

#include <optional>
#include <span>
#include <string>

namespace hz {

// The first of inputs that is the same file as output (same device and inode, so hard links and
// symbolic links to it count too); nothing when output does not exist yet or is none of them.
// Inputs that cannot be looked at are passed over.
std::optional<std::string> sameFileAs(const std::string& output, std::span<const std::string> inputs);

} // namespace hz
