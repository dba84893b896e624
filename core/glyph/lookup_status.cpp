#include "core/glyph/lookup_status.h"

namespace hz {

const char* statusMessage(LookupStatus status) {
    switch (status) {
    case LookupStatus::Found:
        return "";
    case LookupStatus::LibraryMissing:
        return "当前路径汉字库不存在！！！";
    case LookupStatus::NotChinese:
        return "您输入的字符不是汉字！！！";
    case LookupStatus::RecordOutsideFile:
        return "字库文件不完整，找不到该字的点阵！！！";
    case LookupStatus::NotInFont:
        return "当前字体中没有该字符！！！";
    case LookupStatus::FontUnreadable:
        return "当前字体无法绘出该字符！！！";
    }
    return "";
}

} // namespace hz
