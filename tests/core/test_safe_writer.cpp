#include "core/system/safe_writer.h"

#include "file_access.h"
#include "library_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace hz {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempFolder;

// Nothing but the expected files may be left in the folder: no temporary file survives.
std::vector<std::string> namesIn(const TempFolder& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Whether the write failed as expected: the kind, the file as the writer was given it, the errno.
testing::AssertionResult failedWith(const Result<void>& result, ProblemKind kind, const std::string& file,
                                    int error = 0) {
    if (result)
        return testing::AssertionFailure() << "the write succeeded";
    const Problem& problem = result.problem();
    if (problem.kind == kind && problem.file == file && problem.systemError == error)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "kind " << static_cast<int>(problem.kind) << ", file \"" << problem.file
                                       << "\", " << std::strerror(problem.systemError);
}

testing::AssertionResult failedWith(const Result<void>& result, const std::string& file, int error) {
    return failedWith(result, ProblemKind::WriteFailed, file, error);
}

// What went wrong, for the message of a write expected to succeed.
std::string told(const Result<void>& result) {
    return result ? "" : result.problem().file + ": " + std::strerror(result.problem().systemError);
}

TEST(SafeWriter, WritesNewAndReplacesOldFiles) {
    TempFolder dir;
    const std::string path = dir.file("导出.TXT");
    ASSERT_TRUE(writeFileSafely(path, std::string("first\r\n\0x", 9)));
    EXPECT_EQ(readFile(path), std::string("first\r\n\0x", 9));

    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(writeFileSafely(path, "second"));
    EXPECT_EQ(readFile(path), "second");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << "an existing file keeps its permissions";

    ASSERT_TRUE(writeFileSafely(path, ""));
    EXPECT_EQ(readFile(path), "");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"导出.TXT"});
}

TEST(SafeWriter, ReplacesTheFileALinkPointsTo) {
    TempFolder dir;
    fs::create_directory(dir.file("real"));
    const std::string real = dir.file("real/out.txt");
    test::writeFile(real, {'o', 'l', 'd'});
    fs::create_symlink("real/out.txt", dir.file("link.txt"));

    ASSERT_TRUE(writeFileSafely(dir.file("link.txt"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(readFile(real), "new");

    // A link to a file not yet made creates that file.
    fs::create_symlink("real/later.txt", dir.file("dangling.txt"));
    ASSERT_TRUE(writeFileSafely(dir.file("dangling.txt"), "made"));
    EXPECT_TRUE(fs::is_symlink(dir.file("dangling.txt")));
    EXPECT_EQ(readFile(dir.file("real/later.txt")), "made");
}

TEST(SafeWriter, FailuresNameTheFileAndLeaveNothingBehind) {
    TempFolder dir;
    const std::string missing = dir.file("no/such/folder/out.txt");
    EXPECT_TRUE(failedWith(writeFileSafely(missing, "x"), missing, ENOENT));

    fs::create_directory(dir.file("folder"));
    EXPECT_TRUE(failedWith(writeFileSafely(dir.file("folder"), "x"), dir.file("folder"), EISDIR));

    EXPECT_TRUE(failedWith(writeFileSafely("", "x"), "", ENOENT));

    fs::create_symlink("loop2", dir.file("loop1"));
    fs::create_symlink("loop1", dir.file("loop2"));
    EXPECT_TRUE(failedWith(writeFileSafely(dir.file("loop1"), "x"), dir.file("loop1"), ELOOP));
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"folder", "loop1", "loop2"}));
}

TEST(SafeWriter, ReadOnlyFolderKeepsTheOldFile) {
    TempFolder dir;
    const std::string path = dir.file("keep.txt");
    ASSERT_TRUE(writeFileSafely(path, "precious"));
    test::WithoutFileAccessOverride withoutOverride;
    ASSERT_TRUE(withoutOverride.active());
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const Result<void> result = writeFileSafely(path, "lost?");
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_TRUE(failedWith(result, path, EACCES));
    EXPECT_EQ(readFile(path), "precious");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"keep.txt"});
}

TEST(SafeWriter, DevicesAreWrittenInPlace) {
    if (fs::exists("/dev/full")) {
        EXPECT_TRUE(failedWith(writeFileSafely("/dev/full", "no room"), "/dev/full", ENOSPC));
    }
    EXPECT_TRUE(writeFileSafely("/dev/null", "discarded"));

    // A FIFO stays a FIFO, and its reader gets the bytes.
    TempFolder dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readFile(fifo); });
    const Result<void> result = writeFileSafely(fifo, "through the pipe");
    reader.join();
    EXPECT_TRUE(result) << told(result);
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(fifo));
}

// Standard output sent to a file is reached through a descriptor: the file is added to, never
// replaced, so what the shell or the program put there before stays.
TEST(SafeWriter, DescriptorPathsAppendToTheirFile) {
    TempFolder dir;
    const std::string path = dir.file("log.txt");
    test::writeFile(path, {'k', 'e', 'e', 'p', '\n'});
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    const Result<void> result = writeFileSafely("/dev/fd/" + std::to_string(fd), "more");
    ::close(fd);
    EXPECT_TRUE(result) << told(result);
    EXPECT_EQ(readFile(path), "keep\nmore");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"log.txt"});
}

// A write that fails half-way (here: past the process's file size limit, which binds root too)
// leaves the existing file as it was and removes the partly written temporary file.
TEST(SafeWriter, ExistingFileIntactWhenAWriteFails) {
    TempFolder dir;
    const std::string path = dir.file("out.txt");
    ASSERT_TRUE(writeFileSafely(path, "old"));

    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const Result<void> result = writeFileSafely(path, std::string(4096, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(failedWith(result, path, EFBIG));
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"out.txt"});

    // A link that leads through a folder which is not there cannot be written either.
    fs::create_symlink("gone/out.txt", dir.file("via.txt"));
    EXPECT_TRUE(failedWith(writeFileSafely(dir.file("via.txt"), "new"), dir.file("via.txt"), ENOENT));
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"out.txt", "via.txt"}));
}

// One system call of the writer made to fail, through its seam. Unnamed temporary files can be
// refused too, to send the writer down its named path.
enum class Call { None, OpenTemporary, Write, Fsync, Close, Rename, Linkat };
struct Fault {
    Call call = Call::None;
    bool noUnnamedFiles = false;
};
Fault fault;
WriterCalls real = systemWriterCalls();

int faultyOpen(const char* path, int flags, mode_t mode) {
    if ((flags & O_TMPFILE) == O_TMPFILE && fault.noUnnamedFiles) {
        errno = EOPNOTSUPP;
        return -1;
    }
    if (fault.call == Call::OpenTemporary && (flags & (O_CREAT | O_TMPFILE))) {
        errno = EMFILE;
        return -1;
    }
    return real.open(path, flags, mode);
}
ssize_t faultyWrite(int fd, const void* data, size_t size) {
    if (fault.call == Call::Write) {
        // Half of it gets there first, as on a disk that fills up.
        if (size > 1)
            return real.write(fd, data, size / 2);
        errno = ENOSPC;
        return -1;
    }
    return real.write(fd, data, size);
}
int faultyFsync(int fd) {
    if (fault.call == Call::Fsync) {
        errno = EIO;
        return -1;
    }
    return real.fsync(fd);
}
int faultyClose(int fd) {
    const int result = real.close(fd);
    if (fault.call == Call::Close) {
        errno = EIO;
        return -1;
    }
    return result;
}
int faultyRename(const char* from, const char* to) {
    if (fault.call == Call::Rename) {
        errno = EXDEV;
        return -1;
    }
    return real.rename(from, to);
}
int faultyLinkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    if (fault.call == Call::Linkat) {
        errno = EMLINK;
        return -1;
    }
    return real.linkat(fromDir, from, toDir, to, flags);
}

class SafeWriterFaults : public testing::TestWithParam<std::tuple<Call, bool>> {
protected:
    void SetUp() override {
        fault = {std::get<0>(GetParam()), std::get<1>(GetParam())};
        setWriterCalls({faultyOpen, faultyWrite, faultyFsync, faultyClose, faultyRename, faultyLinkat, real.unlink});
    }
    void TearDown() override {
        setWriterCalls(real);
        fault = {};
    }
};

// Every failing call leaves the old file as it was (or no file where there was none), names the
// file, and leaves no temporary file behind.
TEST_P(SafeWriterFaults, FailureKeepsTheOldFileAndLeavesNoTemporary) {
    const auto [call, named] = GetParam();
    TempFolder dir;
    const std::string old = dir.file("old.txt");
    test::writeFile(old, {'k', 'e', 'p', 't'});
    const std::string content(100000, 'x');

    const Result<void> replaced = writeFileSafely(old, content);
    const Result<void> created = writeFileSafely(dir.file("new.txt"), content);

    ASSERT_FALSE(replaced);
    EXPECT_EQ(replaced.problem().kind, ProblemKind::WriteFailed);
    EXPECT_EQ(replaced.problem().file, old);
    EXPECT_EQ(readFile(old), "kept");
    if (call != Call::Rename || named) {
        EXPECT_FALSE(created);
        EXPECT_EQ(namesIn(dir), std::vector<std::string>{"old.txt"});
    } else {
        // A new file from an unnamed temporary is linked into place: no rename to fail.
        EXPECT_TRUE(created) << told(created);
        EXPECT_EQ(readFile(dir.file("new.txt")), content);
        EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"new.txt", "old.txt"}));
    }
}

std::string callName(const testing::TestParamInfo<std::tuple<Call, bool>>& info) {
    static const char* names[] = {"None", "OpenTemporary", "Write", "Fsync", "Close", "Rename", "Linkat"};
    return std::string(names[static_cast<int>(std::get<0>(info.param))]) +
           (std::get<1>(info.param) ? "Named" : "Unnamed");
}

// A named temporary file is renamed, never linked; an unnamed one is linked, and renamed only when
// there is a file to replace.
INSTANTIATE_TEST_SUITE_P(EachCall, SafeWriterFaults,
                         testing::Values(std::tuple{Call::OpenTemporary, false}, std::tuple{Call::Write, false},
                                         std::tuple{Call::Fsync, false}, std::tuple{Call::Close, false},
                                         std::tuple{Call::Rename, false}, std::tuple{Call::Linkat, false},
                                         std::tuple{Call::OpenTemporary, true}, std::tuple{Call::Write, true},
                                         std::tuple{Call::Fsync, true}, std::tuple{Call::Close, true},
                                         std::tuple{Call::Rename, true}),
                         callName);

TEST(SafeWriter, NamedTemporaryPathWorksWithoutUnnamedFiles) {
    fault = {Call::None, true};
    setWriterCalls({faultyOpen, real.write, real.fsync, real.close, real.rename, real.linkat, real.unlink});
    TempFolder dir;
    const std::string path = dir.file("out.txt");
    const Result<void> first = writeFileSafely(path, "first");
    const Result<void> second = writeFileSafely(path, "second");
    setWriterCalls(real);
    fault = {};
    EXPECT_TRUE(first) << told(first);
    EXPECT_TRUE(second) << told(second);
    EXPECT_EQ(readFile(path), "second");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"out.txt"});
}

// A file its owner made read-only is refused, as cp refuses it; that holds for root's own files too.
TEST(SafeWriter, WriteProtectedFileIsRefused) {
    TempFolder dir;
    const std::string path = dir.file("protected.txt");
    test::writeFile(path, {'m', 'i', 'n', 'e'});
    ::chmod(path.c_str(), 0444);
    EXPECT_TRUE(failedWith(writeFileSafely(path, "replaced"), ProblemKind::WriteProtected, path));
    EXPECT_EQ(readFile(path), "mine");

    // Through a link too.
    fs::create_symlink("protected.txt", dir.file("link.txt"));
    EXPECT_TRUE(failedWith(writeFileSafely(dir.file("link.txt"), "replaced"), ProblemKind::WriteProtected,
                           dir.file("link.txt")));
    EXPECT_EQ(readFile(path), "mine");
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"link.txt", "protected.txt"}));

    ::chmod(path.c_str(), 0644);
    EXPECT_TRUE(writeFileSafely(path, "replaced"));
}

// A writer given up half-way leaves the target as it was and no temporary file.
TEST(SafeWriter, AbandonedWriterLeavesNoTrace) {
    TempFolder dir;
    const std::string path = dir.file("out.txt");
    test::writeFile(path, {'o', 'l', 'd'});
    for (const bool named : {false, true}) {
        fault = {Call::None, named};
        setWriterCalls({faultyOpen, real.write, real.fsync, real.close, real.rename, real.linkat, real.unlink});
        {
            SafeFileWriter writer;
            ASSERT_TRUE(writer.open(path));
            ASSERT_TRUE(writer.write(std::string(1 << 20, 'y')));
            // An unnamed temporary file is in no folder while it is written.
            EXPECT_EQ(namesIn(dir).size(), named ? 2u : 1u);
        }
        setWriterCalls(real);
        EXPECT_EQ(readFile(path), "old");
        EXPECT_EQ(namesIn(dir), std::vector<std::string>{"out.txt"}) << (named ? "named" : "unnamed");
    }
    fault = {};
}

// A child writes many megabytes slowly through the writer and is killed half-way. The target keeps
// its old content and no temporary file remains, whichever temporary file the writer used.
struct Kill {
    int signal;
    bool named;
};

class SafeWriterKilled : public testing::TestWithParam<Kill> {};

TEST_P(SafeWriterKilled, TargetIntactAndNoTemporaryLeft) {
    const Kill kill = GetParam();
    TempFolder dir;
    const std::string path = dir.file("export.txt");
    test::writeFile(path, {'o', 'l', 'd'});
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        fault = {Call::None, kill.named};
        setWriterCalls({faultyOpen, real.write, real.fsync, real.close, real.rename, real.linkat, real.unlink});
        SafeFileWriter writer;
        if (!writer.open(path))
            ::_exit(3);
        const std::string chunk(1 << 20, 'n');
        for (int i = 0; i < 1000; ++i) {
            if (!writer.write(chunk))
                ::_exit(4);
            if (i == 8)
                (void)!::write(ready[1], "r", 1);
            ::usleep(2000);
        }
        ::_exit(5); // never reached within the test's patience
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the child did not start writing";
    ::close(ready[0]);
    ::kill(child, kill.signal);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), kill.signal) << "the signal still ends the process";
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"export.txt"});
}

std::string killName(const testing::TestParamInfo<Kill>& info) {
    return std::string(sigabbrev_np(info.param.signal)) + (info.param.named ? "Named" : "Unnamed");
}

INSTANTIATE_TEST_SUITE_P(Signals, SafeWriterKilled,
                         testing::Values(Kill{SIGKILL, false}, Kill{SIGTERM, false}, Kill{SIGINT, false},
                                         Kill{SIGTERM, true}, Kill{SIGINT, true}, Kill{SIGHUP, true}),
                         killName);

} // namespace
} // namespace hz
