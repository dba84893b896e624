#include "messages.h"

/* 注释里的字不进字库：只有字符串里的字才会。 */
const char *const messages[] = {
    "温度过高",
    "请检查" "风扇",
};
const unsigned message_count = sizeof messages / sizeof messages[0];
