#include "cli/usage_text.h"

#include "cli/cli_options.h"

#include "core/layout/arrangements.h"
#include "core/library/font_library.h"

namespace hz::cli {

std::string usageText() {
    std::string text = "Usage: hzdot-cli [options] [TEXT]\n"
                       "Looks up every character of TEXT in a dot-matrix font library and writes its bytes as\n"
                       "assembly \"DB\" lines and C arrays, in the layout of HzDot's export files.\n"
                       "\n";
    text += optionHelp();
    text += "\n"
            "Libraries:";
    for (const auto& library : hz::fontLibraries())
        text += " " + std::to_string(library.position) + " " + std::string(library.name) + ",";
    text.back() = '\n';
    text += "Arrangements:";
    for (int i = 0; i < hz::kArrangementCount; ++i)
        text += " " + std::to_string(i) + " " + std::string(hz::arrangementName(static_cast<hz::Arrangement>(i))) + ",";
    text.back() = '\n';
    text += "A library or an arrangement may also be given by its name.\n"
            "\n"
            "Each character that has no dot matrix is reported on standard error with its position.\n"
            "Exit status: 0 every character was found; 1 some were refused, the others were still\n"
            "written (--detect: the layout printed first is not sure); 2 a usage error, a missing library\n"
            "file, invalid UTF-8, a paste or picture that cannot be read, or an output that cannot be\n"
            "written (an existing output file is then left as it was).\n";
    return text;
}

std::string versionText() {
    return "hzdot-cli (HzDot) " HZDOT_VERSION "\n";
}

} // namespace hz::cli
