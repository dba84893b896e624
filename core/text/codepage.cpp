#include "core/text/codepage.h"

#include "core/text/utf8.h"
#include "gb_rows_table.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace hz {

namespace {

// One iconv descriptor per direction and thread, opened on first use: opening one costs far more
// than converting a character.
class Converter {
public:
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd != reinterpret_cast<iconv_t>(-1); }

    // Converts all of in, or returns nothing when some input has no conversion.
    std::optional<std::string> convert(std::string_view in, std::size_t sizeHint) {
        if (!valid())
            return std::nullopt;
        iconv(cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state after an earlier error
        std::string out(sizeHint + 8, '\0');
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        std::size_t done = 0;
        while (true) {
            char* outPtr = out.data() + done;
            std::size_t outLeft = out.size() - done;
            const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
            done = out.size() - outLeft;
            if (rc != static_cast<std::size_t>(-1)) {
                // Flush any shift state; none for these code pages, but cheap to be right.
                if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
                    return std::nullopt;
                done = out.size() - outLeft;
                out.resize(done);
                return out;
            }
            if (errno != E2BIG)
                return std::nullopt;
            out.resize(out.size() * 2);
        }
    }

private:
    iconv_t cd;
};

Converter& toCp936FromUtf32() {
    thread_local Converter converter("CP936", "UTF-32LE");
    return converter;
}
Converter& fromCp936ToUtf32() {
    thread_local Converter converter("UTF-32LE", "CP936");
    return converter;
}
Converter& fromCp936ToUtf8() {
    thread_local Converter converter("UTF-8", "CP936");
    return converter;
}

} // namespace

namespace {

// The codes whose two bytes are both 0xA1..0xFE, GB2312's rows and cells and the rows after them,
// both ways, from tables made at build time by iconv itself (generate/make_gb_rows.cpp): a lookup
// of any GB2312 character costs a table read rather than a call into iconv. A character two codes
// stand for is left to iconv, which then picks the code.
struct GbRows {
    static constexpr int kFirst = 0xA1;
    static constexpr int kSide = 94;

    // The character of a code in these rows: 0 for none.
    static char32_t character(std::uint16_t code) {
        const int lead = code >> 8;
        const int trail = code & 0xFF;
        if (lead < kFirst || lead >= kFirst + kSide || trail < kFirst || trail >= kFirst + kSide)
            return 0;
        return gbrows::kCharacters[static_cast<std::size_t>((lead - kFirst) * kSide + (trail - kFirst))];
    }
    // The character's code in these rows: 0 when it has none here or two.
    static std::uint16_t code(char32_t character) {
        if (character > 0xFFFF)
            return 0;
        const int page = gbrows::kPageOf[character >> 8];
        return page == 0 ? 0 : gbrows::kCodes[page - 1][character & 0xFF];
    }
};

} // namespace

namespace {

// What iconv says about one character, kept per thread for the whole Basic Multilingual Plane (the
// code page has nothing beyond it): 0 not asked yet, kNoCode, or a marker with the code's bytes.
constexpr std::uint32_t kNoCode = 1;
constexpr std::uint32_t kSingleByte = 0x10000;
constexpr std::uint32_t kDoubleByte = 0x20000;

std::uint32_t askIconv(char32_t character) {
    const char in[4] = {static_cast<char>(character & 0xFF), static_cast<char>((character >> 8) & 0xFF),
                        static_cast<char>((character >> 16) & 0xFF), static_cast<char>((character >> 24) & 0xFF)};
    const auto out = toCp936FromUtf32().convert(std::string_view(in, 4), 4);
    if (!out || out->empty() || out->size() > 2)
        return kNoCode;
    const auto first = static_cast<unsigned char>((*out)[0]);
    if (out->size() == 1)
        return kSingleByte | first;
    return kDoubleByte | static_cast<std::uint32_t>(first) << 8 | static_cast<unsigned char>((*out)[1]);
}

std::uint32_t cp936Entry(char32_t character) {
    if (character > 0xFFFF || (character >= 0xD800 && character <= 0xDFFF))
        return kNoCode;
    if (const std::uint16_t code = GbRows::code(character))
        return kDoubleByte | code;
    thread_local std::vector<std::uint32_t> memo;
    if (memo.empty())
        memo.assign(0x10000, 0);
    std::uint32_t& entry = memo[character];
    if (entry == 0)
        entry = askIconv(character);
    return entry;
}

} // namespace

std::optional<std::uint16_t> cp936Code(char32_t character) {
    if (character < 0x80)
        return std::nullopt;
    const std::uint32_t entry = cp936Entry(character);
    if (!(entry & kDoubleByte) || (entry & 0xFFFF) < 0x8000)
        return std::nullopt;
    return static_cast<std::uint16_t>(entry & 0xFFFF);
}

std::optional<char32_t> cp936Character(std::uint16_t code) {
    if ((code >> 8) < 0x81)
        return std::nullopt; // not the lead byte of a double-byte code
    if (const char32_t known = GbRows::character(code))
        return known;
    const char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const auto out = fromCp936ToUtf32().convert(std::string_view(in, 2), 8);
    if (!out || out->size() != 4)
        return std::nullopt;
    const auto* u = reinterpret_cast<const unsigned char*>(out->data());
    return static_cast<char32_t>(u[0] | u[1] << 8 | u[2] << 16 | static_cast<char32_t>(u[3]) << 24);
}

std::optional<Problem> appendCp936(std::string& out, std::string_view utf8) {
    // Export texts are mostly ASCII, which the code page keeps as it is: copy those runs whole and
    // convert only the characters between them.
    if (out.empty())
        out.reserve(utf8.size()); // an exact reserve on every append would defeat the string's growth
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t run = i;
        std::uint64_t word;
        while (run + 8 <= utf8.size() && (std::memcpy(&word, utf8.data() + run, 8), (word & 0x8080808080808080u) == 0))
            run += 8;
        while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80)
            ++run;
        out.append(utf8.data() + i, run - i);
        i = run;
        if (i == utf8.size())
            break;
        const std::size_t at = i;
        const auto character = decodeUtf8At(utf8, i);
        if (!character)
            return Problem{.kind = ProblemKind::NotUtf8, .position = at};
        const std::uint32_t entry = cp936Entry(*character);
        if (entry & kDoubleByte) {
            out += static_cast<char>((entry >> 8) & 0xFF);
            out += static_cast<char>(entry & 0xFF);
        } else if (entry & kSingleByte) {
            out += static_cast<char>(entry & 0xFF);
        } else {
            return Problem{.kind = ProblemKind::NotInCodePage,
                           .value = std::string(utf8.substr(at, i - at)),
                           .number = *character,
                           .position = at};
        }
    }
    return std::nullopt;
}

Result<std::string> utf8ToCp936(std::string_view utf8) {
    std::string out;
    if (auto problem = appendCp936(out, utf8))
        return std::move(*problem);
    return out;
}

std::optional<std::string> cp936ToUtf8(std::string_view cp936) {
    return fromCp936ToUtf8().convert(cp936, cp936.size() * 3 / 2 + 4);
}

} // namespace hz
