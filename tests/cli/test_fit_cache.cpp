// The fitted placement of a font remembered between runs of hzdot-cli: a run that finds it draws
// every dot as a run that fits the font, a damaged file is put right, and a cache folder that
// cannot be written costs only the time of fitting again.
#include "cli_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";
const std::string kText = "温度25℃，湿度：60％。Ag@─┼※①测试字库点阵";

class FitCache : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access(kZenHei.c_str(), R_OK) != 0)
            GTEST_SKIP() << kZenHei << " is not installed (fonts-wqy-zenhei)";
        ::unsetenv("HZDOT_NO_CACHE");
        ::setenv("XDG_CACHE_HOME", cacheHome().c_str(), 1);
    }

    std::string cacheHome() const { return folder.path() + "/cache"; }
    std::string cacheFolder() const { return cacheHome() + "/hzdot"; }

    std::vector<std::string> cacheFiles() const {
        std::vector<std::string> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(cacheFolder(), error))
            files.push_back(entry.path().string());
        return files;
    }

    static CliResult draw(const std::vector<std::string>& more = {}) {
        std::vector<std::string> args = {"--font", kZenHei, "--size", "16"};
        args.insert(args.end(), more.begin(), more.end());
        args.push_back(kText);
        return runCli(args);
    }

    // What the run prints with no cache at all.
    static std::string uncached(const std::vector<std::string>& more = {}) {
        ::setenv("HZDOT_NO_CACHE", "1", 1);
        CliResult r = draw(more);
        ::unsetenv("HZDOT_NO_CACHE");
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    }

    TempFolder folder;
};

TEST_F(FitCache, WarmRunDrawsEveryDotAsAColdOne) {
    for (const std::vector<std::string>& more :
         {std::vector<std::string>{}, {"--bpp", "4"}, {"--threshold", "90"}}) {
        const std::string expected = uncached(more);
        std::filesystem::remove_all(cacheFolder());
        CliResult cold = draw(more);
        ASSERT_EQ(cold.status, 0) << cold.err;
        ASSERT_EQ(cacheFiles().size(), 1u);
        CliResult warm = draw(more);
        EXPECT_EQ(warm.status, 0) << warm.err;
        EXPECT_EQ(cold.out, expected);
        EXPECT_EQ(warm.out, expected);
    }
}

// The file is what a warm run places its cells by: another well-formed rule moves the dots.
TEST_F(FitCache, WarmRunPlacesByTheRememberedRule) {
    ASSERT_EQ(draw().status, 0);
    ASSERT_EQ(cacheFiles().size(), 1u);
    const std::string file = cacheFiles()[0];
    std::string text = readFile(file);
    const auto rule = text.find("rule outline ");
    ASSERT_NE(rule, std::string::npos) << text;
    const auto end = text.find('\n', rule);
    text.replace(rule, end - rule, "rule outline 16 0 2 1");
    writeFile(file, text);
    CliResult moved = draw();
    EXPECT_EQ(moved.status, 0);
    EXPECT_NE(moved.out, uncached());
}

struct Damage {
    const char* name;
    std::string (*damage)(const std::string& good);
};

void PrintTo(const Damage& d, std::ostream* os) {
    *os << d.name;
}

class DamagedFitCache : public FitCache, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedFitCache, IsIgnoredAndRewritten) {
    const std::string expected = uncached();
    ASSERT_EQ(draw().status, 0);
    ASSERT_EQ(cacheFiles().size(), 1u);
    const std::string file = cacheFiles()[0];
    const std::string good = readFile(file);
    writeFile(file, GetParam().damage(good));
    CliResult r = draw();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(readFile(file), good);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    return at == std::string::npos ? "not found" : text.replace(at, from.size(), to);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFitCache,
    ::testing::Values(
        Damage{"Empty", [](const std::string&) { return std::string(); }},
        Damage{"Truncated", [](const std::string& good) { return good.substr(0, good.size() - 6); }},
        Damage{"KeyOnly", [](const std::string& good) { return good.substr(0, good.find("rule ")); }},
        Damage{"Binary", [](const std::string&) { return std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16); }},
        Damage{"OtherSize", [](const std::string& good) { return replaced(good, "size 16\n", "size 17\n"); }},
        Damage{"OtherVersion", [](const std::string& good) { return replaced(good, "program ", "program 0."); }},
        Damage{"PixelsOutOfRange", [](const std::string& good) { return replaced(good, "rule outline ", "rule outline 9"); }},
        Damage{"UnknownDrawing", [](const std::string& good) { return replaced(good, "rule outline", "rule vector"); }},
        Damage{"NotANumber", [](const std::string& good) { return replaced(good, "rule outline 1", "rule outline x"); }},
        Damage{"TrailingWords", [](const std::string& good) { return good + "more\n"; }},
        Damage{"Huge", [](const std::string& good) { return good + std::string(100000, '#'); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FitCache, FolderThatCannotBeWrittenIsNoError) {
    const std::string expected = uncached();
    // The cache home is a file: no folder can be made in it.
    writeFile(cacheHome(), "not a folder");
    CliResult r = draw();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected);

    // The cache file's place is taken by a folder.
    std::filesystem::remove(cacheHome());
    ASSERT_EQ(draw().status, 0);
    ASSERT_EQ(cacheFiles().size(), 1u);
    const std::string file = cacheFiles()[0];
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    CliResult blocked = draw();
    EXPECT_EQ(blocked.status, 0) << blocked.err;
    EXPECT_EQ(blocked.out, expected);
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST_F(FitCache, TurnedOffWritesNothing) {
    uncached();
    EXPECT_FALSE(std::filesystem::exists(cacheFolder()));
}

// A font file replaced in place is fitted anew.
TEST_F(FitCache, ChangedFontIsFittedAnew) {
    const std::string font = folder.file("font.ttc");
    std::filesystem::copy_file(kZenHei, font);
    const std::vector<std::string> args = {"--font", font, "--size", "16", kText};
    ASSERT_EQ(runCli(args).status, 0);
    ASSERT_EQ(cacheFiles().size(), 1u);
    std::filesystem::last_write_time(font, std::filesystem::last_write_time(font) - std::chrono::hours(1));
    CliResult again = runCli(args);
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(cacheFiles().size(), 2u);
    EXPECT_EQ(again.out, uncached());
}

} // namespace
