#pragma once
// Running the real hzdot-mkfont, and a scratch folder for what it writes.

#include <string>
#include <vector>

struct MkfontResult {
    int status = -1; // exit status; -1 when the tool did not exit normally (a crash)
    std::string out;
    std::string err;
};

MkfontResult runMkfont(const std::vector<std::string>& args);

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path(const std::string& name) const { return root_ + "/" + name; }
    const std::string& root() const { return root_; }

private:
    std::string root_;
};

std::string readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
