#pragma once
// The forms the window's "导出" button writes the list in, as FormatChoice offers them: a C header
// of the chosen layout, or an LVGL font. A new form is one more entry here (and its case where the
// export is made).

#include <QString>
#include <array>

namespace hz::gui {

enum class ExportFormat { CHeader, LvglC, LvglBin };

struct ExportFormatEntry {
    const char* label; // as FormatChoice shows it (UTF-8)
    ExportFormat format;
};

inline constexpr std::array kExportFormats{
    ExportFormatEntry{"C头文件", ExportFormat::CHeader},
    ExportFormatEntry{"LVGL C", ExportFormat::LvglC},
    ExportFormatEntry{"LVGL bin", ExportFormat::LvglBin},
};

} // namespace hz::gui
