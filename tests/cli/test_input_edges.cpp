// Input the decoder must refuse at the right byte, and a spacing out of range.
#include "cli_process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct Case {
    const char* name;
    std::string bytes;
    int offset; // of the first byte that is not UTF-8
};

class Utf8Edges : public ::testing::TestWithParam<Case> {};

// The same bytes as TEXT and as an input file.
TEST_P(Utf8Edges, RefusedAtTheirOffset) {
    const Case& c = GetParam();
    SampleFonts s;
    const std::string file = s.fonts.file("input.txt");
    writeFile(file, c.bytes);
    for (const auto& source : {std::vector<std::string>{c.bytes}, std::vector<std::string>{"-i", file}}) {
        std::vector<std::string> args{"-f", s.dir()};
        args.insert(args.end(), source.begin(), source.end());
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("not valid UTF-8 (bad byte at offset " + std::to_string(c.offset) + ")"),
                  std::string::npos)
            << r.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Bytes, Utf8Edges,
                         ::testing::Values(Case{"OverlongThreeBytes", "样\xE0\x82\x80", 3},
                                           Case{"FirstSurrogate", "\xED\xA0\x80字", 0},
                                           Case{"LastSurrogate", "样\xED\xBF\xBF", 3},
                                           Case{"LoneContinuationBeforeAscii",
                                                "\x80"
                                                "A",
                                                0},
                                           Case{"InvalidByteBeforeAscii",
                                                "样\xFF"
                                                "a字",
                                                3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Spacing, FiveDotsIsOutOfRange) {
    SampleFonts s;
    for (const auto& option : {std::vector<std::string>{"--space-x", "5"}, std::vector<std::string>{"-y5"}}) {
        std::vector<std::string> args{"-f", s.dir(), "-l", "0"};
        args.insert(args.end(), option.begin(), option.end());
        args.push_back("样");
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("'5' is out of range"), std::string::npos) << r.err;
    }
}

} // namespace

namespace {

// A named input that is a pipe or a device is refused at once: a FIFO with no writer would block
// forever and /dev/zero would never end. Standard input ("-") stays the way to read a pipe.
TEST(InputFile, PipesAndDevicesAreRefusedAtOnce) {
    SampleFonts s;
    const std::string fifo = s.fonts.file("input.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& file : {fifo, std::string("/dev/zero")}) {
        CliResult r = runCli({"-f", s.dir(), "-i", file});
        EXPECT_EQ(r.status, 2) << file;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("cannot read " + file + ": not a regular file"), std::string::npos) << r.err;
    }
}

} // namespace
