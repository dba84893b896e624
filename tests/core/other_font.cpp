#include "other_font.h"

#include "library_files.h"
#include "process.h"

#include "core/library/glyph_reader.h"
#include "core/text/codepage.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace hz::test {

std::string programDir() {
    return HZDOT_BIN_DIR;
}

const std::string& otherFontLibrary(int size) {
    static std::unique_ptr<TempFolder> dir;
    static std::map<int, std::string> made;
    if (auto it = made.find(size); it != made.end())
        return it->second;
    if (!dir)
        dir = std::make_unique<TempFolder>();
    std::vector<std::string> args{"--font"};
    if (size == 12)
        args.insert(args.end(), {std::string(HZDOT_FONT_ROOT) + "/truetype/arphic/uming.ttc", "--face", "1"});
    else
        args.push_back(std::string(HZDOT_FONT_ROOT) + "/truetype/wqy/wqy-microhei.ttc");
    const std::string out = dir->file("other" + std::to_string(size));
    args.insert(args.end(), {"--size", std::to_string(size), "--output", out});
    const ProcessResult run = runMkfont(args);
    if (run.status != 0)
        throw std::runtime_error("hzdot-mkfont failed: " + run.err);
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
