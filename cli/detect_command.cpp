#include "cli/detect_command.h"

#include "cli/exit_status.h"
#include "cli/glyph_pass.h"
#include "cli/output_writer.h"
#include "cli/print_error.h"
#include "cli/problem_text.h"

#include "core/layout/byte_paste.h"
#include "core/layout/layout_detect.h"
#include "core/library/font_library.h"
#include "core/library/library_source.h"

#include "core/system/regular_file.h"
#include "fontsource/module_font.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>

namespace hz::cli {
namespace {

// The paste, or nothing with the error printed. Reads at most one character more than a paste may
// hold, so the parser refuses a longer one without the program holding it: a huge file cannot fill
// the memory. Only regular files and standard input are read: a pipe given by name could block for
// ever, a device never end.
std::optional<std::string> readPaste(const std::string& path, const std::string& shown) {
    std::string text(hz::kMaxPasteText + 1, '\0');
    if (path == "-") {
        std::cin.read(text.data(), static_cast<std::streamsize>(text.size()));
        if (std::cin.bad()) {
            printError("cannot read " + shown + ": " + std::strerror(errno));
            return std::nullopt;
        }
        text.resize(static_cast<std::size_t>(std::cin.gcount()));
        return text;
    }
    auto opened = hz::openRegularFile(path);
    if (!opened) {
        const hz::Problem& problem = opened.problem();
        if (problem.kind == hz::ProblemKind::NotAFile)
            printError("cannot read " + shown + ": " +
                       (problem.systemError == EISDIR ? "it is a folder, not a file of pasted bytes"
                                                      : "not a regular file (pass - to read standard input)"));
        else
            printError("cannot read " + shown + ": " + std::strerror(problem.systemError));
        return std::nullopt;
    }
    std::size_t filled = 0;
    while (filled < text.size()) {
        const ssize_t got = ::read(opened->fd.get(), text.data() + filled, text.size() - filled);
        if (got == 0)
            break;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            printError("cannot read " + shown + ": " + std::strerror(errno));
            return std::nullopt;
        }
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    return text;
}

std::string ambiguityNote(const hz::LayoutDetection& detection) {
    const std::string pair = hz::layoutName(detection.candidates[0].layout) + " and " +
                             hz::layoutName(detection.candidates[detection.runnerUp].layout);
    const std::string advice = "; paste the bytes of a character that does not, such as 我 or 的";
    if (detection.mirrorAmbiguous)
        return "the best two layouts, " + pair +
               ", differ only by a mirror: the character looks the same mirrored, so its bytes cannot tell them "
               "apart" +
               advice;
    return "the best two layouts, " + pair +
           ", score alike: the character looks much the same in both, so its bytes cannot tell them apart" + advice;
}

std::string unlikeNote(const hz::LayoutDetection& detection, char32_t character) {
    const hz::LayoutCandidate& best = detection.candidates.front();
    char score[16];
    std::snprintf(score, sizeof score, "%.3f", best.score);
    return "no layout draws these bytes clearly like " + describeCharacter(character) + " (best score " + score +
           " in a " + std::to_string(best.cell.width) + "x" + std::to_string(best.cell.height) +
           " cell): they may be another character's, of another size, or no glyph at all";
}

} // namespace

int runDetect(const CliOptions& options, hz::GlyphSource& source, const InputText& input,
              const std::string& programDir) {
    if (input.characters.size() != 1) {
        printError("--detect needs exactly one character as TEXT, not " + std::to_string(input.characters.size()));
        return kFailed;
    }
    const char32_t character = input.characters.front();
    const std::string& path = *options.detectFile;
    const std::string shown = path == "-" ? "standard input" : path;
    const std::optional<std::string> text = readPaste(path, shown);
    if (!text)
        return kFailed;
    const auto pasted = hz::parsePastedBytes(*text);
    if (!pasted) {
        printError(shown + ": " + problemText(pasted.problem()));
        return kFailed;
    }
    std::vector<hz::DotCell> faces(1);
    const hz::LookupStatus status = source.glyph(character, faces.front());
    if (status != hz::LookupStatus::Found) {
        printError(describeCharacter(character) + ": " + hz::statusMessage(status) +
                   " (--detect compares the bytes with this character's glyph)");
        return kFailed;
    }
    // Every other library in the folder draws the character too, and so does every installed Chinese
    // font at the sizes the bytes may fill: bytes of a font unlike the chosen one are still found
    // when another face is like it.
    for (hz::DotCell& face :
         hz::otherLibraryGlyphs(character, options.fontsDir.value_or(programDir), source.libraryPosition()))
        faces.push_back(std::move(face));
    auto references = hz::fontsource::installedReferenceGlyphs(character, hz::pasteCells(*pasted));
    if (!references) {
        // Without them the answer could differ from the one HzDot gives when installed whole.
        printError("cannot compare the bytes with the installed fonts: " + problemText(references.problem()));
        return kFailed;
    }
    for (hz::DotCell& face : *references)
        faces.push_back(std::move(face));
    const auto detection = hz::detectLayout(*pasted, faces);
    if (!detection) {
        printError(shown + ": " + problemText(detection.problem()));
        return kFailed;
    }
    if (detection->unlike)
        printError(unlikeNote(*detection, character));
    else if (detection->ambiguous)
        printError(ambiguityNote(*detection));
    if (auto error = writeToStandardOutput(hz::detectionLines(*detection), OutputEncoding::Utf8)) {
        printError(*error);
        return kFailed;
    }
    return detection->sure() ? kAllFound : kSomeRefused;
}

} // namespace hz::cli
