#include "core/system/program_module.h"

#include "core/system/install_paths.h"

#include <dlfcn.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <system_error>

namespace hz {

namespace fs = std::filesystem;

namespace {

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// What every module table starts with.
struct EntryHead {
    const char* version;
};

using Outcome = std::variant<const void*, ModuleFailure>;

Outcome load(std::string_view fileName, const char* entryName, std::string_view version) {
    const auto places = modulePlaces(runningProgramFolder(), fileName);
    ModuleFailure failure{std::string(fileName), places[0] + " and " + places[1], "no such file"};
    for (const std::string& path : places) {
        if (!isRegularFile(path))
            continue;
        // The module's own library dependencies are loaded now; its symbols stay its own.
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* error = ::dlerror();
            failure.detail = error ? error : "it could not be loaded";
            return failure;
        }
        using Entry = const void* (*)();
        auto entry = reinterpret_cast<Entry>(::dlsym(handle, entryName));
        if (!entry) {
            failure.detail = path + " has no entry " + entryName;
            return failure;
        }
        const void* table = entry();
        const char* built = table ? static_cast<const EntryHead*>(table)->version : nullptr;
        if (!built || version != built) {
            failure.detail = path + " belongs to HzDot " + (built ? built : "of an unknown version") + ", not " +
                             std::string(version);
            return failure;
        }
        // The handle is kept open for the rest of the process: the table points into the module.
        return table;
    }
    return failure;
}

} // namespace

std::array<std::string, 2> modulePlaces(std::string_view programDir, std::string_view fileName) {
    const fs::path folder(programDir);
    return {(folder / fs::path(fileName)).string(),
            (folder / fs::path(installedModulesFromPrograms()) / fs::path(fileName)).lexically_normal().string()};
}

std::variant<const void*, ModuleFailure> loadModuleEntry(std::string_view fileName, const char* entryName,
                                                         std::string_view version) {
    static std::mutex mutex;
    static std::map<std::string, Outcome, std::less<>> loaded;
    const std::lock_guard lock(mutex);
    if (auto it = loaded.find(fileName); it != loaded.end())
        return it->second;
    Outcome outcome = load(fileName, entryName, version);
    loaded.emplace(std::string(fileName), outcome);
    return outcome;
}

std::string runningProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.parent_path().empty())
        return ".";
    return exe.parent_path().string();
}

} // namespace hz
