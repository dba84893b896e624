#pragma once
// What the core says when something cannot be done. A Problem is a kind and the facts that go with
// it (the file, the position, the offending value); it holds no sentence, so that each front end
// words it in its own language: the command line in English, the window in Chinese. Result<T> is a
// T or a Problem, in the manner of std::expected. Exceptions are left to running out of memory and
// to programming errors.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace hz {

// Which facts a kind sets is said beside it; the rest stay empty or zero.
enum class ProblemKind {
    // A file the program reads. file; systemError.
    FileUnreadable,
    // A folder, device or pipe where a file was wanted. file.
    NotAFile,

    // The geometry of a library file of the user's own. number: the cell or first row given.
    CellOutOfRange,
    FirstRowOutOfRange,
    // Probing a library file: the probe gives its candidates alongside (see library_probe.h).
    NoReferenceLibrary,    // file: the folder searched for our own libraries
    ReferenceTooFewGlyphs, // value: the reference source's description
    NoPlausibleCell,       // file; fileSize
    TooFewRecords,         // file; fileSize; number: the cell given
    NoWholeRecord,         // a geometry given whole: file; fileSize; number: the record's bytes
    LayoutUnclear,         // file

    // Text to code page 936. value: the character (UTF-8); number: its code point; position: the
    // byte offset of the character in the text.
    NotInCodePage,
    // Text that is no UTF-8 at all. position: the byte offset of the bad byte.
    NotUtf8,

    // Bytes pasted from a firmware's sources. value: the word; line: its line, from 1.
    PasteNotAByte,
    PasteBelowMinus128,
    PasteAbove255,
    PasteOddHexDigits,
    // line: where the comment or literal starts.
    PasteOpenComment,
    PasteOpenString,
    PasteOpenCharacter,
    PasteNoBytes,
    // number: the limit, in characters of text or in bytes.
    PasteTooLong,
    PasteTooManyBytes,
    // Matching pasted bytes with a character's glyph.
    MatchNoBytes,
    MatchBlankReference, // the character's glyph has no dots
    MatchNoCell,         // number: the byte count, which fits no glyph cell

    // Writing a file, all or nothing. file (possibly empty); systemError.
    WriteFailed,
    // An existing file its owner has made read-only. file.
    WriteProtected,

    // A font the font source cannot use; file as the caller named it. value, where set: FreeType's own
    // words for its error.
    FontNotGiven,            // no file at all
    FontSizeOutOfRange,      // file; number: the size in dots
    FontThresholdOutOfRange, // file; number: the threshold
    FontFaceNegative,        // file; number: the face
    FontMissing,             // file
    FontIsFolder,            // file
    FontNotAFile,            // file: a pipe, device or socket, which could block or never end
    FontUnreadable,          // file; systemError
    FreeTypeUnavailable,     // value
    FontNotRecognised,       // file; value
    FontNoSuchFace,          // file; number: the face; count: the faces the file holds
    FontFaceUnreadable,      // file; number: the face; value
    FontNoCharacterMap,      // file: no Unicode, GB2312 or Big5 map
    FontNoStrike,            // file; number: the size in pixels; sizes: the strikes it has, in pixels
    FontStrikeUnusable,      // file; number: the size in pixels; value
    FontSizeRefused,         // number: the pixel size; value
    FontModuleMissing,       // file (empty for the installed fonts); value: which module, where it was
                             // looked for and why it could not be used

    // Scanning sources for their string literals. file: the path as named or as found in a folder.
    ScanPathMissing,      // file
    ScanPathUnreadable,   // file; systemError
    ScanFolderUnreadable, // file; systemError
    ScanNotAFile,         // file: a pipe, device or socket
    // One literal. file; line: where it opens.
    ScanLiteralCp936,
    ScanLiteralUnreadable,
};

struct Problem {
    ProblemKind kind{};
    std::string file{};         // as the caller named it
    std::string value{};        // the offending text
    long long number = 0;       // the offending number
    std::uint64_t fileSize = 0; // in bytes
    std::size_t position = 0;   // a byte offset, from 0
    int line = 0;               // from 1
    int systemError = 0;        // errno, when the system refused
    long long count = 0;        // how many there are (a font file's faces)
    std::vector<int> sizes{};   // what there is instead (a font's strikes)

    bool operator==(const Problem&) const = default;
};

// A value, or the problem that kept it from being made. E is Problem unless a failure has more to
// tell (the probe's candidates).
template <class T, class E = Problem> class Result {
public:
    Result(T value) : state(std::in_place_index<0>, std::move(value)) {}
    Result(E problem) : state(std::in_place_index<1>, std::move(problem)) {}

    bool has_value() const { return state.index() == 0; }
    explicit operator bool() const { return has_value(); }

    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& value() {
        assert(has_value());
        return std::get<0>(state);
    }
    const T& value() const {
        assert(has_value());
        return std::get<0>(state);
    }
    const E& problem() const {
        assert(!has_value());
        return std::get<1>(state);
    }

    friend bool operator==(const Result& result, const T& value) { return result && *result == value; }

private:
    std::variant<T, E> state;
};

template <class E> class Result<void, E> {
public:
    Result() = default;
    Result(E problem) : failure(std::move(problem)), failed(true) {}

    bool has_value() const { return !failed; }
    explicit operator bool() const { return has_value(); }
    const E& problem() const {
        assert(failed);
        return failure;
    }

private:
    E failure{};
    bool failed = false;
};

} // namespace hz
