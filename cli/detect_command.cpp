#include "cli/detect_command.h"

#include "cli/exit_status.h"
#include "cli/glyph_pass.h"
#include "cli/output_writer.h"
#include "cli/print_error.h"
#include "cli/problem_text.h"

#include "core/layout/byte_paste.h"
#include "core/layout/layout_detect.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace hz::cli {
namespace {

bool readPaste(const std::string& path, std::string& text) {
    if (path == "-") {
        std::ostringstream all;
        all << std::cin.rdbuf();
        text = all.str();
        return !std::cin.bad();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

} // namespace

int runDetect(const CliOptions& options, hz::GlyphSource& source, const InputText& input) {
    if (input.characters.size() != 1) {
        printError("--detect needs exactly one character as TEXT, not " + std::to_string(input.characters.size()));
        return kFailed;
    }
    const char32_t character = input.characters.front();
    const std::string& path = *options.detectFile;
    const std::string shown = path == "-" ? "standard input" : path;
    std::string text;
    if (!readPaste(path, text)) {
        printError("cannot read " + shown + ": " + std::strerror(errno));
        return kFailed;
    }
    const auto pasted = hz::parsePastedBytes(text);
    if (!pasted) {
        printError(shown + ": " + problemText(pasted.problem()));
        return kFailed;
    }
    hz::DotCell reference;
    const hz::LookupStatus status = source.glyph(character, reference);
    if (status != hz::LookupStatus::Found) {
        printError(describeCharacter(character) + ": " + hz::statusMessage(status) +
                   " (--detect compares the bytes with this character's glyph)");
        return kFailed;
    }
    const hz::LayoutDetection detection = hz::detectLayout(*pasted, reference);
    if (!detection.ok()) {
        printError(shown + ": " + detection.error);
        return kFailed;
    }
    if (auto note = hz::ambiguityNote(detection); !note.empty())
        printError(note);
    if (auto error = writeToStandardOutput(hz::detectionLines(detection), OutputEncoding::Utf8)) {
        printError(*error);
        return kFailed;
    }
    return kAllFound;
}

} // namespace hz::cli
