#include "core/scan/source_scan.h"

#include "core/system/regular_file.h"
#include "core/system/unique_fd.h"
#include "core/text/codepage.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace hz {

namespace {

constexpr std::size_t kChunk = 1 << 16;
// How much of one literal is kept for reading it again as code page 936.
constexpr std::size_t kMaxHeld = 1 << 20;
// A raw string's delimiter is at most 16 characters.
constexpr std::size_t kMaxDelimiter = 16;

bool isIdentByte(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80;
}

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

int hexValue(int c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isCp936Lead(int c) {
    return c >= 0x81 && c <= 0xFE;
}

bool isCp936Trail(int c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// Code page 936 by table: a file of such literals would otherwise cost a conversion a character.
char32_t cp936At(int lead, int trail) {
    static const std::vector<char32_t> table = [] {
        std::vector<char32_t> t(0x7F * 0xBF, 0);
        for (int l = 0x81; l <= 0xFE; ++l)
            for (int r = 0x40; r <= 0xFE; ++r)
                if (auto c = cp936Character(static_cast<std::uint16_t>(l << 8 | r)))
                    t[static_cast<std::size_t>((l - 0x81) * 0xBF + (r - 0x40))] = *c;
        return t;
    }();
    return table[static_cast<std::size_t>((lead - 0x81) * 0xBF + (trail - 0x40))];
}

// The characters of one reading of a literal, each once. Sorted now and then so that a long
// literal of few characters stays small.
class CharacterSet {
public:
    void add(char32_t c) {
        chars.push_back(c);
        if (chars.size() >= compactAt) {
            compact();
            compactAt = chars.size() * 2 + 1024;
        }
    }
    std::u32string take() {
        compact();
        compactAt = 1024;
        return std::move(chars);
    }
    void clear() {
        chars.clear();
        compactAt = 1024;
    }

private:
    void compact() {
        std::sort(chars.begin(), chars.end());
        chars.erase(std::unique(chars.begin(), chars.end()), chars.end());
    }
    std::u32string chars;
    std::size_t compactAt = 1024;
};

// One reading of a literal's bytes, UTF-8 or code page 936, a byte at a time.
class Reading {
public:
    Reading(bool cp936, bool ascii) : cp936(cp936), ascii(ascii) {}

    void reset() {
        valid = true;
        need = 0;
        lead = 0;
        set.clear();
    }
    void byte(int b) {
        if (cp936)
            cp936Byte(b);
        else
            utf8Byte(b);
    }
    // A character made by an escape: it ends any code the bytes before it began.
    void character(char32_t c) {
        if (need != 0 || lead != 0)
            valid = false;
        take(c);
    }
    bool finish() {
        if (need != 0 || lead != 0)
            valid = false;
        return valid;
    }
    bool ok() const { return valid; }
    std::u32string characters() { return set.take(); }

private:
    void take(char32_t c) {
        if (c >= 0xA0 || (ascii && c >= 0x20 && c <= 0x7E))
            set.add(c);
    }

    void utf8Byte(int b) {
        if (need == 0) {
            if (b < 0x80) {
                take(static_cast<char32_t>(b));
                return;
            }
            length = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
            if (length == 0) {
                valid = false;
                return;
            }
            need = length - 1;
            code = static_cast<char32_t>(b & (0x7F >> length));
            return;
        }
        if ((b & 0xC0) != 0x80) {
            valid = false;
            need = 0;
            return;
        }
        code = code << 6 | static_cast<char32_t>(b & 0x3F);
        if (--need != 0)
            return;
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            valid = false;
        else
            take(code);
    }

    void cp936Byte(int b) {
        if (lead != 0) {
            const char32_t c = isCp936Trail(b) ? cp936At(lead, b) : 0;
            lead = 0;
            if (c == 0)
                valid = false;
            else
                take(c);
        } else if (b < 0x80) {
            take(static_cast<char32_t>(b));
        } else if (isCp936Lead(b)) {
            lead = b;
        } else {
            valid = false;
        }
    }

    bool cp936;
    bool ascii;
    bool valid = true;
    int need = 0; // UTF-8 continuation bytes still to come
    int length = 0;
    char32_t code = 0;
    int lead = 0; // a code page 936 lead byte waiting for its trail
    CharacterSet set;
};

// The source's bytes with a few bytes of look-ahead, line counting, and the bytes of the current
// literal kept so that it can be read again.
class ByteReader {
public:
    explicit ByteReader(const SourceRead& read) : read(read) {}

    int peek(std::size_t ahead = 0) {
        if (!fill(ahead + 1))
            return -1;
        return static_cast<unsigned char>(buffer[pos + ahead]);
    }
    int get() {
        const int c = peek();
        if (c < 0)
            return c;
        ++pos;
        if (c == '\n')
            ++lineNumber;
        if (holding) {
            held.push_back(static_cast<char>(c));
            if (held.size() > kMaxHeld)
                holding = false;
        }
        return c;
    }
    int line() const { return lineNumber; }
    int readError() const { return failure; }

    void hold() {
        held.clear();
        holding = true;
        heldLine = lineNumber;
    }
    void release() { holding = false; }
    bool holdsAll() const { return holding; }
    // Back to where hold() was called.
    void rewind() {
        buffer.erase(0, pos);
        buffer.insert(0, held);
        pos = 0;
        lineNumber = heldLine;
        holding = false;
    }

private:
    bool fill(std::size_t n) {
        while (buffer.size() - pos < n) {
            if (ended)
                return false;
            buffer.erase(0, pos);
            pos = 0;
            const std::size_t old = buffer.size();
            buffer.resize(old + kChunk);
            const long got = read(buffer.data() + old, kChunk);
            buffer.resize(old + static_cast<std::size_t>(std::max(got, 0L)));
            if (got <= 0) {
                ended = true;
                if (got < 0)
                    failure = errno ? errno : EIO;
            }
        }
        return true;
    }

    const SourceRead& read;
    std::string buffer;
    std::size_t pos = 0;
    bool ended = false;
    int failure = 0;
    int lineNumber = 1;
    std::string held;
    bool holding = false;
    int heldLine = 1;
};

enum class Width { Narrow, Wide16, Wide32 };

class LiteralScanner {
public:
    LiteralScanner(const SourceRead& read, bool cplusplus, bool ascii,
                   const std::function<void(const LiteralFound&)>& found)
        : r(read), cplusplus(cplusplus), utf8(false, ascii), cp936(true, ascii), found(found) {}

    int run() {
        if (r.peek(0) == 0xEF && r.peek(1) == 0xBB && r.peek(2) == 0xBF)
            r.get(), r.get(), r.get();
        bool lineStart = true;
        for (int c = r.peek(); c >= 0; c = r.peek()) {
            if (c == '\n') {
                r.get();
                lineStart = true;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                r.get();
                continue;
            }
            if (c == '/' && r.peek(1) == '/')
                lineComment();
            else if (c == '/' && r.peek(1) == '*')
                blockComment();
            else if (c == '#' && lineStart)
                directive();
            else if (c == '"')
                r.get(), string(Width::Narrow);
            else if (c == '\'')
                r.get(), skipCharacterLiteral();
            else if (isDigit(c) || (c == '.' && isDigit(r.peek(1))))
                number();
            else if (isIdentByte(c))
                word();
            else
                r.get();
            lineStart = false;
        }
        return r.readError();
    }

private:
    // A backslash at the end of a line carries the comment on to the next, unless it is the second
    // byte of a code page 936 character (a byte that no UTF-8 character ends with comes before it).
    void lineComment() {
        int before = 0;
        for (int c = r.peek(); c >= 0 && c != '\n'; c = r.peek()) {
            r.get();
            if (c == '\\' && before < 0xC0 && (r.peek() == '\n' || (r.peek() == '\r' && r.peek(1) == '\n'))) {
                if (r.get() == '\r')
                    r.get();
                before = 0;
                continue;
            }
            before = c;
        }
    }

    void blockComment() {
        r.get(), r.get();
        for (int c = r.get(); c >= 0; c = r.get())
            if (c == '*' && r.peek() == '/') {
                r.get();
                return;
            }
    }

    // #include "name" and #import: a file name, not a text.
    void directive() {
        r.get();
        std::size_t j = 0;
        while (r.peek(j) == ' ' || r.peek(j) == '\t')
            ++j;
        std::string name;
        while (name.size() < 16 && isIdentByte(r.peek(j + name.size())))
            name.push_back(static_cast<char>(r.peek(j + name.size())));
        if (name == "include" || name == "include_next" || name == "import")
            while (r.peek() >= 0 && r.peek() != '\n')
                r.get();
        // Otherwise the rest of the line is ordinary code: #define MSG "..." holds a text.
    }

    // A preprocessing number, digit separators and exponent signs included, so that the ' of
    // 1'000 does not open a character literal.
    void number() {
        int last = r.get();
        for (int c = r.peek(); c >= 0; c = r.peek()) {
            if ((c == '+' || c == '-') && (last == 'e' || last == 'E' || last == 'p' || last == 'P'))
                last = r.get();
            else if (c == '\'' && isIdentByte(r.peek(1)))
                r.get(), last = r.get();
            else if (isIdentByte(c) || c == '.')
                last = r.get();
            else
                break;
        }
    }

    void word() {
        std::string w;
        while (isIdentByte(r.peek())) {
            const int c = r.get();
            if (w.size() < 4)
                w.push_back(static_cast<char>(c));
            else
                w = "long"; // longer than any prefix
        }
        const int next = r.peek();
        const bool charPrefix = w == "u8" || w == "u" || w == "U" || w == "L";
        const bool rawPrefix = w == "R" || w == "u8R" || w == "uR" || w == "UR" || w == "LR";
        const Width width = w.starts_with("u8")                        ? Width::Narrow
                            : w.starts_with("u")                       ? Width::Wide16
                            : w.starts_with("U") || w.starts_with("L") ? Width::Wide32
                                                                       : Width::Narrow;
        if (next == '"' && charPrefix)
            r.get(), string(width);
        else if (next == '\'' && charPrefix)
            r.get(), skipCharacterLiteral();
        else if (next == '"' && rawPrefix && cplusplus)
            r.get(), raw(width);
        // Anything else: a name; a quote after it is read by the main loop as it comes.
    }

    // '...': skipped; it ends at its quote or the end of the line.
    void skipCharacterLiteral() {
        for (int c = r.peek(); c >= 0 && c != '\n'; c = r.peek()) {
            r.get();
            if (c == '\'')
                return;
            if (c == '\\' && r.peek() >= 0)
                r.get();
        }
    }

    // "...", after its opening quote: read as UTF-8 while that holds, else read again from the start
    // as code page 936, where the second byte of a character may be a backslash.
    void string(Width width) {
        const int line = r.line();
        r.hold();
        utf8.reset();
        stringBody(width, utf8, false);
        if (utf8.finish()) {
            r.release();
            report(line, LiteralEncoding::Utf8, utf8);
            return;
        }
        if (!r.holdsAll()) {
            report(line, LiteralEncoding::Neither, utf8);
            return;
        }
        r.rewind();
        cp936.reset();
        stringBody(width, cp936, true);
        report(line, cp936.finish() ? LiteralEncoding::Cp936 : LiteralEncoding::Neither, cp936);
    }

    // To after the closing quote, or to the end of the line for a literal left open.
    void stringBody(Width width, Reading& reading, bool pairs) {
        for (int c = r.peek(); c >= 0 && c != '\n'; c = r.peek()) {
            r.get();
            if (c == '"')
                return;
            if (pairs && isCp936Lead(c) && isCp936Trail(r.peek())) {
                reading.byte(c);
                reading.byte(r.get());
            } else if (c == '\\') {
                escape(width, reading);
            } else {
                reading.byte(c);
            }
        }
    }

    void escape(Width width, Reading& reading) {
        const int e = r.peek();
        if (e == '\n' || (e == '\r' && r.peek(1) == '\n')) {
            r.get(); // a spliced line
            if (e == '\r')
                r.get();
        } else if (e == 'u' || e == 'U') {
            r.get();
            const int digits = e == 'u' ? 4 : 8;
            char32_t value = 0;
            int n = 0;
            for (; n < digits && hexValue(r.peek()) >= 0; ++n)
                value = value * 16 + static_cast<char32_t>(hexValue(r.get()));
            if (n == digits && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
                reading.character(value);
        } else if (e == '"' || e == '\'' || e == '\\' || e == '?') {
            reading.character(static_cast<char32_t>(r.get()));
        } else if (e == 'x' || (e >= '0' && e <= '7')) {
            // \x has any number of digits, an octal escape up to three.
            const bool hex = e == 'x';
            if (hex)
                r.get();
            std::uint64_t value = 0;
            int n = 0;
            for (; hex ? hexValue(r.peek()) >= 0 : (n < 3 && r.peek() >= '0' && r.peek() <= '7'); ++n)
                value = std::min<std::uint64_t>(value * (hex ? 16 : 8) + static_cast<unsigned>(hexValue(r.get())),
                                                0xFFFFFFFF);
            // A byte above 0x7F in a narrow string is part of a code of unknown encoding.
            const std::uint64_t limit = width == Width::Narrow ? 0x7F : width == Width::Wide16 ? 0xFFFF : 0x10FFFF;
            if (n > 0 && value <= limit && (value < 0xD800 || value > 0xDFFF))
                reading.character(static_cast<char32_t>(value));
        } else if (e >= 0 && e < 0x80) {
            r.get(); // \n, \t and the like: control characters, never taken
        }
        // A backslash before a byte above 0x7F stands for nothing: the character is read as it is.
    }

    // R"delim( ... )delim": everything inside is the text, escapes and all. Both readings go
    // along, as the end is the same for both.
    void raw(Width width) {
        std::string close = ")";
        std::size_t k = 0;
        for (; k <= kMaxDelimiter; ++k) {
            const int c = r.peek(k);
            if (c == '(')
                break;
            const bool dchar = c > 0x20 && c < 0x7F && c != ')' && c != '\\' && c != '"';
            if (!dchar || k == kMaxDelimiter) {
                string(width); // no valid delimiter: read it as an ordinary string
                return;
            }
            close.push_back(static_cast<char>(c));
        }
        close.push_back('"');
        for (std::size_t n = 0; n <= k; ++n)
            r.get();
        const int line = r.line();
        utf8.reset();
        cp936.reset();
        // The last bytes wait until they are known not to be the closing )delim".
        std::string pending;
        for (int c = r.get(); c >= 0; c = r.get()) {
            pending.push_back(static_cast<char>(c));
            if (pending.size() == close.size() && pending == close) {
                pending.clear();
                break;
            }
            if (pending.size() == close.size()) {
                const int b = static_cast<unsigned char>(pending.front());
                utf8.byte(b);
                cp936.byte(b);
                pending.erase(0, 1);
            }
        }
        for (char c : pending) {
            utf8.byte(static_cast<unsigned char>(c));
            cp936.byte(static_cast<unsigned char>(c));
        }
        if (utf8.finish())
            report(line, LiteralEncoding::Utf8, utf8);
        else
            report(line, cp936.finish() ? LiteralEncoding::Cp936 : LiteralEncoding::Neither, cp936);
    }

    void report(int line, LiteralEncoding encoding, Reading& reading) {
        LiteralFound literal{line, encoding, reading.characters()};
        if (encoding == LiteralEncoding::Neither)
            literal.characters.clear();
        if (!literal.characters.empty() || encoding != LiteralEncoding::Utf8)
            found(literal);
    }

    ByteReader r;
    bool cplusplus;
    Reading utf8;
    Reading cp936;
    const std::function<void(const LiteralFound&)>& found;
};

std::string lowerExtension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return ext;
}

Problem pathProblem(ProblemKind kind, const std::filesystem::path& path, int error = 0) {
    Problem problem{kind};
    problem.file = path.string();
    problem.systemError = error;
    return problem;
}

class SourceScan {
public:
    explicit SourceScan(bool ascii) : ascii(ascii) {}

    // A regular file, opened without waiting, so that a pipe is refused rather than waited on.
    std::optional<Problem> scanFile(const std::filesystem::path& path) {
        auto opened = openRegularFile(path.string());
        if (!opened)
            return opened.problem().kind == ProblemKind::NotAFile
                       ? pathProblem(ProblemKind::ScanNotAFile, path)
                       : pathProblem(ProblemKind::ScanPathUnreadable, path, opened.problem().systemError);
        const UniqueFd fd = std::move(opened->fd);
        const std::size_t index = result.files.size();
        result.files.push_back({path});
        std::set<char32_t> own;
        const SourceRead read = [&](char* into, std::size_t room) -> long {
            for (;;) {
                const ssize_t n = ::read(fd.get(), into, room);
                if (n >= 0 || errno != EINTR)
                    return static_cast<long>(n);
            }
        };
        const int error = scanLiterals(read, lowerExtension(path) != ".c", ascii, [&](const LiteralFound& literal) {
            if (literal.encoding != LiteralEncoding::Utf8) {
                Problem note =
                    pathProblem(literal.encoding == LiteralEncoding::Cp936 ? ProblemKind::ScanLiteralCp936
                                                                           : ProblemKind::ScanLiteralUnreadable,
                                path);
                note.line = literal.line;
                result.literals.push_back(std::move(note));
            }
            if (literal.encoding == LiteralEncoding::Cp936)
                ++result.files[index].cp936Literals;
            if (literal.encoding == LiteralEncoding::Neither)
                ++result.unreadableLiterals;
            for (char32_t c : literal.characters) {
                own.insert(c);
                all.emplace(c, ScanPlace{index, literal.line});
            }
        });
        if (error != 0)
            return pathProblem(ProblemKind::ScanPathUnreadable, path, error);
        result.files[index].characters = own.size();
        return std::nullopt;
    }

    // Every source file under folder, in sorted order; any entry that cannot be looked at fails.
    std::optional<Problem> findSources(const std::filesystem::path& folder, std::vector<std::filesystem::path>& files) {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::directory_iterator it(folder, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            const fs::path& path = it->path();
            std::error_code typeError;
            const fs::file_status own = it->symlink_status(typeError);
            if (typeError)
                return pathProblem(ProblemKind::ScanPathUnreadable, path, typeError.value());
            // Links to folders are not followed, as a search of a tree should not leave it.
            if (fs::is_directory(own)) {
                if (auto problem = findSources(path, files))
                    return problem;
                continue;
            }
            if (!isSourceFile(path))
                continue;
            // A source whose link leads nowhere or round in a loop cannot be read.
            if (fs::is_symlink(own)) {
                const fs::file_status target = fs::status(path, typeError);
                if (typeError)
                    return pathProblem(ProblemKind::ScanPathUnreadable, path, typeError.value());
                if (fs::is_directory(target))
                    continue;
            }
            files.push_back(path);
        }
        if (ec)
            return pathProblem(ProblemKind::ScanFolderUnreadable, folder, ec.value());
        return std::nullopt;
    }

    ScanResult finish() {
        for (const auto& [c, place] : all) {
            result.characters.push_back(c);
            result.places.push_back(place);
        }
        return std::move(result);
    }

private:
    bool ascii;
    ScanResult result;
    std::map<char32_t, ScanPlace> all;
};

} // namespace

int scanLiterals(const SourceRead& read, bool cplusplus, bool ascii,
                 const std::function<void(const LiteralFound&)>& found) {
    return LiteralScanner(read, cplusplus, ascii, found).run();
}

bool isSourceFile(const std::filesystem::path& path) {
    static constexpr std::array<std::string_view, 6> kExtensions = {".c", ".h", ".cc", ".cpp", ".hpp", ".ino"};
    const std::string ext = lowerExtension(path);
    return std::find(kExtensions.begin(), kExtensions.end(), ext) != kExtensions.end();
}

Result<ScanResult> scanSources(std::span<const std::filesystem::path> paths, bool ascii) {
    namespace fs = std::filesystem;
    SourceScan scan(ascii);
    for (const fs::path& path : paths) {
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        if (ec && ec != std::errc::no_such_file_or_directory)
            return pathProblem(ProblemKind::ScanPathUnreadable, path, ec.value());
        if (!fs::exists(status))
            return pathProblem(ProblemKind::ScanPathMissing, path);
        if (!fs::is_directory(status)) {
            if (auto problem = scan.scanFile(path))
                return *problem;
            continue;
        }
        std::vector<fs::path> files;
        if (auto problem = scan.findSources(path, files))
            return *problem;
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files)
            if (auto problem = scan.scanFile(file))
                return *problem;
    }
    return scan.finish();
}

} // namespace hz
