#include "core/system/same_file.h"

#include <sys/stat.h>

namespace hz {

std::optional<std::string> sameFileAs(const std::string& output, std::span<const std::string> inputs) {
    struct stat out {};
    if (output.empty() || ::stat(output.c_str(), &out) != 0)
        return std::nullopt;
    for (const std::string& input : inputs) {
        struct stat in {};
        if (!input.empty() && ::stat(input.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino)
            return input;
    }
    return std::nullopt;
}

} // namespace hz
