#include "cli/program_folder.h"

#include <filesystem>
#include <system_error>

namespace hz::cli {

std::string programFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) {
        exe = std::filesystem::absolute(argv0 ? argv0 : "", ec);
        if (ec)
            return ".";
    }
    std::filesystem::path folder = exe.parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

} // namespace hz::cli
