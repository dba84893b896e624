#include "library_view.h"

#include "temp_folder.h"

#include "core/text/codepage.h"
#include "core/text/utf8.h"

#include <algorithm>
#include <stdexcept>

LibraryView::LibraryView(const std::string& path, int size)
    : size_(size), rowBytes_((size + 7) / 8), bytes_(hz::test::readFile(path)) {}

std::string_view LibraryView::record(std::uint16_t code) const {
    const int hi = code >> 8;
    const int lo = code & 0xFF;
    if (hi < 0xA1 || lo < 0xA1 || lo > 0xFE)
        throw std::out_of_range("not a GB2312 code");
    const std::size_t offset = static_cast<std::size_t>((hi - 0xA1) * 94 + (lo - 0xA1)) * recordSize();
    if (offset + recordSize() > bytes_.size())
        throw std::out_of_range("record beyond the end of the file");
    return std::string_view(bytes_).substr(offset, recordSize());
}

bool LibraryView::dot(std::uint16_t code, int x, int y) const {
    const auto rec = record(code);
    return (static_cast<unsigned char>(rec[y * rowBytes_ + x / 8]) >> (7 - x % 8)) & 1;
}

int LibraryView::inkCount(std::uint16_t code) const {
    int count = 0;
    for (int y = 0; y < size_; ++y)
        for (int x = 0; x < size_; ++x)
            count += dot(code, x, y);
    return count;
}

std::optional<DotBox> LibraryView::inkBox(std::uint16_t code) const {
    std::optional<DotBox> box;
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x) {
            if (!dot(code, x, y))
                continue;
            if (!box)
                box = DotBox{x, y, x, y};
            box->left = std::min(box->left, x);
            box->right = std::max(box->right, x);
            box->top = std::min(box->top, y);
            box->bottom = std::max(box->bottom, y);
        }
    }
    return box;
}

std::string LibraryView::picture(std::uint16_t code) const {
    std::string text;
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x)
            text += dot(code, x, y) ? '#' : '.';
        text += '\n';
    }
    return text;
}

std::uint16_t gb(std::string_view utf8Character) {
    const auto decoded = hz::decodeUtf8(utf8Character);
    if (decoded.error || decoded.text.size() != 1)
        throw std::invalid_argument("one character expected");
    const auto code = hz::cp936Code(decoded.text.front());
    if (!code)
        throw std::invalid_argument("no code page 936 code");
    return *code;
}
