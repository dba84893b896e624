#include "core/text/byte_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace hz {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// Every byte's assembly field ("  3Ch", " 0E0h") and C field ("0x3C"), each followed by a comma,
// built once: the texts of a whole repertoire are made from these without any formatting per byte.
// An entry is eight bytes, the tail spare, so that a field is copied with one eight-byte store and
// the next field written over its tail.
struct FieldTables {
    std::array<std::array<char, 8>, 256> assembly{};
    std::array<std::array<char, 8>, 256> c{};
    constexpr FieldTables() {
        for (int v = 0; v < 256; ++v) {
            const char high = kDigits[v >> 4];
            const char low = kDigits[v & 0xF];
            auto& a = assembly[static_cast<std::size_t>(v)];
            a = {' ', ' ', high, low, 'h', ',', 0, 0};
            if (v >= 0xA0)
                a[1] = '0'; // a leading letter gets an extra "0"
            c[static_cast<std::size_t>(v)] = {'0', 'x', high, low, ',', 0, 0, 0};
        }
    }
};
constexpr FieldTables kFields;
// Room past a text for the spare tail of its last field.
constexpr std::size_t kSpare = 8;

// The bit group of a hex digit, or nullptr for a character that is not an upper-case hex digit.
const char* bitGroup(char digit) {
    static constexpr const char* groups[16] = {"0000", "0001", "0010", "0011", "0100", "0101", "0110", "0111",
                                               "1000", "1001", "1010", "1011", "1100", "1101", "1110", "1111"};
    if (digit >= '0' && digit <= '9')
        return groups[digit - '0'];
    if (digit >= 'A' && digit <= 'F')
        return groups[digit - 'A' + 10];
    return nullptr;
}

// The value of a four-character bit group, or -1 when it is not one.
int groupValue(std::string_view group) {
    if (group.size() != 4)
        return -1;
    int value = 0;
    for (char ch : group) {
        if (ch != '0' && ch != '1')
            return -1;
        value = value * 2 + (ch - '0');
    }
    return value;
}

// A text of its own from one of the appending writers.
std::string wholeText(void (*append)(std::string&, std::span<const std::uint8_t>),
                      std::span<const std::uint8_t> bytes) {
    std::string text;
    append(text, bytes);
    return text;
}

} // namespace

std::string DecToHex(int value) {
    if (value < 0)
        throw std::invalid_argument("DecToHex: negative value " + std::to_string(value));
    std::string result;
    int a = value;
    while (a >= 16) {
        result.insert(result.begin(), kDigits[a % 16]);
        a /= 16;
    }
    if (a >= 10) {
        result.insert(0, std::string{'0', kDigits[a]});
    } else {
        result.insert(result.begin(), static_cast<char>('0' + a));
    }
    if (result.size() == 1)
        result.insert(result.begin(), '0');
    return result;
}

std::string HexToBin(std::string_view hex) {
    std::string bits;
    for (std::size_t i = 0; i < 2 && i < hex.size(); ++i) {
        if (const char* group = bitGroup(hex[i]))
            bits += group;
    }
    return bits;
}

std::string BinToHex(std::string_view bits) {
    std::string result;
    const int first = groupValue(bits.substr(0, 4));
    if (first >= 10)
        result += std::string{'0', kDigits[first]};
    else if (first >= 0)
        result += kDigits[first];
    const int second = groupValue(bits.size() > 4 ? bits.substr(4, 4) : std::string_view{});
    if (second >= 0)
        result += kDigits[second];
    return result;
}

std::string Add0X(std::string_view byteText) {
    std::string field = "0x";
    field += byteText.size() == 3 ? byteText.substr(1) : byteText;
    return field;
}

std::string assemblyField(std::uint8_t value) {
    return std::string(kFields.assembly[value].data(), 5);
}

std::string cField(std::uint8_t value) {
    return std::string(kFields.c[value].data(), 4);
}

std::string assemblyText(std::span<const std::uint8_t> bytes) {
    return wholeText(appendAssemblyText, bytes);
}

void appendAssemblyText(std::string& text, std::span<const std::uint8_t> bytes) {
    const std::size_t n = bytes.size();
    if (n == 0)
        return;
    const std::size_t lines = (n + 7) / 8;
    // "DB " and CR LF per line, five characters and a comma per field, no comma at a line's end
    const std::size_t start = text.size();
    const std::size_t length = lines * 5 + n * 6 - lines;
    text.resize(start + length + kSpare);
    char* out = text.data() + start;
    for (std::size_t j = 0; j < n; j += 8) {
        std::memcpy(out, "DB ", 3);
        out += 3;
        const std::size_t end = std::min(n, j + 8);
        for (std::size_t k = j; k < end; ++k, out += 6)
            std::memcpy(out, kFields.assembly[bytes[k]].data(), 8);
        std::memcpy(out - 1, "\r\n", 2); // over the last field's comma
        out += 1;
    }
    text.resize(start + length);
}

std::string cText(std::span<const std::uint8_t> bytes) {
    return wholeText(appendCText, bytes);
}

void appendCText(std::string& text, std::span<const std::uint8_t> bytes) {
    const std::size_t n = bytes.size();
    if (n == 0)
        return;
    // four characters a field, a comma between fields, CR LF after every eighth comma
    const std::size_t start = text.size();
    const std::size_t length = n * 5 - 1 + (n - 1) / 8 * 2;
    text.resize(start + length + kSpare);
    char* out = text.data() + start;
    for (std::size_t j = 0; j < n; j += 8) {
        if (j > 0) {
            std::memcpy(out, "\r\n", 2);
            out += 2;
        }
        const std::size_t end = std::min(n, j + 8);
        for (std::size_t k = j; k < end; ++k, out += 5)
            std::memcpy(out, kFields.c[bytes[k]].data(), 8);
    }
    text.resize(start + length); // drops the text's last comma
}

} // namespace hz
