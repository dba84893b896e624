#include "cli/cli_run.h"

#include "cli/cli_options.h"
#include "cli/input_text.h"
#include "cli/output_writer.h"
#include "cli/usage_text.h"

#include "core/dot_matrix_text.h"
#include "core/export_layout.h"
#include "core/font_library.h"
#include "core/glyph_record.h"
#include "core/utf8.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>

namespace hzcli {
namespace {

void printError(const std::string& message) {
    std::fprintf(stderr, "hzdot-cli: %s\n", message.c_str());
}

// The library is checked once here rather than refusing every character with the same message.
std::optional<std::string> checkLibrary(const std::string& path) {
    const std::string hint = " (--fonts DIR names the folder of the library files)";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return "library file not found: " + path + hint;
        return "cannot read library file " + path + ": " + std::strerror(errno);
    }
    if (!S_ISREG(info.st_mode))
        return "library file " + path + " is not a regular file" + hint;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return "cannot read library file " + path + ": " + std::strerror(errno);
    std::fclose(file);
    return std::nullopt;
}

std::string describeCharacter(char32_t ch) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(ch));
    bool control = ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
    if (control)
        return code;
    return "'" + hz::encodeUtf8(ch) + "' (" + code + ")";
}

void reportRefused(const InputText& input, const std::vector<hz::RefusedCharacter>& refused) {
    for (const auto& r : refused) {
        std::string where = "character " + std::to_string(r.position + 1);
        if (r.position < input.places.size()) {
            const TextPlace& place = input.places[r.position];
            where += " (line " + std::to_string(place.line) + ", column " + std::to_string(place.column) + ")";
        }
        printError(where + " " + describeCharacter(r.character) + ": " + hz::statusMessage(r.status));
    }
}

std::string viewText(std::span<const hz::GlyphRecord> records, const hz::Marks& marks) {
    std::string text;
    for (const auto& record : records) {
        if (!text.empty())
            text += "\r\n";
        text += hz::dotMatrixText(record.assembly[static_cast<int>(hz::Arrangement::Rows)], record.cellSize(),
                                  record.glyphBytes(), marks);
    }
    return text;
}

std::string outputText(const std::vector<hz::GlyphRecord>& records, const CliOptions& options) {
    std::span<const hz::GlyphRecord> chosen(records);
    if (options.current)
        chosen = chosen.last(1);
    if (options.view)
        return viewText(chosen, options.marks);
    if (options.current)
        return hz::exportCurrentText(chosen.front(), options.arrangement);
    return hz::exportAllText(chosen, options.arrangement);
}

} // namespace

int runCli(const std::vector<std::string>& args, const std::string& programDir) {
    ParsedCommandLine parsed = parseCommandLine(args);
    if (parsed.error) {
        printError(*parsed.error);
        std::fprintf(stderr, "Try 'hzdot-cli --help' for more information.\n");
        return kFailed;
    }
    const CliOptions& options = parsed.options;
    if (options.help || options.version) {
        std::string text = options.help ? usageText() : versionText();
        if (auto error = writeToStandardOutput(text, OutputEncoding::Utf8)) {
            printError(*error);
            return kFailed;
        }
        return kAllFound;
    }

    const std::string fontsDir = options.fontsDir.value_or(programDir);
    const std::string library = hz::libraryPath(fontsDir, hz::fontLibrary(options.library));
    if (auto error = checkLibrary(library)) {
        printError(*error);
        return kFailed;
    }
    if (auto error = checkOutputTarget(options, library)) {
        printError(*error);
        return kFailed;
    }

    InputText input = options.inputFile ? textFromFile(*options.inputFile) : textFromArgument(*options.text);
    if (input.error) {
        printError(*input.error);
        return kFailed;
    }
    if (input.characters.empty())
        return kAllFound;

    hz::LookupSettings settings{options.library, options.spaceX, options.spaceY};
    hz::LookupResult result = hz::lookupText(input.characters, fontsDir, settings);
    reportRefused(input, result.refused);
    const int found = result.refused.empty() ? kAllFound : kSomeRefused;

    if (result.records.empty()) {
        if (options.outputFile)
            printError("no character was found; " + *options.outputFile + " was not written");
        return found;
    }
    std::string text = outputText(result.records, options);
    auto error =
        options.outputFile ? writeToFile(*options.outputFile, text) : writeToStandardOutput(text, options.encoding);
    if (error) {
        printError(*error);
        return kFailed;
    }
    return found;
}

} // namespace hzcli
