#include "core/scan/source_scan.h"

#include "core/system/regular_file.h"
#include "core/system/unique_fd.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cerrno>
#include <condition_variable>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>
#include <unordered_set>

namespace hz {

namespace {

namespace fs = std::filesystem;

constexpr char32_t kPlaneSize = 0x10000;
// Files scanned ahead of the first one not yet put together, at most: what they found waits.
constexpr std::size_t kScanAhead = 256;
constexpr unsigned kMostThreads = 8;

std::string lowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return ext;
}

Problem pathProblem(ProblemKind kind, const std::filesystem::path& path, int error = 0) {
    Problem problem{kind};
    problem.file = path.string();
    problem.systemError = error;
    return problem;
}

// What one file holds.
struct FileScan {
    std::optional<Problem> failure;
    std::size_t cp936Literals = 0;
    std::size_t unreadableLiterals = 0;
    std::vector<Problem> literals; // ScanLiteralCp936 and ScanLiteralUnreadable notes, in order
    // Each character of the file once, with the line it was first met on, in the order met.
    std::vector<std::pair<char32_t, int>> characters;
};

// Which characters a file has shown so far; one per thread, cleared after each file.
class SeenInFile {
public:
    bool add(char32_t c) {
        if (c >= kPlaneSize)
            return beyond.insert(c).second;
        if (plane[c])
            return false;
        plane[c] = true;
        return true;
    }
    void clear(const std::vector<std::pair<char32_t, int>>& added) {
        for (const auto& [c, line] : added)
            if (c < kPlaneSize)
                plane[c] = false;
        beyond.clear();
    }

private:
    std::bitset<kPlaneSize> plane;
    std::unordered_set<char32_t> beyond;
};

// A regular file, opened without waiting, so that a pipe is refused rather than waited on.
FileScan scanFile(const fs::path& path, bool ascii, SeenInFile& seen) {
    FileScan scan;
    auto opened = openRegularFile(path.string());
    if (!opened) {
        scan.failure = opened.problem().kind == ProblemKind::NotAFile
                           ? pathProblem(ProblemKind::ScanNotAFile, path)
                           : pathProblem(ProblemKind::ScanPathUnreadable, path, opened.problem().systemError);
        return scan;
    }
    const UniqueFd fd = std::move(opened->fd);
    // The bytes the file had when it was opened are read, in one call as a rule, and no call is made
    // only to learn of its end; a file that says it is empty (as some special files do) is read to
    // its end.
    const std::uint64_t size = opened->size;
    std::uint64_t left = size;
    const SourceRead read = [&](char* into, std::size_t room) -> long {
        if (size > 0 && left == 0)
            return 0;
        if (size > 0)
            room = static_cast<std::size_t>(std::min<std::uint64_t>(room, left));
        for (;;) {
            const ssize_t n = ::read(fd.get(), into, room);
            if (n > 0 && size > 0)
                left -= static_cast<std::uint64_t>(n);
            if (n >= 0 || errno != EINTR)
                return static_cast<long>(n);
        }
    };
    const int error = scanLiterals(read, lowerExtension(path) != ".c", ascii, [&](const LiteralFound& literal) {
        if (literal.encoding != LiteralEncoding::Utf8) {
            Problem note = pathProblem(literal.encoding == LiteralEncoding::Cp936 ? ProblemKind::ScanLiteralCp936
                                                                                  : ProblemKind::ScanLiteralUnreadable,
                                       path);
            note.line = literal.line;
            scan.literals.push_back(std::move(note));
        }
        if (literal.encoding == LiteralEncoding::Cp936)
            ++scan.cp936Literals;
        if (literal.encoding == LiteralEncoding::Neither)
            ++scan.unreadableLiterals;
        for (char32_t c : literal.characters)
            if (seen.add(c))
                scan.characters.emplace_back(c, literal.line);
    });
    seen.clear(scan.characters);
    if (error != 0)
        scan.failure = pathProblem(ProblemKind::ScanPathUnreadable, path, error);
    return scan;
}

// The files' findings put together in the files' order: each character with the first place it
// was met.
class ScanTotal {
public:
    // False once a file has failed: the scan fails with its problem.
    bool add(const fs::path& path, FileScan&& scan) {
        if (failure)
            return false;
        if (scan.failure) {
            failure = std::move(scan.failure);
            return false;
        }
        const std::size_t index = result.files.size();
        result.files.push_back({path, scan.characters.size(), scan.cp936Literals});
        result.literals.insert(result.literals.end(), std::make_move_iterator(scan.literals.begin()),
                               std::make_move_iterator(scan.literals.end()));
        result.unreadableLiterals += scan.unreadableLiterals;
        for (const auto& [c, line] : scan.characters) {
            const ScanPlace place{index, line};
            if (c >= kPlaneSize) {
                beyond.emplace(c, place);
                continue;
            }
            if (plane.empty())
                plane.assign(kPlaneSize, ScanPlace{kNone, 0});
            if (plane[c].file == kNone)
                plane[c] = place;
        }
        return true;
    }
    const std::optional<Problem>& problem() const { return failure; }

    ScanResult finish() {
        for (char32_t c = 0; c < plane.size(); ++c)
            if (plane[c].file != kNone) {
                result.characters.push_back(c);
                result.places.push_back(plane[c]);
            }
        for (const auto& [c, place] : beyond) {
            result.characters.push_back(c);
            result.places.push_back(place);
        }
        return std::move(result);
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    ScanResult result;
    std::vector<ScanPlace> plane; // by code point; file kNone where not met
    std::map<char32_t, ScanPlace> beyond;
    std::optional<Problem> failure;
};

// Scans the files on up to every core. Each thread takes the next file; what a file found is put
// together as soon as every file before it has been, so that only the few files scanned ahead wait.
void scanAll(const std::vector<fs::path>& files, bool ascii, ScanTotal& total) {
    const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
    const auto threads = static_cast<unsigned>(std::min<std::size_t>({cores, kMostThreads, files.size()}));
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t next = 0;   // the next file to take
    std::size_t joined = 0; // files put together so far
    std::map<std::size_t, FileScan> waiting;
    bool stop = false;
    std::exception_ptr thrown;

    const auto work = [&] {
        try {
            SeenInFile seen;
            std::unique_lock lock(mutex);
            for (;;) {
                changed.wait(lock, [&] { return stop || next >= files.size() || next < joined + kScanAhead; });
                if (stop || next >= files.size())
                    return;
                const std::size_t index = next++;
                lock.unlock();
                FileScan scan = scanFile(files[index], ascii, seen);
                lock.lock();
                waiting.emplace(index, std::move(scan));
                for (auto first = waiting.begin(); first != waiting.end() && first->first == joined;
                     first = waiting.begin()) {
                    if (!total.add(files[joined], std::move(first->second)))
                        stop = true;
                    waiting.erase(first);
                    ++joined;
                }
                changed.notify_all();
            }
        } catch (...) {
            const std::lock_guard lock(mutex);
            if (!thrown)
                thrown = std::current_exception();
            stop = true;
            changed.notify_all();
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (unsigned t = 1; t < threads; ++t)
            helpers.emplace_back(work);
        work();
    }
    if (thrown)
        std::rethrow_exception(thrown);
}

class SourceList {
public:
    // Every source file under folder, in sorted order; any entry that cannot be looked at fails.
    std::optional<Problem> findSources(const std::filesystem::path& folder, std::vector<std::filesystem::path>& files) {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::directory_iterator it(folder, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            const fs::path& path = it->path();
            std::error_code typeError;
            const fs::file_status own = it->symlink_status(typeError);
            if (typeError)
                return pathProblem(ProblemKind::ScanPathUnreadable, path, typeError.value());
            // Links to folders are not followed, as a search of a tree should not leave it.
            if (fs::is_directory(own)) {
                if (auto problem = findSources(path, files))
                    return problem;
                continue;
            }
            if (!isSourceFile(path))
                continue;
            // A source whose link leads nowhere or round in a loop cannot be read.
            if (fs::is_symlink(own)) {
                const fs::file_status target = fs::status(path, typeError);
                if (typeError)
                    return pathProblem(ProblemKind::ScanPathUnreadable, path, typeError.value());
                if (fs::is_directory(target))
                    continue;
            }
            files.push_back(path);
        }
        if (ec)
            return pathProblem(ProblemKind::ScanFolderUnreadable, folder, ec.value());
        return std::nullopt;
    }
};

} // namespace

bool isSourceFile(const std::filesystem::path& path) {
    static constexpr std::array<std::string_view, 6> kExtensions = {".c", ".h", ".cc", ".cpp", ".hpp", ".ino"};
    const std::string ext = lowerExtension(path);
    return std::find(kExtensions.begin(), kExtensions.end(), ext) != kExtensions.end();
}

Result<ScanResult> scanSources(std::span<const std::filesystem::path> paths, bool ascii) {
    // The files in the order a scan takes them; the first path that cannot be read or searched ends
    // the list, and fails the scan unless a file before it does.
    std::vector<fs::path> files;
    std::optional<Problem> listing;
    SourceList list;
    for (const fs::path& path : paths) {
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        if (ec && ec != std::errc::no_such_file_or_directory) {
            listing = pathProblem(ProblemKind::ScanPathUnreadable, path, ec.value());
            break;
        }
        if (!fs::exists(status)) {
            listing = pathProblem(ProblemKind::ScanPathMissing, path);
            break;
        }
        if (!fs::is_directory(status)) {
            files.push_back(path);
            continue;
        }
        std::vector<fs::path> found;
        if (auto problem = list.findSources(path, found)) {
            listing = std::move(problem);
            break;
        }
        std::sort(found.begin(), found.end());
        files.insert(files.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    }

    ScanTotal total;
    scanAll(files, ascii, total);
    if (total.problem())
        return *total.problem();
    if (listing)
        return *listing;
    return total.finish();
}

} // namespace hz
