#include "gui/help/help_topics.h"

#include <QFile>

namespace hz::gui {

const std::array<HelpTopic, kHelpTopicCount>& helpTopics() {
    static const std::array<HelpTopic, kHelpTopicCount> topics = {{
        {"Main", "", "程序帮助", 1},
        {"Main1", "Main", "简  介", 2},
        {"Main4", "Main", "名  词", 2},
        {"Main2", "Main", "功  能", 2},
        {"Main3", "Main", "帮  助", 2},
        {"K02", "Main1", "程 序 简 介", 3},
        {"K03", "Main4", "横 排 → →", 3},
        {"K04", "Main4", "下上列排↑↑", 3},
        {"K05", "Main4", "上下列排↓↓", 3},
        {"K06", "Main4", "下半列排↑↘", 3},
        {"K07", "Main4", "上半列排↓↗", 3},
        {"K08", "Main4", "12*12变16*16", 3},
        {"K09", "Main2", "导出汉字点阵", 3},
        {"K10", "Main2", "删除汉字点阵", 3},
        {"K11", "Main2", "复制汉字点阵", 3},
        {"K12", "Main2", "点阵图显示字符", 3},
        {"K13", "Main2", "点阵图有无背景字符", 3},
        {"K14", "Main2", "点阵图字符颜色", 3},
        {"K15", "Main2", "点阵图背景颜色", 3},
        {"K16", "Main2", "设计12*12变16*16方案", 3},
        {"K17", "Main3", "技 术 支 持", 3},
        {"K18", "Main3", "新 增 功 能", 3},
    }};
    return topics;
}

int helpTextNumber(const QString& key) {
    if (key.size() != 3)
        return 0;
    bool isNumber = false;
    const int n = key.mid(1).toInt(&isNumber);
    return isNumber && n >= 2 && n <= kHelpTextCount + 1 ? n - 1 : 0;
}

namespace {

QString resourceText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString helpText(int number) {
    if (number < 1 || number > kHelpTextCount)
        return QString();
    return resourceText(QStringLiteral(":/help/texts/text%1.txt").arg(number, 2, 10, QLatin1Char('0')));
}

QString helpNotice() {
    return resourceText(QStringLiteral(":/help/texts/notice.txt"));
}

} // namespace hz::gui
