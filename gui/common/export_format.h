#pragma once
// The forms the window's "导出" button writes the list in, as FormatChoice offers them: a C header
// of the chosen layout, or a font an LVGL or u8g2 firmware loads (or BDF). A new form is one more entry here (and its case where the
// export is made).

#include <QString>
#include <array>

namespace hz::gui {

enum class ExportFormat { CHeader, LvglC, LvglBin, U8g2, Bdf };

struct ExportFormatEntry {
    const char* label; // as FormatChoice shows it (UTF-8)
    ExportFormat format;
};

inline constexpr std::array kExportFormats{
    ExportFormatEntry{"C头文件", ExportFormat::CHeader},
    ExportFormatEntry{"LVGL C", ExportFormat::LvglC},
    ExportFormatEntry{"LVGL bin", ExportFormat::LvglBin},
    ExportFormatEntry{"u8g2", ExportFormat::U8g2},
    ExportFormatEntry{"BDF", ExportFormat::Bdf},
};

} // namespace hz::gui
