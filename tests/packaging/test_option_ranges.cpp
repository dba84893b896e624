// The ranges the manual pages and READMEs give for the options both programs share are the option
// table's, which the programs check values against and print in their help: every range stated
// next to such an option is the table's, every example value lies in it, no list of values stands
// where the range belongs, and each document states the ranges it is expected to.
#include "cmdline/option_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using hz::cmdline::Option;

const Option* const kRanged[] = {&hz::cmdline::kFace, &hz::cmdline::kSize, &hz::cmdline::kThreshold};

struct Document {
    const char* path;                   // in the source tree
    std::vector<const Option*> stating; // the options whose range it must give
};

void PrintTo(const Document& document, std::ostream* out) {
    *out << document.path;
}

std::string readText(const std::string& path) {
    std::ifstream in(std::string(HZDOT_SOURCE_DIR) + "/" + path);
    EXPECT_TRUE(in) << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// What is said about each option: in a manual page the whole paragraph an option's tag heads; and
// anywhere the words after a mention of it, up to the next option mentioned or the line's end.
std::vector<std::pair<const Option*, std::string>> statements(const Document& document) {
    std::string text = readText(document.path);
    const bool manPage = std::string(document.path).ends_with(".1");
    if (manPage) {
        text = replaceAll(text, "\\-", "-");
        text = replaceAll(text, "\\(en", "–");
        text = std::regex_replace(text, std::regex(R"(\\f[BIR])"), "");
    }
    std::vector<std::pair<const Option*, std::string>> said;
    std::istringstream lines(text);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);)
        all.push_back(line);
    for (std::size_t i = 0; i < all.size(); ++i) {
        for (const Option* option : kRanged) {
            const std::string name = "--" + std::string(option->longName);
            const std::regex mention(name + R"((?![\w-]))");
            if (manPage && i > 0 && all[i - 1] == ".TP" && std::regex_search(all[i], mention)) {
                std::string paragraph;
                for (std::size_t j = i + 1; j < all.size() && all[j].rfind(".TP", 0) != 0 &&
                                            all[j].rfind(".SH", 0) != 0 && all[j].rfind(".SS", 0) != 0;
                     ++j)
                    paragraph += all[j] + "\n";
                said.emplace_back(option, paragraph);
            }
            const std::string& line = all[i];
            for (std::sregex_iterator it(line.begin(), line.end(), mention), end; it != end; ++it) {
                const std::size_t from = static_cast<std::size_t>(it->position() + it->length());
                const std::size_t next = line.find("--", from);
                said.emplace_back(option,
                                  line.substr(from, next == std::string::npos ? std::string::npos : next - from));
            }
        }
    }
    return said;
}

class OptionRanges : public ::testing::TestWithParam<Document> {};

TEST_P(OptionRanges, AreTheOptionTables) {
    const Document& document = GetParam();
    const std::regex range(R"((?:^|[^\w.])(\d+) ?(?:-|–| to ) ?(\d+)(?!\w|\.\d))");
    const std::regex valueList(R"((?:^|[^\w.])\d+(?:\|\d+)+)");
    const std::regex example(R"(^[ =](\d+)(?!\w|\.\d))");
    std::vector<const Option*> stated;
    for (const auto& [option, words] : statements(document)) {
        const auto& bounds = *option->range;
        SCOPED_TRACE("--" + std::string(option->longName) + ":" + words);
        for (std::sregex_iterator it(words.begin(), words.end(), range), end; it != end; ++it) {
            EXPECT_EQ(std::stoi((*it)[1]), bounds.low);
            EXPECT_EQ(std::stoi((*it)[2]), bounds.high);
            stated.push_back(option);
        }
        EXPECT_FALSE(std::regex_search(words, valueList)) << "a list of values where the range belongs";
        if (std::smatch value; std::regex_search(words, value, example)) {
            EXPECT_GE(std::stoi(value[1]), bounds.low);
            EXPECT_LE(std::stoi(value[1]), bounds.high);
        }
    }
    for (const Option* option : document.stating)
        EXPECT_NE(std::find(stated.begin(), stated.end(), option), stated.end())
            << document.path << " does not give the range of --" << option->longName;
}

using hz::cmdline::kFace;
using hz::cmdline::kSize;
using hz::cmdline::kThreshold;

INSTANTIATE_TEST_SUITE_P(Documents, OptionRanges,
                         ::testing::Values(Document{"packaging/man/hzdot-cli.1", {&kFace, &kSize, &kThreshold}},
                                           Document{"packaging/man/hzdot-mkfont.1", {&kFace, &kSize, &kThreshold}},
                                           Document{"fonts/README.md", {&kFace, &kSize, &kThreshold}},
                                           Document{"README.md", {&kSize, &kThreshold}}),
                         [](const auto& info) {
                             std::string name = info.param.path;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

} // namespace
