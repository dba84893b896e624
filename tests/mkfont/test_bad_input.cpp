// Bad input: a clear message naming the file and the problem, exit status 2, nothing written and
// an existing library left as it was.

#include "bdf_font.h"
#include "process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

using namespace hz::test;

namespace {

const std::string kSong = "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf";
const std::string kStrike12 = "/usr/share/fonts/X11/misc/wenquanyi_9pt.pcf";
const std::string kUming = "/usr/share/fonts/truetype/arphic/uming.ttc";

struct BadCase {
    const char* name;
    // Prepares the scratch folder and returns the arguments; `output` is where a library would go.
    std::function<std::vector<std::string>(const TempFolder&, const std::string& output)> arguments;
    std::vector<std::string> messageParts; // each must appear in the message; "$" is the scratch folder
    bool usage = false;                    // a bad command line: the message points to --help
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<std::string> withOutput(std::vector<std::string> args, const std::string& output) {
    args.push_back("--output");
    args.push_back(output);
    return args;
}

// A bad command line: these arguments and --output, refused with a pointer to --help.
BadCase usageError(const char* name, const std::vector<std::string>& args, std::vector<std::string> messageParts) {
    return {name, [args](const TempFolder&, const std::string& out) { return withOutput(args, out); },
            std::move(messageParts), true};
}

// A font of one letter and no hanzi, in the scratch folder.
std::string latinFontIn(const TempFolder& scratch) {
    writeFile(scratch.file("latin.bdf"), latinFont().text());
    return scratch.file("latin.bdf");
}

class BadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadInput, ExitsWithTwoAndWritesNothing) {
    TempFolder scratch;
    for (bool libraryExists : {false, true}) {
        const std::string output = scratch.file("library");
        std::filesystem::remove(output);
        if (libraryExists)
            writeFile(output, "an older library");
        const ProcessResult run = runMkfont(GetParam().arguments(scratch, output));

        EXPECT_EQ(run.status, 2) << run.out << run.err;
        for (std::string part : GetParam().messageParts) {
            if (auto at = part.find('$'); at != std::string::npos)
                part.replace(at, 1, scratch.path());
            EXPECT_NE(run.err.find(part), std::string::npos) << "missing \"" << part << "\" in: " << run.err;
        }
        EXPECT_EQ(run.err.rfind("hzdot-mkfont: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find("\nTry 'hzdot-mkfont --help' for more information.\n") != std::string::npos,
                  GetParam().usage)
            << run.err;
        if (libraryExists)
            EXPECT_EQ(readFile(output), "an older library");
        else
            EXPECT_FALSE(fileExists(output));
        // No temporary file is left behind either.
        std::size_t entries = 0;
        for (const auto& entry : std::filesystem::directory_iterator(scratch.path()))
            entries += entry.path().filename() != "library";
        EXPECT_LE(entries, 2u); // at most the font and folder a case made itself
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInput,
    ::testing::Values(BadCase{"MissingFont",
                              [](const TempFolder& s, const std::string& out) {
                                  return withOutput({"--font", s.file("nothing.ttf"), "--size", "16"}, out);
                              },
                              {"$/nothing.ttf: no such file\n"}},
                      BadCase{"FolderAsFont",
                              [](const TempFolder& s, const std::string& out) {
                                  std::filesystem::create_directory(s.file("fonts"));
                                  return withOutput({"--font", s.file("fonts"), "--size", "16"}, out);
                              },
                              {"$/fonts: is a folder, not a font file\n"}},
                      BadCase{"NotAFont",
                              [](const TempFolder& s, const std::string& out) {
                                  writeFile(s.file("notes.ttf"), "these are notes, not a font\n");
                                  return withOutput({"--font", s.file("notes.ttf"), "--size", "16"}, out);
                              },
                              {"$/notes.ttf", "not a font"}},
                      BadCase{"TruncatedFont",
                              [](const TempFolder& s, const std::string& out) {
                                  writeFile(s.file("cut.ttf"), readFile(kSong).substr(0, 4096));
                                  return withOutput({"--font", s.file("cut.ttf"), "--size", "24"}, out);
                              },
                              {"$/cut.ttf"}},
                      BadCase{"NoSuchFace",
                              [](const TempFolder&, const std::string& out) {
                                  return withOutput({"--font", kUming, "--face", "9", "--size", "16"}, out);
                              },
                              {kUming + ": has no face 9 (it holds 4 faces, numbered from 0)\n"}},
                      BadCase{"StrikeOfAnotherSize",
                              [](const TempFolder&, const std::string& out) {
                                  return withOutput({"--font", kStrike12, "--size", "16"}, out);
                              },
                              {kStrike12 + ": has no 16-pixel strike (its strikes: 12 pixels)\n"}},
                      BadCase{"NoHanzi",
                              [](const TempFolder& s, const std::string& out) {
                                  return withOutput({"--font", latinFontIn(s), "--size", "16"}, out);
                              },
                              {"$/latin.bdf", "has no glyph for any GB2312 hanzi"}},
                      BadCase{"OutputFolderMissing",
                              [](const TempFolder& s, const std::string&) {
                                  return withOutput({"--font", kSong, "--size", "24"}, s.file("gone/library"));
                              },
                              {"$/gone/library", "the folder $/gone does not exist"}},
                      BadCase{"OutputIsTheFont",
                              [](const TempFolder& s, const std::string& out) {
                                  writeFile(s.file("copy.pcf"), readFile(kStrike12));
                                  (void)out;
                                  return withOutput({"--font", s.file("copy.pcf"), "--size", "12"}, s.file("copy.pcf"));
                              },
                              {"is the source font itself"}},
                      BadCase{
                          "NoHanziForGbk",
                          [](const TempFolder& s, const std::string& out) {
                              return withOutput({"--font", latinFontIn(s), "--size", "16", "--charset", "gbk"}, out);
                          },
                          {"$/latin.bdf", "has no glyph for any GB2312 hanzi"}},
                      // The widths go beside the library: a folder there is refused before any work.
                      BadCase{"WidthsFileIsAFolder",
                              [](const TempFolder& s, const std::string& out) {
                                  std::filesystem::create_directory(out + ".widths");
                                  (void)s;
                                  return withOutput({"--font", kSong, "--size", "16", "--ambiguous", "half"}, out);
                              },
                              {"$/library.widths: is a folder"}},
                      BadCase{"ValueMissing",
                              [](const TempFolder&, const std::string& out) {
                                  std::vector<std::string> args = withOutput({"--font", kSong}, out);
                                  args.push_back("--size");
                                  return args;
                              },
                              {"--size needs a value"},
                              true},
                      BadCase{"NoOutputGiven",
                              [](const TempFolder&, const std::string&) {
                                  return std::vector<std::string>{"--font", kSong, "--size", "24"};
                              },
                              {"--output FILE is required"},
                              true}),
    [](const auto& info) { return std::string(info.param.name); });

// Bad command lines: the message names the option and what it takes, and points to --help.
INSTANTIATE_TEST_SUITE_P(
    UsageErrors, BadInput,
    ::testing::Values(
        usageError("SizeBelowEight", {"--font", kSong, "--size", "7"},
                   {"--size: '7' is out of range; give a size in dots 8-64"}),
        usageError("SizeAboveSixtyFour", {"--font", kSong, "--size", "65"},
                   {"--size: '65' is out of range; give a size in dots 8-64"}),
        usageError("UnknownCharset", {"--font", kSong, "--size", "16", "--charset", "big5"},
                   {"--charset: 'big5' is not a character set; give gb2312, gbk or ascii"}),
        usageError("UnknownLayout", {"--font", kSong, "--size", "16", "--layout", "rows-sideways"},
                   {"--layout: 'rows-sideways' is not one layout", "SCAN-BIT"}),
        usageError("AllLayouts", {"--font", kSong, "--size", "16", "--layout", "all"},
                   {"--layout: 'all' is not one layout"}),
        usageError("TraditionalAscii", {"--font", kSong, "--size", "16", "--charset", "ascii", "--traditional"},
                   {"--traditional", "--charset gb2312 only"}),
        usageError("ThresholdOutOfRange", {"--font", kSong, "--size", "24", "--threshold", "300"},
                   {"--threshold: '300' is out of range; give a grey level 0-254"}),
        // A dot is kept when covered more than T/255: at 255 none would be.
        usageError("ThresholdThatKeepsNoDot", {"--font", kSong, "--size", "24", "--threshold", "255"},
                   {"--threshold: '255' is out of range; give a grey level 0-254"}),
        usageError("FaceOutOfRange", {"--font", kUming, "--face", "65536", "--size", "16"},
                   {"--face: '65536' is out of range; give a face number 0-65535"}),
        usageError("UnknownWidths", {"--font", kSong, "--size", "16", "--width", "Proportional"},
                   {"--width: 'Proportional' is not a kind of cell width; give fixed or proportional"}),
        usageError("UnknownAmbiguousWidth", {"--font", kSong, "--size", "16", "--ambiguous", ""},
                   {"--ambiguous: '' is not a width for the ambiguous characters; give half or full"}),
        usageError("UnknownRenderRule", {"--font", kSong, "--size", "16", "--render", "Classic"},
                   {"--render: 'Classic' is not a rendering rule; give default or classic (or, to compare, "
                    "dropout, autohint or grey)"}),
        usageError("UnknownOption", {"--font", kSong, "--size", "16", "--bogus"}, {"unknown option '--bogus'"}),
        usageError("BppFive", {"--font", kSong, "--size", "16", "--bpp", "5"},
                   {"--bpp: '5' is not a depth; give 1, 2, 4 or 8 bits a dot"}),
        usageError("BppPages", {"--font", kSong, "--size", "16", "--bpp", "4", "--layout", "ssd1306"},
                   {"--layout ssd1306", "pages is a one-bit layout"}),
        usageError("BppDisagreesWithTheName",
                   {"--font", kSong, "--size", "16", "--layout", "columns-lsb-2bpp", "--bpp", "4"},
                   {"--layout columns-lsb-2bpp has 2 bits a dot but --bpp 4 asks for 4 bits a dot"}),
        usageError("ThresholdWithGrey", {"--font", kSong, "--size", "16", "--threshold", "100", "--bpp", "2"},
                   {"--threshold cuts a glyph to one bit a dot; it goes with --bpp 1 only"}),
        usageError("StrayWord", {"--font", kSong, "--size", "16", "wqy"}, {"unknown argument 'wqy'"})),
    [](const auto& info) { return std::string(info.param.name); });

// hzdot-cli words its usage errors the same way, from the same table.
TEST(BadInput, AUsageErrorIsOneLineAndAPointerToHelp) {
    const ProcessResult run = runMkfont({"--font", kSong, "--size", "24", "--threshold", "255", "--output", "x"});
    EXPECT_EQ(run.err, "hzdot-mkfont: --threshold: '255' is out of range; give a grey level 0-254\n"
                       "Try 'hzdot-mkfont --help' for more information.\n");
    const ProcessResult bare = runMkfont({});
    EXPECT_EQ(bare.status, 2);
    EXPECT_EQ(bare.err.rfind("hzdot-mkfont: --font FILE is required\nusage: hzdot-mkfont --font FILE", 0), 0u)
        << bare.err;
    EXPECT_NE(bare.err.find("[--threshold 0-254]"), std::string::npos) << bare.err;
}

TEST(BadInput, OutputOverTheFontLeavesTheFontIntact) {
    TempFolder scratch;
    const std::string font = scratch.file("copy.pcf");
    writeFile(font, readFile(kStrike12));
    const ProcessResult run = runMkfont({"--font", font, "--size", "12", "--output", font});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(readFile(font), readFile(kStrike12));
}

} // namespace
