// Writes the header of the GB2312 rows table (gb_rows_table.h) at build time: every code whose two
// bytes are both 0xA1..0xFE, decoded by iconv's CP936 in one pass, and the way back from character
// to code. The program then looks GB2312 characters up in constant tables instead of opening iconv
// and decoding the rows at every start.
//
//   make_gb_rows OUTPUT
//
// Fails, and so fails the build, when iconv cannot decode the rows code for code.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iconv.h>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kFirst = 0xA1;
constexpr int kSide = 94;
constexpr std::size_t kCodes = std::size_t{kSide} * kSide;

std::uint16_t codeAt(std::size_t i) {
    return static_cast<std::uint16_t>((kFirst + i / kSide) << 8 | (kFirst + i % kSide));
}

// Decodes the codes in one go, stepping over each code without a character (left 0); false when
// the output does not keep step with the input, one character for each code.
bool decodeAll(std::vector<std::uint32_t>& decoded) {
    std::string codes;
    for (std::size_t i = 0; i < kCodes; ++i) {
        codes += static_cast<char>(codeAt(i) >> 8);
        codes += static_cast<char>(codeAt(i) & 0xFF);
    }
    const iconv_t cd = iconv_open("UTF-32LE", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    decoded.assign(kCodes, 0);
    std::size_t next = 0;
    bool inStep = true;
    while (next < kCodes && inStep) {
        char* in = codes.data() + 2 * next;
        std::size_t inLeft = 2 * (kCodes - next);
        char* out = reinterpret_cast<char*>(decoded.data() + next);
        std::size_t outLeft = 4 * (kCodes - next);
        const std::size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        const std::size_t taken = 2 * (kCodes - next) - inLeft;
        const std::size_t given = 4 * (kCodes - next) - outLeft;
        inStep = taken % 2 == 0 && given == 2 * taken;
        next += taken / 2;
        if (rc != static_cast<std::size_t>(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL)
            inStep = false;
        ++next; // a code with no character
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return inStep;
}

void writeNumbers(std::ofstream& out, const std::uint16_t* numbers, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        out << (i % 16 == 0 ? "\n    " : " ") << numbers[i] << ",";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_gb_rows OUTPUT\n");
        return 2;
    }
    std::vector<std::uint32_t> decoded;
    if (!decodeAll(decoded)) {
        std::fprintf(stderr, "make_gb_rows: iconv does not decode CP936's GB2312 rows code for code\n");
        return 1;
    }
    std::vector<std::uint16_t> characters(kCodes, 0);
    // By character: its code, or kTwoCodes when two codes stand for it (iconv then picks the code).
    constexpr std::uint16_t kTwoCodes = 1;
    std::map<int, std::vector<std::uint16_t>> pages; // high byte of the character -> 256 codes
    for (std::size_t i = 0; i < kCodes; ++i) {
        const std::uint32_t character = decoded[i];
        if (character == 0)
            continue;
        if (character > 0xFFFF) {
            std::fprintf(stderr, "make_gb_rows: code %04X decodes beyond the Basic Multilingual Plane\n", codeAt(i));
            return 1;
        }
        characters[i] = static_cast<std::uint16_t>(character);
        auto& page = pages[static_cast<int>(character >> 8)];
        page.resize(256, 0);
        std::uint16_t& code = page[character & 0xFF];
        code = code == 0 ? codeAt(i) : kTwoCodes;
    }
    for (auto& [high, page] : pages)
        for (std::uint16_t& code : page)
            if (code == kTwoCodes)
                code = 0;

    std::ofstream out(argv[1], std::ios::binary);
    out << "#pragma once\n// Made by make_gb_rows from iconv's CP936 at build time.\n\n#include <cstdint>\n\n"
           "namespace hz::gbrows {\n\n";
    out << "// By (lead - 0xA1) * 94 + (trail - 0xA1): the character, 0 for none.\n";
    out << "inline constexpr std::uint16_t kCharacters[" << kCodes << "] = {";
    writeNumbers(out, characters.data(), characters.size());
    out << "\n};\n\n// By the character's high byte: 1 + its page in kCodes, 0 for none.\n";
    std::vector<std::uint16_t> pageOf(256, 0);
    int n = 0;
    for (const auto& [high, page] : pages)
        pageOf[static_cast<std::size_t>(high)] = static_cast<std::uint16_t>(++n);
    out << "inline constexpr std::uint8_t kPageOf[256] = {";
    writeNumbers(out, pageOf.data(), pageOf.size());
    out << "\n};\n\n// By page and low byte: the code, 0 for none or for a character two codes stand for.\n";
    out << "inline constexpr std::uint16_t kCodes[" << pages.size() << "][256] = {";
    for (const auto& [high, page] : pages) {
        out << "\n  {";
        writeNumbers(out, page.data(), page.size());
        out << "\n  },";
    }
    out << "\n};\n\n} // namespace hz::gbrows\n";
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_gb_rows: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
