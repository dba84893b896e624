#include "gui/common/grey_depth.h"

#include "core/text/byte_text.h"

#include <vector>

namespace hz::gui {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The bytes of a record in an arrangement at a grey depth; nothing where there are none to write.
std::optional<std::vector<std::uint8_t>> greyBytes(const hz::GlyphRecord& record, hz::Arrangement arrangement,
                                                   int depth) {
    if (!record.hasBytes(arrangement))
        return std::nullopt;
    return record.bytes(layoutAtDepth(hz::arrangementLayout(arrangement), depth));
}

} // namespace

hz::Layout layoutAtDepth(hz::Layout layout, int depth) {
    layout.bpp = depth;
    return layout;
}

std::optional<hz::LayoutChoice> choiceAtDepth(const hz::LayoutChoice& choice, int depth) {
    if (depth == 1)
        return choice;
    if (choice.kind == hz::LayoutChoice::Kind::All)
        return std::nullopt;
    const hz::Layout layout = layoutAtDepth(choice.layout, depth);
    if (!hz::hasGreyForm(layout))
        return std::nullopt;
    return hz::LayoutChoice::of(layout);
}

QString depthRefusal(const hz::LayoutChoice& choice, int depth, const QString& whereDepthIsSet) {
    const QString advice = QStringLiteral("请改选横排、下上列排、上下列排或按行、按列的排列，或%1。").arg(whereDepthIsSet);
    if (choice.kind == hz::LayoutChoice::Kind::All)
        return QStringLiteral("“全部”含下半列排和上半列排两种页排列，页排列只有1位格式，不能写成%1位灰度。\n%2")
            .arg(depth)
            .arg(advice);
    QString name = QString::fromStdString(hz::layoutName(choice.layout));
    if (choice.kind == hz::LayoutChoice::Kind::Arrangement)
        name = QStringLiteral("%1（%2）").arg(fromUtf8(hz::arrangementName(choice.arrangement)), name);
    return QStringLiteral("%1是页排列，页排列只有1位格式，不能写成%2位灰度。\n%3").arg(name).arg(depth).arg(advice);
}

QString assemblyTextAt(const hz::GlyphRecord& record, hz::Arrangement arrangement, int depth) {
    if (depth == 1)
        return QString::fromStdString(record.assemblyText(arrangement));
    if (!hz::hasGreyForm(layoutAtDepth(hz::arrangementLayout(arrangement), depth)))
        return kPagesOneBitNote;
    const auto bytes = greyBytes(record, arrangement, depth);
    return bytes ? QString::fromStdString(hz::assemblyText(*bytes)) : QString();
}

QString cTextAt(const hz::GlyphRecord& record, hz::Arrangement arrangement, int depth) {
    if (depth == 1)
        return QString::fromStdString(record.cText(arrangement));
    if (!hz::hasGreyForm(layoutAtDepth(hz::arrangementLayout(arrangement), depth)))
        return kPagesOneBitNote;
    const auto bytes = greyBytes(record, arrangement, depth);
    return bytes ? QString::fromStdString(hz::cText(*bytes)) : QString();
}

} // namespace hz::gui
