#include "core/text/utf8.h"

namespace hz {

namespace {

// Length of the sequence a lead byte starts, or 0 for a byte that cannot start one.
int sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

std::optional<char32_t> decodeUtf8At(std::string_view bytes, std::size_t& offset) {
    if (offset >= bytes.size())
        return std::nullopt;
    const auto lead = static_cast<unsigned char>(bytes[offset]);
    const int length = sequenceLength(lead);
    if (length == 0 || offset + static_cast<std::size_t>(length) > bytes.size())
        return std::nullopt;
    char32_t cp = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
    if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
        return std::nullopt;
    offset += static_cast<std::size_t>(length);
    return cp;
}

DecodedText decodeUtf8(std::string_view bytes) {
    DecodedText result;
    result.text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto cp = decodeUtf8At(bytes, i);
        if (!cp) {
            result.error = Utf8Error{i};
            return result;
        }
        result.text.push_back(*cp);
    }
    return result;
}

void appendUtf8(std::string& out, char32_t cp) {
    char bytes[4];
    std::size_t n = 0;
    if (cp < 0x80) {
        bytes[n++] = static_cast<char>(cp);
    } else if (cp < 0x800) {
        bytes[n++] = static_cast<char>(0xC0 | (cp >> 6));
        bytes[n++] = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        bytes[n++] = static_cast<char>(0xE0 | (cp >> 12));
        bytes[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[n++] = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        bytes[n++] = static_cast<char>(0xF0 | ((cp >> 18) & 0x07));
        bytes[n++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        bytes[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        bytes[n++] = static_cast<char>(0x80 | (cp & 0x3F));
    }
    out.append(bytes, n);
}

std::string encodeUtf8(char32_t cp) {
    std::string out;
    appendUtf8(out, cp);
    return out;
}

std::string encodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (char32_t cp : text)
        appendUtf8(out, cp);
    return out;
}

} // namespace hz
