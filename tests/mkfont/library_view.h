#pragma once
// Reading back a library file the tool wrote: records by GB2312 code, dots and ink boxes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct DotBox {
    int left, top, right, bottom; // inclusive
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

class LibraryView {
public:
    // size: dots per cell side, 12, 16 or 24.
    LibraryView(const std::string& path, int size);

    int size() const { return size_; }
    int recordSize() const { return size_ * rowBytes_; }
    const std::string& bytes() const { return bytes_; }

    // The record of the code (first byte high), as the file holds it.
    std::string_view record(std::uint16_t code) const;
    bool dot(std::uint16_t code, int x, int y) const;
    int inkCount(std::uint16_t code) const;
    std::optional<DotBox> inkBox(std::uint16_t code) const;
    // The record's dots as lines of '#' and '.', for failure messages.
    std::string picture(std::uint16_t code) const;

private:
    int size_;
    int rowBytes_;
    std::string bytes_;
};

// The code page 936 code of one character given in UTF-8, e.g. gb("国") == 0xB9FA.
std::uint16_t gb(std::string_view utf8Character);
