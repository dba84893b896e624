#include "core/picture/picture_record.h"

#include "core/text/utf8.h"

#include <cstdio>

namespace hz {

std::string pictureName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    std::string_view stem = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = stem.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0)
        stem = stem.substr(0, dot);

    std::string name;
    std::size_t at = 0;
    while (at < stem.size()) {
        const unsigned char c = static_cast<unsigned char>(stem[at]);
        if (c < 0x80) {
            const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
            name += word ? static_cast<char>(c) : '_';
            ++at;
            continue;
        }
        // A non-ASCII character keeps a trace of itself; a byte that is no UTF-8 is one "_".
        const std::size_t before = at;
        if (const auto character = decodeUtf8At(stem, at)) {
            char code[16];
            std::snprintf(code, sizeof code, "u%04X", static_cast<unsigned>(*character));
            name += code;
        } else {
            name += '_';
            at = before + 1;
        }
    }
    // One "_" between words and none at the ends: a header puts the name after "NAME_", and C++
    // keeps every name holding "__" for itself.
    std::string tidy;
    for (const char c : name)
        if (c != '_' || (!tidy.empty() && tidy.back() != '_'))
            tidy += c;
    while (!tidy.empty() && tidy.back() == '_')
        tidy.pop_back();
    if (tidy.empty())
        return "picture";
    if (tidy[0] >= '0' && tidy[0] <= '9')
        tidy.insert(0, "pic_");
    return tidy;
}

} // namespace hz
