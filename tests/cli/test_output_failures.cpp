// An output that cannot be written: a clear message, exit status 2, and an existing file untouched.
#include "cli_process.h"
#include "file_access.h"
#include "gbk.h"
#include "sample_fonts.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

bool isCharacterDevice(const char* path) {
    struct stat info {};
    return ::stat(path, &info) == 0 && S_ISCHR(info.st_mode);
}

TEST(OutputFailure, MissingFolder) {
    SampleFonts s;
    const std::string out = s.fonts.file("missing/out.txt");
    CliResult r = runCli({"-f", s.dir(), "-o", out, "样字"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(out), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(s.fonts.file("missing")));
}

TEST(OutputFailure, ReadOnlyFolderKeepsTheExistingFile) {
    SampleFonts s;
    TempFolder folder;
    const std::string out = folder.file("out.txt");
    writeFile(out, "the user's old file");
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    // As root, hzdot-cli runs without the capability that would let it write there anyway.
    const auto command = hz::test::withoutFileAccessOverride({HZDOT_CLI_PATH, "-f", s.dir(), "-o", out, "样字"});
    CliCall call{{command.begin() + 1, command.end()}};
    call.program = command.front();
    CliResult r = runCli(call);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(out), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(out), "the user's old file");
}

TEST(OutputFailure, FullDevice) {
    if (!isCharacterDevice("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    SampleFonts s;
    CliResult r = runCli({"-f", s.dir(), "-o", "/dev/full", "样字"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("/dev/full"), std::string::npos) << r.err;
    EXPECT_TRUE(isCharacterDevice("/dev/full")) << "the device must be written, never replaced";

    CliCall toFullStdout{{"-f", s.dir(), "样字"}};
    toFullStdout.stdoutPath = "/dev/full";
    CliResult stdoutFull = runCli(toFullStdout);
    EXPECT_EQ(stdoutFull.status, 2);
    EXPECT_NE(stdoutFull.err.find("standard output"), std::string::npos) << stdoutFull.err;
}

TEST(OutputFailure, FolderAsOutputIsLeftAlone) {
    SampleFonts s;
    const std::string out = s.fonts.file("a-folder");
    std::filesystem::create_directory(out);
    CliResult r = runCli({"-f", s.dir(), "-o", out, "样字"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(out), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::is_directory(out));
}

TEST(OutputFailure, TextOutsideCodePage936KeepsTheExistingFile) {
    SampleFonts s;
    const std::string out = s.fonts.file("out.txt");
    writeFile(out, "the user's old file");
    CliResult r = runCli({"-f", s.dir(), "--view", "--mark", "☃", "-o", out, "样"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("U+2603"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(out), "the user's old file");

    CliResult gbk = runCli({"-f", s.dir(), "--view", "--mark", "☃", "--encoding", "gbk", "样"});
    EXPECT_EQ(gbk.status, 2);
    EXPECT_EQ(gbk.out, "");
}

TEST(OutputFile, ExistingFileIsReplacedAndALinkKept) {
    SampleFonts s;
    const std::string real = s.fonts.file("real.txt");
    const std::string link = s.fonts.file("link.txt");
    writeFile(real, "old contents that are longer than nothing");
    std::filesystem::create_symlink(real, link);
    CliResult r = runCli({"-f", s.dir(), "-o", link, "样字"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(real), toGbk(expected::kExportAll));
}

} // namespace
