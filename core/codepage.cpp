#include "core/codepage.h"

#include <cerrno>
#include <iconv.h>

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
Converter& toCp936FromUtf8() {
    thread_local Converter converter("CP936", "UTF-8");
    return converter;
}
Converter& fromCp936ToUtf8() {
    thread_local Converter converter("UTF-8", "CP936");
    return converter;
}

} // namespace

std::optional<std::uint16_t> cp936Code(char32_t character) {
    if (character < 0x80 || character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF))
        return std::nullopt;
    const char in[4] = {static_cast<char>(character & 0xFF), static_cast<char>((character >> 8) & 0xFF),
                        static_cast<char>((character >> 16) & 0xFF), static_cast<char>((character >> 24) & 0xFF)};
    const auto out = toCp936FromUtf32().convert(std::string_view(in, 4), 4);
    if (!out || out->size() != 2)
        return std::nullopt;
    const auto hi = static_cast<unsigned char>((*out)[0]);
    const auto lo = static_cast<unsigned char>((*out)[1]);
    if (hi < 0x80)
        return std::nullopt;
    return static_cast<std::uint16_t>(hi << 8 | lo);
}

std::optional<char32_t> cp936Character(std::uint16_t code) {
    if ((code >> 8) < 0x81)
        return std::nullopt; // not the lead byte of a double-byte code
    const char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const auto out = fromCp936ToUtf32().convert(std::string_view(in, 2), 8);
    if (!out || out->size() != 4)
        return std::nullopt;
    const auto* u = reinterpret_cast<const unsigned char*>(out->data());
    return static_cast<char32_t>(u[0] | u[1] << 8 | u[2] << 16 | static_cast<char32_t>(u[3]) << 24);
}

std::optional<std::string> utf8ToCp936(std::string_view utf8) {
    // A code page 936 character never takes more bytes than its UTF-8 form.
    return toCp936FromUtf8().convert(utf8, utf8.size());
}

std::optional<std::string> cp936ToUtf8(std::string_view cp936) {
    return fromCp936ToUtf8().convert(cp936, cp936.size() * 3 / 2 + 4);
}

} // namespace hz
