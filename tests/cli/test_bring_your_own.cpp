// Detecting a layout, a library file of the user's own, and fonts cut to a firmware's strings, from
// the command line. Detection and probing themselves are tested in the core; here the options reach
// them and every refusal says why.
#include "cli_process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// A glyph with ink all over the cell and no symmetry: a diagonal, a bar along the top and a dot.
const TinyGlyph kWo{0xCED2, [] {
                        std::vector<std::uint8_t> bytes(32, 0);
                        for (int r = 0; r < 16; ++r)
                            bytes[static_cast<std::size_t>(2 * r + (r / 8))] |=
                                static_cast<std::uint8_t>(0x80 >> (r % 8));
                        bytes[0] = bytes[1] = 0xFF;
                        bytes[29] |= 0x03;
                        return bytes;
                    }()};

// 中 as a frame with a bar through it: the same mirrored either way.
const TinyGlyph kZhong{0xD6D0, [] {
                           std::vector<std::uint8_t> bytes(32, 0);
                           for (int r = 3; r < 13; ++r)
                               bytes[static_cast<std::size_t>(2 * r)] = bytes[static_cast<std::size_t>(2 * r + 1)] =
                                   r == 3 || r == 9 ? 0xFF : 0x00;
                           for (int r = 3; r < 10; ++r) {
                               bytes[static_cast<std::size_t>(2 * r)] |= 0x80;
                               bytes[static_cast<std::size_t>(2 * r + 1)] |= 0x01;
                           }
                           for (int r = 0; r < 16; ++r)
                               bytes[static_cast<std::size_t>(2 * r)] |= 0x01,
                                   bytes[static_cast<std::size_t>(2 * r + 1)] |= 0x80;
                           return bytes;
                       }()};

struct WoFonts {
    TempFolder fonts;
    WoFonts() { writeLibrary(fonts.file(kLibraryFiles[1]), 32, {kYang, kZi, kWo, kZhong}); }
    std::string dir() const { return fonts.path(); }
};

std::string cArray(const std::string& bytes) {
    std::string text = "static const unsigned char wo[] = { // pasted\n";
    char field[8];
    for (unsigned char b : bytes) {
        std::snprintf(field, sizeof field, "0x%02X,", b);
        text += field;
    }
    return text + "\n};\n";
}

TEST(Detect, FindsTheLayoutOfPastedBytes) {
    WoFonts s;
    CliResult bytes = runCli({"-f", s.dir(), "--layout", "xbm", "--format", "bin", "我"});
    ASSERT_EQ(bytes.status, 0);
    const std::string paste = s.fonts.file("paste.c");
    writeFile(paste, cArray(bytes.out));
    CliResult r = runCli({"-f", s.dir(), "--detect", paste, "我"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("rows-lsb\t1.000\txbm\n")) << r.out;
    EXPECT_LE(std::count(r.out.begin(), r.out.end(), '\n'), 5);

    // The same from standard input.
    CliResult piped = runCli(CliCall({"-f", s.dir(), "--detect", "-", "我"}, cArray(bytes.out)));
    EXPECT_EQ(piped.out, r.out);
}

TEST(Detect, RefusesWhatItCannotUse) {
    WoFonts s;
    const std::string paste = s.fonts.file("paste.c");
    writeFile(paste, "{ 0x01, 0x02, 0x03 }");
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    for (const Case& c : std::vector<Case>{
             {{"--detect", paste, "我"}, "fit"},                     // 3 bytes fit no cell
             {{"--detect", paste, "我我"}, "exactly one character"}, // two characters
             {{"--detect", s.fonts.file("none.c"), "我"}, "cannot read"},
             {{"--detect", paste, "a"}, "不是汉字"},
         }) {
        std::vector<std::string> args = {"-f", s.dir()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2) << c.says;
        EXPECT_EQ(r.out, "") << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
    writeFile(paste, "// nothing here\n");
    EXPECT_EQ(runCli({"-f", s.dir(), "--detect", paste, "我"}).status, 2);
}

TEST(Detect, ReadsOnlyFilesAndStandardInputAndNoMoreThanAGlyph) {
    WoFonts s;
    const std::string fifo = s.fonts.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        CliCall call;
        std::string says;
    };
    const std::string tooLong(70000, ' ');
    for (const Case& c : std::vector<Case>{
             {CliCall({"-f", s.dir(), "--detect", s.fonts.path(), "我"}), "is a folder"},
             {CliCall({"-f", s.dir(), "--detect", fifo, "我"}), "not a regular file"},        // would wait for a writer
             {CliCall({"-f", s.dir(), "--detect", "/dev/zero", "我"}), "not a regular file"}, // would never end
             {CliCall({"-f", s.dir(), "--detect", "-", "我"}, "{0x01" + tooLong + "}"), "more than 64 KB of text"},
             {CliCall({"-f", s.dir(), "--detect", "-", "我"}, std::string(1030, 'f')), "more than 514 bytes"},
             {CliCall({"-f", s.dir(), "--detect", "-", "我"}, "{-129}"), "below -128: \"-129\""},
             {CliCall({"-f", s.dir(), "--detect", "-", "我"}, "{" + std::string(1000, '9') + "}"),
              "\"" + std::string(40, '9') + "…\" on line 1"},
         }) {
        CliResult r = runCli(c.call);
        EXPECT_EQ(r.status, 2) << c.says;
        EXPECT_EQ(r.out, "") << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
}

TEST(Detect, AnAnswerItCannotVouchForExitsOneWithTheLinesStillPrinted) {
    WoFonts s;
    // Bytes that are no glyph at all.
    std::string noise;
    for (unsigned v = 12345, i = 0; i < 32; ++i, v = v * 1103515245 + 12345)
        noise += static_cast<char>(v >> 16);
    CliResult unlike = runCli(CliCall({"-f", s.dir(), "--detect", "-", "我"}, cArray(noise)));
    EXPECT_EQ(unlike.status, 1) << unlike.err;
    EXPECT_EQ(std::count(unlike.out.begin(), unlike.out.end(), '\n'), 5) << unlike.out;
    EXPECT_NE(unlike.err.find("no layout draws these bytes clearly like"), std::string::npos) << unlike.err;

    // A character that looks the same mirrored cannot tell the layout from its mirror.
    CliResult bytes = runCli({"-f", s.dir(), "--layout", "ssd1306", "--format", "bin", "中"});
    ASSERT_EQ(bytes.status, 0);
    CliResult mirror = runCli(CliCall({"-f", s.dir(), "--detect", "-", "中"}, cArray(bytes.out)));
    EXPECT_EQ(mirror.status, 1) << mirror.err;
    EXPECT_NE(mirror.err.find("differ only by a mirror"), std::string::npos) << mirror.err;
    EXPECT_EQ(std::count(mirror.out.begin(), mirror.out.end(), '\n'), 5) << mirror.out;
}

TEST(Detect, InstalledFontsAreComparedToo) {
    // The folder's only library draws 我 as a diagonal, nothing like a real font's; the installed
    // Chinese fonts, drawn at the paste's size, still recognise a font's 我 in ssd1306 bytes.
    WoFonts s;
    CliResult bytes = runCli({"--font", "/usr/share/fonts/truetype/arphic/uming.ttc", "--face", "1", "--size", "24",
                              "--layout", "ssd1306", "--format", "bin", "我"});
    ASSERT_EQ(bytes.status, 0) << bytes.err;
    CliResult r = runCli(CliCall({"-f", s.dir(), "--detect", "-", "我"}, cArray(bytes.out)));
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_TRUE(r.out.starts_with("pages-lsb\t")) << r.out;
}

TEST(UserLibrary, GivenGeometryReadsTheFile) {
    WoFonts s;
    // The sample library file under another name, read as a library of one's own.
    const std::string own = s.fonts.file("mine.bin");
    writeFile(own, readFile(s.fonts.file(kLibraryFiles[1])));
    CliResult probe =
        runCli({"--library", own, "--cell", "16", "--first-row", "0xA1", "--record-layout", "rows-msb", "--probe"});
    EXPECT_EQ(probe.status, 0) << probe.err;
    EXPECT_NE(probe.out.find("cell 16\n"), std::string::npos) << probe.out;
    EXPECT_NE(probe.out.find("record-layout rows-msb\n"), std::string::npos) << probe.out;

    // The records are counted from the file even with nothing left to find.
    const auto records = readFile(own).size() / 32;
    EXPECT_NE(probe.out.find("records " + std::to_string(records) + "\n"), std::string::npos) << probe.out;

    CliResult r =
        runCli({"--library", own, "--cell", "16", "--first-row", "0xA1", "--record-layout", "rows-msb", "样字"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, runCli({"-f", s.dir(), "样字"}).out);
}

// With the geometry given whole, a folder, a missing file or a file shorter than one record is
// still refused once, before any character, as a usage of a library that cannot be read.
TEST(UserLibrary, GivenGeometryStillRefusesWhatIsNoLibrary) {
    WoFonts s;
    const std::string tiny = s.fonts.file("tiny.bin");
    writeFile(tiny, std::string(31, '\x55'));
    const std::vector<std::string> given{"--cell", "16", "--first-row", "0xA1", "--record-layout", "rows-msb"};
    for (const std::string& file : {s.dir(), s.fonts.file("absent.bin"), tiny}) {
        for (bool probing : {false, true}) {
            std::vector<std::string> args{"--library", file};
            args.insert(args.end(), given.begin(), given.end());
            args.push_back(probing ? "--probe" : "样字");
            CliResult r = runCli(args);
            EXPECT_EQ(r.status, 2) << file << ": " << r.err;
            EXPECT_TRUE(r.out.empty()) << r.out;
            EXPECT_NE(r.err.find(file), std::string::npos) << r.err;
            EXPECT_EQ(r.err.find("当前路径汉字库不存在"), std::string::npos) << r.err;
        }
    }
}

TEST(UserLibrary, RefusalsSayWhatToPass) {
    WoFonts s;
    const std::string own = s.fonts.file("mine.bin");
    writeFile(own, std::string(1000, '\x55'));
    // Our own libraries are needed to find the layout; none is in this folder.
    TempFolder empty;
    CliResult noReference = runCli({"-f", empty.path(), "--library", own, "样"});
    EXPECT_EQ(noReference.status, 2);
    EXPECT_NE(noReference.err.find("--record-layout"), std::string::npos) << noReference.err;
    // Options that only make sense with a file.
    CliResult stray = runCli({"-f", s.dir(), "--cell", "16", "样"});
    EXPECT_EQ(stray.status, 2);
    EXPECT_NE(stray.err.find("--library FILE"), std::string::npos) << stray.err;
    // A record past the end of a file cut short is refused with the library's own message.
    writeFile(own, readFile(s.fonts.file(kLibraryFiles[1])).substr(0, 32 * 100));
    CliResult cut =
        runCli({"--library", own, "--cell", "16", "--first-row", "0xA1", "--record-layout", "rows-msb", "样"});
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("字库文件不完整"), std::string::npos) << cut.err;
}

TEST(Scan, TakesTheLiteralsOfASourceTreeAndAddsText) {
    WoFonts s;
    TempFolder tree;
    writeFile(tree.file("main.c"), "// 字 in a comment is not taken\nconst char *m = \"样\";\n");
    writeFile(tree.file("notes.txt"), "我 is in a file that is not source\n");
    CliResult r = runCli({"-f", s.dir(), "--format", "bin", "--scan", tree.path()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.size(), 32u); // 样 only
    CliResult withText = runCli({"-f", s.dir(), "--format", "bin", "--scan", tree.path(), "字样"});
    EXPECT_EQ(withText.status, 0) << withText.err;
    EXPECT_EQ(withText.out.size(), 64u); // 样 and 字, once each
    CliResult missing = runCli({"-f", s.dir(), "--scan", tree.file("gone"), "--scan", tree.path()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("gone"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.out, "");
}

TEST(Scan, AnUnchangedOutputKeepsItsTimeStamp) {
    WoFonts s;
    TempFolder tree;
    writeFile(tree.file("ui.cpp"), "auto t = u8\"我\" \"样\";\n");
    const std::string out = s.fonts.file("font.bin");
    ASSERT_EQ(runCli({"-f", s.dir(), "--format", "bin", "-o", out, "--scan", tree.path()}).status, 0);
    struct stat before {};
    ASSERT_EQ(::stat(out.c_str(), &before), 0);
    struct timespec old[2] = {{1, 0}, {1, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, out.c_str(), old, 0), 0);
    CliResult again = runCli({"-f", s.dir(), "--format", "bin", "-o", out, "--scan", tree.path()});
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.err.find("unchanged"), std::string::npos) << again.err;
    struct stat after {};
    ASSERT_EQ(::stat(out.c_str(), &after), 0);
    EXPECT_EQ(after.st_mtim.tv_sec, 1);
    // A change in the sources rewrites it.
    writeFile(tree.file("ui.cpp"), "auto t = \"字\";\n");
    EXPECT_EQ(runCli({"-f", s.dir(), "--format", "bin", "-o", out, "--scan", tree.path()}).err, "");
    ASSERT_EQ(::stat(out.c_str(), &after), 0);
    EXPECT_NE(after.st_mtim.tv_sec, 1);
}

} // namespace
