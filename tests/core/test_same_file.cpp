#include "core/system/same_file.h"

#include "library_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace hz {
namespace {

namespace fs = std::filesystem;

// An output is the input whichever name leads to it: the same path spelt otherwise, a hard link, a
// symbolic link. A different file with the same content, or an output not made yet, is not.
TEST(SameFile, FoundThroughAnyName) {
    test::TempFolder dir;
    const std::string library = dir.file("HZK16");
    test::writeFile(library, {1, 2, 3});
    test::writeFile(dir.file("copy"), {1, 2, 3});
    fs::create_hard_link(library, dir.file("hard"));
    fs::create_symlink("HZK16", dir.file("soft"));
    fs::create_directory(dir.file("sub"));
    const std::vector<std::string> inputs{dir.file("text.txt"), library};

    EXPECT_EQ(sameFileAs(library, inputs), library);
    EXPECT_EQ(sameFileAs(dir.file("sub/../HZK16"), inputs), library);
    EXPECT_EQ(sameFileAs(dir.file("hard"), inputs), library);
    EXPECT_EQ(sameFileAs(dir.file("soft"), inputs), library);
    EXPECT_EQ(sameFileAs(dir.file("copy"), inputs), std::nullopt);
    EXPECT_EQ(sameFileAs(dir.file("not-yet"), inputs), std::nullopt);
    EXPECT_EQ(sameFileAs(library, std::vector<std::string>{}), std::nullopt);
}

} // namespace
} // namespace hz
