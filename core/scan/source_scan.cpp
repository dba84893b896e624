#include "core/scan/source_scan.h"

#include "core/text/codepage.h"
#include "core/text/utf8.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

namespace hz {

namespace {

bool isIdentChar(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80;
}

bool isDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

int hexValue(char32_t c) {
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

class LiteralScanner {
public:
    LiteralScanner(std::u32string_view source, bool cplusplus, bool ascii)
        : s(source), cplusplus(cplusplus), ascii(ascii) {}

    std::u32string run() {
        bool lineStart = true;
        while (i < s.size()) {
            const char32_t c = s[i];
            if (c == '\n') {
                lineStart = true;
                ++i;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++i;
            } else if (c == '/' && peek(1) == '/') {
                lineComment();
            } else if (c == '/' && peek(1) == '*') {
                const std::size_t end = s.find(U"*/", i + 2);
                i = end == std::u32string_view::npos ? s.size() : end + 2;
                lineStart = false;
            } else if (c == '#' && lineStart) {
                directive();
                lineStart = false;
            } else if (c == '"') {
                ++i;
                quoted('"', true);
                lineStart = false;
            } else if (c == '\'') {
                ++i;
                quoted('\'', false);
                lineStart = false;
            } else if (isDigit(c) || (c == '.' && isDigit(peek(1)))) {
                number();
                lineStart = false;
            } else if (isIdentChar(c)) {
                word();
                lineStart = false;
            } else {
                ++i;
                lineStart = false;
            }
        }
        return taken;
    }

private:
    char32_t peek(std::size_t ahead) const { return i + ahead < s.size() ? s[i + ahead] : 0; }

    void take(char32_t c) {
        if (c >= 0xA0 || (ascii && c >= 0x20 && c <= 0x7E))
            taken.push_back(c);
    }

    void lineComment() {
        // A backslash at the end of a line carries the comment on to the next.
        while (i < s.size() && s[i] != '\n') {
            if (s[i] == '\\' && (peek(1) == '\n' || (peek(1) == '\r' && peek(2) == '\n')))
                i += peek(1) == '\r' ? 3 : 2;
            else
                ++i;
        }
    }

    // #include "name" and #import: a file name, not a text.
    void directive() {
        std::size_t j = i + 1;
        while (j < s.size() && (s[j] == ' ' || s[j] == '\t'))
            ++j;
        std::size_t k = j;
        while (k < s.size() && isIdentChar(s[k]))
            ++k;
        const std::u32string_view name = s.substr(j, k - j);
        if (name == U"include" || name == U"include_next" || name == U"import") {
            while (i < s.size() && s[i] != '\n')
                ++i;
        } else {
            i = j; // the rest of the line is ordinary code: #define MSG "..." holds a text
        }
    }

    // A preprocessing number, digit separators and exponent signs included, so that the ' of
    // 1'000 does not open a character literal.
    void number() {
        ++i;
        while (i < s.size()) {
            const char32_t c = s[i];
            if ((c == '+' || c == '-') && (s[i - 1] == 'e' || s[i - 1] == 'E' || s[i - 1] == 'p' || s[i - 1] == 'P'))
                ++i;
            else if (c == '\'' && isIdentChar(peek(1)))
                i += 2;
            else if (isIdentChar(c) || c == '.')
                ++i;
            else
                break;
        }
    }

    void word() {
        const std::size_t start = i;
        while (i < s.size() && isIdentChar(s[i]))
            ++i;
        const std::u32string_view w = s.substr(start, i - start);
        const char32_t next = peek(0);
        const bool charPrefix = w == U"u8" || w == U"u" || w == U"U" || w == U"L";
        const bool rawPrefix = w == U"R" || w == U"u8R" || w == U"uR" || w == U"UR" || w == U"LR";
        if (next == '"' && charPrefix) {
            ++i;
            quoted('"', true);
        } else if (next == '\'' && charPrefix) {
            ++i;
            quoted('\'', false);
        } else if (next == '"' && rawPrefix && cplusplus) {
            ++i;
            raw();
        }
        // Anything else: a name; a quote after it is read by the main loop as it comes.
    }

    // The body of a "..." or '...' literal, from after the opening quote to after the closing one
    // (or the end of the line, for one left open). Characters are taken from strings only.
    void quoted(char32_t quote, bool keep) {
        while (i < s.size()) {
            const char32_t c = s[i];
            if (c == quote) {
                ++i;
                return;
            }
            if (c == '\n')
                return;
            if (c != '\\') {
                if (keep)
                    take(c);
                ++i;
                continue;
            }
            const char32_t e = peek(1);
            if (e == '\n') {
                i += 2; // a spliced line
            } else if (e == '\r' && peek(2) == '\n') {
                i += 3;
            } else if (e == 'u' || e == 'U') {
                const int digits = e == 'u' ? 4 : 8;
                char32_t value = 0;
                int n = 0;
                while (n < digits && hexValue(peek(2 + static_cast<std::size_t>(n))) >= 0) {
                    value = value * 16 + static_cast<char32_t>(hexValue(peek(2 + static_cast<std::size_t>(n))));
                    ++n;
                }
                i += 2 + static_cast<std::size_t>(n);
                if (keep && n == digits && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
                    take(value);
            } else if (e == '"' || e == '\'' || e == '\\' || e == '?') {
                if (keep)
                    take(e);
                i += 2;
            } else if (e == 'x') {
                i += 2;
                while (i < s.size() && hexValue(s[i]) >= 0)
                    ++i;
            } else if (e >= '0' && e <= '7') {
                i += 2;
                for (int n = 1; n < 3 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++n)
                    ++i;
            } else {
                i += e ? 2 : 1; // \n, \t and the like: bytes, not characters
            }
        }
    }

    // R"delim( ... )delim": everything inside is the text, escapes and all.
    void raw() {
        const std::size_t open = s.find(U'(', i);
        const std::size_t limit = std::min(s.size(), i + 17);
        if (open == std::u32string_view::npos || open >= limit) {
            quoted('"', true); // no valid delimiter: read it as an ordinary string
            return;
        }
        const std::u32string close = U")" + std::u32string(s.substr(i, open - i)) + U"\"";
        const std::size_t end = s.find(close, open + 1);
        const std::size_t stop = end == std::u32string_view::npos ? s.size() : end;
        for (std::size_t k = open + 1; k < stop; ++k)
            take(s[k]);
        i = end == std::u32string_view::npos ? s.size() : end + close.size();
    }

    std::u32string_view s;
    bool cplusplus;
    bool ascii;
    std::size_t i = 0;
    std::u32string taken;
};

std::string lowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return ext;
}

void scanFile(const std::filesystem::path& path, bool ascii, std::set<char32_t>& all, ScanResult& result) {
    ScannedFile note;
    note.path = path;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        note.encoding = SourceEncoding::Unreadable;
        note.problem = std::string("cannot read it: ") + std::strerror(errno);
        result.files.push_back(std::move(note));
        return;
    }
    std::string_view text(bytes);
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    DecodedText decoded = decodeUtf8(text);
    if (decoded.error) {
        const auto utf8 = cp936ToUtf8(text);
        if (utf8)
            decoded = decodeUtf8(*utf8);
        if (!utf8 || decoded.error) {
            note.encoding = SourceEncoding::Unreadable;
            note.problem = "neither UTF-8 (bad byte at offset " + std::to_string(decodeUtf8(text).error->byteOffset) +
                           ") nor code page 936";
            result.files.push_back(std::move(note));
            return;
        }
        note.encoding = SourceEncoding::Cp936;
    }
    const std::u32string found = literalCharacters(decoded.text, lowerExtension(path) != ".c", ascii);
    const std::set<char32_t> distinct(found.begin(), found.end());
    note.characters = distinct.size();
    all.insert(distinct.begin(), distinct.end());
    result.files.push_back(std::move(note));
}

} // namespace

const char* encodingName(SourceEncoding encoding) {
    switch (encoding) {
    case SourceEncoding::Utf8:
        return "UTF-8";
    case SourceEncoding::Cp936:
        return "code page 936";
    case SourceEncoding::Unreadable:
        return "unreadable";
    }
    return "";
}

std::u32string literalCharacters(std::u32string_view source, bool cplusplus, bool ascii) {
    return LiteralScanner(source, cplusplus, ascii).run();
}

bool isSourceFile(const std::filesystem::path& path) {
    static constexpr std::array<std::string_view, 6> kExtensions = {".c", ".h", ".cc", ".cpp", ".hpp", ".ino"};
    const std::string ext = lowerExtension(path);
    return std::find(kExtensions.begin(), kExtensions.end(), ext) != kExtensions.end();
}

ScanResult scanSources(std::span<const std::filesystem::path> paths, bool ascii) {
    namespace fs = std::filesystem;
    ScanResult result;
    std::set<char32_t> all;
    for (const fs::path& path : paths) {
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        if (ec || !fs::exists(status)) {
            result.error = "no such file or folder: " + path.string();
            return result;
        }
        if (!fs::is_directory(status)) {
            scanFile(path, ascii, all, result);
            continue;
        }
        std::vector<fs::path> files;
        for (auto it = fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            std::error_code typeError;
            if (it->is_regular_file(typeError) && isSourceFile(it->path()))
                files.push_back(it->path());
        }
        if (ec) {
            result.error = "cannot search " + path.string() + ": " + ec.message();
            return result;
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files)
            scanFile(file, ascii, all, result);
    }
    result.characters.assign(all.begin(), all.end());
    return result;
}

} // namespace hz
