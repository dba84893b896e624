// Where the programs look for their library files and documents: beside themselves first, then in
// the data folder of an installed copy, found relative to the program's folder.
#include "core/library/font_library.h"
#include "core/system/install_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

// A tree shaped like an install: <root>/bin and <root>/share/{hzdot/fonts,doc/hzdot}.
class InstallTree : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        root = fs::temp_directory_path() / ("hzdot-paths-" + std::to_string(seed()));
        fs::create_directories(bin());
        fs::create_directories(fonts());
        fs::create_directories(docs());
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path bin() const { return root / "bin"; }
    fs::path fonts() const { return root / "share/hzdot/fonts"; }
    fs::path docs() const { return root / "share/doc/hzdot"; }
    static void touch(const fs::path& path) { std::ofstream(path) << "x"; }
    static std::string libraryFile(int position) { return std::string(hz::fontLibrary(position).fileName); }

    fs::path root;
};

TEST_F(InstallTree, InstalledDataSitsBesideTheProgramsFolder) {
    EXPECT_EQ(hz::installedDataFromPrograms(), "../share");
}

TEST_F(InstallTree, ProgramsOwnFolderComesFirst) {
    touch(bin() / libraryFile(5));
    touch(fonts() / libraryFile(1));
    // Any one of the six beside the program makes it the library folder, as in a build folder.
    EXPECT_EQ(hz::libraryFolder(bin().string()), bin().string());
}

TEST_F(InstallTree, InstalledFontsFolderWhenNoneLiesBesideTheProgram) {
    touch(fonts() / libraryFile(1));
    const std::string folder = hz::libraryFolder(bin().string());
    EXPECT_TRUE(fs::equivalent(folder, fonts())) << folder;
    // The path works as the library folder does: the file names join on.
    EXPECT_TRUE(fs::is_regular_file(hz::libraryPath(folder, hz::fontLibrary(1))));
    // A moved tree is found the same way: nothing absolute is kept.
    const fs::path moved = root.string() + "-moved";
    fs::rename(root, moved);
    EXPECT_TRUE(fs::equivalent(hz::libraryFolder((moved / "bin").string()), moved / "share/hzdot/fonts"));
    fs::rename(moved, root);
}

TEST_F(InstallTree, NeitherPlaceHoldsALibrary) {
    // Messages then name the program's folder, the first place looked in.
    EXPECT_EQ(hz::libraryFolder(bin().string()), bin().string());
    // A folder that only bears a library's name is no library.
    fs::create_directory(fonts() / libraryFile(1));
    EXPECT_EQ(hz::libraryFolder(bin().string()), bin().string());
    EXPECT_FALSE(hz::holdsAnyLibrary(bin().string()));
    EXPECT_FALSE(hz::holdsAnyLibrary(fonts().string()));
}

TEST_F(InstallTree, ThePlacesLookedInAreTheProgramsFolderThenTheInstalledOne) {
    const auto places = hz::libraryPlaces(bin().string());
    EXPECT_EQ(places[0], bin().string());
    // Named as a message shows it: the installed folder's own path, no ".." in it.
    EXPECT_EQ(places[1], fonts().string());
    // Each is where libraryFolder takes the libraries from once it holds one.
    touch(fonts() / libraryFile(4));
    EXPECT_TRUE(hz::holdsAnyLibrary(places[1]));
    EXPECT_EQ(hz::libraryFolder(bin().string()), places[1]);
    touch(bin() / libraryFile(0));
    EXPECT_EQ(hz::libraryFolder(bin().string()), places[0]);
}

TEST_F(InstallTree, DocumentsBesideTheProgramThenInstalled) {
    EXPECT_EQ(hz::documentPath(bin().string(), "README.md"), "");
    touch(docs() / "README.md");
    EXPECT_TRUE(fs::equivalent(hz::documentPath(bin().string(), "README.md"), docs() / "README.md"));
    touch(bin() / "README.md");
    EXPECT_EQ(hz::documentPath(bin().string(), "README.md"), (bin() / "README.md").string());
    EXPECT_EQ(hz::documentPath(bin().string(), "arrangements.md"), "");
    // Installed, the documents the README links to lie in docs/ beside it, as in the repository.
    fs::create_directories(docs() / "docs");
    touch(docs() / "docs/arrangements.md");
    EXPECT_TRUE(fs::equivalent(hz::documentPath(bin().string(), "arrangements.md"), docs() / "docs/arrangements.md"));
    touch(bin() / "arrangements.md");
    EXPECT_EQ(hz::documentPath(bin().string(), "arrangements.md"), (bin() / "arrangements.md").string());
}

} // namespace
