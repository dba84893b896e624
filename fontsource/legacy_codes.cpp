#include "fontsource/legacy_codes.h"

#include <iconv.h>

#include <memory>
#include <type_traits>

namespace hz::fontsource {

namespace {

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

IconvHandle openIconv(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    return IconvHandle(cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd);
}

// Converts `in` completely; the number of bytes written, or nothing on any failure.
std::optional<std::size_t> convert(iconv_t cd, const unsigned char* in, std::size_t inSize, unsigned char* out,
                                   std::size_t outSize) {
    char* inPtr = const_cast<char*>(reinterpret_cast<const char*>(in));
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = inSize;
    std::size_t outLeft = outSize;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    return outSize - outLeft;
}

} // namespace

std::optional<std::uint16_t> big5Code(char32_t character) {
    // One converter per thread: a conversion keeps state in it, and glyphs are drawn on several.
    thread_local const IconvHandle converter = openIconv("BIG5", "UTF-32LE");
    if (!converter)
        return std::nullopt;
    const unsigned char in[4] = {static_cast<unsigned char>(character), static_cast<unsigned char>(character >> 8),
                                 static_cast<unsigned char>(character >> 16),
                                 static_cast<unsigned char>(character >> 24)};
    unsigned char out[4] = {};
    if (convert(converter.get(), in, sizeof in, out, sizeof out) != std::size_t{2})
        return std::nullopt;
    return static_cast<std::uint16_t>(out[0] << 8 | out[1]);
}

bool gb2312Assigns(std::uint16_t code) {
    // One converter per thread: a conversion keeps state in it, and glyphs are drawn on several.
    thread_local const IconvHandle converter = openIconv("UTF-32LE", "GB2312");
    if (!converter)
        return false;
    const unsigned char in[2] = {static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code)};
    unsigned char out[8] = {};
    return convert(converter.get(), in, sizeof in, out, sizeof out) == std::size_t{4};
}

} // namespace hz::fontsource
