// Bad command lines: a usage error naming the option, exit status 2, nothing written.
#include "cli_process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

struct BadCommandLine {
    std::vector<std::string> args;
    std::string named; // what the message must name
};

class UsageError : public ::testing::TestWithParam<BadCommandLine> {};

TEST_P(UsageError, NamesTheOptionAndWritesNothing) {
    const BadCommandLine& c = GetParam();
    SampleFonts s;
    const std::string out = s.fonts.file("out.txt");
    std::vector<std::string> args = {"-f", s.dir(), "-o", out};
    args.insert(args.end(), c.args.begin(), c.args.end());
    CliResult r = runCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(out));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Options, UsageError,
    ::testing::Values(
        BadCommandLine{{"-l", "7", "样"}, "--library"},
        BadCommandLine{{"--library=16*16", "样"}, "--library"},
        BadCommandLine{{"--space-x", "9", "样"}, "--space-x"},
        BadCommandLine{{"-y", "-1", "样"}, "--space-y"},
        BadCommandLine{{"-x", "2a", "样"}, "--space-x"},
        BadCommandLine{{"-a", "5", "样"}, "--arrangement"},
        BadCommandLine{{"-a", "斜排", "样"}, "--arrangement"},
        BadCommandLine{{"--encoding", "latin1", "样"}, "--encoding"},
        BadCommandLine{{"--mark=", "样"}, "--mark"},
        BadCommandLine{{"--back", "\t", "样"}, "--back"},
        BadCommandLine{{"--view=yes", "样"}, "--view"},
        BadCommandLine{{"-q", "样"}, "'-q'"},
        BadCommandLine{{"-样"}, "'-样'"},
        BadCommandLine{{"--bogus", "样"}, "'--bogus'"},
        BadCommandLine{{"样", "-l"}, "--library needs a value"},
        BadCommandLine{{"样", "字"}, "more than one TEXT"},
        BadCommandLine{{"-i", "-", "样"}, "either TEXT or --input"},
        BadCommandLine{{}, "no text given"},
        BadCommandLine{{"--width", "wide", "样"}, "--width: 'wide' is not a kind of cell width; give fixed or proportional"},
        BadCommandLine{{"--ambiguous=narrow", "样"},
                       "--ambiguous: 'narrow' is not a width for the ambiguous characters; give half or full"},
        BadCommandLine{{"--width", "proportional", "样"}, "--width and --ambiguous go with --font FILE"},
        BadCommandLine{{"--ambiguous", "half", "样"}, "--width and --ambiguous go with --font FILE"}));
// clang-format on

// hzdot-mkfont words its usage errors the same way, from the same table.
TEST(Usage, AUsageErrorIsOneLineAndAPointerToHelp) {
    CliResult r = runCli({"--font", "x.ttf", "--size", "16", "--threshold", "255", "样"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "hzdot-cli: --threshold: '255' is out of range; give a grey level 0-254\n"
                     "Try 'hzdot-cli --help' for more information.\n");
}

TEST(Usage, HelpAndVersionSucceedWithoutALibrary) {
    TempFolder empty;
    CliResult help = runCli({"-f", empty.path(), "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: hzdot-cli [options] [TEXT]\n", 0), 0u);
    EXPECT_NE(help.out.find("--space-x N"), std::string::npos);
    CliResult version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("hzdot-cli (HzDot) ", 0), 0u);
}

// The README shows the help as the program prints it, so what users read there is what they get.
TEST(Usage, TheReadmeShowsTheHelpAsPrinted) {
    std::ifstream readme(HZDOT_SOURCE_DIR "/README.md");
    ASSERT_TRUE(readme);
    const std::string text((std::istreambuf_iterator<char>(readme)), std::istreambuf_iterator<char>());
    const std::string start = "```\nUsage: hzdot-cli [options] [TEXT]\n";
    const auto from = text.find(start);
    ASSERT_NE(from, std::string::npos) << "the README has no block of the help";
    const auto to = text.find("```\n", from + 4);
    ASSERT_NE(to, std::string::npos);
    EXPECT_EQ(text.substr(from + 4, to - from - 4), runCli({"--help"}).out);
}

TEST(Usage, DoubleDashEndsTheOptions) {
    SampleFonts s;
    CliResult r = runCli({"-f", s.dir(), "--", "-a"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("character 1 '-'"), std::string::npos) << r.err;
}

} // namespace
