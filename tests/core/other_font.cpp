#include "other_font.h"

#include "library_files.h"

#include "core/library/glyph_reader.h"
#include "core/text/codepage.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>

namespace hz::test {

std::string programDir() {
    return HZDOT_BIN_DIR;
}

const std::string& otherFontLibrary(int size) {
    static std::unique_ptr<TempDir> dir;
    static std::map<int, std::string> made;
    if (auto it = made.find(size); it != made.end())
        return it->second;
    if (!dir)
        dir = std::make_unique<TempDir>();
    const std::string font = size == 12 ? std::string(HZDOT_FONT_ROOT) + "/truetype/arphic/uming.ttc --face 1"
                                        : std::string(HZDOT_FONT_ROOT) + "/truetype/wqy/wqy-microhei.ttc";
    const std::string out = dir->file("other" + std::to_string(size));
    const std::string command = std::string("'") + HZDOT_MKFONT_PATH + "' --font " + font + " --size " +
                                std::to_string(size) + " --output '" + out + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("hzdot-mkfont failed: " + command);
    return made[size] = out;
}

DotCell otherFontGlyph(int size, char32_t character) {
    const std::string bytes = readFile(otherFontLibrary(size));
    const auto code = cp936Code(character);
    const long record = code ? recordNumber(*code) : -1;
    const auto recordSize = static_cast<std::size_t>((size + 7) / 8 * size);
    if (record < 0 || (static_cast<std::size_t>(record) + 1) * recordSize > bytes.size())
        throw std::runtime_error("no glyph for the character in the test library");
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data()) + record * recordSize;
    return DotCell::fromRowBytes({data, recordSize}, size, size);
}

} // namespace hz::test
