#pragma once
// The shared whole-file reader and writer, for paths and bytes as Qt holds them.

#include "temp_folder.h"

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace hz::gui {

namespace guitest {

// The whole file; empty when it cannot be read.
inline QByteArray readAll(const QString& path) {
    return QByteArray::fromStdString(hz::test::readFile(path.toStdString()));
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
    try {
        hz::test::writeFile(path.toStdString(),
                            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

} // namespace guitest

} // namespace hz::gui
