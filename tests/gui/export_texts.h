#pragma once
// The export texts stated from a glyph's bytes alone. The window's tests compare what it shows or
// writes with these rather than with the program's own writer, so that a wrong byte, layout or
// record order fails them. Line ends are CR LF, as the export file has them.

#include "core/text/codepage.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace hz::gui {

namespace guitest {

// Eight fields a line, every line ending in CR LF: "DB   00h,  80h, 0FFh, ...". A number whose first
// hex digit is a letter takes a leading 0, as assemblers want.
inline QString assemblyText(const std::vector<std::uint8_t>& bytes) {
    QString text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        QString number = QString::number(bytes[i], 16).toUpper().rightJustified(2, QLatin1Char('0'));
        if (number.front() >= QLatin1Char('A'))
            number.prepend(QLatin1Char('0'));
        text +=
            (i % 8 == 0 ? QStringLiteral("DB ") : QStringLiteral(",")) + number.rightJustified(4) + QLatin1Char('h');
        if (i % 8 == 7 || i + 1 == bytes.size())
            text += QStringLiteral("\r\n");
    }
    return text;
}

// "0x00,0x80,...", eight a line; a comma and CR LF between lines, nothing after the last field.
inline QString cText(const std::vector<std::uint8_t>& bytes) {
    QString text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            text += i % 8 == 0 ? QStringLiteral(",\r\n") : QStringLiteral(",");
        text += QStringLiteral("0x") + QString::number(bytes[i], 16).toUpper().rightJustified(2, QLatin1Char('0'));
    }
    return text;
}

// One record in one arrangement or layout; header as in "样[16*16]横排".
struct ExportedRecord {
    QString header;
    std::vector<std::uint8_t> bytes;
};

inline QString assemblyBlock(const ExportedRecord& record) {
    return QLatin1Char(';') + record.header + QStringLiteral("\r\n") + assemblyText(record.bytes) +
           QStringLiteral("\r\n");
}
inline QString cBlock(const ExportedRecord& record) {
    return QStringLiteral("{//") + record.header + QStringLiteral("\r\n") + cText(record.bytes) + QStringLiteral("};");
}

// Export all, one arrangement or layout: every assembly block, a blank line, then every C block on
// a line of its own.
inline QString exportAllText(const std::vector<ExportedRecord>& records) {
    QString text;
    for (const ExportedRecord& record : records)
        text += assemblyBlock(record);
    text += QStringLiteral("\r\n");
    for (const ExportedRecord& record : records)
        text += cBlock(record) + QStringLiteral("\r\n");
    return text;
}

// Export current: the record's assembly block, then its C block without a line end.
inline QString exportCurrentText(const ExportedRecord& record) {
    return assemblyBlock(record) + cBlock(record);
}

// The export file's bytes of a text: code page 936.
inline QByteArray cp936(const QString& text) {
    const auto bytes = hz::utf8ToCp936(text.toStdString());
    return bytes ? QByteArray::fromStdString(*bytes) : QByteArray("<unencodable>");
}

// A text box shows the texts with LF line ends.
inline QString withLf(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace guitest

} // namespace hz::gui
