/* Prints each message as the display would draw it, glyph by glyph from the generated font. */
#include "messages.h"
#include "ui_font.h"

#include <stdio.h>

/* The next code point of a UTF-8 string, moving *s past it; 0 at the end. */
static uint32_t next_code_point(const char **s) {
    const unsigned char *p = (const unsigned char *)*s;
    uint32_t cp;
    int extra;
    if (*p == 0)
        return 0;
    if (*p < 0x80) {
        cp = *p;
        extra = 0;
    } else if ((*p & 0xE0) == 0xC0) {
        cp = *p & 0x1F;
        extra = 1;
    } else if ((*p & 0xF0) == 0xE0) {
        cp = *p & 0x0F;
        extra = 2;
    } else {
        cp = *p & 0x07;
        extra = 3;
    }
    ++p;
    while (extra-- > 0 && (*p & 0xC0) == 0x80)
        cp = (cp << 6) | (*p++ & 0x3F);
    *s = (const char *)p;
    return cp;
}

/* One message, its glyphs side by side: rows-msb bytes, ceil(width/8) bytes a row. */
static int print_message(const char *text) {
    const uint8_t *glyphs[32];
    uint8_t widths[32];
    unsigned count = 0, row, g, x;
    uint32_t cp;
    while ((cp = next_code_point(&text)) != 0 && count < 32) {
        uint8_t width, height;
        const uint8_t *bytes = ui_font_find(cp, &width, &height);
        if (bytes == NULL) {
            printf("missing U+%04lX\n", (unsigned long)cp);
            return 1;
        }
        glyphs[count] = bytes;
        widths[count] = width;
        ++count;
    }
    for (row = 0; row < ui_font_HEIGHT; ++row) {
        for (g = 0; g < count; ++g) {
            const unsigned per_row = (widths[g] + 7u) / 8u;
            for (x = 0; x < widths[g]; ++x)
                putchar(glyphs[g][row * per_row + x / 8] & (0x80 >> (x % 8)) ? '#' : '.');
        }
        putchar('\n');
    }
    return 0;
}

int main(void) {
    unsigned i;
    int failed = 0;
    printf("%d glyphs\n", ui_font_COUNT);
    for (i = 0; i < message_count; ++i)
        failed |= print_message(messages[i]);
    return failed;
}
