#pragma once
// Why a picture could not be read or made into dots. Like hz::Problem it holds facts, no sentence:
// the command line words it in English, the window in Chinese.

#include <cstdint>
#include <string>

namespace hz {

enum class PictureProblemKind {
    FileUnreadable,  // file; systemError
    NotAFile,        // file: a folder, pipe or device
    FileTooLarge,    // file; number: the file's size, limit: the largest file read, in bytes
    Empty,           // file: no bytes at all
    NotRecognised,   // file: no PNG, BMP, JPEG, GIF or SVG; detail: the decoder's words, if any
    Broken,          // file: recognised but damaged or cut short; detail: the decoder's words
    SourceTooLarge,  // file; width, height: the picture's own size; limit: the most pixels decoded
    TooLargeForDots, // file; width, height: the size the dots would have; limit: the most dots a side
    NoDecoder,       // file; detail: the format the decoding library has no loader for
    NoPictureModule, // file; detail: which module, where it was looked for and why it could not be used
};

struct PictureProblem {
    PictureProblemKind kind{};
    std::string file{};      // as the caller named it
    std::string detail{};    // the decoding library's own words, when it gave any
    int systemError = 0;     // errno
    std::int64_t number = 0; // a size in bytes
    std::int64_t limit = 0;  // the limit that was passed
    int width = 0;           // in pixels or dots
    int height = 0;

    bool operator==(const PictureProblem&) const = default;
};

} // namespace hz
