#include "cli/problem_text.h"

#include "cmdline/problem_text.h"
#include "core/text/code_point_text.h"

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
    case Kind::WriteFailed:
    case Kind::WriteProtected:
    case Kind::FontNotGiven:
    case Kind::FontSizeOutOfRange:
    case Kind::FontThresholdOutOfRange:
    case Kind::FontFaceNegative:
    case Kind::FontMissing:
    case Kind::FontIsFolder:
    case Kind::FontUnreadable:
    case Kind::FreeTypeUnavailable:
    case Kind::FontNotRecognised:
    case Kind::FontNoSuchFace:
    case Kind::FontFaceUnreadable:
    case Kind::FontNoCharacterMap:
    case Kind::FontNoStrike:
    case Kind::FontStrikeUnusable:
    case Kind::FontSizeRefused:
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
