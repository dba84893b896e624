#pragma once
// Writing a whole file or nothing.

#include <string>
#include <string_view>

namespace hz {

struct WriteResult {
    bool ok = true;
    std::string error; // what went wrong, naming the file, when !ok
    explicit operator bool() const { return ok; }
};

// Writes bytes to a temporary file in the target's folder, flushes it to disk and renames it over
// the target. On any failure the target (an existing file included) is unchanged and the temporary
// file is gone.
WriteResult writeFileSafely(const std::string& path, std::string_view bytes);

} // namespace hz
