#include "core/scan/literal_scan.h"

#include "core/text/codepage.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace hz {

namespace {

// Sources are read in pieces this big: nearly every source in one.
constexpr std::size_t kPiece = 1 << 20;
// How much of one literal is kept for reading it again as code page 936.
constexpr std::size_t kMaxHeld = 1 << 20;
// A raw string's delimiter is at most 16 characters.
constexpr std::size_t kMaxDelimiter = 16;

// What a byte can begin outside literals and comments.
enum class ByteClass : std::uint8_t { Space, Newline, Slash, Hash, Quote, Apostrophe, Digit, Dot, Ident, Other };

constexpr std::array<ByteClass, 256> kByteClasses = [] {
    std::array<ByteClass, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        ByteClass k = ByteClass::Other;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v')
            k = ByteClass::Space;
        else if (c == '\n')
            k = ByteClass::Newline;
        else if (c == '/')
            k = ByteClass::Slash;
        else if (c == '#')
            k = ByteClass::Hash;
        else if (c == '"')
            k = ByteClass::Quote;
        else if (c == '\'')
            k = ByteClass::Apostrophe;
        else if (c >= '0' && c <= '9')
            k = ByteClass::Digit;
        else if (c == '.')
            k = ByteClass::Dot;
        else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80)
            k = ByteClass::Ident;
        classes[static_cast<std::size_t>(c)] = k;
    }
    return classes;
}();

ByteClass classOf(int c) {
    return kByteClasses[static_cast<unsigned char>(c)];
}

bool isIdentByte(int c) {
    const ByteClass k = classOf(c);
    return c >= 0 && (k == ByteClass::Ident || k == ByteClass::Digit);
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
    // Into out, which keeps its memory for the next literal, as this set keeps its own.
    void take(std::u32string& out) {
        compact();
        compactAt = 1024;
        out.assign(chars);
        chars.clear();
    }
    void clear() {
        chars.clear();
        compactAt = 1024;
    }

private:
    void compact() {
        if (chars.size() < 2)
            return;
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
    // Whether no character is half read.
    bool between() const { return need == 0 && lead == 0; }
    // Whether a byte of printable ASCII would change nothing now.
    bool passesAscii() const { return !ascii && between(); }
    // A whole, valid UTF-8 sequence decoded by the caller: as if its bytes had come one by one.
    void decoded(char32_t c) { take(c); }
    void characters(std::u32string& out) { set.take(out); }

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

// The source's bytes with look-ahead and line counting. The source is read in large pieces (a
// whole file at once, as a rule) and its bytes taken from memory; the bytes of the current literal
// stay there, up to kMaxHeld, so that it can be read again from its start.
class ByteReader {
public:
    explicit ByteReader(const SourceRead& read) : read(read) {}

    int peek(std::size_t ahead = 0) {
        if (ahead < end - pos) [[likely]]
            return static_cast<unsigned char>(buffer[pos + ahead]);
        return fill(ahead + 1) ? static_cast<unsigned char>(buffer[pos + ahead]) : -1;
    }
    int get() {
        const int c = peek();
        if (c >= 0) {
            ++pos;
            if (c == '\n')
                ++lineNumber;
        }
        return c;
    }
    // The bytes in memory from the current one on; empty only at the end of the source.
    std::string_view available() {
        if (pos == end)
            fill(1);
        return {buffer.get() + pos, end - pos};
    }
    // Moves past the first n bytes of available(), which hold newlines line breaks.
    void skip(std::size_t n, std::ptrdiff_t newlines) {
        pos += n;
        lineNumber += static_cast<int>(newlines);
    }
    int line() const { return lineNumber; }
    int readError() const { return failure; }

    void hold() {
        holdStart = pos;
        holding = true;
        heldLine = lineNumber;
    }
    void release() { holding = false; }
    bool holdsAll() const { return holding && pos - holdStart <= kMaxHeld; }
    // Back to where hold() was called.
    void rewind() {
        pos = holdStart;
        lineNumber = heldLine;
        holding = false;
    }

private:
    [[gnu::noinline]] bool fill(std::size_t n) {
        while (end - pos < n) {
            if (ended)
                return false;
            // Bytes before the current one are dropped, but for those of a literal still held.
            if (!holdsAll())
                holding = false;
            const std::size_t keep = holding ? holdStart : pos;
            if (keep > 0) {
                std::memmove(buffer.get(), buffer.get() + keep, end - keep);
                end -= keep;
                pos -= keep;
                holdStart -= holding ? keep : holdStart;
            }
            if (capacity - end < kPiece / 2) {
                const std::size_t grown = std::max(capacity * 2, end + kPiece);
                auto bigger = std::make_unique_for_overwrite<char[]>(grown);
                if (end > 0)
                    std::memcpy(bigger.get(), buffer.get(), end);
                buffer = std::move(bigger);
                capacity = grown;
            }
            const long got = read(buffer.get() + end, capacity - end);
            if (got > 0)
                end += static_cast<std::size_t>(got);
            if (got <= 0) {
                ended = true;
                if (got < 0)
                    failure = errno ? errno : EIO;
            }
        }
        return true;
    }

    const SourceRead& read;
    std::unique_ptr<char[]> buffer;
    std::size_t capacity = 0;
    std::size_t end = 0; // bytes in buffer
    std::size_t pos = 0; // the current byte
    bool ended = false;
    int failure = 0;
    int lineNumber = 1;
    bool holding = false;
    std::size_t holdStart = 0;
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
        for (std::string_view bytes = r.available(); !bytes.empty(); bytes = r.available()) {
            // Runs of spaces and of bytes that begin nothing are passed over in memory.
            std::size_t n = 0;
            for (; n < bytes.size(); ++n) {
                const ByteClass k = classOf(bytes[n]);
                if (k == ByteClass::Other) {
                    lineStart = false;
                } else if (k == ByteClass::Ident) {
                    // A name that cannot be a literal's prefix: longer than three bytes, or not
                    // followed by a quote.
                    std::size_t e = n + 1;
                    while (e < bytes.size() && isIdentByte(static_cast<unsigned char>(bytes[e])))
                        ++e;
                    if (e == bytes.size() || (e - n <= 3 && (bytes[e] == '"' || bytes[e] == '\'')))
                        break;
                    lineStart = false;
                    n = e - 1;
                } else if (k != ByteClass::Space) {
                    break;
                }
            }
            if (n > 0) {
                r.skip(n, 0);
                continue;
            }
            const int c = static_cast<unsigned char>(bytes.front());
            switch (classOf(c)) {
            case ByteClass::Newline:
                r.get();
                lineStart = true;
                continue;
            case ByteClass::Slash:
                if (r.peek(1) == '/')
                    lineComment();
                else if (r.peek(1) == '*')
                    blockComment();
                else
                    r.get();
                break;
            case ByteClass::Hash:
                if (lineStart)
                    directive();
                else
                    r.get();
                break;
            case ByteClass::Quote:
                r.get(), string(Width::Narrow);
                break;
            case ByteClass::Apostrophe:
                r.get(), skipCharacterLiteral();
                break;
            case ByteClass::Digit:
                number();
                break;
            case ByteClass::Dot:
                if (isDigit(r.peek(1)))
                    number();
                else
                    r.get();
                break;
            case ByteClass::Ident:
                word();
                break;
            default:
                r.get();
            }
            lineStart = false;
        }
        return r.readError();
    }

private:
    // A backslash at the end of a line carries the comment on to the next, unless it is the second
    // byte of a code page 936 character (a byte that no UTF-8 character ends with comes before it).
    // The comment ends before the first line break that does not.
    void lineComment() {
        int last = 0, second = 0, third = 0; // the bytes before the current one, the last first
        for (std::string_view bytes = r.available(); !bytes.empty(); bytes = r.available()) {
            const auto* newline = static_cast<const char*>(std::memchr(bytes.data(), '\n', bytes.size()));
            const std::size_t n = newline ? static_cast<std::size_t>(newline - bytes.data()) : bytes.size();
            for (std::size_t k = n > 3 ? n - 3 : 0; k < n; ++k) {
                third = second;
                second = last;
                last = static_cast<unsigned char>(bytes[k]);
            }
            r.skip(n, 0);
            if (!newline)
                continue;
            const bool splice = (last == '\\' && second < 0xC0) || (last == '\r' && second == '\\' && third < 0xC0);
            if (!splice)
                return;
            r.get();
            third = second;
            second = last;
            last = '\n';
        }
    }

    void blockComment() {
        r.get(), r.get();
        for (std::string_view bytes = r.available(); !bytes.empty(); bytes = r.available()) {
            const auto* star = static_cast<const char*>(std::memchr(bytes.data(), '*', bytes.size()));
            const std::size_t n = star ? static_cast<std::size_t>(star - bytes.data()) : bytes.size();
            r.skip(n, std::count(bytes.data(), bytes.data() + n, '\n'));
            if (!star)
                continue;
            r.get();
            if (r.peek() == '/') {
                r.get();
                return;
            }
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
        // Only a word of three bytes or fewer can be a prefix; the first four are kept.
        char first[4];
        std::size_t length = 0;
        for (std::string_view bytes = r.available(); !bytes.empty(); bytes = r.available()) {
            std::size_t n = 0;
            for (; n < bytes.size() && isIdentByte(static_cast<unsigned char>(bytes[n])); ++n)
                if (length + n < sizeof first)
                    first[length + n] = bytes[n];
            r.skip(n, 0);
            length += n;
            if (n < bytes.size())
                break;
        }
        const std::string_view w = length <= 3 ? std::string_view(first, length) : std::string_view("long");
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
            if (reading.passesAscii() && c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
                // A run of such bytes is passed over in memory.
                const std::string_view bytes = r.available();
                std::size_t n = 1;
                while (n < bytes.size() && bytes[n] >= 0x20 && bytes[n] < 0x7F && bytes[n] != '"' && bytes[n] != '\\')
                    ++n;
                r.skip(n, 0);
                continue;
            }
            if (!pairs && c >= 0xE0 && c <= 0xEF && reading.between()) {
                // A hanzi, the usual character of a literal, decoded in one step when it is whole.
                const std::string_view bytes = r.available();
                if (bytes.size() >= 3) {
                    const int b1 = static_cast<unsigned char>(bytes[1]);
                    const int b2 = static_cast<unsigned char>(bytes[2]);
                    const auto code = static_cast<char32_t>((c & 0x0F) << 12 | (b1 & 0x3F) << 6 | (b2 & 0x3F));
                    if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && code >= 0x800 &&
                        (code < 0xD800 || code > 0xDFFF)) {
                        r.skip(3, 0);
                        reading.decoded(code);
                        continue;
                    }
                }
            }
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
        literal.line = line;
        literal.encoding = encoding;
        reading.characters(literal.characters);
        if (encoding == LiteralEncoding::Neither)
            literal.characters.clear();
        if (!literal.characters.empty() || encoding != LiteralEncoding::Utf8)
            found(literal);
    }

    ByteReader r;
    LiteralFound literal; // one for every literal, so that its memory serves them all
    bool cplusplus;
    Reading utf8;
    Reading cp936;
    const std::function<void(const LiteralFound&)>& found;
};

} // namespace

int scanLiterals(const SourceRead& read, bool cplusplus, bool ascii,
                 const std::function<void(const LiteralFound&)>& found) {
    return LiteralScanner(read, cplusplus, ascii, found).run();
}

} // namespace hz
