#pragma once
// What the picture window's choosers hold: the dithers with their Chinese names, the depths, and the
// layouts (the five arrangements, "全部", the main window's own layout when it has one, and the
// driver presets).

#include "core/layout/layout_presets.h"
#include "core/picture/picture_dots.h"

#include <QString>
#include <optional>
#include <vector>

namespace hz::gui {

// "不抖动", "阈值（经典）", ... in kDithers order.
QString ditherLabel(hz::Dither dither);

// The depths offered, in bits a dot, and their labels ("1位（黑白）", "4位灰度").
inline constexpr int kImageDepths[] = {1, 2, 4, 8};
QString depthLabel(int depth);

// Why a choice has no form at a grey depth (it is a page layout, or "全部", which holds two), with
// this window's advice: another layout, or 1 bit in 每点位数.
QString depthRefusalText(const hz::LayoutChoice& choice, int depth);

struct LayoutItem {
    QString label;
    hz::LayoutChoice choice;
};

// The layout chooser's items; mainChoice (the main window's) is among them, a layout of its own added
// after "全部" when it is none of the others.
std::vector<LayoutItem> layoutItems(const hz::LayoutChoice& mainChoice);

} // namespace hz::gui
