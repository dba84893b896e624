// Outputs that must not be written (the library being read, a write-protected file), a reader that
// goes away, and running out of memory: each ends with status 2 and loses nothing.
#include "cli_process.h"
#include "gbk.h"
#include "process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

TEST(OutputOverInput, LibraryBeingReadIsRefusedByAnyName) {
    SampleFonts s;
    const std::string library = s.fonts.file(kLibraryFiles[1]);
    const std::string before = readFile(library);
    fs::create_hard_link(library, s.fonts.file("hard.txt"));
    fs::create_symlink(kLibraryFiles[1], s.fonts.file("soft.txt"));
    for (const std::string& out : {library, s.fonts.file("hard.txt"), s.fonts.file("soft.txt")}) {
        CliResult r = runCli({"-f", s.dir(), "-o", out, "样字"});
        EXPECT_EQ(r.status, 2) << out;
        EXPECT_EQ(r.err,
                  "hzdot-cli: refusing to write " + out + ": it is the library file being read (" + library + ")\n");
        EXPECT_EQ(readFile(library), before);
    }
}

TEST(OutputOverInput, InputTextFileIsRefused) {
    SampleFonts s;
    const std::string input = s.fonts.file("input.txt");
    writeFile(input, "样字");
    CliResult r = runCli({"-f", s.dir(), "-i", input, "-o", input});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("it is the input file being read"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(input), "样字");
}

TEST(OutputOverInput, AnotherLibraryOfTheFolderMayBeWritten) {
    SampleFonts s;
    const std::string other = s.fonts.file(kLibraryFiles[2]);
    CliResult r = runCli({"-f", s.dir(), "-o", other, "样字"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(other), toGbk(expected::kExportAll));
}

TEST(WriteProtected, FileIsRefusedAndKept) {
    SampleFonts s;
    const std::string out = s.fonts.file("protected.txt");
    writeFile(out, "the user's old file");
    ::chmod(out.c_str(), 0444);
    CliResult r = runCli({"-f", s.dir(), "-o", out, "样字"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "hzdot-cli: cannot write " + out + ": the file is write-protected\n");
    EXPECT_EQ(readFile(out), "the user's old file");
}

// `hzdot-cli ... | head -c 10`: the reader has gone before the output is written. No SIGPIPE
// death and no message, only the status.
TEST(ClosedPipe, EndsQuietlyWithStatusTwo) {
    SampleFonts s;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-f", s.dir(), "样字"}, std::vector<std::string>{"-f", s.dir(), "--view", "样字"},
          std::vector<std::string>{"--help"}}) {
        hz::test::ProcessCall call;
        call.command = {HZDOT_CLI_PATH};
        call.command.insert(call.command.end(), args.begin(), args.end());
        call.closedOutput = true;
        const hz::test::ProcessResult r = hz::test::runProcess(call);
        EXPECT_EQ(r.signal, 0) << strsignal(r.signal);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "");
    }
}

// An allocation made to fail at points spread over the run, by a preloaded operator new: the
// program says so and ends with status 2; an existing output file is as it was, and standard
// output got nothing.
TEST(OutOfMemory, ClearMessageAndNoOutput) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer owns operator new";
#endif
    SampleFonts s;
    const std::string out = s.fonts.file("out.txt");
    for (const auto& args : {std::vector<std::string>{"-f", s.dir(), "-o", out, "样字样字"},
                             std::vector<std::string>{"-f", s.dir(), "样字样字"}}) {
        hz::test::ProcessCall call;
        call.command = {HZDOT_CLI_PATH};
        call.command.insert(call.command.end(), args.begin(), args.end());
        const long total = hz::test::countAllocations(call);
        ASSERT_GT(total, 20);

        for (long at : {total / 4, total / 2, total * 3 / 4, total - 1, total}) {
            writeFile(out, "old");
            call.failAllocationAt = at;
            const hz::test::ProcessResult r = hz::test::runProcess(call);
            EXPECT_EQ(r.status, 2) << "allocation " << at << " of " << total << ": " << r.err;
            EXPECT_EQ(r.err, "hzdot-cli: out of memory; no output file was changed\n") << at;
            EXPECT_EQ(readFile(out), "old") << at;
            EXPECT_EQ(r.out, "") << at;
        }
    }
}

} // namespace
