// Where the fitted rules are remembered: the environment decides, and an unusable setting turns
// to the next place rather than to a folder relative to wherever the program runs.

#include "fontsource/fit_cache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

namespace {

struct FolderCase {
    const char* name;
    std::optional<std::string> noCache;
    std::optional<std::string> xdg;
    std::optional<std::string> home;
    std::string expected;
};

void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << c.name;
}

void setOrUnset(const char* name, const std::optional<std::string>& value) {
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

class FitCacheFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FitCacheFolder, FollowsTheEnvironment) {
    const FolderCase& c = GetParam();
    setOrUnset("HZDOT_NO_CACHE", c.noCache);
    setOrUnset("XDG_CACHE_HOME", c.xdg);
    setOrUnset("HOME", c.home);
    EXPECT_EQ(hz::fontsource::fitCacheFolder(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environment, FitCacheFolder,
    ::testing::Values(FolderCase{"XdgFirst", std::nullopt, "/x/cache", "/home/u", "/x/cache/hzdot"},
                      FolderCase{"HomeWithoutXdg", std::nullopt, std::nullopt, "/home/u", "/home/u/.cache/hzdot"},
                      FolderCase{"EmptyXdg", std::nullopt, "", "/home/u", "/home/u/.cache/hzdot"},
                      FolderCase{"RelativeXdg", std::nullopt, "cache", "/home/u", "/home/u/.cache/hzdot"},
                      FolderCase{"NoHomeAtAll", std::nullopt, std::nullopt, std::nullopt, ""},
                      FolderCase{"RelativeHome", std::nullopt, std::nullopt, "home", ""},
                      FolderCase{"TurnedOff", "1", "/x/cache", "/home/u", ""},
                      FolderCase{"OtherValueLeavesItOn", "0", "/x/cache", "/home/u", "/x/cache/hzdot"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
