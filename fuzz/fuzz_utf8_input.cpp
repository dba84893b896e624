// The UTF-8 decoder and the CLI's input reader on arbitrary bytes: never a crash, and whatever is
// accepted encodes back to the same bytes.

#include "cli/input_text.h"
#include "core/text/utf8.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const hz::DecodedText decoded = hz::decodeUtf8(bytes);
    if (!decoded.error && hz::encodeUtf8(decoded.text) != bytes)
        __builtin_trap();
    if (decoded.error && decoded.error->byteOffset >= size)
        __builtin_trap();

    const hz::cli::InputText argument = hz::cli::textFromArgument(bytes);
    if (argument.error.has_value() != decoded.error.has_value())
        __builtin_trap();

    const hz::cli::InputText file = hz::cli::textFromFileBytes(bytes, "input");
    // Every character has a place in the file, lines counted from 1 and columns within the line.
    if (!file.error && !file.characters.empty()) {
        const auto last = file.place(file.characters.size() - 1);
        if (!last || last->line < 1 || last->line > file.lineStarts.size() || last->column < 1 ||
            last->column > file.characters.size())
            __builtin_trap();
    }
    return 0;
}
