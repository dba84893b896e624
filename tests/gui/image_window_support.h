#pragma once
// Pictures for the picture window's tests, made on the spot, and the window's controls by name.

#include "gui/imagewin/image_window.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>

namespace hz::gui::imagetest {

// A picture of width x height pixels, each coloured by colour(x, y), saved as the file name's
// extension says (png, bmp, jpg).
inline QString savePicture(const QTemporaryDir& dir, const QString& name, int width, int height,
                           const std::function<QColor(int, int)>& colour) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, colour(x, y));
    const QString path = dir.filePath(name);
    image.save(path);
    return path;
}

// 40 x 20: the left half black, the right half white.
inline QString halfBlack(const QTemporaryDir& dir, const QString& name = QStringLiteral("logo.png")) {
    return savePicture(dir, name, 40, 20, [](int x, int) { return x < 20 ? QColor(Qt::black) : QColor(Qt::white); });
}

// 30 x 10: three bands of grey, 60, 140 and 220 from the left.
inline QString greyBands(const QTemporaryDir& dir) {
    return savePicture(dir, QStringLiteral("bands.png"), 30, 10, [](int x, int) {
        const int grey = x < 10 ? 60 : x < 20 ? 140 : 220;
        return QColor(grey, grey, grey);
    });
}

inline QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

// The PNG CRC of a chunk's type and data.
inline quint32 pngCrc(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFU;
    for (const char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320U & (0U - (crc & 1U)));
    }
    return crc ^ 0xFFFFFFFFU;
}

// A PNG chunk: its length, type, data and CRC.
inline QByteArray pngChunk(const char* type, const QByteArray& data) {
    QByteArray length(4, '\0');
    qToBigEndian(static_cast<quint32>(data.size()), length.data());
    const QByteArray typed = QByteArray(type) + data;
    QByteArray crc(4, '\0');
    qToBigEndian(pngCrc(typed), crc.data());
    return length + typed + crc;
}

// A PNG whose header claims width x height pixels, followed by a first bit of pixel data only.
inline QByteArray pngHeaderOnly(quint32 width, quint32 height) {
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8; // bit depth
    header[9] = 6; // RGBA
    // qCompress puts the length in front of the zlib stream.
    const QByteArray pixels = qCompress(QByteArray(1000, '\0')).mid(4);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", pixels);
}

template <typename T> T* control(const QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromUtf8(name));
}

} // namespace hz::gui::imagetest
