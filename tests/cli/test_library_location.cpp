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
