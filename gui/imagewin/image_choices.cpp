#include "gui/imagewin/image_choices.h"

#include "gui/common/grey_depth.h"

#include <algorithm>

namespace hz::gui {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString ditherLabel(hz::Dither dither) {
    switch (dither) {
    case hz::Dither::None:
        return QStringLiteral("不抖动（按128分界）");
    case hz::Dither::Threshold:
        return QStringLiteral("阈值（经典）");
    case hz::Dither::FloydSteinberg:
        return QStringLiteral("误差扩散 Floyd-Steinberg");
    case hz::Dither::Atkinson:
        return QStringLiteral("误差扩散 Atkinson");
    case hz::Dither::Bayer4:
        return QStringLiteral("有序抖动 Bayer 4×4");
    case hz::Dither::Bayer8:
        return QStringLiteral("有序抖动 Bayer 8×8");
    }
    return fromUtf8(hz::ditherName(dither));
}

QString depthLabel(int depth) {
    return depth == 1 ? QStringLiteral("1位（黑白）") : QStringLiteral("%1位灰度").arg(depth);
}

QString depthRefusalText(const hz::LayoutChoice& choice, int depth) {
    return depthRefusal(choice, depth, QStringLiteral("把每点位数改回1位"));
}

std::vector<LayoutItem> layoutItems(const hz::LayoutChoice& mainChoice) {
    std::vector<LayoutItem> items;
    for (int a = 0; a < hz::kArrangementCount; ++a) {
        const auto arrangement = static_cast<hz::Arrangement>(a);
        items.push_back({fromUtf8(hz::arrangementChoice(arrangement)), hz::LayoutChoice::of(arrangement)});
    }
    items.push_back({QStringLiteral("全部"), hz::LayoutChoice::all()});
    const auto listed = [&items](const hz::LayoutChoice& choice) {
        return std::any_of(items.begin(), items.end(), [&](const LayoutItem& item) { return item.choice == choice; });
    };
    if (mainChoice.kind == hz::LayoutChoice::Kind::Layout && !listed(mainChoice))
        items.push_back({QString::fromStdString(hz::layoutName(mainChoice.layout)), mainChoice});
    // A preset is its layout: "ssd1306 (pages-lsb)" writes as pages-lsb does.
    for (const hz::LayoutPreset& preset : hz::layoutPresets()) {
        items.push_back({QStringLiteral("%1（%2）").arg(fromUtf8(preset.name), QString::fromStdString(hz::layoutName(preset.layout))),
                         hz::LayoutChoice::of(preset.layout)});
    }
    return items;
}

} // namespace hz::gui
