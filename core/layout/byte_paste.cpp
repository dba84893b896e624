#include "core/layout/byte_paste.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace hz {

namespace {

struct Word {
    std::string text;
    int line = 0;
    bool inBraces = false;
    bool firstOnLine = false;
    bool negative = false; // right after a minus sign
    bool dollar = false;   // right after a '$': hex, as 6502 and 68k assemblers write it
};

bool isWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x80 && (std::isalnum(u) || c == '_');
}

bool isHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool allOf(std::string_view s, bool (*pred)(char)) {
    return !s.empty() && std::all_of(s.begin(), s.end(), pred);
}

bool isBinDigit(char c) {
    return c == '0' || c == '1';
}
bool isDecDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The words of the text with their line and brace depth; comments, literals and preprocessor lines
// are skipped. PasteOpenComment, PasteOpenString or PasteOpenCharacter for an unterminated comment
// or literal.
Result<std::vector<Word>> splitWords(std::string_view text, bool& sawBrace) {
    std::vector<Word> words;
    int line = 1;
    int depth = 0;
    bool lineHasWord = false;
    bool lineStart = true; // only blanks so far on this line
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto skipToLineEnd = [&] {
        while (i < n && text[i] != '\n')
            ++i;
    };
    while (i < n) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            lineHasWord = false;
            lineStart = true;
            ++i;
            continue;
        }
        if (c == '/' && i + 1 < n && text[i + 1] == '/') {
            skipToLineEnd();
            continue;
        }
        if (c == ';' || (c == '#' && lineStart)) {
            skipToLineEnd();
            continue;
        }
        if (c == '/' && i + 1 < n && text[i + 1] == '*') {
            const std::size_t end = text.find("*/", i + 2);
            if (end == std::string_view::npos) {
                return Problem{.kind = ProblemKind::PasteOpenComment, .line = line};
            }
            line += static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(i),
                                                text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
            i = end + 2;
            lineStart = false;
            continue;
        }
        if (c == '"' || c == '\'') {
            std::size_t j = i + 1;
            while (j < n && text[j] != c && text[j] != '\n')
                j += text[j] == '\\' ? 2 : 1;
            if (j >= n || text[j] != c) {
                return Problem{.kind = c == '"' ? ProblemKind::PasteOpenString : ProblemKind::PasteOpenCharacter,
                               .line = line};
            }
            i = j + 1;
            lineStart = false;
            continue;
        }
        if (c == '{') {
            sawBrace = true;
            ++depth;
        } else if (c == '}') {
            depth = std::max(0, depth - 1);
        }
        if (isWordChar(c)) {
            const std::size_t start = i;
            while (i < n && isWordChar(text[i]))
                ++i;
            const char before = start > 0 ? text[start - 1] : ' ';
            words.push_back({std::string(text.substr(start, i - start)), line, depth > 0, !lineHasWord, before == '-',
                             before == '$'});
            lineHasWord = true;
            lineStart = false;
            continue;
        }
        if (c != ' ' && c != '\t' && c != '\r')
            lineStart = false;
        ++i;
    }
    return words;
}

std::string_view withoutCSuffix(std::string_view s) {
    while (!s.empty() && (s.back() == 'u' || s.back() == 'l'))
        s.remove_suffix(1);
    return s;
}

// A radix-marked word (lowered) that decides a paste is code, not a hex dump.
bool isMarkedNumber(std::string_view w) {
    if (w.size() > 2 && w.starts_with("0x") && allOf(withoutCSuffix(w.substr(2)), isHex))
        return true;
    if (w.size() > 1 && isDecDigit(w[0]) && w.back() == 'h' && allOf(w.substr(0, w.size() - 1), isHex))
        return true;
    if (w.size() == 10 && w.starts_with("0b") && allOf(w.substr(2), isBinDigit))
        return true;
    return w.size() == 9 && w.back() == 'b' && allOf(w.substr(0, 8), isBinDigit);
}

std::optional<unsigned long> parseDigits(std::string_view digits, int base) {
    unsigned long value = 0;
    for (char c : digits) {
        const int d = isDecDigit(c) ? c - '0' : c - 'a' + 10;
        value = value * static_cast<unsigned long>(base) + static_cast<unsigned long>(d);
        if (value > 0xFFFF)
            return value; // large enough to be refused; stops any overflow
    }
    return value;
}

// The value of a number word (lowered) in C or assembly, or nothing when it is no number.
std::optional<unsigned long> codeNumber(std::string_view w) {
    if (w.size() > 2 && w.starts_with("0x")) {
        const auto digits = withoutCSuffix(w.substr(2));
        return allOf(digits, isHex) ? parseDigits(digits, 16) : std::nullopt;
    }
    if (w.size() > 2 && w.starts_with("0b") && allOf(w.substr(2), isBinDigit))
        return parseDigits(w.substr(2), 2);
    const auto body = w.substr(0, w.size() - 1);
    if (w.size() > 1 && w.back() == 'h' && allOf(body, isHex))
        return parseDigits(body, 16);
    if (w.size() > 1 && w.back() == 'b' && allOf(body, isBinDigit))
        return parseDigits(body, 2);
    const auto decimal = withoutCSuffix(w);
    if (allOf(decimal, isDecDigit))
        return parseDigits(decimal, 10);
    return std::nullopt;
}

// A word too long to show whole (a paste of one run of digits) is cut; words are ASCII.
Problem wordProblem(ProblemKind kind, const Word& word, std::string_view sign = {}) {
    std::string shown = std::string(sign) + word.text;
    if (shown.size() > kMaxShownWord)
        shown = shown.substr(0, kMaxShownWord) + "…";
    return Problem{.kind = kind, .value = shown, .line = word.line};
}

} // namespace

Result<std::vector<std::uint8_t>> parsePastedBytes(std::string_view text) {
    if (text.size() > kMaxPasteText)
        return Problem{.kind = ProblemKind::PasteTooLong, .number = static_cast<long long>(kMaxPasteText)};
    bool sawBrace = false;
    const auto split = splitWords(text, sawBrace);
    if (!split)
        return split.problem();
    const std::vector<Word>& words = *split;
    std::vector<std::uint8_t> bytes;

    const bool code = sawBrace || std::any_of(words.begin(), words.end(), [](const Word& w) {
                          return (w.dollar && allOf(w.text, isHex)) || isMarkedNumber(lower(w.text));
                      });

    for (const Word& word : words) {
        const std::string w = lower(word.text);
        if (code) {
            if (sawBrace && !word.inBraces)
                continue;
            const bool dollarHex = word.dollar && allOf(w, isHex);
            if (!isDecDigit(w[0]) && !dollarHex)
                continue; // a name
            const auto value = dollarHex ? parseDigits(w, 16) : codeNumber(w);
            if (!value)
                return wordProblem(ProblemKind::PasteNotAByte, word);
            if (word.negative) {
                // A signed char table: -1 is the byte 0xFF.
                if (*value > 128)
                    return wordProblem(ProblemKind::PasteBelowMinus128, word, "-");
                bytes.push_back(static_cast<std::uint8_t>((256 - *value) & 0xFF));
                continue;
            }
            if (*value > 255)
                return wordProblem(ProblemKind::PasteAbove255, word);
            bytes.push_back(static_cast<std::uint8_t>(*value));
            continue;
        }
        if (!allOf(w, isHex) || ((w == "db" || w == "dw") && word.firstOnLine))
            continue; // a name or the directive
        if (w.size() % 2 != 0)
            return wordProblem(ProblemKind::PasteOddHexDigits, word);
        for (std::size_t k = 0; k < w.size(); k += 2)
            bytes.push_back(static_cast<std::uint8_t>(*parseDigits(w.substr(k, 2), 16)));
    }
    if (bytes.empty())
        return Problem{.kind = ProblemKind::PasteNoBytes};
    if (bytes.size() > kMaxPastedBytes)
        return Problem{.kind = ProblemKind::PasteTooManyBytes, .number = static_cast<long long>(kMaxPastedBytes)};
    return bytes;
}

} // namespace hz
