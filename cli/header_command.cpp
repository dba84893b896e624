#include "cli/header_command.h"

#include "cli/exit_status.h"
#include "cli/print_error.h"
#include "cli/whole_output.h"

#include "core/glyph/glyph_record.h"
#include "core/output/c_header.h"
#include "core/text/utf8.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace hz::cli {
namespace {

std::string leftOutText(const hz::HeaderLeftOut& left, const GlyphPass& pass) {
    std::string text = pass.where(left.position) + " " + describeCharacter(left.character);
    switch (left.reason) {
    case hz::HeaderRefusal::NoGb2312Code:
        text += " has no GB2312 code";
        break;
    case hz::HeaderRefusal::SameKey:
        text += " has the same GB2312 code as an earlier character";
        break;
    }
    return text + "; left out of the header";
}

// 118404 -> "118,404".
std::string groupedNumber(std::size_t value) {
    std::string digits = std::to_string(value);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

} // namespace

// The characters go in the order first met, each once.
int runHeader(const CliOptions& options, GlyphPass& pass) {
    hz::CHeaderInput in;
    std::vector<bool> seen; // by code point: a search of those met so far would grow with their square
    pass.run([&](const hz::GlyphRecord& record) {
        const char32_t ch = hz::decodeUtf8(record.character).text.front();
        if (ch >= seen.size())
            seen.resize(std::max<std::size_t>(ch + 1, 0x10000), false);
        if (seen[ch])
            return;
        seen[ch] = true;
        in.glyphs.push_back({pass.position(), ch, record.cell()});
    });
    const hz::GlyphSource& source = pass.source();
    in.source = source.description();
    in.sourceHeight = source.height();
    in.layout = options.layout.layout;
    in.key = options.key;
    in.standard = options.c89 ? hz::HeaderStandard::C89 : hz::HeaderStandard::C99;
    in.compress = options.compress;
    in.name = options.headerName.value_or(hz::defaultHeaderName(in.source, in.sourceHeight));
    const hz::CHeader header = hz::makeCHeader(in);
    for (const auto& left : header.leftOut)
        printError(leftOutText(left, pass));
    // An empty input (a scan that found nothing) gives the empty header, which still compiles.
    if (header.glyphCount == 0 && pass.foundCount() + pass.refusedCount() != 0) {
        printError("no character could be written; " + *options.outputFile + " was not written");
        return kSomeRefused;
    }
    const int status = writeWholeOutput(options, pass, header.text);
    if (status != kFailed)
        // What the font takes in flash, said without the program's name: it is a result, not a fault.
        std::cerr << *options.outputFile << ": " << header.glyphCount
                  << (header.glyphCount == 1 ? " glyph, " : " glyphs, ") << groupedNumber(header.dataBytes)
                  << " bytes\n";
    return status == kAllFound && !header.leftOut.empty() ? kSomeRefused : status;
}

} // namespace hz::cli
