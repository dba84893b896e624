#include "cli/problem_text.h"

#include "cmdline/problem_text.h"
#include "core/layout/layout_detect.h"
#include "core/text/code_point_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace hz::cli {
namespace {

std::string threeDecimals(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

std::string quotedWord(const hz::Problem& problem) {
    return "\"" + problem.value + "\" on line " + std::to_string(problem.line);
}

// What a probe could not find the user can give with the options.
const std::string kByHand = "pass --cell N, --first-row 0xA1|0xB0 and --record-layout L by hand";

// "72 (24x24)": a byte count and the cells it fits.
std::string countAndCells(std::size_t count) {
    std::vector<hz::CellSize> cells;
    for (hz::Scan scan : {hz::Scan::Rows, hz::Scan::Columns})
        for (const hz::CellSize& c : hz::cellsForByteCount(count, scan))
            if (std::find(cells.begin(), cells.end(), c) == cells.end())
                cells.push_back(c);
    std::string text;
    for (const hz::CellSize& c : cells)
        text += (text.empty() ? "" : ", ") + std::to_string(c.width) + "x" + std::to_string(c.height);
    return std::to_string(count) + " (" + text + ")";
}

std::string fileHolds(const hz::Problem& problem) {
    return problem.file + " (" + std::to_string(problem.fileSize) + " bytes) holds ";
}

} // namespace

std::string problemText(const hz::Problem& problem) {
    using Kind = hz::ProblemKind;
    switch (problem.kind) {
    case Kind::FileUnreadable:
        return "cannot read library file " + problem.file + ": " + std::strerror(problem.systemError);
    case Kind::NotAFile:
        return "cannot read library file " + problem.file + ": not a file";
    case Kind::CellOutOfRange:
        return "a library cell of " + std::to_string(problem.number) + " dots; it must be 8 to 64";
    case Kind::FirstRowOutOfRange:
        return "a first row of " + hz::hexRow(static_cast<int>(problem.number)) + "; it must be 0xA1 to 0xFE";
    case Kind::NoReferenceLibrary:
        return "finding the layout of a library file needs hzk24宋 or hzk16宋 in " + problem.file;
    case Kind::ReferenceTooFewGlyphs:
        return "the reference source (" + problem.value +
               ") has too few glyphs of the common characters a library file is probed with";
    case Kind::NoPlausibleCell:
        return fileHolds(problem) + "no plausible number of records for any cell of 8 to 64 dots; " + kByHand;
    case Kind::TooFewRecords:
        return fileHolds(problem) + "too few records of " + std::to_string(problem.number) +
               " dots to hold the common characters it is probed with; " + kByHand;
    case Kind::NoWholeRecord:
        return fileHolds(problem) + "not one whole record of " + std::to_string(problem.number) + " bytes";
    case Kind::LayoutUnclear:
        return "cannot tell how " + problem.file + " is laid out\n" + kByHand;
    case Kind::NotInCodePage:
        return "'" + problem.value + "' (" + hz::codePointText(static_cast<char32_t>(problem.number)) +
               ") has no code in code page 936";
    case Kind::NotUtf8:
        return "the text cannot be written in code page 936";
    case Kind::PasteNotAByte:
        return "not a byte: " + quotedWord(problem);
    case Kind::PasteBelowMinus128:
        return "a value below -128: " + quotedWord(problem);
    case Kind::PasteAbove255:
        return "a value above 255: " + quotedWord(problem);
    case Kind::PasteOddHexDigits:
        return "an odd number of hex digits: " + quotedWord(problem);
    case Kind::PasteOpenComment:
        return "the comment starting on line " + std::to_string(problem.line) + " has no end (*/)";
    case Kind::PasteOpenString:
        return "the string literal on line " + std::to_string(problem.line) + " has no closing quote";
    case Kind::PasteOpenCharacter:
        return "the character literal on line " + std::to_string(problem.line) + " has no closing quote";
    case Kind::PasteNoBytes:
        return "no bytes found: paste hex (0x1F, 1FH or 1F), binary (0b00011111) or decimal inside braces";
    // Pasted bytes too many to be a glyph, and matching them with a character.
    case Kind::PasteTooLong:
        return "more than " + std::to_string(problem.number / 1024) + " KB of text: a glyph's bytes take far less";
    case Kind::PasteTooManyBytes:
        return "more than " + std::to_string(problem.number) + " bytes: a glyph of at most 64x64 dots takes fewer";
    case Kind::MatchNoBytes:
        return "no bytes to match";
    case Kind::MatchBlankReference:
        return "the character's glyph has no dots to match against";
    case Kind::MatchNoCell: {
        std::string nearest;
        for (std::size_t count : hz::nearestFittingCounts(static_cast<std::size_t>(problem.number)))
            nearest += (nearest.empty() ? "" : " or ") + countAndCells(count);
        return std::to_string(problem.number) + " bytes fit no glyph cell; the nearest counts that do: " + nearest;
    }

    case Kind::ScanPathMissing:
        return "no such file or folder: " + problem.file;
    case Kind::ScanPathUnreadable:
        return "cannot read " + problem.file + ": " + std::strerror(problem.systemError);
    case Kind::ScanFolderUnreadable:
        return "cannot search " + problem.file + ": " + std::strerror(problem.systemError);
    case Kind::ScanNotAFile:
        return "cannot read " + problem.file + ": not a regular file (a pipe, device or socket)";
    case Kind::ScanLiteralCp936:
        return problem.file + ":" + std::to_string(problem.line) +
               ": string literal read as code page 936 (it is not UTF-8)";
    case Kind::ScanLiteralUnreadable:
        return problem.file + ":" + std::to_string(problem.line) +
               ": string literal neither UTF-8 nor code page 936; its characters were left out";
    case Kind::WriteFailed:
    case Kind::WriteProtected:
    case Kind::FontNotGiven:
    case Kind::FontSizeOutOfRange:
    case Kind::FontThresholdOutOfRange:
    case Kind::FontFaceNegative:
    case Kind::FontMissing:
    case Kind::FontIsFolder:
    case Kind::FontNotAFile:
    case Kind::FontUnreadable:
    case Kind::FreeTypeUnavailable:
    case Kind::FontNotRecognised:
    case Kind::FontNoSuchFace:
    case Kind::FontFaceUnreadable:
    case Kind::FontNoCharacterMap:
    case Kind::FontNoStrike:
    case Kind::FontStrikeUnusable:
    case Kind::FontSizeRefused:
    case Kind::FontModuleMissing:
        // Worded as hzdot-mkfont words them.
        return hz::cmdline::problemText(problem);
    }
    return "an unknown problem";
}

std::string problemText(const hz::ProbeFailure& failure) {
    if (failure.problem.kind != hz::ProblemKind::LayoutUnclear)
        return problemText(failure.problem);
    std::string text = "cannot tell how " + failure.problem.file + " is laid out; tried (best first):";
    for (std::size_t i = 0; i < failure.tried.size() && i < 8; ++i) {
        const hz::ProbeCandidate& c = failure.tried[i];
        text += "\n  cell " + std::to_string(c.geometry.cell) + ", first row " + hz::hexRow(c.geometry.firstRow) +
                ", " + hz::layoutName(c.geometry.recordLayout) + ": score " + threeDecimals(c.score);
    }
    return text + "\n" + kByHand;
}

} // namespace hz::cli
