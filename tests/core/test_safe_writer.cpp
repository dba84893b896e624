#include "core/safe_writer.h"

#include "library_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace hz {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;

// Nothing but the expected files may be left in the folder: no temporary file survives.
std::vector<std::string> namesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SafeWriter, WritesNewAndReplacesOldFiles) {
    TempDir dir;
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
    TempDir dir;
    fs::create_directory(dir.path() / "real");
    const std::string real = dir.file("real/out.txt");
    test::writeBytes(real, {'o', 'l', 'd'});
    fs::create_symlink("real/out.txt", dir.path() / "link.txt");

    ASSERT_TRUE(writeFileSafely(dir.file("link.txt"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.txt"));
    EXPECT_EQ(readFile(real), "new");

    // A link to a file not yet made creates that file.
    fs::create_symlink("real/later.txt", dir.path() / "dangling.txt");
    ASSERT_TRUE(writeFileSafely(dir.file("dangling.txt"), "made"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling.txt"));
    EXPECT_EQ(readFile(dir.file("real/later.txt")), "made");
}

TEST(SafeWriter, FailuresNameTheFileAndLeaveNothingBehind) {
    TempDir dir;
    const std::string missing = dir.file("no/such/folder/out.txt");
    const WriteResult noFolder = writeFileSafely(missing, "x");
    EXPECT_FALSE(noFolder);
    EXPECT_NE(noFolder.error.find(missing), std::string::npos);
    EXPECT_NE(noFolder.error.find("No such file or directory"), std::string::npos) << noFolder.error;

    fs::create_directory(dir.path() / "folder");
    const WriteResult onFolder = writeFileSafely(dir.file("folder"), "x");
    EXPECT_FALSE(onFolder);
    EXPECT_NE(onFolder.error.find("Is a directory"), std::string::npos) << onFolder.error;

    EXPECT_FALSE(writeFileSafely("", "x"));

    fs::create_symlink("loop2", dir.path() / "loop1");
    fs::create_symlink("loop1", dir.path() / "loop2");
    EXPECT_FALSE(writeFileSafely(dir.file("loop1"), "x"));
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"folder", "loop1", "loop2"}));
}

TEST(SafeWriter, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    TempDir dir;
    const std::string path = dir.file("keep.txt");
    ASSERT_TRUE(writeFileSafely(path, "precious"));
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const WriteResult result = writeFileSafely(path, "lost?");
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("Permission denied"), std::string::npos) << result.error;
    EXPECT_EQ(readFile(path), "precious");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"keep.txt"});
}

TEST(SafeWriter, DevicesAreWrittenInPlace) {
    if (fs::exists("/dev/full")) {
        const WriteResult full = writeFileSafely("/dev/full", "no room");
        EXPECT_FALSE(full);
        EXPECT_EQ(full.error, "/dev/full: No space left on device");
    }
    EXPECT_TRUE(writeFileSafely("/dev/null", "discarded"));

    // A FIFO stays a FIFO, and its reader gets the bytes.
    TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readFile(fifo); });
    const WriteResult result = writeFileSafely(fifo, "through the pipe");
    reader.join();
    EXPECT_TRUE(result) << result.error;
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(fifo));
}

// Standard output sent to a file is reached through a descriptor: the file is added to, never
// replaced, so what the shell or the program put there before stays.
TEST(SafeWriter, DescriptorPathsAppendToTheirFile) {
    TempDir dir;
    const std::string path = dir.file("log.txt");
    test::writeBytes(path, {'k', 'e', 'e', 'p', '\n'});
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    const WriteResult result = writeFileSafely("/dev/fd/" + std::to_string(fd), "more");
    ::close(fd);
    EXPECT_TRUE(result) << result.error;
    EXPECT_EQ(readFile(path), "keep\nmore");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"log.txt"});
}

// A write that fails half-way (here: past the process's file size limit, which binds root too)
// leaves the existing file as it was and removes the partly written temporary file.
TEST(SafeWriter, ExistingFileIntactWhenAWriteFails) {
    TempDir dir;
    const std::string path = dir.file("out.txt");
    ASSERT_TRUE(writeFileSafely(path, "old"));

    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const WriteResult result = writeFileSafely(path, std::string(4096, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result);
    EXPECT_NE(result.error.find("out.txt: File too large"), std::string::npos) << result.error;
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"out.txt"});

    // A link that leads through a folder which is not there cannot be written either.
    fs::create_symlink("gone/out.txt", dir.path() / "via.txt");
    EXPECT_FALSE(writeFileSafely(dir.file("via.txt"), "new"));
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"out.txt", "via.txt"}));
}

} // namespace
} // namespace hz
