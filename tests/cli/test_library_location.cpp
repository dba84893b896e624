// Finding the library file: the fonts folder, the executable's folder, and a missing file.
#include "cli_process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(LibraryFile, MissingFileIsNamedOnceAndNothingIsWritten) {
    TempFolder fonts;
    const std::string out = fonts.file("out.txt");
    for (int position = 0; position < 6; ++position) {
        CliResult r = runCli({"-f", fonts.path(), "-l", std::to_string(position), "-o", out, "样字"});
        EXPECT_EQ(r.status, 2);
        const std::string path = fonts.file(kLibraryFiles[position]);
        EXPECT_NE(r.err.find("library file not found: " + path), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line, not one per character: " << r.err;
        EXPECT_FALSE(fileExists(out));
    }
}

TEST(LibraryFile, FolderInItsPlaceIsRefused) {
    TempFolder fonts;
    std::filesystem::create_directory(fonts.file(kLibraryFiles[1]));
    CliResult r = runCli({"-f", fonts.path(), "样"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
}

// A copy of the program alone, with no libraries beside it nor in the installed fonts folder
// beside it, names both places; with -f only the folder given.
TEST(LibraryFile, ACopyAloneNamesBothPlacesItLookedIn) {
    TempFolder root;
    std::filesystem::create_directories(root.file("bin"));
    std::filesystem::create_directories(root.file("share/hzdot/fonts"));
    const std::string program = root.file("bin/hzdot-cli");
    std::filesystem::copy_file(HZDOT_CLI_PATH, program);

    CliCall call{{"-l", "3", "-o", root.file("out.txt"), "样字"}};
    call.program = program;
    CliResult r = runCli(call);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(root.file("bin/hzk24宋") + ", nor " + root.file("share/hzdot/fonts/hzk24宋")),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_FALSE(fileExists(root.file("out.txt")));

    // Finding a library file's layout needs one of the six as well: the same two places.
    call.args = {"--library", program, "样"};
    r = runCli(call);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(root.file("bin") + " (beside the program) or in " + root.file("share/hzdot/fonts")),
              std::string::npos)
        << r.err;

    call.args = {"-f", root.file("share/hzdot/fonts"), "样"};
    r = runCli(call);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("library file not found: " + root.file("share/hzdot/fonts/hzk16宋") + " ("), std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find(", nor "), std::string::npos) << r.err;
}

TEST(LibraryFile, DefaultFolderIsTheExecutablesOwnEvenThroughALink) {
    SampleFonts s;
    const std::string program = s.fonts.file("hzdot-cli");
    std::filesystem::copy_file(HZDOT_CLI_PATH, program);
    TempFolder elsewhere;
    const std::string link = elsewhere.file("hz");
    std::filesystem::create_symlink(program, link);

    CliCall call{{"样字"}};
    call.program = link;
    CliResult r = runCli(call);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected::kExportAll);
}

} // namespace
