#include "cmdline/problem_text.h"

#include "fontsource/font_choice.h"

#include <cstring>
#include <vector>

namespace hz::cmdline {

namespace {

std::string inParentheses(const std::string& text) {
    return " (" + text + ")";
}

std::string strikesText(const std::vector<int>& sizes) {
    if (sizes.empty())
        return " (it has no strikes at all)";
    std::string list;
    for (const int size : sizes)
        list += (list.empty() ? "" : ", ") + std::to_string(size);
    return " (its strikes: " + list + " pixels)";
}

} // namespace

std::string problemText(const hz::Problem& problem) {
    using Kind = hz::ProblemKind;
    const std::string& file = problem.file;
    const std::string number = std::to_string(problem.number);
    switch (problem.kind) {
    case Kind::WriteFailed:
        return (file.empty() ? "\"\"" : file) + ": " + std::strerror(problem.systemError);
    case Kind::WriteProtected:
        return file + ": the file is write-protected";
    case Kind::FontNotGiven:
        return "no font file given";
    case Kind::FontSizeOutOfRange:
        return file + ": a size of " + number + " dots is outside " + std::to_string(hz::fontsource::kMinFontSize) +
               " to " + std::to_string(hz::fontsource::kMaxFontSize);
    case Kind::FontThresholdOutOfRange:
        return file + ": a threshold of " + number + " is outside 0 to " +
               std::to_string(hz::fontsource::kMaxFontThreshold);
    case Kind::FontFaceNegative:
        return file + ": has no face " + number;
    case Kind::FontMissing:
        return file + ": no such file";
    case Kind::FontIsFolder:
        return file + ": is a folder, not a font file";
    case Kind::FontNotAFile:
        return file + ": is a pipe or device, not a font file";
    case Kind::FontUnreadable:
        return file + ": cannot be read" + inParentheses(std::strerror(problem.systemError));
    case Kind::FreeTypeUnavailable:
        return "cannot start FreeType: " + problem.value;
    case Kind::FontNotRecognised:
        return file + ": not a font FreeType can read" + inParentheses(problem.value);
    case Kind::FontNoSuchFace:
        return file + ": has no face " + number + " (it holds " + std::to_string(problem.count) +
               (problem.count == 1 ? " face, numbered 0)" : " faces, numbered from 0)");
    case Kind::FontFaceUnreadable:
        return file + ": face " + number + " cannot be read" + inParentheses(problem.value);
    case Kind::FontNoCharacterMap:
        return file + ": the font has no Unicode, GB2312 or Big5 character map, so no GB2312 character can be found "
                      "in it";
    case Kind::FontNoStrike:
        return file + ": has no " + number + "-pixel strike" + strikesText(problem.sizes);
    case Kind::FontStrikeUnusable:
        return file + ": the " + number + "-pixel strike cannot be used" + inParentheses(problem.value);
    case Kind::FontSizeRefused:
        return "cannot set the font to " + number + " pixels" + inParentheses(problem.value);
    case Kind::FontModuleMissing:
        return (file.empty() ? "" : file + ": cannot be drawn: ") + "HzDot's font module " + problem.value +
               " (is HzDot installed whole?)";
    default:
        return "an unknown problem";
    }
}

} // namespace hz::cmdline
