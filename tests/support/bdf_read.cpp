#include "bdf_read.h"

#include <sstream>
#include <stdexcept>

namespace hz::test {
namespace {

struct Bad : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::vector<int> numbers(std::istringstream& in, std::size_t count, const std::string& what) {
    std::vector<int> values(count);
    for (int& v : values)
        if (!(in >> v))
            throw Bad(what + " needs " + std::to_string(count) + " numbers");
    return values;
}

} // namespace

BdfRead readBdf(const std::string& text) {
    BdfRead out;
    std::istringstream lines(text);
    std::string line;
    int lineNo = 0;
    auto next = [&]() {
        if (!std::getline(lines, line))
            throw Bad("the text ends early");
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            throw Bad("a CR LF line end");
        return line;
    };
    try {
        if (next() != "STARTFONT 2.1")
            throw Bad("no STARTFONT 2.1 first");
        std::size_t chars = 0;
        bool sawChars = false;
        while (!sawChars) {
            std::istringstream in(next());
            std::string key;
            in >> key;
            if (key == "COMMENT") {
                continue;
            } else if (key == "FONT") {
                out.font = line.substr(5);
            } else if (key == "SIZE") {
                out.size = numbers(in, 3, "SIZE");
            } else if (key == "FONTBOUNDINGBOX") {
                out.box = numbers(in, 4, "FONTBOUNDINGBOX");
            } else if (key == "STARTPROPERTIES") {
                const int count = numbers(in, 1, "STARTPROPERTIES")[0];
                for (int i = 0; i < count; ++i) {
                    const std::string p = next();
                    const std::size_t space = p.find(' ');
                    if (space == std::string::npos)
                        throw Bad("property without a value: " + p);
                    std::string value = p.substr(space + 1);
                    if (!value.empty() && value.front() == '"') {
                        if (value.size() < 2 || value.back() != '"')
                            throw Bad("an unclosed string: " + p);
                        value = value.substr(1, value.size() - 2);
                    }
                    out.properties[p.substr(0, space)] = value;
                }
                if (next() != "ENDPROPERTIES")
                    throw Bad("the property count is not the properties'");
            } else if (key == "CHARS") {
                chars = static_cast<std::size_t>(numbers(in, 1, "CHARS")[0]);
                sawChars = true;
            } else {
                throw Bad("an unknown line: " + line);
            }
        }
        if (out.font.empty() || out.size.empty() || out.box.empty())
            throw Bad("FONT, SIZE or FONTBOUNDINGBOX missing");
        for (std::size_t i = 0; i < chars; ++i) {
            BdfReadGlyph g;
            std::istringstream start(next());
            std::string key;
            start >> key >> g.name;
            if (key != "STARTCHAR")
                throw Bad("no STARTCHAR");
            for (;;) {
                std::istringstream in(next());
                in >> key;
                if (key == "ENCODING") {
                    g.encoding = static_cast<std::uint32_t>(numbers(in, 1, key)[0]);
                } else if (key == "SWIDTH") {
                    g.swidth = numbers(in, 2, key)[0];
                } else if (key == "DWIDTH") {
                    g.dwidth = numbers(in, 2, key)[0];
                } else if (key == "BBX") {
                    const auto v = numbers(in, 4, key);
                    g.width = v[0], g.height = v[1], g.x = v[2], g.y = v[3];
                } else if (key == "BITMAP") {
                    break;
                } else {
                    throw Bad("an unknown glyph line: " + line);
                }
            }
            const std::size_t digits = static_cast<std::size_t>((g.width + 7) / 8 * 2);
            for (int r = 0; r < g.height; ++r) {
                const std::string hex = next();
                if (hex.size() != digits || hex.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
                    throw Bad("a bitmap row of " + std::to_string(hex.size()) + " characters in " + g.name);
                std::string row;
                for (int c = 0; c < g.width; ++c) {
                    const int nibble = std::stoi(hex.substr(static_cast<std::size_t>(c / 4), 1), nullptr, 16);
                    row += (nibble >> (3 - c % 4)) & 1 ? '#' : '.';
                }
                g.rows.push_back(row);
            }
            if (next() != "ENDCHAR")
                throw Bad("no ENDCHAR after " + g.name + "'s rows");
            if (!out.glyphs.emplace(g.encoding, g).second)
                throw Bad("encoding " + std::to_string(g.encoding) + " twice");
        }
        if (next() != "ENDFONT")
            throw Bad("no ENDFONT after CHARS glyphs");
        if (std::getline(lines, line))
            throw Bad("lines after ENDFONT");
    } catch (const Bad& e) {
        out.error = "line " + std::to_string(lineNo) + ": " + e.what();
    }
    return out;
}

} // namespace hz::test
