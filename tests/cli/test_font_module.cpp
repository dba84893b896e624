// hzdot-cli copied to a folder without its font module, or beside a module that is not one: fonts and
// the installed fonts of --detect are refused with a message naming the module and where it was
// looked for, nothing is written, and the libraries work as ever.
#include "cli_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kBuildBin = fs::path(HZDOT_CLI_PATH).parent_path().string();

struct ModuleCase {
    const char* name;
    const char* moduleBytes; // put beside the program as hzdot-fonts.so; nullptr: nothing is
    const char* moduleFile;  // or this file copied there
    const char* detail;      // what the message says of it
};

void PrintTo(const ModuleCase& c, std::ostream* out) {
    *out << c.name;
}

class FontModule : public ::testing::TestWithParam<ModuleCase> {
protected:
    void SetUp() override {
        program = folder.file("hzdot-cli");
        fs::copy_file(HZDOT_CLI_PATH, program);
        if (GetParam().moduleBytes)
            writeFile(folder.file("hzdot-fonts.so"), GetParam().moduleBytes);
        if (GetParam().moduleFile)
            fs::copy_file(GetParam().moduleFile, folder.file("hzdot-fonts.so"));
        font = folder.file("font.ttf");
        writeFile(font, "not read: the module is needed first");
    }

    CliResult run(std::vector<std::string> args) const {
        CliCall call(std::move(args));
        call.program = program;
        return runCli(call);
    }

    // The message names the module, both places it was looked for, and what was wrong.
    void expectModuleNamed(const std::string& err) const {
        EXPECT_NE(err.find("font module hzdot-fonts.so (looked for at " + folder.file("hzdot-fonts.so") + " and "),
                  std::string::npos)
            << err;
        EXPECT_NE(err.find("/lib"), std::string::npos) << err;
        EXPECT_NE(err.find(GetParam().detail), std::string::npos) << err;
    }

    TempFolder folder;
    std::string program;
    std::string font;
};

TEST_P(FontModule, FontIsRefusedAndNothingWritten) {
    const std::string output = folder.file("out.txt");
    const CliResult r = run({"--font", font, "--size", "16", "-a", "2", "-o", output, "液晶"});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_TRUE(r.err.starts_with("hzdot-cli: " + font + ": cannot be drawn: HzDot's font module")) << r.err;
    expectModuleNamed(r.err);
    EXPECT_FALSE(fileExists(output));
}

TEST_P(FontModule, DetectIsRefusedWithoutTheInstalledFonts) {
    const std::string paste = folder.file("paste.c");
    const CliResult bytes = run({"-f", kBuildBin, "--layout", "xbm", "--format", "bin", "我"});
    ASSERT_EQ(bytes.status, 0) << bytes.err;
    std::string text = "{";
    for (const unsigned char byte : bytes.out)
        text += std::to_string(byte) + ",";
    writeFile(paste, text + "}");
    const CliResult r = run({"-f", kBuildBin, "--detect", paste, "我"});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_TRUE(r.err.starts_with("hzdot-cli: cannot compare the bytes with the installed fonts: ")) << r.err;
    expectModuleNamed(r.err);
}

TEST_P(FontModule, LibrariesNeedNoModule) {
    const CliResult r = run({"-f", kBuildBin, "-l", "3", "-a", "2", "液晶"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, runCli({"-f", kBuildBin, "-l", "3", "-a", "2", "液晶"}).out);
}

INSTANTIATE_TEST_SUITE_P(Cli, FontModule,
                         ::testing::Values(ModuleCase{"Missing", nullptr, nullptr, "no such file"},
                                           ModuleCase{"NotAModule", "junk", nullptr, "hzdot-fonts.so: file too short"},
                                           ModuleCase{"OtherVersion", nullptr, HZDOT_OTHER_VERSION_MODULE,
                                                      "hzdot-fonts.so belongs to HzDot 0.0.0-other, not "}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
