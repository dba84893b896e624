#include "designer/cjk_font.h"

#include <QStringList>

QFont cjkFont(qreal pointSize) {
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB"),
                      QStringLiteral("WenQuanYi Zen Hei Mono"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
