#include "gui/fontchooser/font_problem_text.h"

#include "fontsource/font_source.h"

#include <QFile>
#include <QStringList>
#include <cstring>

namespace hz::gui {

namespace {

QString fileText(const std::string& file) {
    return QFile::decodeName(QByteArray::fromStdString(file));
}

// FreeType's and the system's own words, as they give them.
QString ownWords(const std::string& text) {
    return QString::fromStdString(text);
}

QString systemWords(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString fontProblemText(const hz::Problem& problem) {
    using Kind = hz::ProblemKind;
    using hz::fontsource::FontSource;
    const QString file = fileText(problem.file);
    switch (problem.kind) {
    case Kind::FontNotGiven:
        return QStringLiteral("没有选择字体文件");
    case Kind::FontSizeOutOfRange:
        return QStringLiteral("%1：%2 点的大小不在 %3 到 %4 之间")
            .arg(file)
            .arg(problem.number)
            .arg(FontSource::kMinSize)
            .arg(FontSource::kMaxSize);
    case Kind::FontThresholdOutOfRange:
        return QStringLiteral("%1：灰度阈值 %2 不在 0 到 %3 之间")
            .arg(file)
            .arg(problem.number)
            .arg(FontSource::kMaxThreshold);
    case Kind::FontFaceNegative:
        return QStringLiteral("%1：没有第 %2 个字样").arg(file).arg(problem.number);
    case Kind::FontMissing:
        return QStringLiteral("字体文件不存在：%1").arg(file);
    case Kind::FontIsFolder:
        return QStringLiteral("%1 是文件夹，不是字体文件").arg(file);
    case Kind::FontNotAFile:
        return QStringLiteral("%1 是管道或设备，不是字体文件").arg(file);
    case Kind::FontUnreadable:
        return QStringLiteral("无法读取字体文件 %1（%2）").arg(file, systemWords(problem.systemError));
    case Kind::FreeTypeUnavailable:
        return QStringLiteral("无法启动 FreeType：%1").arg(ownWords(problem.value));
    case Kind::FontNotRecognised:
        return QStringLiteral("%1 不是 FreeType 能读取的字体（%2）").arg(file, ownWords(problem.value));
    case Kind::FontNoSuchFace:
        return QStringLiteral("该字体文件只有 %1 个字样（从 0 数起），没有第 %2 个")
            .arg(problem.count)
            .arg(problem.number);
    case Kind::FontFaceUnreadable:
        return QStringLiteral("%1 的第 %2 个字样无法读取（%3）")
            .arg(file)
            .arg(problem.number)
            .arg(ownWords(problem.value));
    case Kind::FontNoCharacterMap:
        return QStringLiteral("%1 没有 Unicode、GB2312 或 Big5 字符映射表，其中找不到任何 GB2312 字符").arg(file);
    case Kind::FontNoStrike: {
        if (problem.sizes.empty())
            return QStringLiteral("%1 没有 %2 像素的点阵字形（它没有任何点阵字形）").arg(file).arg(problem.number);
        QStringList sizes;
        for (const int size : problem.sizes)
            sizes << QString::number(size);
        return QStringLiteral("%1 没有 %2 像素的点阵字形（它只有 %3 像素的）")
            .arg(file)
            .arg(problem.number)
            .arg(sizes.join(QStringLiteral("、")));
    }
    case Kind::FontStrikeUnusable:
        return QStringLiteral("%1 的 %2 像素点阵字形无法使用（%3）")
            .arg(file)
            .arg(problem.number)
            .arg(ownWords(problem.value));
    case Kind::FontSizeRefused:
        return QStringLiteral("无法把字体设为 %1 像素（%2）").arg(problem.number).arg(ownWords(problem.value));
    default:
        // The font source reports no other kind.
        return QStringLiteral("无法使用 %1").arg(file);
    }
}

} // namespace hz::gui
