#pragma once
// A fresh folder per test, removed afterwards, and whole-file reading and writing.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hz::test {

// A new folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return folder; }
    std::string file(std::string_view name) const { return folder + "/" + std::string(name); }

private:
    std::string folder;
};

// The whole file; empty when it cannot be read.
std::string readFile(const std::string& path);
// Replaces the file with the bytes; throws when it cannot.
void writeFile(const std::string& path, std::string_view bytes);
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
// True for anything at the path, a dangling link too.
bool fileExists(const std::string& path);

} // namespace hz::test
